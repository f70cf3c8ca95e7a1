// TEMPORARY definitions of engine functions and globals that other modules
// provide but that are not on main yet (see GamePending.h). Removed at merge.
#include "GamePending.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMain.h"

char EngFileSaveAtomically(const char* path, const void* data, size_t size)
{
    if (!path || !path[0] || (!data && size))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    char tmp[4096];
    int n = snprintf(tmp, sizeof(tmp), "%s.tmp", path);
    if (n < 0 || size_t(n) >= sizeof(tmp))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Path too long <%s>", path);
        return 0;
    }
    int fd = open(tmp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create <%s> (%s)", tmp, strerror(errno));
        return 0;
    }
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    char ok = 1;
    while (left > 0)
    {
        ssize_t w = write(fd, p, left);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
        {
            ok = 0;
            break;
        }
        p += w;
        left -= size_t(w);
    }
    if (ok && fsync(fd) != 0)
        ok = 0;
    if (close(fd) != 0)
        ok = 0;
    if (ok && rename(tmp, path) != 0)
        ok = 0;
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write <%s> (%s)", path, strerror(errno));
        unlink(tmp);
    }
    return ok;
}

namespace
{
char pf_folder_name[128];
char pf_buffer[512];

char MakeDir(const char* path)
{
    struct stat st;
    if (stat(path, &st) == 0)
        return S_ISDIR(st.st_mode) ? 1 : 0;
    return mkdir(path, 0755) == 0 ? 1 : 0;
}
} // namespace

ENG_CHAR* PrefFolderSetup(const char* name, char, const char*, char)
{
    if (name && name[0] && strlen(name) < sizeof(pf_folder_name))
        EngSafeStrcpy(pf_folder_name, name, sizeof(pf_folder_name));
    else
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid folder name");
        pf_folder_name[0] = 0;
    }
    return PrefFolderGetMainFolder();
}

ENG_CHAR* PrefFolderGetMainFolder()
{
    if (!pf_folder_name[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Folder name is empty");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
        return pf_buffer;
    }
    char base[512];
    const char* xdg = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    int n;
    if (xdg && xdg[0] == '/')
        n = snprintf(base, sizeof(base), "%s", xdg);
    else
        n = snprintf(base, sizeof(base), "%s/.local/share", home ? home : "");
    char ok = n > 0 && size_t(n) < sizeof(base);
    if (ok)
    {
        n = snprintf(pf_buffer, sizeof(pf_buffer), "%s/Kestrelbay", base);
        ok = n > 0 && size_t(n) < sizeof(pf_buffer) && MakeDir(pf_buffer);
    }
    if (ok)
    {
        n = snprintf(pf_buffer, sizeof(pf_buffer), "%s/Kestrelbay/%s", base, pf_folder_name);
        ok = n > 0 && size_t(n) < sizeof(pf_buffer) && MakeDir(pf_buffer);
    }
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create/get directory");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
    }
    return pf_buffer;
}

char eng_main_window_windowed = 1;
int eng_main_window_width = 640, eng_main_window_height = 480, eng_main_window_bitdepth = 32;
int eng_main_window_frequency = 0;
float eng_main_window_x_ratio = 1, eng_main_window_y_ratio = 1;
float eng_main_window_x_ratio_inv = 1, eng_main_window_y_ratio_inv = 1;
float eng_main_window_x_widescreen_ratio = 1, eng_main_window_y_narrowscreen_ratio = 1;
char eng_main_window_portraited = 0;
int eng_main_window_aa = 0;
EngUInt8 eng_key_down[256];

char EngWindowGetMainWindowPos(int* x, int* y)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    return 0;
}

char EngResModes::GetClosestFullScreenModeToMode(int* width, int* height, int* bpp, int*)
{
    return width && height && bpp ? 1 : 0;
}

char EngResModes::EnsureWindowedModeOk(int* width, int* height, int* bpp, int*)
{
    return width && height && bpp ? 1 : 0;
}

void EngMiscGetDesktopDimensions(int* x, int* y, int* width, int* height, char leave_room)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    if (width)
        *width = 1920;
    if (height)
        *height = leave_room ? 1030 : 1080;
}

namespace
{
_EngCreateWindowParms main_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &main_parms;
}
