// The placement effect: the preset's counts and life, and the create,
// restart and tick life cycle of its particle system.
#include <gtest/gtest.h>

#include "EngParticles.h"
#include "EngProgram.h"
#include "game/Effects.h"
#include "support/TestSupport.h"

namespace
{

class PlaceEffects : public vztest::LogTest
{
protected:
    void TearDown() override
    {
        if (system.created)
            EngParticleSystemRelease(&system);
        vztest::LogTest::TearDown();
    }
    _EngParticleSystemParms parms = {};
    _EngParticleSystem system = {};
};

TEST_F(PlaceEffects, CountsAndLifeFollowPercentageAndScale)
{
    struct Case
    {
        int percentage;
        float life_scale;
        int start, burst;
        float life;
    } cases[] = {
        {100, 1, 81, 2, 0.686406f},   {1, 2, 1, 1, 1.372812f},     {0, 0, 81, 2, 0.686406f},
        {50, 0.5f, 40, 1, 0.343203f}, {250, 1, 202, 5, 0.686406f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.percentage);
        ASSERT_EQ(PlaceEffectsSetupParameters(c.percentage, c.life_scale, nullptr, &parms), 1);
        EXPECT_EQ(parms.start_count, c.start);
        EXPECT_EQ(parms.burst_count, c.burst);
        EXPECT_FLOAT_EQ(parms.life_min, c.life);
        EXPECT_FLOAT_EQ(parms.life_max, c.life);
        EXPECT_EQ(PlaceEffect_perc_num_particles, c.percentage);
        EXPECT_EQ(PlaceEffectsGetStartCount(), c.start);
    }
    EXPECT_EQ(parms.mode, 2);
    EXPECT_EQ(parms.texture, nullptr);
    EXPECT_FLOAT_EQ(parms.direction.min_x, -0.004042f);
    EXPECT_FLOAT_EQ(parms.direction.max_y, 0.000984f);
    EXPECT_FLOAT_EQ(parms.colour_end[1], 0.404762f);
}

TEST_F(PlaceEffects, PresetLeavesOtherFieldsAlone)
{
    parms.last_life = 7;
    parms.spread_entry_count = 3;
    ASSERT_EQ(PlaceEffectsSetupParameters(100, 1, nullptr, &parms), 1);
    EXPECT_EQ(parms.last_life, 7);
    EXPECT_EQ(parms.spread_entry_count, 3u);
}

TEST_F(PlaceEffects, MissingArgumentsAreRefused)
{
    EXPECT_EQ(PlaceEffectsSetupParameters(100, 1, nullptr, nullptr), 0);
    EXPECT_TRUE(vztest::Logged("No parameters"));
    EXPECT_EQ(PlaceEffectsCreate(1, 0, &parms, nullptr), 0);
    EXPECT_EQ(PlaceEffectsCreate(1, 0, nullptr, &system), 0);
    EXPECT_EQ(vztest::LogCount("No system pointer or no parameters"), 2);
    PlaceEffectsTick(&parms, &system, 0);
    EXPECT_TRUE(vztest::Logged("No system"));
    PlaceEffectsRender(nullptr, 1, 1, 1, 1, nullptr);
    EXPECT_EQ(vztest::LogCount("No system"), 4); // with the two "No system pointer" lines
}

TEST_F(PlaceEffects, SecondCreateNeedsRecreateAndRestartReplaces)
{
    ASSERT_EQ(PlaceEffectsSetupParameters(100, 1, nullptr, &parms), 1);
    ASSERT_EQ(PlaceEffectsCreate(1, 0, &parms, &system), 1);
    EXPECT_TRUE(system.created);
    EXPECT_EQ(system.max_particles, 81);
    EXPECT_FLOAT_EQ(PlaceEffect_tick_time, 0.1f);
    int alive = 0;
    for (int i = 0; i < system.max_particles; i++)
        alive += system.particles[i].age > -1;
    EXPECT_EQ(alive, 81); // the starting tick fills every slot

    EXPECT_EQ(PlaceEffectsCreate(1, 0, &parms, &system), 0);
    EXPECT_TRUE(vztest::Logged("System already created"));
    EXPECT_TRUE(system.created);

    // A restart after the clock ran on starts the effect's clock again.
    PlaceEffect_tick_time = 5;
    ASSERT_EQ(PlaceEffectsSetupParameters(1, 1, nullptr, &parms), 1);
    ASSERT_EQ(PlaceEffectsRestart(&parms, &system), 1);
    EXPECT_EQ(system.max_particles, 1);
    EXPECT_FLOAT_EQ(PlaceEffect_tick_time, 0.1f);
}

TEST_F(PlaceEffects, TickAdvancesByFramePeriodAndReleasesFinishedSystem)
{
    ASSERT_EQ(PlaceEffectsSetupParameters(100, 1, nullptr, &parms), 1);
    ASSERT_EQ(PlaceEffectsCreate(1, 0, &parms, &system), 1);
    PlaceEffectsTick(&parms, &system, 0);
    EXPECT_NEAR(PlaceEffect_tick_time, 0.1f + eng_main_frames_per_second, 1e-6);
    // Particles live 0.69 s and nothing is emitted after the start: within
    // a few seconds of frames the system finishes and is released.
    for (int i = 0; i < 600 && system.created; i++)
        PlaceEffectsTick(&parms, &system, 0);
    EXPECT_FALSE(system.created);
    EXPECT_EQ(system.particles, nullptr);
}

} // namespace
