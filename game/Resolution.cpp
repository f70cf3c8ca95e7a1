// Resolution.dat and the window creation record.
#include "Resolution.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMiscPlatform.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "Game.h"
#include "RecordFile.h"

_ResolutionRecord resolution;
char res_file_str[1024];
EngResModes* r_res_modes = nullptr;

namespace
{
// -1 centres; otherwise the position must lie on the desktop (when its size is known).
EngInt32 ValidPosition(EngInt32 pos, int desktop_size)
{
    if (pos == -1)
        return pos;
    if (pos < 0 || (desktop_size > 0 && pos >= desktop_size))
        return -1;
    return pos;
}
} // namespace

char ResolutionGetFileName()
{
    return RecordFilePath(res_file_str, sizeof(res_file_str), "Resolution.dat", __PRETTY_FUNCTION__);
}

void ResolutionSetDefaults()
{
    memset(&resolution, 0, sizeof(resolution));
    int w = 0, h = 0;
    EngMiscGetDesktopDimensions(nullptr, nullptr, &w, &h, 0);
    resolution.version = 1.0f;
    resolution.windowed = 0;
    resolution.fs_width = w;
    resolution.fs_height = h;
    resolution.fs_bpp = 32;
    resolution.win_width = 1024;
    resolution.win_height = 768;
    resolution.win_bpp = 32;
    resolution.win_x = -1;
    resolution.win_y = -1;
    resolution.fs_aa = 0;
    resolution.win_aa = 0;
    resolution.fs_frequency = 60;
    resolution.win_frequency = 0;
    resolution.cursor_type = 1;
    resolution.mouse_sync = 1;
    ResolutionUpdateStartupParms();
}

void ResolutionMakeWindowedValid()
{
    if (resolution.win_width < 1 || resolution.win_height < 1)
    {
        resolution.win_width = 1024;
        resolution.win_height = 768;
    }
    if (resolution.win_width < RESOLUTION_MIN_WINDOWED_WIDTH)
        resolution.win_width = RESOLUTION_MIN_WINDOWED_WIDTH;
    if (resolution.win_height < RESOLUTION_MIN_WINDOWED_HEIGHT)
        resolution.win_height = RESOLUTION_MIN_WINDOWED_HEIGHT;
    int w = 0, h = 0;
    EngMiscGetDesktopDimensions(nullptr, nullptr, &w, &h, 0);
    resolution.win_x = ValidPosition(resolution.win_x, w);
    resolution.win_y = ValidPosition(resolution.win_y, h);
    // Window creation takes these as they are: the same ranges as the dialog's.
    if (resolution.windowed > 1)
        resolution.windowed = 1;
    if (resolution.fs_aa < 0 || resolution.fs_aa > 2)
        resolution.fs_aa = 0;
    if (resolution.win_aa < 0 || resolution.win_aa > 2)
        resolution.win_aa = 0;
}

char ResolutionLoad()
{
    if (!ResolutionGetFileName())
        return 0;
    struct stat st;
    if (lstat(res_file_str, &st) != 0)
        return 0;
    std::string why;
    if (!ReadRecordFile(res_file_str, &resolution, __PRETTY_FUNCTION__, &why))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load resolution file <%s>%s%s", res_file_str,
                      why.empty() ? "" : ": ", why.c_str());
        return 0;
    }
    ResolutionMakeWindowedValid();
    ResolutionUpdateStartupParms();
    return 1;
}

char ResolutionSave()
{
    if (!ResolutionGetFileName())
        return 0;
    resolution.version = 1.0f;
    if (!EngFileSaveAtomically(res_file_str, &resolution, sizeof(resolution)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem writing to Resolution File <%s>", res_file_str);
        return 0;
    }
    return 1;
}

namespace
{
// Fits a stored mode with fit and hands it to the window parameters.
void UseMode(EngResModes& modes, char (EngResModes::*fit)(int*, int*, int*, int*), EngInt32* width,
             EngInt32* height, EngInt32* bpp, EngInt32* frequency, EngInt32 aa, _EngCreateWindowParms* parms)
{
    (modes.*fit)(width, height, bpp, frequency);
    parms->width = *width;
    parms->height = *height;
    parms->bpp = *bpp;
    parms->frequency = *frequency;
    parms->aa = aa;
}
} // namespace

void ResolutionUpdateStartupParms()
{
    // The dialog's list when it runs, else one for this call.
    std::unique_ptr<EngResModes> own;
    if (!r_res_modes)
    {
        own.reset(new (std::nothrow) EngResModes());
        if (!own)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
            return;
        }
    }
    EngResModes& modes = r_res_modes ? *r_res_modes : *own;
    _EngCreateWindowParms* parms = MainGetCreateWindowParms();
    parms->windowed = resolution.windowed ? 1 : 0;
    if (resolution.windowed)
    {
        UseMode(modes, &EngResModes::EnsureWindowedModeOk, &resolution.win_width, &resolution.win_height,
                &resolution.win_bpp, &resolution.win_frequency, resolution.win_aa, parms);
        parms->x = resolution.win_x;
        parms->y = resolution.win_y;
    }
    else
        UseMode(modes, &EngResModes::GetClosestFullScreenModeToMode, &resolution.fs_width,
                &resolution.fs_height, &resolution.fs_bpp, &resolution.fs_frequency, resolution.fs_aa, parms);
}

void ResolutionSetupFullscreenToggle()
{
    if (!eng_main_window)
        return;
    eng_main_window->SetVarsForFullscreenModeToggle(
        resolution.win_width, resolution.win_height, resolution.win_bpp, resolution.win_frequency,
        resolution.win_x, resolution.win_y, resolution.fs_width, resolution.fs_height, resolution.fs_bpp,
        resolution.fs_frequency);
}

void ResolutionRestrictWindow()
{
    if (!eng_main_window)
        return;
    // Any ratio: a narrow window has the portrait layout.
    _EngWindowRestrictResizingInfo info = {};
    info.min_width = RESOLUTION_MIN_WINDOWED_WIDTH;
    info.min_height = RESOLUTION_MIN_WINDOWED_HEIGHT;
    eng_main_window->RestrictResizing(1, &info);
}

namespace
{
// The side not on screen: as the window last left it (or was given it).
void TakeOtherSideFromWindow()
{
    if (!eng_main_window)
        return;
    int ww, wh, wbpp, wfreq, wx, wy, fw, fh, fbpp, ffreq;
    eng_main_window->GetVarsForFullscreenModeToggle(&ww, &wh, &wbpp, &wfreq, &wx, &wy, &fw, &fh, &fbpp,
                                                    &ffreq);
    if (eng_main_window_windowed && fw > 0 && fh > 0)
    {
        resolution.fs_width = fw;
        resolution.fs_height = fh;
        if (fbpp > 0)
            resolution.fs_bpp = fbpp;
        if (ffreq >= 0)
            resolution.fs_frequency = ffreq;
    }
    else if (!eng_main_window_windowed && ww > 0 && wh > 0)
    {
        resolution.win_width = ww;
        resolution.win_height = wh;
        if (wbpp > 0)
            resolution.win_bpp = wbpp;
        if (wfreq >= 0)
            resolution.win_frequency = wfreq;
        resolution.win_x = wx;
        resolution.win_y = wy;
    }
}
} // namespace

void ResolutionUpdateSettingsFromScreen()
{
    TakeOtherSideFromWindow();
    if (eng_main_window_windowed)
    {
        resolution.win_width = eng_main_window_width;
        resolution.win_height = eng_main_window_height;
        resolution.win_bpp = eng_main_window_bitdepth;
        resolution.win_frequency = eng_main_window_frequency;
        resolution.win_aa = eng_main_window_aa;
        int x, y;
        if (eng_main_window && eng_main_window->GetWindowPos(&x, &y))
        {
            resolution.win_x = x;
            resolution.win_y = y;
        }
    }
    else
    {
        resolution.fs_width = eng_main_window_width;
        resolution.fs_height = eng_main_window_height;
        resolution.fs_bpp = eng_main_window_bitdepth;
        resolution.fs_frequency = eng_main_window_frequency;
        resolution.fs_aa = eng_main_window_aa;
    }
    resolution.windowed = EngUInt8(eng_main_window_windowed);
}
