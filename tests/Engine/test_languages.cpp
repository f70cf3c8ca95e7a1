// Language files: loading two languages, look-ups, sub-texts, templates,
// adding tokens, Latin-1 conversion and the silent not-loaded state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "support/TestSupport.h"

using vztest::Logged;
using vztest::ReadFile;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

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

// An added text is Latin-1, the form the look-ups hand out: the files get it
// in UTF-8 and every look-up gives back the bytes that were added.
TEST_F(Languages, AddedTextsAreLatin1AndTheFilesStayUtf8)
{
    ASSERT_EQ(1, EngLanguagesInit(dir.Path().c_str(), nullptr, 0));
    const struct
    {
        const char* token;
        const char* text;
        const char* in_file;
    } cases[] = {
        {"Latin1", "caf\xE9 \xA9", "caf\xC3\xA9 \xC2\xA9"},
        // UTF-8 bytes taken as the Latin-1 letters they are.
        {"Utf8", "caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},
        {"Plain", "cafe", "cafe"},
    };
    std::string english = kEnglish, french = kFrench;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.token);
        ASSERT_GE(EngLanguagesAddTokenAndTextToAllLanguages(c.token, c.text), 0);
        EXPECT_STREQ(c.text, EngLanguagesGetString(c.token));
        english += std::string(c.token) + "=" + c.in_file + "\r\n";
        french += std::string(c.token) + "=E " + c.in_file + "\r\n";
        EXPECT_EQ(english, ReadFile(dir.File("English.txt")));
        EXPECT_EQ(french, ReadFile(dir.File("French.txt")));
    }
    ASSERT_EQ(1, EngLanguagesSetCurrentLanguage("French"));
    for (const auto& c : cases)
        EXPECT_EQ("E " + std::string(c.text), EngLanguagesGetString(c.token)) << c.token;
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
