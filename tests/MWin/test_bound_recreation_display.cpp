// Variables bound to widgets through the generic setters, which take the
// pointer and leave the widget as it is, across the device being made again
// (the window's own re-creation and the full-screen toggle): no re-creation
// writes a caller's variable.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "EngMain.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinColourPicker.h"
#include "MWin/MWinHorzScrollbar.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestMainFunctions.h"
#include "support/TestSupport.h"
#include "SkinnedGLFixture.h"
#include "ToolkitWindowFixture.h"

namespace
{

const char* kItems[] = {"one", "two", "three", "four", "five"};

// The variables, each set to a value its widget does not hold.
struct Bound
{
    char checkbox = 1;
    int choice = 3, list = 4, panel = 2, number = 77;
    float bar = 0.25f, pie = 0.75f, low = 0.2f, high = 0.6f;
    _ColourRGB colour = {0.5f, 0.2f, 0.2f};
    // Bound through the picker's own setter, which sets the picker from it.
    _ColourRGB set_colour = {0.31f, 0.62f, 0.17f};
};

std::string Describe(const Bound& b)
{
    char text[256];
    snprintf(text, sizeof(text),
             "checkbox %d, choice %d, list %d, panel %d, text edit %d, scrollbar %g, pie %g, range %g-%g, "
             "colour %g %g %g, colour set from its variable %g %g %g",
             int(b.checkbox), b.choice, b.list, b.panel, b.number, double(b.bar), double(b.pie),
             double(b.low), double(b.high), double(b.colour.r), double(b.colour.g), double(b.colour.b),
             double(b.set_colour.r), double(b.set_colour.g), double(b.set_colour.b));
    return text;
}

class BoundRecreation : public vztest::ToolkitWindowTest
{
protected:
    void Skin(MWinTextures* t) override
    {
        const std::string green = tmp.File("green.tga");
        vztest::WriteSolidTga(green, 8, 8, 0, 255, 0);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Green", green.c_str()), nullptr);
        for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
            t->SetStandardTextureToTexBut(slot, "Green");
    }

    // One widget of every kind that holds a value, each bound generically.
    void AddBoundWidgets(Bound* b)
    {
        MWinButton* checkbox =
            win->AddButton("check", MWIN_BUTTON_CHECKBOX, MWIN_TEXBUT_DEFAULT, "", 10, 10, 100, 20);
        MWinButton* choice =
            win->AddButton("choice", MWIN_BUTTON_CHOICE, MWIN_TEXBUT_DEFAULT, "", 10, 40, 300, 20);
        MWinButton* list = win->AddButton("list", MWIN_BUTTON_LIST, MWIN_TEXBUT_DEFAULT, "", 10, 70, 200, 20);
        MWinButton* panel =
            win->AddButton("panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", 330, 10, 200, 120);
        MWinButton* edit =
            win->AddButton("edit", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, "", 10, 100, 200, 20);
        MWinButton* pie = win->AddButton("pie", MWIN_BUTTON_PIE, MWIN_TEXBUT_DEFAULT, "", 10, 140, 60, 60);
        MWinButton* range =
            win->AddButton("range", MWIN_BUTTON_RANGE, MWIN_TEXBUT_DEFAULT, "", 10, 210, 300, 20);
        MWinHorzScrollbar* bar =
            new MWinHorzScrollbar(mw, "bar", win, MWIN_TEXBUT_DEFAULT, "", 10, 240, 300, 20);
        win->CompleteAddButton(bar);
        MWinColour* picker = new MWinColour(mw, "pick", win, MWIN_TEXBUT_DEFAULT, "", 330, 200, 256, 100);
        win->CompleteAddButton(picker);
        MWinColour* set_picker = new MWinColour(mw, "set", win, MWIN_TEXBUT_DEFAULT, "", 330, 320, 256, 100);
        win->CompleteAddButton(set_picker);
        for (MWinButton* w : {checkbox, choice, list, panel, edit, pie, range})
            ASSERT_NE(w, nullptr);
        ASSERT_TRUE(choice->ChoiceSetStrings(5, kItems));
        ASSERT_TRUE(list->ListSetStrings(5, kItems));
        ASSERT_TRUE(panel->PanelSetStrings(5, 5, kItems));
        edit->TextEditSetLength(8);
        ASSERT_TRUE(edit->TextEditSetNumber(5));
        bar->SetValuesFloat(0, 1, -1, -1);

        ASSERT_TRUE(checkbox->RegisterCharVariable(&b->checkbox));
        ASSERT_TRUE(choice->RegisterIntVariable(&b->choice, 1));
        ASSERT_TRUE(list->RegisterIntVariable(&b->list, 1));
        ASSERT_TRUE(panel->RegisterIntVariable(&b->panel, 1));
        ASSERT_TRUE(edit->RegisterIntVariable(&b->number, 1));
        ASSERT_TRUE(pie->MWinButton::RegisterFloatVariable(&b->pie, 1));
        ASSERT_TRUE(range->RegisterTwoFloatVariables(&b->low, &b->high, 1));
        ASSERT_TRUE(bar->MWinButton::RegisterFloatVariable(&b->bar, 1));
        ASSERT_TRUE(picker->RegisterColourRGBVariable(&b->colour));
        ASSERT_TRUE(set_picker->RegisterVariable(&b->set_colour));
    }

    void Frame()
    {
        Pump();
        mw->Tick2();
        mw->RenderMain();
    }

    // The pickers as drawn in the back buffer: a grid of points inside each,
    // taken at the same places of the 640 x 480 space whatever the window's size.
    std::vector<unsigned char> PickerPixels()
    {
        std::vector<unsigned char> out;
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        for (int top : {200, 320})
            for (int y = top + 8; y < top + 100; y += 12)
                for (int x = 338; x < 586; x += 16)
                {
                    unsigned char p[4] = {0, 0, 0, 0};
                    int px = int(x * eng_main_window_x_ratio), py = int(y * eng_main_window_y_ratio);
                    glReadPixels(px, eng_main_window_height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
                    out.insert(out.end(), p, p + 3);
                }
        return out;
    }

    vztest::TempDir tmp;
};

TEST_F(BoundRecreation, NoReCreationWritesAGenericallyBoundVariable)
{
    Bound bound;
    ASSERT_NO_FATAL_FAILURE(AddBoundWidgets(&bound));
    const std::string want = Describe(Bound());
    Frame();
    ASSERT_EQ(Describe(bound), want) << "written before any re-creation";
    // The pickers as first drawn at each size the window takes.
    std::map<std::pair<int, int>, std::vector<unsigned char>> drawn;
    auto Size = [] { return std::make_pair(eng_main_window_width, eng_main_window_height); };
    Frame();
    drawn[Size()] = PickerPixels();
    const struct
    {
        const char* name;
        std::function<char()> run;
    } recreations[] = {
        {"the device made again", [] { return eng_main_window->RecreateDevice(); }},
        {"full screen", [] { return eng_main_window->ToggleFullscreenMode(); }},
        {"the device made again in full screen", [] { return eng_main_window->RecreateDevice(); }},
        {"back to the window", [] { return eng_main_window->ToggleFullscreenMode(); }},
    };
    for (const auto& r : recreations)
    {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(r.run());
        Frame();
        Frame();
        EXPECT_EQ(Describe(bound), want);
        // The pickers look as they did when first drawn at this size.
        mw->RenderMain();
        const std::vector<unsigned char> now = PickerPixels();
        auto before = drawn.find(Size());
        if (before == drawn.end())
        {
            drawn[Size()] = now;
            continue;
        }
        ASSERT_EQ(now.size(), before->second.size());
        int differ = 0;
        for (size_t i = 0; i < now.size(); i++)
            differ += std::abs(int(now[i]) - int(before->second[i])) > 48;
        EXPECT_EQ(differ, 0) << eng_main_window_width << " x " << eng_main_window_height;
    }
}

} // namespace

VZ_TEST_MAIN_FUNCTIONS(vztest::toolkit_program, vztest::toolkit_parms, "Bound")
