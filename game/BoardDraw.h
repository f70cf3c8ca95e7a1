// Board drawing: tinted board pictures, text colours, the board, notes,
// numbers, pads, selection highlight and the solved or wrong mark.
#pragma once

#include "Board.h"
#include "EngTexture.h"
#include "EngTypes.h"

extern EngTexture s_board_tex;
extern EngTexture s_borders_tex[8];
extern EngTexture s_num_sel_tex[2];
extern EngTexture s_check_tex[2];
extern EngTexture s_high2_tex;
extern bool bg_dark;

extern _ColourRGBA font_orig_col, font_main_col, font_small_norm_col, font_small_bold_col;

char VizavuCreateGraphics();
void VizavuDestroyGraphics();
char BoardCreateGraphics();
void BoardDestroyGraphics();
char BoardUpdateBoardBgColour();
char BoardUpdateNumbersBgColour();
char BoardUpdateNotesBgColour();
// Tints the 32-bit mask file with the current Board and Lines colours.
char BoardSetBoardBgColours(const char* file, EngTexture* texture, char unused);
// Pure tint of one pixel buffer (BGRA, 4 bytes a pixel) with colour a over b.
void BoardTintPixels(unsigned char* pixels, long count, const float a[3], const float b[3]);
bool BoardIsColourDark(const float colour[3]);
void BoardUpdateTexturePositions();

void VizavuUpdateOrigTextColour();
void VizavuUpdateNormTextColour();
void VizavuUpdateNoteTextColour();

void SudoukSetFontScale(_Vector2d* scale);
// mode 0 main-menu preview, 1 play, 2 colour-screen preview.
void BoardRenderBoard(char mode);
void BoardRenderBoardNumber(int digit, _BoardCellVars* cell);
void VizavuRender();
