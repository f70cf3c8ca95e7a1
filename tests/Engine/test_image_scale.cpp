// The two-pass scaler: the weight truncation, copies, flips and cancelling.
#include <gtest/gtest.h>

#include <vector>

#include "EngImageScale.h"

namespace
{

typedef C2PassScale<CBilinearFilter> Scaler;

std::vector<unsigned char> Uniform(unsigned w, unsigned h, std::vector<unsigned char> px)
{
    std::vector<unsigned char> out;
    for (unsigned i = 0; i < w * h; i++)
        out.insert(out.end(), px.begin(), px.end());
    return out;
}

TEST(ImageScale, UniformAreasLoseOnePerResamplingPass)
{
    struct
    {
        unsigned sw, sh, dw, dh;
        char flip;
        int expected_r;
    } const cases[] = {
        {3, 1, 4, 1, 0, 254}, // one horizontal pass
        {3, 3, 4, 4, 0, 253}, // both passes
        {4, 4, 4, 4, 0, 255}, // plain copy
        {4, 4, 4, 4, 1, 254}, // the flip resamples once
        {8, 8, 3, 3, 0, 253}, // shrinking both ways
    };
    for (const auto& c : cases)
    {
        auto src = Uniform(c.sw, c.sh, {255, 100, 0});
        std::vector<unsigned char> dst(c.dw * c.dh * 3, 7);
        Scaler s;
        ASSERT_EQ(s.Scale(src.data(), 3, c.sw, c.sw * 3, c.sh, dst.data(), c.dw, c.dw * 3, c.dh, c.flip),
                  dst.data());
        for (unsigned i = 0; i < c.dw * c.dh; i++)
        {
            EXPECT_EQ(dst[i * 3], c.expected_r) << c.sw << "->" << c.dw;
            EXPECT_EQ(dst[i * 3 + 1], c.expected_r == 255 ? 100 : 100 - (255 - c.expected_r));
            EXPECT_EQ(dst[i * 3 + 2], 0);
        }
    }
}

TEST(ImageScale, FlipTurnsRowsUpsideDown)
{
    // Rows 10, 20, 30 (one grey pixel each) come back as 29, 19, 9.
    std::vector<unsigned char> src = {10, 20, 30}, dst(3, 0);
    Scaler s;
    s.Scale(src.data(), 1, 1, 1, 3, dst.data(), 1, 1, 3, 1);
    EXPECT_EQ(dst, (std::vector<unsigned char>{29, 19, 9}));
}

TEST(ImageScale, CancellingCallbackReturnsNullAndLeavesDestination)
{
    auto src = Uniform(4, 4, {1, 2, 3, 4});
    std::vector<unsigned char> dst(8 * 8 * 4, 77);
    Scaler s([](char) { return char(0); });
    EXPECT_EQ(s.Scale(src.data(), 4, 4, 16, 4, dst.data(), 8, 32, 8, 0), nullptr);
    EXPECT_EQ(dst, std::vector<unsigned char>(8 * 8 * 4, 77));
}

TEST(ImageScale, ProgressRunsFromZeroBelowOneHundred)
{
    static std::vector<int> seen;
    seen.clear();
    auto src = Uniform(4, 4, {9});
    std::vector<unsigned char> dst(8 * 8);
    Scaler s(
        [](char p)
        {
            seen.push_back(p);
            return char(1);
        });
    ASSERT_NE(s.Scale(src.data(), 1, 4, 4, 4, dst.data(), 8, 8, 8, 0), nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_LT(seen.back(), 100);
    EXPECT_GE(seen.back(), 50);
}

} // namespace
