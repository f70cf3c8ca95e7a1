// Narrow and wide text, fixed-capacity strings, case-insensitive comparison.
#include "EngUnicode.h"

#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"

char eng_mem_ascii_string_ret_char = 0;

int EngUtf8Decode(const unsigned char* s, size_t len, EngUInt32* cp)
{
    unsigned b = s[0];
    if (b < 0x80)
    {
        *cp = b;
        return 1;
    }
    // The well-formed sequences: the second byte's range depends on the lead.
    int need;
    EngUInt32 v;
    unsigned lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF)
        need = 1, v = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF)
    {
        need = 2, v = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (b == 0xED)
            hi = 0x9F; // no surrogates
    }
    else if (b >= 0xF0 && b <= 0xF4)
    {
        need = 3, v = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    }
    else
    {
        *cp = ENG_UTF8_INVALID;
        return 1;
    }
    for (int i = 1; i <= need; i++)
    {
        if (size_t(i) >= len || s[i] < lo || s[i] > hi)
        {
            *cp = ENG_UTF8_INVALID;
            return i;
        }
        v = (v << 6) | (s[i] & 0x3F);
        lo = 0x80;
        hi = 0xBF;
    }
    *cp = v;
    return need + 1;
}

int EngUtf8Encode(EngUInt32 cp, char* out)
{
    unsigned char* o = reinterpret_cast<unsigned char*>(out);
    if (cp < 0x80)
    {
        o[0] = static_cast<unsigned char>(cp);
        return 1;
    }
    if (cp < 0x800)
    {
        o[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        o[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF)
        return 0;
    if (cp < 0x10000)
    {
        o[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 3;
    }
    if (cp > 0x10FFFF)
        return 0;
    o[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
    o[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
    o[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 4;
}

namespace
{
bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

size_t EngUtf8CutLength(const char* s, size_t max)
{
    if (!s)
        return 0;
    if (max == size_t(-1))
        return strlen(s);
    size_t n = strnlen(s, max + 1);
    if (n <= max || !IsContinuation(s[max]))
        return n <= max ? n : max;
    // s[max] continues a character: start that character's bytes after the cut.
    size_t k = max;
    while (k > 0 && max - k < 3 && IsContinuation(s[k]))
        k--;
    EngUInt32 cp;
    int used = EngUtf8Decode(reinterpret_cast<const unsigned char*>(s + k), strnlen(s + k, 4), &cp);
    return k + size_t(used) > max ? k : max;
}

size_t EngUtf8TrimCutTail(const char* s, size_t len)
{
    if (!s || len == 0)
        return 0;
    size_t k = len - 1;
    while (k > 0 && len - 1 - k < 3 && IsContinuation(s[k]))
        k--;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(s + k);
    EngUInt32 cp;
    int used = EngUtf8Decode(u, len - k, &cp);
    // A valid lead whose sequence runs into the end was cut short.
    if (cp == ENG_UTF8_INVALID && k + size_t(used) == len && u[0] >= 0xC2 && u[0] <= 0xF4)
        return k;
    return len;
}

std::string EngUtf8ShortenInMiddle(const char* s, size_t max)
{
    if (!s)
        return "";
    const size_t len = strlen(s);
    if (len <= max)
        return s;
    static const char dots[] = "...";
    const size_t n_dots = sizeof(dots) - 1;
    if (max < n_dots)
        return std::string(s, EngUtf8CutLength(s, max));
    const size_t room = max - n_dots;
    const size_t head = EngUtf8CutLength(s, room - room / 2);
    // The end begins on a character's first byte.
    size_t tail = len - (room - head);
    while (tail < len && IsContinuation(s[tail]))
        tail++;
    return std::string(s, head) + dots + std::string(s + tail);
}

char* EngUtf8SafeStrcpy(char* dst, const char* src, size_t size)
{
    if (!dst || size == 0)
        return dst;
    size_t n = src ? EngUtf8CutLength(src, size - 1) : 0;
    if (n)
        memcpy(dst, src, n);
    dst[n] = 0;
    return dst;
}

std::string EngUtf8FromLatin1(const char* text)
{
    std::string out;
    if (!text)
        return out;
    for (const char* p = text; *p; p++)
    {
        char b[4];
        out.append(b, size_t(EngUtf8Encode(static_cast<unsigned char>(*p), b)));
    }
    return out;
}

std::string EngLatin1FromUtf8(const char* text, char placeholder)
{
    std::string out;
    if (!text)
        return out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t len = strlen(text);
    for (size_t i = 0; i < len;)
    {
        EngUInt32 cp;
        i += size_t(EngUtf8Decode(s + i, len - i, &cp));
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
            out.push_back(static_cast<char>(cp));
        else
            out.push_back(placeholder);
    }
    return out;
}

namespace
{
// The UTF-8 length of a wide text, or size_t(-1) when a unit is no character.
size_t Utf8LengthOfWide(const wchar_t* w)
{
    size_t n = 0;
    char b[4];
    for (; *w; w++)
    {
        int k = *w < 0 ? 0 : EngUtf8Encode(EngUInt32(*w), b);
        if (k == 0)
            return size_t(-1);
        n += size_t(k);
    }
    return n;
}
} // namespace

bool EngUnicodeConvertAnsiStrToUnicode(const char* src, wchar_t* dst, unsigned int max)
{
    if (!src || !dst || max == 0)
        return false;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(src);
    size_t len = strlen(src);
    size_t n = 0;
    for (size_t i = 0; i < len && n < size_t(max) - 1;)
    {
        EngUInt32 cp;
        i += size_t(EngUtf8Decode(s + i, len - i, &cp));
        if (cp == ENG_UTF8_INVALID)
        {
            dst[0] = 0;
            return false;
        }
        dst[n++] = wchar_t(cp);
    }
    dst[n] = 0;
    return true;
}

bool EngUnicodeConvertUnicodeStrToAnsi(const wchar_t* src, char* dst, unsigned int max)
{
    if (!src || !dst || max == 0)
        return false;
    // Whole characters only, so the cut stays valid UTF-8.
    size_t n = 0;
    for (const wchar_t* w = src; *w && n < size_t(max) - 1; w++)
    {
        char b[4];
        int k = *w < 0 ? 0 : EngUtf8Encode(EngUInt32(*w), b);
        if (k == 0)
        {
            dst[0] = 0;
            return false;
        }
        if (n + size_t(k) > size_t(max) - 1)
            break;
        memcpy(dst + n, b, size_t(k));
        n += size_t(k);
    }
    dst[n] = 0;
    return true;
}

EngUnicode::EngUnicode(const char* text, char narrow_only_flag)
{
    narrow_source = text;
    if (!text || !*text)
        return;
    if (narrow_only_flag)
    {
        narrow_only = 1;
        return;
    }
    size_t len = strlen(text);
    // A UTF-8 text never has more characters than bytes.
    wide = static_cast<wchar_t*>(malloc((len + 2) * sizeof(wchar_t)));
    if (!wide)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (A2U)");
        return;
    }
    if (len + 1 > 0xFFFFFFFFu || !EngUnicodeConvertAnsiStrToUnicode(text, wide, unsigned(len + 1)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not convert string to unicode");
        free(wide);
        wide = nullptr;
        return;
    }
    owns_wide = 1;
}

EngUnicode::EngUnicode(const wchar_t* text, char flag)
{
    wide_source = text;
    if (flag)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Should never be called with only flag set");
    if (!text || !*text)
        return;
    size_t need = Utf8LengthOfWide(text);
    if (need == size_t(-1) || need + 1 > 0xFFFFFFFFu)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not convert string to ascii");
        return;
    }
    narrow = static_cast<char*>(malloc(need + 1));
    if (!narrow)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (U2A)");
        return;
    }
    if (!EngUnicodeConvertUnicodeStrToAnsi(text, narrow, unsigned(need + 1)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not convert string to ascii");
        free(narrow);
        narrow = nullptr;
        return;
    }
    owns_narrow = 1;
}

EngUnicode::~EngUnicode()
{
    if (owns_wide)
        free(wide);
    if (owns_narrow)
        free(narrow);
}

const char* EngUnicode::GetAsciiString(char allow_null, char log)
{
    if (narrow_only)
    {
        if (narrow_source || allow_null)
            return narrow_source;
        if (log)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No string (NCN)");
        return "";
    }
    if (narrow_source && *narrow_source)
        return narrow_source;
    if (narrow || allow_null)
        return narrow;
    if (log)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
    return "";
}

const wchar_t* EngUnicode::GetUnicodeString(char allow_null, char log)
{
    if (wide)
        return wide;
    if (wide_source && *wide_source)
        return wide_source;
    if (allow_null)
        return nullptr;
    if (log)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
    return L"";
}

int EngAnsiStrnicmp(const char* a, const char* b, size_t n)
{
    if (!a || !b)
        return -1;
    for (size_t i = 0; i < n; i++)
    {
        signed char ca = static_cast<signed char>(a[i]);
        signed char cb = static_cast<signed char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<signed char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<signed char>(cb - 'A' + 'a');
        if (ca < cb)
            return -1;
        if (ca > cb)
            return 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}

EngMemAnsiString::EngMemAnsiString(int cap, const char* owner)
{
    Alloc(cap, owner);
}

EngMemAnsiString::~EngMemAnsiString()
{
    Free();
}

void EngMemAnsiString::Alloc(int cap, const char* owner)
{
    Free();
    if (cap < 1)
    {
        if (owner)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid max length (%s)", owner);
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid max length");
        return;
    }
    buffer = static_cast<char*>(EngMalloc(size_t(cap), owner, 1));
    if (!buffer)
    {
        if (owner)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (%s)", owner);
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return;
    }
    capacity = cap;
}

void EngMemAnsiString::Free()
{
    if (buffer)
        EngFree(buffer, 0, __PRETTY_FUNCTION__);
    buffer = nullptr;
    capacity = 0;
}

char* EngMemAnsiString::Get()
{
    DebugAssertAlt(buffer != nullptr, __PRETTY_FUNCTION__, "No string");
    DebugAssertAlt(capacity > 0, __PRETTY_FUNCTION__, "Bad max length");
    return buffer;
}

void EngMemAnsiString::Set(const char* text)
{
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return;
    }
    EngSafeStrcpy(buffer, text, size_t(capacity));
}

int EngMemAnsiString::Length()
{
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return 0;
    }
    return int(strnlen(buffer, size_t(capacity)));
}

void EngMemAnsiString::Clear()
{
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return;
    }
    buffer[0] = 0;
}

char EngMemAnsiString::SetChar(int index, char c, char inside_text)
{
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return 0;
    }
    // The last byte holds the terminator: only 0 may go there.
    if (index < 0 || index >= capacity || (index == capacity - 1 && c != 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad char num %d (%d)", index, capacity);
        return 0;
    }
    int len = Length();
    if (inside_text && index >= len)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Char num not in string %d (%d)", index, len);
        return -1;
    }
    buffer[index] = c;
    return 1;
}

char EngMemAnsiString::GetChar(int index, char inside_text)
{
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return -1;
    }
    if (index < 0 || index >= capacity)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad char num %d (%d)", index, capacity);
        return -1;
    }
    int len = Length();
    if (inside_text && index >= len)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Char num not in string %d (%d)", index, len);
        return -1;
    }
    return buffer[index];
}

// Logged in full: the short-name form stops at the bracket.
static const char kIndexFunc[] = "EngMemAnsiString::operator[]";

char& EngMemAnsiString::operator[](int index)
{
    if (!buffer)
    {
        DebugError(kIndexFunc, "No string");
        eng_mem_ascii_string_ret_char = 0;
        return eng_mem_ascii_string_ret_char;
    }
    if (index < 0 || index >= capacity)
    {
        DebugError(kIndexFunc, "Bad char num %d (%d)", index, capacity);
        eng_mem_ascii_string_ret_char = 0;
        return eng_mem_ascii_string_ret_char;
    }
    return buffer[index];
}
