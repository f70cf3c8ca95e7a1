// Writing JSON text: the fixed layout, escapes, numbers, and reading back
// exactly what was written.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <string>

#include "json/JsonReader.h"
#include "json/JsonWriter.h"

using namespace json;

namespace
{

std::string Write(const Object& o)
{
    std::ostringstream out;
    Writer::Write_i(o, out);
    return out.str();
}

Object ReadBack(const std::string& text)
{
    Object o;
    std::istringstream in(text);
    Reader::Read_i(o, in);
    return o;
}

TEST(JsonWriter, Layout)
{
    EXPECT_EQ(Write(Object()), "{}");

    Object k;
    k["k"] = Boolean(false);
    EXPECT_EQ(Write(k), "{\n\t\"k\" : false\n}");

    Array area;
    for (double d : {0.0, 0.0, 640.0, 480.0})
        area.Insert(Number(d));
    Object o;
    o["Draw Area"] = area;
    o["Name"] = String("A\tB");
    o["Show"] = Boolean(true);
    o["Layers"] = Array();
    EXPECT_EQ(Write(o), "{\n"
                        "\t\"Draw Area\" : [\n"
                        "\t\t0,\n"
                        "\t\t0,\n"
                        "\t\t640,\n"
                        "\t\t480\n"
                        "\t],\n"
                        "\t\"Name\" : \"A\\tB\",\n"
                        "\t\"Show\" : true,\n"
                        "\t\"Layers\" : []\n"
                        "}");

    Object nested;
    Array list;
    Object inner;
    inner["n"] = Null();
    list.Insert(inner);
    list.Insert(Object());
    nested["list"] = list;
    EXPECT_EQ(Write(nested), "{\n"
                             "\t\"list\" : [\n"
                             "\t\t{\n"
                             "\t\t\t\"n\" : null\n"
                             "\t\t},\n"
                             "\t\t{}\n"
                             "\t]\n"
                             "}");
}

TEST(JsonWriter, StringsAndNamesAreEscaped)
{
    Object o;
    o["say \"hi\"\\"] = String("q\" b\\ \b\f\n\r\t / \x01 \xc3\xa9");
    EXPECT_EQ(Write(o), "{\n\t\"say \\\"hi\\\"\\\\\" : \"q\\\" b\\\\ \\b\\f\\n\\r\\t / \x01 \xc3\xa9\"\n}");
    EXPECT_EQ(ReadBack(Write(o)), o);
}

TEST(JsonWriter, Numbers)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-2.5, "-2.5"},
        {640, "640"},
        {0.1, "0.1"},
        {0.25, "0.25"},
        {1000000, "1000000"},
        {1234567, "1234567"},
        {123456.7, "123456.7"},
        {3.14159265, "3.14159265"},
        {1.0 / 3.0, "0.3333333333333333"},
        {0.00001, "1e-05"},
        {1e300, "1e+300"},
        {std::numeric_limits<double>::infinity(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
        {std::nan(""), "null"},
    };
    for (const auto& c : cases)
    {
        Object o;
        o["n"] = Number(c.value);
        EXPECT_EQ(Write(o), std::string("{\n\t\"n\" : ") + c.text + "\n}") << c.text;
    }
}

TEST(JsonWriter, WhatIsWrittenReadsBackEqual)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-1e9, 1e9);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);

    Object o;
    Array numbers;
    for (int i = 0; i < 500; i++)
    {
        numbers.Insert(Number(wide(random)));
        numbers.Insert(Number(unit(random)));
    }
    numbers.Insert(Number(std::numeric_limits<double>::max()));
    numbers.Insert(Number(std::numeric_limits<double>::denorm_min()));
    numbers.Insert(Number(-0.0));
    o["numbers"] = numbers;

    std::string bytes;
    for (int c = 1; c < 256; c++)
        bytes += char(c);
    o["bytes"] = String(bytes);
    o[bytes] = Null();
    o["deep"].ConvertTo<Object>()["deeper"].ConvertTo<Array>().Insert(Boolean(true));

    EXPECT_EQ(ReadBack(Write(o)), o);
}

// A decimal comma and digit grouping, as a user's locale may have.
struct CommaPunct : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(JsonWriter, NumbersIgnoreTheGlobalLocale)
{
    std::locale old = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    Object o;
    o["n"] = Number(1234567.5);
    std::string text = Write(o);
    Object back;
    std::string error;
    try
    {
        back = ReadBack(text);
    }
    catch (const Exception& e)
    {
        error = e.what();
    }
    std::locale::global(old);

    EXPECT_EQ(text, "{\n\t\"n\" : 1234567.5\n}");
    EXPECT_EQ(error, "");
    EXPECT_EQ(back, o);
}

} // namespace
