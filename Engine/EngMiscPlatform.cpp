// Platform helpers: the portable functions over the platform half.
#include "EngMiscPlatform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "Linux/EngMisc_LNX.h"

bool EngMiscGetDesktopDirectory(char* out, int size)
{
    return EngMiscGetDesktopDirectory_LNX(out, size);
}

bool EngMiscGetDocumentsDirectory(char* out, int size)
{
    return EngMiscGetDocumentsDirectory_LNX(out, size);
}

bool EngMiscGetApplicationsDirectory(char* out, int size)
{
    return EngMiscGetApplicationsDirectory_LNX(out, size);
}

bool EngMiscGetTrashDirectory(char* out, int size)
{
    return EngMiscGetTrashDirectory_LNX(out, size);
}

bool EngMiscGetUserPhotosFolder(char* out, int size)
{
    return EngMiscGetUserPhotosFolder_LNX(out, size);
}

bool EngMiscGetUserFontsDirectory(char* out, int size)
{
    return EngMiscGetUserFontsDirectory_LNX(out, size);
}

bool EngMiscGetDownloadsDirectory(char* out, int size)
{
    return EngMiscGetDownloadsDirectory_LNX(out, size);
}

bool EngMiscGetWantedDownloadsDirectory(char* out, int size)
{
    return EngMiscGetWantedDownloadsDirectory_LNX(out, size);
}

bool EngMiscGetUserApplicationDataDirectory(char* out, int size)
{
    return EngMiscGetUserApplicationDataDirectory_LNX(out, size);
}

bool EngMiscGetCurrentDirectory(char* out, int size)
{
    return EngMiscGetCurrentDirectory_LNX(out, size);
}

void EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory(char on)
{
    EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory_LNX(on);
}

bool EngMiscIsApplicationsSupportDirectoryBeingUsed()
{
    return EngMiscIsApplicationsSupportDirectoryBeingUsed_LNX();
}

bool EngMiscGetUserApplicationDataSubDirectory(const char* name, char* out, int size)
{
    if (!name || !name[0] || !out || size <= 0)
        return false;
    int room = size - int(strlen(name)) - 1;
    if (room <= 0 || !EngMiscGetUserApplicationDataDirectory(out, room))
    {
        out[0] = 0;
        return false;
    }
    strcat(out, "/");
    strcat(out, name);
    return true;
}

bool EngMiscGetUserApplicationDataSubSubDirectory(const char* name, const char* sub, char* out, int size)
{
    if (!sub || !sub[0] || !out || size <= 0)
        return false;
    int room = size - int(strlen(sub)) - 1;
    if (room <= 0 || !EngMiscGetUserApplicationDataSubDirectory(name, out, room))
    {
        out[0] = 0;
        return false;
    }
    strcat(out, "/");
    strcat(out, sub);
    return true;
}

namespace
{
bool CreateIfNeeded(const char* path, const char* func)
{
    if (EngFileDirectoryExists(path))
        return true;
    if (!EngFileCreateDirectory(path))
    {
        DebugErrorAlt(func, "Could not create dir <%s>", path);
        return false;
    }
    return true;
}

// Creates every missing level of path (XDG base folders are private: 0700).
bool CreatePath(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); i++)
    {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string part = path.substr(0, i);
        if (!EngFileDirectoryExists(part.c_str()) && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return EngFileDirectoryExists(path.c_str());
}
} // namespace

bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char* name, char* out, int size)
{
    if (!EngMiscGetUserApplicationDataSubDirectory(name, out, size))
        return false;
    // The data folder itself may be missing on a fresh account.
    std::string base = out;
    base.resize(base.rfind('/'));
    if (!base.empty() && !CreatePath(base))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create dir <%s>", base.c_str());
        return false;
    }
    return CreateIfNeeded(out, __PRETTY_FUNCTION__);
}

bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char* name, const char* sub, char* out,
                                                             int size)
{
    if (!out || size <= 0 || !sub || !sub[0])
        return false;
    int room = size - int(strlen(sub)) - 1;
    if (room <= 0 || !EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(name, out, room))
    {
        out[0] = 0;
        return false;
    }
    strcat(out, "/");
    strcat(out, sub);
    return CreateIfNeeded(out, __PRETTY_FUNCTION__);
}

void EngMiscOutputCurrentDirectory()
{
    char* buf = static_cast<char*>(EngMalloc(1024, nullptr, 0));
    if (!buf)
        return;
    if (EngMiscGetCurrentDirectory(buf, 1024))
        DebugInfo("CWD: <%s>", buf);
    EngFree(buf, 0, nullptr);
}

void EngMiscGetDesktopDimensions(int* x, int* y, int* width, int* height, char leave_room)
{
    EngMiscGetDesktopDimensions_LNX(x, y, width, height, leave_room);
}

long EngMiscGetOsVersion()
{
    return EngMiscGetOsVersion_LNX();
}

bool EngMiscGetCursorSpeed(EngMiscCursorSpeed* speed)
{
    return EngMiscGetCursorSpeed_LNX(speed);
}

bool EngMisChangeCursorSpeed(EngMiscCursorSpeed* speed, int steps)
{
    return EngMiscChangeCursorSpeed_LNX(speed, steps);
}

bool EngMiscSetCursorSpeed(EngMiscCursorSpeed speed)
{
    return EngMiscSetCursorSpeed_LNX(speed);
}

char* CreatePathByExpandingTildePath(const char* path)
{
    DebugAssertAlt(path != nullptr, __PRETTY_FUNCTION__, "path != NULL");
    if (!path)
        return nullptr;
    return EngMiscExpandTildePath_LNX(path);
}

void EngMiscShowFrameRatePeriodically(const char* process_name)
{
    EngMiscShowFrameRatePeriodically_LNX(process_name);
}

char EngMiscOpenWithDefaultProgram(const char* path)
{
    return EngMiscOpenWithDefaultProgram_LNX(path);
}
