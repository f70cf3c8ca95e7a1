// The main window: creation record, window globals, device life and input.
#pragma once

#include "EngTypes.h"

class EngProgram;
class EngDevice;

typedef int _EngDeviceType;

// One input event as passed to InputCB.
enum _EngDesktopInputType
{
    ENG_INPUT_MOUSE_MOVE = 1,
    ENG_INPUT_MOUSE_BUTTON = 2,
    ENG_INPUT_DOUBLE_CLICK = 3,
    ENG_INPUT_MOUSE_WHEEL = 4,
    ENG_INPUT_KEY_DOWN = 5,
    ENG_INPUT_KEY_UP = 6,
    ENG_INPUT_CHARACTER = 7,
};
typedef EngInt32 EngInputParm1;
typedef EngInt32 EngInputParm2;

// Engine key codes beyond plain characters.
#define ENG_KEY_DELETE 8
#define ENG_KEY_TAB 9
#define ENG_KEY_ENTER 13
#define ENG_KEY_ESCAPE 27
#define ENG_KEY_BACKSPACE 127
#define ENG_KEY_F1 232
#define ENG_KEY_F12 243
#define ENG_KEY_LEFT 244
#define ENG_KEY_RIGHT 245
#define ENG_KEY_UP 246
#define ENG_KEY_DOWN 247
#define ENG_KEY_PAGE_UP 248
#define ENG_KEY_PAGE_DOWN 249
#define ENG_KEY_HOME 250
#define ENG_KEY_END 251
#define ENG_KEY_HELP 252
#define ENG_KEY_SHIFT 228
#define ENG_KEY_CONTROL 229
#define ENG_KEY_OPTION 230
#define ENG_KEY_COMMAND 231
#define ENG_KEY_MOUSE_LEFT 253
#define ENG_KEY_MOUSE_RIGHT 254
#define ENG_KEY_MOUSE_MIDDLE 255

struct _EngCreateWindowParms
{
    EngInt32 x, y;
    EngInt32 width, height;
    EngInt32 bpp;
    char windowed;
    EngInt32 frequency;
    EngInt32 aa;
    EngInt32 ms_type;
    EngInt32 ms_quality;
    char double_click;
    EngInt32 reserved;
    char class_name[256];
};

struct _EngWindowResChangeSettings
{
    char valid;
    char windowed;
    EngInt32 width, height, bpp, x, y, frequency, aa, ms_type, ms_quality;
};

struct _EngWindowRestrictResizingInfo
{
    EngInt32 min_width, min_height;
    float min_ratio, max_ratio;
};

// What the platform's event half remembers between events of one window.
struct _EngWindowEventMemory
{
    // The primary button went down as the right one (Control was held).
    char primary_is_right;
    // The f key went down with Command held: its release toggles full screen
    // even when Command was let go first.
    char full_screen_press;
    // When the focus was last asked about (engine clock).
    double focus_check_time;
};

class EngWindow
{
public:
    EngWindow(EngProgram* program, const char* title);
    // A window without a program: no callbacks reach anything.
    EngWindow() : EngWindow(nullptr, nullptr) {}
    virtual ~EngWindow();

    char Create(_EngCreateWindowParms* parms);
    void Destroy();

    char CreateGraphicsDevice();
    char DoCreateGraphicsDevice(char make_device);
    void DestroyGraphicsDevice();
    void DoDestroyGraphicsDevice(char destroy_device);

    void UpdateWindowVariables(char windowed, int width, int height, int bpp, int frequency);
    void UpdateWindowVariables() { UpdateWindowVariables(char(255), -1, -1, -1, -1); }

    void GotActiveMsg(char active);
    void GotMinimizedMsg(char minimised);
    // A live resize has ended at this size: the device is re-created for it.
    void WindowResized(int width, int height);
    // The platform reports a new content size while the player may still be
    // dragging: drawing follows it at once (with the restriction applied when
    // it is on), the device is re-created by WindowResized once no new size
    // has come for ENG_WINDOW_RESIZE_SETTLE_SECONDS.
    void WindowResizing(int width, int height);

    char ToggleFullscreenMode();
    char DoChangeResolution();
    void ChangeDeviceResolutionOnNextTick(_EngWindowResChangeSettings* settings, void (*cb)(void*),
                                          void* user);
    void RecreateDeviceOnNextTick() { recreate_on_next_tick = 1; }
    char RecreateDevice();
    char ChangeDeviceType(_EngDeviceType type);
    char DoRecreateDevice(_EngDeviceType type);

    char GetWindowEvents();
    char ProcessMessages();

    void SetCursorPos(int x, int y);
    void SetCursorPosRatioed(float x, float y);
    void GetCursorPos(int* x, int* y);
    void GetCursorPosRatioed(float* x, float* y);
    void GetCursorPosRatioedForOrientation(float* x, float* y);
    void TurnOffCursor();
    void TurnOnCursor();
    virtual void ShowCursor(char on);
    char GetWindowPos(int* x, int* y);
    void Show(char on);
    void Minimize(char on);
    void SetTitle(const char* t);
    const char* GetTitle() const { return title; }
    void RestrictResizing(char on, _EngWindowRestrictResizingInfo* info);
    void SetVarsForFullscreenModeToggle(int ww, int wh, int wbpp, int wfreq, int wx, int wy, int fw, int fh,
                                        int fbpp, int ffreq);
    // The same ten values as the toggle now holds them (-1 where unknown);
    // null outputs are skipped.
    void GetVarsForFullscreenModeToggle(int* ww, int* wh, int* wbpp, int* wfreq, int* wx, int* wy, int* fw,
                                        int* fh, int* fbpp, int* ffreq) const;
    char PrepareDisplayForFullscreenOrWindowed(char windowed, int w, int h, int bpp, int freq, char);
    void RestoreDisplayAfterFullscreenOrWindowed(char);

    // Input messages from the platform half.
    void MsgsMouseMove(int x, int y);
    void MsgsMouseButtonPress(int button, char down, int clicks);
    void MsgsMouseWheelInput(int delta);
    // character: what the key types when the platform sends no text for it
    // (0 for none).
    void MsgsKeyDown(unsigned char key, unsigned char character);
    // toggles_full_screen: the release ends Command+f; full screen is toggled
    // unless the program takes the release.
    void MsgsKeyUp(unsigned char key, char toggles_full_screen = 0);
    void MsgsCharacter(unsigned char c);
    void MsgsSetModifiers(char shift, char control, char option, char command);
    // The system asks the program to end (a termination signal).
    void MsgsQuit();
    // The player asks (the window's close, Ctrl+Q); the program may refuse.
    void MsgsPlayerQuit();
    void MsgsGotEvent(char) {}

    void SetKeyCallback(void (*cb)(unsigned char key, char down)) { key_callback = cb; }
    _EngWindowEventMemory* GetEventMemory() { return &event_memory; }

    // The platform's count of quick clicks in a row for the last mouse button
    // event: 1 for a single click, 2 for the second of a double click.
    int GetMouseClicks() const { return mouse_clicks; }
    char IsActive() const { return active; }
    char IsMinimized() const { return minimised; }
    char IsQuitRequested() const { return quit_requested; }
    char IsModeChanging() const { return mode_changing; }
    // The platform window goes once the device is destroyed (exit, a mode
    // change).
    char IsReleasingWindow() const { return releasing_window; }
    EngDevice* GetDevice() const { return device; }
    const _EngCreateWindowParms* GetParms() const { return &parms; }

private:
    char CreatePlatformWindow(_EngCreateWindowParms* p);
    void DestroyPlatformWindow();
    char ChangeMode(const _EngCreateWindowParms& wanted, char call_resized);
    char RecreateWindowAndDevice(_EngCreateWindowParms* p);
    void ApplyResizeLimits();
    void JudgeDragDirection();

    EngProgram* program;
    char title[255];
    char active = 1;
    char recreating = 0;
    char recreate_on_next_tick = 0;
    char mode_changing = 0;
    int saved_windowed_width = -1, saved_windowed_height = -1, saved_windowed_bpp = -1,
        saved_windowed_frequency = -1;
    int saved_windowed_x = -1, saved_windowed_y = -1;
    int saved_full_width = -1, saved_full_height = -1, saved_full_bpp = -1, saved_full_frequency = -1;
    char cursor_shown = 1;
    char shown = 0;
    char double_click = 0;
    int mouse_clicks = 1;
    char restrict_resizing = 0;
    _EngWindowRestrictResizingInfo restrict_info = {};
    // The drag direction of a restricted live resize, judged from the mouse.
    char drag_horizontal = 1;
    char drag_mouse_known = 0;
    int drag_mouse_x = 0, drag_mouse_y = 0;
    // A size reported by WindowResizing whose device re-creation is due.
    char resize_pending = 0;
    double resize_step_time = 0;
    void (*key_callback)(unsigned char key, char down) = nullptr;
    _EngWindowResChangeSettings res_change = {};
    char res_change_pending = 0;
    void (*res_change_cb)(void*) = nullptr;
    void* res_change_user = nullptr;
    EngDevice* device = nullptr;
    char destroying_device = 0;
    char releasing_window = 0;

    // Platform half.
    int mouse_x = 0, mouse_y = 0;
    char quit_requested = 0;
    _EngWindowEventMemory event_memory = {};
    char minimised = 0;
    char platform_ready = 0;
    _EngCreateWindowParms parms = {};
};

extern EngWindow* eng_main_window;

// The platform window (an SDL_Window*) while it exists, else null. The GL
// device makes its context on it.
extern void* eng_main_sdl_window;

// Test seam: when set, GetWindowEvents takes its one event from here.
extern char (*eng_window_event_source)(EngWindow* window);

extern char eng_main_window_windowed;
extern int eng_main_window_width, eng_main_window_height;
extern int eng_main_window_bitdepth, eng_main_window_frequency;
extern float eng_main_window_x_ratio, eng_main_window_y_ratio;
extern float eng_main_window_x_ratio_inv, eng_main_window_y_ratio_inv;
extern float eng_main_window_x_widescreen_ratio, eng_main_window_y_narrowscreen_ratio;
extern char eng_main_window_portraited;
extern int eng_main_window_aa, eng_main_window_ms_type, eng_main_window_ms_quality;
extern char eng_key_down[256];

// How long the size must stay unchanged before a live resize counts as ended.
#define ENG_WINDOW_RESIZE_SETTLE_SECONDS 0.2
// How often an active full-screen window that the platform does not report as
// focused asks who holds the focus.
#define ENG_WINDOW_FOCUS_CHECK_SECONDS 0.25

// Brings a proposed content size within the restriction: sizes below the
// minimum are raised and a width/height ratio outside the range is brought to
// the nearer limit by changing the height (horizontal drag) or the width
// (vertical drag), repeated up to 101 times. A ratio limit of 0 or less is no
// limit. 1 when the size was changed.
char EngWindowCorrectRestrictedSize(const _EngWindowRestrictResizingInfo* info, char horizontal, int* width,
                                    int* height);

// Multisample count for an anti-aliasing setting: the display dialog stores
// levels (1 normal, 2 strong); 4 and 8 are sample counts.
int EngWindowSamplesForAA(int aa);
