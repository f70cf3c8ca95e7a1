// Opening web pages in the user's browser, and the clipboard as plain text.
#pragma once

class MWin;

#define VARIOUS_ONLINE_STR_SIZE 512
// URLs of this length or longer are refused.
#define VARIOUS_MAX_URL_LENGTH 507

extern char various_online_str[VARIOUS_ONLINE_STR_SIZE];

// Opens url, first asking and/or ending the program as the flags for the
// current display mode say. 0 when the URL was refused.
char VariousGoOnline(MWin* gui, const char* question, const char* url, char ask_full_screen,
                     char ask_windowed, char exit_full_screen, char exit_windowed);
// The same for a page of the makers' web site (the root alone without a page).
char VariousGoOnlineToKestrelbay(MWin* gui, const char* question, const char* page, char ask_full_screen,
                                 char ask_windowed, char exit_full_screen, char exit_windowed);
void VariousGoOnlineNow(const char* url);
// Popup answers: end the program, then open; leave full screen, then open.
void VariousGoOnline2(MWin* gui, char result, void* user);
void VariousGoOnline3(MWin* gui, char result, void* user);
// The after-exit callback: opens various_online_str.
void VariousGoOnline4();

char VariousCopyClipboardFromString(const char* text);
// A buffer of size bytes takes texts of 1 to size - 2 bytes.
char VariousPasteClipboardToString(char* buffer, int size);
