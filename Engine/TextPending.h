// TEMPORARY: the file class the encryption module calls, until the real
// EngFile module is merged. Remove this file and TextPending.cpp then.
#pragma once

#if __has_include("EngFile.h")
#include "EngFile.h"
#else

#include <cstdio>

#include "EngTypes.h"

class EngFile
{
public:
    EngFile();
    ~EngFile();
    char OpenForReading(const char* path, char text);
    char CreateForWriting(const char* path, char text);
    char Read(void* buf, EngUInt32 n, char zero_is_error);
    char Write(const void* data, EngUInt32 n);
    EngUInt32 GetSize();
    void Close();

private:
    char open;
    char for_reading;
    char text_mode;
    FILE* stream;
};

#endif
