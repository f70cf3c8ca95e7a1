// The engine's one reporting channel: every message becomes one line that is
// echoed to standard output, kept in a ring of the last 200 lines, handed to an
// optional callback and appended to the log file.
#pragma once

#include "EngTypes.h"

enum DebugMsgCode
{
    DEBUG_MSG_WARNING = 0,
    DEBUG_MSG_ERROR = 1,
    DEBUG_MSG_EXIT = 2,
    DEBUG_MSG_POPUP = 3,
    DEBUG_MSG_INFO = 4,
    DEBUG_MSG_NOTE = 5,
    DEBUG_MSG_PLAIN = 6,
};

typedef int DebugNoteType;
#define DEBUG_NOTE_NONE 0
#define DEBUG_NOTE_NOT_IMPLEMENTED 2
#define DEBUG_NOTE_NOT_VERIFIED 3

#define DEBUG_MAX_MESSAGES 200
#define DEBUG_MSG_TEXT_SIZE 542
#define DEBUG_FORMAT_SIZE 512
#define DEBUG_LOG_FILENAME_SIZE 256

struct _DebugMsg
{
    char text[DEBUG_MSG_TEXT_SIZE];
    DebugMsgCode code;
    DebugNoteType note;
};

#define ENG_PRINTF(f, a) __attribute__((format(printf, f, a)))

void DebugError(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugErrorAlt(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugWarning(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
char DebugCheckOk(char cond, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
char DebugCheckOkAlt(char cond, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugInfo(const char* fmt, ...) ENG_PRINTF(1, 2);
void DebugInfoAlt(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
char DebugInfoPeriodically(double* next, double period, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugGameInfo(const char* game, const char* fmt, ...) ENG_PRINTF(2, 3);
char DebugGameInfoPeriodically(const char* game, double* next, double period, const char* fmt, ...)
    ENG_PRINTF(4, 5);
void DebugGameFuncInfo(const char* game, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugGameError(const char* game, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugNote(DebugNoteType note, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugNoteAlt(DebugNoteType note, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
char DebugNotePeriodically(DebugNoteType note, double* next, double period, const char* fmt, ...)
    ENG_PRINTF(4, 5);
void DebugGameNote(DebugNoteType note, const char* game, const char* func, const char* fmt, ...)
    ENG_PRINTF(4, 5);
void DebugPlainText(const char* fmt, ...) ENG_PRINTF(1, 2);
void DebugPrintf(DebugMsgCode code, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugPrintf2(DebugMsgCode code, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugPopup(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugExitPopup(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugExitPopupAlt(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);

// Standard output only: nothing is stored, written or passed to the callback.
void DebugErrorQuickAlt(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugInfoQuick(const char* label, const char* fmt, ...) ENG_PRINTF(2, 3);
void DebugInfoQuickAlt(const char* func, const char* fmt, ...) ENG_PRINTF(2, 3);
char DebugInfoQuickPeriodically(double* next, double period, const char* fmt, ...) ENG_PRINTF(3, 4);

// Fatal when cond is 0: logs the reason and ends the program (once per run).
void DebugAssert(char cond, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);
void DebugAssertAlt(char cond, const char* func, const char* fmt, ...) ENG_PRINTF(3, 4);

void DebugDisplayMemoryUsage(const char* label, const char* label2);
char DebugDisplayMemoryUsagePeriodically(double* next, double period, const char* label, const char* label2);
void DebugSetCurrentMemoryAsBase(const char* label);

int DebugGetNumMessages();
_DebugMsg* DebugGetMessage(int i);
void DebugClearLog();
void DebugSetMessageText(int i, const char* fmt, ...) ENG_PRINTF(2, 3);
// Also turns the log file back on.
char DebugSetLogFilename(const char* name, char delete_now);
// Lines go to the ring and standard output only, until a name is set again.
void DebugTurnOffLogFile();
const char* DebugGetLogFilename();
void DebugAppendToExistingLogFile();
void DebugSetExtraMessageLogCallback(void (*cb)(char*));

// The function name out of a signature text; free the result with
// DebugFreeShortFuncName when it differs from the input.
const char* DebugGetShortFuncName(const char* func);
void DebugFreeShortFuncName(const char* short_name, const char* func);

// Test support: forgets the once-flags and the exiting state of this run.
void DebugResetForTests();
