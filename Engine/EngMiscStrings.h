// Message boxes, program control, and small string and file-name helpers.
#pragma once

#include "EngTypes.h"

// Every message box goes through this function; tests replace it with a
// recorder. The default is the platform box (standard error without a display).
typedef void (*EngPopupFunction)(char kind, const char* title, const char* text);
extern EngPopupFunction eng_popup_function;

// The longest title and text (bytes) a message box shows; longer ones are cut.
#define ENG_POPUP_TITLE_MAX 99
#define ENG_POPUP_TEXT_MAX 399

// Stores kind, title (up to 99 bytes) and text (up to 399).
void EngMiscSetPopupMessageTexts(char kind, const char* title, const char* text);
bool EngMiscArePopupMessageTextsSet();
// The engine's one modal message box. Kinds 1 and 2 caution, 3 note, others
// plain. Without kind, title and text the stored texts are shown.
void EngMiscShowPopupMessage(char kind, const char* title, const char* text);

// Closes the window and the program; false when a box cannot be shown now.
bool EngMiscExitProgramNow();
// Asks the running program to leave its main loop.
void EngMiscCloseProgram();
void EngMiscRenderAndSwapBuffers(char render, char calc_rate);
bool EngMiscMoveMainWindow(int x, int y);

bool EngMiscIsCharAlphaNumeric(char c, char allow_space, char allow_dot, char allow_comma, char allow_dash);
const char* EngMiscStrIStr(const char* haystack, const char* needle);
bool EngMiscRemoveAnyCarriageReturnsFromEndOfString(char* s);
const char* EngMiscGetStringFromInt32(int v);
char* EngMiscShowBinary(EngUInt32 value, int bits, char* out);

// The name after the last '/' or '\\' that is not the final character.
const char* EngMiscGetFilenameInPathWithFilenameString(const char* path, int* sep_pos, int* length, char log);
const char* EngMiscGetExtensionFromFilename(const char* name);
bool EngMiscIsFilenamePicture(const char* name);
bool EngMiscIsEmailAddressValid(const char* address, int max_len);
