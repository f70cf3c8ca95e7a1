// Text held in narrow (UTF-8) and wide form, a fixed-capacity narrow string,
// and a case-insensitive comparison of a number of bytes.
#pragma once

#include <cstddef>
#include <cwchar>

// Converts on construction. The source texts are borrowed: the caller keeps
// them alive as long as the object.
class EngUnicode
{
public:
    EngUnicode(const char* text, char narrow_only);
    EngUnicode(const wchar_t* text, char flag);
    ~EngUnicode();
    EngUnicode(const EngUnicode&) = delete;
    EngUnicode& operator=(const EngUnicode&) = delete;

    const char* GetAsciiString(char allow_null, char log);
    const char* GetString(char allow_null, char log) { return GetAsciiString(allow_null, log); }
    // The wide copy, or for an object made from a wide text its source.
    const wchar_t* GetUnicodeString(char allow_null, char log);

private:
    char owns_wide = 0;
    char owns_narrow = 0;
    wchar_t* wide = nullptr;
    char* narrow = nullptr;
    char narrow_only = 0;
    const wchar_t* wide_source = nullptr;
    const char* narrow_source = nullptr;
};

// Bounded conversions between UTF-8 and wide text; dst is always terminated.
// False for a null pointer, max 0 or text that is not valid.
bool EngUnicodeConvertAnsiStrToUnicode(const char* src, wchar_t* dst, unsigned int max);
bool EngUnicodeConvertUnicodeStrToAnsi(const wchar_t* src, char* dst, unsigned int max);

// Compares at most n bytes, 'A'..'Z' folded to lower case, bytes as signed
// 8-bit values; stops at a terminator both strings share. -1, 0 or 1; -1 for a
// null pointer.
int EngAnsiStrnicmp(const char* a, const char* b, size_t n);

// What the checked index operator hands out for a bad index.
extern char eng_mem_ascii_string_ret_char;

// A fixed-capacity narrow string on the engine heap.
class EngMemAnsiString
{
public:
    EngMemAnsiString() = default;
    EngMemAnsiString(int capacity, const char* owner);
    ~EngMemAnsiString();
    EngMemAnsiString(const EngMemAnsiString&) = delete;
    EngMemAnsiString& operator=(const EngMemAnsiString&) = delete;

    void Alloc(int capacity, const char* owner);
    void Free();
    char* Get();
    void Set(const char* text);
    int Length();
    void Clear();
    // 1 stored, 0 bad index or no buffer, -1 index past the text with inside_text.
    char SetChar(int index, char c, char inside_text);
    char GetChar(int index, char inside_text);
    char& operator[](int index);
    int Capacity() const { return capacity; }

private:
    char* buffer = nullptr;
    int capacity = 0;
};
