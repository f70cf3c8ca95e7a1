// A puzzle in play: board, input rules, undo list and judging.
#include "Vizavu.h"

#include <cstring>

#include "Board.h"
#include "EngDebug.h"
#include "EngProgram.h"
#include "GameHooks.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "Game.h"
#include "Options.h"
#include "VizavuBoard.h"
#include "VizavuSave.h"

const char* const level_strs[VIZAVU_NUM_LEVELS] = {"Easy", "Medium", "Hard", "Extreme", "Master"};
const char* const level_text_strs[VIZAVU_NUM_LEVELS] = {"Easy Level", "Medium Level", "Hard Level",
                                                        "Extreme Level", "Master Level"};

VizavuBoardCells board;
EngUInt8 puzzle_done = VIZAVU_IN_PROGRESS;
VizavuBoardCells undo_boards[VIZAVU_MAX_UNDOS];
int num_undos = 0;

bool cur_sel_set = false;
int cur_sel_col = 0, cur_sel_row = 0;
int board_cursor_col = -1, board_cursor_row = -1;
int sel_part_col[2] = {-1, -1}, sel_part_row[2] = {-1, -1};
float cursor_x = 0, cursor_y = 0;
double key_start_press_time[256];
double last_wheel_msg_time = 0;

namespace
{
const int KEY_DELETE_AT = 8;
const int KEY_DELETE_BEFORE = 127;
const int KEY_LEFT = 244, KEY_RIGHT = 245, KEY_UP = 246, KEY_DOWN = 247;
const int KEY_PAGE_UP = 248, KEY_PAGE_DOWN = 249, KEY_HOME = 250, KEY_END = 251;

int Clamp8(int v)
{
    return v < 0 ? 0 : (v > 8 ? 8 : v);
}

void ClearNotes(VizavuCell* cell)
{
    memset(cell->notes_on, 0, sizeof(cell->notes_on));
}

bool HasNotes(const VizavuCell& cell)
{
    for (int d = 0; d < 10; d++)
        if (cell.notes_on[d])
            return true;
    return false;
}

bool Inside(const _BoardCellVars& v, float x, float y)
{
    return x >= v.x && x < v.right && y >= v.y && y < v.bottom;
}

// Double taps. The game's window reports every click as a press and a
// release, each with the platform's count of quick clicks in a row; a second
// click whose press, and the press before it, fell on an empty area is a
// double tap, taken on its release once that release has done what every
// release does.
int empty_press_clicks = 0; // count of the last press in play on an empty area, else 0
bool double_tap = false;    // the press being held completes a double tap

// Neither a cell nor, unless they are hidden, a pad button is under the mouse.
bool OnEmptyArea()
{
    if (board_cursor_col >= 0 && board_cursor_row >= 0)
        return false;
    return options.keyboard_only || (sel_part_col[0] < 0 && sel_part_col[1] < 0);
}

int PlatformClicks()
{
    return eng_main_window ? eng_main_window->GetMouseClicks() : 1;
}
} // namespace

const char* VizavuGetLayout(int level, int puzzle)
{
    if (level < 0 || level >= VIZAVU_NUM_LEVELS || puzzle < 0 || puzzle >= VIZAVU_NUM_PUZZLES)
        return nullptr;
    return &layouts[level * VIZAVU_NUM_PUZZLES * VIZAVU_PUZZLE_SIZE + puzzle * VIZAVU_PUZZLE_SIZE];
}

int VizavuLayoutDigit(const char* layout, int c, int r)
{
    char ch = layout[r * 9 + c];
    return (ch >= '1' && ch <= '9') ? ch - '0' : 0;
}

void VizavuInitVars(char reset)
{
    if (reset)
    {
        VizavuMakeLevelAndPuzzleValid();
        const char* p = VizavuGetLayout(options.cur_level, options.levels[options.cur_level].cur_puzzle);
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
            {
                VizavuCell* cell = &board[c][r];
                cell->number = EngInt8(VizavuLayoutDigit(p, c, r));
                cell->given = cell->number > 0 ? 1 : 0;
                ClearNotes(cell);
            }
        puzzle_done = VIZAVU_IN_PROGRESS;
        num_undos = 0;
        InGameControlActivateUndoButton();
    }
    VizavuInitDimensions();
    board_cursor_col = board_cursor_row = -1;
    for (int k = 0; k < 2; k++)
        sel_part_col[k] = sel_part_row[k] = -1;
    cur_sel_set = false;
    for (double& t : key_start_press_time)
        t = 0;
    empty_press_clicks = 0;
    double_tap = false;
}

char VizavuPre3dInit()
{
    VizavuInitVars(1);
    return 1;
}

char VizavuInitForNewGame()
{
    VizavuInitVars(1);
    return VizavuLoadGame();
}

void VizavuTick() {}
void VizavuPost3dExit() {}

void VizavuMoveMouse(int x, int y)
{
    VizavuDoMoveMouse(float(x) * eng_main_window_x_ratio_inv, float(y) * eng_main_window_y_ratio_inv);
}

void VizavuMoveMouse(float x, float y)
{
    VizavuDoMoveMouse(x * eng_main_window_x_ratio_inv, y * eng_main_window_y_ratio_inv);
}

void VizavuDoMoveMouse(float x, float y)
{
    cursor_x = x;
    cursor_y = y;
    board_cursor_col = board_cursor_row = -1;
    for (int k = 0; k < 2; k++)
        sel_part_col[k] = sel_part_row[k] = -1;
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
            if (Inside(board_vars[c][r], x, y))
            {
                board_cursor_col = c;
                board_cursor_row = r;
            }
    for (int k = 0; k < 2; k++)
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                if (Inside(side_boards_vars[k][i][j], x, y))
                {
                    sel_part_col[k] = i;
                    sel_part_row[k] = j;
                }
}

// The left button as a single click: the press starts the timing, the
// release acts on what is under the mouse.
static void LeftButtonPressed(char pressed)
{
    double& press_time = key_start_press_time[VIZAVU_MOUSE_LEFT_KEY];
    if (pressed)
    {
        // 0 means "not pressed", so a press at clock 0 is stored just above it.
        if (press_time == 0)
            press_time = eng_main_current_time > 0 ? eng_main_current_time : 1e-9;
        return;
    }
    // A release without a recorded press (pressed elsewhere, or before play) is ignored.
    if (press_time == 0)
        return;
    bool long_press = eng_main_current_time - press_time >= VIZAVU_LONG_PRESS_TIME;
    press_time = 0;

    if (board_cursor_col >= 0 && board_cursor_row >= 0)
    {
        if (!(cur_sel_set && cur_sel_col == board_cursor_col && cur_sel_row == board_cursor_row))
        {
            cur_sel_col = board_cursor_col;
            cur_sel_row = board_cursor_row;
            cur_sel_set = true;
        }
        return;
    }
    if (options.keyboard_only || !cur_sel_set)
        return;

    VizavuAddCurrentStateForUndos();
    VizavuCell* s = &board[cur_sel_col][cur_sel_row];
    if (sel_part_col[BOARD_PAD_NUMBERS] >= 0 && sel_part_row[BOARD_PAD_NUMBERS] >= 0)
    {
        int d = sel_part_col[BOARD_PAD_NUMBERS] + 3 * sel_part_row[BOARD_PAD_NUMBERS] + 1;
        if (!s->given)
        {
            if (s->number == d)
                s->number = 0;
            else
            {
                s->number = EngInt8(d);
                ClearNotes(s);
                const _BoardCellVars& v = board_vars[cur_sel_col][cur_sel_row];
                _Vector3d pos = {v.centre_x / 320.0f - 1.0f, v.centre_y / 240.0f - 1.0f, 0};
                _Vector3d scale = {1.3f, 2.2f, 1.0f};
                EffectsDoPlace(&pos, &scale);
            }
        }
        VizavuCheckState();
    }
    if (sel_part_col[BOARD_PAD_NOTES] >= 0 && sel_part_row[BOARD_PAD_NOTES] >= 0)
    {
        int d = sel_part_col[BOARD_PAD_NOTES] + 3 * sel_part_row[BOARD_PAD_NOTES] + 1;
        if (s->number == 0)
        {
            EngUInt8& n = s->notes_on[d];
            if (n == 1)
                n = long_press ? 2 : 0;
            else if (n == 2)
                n = 0;
            else
                n = long_press ? 2 : 1;
        }
        VizavuCheckState();
    }
}

void VizavuMouseButtonPressed(char button, char pressed)
{
    if (button != 0)
        return;
    int clicks = PlatformClicks();
    if (pressed)
    {
        bool empty = OnEmptyArea();
        double_tap = empty && clicks >= 2 && empty_press_clicks == clicks - 1;
        empty_press_clicks = empty ? clicks : 0;
        LeftButtonPressed(1);
        return;
    }
    bool leave = double_tap && clicks >= 2;
    double_tap = false;
    LeftButtonPressed(0);
    if (leave)
        VizavuMouseButtonDoubleClicked(0);
}

char VizavuMouseButtonDoubleClicked(char button)
{
    if (button != 0 || !OnEmptyArea())
        return 0;
    InGameMenuCB();
    return 1;
}

void VizavuKeyDownCB(int key)
{
    if (key >= KEY_LEFT && key <= KEY_DOWN)
    {
        int c = cur_sel_col, r = cur_sel_row;
        if (key == KEY_LEFT)
            c--;
        else if (key == KEY_RIGHT)
            c++;
        else if (key == KEY_UP)
            r--;
        else
            r++;
        cur_sel_col = Clamp8(c);
        cur_sel_row = Clamp8(r);
        cur_sel_set = true;
        return;
    }
    if (cur_sel_set)
    {
        VizavuCell* s = &board[Clamp8(cur_sel_col)][Clamp8(cur_sel_row)];
        if (key == KEY_DELETE_AT || key == KEY_DELETE_BEFORE)
        {
            if (!s->given && (s->number > 0 || HasNotes(*s)))
            {
                VizavuAddCurrentStateForUndos();
                s->number = 0;
                ClearNotes(s);
                VizavuCheckState();
            }
        }
        int k = key;
        if (k == KEY_END)
            k = '1';
        else if (k == KEY_PAGE_DOWN)
            k = '3';
        else if (k == KEY_HOME)
            k = '7';
        else if (k == KEY_PAGE_UP)
            k = '9';
        if (k >= '1' && k <= '9' && !s->given)
        {
            int d = k - '0';
            if (eng_key_down[VIZAVU_COMMAND_KEY])
            {
                if (s->number != d)
                {
                    VizavuAddCurrentStateForUndos();
                    s->number = EngInt8(d);
                    ClearNotes(s);
                    VizavuCheckState();
                }
            }
            else if (s->number == 0)
            {
                VizavuAddCurrentStateForUndos();
                s->notes_on[d] = s->notes_on[d] ? 0 : 1;
                VizavuCheckState();
            }
        }
    }
    if (key == 'U')
        VizavuUndo();
}

void VizavuMouseWheelMoved(int)
{
    if (eng_main_current_time - last_wheel_msg_time >= 0.05 || eng_main_current_time < last_wheel_msg_time)
        last_wheel_msg_time = eng_main_current_time;
}

void VizavuAddCurrentStateForUndos()
{
    if (num_undos < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return;
    }
    if (num_undos >= VIZAVU_MAX_UNDOS)
    {
        memmove(&undo_boards[0], &undo_boards[1], sizeof(VizavuBoardCells) * (VIZAVU_MAX_UNDOS - 1));
        num_undos = VIZAVU_MAX_UNDOS - 1;
    }
    memcpy(&undo_boards[num_undos], &board, sizeof(VizavuBoardCells));
    num_undos++;
    InGameControlActivateUndoButton();
}

char VizavuUndo()
{
    if (num_undos > 0)
    {
        if (num_undos > VIZAVU_MAX_UNDOS)
            num_undos = VIZAVU_MAX_UNDOS;
        memcpy(&board, &undo_boards[num_undos - 1], sizeof(VizavuBoardCells));
        num_undos--;
        InGameControlActivateUndoButton();
        VizavuCheckState();
    }
    return 0;
}

bool VizavuCanUndo()
{
    return num_undos > 0;
}

void VizavuResetUndos()
{
    num_undos = 0;
    InGameControlActivateUndoButton();
}

void VizavuCheckState()
{
    VizavuBoard* b = VizavuBoard::Create();
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return;
    }
    b->setRecordHistory(true);
    b->setLogHistory(false);
    b->setPrintStyle(VizavuBoard::COMPACT);
    int values[81];
    bool any_empty = false;
    for (int r = 0; r < 9; r++)
        for (int c = 0; c < 9; c++)
        {
            int n = board[c][r].number;
            if (n < 1 || n > 9)
            {
                n = 0;
                any_empty = true;
            }
            values[r * 9 + c] = n;
        }
    bool solved = b->setPuzzle(values) && b->isSolved();
    if (solved)
        puzzle_done = VIZAVU_SOLVED;
    else
        puzzle_done = any_empty ? VIZAVU_IN_PROGRESS : VIZAVU_FULL_WRONG;
    delete b;
}

bool VizavuIsSolved()
{
    return puzzle_done == VIZAVU_SOLVED;
}

char VizavuGetPuzzle(char level, int* out)
{
    VizavuBoard* b = VizavuBoard::Create();
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return 0;
    }
    VizavuBoard::Difficulty wish;
    switch (level)
    {
    case 0:
        wish = VizavuBoard::SIMPLE;
        break;
    case 1:
    case 2:
        wish = VizavuBoard::EASY;
        break;
    case 3:
        wish = VizavuBoard::INTERMEDIATE;
        break;
    case 4:
        wish = VizavuBoard::EXPERT;
        break;
    default:
        wish = VizavuBoard::UNKNOWN;
        break;
    }
    b->setRecordHistory(true);
    b->setLogHistory(false);
    b->setPrintStyle(VizavuBoard::READABLE);
    for (int tries = 0; tries < 1000; tries++)
    {
        if (!b->generatePuzzle())
            continue;
        b->solve();
        if (wish != VizavuBoard::UNKNOWN && b->getDifficulty() != wish)
            continue;
        if (wish == VizavuBoard::EASY)
        {
            int hidden = b->getHiddenSingleCount();
            if (level == 1 && hidden > 2)
                continue;
            if (level == 2 && hidden <= 2)
                continue;
        }
        if (out)
        {
            const int* p = b->getPuzzle();
            for (int i = 0; i < 81; i++)
                out[i] = p[i];
        }
        delete b;
        return 1;
    }
    delete b;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get puzzle");
    return 0;
}
