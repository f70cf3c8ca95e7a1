// The debug log: message kinds, the ring of stored lines, the log file.
#include "EngDebug.h"

// Texts are cut to their buffers on purpose.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wformat-truncation"
#endif

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

#include "EngFile.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngMiscTime.h"
#include "EngProgram.h"
#include "EngUnicode.h"
#include "EngWindow.h"

namespace
{

const char debug_prefixes[7][20] = {"<WARNING>", " <ERROR> ", " <EXIT>  ", " <POPUP> ", " : ", " * ", ""};
const char debug_default_log_filename[] = "ErrorLog.txt";

_DebugMsg debug_messages[DEBUG_MAX_MESSAGES];
int cdebug_num_messages = 0;
char cd_log_filename[DEBUG_LOG_FILENAME_SIZE] = "ErrorLog.txt";
char cdebug_first_time_file_open = 1;
char cdebug_file_off = 0;
// Per thread: it keeps the file layer's own reports out of the log while this
// thread writes a line, and must not drop the lines of other threads.
thread_local char cdebug_writing_messages = 0;
char cdebug_exiting = 0;
void (*debug_message_log_cb)(char*) = nullptr;
float cdebug_memory_base = 0.0f;
char debug_format_str[DEBUG_FORMAT_SIZE];
char debug_full_str[DEBUG_FORMAT_SIZE];
char debug_temp1_str[DEBUG_MSG_TEXT_SIZE];
char debug_temp3_str[DEBUG_MSG_TEXT_SIZE];
char debug_assert_fired = 0;
char debug_assert_alt_fired = 0;

// Real recursive locks: OpenAL, GTK and libcurl run threads of their own.
// Each lock is waited for at most 5 seconds, then the caller goes on.
std::recursive_timed_mutex cdebug_outer_mutex, cdebug_mutex, cdebug_file_mutex;

class DebugLock
{
public:
    explicit DebugLock(std::recursive_timed_mutex& m) : mutex(m)
    {
        locked = mutex.try_lock_for(std::chrono::seconds(5));
    }
    ~DebugLock() { Release(); }
    void Release()
    {
        if (locked)
            mutex.unlock();
        locked = false;
    }

private:
    std::recursive_timed_mutex& mutex;
    bool locked;
};

// Copies the short name of func into a heap block owned by the caller (or
// returns func itself).
class ShortName
{
public:
    explicit ShortName(const char* func) : full(func), name(DebugGetShortFuncName(func)) {}
    ~ShortName() { DebugFreeShortFuncName(name, full); }
    const char* Get() const { return name; }

private:
    const char* full;
    const char* name;
};

void AppendLastMessageToFile()
{
    cdebug_writing_messages = 1;
    if (cdebug_num_messages == 0 || cdebug_file_off)
    {
        cdebug_writing_messages = 0;
        return;
    }
    // One attempt only: a file that cannot be deleted must not hang the log.
    if (cdebug_first_time_file_open && access(cd_log_filename, F_OK) == 0)
        unlink(cd_log_filename);
    {
        DebugLock lock(cdebug_file_mutex);
        // Never waits on a FIFO or writes into a device or through a link.
        FILE* f = EngFileOpenRegularStream(cd_log_filename, cdebug_first_time_file_open ? "w" : "a",
                                           O_NOFOLLOW, nullptr);
        if (f)
        {
            cdebug_first_time_file_open = 0;
            fprintf(f, "%s\n", debug_messages[cdebug_num_messages - 1].text);
            fclose(f);
        }
    }
    cdebug_writing_messages = 0;
}

void EndProgramAfterExitMessage(const char* text)
{
    const char* marker = strstr(text, "<EXIT> ");
    const char* reason = marker ? marker + strlen("<EXIT> ") : text;
    EngMainForceExitOfMainProgramNow("INTERNAL PROGRAM ERROR", reason);
    EngMainCallExit(-1);
}

void AddFormattedMsg(DebugMsgCode code, DebugNoteType note, const char* text)
{
    {
        DebugLock lock(cdebug_mutex);
        if (code < 0 || code > DEBUG_MSG_PLAIN)
            return;
        EngSafeStrcpy(debug_temp1_str, text, sizeof(debug_temp1_str));
        _DebugMsg& slot = debug_messages[cdebug_num_messages];
        slot.code = code;
        slot.note = note;
        if (debug_temp1_str[0])
        {
            if (code == DEBUG_MSG_PLAIN)
                snprintf(slot.text, sizeof(slot.text), "%s", debug_temp1_str);
            else
                snprintf(slot.text, sizeof(slot.text), "%s %s", debug_prefixes[code], debug_temp1_str);
            if (debug_message_log_cb)
                debug_message_log_cb(slot.text);
            cdebug_num_messages++;
            AppendLastMessageToFile();
            if (cdebug_num_messages >= DEBUG_MAX_MESSAGES)
            {
                cdebug_num_messages = DEBUG_MAX_MESSAGES / 2;
                snprintf(debug_messages[0].text, sizeof(debug_messages[0].text), "--- LOGS REMOVED ---");
                debug_messages[0].code = DEBUG_MSG_PLAIN;
                debug_messages[0].note = DEBUG_NOTE_NONE;
            }
        }
    }
    printf("%s\n", text);
    fflush(stdout);
    if (code == DEBUG_MSG_EXIT)
    {
        cdebug_exiting = 1;
        EndProgramAfterExitMessage(text);
    }
    else if (code == DEBUG_MSG_POPUP)
    {
        if (eng_main_window)
            eng_main_window->ShowCursor(1);
        EngMiscShowPopupMessage(1, "Warning", text);
    }
}

void DoString(DebugMsgCode code, DebugNoteType note, const char* text)
{
    if (cdebug_exiting || cdebug_writing_messages || !text)
        return;
    size_t len = strlen(text);
    if (len <= 482)
    {
        AddFormattedMsg(code, note, text);
        return;
    }
    // Both cuts (the formatting buffer's and this one) keep whole characters.
    printf("%.*s\n", int(EngUtf8TrimCutTail(text, len)), text);
    char* copy = static_cast<char*>(malloc(512));
    if (!copy)
        return;
    size_t keep = EngUtf8CutLength(text, 462);
    memcpy(copy, text, keep);
    strcpy(copy + keep, " ... (TRUNCATED)");
    AddFormattedMsg(code, note, copy);
    free(copy);
}

// A text cut to the buffer loses a character split by the cut.
void FormatInto(char* out, size_t size, const char* fmt, va_list ap)
{
    if (!fmt)
    {
        out[0] = 0;
        return;
    }
    if (vsnprintf(out, size, fmt, ap) >= int(size))
        out[EngUtf8TrimCutTail(out, size - 1)] = 0;
}

// "( func )    text" under the given code.
void StoreDecorated(DebugMsgCode code, const char* func, const char* fmt, va_list ap)
{
    FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap);
    snprintf(debug_full_str, sizeof(debug_full_str), "( %s )    %s", func ? func : "", debug_format_str);
    DoString(code, DEBUG_NOTE_NONE, debug_full_str);
}

void StorePlain(DebugMsgCode code, DebugNoteType note, const char* fmt, va_list ap)
{
    FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap);
    DoString(code, note, debug_format_str);
}

void StoreArrow(DebugMsgCode code, DebugNoteType note, const char* func, const char* fmt, va_list ap)
{
    ShortName name(func);
    FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap);
    snprintf(debug_full_str, sizeof(debug_full_str), "%s > %s", name.Get() ? name.Get() : "",
             debug_format_str);
    DoString(code, note, debug_full_str);
}

bool PeriodDue(double* next, double period)
{
    if (!next || eng_main_current_time < *next)
        return false;
    *next = eng_main_current_time + period;
    return true;
}

bool ProgramAcceptsPopups()
{
    return eng_main_program && !eng_main_program->IsExiting();
}

// Popup texts: "( func )     text" (five blanks), or the text alone.
void StorePopup(DebugMsgCode code, const char* func, const char* fmt, va_list ap, DebugLock& outer)
{
    FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap);
    if (func && func[0])
        snprintf(debug_full_str, sizeof(debug_full_str), "( %s )     %s", func, debug_format_str);
    else
        snprintf(debug_full_str, sizeof(debug_full_str), "%s", debug_format_str);
    outer.Release();
    DoString(code, DEBUG_NOTE_NONE, debug_full_str);
}

void AssertFailed(char& fired, const char* func, const char* fmt, va_list ap)
{
    if (fired)
        return;
    fired = 1;
    DoString(DEBUG_MSG_PLAIN, DEBUG_NOTE_NONE, " ");
    DoString(DEBUG_MSG_PLAIN, DEBUG_NOTE_NONE, "EXITING DUE TO FOLLOWING ERROR:");
    DoString(DEBUG_MSG_PLAIN, DEBUG_NOTE_NONE, " ");
    FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap);
    snprintf(debug_full_str, sizeof(debug_full_str), "( %s )    %s", func ? func : "", debug_format_str);
    DoString(DEBUG_MSG_ERROR, DEBUG_NOTE_NONE, debug_full_str);
    snprintf(debug_temp3_str, sizeof(debug_temp3_str), "Reason:\n\n%s", debug_full_str);
    EngMainForceExitOfMainProgramNow("INTERNAL PROGRAM ERROR", debug_temp3_str);
    EngMainCallExit(-1);
}

void QuickPrint(const char* label, const char* fmt, va_list ap)
{
    char* block = static_cast<char*>(EngMalloc(DEBUG_MSG_TEXT_SIZE, nullptr, 0));
    if (!block)
        return;
    FormatInto(block, 512, fmt, ap);
    if (label)
        printf("%s > %s\n", label, block);
    else
        printf("%s\n", block);
    EngFree(block, 0, nullptr);
}

} // namespace

const char* DebugGetShortFuncName(const char* func)
{
    if (!func || !func[0])
        return func;
    size_t len = strlen(func);
    char* copy = static_cast<char*>(malloc(len + 1));
    if (!copy)
        return func;
    size_t n = 0;
    for (const char* p = func; *p; p++)
    {
        char c = *p;
        if (c == ' ')
            n = 0;
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' ||
                 c == ':' || c == '_')
            copy[n++] = c;
        else
        {
            copy[n] = 0;
            return copy;
        }
    }
    free(copy);
    return func;
}

void DebugFreeShortFuncName(const char* short_name, const char* func)
{
    if (short_name && short_name != func)
        free(const_cast<char*>(short_name));
}

#define DEBUG_VA(call)                                                                                       \
    do                                                                                                       \
    {                                                                                                        \
        va_list ap;                                                                                          \
        va_start(ap, fmt);                                                                                   \
        call;                                                                                                \
        va_end(ap);                                                                                          \
    } while (0)

void DebugError(const char* func, const char* fmt, ...)
{
    if (cdebug_writing_messages)
        return;
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreDecorated(DEBUG_MSG_ERROR, func, fmt, ap));
}

void DebugErrorAlt(const char* func, const char* fmt, ...)
{
    if (cdebug_writing_messages)
        return;
    DebugLock outer(cdebug_outer_mutex);
    ShortName name(func);
    DEBUG_VA(StoreDecorated(DEBUG_MSG_ERROR, name.Get(), fmt, ap));
}

void DebugWarning(const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreDecorated(DEBUG_MSG_WARNING, func, fmt, ap));
}

char DebugCheckOk(char cond, const char* func, const char* fmt, ...)
{
    if (cond)
        return 1;
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreDecorated(DEBUG_MSG_ERROR, func, fmt, ap));
    return 0;
}

char DebugCheckOkAlt(char cond, const char* func, const char* fmt, ...)
{
    if (cond)
        return 1;
    DebugLock outer(cdebug_outer_mutex);
    ShortName name(func);
    DEBUG_VA(StoreDecorated(DEBUG_MSG_ERROR, name.Get(), fmt, ap));
    return 0;
}

void DebugInfo(const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StorePlain(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, fmt, ap));
}

void DebugInfoAlt(const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreArrow(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, func, fmt, ap));
}

char DebugInfoPeriodically(double* next, double period, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!PeriodDue(next, period))
        return 0;
    DEBUG_VA(StorePlain(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, fmt, ap));
    return 1;
}

namespace
{
bool FormatGameInfo(const char* game, const char* fmt, va_list ap)
{
    if (!game)
        return false;
    size_t glen = strlen(game);
    if (glen + 1 > 510)
        return false;
    snprintf(debug_full_str, sizeof(debug_full_str), "%s:", game);
    FormatInto(debug_full_str + glen + 1, sizeof(debug_full_str) - glen - 1, fmt, ap);
    return true;
}
} // namespace

void DebugGameInfo(const char* game, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    bool ok;
    DEBUG_VA(ok = FormatGameInfo(game, fmt, ap));
    if (ok)
        DoString(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, debug_full_str);
}

char DebugGameInfoPeriodically(const char* game, double* next, double period, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!game || strlen(game) + 1 > 510)
        return 0;
    if (!PeriodDue(next, period))
        return 0;
    DEBUG_VA(FormatGameInfo(game, fmt, ap));
    DoString(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, debug_full_str);
    return 1;
}

void DebugGameFuncInfo(const char* game, const char* func, const char* fmt, ...)
{
    if (!game || !func)
        return;
    DebugLock outer(cdebug_outer_mutex);
    ShortName name(func);
    size_t used = strlen(game) + strlen(name.Get()) + 5;
    if (used > 510)
        return;
    snprintf(debug_full_str, sizeof(debug_full_str), "%s: %s > ", game, name.Get());
    DEBUG_VA(FormatInto(debug_full_str + used, sizeof(debug_full_str) - used, fmt, ap));
    DoString(DEBUG_MSG_INFO, DEBUG_NOTE_NONE, debug_full_str);
}

void DebugGameError(const char* game, const char* func, const char* fmt, ...)
{
    if (!game || cdebug_writing_messages)
        return;
    DebugLock outer(cdebug_outer_mutex);
    ShortName name(func);
    DEBUG_VA(FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap));
    snprintf(debug_full_str, sizeof(debug_full_str), "%s: %s > %s", game, name.Get() ? name.Get() : "",
             debug_format_str);
    DoString(DEBUG_MSG_ERROR, DEBUG_NOTE_NONE, debug_full_str);
}

void DebugNote(DebugNoteType note, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StorePlain(DEBUG_MSG_NOTE, note, fmt, ap));
}

void DebugNoteAlt(DebugNoteType note, const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreArrow(DEBUG_MSG_NOTE, note, func, fmt, ap));
}

char DebugNotePeriodically(DebugNoteType note, double* next, double period, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!PeriodDue(next, period))
        return 0;
    DEBUG_VA(StorePlain(DEBUG_MSG_NOTE, note, fmt, ap));
    return 1;
}

void DebugGameNote(DebugNoteType note, const char* game, const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(FormatInto(debug_format_str, sizeof(debug_format_str), fmt, ap));
    if (func)
    {
        ShortName name(func);
        if (game)
            snprintf(debug_full_str, sizeof(debug_full_str), "%s: %s > %s", game, name.Get(), debug_format_str);
        else
            snprintf(debug_full_str, sizeof(debug_full_str), "%s > %s", name.Get(), debug_format_str);
    }
    else if (game)
        snprintf(debug_full_str, sizeof(debug_full_str), "%s: %s", game, debug_format_str);
    else
        snprintf(debug_full_str, sizeof(debug_full_str), "%s", debug_format_str);
    DoString(DEBUG_MSG_NOTE, note, debug_full_str);
}

void DebugPlainText(const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StorePlain(DEBUG_MSG_PLAIN, DEBUG_NOTE_NONE, fmt, ap));
}

void DebugPrintf(DebugMsgCode code, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StorePlain(code, DEBUG_NOTE_NONE, fmt, ap));
}

void DebugPrintf2(DebugMsgCode code, const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(StoreDecorated(code, func, fmt, ap));
}

void DebugPopup(const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!ProgramAcceptsPopups())
        return;
    DEBUG_VA(StorePopup(DEBUG_MSG_POPUP, func, fmt, ap, outer));
}

void DebugExitPopup(const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!ProgramAcceptsPopups())
        return;
    DEBUG_VA(StorePopup(DEBUG_MSG_EXIT, func, fmt, ap, outer));
}

void DebugExitPopupAlt(const char* func, const char* fmt, ...)
{
    DebugLock outer(cdebug_outer_mutex);
    if (!ProgramAcceptsPopups())
        return;
    ShortName name(func);
    DEBUG_VA(StorePopup(DEBUG_MSG_EXIT, name.Get(), fmt, ap, outer));
}

void DebugErrorQuickAlt(const char* func, const char* fmt, ...)
{
    if (cdebug_writing_messages)
        return;
    ShortName name(func);
    char text[DEBUG_FORMAT_SIZE];
    DEBUG_VA(FormatInto(text, sizeof(text), fmt, ap));
    printf("%s > %s\n", name.Get() ? name.Get() : "", text);
}

void DebugInfoQuick(const char* label, const char* fmt, ...)
{
    DEBUG_VA(QuickPrint(label, fmt, ap));
}

void DebugInfoQuickAlt(const char* func, const char* fmt, ...)
{
    ShortName name(func);
    DEBUG_VA(QuickPrint(name.Get() ? name.Get() : "", fmt, ap));
}

char DebugInfoQuickPeriodically(double* next, double period, const char* fmt, ...)
{
    if (!PeriodDue(next, period))
        return 0;
    DEBUG_VA(QuickPrint(nullptr, fmt, ap));
    return 1;
}

void DebugAssert(char cond, const char* func, const char* fmt, ...)
{
    if (cond)
        return;
    DebugLock outer(cdebug_outer_mutex);
    outer.Release();
    DEBUG_VA(AssertFailed(debug_assert_fired, func, fmt, ap));
}

void DebugAssertAlt(char cond, const char* func, const char* fmt, ...)
{
    if (cond)
        return;
    ShortName name(func);
    DEBUG_VA(AssertFailed(debug_assert_alt_fired, name.Get(), fmt, ap));
}

void DebugDisplayMemoryUsage(const char* label, const char* label2)
{
    float use = 0;
    if (!EngMiscGetProgramsMemoryUsageMB(&use))
        return;
    if (cdebug_memory_base == 0)
        cdebug_memory_base = use;
    char change[12] = "";
    if (cdebug_memory_base > 0)
    {
        float ratio = use * 100.0f / cdebug_memory_base;
        if (ratio >= 100)
            snprintf(change, sizeof(change), "+%.3f%%", ratio - 100);
        else
            snprintf(change, sizeof(change), "-%.3f%%", 100 - ratio);
    }
    if (label && label2)
        DebugInfo("[ Mem: %.3f (%s)  ] (%s - %s)", use, change, label, label2);
    else if (label)
        DebugInfo("[ Mem: %.3f (%s) ] (%s)", use, change, label);
    else
        DebugInfo("[ Mem: %.3f (%s) ]", use, change);
}

char DebugDisplayMemoryUsagePeriodically(double* next, double period, const char* label, const char* label2)
{
    if (!PeriodDue(next, period))
        return 0;
    DebugDisplayMemoryUsage(label, label2);
    return 1;
}

void DebugSetCurrentMemoryAsBase(const char* label)
{
    float use = 0;
    if (!EngMiscGetProgramsMemoryUsageMB(&use))
        return;
    if (label)
        DebugInfo("[ Memory base: %.2f ] (%s)", use, label);
    cdebug_memory_base = use;
}

int DebugGetNumMessages()
{
    return cdebug_num_messages;
}

_DebugMsg* DebugGetMessage(int i)
{
    if (i < 0 || i >= cdebug_num_messages)
        return nullptr;
    return &debug_messages[i];
}

void DebugClearLog()
{
    cdebug_num_messages = 0;
}

void DebugSetMessageText(int i, const char* fmt, ...)
{
    if (i < 0 || i >= DEBUG_MAX_MESSAGES)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid message index %d", i);
        return;
    }
    DebugLock outer(cdebug_outer_mutex);
    DEBUG_VA(FormatInto(debug_messages[i].text, sizeof(debug_messages[i].text), fmt, ap));
    debug_messages[i].code = DEBUG_MSG_PLAIN;
    if (i >= cdebug_num_messages)
        DebugInfo(" ");
}

char DebugSetLogFilename(const char* name, char delete_now)
{
    cdebug_file_off = 0;
    if (!name || !name[0])
        EngSafeStrcpy(cd_log_filename, debug_default_log_filename, sizeof(cd_log_filename));
    else if (strlen(name) >= DEBUG_LOG_FILENAME_SIZE)
    {
        EngSafeStrcpy(cd_log_filename, debug_default_log_filename, sizeof(cd_log_filename));
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return 0;
    }
    else
        EngSafeStrcpy(cd_log_filename, name, sizeof(cd_log_filename));
    if (delete_now && cdebug_first_time_file_open && access(cd_log_filename, F_OK) == 0)
        unlink(cd_log_filename);
    return 1;
}

void DebugTurnOffLogFile()
{
    cdebug_file_off = 1;
}

const char* DebugGetLogFilename()
{
    return cd_log_filename;
}

void DebugAppendToExistingLogFile()
{
    cdebug_first_time_file_open = 0;
}

void DebugSetExtraMessageLogCallback(void (*cb)(char*))
{
    debug_message_log_cb = cb;
}

void DebugResetForTests()
{
    cdebug_num_messages = 0;
    cdebug_exiting = 0;
    cdebug_writing_messages = 0;
    cdebug_first_time_file_open = 1;
    cdebug_file_off = 0;
    debug_assert_fired = 0;
    debug_assert_alt_fired = 0;
    cdebug_memory_base = 0;
    debug_message_log_cb = nullptr;
    EngSafeStrcpy(cd_log_filename, debug_default_log_filename, sizeof(cd_log_filename));
}
