// Keys and typed text pushed as SDL events into a real engine window and
// routed through the toolkit: list type-ahead with accented letters, and a
// text edit or an open drop-down list that keeps the keyboard while the
// device is made again (a settled live resize, the full-screen toggle).
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/SdlEvents.h"
#include "support/XFocus.h"
#include "support/TestMainFunctions.h"
#include "support/TestSupport.h"
#include "SkinnedGLFixture.h"
#include "ToolkitWindowFixture.h"

namespace
{

using namespace vztest::sdl;
// The test's own X connection moves the pointer and sizes the window as the
// player and a window manager would.
using vztest::GameXWindow;
using vztest::TestX;

enum Look
{
    OTHER,
    BLACK, // nothing drawn
    GREEN, // every look not named below
    BLUE,  // the open list's entries
    RED,   // the open list's highlight, a pressed (editing) field
};

const char* LookName(Look l)
{
    static const char* names[] = {"other", "black", "green", "blue", "red"};
    return names[l];
}

class Keyboard : public vztest::ToolkitWindowTest
{
protected:
    void SetUp() override
    {
        // Outside the window at every windowed size used here, so that no
        // pointer move reaches the toolkit on its own.
        ASSERT_NE(TestX(), nullptr);
        XWarpPointer(TestX(), 0, DefaultRootWindow(TestX()), 0, 0, 0, 0, 1270, 1015);
        XSync(TestX(), False);
        ToolkitWindowTest::SetUp();
    }
    void Skin(MWinTextures* t) override
    {
        std::string green = tmp.File("green.tga"), blue = tmp.File("blue.tga"), red = tmp.File("red.tga"),
                    white = tmp.File("white.tga");
        vztest::WriteSolidTga(green, 8, 8, 0, 255, 0);
        vztest::WriteSolidTga(blue, 8, 8, 0, 0, 255);
        vztest::WriteSolidTga(red, 8, 8, 255, 0, 0);
        vztest::WriteSolidTga(white, 8, 8, 255, 255, 255);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Green", green.c_str()), nullptr);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Blue", blue.c_str()), nullptr);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Red", red.c_str()), nullptr);
        for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
            t->SetStandardTextureToTexBut(slot, "Green");
        for (int slot : {MWIN_STD_TEX_LIST_OPEN_MAIN, MWIN_STD_TEX_LIST_OPEN_TOP, MWIN_STD_TEX_LIST_OPEN_BOT})
            t->SetStandardTextureToTexBut(slot, "Blue");
        t->SetStandardTextureToTexBut(MWIN_STD_TEX_LIST_OPEN_SEL, "Red");
        // A field green at rest and red while pressed, as it shows while edited.
        ASSERT_NE(t->AddTextureWithOneTextureButton("Field", white.c_str()), nullptr);
        ASSERT_TRUE(t->CopyAllStatesFromNormalState("Field"));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Field", MWIN_TEXSTATE_NORMAL, 0, 1, 0, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Field", MWIN_TEXSTATE_FOCUSED, 0, 1, 0, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Field", MWIN_TEXSTATE_PRESSED, 1, 0, 0, 1));
    }

    static void Push(std::vector<SDL_Event> events)
    {
        for (SDL_Event& e : events)
            SDL_PushEvent(&e);
        Pump();
    }
    static void Press(SDL_Keycode sym, Uint16 mod = 0) { Push({Key(true, sym, mod), Key(false, sym, mod)}); }
    static void Type(const char* utf8) { Push({Text(utf8)}); }

    // The window resized from outside as a drag ends; the engine makes the
    // device again once the size has stood for a while.
    static void ResizeAndSettle(int w, int h)
    {
        XResizeWindow(TestX(), GameXWindow(), unsigned(w), unsigned(h));
        XSync(TestX(), False);
        for (int i = 0; i < 200 && (eng_main_window_width != w || eng_main_window_height != h); i++)
        {
            SDL_Delay(5);
            Pump();
        }
        ASSERT_EQ(eng_main_window_width, w);
        ASSERT_EQ(eng_main_window_height, h);
        eng_main_current_time += 1;
        Pump();
    }

    // One frame: a toolkit tick, then the toolkit drawn over black.
    void Frame()
    {
        mw->Tick2();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
    }
    // What the frame shows at a point of the 640 x 480 space.
    static Look LookAt(float x, float y)
    {
        int px = int(x * eng_main_window_width / 640.0f), py = int(y * eng_main_window_height / 480.0f);
        unsigned char p[4] = {};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(px, eng_main_window_height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        if (p[2] > 150 && p[0] < 80 && p[1] < 80)
            return BLUE;
        if (p[0] > 150 && p[2] < 80 && p[1] < 80)
            return RED;
        if (p[1] > 150 && p[0] < 80 && p[2] < 80)
            return GREEN;
        if (p[0] < 30 && p[1] < 30 && p[2] < 30)
            return BLACK;
        return OTHER;
    }
    struct Probe
    {
        float x, y;
        Look look;
        const char* what;
    };
    void ExpectLooks(const std::vector<Probe>& probes)
    {
        Frame();
        for (const Probe& p : probes)
            EXPECT_STREQ(LookName(LookAt(p.x, p.y)), LookName(p.look))
                << p.what << " at " << eng_main_window_width << "x" << eng_main_window_height;
    }

    vztest::TempDir tmp;
};

// ---- Type-ahead ----

// Entries held as Latin-1, the fonts' encoding.
const char* kWords[] = {"Apfel", "\xC4rger", "\xC4rmel", "\xC9t\xE9", "Mus", "\xD6l", "\334ber", "Zoo"};

TEST_F(Keyboard, TypeAheadFindsEntriesByTheirAccentedFirstLetter)
{
    MWinButton* panel =
        win->AddButton("panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", 100, 60, 300, 320);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->PanelSetStrings(8, 8, kWords));
    panel->Activate();
    // Letter keys as a German or French keyboard sends them: the letter's
    // capital is the key code.
    const struct
    {
        const char* name;
        SDL_Keycode sym;
        int from, to;
    } cases[] = {
        {"o-umlaut", 0xF6, 0, 5},
        {"u-umlaut", 0xFC, 0, 6},
        {"e-acute", 0xE9, 7, 3},
        {"a-umlaut finds the first of two", 0xE4, 7, 1},
        {"a-umlaut again goes on to the second", 0xE4, 1, 2},
        {"a-umlaut after the last of them starts again", 0xE4, 2, 1},
        {"a plain letter", 'z', 0, 7},
        {"a letter no entry starts with", 'q', 4, 4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        panel->PanelSetPos(c.from, 0, 0);
        Press(c.sym);
        EXPECT_EQ(panel->PanelGetPos(), c.to);
    }
}

// ---- The keyboard kept while the device is made again ----

std::vector<int>& Reports()
{
    static std::vector<int> r;
    return r;
}
// What the text edit reports: 1 Enter, 0 finished otherwise (255, a key, is left out).
void RecordFinished(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    if (info->text_edit_flag != 255)
        Reports().push_back(info->text_edit_flag);
}
// What the list reports: 0 highlight moved, 1 chosen, 2 closed without a choice.
void RecordListEvent(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    Reports().push_back(info->list_event);
}

class KeptKeyboard : public Keyboard
{
protected:
    struct Recreation
    {
        const char* name;
        std::function<void()> run;
    };
    // Settled live resizes: wider, portrait, larger.
    static std::vector<Recreation> Resizes()
    {
        static const struct
        {
            int w, h;
            const char* name;
        } sizes[] = {{1000, 500, "resized to 1000x500"},
                     {600, 900, "resized to 600x900"},
                     {1024, 768, "resized to 1024x768"}};
        std::vector<Recreation> r;
        for (const auto& s : sizes)
            r.push_back({s.name, [&s] { ResizeAndSettle(s.w, s.h); }});
        return r;
    }
    static void Toggle()
    {
        ASSERT_TRUE(eng_main_window->ToggleFullscreenMode());
        Pump();
    }
};

TEST_F(KeptKeyboard, TextEditGoesOnTakingKeysWhileTheDeviceIsMadeAgain)
{
    Reports().clear();
    MWinButton* field = win->AddButton("field", MWIN_BUTTON_TEXT_EDIT, "Field", "", 100, 100, 440, 40);
    ASSERT_NE(field, nullptr);
    field->TextEditSetLength(40);
    ASSERT_TRUE(field->SetCallback(&RecordFinished, 0, 0, 0));
    field->Activate();
    Press(SDLK_RETURN);
    ASSERT_TRUE(field->IsTextBeingEditing());
    Type("ab");
    std::string typed = "ab";
    std::vector<Recreation> recreations = Resizes();
    recreations.push_back({"full screen", [] { Toggle(); }});
    recreations.push_back({"back to the window", [] { Toggle(); }});
    char next = 'c';
    for (const Recreation& r : recreations)
    {
        SCOPED_TRACE(r.name);
        ASSERT_NO_FATAL_FAILURE(r.run());
        EXPECT_TRUE(field->IsTextBeingEditing());
        ExpectLooks({{520, 120, RED, "the field being edited"}, {320, 300, BLACK, "below the field"}});
        Type(std::string(1, next).c_str());
        typed += next++;
        EXPECT_EQ(field->TextEditGetText(), typed);
    }
    EXPECT_TRUE(Reports().empty()) << "the text was reported finished";
    Press(SDLK_RETURN);
    EXPECT_FALSE(field->IsTextBeingEditing());
    EXPECT_EQ(Reports(), std::vector<int>{1});
    EXPECT_EQ(field->TextEditGetText(), typed);
}

TEST_F(KeptKeyboard, OpenListKeepsItsHighlightWhileTheDeviceIsMadeAgain)
{
    Reports().clear();
    MWinButton* list = win->AddButton("list", MWIN_BUTTON_LIST, MWIN_TEXBUT_DEFAULT, "", 100, 200, 440, 20);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->ListSetStrings(8, kWords));
    ASSERT_TRUE(list->SetCallback(&RecordListEvent, 0, 0, 0));
    list->Activate();
    Press(SDLK_RETURN);
    Press(SDLK_DOWN);
    Press(SDLK_DOWN);
    ASSERT_TRUE(list->ListIsOpen());
    ASSERT_EQ(list->ListGetOpenPos(), 2);
    // Entry 0, the committed one, stays on the field's row (200 to 220);
    // rows of 20 follow below it.
    for (const Recreation& r : Resizes())
    {
        SCOPED_TRACE(r.name);
        ASSERT_NO_FATAL_FAILURE(r.run());
        EXPECT_TRUE(list->ListIsOpen());
        EXPECT_EQ(list->ListGetOpenPos(), 2);
        ExpectLooks({{500, 250, RED, "the highlight on entry 2"},
                     {500, 290, BLUE, "the row of entry 4"},
                     {500, 420, BLACK, "below the list"}});
    }
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(list->ListGetPos(), 3);
    EXPECT_EQ(Reports(), (std::vector<int>{0, 0, 0, 1})) << "three moves, then the choice";
}

} // namespace

VZ_TEST_MAIN_FUNCTIONS(vztest::toolkit_program, vztest::toolkit_parms, "Keyboard")
