// Widget base: construction, states, areas, texts, colours and backgrounds.
#include "MWinButton.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "MWinArea.h"
#include "MWinButtonCore.h"

EngInt32 MWinButton::total_buttons_created = 0;
const _ColourRGBA MWinButton::mwb_no_colour = {1, 1, 1, 1};
char MWinButton::mui_text_printf_format_str[612];

namespace
{
// Standard texture-button slot of each kind.
const int kDefaultTexBut[MWIN_BUTTON_NUM_TYPES] = {3,  27, 27, 28, 10, 12, 29, 27, 29,
                                                   30, 10, 3,  3,  3,  4,  3,  3};
const char* kTexButDefault = "MWIN_TEXBUT_DEFAULT";
const char* kTexButNone = "MWIN_TEXBUT_NONE";
} // namespace

MWinButton::MWinButton(MWin* mw, const char* bid, MWinWindow* par, _MWinButtonType t, const char* texbut,
                       const char* text, float x, float y, float w, float h)
{
    DebugAssertAlt(mw != nullptr, "MWinButton::MWinButton", "No mw");
    ResetVars();
    mwin = mw;
    EngSafeStrcpy(id, bid ? bid : "", ENG_ID_SIZE);
    DebugAssertAlt(par != nullptr, "MWinButton::MWinButton", "No Parent");
    parent = par;

    enabled = 1;
    shown = 1;
    type = t;
    shrink_to_fit = mwin ? mwb::ShrinkToFitDefault(mwin) : 0;

    SetBackTexButToTexBut(texbut);

    if (t != MWIN_BUTTON_PLAIN && mwin)
    {
        MWinLayoutSettings* ls = GetLayoutSettings();
        if (!ls)
            return;
        if (w < 0)
            w = mwb::LayoutValue(ls, 7);
        if (h < 0)
            h = mwb::LayoutValue(ls, 8);
    }
    if (parent)
    {
        _Dimension pa;
        mwb::GetWindowOrigArea(parent, &pa);
        if (x < 0)
            x = 0.5f * pa.w - 0.5f * w;
        if (y < 0)
            y = 0.5f * pa.h - 0.5f * h;
    }

    scale_relative = 0;
    text_colour = {0, 0, 0, 1};
    text_scale_x = text_scale_y = 1;
    align = MWIN_TEXT_ALIGN_CENTRE;
    colour_set = 0;
    colour = {1, 1, 1, 1};

    SetOrigPos(x, y, w, h);
    SetFont("MWIN_FONT_DEFAULT");
    language_on = 0;
    AllocAndSetText(0, text);
    AllocAndSetText(1, nullptr);
    language_token[0] = 0;
    language_token_num = -1;
    language_num_sub_texts = 0;
    text_colour = {0, 0, 0, 1};
    text_scale_x = text_scale_y = 1;
    align = MWIN_TEXT_ALIGN_CENTRE;

    Reset();

    alive = 1;
    int r = rand() % 65533;
    serial1 = (EngUInt16)(r + 1);
    serial2 = (EngUInt16)(r + 2);
    total_buttons_created++;
}

MWinButton::~MWinButton()
{
    // A button whose construction stopped early was never counted.
    char counted = alive;
    SetScrollingText(nullptr, 1.0f);
    FreeTexts();
    TextEditFreeText();
    PanelFree();
    MWinButton::DestroyGraphicsObjects();
    if (text_alloc_count != 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Text alloc count: %d", text_alloc_count);
    alive = 0;
    serial1 = 0;
    if (counted)
        total_buttons_created--;
    ResetVars();
}

void MWinButton::ResetVars()
{
    mwin = nullptr;
    parent = nullptr;
    prev = next = nullptr;
    alive = 0;
    serial1 = serial2 = 0;
    live = focused = pressed = enabled = shown = editing = 0;
    cb4 = nullptr;
    cb5 = nullptr;
    cb_plain = nullptr;
    cb_plain_data = nullptr;
    cb_data = nullptr;
    memset(&te, 0, sizeof(te));
    memset(&list, 0, sizeof(list));
    checkbox_state = 0;
    checkbox_text_end = 0;
    memset(&choice, 0, sizeof(choice));
    memset(&panel, 0, sizeof(panel));
    memset(&pic, 0, sizeof(pic));
    pie.value = pie.maximum = 0;
    pie.colour1 = pie.colour2 = pie.colour3 = {0, 0, 0};
    memset(&range, 0, sizeof(range));
    memset(&var, 0, sizeof(var));
    dragging = 0;
    drag_offset = 0;
    custom_on = 0;
    default_texbut = 0;
    memset(custom, 0, sizeof(custom));
    texts[0] = texts[1] = nullptr;
    text_len[0] = text_len[1] = 0;
    text_alloc_count = 0;
    call_on_press = 0;
    key_down_cb = nullptr;
    wheel_cb = nullptr;
    extra_render_cb = nullptr;
    extra_render_int = 0;
    extra_render_data = nullptr;
    strings_cb_data = nullptr;
    scale_relative = 0;
    scroll_text = nullptr;
    scroll_len = 0;
    scroll_speed = 1.0f;
    scroll_offset = 0;
    memset(id, 0, sizeof(id));
    orig_area = actual_area = crop_area = {0, 0, 0, 0};
    type = -1;
    text_scale_x = text_scale_y = 1;
    text_colour = {0, 0, 0, 1};
    colour_set = 0;
    colour = {1, 1, 1, 1};
    memset(texbut_id, 0, sizeof(texbut_id));
    texbut_num = -1;
    cb_int1 = cb_int2 = 0;
    override_state = -1;
    memset(font_id, 0, sizeof(font_id));
    font_num = -1;
    align = MWIN_TEXT_ALIGN_CENTRE;
    multiline = 0;
    shrink_to_fit = 0;
    text_x_margin = 0;
    language_on = 0;
    memset(language_token, 0, sizeof(language_token));
    language_token_num = -1;
    language_num_sub_texts = 0;
    choice_left_arrow = choice_right_arrow = 0;
    no_bounds_check = 0;
}

void MWinButton::Reset()
{
    switch (type)
    {
    case MWIN_BUTTON_PLAIN:
    case MWIN_BUTTON_PUSH:
    case MWIN_BUTTON_PUSH_NO_TAB:
    case MWIN_BUTTON_GENERIC:
        // The window draws live widgets only.
        live = 1;
        break;
    case MWIN_BUTTON_TEXT_EDIT:
        TextEditReset();
        break;
    case MWIN_BUTTON_LIST:
        ListReset();
        break;
    case MWIN_BUTTON_CHECKBOX:
        CheckboxReset();
        break;
    case MWIN_BUTTON_CHOICE:
        ChoiceReset();
        break;
    case MWIN_BUTTON_PANEL:
        PanelReset();
        break;
    case MWIN_BUTTON_PIE:
        PieReset();
        break;
    case MWIN_BUTTON_RANGE:
        RangeReset();
        break;
    default:
        break;
    }
}

char MWinButton::SetType(_MWinButtonType t)
{
    if (t < 0 || t >= MWIN_BUTTON_NUM_TYPES)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Type %d", t);
        type = -1;
        return 0;
    }
    type = t;
    return 1;
}

char MWinButton::SetEscapeButtonForParentWindow()
{
    if (!parent)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parent");
        return 0;
    }
    mwb::SetWindowEscapeButton(parent, this);
    return 1;
}

char MWinButton::SetDefaultButtonForParentWindow()
{
    if (!parent)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parent");
        return 0;
    }
    mwb::SetWindowDefaultButton(parent, this);
    return 1;
}

char MWinButton::CopyFromOtherButton(MWinButton* o, char full)
{
    if (!o)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No button.");
        return 0;
    }
    if (o == this)
        return 1;
    EngSafeStrcpy(id, o->id, ENG_ID_SIZE);
    SetBackTexButToTexBut(o->texbut_id);
    SetOrigPos(o->orig_area.x, o->orig_area.y, o->orig_area.w, o->orig_area.h);
    shown = o->shown;
    enabled = o->enabled;
    if (full)
    {
        if (o->parent && mwb::WindowDefaultButton(o->parent) == o)
            SetDefaultButtonForParentWindow();
        if (o->parent && mwb::WindowEscapeButton(o->parent) == o)
            SetEscapeButtonForParentWindow();
    }
    SetType(o->type);
    if (default_texbut)
        SetBackTexButToDefault(); // the standard look of the copied kind
    SetFont(o->font_id);
    if (full)
    {
        AllocAndSetText(0, o->texts[0]);
        AllocAndSetText(1, o->texts[1]);
    }
    multiline = o->multiline;
    language_on = o->language_on;
    memcpy(language_token, o->language_token, sizeof(language_token));
    language_token_num = o->language_token_num;
    language_num_sub_texts = o->language_num_sub_texts;
    text_colour = o->text_colour;
    text_scale_x = o->text_scale_x;
    text_scale_y = o->text_scale_y;
    SetTextScaleRelative(o->scale_relative);
    align = o->align;
    colour = o->colour;
    colour_set = 1;
    if (full)
        UpdateTextFontColourAndScale();
    return 1;
}

// ---- States ----

void MWinButton::Enable()
{
    static char in_func = 0;
    if (enabled || in_func)
        return;
    in_func = 1;
    enabled = 1;
    if (shown && mwin && mwb::MouseInArea(mwin, &actual_area) && parent)
        mwb::WindowMouseMove(parent);
    if (mwin)
        mwb::RenderNeeded(mwin);
    in_func = 0;
}

void MWinButton::Disable()
{
    if (!enabled)
        return;
    if (focused)
        Deactivate();
    enabled = 0;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::Enable(char on)
{
    if (on)
        Enable();
    else
        Disable();
}

void MWinButton::Hide()
{
    if (focused)
        Deactivate();
    if (shown)
    {
        shown = 0;
        if (mwin)
            mwb::RenderNeeded(mwin);
    }
}

void MWinButton::Show(char on)
{
    if (on)
        shown = 1;
    else
        Hide();
}

char MWinButton::IsATabStop()
{
    if (!enabled || !shown)
        return 0;
    if (type == MWIN_BUTTON_PUSH && parent && !mwb::Controller(parent) && !cb4 && !cb5 && !cb_plain &&
        !cb_plain_data)
        return 0;
    if (type == MWIN_BUTTON_PUSH_NO_TAB || type == MWIN_BUTTON_FRAME || type == MWIN_BUTTON_PIE)
        return 0;
    return 1;
}

_MWinTextureState MWinButton::GetRenderState()
{
    if (override_state >= 0)
        return override_state;
    if (!enabled)
        return MWIN_TEXSTATE_DISABLED;
    if (pressed)
        return MWIN_TEXSTATE_PRESSED;
    if (focused)
        return MWIN_TEXSTATE_FOCUSED;
    return MWIN_TEXSTATE_NORMAL;
}

char MWinButton::ShouldHandleMouseButtonPressed(char button, char, char)
{
    if (!TakesInput())
        return 0;
    if (!focused || !enabled || !shown)
    {
        pressed = 0;
        dragging = 0;
        return 0;
    }
    return button == 0;
}

char MWinButton::ShouldHandleMouseButtonDoubleClicked(char button)
{
    return TakesInput() && focused && shown && enabled && button == 0;
}

char MWinButton::ShouldHandleMouseMove()
{
    return TakesInput() && shown;
}
char MWinButton::ShouldKeepFocusOnMouseMove()
{
    return TakesInput() && focused;
}
char MWinButton::ShouldHandleMouseWheel()
{
    return TakesInput() && focused && shown;
}
char MWinButton::ShouldHandleKeyDown()
{
    return TakesInput() && focused && shown;
}
char MWinButton::ShouldHandleKeyDownUChar()
{
    return TakesInput() && focused && shown;
}
char MWinButton::ShouldHandleKeyUp()
{
    return TakesInput() && focused && shown;
}
char MWinButton::ShouldTick()
{
    return TakesInput() && enabled && shown;
}

// ---- Virtual slots ----

char MWinButton::CreateGraphicsObjects()
{
    char ok = CreateCustomTexBut();
    if (type == MWIN_BUTTON_PIE)
        PieCreateGraphicsObjects();
    UpdateActualArea();
    return ok;
}

void MWinButton::DestroyGraphicsObjects()
{
    DestroyCustomTexBut();
    if (type == MWIN_BUTTON_PIE)
        PieDestroyGraphicsObjects();
}

void MWinButton::PositionUpdated()
{
    if (type == MWIN_BUTTON_PANEL)
        PanelUpdateNumPerPageVar(-99);
    else if (type == MWIN_BUTTON_PIE)
        PieUpdatePositions();
    if (mwin)
        mwb::RenderNeeded(mwin);
}

char MWinButton::Tick()
{
    if (ShouldTick())
    {
        if (type == MWIN_BUTTON_TEXT_EDIT)
            return TextEditTick();
        if (type == MWIN_BUTTON_LIST)
            return ListTick();
    }
    if (scroll_text)
        ScrollingTextTick();
    return PictureTick();
}

char MWinButton::HandleMouseButtonPressed(char button, char down, char)
{
    if (!TakesInput())
        return 0;
    if (!focused || !enabled || !shown)
    {
        pressed = 0;
        dragging = 0;
        return 0;
    }
    if (button != 0)
        return 0;
    if (mwin)
        mwb::RenderNeeded(mwin);
    switch (type)
    {
    case MWIN_BUTTON_LIST:
        ListHandleMouseButtonPressed(button, down);
        return 1;
    case MWIN_BUTTON_CHECKBOX:
        CheckboxHandleMouseButtonPressed(button, down);
        return 1;
    case MWIN_BUTTON_CHOICE:
        return ChoiceHandleMouseButtonPressed(button, down);
    case MWIN_BUTTON_PANEL:
        PanelHandleMouseButtonPressed(button, down);
        return 1;
    case MWIN_BUTTON_RANGE:
        RangeHandleMouseButtonPressed(button, down);
        return 1;
    default:
        break;
    }
    if (!down && dragging)
    {
        dragging = 0;
        return 0;
    }
    if (down)
    {
        pressed = 1;
        if (call_on_press)
            CallCallback();
    }
    else if (pressed)
    {
        pressed = 0;
        if (type == MWIN_BUTTON_TEXT_EDIT)
            TextEditHandleMousePress();
        else
            CallCallback();
    }
    return 1;
}

char MWinButton::HandleMouseButtonDoubleClicked(char button)
{
    if (!ShouldHandleMouseButtonDoubleClicked(button))
        return 0;
    switch (type)
    {
    case MWIN_BUTTON_PUSH:
        HandleMouseButtonPressed(button, 1, 0);
        return HandleMouseButtonPressed(button, 0, 0);
    case MWIN_BUTTON_CHECKBOX:
        return CheckboxHandleMouseButtonDoubleClicked(button);
    case MWIN_BUTTON_CHOICE:
        return ChoiceHandleMouseButtonDoubleClicked(button);
    case MWIN_BUTTON_PANEL:
        return PanelHandleMouseButtonDoubleClicked(button);
    default:
        return 0;
    }
}

void MWinButton::HandleMouseButtonPressCanceled()
{
    if (!TakesInput())
        return;
    pressed = 0;
    dragging = 0;
}

char MWinButton::HandleMouseMove()
{
    if (!TakesInput() || !shown)
        return 0;
    if (dragging)
    {
        if (type == MWIN_BUTTON_PANEL)
            PanelHandleDragging();
        else if (type == MWIN_BUTTON_RANGE)
            RangeHandleDragging();
        else
            dragging = 0;
        return 1;
    }
    if (type == MWIN_BUTTON_LIST)
        return ListHandleMouseMove();
    if (type == MWIN_BUTTON_CHOICE)
        return ChoiceHandleMouseMove();
    return 0;
}

char MWinButton::HandleMouseWheel(int delta)
{
    if (!TakesInput() || !focused || !shown)
        return 0;
    if (wheel_cb)
        return wheel_cb(delta);
    if (type == MWIN_BUTTON_LIST)
        return ListHandleMouseWheel(delta);
    if (type == MWIN_BUTTON_PANEL)
        return PanelHandleMouseWheel(delta);
    return 0;
}

char MWinButton::HandleKeyDown(int key)
{
    if (!TakesInput() || !focused || !shown)
        return 0;
    MWinWindow* before = parent;
    _MWinButtonRef ref;
    MakeRef(&ref);
    char handled = 0;
    switch (type)
    {
    case MWIN_BUTTON_PUSH:
        handled = PushButtonHandleKeyDown(key);
        break;
    case MWIN_BUTTON_TEXT_EDIT:
        handled = TextEditHandleKeyDown(key);
        break;
    case MWIN_BUTTON_LIST:
        handled = ListHandleKeyDown(key);
        break;
    case MWIN_BUTTON_CHOICE:
        handled = ChoiceHandleKeyDown(key);
        break;
    case MWIN_BUTTON_PANEL:
        handled = PanelHandleKeyDown(key);
        break;
    case MWIN_BUTTON_RANGE:
        handled = RangeHandleKeyDown(key);
        break;
    default:
        break;
    }
    // A used key may have removed this button: touch nothing then.
    if (handled || !RefStillExists(&ref))
        return 1;
    return PostHandleKeyDown(key, parent != before);
}

char MWinButton::PostHandleKeyDown(int key, char handled)
{
    if (handled)
        return 1;
    if (key_down_cb)
        return key_down_cb(key, this);
    return 0;
}

char MWinButton::HandleKeyDownUChar(unsigned char c)
{
    if (!TakesInput() || !focused || !shown)
        return 0;
    if (type == MWIN_BUTTON_TEXT_EDIT)
        return TextEditHandleKeyDownUChar(c);
    if (type == MWIN_BUTTON_PANEL)
    {
        // A used character may have removed this button.
        _MWinButtonRef ref;
        MakeRef(&ref);
        char handled = PanelHandleKeyDownUChar(c);
        return handled || !RefStillExists(&ref) ? 1 : 0;
    }
    return 0;
}

char MWinButton::HandleKeyUp(int)
{
    return 0;
}

char MWinButton::KeepFocusOnMouseMove()
{
    if (!TakesInput() || !focused)
        return 0;
    switch (type)
    {
    case MWIN_BUTTON_TEXT_EDIT:
        return editing;
    case MWIN_BUTTON_LIST:
        return list.open;
    case MWIN_BUTTON_PANEL:
    case MWIN_BUTTON_GENERIC:
    case MWIN_BUTTON_RANGE:
        return dragging;
    default:
        return 0;
    }
}

void MWinButton::Activate()
{
    if (!focused)
    {
        focused = 1;
        if (mwin)
            mwb::RenderNeeded(mwin);
    }
}

void MWinButton::Deactivate()
{
    // Closing a list or ending an edit calls back, which may remove this button.
    if ((type == MWIN_BUTTON_LIST && list.open) || (type == MWIN_BUTTON_TEXT_EDIT && editing))
    {
        _MWinButtonRef ref;
        MakeRef(&ref);
        if (type == MWIN_BUTTON_LIST)
            ListClose(0, 1);
        else
            TextEditDeactivate();
        if (!RefStillExists(&ref))
            return;
    }
    else if (type == MWIN_BUTTON_PANEL)
        PanelDeactivate();
    HandleMouseButtonPressCanceled();
    dragging = 0;
    if (focused)
    {
        focused = 0;
        if (mwin)
            mwb::RenderNeeded(mwin);
    }
}

// ---- Areas ----

void MWinButton::GetOrigPos(float* x, float* y, float* w, float* h)
{
    mwarea::CopyParts(orig_area, x, y, w, h);
}

void MWinButton::GetOrigPos(int* x, int* y, int* w, int* h)
{
    mwarea::CopyParts(orig_area, x, y, w, h);
}

void MWinButton::GetOrigArea(_Dimension* out)
{
    if (out)
        *out = orig_area;
}

void MWinButton::GetActualPos(float* x, float* y, float* w, float* h)
{
    mwarea::CopyParts(actual_area, x, y, w, h);
}

void MWinButton::GetActualPos(int* x, int* y, int* w, int* h)
{
    mwarea::CopyParts(actual_area, x, y, w, h);
}

void MWinButton::GetActualArea(_Dimension* out)
{
    if (out)
        *out = actual_area;
}

void MWinButton::GetOrigBoundingBox(int* x0, int* y0, int* x1, int* y1)
{
    if (x0)
        *x0 = (int)orig_area.x;
    if (y0)
        *y0 = (int)orig_area.y;
    if (x1)
        *x1 = (int)(orig_area.x + orig_area.w);
    if (y1)
        *y1 = (int)(orig_area.y + orig_area.h);
}

void MWinButton::SetOrigPos(float x, float y, float w, float h)
{
    if (!parent)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button has no parent");
        return;
    }
    if (!mwin)
        return;
    MWinLayoutSettings* ls = GetLayoutSettings();
    if (!ls)
        return;
    if (w < 0)
        w = mwb::LayoutValue(ls, 7);
    if (h < 0)
        h = mwb::LayoutValue(ls, 8);
    if (w < 2)
        w = 2;
    if (h < 2)
        h = 2;
    orig_area = {x, y, w, h};
    no_bounds_check = 0;
    UpdateActualArea();
}

void MWinButton::SetOrigPos(float x, float y)
{
    SetOrigPos(x, y, orig_area.w, orig_area.h);
}

void MWinButton::SetOrigPos()
{
    UpdateActualArea();
}

void MWinButton::SetOrigPosNoBoundsCheck(float x, float y, float w, float h)
{
    orig_area = {x, y, w, h};
    no_bounds_check = 1;
    UpdateActualArea();
}

void MWinButton::SetOrigPosNoBoundsCheck(_Dimension* d)
{
    if (d)
        SetOrigPosNoBoundsCheck(d->x, d->y, d->w, d->h);
}

void MWinButton::SetOrigArea(const _Dimension* d)
{
    if (d)
        SetOrigPos(d->x, d->y, d->w, d->h);
}

void MWinButton::SetOrigArea(_Dimension d)
{
    SetOrigPos(d.x, d.y, d.w, d.h);
}

void MWinButton::SetOrigBoundingBox(int x0, int y0, int x1, int y1)
{
    float x = x0 == -9999 ? orig_area.x : (float)x0;
    float y = y0 == -9999 ? orig_area.y : (float)y0;
    float w = (x1 == -9999 || x0 == -9999) ? orig_area.w : (float)(x1 - x0);
    float h = (y1 == -9999 || y0 == -9999) ? orig_area.h : (float)(y1 - y0);
    SetOrigPos(x, y, w, h);
}

void MWinButton::UpdateActualArea()
{
    if (!mwin || !mwb::HasTextures(mwin))
        return;
    if (!parent)
        actual_area = orig_area;
    else
    {
        _Dimension wa, wo;
        float vx, vy;
        mwb::GetWindowActualArea(parent, &wa);
        mwb::GetWindowOrigArea(parent, &wo);
        mwb::GetWindowVirtualPos(parent, &vx, &vy);
        actual_area.x = wa.x + vx + orig_area.x;
        actual_area.y = wa.y + vy + orig_area.y;
        actual_area.w = orig_area.w;
        actual_area.h = orig_area.h;
        if (mwb::WindowAutoResizes(parent) && wo.w > 0)
        {
            float x0 = wa.x + vx + orig_area.x / wo.w * wa.w;
            float x1 = wa.x + vx + (orig_area.x + orig_area.w) / wo.w * wa.w;
            actual_area.x = x0;
            actual_area.w = x1 - x0;
            if (wo.h > 0)
            {
                float y0 = wa.y + vy + orig_area.y / wo.h * wa.h;
                float y1 = wa.y + vy + (orig_area.y + orig_area.h) / wo.h * wa.h;
                actual_area.y = y0;
                actual_area.h = y1 - y0;
            }
        }

        if (!no_bounds_check)
        {
            _Dimension bounds;
            float ew = 0, eh = 0;
            mwb::GetWindowButtonBounds(parent, &bounds, &ew, &eh);
            float maxx = bounds.x + bounds.w + ew - actual_area.w;
            float maxy = bounds.y + bounds.h + eh - actual_area.h;
            if (actual_area.x > maxx)
                actual_area.x = maxx;
            if (actual_area.x < bounds.x)
                actual_area.x = bounds.x;
            if (actual_area.y > maxy)
                actual_area.y = maxy;
            if (actual_area.y < bounds.y)
                actual_area.y = bounds.y;
        }
        if (actual_area.w < 2)
            actual_area.w = 2;
        if (actual_area.h < 2)
            actual_area.h = 2;
    }

    crop_area = actual_area;
    if (texbut_num >= 0 && type != MWIN_BUTTON_PANEL && type != MWIN_BUTTON_GENERIC)
    {
        float side = 0, top = 0, bottom = 0;
        mwb::TexButExtraSize(mwin, texbut_num, &side, &top, &bottom);
        crop_area.x -= side;
        crop_area.w += 2 * side;
        crop_area.y -= top;
        crop_area.h += top + bottom;
    }

    if (parent)
    {
        _Dimension win;
        mwb::GetWindowActualArea(parent, &win);
        _Dimension wo;
        mwb::GetWindowOrigArea(parent, &wo);
        MWinLayoutSettings* ls = GetLayoutSettings();
        if (ls && mwb::WindowCropsWithMargins(parent) && mwb::WindowHasBackTexBut(parent))
        {
            if (wo.w < 640)
            {
                float m = mwb::LayoutValue(ls, 9);
                win.x += m;
                win.w -= 2 * m;
            }
            if (wo.h < 480)
            {
                float m = mwb::LayoutValue(ls, 10);
                win.y += m;
                win.h -= 2 * m;
            }
        }
        if (crop_area.x < win.x)
        {
            float d = win.x - crop_area.x;
            crop_area.x = win.x;
            if (crop_area.w > 0)
                crop_area.w -= d;
        }
        if (crop_area.y < win.y)
        {
            float d = win.y - crop_area.y;
            crop_area.y = win.y;
            if (crop_area.h > 0)
                crop_area.h -= d;
        }
        if (crop_area.x + crop_area.w > win.x + win.w && crop_area.w > 0)
            crop_area.w = win.x + win.w - crop_area.x;
        if (crop_area.y + crop_area.h > win.y + win.h && crop_area.h > 0)
            crop_area.h = win.y + win.h - crop_area.y;
    }
    if (crop_area.w <= 0 || crop_area.h <= 0)
        crop_area.w = crop_area.h = 0;

    MWinLayoutSettings* ls = GetLayoutSettings();
    if (ls)
    {
        text_x_margin = mwb::LayoutValue(ls, 17);
        if ((type == MWIN_BUTTON_PUSH || type == MWIN_BUTTON_PUSH_NO_TAB) && (texbut_num >= 0 || custom_on))
            text_x_margin = mwb::LayoutValue(ls, 18) * orig_area.w + mwb::LayoutValue(ls, 17);
    }
    PositionUpdated();
}

float MWinButton::GetAutoResizeScaleX()
{
    return (parent && mwb::WindowAutoResizes(parent)) ? eng_main_window_x_widescreen_ratio : 1.0f;
}

float MWinButton::GetAutoResizeScaleY()
{
    return (parent && mwb::WindowAutoResizes(parent)) ? eng_main_window_y_narrowscreen_ratio : 1.0f;
}

MWinLayoutSettings* MWinButton::GetLayoutSettings()
{
    return mwin ? mwb::Layout(mwin, parent) : nullptr;
}

float MWinButton::LS(int n)
{
    MWinLayoutSettings* ls = GetLayoutSettings();
    return ls ? mwb::LayoutValue(ls, n) : 0.0f;
}

void MWinButton::PlaySound(int event)
{
    if (mwin)
        mwb::PlaySound(mwin, event);
}

// ---- Texts ----

char MWinButton::AllocAndSetText(int n, const char* s)
{
    if (n != 0 && n != 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid text num");
        return 0;
    }
    FreeText(n);
    if (!s || !s[0])
        return 1;
    size_t len = strlen(s);
    char* copy = (char*)malloc(len + 1);
    if (!copy)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    memcpy(copy, s, len + 1);
    texts[n] = copy;
    text_len[n] = (EngInt32)len;
    text_alloc_count++;
    if (len >= MWIN_BUTTON_MAX_TEXT)
        DebugErrorAlt(__PRETTY_FUNCTION__, "String too long");
    return 1;
}

char MWinButton::DoSetText(int n, const char* s)
{
    char ok = AllocAndSetText(n, s);
    if (mwin)
        mwb::RenderNeeded(mwin);
    return ok;
}

void MWinButton::FreeText(int n)
{
    if (n < 0 || n > 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid text num");
        return;
    }
    if (texts[n])
    {
        free(texts[n]);
        texts[n] = nullptr;
        text_alloc_count--;
    }
    text_len[n] = 0;
}

void MWinButton::FreeTexts()
{
    FreeText(0);
    FreeText(1);
}

char MWinButton::SetText(const char* s)
{
    language_on = 0;
    return DoSetText(0, s);
}

char MWinButton::SetText2(const char* s)
{
    return DoSetText(1, s);
}

char MWinButton::SetTexts(const char* s0, const char* s1)
{
    language_on = 0;
    char a = DoSetText(0, s0);
    char b = DoSetText(1, s1);
    return a && b;
}

char MWinButton::SetTextPrintf(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(mui_text_printf_format_str, 611, fmt ? fmt : "", ap);
    va_end(ap);
    return SetText(mui_text_printf_format_str);
}

char MWinButton::SetMultilineText(const char* s)
{
    multiline = 1;
    return SetText(s);
}

char MWinButton::SetMultilineTextPrintf(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(mui_text_printf_format_str, 611, fmt ? fmt : "", ap);
    va_end(ap);
    return SetMultilineText(mui_text_printf_format_str);
}

char MWinButton::HasText()
{
    return texts[0] != nullptr;
}
char MWinButton::HasText2()
{
    return texts[1] != nullptr;
}

char MWinButton::HasText(int n)
{
    if (n != 0 && n != 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid text number %d", n);
        return 0;
    }
    return texts[n] != nullptr;
}

char* MWinButton::GetTextP()
{
    if (!texts[0])
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text present. Ensure call HasText() first.");
    return texts[0];
}

char* MWinButton::GetTextP2()
{
    if (!texts[1])
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text present. Ensure call HasText2() first.");
    return texts[1];
}

char* MWinButton::GetTextP(int n)
{
    if (n == 0)
        return GetTextP();
    if (n == 1)
        return GetTextP2();
    DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid text number %d", n);
    return nullptr;
}

char MWinButton::SetTextLanguageToken(const char* token)
{
    if (EngLanguagesIsSetup() && token && token[0] && strlen(token) < MWIN_LANGUAGE_TOKEN_SIZE)
    {
        EngSafeStrcpy(language_token, token, MWIN_LANGUAGE_TOKEN_SIZE);
        int count = 0;
        language_token_num = EngLanguagesGetTokenNumAndNumSubTextsForToken(language_token, &count);
        language_num_sub_texts = count;
        language_on = 1;
        if (mwin)
            mwb::RenderNeeded(mwin);
        return 1;
    }
    language_on = 0;
    language_token[0] = 0;
    language_token_num = -1;
    language_num_sub_texts = 0;
    return 0;
}

void MWinButton::NewLanguageSet()
{
    if (language_token[0])
    {
        char copy[MWIN_LANGUAGE_TOKEN_SIZE];
        EngSafeStrcpy(copy, language_token, sizeof(copy));
        SetTextLanguageToken(copy);
    }
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetScrollingText(const char* s, float speed)
{
    if (scroll_text)
        EngFree(scroll_text, 0, "SetScrollingText");
    scroll_text = nullptr;
    scroll_len = 0;
    scroll_offset = 0;
    if (!s || !s[0])
        return;
    size_t len = strlen(s);
    scroll_text = (char*)EngMalloc(len + 1, "SetScrollingText", 0);
    if (!scroll_text)
        return;
    memcpy(scroll_text, s, len + 1);
    scroll_len = (EngInt32)len;
    scroll_offset = 10;
    scroll_speed = speed;
    align = MWIN_TEXT_ALIGN_LEFT;
    FreeTexts();
}

void MWinButton::ScrollingTextTick()
{
    // speed is in units per frame at 60 frames per second; the engine global
    // holds the frame period in seconds.
    if (scroll_text)
        scroll_offset += 60.0f * scroll_speed * eng_main_frames_per_second;
}

void MWinButton::SetTextAlign(_MWinTextAlign a)
{
    align = a;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

char MWinButton::SetFont(const char* fid)
{
    if (!fid || !fid[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Font id is empty");
        SetFont("MWIN_FONT_DEFAULT");
        return 0;
    }
    char copy[ENG_ID_SIZE];
    EngSafeStrcpy(copy, fid, ENG_ID_SIZE);
    EngSafeStrcpy(font_id, copy, ENG_ID_SIZE);
    if (!strcmp(copy, "MWIN_FONT_DEFAULT"))
        font_num = -1;
    else if (!strcmp(copy, "MWIN_FONT_NONE"))
        font_num = -2;
    else
    {
        font_num = mwin ? mwb::FontNumFromID(mwin, copy) : -1;
        if (font_num < 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "User font <%s> not found", copy);
            SetFont("MWIN_FONT_DEFAULT");
            return 0;
        }
    }
    return 1;
}

EngFont* MWinButton::GetTextFont()
{
    if (!mwin)
        return nullptr;
    if (font_num >= 0)
        return mwb::UserFont(mwin, font_num);
    return mwb::Font(mwin, font_num);
}

void MWinButton::SetTextScale(float x, float y)
{
    text_scale_x = x;
    text_scale_y = y;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetTextScale(const _Vector2d* s)
{
    if (s)
        SetTextScale(s->x, s->y);
    else
        SetTextScale(1, 1);
}

void MWinButton::SetTextScaleRelative(char on)
{
    DebugInfoAlt(__PRETTY_FUNCTION__, "Check call.");
    scale_relative = on;
}

void MWinButton::GetTextScaleNoOrientation(_Vector2d* out)
{
    if (out)
        *out = {text_scale_x, text_scale_y};
}

void MWinButton::GetTextScaleIncludingOrientation(_Vector2d* out)
{
    if (!out)
        return;
    out->x = text_scale_x * LS(15);
    out->y = text_scale_y * LS(16);
}

void MWinButton::SetTextColour(float r, float g, float b, float a)
{
    if (r >= 0)
        text_colour.r = r;
    if (g >= 0)
        text_colour.g = g;
    if (b >= 0)
        text_colour.b = b;
    if (a >= 0)
        text_colour.a = a;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetTextColour(float r, float g, float b)
{
    SetTextColour(r, g, b, -1);
}

void MWinButton::SetTextColour(const _ColourRGBA* c)
{
    if (c)
        text_colour = *c;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetTextTransparency(float a)
{
    text_colour.a = a;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::GetTextColour(_ColourRGBA* out)
{
    if (out)
        *out = text_colour;
}

// ---- Colour ----

void MWinButton::SetColour(const _ColourRGBA* c)
{
    if (!c)
    {
        colour_set = 0;
        return;
    }
    colour_set = 1;
    colour = *c;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetColour(float r, float g, float b, float a)
{
    _ColourRGBA c = {r, g, b, a};
    SetColour(&c);
}

void MWinButton::SetColour(_ColourRGB* c)
{
    if (!c)
    {
        colour.r = colour.g = colour.b = 1;
        return;
    }
    colour_set = 1;
    colour.r = c->r;
    colour.g = c->g;
    colour.b = c->b;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::SetTransparency(float a)
{
    if (a != 1.0f || colour_set)
    {
        colour_set = 1;
        if (a != colour.a)
        {
            colour.a = a;
            if (mwin)
                mwb::RenderNeeded(mwin);
        }
    }
    else if (colour.a != 1.0f)
    {
        colour.a = 1;
        if (mwin)
            mwb::RenderNeeded(mwin);
    }
}

void MWinButton::GetColour(_ColourRGBA* out)
{
    if (out)
        *out = colour;
}

const _ColourRGBA* MWinButton::GetColour()
{
    return colour_set ? &colour : &mwb_no_colour;
}

float MWinButton::GetTransparency()
{
    return colour_set ? colour.a : 1.0f;
}

// ---- Background texture button ----

char MWinButton::SetBackTexButToTexBut(const char* tid)
{
    if (!tid || !tid[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id");
        SetBackTexButToNone();
        return 0;
    }
    if (!strcmp(tid, kTexButDefault))
    {
        SetBackTexButToDefault();
        return 1;
    }
    if (!strcmp(tid, kTexButNone))
    {
        SetBackTexButToNone();
        return 1;
    }
    char copy[ENG_ID_SIZE];
    EngSafeStrcpy(copy, tid, ENG_ID_SIZE);
    EngSafeStrcpy(texbut_id, copy, ENG_ID_SIZE);
    default_texbut = 0;
    texbut_num = mwin ? mwb::TexButNumFromID(mwin, copy) : -1;
    return texbut_num >= 0;
}

void MWinButton::SetBackTexButToNone()
{
    DestroyCustomTexBut();
    custom_on = 0;
    default_texbut = 0;
    EngSafeStrcpy(texbut_id, kTexButNone, ENG_ID_SIZE);
    texbut_num = -1;
}

void MWinButton::SetBackTexButToDefault()
{
    DestroyCustomTexBut();
    custom_on = 0;
    EngSafeStrcpy(texbut_id, kTexButDefault, ENG_ID_SIZE);
    default_texbut = 1;
    texbut_num = -1;
    if (mwin && type >= 0 && type < MWIN_BUTTON_NUM_TYPES)
        texbut_num = mwb::StandardTexButNum(mwin, kDefaultTexBut[type]);
}

char MWinButton::SetBackTexButToCustom(_MWinTextureState state, const char* file, char o1, char o2, char o3,
                                       float l, float t, float r, float b, float cr, float cg, float cb,
                                       float ca)
{
    custom_on = 0;
    default_texbut = 0;
    texbut_num = -1;
    EngSafeStrcpy(texbut_id, kTexButNone, ENG_ID_SIZE);
    DestroyCustomTexBut();
    if (!file || !file[0])
        return 1;
    if (strlen(file) >= MWIN_FILENAME_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid filename");
        return 0;
    }
    if (state < 0 || state > 3)
        state = 0;
    _MWinButtonCustomTexState* c = &custom[state];
    EngSafeStrcpy(c->filename, file, MWIN_FILENAME_SIZE);
    c->opt1 = o1;
    c->opt2 = o2;
    c->opt3 = o3;
    c->tc_left = l;
    c->tc_top = t;
    c->tc_right = r;
    c->tc_bottom = b;
    c->r = cr;
    c->g = cg;
    c->b = cb;
    c->a = ca;
    custom_on = 1;
    if (!CreateCustomTexBut())
    {
        DestroyCustomTexBut();
        custom_on = 0;
        return 0;
    }
    return 1;
}

char MWinButton::SetBackTexButToCustom(const char* file, char o1, char o2, char o3, float l, float t, float r,
                                       float b)
{
    return SetBackTexButToCustom(0, file, o1, o2, o3, l, t, r, b, 1, 1, 1, 1);
}

char MWinButton::SetBackTexButToCustom(const char* file)
{
    return SetBackTexButToCustom(file, 0, 0, 0);
}

char MWinButton::SetBackTexButToCustom(const char* file, char o1, char o2, char o3)
{
    return SetBackTexButToCustom(file, o1, o2, o3, 0, 0, 1, 1);
}

char MWinButton::SetBackTexButToCustomTexP(_MWinTextureState state, EngTexture* tex, char o3, float l,
                                           float t, float r, float b, float cr, float cg, float cb, float ca)
{
    custom_on = 0;
    default_texbut = 0;
    texbut_num = -1;
    EngSafeStrcpy(texbut_id, kTexButNone, ENG_ID_SIZE);
    DestroyCustomTexBut();
    if (!tex)
    {
        // No texture: back to the kind's standard look.
        SetBackTexButToDefault();
        return 1;
    }
    if (state < 0 || state > 3)
        state = 0;
    _MWinButtonCustomTexState* c = &custom[state];
    c->filename[0] = 0;
    c->opt1 = 0;
    c->opt2 = 0;
    c->opt3 = o3;
    c->tc_left = l;
    c->tc_top = t;
    c->tc_right = r;
    c->tc_bottom = b;
    c->r = cr;
    c->g = cg;
    c->b = cb;
    c->a = ca;
    c->outside = tex;
    custom_on = 1;
    return CreateCustomTexBut();
}

char MWinButton::SetBackTexButToCustomTexP(EngTexture* tex)
{
    return SetBackTexButToCustomTexP(0, tex, 0, 0, 0, 1, 1, 1, 1, 1, 1);
}

char MWinButton::CreateCustomTexBut()
{
    DestroyCustomTexBut();
    if (!custom_on)
        return 1;
    for (int s = 0; s < 4; s++)
    {
        _MWinButtonCustomTexState* c = &custom[s];
        if (!c->filename[0])
            continue;
        if (!c->texture)
        {
            c->texture = new (std::nothrow) EngTexture();
            if (!c->texture)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
                return 0;
            }
        }
        if (!c->texture->LoadFromFileUsingExt(c->filename, c->opt1, c->opt2,
                                              mwin ? mwb::TextureOption(mwin) : 0))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load custom texture state %d <%s>", s, c->filename);
            custom_on = 0;
            delete c->texture;
            c->texture = nullptr;
            return 0;
        }
    }
    return 1;
}

void MWinButton::DestroyCustomTexBut()
{
    for (int s = 0; s < 4; s++)
    {
        if (custom[s].texture)
        {
            delete custom[s].texture;
            custom[s].texture = nullptr;
        }
    }
}

const char* MWinButton::GetBackCustomTexButFilename()
{
    return custom_on ? custom[0].filename : nullptr;
}
