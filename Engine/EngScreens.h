// The screen manager: one running screen out of a list of registered ones.
#pragma once

#include <vector>

#include "EngTypes.h"
#include "MWin/MWinCollectionController.h"

struct _EngScreen
{
    EngUInt32 id;
    MWinCollectionController* controller;
    EngUInt32 previous_id;
    EngUInt32 from_id;
    int reserved[2];
};

typedef void (*EngScreensCallback)(MWin* mwin, void* owner);

class EngScreens
{
public:
    EngScreens(MWin* mwin, void* owner);
    ~EngScreens();
    EngScreens(const EngScreens&) = delete;
    EngScreens& operator=(const EngScreens&) = delete;

    void RegisterMainTickCallback(EngScreensCallback cb) { main_tick_cb = cb; }
    void RegisterPreChangeCallback(EngScreensCallback cb) { pre_change_cb = cb; }
    void RegisterPostChangeCallback(EngScreensCallback cb) { post_change_cb = cb; }

    char Add(unsigned id, MWinCollectionController* controller);
    _EngScreen* GetScreenFromID(unsigned id, int* index);
    void ResetScreen(_EngScreen* screen);
    char SetCurrentScreenID(unsigned id);
    char SetPreviousScreenID(unsigned id);
    char SetFromScreenID(unsigned id);
    unsigned GetCurrentScreenID();
    unsigned GetPreviousScreenID();
    unsigned GetFromScreenID();
    char IsOn() const { return on; }
    void ResetCurrent();

    void StartCurrent();
    void StopCurrent();
    void TurnOn(char start_gui);
    void TurnOff(char mode);
    void GotoScreen(unsigned id);
    void GoBack();
    void ReloadCurrentScreen();
    char Tick();
    void Render(_MWinRenderStage stage);

    void RemoveScreen(int index);
    void RemoveAll();
    void Init() { RemoveAll(); }
    void Exit();
    int GetNumScreens() const { return int(screens.size()); }

private:
    _EngScreen* CurrentRecord();
    // Sets field of the current screen to id when id names a screen, else 0.
    char SetCurrentLink(EngUInt32 _EngScreen::*field, unsigned id);
    void CallPreChange();
    void CallPostChange();

    MWin* mwin;
    void* owner;
    std::vector<_EngScreen> screens;
    char on = 0;
    unsigned current_id = 0;
    int current_index = 0;
    EngScreensCallback main_tick_cb = nullptr;
    EngScreensCallback pre_change_cb = nullptr;
    EngScreensCallback post_change_cb = nullptr;
    char gui_started = -1;
};
