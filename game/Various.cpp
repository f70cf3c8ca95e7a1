#include "Various.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngClipboard_LNX.h"
#include "MWin/MWinPopup.h"
#include "OnlineHooks.h"

char various_online_str[VARIOUS_ONLINE_STR_SIZE] = "";

char VariousGoOnline(MWin* gui, const char* question, const char* url, char ask_full_screen,
                     char ask_windowed, char exit_full_screen, char exit_windowed)
{
    if (!url || !url[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No url");
        return 0;
    }
    if (strlen(url) >= VARIOUS_MAX_URL_LENGTH)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Path too long");
        return 0;
    }
    if (url != various_online_str)
        EngSafeStrcpy(various_online_str, url, sizeof(various_online_str));

    char ask = eng_main_window_windowed ? ask_windowed : ask_full_screen;
    char exit = eng_main_window_windowed ? exit_windowed : exit_full_screen;
    if (!gui || !ask)
    {
        if (exit)
            VariousGoOnline2(gui, 1, nullptr);
        else
            VariousGoOnlineNow(various_online_str);
        return 1;
    }
    const char* text;
    if (exit)
    {
        text = question && question[0] ? question
                                       : EngLanguagesGetStringIfExists("Various_ExitProgramAndGoOnline",
                                                                       "Exit Program and Go Online ?");
        MWinPopupOkCancel(gui, nullptr, text, VariousGoOnline2, nullptr);
    }
    else
    {
        text = question && question[0] ? question
                                       : EngLanguagesGetStringIfExists("Various_GoOnline", "Go Online ?");
        MWinPopupOkCancel(gui, nullptr, text, VariousGoOnline3, nullptr);
    }
    return 1;
}

char VariousGoOnlineToKestrelbay(MWin* gui, const char* question, const char* page, char ask_full_screen,
                                 char ask_windowed, char exit_full_screen, char exit_windowed)
{
    std::string url = OnlineGetSiteRoot();
    if (page && page[0])
        url += std::string("/") + page;
    return VariousGoOnline(gui, question, url.c_str(), ask_full_screen, ask_windowed, exit_full_screen,
                           exit_windowed);
}

void VariousGoOnlineNow(const char* url)
{
    if (!url || !url[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No url");
        return;
    }
    OnlineOpen(url);
}

void VariousGoOnline2(MWin*, char result, void*)
{
    if (result != 1)
        return;
    if (eng_main_program)
    {
        eng_main_program->SetAfterExitCB(VariousGoOnline4);
        eng_main_program->Exit(1);
    }
    else
        VariousGoOnlineNow(various_online_str);
}

void VariousGoOnline3(MWin*, char result, void*)
{
    if (result != 1)
        return;
    if (!eng_main_window_windowed)
        OnlineToggleFullscreen();
    VariousGoOnlineNow(various_online_str);
}

void VariousGoOnline4()
{
    VariousGoOnlineNow(various_online_str);
}

char VariousCopyClipboardFromString(const char* text)
{
    if (!text)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (!text[0])
        return 0;
    return EngClipboardSetText_LNX(text);
}

char VariousPasteClipboardToString(char* buffer, int size)
{
    if (!buffer || size <= 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    std::string text;
    if (!EngClipboardGetText_LNX(&text))
        return 0;
    size_t len = text.size();
    if (len == 0 || len >= (size_t)size - 1)
        return 0;
    memcpy(buffer, text.data(), len);
    buffer[len] = 0;
    return 1;
}
