// Window drawing on a hidden GL window: title bar, hide button, back and the
// order of modal windows.
#include "GL/GLFixture.h"

#include <stb/stb_image_write.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

using vztest::GLDevice;

namespace
{

class WindowGL : public GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        mw = new MWin(nullptr);
        tex = mw->GetTextures();
        Std(MWIN_STD_TEX_WIN_BACK, "Back", 200, 200, 200);
        Std(MWIN_STD_TEX_WIN_TITLE, "Title", 0, 0, 200);
        Std(MWIN_STD_TEX_BUTTON_HIDE, "Hide", 200, 0, 0);
        const char* res = getenv("VZ_RESOURCES_DIR");
        std::string font = std::string(res ? res : ".") + "/MWinDefaultFont.ttf";
        ASSERT_EQ(mw->GetFonts()->AddStandardFont(font.c_str(), &m_default_font_params), 1);
        mw->SetClearMethod(MWIN_CLEAR_COLOUR, nullptr);
        eng_main_device->SetClearColour(0, 0, 0);
        ASSERT_EQ(mw->Startup(), 1);
        coll = mw->GetDesktop()->AddCollection("Screen");
    }
    void TearDown() override
    {
        delete mw;
        GLDevice::TearDown();
    }
    void Std(int slot, const char* id, unsigned char r, unsigned char g, unsigned char b)
    {
        std::vector<unsigned char> px;
        for (int i = 0; i < 16; i++)
            px.insert(px.end(), {r, g, b});
        std::string file = dir.File(std::string(id) + ".png");
        ASSERT_NE(stbi_write_png(file.c_str(), 4, 4, 3, px.data(), 12), 0);
        ASSERT_EQ(tex->AddStandardTextureButton(slot, id, file.c_str()), 1);
    }
    MWinWindow* Add(const char* id, float x, float y, float w, float h, int type, char title, char hide)
    {
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(x, y, w, h);
        info.type = type;
        info.title_bar = title;
        info.hide_button = hide;
        strcpy(info.title, "Title");
        return coll->AddWindow(id, &info);
    }

    vztest::TempDir dir;
    MWin* mw = nullptr;
    MWinTextures* tex = nullptr;
    MWinCollection* coll = nullptr;
    MWinWindow* w1 = nullptr;
};

TEST_F(WindowGL, TitleBarHideButtonAndBack)
{
    MWinWindow* w = Add("W", 100, 100, 300, 200, 0, 1, 1);
    ASSERT_NE(w->GetHideButton(), nullptr);
    mw->RenderMain();
    ExpectPixel(300, 200, 200, 200, 200, 3); // back
    ExpectPixel(390, 75, 0, 0, 200, 3);      // title bar, right of the hide button
    _Dimension h;
    w->GetHideButton()->GetActualArea(&h);
    ExpectPixel(int(h.x + h.w / 2), int(h.y + 2), 200, 0, 0, 40); // hide button
    ExpectPixel(50, 50, 0, 0, 0, 3);
}

TEST_F(WindowGL, ShownModalWindowIsDrawnOverTheActiveOne)
{
    w1 = Add("Normal", 100, 100, 300, 200, 0, 0, 0);
    MWinWindow* dlg = Add("Dlg", 150, 150, 100, 100, MWIN_WINDOW_TYPE_MODAL, 0, 0);
    dlg->SetColour(0, 1, 0, 1);
    // Make the normal window the active one drawn last among its kind.
    w1->Activate();
    mw->RenderMain();
    ExpectPixel(200, 200, 0, 200, 0, 3);
    dlg->Hide();
    mw->RenderMain();
    ExpectPixel(200, 200, 200, 200, 200, 3);
}

} // namespace
