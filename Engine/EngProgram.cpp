// The application object.
#include "EngProgram.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "EngDevice.h"
#include "EngDebug.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngMiscStrings.h"
#include "EngPower.h"

EngProgram* eng_main_program = nullptr;
_EngDeviceType eng_main_device_type = 1;
float eng_main_frame_rate = 60.0f;
float eng_main_frames_per_second = 1.0f / 60.0f;
double eng_main_current_time = 0;
char eng_main_window_was_created = 0;

namespace
{
char IsFolder(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}
} // namespace

char EngProgramFindResourcesPath(char* buf, size_t size)
{
    if (!buf || size == 0)
        return 0;
    buf[0] = 0;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0)
        return 0;
    exe[n] = 0;
    char* slash = strrchr(exe, '/');
    if (!slash || !slash[1])
        return 0;
    *slash = 0;
    const std::string folder = exe, name = slash + 1;
    // Beside the program (build tree), the installed data folder of the
    // program's own name, then the build tree's top for programs in its
    // subfolders (tests, tools).
    const std::string candidates[] = {folder + "/Resources", folder + "/../share/" + name + "/Resources",
                                      folder + "/../Resources"};
    for (const std::string& candidate : candidates)
    {
        char real[PATH_MAX];
        if (IsFolder(candidate.c_str()) && realpath(candidate.c_str(), real) && strlen(real) < size)
        {
            EngSafeStrcpy(buf, real, size);
            return 1;
        }
    }
    return 0;
}

EngProgram::EngProgram()
{
    eng_main_device_type = 1;
    eng_main_frame_rate = 60.0f;
    eng_main_frames_per_second = 1.0f / 60.0f;
    eng_main_current_time = 0;

    struct timeval tv;
    gettimeofday(&tv, nullptr);
    srand(unsigned(tv.tv_usec));
    // A write past the file-size limit fails with EFBIG and takes the
    // ordinary failure path instead of killing the program mid-save.
    signal(SIGXFSZ, SIG_IGN);

    if (!EngProgramFindResourcesPath(resources_path, sizeof(resources_path)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get resources path - trying default ...");
        EngSafeStrcpy(resources_path, "./Resources", sizeof(resources_path));
    }
    if (chdir(resources_path) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "chdir to <%s> failed", resources_path);
        ForceExitNow("Error", "Fatal Internal Error 0x01 [chdir] - LINUX");
        EngMainCallExit(-1);
    }
    eng_main_program = this;
}

EngProgram::~EngProgram()
{
    Exit(0);
    if (eng_main_program == this)
        eng_main_program = nullptr;
}

char EngProgram::InitCB(int, char**)
{
    return 1;
}
char EngProgram::PreCreateWindowCB(_EngCreateWindowParms*)
{
    return 1;
}
char EngProgram::PostCreateWindowCB()
{
    return 1;
}
char EngProgram::PreDeviceInitCB()
{
    return 1;
}
char EngProgram::PostDeviceInitCB()
{
    return 1;
}
char EngProgram::PreCreateGraphicsObjectsCB()
{
    return 1;
}
char EngProgram::CreateGraphicsObjectsCB()
{
    return 1;
}
char EngProgram::PostCreateGraphicsObjectsCB()
{
    return 1;
}
void EngProgram::PreDestroyGraphicsDeviceCB() {}
void EngProgram::DestroyGraphicsObjectsCB() {}
void EngProgram::PostDestroyGraphicsObjectsCB() {}
char EngProgram::TickCB()
{
    return 1;
}

void EngProgram::RenderCB()
{
    if (!eng_main_device)
        return;
    eng_main_device->SetClearColour(0.2f, 0.4f, 0.3f);
    eng_main_device->ClearScreenAndDepthBuffers();
}

char EngProgram::InputCB(_EngDesktopInputType, EngInputParm1, EngInputParm2)
{
    return 0;
}
void EngProgram::ComputerSleepingCB(char) {}
char EngProgram::PlayerQuitCB()
{
    return 1;
}
void EngProgram::WindowActivatedCB(char) {}
void EngProgram::WindowWasMinimized(char) {}
void EngProgram::WindowResizedCB() {}
void EngProgram::PreDeviceExitCB() {}
void EngProgram::PostDeviceExitCB() {}
void EngProgram::ExitCB() {}

void EngMainCheckInternals()
{
    DebugAssertAlt(sizeof(EngInt8) == 1, __PRETTY_FUNCTION__, "sizeof(EngInt8) == 1");
    DebugAssertAlt(sizeof(EngUInt8) == 1, __PRETTY_FUNCTION__, "sizeof(EngUInt8) == 1");
    DebugAssertAlt(sizeof(EngInt16) == 2, __PRETTY_FUNCTION__, "sizeof(EngInt16) == 2");
    DebugAssertAlt(sizeof(EngUInt16) == 2, __PRETTY_FUNCTION__, "sizeof(EngUInt16) == 2");
    DebugAssertAlt(sizeof(EngInt32) == 4, __PRETTY_FUNCTION__, "sizeof(EngInt32) == 4");
    DebugAssertAlt(sizeof(EngUInt32) == 4, __PRETTY_FUNCTION__, "sizeof(EngUInt32) == 4");
    DebugAssertAlt(char(-1) < 0, __PRETTY_FUNCTION__, "char is not signed.");
}

char EngProgram::Init(void*, int argc, char** argv)
{
    EngMainCheckInternals();
    window = nullptr;
    char r = InitCB(argc, argv);
    return r > 0 ? 1 : r;
}

EngWindow* EngProgram::CreateMainWindow(const char* title, _EngCreateWindowParms* parms, char* result_out)
{
    if (window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Can only have one window at a time");
        if (result_out)
            *result_out = 0;
        return nullptr;
    }
    window = new EngWindow(this, title);
    char r = window->Create(parms);
    if (r > 0)
    {
        if (result_out)
            *result_out = 1;
        eng_main_window_was_created = 1;
        return window;
    }
    delete window;
    window = nullptr;
    // Deleting the half-made window flags the exit; a failed start is not one.
    exiting = 0;
    if (result_out)
        *result_out = r;
    return nullptr;
}

char EngProgram::CreateMainWindowAndDevice(const char* title, const char*, _EngCreateWindowParms* parms)
{
    if (!parms)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window parms");
        return 0;
    }
    if (window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Window already created.");
        return 0;
    }
    EngPowerEventsRegisterForNotifications_LNX();
    char r = 0;
    CreateMainWindow(title, parms, &r);
    if (window)
    {
        if (window->CreateGraphicsDevice())
            return 1;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create graphics device.");
        return 0;
    }
    if (r < 0)
        return r;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create main window.");
    return 0;
}

void EngProgram::DestroyMainWindowAndDevice()
{
    if (!window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window");
        return;
    }
    if (EngPowerEventsAreRegistered_LNX())
        EngPowerEventsDeregisterNotifications_LNX();
    eng_main_window_was_created = 0;
    window->Destroy();
    delete window;
    window = nullptr;
}

EngDevice* EngProgram::GetDevice()
{
    DebugAssertAlt(window != nullptr, __PRETTY_FUNCTION__, "No window.");
    return window ? window->GetDevice() : nullptr;
}

char EngProgram::SetMainDeviceType(_EngDeviceType type)
{
    if (eng_main_window || eng_main_device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call this before creating a window or device.");
        return 0;
    }
    eng_main_device_type = type;
    return 1;
}

void EngProgram::SetMainLoopType(_EngProgramMainLoopType type)
{
    if (eng_main_window || eng_main_device)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call this before creating a window or device");
    main_loop_type = type;
    if (type == ENG_LOOP_CONSTANT_FRAME_RATE || type == ENG_LOOP_FULL_RENDER)
        ConstantFrameRateLoopSetConstantFrameRate(0);
}

void EngProgram::WindowActivated(char active)
{
    WindowActivatedCB(active);
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN)
        timer_actions_until = eng_main_current_time + 10.0;
}

void EngProgram::WindowResized()
{
    WindowResizedCB();
    if (main_loop_type == ENG_LOOP_EVENT_DRIVEN)
        timer_actions_until = eng_main_current_time + 10.0;
}

void EngProgram::ComputerSleeping(char going_to_sleep)
{
    if (going_to_sleep)
    {
        // The device stays; only the graphics objects go.
        if (window && eng_main_device)
            window->DoDestroyGraphicsDevice(0);
        ComputerSleepingCB(1);
        eng_main_sleep_func(3.0);
        sleeping = 1;
        return;
    }
    sleeping = 0;
    if (window && eng_main_device)
        window->DoCreateGraphicsDevice(0);
    ComputerSleepingCB(0);
}

void EngProgram::PlayerQuit()
{
    if (PlayerQuitCB() > 0)
        SetExitingFlag();
}

void EngProgram::QuitMainLoop()
{
    DebugInfoAlt(__PRETTY_FUNCTION__, "Exiting.");
    exiting = 1;
}

void EngProgram::ShowPopupAfterExiting()
{
    if (!popup_kind)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Popup texts are not set.");
    show_popup_after_exit = 1;
}

void EngProgram::ShowStoredPopup()
{
    if (!popup_kind)
        return;
    char kind = popup_kind;
    popup_kind = 0;
    EngMiscShowPopupMessage(kind, popup_title, popup_text);
}

void EngProgram::Exit(char)
{
    if (eng_main_program != this || exit_done)
        return;
    exiting = 1;
    if (in_main_loop)
    {
        // Called from a callback of the loop: the objects whose code is on
        // the stack must outlive it. main runs the exit after the loop.
        return;
    }
    exit_done = 1;
    if (EngPowerEventsAreRegistered_LNX())
        EngPowerEventsDeregisterNotifications_LNX();
    if (window)
    {
        window->Destroy();
        delete window;
        window = nullptr;
        eng_main_window_was_created = 0;
    }
    ExitCB();
    eng_main_program = nullptr;
    if (after_exit_cb)
    {
        after_exit_cb();
        return;
    }
    if (show_popup_after_exit)
    {
        show_popup_after_exit = 0;
        ShowStoredPopup();
    }
}

void EngProgram::ForceExitNow(const char* title, const char* text)
{
    char texts_given = (title || text) ? 1 : 0;
    if (texts_given)
    {
        popup_kind = 2;
        EngSafeStrcpy(popup_title, title, sizeof(popup_title));
        EngSafeStrcpy(popup_text, text, sizeof(popup_text));
    }
    if (!EngMainIsThisTheMainThread())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not closing down as not the main thread");
        exiting = 1;
        ShowPopupAfterExiting();
        return;
    }
    exiting = 1;
    if (window)
    {
        window->DestroyGraphicsDevice();
        delete window;
        window = nullptr;
    }
    if (texts_given)
        ShowStoredPopup();
    else
        EngMainShowErrorAndLogFilePopupOnExit();
    exit_done = 1;
    if (eng_main_program == this)
        eng_main_program = nullptr;
}

char eng_main_error_exit = 0;

void EngProgram::RequestErrorExit(const char* title, const char* text)
{
    popup_kind = 2;
    EngSafeStrcpy(popup_title, title, sizeof(popup_title));
    EngSafeStrcpy(popup_text, text, sizeof(popup_text));
    show_popup_after_exit = 1;
    error_exit_requested = 1;
    eng_main_error_exit = 1;
    exiting = 1;
}

void EngMainDestroyMainWindowAndDevice()
{
    if (!eng_main_program)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No main program");
        return;
    }
    if (!eng_main_window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No main window");
        return;
    }
    eng_main_program->DestroyMainWindowAndDevice();
    eng_main_window = nullptr;
}
