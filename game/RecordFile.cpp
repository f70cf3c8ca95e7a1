// Where the game's records live in its data folder.
#include "RecordFile.h"

#include <cerrno>
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

bool RecordFileRead(const char* path, void* buf, size_t size, const char* func, std::string* why)
{
    if (why)
        why->clear();
    int fd = EngFileOpenRegular(path, O_RDONLY | O_NOFOLLOW, func);
    if (fd < 0)
    {
        // A file that is not a regular one was told under func already.
        int err = errno;
        if (why && err != ENOENT && err != EINVAL)
            *why = std::string("it cannot be opened (") + strerror(err) + ")";
        return false;
    }
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    if (ok && st.st_size != off_t(size))
    {
        ok = false;
        if (why)
            *why = "it is " + std::to_string((long long)st.st_size) + " bytes, not " + std::to_string(size);
    }
    else if (ok && !EngFileReadAll(fd, buf, size))
    {
        ok = false;
        if (why)
            *why = "it cannot be read whole";
    }
    close(fd);
    return ok;
}

std::string RecordFileVersionReason(float version)
{
    char text[64];
    snprintf(text, sizeof(text), "its version is %g, not 1.0", double(version));
    return text;
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
