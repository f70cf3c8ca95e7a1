// A small native modal window with a handful of controls placed by pixel
// rectangles: static texts, push buttons, edit texts, popup lists and
// pictures. Controls are named by the index that adding them returned; a
// group frame makes nothing and takes no index (adding one returns 0).
// Texts are Latin-1, one byte a character, as the toolkit draws them.
// A list's selection is always one of its entries.
// The window system sits behind SWinBackend (GTK in Engine/Linux), so the
// kit's own logic runs without a display.
#pragma once

#include <string>
#include <vector>

#include "EngTypes.h"

#define SWIN_MAX_BUTTONS 24
#define SWIN_STR_SIZE 256
// Taken off the requested window height (the title bar's share).
#define SWIN_TITLE_ALLOWANCE 30
// Kept free of the display's height.
#define SWIN_MENU_BAR_ALLOWANCE 50

enum _SWinButtonType
{
    SWIN_BUT_GROUP_FRAME = 0, // makes nothing; adding one returns 0
    SWIN_BUT_STATIC_TEXT = 1,
    SWIN_BUT_PUSH = 2,
    SWIN_BUT_EDIT_TEXT = 3,
    SWIN_BUT_LIST = 4, // made as a popup list
    SWIN_BUT_POPUP = 6,
    SWIN_BUT_PICTURE = 7,
};

enum _SWinTextAlign
{
    SWIN_ALIGN_LEFT = 0,
    SWIN_ALIGN_CENTRE = 1,
    SWIN_ALIGN_RIGHT = 2,
};

struct _SWinCreateInfo
{
    char head[260]; // not read by the kit
    EngInt32 x, y;  // negative centres the window on that axis
    EngInt32 width, height;
};
static_assert(sizeof(_SWinCreateInfo) == 276, "_SWinCreateInfo layout");
static_assert(offsetof(_SWinCreateInfo, x) == 260, "_SWinCreateInfo layout");

class SWin;

typedef void (*SWinClickCB)(SWin*);
typedef void (*SWinIntCB)(SWin*, int);
typedef void (*SWinCharCB)(SWin*, char);

// What the kit needs of a window system. Handles are opaque. Control
// notifications come back through SWin::HandleButtonCallback, closing the
// window and the quit key through SWin::QuitWindowLoop, a window destroyed
// by someone else through SWin::HandleWindowDestroyed.
class SWinBackend
{
public:
    virtual ~SWinBackend() = default;
    // Starts the window system; 0 when it cannot run (no display).
    virtual char Start() = 0;
    // The whole main display in pixels.
    virtual char GetDesktopSize(int* w, int* h) = 0;
    virtual void* CreateWindow(SWin* owner, int x, int y, int w, int h, const char* title) = 0;
    virtual void DestroyWindow(void* window) = 0;
    // index is the slot the control will take; text may be empty.
    virtual void* CreateControl(void* window, SWin* owner, int index, _SWinButtonType kind, int x, int y, int w,
                                int h, const char* text) = 0;
    // Removes a control the kit made but could not finish.
    virtual void DestroyControl(void* control) = 0;
    virtual char SetText(void* control, _SWinButtonType kind, const char* text) = 0;
    virtual char GetText(void* control, _SWinButtonType kind, std::string* out) = 0;
    virtual char SetTextAlign(void* control, _SWinButtonType kind, _SWinTextAlign align) = 0;
    virtual void Enable(void* control, char on) = 0;
    virtual void Show(void* control, char on) = 0;
    virtual void Move(void* control, _SWinButtonType kind, int x, int y, int w, int h) = 0;
    // Replaces the entries and shows entry 0, without notifying.
    virtual char SetListEntries(void* control, const std::vector<std::string>& texts) = 0;
    // Shows entry sel (the nearest entry when outside), without notifying.
    virtual void SetListSel(void* control, int sel) = 0;
    virtual int GetListSel(void* control) = 0;
    virtual char SetPicture(void* control, const char* path) = 0;
    virtual void SetDefaultButton(void* window, void* control) = 0;
    // Runs until QuitLoop.
    virtual void RunLoop() = 0;
    virtual void QuitLoop() = 0;
    // Handles one pending event: 1, or 0 when none was waiting.
    virtual char Pump() = 0;
};

// The window system's own backend (Engine/Linux).
SWinBackend* SWinGetPlatformBackend();
// Replaces the backend of windows created from now on; null restores the
// platform's. The caller keeps the object alive.
void SWinSetBackend(SWinBackend* backend);
SWinBackend* SWinGetBackend();

struct _SWinButton
{
    _SWinButtonType kind;
    int x, y, width, height;
    SWinClickCB click_cb;
    int list_count;
    SWinIntCB int_cb;
    SWinCharCB char_cb;
    int sel;
    int* bound_int;
    char* bound_char;
    void* control;
};

class SWin
{
public:
    SWin();
    ~SWin();
    SWin(const SWin&) = delete;
    SWin& operator=(const SWin&) = delete;

    char CreateMainWindow(_SWinCreateInfo* info);
    void DestroyMainWindow();
    char IsCreated() const { return created; }
    char GetSize(int* w, int* h);

    int AddButtonToWindow(_SWinButtonType kind, int x, int y, int w, int h, const char* text);
    int AddGroupFrameToWindow(int x, int y, int w, int h, const char* text);
    int AddTextButtonToWindow(int x, int y, int w, int h, const char* text, _SWinTextAlign align);
    int AddPushButtonToWindow(int x, int y, int w, int h, const char* text, SWinClickCB click);
    int AddListButtonToWindow(int x, int y, int w, int h, int n, char (*strs)[SWIN_STR_SIZE], SWinIntCB cb);
    int AddChoiceButtonToWindow(int x, int y, int w, int h, int n, char (*strs)[SWIN_STR_SIZE], SWinCharCB cb);
    int AddPictureButtonToWindow(int x, int y, int w, int h, const char* path);

    char PushButtonSetCallback(int i, SWinClickCB click);
    char SetDefaultPushButton(int i);

    char ListSetCallback(int i, SWinIntCB cb);
    char ListSetCharCallback(int i, SWinCharCB cb);
    char ChoiceSetCallback(int i, SWinCharCB cb);
    char ListSetStrs(int i, int n, char (*strs)[SWIN_STR_SIZE]);
    char ChoiceSetStrs(int i, int n, char (*strs)[SWIN_STR_SIZE]);
    char ListSetStrsCallback(int i, int n, const char* (*text)(int, void*), void* user);
    char ListSetStrsCallback(int i, int n, char* (*text)(int, void*), void* user);
    char ListSetSel(int i, int sel);
    char ChoiceSetSel(int i, char sel, char unused = 0);
    int ListGetSel(int i);
    char ChoiceGetSel(int i);
    char ListRegisterIntVariable(int i, int* v);
    char ListRegisterCharVariable(int i, char* v);
    char ChoiceRegisterCharVariable(int i, char* v, char unused = 0);
    char ChoiceCleanup(int i);

    char SetButtonText(int i, const char* text);
    char GetButtonText(int i, char* buf, int size);
    char SetButtonTextAlign(int i, _SWinTextAlign align);
    char EnableButton(int i, char on);
    char EnableButton(int i) { return EnableButton(i, 1); }
    char DisableButton(int i) { return EnableButton(i, 0); }
    char Show(int i, char on);
    char Show(int i) { return Show(i, 1); }
    char HideButton(int i) { return Show(i, 0); }
    char GetButtonPos(int i, int* x, int* y, int* w, int* h);
    char MoveButton(int i, int x, int y, int w, int h);
    char PictureSetFromFile(int i, const char* path);

    char RunWindowLoop();
    void QuitWindowLoop();
    char ProcessAnyWindowsMessages();

    // Called by the backend when control i was pressed or changed by the user.
    void HandleButtonCallback(int i);
    // Called by the backend when the window was destroyed by someone else:
    // ends the loop and the pump as a close does, and the window is gone.
    void HandleWindowDestroyed();

    int GetNumButtons() const { return count; }
    // The backend's handles (GtkWidget* on Linux), null when absent.
    void* GetWindowHandle() const { return window; }
    void* GetButtonControl(int i) const { return created && i >= 0 && i < count ? buttons[i].control : nullptr; }
    char IsQuitRequested() const { return quit; }
    float GetFontScale() const { return font_scale; }
    void SetFontScale(float scale);

private:
    // Ends a running loop, clears the slots and forgets the window, which it gives back.
    void* ForgetWindow();
    void AdjustSizeForFontScale(float* ax, float* ay, float* aw, float* ah, char is_window);
    _SWinButton* GetButton(int i, const char* func);
    // GetButton for a push, list or picture button only.
    _SWinButton* GetButton(int i, _SWinButtonType kind, const char* func);
    char SetStrs(int i, const std::vector<std::string>& strs, const char* func);
    char SetStrsFromCallback(int i, int n, const char* (*text)(int, void*), char* (*mtext)(int, void*), void* user,
                             const char* func);
    void RunListCallbacks(int i, int sel);
    // sel, or the nearest entry (logged) when it is outside them; -1 with no entries.
    int EntryFor(int i, int sel, const char* func);
    // Takes back the control just added to slot i, which could not be
    // finished: its slot is free again. Gives -1.
    int DropLastButton(int i);

    char created;
    float x, y, width, height;
    float font_scale;
    char quit;
    int count;
    _SWinButton buttons[SWIN_MAX_BUTTONS];
    SWinBackend* backend; // the one that made the window
    void* window;
    char loop_running;
};
