// The options record and Options.dat.
#include "Options.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "Game.h"
#include "RecordFile.h"
#include "GraphicsControl.h"

Options options;
char options_file_str[1024];

char OptionsGetFileName()
{
    return RecordFilePath(options_file_str, sizeof(options_file_str), "Options.dat", __PRETTY_FUNCTION__);
}

void OptionsSetDefaults()
{
    memset(&options, 0, sizeof(options));
    options.version = 1.0f;
    options.unused_1112 = 0;
    options.unused_1113 = 0;
    options.keyboard_only = 0;
    options.unused_1120 = 1;
    options.unused_1124 = 0.75f;
    options.other_games_index = 0;
    options.power_choice = 0;
    options.saved_screen = -1;
    GraphicsControlSetDefaultOptions();
}

void OptionsMakeValid()
{
    if (options.cur_level < 0 || options.cur_level >= OPTIONS_NUM_LEVELS)
        options.cur_level = 0;
    for (int l = 0; l < OPTIONS_NUM_LEVELS; l++)
        if (options.levels[l].cur_puzzle < 0 || options.levels[l].cur_puzzle >= OPTIONS_NUM_PUZZLES)
            options.levels[l].cur_puzzle = 0;
    if (options.cur_colour_set < 0 || options.cur_colour_set >= OPTIONS_NUM_COLOUR_SETS)
        options.cur_colour_set = 0;
    if (options.cur_colour_part < 0 || options.cur_colour_part >= OPTIONS_NUM_COLOUR_PARTS)
        options.cur_colour_part = 0;
    if (options.power_choice < 0 || options.power_choice >= OPTIONS_NUM_POWER_CHOICES)
        options.power_choice = 0;
    if (options.other_games_index < 0)
        options.other_games_index = 0;
    if (options.keyboard_only > 1)
        options.keyboard_only = 1;
    for (int s = 0; s < OPTIONS_NUM_COLOUR_SETS; s++)
        for (int p = 0; p < OPTIONS_NUM_COLOUR_PARTS; p++)
            for (int c = 0; c < 3; c++)
            {
                float& v = options.colours[s][p][c];
                if (!std::isfinite(v))
                    v = default_graphics_options[s][p][c];
                else if (v < 0)
                    v = 0;
                else if (v > 1)
                    v = 1;
            }
}

char OptionsLoad()
{
    if (!OptionsGetFileName())
    {
        OptionsSetDefaults();
        return 0;
    }
    struct stat st;
    if (lstat(options_file_str, &st) != 0)
    {
        OptionsSetDefaults();
        return 1;
    }
    std::string why;
    if (!ReadRecordFile(options_file_str, &options, __PRETTY_FUNCTION__, &why))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load options file <%s>%s%s", options_file_str,
                      why.empty() ? "" : ": ", why.c_str());
        OptionsSetDefaults();
        return 0;
    }
    OptionsMakeValid();
    return 1;
}

char OptionsSave()
{
    if (!OptionsGetFileName())
        return 0;
    if (!EngFileSaveAtomically(options_file_str, &options, sizeof(options)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem writing to Options File <%s>", options_file_str);
        return 0;
    }
    return 1;
}
