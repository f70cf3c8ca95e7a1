// Toolkit text at several window sizes: each widget's text lands inside the
// widget's own rectangle, mapped from the 640 x 480 space to window pixels.
#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "SkinnedGLFixture.h"
#include "MWin/MWinGraph.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinSettings.h"
#include "MWin/MWinStyledText.h"
#include "MWin/MWinTabPanel.h"
#include "support/GameFont.h"
#include "support/ResourcePath.h"

namespace
{

struct WindowSize
{
    int w, h;
};

// Named rectangles of the 640 x 480 space.
using Areas = std::vector<std::pair<std::string, _Dimension>>;

// Every text is drawn pure red; nothing else drawn has any red in it.
const _ColourRGBA RED = {1, 0, 0, 1};

const char* TabCell(int row, int column, MWinTabPanel*)
{
    static char buf[32];
    snprintf(buf, sizeof buf, row < 0 ? "Col %d" : "R%d", row < 0 ? column : row);
    return buf;
}

// The back buffer, read once.
struct Frame
{
    int w = 0, h = 0;
    std::vector<unsigned char> px; // RGBA, bottom row first

    void Read()
    {
        w = eng_main_window_width;
        h = eng_main_window_height;
        px.assign(size_t(w) * h * 4, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    }
    // (x, y) from the top-left corner.
    const unsigned char* At(int x, int y) const { return &px[(size_t(h - 1 - y) * w + x) * 4]; }
    bool Text(int x, int y) const { return At(x, y)[0] >= 64; }

    // Written only when VZ_SHOT_DIR names a folder, to look at by eye.
    void SaveIfAsked(const std::string& name) const
    {
        const char* dir = std::getenv("VZ_SHOT_DIR");
        if (!dir || !dir[0])
            return;
        std::vector<unsigned char> rgb(size_t(w) * h * 3);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                for (int c = 0; c < 3; c++)
                    rgb[(size_t(y) * w + x) * 3 + c] = At(x, y)[c];
        stbi_write_png((std::string(dir) + "/" + name + ".png").c_str(), w, h, 3, rgb.data(), w * 3);
    }
};

struct PixelRect
{
    int x0, y0, x1, y1; // inclusive

    bool Holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

class TextPlacementGL : public vztest::SkinnedGL, public ::testing::WithParamInterface<WindowSize>
{
protected:
    void SetUp() override
    {
        window_w = GetParam().w;
        window_h = GetParam().h;
        SkinnedGL::SetUp();
    }

    void TearDown() override
    {
        delete mw;
        mw = nullptr;
        font.Destroy();
        SkinnedGL::TearDown();
    }

    void AfterStartup() override
    {
        // The game's font as the user font.
        _EngFontCreationEffects e = vztest::GameFontEffects();
        font.SetCreationEffects(&e);
        ASSERT_TRUE(vztest::CreateGameFont(font, vztest::ResourcePath("engeexbo.ttf")));
        ASSERT_GE(mw->GetFonts()->AddUserFontPointer("Main", &font), 0);
        // The popups' texts in the user font and red.
        MWinPopupSetupTexturesAndFonts(mw, MWIN_TEXBUT_DEFAULT, MWIN_TEXBUT_DEFAULT, "Main",
                                       MWIN_TEXBUT_DEFAULT, "Main", 1, 0, 0, 1, -1, -1, 1, 0, 0, 1, -1, -1,
                                       MWIN_TEXT_ALIGN_CENTRE);
    }

    void Draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
        mw->RenderPopups();
        frame.Read();
    }

    // A 640 x 480 rectangle in window pixels, one pixel larger all round for
    // the glyphs' soft edges.
    static PixelRect ToPixels(const _Dimension& a)
    {
        const float sx = eng_main_window_width / 640.0f, sy = eng_main_window_height / 480.0f;
        return {int(std::floor(a.x * sx)) - 1, int(std::floor(a.y * sy)) - 1,
                int(std::ceil((a.x + a.w) * sx)) + 1, int(std::ceil((a.y + a.h) * sy)) + 1};
    }

    // Text is drawn in each of the areas, and nowhere outside all of them.
    void ExpectTextOnlyIn(const Areas& areas)
    {
        std::vector<PixelRect> rects;
        for (const auto& a : areas)
            rects.push_back(ToPixels(a.second));
        std::vector<int> inside(areas.size(), 0);
        int outside = 0, first_x = -1, first_y = -1;
        for (int y = 0; y < frame.h; y++)
            for (int x = 0; x < frame.w; x++)
            {
                if (!frame.Text(x, y))
                    continue;
                bool held = false;
                for (size_t i = 0; i < rects.size(); i++)
                    if (rects[i].Holds(x, y))
                    {
                        inside[i]++;
                        held = true;
                    }
                if (!held && outside++ == 0)
                    first_x = x, first_y = y;
            }
        for (size_t i = 0; i < areas.size(); i++)
            EXPECT_GE(inside[i], 8) << areas[i].first << ": no text inside pixels (" << rects[i].x0 << ", "
                                    << rects[i].y0 << ") to (" << rects[i].x1 << ", " << rects[i].y1 << ")";
        EXPECT_EQ(outside, 0) << "text outside, first at pixel (" << first_x << ", " << first_y << ")";
    }

public:
    static _Dimension Area(MWinButton* b)
    {
        _Dimension a = {0, 0, 0, 0};
        if (b)
            b->GetActualArea(&a);
        return a;
    }

    // The popup's title bar, message, buttons and extra widget.
    Areas PopupAreas()
    {
        Areas areas;
        MWinWindow* pw = MWinPopupGetWindow(mw);
        EXPECT_NE(pw, nullptr);
        if (!pw)
            return areas;
        _Dimension wa;
        pw->GetActualArea(&wa);
        const float t = (*pw->GetScreenLayout())[MWIN_LS_TITLE_BAR_HEIGHT];
        areas.push_back({"title", {wa.x, wa.y - t, wa.w, t}});
        _MWinPopupSettings* s = MWinPopupGetSettings(mw);
        if (s->msg)
            areas.push_back({"message", Area(s->msg)});
        for (int i = 0; i < 4; i++)
            if (MWinButton* b = MWinPopupGetButton(mw, i))
                areas.push_back({"button " + std::string(b->GetTextP()), Area(b)});
        if (s->script)
            areas.push_back({"styled text", Area(s->script)});
        return areas;
    }

protected:
    std::string ShotName(const char* what) const
    {
        return std::string(what) + "_" + std::to_string(window_w) + "x" + std::to_string(window_h);
    }

    EngFont font;
    Frame frame;
};

// Each case lays out one widget (or opens one popup) and names the areas its
// text must keep to. The widgets sit in the lower right quarter, so text
// placed in window pixels instead of the 640 x 480 space misses them in any
// window larger than 640 x 480.
struct Case
{
    const char* name;
    std::function<Areas(TextPlacementGL*, MWin*, MWinWindow*)> make;
};

const Case kCases[] = {
    {"push_button",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinButton* b =
             win->AddButton("push", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Push me", 340, 300, 160, 40);
         b->SetTextColour(&RED);
         return {{"push button", TextPlacementGL::Area(b)}};
     }},
    {"label",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinButton* b =
             win->AddButton("label", MWIN_BUTTON_PLAIN, MWIN_TEXBUT_NONE, "A label", 340, 300, 200, 30);
         b->SetTextColour(&RED);
         b->SetTextAlign(MWIN_TEXT_ALIGN_LEFT);
         return {{"label", TextPlacementGL::Area(b)}};
     }},
    {"multiline_label",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinButton* b = win->AddButton("multi", MWIN_BUTTON_PLAIN, MWIN_TEXBUT_NONE, "", 340, 300, 150, 100);
         b->SetMultilineText("Several words that wrap onto more lines");
         b->SetTextColour(&RED);
         return {{"multi-line label", TextPlacementGL::Area(b)}};
     }},
    {"graph",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinGraph* g = MWinWindowAddGraph(win, "graph", MWIN_TEXBUT_NONE, 330, 280, 280, 180);
         g->SetFont("Main");
         g->SetTextColour(&RED);
         g->SetTextScale(0.5f, 0.5f);
         // A wide margin keeps the axis labels inside the widget.
         g->SetStyle(MWIN_GRAPH_LINE, 1, 2, 32, 2, 3, 1, 4, 0);
         g->SetColours(0, 0, 1, 0, 0, 1, 0, 0, 1);
         _MWinGraphVerticalLinesInfo vl = {};
         vl.on = 1;
         vl.thickness = 1;
         vl.labels_on = 1;
         vl.colour = {0, 0, 1, 1};
         vl.label_colour = RED;
         vl.label_scale_x = vl.label_scale_y = 0.4f;
         g->SetVerticalLinesSettings(&vl);
         g->SetMarks(0, 10, 4, 0, 50, 4);
         for (int i = 0; i < 4; i++)
             g->SetMarkValue(i, 10.0 * i);
         g->SetTexts("50", "0", "start", "end");
         return {{"graph", TextPlacementGL::Area(g)}};
     }},
    {"styled_text",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinScriptButton* sb =
             MWinWindowAddScriptButton(win, "script", MWIN_TEXBUT_DEFAULT, 330, 280, 260, 120);
         sb->SetFont("Main");
         sb->SetTextColours(1, 0, 0, 1);
         sb->SetStyle(1, 1, 0, 0, 1, 0);
         static char text[] = "<1<Name>2>42\nA longer line of text that wraps inside the box\n<1>Centred";
         sb->SetTextPointer(text);
         return {{"styled text", TextPlacementGL::Area(sb)}};
     }},
    {"tab_panel",
     [](TextPlacementGL*, MWin*, MWinWindow* win) -> Areas
     {
         MWinTabPanel* tab = MWinWindowAddTabPanel(win, "tab", MWIN_TEXBUT_DEFAULT, 330, 280, 260, 120);
         tab->SetFont("Main");
         tab->SetTextColour(&RED);
         tab->SetPreferences(1, 1, 1, 1, 0, 1, 20);
         tab->SetEntryCallback(12, 3, 0, TabCell);
         return {{"tab panel", TextPlacementGL::Area(tab)}};
     }},
    {"message_popup",
     [](TextPlacementGL* t, MWin* mw, MWinWindow*) -> Areas
     {
         EXPECT_TRUE(MWinPopupMessage(mw, "Title", "A message\non two lines", nullptr, nullptr));
         return t->PopupAreas();
     }},
    {"ok_cancel_popup",
     [](TextPlacementGL* t, MWin* mw, MWinWindow*) -> Areas
     {
         EXPECT_TRUE(MWinPopupOkCancel(mw, "Reset", "Are you sure?", nullptr, nullptr));
         return t->PopupAreas();
     }},
    {"styled_text_popup",
     [](TextPlacementGL* t, MWin* mw, MWinWindow*) -> Areas
     {
         static char text[] = "<1<Name>2>42\nSecond line\nThird line";
         EXPECT_TRUE(MWinPopupScript(mw, "Read", "Below", text, MWIN_TEXBUT_DEFAULT, 220, 70, 1, 1, 0,
                                     nullptr, nullptr));
         if (MWinButton* sb = MWinPopupGetSettings(mw)->script)
             sb->SetTextColour(&RED);
         return t->PopupAreas();
     }},
};

TEST_P(TextPlacementGL, EveryWidgetsTextStaysInsideItsArea)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto areas = c.make(this, mw, win);
        ASSERT_FALSE(areas.empty());
        Draw();
        frame.SaveIfAsked(ShotName(c.name));
        ExpectTextOnlyIn(areas);
        mw->PopupTurnOff();
        win->RemoveAllButtons();
    }
    for (const std::string& line : vztest::LoggedLines())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

// A popup's own widget (a panel, a text field) lies below its message, of
// any number of lines, and above its buttons, so the message's text is seen
// whole (the widget is wider than the message, and drawn after it).
TEST_P(TextPlacementGL, PopupWidgetLiesBelowTheMessage)
{
    static const char* items[] = {"One", "Two", "Three", "Four", "Five"};
    static char text[32];
    int sel = 1;
    int* selp = &sel;
    const struct
    {
        const char* name;
        std::function<MWinButton*()> open;
    } cases[] = {
        {"panel_popup",
         [&]
         {
             EXPECT_TRUE(MWinPopupPanel(
                 mw, "Pick", "Choose one of these\nand press OK", 5, 5, 300, 100,
                 [](int i, MWinButton*, void*) { return items[i]; }, 1, &selp, nullptr, nullptr, nullptr));
             return MWinPopupGetSettings(mw)->panel;
         }},
        {"text_popup",
         [&]
         {
             EXPECT_TRUE(MWinPopupGetText(mw, "Name",
                                          "Type the name\nthat the list\nshows for you\nwhen you\nplay", text,
                                          sizeof text, nullptr, nullptr));
             MWinButton* field = MWinPopupGetSettings(mw)->text_edit;
             if (field)
                 field->SetTextColour(0, 0, 0, 1); // its cursor is no text of the test's
             return field;
         }},
    };
    // No window back: the widget shows on black.
    MWinPopupSetupTexturesAndFonts(mw, MWIN_TEXBUT_NONE, MWIN_TEXBUT_DEFAULT, "Main", MWIN_TEXBUT_DEFAULT,
                                   "Main");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MWinButton* widget = c.open();
        _MWinPopupSettings* s = MWinPopupGetSettings(mw);
        ASSERT_NE(s->msg, nullptr);
        ASSERT_NE(widget, nullptr);
        const _Dimension msg = Area(s->msg), area = Area(widget);
        EXPECT_GE(area.y, msg.y + msg.h) << "the widget starts below the message";
        for (int i = 0; i < 4; i++)
            if (MWinButton* b = MWinPopupGetButton(mw, i))
            {
                EXPECT_LE(area.y + area.h, Area(b).y) << "the widget ends above " << b->GetTextP();
            }
        Draw();
        frame.SaveIfAsked(ShotName(c.name));
        // The widget is drawn (its texts are not red), and the title's,
        // message's and buttons' texts show in their places.
        const PixelRect drawn = ToPixels(area);
        const unsigned char* left = frame.At(drawn.x0 + 4, (drawn.y0 + drawn.y1) / 2);
        EXPECT_GT(left[1], 150) << "the widget is not drawn";
        EXPECT_LT(left[0], 80) << "the widget is not drawn";
        ExpectTextOnlyIn(PopupAreas());
        mw->PopupTurnOff();
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TextPlacementGL,
                         ::testing::Values(WindowSize{640, 480}, WindowSize{1024, 768}, WindowSize{1280, 960},
                                           WindowSize{1920, 1080}, WindowSize{600, 900}),
                         [](const ::testing::TestParamInfo<WindowSize>& i)
                         { return std::to_string(i.param.w) + "x" + std::to_string(i.param.h); });

} // namespace
