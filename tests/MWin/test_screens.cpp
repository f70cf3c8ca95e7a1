// The screen manager: hook order, screen changes that rebuild the toolkit's
// collections, popups closed by a change, and the fades.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CoreTestFixture.h"
#include "EngMiscTime.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"
#include "WindowInfo.h"

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

// A screen of one push button, at the same spot on every screen, in a
// full-screen window. Its action is recorded and, on MAIN, goes to OPTN.
class ButtonScreen : public MWinCollectionController
{
public:
    explicit ButtonScreen(unsigned c) : code(c) {}
    char CreateCollection(MWin* mw) override
    {
        MWinCollection* c = mw->GetDesktop()->AddCollection(Code(code).c_str());
        if (!c)
            return 0;
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(0, 0, 640, 480);
        MWinWindow* w = c->AddWindow("W", &info);
        if (!w || !w->AddButton("B", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 100, 100, 100, 40))
            return 0;
        w->SetController(this);
        return 1;
    }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo*) override
    {
        Events().push_back(Code(code) + " pressed");
        if (code == kMain)
            GetScreens(0)->GotoScreen(kOptn);
        return 1;
    }
    unsigned code;
};

class ButtonScreens : public MWinScreens
{
public:
    explicit ButtonScreens(MWin* mw) : MWinScreens(mw, 0) {}
    // The toolkit looks again at what lies under the pointer.
    void PostScreenChangeCB(unsigned) override { GetMWin()->ButtonsChanged(); }
    char SetupProgramScreens() override
    {
        AddScreen(kMain, &main_screen);
        AddScreen(kOptn, &options_screen);
        return 1;
    }
    ButtonScreen main_screen{kMain};
    ButtonScreen options_screen{kOptn};
};

// Counts full frames; each takes a little time so that a fade can measure it.
// Input goes to the toolkit, as an application's would.
class Program : public EngProgram
{
public:
    void RenderCB() override
    {
        frames++;
        EngMiscSleepWithHang(0.005);
    }
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override
    {
        return mwin ? mwin->ProcessInput(type, p1, p2) : 0;
    }
    int frames = 0;
    MWin* mwin = nullptr;
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

// The toolkit's own shortcuts reach the screen set registered with it.
TEST_F(ScreensTest, ToolkitShortcutsDriveTheRegisteredScreens)
{
    Make(0);
    ASSERT_TRUE(screens->SetupAllScreens());
    mw->StartScreensAtScreen(kOptn, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"pre start", "pre change OPTN", "create OPTN", "start OPTN",
                                                  "post change OPTN"}));
    EXPECT_TRUE(screens->AreOn());
    EXPECT_EQ(mw->GetCurrentScreen(), kOptn);

    Events().clear();
    mw->GotoScreen(kMain);
    EXPECT_EQ(Events(), (std::vector<std::string>{"stop OPTN", "pre change MAIN", "create MAIN", "start MAIN",
                                                  "post change MAIN"}));
    EXPECT_EQ(mw->GetPreviousScreen(), kOptn);
    EXPECT_TRUE(HasCollection("MAIN"));
    EXPECT_FALSE(HasCollection("OPTN"));

    Events().clear();
    mw->GoBackToPreviousScreen();
    EXPECT_EQ(Events(), (std::vector<std::string>{"stop MAIN", "pre change OPTN", "create OPTN", "start OPTN",
                                                  "post change OPTN"}));
    EXPECT_EQ(mw->GetCurrentScreen(), kOptn);
    EXPECT_TRUE(HasCollection("OPTN"));
    EXPECT_FALSE(HasCollection("MAIN"));

    // A code that is not registered changes nothing.
    Events().clear();
    mw->GotoScreen(EngFourCC('N', 'O', 'N', 'E'));
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(mw->GetCurrentScreen(), kOptn);
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

// Clicks as the platform reports them through the window: a press and a
// release each, with the count of quick clicks in a row. A click that changes
// the screen keeps the rest of its sequence from the new one.
TEST_F(ScreensTest, ClicksThatGoOnFromTheScreenBeforeReachNothing)
{
    EngWindow platform(&program, "t");
    eng_main_window = &platform;
    program.mwin = mw;
    // The pointer rests on the button.
    mw->SetGetCursorPosCB(
        [](int* x, int* y, void*, void*) {
            *x = 150;
            *y = 120;
        },
        nullptr, nullptr);
    std::unique_ptr<ButtonScreens> set;
    struct Step
    {
        int button; // 0 left, 1 right; -1: a double-click event of the left button
        int clicks;
    };
    struct Case
    {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::string> pressed;
    } cases[] = {
        {"a double click", {{0, 1}, {0, 2}}, {"MAIN pressed"}},
        {"a triple click", {{0, 1}, {0, 2}, {0, 3}}, {"MAIN pressed"}},
        {"a new click after a double click", {{0, 1}, {0, 2}, {0, 1}}, {"MAIN pressed", "OPTN pressed"}},
        {"two single clicks", {{0, 1}, {0, 1}}, {"MAIN pressed", "OPTN pressed"}},
        {"a right click between", {{0, 1}, {1, 1}, {0, 2}}, {"MAIN pressed"}},
        {"a double-click event", {{0, 1}, {-1, 2}}, {"MAIN pressed"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        set.reset();
        set.reset(new ButtonScreens(mw));
        ASSERT_TRUE(set->SetupAllScreens());
        set->StartScreen(kMain, 0);
        platform.MsgsMouseMove(150, 120);
        Events().clear();
        for (const Step& s : c.steps)
        {
            if (s.button < 0)
            {
                mw->ProcessInput(ENG_INPUT_DOUBLE_CLICK, 0, 0);
                continue;
            }
            platform.MsgsMouseButtonPress(s.button, 1, s.clicks);
            platform.MsgsMouseButtonPress(s.button, 0, s.clicks);
        }
        EXPECT_EQ(Events(), c.pressed);
        EXPECT_EQ(set->GetCurrentScreen(), kOptn);
    }
    set.reset();
    program.mwin = nullptr;
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
