// The screen manager with fake controllers and a fake toolkit.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngScreens.h"
#include "EngToolkitHooks.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

std::string events;
char toolkit_on;

class FakeController : public MWinCollectionController
{
public:
    explicit FakeController(char n) : name(n) {}
    char CreateCollection(MWin*) override
    {
        events += std::string("C") + name;
        return 1;
    }
    void RemoveVars() override { events += std::string("X") + name; }
    void StartingCB() override { events += std::string("S") + name; }
    void TickCB() override { events += std::string("T") + name; }
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }
    char name;
};

constexpr unsigned A = EngFourCC('S', 'C', 'R', 'A');
constexpr unsigned B = EngFourCC('S', 'C', 'R', 'B');
constexpr unsigned C = EngFourCC('S', 'C', 'R', 'C');

class Screens : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        events.clear();
        toolkit_on = 0;
        eng_toolkit_hooks.is_on = [](MWin*) { return toolkit_on; };
        eng_toolkit_hooks.startup = [](MWin*)
        {
            events += "[up]";
            toolkit_on = 1;
            return char(1);
        };
        eng_toolkit_hooks.shutdown = [](MWin*)
        {
            events += "[down]";
            toolkit_on = 0;
        };
        eng_toolkit_hooks.tick2 = [](MWin*) { events += "[tick2]"; };
        eng_toolkit_hooks.buttons_changed = nullptr;
        for (FakeController* c : {&a, &b, &c})
            c->SetScreens(reinterpret_cast<MWinScreens*>(&owner));
        ASSERT_TRUE(screens.Add(A, &a));
        ASSERT_TRUE(screens.Add(B, &b));
        ASSERT_TRUE(screens.Add(C, &c));
    }
    void TearDown() override
    {
        eng_toolkit_hooks = {};
        LogTest::TearDown();
    }

    int owner = 0;
    int fake_mwin = 0;
    MWin* mwin = reinterpret_cast<MWin*>(&fake_mwin);
    FakeController a{'A'}, b{'B'}, c{'C'};
    EngScreens screens{mwin, &owner};
};

TEST_F(Screens, GoingBackReturnsToTheScreenWeCameFrom)
{
    ASSERT_TRUE(screens.SetCurrentScreenID(A));
    screens.TurnOn(1);
    screens.GotoScreen(B);
    screens.GotoScreen(C);
    screens.GoBack();
    EXPECT_EQ(screens.GetCurrentScreenID(), B);
    EXPECT_EQ(screens.GetPreviousScreenID(), A);
    EXPECT_EQ(screens.GetFromScreenID(), C);
    EXPECT_EQ(events, "[up]CASAXACBSBXBCCSCXCCBSB");
}

TEST_F(Screens, AddingAnExistingCodeOrGoingToAnUnknownOneChangesNothing)
{
    FakeController other('Z');
    EXPECT_FALSE(screens.Add(B, &other));
    EXPECT_TRUE(Logged("Screen [SCRB] already exists."));
    ASSERT_TRUE(screens.SetCurrentScreenID(B));
    screens.TurnOn(1);
    events.clear();
    screens.GotoScreen(EngFourCC('N', 'O', 'P', 'E'));
    EXPECT_EQ(events, "");
    EXPECT_EQ(screens.GetCurrentScreenID(), B);
    EXPECT_TRUE(Logged("Screen [NOPE] not found."));
}

TEST_F(Screens, TheToolkitIsStoppedOnlyWhenTheManagerStartedIt)
{
    struct Case
    {
        char toolkit_running;
        char off_mode;
        const char* events;
        char on_after;
    };
    const Case cases[] = {
        {0, -1, "[up]CASAXA[down]", 0},
        {1, -1, "CASAXA", 1},
        {1, 0, "CASAXA", 1},
        {1, 1, "CASAXA[down]", 0},
    };
    for (const Case& t : cases)
    {
        SCOPED_TRACE(std::to_string(t.toolkit_running) + " " + std::to_string(t.off_mode));
        toolkit_on = t.toolkit_running;
        events.clear();
        ASSERT_TRUE(screens.SetCurrentScreenID(A));
        screens.TurnOn(-1);
        EXPECT_TRUE(screens.IsOn());
        screens.TurnOff(t.off_mode);
        EXPECT_FALSE(screens.IsOn());
        EXPECT_EQ(events, t.events);
        EXPECT_EQ(toolkit_on, t.on_after);
    }
}

TEST_F(Screens, TickWhileExitingTicksTheControllerButNotTheToolkit)
{
    EngProgram program;
    ASSERT_TRUE(screens.SetCurrentScreenID(A));
    screens.TurnOn(1);
    events.clear();
    EXPECT_TRUE(screens.Tick());
    program.SetExitingFlag();
    EXPECT_FALSE(screens.Tick());
    EXPECT_EQ(events, "TA[tick2]TA");
}

TEST_F(Screens, RemoveAllStopsEveryScreen)
{
    FakeController orphan('O');
    ASSERT_TRUE(screens.Add(EngFourCC('O', 'R', 'P', 'H'), &orphan));
    ASSERT_TRUE(screens.SetCurrentScreenID(B));
    screens.TurnOn(1);
    events.clear();
    screens.RemoveAll();
    EXPECT_EQ(events, "XAXBXC");
    EXPECT_TRUE(Logged("Bad controller_p"));
    EXPECT_EQ(screens.GetNumScreens(), 0);
    EXPECT_EQ(screens.GetCurrentScreenID(), 0u);
}

} // namespace
