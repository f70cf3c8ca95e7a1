#include "MWinWindow.h"

#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "MWin.h"
#include "MWinArea.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinCollectionController.h"
#include "MWinColourPicker.h"
#include "MWinFonts.h"
#include "MWinHorzScrollbar.h"
#include "MWinTextures.h"

#define MWIN_HIDE_BUTTON_ID "STD_HIDE"
#define MWIN_MAX_TAB_SKIPS 1000

void MWinWindowCreateInfoDefaults(_MWinWindowCreateInfo* info)
{
    if (!info)
        return;
    memset(info, 0, sizeof *info);
    info->type = MWIN_WINDOW_TYPE_NORMAL;
    info->x = 10;
    info->y = 10;
    info->w = 50;
    info->h = 50;
    info->move_mode = MWIN_MOVE_FIXED;
    strcpy(info->title_texbut, MWIN_TEXBUT_DEFAULT);
    strcpy(info->back_texbut, MWIN_TEXBUT_DEFAULT);
    strcpy(info->title_font, MWIN_FONT_DEFAULT);
}

void SetBackTexButToNone_wrap(MWinWindow* w)
{
    if (w)
        w->SetBackTexButToNone();
}

_Vector2d* GetVirtualPos_wrap(MWinWindow* w)
{
    return w ? w->GetVirtualPos() : nullptr;
}

MWinWindow::MWinWindow(MWin* mw, const char* wid, MWinCollection* parent, _MWinWindowCreateInfo* given)
    : mwin(mw), collection(parent)
{
    DebugAssertAlt(mwin != nullptr, __PRETTY_FUNCTION__, "No mw");
    for (_MWinWindowScroll& s : scroll)
        s.thumb_fraction = 1;
    MWinCopyID(id, wid);
    UpdateAutoResizeFlag();

    _MWinWindowCreateInfo defaults;
    if (!given)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No info passed in");
        MWinWindowCreateInfoDefaults(&defaults);
        given = &defaults;
    }
    type = given->type;
    if (given->w < 0)
        given->w = 100;
    if (given->h < 0)
        given->h = 100;
    float vw = 640, vh = 480;
    GetVirtualSize(&vw, &vh, 1);
    if (given->x == MWIN_CENTRE_POS)
        given->x = vw / 2 - given->w / 2;
    if (given->y == MWIN_CENTRE_POS)
        given->y = vh / 2 - given->h / 2;
    info = *given;
    // Texts from the caller may lack their terminators.
    info.title[sizeof info.title - 1] = 0;
    info.title_texbut[MWIN_ID_SIZE - 1] = 0;
    info.back_texbut[MWIN_ID_SIZE - 1] = 0;
    info.title_font[MWIN_ID_SIZE - 1] = 0;
    info.hide_text[sizeof info.hide_text - 1] = 0;
    info.hide_texbut[MWIN_ID_SIZE - 1] = 0;
    if (info.hide_button && !info.title_bar)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Hide button but no title bar");
        info.hide_button = 0;
    }
    char title_tb[MWIN_ID_SIZE], back_tb[MWIN_ID_SIZE], font[MWIN_ID_SIZE];
    memcpy(title_tb, info.title_texbut, sizeof title_tb);
    memcpy(back_tb, info.back_texbut, sizeof back_tb);
    memcpy(font, info.title_font, sizeof font);
    SetTitleTexButToTexBut(title_tb);
    SetBackTexButToTexBut(back_tb);
    SetTitleFontFromFontID(font, 0);
    title_colour = {0, 0, 0, 1};
    title_scale_x = title_scale_y = 1;
    title_align = 0;
    colour = {1, 1, 1, 1};
    colour_set = 0;
    SetOrigPos(info.x, info.y, info.w, info.h);
    active = 0;
    shown = 1;
    live = 1;
}

MWinWindow::~MWinWindow()
{
    // Widgets last to first, each only when its links agree.
    while (last_button)
    {
        MWinButton* b = last_button;
        if (b->next != nullptr || (b->prev && b->prev->next != b) || (!b->prev && first_button != b))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
            break;
        }
        last_button = b->prev;
        if (last_button)
            last_button->next = nullptr;
        else
            first_button = nullptr;
        b->prev = b->next = nullptr;
        delete b;
    }
    delete hide_button;
    hide_button = nullptr;
    DestroyGraphicsObjects();
    DestroyCustomBack();
    escape_button = default_button = nullptr;
    controller = nullptr;
    use_controller = 0;
    collection = nullptr;
    live = 0;
    id[0] = 0;
}

// ---------------------------------------------------------------------------
// Life.

char MWinWindow::CreateGraphicsObjects()
{
    char ok = 1;
    if (custom_back)
    {
        for (int s = 0; s < 4; s++)
        {
            _MWinWindowCustomBack& c = custom[s];
            if (!c.file[0])
                continue;
            if (!c.loaded)
                c.loaded = new (std::nothrow) EngTexture();
            if (!c.loaded || !c.loaded->LoadFromFileUsingExt(c.file, c.options[0], c.options[1],
                                                             mwin ? mwin->GetTextureLoadOption() : 0))
                ok = 0;
        }
    }
    for (MWinButton* b = first_button; b; b = b->next)
        if (!b->CreateGraphicsObjects())
            ok = 0;
    if (hide_button && !hide_button->CreateGraphicsObjects())
        ok = 0;
    return ok;
}

void MWinWindow::DestroyGraphicsObjects()
{
    for (_MWinWindowCustomBack& c : custom)
        if (c.loaded)
            c.loaded->Destroy();
    for (MWinButton* b = first_button; b; b = b->next)
        b->DestroyGraphicsObjects();
    if (hide_button)
        hide_button->DestroyGraphicsObjects();
}

void MWinWindow::DestroyCustomBack()
{
    for (_MWinWindowCustomBack& c : custom)
    {
        if (c.loaded)
        {
            c.loaded->Destroy();
            delete c.loaded;
            c.loaded = nullptr;
        }
    }
}

char MWinWindow::Tick()
{
    if (!shown)
        return 0;
    char any = 0;
    for (MWinButton* b = first_button; b; b = b->next)
        if (b->IsEnabled() && b->Tick())
            any = 1;
    return any;
}

void MWinWindow::Render()
{
    if (live != 1 || !collection || !mwin || !mwin->GetTextures() || !shown)
        return;
    MWinLayoutSettings* ls = GetScreenLayout();
    if (!ls)
        return;
    MWinTextures* tex = mwin->GetTextures();
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    _MWinTextureState state = active ? 1 : 0;
    const _Dimension pos = {actual_area.x, actual_area.y, 0, 0};
    if (info.title_bar)
    {
        tex->DrawTextureButton(title_texbut, state, &title_area, &pos, col);
        if (info.title[0] && title_font != MWIN_FONT_NUM_NONE)
        {
            UpdateTitleFontColourAndScale();
            mwin->RenderText(title_font, title_align, (*ls)[MWIN_LS_TITLE_TEXT_MARGIN], title_area.x + pos.x,
                             title_area.y + pos.y, title_area.w, title_area.h, nullptr, info.title, 0, 1, 1);
        }
        if (hide_button)
            hide_button->RenderNoPrepare();
    }
    if (back_texbut >= 0)
    {
        _Dimension a = actual_area;
        if (extra_size_on && extra_size.y > 0)
            a.w -= (*ls)[MWIN_LS_VSCROLL_TRACK_W];
        else if (extra_size_on && extra_size.x > 0)
            a.h -= (*ls)[MWIN_LS_HSCROLL_TRACK_H];
        tex->DrawTextureButton(back_texbut, state, &a, col);
    }
    if (extra_size_on)
        RenderScrollbars();
    // A broken list ends the drawing; a widget whose content is not set up yet
    // (a scrollbar without a range) is only skipped.
    for (MWinButton* b = first_button; b; b = b->next)
    {
        if (!b->IsAlive())
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
            return;
        }
        if (b->IsLive())
            b->Render();
    }
    for (MWinButton* b = first_button; b; b = b->next)
        if (b->IsLive())
            b->RenderOnTopOfOtherButtons();
}

void MWinWindow::RenderScrollbars()
{
    MWinTextures* tex = mwin->GetTextures();
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    _MWinTextureState state = active ? 1 : 0;
    if (extra_size.x > 0)
    {
        tex->DrawTextureButton(tex->GetStandardTexButNum(10), state, &scroll[0].track, col);
        tex->DrawTextureButton(tex->GetStandardTexButNum(9), state, &scroll[0].thumb, col);
    }
    if (extra_size.y > 0)
    {
        tex->DrawTextureButton(tex->GetStandardTexButNum(12), state, &scroll[1].track, col);
        tex->DrawTextureButton(tex->GetStandardTexButNum(11), state, &scroll[1].thumb, col);
    }
}

// ---------------------------------------------------------------------------
// Identity and state.

void MWinWindow::SetType(_MWinWindowType t)
{
    type = t;
    if (collection)
        collection->WindowsChanged();
}

void MWinWindow::Show(char show)
{
    if (!show)
    {
        Hide();
        return;
    }
    shown = 1;
    if (collection)
        collection->WindowsChanged();
}

void MWinWindow::Hide()
{
    for (MWinButton* b = first_button; b; b = b->next)
        b->Deactivate();
    active = 0;
    shown = 0;
    if (collection)
        collection->WindowsChanged();
}

void MWinWindow::Activate()
{
    active = 1;
    HandleMouseMove();
}

void MWinWindow::Deactivate()
{
    for (MWinButton* b = first_button; b; b = b->next)
        b->Deactivate();
    if (hide_button)
        hide_button->Deactivate();
    active = 0;
}

void MWinWindow::UpdateAutoResizeFlag()
{
    auto_resize = 1;
    if (collection && !collection->IsCollectionAutoResizeOn())
        auto_resize = 0;
    if (mwin && !mwin->GetAutoResizeDefault())
        auto_resize = 0;
}

void MWinWindow::UseWindowMarginsForCroppingButtons(char on)
{
    crop_with_margins = on;
    RecomputeButtonAreas();
}

void MWinWindow::RecomputeButtonAreas()
{
    for (MWinButton* b = first_button; b; b = b->next)
        b->UpdateActualArea();
}

// ---------------------------------------------------------------------------
// Title.

void MWinWindow::SetTitle(const char* t)
{
    if (!t)
        info.title[0] = 0;
    else
        EngSafeStrcpy(info.title, t, sizeof info.title);
}

void MWinWindow::SetTitleTextColour(float r, float g, float b, float a)
{
    title_colour = {r, g, b, a};
}

void MWinWindow::SetTitleTextColour(const _ColourRGBA* c)
{
    if (c)
        title_colour = *c;
}

void MWinWindow::SetTitleTextScale(float x, float y)
{
    title_scale_x = x;
    title_scale_y = y;
}

void MWinWindow::SetTitleTextAlign(_MWinTextAlign align)
{
    title_align = align;
}

char MWinWindow::SetTitleFontFromFontID(const char* fid, char keep_id)
{
    if (fid && strcmp(fid, MWIN_FONT_DEFAULT) == 0)
        title_font = MWIN_FONT_NUM_DEFAULT;
    else if (fid && strcmp(fid, MWIN_FONT_NONE) == 0)
        title_font = MWIN_FONT_NUM_NONE;
    else
        title_font =
            (mwin && mwin->GetFonts()) ? mwin->GetFonts()->GetFontNumFromID(fid) : MWIN_FONT_NUM_NONE;
    if (keep_id && fid)
        EngSafeStrcpy(info.title_font, fid, MWIN_ID_SIZE);
    return 1;
}

// ---------------------------------------------------------------------------
// Texture buttons.

namespace
{
// Shared body of the three texture-button setters. Returns 1 on success.
char SetTexBut(MWin* mwin, const char* tb, int std_slot, int* number, char* id_field)
{
    MWinTextures* tex = mwin ? mwin->GetTextures() : nullptr;
    if (tb && strcmp(tb, MWIN_TEXBUT_DEFAULT) == 0)
    {
        if (tex)
            *number = tex->GetStandardTexButNum(std_slot);
        strcpy(id_field, MWIN_TEXBUT_DEFAULT);
        return 1;
    }
    if (tb && strcmp(tb, MWIN_TEXBUT_NONE) == 0)
    {
        *number = -1;
        strcpy(id_field, MWIN_TEXBUT_NONE);
        return 1;
    }
    if (!tex)
        return 0;
    int n = tex->GetTexButNumFromID(tb);
    if (!MWinIsIDEmpty(tb) && n < 0)
        return 0;
    *number = n;
    if (!tb)
        id_field[0] = 0;
    else if (!MWinCopyID(id_field, tb))
        return 0;
    return 1;
}
} // namespace

char MWinWindow::SetTitleTexButToTexBut(const char* tb)
{
    return SetTexBut(mwin, tb, MWIN_STD_TEX_WIN_TITLE, &title_texbut, info.title_texbut);
}

void MWinWindow::SetTitleTexButToDefault()
{
    SetTitleTexButToTexBut(MWIN_TEXBUT_DEFAULT);
}

void MWinWindow::SetTitleTexButToNone()
{
    SetTitleTexButToTexBut(MWIN_TEXBUT_NONE);
}

char MWinWindow::SetBackTexButToTexBut(const char* tb)
{
    if (tb && (strcmp(tb, MWIN_TEXBUT_DEFAULT) == 0 || strcmp(tb, MWIN_TEXBUT_NONE) == 0))
    {
        DestroyCustomBack();
        custom_back = 0;
    }
    return SetTexBut(mwin, tb, MWIN_STD_TEX_WIN_BACK, &back_texbut, info.back_texbut);
}

void MWinWindow::SetBackTexButToDefault()
{
    SetBackTexButToTexBut(MWIN_TEXBUT_DEFAULT);
}

void MWinWindow::SetBackTexButToNone()
{
    SetBackTexButToTexBut(MWIN_TEXBUT_NONE);
}

char MWinWindow::SetHideTexButToTexBut(const char* tb)
{
    char ok = SetTexBut(mwin, tb, MWIN_STD_TEX_BUTTON_HIDE, &hide_texbut, info.hide_texbut);
    if (ok && hide_button)
    {
        if (tb && strcmp(tb, MWIN_TEXBUT_NONE) == 0)
            hide_button->SetBackTexButToNone();
        else if (tb && strcmp(tb, MWIN_TEXBUT_DEFAULT) == 0)
        {
            const char* std_id = mwin->GetTextures() ? mwin->GetTextures()->GetStandardTexButID(2) : nullptr;
            if (std_id)
                hide_button->SetBackTexButToTexBut(std_id);
        }
        else
            hide_button->SetBackTexButToTexBut(tb);
    }
    return ok;
}

void MWinWindow::SetHideTexButToDefault()
{
    SetHideTexButToTexBut(MWIN_TEXBUT_DEFAULT);
}

void MWinWindow::SetHideTexButToNone()
{
    SetHideTexButToTexBut(MWIN_TEXBUT_NONE);
}

// ---------------------------------------------------------------------------
// Custom back textures.

char MWinWindow::SetBackTexButToCustom(_MWinTextureState state, const char* file, char o1, char o2, char o3,
                                       float u0, float v0, float u1, float v1, float r, float g, float b,
                                       float a)
{
    if (state == -1)
        state = 0;
    custom_back = 0;
    back_texbut = -1;
    strcpy(info.back_texbut, MWIN_TEXBUT_NONE);
    DestroyCustomBack();
    if (!file || !file[0])
        return 1;
    if (strlen(file) >= 256 || state < 0 || state > 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid filename");
        return 0;
    }
    _MWinWindowCustomBack& c = custom[state];
    c.options[0] = o1;
    c.options[1] = o2;
    c.options[2] = o3;
    strcpy(c.file, file);
    c.u0 = u0;
    c.v0 = v0;
    c.u1 = u1;
    c.v1 = v1;
    c.whole = (u0 == 0 && v0 == 0 && u1 == 1 && v1 == 1) ? 1 : 0;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    custom_back = 1;
    for (int s = 0; s < 4; s++)
    {
        _MWinWindowCustomBack& cs = custom[s];
        if (!cs.file[0])
            continue;
        cs.loaded = new (std::nothrow) EngTexture();
        if (!cs.loaded)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            custom_back = 0;
            return 0;
        }
        if (!cs.loaded->LoadFromFileUsingExt(cs.file, cs.options[0], cs.options[1],
                                             mwin ? mwin->GetTextureLoadOption() : 0))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load custom texture state %d <%s>", s, cs.file);
            custom_back = 0;
            delete cs.loaded;
            cs.loaded = nullptr;
            return 0;
        }
    }
    return 1;
}

char MWinWindow::SetBackTexButToCustom(const char* file, char o1, char o2, char o3, float u0, float v0,
                                       float u1, float v1)
{
    return SetBackTexButToCustom(0, file, o1, o2, o3, u0, v0, u1, v1, 1, 1, 1, 1);
}

char MWinWindow::SetBackTexButToCustom(const char* file, char o1, char o2, char o3)
{
    return SetBackTexButToCustom(0, file, o1, o2, o3, 0, 0, 1, 1, 1, 1, 1, 1);
}

char MWinWindow::SetBackTexButToCustom(const char* file)
{
    return SetBackTexButToCustom(0, file, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1);
}

char MWinWindow::SetBackTexButToCustomTexP(_MWinTextureState state, EngTexture* t, char o1, char o2, char o3,
                                           float u0, float v0, float u1, float v1, float r, float g, float b,
                                           float a)
{
    if (state == -1)
        state = 0;
    custom_back = 0;
    back_texbut = -1;
    strcpy(info.back_texbut, MWIN_TEXBUT_NONE);
    DestroyCustomBack();
    if (!t || state < 0 || state > 3)
        return 1;
    _MWinWindowCustomBack& c = custom[state];
    c.options[0] = o1;
    c.options[1] = o2;
    c.options[2] = o3;
    c.file[0] = 0;
    c.outside = t;
    c.u0 = u0;
    c.v0 = v0;
    c.u1 = u1;
    c.v1 = v1;
    c.whole = (u0 == 0 && v0 == 0 && u1 == 1 && v1 == 1) ? 1 : 0;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    custom_back = 1;
    return 1;
}

char MWinWindow::SetBackTexButToCustomTexP(EngTexture* t)
{
    return SetBackTexButToCustomTexP(0, t, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1);
}

const char* MWinWindow::GetBackCustomTexButFilename()
{
    return custom_back ? custom[0].file : nullptr;
}

// ---------------------------------------------------------------------------
// Colour.

void MWinWindow::SetColour(float r, float g, float b, float a)
{
    colour = {r, g, b, a};
    colour_set = 1;
}

void MWinWindow::SetColour(const _ColourRGBA* c)
{
    if (!c)
    {
        colour_set = 0;
        return;
    }
    colour = *c;
    colour_set = 1;
}

void MWinWindow::SetColour(const _ColourRGB* c)
{
    if (!c)
    {
        colour.r = colour.g = colour.b = 1;
        return;
    }
    colour.r = c->r;
    colour.g = c->g;
    colour.b = c->b;
    colour_set = 1;
}

const _ColourRGBA* MWinWindow::GetColour()
{
    static const _ColourRGBA white = {1, 1, 1, 1};
    return colour_set ? &colour : &white;
}

void MWinWindow::SetTransparency(float t)
{
    if (t != 1 || colour_set)
    {
        colour.a = t;
        colour_set = 1;
    }
    else
    {
        colour.a = 1;
        colour_set = 0;
    }
}

float MWinWindow::GetTransparency()
{
    return colour_set ? colour.a : 1;
}

// ---------------------------------------------------------------------------
// Geometry.

void MWinWindow::SetOrigPos(float x, float y, float w, float h)
{
    if (w < 1)
        w = 1;
    MWinLayoutSettings* ls = GetScreenLayout();
    if (!ls)
        return;
    if (info.title_bar && y < (*ls)[MWIN_LS_TITLE_BAR_HEIGHT])
        y = (*ls)[MWIN_LS_TITLE_BAR_HEIGHT];
    if (h < 1)
        h = 1;
    orig_area.w = w;
    orig_area.h = h;
    actual_area.w = auto_resize ? w * eng_main_window_x_widescreen_ratio : w;
    actual_area.h = auto_resize ? h * eng_main_window_y_narrowscreen_ratio : h;
    SetOrigPos(x, y);
    UpdateTitleBar();
    for (MWinButton* b = first_button; b; b = b->next)
    {
        _Dimension a;
        b->GetOrigArea(&a);
        b->SetOrigPos(a.x, a.y, a.w, a.h);
    }
}

void MWinWindow::SetOrigArea(const _Dimension* d)
{
    if (d)
        SetOrigPos(d->x, d->y, d->w, d->h);
}

void MWinWindow::SetOrigPos(float x, float y)
{
    orig_area.x = x;
    orig_area.y = y;
    actual_area.x = auto_resize ? MWinApplyWidescreenRatioToXPos(x, orig_area.w) : x;
    actual_area.y = auto_resize ? MWinApplyNarrowscreenRatioToYPos(y, orig_area.h) : y;
    RecomputeButtonAreas();
    UpdateTitleBar();
}

void MWinWindow::SetOrigPos()
{
    SetOrigPos(orig_area.x, orig_area.y, orig_area.w, orig_area.h);
}

void MWinWindow::GetOrigPos(float* x, float* y, float* w, float* h)
{
    mwarea::CopyParts(orig_area, x, y, w, h);
}

void MWinWindow::GetOrigArea(_Dimension* d)
{
    if (d)
        *d = orig_area;
}

void MWinWindow::GetActualPos(float* x, float* y, float* w, float* h)
{
    mwarea::CopyParts(actual_area, x, y, w, h);
}

void MWinWindow::GetActualArea(_Dimension* d)
{
    if (d)
        *d = actual_area;
}

void MWinWindow::GetVirtualSize(float* w, float* h, char)
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin");
        if (w)
            *w = 640;
        if (h)
            *h = 480;
        return;
    }
    mwin->GetVirtualSize(w, h);
}

MWinLayoutSettings* MWinWindow::GetScreenLayout()
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin");
        return nullptr;
    }
    if (!collection)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parent");
        return mwin->GetLayoutSettings();
    }
    return mwin->GetLayoutSettings(collection->GetScreenLayout());
}

char MWinWindow::IsMouseCursorInWindow()
{
    if (!mwin)
        return 0;
    _Dimension a = actual_area;
    if (info.title_bar)
    {
        MWinLayoutSettings* ls = GetScreenLayout();
        float t = ls ? (*ls)[MWIN_LS_TITLE_BAR_HEIGHT] : 0;
        a.y -= t;
        a.h += t;
    }
    return mwin->IsMouseViewportCursorInArea(&a, nullptr);
}

char MWinWindow::IsMouseOver(const _Dimension* area)
{
    return mwin ? mwin->IsMouseViewportCursorInArea(area, nullptr) : 0;
}

// ---------------------------------------------------------------------------
// Extra size.

void MWinWindow::SetExtraSize(float x, float y)
{
    if (!mwin || x < 0 || y < 0)
    {
        extra_size = {0, 0};
        extra_size_on = 0;
        return;
    }
    if (x > 0 || y > 0)
    {
        extra_size = {x, y};
        extra_size_on = 1;
    }
    else
    {
        extra_size = {0, 0};
        extra_size_on = 0;
    }
    UpdateTitleBar();
}

void MWinWindow::ScrollToBottom()
{
    scroll[1].offset = extra_size.y;
    UpdateExtraPos(1, 0);
}

void MWinWindow::UpdateExtraSizeInfo()
{
    for (_MWinWindowScroll& s : scroll)
    {
        s = {};
        s.thumb_fraction = 1;
    }
    virtual_pos = {0, 0};
    MWinLayoutSettings* ls = GetScreenLayout();
    if (!extra_size_on || !ls)
        return;
    const float w = actual_area.w, h = actual_area.h;
    if (extra_size.x > 0)
    {
        _MWinWindowScroll& s = scroll[0];
        float th = (*ls)[MWIN_LS_HSCROLL_TRACK_H];
        s.track = {actual_area.x, actual_area.y + h - th, w, th};
        s.thumb_fraction = (w + extra_size.x > 0) ? w / (w + extra_size.x) : 1;
        s.free_length = w - w * s.thumb_fraction;
        s.thumb = {actual_area.x, s.track.y + th / 2 - (*ls)[MWIN_LS_HSCROLL_THUMB_H] / 2,
                   w * s.thumb_fraction, (*ls)[MWIN_LS_HSCROLL_THUMB_H]};
        UpdateExtraPos(0, 0);
    }
    if (extra_size.y > 0)
    {
        _MWinWindowScroll& s = scroll[1];
        float tw = (*ls)[MWIN_LS_VSCROLL_TRACK_W];
        s.track = {actual_area.x + w - tw, actual_area.y, tw, h};
        s.thumb_fraction = (h + extra_size.y > 0) ? h / (h + extra_size.y) : 1;
        s.free_length = h - h * s.thumb_fraction;
        s.thumb = {s.track.x + tw / 2 - (*ls)[MWIN_LS_VSCROLL_THUMB_W] / 2, actual_area.y,
                   (*ls)[MWIN_LS_VSCROLL_THUMB_W], h * s.thumb_fraction};
        UpdateExtraPos(1, 0);
    }
}

void MWinWindow::UpdateExtraPos(int axis, char)
{
    axis = axis ? 1 : 0;
    _MWinWindowScroll& s = scroll[axis];
    float extra = axis ? extra_size.y : extra_size.x;
    if (s.offset > extra)
        s.offset = extra;
    if (s.offset < 0)
        s.offset = 0;
    if (extra > 0)
    {
        if (axis)
            s.thumb.y = actual_area.y + s.offset * s.free_length / extra;
        else
            s.thumb.x = actual_area.x + s.offset * s.free_length / extra;
    }
    if (axis)
        virtual_pos = {0, -s.offset};
    else
        virtual_pos = {-s.offset, 0};
    RecomputeButtonAreas();
    UpdateHideButton(0);
}

// ---------------------------------------------------------------------------
// Title bar and hide button.

void MWinWindow::UpdateTitleBar()
{
    MWinLayoutSettings* ls = GetScreenLayout();
    if (info.title_bar && ls)
    {
        float t = (*ls)[MWIN_LS_TITLE_BAR_HEIGHT];
        title_area = {0, -t, actual_area.w, t};
        whole_area = {0, 0, actual_area.w, actual_area.h};
        UpdateHideButton(0);
    }
    else
    {
        title_area = {0, 0, 0, 0};
        whole_area = {0, 0, 0, 0};
    }
    UpdateExtraSizeInfo();
}

void MWinWindow::UpdateHideButton(char recreate)
{
    if (!info.hide_button)
    {
        delete hide_button;
        hide_button = nullptr;
        return;
    }
    MWinLayoutSettings* ls = GetScreenLayout();
    if (!ls)
        return;
    const MWinLayoutSettings& L = *ls;
    float t = L[MWIN_LS_TITLE_BAR_HEIGHT];
    float bw = L[MWIN_LS_HIDE_W], bh = L[MWIN_LS_HIDE_H];
    float x = L[MWIN_LS_HIDE_FROM_RIGHT] == 1 ? actual_area.w - L[MWIN_LS_HIDE_SIDE_GAP] - bw
                                              : L[MWIN_LS_HIDE_SIDE_GAP];
    float y = -t / 2 - bh / 2 + L[MWIN_LS_HIDE_Y_OFFSET];
    if (recreate)
    {
        delete hide_button;
        hide_button = nullptr;
    }
    if (!hide_button)
    {
        if (!info.hide_texbut[0])
            SetHideTexButToDefault();
        const char* tb = info.hide_texbut;
        if (strcmp(tb, MWIN_TEXBUT_DEFAULT) == 0 && mwin && mwin->GetTextures())
        {
            const char* std_id = mwin->GetTextures()->GetStandardTexButID(MWIN_STD_TEX_BUTTON_HIDE);
            tb = std_id ? std_id : MWIN_TEXBUT_NONE;
        }
        hide_button = new (std::nothrow) MWinButton(mwin, MWIN_HIDE_BUTTON_ID, this, 0, tb, "", x, y, bw, bh);
        if (!hide_button)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create hide button");
            return;
        }
        hide_button->prev = hide_button->next = nullptr;
    }
    hide_button->SetOrigPosNoBoundsCheck(x, y - virtual_pos.y, bw, bh);
    hide_button->SetFont(title_font == MWIN_FONT_NUM_DEFAULT ? MWIN_FONT_DEFAULT
                         : title_font == MWIN_FONT_NUM_NONE  ? MWIN_FONT_NONE
                                                             : info.title_font);
    hide_button->SetTextColour(&title_colour);
    hide_button->SetTextScale(0.8f * title_scale_x, 0.8f * title_scale_y);
    hide_button->SetText(info.hide_text);
    // The hide button sits in the title bar, outside the window's body, where
    // the widgets' own placement would clamp it: place it directly.
    _Dimension placed = {actual_area.x + x, actual_area.y + y, bw, bh};
    *hide_button->GetActualArea() = placed;
    *hide_button->GetCropArea() = placed;
}

void MWinWindow::UpdateTitleFontColourAndScale()
{
    if (title_font < 0 || !mwin || !mwin->GetFonts())
        return;
    EngFont* font = mwin->GetFonts()->GetUserFont(title_font);
    MWinLayoutSettings* ls = GetScreenLayout();
    if (font && ls)
    {
        float sx = title_scale_x, sy = title_scale_y;
        if ((*ls)[MWIN_LS_TEXT_SCALE_X] > 0 && (*ls)[MWIN_LS_TEXT_SCALE_Y] > 0)
        {
            sx *= (*ls)[MWIN_LS_TEXT_SCALE_X];
            sy *= (*ls)[MWIN_LS_TEXT_SCALE_Y];
        }
        if (auto_resize)
        {
            sx *= eng_main_window_x_widescreen_ratio;
            sy *= eng_main_window_y_narrowscreen_ratio;
        }
        font->SetScale(sx, sy);
        _ColourRGBA c = title_colour;
        if (colour_set)
        {
            c.r *= colour.r;
            c.g *= colour.g;
            c.b *= colour.b;
            c.a *= colour.a;
        }
        font->SetColour(&c);
    }
    UpdateHideButton(0);
}

void MWinWindow::SetHideButtonPlainCallback(MWinHidePlainCallbackFn fn, void* user)
{
    hide_plain_cb = fn;
    hide_plain_user = user;
}

// ---------------------------------------------------------------------------
// Widgets.

MWinButton* MWinWindow::AddButton(const char* bid, _MWinButtonType kind, const char* texbut, const char* text,
                                  float x, float y, float w, float h)
{
    if (kind == 4 || kind == 5 || kind == 12 || kind == 14)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Use individual class buttons instead");
    MWinButton* b = new (std::nothrow) MWinButton(mwin, bid, this, kind, texbut, text, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    return CompleteAddButton(b);
}

MWinButton* MWinWindow::AddButton(const char* bid, _MWinButtonType kind, const char* texbut, const char* text,
                                  float x, float y, float w, float h, MWinPlainCallbackFn fn)
{
    MWinButton* b = AddButton(bid, kind, texbut, text, x, y, w, h);
    if (b)
        b->SetPlainCallback(fn);
    return b;
}

MWinButton* MWinWindow::AddButton(const char* bid, _MWinButtonType kind, const char* texbut, const char* text,
                                  float x, float y, float w, float h, MWinButtonCallbackFn fn, int a, int bb)
{
    MWinButton* b = AddButton(bid, kind, texbut, text, x, y, w, h);
    if (b)
        b->SetCallback(fn, a, bb, 1);
    return b;
}

MWinButton* MWinWindow::AddHorzScrollbar(const char* bid, const char* texbut, const char* text, float x,
                                         float y, float w, float h)
{
    MWinButton* b = new (std::nothrow) MWinHorzScrollbar(mwin, bid, this, texbut, text, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    return CompleteAddButton(b);
}

MWinButton* MWinWindow::AddColour(const char* bid, const char* texbut, const char* text, float x, float y,
                                  float w, float h)
{
    MWinButton* b = new (std::nothrow) MWinColour(mwin, bid, this, texbut, text, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    return CompleteAddButton(b);
}

MWinButton* MWinWindow::CompleteAddButton(MWinButton* b)
{
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No button (no memory)");
        return nullptr;
    }
    LinkButton(b);
    return b;
}

char MWinWindow::PreAddButton(const char*, _MWinButtonType, float*)
{
    return 1;
}

void MWinWindow::LinkButton(MWinButton* b)
{
    b->next = nullptr;
    b->prev = last_button;
    if (last_button)
        last_button->next = b;
    else
        first_button = b;
    last_button = b;
}

void MWinWindow::UnlinkButton(MWinButton* b)
{
    if (b->prev)
        b->prev->next = b->next;
    else if (first_button == b)
        first_button = b->next;
    if (b->next)
        b->next->prev = b->prev;
    b->prev = b->next = nullptr;
    last_button = first_button;
    while (last_button && last_button->next)
        last_button = last_button->next;
}

char MWinWindow::RemoveButton(MWinButton* b)
{
    if (!b || !first_button)
        return 0;
    MWinButton* o = first_button;
    while (o && o != b)
        o = o->next;
    if (!o)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button <%s> not in window <%s>", MWinDisplayID(b->GetID()),
                      MWinDisplayID(id));
        return 0;
    }
    char ok = 1;
    if (b->prev && b->prev->next != b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error A");
        ok = 0;
    }
    if (b->next && b->next->prev != b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error B");
        ok = 0;
    }
    UnlinkButton(b);
    if (escape_button == b)
        escape_button = nullptr;
    if (default_button == b)
        default_button = nullptr;
    if (ok)
        delete b;
    return ok;
}

void MWinWindow::RemoveAllButtonsAfterButton(MWinButton* b)
{
    if (!b || !first_button)
        return;
    MWinButton* o = first_button;
    while (o && o != b)
        o = o->next;
    if (!o)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button <%s> not in window <%s>", MWinDisplayID(b->GetID()),
                      MWinDisplayID(id));
        return;
    }
    while (last_button && last_button != b)
        if (!RemoveButton(last_button))
            break;
}

void MWinWindow::RemoveAllButtons()
{
    while (last_button)
    {
        MWinButton* b = last_button;
        last_button = b->prev;
        if (last_button)
            last_button->next = nullptr;
        b->prev = b->next = nullptr;
        delete b;
    }
    first_button = nullptr;
    escape_button = default_button = nullptr;
}

int MWinWindow::GetNumButtons()
{
    int n = 0;
    for (MWinButton* b = first_button; b; b = b->next)
        n++;
    return n;
}

MWinButton* MWinWindow::GetNthButton(int n)
{
    if (!first_button)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No buttons.");
        return nullptr;
    }
    MWinButton* b = first_button;
    for (int i = 0; i < n && b; i++)
        b = b->next;
    if (!b || n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button %d not found.", n);
        return nullptr;
    }
    return b;
}

MWinButton* MWinWindow::GetButtonFromID(const char* bid, char report)
{
    if (MWinIsIDEmpty(bid))
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No Button ID");
        return nullptr;
    }
    if (hide_button && strcmp(hide_button->GetID(), bid) == 0)
        return hide_button;
    for (MWinButton* b = last_button; b; b = b->prev)
        if (MWinAreIDsTheSame(b->GetID(), bid))
            return b;
    if (report)
        DebugErrorAlt(__PRETTY_FUNCTION__, "ID <%s> not found", bid);
    return nullptr;
}

char MWinWindow::SetButtonCallback(const char* bid, MWinButtonCallbackFn fn, int a, int b)
{
    MWinButton* but = GetButtonFromID(bid, 1);
    if (!but)
        return 0;
    return but->SetCallback(fn, a, b, 1);
}

void MWinWindow::SetEscapeButton(MWinButton* b)
{
    escape_button = b;
    if (collection)
        collection->SetEscapeWindow(this);
}

void MWinWindow::SetDefaultButton(MWinButton* b)
{
    default_button = b;
}

MWinButton* MWinWindow::FocusedButton()
{
    for (MWinButton* b = last_button; b; b = b->prev)
        if (b->IsFocused())
            return b;
    return nullptr;
}

MWinButton* MWinWindow::GetActiveButton()
{
    if (!shown)
        return nullptr;
    return FocusedButton();
}

void MWinWindow::SetController(MWinCollectionController* c)
{
    controller = c;
    use_controller = 1;
}

MWinCollectionController* MWinWindow::GetController(char must)
{
    if (must)
        DebugAssertAlt(use_controller && controller, __PRETTY_FUNCTION__, "No controller");
    return use_controller ? controller : nullptr;
}

char MWinWindow::SendButtonCallCallbackMessage(MWinButton* b)
{
    if (!b || b->GetParent() != this || !collection || !mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid button");
        return 0;
    }
    return mwin->AddMessageToQueue(collection->GetID(), id, b->GetID(), MWIN_MSG_CALL_CALLBACK);
}

// ---------------------------------------------------------------------------
// Layout helpers.

namespace
{
void CenterButtons(MWinButton** list, int count, const _Dimension& win, char horz, char vert)
{
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int n = 0;
    for (int i = 0; i < count; i++)
    {
        _Dimension a;
        list[i]->GetOrigArea(&a);
        if (n++ == 0)
        {
            x0 = a.x, y0 = a.y, x1 = a.x + a.w, y1 = a.y + a.h;
            continue;
        }
        x0 = a.x < x0 ? a.x : x0;
        y0 = a.y < y0 ? a.y : y0;
        x1 = a.x + a.w > x1 ? a.x + a.w : x1;
        y1 = a.y + a.h > y1 ? a.y + a.h : y1;
    }
    if (!n)
        return;
    float dx = horz ? win.w / 2 - (x0 + x1) / 2 : 0;
    float dy = vert ? win.h / 2 - (y0 + y1) / 2 : 0;
    for (int i = 0; i < count; i++)
    {
        _Dimension a;
        list[i]->GetOrigArea(&a);
        list[i]->SetOrigArea(a.x + dx, a.y + dy, a.w, a.h);
    }
}

void SpaceButtons(MWinButton** list, int count, char horz, char vert)
{
    if (count < 3)
        return;
    float gx = 0, gy = 0;
    for (int i = 1; i < count; i++)
    {
        _Dimension p, a;
        list[i - 1]->GetOrigArea(&p);
        list[i]->GetOrigArea(&a);
        gx += a.x - (p.x + p.w);
        gy += a.y - (p.y + p.h);
    }
    gx /= float(count - 1);
    gy /= float(count - 1);
    for (int i = 1; i < count; i++)
    {
        _Dimension p, a;
        list[i - 1]->GetOrigArea(&p);
        list[i]->GetOrigArea(&a);
        if (horz)
            a.x = p.x + p.w + gx;
        if (vert)
            a.y = p.y + p.h + gy;
        list[i]->SetOrigArea(a.x, a.y, a.w, a.h);
    }
}
} // namespace

// Collects shown widgets (of a null-terminated list, or of the window) into a vector-like buffer.
static int CollectShown(MWinButton* first, MWinButton** list, MWinButton** out, int max)
{
    int n = 0;
    if (list)
    {
        for (int i = 0; list[i] && n < max; i++)
            if (list[i]->IsShown())
                out[n++] = list[i];
    }
    else
        for (MWinButton* b = first; b && n < max; b = b->next)
            if (b->IsShown())
                out[n++] = b;
    return n;
}

#define MWIN_MAX_LAYOUT_BUTTONS 1024

void MWinWindow::CenterAllShownButtons(char horz, char vert)
{
    MWinButton* buf[MWIN_MAX_LAYOUT_BUTTONS];
    int n = CollectShown(first_button, nullptr, buf, MWIN_MAX_LAYOUT_BUTTONS);
    CenterButtons(buf, n, orig_area, horz, vert);
}

void MWinWindow::CenterGroupOfButtons(MWinButton** list, char horz, char vert)
{
    if (!list)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No buttons");
        return;
    }
    MWinButton* buf[MWIN_MAX_LAYOUT_BUTTONS];
    int n = CollectShown(nullptr, list, buf, MWIN_MAX_LAYOUT_BUTTONS);
    CenterButtons(buf, n, orig_area, horz, vert);
}

void MWinWindow::SpaceAllShownButtons(char horz, char vert)
{
    MWinButton* buf[MWIN_MAX_LAYOUT_BUTTONS];
    int n = CollectShown(first_button, nullptr, buf, MWIN_MAX_LAYOUT_BUTTONS);
    SpaceButtons(buf, n, horz, vert);
}

void MWinWindow::SpaceGroupOfButtons(MWinButton** list, char horz, char vert)
{
    if (!list)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No buttons");
        return;
    }
    MWinButton* buf[MWIN_MAX_LAYOUT_BUTTONS];
    int n = 0;
    for (int i = 0; list[i] && n < MWIN_MAX_LAYOUT_BUTTONS; i++)
        buf[n++] = list[i];
    SpaceButtons(buf, n, horz, vert);
}

char MWinWindow::CopyFromOtherWindow(MWinWindow* o, char)
{
    if (!o)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window.");
        return 0;
    }
    type = o->type;
    active = o->active;
    shown = o->shown;
    DestroyCustomBack();
    custom_back = o->custom_back;
    for (int s = 0; s < 4; s++)
    {
        custom[s] = o->custom[s];
        custom[s].loaded = nullptr;
        custom[s].outside = nullptr;
    }
    memcpy(id, o->id, sizeof id);
    info = o->info;
    orig_area = o->orig_area;
    actual_area = o->actual_area;
    title_area = o->title_area;
    whole_area = o->whole_area;
    title_font = o->title_font;
    title_texbut = o->title_texbut;
    hide_texbut = o->hide_texbut;
    back_texbut = o->back_texbut;
    title_colour = o->title_colour;
    title_scale_x = o->title_scale_x;
    title_scale_y = o->title_scale_y;
    title_align = o->title_align;
    colour = o->colour;
    colour_set = o->colour_set;
    extra_size = o->extra_size;
    extra_size_on = o->extra_size_on;
    crop_with_margins = o->crop_with_margins;
    for (_MWinWindowScroll& s : scroll)
        s = {};
    virtual_pos = {0, 0};
    return 1;
}
