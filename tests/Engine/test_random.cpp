// The MT19937 generator against the standard library's, and its derived draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>

#include "EngDebug.h"
#include "EngRandom.h"
#include "support/TestSupport.h"

namespace
{

TEST(Random, MatchesStdMt19937)
{
    for (unsigned long seed : {5489UL, 0UL, 4294967295UL})
    {
        rk_state s;
        rk_seed(seed, &s);
        std::mt19937 ref(static_cast<std::mt19937::result_type>(seed));
        for (int i = 0; i < 10000; i++)
            ASSERT_EQ(rk_random(&s), ref()) << "seed " << seed << " draw " << i;
    }
    // Only the low 32 bits of the seed count.
    rk_state wide, narrow;
    rk_seed(0x100000005UL, &wide);
    rk_seed(5UL, &narrow);
    EXPECT_EQ(rk_random(&wide), rk_random(&narrow));

    EngRandomInitWithSeed(5489);
    EXPECT_EQ(EngRandom(), 3499211612u);
}

TEST(Random, IntervalStaysInBounds)
{
    rk_state s, ref;
    rk_seed(42, &s);
    ref = s;
    EXPECT_EQ(rk_interval(0, &s), 0UL);
    EXPECT_EQ(rk_random(&s), rk_random(&ref)) << "interval(0) drew a value";

    struct Case
    {
        unsigned long max;
    };
    const Case cases[] = {{1}, {6}, {7}, {8}, {1000}, {0xffffffffUL}};
    for (const Case& c : cases)
    {
        std::set<unsigned long> seen;
        for (int i = 0; i < 2000; i++)
        {
            unsigned long v = rk_interval(c.max, &s);
            ASSERT_LE(v, c.max);
            seen.insert(v);
        }
        if (c.max <= 8)
        {
            EXPECT_EQ(seen.size(), c.max + 1) << "max " << c.max;
        }
    }
    // Ranges wider than 32 bits reach their upper part too.
    unsigned long wide_max = (1UL << 40) - 1, biggest = 0;
    for (int i = 0; i < 200; i++)
        biggest = std::max(biggest, rk_interval(wide_max, &s));
    EXPECT_GT(biggest, 0xffffffffUL);
    EXPECT_LE(biggest, wide_max);
}

TEST(Random, GaussCachesTheSecondOfThePair)
{
    rk_state s;
    rk_seed(7, &s);
    rk_state copy = s;
    // The polar method by hand on a copy of the state.
    double x, y, r2;
    do
    {
        x = 2.0 * rk_double(&copy) - 1.0;
        y = 2.0 * rk_double(&copy) - 1.0;
        r2 = x * x + y * y;
    } while (r2 >= 1.0 || r2 == 0.0);
    double f = std::sqrt(-2.0 * std::log(r2) / r2);

    EXPECT_DOUBLE_EQ(rk_gauss(&s), y * f);
    rk_state after_first = s;
    EXPECT_DOUBLE_EQ(rk_gauss(&s), x * f);
    EXPECT_EQ(rk_random(&s), rk_random(&after_first)) << "the cached value drew again";
    // A new seed forgets the cache.
    rk_seed(7, &s);
    EXPECT_DOUBLE_EQ(rk_gauss(&s), y * f);
}

TEST(Random, DoubleAndFillUseTheDrawsInOrder)
{
    rk_state s;
    rk_seed(99, &s);
    std::mt19937 ref(99);
    uint32_t a = ref() >> 5, b = ref() >> 6;
    EXPECT_DOUBLE_EQ(rk_double(&s), (a * 67108864.0 + b) / 9007199254740992.0);

    unsigned char buf[8];
    memset(buf, 0xEE, sizeof(buf));
    rk_fill(buf, 6, &s);
    uint32_t d1 = ref(), d2 = ref();
    const unsigned char want[8] = {uint8_t(d1),
                                   uint8_t(d1 >> 8),
                                   uint8_t(d1 >> 16),
                                   uint8_t(d1 >> 24),
                                   uint8_t(d2),
                                   uint8_t(d2 >> 8),
                                   0xEE,
                                   0xEE};
    EXPECT_EQ(memcmp(buf, want, 8), 0);
    EXPECT_EQ(rk_random(&s), ref());
}

TEST(Random, SeedsFromTheSystemOrFallsBack)
{
    rk_state s;
    EXPECT_EQ(rk_randomseed(&s), RK_NOERR);
    EXPECT_EQ(s.pos, RK_STATE_LEN);
    EXPECT_NE(s.key[0] & 0x80000000u, 0u);

    const char* saved = rk_dev_urandom_path;
    rk_dev_urandom_path = "/nonexistent/urandom";
    memset(&s, 0, sizeof(s));
    EXPECT_EQ(rk_randomseed(&s), RK_ENODEV);
    std::set<uint32_t> values;
    for (int i = 0; i < 100; i++)
        values.insert(rk_random(&s));
    EXPECT_GT(values.size(), 90u);

    unsigned char buf[16] = {};
    rk_seed(3, &s);
    rk_state ref = s;
    EXPECT_EQ(rk_altfill(buf, sizeof(buf), 0, &s), RK_ENODEV);
    unsigned char want[16];
    rk_fill(want, sizeof(want), &ref);
    EXPECT_EQ(memcmp(buf, want, sizeof(buf)), 0);
    rk_dev_urandom_path = saved;

    EngRandomInit();
    EXPECT_EQ(cr_state.pos, RK_STATE_LEN);
}

TEST(Random, EngineDrawsKeepTheirGrid)
{
    EngRandomInitWithSeed(1234);
    struct Case
    {
        float max, step;
    };
    const Case cases[] = {{0.005f, 0.000001f}, {0.05f, 0.00001f}, {0.5f, 0.0001f},
                          {5, 0.001f},         {50, 0.01f},       {250, 1}};
    for (const Case& c : cases)
    {
        for (int i = 0; i < 500; i++)
        {
            float v = EngRandomFloat(c.max, 0);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, c.max);
            double steps = double(v) / c.step;
            ASSERT_NEAR(steps, std::round(steps), 0.01) << c.max << " gave " << v;
        }
    }
    EXPECT_EQ(EngRandomFloat(0, 0), 0);
    bool neg = false, pos = false;
    for (int i = 0; i < 100; i++)
    {
        float v = EngRandomRangeFloat(2, 3, 1);
        (v < 0 ? neg : pos) = true;
        ASSERT_GE(std::fabs(v), 2);
        ASSERT_LT(std::fabs(v), 3);
    }
    EXPECT_TRUE(neg && pos);
    EXPECT_EQ(EngRandomRangeFloat(3, 3, 0), 3);
    EXPECT_FALSE(EngRandomChance(0));
    int ones = 0;
    for (int i = 0; i < 1000; i++)
        ones += EngRandomSign() == 1;
    EXPECT_GT(ones, 400);
    EXPECT_LT(ones, 600);
}

} // namespace
