// The main menu screen.
#include "MainScreen.h"

#include <cstdio>

#include "Board.h"
#include "BoardDraw.h"
#include "EngDebug.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinHorzScrollbar.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "Game.h"
#include "GameAdsScreen.h"
#include "OnlineHooks.h"
#include "Options.h"
#include "Print.h"
#include "Vizavu.h"
#include "VizavuSave.h"
#include "VizavuScreens.h"

MWinCollection* mwinMainCollection = nullptr;
MWinWindow* mwinMainMainWindow = nullptr;
MWinButton* mwinMainMainTitleButton = nullptr;
MWinButton* mwinMainMainFrameButton = nullptr;
MWinButton* mwinMainMainStartButton = nullptr;
MWinButton* mwinMainMainPrevButton = nullptr;
MWinButton* mwinMainMainTrackHScrollbar = nullptr;
MWinButton* mwinMainMainNextButton = nullptr;
MWinButton* mwinMainMainPrevDiffButton = nullptr;
MWinButton* mwinMainMainDiffButton = nullptr;
MWinButton* mwinMainMainNextDiffButton = nullptr;
MWinButton* mwinMainMainResetButton = nullptr;
MWinButton* mwinMainMainPrintButton = nullptr;
MWinButton* mwinMainMainOptionsButton = nullptr;
MWinButton* mwinMainMainGamesButton = nullptr;
MWinButton* mwinMainMainAboutButton = nullptr;
MWinButton* mwinMainMainExitButton = nullptr;

namespace
{
const char* const MAIN_ID = "Main";

struct MainWidget
{
    const char* id;
    _MWinButtonType kind;
    const char* texbut;
    const char* text;
    float x, y, w, h;
    float sx, sy;
    MWinButton** global;
};

const MainWidget main_widgets[] = {
    {"Title", MWIN_BUTTON_PUSH, "MainTitle", "", 180, 5, 280, 65, 1, 1, &mwinMainMainTitleButton},
    {"Frame", MWIN_BUTTON_PUSH, "Main", "", 190, 140, 260, 220, 0.9f, 1.8f, &mwinMainMainFrameButton},
    {"Start", MWIN_BUTTON_PUSH, "Main", "Start", 470, 220, 130, 60, 0.9f, 1.8f, &mwinMainMainStartButton},
    {"Prev", MWIN_BUTTON_PUSH, "ArrowL", "", 165, 375, 40, 40, 0.9f, 1.8f, &mwinMainMainPrevButton},
    {"Track", MWIN_BUTTON_HORZ_SCROLLBAR, "Main", "Easy 1", 215, 375, 210, 40, 0.7f, 1,
     &mwinMainMainTrackHScrollbar},
    {"Next", MWIN_BUTTON_PUSH, "ArrowR", "", 435, 375, 40, 40, 0.9f, 1.8f, &mwinMainMainNextButton},
    {"PrevDiff", MWIN_BUTTON_PUSH, "ArrowL", "", 165, 85, 40, 40, 0.9f, 1.8f, &mwinMainMainPrevDiffButton},
    {"Diff", MWIN_BUTTON_PUSH, "Main", "Diff", 215, 85, 210, 40, 0.9f, 1.8f, &mwinMainMainDiffButton},
    {"NextDiff", MWIN_BUTTON_PUSH, "ArrowR", "", 435, 85, 40, 40, 0.9f, 1.8f, &mwinMainMainNextDiffButton},
    {"Reset", MWIN_BUTTON_PUSH, "Main", "Reset", 40, 220, 130, 30, 0.7f, 1, &mwinMainMainResetButton},
    {"Print", MWIN_BUTTON_PUSH, "Main", "Print", 40, 250, 130, 30, 0.7f, 1, &mwinMainMainPrintButton},
    {"Options", MWIN_BUTTON_PUSH, "Main", "Options", 500, 430, 120, 40, 0.9f, 1.8f,
     &mwinMainMainOptionsButton},
    {"Games", MWIN_BUTTON_PUSH, "Main", "Games", 340, 430, 120, 40, 0.9f, 1.8f, &mwinMainMainGamesButton},
    {"About", MWIN_BUTTON_PUSH, "Main", "About", 180, 430, 120, 40, 0.9f, 1.8f, &mwinMainMainAboutButton},
    {"Exit", MWIN_BUTTON_PUSH, "Main", "Exit", 20, 430, 120, 40, 0.9f, 1.8f, &mwinMainMainExitButton},
};

// The toolkit of the live screen set, null without one.
MWin* ScreensMWin()
{
    return vizavu_screens ? vizavu_screens->GetMWin() : nullptr;
}

MWinButton* MainFind(const char* id)
{
    return ScreensMWin() ? ScreensMWin()->GetButtonFromIDs(MAIN_ID, MAIN_ID, id, 0) : nullptr;
}

int MainLevel()
{
    int level = options.cur_level;
    return level < 0 ? 0 : level >= VIZAVU_NUM_LEVELS ? VIZAVU_NUM_LEVELS - 1 : level;
}
} // namespace

MainCollectionController::MainCollectionController(MWinScreens* screens)
{
    RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char MainCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void MainCollectionController::RemoveVars()
{
    mwinMainCollection = nullptr;
    mwinMainMainWindow = nullptr;
    for (const MainWidget& w : main_widgets)
        *w.global = nullptr;
}

MWinCollection* MainCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinMainCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, MAIN_ID);
    if (!c)
        return nullptr;
    AddMainWindowToCollectionNormal(c);
    mwinMainCollection = c;
    return c;
}

MWinWindow* MainCollectionController::AddMainWindowToCollectionNormal(MWinCollection* collection)
{
    mwinMainMainWindow = nullptr;
    if (!collection)
        return nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, MAIN_ID, 0, 0, 0, 640, 480, "", MWIN_TEXBUT_NONE,
                                  MWIN_TEXBUT_NONE);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddMainWindowButtonsToWindowNormal(w), this);
    mwinMainMainWindow = w;
    return w;
}

char MainCollectionController::AddMainWindowButtonsToWindowNormal(MWinWindow* window)
{
    for (const MainWidget& w : main_widgets)
        *w.global = nullptr;
    if (!window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window");
        return 0;
    }
    for (const MainWidget& w : main_widgets)
    {
        MWinButton* b = w.kind == MWIN_BUTTON_HORZ_SCROLLBAR
                            ? window->AddHorzScrollbar(w.id, w.texbut, w.text, w.x, w.y, w.w, w.h)
                            : window->AddButton(w.id, w.kind, w.texbut, w.text, w.x, w.y, w.w, w.h);
        if (!b)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not add button(s) to window");
            return 0;
        }
        *w.global = b;
        if (w.global == &mwinMainMainTitleButton)
            VizavuScreensStyleButton(b, MWIN_FONT_DEFAULT, 0, 0, 0, 1, 1, 1, MWIN_ALIGN_CENTRE);
        else
            VizavuScreensStyleButton(b, "Main", 0, 0, 0, 0.7f, w.sx, w.sy, MWIN_ALIGN_CENTRE);
    }
    return 1;
}

void MainCC::StartingCB()
{
    if (vizavu_screens)
        vizavu_screens->GetGame()->UpdateBgColour();
    if (MWinButton* diff = MainFind("Diff"))
        diff->SetText(level_text_strs[MainLevel()]);
    if (MWinButton* track = MainFind("Track"))
        static_cast<MWinHorzScrollbar*>(track)->SetValues(0, VIZAVU_NUM_PUZZLES - 1, 10, 1);
    MWinButton* frame = MainFind("Frame");
    if (frame)
        frame->SetBackTexButToNone();
    MainControlSelect(0);
    if (frame)
    {
        // The preview is the frame's area, squared on screen and centred in it.
        _Dimension area;
        frame->GetActualArea(&area);
        board_dimensions_main[BOARD_DIM_BOARD] = area;
        BoardMakeDimensionsSquare(&area, &board_dimensions_main[BOARD_DIM_BOARD]);
        VizavuInitDimensions();
    }
}

void MainControlSelect(char step)
{
    VizavuMakeLevelAndPuzzleValid();
    int level = MainLevel();
    int& puzzle = options.levels[level].cur_puzzle;
    if (step > 0 && puzzle < VIZAVU_NUM_PUZZLES - 1)
        puzzle++;
    else if (step < 0 && puzzle > 0)
        puzzle--;

    MWinButton* diff = MainFind("Diff");
    if (!diff)
        return;
    diff->SetText(level_text_strs[level]);
    MWinButton* track = MainFind("Track");
    if (!track)
        return;
    static_cast<MWinHorzScrollbar*>(track)->SetPos(puzzle, 0);
    char text[64];
    snprintf(text, sizeof(text), "%s Puzzle #%d", level_strs[level], puzzle + 1);
    track->SetText(text);

    char started = VizavuInitForNewGame();
    if (MWinButton* start = MainFind("Start"))
        start->SetText(!started ? "Start" : VizavuIsSolved() ? "Show" : "Resume");
    if (MWinButton* b = MainFind("Reset"))
        b->Enable(started ? 1 : 0);
    if (MWinButton* b = MainFind("PrevDiff"))
        b->Enable(level > 0);
    if (MWinButton* b = MainFind("NextDiff"))
        b->Enable(level < VIZAVU_NUM_LEVELS - 1);
    if (MWinButton* b = MainFind("Prev"))
        b->Enable(puzzle > 0);
    if (MWinButton* b = MainFind("Next"))
        b->Enable(puzzle < VIZAVU_NUM_PUZZLES - 1);
}

char MainCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    if (button == mwinMainMainDiffButton)
        MainControlSelect(-1);
    else if (button == mwinMainMainPrevDiffButton)
    {
        if (options.cur_level > 0)
            options.cur_level--;
        MainControlSelect(-1);
    }
    else if (button == mwinMainMainNextDiffButton)
    {
        if (options.cur_level <= VIZAVU_NUM_LEVELS - 2)
            options.cur_level++;
        MainControlSelect(-1);
    }
    else if (button == mwinMainMainPrevButton)
        MainControlSelect(-1);
    else if (button == mwinMainMainNextButton)
        MainControlSelect(1);
    else if (button == mwinMainMainTrackHScrollbar)
    {
        int pos = static_cast<MWinHorzScrollbar*>(button)->GetPos();
        if (pos < 0)
            pos = 0;
        if (pos > VIZAVU_NUM_PUZZLES - 1)
            pos = VIZAVU_NUM_PUZZLES - 1;
        options.levels[MainLevel()].cur_puzzle = pos;
        MainControlSelect(0);
    }
    else if (button == mwinMainMainStartButton)
        MainStartCB();
    else if (button == mwinMainMainResetButton)
        MWinPopupOkCancel(mwinp, "Reset Puzzle", "Are you sure you wish\nto reset this puzzle?\n",
                          MainControlAfterResetPopupCB, nullptr);
    else if (button == mwinMainMainPrintButton)
        PrintDo();
    else if (button == mwinMainMainOptionsButton)
        mwinp->GotoScreen(OPTIONS_SCREEN_ID);
    else if (button == mwinMainMainAboutButton)
        mwinp->GotoScreen(ABOUT_SCREEN_ID);
    else if (button == mwinMainMainGamesButton)
        MainGameAdsCB();
    else if (button == mwinMainMainExitButton)
    {
        // The player's quit: the program saves first and may keep the player.
        if (eng_main_program)
            eng_main_program->PlayerQuit();
    }
    else
        return 0;
    return 1;
}

void MainControlAfterResetPopupCB(MWin*, char result, void*)
{
    if (result != 1)
        return;
    VizavuResetCurrentGame();
    MainControlSelect(0);
}

void MainStartCB()
{
    if (ScreensMWin())
        ScreensMWin()->GotoScreen(IN_GAME_SCREEN_ID);
    VizavuInitDimensions();
    VizavuInitForNewGame();
    VizavuMakeLevelAndPuzzleValid();
    int level = MainLevel();
    options.levels[level].opened[options.levels[level].cur_puzzle] = 1;
}

void MainControlRender()
{
    BoardRenderBoard(0);
}

void MainGameAdsCB()
{
    GameAdsSetupAdsToBeIncluded();
    DebugAssertAlt(vizavu_screens != nullptr, __PRETTY_FUNCTION__, "No game ads CC.");
    GameAdsCC* cc = vizavu_screens->GetGameAdsCC();
    cc->UseBrowseStyle();
    cc->CustomiseAppearence(0, 0.8f, 1.5f);
    char links[256];
    snprintf(links, sizeof(links), "%s/vizavu/iga/", OnlineGetSiteRoot());
    GameAdsSetInternetLinksPath(links, "Vizavu_LNX", nullptr);
    int* index = &options.other_games_index;
    GameAdsSetGameAdIntVariable(&index);
    GameAdsSetGetPicFilenameCB(GameAdsGetPicFilenameCB);
    if (ScreensMWin())
        ScreensMWin()->GotoScreen(VIZAVU_GAME_ADS_SCREEN_ID);
}
