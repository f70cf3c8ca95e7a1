// Rounding, clamps, powers of two, areas, ray/triangle hits and angle ranges.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "EngDebug.h"
#include "EngMath.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

TEST(Math, RoundingSendsHalvesTowardZero)
{
    struct Case
    {
        double x;
        int expected;
    };
    const Case cases[] = {
        {2.5, 2},   {-2.5, -2}, {2.500001, 3}, {-0.4, 0}, {2.51, 3}, {-2.6, -3}, {0.5, 0},
        {-1.5, -1}, {1.5, 1},   {0.0, 0},      {-0.5, 0}, {7.2, 7},  {-7.2, -7}, {1e6 + 0.75, 1000001},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(EngMathRound(float(c.x)), c.expected);
        EXPECT_EQ(EngMathRoundDouble(c.x), c.expected);
        EXPECT_EQ(EngMathRoundLong(c.x), c.expected);
    }
}

TEST(Math, RoundingSaturatesOutOfRangeAndNaN)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(EngMathRound(1e20f), INT_MAX);
    EXPECT_EQ(EngMathRound(-1e20f), INT_MIN);
    EXPECT_EQ(EngMathRound(inf), INT_MAX);
    EXPECT_EQ(EngMathRound(nan), 0);
    EXPECT_EQ(EngMathRoundDouble(-2147483648.4), INT_MIN);
    EXPECT_EQ(EngMathRoundDouble(2147483647.4), INT_MAX);
    EXPECT_EQ(EngMathRoundLong(1e300), INT32_MAX);

    struct Case
    {
        float x;
        EngUInt32 expected;
    };
    const Case unsigned_cases[] = {{-3.7f, 0}, {3.5f, 3}, {3.51f, 4},
                                   {0.4f, 0},  {nan, 0},  {1e12f, 0xFFFFFFFFu}};
    for (const Case& c : unsigned_cases)
        EXPECT_EQ(EngMathRoundFloatToUnsignedLong(c.x), c.expected) << c.x;
}

TEST(Math, TruncateFloatOnlyKnowsThreePlaces)
{
    EXPECT_FLOAT_EQ(EngMathTruncateFloat(1.23456f, 3), 1.235f);
    EXPECT_FLOAT_EQ(EngMathTruncateFloat(-1.0005f, 3), -1.0f);
    DebugClearLog();
    EXPECT_EQ(EngMathTruncateFloat(1.23456f, 2), 1.23456f);
    EXPECT_TRUE(Logged("Num decimal places = 2 not implemented yet"));
}

TEST(Math, ClampRaisesThenLowers)
{
    struct Case
    {
        int v, min, max, expected;
    };
    const Case cases[] = {{5, 10, 1, 1}, {5, 1, 10, 5}, {-3, 0, 9, 0},
                          {12, 0, 9, 9}, {9, 0, 9, 9},  {0, 0, 9, 0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(EngMathClamp(c.v, c.min, c.max), c.expected) << c.v << " " << c.min << " " << c.max;
        EXPECT_EQ(EngMathClamp(float(c.v), float(c.min), float(c.max)), float(c.expected));
    }
}

TEST(Math, ClosestPowerOf2MaxIsCappedAtTopBit)
{
    struct Case
    {
        unsigned int n, expected;
    };
    const Case cases[] = {{0, 1},
                          {1, 1},
                          {2, 2},
                          {5, 8},
                          {8, 8},
                          {1025, 2048},
                          {0x40000001u, 0x80000000u},
                          {0x80000000u, 0x80000000u},
                          {0x80000001u, 0x80000000u},
                          {0xFFFFFFFFu, 0x80000000u}};
    for (const Case& c : cases)
        EXPECT_EQ(EngMathGetClosestPowerOf2Max(c.n), c.expected) << c.n;
}

TEST(Math, PointInAreaIncludesLeftTopExcludesRightBottom)
{
    Dimension area = {10, 20, 30, 40};
    struct Case
    {
        float x, y;
        bool inside;
    };
    const Case cases[] = {{10, 20, true},     {39.99f, 59.99f, true}, {40, 30, false}, {20, 60, false},
                          {9.99f, 30, false}, {20, 19.99f, false},    {25, 40, true}};
    for (const Case& c : cases)
    {
        Vector2d p = {c.x, c.y};
        EXPECT_EQ(EngMathIsPointInArea(c.x, c.y, &area), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(EngMathIsPointInArea(&p, &area), c.inside) << c.x << "," << c.y;
    }
    DebugClearLog();
    EXPECT_FALSE(EngMathIsPointInArea(1, 1, nullptr));
    EXPECT_TRUE(Logged("Bad parameters."));
}

TEST(Math, RayTriangleHitsEdgesAndRejectsParallel)
{
    Vector3d a = {0, 0, 0}, b = {1, 0, 0}, c = {0, 1, 0};
    Vector3d dir = {0, 0, 1};
    struct Case
    {
        float x, y;
        bool hit;
    };
    // u is the weight of b, v of c.
    const Case cases[] = {{0.25f, 0.25f, true}, {0, 0.5f, true},       {0.5f, 0.5f, true},  {0, 0, true},
                          {0.6f, 0.6f, false},  {-0.01f, 0.5f, false}, {0.5f, -0.1f, false}};
    for (const Case& k : cases)
    {
        Vector3d origin = {k.x, k.y, -2};
        float t = -9, u = -9, v = -9;
        EXPECT_EQ(EngMathDoesLineIntersectTriangle(&origin, &dir, &a, &b, &c, &t, &u, &v), k.hit)
            << k.x << "," << k.y;
        if (k.hit)
        {
            EXPECT_FLOAT_EQ(t, 2);
            EXPECT_FLOAT_EQ(u, k.x);
            EXPECT_FLOAT_EQ(v, k.y);
        }
    }
    // Behind the origin still counts (no test of the sign of t).
    Vector3d behind = {0.2f, 0.2f, 3};
    float t = 0;
    EXPECT_TRUE(EngMathDoesLineIntersectTriangle(&behind, &dir, &a, &b, &c, &t, nullptr, nullptr));
    EXPECT_FLOAT_EQ(t, -3);

    Vector3d origin = {0.2f, 0.2f, 0}, parallel = {1, 1, 0};
    float pt = -9, pu = -9, pv = -9;
    EXPECT_FALSE(EngMathDoesLineIntersectTriangle(&origin, &parallel, &a, &b, &c, &pt, &pu, &pv));
    EXPECT_EQ(pt, -9);
    EXPECT_EQ(pu, -9);
    EXPECT_EQ(pv, -9);
}

TEST(Math, PointInTriangleCountsEdges)
{
    Vector3d a = {0, 0, 0}, b = {2, 0, 0}, c = {0, 2, 0};
    Vector3d inside = {0.5f, 0.5f, 0}, edge = {1, 1, 0}, outside = {1.5f, 1.5f, 0};
    EXPECT_TRUE(EngMathIsPointInTriangle(&inside, &a, &b, &c));
    EXPECT_TRUE(EngMathIsPointInTriangle(&edge, &a, &b, &c));
    EXPECT_FALSE(EngMathIsPointInTriangle(&outside, &a, &b, &c));
}

TEST(Math, AngleFromDirection)
{
    struct Case
    {
        float dx, dy, expected;
    };
    const Case cases[] = {{0, 0, 0},
                          {1, 0, 0},
                          {-1, 0, ENG_MATH_PI},
                          {0, 1, ENG_MATH_HALF_PI},
                          {0, -1, ENG_MATH_THREE_HALF_PI},
                          {1, -1, 7 * ENG_MATH_PI / 4},
                          {-1, -1, 5 * ENG_MATH_PI / 4},
                          {1, 1, ENG_MATH_PI / 4}};
    for (const Case& c : cases)
        EXPECT_NEAR(EngMathGetAngleFromDirection(c.dx, c.dy), c.expected, 1e-6) << c.dx << "," << c.dy;
}

// The reference: one turn at a time while out of range.
float WrapByLoop(float v, float lo, float hi, float turn)
{
    while (v < lo)
        v += turn;
    while (v >= hi)
        v -= turn;
    return v;
}

TEST(Math, AngleRangesKeepOrdinaryResultsAndEndOnHugeOrNonFinite)
{
    struct Range
    {
        void (*keep)(float*);
        float lo, hi, turn;
    };
    const Range ranges[] = {{EngMathKeepAngleBetween0AndTwoPi, 0, ENG_MATH_TWO_PI, ENG_MATH_TWO_PI},
                            {EngMathKeepAngleBetweenMinusPiAndPi, -ENG_MATH_PI, ENG_MATH_PI, ENG_MATH_TWO_PI},
                            {EngMathKeepAngleBetween0And360, 0, 360, 360},
                            {EngMathKeepAngleBetweenMinus180And180, -180, 180, 360}};
    const float ordinary[] = {0,  0.1f, -0.1f, 3.1415927f, -3.1415927f, 6.2831855f, 7,   -7,
                              20, -20,  180,   -180,       359.5f,      360,        721, -1000};
    for (const Range& r : ranges)
    {
        for (float x : ordinary)
        {
            if (x < r.lo - 4 * r.turn || x >= r.hi + 4 * r.turn)
                continue;
            float v = x;
            r.keep(&v);
            EXPECT_EQ(v, WrapByLoop(x, r.lo, r.hi, r.turn)) << x;
        }
        for (float x : {1e30f, -1e30f, 1e7f, -3e9f, std::numeric_limits<float>::max()})
        {
            float v = x;
            r.keep(&v);
            EXPECT_GE(v, r.lo) << x;
            EXPECT_LT(v, r.hi) << x;
        }
        for (float x : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()})
        {
            float v = x;
            r.keep(&v);
            EXPECT_EQ(v, x);
        }
        float v = std::numeric_limits<float>::quiet_NaN();
        r.keep(&v);
        EXPECT_TRUE(std::isnan(v));
    }
    float pi = ENG_MATH_PI;
    EngMathKeepAngleBetweenMinusPiAndPi(&pi);
    EXPECT_EQ(pi, -ENG_MATH_PI);
}

TEST(Math, AngleAveragesAndInterpolationTakeTheShortWay)
{
    // Distance around the circle, so 0 and 2pi count as the same angle.
    auto around = [](float a, float b)
    {
        float d = std::fmod(std::fabs(a - b), ENG_MATH_TWO_PI);
        return std::fmin(d, ENG_MATH_TWO_PI - d);
    };
    EXPECT_NEAR(around(EngMathAverage2AngsRad(0.2f, ENG_MATH_TWO_PI - 0.2f), 0), 0, 1e-5);
    EXPECT_NEAR(EngMathAverage2AngsRad(1, 2), 1.5f, 1e-6);
    EXPECT_NEAR(EngMathGetDifferenceBetweenAnglesCenterPiRad(0.1f, ENG_MATH_TWO_PI - 0.1f), 0.2f, 1e-5);
    EXPECT_NEAR(around(EngMathInterpolateTwoAnglesRad(3, -3, 0.5f), ENG_MATH_PI), 0, 1e-5);
    EXPECT_NEAR(EngMathInterpolateTwoAnglesRad(0, 1, 0.25f), 0.25f, 1e-6);
    EXPECT_EQ(EngMathInterpolateTwoAnglesRad(100, 100, 0.5f), 100);
}

TEST(Math, UnitVectorsAndPlanes)
{
    Vector3d zero = {0, 0, 0};
    EngMathUnifyNormal(&zero);
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_EQ(zero.z, 0);
    Vector3d v = {3, 4, 0};
    EXPECT_EQ(EngMathUnifyNormal(&v), &v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_EQ(EngMathUnifyNormal(static_cast<Vector3d*>(nullptr)), nullptr);

    Vector3d p1 = {0, 0, 2}, p2 = {1, 0, 2}, p3 = {0, 1, 2};
    EngMathPlane plane;
    EngMathGetPlaneFromThreePoints(&p1, &p2, &p3, &plane);
    EngMathNormalisePlane(&plane);
    Vector3d above = {5, 5, 5};
    EXPECT_FLOAT_EQ(EngMathGetPlanePointDotProduct(&plane, &above), 3);
}

TEST(Math, RangeVarActivity)
{
    struct Case
    {
        EngMathRange3Var r;
        bool active;
    };
    const Case cases[] = {{{0, 0, 0, 0, 0, 0, 0}, false},
                          {{0, 0, 1, 2, 0, 0, 0}, true},
                          {{2, 1, 0, 0, 0, 0, 0}, false},
                          {{-1, -1, 0, 0, 0, 0, 0}, true}};
    for (const Case& c : cases)
    {
        EngMathRange3Var r = c.r;
        EXPECT_EQ(EngMathCheckIfRange3VarActive(&r), c.active);
    }
    EXPECT_FALSE(EngMathCheckIfRange3VarActive(nullptr));
    EngMathRange3Var r = {1, 2, 5, 5, -3, -1, 0};
    Vector3d out;
    EngMathSetVector3dFromRange3Var(&out, &r);
    EXPECT_GE(out.x, 1);
    EXPECT_LT(out.x, 2);
    EXPECT_EQ(out.y, 5);
    EXPECT_GE(out.z, -3);
    EXPECT_LT(out.z, -1);
}

} // namespace
