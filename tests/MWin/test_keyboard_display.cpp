// Keys routed through the toolkit of a real engine window: list type-ahead
// by the letter typed, pressed through the X server on French and German
// layouts; Tab from each widget that takes keys into a text edit, which
// alone takes them, and a text popup's field, pressed through the X server;
// and a text edit or an open drop-down list that keeps the keyboard while
// the device is made again (a settled live resize, the full-screen toggle),
// fed with SDL events.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

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
#include "MWin/MWinColourPicker.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinPopup.h"
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
        // The new size is sent to the engine's connection once the server has
        // made it; a loaded machine may take a while, never a hang's time.
        const Uint32 start = SDL_GetTicks();
        while ((eng_main_window_width != w || eng_main_window_height != h) &&
               SDL_GetTicks() - start < vztest::kHangSeconds * 1000)
        {
            XSync(vztest::GameX(), False);
            Pump();
            if (eng_main_window_width != w || eng_main_window_height != h)
                SDL_Delay(5);
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

std::vector<int>& Reports()
{
    static std::vector<int> r;
    return r;
}

// What the panel reports: 0 moved, 1 chosen.
void RecordPanelEvent(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    Reports().push_back(info->panel_event);
}

// Runs setxkbmap with args on the test's X server; its exit status, or -1
// when it could not be run or did not end.
int RunSetxkbmap(std::vector<std::string> args)
{
    args.insert(args.begin(), "setxkbmap");
    return vztest::RunCommand(args);
}

// The server's keyboard layout as a desktop sets it, and put back as it was.
class KeyboardLayout
{
public:
    KeyboardLayout()
    {
        // Rules, model, layout, variant and options, each ended by a 0.
        Display* d = TestX();
        Atom names = XInternAtom(d, "_XKB_RULES_NAMES", False), type;
        int format;
        unsigned long n = 0, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, DefaultRootWindow(d), names, 0, 1024, False, XA_STRING, &type, &format, &n,
                               &after, &data) == Success &&
            data)
        {
            for (unsigned long i = 0; i < n; i += strlen(reinterpret_cast<char*>(data) + i) + 1)
                kept.push_back(reinterpret_cast<char*>(data) + i);
            XFree(data);
        }
        kept.resize(5);
    }
    ~KeyboardLayout()
    {
        std::vector<std::string> args = {"-rules", kept[0],    "-model", kept[1],   "-layout",
                                         kept[2],  "-variant", kept[3],  "-option", ""};
        if (!kept[4].empty())
            args.insert(args.end(), {"-option", kept[4]});
        EXPECT_EQ(RunSetxkbmap(args), 0) << "the layout was not put back";
    }

private:
    std::vector<std::string> kept;
};

// Where a key symbol is on the server's keyboard: its key, and the
// modifiers it needs (in the first group): none, Shift, the third-level
// shift (AltGr) or both.
struct KeyPlace
{
    KeyCode code = 0;
    unsigned mods = 0;
};

KeyPlace FindKey(KeySym sym)
{
    KeyPlace found;
    XkbDescPtr desc = XkbGetMap(TestX(), XkbAllClientInfoMask, XkbUseCoreKbd);
    if (!desc)
        return found;
    const unsigned shift = ShiftMask, third = XkbKeysymToModifiers(TestX(), XK_ISO_Level3_Shift);
    // A symbol of its own key or with Shift first; the third level only
    // for one found nowhere else.
    for (int top : {2, 4})
    {
        for (int kc = desc->min_key_code; kc <= desc->max_key_code && !found.code; kc++)
        {
            if (XkbKeyNumGroups(desc, kc) < 1)
                continue;
            XkbKeyTypePtr type = XkbKeyKeyType(desc, kc, 0);
            for (int level = 0; level < top && level < XkbKeyGroupWidth(desc, kc, 0); level++)
            {
                if (level >= 2 && !third)
                    break;
                if (XkbKeySymEntry(desc, kc, level, 0) != sym)
                    continue;
                const unsigned wanted = (level & 1 ? shift : 0) | (level & 2 ? third : 0);
                bool reached = level == 0;
                for (int i = 0; i < type->map_count && !reached; i++)
                    reached = type->map[i].active && type->map[i].mods.mask == wanted &&
                              type->map[i].level == level;
                if (reached)
                {
                    found = {KeyCode(kc), wanted};
                    break;
                }
            }
        }
        if (found.code)
            break;
    }
    XkbFreeKeyboard(desc, 0, True);
    return found;
}

// One key as the person presses it: with Shift and AltGr when the layout
// needs them for the symbol, and with Ctrl when asked.
struct Stroke
{
    KeySym sym;
    bool ctrl = false;
};

// Presses and releases the keys through the X server.
void PressOnTheServer(const std::vector<Stroke>& strokes)
{
    Display* d = TestX();
    const KeyCode shift = FindKey(XK_Shift_L).code, ctrl = FindKey(XK_Control_L).code;
    ASSERT_NE(shift, 0);
    ASSERT_NE(ctrl, 0);
    for (const Stroke& s : strokes)
    {
        KeyPlace k = FindKey(s.sym);
        ASSERT_NE(k.code, 0) << "no key for " << XKeysymToString(s.sym);
        KeyCode third = 0;
        if (k.mods & ~unsigned(ShiftMask))
        {
            third = FindKey(XK_ISO_Level3_Shift).code;
            ASSERT_NE(third, 0) << "no AltGr for " << XKeysymToString(s.sym);
        }
        const bool with_shift = k.mods & ShiftMask;
        if (s.ctrl)
            XTestFakeKeyEvent(d, ctrl, True, CurrentTime);
        if (with_shift)
            XTestFakeKeyEvent(d, shift, True, CurrentTime);
        if (third)
            XTestFakeKeyEvent(d, third, True, CurrentTime);
        XTestFakeKeyEvent(d, k.code, True, CurrentTime);
        XTestFakeKeyEvent(d, k.code, False, CurrentTime);
        if (third)
            XTestFakeKeyEvent(d, third, False, CurrentTime);
        if (with_shift)
            XTestFakeKeyEvent(d, shift, False, CurrentTime);
        if (s.ctrl)
            XTestFakeKeyEvent(d, ctrl, False, CurrentTime);
    }
    XSync(d, False);
}

// Rows: normal blue, focused (a selected entry) red.
class TypeAhead : public Keyboard
{
protected:
    void Skin(MWinTextures* t) override
    {
        Keyboard::Skin(t);
        if (HasFatalFailure())
            return;
        std::string white = tmp.File("white.tga");
        ASSERT_NE(t->AddTextureWithOneTextureButton("Rows", white.c_str()), nullptr);
        ASSERT_TRUE(t->CopyAllStatesFromNormalState("Rows"));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Rows", MWIN_TEXSTATE_NORMAL, 0, 0, 1, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Rows", MWIN_TEXSTATE_FOCUSED, 1, 0, 0, 1));
        t->SetStandardTextureToTexBut(MWIN_STD_TEX_PANEL, "Rows");
    }

    // The layout set as a desktop sets it, once the window has taken it.
    static void UseLayout(const char* layout)
    {
        ASSERT_EQ(RunSetxkbmap({"-layout", layout}), 0) << layout;
        Settle();
    }
    // Everything the keys made, handed to the window: once the engine's own
    // connection has a reply, what the server sent it before is queued.
    static void Type(const std::vector<Stroke>& strokes)
    {
        ASSERT_NO_FATAL_FAILURE(PressOnTheServer(strokes));
        Settle();
    }
    static void Settle()
    {
        XSync(TestX(), False);
        XSync(vztest::GameX(), False);
        Pump();
    }
};

// Latin-1 entries, found by the letter typed on a French or a German
// keyboard: a letter made with a dead key, or one whose key gives the game
// a digit, as well as the letters of keys of their own.
const char* kPlaces[] = {"2CV",       "Anker",  "Apfel", "\xC4rger", "\xC4rmel", "Ende", "\xC9glise",
                         "\xC9t\xE9", "\xC8ze", "Mus",   "\xD6l",    "\334ber",  "Zoo"};
// Entries that begin with small letters, capitals among them: a small or a
// capital letter typed finds either.
const char* kSmall[] = {"arbre",   "\xE0 point", "\xE9glise", "\351cole",
                        "\xC9lan", "\xDEing",    "\xFEorn",   "zoo"};
const int kPerPage = 8;

TEST_F(TypeAhead, ListPanelFindsTheLetterTypedOnEveryLayout)
{
    // Side by side: the panel the pointer rests on has the keys.
    struct List
    {
        const char* id;
        const char** entries;
        int count;
        float x;
        MWinButton* panel;
    } lists[] = {{"places", kPlaces, 13, 20, nullptr}, {"small", kSmall, 8, 330, nullptr}};
    for (List& l : lists)
    {
        l.panel = win->AddButton(l.id, MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", l.x, 60, 290, 320);
        ASSERT_NE(l.panel, nullptr);
        ASSERT_TRUE(l.panel->PanelSetStrings(l.count, kPerPage, l.entries));
        ASSERT_TRUE(l.panel->SetCallback(&RecordPanelEvent, 0, 0, 0));
    }
    KeyboardLayout kept;
    vztest::MoveXFocus(vztest::XFocus::Game);
    enum
    {
        PLACES,
        SMALL
    };
    const struct
    {
        const char* layout;
        const char* name;
        int list;
        std::vector<Stroke> keys;
        int from, to;
    } cases[] = {
        {"fr", "\xC3\xA9 on its own key, the game's 2", PLACES, {{XK_eacute}}, 12, 6},
        {"fr", "\xC3\xA9 again goes on to the next \xC3\x89", PLACES, {{XK_eacute}}, 6, 7},
        {"fr", "\xC3\xA8, the game's 7", PLACES, {{XK_egrave}}, 12, 8},
        {"fr", "Shift with the key of \xC3\xA9 types 2", PLACES, {{XK_2}}, 12, 0},
        {"fr", "Ctrl+\xC3\xA9 places a 2 and finds nothing", PLACES, {{XK_eacute, true}}, 9, 9},
        {"fr", "F1 types no letter", PLACES, {{XK_F1}}, 9, 9},
        {"fr", "the down arrow, a key without a character", PLACES, {{XK_Down}}, 9, 10},
        {"fr", "a finds a small a", SMALL, {{XK_a}}, 7, 0},
        {"fr", "Shift+a finds a small a", SMALL, {{XK_A}}, 7, 0},
        {"fr", "\xC3\xA9 finds the first small \xC3\xA9", SMALL, {{XK_eacute}}, 7, 2},
        {"fr", "\xC3\xA9 again goes on to the next small \xC3\xA9", SMALL, {{XK_eacute}}, 2, 3},
        {"fr", "\xC3\xA9 again goes on to \xC3\x89", SMALL, {{XK_eacute}}, 3, 4},
        {"fr", "\xC3\xA9 after the last of them starts again", SMALL, {{XK_eacute}}, 4, 2},
        {"fr", "\xC3\xA0, the game's 0", SMALL, {{XK_agrave}}, 7, 1},
        {"de", "dead acute, then Shift+E", PLACES, {{XK_dead_acute}, {XK_E}}, 12, 6},
        {"de", "\xC3\xA4 finds the first of two", PLACES, {{XK_adiaeresis}}, 12, 3},
        {"de", "\xC3\xA4 again goes on to the second", PLACES, {{XK_adiaeresis}}, 3, 4},
        {"de", "\xC3\xA4 after the last of them starts again", PLACES, {{XK_adiaeresis}}, 4, 3},
        {"de", "Shift+\xC3\xA4", PLACES, {{XK_Adiaeresis}}, 12, 3},
        {"de", "\xC3\xB6", PLACES, {{XK_odiaeresis}}, 0, 10},
        {"de", "\xC3\xBC", PLACES, {{XK_udiaeresis}}, 0, 11},
        {"de", "a once finds the first A", PLACES, {{XK_a}}, 0, 1},
        {"de", "z", PLACES, {{XK_z}}, 0, 12},
        {"de", "a letter no entry starts with", PLACES, {{XK_q}}, 5, 5},
        {"de", "z finds a small z", SMALL, {{XK_z}}, 0, 7},
        {"de", "Shift+z finds a small z", SMALL, {{XK_Z}}, 0, 7},
        {"de", "dead acute, then Shift+E finds a small \xC3\xA9", SMALL, {{XK_dead_acute}, {XK_E}}, 0, 2},
        {"de", "AltGr+p types \xC3\xBE, which finds \xC3\x9E", SMALL, {{XK_thorn}}, 0, 5},
        {"de", "\xC3\xBE again goes on to a small \xC3\xBE", SMALL, {{XK_thorn}}, 5, 6},
        {"de", "Shift+AltGr+p types \xC3\x9E", SMALL, {{XK_THORN}}, 7, 5},
    };
    // The lists are drawn after each key, each case in a window of one of
    // these sizes. The window is sized once for all its cases: every size
    // makes the device again.
    const struct
    {
        int w, h;
    } sizes[] = {{640, 480}, {1000, 500}, {600, 900}};
    const int num_sizes = 3;
    for (int si = 0; si < num_sizes; si++)
    {
        const auto& size = sizes[si];
        if (eng_main_window_width != size.w || eng_main_window_height != size.h)
        {
            ASSERT_NO_FATAL_FAILURE(ResizeAndSettle(size.w, size.h));
        }
        for (const char* layout : {"fr", "de"})
        {
            ASSERT_NO_FATAL_FAILURE(UseLayout(layout));
            int n = 0;
            for (const auto& c : cases)
            {
                if (n++ % num_sizes != si || strcmp(c.layout, layout) != 0)
                    continue;
                SCOPED_TRACE(std::string(c.layout) + ": " + c.name + " at " + std::to_string(size.w) + "x" +
                             std::to_string(size.h));
                const List& l = lists[c.list];
                // The pointer rests on the list, which keeps it the focus.
                XWarpPointer(TestX(), 0, GameXWindow(), 0, 0, 0, 0, int((l.x + 145) * size.w / 640),
                             220 * size.h / 480);
                Settle();
                ASSERT_TRUE(l.panel->IsFocused());
                l.panel->PanelSetPos(c.from, 0, 0);
                Reports().clear();
                ASSERT_NO_FATAL_FAILURE(Type(c.keys));
                EXPECT_EQ(l.panel->PanelGetPos(), c.to);
                EXPECT_EQ(Reports(), c.to == c.from ? std::vector<int>{} : std::vector<int>{0})
                    << "one move or none";

                // The selected entry is on the page, drawn where the panel has it.
                const float display = l.panel->PanelGetDisplayPos();
                EXPECT_LE(display, c.to);
                EXPECT_GT(display + kPerPage, c.to);
                const float x = l.x + l.panel->PanelGetInfo()->entries_w - 10; // clear of the texts
                auto row_mid = [&](int k) { return 60 + (k - display) * 40 + 20; };
                std::vector<Probe> probes = {{x, row_mid(c.to), RED, "the selected entry's row"}};
                for (int k : {c.to - 1, c.to + 1})
                    if (k >= display && k < display + kPerPage && k < l.count)
                        probes.push_back({x, row_mid(k), BLUE, "an entry beside it"});
                ExpectLooks(probes);
            }
        }
    }
}

// ---- Tab from a widget into a text edit ----

// Which widgets called back, by ID.
std::vector<std::string>& Calls()
{
    static std::vector<std::string> c;
    return c;
}
void RecordCall(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    Calls().push_back(info->button_id);
}

// The widgets Tab leaves: normal green, focused blue, pressed red.
class TabIntoEdit : public TypeAhead
{
protected:
    void Skin(MWinTextures* t) override
    {
        TypeAhead::Skin(t);
        if (HasFatalFailure())
            return;
        std::string white = tmp.File("white.tga");
        ASSERT_NE(t->AddTextureWithOneTextureButton("Marked", white.c_str()), nullptr);
        ASSERT_TRUE(t->CopyAllStatesFromNormalState("Marked"));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Marked", MWIN_TEXSTATE_NORMAL, 0, 1, 0, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Marked", MWIN_TEXSTATE_FOCUSED, 0, 0, 1, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Marked", MWIN_TEXSTATE_PRESSED, 1, 0, 0, 1));
    }
    // The pointer leaves the window (at every size used here).
    static void PointerAway()
    {
        XWarpPointer(TestX(), 0, DefaultRootWindow(TestX()), 0, 0, 0, 0, 1270, 1015);
        Settle();
    }
};

const char* kAnimals[] = {"Ant", "Bee", "Cat",  "Dog", "Elk",  "Fox",
                          "Gnu", "Hen", "Ibis", "Jay", "Kiwi", "Lynx"};
const char* kThree[] = {"One", "Two", "Three"};

TEST_F(TabIntoEdit, TheWidgetLeftLosesTheFocusAndOnlyTheEditTakesKeys)
{
    // A panel draws its rows in its own state: a focused panel's rows show focused.
    mw->GetSettings()->list_panel_bg[1] = 1;
    struct Point
    {
        float x, y;
    };
    // Every kind that takes keys, at x 100, y 40, 260 wide: how it is made,
    // what it holds, and a point where its background shows.
    const struct Kind
    {
        const char* name;
        std::function<MWinButton*(MWinWindow*)> add;
        std::function<std::string(MWinButton*)> holds;
        std::function<Point(MWinButton*)> back;
    } kinds[] = {
        {"list panel",
         [](MWinWindow* w)
         {
             MWinButton* b = w->AddButton("K", MWIN_BUTTON_PANEL, "Marked", "", 100, 40, 260, 160);
             b->PanelSetStrings(12, 4, kAnimals);
             b->PanelSetPos(5, 0, 0);
             return b;
         },
         [](MWinButton* b) {
             return "entry " + std::to_string(b->PanelGetPos()) + " from " +
                    std::to_string(b->PanelGetDisplayPos());
         },
         [](MWinButton* b)
         {
             // A row other than the selected one's.
             const int top = int(b->PanelGetDisplayPos()), k = b->PanelGetPos() == top ? top + 1 : top;
             const float row = 160.0f / float(b->PanelGetNumEntriesPerPage());
             return Point{110, 40 + (float(k) - b->PanelGetDisplayPos() + 0.5f) * row};
         }},
        {"drop-down list",
         [](MWinWindow* w)
         {
             MWinButton* b = w->AddButton("K", MWIN_BUTTON_LIST, "Marked", "", 100, 40, 260, 30);
             b->ListSetStrings(12, kAnimals);
             b->ListSetPos(5);
             return b;
         },
         [](MWinButton* b)
         { return "entry " + std::to_string(b->ListGetPos()) + (b->ListIsOpen() ? " open" : ""); },
         [](MWinButton*) {
             return Point{106, 55};
         }},
        {"choice",
         [](MWinWindow* w)
         {
             MWinButton* b = w->AddButton("K", MWIN_BUTTON_CHOICE, "Marked", "", 100, 40, 260, 30);
             b->ChoiceSetStrings(3, kThree);
             b->ChoiceUseArrows(1, 0);
             b->ChoiceSetSel(1);
             return b;
         },
         [](MWinButton* b) { return "choice " + std::to_string(b->ChoiceGetSel()); },
         [](MWinButton*) {
             return Point{165, 43};
         }},
        {"range",
         [](MWinWindow* w)
         {
             MWinButton* b = w->AddButton("K", MWIN_BUTTON_RANGE, "Marked", "", 100, 40, 260, 40);
             b->RangeSetLimits(0, 100, 0);
             b->RangeSetRange(30, 60, 0, 0);
             return b;
         },
         [](MWinButton* b)
         {
             float lo = 0, hi = 0;
             b->RangeGetRange(&lo, &hi);
             return "range " + std::to_string(lo) + " to " + std::to_string(hi);
         },
         [](MWinButton*) {
             return Point{106, 44};
         }},
        {"colour picker", [](MWinWindow* w) { return w->AddColour("K", "Marked", "", 100, 40, 260, 94); },
         [](MWinButton* b)
         {
             float r = 0, g = 0, bl = 0;
             static_cast<MWinColour*>(b)->Get(&r, &g, &bl);
             return "colour " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(bl);
         },
         // Between the first two strips.
         [](MWinButton*) {
             return Point{230, 71};
         }},
    };
    const struct
    {
        const char* name;
        bool edit_first;
        KeySym tab;
    } orders[] = {{"Tab to the edit after it", false, XK_Tab},
                  {"Shift+Tab to the edit before it", true, XK_ISO_Left_Tab}};
    const struct
    {
        int w, h;
    } sizes[] = {{640, 480}, {1000, 500}, {600, 900}};
    // Keys typed while the edit is edited: none is the left widget's.
    const std::vector<Stroke> keys = {{XK_Prior}, {XK_Next}, {XK_Up}, {XK_Down}};
    for (const auto& size : sizes)
    {
        if (eng_main_window_width != size.w || eng_main_window_height != size.h)
        {
            ASSERT_NO_FATAL_FAILURE(ResizeAndSettle(size.w, size.h));
        }
        for (const Kind& kind : kinds)
            for (const auto& order : orders)
            {
                SCOPED_TRACE(std::string(kind.name) + ", " + order.name + ", at " + std::to_string(size.w) +
                             "x" + std::to_string(size.h));
                win->RemoveAllButtons();
                auto add_edit = [&]
                {
                    MWinButton* e =
                        win->AddButton("Edit", MWIN_BUTTON_TEXT_EDIT, "Field", "", 100, 300, 260, 40);
                    if (e)
                        e->TextEditSetLength(20);
                    return e;
                };
                MWinButton* edit = order.edit_first ? add_edit() : nullptr;
                MWinButton* left = kind.add(win);
                if (!order.edit_first)
                    edit = add_edit();
                ASSERT_NE(edit, nullptr);
                ASSERT_NE(left, nullptr);
                ASSERT_TRUE(left->SetCallback(&RecordCall, 0, 0, 0));
                // The pointer rests on the widget, which takes the focus.
                _Dimension a;
                left->GetActualArea(&a);
                XWarpPointer(TestX(), 0, GameXWindow(), 0, 0, 0, 0,
                             int((a.x + a.w / 2) * eng_main_window_x_ratio),
                             int((a.y + a.h / 2) * eng_main_window_y_ratio));
                Settle();
                ASSERT_TRUE(left->IsFocused());
                const std::string held = kind.holds(left);
                Calls().clear();

                // Typed at once, before the pointer is seen on the edit, and
                // again once it has been.
                std::vector<Stroke> typed = {{order.tab}};
                typed.insert(typed.end(), keys.begin(), keys.end());
                typed.push_back({XK_b});
                ASSERT_NO_FATAL_FAILURE(Type(typed));
                ASSERT_NO_FATAL_FAILURE(Type(keys));
                EXPECT_TRUE(edit->IsTextBeingEditing());
                EXPECT_STREQ(edit->TextEditGetText(), "b");
                EXPECT_FALSE(left->IsFocused());
                EXPECT_EQ(kind.holds(left), held);
                EXPECT_EQ(Calls(), std::vector<std::string>{});

                const Point p = kind.back(left);
                ExpectLooks({{p.x, p.y, GREEN, "the widget left"}, {350, 320, RED, "the edit being edited"}});
                edit->TextEditTurnOffEditing(0);
                PointerAway();
            }
    }
}

// A text popup starts editing with the toolkit's pointer on its field, as
// the system's pointer is, in a window of any size; only the field is focused.
TEST_F(TabIntoEdit, TextPopupPutsThePointerOnItsField)
{
    const struct
    {
        int w, h;
    } sizes[] = {{1000, 500}, {600, 900}};
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
        ASSERT_NO_FATAL_FAILURE(ResizeAndSettle(size.w, size.h));
        char text[32] = "";
        ASSERT_TRUE(MWinPopupGetText(mw, "Name", "Type a name", text, sizeof text, nullptr, nullptr));
        MWinButton* field = MWinPopupGetSettings(mw)->text_edit;
        ASSERT_NE(field, nullptr);
        _Dimension a;
        field->GetActualArea(&a);
        float mx = 0, my = 0;
        mw->GetViewportMousePos(&mx, &my);
        EXPECT_NEAR(mx, a.x + a.w / 2, 2);
        EXPECT_NEAR(my, a.y + a.h / 2, 2);
        EXPECT_TRUE(field->IsTextBeingEditing());
        for (int i = 0; i < 4; i++)
            if (MWinButton* b = MWinPopupGetButton(mw, i))
            {
                EXPECT_FALSE(b->IsFocused()) << b->GetTextP();
            }
        // Typed through the X server, Return answers the popup.
        ASSERT_NO_FATAL_FAILURE(Type({{XK_b}, {XK_Return}}));
        mw->Tick2();
        EXPECT_FALSE(mw->PopupIsOn());
        EXPECT_STREQ(text, "b");
        mw->PopupTurnOff();
        PointerAway();
    }
}

// ---- The keyboard kept while the device is made again ----

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
