// The graph widget: set-up refusals, values, guide lines, and the layout of
// labels and ticks.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "MWin/MWinGraph.h"
#include "WidgetTestFixture.h"

using vztest::Logged;

namespace
{
class Graph : public vztest::WidgetTest
{
protected:
    MWinGraph* AddGraph(float x = 100, float y = 100, float w = 300, float h = 200)
    {
        MWinGraph* g = MWinWindowAddGraph(win, "graph", MWIN_TEXBUT_DEFAULT, x, y, w, h);
        EXPECT_NE(g, nullptr);
        return g;
    }
};
} // namespace

TEST(GraphGuideLines, StepAndCountFromTheRange)
{
    struct Case
    {
        double min, max;
        double step;
        int count;
        double first, last;
    };
    const Case cases[] = {
        {0, 150, 10, 14, 10, 140},
        {0, 5000, 1000, 4, 1000, 4000},
        {0, 0.002, 0, 0, 0, 0},
        {0, 1, 0.1, 9, 0.1, 0.9},
        {5, 5, 0, 0, 0, 0},
        {0, 250, 100, 2, 100, 200},
        {0, 25, 10, 2, 10, 20},
        {-50, 50, 10, 9, -40, 40},
        {1e12, 1e12 + 150, 10, 14, 1e12 + 10, 1e12 + 140},
    };
    for (const Case& c : cases)
    {
        double step = -1, values[20] = {};
        int n = MWinGraph::CalcGuideLines(c.min, c.max, &step, values, 20);
        EXPECT_EQ(n, c.count) << c.min << ".." << c.max;
        EXPECT_DOUBLE_EQ(step, c.step) << c.min << ".." << c.max;
        if (n > 0)
        {
            EXPECT_NEAR(values[0], c.first, 1e-9);
            EXPECT_NEAR(values[n - 1], c.last, 1e-9);
        }
    }
    EXPECT_FALSE(Logged("VLines problem"));
}

TEST_F(Graph, MarksAreCheckedAndValuesClamped)
{
    MWinGraph* g = AddGraph();
    EXPECT_EQ(g->GetType(), MWIN_BUTTON_GRAPH);
    EXPECT_FALSE(g->SetMarkValue(0, 1));
    EXPECT_TRUE(Logged("Marks not setup"));
    struct Bad
    {
        double hs, he;
        int count;
        double vmin, vmax;
        int vcount;
    };
    const Bad bad[] = {
        {0, 10, 1, 0, 100, 4}, {10, 0, 5, 0, 100, 4}, {0, 10, 5, 100, 0, 4}, {0, 10, 5, 0, 100, 1}};
    for (const Bad& b : bad)
        EXPECT_FALSE(g->SetMarks(b.hs, b.he, b.count, b.vmin, b.vmax, b.vcount));
    EXPECT_TRUE(Logged("Invalid Parameters"));

    ASSERT_TRUE(g->SetMarks(0, 10, 5, 0, 100, 4));
    EXPECT_TRUE(g->SetMarkValue(2, 40));
    EXPECT_DOUBLE_EQ(g->GetVertMarkValue(2), 40);
    EXPECT_TRUE(g->SetMarkValue(3, 150));
    EXPECT_TRUE(Logged("Warning - Invalid vert val"));
    EXPECT_DOUBLE_EQ(g->GetVertMarkValue(3), 100);
    EXPECT_FALSE(g->SetMarkValue(5, 1));
    EXPECT_TRUE(Logged("Invalid horz mark num 5"));

    // Blocks take a single mark.
    g->SetStyle(MWIN_GRAPH_BLOCKS, -1, -1, -1, -1, -1, -1, -1, -1);
    EXPECT_TRUE(g->SetMarks(0, 10, 1, 0, 100, 1));
    EXPECT_EQ(g->GetHorzMarkCount(), 1);
    // More vertical marks than horizontal ones fit the table.
    EXPECT_TRUE(g->SetMarks(0, 10, 2, 0, 100, 8));
    ASSERT_NE(g->GetMark(7), nullptr);
}

TEST_F(Graph, LayoutPlacesLabelsTicksAndGuideLines)
{
    MWinGraph* g = AddGraph(100, 100, 300, 200);
    // margin 10, line 4, band 6, tick thickness 2, tick length 8, no gap
    g->SetStyle(MWIN_GRAPH_LINE, 1, 2, 10, 4, 6, 2, 8, 0);
    _MWinGraphVerticalLinesInfo vl = {};
    vl.on = 1;
    vl.thickness = 1;
    g->SetVerticalLinesSettings(&vl);
    ASSERT_TRUE(g->SetMarks(0, 10, 3, 0, 150, 3));
    // X0 110, X1 390, Y0 110, Yb 290, axis line 284
    EXPECT_FLOAT_EQ(g->GetLabelPos(0)->x, 110 - 8 - 3);
    EXPECT_FLOAT_EQ(g->GetLabelPos(1)->y, 284);
    EXPECT_FLOAT_EQ(g->GetLabelPos(2)->x, 116);
    EXPECT_FLOAT_EQ(g->GetLabelPos(3)->y, 290 + 8 + 3);
    // Three marks of a line are two segments: ticks at X0 + 1, the middle and X1 - 1.
    EXPECT_NEAR(g->GetMark(0)->x_offset * 320, 111, 1e-3);
    EXPECT_NEAR(g->GetMark(2)->x_offset * 320, 389, 1e-3);
    EXPECT_NEAR(g->GetMark(0)->y_offset * -240, 289, 1e-3);
    EXPECT_NEAR(g->GetMark(2)->y_offset * -240, 111, 1e-3);
    ASSERT_EQ(g->GetNumGuideLines(), 14);
    EXPECT_STREQ(g->GetGuideLine(0)->label, "10");
    EXPECT_NEAR(g->GetGuideLine(13)->y, 289 - 140.0 / 150 * 174, 1e-3);

    g->SetTexts("top", nullptr, "left", nullptr);
    EXPECT_STREQ(g->GetLabel(0), "top");
    EXPECT_STREQ(g->GetLabel(1), "");
    g->SetTexts(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(g->GetLabel(0), nullptr);
}
