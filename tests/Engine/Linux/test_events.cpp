// Hand-made SDL events turned into input callbacks and key states.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "support/SdlEvents.h"
#include "support/TestSupport.h"

namespace
{

using namespace vztest::sdl;

class InputRecorder : public EngProgram
{
public:
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override
    {
        calls += (calls.empty() ? "" : " ") + std::to_string(int(type)) + ":" + std::to_string(p1) + "," +
                 std::to_string(p2);
        return 0;
    }
    std::string calls;
};

SDL_Event Wheel(int y)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    return e;
}

SDL_Event Motion(int x, int y)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

struct KeyState
{
    int code;
    char value;
};

struct Case
{
    const char* name;
    std::vector<SDL_Event> events;
    const char* calls;
    std::vector<KeyState> keys;
};

class Events : public vztest::LogTest
{
};

TEST_F(Events, SdlEventsGiveTheEngineInput)
{
    const Case cases[] = {
        {"a",
         {Key(true, SDLK_a, 0), Text("a"), Key(false, SDLK_a, 0)},
         "5:65,0 7:97,0 6:65,0",
         {{65, 0}, {228, 0}}},
        {"shift A", {Key(true, SDLK_a, KMOD_LSHIFT), Text("A")}, "5:65,0 7:65,0", {{65, 2}, {228, 2}}},
        {"caps lock does not stick shift",
         {Key(true, SDLK_a, KMOD_CAPS), Text("A"), Key(false, SDLK_a, KMOD_CAPS)},
         "5:65,0 7:65,0 6:65,0",
         {{228, 0}}},
        {"ctrl 5",
         {Key(true, SDLK_5, KMOD_LCTRL), Text("5")},
         "5:53,0 7:53,0",
         {{231, 2}, {229, 0}, {53, 2}}},
        {"ctrl a keeps the case", {Key(true, SDLK_a, KMOD_LCTRL)}, "5:65,0 7:97,0", {{231, 2}}},
        {"option", {Key(true, SDLK_x, KMOD_LALT)}, "5:88,0", {{230, 2}, {231, 0}}},
        {"backspace and F1 send characters",
         {Key(true, SDLK_BACKSPACE, 0), Key(true, SDLK_F1, 0), Key(true, SDLK_F12, 0)},
         "5:127,0 7:127,0 5:232,0 7:232,0 5:243,0 7:243,0",
         {}},
        {"keys without characters",
         {Key(true, SDLK_LEFT, 0), Key(true, SDLK_DOWN, 0), Key(true, SDLK_PAGEUP, 0),
          Key(true, SDLK_PAGEDOWN, 0), Key(true, SDLK_HOME, 0), Key(true, SDLK_END, 0),
          Key(true, SDLK_DELETE, 0), Key(true, SDLK_RETURN, 0), Key(true, SDLK_KP_ENTER, 0),
          Key(true, SDLK_ESCAPE, 0), Key(true, SDLK_TAB, 0)},
         "5:244,0 5:247,0 5:248,0 5:249,0 5:250,0 5:251,0 5:8,0 5:13,0 5:13,0 5:27,0 5:9,0",
         {}},
        {"latin-1 text kept, others as a placeholder",
         {Text("\xc3\xa9\xe2\x82\xac!\xc3\xba")},
         "7:233,0 7:63,0 7:33,0 7:250,0",
         {}},
        {"mouse",
         {Motion(12, 34), Button(true, SDL_BUTTON_RIGHT, 1), Button(false, SDL_BUTTON_LEFT, 2),
          Button(true, SDL_BUTTON_MIDDLE, 1), Wheel(-2), Wheel(0)},
         "1:12,34 2:1,1 2:0,0 2:2,1 4:-2,0",
         {{254, 2}, {253, 0}, {255, 2}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        InputRecorder program;
        EngWindow window(&program, "events");
        for (SDL_Event e : c.events)
            EngEventsHandleEvent_LNX(&window, &e);
        EXPECT_EQ(program.calls, c.calls);
        for (const KeyState& k : c.keys)
            EXPECT_EQ(eng_key_down[k.code], k.value) << k.code;
        EXPECT_FALSE(program.IsExiting());
    }
}

// A program that answers the player's quit with stay.
class StayingProgram : public InputRecorder
{
public:
    char PlayerQuitCB() override
    {
        asked++;
        return stay ? 0 : 1;
    }
    bool stay = false;
    int asked = 0;
};

TEST_F(Events, QuitPathsAskTheProgramOnlyWhenThePlayerQuits)
{
    SDL_Event close;
    memset(&close, 0, sizeof(close));
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_Event quit;
    memset(&quit, 0, sizeof(quit));
    quit.type = SDL_QUIT;
    const struct
    {
        const char* name;
        SDL_Event event;
        bool players;
    } cases[] = {
        {"Ctrl+Q", Key(true, SDLK_q, KMOD_LCTRL), true},
        {"window close", close, true},
        {"system quit", quit, false},
    };
    for (const auto& c : cases)
        for (bool stay : {false, true})
        {
            SCOPED_TRACE(std::string(c.name) + (stay ? ", program stays" : ", program agrees"));
            StayingProgram program;
            program.stay = stay;
            EngWindow window(&program, "events");
            SDL_Event e = c.event;
            EngEventsHandleEvent_LNX(&window, &e);
            bool quits = !c.players || !stay;
            EXPECT_EQ(program.IsExiting() != 0, quits);
            EXPECT_EQ(window.IsQuitRequested() != 0, quits);
            EXPECT_EQ(program.asked, c.players ? 1 : 0);
            EXPECT_EQ(program.calls, "");
        }
}

TEST_F(Events, QueuedMouseMotionIsCoalescedUpToTheNextOtherEvent)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (SDL_Event e : {Motion(1, 1), Motion(2, 2), Button(true, SDL_BUTTON_LEFT, 1), Motion(3, 3)})
        SDL_PushEvent(&e);
    InputRecorder program;
    EngWindow window(&program, "events");
    SDL_Event first = Motion(0, 0);
    EngEventsHandleEvent_LNX(&window, &first);
    SDL_Event e;
    while (SDL_PollEvent(&e))
        EngEventsHandleEvent_LNX(&window, &e);
    EXPECT_EQ(program.calls, "1:2,2 2:0,1 1:3,3");
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

} // namespace
