// The display-settings dialog: its controls, lists and callbacks.
#include "ResolutionDialog.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "Resolution.h"
#include "Updater.h"

SWin* res_swin = nullptr;
int res_cur_fs_mode = 0;
int res_freq_pos[2] = {0, 0};
char res_start_game = 0;
char res_mode_strs[2][SWIN_STR_SIZE] = {"Fullscreen", "Windowed"};
char res_freq_str[32];
const char* res_title_picture = "TitleButton.png";

int resolution_pic_swb = -1;
int resolution_version_swb = -1;
int resolution_new_version_swb = -1;
int resolution_res_frame_swb = -1;
int resolution_mode_swb = -1;
int resolution_mode_t_swb = -1;
int resolution_res_t_swb = -1;
int resolution_res_swb = -1;
int resolution_freq_t_swb = -1;
int resolution_freq_swb = -1;
int resolution_aa_t_swb = -1;
int resolution_aa_swb = -1;
int resolution_aa_info_swb = -1;
int resolution_misc_frame_swb = -1;
int resolution_sync_t_swb = -1;
int resolution_cursor_t_swb = -1;
int resolution_cursor_info_swb = -1;
int resolution_sync_info_swb = -1;
int resolution_cursor_swb = -1;
int resolution_sync_swb = -1;
int resolution_ok_swb = -1;

namespace
{
// Set while the dialog fills and binds its lists: the kit then runs the
// lists' callbacks, which must not start the same work again.
char res_filling = 0;

struct FillGuard
{
    char old;
    FillGuard() : old(res_filling) { res_filling = 1; }
    ~FillGuard() { res_filling = old; }
};

struct ControlDef
{
    int* index;
    _SWinButtonType kind;
    int x, y, w, h;
    const char* text;
    int align; // -1 keeps the kit's
    const char* name;
};

// In the order of adding. The group frames make nothing: their indexes read 0.
const ControlDef res_controls[] = {
    {&resolution_version_swb, SWIN_BUT_STATIC_TEXT, 194, 124, 203, 20, "Version N.N", SWIN_ALIGN_CENTRE, "version"},
    {&resolution_res_frame_swb, SWIN_BUT_GROUP_FRAME, 16, 166, 352, 139, "Resolution", -1, "res_frame"},
    {&resolution_mode_swb, SWIN_BUT_LIST, 140, 183, 208, 20, "unset", -1, "mode"},
    {&resolution_mode_t_swb, SWIN_BUT_STATIC_TEXT, 32, 183, 96, 20, "Mode:", SWIN_ALIGN_RIGHT, "mode_t"},
    {&resolution_res_t_swb, SWIN_BUT_STATIC_TEXT, 32, 213, 96, 20, "Screen Size:", SWIN_ALIGN_RIGHT, "res_t"},
    {&resolution_res_swb, SWIN_BUT_POPUP, 140, 213, 168, 20, "", -1, "res"},
    {&resolution_freq_t_swb, SWIN_BUT_STATIC_TEXT, 32, 243, 96, 20, "Frequency:", SWIN_ALIGN_RIGHT, "freq_t"},
    {&resolution_freq_swb, SWIN_BUT_POPUP, 140, 243, 168, 20, "", -1, "freq"},
    {&resolution_aa_t_swb, SWIN_BUT_STATIC_TEXT, 32, 274, 96, 20, "Anti-Aliasing:", SWIN_ALIGN_RIGHT, "aa_t"},
    {&resolution_aa_swb, SWIN_BUT_POPUP, 140, 274, 168, 20, "", -1, "aa"},
    {&resolution_aa_info_swb, SWIN_BUT_PUSH, 320, 274, 32, 20, "?", -1, "aa_info"},
    {&resolution_pic_swb, SWIN_BUT_PICTURE, 16, 8, 560, 108, "", -1, "pic"},
    {&resolution_misc_frame_swb, SWIN_BUT_GROUP_FRAME, 384, 166, 192, 139, "Misc.", -1, "misc_frame"},
    {&resolution_sync_t_swb, SWIN_BUT_STATIC_TEXT, 421, 251, 120, 20, "Mouse Sync.", SWIN_ALIGN_CENTRE, "sync_t"},
    {&resolution_cursor_t_swb, SWIN_BUT_STATIC_TEXT, 421, 191, 120, 20, "Cursor Type", SWIN_ALIGN_CENTRE,
     "cursor_t"},
    {&resolution_cursor_info_swb, SWIN_BUT_PUSH, 528, 211, 32, 24, "?", -1, "cursor_info"},
    {&resolution_sync_info_swb, SWIN_BUT_PUSH, 528, 271, 32, 24, "?", -1, "sync_info"},
    {&resolution_cursor_swb, SWIN_BUT_POPUP, 400, 211, 120, 24, "", -1, "cursor"},
    {&resolution_sync_swb, SWIN_BUT_POPUP, 400, 271, 120, 24, "", -1, "sync"},
    {&resolution_new_version_swb, SWIN_BUT_PUSH, 403, 124, 173, 20, "Check for new version", -1, "new_version"},
    {&resolution_ok_swb, SWIN_BUT_PUSH, 209, 344, 173, 20, "Start", -1, "ok"},
};

const char* const res_aa_strs[3] = {"Off", "Normal [2x2]", "Strong [4x4]"};

const char* const res_aa_info_text =
    "Anti-aliasing removes the jagged edges that appear when running the game in low resolutions.\n\n"
    "It can greatly improve the visual quality of the game,but can slow down the graphics.\n\n"
    "Some systems do not support anti-aliasing.";

void ResetControlIndexes()
{
    for (const ControlDef& d : res_controls)
        *d.index = -1;
}

// The mode whose rates the frequency list shows.
const _EngResMode* CurrentMode()
{
    if (resolution.windowed)
        return r_res_modes->GetWindowedMode();
    return r_res_modes->GetMode(res_cur_fs_mode);
}

EngInt32* CurrentFrequency()
{
    return resolution.windowed ? &resolution.win_frequency : &resolution.fs_frequency;
}

// The resources folder's file, or the name alone (the working directory is
// the resources folder while the game runs).
void ResourcePath(const char* name, char* out, size_t size)
{
    char folder[1024] = {};
    if (name[0] == '/')
        folder[0] = 0;
    else if (eng_main_program && eng_main_program->GetResourcesPath()[0])
        EngSafeStrcpy(folder, eng_main_program->GetResourcesPath(), sizeof(folder));
    else if (!EngProgramFindResourcesPath(folder, sizeof(folder)))
        folder[0] = 0;
    int n = folder[0] ? snprintf(out, size, "%s/%s", folder, name) : snprintf(out, size, "%s", name);
    if (n < 0 || size_t(n) >= size)
        snprintf(out, size, "%s", name);
}

void DestroyDialogAndModes()
{
    if (res_swin)
    {
        delete res_swin;
        res_swin = nullptr;
    }
    ResetControlIndexes();
    delete r_res_modes;
    r_res_modes = nullptr;
}
} // namespace

const char* ResolutionGetResModeStringCB(int n, void* context)
{
    if (!context)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No context.");
        return "";
    }
    return static_cast<EngResModes*>(context)->GetFullScreenResModeEntryAsString(n);
}

const char* ResolutionGetFrequencyStringCB(int n, void*)
{
    res_freq_str[0] = 0;
    if (!r_res_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No res modes.");
        return res_freq_str;
    }
    const _EngResMode* mode = CurrentMode();
    if (mode && n >= 0 && n < mode->num_freqs)
        snprintf(res_freq_str, sizeof(res_freq_str), "%d Hz", int(mode->freqs[n]));
    return res_freq_str;
}

const char* ResolutionFillAAListCB(int n, void*)
{
    if (n < 0 || n >= 3)
        return "";
    return res_aa_strs[n];
}

char ResolutionCreateSWinWindow(SWin* win)
{
    if (!win)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return 0;
    }
    if (win->IsCreated())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Window alreaady created");
        return 0;
    }
    _SWinCreateInfo info;
    memset(&info, 0, sizeof(info));
    info.x = -1;
    info.y = -1;
    info.width = RESOLUTION_DIALOG_WIDTH;
    info.height = RESOLUTION_DIALOG_HEIGHT;
    if (!win->CreateMainWindow(&info))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create main window");
        return 0;
    }
    ResetControlIndexes();
    for (const ControlDef& d : res_controls)
    {
        *d.index = win->AddButtonToWindow(d.kind, d.x, d.y, d.w, d.h, d.text);
        if (*d.index < 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not add button <%s>", d.name);
            win->DestroyMainWindow();
            ResetControlIndexes();
            return 0;
        }
        if (d.align >= 0)
            win->SetButtonTextAlign(*d.index, _SWinTextAlign(d.align));
    }
    return 1;
}

char ResolutionSetupModeButtons()
{
    if (!res_swin || !r_res_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No res modes.");
        return 0;
    }
    FillGuard guard;
    int n = r_res_modes->GetNumModes();
    if (!res_swin->ListSetStrsCallback(resolution_res_swb, n, ResolutionGetResModeStringCB, r_res_modes))
        return 0;
    res_cur_fs_mode =
        r_res_modes->GetFullscreenModeNumberFromSettings(resolution.fs_width, resolution.fs_height, resolution.fs_bpp);
    res_swin->ListRegisterIntVariable(resolution_res_swb, &res_cur_fs_mode);
    res_swin->EnableButton(resolution_res_swb, resolution.windowed ? 0 : 1);
    ResolutionUpdateFrequencyList();
    return ResolutionSetupAAButtons();
}

void ResolutionUpdateFrequencyList()
{
    if (!res_swin || !r_res_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No res modes.");
        return;
    }
    FillGuard guard;
    res_freq_pos[0] = 0;
    res_freq_pos[1] = 0;
    const _EngResMode* mode = CurrentMode();
    int slot = resolution.windowed ? 1 : 0;
    if (!mode || mode->num_freqs < 1)
    {
        // One empty entry; the record keeps its rate for the display to correct.
        res_swin->ListSetStrsCallback(resolution_freq_swb, 1, ResolutionGetFrequencyStringCB, nullptr);
        res_swin->ListRegisterIntVariable(resolution_freq_swb, &res_freq_pos[slot]);
        res_swin->DisableButton(resolution_freq_swb);
        return;
    }
    res_swin->EnableButton(resolution_freq_swb);
    res_swin->ListSetStrsCallback(resolution_freq_swb, mode->num_freqs, ResolutionGetFrequencyStringCB, nullptr);
    EngInt32* rate = CurrentFrequency();
    int pos = 0;
    for (int i = 0; i < mode->num_freqs; i++)
        if (mode->freqs[i] == *rate)
            pos = i;
    // What the list shows is what is used.
    *rate = mode->freqs[pos];
    res_freq_pos[slot] = pos;
    res_swin->ListRegisterIntVariable(resolution_freq_swb, &res_freq_pos[slot]);
}

char ResolutionSetupAAButtons()
{
    if (!res_swin || !r_res_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No res modes.");
        return 0;
    }
    FillGuard guard;
    if (resolution.windowed > 1)
        resolution.windowed = 1;
    if (!res_swin->ListSetStrsCallback(resolution_aa_swb, 3, ResolutionFillAAListCB, nullptr))
        return 0;
    EngInt32* aa = resolution.windowed ? &resolution.win_aa : &resolution.fs_aa;
    if (*aa < 0 || *aa > 2)
        *aa = 0;
    static_assert(sizeof(EngInt32) == sizeof(int), "the list binds an int");
    res_swin->ListRegisterIntVariable(resolution_aa_swb, reinterpret_cast<int*>(aa));
    res_swin->EnableButton(resolution_aa_swb);
    return 1;
}

void ResolutionModeCB(SWin*, char sel)
{
    if (res_filling)
        return;
    resolution.windowed = sel ? 1 : 0;
    ResolutionSetupModeButtons();
}

void ResolutionResCB(SWin*, int)
{
    if (res_filling)
        return;
    ResolutionUpdateFrequencyList();
}

void ResolutionFreqCB(SWin*, int sel)
{
    if (res_filling)
        return;
    if (!r_res_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No res modes.");
        return;
    }
    const _EngResMode* mode = CurrentMode();
    if (mode && sel >= 0 && sel < mode->num_freqs)
        *CurrentFrequency() = mode->freqs[sel];
}

void ResolutionAAInfoButtonCB(SWin*)
{
    EngMiscShowPopupMessage(0, "Anti-Aliasing", res_aa_info_text);
}

void ResolutionNewVersionButtonCB(SWin*)
{
    Updater(UPDATER_PROGRAM_VIZAVU, RESOLUTION_VERSION, UPDATER_TYPE_FULL);
}

void ResolutionOkButtonCB(SWin* win)
{
    res_start_game = 1;
    if (win)
        win->QuitWindowLoop();
}

signed char ResolutionShowAndRunWindow()
{
    if (res_swin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Dialog already running");
        return 0;
    }
    if (!r_res_modes)
    {
        r_res_modes = new (std::nothrow) EngResModes();
        if (!r_res_modes)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
            return 0;
        }
    }
    if (r_res_modes->GetNumModes() < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No modes.");
        DestroyDialogAndModes();
        return 0;
    }
    if (!ResolutionLoad())
        ResolutionSetDefaults();
    // The choice reads 0 or 1 and the setting binds to it as a char.
    if (resolution.windowed > 1)
        resolution.windowed = 1;

    res_start_game = 0;
    res_swin = new (std::nothrow) SWin();
    if (!ResolutionCreateSWinWindow(res_swin))
    {
        DestroyDialogAndModes();
        return 0;
    }

    char pic[1200];
    ResourcePath(res_title_picture ? res_title_picture : "", pic, sizeof(pic));
    // A missing title picture leaves its row empty; the player can still start.
    res_swin->PictureSetFromFile(resolution_pic_swb, pic);

    char text[32];
    snprintf(text, sizeof(text), "Version %.2f", double(RESOLUTION_VERSION));
    res_swin->SetButtonText(resolution_version_swb, text);

    {
        FillGuard guard;
        res_swin->ChoiceSetStrs(resolution_mode_swb, 2, res_mode_strs);
        res_swin->ChoiceSetCallback(resolution_mode_swb, ResolutionModeCB);
        res_swin->ChoiceRegisterCharVariable(resolution_mode_swb, reinterpret_cast<char*>(&resolution.windowed));
        res_swin->ListSetCallback(resolution_res_swb, ResolutionResCB);
        res_swin->ListSetCallback(resolution_freq_swb, ResolutionFreqCB);
    }
    if (!ResolutionSetupModeButtons())
    {
        DestroyDialogAndModes();
        return 0;
    }

    for (int i : {resolution_cursor_swb, resolution_sync_swb, resolution_cursor_t_swb, resolution_sync_t_swb,
                  resolution_cursor_info_swb, resolution_sync_info_swb})
        res_swin->HideButton(i);

    // The settings column is centred on the dialog.
    int dialog_w = 0;
    res_swin->GetSize(&dialog_w, nullptr);
    const int m = dialog_w / 2;
    for (int i : {resolution_mode_swb, resolution_res_swb, resolution_freq_swb, resolution_aa_swb})
        res_swin->MoveButton(i, m - 100, -1, 200, -1);
    for (int i : {resolution_mode_t_swb, resolution_res_t_swb, resolution_freq_t_swb, resolution_aa_t_swb})
        res_swin->MoveButton(i, m - 210, -1, 100, -1);
    res_swin->MoveButton(resolution_aa_info_swb, m + 120, -1, -1, -1);

    res_swin->PushButtonSetCallback(resolution_aa_info_swb, ResolutionAAInfoButtonCB);
    res_swin->PushButtonSetCallback(resolution_new_version_swb, ResolutionNewVersionButtonCB);
    res_swin->PushButtonSetCallback(resolution_ok_swb, ResolutionOkButtonCB);
    res_swin->SetDefaultPushButton(resolution_ok_swb);

    if (!res_swin->RunWindowLoop())
    {
        DestroyDialogAndModes();
        return 0;
    }

    if (res_cur_fs_mode >= 0)
    {
        const _EngResMode* mode = r_res_modes->GetMode(res_cur_fs_mode);
        if (mode)
        {
            resolution.fs_width = mode->width;
            resolution.fs_height = mode->height;
            resolution.fs_bpp = mode->bpp;
        }
    }
    ResolutionUpdateStartupParms();
    char started = res_start_game;
    DestroyDialogAndModes();
    return started ? 1 : -1;
}
