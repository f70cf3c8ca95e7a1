// Keys, modifiers, mouse buttons and wheel turns pushed as SDL events into a
// real engine window, as the program's input callback and the key states get them;
// Ctrl+F among them, which toggles full screen.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "support/SdlEvents.h"
#include "support/TestMainFunctions.h"
#include "support/TestSupport.h"
#include "support/XFocus.h"

namespace
{

using namespace vztest::sdl;

_EngCreateWindowParms parms;

// Records every input but mouse moves (the X server may add some of its own),
// and the full-screen toggles among them.
class Recorder : public EngProgram
{
public:
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override
    {
        if (type != ENG_INPUT_MOUSE_MOVE)
            Add(std::to_string(int(type)) + ":" + std::to_string(p1) + "," + std::to_string(p2));
        return type == ENG_INPUT_KEY_UP && keep_key_ups ? 1 : 0;
    }
    // Called straight after a full-screen toggle.
    void WindowResizedCB() override { Add(eng_main_window_windowed ? "to-window" : "to-full-screen"); }
    void Add(const std::string& s) { calls += (calls.empty() ? "" : " ") + s; }
    std::string calls;
    // Key-ups are taken (InputCB returns 1 for them).
    bool keep_key_ups = false;
};

Recorder* program = nullptr;

const SDL_Keycode kAUmlaut = 0xE4, kEAcute = 0xE9, kNTilde = 0xF1, kSharpS = 0xDF, kYUmlaut = 0xFF,
                  kDivide = 0xF7, kMicro = 0xB5;

struct KeyState
{
    int code;
    char value;
};

// Events pushed in, what the program got for them, and key states after.
struct EventCase
{
    const char* name;
    std::vector<SDL_Event> events;
    const char* calls;
    std::vector<KeyState> keys;
};

class Keys : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        parms = {0, 0, 320, 240, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
        program = new Recorder();
        ASSERT_EQ(EngMainCreateMainWindowAndDevice(), 1);
        Pump();
    }
    void TearDown() override
    {
        MainExitAndDeleteMainProgram(1);
        LogTest::TearDown();
    }

    // The window takes one event per call, as in the main loop.
    static void Pump()
    {
        for (int i = 0; i < 1000 && eng_main_window->GetWindowEvents(); i++)
        {
        }
    }

    // What the program got for the events, pushed behind whatever the window
    // still had pending, starting with no key held.
    static std::string Deliver(const std::vector<SDL_Event>& events)
    {
        Pump();
        memset(eng_key_down, 0, sizeof(eng_key_down));
        program->calls.clear();
        for (SDL_Event e : events)
            SDL_PushEvent(&e);
        Pump();
        return program->calls;
    }

    static void ExpectDelivered(const EventCase& c)
    {
        EXPECT_EQ(Deliver(c.events), c.calls);
        for (const KeyState& k : c.keys)
            EXPECT_EQ(eng_key_down[k.code], k.value) << k.code;
    }
};

TEST_F(Keys, EveryModifierHasItsPcKey)
{
    const EventCase cases[] = {
        // Super is Control: a letter comes as its capital, with the text the
        // system adds for the key left out.
        {"Control+A",
         {Key(true, SDLK_LGUI, KMOD_LGUI), Key(true, SDLK_a, KMOD_LGUI), Text("a")},
         "5:65,0 7:65,0",
         {{229, 2}, {65, 2}, {228, 0}, {230, 0}, {231, 0}}},
        {"Control+A released",
         {Key(true, SDLK_LGUI, KMOD_LGUI), Key(true, SDLK_a, KMOD_LGUI | KMOD_LSHIFT), Text("A"),
          Key(false, SDLK_a, KMOD_LGUI | KMOD_LSHIFT), Key(false, SDLK_LGUI, KMOD_LSHIFT)},
         "5:65,0 7:65,0 6:65,0",
         {{229, 0}, {65, 0}, {228, 2}}},
        {"Control+digit", {Key(true, SDLK_5, KMOD_RGUI), Text("5")}, "5:53,0 7:53,0", {{229, 2}, {231, 0}}},
        // Ctrl stays Command: its letters keep their case.
        {"Command+A", {Key(true, SDLK_a, KMOD_LCTRL), Text("a")}, "5:65,0 7:97,0", {{231, 2}, {229, 0}}},
        {"Command+Control+F is a capital F for the program",
         {Key(true, SDLK_f, KMOD_LCTRL | KMOD_LGUI)},
         "5:70,0 7:70,0",
         {{231, 2}, {229, 2}}},
        // Alt is Option; its text (AltGr's too) is the typed character.
        {"Option+X",
         {Key(true, SDLK_x, KMOD_LALT), Text("x")},
         "5:88,0 7:120,0",
         {{230, 2}, {229, 0}, {231, 0}}},
        {"AltGr+Q typing @", {Key(true, SDLK_q, KMOD_RALT), Text("@")}, "5:81,0 7:64,0", {{230, 2}}},
        {"Option released", {Key(true, SDLK_LALT, KMOD_LALT), Key(false, SDLK_LALT, 0)}, "", {{230, 0}}},
        // A primary press with Control is the right button, up to its release.
        {"Control-click",
         {Key(true, SDLK_LGUI, KMOD_LGUI), Button(true, SDL_BUTTON_LEFT), Key(false, SDLK_LGUI, 0),
          Button(false, SDL_BUTTON_LEFT), Button(true, SDL_BUTTON_LEFT)},
         "2:1,1 2:1,0 2:0,1",
         {{254, 0}, {253, 2}, {229, 0}}},
        {"Option-click and Command-click stay primary",
         {Key(true, SDLK_LALT, KMOD_LALT), Button(true, SDL_BUTTON_LEFT), Button(false, SDL_BUTTON_LEFT),
          Key(true, SDLK_LCTRL, KMOD_LALT | KMOD_LCTRL), Button(true, SDL_BUTTON_LEFT)},
         "2:0,1 2:0,0 2:0,1",
         {{253, 2}, {254, 0}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ExpectDelivered(c);
        EXPECT_EQ(eng_main_window_windowed, 1);
        EXPECT_FALSE(program->IsExiting());
    }
}

// Ctrl (Command) with a lower-case f: the press and its character go to the
// program; the release toggles full screen unless the program takes it.
TEST_F(Keys, CtrlFTogglesFullScreenOnItsReleaseUnlessTheProgramKeepsIt)
{
    SDL_Event repeat = Key(true, SDLK_f, KMOD_LCTRL);
    repeat.key.repeat = 1;
    // For the window of the moment (a toggle makes a new one).
    SDL_Event focus_lost = {};
    focus_lost.type = SDL_WINDOWEVENT;
    focus_lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    const SDL_Event ctrl_down = Key(true, SDLK_LCTRL, KMOD_LCTRL), ctrl_up = Key(false, SDLK_LCTRL, 0);
    const char* const press = "5:70,0 7:102,0";
    const std::string pressed_and_released = std::string(press) + " 6:70,0";
    const std::string toggled = pressed_and_released + " to-full-screen";
    const struct
    {
        const char* name;
        std::vector<SDL_Event> events;
        bool keep_key_ups;
        std::string calls;
    } cases[] = {
        {"held",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), Key(false, SDLK_f, KMOD_LCTRL), ctrl_up},
         false,
         toggled},
        {"quick tap: Ctrl let go first",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), ctrl_up, Key(false, SDLK_f, 0)},
         false,
         toggled},
        {"held until the key repeats, once",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), repeat, repeat, Key(false, SDLK_f, KMOD_LCTRL), ctrl_up},
         false,
         std::string(press) + " " + press + " " + press + " 6:70,0 to-full-screen"},
        {"Ctrl pressed while f is held",
         {Key(true, SDLK_f, 0), Text("f"), ctrl_down, Key(false, SDLK_f, KMOD_LCTRL), ctrl_up},
         false,
         toggled},
        {"the program keeps the release",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), Key(false, SDLK_f, KMOD_LCTRL), ctrl_up},
         true,
         pressed_and_released},
        {"Shift+Ctrl+F is a capital F",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL | KMOD_LSHIFT),
          Key(false, SDLK_f, KMOD_LCTRL | KMOD_LSHIFT), ctrl_up},
         false,
         "5:70,0 7:70,0 6:70,0"},
        // SDL lets go of the held keys when the focus leaves, just before it
        // reports the loss.
        {"released as the focus leaves",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), Key(false, SDLK_f, KMOD_LCTRL), focus_lost},
         false,
         pressed_and_released},
        {"released after the focus left",
         {ctrl_down, Key(true, SDLK_f, KMOD_LCTRL), focus_lost, Key(false, SDLK_f, KMOD_LCTRL)},
         false,
         pressed_and_released},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        program->keep_key_ups = c.keep_key_ups;
        std::vector<SDL_Event> events = c.events;
        for (SDL_Event& e : events)
            if (e.type == SDL_WINDOWEVENT)
                e.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(eng_main_sdl_window));
        EXPECT_EQ(Deliver(events), c.calls);
        EXPECT_EQ(eng_key_down['F'], 0);
        EXPECT_FALSE(program->IsExiting());
        if (!eng_main_window_windowed)
        {
            ASSERT_TRUE(eng_main_window->ToggleFullscreenMode());
            Pump();
        }
        ASSERT_EQ(eng_main_window_windowed, 1);
    }
}

TEST_F(Keys, LatinOneKeysGiveThemselvesWithCapitalKeyCodes)
{
    const EventCase cases[] = {
        {"ä é ñ ß µ typed",
         {Key(true, kAUmlaut, 0), Text("\xc3\xa4"), Key(false, kAUmlaut, 0), Key(true, kEAcute, 0),
          Text("\xc3\xa9"), Key(false, kEAcute, 0), Key(true, kNTilde, 0), Text("\xc3\xb1"),
          Key(false, kNTilde, 0), Key(true, kSharpS, 0), Text("\xc3\x9f"), Key(false, kSharpS, 0),
          Key(true, kMicro, 0), Text("\xc2\xb5"), Key(false, kMicro, 0)},
         "5:196,0 7:228,0 6:196,0 5:201,0 7:233,0 6:201,0 5:209,0 7:241,0 6:209,0 5:223,0 7:223,0 6:223,0 "
         "5:181,0 7:181,0 6:181,0",
         {{196, 0}, {228, 0}}},
        // Its own entry is held, not Shift's (228, the code of ä).
        {"ä held", {Key(true, kAUmlaut, 0)}, "5:196,0", {{196, 2}, {228, 0}}},
        {"Shift+ä",
         {Key(true, kAUmlaut, KMOD_LSHIFT), Text("\xc3\x84")},
         "5:196,0 7:196,0",
         {{196, 2}, {228, 2}}},
        {"Command+ä and Command+é",
         {Key(true, kAUmlaut, KMOD_LCTRL), Key(false, kAUmlaut, KMOD_LCTRL), Key(true, kEAcute, KMOD_LCTRL),
          Key(false, kEAcute, KMOD_LCTRL)},
         "5:196,0 7:228,0 6:196,0 5:201,0 7:233,0 6:201,0",
         {{231, 2}, {196, 0}, {228, 0}}},
        {"Control+ä", {Key(true, kAUmlaut, KMOD_LGUI), Text("\xc3\xa4")}, "5:196,0 7:228,0", {{229, 2}}},
        // No capital: ß keeps its code.
        {"Shift+ß",
         {Key(true, kSharpS, KMOD_LSHIFT), Key(false, kSharpS, KMOD_LSHIFT)},
         "5:223,0 6:223,0",
         {{223, 0}}},
        // ÷ would be the down arrow's code and ÿ the middle button's: they
        // are characters only.
        {"÷ is no key", {Key(true, kDivide, 0), Text("\xc3\xb7")}, "7:247,0", {{247, 0}}},
        {"ÿ is no key", {Key(true, kYUmlaut, 0), Text("\xc3\xbf")}, "7:255,0", {{255, 0}}},
        {"ÿ over a held middle button",
         {Button(true, SDL_BUTTON_MIDDLE), Key(true, kYUmlaut, 0), Text("\xc3\xbf"), Key(false, kYUmlaut, 0)},
         "2:2,1 7:255,0",
         {{255, 2}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ExpectDelivered(c);
    }
}

// The number row of a French (AZERTY) keyboard, pressed through the X
// server: its keys give the digits' key codes, which a number game wants
// (Ctrl+é places a 2), and still type their letters.
TEST_F(Keys, FrenchNumberRowGivesTheDigitsAndTypesItsLetters)
{
    Display* d = vztest::TestX();
    ASSERT_NE(d, nullptr);
    int event_base, error_base, major, minor;
    ASSERT_TRUE(XTestQueryExtension(d, &event_base, &error_base, &major, &minor));
    // The keys of 2, 7, 9 and 0 as the layout has them: the letter, and the
    // digit with Shift.
    const struct
    {
        KeySym digit, letter;
    } row[] = {{XK_2, XK_eacute}, {XK_7, XK_egrave}, {XK_9, XK_ccedilla}, {XK_0, XK_agrave}};
    KeyCode keycodes[4];
    std::vector<KeySym> kept[4];
    for (int i = 0; i < 4; i++)
    {
        keycodes[i] = XKeysymToKeycode(d, row[i].digit);
        ASSERT_NE(keycodes[i], 0);
        int per = 0;
        KeySym* old = XGetKeyboardMapping(d, keycodes[i], 1, &per);
        kept[i].assign(old, old + per);
        XFree(old);
        KeySym syms[2] = {row[i].letter, row[i].digit};
        XChangeKeyboardMapping(d, keycodes[i], 2, syms, 1);
    }
    XSync(d, False);
    vztest::MoveXFocus(vztest::XFocus::Game);
    const KeyCode ctrl = XKeysymToKeycode(d, XK_Control_L);

    // Each key pressed and released, with Ctrl held when asked.
    auto press = [&](std::vector<int> keys, bool with_ctrl)
    {
        Pump();
        program->calls.clear();
        if (with_ctrl)
            XTestFakeKeyEvent(d, ctrl, True, CurrentTime);
        for (int k : keys)
        {
            XTestFakeKeyEvent(d, keycodes[k], True, CurrentTime);
            XTestFakeKeyEvent(d, keycodes[k], False, CurrentTime);
        }
        if (with_ctrl)
            XTestFakeKeyEvent(d, ctrl, False, CurrentTime);
        XSync(d, False);
        // Until nothing more comes for a while.
        std::string seen;
        for (int quiet = 0; quiet < 20; quiet++)
        {
            SDL_Delay(5);
            Pump();
            if (program->calls != seen)
            {
                seen = program->calls;
                quiet = 0;
            }
        }
        return program->calls;
    };
    EXPECT_EQ(press({0, 1, 2, 3}, false),
              "5:50,0 7:233,0 6:50,0 5:55,0 7:232,0 6:55,0 5:57,0 7:231,0 6:57,0 5:48,0 7:224,0 6:48,0");
    EXPECT_EQ(press({0}, true), "5:50,0 7:50,0 6:50,0");

    for (int i = 0; i < 4; i++)
        XChangeKeyboardMapping(d, keycodes[i], int(kept[i].size()), kept[i].data(), 1);
    XSync(d, False);
}

// Turns of the same delta within one reading of the engine clock are notches
// of a quick spin, each its own; a turn of no delta is none.
TEST_F(Keys, WheelTurnsWithinOneClockReadingAreEachDelivered)
{
    eng_main_current_time = 5;
    EXPECT_EQ(Deliver({Wheel(1), Wheel(1), Wheel(-1), Wheel(-1), Wheel(1), Wheel(0)}),
              "4:1,0 4:1,0 4:-1,0 4:-1,0 4:1,0");
    eng_main_current_time += 0.0005;
    EXPECT_EQ(Deliver({Wheel(1)}), "4:1,0");
    eng_main_current_time += 1.0 / 60;
    EXPECT_EQ(Deliver({Wheel(2), Wheel(2)}), "4:2,0 4:2,0");
}

} // namespace

VZ_TEST_MAIN_FUNCTIONS(program, parms, "Keys")
