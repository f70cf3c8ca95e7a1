// Printing: the picture file's name and place, what each choice prints, and
// failures that leave no picture behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../GL/GLFixture.h"
#include "EngDebug.h"
#include "EngFont.h"
#include "EngJpeg.h"
#include "game/Game.h"
#include "game/Options.h"
#include "game/Print.h"
#include "game/Vizavu.h"
#include "support/GameFont.h"
#include "support/JpegScans.h"
#include "support/ResourcePath.h"
#include "support/TestSupport.h"

namespace
{

// The darkest channel value in a square of a decoded RGB picture.
int Darkest(const unsigned char* rgb, int width, int cx, int cy, int half)
{
    int darkest = 255;
    for (int y = cy - half; y <= cy + half; y++)
        for (int x = cx - half; x <= cx + half; x++)
            for (int k = 0; k < 3; k++)
                darkest = std::min(darkest, int(rgb[(y * width + x) * 3 + k]));
    return darkest;
}

class PrintTest : public vztest::GLDevice
{
protected:
    void SetUp() override
    {
        vztest::GLDevice::SetUp();
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        old_cwd = cwd;
        ASSERT_EQ(chdir(vztest::ResourcePath("").c_str()), 0);
        desktop = home.File("Desk");
        ASSERT_EQ(mkdir(desktop.c_str(), 0755), 0);
        vztest::WriteFile(home.File("user-dirs.dirs"), "XDG_DESKTOP_DIR=\"" + desktop + "\"\n");

        _EngFontCreationEffects e = vztest::GameFontEffects();
        font.SetCreationEffects(&e);
        ASSERT_TRUE(vztest::CreateGameFont(font, "engeexbo.ttf"));
        main_font = &font;

        OptionsSetDefaults();
        options.cur_level = 2;
        options.levels[2].cur_puzzle = 36;
        memset(board, 0, sizeof(board));
        board[0][0].number = 5;
        board[0][0].given = 1;
        board[1][0].number = 3;
        board[2][0].notes_on[5] = 2;
    }
    void TearDown() override
    {
        main_font = nullptr;
        ASSERT_EQ(chdir(old_cwd.c_str()), 0);
        vztest::GLDevice::TearDown();
    }

    // Prints and decodes the picture; the path and the pixels.
    std::string Print(char givens_only)
    {
        char path[512];
        EXPECT_EQ(PrintMakePicture(givens_only, path, sizeof(path)), 1);
        unsigned w = 0, h = 0;
        free(pixels);
        pixels = EngJpegReadFileToBuffer(path, &w, &h);
        if (!pixels || w != 1024 || h != 1024)
        {
            ADD_FAILURE() << "picture " << w << " x " << h;
            free(pixels);
            pixels = static_cast<unsigned char*>(calloc(1024 * 1024 * 3, 1));
        }
        if (getenv("VZ_KEEP_PRINT"))
            vztest::WriteFile(getenv("VZ_KEEP_PRINT"), vztest::ReadFile(path));
        return path;
    }
    // The centre of a cell of the printed grid, in picture pixels.
    static int CellX(int c) { return int(43 + (c + 0.5f) * (1024 - 43 - 41) / 9.0f); }
    static int CellY(int r) { return int(72 + (r + 0.5f) * (1024 - 72 - 10) / 9.0f) - 4; }

    vztest::TempDir home;
    vztest::ScopedEnv config{"XDG_CONFIG_HOME", home.Path().c_str()};
    std::string desktop;
    std::string old_cwd;
    EngFont font;
    unsigned char* pixels = nullptr;

public:
    ~PrintTest() override { free(pixels); }
};

TEST_F(PrintTest, HeaderNamesTheGameTheWebAddressAndThePuzzle)
{
    char header[256];
    ASSERT_EQ(PrintGetHeader(header, sizeof(header)), 1);
    EXPECT_EQ(std::string(header),
              std::string("Kestrelbay' Vizavu - www.kestrelbay.com - ") + level_strs[2] + " Puzzle No. 37");
    char small[16];
    EXPECT_EQ(PrintGetHeader(small, sizeof(small)), 0);
    options.cur_level = -1;
    EXPECT_EQ(PrintGetHeader(header, sizeof(header)), 0);
    EXPECT_STREQ(header, "");
}

TEST_F(PrintTest, GivensOnlyPrintsBlackGivensOnWhite)
{
    std::string path = Print(1);
    EXPECT_EQ(path, desktop + "/Vizavu " + level_strs[2] + " 37.jpg");
    EXPECT_FALSE(vztest::FileExists(desktop + "/.Vizavu " + level_strs[2] + " 37.jpg.part"));
    // Paper is white, the given digit is black; the player's number and note are left out.
    EXPECT_GT(Darkest(pixels, 1024, CellX(4), CellY(4), 30), 200);
    EXPECT_LT(Darkest(pixels, 1024, CellX(0), CellY(0), 20), 60);
    EXPECT_GT(Darkest(pixels, 1024, CellX(1), CellY(0), 25), 200);
    EXPECT_GT(Darkest(pixels, 1024, CellX(2), CellY(0), 25), 200);
    // The header is printed along the top.
    EXPECT_LT(Darkest(pixels, 1024, 512, 23, 15), 100);
}

TEST_F(PrintTest, CurrentStatePrintsNumbersAndNotesInGrey)
{
    Print(0);
    int given = Darkest(pixels, 1024, CellX(0), CellY(0), 20);
    int placed = Darkest(pixels, 1024, CellX(1), CellY(0), 20);
    int note = Darkest(pixels, 1024, CellX(2), CellY(0), 25);
    EXPECT_LT(given, 60);
    EXPECT_GT(placed, given + 30);
    EXPECT_LT(placed, 140);
    EXPECT_LT(note, 200);
    // Only the note for 5 is set: the corner of its cell's note grid stays blank.
    EXPECT_GT(Darkest(pixels, 1024, CellX(2) - 34, CellY(0) - 34, 6), 200);
}

// The grid's margins (left 43, right 41, top 72, bottom 10) place every
// digit: the centre of its ink, found in the picture, is where the margins
// put its cell, in the corners as in the middle.
TEST_F(PrintTest, DigitsSitOnTheGridWithItsMargins)
{
    memset(board, 0, sizeof(board));
    struct
    {
        int c, r;
    } const cells[] = {{0, 0}, {8, 0}, {0, 8}, {8, 8}, {4, 4}};
    for (const auto& at : cells)
        board[at.c][at.r].number = 8, board[at.c][at.r].given = 1;
    Print(1);
    for (const auto& at : cells)
    {
        SCOPED_TRACE(testing::Message() << "cell " << at.c << ", " << at.r);
        const float x = 43 + (at.c + 0.5f) * (1024 - 43 - 41) / 9.0f;
        const float y = 72 + (at.r + 0.5f) * (1024 - 72 - 10) / 9.0f - 4;
        double sx = 0, sy = 0, ink = 0;
        for (int py = int(y) - 40; py <= int(y) + 40; py++)
            for (int px = int(x) - 40; px <= int(x) + 40; px++)
            {
                const int v = pixels[(py * 1024 + px) * 3];
                if (v < 128)
                    sx += (255 - v) * (px + 0.5), sy += (255 - v) * (py + 0.5), ink += 255 - v;
            }
        ASSERT_GT(ink, 255 * 100);
        EXPECT_NEAR(sx / ink, x, 1.2);
        // The font draws an 8's ink 4 pixels above the point it is centred on.
        EXPECT_NEAR(sy / ink, y - 4.15, 1.2);
    }
}

TEST_F(PrintTest, FailuresLeaveNoPicture)
{
    // No board picture where the program runs.
    vztest::TempDir elsewhere;
    ASSERT_EQ(chdir(elsewhere.Path().c_str()), 0);
    char path[512] = "x";
    DebugClearLog();
    EXPECT_EQ(PrintMakePicture(1, path, sizeof(path)), 0);
    EXPECT_STREQ(path, "");
    ASSERT_EQ(chdir(vztest::ResourcePath("").c_str()), 0);
    EXPECT_TRUE(vztest::Logged("File does not exist <BoardPrint.jpg>")) << vztest::LastLogLine();
    EXPECT_FALSE(vztest::Logged("No memory")) << "the missing file is the reason";

    // A level or puzzle out of range names no file.
    struct Case
    {
        int level, puzzle;
    } bad[] = {{5, 0}, {-1, 0}, {2, 100}, {2, -1}};
    for (const Case& c : bad)
    {
        options.cur_level = c.level;
        if (c.level >= 0 && c.level < 5)
            options.levels[c.level].cur_puzzle = c.puzzle;
        char name[PRINT_NAME_SIZE];
        EXPECT_EQ(PrintGetFileName(name, sizeof(name)), 0) << c.level << " " << c.puzzle;
        EXPECT_EQ(PrintMakePicture(1, path, sizeof(path)), 0);
    }
    std::string listing;
    EXPECT_EQ(rmdir(desktop.c_str()), 0) << "the Desktop folder should still be empty";
}

// A board picture that would hold the game while it decodes (a scan repeated
// hundreds of times) is refused with its reason, naming it, and that reason
// alone, and the print fails at once, leaving nothing on the Desktop.
TEST_F(PrintTest, BoardPictureOfTooMuchDecodingWorkIsRefused)
{
    vztest::TempDir art;
    vztest::WriteFile(art.File("BoardPrint.jpg"), vztest::ProgressiveJpeg(964, 964, 9, 290));
    ASSERT_EQ(chdir(art.Path().c_str()), 0);
    DebugClearLog();
    char path[512] = "x";
    EXPECT_EQ(PrintMakePicture(1, path, sizeof(path)), 0);
    ASSERT_EQ(chdir(vztest::ResourcePath("").c_str()), 0);
    EXPECT_STREQ(path, "");
    int refusals = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
    {
        const std::string line = DebugGetMessage(i)->text;
        refusals += line.find("Too much decoding work: ") != std::string::npos &&
                    line.find("<BoardPrint.jpg>") != std::string::npos;
    }
    EXPECT_EQ(refusals, 1);
    // The picture's texture was had: no shortage of memory is reported beside the reason.
    EXPECT_FALSE(vztest::Logged("No memory")) << vztest::LastLogLine();
    EXPECT_EQ(vztest::Listing(desktop), std::vector<std::string>{});
}

// A print whose file cannot be written whole (the disk full half way) fails,
// keeps the print made before and leaves nothing beside it.
TEST_F(PrintTest, AWriteCutShortKeepsTheOldPrintAndLeavesNoTemporary)
{
    const std::string print = desktop + "/Vizavu " + level_strs[2] + " 37.jpg";
    vztest::WriteFile(print, "the print made before");
    struct rlimit old_limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    struct rlimit small = old_limit;
    small.rlim_cur = 20000;
    void (*old_signal)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    char path[512] = "x";
    const char made = PrintMakePicture(0, path, sizeof(path));
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_signal);
    EXPECT_EQ(made, 0);
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(vztest::Logged("Could not write <" + print + ">: " + strerror(EFBIG)));
    EXPECT_EQ(vztest::ReadFile(print), "the print made before");
    EXPECT_EQ(vztest::Listing(desktop),
              std::vector<std::string>{"Vizavu " + std::string(level_strs[2]) + " 37.jpg"});
}

} // namespace
