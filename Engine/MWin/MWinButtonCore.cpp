// The widgets' view of the toolkit object, windows, texture table and fonts.
#include "MWinButtonCore.h"

#include <cstring>

#include "EngDevice.h"
#include "MWin.h"
#include "MWinCollection.h"
#include "MWinCollectionController.h"
#include "MWinFonts.h"
#include "MWinSettings.h"
#include "MWinTextures.h"
#include "MWinWindow.h"

namespace mwb
{
void RenderNeeded(MWin* mw)
{
    if (mw)
        mw->RenderNeeded();
}

void PlaySound(MWin* mw, int event)
{
    if (mw)
        mw->PlaySound(event);
}

char IsOn(MWin* mw)
{
    return mw && mw->IsOn();
}

MWinButton* GetButtonFromIDs(MWin* mw, const char* coll, const char* win, const char* but)
{
    return mw ? mw->GetButtonFromIDs(coll, win, but, 0) : nullptr;
}

float MouseX(MWin* mw)
{
    float x = -1, y = -1;
    if (mw)
        mw->GetViewportMousePos(&x, &y);
    return x;
}

float MouseY(MWin* mw)
{
    float x = -1, y = -1;
    if (mw)
        mw->GetViewportMousePos(&x, &y);
    return y;
}

void MoveMouse(MWin* mw, float x, float y)
{
    if (mw)
        mw->MoveMouse((int)x, (int)y);
}

char MouseInArea(MWin* mw, const _Dimension* area)
{
    return mw && mw->IsMouseViewportCursorInArea(area, nullptr);
}

void ButtonsChanged(MWin* mw)
{
    if (mw)
        mw->ButtonsChanged();
}

MWinLayoutSettings* Layout(MWin* mw, MWinWindow* win)
{
    if (!mw)
        return nullptr;
    if (win && win->GetCollection())
        return mw->GetLayoutSettings(win->GetCollection()->GetScreenLayout());
    return mw->GetLayoutSettings();
}

float LayoutValue(MWinLayoutSettings* ls, int n)
{
    return (ls && n >= 0 && n < MWIN_LAYOUT_NUM_FIELDS) ? ls->v[n] : 0.0f;
}

EngInt32 LayoutInt(MWinLayoutSettings* ls, int n)
{
    return (ls && n >= 0 && n < MWIN_LAYOUT_NUM_FIELDS) ? ls->GetInt(n) : 0;
}

char CropButtons(MWin* mw)
{
    return mw && mw->GetCropButtons();
}
float DisabledAlpha(MWin* mw)
{
    return mw ? mw->GetSettings()->disabled_alpha : 1.0f;
}
char ShrinkToFitDefault(MWin* mw)
{
    return mw ? mw->GetSettings()->shrink_text_default : 0;
}
int ChoiceHighlightStyle(MWin* mw)
{
    return mw ? mw->GetSettings()->choice_highlight : 0;
}
char PanelBackOn(MWin* mw)
{
    return mw && mw->GetSettings()->list_panel_bg[0];
}
char PanelFollowsRenderState(MWin* mw)
{
    return mw && mw->GetSettings()->list_panel_bg[1];
}
char PanelHighlighted(MWin* mw)
{
    return mw && mw->GetSettings()->list_panel_bg[2];
}

char PieDrawLayer(MWin* mw, int layer)
{
    return mw && layer >= 1 && layer <= 3 && mw->GetSettings()->pie_flags[layer - 1];
}

int PieBlendType(MWin* mw)
{
    return mw ? (int)(signed char)mw->GetSettings()->pie_flags[3] : -1;
}

void PieColour(MWin* mw, int layer, _ColourRGB* out)
{
    if (!mw || layer < 1 || layer > 3 || !out)
        return;
    const float* f = &mw->GetSettings()->pie_reset[(layer - 1) * 3];
    *out = {f[0], f[1], f[2]};
}

int TextureOption(MWin* mw)
{
    return mw ? mw->GetTextureLoadOption() : 0;
}

const _MWinHueEntry* HueTable(MWin* mw)
{
    return mw ? mw->GetHueTable() : nullptr;
}

void ColourBorder(MWin* mw, float* rgb)
{
    rgb[0] = rgb[1] = rgb[2] = 0;
    if (mw)
        memcpy(rgb, mw->GetSettings()->colour_border, sizeof(float) * 3);
}

EngTexture* ColourStrip(MWin* mw, int i)
{
    return (mw && mw->GetTextures()) ? mw->GetTextures()->GetColourStripTexture(i) : nullptr;
}

char HasTextures(MWin* mw)
{
    return mw && mw->GetTextures();
}

int TexButNumFromID(MWin* mw, const char* id)
{
    return (mw && mw->GetTextures()) ? mw->GetTextures()->GetTexButNumFromID(id) : -1;
}

int StandardTexButNum(MWin* mw, int slot)
{
    return (mw && mw->GetTextures()) ? mw->GetTextures()->GetStandardTexButNum(slot) : -1;
}

void DrawTexBut(MWin* mw, int num, _MWinTextureState state, const _Dimension* area, const _ColourRGBA* colour)
{
    if (mw && mw->GetTextures() && num >= 0)
        mw->GetTextures()->DrawTextureButton(num, state, area, colour);
}

void DrawStdTexBut(MWin* mw, int slot, _MWinTextureState state, float x, float y, float w, float h,
                   const _ColourRGBA* colour)
{
    int n = StandardTexButNum(mw, slot);
    if (n >= 0)
        mw->GetTextures()->DrawTextureButton(n, state, x, y, w, h, colour);
}

void DrawStdTexButPart(MWin* mw, int slot, _MWinTextureState state, float x, float y, float w, float h,
                       float u0, float u1, const _ColourRGBA* colour)
{
    int n = StandardTexButNum(mw, slot);
    if (n >= 0)
        mw->GetTextures()->DrawTextureButtonPart(n, state, x, y, w, h, u0, 0, u1, 1, colour);
}

void TexButExtraSize(MWin* mw, int num, float* side, float* top, float* bottom)
{
    *side = *top = *bottom = 0;
    if (mw && mw->GetTextures() && num >= 0)
        mw->GetTextures()->GetTextureButtonExtraRenderSize(num, side, top, bottom);
}

int FontNumFromID(MWin* mw, const char* id)
{
    return (mw && mw->GetFonts()) ? mw->GetFonts()->GetFontNumFromID(id) : -1;
}

EngFont* UserFont(MWin* mw, int n)
{
    return (mw && mw->GetFonts()) ? mw->GetFonts()->GetUserFont(n) : nullptr;
}

EngFont* Font(MWin* mw, int n)
{
    return (mw && mw->GetFonts()) ? mw->GetFonts()->GetFont(n) : nullptr;
}

void RenderText(MWin* mw, int font, _MWinTextAlign align, float margin, const _Dimension* area,
                const char* text, int count, char shrink)
{
    if (!mw || !area || !text)
        return;
    mw->RenderTextPart(font, align, margin, area->x, area->y, area->w, area->h, nullptr, text, count, 0, 1,
                       shrink);
}

void RenderMultilineText(MWin* mw, int font, _MWinTextAlign align, float margin, const _Dimension* area,
                         const char* text)
{
    if (mw && area && text)
        mw->RenderMultilineText(font, align, margin, area, nullptr, text, 0, 1, 0);
}

MWinCollectionController* Controller(MWinWindow* win)
{
    return win ? win->GetController(0) : nullptr;
}
const char* WindowID(MWinWindow* win)
{
    return win ? win->GetID() : "";
}

const char* CollectionID(MWinWindow* win)
{
    return (win && win->GetCollection()) ? win->GetCollection()->GetID() : "";
}

void ActivateWindowAndCollection(MWinWindow* win)
{
    if (!win)
        return;
    if (win->GetCollection())
        win->GetCollection()->Activate();
    win->Activate();
}

void WindowMouseMove(MWinWindow* win)
{
    if (win)
        win->HandleMouseMove();
}

char DeactivateAllButtonsBut(MWinWindow* win, MWinButton* keep, const _MWinButtonRef* ref)
{
    return win ? win->DeactivateAllButtonsBut(keep, ref) : 1;
}

void GetWindowActualArea(MWinWindow* win, _Dimension* out)
{
    win->GetActualArea(out);
}
void GetWindowOrigArea(MWinWindow* win, _Dimension* out)
{
    win->GetOrigArea(out);
}

void GetWindowVirtualPos(MWinWindow* win, float* x, float* y)
{
    *x = win->GetVirtualPos()->x;
    *y = win->GetVirtualPos()->y;
}

char WindowAutoResizes(MWinWindow* win)
{
    return win && win->IsAutoResizeOn();
}

void GetWindowButtonBounds(MWinWindow* win, _Dimension* bounds, float* extra_w, float* extra_h)
{
    // The window's content: its area moved by the scroll offset, plus the extra size.
    _Dimension a;
    win->GetActualArea(&a);
    *bounds = {a.x + win->GetVirtualPos()->x, a.y + win->GetVirtualPos()->y, a.w, a.h};
    *extra_w = win->IsExtraSizeOn() ? win->GetExtraSize()->x : 0;
    *extra_h = win->IsExtraSizeOn() ? win->GetExtraSize()->y : 0;
}

char WindowCropsWithMargins(MWinWindow* win)
{
    return win && win->UsesWindowMarginsForCropping();
}

char WindowHasBackTexBut(MWinWindow* win)
{
    return win && !MWinIsIDEmpty(win->GetBackTexButID()) && strcmp(win->GetBackTexButID(), MWIN_TEXBUT_NONE);
}

void SetWindowEscapeButton(MWinWindow* win, MWinButton* b)
{
    win->SetEscapeButton(b);
}
void SetWindowDefaultButton(MWinWindow* win, MWinButton* b)
{
    win->SetDefaultButton(b);
}
MWinButton* WindowEscapeButton(MWinWindow* win)
{
    return win ? win->GetEscapeButton() : nullptr;
}
MWinButton* WindowDefaultButton(MWinWindow* win)
{
    return win ? win->GetDefaultButton() : nullptr;
}
} // namespace mwb
