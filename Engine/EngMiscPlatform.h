// Platform helpers: the user's standard folders, the application data folder,
// the desktop size, the system version and the cursor speed. Each function
// forwards to its platform half (Engine/Linux/EngMisc_LNX).
#pragma once

#include "EngTypes.h"

struct _EngMiscCursorSpeed
{
    double trackpad;
    double mouse;
};
typedef _EngMiscCursorSpeed EngMiscCursorSpeed;

// Folder lookups: the path without a trailing "/" in out (size bytes); false,
// with out emptied, when the folder cannot be found or the path does not fit.
bool EngMiscGetDesktopDirectory(char* out, int size);
bool EngMiscGetDocumentsDirectory(char* out, int size);
bool EngMiscGetApplicationsDirectory(char* out, int size);
bool EngMiscGetTrashDirectory(char* out, int size);
bool EngMiscGetUserPhotosFolder(char* out, int size);
bool EngMiscGetUserFontsDirectory(char* out, int size);
bool EngMiscGetDownloadsDirectory(char* out, int size);
// Where the downloads folder belongs (user-dirs.dirs, else ~/Downloads),
// whether it exists or not.
bool EngMiscGetWantedDownloadsDirectory(char* out, int size);
bool EngMiscGetUserApplicationDataDirectory(char* out, int size);
bool EngMiscGetCurrentDirectory(char* out, int size);

// On: the application data folder is the user data folder ($XDG_DATA_HOME);
// off (the default): the user configuration folder ($XDG_CONFIG_HOME).
void EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory(char on);
bool EngMiscIsApplicationsSupportDirectoryBeingUsed();

bool EngMiscGetUserApplicationDataSubDirectory(const char* name, char* out, int size);
bool EngMiscGetUserApplicationDataSubSubDirectory(const char* name, const char* sub, char* out, int size);
bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char* name, char* out, int size);
bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char* name, const char* sub, char* out,
                                                             int size);
void EngMiscOutputCurrentDirectory();

// The main display's size in pixels at (0, 0); 50 pixels less height with leave_room.
void EngMiscGetDesktopDimensions(int* x, int* y, int* width, int* height, char leave_room);
// The kernel version as (major << 16) | (minor << 8) | patch; 0 on failure.
long EngMiscGetOsVersion();

bool EngMiscGetCursorSpeed(EngMiscCursorSpeed* speed);
// Moves both values steps places along the table of standard speeds.
bool EngMisChangeCursorSpeed(EngMiscCursorSpeed* speed, int steps);
bool EngMiscSetCursorSpeed(EngMiscCursorSpeed speed);

// A leading "~" or "~user" expanded to that user's home folder, as a new block
// for free(); null for an unknown user or without a home folder.
char* CreatePathByExpandingTildePath(const char* path);

// Diagnostic: logs the program's processor use at most every 2 seconds.
void EngMiscShowFrameRatePeriodically(const char* process_name);

// Opens a file or address with the desktop's default program (xdg-open).
char EngMiscOpenWithDefaultProgram(const char* path);
