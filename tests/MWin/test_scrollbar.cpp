// The vertical scrollbar: keys and steps, dragging and its callbacks, the
// bound variable, snapping and the value text, and callbacks that remove it
// (from either bar).
#include <gtest/gtest.h>

#include <vector>

#include "support/TestSupport.h"
#include "MWin/MWinHorzScrollbar.h"
#include "MWin/MWinVertScrollbar.h"
#include "WidgetTestFixture.h"

using vztest::Calls;
using vztest::Logged;
using vztest::RecordCall;

namespace
{
class VertBar : public vztest::WidgetTest
{
protected:
    MWinVertScrollbar* AddBar(const char* id, float x, float y, float w, float h, const char* text = "")
    {
        MWinVertScrollbar* b = MWinWindowAddVertScrollbar(win, id, MWIN_TEXBUT_DEFAULT, text, x, y, w, h);
        EXPECT_NE(b, nullptr);
        b->SetCallback(&RecordCall, 0, 0, 0);
        b->Activate();
        return b;
    }
};
} // namespace

TEST_F(VertBar, KeysStepAlongTheBar)
{
    MWinVertScrollbar* b = AddBar("v", 0, 0, 20, 300);
    EXPECT_EQ(b->GetType(), MWIN_BUTTON_VERT_SCROLLBAR);
    b->SetValuesDouble(0, 100, 10, 1);
    struct Case
    {
        int key;
        double from, to;
    };
    const Case cases[] = {
        {246, 50, 49},     // up: one step down
        {247, 50, 51},     // down: one step up
        {244, 50, 40},     // left: a page down
        {245, 50, 60},     // right: a page up
        {248, 50, 40},     // page up
        {249, 50, 60},     // page down
        {247, 99.5, 99.5}, // a step that would pass the end is not taken
        {249, 99.5, 100},  // a page reaches it
        {246, 0.5, 0.5},   {248, 3, 0},
    };
    for (const Case& c : cases)
    {
        b->SetPosDouble(c.from, 0, 1, 0);
        EXPECT_TRUE(b->HandleKeyDown(c.key)) << c.key;
        EXPECT_DOUBLE_EQ(b->GetPosDouble(), c.to) << c.key << " from " << c.from;
    }
    EXPECT_FALSE(b->HandleKeyDown('x'));

    std::vector<int> sounds;
    static std::vector<int>* rec;
    rec = &sounds;
    mw->SetSoundPlayCallback([](int e, void*) { rec->push_back(e); }, nullptr);
    b->SetPosDouble(50, 0, 1, 0);
    EXPECT_TRUE(b->HandleMouseWheel(-3));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 53);
    EXPECT_EQ(sounds, std::vector<int>{MWIN_SOUND_KEY});

    b->SetValuesDouble(5, 1, 1, 1);
    EXPECT_DOUBLE_EQ(b->GetMax(), 100) << "an inverted range is ignored";
    b->SetValuesDouble(0, 50, 0, 0);
    EXPECT_DOUBLE_EQ(b->GetPage(), 5);
    EXPECT_DOUBLE_EQ(b->GetStep(), 0.5);
}

TEST_F(VertBar, DragCallsPerMoveAndOnceAtTheEnd)
{
    MWinVertScrollbar* b = AddBar("v", 0, 0, 20, 300);
    b->SetValuesDouble(0, 100, 10, 1);
    float ty = b->GetScreenYPos();
    float tl = (*ls)[27];
    Mouse(10, ty + tl / 2);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_TRUE(b->KeepFocusOnMouseMove());
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_TRUE(Calls().empty()) << "a click on the thumb without a move calls nothing";

    Mouse(10, ty + tl / 2);
    b->HandleMouseButtonPressed(0, 1, 0);
    Mouse(10, 150);
    b->HandleMouseMove();
    Mouse(10, 200);
    b->HandleMouseMove();
    b->HandleMouseButtonPressed(0, 0, 0);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[0].scrollbar_flag, 1);
    EXPECT_EQ(Calls()[1].scrollbar_flag, 1);
    EXPECT_EQ(Calls()[2].scrollbar_flag, 0);
    EXPECT_DOUBLE_EQ(Calls()[2].scrollbar_pos, b->GetPosDouble());
    EXPECT_GT(b->GetPosDouble(), 50);
    EXPECT_FALSE(b->KeepFocusOnMouseMove());

    // A press on the track below the thumb pages toward the mouse; x is not tested.
    Calls().clear();
    b->SetPosDouble(0, 0, 1, 0);
    Mouse(500, 290);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 10);
    Mouse(10, 310);
    EXPECT_FALSE(b->HandleMouseButtonPressed(0, 1, 0)) << "below the bar";
}

TEST_F(VertBar, VariableSnapAndText)
{
    MWinVertScrollbar* b = AddBar("v", 0, 0, 20, 300, "Size:");
    b->SetValuesDouble(-200, 200, 10, 1);
    char c = 0;
    ASSERT_TRUE(b->RegisterCharVariable(&c, 0));
    b->SetPosDouble(-150, 0, 0, 0);
    EXPECT_EQ(c, -127);
    float f = 2;
    ASSERT_TRUE(b->RegisterFloatVariable(&f, 10, 0));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 20);
    b->SetPosDouble(35, 0, 0, 0);
    EXPECT_FLOAT_EQ(f, 3.5f);

    // The same value with force 0 stores nothing but still calls back.
    Calls().clear();
    f = 99;
    b->SetPosDouble(35, 0, 0, 1);
    EXPECT_FLOAT_EQ(f, 99);
    EXPECT_EQ(Calls().size(), 1u);

    b->SetSnapFloat(0.01f);
    b->SetPosDouble(1.23456, 0, 0, 0);
    EXPECT_NEAR(b->GetPosDouble(), 1.23, 1e-6);
    b->SetSnapFloat(0.0001f); // the horizontal bar's finest snap is not offered here
    b->SetPosDouble(2.34567, 0, 0, 0);
    EXPECT_TRUE(Logged("Unsupported snap value"));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 2.34567);

    b->SetAutoTextFloat(1, 2, 1, 0.5f);
    b->SetPosDouble(42, 0, 0, 0);
    EXPECT_STREQ(b->GetTextP(), "Size: [21.00]");
    b->SetText("Size:");
    b->SetAutoTextFloat(1, 5, 1, 1);
    EXPECT_TRUE(Logged("Decimal places=5 not supported"));
    EXPECT_STREQ(b->GetTextP(), "Size: [42]");
}

namespace
{
MWinWindow* removal_window = nullptr;
int removal_calls = 0;
void RemoveSelf(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    removal_calls++;
    removal_window->RemoveButton(info->button);
}
} // namespace

TEST_F(VertBar, CallbackThatRemovesTheBarEndsTheWheel)
{
    MWinVertScrollbar* b = AddBar("v", 0, 0, 20, 300);
    b->SetValuesDouble(0, 100, 10, 1);
    removal_window = win;
    removal_calls = 0;
    b->SetCallback(&RemoveSelf, 0, 0, 0);
    EXPECT_TRUE(b->HandleMouseWheel(-5));
    EXPECT_EQ(removal_calls, 1);
    EXPECT_EQ(win->GetButtonFromID("v", 0), nullptr);
}

// Every stepping path of the horizontal bar stops once its callback removed it
// (the old loop kept stepping on the freed bar).
TEST_F(VertBar, CallbackThatRemovesTheHorizontalBarEndsTheStepping)
{
    struct Case
    {
        const char* what;
        int wheel; // 0: a key instead
        int key;
    };
    const Case cases[] = {
        {"wheel forwards", 5, 0}, {"wheel backwards", -5, 0}, {"left key", 0, 244}, {"page key", 0, 249}};
    removal_window = win;
    for (const Case& c : cases)
    {
        auto* b = static_cast<MWinHorzScrollbar*>(
            win->AddHorzScrollbar("h", MWIN_TEXBUT_DEFAULT, "", 0, 0, 300, 20));
        ASSERT_NE(b, nullptr) << c.what;
        b->SetValuesDouble(0, 100, 10, 1);
        b->SetPosDouble(50, 0, 1, 0);
        b->Activate();
        removal_calls = 0;
        b->SetCallback(&RemoveSelf, 0, 0, 0);
        if (c.wheel)
            EXPECT_TRUE(b->HandleMouseWheel(c.wheel)) << c.what;
        else
            EXPECT_TRUE(b->HandleKeyDown(c.key)) << c.what;
        EXPECT_EQ(removal_calls, 1) << c.what;
        EXPECT_EQ(win->GetButtonFromID("h", 0), nullptr) << c.what;
    }
}
