// What the online services need of the toolkit, the window and the desktop.
// Until the toolkit exists a popup cannot be shown (the question counts as
// cancelled); tests replace the hooks to see what was asked and opened.
#pragma once

class MWin;

typedef void (*OnlinePopupResultCB)(MWin* gui, char result, void* user);

// The makers' web-site root, without a trailing "/".
const char* OnlineGetSiteRoot();
// Replaces the root (null restores the built-in one).
void OnlineSetSiteRoot(const char* root);

// An OK/Cancel popup without a title; the answer (1 OK) goes to cb. 1 when shown.
extern char (*online_hooks_popup_ok_cancel)(MWin* gui, const char* text, OnlinePopupResultCB cb, void* user);
// Opens a page or file with the desktop's default program.
extern char (*online_hooks_open)(const char* url);
// Switches the main window between full screen and windowed.
extern void (*online_hooks_toggle_fullscreen)();

char OnlinePopupOkCancel(MWin* gui, const char* text, OnlinePopupResultCB cb, void* user);
char OnlineOpen(const char* url);
void OnlineToggleFullscreen();
