// A failed check inside SDL, once the engine has started SDL: the program goes
// on and no box helper program starts. A program of its own, so that it forks
// its child from a process in which no GTK box ever ran.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "Linux/EngMisc_LNX.h"
#include "support/FakeBoxHelper.h"
#include "support/TestSupport.h"

namespace
{

class SdlChecks : public vztest::LogTest
{
};

TEST_F(SdlChecks, GoOnAndShowNoBox)
{
    vztest::FakeBoxHelper helper;
    const std::string r = vztest::RunInChild(
        []
        {
            if (!EngMiscStartVideo_LNX())
                return std::string("no video");
            static SDL_AssertData check = {0, 0, "SDL's own check", nullptr, 0, nullptr, nullptr};
            const SDL_AssertState state = SDL_ReportAssertion(&check, "a function", "a file", 1);
            return std::string(state == SDL_ASSERTION_IGNORE || state == SDL_ASSERTION_ALWAYS_IGNORE ? "went on"
                                                                                                    : "stopped");
        });
    EXPECT_EQ("went on", r);
    EXPECT_FALSE(helper.Ran()) << helper.Starts();
}

} // namespace
