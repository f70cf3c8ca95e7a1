// Lists the entries of one directory through a filter callback: counts the
// matches, hands them out one at a time and joins names to the path.
#pragma once

#include <dirent.h>

#include "EngTypes.h"

// Returns non-zero to accept a name; index is the number accepted so far.
typedef char (*DirListMatchCB)(int index, const ENG_CHAR* name, const ENG_CHAR* dir_path, void* user);
typedef char (*DirListAsciiMatchCB)(int index, char* name, char* dir_path);

class DirList
{
public:
    DirList();
    ~DirList();
    DirList(const DirList&) = delete;
    DirList& operator=(const DirList&) = delete;

    char OpenDir(const ENG_CHAR* path, DirListMatchCB callback, void* user);
    void IncludeParentDirectory(char on) { include_parent = on; }
    int CountMatchedFilesInDir();
    char PrepareToGetFilenamesInDir();
    const ENG_CHAR* GetNextFilenameInDir();
    char CleanupAfterGettingFilenamesInDir();
    const ENG_CHAR* GetFilenameWithPath(const ENG_CHAR* name);
    void CloseDir();
    char AllocBuffers(int length);
    void FreeBuffers();

private:
    ENG_CHAR* path;
    ENG_CHAR* name;
    void* user_data;
    char state;
    ENG_CHAR* result;
    int result_size;
    DirListMatchCB callback;
    int count;
    DIR* dir;
    struct dirent* entry;
    char include_parent;
    int buffer_size;
};

// The same without user data, on the plain heap, with its own messages.
class DirListAscii
{
public:
    DirListAscii();
    ~DirListAscii();
    DirListAscii(const DirListAscii&) = delete;
    DirListAscii& operator=(const DirListAscii&) = delete;

    char OpenDir(char* path, DirListAsciiMatchCB callback);
    void IncludeParentDirectory(char on) { include_parent = on; }
    int CountMatchedFilesInDir();
    char PrepareToGetFilenamesInDir();
    char* GetNextFilenameInDir();
    char CleanupAfterGettingFilenamesInDir();
    char* GetFilenameWithPath(const char* name);
    void CloseDir();
    char AllocBuffers(int length);
    void FreeBuffers();

private:
    char* path;
    char* name;
    char state;
    char* result;
    DirListAsciiMatchCB callback;
    int count;
    DIR* dir;
    struct dirent* entry;
    char include_parent;
    int buffer_size;
};
