// The colour screen: pick a colour set and a part, change its colour, see a
// preview board; the slow board re-tint runs two ticks after a change.
#include "GraphicsScreen.h"

#include "Board.h"
#include "BoardDraw.h"
#include "EngDebug.h"
#include "EngMainLoop.h"
#include "Game.h"
#include "GraphicsControl.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "Options.h"
#include "VizavuScreens.h"

MWinCollection* mwinGraphicsCollection = nullptr;
MWinWindow* mwinGraphicsGraphicsWindow = nullptr;
MWinButton* mwinGraphicsGraphicsSetChoice = nullptr;
MWinButton* mwinGraphicsGraphicsSetTextButton = nullptr;
MWinButton* mwinGraphicsGraphicsResetSetButton = nullptr;
MWinButton* mwinGraphicsGraphicsSelTextButton = nullptr;
MWinButton* mwinGraphicsGraphicsSelChoice = nullptr;
MWinButton* mwinGraphicsGraphicsColTextButton = nullptr;
MWinButton* mwinGraphicsGraphicsColColour = nullptr;
MWinButton* mwinGraphicsGraphicsBackButton = nullptr;
MWinButton* mwinGraphicsGraphicsFrameButton = nullptr;
MWinButton* mwinGraphicsGraphicsFrameBgButton = nullptr;
MWinButton* mwinGraphicsGraphicsRotButton = nullptr;
MWinButton* mwinGraphicsGraphicsRotTextButton = nullptr;

namespace
{
#define CHOICE_STYLE 0, 0, 0, 0.7f, 0.9f, 1.8f, 1
#define CAPTION_STYLE 0.7f, 0.7f, 0.7f, 1, 1, 2, 1
#define LABEL MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE
const _MenuWidget graphics_normal[] = {
    {"Set", MWIN_BUTTON_CHOICE, "Main", "Set", 20, 60, 600, 40, CHOICE_STYLE, &mwinGraphicsGraphicsSetChoice},
    {"SetText", LABEL, "Select Colour Set", 20, 30, 600, 30, CAPTION_STYLE, &mwinGraphicsGraphicsSetTextButton},
    {"ResetSet", MWIN_BUTTON_PUSH, "Main", "Reset", 520, 100, 100, 30, 0, 0, 0, 0.7f, 0.7f, 1, 1,
     &mwinGraphicsGraphicsResetSetButton},
    {"SelText", LABEL, "Select Colour", 20, 130, 600, 30, CAPTION_STYLE, &mwinGraphicsGraphicsSelTextButton},
    {"Sel", MWIN_BUTTON_CHOICE, "Main", "Sel", 20, 160, 600, 40, CHOICE_STYLE, &mwinGraphicsGraphicsSelChoice},
    {"ColText", LABEL, "Colour", 370, 250, 230, 30, CAPTION_STYLE, &mwinGraphicsGraphicsColTextButton},
    {"Col", MWIN_BUTTON_COLOUR, MWIN_TEXBUT_NONE, "", 390, 280, 190, 130, CAPTION_STYLE,
     &mwinGraphicsGraphicsColColour},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 500, 430, 120, 40, 0, 0, 0, 0.6f, 0.9f, 2, 1,
     &mwinGraphicsGraphicsBackButton},
    {"Frame", MWIN_BUTTON_PUSH, "Main", "", 20, 230, 211.36f, 240, CHOICE_STYLE, &mwinGraphicsGraphicsFrameButton},
};
const _MenuWidget graphics_portrait[] = {
    {"Set", MWIN_BUTTON_CHOICE, "Main", "Set", 20, 35, 600, 40, CHOICE_STYLE, &mwinGraphicsGraphicsSetChoice},
    {"SetText", LABEL, "Colour Set", 20, 5, 600, 30, CAPTION_STYLE, &mwinGraphicsGraphicsSetTextButton},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 230, 430, 180, 40, 0, 0, 0, 0.6f, 1.5f, 2.1f, 1,
     &mwinGraphicsGraphicsBackButton},
    {"FrameBg", MWIN_BUTTON_PUSH, "Back3", "", 0, 85, 640, 240, CHOICE_STYLE, &mwinGraphicsGraphicsFrameBgButton},
    {"Frame", MWIN_BUTTON_PUSH, "Main", "", 100, 105, 440, 200, CHOICE_STYLE, &mwinGraphicsGraphicsFrameButton},
    {"Rot", MWIN_BUTTON_PUSH, "Main", "Set", 207.5f, 365, 225, 40, CHOICE_STYLE, &mwinGraphicsGraphicsRotButton},
    {"RotText", LABEL, "Rotation", 207.5f, 339, 225, 26, CAPTION_STYLE, &mwinGraphicsGraphicsRotTextButton},
};
const _MenuWidget graphics_landscape[] = {
    {"Set", MWIN_BUTTON_CHOICE, "Main", "Set", 5, 40, 415, 50, CHOICE_STYLE, &mwinGraphicsGraphicsSetChoice},
    {"SetText", LABEL, "Colour Set", 5, 10, 415, 30, CAPTION_STYLE, &mwinGraphicsGraphicsSetTextButton},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 255, 420, 130, 50, 0, 0, 0, 0.6f, 1.5f, 2.1f, 1,
     &mwinGraphicsGraphicsBackButton},
    {"FrameBg", MWIN_BUTTON_PUSH, "Back3", "", 0, 95, 425, 310, CHOICE_STYLE, &mwinGraphicsGraphicsFrameBgButton},
    {"Frame", MWIN_BUTTON_PUSH, "Main", "", 80, 115, 265, 270, CHOICE_STYLE, &mwinGraphicsGraphicsFrameButton},
    {"Rot", MWIN_BUTTON_PUSH, "Main", "Set", 450, 215, 175, 50, CHOICE_STYLE, &mwinGraphicsGraphicsRotButton},
    {"RotText", LABEL, "Rotation", 450, 180, 175, 30, CAPTION_STYLE, &mwinGraphicsGraphicsRotTextButton},
};
#undef CHOICE_STYLE
#undef CAPTION_STYLE
#undef LABEL
#define COUNT(t) int(sizeof(t) / sizeof(t[0]))

MWinWindow* AddGraphicsWindow(const char* func, MWinCollection* collection, int layout)
{
    mwinGraphicsGraphicsWindow = nullptr;
    return MenuAddWindow(func, collection, "Graphics", layout, 0, 0, 640, 480, "", MWIN_TEXBUT_NONE,
                         MWIN_TEXBUT_NONE);
}

void UpdateBgColour()
{
    if (main_game)
        main_game->UpdateBgColour();
}

void ClearWidgetGlobals()
{
    MenuClearGlobals(graphics_normal, COUNT(graphics_normal));
    MenuClearGlobals(graphics_portrait, COUNT(graphics_portrait));
    MenuClearGlobals(graphics_landscape, COUNT(graphics_landscape));
}

// Every layout's globals cleared, then one layout's widgets added.
char AddGraphicsWidgets(const char* func, MWinWindow* window, const _MenuWidget* table, int count)
{
    ClearWidgetGlobals();
    return MenuAddWidgets(func, window, table, count);
}

// The current set back to its default colours.
void ResetCurrentSet()
{
    GraphicsControlResetSetColours(options.cur_colour_set);
}
} // namespace

GraphicsCollectionController::GraphicsCollectionController(MWinScreens* screens)
{
    GraphicsCollectionController::RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char GraphicsCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void GraphicsCollectionController::RemoveVars()
{
    mwinGraphicsCollection = nullptr;
    mwinGraphicsGraphicsWindow = nullptr;
    ClearWidgetGlobals();
}

MWinCollection* GraphicsCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinGraphicsCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, "Graphics");
    if (!c)
        return nullptr;
    switch (mwin->GetScreenLayout())
    {
    case 1:
    case 3:
        AddGraphicsWindowToCollectionIPhonePortrait(c);
        break;
    case 2:
    case 4:
        AddGraphicsWindowToCollectionIPhoneLandscape(c);
        break;
    default:
        AddGraphicsWindowToCollectionNormal(c);
        break;
    }
    mwinGraphicsCollection = c;
    return c;
}

MWinWindow* GraphicsCollectionController::AddGraphicsWindowInLayout(
    const char* func, MWinCollection* collection, int layout, char (GraphicsCollectionController::*add_buttons)(MWinWindow*))
{
    MWinWindow* w = AddGraphicsWindow(func, collection, layout);
    if (!w)
        return nullptr;
    MenuFinishWindow(func, w, (this->*add_buttons)(w), this);
    mwinGraphicsGraphicsWindow = w;
    return w;
}

MWinWindow* GraphicsCollectionController::AddGraphicsWindowToCollectionNormal(MWinCollection* collection)
{
    return AddGraphicsWindowInLayout(__PRETTY_FUNCTION__, collection, 0,
                                     &GraphicsCollectionController::AddGraphicsWindowButtonsToWindowNormal);
}

MWinWindow* GraphicsCollectionController::AddGraphicsWindowToCollectionIPhonePortrait(MWinCollection* collection)
{
    return AddGraphicsWindowInLayout(__PRETTY_FUNCTION__, collection, 1,
                                     &GraphicsCollectionController::AddGraphicsWindowButtonsToWindowIPhonePortrait);
}

MWinWindow* GraphicsCollectionController::AddGraphicsWindowToCollectionIPhoneLandscape(MWinCollection* collection)
{
    return AddGraphicsWindowInLayout(__PRETTY_FUNCTION__, collection, 2,
                                     &GraphicsCollectionController::AddGraphicsWindowButtonsToWindowIPhoneLandscape);
}

char GraphicsCollectionController::AddGraphicsWindowButtonsToWindowNormal(MWinWindow* window)
{
    return AddGraphicsWidgets(__PRETTY_FUNCTION__, window, graphics_normal, COUNT(graphics_normal));
}

char GraphicsCollectionController::AddGraphicsWindowButtonsToWindowIPhonePortrait(MWinWindow* window)
{
    return AddGraphicsWidgets(__PRETTY_FUNCTION__, window, graphics_portrait, COUNT(graphics_portrait));
}

char GraphicsCollectionController::AddGraphicsWindowButtonsToWindowIPhoneLandscape(MWinWindow* window)
{
    return AddGraphicsWidgets(__PRETTY_FUNCTION__, window, graphics_landscape, COUNT(graphics_landscape));
}

void GraphicsCC::StartingCB()
{
    GraphicsControlCreateGraphics();
    if (mwinGraphicsGraphicsSetChoice)
    {
        mwinGraphicsGraphicsSetChoice->ChoiceSetStrings(OPTIONS_NUM_COLOUR_SETS, g_num1_strs);
        mwinGraphicsGraphicsSetChoice->ChoiceRegisterIntVariable(&options.cur_colour_set, 0);
    }
    if (mwinGraphicsGraphicsSelChoice)
    {
        mwinGraphicsGraphicsSelChoice->ChoiceSetStrings(OPTIONS_NUM_COLOUR_PARTS, g_choice_sel_strs);
        mwinGraphicsGraphicsSelChoice->ChoiceRegisterIntVariable(&options.cur_colour_part, 1);
    }
    if (mwinGraphicsGraphicsBackButton)
        mwinGraphicsGraphicsBackButton->SetEscapeButtonForParentWindow();
    if (mwinGraphicsGraphicsFrameButton)
        mwinGraphicsGraphicsFrameButton->SetBackTexButToNone();
    if (mwinGraphicsGraphicsFrameBgButton)
        mwinGraphicsGraphicsFrameBgButton->SetBackTexButToNone();
    GraphicsControlUpdateButtons();
    if (mwinGraphicsGraphicsFrameButton)
    {
        _Dimension area;
        mwinGraphicsGraphicsFrameButton->GetActualArea(&area);
        board_dimensions_graphics[BOARD_DIM_BOARD] = area;
        board_dimensions_graphics[BOARD_DIM_NUMBER_PAD].x = area.x + area.w + 20;
        board_dimensions_graphics[BOARD_DIM_NOTE_PAD].x = area.x + area.w + 20;
    }
    VizavuInitDimensions();
}

char GraphicsCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    if (!button)
        return 0;
    if (button == mwinGraphicsGraphicsSetChoice)
    {
        // The chosen set shows its own stored colours; only Reset brings back the defaults.
        GraphicsControlUpdateButtons();
        UpdateCols(1, 0);
        return 1;
    }
    if (button == mwinGraphicsGraphicsSelChoice)
    {
        GraphicsControlUpdateButtons();
        return 1;
    }
    if (button == mwinGraphicsGraphicsColColour)
    {
        UpdateCols(0, info ? info->colour_flag : 0);
        return 1;
    }
    if (button == mwinGraphicsGraphicsResetSetButton)
    {
        ResetCurrentSet();
        UpdateCols(1, 0);
        GraphicsControlUpdateButtons();
        return 1;
    }
    if (button == mwinGraphicsGraphicsBackButton)
    {
        GraphicsControlDestroyGraphics();
        VizavuInitDimensions();
        mwinp->GoBackToPreviousScreen();
        return 1;
    }
    return 0;
}

void GraphicsCC::UpdateCols(char all, char held)
{
    int part = options.cur_colour_part;
    if (all || part == OPTIONS_COL_SCREEN)
        UpdateBgColour();
    if ((all || part == OPTIONS_COL_BOARD || part == OPTIONS_COL_LINES) && !held)
    {
        retint_countdown = 2;
        BoardUpdateNumbersBgColour();
        BoardUpdateNotesBgColour();
    }
    if (all || part == OPTIONS_COL_PUZZLE_NUMBERS)
        VizavuUpdateOrigTextColour();
    if (all || part == OPTIONS_COL_PLACED_NUMBERS)
        VizavuUpdateNormTextColour();
    if (all || part == OPTIONS_COL_NOTES)
        VizavuUpdateNoteTextColour();
    if (retint_countdown == 2 && mwinp && mwinp->IsOn())
    {
        if (!mwinp->PopupIsOn() && retint_seconds >= GRAPHICS_SLOW_RETINT_SECONDS)
            notice_shown = MWinPopupNotice(mwinp, nullptr, "Please wait...");
        mwinp->AllowInput(0);
    }
}

void GraphicsCC::TickCB()
{
    if (retint_countdown <= 0)
        return;
    signed char was = retint_countdown--;
    if (was == 2)
        return; // one frame first, with the notice if one is up
    if (retint_seconds == 0)
    {
        double start = EngMainUpdateCurrentTime();
        BoardUpdateBoardBgColour();
        retint_seconds = EngMainUpdateCurrentTime() - start;
    }
    else
        BoardUpdateBoardBgColour();
    if (!mwinp)
        return;
    // Only the notice opened here is closed; another popup stays.
    if (notice_shown && mwinp->IsOn() && mwinp->PopupIsOn())
        mwinp->PopupTurnOff();
    notice_shown = 0;
    mwinp->AllowInput(1);
}
