// The text-edit kind: a one-line field edited in its own buffer.
#include "MWinTextEdit.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngMain.h"
#include "EngMiscValues.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

char (*mwin_clipboard_copy)(const char* text) = nullptr;
char (*mwin_clipboard_paste)(char* dst, int size) = nullptr;

namespace
{
char te_num_str[32];

int CapLength(const char* func, int n)
{
    if (n >= MWIN_TEXTEDIT_MAX_LENGTH + 1)
    {
        DebugErrorAlt(func, "Length too long: %d", n);
        return MWIN_TEXTEDIT_MAX_LENGTH;
    }
    return n;
}

char KeyHeld(int slot)
{
    return eng_key_down[slot] >= 2;
}
} // namespace

void MWinButton::TextEditReset()
{
    TextEditFreeText();
    memset(&te, 0, sizeof(te));
    te.max_length = MWIN_TEXTEDIT_MAX_LENGTH;
    editing = 0;
}

void MWinButton::TextEditSetup(int length)
{
    TextEditSetLength(length);
}

void MWinButton::TextEditSetLength(int length)
{
    te.max_length = CapLength(__PRETTY_FUNCTION__, length);
    live = 1;
}

void MWinButton::TextEditSetIpAddress(const char* s)
{
    te.max_length = 63;
    live = 1;
    TextEditSetText(s);
    te.text_type = MWIN_TEXTEDIT_IP_ADDRESS;
}

void MWinButton::TextEditSetEmail(const char* s, int length)
{
    te.max_length = CapLength(__PRETTY_FUNCTION__, length);
    live = 1;
    TextEditSetText(s);
    te.text_type = MWIN_TEXTEDIT_EMAIL;
}

char MWinButton::TextEditRegisterStringVariable(char* p, int size)
{
    if (!p)
        return 0;
    if (size < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid size %d", size);
        return 0;
    }
    var.kind = MWIN_VAR_STRING;
    var.p_string = p;
    var.string_size = size;
    te.max_length = CapLength(__PRETTY_FUNCTION__, size - 1);
    live = 1;
    // The variable may not be terminated within its size.
    char* copy = (char*)malloc((size_t)size + 1);
    if (!copy)
        return 0;
    memcpy(copy, p, (size_t)size);
    copy[size] = 0;
    TextEditSetText(copy);
    free(copy);
    return 1;
}

char MWinButton::TextEditRegisterIntVariable(int* p, int size)
{
    if (!p)
        return 0;
    var.kind = MWIN_VAR_INT;
    var.p_int = p;
    var.mult_int = 1;
    te.max_length = CapLength(__PRETTY_FUNCTION__, size - 1);
    live = 1;
    TextEditSetNumber(*p);
    return 1;
}

char MWinButton::TextEditRegisterInt16Variable(short* p, int size)
{
    if (!p)
        return 0;
    var.kind = MWIN_VAR_INT16;
    var.p_int16 = p;
    var.mult_int16 = 1;
    te.max_length = CapLength(__PRETTY_FUNCTION__, size - 1);
    live = 1;
    TextEditSetNumber(*p);
    return 1;
}

char MWinButton::TextEditRegisterUInt16Variable(unsigned short* p, int size)
{
    if (!p)
        return 0;
    var.kind = MWIN_VAR_UINT16;
    var.p_uint16 = p;
    var.mult_uint16 = 1;
    te.max_length = CapLength(__PRETTY_FUNCTION__, size - 1);
    live = 1;
    TextEditSetNumber(*p);
    return 1;
}

char MWinButton::TextEditSetText(const char* s)
{
    char ok = 1;
    if (!s)
        AllocAndSetText(0, nullptr);
    else
    {
        int max = te.max_length > 0 ? te.max_length : 0;
        size_t len = strnlen(s, (size_t)max);
        char* copy = (char*)malloc(len + 1);
        if (!copy)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            return 0;
        }
        memcpy(copy, s, len);
        copy[len] = 0;
        ok = AllocAndSetText(0, copy);
        free(copy);
    }
    if (te.cursor_pos > te.max_length - 1)
        te.cursor_pos = te.max_length - 1;
    if (te.cursor_pos < 0)
        te.cursor_pos = 0;
    if (mwin)
        mwb::RenderNeeded(mwin);
    return ok;
}

char MWinButton::TextEditSetNumber(int n)
{
    snprintf(te_num_str, sizeof(te_num_str), "%d", n);
    char ok = TextEditSetText(te_num_str);
    te.text_type = MWIN_TEXTEDIT_NUMBER;
    return ok;
}

char MWinButton::TextEditHasText()
{
    if (editing)
        return te.buffer && te.buffer[0];
    return texts[0] != nullptr;
}

char* MWinButton::TextEditGetTextP()
{
    if (editing)
    {
        if (!te.buffer)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return te.buffer;
    }
    return texts[0];
}

const char* MWinButton::TextEditGetText()
{
    const char* s = TextEditGetTextP();
    return s ? s : "";
}

char MWinButton::TextEditGetText2(char* dst, int size)
{
    if (!dst)
        return 0;
    if (size > 0)
        dst[0] = 0;
    if (size < te.max_length || size <= 0)
        return 0;
    if (editing && !te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return 0;
    }
    const char* s = editing ? te.buffer : texts[0];
    if (!s)
        return 0;
    if (strlen(s) >= (size_t)size)
        return 0; // would not fit whole
    EngSafeStrcpy(dst, s, (size_t)size);
    return 1;
}

int MWinButton::TextEditGetNumber()
{
    const char* s = editing ? te.buffer : texts[0];
    // A number that does not fit an int does not parse either.
    int n = 0;
    if (!s || EngMiscReadInt(s, &n) != 1)
        return 0;
    return n;
}

char MWinButton::TextEditSetCurrentlyBeingEditedText(const char* s)
{
    if (!te.buffer || te.max_length <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return 0;
    }
    if (!s || !s[0])
        te.buffer[0] = 0;
    else
    {
        size_t len = strnlen(s, (size_t)te.max_length);
        memcpy(te.buffer, s, len);
        te.buffer[len] = 0;
    }
    int len = (int)strlen(te.buffer);
    if (te.cursor_pos > len)
        te.cursor_pos = len;
    return 1;
}

char MWinButton::TextEditAllocText()
{
    TextEditFreeText();
    if (te.max_length <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Length not set");
        return 0;
    }
    te.buffer = (char*)calloc((size_t)te.max_length + 3, 1);
    if (!te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    return 1;
}

void MWinButton::TextEditFreeText()
{
    free(te.buffer);
    te.buffer = nullptr;
}

void MWinButton::TextEditTurnOnEditing()
{
    if (editing)
        return;
    if (te.start_editing_cb)
        te.start_editing_cb();
    te.editing_requested = 1;
    if (te.clear_when_editing)
        AllocAndSetText(0, nullptr);
    if (!TextEditAllocText())
    {
        te.editing_requested = 0;
        return;
    }
    if (texts[0] && text_len[0] < te.max_length)
        memcpy(te.buffer, texts[0], (size_t)text_len[0] + 1);
    te.cursor_pos = (int)strlen(te.buffer);
    editing = 1;
    PlaySound(MWIN_SOUND_SELECTION);
    mwb::ActivateWindowAndCollection(parent);
    Activate();
    // Only the edit takes keys while it is edited: a widget that kept the
    // focus (the window's hover pass above saw the pointer where it was, and
    // skips while the edit is edited) loses it.
    _MWinButtonRef ref;
    MakeRef(&ref);
    if (!mwb::DeactivateAllButtonsBut(parent, this, &ref))
        return;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::TextEditTurnOffEditing(char confirmed)
{
    if (!editing)
        return;
    if (!te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        editing = 0;
        te.editing_requested = 0;
        return;
    }
    if ((int)strlen(te.buffer) > te.max_length)
        te.buffer[te.max_length] = 0;
    AllocAndSetText(0, te.buffer);
    te.editing_requested = 0;
    te.cursor_pos = 0;
    pressed = 0;
    editing = 0;

    if (var.kind == MWIN_VAR_STRING && var.p_string && var.string_size > 0)
        EngSafeStrcpy(var.p_string, te.buffer, (size_t)var.string_size);
    else if (var.kind == MWIN_VAR_INT && var.p_int)
        *var.p_int = TextEditGetNumber();
    else if (var.kind == MWIN_VAR_INT16 && var.p_int16)
        *var.p_int16 = (short)TextEditGetNumber();
    else if (var.kind == MWIN_VAR_UINT16 && var.p_uint16)
        *var.p_uint16 = (unsigned short)TextEditGetNumber();
    TextEditFreeText();

    MWin* mw = mwin;
    if (confirmed)
        PlaySound(MWIN_SOUND_SELECTION);
    if (HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.text_edit_flag = confirmed ? 1 : 0;
        if (!CallCallback(&info))
            return; // the callback may have removed this button
    }
    mwb::RenderNeeded(mw);
    mwb::ButtonsChanged(mw);
}

char MWinButton::TextEditMoveCursorToButtonAndTurnOnEditing()
{
    if (!eng_main_window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window.");
        return 0;
    }
    int cx = (int)(actual_area.x + actual_area.w * 0.5f);
    int cy = (int)(actual_area.y + actual_area.h * 0.5f);
    // The toolkit's mouse moves as the window reports it, in window pixels.
    mwb::MoveMouse(mwin, (float)cx * eng_main_window_x_ratio, (float)cy * eng_main_window_y_ratio);
    eng_main_window->SetCursorPosRatioed((float)cx, (float)cy);
    TextEditTurnOnEditing();
    return 1;
}

char MWinButton::TextEditHandleMousePress()
{
    if (!te.editing_requested)
        TextEditTurnOnEditing();
    else
        TextEditTurnOffEditing(0);
    return 1;
}

void MWinButton::TextEditDeactivate()
{
    TextEditTurnOffEditing(0);
}

void MWinButton::TextEditUpdateCursor()
{
    if (!editing)
        return;
    if (!te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return;
    }
    AllocAndSetText(0, te.buffer);
    if (mwin)
        mwb::RenderNeeded(mwin);
}

// Calls back for one key press when asked to.
static void KeyCall(MWinButton* b, char each)
{
    if (each && b->HasCallback())
    {
        _MWinButtonCallbackInfo info;
        b->FillCallbackInfo(&info);
        info.text_edit_flag = 255;
        b->CallCallback(&info);
    }
}

char MWinButton::TextEditHandleKeyDown(int key)
{
    if (!editing)
    {
        if (key == 13)
        {
            TextEditTurnOnEditing();
            return 1;
        }
        return 0;
    }
    if (!te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return 0;
    }
    int len = (int)strlen(te.buffer);
    switch (key)
    {
    case 13:
        TextEditTurnOffEditing(1);
        return 1;
    case 27:
        TextEditTurnOffEditing(0);
        return 1;
    case 246:
    case 247:
        return 1;
    case 8:
        if (te.cursor_pos >= len)
            return 1;
        memmove(te.buffer + te.cursor_pos, te.buffer + te.cursor_pos + 1, (size_t)(len - te.cursor_pos));
        TextEditUpdateCursor();
        PlaySound(MWIN_SOUND_KEY);
        KeyCall(this, te.call_each_key);
        return 1;
    case 127:
        if (te.cursor_pos <= 0)
            return 1;
        memmove(te.buffer + te.cursor_pos - 1, te.buffer + te.cursor_pos, (size_t)(len - te.cursor_pos + 1));
        te.cursor_pos--;
        TextEditUpdateCursor();
        PlaySound(MWIN_SOUND_KEY);
        KeyCall(this, te.call_each_key);
        return 1;
    case 244:
        if (te.cursor_pos > 0)
            te.cursor_pos--;
        break;
    case 245:
        if (te.cursor_pos < len)
            te.cursor_pos++;
        break;
    case 250:
        te.cursor_pos = 0;
        break;
    case 251:
        te.cursor_pos = len;
        break;
    default:
        return 0;
    }
    TextEditUpdateCursor();
    PlaySound(MWIN_SOUND_KEY);
    return 1;
}

char MWinButton::TextEditHandleKeyDownUChar(unsigned char c)
{
    if (!editing)
        return 0;
    if (!te.buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return 0;
    }
    if (te.max_length <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text length");
        return 0;
    }
    // Home and End (250, 251) never arrive as characters here: those codes
    // are the letters u-acute and u-circumflex. Control codes (a pasted line
    // break among them) have no place in a one-line text.
    if (c < 32 || (c >= 127 && c < 160))
        return 0;
    char command = KeyHeld(231) && !KeyHeld(228) && !KeyHeld(229);
    if (command && c == 'c')
    {
        if (mwin_clipboard_copy)
            mwin_clipboard_copy(te.buffer);
        return 1;
    }
    if (command && c == 'v')
    {
        eng_key_down[231] = 0;
        int room = te.max_length - te.cursor_pos;
        if (room > 0 && mwin_clipboard_paste)
        {
            char* buf = (char*)EngMalloc((size_t)room + 1, "TextEditHandleKeyDownUChar", 1);
            if (buf)
            {
                if (mwin_clipboard_paste(buf, room + 1) && (int)strnlen(buf, (size_t)room + 1) < room)
                {
                    // Fed one by one through the typed-character path.
                    char each = te.call_each_key;
                    te.call_each_key = 0;
                    for (int i = 0; buf[i] && editing && te.buffer; i++)
                        TextEditHandleKeyDownUChar((unsigned char)buf[i]);
                    te.call_each_key = each;
                }
                EngFree(buf, 0, "TextEditHandleKeyDownUChar");
            }
            PlaySound(MWIN_SOUND_KEY);
            KeyCall(this, te.call_each_key);
            return 1;
        }
        PlaySound(MWIN_SOUND_KEY);
        return 1;
    }

    PlaySound(MWIN_SOUND_KEY);
    int len = (int)strlen(te.buffer);
    if (len >= te.max_length)
        return 1;

    switch (te.text_type)
    {
    case MWIN_TEXTEDIT_NUMBER:
    {
        char has_point = strchr(te.buffer, '.') != nullptr;
        if (c >= '0' && c <= '9')
            break;
        if (c == '.' && !has_point)
            break;
        if (c == '-' && len == 0)
            break;
        return 0;
    }
    case MWIN_TEXTEDIT_IP_ADDRESS:
        if (c == '.')
        {
            if (te.cursor_pos == 0 || te.buffer[te.cursor_pos - 1] == '.')
                return 0;
            break;
        }
        if (c >= '0' && c <= '9')
        {
            int p = te.cursor_pos;
            if (p >= 3 && isdigit((unsigned char)te.buffer[p - 1]) &&
                isdigit((unsigned char)te.buffer[p - 2]) && isdigit((unsigned char)te.buffer[p - 3]))
                return 0;
            break;
        }
        return 0;
    case MWIN_TEXTEDIT_EMAIL:
        if (c == 9 || c == ' ')
            return 0;
        break;
    default:
        break;
    }

    if (te.cursor_pos > len)
        te.cursor_pos = len;
    memmove(te.buffer + te.cursor_pos + 1, te.buffer + te.cursor_pos, (size_t)(len - te.cursor_pos + 1));
    te.buffer[te.cursor_pos] = (char)c;
    if (te.cursor_pos < len + 1)
        te.cursor_pos++;
    TextEditUpdateCursor();
    KeyCall(this, te.call_each_key);
    return 1;
}

char MWinButton::TextEditTick()
{
    static double last_time = 0;
    if (!te.editing_requested)
    {
        if (te.cursor_visible)
        {
            te.cursor_visible = 0;
            if (mwin)
                mwb::RenderNeeded(mwin);
        }
        return 0;
    }
    if (!pressed)
    {
        pressed = 1;
        if (mwin)
            mwb::RenderNeeded(mwin);
    }
    if (!eng_main_device)
        return 1;
    if (eng_main_current_time - last_time >= 0.3 || eng_main_current_time < last_time)
    {
        te.cursor_visible = !te.cursor_visible;
        TextEditUpdateCursor();
        last_time = eng_main_current_time;
    }
    return 1;
}

float MWinButton::TextEditRenderHiddenLetters()
{
    EngFont* font = GetTextFont();
    if (!font || !texts[0])
        return 0;
    float star = font->GetStringWidth("*");
    _Dimension saved = actual_area;
    float last = actual_area.x;
    for (int i = 0; i < text_len[0]; i++)
    {
        actual_area.x = saved.x + i * star;
        mwb::RenderText(mwin, font_num, align, LS(17), &actual_area, "*", 0, 0);
        last = actual_area.x + LS(17) + star;
    }
    actual_area = saved;
    float r = last + star * 0.5f;
    return r < saved.x + saved.w ? r : saved.x + saved.w;
}

void MWinButton::TextEditRenderText()
{
    EngFont* font = GetTextFont();
    if (editing && te.cursor_visible && font)
    {
        font->RecordNextTextXPos(te.cursor_pos);
        float star_x = 0;
        if (!texts[0])
            mwb::RenderText(mwin, font_num, align, LS(17), &actual_area, " ", 0, 0);
        else if (te.hide_letters)
            star_x = TextEditRenderHiddenLetters();
        else
            RenderNormalText();
        float x = font->RecordNextTextXPos(-1);
        if (te.hide_letters && star_x > 0)
            x = star_x;

        _ColourRGBA saved_colour;
        float ssx, ssy;
        font->GetColour(&saved_colour);
        font->GetScale(&ssx, &ssy);
        _ColourRGBA c = text_colour;
        c.a *= 0.6f;
        font->SetColour(&c);
        float l15 = LS(15), l16 = LS(16);
        float sx, sy;
        if (l15 > 0 && l16 > 0)
        {
            sx = text_scale_x * l15;
            sy = l16 * text_scale_y * GetAutoResizeScaleY() * 1.5f;
        }
        else
        {
            sx = text_scale_x;
            sy = text_scale_y * GetAutoResizeScaleY();
        }
        sx *= GetAutoResizeScaleX();
        font->SetScale(sx, sy);
        char opened = 0;
        EngFontPrepareForDrawingIfNeeded(1, &opened);
        font->DrawStringAlign(x, actual_area.y + actual_area.h * 0.5f, 1, 1, "I", 0);
        if (opened)
            EngFontRestoreAfterDrawing();
        font->SetColour(&saved_colour);
        font->SetScale(ssx, ssy);
        if (eng_main_program)
            eng_main_program->EventDrivenLoopDoTimerActionOnNextTick();
        return;
    }
    if (te.hide_letters)
        TextEditRenderHiddenLetters();
    else
        RenderNormalText();
}
