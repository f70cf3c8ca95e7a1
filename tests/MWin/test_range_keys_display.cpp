// A focused range operated by arrow keys and their modifiers, pushed as SDL
// events into a real engine window and routed through the toolkit.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <vector>

#include "MWin/MWinButton.h"
#include "support/SdlEvents.h"
#include "support/TestMainFunctions.h"
#include "ToolkitWindowFixture.h"

namespace
{

using namespace vztest::sdl;

// The modifier's key goes down, then the arrow is pressed and released, then
// the modifier comes up.
std::vector<SDL_Event> Arrow(SDL_Keycode arrow, SDL_Keycode modifier = 0, Uint16 mod = 0)
{
    std::vector<SDL_Event> events;
    if (modifier)
        events.push_back(Key(true, modifier, mod));
    events.push_back(Key(true, arrow, mod));
    events.push_back(Key(false, arrow, mod));
    if (modifier)
        events.push_back(Key(false, modifier, 0));
    return events;
}

class RangeKeys : public vztest::ToolkitWindowTest
{
protected:
    void SetUp() override
    {
        ToolkitWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        range = win->AddButton("range", MWIN_BUTTON_RANGE, MWIN_TEXBUT_DEFAULT, "", 100, 200, 300, 40);
        ASSERT_NE(range, nullptr);
        ASSERT_TRUE(range->RangeSetLimits(0, 100, 10));
        range->Activate();
    }

    MWinButton* range = nullptr;
};

TEST_F(RangeKeys, ModifiersPickTheEndsAnArrowMoves)
{
    const struct
    {
        const char* name;
        std::vector<SDL_Event> events;
        float lower, upper;
    } cases[] = {
        {"right moves both ends", Arrow(SDLK_RIGHT), 21, 41},
        {"Shift+right moves the upper end", Arrow(SDLK_RIGHT, SDLK_LSHIFT, KMOD_LSHIFT), 20, 41},
        {"Control (Super)+right moves the lower end", Arrow(SDLK_RIGHT, SDLK_LGUI, KMOD_LGUI), 21, 40},
        {"Control (Super)+left moves the lower end", Arrow(SDLK_LEFT, SDLK_RGUI, KMOD_RGUI), 19, 40},
        {"Control+Shift+left still moves the lower end", Arrow(SDLK_LEFT, SDLK_LGUI, KMOD_LGUI | KMOD_LSHIFT),
         19, 40},
        {"Option (Alt)+left moves both ends", Arrow(SDLK_LEFT, SDLK_LALT, KMOD_LALT), 19, 39},
        // The window leaves Command's keys to the program.
        {"Command (Ctrl)+left changes nothing", Arrow(SDLK_LEFT, SDLK_LCTRL, KMOD_LCTRL), 20, 40},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        range->RangeSetRange(20, 40, 0, 0);
        Pump();
        for (SDL_Event e : c.events)
            SDL_PushEvent(&e);
        Pump();
        EXPECT_FLOAT_EQ(range->RangeGetInfo()->lower, c.lower);
        EXPECT_FLOAT_EQ(range->RangeGetInfo()->upper, c.upper);
    }
}

} // namespace

VZ_TEST_MAIN_FUNCTIONS(vztest::toolkit_program, vztest::toolkit_parms, "Range keys")
