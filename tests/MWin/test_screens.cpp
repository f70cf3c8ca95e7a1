// The screen manager: hook order, screen changes that rebuild the toolkit's
// collections, popups closed by a change, and the fades.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestFixture.h"
#include "EngMiscTime.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"

using vztest::Logged;

namespace
{
std::vector<std::string>& Events()
{
    static std::vector<std::string> e;
    return e;
}

std::string Code(unsigned c)
{
    return std::string(1, char(c >> 24)) + char(c >> 16) + char(c >> 8) + char(c);
}

const unsigned kMain = EngFourCC('M', 'A', 'I', 'N');
const unsigned kOptn = EngFourCC('O', 'P', 'T', 'N');

// A screen that builds one collection named after its code.
class Screen : public MWinCollectionController
{
public:
    explicit Screen(unsigned c) : code(c) {}
    char CreateCollection(MWin* mw) override
    {
        Events().push_back("create " + Code(code));
        return mw->GetDesktop()->AddCollection(Code(code).c_str()) != nullptr;
    }
    void RemoveVars() override { Events().push_back("stop " + Code(code)); }
    void StartingCB() override { Events().push_back("start " + Code(code)); }
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }
    unsigned code;
};

class Screens : public MWinScreens
{
public:
    Screens(MWin* mw, char fade, char setup_ok = 1) : MWinScreens(mw, fade), ok(setup_ok) {}
    char SetupProgramScreens() override
    {
        AddScreen(kMain, &main_screen);
        AddScreen(kOptn, &options_screen);
        return ok;
    }
    void PreScreensStartCB() override { Events().push_back("pre start"); }
    void PostScreensStartCB(unsigned c) override { Events().push_back("post start " + Code(c)); }
    void PreScreenChangeCB() override { Events().push_back("pre change " + Code(GetCurrentScreen())); }
    void PostScreenChangeCB(unsigned c) override { Events().push_back("post change " + Code(c)); }
    void PostScreensFinishCB() override { Events().push_back("finish"); }
    Screen main_screen{kMain};
    Screen options_screen{kOptn};
    char ok;
};

// Counts full frames; each takes a little time so that a fade can measure it.
class Program : public EngProgram
{
public:
    void RenderCB() override
    {
        frames++;
        EngMiscSleepWithHang(0.005);
    }
    int frames = 0;
};

void NoteResult(MWin*, char, void*)
{
    Events().push_back("popup answered");
}
} // namespace

class ScreensTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        Events().clear();
        eng_main_window = &window;
        mw = new MWin(nullptr);
        mw->Startup();
    }
    void TearDown() override
    {
        delete screens;
        delete mw;
        eng_main_window = nullptr;
        eng_main_frame_rate = 60;
    }
    void Make(char fade, char setup_ok = 1)
    {
        screens = new Screens(mw, fade, setup_ok);
        ASSERT_EQ(mw->GetScreens(), screens);
    }
    bool HasCollection(const char* id) { return mw->GetDesktop()->GetCollectionFromID(id, 0) != nullptr; }

    Program program;
    EngWindow window;
    MWin* mw = nullptr;
    Screens* screens = nullptr;
};

TEST_F(ScreensTest, StartScreenAndStartCallTheirHooksInOrder)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    screens->StartScreen(kMain, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"pre start", "pre change MAIN", "create MAIN", "start MAIN",
                                                  "post change MAIN"}));
    EXPECT_TRUE(screens->AreOn());
    EXPECT_EQ(mw->GetCurrentScreen(), kMain);
    EXPECT_TRUE(HasCollection("MAIN"));

    screens->End(0);
    EXPECT_FALSE(HasCollection("MAIN"));
    EXPECT_EQ(Events().back(), "finish");

    Events().clear();
    screens->Start(0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"pre start", "pre change MAIN", "create MAIN", "start MAIN",
                                                  "post change MAIN", "post start MAIN"}));
}

TEST_F(ScreensTest, GotoAndBackRebuildTheCollections)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    screens->StartScreen(kMain, 0);
    mw->GetDesktop()->AddCollection("Extra");
    Events().clear();
    screens->GotoScreen(kOptn);
    EXPECT_EQ(Events(), (std::vector<std::string>{"stop MAIN", "pre change OPTN", "create OPTN", "start OPTN",
                                                  "post change OPTN"}));
    EXPECT_FALSE(HasCollection("MAIN"));
    EXPECT_FALSE(HasCollection("Extra"));
    EXPECT_TRUE(HasCollection("OPTN"));
    EXPECT_EQ(screens->GetPreviousScreen(), kMain);
    EXPECT_EQ(mw->GetPreviousScreen(), kMain);

    screens->GoBack();
    EXPECT_EQ(screens->GetCurrentScreen(), kMain);
    EXPECT_EQ(screens->GetFromScreen(), kOptn);
    EXPECT_TRUE(HasCollection("MAIN"));
    EXPECT_FALSE(HasCollection("OPTN"));
}

TEST_F(ScreensTest, GotoClosesAnOpenPopupWithoutAnswering)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    screens->StartScreen(kMain, 0);
    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "Leave?", NoteResult, nullptr));
    Events().clear();
    screens->GotoScreen(kOptn);
    EXPECT_FALSE(mw->PopupIsOn());
    EXPECT_EQ(vztest::LogCount("Called when a popup was on. Turning popup off..."), 1);
    EXPECT_EQ(Events().front(), "stop MAIN");
    for (const std::string& e : Events())
        EXPECT_NE(e, "popup answered");
    EXPECT_TRUE(HasCollection("OPTN"));
    EXPECT_FALSE(HasCollection(MWIN_POPUP_COLLECTION_ID));
    EXPECT_TRUE(mw->GetDesktop()->GetCollectionFromID("OPTN", 0)->IsActive());
}

// Deleting the screen set lets the toolkit forget it: the queries no longer
// reach the freed set and a new set can be registered.
TEST_F(ScreensTest, DeletedScreenSetIsForgotten)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    screens->StartScreen(kMain, 0);
    ASSERT_TRUE(mw->AreScreensOn());
    delete screens;
    screens = nullptr;
    EXPECT_FALSE(mw->HasScreens());
    EXPECT_FALSE(mw->AreScreensOn());
    EXPECT_EQ(mw->GetCurrentScreen(), 0u);
    Make(0);
    EXPECT_TRUE(mw->HasScreens());
}

TEST_F(ScreensTest, FailedRegistrationAndUnknownScreens)
{
    Make(0, 0);
    EXPECT_FALSE(screens->SetupAllScreens());
    EXPECT_TRUE(Logged("Could not setup program's screens"));
    EXPECT_FALSE(screens->AddScreen(kMain, &screens->options_screen));
    EXPECT_TRUE(Logged("already exists"));
    // The pre-change hook needs a current screen.
    screens->StartScreen(EngFourCC('N', 'O', 'N', 'E'), 0);
    for (const std::string& e : Events())
        EXPECT_EQ(e.find("pre change"), std::string::npos) << e;
    EXPECT_EQ(mw->GetCurrentScreen(), 0u);
}

TEST_F(ScreensTest, FadesDrawFramesOnlyWhenOnAndAtAUsableRate)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    screens->StartScreen(kMain, 0);
    screens->GotoScreen(kOptn);
    EXPECT_EQ(program.frames, 0);
    delete screens;
    screens = nullptr;

    MWinScreens::DoFade(-1, 0.05);
    EXPECT_GE(program.frames, 2); // the measured frame and at least one step
    EXPECT_LE(program.frames, 1 + 10);

    program.frames = 0;
    eng_main_frame_rate = 1;
    MWinScreens::DoFade(1, 0.15);
    EXPECT_EQ(program.frames, 0);
}

TEST(ScreensFade, StepsFromOneMeasuredFrame)
{
    struct Case
    {
        double seconds, frame;
        int steps;
    };
    const Case cases[] = {
        {0.15, 0.05, 3}, {0.15, 1.0 / 60, 9}, {0.15, 0.2, 0},   {0.15, 0, -1},
        {0, 0.05, -1},   {0.15, -1, -1},      {0.15, 1e-8, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MWinScreens::FadeSteps(c.seconds, c.frame), c.steps) << c.seconds << " " << c.frame;
}
