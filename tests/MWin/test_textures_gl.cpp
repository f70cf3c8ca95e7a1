// Texture buttons and the toolkit's main render on a hidden GL window.
#include "GL/GLFixture.h"

#include <stb/stb_image_write.h>

#include <vector>

#include "MWin/MWin.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

using vztest::GLDevice;

namespace
{

class SkinGL : public GLDevice
{
protected:
    // A 3 x 3 image of nine distinct colours, row by row from the top.
    std::string GridPng()
    {
        static const unsigned char colours[9][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                                    {255, 255, 0}, {0, 255, 255}, {255, 0, 255},
                                                    {128, 0, 0},   {0, 128, 0},   {0, 0, 128}};
        std::vector<unsigned char> px;
        for (const auto& c : colours)
            px.insert(px.end(), c, c + 3);
        std::string file = dir.File("grid.png");
        EXPECT_NE(stbi_write_png(file.c_str(), 3, 3, 3, px.data(), 9), 0);
        return file;
    }

    std::string SolidPng(const char* name, unsigned char r, unsigned char g, unsigned char b)
    {
        std::vector<unsigned char> px;
        for (int i = 0; i < 16; i++)
            px.insert(px.end(), {r, g, b});
        std::string file = dir.File(name);
        EXPECT_NE(stbi_write_png(file.c_str(), 4, 4, 3, px.data(), 12), 0);
        return file;
    }

    vztest::TempDir dir;
};

TEST_F(SkinGL, NineSliceKeepsCornersAndPressedFallsBackToNormal)
{
    MWin mw(nullptr);
    MWinTextures* tex = mw.GetTextures();
    ASSERT_EQ(tex->AddTexture("Grid", GridPng().c_str()), 1);
    ASSERT_NE(
        tex->AddTextureButton("Box", "Grid", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
        nullptr);
    // Corner fraction 1/3: each corner slice shows exactly one texel.
    ASSERT_EQ(tex->SetTexButDrawStyle("Box", 2, 1 / 3.0f, 40, 2, 1 / 3.0f, 30), 1);
    ASSERT_EQ(tex->CreateTextures(), 1);
    int n = tex->GetTexButNumFromID("Box");

    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    eng_main_device->EnableBlendingType(0);
    EXPECT_EQ(tex->DrawTextureButton(n, MWIN_STATE_PRESSED, 100, 100, 300, 200, nullptr), 1);
    eng_main_device->RestoreAfter2D();

    // Corners are 40 x 40 (the vertical size 30 is scaled by 4/3): their
    // centres sample the corner texels' centres.
    ExpectPixel(120, 120, 255, 0, 0, 40);   // top-left corner
    ExpectPixel(380, 120, 0, 0, 255, 40);   // top-right corner
    ExpectPixel(250, 200, 0, 255, 255, 40); // middle
    ExpectPixel(120, 280, 128, 0, 0, 40);   // bottom-left
    ExpectPixel(50, 50, 0, 0, 0);           // outside
    tex->DestroyTextures();
}

TEST_F(SkinGL, StateColourTintsTheDrawing)
{
    MWin mw(nullptr);
    MWinTextures* tex = mw.GetTextures();
    ASSERT_EQ(tex->AddTexture("White", SolidPng("white.png", 255, 255, 255).c_str()), 1);
    tex->AddTextureButton("W", "White");
    tex->SetTextureButtonStateColourMultiplier("W", 1, 1.0f, 0.5f, 0.0f, 1.0f);
    ASSERT_EQ(tex->CreateTextures(), 1);
    int n = tex->GetTexButNumFromID("W");
    const _ColourRGBA half_blue = {0.5f, 0.5f, 1.0f, 1.0f};

    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    tex->DrawTextureButton(n, MWIN_STATE_FOCUSED, 0, 0, 100, 100, nullptr);
    tex->DrawTextureButton(n, MWIN_STATE_FOCUSED, 200, 0, 100, 100, &half_blue);
    tex->DrawTextureButton(n, MWIN_STATE_NORMAL, 400, 0, 100, 100, &half_blue);
    eng_main_device->RestoreAfter2D();
    ExpectPixel(50, 50, 255, 128, 0, 3);
    ExpectPixel(250, 50, 128, 64, 0, 3);
    ExpectPixel(450, 50, 128, 128, 255, 3);
    tex->DestroyTextures();
}

TEST_F(SkinGL, RenderMainDrawsWindowsAndDarkensUnderThePopupLayer)
{
    MWin* mw = new MWin(nullptr);
    MWinTextures* tex = mw->GetTextures();
    ASSERT_EQ(tex->AddStandardTextureButton(MWIN_STD_TEX_WIN_BACK, "Back",
                                            SolidPng("back.png", 200, 200, 200).c_str()),
              1);
    eng_main_device->SetClearColour(0, 0, 0.4f);
    mw->SetClearMethod(MWIN_CLEAR_COLOUR, nullptr);
    ASSERT_EQ(mw->Startup(), 1);
    ASSERT_EQ(tex->AreTexturesLoaded(), 1);

    MWinCollection* c = mw->GetDesktop()->AddCollection("Screen");
    _MWinWindowCreateInfo info = vztest::WindowInfoAt(100, 100, 200, 100);
    ASSERT_NE(c->AddWindow("W", &info), nullptr);

    mw->RenderMain();
    ExpectPixel(150, 150, 200, 200, 200, 3);
    ExpectPixel(50, 50, 0, 0, 102, 3);

    // A darkened desktop dims the inactive collection drawn before it.
    MWinCollection* top = mw->GetDesktop()->AddCollection("MTop");
    ASSERT_NE(top, nullptr);
    mw->GetDesktop()->darken = 1;
    mw->RenderMain();
    ExpectPixel(150, 150, 100, 100, 100, 3);

    delete mw;
}

TEST_F(SkinGL, CollectionViewportIsRestoredAfterDrawing)
{
    MWin* mw = new MWin(nullptr);
    MWinTextures* tex = mw->GetTextures();
    ASSERT_EQ(tex->AddStandardTextureButton(MWIN_STD_TEX_WIN_BACK, "Back",
                                            SolidPng("back.png", 255, 255, 255).c_str()),
              1);
    ASSERT_EQ(mw->Startup(), 1);
    MWinCollection* c = mw->GetDesktop()->AddCollection("Screen");
    ASSERT_EQ(c->SetViewportRatioed(320, 0, 320, 240, 0), 1);
    _MWinWindowCreateInfo info = vztest::WindowInfoAt(0, 0, 640, 480);
    c->AddWindow("W", &info);

    eng_main_device->SetViewportToSize(0, 0, 100, 100);
    _EngDeviceViewport before;
    eng_main_device->GetCurrentViewport(&before);
    ClearTo(0, 0, 0);
    eng_main_device->SetViewportFullScreen();
    eng_main_device->SetViewportToSize(0, 0, 100, 100);
    mw->RenderMain();
    _EngDeviceViewport after;
    eng_main_device->GetCurrentViewport(&after);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    ExpectPixel(400, 100, 255, 255, 255, 3); // inside the collection's viewport
    ExpectPixel(100, 300, 0, 0, 0, 3);       // outside it
    delete mw;
}

} // namespace
