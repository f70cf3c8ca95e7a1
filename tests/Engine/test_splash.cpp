// Splash set-up checks, start refusals without a device, and the effect's
// parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngParticles.h"
#include "Splash.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

class SplashSetupTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "fx.bmp", "s.wav"})
            vztest::WriteFile(dir.File(name), "x");
    }

    std::string F(const char* name) { return dir.File(name); }

    vztest::TempDir dir;
};

TEST_F(SplashSetupTest, PictureNamesAreCheckedLengthsFirst)
{
    std::string longname = dir.Path() + "/" + std::string(130, 'n');
    std::string missing = F("none.jpg");
    std::string one = F("1.jpg"), two = F("2.jpg");
    const struct
    {
        const char* t1;
        const char* t2;
        const char* t3;
        const char* t4;
        std::string message;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, "Parameter error"},
        {one.c_str(), missing.c_str(), longname.c_str(), nullptr,
         "Tex 3 filename too long (" + longname + ")"},
        {one.c_str(), two.c_str(), nullptr, missing.c_str(), "Tex 4 does not exist (" + missing + ")"},
        {missing.c_str(), nullptr, nullptr, nullptr, "Tex 1 does not exist (" + missing + ")"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.message);
        DebugClearLog();
        EXPECT_EQ(0, SplashSetup(c.t1, c.t2, c.t3, c.t4, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr,
                                 nullptr, nullptr, nullptr, 0));
        EXPECT_TRUE(Logged("( Spash Setup )    " + c.message));
        EXPECT_EQ(1, DebugGetNumMessages());
    }
    EXPECT_EQ(0, splash_setup_ok);
}

TEST_F(SplashSetupTest, OptionalFilesAndTheFont)
{
    std::string one = F("1.jpg");
    std::string longname = std::string(128, 'l');
    EXPECT_EQ(0, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, nullptr, longname.c_str(), nullptr,
                             nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_TRUE(Logged("Logo filename too long"));
    EXPECT_EQ(0, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, F("no.bmp").c_str(), nullptr, nullptr,
                             nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_TRUE(Logged("Effect Tex does not exist (" + F("no.bmp") + ")"));
    EXPECT_EQ(0, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, F("no.wav").c_str(),
                             nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_TRUE(Logged("Sound file does not exist (" + F("no.wav") + ")"));
    EXPECT_EQ(0, splash_setup_ok);

    EngFont font;
    ASSERT_EQ(1, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, F("fx.bmp").c_str(), "logo.tga",
                             F("s.wav").c_str(), &font, 2, -1, nullptr, nullptr, nullptr, nullptr, 1));
    EXPECT_EQ(1, splash_setup_ok);
    EXPECT_EQ(1, splash_show_effects);
    EXPECT_EQ(1, splash_play_sound);
    EXPECT_EQ(1, splash_draw_texts);
    EXPECT_EQ(2.0f, splash_font_sx);
    EXPECT_EQ(1.2f, splash_font_sy);
    // A refused sound leaves the font as it was, in both kinds of set-up.
    EXPECT_EQ(0, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, F("no.wav").c_str(),
                             nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(1, splash_draw_texts);
    DebugClearLog();
    EXPECT_EQ(0, SplashSetupPicture(dir.Path().c_str(), "pic", F("no.wav").c_str(), nullptr, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged("Sound file does not exist (" + F("no.wav") + ")"));
    EXPECT_EQ(1, splash_draw_texts);
    ASSERT_EQ(1, SplashSetup(one.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                             nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(0, splash_show_effects);
    EXPECT_EQ(0, splash_play_sound);
    EXPECT_EQ(0, splash_draw_texts);
}

TEST_F(SplashSetupTest, StartNeedsADeviceAndNothingRunsBeforeIt)
{
    ASSERT_EQ(1, SplashSetup(F("1.jpg").c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(0, SplashStart());
    EXPECT_TRUE(Logged("No device"));
    EXPECT_FALSE(SplashIsOn());
    EXPECT_EQ(0, SplashTick());
    EXPECT_EQ(0, SplashRender(1));
}

TEST_F(SplashSetupTest, EffectParametersAndSlotCounts)
{
    _EngParticleSystemParms parms;
    _EngParticleSystem sys;
    memset(&sys, 0, sizeof(sys));
    EXPECT_EQ(0, SplashEffectsSetupParameters(100, 1, nullptr, nullptr));
    EXPECT_TRUE(Logged("No parameters"));

    const struct
    {
        int percentage;
        int start_count;
        int slots;
    } cases[] = {{100, 1, 66}, {250, 2, 165}, {0, 1, 66}, {1, 1, 1}, {-50, 1, 66}, {2000000000, 100, 6600}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.percentage);
        memset(&parms, 0xAB, sizeof(parms));
        ASSERT_EQ(1, SplashEffectsSetupParameters(c.percentage, 0, nullptr, &parms));
        EXPECT_EQ(c.start_count, parms.start_count);
        EXPECT_EQ(c.start_count, parms.burst_count);
        EXPECT_EQ(nullptr, parms.texture);
        EXPECT_FLOAT_EQ(1.51335f, parms.life_max);
        EXPECT_EQ(0, parms.direction_on);
        ASSERT_EQ(1, SplashEffectsCreate(1, 1, &parms, &sys));
        EXPECT_EQ(c.slots, sys.max_particles);
        EXPECT_EQ(0, sys.parms.spin_on);
        EXPECT_FLOAT_EQ(0.1f, SplashEffect_tick_time);
    }
    EXPECT_EQ(0, SplashEffectsCreate(1, 0, &parms, &sys));
    EXPECT_TRUE(Logged("System already created"));
    EXPECT_EQ(1, SplashEffectsTick(&parms, &sys, 0));
    EngParticleSystemRelease(&sys);
    EXPECT_EQ(0, SplashEffectsTick(&parms, &sys, 0));
    EXPECT_TRUE(Logged("No system"));
    EXPECT_EQ(0, SplashEffectsCreate(1, 1, nullptr, &sys));
    EXPECT_TRUE(Logged("No system pointer or no parameters"));
}

} // namespace
