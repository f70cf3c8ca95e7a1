// The GL device on a hidden window: start, viewports, crop, 2D mode, blending,
// dimming, transforms and the error counter.
#include "GL/GLFixture.h"

#include "EngDim.h"
#include "EngFont.h"
#include "EngLights.h"
#include "EngTexture.h"

#include <algorithm>
#include <string>
#include <vector>

using vztest::GLDevice;
using vztest::Logged;

namespace
{

void Viewport(int out[4])
{
    glGetIntegerv(GL_VIEWPORT, out);
}

TEST_F(GLDevice, StartsWithoutPendingErrorAndLogsVersion)
{
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(eng_gl_3d_setup, 1);
    EXPECT_TRUE(Logged("OpenGL version: "));
    EXPECT_TRUE(Logged("renderer: "));
    EXPECT_GE(eng_main_device_gl->GetGLVersion(), 1.2f);
    EXPECT_GT(eng_main_device_gl->GetGLMaxTextureSize(), 256);
    EXPECT_FALSE(eng_main_device_gl->IsPowerOfTwoNeeded());
}

TEST_F(GLDevice, DestroyClearsGlobalsAndFacadeAnswersZero)
{
    device->Destroy();
    EXPECT_EQ(eng_main_device, nullptr);
    EXPECT_EQ(eng_main_device_gl, nullptr);
    EXPECT_EQ(eng_gl_3d_setup, 0);
    EXPECT_EQ(device->BeginRendering(), 0);
    EXPECT_EQ(device->GetCurrentViewport(), nullptr);
    // Re-creation on the same window works.
    ASSERT_TRUE(device->Create(1, 640, 480, 32, 0));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, WindowGoneReleasesADeviceItsWindowDoesNotOwn)
{
    // The fixture's window never made this device: the device still lets go
    // of its context instead of destroying some other device of the window.
    ASSERT_EQ(window.GetDevice(), nullptr);
    device->WindowDestroyed_GL();
    EXPECT_EQ(device->IsCreated(), 0);
    EXPECT_EQ(eng_main_device, nullptr);
    EXPECT_EQ(eng_main_device_gl, nullptr);
    EXPECT_EQ(eng_gl_3d_setup, 0);
    ASSERT_TRUE(device->Create(1, 640, 480, 32, 0));
}

TEST_F(GLDevice, RatioedViewportsAndCropsInALargeWindow)
{
    delete device;
    device = nullptr;
    SDL_SetWindowSize(sdl_window, 1280, 960);
    SetWindowSize(1280, 960);
    device = new EngDevice(&window);
    ASSERT_TRUE(device->Create(1, 1280, 960, 32, 0));

    device->SetViewportToSizeRatioed(10, 20, 100, 50);
    int vp[4];
    Viewport(vp);
    EXPECT_EQ(vp[0], 20);
    EXPECT_EQ(vp[1], 820);
    EXPECT_EQ(vp[2], 200);
    EXPECT_EQ(vp[3], 100);
    _EngDeviceViewport cur;
    device->GetCurrentViewport(&cur);
    EXPECT_EQ(cur.x, 20);
    EXPECT_EQ(cur.y, 40);
    EXPECT_EQ(cur.width, 200);
    EXPECT_EQ(cur.height, 100);
    EXPECT_FALSE(device->IsViewportFullScreen());

    // Back to the full viewport: the full record answers, not the old one.
    device->SetViewportFullScreen();
    EXPECT_EQ(device->GetCurrentViewport()->width, 1280);
    Viewport(vp);
    EXPECT_EQ(vp[2], 1280);

    // Full-window crop, then a crop from the ratioed space.
    device->CropToAreaRatioed(0, 0, 640, 480);
    int sc[4];
    glGetIntegerv(GL_SCISSOR_BOX, sc);
    EXPECT_EQ(sc[0], 0);
    EXPECT_EQ(sc[1], 0);
    EXPECT_EQ(sc[2], 1280);
    EXPECT_EQ(sc[3], 960);
    EXPECT_TRUE(device->IsCropOn());
    device->CropToAreaRatioed(10, 20, 100, 50);
    glGetIntegerv(GL_SCISSOR_BOX, sc);
    EXPECT_EQ(sc[0], 20);
    EXPECT_EQ(sc[1], 820);
    EXPECT_EQ(sc[2], 200);
    EXPECT_EQ(sc[3], 100);
    device->CropToArea(5, 6, 7, 8);
    glGetIntegerv(GL_SCISSOR_BOX, sc);
    EXPECT_EQ(sc[1], 960 - 6 - 8);
    device->TurnOffCrop();
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

// Where a rectangle of the 640 x 480 space lands: the box of lit pixels,
// x0 y0 x1 y1 inclusive, y from the window's top.
struct LitBox
{
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

LitBox LitPixels()
{
    const int W = eng_main_window_width, H = eng_main_window_height;
    std::vector<unsigned char> px(size_t(W) * H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    LitBox b;
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (px[(size_t(H - 1 - y) * W + x) * 4] > 128)
            {
                b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
            }
    return b;
}

// Oriented viewports follow their table; a crop inside one covers exactly
// where the same rectangle is drawn in that orientation, in a sub-viewport
// away from the window's corner as in the whole window.
TEST_F(GLDevice, OrientedViewportsAndCropsInThem)
{
    delete device;
    device = nullptr;
    SDL_SetWindowSize(sdl_window, 800, 600);
    SetWindowSize(800, 600);
    device = new EngDevice(&window);
    ASSERT_TRUE(device->Create(1, 800, 600, 32, 0));
    EngTexture white;
    int tw = 4, th = 4;
    ASSERT_TRUE(white.CreateEmptyTexture(&tw, &th, 0));
    ASSERT_TRUE(white.SetPartColour(0, 0, -1, -1, 1, 1, 1, -1));

    struct
    {
        int orientation;
        bool sub;
        int x, y, w, h; // the viewport record, window pixels from the top-left
    } const cases[] = {
        {0, true, 50, 37, 400, 300},  {1, true, 350, 263, 400, 300}, {2, true, 350, 37, 400, 300},
        {3, true, 50, 263, 400, 300}, {0, false, 0, 0, 800, 600},    {1, false, 0, 0, 800, 600},
        {2, false, 0, 0, 800, 600},   {3, false, 0, 0, 800, 600},
    };
    const float cx = 100, cy = 50, cw = 200, ch = 120;
    for (const auto& c : cases)
    {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation) + (c.sub ? " in a sub-viewport" : ""));
        eng_main_orientation = eng_main_orientation_alt = c.orientation;
        if (c.sub)
            device->SetViewportToSizeWithOrientationRatioed(40, 30, 320, 240);
        else
            device->SetViewportToSizeWithOrientationRatioed(static_cast<_Dimension*>(nullptr));
        _EngDeviceViewport cur;
        device->GetCurrentViewport(&cur);
        EXPECT_EQ((std::vector<int>{cur.x, cur.y, cur.width, cur.height}),
                  (std::vector<int>{c.x, c.y, c.w, c.h}));
        int vp[4];
        Viewport(vp);
        EXPECT_EQ((std::vector<int>{vp[0], vp[1], vp[2], vp[3]}),
                  (std::vector<int>{c.x, 600 - c.y - c.h, c.w, c.h}));

        ClearTo(0, 0, 0);
        device->PrepareFor2DWithOrientation(1);
        white.PositionRatioed(cx, cy, cw, ch);
        white.Draw();
        const LitBox drawn = LitPixels();

        ClearTo(0, 0, 0);
        device->CropToAreaRatioed(cx, cy, cw, ch);
        white.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
        white.Draw();
        device->TurnOffCrop();
        device->RestoreAfter2D();
        const LitBox cropped = LitPixels();

        ASSERT_GE(drawn.x1, 0);
        EXPECT_GE(drawn.x0, c.x);
        EXPECT_LT(drawn.x1, c.x + c.w);
        EXPECT_GE(drawn.y0, c.y);
        EXPECT_LT(drawn.y1, c.y + c.h);
        EXPECT_NEAR(cropped.x0, drawn.x0, 1);
        EXPECT_NEAR(cropped.x1, drawn.x1, 1);
        EXPECT_NEAR(cropped.y0, drawn.y0, 1);
        EXPECT_NEAR(cropped.y1, drawn.y1, 1);
    }
    eng_main_orientation = eng_main_orientation_alt = 0;
    device->SetViewportFullScreen();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, HalfPixelRatioedValuesRoundTowardZero)
{
    // 5 ratioed units at 1.5 pixels per unit are 7.5 pixels: 7.
    delete device;
    device = nullptr;
    SetWindowSize(960, 720);
    device = new EngDevice(&window);
    ASSERT_TRUE(device->Create(1, 960, 720, 32, 0));
    device->SetViewportToSizeRatioed(5, 5, 5, 5);
    _EngDeviceViewport cur;
    device->GetCurrentViewport(&cur);
    EXPECT_EQ(cur.x, 7);
    EXPECT_EQ(cur.width, 7);
}

TEST_F(GLDevice, PrepareFor2DAndRestoreKeepProjectionLightingAndDepth)
{
    device->SetPerspectiveFOV(60, 0);
    device->SetPerspectiveAspect(1.5f, 1);
    GLfloat before[16], in2d[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    device->TurnOnLighting();
    device->UseDepthBuffer(1);

    device->PrepareFor2D(1);
    EXPECT_TRUE(device->Is2dPrepared());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glGetFloatv(GL_PROJECTION_MATRIX, in2d);
    EXPECT_FLOAT_EQ(in2d[0], 1.0f);
    EXPECT_FLOAT_EQ(in2d[11], 0.0f);
    EXPECT_EQ(device->PrepareFor2DIfNeeded(1), 0);

    device->RestoreAfter2D();
    EXPECT_FALSE(device->Is2dPrepared());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(after[i], before[i]) << i;
    EXPECT_FLOAT_EQ(before[11], -1.0f); // a perspective was loaded

    device->RestoreAfter2D();
    EXPECT_TRUE(Logged("Not prepared"));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, BlendTypesAndSaveSlotsRoundTrip)
{
    struct
    {
        int type;
        GLint src, dst;
    } const cases[] = {
        {0, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
        {9, GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA},
        {14, GL_ZERO, GL_ONE_MINUS_SRC_COLOR},
        {17, GL_ONE, GL_ONE_MINUS_SRC_COLOR},
        {18, GL_DST_COLOR, GL_ONE},
    };
    for (const auto& c : cases)
    {
        device->EnableBlendingType(c.type);
        GLint s = 0, d = 0;
        glGetIntegerv(GL_BLEND_SRC, &s);
        glGetIntegerv(GL_BLEND_DST, &d);
        EXPECT_EQ(s, c.src) << c.type;
        EXPECT_EQ(d, c.dst) << c.type;
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
    }

    // An invalid type changes nothing.
    for (int bad : {19, -1})
    {
        device->EnableBlendingType(bad);
        GLint s = 0;
        glGetIntegerv(GL_BLEND_SRC, &s);
        EXPECT_EQ(s, GL_DST_COLOR);
    }
    EXPECT_TRUE(Logged("Invalid Type 19"));
    EXPECT_TRUE(Logged("Invalid Type -1"));

    // The get/set pair restores the factors and the on/off state.
    char on;
    int src, dst;
    device->GetBlendingState(&on, &src, &dst);
    device->DisableBlending();
    device->EnableBlendingType(3);
    device->SetBlendingState(on, src, dst);
    GLint s = 0;
    glGetIntegerv(GL_BLEND_SRC, &s);
    EXPECT_EQ(s, GL_DST_COLOR);

    // A slot saved with blending off turns it off again on restore.
    device->DisableBlending();
    ASSERT_TRUE(device->SaveOrRestoreBlendingState(1));
    EXPECT_FALSE(device->SaveOrRestoreBlendingState(1));
    EXPECT_TRUE(Logged("Already saved"));
    device->EnableBlendingType(0);
    ASSERT_TRUE(device->SaveOrRestoreBlendingState(0));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(device->SaveOrRestoreBlendingState(0));
    EXPECT_TRUE(Logged("Not saved"));

    // The wider slot also brings 2D mode and lighting back.
    device->TurnOnLighting();
    ASSERT_TRUE(device->SaveOrRestoreBlendingLightingAnd2DStates(1));
    device->PrepareFor2D(1);
    ASSERT_TRUE(device->SaveOrRestoreBlendingLightingAnd2DStates(0));
    EXPECT_FALSE(device->Is2dPrepared());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(GLDevice, StateResetKeepsRecordedBlendPairTruthful)
{
    // After a reset with blending off, GL holds (SRC_ALPHA, ONE); asking for
    // type 0 must reach GL rather than be skipped as unchanged.
    device->EnableBlendingType(0);
    device->DisableBlending();
    device->MiscResetVariables();
    device->EnableBlendingType(0);
    GLint d = 0;
    glGetIntegerv(GL_BLEND_DST, &d);
    EXPECT_EQ(d, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(GLDevice, DarkenScreenHalvesTheClearedColour)
{
    struct
    {
        float opacity;
        int expected;
    } const cases[] = {{0.5f, 100}, {0.0f, 200}, {1.0f, 0}};
    for (const auto& c : cases)
    {
        ClearTo(200 / 255.0f, 200 / 255.0f, 200 / 255.0f);
        device->EnableBlendingType(7);
        device->DisableBlending();
        EngDimDarkenScreen(c.opacity);
        ExpectPixel(320, 240, c.expected, c.expected, c.expected, 1);
        ExpectPixel(0, 0, c.expected, c.expected, c.expected, 1);
        // The blend state and 2D mode are as they were.
        EXPECT_FALSE(device->IsBlendingEnabled());
        EXPECT_FALSE(device->Is2dPrepared());
        char on;
        int src;
        device->GetBlendingState(&on, &src, nullptr);
        EXPECT_EQ(src, GL_ONE);
    }
    // Inside 2D mode it stays in 2D mode.
    device->PrepareFor2D(1);
    EngDimDarkenScreen(0.5f);
    EXPECT_TRUE(device->Is2dPrepared());
    device->RestoreAfter2D();

    // A crop limits what is darkened.
    ClearTo(200 / 255.0f, 200 / 255.0f, 200 / 255.0f);
    device->CropToArea(0, 0, 100, 100);
    EngDimDarkenScreen(1.0f);
    device->TurnOffCrop();
    ExpectPixel(50, 50, 0, 0, 0, 1);
    ExpectPixel(300, 300, 200, 200, 200, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, TooManyPopsLeaveTheStackAlone)
{
    device->PrepareFor2D(1);
    device->PushTransformMatrix();
    device->PopTransformMatrix();
    device->PopTransformMatrix();
    EXPECT_TRUE(Logged("Too many pops"));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // The matrix 2D mode pushed is still there to pop.
    device->RestoreAfter2D();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, TransformSettersAndOrientation)
{
    device->SetTransformMatrixPos(1, 2, 3);
    EngMatrix m;
    device->GetTransformMatrix(&m);
    EXPECT_FLOAT_EQ(m(0, 3), 1);
    EXPECT_FLOAT_EQ(m(2, 3), 3);
    // Orientation 1 is half a turn about Z.
    device->SetTransformMatrixForOrientation(1);
    device->GetTransformMatrix(&m);
    EXPECT_NEAR(m(0, 0), -1, 1e-5);
    EXPECT_NEAR(m(1, 1), -1, 1e-5);
    // A light position leaves the modelview at the identity.
    EngLightsSetDirectionalLightDirection(1, 2, 3);
    device->GetTransformMatrix(&m);
    EXPECT_NEAR(m(0, 0), 1, 1e-6);
}

TEST_F(GLDevice, ProjectionPointsAndPicking)
{
    _Vector3d eye = {0, -10, 0}, centre = {0, 0, 0};
    device->SetPerspectiveAspect(640.0f / 480.0f, 1);
    device->SetupLookAtView(&eye, &centre);
    _Vector3d p = {0, 0, 0};
    _Vector2d out;
    ASSERT_TRUE(device->Convert3DPointTo2D(&p, &out, 0));
    EXPECT_NEAR(out.x, 320, 0.01);
    EXPECT_NEAR(out.y, 240, 0.01);
    float a = 0, b = 0;
    // Picking the centre of the screen on the plane y = 0 finds the origin.
    ASSERT_TRUE(device->GetScreenPointInViewportStructXZ(nullptr, 320, 240, 0, &a, &b));
    EXPECT_NEAR(a, 0, 1e-3);
    EXPECT_NEAR(b, 0, 1e-3);
    _EngDeviceViewport v = {0, 0, 100, 100, 0, 1};
    EXPECT_FALSE(device->GetScreenPointInViewportStructXZ(&v, 300, 300, 0, &a, &b));
}

TEST_F(GLDevice, ProjectionDumpOfHugeValuesStaysInItsLine)
{
    EngMatrix m = eng_matrix_identity_matrix;
    for (float& v : m.m)
        v = -3.0e38f;
    device->SetProjectionMatrixToMatrix(&m);
    char label[] = "huge";
    DisplayProjMatrix(label);
    EXPECT_TRUE(Logged("---- huge ----"));
    EXPECT_TRUE(Logged("-300000000549775575777803994281145270272.00, -3000"));
}

TEST_F(GLDevice, LightSystemsChecksAndColourScale)
{
    EngLightsSetLightSystem(1);
    EngLightsSetPointLightPos(1, 0, 0, 0);
    EXPECT_TRUE(Logged("Invalid point light number <1>"));
    EngLightsSetLightSystem(2);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EngLightsSetLightSystem(1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EngLightsSetLightSystem(3);
    EXPECT_TRUE(Logged("Unknown light sytem (3)"));
    EXPECT_EQ(EngLightsGetLightSystem(), 1);

    _EngLightsPointInfo info = {};
    EngLightsSetPointInfoAttrColours(&info, 1, 1, 1, 0, 0, 0);
    EngLightsSetPointLightAttributesEx(0, &info);
    EXPECT_NEAR(elgl_point_lights[0].diffuse[0], 1.69f, 1e-5);
    _EngLightsPointInfo back;
    EngLightsGetPointLightAttributes_GL(0, &back);
    EXPECT_NEAR(back.diffuse[0], 1.3f, 1e-5);

    EngLightsSetLightSystem(0);
    EngLightsSetDirectionalLightColour(1, 1, 1);
    GLfloat d[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, d);
    EXPECT_NEAR(d[0], 1.3f, 1e-5);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLDevice, ErrorReportsStopAfterTheAllowance)
{
    EngUtilsGL_ResetErrorCount(2);
    for (int i = 0; i < 3; i++)
    {
        glEnable(GLenum(0x1234)); // an invalid enum
        EXPECT_FALSE(EngUtilsGL_ErrorCheck("Test", "where"));
    }
    int reports = 0;
    for (const auto& l : vztest::LoggedLines())
        reports += l.find("OpenGL error") != std::string::npos;
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(Logged("(no more errors)"));
    EngUtilsGL_ResetErrorCount(100);
}

} // namespace
