// Drawing the placement effect: the caller's transform and projection are
// the same after drawing, whichever options were used, and particles show.
#include <gtest/gtest.h>

#include <cstring>

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

TEST_F(PlaceEffectsDraw, ParticlesLandOnTheScreenWithTheEffectsTransform)
{
    ASSERT_TRUE(PlaceEffectsSetupParameters(100, 1, nullptr, &parms));
    parms.alpha_start = 1; // bright enough to see in one frame
    parms.size_start = 0.05f;
    parms.blend_type = 4; // the preset's saturating blend needs a cleared destination alpha
    ASSERT_TRUE(PlaceEffectsCreate(1, 0, &parms, &system));
    ClearTo(0, 0, 0);
    PlaceEffectsRender(&system, 1, 1, 1, 1, nullptr);
    int lit = 0;
    for (int y = 0; y < 480; y += 4)
        for (int x = 0; x < 640; x += 4)
        {
            vztest::Rgba p = Pixel(x, y);
            lit += p.r + p.g + p.b > 30;
        }
    EXPECT_GT(lit, 0);
}

} // namespace
