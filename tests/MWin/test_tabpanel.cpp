// The tab panel: filling, column widths, rows per page and the scrollbar,
// selection by mouse and keys, heading clicks and sorting.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/TestSupport.h"
#include "MWin/MWinTabPanel.h"
#include "MWin/MWinVertScrollbar.h"
#include "WidgetTestFixture.h"

using vztest::Calls;
using vztest::Logged;
using vztest::RecordCall;

namespace
{
const char* Cell(int row, int column, MWinTabPanel*)
{
    static char buf[32];
    if (row < 0)
        snprintf(buf, sizeof buf, "Head%d", column);
    else
        snprintf(buf, sizeof buf, "r%dc%d", row, column);
    return buf;
}

class TabPanel : public vztest::WidgetTest
{
protected:
    MWinTabPanel* Add(float x, float y, float w, float h)
    {
        MWinTabPanel* p = MWinWindowAddTabPanel(win, "tab", MWIN_TEXBUT_DEFAULT, x, y, w, h);
        EXPECT_NE(p, nullptr);
        p->SetCallback(&RecordCall, 0, 0, 0);
        p->Activate();
        return p;
    }
    // Releases the left button over the middle of the row's first column.
    void ClickRow(MWinTabPanel* p, int row)
    {
        const _Dimension* r = p->GetRowsArea();
        Mouse(r->x + 5, r->y + (row - p->GetFirstDisplayedRowF() + 0.5f) * p->GetRowHeight());
        EXPECT_TRUE(p->HandleMouseButtonPressed(0, 1, 0));
        p->HandleMouseButtonPressed(0, 0, 0);
    }
};
} // namespace

TEST_F(TabPanel, FillingIsCheckedAndRowsPerPageFollowTheHeight)
{
    MWinTabPanel* p = Add(10, 10, 200, 100);
    EXPECT_EQ(p->GetType(), MWIN_TABPANEL_TYPE);
    EXPECT_FALSE(p->SetEntryCallback(10, 0, 0, Cell));
    EXPECT_TRUE(Logged("invalid num cols 0 (ID: tab)"));
    EXPECT_FALSE(p->SetEntryCallback(-1, 2, 0, Cell));
    EXPECT_TRUE(Logged("invalid num rows -1 (ID: tab)"));
    EXPECT_FALSE(p->SetEntryCallback(10, 2, 0, nullptr));
    EXPECT_TRUE(Logged("Null callback entry (ID: tab)"));

    ASSERT_TRUE(p->SetEntryCallback(10, 2, 0, Cell));
    EXPECT_EQ(p->GetNumPerPage(), 5); // 100 / default button height 20
    ASSERT_TRUE(p->IsScrollbarOn());
    MWinVertScrollbar* sb = p->GetScrollbar();
    ASSERT_NE(sb, nullptr);
    EXPECT_STREQ(sb->GetID(), "TabPanel_VS");
    EXPECT_DOUBLE_EQ(sb->GetMin(), 0);
    EXPECT_DOUBLE_EQ(sb->GetMax(), 5);
    EXPECT_STREQ(p->GetEntryString(3, 1), "r3c1");
    EXPECT_STREQ(p->GetEntryString(10, 0), "");

    // A null callback keeps the earlier one; rows that fit drop the scrollbar.
    ASSERT_TRUE(p->SetEntryCallback(4, 2, 0, nullptr));
    EXPECT_FALSE(p->IsScrollbarOn());
    EXPECT_EQ(p->GetScrollbar(), nullptr);
    EXPECT_STREQ(p->GetEntryString(0, 0), "r0c0");
    ASSERT_TRUE(p->SetEntryCallback(12, 2, 3, nullptr));
    EXPECT_EQ(p->GetNumPerPage(), 3);
    EXPECT_TRUE(p->IsScrollbarOn());
}

TEST_F(TabPanel, ColumnWidthsFromPercentages)
{
    // A 308-wide panel has 300 units for its columns (margins of 2 twice on each side).
    MWinTabPanel* p = Add(10, 10, 308, 200);
    ASSERT_TRUE(p->SetEntryCallback(3, 3, 0, Cell));
    EXPECT_FLOAT_EQ(p->GetColumn(0)->width, 100);
    ASSERT_TRUE(p->SetColumnWidthPercentage(0, 20));
    EXPECT_FLOAT_EQ(p->GetColumn(0)->width, 60);
    EXPECT_FLOAT_EQ(p->GetColumn(1)->width, 120);
    EXPECT_FLOAT_EQ(p->GetColumn(2)->x_offset, 180);
    EXPECT_FALSE(p->SetColumnWidthPercentage(3, 20));
    EXPECT_TRUE(Logged("Column does not exist [3]"));
    EXPECT_FALSE(p->SetColumnWidthPercentage(1, 101));
    EXPECT_TRUE(Logged("Invalid percentage: [101]"));

    ASSERT_TRUE(p->SetEntryCallback(3, 2, 0, Cell));
    p->SetColumnWidthPercentage(0, 60);
    p->SetColumnWidthPercentage(1, 60);
    EXPECT_FLOAT_EQ(p->GetColumn(0)->width, 150);
    EXPECT_FLOAT_EQ(p->GetColumn(1)->width, 150);
}

TEST_F(TabPanel, KeysMoveTheSelectionOrScrollThePage)
{
    MWinTabPanel* p = Add(10, 10, 200, 100);
    ASSERT_TRUE(p->SetEntryCallback(5, 2, 0, Cell));
    ASSERT_FALSE(p->IsScrollbarOn());
    ASSERT_TRUE(p->SelectRow(4, 1, 0, 0));
    Calls().clear();
    EXPECT_TRUE(p->HandleKeyDown(247));
    EXPECT_EQ(p->GetFirstSelectedRow(), 4);
    EXPECT_TRUE(Calls().empty()) << "nothing moved, nothing called";

    p->ClearSel();
    p->SelectRow(1, 1, 0, 0);
    EXPECT_TRUE(p->HandleKeyDown(249));
    EXPECT_EQ(p->GetFirstSelectedRow(), 4);
    EXPECT_EQ(p->GetNumSelectedRows(), 1);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].tab_row, 4);
    EXPECT_EQ(Calls()[0].tab_select, 1);
    EXPECT_EQ(Calls()[0].tab_select2, 0) << "source: keyboard";

    // With a scrollbar in use the page scrolls and the selection stays.
    ASSERT_TRUE(p->SetEntryCallback(20, 2, 0, Cell));
    p->SelectRow(1, 1, 0, 0);
    EXPECT_TRUE(p->HandleKeyDown(249));
    EXPECT_EQ(p->GetFirstDisplayedRow(), 5);
    EXPECT_DOUBLE_EQ(p->GetScrollbar()->GetPosDouble(), 5);
    EXPECT_EQ(p->GetFirstSelectedRow(), 1);
    p->HandleKeyDown(249);
    p->HandleKeyDown(249);
    p->HandleKeyDown(249);
    EXPECT_EQ(p->GetFirstDisplayedRow(), 15) << "not past the last page";
    // Selecting a row off the page brings it into view.
    p->SelectRow(2, 1, 0, 0);
    EXPECT_EQ(p->GetFirstDisplayedRow(), 2);
}

TEST_F(TabPanel, MouseSelectsRowsAndHeadingsSort)
{
    MWinTabPanel* p = Add(10, 10, 200, 120);
    p->SetPreferences(1, 1, 1, 1, 0, 1, 20);
    ASSERT_TRUE(p->SetEntryCallback(5, 2, 0, Cell));
    ClickRow(p, 2);
    EXPECT_EQ(p->GetFirstSelectedRow(), 2);
    ClickRow(p, 3);
    EXPECT_EQ(p->GetFirstSelectedRow(), 3);
    EXPECT_EQ(p->GetNumSelectedRows(), 1) << "one row at a time";
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().tab_select2, 1) << "source: mouse";

    p->AllowMultipleRowsSelection(1);
    EXPECT_EQ(p->GetNumSelectedRows(), 0);
    ClickRow(p, 0);
    eng_key_down[228] = 1;
    ClickRow(p, 2);
    eng_key_down[228] = 0;
    EXPECT_EQ(p->GetNumSelectedRows(), 2) << "Shift adds a row";

    p->AllowMultipleRowsSelection(2);
    ClickRow(p, 1);
    ClickRow(p, 1);
    EXPECT_FALSE(p->IsRowSelected(1)) << "each click toggles";

    // Heading: the first release sorts by that column, the next flips it.
    Calls().clear();
    p->SetMainSortColumn(0, 0, 0);
    const MWinTabPanelColumn* c1 = p->GetColumn(1);
    Mouse(10 + 2 + c1->x_offset + 5, 10 + 10);
    EXPECT_TRUE(p->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(p->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_EQ(p->GetSortInfo()->sort_column, 1);
    EXPECT_EQ(p->GetSortInfo()->previous_sort_column, 0);
    p->HandleMouseButtonPressed(0, 1, 0);
    p->HandleMouseButtonPressed(0, 0, 0);
    EXPECT_EQ(p->GetSortInfo()->sort_direction, 1);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].tab_heading_pressed, 1);

    EXPECT_FALSE(p->SelectRow(9, 1, 0, 0));
    EXPECT_TRUE(Logged("Bad row number [9]"));
}

TEST_F(TabPanel, BoundVariableFollowsTheSelection)
{
    MWinTabPanel* p = Add(10, 10, 200, 100);
    ASSERT_TRUE(p->SetEntryCallback(8, 1, 0, Cell));
    int sel = 6;
    ASSERT_TRUE(p->RegisterIntVariable(&sel, 1));
    EXPECT_TRUE(p->IsRowSelected(6));
    EXPECT_EQ(p->GetFirstDisplayedRow(), 2) << "the row is brought onto the page";
    p->ClearSel();
    p->SelectRow(3, 1, 0, 0);
    EXPECT_EQ(sel, 3);
    EXPECT_TRUE(p->SetFirstSelectedRowNumberToColumnString(0, "r5c0"));
    EXPECT_EQ(sel, 5);

    p->AllowSelection(0);
    char c = 0;
    EXPECT_FALSE(p->RegisterCharVariable(&c, 1));
    EXPECT_TRUE(Logged("Selection not active"));
}

TEST_F(TabPanel, WheelAndScrollbarMoveThePage)
{
    MWinTabPanel* p = Add(10, 10, 200, 100);
    ASSERT_TRUE(p->SetEntryCallback(20, 2, 0, Cell));
    ASSERT_TRUE(p->IsScrollbarOn());
    EXPECT_TRUE(p->HandleMouseWheel(-2));
    EXPECT_EQ(p->GetFirstDisplayedRow(), 2) << "the wheel goes to the scrollbar";
    EXPECT_TRUE(p->HandleMouseWheel(5));
    EXPECT_EQ(p->GetFirstDisplayedRow(), 0);

    // A press on the scrollbar's track below its thumb pages down.
    MWinVertScrollbar* sb = p->GetScrollbar();
    const _Dimension* a = sb->GetActualArea();
    Mouse(a->x + a->w / 2, a->y + a->h - 2);
    EXPECT_TRUE(p->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(p->GetFirstDisplayedRow(), 5);
    p->HandleMouseButtonPressed(0, 0, 0);

    // Without a scrollbar the wheel moves a single selection.
    ASSERT_TRUE(p->SetEntryCallback(4, 2, 0, Cell));
    p->SelectRow(1, 1, 0, 0);
    EXPECT_TRUE(p->HandleMouseWheel(-1));
    EXPECT_EQ(p->GetFirstSelectedRow(), 2);
    EXPECT_EQ(p->GetNumSelectedRows(), 1);
}
