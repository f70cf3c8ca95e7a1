// Modal popups.
#include "MWinPopup.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngMenu.h"
#include "EngMiscStrings.h"
#include "EngMiscTime.h"
#include "EngProgram.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "MWin.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinDesktop.h"
#include "MWinStyledText.h"
#include "MWinWindow.h"

namespace
{
const _ColourRGBA kGoodColour = {0.498f, 1.0f, 0.498f, 0.9f};
const _ColourRGBA kErrorColour = {1.0f, 0.282f, 0.235f, 0.9f};
const float kDefaultMinBoxW = 50, kDefaultMaxBoxW = 600, kDefaultButtonW = 60, kDefaultButtonH = 30;

std::unordered_map<const MWin*, _MWinPopupSettings>& Table()
{
    static std::unordered_map<const MWin*, _MWinPopupSettings> table;
    return table;
}

// Set while a failed set-up closes its half-built popup.
char quiet_close = 0;

void Defaults(_MWinPopupSettings* s)
{
    memset(s, 0, sizeof *s);
    s->saved_hover = -1;
    s->menu_disabled = -1;
    strcpy(s->back_texbut, MWIN_TEXBUT_DEFAULT);
    strcpy(s->title_texbut, MWIN_TEXBUT_DEFAULT);
    strcpy(s->title_font, MWIN_FONT_DEFAULT);
    strcpy(s->button_texbut, MWIN_TEXBUT_DEFAULT);
    strcpy(s->button_font, MWIN_FONT_DEFAULT);
    s->button_colour = {0, 0, 0, 1};
    s->button_scale_x = s->button_scale_y = 1;
    s->title_colour = {0, 0, 0, 1};
    s->title_scale_x = s->title_scale_y = 1;
    for (int o = 0; o < 2; o++)
    {
        s->min_box_w[o] = kDefaultMinBoxW;
        s->max_box_w[o] = kDefaultMaxBoxW;
        s->default_button_w[o] = kDefaultButtonW;
        s->button_w[o] = kDefaultButtonW;
        s->button_h[o] = kDefaultButtonH;
    }
    s->align = MWIN_ALIGN_LEFT;
}

int Orientation()
{
    return EngMainIsOrientationPortraitOrPortraitUpsideDown() ? 0 : 1;
}

void ClearWidgets(_MWinPopupSettings* s)
{
    s->window = nullptr;
    s->msg = nullptr;
    for (MWinButton*& b : s->buttons)
        b = nullptr;
    s->text_edit = nullptr;
    s->panel = nullptr;
    s->script = nullptr;
}

// Closes a popup whose set-up failed after its collection was made, so that
// the screen behind does not stay inactive.
char Abort(MWin* mw)
{
    if (mw->GetPopupCollection())
    {
        quiet_close = 1;
        mw->PopupCloseCollection();
        quiet_close = 0;
    }
    return 0;
}

void KeepOrSet(float* dst, float v)
{
    if (v >= 0)
        *dst = v;
}

const char* Label(const char* next_text, const char* token, const char* plain)
{
    if (next_text[0])
        return next_text;
    if (token && EngLanguagesGetNumberOfLanguages() > 0 && EngLangTokenExists(token))
        return EngLanguagesGetString(token);
    return plain;
}

void Finish(MWin* mw, void* user, char result)
{
    MWin* m = user ? static_cast<MWin*>(user) : mw;
    if (!m)
        return;
    _MWinPopupSettings* s = MWinPopupGetSettings(m);
    MWinPopupResultCallback cb = s->cb;
    void* cb_user = s->user;
    if (!m->GetDesktop())
        return;
    m->PopupCloseCollection();
    if (cb)
        cb(m, result, cb_user);
}

double Now()
{
    return EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime();
}

// Fades the notice in (direction 1) or out (-1) over 0.1 s, drawing each step.
void FadeNotice(MWin* mw, int direction)
{
    double start = Now();
    for (;;)
    {
        float a = float((Now() - start) / 0.1);
        if (a > 1)
            a = 1;
        MWinPopupSetTransparency(mw, direction > 0 ? a : 1 - a);
        EngMiscRenderAndSwapBuffers(1, 0);
        if (a >= 1)
            break;
        EngMiscSleepWithHang(0.005);
    }
}
} // namespace

_MWinPopupSettings* MWinPopupGetSettings(MWin* mwin)
{
    if (!mwin)
        return nullptr;
    auto& table = Table();
    auto it = table.find(mwin);
    if (it == table.end())
    {
        _MWinPopupSettings s;
        Defaults(&s);
        it = table.emplace(mwin, s).first;
    }
    return &it->second;
}

// ---------------------------------------------------------------------------
// Toolkit members.

void MWin::PopupInit()
{
    popup.on = 0;
    popup.collection = nullptr;
    auto& table = Table();
    _MWinPopupSettings s;
    Defaults(&s);
    table[this] = s;
}

// On from the moment its collection exists, so that whatever removes the
// popup collection closes the popup as a whole.
char MWin::PopupIsOn()
{
    return popup.collection ? 1 : 0;
}

void MWin::PopupTurnOff()
{
    if (PopupIsOn())
        PopupCloseCollection();
}

char MWin::PopupCreateCollection()
{
    if (!IsOn())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "MWin is not on");
        return 0;
    }
    if (PopupIsOn())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Popup already on");
        return 0;
    }
    if (!desktop)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No desktop");
        return 0;
    }
    _MWinPopupSettings* s = MWinPopupGetSettings(this);
    ClearWidgets(s);
    s->completed = 0;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
    {
        c->popup_word = c->IsActive();
        for (MWinWindow* w = c->GetFirstWindow(); w; w = w->next_window)
            w->saved_active = w->IsActive();
        c->Deactivate();
    }
    if (s->dont_darken)
    {
        desktop->darken = 0;
        s->dont_darken = 0;
    }
    else
    {
        desktop->darken = 1;
        desktop->darken_level = 0.5f;
    }
    popup.on = 0;
    popup.collection = desktop->AddCollection(MWIN_POPUP_COLLECTION_ID);
    if (!popup.collection)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create new collection");
        quiet_close = 1;
        PopupCloseCollection();
        quiet_close = 0;
        return 0;
    }
    popup.collection->Activate();
    return 1;
}

void MWin::PopupCloseCollection()
{
    if (!desktop)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No desktop");
        return;
    }
    _MWinPopupSettings* s = MWinPopupGetSettings(this);
    MWinCollection* pc = popup.collection;
    popup.collection = nullptr;
    ClearWidgets(s);
    if (pc)
        desktop->RemoveCollection(MWIN_POPUP_COLLECTION_ID);
    desktop->darken = 0;
    if (s->saved_hover >= 0)
        settings.hover_activates_collection = s->saved_hover;
    else if (!pc && !quiet_close)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error (mwp_save_mouse_over_collections)");
    s->saved_hover = -1;
    if (s->menu_disabled == 1)
        EngMenuEnable();
    s->menu_disabled = -1;
    popup.on = 0;
    s->completed = 0;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
    {
        if (c->popup_word)
        {
            c->Activate();
            for (MWinWindow* w = c->GetFirstWindow(); w; w = w->next_window)
                if (w->saved_active)
                    w->Activate();
        }
        c->popup_word = 0;
        for (MWinWindow* w = c->GetFirstWindow(); w; w = w->next_window)
            w->saved_active = 0;
    }
    s->user = nullptr;
    s->cb = nullptr;
    RenderNeeded();
}

// ---------------------------------------------------------------------------
// Set-up.

void MWinPopupSetupTexturesAndFonts(MWin* mw, const char* back, const char* title_tb, const char* title_font,
                                    const char* button_tb, const char* button_font, float f1, float f2,
                                    float f3, float f4, float f5, float f6, float f7, float f8, float f9,
                                    float f10, float f11, float f12, _MWinTextAlign align)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return;
    MWinCopyID(s->back_texbut, back);
    MWinCopyID(s->title_texbut, title_tb);
    MWinCopyID(s->title_font, title_font);
    MWinCopyID(s->button_texbut, button_tb);
    MWinCopyID(s->button_font, button_font);
    // Red, blue, green, alpha: the callers pass them in this order.
    KeepOrSet(&s->button_colour.r, f1);
    KeepOrSet(&s->button_colour.b, f2);
    KeepOrSet(&s->button_colour.g, f3);
    KeepOrSet(&s->button_colour.a, f4);
    KeepOrSet(&s->button_scale_x, f5);
    KeepOrSet(&s->button_scale_y, f6);
    KeepOrSet(&s->title_colour.r, f7);
    KeepOrSet(&s->title_colour.b, f8);
    KeepOrSet(&s->title_colour.g, f9);
    KeepOrSet(&s->title_colour.a, f10);
    KeepOrSet(&s->title_scale_x, f11);
    KeepOrSet(&s->title_scale_y, f12);
    if (align != -1)
        s->align = align;
}

void MWinPopupSetupTexturesAndFonts(MWin* mw, const char* back, const char* title_tb, const char* title_font,
                                    const char* button_tb, const char* button_font)
{
    MWinPopupSetupTexturesAndFonts(mw, back, title_tb, title_font, button_tb, button_font, -1, -1, -1, -1, -1,
                                   -1, -1, -1, -1, -1, -1, -1, -1);
}

void MWinPopupSetupTexturesAndFonts(MWin* mw, const char* back, const char* texbut, const char* font)
{
    MWinPopupSetupTexturesAndFonts(mw, back, texbut, font, texbut, font);
}

void MWinPopupSetupButtonSizes(MWin* mw, float min_box_w, float max_box_w, float button_w, float button_h)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return;
    for (int o = 0; o < 2; o++)
    {
        if (min_box_w > 0)
            s->min_box_w[o] = min_box_w;
        else if (min_box_w == -2)
            s->min_box_w[o] = kDefaultMinBoxW;
        if (max_box_w > 0)
            s->max_box_w[o] = max_box_w;
        else if (max_box_w == -2)
            s->max_box_w[o] = kDefaultMaxBoxW;
        if (button_w > 0)
            s->button_w[o] = button_w;
        else if (button_w == -2)
            s->button_w[o] = s->default_button_w[o];
        if (button_h > 0)
            s->button_h[o] = button_h;
        else if (button_h == -2)
            s->button_h[o] = kDefaultButtonH;
    }
}

void MWinPopupSetupButtonWidths(MWin* mw, float w)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return;
    for (int o = 0; o < 2; o++)
    {
        if (w > 0)
            s->button_w[o] = w;
        else if (w == -2)
            s->button_w[o] = s->default_button_w[o];
    }
}

void MWinPopupSetSizeOfBoxForNextPopup(MWin* mw, float w, float h)
{
    if (_MWinPopupSettings* s = MWinPopupGetSettings(mw))
    {
        s->next_box_w = w;
        s->next_box_h = h;
    }
}

void MWinPopupSetGoodColoursForNextPopup(MWin* mw)
{
    if (_MWinPopupSettings* s = MWinPopupGetSettings(mw))
        s->colour_mode = 1;
}

void MWinPopupSetErrorColoursForNextPopup(MWin* mw)
{
    if (_MWinPopupSettings* s = MWinPopupGetSettings(mw))
        s->colour_mode = -1;
}

void MWinPopupDontLetNextPopupDarkenScreen(MWin* mw)
{
    if (_MWinPopupSettings* s = MWinPopupGetSettings(mw))
        s->dont_darken = 1;
}

namespace
{
void SetNextText(_MWinPopupSettings* s, int slot, const char* text)
{
    if (text)
        EngSafeStrcpy(s->texts[slot], text, sizeof s->texts[slot]);
}
} // namespace

void MWinPopupChangeButtonTextsForNextPopup(MWin* mw, const char* ok, const char* cancel)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return;
    SetNextText(s, MWIN_POPUP_BUT_OK, ok);
    SetNextText(s, MWIN_POPUP_BUT_CANCEL, cancel);
}

void MWinPopupChangeButtonTextsForNextPopup(MWin* mw, const char* ok, const char* no, const char* cancel)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return;
    SetNextText(s, MWIN_POPUP_BUT_OK, ok);
    SetNextText(s, MWIN_POPUP_BUT_NO, no);
    SetNextText(s, MWIN_POPUP_BUT_CANCEL, cancel);
}

char MWinPopupChangeButtonTextsForNextPopup(MWin* mw, const char* ok, const char* no, const char* cancel,
                                            const char* extra)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s)
        return 0;
    if (!extra)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No extra text");
        return 0;
    }
    MWinPopupChangeButtonTextsForNextPopup(mw, ok, no, cancel);
    SetNextText(s, MWIN_POPUP_BUT_EXTRA, extra);
    return 1;
}

// ---------------------------------------------------------------------------
// While shown.

MWinWindow* MWinPopupGetWindow(MWin* mw)
{
    if (!mw || !mw->GetPopupCollection())
        return nullptr;
    return mw->GetPopupCollection()->GetWindowFromID(MWIN_POPUP_WINDOW_ID, 0);
}

MWinButton* MWinPopupGetButton(MWin* mw, int slot)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || slot < 0 || slot > 3 || !mw->GetPopupCollection())
        return nullptr;
    return s->buttons[slot];
}

void MWinPopupSetTransparency(MWin* mw, float t)
{
    MWinWindow* w = MWinPopupGetWindow(mw);
    if (!w)
        return;
    w->SetTransparency(t);
    for (MWinButton* b = w->GetFirstButton(); b; b = b->next)
        b->SetTransparency(t);
}

void MWinPopupSetWindowYPos(MWin* mw, float y)
{
    MWinWindow* w = MWinPopupGetWindow(mw);
    if (!w)
        return;
    float x = 0;
    w->GetOrigPos(&x, nullptr, nullptr, nullptr);
    w->SetOrigPos(x, y);
}

char MWinPopupTurnOff(MWin* mw)
{
    if (!mw || !mw->PopupIsOn())
        return 0;
    mw->PopupTurnOff();
    return 1;
}

// ---------------------------------------------------------------------------
// Building blocks.

char MWinPopupSetupButton(MWin* mw, MWinButton* b)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || !b)
        return 0;
    b->SetFont(s->button_font);
    b->SetTextColour(&s->button_colour);
    b->SetTextScale(s->button_scale_x, s->button_scale_y);
    return 1;
}

namespace
{
struct Measure
{
    float title_w = 0;
    float msg_w = 0, msg_h = 0;
};

// Measures the title and the message in a throw-away window of the popup
// collection.
char MeasureTexts(MWin* mw, _MWinPopupSettings* s, MWinCollection* pc, const char* title, const char* message,
                  float max_w, float extra_w, Measure* m)
{
    if (!title && !message)
        return 1;
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoDefaults(&info);
    info.type = MWIN_WINDOW_TYPE_MODAL;
    info.x = MWIN_CENTRE_POS;
    info.y = MWIN_CENTRE_POS;
    info.w = 640;
    info.h = 480;
    MWinWindow* w = pc->AddWindow(MWIN_POPUP_TEMP_WINDOW_ID, &info);
    if (!w)
    {
        DebugErrorAlt("MWin::PopupSetupDefaultButtons", "Could not create temp popup window");
        return 0;
    }
    MWinButton* b = w->AddButton("TEMP", MWIN_BUTTON_PUSH, s->button_texbut, "Temp", 0, 0, max_w - 60, 30);
    if (!b)
    {
        DebugErrorAlt("MWin::PopupSetupDefaultButtons", "Could not create temp button");
        pc->RemoveWindow(w);
        return 0;
    }
    MWinPopupSetupButton(mw, b);
    if (title)
    {
        b->SetTextScale(s->title_scale_x, s->title_scale_y);
        b->SetText(title);
        m->title_w = b->GetTextWidth();
    }
    if (message)
    {
        MWinPopupSetupButton(mw, b);
        b->SetOrigPos(0, 0, max_w - 60 - extra_w, 480);
        b->SetTextToMultiline(1);
        b->SetText(message);
        b->CalcMultilineTextBoxSize(&m->msg_w, &m->msg_h);
        m->msg_h += 3;
    }
    pc->RemoveWindow(w);
    return 1;
}
} // namespace

char MWinPopupSetupDefaultButtons(MWin* mw, const char* title, const char* message, char ok, char cancel,
                                  char no, char extra, float extra_w, float extra_h)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    MWinCollection* pc = mw ? mw->GetPopupCollection() : nullptr;
    if (!s || !pc)
        return 0;
    const int o = Orientation();
    const float b = 0.9f * s->button_h[o];
    const float w = s->button_w[o];

    float start = extra_w + s->min_box_w[o];
    if (start > 640)
        start = 640;
    float max_w = start > s->max_box_w[o] ? start : s->max_box_w[o];
    if (s->next_box_w > 0 && s->next_box_w < max_w)
        max_w = s->next_box_w;
    float box_w = start;

    if (title && (!title[0] || strlen(title) > 255))
        title = nullptr;
    if (message && !message[0])
        message = nullptr;

    Measure m;
    if (!MeasureTexts(mw, s, pc, title, message, max_w, extra_w, &m))
        return 0;
    if (title)
    {
        float t = extra_w + 40 + m.title_w;
        if (t > max_w)
            t = max_w;
        if (box_w < t)
            box_w = t;
    }
    if (message)
    {
        if (m.msg_w > max_w)
        {
            DebugInfoAlt(__PRETTY_FUNCTION__, "msg_w %.0f > max_box_w %.0f", m.msg_w, max_w);
            m.msg_w = max_w;
        }
        if (box_w < m.msg_w)
            box_w = m.msg_w;
    }
    box_w += (title || message) ? 40 : 5;
    if (box_w > max_w)
    {
        DebugInfoAlt(__PRETTY_FUNCTION__, "box_w %.0f > max_box_w %0.f", box_w, max_w);
        m.msg_w -= box_w - max_w;
        box_w = max_w;
    }

    // Which buttons exist: NO only with OK and CANCEL, EXTRA only with all three.
    char kind[4] = {ok, cancel, 0, 0};
    if (ok && cancel && no)
    {
        kind[MWIN_POPUP_BUT_NO] = no;
        if (extra)
            kind[MWIN_POPUP_BUT_EXTRA] = extra;
    }
    int n = 0;
    for (char k : kind)
        if (k)
            n++;
    const float gaps = n == 0 ? 12 : 12 + 6.0f * (n - 1);
    if (box_w < n * w + gaps)
        box_w = n * w + gaps;

    float box_h = extra_h;
    if (message)
        box_h += m.msg_h + 10;
    if (kind[0] || kind[1] || kind[2])
        box_h += b + 20;
    if (s->next_box_w > 0)
        box_w = s->next_box_w;
    if (s->next_box_h > 0)
    {
        box_h = s->next_box_h;
        if (m.msg_h > box_h - 10)
            m.msg_h = box_h - 10;
    }
    s->next_box_w = s->next_box_h = 0;

    float cx = 1, cy = 1;
    if (mw->GetAutoResizeDefault())
    {
        if (eng_main_window_x_widescreen_ratio > 0)
            cx = 1 / eng_main_window_x_widescreen_ratio;
        if (eng_main_window_y_narrowscreen_ratio > 0)
            cy = 1 / eng_main_window_y_narrowscreen_ratio;
    }

    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoDefaults(&info);
    info.type = MWIN_WINDOW_TYPE_MODAL;
    info.x = MWIN_CENTRE_POS;
    info.y = MWIN_CENTRE_POS;
    info.move_mode = MWIN_MOVE_TITLE_BAR;
    info.title_bar = title ? 1 : 0;
    if (title)
        EngSafeStrcpy(info.title, title, sizeof info.title);
    MWinCopyID(info.back_texbut, s->back_texbut);
    MWinCopyID(info.title_texbut, s->title_texbut);
    MWinCopyID(info.title_font, s->title_font);
    float win_w = box_w;
    if (win_w < n * w + gaps)
        win_w = n * w + gaps;
    if (message && win_w < (m.msg_w + 20) * cx)
        win_w = (m.msg_w + 20) * cx;
    if (win_w < m.title_w)
        win_w = m.title_w;
    info.w = 20 + win_w;
    info.h = box_h / 2 + cy * box_h / 2;
    MWinWindow* win = pc->AddWindow(MWIN_POPUP_WINDOW_ID, &info);
    if (!win)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create popup window");
        return 0;
    }
    s->window = win;
    if (title)
    {
        win->SetTitleTextColour(&s->title_colour);
        win->SetTitleTextScale(s->title_scale_x, s->title_scale_y);
        win->SetTitleTextAlign(s->align);
    }

    if (message)
    {
        float y = (kind[0] || kind[1] || kind[2] || kind[3]) ? cy * 10 : cy * 6;
        MWinButton* mb = win->AddButton("MSG", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, nullptr, -1, y,
                                        (m.msg_w + 20) * cx, cy * m.msg_h);
        if (mb)
        {
            mb->SetTextToMultiline(1);
            mb->SetText(message);
            MWinPopupSetupButton(mw, mb);
            mb->SetTextAlign(s->align);
            s->msg = mb;
        }
    }
    if (s->colour_mode != 0)
    {
        const _ColourRGBA* c = s->colour_mode > 0 ? &kGoodColour : &kErrorColour;
        win->SetTitleTextColour(c);
        if (s->msg)
            s->msg->SetTextColour(c);
        s->colour_mode = 0;
    }

    static const MWinButtonCallback5 callbacks[4] = {MWinPopupOkCallback, MWinPopupCancelCallback,
                                                     MWinPopupNoCallback, MWinPopupExtraCallback};
    static const char* const ids[4] = {"OK", "CANCEL", "NO", "EXTRA"};
    const float by = info.h - 10 - b;
    for (int i = 0; i < 4; i++)
    {
        if (!kind[i])
            continue;
        const char* label = nullptr;
        switch (i)
        {
        case MWIN_POPUP_BUT_OK:
            label =
                kind[i] == 2 ? Label(s->texts[i], "Popup_Yes", "Yes") : Label(s->texts[i], "Popup_OK", "OK");
            break;
        case MWIN_POPUP_BUT_CANCEL:
            label = kind[i] == 2 ? Label(s->texts[i], "Popup_No", "No")
                                 : Label(s->texts[i], "Popup_Cancel", "Cancel");
            break;
        case MWIN_POPUP_BUT_NO:
            label = Label(s->texts[i], "Popup_No", "No");
            break;
        default:
            label = Label(s->texts[i], nullptr, "Extra");
            break;
        }
        MWinButton* bt = win->AddButton(ids[i], MWIN_BUTTON_PUSH, s->button_texbut, label, 0, by, w, b);
        if (!bt)
            return Abort(mw);
        MWinPopupSetupButton(mw, bt);
        bt->SetCallback(callbacks[i], 0, 0, mw, 1);
        s->buttons[i] = bt;
    }

    MWinButton* okb = s->buttons[MWIN_POPUP_BUT_OK];
    MWinButton* canb = s->buttons[MWIN_POPUP_BUT_CANCEL];
    MWinButton* nob = s->buttons[MWIN_POPUP_BUT_NO];
    MWinButton* extb = s->buttons[MWIN_POPUP_BUT_EXTRA];
    if (okb && !canb)
    {
        if (kind[0] == 1)
        {
            win->SetDefaultButton(okb);
            win->SetEscapeButton(okb);
        }
    }
    else if (canb && !okb)
    {
        if (kind[1] == 1)
        {
            win->SetDefaultButton(canb);
            win->SetEscapeButton(canb);
        }
    }
    else if (okb && canb && !nob)
    {
        if (kind[0] == 1)
            win->SetDefaultButton(okb);
        if (kind[1] == 1)
            win->SetEscapeButton(canb);
    }
    else if (okb && canb && nob && !extb)
    {
        if (kind[1] == 1)
            win->SetEscapeButton(canb);
    }

    if (n > 0)
    {
        MWinButton* order[5] = {};
        int k = 0;
        if (nob)
        {
            MWinButton* ordered[4] = {okb, nob, canb, extb};
            for (MWinButton* x : ordered)
                if (x)
                    order[k++] = x;
        }
        else
        {
            MWinButton* ordered[4] = {okb, canb, nullptr, nullptr};
            for (MWinButton* x : ordered)
                if (x)
                    order[k++] = x;
        }
        float ratio = eng_main_window_x_widescreen_ratio > 0 ? eng_main_window_x_widescreen_ratio : 1;
        float widths[4] = {};
        float sum = 0;
        for (int i = 0; i < k; i++)
        {
            order[i]->SetTextScale(0.8f * s->button_scale_x, 0.8f * s->button_scale_y);
            float tw = order[i]->GetTextWidth() / ratio + 15;
            widths[i] = tw > 0.9f * w ? tw : 0.9f * w;
            sum += widths[i];
        }
        if (sum > 0 && sum + gaps > box_w * cx)
        {
            float f = (box_w * cx - gaps) / sum;
            for (int i = 0; i < k; i++)
            {
                widths[i] *= f;
                if (widths[i] < 0.9f * w)
                    widths[i] = 0.9f * w;
            }
        }
        float x = 0;
        for (int i = 0; i < k; i++)
        {
            order[i]->SetOrigPos(x, by, widths[i], b);
            x += widths[i] + 6 * cx;
        }
        win->CenterGroupOfButtons(order, 1, 0);
    }

    for (char* t : s->texts)
        t[0] = 0;
    return 1;
}

char MWinPopupCompleteSetup(MWin* mw, MWinPopupResultCallback cb, void* user)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || !mw->GetPopupCollection())
        return 0;
    if (s->saved_hover != -1)
        DebugErrorAlt("MWin::PopupCompleteSetup", "Internal Error (mwp_save_mouse_over_collections)");
    _MWinSettings* set = mw->GetSettings();
    s->saved_hover = set->hover_activates_collection;
    set->hover_activates_collection = 0;
    s->cb = cb;
    s->user = user;
    s->completed = 1;
    if (EngMenuIsEnabled())
    {
        EngMenuDisable();
        s->menu_disabled = 1;
    }
    mw->ButtonsChanged();
    return 1;
}

// ---------------------------------------------------------------------------
// The kinds of popup.

namespace
{
char Standard(MWin* mw, const char* title, const char* message, char ok, char cancel, char no, char extra,
              MWinPopupResultCallback cb, void* user)
{
    if (!mw || !mw->PopupCreateCollection())
        return 0;
    if (!MWinPopupSetupDefaultButtons(mw, title, message, ok, cancel, no, extra, 0, 0))
        return Abort(mw);
    if (!MWinPopupCompleteSetup(mw, cb, user))
        return Abort(mw);
    return 1;
}
} // namespace

char MWinPopupMessage(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb,
                      void* user)
{
    return Standard(mw, title, message, 1, 0, 0, 0, cb, user);
}

char MWinPopupMessage(MWin* mw, const char* title, const char* message)
{
    return MWinPopupMessage(mw, title, message, nullptr, nullptr);
}

char MWinPopupMessage(MWin* mw, const char* message)
{
    return MWinPopupMessage(mw, nullptr, message, nullptr, nullptr);
}

char MWinPopupErrorMessage(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb,
                           void* user)
{
    if (!title || !title[0])
    {
        title = "Error";
        if (EngLanguagesGetNumberOfLanguages() > 0 && EngLangTokenExists("Common_Error"))
            title = EngLanguagesGetString("Common_Error");
    }
    MWinPopupSetErrorColoursForNextPopup(mw);
    char ok = Standard(mw, title, message, 1, 0, 0, 0, cb, user);
    if (!ok)
        if (_MWinPopupSettings* s = MWinPopupGetSettings(mw))
            s->colour_mode = 0;
    return ok;
}

char MWinPopupErrorMessage(MWin* mw, const char* title, const char* message)
{
    return MWinPopupErrorMessage(mw, title, message, nullptr, nullptr);
}

char MWinPopupErrorMessage(MWin* mw, const char* message)
{
    return MWinPopupErrorMessage(mw, nullptr, message, nullptr, nullptr);
}

char MWinPopupOkCancel(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb,
                       void* user)
{
    return Standard(mw, title, message, 1, 1, 0, 0, cb, user);
}

char MWinPopupYesNo(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return Standard(mw, title, message, 2, 2, 0, 0, cb, user);
}

char MWinPopupYesNoCancel(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb,
                          void* user)
{
    return Standard(mw, title, message, 2, 1, 1, 0, cb, user);
}

char MWinPopupYesNoCancelExtra(MWin* mw, const char* title, const char* message, MWinPopupResultCallback cb,
                               void* user)
{
    return Standard(mw, title, message, 2, 1, 1, 1, cb, user);
}

char MWinPopupNotice(MWin* mw, const char* title, const char* message)
{
    return Standard(mw, title, message, 0, 0, 0, 0, nullptr, nullptr);
}

char MWinPopupNoticeShowItAndRemoveIt(MWin* mw, const char* title, const char* message)
{
    if (!MWinPopupNotice(mw, title, message))
        return 0;
    EngMiscRenderAndSwapBuffers(1, 0);
    EngMiscRenderAndSwapBuffers(1, 0);
    mw->PopupTurnOff();
    return 1;
}

char MWinPopupNoticeForTime(MWin* mw, const char* title, const char* message, double seconds, char fade)
{
    if (!mw)
        return 0;
    mw->PopupTurnOff();
    const char fading = fade && seconds > 0.2;
    if (fading)
        MWinPopupDontLetNextPopupDarkenScreen(mw);
    if (!MWinPopupNotice(mw, title, message))
        return 0;
    if (fading)
    {
        FadeNotice(mw, 1);
        EngMiscSleepWithHang(seconds - 0.2);
        FadeNotice(mw, -1);
    }
    else
    {
        EngMiscRenderAndSwapBuffers(1, 0);
        EngMiscRenderAndSwapBuffers(1, 0);
        if (seconds > 0)
            EngMiscSleepWithHang(seconds);
    }
    mw->PopupTurnOff();
    if (eng_main_program)
        eng_main_program->EventDrivenLoopDoTimerActionOnNextTick();
    return 1;
}

char MWinPopupGetText(MWin* mw, const char* title, const char* message, char* text, int length,
                      MWinPopupResultCallback cb, void* user)
{
    if (!text || length <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || !mw->PopupCreateCollection())
        return 0;
    const float bh = s->button_h[Orientation()];
    if (!MWinPopupSetupDefaultButtons(mw, title, message, 1, 1, 0, 0, 0, 2 * bh))
        return Abort(mw);
    MWinWindow* win = s->window;
    float ww = 0;
    win->GetOrigPos(nullptr, nullptr, &ww, nullptr);
    float y = (message && message[0]) ? bh + 20 : 20;
    if (!title || !title[0])
        y -= 10;
    // Below a message of several lines too.
    if (s->msg && y < s->msg->GetOrigArea()->y + s->msg->GetOrigArea()->h + 5)
        y = s->msg->GetOrigArea()->y + s->msg->GetOrigArea()->h + 5;
    MWinButton* te =
        win->AddButton("TEXTEDIT", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, nullptr, -1, y, ww - 40, bh);
    if (!te)
        return Abort(mw);
    te->TextEditRegisterStringVariable(text, length);
    te->SetCallback(MWinPopupGetTextCallback, 0, 0, mw, 1);
    MWinPopupSetupButton(mw, te);
    s->text_edit = te;
    if (!MWinPopupCompleteSetup(mw, cb, user))
        return Abort(mw);
    te->TextEditMoveCursorToButtonAndTurnOnEditing();
    return 1;
}

char MWinPopupPanel(MWin* mw, const char* title, const char* message, int count, int visible, float w,
                    float h, MWinPopupPanelStringsCallback strings, char ok, int** selection,
                    MWinPopupPanelChoiceCallback choice, MWinPopupResultCallback cb, void* user)
{
    if (!selection || !*selection)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No panel sel val");
        return 0;
    }
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || !mw->PopupCreateCollection())
        return 0;
    // The box is at least as wide as the panel, for this popup only.
    const int o = Orientation();
    float saved_min = s->min_box_w[o];
    if (s->min_box_w[o] < w + 10)
        s->min_box_w[o] = w + 10;
    char built = MWinPopupSetupDefaultButtons(mw, title, message, ok, 1, 0, 0, 0, h + 10);
    s->min_box_w[o] = saved_min;
    if (!built)
        return Abort(mw);
    // Below the message, as the styled-text box is.
    float y = 10;
    if (s->msg)
        y = s->msg->GetOrigArea()->y + s->msg->GetOrigArea()->h + 5;
    MWinButton* p =
        s->window->AddButton("PANEL", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, nullptr, -1, y, w, h);
    if (!p)
        return Abort(mw);
    p->PanelSetStringsCallback(count, visible, strings, user);
    p->PanelRegisterIntVariable(*selection, 0);
    p->SetCallback(MWinPopupPanelCallback, 0, 0, mw, 1);
    s->panel = p;
    s->panel_choice_cb = choice;
    if (!MWinPopupCompleteSetup(mw, cb, user))
        return Abort(mw);
    return 1;
}

char MWinPopupScript(MWin* mw, const char* title, const char* message, char* script_text,
                     const char* texbut_id, float w, float h, char ok, char cancel, char no,
                     MWinPopupResultCallback cb, void* user)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    if (!s || !mw->PopupCreateCollection())
        return 0;
    const int o = Orientation();
    float saved_min = s->min_box_w[o];
    if (s->min_box_w[o] < w + 20)
        s->min_box_w[o] = w + 20;
    char built = MWinPopupSetupDefaultButtons(mw, title, message, ok, cancel, no, 0, 20, h + 5);
    s->min_box_w[o] = saved_min;
    if (!built)
        return Abort(mw);
    float y = 10;
    if (s->msg)
        y = s->msg->GetOrigArea()->y + s->msg->GetOrigArea()->h + 5;
    MWinScriptButton* sb = MWinWindowAddScriptButton(s->window, "SCRIPT", texbut_id, -1, y, w, h);
    if (!sb)
        return Abort(mw);
    // The box draws only with a user font: it takes the popup's, as the message does.
    sb->SetFont(s->button_font);
    if (script_text)
        sb->SetTextPointer(script_text);
    s->script = sb;
    if (!MWinPopupCompleteSetup(mw, cb, user))
        return Abort(mw);
    return 1;
}

// ---------------------------------------------------------------------------
// Button callbacks.

void MWinPopupOkCallback(MWin* mw, _MWinButtonCallbackInfo*, int, int, void* user)
{
    Finish(mw, user, MWIN_POPUP_RESULT_OK);
}

void MWinPopupCancelCallback(MWin* mw, _MWinButtonCallbackInfo*, int, int, void* user)
{
    Finish(mw, user, MWIN_POPUP_RESULT_CANCEL);
}

void MWinPopupNoCallback(MWin* mw, _MWinButtonCallbackInfo*, int, int, void* user)
{
    Finish(mw, user, MWIN_POPUP_RESULT_NO);
}

void MWinPopupExtraCallback(MWin* mw, _MWinButtonCallbackInfo*, int, int, void* user)
{
    Finish(mw, user, MWIN_POPUP_RESULT_EXTRA);
}

void MWinPopupGetTextCallback(MWin* mw, _MWinButtonCallbackInfo* info, int, int, void* user)
{
    MWin* m = user ? static_cast<MWin*>(user) : mw;
    _MWinPopupSettings* s = MWinPopupGetSettings(m);
    if (!s || !info || info->text_edit_flag != 1 || !s->window || !s->buttons[MWIN_POPUP_BUT_OK])
        return;
    s->window->SendButtonCallCallbackMessage(s->buttons[MWIN_POPUP_BUT_OK]);
}

void MWinPopupPanelCallback(MWin* mw, _MWinButtonCallbackInfo* info, int, int, void* user)
{
    MWin* m = user ? static_cast<MWin*>(user) : mw;
    _MWinPopupSettings* s = MWinPopupGetSettings(m);
    if (!s || !info || !s->window)
        return;
    if (info->panel_event == 1)
    {
        if (s->buttons[MWIN_POPUP_BUT_OK])
            s->window->SendButtonCallCallbackMessage(s->buttons[MWIN_POPUP_BUT_OK]);
        return;
    }
    if (s->panel_choice_cb && s->panel)
        s->panel_choice_cb(m, s->panel->PanelGetPos(), s->user);
}
