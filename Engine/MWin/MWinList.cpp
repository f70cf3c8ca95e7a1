// The drop-down list kind: a closed field that opens into a column of entries.
#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "EngProgram.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

#define LIST_CHECK(ret)                                                                                      \
    if (type != MWIN_BUTTON_LIST)                                                                            \
    {                                                                                                        \
        DebugErrorAlt(__PRETTY_FUNCTION__, "button %s not a list", id);                                      \
        return ret;                                                                                          \
    }

void MWinButton::ListReset()
{
    LIST_CHECK()
    memset(&list, 0, sizeof(list));
    list.first_shown = list.end_shown = list.open_pos = list.open_start = -1;
    list.box_y = list.box_h = list.top_cap_y = list.top_cap_h = list.bottom_cap_y = list.bottom_cap_h = -1;
    list.highlight_y = -1;
    list.up_row_y = list.up_row_h = list.down_row_y = list.down_row_h = -1;
    list.delay_ms = 400;
}

char MWinButton::ListSetStrings(int n, const char** strings)
{
    LIST_CHECK(0)
    if (n <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num %d (ID: %s)", n, id);
        return 0;
    }
    if (!strings)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null strings (ID: %s)", id);
        return 0;
    }
    ListAdoptStrings(n, strings, nullptr, nullptr);
    return 1;
}

char MWinButton::ListSetStringsCallback(int n, MWinButtonStringsCallback fn, void* data)
{
    LIST_CHECK(0)
    if (data)
        strings_cb_data = data;
    if (n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num entries %d (ID: %s)", n, id);
        return 0;
    }
    if (!fn)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null callback entry (ID: %s)", id);
        return 0;
    }
    ListAdoptStrings(n, nullptr, fn, nullptr);
    if (n >= 1)
        AllocAndSetText(0, fn(0, this, strings_cb_data));
    return 1;
}

char MWinButton::ListSetStringsLanguageToken(int n, const char* token)
{
    LIST_CHECK(0)
    if (n <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num %d (ID: %s)", n, id);
        return 0;
    }
    if (!token || !token[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null token (ID: %s)", id);
        return 0;
    }
    ListAdoptStrings(n, nullptr, nullptr, token);
    AllocAndSetText(0, EngLanguagesGetString(token));
    return 1;
}

void MWinButton::ListAdoptStrings(int n, const char** strings, MWinButtonStringsCallback cb, const char* token)
{
    list.pos = 0;
    list.num_entries = n;
    list.strings = strings;
    list.strings_cb = cb;
    list.language = token ? 1 : 0;
    SetTextLanguageToken(token);
    list.open = 0;
    choice_left_arrow = choice_right_arrow = 0;
    live = 1;
}

char MWinButton::ListIsOpen()
{
    return live && type == MWIN_BUTTON_LIST && list.open;
}

int MWinButton::ListGetPos()
{
    LIST_CHECK(0)
    return list.pos;
}

int MWinButton::ListGetNumEntries()
{
    LIST_CHECK(0)
    return list.num_entries;
}

const char* MWinButton::ListGetEntryString(int i)
{
    if (i < 0 || i >= list.num_entries)
        return nullptr;
    if (list.strings_cb)
        return list.strings_cb(i, this, strings_cb_data);
    if (list.strings)
        return list.strings[i];
    if (list.language && language_token[0])
        return EngLanguagesGetString(language_token, i);
    return nullptr;
}

const char* MWinButton::ListGetString()
{
    LIST_CHECK(nullptr)
    return ListGetEntryString(list.pos);
}

int MWinButton::ListGetOpenPos()
{
    LIST_CHECK(-1)
    return list.open ? list.open_pos : -1;
}

char MWinButton::ListSetPos(int pos, char call)
{
    LIST_CHECK(0)
    if (pos < 0 || pos >= list.num_entries)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid pos : %d (id: %s, entries = %d)", pos, id,
                      list.num_entries);
        return 0;
    }
    list.pos = pos;
    const char* s = ListGetEntryString(pos);
    if (s)
        AllocAndSetText(0, s);
    WriteBoundInt(pos, MWIN_VAR_INT);
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.list_event = list.open ? 1 : 0;
        info.list_pos = list.pos;
        return CallCallback(&info);
    }
    return 1;
}

void MWinButton::ListRefresh()
{
    LIST_CHECK()
    if (var.kind == MWIN_VAR_INT && var.p_int)
        ListSetPos(*var.p_int, 0);
}

void MWinButton::ListUpdateFromRegisteredVariable(char call)
{
    LIST_CHECK()
    char ok = 0;
    int v = ReadBoundInt(&ok);
    if (ok && var.kind <= MWIN_VAR_INT)
        ListSetPos(v, call);
}

char MWinButton::ListRegisterCharVariable(char* p)
{
    LIST_CHECK(0)
    RegisterCharVariable(p);
    if (p)
        ListSetPos(*p, 0);
    return 1;
}

char MWinButton::ListRegisterIntVariable(int* p)
{
    LIST_CHECK(0)
    RegisterIntVariable(p, 1);
    if (p)
        ListSetPos(*p, 0);
    return 1;
}

char MWinButton::ListSetPosToString(const char* s, char call)
{
    LIST_CHECK(0)
    if (!s)
        return 0;
    for (int i = 0; i < list.num_entries; i++)
    {
        const char* e = ListGetEntryString(i);
        if (!e)
            return 0;
        if (!strcmp(e, s))
        {
            ListSetPos(i, call);
            return 1;
        }
    }
    return 0;
}

void MWinButton::ListOpen()
{
    LIST_CHECK()
    list.open = 1;
    list.open_x = actual_area.x;
    list.open_y = actual_area.y;
    list.first_shown = list.end_shown = -1;
    list.scroll = 0;
    list.delay_ms = 400;
    list.open_pos = list.open_start = list.pos;
    list.open_time = eng_main_current_time;
    ListCalcOpenListVariables();
    if (!list.open)
        return;
    if (list.first_shown >= list.num_entries)
    {
        list.open_y += actual_area.h;
        ListCalcOpenListVariables();
    }
    else if (list.end_shown <= 0)
    {
        list.open_y -= actual_area.h;
        ListCalcOpenListVariables();
    }
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::ListClose(char choose, char call)
{
    if (type != MWIN_BUTTON_LIST || !list.open)
        return;
    list.open = 0;
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (choose)
    {
        if (list.open_pos >= 0 && list.open_pos < list.num_entries)
            ListSetPos(list.open_pos, 0);
        if (call && HasCallback())
        {
            _MWinButtonCallbackInfo info;
            FillCallbackInfo(&info);
            info.list_event = 1;
            info.list_pos = list.pos;
            CallCallback(&info);
        }
    }
    else if (call && HasCallback() && list.open_pos != list.pos)
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.list_event = 2;
        info.list_pos = list.pos;
        CallCallback(&info);
    }
}

char MWinButton::ListHandleEscape()
{
    if (!ListIsOpen())
        return 0;
    ListClose(0, 1);
    return 1;
}

char MWinButton::ListCalcOpenListVariables()
{
    list.box_y = list.box_h = list.top_cap_y = list.top_cap_h = list.bottom_cap_y = list.bottom_cap_h = -1;
    list.highlight_y = -1;
    list.up_arrow = list.down_arrow = 0;
    list.up_row_y = list.up_row_h = list.down_row_y = list.down_row_h = -1;
    if (!list.open)
        return 0;
    if (type != MWIN_BUTTON_LIST)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Open List ID %s is not a list", id);
        return 0;
    }
    if (list.num_entries <= 0)
    {
        ListClose(0, 1);
        return 0;
    }
    float h = actual_area.h;
    if (h <= 0)
        return 0;
    int n = list.num_entries;
    float oy = list.open_y;
    int b = list.open_start + list.scroll;
    int a = (int)(oy / h);
    if (a < 0)
        a = 0;
    if (b < a)
        a = b;
    list.first_shown = b - a;
    int c = (int)((480.0f - oy - h) / h) + 1;
    if (c < 1)
        c = 1;
    if (b + c > n)
        c = n - b;
    list.end_shown = b + c;

    if (list.first_shown > 0)
        list.up_arrow = 1;
    else if (b != a)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error 1");
    if (list.end_shown < n)
        list.down_arrow = 1;
    else if (list.end_shown > n)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error 2");

    list.box_y = oy - a * h;
    list.box_h = (list.end_shown - list.first_shown) * h;
    if (list.box_y < 0)
    {
        list.box_h += list.box_y;
        list.box_y = 0;
    }
    if (!list.up_arrow)
    {
        list.top_cap_h = 0.5f * h;
        list.top_cap_y = list.box_y - 0.25f * h;
        if (list.top_cap_y < 0)
            list.top_cap_y = 0;
    }
    if (!list.down_arrow)
    {
        list.bottom_cap_h = 0.5f * h;
        list.bottom_cap_y = list.box_y + list.box_h - 0.25f * h;
        if (list.bottom_cap_y > 480 - 0.5f * h)
            list.bottom_cap_y = 480 - 0.5f * h;
    }
    if (list.open_pos >= list.first_shown && list.open_pos < list.end_shown)
        list.highlight_y = (list.open_pos - list.open_start - list.scroll) * h + oy;
    if (list.up_arrow)
    {
        list.up_row_y = list.box_y;
        list.up_row_h = h;
        list.box_y += h;
        list.box_h -= h;
        list.first_shown++;
    }
    if (list.down_arrow)
    {
        list.down_row_y = list.box_y + list.box_h - h;
        list.down_row_h = h;
        list.end_shown--;
        list.box_h -= h;
    }
    return 1;
}

char MWinButton::ListSelectNewOpenPos(int p)
{
    if (p > list.num_entries - 1)
        p = list.num_entries - 1;
    if (p < 0)
        p = 0;
    if (p == list.open_pos)
        return 0;
    list.open_pos = p;
    ListCalcOpenListVariables();
    if (HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.list_event = 0;
        info.list_pos = list.pos;
        _MWinButtonRef ref;
        MakeRef(&ref);
        CallCallback(&info);
        if (!RefStillExists(&ref))
            return -1; // the callback removed the button
    }
    return 1;
}

char MWinButton::ListTraverse(int d)
{
    int t = list.open_pos + d;
    if (t > list.end_shown)
        t = list.end_shown;
    if (t < list.first_shown - 1)
        t = list.first_shown - 1;
    return ListSelectNewOpenPos(t);
}

char MWinButton::ListHandleMouseButtonPressed(char button, char down)
{
    if (button != 0 || !down)
        return 0;
    if (!list.open)
    {
        ListOpen();
        return 1;
    }
    ListCalcOpenListVariables();
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    char inside = mx >= list.open_x && mx <= list.open_x + actual_area.w && my >= list.box_y &&
                  my <= list.box_y + list.box_h;
    ListClose(inside, 1);
    return 1;
}

char MWinButton::ListHandleMouseMove()
{
    if (!list.open)
        return 0;
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    if (mx < list.open_x || mx > list.open_x + actual_area.w)
    {
        ListClose(0, 1);
        return 1;
    }
    float h = actual_area.h;
    if (h <= 0)
        return 1;
    int row = (int)floorf((my - (list.open_y + 0.5f * h)) / h + 0.5f) + list.open_start + list.scroll;
    MWin* mw = mwin;
    char moved = ListSelectNewOpenPos(row);
    if (moved < 0)
        return 1;
    if (moved)
    {
        ListCalcOpenListVariables();
        mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    }
    return 1;
}

char MWinButton::ListHandleMouseWheel(int d)
{
    static char in_here = 0;
    if (in_here)
        return 0;
    if (list.open)
    {
        ListTraverse(-d);
        return 1;
    }
    if (d == 0)
        return 1;
    if ((d > 0 && list.pos > 0) || (d < 0 && list.pos < list.num_entries - 1))
    {
        in_here = 1;
        ListOpen();
        if (list.open && ListTraverse(-d) >= 0)
            ListClose(1, 1);
        in_here = 0;
    }
    return 1;
}

char MWinButton::ListHandleKeyDown(int key)
{
    static char in_here = 0;
    int d = 0;
    switch (key)
    {
    case 246:
        d = -1;
        break;
    case 247:
        d = 1;
        break;
    case 248:
        d = -10;
        break;
    case 249:
        d = 10;
        break;
    default:
        break;
    }
    if (list.open)
    {
        if (key == 13)
        {
            ListClose(1, 1);
            return 1;
        }
        if (key == 27)
        {
            ListClose(0, 1);
            return 1;
        }
        if (d != 0)
        {
            ListTraverse(d);
            return 1;
        }
        return 0;
    }
    if (key == 13)
    {
        ListOpen();
        return 1;
    }
    if (d == 0 || in_here)
        return 0;
    in_here = 1;
    ListOpen();
    if (list.open && ListTraverse(d) >= 0)
        ListClose(1, 1);
    in_here = 0;
    return 1;
}

char MWinButton::ListTick()
{
    static double last_scroll_time = 0;
    if (!eng_main_device || !list.open)
        return 0;
    if (eng_main_program)
        eng_main_program->EventDrivenLoopDoTimerActionOnNextTick();
    int dir = 0;
    if (list.up_arrow && list.first_shown == list.open_pos + 1)
        dir = -1;
    else if (list.down_arrow && list.open_pos == list.end_shown)
        dir = 1;
    if (dir == 0)
    {
        list.delay_ms = 400;
        return 0;
    }
    double now = eng_main_current_time;
    if (now - last_scroll_time < list.delay_ms / 1000.0 || now < list.open_time + 0.1)
        return 1;
    last_scroll_time = now;
    list.delay_ms = list.delay_ms - 70 > 5 ? list.delay_ms - 70 : 5;
    list.scroll += dir;
    MWin* mw = mwin;
    char moved = ListSelectNewOpenPos(list.open_pos + dir);
    mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    if (moved >= 0)
        ListCalcOpenListVariables();
    return 1;
}

void MWinButton::ListRenderBackPart(_MWinTextureState state, int slot, float x, float y, float w, float h)
{
    mwb::DrawStdTexBut(mwin, slot, state, x, y, w, h, nullptr);
}

void MWinButton::ListRenderBack(_MWinTextureState state)
{
    if (list.open)
        return;
    RenderNormalBack(state, &actual_area);
    float aw = LS(32), ah = LS(33), inset = LS(34);
    float x = actual_area.x + actual_area.w - aw - inset;
    float y = actual_area.y + actual_area.h * 0.5f - ah * 0.5f;
    ListRenderBackPart(state, 7, x, y, aw, ah * 0.5f);
    ListRenderBackPart(state, 8, x, y + ah * 0.5f, aw, ah * 0.5f);
}

void MWinButton::ListRenderText()
{
    if (list.open)
        return;
    _Dimension a = actual_area;
    a.w -= LS(32) + LS(34);
    if (list.language && language_token_num >= 0)
    {
        const char* s = EngLanguagesGetString(language_token_num, list.pos);
        if (s)
            mwb::RenderText(mwin, font_num, align, LS(17), &a, s, 0, shrink_to_fit);
        return;
    }
    _Dimension saved = actual_area;
    actual_area = a;
    char lang = language_on;
    language_on = 0;
    RenderNormalText();
    language_on = lang;
    actual_area = saved;
}

void MWinButton::ListRenderOnTopOfOtherButtons(_MWinTextureState state)
{
    if (!list.open)
        return;
    if (state == MWIN_TEXSTATE_FOCUSED)
        state = MWIN_TEXSTATE_NORMAL;
    float h = actual_area.h, w = actual_area.w, ox = list.open_x;
    if (list.box_y >= 0 && list.box_h > 0)
        ListRenderBackPart(state, 13, ox, list.box_y, w, list.box_h);
    if (list.top_cap_h > 0)
        ListRenderBackPart(state, 14, ox, list.top_cap_y, w, list.top_cap_h);
    if (list.bottom_cap_h > 0)
        ListRenderBackPart(state, 15, ox, list.bottom_cap_y, w, list.bottom_cap_h);
    if (list.up_arrow)
        ListRenderBackPart(state, 13, ox, list.up_row_y, w, list.up_row_h);
    if (list.down_arrow)
        ListRenderBackPart(state, 13, ox, list.down_row_y, w, list.down_row_h);
    if (list.open_pos >= list.first_shown - 1 && list.open_pos <= list.end_shown && list.highlight_y >= 0)
    {
        _MWinTextureState hs = (state == MWIN_TEXSTATE_PRESSED || state == MWIN_TEXSTATE_DISABLED)
                                   ? state
                                   : MWIN_TEXSTATE_FOCUSED;
        ListRenderBackPart(hs, 16, ox, list.highlight_y, w, h);
    }
    float aw = LS(32), ah = LS(33);
    if (list.up_arrow)
        ListRenderBackPart(state, 7, ox + (w - aw) * 0.5f, list.up_row_y + (h - ah) * 0.5f, aw, ah);
    if (list.down_arrow)
        ListRenderBackPart(state, 8, ox + (w - aw) * 0.5f, list.down_row_y + (h - ah) * 0.5f, aw, ah);

    UpdateTextFontColourAndScale();
    for (int i = list.first_shown; i < list.end_shown; i++)
    {
        const char* s = ListGetEntryString(i);
        if (!s)
            continue;
        float cy = h * (i - list.open_start - list.scroll) + 0.5f * h + list.open_y;
        _Dimension row = {ox, cy - 0.5f * h, w, h};
        mwb::RenderText(mwin, font_num, align, LS(17), &row, s, 0, shrink_to_fit);
    }
}
