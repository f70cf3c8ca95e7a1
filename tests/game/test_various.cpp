// Opening pages: URL limits, asking, leaving full screen, and opening after
// the program has ended. The desktop opener is replaced by a recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "game/OnlineHooks.h"
#include "game/Various.h"
#include "support/TestSupport.h"

namespace
{

struct Recorder
{
    std::vector<std::string> opened, asked, events;
    OnlinePopupResultCB cb = nullptr;
};
Recorder* rec = nullptr;

char RecordOpen(const char* url)
{
    rec->opened.push_back(url);
    rec->events.push_back("open");
    return 1;
}
char RecordPopup(MWin*, const char* text, OnlinePopupResultCB cb, void*)
{
    rec->asked.push_back(text);
    rec->cb = cb;
    return 1;
}
void RecordToggle()
{
    rec->events.push_back("toggle");
    eng_main_window_windowed = 1;
}

class ProgramWatch : public EngProgram
{
public:
    void ExitCB() override { rec->events.push_back("exit"); }
};

class VariousTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        rec = &r;
        online_hooks_open = RecordOpen;
        online_hooks_popup_ok_cancel = RecordPopup;
        online_hooks_toggle_fullscreen = RecordToggle;
        saved_windowed = eng_main_window_windowed;
        various_online_str[0] = 0;
    }
    void TearDown() override
    {
        online_hooks_open = nullptr;
        online_hooks_popup_ok_cancel = nullptr;
        online_hooks_toggle_fullscreen = nullptr;
        eng_main_window_windowed = saved_windowed;
        OnlineSetSiteRoot(nullptr);
        rec = nullptr;
        LogTest::TearDown();
    }
    vztest::TempDir dir;
    Recorder r;
    char saved_windowed = 1;
    MWin* gui = reinterpret_cast<MWin*>(&r); // only passed through
};

TEST_F(VariousTest, UrlLengthLimit)
{
    eng_main_window_windowed = 1;
    std::string ok = "http://h/" + std::string(506 - 9, 'a');
    std::string too_long = ok + "b";
    EXPECT_EQ(1, VariousGoOnline(nullptr, nullptr, ok.c_str(), 0, 0, 0, 0));
    EXPECT_EQ(0, VariousGoOnline(nullptr, nullptr, too_long.c_str(), 0, 0, 0, 0));
    EXPECT_EQ(0, VariousGoOnline(nullptr, nullptr, "", 0, 0, 0, 0));
    ASSERT_EQ(1u, r.opened.size());
    EXPECT_EQ(ok, r.opened[0]);
}

TEST_F(VariousTest, SitePageOpensAtOnceInAWindowAndAfterExitInFullScreen)
{
    OnlineSetSiteRoot("http://127.0.0.1:9");
    eng_main_window_windowed = 1;
    {
        ProgramWatch p;
        VariousGoOnlineToKestrelbay(nullptr, nullptr, "vizavu", 1, 0, 1, 0);
        EXPECT_EQ(std::vector<std::string>{"open"}, r.events);
        EXPECT_EQ(eng_main_program, &p);
        p.Exit(1);
    }
    r.events.clear(), r.opened.clear();
    eng_main_window_windowed = 0;
    {
        ProgramWatch p;
        VariousGoOnlineToKestrelbay(nullptr, nullptr, "vizavu", 1, 0, 1, 0);
        EXPECT_EQ((std::vector<std::string>{"exit", "open"}), r.events);
        EXPECT_EQ(nullptr, eng_main_program);
    }
    ASSERT_EQ(1u, r.opened.size());
    EXPECT_EQ("http://127.0.0.1:9/vizavu", r.opened[0]);
    EXPECT_TRUE(r.asked.empty());
}

TEST_F(VariousTest, AskingBeforeOpening)
{
    struct Case
    {
        char windowed, exit;
        const char* question;
        char answer;
        const char* expect_text;
        std::vector<std::string> expect_events;
    } cases[] = {
        {0, 0, nullptr, 1, "Go Online ?", {"toggle", "open"}},
        {0, 0, nullptr, 0, "Go Online ?", {}},
        {1, 0, "Visit?", 1, "Visit?", {"open"}},
        {1, 1, nullptr, 1, "Exit Program and Go Online ?", {"exit", "open"}},
        {1, 1, nullptr, 2, "Exit Program and Go Online ?", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.windowed) << int(c.exit) << int(c.answer));
        r = Recorder();
        eng_main_window_windowed = c.windowed;
        ProgramWatch p;
        VariousGoOnline(gui, c.question, "http://127.0.0.1:9/page", 1, 1, c.exit, c.exit);
        ASSERT_EQ(1u, r.asked.size());
        EXPECT_EQ(c.expect_text, r.asked[0]);
        EXPECT_TRUE(r.events.empty()) << "nothing happens before the answer";
        r.cb(gui, c.answer, nullptr);
        EXPECT_EQ(c.expect_events, r.events);
        if (!r.opened.empty())
        {
            EXPECT_EQ("http://127.0.0.1:9/page", r.opened[0]);
        }
        p.Exit(1);
    }
}

TEST_F(VariousTest, WithoutPopupsTheQuestionIsNotAnswered)
{
    online_hooks_popup_ok_cancel = nullptr;
    eng_main_window_windowed = 1;
    VariousGoOnline(gui, nullptr, "http://127.0.0.1:9/", 1, 1, 0, 0);
    EXPECT_TRUE(r.opened.empty());
}

TEST_F(VariousTest, ClipboardRefusesBadArguments)
{
    char buf[4];
    EXPECT_EQ(0, VariousCopyClipboardFromString(nullptr));
    EXPECT_EQ(0, VariousCopyClipboardFromString(""));
    EXPECT_EQ(0, VariousPasteClipboardToString(nullptr, 10));
    EXPECT_EQ(0, VariousPasteClipboardToString(buf, 1));
}

} // namespace
