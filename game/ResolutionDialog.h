// The display-settings dialog shown before the game window opens: full screen
// or windowed, screen size, refresh rate, anti-aliasing, the version check and
// "Start". The choice goes into the resolution record and the window creation
// record.
#pragma once

#include "EngTypes.h"
#include "SWin.h"

class EngResModes;

#define RESOLUTION_VERSION 1.21f
#define RESOLUTION_DIALOG_WIDTH 592
#define RESOLUTION_DIALOG_HEIGHT 418

extern SWin* res_swin;
extern int res_cur_fs_mode;
extern int res_freq_pos[2];
extern char res_start_game;
extern char res_mode_strs[2][SWIN_STR_SIZE];
extern char res_freq_str[32];
// The title picture: a name in the resources folder, or an absolute path.
extern const char* res_title_picture;

extern int resolution_pic_swb;
extern int resolution_version_swb;
extern int resolution_new_version_swb;
extern int resolution_res_frame_swb;
extern int resolution_mode_swb;
extern int resolution_mode_t_swb;
extern int resolution_res_t_swb;
extern int resolution_res_swb;
extern int resolution_freq_t_swb;
extern int resolution_freq_swb;
extern int resolution_aa_t_swb;
extern int resolution_aa_swb;
extern int resolution_aa_info_swb;
extern int resolution_misc_frame_swb;
extern int resolution_sync_t_swb;
extern int resolution_cursor_t_swb;
extern int resolution_cursor_info_swb;
extern int resolution_sync_info_swb;
extern int resolution_cursor_swb;
extern int resolution_sync_swb;
extern int resolution_ok_swb;

// 1 "Start" was pressed, -1 the dialog was closed otherwise, 0 error (logged).
signed char ResolutionShowAndRunWindow();

// Makes the dialog's window and adds its controls; 0 (logged) on failure.
char ResolutionCreateSWinWindow(SWin* win);
char ResolutionSetupModeButtons();
void ResolutionUpdateFrequencyList();
char ResolutionSetupAAButtons();

void ResolutionModeCB(SWin* win, char sel);
void ResolutionResCB(SWin* win, int sel);
void ResolutionFreqCB(SWin* win, int sel);
void ResolutionAAInfoButtonCB(SWin* win);
void ResolutionNewVersionButtonCB(SWin* win);
void ResolutionOkButtonCB(SWin* win);

// List texts; context is the mode list for the screen sizes.
const char* ResolutionGetFrequencyStringCB(int n, void* context);
const char* ResolutionFillAAListCB(int n, void* context);
const char* ResolutionGetResModeStringCB(int n, void* context);
