// The game's side of the engine's program entry.
#include "Game.h"

namespace
{
_EngCreateWindowParms main_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &main_parms;
}

const char* MainGetGameName()
{
    return "Kestrelbay' Vizavu";
}
