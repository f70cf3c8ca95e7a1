// The game's screen set and the helpers every screen's layout shares.
#include "VizavuScreens.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "AboutScreen.h"
#include "ControlsScreen.h"
#include "Game.h"
#include "GameAdsScreen.h"
#include "GraphicsScreen.h"
#include "InGameScreen.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinWindow.h"
#include "MainScreen.h"
#include "MiscScreen.h"
#include "OptionsScreen.h"

const EngUInt32 MAIN_SCREEN_ID = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 IN_GAME_SCREEN_ID = EngFourCC('I', 'N', 'G', 'A');
const EngUInt32 OPTIONS_SCREEN_ID = EngFourCC('O', 'P', 'T', 'N');
const EngUInt32 GRAPHICS_SCREEN_ID = EngFourCC('G', 'R', 'A', 'P');
const EngUInt32 CONTROLS_SCREEN_ID = EngFourCC('C', 'O', 'N', 'T');
const EngUInt32 MISC_SCREEN_ID = EngFourCC('M', 'I', 'S', 'C');
const EngUInt32 ABOUT_SCREEN_ID = EngFourCC('A', 'B', 'O', 'T');

VizavuScreens* vizavu_screens = nullptr;

VizavuScreens::VizavuScreens(Game* game, MWin* mwin) : MWinScreens(mwin, 0), game_p(game)
{
    DebugAssertAlt(game_p != nullptr, __PRETTY_FUNCTION__, "No game_p");
    vizavu_screens = this;
    main_cc = new MainCC(this);
    options_cc = new OptionsCC(this);
    controls_cc = new ControlsCC(this);
    graphics_cc = new GraphicsCC(this);
    misc_cc = new MiscCC(this);
    in_game_cc = new InGameCC(this);
    about_cc = new AboutCC(this);
    game_ads_cc = new GameAdsCC(this);
}

VizavuScreens::~VizavuScreens()
{
    RemoveAllScreens();
    delete main_cc;
    delete options_cc;
    delete controls_cc;
    delete graphics_cc;
    delete misc_cc;
    delete about_cc;
    delete game_ads_cc;
    delete in_game_cc;
    if (vizavu_screens == this)
        vizavu_screens = nullptr;
}

char VizavuScreens::SetupProgramScreens()
{
    struct Entry
    {
        EngUInt32 code;
        MWinCollectionController* cc;
    };
    const Entry entries[] = {
        {MAIN_SCREEN_ID, main_cc},         {OPTIONS_SCREEN_ID, options_cc},
        {CONTROLS_SCREEN_ID, controls_cc}, {GRAPHICS_SCREEN_ID, graphics_cc},
        {MISC_SCREEN_ID, misc_cc},         {IN_GAME_SCREEN_ID, in_game_cc},
        {ABOUT_SCREEN_ID, about_cc},       {VIZAVU_GAME_ADS_SCREEN_ID, game_ads_cc},
    };
    char ok = 1;
    for (const Entry& e : entries)
        if (!e.cc || !AddScreen(e.code, e.cc))
            ok = 0;
    SetCurrentScreen(MAIN_SCREEN_ID);
    return ok;
}

void VizavuScreens::PreScreensStartCB()
{
    if (eng_main_device)
        eng_main_device->SetClearColour(0, 0, 0);
    game_p->UpdateBgColour();
}

void VizavuScreens::PreScreenChangeCB()
{
    MWin* mwin = GetMWin();
    if (mwin && mwin->GetDesktop())
        mwin->GetDesktop()->RemoveAllCollections();
    game_p->UpdateBgColour();
}

void VizavuScreens::PostScreenChangeCB(unsigned int)
{
    if (GetMWin())
        GetMWin()->ButtonsChanged();
    game_p->UpdateBgColour();
}

void VizavuScreens::PostScreensFinishCB()
{
    game_p->UpdateBgColour();
}

char VizavuScreens::CreateGraphics()
{
    if (GetCurrentScreen() == VIZAVU_GAME_ADS_SCREEN_ID)
        GetGameAdsCC()->CreateGraphics();
    return 1;
}

void VizavuScreens::DestroyGraphics()
{
    if (game_ads_cc)
        game_ads_cc->DestroyGraphics();
}

GameAdsCC* VizavuScreens::GetGameAdsCC()
{
    DebugAssertAlt(game_ads_cc != nullptr, __PRETTY_FUNCTION__, "No game ads CC.");
    return game_ads_cc;
}

MWin* VizavuSetScreensVar(MWinCollectionController* controller, MWinScreens* screens)
{
    DebugAssertAlt(controller && screens && screens->GetMWin(), __PRETTY_FUNCTION__, "%s", "");
    controller->SetScreens(screens);
    return screens->GetMWin();
}

void VizavuScreensFillCreateInfo(_MWinWindowCreateInfo* info, float x, float y, float w, float h,
                                 const char* title, const char* title_texbut, const char* back_texbut)
{
    memset(info, 0, sizeof(*info));
    info->type = 0;
    info->move_mode = 0;
    info->title_bar = 0;
    info->hide_button = 0;
    info->x = x;
    info->y = y;
    info->w = w;
    info->h = h;
    EngSafeStrcpy(info->title, title ? title : "", sizeof(info->title));
    EngSafeStrcpy(info->title_texbut, title_texbut, sizeof(info->title_texbut));
    EngSafeStrcpy(info->back_texbut, back_texbut, sizeof(info->back_texbut));
    EngSafeStrcpy(info->title_font, MWIN_FONT_DEFAULT, sizeof(info->title_font));
}

void VizavuScreensStyleButton(MWinButton* button, const char* font, float r, float g, float b, float a,
                              float sx, float sy, int align)
{
    if (!button)
        return;
    button->SetFont(font);
    button->SetTextColour(r, g, b, a);
    button->SetTextScale(sx, sy);
    button->SetTextAlign(align);
}
