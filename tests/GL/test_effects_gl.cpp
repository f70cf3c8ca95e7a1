// Layered pictures, particle systems and the splash sequence drawn on a
// hidden window.
#include "GL/GLFixture.h"

#include <stb/stb_image_write.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngDim.h"
#include "EngParticles.h"
#include "EngPicture.h"
#include "EngTexture.h"
#include "Splash.h"
#include "support/TestSupport.h"

using vztest::GLDevice;
using vztest::Logged;

namespace
{

class Effects : public GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        eng_main_frames_per_second = 1.0f / 60.0f;
    }

    std::string SolidImage(const char* name, unsigned char r, unsigned char g, unsigned char b,
                           bool jpeg = false)
    {
        std::vector<unsigned char> px;
        for (int i = 0; i < 16 * 16; i++)
            px.insert(px.end(), {r, g, b});
        std::string file = dir.File(name);
        if (jpeg)
            EXPECT_NE(stbi_write_jpg(file.c_str(), 16, 16, 3, px.data(), 95), 0);
        else
            EXPECT_NE(stbi_write_png(file.c_str(), 16, 16, 3, px.data(), 16 * 3), 0);
        return file;
    }

    // A picture with one red layer over the given draw area.
    void RedPicture(EngPicture* pic)
    {
        SolidImage("red.png", 255, 0, 0);
        ASSERT_EQ(1, pic->SetPath(dir.Path().c_str()));
        ASSERT_EQ(1, pic->AddTexture(nullptr, "red.png"));
        ASSERT_EQ(1, pic->AddLayer("red"));
        pic->GetLayer(0)->tex_num = 0;
    }

    static void Draw2D(EngPicture* pic, float alpha)
    {
        eng_main_device->PrepareFor2D(1);
        pic->DrawWithAlpha(alpha);
        eng_main_device->RestoreAfter2D();
    }

    vztest::TempDir dir;
};

TEST_F(Effects, PictureLayerFillsItsAreaOfTheDrawArea)
{
    EngPicture pic;
    RedPicture(&pic);
    ASSERT_EQ(1, pic.CreateGraphics());
    pic.SetDrawArea(0, 0, 320, 240);
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(10, 10, 255, 0, 0, 4);
    ExpectPixel(310, 230, 255, 0, 0, 4);
    ExpectPixel(330, 10, 0, 0, 0);
    ExpectPixel(10, 250, 0, 0, 0);
    // The full-window viewport is back.
    EXPECT_TRUE(eng_main_device->IsViewportFullScreen());

    // A layer area inside the draw area, drawn through a smaller viewport.
    pic.SetDrawArea(0, 0, 640, 480);
    pic.GetLayer(0)->main_area = {0.5f, 0.5f, 0.5f, 0.5f};
    eng_main_device->SetViewportToSize(0, 0, 320, 240);
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    eng_main_device->SetViewportFullScreen();
    ExpectPixel(240, 180, 255, 0, 0, 4);
    ExpectPixel(100, 100, 0, 0, 0);
    ExpectPixel(400, 300, 0, 0, 0);
}

TEST_F(Effects, PictureAlphaBlendingAndItsTable)
{
    EngPicture pic;
    RedPicture(&pic);
    ASSERT_EQ(1, pic.CreateGraphics());
    EngPictureLayer* l = pic.GetLayer(0);
    l->alpha_level = 0.8f;
    l->alpha_blend_type = 1;
    ClearTo(0, 0, 0);
    Draw2D(&pic, 0.5f);
    ExpectPixel(320, 240, 102, 0, 0, 4);
    EXPECT_FALSE(eng_main_device->IsBlendingEnabled());

    // An unknown pair is reported, the layer still drawn, blending left off.
    l->alpha_blend_type = 20;
    l->alpha_level = 1;
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    EXPECT_TRUE(Logged("Invalid blend num"));
    ExpectPixel(320, 240, 255, 0, 0, 4);
    EXPECT_FALSE(eng_main_device->IsBlendingEnabled());

    const struct
    {
        int type;
        int src, dst;
    } cases[] = {{1, EDEV_BLEND_SRC_ALPHA, EDEV_BLEND_INV_SRC_ALPHA},
                 {10, EDEV_BLEND_SRC_ALPHA, EDEV_BLEND_SRC_ALPHA_SATURATE},
                 {11, EDEV_BLEND_INV_DEST_ALPHA, EDEV_BLEND_INV_SRC_ALPHA},
                 {19, EDEV_BLEND_INV_DEST_ALPHA, EDEV_BLEND_INV_DEST_ALPHA},
                 {21, EDEV_BLEND_INV_DEST_ALPHA, EDEV_BLEND_ZERO},
                 {100, EDEV_BLEND_INV_DEST_ALPHA, EDEV_BLEND_ZERO}};
    for (const auto& c : cases)
    {
        int src = -1, dst = -1;
        ASSERT_EQ(1, EngPictureGetBlendFactors(c.type, &src, &dst)) << c.type;
        EXPECT_EQ(c.src, src) << c.type;
        EXPECT_EQ(c.dst, dst) << c.type;
    }
    int src, dst;
    EXPECT_EQ(0, EngPictureGetBlendFactors(0, &src, &dst));
    EXPECT_EQ(0, EngPictureGetBlendFactors(20, &src, &dst));
}

TEST_F(Effects, SkippedLayersAndTexturesOnlyHiddenLayersUse)
{
    EngPicture pic;
    RedPicture(&pic);
    SolidImage("green.png", 0, 255, 0);
    ASSERT_EQ(1, pic.AddTexture(nullptr, "green.png"));
    ASSERT_EQ(1, pic.AddLayer("green"));
    pic.GetLayer(1)->tex_num = 1;
    pic.GetLayer(1)->show = 0;
    ASSERT_EQ(1, pic.CreateGraphics());
    EXPECT_NE(nullptr, pic.GetTexture(0)->texture);
    EXPECT_EQ(nullptr, pic.GetTexture(1)->texture);
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 255, 0, 0, 4);

    // Showing it needs the graphics again.
    pic.GetLayer(1)->show = 1;
    pic.GetLayer(0)->tex_num = -1;
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 0, 0, 0);
    ASSERT_EQ(1, pic.CreateGraphics());
    EXPECT_TRUE(Logged("Graphics already created (continuing...)"));
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 0, 255, 0, 4);

    // A texture whose file went away has no texture object and is skipped.
    pic.DestroyGraphics();
    ASSERT_EQ(0, remove(dir.File("green.png").c_str()));
    EXPECT_EQ(0, pic.CreateGraphics());
    EXPECT_TRUE(Logged("File does not exist: <" + dir.File("green.png") + ">"));
    EXPECT_EQ(nullptr, pic.GetTexture(1)->texture);
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 0, 0, 0);

    // A zero-sized area draws nothing.
    pic.GetLayer(0)->tex_num = 0;
    pic.GetLayer(1)->show = 0;
    pic.GetLayer(0)->main_area = {0, 0, 0, 1};
    ASSERT_EQ(1, pic.CreateGraphics());
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 0, 0, 0);
}

char RedirectToRed(const char*, const char*, char* out, int size)
{
    snprintf(out, size_t(size), "%s", static_cast<const char*>(getenv("VZ_EFFECTS_RED")));
    return 1;
}

char NoAnswer(const char*, const char*, char*, int)
{
    return 0;
}

TEST_F(Effects, TextureFileHook)
{
    EngPicture pic;
    RedPicture(&pic);
    std::string blue = SolidImage("blue.png", 0, 0, 255);
    strcpy(pic.GetTexture(0)->filename, "blue.png");
    vztest::ScopedEnv env("VZ_EFFECTS_RED", dir.File("red.png").c_str());
    EngPicture_SetTextureFileOverwriteCB(RedirectToRed);
    ASSERT_EQ(1, pic.CreateGraphics());
    ClearTo(0, 0, 0);
    Draw2D(&pic, 1);
    ExpectPixel(320, 240, 255, 0, 0, 4);

    pic.DestroyGraphics();
    EngPicture_SetTextureFileOverwriteCB(NoAnswer);
    EXPECT_EQ(0, pic.CreateGraphics());
    EXPECT_TRUE(Logged("No file returned for <blue.png>"));
    EngPicture_SetTextureFileOverwriteCB(nullptr);
}

TEST_F(Effects, ParticlesDrawAndPutTheDeviceStateBack)
{
    _EngParticleSystemParms parms;
    memset(&parms, 0, sizeof(parms));
    parms.mode = 2;
    parms.start_count = 1;
    parms.life_min = parms.life_max = 5;
    parms.spread_factor = 1;
    parms.colour_start[1] = 1;
    parms.colour_end[1] = 1;
    parms.use_colour = 1;
    parms.alpha_start = parms.alpha_end = 1;
    parms.size_start = parms.size_end = 0.5f;
    parms.blend_type = 4;
    parms.depth_on = 0;
    _EngParticleSystem sys;
    memset(&sys, 0, sizeof(sys));
    ASSERT_EQ(1, EngParticleSystemCreate(3, &parms, 0, &sys));
    ASSERT_EQ(1, EngParticleSystemTickUpdate(&sys, 0.1f, 1));

    eng_main_device->UseDepthBuffer(1);
    eng_main_device->TurnOnDepthBuffer();
    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    eng_main_device->SetTransformMatrixIdentity();
    EngParticleSystemRender(&sys);
    eng_main_device->RestoreAfter2D();
    // A green quad a quarter of the viewport wide at the centre.
    ExpectPixel(320, 240, 0, 255, 0, 4);
    ExpectPixel(320 + 70, 240, 0, 255, 0, 4);
    ExpectPixel(320 + 90, 240, 0, 0, 0);
    EXPECT_FALSE(eng_main_device->IsBlendingEnabled());
    EXPECT_TRUE(eng_main_device->IsDepthBufferOn());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Blend type 1 (destination colour, one) sends the colour premultiplied
    // by alpha, even with the particle's own colour off.
    sys.parms.blend_type = 1;
    sys.parms.use_colour = 0;
    sys.particles[0].colour = {1, 0, 0, 0.5f};
    sys.particles[0].alpha = 0.5f;
    ClearTo(0.5f, 0.5f, 0.5f);
    eng_main_device->PrepareFor2D(1);
    EngParticleSystemRender(&sys);
    eng_main_device->RestoreAfter2D();
    ExpectPixel(320, 240, 191, 128, 128, 4);

    // An unknown blend type leaves blending to the device's refusal.
    sys.parms.blend_type = 9;
    EngParticleSystemRender(&sys);
    EXPECT_TRUE(Logged("Invalid Type 99"));
    EngParticleSystemRelease(&sys);
}

// Splash ----------------------------------------------------------------

double fake_now = 0;
double FakeClock()
{
    return fake_now;
}

int done_calls = 0;
void Done(void*)
{
    done_calls++;
}

char HoldUntilHalfSecond(double held, void*)
{
    return held >= 0.5 ? 1 : 0;
}

class SplashRun : public Effects
{
protected:
    void SetUp() override
    {
        Effects::SetUp();
        fake_now = 100;
        done_calls = 0;
        SplashSetClockForTests(FakeClock);
    }
    void TearDown() override
    {
        SplashExit();
        SplashSetClockForTests(nullptr);
        Effects::TearDown();
    }
    // Ticks at 60 Hz until the splash ends; the seconds it took.
    double RunToEnd(double limit = 20)
    {
        double start = fake_now;
        while (SplashIsOn() && fake_now - start < limit)
        {
            fake_now += 1.0 / 60;
            SplashTick();
        }
        return fake_now - start;
    }
};

TEST_F(SplashRun, StagesLastTheirTimesAndEndWithTheCallback)
{
    std::string pic = SolidImage("pic.jpg", 0, 0, 255, true);
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                             nullptr, nullptr, Done, nullptr, 0));
    ASSERT_EQ(1, SplashStart());
    EXPECT_EQ(0, SplashStart());
    EXPECT_TRUE(Logged("Splash is already on"));
    SplashTick(); // takes the start time
    fake_now += 0.7;
    SplashTick();
    EXPECT_EQ(0, splash_fade_level);
    fake_now += 0.9; // 1.6 s in: half way
    SplashTick();
    EXPECT_NEAR(0.5, splash_fade_level, 0.01);
    EXPECT_EQ(1, splash_text_stage);
    double rest = RunToEnd();
    // 2.4 s of fade in, 2 s of hold, 1.5 s of fade out, give or take a frame each.
    EXPECT_NEAR(2.4 + 2 + 1.5 - 1.6, rest, 0.1);
    EXPECT_EQ(1, done_calls);
    EXPECT_FALSE(SplashIsOn());
    EXPECT_EQ(-1, splash_set_start_time);

    // The set-up stays: the splash starts again, and ShowNow jumps to the hold.
    ASSERT_EQ(1, SplashStart());
    SplashTick();
    SplashShowNow();
    EXPECT_EQ(2, splash_fading);
    EXPECT_NEAR(2 + 1.5, RunToEnd(), 0.1);
}

TEST_F(SplashRun, WaitCallbackEndsTheHoldButKeepsTheFades)
{
    std::string pic = SolidImage("pic.jpg", 0, 0, 255, true);
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                             nullptr, HoldUntilHalfSecond, Done, nullptr, 0));
    ASSERT_EQ(1, SplashStart());
    EXPECT_NEAR(2.4 + 0.5 + 1.5, RunToEnd(), 0.1);
    EXPECT_EQ(1, done_calls);
}

TEST_F(SplashRun, PicturesFillTheSquareAreaAndFadeFromBlack)
{
    std::string one = SolidImage("1.jpg", 255, 0, 0, true);
    std::string two = SolidImage("2.jpg", 0, 255, 0, true);
    ASSERT_EQ(1, SplashSetup(one.c_str(), two.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    ASSERT_EQ(1, SplashStart());
    SplashTick();
    // Black while fading in from 0.
    ASSERT_EQ(1, SplashRender(1));
    ExpectPixel(250, 150, 0, 0, 0, 4);
    SplashShowNow();
    ASSERT_EQ(1, SplashRender(2));
    // The default area (200, 115, 240, 250) made square: (195, 115, 250, 250);
    // picture 1 in its top-left quarter, picture 2 in the top-right one.
    ExpectPixel(250, 150, 255, 0, 0, 8);
    ExpectPixel(400, 150, 0, 255, 0, 8);
    ExpectPixel(190, 150, 0, 0, 0, 4);
    ExpectPixel(250, 300, 0, 0, 0, 4);
    SplashExit();
    EXPECT_FALSE(SplashIsOn());
    EXPECT_FALSE(splash_textures[0].IsOk());
}

TEST_F(SplashRun, LayeredPictureWithEffectAndLogo)
{
    SolidImage("red.png", 255, 0, 0);
    std::string layer =
        "{\"Name\": \"a\", \"TexNum\": 0, \"Show\": 1, \"Alpha Level\": 1, \"Alpha Throb On\": 0, "
        "\"Alpha Throb Min Level\": 0, \"Alpha Throb Speed\": 0, \"Alpha Throb Mult\": 0, "
        "\"TC Default\": 1, \"TC Tile\": [1, 1]}";
    vztest::WriteFile(dir.File("p.ttx"), "{\"Textures\": [{\"Path\": \"\", \"Filename\": \"red.png\"}], "
                                         "\"Layers\": [" +
                                             layer + "]}");
    ASSERT_EQ(1, SplashSetupPicture(dir.Path().c_str(), "p.ttx", nullptr, nullptr, 0, 0, nullptr, nullptr,
                                    Done, nullptr));
    EXPECT_EQ(2, splash_setup_ok);
    ASSERT_EQ(1, SplashStart());
    SplashTick();
    SplashShowNow();
    ClearTo(0, 0, 0);
    ASSERT_EQ(1, SplashRender(0));
    ExpectPixel(320, 240, 255, 0, 0, 8);
    ExpectPixel(100, 240, 0, 0, 0, 4);
    EXPECT_NEAR(2 + 1.5, RunToEnd(), 0.1);
    EXPECT_EQ(1, done_calls);
    EXPECT_EQ(0, splash_epic.GetNumLayers());

    // A failed layered set-up leaves nothing to start.
    EXPECT_EQ(0, SplashSetupPicture(dir.Path().c_str(), "missing.ttx", nullptr, nullptr, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr));
    EXPECT_EQ(0, SplashStart());
    EXPECT_TRUE(Logged("Splash not setup"));
}

TEST_F(SplashRun, EffectLoopsWhileTheSplashRuns)
{
    std::string pic = SolidImage("pic.jpg", 0, 0, 255, true);
    std::vector<unsigned char> px(8 * 8 * 3, 255);
    std::string spark = dir.File("spark.bmp");
    ASSERT_NE(0, stbi_write_bmp(spark.c_str(), 8, 8, 3, px.data()));
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, spark.c_str(), nullptr, nullptr, nullptr,
                             0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    ASSERT_EQ(1, SplashStart());
    ASSERT_TRUE(splash_effect_ps.created);
    EXPECT_EQ(66, splash_effect_ps.max_particles);
    EXPECT_EQ(&splash_effect_tex, splash_effect_ps.parms.texture);
    // Five seconds: the effect (1.5 s lives) burns out and starts again.
    for (int i = 0; i < 300; i++)
    {
        fake_now += 1.0 / 60;
        ASSERT_EQ(1, SplashTick());
        ASSERT_EQ(1, SplashRender(1));
    }
    EXPECT_TRUE(splash_effect_ps.created);
    EXPECT_GT(splash_effect_ps.live_count, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SplashExit();
    EXPECT_FALSE(splash_effect_ps.created);
}

TEST_F(SplashRun, LogoZoomsInWithoutATextLine)
{
    std::string pic = SolidImage("pic.jpg", 0, 0, 255, true);
    std::vector<unsigned char> px;
    for (int i = 0; i < 16 * 16; i++)
        px.insert(px.end(), {0, 255, 0, 255});
    std::string logo = dir.File("logo.tga");
    ASSERT_NE(0, stbi_write_tga(logo.c_str(), 16, 16, 4, px.data()));
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, nullptr, logo.c_str(), nullptr, nullptr,
                             0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    ASSERT_EQ(1, SplashStart());
    SplashTick();
    for (int i = 0; i < 150; i++) // 2.5 s: into the hold
    {
        fake_now += 1.0 / 60;
        SplashTick();
    }
    EXPECT_EQ(2, splash_fading);
    EXPECT_EQ(2, splash_text_stage);
    EXPECT_FLOAT_EQ(0.9f, splash_text_size);
    EXPECT_EQ(1, splash_text_blend);
    EXPECT_EQ(0, splash_draw_texts);

    // The device is re-created meanwhile.
    SplashDestroyGraphics();
    EXPECT_FALSE(splash_text_texture.IsOk());
    ASSERT_EQ(1, SplashCreateGraphics());

    ASSERT_EQ(1, SplashRender(1));
    // The logo, 0.9 of (125 x 46.9) around (320, 241.6), over the picture.
    ExpectPixel(320, 241, 0, 255, 0, 8);
    ExpectPixel(320 - 50, 241, 0, 255, 0, 8);
    ExpectPixel(320 - 62, 241, 0, 0, 255, 8);
    ExpectPixel(320, 200, 0, 0, 255, 8);
}

TEST_F(SplashRun, StartRefusals)
{
    std::string pic = SolidImage("pic.jpg", 0, 0, 255, true);
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                             nullptr, nullptr, nullptr, nullptr, 0));
    EngDevice* saved = eng_main_device;
    eng_main_device = nullptr;
    EXPECT_EQ(0, SplashStart());
    EXPECT_TRUE(Logged("No device"));
    eng_main_device = saved;

    // A picture that cannot be read stops the start.
    vztest::WriteFile(pic, "not an image");
    ASSERT_EQ(1, SplashSetup(pic.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                             nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(0, SplashStart());
    EXPECT_TRUE(Logged("Could not load textures"));
    EXPECT_FALSE(SplashIsOn());
    EXPECT_EQ(0, SplashTick());
    EXPECT_EQ(0, SplashRender(1));
}

} // namespace
