// The two-pass scaler: uniform areas, the filter, copies, flips and cancelling.
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

// An area of one value keeps it through both passes, growing, shrinking,
// copied or flipped, in every pixel size.
TEST(ImageScale, UniformAreasKeepTheirValue)
{
    struct
    {
        unsigned sw, sh, dw, dh;
        char flip;
    } const sizes[] = {
        {3, 1, 4, 1, 0},      // one horizontal pass
        {3, 3, 4, 4, 0},      // both passes, growing
        {4, 4, 4, 4, 0},      // plain copy
        {4, 4, 4, 4, 1},      // the flip resamples once
        {8, 8, 3, 3, 0},      // shrinking both ways
        {5, 3, 4, 4, 1},      // shrinking one way, growing the other, flipped
        {7, 9, 16, 2, 0},     // growing by more than two, shrinking by more than four
        {100, 60, 64, 64, 0}, // shrinking by a scale with long fractions
        {1, 1, 8, 8, 0},      // a single pixel spread
    };
    const std::vector<unsigned char> pixels[] = {
        {255}, {255, 1}, {255, 100, 0}, {255, 255, 255, 255}, {1, 128, 254, 255}};
    for (const auto& px : pixels)
        for (const auto& c : sizes)
        {
            SCOPED_TRACE(testing::Message() << px.size() << " bytes, " << c.sw << "x" << c.sh << " -> "
                                            << c.dw << "x" << c.dh << (c.flip ? " flipped" : ""));
            const unsigned n = unsigned(px.size());
            auto src = Uniform(c.sw, c.sh, px);
            std::vector<unsigned char> dst(c.dw * c.dh * n, 7);
            Scaler s;
            ASSERT_EQ(s.Scale(src.data(), n, c.sw, c.sw * n, c.sh, dst.data(), c.dw, c.dw * n, c.dh, c.flip),
                      dst.data());
            EXPECT_EQ(dst, Uniform(c.dw, c.dh, px));
        }
}

// Growing a row, each new sample weighs its two neighbours by distance.
TEST(ImageScale, GrowingWeighsNeighboursByDistance)
{
    std::vector<unsigned char> src = {0, 100, 200}, dst(6, 0);
    Scaler s;
    s.Scale(src.data(), 1, 3, 3, 1, dst.data(), 6, 6, 1, 0);
    EXPECT_EQ(dst, (std::vector<unsigned char>{0, 50, 100, 150, 200, 200}));
}

TEST(ImageScale, FlipTurnsRowsUpsideDown)
{
    std::vector<unsigned char> src = {10, 20, 30}, dst(3, 0);
    Scaler s;
    s.Scale(src.data(), 1, 1, 1, 3, dst.data(), 1, 1, 3, 1);
    EXPECT_EQ(dst, (std::vector<unsigned char>{30, 20, 10}));
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
