// The Linux half of the platform helpers: XDG folders, SDL display queries,
// message boxes and starting the desktop's default program.
#pragma once

#include "EngMiscPlatform.h"

bool EngMiscGetDesktopDirectory_LNX(char* out, int size);
bool EngMiscGetDocumentsDirectory_LNX(char* out, int size);
bool EngMiscGetApplicationsDirectory_LNX(char* out, int size);
bool EngMiscGetTrashDirectory_LNX(char* out, int size);
bool EngMiscGetUserPhotosFolder_LNX(char* out, int size);
bool EngMiscGetUserFontsDirectory_LNX(char* out, int size);
bool EngMiscGetDownloadsDirectory_LNX(char* out, int size);
bool EngMiscGetWantedDownloadsDirectory_LNX(char* out, int size);
bool EngMiscGetUserApplicationDataDirectory_LNX(char* out, int size);
bool EngMiscGetCurrentDirectory_LNX(char* out, int size);
void EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory_LNX(char on);
bool EngMiscIsApplicationsSupportDirectoryBeingUsed_LNX();

void EngMiscGetDesktopDimensions_LNX(int* x, int* y, int* width, int* height, char leave_room);
long EngMiscGetOsVersion_LNX();

bool EngMiscGetCursorSpeed_LNX(EngMiscCursorSpeed* speed);
bool EngMiscChangeCursorSpeed_LNX(EngMiscCursorSpeed* speed, int steps);
bool EngMiscSetCursorSpeed_LNX(EngMiscCursorSpeed speed);

void EngMiscShowFrameRatePeriodically_LNX(const char* process_name);
// The path with a leading "~" or "~user" expanded, in a block for free().
char* EngMiscExpandTildePath_LNX(const char* path);

// Starts SDL's video once; later calls only report whether it is running.
bool EngMiscStartVideo_LNX();
// SDL_InitSubSystem for video, with SDL's own failed checks reported on
// standard error rather than in a box (which starts a helper program). Every
// start of SDL's video goes through it.
int EngMiscInitSdlVideo_LNX();
// True when an X11 or Wayland display is named in the environment.
bool EngMiscHasDisplay_LNX();

// The modal message box, GTK's: over the modal GTK window (the dialog kit's)
// when one is up, else in front of the game's window. Only when no box can be
// shown does the text go to standard error.
void EngMiscShowPopupMessage_LNX(char kind, const char* title, const char* text);
// The same with OK and Cancel; 1 for OK, 0 for Cancel, closing, or no box.
char EngMiscShowOkCancelPopup_LNX(char kind, const char* title, const char* text);

// Starts xdg-open with path as its one argument (no shell); does not wait.
char EngMiscOpenWithDefaultProgram_LNX(const char* path);
