// The main window.
#include "EngWindow.h"

EngWindow* eng_main_window = nullptr;
void* eng_main_sdl_window = nullptr;
