// Text held in narrow (UTF-8) and wide form, a fixed-capacity narrow string,
// and a case-insensitive comparison of a number of bytes.
#pragma once

#include <cstddef>
#include <cwchar>
#include <string>

#include "EngTypes.h"

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
// False for a null pointer, max 0 or text that is not valid (ill-formed
// UTF-8, surrogates, values above U+10FFFF).
bool EngUnicodeConvertAnsiStrToUnicode(const char* src, wchar_t* dst, unsigned int max);
bool EngUnicodeConvertUnicodeStrToAnsi(const wchar_t* src, char* dst, unsigned int max);

// Strict UTF-8: shortest forms of U+0000..U+10FFFF without surrogates.
#define ENG_UTF8_INVALID 0xFFFFFFFFu

// Decodes the character at s (len >= 1 bytes available) into *cp and gives
// the bytes it takes. An ill-formed sequence takes its maximal subpart (at
// least one byte) and gives ENG_UTF8_INVALID.
int EngUtf8Decode(const unsigned char* s, size_t len, EngUInt32* cp);
// Writes the UTF-8 form of cp into out (4 bytes); 0 for a surrogate or a
// value above U+10FFFF.
int EngUtf8Encode(EngUInt32 cp, char* out);
// The length of s cut to at most max bytes without splitting a character.
size_t EngUtf8CutLength(const char* s, size_t max);
// len, less a character that a cut left unfinished at the end of s[0..len).
size_t EngUtf8TrimCutTail(const char* s, size_t len);
// A bounded copy (at most size - 1 bytes) that never splits a character.
char* EngUtf8SafeStrcpy(char* dst, const char* src, size_t size);
// s whole when it has at most max bytes; else its start and its end joined by
// "...", at most max bytes together, no character split.
std::string EngUtf8ShortenInMiddle(const char* s, size_t max);

// Drawn text is Latin-1, the encoding of the one-byte fonts. Each byte is its
// own code point on the way out.
std::string EngUtf8FromLatin1(const char* text);
// Characters the fonts cannot hold (beyond U+00FF, the C1 controls) and
// ill-formed sequences become one placeholder each.
std::string EngLatin1FromUtf8(const char* text, char placeholder = '?');

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
