// Text files: exact writer bytes, reading in every encoding and buffer size,
// rewinding, line blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EzTextFile/EzTextFile.h"
#include "support/TestSupport.h"

using vztest::Logged;
using vztest::ReadFile;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int c : b)
        s.push_back(char(c));
    return s;
}

std::vector<std::string> ReadAll(const std::string& path, int buffer_size, int* encoding = nullptr)
{
    std::vector<std::string> lines;
    TextFile tf;
    EXPECT_EQ(0, tf.Open(path.c_str(), TF_READ, 0, buffer_size));
    if (encoding)
        *encoding = tf.GetEncoding();
    char* line = nullptr;
    int r;
    while ((r = tf.ReadLine(nullptr, &line)) == 0)
        lines.push_back(line);
    EXPECT_EQ(-1, r);
    EXPECT_EQ(-1, tf.ReadLine(nullptr, &line)) << "end of file stays the end";
    free_block(line);
    EXPECT_EQ(0, tf.Close());
    return lines;
}

class TextFileTest : public vztest::LogTest
{
protected:
    TempDir dir;
};

// "a é 😀 LF b LF" in UTF-8 narrow text.
const char kText[] = "a\xC3\xA9\xF0\x9F\x98\x80\nb\n";

TEST_F(TextFileTest, WriterBytesPerEncodingAndLineFeedOption)
{
    struct Case
    {
        int options;
        std::string bytes;
    };
    const std::string crlf_utf8 = "a\xC3\xA9\xF0\x9F\x98\x80\r\nb\r\n";
    const std::string lf_utf8 = "a\xC3\xA9\xF0\x9F\x98\x80\nb\n";
    const Case cases[] = {
        {TF_DETECT, crlf_utf8},
        {TF_ANSI, crlf_utf8},
        {TF_ANSI | TF_NO_CRLF, lf_utf8},
        {TF_UTF8, Bytes({0xEF, 0xBB, 0xBF}) + crlf_utf8},
        {TF_UTF8 | TF_NO_CRLF, Bytes({0xEF, 0xBB, 0xBF}) + lf_utf8},
        {TF_UTF16LE, Bytes({0xFF, 0xFE, 'a',  0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE,
                            0x0D, 0,    0x0A, 0, 'b',  0, 0x0D, 0,    0x0A, 0})},
        {TF_UTF16LE | TF_NO_CRLF,
         Bytes({0xFF, 0xFE, 'a', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE, 0x0A, 0, 'b', 0, 0x0A, 0})},
        {TF_UTF16BE, Bytes({0xFE, 0xFF, 0, 'a',  0, 0xE9, 0xD8, 0x3D, 0xDE, 0x00,
                            0,    0x0D, 0, 0x0A, 0, 'b',  0,    0x0D, 0,    0x0A})},
        {TF_UTF16BE | TF_NO_CRLF,
         Bytes({0xFE, 0xFF, 0, 'a', 0, 0xE9, 0xD8, 0x3D, 0xDE, 0x00, 0, 0x0A, 0, 'b', 0, 0x0A})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.options);
        std::string path = dir.File("w.txt");
        // A tiny buffer makes the writer flush in the middle of a character.
        for (int buffer_size : {0, 3})
        {
            TextFile tf;
            ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, c.options, buffer_size));
            EXPECT_EQ(0, tf.WriteString(nullptr, kText));
            EXPECT_EQ(0, tf.Close());
            EXPECT_EQ(c.bytes, ReadFile(path)) << "buffer " << buffer_size;
        }
    }
}

TEST_F(TextFileTest, ExampleBytesOfUtf8File)
{
    std::string path = dir.File("u.txt");
    TextFile tf;
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, TF_UTF8, 0));
    EXPECT_EQ(0, tf.WriteChar(nullptr, 'a'));
    EXPECT_EQ(0, tf.WriteChar(nullptr, '\n'));
    EXPECT_EQ(0, tf.FormatString(nullptr, "%c%d\n", 'b', 7));
    EXPECT_EQ(0, tf.Close());
    EXPECT_EQ(Bytes({0xEF, 0xBB, 0xBF, 0x61, 0x0D, 0x0A, 0x62, '7', 0x0D, 0x0A}), ReadFile(path));
}

TEST_F(TextFileTest, StrayBytesInNarrowTextBecomeValidUtf8)
{
    std::string path = dir.File("s.txt");
    TextFile tf;
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, TF_UTF8 | TF_NO_CRLF, 0));
    EXPECT_EQ(0, tf.WriteString(nullptr, "x\xE9y"));
    EXPECT_EQ(0, tf.Close());
    EXPECT_EQ(Bytes({0xEF, 0xBB, 0xBF, 'x', 0xC3, 0xA9, 'y'}), ReadFile(path));
}

TEST_F(TextFileTest, FormattedLinesAreWrittenWholeInEveryEncoding)
{
    // 2,000 bytes with characters of every length, one of them across byte 511.
    std::string body = std::string(510, 'a') + "\xC3\xA9";
    while (body.size() + 8 <= 1990)
        body += "b\xE2\x82\xAC\xF0\x9F\x98\x80";
    body.resize(1990, 'c');
    const std::string line = body + "|record 42";
    ASSERT_EQ(2000u, line.size());
    for (int encoding : {TF_ANSI, TF_UTF8, TF_UTF16LE, TF_UTF16BE})
    {
        SCOPED_TRACE(encoding);
        std::string path = dir.File("f" + std::to_string(encoding) + ".txt");
        TextFile tf;
        ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, encoding, 0));
        EXPECT_EQ(0, tf.FormatString(nullptr, "%s|record %d\n", body.c_str(), 42));
        EXPECT_EQ(0, tf.FormatString(nullptr, "%s\n", "next"));
        EXPECT_EQ(0, tf.Close());
        EXPECT_EQ((std::vector<std::string>{line, "next"}), ReadAll(path, 0));
    }
}

// A character the encoding cannot hold is never written as another one: ANSI
// (one byte a character) refuses it, the Unicode writers put the replacement
// character their readers use.
TEST_F(TextFileTest, CharactersAnEncodingCannotHold)
{
    const std::string replacement = "x\xEF\xBF\xBDy";
    const struct
    {
        int encoding;
        int c;
        int result;
        std::string bytes; // the file after 'x', c and 'y', without its mark
        std::string read;  // the line read back
    } cases[] = {
        {TF_ANSI, 0x20AC, TF_ERROR, "xy", "xy"},
        {TF_ANSI, 0x1F600, TF_ERROR, "xy", "xy"},
        {TF_ANSI, 0x110000, TF_ERROR, "xy", "xy"},
        {TF_ANSI, 0x100, TF_ERROR, "xy", "xy"},
        {TF_ANSI, -1, TF_ERROR, "xy", "xy"},
        {TF_ANSI, 0xFF, TF_OK, "x\xFFy", "x\xFFy"},
        {TF_UTF8, 0x110000, TF_OK, "x\xEF\xBF\xBDy", replacement},
        {TF_UTF8, 0xD800, TF_OK, "x\xEF\xBF\xBDy", replacement},
        {TF_UTF8, -1, TF_OK, "x\xEF\xBF\xBDy", replacement},
        {TF_UTF16LE, 0x110000, TF_OK, Bytes({'x', 0, 0xFD, 0xFF, 'y', 0}), replacement},
        {TF_UTF16LE, 0xDC00, TF_OK, Bytes({'x', 0, 0xFD, 0xFF, 'y', 0}), replacement},
        {TF_UTF16BE, -1, TF_OK, Bytes({0, 'x', 0xFF, 0xFD, 0, 'y'}), replacement},
    };
    const std::map<int, std::string> marks = {{TF_ANSI, ""},
                                              {TF_UTF8, "\xEF\xBB\xBF"},
                                              {TF_UTF16LE, Bytes({0xFF, 0xFE})},
                                              {TF_UTF16BE, Bytes({0xFE, 0xFF})}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("encoding " + std::to_string(c.encoding) + ", character " + std::to_string(c.c));
        std::string path = dir.File("c.txt");
        TextFile tf;
        ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, c.encoding, 0));
        DebugClearLog();
        EXPECT_EQ(TF_OK, tf.WriteChar(nullptr, 'x'));
        EXPECT_EQ(c.result, tf.WriteChar(nullptr, c.c));
        EXPECT_EQ(c.result != TF_OK, DebugGetNumMessages() > 0) << "a refusal says why";
        EXPECT_EQ(TF_OK, tf.WriteChar(nullptr, 'y'));
        EXPECT_EQ(0, tf.Close());
        EXPECT_EQ(marks.at(c.encoding) + c.bytes, ReadFile(path));
        EXPECT_EQ(std::vector<std::string>{c.read}, ReadAll(path, 0));
    }
}

TEST_F(TextFileTest, AppendWritesNoSecondByteOrderMark)
{
    for (int enc : {TF_UTF8, TF_UTF16LE, TF_UTF16BE})
    {
        SCOPED_TRACE(enc);
        std::string path = dir.File("a" + std::to_string(enc) + ".txt");
        // Appending to a missing file creates it with its mark.
        for (const char* text : {"x\n", "y\n"})
        {
            TextFile tf;
            ASSERT_EQ(0, tf.Open(path.c_str(), TF_APPEND, enc, 0));
            EXPECT_EQ(0, tf.WriteString(nullptr, text));
            EXPECT_EQ(0, tf.Close());
        }
        std::string bytes = ReadFile(path);
        std::string mark = bytes.substr(0, enc == TF_UTF8 ? 3 : 2);
        EXPECT_EQ(std::string::npos, bytes.find(mark, 1));
        EXPECT_EQ((std::vector<std::string>{"x", "y"}), ReadAll(path, 0));
    }
}

TEST_F(TextFileTest, ReadsEveryEncodingAtEveryBufferSize)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        int encoding;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"ansi crlf", "one\r\ntwo\r\n", TF_ANSI, {"one", "two"}},
        {"ansi lf, no final terminator", "one\n\nthree", TF_ANSI, {"one", "", "three"}},
        {"crlf pairs only", "\r\n\r\n", TF_ANSI, {"", ""}},
        {"utf8 mark",
         Bytes({0xEF, 0xBB, 0xBF}) + "h\xC3\xA9\r\nx\xF0\x9F\x98\x80\r\n",
         TF_UTF8,
         {"h\xC3\xA9", "x\xF0\x9F\x98\x80"}},
        {"cut mark read as ansi", Bytes({0xEF, 0xBB, 0x41}) + "\r\n", TF_ANSI, {Bytes({0xEF, 0xBB, 0x41})}},
        {"mark cut by end of file", Bytes({0xFE}), TF_ANSI, {Bytes({0xFE})}},
        {"utf16le",
         Bytes({0xFF, 0xFE, 'h', 0, 0xE9, 0, 0x0D, 0, 0x0A, 0, 0x3D, 0xD8, 0x00, 0xDE, 0x0D, 0, 0x0A, 0}),
         TF_UTF16LE,
         {"h\xC3\xA9", "\xF0\x9F\x98\x80"}},
        {"utf16be",
         Bytes({0xFE, 0xFF, 0, 'h', 0, 0xE9, 0, 0x0D, 0, 0x0A, 0, 'z'}),
         TF_UTF16BE,
         {"h\xC3\xA9", "z"}},
        {"utf16 lone surrogate", Bytes({0xFF, 0xFE, 0x3D, 0xD8, 'q', 0}), TF_UTF16LE, {"\xEF\xBF\xBDq"}},
        {"utf8 sequence cut by line end",
         Bytes({0xEF, 0xBB, 0xBF, 'a', 0xE2, 0x82, '\r', '\n'}),
         TF_UTF8,
         {"a\xEF\xBF\xBD"}},
        {"utf8 overlong and stray bytes",
         Bytes({0xEF, 0xBB, 0xBF}) + "a\xC0\xAF"
                                     "b\x80"
                                     "c\xE2"
                                     "A\n",
         TF_UTF8,
         {"a\xEF\xBF\xBD\xEF\xBF\xBD"
          "b\xEF\xBF\xBD"
          "c\xEF\xBF\xBD"
          "A"}},
    };
    for (const Case& c : cases)
    {
        std::string path = dir.File("r.txt");
        WriteFile(path, c.bytes);
        for (int size : {0, 1, 2, 3, 4, 5})
        {
            SCOPED_TRACE(std::string(c.name) + " buffer " + std::to_string(size));
            int enc = -1;
            EXPECT_EQ(c.lines, ReadAll(path, size, &enc));
            EXPECT_EQ(c.encoding, enc);
        }
    }
}

TEST_F(TextFileTest, EmptyFileEndsAtOnce)
{
    std::string path = dir.File("e.txt");
    WriteFile(path, "");
    TextFile tf;
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_READ, 0, 0));
    char* line = nullptr;
    EXPECT_EQ(-1, tf.ReadLine(nullptr, &line));
    EXPECT_EQ(-1, tf.ReadChar());
    EXPECT_EQ(0, tf.Rewind());
    EXPECT_EQ(-1, tf.ReadLine(nullptr, &line));
    free_block(line);
}

TEST_F(TextFileTest, LoneCarriageReturnsWithoutLineFeedInBuffer)
{
    std::string path = dir.File("cr.txt");
    WriteFile(path, "a\rb\rc");
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), ReadAll(path, 0));
    // A buffer that holds a line feed keeps the lone CR before it in the line.
    WriteFile(path, "a\rb\n");
    EXPECT_EQ((std::vector<std::string>{"a\rb"}), ReadAll(path, 0));
}

TEST_F(TextFileTest, WrittenLinesReadBackInEveryEncoding)
{
    const std::vector<std::string> lines = {"first", "", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "last"};
    for (int enc : {TF_ANSI, TF_UTF8, TF_UTF16LE, TF_UTF16BE})
    {
        SCOPED_TRACE(enc);
        std::string path = dir.File("rt.txt");
        TextFile tf;
        ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, enc, 0));
        for (const std::string& l : lines)
            EXPECT_EQ(0, tf.FormatString(nullptr, "%s\n", l.c_str()));
        EXPECT_EQ(0, tf.Close());
        for (int size : {0, 2, 7})
            EXPECT_EQ(lines, ReadAll(path, size));
    }
}

TEST_F(TextFileTest, RewindDropsBufferAndSkipsMark)
{
    struct Case
    {
        std::string bytes;
    };
    const Case cases[] = {
        {Bytes({0xEF, 0xBB, 0xBF}) + "one\r\ntwo\r\n"},
        {Bytes({0xFF, 0xFE, 'o', 0, 'n', 0, 'e', 0, '\r', 0, '\n', 0, 't', 0, 'w', 0, 'o', 0})},
        {"one\r\ntwo\r\n"},
    };
    for (const Case& c : cases)
    {
        std::string path = dir.File("rw.txt");
        WriteFile(path, c.bytes);
        for (int size : {0, 4})
        {
            SCOPED_TRACE(size);
            TextFile tf;
            ASSERT_EQ(0, tf.Open(path.c_str(), TF_READ, 0, size));
            char* line = nullptr;
            ASSERT_EQ(0, tf.ReadLine(nullptr, &line));
            EXPECT_STREQ("one", line);
            ASSERT_EQ(0, tf.Rewind());
            ASSERT_EQ(0, tf.ReadLine(nullptr, &line));
            EXPECT_STREQ("one", line);
            ASSERT_EQ(0, tf.ReadLine(nullptr, &line));
            EXPECT_STREQ("two", line);
            EXPECT_EQ(-1, tf.ReadLine(nullptr, &line));
            free_block(line);
        }
    }
}

TEST_F(TextFileTest, ReadCharSkipsCarriageReturns)
{
    std::string path = dir.File("c.txt");
    WriteFile(path, Bytes({0xFE, 0xFF, 0, 'a', 0, '\r', 0, '\n', 0x20, 0xAC}));
    TextFile tf;
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_READ, 0, 1));
    EXPECT_EQ('a', tf.ReadChar());
    EXPECT_EQ('\n', tf.ReadChar());
    EXPECT_EQ(0x20AC, tf.ReadChar());
    EXPECT_EQ(-1, tf.ReadChar());
}

// The file layer reports a failed open in its own words for each mode; the
// text-file layer adds its own line only when reading.
TEST_F(TextFileTest, OpenFailuresAreReportedPerMode)
{
    std::string missing = dir.File("missing.txt");
    std::string in_missing_dir = dir.File("no/such.txt");
    struct Case
    {
        int mode;
        std::string path;
        std::vector<std::string> lines;
    } cases[] = {
        {TF_READ,
         missing,
         {" <ERROR>  ( EngFile::OpenForReading )    Could not open file <" + missing + ">",
          " <ERROR>  ( TextFile )    OpenFileError (" + missing + ")"}},
        {TF_WRITE,
         in_missing_dir,
         {" <ERROR>  ( EngFile::CreateForWriting )    Could not create file <" + in_missing_dir + ">"}},
        {TF_APPEND,
         in_missing_dir,
         {" <ERROR>  ( EngFile::OpenForAppending )    Could not open or create file <" + in_missing_dir +
          ">"}},
        {TF_READ,
         "",
         {" <ERROR>  ( EngFile::OpenForReading )    No filename specified",
          " <ERROR>  ( TextFile )    OpenFileError ()"}},
        {TF_WRITE, "", {" <ERROR>  ( EngFile::CreateForWriting )    No filename specified"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.path);
        TextFile tf;
        int before = DebugGetNumMessages();
        EXPECT_EQ(-2, tf.Open(c.path.c_str(), c.mode, TF_UTF8 * (c.mode != TF_READ), 0));
        std::vector<std::string> lines;
        for (int i = before; i < DebugGetNumMessages(); i++)
            lines.push_back(DebugGetMessage(i)->text);
        EXPECT_EQ(c.lines, lines);
        EXPECT_EQ(TF_CLOSED, tf.GetFileMode());
        EXPECT_EQ(0, tf.Close());
    }
}

TEST_F(TextFileTest, WriteFailuresAreReportedNotSwallowed)
{
    if (!vztest::FileExists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TextFile tf;
    ASSERT_EQ(0, tf.Open("/dev/full", TF_WRITE, TF_UTF8, 0));
    EXPECT_EQ(0, tf.WriteString(nullptr, "buffered\n"));
    EXPECT_EQ(-2, tf.Flush());
    EXPECT_TRUE(Logged("FileWriteError (/dev/full)"));
    ASSERT_EQ(0, tf.Open("/dev/full", TF_WRITE, TF_UTF16LE, 0));
    EXPECT_EQ(0, tf.WriteString(nullptr, "more\n"));
    EXPECT_EQ(-2, tf.Close());
}

TEST_F(TextFileTest, ReopeningAfterCloseWorks)
{
    std::string path = dir.File("re.txt");
    TextFile tf;
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_WRITE, TF_UTF16LE, 0));
    EXPECT_EQ(0, tf.WriteString(nullptr, "x\n"));
    ASSERT_EQ(0, tf.Close());
    ASSERT_EQ(0, tf.Open(path.c_str(), TF_READ, 0, 0));
    EXPECT_EQ(TF_UTF16LE, tf.GetEncoding());
    char* line = nullptr;
    ASSERT_EQ(0, tf.ReadLine(nullptr, &line));
    EXPECT_STREQ("x", line);
    free_block(line);
}

TEST(TextBlocks, GrowInStepsOf1024AndKeepContents)
{
    char* b = static_cast<char*>(alloc_block(nullptr, 1));
    EXPECT_EQ(1024, get_buflen(b));
    EXPECT_EQ(1, get_blocklen(b));
    b[0] = 'q';
    b = static_cast<char*>(alloc_block(b, 1024));
    EXPECT_EQ(1024, get_buflen(b));
    b = static_cast<char*>(alloc_block(b, 1025));
    EXPECT_EQ(2048, get_buflen(b));
    EXPECT_EQ(1025, get_blocklen(b));
    EXPECT_EQ('q', b[0]);
    char* c = static_cast<char*>(copy_block(b));
    EXPECT_EQ(2048, get_buflen(c));
    EXPECT_EQ('q', c[0]);
    EXPECT_EQ(0, memcmp(c - EZ_BLOCK_HEADER_SIZE, "BDSG", 4));
    free_block(b);
    free_block(c);
    free_block(nullptr);
    EXPECT_EQ(0, get_buflen(nullptr));
}

TEST(TextHelpers, UtoUTF8Lengths)
{
    struct Case
    {
        int cp;
        std::string bytes;
    };
    const Case cases[] = {{0x41, "A"},
                          {0x7F, "\x7F"},
                          {0x80, "\xC2\x80"},
                          {0x7FF, "\xDF\xBF"},
                          {0x800, "\xE0\xA0\x80"},
                          {0xFFFF, "\xEF\xBF\xBF"},
                          {0x10000, "\xF0\x90\x80\x80"},
                          {0x10FFFF, "\xF4\x8F\xBF\xBF"},
                          // What UTF-8 cannot hold becomes U+FFFD.
                          {0x110000, "\xEF\xBF\xBD"},
                          {0x7FFFFFFF, "\xEF\xBF\xBD"},
                          {0xD800, "\xEF\xBF\xBD"},
                          {0xDFFF, "\xEF\xBF\xBD"},
                          {-1, "\xEF\xBF\xBD"}};
    for (const Case& c : cases)
    {
        unsigned char out[4];
        int n = UtoUTF8(c.cp, out);
        EXPECT_EQ(c.bytes, std::string(reinterpret_cast<char*>(out), size_t(n))) << c.cp;
    }
}

} // namespace
