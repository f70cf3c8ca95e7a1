// The colour sets: defaults for the options record, the colour screen's
// picture, its widgets' bindings and its preview.
#pragma once

#include "Options.h"

class EngTexture;

extern const float default_graphics_options[OPTIONS_NUM_COLOUR_SETS][OPTIONS_NUM_COLOUR_PARTS][3];

// Part choice items and the part names of the picker's caption.
extern const char* g_choice_sel_strs[OPTIONS_NUM_COLOUR_PARTS];
extern const char* g_sel_strs[OPTIONS_NUM_COLOUR_PARTS];
// Set choice items "1" to "8".
extern const char* g_num1_strs[OPTIONS_NUM_COLOUR_SETS];

// "BgCol.jpg", loaded while the colour screen is shown.
extern EngTexture gc_bg_col_tex;

// Current set 0, current part 0 and all eight sets from the defaults.
void GraphicsControlSetDefaultOptions();
// Copies one set's defaults into the options record.
void GraphicsControlResetSetColours(int set);

// On the colour screen, (re)loads "BgCol.jpg"; 1 unless the load failed.
char GraphicsControlCreateGraphics();
void GraphicsControlDestroyGraphics();
// The colour caption and the picker's binding follow the current set and part.
void GraphicsControlUpdateButtons();
// The preview over the colour screen's window.
void GraphicsRender();
// A left press on a colour part of the preview selects that part.
void GraphicsControlMouseButtonPressed(char button, char pressed);
