// The options record: colour sets, level and puzzle progress, settings.
// Stored whole, byte for byte, as "Options.dat".
#pragma once

#include <cstddef>

#include "EngTypes.h"

#define OPTIONS_NUM_COLOUR_SETS 8
#define OPTIONS_NUM_COLOUR_PARTS 6
#define OPTIONS_NUM_LEVELS 5
#define OPTIONS_NUM_PUZZLES 100
#define OPTIONS_NUM_POWER_CHOICES 5
#define OPTIONS_FILE_SIZE 1140

// Colour parts by index.
#define OPTIONS_COL_SCREEN 0
#define OPTIONS_COL_BOARD 1
#define OPTIONS_COL_LINES 2
#define OPTIONS_COL_PUZZLE_NUMBERS 3
#define OPTIONS_COL_PLACED_NUMBERS 4
#define OPTIONS_COL_NOTES 5

struct _OptionsLevel
{
    EngUInt8 opened[OPTIONS_NUM_PUZZLES];
    EngInt32 cur_puzzle;
};

struct Options
{
    float version;
    EngInt32 cur_colour_set;
    EngInt32 cur_colour_part;
    float colours[OPTIONS_NUM_COLOUR_SETS][OPTIONS_NUM_COLOUR_PARTS][3];
    EngInt32 cur_level;
    _OptionsLevel levels[OPTIONS_NUM_LEVELS];
    EngUInt8 unused_1112;
    EngUInt8 unused_1113;
    EngUInt8 pad_1114[2];
    EngUInt8 keyboard_only;
    EngUInt8 pad_1117[3];
    EngUInt8 unused_1120;
    EngUInt8 pad_1121[3];
    float unused_1124;
    EngInt32 other_games_index;
    EngInt32 power_choice;
    EngInt32 saved_screen;
};

static_assert(sizeof(_OptionsLevel) == 104, "level block size");
static_assert(sizeof(Options) == OPTIONS_FILE_SIZE, "Options.dat size");
static_assert(offsetof(Options, version) == 0, "layout");
static_assert(offsetof(Options, cur_colour_set) == 4, "layout");
static_assert(offsetof(Options, cur_colour_part) == 8, "layout");
static_assert(offsetof(Options, colours) == 12, "layout");
static_assert(offsetof(Options, cur_level) == 588, "layout");
static_assert(offsetof(Options, levels) == 592, "layout");
static_assert(offsetof(_OptionsLevel, cur_puzzle) == 100, "layout");
static_assert(offsetof(Options, unused_1112) == 1112, "layout");
static_assert(offsetof(Options, unused_1113) == 1113, "layout");
static_assert(offsetof(Options, keyboard_only) == 1116, "layout");
static_assert(offsetof(Options, unused_1120) == 1120, "layout");
static_assert(offsetof(Options, unused_1124) == 1124, "layout");
static_assert(offsetof(Options, other_games_index) == 1128, "layout");
static_assert(offsetof(Options, power_choice) == 1132, "layout");
static_assert(offsetof(Options, saved_screen) == 1136, "layout");

extern Options options;
extern char options_file_str[1024];

// Builds the path into options_file_str; 0 (logged) when it does not fit.
char OptionsGetFileName();
void OptionsSetDefaults();
// 1 when the file was loaded or did not exist; else defaults and 0.
char OptionsLoad();
// 1 when the file was written.
char OptionsSave();
// Brings every stored index and colour into range.
void OptionsMakeValid();
