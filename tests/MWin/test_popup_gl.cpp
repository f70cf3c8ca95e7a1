// Drawing the popup, frame, graph, tab panel, styled-text box and vertical
// scrollbar on a real GL device, with a solid skin.
#include <cstring>
#include <string>

#include "SkinnedGLFixture.h"
#include "MWin/MWin.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinFrame.h"
#include "MWin/MWinGraph.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinStyledText.h"
#include "MWin/MWinTabPanel.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinVertScrollbar.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"

namespace
{
const char* Cell(int row, int column, MWinTabPanel*)
{
    static char buf[32];
    snprintf(buf, sizeof buf, row < 0 ? "Head %d" : "Row %d", row < 0 ? column : row);
    return buf;
}

class ExtrasGL : public vztest::SkinnedGL
{
protected:
    void AfterStartup() override
    {
        ASSERT_GE(mw->GetFonts()->AddUserFontPointer("Main", mw->GetFonts()->GetStandardFont()), 0);
    }

    void Draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
        mw->RenderPopups();
    }

    void ExpectNoErrors()
    {
        for (const std::string& line : vztest::LoggedLines())
            EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
    }
};
} // namespace

TEST_F(ExtrasGL, PopupIsDrawnOverTheDarkenedScreen)
{
    MWinButton* b = win->AddButton("b", MWIN_BUTTON_PUSH, "Green", "", 0, 0, 100, 50);
    ASSERT_NE(b, nullptr);
    Draw();
    int bright = Pixel(20, 20).g;
    EXPECT_GT(bright, 150);
    ASSERT_TRUE(MWinPopupOkCancel(mw, "Title", "A message for the popup", nullptr, nullptr));
    Draw();
    EXPECT_LT(Pixel(20, 20).g, bright * 3 / 4) << "the screen behind is darkened";
    EXPECT_GT(Pixel(320, 240).g, 150) << "the popup window is drawn in the middle";
    mw->PopupTurnOff();
    Draw();
    EXPECT_GT(Pixel(20, 20).g, 150);
    ExpectNoErrors();
}

TEST_F(ExtrasGL, ExtraWidgetsDraw)
{
    MWinFrameButton* frame =
        MWinWindowAddBackButton(win, "frame", MWIN_TEXBUT_DEFAULT, "Frame", 10, 10, 200, 150);
    ASSERT_NE(frame, nullptr);
    frame->AddCloseButton(static_cast<MWinButtonPlainCallback>(nullptr), 1);

    MWinGraph* g = MWinWindowAddGraph(win, "graph", MWIN_TEXBUT_NONE, 220, 10, 200, 150);
    ASSERT_NE(g, nullptr);
    g->SetFont("Main");
    g->SetStyle(MWIN_GRAPH_FILLED, 1, 2, 10, 4, 6, 2, 8, 0);
    g->SetColours(0, 0, 1, 1, 1, 1, 1, 0, 0);
    _MWinGraphVerticalLinesInfo vl = {};
    vl.on = 1;
    vl.thickness = 1;
    vl.labels_on = 1;
    vl.colour = {1, 1, 1, 1};
    vl.label_colour = {1, 1, 1, 1};
    vl.label_scale_x = vl.label_scale_y = 0.5f;
    g->SetVerticalLinesSettings(&vl);
    ASSERT_TRUE(g->SetMarks(0, 10, 4, 0, 100, 4));
    for (int i = 0; i < 4; i++)
        g->SetMarkValue(i, 100);
    g->SetTexts("100", "0", "start", "end");

    MWinTabPanel* tab = MWinWindowAddTabPanel(win, "tab", MWIN_TEXBUT_DEFAULT, 10, 180, 300, 100);
    ASSERT_NE(tab, nullptr);
    tab->SetFont("Main");
    tab->SetPreferences(1, 1, 1, 1, 0, 1, 20);
    ASSERT_TRUE(tab->SetEntryCallback(12, 3, 0, Cell));
    tab->SetMainSortColumn(1, 0, 0);
    tab->SelectRow(2, 1, 0, 0);

    MWinScriptButton* script =
        MWinWindowAddScriptButton(win, "script", MWIN_TEXBUT_DEFAULT, 320, 180, 200, 60);
    ASSERT_NE(script, nullptr);
    script->SetFont("Main");
    static char text[] =
        "<1<Name>2>42\nA longer line of text that has to wrap inside the box, and more lines\n"
        "<0>Centred\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20";
    script->SetStyle(1, 1, 0, 0, 1, 0);
    ASSERT_TRUE(script->SetTextPointer(text));
    EXPECT_GT(script->GetTotalLines(), 6);
    EXPECT_TRUE(script->IsSidebarOn()) << "the text is taller than the box";
    EXPECT_LT(script->GetTextWidthInBox(), 200);

    MWinVertScrollbar* vs = MWinWindowAddVertScrollbar(win, "vs", MWIN_TEXBUT_DEFAULT, "", 600, 10, 20, 200);
    ASSERT_NE(vs, nullptr);
    vs->TurnOnArrows(1);
    vs->SetValuesDouble(0, 10, 2, 1);
    vs->SetPosDouble(5, 0, 0, 0);
    script->Activate();
    script->HandleMouseWheel(-3);
    EXPECT_NEAR(script->GetScrollPos(), 3, 1e-4) << "the wheel scrolls the text line by line";

    Draw();
    EXPECT_GT(Pixel(100, 100).g, 150) << "the frame's body";
    EXPECT_GT(Pixel(610, 100).g, 150) << "the scrollbar";
    // The filled graph at its top value covers the plot above the axis band.
    vztest::Rgba plot = Pixel(330, 80);
    EXPECT_GT(plot.r, 150);
    EXPECT_LT(plot.g, 100);
    ExpectNoErrors();
}

TEST_F(ExtrasGL, StyledTextWithTheStandardFontSaysOnceWhyItDrawsNothing)
{
    MWinScriptButton* script = MWinWindowAddScriptButton(win, "notes", MWIN_TEXBUT_NONE, 10, 10, 300, 100);
    ASSERT_NE(script, nullptr);
    static char text[] = "<1<Name>2>42\nA second line";
    ASSERT_TRUE(script->SetTextPointer(text));
    ASSERT_EQ(script->GetFontNum(), -1) << "a new box uses the standard font";
    auto lit = [this]()
    {
        int n = 0;
        for (int y = 10; y < 110; y += 2)
            for (int x = 10; x < 310; x += 2)
                n += Pixel(x, y).r > 100;
        return n;
    };
    Draw();
    Draw();
    EXPECT_EQ(lit(), 0) << "nothing is drawn";
    int notices = 0;
    for (const std::string& line : vztest::LoggedLines())
        if (line.find("<notes>") != std::string::npos && line.find("standard font") != std::string::npos)
            notices++;
    EXPECT_EQ(notices, 1) << "one notice, naming the box, however often it is drawn";

    script->SetFont("Main");
    script->Reload();
    Draw();
    EXPECT_GT(lit(), 0) << "a user font draws the text";
    ExpectNoErrors();
}
