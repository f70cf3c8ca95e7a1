// TEMPORARY definitions of engine functions and globals that other modules
// provide but that are not on main yet (see GamePending.h). Removed at merge.
#include "GamePending.h"

char EngWindowGetMainWindowPos(int* x, int* y)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    return 0;
}

namespace
{
_EngCreateWindowParms main_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &main_parms;
}
