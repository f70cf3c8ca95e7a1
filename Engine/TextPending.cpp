// TEMPORARY: minimal file class for the encryption module until the real
// EngFile module is merged. Remove this file and TextPending.h then.
#include "TextPending.h"

#if !__has_include("EngFile.h")

#include "EngDebug.h"

EngFile::EngFile() : open(0), for_reading(0), text_mode(0), stream(nullptr) {}

EngFile::~EngFile()
{
    Close();
}

char EngFile::OpenForReading(const char* path, char text)
{
    if (open)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File was already opened [%s]", path ? path : "");
        Close();
    }
    if (!path || !*path)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename specified");
        return 0;
    }
    stream = fopen(path, text ? "rt" : "rb");
    if (!stream)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
        return 0;
    }
    open = 1;
    for_reading = 1;
    text_mode = text;
    return 1;
}

char EngFile::CreateForWriting(const char* path, char text)
{
    if (!path || !*path)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename specified");
        return 0;
    }
    if (open)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File was already opened [%s]", path);
        Close();
    }
    stream = fopen(path, text ? "wt" : "wb");
    if (!stream)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create file <%s>", path);
        return 0;
    }
    open = 1;
    for_reading = 0;
    text_mode = text;
    return 1;
}

char EngFile::Read(void* buf, EngUInt32 n, char zero_is_error)
{
    if (!open)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File is not open");
        return 0;
    }
    if (!for_reading)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File is not open for reading");
        return 0;
    }
    if (!buf)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Nowhere to read to");
        return 0;
    }
    size_t got = fread(buf, 1, n, stream);
    if (got == n && n > 0)
        return 1;
    if (got == 0)
    {
        if (zero_is_error)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read from file");
        return 0;
    }
    DebugErrorAlt(__PRETTY_FUNCTION__, "Problem reading from file [ read %u not %u ]", unsigned(got), unsigned(n));
    return 0;
}

char EngFile::Write(const void* data, EngUInt32 n)
{
    if (!open)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File is not open");
        return 0;
    }
    if (for_reading)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File is not open for writing");
        return 0;
    }
    if (!data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Nowhere to write from");
        return 0;
    }
    size_t put = n ? fwrite(data, 1, n, stream) : 0;
    if (put == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write to file");
        return 0;
    }
    if (put != n && !text_mode)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Only wrote %u of %u bytes to file", unsigned(put), unsigned(n));
        return 0;
    }
    return 1;
}

EngUInt32 EngFile::GetSize()
{
    if (!open)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File is not opened");
        return 0;
    }
    long pos = ftell(stream);
    if (fseek(stream, 0, SEEK_END) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem getting size");
        return 0;
    }
    long size = ftell(stream);
    if (pos >= 0)
        fseek(stream, pos, SEEK_SET);
    if (size < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem getting size");
        return 0;
    }
    return EngUInt32(size);
}

void EngFile::Close()
{
    if (!open)
        return;
    fclose(stream);
    stream = nullptr;
    open = for_reading = text_mode = 0;
}

#endif
