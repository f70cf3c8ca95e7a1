// Message boxes, program control, and small string and file-name helpers.
#include "EngMiscStrings.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngUnicode.h"
#include "EngWindow.h"
#include "Linux/EngMisc_LNX.h"
#include "Linux/EngWindow_LNX.h"

EngPopupFunction eng_popup_function = EngMiscShowPopupMessage_LNX;

namespace
{
char em_popup_message[ENG_POPUP_TEXT_MAX + 1] = "";
char em_popup_title[ENG_POPUP_TITLE_MAX + 1] = "";
char em_popup_type = 0;
char em_int_32_str[16];
} // namespace

void EngMiscSetPopupMessageTexts(char kind, const char* title, const char* text)
{
    em_popup_type = kind;
    // The boxes show UTF-8: the cuts keep whole characters.
    EngUtf8SafeStrcpy(em_popup_title, title, sizeof(em_popup_title));
    EngUtf8SafeStrcpy(em_popup_message, text, sizeof(em_popup_message));
}

bool EngMiscArePopupMessageTextsSet()
{
    return em_popup_type != 0;
}

void EngMiscShowPopupMessage(char kind, const char* title, const char* text)
{
    if (kind || title || text)
        EngMiscSetPopupMessageTexts(kind, title, text);
    // The box stands over the game's window, windowed or full screen, and
    // the game is not left for it: it is in front again once the box goes.
    if (eng_popup_function)
        eng_popup_function(em_popup_type, em_popup_title, em_popup_message);
    em_popup_type = 0;
}

bool EngMiscExitProgramNow()
{
    const bool had_device = eng_main_device != nullptr;
    const bool windowed = eng_main_window_windowed != 0;
    if (had_device)
    {
        if (eng_main_window)
        {
            eng_main_window->Destroy();
            DebugInfoAlt(__PRETTY_FUNCTION__, "Exiting main program.");
        }
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Device created but no window created");
    }
    else
        DebugInfoAlt(__PRETTY_FUNCTION__, "Exiting main program.");
    if (eng_main_program)
        eng_main_program->Exit(1);
    return !had_device || windowed;
}

void EngMiscCloseProgram()
{
    if (eng_main_program)
        eng_main_program->SetExitingFlag();
}

void EngMiscRenderAndSwapBuffers(char render, char calc_rate)
{
    if (render && eng_main_program)
    {
        eng_main_program->RenderCB();
        if (eng_main_device)
            eng_main_device->SwapBuffers();
    }
    if (calc_rate && eng_main_program)
        eng_main_program->FullLoopCalcFrameRate();
}

bool EngMiscMoveMainWindow(int x, int y)
{
    if (!eng_main_window)
        return false;
    return EngWindowMove_LNX(x, y) != 0;
}

bool EngMiscIsCharAlphaNumeric(char c, char allow_space, char allow_dot, char allow_comma, char allow_dash)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    return (allow_space && c == ' ') || (allow_dot && c == '.') || (allow_comma && c == ',') ||
           (allow_dash && c == '-');
}

const char* EngMiscStrIStr(const char* haystack, const char* needle)
{
    if (!haystack || !needle || !needle[0])
        return nullptr;
    for (const char* h = haystack; *h; h++)
    {
        size_t i = 0;
        while (needle[i] && h[i] &&
               toupper(static_cast<unsigned char>(h[i])) == toupper(static_cast<unsigned char>(needle[i])))
            i++;
        if (!needle[i])
            return h;
    }
    return nullptr;
}

bool EngMiscRemoveAnyCarriageReturnsFromEndOfString(char* s)
{
    if (!s || !s[0])
        return false;
    size_t n = strlen(s);
    while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n'))
        s[--n] = 0;
    return true;
}

const char* EngMiscGetStringFromInt32(int v)
{
    snprintf(em_int_32_str, sizeof(em_int_32_str), "%d", v);
    return em_int_32_str;
}

char* EngMiscShowBinary(EngUInt32, int, char* out)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported on unix systems yet");
    if (out)
        strcpy(out, "Not Supported");
    return out;
}

const char* EngMiscGetFilenameInPathWithFilenameString(const char* path, int* sep_pos, int* length, char log)
{
    if (!path || !path[0])
    {
        if (log)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No path");
        return nullptr;
    }
    int len = int(strlen(path));
    if (length)
        *length = len;
    if (len < 2)
    {
        if (log)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Path too small");
        return nullptr;
    }
    for (int i = len - 2; i >= 0; i--)
    {
        if (path[i] == '/' || path[i] == '\\')
        {
            if (sep_pos)
                *sep_pos = i;
            return path + i + 1;
        }
    }
    if (log)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No path/filename found");
    return nullptr;
}

const char* EngMiscGetExtensionFromFilename(const char* name)
{
    if (!name || !name[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename.");
        return nullptr;
    }
    const char* dot = strrchr(name, '.');
    if (!dot || dot == name || !dot[1])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No extension in [%s].", name);
        return nullptr;
    }
    return dot + 1;
}

bool EngMiscIsFilenamePicture(const char* name)
{
    if (!name || strlen(name) <= 3)
        return false;
    const char* dot = strrchr(name, '.');
    if (!dot || dot == name || strlen(dot + 1) < 3)
        return false;
    const char* ext = dot + 1;
    return !strcasecmp(ext, "jpg") || !strcasecmp(ext, "jpeg") || !strcasecmp(ext, "tga") ||
           !strcasecmp(ext, "bmp");
}

bool EngMiscIsEmailAddressValid(const char* address, int max_len)
{
    if (!address)
        return false;
    size_t len = strlen(address);
    if (len <= 2 || (max_len > 0 && len >= size_t(max_len)))
        return false;
    int ats = 0;
    size_t at = 0;
    for (size_t i = 0; i < len; i++)
    {
        if (static_cast<signed char>(address[i]) < '!')
            return false;
        if (address[i] == '@')
        {
            ats++;
            at = i;
        }
    }
    if (ats != 1 || at == 0 || at + 1 >= len)
        return false;
    return strchr(address + at + 1, '.') != nullptr;
}
