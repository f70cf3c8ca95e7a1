// The game's record files: where they live, which names are theirs, and
// reading a whole fixed-size settings record back.
#pragma once

#include <cstddef>
#include <string>

// Builds "<data folder>/<name>" into out. 0 when the data folder could not be
// made (then nothing of the player's is read or written anywhere else) or,
// logged under func, when the path does not fit.
char RecordFilePath(char* out, size_t size, const char* name, const char* func);
// True for the names of the records the game writes into its data folder.
bool RecordFileIsGameRecord(const char* name);

// Reads the file at path whole into buf when it is a regular file (a link is
// not followed) of exactly size bytes; buf may be changed otherwise. A FIFO,
// device, link or folder is never waited on and is logged under func (when
// given). Otherwise, when why is given, it says why a file there was not
// read, as in "it is 59 bytes, not 60"; it stays empty for a missing file
// and one refused for its type.
bool RecordFileRead(const char* path, void* buf, size_t size, const char* func, std::string* why = nullptr);

// "its version is <version>, not 1.0".
std::string RecordFileVersionReason(float version);

// Reads path into *out as RecordFileRead does, when the record read carries
// version 1.0; *out is untouched otherwise.
template <typename Record>
bool ReadRecordFile(const char* path, Record* out, const char* func, std::string* why = nullptr)
{
    Record buffer;
    if (!RecordFileRead(path, &buffer, sizeof(buffer), func, why))
        return false;
    if (buffer.version != 1.0f)
    {
        if (why)
            *why = RecordFileVersionReason(buffer.version);
        return false;
    }
    *out = buffer;
    return true;
}
