// A toolkit window: a rectangle holding a list of widgets, with an optional
// title bar and hide button, Escape and default buttons, a screen controller
// and built-in scrollbars over an extra content size.
#pragma once

#include "EngTypes.h"
#include "EngWhichDevice.h"
#include "MWinSettings.h"
#include "MWinUtil.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinCollectionController;
class MWinWindow;
class MWinFrameButton;
class MWinGraph;
class MWinScriptButton;
class MWinTabPanel;
class MWinVertScrollbar;
class EngTexture;
struct _MWinButtonCallbackInfo;
struct _MWinButtonRef;

typedef int _MWinButtonType;
typedef void (*MWinButtonCallbackFn)(MWin*, _MWinButtonCallbackInfo*, int, int);
typedef void (*MWinPlainCallbackFn)();
typedef char (*MWinWindowKeyDownCB)(int key, MWinWindow* window);
typedef void (*MWinHidePlainCallbackFn)(void* user);

#define MWIN_MOVE_FIXED 0
#define MWIN_MOVE_TITLE_BAR 1
#define MWIN_MOVE_ANYWHERE 2

struct _MWinWindowCreateInfo
{
    int type;
    float x, y, w, h;
    int move_mode;
    char hide_button;
    char title_bar;
    char title[256];
    char title_texbut[MWIN_ID_SIZE];
    char back_texbut[MWIN_ID_SIZE];
    char title_font[MWIN_ID_SIZE];
    char hide_text[64];
    char hide_texbut[MWIN_ID_SIZE];
};
typedef _MWinWindowCreateInfo MWinWindowCreateInfo;

// Free forms of the members of the same name.
void SetBackTexButToNone_wrap(MWinWindow* w);
_Vector2d* GetVirtualPos_wrap(MWinWindow* w);

// Fills a record with the defaults: type 0, area 10, 10, 50, 50, fixed, no
// title bar, default texture buttons and font.
void MWinWindowCreateInfoDefaults(_MWinWindowCreateInfo* info);

struct _MWinWindowCustomBack
{
    char options[3];
    char file[256];
    float u0, v0, u1, v1;
    char whole;
    float r, g, b, a;
    EngTexture* loaded;  // owned
    EngTexture* outside; // the caller's
};

struct _MWinWindowScroll
{
    float thumb_fraction;
    float free_length;
    _Dimension track;
    _Dimension thumb;
    float grab_offset;
    float grab_mouse;
    float offset;
    char dragging;
    signed char page_dir;
};

class MWinWindow
{
public:
    MWinWindow(MWin* mwin, const char* id, MWinCollection* parent, _MWinWindowCreateInfo* info);
    ~MWinWindow();
    MWinWindow(const MWinWindow&) = delete;
    MWinWindow& operator=(const MWinWindow&) = delete;

    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    char Tick();
    void Render();

    // Identity and state.
    _MWinWindowType GetType() const { return type; }
    void SetType(_MWinWindowType t);
    void Show(char show);
    void Hide();
    char IsShown() const { return shown; }
    char IsActive() const { return active; }
    void Activate();
    void Deactivate();
    void UpdateAutoResizeFlag();
    char IsAutoResizeOn() const { return auto_resize; }
    void UseWindowMarginsForCroppingButtons(char on);
    char UsesWindowMarginsForCropping() const { return crop_with_margins; }
    const char* GetID() const { return id; }
    char* GetIDP() { return id; }
    MWin* GetMWin() { return mwin; }
    MWinCollection* GetCollection() { return collection; }
    char IsDragging() const { return dragging; }
    void SetDragging(char d) { dragging = d; }

    // Title.
    void SetTitle(const char* title);
    const char* GetTitle() const { return info.title; }
    void SetTitleTextColour(float r, float g, float b, float a);
    void SetTitleTextColour(const _ColourRGBA* c);
    void SetTitleTextScale(float x, float y);
    void SetTitleTextAlign(_MWinTextAlign align);
    char SetTitleFontFromFontID(const char* id, char keep_id);
    int GetTitleFontNum() const { return title_font; }

    // Texture buttons.
    char SetTitleTexButToTexBut(const char* id);
    void SetTitleTexButToDefault();
    void SetTitleTexButToNone();
    char SetBackTexButToTexBut(const char* id);
    void SetBackTexButToDefault();
    void SetBackTexButToNone();
    char SetHideTexButToTexBut(const char* id);
    void SetHideTexButToDefault();
    void SetHideTexButToNone();
    int GetTitleTexButNum() const { return title_texbut; }
    int GetBackTexButNum() const { return back_texbut; }
    int GetHideTexButNum() const { return hide_texbut; }
    const char* GetBackTexButID() const { return info.back_texbut; }

    // Custom back textures (stored and loaded, not drawn).
    char SetBackTexButToCustom(_MWinTextureState state, const char* file, char o1, char o2, char o3, float u0,
                               float v0, float u1, float v1, float r, float g, float b, float a);
    char SetBackTexButToCustom(const char* file, char o1, char o2, char o3, float u0, float v0, float u1,
                               float v1);
    char SetBackTexButToCustom(const char* file, char o1, char o2, char o3);
    char SetBackTexButToCustom(const char* file);
    char SetBackTexButToCustomTexP(_MWinTextureState state, EngTexture* tex, char o1, char o2, char o3,
                                   float u0, float v0, float u1, float v1, float r, float g, float b,
                                   float a);
    char SetBackTexButToCustomTexP(EngTexture* tex);
    const char* GetBackCustomTexButFilename();
    char HasCustomBack() const { return custom_back; }

    // Colour.
    void SetColour(float r, float g, float b, float a);
    void SetColour(const _ColourRGBA* c);
    void SetColour(const _ColourRGB* c);
    const _ColourRGBA* GetColour();
    void SetTransparency(float t);
    float GetTransparency();

    // Geometry.
    void SetOrigPos(float x, float y, float w, float h);
    void SetOrigArea(const _Dimension* d);
    void SetOrigArea(_Dimension d) { SetOrigArea(&d); }
    void SetOrigPos(float x, float y);
    void SetOrigPos();
    void GetOrigPos(float* x, float* y, float* w, float* h);
    void GetOrigArea(_Dimension* d);
    _Dimension* GetOrigArea() { return &orig_area; }
    void GetActualPos(float* x, float* y, float* w, float* h);
    void GetActualArea(_Dimension* d);
    _Dimension* GetActualArea() { return &actual_area; }
    _Dimension* GetTitleBarArea() { return &title_area; }
    _Vector2d* GetVirtualPos() { return &virtual_pos; }
    void GetVirtualSize(float* w, float* h, char quiet);
    MWinLayoutSettings* GetScreenLayout();
    char IsMouseCursorInWindow();
    char HasTitleBar() const { return info.title_bar; }
    int GetMoveMode() const { return info.move_mode; }

    // Extra (scrollable) size.
    void SetExtraSize(float x, float y);
    _Vector2d* GetExtraSize() { return &extra_size; }
    char IsExtraSizeOn() const { return extra_size_on; }
    void ScrollToBottom();
    void UpdateExtraSizeInfo();
    void UpdateExtraPos(int axis, char);
    _MWinWindowScroll* GetScroll(int axis) { return &scroll[axis ? 1 : 0]; }

    // Title bar and hide button.
    void UpdateTitleBar();
    void UpdateHideButton(char recreate);
    void UpdateTitleFontColourAndScale();
    void SetHideButtonPlainCallback(MWinHidePlainCallbackFn fn, void* user);
    MWinButton* GetHideButton() { return hide_button; }

    // Widgets.
    MWinButton* AddButton(const char* id, _MWinButtonType kind, const char* texbut, const char* text, float x,
                          float y, float w, float h);
    MWinButton* AddButton(const char* id, _MWinButtonType kind, const char* texbut, const char* text, float x,
                          float y, float w, float h, MWinPlainCallbackFn fn);
    MWinButton* AddButton(const char* id, _MWinButtonType kind, const char* texbut, const char* text, float x,
                          float y, float w, float h, MWinButtonCallbackFn fn, int a, int b);
    MWinButton* AddHorzScrollbar(const char* id, const char* texbut, const char* text, float x, float y,
                                 float w, float h);
    MWinButton* AddColour(const char* id, const char* texbut, const char* text, float x, float y, float w,
                          float h);
    // Factories of the subclassed kinds (the MWinWindowAdd... functions).
    MWinVertScrollbar* AddVertScrollbar(const char* id, const char* texbut, const char* text, float x,
                                        float y, float w, float h);
    MWinFrameButton* AddBackButton(const char* id, const char* texbut, const char* text, float x, float y,
                                   float w, float h);
    MWinGraph* AddGraph(const char* id, const char* texbut, float x, float y, float w, float h);
    MWinTabPanel* AddTabPanel(const char* id, const char* texbut, float x, float y, float w, float h);
    MWinScriptButton* AddScriptButton(const char* id, const char* texbut, float x, float y, float w, float h);
    MWinButton* CompleteAddButton(MWinButton* b);
    char PreAddButton(const char* id, _MWinButtonType kind, float* area);
    char RemoveButton(MWinButton* b);
    void RemoveAllButtonsAfterButton(MWinButton* b);
    void RemoveAllButtons();
    int GetNumButtons();
    MWinButton* GetNthButton(int n);
    MWinButton* GetButtonFromID(const char* id, char report);
    MWinButton* GetButtonFromID(const char* id) { return GetButtonFromID(id, 1); }
    char SetButtonCallback(const char* id, MWinButtonCallbackFn fn, int a, int b);
    MWinButton* GetFirstButton() { return first_button; }
    MWinButton* GetLastButton() { return last_button; }
    void SetEscapeButton(MWinButton* b);
    MWinButton* GetEscapeButton() { return escape_button; }
    void SetDefaultButton(MWinButton* b);
    MWinButton* GetDefaultButton() { return default_button; }
    MWinButton* GetActiveButton();
    void SetController(MWinCollectionController* c);
    void UseCallbacks() { use_controller = 0; }
    MWinCollectionController* GetController(char must);
    void SetKeyDownCB(MWinWindowKeyDownCB cb) { key_down_cb = cb; }
    char SendButtonCallCallbackMessage(MWinButton* b);

    // Layout helpers.
    void CenterAllShownButtons(char horz, char vert);
    void CenterGroupOfButtons(MWinButton** list, char horz, char vert);
    void SpaceAllShownButtons(char horz, char vert);
    void SpaceGroupOfButtons(MWinButton** list, char horz, char vert);
    char CopyFromOtherWindow(MWinWindow* other, char);

    // Input (each returns 1 when the event was used).
    char HandleKeyDown(int key);
    char HandleKeyUp(int key);
    char HandleKeyDownUChar(unsigned char c);
    char HandleMouseButtonDoubleClicked(char button);
    void HandleMouseButtonPressCanceled();
    char KeepFocusOnMouseMove();
    char HandleMouseWheel(int delta);
    char HandleMouseMove();
    char ActivateButtonUnderMouse() { return HandleMouseMove(); }
    // Every focused widget but keep loses the focus; 0 when the widget ref
    // names is gone afterwards (a widget's callback removed it).
    char DeactivateAllButtonsBut(MWinButton* keep, const _MWinButtonRef* ref);
    char HandleButtonPressed(char button, char down, char flag3, char flag4);
    char ExtraSizeScrollbarsHandleButtonPressed(char button, char down, char flag3, char flag4);
    char ExtraSizeScrollbarsHandleMouseMove();
    char ExtraSizeScrollbarsHandleMouseWheel(int delta);

    // Popup bookkeeping.
    char saved_active = 0;
    // Links of the collection's window list.
    MWinWindow* prev_window = nullptr;
    MWinWindow* next_window = nullptr;

private:
    friend class MWinCollection;
    // Hands a key event to the focused widget; 0 when there is none.
    template <class Send>
    char SendToFocusedButton(Send send);
    void LinkButton(MWinButton* b);
    void UnlinkButton(MWinButton* b);
    void DestroyCustomBack();
    void RecomputeButtonAreas();
    MWinButton* FocusedButton();
    char IsMouseOver(const _Dimension* area);
    char TryShortcut(MWinButton* b);
    void RenderScrollbars();

    MWin* mwin;
    _MWinWindowType type = 0;
    char live = 0;
    MWinButton* hide_button = nullptr;
    char active = 0, shown = 1, dragging = 0;
    float drag_mouse_x = 0, drag_mouse_y = 0, drag_win_x = 0, drag_win_y = 0;
    char custom_back = 0;
    _MWinWindowCustomBack custom[4] = {};
    MWinWindowKeyDownCB key_down_cb = nullptr;
    _MWinWindowScroll scroll[2] = {};
    _Vector2d virtual_pos = {0, 0};
    MWinHidePlainCallbackFn hide_plain_cb = nullptr;
    void* hide_plain_user = nullptr;
    MWinCollectionController* controller = nullptr;
    char use_controller = 0;
    char id[MWIN_ID_SIZE] = {};
    MWinCollection* collection;
    MWinButton* first_button = nullptr;
    MWinButton* last_button = nullptr;
    _MWinWindowCreateInfo info = {};
    _Dimension orig_area = {}, actual_area = {}, title_area = {}, whole_area = {};
    char auto_resize = 1;
    MWinButton* escape_button = nullptr;
    MWinButton* default_button = nullptr;
    int title_font = -1;
    int title_texbut = -1, hide_texbut = -1, back_texbut = -1;
    _ColourRGBA title_colour = {0, 0, 0, 1};
    float title_scale_x = 1, title_scale_y = 1;
    _MWinTextAlign title_align = 0;
    char colour_set = 0;
    _ColourRGBA colour = {1, 1, 1, 1};
    _Vector2d extra_size = {0, 0};
    char extra_size_on = 0;
    char crop_with_margins = 1;
};
