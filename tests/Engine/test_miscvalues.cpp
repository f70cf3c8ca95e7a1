// Random values, movers, colours, the insertion sort, the readers and parsers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMiscValues.h"
#include "EngProgram.h"
#include "support/TestSupport.h"

using vztest::Logged;

class EngDevice;
extern EngDevice* eng_main_device;

namespace
{

TEST(MiscValues, RandFloatKeepsItsGridAndRange)
{
    srand(11);
    struct Case
    {
        float max, step;
    };
    const Case cases[] = {{0.005f, 0.000001f}, {0.05f, 0.00001f}, {0.5f, 0.0001f},
                          {5, 0.001f},         {50, 0.01f},       {250, 1}};
    for (const Case& c : cases)
        for (int i = 0; i < 300; i++)
        {
            float v = EngMiscRandFloat(c.max, 0);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, c.max);
            double steps = double(v) / c.step;
            ASSERT_NEAR(steps, std::round(steps), 0.01) << c.max << " gave " << v;
        }
    EXPECT_EQ(EngMiscRandFloat(0, 0), 0);
    EXPECT_EQ(EngMiscRandFloat(0.0000001f, 0), 0); // below one step
    float huge = EngMiscRandFloat(1e30f, 0);
    EXPECT_GE(huge, 0);
    float neg = EngMiscRandFloat(-5, 0);
    EXPECT_GE(neg, 0);
    EXPECT_LT(neg, 5);
}

TEST(MiscValues, RandRangesStayInside)
{
    srand(5);
    EXPECT_EQ(EngMiscRandRangeInt(3, 3, 0), 3);
    EXPECT_EQ(EngMiscRandRangeFloat(4, 2, 0), 4);
    EXPECT_EQ(EngMiscRandRangeULong(9, 9), 9u);
    bool saw_nine = false, saw_neg = false;
    for (int i = 0; i < 2000; i++)
    {
        int v = EngMiscRandRangeInt(0, 10, 0);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        saw_nine |= v == 9;
        // A span wider than INT_MAX must not overflow.
        int w = EngMiscRandRangeInt(INT_MIN + 1, INT_MAX, 0);
        ASSERT_GE(w, INT_MIN + 1);
        int s = EngMiscRandRangeInt(2, 5, 1);
        ASSERT_TRUE((s >= 2 && s < 5) || (s <= -2 && s > -5)) << s;
        saw_neg |= s < 0;
        double d = EngMiscRandRangeDouble(1.0, 1.5, 0);
        ASSERT_GE(d, 1.0);
        ASSERT_LT(d, 1.5);
        unsigned u = EngMiscRandRangeULong(10, 20);
        ASSERT_GE(u, 10u);
        ASSERT_LT(u, 20u);
    }
    EXPECT_TRUE(saw_nine);
    EXPECT_TRUE(saw_neg);
    EXPECT_FALSE(EngMiscRandChance(0));
    EXPECT_TRUE(EngMiscRand1InN(1));
    EngMiscRandChance(INT_MAX); // no overflow in n + 1
}

TEST(MiscValues, MoversStopAtTheTarget)
{
    Vector3d pos = {0, 0, 0}, target = {10, 5, 0};
    float fraction = -1;
    EXPECT_FALSE(EngMiscMoveVectorAtSpeed(&pos, &target, 2, &fraction));
    EXPECT_FLOAT_EQ(pos.x, 2);
    EXPECT_FLOAT_EQ(pos.y, 1);
    EXPECT_FLOAT_EQ(fraction, 0.2f);
    EXPECT_TRUE(EngMiscMoveVectorAtSpeed(&pos, &target, 100, &fraction));
    EXPECT_FLOAT_EQ(pos.x, 10);
    EXPECT_FLOAT_EQ(fraction, 1);
    fraction = -1;
    EXPECT_TRUE(EngMiscMoveVectorAtSpeed(&pos, &target, 2, &fraction));
    EXPECT_EQ(fraction, -1) << "already there writes nothing";

    struct Case
    {
        float v, target, speed, after;
        bool done;
    };
    const Case cases[] = {{0, 10, 3, 3, false},
                          {9, 10, 3, 10, true},
                          {10, 0, 4, 6, false},
                          {1, 0, 4, 0, true},
                          {5, 5, 1, 5, true}};
    for (const Case& c : cases)
    {
        float v = c.v;
        EXPECT_EQ(EngMiscMoveFloatAtSpeed(&v, c.target, c.speed), c.done) << c.v << "->" << c.target;
        EXPECT_EQ(v, c.after);
        v = c.v;
        EXPECT_EQ(EngMiscChangeVariableAtSpeedToDesiredAmount(&v, c.target, c.speed), c.done);
        EXPECT_EQ(v, c.after);
    }
    float v = 0;
    EngMiscChangeVariableAtSpeedToDesiredAmount(&v, 10, 1, 5);
    EXPECT_EQ(v, 1);
    v = 10;
    EngMiscChangeVariableAtSpeedToDesiredAmount(&v, 0, 1, 5);
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(EngMiscMoveFloatAtSpeed(nullptr, 1, 1));
    EXPECT_TRUE(EngMiscChangeVariableAtSpeedToDesiredAmount(nullptr, 1, 1));
}

TEST(MiscValues, ThrobAndTimers)
{
    float phase = 0;
    char done = 5;
    EngMiscThrobEffect(&phase, ENG_MATH_PI / 4, &done);
    EXPECT_EQ(done, 0);
    EXPECT_NEAR(EngMiscThrobEffect(&phase, ENG_MATH_PI / 4, &done), 1.0f, 1e-6);
    EngMiscThrobEffect(&phase, ENG_MATH_PI / 4, &done);
    EngMiscThrobEffect(&phase, ENG_MATH_PI / 4 + 0.01f, &done); // passes 2pi
    EXPECT_EQ(done, 1);
    EXPECT_EQ(EngMiscThrobEffect(nullptr, 1, &done), 0);

    eng_main_current_time = 10;
    double next = 0;
    EXPECT_TRUE(EngMiscHasTimeRepeated(&next, 2));
    EXPECT_EQ(next, 12);
    EXPECT_FALSE(EngMiscHasTimeRepeated(&next, 2));
    eng_main_current_time = 12;
    EXPECT_TRUE(EngMiscHasTimeRepeated(&next, 2));
}

TEST(MiscValues, BlendVarRunsItsCycle)
{
    EngMiscBlendVar b = {};
    b.rate = 0; // counts as 1
    b.start = 0.5f;
    b.low = 0;
    b.high = 1;
    b.rise_speed = 30; // 0.5 per frame at 60 Hz
    b.fall_speed = 60;
    b.first_wait = 1;
    b.wait_high = 1;
    b.wait_low = 1;
    eng_main_current_time = 100;
    int cycles = 0;
    float top = 0;
    for (int i = 0; i < 40; i++)
    {
        cycles += EngMiscUpdateBlendVar(&b);
        top = std::fmax(top, b.current);
        eng_main_current_time += 0.5;
        ASSERT_GE(b.current, 0);
        ASSERT_LE(b.current, 1);
    }
    EXPECT_EQ(top, 1);
    EXPECT_GE(cycles, 2);
    b.state = 9;
    EXPECT_FALSE(EngMiscUpdateBlendVar(&b));
    EXPECT_EQ(b.state, 9);
}

TEST(MiscValues, ChangeVarRestsThenMoves)
{
    srand(3);
    EngMiscChangeVarFloat2 var = {};
    DebugClearLog();
    EngMiscSetupChangeVarFloat(0.5, 0.5, 10, 20, 0, 0, 0, 60, 60, 1, &var);
    EXPECT_GE(var.current, 10);
    EXPECT_LT(var.current, 20);
    EXPECT_EQ(EngMiscChangeVarFloatTick(&var), 0) << "no device: nothing happens";

    int dummy_device;
    eng_main_device = reinterpret_cast<EngDevice*>(&dummy_device);
    eng_main_current_time = 50;
    EngMiscChangeVarFloatTick(&var); // schedules the change
    EXPECT_DOUBLE_EQ(var.next_change_time, 50.5);
    eng_main_current_time = 51;
    EngMiscChangeVarFloatTick(&var); // picks a target
    EXPECT_EQ(var.moving, 1);
    for (int i = 0; i < 100 && var.moving; i++)
        EngMiscChangeVarFloatTick(&var);
    EXPECT_EQ(var.moving, 0);
    EXPECT_NEAR(var.current, var.target, 1.0f + 1e-4f); // one step of 60 * 1/60
    eng_main_device = nullptr;

    EngMiscChangeVarFloat2 unset = {};
    eng_main_device = reinterpret_cast<EngDevice*>(&dummy_device);
    EXPECT_EQ(EngMiscChangeVarFloatTick(&unset), 0);
    EXPECT_TRUE(Logged("Var not setup"));
    eng_main_device = nullptr;
}

TEST(MiscValues, PowersOfTwoAndColours)
{
    struct Case
    {
        unsigned n, expected;
    };
    const Case cases[] = {{0, 2},        {1, 2},         {5, 4},         {6, 8},
                          {11, 8},       {12, 16},       {1535, 1024},   {1536, 2048},
                          {12287, 8192}, {12288, 16384}, {20000, 32768}, {0xFFFFFFFFu, 0x80000000u}};
    for (const Case& c : cases)
        EXPECT_EQ(EngMiscGetClosestPowerOf2(c.n), c.expected) << c.n;

    float* rgb = EngMiscHexColourToRGB(0xFF8000);
    EXPECT_FLOAT_EQ(rgb[0], 1);
    EXPECT_FLOAT_EQ(rgb[1], 128.0f / 255);
    EXPECT_FLOAT_EQ(rgb[2], 0);

    struct Hsv
    {
        float r, g, b, h, s, v;
    };
    const Hsv hsv[] = {{1, 0, 0, 0, 1, 1},        {0, 1, 0, 1.0f / 3, 1, 1},
                       {0, 0, 1, 2.0f / 3, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f, 0, 0.5f},
                       {0, 0, 0, 0.5f, 0, 0},     {1, 0, 0.5f, 11.0f / 12, 1, 1},
                       {1, 1, 0, 1.0f / 6, 1, 1}};
    for (const Hsv& c : hsv)
    {
        float h = -1, s = -1, v = -1;
        EngMiscRGB2HSV(c.r, c.g, c.b, &h, &s, &v);
        EXPECT_NEAR(h, c.h, 1e-6) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(s, c.s, 1e-6);
        EXPECT_NEAR(v, c.v, 1e-6);
    }
    EngMiscRGB2HSV(1, 0, 0, nullptr, nullptr, nullptr);
}

struct Item
{
    int key;
    int order;
};

int CompareKeys(const void* a, const void* b)
{
    return static_cast<const Item*>(a)->key - static_cast<const Item*>(b)->key;
}

TEST(MiscValues, InsertionSortIsStable)
{
    std::vector<Item> items = {{3, 0}, {1, 1}, {3, 2}, {2, 3}, {1, 4}, {3, 5}, {0, 6}, {2, 7}};
    EngMiscInsertionSort(items.data(), items.size(), sizeof(Item), CompareKeys);
    const Item want[] = {{0, 6}, {1, 1}, {1, 4}, {2, 3}, {2, 7}, {3, 0}, {3, 2}, {3, 5}};
    for (size_t i = 0; i < items.size(); i++)
    {
        EXPECT_EQ(items[i].key, want[i].key) << i;
        EXPECT_EQ(items[i].order, want[i].order) << i;
    }
    Item one = {5, 0};
    EngMiscInsertionSort(&one, 1, sizeof(Item), CompareKeys);
    EngMiscInsertionSort(nullptr, 4, sizeof(Item), CompareKeys);

    char a[4] = "abc", b[4] = "xyz";
    EXPECT_TRUE(EngMiscSwapMemory(a, b, 4));
    EXPECT_STREQ(a, "xyz");
    EXPECT_STREQ(b, "abc");
    DebugClearLog();
    EXPECT_FALSE(EngMiscSwapMemory(a, nullptr, 4));
    EXPECT_TRUE(Logged("Bad parameters."));
}

// Each result and piece a reader hands out, up to and including its first 0.
template <typename Info> std::vector<std::string> Pieces(Info* info, char (*read)(Info*, char*, size_t))
{
    std::vector<std::string> got;
    char out[16] = "";
    for (int i = 0; i < 10; i++)
    {
        char r = read(info, out, sizeof(out));
        got.push_back(std::to_string(int(r)) + ":" + out);
        if (r == 0)
            break;
    }
    return got;
}

TEST(MiscValues, LineReaderResultsAndTermination)
{
    char text[] = "first\nsecond\n";
    EngMiscGetLineFromDataInfo info = {text, 0};
    char out[16];
    EXPECT_EQ(Pieces(&info, EngMiscGetLineFromData), (std::vector<std::string>{"1:first", "2:second", "0:"}));

    // Lines longer than the buffer are cut, terminated, and skipped as a whole.
    struct Case
    {
        size_t size;
        const char* first;
        const char* second;
    };
    const Case cases[] = {{1, "", ""}, {3, "ab", "xy"}, {6, "abcde", "xyz"}, {16, "abcdefgh", "xyz"}};
    for (const Case& c : cases)
    {
        char data[] = "abcdefgh\nxyz";
        EngMiscGetLineFromDataInfo li = {data, 0};
        std::vector<char> buf(c.size + 4, '#');
        EXPECT_EQ(EngMiscGetLineFromData(&li, buf.data(), c.size), 1);
        EXPECT_STREQ(buf.data(), c.first) << c.size;
        EXPECT_EQ(buf[c.size], '#') << "wrote past size " << c.size;
        EXPECT_EQ(li.position, 9);
        EXPECT_EQ(EngMiscGetLineFromData(&li, buf.data(), c.size), 1);
        EXPECT_STREQ(buf.data(), c.second);
        EXPECT_EQ(EngMiscGetLineFromData(&li, buf.data(), c.size), 0);
    }

    char fields[] = "a,,bc";
    EngMiscGetFieldFromDataInfo fi = {fields, ',', 0};
    EXPECT_EQ(Pieces(&fi, EngMiscGetFieldFromData), (std::vector<std::string>{"1:a", "1:", "1:bc", "0:"}));

    DebugClearLog();
    fi.separator = 0;
    EXPECT_EQ(EngMiscGetFieldFromData(&fi, out, sizeof(out)), 0);
    EXPECT_TRUE(Logged("Invalid parameters"));
    fi.separator = ',';
    EXPECT_EQ(EngMiscGetFieldFromData(&fi, nullptr, 4), 0);
    EXPECT_TRUE(Logged("No field."));
    EXPECT_EQ(EngMiscGetLineFromData(&info, out, 0), 0);
    EXPECT_TRUE(Logged("No line."));
    // A position beyond the text counts as its end.
    char small[] = "ab";
    EngMiscGetLineFromDataInfo past = {small, 50};
    EXPECT_EQ(EngMiscGetLineFromData(&past, out, sizeof(out)), 0);
    EXPECT_STREQ(out, "");
}

TEST(MiscValues, IntParsersClampAndReport)
{
    struct Case
    {
        const char* s;
        int min, max;
        bool ok;
        int value;
        const char* log;
    };
    const Case cases[] = {
        {"42", 0, 100, true, 42, nullptr},
        {"-5", 0, 100, false, 0, "Value too low (-5 < 0)"},
        {"500", 0, 100, false, 100, "Value too high (500 < 100)"},
        {"", 0, 100, false, 0, "No string."},
        {"99999999999999999999", 0, INT_MAX, false, INT_MAX,
         "Value too high (99999999999999999999 < 2147483647)"},
        {"12abc", 0, 100, true, 12, nullptr},
    };
    for (const Case& c : cases)
    {
        int v = -77;
        DebugClearLog();
        EXPECT_EQ(EngMiscGetIntFromString(c.s, &v, c.min, c.max), c.ok) << c.s;
        EXPECT_EQ(v, c.value) << c.s;
        if (c.log)
        {
            EXPECT_TRUE(Logged(c.log)) << c.s;
        }
    }
    DebugClearLog();
    EXPECT_FALSE(EngMiscGetIntFromString("1", nullptr, 0, 1));
    EXPECT_TRUE(Logged("No int_out."));

    EngInt16 i16;
    EXPECT_FALSE(EngMiscGetInt16FromString("40000", &i16, -100, 1000));
    EXPECT_EQ(i16, 1000);
    EXPECT_TRUE(Logged("Value too high (40000 > 1000)"));
    EngUInt16 u16;
    EXPECT_TRUE(EngMiscGetUInt16FromString("65535", &u16, 0, 65535));
    EXPECT_EQ(u16, 65535);
    unsigned char uc;
    EXPECT_FALSE(EngMiscGetUCharFromString("-1", &uc, 0, 255));
    EXPECT_EQ(uc, 0);
    char ch;
    EXPECT_TRUE(EngMiscGetCharFromString("-100", &ch, -128, 127));
    EXPECT_EQ(ch, -100);
    EXPECT_FALSE(EngMiscGetCharFromString("5", nullptr, 0, 9));
    EXPECT_TRUE(Logged("No out_val."));
}

// A number that does not fit the parser's type is refused as one outside the
// range is, even when the range is the whole type.
TEST(MiscValues, NumbersThatDoNotFitAreRefused)
{
    struct Case
    {
        const char* parser;
        const char* s;
        bool ok;
        long long value;
        const char* log;
    };
    const auto parse = [](const Case& c, long long* v) -> bool
    {
        const std::string p = c.parser;
        if (p == "int")
        {
            int x = 7;
            bool ok = EngMiscGetIntFromString(c.s, &x, INT_MIN, INT_MAX);
            *v = x;
            return ok;
        }
        if (p == "int16")
        {
            EngInt16 x = 7;
            bool ok = EngMiscGetInt16FromString(c.s, &x, INT16_MIN, INT16_MAX);
            *v = x;
            return ok;
        }
        if (p == "uint16")
        {
            EngUInt16 x = 7;
            bool ok = EngMiscGetUInt16FromString(c.s, &x, 0, UINT16_MAX);
            *v = x;
            return ok;
        }
        if (p == "char")
        {
            char x = 7;
            bool ok = EngMiscGetCharFromString(c.s, &x, CHAR_MIN, CHAR_MAX);
            *v = x;
            return ok;
        }
        unsigned char x = 7;
        bool ok = EngMiscGetUCharFromString(c.s, &x, 0, UCHAR_MAX);
        *v = x;
        return ok;
    };
    const Case cases[] = {
        {"int", "99999999999", false, INT_MAX, "Value too high (99999999999 < 2147483647)"},
        {"int", "2147483648", false, INT_MAX, "Value too high (2147483648 < 2147483647)"},
        {"int", "2147483647", true, INT_MAX, nullptr},
        {"int", "-2147483648", true, INT_MIN, nullptr},
        {"int", "-2147483649", false, INT_MIN, "Value too low (-2147483649 < -2147483648)"},
        {"int", " -99999999999999999999999 apples", false, INT_MIN,
         "Value too low (-99999999999999999999999 < -2147483648)"},
        {"int", "4294967338", false, INT_MAX, "Value too high (4294967338 < 2147483647)"},
        {"int16", "32768", false, INT16_MAX, "Value too high (32768 > 32767)"},
        {"int16", "4294967296", false, INT16_MAX, "Value too high (4294967296 > 32767)"},
        {"uint16", "99999999999", false, UINT16_MAX, "Value too high (99999999999 > 65535)"},
        {"char", "-4294967295", false, CHAR_MIN, "Value too low (-4294967295 < -128)"},
        {"uchar", "18446744073709551617", false, UCHAR_MAX, "Value too high (18446744073709551617 > 255)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.parser) + " " + c.s);
        DebugClearLog();
        long long v = 0;
        EXPECT_EQ(parse(c, &v), c.ok);
        EXPECT_EQ(v, c.value);
        if (c.log)
        {
            EXPECT_TRUE(Logged(c.log)) << vztest::LastLogLine();
        }
        else
        {
            EXPECT_EQ(DebugGetNumMessages(), 0);
        }
    }
}

} // namespace
