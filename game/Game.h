// The game's application object: start-up, the device's graphics objects,
// tick, drawing order, input routing on the play screen, saving at exit.
#pragma once

#include <cstddef>

#include "EngProgram.h"
#include "EngTexture.h"

class EngFont;
class MWin;
class VizavuScreens;

class Game : public EngProgram
{
public:
    Game();
    ~Game() override;

    char InitCB(int argc, char** argv) override;
    char PreCreateWindowCB(_EngCreateWindowParms* parms) override;
    char PreDeviceInitCB() override;
    char PostDeviceInitCB() override;
    char CreateGraphicsObjectsCB() override;
    char PostCreateGraphicsObjectsCB() override;
    void DestroyGraphicsObjectsCB() override;
    char TickCB() override;
    void RenderCB() override;
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override;
    void WindowActivatedCB(char active) override;
    void WindowResizedCB() override;
    void PreDeviceExitCB() override;
    void ExitCB() override;
    // Saves first; when that fails the player is told and may stay.
    char PlayerQuitCB() override;

    void UpdateBgColour();
    void RenderMacWindowCorner();
    // 1 when the saved game, Options.dat and Resolution.dat were all written.
    char SaveGameState();
    void SetupLights();

    // Input handlers: 1 when the event was taken.
    char MouseButtonPressed(char button, char pressed);
    char MouseButtonDoubleClicked(char button);
    char KeyDownCB(int key);
    char MouseWheelMoved(int delta);
    void MoveMouse(int x, int y);
    void MoveMouse(float x, float y);

    EngTexture* GetCornerTexture() { return &corner_tex; }

private:
    EngTexture corner_tex;
    // The state was saved when the player asked to quit; the exit need not again.
    char state_saved = 0;
    // errno of the first save that failed in the last SaveGameState.
    int save_error = 0;
};

extern Game* main_game;
extern EngFont* main_font;
extern MWin* main_mwin;
extern VizavuScreens* main_screens;
// 1 when the data folder could not be made: the player was told at start that
// nothing is kept after the game ends, and saved games live in memory.
extern char main_saving_off;

// "The game could not be saved (<reason>).<tail>" for the errno err (no
// reason when it is 0).
void GameSaveFailedText(char* out, size_t size, int err, const char* tail);

// The display-settings dialog InitCB runs (a test seam; by default
// ResolutionShowAndRunWindow): above 0 goes on, 0 fails, below 0 stops quietly.
extern signed char (*main_display_settings_dialog)();

// Empty hook for the splash set-up.
void ModulesSetEngPictureTextureFileOverwriteCB(void (*cb)());

// The screen the toolkit's screen set shows, 0 without screens.
EngUInt32 GameGetCurrentScreen();
