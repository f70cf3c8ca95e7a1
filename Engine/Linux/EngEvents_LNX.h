// SDL events turned into the window's input messages.
#pragma once

#include "EngWindow.h"

union SDL_Event;

// Hands one SDL event to the window (coalescing queued mouse motion and
// size changes first).
void EngEventsHandleEvent_LNX(EngWindow* window, SDL_Event* event);
// The engine key code of an SDL key (0 for keys the engine does not use);
// send_character is set when the key's character must be made here because
// SDL sends no text for it.
unsigned char EngEventsTranslateKey_LNX(int sdl_keycode, int sdl_mod, char* send_character);
