// User-interface texts in several languages: one "<English name>.txt" file of
// token=text lines per language, the current language loaded in memory.
#pragma once

#include "EngTypes.h"

#define EL_PATH_SIZE 512
#define EL_BUFFER_SIZE 4096
#define EL_NAME_SIZE 64
#define EL_FLAG_SIZE 3
#define EL_MAX_TOKEN_LEN 63
#define EL_MAX_LINE_LEN 4095

struct _EngLangName
{
    char english[EL_NAME_SIZE];
    char english_ansi[EL_NAME_SIZE];
    char native[EL_NAME_SIZE];
    char flag_code[EL_FLAG_SIZE];
};

struct _EngLangSubText
{
    char* text;
    int length;
};

struct _EngLangToken
{
    char* token;
    int token_length;
    int num_sub_texts;
    _EngLangSubText* sub_texts;
};

struct _EngLangInfo
{
    int num_tokens;
    _EngLangToken* tokens;
};

char EngLanguagesInit(const char* dir, const char* default_lang, char english_only);
void EngLanguagesExit();
void EngLanguagesFreeLanguageTexts(_EngLangInfo* info);
char EngLangParseLanguage(int lang, char header_only);
char EngLanguagesSetCurrentLanguage(const char* english_name);
char EngLanguagesSetCurrentLanguage(int lang);
void EngLangCheckIfCurrentLangEnglish();
// Appends "token=english_text" to every language file (other languages get
// "E " before the text) on a line of its own, in the file's encoding and with
// its line ends; a UTF-16 file with an odd number of bytes is left unchanged.
// Returns the token's index, or -1. Token and text are Latin-1, the form the
// look-ups hand out, and read back as given, line feeds and '#' included
// (carriage returns are dropped). Refused, with the reason logged: a text
// with a backslash before 'n' or with a lone '#' after its first '#' (either
// would read back changed), a token or text with a C1 control (80..9F, read
// back as '?'), and a line that would pass 4095 bytes. The line reaches every
// file that lacks the token or none (then -1): a token every file holds just
// gives its index, one that an add cut short left in some files (the current
// language's among them or not) goes to the others.
int EngLanguagesAddTokenAndTextToAllLanguages(const char* token, const char* english_text);
char EngLanguagesDirListUnicodeMatchCB(int index, const char* name, const char* path, void* user);

char EngLanguagesIsSetup();
char EngLangTokenExists(const char* token);
char EngLangTokenExists(const char* token, int sub);
int EngLanguagesGetTokenNumForToken(const char* token, int sub);
int EngLanguagesGetTokenNumForToken(const char* token);
const char* EngLanguagesGetString(const char* token, int sub);
const char* EngLanguagesGetString(const char* token);
const char* EngLanguagesGetString(int token_index, int sub);
const char* EngLanguagesGetString(int token_index);
const char* EngLanguagesGetStringIfExists(const char* token, const char* fallback);
int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char* token, int* count);
int EngLanguagesGetNumTokensForCurrentLanguage();
const char* EngLanguagesGetTokenAtPos(int i);
const char* EngLanguagesGetTextAtPos(int i);
int EngLanguagesGetNumberOfLanguages();
const char* EngLanguagesGetLanguageNameInEnglish(int lang);
const char* EngLanguagesGetLanguageNameInEnglishAnsi(int lang);
const char* EngLanguagesGetLanguageNameNative(int lang);
const char* EngLanguagesGetLanguageCountryFlagCode(int lang);
const char* EngLanguagesGetCurrentLanguageNameInEnglish();
const char* EngLanguagesGetCurrentLanguageNameInEnglishAnsi();
const char* EngLanguagesGetCurrentLanguageNameNative();
const char* EngLanguagesGetCurrentLanguageFlagCode();
int EngLanguagesGetCurrentLanguageNumber();

char EngLanguagesSetStringFromTokenWithArg(const char* token, const char* a1, char* dest, int dest_size);
char EngLanguagesSetStringFromTokenWith2Args(const char* token, const char* a1, const char* a2, char* dest,
                                             int dest_size);
char EngLanguagesSetStringFromTokenWith3Args(const char* token, const char* a1, const char* a2, const char* a3,
                                             char* dest, int dest_size);

// UTF-8 to Latin-1 for the engine's 8-bit fonts, a character beyond Latin-1
// (or an ill-formed sequence) as '?'. Returns text itself (and *allocated 0)
// for plain ASCII, else an EngMalloc copy (*allocated 1).
char* ConvertUtf8ToExtendedAscii(char* text, char* allocated);
// Table index 0..127 of the two-byte sequence at text (*bytes = 2), or -1
// (*bytes = 1).
int GetExtendedAsciiCharNum(const char* text, int* bytes);
