// The display modes of the main display, with their refresh rates.
#include "EngResModes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngProgram.h"

namespace
{
int SortModes(const void* a, const void* b)
{
    const _EngResMode* x = static_cast<const _EngResMode*>(a);
    const _EngResMode* y = static_cast<const _EngResMode*>(b);
    if (x->bpp != y->bpp)
        return x->bpp < y->bpp ? -1 : 1;
    if (x->width != y->width)
        return x->width < y->width ? -1 : 1;
    if (x->height != y->height)
        return x->height < y->height ? -1 : 1;
    return 0;
}

int SortFreqs(const void* a, const void* b)
{
    int x = *static_cast<const EngInt32*>(a), y = *static_cast<const EngInt32*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// Appends a rate above 0 that the mode does not list yet.
void AddFreq(_EngResMode* m, int rate)
{
    if (rate <= 0 || m->num_freqs >= ENG_RES_FREQS_USED)
        return;
    for (int i = 0; i < m->num_freqs; i++)
        if (m->freqs[i] == rate)
            return;
    m->freqs[m->num_freqs++] = rate;
}

const char* const aa_texts[] = {"Off", "Low [2x2]", "Medium [4x4]", "High [8x8]"};
} // namespace

EngResModes::EngResModes()
{
    text = static_cast<char*>(EngMalloc(128, "EngResModes", 1));
    GetModesAvailable();
}

EngResModes::~EngResModes()
{
    Destroy();
    EngFree(text, 0, "EngResModes");
}

void EngResModes::Destroy()
{
    EngFree(modes, 0, "EngResModes");
    EngFree(windowed_mode, 0, "EngResModes");
    modes = nullptr;
    windowed_mode = nullptr;
    num_modes = 0;
    set_up = 0;
}

char EngResModes::AllocModesList(int n)
{
    if (n <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad num %d.", n);
        return 0;
    }
    EngFree(modes, 0, "AllocModesList");
    modes = static_cast<_EngResMode*>(EngMalloc(sizeof(_EngResMode) * size_t(n), "AllocModesList", 1));
    return modes ? 1 : 0;
}

char EngResModes::GetModesAvailable()
{
    Destroy();
    if (eng_main_device_type == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Device type not set");
        return 0;
    }
    _EngDisplayModeInfo* list = static_cast<_EngDisplayModeInfo*>(
        EngMalloc(sizeof(_EngDisplayModeInfo) * 1024, "GetModesAvailable", 1));
    if (!list)
        return 0;
    int count = 0;
    _EngDisplayModeInfo desktop = {};
    char have_desktop = 0;
    EngResModesReadDisplay_LNX(list, 1024, &count, &desktop, &have_desktop);
    char ok = SetModesFromList(list, count, have_desktop ? &desktop : nullptr);
    EngFree(list, 0, "GetModesAvailable");
    return ok;
}

char EngResModes::SetModesFromList(const _EngDisplayModeInfo* list, int count,
                                   const _EngDisplayModeInfo* desktop)
{
    Destroy();
    windowed_mode = static_cast<_EngResMode*>(EngMalloc(sizeof(_EngResMode), "GetModesAvailable", 1));
    if (!windowed_mode || !AllocModesList(ENG_RES_MAX_MODES))
    {
        Destroy();
        return 0;
    }
    num_modes = 0;
    for (int i = 0; list && i < count; i++)
    {
        const _EngDisplayModeInfo& d = list[i];
        if (d.bpp <= 15 || d.width <= 0 || d.height <= 0)
            continue;
        _EngResMode* found = nullptr;
        for (int j = 0; j < num_modes && !found; j++)
            if (modes[j].width == d.width && modes[j].height == d.height && modes[j].bpp == d.bpp)
                found = &modes[j];
        if (!found)
        {
            if (num_modes >= ENG_RES_MAX_MODES)
                continue;
            found = &modes[num_modes++];
            found->width = d.width;
            found->height = d.height;
            found->bpp = d.bpp;
        }
        AddFreq(found, d.refresh);
    }
    // Some drivers list nothing: the desktop mode is then the only mode.
    if (num_modes == 0 && desktop && desktop->width > 0 && desktop->height > 0)
    {
        modes[0].width = desktop->width;
        modes[0].height = desktop->height;
        modes[0].bpp = desktop->bpp > 15 ? desktop->bpp : 32;
        AddFreq(&modes[0], desktop->refresh);
        num_modes = 1;
    }
    if (num_modes < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No modes.");
        Destroy();
        return 0;
    }
    qsort(modes, size_t(num_modes), sizeof(_EngResMode), SortModes);
    for (int i = 0; i < num_modes; i++)
        qsort(modes[i].freqs, size_t(modes[i].num_freqs), sizeof(EngInt32), SortFreqs);

    windowed_mode->width = 1024;
    windowed_mode->height = 768;
    windowed_mode->bpp = 32;
    windowed_mode->num_freqs = 0;
    if (desktop && desktop->width > 0 && desktop->height > 0)
    {
        windowed_mode->width = desktop->width;
        windowed_mode->height = desktop->height;
        windowed_mode->bpp = desktop->bpp > 15 ? desktop->bpp : 32;
        AddFreq(windowed_mode, desktop->refresh);
    }
    set_up = 1;
    return 1;
}

char EngResModes::IsSetup()
{
    if (!set_up || !modes || !windowed_mode)
        return 0;
    if (num_modes == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No modes.");
        Destroy();
        return 0;
    }
    return 1;
}

char EngResModes::Ready(const char* func)
{
    if (IsSetup())
        return 1;
    DebugErrorAlt(func, "Not setup.");
    return 0;
}

char EngResModes::ReadyForMode(const char* func, const int* width, const int* height, const int* bpp)
{
    if (!Ready(func))
        return 0;
    if (!width || !height || !bpp)
    {
        DebugErrorAlt(func, "Invalid Parameters");
        return 0;
    }
    return 1;
}

int EngResModes::GetNumModes()
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    return num_modes;
}

const _EngResMode* EngResModes::GetMode(int n)
{
    if (!Ready(__PRETTY_FUNCTION__))
        return nullptr;
    if (n < 0 || n >= num_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad mode num %d (%d).", n, num_modes);
        return nullptr;
    }
    return &modes[n];
}

const _EngResMode* EngResModes::GetWindowedMode()
{
    if (!Ready(__PRETTY_FUNCTION__))
        return nullptr;
    return windowed_mode;
}

char EngResModes::GetClosestFullScreenModeToMode(int* width, int* height, int* bpp, int* frequency)
{
    if (!ReadyForMode(__PRETTY_FUNCTION__, width, height, bpp))
        return 0;
    if (num_modes < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No resolution modes");
        return 0;
    }
    int want_rate = frequency ? *frequency : 0;
    _EngDisplayModeInfo best = {};
    char listed = 0;
    if (EngResModesClosestMode_LNX(*width, *height, *bpp, want_rate, &best))
        for (int i = 0; i < num_modes && !listed; i++)
            listed =
                modes[i].width == best.width && modes[i].height == best.height && modes[i].bpp == best.bpp;
    if (listed)
    {
        *width = best.width;
        *height = best.height;
        *bpp = best.bpp;
        if (frequency)
            *frequency = best.refresh;
        return 1;
    }
    // The platform gave no listed mode: the nearest listed mode and rate.
    const _EngResMode& m = modes[GetFullscreenModeNumberFromSettings(*width, *height, *bpp)];
    *width = m.width;
    *height = m.height;
    *bpp = m.bpp;
    if (frequency)
    {
        int rate = 0, best_diff = 1000000;
        for (int i = 0; i < m.num_freqs; i++)
        {
            int diff = abs(m.freqs[i] - want_rate);
            if (diff < best_diff)
            {
                best_diff = diff;
                rate = m.freqs[i];
            }
        }
        *frequency = rate;
    }
    return 1;
}

char EngResModes::EnsureWindowedModeOk(int* width, int* height, int* bpp, int* frequency)
{
    if (!ReadyForMode(__PRETTY_FUNCTION__, width, height, bpp))
        return 0;
    const _EngResMode* d = windowed_mode;
    if (*width && *width > d->width)
        *width = d->width;
    if (*height && *height > d->height)
        *height = d->height;
    if (*bpp && *bpp != d->bpp)
        *bpp = d->bpp;
    if (!frequency)
        return 1;
    if (d->num_freqs == 0)
    {
        // Common on virtual and some real displays; the default rate is used.
        DebugInfoAlt(__PRETTY_FUNCTION__, "Warning - No frequencies present.");
        *frequency = 0;
        return 1;
    }
    if (use_highest_frequencies)
    {
        *frequency = d->freqs[d->num_freqs - 1];
        return 1;
    }
    int best = -1, best_diff = 0;
    for (int i = 0; i < d->num_freqs; i++)
    {
        int diff = abs(d->freqs[i] - *frequency);
        if (best < 0 || diff < best_diff)
        {
            best = i;
            best_diff = diff;
        }
    }
    if (best < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get a frequency");
        return 0;
    }
    *frequency = d->freqs[best];
    return 1;
}

char EngResModes::GetWindowedModeDetails(int* width, int* height, int* bpp, int* frequency)
{
    if (!IsSetup())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Modes not setup");
        return 0;
    }
    if (bpp)
        *bpp = windowed_mode->bpp;
    if (frequency)
        *frequency = windowed_mode->num_freqs == 1 ? windowed_mode->freqs[0] : 0;
    if (width)
        *width = windowed_mode->width;
    if (height)
        *height = windowed_mode->height;
    return 1;
}

int EngResModes::GetFullscreenModeNumberFromSettings(int width, int height, int bpp)
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    int best = 0, best_distance = 1000000;
    for (int i = 0; i < num_modes; i++)
    {
        int d = abs(modes[i].width - width) + abs(modes[i].height - height) + 10 * abs(modes[i].bpp - bpp);
        if (d < best_distance)
        {
            best_distance = d;
            best = i;
        }
    }
    return best;
}

int EngResModes::GetFullScreenModeNumberForCurrentFullscreenMode()
{
    if (eng_main_window_windowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not fullscreen");
        return 0;
    }
    return GetFullscreenModeNumberFromSettings(eng_main_window_width, eng_main_window_height,
                                               eng_main_window_bitdepth);
}

int EngResModes::GetClosestFullScreenModeNumberToCurrentWindowedMode()
{
    if (!eng_main_window_windowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not windowed");
        return 0;
    }
    int w = eng_main_window_width, h = eng_main_window_height, bpp = eng_main_window_bitdepth;
    int f = eng_main_window_frequency;
    if (!GetClosestFullScreenModeToMode(&w, &h, &bpp, &f))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "GetClosestFullScreenModeToMode() failed.");
        return 0;
    }
    return GetFullscreenModeNumberFromSettings(w, h, bpp);
}

char EngResModes::SetCurrentSettingsToFullscreenModeEntry(int n)
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    if (n < 0 || n >= num_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid mode number %d", n);
        return 0;
    }
    eng_main_window_width = modes[n].width;
    eng_main_window_height = modes[n].height;
    eng_main_window_bitdepth = modes[n].bpp;
    return 1;
}

_EngResMode* EngResModes::GetCurrentFullscreenOrWindowedModeP()
{
    if (!Ready(__PRETTY_FUNCTION__))
        return nullptr;
    if (eng_main_window_windowed)
        return windowed_mode;
    return &modes[GetFullScreenModeNumberForCurrentFullscreenMode()];
}

char* EngResModes::GetFullScreenResModeEntryAsString(int n)
{
    static char empty[1] = {0};
    char* out = text ? text : empty;
    out[0] = 0;
    if (!Ready(__PRETTY_FUNCTION__))
        return out;
    if (n < 0 || n >= num_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad mode num");
        return out;
    }
    if (text)
        snprintf(text, 128, "%d x %d x %d", int(modes[n].width), int(modes[n].height), int(modes[n].bpp));
    return out;
}

char EngResModes::KnownMode(const _EngResMode* mode) const
{
    if (mode == windowed_mode)
        return 1;
    return modes && mode >= modes && mode < modes + num_modes ? 1 : 0;
}

int EngResModes::GetNumAAEntriesForWindowedMode()
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    return 4;
}

int EngResModes::GetNumAAEntriesForFullscreenMode(int n)
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    if (n < 0 || n >= num_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Mode Number %d", n);
        return 0;
    }
    return 4;
}

int EngResModes::GetNumAAEntriesForMode(const _EngResMode* mode)
{
    if (!Ready(__PRETTY_FUNCTION__))
        return 0;
    if (!mode)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return 0;
    }
    if (!KnownMode(mode))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown mode");
        return 0;
    }
    return 4;
}

const char* EngResModes::GetAAEntryForWindowedModeAsString(int a)
{
    if (!IsSetup())
        return "Not Setup.";
    return a >= 0 && a < 4 ? aa_texts[a] : "???";
}

const char* EngResModes::GetAAEntryForFullscreenModeAsString(int n, int a)
{
    if (!IsSetup())
        return "Not Setup.";
    if (n < 0 || n >= num_modes)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad mode num %d (%d).", n, num_modes);
        return "";
    }
    return a >= 0 && a < 4 ? aa_texts[a] : "???";
}

const char* EngResModes::GetAAEntryForModeAsString(const _EngResMode* mode, int a)
{
    if (!IsSetup())
        return "Not Setup.";
    if (!mode)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return "";
    }
    if (a < 0 || a > 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad aa num");
        return "";
    }
    if (!KnownMode(mode))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown mode");
        return "";
    }
    return aa_texts[a];
}
