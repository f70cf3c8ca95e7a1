// The game's look for the toolkit: atlas textures, texture buttons, the
// standard slots, layout settings and the game font "Main".
#pragma once

class MWin;
class EngFont;

char VizavuMWinSetMWinSettings(MWin* mwin);
char VizavuMWinSetupTexturesAndTexButs(MWin* mwin);
// Makes font number 0 from file into font; other numbers are refused.
char VizavuMWinCreateFontApart(int number, const char* file, EngFont* font);
char VizavuMWinSetupFonts(MWin* mwin, char load_default, char load_user, const char* file);
// The desktop layout changes the application object makes after the skin.
void VizavuMWinAdjustDesktopSettings(MWin* mwin);
