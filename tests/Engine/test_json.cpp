// Typed JSON access: conversions, failures and their log lines, storing,
// and whole files.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unistd.h>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "EngDebug.h"
#include "EngJson.h"
#include "EngMain.h"
#include "support/TestSupport.h"

namespace
{

class EngJsonTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        doc["num"] = json::Number(2.9);
        doc["neg"] = json::Number(-2.9);
        doc["text"] = json::String("Layer");
        doc["two"] = Numbers({1, 2});
        doc["four"] = Numbers({1, 2, 3, 4});
        doc["five"] = Numbers({1, 2, 3, 4, 5});
        doc["mixed"] = Numbers({1, 2});
        doc["mixed"].ConvertTo<json::Array>().Insert(json::String("x"));
        marker = DebugGetNumMessages();
    }

    static json::Array Numbers(std::initializer_list<double> values)
    {
        json::Array a;
        for (double v : values)
            a.Insert(json::Number(v));
        return a;
    }
    // Lines logged since SetUp or the last call.
    std::vector<std::string> NewLines()
    {
        std::vector<std::string> lines;
        for (int i = marker; i < DebugGetNumMessages(); i++)
            lines.push_back(DebugGetMessage(i)->text);
        marker = DebugGetNumMessages();
        return lines;
    }
    std::string Only()
    {
        std::vector<std::string> lines = NewLines();
        return lines.size() == 1 ? lines[0] : "(" + std::to_string(lines.size()) + " lines)";
    }

    // The last line logged since SetUp or the last call.
    std::string Last()
    {
        std::vector<std::string> lines = NewLines();
        return lines.empty() ? "(no lines)" : lines.back();
    }

    vztest::TempDir dir;
    json::Object doc;
    int marker = 0;
};

TEST_F(EngJsonTest, NumberConversions)
{
    const struct
    {
        double value;
        int as_int;
        char as_char;
    } cases[] = {
        {2.9, 2, 2},       {-2.9, -2, -2},      {300, 300, 44},      {200, 200, -56},
        {-129, -129, 127}, {1e10, INT_MAX, -1}, {-1e10, INT_MIN, 0}, {NAN, 0, 0},
    };
    for (const auto& c : cases)
    {
        json::Object o;
        o["v"] = json::Number(c.value);
        int i = 7;
        char ch = 7, ch2 = 7;
        float f = 7;
        EXPECT_EQ(EngJsonGetIntFromObject(o, "v", &i), 1);
        EXPECT_EQ(EngJsonGetCharFromObject(o, "v", &ch), 1);
        EXPECT_EQ(EngJsonGetCharFromObjectElement(o, "v", &ch2, 1), 1);
        EXPECT_EQ(i, c.as_int) << c.value;
        EXPECT_EQ(ch, c.as_char) << c.value;
        EXPECT_EQ(ch2, c.as_char) << c.value;
        if (c.value == c.value)
        {
            EXPECT_EQ(EngJsonGetFloatFromObject(o, "v", &f), 1);
            EXPECT_EQ(f, static_cast<float>(c.value));
        }
    }
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(EngJsonTest, ReportedAndQuietFailures)
{
    float f = 5;
    EXPECT_EQ(EngJsonGetFloatFromObjectElement(doc, "zz", &f, 0), 0);
    EXPECT_EQ(f, 0.0f);
    EXPECT_TRUE(NewLines().empty());

    f = 5;
    EXPECT_EQ(EngJsonGetFloatFromObjectElement(doc, "zz", &f, 1), 0);
    EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonGetFloatFromObjectElement )    "
                      "Exception <Object member not found: zz> for element <zz>");

    char c = 5;
    EXPECT_EQ(EngJsonGetCharFromObjectElement(doc, "text", &c, 1), 0);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(Only(),
              " <ERROR>  ( EngJsonGetCharFromObjectElement )    Exception <Bad cast> for element <text>");

    int i = 5;
    EXPECT_EQ(EngJsonGetIntFromObject(doc, "text", &i), 0);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonGetIntFromObject )    json::Exception <Bad cast>");

    f = 5;
    EXPECT_EQ(EngJsonGetFloatFromObject(doc, "missing", &f), 0);
    EXPECT_EQ(f, 5.0f);
    EXPECT_EQ(
        Only(),
        " <ERROR>  ( EngJsonGetFloatFromObject )    json::Exception <Object member not found: missing>");

    EXPECT_EQ(EngJsonDoesElementExistInObject(doc, "mixed", 1), 1);
    EXPECT_EQ(EngJsonDoesElementExistInObject(doc, "Mixed", 0), 0);
    EXPECT_TRUE(NewLines().empty());
    EXPECT_EQ(EngJsonDoesElementExistInObject(doc, "Mixed", 1), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonDoesElementExistInObject )    "
                      "Exception <Object member not found: Mixed> for element <Mixed>");
}

TEST_F(EngJsonTest, RefusedArguments)
{
    static int i;
    static float f;
    static char buf[8];
    static _Dimension d;
    static _Vector2d v;
    EngSafeStrcpy(buf, "old", sizeof(buf));
    typedef char (*Call)(json::Object&);
    const struct
    {
        const char* name;
        Call call;
        const char* message;
    } cases[] = {
        {"exists", [](json::Object& o) { return EngJsonDoesElementExistInObject(o, "", 1); },
         "Invalid parameters"},
        {"char element",
         [](json::Object& o) { return EngJsonGetCharFromObjectElement(o, "num", nullptr, 1); },
         "Invalid parameters"},
        {"float element", [](json::Object& o) { return EngJsonGetFloatFromObjectElement(o, nullptr, &f, 1); },
         "Invalid parameters"},
        {"string size 0",
         [](json::Object& o) { return EngJsonGetStringFromObjectElement(o, "text", buf, 0, 1); },
         "Invalid parameters"},
        {"string no name",
         [](json::Object& o) { return EngJsonGetStringFromObjectElement(o, "", buf, 8, 1); },
         "Invalid parameters"},
        {"int", [](json::Object& o) { return EngJsonGetIntFromObject(o, "", &i); }, "Invalid parameters"},
        {"char", [](json::Object& o) { return EngJsonGetCharFromObject(o, "num", nullptr); },
         "Invalid parameters"},
        {"dimension", [](json::Object& o) { return EngJsonGetDimensionFromObject(o, "four", nullptr); },
         "Invalid parameters"},
        {"vector", [](json::Object& o) { return EngJsonGetVector2dFromObject(o, nullptr, &v); },
         "Invalid parameters"},
        {"read numbers", [](json::Object& o) { return EngJsonReadNumbersFromObject(o, "", &i, &i, &i, &i); },
         "No name"},
        {"add float", [](json::Object& o) { return EngJsonAddFloatToObject(o, "", 1.0f); }, "No name"},
        {"add numbers", [](json::Object& o) { return EngJsonAddNumbersToObject(o, nullptr, &i, &i, &i, &i); },
         "No name"},
        {"add dimension", [](json::Object& o) { return EngJsonAddDimensionToObject(o, "", d); }, "No name"},
        {"read file", [](json::Object&) { return EngJsonReadObjectFromFile(nullptr, "x.json"); },
         "Invalid parameters"},
        {"write file", [](json::Object& o) { return EngJsonWriteObjectToFile(o, ""); }, "Invalid parameters"},
    };
    json::Object before = doc;
    for (const auto& k : cases)
    {
        EXPECT_EQ(k.call(doc), 0) << k.name;
        std::string line = Only();
        std::string tail = "    " + std::string(k.message);
        EXPECT_TRUE(line.size() > tail.size() &&
                    line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
            << k.name << ": " << line;
    }
    EXPECT_EQ(doc, before);
    EXPECT_STREQ(buf, "") << "a refused string read still empties the buffer";
}

TEST_F(EngJsonTest, Strings)
{
    char buf[4] = "xyz";
    EXPECT_EQ(EngJsonGetStringFromObjectElement(doc, "text", buf, sizeof(buf), 1), 1);
    EXPECT_STREQ(buf, "Lay");

    char big[16] = "old";
    EXPECT_EQ(EngJsonGetStringFromObjectElement(doc, "num", big, sizeof(big), 0), 0);
    EXPECT_STREQ(big, "");
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(EngJsonTest, ArraysOfNumbers)
{
    _Dimension d{-1, -1, -1, -1};
    EXPECT_EQ(EngJsonGetDimensionFromObject(doc, "two", &d), 1);
    EXPECT_EQ(d.x, 1);
    EXPECT_EQ(d.y, 2);
    EXPECT_EQ(d.w, -1) << "a short array leaves the rest";
    EXPECT_EQ(d.h, -1);

    EXPECT_EQ(EngJsonGetDimensionFromObject(doc, "five", &d), 0);
    EXPECT_EQ(d.h, 4) << "outputs already written stay";
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonGetDimensionFromObject )    Error during parse.");

    _Vector2d v{0, 0};
    EXPECT_EQ(EngJsonGetVector2dFromObject(doc, "mixed", &v), 0);
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonGetVector2dFromObject )    json::Exception <Bad cast>");
    EXPECT_EQ(EngJsonGetVector2dFromObject(doc, "num", &v), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonGetVector2dFromObject )    json::Exception <Bad cast>");

    float f1 = 0, f3 = 0, f4 = 0;
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "four", &f1, (float*)nullptr, &f3, &f4), 1);
    EXPECT_EQ(f1, 1);
    EXPECT_EQ(f3, 3);
    EXPECT_EQ(f4, 4);

    char c[5] = {};
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "five", &c[0], &c[1], &c[2], &c[3], &c[4]), 1);
    EXPECT_EQ(c[4], 5);

    char first = 0;
    float rest[4] = {};
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "five", &first, &rest[0], &rest[1], &rest[2], &rest[3]), 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(rest[3], 5);

    int i[4] = {9, 9, 9, 9};
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "five", &i[0], &i[1], &i[2], &i[3]), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonReadNumbersFromObject )    Error during parse.");
    // A null output still needs a number at its place.
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "mixed", &i[0], &i[1], (int*)nullptr, &i[3]), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonReadNumbersFromObject )    json::Exception <Bad cast>");

    double dd[4] = {};
    doc["empty"] = json::Array();
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "empty", &dd[0], &dd[1], &dd[2], &dd[3]), 1);
    EXPECT_EQ(EngJsonReadNumbersFromObject(doc, "four", &dd[0], &dd[1], &dd[2], &dd[3]), 1);
    EXPECT_EQ(dd[3], 4.0);

    EXPECT_EQ(EngJsonGetArraySize(doc["five"].CastTo<json::Array>()), 5);
    EXPECT_EQ(EngJsonGetArraySize(json::Array()), 0);
}

TEST_F(EngJsonTest, Storing)
{
    json::Object o;
    o["first"] = json::String("x");
    o["last"] = json::Null();

    int a = 1, c = 3;
    EXPECT_EQ(EngJsonAddNumbersToObject(o, "first", &a, nullptr, &c, nullptr), 1);
    EXPECT_EQ(o["first"], Numbers({1, 3})) << "replaced in place";
    EXPECT_EQ(o.Begin()->name, "first");

    EXPECT_EQ(EngJsonAddNumbersToObject(o, "none", (const int*)nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(o["none"], json::Array());
    EXPECT_EQ((--o.End())->name, "none") << "a new name goes last";

    char ch = -5, chars[5] = {1, -2, 3, -4, 127};
    float f[4] = {0.5f, 1.5f, 2.5f, 3.5f};
    double dbl = 0.1;
    _Dimension dim{1, 2, 640, 480};
    _Vector2d vec{-1, 0.25f};
    EXPECT_EQ(EngJsonAddCharToObject(o, "char", ch), 1);
    EXPECT_EQ(EngJsonAddFloatToObject(o, "float", 0.1f), 1);
    EXPECT_EQ(EngJsonAddNumbersToObject(o, "cf", &ch, &f[0], nullptr, &f[2], &f[3]), 1);
    EXPECT_EQ(EngJsonAddNumbersToObject(o, "c5", &chars[0], &chars[1], &chars[2], &chars[3], &chars[4]), 1);
    EXPECT_EQ(EngJsonAddNumbersToObject(o, "f4", &f[0], &f[1], &f[2], &f[3]), 1);
    EXPECT_EQ(EngJsonAddNumbersToObject(o, "d4", &dbl, nullptr, nullptr, &dbl), 1);
    EXPECT_EQ(EngJsonAddDimensionToObject(o, "dim", dim), 1);
    EXPECT_EQ(EngJsonAddVector2dToObject(o, "vec", vec), 1);

    EXPECT_EQ(o["char"], json::Number(-5));
    EXPECT_EQ(o["float"], json::Number(0.1)) << "a float is stored as its own shortest text";
    EXPECT_EQ(o["cf"], Numbers({-5, 0.5, 2.5, 3.5}));
    EXPECT_EQ(o["c5"], Numbers({1, -2, 3, -4, 127}));
    EXPECT_EQ(o["f4"], Numbers({0.5, 1.5, 2.5, 3.5}));
    EXPECT_EQ(o["d4"], Numbers({0.1, 0.1}));
    EXPECT_EQ(o["dim"], Numbers({1, 2, 640, 480}));
    EXPECT_EQ(o["vec"], Numbers({-1, 0.25}));
    EXPECT_TRUE(NewLines().empty());
}

std::vector<std::string> FolderEntries(const std::string& path)
{
    std::vector<std::string> names;
    DIR* d = opendir(path.c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        if (e->d_name[0] != '.')
            names.push_back(e->d_name);
    if (d)
        closedir(d);
    return names;
}

TEST_F(EngJsonTest, Files)
{
    std::string path = dir.File("pic.json");
    doc["precise"] = json::Number(0.123456789);
    ASSERT_EQ(EngJsonWriteObjectToFile(doc, path.c_str()), 1);
    EXPECT_EQ(vztest::ReadFile(path).substr(0, 17), "{\n\t\"num\" : 2.9,\n\t");

    json::Object back;
    back["extra"] = json::Boolean(true);
    ASSERT_EQ(EngJsonReadObjectFromFile(&back, path.c_str()), 1);
    json::Object expected;
    expected["extra"] = json::Boolean(true);
    for (const json::Object::Member& m : doc)
        expected.Insert(m);
    EXPECT_EQ(back, expected) << "members are added to what the object held";

    // Reading the same file again repeats every name.
    EXPECT_EQ(EngJsonReadObjectFromFile(&back, path.c_str()), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonReadObjectFromFile )    json::Exception <Duplicate object member "
                      "token: num> in <" +
                          path + ">");

    // Replacing a file leaves nothing else in its folder.
    json::Object small;
    small["a"] = json::Number(1);
    ASSERT_EQ(EngJsonWriteObjectToFile(small, path.c_str()), 1);
    EXPECT_EQ(vztest::ReadFile(path), "{\n\t\"a\" : 1\n}");
    std::vector<std::string> entries = FolderEntries(dir.Path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"pic.json"}));
}

// Floats are written as the shortest text that gives the same float back;
// doubles as the shortest that gives the same double.
TEST_F(EngJsonTest, FloatsAreWrittenAsTheirOwnShortestText)
{
    struct FloatCase
    {
        float value;
        const char* text;
    } floats[] = {
        {0.8f, "0.8"},
        {0.1f, "0.1"},
        {-2.9f, "-2.9"},
        {1.0f / 3, "0.33333334"},
        {123456.7f, "123456.7"},
        {16777217.0f, "16777216"},
        {3.4028235e38f, "3.4028235e+38"},
        {1e-45f, "1e-45"},
        {0.0f, "0"},
    };
    struct DoubleCase
    {
        double value;
        const char* text;
    } doubles[] = {
        {0.1, "0.1"},
        {1.0 / 3, "0.3333333333333333"},
        {double(0.8f), "0.800000011920929"},
        {0.1 + 0.2, "0.30000000000000004"},
    };
    std::string path = dir.File("numbers.json");
    for (const FloatCase& c : floats)
    {
        SCOPED_TRACE(c.text);
        json::Object o;
        ASSERT_EQ(EngJsonAddFloatToObject(o, "f", c.value), 1);
        const float pair[2] = {c.value, c.value};
        ASSERT_EQ(EngJsonAddNumbersToObject(o, "a", &pair[0], &pair[1], nullptr, nullptr), 1);
        ASSERT_EQ(EngJsonWriteObjectToFile(o, path.c_str()), 1);
        EXPECT_EQ(vztest::ReadFile(path), std::string("{\n\t\"f\" : ") + c.text + ",\n\t\"a\" : [\n\t\t" +
                                              c.text + ",\n\t\t" + c.text + "\n\t]\n}");
        json::Object back;
        ASSERT_EQ(EngJsonReadObjectFromFile(&back, path.c_str()), 1);
        float f = -1, a0 = -1, a1 = -1;
        ASSERT_EQ(EngJsonGetFloatFromObject(back, "f", &f), 1);
        ASSERT_EQ(EngJsonReadNumbersFromObject(back, "a", &a0, &a1, nullptr, nullptr), 1);
        EXPECT_EQ(f, c.value);
        EXPECT_EQ(a0, c.value);
    }
    for (const DoubleCase& c : doubles)
    {
        SCOPED_TRACE(c.text);
        json::Object o;
        ASSERT_EQ(EngJsonAddNumbersToObject(o, "d", &c.value, nullptr, nullptr, nullptr), 1);
        ASSERT_EQ(EngJsonWriteObjectToFile(o, path.c_str()), 1);
        EXPECT_EQ(vztest::ReadFile(path), std::string("{\n\t\"d\" : [\n\t\t") + c.text + "\n\t]\n}");
        json::Object back;
        ASSERT_EQ(EngJsonReadObjectFromFile(&back, path.c_str()), 1);
        double d = -1;
        ASSERT_EQ(EngJsonReadNumbersFromObject(back, "d", &d, nullptr, nullptr, nullptr), 1);
        EXPECT_EQ(d, c.value);
    }
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(EngJsonTest, FileFailures)
{
    std::string missing = dir.File("missing.json");
    json::Object o;
    o["kept"] = json::Null();
    EXPECT_EQ(EngJsonReadObjectFromFile(&o, missing.c_str()), 0);
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonReadObjectFromFile )    File does not exist <" + missing + ">");
    EXPECT_EQ(o.Size(), 1u);

    std::string broken = dir.File("broken.json");
    vztest::WriteFile(broken, "{\"a\":[1,]}");
    EXPECT_EQ(EngJsonReadObjectFromFile(&o, broken.c_str()), 0);
    EXPECT_EQ(Only(),
              " <ERROR>  ( EngJsonReadObjectFromFile )    json::Exception <Unexpected token: ]> in <" +
                  broken + ">");

    EXPECT_EQ(EngJsonReadObjectFromFile(&o, dir.Path().c_str()), 0) << "a folder is not a file";
    EXPECT_EQ(Only(), " <ERROR>  ( EngJsonReadObjectFromFile )    Could not read file <" + dir.Path() + ">");

    // A failed write says so and leaves the old file whole.
    std::string nowhere = dir.File("no/such/folder.json");
    EXPECT_EQ(EngJsonWriteObjectToFile(doc, nowhere.c_str()), 0);
    EXPECT_EQ(Last(), " <ERROR>  ( EngJsonWriteObjectToFile )    Could not write file <" + nowhere + ">");

    // A folder in the way: nothing is replaced and no temporary file stays.
    std::string taken = dir.File("taken");
    ASSERT_EQ(mkdir(taken.c_str(), 0700), 0);
    vztest::WriteFile(taken + "/inside", "x");
    EXPECT_EQ(EngJsonWriteObjectToFile(doc, taken.c_str()), 0);
    EXPECT_EQ(Last(), " <ERROR>  ( EngJsonWriteObjectToFile )    Could not write file <" + taken + ">");
    EXPECT_EQ(vztest::ReadFile(taken + "/inside"), "x");
    std::vector<std::string> entries = FolderEntries(dir.Path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"broken.json", "taken"}));

    std::string locked = dir.File("locked");
    ASSERT_EQ(mkdir(locked.c_str(), 0700), 0);
    std::string kept = locked + "/pic.json";
    vztest::WriteFile(kept, "{}");
    chmod(locked.c_str(), 0500);
    if (access(locked.c_str(), W_OK) != 0) // root may write anyway
    {
        EXPECT_EQ(EngJsonWriteObjectToFile(doc, kept.c_str()), 0);
        EXPECT_EQ(vztest::ReadFile(kept), "{}");
        NewLines();
    }
    chmod(locked.c_str(), 0700);
}

} // namespace
