// The display modes of the main display, with their refresh rates.
#pragma once

#include "EngTypes.h"

#define ENG_RES_MAX_MODES 512
#define ENG_RES_MAX_FREQS 20
// Rates kept per mode (one fewer than the array holds).
#define ENG_RES_FREQS_USED 19

struct _EngResMode
{
    EngInt32 width, height, bpp;
    EngInt32 num_freqs;
    EngInt32 freqs[ENG_RES_MAX_FREQS];
};

// One mode as the platform reports it; refresh 0 means unknown.
struct _EngDisplayModeInfo
{
    int width, height, bpp, refresh;
};

class EngResModes
{
public:
    EngResModes();
    ~EngResModes();
    EngResModes(const EngResModes&) = delete;
    EngResModes& operator=(const EngResModes&) = delete;

    void Destroy();
    char GetModesAvailable();
    // Builds the list from platform modes; desktop may be null.
    char SetModesFromList(const _EngDisplayModeInfo* modes, int count, const _EngDisplayModeInfo* desktop);
    char AllocModesList(int n);
    char IsSetup();
    int GetNumModes();
    const _EngResMode* GetMode(int n);
    const _EngResMode* GetWindowedMode();

    char GetClosestFullScreenModeToMode(int* width, int* height, int* bpp, int* frequency);
    char EnsureWindowedModeOk(int* width, int* height, int* bpp, int* frequency);
    char GetWindowedModeDetails(int* width, int* height, int* bpp, int* frequency);
    int GetFullscreenModeNumberFromSettings(int width, int height, int bpp);
    int GetFullScreenModeNumberForCurrentFullscreenMode();
    int GetClosestFullScreenModeNumberToCurrentWindowedMode();
    char SetCurrentSettingsToFullscreenModeEntry(int n);
    _EngResMode* GetCurrentFullscreenOrWindowedModeP();
    char* GetFullScreenResModeEntryAsString(int n);

    int GetNumAAEntriesForWindowedMode();
    int GetNumAAEntriesForFullscreenMode(int n);
    int GetNumAAEntriesForMode(const _EngResMode* mode);
    const char* GetAAEntryForWindowedModeAsString(int a);
    const char* GetAAEntryForFullscreenModeAsString(int n, int a);
    const char* GetAAEntryForModeAsString(const _EngResMode* mode, int a);
    void UseHighestFreqenciesForCalcs_GL(char on) { use_highest_frequencies = on; }

private:
    // IsSetup, logged for func when not.
    char Ready(const char* func);
    // Ready, with the three mode values given.
    char ReadyForMode(const char* func, const int* width, const int* height, const int* bpp);
    char KnownMode(const _EngResMode* mode) const;

    char set_up = 0;
    int num_modes = 0;
    _EngResMode* modes = nullptr;
    _EngResMode* windowed_mode = nullptr;
    char* text = nullptr;
    char use_highest_frequencies = 0;
};

// Platform half: the main display's modes and desktop mode (count written;
// 0 when no display answers), and the platform's closest mode.
char EngResModesReadDisplay_LNX(_EngDisplayModeInfo* modes, int max, int* count, _EngDisplayModeInfo* desktop,
                                char* have_desktop);
char EngResModesClosestMode_LNX(int width, int height, int bpp, int frequency, _EngDisplayModeInfo* out);
