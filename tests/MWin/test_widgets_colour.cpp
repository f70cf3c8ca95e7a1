// The horizontal scrollbar and the colour picker built on three of them.
#include <cmath>
#include <string>

#include "MWin/MWinCollectionController.h"
#include "MWin/MWinColourPicker.h"
#include "MWin/MWinHorzScrollbar.h"
#include "MWin/MWinSettings.h"
#include "WidgetTestFixture.h"

using vztest::Calls;
using vztest::Logged;
using vztest::RecordCall;

namespace
{
class ColourTest : public vztest::WidgetTest
{
protected:
    MWinHorzScrollbar* AddBar(const char* id, float x, float y, float w, float h, const char* text = "")
    {
        MWinHorzScrollbar* b = new MWinHorzScrollbar(mw, id, win, MWIN_TEXBUT_DEFAULT, text, x, y, w, h);
        win->CompleteAddButton(b);
        b->SetCallback(&RecordCall, 0, 0, 0);
        b->Activate();
        return b;
    }

    MWinColour* AddPicker()
    {
        MWinColour* c = new MWinColour(mw, "pick", win, MWIN_TEXBUT_DEFAULT, "", 0, 0, 256, 100);
        win->CompleteAddButton(c);
        c->SetCallback(&RecordCall, 0, 0, 0);
        c->Activate();
        return c;
    }
};

TEST_F(ColourTest, ScrollbarStepsStopShortOfTheEndsButPagesReachThem)
{
    MWinHorzScrollbar* b = AddBar("h", 0, 0, 300, 20);
    b->SetValuesDouble(0, 100, 10, 1);
    b->SetPosDouble(99.5, 0, 0, 0);
    EXPECT_TRUE(b->HandleKeyDown(245));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 99.5) << "an arrow step that would pass the end is not taken";
    EXPECT_TRUE(b->HandleKeyDown(247)) << "down pages up on a horizontal bar";
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 100);
    EXPECT_TRUE(b->HandleKeyDown(248));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 90);
    EXPECT_TRUE(b->HandleMouseWheel(2));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 88);
    EXPECT_FALSE(b->HandleKeyDown('x'));
    b->SetValuesDouble(5, 1, 1, 1);
    EXPECT_DOUBLE_EQ(b->GetMax(), 100) << "an inverted range is ignored";
}

TEST_F(ColourTest, ScrollbarDragCallsPerMoveAndOnceAtTheEnd)
{
    MWinHorzScrollbar* b = AddBar("h", 0, 0, 300, 20);
    b->SetValuesDouble(0, 100, 10, 1);
    float tx = b->GetScreenXPos();
    float tl = (*ls)[25];
    Mouse(tx + tl / 2, 10);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_TRUE(b->IsDragging());
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_TRUE(Calls().empty()) << "a click on the thumb without a move calls nothing";

    Mouse(tx + tl / 2, 10);
    b->HandleMouseButtonPressed(0, 1, 0);
    Mouse(150, 10);
    b->HandleMouseMove();
    Mouse(200, 10);
    b->HandleMouseMove();
    b->HandleMouseButtonPressed(0, 0, 0);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[0].scrollbar_flag, 1);
    EXPECT_EQ(Calls()[1].scrollbar_flag, 1);
    EXPECT_EQ(Calls()[2].scrollbar_flag, 0);
    EXPECT_DOUBLE_EQ(Calls()[2].scrollbar_pos, b->GetPosDouble());
    EXPECT_GT(b->GetPosDouble(), 50);
}

TEST_F(ColourTest, ScrollbarPositionSnapVariableAndText)
{
    MWinHorzScrollbar* b = AddBar("h", 0, 0, 300, 20, "Size:");
    b->SetValuesDouble(-200, 200, 10, 1);
    char c = 0;
    ASSERT_TRUE(b->RegisterCharVariable(&c, 0));
    b->SetPosDouble(-128, 0, 0, 0);
    EXPECT_EQ(c, -127);
    b->SetPosDouble(-128, 0, 0, 1);
    EXPECT_EQ(Calls().size(), 1u) << "the same value still calls back";

    b->SetSnapFloat(0.5f);
    b->SetPosDouble(3.3, 0, 0, 0);
    EXPECT_TRUE(Logged("Unsupported snap value 0.5"));
    EXPECT_DOUBLE_EQ(b->GetPosDouble(), 3.3);
    b->SetSnapFloat(0.1f);
    b->SetPosDouble(3.34, 0, 0, 0);
    EXPECT_NEAR(b->GetPosDouble(), 3.3, 1e-6);

    b->SetSnapFloat(0);
    b->SetPosDouble(42, 0, 0, 0);
    struct Case
    {
        char brackets;
        int mode; // 0: integer text
        float mult;
        const char* want;
    };
    const Case cases[] = {{1, 0, 1, "Size: [42]"}, {0, 0, 1, "Size: 42"}, {1, 2, 0.5f, "Size: [21.00]"}};
    for (const Case& k : cases)
    {
        b->SetText("Size:");
        if (k.mode == 0)
            b->SetAutoText(1, 1, k.brackets);
        else
            b->SetAutoTextFloat(1, k.mode, 1, k.mult, k.brackets);
        EXPECT_STREQ(b->GetTextP(), k.want);
    }
}

TEST_F(ColourTest, PickerSelectsPureRedInVariableUnits)
{
    MWinColour* p = AddPicker();
    _ColourRGB v = {0, 0, 0};
    ASSERT_TRUE(p->RegisterVariableMult(&v, 255, 0));
    p->Set(255, 0, 0, 0);
    EXPECT_FLOAT_EQ(v.r, 255);
    EXPECT_FLOAT_EQ(v.g, 0);
    EXPECT_FLOAT_EQ(v.b, 0);
    EXPECT_FLOAT_EQ(p->GetHue(), 255);
    EXPECT_FLOAT_EQ(p->GetSaturation(), 1);
    EXPECT_FLOAT_EQ(p->GetBrightness(), 1);
    EXPECT_FLOAT_EQ(p->GetScrollbar(0)->GetPosFloat(), 255);
    EXPECT_FLOAT_EQ(p->GetScrollbar(2)->GetPosFloat(), 1);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ColourTest, PickerRefusesOutOfRangeColours)
{
    MWinColour* p = AddPicker();
    p->Set(0.2f, 0.4f, 0.6f, 0);
    p->Set(1.5f, 0, 0, 1);
    EXPECT_TRUE(Logged("invalid col R:1.500000 G:0.000000 B:0.000000 (ID: pick)"));
    float r, g, b;
    p->Get(&r, &g, &b);
    EXPECT_FLOAT_EQ(r, 0.2f);
    EXPECT_FLOAT_EQ(b, 0.6f);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ColourTest, PickerKeepsHueForGreysAndHueAndSaturationForBlack)
{
    MWinColour* p = AddPicker();
    p->Set(0, 1, 0, 0);
    float hue = p->GetHue(), sat = p->GetSaturation();
    p->Set(0.5f, 0.5f, 0.5f, 0);
    EXPECT_FLOAT_EQ(p->GetHue(), hue);
    EXPECT_FLOAT_EQ(p->GetSaturation(), 0);
    p->Set(0, 1, 0, 0);
    p->Set(0, 0, 0, 0);
    EXPECT_FLOAT_EQ(p->GetHue(), hue);
    EXPECT_FLOAT_EQ(p->GetSaturation(), sat);
    EXPECT_FLOAT_EQ(p->GetBrightness(), 0);
}

TEST_F(ColourTest, PickerLeavesARegisteredColourAsItWas)
{
    MWinColour* p = AddPicker();
    _ColourRGB v = {0.31f, 0.62f, 0.17f};
    ASSERT_TRUE(p->RegisterVariable(&v));
    EXPECT_FLOAT_EQ(v.r, 0.31f);
    EXPECT_FLOAT_EQ(v.g, 0.62f);
    EXPECT_FLOAT_EQ(v.b, 0.17f);
}

TEST_F(ColourTest, PickerStripsHaveBordersAndFollowTheParts)
{
    ASSERT_EQ(ls->GetInt(MWIN_LS_COLOUR_BORDER_X), 2);
    ASSERT_EQ(ls->GetInt(MWIN_LS_COLOUR_BORDER_Y), 2);
    MWinColour* p = AddPicker();
    p->Set(0, 0, 1, 0);
    for (int s = 0; s < 3; s++)
    {
        const unsigned char* strip = p->GetStrip(s);
        ASSERT_NE(strip, nullptr);
        const int border[][2] = {{0, 10},  {1, 10},  {254, 10}, {255, 10},
                                 {100, 0}, {100, 1}, {100, 30}, {100, 31}};
        for (const auto& xy : border)
        {
            const unsigned char* px = strip + xy[1] * 768 + xy[0] * 3;
            EXPECT_EQ(px[0] + px[1] + px[2], 0) << "strip " << s << " at " << xy[0] << "," << xy[1];
        }
    }
    // Inside: the brightness strip runs from black to the full colour.
    const unsigned char* bright = p->GetStrip(2) + 16 * 768;
    EXPECT_LT(bright[3 * 3 + 2], 10);
    EXPECT_GT(bright[253 * 3 + 2], 240);
    EXPECT_LT(bright[253 * 3 + 0], 10);
}

TEST_F(ColourTest, PickerCallsBackWithTheDragFlagWhileAScrollbarIsHeld)
{
    MWinColour* p = AddPicker();
    MWinHorzScrollbar* hue = p->GetScrollbar(0);
    ASSERT_NE(hue, nullptr);
    const _Dimension* a = hue->GetActualArea();
    float tx = hue->GetScreenXPos();
    Mouse(tx + (*ls)[25] / 2, a->y + a->h / 2);
    p->HandleMouseMove();
    EXPECT_TRUE(hue->IsFocused());
    EXPECT_TRUE(p->HandleMouseButtonPressed(0, 1, 0));
    Mouse(200, a->y + a->h / 2);
    p->HandleMouseMove();
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().colour_flag, 1);
    EXPECT_STREQ(Calls().back().button_id, "pick");
    EXPECT_TRUE(p->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_EQ(Calls().back().colour_flag, 0) << "the end of the drag";
    EXPECT_GT(p->GetHue(), 127.5f);
}

class IdController : public MWinCollectionController
{
public:
    char CreateCollection(MWin*) override { return 1; }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo* info) override
    {
        ids.push_back(info->button_id);
        return 1;
    }
    std::vector<std::string> ids;
};

TEST_F(ColourTest, ControllerSeesTheScrollbarAndThePickerStillFollows)
{
    MWinColour* p = AddPicker();
    IdController ctrl;
    win->SetController(&ctrl);
    MWinHorzScrollbar* sat = p->GetScrollbar(1);
    sat->Activate();
    float before = p->GetSaturation();
    EXPECT_TRUE(sat->HandleKeyDown(249));
    EXPECT_GT(p->GetSaturation(), before) << "the picker's own handler ran";
    ASSERT_EQ(ctrl.ids.size(), 2u);
    EXPECT_EQ(ctrl.ids[0], "Colour_HS_1");
    EXPECT_EQ(ctrl.ids[1], "pick");
    win->UseCallbacks();
}

} // namespace
