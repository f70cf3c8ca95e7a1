// The base of the menu screens' controllers and the toolkit types their
// headers use.
#pragma once

#include "MWin/MWinCollectionController.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinScreens;
class MWinWindow;
struct _MWinButtonCallbackInfo;

// A screen whose collection is built on a desktop of the toolkit mwinp.
class MenuCollectionController : public MWinCollectionController
{
public:
    virtual ~MenuCollectionController() = default;

    virtual MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) = 0;

protected:
    MWin* mwinp = nullptr;
};
