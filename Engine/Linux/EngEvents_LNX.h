// SDL events turned into the window's input messages.
#pragma once

#include "EngWindow.h"

union SDL_Event;

// Hands one SDL event to the window (coalescing queued mouse motion and
// size changes first).
void EngEventsHandleEvent_LNX(EngWindow* window, SDL_Event* event);
// The engine key code of an SDL key (0 for keys the engine does not use;
// letters in capitals); character gets what the key types when SDL sends no
// text for it (0 when SDL does, or for none).
unsigned char EngEventsTranslateKey_LNX(int sdl_keycode, int sdl_mod, unsigned char* character);
