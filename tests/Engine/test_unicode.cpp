// Narrow/wide text, fixed-capacity strings and the case-insensitive compare.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngUnicode.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

// Sets the program's character-type locale for the scope.
class ScopedCtype
{
public:
    explicit ScopedCtype(const char* name)
    {
        const char* cur = setlocale(LC_CTYPE, nullptr);
        old = cur ? cur : "C";
        ok = setlocale(LC_CTYPE, name) != nullptr;
    }
    ~ScopedCtype() { setlocale(LC_CTYPE, old.c_str()); }
    bool ok;

private:
    std::string old;
};

struct TextCase
{
    const char* utf8;
    const wchar_t* wide;
};

const TextCase kTexts[] = {
    {"plain ascii", L"plain ascii"},
    {"caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbbl\xc3\xa9\x65", L"caf\u00e9 cr\u00e8me br\u00fbl\u00e9e"},
    {"\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f \xc3\xbf", L"\u00c4\u00d6\u00dc\u00df \u00ff"},
    {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e",
     L"\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e"},
    {"\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", L"\U0001F600\U0001F600\U0001F600"},
};

TEST(Unicode, RoundTripsWithoutLossWhateverTheLocale)
{
    for (const char* locale : {"C", "C.UTF-8"})
    {
        ScopedCtype ctype(locale);
        ASSERT_TRUE(ctype.ok) << locale;
        for (const TextCase& c : kTexts)
        {
            SCOPED_TRACE(std::string(locale) + ": " + c.utf8);
            EngUnicode from_narrow(c.utf8, 0);
            EXPECT_STREQ(from_narrow.GetString(0, 0), c.utf8);
            const wchar_t* w = from_narrow.GetUnicodeString(0, 0);
            EXPECT_EQ(std::wstring(w), std::wstring(c.wide));

            // Multi-byte texts need more than twice the wide length: nothing may be cut.
            EngUnicode from_wide(w, 0);
            EXPECT_STREQ(from_wide.GetAsciiString(0, 0), c.utf8);
        }
    }
}

TEST(Unicode, SourcesAndEmptyTexts)
{
    DebugClearLog();
    const char abc[] = "abc";
    EngUnicode u(abc, 0);
    EXPECT_EQ(u.GetString(0, 0), abc);
    EXPECT_STREQ(u.GetString(0, 0), "abc");
    EXPECT_EQ(std::wstring(u.GetUnicodeString(0, 0)), L"abc");

    EngUnicode empty("", 0);
    EXPECT_STREQ(empty.GetString(0, 0), "");
    EXPECT_EQ(empty.GetUnicodeString(1, 0), nullptr);
    EXPECT_STREQ(empty.GetUnicodeString(0, 0), L"");

    EngUnicode only("xyz", 1);
    EXPECT_STREQ(only.GetString(0, 0), "xyz");
    EXPECT_EQ(only.GetUnicodeString(1, 0), nullptr);

    EngUnicode none(static_cast<const char*>(nullptr), 1);
    EXPECT_EQ(none.GetString(1, 0), nullptr);
    EXPECT_STREQ(none.GetString(0, 1), "");
    EXPECT_TRUE(Logged("No string"));

    const wchar_t wide[] = L"wide";
    EngUnicode w(wide, 1);
    EXPECT_TRUE(Logged("Should never be called with only flag set"));
    EXPECT_STREQ(w.GetString(0, 0), "wide");
    EXPECT_EQ(w.GetUnicodeString(0, 0), wide);
}

TEST(Unicode, InvalidInputIsLoggedAndFallsBackToEmpty)
{
    DebugClearLog();
    EngUnicode bad("ok\xff\xfe", 0);
    EXPECT_TRUE(Logged("Could not convert string to unicode"));
    EXPECT_STREQ(bad.GetUnicodeString(0, 0), L"");

    const wchar_t lone_surrogate[] = {L'a', wchar_t(0xD800), 0};
    EngUnicode bad_wide(lone_surrogate, 0);
    EXPECT_TRUE(Logged("Could not convert string to ascii"));
    EXPECT_STREQ(bad_wide.GetString(0, 0), "");
    EXPECT_EQ(bad_wide.GetString(1, 0), nullptr);
}

TEST(Unicode, BoundedConversionsStayTerminatedAndWhole)
{
    char narrow[8];
    wchar_t wide[4];
    EXPECT_FALSE(EngUnicodeConvertUnicodeStrToAnsi(nullptr, narrow, 8));
    EXPECT_FALSE(EngUnicodeConvertUnicodeStrToAnsi(L"a", narrow, 0));
    EXPECT_FALSE(EngUnicodeConvertAnsiStrToUnicode("a", nullptr, 4));

    // "ab" plus a two-byte character in a 4-byte buffer: the character is left out whole.
    memset(narrow, 'x', sizeof(narrow));
    EXPECT_TRUE(EngUnicodeConvertUnicodeStrToAnsi(L"ab\u00e9", narrow, 4));
    EXPECT_STREQ(narrow, "ab");

    EXPECT_TRUE(EngUnicodeConvertAnsiStrToUnicode("abcdef", wide, 4));
    EXPECT_STREQ(wide, L"abc");
    EXPECT_TRUE(EngUnicodeConvertAnsiStrToUnicode("\xc3\xa9", wide, 4));
    EXPECT_STREQ(wide, L"\u00e9");
}

// A heap copy without slack, so reading past the terminator is caught.
std::vector<char> Exact(const char* s)
{
    return std::vector<char>(s, s + strlen(s) + 1);
}

// A text too long keeps its start and its end around "...", within the
// bytes given and with no character split at either cut.
TEST(Unicode, ShortenedInTheMiddleAtCharacterBoundaries)
{
    const std::string e4 = "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"; // four two-byte characters
    const struct
    {
        std::string text;
        size_t max;
        std::string want;
    } cases[] = {
        {"abcdef", 6, "abcdef"},
        {"abcdef", 5, "a...f"},
        {"abcdefg", 6, "ab...g"},
        {e4, 7, "\xc3\xa9...\xc3\xa9"},
        {e4, 6, "\xc3\xa9..."},
        {"abcdef", 3, "..."},
        {"abcdef", 2, "ab"},
        {e4, 3, "..."},
        {e4, 1, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.max));
        EXPECT_EQ(EngUtf8ShortenInMiddle(Exact(c.text.c_str()).data(), c.max), c.want);
    }
    EXPECT_EQ(EngUtf8ShortenInMiddle(nullptr, 5), "");
}

TEST(Unicode, StrnicmpFoldsAsciiAndStopsAtSharedTerminator)
{
    struct Case
    {
        const char *a, *b;
        size_t n;
        int expected;
    };
    const Case cases[] = {
        {"ABC", "abd", 3, -1}, {"ABC", "abd", 2, 0}, {"ab", "AB", 100, 0},   {"ab", "abc", 100, -1},
        {"abc", "AB", 100, 1}, {"\xe9", "z", 1, -1}, {"Zeta", "zETA", 4, 0}, {"[", "a", 1, -1},
    };
    for (const Case& c : cases)
    {
        std::vector<char> a = Exact(c.a), b = Exact(c.b);
        EXPECT_EQ(EngAnsiStrnicmp(a.data(), b.data(), c.n), c.expected)
            << c.a << " / " << c.b << " / " << c.n;
    }
    EXPECT_EQ(EngAnsiStrnicmp(nullptr, "a", 1), -1);
    EXPECT_EQ(EngAnsiStrnicmp("a", nullptr, 1), -1);
}

TEST(Unicode, MemAnsiStringChecksEveryIndex)
{
    DebugClearLog();
    EngMemAnsiString small(4, "test");
    small.Set("0123456789");
    EXPECT_STREQ(small.Get(), "012");
    EXPECT_EQ(small.Length(), 3);
    // The terminator's byte takes only a terminator.
    EXPECT_EQ(small.SetChar(3, 'x', 0), 0);
    EXPECT_TRUE(Logged("Bad char num 3 (4)"));
    EXPECT_EQ(small.Length(), 3);

    EngMemAnsiString s(8, "test");
    s.Set("ab");
    EXPECT_EQ(s.SetChar(5, 'z', 1), -1);
    EXPECT_TRUE(Logged("Char num not in string 5 (2)"));
    EXPECT_EQ(s.SetChar(5, 'z', 0), 1);
    EXPECT_EQ(s.GetChar(5, 0), 'z');
    EXPECT_EQ(s.GetChar(5, 1), -1);
    EXPECT_EQ(s.SetChar(8, 'z', 0), 0);
    EXPECT_TRUE(Logged("Bad char num 8 (8)"));
    EXPECT_EQ(s.GetChar(-1, 0), -1);
    EXPECT_EQ(s[1], 'b');
    DebugClearLog();
    s[9] = 'q';
    EXPECT_TRUE(Logged("( EngMemAnsiString::operator[] )    Bad char num 9 (8)"));
    EXPECT_EQ(&s[9], &eng_mem_ascii_string_ret_char);
    s.Set(nullptr);
    EXPECT_EQ(s.Length(), 0);

    EngMemAnsiString none;
    none.Alloc(0, "owner");
    EXPECT_TRUE(Logged("Invalid max length (owner)"));
    EXPECT_EQ(none.Capacity(), 0);
    DebugClearLog();
    EXPECT_EQ(none.Length(), 0);
    none.Set("x");
    EXPECT_EQ(none.SetChar(0, 'a', 0), 0);
    EXPECT_TRUE(Logged("No string"));
}

} // namespace
