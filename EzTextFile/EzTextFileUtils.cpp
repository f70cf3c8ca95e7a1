// Line blocks, string helpers and narrow/wide conversion.
#include "EzTextFileUtils.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngUnicode.h"

namespace
{

struct BlockHeader
{
    EngUInt32 signature;
    EngUInt32 capacity;
    EngUInt32 length;
};
static_assert(sizeof(BlockHeader) == EZ_BLOCK_HEADER_SIZE, "block header is three 32-bit words");

BlockHeader* HeaderOf(const void* block)
{
    return reinterpret_cast<BlockHeader*>(static_cast<char*>(const_cast<void*>(block)) - EZ_BLOCK_HEADER_SIZE);
}

void CheckSignature(const void* block, const char* func)
{
    DebugAssertAlt(HeaderOf(block)->signature == EZ_BLOCK_SIGNATURE, func, "Bad block signature");
}

char* last_error_string = nullptr;

} // namespace

void* alloc_block(void* block, int length)
{
    if (length < 0)
        length = 0;
    // Largest capacity that still fits the 32-bit header and the allocation.
    const long max_cap = (long(INT_MAX) / EZ_BLOCK_STEP) * EZ_BLOCK_STEP;
    long capacity = ((long(length) + EZ_BLOCK_STEP - 1) / EZ_BLOCK_STEP) * EZ_BLOCK_STEP;
    if (capacity == 0)
        capacity = EZ_BLOCK_STEP;
    DebugAssertAlt(capacity <= max_cap, __PRETTY_FUNCTION__, "Block too large (%d)", length);
    if (capacity > max_cap)
        return nullptr;
    if (block)
    {
        CheckSignature(block, __PRETTY_FUNCTION__);
        BlockHeader* h = HeaderOf(block);
        if (long(h->capacity) >= capacity)
        {
            h->length = EngUInt32(length);
            return block;
        }
    }
    void* old = block ? static_cast<void*>(HeaderOf(block)) : nullptr;
    void* area = realloc(old, size_t(capacity) + EZ_BLOCK_HEADER_SIZE);
    DebugAssertAlt(area != nullptr, __PRETTY_FUNCTION__, "No memory");
    if (!area)
        return nullptr;
    BlockHeader* h = static_cast<BlockHeader*>(area);
    h->signature = EZ_BLOCK_SIGNATURE;
    h->capacity = EngUInt32(capacity);
    h->length = EngUInt32(length);
    return static_cast<char*>(area) + EZ_BLOCK_HEADER_SIZE;
}

void free_block(void* block)
{
    if (!block)
        return;
    CheckSignature(block, __PRETTY_FUNCTION__);
    BlockHeader* h = HeaderOf(block);
    h->signature = 0;
    free(h);
}

void* copy_block(const void* block)
{
    if (!block)
        return nullptr;
    CheckSignature(block, __PRETTY_FUNCTION__);
    const BlockHeader* h = HeaderOf(block);
    size_t total = size_t(h->capacity) + EZ_BLOCK_HEADER_SIZE;
    void* area = malloc(total);
    DebugAssertAlt(area != nullptr, __PRETTY_FUNCTION__, "No memory");
    if (!area)
        return nullptr;
    memcpy(area, h, total);
    return static_cast<char*>(area) + EZ_BLOCK_HEADER_SIZE;
}

int get_blocklen(const void* block)
{
    if (!block)
        return 0;
    CheckSignature(block, __PRETTY_FUNCTION__);
    return int(HeaderOf(block)->length);
}

int get_buflen(const void* block)
{
    if (!block)
        return 0;
    CheckSignature(block, __PRETTY_FUNCTION__);
    return int(HeaderOf(block)->capacity);
}

char* copy_string(const char* s)
{
    return AtoA(s ? s : "");
}

char* AtoA(const char* s)
{
    if (!s)
        return nullptr;
    size_t n = strlen(s) + 1;
    char* p = static_cast<char*>(malloc(n));
    DebugAssertAlt(p != nullptr, __PRETTY_FUNCTION__, "No memory");
    if (p)
        memcpy(p, s, n);
    return p;
}

char* vFormatPString(const char* fmt, va_list ap)
{
    char buffer[EZ_FORMAT_SIZE];
    buffer[0] = 0;
    // A text cut at the limit loses a UTF-8 character split by the cut.
    if (fmt && vsnprintf(buffer, sizeof(buffer), fmt, ap) >= int(sizeof(buffer)))
        buffer[EngUtf8TrimCutTail(buffer, sizeof(buffer) - 1)] = 0;
    return AtoA(buffer);
}

char* FormatPString(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    char* s = vFormatPString(fmt, ap);
    va_end(ap);
    return s;
}

void vLogError(const char* fmt, va_list ap)
{
    char* text = vFormatPString(fmt, ap);
    DebugError("vLogError", "%s", text ? text : "");
    free(text);
}

void LogError(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vLogError(fmt, ap);
    va_end(ap);
}

void SetLastErrorString(const char* s)
{
    free(last_error_string);
    last_error_string = AtoA(s);
}

const char* GetLastErrorString()
{
    return last_error_string;
}

char* LookupSystemError(unsigned long)
{
    return AtoA("");
}

int UtoUTF8(int cp, unsigned char* out)
{
    // UTF-8 holds no surrogates and nothing above U+10FFFF.
    char* o = reinterpret_cast<char*>(out);
    int n = cp < 0 ? 0 : EngUtf8Encode(EngUInt32(cp), o);
    return n ? n : EngUtf8Encode(0xFFFD, o);
}

int EzDecodeUtf8(const unsigned char* s, int len, int* used)
{
    EngUInt32 cp = ENG_UTF8_INVALID;
    int n = len > 0 ? EngUtf8Decode(s, size_t(len), &cp) : 0;
    if (cp == ENG_UTF8_INVALID)
    {
        *used = 1;
        return s[0];
    }
    *used = n;
    return int(cp);
}

int linebuf_UtoA(const wchar_t* units, int count, char** block, int, const char*, char*)
{
    if (!units)
        count = 0;
    else if (count < 0)
        count = int(wcslen(units));
    // At most 3 bytes per unit, 4 per surrogate pair.
    if (count > (INT_MAX - EZ_BLOCK_STEP) / 4)
    {
        LogError("linebuf_UtoA: text too long (%d units)", count);
        return -1;
    }
    char* out = static_cast<char*>(alloc_block(*block, 4 * count + 1));
    *block = out;
    int n = 0;
    for (int i = 0; i < count; i++)
    {
        long u = long(units[i]);
        long cp = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && long(units[i + 1]) >= 0xDC00 &&
            long(units[i + 1]) <= 0xDFFF)
        {
            cp = 0x10000 + ((u - 0xD800) << 10) + (long(units[i + 1]) - 0xDC00);
            i++;
        }
        else if ((u >= 0xD800 && u <= 0xDFFF) || u < 0 || u > 0x10FFFF)
            cp = 0xFFFD;
        n += UtoUTF8(int(cp), reinterpret_cast<unsigned char*>(out + n));
    }
    out[n] = 0;
    return n;
}

int linebuf_AtoU(const char* text, int length, wchar_t** block, int, const char*, char*)
{
    if (!text)
        length = 0;
    else if (length < 0)
        length = int(strlen(text));
    if (size_t(length) + 1 > size_t(INT_MAX - EZ_BLOCK_STEP) / sizeof(wchar_t))
    {
        LogError("linebuf_AtoU: text too long (%d bytes)", length);
        return -1;
    }
    wchar_t* out = static_cast<wchar_t*>(alloc_block(*block, int((length + 1) * sizeof(wchar_t))));
    *block = out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    int n = 0;
    for (int i = 0; i < length;)
    {
        int used;
        out[n++] = wchar_t(EzDecodeUtf8(s + i, length - i, &used));
        i += used;
    }
    out[n] = 0;
    return n;
}
