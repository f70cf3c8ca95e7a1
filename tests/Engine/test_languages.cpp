// Language files: loading two languages, look-ups, sub-texts, templates,
// adding tokens (to files of every encoding and line end, read back after a
// restart; all or none, after a kill too), Latin-1 conversion and the silent
// not-loaded state.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngUnicode.h"
#include "support/RenameGate.h"
#include "support/TestSupport.h"
#include "support/Unprivileged.h"

using vztest::Logged;
using vztest::ReadFile;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

// Adds to read-only files run as an unprivileged user, who must reach this
// program's files.
const bool runs_shared = vztest::RunFromSharedCopy();

const std::string kEnglish = "; comment=ignored\r\n"
                             "[Section=ignored]\r\n"
                             "Language=English\r\n"
                             "FlagCountryCode=GB \t\r\n"
                             "Hello=Hi#Hello there\r\n"
                             "Hash=1##2\r\n"
                             "Multi=Line one\\nLine two#x##y\r\n"
                             "Args=B=%2 A=%1\r\n"
                             "Three=%3-%1-%2-%1\r\n"
                             "=starts with equals\r\n" +
                             std::string(64, 'x') +
                             "=token too long\r\n"
                             "Empty=\r\n"
                             "Sign=\xC2\xA9 caf\xC3\xA9\r\n";

const std::string kFrench = "Language=Fran\xC3\xA7"
                            "ais \r\n"
                            "FlagCountryCode=FR\r\n"
                            "Hello=Salut#Bonjour \xC3\xA0 tous\r\n"
                            "Euro=5 \xE2\x82\xAC\r\n";

class Languages : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        EngLanguagesExit();
        WriteFile(dir.File("English.txt"), kEnglish);
        WriteFile(dir.File("French.txt"), kFrench);
        WriteFile(dir.File("notes.md"), "Language=Other\n");
        WriteFile(dir.File(".txt"), "too short a name\n");
    }
    void TearDown() override
    {
        EngLanguagesExit();
        LogTest::TearDown();
    }
    TempDir dir;
};

TEST_F(Languages, NothingLoadedGivesFallbacksSilently)
{
    int before = DebugGetNumMessages();
    EXPECT_EQ(0, EngLangTokenExists("Hello"));
    EXPECT_EQ(0, EngLangTokenExists("Hello", 1));
    EXPECT_STREQ("fallback", EngLanguagesGetStringIfExists("Hello", "fallback"));
    EXPECT_EQ(0, EngLanguagesGetNumberOfLanguages());
    EXPECT_EQ(0, EngLanguagesIsSetup());
    char dest[32] = "unchanged";
    EXPECT_EQ(0, EngLanguagesSetStringFromTokenWithArg("Args", "a", dest, sizeof(dest)));
    EXPECT_STREQ("unchanged", dest);
    EXPECT_EQ(before, DebugGetNumMessages());

    EXPECT_STREQ("", EngLanguagesGetString("Hello"));
    EXPECT_TRUE(Logged("Languages not setup"));
    EXPECT_TRUE(Logged("Token <Hello:0> not found"));
    EXPECT_STREQ("", EngLanguagesGetLanguageNameInEnglish(0));
    EXPECT_STREQ("", EngLanguagesGetTokenAtPos(0));
}

TEST_F(Languages, LoadsDefaultEnglishAndSplitsSubTexts)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    EXPECT_EQ(2, EngLanguagesGetNumberOfLanguages());
    EXPECT_STREQ("English", EngLanguagesGetCurrentLanguageNameInEnglish());
    EXPECT_STREQ("English", EngLanguagesGetCurrentLanguageNameNative());
    EXPECT_STREQ("GB", EngLanguagesGetCurrentLanguageFlagCode());
    int other = 1 - EngLanguagesGetCurrentLanguageNumber();
    EXPECT_STREQ("French", EngLanguagesGetLanguageNameInEnglish(other));
    EXPECT_STREQ("Fran\xE7"
                 "ais",
                 EngLanguagesGetLanguageNameNative(other));
    EXPECT_STREQ("FR", EngLanguagesGetLanguageCountryFlagCode(other));

    struct Case
    {
        const char* token;
        int sub;
        const char* text;
    };
    const Case cases[] = {
        {"Hello", 0, "Hi"},         {"Hello", 1, "Hello there"},
        {"Hash", 0, "1#2"},         {"Multi", 0, "Line one\nLine two"},
        {"Multi", 1, "x#y"},        {"Empty", 0, ""},
        {"Language", 0, "English"}, {"Sign", 0, "\xA9 caf\xE9"},
    };
    for (const Case& c : cases)
    {
        EXPECT_STREQ(c.text, EngLanguagesGetString(c.token, c.sub)) << c.token << ":" << c.sub;
        EXPECT_EQ(1, EngLangTokenExists(c.token, c.sub));
    }
    int count = -1;
    EXPECT_GE(EngLanguagesGetTokenNumAndNumSubTextsForToken("Hello", &count), 0);
    EXPECT_EQ(2, count);
    EXPECT_EQ(1, EngLangTokenExists("Hash"));
    EXPECT_EQ(0, EngLangTokenExists("Hello", 2));
    EXPECT_TRUE(Logged("Invalid sub text num 2 for token <Hello>"));
    // Ignored lines give no tokens: comments, sections, '=' first, long tokens.
    EXPECT_EQ(9, EngLanguagesGetNumTokensForCurrentLanguage());
    int before = DebugGetNumMessages();
    EXPECT_EQ(-1, EngLanguagesGetTokenNumForToken(std::string(64, 'x').c_str()));
    EXPECT_EQ(-1, EngLanguagesGetTokenNumForToken("; comment"));
    EXPECT_EQ(before, DebugGetNumMessages()) << "an absent token is silent";
    EXPECT_STREQ("fb", EngLanguagesGetStringIfExists("Nope", "fb"));
    int i = EngLanguagesGetTokenNumForToken("Hello");
    EXPECT_STREQ("Hello", EngLanguagesGetTokenAtPos(i));
    EXPECT_STREQ("Hi", EngLanguagesGetTextAtPos(i));
    EXPECT_STREQ("Hello there", EngLanguagesGetString(i, 1));
    EXPECT_STREQ("", EngLanguagesGetString(i, 2));
    EXPECT_TRUE(Logged("Sub text num <2> does not exist in token <Hello>"));
}

TEST_F(Languages, PicksTheNamedLanguageAndConvertsItsTextsToLatin1)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), "fRENCH", 0));
    EXPECT_STREQ("French", EngLanguagesGetCurrentLanguageNameInEnglish());
    EXPECT_STREQ("Bonjour \xE0 tous", EngLanguagesGetString("Hello", 1));
    // A character the one-byte fonts cannot hold shows as a placeholder.
    EXPECT_STREQ("5 ?", EngLanguagesGetString("Euro"));
    EXPECT_EQ(0, EngLangTokenExists("Args"));

    ASSERT_EQ(1, EngLanguagesSetCurrentLanguage("english"));
    EXPECT_STREQ("Hi", EngLanguagesGetString("Hello"));
    EXPECT_EQ(1, EngLanguagesSetCurrentLanguage("English")) << "the current one again";
    EXPECT_EQ(0, EngLanguagesSetCurrentLanguage("Klingon"));
    EXPECT_TRUE(Logged("Klingon"));
    EXPECT_EQ(0, EngLanguagesSetCurrentLanguage(5));
    EXPECT_TRUE(Logged("Bad lang num 5."));
}

TEST_F(Languages, MissingDefaultFallsBackToLanguageZero)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), "German", 0));
    EXPECT_TRUE(Logged("Could not find default language <German> - using language 0 <"));
    EXPECT_EQ(0, EngLanguagesGetCurrentLanguageNumber());
    EXPECT_GT(EngLanguagesGetNumTokensForCurrentLanguage(), 0);
}

TEST_F(Languages, EnglishOnlyAndFailures)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), "French", 1));
    EXPECT_EQ(1, EngLanguagesGetNumberOfLanguages());
    EXPECT_STREQ("English", EngLanguagesGetCurrentLanguageNameInEnglish());
    EngLanguagesExit();

    TempDir empty;
    EXPECT_EQ(0, EngLanguagesInit(empty.Path().c_str(), nullptr, 0));
    EXPECT_TRUE(Logged("No language files found in directory <" + empty.Path() + ">"));
    EXPECT_EQ(0, EngLanguagesInit(empty.File("missing").c_str(), nullptr, 0));
    EXPECT_TRUE(Logged("Languages directory does not exists <"));
    EXPECT_EQ(0, EngLanguagesInit(std::string(600, 'd').c_str(), nullptr, 0));
    EXPECT_TRUE(Logged("Languages directory too long <"));
    EXPECT_EQ(0, EngLanguagesIsSetup());
}

TEST_F(Languages, TemplatesFillArgumentsByNumber)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    char dest[64];
    ASSERT_EQ(1, EngLanguagesSetStringFromTokenWith2Args("Args", "one", "two", dest, sizeof(dest)));
    EXPECT_STREQ("B=two A=one", dest);
    ASSERT_EQ(1, EngLanguagesSetStringFromTokenWith3Args("Three", "a", "b", "c", dest, sizeof(dest)));
    EXPECT_STREQ("c-a-b-%1", dest) << "only the first of each is replaced";
    ASSERT_EQ(1, EngLanguagesSetStringFromTokenWithArg("Args", "%2", dest, sizeof(dest)));
    EXPECT_STREQ("B=%2 A=%2", dest) << "arguments are not searched";
    // The template must be shorter than the room left after the arguments.
    char small[16] = "unchanged";
    EXPECT_EQ(0, EngLanguagesSetStringFromTokenWith2Args("Args", "one", "two", small, 15));
    EXPECT_EQ(1, EngLanguagesSetStringFromTokenWith2Args("Args", "one", "two", small, 16));
    EXPECT_STREQ("B=two A=one", small);
    EXPECT_EQ(0, EngLanguagesSetStringFromTokenWithArg("Empty", "x", dest, sizeof(dest)));
    EXPECT_EQ(0, EngLanguagesSetStringFromTokenWithArg(nullptr, "x", dest, sizeof(dest)));
    EXPECT_EQ(0, EngLanguagesSetStringFromTokenWithArg("Args", nullptr, dest, sizeof(dest)));
}

TEST_F(Languages, AddedTokensGoToEveryFileAsOneLine)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    int before = EngLanguagesGetNumTokensForCurrentLanguage();
    int i = EngLanguagesAddTokenAndTextToAllLanguages("New", "Fresh\ntext");
    ASSERT_EQ(before, i);
    EXPECT_STREQ("Fresh\ntext", EngLanguagesGetString("New"));
    EXPECT_EQ(kEnglish + "New=Fresh\\ntext\r\n", ReadFile(dir.File("English.txt")));
    EXPECT_EQ(kFrench + "New=E Fresh\\ntext\r\n", ReadFile(dir.File("French.txt")));
    EXPECT_EQ(i, EngLanguagesAddTokenAndTextToAllLanguages("New", "again")) << "present already";
    EXPECT_EQ(-1, EngLanguagesAddTokenAndTextToAllLanguages("", "x"));
    for (const char* bad : {"a=b", "two\nlines", ";note"})
        EXPECT_EQ(-1, EngLanguagesAddTokenAndTextToAllLanguages(bad, "x")) << bad;
    EXPECT_EQ(kEnglish + "New=Fresh\\ntext\r\n", ReadFile(dir.File("English.txt")));
    int blank = EngLanguagesAddTokenAndTextToAllLanguages("Blank", nullptr);
    EXPECT_GE(blank, 0);
    EXPECT_EQ(kFrench + "New=E Fresh\\ntext\r\nBlank=\r\n", ReadFile(dir.File("French.txt")));
}

// An added token and text are Latin-1, the form the look-ups hand out: the
// files get them in UTF-8, every look-up gives back the bytes that were
// added, and the token added again is found in every file, which then stay
// as they are.
TEST_F(Languages, AddedTextsAreLatin1AndTheFilesStayUtf8)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    const struct
    {
        const char* token;
        const char* text;
        const char* token_in_file;
        const char* in_file;
    } cases[] = {
        {"Latin1", "caf\xE9 \xA9", "Latin1", "caf\xC3\xA9 \xC2\xA9"},
        // UTF-8 bytes taken as the Latin-1 letters they are.
        {"Utf8", "caf\xC3\xA9", "Utf8", "caf\xC3\x83\xC2\xA9"},
        {"Plain", "cafe", "Plain", "cafe"},
        {"Caf\xE9", "menu", "Caf\xC3\xA9", "menu"},
    };
    std::string english = kEnglish, french = kFrench;
    std::vector<int> index;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.token);
        index.push_back(EngLanguagesAddTokenAndTextToAllLanguages(c.token, c.text));
        ASSERT_GE(index.back(), 0);
        EXPECT_STREQ(c.text, EngLanguagesGetString(c.token));
        english += std::string(c.token_in_file) + "=" + c.in_file + "\r\n";
        french += std::string(c.token_in_file) + "=E " + c.in_file + "\r\n";
        EXPECT_EQ(english, ReadFile(dir.File("English.txt")));
        EXPECT_EQ(french, ReadFile(dir.File("French.txt")));
    }
    for (size_t i = 0; i < std::size(cases); i++)
    {
        SCOPED_TRACE(std::string("again: ") + cases[i].token);
        EXPECT_EQ(index[i], EngLanguagesAddTokenAndTextToAllLanguages(cases[i].token, "other"));
        EXPECT_EQ(english, ReadFile(dir.File("English.txt")));
        EXPECT_EQ(french, ReadFile(dir.File("French.txt")));
    }
    ASSERT_EQ(1, EngLanguagesSetCurrentLanguage("French"));
    for (const auto& c : cases)
        EXPECT_EQ("E " + std::string(c.text), EngLanguagesGetString(c.token)) << c.token;
}

enum FileForm
{
    PLAIN, // UTF-8 without a byte-order mark, as the files are written
    UTF8_BOM,
    UTF16LE,
    UTF16BE,
};

// The bytes of a file of that form holding utf8 (characters up to U+FFFF).
std::string Encoded(FileForm form, const std::string& utf8)
{
    if (form == PLAIN)
        return utf8;
    if (form == UTF8_BOM)
        return "\xEF\xBB\xBF" + utf8;
    std::string out = form == UTF16LE ? "\xFF\xFE" : "\xFE\xFF";
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t i = 0; i < utf8.size();)
    {
        EngUInt32 cp = 0;
        i += size_t(EngUtf8Decode(s + i, utf8.size() - i, &cp));
        char hi = char(cp >> 8), lo = char(cp & 0xFF);
        out += form == UTF16LE ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

// Loads the files again from disk, as the next run of the program does.
void Restart(const std::string& dir, const char* language)
{
    EngLanguagesExit();
    ASSERT_EQ(1, EngLanguagesInit(dir.c_str(), language, 0));
    ASSERT_STREQ(language, EngLanguagesGetCurrentLanguageNameInEnglish());
}

// Files as they may be found on disk: each encoding the reader knows, each
// kind of line end, with and without a break after the last line. An added
// line ends as the file's last break does.
TEST_F(Languages, AddedTokensStartALineOfTheirOwnInEachFilesEncoding)
{
    TempDir disk;
    const struct
    {
        const char* language;
        FileForm form;
        std::string body;   // UTF-8
        const char* ending; // what the add must put first to end the last line
        const char* newline;
        const char* last; // the last line's text as the look-ups give it
    } files[] = {
        {"English", PLAIN, "Language=English\r\nFlagCountryCode=GB\r\nLast=last text", "\r\n", "\r\n",
         "last text"},
        {"French", UTF16LE,
         "Language=Fran\xC3\xA7"
         "ais\r\nFlagCountryCode=FR\r\nLast=derni\xC3\xA8re",
         "\r\n", "\r\n", "derni\xE8re"},
        {"German", UTF16BE, "Language=Deutsch\r\nFlagCountryCode=DE\r\nLast=\xE2\x82\xAC letzte", "\r\n",
         "\r\n", "? letzte"},
        {"Spanish", UTF8_BOM, "Language=Espa\xC3\xB1ol\nFlagCountryCode=ES\nLast=\xC3\xBAltima\n", "", "\n",
         "\xFAltima"},
        {"Norwegian", PLAIN, "Language=Norsk\r\nFlagCountryCode=NO\nLast=siste", "\n", "\n", "siste"},
        // Lines ended by lone carriage returns split only while no line feed follows.
        {"Italian", PLAIN, "Language=Italiano\rFlagCountryCode=IT\rLast=ultima\r", "", "\r", "ultima"},
        {"Dutch", UTF16LE, "Language=Nederlands\r\nFlagCountryCode=NL\r\nLast=laatste\r", "\n", "\r\n",
         "laatste"},
        // A last line split off by a lone carriage return after CR LF lines:
        // a line feed after it would join it to the line before.
        {"Polish", PLAIN, "Language=Polski\r\nFlagCountryCode=PL\rLast=ostatni", "\r", "\r", "ostatni"},
        {"Swedish", UTF16BE, "Language=Svenska\r\nFlagCountryCode=SE\rLast=sista\r", "", "\r", "sista"},
    };
    for (const auto& f : files)
        WriteFile(disk.File(std::string(f.language) + ".txt"), Encoded(f.form, f.body));
    ASSERT_EQ(1, EngLanguagesInit(disk.Path().c_str(), nullptr, 0));
    ASSERT_EQ(3, EngLanguagesGetNumTokensForCurrentLanguage());
    EXPECT_EQ(3, EngLanguagesAddTokenAndTextToAllLanguages("NewTok", "caf\xE9"));
    EXPECT_EQ(4, EngLanguagesAddTokenAndTextToAllLanguages("Second", "two\nlines"));
    EXPECT_FALSE(Logged("Error adding token"));

    for (const auto& f : files)
    {
        SCOPED_TRACE(f.language);
        const std::string e = strcmp(f.language, "English") == 0 ? "" : "E ";
        EXPECT_EQ(Encoded(f.form, f.body + f.ending + "NewTok=" + e + "caf\xC3\xA9" + f.newline +
                                      "Second=" + e + "two\\nlines" + f.newline),
                  ReadFile(disk.File(std::string(f.language) + ".txt")));
        Restart(disk.Path(), f.language);
        EXPECT_EQ(5, EngLanguagesGetNumTokensForCurrentLanguage());
        EXPECT_STREQ(f.last, EngLanguagesGetString("Last"));
        EXPECT_EQ(e + "caf\xE9", EngLanguagesGetString("NewTok"));
        EXPECT_EQ(e + "two\nlines", EngLanguagesGetString("Second"));
    }
}

// A file that cannot take the line (units written after a stray byte would
// be read out of step; a file made read-only), a write that fails on the
// way, or a rename that fails after another file was replaced, fails the
// add, and then no file changes: not on the first try, nor on the tries
// after it. So it is when an add cut short left the token in the current
// language's file: the files without it get it all or none.
TEST_F(Languages, AnAddThatOneFileCannotTakeChangesNoFile)
{
    const std::string odd = Encoded(UTF16BE, "Language=Cymraeg\r\nFlagCountryCode=CY\r\nLast=olaf") + "\x0A";
    // A French file too large to be written whole under the limit on file sizes.
    const std::string large_french = kFrench + std::string(4000, ';') + "\r\n";
    const rlim_t limit = 2000;
    const struct
    {
        const char* name;
        const char* current;
        bool welsh, read_only, large; // a Welsh file of odd length; French read-only, or too large
        bool held;                    // the current language's file has the token already
        bool rename_fails;            // the rename of every file but the first renamed fails
        const char* file;             // the one that cannot take the line (null: the one renamed last)
        const char* told;             // the log line, after the file's path
    } cases[] = {
        {"the current language's file is UTF-16 with a stray byte", "Welsh", true, false, false, false, false,
         "Welsh", "> cannot take a line: UTF-16 with an odd number of bytes"},
        {"another language's file is UTF-16 with a stray byte", "English", true, false, false, false, false,
         "Welsh", "> cannot take a line: UTF-16 with an odd number of bytes"},
        {"the current language's file is read-only", "French", false, true, false, false, false, "French",
         "> cannot take a line: Permission denied"},
        {"another language's file is read-only", "English", false, true, false, false, false, "French",
         "> cannot take a line: Permission denied"},
        {"a write fails on the way", "English", false, false, true, false, false, "French",
         ">: File too large"},
        {"a rename fails after another file was replaced", "English", false, false, false, false, true,
         nullptr, ">: Device or resource busy"},
        {"the current language's file has the token, another's is UTF-16 with a stray byte", "French", true,
         false, false, true, false, "Welsh", "> cannot take a line: UTF-16 with an odd number of bytes"},
        {"the current language's file has the token, another's is read-only", "English", false, true, false,
         true, false, "French", "> cannot take a line: Permission denied"},
        {"the current language's file has the token, a write fails on the way", "English", false, false, true,
         true, false, "French", ">: File too large"},
    };
    // Root writes into read-only files: those rows run as an unprivileged user.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    vztest::NotRunRows not_run;
    std::string no_gate;
    int row = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string folder = dir.File(std::to_string(row++));
        ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
        const auto add = [&]
        {
            if (std::string why = c.read_only ? vztest::DropRoot() : ""; !why.empty())
                return why;
            const std::string held = c.held ? "NewTok=held\r\n" : "";
            WriteFile(folder + "/English.txt", kEnglish + (strcmp(c.current, "English") == 0 ? held : ""));
            WriteFile(folder + "/French.txt",
                      (c.large ? large_french : kFrench) + (strcmp(c.current, "French") == 0 ? held : ""));
            if (c.welsh)
                WriteFile(folder + "/Welsh.txt", odd);
            std::string refused = c.file ? folder + "/" + c.file + ".txt" : "";
            if (c.read_only)
                chmod(refused.c_str(), 0444);
            if (c.large)
            {
                // A write past the limit fails with EFBIG instead of ending the process.
                const struct rlimit small = {limit, limit};
                signal(SIGXFSZ, SIG_IGN);
                if (setrlimit(RLIMIT_FSIZE, &small) != 0)
                    return std::string("no limit on file sizes");
            }
            const std::vector<std::string> names = vztest::Listing(folder);
            std::vector<std::string> before;
            for (const std::string& n : names)
                before.push_back(ReadFile(folder + "/" + n));
            if (!EngLanguagesInit(folder.c_str(), c.current, 0))
                return std::string("not loaded");
            // The files are renamed in the order the languages are listed.
            if (!c.file)
                refused = folder + "/" +
                          EngLanguagesGetLanguageNameInEnglish(EngLanguagesGetNumberOfLanguages() - 1) +
                          ".txt";
            std::string out;
            for (int attempt = 1; attempt <= 3; attempt++)
            {
                DebugClearLog();
                out += "try " + std::to_string(attempt) + ": ";
                const int i = EngLanguagesAddTokenAndTextToAllLanguages("NewTok", "new");
                out += i == -1 ? "refused" : "gave " + std::to_string(i);
                out += Logged("<" + refused + c.told) ? ", told why" : ", not told";
                for (size_t f = 0; f < names.size(); f++)
                    if (ReadFile(folder + "/" + names[f]) != before[f])
                        out += ", " + names[f] + " changed";
                if (vztest::Listing(folder) != names)
                    out += ", files left over";
                out += "; ";
            }
            // As the next run reads them.
            for (const char* language : {"English", "French", "Welsh"})
            {
                EngLanguagesExit();
                if (EngLanguagesInit(folder.c_str(), language, 0) &&
                    strcmp(EngLanguagesGetCurrentLanguageNameInEnglish(), language) == 0 &&
                    EngLanguagesGetTokenNumForToken("NewTok") >= 0)
                    out += std::string(language) + " has the token; ";
            }
            EngLanguagesExit();
            return out;
        };
        // The first file renamed is replaced; the rename of any other fails
        // as one onto a mount point does.
        std::string first;
        const auto busy = [&first](const std::string& target)
        {
            if (first.empty())
                first = target;
            return target == first ? vztest::RenameAnswer::Go() : vztest::RenameAnswer::Fail(EBUSY);
        };
        const std::string got =
            c.rename_fails ? vztest::RunWithRenameGate(add, busy) : vztest::RunInChild(add);
        if (not_run.Noted(got, c.name))
            continue;
        if (got.rfind(vztest::kNoRenameGate, 0) == 0)
        {
            no_gate = got;
            continue;
        }
        EXPECT_EQ(got, "try 1: refused, told why; try 2: refused, told why; try 3: refused, told why; " +
                           (c.held ? std::string(c.current) + " has the token; " : std::string()));
    }
    if (!not_run.Empty() || !no_gate.empty())
        GTEST_SKIP() << (not_run.Empty() ? "" : not_run.Why() + "; ") << no_gate;
}
// An add killed between its renames: French has the line, English not, and
// English's temporary is left beside it. The next start removes the
// temporary (and nothing else), and the add made again completes the set
// without a second line in French.
TEST_F(Languages, AnAddCutShortIsCompletedAtTheNextStart)
{
    const std::string french = kFrench + "NewTok=E new\r\n";
    WriteFile(dir.File("French.txt"), french);
    WriteFile(dir.File("English.txt.tmpAb3dE9"), kEnglish + "NewTok=new\r\n");
    const std::vector<std::string> kept = {"English.txt.tmp12345", "notes.md.tmpABCDEF",
                                           "French.txt.tmpAB-DEF"};
    for (const std::string& n : kept)
        WriteFile(dir.File(n), "not a temporary of an add");
    ASSERT_EQ(mkdir(dir.File("German.txt.tmpFOLDER").c_str(), 0755), 0);
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    std::vector<std::string> want = {".txt", "English.txt", "French.txt", "German.txt.tmpFOLDER", "notes.md"};
    want.insert(want.end(), kept.begin(), kept.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(vztest::Listing(dir.Path()), want);

    EXPECT_GE(EngLanguagesAddTokenAndTextToAllLanguages("NewTok", "new"), 0);
    EXPECT_EQ(kEnglish + "NewTok=new\r\n", ReadFile(dir.File("English.txt")));
    EXPECT_EQ(french, ReadFile(dir.File("French.txt")));
    EXPECT_EQ(vztest::Listing(dir.Path()), want);
    Restart(dir.Path(), "French");
    EXPECT_STREQ("E new", EngLanguagesGetString("NewTok"));
}

// An add killed once the current language's file was renamed over, before
// the rename of the file after it: the current language and the one renamed
// before it have the line, the last has only its temporary. The next start
// removes the temporary, and the next add of the token gives the line to the
// file still without it, once, as a restart shows in every language.
TEST_F(Languages, AnAddKilledAfterTheCurrentFilesRenameIsFinishedByTheNextAdd)
{
    WriteFile(dir.File("German.txt"), "Language=Deutsch\r\nFlagCountryCode=DE\r\n");
    const std::vector<std::string> names = vztest::Listing(dir.Path());
    // The files are renamed in the order the languages are listed: the
    // current language is the middle one.
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    ASSERT_EQ(3, EngLanguagesGetNumberOfLanguages());
    std::vector<std::string> order, before, after;
    for (int i = 0; i < 3; i++)
    {
        const std::string language = EngLanguagesGetLanguageNameInEnglish(i);
        order.push_back(language);
        before.push_back(ReadFile(dir.File(language + ".txt")));
        after.push_back(before.back() + "NewTok=" + (language == "English" ? "" : "E ") + "new\r\n");
    }
    EngLanguagesExit();
    const std::string current = order[1], current_file = dir.File(current + ".txt");

    bool current_renamed = false;
    const std::string got = vztest::RunWithRenameGate(
        [&]
        {
            if (!EngLanguagesInit(dir.Path().c_str(), current.c_str(), 0))
                return std::string("not loaded");
            EngLanguagesAddTokenAndTextToAllLanguages("NewTok", "new");
            return std::string("the add ended");
        },
        [&](const std::string& target)
        {
            if (current_renamed)
                return vztest::RenameAnswer::Kill();
            current_renamed = target == current_file;
            return vztest::RenameAnswer::Go();
        });
    if (got.rfind(vztest::kNoRenameGate, 0) == 0)
        GTEST_SKIP() << got;
    ASSERT_EQ(got, "killed");
    EXPECT_EQ(after[0], ReadFile(dir.File(order[0] + ".txt")));
    EXPECT_EQ(after[1], ReadFile(dir.File(order[1] + ".txt")));
    EXPECT_EQ(before[2], ReadFile(dir.File(order[2] + ".txt")));
    std::vector<std::string> left = vztest::Listing(dir.Path());
    ASSERT_EQ(names.size() + 1, left.size());
    std::vector<std::string> temporary;
    std::set_difference(left.begin(), left.end(), names.begin(), names.end(), std::back_inserter(temporary));
    ASSERT_EQ(1u, temporary.size());
    EXPECT_EQ(0u, temporary[0].rfind(order[2] + ".txt.tmp", 0)) << temporary[0];
    EXPECT_EQ(after[2], ReadFile(dir.File(temporary[0])));

    Restart(dir.Path(), current.c_str());
    EXPECT_EQ(names, vztest::Listing(dir.Path()));
    const int i = EngLanguagesAddTokenAndTextToAllLanguages("NewTok", "new");
    EXPECT_GE(i, 0);
    EXPECT_EQ(i, EngLanguagesGetTokenNumForToken("NewTok"));
    for (int l = 0; l < 3; l++)
        EXPECT_EQ(after[l], ReadFile(dir.File(order[l] + ".txt"))) << order[l];
    EXPECT_EQ(names, vztest::Listing(dir.Path()));
    for (const std::string& language : order)
    {
        SCOPED_TRACE(language);
        Restart(dir.Path(), language.c_str());
        EXPECT_STREQ(language == "English" ? "new" : "E new", EngLanguagesGetString("NewTok"));
    }
}

// Sub-text 0 of an added token gives back the text as it was given, in every
// language and after a restart; a text no line can give back is refused, and
// then no file changes.
TEST_F(Languages, AddedTextsWithHashesAndBackslashesReadBackAsGiven)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    const std::string fits(4095 - strlen("Fits=E "), 'f'); // the longest line read
    const struct
    {
        std::string token, text;
        const char* read_back; // null: the text itself
        const char* refused;   // null: added
    } cases[] = {
        {"Score", "Score #1", nullptr, nullptr},
        {"OneHash", "#", nullptr, nullptr},
        {"Runs", "a##b ###c", nullptr, nullptr},
        {"LaterRuns", "#a##b###c", nullptr, nullptr},
        {"Path", "C:\\dir\\\nD:\\", nullptr, nullptr},
        {"Escaped", "\\\\x \\#", nullptr, nullptr},
        {"Crlf", "one\r\ntwo", "one\ntwo", nullptr},
        {"Caf\xE9", "a Latin-1 token", nullptr, nullptr},
        {std::string(31, '\xE9'), "62 bytes of token in UTF-8", nullptr, nullptr},
        {"Fits", fits, nullptr, nullptr},
        {"Lone", "#1 and #2", nullptr, "a lone '#' after the first '#' would split it"},
        {"LoneLast", "a##b ###c #", nullptr, "a lone '#' after the first '#' would split it"},
        {"LoneAfterRun", "a##b#c", nullptr, "a lone '#' after the first '#' would split it"},
        {"Newdir", "C:\\new", nullptr, "a backslash before 'n' would read back as a line break"},
        {"AcrossCr", "a\\\rn", nullptr, "a backslash before 'n' would read back as a line break"},
        {"Control", "x\x85y", nullptr, "a C1 control character reads back as '?'"},
        {"TooLong", fits + "f", nullptr, "its line would pass 4095 bytes"},
        {std::string(32, '\xE9'), "x", nullptr, "Invalid token"},
        {"C1\x9F", "x", nullptr, "Invalid token"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.token);
        DebugClearLog();
        const std::string english = ReadFile(dir.File("English.txt")),
                          french = ReadFile(dir.File("French.txt"));
        int i = EngLanguagesAddTokenAndTextToAllLanguages(c.token.c_str(), c.text.c_str());
        if (c.refused)
        {
            EXPECT_EQ(-1, i);
            EXPECT_TRUE(Logged(c.refused));
            EXPECT_TRUE(english == ReadFile(dir.File("English.txt")));
            EXPECT_TRUE(french == ReadFile(dir.File("French.txt")));
            EXPECT_EQ(-1, EngLanguagesGetTokenNumForToken(c.token.c_str()));
        }
        else
            EXPECT_GE(i, 0);
    }
    for (const char* language : {"English", "French"})
    {
        SCOPED_TRACE(language);
        Restart(dir.Path(), language);
        const std::string e = strcmp(language, "English") == 0 ? "" : "E ";
        for (const auto& c : cases)
        {
            if (c.refused)
                continue;
            SCOPED_TRACE(c.token);
            int subs = 0;
            EXPECT_GE(EngLanguagesGetTokenNumAndNumSubTextsForToken(c.token.c_str(), &subs), 0);
            EXPECT_EQ(1, subs);
            EXPECT_EQ(e + (c.read_back ? c.read_back : c.text), EngLanguagesGetString(c.token.c_str()));
        }
    }
}

TEST(LanguageConversion, Utf8ToLatin1)
{
    struct Case
    {
        const char* in;
        const char* out;
        char allocated;
    };
    const Case cases[] = {
        {"plain", "plain", 0},
        {"caf\xC3\xA9", "caf\xE9", 1},
        {"\xC2\xA1\xC3\xBF", "\xA1\xFF", 1},
        {"5 \xE2\x82\xAC", "5 ?", 1},
        {"a\xC2\xA0"
         "b\xC2\xAD"
         "c\xC3\xA9\xE2\x82\xAC\xC2\x85",
         "a\xA0"
         "b\xAD"
         "c\xE9??",
         1},
        {"cut \xC3", "cut ?", 1},
        {"bad \xE2\x82x \xF4\x90\x80\x80", "bad ?x ????", 1},
    };
    for (const Case& c : cases)
    {
        std::string in = c.in;
        char allocated = 9;
        char* out = ConvertUtf8ToExtendedAscii(&in[0], &allocated);
        EXPECT_STREQ(c.out, out) << c.in;
        EXPECT_EQ(c.allocated, allocated) << c.in;
        EXPECT_EQ(c.allocated == 0, out == in.c_str());
        if (allocated)
            EngFree(out, 0, "test");
    }
    char text[] = "\xC3\xA9";
    EXPECT_EQ(text, ConvertUtf8ToExtendedAscii(text, nullptr));
    int bytes = 0;
    EXPECT_EQ(1, GetExtendedAsciiCharNum("\xC2\xA1", &bytes));
    EXPECT_EQ(2, bytes);
    EXPECT_EQ(-1, GetExtendedAsciiCharNum("A", &bytes));
    EXPECT_EQ(1, bytes);
    EXPECT_EQ(-1, GetExtendedAsciiCharNum("\xC2\xAD", &bytes));
    EXPECT_EQ(1, bytes);
}

} // namespace
