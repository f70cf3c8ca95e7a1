// Board drawing.
#include "BoardDraw.h"

EngTexture s_board_tex;
EngTexture s_borders_tex[8];
EngTexture s_num_sel_tex[2];
EngTexture s_check_tex[2];
EngTexture s_high2_tex;
bool bg_dark = false;
_ColourRGBA font_orig_col, font_main_col, font_small_norm_col, font_small_bold_col;

char VizavuCreateGraphics() { return 1; }
void VizavuDestroyGraphics() {}
char BoardCreateGraphics() { return 1; }
void BoardDestroyGraphics() {}
char BoardUpdateBoardBgColour() { return 1; }
char BoardUpdateNumbersBgColour() { return 1; }
char BoardUpdateNotesBgColour() { return 1; }
char BoardSetBoardBgColours(const char*, EngTexture*, char) { return 0; }
void BoardTintPixels(unsigned char*, long, const float[3], const float[3]) {}
bool BoardIsColourDark(const float[3]) { return false; }
void BoardUpdateTexturePositions() {}
void VizavuUpdateOrigTextColour() {}
void VizavuUpdateNormTextColour() {}
void VizavuUpdateNoteTextColour() {}
void SudoukSetFontScale(_Vector2d*) {}
void BoardRenderBoard(char) {}
void BoardRenderBoardNumber(int, _BoardCellVars*) {}
void VizavuRender() {}
