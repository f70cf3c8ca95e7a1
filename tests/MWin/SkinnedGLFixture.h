// A toolkit on a real GL device with every standard slot skinned one solid
// colour, one collection and one full-screen window without background.
#pragma once

#include <cstring>
#include <string>

#include "../GL/GLFixture.h"
#include "MWin/MWin.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

namespace vztest
{

// An uncompressed 24-bit TGA of one colour.
inline void WriteSolidTga(const std::string& path, int w, int h, unsigned char r, unsigned char g,
                          unsigned char b)
{
    std::string d(18, '\0');
    d[2] = 2;
    d[12] = char(w & 255);
    d[13] = char(w >> 8);
    d[14] = char(h & 255);
    d[15] = char(h >> 8);
    d[16] = 24;
    for (int i = 0; i < w * h; i++)
    {
        d += char(b);
        d += char(g);
        d += char(r);
    }
    WriteFile(path, d);
}

class SkinnedGL : public GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        mw = new MWin(nullptr);
        std::string green = tmp.File("green.tga");
        WriteSolidTga(green, 8, 8, 0, 255, 0);
        MWinTextures* t = mw->GetTextures();
        ASSERT_NE(t->AddTextureWithOneTextureButton("Green", green.c_str()), nullptr);
        // Every standard slot shows the same solid look.
        for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
            t->SetStandardTextureToTexBut(slot, "Green");
        ASSERT_TRUE(mw->SetupDefaultFont());
        ASSERT_TRUE(mw->Startup()); // loads the textures and fonts
        AfterStartup();
        if (HasFatalFailure())
            return;
        coll = mw->GetDesktop()->AddCollection("Coll");
        ASSERT_NE(coll, nullptr);
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(0, 0, 640, 480);
        strcpy(info.back_texbut, MWIN_TEXBUT_NONE);
        win = coll->AddWindow("Win", &info);
        ASSERT_NE(win, nullptr);
    }

    void TearDown() override
    {
        delete mw;
        GLDevice::TearDown();
    }

    // Runs between the toolkit's start-up and the window's creation.
    virtual void AfterStartup() {}

    EngProgram program;
    TempDir tmp;
    MWin* mw = nullptr;
    MWinCollection* coll = nullptr;
    MWinWindow* win = nullptr;
};

} // namespace vztest
