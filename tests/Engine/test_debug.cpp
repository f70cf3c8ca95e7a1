// The debug log: line formats, truncation, the ring, the log file, fatal paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "support/TestSupport.h"

using vztest::ReadFile;
using vztest::TempDir;

namespace
{

class DebugLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        ASSERT_TRUE(DebugSetLogFilename(dir.File("log.txt").c_str(), 1));
    }
    void TearDown() override { DebugResetForTests(); }
    std::string LastLine()
    {
        _DebugMsg* m = DebugGetMessage(DebugGetNumMessages() - 1);
        return m ? m->text : "";
    }
    TempDir dir;
};

struct LineCase
{
    const char* name;
    void (*log)();
    const char* line;
};

TEST_F(DebugLog, EachKindStoresItsExactLine)
{
    const LineCase cases[] = {
        {"error alt",
         [] { DebugErrorAlt("char EngFile::Write(const void*, EngUInt32)", "File is not open"); },
         " <ERROR>  ( EngFile::Write )    File is not open"},
        {"error", [] { DebugError("f()", "x %d", 1); }, " <ERROR>  ( f() )    x 1"},
        {"warning", [] { DebugWarning("f", "w"); }, "<WARNING> ( f )    w"},
        {"info", [] { DebugInfo("hello %s", "there"); }, " :  hello there"},
        {"info alt", [] { DebugInfoAlt("void EngMainCallExit(int)", "Exiting."); },
         " :  EngMainCallExit > Exiting."},
        {"note", [] { DebugNote(DEBUG_NOTE_NOT_IMPLEMENTED, "Not implemented."); }, " *  Not implemented."},
        {"plain", [] { DebugPlainText("EXITING DUE TO FOLLOWING ERROR:"); },
         "EXITING DUE TO FOLLOWING ERROR:"},
        {"game info", [] { DebugGameInfo("Viz", "started"); }, " :  Viz:started"},
        {"game func", [] { DebugGameFuncInfo("Viz", "int A::b()", "t"); }, " :  Viz: A::b > t"},
        {"game error", [] { DebugGameError("Viz", "int A::b()", "t"); }, " <ERROR>  Viz: A::b > t"},
        {"game note", [] { DebugGameNote(3, nullptr, "int A::b()", "t"); }, " *  A::b > t"},
        {"printf2", [] { DebugPrintf2(DEBUG_MSG_WARNING, "g", "t"); }, "<WARNING> ( g )    t"},
    };
    for (const LineCase& c : cases)
    {
        c.log();
        EXPECT_EQ(LastLine(), c.line) << c.name;
    }
    std::string expected_file;
    for (const LineCase& c : cases)
        expected_file += std::string(c.line) + "\n";
    EXPECT_EQ(ReadFile(dir.File("log.txt")), expected_file);
}

TEST_F(DebugLog, ShortFunctionNames)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"char EngFile::Write(const void*, EngUInt32)", "EngFile::Write"},
        {"ENG_CHAR* PrefFolderGetMainFolder()", "PrefFolderGetMainFolder"},
        {"EngFile::~EngFile()", "EngFile::"},
        {"NoParenthesis", "NoParenthesis"},
        {"", ""},
    };
    for (const auto& c : cases)
    {
        const char* s = DebugGetShortFuncName(c.in);
        EXPECT_STREQ(s, c.out) << c.in;
        DebugFreeShortFuncName(s, c.in);
    }
}

TEST_F(DebugLog, LongTextsAreTruncated)
{
    std::string exact(482 - 6, 'a');
    DebugPlainText("%s", (std::string("123456") + exact).c_str());
    EXPECT_EQ(LastLine().size(), 482u);

    std::string long_text(483, 'b');
    DebugPlainText("%s", long_text.c_str());
    EXPECT_EQ(LastLine(), std::string(462, 'b') + " ... (TRUNCATED)");
}

TEST_F(DebugLog, RingWrapsAt200To100)
{
    for (int i = 0; i < 199; i++)
        DebugInfo("line %d", i);
    EXPECT_EQ(DebugGetNumMessages(), 199);
    DebugInfo("line 199");
    EXPECT_EQ(DebugGetNumMessages(), 100);
    EXPECT_STREQ(DebugGetMessage(0)->text, "--- LOGS REMOVED ---");
    EXPECT_STREQ(DebugGetMessage(1)->text, " :  line 1");
    std::string file = ReadFile(dir.File("log.txt"));
    EXPECT_NE(file.find(" :  line 199\n"), std::string::npos) << "the file keeps every line";
    DebugInfo("after");
    EXPECT_STREQ(DebugGetMessage(100)->text, " :  after");
}

TEST_F(DebugLog, FirstLineReplacesOldFileLaterLinesAppend)
{
    vztest::WriteFile(dir.File("old.txt"), "old contents\n");
    DebugResetForTests();
    DebugSetLogFilename(dir.File("old.txt").c_str(), 0);
    DebugInfo("one");
    DebugInfo("two");
    EXPECT_EQ(ReadFile(dir.File("old.txt")), " :  one\n :  two\n");

    DebugResetForTests();
    DebugSetLogFilename(dir.File("old.txt").c_str(), 0);
    DebugAppendToExistingLogFile();
    DebugInfo("three");
    EXPECT_EQ(ReadFile(dir.File("old.txt")), " :  one\n :  two\n :  three\n");
}

TEST_F(DebugLog, ErrorsFromSeveralThreadsAreAllWritten)
{
    const int per_thread = 400;
    void (*const loggers[])(int) = {
        [](int i) { DebugError("one", "error %d", i); },
        [](int i) { DebugErrorAlt("void Two()", "error %d", i); },
        [](int i) { DebugGameError("game", "void Three()", "error %d", i); },
    };
    std::vector<std::thread> threads;
    for (auto log : loggers)
        threads.emplace_back([log] {
            for (int i = 0; i < per_thread; i++)
                log(i);
        });
    for (auto& t : threads)
        t.join();
    std::string text = ReadFile(dir.File("log.txt"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 * per_thread);
    for (const char* origin : {"( one )", "( Two )", "game: Three >"})
    {
        std::string last = std::string(origin) + "    error " + std::to_string(per_thread - 1);
        if (origin[0] == 'g')
            last = std::string(origin) + " error " + std::to_string(per_thread - 1);
        EXPECT_NE(text.find(last), std::string::npos) << last;
    }
}

TEST_F(DebugLog, EmptyTextIsNotStoredButCallbackSeesStoredLines)
{
    static std::vector<std::string> seen;
    seen.clear();
    DebugSetExtraMessageLogCallback([](char* line) { seen.push_back(line); });
    DebugInfo("%s", "");
    EXPECT_EQ(DebugGetNumMessages(), 0);
    DebugInfo("x");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], " :  x");
}

TEST_F(DebugLog, CheckOkAndPeriodicRules)
{
    EXPECT_EQ(DebugCheckOk(1, "f", "never"), 1);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(DebugCheckOk(0, "f", "bad"), 0);
    EXPECT_EQ(DebugGetNumMessages(), 1);

    double next = 0;
    eng_main_current_time = 5;
    EXPECT_EQ(DebugInfoPeriodically(&next, 2, "tick"), 1);
    EXPECT_EQ(next, 7);
    EXPECT_EQ(DebugInfoPeriodically(&next, 2, "tick"), 0);
    EXPECT_EQ(DebugInfoPeriodically(nullptr, 2, "tick"), 0);
    eng_main_current_time = 0;
}

TEST_F(DebugLog, LogFilenameLimits)
{
    std::string name255(255, 'n');
    EXPECT_EQ(DebugSetLogFilename(name255.c_str(), 0), 1);
    EXPECT_EQ(std::string(DebugGetLogFilename()), name255);
    std::string name256(256, 'n');
    EXPECT_EQ(DebugSetLogFilename(name256.c_str(), 0), 0);
    EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
    DebugSetLogFilename(dir.File("log.txt").c_str(), 0);
}

TEST_F(DebugLog, SetMessageTextRefusesBadIndex)
{
    DebugInfo("a");
    DebugSetMessageText(0, "replaced %d", 7);
    EXPECT_STREQ(DebugGetMessage(0)->text, "replaced 7");
    DebugSetMessageText(200, "no");
    DebugSetMessageText(-1, "no");
    EXPECT_NE(LastLine().find("Invalid message index"), std::string::npos);
}

TEST_F(DebugLog, PopupNeedsARunningProgram)
{
    vztest::PopupRecorder rec;
    DebugPopup("f", "nobody");
    EXPECT_TRUE(rec.Popups().empty());
    {
        EngProgram program;
        DebugPopup("f", "shown %d", 1);
        ASSERT_EQ(rec.Popups().size(), 1u);
        EXPECT_EQ(rec.Popups()[0].title, "Warning");
        EXPECT_EQ(rec.Popups()[0].text, "( f )     shown 1");
        EXPECT_EQ(LastLine(), " <POPUP>  ( f )     shown 1");
    }
}

// In the child, boxes are written to standard error so the parent can see them.
void PopupToStderr(char kind, const char* title, const char* text)
{
    fprintf(stderr, "BOX %d [%s] [%s]\n", kind, title, text);
}

TEST(DebugLogDeath, AssertAltEndsTheProgramWithTheBoxRecorded)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            eng_popup_function = PopupToStderr;
            EngProgram program;
            DebugAssertAlt(0, "void A::b()", "broken %d", 3);
            // Not reached.
            _exit(0);
        },
        ::testing::ExitedWithCode(255),
        "BOX 2 \\[INTERNAL PROGRAM ERROR\\] \\[Reason:\n\n\\( A::b \\)    broken 3\\]");
}

TEST(DebugLogDeath, ExitPopupEndsTheProgram)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            eng_popup_function = PopupToStderr;
            EngProgram program;
            DebugExitPopup("f", "fatal");
            _exit(0);
        },
        ::testing::ExitedWithCode(255), "BOX 2 \\[INTERNAL PROGRAM ERROR\\] \\[\\( f \\)     fatal\\]");
}

} // namespace
