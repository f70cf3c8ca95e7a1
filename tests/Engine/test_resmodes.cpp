// Display-mode tables built from fake mode lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngResModes.h"
#include "support/TestSupport.h"

namespace
{

std::string Rates(const _EngResMode* m)
{
    std::string s;
    for (int i = 0; i < m->num_freqs; i++)
        s += (i ? "," : "") + std::to_string(m->freqs[i]);
    return s;
}

class ResModes : public vztest::LogTest
{
protected:
    EngResModes modes;
};

TEST_F(ResModes, ModesAreMergedSortedAndFiltered)
{
    const std::vector<_EngDisplayModeInfo> list = {
        {1280, 800, 16, 60}, {800, 600, 32, 75},  {800, 600, 32, 60},  {800, 600, 32, 85}, {640, 480, 8, 60},
        {640, 480, 15, 60},  {1024, 768, 32, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 0}, {800, 600, 16, 60},
    };
    const _EngDisplayModeInfo desktop = {1920, 1080, 32, 60};
    ASSERT_TRUE(modes.SetModesFromList(list.data(), int(list.size()), &desktop));
    ASSERT_EQ(modes.GetNumModes(), 4);
    const char* expected[] = {"800 x 600 x 16", "1280 x 800 x 16", "800 x 600 x 32", "1024 x 768 x 32"};
    for (int i = 0; i < 4; i++)
        EXPECT_STREQ(modes.GetFullScreenResModeEntryAsString(i), expected[i]);
    EXPECT_EQ(Rates(modes.GetMode(2)), "60,75,85");
    // The same rate twice and a rate of 0 are listed once and not at all.
    EXPECT_EQ(Rates(modes.GetMode(3)), "60");
    EXPECT_EQ(modes.GetWindowedMode()->width, 1920);
    EXPECT_EQ(modes.GetMode(4), nullptr);
}

TEST_F(ResModes, AtMostNineteenRatesPerMode)
{
    std::vector<_EngDisplayModeInfo> list;
    for (int r = 100; r > 80; r--)
        list.push_back({1024, 768, 32, r});
    ASSERT_TRUE(modes.SetModesFromList(list.data(), int(list.size()), nullptr));
    const _EngResMode* m = modes.GetMode(0);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->num_freqs, 19);
    // The first 19 reported, sorted: 100 down to 82.
    EXPECT_EQ(m->freqs[0], 82);
    EXPECT_EQ(m->freqs[18], 100);
}

TEST_F(ResModes, EmptyListFallsBackToTheDesktopMode)
{
    const _EngDisplayModeInfo desktop = {1280, 1024, 24, 0};
    ASSERT_TRUE(modes.SetModesFromList(nullptr, 0, &desktop));
    ASSERT_EQ(modes.GetNumModes(), 1);
    EXPECT_STREQ(modes.GetFullScreenResModeEntryAsString(0), "1280 x 1024 x 24");
    EXPECT_EQ(modes.GetMode(0)->num_freqs, 0);
    EXPECT_FALSE(modes.SetModesFromList(nullptr, 0, nullptr));
    EXPECT_FALSE(modes.IsSetup());
}

// What fit makes of a mode, as "WxHxBPP@RATE", or "failed".
std::string Fit(EngResModes& modes, char (EngResModes::*fit)(int*, int*, int*, int*), int w, int h, int bpp,
                int f)
{
    if (!(modes.*fit)(&w, &h, &bpp, &f))
        return "failed";
    return std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bpp) + "@" + std::to_string(f);
}

TEST_F(ResModes, DistanceRuleAndClosestMode)
{
    const std::vector<_EngDisplayModeInfo> list = {
        {1024, 768, 32, 60}, {1280, 800, 16, 60}, {1280, 800, 16, 75}};
    ASSERT_TRUE(modes.SetModesFromList(list.data(), int(list.size()), nullptr));
    // 1280 x 800 x 16 sorts first; distances 288 and 160.
    EXPECT_EQ(modes.GetFullscreenModeNumberFromSettings(1024, 768, 16), 1);
    EXPECT_EQ(Fit(modes, &EngResModes::GetClosestFullScreenModeToMode, 1200, 790, 16, 72), "1280x800x16@75");
    int h = 790, bpp = 16, f = 72;
    EXPECT_FALSE(modes.GetClosestFullScreenModeToMode(nullptr, &h, &bpp, &f));
}

TEST_F(ResModes, WindowedModeCheckAndAntiAliasingTexts)
{
    const std::vector<_EngDisplayModeInfo> list = {{1024, 768, 32, 60}};
    const _EngDisplayModeInfo desktop = {1600, 900, 32, 60};
    ASSERT_TRUE(modes.SetModesFromList(list.data(), int(list.size()), &desktop));
    EXPECT_EQ(Fit(modes, &EngResModes::EnsureWindowedModeOk, 2000, 800, 16, 75), "1600x800x32@60");
    EXPECT_STREQ(modes.GetAAEntryForWindowedModeAsString(2), "Medium [4x4]");
    EXPECT_STREQ(modes.GetAAEntryForWindowedModeAsString(4), "???");
    EXPECT_STREQ(modes.GetAAEntryForModeAsString(modes.GetWindowedMode(), 4), "");
    EXPECT_EQ(modes.GetNumAAEntriesForMode(modes.GetMode(0)), 4);
}

TEST_F(ResModes, ADesktopWithoutRatesIsNoError)
{
    const std::vector<_EngDisplayModeInfo> list = {{1024, 768, 32, 0}};
    const _EngDisplayModeInfo desktop = {1600, 900, 32, 0};
    ASSERT_TRUE(modes.SetModesFromList(list.data(), int(list.size()), &desktop));
    EXPECT_EQ(Fit(modes, &EngResModes::EnsureWindowedModeOk, 1024, 768, 32, 60), "1024x768x32@0");
    EXPECT_EQ(vztest::LogCount("Warning - No frequencies present."), 1);
    EXPECT_EQ(vztest::ReadFile(LogPath()).find(" <ERROR> "), std::string::npos) << vztest::ReadFile(LogPath());
}

} // namespace
