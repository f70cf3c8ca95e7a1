// The main window: device life, mode changes and input messages.
#include "EngWindow.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDevice.h"
#include "EngDebug.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngMiscTime.h"
#include "EngPower.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "EngWhichDevice.h"
#include "Linux/EngWindow_LNX.h"

EngWindow* eng_main_window = nullptr;
void* eng_main_sdl_window = nullptr;
char (*eng_window_event_source)(EngWindow* window) = nullptr;

char eng_main_window_windowed = 1;
int eng_main_window_width = 640, eng_main_window_height = 480;
int eng_main_window_bitdepth = 0, eng_main_window_frequency = 0;
float eng_main_window_x_ratio = 1, eng_main_window_y_ratio = 1;
float eng_main_window_x_ratio_inv = 1, eng_main_window_y_ratio_inv = 1;
float eng_main_window_x_widescreen_ratio = 1, eng_main_window_y_narrowscreen_ratio = 1;
char eng_main_window_portraited = 0;
int eng_main_window_aa = 0, eng_main_window_ms_type = 0, eng_main_window_ms_quality = 0;
char eng_key_down[256];

int EngWindowSamplesForAA(int aa)
{
    if (aa <= 0)
        return 0;
    if (aa == 2 || aa == 4)
        return 4;
    if (aa == 8)
        return 8;
    return 2;
}

char EngWindowCorrectRestrictedSize(const _EngWindowRestrictResizingInfo* info, char horizontal, int* width,
                                    int* height)
{
    if (!info || !width || !height)
        return 0;
    // A pixel's rounding is no change of ratio.
    const double slack = 1e-3;
    int w = *width, h = *height;
    for (int pass = 0; pass < 101; pass++)
    {
        int nw = w < info->min_width ? info->min_width : w;
        int nh = h < info->min_height ? info->min_height : h;
        if (nw < 1)
            nw = 1;
        if (nh < 1)
            nh = 1;
        const float ratio = float(nw) / float(nh);
        if (info->min_ratio > 0 && ratio < info->min_ratio)
        {
            if (horizontal)
                nh = int(std::floor(double(nw) / info->min_ratio + slack));
            else
                nw = int(std::ceil(double(nh) * info->min_ratio - slack));
        }
        else if (info->max_ratio > 0 && ratio > info->max_ratio)
        {
            if (horizontal)
                nh = int(std::ceil(double(nw) / info->max_ratio - slack));
            else
                nw = int(std::floor(double(nh) * info->max_ratio + slack));
        }
        if (nw == w && nh == h)
            break;
        w = nw;
        h = nh;
    }
    const char changed = (w != *width || h != *height) ? 1 : 0;
    *width = w;
    *height = h;
    return changed;
}

EngWindow::EngWindow(EngProgram* prog, const char* t) : program(prog)
{
    memset(eng_key_down, 0, sizeof(eng_key_down));
    title[0] = 0;
    SetTitle(t);
}

EngWindow::~EngWindow()
{
    Destroy();
}

void EngWindow::SetTitle(const char* t)
{
    EngSafeStrcpy(title, t, sizeof(title));
    EngWindowSetTitle_LNX(title);
}

void EngWindow::UpdateWindowVariables(char windowed, int width, int height, int bpp, int frequency)
{
    if (windowed >= 0 && windowed < 2)
        eng_main_window_windowed = windowed;
    if (width > 0)
        eng_main_window_width = width;
    if (height > 0)
        eng_main_window_height = height;
    if (bpp > 0)
        eng_main_window_bitdepth = bpp;
    if (frequency > 0)
        eng_main_window_frequency = frequency;
    if (eng_main_window_width < 1)
        eng_main_window_width = 1;
    if (eng_main_window_height < 1)
        eng_main_window_height = 1;
    float w = float(eng_main_window_width), h = float(eng_main_window_height);
    eng_main_window_x_ratio = w / 640.0f;
    eng_main_window_y_ratio = h / 480.0f;
    eng_main_window_x_ratio_inv = 640.0f / w;
    eng_main_window_y_ratio_inv = 480.0f / h;
    eng_main_window_portraited = eng_main_window_width < eng_main_window_height ? 1 : 0;
    float wide = (h / w) * 1.3333334f;
    eng_main_window_x_widescreen_ratio = wide < 1 ? wide : 1;
    float narrow = w / h;
    eng_main_window_y_narrowscreen_ratio = narrow < 1 ? narrow : 1;
    if (eng_main_device)
        eng_main_device->WindowResized();
}

namespace
{
// The engine's sleep pumps the window's events through this.
char ProcessMainWindowMessages()
{
    return eng_main_window ? eng_main_window->ProcessMessages() : 0;
}
} // namespace

char EngWindow::Create(_EngCreateWindowParms* in)
{
    if (!program)
        return 0;
    char r = program->PreCreateWindowCB(in);
    if (r == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "PreCreateWindowCB() failed");
        return 0;
    }
    if (r < 0)
        return r;
    if (!in)
        return 0;
    if (!CreatePlatformWindow(in))
        return 0;
    shown = 1;
    eng_main_window_aa = parms.aa;
    eng_main_window_ms_type = parms.ms_type;
    eng_main_window_ms_quality = parms.ms_quality;
    eng_main_window = this;
    double_click = parms.double_click;
    eng_misc_sleep_process_messages = ProcessMainWindowMessages;
    return 1;
}

char EngWindow::CreatePlatformWindow(_EngCreateWindowParms* in)
{
    if (!program)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parent");
        return 0;
    }
    if (eng_main_window && eng_main_window != this)
    {
        EngMiscShowPopupMessage(2, "CreateWindow", "More than one window not supported (yet)");
        return 0;
    }
    _EngCreateWindowParms p = *in;
    int width = p.width, height = p.height;
    if (!EngWindowCreate_LNX(this, title, &p, &width, &height))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "DoCreateWindow_LNX() failed");
        return 0;
    }
    UpdateWindowVariables(p.windowed ? 1 : 0, width, height, p.bpp, p.frequency);
    if (p.frequency == 0)
        eng_main_window_frequency = 0;
    quit_requested = 0;
    minimised = 0;
    platform_ready = 1;
    cursor_shown = 1;
    parms = p;
    // A new platform window (after a mode change) gets the restriction again.
    if (restrict_resizing)
        ApplyResizeLimits();
    return 1;
}

void EngWindow::DestroyPlatformWindow()
{
    // The device's context lives on the platform window: it goes first.
    if (device)
        device->WindowDestroyed_GL();
    EngWindowDestroy_LNX();
    platform_ready = 0;
}

void EngWindow::Destroy()
{
    resize_pending = 0;
    releasing_window = 1;
    DestroyGraphicsDevice();
    quit_requested = 1;
    if (program)
        program->SetExitingFlag();
    if (!cursor_shown)
        TurnOnCursor();
    DestroyPlatformWindow();
    releasing_window = 0;
    if (eng_main_window == this)
        eng_main_window = nullptr;
}

char EngWindow::CreateGraphicsDevice()
{
    if (!program)
        return 0;
    if (!mode_changing)
    {
        char r = program->PreDeviceInitCB();
        if (r == 0)
            DebugErrorAlt(__PRETTY_FUNCTION__, "PreDeviceInitCB() failed");
        if (r <= 0)
            return 0;
    }
    if (!device)
        device = new EngDevice(this);
    if (!DoCreateGraphicsDevice(1))
        return 0;
    if (mode_changing)
        return 1;
    char r = program->PostDeviceInitCB();
    if (r > 0)
    {
        program->SetDeviceInitialised(1);
        return 1;
    }
    if (r == 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "PostDeviceInitCB() failed");
    return 0;
}

char EngWindow::DoCreateGraphicsDevice(char make_device)
{
    if (!device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No device");
        return 0;
    }
    if (make_device)
    {
        if (eng_main_device == device)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Device already created");
            return 1;
        }
        if (!device->Create(eng_main_window_windowed, eng_main_window_width, eng_main_window_height,
                            eng_main_window_bitdepth, eng_main_window_frequency))
            return 0;
        eng_main_device = device;
    }
    if (!eng_main_device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No device.");
        return 0;
    }
    char r = program->PreCreateGraphicsObjectsCB();
    if (r == 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "PreCreateGraphicsObjectsCB() failed");
    if (r <= 0)
        return 0;
    if (!program->CreateGraphicsObjectsCB())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "CreateGraphicsObjectsCB() failed");
        return 0;
    }
    r = program->PostCreateGraphicsObjectsCB();
    if (r == 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "PostCreateGraphicsObjectsCB() failed");
    if (r <= 0)
        return 0;
    if (make_device)
        program->DeviceJustBeenCreated();
    return 1;
}

void EngWindow::DoDestroyGraphicsDevice(char destroy_device)
{
    if (!program)
        return;
    if (!device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No device");
        return;
    }
    const char was_destroying = destroying_device;
    destroying_device = 1;
    device->GoingToBeDestroyed();
    program->DeviceAboutToBeDestroyed();
    program->PreDestroyGraphicsDeviceCB();
    program->DestroyGraphicsObjectsCB();
    if (destroy_device)
        device->Destroy();
    program->PostDestroyGraphicsObjectsCB();
    destroying_device = was_destroying;
}

void EngWindow::DestroyGraphicsDevice()
{
    // A callback below may ask again (the device's window-destroyed path).
    if (!program || !device || destroying_device)
        return;
    destroying_device = 1;
    // The exit callbacks save the game: only a start that got through
    // PostDeviceInitCB has anything to save.
    char full = !mode_changing && program->IsDeviceInitialised();
    if (full)
        program->PreDeviceExitCB();
    DoDestroyGraphicsDevice(1);
    delete device;
    device = nullptr;
    if (full)
    {
        program->PostDeviceExitCB();
        program->SetDeviceInitialised(0);
    }
    destroying_device = 0;
}

void EngWindow::GotActiveMsg(char is_active)
{
    if (!program || program->IsExiting() || recreating || mode_changing || is_active == active)
        return;
    active = is_active;
    // A window with the focus is not minimised, whether or not the restore
    // was reported.
    if (is_active && minimised)
        GotMinimizedMsg(0);
    if (!eng_main_window_windowed && device)
    {
        if (is_active && eng_main_device != device)
        {
            if (!PrepareDisplayForFullscreenOrWindowed(0, eng_main_window_width, eng_main_window_height,
                                                       eng_main_window_bitdepth, eng_main_window_frequency,
                                                       0))
            {
                program->RequestErrorExit("ERROR", "Could not prepare for fullscreen mode");
                return;
            }
            if (!DoCreateGraphicsDevice(1))
            {
                program->RequestErrorExit("ERROR", "Could not re-create graphics device and/or objects");
                return;
            }
            // The screen still shows what was over it: the next frame is
            // drawn at once.
            program->EventDrivenLoopDoTimerActionNow(0);
        }
        else if (!is_active && eng_main_device == device)
        {
            DoDestroyGraphicsDevice(1);
            RestoreDisplayAfterFullscreenOrWindowed(0);
        }
    }
    program->WindowActivated(is_active);
}

void EngWindow::GotMinimizedMsg(char is_minimised)
{
    if (!program || program->IsExiting() || recreating || mode_changing)
        return;
    minimised = is_minimised;
    program->WindowWasMinimized(is_minimised);
}

void EngWindow::WindowResized(int width, int height)
{
    if (!program)
        return;
    resize_pending = 0;
    UpdateWindowVariables(char(255), width, height, -1, -1);
    DoRecreateDevice(eng_main_device_type);
    if (eng_main_device)
        eng_main_device->WindowResized();
    program->WindowResized();
}

void EngWindow::JudgeDragDirection()
{
    int x = 0, y = 0;
    if (!EngWindowGetGlobalMouse_LNX(&x, &y))
        return;
    if (drag_mouse_known)
    {
        const int dx = std::abs(x - drag_mouse_x), dy = std::abs(y - drag_mouse_y);
        if (dx > 3 || dy > 3)
            drag_horizontal = dx > dy ? 1 : 0;
    }
    drag_mouse_known = 1;
    drag_mouse_x = x;
    drag_mouse_y = y;
}

void EngWindow::WindowResizing(int width, int height)
{
    if (!program)
        return;
    if (restrict_resizing && eng_main_window_windowed && platform_ready)
    {
        JudgeDragDirection();
        int w = width, h = height;
        // The window system may refuse or adjust the correction: the size
        // it then has is the one drawn.
        if (EngWindowCorrectRestrictedSize(&restrict_info, drag_horizontal, &w, &h) &&
            EngWindowSetSize_LNX(&w, &h))
        {
            width = w;
            height = h;
        }
    }
    UpdateWindowVariables(char(255), width, height, -1, -1);
    resize_pending = 1;
    resize_step_time = eng_main_current_time;
}

char EngWindow::DoRecreateDevice(_EngDeviceType type)
{
    if (!device || eng_main_device != device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Device not created");
        return 0;
    }
    recreating = 1;
    DoDestroyGraphicsDevice(1);
    RestoreDisplayAfterFullscreenOrWindowed(0);
    eng_main_device_type = type;
    char ok = 1;
    if (!PrepareDisplayForFullscreenOrWindowed(eng_main_window_windowed, eng_main_window_width,
                                               eng_main_window_height, eng_main_window_bitdepth,
                                               eng_main_window_frequency, 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not prepare mode");
        ok = 0;
    }
    else if (!DoCreateGraphicsDevice(1))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not re-create graphics device and/or objects");
        ok = 0;
    }
    recreating = 0;
    if (!ok)
        return 0;
    UpdateWindowVariables();
    return 1;
}

char EngWindow::RecreateDevice()
{
    return DoRecreateDevice(eng_main_device_type);
}

char EngWindow::ChangeDeviceType(_EngDeviceType type)
{
    if (type == eng_main_device_type)
        return 1;
    return DoRecreateDevice(type);
}

char EngWindow::RecreateWindowAndDevice(_EngCreateWindowParms* p)
{
    if (Create(p) <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not re-create window");
        return 0;
    }
    if (!CreateGraphicsDevice())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not re-create graphics device and/or objects");
        return 0;
    }
    return 1;
}

char EngWindow::ChangeMode(const _EngCreateWindowParms& wanted, char call_resized)
{
    _EngCreateWindowParms previous = parms;
    previous.windowed = eng_main_window_windowed;
    previous.width = eng_main_window_width;
    previous.height = eng_main_window_height;
    previous.bpp = eng_main_window_bitdepth;
    previous.frequency = eng_main_window_frequency;
    _EngCreateWindowParms p = wanted;

    char was_exiting = program->IsExiting();
    mode_changing = 1;
    Destroy();
    if (!was_exiting)
        program->ClearExitingFlag();
    char ok = RecreateWindowAndDevice(&p);
    if (!ok)
    {
        // Go back to the settings that worked, so that a window remains.
        Destroy();
        if (!was_exiting)
            program->ClearExitingFlag();
        if (!RecreateWindowAndDevice(&previous))
        {
            mode_changing = 0;
            program->RequestErrorExit("ERROR", "Could not re-create graphics device and/or objects");
            return 0;
        }
    }
    mode_changing = 0;
    UpdateWindowVariables();
    if (call_resized)
        program->WindowResizedCB();
    return ok;
}

char EngWindow::ToggleFullscreenMode()
{
    if (!program || !device || eng_main_device != device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Device not created");
        return 0;
    }
    _EngCreateWindowParms p = parms;
    p.windowed = eng_main_window_windowed ? 0 : 1;
    if (!p.windowed)
    {
        p.width = saved_full_width > 0 ? saved_full_width : eng_main_window_width;
        p.height = saved_full_height > 0 ? saved_full_height : eng_main_window_height;
        p.bpp = saved_full_bpp > 0 ? saved_full_bpp : eng_main_window_bitdepth;
        p.frequency = saved_full_frequency >= 0 ? saved_full_frequency : eng_main_window_frequency;
    }
    else
    {
        p.width = saved_windowed_width > 0 ? saved_windowed_width : eng_main_window_width;
        p.height = saved_windowed_height > 0 ? saved_windowed_height : eng_main_window_height;
        p.bpp = saved_windowed_bpp > 0 ? saved_windowed_bpp : eng_main_window_bitdepth;
        p.frequency = saved_windowed_frequency >= 0 ? saved_windowed_frequency : eng_main_window_frequency;
        // Without a saved position the window is centred.
        const bool placed = saved_windowed_x >= 0 && saved_windowed_y >= 0;
        p.x = placed ? saved_windowed_x : -1;
        p.y = placed ? saved_windowed_y : -1;
    }
    // The side being left is kept as it is now, so that the next toggle
    // comes back to it.
    if (eng_main_window_windowed)
    {
        saved_windowed_width = eng_main_window_width;
        saved_windowed_height = eng_main_window_height;
        saved_windowed_bpp = eng_main_window_bitdepth;
        saved_windowed_frequency = eng_main_window_frequency;
        int x = -1, y = -1;
        if (GetWindowPos(&x, &y))
        {
            saved_windowed_x = x;
            saved_windowed_y = y;
        }
    }
    else
    {
        saved_full_width = eng_main_window_width;
        saved_full_height = eng_main_window_height;
        saved_full_bpp = eng_main_window_bitdepth;
        saved_full_frequency = eng_main_window_frequency;
    }

    // The modes are read before anything is destroyed, so that a failure
    // leaves the running window alone.
    EngResModes modes;
    if (!modes.IsSetup())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No modes.");
        return 0;
    }
    int w = p.width, h = p.height, bpp = p.bpp, freq = p.frequency;
    if (p.windowed)
    {
        int dw = 0, dh = 0;
        if (modes.GetWindowedModeDetails(&dw, &dh, &bpp, &freq))
        {
            p.bpp = bpp;
            p.frequency = freq;
        }
    }
    else if (modes.GetClosestFullScreenModeToMode(&w, &h, &bpp, &freq))
    {
        p.width = w;
        p.height = h;
        p.bpp = bpp;
        p.frequency = freq;
    }
    return ChangeMode(p, 1);
}

void EngWindow::ChangeDeviceResolutionOnNextTick(_EngWindowResChangeSettings* settings, void (*cb)(void*),
                                                 void* user)
{
    if (!settings || !settings->valid)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return;
    }
    res_change = *settings;
    res_change_pending = 1;
    res_change_cb = cb;
    res_change_user = user;
}

char EngWindow::DoChangeResolution()
{
    if (!program || !device || eng_main_device != device)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Device not created");
        return 0;
    }
    if (!res_change.valid)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return 0;
    }
    _EngCreateWindowParms p = parms;
    p.windowed = res_change.windowed;
    p.width = res_change.width;
    p.height = res_change.height;
    p.bpp = res_change.bpp;
    p.frequency = res_change.frequency;
    p.x = res_change.x;
    p.y = res_change.y;
    p.aa = res_change.aa;
    p.ms_type = res_change.ms_type;
    p.ms_quality = res_change.ms_quality;
    char ok = ChangeMode(p, 0);
    if (ok)
        memset(&res_change, 0, sizeof(res_change));
    return ok;
}

char EngWindow::GetWindowEvents()
{
    if (recreate_on_next_tick)
    {
        recreate_on_next_tick = 0;
        DoRecreateDevice(eng_main_device_type);
    }
    else if (res_change_pending)
    {
        res_change_pending = 0;
        DoChangeResolution();
        void (*cb)(void*) = res_change_cb;
        void* user = res_change_user;
        res_change_cb = nullptr;
        res_change_user = nullptr;
        if (cb)
            cb(user);
    }
    // A live resize has ended when its last size has stood for a while (or
    // the clock was started again).
    if (resize_pending && (eng_main_current_time - resize_step_time >= ENG_WINDOW_RESIZE_SETTLE_SECONDS ||
                           eng_main_current_time < resize_step_time))
        WindowResized(eng_main_window_width, eng_main_window_height);
    EngPowerEventsPoll_LNX();
    if (platform_ready)
        EngWindowCheckFocus_LNX(this);
    if (eng_window_event_source)
        return eng_window_event_source(this);
    if (!platform_ready)
        return 0;
    return EngWindowTakeOneEvent_LNX(this);
}

char EngWindow::ProcessMessages()
{
    if (!platform_ready)
        return 0;
    if (quit_requested)
        return -1;
    EngPowerEventsPoll_LNX();
    EngWindowWaitForEvent_LNX(this, 16);
    return quit_requested ? -1 : 1;
}

void EngWindow::SetCursorPos(int x, int y)
{
    if (platform_ready)
        EngWindowWarpMouse_LNX(x, y);
}

void EngWindow::SetCursorPosRatioed(float x, float y)
{
    SetCursorPos(int(x * eng_main_window_x_ratio), int(y * eng_main_window_y_ratio));
}

void EngWindow::GetCursorPos(int* x, int* y)
{
    if (!platform_ready)
        return;
    if (x)
        *x = mouse_x;
    if (y)
        *y = mouse_y;
}

void EngWindow::GetCursorPosRatioed(float* x, float* y)
{
    if (!platform_ready)
        return;
    if (x)
        *x = float(mouse_x) * eng_main_window_x_ratio_inv;
    if (y)
        *y = float(mouse_y) * eng_main_window_y_ratio_inv;
}

void EngWindow::GetCursorPosRatioedForOrientation(float* x, float* y)
{
    if (!platform_ready)
        return;
    EngMainChangeMousePosRatioedForOrientation(float(mouse_x), float(mouse_y), x, y);
}

void EngWindow::TurnOffCursor()
{
    if (!platform_ready || !cursor_shown)
        return;
    EngWindowShowCursor_LNX(0);
    cursor_shown = 0;
}

void EngWindow::TurnOnCursor()
{
    if (!platform_ready || cursor_shown)
        return;
    EngWindowShowCursor_LNX(1);
    cursor_shown = 1;
}

void EngWindow::ShowCursor(char on)
{
    if (on)
        TurnOnCursor();
    else
        TurnOffCursor();
}

char EngWindow::GetWindowPos(int* x, int* y)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    if (!eng_main_window_windowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not running in windowed mode");
        return 0;
    }
    if (!platform_ready)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window or not in windowed mode");
        return 0;
    }
    return EngWindowGetPosition_LNX(x, y);
}

void EngWindow::Show(char on)
{
    if (!platform_ready || !eng_main_window_windowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window or not in windowed mode");
        return;
    }
    EngWindowShow_LNX(on);
    shown = on;
}

void EngWindow::Minimize(char on)
{
    if (!platform_ready || !eng_main_window_windowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window or not in windowed mode");
        return;
    }
    EngWindowMinimize_LNX(on);
}

void EngWindow::RestrictResizing(char on, _EngWindowRestrictResizingInfo* info)
{
    restrict_resizing = on;
    if (info)
        restrict_info = *info;
    else if (on)
        restrict_info = {500, 400, 1.0f, 2.5f};
    else
        restrict_info = {0, 0, 0, 0};
    drag_mouse_known = 0;
    if (!platform_ready)
        return;
    ApplyResizeLimits();
    // The first drag is judged from where the mouse is now.
    if (restrict_resizing)
        JudgeDragDirection();
}

void EngWindow::ApplyResizeLimits()
{
    if (!eng_main_window_windowed)
        return;
    EngWindowSetResizeLimits_LNX(restrict_resizing, restrict_info.min_width, restrict_info.min_height,
                                 restrict_info.min_ratio, restrict_info.max_ratio);
}

void EngWindow::SetVarsForFullscreenModeToggle(int ww, int wh, int wbpp, int wfreq, int wx, int wy, int fw,
                                               int fh, int fbpp, int ffreq)
{
    saved_windowed_width = ww;
    saved_windowed_height = wh;
    saved_windowed_bpp = wbpp;
    saved_windowed_frequency = wfreq;
    saved_windowed_x = wx;
    saved_windowed_y = wy;
    saved_full_width = fw;
    saved_full_height = fh;
    saved_full_bpp = fbpp;
    saved_full_frequency = ffreq;
}

void EngWindow::GetVarsForFullscreenModeToggle(int* ww, int* wh, int* wbpp, int* wfreq, int* wx, int* wy,
                                               int* fw, int* fh, int* fbpp, int* ffreq) const
{
    const int from[10] = {saved_windowed_width, saved_windowed_height, saved_windowed_bpp,
                          saved_windowed_frequency, saved_windowed_x, saved_windowed_y,
                          saved_full_width, saved_full_height, saved_full_bpp, saved_full_frequency};
    int* to[10] = {ww, wh, wbpp, wfreq, wx, wy, fw, fh, fbpp, ffreq};
    for (int i = 0; i < 10; i++)
        if (to[i])
            *to[i] = from[i];
}

char EngWindow::PrepareDisplayForFullscreenOrWindowed(char, int, int, int, int, char)
{
    return 1;
}

void EngWindow::RestoreDisplayAfterFullscreenOrWindowed(char) {}

// Input messages.

namespace
{
unsigned char UpperKey(unsigned char key)
{
    return (key >= 'a' && key <= 'z') ? (unsigned char)(key - 'a' + 'A') : key;
}
} // namespace

void EngWindow::MsgsKeyDown(unsigned char key, unsigned char character)
{
    if (!program)
        return;
    unsigned char k = UpperKey(key);
    if (key_callback)
        key_callback(k, 1);
    else
    {
        eng_key_down[k] = 2;
        program->InputCB(ENG_INPUT_KEY_DOWN, k, 0);
        if (character >= 32)
            program->InputCB(ENG_INPUT_CHARACTER, character, 0);
    }
    program->EventDrivenLoopDoTimerActionNow(0);
}

void EngWindow::MsgsCharacter(unsigned char c)
{
    if (!program || key_callback || c < 32 || c == 127)
        return;
    program->InputCB(ENG_INPUT_CHARACTER, c, 0);
    program->EventDrivenLoopDoTimerActionNow(0);
}

void EngWindow::MsgsKeyUp(unsigned char key, char toggles_full_screen)
{
    if (!program)
        return;
    unsigned char k = UpperKey(key);
    if (key_callback)
    {
        key_callback(k, 0);
        program->EventDrivenLoopDoTimerActionNow(0);
        return;
    }
    eng_key_down[k] = 0;
    char taken = program->InputCB(ENG_INPUT_KEY_UP, k, 0);
    program->EventDrivenLoopDoTimerActionNow(0);
    if (toggles_full_screen && !taken)
        ToggleFullscreenMode();
}

void EngWindow::MsgsSetModifiers(char shift, char control, char option, char command)
{
    eng_key_down[ENG_KEY_SHIFT] = shift ? 2 : 0;
    eng_key_down[ENG_KEY_CONTROL] = control ? 2 : 0;
    eng_key_down[ENG_KEY_OPTION] = option ? 2 : 0;
    eng_key_down[ENG_KEY_COMMAND] = command ? 2 : 0;
}

void EngWindow::MsgsMouseButtonPress(int button, char down, int clicks)
{
    if (!program || button < 0 || button > 2)
        return;
    eng_key_down[ENG_KEY_MOUSE_LEFT + button] = down ? 2 : 0;
    mouse_clicks = clicks > 1 ? clicks : 1;
    _EngDesktopInputType kind = ENG_INPUT_MOUSE_BUTTON;
    if (double_click && clicks >= 2)
    {
        if (!down)
        {
            program->EventDrivenLoopDoTimerActionNow(0);
            return;
        }
        kind = ENG_INPUT_DOUBLE_CLICK;
    }
    program->InputCB(kind, button, down ? 1 : 0);
    program->EventDrivenLoopDoTimerActionNow(0);
}

void EngWindow::MsgsMouseMove(int x, int y)
{
    if (!program)
        return;
    mouse_x = x;
    mouse_y = y;
    program->InputCB(ENG_INPUT_MOUSE_MOVE, x, y);
    program->EventDrivenLoopDoTimerActionNow(1);
}

void EngWindow::MsgsMouseWheelInput(int delta)
{
    if (!program)
        return;
    program->InputCB(ENG_INPUT_MOUSE_WHEEL, delta, 0);
    program->EventDrivenLoopDoTimerActionNow(0);
}

void EngWindow::MsgsQuit()
{
    quit_requested = 1;
    if (program)
        program->SetExitingFlag();
}

void EngWindow::MsgsPlayerQuit()
{
    if (!program)
        return;
    program->PlayerQuit();
    if (program->IsExiting())
        quit_requested = 1;
}
