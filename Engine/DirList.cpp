// Directory listings with a filter callback.
#include "DirList.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"

namespace
{

// Room for the path plus a name of up to 512 bytes.
const int kExtra = 513;

char empty_name[1] = "";

bool DirectoryExists(const char* path)
{
    DIR* d = opendir(path);
    if (!d)
        return false;
    closedir(d);
    return true;
}

// "." is never listed, ".." only on request.
bool Skipped(const char* n, char include_parent)
{
    if (n[0] != '.')
        return false;
    if (n[1] == 0)
        return true;
    return n[1] == '.' && n[2] == 0 && !include_parent;
}

void JoinPath(char* out, size_t size, const char* dir, const char* file)
{
    if (strcmp(dir, "/") == 0)
        snprintf(out, size, "%s%s", dir, file);
    else
        snprintf(out, size, "%s%s%s", dir, "/", file);
}

// The two list classes log through different functions.
typedef void (*ErrorLog)(const char* func, const char* fmt, ...);

// A listing may start once the folder is open and no listing is running.
bool ListingCanStart(ErrorLog log, const char* func, const char* cls, char state)
{
    if (state == 0)
    {
        log(func, "Directory not opened - call %s::OpenDir() first.", cls);
        return false;
    }
    if (state == 2)
    {
        log(func, "Error - get filenames in progress");
        return false;
    }
    return true;
}

// Counts the entries of path that match; name receives each in turn.
template <typename Match>
int CountMatches(ErrorLog log, const char* func, const char* path, char* name, int size, char include_parent,
                 Match match)
{
    DIR* d = opendir(path);
    if (!d)
    {
        log(func, "Could not open directory");
        return 0;
    }
    int matched = 0;
    while (struct dirent* e = readdir(d))
    {
        if (Skipped(e->d_name, include_parent))
            continue;
        EngSafeStrcpy(name, e->d_name, size_t(size));
        if (match(matched))
            matched++;
    }
    closedir(d);
    return matched;
}

bool StartListing(ErrorLog log, const char* func, const char* path, DIR*& dir, int& count)
{
    count = 0;
    dir = opendir(path);
    if (!dir)
    {
        log(func, "Could not open directory");
        return false;
    }
    rewinddir(dir);
    return true;
}

// The next matching name in name, or "" at the end (the folder is closed then).
template <typename Match>
char* NextMatch(DIR*& dir, struct dirent*& entry, char* name, int size, char include_parent, int& count,
                Match match)
{
    if (!dir)
        return empty_name;
    while ((entry = readdir(dir)) != nullptr)
    {
        if (Skipped(entry->d_name, include_parent))
            continue;
        EngSafeStrcpy(name, entry->d_name, size_t(size));
        if (match(count))
        {
            count++;
            return name;
        }
    }
    closedir(dir);
    dir = nullptr;
    return empty_name;
}

void EndListing(DIR*& dir, struct dirent*& entry)
{
    if (dir)
        closedir(dir);
    dir = nullptr;
    entry = nullptr;
}

// A name can be joined once the folder is open and the name is not empty.
bool CanJoin(ErrorLog log, const char* func, char state, const char* path, const char* file)
{
    if (state == 0 || !path || !*path)
    {
        log(func, "Not setup");
        return false;
    }
    if (!file || !*file)
    {
        log(func, "No filename");
        return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// DirList

DirList::DirList()
    : path(nullptr), name(nullptr), user_data(nullptr), state(0), result(nullptr), result_size(0),
      callback(nullptr), count(0), dir(nullptr), entry(nullptr), include_parent(0), buffer_size(0)
{
}

DirList::~DirList()
{
    CloseDir();
}

char DirList::AllocBuffers(int length)
{
    FreeBuffers();
    if (length <= 0 || length > INT_MAX - kExtra)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid path len");
        return 0;
    }
    buffer_size = length + kExtra;
    path = static_cast<ENG_CHAR*>(EngMalloc(size_t(buffer_size), "AllocBuffers", 1));
    name = static_cast<ENG_CHAR*>(EngMalloc(size_t(buffer_size), "AllocBuffers", 1));
    result = static_cast<ENG_CHAR*>(EngMalloc(size_t(buffer_size), "AllocBuffers", 1));
    if (!path || !name || !result)
    {
        FreeBuffers();
        return 0;
    }
    result_size = buffer_size - 1;
    return 1;
}

void DirList::FreeBuffers()
{
    EngFree(path, 0, "FreeBuffers");
    EngFree(name, 0, "FreeBuffers");
    EngFree(result, 0, "FreeBuffers");
    path = name = result = nullptr;
    result_size = 0;
    buffer_size = 0;
}

char DirList::OpenDir(const ENG_CHAR* p, DirListMatchCB cb, void* user)
{
    CloseDir();
    if (!p || !*p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Path Passed In");
        return 0;
    }
    size_t len = strlen(p);
    if (!AllocBuffers(len > size_t(INT_MAX) ? -1 : int(len)))
        return 0;
    if (!DirectoryExists(p))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Directory does not exist [%s]", p);
        FreeBuffers();
        return 0;
    }
    memcpy(path, p, len + 1);
    callback = cb;
    user_data = user;
    count = 0;
    state = 1;
    return 1;
}

int DirList::CountMatchedFilesInDir()
{
    if (!ListingCanStart(DebugErrorAlt, __PRETTY_FUNCTION__, "DirList", state))
        return 0;
    return CountMatches(DebugErrorAlt, __PRETTY_FUNCTION__, path, name, buffer_size, include_parent,
                        [this](int i) { return !callback || callback(i, name, path, user_data); });
}

char DirList::PrepareToGetFilenamesInDir()
{
    if (!ListingCanStart(DebugErrorAlt, __PRETTY_FUNCTION__, "DirList", state) ||
        !StartListing(DebugErrorAlt, __PRETTY_FUNCTION__, path, dir, count))
        return 0;
    state = 2;
    return 1;
}

const ENG_CHAR* DirList::GetNextFilenameInDir()
{
    if (state != 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call DirList::PrepareToGetFilenamesInDir() first.");
        return empty_name;
    }
    return NextMatch(dir, entry, name, buffer_size, include_parent, count,
                     [this](int i) { return !callback || callback(i, name, path, user_data); });
}

char DirList::CleanupAfterGettingFilenamesInDir()
{
    if (state != 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not getting files in dir");
        return 0;
    }
    EndListing(dir, entry);
    state = 1;
    return 1;
}

const ENG_CHAR* DirList::GetFilenameWithPath(const ENG_CHAR* file)
{
    if (!CanJoin(DebugErrorAlt, __PRETTY_FUNCTION__, state, path, file))
        return empty_name;
    JoinPath(result, size_t(result_size), path, file);
    return result;
}

void DirList::CloseDir()
{
    EndListing(dir, entry);
    FreeBuffers();
    state = 0;
    callback = nullptr;
    user_data = nullptr;
    count = 0;
}

// ---------------------------------------------------------------------------
// DirListAscii

DirListAscii::DirListAscii()
    : path(nullptr), name(nullptr), state(0), result(nullptr), callback(nullptr), count(0), dir(nullptr),
      entry(nullptr), include_parent(0), buffer_size(0)
{
}

DirListAscii::~DirListAscii()
{
    CloseDir();
}

char DirListAscii::AllocBuffers(int length)
{
    FreeBuffers();
    if (length <= 0 || length > INT_MAX - kExtra)
    {
        DebugError("DirListAscii::AllocBuffers", "Invalid path len");
        return 0;
    }
    buffer_size = length + kExtra;
    char** buffers[3] = {&path, &name, &result};
    const char* messages[3] = {"No memory (1)", "No memory (2)", "No memory (3)"};
    for (int i = 0; i < 3; i++)
    {
        *buffers[i] = static_cast<char*>(calloc(1, size_t(buffer_size)));
        if (!*buffers[i])
        {
            DebugError("DirListAscii::AllocBuffers", "%s", messages[i]);
            FreeBuffers();
            return 0;
        }
    }
    return 1;
}

void DirListAscii::FreeBuffers()
{
    free(path);
    free(name);
    free(result);
    path = name = result = nullptr;
    buffer_size = 0;
}

char DirListAscii::OpenDir(char* p, DirListAsciiMatchCB cb)
{
    CloseDir();
    if (!p || !*p)
    {
        DebugError("DirListAscii::OpenDir", "Invalid Path Passed In");
        return 0;
    }
    size_t len = strlen(p);
    if (!AllocBuffers(len > size_t(INT_MAX) ? -1 : int(len)))
        return 0;
    if (!DirectoryExists(p))
    {
        DebugError("DirListAscii::OpenDir", "Directory does not exist");
        FreeBuffers();
        return 0;
    }
    memcpy(path, p, len + 1);
    callback = cb;
    count = 0;
    state = 1;
    return 1;
}

int DirListAscii::CountMatchedFilesInDir()
{
    const char* func = "DirListAscii::CountMatchedFilesInDir";
    if (!ListingCanStart(DebugError, func, "DirListAscii", state))
        return 0;
    return CountMatches(DebugError, func, path, name, buffer_size, include_parent,
                        [this](int i) { return !callback || callback(i, name, path); });
}

char DirListAscii::PrepareToGetFilenamesInDir()
{
    const char* func = "DirListAscii::PrepareToGetFilenamesInDir";
    if (!ListingCanStart(DebugError, func, "DirListAscii", state) ||
        !StartListing(DebugError, func, path, dir, count))
        return 0;
    state = 2;
    return 1;
}

char* DirListAscii::GetNextFilenameInDir()
{
    if (state != 2)
    {
        DebugError("DirListAscii::PrepareToGetFilenamesInDir",
                   "Call DirListAscii::PrepareToGetFilenamesInDir() first.");
        return empty_name;
    }
    return NextMatch(dir, entry, name, buffer_size, include_parent, count,
                     [this](int i) { return !callback || callback(i, name, path); });
}

char DirListAscii::CleanupAfterGettingFilenamesInDir()
{
    if (state != 2)
    {
        DebugError("DirListAscii::CleanupAfterGettingFilenamesInDir", "Not getting files in dir");
        return 0;
    }
    EndListing(dir, entry);
    state = 1;
    return 1;
}

char* DirListAscii::GetFilenameWithPath(const char* file)
{
    if (!CanJoin(DebugError, "DirListAscii::GetFilenameWithPath", state, path, file))
        return empty_name;
    // Bounded by the buffer: a long caller name is cut, never overruns.
    JoinPath(result, size_t(buffer_size), path, file);
    return result;
}

void DirListAscii::CloseDir()
{
    EndListing(dir, entry);
    FreeBuffers();
    state = 0;
    callback = nullptr;
    count = 0;
}
