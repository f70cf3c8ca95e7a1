// The toolkit object: ID helpers, message queue, input gating, mouse areas,
// clear method and standard settings.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "CoreTestFixture.h"

using vztest::CoreTest;
using vztest::Logged;
using vztest::RecordingController;

TEST(MWinIDs, CopyCompareAndDisplay)
{
    DebugClearLog();
    char dst[MWIN_ID_SIZE] = "old";
    const std::string id31(31, 'a'), id32(32, 'b');

    EXPECT_EQ(MWinCopyID(dst, id31.c_str()), 1);
    EXPECT_EQ(std::string(dst), id31);

    strcpy(dst, "old");
    EXPECT_EQ(MWinCopyID(dst, id32.c_str()), 0);
    EXPECT_STREQ(dst, "old");
    EXPECT_TRUE(Logged("Source string Too Long <" + id32 + ">"));
    EXPECT_EQ(MWinCopyID(dst, nullptr), 0);
    EXPECT_TRUE(Logged("No Source ID"));
    EXPECT_EQ(MWinCopyID(nullptr, "x"), 0);
    EXPECT_TRUE(Logged("No Dest ID"));

    struct Case
    {
        const char *a, *b;
        char same;
    } cases[] = {{"", "", 0},   {nullptr, nullptr, 0}, {"a", "", 0},
                 {"a", "a", 1}, {"a", "A", 0},         {"ab", "a", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(MWinAreIDsTheSame(c.a, c.b), c.same)
            << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null");

    EXPECT_STREQ(MWinDisplayID(nullptr), "(empty id)");
    EXPECT_STREQ(MWinDisplayID(""), "(empty id)");
    EXPECT_STREQ(MWinDisplayID("W"), "W");
    EXPECT_EQ(MWinCopyArea(nullptr, nullptr), nullptr);
    EXPECT_TRUE(Logged("Parameter Error"));
}

// ---------------------------------------------------------------------------
// Message queue.

class Queue : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        win = AddWindow("W", 0, 0, 640, 480);
        win->SetController(&ctrl);
        a = AddPush(win, "A", 10, 10);
        b = AddPush(win, "B", 10, 50);
    }
    RecordingController ctrl;
    MWinWindow* win = nullptr;
    MWinButton *a = nullptr, *b = nullptr;
};

TEST_F(Queue, SecondMessageIsDroppedAndTheFirstRunsAtTheNextTick)
{
    EXPECT_EQ(win->SendButtonCallCallbackMessage(a), 1);
    EXPECT_EQ(win->SendButtonCallCallbackMessage(b), 0);
    EXPECT_TRUE(Logged("Queue not empty"));
    EXPECT_TRUE(ctrl.calls.empty());

    EXPECT_EQ(mw->Tick2(), 1);
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(ctrl.calls[0], "A");
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
    mw->Tick2();
    EXPECT_EQ(ctrl.calls.size(), 1u);
}

TEST_F(Queue, MessageForARemovedWidgetIsDroppedWithItsLogLine)
{
    ASSERT_EQ(win->SendButtonCallCallbackMessage(a), 1);
    ASSERT_EQ(win->RemoveButton(a), 1);
    EXPECT_EQ(mw->ProcessQueueMessages(), 0);
    EXPECT_TRUE(Logged("mwinp->GetButtonFromIDs() failed [Coll, W, A]"));
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
    EXPECT_TRUE(ctrl.calls.empty());
}

TEST_F(Queue, MessagePostedByTheRunningCallbackIsKept)
{
    ctrl.action = [this]
    {
        if (ctrl.calls.size() == 1)
            win->SendButtonCallCallbackMessage(b);
    };
    win->SendButtonCallCallbackMessage(a);
    mw->Tick2();
    EXPECT_EQ(mw->GetNumQueuedMessages(), 1);
    mw->Tick2();
    ASSERT_EQ(ctrl.calls.size(), 2u);
    EXPECT_EQ(ctrl.calls[1], "B");
}

TEST_F(Queue, RefusesEmptyIDsAndForeignWidgets)
{
    EXPECT_EQ(mw->AddMessageToQueue("Coll", "", "A", 0), 0);
    EXPECT_TRUE(Logged("ID(s) invalid"));
    MWinWindow* other = AddWindow("Other", 0, 0, 10, 10);
    EXPECT_EQ(other->SendButtonCallCallbackMessage(a), 0);
    EXPECT_EQ(other->SendButtonCallCallbackMessage(nullptr), 0);
    EXPECT_TRUE(Logged("Invalid button"));
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
}

TEST_F(Queue, CallbackThatRemovesItsOwnCollectionReturnsSafely)
{
    ctrl.action = [this] { mw->GetDesktop()->RemoveAllCollections(); };
    win->SendButtonCallCallbackMessage(a);
    EXPECT_EQ(mw->Tick2(), 1);
    EXPECT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(mw->GetDesktop()->GetFirstCollection(), nullptr);
    EXPECT_EQ(mw->Tick2(), 0);
}

// ---------------------------------------------------------------------------
// Input gating and mouse areas.

TEST_F(CoreTest, InputIsIgnoredWhileOffOrNotAllowed)
{
    float x = 0, y = 0;
    EXPECT_EQ(MoveTo(100, 200), 0); // no windows: nothing used the move
    ASSERT_EQ(mw->GetMousePos(&x, &y), 1);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);

    mw->AllowInput(0);
    MoveTo(300, 300);
    mw->GetMousePos(&x, &y);
    EXPECT_EQ(x, 100);
    mw->AllowInput(1);

    // Keys stop, mouse moves still pass.
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    RecordingController ctrl;
    w->SetController(&ctrl);
    MWinButton* b = AddPush(w, "B", 10, 10);
    w->SetDefaultButton(b);
    mw->AllowKeyboardInput(0);
    EXPECT_EQ(Key(13), 0);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
    MoveTo(20, 20);
    mw->GetMousePos(&x, &y);
    EXPECT_EQ(x, 20);
    mw->AllowKeyboardInput(1);
    EXPECT_EQ(Key(13), 1);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 1);

    mw->Shutdown();
    EXPECT_EQ(mw->ProcessInput(ENG_INPUT_KEY_DOWN, 13, 0), 0);
    EXPECT_EQ(mw->GetMousePos(&x, &y), 0);
    EXPECT_TRUE(Logged("Not On"));
}

TEST_F(CoreTest, MouseAreaEdges)
{
    const _Dimension area = {10, 20, 30, 40};
    const _Dimension offset = {5, 5, 0, 0};
    struct Case
    {
        float x, y;
        const _Dimension* off;
        char in;
    } cases[] = {
        {10, 20, nullptr, 1},    {39.99f, 59.99f, nullptr, 1}, {40, 30, nullptr, 0},
        {20, 60, nullptr, 0},    {9.99f, 30, nullptr, 0},      {15, 25, &offset, 1},
        {14.9f, 25, &offset, 0}, {44.9f, 64.9f, &offset, 1},
    };
    for (const Case& c : cases)
    {
        mw->SetMousePosRatioed(c.x, c.y);
        EXPECT_EQ(mw->IsMouseScreenCursorInArea(&area, c.off), c.in) << c.x << ", " << c.y;
        EXPECT_EQ(mw->IsMouseViewportCursorInArea(&area, c.off), c.in) << c.x << ", " << c.y;
    }
    EXPECT_EQ(mw->IsMouseScreenCursorInArea(nullptr, nullptr), 0);
}

TEST_F(CoreTest, ViewportMouseIsScaledToTheViewport)
{
    _EngDeviceViewport v = {320, 240, 320, 240, 0, 1};
    mw->SetMousePosRatioed(400, 300);
    mw->SetCurrentActiveViewport(&v);
    float x = 0, y = 0;
    mw->GetViewportMousePos(&x, &y);
    EXPECT_FLOAT_EQ(x, 160);
    EXPECT_FLOAT_EQ(y, 120);
    mw->SetCurrentActiveViewport(nullptr);
    mw->GetViewportMousePos(&x, &y);
    EXPECT_FLOAT_EQ(x, 400);
    EXPECT_FLOAT_EQ(y, 300);
}

TEST_F(CoreTest, ClearMethodFallsBackWhenTheImageIsMissing)
{
    EXPECT_EQ(mw->SetClearMethod(2, nullptr), 1);
    EXPECT_EQ(mw->GetClearMethod(), 2);
    mw->SetClearMethod(3, "no-such-background.jpg");
    EXPECT_EQ(mw->GetClearMethod(), 1);
    EXPECT_TRUE(Logged("Background image file does not exist: <no-such-background.jpg>"));
    vztest::TempDir dir;
    const std::string fifo = dir.File("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    mw->SetClearMethod(2, nullptr);
    mw->SetClearMethod(3, fifo.c_str());
    EXPECT_EQ(mw->GetClearMethod(), 1);
    EXPECT_TRUE(Logged("Not a regular file <" + fifo + ">"));
    EXPECT_EQ(mw->SetClearMethod(4, nullptr), 0);
    EXPECT_TRUE(Logged("Invalid method"));
    EXPECT_EQ(mw->GetClearMethod(), 1);
}

TEST_F(CoreTest, LifeStatesAndSounds)
{
    EXPECT_EQ(mw->IsOn(), 1);
    mw->Startup();
    EXPECT_TRUE(Logged("MWin already on"));
    std::vector<int> sounds;
    mw->SetSoundPlayCallback([](int e, void* u) { static_cast<std::vector<int>*>(u)->push_back(e); },
                             &sounds);
    mw->PlaySound(MWIN_SOUND_HOVER);
    EXPECT_EQ(sounds, std::vector<int>{MWIN_SOUND_HOVER});

    mw->Shutdown();
    EXPECT_EQ(mw->IsOn(), 0);
    EXPECT_EQ(mw->GetDesktop()->GetFirstCollection(), nullptr);
    mw->Shutdown();
    EXPECT_TRUE(Logged("MWin not on"));
}

// ---------------------------------------------------------------------------
// Settings.

// Fields 53 and 54 are a third of the scrollbar thumb (field 25), field 55
// three times field 53, in every layout.
static void ExpectRangeWidthsFollowTheThumb(MWin* mw, float thumb)
{
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
    {
        const MWinLayoutSettings& ls = *mw->GetLayoutSettings(l);
        SCOPED_TRACE("layout " + std::to_string(l));
        EXPECT_FLOAT_EQ(ls[25], thumb);
        EXPECT_FLOAT_EQ(ls[53], thumb / 3);
        EXPECT_FLOAT_EQ(ls[54], thumb / 3);
        EXPECT_FLOAT_EQ(ls[55], thumb);
    }
}

TEST_F(CoreTest, StandardSettingsAndRecomputingFromButtonSizes)
{
    MWinLayoutSettings* l0 = mw->GetLayoutSettings(0);
    MWinLayoutSettings* l1 = mw->GetLayoutSettings(1);
    EXPECT_EQ((*l0)[0], 30);
    EXPECT_EQ((*l0)[1], 62);
    EXPECT_EQ((*l1)[1], 153);
    EXPECT_EQ((*l0)[21], 12);
    ExpectRangeWidthsFollowTheThumb(mw, 24);
    EXPECT_EQ(l0->GetInt(59), 2);
    EXPECT_EQ((*l0)[63], 30);
    EXPECT_EQ(mw->GetSettings()->pie_flags[3], 255);

    // The application's own values in the "full" fields must survive.
    (*l0)[0] = 31;
    (*l0)[1] = 32;
    (*l0)[7] = 33;
    (*l0)[8] = 34;
    (*l0)[17] = 99;
    mw->GetSettings()->hover_activates_window = 0;

    mw->SetStandardButtonsWidthAndHeightAndMargins(0, -1, 5, -1);
    EXPECT_EQ((*l0)[0], 31);
    EXPECT_EQ((*l0)[1], 32);
    EXPECT_EQ((*l0)[7], 33);
    EXPECT_EQ((*l0)[8], 34);
    EXPECT_EQ(mw->GetSettings()->hover_activates_window, 0);
    EXPECT_EQ((*l0)[17], 5);  // x margin
    EXPECT_EQ((*l0)[31], 3);  // y margin kept
    EXPECT_EQ((*l0)[21], 12); // width kept
    EXPECT_EQ((*l0)[25], 24); // 2 x height kept

    mw->SetStandardButtonsWidthAndHeightAndMargins(20, 10, -1, 4);
    EXPECT_EQ((*l1)[27], 40);
    ExpectRangeWidthsFollowTheThumb(mw, 20);
    EXPECT_EQ((*l1)[31], 4);
    EXPECT_EQ((*l1)[17], 5);

    _MWinSettings copy;
    mw->GetSettings(&copy);
    copy.disabled_alpha = 0.25f;
    mw->SetSettings(&copy);
    EXPECT_EQ(mw->GetSettings()->disabled_alpha, 0.25f);
    mw->SetSettings(nullptr);
    EXPECT_EQ(mw->GetSettings()->disabled_alpha, 0.25f);
}

TEST(MWinColour, HueTableRunsRoundTheColourCircle)
{
    _MWinHueEntry t[MWIN_HUE_TABLE_SIZE];
    MWinColourFillHueTable(t);
    struct Case
    {
        int i;
        float r, g, b;
    } cases[] = {{0, 1, 0, 0},   {42, 1, 0, 1},  {84, 0, 0, 1}, {127, 0, 1, 1},
                 {170, 0, 1, 0}, {213, 1, 1, 0}, {255, 1, 0, 0}};
    for (const Case& c : cases)
    {
        EXPECT_FLOAT_EQ(t[c.i].r, c.r) << c.i;
        EXPECT_FLOAT_EQ(t[c.i].g, c.g) << c.i;
        EXPECT_FLOAT_EQ(t[c.i].b, c.b) << c.i;
    }
}

TEST_F(CoreTest, SetButtonCallbackFindsTheWidgetByItsIDs)
{
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    MWinButton* b = AddPush(w, "B", 10, 10);
    static int calls = 0;
    calls = 0;
    auto fn = [](MWin*, _MWinButtonCallbackInfo* info, int a, int c)
    {
        EXPECT_STREQ(info->button_id, "B");
        EXPECT_EQ(a + c, 7);
        calls++;
    };
    EXPECT_EQ(mw->SetButtonCallback("Coll", "W", "B", fn, 3, 4), 1);
    EXPECT_EQ(b->HasCallback(), 1);
    w->SendButtonCallCallbackMessage(b);
    mw->Tick2();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(mw->SetButtonCallback("Coll", "W", "X", fn, 0, 0), 0);
    EXPECT_TRUE(Logged("Could not find button W:X"));
}
