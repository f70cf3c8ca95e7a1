// The game's application object: start-up, the device's graphics objects,
// tick, drawing order, input routing on the play screen, saving at exit.
#pragma once

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

    void UpdateBgColour();
    void RenderMacWindowCorner();
    void SaveGameState();
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
};

extern Game* main_game;
extern EngFont* main_font;
extern MWin* main_mwin;
extern VizavuScreens* main_screens;

// The display-settings dialog InitCB runs (a test seam; by default
// ResolutionShowAndRunWindow): above 0 goes on, 0 fails, below 0 stops quietly.
extern signed char (*main_display_settings_dialog)();

// Empty hook for the splash set-up.
void ModulesSetEngPictureTextureFileOverwriteCB(void (*cb)());

// The screen the toolkit's screen set shows, 0 without screens.
EngUInt32 GameGetCurrentScreen();
