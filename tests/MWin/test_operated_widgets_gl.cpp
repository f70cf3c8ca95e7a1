// Widgets drawn after they were operated through the toolkit's input path:
// a scrolled list panel, an open drop-down list, a scrolled tab panel and a
// range with a dragged handle. Each look has its own colour, so a pixel tells
// which part was drawn where.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SkinnedGLFixture.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinTabPanel.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"

namespace
{
const char* kEntries[] = {"e0",  "e1",  "e2",  "e3",  "e4",  "e5",  "e6",  "e7",  "e8",  "e9",
                          "e10", "e11", "e12", "e13", "e14", "e15", "e16", "e17", "e18", "e19"};
const int kNumEntries = 20;

const char* TabCell(int row, int column, MWinTabPanel*)
{
    static char buf[32];
    snprintf(buf, sizeof buf, "%d/%d", row, column);
    return buf;
}

// What a panel's item renderer was handed, by entry.
std::map<int, _Dimension>& ItemRects()
{
    static std::map<int, _Dimension> rects;
    return rects;
}

void RecordItem(MWinButton*, _Dimension* area, _MWinTextureState, int entry, void*)
{
    ItemRects()[entry] = *area;
}

enum Look
{
    OTHER,
    BLACK, // nothing drawn
    GREEN, // every look not named below
    BLUE,  // a row or list background
    RED,   // a highlight, a selected row or a range handle
};

struct Probe
{
    float x, y;
    Look look;
    std::string what;
};

class OperatedGL : public vztest::SkinnedGL
{
protected:
    void AfterStartup() override
    {
        MWinTextures* t = mw->GetTextures();
        std::string white = tmp.File("white.tga"), blue = tmp.File("blue.tga"), red = tmp.File("red.tga");
        vztest::WriteSolidTga(white, 8, 8, 255, 255, 255);
        vztest::WriteSolidTga(blue, 8, 8, 0, 0, 255);
        vztest::WriteSolidTga(red, 8, 8, 255, 0, 0);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Blue", blue.c_str()), nullptr);
        ASSERT_NE(t->AddTextureWithOneTextureButton("Red", red.c_str()), nullptr);
        // A panel row shows its state: normal blue, highlighted red.
        ASSERT_NE(t->AddTextureWithOneTextureButton("Rows", white.c_str()), nullptr);
        ASSERT_TRUE(t->CopyAllStatesFromNormalState("Rows"));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Rows", MWIN_TEXSTATE_NORMAL, 0, 0, 1, 1));
        ASSERT_TRUE(t->SetTextureButtonStateColourMultiplier("Rows", MWIN_TEXSTATE_FOCUSED, 1, 0, 0, 1));
        t->DestroyTextures();
        ASSERT_TRUE(t->CreateTextures());
        t->SetStandardTextureToTexBut(MWIN_STD_TEX_PANEL, "Rows");
        // Backgrounds blue, whatever marks a place red; everything else stays green.
        for (int slot : {MWIN_STD_TEX_LIST_OPEN_MAIN, MWIN_STD_TEX_LIST_OPEN_TOP, MWIN_STD_TEX_LIST_OPEN_BOT,
                         MWIN_STD_TEX_TABPANEL_ROW_BACK_1})
            t->SetStandardTextureToTexBut(slot, "Blue");
        for (int slot : {MWIN_STD_TEX_LEFT_ARROW, MWIN_STD_TEX_RIGHT_ARROW, MWIN_STD_TEX_LIST_OPEN_SEL,
                         MWIN_STD_TEX_TABPANEL_ROW_SEL})
            t->SetStandardTextureToTexBut(slot, "Red");
        ItemRects().clear();
    }

public:
    // The cases of the table below drive the widgets through these.
    using vztest::SkinnedGL::win;

    void Draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
    }

    // The window is 640 x 480 pixels, so pixels and toolkit units agree.
    void Move(float x, float y) { mw->ProcessInput(ENG_INPUT_MOUSE_MOVE, int(x), int(y)); }
    void Button(char down) { mw->ProcessInput(ENG_INPUT_MOUSE_BUTTON, 0, down); }
    void Click(float x, float y)
    {
        Move(x, y);
        Button(1);
        Button(0);
    }
    void Drag(float x0, float y0, float x1, float y1)
    {
        Move(x0, y0);
        Button(1);
        Move(x1, y1);
        Button(0);
    }
    void Wheel(int d) { mw->ProcessInput(ENG_INPUT_MOUSE_WHEEL, d, 0); }

    static Look LookAt(float x, float y)
    {
        vztest::Rgba p = Pixel(int(x), int(y));
        if (p.b > 150 && p.r < 80 && p.g < 80)
            return BLUE;
        if (p.r > 150 && p.b < 80 && p.g < 80)
            return RED;
        if (p.g > 150 && p.r < 80 && p.b < 80)
            return GREEN;
        if (p.r < 30 && p.g < 30 && p.b < 30)
            return BLACK;
        return OTHER;
    }

    // A list panel of 20 entries, five rows of 40 at (100, 100), entry 3 selected.
    MWinButton* AddPanel()
    {
        MWinButton* p =
            win->AddButton("panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", 100, 100, 200, 200);
        EXPECT_NE(p, nullptr);
        if (!p)
            return nullptr;
        p->PanelSetStrings(kNumEntries, 5, kEntries);
        p->PanelSetPanelItemRenderCB(&RecordItem, nullptr);
        Click(150, 100 + 3.5f * 40); // selects entry 3
        EXPECT_EQ(p->PanelGetPos(), 3);
        return p;
    }

    // Every entry on the page was handed the row the panel reports for it,
    // (entry - display) rows below the top; the probes mark the selected row
    // and the next one by where the entries lie.
    std::vector<Probe> CheckPanelRows(MWinButton* p, float display)
    {
        EXPECT_FLOAT_EQ(p->PanelGetDisplayPos(), display);
        Draw();
        const _MWinButtonPanelInfo* info = p->PanelGetInfo();
        int first = int(display), last = std::min(kNumEntries - 1, first + 5);
        for (int k = first; k <= last; k++)
        {
            SCOPED_TRACE("entry " + std::to_string(k));
            EXPECT_EQ(ItemRects().count(k), 1u);
            const _Dimension& r = ItemRects()[k];
            EXPECT_NEAR(r.y, 100 + (k - display) * 40, 1e-3);
            EXPECT_FLOAT_EQ(r.h, 40);
            EXPECT_FLOAT_EQ(r.w, info->entries_w);
            _Dimension d = {};
            EXPECT_TRUE(p->PanelGetNthItemsDimension(k, &d));
            EXPECT_FLOAT_EQ(d.y, r.y);
        }
        int sel = p->PanelGetPos();
        auto row_mid = [&](int k) { return 100 + (k - display) * 40 + 20; };
        float x = 100 + info->entries_w - 10; // clear of the texts
        return {{x, row_mid(sel), RED, "the selected entry's row"},
                {x, row_mid(sel + 1), BLUE, "the entry after it"}};
    }

    // A range 110 wide at (100, 420) over [0, 1], set to [0.25, 0.75].
    MWinButton* AddRange()
    {
        MWinButton* r =
            win->AddButton("range", MWIN_BUTTON_RANGE, MWIN_TEXBUT_DEFAULT, "", 100, 420, 110, 40);
        EXPECT_NE(r, nullptr);
        if (!r)
            return nullptr;
        r->RangeSetLimits(0, 1, 0.1f);
        r->RangeSetRange(0.25f, 0.75f, 0, 0);
        return r;
    }

    // Drags one end of the range by dx, pressed 4 units inside that end, where
    // its handle is drawn, and reports where the handles are drawn after.
    std::vector<Probe> DragRangeHandle(MWinButton* r, bool upper, float dx)
    {
        float f = (*mw->GetLayoutSettings())[54];
        float lx, hx;
        r->RangeGetScreenXPos(&lx, &hx);
        float y = r->GetActualArea()->y + r->GetActualArea()->h / 2;
        float grab = upper ? hx - 4 : lx + 4;
        float lo = r->RangeGetInfo()->lower, hi = r->RangeGetInfo()->upper;
        Drag(grab, y, grab + dx, y);
        EXPECT_FALSE(r->IsDragging());
        if (upper)
        {
            EXPECT_FLOAT_EQ(r->RangeGetInfo()->lower, lo) << "the lower end stays";
            EXPECT_GT(r->RangeGetInfo()->upper, hi + 0.1f) << "the upper end follows the mouse";
        }
        else
        {
            EXPECT_FLOAT_EQ(r->RangeGetInfo()->upper, hi) << "the upper end stays";
            EXPECT_LT(r->RangeGetInfo()->lower, lo - 0.1f) << "the lower end follows the mouse";
        }
        float nlx, nhx;
        r->RangeGetScreenXPos(&nlx, &nhx);
        EXPECT_FLOAT_EQ(upper ? nlx : nhx, upper ? lx : hx) << "the other handle is drawn where it was";
        Draw();
        return {{nlx + f / 2, y, RED, "the lower handle"},
                {nhx - f / 2, y, RED, "the upper handle"},
                {grab, y, GREEN, "where the moved handle was"}};
    }
};

TEST_F(OperatedGL, WidgetsAreDrawnWhereTheirInputLeftThem)
{
    struct Case
    {
        const char* what;
        std::function<std::vector<Probe>(OperatedGL*)> operate;
    };
    const Case cases[] = {
        {"list panel dragged to a fractional position",
         [](OperatedGL* t) -> std::vector<Probe>
         {
             MWinButton* p = t->AddPanel();
             if (!p)
                 return {};
             const _MWinButtonPanelInfo* info = p->PanelGetInfo();
             float x = info->slider_x + info->slider_w / 2;
             float y = info->slider_y + info->slider_length / 2;
             t->Drag(x, y, x, y + 20);
             float d = p->PanelGetDisplayPos();
             EXPECT_GT(d, 0.5f);
             EXPECT_LT(d, 3.0f);
             EXPECT_NE(d, std::floor(d)) << "the slider leaves the page between two rows";
             return t->CheckPanelRows(p, d);
         }},
        {"list panel wheeled to a whole position",
         [](OperatedGL* t) -> std::vector<Probe>
         {
             MWinButton* p = t->AddPanel();
             if (!p)
                 return {};
             t->Wheel(-12);
             t->Click(150, 100 + 2.5f * 40); // the third row of the page: entry 14
             EXPECT_EQ(p->PanelGetPos(), 14);
             return t->CheckPanelRows(p, 12);
         }},
        {"drop-down list opened and moved down two rows",
         [](OperatedGL* t) -> std::vector<Probe>
         {
             MWinButton* l =
                 t->win->AddButton("list", MWIN_BUTTON_LIST, MWIN_TEXBUT_DEFAULT, "", 350, 60, 150, 20);
             if (!l)
                 return {};
             l->ListSetStrings(8, kEntries);
             t->Click(400, 70);
             EXPECT_TRUE(l->ListIsOpen());
             t->Move(400, 60 + 2.5f * 20);
             EXPECT_EQ(l->ListGetInfo()->open_pos, 2);
             t->Draw();
             return {{490, 60 + 2.5f * 20, RED, "the row under the mouse"},
                     {490, 60 + 1.5f * 20, BLUE, "the row above it"},
                     {490, 60 + 4.5f * 20, BLUE, "a row further down"}};
         }},
        {"tab panel wheeled down two rows",
         [](OperatedGL* t) -> std::vector<Probe>
         {
             MWinTabPanel* tab = MWinWindowAddTabPanel(t->win, "tab", MWIN_TEXBUT_NONE, 350, 250, 250, 200);
             if (!tab)
                 return {};
             tab->SetFont(MWIN_FONT_DEFAULT);
             tab->SetPreferences(0, 0, 0, 1, 0, 0, 0);
             EXPECT_TRUE(tab->SetEntryCallback(30, 2, 5, TabCell));
             const _Dimension* rows = tab->GetRowsArea();
             float h = tab->GetRowHeight();
             t->Click(rows->x + 10, rows->y + 3.5f * h); // selects row 3
             EXPECT_EQ(tab->GetFirstSelectedRow(), 3);
             t->Wheel(-2);
             EXPECT_FLOAT_EQ(tab->GetFirstDisplayedRowF(), 2);
             _Dimension cell;
             EXPECT_TRUE(tab->GetEntryDisplayedArea(3, 0, &cell));
             EXPECT_FLOAT_EQ(cell.y, rows->y + h);
             t->Draw();
             float x = rows->x + rows->w - 5; // clear of the texts
             return {{x, rows->y + 1.5f * h, RED, "the selected row, now the second"},
                     {x, rows->y + 0.5f * h, BLUE, "the row above it"},
                     {x, rows->y + 2.5f * h, BLUE, "the row below it"}};
         }},
        {"range with its lower handle dragged left",
         [](OperatedGL* t) { return t->DragRangeHandle(t->AddRange(), false, -40); }},
        {"range with its upper handle dragged right",
         [](OperatedGL* t) { return t->DragRangeHandle(t->AddRange(), true, 40); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        win->RemoveAllButtons();
        ItemRects().clear();
        std::vector<Probe> probes = c.operate(this);
        EXPECT_FALSE(probes.empty());
        for (const Probe& p : probes)
            EXPECT_EQ(LookAt(p.x, p.y), p.look) << p.what << " at " << p.x << "," << p.y;
    }
    for (const std::string& line : vztest::LoggedLines())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

} // namespace
