// The interface through which the screen manager and the toolkit drive one screen.
#pragma once

#include "EngDebug.h"

class MWin;
class MWinButton;
class MWinScreens;
struct _MWinButtonCallbackInfo;

typedef int _MWinRenderStage;
#define MWIN_RENDER_STAGE_BEFORE 0
#define MWIN_RENDER_STAGE_AFTER 1

class MWinCollectionController
{
public:
    virtual char CreateCollection(MWin* mwin) = 0;
    virtual void RemoveVars() = 0;
    virtual void StartingCB() = 0;
    virtual void TickCB() = 0;
    virtual void RenderCB(_MWinRenderStage stage) = 0;
    virtual char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) = 0;

    void SetScreens(MWinScreens* s)
    {
        DebugAssertAlt(s != nullptr, __PRETTY_FUNCTION__, "No screens");
        screens = s;
    }
    MWinScreens* GetScreens(char quiet)
    {
        if (!quiet)
            DebugAssertAlt(screens != nullptr, __PRETTY_FUNCTION__, "No screens");
        return screens;
    }

protected:
    ~MWinCollectionController() = default;

private:
    MWinScreens* screens = nullptr;
};
