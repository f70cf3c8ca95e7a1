// Reading JSON text: values, errors with their messages and positions,
// nesting limits and what stays in the target after a failure.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "json/JsonReader.h"

using namespace json;

namespace
{

void Read(const std::string& text, Object& object)
{
    std::istringstream in(text);
    Reader::Read_i(object, in);
}

std::string ErrorOf(const std::string& text)
{
    Object o;
    try
    {
        Read(text, o);
    }
    catch (const Exception& e)
    {
        return e.what();
    }
    return "(no error)";
}

// The exception of type E that reading text into a fresh object throws; none when it reads.
template <typename E> std::optional<E> ThrownBy(const std::string& text)
{
    Object o;
    try
    {
        Read(text, o);
    }
    catch (const E& e)
    {
        return e;
    }
    return std::nullopt;
}

double NumberOf(const std::string& text)
{
    Object o;
    Read("{\"n\":" + text + "}", o);
    return o["n"].CastTo<Number>();
}

TEST(JsonReader, ReadsEveryKind)
{
    Object o;
    Read(" \n{ \"Draw Area\" : [0, 0.5, -640, 4.8e2],\t\"Name\":\"A\\tB\", \"On\":true,\"Off\" :false ,"
         "\"Nothing\":null, \"Sub\":{\"Layers\":[]}, \"Empty\":{} }\r\n ",
         o);

    Array area;
    for (double d : {0.0, 0.5, -640.0, 480.0})
        area.Insert(Number(d));
    Object sub;
    sub["Layers"] = Array();
    Object expected;
    expected["Draw Area"] = area;
    expected["Name"] = String("A\tB");
    expected["On"] = Boolean(true);
    expected["Off"] = Boolean(false);
    expected["Nothing"] = Null();
    expected["Sub"] = sub;
    expected["Empty"] = Object();
    EXPECT_EQ(o, expected);

    Object empty;
    Read(" { \t} ", empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(JsonReader, StringsAndNumbers)
{
    Object o;
    Read("{\"s\":\"\\\"\\/\\\\\\b\\f\\n\\r\\t\", \"raw\":\"a\tb\nc\x01\xc3\xa9\xff\", \"\xc3\xa9\":1}", o);
    EXPECT_EQ(o["s"].CastTo<String>().Value(), "\"/\\\b\f\n\r\t");
    EXPECT_EQ(o["raw"].CastTo<String>().Value(), "a\tb\nc\x01\xc3\xa9\xff");
    EXPECT_NE(o.Find("\xc3\xa9"), o.End());

    const struct
    {
        const char* text;
        double value;
    } numbers[] = {
        {"-0.5e1", -5},         {"007", 7},    {"1E+2", 100}, {"2.5e-1", 0.25}, {"-0", 0},
        {"123456.7", 123456.7}, {"1e-400", 0},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(NumberOf(n.text), n.value) << n.text;
}

TEST(JsonReader, ErrorMessages)
{
    const struct
    {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "Unexpected End of token stream"},
        {" \n\t ", "Unexpected End of token stream"},
        {"[]", "Unexpected token: ["},
        {"\"a\"", "Unexpected token: a"},
        {"{\"a\":1,}", "Unexpected token: }"},
        {"{\"a\":1,", "Unexpected End of token stream"},
        {"{\"a\":1", "Unexpected End of token stream"},
        {"{\"a\":", "Unexpected end of token stream"},
        {"{\"a\":}", "Unexpected token: }"},
        {"{\"a\" 1}", "Unexpected token: 1"},
        {"{1:2}", "Unexpected token: 1"},
        {"{,}", "Unexpected token: ,"},
        {"{\"a\":[1,]}", "Unexpected token: ]"},
        {"{\"a\":[1 2]}", "Unexpected token: 2"},
        {"{\"a\":[1,2}", "Unexpected token: }"},
        {"{\"a\":true false}", "Unexpected token: false"},
        {"{\"a\":\"\\u0041\"}", "Unrecognized escape sequence found in string: \\u"},
        {"{\"a\":\"\\x\"}", "Unrecognized escape sequence found in string: \\x"},
        {"{\"a\":\"abc", "Expected string: \""},
        {"{\"a\":\"abc\\", "Expected string: \""},
        {"{\"a\":tru}", "Expected string: true"},
        {"{\"a\":nul", "Expected string: null"},
        {"{\"a\":fals", "Expected string: false"},
        {"{\"a\":truex}", "Unexpected character in stream: x"},
        {"{\"a\":+1}", "Unexpected character in stream: +"},
        {"{\"a\":.5}", "Unexpected character in stream: ."},
        {"{\"a\":1} // note", "Unexpected character in stream: /"},
        {"{\"a\":\xc2\xa0 1}", "Unexpected character in stream: \xc2"},
        {"{\"a\":1.2.3}", "Unexpected character in NUMBER token: ."},
        {"{\"a\":1-2}", "Unexpected character in NUMBER token: -"},
        {"{\"a\":-}", "Unexpected character in NUMBER token: -"},
        {"{\"a\":-.}", "Unexpected character in NUMBER token: -"},
        {"{\"a\":--5}", "Unexpected character in NUMBER token: -"},
        {"{\"a\":1e}", "Unexpected character in NUMBER token: e"},
        {"{\"a\":1e+}", "Unexpected character in NUMBER token: e"},
        {"{\"a\":1e999}", "Number too large for a double: 1e999"},
        {"{\"a\":-1e999}", "Number too large for a double: -1e999"},
        {"{\"a\":1" + std::string(400, '0') + "}",
         "Number too large for a double: 1" + std::string(39, '0') + "..."},
        {"{\"a\":1,\"a\":2}", "Duplicate object member token: a"},
        {"{} {}", "Expected End of token stream; found {"},
        {"{}]", "Expected End of token stream; found ]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(c.text), c.message) << c.text;
}

TEST(JsonReader, ErrorLocations)
{
    // A newline inside a string counts as a line; columns restart after it.
    {
        auto e = ThrownBy<Reader::ScanException>("{\"a\":\"x\ny\", @}");
        ASSERT_TRUE(e) << "no throw";
        EXPECT_EQ(e->m_locError.line, 1);
        EXPECT_EQ(e->m_locError.column, 4);
        EXPECT_EQ(e->m_locError.offset, 12);
    }

    {
        auto e = ThrownBy<Reader::ParseException>("{\"a\":1,\n \"a\":2}");
        ASSERT_TRUE(e) << "no throw";
        EXPECT_STREQ(e->what(), "Duplicate object member token: a");
        EXPECT_EQ(e->m_locTokenBegin.line, 1);
        EXPECT_EQ(e->m_locTokenBegin.column, 1);
        EXPECT_EQ(e->m_locTokenBegin.offset, 9);
        EXPECT_EQ(e->m_locTokenEnd.column, 4);
        EXPECT_EQ(e->m_locTokenEnd.offset, 12);
    }

    // The location after the escape's letter.
    {
        auto e = ThrownBy<Reader::ScanException>("{\"a\":\"\\q\"}");
        ASSERT_TRUE(e) << "no throw";
        EXPECT_EQ(e->m_locError.offset, 8);
    }

    // Running out of tokens has no position.
    {
        auto e = ThrownBy<Reader::ParseException>("\n\n{\"a\":1,");
        ASSERT_TRUE(e) << "no throw";
        EXPECT_EQ(e->m_locTokenBegin.line, 0);
        EXPECT_EQ(e->m_locTokenBegin.offset, 0);
        EXPECT_EQ(e->m_locTokenEnd.offset, 0);
    }
}

TEST(JsonReader, TargetAfterFailures)
{
    Object o;
    o["kept"] = Number(1);
    Read("{\"x\":2}", o);
    EXPECT_EQ(o.Size(), 2u) << "the target is not emptied";
    EXPECT_EQ(ErrorOf("{\"x\":1}"), "(no error)");
    try
    {
        Read("{\"x\":3}", o);
        FAIL() << "no throw";
    }
    catch (const Reader::ParseException& e)
    {
        EXPECT_STREQ(e.what(), "Duplicate object member token: x");
    }
    EXPECT_EQ(o["x"].CastTo<Number>().Value(), 2.0);

    // Members before a parse error stay; the failing one is not inserted.
    Object partial;
    EXPECT_THROW(Read("{\"a\":1, \"b\":[1,2, }", partial), Reader::ParseException);
    EXPECT_EQ(partial.Size(), 1u);
    EXPECT_EQ(partial.Find("b"), partial.End());

    // A scan error comes before any member is inserted.
    Object untouched;
    EXPECT_THROW(Read("{\"a\":1, @}", untouched), Reader::ScanException);
    EXPECT_TRUE(untouched.Empty());
}

std::string Nested(int arrays)
{
    return "{\"a\":" + std::string(arrays, '[') + std::string(arrays, ']') + "}";
}

TEST(JsonReader, NestingIsLimited)
{
    // The top-level object is the first level.
    const int deepest = Reader::MAX_NESTING_DEPTH - 1;
    Object o;
    ASSERT_NO_THROW(Read(Nested(deepest), o));
    const UnknownElement* e = &o["a"];
    int depth = 0;
    while (!e->CastTo<Array>().Empty())
    {
        e = &*e->CastTo<Array>().Begin();
        depth++;
    }
    EXPECT_EQ(depth, deepest - 1);

    EXPECT_EQ(ErrorOf(Nested(deepest + 1)), "Nesting too deep");
    // Far beyond any stack: refused, not crashed.
    EXPECT_EQ(ErrorOf(Nested(1000000)), "Nesting too deep");
    EXPECT_EQ(ErrorOf("{\"a\":" + std::string(1000000, '[')), "Nesting too deep");

    std::string objects = "{";
    for (int i = 0; i < 100000; i++)
        objects += "\"a\":{";
    EXPECT_EQ(ErrorOf(objects), "Nesting too deep");

    // Refused at the bracket one level too deep, without reading on: the
    // error names that bracket and the input stands just after it. Closed
    // levels count no more, also after a syntax error the parse finds later.
    const struct
    {
        const char* name;
        std::string before; // the text before the first bracket, at level 1
        std::string level;  // what opens each level after it: 4 MB of them
    } cases[] = {
        {"arrays", "{\"a\":", "["},
        {"after closed levels", "{\"a\":[[]],\"b\":[{}],\"c\":", "["},
        {"objects", "{", "\"a\":{"},
        {"after a syntax error", "{\"a\" 1, \"b\":", "["},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string text = c.before;
        size_t too_deep = 0;
        for (int level = 2; text.size() < 4000000; level++)
        {
            text += c.level;
            if (level == Reader::MAX_NESTING_DEPTH + 1)
                too_deep = text.size() - 1;
        }
        std::istringstream in(text);
        Object target;
        try
        {
            Reader::Read_i(target, in);
            ADD_FAILURE() << "no throw";
        }
        catch (const Reader::ParseException& e)
        {
            EXPECT_STREQ(e.what(), "Nesting too deep");
            EXPECT_EQ(e.m_locTokenBegin.offset, int(too_deep));
            EXPECT_EQ(e.m_locTokenEnd.offset, int(too_deep + 1));
        }
        EXPECT_EQ(in.tellg(), std::streampos(too_deep + 1));
        EXPECT_TRUE(target.Empty());
    }
}

} // namespace
