// The game's display name, for test programs that make engine windows without
// a game. Include it in exactly one file of such a program.
#pragma once

const char* MainGetGameName()
{
    return "Kestrelbay' Vizavu";
}
