// The toolkit's colour tables: the hue table behind the colour picker's strips.
#pragma once

#define MWIN_HUE_TABLE_SIZE 256
#define MWIN_COLOUR_STRIP_W 256
#define MWIN_COLOUR_STRIP_H 32

struct _MWinHueEntry
{
    float r, g, b;
};

// Fills the 256-entry hue table (red, magenta, blue, cyan, green, yellow, red).
void MWinColourFillHueTable(_MWinHueEntry* table);
