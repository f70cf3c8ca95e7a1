// Play rules: selection, keys, mouse presses on the pads, undo and judging.
#include <string>
#include <unistd.h>

#include "GameTestSupport.h"

using namespace gametest;
using vztest::Logged;

namespace
{
const int KEY_DELETE_AT = 8, KEY_DELETE_BEFORE = 127;
const int KEY_LEFT = 244, KEY_RIGHT = 245, KEY_UP = 246, KEY_DOWN = 247;
const int KEY_PAGE_UP = 248, KEY_PAGE_DOWN = 249, KEY_HOME = 250, KEY_END = 251;

class Rules : public GameTest
{
protected:
    // Level 0 puzzle 0: cell (0, 0) is empty, cell (1, 1) holds a given 8.
    void Select(int c, int r)
    {
        cur_sel_col = c;
        cur_sel_row = r;
        cur_sel_set = true;
    }
    void MoveTo(float x, float y) { VizavuDoMoveMouse(x, y); }
    void MoveToCell(int c, int r) { MoveTo(board_vars[c][r].centre_x, board_vars[c][r].centre_y); }
    void MoveToPad(int pad, int digit)
    {
        const _BoardCellVars& v = side_boards_vars[pad][(digit - 1) % 3][(digit - 1) / 3];
        MoveTo(v.centre_x, v.centre_y);
    }
    // Press, wait, release with the engine clock.
    void Click(double held)
    {
        VizavuMouseButtonPressed(0, 1);
        eng_main_current_time += held;
        VizavuMouseButtonPressed(0, 0);
        eng_main_current_time += 1;
    }
    // Fills every cell with the solution except (0, 0).
    void FillAllButFirstCell(const std::string& solution)
    {
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                if (!board[c][r].given && !(c == 0 && r == 0))
                    board[c][r].number = EngInt8(solution[r * 9 + c] - '0');
    }
    VizavuCell& Cell(int c, int r) { return board[c][r]; }
};

TEST_F(Rules, BoardStartsFromTheTable)
{
    const char* p = VizavuGetLayout(0, 0);
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
        {
            EXPECT_EQ(Cell(c, r).number, p[r * 9 + c] - '0');
            EXPECT_EQ(Cell(c, r).given, p[r * 9 + c] != '0' ? 1 : 0);
        }
    EXPECT_EQ(Cell(1, 1).number, 8);
    EXPECT_EQ(num_undos, 0);
    EXPECT_EQ(puzzle_done, VIZAVU_IN_PROGRESS);
}

TEST_F(Rules, ArrowsClampAndStartFromTheLastSelectedCell)
{
    struct
    {
        int col, row;
        bool selected;
        int key;
        int want_col, want_row;
    } cases[] = {
        {0, 0, true, KEY_LEFT, 0, 0},  {0, 0, true, KEY_UP, 0, 0},   {8, 8, true, KEY_RIGHT, 8, 8},
        {8, 8, true, KEY_DOWN, 8, 8},  {4, 4, true, KEY_LEFT, 3, 4}, {4, 4, true, KEY_RIGHT, 5, 4},
        {4, 4, true, KEY_UP, 4, 3},    {4, 4, true, KEY_DOWN, 4, 5}, {6, 2, false, KEY_RIGHT, 7, 2},
        {0, 8, false, KEY_DOWN, 0, 8},
    };
    for (const auto& c : cases)
    {
        cur_sel_col = c.col;
        cur_sel_row = c.row;
        cur_sel_set = c.selected;
        VizavuKeyDownCB(c.key);
        EXPECT_TRUE(cur_sel_set);
        EXPECT_EQ(cur_sel_col, c.want_col) << c.col << "," << c.row << " key " << c.key;
        EXPECT_EQ(cur_sel_row, c.want_row) << c.col << "," << c.row << " key " << c.key;
    }
    EXPECT_EQ(num_undos, 0);
}

TEST_F(Rules, KeysOnTheSelectedCell)
{
    struct
    {
        const char* name;
        int col, row; // (1, 1) is given
        int number, note_digit, note_value;
        bool command;
        int key;
        int want_number, want_note_digit, want_note_value, want_undos;
    } cases[] = {
        {"digit makes a normal note", 0, 0, 0, 0, 0, false, '5', 0, 5, 1, 1},
        {"digit removes a normal note", 0, 0, 0, 5, 1, false, '5', 0, 5, 0, 1},
        {"digit removes a bold note", 0, 0, 0, 5, 2, false, '5', 0, 5, 0, 1},
        {"digit on a number does nothing", 0, 0, 3, 0, 0, false, '5', 3, 5, 0, 0},
        {"command digit places and clears notes", 0, 0, 0, 2, 2, true, '5', 5, 2, 0, 1},
        {"command digit replaces a number", 0, 0, 3, 0, 0, true, '5', 5, 5, 0, 1},
        {"command same digit does nothing", 0, 0, 5, 0, 0, true, '5', 5, 5, 0, 0},
        {"End is 1", 0, 0, 0, 0, 0, false, KEY_END, 0, 1, 1, 1},
        {"Page Down is 3", 0, 0, 0, 0, 0, false, KEY_PAGE_DOWN, 0, 3, 1, 1},
        {"Home is 7", 0, 0, 0, 0, 0, false, KEY_HOME, 0, 7, 1, 1},
        {"Page Up is 9", 0, 0, 0, 0, 0, false, KEY_PAGE_UP, 0, 9, 1, 1},
        {"command End places 1", 0, 0, 0, 0, 0, true, KEY_END, 1, 1, 0, 1},
        {"digit on a given cell", 1, 1, 8, 0, 0, false, '5', 8, 5, 0, 0},
        {"command digit on a given cell", 1, 1, 8, 0, 0, true, '5', 8, 5, 0, 0},
        {"delete clears number", 0, 0, 4, 0, 0, false, KEY_DELETE_AT, 0, 4, 0, 1},
        {"backspace clears notes", 0, 0, 0, 6, 2, false, KEY_DELETE_BEFORE, 0, 6, 0, 1},
        {"delete on an empty cell", 0, 0, 0, 0, 0, false, KEY_DELETE_AT, 0, 1, 0, 0},
        {"delete on a given cell", 1, 1, 8, 0, 0, false, KEY_DELETE_AT, 8, 1, 0, 0},
        {"other key", 0, 0, 0, 0, 0, false, 'A', 0, 1, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        VizavuInitVars(1);
        VizavuCell& s = Cell(c.col, c.row);
        if (!s.given)
            s.number = EngInt8(c.number);
        if (c.note_digit)
            s.notes_on[c.note_digit] = EngUInt8(c.note_value);
        VizavuCell before = s;
        Select(c.col, c.row);
        eng_key_down[VIZAVU_COMMAND_KEY] = c.command ? 2 : 0;
        VizavuKeyDownCB(c.key);
        EXPECT_EQ(s.number, c.want_number);
        EXPECT_EQ(s.notes_on[c.want_note_digit], c.want_note_value);
        EXPECT_EQ(num_undos, c.want_undos);
        if (c.want_undos)
        {
            EXPECT_EQ(memcmp(&undo_boards[0][c.col][c.row], &before, sizeof(before)), 0);
        }
    }
}

TEST_F(Rules, DigitsWithoutSelectionDoNothing)
{
    cur_sel_set = false;
    eng_key_down[VIZAVU_COMMAND_KEY] = 2;
    VizavuKeyDownCB('5');
    VizavuKeyDownCB(KEY_DELETE_AT);
    EXPECT_EQ(Cell(0, 0).number, 0);
    EXPECT_EQ(num_undos, 0);
}

TEST_F(Rules, UKeyUndoesWithOrWithoutSelection)
{
    Select(0, 0);
    VizavuKeyDownCB('4');
    ASSERT_EQ(Cell(0, 0).notes_on[4], 1);
    cur_sel_set = false;
    VizavuKeyDownCB('U');
    EXPECT_EQ(Cell(0, 0).notes_on[4], 0);
    EXPECT_EQ(num_undos, 0);
    EXPECT_FALSE(cur_sel_set);

    VizavuBoardCells before;
    memcpy(&before, &board, sizeof(board));
    VizavuKeyDownCB('U'); // empty list
    EXPECT_EQ(memcmp(&before, &board, sizeof(board)), 0);
    EXPECT_EQ(num_undos, 0);
}

TEST_F(Rules, ReleaseOverACellSelectsIt)
{
    MoveToCell(3, 5);
    Click(0.1);
    EXPECT_TRUE(cur_sel_set);
    EXPECT_EQ(cur_sel_col, 3);
    EXPECT_EQ(cur_sel_row, 5);
    EXPECT_EQ(num_undos, 0);
}

TEST_F(Rules, NotePadPressLength)
{
    struct
    {
        const char* name;
        int before;
        double held;
        int after;
    } cases[] = {
        {"short on absent", 0, 0.1, 1}, {"long on absent", 0, 0.5, 2}, {"short on normal", 1, 0.1, 0},
        {"long on normal", 1, 0.5, 2},  {"short on bold", 2, 0.1, 0},  {"long on bold", 2, 0.5, 0},
        // Either side of the long press's 0.35 s.
        {"0.345 s on absent", 0, 0.345, 1}, {"0.355 s on absent", 0, 0.355, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        VizavuInitVars(1);
        Select(0, 0);
        Cell(0, 0).notes_on[6] = EngUInt8(c.before);
        MoveToPad(BOARD_PAD_NOTES, 6);
        Click(c.held);
        EXPECT_EQ(Cell(0, 0).notes_on[6], c.after);
        EXPECT_EQ(num_undos, 1);
    }
}

TEST_F(Rules, NumberPadPlacesAndTogglesOff)
{
    Select(0, 0);
    Cell(0, 0).notes_on[2] = 1;
    MoveToPad(BOARD_PAD_NUMBERS, 7);
    Click(0.1);
    EXPECT_EQ(Cell(0, 0).number, 7);
    EXPECT_EQ(Cell(0, 0).notes_on[2], 0);

    Cell(0, 0).notes_on[3] = 1; // kept when the same digit empties the cell
    Click(0.1);
    EXPECT_EQ(Cell(0, 0).number, 0);
    EXPECT_EQ(Cell(0, 0).notes_on[3], 1);
    EXPECT_EQ(num_undos, 2);
}

TEST_F(Rules, PadsLeaveGivenAndFilledCellsAlone)
{
    Select(1, 1);
    MoveToPad(BOARD_PAD_NUMBERS, 3);
    Click(0.1);
    MoveToPad(BOARD_PAD_NOTES, 3);
    Click(0.1);
    EXPECT_EQ(Cell(1, 1).number, 8);
    EXPECT_EQ(Cell(1, 1).notes_on[3], 0);
    EXPECT_EQ(num_undos, 2); // every release off the board pushes
}

TEST_F(Rules, ReleaseOffBoardAddsOneIdenticalUndo)
{
    Select(0, 0);
    MoveTo(2, 2);
    VizavuBoardCells before;
    memcpy(&before, &board, sizeof(board));
    Click(0.1);
    EXPECT_EQ(num_undos, 1);
    VizavuUndo();
    EXPECT_EQ(memcmp(&before, &board, sizeof(board)), 0);
}

TEST_F(Rules, ReleasesThatDoNothing)
{
    struct
    {
        const char* name;
        bool press_first;
        char button;
        bool selected;
        bool keyboard_only;
    } cases[] = {
        {"release without a press", false, 0, true, false},
        {"right button", true, 1, true, false},
        {"no cell selected", true, 0, false, false},
        {"keyboard only", true, 0, true, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        VizavuInitVars(1);
        options.keyboard_only = c.keyboard_only;
        BoardInitDimensions();
        if (c.selected)
            Select(0, 0);
        MoveToPad(BOARD_PAD_NUMBERS, 4);
        if (c.press_first)
            VizavuMouseButtonPressed(c.button, 1);
        eng_main_current_time += 0.5;
        VizavuMouseButtonPressed(c.button, 0);
        EXPECT_EQ(Cell(0, 0).number, 0);
        EXPECT_EQ(num_undos, 0);
        options.keyboard_only = 0;
    }
}

TEST_F(Rules, PressTimeIsKeptUntilRelease)
{
    Select(0, 0);
    MoveToPad(BOARD_PAD_NOTES, 1);
    VizavuMouseButtonPressed(0, 1);
    eng_main_current_time += 0.3;
    VizavuMouseButtonPressed(0, 1); // a second press does not restart the timer
    eng_main_current_time += 0.1;
    VizavuMouseButtonPressed(0, 0);
    EXPECT_EQ(Cell(0, 0).notes_on[1], 2);
    EXPECT_EQ(key_start_press_time[VIZAVU_MOUSE_LEFT_KEY], 0);
}

TEST_F(Rules, PressAtClockZeroStillCounts)
{
    eng_main_current_time = 0;
    Select(0, 0);
    MoveToPad(BOARD_PAD_NOTES, 2);
    Click(0.5);
    EXPECT_EQ(Cell(0, 0).notes_on[2], 2);
}

TEST_F(Rules, DoubleClickLeavesOnlyOffTheBoardAndPads)
{
    struct
    {
        const char* name;
        int where; // 0 cell, 1 number pad, 2 empty area
        bool keyboard_only;
        char taken;
    } cases[] = {
        {"cell", 0, false, 0},
        {"pad", 1, false, 0},
        {"empty area", 2, false, 1},
        {"hidden pad with keyboard only", 1, true, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        unlink(DataFile("SavedGamesFull00.dat").c_str());
        options.keyboard_only = 0;
        BoardInitDimensions();
        if (c.where == 0)
            MoveToCell(2, 2);
        else if (c.where == 1)
            MoveToPad(BOARD_PAD_NUMBERS, 5);
        else
            MoveTo(1, 1);
        options.keyboard_only = c.keyboard_only;
        EXPECT_EQ(VizavuMouseButtonDoubleClicked(0), c.taken);
        // Leaving the puzzle saves it.
        EXPECT_EQ(vztest::FileExists(DataFile("SavedGamesFull00.dat")), c.taken == 1);
    }
    options.keyboard_only = 0;
    EXPECT_EQ(VizavuMouseButtonDoubleClicked(1), 0);
}

TEST_F(Rules, UndoListDropsTheOldestAndRestoresInOrder)
{
    // State i is encoded in the numbers of three cells.
    auto set_state = [](int i)
    {
        board[0][0].number = EngInt8(i / 100);
        board[0][1].number = EngInt8(i / 10 % 10);
        board[0][2].number = EngInt8(i % 10);
    };
    auto state_of = [](const VizavuBoardCells& b)
    { return b[0][0].number * 100 + b[0][1].number * 10 + b[0][2].number; };
    set_state(0);
    for (int i = 0; i <= 200; i++)
    {
        VizavuAddCurrentStateForUndos();
        set_state(i + 1);
    }
    ASSERT_EQ(num_undos, VIZAVU_MAX_UNDOS);
    EXPECT_EQ(state_of(undo_boards[0]), 1);
    EXPECT_EQ(state_of(undo_boards[199]), 200);
    for (int i = 0; i < 200; i++)
        VizavuUndo();
    EXPECT_EQ(num_undos, 0);
    EXPECT_EQ(state_of(board), 1);
    EXPECT_FALSE(VizavuCanUndo());
    VizavuUndo();
    EXPECT_EQ(state_of(board), 1);
}

TEST_F(Rules, NegativeUndoCountIsRefused)
{
    num_undos = -1;
    VizavuAddCurrentStateForUndos();
    EXPECT_EQ(num_undos, -1);
    EXPECT_TRUE(Logged("Internal Error"));
    num_undos = 0;
}

TEST_F(Rules, Judging)
{
    std::string solution = Solve(VizavuGetLayout(0, 0));
    ASSERT_EQ(solution.size(), 81u);
    int right = solution[0] - '0';
    int wrong = right % 9 + 1;
    struct
    {
        const char* name;
        int first_cell; // number put into (0, 0)
        EngUInt8 want;
    } cases[] = {
        {"one empty cell", 0, VIZAVU_IN_PROGRESS},        {"valid full grid", right, VIZAVU_SOLVED},
        {"one repeated digit", wrong, VIZAVU_FULL_WRONG}, {"corrected", right, VIZAVU_SOLVED},
        {"emptied again", 0, VIZAVU_IN_PROGRESS},
    };
    VizavuInitVars(1);
    FillAllButFirstCell(solution);
    Select(0, 0);
    eng_key_down[VIZAVU_COMMAND_KEY] = 2;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.first_cell)
            VizavuKeyDownCB('0' + c.first_cell);
        else
            VizavuKeyDownCB(KEY_DELETE_AT);
        EXPECT_EQ(Cell(0, 0).number, c.first_cell);
        EXPECT_EQ(puzzle_done, c.want);
        EXPECT_EQ(VizavuIsSolved(), c.want == VIZAVU_SOLVED);
    }
}

TEST_F(Rules, JudgingIgnoresNotesAndGivenFlags)
{
    std::string solution = Solve(VizavuGetLayout(0, 0));
    VizavuInitVars(1);
    FillAllButFirstCell(solution);
    Cell(0, 0).number = EngInt8(solution[0] - '0');
    Cell(0, 0).notes_on[4] = 2;
    Cell(4, 4).given = 0;
    VizavuCheckState();
    EXPECT_EQ(puzzle_done, VIZAVU_SOLVED);
    // The given 8 of (1, 1) repeated in its box.
    Cell(0, 0).number = EngInt8(solution[1 * 9 + 1] - '0');
    VizavuCheckState();
    EXPECT_EQ(puzzle_done, VIZAVU_FULL_WRONG);
}

TEST_F(Rules, UndoJudgesTheRestoredBoard)
{
    std::string solution = Solve(VizavuGetLayout(0, 0));
    FillAllButFirstCell(solution);
    Select(0, 0);
    eng_key_down[VIZAVU_COMMAND_KEY] = 2;
    VizavuKeyDownCB(solution[0]);
    ASSERT_EQ(puzzle_done, VIZAVU_SOLVED);
    VizavuKeyDownCB('U');
    EXPECT_EQ(puzzle_done, VIZAVU_IN_PROGRESS);
}

TEST_F(Rules, StoredLevelAndPuzzleOutOfRangeStartFromTheFirst)
{
    struct
    {
        int level, puzzle;
        int want_level, want_puzzle;
    } cases[] = {{7, 5, 0, 0}, {-1, 5, 0, 0}, {2, 150, 2, 0}, {3, -4, 3, 0}, {4, 99, 4, 99}};
    for (const auto& c : cases)
    {
        OptionsSetDefaults();
        options.cur_level = c.level;
        if (c.level >= 0 && c.level < 5)
            options.levels[c.level].cur_puzzle = c.puzzle;
        else
            options.levels[0].cur_puzzle = 0;
        VizavuInitVars(1);
        EXPECT_EQ(options.cur_level, c.want_level);
        EXPECT_EQ(options.levels[c.want_level].cur_puzzle, c.want_puzzle);
        const char* p = VizavuGetLayout(c.want_level, c.want_puzzle);
        EXPECT_EQ(board[8][8].number, p[80] - '0') << c.level << "," << c.puzzle;
    }
}

} // namespace
