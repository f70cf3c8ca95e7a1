// The game's record files: where they live, which names are theirs, and
// reading a whole fixed-size settings record back.
#pragma once

#include <cstddef>
#include <cstdio>
#include <sys/stat.h>

// Builds "<data folder>/<name>" into out. 0 when the data folder could not be
// made (then nothing of the player's is read or written anywhere else) or,
// logged under func, when the path does not fit.
char RecordFilePath(char* out, size_t size, const char* name, const char* func);
// True for the names of the records the game writes into its data folder.
bool RecordFileIsGameRecord(const char* name);

// Reads path into *out when st (the file's stat) shows a regular file of
// exactly the record's size and the record read carries version 1.0; *out is
// untouched otherwise.
template <typename Record> bool ReadRecordFile(const char* path, const struct stat& st, Record* out)
{
    bool ok = false;
    FILE* f = fopen(path, "rb");
    if (f)
    {
        Record buffer;
        if (S_ISREG(st.st_mode) && st.st_size == off_t(sizeof(Record)) &&
            fread(&buffer, 1, sizeof(buffer), f) == sizeof(buffer) && buffer.version == 1.0f)
        {
            *out = buffer;
            ok = true;
        }
        fclose(f);
    }
    return ok;
}
