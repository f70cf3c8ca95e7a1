// TEMPORARY: stands in for the application object's globals until it lands; remove at merge.
#include "EngFont.h"
#include "MWin/MWin.h"

EngFont* main_font = nullptr;
MWin* main_mwin = nullptr;
