// The game's application object.
#include "Game.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "BoardDraw.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngMiscStrings.h"
#include "EngMiscTime.h"
#include "EngRandom.h"
#include "EngUnicode.h"
#include "EngWindow.h"
#include "GameHooks.h"
#include "GraphicsControl.h"
#include "MainScreen.h"
#include "MiscScreen.h"
#include "MWin/MWin.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"
#include "MWin/MWinTextEdit.h"
#include "Options.h"
#include "PrefFolder.h"
#include "Print.h"
#include "RecordFile.h"
#include "Resolution.h"
#include "ResolutionDialog.h"
#include "Skin.h"
#include "Various.h"
#include "Vizavu.h"
#include "VizavuSave.h"
#include "VizavuScreens.h"

namespace
{
_EngCreateWindowParms main_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};

const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 SCREEN_INGA = EngFourCC('I', 'N', 'G', 'A');
const EngUInt32 SCREEN_GRAP = EngFourCC('G', 'R', 'A', 'P');
const EngUInt32 SCREEN_GADS = EngFourCC('G', 'A', 'D', 'S');

const char USE_BMP_FONTS = 0;

MWinScreens* Screens()
{
    return main_screens;
}

bool WindowActive(EngProgram* p)
{
    EngWindow* w = p->GetWindow();
    return w && w->IsActive();
}

// An active window on the active collection takes mouse presses first.
bool ToolkitHasActiveWindow()
{
    if (!main_mwin || !main_mwin->GetDesktop())
        return false;
    MWinDesktop* d = main_mwin->GetDesktop();
    return d->GetActiveCollection() && d->GetActiveWindow();
}

// Without its data folder the game keeps nothing: say so once, and where.
void TellSavingIsOff()
{
    static const char head[] =
        "Your settings and saved games cannot be kept: the game could not make its folder\n";
    static const char tail[] = "\n\nYou can play, and a puzzle you leave can be resumed until you quit, but "
                               "nothing is kept after that.";
    // The box holds the whole text only with a long folder shortened.
    const size_t room = ENG_POPUP_TEXT_MAX - (sizeof(head) - 1) - (sizeof(tail) - 1);
    const std::string text = head + EngUtf8ShortenInMiddle(PrefFolderGetWantedMainFolder(), room) + tail;
    EngMiscShowPopupMessage(1, "Nothing Will Be Saved", text.c_str());
}

// "Quit" on the failed-save popup: the player leaves anyway.
void QuitWithoutSavingCB(MWin*, char result, void*)
{
    if (result == MWIN_POPUP_RESULT_OK)
        EngMiscCloseProgram();
}
} // namespace

Game* main_game = nullptr;
EngFont* main_font = nullptr;
MWin* main_mwin = nullptr;
VizavuScreens* main_screens = nullptr;
char main_saving_off = 0;
signed char (*main_display_settings_dialog)() = ResolutionShowAndRunWindow;

void GameSaveFailedText(char* out, size_t size, int err, const char* tail)
{
    snprintf(out, size, "The game could not be saved%s%s%s.%s", err ? " (" : "", err ? strerror(err) : "",
             err ? ")" : "", tail ? tail : "");
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &main_parms;
}

const char* MainGetGameName()
{
    return "Kestrelbay' Vizavu";
}

void ModulesSetEngPictureTextureFileOverwriteCB(void (*)()) {}

EngUInt32 GameGetCurrentScreen()
{
    MWinScreens* s = Screens();
    return s ? s->GetCurrentScreen() : 0;
}

char MainCreateAndInitMainProgram(void* platform, int argc, char** argv, int* exit_code)
{
    main_game = new (std::nothrow) Game();
    if (!main_game)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        if (exit_code)
            *exit_code = -1;
        return 0;
    }
    char r = main_game->Init(platform, argc, argv);
    if (r < 0)
    {
        if (exit_code)
            *exit_code = 0;
        return 0;
    }
    if (r == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Init Failed");
        if (exit_code)
            *exit_code = -1;
        return 0;
    }
    return 1;
}

void MainExitAndDeleteMainProgram(char)
{
    if (!main_game)
        return;
    main_game->Exit(1);
    delete main_game;
    main_game = nullptr;
}

Game::Game() : EngProgram() {}

Game::~Game()
{
    corner_tex.Destroy();
}

char Game::InitCB(int, char**)
{
    VizavuForgetKeptGames();
    main_font = new (std::nothrow) EngFont();
    main_mwin = new (std::nothrow) MWin(this);
    if (!main_font || !main_mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    // Text fields copy and paste through the system clipboard.
    mwin_clipboard_copy = VariousCopyClipboardFromString;
    mwin_clipboard_paste = VariousPasteClipboardToString;
    main_screens = new (std::nothrow) VizavuScreens(this, main_mwin);
    if (!main_screens)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }

    PrefFolderSetup("Kestrelbay Vizavu", 1, "LogFile.txt", 1);
    main_saving_off = PrefFolderIsMainFolderMade() ? 0 : 1;
    if (main_saving_off)
        TellSavingIsOff();
    else
        EngFileRemoveInterruptedSaves(PrefFolderGetMainFolder(), RecordFileIsGameRecord);
    PrintRemoveInterruptedPrints();
    EngRandomInit();
    SetMainDeviceType(1);

    EngMiscDateAndTime dt = {};
    EngMiscGetCurrentDateAndTime(&dt);
    DebugInfo("%s started at %d/%d/%d %d:%02d:%02d", MainGetGameName(), int(dt.date.day), int(dt.date.month),
              int(dt.date.year), int(dt.hour), int(dt.minute), int(dt.second));
    DebugInfo("------------------------------------------------");

    signed char r = main_display_settings_dialog ? main_display_settings_dialog() : 1;
    return r > 0 ? 1 : r;
}

char Game::PreCreateWindowCB(_EngCreateWindowParms*)
{
    return 1;
}

char Game::PreDeviceInitCB()
{
    EffectsPre3dInit();
    VizavuMWinSetMWinSettings(main_mwin);
    VizavuMWinSetupTexturesAndTexButs(main_mwin);
    if (main_mwin && main_mwin->GetFonts())
        main_mwin->GetFonts()->AddUserFontPointer("Main", main_font);
    VizavuMWinAdjustDesktopSettings(main_mwin);
    if (main_mwin)
    {
        MWinPopupSetupTexturesAndFonts(main_mwin, "Back2", "TitleBack", "Main", "Main", "Main", 0, 0, 0, 0.7f,
                                       1, 1.4f, 1, 1, 1, 0.4f, 1.2f, 1.8f, 1);
        MWinPopupSetupButtonSizes(main_mwin, 350, 580, 120, 30);
    }
    VizavuPre3dInit();
    OptionsLoad();
    MiscSetPower();
    return 1;
}

char Game::PostDeviceInitCB()
{
    EngDevice* dev = GetDevice();
    if (!dev)
        return 0;
    dev->TurnOffDepthBufferIfNeeded();
    dev->UseDepthBuffer(0);
    if (!SoundInit())
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem loading sounds");
    MWinScreens* s = Screens();
    if (s)
    {
        s->SetupAllScreens();
        s->StartScreen(SCREEN_MAIN, -1);
    }
    VizavuInitForNewGame();
    ResolutionSetupFullscreenToggle();
    ResolutionRestrictWindow();
    WindowResizedCB();
    if (main_mwin && main_mwin->HasScreens())
        main_mwin->StartScreensAtScreen(SCREEN_MAIN, -1);
    if (options.saved_screen == EngInt32(SCREEN_INGA))
        MainStartCB();
    return 1;
}

char Game::CreateGraphicsObjectsCB()
{
    if (!GetDevice() || !main_mwin || !main_mwin->CreateGraphicsObjects())
        return 0;
    if (!USE_BMP_FONTS)
    {
        EngFontShowCharWarnings(0);
        if (!VizavuMWinCreateFontApart(0, "engeexbo.ttf", main_font))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create the game font <engeexbo.ttf>");
            return 0;
        }
    }
    if (main_screens)
        main_screens->CreateGraphics();
    if (corner_tex.LoadFromTgaFile("WinCorner.tga", 1, 2, 0))
    {
        float w = 14.0f / eng_main_window_x_ratio, h = 14.0f / eng_main_window_y_ratio;
        corner_tex.PositionRatioed(640.0f - w, 480.0f - h, w, h);
    }
    GraphicsControlCreateGraphics();
    if (!VizavuCreateGraphics())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load graphics");
        return 0;
    }
    return 1;
}

char Game::PostCreateGraphicsObjectsCB()
{
    EngDevice* dev = GetDevice();
    if (!dev)
        return 0;
    dev->TurnOffLighting();
    dev->PrepareFor2DIfNeeded(1);
    dev->TurnOffDepthBufferIfNeeded();
    if (GameGetCurrentScreen() != SCREEN_GADS)
        UpdateBgColour();
    dev->SetTransformMatrixIdentity();
    return 1;
}

void Game::DestroyGraphicsObjectsCB()
{
    if (!GetDevice())
        return;
    VizavuDestroyGraphics();
    GraphicsControlDestroyGraphics();
    corner_tex.Destroy();
    if (main_screens)
        main_screens->DestroyGraphics();
    if (main_font)
        main_font->Destroy();
    if (main_mwin)
        main_mwin->DestroyGraphicsObjects();
}

char Game::TickCB()
{
    if (!GetDevice())
        return 0;
    if (!WindowActive(this))
        return 1;
    SoundBgMusicTick();
    MWinScreens* s = Screens();
    if (s)
        s->Tick();
    if (main_mwin && main_mwin->IsOn())
    {
        if (GameGetCurrentScreen() == SCREEN_INGA)
            VizavuTick();
    }
    else
        EffectsTickMuiOff();
    return 1;
}

void Game::RenderCB()
{
    EngDevice* dev = GetDevice();
    if (!dev)
        return;
    dev->ClearScreen();
    dev->BeginRenderingIfNeeded();
    MWinScreens* s = Screens();
    if (main_mwin && main_mwin->IsOn())
    {
        EngUInt32 screen = GameGetCurrentScreen();
        if (s)
            s->Render(MWIN_RENDER_STAGE_BEFORE);
        if (screen == SCREEN_MAIN)
            MainControlRender();
        else if (screen == SCREEN_INGA)
            VizavuRender();
        EffectsRenderMuiOn();
        main_mwin->RenderMain();
        if (GameGetCurrentScreen() == SCREEN_GRAP)
            GraphicsRender();
        if (s)
            s->Render(MWIN_RENDER_STAGE_AFTER);
        main_mwin->RenderPopups();
    }
    else
    {
        VizavuRender();
        EffectsRenderMuiOff();
    }
    RenderMacWindowCorner();
    dev->EndRendering();
}

void Game::RenderMacWindowCorner()
{
    EngDevice* dev = GetDevice();
    if (!dev || !eng_main_window_windowed || !corner_tex.IsOk())
        return;
    char entered = dev->PrepareFor2DIfNeeded(1);
    dev->EnableBlendingType(17);
    corner_tex.Draw();
    dev->DisableBlending();
    if (entered)
        dev->RestoreAfter2D();
}

void Game::UpdateBgColour()
{
    EngDevice* dev = GetDevice();
    if (!dev)
        return;
    EngUInt32 toolkit_screen = main_mwin ? main_mwin->GetCurrentScreen() : 0;
    if (toolkit_screen == SCREEN_GRAP || GameGetCurrentScreen() == SCREEN_INGA)
    {
        int set = options.cur_colour_set;
        if (set < 0 || set >= OPTIONS_NUM_COLOUR_SETS)
            set = 0;
        const float* c = options.colours[set][OPTIONS_COL_SCREEN];
        dev->SetClearColour(c[0], c[1], c[2]);
    }
    else
        dev->SetClearColour(0, 0, 0);
}

void Game::SetupLights()
{
    if (GetDevice())
        GetDevice()->TurnOffLighting();
}

char Game::InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2)
{
    if (!WindowActive(this))
        return 0;
    if (!main_mwin)
        return 0;
    // The second click of a double click that changed the screen acts nowhere.
    if (!main_mwin->ClickIsForThisScreen(type, p1, p2))
        return 1;
    if (GameGetCurrentScreen() != SCREEN_INGA)
        return main_mwin->ProcessInput(type, p1, p2);
    char taken = 0;
    switch (type)
    {
    case ENG_INPUT_MOUSE_MOVE:
        MoveMouse(int(p1), int(p2));
        return main_mwin->ProcessInput(type, p1, p2);
    case ENG_INPUT_MOUSE_BUTTON:
        taken = MouseButtonPressed(char(p1), char(p2));
        break;
    case ENG_INPUT_DOUBLE_CLICK:
        taken = MouseButtonDoubleClicked(char(p1));
        break;
    case ENG_INPUT_KEY_DOWN:
        taken = KeyDownCB(int(p1));
        break;
    default:
        break;
    }
    if (taken)
        return 1;
    return main_mwin->ProcessInput(type, p1, p2);
}

void Game::MoveMouse(int x, int y)
{
    VizavuMoveMouse(x, y);
}

void Game::MoveMouse(float x, float y)
{
    VizavuMoveMouse(x, y);
}

char Game::MouseButtonPressed(char button, char pressed)
{
    if (GameGetCurrentScreen() != SCREEN_INGA || ToolkitHasActiveWindow())
        return 0;
    VizavuMouseButtonPressed(button, pressed);
    return 1;
}

char Game::MouseButtonDoubleClicked(char button)
{
    if (GameGetCurrentScreen() != SCREEN_INGA || ToolkitHasActiveWindow())
        return 0;
    return VizavuMouseButtonDoubleClicked(button);
}

char Game::KeyDownCB(int key)
{
    if (GameGetCurrentScreen() != SCREEN_INGA)
        return 0;
    if (key == ENG_KEY_ESCAPE)
        InGameMenuCB();
    else
        VizavuKeyDownCB(key);
    return 1;
}

char Game::MouseWheelMoved(int delta)
{
    if (GameGetCurrentScreen() != SCREEN_INGA || ToolkitHasActiveWindow())
        return 0;
    VizavuMouseWheelMoved(delta);
    return 1;
}

void Game::WindowActivatedCB(char) {}

void Game::WindowResizedCB()
{
    MiscSetPower();
    MWinScreens* s = Screens();
    if (s && s->AreOn())
        s->ReloadCurrentScreen();
}

void Game::PreDeviceExitCB()
{
    if (!state_saved)
        SaveGameState();
}

char Game::SaveGameState()
{
    options.saved_screen = (main_mwin && main_mwin->IsOn()) ? EngInt32(main_mwin->GetCurrentScreen()) : -1;
    save_error = 0;
    char ok = 1;
    auto check = [&](char saved)
    {
        if (!saved && ok)
            save_error = EngFileGetLastSaveError();
        ok = ok && saved;
    };
    check(VizavuSaveGame(0));
    // Puzzles left while their saves failed, once there is room again.
    if (ok)
        check(VizavuSaveKeptGames());
    check(OptionsSave());
    ResolutionUpdateSettingsFromScreen();
    check(ResolutionSave());
    return ok;
}

char Game::PlayerQuitCB()
{
    // Without a data folder the player knows nothing is kept.
    if (main_saving_off)
        return 1;
    if (SaveGameState())
    {
        state_saved = 1;
        return 1;
    }
    if (!main_mwin || !main_mwin->IsOn())
        return 1;
    // Leaving now would lose the moves: say why and let the player choose.
    char text[400];
    GameSaveFailedText(text, sizeof(text), save_error, "\n\nQuit without saving?");
    MWinPopupTurnOff(main_mwin);
    MWinPopupChangeButtonTextsForNextPopup(main_mwin, "Quit", "Stay");
    MWinPopupSetErrorColoursForNextPopup(main_mwin);
    MWinPopupOkCancel(main_mwin, "Save Failed", text, QuitWithoutSavingCB, nullptr);
    return 0;
}

void Game::ExitCB()
{
    VizavuPost3dExit();
    SoundExit();
    VizavuForgetKeptGames();
    delete main_screens;
    main_screens = nullptr;
    delete main_mwin;
    main_mwin = nullptr;
    delete main_font;
    main_font = nullptr;
}
