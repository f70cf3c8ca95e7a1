// TEMPORARY: declarations of engine functions and globals that other modules
// provide but that are not on main yet. Removed at merge; the real ones live in
// Engine/EngWindow.h, Engine/EngResModes.h and game/Game.h.
#pragma once

#include <cstddef>

#include "EngTypes.h"

#include "EngResModes.h"
#include "EngWindow.h"

// EngWindow::GetWindowPos on the main window: 1 with the content's top-left, else 0.
char EngWindowGetMainWindowPos(int* x, int* y);

// game/Game.h: the game's window creation record.
_EngCreateWindowParms* MainGetCreateWindowParms();
