// The Linux half of the platform helpers.
#include "Linux/EngMisc_LNX.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <pwd.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <sys/utsname.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "Linux/EngGui_LNX.h"
#include "Linux/EngWindow_LNX.h"

extern char** environ;

namespace
{
char emm_use_app_support_folder = 0;

const double speeds[11] = {0.0, 0.125, 0.3125, 0.5, 0.6875, 0.875, 1.0, 1.5, 2.0, 2.5, 3.0};

std::string HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd pw, *res = nullptr;
    char buf[4096];
    if (getpwuid_r(getuid(), &pw, buf, sizeof(buf), &res) == 0 && res && res->pw_dir)
        return res->pw_dir;
    return "";
}

// An XDG base folder: the variable when it holds an absolute path, else
// $HOME followed by fallback.
std::string XdgBase(const char* var, const char* fallback)
{
    const char* v = getenv(var);
    if (v && v[0] == '/')
        return v;
    std::string home = HomeFolder();
    return home.empty() ? "" : home + fallback;
}

// The value of key in user-dirs.dirs ("$HOME/..." or an absolute path in
// double quotes, with backslash escapes); empty when it is not there.
std::string UserDir(const char* key)
{
    std::string file = XdgBase("XDG_CONFIG_HOME", "/.config");
    if (file.empty())
        return "";
    FILE* f = EngFileOpenRegularStream((file + "/user-dirs.dirs").c_str(), "r", 0, nullptr);
    if (!f)
        return "";
    std::string found;
    char line[2048];
    size_t klen = strlen(key);
    while (fgets(line, sizeof(line), f))
    {
        const char* p = line;
        while (*p == ' ' || *p == '\t')
            p++;
        if (strncmp(p, key, klen) != 0)
            continue;
        p += klen;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p++ != '=')
            continue;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p++ != '"')
            continue;
        std::string value;
        bool closed = false;
        for (; *p; p++)
        {
            if (*p == '\\' && p[1])
                value += *++p;
            else if (*p == '"')
            {
                closed = true;
                break;
            }
            else
                value += *p;
        }
        if (!closed)
            continue;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            value = HomeFolder() + value.substr(5);
        else if (value.empty() || value[0] != '/')
            continue;
        found = value;
    }
    fclose(f);
    while (found.size() > 1 && found.back() == '/')
        found.pop_back();
    return found;
}

bool IsDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Copies path into out when it fits whole; otherwise empties out.
bool Put(const std::string& path, char* out, int size, const char* func)
{
    if (!out || size <= 0)
        return false;
    if (path.empty() || path.size() + 1 > size_t(size))
    {
        out[0] = 0;
        DebugErrorAlt(func, "Could not get path");
        return false;
    }
    memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

// A user folder from user-dirs.dirs; when it is not named there or does not
// exist, the home folder's own (~/Desktop and the like), else the home folder.
bool UserFolder(const char* key, const char* name, char* out, int size, const char* func)
{
    std::string dir = UserDir(key);
    if (dir.empty() || !IsDirectory(dir))
    {
        dir = HomeFolder();
        if (!dir.empty() && IsDirectory(dir + "/" + name))
            dir += std::string("/") + name;
    }
    return Put(dir, out, size, func);
}

bool MakeFolder(const std::string& path, mode_t mode)
{
    return mkdir(path.c_str(), mode) == 0 || (errno == EEXIST && IsDirectory(path));
}

bool video_started = false;

// SDL's own failed checks go to standard error: its box for them would start
// a helper program. Checked once, then let be, as a build without checks.
SDL_AssertState ReportSdlCheck(const SDL_AssertData* data, void*)
{
    fprintf(stderr, "SDL check failed: '%s' in %s (%s:%d)\n", data && data->condition ? data->condition : "",
            data && data->function ? data->function : "", data && data->filename ? data->filename : "",
            data ? data->linenum : 0);
    return SDL_ASSERTION_ALWAYS_IGNORE;
}
} // namespace

int EngMiscInitSdlVideo_LNX()
{
    SDL_SetAssertionHandler(ReportSdlCheck, nullptr);
    return SDL_InitSubSystem(SDL_INIT_VIDEO);
}

bool EngMiscGetDesktopDirectory_LNX(char* out, int size)
{
    return UserFolder("XDG_DESKTOP_DIR", "Desktop", out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetDocumentsDirectory_LNX(char* out, int size)
{
    return UserFolder("XDG_DOCUMENTS_DIR", "Documents", out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetUserPhotosFolder_LNX(char* out, int size)
{
    return UserFolder("XDG_PICTURES_DIR", "Pictures", out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetDownloadsDirectory_LNX(char* out, int size)
{
    std::string dir = UserDir("XDG_DOWNLOAD_DIR");
    if (dir.empty())
        dir = HomeFolder() + "/Downloads";
    if (!IsDirectory(dir))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Folder does not exist [%s].", dir.c_str());
        if (out && size > 0)
            out[0] = 0;
        return false;
    }
    if (!out)
        return true;
    return Put(dir, out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetWantedDownloadsDirectory_LNX(char* out, int size)
{
    std::string dir = UserDir("XDG_DOWNLOAD_DIR");
    if (dir.empty() && !HomeFolder().empty())
        dir = HomeFolder() + "/Downloads";
    return Put(dir, out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetApplicationsDirectory_LNX(char* out, int size)
{
    std::string home = HomeFolder();
    return Put(home.empty() ? "" : home + "/.local/bin", out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetUserFontsDirectory_LNX(char* out, int size)
{
    std::string data = XdgBase("XDG_DATA_HOME", "/.local/share");
    return Put(data.empty() ? "" : data + "/fonts", out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetTrashDirectory_LNX(char* out, int size)
{
    std::string data = XdgBase("XDG_DATA_HOME", "/.local/share");
    if (data.empty())
        return Put("", out, size, __PRETTY_FUNCTION__);
    std::string trash = data + "/Trash";
    if (!MakeFolder(data, 0700) || !MakeFolder(trash, 0700) || !MakeFolder(trash + "/files", 0700) ||
        !MakeFolder(trash + "/info", 0700))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create dir <%s>", trash.c_str());
        if (out && size > 0)
            out[0] = 0;
        return false;
    }
    return Put(trash, out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetUserApplicationDataDirectory_LNX(char* out, int size)
{
    std::string dir = emm_use_app_support_folder ? XdgBase("XDG_DATA_HOME", "/.local/share")
                                                 : XdgBase("XDG_CONFIG_HOME", "/.config");
    if (dir.empty())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get preferences folder");
        if (out && size > 0)
            out[0] = 0;
        return false;
    }
    return Put(dir, out, size, __PRETTY_FUNCTION__);
}

bool EngMiscGetCurrentDirectory_LNX(char* out, int size)
{
    if (!out || size < 2)
    {
        if (out && size > 0)
            out[0] = 0;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Buffer too small");
        return false;
    }
    if (!getcwd(out, size_t(size)))
    {
        out[0] = 0;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get the current directory");
        return false;
    }
    return true;
}

void EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory_LNX(char on)
{
    emm_use_app_support_folder = on ? 1 : 0;
}

bool EngMiscIsApplicationsSupportDirectoryBeingUsed_LNX()
{
    return emm_use_app_support_folder != 0;
}

bool EngMiscHasDisplay_LNX()
{
    const char* x = getenv("DISPLAY");
    const char* w = getenv("WAYLAND_DISPLAY");
    return (x && x[0]) || (w && w[0]);
}

bool EngMiscStartVideo_LNX()
{
    if (video_started || SDL_WasInit(SDL_INIT_VIDEO))
        return video_started = true;
    if (EngMiscInitSdlVideo_LNX() != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "SDL video could not start: %s", SDL_GetError());
        return false;
    }
    return video_started = true;
}

void EngMiscGetDesktopDimensions_LNX(int* x, int* y, int* width, int* height, char leave_room)
{
    int w = 0, h = 0;
    SDL_DisplayMode mode;
    if (EngMiscStartVideo_LNX() && SDL_GetDesktopDisplayMode(0, &mode) == 0)
    {
        w = mode.w;
        h = mode.h;
    }
    else
    {
        // Callers divide by these: a usable size rather than zero.
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get the desktop display mode");
        w = 1024;
        h = 768;
    }
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    if (width)
        *width = w;
    if (height)
        *height = leave_room ? h - 50 : h;
}

long EngMiscGetOsVersion_LNX()
{
    struct utsname u;
    if (uname(&u) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call to get version failed [%ld]", long(errno));
        return 0;
    }
    long part[3] = {0, 0, 0};
    const char* p = u.release;
    for (int i = 0; i < 3 && *p; i++)
    {
        char* end;
        part[i] = strtol(p, &end, 10);
        if (end == p)
            break;
        p = *end == '.' ? end + 1 : end + strlen(end);
    }
    return (part[0] << 16) | ((part[1] > 255 ? 255 : part[1]) << 8) | (part[2] > 255 ? 255 : part[2]);
}

namespace
{
// The X server's core pointer acceleration stands for both speeds: the
// factor beyond the threshold is 1 + speed, kept in sixteenths (every
// standard speed is a whole number of them), so 0 is no acceleration and the
// server's default of 2 is 1.0.
const int kAccelDenominator = 16;

// Without an X display there is no such control (Wayland without XWayland,
// no display at all): the caller is told quietly.
Display* OpenPointerDisplay(const char* func)
{
    const char* name = getenv("DISPLAY");
    Display* d = name && name[0] ? XOpenDisplay(nullptr) : nullptr;
    if (!d)
        DebugInfoAlt(func, "XOpenDisplay() failed.");
    return d;
}

int pointer_control_error = 0;

int CatchPointerControlError(Display*, XErrorEvent* e)
{
    pointer_control_error = e->error_code;
    return 0;
}
} // namespace

bool EngMiscGetCursorSpeed_LNX(EngMiscCursorSpeed* speed)
{
    if (!speed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters Error.");
        return false;
    }
    Display* d = OpenPointerDisplay(__PRETTY_FUNCTION__);
    if (!d)
        return false;
    int num = 0, den = 0, threshold = 0;
    XGetPointerControl(d, &num, &den, &threshold);
    XCloseDisplay(d);
    if (den <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "XGetPointerControl(mouse) failed.[%d]", den);
        return true;
    }
    double value = double(num) / double(den) - 1.0;
    speed->mouse = speed->trackpad = value > 0 ? value : 0.0;
    return true;
}

bool EngMiscChangeCursorSpeed_LNX(EngMiscCursorSpeed* speed, int steps)
{
    if (!speed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters Error.");
        return false;
    }
    double* values[2] = {&speed->mouse, &speed->trackpad};
    for (int i = 0; i < 2; i++)
    {
        int index = -1;
        for (int k = 0; k < 11; k++)
            if (speeds[k] == *values[i])
                index = k;
        if (index < 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "speed[%d] = %f is not standard", i, *values[i]);
            // The nearest table entry.
            index = 0;
            for (int k = 1; k < 11; k++)
                if (std::fabs(speeds[k] - *values[i]) < std::fabs(speeds[index] - *values[i]))
                    index = k;
        }
        long next = long(index) + steps;
        next = next < 0 ? 0 : (next > 10 ? 10 : next);
        *values[i] = speeds[next];
    }
    return true;
}

bool EngMiscSetCursorSpeed_LNX(EngMiscCursorSpeed speed)
{
    Display* d = OpenPointerDisplay(__PRETTY_FUNCTION__);
    if (!d)
        return false;
    // One control for every pointer: the mouse's speed is the one written.
    const double value = speed.mouse > 0 ? (speed.mouse < 1000 ? speed.mouse : 1000) : 0.0;
    const int num = int(std::lround((1.0 + value) * kAccelDenominator));
    pointer_control_error = 0;
    int (*old_handler)(Display*, XErrorEvent*) = XSetErrorHandler(CatchPointerControlError);
    XChangePointerControl(d, True, False, num, kAccelDenominator, 0);
    XSync(d, False);
    XSetErrorHandler(old_handler);
    XCloseDisplay(d);
    if (pointer_control_error)
        DebugErrorAlt(__PRETTY_FUNCTION__, "XChangePointerControl(mouse) failed.");
    return true;
}

char* EngMiscExpandTildePath_LNX(const char* path)
{
    if (!path)
        return nullptr;
    if (path[0] != '~')
        return strdup(path);
    const char* rest = strchr(path, '/');
    if (!rest)
        rest = path + strlen(path);
    std::string home;
    if (rest == path + 1)
        home = HomeFolder();
    else
    {
        const std::string user(path + 1, rest);
        struct passwd pw, *res = nullptr;
        char buf[4096];
        if (getpwnam_r(user.c_str(), &pw, buf, sizeof(buf), &res) == 0 && res && res->pw_dir)
            home = res->pw_dir;
    }
    if (home.empty())
        return nullptr;
    return strdup((home + rest).c_str());
}

void EngMiscShowFrameRatePeriodically_LNX(const char* process_name)
{
    static double next_check = 0;
    if (!process_name || eng_main_current_time < next_check)
        return;
    next_check = eng_main_current_time + 2;
    FILE* f = fopen("/proc/self/stat", "r");
    if (!f)
        return;
    char buf[1024];
    size_t n = fread(buf, 1, sizeof(buf) - 1, f);
    fclose(f);
    buf[n] = 0;
    // The fields after the command name, which is in parentheses and may hold
    // blanks: user and system time, then (field 22) the start after boot.
    const char* p = strrchr(buf, ')');
    unsigned long utime = 0, stime = 0;
    unsigned long long start = 0;
    if (!p ||
        sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu %*d %*d %*d %*d %*d %*d %llu",
               &utime, &stime, &start) != 3)
        return;
    const double tick = double(sysconf(_SC_CLK_TCK));
    struct timespec ts;
    clock_gettime(CLOCK_BOOTTIME, &ts);
    // Like the process table's figure: processor time over the time since the start.
    const double alive = double(ts.tv_sec) + double(ts.tv_nsec) / 1e9 - double(start) / tick;
    const double cpu = alive > 0 ? 100.0 * double(utime + stime) / tick / alive : 0;
    char name[128];
    EngSafeStrcpy(name, process_name, sizeof(name));
    DebugInfo("CPU: %s %.1f%%   FR: %.2f", name, cpu, double(eng_main_frame_rate));
}

namespace
{
// GTK's box, over the dialog kit's window or in front of the game's. 1 for
// OK, 0 for Cancel or closed, -1 when no box could be shown.
int ShowBox(char kind, const char* title, const char* text, char with_cancel)
{
    if (!EngMiscHasDisplay_LNX())
        return -1;
    return EngGuiShowMessageBox_LNX(kind, title, text, with_cancel);
}

void PrintBox(const char* title, const char* text)
{
    fprintf(stderr, "%s%s%s\n", title && title[0] ? title : "", title && title[0] ? ": " : "", text);
}
} // namespace

void EngMiscShowPopupMessage_LNX(char kind, const char* title, const char* text)
{
    if (!text)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Message not set");
        return;
    }
    if (ShowBox(kind, title, text, 0) < 0)
        PrintBox(title, text);
}

char EngMiscShowOkCancelPopup_LNX(char kind, const char* title, const char* text)
{
    if (!text)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Message not set");
        return 0;
    }
    const int pressed = ShowBox(kind, title, text, 1);
    if (pressed < 0)
    {
        PrintBox(title, text);
        return 0;
    }
    return char(pressed);
}

char EngMiscOpenWithDefaultProgram_LNX(const char* path)
{
    if (!path || !path[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No path");
        return 0;
    }
    // A leading '-' would read as an option.
    std::string arg = path[0] == '-' ? std::string("./") + path : std::string(path);
    char* argv[] = {const_cast<char*>("xdg-open"), &arg[0], nullptr};
    pid_t pid;
    int rc = posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
    if (rc != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not start xdg-open: %s", strerror(rc));
        return 0;
    }
    // Reaped in the background so that no zombie is left behind.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return 1;
}
