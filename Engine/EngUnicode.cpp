// Narrow and wide text, fixed-capacity strings, case-insensitive comparison.
#include "EngUnicode.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "EngDebug.h"
#include "EngMain.h"

char eng_mem_ascii_string_ret_char = 0;

namespace
{

// Narrow text is UTF-8 whatever the program's locale: the conversions run
// under a C.UTF-8 character type on the calling thread.
class Utf8Scope
{
public:
    Utf8Scope()
    {
        static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (utf8)
            old = uselocale(utf8);
    }
    ~Utf8Scope()
    {
        if (old)
            uselocale(old);
    }
    Utf8Scope(const Utf8Scope&) = delete;
    Utf8Scope& operator=(const Utf8Scope&) = delete;

private:
    locale_t old = locale_t(0);
};

} // namespace

namespace
{
// conv (mbstowcs or wcstombs) of src into dst under UTF-8, cut to max - 1
// units and terminated; an empty dst when src does not convert.
template <typename From, typename To>
bool Convert(const From* src, To* dst, unsigned int max, size_t (*conv)(To*, const From*, size_t))
{
    if (!src || !dst || max == 0)
        return false;
    Utf8Scope utf8;
    size_t n = conv(dst, src, max - 1);
    if (n == size_t(-1))
    {
        dst[0] = 0;
        return false;
    }
    dst[n] = 0;
    return true;
}
} // namespace

bool EngUnicodeConvertAnsiStrToUnicode(const char* src, wchar_t* dst, unsigned int max)
{
    return Convert(src, dst, max, mbstowcs);
}

bool EngUnicodeConvertUnicodeStrToAnsi(const wchar_t* src, char* dst, unsigned int max)
{
    // wcstombs never writes part of a character, so the cut stays valid UTF-8.
    return Convert(src, dst, max, wcstombs);
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
    size_t need;
    {
        Utf8Scope utf8;
        need = wcstombs(nullptr, text, 0);
    }
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
