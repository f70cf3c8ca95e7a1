// The per-user data folder "<application data>/Kestrelbay/<name>" and paths in
// it and in the user's Documents, Desktop and Downloads folders. Results live
// in static buffers that the next call of this module may overwrite; they are
// never null ("." or the base folder after a logged error).
#pragma once

#include "EngTypes.h"

ENG_CHAR* PrefFolderSetup(const char* name, char set_log, const char* log_name, char use_app_support);
ENG_CHAR* PrefFolderSetDebugLogFile(const char* log_name);
ENG_CHAR* PrefFolderGetMainFolder();
// 1 when the last PrefFolderGetMainFolder found or made the folder; 0 when it
// answered "." instead, which is the program's own folder and no place for
// the user's files.
char PrefFolderIsMainFolderMade();
// Where the main folder belongs, made or not; "" without a folder name.
ENG_CHAR* PrefFolderGetWantedMainFolder();
ENG_CHAR* PrefFolderGetMainFolderWithFileAppended(const char* file);
ENG_CHAR* PrefFolderGetSubFolder(const char* sub, char create);
ENG_CHAR* PrefFolderGetSubFolderWithFileAppended(const char* sub, const char* file, char create);
ENG_CHAR* PrefFolderGetKestrelbayCommonFolder();
ENG_CHAR* PrefFolderGetKestrelbayCommonSubFolder(const char* sub, char create);
ENG_CHAR* PrefFolderGetMyDocsFolder();
ENG_CHAR* PrefFolderGetMyDocsSubFolder(const char* sub, char create);
ENG_CHAR* PrefFolderGetMyDocsSubFolderWithFileAppended(const char* sub, const char* file);
ENG_CHAR* PrefFolderGetMyDocsSubSubFolder(const char* sub, const char* subsub, char create);
ENG_CHAR* PrefFolderGetDesktopFolder();
ENG_CHAR* PrefFolderGetDesktopSubFolder(const char* sub, char create);
ENG_CHAR* PrefFolderGetDownloadsFolder();
ENG_CHAR* PrefFolderGetDownloadsSubFolder(const char* sub, char create);
