// The controls page: the mouse and keyboard controls and the "Keyboard Only" choice.
#include "ControlsScreen.h"

#include "EngDebug.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "Options.h"
#include "VizavuScreens.h"

MWinCollection* mwinControlsCollection = nullptr;
MWinWindow* mwinControlsControlsWindow = nullptr;
MWinButton* mwinControlsControlsKeys1Button = nullptr;
MWinButton* mwinControlsControlsMouse1TButton = nullptr;
MWinButton* mwinControlsControlsKeys1bButton = nullptr;
MWinButton* mwinControlsControlsKeys2Button = nullptr;
MWinButton* mwinControlsControlsKeys4Button = nullptr;
MWinButton* mwinControlsControlsKeys4bButton = nullptr;
MWinButton* mwinControlsControlsKeys5Button = nullptr;
MWinButton* mwinControlsControlsKeys5bButton = nullptr;
MWinButton* mwinControlsControlsKeys3Button = nullptr;
MWinButton* mwinControlsControlsKey3bButton = nullptr;
MWinButton* mwinControlsControlsKeys8Button = nullptr;
MWinButton* mwinControlsControlsKey8bButton = nullptr;
MWinButton* mwinControlsControlsKeys6Button = nullptr;
MWinButton* mwinControlsControlsKeys6bButton = nullptr;
MWinButton* mwinControlsControlsKeys7Button = nullptr;
MWinButton* mwinControlsControlsKeys7bButton = nullptr;
MWinButton* mwinControlsControlsKeyboardModeTextButton = nullptr;
MWinButton* mwinControlsControlsKeyboardOnlyChoice = nullptr;
MWinButton* mwinControlsControlsBackButton = nullptr;

const char* c_off_on_strs[2] = {"Off", "On"};

namespace
{
#define HEAD MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE
#define HEAD_STYLE 1, 1, 1, 0.8f, 1.5f, 2, 1
#define LEFT_STYLE 1, 1, 1, 0.5f, 1, 1.6f, 2
#define RIGHT_STYLE 1, 1, 1, 0.5f, 1, 1.6f, 0
const _MenuWidget controls_widgets[] = {
    {"Keys1", HEAD, "Mouse Controls", 120, 7, 400, 40, HEAD_STYLE, &mwinControlsControlsKeys1Button},
    {"Mouse1T", HEAD, "Select/Place:", 20, 57, 280, 30, LEFT_STYLE, &mwinControlsControlsMouse1TButton},
    {"Keys1b", HEAD, "Left Button", 310, 57, 320, 30, RIGHT_STYLE, &mwinControlsControlsKeys1bButton},
    {"Keys2", HEAD, "Keyboard Controls", 90, 109, 460, 40, HEAD_STYLE, &mwinControlsControlsKeys2Button},
    {"Keys4", HEAD, "Select:", 20, 159, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys4Button},
    {"Keys4b", HEAD, "Arrows", 310, 159, 311, 30, RIGHT_STYLE, &mwinControlsControlsKeys4bButton},
    {"Keys5", HEAD, "Set Note:", 20, 189, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys5Button},
    {"Keys5b", HEAD, "Number Keys", 310, 189, 311, 30, RIGHT_STYLE, &mwinControlsControlsKeys5bButton},
    {"Keys3", HEAD, "Set Number:", 20, 219, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys3Button},
    {"Key3b", HEAD, "Control + Number Keys", 310, 219, 311, 30, RIGHT_STYLE, &mwinControlsControlsKey3bButton},
    {"Keys8", HEAD, "Remove Numbers:", 20, 249, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys8Button},
    {"Key8b", HEAD, "Delete", 310, 249, 311, 30, RIGHT_STYLE, &mwinControlsControlsKey8bButton},
    {"Keys6", HEAD, "Undo:", 20, 279, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys6Button},
    {"Keys6b", HEAD, "U", 310, 279, 311, 30, RIGHT_STYLE, &mwinControlsControlsKeys6bButton},
    {"Keys7", HEAD, "Menu:", 20, 309, 280, 30, LEFT_STYLE, &mwinControlsControlsKeys7Button},
    {"Keys7b", HEAD, "Escape", 310, 309, 311, 30, RIGHT_STYLE, &mwinControlsControlsKeys7bButton},
    {"KeyboardModeText", HEAD, "Hide Mouse Input Areas", 90, 357, 460, 40, HEAD_STYLE,
     &mwinControlsControlsKeyboardModeTextButton},
    {"KeyboardOnly", MWIN_BUTTON_CHOICE, "Main", "Keyboard Only", 220, 407, 200, 40, 0, 0, 0, 0.7f, 0.9f, 1.8f, 1,
     &mwinControlsControlsKeyboardOnlyChoice},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 500, 430, 120, 40, 0, 0, 0, 0.6f, 0.9f, 2, 1,
     &mwinControlsControlsBackButton},
};
#undef HEAD
#undef HEAD_STYLE
#undef LEFT_STYLE
#undef RIGHT_STYLE
const int num_controls_widgets = sizeof(controls_widgets) / sizeof(controls_widgets[0]);
} // namespace

ControlsCollectionController::ControlsCollectionController(MWinScreens* screens)
{
    ControlsCollectionController::RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char ControlsCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void ControlsCollectionController::RemoveVars()
{
    mwinControlsCollection = nullptr;
    mwinControlsControlsWindow = nullptr;
    MenuClearGlobals(controls_widgets, num_controls_widgets);
}

MWinCollection* ControlsCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinControlsCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, "Controls");
    if (!c)
        return nullptr;
    AddControlsWindowToCollectionNormal(c);
    mwinControlsCollection = c;
    return c;
}

MWinWindow* ControlsCollectionController::AddControlsWindowToCollectionNormal(MWinCollection* collection)
{
    mwinControlsControlsWindow = nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, "Controls", 0, 0, 0, 640, 480, "",
                                  MWIN_TEXBUT_NONE, MWIN_TEXBUT_NONE);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddControlsWindowButtonsToWindowNormal(w), this);
    mwinControlsControlsWindow = w;
    return w;
}

char ControlsCollectionController::AddControlsWindowButtonsToWindowNormal(MWinWindow* window)
{
    return MenuAddWidgets(__PRETTY_FUNCTION__, window, controls_widgets, num_controls_widgets);
}

void ControlsCC::StartingCB()
{
    if (mwinControlsControlsKeyboardOnlyChoice)
    {
        mwinControlsControlsKeyboardOnlyChoice->ChoiceSetStrings(2, c_off_on_strs);
        mwinControlsControlsKeyboardOnlyChoice->ChoiceRegisterCharVariable(
            reinterpret_cast<char*>(&options.keyboard_only), 0);
    }
    // The Command key of the original layout is Ctrl here: the label keeps "Control".
    if (mwinControlsControlsKey3bButton)
        mwinControlsControlsKey3bButton->SetText("Control + Number Keys");
    if (mwinControlsControlsBackButton)
        mwinControlsControlsBackButton->SetEscapeButtonForParentWindow();
}

char ControlsCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    if (button == mwinControlsControlsKeyboardOnlyChoice)
    {
        // Without the question shown the areas stay as they were.
        if (options.keyboard_only &&
            !MWinPopupOkCancel(mwinp, nullptr,
                               "Are you sure you wish to hide the mouse input areas ?\n\nYou will only be able to "
                               "play the game using the keyboard, not the mouse.\n",
                               ConfirmPopupCB_Static, this))
            ConfirmPopupCB(0);
        return 1;
    }
    if (button == mwinControlsControlsBackButton)
    {
        mwinp->GoBackToPreviousScreen();
        return 1;
    }
    return 0;
}

void ControlsCC::ConfirmPopupCB(char result)
{
    if (result)
    {
        MWinPopupMessage(mwinp, "Double-Tap any empty area to return to the main menu.");
        return;
    }
    options.keyboard_only = 0;
    // The screen may have gone meanwhile; the flag is cleared all the same.
    if (mwinControlsControlsKeyboardOnlyChoice)
        mwinControlsControlsKeyboardOnlyChoice->ChoiceSetSel(0, 0);
}

void ControlsCC::ConfirmPopupCB_Static(MWin*, char result, void* user)
{
    if (user)
        static_cast<ControlsCC*>(user)->ConfirmPopupCB(result);
}
