// Reading a whole fixed-size settings record back from its file.
#pragma once

#include <cstdio>
#include <sys/stat.h>

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
