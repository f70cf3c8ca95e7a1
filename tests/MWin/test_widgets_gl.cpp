// Widget drawing on a real GL device: backgrounds, skipping, the extra render
// callback, the pie, and every kind drawn without errors.
#include <cstring>
#include <string>

#include "SkinnedGLFixture.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinColourPicker.h"
#include "MWin/MWinHorzScrollbar.h"
#include "MWin/MWinTabPanel.h"
#include "MWin/MWinVertScrollbar.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"

namespace
{

int extra_calls = 0;
_Dimension extra_area;
void ExtraRender(MWinButton*, _Dimension* area, _MWinTextureState, int, void*)
{
    extra_calls++;
    extra_area = *area;
}

const char* kItems[] = {"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight"};

class WidgetsGL : public vztest::SkinnedGL
{
protected:
    void SetUp() override
    {
        vztest::SkinnedGL::SetUp();
        extra_calls = 0;
    }

    void Draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
    }
};

TEST_F(WidgetsGL, BackgroundFillsTheAreaAndTheExtraCallbackFollows)
{
    MWinButton* b = win->AddButton("b", MWIN_BUTTON_PUSH, "Green", "", 100, 100, 100, 50);
    ASSERT_NE(b, nullptr);
    b->SetExtraRenderCB(&ExtraRender, 0, nullptr);
    Draw();
    vztest::Rgba in = Pixel(150, 125);
    EXPECT_GT(in.g, 150);
    EXPECT_LT(in.r, 50);
    vztest::Rgba out = Pixel(50, 50);
    EXPECT_LT(out.g, 20);
    EXPECT_EQ(extra_calls, 1);
    EXPECT_FLOAT_EQ(extra_area.x, 100);
    EXPECT_FLOAT_EQ(extra_area.w, 100);

    b->SetTransparency(0);
    Draw();
    EXPECT_LT(Pixel(150, 125).g, 20) << "alpha 0 draws nothing";
    EXPECT_EQ(extra_calls, 1) << "not even the extra callback";
}

TEST_F(WidgetsGL, CustomBackgroundFallsBackToItsNormalState)
{
    std::string red = tmp.File("red.tga");
    vztest::WriteSolidTga(red, 8, 8, 255, 0, 0);
    MWinButton* b = win->AddButton("b", MWIN_BUTTON_PUSH, "Green", "", 100, 100, 100, 50);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->SetBackTexButToCustom(tmp.File("missing.tga").c_str()));
    EXPECT_FALSE(b->IsCustomBackOn());
    ASSERT_TRUE(b->SetBackTexButToCustom(red.c_str()));
    EXPECT_STREQ(b->GetBackCustomTexButFilename(), red.c_str());
    b->SetOverrideRenderState(MWIN_TEXSTATE_PRESSED); // no record of its own
    Draw();
    vztest::Rgba in = Pixel(150, 125);
    EXPECT_GT(in.r, 150);
    EXPECT_LT(in.g, 50);
    b->SetColour(1, 1, 1, 0.5f);
    Draw();
    EXPECT_NEAR(Pixel(150, 125).r, 128, 20) << "the button colour multiplies the record's";
}

TEST_F(WidgetsGL, NoTextureButtonDrawsNoBackground)
{
    MWinButton* b = win->AddButton("label", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 100, 100, 100, 50);
    ASSERT_NE(b, nullptr);
    Draw();
    EXPECT_LT(Pixel(150, 125).g, 20);
}

TEST_F(WidgetsGL, PieSectorStartsAtTheLeftAndTurnsOverTheTop)
{
    MWinButton* b = win->AddButton("pie", MWIN_BUTTON_PIE, MWIN_TEXBUT_NONE, "", 200, 100, 200, 200);
    ASSERT_NE(b, nullptr);
    b->PieSetColours(1, 0, 0, 0, 0, 1, 0, 0, 1);
    b->PieSetValuesFloat(0.25f, 1);
    Draw();
    vztest::Rgba sector = Pixel(300 - 40, 200 - 40); // upper left quarter
    vztest::Rgba rest = Pixel(300 + 40, 200 + 40);   // lower right quarter
    EXPECT_GT(sector.r, 150);
    EXPECT_LT(sector.b, 50);
    EXPECT_GT(rest.b, 150);
    EXPECT_LT(rest.r, 50);
    b->PieSetValuesFloat(0, 1);
    Draw();
    EXPECT_LT(Pixel(300 - 40, 200 - 40).r, 50) << "a value of 0 draws no sector";
}

TEST_F(WidgetsGL, EveryKindDrawsWithoutErrors)
{
    MWinButton* te =
        win->AddButton("te", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, "text", 10, 10, 150, 20);
    MWinButton* list = win->AddButton("list", MWIN_BUTTON_LIST, MWIN_TEXBUT_DEFAULT, "", 10, 40, 150, 20);
    MWinButton* cb =
        win->AddButton("cb", MWIN_BUTTON_CHECKBOX, MWIN_TEXBUT_DEFAULT, "Check", 10, 70, 150, 20);
    MWinButton* ch = win->AddButton("ch", MWIN_BUTTON_CHOICE, MWIN_TEXBUT_DEFAULT, "", 10, 100, 150, 20);
    MWinButton* arrows = win->AddButton("ar", MWIN_BUTTON_CHOICE, MWIN_TEXBUT_DEFAULT, "", 10, 130, 150, 20);
    MWinButton* panel = win->AddButton("panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", 200, 10, 150, 80);
    MWinButton* range =
        win->AddButton("range", MWIN_BUTTON_RANGE, MWIN_TEXBUT_DEFAULT, "R", 200, 100, 150, 20);
    MWinButton* two = win->AddButton("two", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Top", 200, 130, 150, 40);
    MWinButton* multi = win->AddButton("multi", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 400, 10, 200, 100);
    MWinButton* scroll = win->AddButton("scroll", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 400, 120, 200, 20);
    MWinColour* pick = new MWinColour(mw, "pick", win, MWIN_TEXBUT_DEFAULT, "", 10, 200, 256, 100);
    win->CompleteAddButton(pick);
    for (MWinButton* b : {te, list, cb, ch, arrows, panel, range, two, multi, scroll})
        ASSERT_NE(b, nullptr);
    pick->Set(1, 0, 0, 0);
    te->TextEditSetLength(20);
    te->TextEditHideLetters();
    list->ListSetStrings(8, kItems);
    ch->ChoiceSetStrings(3, kItems);
    arrows->ChoiceSetStrings(3, kItems);
    arrows->ChoiceUseArrows(1, 0);
    arrows->ChoiceSetSel(1);
    panel->PanelSetStrings(8, 3, kItems);
    _ColourRGBA red = {1, 0, 0, 1};
    panel->PanelSetEntryColour(1, &red);
    range->RangeSetLimits(0, 1, 0.1f);
    range->RangeSetAutoText(1, 1, 1);
    two->SetText2("Bottom");
    multi->SetMultilineText("A longer text that wraps over more than one line of the box.");
    scroll->SetScrollingText("Scrolling along", 1);

    Draw();
    te->Activate();
    te->TextEditTurnOnEditing();
    for (int i = 0; i < 10; i++)
        te->Tick();
    list->ListOpen();
    ASSERT_TRUE(list->ListIsOpen());
    Draw();
    float w = 0, h = 0;
    EXPECT_TRUE(multi->CalcMultilineTextBoxSize(&w, &h));
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    EXPECT_GT(cb->CheckboxGetTextEnd(), 0) << "a centred checkbox learns where its text ends";
    // The hue strip shows red at its right end under the scrollbar's thumb-free part.
    const _Dimension* hue = pick->GetScrollbar(0)->GetActualArea();
    vztest::Rgba strip = Pixel(int(hue->x + 5), int(hue->y + hue->h / 2));
    EXPECT_GT(strip.r, 150);
    EXPECT_LT(strip.g, 50);
    // The open list covers the buttons below it in the second pass.
    EXPECT_GT(Pixel(20, 180).g, 150);
    for (const std::string& line : vztest::LoggedLines())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

// A horizontal bar without a range yet is skipped; the widgets after it (and the
// kinds that need no content to draw) are still drawn.
TEST_F(WidgetsGL, WidgetsAfterAnUnrangedScrollbarAreDrawn)
{
    auto* bar =
        static_cast<MWinHorzScrollbar*>(win->AddHorzScrollbar("h", MWIN_TEXBUT_DEFAULT, "", 10, 10, 300, 20));
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(bar->IsLive());
    struct Case
    {
        const char* what;
        MWinButton* b;
    } cases[] = {
        {"push", win->AddButton("push", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "", 10, 60, 100, 40)},
        {"kind 13", win->AddButton("gen", MWIN_BUTTON_GENERIC, MWIN_TEXBUT_DEFAULT, "", 130, 60, 100, 40)},
        {"pie", win->AddButton("pie", MWIN_BUTTON_PIE, MWIN_TEXBUT_DEFAULT, "", 250, 60, 100, 100)},
        {"vertical bar", MWinWindowAddVertScrollbar(win, "v", MWIN_TEXBUT_DEFAULT, "", 370, 60, 20, 200)},
        {"tab panel", MWinWindowAddTabPanel(win, "tab", MWIN_TEXBUT_DEFAULT, 410, 60, 200, 200)},
    };
    Draw();
    for (const Case& c : cases)
    {
        ASSERT_NE(c.b, nullptr) << c.what;
        const _Dimension* a = c.b->GetActualArea();
        EXPECT_GT(Pixel(int(a->x + 2), int(a->y + 2)).g, 150) << c.what;
    }
    EXPECT_LT(Pixel(160, 20).g, 20) << "the unranged bar itself is not drawn";
    bar->SetValues(0, 10, 1, 1);
    Draw();
    EXPECT_GT(Pixel(160, 20).g, 150) << "a ranged bar is drawn";
    for (const std::string& line : vztest::LoggedLines())
        EXPECT_EQ(line.find("Internal Error"), std::string::npos) << line;
}

} // namespace
