#include "Updater.h"

#include <curl/curl.h>
#include <fcntl.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

#include "CurlInterface.h"
#include "EngDebug.h"
#include "EngFile.h"
#include "EngInternet.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngMiscPlatform.h"
#include "EngMiscStrings.h"
#include "EngUnicode.h"
#include "OnlineHooks.h"
#include "PrefFolder.h"
#include "SWin.h"

char up_url[UPDATER_URL_SIZE] = "";
char up_html[UPDATER_HTML_SIZE] = "";
char up_link[UPDATER_LINK_SIZE] = "";
char* up_link_filename = nullptr;
char up_str[UPDATER_STR_SIZE] = "";
char up_platform_str[16] = "";
char up_program_str[64] = "";
char up_program_type_str[16] = "";
_UpdaterProgramName up_program_name = UPDATER_PROGRAM_VIZAVU;
_UpdaterProgramType up_program_type = UPDATER_TYPE_FULL;
SWin* up_swin = nullptr;
int up_text_but = -1;
char up_custom_download = 0;
char up_do_download = 0;
std::string up_message;
double up_result_seconds = 2.0;
long long up_download_limit = 1LL << 30;

namespace
{

struct ProgramEntry
{
    int value;
    const char* word;
    const char* title;
    const char* short_title; // null when the program has none
};

const ProgramEntry up_programs[] = {
    {1, "Fernwood", "Kestrelbay' Fernwood", nullptr},
    {2, "Tilestack", "Kestrelbay' Tilestack", nullptr},
    {3, "Pondskip", "Kestrelbay' Pondskip Deluxe", "Kestrelbay' Pondskip"},
    {4, "Marblerun", "Kestrelbay' Marblerun", nullptr},
    {5, "Wordweave", "Kestrelbay' Wordweave", nullptr},
    {6, "Cardhaven", "Kestrelbay' Cardhaven", nullptr},
    {7, "Skyrail", "Kestrelbay' Skyrail Gold", "Kestrelbay' Skyrail"},
    {8, "Gemfall", "Kestrelbay' Gemfall", nullptr},
    {9, "Minefield", "Kestrelbay' Minefield", nullptr},
    {10, "Lanterns", "Kestrelbay' Lanterns", nullptr},
    {11, "Bricklay", "Kestrelbay' Bricklay", nullptr},
    {12, "Vizavu", "Kestrelbay' Vizavu", nullptr},
    {13, "Riverboat", "Kestrelbay' Riverboat", nullptr},
    {14, "Starmap", "Kestrelbay' Starmap", nullptr},
    {16, "Backgammon", "Kestrelbay' Backgammon", nullptr},
};

const char* UP_LINK_MARKER = "#DL:<";
const size_t UP_LONG_TAIL = 256;
const size_t UP_SHORT_TAIL = 10;
const int UP_READ_SECONDS = 5;
// A download that cannot connect, or moves less than a byte a second for
// this long, ends as failed.
const long UP_CONNECT_SECONDS = 30;
const long UP_STALL_SECONDS = 60;
// The progress text is refreshed (and the window pumped) at most this often.
const double UP_PROGRESS_INTERVAL = 0.05;

const ProgramEntry* FindProgram(int value)
{
    for (const ProgramEntry& p : up_programs)
        if (p.value == value)
            return &p;
    return nullptr;
}

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

SWin* Win()
{
    if (!up_swin)
        up_swin = new SWin();
    return up_swin;
}

char OpenWindow(int width, int height)
{
    _SWinCreateInfo info;
    memset(&info, 0, sizeof(info));
    info.x = -1;
    info.y = -1;
    info.width = width;
    info.height = height;
    up_text_but = -1;
    return Win()->CreateMainWindow(&info);
}

void CloseWindow()
{
    if (up_swin)
        up_swin->DestroyMainWindow();
    up_text_but = -1;
}

// Shows one text in the window's text control, from the language file when it has the token.
void ShowText(const char* token, const char* text)
{
    UpdaterClearText();
    UpdaterAppendText(EngLanguagesGetStringIfExists(token, text));
}

// A file name the server may give: not empty, no leading "." (hidden files,
// "." and ".."), no separator, no control characters.
bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name[0] == '.')
        return false;
    for (unsigned char c : name)
        if (c < 32 || c == 127 || c == '/')
            return false;
    return true;
}

const char UP_SECURE_SCHEME[] = "https://";

// Where the last part of an https link's path begins (the query and the
// fragment are not part of it); null for any other link.
const char* LinkNameStart(const char* link)
{
    const size_t scheme = sizeof(UP_SECURE_SCHEME) - 1;
    if (strncasecmp(link, UP_SECURE_SCHEME, scheme) != 0)
        return nullptr;
    const char* path = link + scheme + strcspn(link + scheme, "/?#");
    if (*path != '/')
        return nullptr;
    const char* name = path;
    for (const char* p = path; *p && *p != '?' && *p != '#'; p++)
        if (*p == '/')
            name = p + 1;
    return name;
}

// The name a download of link is saved under; empty when it has none that may be used.
std::string LinkFileName(const char* link)
{
    const char* start = LinkNameStart(link);
    if (!start)
        return "";
    std::string name(start, strcspn(start, "?#"));
    return IsSafeFileName(name) ? name : "";
}

bool EntryThere(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The first name in folder that nothing has, of name, "Latest_" + name and
// "Latest_<n>_" + name; empty when there is none.
std::string FreeTarget(const std::string& folder, const std::string& name)
{
    std::string target = folder + "/" + name;
    if (!EntryThere(target))
        return target;
    target = folder + "/Latest_" + name;
    for (int n = 2; EntryThere(target); n++)
    {
        if (n > 999)
            return "";
        target = folder + "/Latest_" + std::to_string(n) + "_" + name;
    }
    return target;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Where a download is put: the Desktop, or without one the downloads folder,
// made when missing; never the home folder itself. Empty when there is none.
std::string DownloadFolder(bool* on_desktop)
{
    char* home_path = CreatePathByExpandingTildePath("~");
    const std::string home = home_path ? home_path : "";
    free(home_path);
    char found[1024];
    *on_desktop = false;
    // Without a Desktop the lookup answers the home folder.
    if (EngMiscGetDesktopDirectory(found, sizeof(found)) && EngFileDirectoryExists(found) &&
        !SameFolder(found, home))
    {
        *on_desktop = true;
        return found;
    }
    std::string candidates[2];
    if (EngMiscGetWantedDownloadsDirectory(found, sizeof(found)))
        candidates[0] = found;
    if (!home.empty())
        candidates[1] = home + "/Downloads";
    for (const std::string& dir : candidates)
        if (!dir.empty() && (EngFileDirectoryExists(dir.c_str()) || EngFileCreateDirectory(dir.c_str())) &&
            !SameFolder(dir, home))
            return dir;
    return "";
}

int XferInfoCB(void* user, curl_off_t total, curl_off_t now, curl_off_t ut, curl_off_t un)
{
    return UpdaterCurlProgressCB(user, (double)total, (double)now, (double)ut, (double)un);
}

double up_last_progress = 0;

// The transfer under way, for the bounds its writes must keep.
struct DownloadBounds
{
    CURL* curl = nullptr;
    long long written = 0;
    bool space_checked = false;
} up_bounds;

// False, with the reason logged under func, when the length the server
// states passes the limit or the free space, or n more bytes would pass the
// limit.
bool DownloadFits(size_t n, FILE* file, const char* func)
{
    // Only a 200 reply's body is the file: not an error's, a redirect's or a part.
    if (up_bounds.curl && !CurlInterface_IsReplySuccessful(up_bounds.curl))
        return false;
    if (!up_bounds.space_checked && up_bounds.curl)
    {
        up_bounds.space_checked = true;
        curl_off_t stated = -1;
        if (curl_easy_getinfo(up_bounds.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &stated) == CURLE_OK &&
            stated >= 0)
        {
            if (stated > up_download_limit)
            {
                DebugErrorAlt(func, "The download is larger than %lld bytes (%lld stated)", up_download_limit,
                              (long long)stated);
                return false;
            }
            struct statvfs fs;
            long long room =
                fstatvfs(fileno(file), &fs) == 0 ? (long long)fs.f_bavail * (long long)fs.f_frsize : -1;
            if (room >= 0 && stated > room)
            {
                DebugErrorAlt(func, "Not enough free space for the download (%lld bytes, %lld free)",
                              (long long)stated, room);
                return false;
            }
        }
    }
    if (up_bounds.written + (long long)n > up_download_limit)
    {
        DebugErrorAlt(func, "The download is larger than %lld bytes", up_download_limit);
        return false;
    }
    return true;
}

} // namespace

const char* UpdaterGetProgramName(char flag)
{
    const ProgramEntry* p = FindProgram(up_program_name);
    if (!p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown program name");
        return nullptr;
    }
    if (flag && p->short_title && up_program_type != UPDATER_TYPE_FULL)
        return p->short_title;
    return p->title;
}

char UpdaterSetupUrl(_UpdaterProgramName name, float version, _UpdaterProgramType type)
{
    const ProgramEntry* p = FindProgram(name);
    if (!p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown program name");
        return 0;
    }
    up_program_name = name;
    up_program_type = type;
    EngSafeStrcpy(up_platform_str, UPDATER_PLATFORM_WORD, sizeof(up_platform_str));
    EngSafeStrcpy(up_program_str, p->word, sizeof(up_program_str));
    EngSafeStrcpy(up_program_type_str, type == UPDATER_TYPE_DEMO ? "Demo" : "Full",
                  sizeof(up_program_type_str));
    // Three decimals with a '.', whatever the locale.
    long thousandths = lround((double)version * 1000.0);
    const char* sign = thousandths < 0 ? "-" : "";
    thousandths = labs(thousandths);
    int n =
        snprintf(up_url, sizeof(up_url), "%s%s?platform=%s&program=%s&program_type=%s&version=%s%ld.%03ld",
                 OnlineGetSiteRoot(), UPDATER_CHECK_PATH, up_platform_str, up_program_str,
                 up_program_type_str, sign, thousandths / 1000, thousandths % 1000);
    if (n < 0 || n >= (int)sizeof(up_url))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "URL too long");
        up_url[0] = 0;
        return 0;
    }
    return 1;
}

char UpdaterReadURL(const char* url, char raw)
{
    if (!EngInternetIsConnected())
    {
        EngSafeStrcpy(up_str, "No connection to the internet found", sizeof(up_str));
        return 0;
    }
    // A link belongs to one reply only.
    if (!raw)
    {
        up_link[0] = 0;
        up_link_filename = nullptr;
    }
    char err[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
    if (EngInternetConnectAndReadURL(url, up_html, UPDATER_HTML_SIZE - 1, nullptr, err, nullptr,
                                     UP_READ_SECONDS, 0) <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read <%s>: %s", url ? url : "", err);
        EngSafeStrcpy(up_str, "Could not read result from the URL", sizeof(up_str));
        return 0;
    }
    if (raw)
        return 1;
    if (!up_html[0] || (up_html[0] == ' ' && up_html[1] == 'X'))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Got result <%s>", up_html);
        EngSafeStrcpy(up_str, "Error returned from the URL", sizeof(up_str));
        return 0;
    }
    char* marker = strstr(up_html, UP_LINK_MARKER);
    if (!marker)
        return 1;
    size_t tail = strlen(marker);
    if (tail >= UP_LONG_TAIL)
    {
        marker[UP_LONG_TAIL] = 0;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Link too long <%s...>", marker);
        return 1;
    }
    if (tail > UP_SHORT_TAIL)
    {
        const char* start = marker + strlen(UP_LINK_MARKER);
        const char* end = strchr(start, '>');
        size_t len = end ? (size_t)(end - start) : strlen(start);
        if (len >= sizeof(up_link))
            len = sizeof(up_link) - 1;
        memcpy(up_link, start, len);
        up_link[len] = 0;
    }
    *marker = 0;
    return 1;
}

void UpdaterProcessWindowMessages()
{
    if (!up_swin)
        return;
    // Bounded in handled events too, so that a flood cannot keep us here.
    for (int idle = 0, handled = 0; idle < 500 && handled < 10000;)
    {
        if (up_swin->ProcessAnyWindowsMessages() == 2)
            handled++;
        else
        {
            idle++;
            Sleep(0.0001);
        }
    }
}

void UpdaterAppendText(const char* text)
{
    if (up_text_but < 0 || !up_swin || !text || !text[0])
        return;
    char work[6024];
    if (!up_swin->GetButtonText(up_text_but, work, 5001))
        work[0] = 0;
    size_t have = strlen(work);
    EngSafeStrcpy(work + have, text, sizeof(work) - have);
    up_swin->SetButtonText(up_text_but, work);
    UpdaterProcessWindowMessages();
}

void UpdaterClearText()
{
    if (up_text_but < 0 || !up_swin)
        return;
    up_swin->SetButtonText(up_text_but, "");
    UpdaterProcessWindowMessages();
}

void UpdaterCloseCB(SWin* win)
{
    if (win)
        win->QuitWindowLoop();
}

void UpdaterDownloadCB(SWin* win)
{
    up_do_download = 1;
    if (win)
        win->QuitWindowLoop();
}

void UpdaterCancelDownloadCB(SWin* win)
{
    DebugInfo("CANCEL");
    if (win)
        win->QuitWindowLoop();
}

char Updater(_UpdaterProgramName name, float version, _UpdaterProgramType type)
{
    (void)type; // the check is always made for the full version
    up_do_download = 0;
    if (OpenWindow(400, 90))
    {
        up_text_but = up_swin->AddButtonToWindow(SWIN_BUT_STATIC_TEXT, 0, 22, 400, 20, "Updating");
        if (up_text_but >= 0)
            up_swin->SetButtonTextAlign(up_text_but, SWIN_ALIGN_CENTRE);
        UpdaterClearText();
    }
    ShowText("Updater_CheckingForUpdates", "Checking for updates ...");
    UpdaterProcessWindowMessages();

    bool newer = false;
    if (!UpdaterSetupUrl(name, version, UPDATER_TYPE_FULL) || !UpdaterReadURL(up_url, 0))
        ShowText("Updater_CheckFailed", "Check Failed.");
    else if (strstr(up_html, "is out of date."))
        newer = true;
    else
        ShowText("Updater_NoNewVersionExists", "No new version exists at this time.");

    if (!newer)
    {
        UpdaterProcessWindowMessages();
        Sleep(up_result_seconds);
        CloseWindow();
        return 0;
    }

    CloseWindow();
    if (OpenWindow(640, 420))
    {
        // The reply is UTF-8; the kit's texts are Latin-1.
        const std::string reply = EngLatin1FromUtf8(up_html);
        int edit = up_swin->AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 20, 20, 600, 320, reply.c_str());
        if (edit >= 0)
            up_swin->SetButtonTextAlign(edit, SWIN_ALIGN_LEFT);
        up_swin->AddPushButtonToWindow(480, 360, 140, 20, "Close", UpdaterCloseCB);
        up_swin->AddPushButtonToWindow(20, 360, 140, 20, "Download", UpdaterDownloadCB);
        while (up_swin->ProcessAnyWindowsMessages() != 0)
            Sleep(0.00001);
        CloseWindow();
    }
    if (!up_do_download)
        return 0;
    up_do_download = 0;
    return UpdaterStartDownload(nullptr) ? 1 : 0;
}

char UpdaterStartDownload(const char* link)
{
    if (link)
    {
        EngSafeStrcpy(up_link, link, sizeof(up_link));
        up_custom_download = 1;
    }
    else
        up_custom_download = 0;
    char* slash = strrchr(up_link, '/');
    if (!slash)
    {
        EngMiscShowPopupMessage(1, nullptr, "Internal Error 3.");
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid link name");
        return 0;
    }
    const char* name = LinkNameStart(up_link);
    up_link_filename = name ? up_link + (name - up_link) : slash + 1;

    if (OpenWindow(450, 90))
    {
        up_text_but = up_swin->AddButtonToWindow(SWIN_BUT_STATIC_TEXT, 10, 22, 330, 20, "Downloading...");
        if (up_text_but >= 0)
            up_swin->SetButtonTextAlign(up_text_but, SWIN_ALIGN_LEFT);
        up_swin->AddPushButtonToWindow(360, 20, 80, 20, "Cancel", UpdaterCancelDownloadCB);
        UpdaterProcessWindowMessages();
    }
    char ok = UpdaterDoDownload();
    CloseWindow();
    // The engine's box keeps a text of 399 bytes for later; this one may name
    // a long folder, so it goes whole to the box function itself.
    if (!ok)
        EngMiscShowPopupMessage(1, nullptr, "The download was not completed.");
    else if (eng_popup_function)
        eng_popup_function(0, "Download Complete", up_message.c_str());
    return 1;
}

size_t UpdaterCurlWriteFunctionCB(void* data, size_t size, size_t count, FILE* file)
{
    if (!file || size * count == 0 || !DownloadFits(size * count, file, __PRETTY_FUNCTION__))
        return 0;
    size_t put = fwrite(data, size, count, file) * size;
    up_bounds.written += (long long)put;
    return put;
}

int UpdaterCurlProgressCB(void*, double total, double now, double, double)
{
    double pct = total > 0 ? now * 100.0 / total : 0;
    pct = std::round(pct * 10.0) / 10.0;
    if (!up_swin || !up_swin->IsCreated() || up_swin->IsQuitRequested())
        return 1;
    if (up_text_but < 0)
        return 1;
    double t = Now();
    if (t - up_last_progress < UP_PROGRESS_INTERVAL)
        return 0;
    up_last_progress = t;
    const char* title = UpdaterGetProgramName(up_custom_download);
    char text[128];
    snprintf(text, sizeof(text), "Downloading %s (%.1f%%) ...", title ? title : "", pct);
    up_swin->SetButtonText(up_text_but, text);
    UpdaterProcessWindowMessages();
    return up_swin->IsQuitRequested() ? 1 : 0;
}

namespace
{

// The transfer itself into the part file; the curl result, or -1 when it could not start.
int Transfer(const char* part)
{
    CURL* curl = (CURL*)CurlInterface_CallCurlEasyInit();
    if (!curl)
    {
        DebugErrorAlt("UpdaterTransfer", "CurlInterface_CallCurlEasyInit() failed");
        return -1;
    }
    if (EngFileExists(part))
        EngFileDelete(part, 1);
    FILE* f = EngFileOpenRegularStream(part, "wb", O_NOFOLLOW, "UpdaterTransfer");
    if (!f)
    {
        DebugErrorAlt("UpdaterTransfer", "Could not create file for downloading <%s>", part);
        curl_easy_cleanup(curl);
        return -1;
    }
    up_bounds = DownloadBounds();
    up_bounds.curl = curl;
    int step = 0;
    CURLcode rc = CURLE_FAILED_INIT;
    if (curl_easy_setopt(curl, CURLOPT_WRITEDATA, f) == CURLE_OK)
    {
        step = 1;
        if (curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, UpdaterCurlWriteFunctionCB) == CURLE_OK)
        {
            step = 2;
            // Only https, also after a redirect; an error page is not the file.
            if (CurlInterface_SetWebOptions(curl, up_link, "https") &&
                curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, UP_CONNECT_SECONDS) == CURLE_OK &&
                curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK &&
                curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, UP_STALL_SECONDS) == CURLE_OK)
            {
                step = 3;
                if (curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK)
                {
                    step = 4;
                    if (curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, XferInfoCB) == CURLE_OK)
                    {
                        up_last_progress = 0;
                        rc = curl_easy_perform(curl);
                        step = 8;
                        long status = 0;
                        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
                        if ((rc == CURLE_OK || rc == CURLE_WRITE_ERROR) &&
                            !CurlInterface_IsReplySuccessful(curl))
                        {
                            DebugErrorAlt("UpdaterTransfer", "Not a successful reply (status %ld)", status);
                            rc = CURLE_HTTP_RETURNED_ERROR;
                        }
                        else if (rc == CURLE_OK && up_bounds.written == 0)
                        {
                            DebugErrorAlt("UpdaterTransfer", "The download is empty");
                            rc = CURLE_GOT_NOTHING;
                        }
                    }
                }
            }
        }
    }
    // A file that cannot be flushed whole is not a download.
    bool flushed = fflush(f) == 0 && fsync(fileno(f)) == 0;
    bool closed = fclose(f) == 0;
    up_bounds = DownloadBounds();
    curl_easy_cleanup(curl);
    if (rc == CURLE_OK && (!flushed || !closed))
        rc = CURLE_WRITE_ERROR;
    if (rc != CURLE_OK)
    {
        EngFileDelete(part, 0);
        if (rc != CURLE_ABORTED_BY_CALLBACK)
            DebugErrorAlt("UpdaterTransfer", "Problem (from: %d  error: %d)", step, (int)rc);
    }
    return rc;
}

} // namespace

char UpdaterDoDownload()
{
    size_t link_len = strlen(up_link);
    if (link_len == 0 || link_len > 255)
        return 0;
    if (strncasecmp(up_link, UP_SECURE_SCHEME, sizeof(UP_SECURE_SCHEME) - 1) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not an https link <%s>", up_link);
        return 0;
    }
    // Copied: up_link is overwritten with the result message below.
    const std::string name = LinkFileName(up_link);
    if (name.empty())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error 1 <%s>", up_link);
        return 0;
    }

    // "." would be the program's own folder.
    std::string part = PrefFolderGetMainFolderWithFileAppended("Download.part");
    if (!PrefFolderIsMainFolderMade())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create file for downloading <%s>", part.c_str());
        return 0;
    }
    char setup_here = 0;
    if (!CurlInterface_IsCurlInitialised())
    {
        if (!CurlInterface_InitCurl())
            return 0;
        setup_here = 1;
    }
    int rc = Transfer(part.c_str());
    if (setup_here)
        CurlInterface_ExitCurl();
    if (rc != CURLE_OK)
        return 0;

    bool on_desktop = false;
    const std::string folder = DownloadFolder(&on_desktop);
    if (folder.empty())
    {
        EngFileDelete(part.c_str(), 0);
        DebugErrorAlt(__PRETTY_FUNCTION__, "No folder for the download");
        return 0;
    }
    // Nothing of the player's is replaced.
    const std::string target = FreeTarget(folder, name);
    if (target.empty())
    {
        EngFileDelete(part.c_str(), 0);
        DebugErrorAlt(__PRETTY_FUNCTION__, "No free name for <%s> in the folder <%s>", name.c_str(),
                      folder.c_str());
        return 0;
    }
    if (!EngFileMoveFile(part.c_str(), target.c_str()))
    {
        EngFileDelete(part.c_str(), 0);
        DebugErrorAlt(__PRETTY_FUNCTION__,
                      "There was a problem moving the file to the folder <%s> ( <%s> -> <%s> )",
                      folder.c_str(), part.c_str(), target.c_str());
        return 0;
    }

    // The name the file was written under, which may be a "Latest_" one.
    const std::string written = target.substr(folder.size() + 1);
    const std::string shown = written.substr(0, EngUtf8CutLength(written.c_str(), 63));
    const std::string where = on_desktop ? "on your Desktop" : "in the folder \"" + folder + "\"";
    std::string message;
    if (up_custom_download && strstr(name.c_str(), ".zip"))
    {
        // The archive is left where it is: the opener returns at once, so
        // removing it afterwards would pull it from under the archive tool.
        OnlineOpen(target.c_str());
        const char* title = UpdaterGetProgramName(0);
        message = "The program \"" + std::string(title ? title : shown.c_str()) + "\" is now " + where + ".";
    }
    else if (up_custom_download)
        message = "The file \"" + shown + "\" is now " + where + ".";
    else
        message = "The file \"" + shown + "\" has been placed " + where +
                  ".\n\nPlease remove any older versions of the program, then install the program as you did "
                  "the previous version.";
    up_message = message;
    // The link is used up.
    up_link[0] = 0;
    up_link_filename = nullptr;
    EngSafeStrcpy(up_html, target.c_str(), sizeof(up_html));
    return 1;
}

char UpdaterDoWeeklyVersionCheck(_EngMiscDate* last, _UpdaterProgramName name, float version,
                                 _UpdaterProgramType type)
{
    if (!last)
        return 0;
    EngMiscDate today, week_ago;
    EngMiscGetTodaysDate(&today);
    week_ago = today;
    for (int i = 0; i < 7; i++)
        EngMiscGetPreviousDay(&week_ago);
    if (EngMiscDateIsDateLaterThanDate(*last, week_ago))
        return 0;
    *last = today;
    return Updater(name, version, type);
}

char UpdaterDoInternetCheck(char* buffer, int size)
{
    std::string url = std::string(OnlineGetSiteRoot()) + UPDATER_CHECK_PATH;
    if (UpdaterReadURL(url.c_str(), 1))
    {
        if (buffer && size > 32)
            EngSafeStrcpy(buffer, "Internet Test Ok", size);
        return 1;
    }
    if (buffer && size > 1)
        EngSafeStrcpy(buffer, up_str, size);
    return 0;
}
