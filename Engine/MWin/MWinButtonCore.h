// What the widgets use of the toolkit object, its windows, texture table,
// fonts and settings, gathered in one place.
#pragma once

#include "MWinButton.h"
#include "MWinColour.h"

class MWinCollectionController;

namespace mwb
{
// Toolkit object.
void RenderNeeded(MWin* mw);
void PlaySound(MWin* mw, int event);
char IsOn(MWin* mw);
MWinButton* GetButtonFromIDs(MWin* mw, const char* coll, const char* win, const char* but);
float MouseX(MWin* mw);
float MouseY(MWin* mw);
void MoveMouse(MWin* mw, float x, float y);
char MouseInArea(MWin* mw, const _Dimension* area);
void ButtonsChanged(MWin* mw);
MWinLayoutSettings* Layout(MWin* mw, MWinWindow* win);
float LayoutValue(MWinLayoutSettings* ls, int n);
EngInt32 LayoutInt(MWinLayoutSettings* ls, int n);

// Settings.
char CropButtons(MWin* mw);
float DisabledAlpha(MWin* mw);
char ShrinkToFitDefault(MWin* mw);
int ChoiceHighlightStyle(MWin* mw);
char PanelBackOn(MWin* mw);
char PanelFollowsRenderState(MWin* mw);
char PanelHighlighted(MWin* mw);
char PieDrawLayer(MWin* mw, int layer); // layer 1-3
int PieBlendType(MWin* mw);
void PieColour(MWin* mw, int layer, _ColourRGB* out);
int TextureOption(MWin* mw);
const _MWinHueEntry* HueTable(MWin* mw);
void ColourBorder(MWin* mw, float* rgb);
EngTexture* ColourStrip(MWin* mw, int i);

// Texture table.
char HasTextures(MWin* mw);
int TexButNumFromID(MWin* mw, const char* id);
int StandardTexButNum(MWin* mw, int slot);
void DrawTexBut(MWin* mw, int num, _MWinTextureState state, const _Dimension* area,
                const _ColourRGBA* colour);
void DrawStdTexBut(MWin* mw, int slot, _MWinTextureState state, float x, float y, float w, float h,
                   const _ColourRGBA* colour);
void DrawStdTexButPart(MWin* mw, int slot, _MWinTextureState state, float x, float y, float w, float h,
                       float u0, float u1, const _ColourRGBA* colour);
void TexButExtraSize(MWin* mw, int num, float* side, float* top, float* bottom);

// Fonts.
int FontNumFromID(MWin* mw, const char* id);
EngFont* UserFont(MWin* mw, int n);
EngFont* Font(MWin* mw, int n);

// Text drawing (area in ratioed screen units).
void RenderText(MWin* mw, int font, _MWinTextAlign align, float margin, const _Dimension* area,
                const char* text, int count, char shrink);
void RenderMultilineText(MWin* mw, int font, _MWinTextAlign align, float margin, const _Dimension* area,
                         const char* text);

// Windows.
MWinCollectionController* Controller(MWinWindow* win);
const char* WindowID(MWinWindow* win);
const char* CollectionID(MWinWindow* win);
void ActivateWindowAndCollection(MWinWindow* win);
void WindowMouseMove(MWinWindow* win);
// Every focused widget of win but keep loses the focus; 0 when the widget ref
// names is gone afterwards.
char DeactivateAllButtonsBut(MWinWindow* win, MWinButton* keep, const _MWinButtonRef* ref);
void GetWindowActualArea(MWinWindow* win, _Dimension* out);
void GetWindowOrigArea(MWinWindow* win, _Dimension* out);
void GetWindowVirtualPos(MWinWindow* win, float* x, float* y);
char WindowAutoResizes(MWinWindow* win);
// Bounds a widget is kept within: x, y, w, h then extra w, h.
void GetWindowButtonBounds(MWinWindow* win, _Dimension* bounds, float* extra_w, float* extra_h);
char WindowCropsWithMargins(MWinWindow* win);
char WindowHasBackTexBut(MWinWindow* win);
void SetWindowEscapeButton(MWinWindow* win, MWinButton* b);
void SetWindowDefaultButton(MWinWindow* win, MWinButton* b);
MWinButton* WindowEscapeButton(MWinWindow* win);
MWinButton* WindowDefaultButton(MWinWindow* win);
} // namespace mwb
