// A program on the engine, full screen or in a window, that shows a box of
// its own over its window once it has run a while, and goes on drawing after
// it. It starts as the game does, with a dialog kit window whose one button,
// clicked, opens the program's window. Arguments: the box ("message", "log",
// "question", "interface", "kit", or "none" for no box), "full" or "window",
// the log file, and for "interface" the interface file. Prints "WINDOW <xid>"
// once its window is up, "BOX" just before the box, "CLOSED" after it, "KEY
// <code>" for every key it is given, "ACTIVATED <a>" and "MINIMISED <m>" as
// the window tells it, and "FRAMES <n> ACTIVE <a> MINIMISED <m>" once n frames
// were drawn after the box; the key 'k' given after that ends it, and so does
// a termination signal.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngGui_LNX.h"
#include "Linux/EngWindow_LNX.h"
#include "SWin.h"
#include "support/TestMainFunctions.h"

namespace
{

const int TICKS_BEFORE_BOX = 30;
const int FRAMES_AFTER_BOX = 60;

std::string box_kind, box_file;

void Say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    printf("\n");
    fflush(stdout);
}

GtkWidget* FindEntry(GtkWidget* w)
{
    if (GTK_IS_ENTRY(w))
        return w;
    GtkWidget* found = nullptr;
    if (GTK_IS_CONTAINER(w))
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* l = children; l && !found; l = l->next)
            found = FindEntry(GTK_WIDGET(l->data));
        g_list_free(children);
    }
    return found;
}

// A button ends the dialog; the entry's text and the button's command are told.
char InterfaceHandler(GtkWidget* window, const _EngGuiDialogEvent_LNX* e)
{
    if (e->event_class != ENGGUI_EVENT_CLASS_COMMAND)
        return 0;
    char typed[64] = "";
    EngGuiGetEditableTextString_LNX(FindEntry(window), typed, sizeof(typed));
    Say("TYPED %s %s", typed, e->command);
    EngGuiQuitDialog_LNX(window);
    return 1;
}

void KitClose(SWin* win)
{
    Say("TYPED close");
    win->QuitWindowLoop();
}

void StartClicked(SWin* win)
{
    win->QuitWindowLoop();
}

// The button covers the window but for a margin of 10 pixels.
void RunStartDialog()
{
    SWin win;
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = 300;
    info.height = 130;
    if (!win.CreateMainWindow(&info))
        return;
    win.AddPushButtonToWindow(10, 10, 280, 80, "Start", StartClicked);
    win.RunWindowLoop();
    win.DestroyMainWindow();
}

void ShowBox()
{
    if (box_kind == "message")
        EngMiscShowPopupMessage(0, "Box Over The Game", "The picture for printing could not be made.");
    else if (box_kind == "log")
        DebugPopup("BoxProgram", "A box from the log");
    else if (box_kind == "question")
        Say("ANSWER %d", int(eng_ok_cancel_popup_function(2, "Box Over The Game", "Go on?")));
    else if (box_kind == "interface")
    {
        GtkWidget* window = nullptr;
        EngGuiLoadAndRunDialogFromNib_LNX(box_file.c_str(), "SettingsDialog", InterfaceHandler, &window);
    }
    else if (box_kind == "kit")
    {
        SWin win;
        _SWinCreateInfo info = {};
        info.x = info.y = -1;
        info.width = 300;
        info.height = 130;
        if (win.CreateMainWindow(&info))
        {
            win.AddTextButtonToWindow(10, 10, 280, 20, "The download was not completed.", SWIN_ALIGN_LEFT);
            win.SetDefaultPushButton(win.AddPushButtonToWindow(200, 60, 80, 20, "Close", KitClose));
            win.RunWindowLoop();
            win.DestroyMainWindow();
        }
    }
}

class BoxProgram : public EngProgram
{
public:
    char InitCB(int, char**) override
    {
        RunStartDialog();
        return 1;
    }
    char PostDeviceInitCB() override
    {
        void* display = nullptr;
        unsigned long xw = 0;
        EngWindowX11Handles_LNX(eng_main_sdl_window, &display, &xw);
        Say("WINDOW %lu", xw);
        return 1;
    }
    char TickCB() override
    {
        if (++ticks == TICKS_BEFORE_BOX)
        {
            Say("BOX");
            ShowBox();
            Say("CLOSED");
            after_box = true;
        }
        return 1;
    }
    void RenderCB() override
    {
        if (eng_main_device)
        {
            eng_main_device->SetClearColour(0.2f, 0.4f, 0.7f);
            eng_main_device->ClearScreen();
        }
        if (after_box && ++frames_after_box == FRAMES_AFTER_BOX)
        {
            EngWindow* w = GetWindow();
            Say("FRAMES %d ACTIVE %d MINIMISED %d", frames_after_box, w ? int(w->IsActive()) : -1,
                w ? int(w->IsMinimized()) : -1);
        }
    }
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2) override
    {
        if (type != ENG_INPUT_KEY_DOWN)
            return 0;
        Say("KEY %d", int(p1));
        if (p1 == 'K' && frames_after_box >= FRAMES_AFTER_BOX)
            QuitMainLoop();
        return 1;
    }
    void WindowActivatedCB(char active) override { Say("ACTIVATED %d", int(active)); }
    void WindowWasMinimized(char minimised) override { Say("MINIMISED %d", int(minimised)); }

private:
    int ticks = 0, frames_after_box = 0;
    bool after_box = false;
};

BoxProgram* program = nullptr;
_EngCreateWindowParms parms = {-1, -1, 640, 480, 32, 0, 60, 0, 0, 0, 0, 0, "EngineClass"};

} // namespace

char MainCreateAndInitMainProgram(void*, int argc, char** argv, int* exit_code)
{
    box_kind = argc > 1 ? argv[1] : "";
    parms.windowed = argc > 2 && !strcmp(argv[2], "window") ? 1 : 0;
    if (argc > 3)
        DebugSetLogFilename(argv[3], 1);
    box_file = argc > 4 ? argv[4] : "";
    program = new BoxProgram();
    char r = program->Init(nullptr, argc, argv);
    if (r > 0)
        return 1;
    *exit_code = r < 0 ? 0 : -1;
    return 0;
}

VZ_PROGRAM_EXIT_AND_NAME(program, parms, "Box Program")
