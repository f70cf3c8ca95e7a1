// Bitmap fonts without a display: creation tables, refusals, the packer, the
// blur, measuring and line wrapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "EngDebug.h"
#include "EngFont.h"
#include "support/GameFont.h"
#include "support/ResourcePath.h"
#include "support/TestSupport.h"

using vztest::CreateGameFont;
using vztest::GameFontEffects;
using vztest::Logged;
using vztest::ResourcePath;

namespace
{

class Font : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        EngFontShowCharWarnings(0);
    }
    void TearDown() override { DebugResetForTests(); }
    vztest::TempDir dir;
};

TEST_F(Font, GameFontTables)
{
    EngFont f;
    _EngFontCreationEffects e = GameFontEffects();
    f.SetCreationEffects(&e);
    ASSERT_TRUE(CreateGameFont(f, ResourcePath("engeexbo.ttf")));
    EXPECT_EQ(f.GetCodeCount(), 256);
    EXPECT_GE(f.GetSheetCount(), 1);
    EXPECT_NEAR(f.GetFontHeight(0), 10.915f, 1e-3);
    for (int c = 0; c < 32; c++)
    {
        EXPECT_EQ(f.GetSheetOfChar(c), -1) << c;
        EXPECT_EQ(f.GetLetter(c), nullptr) << c;
        EXPECT_EQ(f.GetAdvance(c), 0.0f) << c;
    }
    // The printable ASCII and Latin-1 letters (160, the no-break space, has an empty box).
    for (int c = 33; c < 256; c++)
    {
        if (c >= 127 && c <= 160)
            continue;
        const _EngFontLetter* L = f.GetLetter(c);
        ASSERT_NE(L, nullptr) << c;
        EXPECT_EQ(f.GetSheetOfChar(c), L->sheet);
        EXPECT_LT(L->sheet, f.GetSheetCount());
        EXPECT_GT(L->advance, 0.0f);
        EXPECT_EQ(L->advance, f.GetAdvance(c));
        // Every box lies inside its sheet, widened by half the padding.
        const float S = float(f.GetSheetSize());
        EXPECT_GE(L->left_u, 0.0f);
        EXPECT_GE(L->top_v, 0.0f);
        EXPECT_LE(L->right_u, 1.0f);
        EXPECT_LE(L->bottom_v, 1.0f);
        EXPECT_NEAR((L->right_u - L->left_u) * S, L->width / 0.160013f + 2, 1e-2);
        EXPECT_NEAR((L->bottom_v - L->top_v) * S, L->height / 0.080202f + 2, 1e-2);
    }
    for (int c = 127; c < 160; c++)
    {
        EXPECT_EQ(f.GetLetter(c), nullptr) << c;
        EXPECT_EQ(f.GetAdvance(c), 0.0f) << c;
    }

    // The space: an empty 2 x 2 box with a letter record and its advance.
    const _EngFontLetter* sp = f.GetLetter(' ');
    ASSERT_NE(sp, nullptr);
    EXPECT_NEAR(sp->width, 2 * 0.160013f, 1e-5);
    EXPECT_NEAR(sp->height, 2 * 0.080202f, 1e-5);
    EXPECT_GT(sp->advance, 0.0f);

    // Without a GL context the finished sheets stay readable: the blurred
    // glyph of '8' has ink, and its box's padding corner has none.
    const _EngFontLetter* e8 = f.GetLetter('8');
    ASSERT_NE(e8, nullptr);
    const unsigned char* px = f.GetSheetPixels(e8->sheet);
    ASSERT_NE(px, nullptr);
    const int S = f.GetSheetSize();
    int x0 = int(std::lround(e8->left_u * S + 1)), y0 = int(std::lround(e8->top_v * S + 1));
    int w = int(std::lround(e8->width / 0.160013f)), h = int(std::lround(e8->height / 0.080202f));
    int ink = 0;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            ink += px[y * S + x] > 128;
    EXPECT_GT(ink, 100);
    EXPECT_EQ(px[y0 * S + x0], 0);
}

struct BadCreate
{
    const char* name;
    const char* file; // nullptr: none; "*": the font file
    int two, size, min_char, max_char;
    int padding, shadow_x, shadow_y;
    const char* message;
    int sheet_size = 0; // 0: the default
};

TEST_F(Font, CreationRefusals)
{
    const std::string font = ResourcePath("engeexbo.ttf");
    const std::string not_font = dir.File("not_a_font.ttf");
    vztest::WriteFile(not_font, "this is not a font file");
    const std::string missing = dir.File("missing.ttf");
    const std::string folder = dir.File("folder.ttf");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const BadCreate cases[] = {
        {"no file", nullptr, 0, 64, 32, 127, 0, 0, 0, "No font file name specified"},
        {"empty file", "", 0, 64, 32, 127, 0, 0, 0, "No font file name specified"},
        {"max 31", "*", 0, 64, 0, 31, 0, 0, 0, "Bad max_char_needed [31]"},
        {"max 256", "*", 0, 64, 32, 256, 0, 0, 0, "Bad max_char_needed [256]"},
        {"min negative", "*", 0, 64, -1, 127, 0, 0, 0, "Bad min_char_needed [-1]"},
        {"min above max", "*", 0, 64, 100, 90, 0, 0, 0, "Bad min_char_needed [100]"},
        {"size 7", "*", 0, 7, 32, 127, 0, 0, 0, "Bad max bitmap size [7]"},
        {"size above sheet", "*", 0, 513, 32, 127, 0, 0, 0, "Bad max bitmap size [513]"},
        {"three channels", "*", 2, 64, 32, 127, 0, 0, 0, "Bad has_two_channels [2]"},
        {"negative shadow", "*", 0, 16, 32, 127, 0, -3, 0, "Bad shadow offsets [-3, 0]"},
        {"negative padding", "*", 0, 16, 32, 127, -4, 0, 0, "Bad padding [-4]"},
        {"missing file", "missing", 0, 64, 32, 127, 0, 0, 0, "Could not find file <"},
        {"folder", "folder", 0, 64, 32, 127, 0, 0, 0, "Not a regular file <"},
        {"not a font", "bad", 0, 64, 32, 127, 0, 0, 0, "Problem loading font <"},
        {"sheet size 0", "*", 0, 64, 32, 127, 0, 0, 0, "Bad sheet size [0]", -1},
        {"huge sheet", "*", 0, 64, 32, 127, 0, 0, 0, "Bad sheet size [1048576]", 1 << 20},
    };
    for (const BadCreate& c : cases)
    {
        SCOPED_TRACE(c.name);
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        const char* file = c.file;
        if (file && std::string(file) == "*")
            file = font.c_str();
        else if (file && std::string(file) == "missing")
            file = missing.c_str();
        else if (file && std::string(file) == "bad")
            file = not_font.c_str();
        else if (file && std::string(file) == "folder")
            file = folder.c_str();
        EngFont f;
        _EngFontCreationEffects e = {};
        e.padding = c.padding;
        e.shadow_x = c.shadow_x;
        e.shadow_y = c.shadow_y;
        f.SetCreationEffects(&e);
        if (c.sheet_size)
            f.SetSheetSize(c.sheet_size < 0 ? 0 : c.sheet_size);
        EXPECT_EQ(f.CreateFromFontFile(file, char(c.two), 32, c.size, c.min_char, c.max_char, nullptr, 0, 1, 1, 0,
                                       0, 0, 0, 0, 0, 0),
                  0);
        EXPECT_TRUE(Logged(c.message)) << c.message;
        EXPECT_FALSE(f.IsCreated());
        EXPECT_EQ(f.GetLetter('A'), nullptr);
    }
}

// A one-glyph bitmap font: the letter 'A' in an 8 x 16 box of one or more
// bits a pixel, with the given lines between its box and its end.
std::string BitmapFont(const std::string& after_box, const char* bits = "1")
{
    return "STARTFONT 2.2\nFONT -misc-fixed-medium-r-normal--16-160-75-75-c-80-iso8859-1\nSIZE 16 75 75 " +
           std::string(bits) +
           "\nFONTBOUNDINGBOX 8 16 0 -4\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 8 0\n"
           "BBX 8 16 0 -4\n" +
           after_box + "ENDCHAR\nENDFONT\n";
}

// Damaged font files through the game's own creation call: each is refused
// with a reason, or made with what it holds, its glyphs converted to
// coverage pixel for pixel; none crashes.
TEST_F(Font, DamagedFontFiles)
{
    const std::string ttf = vztest::ReadFile(ResourcePath("engeexbo.ttf"));
    ASSERT_GT(ttf.size(), 100000u);
    std::string rows, rows2, mixed, levels;
    for (int i = 0; i < 16; i++)
        rows += "FF\n", rows2 += "FFFF\n", mixed += "C5\n", levels += "E4E4\n";
    // Unblurred, so the sheets hold the glyphs' own coverage.
    _EngFontCreationEffects e = GameFontEffects();
    e.blur_passes_first = 0;
    EngFont whole;
    whole.SetCreationEffects(&e);
    ASSERT_TRUE(CreateGameFont(whole, ResourcePath("engeexbo.ttf")));
    struct
    {
        const char* name;
        std::string data;
        const char* reason; // nullptr: made
        int a_width = 0;    // pixel width of the box of 'A' when made, 0: an empty 2 x 2 box, -1: any
        // The first and the other rows of 'A' as levels of coverage: '#' 255,
        // '+' 170, '-' 85, '.' 0; or the pixels of 'A' of the intact file.
        const char* first_row = nullptr;
        const char* other_rows = nullptr;
        bool as_intact = false;
    } const cases[] = {
        {"bitmap glyph without pixels", BitmapFont(""), nullptr, 0},
        {"bitmap glyph with one row of sixteen", BitmapFont("BITMAP\nFF\n"), nullptr, 8 + 4, "########",
         "........"},
        {"bitmap glyph whole", BitmapFont("BITMAP\n" + rows), nullptr, 8 + 4, "########", "########"},
        {"bitmap glyph of mixed bits", BitmapFont("BITMAP\n" + mixed), nullptr, 8 + 4, "##...#.#", "##...#.#"},
        {"bitmap glyph of two bits a pixel", BitmapFont("BITMAP\n" + rows2, "2"), nullptr, 8 + 4, "########",
         "########"},
        {"bitmap glyph of four levels", BitmapFont("BITMAP\n" + levels, "2"), nullptr, 8 + 4, "#+-.#+-.",
         "#+-.#+-."},
        {"empty file", "", "FreeType cannot read the font: "},
        {"TrueType cut after its header", ttf.substr(0, 12), "FreeType cannot read the font: "},
        {"TrueType cut in its table directory", ttf.substr(0, 300), "FreeType cannot read the font: "},
        {"TrueType cut in half", ttf.substr(0, ttf.size() / 2), "FreeType cannot read the font: "},
        {"TrueType short of its last byte", ttf.substr(0, ttf.size() - 1), nullptr, -1, nullptr, nullptr, true},
    };
    // The pixels of a letter's box in its sheet, rows top to bottom.
    auto box_pixels = [](const EngFont& f, const _EngFontLetter* L)
    {
        const int S = f.GetSheetSize();
        const int x0 = int(std::lround(L->left_u * S + 1)), y0 = int(std::lround(L->top_v * S + 1));
        const int w = int(std::lround(L->width / 0.160013f)), h = int(std::lround(L->height / 0.080202f));
        std::vector<std::string> out;
        const unsigned char* px = f.GetSheetPixels(L->sheet);
        if (!px)
            return out;
        for (int y = y0; y < y0 + h; y++)
            out.emplace_back(reinterpret_cast<const char*>(px) + size_t(y) * S + x0, size_t(w));
        return out;
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        DebugClearLog();
        const std::string path = dir.File("damaged.font");
        vztest::WriteFile(path, c.data);
        EngFont f;
        f.SetCreationEffects(&e);
        char made = CreateGameFont(f, path);
        if (c.reason)
        {
            EXPECT_FALSE(made);
            EXPECT_TRUE(Logged(c.reason));
            EXPECT_TRUE(Logged("Problem loading font <" + path + ">"));
            EXPECT_FALSE(f.IsCreated());
            continue;
        }
        ASSERT_TRUE(made);
        const _EngFontLetter* a = f.GetLetter('A');
        ASSERT_NE(a, nullptr);
        if (c.a_width >= 0)
        {
            EXPECT_NEAR(a->width, (c.a_width ? c.a_width : 2) * 0.160013f, 1e-4);
            EXPECT_NEAR(f.GetAdvance('A'), 8 * 0.160013f, 1e-4);
        }
        const std::vector<std::string> got = box_pixels(f, a);
        std::vector<std::string> want(2, std::string(2, '\0')); // an empty box
        if (c.as_intact)
        {
            want = box_pixels(whole, whole.GetLetter('A'));
            EXPECT_GT(std::count_if(want.begin(), want.end(),
                                    [](const std::string& r) { return r.find('\xFF') != std::string::npos; }),
                      10);
        }
        else if (c.first_row)
        {
            // Two pixels of padding around the 8 x 16 pixels of the glyph.
            want.assign(20, std::string(12, '\0'));
            for (int i = 0; i < 16; i++)
                for (int j = 0; j < 8; j++)
                {
                    const char level = (i == 0 ? c.first_row : c.other_rows)[j];
                    want[size_t(2 + i)][size_t(2 + j)] =
                        char(level == '#' ? 255 : level == '+' ? 170 : level == '-' ? 85 : 0);
                }
        }
        ASSERT_EQ(got.size(), want.size());
        int mismatches = 0;
        for (size_t y = 0; y < want.size(); y++)
        {
            ASSERT_EQ(got[y].size(), want[y].size());
            for (size_t x = 0; x < want[y].size(); x++)
                if (got[y][x] != want[y][x] && mismatches++ < 5)
                    ADD_FAILURE() << "at " << x << "," << y << ": " << int((unsigned char)got[y][x]) << ", not "
                                  << int((unsigned char)want[y][x]);
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST_F(Font, SecondCreationRefusedUntilDestroyed)
{
    const std::string font = ResourcePath("engeexbo.ttf");
    EngFont f;
    ASSERT_TRUE(f.CreateFromFontFile(font.c_str(), 0, 32, 12, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(f.CreateFromFontFile(font.c_str(), 0, 32, 12, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_TRUE(Logged("FD already setup"));
    f.Destroy();
    EXPECT_FALSE(f.IsCreated());
    EXPECT_EQ(f.GetLetter('A'), nullptr);
    EXPECT_EQ(f.GetStringWidth("A"), 0.0f);
    EXPECT_TRUE(f.CreateFromFontFile(font.c_str(), 0, 32, 12, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_NE(f.GetLetter('A'), nullptr);
}

TEST_F(Font, WantedListAndTwoChannels)
{
    const std::string font = ResourcePath("engeexbo.ttf");
    std::vector<char> wanted(128, 1);
    wanted['B'] = 0;
    wanted['z'] = 0;
    EngFont f;
    ASSERT_TRUE(f.CreateFromFontFile(font.c_str(), 1, 32, 12, 32, 127, wanted.data(), int(wanted.size()), 1, 1, 0,
                                     0, 0, 0, 0, 0, 0));
    EXPECT_TRUE(f.HasTwoChannels());
    for (int c : {'B', 'z'})
    {
        EXPECT_EQ(f.GetSheetOfChar(c), -1);
        EXPECT_EQ(f.GetAdvance(c), 0.0f);
        EXPECT_EQ(f.GetLetter(c), nullptr);
    }
    EXPECT_NE(f.GetLetter('A'), nullptr);
    // Two bytes a pixel: luminance and alpha both carry the glyph.
    const _EngFontLetter* L = f.GetLetter('A');
    const unsigned char* px = f.GetSheetPixels(L->sheet);
    ASSERT_NE(px, nullptr);
    int ink = 0;
    const int S = f.GetSheetSize();
    for (int y = int(L->top_v * S) + 1; y < int(L->bottom_v * S); y++)
        for (int x = int(L->left_u * S) + 1; x < int(L->right_u * S); x++)
        {
            const unsigned char* p = px + (size_t(y) * S + x) * 2;
            EXPECT_EQ(p[0], p[1]);
            ink += p[1] != 0;
        }
    EXPECT_GT(ink, 10);
}

// A size the old check allowed makes boxes larger than a sheet: those letters
// are refused (no heap overflow), the ones that fit remain.
TEST_F(Font, OversizedBoxesAreRefused)
{
    const std::string font = ResourcePath("engeexbo.ttf");
    EngFont f;
    f.CreateFromFontFile(font.c_str(), 0, 32, 300, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(Logged("does not fit a 512 sheet"));
    EXPECT_EQ(f.GetLetter('W'), nullptr);
    EXPECT_EQ(f.GetAdvance('W'), 0.0f);
    for (int c = 0; c < f.GetCodeCount(); c++)
        if (const _EngFontLetter* L = f.GetLetter(c))
        {
            EXPECT_LE(L->right_u, 1.0f) << c;
            EXPECT_LE(L->bottom_v, 1.0f) << c;
        }
}

TEST_F(Font, ShadowWidensTheBoxAndPaddingZeroGivesExactCoordinates)
{
    const std::string font = ResourcePath("engeexbo.ttf");
    EngFont plain, shadowed;
    _EngFontCreationEffects e = {};
    plain.SetCreationEffects(&e);
    ASSERT_TRUE(plain.CreateFromFontFile(font.c_str(), 0, 32, 20, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    e.shadow_x = 2;
    e.shadow_y = 2;
    e.shadow_lum_factor = 0.5f;
    shadowed.SetCreationEffects(&e);
    ASSERT_TRUE(
        shadowed.CreateFromFontFile(font.c_str(), 0, 32, 20, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    const _EngFontLetter* a = plain.GetLetter('o');
    const _EngFontLetter* b = shadowed.GetLetter('o');
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->width, a->width + 2);
    EXPECT_EQ(b->height, a->height + 2);
    EXPECT_EQ(b->x_offset, a->x_offset - 2);
    const float S = float(plain.GetSheetSize());
    EXPECT_FLOAT_EQ((a->right_u - a->left_u) * S, a->width);
    EXPECT_FLOAT_EQ((a->bottom_v - a->top_v) * S, a->height);
    // Pixel by pixel against the plain glyph g: where g is strong (128 and
    // up) the glyph itself, elsewhere the shadow, half of g two pixels up
    // and to the left.
    const unsigned char* plain_px = plain.GetSheetPixels(a->sheet);
    const unsigned char* px = shadowed.GetSheetPixels(b->sheet);
    ASSERT_TRUE(plain_px && px);
    const int N = int(S);
    const int ax = int(std::lround(a->left_u * S)), ay = int(std::lround(a->top_v * S));
    const int bx = int(std::lround(b->left_u * S)), by = int(std::lround(b->top_v * S));
    const int gw = int(a->width), gh = int(a->height);
    auto glyph = [&](int x, int y)
    { return x < 0 || y < 0 || x >= gw || y >= gh ? 0 : int(plain_px[(ay + y) * N + ax + x]); };
    int shadow = 0, strong = 0, mismatches = 0;
    for (int y = 0; y < gh + 2; y++)
        for (int x = 0; x < gw + 2; x++)
        {
            const int g = glyph(x, y);
            const int want = g >= 128 ? g : int(glyph(x - 2, y - 2) * 0.5f);
            const int got = px[(by + y) * N + bx + x];
            if (got != want && mismatches++ < 5)
                ADD_FAILURE() << "at " << x << "," << y << ": " << got << ", not " << want;
            shadow += g < 128 && want > 0;
            strong += g >= 128;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(shadow, 10);
    EXPECT_GT(strong, 10);
}

TEST_F(Font, PackerPlacesShelvesAndSheets)
{
    EngFont f;
    _EngFontCreationEffects e = {}; // padding 0: gap 2
    f.SetCreationEffects(&e);
    f.SetSheetSize(64);
    struct Step
    {
        int w, h;
        char ok;
        int x, y, sheets;
    };
    const Step steps[] = {
        {20, 10, 1, 2, 2, 1},  // first sheet
        {30, 12, 1, 24, 2, 1}, // same shelf
        {10, 5, 1, 2, 16, 1},  // new shelf below the tallest (12) + gap
        {40, 40, 1, 14, 16, 1},
        {10, 10, 1, 2, 2, 2},  // no room below: a new sheet
        {61, 10, 0, 0, 0, 2},  // wider than the sheet less its gaps: refused
        {10, 61, 0, 0, 0, 2},
        {60, 60, 1, 2, 2, 3},  // exactly the room
    };
    int counter = 0, cx = 0, cy = 0, rh = 0;
    for (const Step& s : steps)
    {
        SCOPED_TRACE(testing::Message() << s.w << "x" << s.h);
        int x = 0, y = 0;
        EXPECT_EQ(f.AllocSheetPart(&counter, &cx, &cy, &rh, s.w, s.h, &x, &y, 1), s.ok);
        EXPECT_EQ(counter, s.sheets);
        if (s.ok)
        {
            EXPECT_EQ(x, s.x);
            EXPECT_EQ(y, s.y);
        }
    }
    // Letter records name their sheet in a byte: sheet 257 is refused.
    while (counter < 256)
    {
        int x = 0, y = 0;
        ASSERT_TRUE(f.AllocSheetPart(&counter, &cx, &cy, &rh, 60, 60, &x, &y, 1));
    }
    int x = 0, y = 0;
    EXPECT_FALSE(f.AllocSheetPart(&counter, &cx, &cy, &rh, 60, 60, &x, &y, 1));
    EXPECT_EQ(counter, 256);
}

TEST_F(Font, BlurOfASinglePixel)
{
    // One pass of [1 2 1; 2 4 2; 1 2 1] / 16; the border copies its inner
    // neighbour from the input.
    std::vector<unsigned char> px(25, 0);
    px[1 * 5 + 1] = 255;
    BinomColor(1, 0, 1, 5, 5, px.data(), int(px.size()));
    const unsigned char want[25] = {
        0,   255, 0,  0, 0, //
        255, 63,  31, 0, 0, //
        0,   31,  15, 0, 0, //
        0,   0,   0,  0, 0, //
        0,   0,   0,  0, 0,
    };
    for (int i = 0; i < 25; i++)
        EXPECT_EQ(px[i], want[i]) << "pixel " << i % 5 << "," << i / 5;

    // A second pass reads the first one's output.
    std::vector<unsigned char> c(49, 0);
    c[3 * 7 + 3] = 255;
    BinomColor(1, 0, 2, 7, 7, c.data(), int(c.size()));
    EXPECT_EQ(c[3 * 7 + 3], (4 * 15 + 2 * 4 * 31 + 4 * 63) >> 4);

    // Two channels: each byte has its own pass count; 0 leaves it alone.
    std::vector<unsigned char> two(50, 0);
    two[(2 * 5 + 2) * 2] = 255;
    two[(2 * 5 + 2) * 2 + 1] = 200;
    BinomColor(2, 0, 1, 5, 5, two.data(), int(two.size()));
    EXPECT_EQ(two[(2 * 5 + 2) * 2], 63);
    EXPECT_EQ(two[(2 * 5 + 2) * 2 + 1], 200);
    EXPECT_EQ(two[(2 * 5 + 1) * 2 + 1], 0);

    // No passes: untouched.
    std::vector<unsigned char> none(25, 0);
    none[12] = 255;
    BinomColor(1, 3, 0, 5, 5, none.data(), int(none.size()));
    EXPECT_EQ(none[12], 255);
    EXPECT_EQ(none[11], 0);
}

class FontMetrics : public Font
{
protected:
    void SetUp() override
    {
        Font::SetUp();
        const std::string font = ResourcePath("engeexbo.ttf");
        ASSERT_TRUE(f.CreateFromFontFile(font.c_str(), 0, 32, 20, 32, 255, nullptr, 0, 0.5f, 0.25f, 0, 3, 0, 0, 0,
                                         0, 0));
        L = f.GetFontHeight(0);
    }
    float W(const char* s) { return f.GetStringWidth(s); }
    EngFont f;
    float L = 0;
};

TEST_F(FontMetrics, WidthsHeightScaleAndHighBytes)
{
    EXPECT_NEAR(L, 20 * 0.25f + 3, 1e-5);
    EXPECT_FLOAT_EQ(W("AB"), f.GetCharWidth('A') + f.GetCharWidth('B'));
    EXPECT_EQ(W(nullptr), 0.0f);
    // A byte without a glyph adds nothing; signed chars index no table.
    EXPECT_FLOAT_EQ(W("A\x01" "B"), W("AB"));
    EXPECT_EQ(f.GetCharWidth('\x01'), 0.0f);
    EXPECT_GT(f.GetCharWidth(char(0xE9)), 0.0f); // e-acute is in the face and the range
    EXPECT_EQ(f.GetCharWidth(char(0xAD)), f.GetAdvance(0xAD));

    f.SetScale(2, 3);
    EXPECT_FLOAT_EQ(W("AB"), 2 * (f.GetCharWidth('A') + f.GetCharWidth('B')));
    EXPECT_FLOAT_EQ(f.GetScaledCharWidth('A'), 2 * f.GetCharWidth('A'));
    EXPECT_FLOAT_EQ(f.GetFontHeight(1), 3 * L);
    EXPECT_FLOAT_EQ(f.DrawStringPartAlignGetYPos(100, 0), 100 + 3 * L);
    EXPECT_FLOAT_EQ(f.DrawStringPartAlignGetYPos(100, 1), 100 + 1.5f * L);
    EXPECT_FLOAT_EQ(f.DrawStringPartAlignGetYPos(100, 2), 100);
    // A zero factor switches scaling off rather than collapsing the text.
    f.SetScale(0, 2);
    EXPECT_FLOAT_EQ(W("AB"), f.GetCharWidth('A') + f.GetCharWidth('B'));
    f.SetScale(nullptr);
    float x, y;
    f.GetScale(&x, &y);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 1.0f);

    _ColourRGBA c;
    f.GetColour(&c);
    EXPECT_EQ(c.a, 1.0f);
    f.SetColour(0.5f, -1, 0.25f, -1);
    f.GetColour(&c);
    EXPECT_EQ(c.r, 0.5f);
    EXPECT_EQ(c.g, 1.0f);
    EXPECT_EQ(c.b, 0.25f);
    EXPECT_EQ(c.a, 1.0f);
}

// High bytes beyond a font's range have no letters and measure as the
// question mark they are drawn as; the no-break space measures as a space.
TEST_F(FontMetrics, HighBytesOutsideASmallRange)
{
    EngFont small;
    const std::string font = ResourcePath("engeexbo.ttf");
    ASSERT_TRUE(small.CreateFromFontFile(font.c_str(), 0, 32, 12, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0));
    const float mark = small.GetCharWidth('?');
    ASSERT_GT(mark, 0.0f);
    std::string all;
    for (int b = 128; b < 256; b++)
        all += char(b);
    const float space = small.GetCharWidth(' ');
    ASSERT_GT(space, 0.0f);
    EXPECT_FLOAT_EQ(small.GetStringWidth(all.c_str()), 127 * mark + space);
    EXPECT_EQ(small.GetStringWidth("caf\xC3\xA9"), small.GetStringWidth("caf??"));
    for (int b = 128; b < 256; b++)
    {
        EXPECT_EQ(small.GetCharWidth(char(b)), b == 0xA0 ? space : mark) << b;
        EXPECT_EQ(small.GetLetter(b), nullptr);
        EXPECT_EQ(small.ShownCode((unsigned char)b), b == 0xA0 ? ' ' : '?') << b;
    }
}

// A bitmap font of the space (6 pixels on) and the letters A and B (8 on),
// nothing above ASCII.
std::string AsciiBitmapFont()
{
    std::string empty, full;
    for (int i = 0; i < 16; i++)
        empty += "00\n", full += "FF\n";
    auto glyph = [](const char* name, int code, int advance, const std::string& rows)
    {
        return "STARTCHAR " + std::string(name) + "\nENCODING " + std::to_string(code) + "\nSWIDTH 500 0\nDWIDTH " +
               std::to_string(advance) + " 0\nBBX 8 16 0 -4\nBITMAP\n" + rows + "ENDCHAR\n";
    };
    return "STARTFONT 2.1\nFONT -misc-fixed-medium-r-normal--16-160-75-75-c-80-iso8859-1\nSIZE 16 75 75\n"
           "FONTBOUNDINGBOX 8 16 0 -4\nCHARS 3\n" +
           glyph("space", 32, 6, empty) + glyph("A", 65, 8, full) + glyph("B", 66, 8, full) + "ENDFONT\n";
}

// A font made without the letters 160 to 255 still spaces words joined by
// the no-break space, as a space does, and never breaks a line at it.
TEST_F(Font, NoBreakSpaceWithoutALetterAdvancesAsTheSpace)
{
    const std::string bdf = dir.File("ascii.bdf");
    vztest::WriteFile(bdf, AsciiBitmapFont());
    const std::string ttf = ResourcePath("engeexbo.ttf");
    struct
    {
        const char* name;
        std::string file;
        int max_char;
    } const cases[] = {
        {"a face without those letters", bdf, 255},
        {"a range that ends at 127", ttf, 127},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EngFont f;
        ASSERT_TRUE(f.CreateFromFontFile(c.file.c_str(), 0, 32, 16, 32, c.max_char, nullptr, 0, 0.5f, 1, 0, 0, 0, 0,
                                         0, 0, 0));
        ASSERT_EQ(f.GetLetter(0xA0), nullptr);
        const float space = f.GetCharWidth(' ');
        ASSERT_GT(space, 0.0f);
        ASSERT_NE(space, f.GetCharWidth('A'));
        EXPECT_EQ(f.GetCharWidth(char(0xA0)), space);
        f.SetScale(2, 1);
        EXPECT_EQ(f.GetScaledCharWidth(char(0xA0)), 2 * space);
        EXPECT_FLOAT_EQ(f.GetStringWidth("AB\xA0" "BA"), f.GetStringWidth("AB BA"));
        f.SetScale(nullptr);
        // Room for "AB", a space and one and a half letters: the space breaks
        // the line, the no-break space is cut as a letter after its room.
        const float max_w = f.GetStringWidth("AB ") + 1.5f * f.GetCharWidth('A');
        float widest = 0;
        int lines = 0;
        f.DrawMultilineText(0, 0, 1000, 1000, 0, 0, "AB\xA0" "BA", 0, 0, &widest, nullptr, &lines, nullptr);
        EXPECT_EQ(lines, 1);
        EXPECT_FLOAT_EQ(widest, f.GetStringWidth("AB BA"));
        f.DrawMultilineText(0, 0, max_w, 1000, 0, 0, "AB BA", 0, 0, nullptr, nullptr, &lines, nullptr);
        EXPECT_EQ(lines, 2);
        f.DrawMultilineText(0, 0, max_w, 1000, 0, 0, "AB\xA0" "BA", 0, 0, &widest, nullptr, &lines, nullptr);
        EXPECT_EQ(lines, 2);
        EXPECT_FLOAT_EQ(widest, f.GetStringWidth("AB ")); // "AB" and the no-break space
    }
}

struct WrapCase
{
    const char* name;
    std::string text;
    float max_w; // in units of the letter 'a'
    int first_line;
    int lines;
    float height; // in lines
};

TEST_F(FontMetrics, MultilineWrapping)
{
    const float a = f.GetCharWidth('a');
    ASSERT_GT(a, 0);
    const WrapCase cases[] = {
        // "ab cd" where the first four fit but not all five: "ab" / " cd".
        {"space break", "ab cd", f.GetStringWidth("ab c") / a, 0, 2, 2},
        // No spaces: the look-ahead cuts "aa" and the rest stays together.
        {"word cut", "aaaaaa", 3.5f, 0, 2, 2},
        {"trailing newline", "ab\n", 100, 0, 2, 2},
        {"leading newline", "\nab", 100, 0, 2, 2},
        {"blank line", "ab\n\ncd", 100, 0, 3, 3},
        {"one line", "ab cd", 100, 0, 1, 1},
        {"first line skipped", "aaaaaa", 3.5f, 1, 1, 1},
        {"empty", "", 10, 0, 1, 1},
        {"single space", " ", 10, 0, 1, 1},
    };
    for (const WrapCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        float widest = -1, height = -1;
        int lines = -1;
        char all = -1;
        f.DrawMultilineText(10, 20, c.max_w * a, 1000, 0, 0, c.text.c_str(), 0, c.first_line, &widest, &height,
                            &lines, &all);
        EXPECT_EQ(lines, c.lines);
        EXPECT_NEAR(height, c.height * L, 1e-3);
        EXPECT_EQ(all, 1);
    }

    // The widest line of "ab cd": "ab " before the cut.
    float widest = 0;
    f.DrawMultilineText(0, 0, f.GetStringWidth("ab c"), 1000, 0, 0, "ab cd", 0, 0, &widest, nullptr, nullptr, nullptr);
    EXPECT_NEAR(widest, f.GetStringWidth("ab "), 1e-3);

    // Height limit: stops after the line that crosses it.
    int lines = 0;
    char all = 1;
    float height = 0;
    f.DrawMultilineText(0, 0, 2.5f * a, 1.5f * L, 0, 0, "aa aa aa aa", 0, 0, nullptr, &height, &lines, &all);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(all, 0);
    EXPECT_NEAR(height, L, 1e-3);

    // A line gap replaces the line height.
    f.SetMultilineYgap(7);
    f.DrawMultilineText(0, 0, 100 * a, 1000, 0, 0, "ab\ncd", 0, 0, nullptr, &height, &lines, nullptr);
    EXPECT_EQ(lines, 2);
    EXPECT_NEAR(height, 14, 1e-3);

    // No font or no text: nothing.
    EngFont none;
    lines = 5;
    all = 0;
    none.DrawMultilineText(0, 0, 100, 100, 0, 0, "abc", 0, 0, nullptr, &height, &lines, &all);
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(all, 1);
}

TEST_F(FontMetrics, FontFileDetails)
{
    char family[8] = {}, style[64] = {};
    int cases = -1;
    const std::string font = ResourcePath("engeexbo.ttf");
    ASSERT_TRUE(EngFontGetFontFileDetails(font.c_str(), family, sizeof(family), style, sizeof(style), &cases));
    EXPECT_STREQ(family, "DejaVu "); // cut to the buffer
    EXPECT_STREQ(style, "Bold");
    EXPECT_EQ(cases, 3);
    EXPECT_FALSE(EngFontGetFontFileDetails(dir.File("none.ttf").c_str(), family, sizeof(family), nullptr, 0,
                                           nullptr));
}

} // namespace
