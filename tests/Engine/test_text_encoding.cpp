// UTF-8 at the program's edges: decoding against a reference decoder's
// results, refused code points, and cuts that keep whole characters.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMiscStrings.h"
#include "EngUnicode.h"
#include "EzTextFile/EzTextFile.h"
#include "support/TestSupport.h"

namespace
{

struct DecodeCase
{
    const char* name;
    const char* bytes;
    // Python's bytes.decode('utf-8', 'replace'), encoded again as UTF-8.
    const char* reference;
    // The reference with every character beyond Latin-1 (U+FFFD included)
    // and every C1 control as '?'.
    const char* latin1;
    // Whether a strict decoder takes the bytes.
    bool valid;
};

// clang-format off
const DecodeCase kDecodeCases[] = {
    {"3-byte sequence cut short", "\xE2\x82" "A", "\xEF\xBF\xBD" "A", "?A", false},
    {"above U+10FFFF", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "????", false},
    {"surrogate U+D800", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "???", false},
    {"overlong 2-byte form", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", "??", false},
    {"overlong 3-byte form", "\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "???", false},
    {"4-byte sequence cut short", "\xF0\x9F\x98x", "\xEF\xBF\xBDx", "?x", false},
    {"U+1F600", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "?", true},
    {"lone continuation byte", "\x80", "\xEF\xBF\xBD", "?", false},
    {"bytes never used", "\xFE\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD", "??", false},
    {"old 5-byte form", "\xF8\x88\x80\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "?????", false},
    {"old 6-byte form of 0x7FFFFFFF", "\xFD\xBF\xBF\xBF\xBF\xBF",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "??????", false},
    {"Latin-1 letter", "caf\xC3\xA9", "caf\xC3\xA9", "caf\xE9", true},
    {"U+10FFFF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", "?", true},
    {"U+FFFD itself", "\xEF\xBF\xBD", "\xEF\xBF\xBD", "?", true},
    {"lead byte alone", "\xC2", "\xEF\xBF\xBD", "?", false},
    {"3-byte lead and one more", "\xE2\x82", "\xEF\xBF\xBD", "?", false},
    {"bad second byte", "a\xE2(\xA1", "a\xEF\xBF\xBD(\xEF\xBF\xBD", "a?(?", false},
    {"three sequences cut short", "\xF1\x80\x80\xE1\x80\xC2", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "???", false},
    {"euro sign and a C1 control", "\xE2\x82\xAC \xC2\x85", "\xE2\x82\xAC \xC2\x85", "? ?", true},
};
// clang-format on

// out without its leading prefix and its closing line feed.
std::string Without(const std::string& prefix, const std::string& out)
{
    if (out.compare(0, prefix.size(), prefix) != 0 || out.empty() || out.back() != '\n')
        return "unexpected output: " + out;
    return out.substr(prefix.size(), out.size() - prefix.size() - 1);
}

class TextEncoding : public vztest::LogTest
{
protected:
    vztest::TempDir dir;
};

// One U+FFFD per maximal ill-formed subpart, at the start, in the middle and
// at the end of a line of a UTF-8 text file.
TEST_F(TextEncoding, TextFilesReplaceAsTheReferenceDecoderDoes)
{
    std::string path = dir.File("u.txt");
    std::string data = "\xEF\xBB\xBF";
    for (const DecodeCase& c : kDecodeCases)
        data += std::string(c.bytes) + "\n<" + c.bytes + ">\nx" + c.bytes + "\n";
    vztest::WriteFile(path, data);

    TextFile tf;
    ASSERT_EQ(TF_OK, tf.Open(path.c_str(), TF_READ, TF_DETECT, 7));
    ASSERT_EQ(TF_UTF8, tf.GetEncoding());
    char* line = nullptr;
    for (const DecodeCase& c : kDecodeCases)
    {
        SCOPED_TRACE(c.name);
        const std::string ref = c.reference;
        for (const std::string& expected : {ref, "<" + ref + ">", "x" + ref})
        {
            ASSERT_EQ(TF_OK, tf.ReadLine(nullptr, &line));
            EXPECT_EQ(expected, line);
        }
    }
    EXPECT_EQ(TF_EOF, tf.ReadLine(nullptr, &line));
    free_block(line);
    tf.Close();
}

// Text for the one-byte fonts: one placeholder where the reference decoder
// gives a character beyond Latin-1 or a replacement character.
TEST_F(TextEncoding, Latin1TextHasOnePlaceholderPerCharacter)
{
    for (const DecodeCase& c : kDecodeCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.latin1, EngLatin1FromUtf8(c.bytes));
        EXPECT_EQ("<" + std::string(c.latin1) + ">",
                  EngLatin1FromUtf8(("<" + std::string(c.bytes) + ">").c_str()));
    }
    // Out again, every Latin-1 byte is its own character.
    EXPECT_EQ("gr\xC3\xBC\xC3\x9F \xC2\xA0\xC3\xBF", EngUtf8FromLatin1("gr\xFC\xDF \xA0\xFF"));
}

// The narrow-to-wide conversion takes exactly what a strict decoder takes;
// wide-to-narrow refuses what UTF-8 cannot hold.
TEST_F(TextEncoding, UnicodeTextAcceptsOnlyWellFormedUtf8)
{
    for (const DecodeCase& c : kDecodeCases)
    {
        SCOPED_TRACE(c.name);
        DebugClearLog();
        EngUnicode u(c.bytes, 0);
        const wchar_t* w = u.GetUnicodeString(0, 0);
        EXPECT_EQ(c.valid, !vztest::Logged("Could not convert string to unicode"));
        if (!c.valid)
        {
            EXPECT_STREQ(L"", w);
            continue;
        }
        EngUnicode back(w, 0);
        EXPECT_STREQ(c.reference, back.GetString(0, 0));
    }

    struct WideCase
    {
        wchar_t unit;
        const char* utf8; // null: refused
    } wide_cases[] = {
        {wchar_t(0x10FFFF), "\xF4\x8F\xBF\xBF"},
        {wchar_t(0xFFFD), "\xEF\xBF\xBD"},
        {wchar_t(0xE9), "\xC3\xA9"},
        {wchar_t(0x110000), nullptr},
        {wchar_t(0x7FFFFFFF), nullptr},
        {wchar_t(0xD800), nullptr},
        {wchar_t(0xDFFF), nullptr},
    };
    for (const WideCase& c : wide_cases)
    {
        SCOPED_TRACE(unsigned(c.unit));
        const wchar_t text[] = {L'a', c.unit, 0};
        char out[16];
        EXPECT_EQ(c.utf8 != nullptr, EngUnicodeConvertUnicodeStrToAnsi(text, out, sizeof(out)));
        EXPECT_EQ(c.utf8 ? "a" + std::string(c.utf8) : std::string(), out);
        DebugClearLog();
        EngUnicode u(text, 0);
        EXPECT_EQ(c.utf8 == nullptr, vztest::Logged("Could not convert string to ascii"));
    }
}

// A character across a cut is left out whole: the log's cut at 462 bytes, the
// fixed buffers of the file and log layers, and the message box's title and
// text cuts at 99 and 399.
TEST_F(TextEncoding, CutsKeepWholeCharacters)
{
    struct CutCase
    {
        int before;     // bytes before the character
        const char* ch; // the character
        int kept;       // bytes the cut keeps
    };
    const char e_acute[] = "\xC3\xA9", euro[] = "\xE2\x82\xAC", smile[] = "\xF0\x9F\x98\x80";
    const auto cases = [&](int cut)
    {
        return std::vector<CutCase>{
            {cut - 1, e_acute, cut - 1}, {cut - 2, e_acute, cut}, {cut - 1, euro, cut - 1},
            {cut - 2, euro, cut - 2},    {cut - 3, euro, cut},    {cut - 3, smile, cut - 3},
            {cut - 1, smile, cut - 1},   {cut - 4, smile, cut},   {cut, smile, cut},
        };
    };
    const auto text = [](const CutCase& c)
    { return std::string(size_t(c.before), 'a') + c.ch + std::string(40, 'b'); };

    for (const CutCase& c : cases(462))
    {
        SCOPED_TRACE(c.before);
        std::string t = text(c);
        DebugInfo("%s", t.c_str());
        std::string stored = " :  " + t.substr(0, size_t(c.kept)) + " ... (TRUNCATED)";
        EXPECT_EQ(stored, vztest::LastLogLine());
        std::string file = vztest::ReadFile(LogPath());
        EXPECT_EQ(stored + "\n", file.substr(file.size() - stored.size() - 1));
    }

    // The other fixed buffers: a file's formatted text, the quick log lines
    // (standard output only) and a ring slot written in place.
    const std::string printed = dir.File("printf.txt");
    const struct
    {
        const char* name;
        int cut;
        std::function<std::string(const std::string&)> kept; // what reaches the file, output or slot
    } places[] = {
        {"EngFile::Printf", ENG_FILE_FORMAT_SIZE - 1,
         [&](const std::string& t)
         {
             EngFile f;
             EXPECT_EQ(f.OpenForWriting(printed.c_str(), 0), 1);
             EXPECT_EQ(f.Printf("%s", t.c_str()), 1);
             f.Close();
             return vztest::ReadFile(printed);
         }},
        {"DebugErrorQuickAlt", DEBUG_FORMAT_SIZE - 1,
         [](const std::string& t)
         {
             testing::internal::CaptureStdout();
             DebugErrorQuickAlt("void Quick::Error()", "%s", t.c_str());
             return Without("Quick::Error > ", testing::internal::GetCapturedStdout());
         }},
        {"DebugInfoQuick", DEBUG_FORMAT_SIZE - 1,
         [](const std::string& t)
         {
             testing::internal::CaptureStdout();
             DebugInfoQuick("label", "%s", t.c_str());
             return Without("label > ", testing::internal::GetCapturedStdout());
         }},
        {"DebugInfoQuickAlt", DEBUG_FORMAT_SIZE - 1,
         [](const std::string& t)
         {
             testing::internal::CaptureStdout();
             DebugInfoQuickAlt("int Quick::Info(int)", "%s", t.c_str());
             return Without("Quick::Info > ", testing::internal::GetCapturedStdout());
         }},
        {"DebugSetMessageText", DEBUG_MSG_TEXT_SIZE - 1,
         [](const std::string& t)
         {
             DebugInfo("to be replaced");
             int slot = DebugGetNumMessages() - 1;
             DebugSetMessageText(slot, "%s", t.c_str());
             return std::string(DebugGetMessage(slot)->text);
         }},
    };
    for (const auto& place : places)
        for (const CutCase& c : cases(place.cut))
        {
            SCOPED_TRACE(std::string(place.name) +
                         ", bytes before the character: " + std::to_string(c.before));
            std::string t = text(c);
            EXPECT_EQ(t.substr(0, size_t(c.kept)), place.kept(t));
        }

    vztest::PopupRecorder popups;
    const std::vector<CutCase> title_cases = cases(99), text_cases = cases(399);
    for (size_t i = 0; i < title_cases.size(); i++)
    {
        SCOPED_TRACE(i);
        std::string title = text(title_cases[i]), message = text(text_cases[i]);
        EngMiscShowPopupMessage(1, title.c_str(), message.c_str());
        ASSERT_EQ(i + 1, vztest::PopupRecorder::Popups().size());
        const vztest::Popup& p = vztest::PopupRecorder::Popups().back();
        EXPECT_EQ(title.substr(0, size_t(title_cases[i].kept)), p.title);
        EXPECT_EQ(message.substr(0, size_t(text_cases[i].kept)), p.text);
    }
}

} // namespace
