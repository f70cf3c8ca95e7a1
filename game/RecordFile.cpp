// Where the game's records live in its data folder.
#include "RecordFile.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "PrefFolder.h"
#include "Vizavu.h"

char RecordFilePath(char* out, size_t size, const char* name, const char* func)
{
    out[0] = 0;
    const char* folder = PrefFolderGetMainFolder();
    // "." is the program's own folder: no record of the player's goes there.
    if (!PrefFolderIsMainFolderMade())
        return 0;
    int n = snprintf(out, size, "%s/%s", folder, name);
    if (n < 0 || size_t(n) >= size)
    {
        DebugErrorAlt(func, "Path too long for <%s>", name);
        out[0] = 0;
        return 0;
    }
    return 1;
}

bool RecordFileRead(const char* path, void* buf, size_t size, const char* func)
{
    int fd = EngFileOpenRegular(path, O_RDONLY | O_NOFOLLOW, func);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && st.st_size == off_t(size) && EngFileReadAll(fd, buf, size);
    close(fd);
    return ok;
}

bool RecordFileIsGameRecord(const char* name)
{
    if (!strcmp(name, "Options.dat") || !strcmp(name, "Resolution.dat"))
        return true;
    // "SavedGamesFull%d%d.dat": a level 0-4, then a puzzle 0-99 as %d writes it.
    const char prefix[] = "SavedGamesFull";
    if (strncmp(name, prefix, sizeof(prefix) - 1) != 0)
        return false;
    const char* p = name + sizeof(prefix) - 1;
    if (*p < '0' || *p >= '0' + VIZAVU_NUM_LEVELS)
        return false;
    p++;
    int digits = 0, puzzle = 0;
    while (p[digits] >= '0' && p[digits] <= '9' && digits < 3)
    {
        puzzle = puzzle * 10 + (p[digits] - '0');
        digits++;
    }
    if (digits == 0 || (digits > 1 && p[0] == '0') || puzzle >= VIZAVU_NUM_PUZZLES)
        return false;
    return !strcmp(p + digits, ".dat");
}
