// The base of a program's set of screens: registers screen controllers with
// the engine's screen list, clears the toolkit's collections on every change
// and can fade to black and back around it.
#pragma once

#include "EngScreens.h"
#include "MWinCollectionController.h"

class MWin;

class MWinScreens
{
public:
    MWinScreens(MWin* mwin, char fade);
    virtual ~MWinScreens();
    MWinScreens(const MWinScreens&) = delete;
    MWinScreens& operator=(const MWinScreens&) = delete;

    // Hooks for the program.
    virtual char SetupProgramScreens() { return 1; }
    virtual void PreScreensStartCB() {}
    virtual void PostScreensStartCB(unsigned int) {}
    virtual void PreScreenChangeCB() {}
    virtual void PostScreenChangeCB(unsigned int) {}
    virtual void PostScreensFinishCB() {}

    char SetupAllScreens();
    char AddScreen(unsigned int code, MWinCollectionController* controller);
    void RemoveAllScreens();
    void Exit();

    unsigned int GetCurrentScreen();
    void SetCurrentScreen(unsigned int code);
    unsigned int GetPreviousScreen();
    void SetPreviousScreen(unsigned int code);
    unsigned int GetFromScreen();
    void SetFromScreen(unsigned int code);

    void ReloadCurrentScreen();
    char Tick();
    void Render(_MWinRenderStage stage);
    char AreOn();

    void Start(char start_gui);
    void StartScreen(unsigned int code, char start_gui);
    void End(char mode);
    void GotoScreen(unsigned int code);
    void GoBack();
    // direction -1 darkens, +1 brightens; nothing without the fade flag.
    void Fade(char direction);
    static void DoFade(char direction, double seconds);
    // Steps of a fade lasting seconds at one measured frame of frame seconds;
    // -1 when the fade is skipped.
    static int FadeSteps(double seconds, double frame);

    void PreChangingCB();
    void PostChangingCB();

    EngScreens* GetEngScreens() { return screens; }
    MWin* GetMWin() { return mwin; }
    char IsFadeOn() const { return fade; }

private:
    EngScreens* screens;
    char fade;
    MWin* mwin;
};

void MWinScreens_PreChangingCB(MWin* mwin, void* user);
void MWinScreens_PostChangingCB(MWin* mwin, void* user);
