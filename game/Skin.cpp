// The game's look for the toolkit.
#include "Skin.h"

char VizavuMWinSetMWinSettings(MWin* mwin) { return mwin ? 1 : 0; }
char VizavuMWinSetupTexturesAndTexButs(MWin* mwin) { return mwin ? 1 : 0; }
char VizavuMWinCreateFontApart(int, const char*, EngFont*) { return 0; }
char VizavuMWinSetupFonts(MWin*, char, char, const char*) { return 0; }
void VizavuMWinAdjustDesktopSettings(MWin*) {}
