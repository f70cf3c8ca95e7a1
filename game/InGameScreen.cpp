// The play screen's bar: Menu and Undo.
#include "InGameScreen.h"

#include "Board.h"
#include "EngDebug.h"
#include "EngFile.h"
#include "EngMath.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameHooks.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "Options.h"
#include "Vizavu.h"
#include "VizavuSave.h"
#include "VizavuScreens.h"

MWinCollection* mwinInGameCollection = nullptr;
MWinWindow* mwinInGameInGameWindow = nullptr;
MWinButton* mwinInGameInGameMenuButton = nullptr;
MWinButton* mwinInGameInGameUndoButton = nullptr;

int ig_x1 = 0, ig_y1 = 0, ig_x2 = 0, ig_y2 = 0;

namespace
{
const char* const IN_GAME_ID = "InGame";
// The toolkit of the live screen set, null without one.
MWin* ScreensMWin()
{
    return vizavu_screens ? vizavu_screens->GetMWin() : nullptr;
}

const _MenuWidget in_game_widgets[] = {
    {"Menu", MWIN_BUTTON_PUSH, "Main", "Menu", 20, 8, 100, 40, 0, 0, 0, 0.7f, 0.7f, 1, MWIN_ALIGN_CENTRE,
     &mwinInGameInGameMenuButton},
    {"Undo", MWIN_BUTTON_PUSH, "Main", "Undo", 20, 52, 100, 40, 0, 0, 0, 0.7f, 0.7f, 1, MWIN_ALIGN_CENTRE,
     &mwinInGameInGameUndoButton},
};
const int num_in_game_widgets = sizeof(in_game_widgets) / sizeof(in_game_widgets[0]);
} // namespace

InGameCollectionController::InGameCollectionController(MWinScreens* screens)
{
    RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char InGameCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void InGameCollectionController::RemoveVars()
{
    mwinInGameCollection = nullptr;
    mwinInGameInGameWindow = nullptr;
    MenuClearGlobals(in_game_widgets, num_in_game_widgets);
}

MWinCollection* InGameCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinInGameCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, IN_GAME_ID);
    if (!c)
        return nullptr;
    AddInGameWindowToCollectionNormal(c);
    mwinInGameCollection = c;
    return c;
}

MWinWindow* InGameCollectionController::AddInGameWindowToCollectionNormal(MWinCollection* collection)
{
    mwinInGameInGameWindow = nullptr;
    if (!collection)
        return nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, IN_GAME_ID, 0, 460, 190, 140, 100, "Window 1",
                                  MWIN_TEXBUT_DEFAULT, MWIN_TEXBUT_DEFAULT);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddInGameWindowButtonsToWindowNormal(w), this);
    mwinInGameInGameWindow = w;
    return w;
}

char InGameCollectionController::AddInGameWindowButtonsToWindowNormal(MWinWindow* window)
{
    return MenuAddWidgets(__PRETTY_FUNCTION__, window, in_game_widgets, num_in_game_widgets);
}

void InGameCC::StartingCB()
{
    MWinWindow* w = mwinp ? mwinp->GetWindowFromIDs(IN_GAME_ID, IN_GAME_ID, 0) : nullptr;
    if (!w)
        return;
    w->SetBackTexButToNone();
    MWinButton* menu = w->GetButtonFromID("Menu", 0);
    MWinButton* undo = w->GetButtonFromID("Undo", 0);
    if (menu)
        w->SetEscapeButton(menu);
    InGameControlActivateUndoButton();
    VizavuInitDimensions();
    if (options.keyboard_only)
    {
        if (menu)
            menu->Hide();
        if (undo)
            undo->Hide();
        w->SetOrigPos(650, 490);
    }
    else if (eng_main_window_portraited)
    {
        w->SetOrigPos(0, 440, 640, 40);
        if (menu)
            menu->SetOrigPos(90, 0, 120, 40);
        if (undo)
            undo->SetOrigPos(430, 0, 120, 40);
    }
    // Recorded after placement so the rectangle is where the bar is shown.
    _Dimension a;
    w->GetActualArea(&a);
    ig_x1 = EngMathRound(a.x);
    ig_y1 = EngMathRound(a.y);
    ig_x2 = EngMathRound(a.x + a.w);
    ig_y2 = EngMathRound(a.y + a.h);
}

char InGameCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (button && button == mwinInGameInGameMenuButton)
        InGameMenuCB();
    else if (button && button == mwinInGameInGameUndoButton)
        VizavuUndo();
    else
        return 0;
    return 1;
}

namespace
{
void LeaveWithoutSavingCB(MWin* mwin, char result, void*)
{
    if (result == MWIN_POPUP_RESULT_OK && mwin && mwin->GetCurrentScreen() == IN_GAME_SCREEN_ID)
        mwin->GoBackToPreviousScreen();
}
} // namespace

void InGameMenuCB()
{
    // Without a data folder the player was told at start that nothing is kept.
    if (!VizavuSaveGame(0) && !main_saving_off)
    {
        // The game stays in memory, so the player may leave and resume it
        // until the game ends, or stay and try again.
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not save the game");
        char text[400];
        GameSaveFailedText(text, sizeof(text), EngFileGetLastSaveError(),
                           "\n\nLeave without saving? The puzzle can be resumed until you quit.");
        MWin* mwin = ScreensMWin();
        if (mwin && !mwin->PopupIsOn())
        {
            MWinPopupChangeButtonTextsForNextPopup(mwin, "Leave", "Stay");
            MWinPopupSetErrorColoursForNextPopup(mwin);
            MWinPopupOkCancel(mwin, "Save Failed", text, LeaveWithoutSavingCB, nullptr);
        }
        return;
    }
    if (ScreensMWin())
        ScreensMWin()->GoBackToPreviousScreen();
}

void InGameUndoCB()
{
    VizavuUndo();
}

void InGameControlActivateUndoButton()
{
    if (!ScreensMWin() || !vizavu_screens || vizavu_screens->GetCurrentScreen() != IN_GAME_SCREEN_ID)
        return;
    MWinButton* undo = ScreensMWin()->GetButtonFromIDs(IN_GAME_ID, IN_GAME_ID, "Undo", 0);
    if (undo)
        undo->Enable(VizavuCanUndo() ? 1 : 0);
}

char InGameControlIsCursorInWindow(int x, int y)
{
    return x >= ig_x1 && x < ig_x2 && y >= ig_y1 && y < ig_y2;
}
