// Checkboxes and choices (push buttons are the base behaviour).
#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

const char* MWinButton::ItemString(MWinButtonStringsCallback cb, const char** strings, char language, int i)
{
    if (cb)
        return cb(i, this, strings_cb_data);
    if (strings)
        return strings[i];
    if (language && language_token_num >= 0)
        return EngLanguagesGetString(language_token_num, i);
    return nullptr;
}

// ---- Checkbox ----

void MWinButton::CheckboxReset()
{
    checkbox_state = 0;
    checkbox_text_end = 0;
    live = 1;
}

void MWinButton::CheckboxSet(char state, char call)
{
    if (state >= 2 || state < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid check parameter: %d", state);
        return;
    }
    if (choice_left_arrow || choice_right_arrow)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Arrows must be 0");
    checkbox_state = state;
    WriteBoundInt(state, MWIN_VAR_INT);
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.checkbox_state = checkbox_state;
        CallCallback(&info);
    }
}

char MWinButton::CheckboxRegisterIntVariable(int* p, char call)
{
    if (type != MWIN_BUTTON_CHECKBOX)
        return 0;
    RegisterIntVariable(p, 1);
    if (p)
        CheckboxSet(*p ? 1 : 0, call);
    return 1;
}

char MWinButton::CheckboxRegisterCharVariable(char* p, char call)
{
    if (type != MWIN_BUTTON_CHECKBOX)
        return 0;
    RegisterCharVariable(p);
    if (p)
        CheckboxSet(*p ? 1 : 0, call);
    return 1;
}

char MWinButton::CheckboxHandleMouseButtonPressed(char button, char down)
{
    if (button != 0 || !down)
        return 0;
    CheckboxSet(checkbox_state ? 0 : 1, 1);
    return 1;
}

char MWinButton::CheckboxHandleMouseButtonDoubleClicked(char button)
{
    if (button != 0)
        return 0;
    CheckboxSet(checkbox_state ? 0 : 1, 1);
    return 1;
}

void MWinButton::CheckboxRenderButton(_MWinTextureState state)
{
    float bw = LS(35), bh = LS(36), gap = LS(37), inset = LS(38);
    if (parent && mwb::WindowAutoResizes(parent) && eng_main_window_x_widescreen_ratio != 1.0f)
    {
        bw *= eng_main_window_x_widescreen_ratio;
        gap *= eng_main_window_x_widescreen_ratio;
        inset *= eng_main_window_x_widescreen_ratio;
    }
    float x;
    if (texts[0])
    {
        if (align == MWIN_TEXT_ALIGN_CENTRE)
        {
            if (checkbox_text_end == 0)
                return;
            x = actual_area.x + actual_area.w - bw - inset;
            if (gap + checkbox_text_end < x)
                x = gap + checkbox_text_end;
            if (x < actual_area.x + inset)
                x = actual_area.x + inset;
        }
        else if (align == MWIN_TEXT_ALIGN_RIGHT)
            x = actual_area.x + actual_area.w - bw - inset;
        else
            x = actual_area.x + inset;
    }
    else
        x = actual_area.x + (actual_area.w - bw) * 0.5f;
    float y = actual_area.y + (actual_area.h - bh) * 0.5f;
    mwb::DrawStdTexBut(mwin, checkbox_state ? 17 : 18, state, x, y, bw, bh, colour_set ? &colour : nullptr);
}

void MWinButton::CheckboxRenderText(_MWinTextureState)
{
    float room = LS(35) + LS(38) + LS(37);
    if (parent && mwb::WindowAutoResizes(parent) && eng_main_window_x_widescreen_ratio != 1.0f)
        room *= eng_main_window_x_widescreen_ratio;
    _Dimension saved = actual_area;
    if (align == MWIN_TEXT_ALIGN_CENTRE)
    {
        actual_area.x += room;
        actual_area.w -= 2 * room;
        EngFont* font = GetTextFont();
        if (font && texts[0])
            font->RecordNextTextXPos(text_len[0]);
        RenderNormalOrMultilineText();
        if (font && texts[0])
        {
            float end = font->RecordNextTextXPos(-1);
            if (end > 0)
                checkbox_text_end = end;
        }
    }
    else if (align == MWIN_TEXT_ALIGN_RIGHT)
    {
        actual_area.w -= room;
        RenderNormalOrMultilineText();
    }
    else if (align == MWIN_TEXT_ALIGN_LEFT)
    {
        actual_area.x += room;
        actual_area.w -= room;
        RenderNormalOrMultilineText();
    }
    actual_area = saved;
}

// ---- Choice ----

void MWinButton::ChoiceReset()
{
    memset(&choice, 0, sizeof(choice));
    choice.highlighted = -1;
    choice_left_arrow = choice_right_arrow = 0;
}

char MWinButton::ChoiceSetStrings(int n, const char** strings)
{
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
    ChoiceAdoptStrings(n, strings, nullptr, nullptr);
    return 1;
}

char MWinButton::ChoiceSetStringsCallback(int n, MWinButtonStringsCallback fn, void* data)
{
    if (data)
        strings_cb_data = data;
    if (n < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num entries %d (ID: %s)", n, id);
        return 0;
    }
    if (!fn)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null callback entry (ID: %s)", id);
        return 0;
    }
    ChoiceAdoptStrings(n, nullptr, fn, nullptr);
    return 1;
}

char MWinButton::ChoiceSetStringsLanguageToken(int n, const char* token)
{
    if (n <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num %d (ID: %s)", n, id);
        return 0;
    }
    if (!token)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null token (ID: %s)", id);
        return 0;
    }
    ChoiceAdoptStrings(n, nullptr, nullptr, token);
    return 1;
}

void MWinButton::ChoiceAdoptStrings(int n, const char** strings, MWinButtonStringsCallback cb, const char* token)
{
    choice.sel = 0;
    choice.num_items = n;
    choice.strings = strings;
    choice.strings_cb = cb;
    choice.language = token ? 1 : 0;
    SetTextLanguageToken(token);
    live = 1;
    ChoiceUpdateArrows();
    if (choice.arrows)
        ChoiceSetSel(0, 0);
}

const char* MWinButton::ChoiceGetString(int i)
{
    if (i < 0 || i >= choice.num_items)
        return nullptr;
    return ItemString(choice.strings_cb, choice.strings, choice.language, i);
}

void MWinButton::ChoiceUpdateArrows()
{
    if (choice.arrows && enabled && shown)
    {
        choice_left_arrow = choice.sel > 0;
        choice_right_arrow = choice.sel < choice.num_items - 1;
    }
    else
        choice_left_arrow = choice_right_arrow = 0;
}

void MWinButton::ChoiceUseArrows(char on, char)
{
    if (choice.arrows == on)
        return;
    choice.arrows = on;
    ChoiceUpdateArrows();
    live = 1;
}

void MWinButton::ChoiceSetSel(int sel, char call)
{
    if (sel < -1 || sel >= choice.num_items)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid sel : %d (m_id: %s, entries = %d)", sel, id,
                      choice.num_items);
        return;
    }
    int old = choice.sel;
    choice.sel = sel;
    if (choice.arrows)
    {
        const char* s = ChoiceGetString(sel);
        AllocAndSetText(0, s ? s : "");
        ChoiceUpdateArrows();
    }
    WriteBoundInt(sel, MWIN_VAR_UINT16);
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && !(call == 2 && old == sel) && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.choice_sel = sel;
        info.choice_highlight = 0;
        CallCallback(&info);
    }
}

void MWinButton::ChoiceSetNumItems(int n)
{
    choice.num_items = n < 0 ? 0 : n;
    // A selection beyond the new end is pulled back so that no item past the
    // string source is ever read.
    if (choice.sel >= choice.num_items)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid sel : %d (m_id: %s, entries = %d)", choice.sel, id,
                      choice.num_items);
        choice.sel = choice.num_items - 1;
    }
    ChoiceSetSel(choice.sel, 0);
    ChoiceUpdateArrows();
}

float MWinButton::ChoiceGetItemWidth(int i)
{
    int n = choice.num_items;
    if (n <= 1)
        return actual_area.w;
    if (choice.wide_sel)
        return i == choice.sel ? actual_area.w / (n + 1) * 2 : actual_area.w / (n + 1);
    return actual_area.w / n;
}

void MWinButton::ChoiceSetSelectionExtraWidthMultiplier(float m)
{
    if (m > 1)
    {
        if (m != 2)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported yet for other sizes (can be).");
        choice.wide_sel = 1;
        choice.width_mult = m;
    }
    else
        choice.wide_sel = 0;
}

int MWinButton::ChoiceGetItemFromMousePos(char clamp)
{
    float mx = mwb::MouseX(mwin);
    if (choice.num_items <= 0)
    {
        if (clamp)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Empty Choice List (ID =  %s)", id);
        return -1;
    }
    if (mx < actual_area.x)
        return clamp ? 0 : -1;
    if (mx >= actual_area.x + actual_area.w)
        return clamp ? choice.num_items - 1 : -1;
    float x = actual_area.x;
    for (int i = 0; i < choice.num_items; i++)
    {
        float w = ChoiceGetItemWidth(i);
        if (mx >= x && mx < x + w)
            return i;
        x += w;
    }
    return clamp ? choice.num_items - 1 : -1;
}

char MWinButton::ChoiceRegisterInt16Variable(short* p, char call)
{
    if (type != MWIN_BUTTON_CHOICE)
        return 0;
    RegisterInt16Variable(p, 1);
    if (p)
        ChoiceSetSel(*p, call);
    return 1;
}

char MWinButton::ChoiceRegisterIntVariable(int* p, char call)
{
    if (type != MWIN_BUTTON_CHOICE)
        return 0;
    RegisterIntVariable(p, 1);
    if (p)
        ChoiceSetSel(*p, call);
    return 1;
}

char MWinButton::ChoiceRegisterCharVariable(char* p, char call)
{
    if (type != MWIN_BUTTON_CHOICE)
        return 0;
    RegisterCharVariable(p);
    if (p)
        ChoiceSetSel(*p, call);
    return 1;
}

char MWinButton::ChoiceArrowsHandleMousePress()
{
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    float zone = LS(21) + LS(23);
    float band = LS(22);
    float mid = actual_area.y + actual_area.h * 0.5f;
    if (my < mid - band * 0.5f || my >= mid + band * 0.5f)
        return 0;
    int d = 0;
    if (mx >= actual_area.x && mx < actual_area.x + zone && choice_left_arrow)
        d = -1;
    else if (mx >= actual_area.x + actual_area.w - zone && mx < actual_area.x + actual_area.w &&
             choice_right_arrow)
        d = 1;
    if (d == 0)
        return 0;
    int n = choice.sel + d;
    if (n < 0 || n >= choice.num_items)
        return 0;
    MWin* mw = mwin;
    ChoiceSetSel(n, 2);
    mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    return 1;
}

char MWinButton::ChoiceBoxesHandleMousePress()
{
    int item = ChoiceGetItemFromMousePos(1);
    if (item < 0)
        return 0;
    int old = choice.sel;
    MWin* mw = mwin;
    ChoiceSetSel(item, 2);
    if (item != old && mwb::IsOn(mw))
        mwb::PlaySound(mw, MWIN_SOUND_SELECTION);
    return 1;
}

char MWinButton::ChoiceHandleMouseButtonPressed(char button, char down)
{
    if (button != 0 || !down)
        return 0;
    return choice.arrows ? ChoiceArrowsHandleMousePress() : ChoiceBoxesHandleMousePress();
}

char MWinButton::ChoiceHandleMouseButtonDoubleClicked(char button)
{
    _MWinButtonRef ref;
    MakeRef(&ref);
    char a = ChoiceHandleMouseButtonPressed(button, 1);
    if (a && !RefStillExists(&ref))
        return 1;
    char b = ChoiceHandleMouseButtonPressed(button, 0);
    return a || b;
}

char MWinButton::ChoiceHandleMouseMove()
{
    if (!choice.want_highlight_cbs)
        return 0;
    int item = ChoiceGetItemFromMousePos(0);
    if (item < 0)
    {
        choice.highlighted = -1;
        return 0;
    }
    if (item == choice.highlighted)
        return 0;
    choice.highlighted = item;
    if (HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.choice_sel = item;
        info.choice_highlight = 1;
        CallCallback(&info);
    }
    return 1;
}

char MWinButton::ChoiceHandleKeyDown(int key)
{
    int n = choice.num_items;
    int sel = choice.sel;
    switch (key)
    {
    case 13:
        if (n > 0)
            ChoiceSetSel(sel + 1 >= n ? 0 : sel + 1, 2);
        return 1;
    case 244:
    case 246:
        if (sel > 0)
            ChoiceSetSel(sel - 1, 2);
        return 1;
    case 245:
    case 247:
        if (sel < n - 1)
            ChoiceSetSel(sel + 1, 2);
        return 1;
    default:
        return 0;
    }
}

void MWinButton::ChoiceRenderBacks(_MWinTextureState state)
{
    if (choice.arrows)
        ChoiceArrowsDraw(state);
    else
        ChoiceBoxesDraw(state);
}

void MWinButton::ChoiceBoxesDraw(_MWinTextureState)
{
    if (choice.num_items <= 0)
    {
        RenderNormalBack(GetRenderState(), &actual_area);
        return;
    }
    int style = mwb::ChoiceHighlightStyle(mwin);
    float mx = mwb::MouseX(mwin);
    float x = actual_area.x;
    for (int i = 0; i < choice.num_items; i++)
    {
        float w = ChoiceGetItemWidth(i);
        _MWinTextureState st;
        if (!enabled)
            st = MWIN_TEXSTATE_DISABLED;
        else if (i == choice.sel)
            st = MWIN_TEXSTATE_PRESSED;
        else if (style != 2 && focused && (style != 0 || (mx >= x && mx < x + w)))
            st = MWIN_TEXSTATE_FOCUSED;
        else
            st = MWIN_TEXSTATE_NORMAL;
        _Dimension box = {x, actual_area.y, w, actual_area.h};
        RenderNormalBack(st, &box);
        x += w;
    }
}

void MWinButton::ChoiceArrowsDraw(_MWinTextureState state)
{
    RenderNormalBack(state, &actual_area);
    if (!enabled)
        return;
    float aw = LS(21), ah = LS(22), inset = LS(23);
    float y = actual_area.y + (actual_area.h - ah) * 0.5f;
    if (choice_left_arrow)
        mwb::DrawStdTexBut(mwin, 5, state, actual_area.x + inset, y, aw, ah, nullptr);
    if (choice_right_arrow)
        mwb::DrawStdTexBut(mwin, 6, state, actual_area.x + actual_area.w - inset - aw, y, aw, ah, nullptr);
}

void MWinButton::ChoiceRenderText()
{
    if (choice.arrows)
        ChoiceArrowsDrawTexts();
    else
        ChoiceBoxesDrawTexts();
}

void MWinButton::ChoiceBoxesDrawTexts()
{
    EngFont* font = GetTextFont();
    float x = actual_area.x;
    float margin = LS(39);
    for (int i = 0; i < choice.num_items; i++)
    {
        float w = ChoiceGetItemWidth(i);
        const char* s = ChoiceGetString(i);
        if (s)
        {
            _ColourRGBA c = text_colour;
            if (colour_set)
            {
                c.r *= colour.r;
                c.g *= colour.g;
                c.b *= colour.b;
                c.a *= colour.a;
            }
            if (!enabled && i != choice.sel)
                c.a *= 0.5f;
            if (font)
                font->SetColour(&c);
            _Dimension box = {x, actual_area.y, w, actual_area.h};
            mwb::RenderText(mwin, font_num, MWIN_TEXT_ALIGN_CENTRE, margin, &box, s, 0, shrink_to_fit);
        }
        x += w;
    }
}

void MWinButton::ChoiceArrowsDrawTexts()
{
    float side = LS(21) + LS(23);
    _Dimension a = actual_area;
    a.x += side;
    a.w -= 2 * side;
    if (a.w <= 0 || !texts[0])
        return;
    mwb::RenderText(mwin, font_num, align, text_x_margin, &a, texts[0], 0, shrink_to_fit);
}
