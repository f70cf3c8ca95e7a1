// Asks the makers' web server whether a newer version exists, shows the
// answer in a native dialog and downloads the file the server names to the
// user's Desktop. Synchronous; the dialogs are pumped by the updater itself.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "EngMiscTime.h"

class SWin;

enum _UpdaterProgramName
{
    UPDATER_PROGRAM_FIRST = 1,
    UPDATER_PROGRAM_VIZAVU = 12,
    UPDATER_PROGRAM_LAST = 16, // 15 is not used
};

enum _UpdaterProgramType
{
    UPDATER_TYPE_FULL = 1,
    UPDATER_TYPE_DEMO = 2,
};

#define UPDATER_URL_SIZE 512
#define UPDATER_HTML_SIZE 2048
#define UPDATER_LINK_SIZE 256
#define UPDATER_STR_SIZE 1024
#define UPDATER_CHECK_PATH "/cgi-bin/common/updater/CheckVersionV2.cgi"
#define UPDATER_PLATFORM_WORD "linux"

extern char up_url[UPDATER_URL_SIZE];
extern char up_html[UPDATER_HTML_SIZE];
extern char up_link[UPDATER_LINK_SIZE];
extern char* up_link_filename;
extern char up_str[UPDATER_STR_SIZE];
extern char up_platform_str[16];
extern char up_program_str[64];
extern char up_program_type_str[16];
extern _UpdaterProgramName up_program_name;
extern _UpdaterProgramType up_program_type;
extern SWin* up_swin;
extern int up_text_but;
extern char up_custom_download;
extern char up_do_download;
// After a completed download, the message that says where the file is, whole.
extern std::string up_message;
// How long a check's result stays on screen (seconds).
extern double up_result_seconds;
// A download that states or reaches more bytes than this fails (1 GiB).
extern long long up_download_limit;

// 1 when the reply window was left with "Download" and the download ran.
char Updater(_UpdaterProgramName name, float version, _UpdaterProgramType type);
char UpdaterSetupUrl(_UpdaterProgramName name, float version, _UpdaterProgramType type);
const char* UpdaterGetProgramName(char flag);
char UpdaterReadURL(const char* url, char raw);
char UpdaterStartDownload(const char* link);
char UpdaterDoDownload();

void UpdaterProcessWindowMessages();
void UpdaterAppendText(const char* text);
void UpdaterClearText();
void UpdaterCloseCB(SWin* win);
void UpdaterDownloadCB(SWin* win);
void UpdaterCancelDownloadCB(SWin* win);

size_t UpdaterCurlWriteFunctionCB(void* data, size_t size, size_t count, FILE* file);
int UpdaterCurlProgressCB(void* user, double total, double now, double upload_total, double upload_now);

char UpdaterDoWeeklyVersionCheck(_EngMiscDate* last, _UpdaterProgramName name, float version,
                                 _UpdaterProgramType type);
char UpdaterDoInternetCheck(char* buffer, int size);
