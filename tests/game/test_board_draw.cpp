// Board picture tinting: the mask's bright parts take the Board colour, dark
// parts the Lines colour; the dark-board rule; refused files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "EngTexture.h"
#include "game/BoardDraw.h"
#include "game/GraphicsControl.h"
#include "game/Options.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

class BoardTint : public vztest::LogTest
{
};

TEST_F(BoardTint, MaskBrightnessMixesBoardAndLinesColours)
{
    const float board_col[3] = {1.0f, 0.5f, 0.0f};
    const float lines_col[3] = {0.0f, 0.0f, 1.0f};
    struct Case
    {
        unsigned char bgra[4];
        unsigned char want[4];
    };
    const Case cases[] = {
        // white mask: Board colour; alpha kept
        {{255, 255, 255, 200}, {0, 127, 255, 200}},
        // black mask: Lines colour
        {{0, 0, 0, 255}, {255, 0, 0, 255}},
        // the brightest channel decides, whichever it is
        {{0, 0, 255, 10}, {0, 127, 255, 10}},
        {{0, 51, 0, 0}, {204, 25, 51, 0}},
    };
    for (const Case& c : cases)
    {
        unsigned char px[4] = {c.bgra[0], c.bgra[1], c.bgra[2], c.bgra[3]};
        BoardTintPixels(px, 1, board_col, lines_col);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(int(px[i]), int(c.want[i]))
                << "byte " << i << " of " << int(c.bgra[0]) << "," << int(c.bgra[1]) << "," << int(c.bgra[2]);
    }
}

TEST_F(BoardTint, DarkBoardRule)
{
    struct Case
    {
        float c[3];
        bool dark;
    };
    const Case cases[] = {
        {{0.5f, 0.5f, 0.5f}, true},
        {{0.0f, 0.0f, 0.0f}, true},
        {{0.1f, 0.51f, 0.2f}, false},
        {{1.0f, 1.0f, 1.0f}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BoardIsColourDark(c.c), c.dark) << c.c[0] << "," << c.c[1] << "," << c.c[2];
}

TEST_F(BoardTint, RefusedInputs)
{
    vztest::TempDir dir;
    EngTexture tex;
    EXPECT_EQ(BoardSetBoardBgColours("", &tex, 0), 0);
    EXPECT_TRUE(Logged("No filename."));
    std::string missing = dir.File("none.tga");
    EXPECT_EQ(BoardSetBoardBgColours(missing.c_str(), &tex, 0), 0);
    EXPECT_TRUE(Logged("File does not exist [" + missing + "]."));
    std::string fifo = dir.File("fifo.tga");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(BoardSetBoardBgColours(fifo.c_str(), &tex, 0), 0);
    EXPECT_TRUE(Logged("Not a regular file <" + fifo + ">"));

    // A 2 x 1 uncompressed 24-bit picture is not a mask.
    std::string rgb(18, '\0');
    rgb[2] = 2;
    rgb[12] = 2;
    rgb[14] = 1;
    rgb[16] = 24;
    rgb += std::string(6, '\x7f');
    std::string file = dir.File("Board24.tga");
    vztest::WriteFile(file, rgb);
    EXPECT_EQ(BoardSetBoardBgColours(file.c_str(), nullptr, 0), 0);
    EXPECT_TRUE(Logged("No tex."));
    EXPECT_EQ(BoardSetBoardBgColours(file.c_str(), &tex, 0), 0);
    EXPECT_TRUE(Logged("Invalid tga."));
    EXPECT_FALSE(tex.IsOk());
}

TEST_F(BoardTint, TextColoursFollowTheCurrentSet)
{
    GraphicsControlSetDefaultOptions();
    options.cur_colour_set = 2;
    options.colours[2][OPTIONS_COL_NOTES][0] = 0.25f;
    options.colours[2][OPTIONS_COL_PUZZLE_NUMBERS][1] = 0.75f;
    VizavuUpdateOrigTextColour();
    VizavuUpdateNoteTextColour();
    EXPECT_FLOAT_EQ(font_orig_col.g, 0.75f);
    EXPECT_FLOAT_EQ(font_orig_col.a, 1.0f);
    EXPECT_FLOAT_EQ(font_small_norm_col.r, 0.25f);
    EXPECT_FLOAT_EQ(font_small_norm_col.a, 0.6f);
    EXPECT_FLOAT_EQ(font_small_bold_col.a, 1.0f);
    // An out-of-range set index falls back to set 0 instead of reading past the table.
    options.cur_colour_set = 99;
    VizavuUpdateNormTextColour();
    EXPECT_FLOAT_EQ(font_main_col.r, options.colours[0][OPTIONS_COL_PLACED_NUMBERS][0]);
}

} // namespace
