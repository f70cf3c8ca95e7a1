// Memory and process helpers.
#include "EngMain.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <pthread.h>
#include <strings.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMiscPlatform.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "Linux/EngMisc_LNX.h"

namespace
{
char eng_four_char_id_str[5] = "XXXX";
// Test support: allocations left before EngMalloc fails once (-1: never).
int eng_malloc_fail_countdown = -1;
} // namespace

void EngMainFailAllocationForTests(int after)
{
    eng_malloc_fail_countdown = after;
}

void* EngMalloc(size_t size, const char* owner, char zero)
{
    if (size == 0)
    {
        if (owner)
            DebugError(owner, "EngMalloc: Zero size");
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Zero size");
        return nullptr;
    }
    void* p = nullptr;
    if (eng_malloc_fail_countdown != 0)
        p = malloc(size);
    if (eng_malloc_fail_countdown >= 0)
        eng_malloc_fail_countdown--;
    if (!p)
    {
        if (owner)
            DebugError(owner, "EngMalloc: No memory");
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return nullptr;
    }
    if (zero)
        memset(p, 0, size);
    return p;
}

void* EngRealloc(void* old, size_t size, const char* owner)
{
    if (size == 0)
    {
        if (owner)
            DebugError(owner, "EngRealloc: Zero size");
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Zero size");
        return nullptr;
    }
    if (!old)
    {
        if (owner)
            DebugError(owner, "EngRealloc: No old memory pointer");
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "No old memory pointer");
        return nullptr;
    }
    void* p = realloc(old, size);
    if (!p)
    {
        if (owner)
            DebugError(owner, "EngRealloc: No memory");
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
    }
    return p;
}

void EngFree(void* p, char complain_if_null, const char* owner)
{
    if (p)
    {
        free(p);
        return;
    }
    if (!complain_if_null)
        return;
    if (owner)
        DebugError(owner, "EngMalloc: Zero size");
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Zero size");
}

bool EngMemoryBudget::Fits(size_t n)
{
    if (used <= cap && n <= cap - used)
        return true;
    refused = true;
    return false;
}

void* EngMemoryBudget::Alloc(size_t n)
{
    void* p = Fits(n) ? malloc(n) : nullptr;
    if (p)
        used += malloc_usable_size(p);
    return p;
}

void* EngMemoryBudget::Realloc(void* p, size_t n)
{
    const size_t old = p ? malloc_usable_size(p) : 0;
    void* q = Fits(n) ? realloc(p, n) : nullptr;
    if (q)
        used = used - old + malloc_usable_size(q);
    return q;
}

void EngMemoryBudget::Free(void* p)
{
    if (!p)
        return;
    const size_t n = malloc_usable_size(p);
    used = n < used ? used - n : 0;
    free(p);
}

char* EngSafeStrcpy(char* dst, const char* src, size_t size)
{
    if (!dst)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No string");
        return dst;
    }
    if (size == 0)
        return dst;
    if (!src || !src[0])
    {
        dst[0] = 0;
        return dst;
    }
    strncpy(dst, src, size);
    dst[size - 1] = 0;
    return dst;
}

const char* ENG_STRISTR(const char* text, const char* find)
{
    if (text && !text[0])
        return nullptr;
    if (!text || !find || !find[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return nullptr;
    }
    size_t tl = strlen(text), fl = strlen(find);
    if (fl > tl)
        return nullptr;
    for (size_t i = 0; i <= tl - fl; i++)
        if (strncasecmp(text + i, find, fl) == 0)
            return text + i;
    return nullptr;
}

char* EngGetFourCharIDAsString(unsigned int id)
{
    eng_four_char_id_str[0] = char((id >> 24) & 0xff);
    eng_four_char_id_str[1] = char((id >> 16) & 0xff);
    eng_four_char_id_str[2] = char((id >> 8) & 0xff);
    eng_four_char_id_str[3] = char(id & 0xff);
    eng_four_char_id_str[4] = 0;
    return eng_four_char_id_str;
}

_ColourRGBA* EngMainSetColourRGBA(_ColourRGBA* c, float r, float g, float b, float a)
{
    if (c)
    {
        c->r = r;
        c->g = g;
        c->b = b;
        c->a = a;
    }
    return c;
}

char EngMainIsThisTheMainThread()
{
    return syscall(SYS_gettid) == getpid() ? 1 : 0;
}

char EngMainIsCurrentDeviceTypeGL()
{
    return eng_main_device_type == 1 ? 1 : 0;
}

char EngMainIsCurrentDeviceTypeDX9()
{
    return 0;
}

char EngMainIsCurrentDeviceTypeDX11()
{
    return 0;
}

void EngMainCallExit(int status)
{
    DebugInfoAlt(__PRETTY_FUNCTION__, "Exiting.");
    if (EngMainIsThisTheMainThread())
        exit(status);
    DebugErrorAlt(__PRETTY_FUNCTION__, "Exiting thread...");
    pthread_exit(nullptr);
}

void EngMainForceExitOfMainProgramNow(const char* title, const char* text)
{
    if (eng_main_program)
        eng_main_program->ForceExitNow(title, text);
}

EngOkCancelFunction eng_ok_cancel_popup_function = EngMiscShowOkCancelPopup_LNX;

void EngMainShowErrorAndLogFilePopupOnExit()
{
    // Once the window is gone the desktop is back, so the alert shows after a
    // full-screen run as well.
    EngMiscExitProgramNow();
    const char* log = DebugGetLogFilename();
    if (!log || !log[0] || !EngFileExists(log))
    {
        EngMiscShowPopupMessage(2, "Error Running Program",
                                "The program had to terminate prematurely. No error logs were generated.");
        return;
    }
    if (!eng_ok_cancel_popup_function ||
        !eng_ok_cancel_popup_function(
            2, "Error Running Program",
            "The program had to terminate prematurely.\n\nDo you wish to see the log file ?"))
        return;
    // The whole path as one argument: no shell, no quoting, no cut.
    EngMiscOpenWithDefaultProgram(log);
}
