// Drawing the placement effect: the caller's transform and projection are
// the same after drawing, whichever options were used, and particles show.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../GL/GLFixture.h"
#include "EngMatrix.h"
#include "EngParticles.h"
#include "game/Effects.h"

namespace
{

class PlaceEffectsDraw : public vztest::GLDevice
{
protected:
    void TearDown() override
    {
        if (system.created)
            EngParticleSystemRelease(&system);
        vztest::GLDevice::TearDown();
    }
    _EngParticleSystemParms parms = {};
    _EngParticleSystem system = {};
};

TEST_F(PlaceEffectsDraw, LeavesTheCallersMatricesAsTheyWere)
{
    ASSERT_TRUE(PlaceEffectsSetupParameters(100, 1, nullptr, &parms));
    ASSERT_TRUE(PlaceEffectsCreate(1, 0, &parms, &system));
    EngMatrix before, before_proj;
    device->GetTransformMatrix(&before);
    device->GetProjectionMatrix(&before_proj);
    _Vector3d pos = {0.25f, -0.5f, 0};
    struct Case
    {
        char own, in_2d, use_pos, use_scale;
        _Vector3d* p;
    } cases[] = {{1, 1, 1, 1, nullptr}, {1, 0, 1, 0, &pos}, {0, 1, 0, 0, nullptr}, {1, 1, 0, 1, nullptr}};
    for (const Case& c : cases)
    {
        PlaceEffectsRender(&system, c.own, c.in_2d, c.use_pos, c.use_scale, c.p);
        EngMatrix after, after_proj;
        device->GetTransformMatrix(&after);
        device->GetProjectionMatrix(&after_proj);
        EXPECT_EQ(memcmp(before.m, after.m, sizeof(after.m)), 0) << int(c.own) << int(c.in_2d);
        EXPECT_EQ(memcmp(before_proj.m, after_proj.m, sizeof(after_proj.m)), 0) << int(c.own) << int(c.in_2d);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

// Where a particle lands: the centre of the lit pixels, in window pixels.
struct Spot
{
    int lit;
    float x, y;
};

Spot LitSpot(int w, int h)
{
    std::vector<unsigned char> px(size_t(w) * h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    Spot s = {0, 0, 0};
    for (int row = 0; row < h; row++)
        for (int x = 0; x < w; x++)
        {
            const unsigned char* p = &px[(size_t(row) * w + x) * 4];
            if (p[0] + p[1] + p[2] > 300)
            {
                s.lit++;
                s.x += x + 0.5f;
                s.y += (h - 1 - row) + 0.5f; // from the top
            }
        }
    if (s.lit)
        s.x /= s.lit, s.y /= s.lit;
    return s;
}

TEST_F(PlaceEffectsDraw, ParticlesLandOnTheScreenWithTheEffectsTransform)
{
    ASSERT_TRUE(PlaceEffectsSetupParameters(100, 1, nullptr, &parms));
    parms.blend_type = 4; // the preset's saturating blend needs a cleared destination alpha
    ASSERT_TRUE(PlaceEffectsCreate(1, 0, &parms, &system));
    // One opaque white particle at (0.2, 0.1) in the effect's own space.
    for (int i = 0; i < system.max_particles; i++)
        system.particles[i].age = -1;
    EngParticle& p = system.particles[0];
    p.age = 0.05f;
    p.position = {0.2f, 0.1f, 0};
    p.size = 0.04f;
    p.fading_in = 0;
    p.alpha = 1;
    p.colour = p.plain_colour = {1, 1, 1, 1};

    _Vector3d right_low = {0.25f, -0.5f, 0}, left_high = {-0.5f, 0.3f, 0};
    struct Case
    {
        const char* what;
        char use_scale;
        _Vector3d* pos;
        float x, y; // where the particle lands in the 2D space, -1 to 1 with y up
    } const cases[] = {
        {"at a given position", 0, &right_low, 0.45f, -0.4f},
        {"at another", 0, &left_high, -0.3f, 0.4f},
        // The effect's own position (-0.10274, 0) and scale (1.613684, 2.19).
        {"at its own position, scaled", 1, nullptr, -0.10274f + 0.2f * 1.613684f, 0.1f * 2.19f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ClearTo(0, 0, 0);
        PlaceEffectsRender(&system, 1, 1, 1, c.use_scale, c.pos);
        const Spot s = LitSpot(window_w, window_h);
        ASSERT_GT(s.lit, 20);
        EXPECT_NEAR(s.x, (c.x + 1) / 2 * window_w, 1.5f);
        EXPECT_NEAR(s.y, (1 - c.y) / 2 * window_h, 1.5f);
    }
}

} // namespace
