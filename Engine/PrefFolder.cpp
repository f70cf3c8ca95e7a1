// The per-user data folder and paths in the user's standard folders.
#include "PrefFolder.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngMiscPlatform.h"

namespace
{
const char pf_top_folder[] = "Kestrelbay";
const char pf_common_folder[] = "Common";
const size_t pf_name_max = 127;
// Longer than the data folder's environment variable and HOME together can be.
const size_t pf_wanted_max = 300 * 1024;

char pf_folder_name[128] = "";
char pf_buffer[512];
char pf_buffer2[640];
char pf_buffer3[768];
// Whether the last main-folder request found or made the folder.
char pf_main_made = 0;

bool ValidName(const char* name)
{
    return name && name[0] && strlen(name) <= pf_name_max;
}

// base + "/" + name into out; false (out untouched) when it would not fit.
bool Join(char* out, size_t size, const char* base, const char* name)
{
    char tmp[1024];
    int n = snprintf(tmp, sizeof(tmp), "%s%s%s", base, "/", name);
    if (n < 0 || size_t(n) >= size)
        return false;
    memcpy(out, tmp, size_t(n) + 1);
    return true;
}

// A base folder into pf_buffer, or "." after the given message.
ENG_CHAR* BaseFolder(bool (*lookup)(char*, int), const char* func)
{
    if (!lookup(pf_buffer, sizeof(pf_buffer)))
    {
        DebugErrorAlt(func, "Could not get directory");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
    }
    return pf_buffer;
}

// base + "/" + sub into out, created when asked; the base itself on failure.
ENG_CHAR* SubFolder(const char* base, const char* sub, char create, char* out, size_t size, const char* func)
{
    char base_copy[768];
    EngSafeStrcpy(base_copy, base, sizeof(base_copy));
    if (!ValidName(sub) || !Join(out, size, base_copy, sub))
    {
        DebugErrorAlt(func, "Invalid sub folder name");
        EngSafeStrcpy(out, base_copy, size);
    }
    if (create && !EngFileDirectoryExists(out) && !EngFileCreateDirectory(out))
    {
        DebugErrorAlt(func, "Could not create directory <%s>", out);
        EngSafeStrcpy(out, base_copy, size);
    }
    return out;
}

// folder + "/" + file into out; the folder itself for a bad file name.
ENG_CHAR* WithFile(const char* folder, const char* file, char* out, size_t size, const char* func)
{
    char folder_copy[768];
    EngSafeStrcpy(folder_copy, folder, sizeof(folder_copy));
    if (!file || !file[0])
        DebugErrorAlt(func, "No file specified");
    else if (strlen(file) > pf_name_max || !Join(out, size, folder_copy, file))
        DebugErrorAlt(func, "Filename too long");
    else
        return out;
    EngSafeStrcpy(out, folder_copy, size);
    return out;
}
} // namespace

ENG_CHAR* PrefFolderSetup(const char* name, char set_log, const char* log_name, char use_app_support)
{
    if (use_app_support)
        EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory(1);
    if (ValidName(name))
        EngSafeStrcpy(pf_folder_name, name, sizeof(pf_folder_name));
    else
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid folder name");
        pf_folder_name[0] = 0;
    }
    if (set_log)
        PrefFolderSetDebugLogFile(log_name);
    return PrefFolderGetMainFolder();
}

ENG_CHAR* PrefFolderSetDebugLogFile(const char* log_name)
{
    // "." is the program's own folder: without the data folder the log
    // stays out of files altogether.
    DebugTurnOffLogFile();
    const char* folder = PrefFolderGetMainFolder();
    if (!Join(pf_buffer2, sizeof(pf_buffer2), folder, log_name ? log_name : "LogFile.txt"))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return pf_buffer2;
    }
    if (pf_main_made)
        DebugSetLogFilename(pf_buffer2, 1);
    return pf_buffer2;
}

ENG_CHAR* PrefFolderGetMainFolder()
{
    pf_main_made = 0;
    if (!pf_folder_name[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Folder name is empty");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
        return pf_buffer;
    }
    if (!EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(pf_top_folder, pf_folder_name, pf_buffer,
                                                                 sizeof(pf_buffer)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create/get directory");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
        return pf_buffer;
    }
    pf_main_made = 1;
    return pf_buffer;
}

char PrefFolderIsMainFolderMade()
{
    return pf_main_made;
}

ENG_CHAR* PrefFolderGetWantedMainFolder()
{
    // Of any length the environment can name, not only what pf_buffer holds:
    // the folder that could not be made may be the one too long for it.
    static std::string wanted;
    wanted.clear();
    if (pf_folder_name[0])
    {
        std::vector<char> path(pf_wanted_max);
        if (EngMiscGetUserApplicationDataSubSubDirectory(pf_top_folder, pf_folder_name, path.data(),
                                                         int(path.size())))
            wanted = path.data();
    }
    return &wanted[0];
}

ENG_CHAR* PrefFolderGetMainFolderWithFileAppended(const char* file)
{
    return WithFile(PrefFolderGetMainFolder(), file, pf_buffer2, sizeof(pf_buffer2), __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetSubFolder(const char* sub, char create)
{
    return SubFolder(PrefFolderGetMainFolder(), sub, create, pf_buffer2, sizeof(pf_buffer2),
                     __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetSubFolderWithFileAppended(const char* sub, const char* file, char create)
{
    return WithFile(PrefFolderGetSubFolder(sub, create), file, pf_buffer3, sizeof(pf_buffer3),
                    __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetKestrelbayCommonFolder()
{
    if (!EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(pf_top_folder, pf_common_folder, pf_buffer,
                                                                 sizeof(pf_buffer)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create/get directory");
        EngSafeStrcpy(pf_buffer, ".", sizeof(pf_buffer));
    }
    return pf_buffer;
}

ENG_CHAR* PrefFolderGetKestrelbayCommonSubFolder(const char* sub, char create)
{
    return SubFolder(PrefFolderGetKestrelbayCommonFolder(), sub, create, pf_buffer2, sizeof(pf_buffer2),
                     __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetMyDocsFolder()
{
    return BaseFolder(EngMiscGetDocumentsDirectory, __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetMyDocsSubFolder(const char* sub, char create)
{
    return SubFolder(PrefFolderGetMyDocsFolder(), sub, create, pf_buffer2, sizeof(pf_buffer2),
                     __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetMyDocsSubFolderWithFileAppended(const char* sub, const char* file)
{
    return WithFile(PrefFolderGetMyDocsSubFolder(sub, 1), file, pf_buffer3, sizeof(pf_buffer3),
                    __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetMyDocsSubSubFolder(const char* sub, const char* subsub, char create)
{
    const char* folder = PrefFolderGetMyDocsSubFolder(sub, 1);
    if (!ValidName(subsub) || !Join(pf_buffer3, sizeof(pf_buffer3), folder, subsub))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sub sub folder name");
        EngSafeStrcpy(pf_buffer3, folder, sizeof(pf_buffer3));
    }
    if (create && !EngFileDirectoryExists(pf_buffer3) && !EngFileCreateDirectory(pf_buffer3))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create directory <%s>", pf_buffer3);
        EngSafeStrcpy(pf_buffer3, PrefFolderGetMyDocsFolder(), sizeof(pf_buffer3));
    }
    return pf_buffer3;
}

ENG_CHAR* PrefFolderGetDesktopFolder()
{
    return BaseFolder(EngMiscGetDesktopDirectory, __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetDesktopSubFolder(const char* sub, char create)
{
    return SubFolder(PrefFolderGetDesktopFolder(), sub, create, pf_buffer2, sizeof(pf_buffer2),
                     __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetDownloadsFolder()
{
    return BaseFolder(EngMiscGetDownloadsDirectory, __PRETTY_FUNCTION__);
}

ENG_CHAR* PrefFolderGetDownloadsSubFolder(const char* sub, char create)
{
    return SubFolder(PrefFolderGetDownloadsFolder(), sub, create, pf_buffer2, sizeof(pf_buffer2),
                     __PRETTY_FUNCTION__);
}
