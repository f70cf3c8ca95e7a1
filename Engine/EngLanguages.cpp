// Language files: listing, header and token parsing, look-ups, templates.
#include "EngLanguages.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <strings.h>
#include <vector>

#include "DirList.h"
#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngUnicode.h"
#include "EzTextFile/EzTextFile.h"

namespace
{

char el_path[EL_PATH_SIZE] = "";
char el_buffer[EL_BUFFER_SIZE];
int el_num_langs = 0;
_EngLangName* el_lang_names = nullptr;
_EngLangInfo* el_lang_infos = nullptr;
int el_cur_lang = -1;
char el_cur_lang_is_english = 1;
char el_eng_only = 0;

char el_empty[1] = "";

const char kOwner[] = "EngLanguages";

// Both arrays exist and lang is one of them.
bool ValidLang(int lang)
{
    return el_num_langs > 0 && el_lang_names && el_lang_infos && lang >= 0 && lang < el_num_langs;
}

void FreeAll()
{
    if (el_lang_infos)
        for (int i = 0; i < el_num_langs; i++)
            EngLanguagesFreeLanguageTexts(&el_lang_infos[i]);
    EngFree(el_lang_infos, 0, kOwner);
    EngFree(el_lang_names, 0, kOwner);
    el_lang_infos = nullptr;
    el_lang_names = nullptr;
    el_num_langs = 0;
}

void FreeAllTexts()
{
    if (el_lang_infos)
        for (int i = 0; i < el_num_langs; i++)
            EngLanguagesFreeLanguageTexts(&el_lang_infos[i]);
}

// A used line: 1..4095 characters, no ';' or '[' first, and an '=' with 1 to
// 63 characters before it. Returns the position of the '=', or -1.
int UsedLineEquals(const char* line)
{
    size_t len = strlen(line);
    if (len < 1 || len > EL_MAX_LINE_LEN || line[0] == ';' || line[0] == '[')
        return -1;
    const char* eq = strchr(line, '=');
    if (!eq)
        return -1;
    long pos = eq - line;
    if (pos < 1 || pos > EL_MAX_TOKEN_LEN)
        return -1;
    return int(pos);
}

void TrimRight(char* s, const char* chars)
{
    size_t n = strlen(s);
    while (n > 0 && strchr(chars, s[n - 1]))
        s[--n] = 0;
}

// Number of '#' separators: a '#' with no '#' on either side.
bool IsSeparator(const char* text, size_t len, size_t i)
{
    if (text[i] != '#')
        return false;
    if (i > 0 && text[i - 1] == '#')
        return false;
    if (i + 1 < len && text[i + 1] == '#')
        return false;
    return true;
}

// One sub-text: "\n" becomes a line feed, then the first "##" one '#'.
char* MakeSubText(const char* start, size_t len, int* out_len)
{
    char* s = static_cast<char*>(EngMalloc(len + 1, kOwner, 0));
    if (!s)
        return nullptr;
    size_t n = 0;
    for (size_t i = 0; i < len; i++)
    {
        if (start[i] == '\\' && i + 1 < len && start[i + 1] == 'n')
        {
            s[n++] = '\n';
            i++;
        }
        else
            s[n++] = start[i];
    }
    s[n] = 0;
    char* hh = strstr(s, "##");
    if (hh)
    {
        memmove(hh + 1, hh + 2, strlen(hh + 2) + 1);
        n--;
    }
    *out_len = int(n);
    return s;
}

void FreeToken(_EngLangToken* t)
{
    if (t->sub_texts)
        for (int s = 0; s < t->num_sub_texts; s++)
            EngFree(t->sub_texts[s].text, 0, kOwner);
    EngFree(t->sub_texts, 0, kOwner);
    EngFree(t->token, 0, kOwner);
    memset(t, 0, sizeof(*t));
}

// Fills one token record from a used line whose '=' is at eq. Returns 0 on
// success, else the number of the allocation that failed (1..3), or -1 for a
// count mismatch.
int BuildToken(_EngLangToken* t, const char* line, int eq)
{
    t->token = static_cast<char*>(EngMalloc(size_t(eq) + 1, kOwner, 0));
    if (!t->token)
        return 1;
    memcpy(t->token, line, size_t(eq));
    t->token[eq] = 0;
    t->token_length = eq;
    const char* text = line + eq + 1;
    size_t len = strlen(text);
    int count = 1;
    for (size_t i = 0; i < len; i++)
        if (IsSeparator(text, len, i))
            count++;
    t->sub_texts = static_cast<_EngLangSubText*>(EngMalloc(sizeof(_EngLangSubText) * size_t(count), kOwner, 1));
    if (!t->sub_texts)
        return 2;
    t->num_sub_texts = count;
    int made = 0;
    size_t start = 0;
    for (size_t i = 0; i <= len; i++)
    {
        if (i < len && !IsSeparator(text, len, i))
            continue;
        if (made >= count)
            return -1;
        _EngLangSubText& st = t->sub_texts[made];
        st.text = MakeSubText(text + start, i - start, &st.length);
        if (!st.text)
            return 3;
        made++;
        start = i + 1;
    }
    return made == count ? 0 : -1;
}

const char* NameField(int lang, int field)
{
    if (!ValidLang(lang))
        return el_empty;
    _EngLangName& n = el_lang_names[lang];
    switch (field)
    {
    case 0:
        return n.english;
    case 1:
        return n.english_ansi;
    case 2:
        return n.native;
    default:
        return n.flag_code;
    }
}

// The current language's texts for a token look-up, or null after logging
// (as the caller named) why there are none; no_token is the text for an
// empty token.
_EngLangInfo* CurrentTexts(const char* func, const char* token, const char* no_token)
{
    if (!token || !*token)
    {
        DebugErrorAlt(func, "%s", no_token);
        return nullptr;
    }
    if (el_num_langs <= 0 || !el_lang_infos)
    {
        DebugErrorAlt(func, "Languages not setup");
        return nullptr;
    }
    if (!ValidLang(el_cur_lang))
    {
        DebugErrorAlt(func, "Invalid language number %d", el_cur_lang);
        return nullptr;
    }
    _EngLangInfo* info = &el_lang_infos[el_cur_lang];
    if (!info->tokens)
    {
        DebugErrorAlt(func, "Language texts not setup");
        return nullptr;
    }
    return info;
}

// Token search shared by the look-ups; logs as the caller named.
int FindToken(const char* func, const char* token, int sub, bool check_sub)
{
    _EngLangInfo* texts = CurrentTexts(func, token, "Invalid token name");
    if (!texts)
        return -1;
    _EngLangInfo& info = *texts;
    for (int i = 0; i < info.num_tokens; i++)
    {
        if (!info.tokens[i].token || strcmp(info.tokens[i].token, token) != 0)
            continue;
        if (!check_sub)
            return i;
        if (info.tokens[i].num_sub_texts <= 0 || !info.tokens[i].sub_texts)
        {
            DebugErrorAlt(func, "No sub texts not token <%s>", token);
            return -1;
        }
        if (sub < 0 || sub >= info.tokens[i].num_sub_texts)
        {
            DebugErrorAlt(func, "Invalid sub text num %d for token <%s>", sub, token);
            return -1;
        }
        return i;
    }
    return -1;
}

// Fills dest from the template of token with up to three arguments.
char FillTemplate(const char* token, const char* const* args, int num_args, char* dest, int dest_size)
{
    if (!token || !args[0] || !dest)
        return 0;
    if (el_num_langs <= 0)
        return 0;
    const char* text = EngLanguagesGetString(token, 0);
    size_t len = strlen(text);
    if (len == 0)
        return 0;
    long room = dest_size;
    for (int i = 0; i < num_args; i++)
        room -= args[i] ? long(strlen(args[i])) : 0;
    if (long(len) >= room)
        return 0;
    // Placeholders are looked for in the template only, never in arguments.
    const char* at[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < num_args; i++)
    {
        if (!args[i])
            continue;
        char mark[3] = {'%', char('1' + i), 0};
        at[i] = strstr(text, mark);
    }
    std::string out;
    for (size_t p = 0; p < len;)
    {
        int which = -1;
        for (int i = 0; i < num_args; i++)
            if (at[i] == text + p)
                which = i;
        if (which >= 0)
        {
            out += args[which];
            p += 2;
        }
        else
            out += text[p++];
    }
    EngSafeStrcpy(dest, out.c_str(), size_t(dest_size));
    return 1;
}

// A C1 control: read back from a line as '?'.
bool IsC1(char c)
{
    return static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0;
}

// A token that would break the line format when appended, would not read
// back as itself, or whose stored (UTF-8) form is longer than a token may be.
bool TokenWritable(const char* token, const std::string& utf8)
{
    if (utf8.size() > EL_MAX_TOKEN_LEN || token[0] == ';' || token[0] == '[' || strpbrk(token, "=\r\n"))
        return false;
    for (const char* p = token; *p; p++)
        if (IsC1(*p))
            return false;
    return true;
}

// The form of a Latin-1 text in a language line such that sub-text 0 reads
// back as the text: line feeds as "\n" (carriage returns are dropped) and the
// first run of '#' one longer, as reading turns the first "##" into '#'.
// Returns null, or why no line can give the text back.
const char* StoredText(const char* text, std::string* out)
{
    std::string plain;
    for (const char* p = text ? text : ""; *p; p++)
        if (*p != '\r')
            plain += *p;
    out->clear();
    bool first_run = true;
    for (size_t i = 0; i < plain.size();)
    {
        unsigned char c = static_cast<unsigned char>(plain[i]);
        if (c == '#')
        {
            size_t run = plain.find_first_not_of('#', i);
            run = (run == std::string::npos ? plain.size() : run) - i;
            // A lone '#' separates sub-texts; only the first run gets its '#' back.
            if (run == 1 && !first_run)
                return "a lone '#' after the first '#' would split it";
            out->append(run + (first_run ? 1 : 0), '#');
            first_run = false;
            i += run;
            continue;
        }
        if (c == '\\' && i + 1 < plain.size() && plain[i + 1] == 'n')
            return "a backslash before 'n' would read back as a line break";
        if (IsC1(char(c)))
            return "a C1 control character reads back as '?'";
        if (c == '\n')
            *out += "\\n";
        else
            *out += char(c);
        i++;
    }
    return nullptr;
}

// What adding a line to a language file needs to know of it.
struct LangFileEnd
{
    int encoding;        // TF_ANSI, TF_UTF8, TF_UTF16LE or TF_UTF16BE
    std::string bytes;   // the file as it is
    const char* prefix;  // what ends its last line first
    const char* newline; // how the new line ends
};

// Logs why the language file at path cannot take a line.
bool CannotTake(const char* func, const char* path, const char* why)
{
    DebugErrorAlt(func, "Language file <%s> cannot take a line: %s", path, why);
    return false;
}

// Looks at a language file as its reader will: the encoding from the
// byte-order mark, then its line ends in that encoding's units. The reader
// ends a line at the next line feed while one follows, else at a carriage
// return: a new line ends as the file's last break does, so that lines after
// the last line feed that lone carriage returns split stay split (a line
// feed after them would join them). A file without a break gets CR LF.
// False, with the reason logged, when the file cannot take a line.
bool ExamineLangFile(const char* func, const char* path, LangFileEnd* end)
{
    TextFile tf;
    FILE* f = nullptr;
    if (tf.Open(path, TF_READ, TF_DETECT, 0) == TF_OK)
    {
        end->encoding = tf.GetEncoding();
        tf.Close();
        f = EngFileOpenRegularStream(path, "rb", 0, func);
    }
    if (!f)
    {
        DebugErrorAlt(func, "Could not open file <%s>", path);
        return false;
    }
    std::string& bytes = end->bytes;
    bytes.clear();
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), f)) > 0)
        bytes.append(chunk, n);
    bool failed = ferror(f) != 0;
    fclose(f);
    if (failed)
    {
        DebugErrorAlt(func, "Could not read file <%s>", path);
        return false;
    }
    size_t unit = 1, start = 0;
    if (end->encoding == TF_UTF8)
        start = 3;
    else if (end->encoding == TF_UTF16LE || end->encoding == TF_UTF16BE)
        unit = start = 2;
    if (bytes.size() < start)
        start = bytes.size();
    // Units appended after a stray byte would all be read out of step.
    if ((bytes.size() - start) % unit != 0)
        return CannotTake(func, path, "UTF-16 with an odd number of bytes");
    std::vector<unsigned> units;
    for (size_t i = start; i < bytes.size(); i += unit)
    {
        unsigned char b0 = static_cast<unsigned char>(bytes[i]);
        unsigned u = b0;
        if (unit == 2)
        {
            unsigned char b1 = static_cast<unsigned char>(bytes[i + 1]);
            u = end->encoding == TF_UTF16BE ? unsigned(b0 << 8) | b1 : unsigned(b1 << 8) | b0;
        }
        units.push_back(u);
    }
    size_t last_lf = units.size(), cr_in_tail = 0;
    for (size_t i = units.size(); i-- > 0 && last_lf == units.size();)
        if (units[i] == '\n')
            last_lf = i;
    const size_t tail = last_lf == units.size() ? 0 : last_lf + 1;
    for (size_t i = tail; i < units.size(); i++)
        cr_in_tail += units[i] == '\r';
    const bool ends_cr = !units.empty() && units.back() == '\r';
    if (cr_in_tail > (ends_cr ? 1u : 0u) || (last_lf == units.size() && cr_in_tail))
    {
        // Lines split by lone carriage returns: so is the new one.
        end->newline = "\r";
        end->prefix = ends_cr ? "" : "\r";
    }
    else if (last_lf != units.size())
    {
        end->newline = last_lf > 0 && units[last_lf - 1] == '\r' ? "\r\n" : "\n";
        // A carriage return at the very end is finished as CR LF.
        end->prefix = tail == units.size() ? "" : ends_cr ? "\n" : end->newline;
    }
    else
    {
        end->newline = "\r\n";
        end->prefix = units.empty() ? "" : end->newline;
    }
    return true;
}

// True when the language file at path already has a used line whose token
// reads as token (Latin-1) does, as the look-ups see it: an add leaves such
// a file as it is.
bool LangFileHasToken(const char* path, const char* token)
{
    TextFile tf;
    if (tf.Open(path, TF_READ, TF_DETECT, 0) != TF_OK)
        return false;
    char* line = nullptr;
    bool found = false;
    while (!found && tf.ReadLine(nullptr, &line) == TF_OK)
    {
        const int eq = UsedLineEquals(line);
        found = eq > 0 && EngLatin1FromUtf8(std::string(line, size_t(eq)).c_str()) == token;
    }
    free_block(line);
    return found;
}

// The path of language i's file, in el_buffer.
const char* LangFilePath(int i)
{
    snprintf(el_buffer, sizeof(el_buffer), "%s/%s.txt", el_path, el_lang_names[i].english);
    return el_buffer;
}

// line (UTF-8) in the units of encoding, or false when it cannot be written so.
bool EncodeLine(int encoding, const std::string& line, std::string* out)
{
    char* buf = nullptr;
    size_t len = 0;
    FILE* m = open_memstream(&buf, &len);
    if (!m)
        return false;
    TextFileWriter* w = nullptr;
    if (encoding == TF_UTF8)
        w = new UTF8_TextFileWriter(nullptr, m, 0);
    else if (encoding == TF_UTF16LE)
        w = new UTF16LE_TextFileWriter(nullptr, m, 0);
    else if (encoding == TF_UTF16BE)
        w = new UTF16BE_TextFileWriter(nullptr, m, 0);
    else
        w = new ANSI_TextFileWriter(nullptr, m, 0);
    bool ok =
        w->WriteString(line.c_str(), int(line.size()), 0, nullptr, nullptr) == TF_OK && w->Flush() == TF_OK;
    delete w;
    ok = fclose(m) == 0 && ok;
    if (ok)
        out->assign(buf, len);
    free(buf);
    return ok;
}

bool IsLanguageFileName(const char* name)
{
    return EngLanguagesDirListUnicodeMatchCB(0, name, nullptr, nullptr) != 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Setting up

char EngLanguagesDirListUnicodeMatchCB(int, const char* name, const char*, void*)
{
    if (!name)
        return 0;
    size_t len = strlen(name);
    return len >= 5 && len <= 59 && strcmp(name + len - 4, ".txt") == 0;
}

char EngLanguagesInit(const char* dir, const char* default_lang, char english_only)
{
    FreeAll();
    el_eng_only = english_only;
    el_num_langs = 0;
    el_cur_lang = -1;
    if (dir && strlen(dir) > EL_PATH_SIZE - 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Languages directory too long <%s>", dir);
        return 0;
    }
    if (dir && *dir)
        EngSafeStrcpy(el_path, dir, sizeof(el_path));
    else if (!el_path[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Languages directory does not exists <%s>", "");
        return 0;
    }
    DIR* d = opendir(el_path);
    if (!d)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Languages directory does not exists <%s>", el_path);
        return 0;
    }
    closedir(d);
    // What adds cut off (killed, power lost) left beside the files.
    EngFileRemoveInterruptedSaves(el_path, IsLanguageFileName);

    DirList dir_list;
    if (!dir_list.OpenDir(el_path, EngLanguagesDirListUnicodeMatchCB, nullptr))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "dir_list.OpenDir() failed");
        return 0;
    }
    int count = 0;
    if (!dir_list.PrepareToGetFilenamesInDir())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "dir_list.OpenDir() failed");
        return 0;
    }
    for (const char* n = dir_list.GetNextFilenameInDir(); *n; n = dir_list.GetNextFilenameInDir())
        if (!el_eng_only || strcmp(n, "English.txt") == 0)
            count++;
    dir_list.CloseDir();
    if (count == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No language files found in directory <%s>", el_path);
        return 0;
    }

    el_lang_names = static_cast<_EngLangName*>(EngMalloc(sizeof(_EngLangName) * size_t(count), kOwner, 1));
    el_lang_infos = static_cast<_EngLangInfo*>(EngMalloc(sizeof(_EngLangInfo) * size_t(count), kOwner, 1));
    if (!el_lang_names || !el_lang_infos)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        FreeAll();
        return 0;
    }
    el_num_langs = count;

    const char* wanted = default_lang ? default_lang : "English";
    int found = 0;
    bool ok = dir_list.OpenDir(el_path, EngLanguagesDirListUnicodeMatchCB, nullptr) &&
              dir_list.PrepareToGetFilenamesInDir();
    if (ok)
    {
        for (const char* n = dir_list.GetNextFilenameInDir(); *n; n = dir_list.GetNextFilenameInDir())
        {
            if (el_eng_only && strcmp(n, "English.txt") != 0)
                continue;
            if (found >= count)
            {
                found++;
                break;
            }
            _EngLangName& rec = el_lang_names[found];
            size_t len = strlen(n) - 4;
            memcpy(rec.english, n, len);
            rec.english[len] = 0;
            // File names are UTF-8; the ANSI form is the fonts' Latin-1.
            EngSafeStrcpy(rec.english_ansi, EngLatin1FromUtf8(rec.english).c_str(), sizeof(rec.english_ansi));
            if (strcasecmp(rec.english, wanted) == 0)
                el_cur_lang = found;
            found++;
        }
    }
    dir_list.CloseDir();
    if (!ok || found != count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Language files changed while listing <%s>", el_path);
        FreeAll();
        el_cur_lang = -1;
        return 0;
    }
    if (el_cur_lang < 0)
    {
        if (default_lang)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find default language <%s> - using language 0 <%s>",
                          default_lang, el_lang_names[0].english);
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find default language - using language 0 <%s>",
                          el_lang_names[0].english);
        el_cur_lang = 0;
    }
    for (int i = 0; i < el_num_langs; i++)
        if (!EngLangParseLanguage(i, 1))
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read header of language <%s>", el_lang_names[i].english);
    EngLangCheckIfCurrentLangEnglish();
    if (!EngLangParseLanguage(el_cur_lang, 0))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load language <%s>", el_lang_names[el_cur_lang].english);
    return 1;
}

void EngLanguagesExit()
{
    FreeAll();
}

void EngLanguagesFreeLanguageTexts(_EngLangInfo* info)
{
    if (!info)
        return;
    if (info->tokens)
        for (int i = 0; i < info->num_tokens; i++)
            FreeToken(&info->tokens[i]);
    EngFree(info->tokens, 0, kOwner);
    info->tokens = nullptr;
    info->num_tokens = 0;
}

char EngLangParseLanguage(int lang, char header_only)
{
    const char* func = __PRETTY_FUNCTION__;
    if (!ValidLang(lang))
    {
        DebugErrorAlt(func, "Internal Error");
        return 0;
    }
    _EngLangName& name = el_lang_names[lang];
    _EngLangInfo& info = el_lang_infos[lang];
    snprintf(el_buffer, sizeof(el_buffer), "%s%s%s.txt", el_path, "/", name.english);
    std::string path = el_buffer;

    TextFile tf;
    if (tf.Open(path.c_str(), TF_READ, TF_DETECT, 0) != TF_OK)
    {
        DebugErrorAlt(func, "Could not open file <%s>", path.c_str());
        return 0;
    }
    char* line = nullptr;
    int used = 0;
    bool got_name = false, got_flag = false;
    while (tf.ReadLine(nullptr, &line) == TF_OK)
    {
        int eq = UsedLineEquals(line);
        if (eq < 0)
            continue;
        used++;
        if (!header_only)
            continue;
        const char* value = line + eq + 1;
        if (eq == 8 && strncmp(line, "Language", 8) == 0)
        {
            char allocated = 0;
            char* conv = ConvertUtf8ToExtendedAscii(const_cast<char*>(value), &allocated);
            EngSafeStrcpy(name.native, conv, sizeof(name.native));
            if (allocated)
                EngFree(conv, 0, kOwner);
            TrimRight(name.native, "\r\n \t");
            got_name = true;
        }
        else if (eq == 15 && strncmp(line, "FlagCountryCode", 15) == 0)
        {
            EngSafeStrcpy(name.flag_code, value, sizeof(name.flag_code));
            TrimRight(name.flag_code, " \t\r\n");
            got_flag = true;
        }
        if (got_name && got_flag)
        {
            free_block(line);
            return 1;
        }
    }
    if (used == 0)
    {
        free_block(line);
        DebugErrorAlt(func, "No texts found in file");
        return 0;
    }
    if (header_only)
    {
        free_block(line);
        if (!got_name)
            DebugErrorAlt(func, "Could not get language name.");
        if (!got_flag)
            DebugErrorAlt(func, "No FlagCountryCode entry.");
        return 0;
    }

    EngLanguagesFreeLanguageTexts(&info);
    if (tf.Rewind() != TF_OK)
    {
        free_block(line);
        DebugErrorAlt(func, "Could not rewind file <%s>", path.c_str());
        return 0;
    }
    tf.Close();
    if (tf.Open(path.c_str(), TF_READ, TF_DETECT, 0) != TF_OK)
    {
        free_block(line);
        DebugErrorAlt(func, "Could not open file (2) <%s>", path.c_str());
        return 0;
    }
    info.tokens = static_cast<_EngLangToken*>(EngMalloc(sizeof(_EngLangToken) * size_t(used), kOwner, 1));
    if (!info.tokens)
    {
        free_block(line);
        DebugErrorAlt(func, "No memory");
        return 0;
    }
    info.num_tokens = used;
    int made = 0;
    while (tf.ReadLine(nullptr, &line) == TF_OK)
    {
        // Lines are chosen on their bytes as read, so both passes agree.
        if (UsedLineEquals(line) < 0)
            continue;
        if (made >= used)
        {
            DebugErrorAlt(func, "Internal Error 2");
            free_block(line);
            EngLanguagesFreeLanguageTexts(&info);
            return 0;
        }
        char allocated = 0;
        // English texts too may hold characters beyond ASCII.
        char* text = ConvertUtf8ToExtendedAscii(line, &allocated);
        int eq = int(strchr(text, '=') - text);
        int r = BuildToken(&info.tokens[made], text, eq);
        if (allocated)
            EngFree(text, 0, kOwner);
        if (r > 0)
        {
            DebugErrorAlt(func, "No memory (%d)", r);
            free_block(line);
            FreeAll();
            return 0;
        }
        if (r < 0)
        {
            DebugErrorAlt(func, "Internal Error 1");
            free_block(line);
            EngLanguagesFreeLanguageTexts(&info);
            return 0;
        }
        made++;
    }
    free_block(line);
    if (made != used)
    {
        DebugErrorAlt(func, "Internal Error 2");
        EngLanguagesFreeLanguageTexts(&info);
        return 0;
    }
    return 1;
}

char EngLanguagesSetCurrentLanguage(const char* english_name)
{
    if (el_num_langs <= 0 || !el_lang_names)
        return 0;
    for (int i = 0; i < el_num_langs; i++)
        if (english_name && strcasecmp(el_lang_names[i].english, english_name) == 0)
            return EngLanguagesSetCurrentLanguage(i);
    DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find language <%s>", english_name ? english_name : "");
    return 0;
}

char EngLanguagesSetCurrentLanguage(int lang)
{
    if (el_num_langs <= 0 || !el_lang_names)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup.");
        return 0;
    }
    if (lang < 0 || lang >= el_num_langs)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad lang num %d.", lang);
        return 0;
    }
    if (lang == el_cur_lang)
        return 1;
    FreeAllTexts();
    el_cur_lang = lang;
    EngLangCheckIfCurrentLangEnglish();
    return EngLangParseLanguage(lang, 0);
}

void EngLangCheckIfCurrentLangEnglish()
{
    if (el_num_langs <= 0 || !el_lang_names || !ValidLang(el_cur_lang))
    {
        el_cur_lang_is_english = 1;
        return;
    }
    const _EngLangName& n = el_lang_names[el_cur_lang];
    el_cur_lang_is_english = strcmp(n.english, "English") == 0 && strcmp(n.native, "English") == 0;
}

int EngLanguagesAddTokenAndTextToAllLanguages(const char* token, const char* english_text)
{
    const char* func = __PRETTY_FUNCTION__;
    if (!token || !*token)
        return -1;
    if (el_num_langs <= 0 || !el_lang_names)
    {
        DebugErrorAlt(func, "Languages not setup");
        return -1;
    }
    // Files without the token: all of them, or those an add cut short did
    // not reach (it may have reached the current language's).
    std::vector<int> lacking;
    for (int i = 0; i < el_num_langs; i++)
        if (!LangFileHasToken(LangFilePath(i), token))
            lacking.push_back(i);
    int existing = FindToken(func, token, 0, false);
    if (existing >= 0 && lacking.empty())
        return existing;
    // Token and text are Latin-1, as the look-ups give them; the lines hold UTF-8.
    const std::string utf8_token = EngUtf8FromLatin1(token);
    if (!TokenWritable(token, utf8_token))
    {
        DebugErrorAlt(func, "Invalid token <%s>", token);
        return -1;
    }
    std::string stored;
    if (const char* why = StoredText(english_text, &stored))
    {
        DebugErrorAlt(func, "Text for token <%s> cannot be stored: %s", token, why);
        return -1;
    }
    const std::string text = EngUtf8FromLatin1(stored.c_str());
    // The longest line, that of a language other than English, must still be read.
    if (utf8_token.size() + 3 + text.size() > EL_MAX_LINE_LEN)
    {
        DebugErrorAlt(func, "Text for token <%s> cannot be stored: its line would pass %d bytes", token,
                      EL_MAX_LINE_LEN);
        return -1;
    }
    // Every file is checked and its new bytes made before any is written:
    // the line reaches every file or none.
    std::vector<EngFileReplacement> files;
    for (int i : lacking)
    {
        LangFilePath(i);
        LangFileEnd end;
        if (!ExamineLangFile(func, el_buffer, &end))
        {
            DebugErrorAlt(func, "Error adding token");
            return -1;
        }
        if (!EngFileMayBeReplaced(el_buffer))
        {
            CannotTake(func, el_buffer, strerror(errno));
            DebugErrorAlt(func, "Error adding token");
            return -1;
        }
        std::string line = end.prefix + utf8_token + "=";
        if (!text.empty())
            line += (strcasecmp(el_lang_names[i].english, "English") == 0 ? "" : "E ") + text;
        line += end.newline;
        std::string encoded;
        if (!EncodeLine(end.encoding, line, &encoded))
        {
            CannotTake(func, el_buffer, "the line cannot be encoded");
            DebugErrorAlt(func, "Error adding token");
            return -1;
        }
        files.push_back({el_buffer, end.bytes + encoded, end.bytes});
    }
    const bool saved = files.empty() || EngFileSaveAllAtomically(files, func);
    if (!saved)
        DebugErrorAlt(func, "Could not append to file");
    FreeAllTexts();
    if (!EngLangParseLanguage(el_cur_lang, 0))
        DebugErrorAlt(func, "Could not load language <%s>", EngLanguagesGetCurrentLanguageNameInEnglish());
    // The current language may have held the token before a failed add.
    int index = saved ? FindToken(func, token, 0, false) : -1;
    if (index < 0)
        DebugErrorAlt(func, "Error adding token");
    return index;
}

// ---------------------------------------------------------------------------
// Look-ups

char EngLanguagesIsSetup()
{
    return el_num_langs > 0;
}

char EngLangTokenExists(const char* token)
{
    if (el_num_langs <= 0)
        return 0;
    return FindToken(__PRETTY_FUNCTION__, token, 0, false) >= 0;
}

char EngLangTokenExists(const char* token, int sub)
{
    if (el_num_langs <= 0)
        return 0;
    return FindToken(__PRETTY_FUNCTION__, token, sub, true) >= 0;
}

int EngLanguagesGetTokenNumForToken(const char* token, int sub)
{
    return FindToken(__PRETTY_FUNCTION__, token, sub, true);
}

int EngLanguagesGetTokenNumForToken(const char* token)
{
    return FindToken(__PRETTY_FUNCTION__, token, 0, false);
}

const char* EngLanguagesGetString(const char* token, int sub)
{
    int i = FindToken(__PRETTY_FUNCTION__, token, sub, true);
    if (i < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Token <%s:%d> not found", token ? token : "", sub);
        return el_empty;
    }
    return el_lang_infos[el_cur_lang].tokens[i].sub_texts[sub].text;
}

const char* EngLanguagesGetString(const char* token)
{
    return EngLanguagesGetString(token, 0);
}

const char* EngLanguagesGetString(int token_index, int sub)
{
    const char* func = __PRETTY_FUNCTION__;
    if (el_num_langs <= 0 || !ValidLang(el_cur_lang))
    {
        DebugErrorAlt(func, "Languages are not setup");
        return el_empty;
    }
    _EngLangInfo& info = el_lang_infos[el_cur_lang];
    if (!info.tokens)
    {
        DebugErrorAlt(func, "Texts are not setup");
        return el_empty;
    }
    if (token_index < 0 || token_index >= info.num_tokens)
    {
        DebugErrorAlt(func, "Token <%d> does not exist", token_index);
        return el_empty;
    }
    _EngLangToken& t = info.tokens[token_index];
    if (t.num_sub_texts <= 0 || !t.sub_texts)
    {
        DebugErrorAlt(func, "No sub texts exist for token <%s>", t.token);
        return el_empty;
    }
    if (sub < 0 || sub >= t.num_sub_texts)
    {
        DebugErrorAlt(func, "Sub text num <%d> does not exist in token <%s>", sub, t.token);
        return el_empty;
    }
    return t.sub_texts[sub].text;
}

const char* EngLanguagesGetString(int token_index)
{
    return EngLanguagesGetString(token_index, 0);
}

const char* EngLanguagesGetStringIfExists(const char* token, const char* fallback)
{
    if (el_num_langs <= 0)
        return fallback;
    int i = FindToken(__PRETTY_FUNCTION__, token, 0, true);
    if (i < 0)
        return fallback;
    return el_lang_infos[el_cur_lang].tokens[i].sub_texts[0].text;
}

int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char* token, int* count)
{
    const char* func = __PRETTY_FUNCTION__;
    if (count)
        *count = 0;
    _EngLangInfo* texts = CurrentTexts(func, token, "Invalid token");
    if (!texts)
        return -1;
    _EngLangInfo& info = *texts;
    for (int i = 0; i < info.num_tokens; i++)
        if (info.tokens[i].token && strcmp(info.tokens[i].token, token) == 0)
        {
            if (count)
                *count = info.tokens[i].num_sub_texts;
            return i;
        }
    DebugErrorAlt(func, "Could not find token [%s]", token);
    return -1;
}

int EngLanguagesGetNumTokensForCurrentLanguage()
{
    if (!ValidLang(el_cur_lang) || !el_lang_infos[el_cur_lang].tokens)
        return 0;
    return el_lang_infos[el_cur_lang].num_tokens;
}

const char* EngLanguagesGetTokenAtPos(int i)
{
    if (i < 0 || i >= EngLanguagesGetNumTokensForCurrentLanguage())
        return el_empty;
    const char* t = el_lang_infos[el_cur_lang].tokens[i].token;
    return t ? t : el_empty;
}

const char* EngLanguagesGetTextAtPos(int i)
{
    if (i < 0 || i >= EngLanguagesGetNumTokensForCurrentLanguage())
        return el_empty;
    _EngLangToken& t = el_lang_infos[el_cur_lang].tokens[i];
    if (t.num_sub_texts <= 0 || !t.sub_texts || !t.sub_texts[0].text)
        return el_empty;
    return t.sub_texts[0].text;
}

int EngLanguagesGetNumberOfLanguages()
{
    return el_num_langs;
}

const char* EngLanguagesGetLanguageNameInEnglish(int lang)
{
    return NameField(lang, 0);
}

const char* EngLanguagesGetLanguageNameInEnglishAnsi(int lang)
{
    return NameField(lang, 1);
}

const char* EngLanguagesGetLanguageNameNative(int lang)
{
    return NameField(lang, 2);
}

const char* EngLanguagesGetLanguageCountryFlagCode(int lang)
{
    return NameField(lang, 3);
}

const char* EngLanguagesGetCurrentLanguageNameInEnglish()
{
    return NameField(el_cur_lang, 0);
}

const char* EngLanguagesGetCurrentLanguageNameInEnglishAnsi()
{
    return NameField(el_cur_lang, 1);
}

const char* EngLanguagesGetCurrentLanguageNameNative()
{
    return NameField(el_cur_lang, 2);
}

const char* EngLanguagesGetCurrentLanguageFlagCode()
{
    return NameField(el_cur_lang, 3);
}

int EngLanguagesGetCurrentLanguageNumber()
{
    if (el_num_langs <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup.");
        return 0;
    }
    if (el_cur_lang < 0 || el_cur_lang >= el_num_langs)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad cur lang %d.", el_cur_lang);
        el_cur_lang = 0;
        EngLangCheckIfCurrentLangEnglish();
        return 0;
    }
    return el_cur_lang;
}

// ---------------------------------------------------------------------------
// Templates

char EngLanguagesSetStringFromTokenWithArg(const char* token, const char* a1, char* dest, int dest_size)
{
    const char* args[1] = {a1};
    return FillTemplate(token, args, 1, dest, dest_size);
}

char EngLanguagesSetStringFromTokenWith2Args(const char* token, const char* a1, const char* a2, char* dest,
                                             int dest_size)
{
    const char* args[2] = {a1, a2};
    return FillTemplate(token, args, 2, dest, dest_size);
}

char EngLanguagesSetStringFromTokenWith3Args(const char* token, const char* a1, const char* a2,
                                             const char* a3, char* dest, int dest_size)
{
    const char* args[3] = {a1, a2, a3};
    return FillTemplate(token, args, 3, dest, dest_size);
}

// ---------------------------------------------------------------------------
// UTF-8 to Latin-1

int GetExtendedAsciiCharNum(const char* text, int* bytes)
{
    *bytes = 1;
    if (!text)
        return -1;
    unsigned char b0 = static_cast<unsigned char>(text[0]);
    if (b0 < 0x80)
        return -1;
    unsigned char b1 = static_cast<unsigned char>(text[1]);
    // U+00A1..U+00FF except U+00AD: indexes 0..95 stand for A0..FF.
    int cp = -1;
    if (b0 == 0xC2 && b1 >= 0xA1 && b1 <= 0xBF)
        cp = b1;
    else if (b0 == 0xC3 && b1 >= 0x80 && b1 <= 0xBF)
        cp = 0xC0 + (b1 - 0x80);
    if (cp < 0 || cp == 0xAD)
        return -1;
    *bytes = 2;
    return cp - 0xA0;
}

char* ConvertUtf8ToExtendedAscii(char* text, char* allocated)
{
    if (!allocated || !text)
        return text;
    *allocated = 0;
    bool plain = true;
    for (const char* p = text; *p && plain; p++)
        plain = static_cast<unsigned char>(*p) < 0x80;
    if (plain)
        return text;
    // Every character stays one: those the fonts cannot hold become '?'.
    std::string latin1 = EngLatin1FromUtf8(text);
    char* out = static_cast<char*>(EngMalloc(latin1.size() + 1, kOwner, 0));
    if (!out)
        return text;
    memcpy(out, latin1.c_str(), latin1.size() + 1);
    *allocated = 1;
    return out;
}
