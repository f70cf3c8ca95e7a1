// The widget base: areas, kinds, states, texts, colours, callbacks and bound
// variables.
#include <string>

#include "EngProgram.h"
#include "MWin/MWinCollectionController.h"
#include "MWin/MWinSettings.h"
#include "WidgetTestFixture.h"

using vztest::Calls;
using vztest::Logged;
using vztest::RecordCall;

namespace
{
class ButtonTest : public vztest::WidgetTest
{
};

TEST_F(ButtonTest, AreaDefaultsMinimumAndCentring)
{
    const float dw = (*ls)[MWIN_LS_DEFAULT_BUTTON_W], dh = (*ls)[MWIN_LS_DEFAULT_BUTTON_H];
    ASSERT_GT(dw, 2);
    ASSERT_GT(dh, 2);
    struct Case
    {
        float x, y, w, h;
        _Dimension want;
    };
    const Case cases[] = {
        {10, 20, 1, 1, {10, 20, 2, 2}},
        {10, 20, -1, -5, {10, 20, dw, dh}},
        {-1, -1, 100, 40, {270, 220, 100, 40}},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::string id = "b" + std::to_string(n++);
        SCOPED_TRACE(id);
        MWinButton* b = Add(id.c_str(), MWIN_BUTTON_PUSH, c.x, c.y, c.w, c.h);
        _Dimension a;
        b->GetOrigArea(&a);
        EXPECT_FLOAT_EQ(a.x, c.want.x);
        EXPECT_FLOAT_EQ(a.y, c.want.y);
        EXPECT_FLOAT_EQ(a.w, c.want.w);
        EXPECT_FLOAT_EQ(a.h, c.want.h);
        // The window is at 0, 0: the screen area equals the set one.
        EXPECT_FLOAT_EQ(b->GetActualArea()->x, c.want.x);
        EXPECT_FLOAT_EQ(b->GetActualArea()->w, c.want.w);
    }
}

TEST_F(ButtonTest, ButtonsAreKeptInsideTheirWindowUnlessPlacedWithoutCheck)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 600, 470, 100, 40);
    EXPECT_FLOAT_EQ(b->GetActualArea()->x, 540);
    EXPECT_FLOAT_EQ(b->GetActualArea()->y, 440);
    EXPECT_FLOAT_EQ(b->GetOrigArea()->x, 600) << "the set area stays as given";
    b->SetOrigPosNoBoundsCheck(600, -20, 100, 40);
    EXPECT_FLOAT_EQ(b->GetActualArea()->x, 600);
    EXPECT_FLOAT_EQ(b->GetActualArea()->y, -20);
    EXPECT_FLOAT_EQ(b->GetCropArea()->w, 40) << "drawn only inside the window";
    EXPECT_FLOAT_EQ(b->GetCropArea()->h, 20);
    b->SetOrigPos(600, 470, 100, 40);
    EXPECT_FLOAT_EQ(b->GetActualArea()->x, 540);
}

TEST_F(ButtonTest, SetTypeRefusesUnknownKinds)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    EXPECT_TRUE(b->SetType(16));
    EXPECT_FALSE(b->SetType(17));
    EXPECT_TRUE(Logged("Invalid Type 17"));
    EXPECT_EQ(b->GetType(), -1);
}

class NullController : public MWinCollectionController
{
public:
    char CreateCollection(MWin*) override { return 1; }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo* info) override
    {
        calls.push_back(*info);
        return 1;
    }
    std::vector<_MWinButtonCallbackInfo> calls;
};

TEST_F(ButtonTest, TabStopsByKindCallbackAndController)
{
    MWinButton* label = Add("label", MWIN_BUTTON_PUSH, 0, 0, 50, 20, "x", MWIN_TEXBUT_NONE);
    MWinButton* push = Add("push", MWIN_BUTTON_PUSH, 0, 30, 50, 20);
    MWinButton* notab = Add("notab", MWIN_BUTTON_PUSH_NO_TAB, 0, 60, 50, 20);
    MWinButton* plain = Add("plain", MWIN_BUTTON_PLAIN, 0, 90, 50, 20);
    push->SetCallback(&RecordCall, 0, 0, 0);
    notab->SetCallback(&RecordCall, 0, 0, 0);
    EXPECT_FALSE(label->IsATabStop());
    EXPECT_TRUE(push->IsATabStop());
    EXPECT_FALSE(notab->IsATabStop());
    EXPECT_TRUE(plain->IsATabStop());
    push->Disable();
    EXPECT_FALSE(push->IsATabStop());
    plain->Hide();
    EXPECT_FALSE(plain->IsATabStop());

    NullController ctrl;
    win->SetController(&ctrl);
    EXPECT_TRUE(label->IsATabStop()) << "a controller makes every push button a tab stop";
    win->UseCallbacks();
}

TEST_F(ButtonTest, RenderStateOrder)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    EXPECT_EQ(b->GetRenderState(), MWIN_TEXSTATE_NORMAL);
    b->Activate();
    EXPECT_EQ(b->GetRenderState(), MWIN_TEXSTATE_FOCUSED);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(b->GetRenderState(), MWIN_TEXSTATE_PRESSED);
    b->SetOverrideRenderState(MWIN_TEXSTATE_NORMAL);
    EXPECT_EQ(b->GetRenderState(), MWIN_TEXSTATE_NORMAL);
    b->SetOverrideRenderState(-1);
    b->Disable();
    EXPECT_EQ(b->GetRenderState(), MWIN_TEXSTATE_DISABLED);
    EXPECT_FALSE(b->IsFocused()) << "disabling takes the focus away";
    EXPECT_FALSE(b->IsPressed());
}

TEST_F(ButtonTest, TextsKeepLongStringsAndRefuseBadNumbers)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20, "first");
    std::string big(600, 'a');
    EXPECT_TRUE(b->SetText(big.c_str()));
    EXPECT_TRUE(Logged("String too long"));
    ASSERT_TRUE(b->HasText());
    EXPECT_EQ(std::string(b->GetTextP()), big);

    EXPECT_FALSE(b->HasText(2));
    EXPECT_TRUE(Logged("Invalid text number 2"));
    EXPECT_FALSE(b->AllocAndSetText(2, "x"));
    EXPECT_EQ(b->GetTextP(5), nullptr);

    EXPECT_TRUE(b->SetTextPrintf("%s-%d", "n", 7));
    EXPECT_STREQ(b->GetTextP(), "n-7");
    EXPECT_TRUE(b->SetText(""));
    EXPECT_FALSE(b->HasText()) << "an empty text leaves none";
    EXPECT_EQ(b->GetTextP(), nullptr);
    EXPECT_TRUE(Logged("No text present. Ensure call HasText() first."));
}

TEST_F(ButtonTest, PrintfTextIsBounded)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    std::string big(700, 'z');
    EXPECT_TRUE(b->SetTextPrintf("%s", big.c_str()));
    EXPECT_EQ(b->GetTextLength(0), 610);
}

TEST_F(ButtonTest, TransparencyAndColour)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    b->SetTransparency(1);
    EXPECT_FALSE(b->IsColourSet());
    EXPECT_FLOAT_EQ(b->GetTransparency(), 1);
    b->SetTransparency(0.5f);
    EXPECT_TRUE(b->IsColourSet());
    EXPECT_FLOAT_EQ(b->GetTransparency(), 0.5f);
    b->SetColour(static_cast<const _ColourRGBA*>(nullptr));
    EXPECT_FALSE(b->IsColourSet());
    EXPECT_FLOAT_EQ(b->GetColour()->a, 1) << "no colour reads as white";
}

TEST_F(ButtonTest, FontAndTextureButtonFallbacks)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    EXPECT_FALSE(b->SetFont("NoSuchFont"));
    EXPECT_TRUE(Logged("User font <NoSuchFont> not found"));
    EXPECT_EQ(b->GetFontNum(), -1);
    EXPECT_TRUE(b->SetFont("MWIN_FONT_NONE"));
    EXPECT_EQ(b->GetFontNum(), -2);

    EXPECT_TRUE(b->SetBackTexButToTexBut(MWIN_TEXBUT_NONE));
    EXPECT_FALSE(b->HasBackTex());
    EXPECT_FALSE(b->SetBackTexButToTexBut(""));
    EXPECT_TRUE(Logged("No id"));
    std::string longname(300, 'f');
    EXPECT_FALSE(b->SetBackTexButToCustom(longname.c_str()));
    EXPECT_TRUE(Logged("Invalid filename"));
    EXPECT_FALSE(b->IsCustomBackOn());
    EXPECT_TRUE(b->SetBackTexButToCustom(""));
    EXPECT_EQ(b->GetBackCustomTexButFilename(), nullptr);
}

TEST_F(ButtonTest, PushButtonCallsBackOnReleaseAndKeys)
{
    MWinButton* b = AddFocused("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 0, 0)) << "a release without a press";
    EXPECT_TRUE(Calls().empty());
    b->HandleMouseButtonPressed(0, 1, 0);
    EXPECT_TRUE(Calls().empty()) << "nothing on the press";
    b->HandleMouseButtonPressed(0, 0, 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_STREQ(Calls()[0].button_id, "b");
    EXPECT_STREQ(Calls()[0].window_id, "Win");
    EXPECT_EQ(Calls()[0].button, b);

    EXPECT_FALSE(b->HandleMouseButtonPressed(1, 1, 0)) << "only the left button";
    EXPECT_TRUE(b->HandleKeyDown(13));
    EXPECT_TRUE(b->HandleKeyDown(32));
    EXPECT_FALSE(b->HandleKeyDown('a'));
    EXPECT_EQ(Calls().size(), 3u);
    EXPECT_TRUE(b->HandleMouseButtonDoubleClicked(0));
    EXPECT_EQ(Calls().size(), 4u);

    MWinButton* c = AddFocused("c", MWIN_BUTTON_PUSH_NO_TAB, 0, 30, 50, 20);
    EXPECT_FALSE(c->HandleKeyDown(13));
    EXPECT_FALSE(c->HandleMouseButtonDoubleClicked(0));
    EXPECT_EQ(Calls().size(), 4u);
}

MWinWindow* removing_window = nullptr;
int remove_calls = 0;
void RemoveSelf(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    remove_calls++;
    removing_window->RemoveButton(info->button);
}

TEST_F(ButtonTest, CallbackThatRemovesItsButtonIsSurvived)
{
    MWinButton* b = AddFocused("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    b->SetCallback(&RemoveSelf, 0, 0, 0);
    removing_window = win;
    remove_calls = 0;
    EXPECT_EQ(b->CallCallback(), 0);
    EXPECT_EQ(remove_calls, 1);
    EXPECT_EQ(win->GetButtonFromID("b", 0), nullptr);

    MWinButton* k = AddFocused("k", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    k->SetCallback(&RemoveSelf, 0, 0, 0);
    EXPECT_TRUE(k->HandleKeyDown(13)) << "the key was used, the button is gone";
    EXPECT_EQ(remove_calls, 2);
}

TEST_F(ButtonTest, ControllerTakesCallbacksAndRefusesDirectOnes)
{
    MWinButton* b = AddFocused("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    NullController ctrl;
    win->SetController(&ctrl);
    EXPECT_FALSE(b->SetPlainCallback([] {}));
    EXPECT_TRUE(Logged("Use controller"));
    EXPECT_TRUE(b->SetPlainCallback(static_cast<MWinButtonPlainCallback>(nullptr)));
    EXPECT_FALSE(b->SetCallback(&RecordCall, 1, 2, 1)) << "check flag set";
    EXPECT_TRUE(b->SetCallback(&RecordCall, 1, 2, 0)) << "no check flag";
    EXPECT_TRUE(b->HasCallback());
    EXPECT_EQ(b->CallCallback(), 1);
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_STREQ(ctrl.calls[0].button_id, "b");
    EXPECT_TRUE(Calls().empty()) << "the controller took it";
    win->UseCallbacks();
}

TEST_F(ButtonTest, BoundVariablesRefuseZeroMultipliers)
{
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 50, 20);
    int i = 0;
    short s = 0;
    float f = 0, g = 0;
    EXPECT_TRUE(b->RegisterIntVariable(&i, 2));
    EXPECT_EQ(b->GetBoundVariableKind(), MWIN_VAR_INT);
    EXPECT_FALSE(b->RegisterInt16Variable(&s, 0));
    EXPECT_TRUE(Logged("ID: b - 0 val passed as mult"));
    EXPECT_EQ(b->GetBoundVariableKind(), MWIN_VAR_INT) << "a refused multiplier changes nothing";
    EXPECT_FALSE(b->RegisterTwoFloatVariables(&f, &g, 0));
    EXPECT_TRUE(b->RegisterFloatVariable(&f, 0)) << "a float accepts any multiplier";
    EXPECT_TRUE(b->RegisterTwoFloatVariables(&f, nullptr, 0));
    EXPECT_EQ(b->GetBoundVariableKind(), MWIN_VAR_NONE);
}

TEST_F(ButtonTest, ScrollingTextMovesSpeedUnitsPerFrameAtTheEnginesFrameRate)
{
    // The program object publishes the frame period it runs at.
    ASSERT_NEAR(eng_main_frames_per_second, 1.0f / 60.0f, 1e-6);
    MWinButton* b = Add("b", MWIN_BUTTON_PUSH, 0, 0, 100, 20, "gone");
    b->SetScrollingText("news ticker", 2.0f);
    EXPECT_FALSE(b->HasText()) << "the normal texts make way";
    EXPECT_EQ(b->GetTextAlign(), MWIN_TEXT_ALIGN_LEFT);
    EXPECT_FLOAT_EQ(b->GetScrollingOffset(), 10);
    b->Tick();
    EXPECT_NEAR(b->GetScrollingOffset(), 12, 1e-4);
    program.ConstantFrameRateLoopSetConstantFrameRate(30);
    b->Tick();
    EXPECT_NEAR(b->GetScrollingOffset(), 16, 1e-4) << "the same speed in time at half the frame rate";
    program.ConstantFrameRateLoopSetConstantFrameRate(60);
    b->SetScrollingText(nullptr, 1);
    EXPECT_EQ(b->GetScrollingText(), nullptr);
}

} // namespace
