// What the horizontal and the vertical scrollbar share.
#include "MWinScrollbarCommon.h"

#include "EngMath.h"
#include "MWinButtonCore.h"

namespace
{
// Reads the bound variable as a position; 0 when nothing usable is bound.
char LoadFromVar(const _MWinButtonBoundVar& var, double* value)
{
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
        if (!var.p_char)
            return 0;
        *value = *var.p_char;
        return 1;
    case MWIN_VAR_UCHAR:
        if (!var.p_uchar)
            return 0;
        *value = *var.p_uchar;
        return 1;
    case MWIN_VAR_INT:
        if (!var.p_int)
            return 0;
        *value = (double)*var.p_int * var.mult_int;
        return 1;
    case MWIN_VAR_LONG:
        if (!var.p_long)
            return 0;
        *value = (double)*var.p_long * var.mult_long;
        return 1;
    case MWIN_VAR_ULONG:
        if (!var.p_ulong)
            return 0;
        *value = (double)*var.p_ulong * var.mult_ulong;
        return 1;
    case MWIN_VAR_FLOAT:
        if (!var.p_float)
            return 0;
        *value = (double)*var.p_float * var.mult_float;
        return 1;
    default:
        return 0;
    }
}
} // namespace

MWinScrollbar::MWinScrollbar(MWin* mw, const char* id, MWinWindow* parent, _MWinButtonType kind,
                             const char* texbut, const char* text, float x, float y, float w, float h)
    : MWinButton(mw, id, parent, kind, texbut, text, x, y, w, h), bar_kind(kind)
{
    ResetScroll();
}

void MWinScrollbar::ResetScroll()
{
    pos = 0;
    min = 0;
    max = 100;
    page = 10;
    step = 1;
    auto_text = 0;
    prefix_length = 0;
    auto_mult = 1;
    snap = 0;
    moved_by_drag = 0;
}

void MWinScrollbar::SetValuesDouble(double mn, double mx, double pg, double st)
{
    if (mn > mx)
        return;
    if (pg <= 0)
        pg = (mx - mn) / 10;
    if (st <= 0)
        st = (mx - mn) / 100;
    min = mn;
    max = mx;
    page = pg;
    step = st;
    pos = mn;
    live = 1;
}

void MWinScrollbar::SetValuesFloat(float mn, float mx, float pg, float st)
{
    SetValuesDouble(mn, mx, pg, st);
}

void MWinScrollbar::SetValues(int mn, int mx, int pg, int st)
{
    SetValuesDouble(mn, mx, pg, st);
}

void MWinScrollbar::SetValuesLong(int mn, int mx, int pg, int st)
{
    if (mx < mn)
        return;
    if (pg == 0)
        pg = (mx - mn) / 10;
    if (st == 0)
        st = (mx - mn) / 100;
    min = mn;
    max = mx;
    page = pg;
    step = st;
    pos = mn;
    live = 1;
}

void MWinScrollbar::TurnOnArrows(char on)
{
    choice_left_arrow = choice_right_arrow = on;
}

double MWinScrollbar::GetPosDouble() const
{
    return IsBar() ? pos : -1;
}

void MWinScrollbar::StorePosToVar()
{
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
    {
        int r = EngMathRoundDouble(pos);
        if (var.p_char)
            *var.p_char = (char)(r < -127 ? -127 : r > 127 ? 127 : r);
        break;
    }
    case MWIN_VAR_UCHAR:
    {
        int r = EngMathRoundDouble(pos);
        if (var.p_uchar)
            *var.p_uchar = (unsigned char)(r < 0 ? 0 : r > 255 ? 255 : r);
        break;
    }
    case MWIN_VAR_INT:
        if (var.p_int)
            *var.p_int = EngMathRoundDouble(pos);
        break;
    case MWIN_VAR_LONG:
        if (var.p_long)
            *var.p_long = EngMathRoundLong(pos);
        break;
    case MWIN_VAR_ULONG:
        if (var.p_ulong)
            *var.p_ulong = (unsigned int)(pos < 0 ? 0 : EngMathRoundLong(pos));
        break;
    case MWIN_VAR_FLOAT:
        if (var.p_float)
            *var.p_float = var.mult_float > 0 ? (float)(pos / var.mult_float) : (float)pos;
        break;
    default:
        break;
    }
}

char MWinScrollbar::StillHere(const _MWinButtonRef* ref)
{
    return ref->self == nullptr || RefStillExists(ref);
}

template <class T>
char MWinScrollbar::FollowRegistered(char registered, const T* p, double mult, char call)
{
    if (!registered)
        return 0;
    if (p && IsBar())
        SetPosDouble((double)*p * mult, 0, 0, call);
    return 1;
}

char MWinScrollbar::RegisterFloatVariable(float* p, float mult, char call)
{
    if (!p)
        return 0;
    return FollowRegistered(MWinButton::RegisterFloatVariable(p, mult), p, mult, call);
}

char MWinScrollbar::RegisterIntVariable(int* p, int mult, char call)
{
    return FollowRegistered(MWinButton::RegisterIntVariable(p, mult), p, mult, call);
}

char MWinScrollbar::RegisterLongVariable(int* p, int mult, char call)
{
    return FollowRegistered(MWinButton::RegisterLongVariable(p, mult), p, mult, call);
}

char MWinScrollbar::RegisterUnsignedLongVariable(unsigned int* p, unsigned int mult, char call)
{
    return FollowRegistered(MWinButton::RegisterUnsignedLongVariable(p, mult), p, mult, call);
}

char MWinScrollbar::RegisterCharVariable(char* p, char call)
{
    return FollowRegistered(MWinButton::RegisterCharVariable(p), p, 1, call);
}

char MWinScrollbar::RegisterUnsignedCharVariable(unsigned char* p, char call)
{
    return FollowRegistered(MWinButton::RegisterUnsignedCharVariable(p), p, 1, call);
}

void MWinScrollbar::UpdateFromRegisteredVariable(char call)
{
    double v;
    if (LoadFromVar(var, &v))
        SetPosDouble(v, 0, 0, call);
}

void MWinScrollbar::DraggingOver()
{
    dragging = 0;
    pressed = 0;
    if (moved_by_drag)
    {
        moved_by_drag = 0;
        SetPosDouble(pos, 0, 0, 1);
    }
}

char MWinScrollbar::ArrowPress(char up)
{
    _MWinButtonRef ref = {};
    if (HasCallback())
        MakeRef(&ref);
    if (up)
    {
        if (pos <= max - step)
            SetPosDouble(pos + step, 0, 0, 1);
    }
    else if (pos >= min + step)
        SetPosDouble(pos - step, 0, 0, 1);
    return StillHere(&ref);
}

char MWinScrollbar::Jump(int direction)
{
    _MWinButtonRef ref = {};
    if (HasCallback())
        MakeRef(&ref);
    double v = direction <= 0 ? pos - page : pos + page;
    v = v < min ? min : v > max ? max : v;
    SetPosDouble(v, 0, 0, 1);
    return StillHere(&ref);
}

char MWinScrollbar::HandleMouseButtonPressed(char button, char down, char third)
{
    pressed = 0;
    if (!ShouldHandleMouseButtonPressed(button, down, third))
        return 0;
    if (!down)
    {
        char was = dragging;
        DraggingOver();
        return was;
    }
    pressed = 1;
    AxisSpan s = GetAxisSpan();
    float m = s.mouse;
    if (m < s.start || m >= s.start + s.length)
        return 0;
    float l21 = LS(21), l23 = LS(23);
    if (choice_left_arrow && m > s.start + l23 && m < s.start + l23 + l21)
    {
        ArrowPress(0);
        return 1;
    }
    if (choice_right_arrow && m > s.start + s.length - l23 - l21 && m < s.start + s.length - l23)
    {
        ArrowPress(1);
        return 1;
    }
    if (m >= s.thumb && m < s.thumb + s.thumb_length)
    {
        dragging = 1;
        drag_offset = m - s.thumb - s.thumb_length / 2;
        return 1;
    }
    double v = PosFromScreen(m);
    if (v < min || v > max)
        return 0;
    Jump(v > pos ? 1 : 0);
    return 1;
}

void MWinScrollbar::MoveTo(double value, char drag, char force, char call)
{
    double c = value < min ? min : value > max ? max : value;
    _MWinButtonCallbackInfo info;
    if (!force && c == pos)
    {
        if (call && HasCallback())
        {
            FillCallbackInfo(&info);
            info.scrollbar_pos = c;
            info.scrollbar_flag = drag;
            CallCallback(&info);
        }
        return;
    }
    pos = Snap(c);
    UpdateAutoText();
    StorePosToVar();
    if (drag)
        moved_by_drag = 1;
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && HasCallback())
    {
        FillCallbackInfo(&info);
        info.scrollbar_pos = pos;
        info.scrollbar_flag = drag;
        CallCallback(&info);
    }
}
