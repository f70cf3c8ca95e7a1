// The styled-text box drawn in GL windows of several shapes: its text keeps
// its size against the box, and wraps where it does in a 4:3 window, a box
// with a scrollbar leaves no gap before it and counts its lines in the width
// they are drawn in.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "SkinnedGLFixture.h"
#include "MWin/MWinStyledText.h"
#include "support/FrameShot.h"
#include "support/GameFont.h"
#include "support/ResourcePath.h"

namespace
{

// Where a box lies in the 640 x 480 space of its window: tall enough for the
// whole text, or so low that it scrolls.
const _Dimension kBox = {120, 90, 400, 130}, kLowBox = {120, 90, 400, 40};

// Short words, so that a line ends well short of the box's edge wherever it
// wraps, and two pieces sharing the first line.
char kText[] = "<1<Name>2>42\nThe quick brown fox jumps over the lazy dog and runs far away into the "
               "green hills\n<1>Centred at the end";

// One line of text as drawn: its rows and its ink from left to right, as
// parts of the box's size in window pixels.
struct Line
{
    float top, bottom, left, right;
};

// What a box's text looks like at one window size.
struct Look
{
    int counted_lines = 0; // the box's own count: its lines and one more
    char sidebar = 0;
    float box_w = 0, box_h = 0; // in window pixels
    int gap = 0; // pixels across the box's middle row where nothing is drawn
    std::vector<Line> lines; // read only when the whole text shows
};

class StyledTextGL : public vztest::GLDevice
{
protected:
    void TearDown() override
    {
        CloseToolkit();
        GLDevice::TearDown();
    }

    void CloseToolkit()
    {
        delete mw;
        mw = nullptr;
        font.Destroy();
    }

    // The window at w x h pixels with a new device, a toolkit skinned one
    // solid green, the game's font as its user font, and one box showing
    // kText in red.
    MWinScriptButton* OpenAt(int w, int h, const _Dimension& at)
    {
        CloseToolkit();
        delete device;
        SDL_SetWindowSize(sdl_window, w, h);
        SetWindowSize(w, h);
        device = new EngDevice(&window);
        EXPECT_TRUE(device->Create(1, w, h, 32, 0));
        mw = new MWin(nullptr);
        const std::string green = tmp.File("green.tga");
        vztest::WriteSolidTga(green, 8, 8, 0, 255, 0);
        MWinTextures* t = mw->GetTextures();
        EXPECT_NE(t->AddTextureWithOneTextureButton("Green", green.c_str()), nullptr);
        for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
            t->SetStandardTextureToTexBut(slot, "Green");
        EXPECT_TRUE(mw->SetupDefaultFont());
        EXPECT_TRUE(mw->Startup());
        _EngFontCreationEffects e = vztest::GameFontEffects();
        font.SetCreationEffects(&e);
        EXPECT_TRUE(vztest::CreateGameFont(font, vztest::ResourcePath("engeexbo.ttf")));
        EXPECT_GE(mw->GetFonts()->AddUserFontPointer("Main", &font), 0);
        MWinCollection* coll = mw->GetDesktop()->AddCollection("Coll");
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(0, 0, 640, 480);
        strcpy(info.back_texbut, MWIN_TEXBUT_NONE);
        win = coll ? coll->AddWindow("Win", &info) : nullptr;
        if (!win)
        {
            ADD_FAILURE() << "no toolkit window";
            return nullptr;
        }
        MWinScriptButton* box =
            MWinWindowAddScriptButton(win, "script", MWIN_TEXBUT_DEFAULT, at.x, at.y, at.w, at.h);
        if (!box)
            return nullptr;
        box->SetFont("Main");
        box->SetTextColours(1, 0, 0, 1);
        box->SetStyle(1, 1, 0, 0, 1, 0);
        box->SetTextPointer(kText);
        return box;
    }

    // Draws the window and reads the box back from the frame: its red text,
    // and where nothing was drawn across it.
    Look Draw(MWinScriptButton* box, const std::string& tag)
    {
        Look look;
        look.counted_lines = box->GetTotalLines();
        look.sidebar = box->IsSidebarOn();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
        vztest::SaveFrameIfAsked("VZ_SHOT_DIR", "/styled_text_" + tag);
        const int W = eng_main_window_width, H = eng_main_window_height;
        std::vector<unsigned char> px(size_t(W) * H * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        auto red = [&](int x, int y) { return px[(size_t(H - 1 - y) * W + x) * 4] >= 96; };

        _Dimension a;
        box->GetActualArea(&a);
        const float sx = W / 640.0f, sy = H / 480.0f;
        const float bx = a.x * sx, by = a.y * sy, bw = a.w * sx, bh = a.h * sy;
        look.box_w = bw;
        look.box_h = bh;
        const int x0 = std::max(0, int(std::floor(bx))), x1 = std::min(W, int(std::ceil(bx + bw)));
        const int y0 = std::max(0, int(std::floor(by))), y1 = std::min(H, int(std::ceil(by + bh)));
        for (int x = x0 + 1; x < x1 - 1; x++)
        {
            const unsigned char* p = &px[(size_t(H - 1 - (y0 + y1) / 2) * W + x) * 4];
            look.gap += p[0] < 32 && p[1] < 32 && p[2] < 32;
        }
        // The lines touch: the rows from the first ink to the last are cut
        // into as many equal lines as the box counts, and each is read in its
        // middle half, clear of its neighbours' glyphs.
        std::vector<int> row_left(size_t(y1 - y0), W), row_right(size_t(y1 - y0), -1);
        int top = -1, bottom = -1;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                if (red(x, y))
                {
                    row_left[size_t(y - y0)] = std::min(row_left[size_t(y - y0)], x);
                    row_right[size_t(y - y0)] = x;
                    top = top < 0 ? y : top;
                    bottom = y + 1;
                }
        const int n = look.counted_lines - 1;
        if (top < 0 || n < 1 || look.sidebar)
            return look;
        const float pitch = float(bottom - top) / n;
        for (int k = 0; k < n; k++)
        {
            int l = W, r = -1;
            for (int y = int(top + pitch * (k + 0.25f)); y < int(top + pitch * (k + 0.75f)); y++)
            {
                l = std::min(l, row_left[size_t(y - y0)]);
                r = std::max(r, row_right[size_t(y - y0)]);
            }
            look.lines.push_back({(top + pitch * k - by) / bh, (top + pitch * (k + 1) - by) / bh,
                                  r < 0 ? 0 : (l - bx) / bw, r < 0 ? 0 : (r + 1 - bx) / bw});
        }
        return look;
    }

    vztest::TempDir tmp;
    EngProgram program;
    MWin* mw = nullptr;
    MWinWindow* win = nullptr; // the box's window
    EngFont font;
};

std::string Describe(const Look& l)
{
    std::string s = std::to_string(l.counted_lines) + " counted lines" + (l.sidebar ? ", scrollbar" : "") +
                    ", a gap of " + std::to_string(l.gap) + " pixels, " + std::to_string(l.lines.size()) +
                    " drawn:";
    char buf[96];
    for (const Line& n : l.lines)
    {
        snprintf(buf, sizeof buf, " [rows %.3f-%.3f, ink %.3f-%.3f]", n.top, n.bottom, n.left, n.right);
        s += buf;
    }
    return s;
}

const struct Size
{
    int w, h;
} kSizes[] = {{1024, 768}, {1920, 1080}, {1280, 720}, {600, 900}};

std::string Tag(int w, int h)
{
    return std::to_string(w) + "x" + std::to_string(h);
}

// In every window the box's text takes the same share of the box, line by
// line, as in a 640 x 480 window: the same lines, each the same height and
// width against the box and at the same place in it.
TEST_F(StyledTextGL, TextKeepsItsSizeAndWrappingAgainstTheBoxInEveryWindowShape)
{
    MWinScriptButton* box = OpenAt(640, 480, kBox);
    ASSERT_NE(box, nullptr);
    const Look want = Draw(box, "fits_640x480");
    // Three pieces of text, the middle one wrapping.
    ASSERT_GE(want.lines.size(), 4u) << Describe(want);
    ASSERT_FALSE(want.sidebar) << Describe(want);

    for (const Size& s : kSizes)
    {
        SCOPED_TRACE(Tag(s.w, s.h));
        box = OpenAt(s.w, s.h, kBox);
        ASSERT_NE(box, nullptr);
        const Look got = Draw(box, "fits_" + Tag(s.w, s.h));
        EXPECT_EQ(got.sidebar, want.sidebar);
        if (got.counted_lines != want.counted_lines || got.lines.size() != want.lines.size())
        {
            ADD_FAILURE() << "other lines\ngot:  " << Describe(got) << "\nwant: " << Describe(want);
            continue;
        }
        // A pixel or two of a glyph's soft edge either way, in the smaller box.
        const float tol_y = 3.0f / std::min(got.box_h, want.box_h),
                    tol_x = 3.0f / std::min(got.box_w, want.box_w);
        for (size_t i = 0; i < want.lines.size(); i++)
        {
            const Line &g = got.lines[i], &w = want.lines[i];
            EXPECT_TRUE(std::fabs(g.top - w.top) <= tol_y && std::fabs(g.bottom - w.bottom) <= tol_y &&
                        std::fabs(g.left - w.left) <= tol_x && std::fabs(g.right - w.right) <= tol_x)
                << "line " << i << "\ngot:  " << Describe(got) << "\nwant: " << Describe(want);
        }
    }
}

// A text too tall for its box wraps to the width left beside the scrollbar:
// the same lines as in a 640 x 480 window, and the box's back reaches the
// scrollbar.
TEST_F(StyledTextGL, TextBesideTheScrollbarWrapsAsIn4By3AndTheBackReachesTheBar)
{
    MWinScriptButton* box = OpenAt(640, 480, kLowBox);
    ASSERT_NE(box, nullptr);
    const Look want = Draw(box, "scrolls_640x480");
    ASSERT_TRUE(want.sidebar) << Describe(want);
    EXPECT_LE(want.gap, 1) << Describe(want);

    for (const Size& s : kSizes)
    {
        SCOPED_TRACE(Tag(s.w, s.h));
        box = OpenAt(s.w, s.h, kLowBox);
        ASSERT_NE(box, nullptr);
        const Look got = Draw(box, "scrolls_" + Tag(s.w, s.h));
        EXPECT_TRUE(got.sidebar && got.counted_lines == want.counted_lines && got.gap <= 1)
            << "got:  " << Describe(got) << "\nwant: " << Describe(want);
    }
}

// A text too tall for its box is counted in the width it is drawn in beside
// the scrollbar: as many lines as a box of that width without a scrollbar
// counts (and draws), for a text with a line that just fits that width and
// one just too long for it, in 4:3 and in windows far wider.
TEST_F(StyledTextGL, LinesBesideTheScrollbarAreCountedInTheWidthTheyAreDrawnIn)
{
    const Size sizes[] = {{640, 480}, {1920, 1080}, {2400, 600}};
    for (const Size& s : sizes)
    {
        SCOPED_TRACE(Tag(s.w, s.h));
        MWinScriptButton* box = OpenAt(s.w, s.h, kLowBox);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->IsSidebarOn());
        _Dimension a;
        box->GetActualArea(&a);
        const float drawn_in = box->GetTextWidthInBox(), to_actual = a.w / kLowBox.w;
        ASSERT_LT(drawn_in, a.w);
        // A box as wide as that, tall enough for the whole text.
        MWinScriptButton* wide_enough = MWinWindowAddScriptButton(win, "reference", MWIN_TEXBUT_DEFAULT,
                                                                  kLowBox.x, 240, drawn_in / to_actual, 230);
        ASSERT_NE(wide_enough, nullptr);
        wide_enough->SetFont("Main");
        // The longest run of one letter that it shows on one line.
        static char text[1024];
        auto lines_of = [&](MWinScriptButton* b, const std::string& t)
        {
            snprintf(text, sizeof(text), "%s", t.c_str());
            b->SetTextPointer(text);
            return b->GetTotalLines() - 1;
        };
        int fits = 1;
        while (fits < 200 && lines_of(wide_enough, std::string(fits + 1, 'i')) == 1)
            fits++;
        ASSERT_EQ(lines_of(wide_enough, std::string(fits, 'i')), 1);
        const std::string both = std::string(fits, 'i') + "\n" + std::string(fits + 1, 'i') + "\nend\nend";
        const int want = lines_of(wide_enough, both);
        ASSERT_FALSE(wide_enough->IsSidebarOn());
        EXPECT_EQ(want, 5);
        EXPECT_EQ(lines_of(box, both), want);
        EXPECT_TRUE(box->IsSidebarOn());
        EXPECT_EQ(box->GetTextWidthInBox(), drawn_in);
    }
}

} // namespace
