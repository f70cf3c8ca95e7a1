// Particle systems: creation limits, emission counting, spawning and the
// motion step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngParticles.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

int CountLogged(const std::string& text)
{
    int n = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        if (std::string(DebugGetMessage(i)->text).find(text) != std::string::npos)
            n++;
    return n;
}

int Alive(const _EngParticleSystem& s)
{
    int n = 0;
    for (int i = 0; i < s.max_particles; i++)
        if (s.particles[i].age > -1)
            n++;
    return n;
}

class ParticlesTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        EngParticlesResetSpreadWarningsForTests();
        srand(7);
        memset(&parms, 0, sizeof(parms));
        memset(&sys, 0, sizeof(sys));
        parms.mode = 2;
        parms.life_min = parms.life_max = 1;
        parms.spread_factor = 1;
        parms.alpha_start = 1;
        parms.size_start = parms.size_end = 1;
        parms.speed = 1;
    }
    void TearDown() override
    {
        EngParticleSystemRelease(&sys);
        LogTest::TearDown();
    }

    _EngParticleSystemParms parms;
    _EngParticleSystem sys;
};

TEST_F(ParticlesTest, CreateRefusals)
{
    const struct
    {
        int count;
        const char* message;
    } cases[] = {{0, "Bad num max particles [0]"},
                 {-5, "Bad num max particles [-5]"},
                 {ENG_PARTICLES_MAX + 1, "Bad num max particles [100001]"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(0, EngParticleSystemCreate(c.count, &parms, 0, &sys));
        EXPECT_TRUE(Logged(c.message)) << c.message;
        EXPECT_EQ(0, sys.created);
    }
    EXPECT_EQ(0, EngParticleSystemCreate(10, nullptr, 0, &sys));
    EXPECT_TRUE(Logged("No system or no parameters"));

    ASSERT_EQ(1, EngParticleSystemCreate(10, &parms, 0, &sys));
    _EngParticle* first = sys.particles;
    EXPECT_EQ(0, EngParticleSystemCreate(10, &parms, 0, &sys));
    EXPECT_TRUE(Logged("System already created"));
    EXPECT_EQ(first, sys.particles);
    // Recreating from the system's own copy of the settings.
    sys.parms.speed = 9;
    ASSERT_EQ(1, EngParticleSystemCreate(4, &sys.parms, 1, &sys));
    EXPECT_EQ(9, sys.parms.speed);
    EXPECT_EQ(4, sys.max_particles);
    EXPECT_EQ(0, Alive(sys));

    EngMainFailAllocationForTests(0);
    EXPECT_EQ(0, EngParticleSystemCreate(4, &parms, 1, &sys));
    EngMainFailAllocationForTests(-1);
    EXPECT_TRUE(Logged("No memory for particles"));
    EXPECT_EQ(0, sys.created);
    EXPECT_EQ(nullptr, sys.particles);
}

TEST_F(ParticlesTest, CreateDerivesTheRangeFlags)
{
    parms.direction = {1, 1, 0, 0, 0, 0, 0};
    parms.spin = {2, 1, 0, 0, 0, 0, 0}; // minimum above maximum: off
    parms.oscillate_type[2] = 1;
    parms.direction_on = 0;
    parms.turn_on = 1;
    parms.position = {3, 4, 5};
    ASSERT_EQ(1, EngParticleSystemCreate(3, &parms, 0, &sys));
    EXPECT_EQ(1, sys.parms.direction_on);
    EXPECT_EQ(0, sys.parms.spin_on);
    EXPECT_EQ(0, sys.parms.turn_on);
    EXPECT_EQ(1, sys.parms.oscillate_on);
    EXPECT_EQ(3, sys.previous_position.x);
    EXPECT_EQ(-1, sys.particles[2].age);
}

TEST_F(ParticlesTest, BadSystemsAreRefused)
{
    EXPECT_EQ(-1, EngParticleSystemTickUpdate(nullptr, 1, 0));
    EXPECT_EQ(-1, EngParticleSystemTickUpdate(&sys, 1, 0));
    _EngParticle p = {};
    EXPECT_EQ(0, EngParticlesCreate(&sys, 0.1f, &p));
    EXPECT_TRUE(Logged("Bad Parent"));
    EXPECT_EQ(0, EngParticlesCreate(&sys, 0.1f, nullptr));
    EXPECT_TRUE(Logged("No EngParticle"));
    EXPECT_EQ(0, EngParticlesUpdate(&sys, &p, 0.1f));
    EngParticlesInit(&sys);
    EXPECT_TRUE(Logged("System not ok"));

    // An array without the created flag is reported, never freed.
    _EngParticle stray[2];
    sys.particles = stray;
    EngParticleSystemRelease(&sys);
    EXPECT_TRUE(Logged("EngParticles exist, but not created"));
    EXPECT_EQ(nullptr, sys.particles);
}

TEST_F(ParticlesTest, SpawnRefusesBadSpreadAndTime)
{
    ASSERT_EQ(1, EngParticleSystemCreate(2, &parms, 0, &sys));
    _EngParticle& slot = sys.particles[0];
    EXPECT_EQ(0, EngParticlesCreate(&sys, 0, &slot));
    EXPECT_TRUE(Logged("time counter<= 0"));
    EXPECT_EQ(-1, slot.age);
    sys.parms.spread_factor = 0;
    EXPECT_EQ(0, EngParticlesCreate(&sys, 0.1f, &slot));
    EXPECT_TRUE(Logged("Parent spread factor <= 0"));
    EXPECT_EQ(-1, slot.age);
}

TEST_F(ParticlesTest, StartingTickAtTimeZeroSpawnsNothing)
{
    parms.start_count = 3;
    ASSERT_EQ(1, EngParticleSystemCreate(5, &parms, 0, &sys));
    EXPECT_EQ(1, EngParticleSystemTickUpdate(&sys, 0, 1));
    EXPECT_EQ(3, CountLogged("time counter<= 0"));
    EXPECT_EQ(0, Alive(sys));
}

TEST_F(ParticlesTest, StartingTickEmitsInEveryModeWithoutAdvancing)
{
    for (char mode : {0, 1, 2, 7})
    {
        SCOPED_TRACE(int(mode));
        parms.mode = mode;
        parms.start_count = 2;
        ASSERT_EQ(1, EngParticleSystemCreate(5, &parms, 1, &sys));
        EXPECT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f, 1));
        EXPECT_EQ(2, Alive(sys));
        EXPECT_EQ(0, sys.particles[0].age);
        EXPECT_EQ(0, sys.last_update_time);
        EXPECT_FLOAT_EQ(0.1f, sys.last_emission_time);
    }
}

TEST_F(ParticlesTest, EmissionCountsRemainderAndFreeSlots)
{
    parms.emission_rate = 25;
    parms.life_min = parms.life_max = 100;
    ASSERT_EQ(1, EngParticleSystemCreate(8, &parms, 0, &sys));
    sys.particles[0].age = 0; // keep the advancing ticks alive
    sys.particles[0].life = 1000;
    // 25 x 0.1 = 2.5: two born, half a particle owed.
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f, 0));
    EXPECT_EQ(3, Alive(sys));
    EXPECT_NEAR(0.5f, sys.emission_remainder, 1e-4);
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.2f, 0));
    EXPECT_EQ(6, Alive(sys));
    EXPECT_NEAR(0, sys.emission_remainder, 1e-4);
    // A total above the free slots fills them and keeps only the fraction.
    sys.emission_remainder = 0.25f;
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.6f, 0));
    EXPECT_EQ(8, Alive(sys));
    EXPECT_EQ(0, sys.emission_remainder);
}

TEST_F(ParticlesTest, MinimumIntervalSkipsEmissionsAfterTheFirst)
{
    parms.burst_count = 1;
    parms.min_emission_interval = 0.5f;
    parms.life_min = parms.life_max = 100;
    ASSERT_EQ(1, EngParticleSystemCreate(10, &parms, 0, &sys));
    parms.mode = 0;
    sys.parms.mode = 0;
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f, 0));
    EXPECT_EQ(1, Alive(sys));
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.3f, 0));
    EXPECT_EQ(1, Alive(sys));
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.7f, 0));
    EXPECT_EQ(2, Alive(sys));
    // Mode 0 never advances, so its dt runs from the last advancing tick.
    EXPECT_EQ(0, sys.last_update_time);
    EXPECT_EQ(0, sys.particles[0].age);
}

TEST_F(ParticlesTest, HeldEmissionBanksUpToTheSlotsAndReleasesLater)
{
    parms.mode = 0;
    parms.burst_count = 3;
    parms.emission_rate = 10;
    ASSERT_EQ(1, EngParticleSystemCreate(10, &parms, 0, &sys));
    sys.hold_emission = 1;
    sys.parms.position = {5, 0, 0};
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f, 0));
    EXPECT_NEAR(4, sys.emission_remainder, 1e-4);
    EXPECT_EQ(5, sys.previous_position.x);
    for (int i = 2; i < 6; i++)
        ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f * i, 0));
    EXPECT_EQ(10, sys.emission_remainder);
    EXPECT_EQ(0, Alive(sys));
    sys.hold_emission = 0;
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.7f, 0));
    EXPECT_EQ(10, Alive(sys));
}

TEST_F(ParticlesTest, ClockRunningBackwardsOwesNothing)
{
    parms.mode = 0;
    parms.emission_rate = 100;
    ASSERT_EQ(1, EngParticleSystemCreate(10, &parms, 0, &sys));
    sys.last_update_time = 5;
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 1, 0));
    EXPECT_EQ(0, sys.emission_remainder);
}

TEST_F(ParticlesTest, AdvancingTickWithNothingAliveReturnsZero)
{
    parms.burst_count = 5;
    parms.start_count = 5;
    ASSERT_EQ(1, EngParticleSystemCreate(10, &parms, 0, &sys));
    EXPECT_EQ(0, EngParticleSystemTickUpdate(&sys, 0.1f, 0));
    EXPECT_EQ(0, Alive(sys));
    sys.parms.mode = 1;
    EXPECT_EQ(0, EngParticleSystemTickUpdate(&sys, 0.2f, 0));
    EXPECT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.3f, 1));
    EXPECT_EQ(5, Alive(sys));
    // Each particle lives one second.
    EXPECT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.9f, 0));
    EXPECT_EQ(0, EngParticleSystemTickUpdate(&sys, 1.4f, 0));
}

TEST_F(ParticlesTest, SpawnValuesAndSpeeds)
{
    parms.life_min = parms.life_max = 2;
    parms.colour_start[0] = 0.5f;
    parms.colour_end[0] = 1.5f;
    parms.alpha_start = 0.8f;
    parms.alpha_end = 0.2f;
    parms.size_start = 0;
    parms.size_end = 4;
    parms.direction = {1, 1, 0, 0, 0, 0, 0};
    parms.speed = 3;
    parms.cone_angle = 0;
    parms.position = {10, 20, 30};
    ASSERT_EQ(1, EngParticleSystemCreate(2, &parms, 0, &sys));
    _EngParticle& p = sys.particles[0];
    ASSERT_EQ(1, EngParticlesCreate(&sys, 0.5f, &p));
    EXPECT_EQ(0, p.age);
    EXPECT_EQ(2, p.life);
    EXPECT_EQ(2, sys.parms.last_life);
    EXPECT_FLOAT_EQ(0.5f, p.colour.r);
    EXPECT_FLOAT_EQ(0.5f, p.colour_speed[0]);
    EXPECT_EQ(1, p.colour.a);
    EXPECT_FLOAT_EQ(-0.3f, p.alpha_speed);
    EXPECT_FLOAT_EQ(0.0001f, p.size);
    EXPECT_FLOAT_EQ(3, p.velocity.x);
    EXPECT_EQ(0, p.velocity.y);
    // The emitter has not moved, spread 0..0 adds nothing.
    EXPECT_FLOAT_EQ(10, p.position.x);
    EXPECT_FLOAT_EQ(30, p.position.z);

    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 0.5f));
    EXPECT_FLOAT_EQ(11.5f, p.position.x);
    EXPECT_FLOAT_EQ(10, p.previous_position.x);
    EXPECT_FLOAT_EQ(0.75f, p.colour.r);
    EXPECT_FLOAT_EQ(0.65f, p.alpha);
    EXPECT_FLOAT_EQ(0.65f, p.plain_colour.a);
    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 1.4f));
    EXPECT_EQ(0, EngParticlesUpdate(&sys, &p, 0.2f));
    EXPECT_EQ(-1, p.age);
}

TEST_F(ParticlesTest, FadeInRisesThenFollowsTheNormalFade)
{
    parms.fade_in = 1;
    parms.alpha_start = 0.5f;
    parms.alpha_end = 0;
    parms.life_min = parms.life_max = 2;
    ASSERT_EQ(1, EngParticleSystemCreate(1, &parms, 0, &sys));
    _EngParticle& p = sys.particles[0];
    ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &p));
    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 0.25f));
    EXPECT_EQ(1, p.fading_in);
    EXPECT_FLOAT_EQ(0.25f, p.colour.a);
    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 0.25f));
    EXPECT_EQ(0, p.fading_in);
    EXPECT_FLOAT_EQ(0.5f, p.alpha);
    // The rest of the fade spreads over the 1.5 s left.
    EXPECT_FLOAT_EQ(-0.5f / 1.5f, p.alpha_speed);
}

TEST_F(ParticlesTest, AttractionPullsAlongTheChosenAxesOnly)
{
    parms.attract_on = 1;
    parms.attract_x = 1;
    parms.attract_min = parms.attract_max = 2;
    parms.life_min = parms.life_max = 10;
    ASSERT_EQ(1, EngParticleSystemCreate(1, &parms, 0, &sys));
    _EngParticle& p = sys.particles[0];
    ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &p));
    p.position = {4, 4, 0};
    p.velocity = {0, 0, 0};
    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 0.5f));
    EXPECT_FLOAT_EQ(-1, p.velocity.x);
    EXPECT_EQ(0, p.velocity.y);
    // At the emitter the pull is a zero vector.
    p.position = {0, 4, 0};
    p.velocity = {0, 0, 0};
    ASSERT_EQ(1, EngParticlesUpdate(&sys, &p, 0.5f));
    EXPECT_EQ(0, p.velocity.x);
}

TEST_F(ParticlesTest, SpreadShapes)
{
    parms.spread_min = -2;
    parms.spread_max = 2;
    parms.spread_factor = 2;
    const struct
    {
        char type;
        float max_x, max_y, max_z;
    } cases[] = {{0, 1, 1, 1}, {1, 2, 2, 0}, {3, 1, 1, 0}, {4, 1, 0, 0},
                 {5, 0, 1, 0}, {6, 1, 0, 1}, {7, 0, 1, 1}, {9, 0, 0, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(int(c.type));
        parms.spread_type = c.type;
        ASSERT_EQ(1, EngParticleSystemCreate(1, &parms, 1, &sys));
        for (int i = 0; i < 200; i++)
        {
            _EngParticle& p = sys.particles[0];
            ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &p));
            ASSERT_LE(std::fabs(p.position.x), c.max_x + 1e-4f);
            ASSERT_LE(std::fabs(p.position.y), c.max_y + 1e-4f);
            ASSERT_LE(std::fabs(p.position.z), c.max_z + 1e-4f);
        }
    }
    // The circle puts every birth on its outline.
    parms.spread_type = 2;
    ASSERT_EQ(1, EngParticleSystemCreate(1, &parms, 1, &sys));
    ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &sys.particles[0]));
    const _Vector3d& at = sys.particles[0].position;
    EXPECT_NEAR(2, std::sqrt(at.x * at.x + at.y * at.y), 1e-4);
}

TEST_F(ParticlesTest, SpreadEntries)
{
    _IVector2d points[3] = {{10, 100}, {20, 300}, {15, 200}};
    _IVector2d* list = points;
    EngParticleSystemSetParmsSpreadEntries(&parms, 3, &list);
    EXPECT_EQ(3u, parms.spread_entry_count);
    EXPECT_EQ(10, parms.spread_entries_min_x);
    EXPECT_EQ(10, parms.spread_entries_width);
    EXPECT_EQ(100, parms.spread_entries_min_y);
    EXPECT_EQ(200, parms.spread_entries_height);
    parms.spread_type = 8;
    parms.spread_min = 0;
    parms.spread_max = 4;
    ASSERT_EQ(1, EngParticleSystemCreate(1, &parms, 0, &sys));
    for (int i = 0; i < 30; i++)
    {
        ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &sys.particles[0]));
        const _Vector3d& at = sys.particles[0].position;
        bool on_a_point = (at.x == 0 && at.y == 0) || (at.x == 4 && at.y == 4) || (at.x == 2 && at.y == 2);
        ASSERT_TRUE(on_a_point) << at.x << "," << at.y;
    }

    // Entries on one line give no offset and three reports at most.
    _IVector2d line[2] = {{1, 5}, {9, 5}};
    list = line;
    EngParticleSystemSetParmsSpreadEntries(&sys.parms, 2, &list);
    for (int i = 0; i < 5; i++)
    {
        ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &sys.particles[0]));
        EXPECT_EQ(0, sys.particles[0].position.x);
    }
    EXPECT_EQ(3, CountLogged("No spread entries"));

    EngParticleSystemSetParmsSpreadEntries(&sys.parms, 0, &list);
    EXPECT_EQ(0u, sys.parms.spread_entry_count);
    EXPECT_EQ(nullptr, sys.parms.spread_entries);
}

TEST_F(ParticlesTest, MovedEmitterSpreadsOnlyTheFirstNewborn)
{
    parms.mode = 0;
    parms.burst_count = 4;
    ASSERT_EQ(1, EngParticleSystemCreate(4, &parms, 0, &sys));
    sys.parms.position = {100, 0, 0};
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.5f, 0));
    EXPECT_GE(sys.particles[0].position.x, 0);
    EXPECT_LE(sys.particles[0].position.x, 100);
    for (int i = 1; i < 4; i++)
        EXPECT_EQ(100, sys.particles[i].position.x);
}

TEST_F(ParticlesTest, OscillationAnglesStayInRange)
{
    parms.oscillate_type[0] = 1;
    parms.oscillate_speed[0] = 1000;
    parms.oscillate_type[1] = 2;
    parms.oscillate_speed[1] = -3;
    parms.oscillate_amplitude[1] = 2;
    parms.mode = 0;
    ASSERT_EQ(1, EngParticleSystemCreate(2, &parms, 0, &sys));
    for (int i = 1; i < 20; i++)
    {
        ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.5f * i, 0));
        for (int a = 0; a < 2; a++)
        {
            ASSERT_GE(sys.parms.oscillate_angle[a], 0);
            ASSERT_LE(sys.parms.oscillate_angle[a], 6.2831855f);
        }
    }
    ASSERT_EQ(1, EngParticlesCreate(&sys, 0.1f, &sys.particles[0]));
    EXPECT_NEAR(2 * std::cos(sys.parms.oscillate_angle[1]), sys.particles[0].position.y, 1e-4);
}

} // namespace
