// Files: the EngFile stream owner and whole-file, directory, move, copy and
// Trash helpers. Every failure is logged and answered with 0.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

#include "EngDebug.h"
#include "EngTypes.h"

#define ENG_FILE_FORMAT_SIZE 2058

class EngFile
{
public:
    EngFile();
    EngFile(const char* path, char for_writing, char text);
    ~EngFile();
    EngFile(const EngFile&) = delete;
    EngFile& operator=(const EngFile&) = delete;

    char OpenForReading(const char* path, char text);
    char OpenForReadingIfExists(const char* path, char text);
    char OpenForWriting(const char* path, char text);
    char CreateForWriting(const char* path, char text);
    char OpenForAppending(const char* path, char text);

    // Success only when exactly n bytes were read.
    char Read(void* buf, EngUInt32 n, char zero_is_error);
    EngUInt32 FRead(void* buf, EngUInt32 n);
    char ReadLine(char* buf, EngUInt32 size);
    // Success only when every byte was written, in both modes.
    char Write(const void* data, EngUInt32 n);
    EngUInt32 FWrite(const void* data, EngUInt32 n);
    char Printf(const char* fmt, ...) ENG_PRINTF(2, 3);

    char Rewind();
    char MoveToPosition(EngUInt32 pos);
    char MoveToPositionFromCurrentPosition(EngUInt32 delta);
    char MoveToEnd();
    EngUInt32 GetPosition();
    char IsAtEnd();
    EngUInt32 GetSize();
    // 0 when the stream reported an error on closing (buffered data lost).
    char Close();

    char IsOpen() const { return open; }
    // The open stream (null when closed), for callers that buffer on their own.
    FILE* GetStream() const { return stream; }

private:
    typedef void (*ErrorLog)(const char* func, const char* fmt, ...);

    char OpenWithMode(const char* func, const char* path, const char* mode, char reading, char text);
    void CloseIfOpen(const char* func, const char* path);
    char OpenOrLog(const char* func, const char* path, const char* mode, char reading, char text,
                   ErrorLog log, const char* what);
    char OpenNamed(const char* func, const char* path, const char* mode, char text, ErrorLog log,
                   const char* what);
    char CheckOpened(const char* func);
    char CheckMode(const char* func, char reading);
    char CheckTransfer(const char* func, char reading, const void* buf);
    char Seek(const char* func, off_t offset, int whence, const char* fail);

    char open;
    char for_reading;
    char text_mode;
    FILE* stream;
};

// Opens path with open(2)'s flags (O_RDONLY, or O_WRONLY/O_RDWR with O_CREAT,
// O_TRUNC, O_APPEND, O_EXCL; O_NOFOLLOW refuses a link at path) without ever
// blocking on a FIFO or device: anything but a regular file (for writing: or
// a character device, a sink such as /dev/null) is refused before any read or
// write, and the descriptor comes back blocking. New files get 0666 less the
// umask. -1 with errno set otherwise; a path that names something else is
// logged under log_func when it is set.
int EngFileOpenRegular(const char* path, int flags, const char* log_func);
// The same as a stream, with an fopen mode ("r", "rb", "rt", "w", "a", "r+"...).
FILE* EngFileOpenRegularStream(const char* path, const char* mode, int extra_flags, const char* log_func);
// 0, with errno set, when path is a regular file this user may not write (a
// file made read-only), which a save by rename must not replace; 1 otherwise.
char EngFileMayBeReplaced(const char* path);
// Creates a new file "<path>.tmpXXXXXX" beside path for writing, exclusively
// (never through a link) and with mode less the umask; its name goes to tmp.
// When that name would pass the folder's limit on names, path's last name is
// cut (never inside a character) to leave room for the ".tmpXXXXXX". -1 with
// errno set when none could be made.
int EngFileCreateTemporaryBeside(const char* path, std::string* tmp, mode_t mode = 0666);

// 1 when path is a regular file or folder that can be opened for reading; a
// FIFO or device is never opened.
char EngFileExists(const char* path);
// 1, after logging "Not a regular file <path>" under log_func, when path names
// something that is there but is not a regular file (a folder, FIFO or
// device), which is not opened; 0 for a regular file or nothing at all.
char EngFileIsThereButNotRegular(const char* path, const char* log_func);
char EngFileDelete(const char* path, char report);
EngUInt32 EngFileGetFileSize(const char* path, char text);
EngUInt32 EngFileGetLastModifiedTime(const char* path);
char EngFileOpenReadAndClose(const char* path, char text, void* buf, EngUInt32 size);
char EngFileOpenReadAndCloseIfExists(const char* path, char text, void* buf, EngUInt32 size);
char EngFileOpenWriteAndClose(const char* path, char text, const void* data, EngUInt32 size);
char EngFileDirectoryExists(const char* path);
char EngFileCreateDirectory(const char* path);
char EngFileDeleteDirectory(const char* path);
// rename(2); across file systems the tree (folders, files and links) is
// copied and the source removed once the copy is whole.
char EngFileRenameDirectory(const char* old_path, const char* new_path);
// rename(2); across file systems a checked copy followed by unlink. A target
// that is there in any form (even unreadable) is never replaced.
char EngFileMoveFile(const char* from, const char* to);
// A plain read/write copy into a temporary beside to, renamed over to once it
// is whole: a failed copy leaves to as it was. Only a regular file is copied.
char EngFileCopyFile(const char* from, const char* to, char fail_if_exists);
// Moves the file into the user's Trash under a free name, with its info record.
char EngFileMoveToTrash(const char* path);
void EngFileReverseWordBitsForPlatform(void* data, EngUInt32 size);
void EngFileOutputLastError(char* caller, char*, char, EngUInt32, char);

// write(2) of all n bytes, going on after interruptions.
bool EngFileWriteAll(int fd, const void* data, size_t n);
// Reads exactly n bytes from fd, retrying short reads; false on error or end of file.
bool EngFileReadAll(int fd, void* buf, size_t n);
// Reads a whole regular file of at most max_size bytes into a malloc'ed buffer
// (freed with free) and stores its size; NULL, after logging why (unless
// quiet), otherwise, with errno telling why (EFBIG for a larger file).
unsigned char* EngFileReadWholeFile(const char* path, size_t max_size, size_t* size, char quiet = 0);

// Writes data to a temporary file "<path>.tmpXXXXXX" in the target's folder,
// created new (never an existing entry, never through a link), fsyncs it and
// renames it over path. A new file gets 0666 less the umask, a regular file
// that is replaced keeps its permission bits. With only_over_file set, a path
// that is there but not a regular file is refused, with the code
// (EngFileGetLastSaveError) EISDIR for a folder, ELOOP for a link and
// EOPNOTSUPP for a FIFO, device or socket. A regular file that this user may
// not write (made read-only) is refused with the reason a plain write gives.
// On failure the old file is untouched, no temporary is left, the reason is
// logged and 0 returned. A name too long to have ".tmpXXXXXX" put after it
// gets a temporary of a shortened name.
char EngFileSaveAtomically(const char* path, const void* data, EngUInt32 size, char only_over_file = 0);
// Writes the whole new file to f; 0 when it could not, with errno telling
// why a write failed, or, for a reason of the writer's own (nothing to
// write, data it cannot encode), that reason put in why (why_size bytes, ""
// when called), which the save logs instead of errno, and errno 0 (the
// save's code is then EINVAL) or the errno that fits it.
typedef char (*EngFileSaveWriter)(FILE* f, void* user, char* why, size_t why_size);
// EngFileSaveAtomically with the bytes written by write(stream, user) into
// the temporary, for files made by a writer of their own (a picture).
char EngFileSaveAtomicallyWith(const char* path, EngFileSaveWriter write, void* user,
                               char only_over_file = 0);
// The errno of the last save by rename (EngFileSaveAtomically,
// EngFileSaveAtomicallyWith, EngFileSaveAllAtomically), 0 when it succeeded.
// A failed one never leaves 0: a writer's own reason reads EINVAL unless it
// set an errno, a failure that told nothing EIO.
int EngFileGetLastSaveError();
// Removes the temporary files that saves cut off (killed, power lost) leave
// in folder: regular files "<record>.tmpXXXXXX" where is_record(record) says
// the name is one of the caller's records. The shortened temporaries of names
// too long to take ".tmpXXXXXX" are known by their record in the folder: a
// name is_record accepts that cuts to exactly their stem (the temporary of a
// first save of such a name is found once its record is there). Gives how
// many went.
int EngFileRemoveInterruptedSaves(const char* folder, bool (*is_record)(const char* name));

// One file of EngFileSaveAllAtomically: its new bytes, and the bytes it holds
// now, which are put back should the save fail after replacing it.
struct EngFileReplacement
{
    std::string path;
    std::string data;
    std::string old;
};
// Replaces every file with its data, or none. Each new file is written and
// flushed to a temporary beside its file first, as EngFileSaveAtomically
// does (a link, FIFO or folder is refused with its codes, and a read-only
// file too); only when every one is ready are they renamed over the files,
// each rename atomic. A rename that fails puts the files already replaced
// back, each atomically from its old bytes. 1 when every file was replaced;
// 0, with the reason logged under func, when none was changed, or when a
// file could not be put back, which is logged too. A kill during the renames
// may leave some files replaced and the others not.
char EngFileSaveAllAtomically(const std::vector<EngFileReplacement>& files, const char* func);
