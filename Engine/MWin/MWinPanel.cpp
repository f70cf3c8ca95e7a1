// The list-panel kind: a page of rows with a scroll sidebar and selection.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "EngMenu.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

namespace
{
char Held(int slot)
{
    return eng_key_down[slot] >= 2;
}

// A letter folded for type-ahead: a small letter (a-z, the Latin-1 ones) as
// its capital; ß, ÿ and the rest as themselves.
int CapitalOf(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    return c;
}

float Clamp(float v, float lo, float hi)
{
    if (v > hi)
        v = hi;
    if (v < lo)
        v = lo;
    return v;
}
} // namespace

void MWinButton::PanelFree()
{
    free(panel.selected);
    panel.selected = nullptr;
    free(panel.colours);
    panel.colours = nullptr;
}

void MWinButton::PanelReset()
{
    PanelFree();
    memset(&panel, 0, sizeof(panel));
    panel.per_page_mode = 1;
    panel.show_sel = 1;
    type = MWIN_BUTTON_PANEL;
    PanelUpdateNumPerPageVar(-1);
}

void MWinButton::PanelUpdateNumPerPageVar(int n)
{
    if (n >= 1)
    {
        panel.per_page_mode = 0;
        panel.per_page = n;
    }
    else
    {
        float bh = LS(8);
        if (bh <= 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No default button height");
            return;
        }
        if (n != -99)
            panel.per_page_mode = n == 0 ? 1 : (char)-n; // 0 asks for rows from the height too
        // An area change keeps a count the caller fixed.
        if (panel.per_page_mode == 2)
            panel.per_page = (int)(actual_area.h / (0.66f * bh));
        else if (!(n == -99 && panel.per_page_mode == 0))
            panel.per_page = (int)(actual_area.h / bh);
    }
    PanelGetSidebarDimensions();
}

char MWinButton::PanelSetStrings(int n, int per_page, const char** strings)
{
    PanelFree();
    if (n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num entries %d (ID: %s)", n, id);
        return 0;
    }
    if (!strings)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null strings (ID: %s)", id);
        return 0;
    }
    PanelAdoptStrings(n, per_page, strings, nullptr, nullptr);
    return 1;
}

char MWinButton::PanelSetStringsCallback(int n, int per_page, MWinButtonStringsCallback fn, void* data)
{
    PanelFree();
    if (data)
        strings_cb_data = data;
    if (n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num entries %d (ID: %s)", n, id);
        return 0;
    }
    PanelAdoptStrings(n, per_page, nullptr, fn, nullptr);
    return 1;
}

char MWinButton::PanelSetStringsLanguageToken(int n, int per_page, const char* token)
{
    PanelFree();
    if (n < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num entries %d (ID: %s)", n, id);
        return 0;
    }
    if (!token)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null token (ID: %s)", id);
        return 0;
    }
    PanelAdoptStrings(n, per_page, nullptr, nullptr, token);
    return 1;
}

void MWinButton::PanelAdoptStrings(int n, int per_page, const char** strings, MWinButtonStringsCallback cb,
                                   const char* token)
{
    panel.strings = strings;
    panel.strings_cb = cb;
    panel.language = token ? 1 : 0;
    SetTextLanguageToken(token);
    panel.num_entries = n;
    panel.pos = panel.allow_no_pos ? -1 : 0;
    panel.anchor = panel.pos;
    PanelUpdateNumPerPageVar(per_page);
    if (panel.multi_sel)
        PanelAllocateMultiPos();
    panel.display_pos = 0;
    PanelGetSidebarDimensions();
    live = 1;
}

void MWinButton::PanelEmpty()
{
    PanelFree();
    panel.pos = panel.anchor = panel.num_entries = 0;
    panel.strings = nullptr;
    panel.strings_cb = nullptr;
    panel.language = 0;
    panel.display_pos = 0;
    PanelGetSidebarDimensions();
}

char MWinButton::PanelAllocateMultiPos()
{
    free(panel.selected);
    panel.selected = (unsigned char*)calloc((size_t)panel.num_entries + 1, 1);
    if (!panel.selected)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        PanelReset();
        return 0;
    }
    return 1;
}

void MWinButton::PanelAllowMultisel(char multi, char toggle)
{
    panel.multi_sel = multi;
    panel.toggle_sel = toggle;
    PanelAllocateMultiPos();
}

void MWinButton::PanelSetEntryColour(int i, const _ColourRGBA* c)
{
    if (!c && !panel.colours)
        return;
    if (i < 0 || i >= panel.num_entries)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid entry num %d (%d)", i, panel.num_entries);
        return;
    }
    if (!panel.colours)
    {
        panel.colours = (float*)malloc(sizeof(float) * 4 * (size_t)panel.num_entries);
        if (!panel.colours)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            return;
        }
        for (int k = 0; k < panel.num_entries; k++)
        {
            panel.colours[k * 4 + 0] = text_colour.r;
            panel.colours[k * 4 + 1] = text_colour.g;
            panel.colours[k * 4 + 2] = text_colour.b;
            panel.colours[k * 4 + 3] = text_colour.a;
        }
    }
    if (!c)
        return;
    float* e = &panel.colours[i * 4];
    if (c->r >= 0)
        e[0] = c->r;
    if (c->g >= 0)
        e[1] = c->g;
    if (c->b >= 0)
        e[2] = c->b;
    if (c->a >= 0)
        e[3] = c->a;
}

void MWinButton::PanelSetPanelItemRenderCB(MWinButtonRenderCallback fn, void* data)
{
    panel.item_render_cb = fn;
    panel.item_render_data = data;
}

void MWinButton::PanelSetPos(int pos, char event, char caller)
{
    if (type != MWIN_BUTTON_PANEL)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button is not a panel");
        return;
    }
    int n = panel.num_entries;
    if (n <= 0)
        return;
    if (!panel.allow_no_pos)
    {
        if (pos < 0)
            pos = 0;
        if (pos > n - 1)
            pos = n - 1;
    }
    else
    {
        if (pos < 0)
            pos = -1;
        if (pos >= n)
            pos = n - 1;
    }
    panel.pos = pos;

    if (panel.multi_sel && pos >= 0 && panel.selected)
    {
        if (Held(231) || panel.toggle_sel)
            panel.selected[pos] = !panel.selected[pos];
        else if (!Held(228))
        {
            memset(panel.selected, 0, (size_t)n);
            panel.selected[pos] = 1;
        }
        else if (pos != panel.anchor && panel.anchor >= 0)
        {
            memset(panel.selected, 0, (size_t)n);
            int a = panel.anchor < pos ? panel.anchor : pos;
            int b = panel.anchor < pos ? pos : panel.anchor;
            for (int k = a; k <= b && k < n; k++)
                panel.selected[k] = 1;
        }
    }

    panel.anchor = pos;
    if (pos >= panel.display_pos + panel.per_page)
        panel.display_pos = (float)(pos - panel.per_page + 1);
    if (pos < panel.display_pos)
        panel.display_pos = (float)(pos < 0 ? 0 : pos);
    if (panel.display_pos < 0)
        panel.display_pos = 0;
    PanelGetSidebarDimensions();

    WriteBoundInt(pos, MWIN_VAR_UINT16);
    if (mwin)
        mwb::RenderNeeded(mwin);

    if (event && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.panel_event = event - 1;
        info.panel_pos = pos;
        info.panel_caller = caller;
        CallCallback(&info);
    }
}

char MWinButton::PanelSetPosToString(const char* s)
{
    if (!s)
        return 0;
    for (int i = 0; i < panel.num_entries; i++)
    {
        const char* e = PanelGetSelStringForItem(i);
        if (!strcmp(e, s))
        {
            PanelSetPos(i, 1, 0);
            return 1;
        }
    }
    return 0;
}

void MWinButton::PanelRefresh()
{
    if (var.kind == MWIN_VAR_INT && var.p_int)
        PanelSetPos(*var.p_int, 1, 0);
    else if (var.kind == MWIN_VAR_INT16 && var.p_int16)
        PanelSetPos(*var.p_int16, 1, 0);
    else if (var.kind == MWIN_VAR_UINT16 && var.p_uint16)
        PanelSetPos(*var.p_uint16, 1, 0);
}

void MWinButton::PanelUpdateFromRegisteredVariable(char call)
{
    char ok = 0;
    int v = ReadBoundInt(&ok);
    if (ok)
        PanelSetPos(v, call, 0);
}

char MWinButton::PanelRegisterCharVariable(char* p, char call)
{
    if (type != MWIN_BUTTON_PANEL)
        return 0;
    RegisterCharVariable(p);
    if (p)
        PanelSetPos(*p, call, 0);
    return 1;
}

char MWinButton::PanelRegisterInt16Variable(short* p, char call)
{
    if (type != MWIN_BUTTON_PANEL)
        return 0;
    RegisterInt16Variable(p, 1);
    if (p)
        PanelSetPos(*p, call, 0);
    return 1;
}

char MWinButton::PanelRegisterIntVariable(int* p, char call)
{
    if (type != MWIN_BUTTON_PANEL)
        return 0;
    RegisterIntVariable(p, 1);
    if (p)
        PanelSetPos(*p, call, 0);
    return 1;
}

void MWinButton::PanelClearAllSelectedItems()
{
    if (panel.selected)
        memset(panel.selected, 0, (size_t)panel.num_entries + 1);
}

void MWinButton::PanelSelectItem(int i, char on)
{
    if (panel.selected && i >= 0 && i < panel.num_entries)
        panel.selected[i] = on ? 1 : 0;
}

char MWinButton::PanelIsItemSelected(int i)
{
    if (i < 0 || i >= panel.num_entries)
        return 0;
    if (panel.selected)
        return panel.selected[i];
    return i == panel.pos;
}

int MWinButton::PanelGetNumSelectedItems()
{
    if (!panel.selected)
        return panel.pos >= 0 && panel.num_entries > 0 ? 1 : 0;
    int c = 0;
    for (int i = 0; i < panel.num_entries; i++)
        c += panel.selected[i] ? 1 : 0;
    return c;
}

int MWinButton::PanelGetNthSelectedItemNum(int n)
{
    for (int i = 0; i < panel.num_entries; i++)
    {
        if (PanelIsItemSelected(i))
        {
            if (n == 0)
                return i;
            n--;
        }
    }
    return -1;
}

const char* MWinButton::PanelGetSelStringForItem(int i)
{
    if (i < 0 || i >= panel.num_entries)
        return "";
    const char* s = ItemString(panel.strings_cb, panel.strings, panel.language, i);
    return s ? s : "";
}

const char* MWinButton::PanelGetSelString()
{
    return PanelGetSelStringForItem(panel.pos);
}

void MWinButton::PanelSetDisplayPos(float x)
{
    if (panel.num_entries <= 0 || x < 0 || x >= panel.num_entries)
        return;
    float top = (float)(panel.num_entries - panel.per_page);
    if (top < 0)
        top = 0;
    panel.display_pos = x < top ? x : top;
    PanelGetSidebarDimensions();
}

void MWinButton::PanelCenterToPosIfPossible()
{
    int pos = panel.pos > 0 ? panel.pos : 0;
    int d = pos - panel.per_page / 2;
    if (d > panel.num_entries - panel.per_page)
        d = panel.num_entries - panel.per_page;
    if (d < 0)
        d = 0;
    panel.display_pos = (float)d;
    PanelGetSidebarDimensions();
}

// Entry k's row: (k - display) rows below the top, so a fractional display
// moves every row by the same part of a row.
static _Dimension PanelRowArea(const _Dimension& area, const _MWinButtonPanelInfo& p, int k)
{
    return {area.x, (k - p.display_pos) * p.row_h + area.y, p.entries_w, p.row_h};
}

char MWinButton::PanelGetStartAndEndDisplayPos(int* start, int* end)
{
    int s = 0, e = 0;
    if (panel.per_page > 0)
    {
        int d = (int)panel.display_pos;
        s = d > 0 ? d : 0;
        e = d + panel.per_page + 1;
        if (e > panel.num_entries)
            e = panel.num_entries;
    }
    if (start)
        *start = s;
    if (end)
        *end = e;
    return panel.per_page > 0;
}

int MWinButton::PanelGetNumDisplayedItems()
{
    int s, e;
    PanelGetStartAndEndDisplayPos(&s, &e);
    return e > s ? e - s : 0;
}

int MWinButton::PanelGetNthDisplayedItemsItemNumber(int n)
{
    if (panel.per_page <= 0)
        return -1;
    if (panel.display_pos < 0)
        return n;
    return n + (int)panel.display_pos;
}

char MWinButton::PanelGetNthDisplayedItemsDimension(int n, _Dimension* out)
{
    int s, e;
    if (!PanelGetStartAndEndDisplayPos(&s, &e) || s + n >= e || n < 0)
        return 0;
    if (out)
        *out = PanelRowArea(actual_area, panel, s + n);
    return 1;
}

char MWinButton::PanelGetNthItemsDimension(int i, _Dimension* out)
{
    int s, e;
    if (!PanelGetStartAndEndDisplayPos(&s, &e) || i < s || i >= e)
        return 0;
    return PanelGetNthDisplayedItemsDimension(i - s, out);
}

char MWinButton::PanelGetSidebarDimensions()
{
    _MWinButtonPanelInfo& p = panel;
    const _Dimension& a = actual_area;
    p.row_h = p.per_page > 0 ? a.h / p.per_page : a.h;
    p.right = a.x + a.w;
    p.bottom = a.y + a.h;
    if (p.per_page < p.num_entries && p.num_entries > 1)
    {
        float sw = LS(28);
        p.sidebar_shown = 1;
        p.entries_w = a.w - sw;
        p.sidebar = {a.x + a.w - sw, a.y, sw, a.h};
        p.slider_w = LS(26);
        p.slider_x = p.sidebar.x + (sw - p.slider_w) * 0.5f;
        p.track_top = a.y + LS(31);
        p.track_bottom = a.y + a.h - LS(31);
        p.track_length = p.track_bottom - p.track_top;
        float len = p.per_page * p.track_length / p.num_entries;
        float raise = 0;
        float minlen = LS(29);
        if (len < minlen)
        {
            raise = minlen - len;
            len = minlen;
        }
        p.slider_length = len;
        float top = (float)(p.num_entries - p.per_page);
        p.slider_y = Clamp(p.display_pos, 0, top) * (p.track_length - raise) / p.num_entries + p.track_top;
        p.slider_bottom = p.slider_y + len;
        return 1;
    }
    p.sidebar_shown = 0;
    p.entries_w = a.w;
    if (dragging && type == MWIN_BUTTON_PANEL)
        dragging = 0;
    return 0;
}

float MWinButton::PanelGetScreenYPos()
{
    float div = (float)(panel.num_entries - panel.per_page + 1);
    if (div <= 0)
        return 0;
    float top = (float)(panel.num_entries - panel.per_page);
    return Clamp(panel.display_pos, 0, top < 0 ? 0 : top) * (panel.track_length - panel.slider_length) / div +
           panel.track_top;
}

float MWinButton::PanelGetYPosFromScreen(float y)
{
    float travel = panel.track_length - panel.slider_length;
    if (travel == 0)
        return 0;
    float top = (float)(panel.num_entries - panel.per_page);
    return Clamp((y - panel.slider_length / 2 - panel.track_top) * (panel.num_entries - panel.per_page + 1) /
                     travel,
                 0, top < 0 ? 0 : top);
}

char MWinButton::PanelHandleMouseButtonPressed(char button, char down)
{
    if (button != 0)
        return 0;
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    if (!mwb::MouseInArea(mwin, &actual_area))
    {
        dragging = 0;
        return 1;
    }
    PanelGetSidebarDimensions();
    if (panel.sidebar_shown && mx >= panel.sidebar.x && panel.per_page >= 1)
    {
        if (!down)
        {
            dragging = 0;
            return 1;
        }
        float top = (float)(panel.num_entries - panel.per_page);
        if (my >= panel.slider_y && my <= panel.slider_bottom)
        {
            dragging = 1;
            drag_offset = my - PanelGetScreenYPos() - panel.slider_length / 2;
            PlaySound(MWIN_SOUND_SELECTION);
        }
        else if (my < panel.slider_y)
        {
            panel.display_pos = Clamp(panel.display_pos - panel.per_page, 0, top);
            PlaySound(MWIN_SOUND_SELECTION);
            PanelGetSidebarDimensions();
        }
        else
        {
            panel.display_pos = Clamp(panel.display_pos + panel.per_page, 0, top);
            PlaySound(MWIN_SOUND_SELECTION);
            PanelGetSidebarDimensions();
        }
        return 1;
    }
    if (down)
    {
        dragging = 0;
        return 1;
    }
    if (dragging)
    {
        dragging = 0;
        return 1;
    }
    if (panel.row_h <= 0)
        return 1;
    int row = (int)((my - actual_area.y) / panel.row_h + panel.display_pos);
    if (row >= 0 && row < panel.num_entries)
    {
        PlaySound(MWIN_SOUND_SELECTION);
        PanelSetPos(row, 1, 1);
    }
    return 1;
}

void MWinButton::PanelHandleDragging()
{
    if (!panel.sidebar_shown)
    {
        dragging = 0;
        return;
    }
    float my = mwb::MouseY(mwin);
    float travel = panel.track_length - panel.slider_length;
    float top = (float)(panel.num_entries - panel.per_page);
    if (travel == 0)
        panel.display_pos = 0;
    else
        panel.display_pos = Clamp(
            (my - drag_offset - panel.slider_length / 2 - panel.track_top) * (top + 1) / travel, 0, top);
    PanelGetSidebarDimensions();
    if (mwin)
        mwb::RenderNeeded(mwin);
}

char MWinButton::PanelHandleMouseButtonDoubleClicked(char)
{
    MWin* mw = mwin;
    PanelSetPos(panel.pos, 2, 2);
    mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    return 1;
}

char MWinButton::PanelHandleMouseWheel(int d)
{
    float top = (float)(panel.num_entries - panel.per_page);
    panel.display_pos = Clamp(panel.display_pos - d, 0, top < 0 ? 0 : top);
    PanelGetSidebarDimensions();
    if (mwin)
        mwb::RenderNeeded(mwin);
    return 1;
}

char MWinButton::PanelHandleKeyDown(int key)
{
    int n = panel.num_entries;
    int pos = panel.pos;
    MWin* mw = mwin;
    switch (key)
    {
    case 13:
        PanelSetPos(pos, 2, 0);
        break;
    case 246:
        if (pos > 0)
            PanelSetPos(pos - 1, 1, 0);
        break;
    case 247:
        if (pos < n - 1)
            PanelSetPos(pos + 1, 1, 0);
        break;
    case 248:
        if (pos > 0)
            PanelSetPos(pos - panel.per_page, 1, 0);
        break;
    case 249:
        if (pos < n - 1)
            PanelSetPos(pos + panel.per_page, 1, 0);
        break;
    default:
        // Letters are looked up by the character they type
        // (PanelHandleKeyDownUChar), never by their key: a key's code is not
        // always its letter.
        return 0;
    }
    if (mwb::IsOn(mw))
        mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    return 1;
}

// Type-ahead by the character typed, whatever key and layout made it (a dead
// key and its letter, a key whose code is a digit). The typed letter and the
// entries' first letters are folded alike, so a small or a capital letter
// finds either.
char MWinButton::PanelHandleKeyDownUChar(unsigned char c)
{
    // Command keys are shortcuts; an F key's character is its own code.
    if (panel.multi_sel || Held(ENG_KEY_COMMAND) || (c >= ENG_KEY_F1 && c <= ENG_KEY_F12 && Held(c)))
        return 0;
    const int key = CapitalOf(c);
    int n = panel.num_entries;
    int pos = panel.pos;
    MWin* mw = mwin;
    MWinWindow* win = parent;
    // Texts are unsigned: an accented capital (Ä is 196) is not the negative
    // char its entry's text holds.
    auto first = [this](int i) { return CapitalOf((unsigned char)PanelGetSelStringForItem(i)[0]); };
    if (pos >= 0 && pos + 1 < n && first(pos) == key && first(pos + 1) == key)
    {
        PanelSetPos(pos + 1, 1, 0);
        if (mwb::IsOn(mw))
            mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
        return 1;
    }
    for (int i = 0; i < n; i++)
    {
        if (first(i) == key)
        {
            _MWinButtonRef ref;
            MakeRef(&ref);
            PanelSetPos(i, 1, 0);
            if (RefStillExists(&ref) && win == parent)
                PanelCenterToPosIfPossible();
            break;
        }
    }
    return 0;
}

void MWinButton::PanelDeactivate()
{
    dragging = 0;
}

void MWinButton::PanelRenderBack(_MWinTextureState state)
{
    char back_on = mwb::PanelBackOn(mwin);
    char follow = mwb::PanelFollowsRenderState(mwin);
    if (back_on)
    {
        _MWinTextureState st;
        if (follow)
            st = state;
        else if (mwb::PanelHighlighted(mwin))
            st = MWIN_TEXSTATE_FOCUSED;
        else
            st = enabled ? MWIN_TEXSTATE_NORMAL : MWIN_TEXSTATE_DISABLED;
        RenderNormalBack(st, &actual_area);
    }
    if (panel.per_page <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s: NUM PER PAGE <= 0", id);
        return;
    }
    if (!(back_on && !enabled))
    {
        int start = (int)panel.display_pos;
        if (start < 0)
            start = 0;
        int last = (int)panel.display_pos + panel.per_page;
        char focus_mode = focused && follow;
        for (int k = start; k <= last; k++)
        {
            char past = k >= panel.num_entries;
            _MWinTextureState st;
            if (focus_mode)
            {
                if (!panel.show_sel)
                    st = MWIN_TEXSTATE_FOCUSED;
                else if (past)
                    st = MWIN_TEXSTATE_NORMAL;
                else
                    st = PanelIsItemSelected(k) ? MWIN_TEXSTATE_PRESSED : MWIN_TEXSTATE_FOCUSED;
            }
            else
            {
                if (!panel.show_sel || past)
                    st = MWIN_TEXSTATE_NORMAL;
                else
                    st = PanelIsItemSelected(k) ? MWIN_TEXSTATE_FOCUSED : MWIN_TEXSTATE_NORMAL;
            }
            if (panel.show_sel && !enabled && !past && k != panel.pos)
                st = MWIN_TEXSTATE_DISABLED;
            if (past && (!back_on || (!focus_mode && panel.show_sel)))
                continue;
            _Dimension row = PanelRowArea(actual_area, panel, k);
            mwb::DrawTexBut(mwin, texbut_num, st, &row, nullptr);
            if (panel.item_render_cb)
                panel.item_render_cb(this, &row, st, k, panel.item_render_data);
        }
    }
    if (panel.sidebar_shown)
    {
        mwb::DrawStdTexBut(mwin, 12, state, panel.sidebar.x, panel.sidebar.y, panel.sidebar.w,
                           panel.sidebar.h, nullptr);
        mwb::DrawStdTexBut(mwin, 11, MWIN_TEXSTATE_NORMAL, panel.slider_x, panel.slider_y, panel.slider_w,
                           panel.slider_length, nullptr);
    }
}

void MWinButton::PanelRenderText()
{
    if (panel.per_page < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s: NUM PER PAGE <= 0", id);
        return;
    }
    if (panel.num_entries <= 0)
        return;
    float rh = actual_area.h / panel.per_page;
    float m = LS(20);
    float left = 0;
    GetTextXLimits(&left, nullptr, m);
    float tw = panel.entries_w - 2 * m;
    char crop = eng_main_device && mwb::CropButtons(mwin) && crop_area.h > 0;
    _Dimension saved_crop = crop_area;
    if (crop)
    {
        crop_area.x = actual_area.x + m;
        crop_area.w = tw;
        CropRenderAreaToButtonNew2();
    }
    EngFont* font = GetTextFont();
    _ColourRGBA saved_colour = {1, 1, 1, 1};
    if (font)
        font->GetColour(&saved_colour);
    int s, e;
    PanelGetStartAndEndDisplayPos(&s, &e);
    for (int i = s; i < e; i++)
    {
        const char* str = ItemString(panel.strings_cb, panel.strings, panel.language, i);
        if (!str)
            continue;
        if (panel.colours && font)
        {
            _ColourRGBA c = {panel.colours[i * 4], panel.colours[i * 4 + 1], panel.colours[i * 4 + 2],
                             panel.colours[i * 4 + 3]};
            UpdateTextFontColour(font, &c);
        }
        _Dimension row = {left, (i - panel.display_pos) * rh + actual_area.y, tw, rh};
        mwb::RenderText(mwin, font_num, align, m, &row, str, panel.max_string_length, shrink_to_fit);
        if (panel.colours && font)
            font->SetColour(&saved_colour);
    }
    if (crop)
    {
        crop_area = saved_crop;
        CropRenderAreaToButtonNew2();
    }
}
