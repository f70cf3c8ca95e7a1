// Platform helpers: home-folder expansion of paths and the processor-use line.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "EngDebug.h"
#include "EngMiscPlatform.h"
#include "EngProgram.h"
#include "support/TestSupport.h"

namespace
{

class PlatformHelpers : public vztest::LogTest
{
};

TEST_F(PlatformHelpers, TildeExpandsToTheHomeFolderOfTheUserNamed)
{
    vztest::ScopedEnv home("HOME", "/home/tester");
    const struct passwd* me = getpwuid(getuid());
    ASSERT_NE(me, nullptr);
    const std::string user = me->pw_name, user_home = me->pw_dir;
    const struct
    {
        std::string in;
        std::string want; // empty: no expansion possible
    } cases[] = {
        {"~", "/home/tester"},
        {"~/Downloads", "/home/tester/Downloads"},
        {"~" + user, user_home},
        {"~" + user + "/Downloads", user_home + "/Downloads"},
        {"~no_such_user_vz/Downloads", ""},
        {"/data/~/x", "/data/~/x"},
        {"relative/path", "relative/path"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.in);
        char* out = CreatePathByExpandingTildePath(c.in.c_str());
        if (c.want.empty())
            EXPECT_EQ(out, nullptr);
        else
        {
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(std::string(out), c.want);
        }
        free(out);
    }
}

TEST_F(PlatformHelpers, ProcessorUseIsLoggedEveryTwoSeconds)
{
    eng_main_frame_rate = 60;
    struct
    {
        const char* name;
        double at;
        int lines;
    } steps[] = {
        {nullptr, 100, 0},
        {"vizavu", 100, 1},
        {"vizavu", 101.5, 1},
        {"vizavu", 102, 2},
    };
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.at);
        eng_main_current_time = s.at;
        EngMiscShowFrameRatePeriodically(s.name);
        EXPECT_EQ(vztest::LogCount("CPU: "), s.lines);
    }
    const std::string line = LastLine();
    EXPECT_EQ(line.rfind(" :  CPU: vizavu ", 0), 0u) << line;
    EXPECT_NE(line.find("%   FR: 60.00"), std::string::npos) << line;
}

} // namespace
