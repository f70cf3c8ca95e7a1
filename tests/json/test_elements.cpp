// The document model: kinds and casts, object members, equality, deep copies.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "json/JsonElements.h"

using namespace json;

namespace
{

std::string CastMessage(const UnknownElement& e)
{
    try
    {
        e.CastTo<Number>();
    }
    catch (const Exception& x)
    {
        return x.what();
    }
    return "";
}

std::string Names(const Object& o)
{
    std::string s;
    for (const Object::Member& m : o)
        s += m.name + ";";
    return s;
}

TEST(JsonElements, DefaultIsNullAndCastsCheckTheKind)
{
    const UnknownElement e;
    EXPECT_NO_THROW(e.CastTo<Null>());
    EXPECT_EQ(CastMessage(e), "Bad cast");
    EXPECT_THROW(e.CastTo<Object>(), Exception);
    EXPECT_NO_THROW(e.CastTo<Null>()) << "a failed cast changes nothing";

    const UnknownElement n(Number(2.5));
    EXPECT_EQ(n.CastTo<Number>().Value(), 2.5);
    EXPECT_THROW(n.CastTo<String>(), Exception);
    EXPECT_THROW(n.CastTo<Boolean>(), Exception);
}

TEST(JsonElements, ConvertToReplacesOnlyAnotherKind)
{
    UnknownElement e(Number(7));
    Array& a = e.ConvertTo<Array>();
    EXPECT_TRUE(a.Empty());
    a.Insert(String("x"));
    a.Insert(Boolean(true));

    Array& again = e.ConvertTo<Array>();
    ASSERT_EQ(again.Size(), 2u);
    EXPECT_EQ(again.Begin()->CastTo<String>().Value(), "x");

    EXPECT_EQ(e.ConvertTo<Number>().Value(), 0.0);
    EXPECT_EQ(e.ConvertTo<String>().Value(), "");
    EXPECT_FALSE(e.ConvertTo<Boolean>().Value());
    EXPECT_TRUE(e.ConvertTo<Object>().Empty());
}

TEST(JsonElements, ObjectMembersByName)
{
    Object o;
    o["Layers"] = Number(1);
    o["layers"] = Number(2);
    o[""] = String("empty name");
    EXPECT_EQ(Names(o), "Layers;layers;;");
    EXPECT_EQ(o["Layers"].CastTo<Number>().Value(), 1.0) << "existing member, no growth";
    EXPECT_EQ(o.Size(), 3u);

    UnknownElement& grown = o["new"];
    EXPECT_NO_THROW(grown.CastTo<Null>());
    EXPECT_EQ(Names(o), "Layers;layers;;new;");

    const Object& c = o;
    try
    {
        c["Missing"];
        FAIL() << "no throw";
    }
    catch (const Exception& x)
    {
        EXPECT_STREQ(x.what(), "Object member not found: Missing");
    }
    EXPECT_EQ(o.Size(), 4u);
}

TEST(JsonElements, InsertRefusesTakenNamesAndKeepsOrder)
{
    Object o;
    o.Insert(Object::Member("b", Number(2)));
    o.Insert(Object::Member("a", Number(1)), o.Begin());
    EXPECT_EQ(Names(o), "a;b;");
    try
    {
        o.Insert(Object::Member("b", String("other")), o.Begin());
        FAIL() << "no throw";
    }
    catch (const Exception& x)
    {
        EXPECT_STREQ(x.what(), "Object member already exists: b");
    }
    EXPECT_EQ(Names(o), "a;b;");
    EXPECT_EQ(o["b"].CastTo<Number>().Value(), 2.0);
}

TEST(JsonElements, Equality)
{
    Object ab, ba;
    ab["a"] = Number(1);
    ab["b"] = Number(2);
    ba["b"] = Number(2);
    ba["a"] = Number(1);
    Array a12, a21, a1;
    a12.Insert(Number(1));
    a12.Insert(Number(2));
    a21.Insert(Number(2));
    a21.Insert(Number(1));
    a1.Insert(Number(1));

    const struct
    {
        const char* name;
        UnknownElement x, y;
        bool equal;
    } cases[] = {
        {"same object", ab, Object(ab), true},
        {"member order", ab, ba, false},
        {"same array", a12, Array(a12), true},
        {"element order", a12, a21, false},
        {"array prefix", a12, a1, false},
        {"nulls", Null(), UnknownElement(), true},
        {"zero and minus zero", Number(0.0), Number(-0.0), true},
        {"NaN", Number(NAN), Number(NAN), false},
        {"number and string", Number(1), String("1"), false},
        {"number and boolean", Number(1), Boolean(true), false},
        {"null and empty object", Null(), Object(), false},
        {"embedded NUL", String(std::string("a\0b", 3)), String("a"), false},
        {"empty object and array", Object(), Array(), false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.x == c.y, c.equal) << c.name;
        EXPECT_EQ(c.y == c.x, c.equal) << c.name;
    }
}

TEST(JsonElements, CopiesAreDeep)
{
    Object original;
    original["inner"].ConvertTo<Object>()["list"].ConvertTo<Array>().Insert(Number(1));

    Object copy(original);
    Object& inner = copy["inner"].ConvertTo<Object>();
    inner["list"].ConvertTo<Array>().Insert(Number(2));
    inner["extra"] = Boolean(true);
    const Object& kept = original["inner"].CastTo<Object>();
    EXPECT_EQ(kept.Size(), 1u);
    EXPECT_EQ(kept["list"].CastTo<Array>().Size(), 1u);

    UnknownElement held(original);
    UnknownElement other;
    other = held;
    other.ConvertTo<Object>()["inner"] = Null();
    EXPECT_EQ(held, UnknownElement(original));
    EXPECT_NE(other, held);
}

TEST(JsonElements, AssignFromItselfOrFromInside)
{
    UnknownElement e(Object{});
    e.ConvertTo<Object>()["inner"].ConvertTo<Object>()["leaf"] = String("kept");
    UnknownElement before(e);

    UnknownElement& alias = e;
    e = alias;
    EXPECT_EQ(e, before);

    // Assigning a value that lives inside the element's own value.
    e = e.CastTo<Object>()["inner"];
    EXPECT_EQ(e.CastTo<Object>()["leaf"].CastTo<String>().Value(), "kept");

    e = e.CastTo<Object>()["leaf"];
    EXPECT_EQ(e.CastTo<String>().Value(), "kept");
}

} // namespace
