// The colour sets: defaults for the options record.
#pragma once

#include "Options.h"

extern const float default_graphics_options[OPTIONS_NUM_COLOUR_SETS][OPTIONS_NUM_COLOUR_PARTS][3];

// Current set 0, current part 0 and all eight sets from the defaults.
void GraphicsControlSetDefaultOptions();
// Copies one set's defaults into the options record.
void GraphicsControlResetSetColours(int set);
