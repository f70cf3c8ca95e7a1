// Text files: encoding detection, buffered line reading, encoded writing.
#include "EzTextFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngUnicode.h"

namespace
{

const char tf_caller[] = "TextFile";

int EffectiveBufferSize(int size, int unit_size)
{
    if (size <= 0)
        size = TF_DEFAULT_BUFFER_SIZE;
    // UTF-16 buffers hold whole units.
    if (unit_size == 2 && (size & 1))
        size = size == INT_MAX ? size - 1 : size + 1;
    return size;
}

// Appends n bytes to a block holding len bytes and keeps it terminated;
// false when the line would pass TF_MAX_LINE_BYTES.
bool AppendBytes(char** block, int& len, const unsigned char* bytes, int n)
{
    if (n > TF_MAX_LINE_BYTES - len)
        return false;
    *block = static_cast<char*>(alloc_block(*block, len + n + 1));
    if (n > 0)
        memcpy(*block + len, bytes, size_t(n));
    len += n;
    (*block)[len] = 0;
    return true;
}

// Room for count wide units plus a terminator.
wchar_t* AllocUnits(wchar_t* block, int count)
{
    return static_cast<wchar_t*>(alloc_block(block, int((size_t(count) + 1) * sizeof(wchar_t))));
}

} // namespace

int read_1_byte(const char* path, FILE* file)
{
    int c = fgetc(file);
    if (c != EOF)
        return c;
    if (ferror(file))
    {
        DebugError(tf_caller, "FileReadError (1byte: %s)", path ? path : "");
        return TF_ERROR;
    }
    return TF_EOF;
}

// ---------------------------------------------------------------------------
// Readers

TextFileReader::TextFileReader(const char* p, FILE* f, int size, int unit)
    : path(p), file(f), buffer_size(0), buffer(nullptr), read_pos(0), num_bytes(0), eof(0), unit_size(unit),
      big_endian(0), cr_pending(0)
{
    if (size < 0 && unit == 0)
        return; // the reader of an empty file has no buffer
    if (unit_size < 1)
        unit_size = 1;
    buffer_size = EffectiveBufferSize(size, unit_size);
    buffer = static_cast<unsigned char*>(malloc(size_t(buffer_size)));
    DebugAssertAlt(buffer != nullptr, __PRETTY_FUNCTION__, "No memory");
}

TextFileReader::~TextFileReader()
{
    free(buffer);
}

int TextFileReader::ReadChar()
{
    return TF_EOF;
}

int TextFileReader::ReadLine(char**, int, const char*, char*)
{
    return TF_EOF;
}

void TextFileReader::Reset()
{
    read_pos = 0;
    num_bytes = 0;
    eof = 0;
    cr_pending = 0;
}

int TextFileReader::FillBuffer()
{
    if (read_pos < num_bytes)
        return TF_OK;
    if (eof)
        return TF_EOF;
    if (!buffer || !file)
        return TF_EOF;
    size_t got = 0;
    while (got < size_t(buffer_size))
    {
        size_t n = fread(buffer + got, 1, size_t(buffer_size) - got, file);
        if (n == 0)
            break;
        got += n;
    }
    if (ferror(file))
    {
        clearerr(file);
        read_pos = num_bytes = 0;
        DebugError(tf_caller, "FileReadError (%s)", path ? path : "");
        return TF_ERROR;
    }
    // A trailing half unit of a UTF-16 file is dropped.
    got -= got % size_t(unit_size);
    read_pos = 0;
    num_bytes = int(got);
    if (got == 0)
    {
        eof = 1;
        return TF_EOF;
    }
    return TF_OK;
}

unsigned TextFileReader::UnitAt(const unsigned char* data, int pos) const
{
    if (unit_size == 1)
        return data[pos];
    if (big_endian)
        return unsigned(data[pos] << 8) | data[pos + 1];
    return unsigned(data[pos + 1] << 8) | data[pos];
}

int TextFileReader::ReadUnit()
{
    for (;;)
    {
        if (read_pos >= num_bytes)
        {
            int r = FillBuffer();
            if (r != TF_OK)
                return r;
        }
        unsigned u = UnitAt(buffer, read_pos);
        read_pos += unit_size;
        cr_pending = 0;
        if (u != '\r')
            return int(u);
    }
}

int TextFileReader::SplitLine(char** raw)
{
    int len = 0;
    AppendBytes(raw, len, nullptr, 0);
    char looked = 0;
    for (;;)
    {
        if (read_pos >= num_bytes)
        {
            int r = FillBuffer();
            if (r == TF_ERROR)
                return r;
            if (r != TF_OK)
                return looked ? len : r;
        }
        // The LF of a CRLF whose CR ended the previous buffer.
        if (cr_pending)
        {
            cr_pending = 0;
            if (UnitAt(buffer, read_pos) == '\n')
            {
                read_pos += unit_size;
                continue;
            }
        }
        looked = 1;
        int terminator = -1;
        char is_lf = 0;
        for (int p = read_pos; p < num_bytes; p += unit_size)
            if (UnitAt(buffer, p) == '\n')
            {
                terminator = p;
                is_lf = 1;
                break;
            }
        if (terminator < 0)
            for (int p = read_pos; p < num_bytes; p += unit_size)
                if (UnitAt(buffer, p) == '\r')
                {
                    terminator = p;
                    break;
                }
        int end = terminator < 0 ? num_bytes : terminator;
        if (terminator >= 0 && end > read_pos && UnitAt(buffer, end - unit_size) == '\r')
            end -= unit_size;
        if (!AppendBytes(raw, len, buffer + read_pos, end - read_pos))
        {
            DebugError(tf_caller, "Line too long (%s)", path ? path : "");
            return TF_ERROR;
        }
        if (terminator >= 0)
        {
            read_pos = terminator + unit_size;
            if (!is_lf && read_pos >= num_bytes)
                cr_pending = 1;
            return len;
        }
        read_pos = num_bytes;
    }
}

int TextFileReader::StartLine(char** raw, char* flag)
{
    if (flag)
        *flag = 0;
    return SplitLine(raw);
}

namespace
{
// Ends the count units of a line and converts them into *line.
int FinishLine(wchar_t* units, int count, char** line, int conversion, const char* unknown, char* flag)
{
    units[count] = 0;
    return linebuf_UtoA(units, count, line, conversion, unknown, flag) < 0 ? TF_ERROR : TF_OK;
}
} // namespace

ANSI_TextFileReader::ANSI_TextFileReader(TextFile* owner, const char* p, FILE* f, int size)
    : TextFileReader(p, f, size, 1), text_file(owner)
{
}

int ANSI_TextFileReader::ReadChar()
{
    return ReadUnit();
}

int ANSI_TextFileReader::ReadLine(char** line, int, const char*, char* flag)
{
    int n = StartLine(line, flag);
    return n < 0 ? n : TF_OK;
}

UTF8_TextFileReader::UTF8_TextFileReader(const char* p, FILE* f, int size)
    : TextFileReader(p, f, size, 1), raw_line(nullptr), units(nullptr)
{
}

UTF8_TextFileReader::~UTF8_TextFileReader()
{
    free_block(raw_line);
    free_block(units);
}

int UTF8_TextFileReader::ReadChar()
{
    return ReadUnit();
}

int UTF8_TextFileReader::ReadLine(char** line, int conversion, const char* unknown, char* flag)
{
    int n = StartLine(&raw_line, flag);
    if (n < 0)
        return n;
    // Every byte gives at most one unit, a 4-byte sequence two.
    units = AllocUnits(units, n);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(raw_line);
    int count = 0;
    int i = 0;
    while (i < n)
    {
        // One U+FFFD for each maximal ill-formed subpart.
        EngUInt32 cp;
        i += EngUtf8Decode(s + i, size_t(n - i), &cp);
        if (cp == ENG_UTF8_INVALID)
            units[count++] = 0xFFFD;
        else if (cp > 0xFFFF)
        {
            units[count++] = wchar_t((cp >> 10) + 0xD7C0);
            units[count++] = wchar_t((cp & 0x3FF) | 0xDC00);
        }
        else
            units[count++] = wchar_t(cp);
    }
    return FinishLine(units, count, line, conversion, unknown, flag);
}

UTF16LE_TextFileReader::UTF16LE_TextFileReader(const char* p, FILE* f, int size)
    : UTF16LE_TextFileReader(p, f, size, 0)
{
}

UTF16LE_TextFileReader::UTF16LE_TextFileReader(const char* p, FILE* f, int size, char be)
    : TextFileReader(p, f, size, 2), units(nullptr), raw_units(nullptr)
{
    big_endian = be;
}

UTF16LE_TextFileReader::~UTF16LE_TextFileReader()
{
    free_block(units);
    free_block(raw_units);
}

int UTF16LE_TextFileReader::ReadChar()
{
    return ReadUnit();
}

int UTF16LE_TextFileReader::ReadLine(char** line, int conversion, const char* unknown, char* flag)
{
    int n = StartLine(&raw_units, flag);
    if (n < 0)
        return n;
    int count = n / 2;
    units = AllocUnits(units, count);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(raw_units);
    for (int i = 0; i < count; i++)
        units[i] = wchar_t(UnitAt(s, i * 2));
    return FinishLine(units, count, line, conversion, unknown, flag);
}

// ---------------------------------------------------------------------------
// Writers

TextFileWriter::TextFileWriter(const char* p, FILE* f, int size)
    : path(p), file(f), buffer_size(EffectiveBufferSize(size, 1)), buffer(nullptr), used(0)
{
    buffer = static_cast<unsigned char*>(malloc(size_t(buffer_size)));
    DebugAssertAlt(buffer != nullptr, __PRETTY_FUNCTION__, "No memory");
}

TextFileWriter::~TextFileWriter()
{
    free(buffer);
}

int TextFileWriter::WriteChar(int, int, const char*, char*)
{
    DebugAssertAlt(0, __PRETTY_FUNCTION__, "Base writer called");
    return TF_ERROR;
}

int TextFileWriter::WriteString(const char*, int, int, const char*, char*)
{
    DebugAssertAlt(0, __PRETTY_FUNCTION__, "Base writer called");
    return TF_ERROR;
}

int TextFileWriter::WriteBOM()
{
    return TF_OK;
}

int TextFileWriter::Flush()
{
    DebugAssertAlt(file != nullptr, __PRETTY_FUNCTION__, "No file");
    if (!file)
        return TF_ERROR;
    if (used == 0)
        return TF_OK;
    size_t n = fwrite(buffer, 1, size_t(used), file);
    if (n != size_t(used))
    {
        // Keep what was not written.
        memmove(buffer, buffer + n, size_t(used) - n);
        used -= int(n);
        clearerr(file);
        DebugError(tf_caller, "FileWriteError (%s)", path ? path : "");
        return TF_ERROR;
    }
    used = 0;
    return TF_OK;
}

int TextFileWriter::WriteBytes(const unsigned char* bytes, int count)
{
    while (count > 0)
    {
        if (used >= buffer_size)
        {
            int r = Flush();
            if (r != TF_OK)
                return r;
        }
        int n = buffer_size - used;
        if (n > count)
            n = count;
        memcpy(buffer + used, bytes, size_t(n));
        used += n;
        bytes += n;
        count -= n;
    }
    if (used >= buffer_size)
        return Flush();
    return TF_OK;
}

int ANSI_TextFileWriter::WriteChar(int c, int, const char*, char* flag)
{
    if (flag)
        *flag = 0;
    // One byte a character: anything wider is refused, never cut to its low byte.
    if (c < 0 || c > 0xFF)
    {
        DebugError(tf_caller, "Character %d cannot be written as ANSI (%s)", c, path ? path : "");
        return TF_ERROR;
    }
    unsigned char b = static_cast<unsigned char>(c);
    return WriteBytes(&b, 1);
}

int ANSI_TextFileWriter::WriteString(const char* text, int length, int, const char*, char* flag)
{
    if (flag)
        *flag = 0;
    if (!text)
        return TF_OK;
    if (length < 0)
        length = int(strlen(text));
    return WriteBytes(reinterpret_cast<const unsigned char*>(text), length);
}

int UTF8_TextFileWriter::WriteChar(int c, int, const char*, char* flag)
{
    if (flag)
        *flag = 0;
    unsigned char out[4];
    return WriteBytes(out, UtoUTF8(c, out));
}

int UTF8_TextFileWriter::WriteString(const char* text, int length, int, const char*, char* flag)
{
    if (flag)
        *flag = 0;
    if (!text)
        return TF_OK;
    if (length < 0)
        length = int(strlen(text));
    // Valid UTF-8 passes unchanged; a stray byte is taken as its own code point.
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < length;)
    {
        int used_bytes;
        int cp = EzDecodeUtf8(s + i, length - i, &used_bytes);
        int r;
        if (used_bytes > 1 || cp < 0x80)
            r = WriteBytes(s + i, used_bytes);
        else
        {
            unsigned char out[4];
            r = WriteBytes(out, UtoUTF8(cp, out));
        }
        if (r != TF_OK)
            return r;
        i += used_bytes;
    }
    return TF_OK;
}

int UTF8_TextFileWriter::WriteBOM()
{
    static const unsigned char bom[3] = {0xEF, 0xBB, 0xBF};
    return WriteBytes(bom, 3);
}

UTF16LE_TextFileWriter::UTF16LE_TextFileWriter(const char* p, FILE* f, int size, char be)
    : TextFileWriter(p, f, size), big_endian(be)
{
}

int UTF16LE_TextFileWriter::WriteUnit(unsigned unit)
{
    unsigned char b[2];
    if (big_endian)
    {
        b[0] = static_cast<unsigned char>(unit >> 8);
        b[1] = static_cast<unsigned char>(unit);
    }
    else
    {
        b[0] = static_cast<unsigned char>(unit);
        b[1] = static_cast<unsigned char>(unit >> 8);
    }
    return WriteBytes(b, 2);
}

int UTF16LE_TextFileWriter::WriteChar(int c, int, const char*, char* flag)
{
    if (flag)
        *flag = 0;
    if (c < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c > 0xFFFF)
    {
        int r = WriteUnit(unsigned((c - 0x10000) >> 10) + 0xD800);
        if (r != TF_OK)
            return r;
        return WriteUnit(unsigned((c - 0x10000) & 0x3FF) + 0xDC00);
    }
    return WriteUnit(unsigned(c));
}

int UTF16LE_TextFileWriter::WriteString(const char* text, int length, int conversion, const char* unknown,
                                        char* flag)
{
    if (flag)
        *flag = 0;
    if (!text)
        return TF_OK;
    if (length < 0)
        length = int(strlen(text));
    // Narrow UTF-8 decoded as linebuf_AtoU does, one code point at a time.
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < length;)
    {
        int used_bytes;
        int r = WriteChar(EzDecodeUtf8(s + i, length - i, &used_bytes), conversion, unknown, flag);
        if (r != TF_OK)
            return r;
        i += used_bytes;
    }
    return TF_OK;
}

int UTF16LE_TextFileWriter::WriteBOM()
{
    return WriteUnit(0xFEFF);
}

// ---------------------------------------------------------------------------
// TextFile

TextFile::TextFile()
    : path(nullptr), filemode(TF_CLOSED), encoding(0), options(0), ansi_pass_thru(0), buffer_size(0),
      file(nullptr), reader(nullptr), writer(nullptr), bom_pending(0), conversion(0), unknown_char(nullptr),
      bom_length(0)
{
}

TextFile::~TextFile()
{
    Close();
    free(unknown_char);
}

int TextFile::Open(const char* p, int mode, int opts, int size)
{
    if (filemode != TF_CLOSED)
        Close();
    const char* shown = p ? p : "";
    int requested = opts & 0xFF;
    if (mode == TF_READ)
    {
        DebugAssertAlt(requested == TF_DETECT || requested == TF_ANSI, __PRETTY_FUNCTION__,
                       "Reading needs encoding 0 or 1");
        if (requested != TF_DETECT && requested != TF_ANSI)
            return TF_ERROR;
    }
    else if (mode == TF_WRITE || mode == TF_APPEND)
    {
        if (requested == TF_DETECT)
            requested = TF_ANSI;
        if (requested > TF_UTF8)
        {
            DebugError(tf_caller, "Unknown encoding %d (%s)", requested, shown);
            return TF_ERROR;
        }
    }
    else
    {
        DebugError(tf_caller, "Bad file mode %d (%s)", mode, shown);
        return TF_ERROR;
    }
    // The file layer reports a failure in its own words.
    char ok = mode == TF_READ    ? opened.OpenForReading(p, 1)
              : mode == TF_WRITE ? opened.CreateForWriting(p, 1)
                                 : opened.OpenForAppending(p, 1);
    if (!ok)
    {
        if (mode == TF_READ)
            DebugError(tf_caller, "OpenFileError (%s)", shown);
        return TF_ERROR;
    }
    file = opened.GetStream();
    path = copy_string(p);
    filemode = mode;
    encoding = requested;
    options = opts;
    buffer_size = size;
    ansi_pass_thru = 0;
    bom_length = 0;
    if (mode == TF_READ)
    {
        int r = CreateFileReader();
        if (r != TF_OK)
            Close();
        return r;
    }
    bom_pending = 1;
    if (mode == TF_APPEND)
    {
        if (fseek(file, 0, SEEK_END) == 0 && ftell(file) > 0)
            bom_pending = 0;
    }
    return CreateFileWriter();
}

int TextFile::CreateFileReader()
{
    if (encoding == TF_ANSI)
    {
        reader = new ANSI_TextFileReader(this, path, file, buffer_size);
        return TF_OK;
    }
    int b0 = read_1_byte(path, file);
    if (b0 == TF_ERROR)
        return TF_ERROR;
    if (b0 == TF_EOF)
    {
        encoding = TF_ANSI;
        reader = new TextFileReader(path, file, -1, 0);
        return TF_OK;
    }
    if (b0 == 0xEF || b0 == 0xFE || b0 == 0xFF)
    {
        int b1 = read_1_byte(path, file);
        if (b1 == TF_ERROR)
            return TF_ERROR;
        if (b0 == 0xEF && b1 == 0xBB)
        {
            int b2 = read_1_byte(path, file);
            if (b2 == TF_ERROR)
                return TF_ERROR;
            if (b2 == 0xBF)
            {
                encoding = TF_UTF8;
                bom_length = 3;
                reader = new UTF8_TextFileReader(path, file, buffer_size);
                return TF_OK;
            }
        }
        else if (b0 == 0xFE && b1 == 0xFF)
        {
            encoding = TF_UTF16BE;
            bom_length = 2;
            reader = new UTF16BE_TextFileReader(path, file, buffer_size);
            return TF_OK;
        }
        else if (b0 == 0xFF && b1 == 0xFE)
        {
            encoding = TF_UTF16LE;
            bom_length = 2;
            reader = new UTF16LE_TextFileReader(path, file, buffer_size);
            return TF_OK;
        }
    }
    if (fseek(file, 0, SEEK_SET) != 0)
    {
        DebugError(tf_caller, "Error rewinding file");
        return TF_ERROR;
    }
    encoding = TF_ANSI;
    reader = new ANSI_TextFileReader(this, path, file, buffer_size);
    return TF_OK;
}

int TextFile::CreateFileWriter()
{
    switch (encoding)
    {
    case TF_UTF8:
        writer = new UTF8_TextFileWriter(path, file, buffer_size);
        break;
    case TF_UTF16LE:
        writer = new UTF16LE_TextFileWriter(path, file, buffer_size);
        break;
    case TF_UTF16BE:
        writer = new UTF16BE_TextFileWriter(path, file, buffer_size);
        break;
    default:
        writer = new ANSI_TextFileWriter(path, file, buffer_size);
        break;
    }
    return TF_OK;
}

int TextFile::ReadLine(char* flag, char** line)
{
    DebugAssertAlt(filemode == TF_READ && reader && line, __PRETTY_FUNCTION__, "Not open for reading");
    if (filemode != TF_READ || !reader || !line)
        return TF_ERROR;
    if (flag)
        *flag = 0;
    return reader->ReadLine(line, conversion, unknown_char, flag);
}

int TextFile::ReadChar()
{
    DebugAssertAlt(filemode == TF_READ && reader, __PRETTY_FUNCTION__, "Not open for reading");
    if (filemode != TF_READ || !reader)
        return TF_ERROR;
    return reader->ReadChar();
}

int TextFile::WritePendingBOM()
{
    if (!bom_pending)
        return TF_OK;
    int r = writer->WriteBOM();
    if (r >= 0)
        bom_pending = 0;
    return r;
}

int TextFile::WriteString(char* flag, const char* text)
{
    DebugAssertAlt((filemode == TF_WRITE || filemode == TF_APPEND) && writer, __PRETTY_FUNCTION__,
                   "Not open for writing");
    if ((filemode != TF_WRITE && filemode != TF_APPEND) || !writer)
        return TF_ERROR;
    if (flag)
        *flag = 0;
    int r = WritePendingBOM();
    if (r < 0)
        return r;
    if (!text || !*text)
        return TF_OK;
    if (options & TF_NO_CRLF)
        return writer->WriteString(text, int(strlen(text)), conversion, unknown_char, flag);
    const char* start = text;
    for (const char* lf = strchr(start, '\n'); lf; lf = strchr(start, '\n'))
    {
        if (lf > start)
        {
            r = writer->WriteString(start, int(lf - start), conversion, unknown_char, flag);
            if (r < 0)
                return r;
        }
        r = writer->WriteString("\r\n", 2, conversion, unknown_char, flag);
        if (r < 0)
            return r;
        start = lf + 1;
    }
    if (*start)
        return writer->WriteString(start, int(strlen(start)), conversion, unknown_char, flag);
    return TF_OK;
}

int TextFile::WriteChar(char* flag, int c)
{
    DebugAssertAlt((filemode == TF_WRITE || filemode == TF_APPEND) && writer, __PRETTY_FUNCTION__,
                   "Not open for writing");
    if ((filemode != TF_WRITE && filemode != TF_APPEND) || !writer)
        return TF_ERROR;
    if (flag)
        *flag = 0;
    int r = WritePendingBOM();
    if (r < 0)
        return r;
    if (c == '\n')
        return WriteString(flag, "\n");
    return writer->WriteChar(c, conversion, unknown_char, flag);
}

int TextFile::vFormatString(char* flag, const char* fmt, va_list ap)
{
    // Formatted into a buffer of the size the text needs: nothing is cut.
    va_list count;
    va_copy(count, ap);
    int n = fmt ? vsnprintf(nullptr, 0, fmt, count) : 0;
    va_end(count);
    char* text = n >= 0 ? static_cast<char*>(malloc(size_t(n) + 1)) : nullptr;
    if (!text)
    {
        DebugError(tf_caller, n < 0 ? "Could not format text (%s)" : "No memory for formatted text (%s)",
                   path ? path : "");
        return TF_ERROR;
    }
    text[0] = 0;
    if (fmt)
        vsnprintf(text, size_t(n) + 1, fmt, ap);
    int r = WriteString(flag, text);
    free(text);
    return r;
}

int TextFile::FormatString(char* flag, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    int r = vFormatString(flag, fmt, ap);
    va_end(ap);
    return r;
}

int TextFile::Flush()
{
    if ((filemode != TF_WRITE && filemode != TF_APPEND) || !writer)
        return TF_OK;
    int r = writer->Flush();
    if (r == TF_OK && fflush(file) != 0)
    {
        DebugError(tf_caller, "FileWriteError (%s)", path);
        return TF_ERROR;
    }
    return r;
}

int TextFile::Rewind()
{
    if (filemode == TF_CLOSED || !file)
        return TF_OK;
    if (writer && writer->Flush() != TF_OK)
        return TF_ERROR;
    // A reader starts again after the byte-order mark, with its buffer dropped.
    long start = filemode == TF_READ ? bom_length : 0;
    if (fseek(file, start, SEEK_SET) != 0)
    {
        DebugError(tf_caller, "Error rewinding file");
        return TF_ERROR;
    }
    if (reader)
        reader->Reset();
    return TF_OK;
}

int TextFile::Close()
{
    if (filemode == TF_CLOSED)
        return TF_OK;
    int r = TF_OK;
    if (writer)
        r = writer->Flush();
    if (opened.IsOpen() && !opened.Close() && writer && r == TF_OK)
    {
        DebugError(tf_caller, "FileWriteError (%s)", path);
        r = TF_ERROR;
    }
    file = nullptr;
    filemode = TF_CLOSED;
    delete reader;
    reader = nullptr;
    delete writer;
    writer = nullptr;
    free(path);
    path = nullptr;
    bom_pending = 0;
    bom_length = 0;
    return r;
}

void TextFile::SetUnknownChar(const char* text)
{
    free(unknown_char);
    unknown_char = AtoA(text);
}

void TextFile::SetAnsiPassThru(bool on)
{
    DebugAssertAlt(filemode == TF_READ, __PRETTY_FUNCTION__, "Not open for reading");
    if (filemode != TF_READ)
        return;
    if (on && encoding != TF_ANSI)
    {
        DebugError(tf_caller, "Pass-through needs an ANSI file (%s)", path);
        return;
    }
    ansi_pass_thru = on ? 1 : 0;
}
