// Files: the EngFile stream owner and the whole-file, directory, move, copy
// and Trash helpers.
#include "EngFile.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "EngMain.h"
#include "EngMiscPlatform.h"
#include "EngMiscStrings.h"
#include "EngUnicode.h"

namespace
{
char eng_file_format_str[ENG_FILE_FORMAT_SIZE];

bool Empty(const char* s)
{
    return !s || !s[0];
}

// True, after logging why, when path names nothing.
bool NoName(const char* path, const char* func, const char* why = "No filename specified")
{
    if (!Empty(path))
        return false;
    DebugErrorAlt(func, "%s", why);
    return true;
}

// Makes a rename into path's folder durable.
void SyncFolderOf(const char* path)
{
    std::string dir = path;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : dir.substr(0, slash));
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0)
    {
        fsync(dfd);
        close(dfd);
    }
}

int NotRegular(const char* path, const char* log_func)
{
    if (log_func)
        DebugErrorAlt(log_func, "Not a regular file <%s>", path);
    errno = EINVAL;
    return -1;
}

// What a descriptor opened with flags may be: a regular file, and for writing
// a character device too (a sink such as /dev/null or /dev/full).
bool Acceptable(mode_t mode, int flags)
{
    return S_ISREG(mode) || (S_ISCHR(mode) && (flags & O_ACCMODE) != O_RDONLY);
}
} // namespace

int EngFileOpenRegular(const char* path, int flags, const char* log_func)
{
    if (Empty(path))
    {
        errno = ENOENT;
        return -1;
    }
    // A FIFO or device seen here is not even opened.
    struct stat st;
    int looked = (flags & O_NOFOLLOW) ? lstat(path, &st) : stat(path, &st);
    if (looked == 0 && !Acceptable(st.st_mode, flags))
        return NotRegular(path, log_func);
    // One put in its place meanwhile opens at once and is refused below.
    int fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
    {
        // A link under O_NOFOLLOW, or a FIFO that nobody reads.
        if ((errno == ELOOP && (flags & O_NOFOLLOW)) || errno == ENXIO)
            return NotRegular(path, log_func);
        return -1;
    }
    int fl = -1;
    if (fstat(fd, &st) != 0 || !Acceptable(st.st_mode, flags) || (fl = fcntl(fd, F_GETFL)) < 0 ||
        fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
    {
        close(fd);
        return NotRegular(path, log_func);
    }
    return fd;
}

FILE* EngFileOpenRegularStream(const char* path, const char* mode, int extra_flags, const char* log_func)
{
    if (!mode)
    {
        errno = EINVAL;
        return nullptr;
    }
    int flags;
    std::string fmode(1, mode[0]);
    switch (mode[0])
    {
    case 'r':
        flags = O_RDONLY;
        break;
    case 'w':
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case 'a':
        flags = O_WRONLY | O_CREAT | O_APPEND;
        break;
    default:
        errno = EINVAL;
        return nullptr;
    }
    if (strchr(mode, '+'))
    {
        flags = (flags & ~O_ACCMODE) | O_RDWR;
        fmode += '+';
    }
    int fd = EngFileOpenRegular(path, flags | extra_flags, log_func);
    if (fd < 0)
        return nullptr;
    FILE* f = fdopen(fd, fmode.c_str());
    if (!f)
    {
        int err = errno;
        close(fd);
        errno = err;
    }
    return f;
}

namespace
{
// How long a name in folder may be with ".tmpXXXXXX" still fitting after it
// within the folder's limit on names.
size_t TemporaryRoom(const std::string& folder)
{
    long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const size_t tail = sizeof(".tmpXXXXXX") - 1;
    return size_t(limit) > tail ? size_t(limit) - tail : 1;
}

// The part of name a temporary beside it begins with: all of it, or as much
// as room allows, cut at a character boundary.
size_t TemporaryStemLength(const char* name, size_t room)
{
    return EngUtf8CutLength(name, room);
}

// What "<path>.tmpXXXXXX" begins with: path, its last name cut so that the
// temporary's name stays within the folder's name limit.
std::string TemporaryStem(const char* path)
{
    const char* slash = strrchr(path, '/');
    std::string folder = slash ? std::string(path, size_t(slash - path) + 1) : std::string();
    const char* name = slash ? slash + 1 : path;
    return folder + std::string(name, TemporaryStemLength(name, TemporaryRoom(folder)));
}
} // namespace

char EngFileMayBeReplaced(const char* path)
{
    // A file made read-only is refused as a plain write refuses it, although
    // its folder would let a rename replace it.
    struct stat st;
    if (Empty(path) || lstat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return 1;
    if (faccessat(AT_FDCWD, path, W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0 || errno == ENOENT)
        return 1;
    return 0;
}

int EngFileCreateTemporaryBeside(const char* path, std::string* tmp, mode_t mode)
{
    if (Empty(path) || !tmp)
    {
        errno = EINVAL;
        return -1;
    }
    const std::string stem = TemporaryStem(path);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; attempt++)
    {
        unsigned char r[6];
        if (getrandom(r, sizeof(r), GRND_NONBLOCK) != ssize_t(sizeof(r)))
        {
            // No entropy yet: the clock, the process and a counter still differ per try.
            struct timespec ts;
            clock_gettime(CLOCK_MONOTONIC, &ts);
            unsigned long long v = ((unsigned long long)ts.tv_nsec * 2654435761u) ^
                                   ((unsigned long long)getpid() << 20) ^ (++counter * 40503ull);
            for (unsigned char& c : r)
            {
                c = (unsigned char)v;
                v = (v >> 8) | (v << 56);
                v *= 6364136223846793005ull;
            }
        }
        std::string name = stem + ".tmp";
        for (unsigned char c : r)
            name += letters[c % (sizeof(letters) - 1)];
        // O_EXCL: an existing name, a link among them, is never opened.
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
        {
            *tmp = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

EngFile::EngFile() : open(0), for_reading(0), text_mode(0), stream(nullptr) {}

EngFile::EngFile(const char* path, char for_writing, char text) : EngFile()
{
    if (for_writing)
        OpenForWriting(path, text);
    else
        OpenForReading(path, text);
}

EngFile::~EngFile()
{
    Close();
}

char EngFile::OpenWithMode(const char* func, const char* path, const char* mode, char reading, char text)
{
    stream = EngFileOpenRegularStream(path, mode, 0, func);
    if (!stream)
        return 0;
    open = 1;
    for_reading = reading;
    text_mode = text;
    return 1;
}

void EngFile::CloseIfOpen(const char* func, const char* path)
{
    if (!open)
        return;
    DebugErrorAlt(func, "File was already opened [%s]", path ? path : "");
    Close();
}

char EngFile::OpenOrLog(const char* func, const char* path, const char* mode, char reading, char text,
                        ErrorLog log, const char* what)
{
    if (OpenWithMode(func, path, mode, reading, text))
        return 1;
    log(func, "Could not %s file <%s>", what, path);
    return 0;
}

// The writing opens: a name first, then a stream that is still open is closed.
char EngFile::OpenNamed(const char* func, const char* path, const char* mode, char text, ErrorLog log,
                        const char* what)
{
    if (NoName(path, func))
        return 0;
    CloseIfOpen(func, path);
    return OpenOrLog(func, path, mode, 0, text, log, what);
}

char EngFile::OpenForReading(const char* path, char text)
{
    CloseIfOpen(__PRETTY_FUNCTION__, path);
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    return OpenOrLog(__PRETTY_FUNCTION__, path, text ? "rt" : "rb", 1, text, DebugErrorAlt, "open");
}

char EngFile::OpenForReadingIfExists(const char* path, char text)
{
    if (Empty(path))
        return 0;
    CloseIfOpen(__PRETTY_FUNCTION__, path);
    return OpenWithMode(__PRETTY_FUNCTION__, path, text ? "rt" : "rb", 1, text);
}

char EngFile::OpenForWriting(const char* path, char text)
{
    return OpenNamed(__PRETTY_FUNCTION__, path, text ? "wt" : "wb", text, DebugErrorQuickAlt,
                     "open or create");
}

char EngFile::CreateForWriting(const char* path, char text)
{
    return OpenNamed(__PRETTY_FUNCTION__, path, text ? "wt" : "wb", text, DebugErrorAlt, "create");
}

char EngFile::OpenForAppending(const char* path, char text)
{
    return OpenNamed(__PRETTY_FUNCTION__, path, text ? "at" : "ab", text, DebugErrorAlt, "open or create");
}

char EngFile::CheckOpened(const char* func)
{
    if (open)
        return 1;
    DebugErrorAlt(func, "File is not opened");
    return 0;
}

// An open stream in the direction asked for.
char EngFile::CheckMode(const char* func, char reading)
{
    if (!open)
    {
        DebugErrorAlt(func, "File is not open");
        return 0;
    }
    if (reading ? !for_reading : for_reading)
    {
        DebugErrorAlt(func, reading ? "File is not open for reading" : "File is not open for writing");
        return 0;
    }
    return 1;
}

char EngFile::CheckTransfer(const char* func, char reading, const void* buf)
{
    if (!CheckMode(func, reading))
        return 0;
    if (!buf)
    {
        DebugErrorAlt(func, reading ? "Nowhere to read to" : "Nowhere to write from");
        return 0;
    }
    return 1;
}

char EngFile::Seek(const char* func, off_t offset, int whence, const char* fail)
{
    if (!CheckOpened(func))
        return 0;
    if (fseeko(stream, offset, whence) != 0)
    {
        DebugErrorAlt(func, "%s", fail);
        return 0;
    }
    return 1;
}

char EngFile::Read(void* buf, EngUInt32 n, char zero_is_error)
{
    if (!CheckTransfer(__PRETTY_FUNCTION__, 1, buf))
        return 0;
    size_t got = n ? fread(buf, 1, n, stream) : 0;
    if (got == 0)
    {
        if (zero_is_error)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read from file");
        return 0;
    }
    if (got != n)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem reading from file [ read %u not %u ]", unsigned(got),
                      unsigned(n));
        return 0;
    }
    return 1;
}

EngUInt32 EngFile::FRead(void* buf, EngUInt32 n)
{
    if (!CheckTransfer(__PRETTY_FUNCTION__, 1, buf))
        return 0;
    return EngUInt32(fread(buf, 1, n, stream));
}

char EngFile::ReadLine(char* buf, EngUInt32 size)
{
    if (!CheckTransfer(__PRETTY_FUNCTION__, 1, buf))
        return 0;
    if (size < 2 || size > 0x7fffffffu)
    {
        if (size)
            buf[0] = 0;
        return 0;
    }
    return fgets(buf, int(size), stream) ? 1 : 0;
}

char EngFile::Write(const void* data, EngUInt32 n)
{
    if (!CheckTransfer(__PRETTY_FUNCTION__, 0, data))
        return 0;
    size_t put = n ? fwrite(data, 1, n, stream) : 0;
    if (put == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write to file");
        return 0;
    }
    if (put != n)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Only wrote %u of %u bytes to file", unsigned(put), unsigned(n));
        return 0;
    }
    return 1;
}

EngUInt32 EngFile::FWrite(const void* data, EngUInt32 n)
{
    if (!CheckTransfer(__PRETTY_FUNCTION__, 0, data))
        return 0;
    return EngUInt32(fwrite(data, 1, n, stream));
}

char EngFile::Printf(const char* fmt, ...)
{
    if (!CheckMode(__PRETTY_FUNCTION__, 0))
        return 0;
    eng_file_format_str[0] = 0;
    if (fmt)
    {
        va_list ap;
        va_start(ap, fmt);
        // Cut to the buffer, a character split by the cut is left out.
        if (vsnprintf(eng_file_format_str, sizeof(eng_file_format_str), fmt, ap) >=
            int(sizeof(eng_file_format_str)))
            eng_file_format_str[EngUtf8TrimCutTail(eng_file_format_str, sizeof(eng_file_format_str) - 1)] = 0;
        va_end(ap);
    }
    if (!Write(eng_file_format_str, EngUInt32(strlen(eng_file_format_str))))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write to file");
        return 0;
    }
    return 1;
}

char EngFile::Rewind()
{
    return Seek(__PRETTY_FUNCTION__, 0, SEEK_SET, "Error rewinding file");
}

char EngFile::MoveToPosition(EngUInt32 pos)
{
    return Seek(__PRETTY_FUNCTION__, off_t(pos), SEEK_SET, "Error moving to end of file");
}

char EngFile::MoveToPositionFromCurrentPosition(EngUInt32 delta)
{
    return Seek(__PRETTY_FUNCTION__, off_t(delta), SEEK_CUR, "Error moving to end of file");
}

char EngFile::MoveToEnd()
{
    return Seek(__PRETTY_FUNCTION__, 0, SEEK_END, "Error moving to end of file");
}

EngUInt32 EngFile::GetPosition()
{
    if (!CheckOpened(__PRETTY_FUNCTION__))
        return 0;
    off_t pos = ftello(stream);
    return pos < 0 ? 0 : EngUInt32(pos);
}

char EngFile::IsAtEnd()
{
    if (!CheckOpened(__PRETTY_FUNCTION__))
        return 0;
    return feof(stream) ? 1 : 0;
}

EngUInt32 EngFile::GetSize()
{
    if (!CheckOpened(__PRETTY_FUNCTION__))
        return 0;
    off_t here = ftello(stream);
    if (fseeko(stream, 0, SEEK_END) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem getting size");
        return 0;
    }
    off_t end = ftello(stream);
    if (here >= 0)
        fseeko(stream, here, SEEK_SET);
    // A size the 32 bits cannot hold is no size at all, not its low bits.
    if (end < 0 || (unsigned long long)end > 0xffffffffull)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem getting size");
        return 0;
    }
    return EngUInt32(end);
}

char EngFile::Close()
{
    if (!open)
        return 1;
    int rc = fclose(stream);
    open = 0;
    for_reading = 0;
    text_mode = 0;
    stream = nullptr;
    return rc == 0 ? 1 : 0;
}

namespace
{
// A file or folder opened for reading, as fopen's "r" opens both; a FIFO or
// device is refused (logged under log_func when set) and never waited on.
int OpenFileOrFolder(const char* path, const char* log_func)
{
    struct stat st;
    auto plain = [&st] { return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode); };
    if (stat(path, &st) == 0 && !plain())
        return NotRegular(path, log_func);
    int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) == 0 && plain())
        return fd;
    close(fd);
    return NotRegular(path, log_func);
}
} // namespace

char EngFileExists(const char* path)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    int fd = OpenFileOrFolder(path, nullptr);
    if (fd < 0)
        return 0;
    close(fd);
    return 1;
}

char EngFileIsThereButNotRegular(const char* path, const char* log_func)
{
    struct stat st;
    if (Empty(path) || stat(path, &st) != 0 || S_ISREG(st.st_mode))
        return 0;
    NotRegular(path, log_func);
    return 1;
}

char EngFileDelete(const char* path, char report)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    if (unlink(path) != 0)
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Deletion failed.");
        return 0;
    }
    return 1;
}

EngUInt32 EngFileGetFileSize(const char* path, char text)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    EngFile f;
    if (!f.OpenForReadingIfExists(path, text))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
        return 0;
    }
    return f.GetSize();
}

EngUInt32 EngFileGetLastModifiedTime(const char* path)
{
    if (!path)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename");
        return 0;
    }
    int fd = OpenFileOrFolder(path, __PRETTY_FUNCTION__);
    if (fd < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
        return 0;
    }
    struct stat st;
    int rc = fstat(fd, &st);
    close(fd);
    if (rc != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "fstat failed");
        return 0;
    }
    return EngUInt32(st.st_mtime);
}

namespace
{
// The shared body of the whole-file reads once the file is open.
char ReadWhole(EngFile& f, const char* path, void* buf, EngUInt32 size, const char* func)
{
    if (f.GetSize() != size)
    {
        DebugErrorAlt(func, "Invalid file size in <%s>", path);
        return 0;
    }
    if (!f.Read(buf, size, 1))
    {
        DebugErrorAlt(func, "Could not read from file <%s>", path);
        return 0;
    }
    return 1;
}
} // namespace

char EngFileOpenReadAndClose(const char* path, char text, void* buf, EngUInt32 size)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    EngFile f;
    if (!f.OpenForReading(path, text))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
        return 0;
    }
    return ReadWhole(f, path, buf, size, __PRETTY_FUNCTION__);
}

char EngFileOpenReadAndCloseIfExists(const char* path, char text, void* buf, EngUInt32 size)
{
    EngFile f;
    if (!f.OpenForReadingIfExists(path, text))
        return 1;
    return ReadWhole(f, path, buf, size, __PRETTY_FUNCTION__);
}

char EngFileOpenWriteAndClose(const char* path, char text, const void* data, EngUInt32 size)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    EngFile f;
    if (!f.OpenForWriting(path, text))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
        return 0;
    }
    // The data reaches the disk only at the close, which may fail too.
    if (!f.Write(data, size) || !f.Close())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write to file <%s>", path);
        return 0;
    }
    return 1;
}

char EngFileDirectoryExists(const char* path)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    DIR* d = opendir(path);
    if (!d)
        return 0;
    closedir(d);
    return 1;
}

char EngFileCreateDirectory(const char* path)
{
    if (NoName(path, __PRETTY_FUNCTION__))
        return 0;
    if (mkdir(path, 0777) != 0 && errno != EEXIST)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Failed to create directory <%s>", path);
        return 0;
    }
    if (!EngFileDirectoryExists(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Directory was not created <%s>", path);
        return 0;
    }
    return 1;
}

char EngFileDeleteDirectory(const char* path)
{
    if (NoName(path, __PRETTY_FUNCTION__, "No name specified"))
        return 0;
    if (rmdir(path) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Deletion failed.");
        return 0;
    }
    return 1;
}

namespace
{
typedef char (*ExistsFn)(const char* path);

// There in any form: a link, even one that leads nowhere, or a file nobody may read.
char EntryExists(const char* path)
{
    struct stat st;
    return lstat(path, &st) == 0 ? 1 : 0;
}

char IsDirectory(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

// Before a move: both names given, the target free and the source there.
bool MoveCanStart(const char* func, const char* from, const char* to, ExistsFn source_exists)
{
    if (Empty(from) || Empty(to))
    {
        DebugErrorAlt(func, "Invalid parameters");
        return false;
    }
    if (EntryExists(to))
    {
        DebugErrorAlt(func, "File <%s> exists", to);
        return false;
    }
    if (!source_exists(from))
    {
        DebugErrorAlt(func, "File <%s> does not exist", from);
        return false;
    }
    return true;
}

// After a move: the target there and the source gone.
bool MoveDone(const char* func, const char* from, const char* to, const char* not_done, const char* kind)
{
    if (!EntryExists(to))
    {
        DebugErrorAlt(func, "%s: <%s> to <%s>", not_done, from, to);
        return false;
    }
    if (EntryExists(from))
    {
        DebugErrorAlt(func, "Existing %s still exists: <%s> to <%s>", kind, from, to);
        return false;
    }
    return true;
}

// Copies everything from in to out; false on a read or write error or when
// the count differs from size.
bool CopyData(int in, int out, off_t size)
{
    off_t total = 0;
    char buf[65536];
    for (;;)
    {
        ssize_t r = read(in, buf, sizeof(buf));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        if (r == 0)
            break;
        if (!EngFileWriteAll(out, buf, size_t(r)))
            return false;
        total += r;
    }
    if (total != size)
    {
        errno = EIO;
        return false;
    }
    return true;
}

bool Why(std::string* why, const std::string& shown, const char* reason)
{
    *why = shown + ": " + reason;
    return false;
}

// Copies the entry from (in from_dir) to the new entry to (in to_dir): a
// folder with everything in it, a regular file or a link, never following a
// link; permission bits (without set-ID or sticky bits) and times go along.
// Anything else refuses the copy. *created tells whether to was made.
bool CopyEntry(int from_dir, const char* from, int to_dir, const char* to, const std::string& shown,
               std::string* why, bool* created)
{
    *created = false;
    struct stat st;
    if (fstatat(from_dir, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Why(why, shown, strerror(errno));
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (S_ISLNK(st.st_mode))
    {
        char target[4096];
        ssize_t n = readlinkat(from_dir, from, target, sizeof(target));
        if (n < 0 || size_t(n) >= sizeof(target))
            return Why(why, shown, n < 0 ? strerror(errno) : "link too long");
        target[n] = 0;
        if (symlinkat(target, to_dir, to) != 0)
            return Why(why, shown, strerror(errno));
        *created = true;
        utimensat(to_dir, to, times, AT_SYMLINK_NOFOLLOW);
        return true;
    }
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return Why(why, shown, "not a file, folder or link");
    bool dir = S_ISDIR(st.st_mode);
    int in = openat(from_dir, from,
                    (dir ? O_DIRECTORY : O_NONBLOCK | O_NOCTTY) | O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat now;
    if (in < 0 || fstat(in, &now) != 0 || (now.st_mode & S_IFMT) != (st.st_mode & S_IFMT))
    {
        int err = in < 0 ? errno : EAGAIN;
        if (in >= 0)
            close(in);
        return Why(why, shown, strerror(err));
    }
    int out = -1;
    if (dir ? mkdirat(to_dir, to, 0700) == 0
            : (out = openat(to_dir, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)) >= 0)
        *created = true;
    if (dir && *created)
        out = openat(to_dir, to, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (out < 0)
    {
        int err = errno;
        close(in);
        return Why(why, shown, strerror(err));
    }
    bool ok = true;
    if (dir)
    {
        int listing = dup(in);
        DIR* d = listing >= 0 ? fdopendir(listing) : nullptr;
        if (!d)
        {
            if (listing >= 0)
                close(listing);
            ok = Why(why, shown, strerror(errno));
        }
        while (ok)
        {
            errno = 0;
            dirent* e = readdir(d);
            if (!e)
            {
                if (errno)
                    ok = Why(why, shown, strerror(errno));
                break;
            }
            if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, ".."))
                continue;
            bool inner;
            ok = CopyEntry(in, e->d_name, out, e->d_name, shown + "/" + e->d_name, why, &inner);
        }
        if (d)
            closedir(d);
    }
    else if (!CopyData(in, out, st.st_size))
        ok = Why(why, shown, strerror(errno));
    // The folder's bits last: a folder without write permission is filled first.
    if (ok && (fchmod(out, st.st_mode & 0777) != 0 || futimens(out, times) != 0 || fsync(out) != 0))
        ok = Why(why, shown, strerror(errno));
    if (close(out) != 0 && ok)
        ok = Why(why, shown, strerror(errno));
    close(in);
    return ok;
}

// Removes the entry name in dir, a folder with everything in it, never
// following a link. With writable, folders are first made writable (for a
// copy of a read-only folder that is removed again).
bool RemoveEntry(int dir, const char* name, bool writable)
{
    struct stat st;
    if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return unlinkat(dir, name, 0) == 0;
    int fd = openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (writable)
        fchmod(fd, 0700);
    DIR* d = fdopendir(fd);
    if (!d)
    {
        close(fd);
        return false;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
        if (strcmp(e->d_name, ".") && strcmp(e->d_name, ".."))
            names.push_back(e->d_name);
    bool ok = true;
    for (const std::string& n : names)
        ok = RemoveEntry(dirfd(d), n.c_str(), writable) && ok;
    closedir(d);
    return unlinkat(dir, name, AT_REMOVEDIR) == 0 && ok;
}

// A move to another file system: a whole copy, then the source goes. A copy
// that fails is removed again and the source kept, with the reason logged.
void MoveAcross(const char* func, const char* from, const char* to)
{
    std::string why;
    bool created = false;
    if (!CopyEntry(AT_FDCWD, from, AT_FDCWD, to, from, &why, &created))
    {
        DebugErrorAlt(func, "Could not copy <%s> to <%s>: %s", from, to, why.c_str());
        if (created)
            RemoveEntry(AT_FDCWD, to, true);
        return;
    }
    if (!RemoveEntry(AT_FDCWD, from, false))
        DebugErrorAlt(func, "Could not remove <%s> after copying it to <%s>: %s", from, to, strerror(errno));
}
} // namespace

char EngFileRenameDirectory(const char* old_path, const char* new_path)
{
    if (!MoveCanStart(__PRETTY_FUNCTION__, old_path, new_path, IsDirectory))
        return 0;
    if (rename(old_path, new_path) != 0 && errno == EXDEV)
        MoveAcross(__PRETTY_FUNCTION__, old_path, new_path);
    return MoveDone(__PRETTY_FUNCTION__, old_path, new_path, "Dir was not renamed", "directory");
}

bool EngFileWriteAll(int fd, const void* data, size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0)
    {
        ssize_t w = write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w == 0)
            errno = EIO;
        if (w <= 0)
            return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

bool EngFileReadAll(int fd, void* buf, size_t n)
{
    char* p = static_cast<char*>(buf);
    while (n > 0)
    {
        ssize_t r = read(fd, p, n);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        p += r;
        n -= size_t(r);
    }
    return true;
}

unsigned char* EngFileReadWholeFile(const char* path, size_t max_size, size_t* size, char quiet)
{
    if ((quiet ? Empty(path) : NoName(path, __PRETTY_FUNCTION__)) || !size)
        return nullptr;
    const char* log = quiet ? nullptr : __PRETTY_FUNCTION__;
    int fd = EngFileOpenRegular(path, O_RDONLY, log);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0)
    {
        if (log)
            DebugErrorAlt(log, "Could not open file <%s>", path);
        if (fd >= 0)
            close(fd);
        return nullptr;
    }
    if (st.st_size < 0 || (unsigned long long)st.st_size > max_size)
    {
        if (log)
            DebugErrorAlt(log, "File too large <%s>", path);
        close(fd);
        errno = EFBIG;
        return nullptr;
    }
    size_t n = size_t(st.st_size);
    unsigned char* data = static_cast<unsigned char*>(malloc(n ? n : 1));
    if (!data || !EngFileReadAll(fd, data, n))
    {
        if (log)
            DebugErrorAlt(log, data ? "Could not read from file <%s>" : "No memory <%s>", path);
        free(data);
        close(fd);
        return nullptr;
    }
    close(fd);
    *size = n;
    return data;
}

namespace
{
// Copies from into a fresh temporary beside to, flushed to the disk, and
// renames it to to (over what is there unless keep_existing): to is either
// the whole copy or as it was. The reason of a failure goes to why.
bool CopyOver(const char* from, const char* to, bool keep_existing, std::string* why)
{
    int in = EngFileOpenRegular(from, O_RDONLY, nullptr);
    struct stat st;
    if (in < 0 || fstat(in, &st) != 0)
    {
        *why = strerror(errno);
        if (in >= 0)
            close(in);
        return false;
    }
    // The permission bits only: no set-user-ID or sticky bit travels with a copy.
    std::string tmp;
    int out = EngFileCreateTemporaryBeside(to, &tmp, st.st_mode & 0777);
    if (out < 0)
    {
        *why = strerror(errno);
        close(in);
        return false;
    }
    bool ok = CopyData(in, out, st.st_size) && fsync(out) == 0;
    int err = errno;
    if (close(out) != 0 && ok)
    {
        ok = false;
        err = errno;
    }
    close(in);
    if (ok && keep_existing)
    {
        // A target made meanwhile is not replaced either.
        ok = renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, to, RENAME_NOREPLACE) == 0;
        if (!ok && (errno == EINVAL || errno == ENOSYS))
        {
            ok = link(tmp.c_str(), to) == 0;
            if (ok)
                unlink(tmp.c_str());
        }
        err = errno;
    }
    else if (ok)
    {
        ok = rename(tmp.c_str(), to) == 0;
        err = errno;
    }
    if (!ok)
    {
        unlink(tmp.c_str());
        *why = strerror(err ? err : EIO);
        return false;
    }
    SyncFolderOf(to);
    return true;
}
} // namespace

char EngFileMoveFile(const char* from, const char* to)
{
    if (!MoveCanStart(__PRETTY_FUNCTION__, from, to, EntryExists))
        return 0;
    if (rename(from, to) != 0 && errno == EXDEV)
        MoveAcross(__PRETTY_FUNCTION__, from, to);
    return MoveDone(__PRETTY_FUNCTION__, from, to, "File was not moved", "file");
}

char EngFileCopyFile(const char* from, const char* to, char fail_if_exists)
{
    if (Empty(from) || Empty(to))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (strcmp(from, to) == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Files are the same <%s>", from);
        return 0;
    }
    // Two spellings of one file: deleting the target would delete the source.
    struct stat sf, st;
    if (stat(from, &sf) == 0 && stat(to, &st) == 0 && sf.st_dev == st.st_dev && sf.st_ino == st.st_ino)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Files are the same <%s>", from);
        return 0;
    }
    if (fail_if_exists && EntryExists(to))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File <%s> exists", to);
        return 0;
    }
    // A folder, FIFO or device is refused before anything is touched.
    if (stat(from, &sf) == 0 && !S_ISREG(sf.st_mode))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not a regular file <%s>", from);
        return 0;
    }
    if (!EngFileExists(from))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File <%s> does not exist", from);
        return 0;
    }
    std::string why;
    if (!CopyOver(from, to, fail_if_exists != 0, &why))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File was not copied: <%s> to <%s>: %s", from, to, why.c_str());
        return 0;
    }
    return 1;
}

namespace
{
// Percent-encodes a path for the Path= line of a Trash info record.
std::string TrashInfoPath(const char* path)
{
    std::string abs;
    if (path[0] != '/')
    {
        char cwd[4096];
        if (getcwd(cwd, sizeof(cwd)))
            abs = std::string(cwd) + "/";
    }
    abs += path;
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : abs)
    {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || strchr("/-_.~", c))
            out += char(c);
        else
        {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}
} // namespace

char EngFileMoveToTrash(const char* path)
{
    if (NoName(path, __PRETTY_FUNCTION__, "No filename"))
        return 0;
    if (!EntryExists(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist");
        return 0;
    }
    char trash[513];
    if (!EngMiscGetTrashDirectory(trash, 512))
        return 0;
    const char* name = EngMiscGetFilenameInPathWithFilenameString(path, nullptr, nullptr, 0);
    if (!name)
        name = path;
    std::string files = std::string(trash) + "/files";
    std::string info = std::string(trash) + "/info";
    // A free name is reserved by creating its info record exclusively; an
    // earlier trashed file of the same name is kept.
    std::string base = name, chosen, info_path;
    int fd = -1;
    for (int n = 1; n < 10000 && fd < 0; n++)
    {
        chosen = n == 1 ? base : base + "." + std::to_string(n);
        std::string target = files + "/" + chosen;
        info_path = info + "/" + chosen + ".trashinfo";
        if (access(target.c_str(), F_OK) == 0)
            continue;
        fd = ::open(info_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create a Trash record for <%s>", path);
        return 0;
    }
    char date[32];
    time_t now = time(nullptr);
    struct tm tmv;
    localtime_r(&now, &tmv);
    strftime(date, sizeof(date), "%Y-%m-%dT%H:%M:%S", &tmv);
    std::string record = "[Trash Info]\nPath=" + TrashInfoPath(path) + "\nDeletionDate=" + date + "\n";
    bool written = EngFileWriteAll(fd, record.data(), record.size());
    if (close(fd) != 0)
        written = false;
    std::string target = files + "/" + chosen;
    if (!written)
    {
        unlink(info_path.c_str());
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create a Trash record for <%s>", path);
        return 0;
    }
    DebugInfoAlt(__PRETTY_FUNCTION__, "Moving <%s> to <%s>", path, target.c_str());
    if (!EngFileMoveFile(path, target.c_str()))
    {
        unlink(info_path.c_str());
        return 0;
    }
    return 1;
}

void EngFileReverseWordBitsForPlatform(void*, EngUInt32) {}

void EngFileOutputLastError(char* caller, char*, char, EngUInt32, char)
{
    if (caller)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported on Linux (called by %s)", caller);
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported on Linux");
}

namespace
{
// What EngFileCreateTemporaryBeside puts after a record's name: ".tmp" and six letters or digits.
const char SAVE_TEMP_SUFFIX[] = ".tmpXXXXXX";
const size_t SAVE_TEMP_RANDOM = 6;
int eng_file_last_save_error = 0;

// Logs a failed save with its reason: the writer's own (why) where it gave
// one, else the system's (err). The save's code is never 0: EINVAL for a
// reason of the writer's own without an errno, EIO for a failure that gave
// neither.
char SaveFailed(const char* func, const char* what, const char* path, int err, const char* why = nullptr)
{
    const bool own = why && why[0];
    eng_file_last_save_error = err ? err : own ? EINVAL : EIO;
    DebugErrorAlt(func, "%s <%s>: %s", what, path, own ? why : strerror(eng_file_last_save_error));
    return 0;
}

// The code of a save refused because path holds something other than a
// regular file, chosen for what strerror tells the user: a folder "Is a
// directory", a link what following one refused gives ("Too many levels of
// symbolic links"), and a FIFO, device or socket, which no file may replace,
// "Operation not supported".
int NotRegularFileError(mode_t mode)
{
    if (S_ISDIR(mode))
        return EISDIR;
    if (S_ISLNK(mode))
        return ELOOP;
    return EOPNOTSUPP;
}

// The record's name when name is "<record>.tmpXXXXXX", else "".
std::string SaveTempRecord(const char* name)
{
    size_t len = strlen(name), tail = sizeof(SAVE_TEMP_SUFFIX) - 1, tag = tail - SAVE_TEMP_RANDOM;
    if (len <= tail || strncmp(name + len - tail, SAVE_TEMP_SUFFIX, tag) != 0)
        return "";
    for (const char* c = name + len - SAVE_TEMP_RANDOM; *c; c++)
        if (!((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')))
            return "";
    return std::string(name, len - tail);
}
} // namespace

namespace
{
// The steps every save by rename shares: a fresh temporary beside path,
// written by write, flushed, renamed over path. Failures are logged under func.
char SaveThroughTemporary(const char* func, const char* path, EngFileSaveWriter write, void* user,
                          char only_over_file)
{
    if (Empty(path) || !write)
    {
        DebugErrorAlt(func, "Invalid parameters");
        eng_file_last_save_error = EINVAL;
        return 0;
    }
    // What is there now, the entry itself and not where a link leads.
    struct stat st;
    bool old_file = lstat(path, &st) == 0;
    if (old_file && !S_ISREG(st.st_mode) && only_over_file)
        return SaveFailed(func, "Not a regular file", path, NotRegularFileError(st.st_mode));
    if (!EngFileMayBeReplaced(path))
        return SaveFailed(func, "Could not write", path, errno);
    std::string tmp;
    int fd = EngFileCreateTemporaryBeside(path, &tmp);
    if (fd < 0)
        return SaveFailed(func, "Could not create a temporary file for", path, errno);
    // A regular file that is replaced keeps its permission bits; anything
    // else leaves the new file as the umask made it.
    if (old_file && S_ISREG(st.st_mode))
        fchmod(fd, st.st_mode & 0777);
    // Each step's errno is taken before anything else can change it.
    const char* failed = nullptr;
    int err = 0;
    char why[256] = "";
    auto fail = [&](const char* what)
    {
        failed = what;
        err = errno;
    };
    FILE* f = fdopen(fd, "wb");
    if (!f)
    {
        fail("Could not write");
        close(fd);
    }
    else
    {
        errno = 0;
        if (!write(f, user, why, sizeof(why)) || ferror(f))
            fail("Could not write");
        else if (fflush(f) != 0)
            fail("Could not write");
        else if (fsync(fileno(f)) != 0)
            fail("Could not flush");
        if (fclose(f) != 0 && !failed)
            fail("Could not write");
    }
    if (!failed && rename(tmp.c_str(), path) != 0)
        fail("Could not replace");
    if (failed)
    {
        unlink(tmp.c_str());
        return SaveFailed(func, failed, path, err, why);
    }
    eng_file_last_save_error = 0;
    SyncFolderOf(path);
    return 1;
}

struct SaveBytes
{
    const void* data;
    EngUInt32 size;
};

char WriteBytes(FILE* f, void* user, char*, size_t)
{
    const SaveBytes* b = static_cast<const SaveBytes*>(user);
    return b->size == 0 || fwrite(b->data, 1, b->size, f) == b->size;
}
} // namespace

char EngFileSaveAtomically(const char* path, const void* data, EngUInt32 size, char only_over_file)
{
    if (!data && size)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        eng_file_last_save_error = EINVAL;
        return 0;
    }
    SaveBytes bytes = {data, size};
    return SaveThroughTemporary(__PRETTY_FUNCTION__, path, WriteBytes, &bytes, only_over_file);
}

char EngFileSaveAtomicallyWith(const char* path, EngFileSaveWriter write, void* user, char only_over_file)
{
    return SaveThroughTemporary(__PRETTY_FUNCTION__, path, write, user, only_over_file);
}

int EngFileGetLastSaveError()
{
    return eng_file_last_save_error;
}

int EngFileRemoveInterruptedSaves(const char* folder, bool (*is_record)(const char* name))
{
    if (Empty(folder) || !is_record)
        return 0;
    DIR* d = opendir(folder);
    if (!d)
        return 0;
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
        names.push_back(e->d_name);
    closedir(d);
    const size_t room = TemporaryRoom(folder);
    // A record whose name is too long for ".tmpXXXXXX" has temporaries of its
    // name cut short: they are known by a record of that name in the folder
    // that cuts to exactly that stem.
    auto stem_of_long_record = [&](const std::string& stem)
    {
        for (const std::string& n : names)
            if (n.size() > room && n.compare(0, stem.size(), stem) == 0 &&
                TemporaryStemLength(n.c_str(), room) == stem.size() && is_record(n.c_str()))
                return true;
        return false;
    };
    int removed = 0;
    for (const std::string& name : names)
    {
        std::string record = SaveTempRecord(name.c_str());
        if (record.empty() || (!is_record(record.c_str()) && !stem_of_long_record(record)))
            continue;
        std::string path = std::string(folder) + "/" + name;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (unlink(path.c_str()) == 0)
        {
            DebugInfoAlt(__PRETTY_FUNCTION__, "Removed <%s> left by an interrupted save", path.c_str());
            removed++;
        }
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not remove <%s>: %s", path.c_str(), strerror(errno));
    }
    return removed;
}

char EngFileSaveAllAtomically(const std::vector<EngFileReplacement>& files, const char* func)
{
    std::vector<std::string> temps(files.size());
    std::vector<char> existed(files.size(), 0);
    auto fail = [&](const char* what, const std::string& path, int err)
    {
        for (const std::string& t : temps)
            if (!t.empty())
                unlink(t.c_str());
        return SaveFailed(func, what, path.c_str(), err);
    };
    // Every new file, whole and flushed, before any is put in place.
    for (size_t i = 0; i < files.size(); i++)
    {
        const std::string& path = files[i].path;
        struct stat st;
        const bool old_file = lstat(path.c_str(), &st) == 0;
        existed[i] = old_file;
        if (path.empty())
            return fail("Not a regular file", path, EINVAL);
        if (old_file && !S_ISREG(st.st_mode))
            return fail("Not a regular file", path, NotRegularFileError(st.st_mode));
        if (!EngFileMayBeReplaced(path.c_str()))
            return fail("Could not write", path, errno);
        int fd = EngFileCreateTemporaryBeside(path.c_str(), &temps[i]);
        if (fd < 0)
            return fail("Could not create a temporary file for", path, errno);
        if (old_file)
            fchmod(fd, st.st_mode & 0777);
        const char* failed = nullptr;
        if (!EngFileWriteAll(fd, files[i].data.data(), files[i].data.size()))
            failed = "Could not write";
        else if (fsync(fd) != 0)
            failed = "Could not flush";
        int err = errno;
        if (close(fd) != 0 && !failed)
        {
            failed = "Could not write";
            err = errno;
        }
        if (failed)
            return fail(failed, path, err);
    }
    for (size_t i = 0; i < files.size(); i++)
    {
        if (rename(temps[i].c_str(), files[i].path.c_str()) == 0)
        {
            temps[i].clear();
            continue;
        }
        const int err = errno;
        for (size_t j = 0; j < i; j++)
        {
            const char* put = files[j].path.c_str();
            if (existed[j] ? !EngFileSaveAtomically(put, files[j].old.data(), EngUInt32(files[j].old.size()))
                           : unlink(put) != 0)
                DebugErrorAlt(func, "Could not put back <%s>: it holds the new bytes", put);
        }
        return fail("Could not replace", files[i].path, err);
    }
    for (const EngFileReplacement& f : files)
        SyncFolderOf(f.path.c_str());
    eng_file_last_save_error = 0;
    return 1;
}
