// The end-of-run error alert: the log file reaches xdg-open as one untouched
// argument, started without a shell.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "support/TestSupport.h"

using vztest::FileExists;
using vztest::PopupRecorder;
using vztest::ReadFile;
using vztest::ScopedEnv;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

char answer = 1;
int asked = 0;
std::string asked_text;
char Answer(char, const char*, const char* text)
{
    asked++;
    asked_text = text;
    return answer;
}

class ErrorExit : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        saved = eng_ok_cancel_popup_function;
        eng_ok_cancel_popup_function = Answer;
        asked = 0;
        // A fake xdg-open first on PATH writes its arguments, NUL-separated.
        mkdir(dir.File("bin").c_str(), 0755);
        WriteFile(
            dir.File("bin/xdg-open"),
            "#!/bin/sh\nout=\"$VZ_FAKE_OUT\"\nprintf '%s\\n' \"$#\" > \"$out.part\"\n"
            "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$out.part\"; done\nmv \"$out.part\" \"$out\"\n");
        chmod(dir.File("bin/xdg-open").c_str(), 0755);
    }
    void TearDown() override
    {
        eng_ok_cancel_popup_function = saved;
        LogTest::TearDown();
    }
    std::string WaitForOutput()
    {
        for (int i = 0; i < 500 && !FileExists(out); i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ReadFile(out);
    }
    TempDir dir;
    std::string out = dir.File("args");
    ScopedEnv path{"PATH",
                   (dir.File("bin") + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin")).c_str()};
    ScopedEnv fake_out{"VZ_FAKE_OUT", out.c_str()};
    EngOkCancelFunction saved;
};

TEST_F(ErrorExit, OkOpensTheWholeLogPathAsOneArgument)
{
    // Longer than 240 characters, within the log's 255.
    std::string log = dir.File("log \"quoted\" $HOME $(touch pwned) `id` ");
    log += std::string(250 - log.size(), 'L') + ".txt";
    ASSERT_EQ(DebugSetLogFilename(log.c_str(), 1), 1);
    DebugInfo("something went wrong");
    answer = 1;
    EngMainShowErrorAndLogFilePopupOnExit();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(asked_text, "The program had to terminate prematurely.\n\nDo you wish to see the log file ?");
    EXPECT_EQ(WaitForOutput(), "1\n" + log + std::string(1, '\0'));
    EXPECT_FALSE(FileExists(dir.File("pwned")));
}

TEST_F(ErrorExit, CancelOpensNothingAndAMissingLogIsSaid)
{
    std::string log = dir.File("log.txt");
    DebugSetLogFilename(log.c_str(), 1);
    DebugInfo("x");
    answer = 0;
    EngMainShowErrorAndLogFilePopupOnExit();
    EXPECT_EQ(asked, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(FileExists(out));

    PopupRecorder rec;
    DebugSetLogFilename(dir.File("no-folder/log.txt").c_str(), 1);
    EngMainShowErrorAndLogFilePopupOnExit();
    EXPECT_EQ(asked, 1) << "no question without a log file";
    ASSERT_EQ(rec.Popups().size(), 1u);
    EXPECT_EQ(rec.Popups()[0].kind, 2);
    EXPECT_EQ(rec.Popups()[0].title, "Error Running Program");
    EXPECT_EQ(rec.Popups()[0].text,
              "The program had to terminate prematurely. No error logs were generated.");
}

} // namespace
