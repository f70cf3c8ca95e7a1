// Saves that cannot be made, driven through the running game: a data folder
// that cannot be created, a full disk at quit, a file-size limit, stale
// temporary files, a saved game with forged clues, and FIFOs and device links
// where the records belong.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "game/Board.h"
#include "game/Game.h"
#include "game/InGameScreen.h"
#include "game/MainScreen.h"
#include "game/Vizavu.h"
#include "game/VizavuSave.h"
#include "support/TestSupport.h"

#include "GameTestSupport.h"
#include "GameWindowFixture.h"

namespace
{
const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 SCREEN_INGA = EngFourCC('I', 'N', 'G', 'A');
const char* const DATA = "/Kestrelbay/Kestrelbay Vizavu";
const char* const RECORD = "SavedGamesFull00.dat";

enum Quit
{
    CTRL_Q,
    WINDOW_CLOSE,
    EXIT_BUTTON,
    SYSTEM_QUIT // what SIGTERM and the end of the session become
};

// Identity of a file (inode, size, time): a rename or a rewrite changes it.
std::string Stamp(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return "none";
    return std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
           std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

// The temporary files the game's saves leave when cut off, and names beside
// them that are not the game's records.
const char* const STALE[] = {"Options.dat.tmpAb3dE9", "Resolution.dat.tmp000000", "SavedGamesFull00.dat.tmpZZZZZZ",
                             "SavedGamesFull499.dat.tmpq1w2e3"};
const char* const LOOKALIKES[] = {"Options.dat.tmp12345",           "Notes.dat.tmpABCDEF",
                                  "SavedGamesFull50.dat.tmpABCDEF", "SavedGamesFull007.dat.tmpABCDEF",
                                  "SavedGamesFull0100.dat.tmpABCDEF", "options.dat.tmpABCDEF"};

class Saving : public gametest::GameWindowTest
{
protected:
    // Each case runs in a home of its own.
    struct Home
    {
        vztest::TempDir dir;
        vztest::ScopedEnv data{"XDG_DATA_HOME", dir.Path().c_str()};
        std::string Data(const std::string& name = "") const
        {
            return dir.Path() + DATA + (name.empty() ? "" : "/" + name);
        }
    };

    void Click(float x640, float y480)
    {
        ClickPixel(int(x640 * eng_main_window_x_ratio), int(y480 * eng_main_window_y_ratio));
    }
    void ClickButton(MWinButton* b)
    {
        ASSERT_NE(b, nullptr);
        const _Dimension* a = b->GetActualArea();
        Click(a->x + a->w / 2, a->y + a->h / 2);
        Frames(2);
    }
    // Starts play and places digit in the first empty cell.
    void PlayAndPlace(int digit)
    {
        ClickButton(mwinMainMainStartButton);
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
        ASSERT_TRUE(FirstEmptyCell(&col, &row));
        Click(board_vars[col][row].centre_x, board_vars[col][row].centre_y);
        Key(SDL_Keycode(SDLK_0 + digit), KMOD_LCTRL);
        ASSERT_EQ(board[col][row].number, digit);
    }
    void AskToQuit(Quit how)
    {
        SDL_Event e = {};
        switch (how)
        {
        case CTRL_Q:
            Key(SDLK_q, KMOD_LCTRL);
            return;
        case EXIT_BUTTON:
            ClickButton(mwinMainMainExitButton);
            return;
        case WINDOW_CLOSE:
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_CLOSE;
            e.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(eng_main_sdl_window));
            break;
        case SYSTEM_QUIT:
            e.type = SDL_QUIT;
            break;
        }
        Send(e);
    }
    bool ToolkitPopupTitled(const char* title)
    {
        MWinWindow* w = main_mwin->PopupIsOn() ? MWinPopupGetWindow(main_mwin) : nullptr;
        return w && !strcmp(w->GetTitle(), title);
    }
    // Soft file-size limit: a write past it fails (or, unhandled, kills).
    void LimitFileSize(bool on)
    {
        struct rlimit rl;
        getrlimit(RLIMIT_FSIZE, &rl);
        rl.rlim_cur = on ? 100000 : rl.rlim_max;
        setrlimit(RLIMIT_FSIZE, &rl);
    }
    void TearDown() override
    {
        LimitFileSize(false);
        GameWindowTest::TearDown();
    }

public:
    // Case steps.
    void BlockDataFolder()
    {
        vztest::WriteFile(home->dir.File("blocker"), "a file, not a folder");
        setenv("XDG_DATA_HOME", home->dir.File("blocker/data").c_str(), 1);
    }
    void OneBoxNamesTheFolder()
    {
        ASSERT_EQ(popups.Popups().size(), 1u);
        EXPECT_NE(popups.Popups()[0].text.find(home->dir.File("blocker/data") + DATA), std::string::npos)
            << popups.Popups()[0].text;
    }
    void WriteStaleFiles()
    {
        std::filesystem::create_directories(home->Data("Resolution.dat.tmpABCDEF"));
        for (const char* n : STALE)
            vztest::WriteFile(home->Data(n), "cut off");
        for (const char* n : LOOKALIKES)
            vztest::WriteFile(home->Data(n), "someone else's");
    }
    void OnlyStaleFilesWentAway()
    {
        std::vector<std::string> want(std::begin(LOOKALIKES), std::end(LOOKALIKES));
        want.push_back("LogFile.txt");
        want.push_back("Resolution.dat.tmpABCDEF");
        std::sort(want.begin(), want.end());
        EXPECT_EQ(vztest::Listing(home->Data()), want);
    }
    // Every cell marked given, with the solution's digits swapped 1 <-> 2.
    void WriteForgedClues()
    {
        std::string solution = gametest::Solve(VizavuGetLayout(0, 0));
        ASSERT_EQ(solution.size(), 81u);
        VizavuSaveRecord rec = {};
        rec.started = 1;
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
            {
                int d = solution[r * 9 + c] - '0';
                rec.board[c][r].number = EngInt8(d == 1 ? 2 : d == 2 ? 1 : d);
                rec.board[c][r].given = 1;
            }
        std::filesystem::create_directories(home->Data());
        vztest::WriteFile(home->Data(RECORD), std::string(reinterpret_cast<const char*>(&rec), sizeof(rec)));
    }
    void PlantSpecialRecords()
    {
        std::filesystem::create_directories(home->Data());
        ASSERT_EQ(mkfifo(home->Data("Options.dat").c_str(), 0644), 0);
        ASSERT_EQ(mkfifo(home->Data("Resolution.dat").c_str(), 0644), 0);
        ASSERT_EQ(symlink("/dev/zero", home->Data(RECORD).c_str()), 0);
    }
    void SpecialRecordsRefused()
    {
        for (const char* n : {"Options.dat", RECORD})
        {
            EXPECT_EQ(vztest::LogCount("Not a regular file <" + home->Data(n) + ">"), 1) << n;
        }
        EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    }
    void WriteShortRecord()
    {
        std::filesystem::create_directories(home->Data());
        vztest::WriteFile(home->Data(RECORD), std::string(VIZAVU_SAVE_FILE_SIZE - 1, '\0'));
    }
    // However often the start looks at the file, it is told once, with why.
    void ShortRecordToldOnce()
    {
        const std::string told = "Could not load saved game <" + home->Data(RECORD) + ">";
        EXPECT_EQ(vztest::LogCount(told), 1);
        EXPECT_EQ(vztest::LogCount(told + ": it is 195379 bytes, not 195380"), 1);
        EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    }
    void BoardShowsThePuzzle()
    {
        const char* p = VizavuGetLayout(0, 0);
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
            {
                int d = p[r * 9 + c] - '0';
                ASSERT_EQ(board[c][r].number, d) << c << "," << r;
                ASSERT_EQ(board[c][r].given, d ? 1 : 0) << c << "," << r;
            }
        EXPECT_TRUE(vztest::Logged("Puzzle is not valid."));
        EXPECT_TRUE(vztest::Logged("does not match the puzzle"));
    }

protected:
    typedef void (Saving::*Step)();
    struct Case
    {
        const char* name;
        Step arrange;     // the fault, before the game starts
        Step after_start; // what the start did about it
        bool full_disk;   // the disk is full (a file-size limit) when the quit comes
        Quit quit;
        bool from_menu; // the quit is asked on the main menu, else in play with a move unsaved
        bool stays;     // the game says "Save Failed" and goes on
    };
    void Run(const Case& c);

    std::unique_ptr<Home> home;
    int col = 0, row = 0;
};

void Saving::Run(const Case& c)
{
    char resources[512];
    ASSERT_TRUE(EngProgramFindResourcesPath(resources, sizeof(resources)));
    popups.Popups().clear();
    DebugClearLog();
    auto stamps = [&]
    {
        std::vector<std::string> s;
        for (const char* n : {"Options.dat", "Resolution.dat", RECORD})
            s.push_back(Stamp(std::string(resources) + "/" + n));
        return s;
    };
    const std::vector<std::string> before = stamps();
    if (c.arrange)
        (this->*c.arrange)();
    ASSERT_NO_FATAL_FAILURE(Start());
    if (c.after_start)
    {
        ASSERT_NO_FATAL_FAILURE((this->*c.after_start)());
    }

    // A move, saved by leaving the puzzle; then another one, not yet saved.
    ASSERT_NO_FATAL_FAILURE(PlayAndPlace(4));
    Key(SDLK_ESCAPE, 0);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    EXPECT_FALSE(main_mwin->PopupIsOn());
    const std::string saved = vztest::ReadFile(home->Data(RECORD));
    if (!c.from_menu)
    {
        ASSERT_NO_FATAL_FAILURE(PlayAndPlace(6));
    }

    LimitFileSize(c.full_disk);
    AskToQuit(c.quit);
    Frames(2);
    EXPECT_EQ(main_game->IsExiting() != 0, !c.stays);
    EXPECT_EQ(ToolkitPopupTitled("Save Failed"), c.stays);
    if (c.full_disk)
    {
        // The process lives; the old record is whole and nothing is left beside it.
        EXPECT_EQ(vztest::ReadFile(home->Data(RECORD)), saved);
        for (const std::string& n : vztest::Listing(home->Data()))
        {
            EXPECT_EQ(n.find(".tmp"), std::string::npos) << n;
        }
    }
    if (c.stays)
    {
        EXPECT_EQ(GameGetCurrentScreen(), c.from_menu ? SCREEN_MAIN : SCREEN_INGA);
        if (!c.from_menu)
        {
            EXPECT_EQ(board[col][row].number, 6);
        }
        // Room again: the player chooses to quit, and the exit saves.
        LimitFileSize(false);
        ClickButton(MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_OK));
        EXPECT_TRUE(main_game->IsExiting());
    }
    MainExitAndDeleteMainProgram(1);
    LimitFileSize(false);
    if (c.full_disk && !c.stays)
    {
        EXPECT_EQ(vztest::ReadFile(home->Data(RECORD)), saved);
    }
    if (c.stays && !c.from_menu)
    {
        std::string rec = vztest::ReadFile(home->Data(RECORD));
        ASSERT_EQ(rec.size(), size_t(VIZAVU_SAVE_FILE_SIZE));
        EXPECT_EQ(reinterpret_cast<const VizavuSaveRecord*>(rec.data())->board[col][row].number, 6);
    }

    if (c.arrange == &Saving::PlantSpecialRecords)
    {
        // The exit put regular files where the FIFOs and the link were.
        for (const char* n : {"Options.dat", "Resolution.dat", RECORD})
        {
            struct stat st;
            EXPECT_TRUE(lstat(home->Data(n).c_str(), &st) == 0 && S_ISREG(st.st_mode)) << n;
        }
    }
    // A box only for the folder that cannot be made, and only once.
    EXPECT_EQ(popups.Popups().size(), c.arrange == &Saving::BlockDataFolder ? 1u : 0u);
    // Nothing of the player's ever lands in the program's own folder.
    EXPECT_EQ(stamps(), before);
    for (const char* n : {"LogFile.txt", "ErrorLog.txt"})
    {
        EXPECT_EQ(vztest::ReadFile(std::string(resources) + "/" + n).find(home->dir.Path()), std::string::npos)
            << n;
    }
}

TEST_F(Saving, FaultsAreToldAndNothingIsLostOrMisplaced)
{
    const Case cases[] = {
        {"data folder cannot be made", &Saving::BlockDataFolder, &Saving::OneBoxNamesTheFolder, false, CTRL_Q,
         false, false},
        {"disk full at Ctrl+Q", nullptr, nullptr, true, CTRL_Q, false, true},
        {"disk full at the window's close", nullptr, nullptr, true, WINDOW_CLOSE, false, true},
        {"disk full at Exit", nullptr, nullptr, true, EXIT_BUTTON, true, true},
        {"disk full when the system ends the game", nullptr, nullptr, true, SYSTEM_QUIT, false, false},
        {"stale temporary files", &Saving::WriteStaleFiles, &Saving::OnlyStaleFilesWentAway, false, CTRL_Q,
         false, false},
        {"forged clues", &Saving::WriteForgedClues, &Saving::BoardShowsThePuzzle, false, CTRL_Q, false,
         false},
        {"FIFOs and a device link for records", &Saving::PlantSpecialRecords, &Saving::SpecialRecordsRefused,
         false, CTRL_Q, false, false},
        {"saved game one byte short", &Saving::WriteShortRecord, &Saving::ShortRecordToldOnce, false, CTRL_Q,
         false, false},
    };
    // A start that waits on a file for good ends this program instead of the suite's run.
    alarm(600);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        home.reset(new Home);
        Run(c);
        MainExitAndDeleteMainProgram(1);
        LimitFileSize(false);
        home.reset();
    }
    alarm(0);
}

TEST_F(Saving, WithoutADataFolderALeftPuzzleResumesUntilTheGameEnds)
{
    home.reset(new Home);
    BlockDataFolder();
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(popups.Popups().size(), 1u);
    EXPECT_NE(popups.Popups()[0].text.find("resumed until you quit"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(PlayAndPlace(4));
    ASSERT_TRUE(VizavuCanUndo());
    Key(SDLK_ESCAPE, 0);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    EXPECT_FALSE(main_mwin->PopupIsOn());
    EXPECT_STREQ(mwinMainMainStartButton->GetTextP(), "Resume");
    ClickButton(mwinMainMainStartButton);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
    EXPECT_EQ(board[col][row].number, 4);
    EXPECT_TRUE(VizavuCanUndo());
    MainExitAndDeleteMainProgram(1);
    EXPECT_EQ(vztest::Listing(home->dir.Path()), std::vector<std::string>{"blocker"});
}

// Leaving play while the game cannot be saved says why and offers what the
// quit does: leave without saving, the moves kept until the game ends, or stay.
TEST_F(Saving, LeavingPlayWhileSavingFailsLetsThePlayerLeaveOrStay)
{
    enum Way
    {
        ESCAPE,
        MENU_BUTTON,
        DOUBLE_CLICK
    };
    struct Case
    {
        const char* name;
        Way way;
        bool leave; // the popup's answer: else stay
    } const cases[] = {
        {"Escape, leave", ESCAPE, true},
        {"Menu, leave", MENU_BUTTON, true},
        {"double click, leave", DOUBLE_CLICK, true},
        {"Escape, stay", ESCAPE, false},
    };
    auto ask_to_leave = [this](Way way)
    {
        if (way == ESCAPE)
            Key(SDLK_ESCAPE, 0);
        else if (way == MENU_BUTTON)
            ClickButton(mwinInGameInGameMenuButton);
        else
        {
            // The top left corner lies off the board and the pads.
            ClickPixel(2, 2, 1);
            ClickPixel(2, 2, 2);
        }
        Frames(2);
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        home.reset(new Home);
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(PlayAndPlace(4));
        LimitFileSize(true);
        ask_to_leave(c.way);
        const int undos = num_undos;
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
        ASSERT_TRUE(ToolkitPopupTitled("Save Failed"));
        MWinWindow* popup = MWinPopupGetWindow(main_mwin);
        MWinButton* msg = popup->GetButtonFromID("MSG", 0);
        ASSERT_NE(msg, nullptr);
        EXPECT_STREQ(msg->GetTextP(), "The game could not be saved (File too large).\n\n"
                                      "Leave without saving? The puzzle can be resumed until you quit.");
        MWinButton* leave = MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_OK);
        MWinButton* stay = MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_CANCEL);
        ASSERT_NE(leave, nullptr);
        ASSERT_NE(stay, nullptr);
        EXPECT_STREQ(leave->GetTextP(), "Leave");
        EXPECT_STREQ(stay->GetTextP(), "Stay");
        ClickButton(c.leave ? leave : stay);
        EXPECT_FALSE(main_mwin->PopupIsOn());
        EXPECT_FALSE(vztest::FileExists(home->Data(RECORD)));

        if (c.leave)
        {
            // The menu offers the game as it was left, with its undo list.
            ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
            EXPECT_STREQ(mwinMainMainStartButton->GetTextP(), "Resume");
            ClickButton(mwinMainMainStartButton);
            ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
            EXPECT_EQ(board[col][row].number, 4);
            EXPECT_EQ(num_undos, undos);
        }
        else
        {
            ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
            EXPECT_EQ(board[col][row].number, 4);
        }
        // With room again, leaving saves and goes back at once.
        LimitFileSize(false);
        Key(SDLK_ESCAPE, 0);
        Frames(2);
        EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
        EXPECT_FALSE(main_mwin->PopupIsOn());
        std::string rec = vztest::ReadFile(home->Data(RECORD));
        ASSERT_EQ(rec.size(), size_t(VIZAVU_SAVE_FILE_SIZE));
        EXPECT_EQ(reinterpret_cast<const VizavuSaveRecord*>(rec.data())->board[col][row].number, 4);
        MainExitAndDeleteMainProgram(1);
        home.reset();
    }
}

// A game kept in memory after a failed save gives way to a later save of the
// same puzzle that succeeds: Resume brings back the newer game, and so does
// the exit's writing of the kept games, made while another puzzle is chosen.
TEST_F(Saving, AKeptGameGivesWayToALaterSaveThatSucceeds)
{
    const struct
    {
        const char* name;
        bool resume; // else quit on the next puzzle
    } cases[] = {{"resumed", true}, {"written at exit", false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        home.reset(new Home);
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(PlayAndPlace(4));
        const int first_col = col, first_row = row;
        LimitFileSize(true);
        Key(SDLK_ESCAPE, 0);
        Frames(2);
        ASSERT_TRUE(ToolkitPopupTitled("Save Failed"));
        ClickButton(MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_OK));
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
        LimitFileSize(false);

        // Resumed from memory, a second move, and this time the save succeeds.
        ASSERT_NO_FATAL_FAILURE(PlayAndPlace(6));
        ASSERT_EQ(board[first_col][first_row].number, 4);
        Key(SDLK_ESCAPE, 0);
        Frames(2);
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
        ASSERT_FALSE(main_mwin->PopupIsOn());

        if (c.resume)
        {
            ClickButton(mwinMainMainStartButton);
            ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
            EXPECT_EQ(board[first_col][first_row].number, 4);
            EXPECT_EQ(board[col][row].number, 6) << "the game kept before came back";
            EXPECT_EQ(num_undos, 2);
        }
        else
        {
            ClickButton(mwinMainMainNextButton);
            ASSERT_EQ(options.levels[0].cur_puzzle, 1);
            MainExitAndDeleteMainProgram(1);
            std::string rec = vztest::ReadFile(home->Data(RECORD));
            ASSERT_EQ(rec.size(), size_t(VIZAVU_SAVE_FILE_SIZE));
            const VizavuSaveRecord* saved = reinterpret_cast<const VizavuSaveRecord*>(rec.data());
            EXPECT_EQ(saved->board[first_col][first_row].number, 4);
            EXPECT_EQ(saved->board[col][row].number, 6) << "the game kept before was written";
            EXPECT_EQ(saved->num_undos, 2);
        }
        MainExitAndDeleteMainProgram(1);
        home.reset();
    }
}
} // namespace
