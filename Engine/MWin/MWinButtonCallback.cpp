// Widget callbacks, their dispatch with survival checks, and bound variables.
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"
#include "MWinCollectionController.h"
#include "MWinColourPicker.h"

char MWinButton::SetCallback(MWinButtonCallback4 fn, int i1, int i2, char check)
{
    if (check && fn && parent && mwb::Controller(parent))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Use controller");
        return 0;
    }
    cb4 = fn;
    cb5 = nullptr;
    cb_plain = nullptr;
    cb_plain_data = nullptr;
    cb_int1 = i1;
    cb_int2 = i2;
    cb_data = nullptr;
    return 1;
}

char MWinButton::SetCallback(MWinButtonCallback5 fn, int i1, int i2, void* data, char check)
{
    if (check && fn && parent && mwb::Controller(parent))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Use controller");
        return 0;
    }
    cb4 = nullptr;
    cb5 = fn;
    cb_plain = nullptr;
    cb_plain_data = nullptr;
    cb_int1 = i1;
    cb_int2 = i2;
    cb_data = data;
    return 1;
}

char MWinButton::SetPlainCallback(MWinButtonPlainCallback fn)
{
    if (fn && parent && mwb::Controller(parent))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Use controller");
        return 0;
    }
    cb4 = nullptr;
    cb5 = nullptr;
    cb_plain = fn;
    cb_plain_data = nullptr;
    cb_int1 = cb_int2 = 0;
    cb_data = nullptr;
    return 1;
}

char MWinButton::SetPlainCallback(MWinButtonPlainDataCallback fn, void* data)
{
    if (fn && parent && mwb::Controller(parent))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Use controller");
        return 0;
    }
    cb4 = nullptr;
    cb5 = nullptr;
    cb_plain = nullptr;
    cb_plain_data = fn;
    cb_int1 = cb_int2 = 0;
    cb_data = data;
    return 1;
}

void MWinButton::RemoveAllCallbacks()
{
    cb4 = nullptr;
    cb5 = nullptr;
    cb_plain = nullptr;
    cb_plain_data = nullptr;
    cb_int1 = cb_int2 = 0;
    cb_data = nullptr;
}

char MWinButton::HasCallback()
{
    return (parent && mwb::Controller(parent)) || cb4 || cb5 || cb_plain || cb_plain_data;
}

void MWinButton::FillCallbackInfo(_MWinButtonCallbackInfo* info)
{
    if (!info)
        return;
    memset(info, 0, sizeof(*info));
    EngSafeStrcpy(info->button_id, id, ENG_ID_SIZE);
    if (parent)
        EngSafeStrcpy(info->window_id, mwb::WindowID(parent), ENG_ID_SIZE);
    info->button = this;
}

void MWinButton::MakeRef(_MWinButtonRef* ref)
{
    ref->self = this;
    ref->mw = mwin;
    ref->had_program = eng_main_program != nullptr;
    ref->had_window = eng_main_window != nullptr;
    EngSafeStrcpy(ref->but_id, id, ENG_ID_SIZE);
    EngSafeStrcpy(ref->win_id, parent ? mwb::WindowID(parent) : "", ENG_ID_SIZE);
    EngSafeStrcpy(ref->coll_id, parent ? mwb::CollectionID(parent) : "", ENG_ID_SIZE);
}

// The button's fields are read only once the look-up has returned this very
// object, so freed storage is never touched.
char MWinButton::RefStillExists(const _MWinButtonRef* ref)
{
    if ((ref->had_program && !eng_main_program) || (ref->had_window && !eng_main_window))
        return 0;
    if (!mwb::IsOn(ref->mw))
        return 0;
    MWinButton* found = mwb::GetButtonFromIDs(ref->mw, ref->coll_id, ref->win_id, ref->but_id);
    if (!found || found != ref->self)
        return 0;
    return found->IsAlive();
}

char MWinButton::CallCallback(_MWinButtonCallbackInfo* info)
{
    _MWinButtonRef ref;
    MakeRef(&ref);
    MWinWindow* win = parent;

    _MWinButtonCallbackInfo local;
    MWinCollectionController* ctrl = win ? mwb::Controller(win) : nullptr;
    char picker_handler = 0;
    if (ctrl)
    {
        picker_handler = cb5 != nullptr && cb5 == &MWinColour_ScrollbarsCallback;
        if (!info)
        {
            FillCallbackInfo(&local);
            info = &local;
        }
        char result = ctrl->ButtonsCallback(this, info);
        if ((ref.had_program && !eng_main_program) || (ref.had_window && !eng_main_window))
            return 0;
        if (!picker_handler)
        {
            if (!RefStillExists(&ref))
                return 0;
            if (result && type == MWIN_BUTTON_PUSH)
                PlaySound(MWIN_SOUND_BUTTON);
            mwb::RenderNeeded(mwin);
            return 1;
        }
        // The picker's handler runs as well.
    }

    if (cb4)
    {
        if (!info)
        {
            FillCallbackInfo(&local);
            info = &local;
        }
        cb4(mwin, info, cb_int1, cb_int2);
    }
    else if (cb_plain)
        cb_plain();
    else if (cb_plain_data)
        cb_plain_data(cb_data);
    else if (cb5)
    {
        if (!info)
        {
            FillCallbackInfo(&local);
            info = &local;
        }
        cb5(mwin, info, cb_int1, cb_int2, cb_data);
    }
    else
        return 0;

    if (!RefStillExists(&ref))
        return 0;
    if (type == MWIN_BUTTON_PUSH)
        PlaySound(MWIN_SOUND_BUTTON);
    mwb::RenderNeeded(mwin);
    return 1;
}

char MWinButton::PushButtonHandleKeyDown(int key)
{
    if (key == 13 || key == 32)
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        CallCallback(&info);
        return 1;
    }
    return 0;
}

void MWinButton::SetExtraRenderCB(MWinButtonRenderCallback cb, int i, void* data)
{
    extra_render_cb = cb;
    extra_render_int = i;
    extra_render_data = data;
}

// ---- Bound variables ----

namespace
{
char RefuseMult(const char* func, const char* id)
{
    DebugErrorAlt(func, "ID: %s - 0 val passed as mult", id);
    return 0;
}
} // namespace

char MWinButton::RegisterCharVariable(char* p)
{
    var.kind = p ? MWIN_VAR_CHAR : MWIN_VAR_NONE;
    var.p_char = p;
    return 1;
}

char MWinButton::RegisterUnsignedCharVariable(unsigned char* p)
{
    var.kind = p ? MWIN_VAR_UCHAR : MWIN_VAR_NONE;
    var.p_uchar = p;
    return 1;
}

char MWinButton::RegisterIntVariable(int* p, int mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_INT;
    var.p_int = p;
    var.mult_int = mult;
    return 1;
}

char MWinButton::RegisterInt16Variable(short* p, short mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_INT16;
    var.p_int16 = p;
    var.mult_int16 = mult;
    return 1;
}

char MWinButton::RegisterUInt16Variable(unsigned short* p, unsigned short mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_UINT16;
    var.p_uint16 = p;
    var.mult_uint16 = mult;
    return 1;
}

char MWinButton::RegisterLongVariable(int* p, int mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_LONG;
    var.p_long = p;
    var.mult_long = mult;
    return 1;
}

char MWinButton::RegisterUnsignedLongVariable(unsigned int* p, unsigned int mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_ULONG;
    var.p_ulong = p;
    var.mult_ulong = mult;
    return 1;
}

char MWinButton::RegisterFloatVariable(float* p, float mult)
{
    if (!p)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    var.kind = MWIN_VAR_FLOAT;
    var.p_float = p;
    var.mult_float = mult;
    return 1;
}

char MWinButton::RegisterTwoFloatVariables(float* p, float* q, float mult)
{
    if (!p || !q)
    {
        var.kind = MWIN_VAR_NONE;
        return 1;
    }
    if (mult == 0)
        return RefuseMult(__PRETTY_FUNCTION__, id);
    var.kind = MWIN_VAR_TWO_FLOATS;
    var.p_float = p;
    var.p_float2 = q;
    var.mult_float = mult;
    return 1;
}

char MWinButton::RegisterColourRGBVariable(_ColourRGB* p)
{
    var.kind = p ? MWIN_VAR_COLOUR_RGB : MWIN_VAR_NONE;
    var.p_colour = p;
    if (p)
        var.mult_float = 1.0f;
    return 1;
}

// Writes an integer value into the bound variable when its kind is one of
// char, unsigned char, int (and, with kinds_up_to 5, the 16-bit kinds).
void MWinButton::WriteBoundInt(int value, char kinds_up_to)
{
    if (var.kind > kinds_up_to)
        return;
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
        if (var.p_char)
            *var.p_char = (char)value;
        break;
    case MWIN_VAR_UCHAR:
        if (var.p_uchar)
            *var.p_uchar = (unsigned char)value;
        break;
    case MWIN_VAR_INT:
        if (var.p_int)
            *var.p_int = value;
        break;
    case MWIN_VAR_INT16:
        if (var.p_int16)
            *var.p_int16 = (short)value;
        break;
    case MWIN_VAR_UINT16:
        if (var.p_uint16)
            *var.p_uint16 = (unsigned short)value;
        break;
    default:
        break;
    }
}

int MWinButton::ReadBoundInt(char* ok)
{
    *ok = 1;
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
        if (var.p_char)
            return *var.p_char;
        break;
    case MWIN_VAR_UCHAR:
        if (var.p_uchar)
            return *var.p_uchar;
        break;
    case MWIN_VAR_INT:
        if (var.p_int)
            return *var.p_int;
        break;
    case MWIN_VAR_INT16:
        if (var.p_int16)
            return *var.p_int16;
        break;
    case MWIN_VAR_UINT16:
        if (var.p_uint16)
            return *var.p_uint16;
        break;
    default:
        break;
    }
    *ok = 0;
    return 0;
}
