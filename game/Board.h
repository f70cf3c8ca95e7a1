// Board layout: where the board, its boxes and cells, the note positions and
// the two pads lie in the 640 x 480 space; the colour-part hit test.
#pragma once

#include "EngTypes.h"

// Indices into board_dimensions.
#define BOARD_DIM_BOARD 0
#define BOARD_DIM_NUMBER_PAD 1
#define BOARD_DIM_NOTE_PAD 2
#define BOARD_DIM_FIRST_BOX 3
#define BOARD_NUM_DIMENSIONS 12

// Pads.
#define BOARD_PAD_NUMBERS 0
#define BOARD_PAD_NOTES 1

struct _BoardCellVars
{
    float x, y, width, height;
    float right, bottom;
    float centre_x, centre_y;
    _Vector2d note_pos[10]; // by digit, index 0 unused
    EngInt32 digit;         // pad button's digit, 0 for board cells
};

extern _Dimension board_dimensions[BOARD_NUM_DIMENSIONS];
// The main menu and colour screen presets take their frame's area when those screens start.
extern _Dimension board_dimensions_main[BOARD_NUM_DIMENSIONS];
extern _Dimension board_dimensions_graphics[BOARD_NUM_DIMENSIONS];
extern const _Dimension board_dimensions_no_mouse[BOARD_NUM_DIMENSIONS];
extern const _Dimension board_dimensions_norm_port[BOARD_NUM_DIMENSIONS];
extern const _Dimension board_dimensions_norm[BOARD_NUM_DIMENSIONS];

// First index the column.
extern _BoardCellVars board_vars[9][9];
// Per pad, first index the grid column.
extern _BoardCellVars side_boards_vars[2][3][3];

extern const _Vector2d font_scale;
extern const float font_small_scale_mult;
extern _Vector2d font_main_scale, font_small_scale;
extern float borders_size;

// Clears hover and selection, computes the font scales, then the layout.
void VizavuInitDimensions();
void BoardInitDimensions();
// Makes inner square in window pixels and centres it in outer.
void BoardMakeDimensionsSquare(const _Dimension* outer, _Dimension* inner);
// The colour part under the last mouse position: 0 none, 1 board, 2 lines,
// 3 puzzle numbers, 4 placed numbers, 5 notes.
int BoardGetColourPartFromMousePress();
