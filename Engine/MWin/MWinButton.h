// The toolkit's widget class: one class for every widget kind, the kind
// number selecting the per-kind record and behaviour.
#pragma once

#include "EngTypes.h"
#include "EngTriangleList.h"
#include "MWinUtil.h"

class MWin;
class MWinWindow;
class MWinButton;
class EngTexture;
class EngFont;
class EngPicture;
struct MWinLayoutSettings;

// Widget kinds.
typedef int _MWinButtonType;
#define MWIN_BUTTON_PLAIN 0
#define MWIN_BUTTON_PUSH 1
#define MWIN_BUTTON_PUSH_NO_TAB 2
#define MWIN_BUTTON_TEXT_EDIT 3
#define MWIN_BUTTON_HORZ_SCROLLBAR 4
#define MWIN_BUTTON_VERT_SCROLLBAR 5
#define MWIN_BUTTON_LIST 6
#define MWIN_BUTTON_CHECKBOX 7
#define MWIN_BUTTON_CHOICE 8
#define MWIN_BUTTON_PANEL 9
#define MWIN_BUTTON_COLOUR 10
#define MWIN_BUTTON_PIE 11
#define MWIN_BUTTON_GRAPH 12
#define MWIN_BUTTON_GENERIC 13
#define MWIN_BUTTON_SCRIPT 14
#define MWIN_BUTTON_RANGE 15
#define MWIN_BUTTON_FRAME 16
#define MWIN_BUTTON_NUM_TYPES 17

// Look of a widget: 0 normal, 1 focused, 2 pressed, 3 disabled.
#define MWIN_TEXSTATE_NORMAL 0
#define MWIN_TEXSTATE_FOCUSED 1
#define MWIN_TEXSTATE_PRESSED 2
#define MWIN_TEXSTATE_DISABLED 3

// Text alignment: 0 left, 1 centre, 2 right.
#define MWIN_TEXT_ALIGN_LEFT 0
#define MWIN_TEXT_ALIGN_CENTRE 1
#define MWIN_TEXT_ALIGN_RIGHT 2

typedef int _MWinButtonTextEditType;
#define MWIN_TEXTEDIT_ANY 0
#define MWIN_TEXTEDIT_NUMBER 1
#define MWIN_TEXTEDIT_IP_ADDRESS 2
#define MWIN_TEXTEDIT_EMAIL 3

#define MWIN_BUTTON_MAX_TEXT 512
#define MWIN_TEXTEDIT_MAX_LENGTH 511
#define MWIN_LANGUAGE_TOKEN_SIZE 64
#define MWIN_FILENAME_SIZE 256

// Bound variable kinds.
#define MWIN_VAR_NONE 0
#define MWIN_VAR_CHAR 1
#define MWIN_VAR_UCHAR 2
#define MWIN_VAR_INT 3
#define MWIN_VAR_INT16 4
#define MWIN_VAR_UINT16 5
#define MWIN_VAR_LONG 6
#define MWIN_VAR_ULONG 7
#define MWIN_VAR_FLOAT 8
#define MWIN_VAR_TWO_FLOATS 9
#define MWIN_VAR_COLOUR_RGB 10
#define MWIN_VAR_STRING 11

// What every widget callback receives (zeroed before filling).
struct _MWinButtonCallbackInfo
{
    char button_id[ENG_ID_SIZE];
    char window_id[ENG_ID_SIZE];
    MWinButton* button;
    unsigned char text_edit_flag; // 1 Enter, 0 otherwise, 255 one key press
    char scrollbar_flag;
    double scrollbar_pos;
    char list_event;
    EngInt32 list_pos;
    char checkbox_state;
    EngInt32 choice_sel;
    char choice_highlight;
    EngInt32 panel_event; // 0 moved, 1 chosen
    EngInt32 panel_pos;
    char panel_caller;
    char colour_flag;
    EngInt32 tab_row;
    char tab_select;
    char tab_heading_pressed;
    char tab_select2;
    char range_flag;
};

typedef void (*MWinButtonCallback4)(MWin*, _MWinButtonCallbackInfo*, int, int);
typedef void (*MWinButtonCallback5)(MWin*, _MWinButtonCallbackInfo*, int, int, void*);
typedef void (*MWinButtonPlainCallback)();
typedef void (*MWinButtonPlainDataCallback)(void*);
typedef char (*MWinButtonKeyDownCallback)(int, MWinButton*);
typedef char (*MWinButtonWheelCallback)(int);
typedef void (*MWinButtonRenderCallback)(MWinButton*, _Dimension*, _MWinTextureState, int, void*);
typedef const char* (*MWinButtonStringsCallback)(int, MWinButton*, void*);

struct _MWinButtonPieInfo
{
    float value;
    float maximum;
    _ColourRGB colour1, colour2, colour3;
    EngTriangleList list1, list2, list3;
};

struct _MWinButtonTextEditInfo
{
    char cursor_visible;
    char editing_requested;
    EngInt32 max_length;
    EngInt32 cursor_pos;
    char* buffer;
    void (*start_editing_cb)();
    EngInt32 text_type;
    char clear_when_editing;
    char call_each_key;
    char hide_letters;
};

struct _MWinButtonListInfo
{
    EngInt32 pos;
    EngInt32 num_entries;
    MWinButtonStringsCallback strings_cb;
    const char** strings;
    char language;
    char open;
    EngInt32 first_shown, end_shown, open_pos, open_start;
    float box_y, box_h, top_cap_y, top_cap_h, bottom_cap_y, bottom_cap_h, highlight_y;
    char up_arrow, down_arrow;
    float up_row_y, up_row_h, down_row_y, down_row_h;
    EngInt32 scroll;
    EngInt32 delay_ms;
    double open_time;
    float open_x, open_y;
};

struct _MWinButtonChoiceInfo
{
    char arrows;
    EngInt32 sel;
    EngInt32 num_items;
    MWinButtonStringsCallback strings_cb;
    const char** strings;
    char language;
    char want_highlight_cbs;
    EngInt32 highlighted;
    char wide_sel;
    float width_mult;
};

struct _MWinButtonPanelInfo
{
    char allow_no_pos;
    EngInt32 pos, anchor;
    unsigned char* selected;
    EngInt32 num_entries, per_page;
    char per_page_mode;
    char multi_sel, toggle_sel, show_sel;
    MWinButtonStringsCallback strings_cb;
    const char** strings;
    char language;
    MWinButtonRenderCallback item_render_cb;
    void* item_render_data;
    float display_pos;
    float row_h;
    EngInt32 max_string_length;
    char sidebar_shown;
    float entries_w;
    _Dimension sidebar;
    float right, bottom;
    float slider_x, slider_w, slider_y, slider_bottom, slider_length;
    float track_top, track_bottom, track_length;
    float* colours;
};

struct _MWinButtonPictureInfo
{
    char kind; // 0 none, 2 picture, 3 texture without blending, 4 + blend type
    EngTexture* texture;
    EngPicture* picture;
    char tick;
    char part_on;
    float part_l, part_t, part_r, part_b;
    char borders_on;
    float border_l, border_t, border_r, border_b;
};

struct _MWinButtonRangeInfo
{
    float minimum, maximum, lower, upper, gap;
    char auto_text;
    EngInt32 prefix_length;
    char changed_by_drag;
    unsigned char held;
    float drag_offset;
};

struct _MWinButtonCustomTexState
{
    char opt1, opt2, opt3;
    char filename[MWIN_FILENAME_SIZE];
    float tc_left, tc_top, tc_right, tc_bottom;
    float r, g, b, a;
    EngTexture* texture; // owned
    EngTexture* outside; // not owned
};

struct _MWinButtonBoundVar
{
    char kind;
    char* p_char;
    unsigned char* p_uchar;
    int* p_int;
    int mult_int;
    short* p_int16;
    short mult_int16;
    unsigned short* p_uint16;
    unsigned short mult_uint16;
    int* p_long;
    int mult_long;
    unsigned int* p_ulong;
    unsigned int mult_ulong;
    float* p_float;
    float* p_float2;
    float mult_float;
    _ColourRGB* p_colour;
    char* p_string;
    int string_size;
};

// What is needed to find a button again after application code ran, without
// touching the button itself.
struct _MWinButtonRef
{
    const void* self;
    MWin* mw;
    char had_program, had_window;
    char coll_id[ENG_ID_SIZE];
    char win_id[ENG_ID_SIZE];
    char but_id[ENG_ID_SIZE];
};

class MWinButton
{
public:
    MWinButton(MWin* mw, const char* id, MWinWindow* parent, _MWinButtonType type, const char* texbut_id,
               const char* text, float x, float y, float w, float h);
    MWinButton(const MWinButton&) = delete;
    MWinButton& operator=(const MWinButton&) = delete;

    // Virtual slots.
    virtual ~MWinButton();
    virtual char CreateGraphicsObjects();
    virtual void DestroyGraphicsObjects();
    virtual void PositionUpdated();
    virtual char Tick();
    virtual void Render();
    virtual char HandleMouseButtonPressed(char button, char down, char third);
    virtual char HandleMouseButtonDoubleClicked(char button);
    virtual void HandleMouseButtonPressCanceled();
    virtual char HandleMouseMove();
    virtual char HandleMouseWheel(int delta);
    virtual char HandleKeyDown(int key);
    virtual char HandleKeyDownUChar(unsigned char c);
    virtual char HandleKeyUp(int key);
    virtual char KeepFocusOnMouseMove();
    virtual void Activate();
    virtual void Deactivate();

    // Kind and identity.
    char SetType(_MWinButtonType type);
    _MWinButtonType GetType() const { return type; }
    const char* GetID() const { return id; }
    MWin* GetMWin() const { return mwin; }
    MWinWindow* GetParent() const { return parent; }
    char SetEscapeButtonForParentWindow();
    char SetDefaultButtonForParentWindow();
    char CopyFromOtherButton(MWinButton* other, char full);
    char IsAlive() const { return alive == 1 && serial2 == serial1 + 1; }
    void MakeRef(_MWinButtonRef* ref);
    // 1 when the referenced button still exists (the program, its window and
    // the toolkit too); reads nothing of a button that is gone.
    static char RefStillExists(const _MWinButtonRef* ref);
    static EngInt32 total_buttons_created;

    // Links kept by the window.
    MWinButton* prev;
    MWinButton* next;

    // States.
    void Enable();
    void Disable();
    void Enable(char on);
    void Show(char on);
    void Hide();
    char IsEnabled() const { return enabled; }
    char IsShown() const { return shown; }
    char IsFocused() const { return focused; }
    char IsPressed() const { return pressed; }
    char IsLive() const { return live; }
    // Live widgets take input, except pies, which only show a value.
    char TakesInput() const { return live && type != MWIN_BUTTON_PIE; }
    char IsDragging() const { return dragging; }
    char IsATabStop();
    _MWinTextureState GetRenderState();
    void SetOverrideRenderState(_MWinTextureState state) { override_state = state < 0 ? -1 : state; }
    void SetCallOnPress(char on) { call_on_press = on; }

    // Predicates used before calling a slot.
    char ShouldHandleMouseButtonPressed(char button, char down, char third);
    char ShouldHandleMouseButtonDoubleClicked(char button);
    char ShouldHandleMouseMove();
    char ShouldKeepFocusOnMouseMove();
    char ShouldHandleMouseWheel();
    char ShouldHandleKeyDown();
    char ShouldHandleKeyDownUChar();
    char ShouldHandleKeyUp();
    char ShouldTick();

    // Areas.
    void GetOrigPos(float* x, float* y, float* w, float* h);
    void GetOrigPos(int* x, int* y, int* w, int* h);
    void GetOrigArea(_Dimension* out);
    _Dimension* GetOrigArea() { return &orig_area; }
    void GetActualPos(float* x, float* y, float* w, float* h);
    void GetActualPos(int* x, int* y, int* w, int* h);
    void GetActualArea(_Dimension* out);
    _Dimension* GetActualArea() { return &actual_area; }
    _Dimension* GetCropArea() { return &crop_area; }
    void GetOrigBoundingBox(int* x0, int* y0, int* x1, int* y1);
    void SetOrigPos(float x, float y, float w, float h);
    void SetOrigPos(float x, float y);
    void SetOrigPos();
    void SetOrigPosNoBoundsCheck(float x, float y, float w, float h);
    void SetOrigPosNoBoundsCheck(_Dimension* d);
    void SetOrigArea(const _Dimension* d);
    void SetOrigArea(_Dimension d);
    void SetOrigArea(float x, float y, float w, float h) { SetOrigPos(x, y, w, h); }
    void SetOrigBoundingBox(int x0, int y0, int x1, int y1);
    void UpdateActualArea();
    float GetAutoResizeScaleX();
    float GetAutoResizeScaleY();
    MWinLayoutSettings* GetLayoutSettings();
    float GetTextXMargin() const { return text_x_margin; }

    // Texts and fonts.
    char SetText(const char* s);
    char SetText2(const char* s);
    char SetTexts(const char* s0, const char* s1);
    char SetTextPrintf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    char SetMultilineText(const char* s);
    char SetMultilineTextPrintf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void SetTextToMultiline(char on) { multiline = on; }
    char IsMultiline() const { return multiline; }
    char DoSetText(int n, const char* s);
    char AllocAndSetText(int n, const char* s);
    void FreeText(int n);
    void FreeTexts();
    char HasText();
    char HasText2();
    char HasText(int n);
    char* GetTextP();
    char* GetTextP2();
    char* GetTextP(int n);
    EngInt32 GetTextLength(int n) const { return (n == 0 || n == 1) ? text_len[n] : 0; }
    char SetTextLanguageToken(const char* token);
    void NewLanguageSet();
    char HasLanguageToken() const { return language_on; }
    const char* GetLanguageToken() const { return language_token; }
    void SetScrollingText(const char* s, float speed);
    void ScrollingTextTick();
    const char* GetScrollingText() const { return scroll_text; }
    float GetScrollingOffset() const { return scroll_offset; }
    void SetTextAlign(_MWinTextAlign a);
    _MWinTextAlign GetTextAlign() const { return align; }
    char SetFont(const char* font_id);
    EngInt32 GetFontNum() const { return font_num; }
    EngFont* GetTextFont();
    void SetTextScale(float x, float y);
    void SetTextScale(const _Vector2d* s);
    void SetTextScaleRelative(char on);
    void GetTextScaleNoOrientation(_Vector2d* out);
    void GetTextScaleIncludingOrientation(_Vector2d* out);
    void SetTextColour(float r, float g, float b, float a);
    void SetTextColour(float r, float g, float b);
    void SetTextColour(const _ColourRGBA* c);
    void SetTextTransparency(float a);
    void GetTextColour(_ColourRGBA* out);
    float GetTextWidth();
    char CalcMultilineTextBoxSize(float* w, float* h);
    void SetShrinkToFit(char on) { shrink_to_fit = on; }

    // Colour.
    void SetColour(const _ColourRGBA* c);
    void SetColour(float r, float g, float b, float a);
    void SetColour(_ColourRGB* c);
    void SetTransparency(float alpha);
    void GetColour(_ColourRGBA* out);
    const _ColourRGBA* GetColour();
    float GetTransparency();
    char IsColourSet() const { return colour_set; }
    static const _ColourRGBA mwb_no_colour;

    // Background texture button.
    char SetBackTexButToTexBut(const char* texbut_id);
    void SetBackTexButToDefault();
    void SetBackTexButToNone();
    char SetBackTexButToCustom(_MWinTextureState state, const char* file, char o1, char o2, char o3, float l,
                               float t, float r, float b, float cr, float cg, float cb, float ca);
    char SetBackTexButToCustom(const char* file, char o1, char o2, char o3, float l, float t, float r,
                               float b);
    char SetBackTexButToCustom(const char* file);
    char SetBackTexButToCustom(const char* file, char o1, char o2, char o3);
    char SetBackTexButToCustomTexP(_MWinTextureState state, EngTexture* tex, char o3, float l, float t,
                                   float r, float b, float cr, float cg, float cb, float ca);
    char SetBackTexButToCustomTexP(EngTexture* tex);
    char CreateCustomTexBut();
    void DestroyCustomTexBut();
    char HasBackTex() const { return texbut_num >= 0; }
    EngInt32 GetTexButNum() const { return texbut_num; }
    const char* GetTexButID() const { return texbut_id; }
    char IsCustomBackOn() const { return custom_on; }
    const char* GetBackCustomTexButFilename();

    // Drawing.
    char PrepareForRender();
    void RenderNoPrepare();
    void RestoreAfterRender();
    void RestoreAfterRenderAreaCrop();
    char CropRenderAreaToButtonNew2();
    void RenderBack(_MWinTextureState state);
    void RenderNormalBack(_MWinTextureState state, _Dimension* area);
    void RenderNormalBack(_MWinTextureState state);
    void RenderNormalBack(_MWinTextureState state, float x, float y, float w, float h);
    void RenderText(_MWinTextureState state);
    void RenderNormalOrMultilineText();
    void RenderNormalText();
    void RenderMultilineText();
    void RenderScrollingText();
    char RenderOnTopOfOtherButtons();
    void UpdateTextFontColour(EngFont* font, _ColourRGBA* given);
    void UpdateTextFontColourAndScale();
    void GetTextXLimits(float* start, float* end, float margin);
    void SetExtraRenderCB(MWinButtonRenderCallback cb, int i, void* data);

    // Callbacks.
    char SetCallback(MWinButtonCallback4 fn, int i1, int i2, char check);
    char SetCallback(MWinButtonCallback5 fn, int i1, int i2, void* data, char check);
    char SetPlainCallback(MWinButtonPlainCallback fn);
    char SetPlainCallback(MWinButtonPlainDataCallback fn, void* data);
    void RemoveAllCallbacks();
    char HasCallback();
    char CallCallback(_MWinButtonCallbackInfo* info);
    char CallCallback() { return CallCallback(nullptr); }
    void FillCallbackInfo(_MWinButtonCallbackInfo* info);
    void SetKeyDownCB(MWinButtonKeyDownCallback cb) { key_down_cb = cb; }
    void SetMouseWheelCallback(MWinButtonWheelCallback cb) { wheel_cb = cb; }
    char PostHandleKeyDown(int key, char handled);
    char PushButtonHandleKeyDown(int key);
    void SetStringsCallbackData(void* data) { strings_cb_data = data; }
    MWinButtonCallback5 GetCallback5() const { return cb5; }

    // Bound variables.
    char RegisterCharVariable(char* p);
    char RegisterUnsignedCharVariable(unsigned char* p);
    char RegisterIntVariable(int* p, int mult = 1);
    char RegisterInt16Variable(short* p, short mult = 1);
    char RegisterUInt16Variable(unsigned short* p, unsigned short mult = 1);
    char RegisterLongVariable(int* p, int mult = 1);
    char RegisterUnsignedLongVariable(unsigned int* p, unsigned int mult = 1);
    char RegisterFloatVariable(float* p, float mult = 1.0f);
    char RegisterTwoFloatVariables(float* p, float* q, float mult = 1.0f);
    char RegisterColourRGBVariable(_ColourRGB* p);
    char GetBoundVariableKind() const { return var.kind; }

    // Checkbox.
    void CheckboxReset();
    void CheckboxSet(char state, char call);
    char CheckboxGet() const { return checkbox_state; }
    char CheckboxRegisterIntVariable(int* p, char call);
    char CheckboxRegisterCharVariable(char* p, char call);
    char CheckboxHandleMouseButtonPressed(char button, char down);
    char CheckboxHandleMouseButtonDoubleClicked(char button);
    char CheckboxHandleKeyPress(int) { return 0; }
    void CheckboxRenderButton(_MWinTextureState state);
    void CheckboxRenderText(_MWinTextureState state);
    float CheckboxGetTextEnd() const { return checkbox_text_end; }

    // Choice.
    void ChoiceReset();
    char ChoiceSetStrings(int n, const char** strings);
    char ChoiceSetStringsCallback(int n, MWinButtonStringsCallback fn, void* data);
    char ChoiceSetStringsLanguageToken(int n, const char* token);
    void ChoiceSetSel(int sel, char call);
    void ChoiceSetSel(int sel) { ChoiceSetSel(sel, 0); }
    int ChoiceGetSel() const { return choice.sel; }
    void ChoiceSetNumItems(int n);
    int ChoiceGetNumItems() const { return choice.num_items; }
    void ChoiceUseArrows(char on, char unused);
    char ChoiceIsUsingArrows() const { return type == MWIN_BUTTON_CHOICE && choice.arrows; }
    void ChoiceUpdateArrows();
    char ChoiceIsLeftArrowShown() const { return choice_left_arrow; }
    char ChoiceIsRightArrowShown() const { return choice_right_arrow; }
    void ChoiceWantHighlightCallbacks(char on) { choice.want_highlight_cbs = on; }
    int ChoiceGetHighlighted() const { return choice.highlighted; }
    void ChoiceSetSelectionExtraWidthMultiplier(float m);
    float ChoiceGetItemWidth(int i);
    int ChoiceGetItemFromMousePos(char clamp);
    const char* ChoiceGetString(int i);
    char ChoiceRegisterInt16Variable(short* p, char call);
    char ChoiceRegisterIntVariable(int* p, char call);
    char ChoiceRegisterCharVariable(char* p, char call);
    char ChoiceHandleMouseButtonPressed(char button, char down);
    char ChoiceHandleMouseButtonDoubleClicked(char button);
    char ChoiceHandleMouseMove();
    char ChoiceHandleKeyDown(int key);
    char ChoiceArrowsHandleMousePress();
    char ChoiceBoxesHandleMousePress();
    void ChoiceRenderBacks(_MWinTextureState state);
    void ChoiceBoxesDraw(_MWinTextureState state);
    void ChoiceArrowsDraw(_MWinTextureState state);
    void ChoiceRenderText();
    void ChoiceBoxesDrawTexts();
    void ChoiceArrowsDrawTexts();

    // Text edit.
    void TextEditReset();
    void TextEditSetup(int length);
    void TextEditSetLength(int length);
    int TextEditGetLength() const { return te.max_length; }
    void TextEditSetType(_MWinButtonTextEditType t) { te.text_type = t; }
    void TextEditSetIpAddress(const char* s);
    void TextEditSetEmail(const char* s, int length);
    void TextEditClearTextWhatEditingStarts() { te.clear_when_editing = 1; }
    void TextEditSetStartEditingCB(void (*cb)()) { te.start_editing_cb = cb; }
    void TextEditCallCallbackForEachKeyPress() { te.call_each_key = 1; }
    void TextEditHideLetters() { te.hide_letters = 1; }
    char TextEditRegisterStringVariable(char* p, int size);
    char TextEditRegisterIntVariable(int* p, int size);
    char TextEditRegisterInt16Variable(short* p, int size);
    char TextEditRegisterUInt16Variable(unsigned short* p, int size);
    char TextEditSetText(const char* s);
    char TextEditSetNumber(int n);
    char TextEditHasText();
    char* TextEditGetTextP();
    const char* TextEditGetText();
    char TextEditGetText2(char* dst, int size);
    int TextEditGetNumber();
    char TextEditSetCurrentlyBeingEditedText(const char* s);
    void TextEditTurnOnEditing();
    void TextEditTurnOffEditing(char confirmed);
    char TextEditMoveCursorToButtonAndTurnOnEditing();
    char TextEditIsTextBeingEdited() const { return te.editing_requested; }
    char IsTextBeingEditing() const { return editing; }
    int TextEditGetCursorPos() const { return te.cursor_pos; }
    char TextEditIsCursorVisible() const { return te.cursor_visible; }
    char TextEditHandleMousePress();
    char TextEditHandleKeyDown(int key);
    char TextEditHandleKeyDownUChar(unsigned char c);
    void TextEditDeactivate();
    char TextEditTick();
    void TextEditUpdateCursor();
    char TextEditAllocText();
    void TextEditFreeText();
    void TextEditRenderText();
    float TextEditRenderHiddenLetters();

    // Drop-down list.
    void ListReset();
    char ListSetStrings(int n, const char** strings);
    char ListSetStringsCallback(int n, MWinButtonStringsCallback fn, void* data);
    char ListSetStringsLanguageToken(int n, const char* token);
    char ListIsOpen();
    int ListGetPos();
    int ListGetNumEntries();
    const char* ListGetString();
    const char* ListGetEntryString(int i);
    int ListGetOpenPos();
    const _MWinButtonListInfo* ListGetInfo() const { return &list; }
    char ListSetPos(int pos, char call);
    char ListSetPos(int pos) { return ListSetPos(pos, 0); }
    void ListRefresh();
    void ListUpdateFromRegisteredVariable(char call);
    char ListRegisterCharVariable(char* p);
    char ListRegisterIntVariable(int* p);
    char ListSetPosToString(const char* s, char call);
    void ListOpen();
    void ListClose(char choose, char call);
    char ListHandleEscape();
    char ListCalcOpenListVariables();
    char ListSelectNewOpenPos(int p);
    char ListTraverse(int d);
    char ListHandleMouseButtonPressed(char button, char down);
    char ListHandleMouseMove();
    char ListHandleMouseWheel(int d);
    char ListHandleKeyDown(int key);
    char ListTick();
    void ListRenderBack(_MWinTextureState state);
    void ListRenderText();
    void ListRenderOnTopOfOtherButtons(_MWinTextureState state);
    void ListRenderBackPart(_MWinTextureState state, int slot, float x, float y, float w, float h);

    // List panel.
    void PanelReset();
    char PanelSetStrings(int n, int per_page, const char** strings);
    char PanelSetStringsCallback(int n, int per_page, MWinButtonStringsCallback fn, void* data);
    char PanelSetStringsLanguageToken(int n, int per_page, const char* token);
    void PanelEmpty();
    void PanelFree();
    char PanelAllocateMultiPos();
    void PanelAllowMultisel(char multi, char toggle);
    void PanelAllowNoPos() { panel.allow_no_pos = 1; }
    void PanelShowSel(char on) { panel.show_sel = on; }
    void PanelSetEntryColour(int i, const _ColourRGBA* c);
    const float* PanelGetEntryColours() const { return panel.colours; }
    void PanelSetMaxStringLength(int n) { panel.max_string_length = n; }
    void PanelSetPanelItemRenderCB(MWinButtonRenderCallback fn, void* data);
    void PanelSetPos(int pos, char event, char caller);
    int PanelGetPos() const { return panel.pos; }
    char PanelSetPosToString(const char* s);
    void PanelRefresh();
    void PanelUpdateFromRegisteredVariable(char call);
    char PanelRegisterCharVariable(char* p, char call);
    char PanelRegisterInt16Variable(short* p, char call);
    char PanelRegisterIntVariable(int* p, char call);
    void PanelClearAllSelectedItems();
    void PanelSelectItem(int i, char on);
    char PanelIsItemSelected(int i);
    int PanelGetNumSelectedItems();
    int PanelGetNthSelectedItemNum(int n);
    const char* PanelGetSelString();
    const char* PanelGetSelStringForItem(int i);
    void PanelUpdateNumPerPageVar(int n);
    int PanelGetNumEntries() const { return panel.num_entries; }
    int PanelGetNumEntriesPerPage() const { return panel.per_page; }
    float PanelGetDisplayPos() const { return panel.display_pos; }
    void PanelSetDisplayPos(float x);
    void PanelCenterToPosIfPossible();
    char PanelGetStartAndEndDisplayPos(int* start, int* end);
    int PanelGetNumDisplayedItems();
    int PanelGetNthDisplayedItemsItemNumber(int n);
    char PanelGetNthDisplayedItemsDimension(int n, _Dimension* out);
    char PanelGetNthItemsDimension(int i, _Dimension* out);
    char PanelGetSidebarDimensions();
    const _MWinButtonPanelInfo* PanelGetInfo() const { return &panel; }
    float PanelGetScreenYPos();
    float PanelGetYPosFromScreen(float y);
    char PanelHandleMouseButtonPressed(char button, char down);
    char PanelHandleMouseButtonDoubleClicked(char button);
    char PanelHandleMouseWheel(int d);
    char PanelHandleKeyDown(int key);
    char PanelHandleKeyDownUChar(unsigned char c);
    void PanelHandleDragging();
    void PanelDeactivate();
    void PanelRenderBack(_MWinTextureState state);
    void PanelRenderText();

    // Pie.
    void PieReset();
    void PieSetValuesFloat(float value, float maximum);
    void PieSetColours(float r1, float g1, float b1, float r2, float g2, float b2, float r3, float g3,
                       float b3);
    char PieRegisterFloatVariable(float* p, float mult);
    void PieUpdateFromRegisteredVariable(char call);
    void PieUpdatePositions();
    void PieRenderButton(_MWinTextureState state);
    char PieCreateGraphicsObjects();
    void PieDestroyGraphicsObjects();
    const _MWinButtonPieInfo* PieGetInfo() const { return &pie; }

    // Range.
    void RangeReset();
    char RangeSetLimits(float min, float max, float gap);
    void RangeSetRange(float a, float b, char flag, char call);
    char RangeGetRange(float* lo, float* hi);
    char RangeGetAcualRangeValues(float* lo, float* hi);
    void RangeSetAutoText(char on, char decimals, char prefix);
    void RangeUpdateText();
    char RangeRegisterTwoFloatVariables(float* p, float* q, float mult, char call);
    void RangeUpdateFromRegisteredVariables(char call);
    void RangeGetScreenXPos(float* low_x, float* high_x);
    float RangeGetXPosFromScreen(float x, unsigned char* part);
    char RangeHandleMouseButtonPressed(char button, char down);
    void RangeHandleDragging();
    void RangeDraggingOver();
    char RangeHandleKeyDown(int key);
    void RangeRenderButton(_MWinTextureState state);
    void RangeRenderText() { RenderNormalText(); }
    const _MWinButtonRangeInfo* RangeGetInfo() const { return &range; }

    // Attached picture or texture.
    void PictureReset();
    void PictureAttachTextureToButton(EngTexture* t, char blend);
    char PictureAttachPictureToButton(EngPicture* p, char tick);
    void PictureRemoveTextureFromButton() { PictureReset(); }
    void PictureSetBlendType(char b);
    void PictureSetTextureCoordinates(float l, float t, float r, float b);
    void PictureSetTextureCoordinates(_TexCoords* tc);
    void PictureSetBorders(float l, float t, float r, float b);
    char PictureTick();
    void PictureDraw();
    const _MWinButtonPictureInfo* PictureGetInfo() const { return &pic; }

protected:
    void Reset();
    void ResetVars();
    void WriteBoundInt(int value, char kinds_up_to);
    int ReadBoundInt(char* ok);
    float LS(int n);
    void PlaySound(int event);
    const char* ItemString(MWinButtonStringsCallback cb, const char** strings, char language, int i);
    // Take a new item source (array, callback or language token; the others null).
    void ChoiceAdoptStrings(int n, const char** strings, MWinButtonStringsCallback cb, const char* token);
    void ListAdoptStrings(int n, const char** strings, MWinButtonStringsCallback cb, const char* token);
    void PanelAdoptStrings(int n, int per_page, const char** strings, MWinButtonStringsCallback cb,
                           const char* token);

    MWin* mwin;
    MWinWindow* parent;

    char alive;
    EngUInt16 serial1, serial2;
    char live, focused, pressed, enabled, shown, editing;

    MWinButtonCallback4 cb4;
    MWinButtonCallback5 cb5;
    MWinButtonPlainCallback cb_plain;
    MWinButtonPlainDataCallback cb_plain_data;
    void* cb_data;

    _MWinButtonTextEditInfo te;
    _MWinButtonListInfo list;
    char checkbox_state;
    float checkbox_text_end;
    _MWinButtonChoiceInfo choice;
    _MWinButtonPanelInfo panel;
    _MWinButtonPictureInfo pic;
    _MWinButtonPieInfo pie;
    _MWinButtonRangeInfo range;

    _MWinButtonBoundVar var;

    char dragging;
    float drag_offset;

    char custom_on;
    char default_texbut;
    _MWinButtonCustomTexState custom[4];

    char* texts[2];
    EngInt32 text_len[2];
    EngInt32 text_alloc_count;

    char call_on_press;
    MWinButtonKeyDownCallback key_down_cb;
    MWinButtonWheelCallback wheel_cb;
    MWinButtonRenderCallback extra_render_cb;
    int extra_render_int;
    void* extra_render_data;
    void* strings_cb_data;
    char scale_relative;

    char* scroll_text;
    EngInt32 scroll_len;
    float scroll_speed;
    float scroll_offset;

    char id[ENG_ID_SIZE];
    _Dimension orig_area;
    _Dimension actual_area;
    _Dimension crop_area;
    _MWinButtonType type;
    float text_scale_x, text_scale_y;
    _ColourRGBA text_colour;
    char colour_set;
    _ColourRGBA colour;
    char texbut_id[ENG_ID_SIZE];
    EngInt32 texbut_num;
    EngInt32 cb_int1, cb_int2;
    EngInt32 override_state;
    char font_id[ENG_ID_SIZE];
    EngInt32 font_num;
    _MWinTextAlign align;
    char multiline;
    char shrink_to_fit;
    float text_x_margin;
    char language_on;
    char language_token[MWIN_LANGUAGE_TOKEN_SIZE];
    EngInt32 language_token_num;
    EngInt32 language_num_sub_texts;

    char choice_left_arrow, choice_right_arrow;
    char no_bounds_check; // placed by SetOrigPosNoBoundsCheck: not kept inside the window

    static char mui_text_printf_format_str[612];
};
