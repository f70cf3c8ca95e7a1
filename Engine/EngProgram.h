// The application object: callbacks, start-up, exit and the main loops.
#pragma once

#include "EngTypes.h"
#include "EngWindow.h"

class EngDevice;

typedef int _EngProgramMainLoopType;
#define ENG_LOOP_CONSTANT_FRAME_RATE 0
#define ENG_LOOP_FULL_RENDER 1
#define ENG_LOOP_EVENT_DRIVEN 2
#define ENG_LOOP_FULL 3
#define ENG_LOOP_RENDER_WHEN_NEEDED 4

class EngProgram
{
public:
    EngProgram();
    virtual ~EngProgram();

    // Callbacks, in slot order. Above 0 goes on, 0 fails, below 0 stops quietly.
    virtual char InitCB(int argc, char** argv);
    virtual char PreCreateWindowCB(_EngCreateWindowParms* parms);
    virtual char PostCreateWindowCB();
    virtual char PreDeviceInitCB();
    virtual char PostDeviceInitCB();
    virtual char PreCreateGraphicsObjectsCB();
    virtual char CreateGraphicsObjectsCB();
    virtual char PostCreateGraphicsObjectsCB();
    virtual void PreDestroyGraphicsDeviceCB();
    virtual void DestroyGraphicsObjectsCB();
    virtual void PostDestroyGraphicsObjectsCB();
    virtual char TickCB();
    virtual void RenderCB();
    virtual char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2);
    virtual void ComputerSleepingCB(char sleeping);
    virtual void WindowActivatedCB(char active);
    virtual void WindowWasMinimized(char minimised);
    virtual void WindowResizedCB();
    virtual void PreDeviceExitCB();
    virtual void PostDeviceExitCB();
    virtual void ExitCB();
    // The player asked to quit (the window's close, Ctrl+Q, a menu's Exit):
    // above 0 quits, anything else keeps the program running. A quit the
    // system asks for (a termination signal) does not come here.
    virtual char PlayerQuitCB();

    char Init(void* platform, int argc, char** argv);
    EngWindow* CreateMainWindow(const char* title, _EngCreateWindowParms* parms, char* result_out);
    char CreateMainWindowAndDevice(const char* title, const char*, _EngCreateWindowParms* parms);
    void DestroyMainWindowAndDevice();
    EngDevice* GetDevice();
    EngWindow* GetWindow() const { return window; }
    char SetMainDeviceType(_EngDeviceType type);
    void SetMainLoopType(_EngProgramMainLoopType type);
    _EngProgramMainLoopType GetMainLoopType() const { return main_loop_type; }
    void WindowActivated(char active);
    void WindowResized();
    void DeviceAboutToBeDestroyed() {}
    void DeviceJustBeenCreated() {}
    void ComputerSleeping(char sleeping);
    char IsComputerSleeping() const { return sleeping; }
    char IsDeviceInitialised() const { return device_initialised; }
    void SetDeviceInitialised(char on) { device_initialised = on; }

    char IsExiting() const { return exiting; }
    void SetExitingFlag() { exiting = 1; }
    // A quit asked by the player: sets the exit flag when PlayerQuitCB agrees.
    void PlayerQuit();
    void ClearExitingFlag() { exiting = 0; }
    void QuitMainLoop();
    void ShowPopupAfterExiting();
    void SetAfterExitCB(void (*cb)()) { after_exit_cb = cb; }
    // The normal exit; the argument has no effect.
    virtual void Exit(char normal);
    // The emergency exit: shows the text and ends the program.
    virtual void ForceExitNow(const char* title, const char* text);
    // Ends the run with an error from inside the loop: the loop stops at the
    // end of the pass, then main runs Exit, shows the popup and returns -1.
    void RequestErrorExit(const char* title, const char* text);
    char IsErrorExitRequested() const { return error_exit_requested; }

    // Main loop and pass steps.
    char RunMainLoop();
    char DoMinimizedSleep(char for_tick, char for_render);
    void DoTick();
    void DoRender();
    void DoRender2();
    void DoTickAndRender();
    void DoTickNoRender();
    char GetEvents();
    void RenderNeeded();
    void FullLoopCalcFrameRate();

    void ConstantFrameRateLoopSetConstantFrameRate(float rate);
    void ConstantFrameRateLoopSetMinimumSleepAmount(int n) { minimum_sleep_amount = n; }
    void ConstantFrameRateLoopSetLongTickSleepTime(char on) { long_tick_sleep = on; }
    void ConstantFrameRateLoopImmediateResponseToInput(char on) { immediate_response_to_input = on; }
    void ConstantFrameRateLoopAdjustFrameRateForHighPerformanceWithoutHogging() { adjust_frame_rate = 1; }
    float GetConstantFrameRate() const { return constant_frame_rate; }
    void FullLoopSetTickSleepAmount(int ms) { full_loop_tick_sleep = ms * 1000; }
    void FullLoopDoSleep();
    void SetFrameTimeAveraging(char on) { frame_time_averaging = on; }
    void EventDrivenLoopSetTickSleepAmount(int ms) { event_tick_sleep = (ms > 0 ? ms : 0) * 1000; }
    void EventDrivenLoopSetFullFrameRate(float rate) { event_full_frame_rate = rate > 0 ? rate : 60.0f; }
    void EventDrivenLoopSetupDoingActionsOnKeyAndMouseEvents(char do_tick, char do_render,
                                                             char on_mouse_move);
    void EventDrivenLoopSetupCallbackToCallWhenSleeping(void (*cb)()) { event_sleeping_cb = cb; }
    void EventDrivenLoopDoTimerActionOnNextTick();
    void EventDrivenLoopDoTimerActionsForAWhile();
    void EventDrivenLoopDoTimerActionNow(char is_mouse_move);
    void EventDrivenLoopDoSleep();
    void SleepWhenMinimized(char on) { sleep_when_minimized = on; }
    void SetMinimizedSleepCallback(void (*cb)(char, char, void*), void* user)
    {
        minimized_sleep_cb = cb;
        minimized_sleep_user_data = user;
    }
    void RenderWhenNeededLoopSetTickSleepAmounts(int after_render_ms, int not_rendering_ms);
    void RenderWhenNeededLoopCallTickCBWhenNotRendering(char on) { rwn_tick_when_not_rendering = on; }
    void RenderWhenNeededLoopSetupCallbackToCallWhenNotRendering(void (*cb)()) { rwn_not_rendering_cb = cb; }
    void RenderWhenNeededLoopDoSleep(char rendered);
    // The per-frame hook run after every tick (the sound engine sets it).
    void SetPostTickCB(void (*cb)()) { post_tick_cb = cb; }

    const char* GetResourcesPath() const { return resources_path; }

protected:
    char exiting = 0;
    char sleeping = 0;
    char show_popup_after_exit = 0;
    EngWindow* window = nullptr;
    char sleep_when_minimized = 1;
    char device_initialised = 0;
    void (*minimized_sleep_cb)(char, char, void*) = nullptr;
    void* minimized_sleep_user_data = nullptr;
    void (*after_exit_cb)() = nullptr;
    float constant_frame_rate = 60.0f;
    int minimum_sleep_amount = 0;
    char long_tick_sleep = 0;
    char immediate_response_to_input = 1;
    char adjust_frame_rate = 0;
    char input_arrived = 0;
    int full_loop_tick_sleep = 0;
    char frame_time_averaging = 0;
    float recent_frame_periods[4] = {0, 0, 0, 0};
    int event_tick_sleep = 3000;
    char timer_passes = 1;
    double timer_actions_until = 0;
    char event_do_tick = 1;
    char event_do_render = 1;
    char event_timer_on_mouse_move = 1;
    float event_full_frame_rate = 60.0f;
    float event_timer_period = 0.5f;
    void (*event_sleeping_cb)() = nullptr;
    float rwn_frame_rate = 60.0f;
    int rwn_sleep_after_render = 0;
    int rwn_sleep_not_rendering = 3000;
    char rwn_tick_when_not_rendering = 1;
    char render_needed = 1;
    void (*rwn_not_rendering_cb)() = nullptr;
    void (*post_tick_cb)() = nullptr;
    char resources_path[512] = {};
    _EngProgramMainLoopType main_loop_type = ENG_LOOP_CONSTANT_FRAME_RATE;

private:
    char RunConstantFrameRateLoop();
    char RunFullRenderLoop();
    char RunEventDrivenLoop();
    char RunFullLoop();
    char RunRenderWhenNeededLoop();
    void CollectEvents();
    void ShowStoredPopup();

    // Loop state kept between passes.
    double next_adaptation = 0;
    int recent_waits[3] = {0, 0, 0};
    double last_frame_time = 0;

    // Popup texts for the end of the run.
    char popup_kind = 0;
    char popup_title[100] = {};
    char popup_text[400] = {};
    char error_exit_requested = 0;
    char exit_done = 0;
    char in_main_loop = 0;
};

extern EngProgram* eng_main_program;
extern _EngDeviceType eng_main_device_type;
extern float eng_main_frame_rate;
// The frame period in seconds, despite its name.
extern float eng_main_frames_per_second;
extern double eng_main_current_time;
extern char eng_main_window_was_created;
// Set when the run is to end with an error status (see RequestErrorExit).
extern char eng_main_error_exit;

// Asserts the sizes of the fixed-width types and that plain char is signed.
void EngMainCheckInternals();
char EngMainCreateMainWindowAndDevice();
void EngMainDestroyMainWindowAndDevice();

// The engine's start-to-end run, called by main().
int EngMainRun(int argc, char** argv);

// The resources folder: beside the executable in the build tree, else the
// installed data folder of the executable's own name
// ("<exe folder>/../share/<exe name>/Resources"), else the build tree's top
// for programs in its subfolders. Writes into buf; 0 when none was found.
char EngProgramFindResourcesPath(char* buf, size_t size);

// What the game supplies.
class EngProgram;
char MainCreateAndInitMainProgram(void* platform, int argc, char** argv, int* exit_code);
void MainExitAndDeleteMainProgram(char normal);
_EngCreateWindowParms* MainGetCreateWindowParms();
const char* MainGetGameName();
