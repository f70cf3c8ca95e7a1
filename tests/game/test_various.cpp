// Opening pages: URL limits, asking through the toolkit's popup, leaving full
// screen, and opening after the program has ended. The desktop opener is
// replaced by a recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "game/OnlineHooks.h"
#include "game/Various.h"
#include "support/TestSupport.h"

namespace
{

struct Recorder
{
    std::vector<std::string> opened, events;
};
Recorder* rec = nullptr;

char RecordOpen(const char* url)
{
    rec->opened.push_back(url);
    rec->events.push_back("open");
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
        online_hooks_toggle_fullscreen = RecordToggle;
        saved_windowed = eng_main_window_windowed;
        various_online_str[0] = 0;
    }
    void TearDown() override
    {
        online_hooks_open = nullptr;
        online_hooks_toggle_fullscreen = nullptr;
        eng_main_window_windowed = saved_windowed;
        OnlineSetSiteRoot(nullptr);
        rec = nullptr;
        LogTest::TearDown();
    }
    vztest::TempDir dir;
    Recorder r;
    char saved_windowed = 1;
};

// A started toolkit with a screen window behind its popups.
struct Toolkit
{
    MWin mw{nullptr};
    Toolkit()
    {
        mw.Startup();
        MWinCollection* coll = mw.GetDesktop()->AddCollection("Screen");
        _MWinWindowCreateInfo info;
        MWinWindowCreateInfoDefaults(&info);
        info.w = 640;
        info.h = 480;
        MWinWindow* w = coll->AddWindow("Screen", &info);
        coll->Activate();
        w->Activate();
    }
    // The popup's text, "" without a popup.
    std::string Shown()
    {
        _MWinPopupSettings* s = MWinPopupGetSettings(&mw);
        return mw.PopupIsOn() && s->msg ? s->msg->GetTextP() : "";
    }
    // Answers with a key as the player does; the answer runs at the next tick.
    void Answer(int key)
    {
        mw.ProcessInput(ENG_INPUT_KEY_DOWN, key, 0);
        mw.Tick2();
    }
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
}

TEST_F(VariousTest, AskingBeforeOpeningThroughTheToolkitPopup)
{
    const int OK = 13, CANCEL = 27; // Return and Escape
    struct Case
    {
        char windowed, exit;
        const char* question;
        int key;
        const char* expect_text;
        std::vector<std::string> expect_events;
    } cases[] = {
        {0, 0, nullptr, OK, "Go Online ?", {"toggle", "open"}},
        {0, 0, nullptr, CANCEL, "Go Online ?", {}},
        {1, 0, "Visit?", OK, "Visit?", {"open"}},
        {1, 1, nullptr, OK, "Exit Program and Go Online ?", {"exit", "open"}},
        {1, 1, nullptr, CANCEL, "Exit Program and Go Online ?", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.windowed) << int(c.exit) << c.key);
        r = Recorder();
        eng_main_window_windowed = c.windowed;
        ProgramWatch p;
        Toolkit gui;
        VariousGoOnline(&gui.mw, c.question, "http://127.0.0.1:9/page", 1, 1, c.exit, c.exit);
        EXPECT_EQ(gui.Shown(), c.expect_text);
        EXPECT_TRUE(r.events.empty()) << "nothing happens before the answer";
        gui.Answer(c.key);
        EXPECT_FALSE(gui.mw.PopupIsOn());
        EXPECT_EQ(c.expect_events, r.events);
        if (!r.opened.empty())
        {
            EXPECT_EQ("http://127.0.0.1:9/page", r.opened[0]);
        }
        p.Exit(1);
    }
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
