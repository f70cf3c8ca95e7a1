// The display settings record, stored whole as "Resolution.dat", and the
// window creation record filled from it.
#pragma once

#include <cstddef>

#include "EngTypes.h"

#define RESOLUTION_FILE_SIZE 60
// The smallest window, on each side: the live window refuses less and a stored
// size below it grows to it, so a window opens as it was left. Half of the
// game's own 640 x 480 screen keeps narrow (portrait) and low windows.
#define RESOLUTION_MIN_WINDOWED_WIDTH 320
#define RESOLUTION_MIN_WINDOWED_HEIGHT 240

struct _ResolutionRecord
{
    float version;
    EngUInt8 windowed;
    EngUInt8 pad_5[3];
    EngInt32 fs_width;
    EngInt32 fs_height;
    EngInt32 fs_bpp;
    EngInt32 win_width;
    EngInt32 win_height;
    EngInt32 win_bpp;
    EngInt32 win_x;
    EngInt32 win_y;
    EngInt32 fs_aa;
    EngInt32 win_aa;
    EngInt32 fs_frequency;
    EngInt32 win_frequency;
    EngUInt8 cursor_type;
    EngUInt8 mouse_sync;
    EngUInt8 pad_58[2];
};
static_assert(sizeof(_ResolutionRecord) == RESOLUTION_FILE_SIZE, "Resolution.dat size");
static_assert(offsetof(_ResolutionRecord, windowed) == 4, "layout");
static_assert(offsetof(_ResolutionRecord, fs_width) == 8, "layout");
static_assert(offsetof(_ResolutionRecord, fs_height) == 12, "layout");
static_assert(offsetof(_ResolutionRecord, fs_bpp) == 16, "layout");
static_assert(offsetof(_ResolutionRecord, win_width) == 20, "layout");
static_assert(offsetof(_ResolutionRecord, win_height) == 24, "layout");
static_assert(offsetof(_ResolutionRecord, win_bpp) == 28, "layout");
static_assert(offsetof(_ResolutionRecord, win_x) == 32, "layout");
static_assert(offsetof(_ResolutionRecord, win_y) == 36, "layout");
static_assert(offsetof(_ResolutionRecord, fs_aa) == 40, "layout");
static_assert(offsetof(_ResolutionRecord, win_aa) == 44, "layout");
static_assert(offsetof(_ResolutionRecord, fs_frequency) == 48, "layout");
static_assert(offsetof(_ResolutionRecord, win_frequency) == 52, "layout");
static_assert(offsetof(_ResolutionRecord, cursor_type) == 56, "layout");
static_assert(offsetof(_ResolutionRecord, mouse_sync) == 57, "layout");

class EngResModes;

extern _ResolutionRecord resolution;
extern char res_file_str[1024];
// The display modes while the settings dialog runs; null otherwise.
extern EngResModes* r_res_modes;

// Builds the path into res_file_str; 0 (logged) when it does not fit.
char ResolutionGetFileName();
// 1 when Resolution.dat was loaded (and the window creation record filled).
char ResolutionLoad();
void ResolutionSetDefaults();
// 1 when the file was written.
char ResolutionSave();
void ResolutionUpdateStartupParms();
// Copies the live window into the record; the side not on screen comes
// from what the window keeps for the full-screen toggle.
void ResolutionUpdateSettingsFromScreen();
// Gives the window the stored windowed and full-screen settings, so that
// Ctrl+F switches between them.
void ResolutionSetupFullscreenToggle();
// Keeps the live window from becoming smaller than the smallest stored size.
void ResolutionRestrictWindow();
// A windowed size below 1 becomes 1024 x 768 and a side below the smallest grows to it; a position
// off the desktop becomes -1 (centred);
// the windowed byte becomes 0 or 1 and an anti-aliasing value outside 0-2 becomes 0.
void ResolutionMakeWindowedValid();
