// What the online services need of the window and the desktop: the site
// root, and two test seams (opening a page, switching out of full screen)
// that tests replace to see what was opened without a browser or a display.
#pragma once

// The makers' web address as the player sees it (About, the print header);
// the site root is this address over https.
#define ONLINE_WEB_ADDRESS "www.kestrelbay.com"

// The makers' web-site root, without a trailing "/".
const char* OnlineGetSiteRoot();
// Replaces the root (null restores the built-in one).
void OnlineSetSiteRoot(const char* root);

// Opens a page or file with the desktop's default program.
extern char (*online_hooks_open)(const char* url);
// Switches the main window between full screen and windowed.
extern void (*online_hooks_toggle_fullscreen)();

char OnlineOpen(const char* url);
void OnlineToggleFullscreen();
