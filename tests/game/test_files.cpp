// Options.dat, saved games and Resolution.dat: byte layouts, refused files,
// repaired values, round trips and saves that never complete.
#include <cmath>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <limits>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "GameTestSupport.h"
#include "game/GraphicsControl.h"
#include "game/Resolution.h"
#include "game/VizavuSave.h"

using namespace gametest;
using vztest::Logged;
using vztest::ReadFile;
using vztest::WriteFile;

namespace
{

// The eight default colour sets written out: for each set, the Screen, Board,
// Lines, Puzzle Numbers, Placed Numbers and Notes colours (red, green, blue).
const float kDefaultColourSets[8][6][3] = {
    {{0.189f, 0.201f, 0.258f}, {1, 1, 1}, {0, 0, 0}, {0.025f, 0.039f, 0.121f}, {0.496f, 0.53f, 0.732f},
     {0.518f, 0.4f, 0.138f}},
    {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {0.4f, 0.4f, 0.4f}, {0.4f, 0.4f, 0.4f}},
    {{0.002f, 0.002f, 0.002f}, {0, 0, 0}, {0.458f, 0.458f, 0.458f}, {0.757f, 0.757f, 0.757f},
     {0.514f, 0.514f, 0.514f}, {0.561f, 0.561f, 0.561f}},
    {{0.158f, 0.259f, 0.282f}, {0.861f, 0.891f, 0.571f}, {0.203f, 0.211f, 0.048f}, {0.123f, 0.115f, 0.012f},
     {0.49f, 0.449f, 0.277f}, {0.354f, 0.347f, 0.197f}},
    {{0.398f, 0.102f, 0.165f}, {0.836f, 0.513f, 0.69f}, {0, 0, 0}, {0, 0, 0}, {0.398f, 0.102f, 0.165f},
     {0.218f, 0.115f, 0.226f}},
    {{0.266f, 0.29f, 0.256f}, {0.079f, 0.079f, 0.079f}, {0.801f, 0.801f, 0.801f}, {0.569f, 0.569f, 0.569f},
     {0.426f, 0.426f, 0.426f}, {0.545f, 0.445f, 0.377f}},
    {{0.119f, 0.077f, 0.061f}, {0.406f, 0.352f, 0.335f}, {0.127f, 0.127f, 0.127f}, {1, 0.578f, 0.115f},
     {0.8f, 0.48f, 0.264f}, {0.34f, 0.158f, 0.122f}},
    {{0.534f, 0.697f, 0.4f}, {0.973f, 0.978f, 0.978f}, {0.101f, 0.24f, 0.032f}, {0, 0.004f, 0.004f},
     {0.605f, 0.686f, 0.425f}, {0.444f, 0.544f, 0.221f}},
};
static_assert(sizeof(kDefaultColourSets) == sizeof(Options::colours), "eight sets of six colours");

template <typename T> T At(const std::string& bytes, size_t offset)
{
    T v;
    memcpy(&v, bytes.data() + offset, sizeof(T));
    return v;
}

template <typename T> void Put(std::string* bytes, size_t offset, T v)
{
    memcpy(&(*bytes)[offset], &v, sizeof(T));
}

// How a save in a child process is cut off.
enum Interruption
{
    KILLED_WRITING,   // killed in the middle of the write (the file-size signal)
    WRITE_FAILS,      // the write fails and save() returns
    KILLED_RENAMING,  // killed after the whole write, just before the rename
};

// Kills the process at its first rename, as kill -9 would at that point.
bool KillAtRename()
{
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
#ifdef __NR_rename
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_rename, 3, 0),
#else
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_renameat2, 3, 0),
#endif
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_renameat, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_renameat2, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
    };
    struct sock_fprog prog = {(unsigned short)(sizeof(filter) / sizeof(filter[0])), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) == 0;
}

const int NO_SECCOMP = 77;

// Runs save() in a child, cut off as asked; the file-size limit is below the
// record's size except at the rename. Gives the child's exit code, or -signal.
int SaveInChild(char (*save)(), rlim_t limit, Interruption how)
{
    pid_t pid = vztest::ForkChild();
    if (pid < 0)
        return -1;
    if (pid == 0)
    {
        if (how == KILLED_RENAMING)
        {
            if (!KillAtRename())
                _exit(NO_SECCOMP);
        }
        else
        {
            struct rlimit rl = {limit, limit};
            setrlimit(RLIMIT_FSIZE, &rl);
            signal(SIGXFSZ, how == KILLED_WRITING ? SIG_DFL : SIG_IGN);
        }
        _exit(save() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

char SaveOptions()
{
    return OptionsSave();
}
char SaveResolution()
{
    return ResolutionSave();
}
char SaveGame()
{
    return VizavuSaveGame(0);
}

class Files : public GameTest
{
protected:
    void ExpectDefaultOptions()
    {
        EXPECT_EQ(options.version, 1.0f);
        EXPECT_EQ(options.cur_colour_set, 0);
        EXPECT_EQ(options.cur_level, 0);
        EXPECT_EQ(options.saved_screen, -1);
        EXPECT_EQ(options.unused_1120, 1);
        EXPECT_EQ(options.unused_1124, 0.75f);
        EXPECT_EQ(memcmp(options.colours, kDefaultColourSets, sizeof(options.colours)), 0);
    }
    // A save that never completes, however it is cut off, leaves the old
    // file as it was and loadable.
    void CheckInterruptedSaves(const std::string& path, char (*save)(), rlim_t limit)
    {
        std::string old = ReadFile(path);
        ASSERT_FALSE(old.empty());
        const struct
        {
            const char* name;
            Interruption how;
            int result;
        } cases[] = {
            {"killed during the write", KILLED_WRITING, -SIGXFSZ},
            {"write failed", WRITE_FAILS, 1},
            {"killed at the rename", KILLED_RENAMING, -SIGSYS},
        };
        for (const auto& c : cases)
        {
            SCOPED_TRACE(c.name);
            int result = SaveInChild(save, limit, c.how);
            if (result == NO_SECCOMP)
            {
                printf("no seccomp filters here: \"%s\" not tried\n", c.name);
                continue;
            }
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(ReadFile(path), old);
        }
    }
};

// ---- Options.dat

TEST_F(Files, OptionsFieldsAtTheirOffsets)
{
    options.cur_colour_set = 3;
    options.cur_colour_part = 2;
    options.colours[7][5][2] = 0.25f;
    options.cur_level = 4;
    options.levels[2].cur_puzzle = 42;
    options.levels[3].opened[17] = 1;
    options.keyboard_only = 1;
    options.other_games_index = 7;
    options.power_choice = 3;
    options.saved_screen = int32_t(SCREEN_IN_GAME);
    ASSERT_EQ(OptionsSave(), 1);

    std::string f = ReadFile(DataFile("Options.dat"));
    ASSERT_EQ(f.size(), 1140u);
    EXPECT_EQ(At<float>(f, 0), 1.0f);
    EXPECT_EQ(At<int32_t>(f, 4), 3);
    EXPECT_EQ(At<int32_t>(f, 8), 2);
    EXPECT_EQ(At<float>(f, 12), 0.189f);
    EXPECT_EQ(At<float>(f, 12 + 7 * 72 + 5 * 12 + 8), 0.25f);
    EXPECT_EQ(At<int32_t>(f, 588), 4);
    EXPECT_EQ(At<uint8_t>(f, 592 + 3 * 104 + 17), 1);
    EXPECT_EQ(At<int32_t>(f, 592 + 2 * 104 + 100), 42);
    EXPECT_EQ(At<uint8_t>(f, 1112), 0);
    EXPECT_EQ(At<uint8_t>(f, 1113), 0);
    EXPECT_EQ(At<uint8_t>(f, 1116), 1);
    EXPECT_EQ(At<uint8_t>(f, 1120), 1);
    EXPECT_EQ(At<float>(f, 1124), 0.75f);
    EXPECT_EQ(At<int32_t>(f, 1128), 7);
    EXPECT_EQ(At<int32_t>(f, 1132), 3);
    EXPECT_EQ(At<uint32_t>(f, 1136), SCREEN_IN_GAME);

    Options saved = options;
    OptionsSetDefaults();
    ASSERT_EQ(OptionsLoad(), 1);
    EXPECT_EQ(memcmp(&saved, &options, sizeof(options)), 0);
}

TEST_F(Files, DefaultColourSets)
{
    options.cur_colour_set = 5;
    options.cur_colour_part = 3;
    options.colours[6][3][0] = 0.5f;
    OptionsSetDefaults();
    EXPECT_EQ(options.cur_colour_set, 0);
    EXPECT_EQ(options.cur_colour_part, 0);
    for (int set = 0; set < 8; set++)
        for (int part = 0; part < 6; part++)
            for (int c = 0; c < 3; c++)
                EXPECT_EQ(options.colours[set][part][c], kDefaultColourSets[set][part][c])
                    << "set " << set + 1 << ", part " << part << ", component " << c;
}

TEST_F(Files, MissingOptionsFileGivesDefaultsSilently)
{
    options.cur_level = 3;
    int before = DebugGetNumMessages();
    EXPECT_EQ(OptionsLoad(), 1);
    ExpectDefaultOptions();
    EXPECT_EQ(DebugGetNumMessages(), before);
}

TEST_F(Files, RefusedOptionsFilesGiveDefaults)
{
    OptionsSetDefaults();
    options.cur_level = 2;
    ASSERT_EQ(OptionsSave(), 1);
    const std::string good = ReadFile(DataFile("Options.dat"));
    std::string wrong_version = good;
    Put<float>(&wrong_version, 0, 1.5f);
    struct
    {
        const char* name;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"one byte short", good.substr(0, 1139), "it is 1139 bytes, not 1140"},
        {"one byte long", good + '\0', "it is 1141 bytes, not 1140"},
        {"version 1.5", wrong_version, "its version is 1.5, not 1.0"},
        {"empty", "", "it is 0 bytes, not 1140"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteFile(DataFile("Options.dat"), c.bytes);
        DebugClearLog();
        options.cur_level = 2;
        EXPECT_EQ(OptionsLoad(), 0);
        ExpectDefaultOptions();
        EXPECT_TRUE(Logged("Could not load options file <" + DataFile("Options.dat") + ">: " + c.why));
    }
}

TEST_F(Files, OutOfRangeOptionsAreRepairedOnLoad)
{
    struct
    {
        const char* name;
        size_t offset;
        int32_t stored;
        int32_t want;
    } ints[] = {
        {"level 7", 588, 7, 0},
        {"level -1", 588, -1, 0},
        {"level 4", 588, 4, 4},
        {"level 5", 588, 5, 0},
        {"level 2 puzzle 150", 592 + 2 * 104 + 100, 150, 0},
        {"level 0 puzzle -3", 592 + 100, -3, 0},
        {"level 4 puzzle 99", 592 + 4 * 104 + 100, 99, 99},
        {"colour set 8", 4, 8, 0},
        {"colour set 7", 4, 7, 7},
        {"colour part 6", 8, 6, 0},
        {"colour part -2", 8, -2, 0},
        {"power choice 5", 1132, 5, 0},
        {"power choice 4", 1132, 4, 4},
        {"other games index -9", 1128, -9, 0},
    };
    OptionsSetDefaults();
    ASSERT_EQ(OptionsSave(), 1);
    const std::string good = ReadFile(DataFile("Options.dat"));
    for (const auto& c : ints)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        Put<int32_t>(&bytes, c.offset, c.stored);
        WriteFile(DataFile("Options.dat"), bytes);
        ASSERT_EQ(OptionsLoad(), 1);
        int32_t got;
        memcpy(&got, reinterpret_cast<const char*>(&options) + c.offset, sizeof(got));
        EXPECT_EQ(got, c.want);
    }

    struct
    {
        const char* name;
        uint8_t stored, want;
    } flags[] = {{"off", 0, 0}, {"on", 1, 1}, {"7", 7, 1}};
    for (const auto& c : flags)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        Put<uint8_t>(&bytes, 1116, c.stored);
        WriteFile(DataFile("Options.dat"), bytes);
        ASSERT_EQ(OptionsLoad(), 1);
        EXPECT_EQ(options.keyboard_only, c.want);
    }

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct
    {
        const char* name;
        float stored, want; // want < 0: the set's default
    } colours[] = {
        {"nan", nan, -1},     {"infinity", inf, -1},   {"-infinity", -inf, -1},  {"huge", 3e38f, 1},
        {"above 1", 1.5f, 1}, {"negative", -0.25f, 0}, {"in range", 0.3f, 0.3f},
    };
    for (const auto& c : colours)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        Put<float>(&bytes, 12 + 4 * 72 + 3 * 12 + 1 * 4, c.stored); // set 4, part 3, green
        WriteFile(DataFile("Options.dat"), bytes);
        ASSERT_EQ(OptionsLoad(), 1);
        EXPECT_EQ(options.colours[4][3][1], c.want < 0 ? kDefaultColourSets[4][3][1] : c.want);
    }
}

TEST_F(Files, InterruptedOptionsSaveKeepsTheOldFile)
{
    options.cur_level = 3;
    ASSERT_EQ(OptionsSave(), 1);
    options.cur_level = 1;
    CheckInterruptedSaves(DataFile("Options.dat"), SaveOptions, 512);
    // A temporary file left behind disturbs neither loading nor the next save.
    ASSERT_EQ(OptionsLoad(), 1);
    EXPECT_EQ(options.cur_level, 3);
    options.cur_level = 4;
    ASSERT_EQ(OptionsSave(), 1);
    ASSERT_EQ(OptionsLoad(), 1);
    EXPECT_EQ(options.cur_level, 4);
}

TEST_F(Files, FailedOptionsSaveIsReportedAndKeepsTheRecord)
{
    ASSERT_EQ(mkdir(DataFile("Options.dat").c_str(), 0755), 0);
    WriteFile(DataFile("Options.dat/keep"), "x");
    options.cur_level = 3;
    EXPECT_EQ(OptionsSave(), 0);
    EXPECT_TRUE(Logged("Problem writing to Options File"));
    EXPECT_EQ(options.cur_level, 3);
}

// ---- Saved games

TEST_F(Files, SavedGameFieldsAtTheirOffsets)
{
    options.cur_level = 4;
    options.levels[4].cur_puzzle = 12;
    VizavuInitVars(1);
    int c = 0, r = 0;
    while (board[c][r].given)
        c++;
    cur_sel_col = c;
    cur_sel_row = r;
    cur_sel_set = true;
    VizavuKeyDownCB('6'); // note 6
    eng_key_down[VIZAVU_COMMAND_KEY] = 2;
    VizavuKeyDownCB('2'); // number 2
    ASSERT_EQ(VizavuSaveGame(0), 1);

    std::string f = ReadFile(DataFile("SavedGamesFull412.dat"));
    ASSERT_EQ(f.size(), 195380u);
    EXPECT_EQ(At<uint8_t>(f, 0), 1);
    size_t cell = 1 + size_t(c) * 108 + size_t(r) * 12;
    EXPECT_EQ(At<int8_t>(f, cell), 2);
    EXPECT_EQ(At<uint8_t>(f, cell + 1), 0);
    EXPECT_EQ(At<int32_t>(f, 976), 2);
    size_t undo1 = 980 + 972 + size_t(c) * 108 + size_t(r) * 12; // second undo board: the note
    EXPECT_EQ(At<int8_t>(f, undo1), 0);
    EXPECT_EQ(At<uint8_t>(f, undo1 + 2 + 6), 1);
    // A given cell keeps its flag.
    for (int gc = 0; gc < 9; gc++)
        for (int gr = 0; gr < 9; gr++)
            if (board[gc][gr].given)
            {
                EXPECT_EQ(At<uint8_t>(f, 1 + size_t(gc) * 108 + size_t(gr) * 12 + 1), 1);
                gc = gr = 9;
            }
}

TEST_F(Files, FullUndoListSurvivesARoundTrip)
{
    for (int i = 0; i < VIZAVU_MAX_UNDOS + 5; i++)
    {
        VizavuAddCurrentStateForUndos();
        board[0][0].notes_on[1 + i % 9] = EngUInt8(1 + i % 2);
        board[0][0].number = EngInt8(i % 10);
    }
    ASSERT_EQ(num_undos, VIZAVU_MAX_UNDOS);
    VizavuBoardCells saved_board;
    memcpy(&saved_board, &board, sizeof(board));
    static VizavuBoardCells saved_undos[VIZAVU_MAX_UNDOS];
    memcpy(saved_undos, undo_boards, sizeof(undo_boards));
    ASSERT_EQ(VizavuSaveGame(0), 1);

    VizavuInitVars(1);
    ASSERT_EQ(num_undos, 0);
    EXPECT_EQ(VizavuLoadGame(), 1);
    EXPECT_EQ(num_undos, VIZAVU_MAX_UNDOS);
    EXPECT_EQ(memcmp(&board, &saved_board, sizeof(board)), 0);
    EXPECT_EQ(memcmp(undo_boards, saved_undos, sizeof(undo_boards)), 0);
    EXPECT_EQ(SudukoHasPuzzleBeenStarted(), 1);
}

// A game whose file cannot be written stays in memory: it loads back for its
// own puzzle only, and is written once there is room again, also after the
// player moved on to another puzzle.
TEST_F(Files, AGameThatCouldNotBeWrittenIsKeptUntilItIs)
{
    const std::string path = DataFile("SavedGamesFull00.dat");
    std::string got = vztest::RunInChild(
        [&]
        {
            std::string out;
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit rl;
            getrlimit(RLIMIT_FSIZE, &rl);
            const rlim_t room = rl.rlim_cur;
            auto note_there = [] { return board[0][0].notes_on[3] == 1 && SudukoHasPuzzleBeenStarted(); };
            cur_sel_set = true;
            VizavuKeyDownCB('3');
            rl.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &rl);
            if (VizavuSaveGame(0))
                out += "written past the limit; ";
            if (vztest::FileExists(path))
                out += "a file was left; ";
            options.levels[0].cur_puzzle = 1;
            VizavuInitForNewGame();
            if (SudukoHasPuzzleBeenStarted())
                out += "another puzzle got it; ";
            options.levels[0].cur_puzzle = 0;
            VizavuInitForNewGame();
            if (!note_there())
                out += "not kept; ";
            if (VizavuSaveKeptGames())
                out += "kept games written past the limit; ";

            // Room again, on another puzzle: the exit's write puts it in its file.
            options.levels[0].cur_puzzle = 1;
            VizavuInitForNewGame();
            rl.rlim_cur = room;
            setrlimit(RLIMIT_FSIZE, &rl);
            if (!VizavuSaveKeptGames())
                out += "kept game not written; ";
            VizavuForgetKeptGames();
            options.levels[0].cur_puzzle = 0;
            VizavuInitForNewGame();
            if (!note_there())
                out += "not in its file; ";
            if (!VizavuSaveKeptGames())
                out += "a written game was kept; ";
            return out;
        });
    EXPECT_EQ(got, "");
}

TEST_F(Files, WrongSizeSavedGameIsRefusedWithItsMessage)
{
    cur_sel_set = true;
    VizavuKeyDownCB('3');
    ASSERT_EQ(VizavuSaveGame(0), 1);
    const std::string good = ReadFile(DataFile("SavedGamesFull00.dat"));
    const struct
    {
        std::string bytes;
        const char* why;
    } cases[] = {
        {good.substr(0, good.size() - 1), "it is 195379 bytes, not 195380"},
        {good + '\0', "it is 195381 bytes, not 195380"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.why);
        WriteFile(DataFile("SavedGamesFull00.dat"), c.bytes);
        VizavuInitVars(1);
        DebugClearLog();
        EXPECT_EQ(VizavuLoadGame(), 0);
        EXPECT_EQ(board[0][0].notes_on[3], 0);
        EXPECT_EQ(SudukoHasPuzzleBeenStarted(), 0);
        EXPECT_TRUE(Logged("Could not load saved game <" + DataFile("SavedGamesFull00.dat") + ">: " + c.why));
    }
}

TEST_F(Files, InvalidSavedGamesAreRefusedWithTheirMessage)
{
    VizavuAddCurrentStateForUndos();
    board[0][0].number = 5;
    ASSERT_EQ(VizavuSaveGame(0), 1);
    const std::string good = ReadFile(DataFile("SavedGamesFull00.dat"));
    const size_t undo0 = 980;
    // A clue of the puzzle and an empty cell other than 0,0.
    const char* layout = VizavuGetLayout(0, 0);
    int clue_c = -1, clue_r = -1, empty_c = -1, empty_r = -1;
    for (int i = 0; i < 81; i++)
    {
        int c = i / 9, r = i % 9;
        bool is_clue = VizavuLayoutDigit(layout, c, r) != 0;
        if (is_clue && clue_c < 0)
        {
            clue_c = c;
            clue_r = r;
        }
        else if (!is_clue && i > 0 && empty_c < 0)
        {
            empty_c = c;
            empty_r = r;
        }
    }
    ASSERT_GE(clue_c, 0);
    ASSERT_GE(empty_c, 0);
    const int clue = VizavuLayoutDigit(layout, clue_c, clue_r), other = clue % 9 + 1;
    const size_t clue_at = size_t(clue_c * 108 + clue_r * 12), empty_at = size_t(empty_c * 108 + empty_r * 12);
    auto mismatch = [&](int b, int c, int r, int number, int given, int digit)
    {
        char m[128];
        snprintf(m, sizeof(m), "Cell %d:%d,%d does not match the puzzle (number %d, given %d, clue %d).", b, c, r,
                 number, given, digit);
        return std::string(m);
    };
    struct
    {
        const char* name;
        size_t offset;
        int value; // stored as one byte, or as int32 at 976
        std::string message; // empty: the record loads
    } cases[] = {
        {"started 2", 0, 2, "Bad started value 2."},
        {"num_undos 201", 976, 201, "Bad num_undos value 201."},
        {"num_undos -1", 976, -1, "Bad num_undos value -1."},
        {"given 2", 1 + 1, 2, "Bad orig num 2 at 0:0,0."},
        {"number 10 in the first undo board", undo0 + 3 * 108 + 4 * 12, 10, "Bad num 10 at 1:3,4."},
        {"negative number", 1 + 8 * 108 + 8 * 12, -1, "Bad num -1 at 0:8,8."},
        {"note 3", 1 + 2 + 9, 3, "Bad notes_on[9] 3 at 0:0,0."},
        {"unset note index 0", 1 + 108 + 2, 1, ""},
        {"past num_undos is not examined", undo0 + 972, 99, ""},
        {"a clue replaced", 1 + clue_at, other, mismatch(0, clue_c, clue_r, other, 1, clue)},
        {"a clue no longer given", 1 + clue_at + 1, 0, mismatch(0, clue_c, clue_r, clue, 0, clue)},
        {"an empty cell made a clue", 1 + empty_at + 1, 1, mismatch(0, empty_c, empty_r, 0, 1, 0)},
        {"a clue replaced in the undo board", undo0 + clue_at, other, mismatch(1, clue_c, clue_r, other, 1, clue)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        if (c.offset == 976)
            Put<int32_t>(&bytes, c.offset, c.value);
        else
            Put<int8_t>(&bytes, c.offset, int8_t(c.value));
        WriteFile(DataFile("SavedGamesFull00.dat"), bytes);
        VizavuInitVars(1);
        DebugClearLog();
        if (!c.message.empty())
        {
            EXPECT_EQ(VizavuLoadGame(), 0);
            EXPECT_TRUE(Logged(c.message));
            EXPECT_TRUE(Logged("Puzzle is not valid."));
            EXPECT_EQ(board[0][0].number, 0);
            EXPECT_EQ(num_undos, 0);
            EXPECT_EQ(SudukoHasPuzzleBeenStarted(), 0);
        }
        else
        {
            EXPECT_EQ(VizavuLoadGame(), 1);
            EXPECT_FALSE(Logged("Puzzle is not valid."));
        }
    }
}

TEST_F(Files, StartedFlagFollowsTheBoardAndUndoList)
{
    struct
    {
        const char* name;
        bool change, undo, change_back_by_hand;
        uint8_t want;
    } cases[] = {
        {"untouched", false, false, false, 0},
        {"changed", true, false, false, 1},
        {"changed and undone", true, true, false, 0},
        {"changed back by hand", true, false, true, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        VizavuInitVars(1);
        cur_sel_col = cur_sel_row = 0;
        cur_sel_set = true;
        if (c.change)
            VizavuKeyDownCB('4');
        if (c.undo)
            VizavuKeyDownCB('U');
        if (c.change_back_by_hand)
            VizavuKeyDownCB('4');
        ASSERT_EQ(VizavuSaveGame(0), 1);
        EXPECT_EQ(At<uint8_t>(ReadFile(DataFile("SavedGamesFull00.dat")), 0), c.want);
        EXPECT_EQ(SudukoHasPuzzleBeenStarted(), c.want);
    }
}

TEST_F(Files, PuzzleWithoutSavedGameClearsThePreviousStartedFlag)
{
    cur_sel_set = true;
    VizavuKeyDownCB('4');
    ASSERT_EQ(VizavuSaveGame(0), 1);
    ASSERT_EQ(VizavuInitForNewGame(), 1);
    ASSERT_EQ(SudukoHasPuzzleBeenStarted(), 1);

    options.levels[0].cur_puzzle = 1; // no file
    EXPECT_EQ(VizavuInitForNewGame(), 0);
    EXPECT_EQ(SudukoHasPuzzleBeenStarted(), 0);
}

TEST_F(Files, ResetWritesANotStartedGame)
{
    cur_sel_set = true;
    VizavuKeyDownCB('4');
    VizavuKeyDownCB('5');
    ASSERT_EQ(VizavuSaveGame(0), 1);
    const std::string before = ReadFile(DataFile("SavedGamesFull00.dat"));

    EXPECT_EQ(VizavuResetCurrentGame(), 0);
    std::string f = ReadFile(DataFile("SavedGamesFull00.dat"));
    EXPECT_EQ(At<uint8_t>(f, 0), 0);
    EXPECT_EQ(f.substr(1, 972), std::string(972, '\0'));
    EXPECT_EQ(At<int32_t>(f, 976), 0);
    EXPECT_EQ(f.substr(980), before.substr(980)); // old undo boards kept
    EXPECT_EQ(board[0][0].notes_on[4], 0);
    EXPECT_EQ(num_undos, 0);
}

TEST_F(Files, SavedGameNameUsesTheCheckedLevelAndPuzzle)
{
    struct
    {
        int level, puzzle;
        const char* name;
    } cases[] = {{0, 12, "SavedGamesFull012.dat"},
                 {4, 12, "SavedGamesFull412.dat"},
                 {9, 12, "SavedGamesFull00.dat"},
                 {3, 100, "SavedGamesFull30.dat"}};
    for (const auto& c : cases)
    {
        options.cur_level = c.level;
        if (c.level < 5)
            options.levels[c.level].cur_puzzle = c.puzzle;
        else
            options.levels[0].cur_puzzle = 0;
        ASSERT_EQ(VizavuGetSaveGameFilename(), 1);
        EXPECT_EQ(std::string(save_game_filename), DataFile(c.name));
    }
}

TEST_F(Files, InterruptedGameSaveKeepsTheOldFile)
{
    cur_sel_set = true;
    VizavuKeyDownCB('4');
    ASSERT_EQ(VizavuSaveGame(0), 1);
    VizavuKeyDownCB('5');
    CheckInterruptedSaves(DataFile("SavedGamesFull00.dat"), SaveGame, 100000);
    VizavuInitVars(1);
    ASSERT_EQ(VizavuLoadGame(), 1);
    EXPECT_EQ(board[0][0].notes_on[4], 1);
    EXPECT_EQ(board[0][0].notes_on[5], 0);
}

// ---- Resolution.dat

TEST_F(Files, FirstRunResolutionDefaults)
{
    int before = DebugGetNumMessages();
    EXPECT_EQ(ResolutionLoad(), 0);
    EXPECT_EQ(DebugGetNumMessages(), before);
    ResolutionSetDefaults();
    int w = 0, h = 0;
    EngMiscGetDesktopDimensions(nullptr, nullptr, &w, &h, 0);
    _EngCreateWindowParms* p = MainGetCreateWindowParms();
    EXPECT_EQ(p->windowed, 0);
    EXPECT_EQ(p->width, w);
    EXPECT_EQ(p->height, h);
    EXPECT_EQ(p->bpp, 32);
    EXPECT_EQ(p->frequency, 60);
    EXPECT_EQ(p->aa, 0);
    EXPECT_EQ(resolution.win_width, 1024);
    EXPECT_EQ(resolution.win_height, 768);
    EXPECT_EQ(resolution.win_x, -1);
    EXPECT_EQ(resolution.win_y, -1);
}

TEST_F(Files, ResolutionFieldsAtTheirOffsetsAndRoundTrip)
{
    ResolutionSetDefaults();
    eng_main_window_windowed = 1;
    eng_main_window_width = 800;
    eng_main_window_height = 600;
    eng_main_window_bitdepth = 24;
    eng_main_window_frequency = 75;
    eng_main_window_aa = 2;
    ResolutionUpdateSettingsFromScreen();
    resolution.fs_width = 1280;
    resolution.fs_height = 720;
    resolution.win_x = 30;
    resolution.win_y = 40;
    ASSERT_EQ(ResolutionSave(), 1);

    std::string f = ReadFile(DataFile("Resolution.dat"));
    ASSERT_EQ(f.size(), 60u);
    EXPECT_EQ(At<float>(f, 0), 1.0f);
    EXPECT_EQ(At<uint8_t>(f, 4), 1);
    EXPECT_EQ(At<int32_t>(f, 8), 1280);
    EXPECT_EQ(At<int32_t>(f, 12), 720);
    EXPECT_EQ(At<int32_t>(f, 16), 32);
    EXPECT_EQ(At<int32_t>(f, 20), 800);
    EXPECT_EQ(At<int32_t>(f, 24), 600);
    EXPECT_EQ(At<int32_t>(f, 28), 24);
    EXPECT_EQ(At<int32_t>(f, 32), 30);
    EXPECT_EQ(At<int32_t>(f, 36), 40);
    EXPECT_EQ(At<int32_t>(f, 40), 0);
    EXPECT_EQ(At<int32_t>(f, 44), 2);
    EXPECT_EQ(At<int32_t>(f, 48), 60);
    EXPECT_EQ(At<int32_t>(f, 52), 75);
    EXPECT_EQ(At<uint8_t>(f, 56), 1);
    EXPECT_EQ(At<uint8_t>(f, 57), 1);

    ResolutionSetDefaults();
    ASSERT_EQ(ResolutionLoad(), 1);
    _EngCreateWindowParms* p = MainGetCreateWindowParms();
    EXPECT_EQ(p->windowed, 1);
    EXPECT_EQ(p->width, 800);
    EXPECT_EQ(p->height, 600);
    EXPECT_EQ(p->x, 30);
    EXPECT_EQ(p->y, 40);
    EXPECT_EQ(p->frequency, 75);
    EXPECT_EQ(p->aa, 2);
}

TEST_F(Files, RefusedResolutionFiles)
{
    ResolutionSetDefaults();
    ASSERT_EQ(ResolutionSave(), 1);
    const std::string good = ReadFile(DataFile("Resolution.dat"));
    std::string wrong_version = good;
    Put<float>(&wrong_version, 0, 1.5f);
    const struct
    {
        std::string bytes;
        const char* why;
    } cases[] = {
        {good.substr(0, 59), "it is 59 bytes, not 60"},
        {good + '\0', "it is 61 bytes, not 60"},
        {wrong_version, "its version is 1.5, not 1.0"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.why);
        WriteFile(DataFile("Resolution.dat"), c.bytes);
        DebugClearLog();
        EXPECT_EQ(ResolutionLoad(), 0);
        EXPECT_TRUE(Logged("Could not load resolution file <" + DataFile("Resolution.dat") + ">: " + c.why));
    }
}

TEST_F(Files, StoredWindowedSettingsAreRepaired)
{
    struct
    {
        const char* name;
        uint8_t windowed;
        int32_t w, h, x, y, aa;
        int32_t want_w, want_h, want_x, want_y, want_aa;
        char want_windowed;
    } cases[] = {
        {"valid values stay", 1, 800, 600, 100, 200, 2, 800, 600, 100, 200, 2, 1},
        {"centred stays", 1, 800, 600, -1, -1, 0, 800, 600, -1, -1, 0, 1},
        {"zero width", 1, 0, 600, 10, 10, 0, 1024, 768, 10, 10, 0, 1},
        {"negative height", 1, 800, -5, 10, 10, 0, 1024, 768, 10, 10, 0, 1},
        {"one by one", 1, 1, 1, 10, 10, 0, 320, 240, 10, 10, 0, 1},
        {"too narrow", 1, 300, 900, 10, 10, 0, 320, 900, 10, 10, 0, 1},
        {"narrow and tall stays", 1, 600, 900, 10, 10, 0, 600, 900, 10, 10, 0, 1},
        {"far left", 1, 800, 600, -5000, 10, 0, 800, 600, -1, 10, 0, 1},
        {"far below", 1, 800, 600, 10, 100000, 0, 800, 600, 10, -1, 0, 1},
        {"windowed byte 7", 7, 800, 600, -1, -1, 0, 800, 600, -1, -1, 0, 1},
        {"anti-aliasing 3", 1, 800, 600, -1, -1, 3, 800, 600, -1, -1, 0, 1},
        {"anti-aliasing -1", 1, 800, 600, -1, -1, -1, 800, 600, -1, -1, 0, 1},
    };
    ResolutionSetDefaults();
    ASSERT_EQ(ResolutionSave(), 1);
    const std::string good = ReadFile(DataFile("Resolution.dat"));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        Put<uint8_t>(&bytes, 4, c.windowed);
        Put<int32_t>(&bytes, 20, c.w);
        Put<int32_t>(&bytes, 24, c.h);
        Put<int32_t>(&bytes, 32, c.x);
        Put<int32_t>(&bytes, 36, c.y);
        Put<int32_t>(&bytes, 44, c.aa);
        WriteFile(DataFile("Resolution.dat"), bytes);
        ASSERT_EQ(ResolutionLoad(), 1);
        _EngCreateWindowParms* p = MainGetCreateWindowParms();
        EXPECT_EQ(p->windowed, c.want_windowed);
        EXPECT_EQ(p->width, c.want_w);
        EXPECT_EQ(p->height, c.want_h);
        EXPECT_EQ(p->x, c.want_x);
        EXPECT_EQ(p->y, c.want_y);
        EXPECT_EQ(p->aa, c.want_aa);
        EXPECT_EQ(resolution.windowed, 1);
    }
}

TEST_F(Files, InterruptedResolutionSaveKeepsTheOldFile)
{
    ResolutionSetDefaults();
    resolution.win_width = 900;
    ASSERT_EQ(ResolutionSave(), 1);
    resolution.win_width = 700;
    CheckInterruptedSaves(DataFile("Resolution.dat"), SaveResolution, 16);
    ASSERT_EQ(ResolutionLoad(), 1);
    EXPECT_EQ(resolution.win_width, 900);
}

// ---- Records that are not regular files

char LoadOptions()
{
    return OptionsLoad();
}
char LoadResolution()
{
    return ResolutionLoad();
}
char LoadGame()
{
    return VizavuLoadGame();
}

// A FIFO, a device or a link where a record belongs is refused at once with
// its reason, and the next save puts a regular file in its place, with the
// umask's bits, never writing where a link leads.
TEST_F(Files, RecordsThatAreNotRegularFilesAreRefusedAndReplaced)
{
    struct Record
    {
        const char* name;
        char (*load)();
        char (*save)();
        const char* refusal; // the load's own message after the reason, if any
    } const records[] = {
        {"Options.dat", LoadOptions, SaveOptions, "Could not load options file <"},
        {"Resolution.dat", LoadResolution, SaveResolution, "Could not load resolution file <"},
        {"SavedGamesFull00.dat", LoadGame, SaveGame, nullptr},
    };
    ResolutionSetDefaults();
    cur_sel_set = true;
    VizavuKeyDownCB('4');
    const std::string good = dir.Path() + "/good record";
    struct Kind
    {
        const char* name;
        void (*make)(const std::string& path, const std::string& good);
    } const kinds[] = {
        {"FIFO", [](const std::string& p, const std::string&) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
        {"link to /dev/zero",
         [](const std::string& p, const std::string&) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); }},
        {"link to /dev/null",
         [](const std::string& p, const std::string&) { ASSERT_EQ(symlink("/dev/null", p.c_str()), 0); }},
        {"link to a good record",
         [](const std::string& p, const std::string& g) { ASSERT_EQ(symlink(g.c_str(), p.c_str()), 0); }},
        {"planted temporary link", [](const std::string& p, const std::string& g)
         { ASSERT_EQ(symlink(g.c_str(), (p + ".tmp").c_str()), 0); }},
    };
    for (const Record& r : records)
        for (const Kind& k : kinds)
        {
            SCOPED_TRACE(std::string(r.name) + ", " + k.name);
            const std::string path = DataFile(r.name);
            ASSERT_EQ(r.save(), 1);
            ASSERT_EQ(rename(path.c_str(), good.c_str()), 0);
            const std::string good_bytes = ReadFile(good);
            k.make(path, good);
            const bool refused = strcmp(k.name, "planted temporary link") != 0;
            std::string got = vztest::RunInChild(
                [&]
                {
                    std::string out;
                    DebugClearLog();
                    char loaded = r.load();
                    if (refused && loaded)
                        out += "loaded; ";
                    if (refused && !Logged("Not a regular file <" + path + ">"))
                        out += "no reason logged; ";
                    if (refused && r.refusal && !Logged(r.refusal + path + ">"))
                        out += "no refusal logged; ";
                    umask(077);
                    if (!r.save())
                        out += "not saved; ";
                    struct stat st;
                    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 07777) != 0600)
                        out += "not a new file of mode 0600; ";
                    return out;
                });
            EXPECT_EQ(got, "");
            EXPECT_EQ(ReadFile(good), good_bytes) << "the link's target is untouched";
            struct stat st;
            ASSERT_EQ(lstat(path.c_str(), &st), 0);
            if (S_ISREG(st.st_mode)) // never wait on a FIFO here
            {
                EXPECT_EQ(ReadFile(path).size(), good_bytes.size());
            }
            unlink(path.c_str());
            unlink((path + ".tmp").c_str());
            unlink(good.c_str());
        }
}

} // namespace
