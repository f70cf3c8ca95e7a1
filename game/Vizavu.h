// A puzzle in play: the puzzle table, the board with its notes, selection,
// mouse and key rules, the undo list and judging.
#pragma once

#include <cstddef>

#include "EngTypes.h"

#define VIZAVU_NUM_LEVELS 5
#define VIZAVU_NUM_PUZZLES 100
#define VIZAVU_PUZZLE_SIZE 82
#define VIZAVU_MAX_UNDOS 200
#define VIZAVU_LONG_PRESS_TIME 0.35
#define VIZAVU_MOUSE_LEFT_KEY 253
#define VIZAVU_COMMAND_KEY 231

// Judging results.
#define VIZAVU_IN_PROGRESS 0
#define VIZAVU_SOLVED 1
#define VIZAVU_FULL_WRONG 2

struct VizavuCell
{
    EngInt8 number;       // 0 empty, 1-9
    EngUInt8 given;       // 1 when the digit comes from the puzzle
    EngUInt8 notes_on[10]; // by digit: 0 none, 1 normal, 2 bold
};
static_assert(sizeof(VizavuCell) == 12, "cell size");
static_assert(offsetof(VizavuCell, notes_on) == 2, "cell layout");

// First index the column, second the row.
typedef VizavuCell VizavuBoardCells[9][9];
static_assert(sizeof(VizavuBoardCells) == 972, "board size");

extern const char layouts[VIZAVU_NUM_LEVELS * VIZAVU_NUM_PUZZLES * VIZAVU_PUZZLE_SIZE];
extern const char* const level_strs[VIZAVU_NUM_LEVELS];
extern const char* const level_text_strs[VIZAVU_NUM_LEVELS];

extern VizavuBoardCells board;
extern EngUInt8 puzzle_done;
extern VizavuBoardCells undo_boards[VIZAVU_MAX_UNDOS];
extern int num_undos;

extern bool cur_sel_set;
extern int cur_sel_col, cur_sel_row;
extern int board_cursor_col, board_cursor_row;
extern int sel_part_col[2], sel_part_row[2];
extern float cursor_x, cursor_y;
extern double key_start_press_time[256];
extern double last_wheel_msg_time;

// The 81 characters of a puzzle, or null outside 0-4 / 0-99.
const char* VizavuGetLayout(int level, int puzzle);
// The clue of column c, row r in a layout: 1-9, or 0 for an empty cell.
int VizavuLayoutDigit(const char* layout, int c, int r);

void VizavuInitVars(char reset);
char VizavuPre3dInit();
char VizavuInitForNewGame();
void VizavuTick();
void VizavuPost3dExit();

void VizavuMoveMouse(int x, int y);
void VizavuMoveMouse(float x, float y);
void VizavuDoMoveMouse(float x, float y);
void VizavuMouseButtonPressed(char button, char pressed);
char VizavuMouseButtonDoubleClicked(char button);
void VizavuKeyDownCB(int key);
void VizavuMouseWheelMoved(int delta);

void VizavuAddCurrentStateForUndos();
char VizavuUndo();
bool VizavuCanUndo();
void VizavuResetUndos();

void VizavuCheckState();
bool VizavuIsSolved();

// Generates a puzzle of the level's difficulty into out (81 values); 1 on success.
char VizavuGetPuzzle(char level, int* out);
