// The game's screen set: creates the screen controllers, registers them under
// their four-character codes and keeps the clear colour and the desktop in
// step with screen changes.
#pragma once

#include "EngTypes.h"
#include "MWin/MWinCollectionController.h"
#include "MWin/MWinScreens.h"

class Game;
class MWin;
class MWinButton;
struct _MWinWindowCreateInfo;
class MainCC;
class OptionsCC;
class ControlsCC;
class GraphicsCC;
class MiscCC;
class InGameCC;
class AboutCC;
class GameAdsCC;

extern const EngUInt32 MAIN_SCREEN_ID;
extern const EngUInt32 IN_GAME_SCREEN_ID;
extern const EngUInt32 OPTIONS_SCREEN_ID;
extern const EngUInt32 GRAPHICS_SCREEN_ID;
extern const EngUInt32 CONTROLS_SCREEN_ID;
extern const EngUInt32 MISC_SCREEN_ID;
extern const EngUInt32 ABOUT_SCREEN_ID;
#define VIZAVU_GAME_ADS_SCREEN_ID EngFourCC('G', 'A', 'D', 'S')

class VizavuScreens : public MWinScreens
{
public:
    VizavuScreens(Game* game, MWin* mwin);
    ~VizavuScreens() override;

    char SetupProgramScreens() override;
    void PreScreensStartCB() override;
    void PreScreenChangeCB() override;
    void PostScreenChangeCB(unsigned int current) override;
    void PostScreensFinishCB() override;

    char CreateGraphics();
    void DestroyGraphics();
    GameAdsCC* GetGameAdsCC();
    void ResetExtraVars() {}
    Game* GetGame() { return game_p; }

private:
    Game* game_p;
    MainCC* main_cc = nullptr;
    OptionsCC* options_cc = nullptr;
    ControlsCC* controls_cc = nullptr;
    GraphicsCC* graphics_cc = nullptr;
    MiscCC* misc_cc = nullptr;
    InGameCC* in_game_cc = nullptr;
    AboutCC* about_cc = nullptr;
    GameAdsCC* game_ads_cc = nullptr;
};

// The one screen set while it exists (null before and after).
extern VizavuScreens* vizavu_screens;

// Stores the screen set and its toolkit for a controller; asserts both exist.
// Returns the toolkit. Every layout constructor calls it.
MWin* VizavuSetScreensVar(MWinCollectionController* controller, MWinScreens* screens);

// Fills a window-create record the way every screen's window starts: zeroed,
// kind 0, fixed, no title bar or hide button, default title font.
void VizavuScreensFillCreateInfo(_MWinWindowCreateInfo* info, float x, float y, float w, float h,
                                 const char* title, const char* title_texbut, const char* back_texbut);
// Applies a widget's font, text colour, scale and alignment.
void VizavuScreensStyleButton(MWinButton* button, const char* font, float r, float g, float b, float a,
                              float sx, float sy, int align);
