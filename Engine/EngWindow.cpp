// The main window.
#include "EngWindow.h"

EngWindow* eng_main_window = nullptr;
