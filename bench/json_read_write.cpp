// Prints how fast JSON text of several shapes is read and written back:
// a wide object, a long array of numbers, long strings and deep nesting;
// and how fast nesting past the limit is refused.
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "json/JsonReader.h"
#include "json/JsonWriter.h"

namespace
{

std::string Wide(int members)
{
    std::string s = "{";
    for (int i = 0; i < members; i++)
        s += (i ? ",\"member " : "\"member ") + std::to_string(i) + "\":" + std::to_string(i);
    return s + "}";
}

std::string Numbers(int count)
{
    std::string s = "{\"n\":[";
    for (int i = 0; i < count; i++)
        s += (i ? "," : "") + std::to_string(i * 0.37);
    return s + "]}";
}

std::string Strings(int count, int length)
{
    std::string text(length, 'x');
    std::string s = "{\"s\":[";
    for (int i = 0; i < count; i++)
        s += (i ? ",\"" : "\"") + text + "\\n\"";
    return s + "]}";
}

std::string Deep(int levels)
{
    std::string s = "{";
    for (int i = 1; i < levels; i++)
        s += "\"a\":{";
    return s + std::string(levels, '}');
}

void Measure(const char* name, const std::string& text)
{
    auto t0 = std::chrono::steady_clock::now();
    json::Object object;
    std::istringstream in(text);
    json::Reader::Read_i(object, in);
    auto t1 = std::chrono::steady_clock::now();
    std::ostringstream out;
    json::Writer::Write_i(object, out);
    auto t2 = std::chrono::steady_clock::now();
    double r = std::chrono::duration<double>(t1 - t0).count();
    double w = std::chrono::duration<double>(t2 - t1).count();
    printf("%-24s %9zu bytes  read %8.1f ms (%6.1f MB/s)  write %8.1f ms\n", name, text.size(), r * 1000,
           text.size() / r / 1e6, w * 1000);
}

// A text the reader refuses: how long the refusal takes.
void MeasureRefused(const char* name, const std::string& text)
{
    auto t0 = std::chrono::steady_clock::now();
    std::string why = "(read)";
    try
    {
        json::Object object;
        std::istringstream in(text);
        json::Reader::Read_i(object, in);
    }
    catch (const json::Exception& e)
    {
        why = e.what();
    }
    double r = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    printf("%-24s %9zu bytes  refused %8.3f ms: %s\n", name, text.size(), r * 1000, why.c_str());
}

} // namespace

int main()
{
    Measure("wide object 200000", Wide(200000));
    Measure("numbers 500000", Numbers(500000));
    Measure("strings 2000 x 1000", Strings(2000, 1000));
    Measure("deepest nesting", Deep(json::Reader::MAX_NESTING_DEPTH));
    MeasureRefused("4 MB of brackets", "{\"a\":" + std::string(4000000, '['));
    return 0;
}
