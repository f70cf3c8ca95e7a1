// Line-oriented text files in ANSI, UTF-16 LE/BE and UTF-8, read one line at
// a time as narrow (UTF-8) text and written with byte-order marks and CRLF.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <wchar.h>

#include "EngFile.h"
#include "EzTextFileUtils.h"

// Open modes.
#define TF_CLOSED 0
#define TF_READ 1
#define TF_WRITE 2
#define TF_APPEND 3

// Encodings (the low byte of the options).
#define TF_DETECT 0
#define TF_ANSI 1
#define TF_UTF16LE 2
#define TF_UTF16BE 3
#define TF_UTF8 4

// Option bit: write line feeds as they are.
#define TF_NO_CRLF 0x100

#define TF_DEFAULT_BUFFER_SIZE 4096
// Longest line a reader hands out (its raw bytes); longer ones are errors.
#define TF_MAX_LINE_BYTES (1 << 28)

// Results.
#define TF_OK 0
#define TF_EOF (-1)
#define TF_ERROR (-2)

class TextFile;

int read_1_byte(const char* path, FILE* file);

class TextFileReader
{
public:
    TextFileReader(const char* path, FILE* file, int buffer_size, int unit_size = 1);
    virtual ~TextFileReader();
    virtual int ReadChar();
    virtual int ReadLine(char** line, int conversion, const char* unknown, char* flag);
    int FillBuffer();
    // Drops the buffered bytes; the caller has moved the file.
    void Reset();

protected:
    // Next 8- or 16-bit unit with carriage returns skipped, -1 or -2 at the end.
    int ReadUnit();
    // Splits off the next line into *units (a block of unit_size elements of
    // the raw buffer) and returns its unit count, or -1 / -2.
    int SplitLine(char** raw);
    // SplitLine after clearing *flag (when given).
    int StartLine(char** raw, char* flag);
    // The 16-bit unit at byte offset pos of data (a byte when unit_size is 1).
    unsigned UnitAt(const unsigned char* data, int pos) const;

    const char* path;
    FILE* file;
    int buffer_size;
    unsigned char* buffer;
    int read_pos;
    int num_bytes;
    char eof;
    int unit_size;
    char big_endian;
    char cr_pending;
};

class ANSI_TextFileReader : public TextFileReader
{
public:
    ANSI_TextFileReader(TextFile* owner, const char* path, FILE* file, int buffer_size);
    int ReadChar() override;
    int ReadLine(char** line, int conversion, const char* unknown, char* flag) override;

private:
    TextFile* text_file;
};

class UTF8_TextFileReader : public TextFileReader
{
public:
    UTF8_TextFileReader(const char* path, FILE* file, int buffer_size);
    ~UTF8_TextFileReader() override;
    int ReadChar() override;
    int ReadLine(char** line, int conversion, const char* unknown, char* flag) override;

private:
    char* raw_line;
    wchar_t* units;
};

class UTF16LE_TextFileReader : public TextFileReader
{
public:
    UTF16LE_TextFileReader(const char* path, FILE* file, int buffer_size);
    ~UTF16LE_TextFileReader() override;
    int ReadChar() override;
    int ReadLine(char** line, int conversion, const char* unknown, char* flag) override;

protected:
    UTF16LE_TextFileReader(const char* path, FILE* file, int buffer_size, char big_endian);
    wchar_t* units;
    char* raw_units;
};

class UTF16BE_TextFileReader : public UTF16LE_TextFileReader
{
public:
    UTF16BE_TextFileReader(const char* path, FILE* file, int buffer_size)
        : UTF16LE_TextFileReader(path, file, buffer_size, 1)
    {
    }
};

class TextFileWriter
{
public:
    TextFileWriter(const char* path, FILE* file, int buffer_size);
    virtual ~TextFileWriter();
    virtual int WriteChar(int c, int conversion, const char* unknown, char* flag);
    virtual int WriteString(const char* text, int length, int conversion, const char* unknown, char* flag);
    virtual int WriteBOM();
    int Flush();
    int WriteBytes(const unsigned char* bytes, int count);

protected:
    const char* path;
    FILE* file;
    int buffer_size;
    unsigned char* buffer;
    int used;
};

class ANSI_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(int c, int conversion, const char* unknown, char* flag) override;
    int WriteString(const char* text, int length, int conversion, const char* unknown, char* flag) override;
};

class UTF8_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(int c, int conversion, const char* unknown, char* flag) override;
    int WriteString(const char* text, int length, int conversion, const char* unknown, char* flag) override;
    int WriteBOM() override;
};

class UTF16LE_TextFileWriter : public TextFileWriter
{
public:
    UTF16LE_TextFileWriter(const char* path, FILE* file, int buffer_size, char big_endian = 0);
    int WriteChar(int c, int conversion, const char* unknown, char* flag) override;
    int WriteString(const char* text, int length, int conversion, const char* unknown, char* flag) override;
    int WriteBOM() override;

private:
    int WriteUnit(unsigned unit);
    char big_endian;
};

class UTF16BE_TextFileWriter : public UTF16LE_TextFileWriter
{
public:
    UTF16BE_TextFileWriter(const char* path, FILE* file, int buffer_size)
        : UTF16LE_TextFileWriter(path, file, buffer_size, 1)
    {
    }
};

class TextFile
{
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    int Open(const char* path, int filemode, int options = 0, int buffer_size = 0);
    int ReadLine(char* flag, char** line);
    int ReadChar();
    int WriteString(char* flag, const char* text);
    // c is a code point. ANSI holds 0..255, one byte each, and refuses any
    // other value (TF_ERROR, nothing written); the Unicode writers put U+FFFD
    // for a value that is no character, as their readers do.
    int WriteChar(char* flag, int c);
    // The whole formatted text, however long, written as WriteString writes.
    int FormatString(char* flag, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
    int vFormatString(char* flag, const char* fmt, va_list ap);
    int Flush();
    int Rewind();
    int Close();
    void SetUnknownChar(const char* text);
    void SetAnsiPassThru(bool on);

    int GetFileMode() const { return filemode; }
    int GetEncoding() const { return encoding; }

private:
    int CreateFileReader();
    int CreateFileWriter();
    int WritePendingBOM();

    char* path;
    int filemode;
    int encoding;
    int options;
    char ansi_pass_thru;
    int buffer_size;
    EngFile opened; // opens and closes the file
    FILE* file;     // its stream, which the reader or writer uses
    TextFileReader* reader;
    TextFileWriter* writer;
    char bom_pending;
    int conversion;
    char* unknown_char;
    int bom_length;
};
