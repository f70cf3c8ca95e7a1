// The game's record files: where they live, which names are theirs, and
// reading a whole fixed-size settings record back.
#pragma once

#include <cstddef>

// Builds "<data folder>/<name>" into out. 0 when the data folder could not be
// made (then nothing of the player's is read or written anywhere else) or,
// logged under func, when the path does not fit.
char RecordFilePath(char* out, size_t size, const char* name, const char* func);
// True for the names of the records the game writes into its data folder.
bool RecordFileIsGameRecord(const char* name);

// Reads the file at path whole into buf when it is a regular file (a link is
// not followed) of exactly size bytes; buf may be changed otherwise. A FIFO,
// device, link or folder is never waited on and is logged under func.
bool RecordFileRead(const char* path, void* buf, size_t size, const char* func);

// Reads path into *out as RecordFileRead does, when the record read carries
// version 1.0; *out is untouched otherwise.
template <typename Record> bool ReadRecordFile(const char* path, Record* out, const char* func)
{
    Record buffer;
    if (!RecordFileRead(path, &buffer, sizeof(buffer), func) || buffer.version != 1.0f)
        return false;
    *out = buffer;
    return true;
}
