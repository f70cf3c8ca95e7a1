// The colour picker widget (kind 10): hue, saturation and brightness
// scrollbars drawn over colour strips.
#pragma once

#include "MWinButton.h"

class MWinHorzScrollbar;

#define MWIN_COLOUR_NUM_PARTS 3
#define MWIN_COLOUR_STRIP_BYTES (256 * 32 * 3)

class MWinColour : public MWinButton
{
public:
    MWinColour(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, const char* text, float x,
               float y, float w, float h);
    ~MWinColour() override;

    void Reset();
    char CreateScrollbarsIfNeeded();

    void Set(float r, float g, float b, char call);
    void Set(const _ColourRGB* c, char call);
    void Get(float* r, float* g, float* b);
    void Get(_ColourRGB* c);
    char RegisterVariableMult(_ColourRGB* v, float multiplier, float offset);
    char RegisterVariable(_ColourRGB* v) { return RegisterVariableMult(v, 1, 0); }
    void UpdateFromRegisteredVariable(char call);
    void UpdateVar();
    void CalcCurrentColour();
    char UpdateFromScrollbars(char call);
    void UpdateFromCurrentValues(char call);
    // Draws the strips again for the parts as they are (a new device).
    void RepaintStrips();
    void UpdatePartsFromValue();

    float GetHue() const { return hue; }
    float GetSaturation() const { return saturation; }
    float GetBrightness() const { return brightness; }
    MWinHorzScrollbar* GetScrollbar(int i) const { return (i >= 0 && i < 3) ? scrollbars[i] : nullptr; }
    const unsigned char* GetStrip(int i) const { return (i >= 0 && i < 3) ? strips[i] : nullptr; }

    // Virtual slots.
    void PositionUpdated() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char third) override;
    char HandleMouseButtonDoubleClicked(char button) override;
    void HandleMouseButtonPressCanceled() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int delta) override;
    char HandleKeyDown(int key) override;
    char KeepFocusOnMouseMove() override;
    void Activate() override;
    void Deactivate() override;

private:
    void ColourFromParts(float* r, float* g, float* b);
    char PaintStrips();
    void DeleteScrollbars();
    char AnyScrollbarDragging() const;
    // Focuses the strip's scrollbar under the mouse (the last one holding it)
    // and unfocuses the others; returns it, or null.
    MWinHorzScrollbar* FocusScrollbarUnderMouse();

    float cr, cg, cb;
    float multiplier, offset;
    float hue;
    float saturation, brightness;
    unsigned char* strips[MWIN_COLOUR_NUM_PARTS];
    MWinHorzScrollbar* scrollbars[MWIN_COLOUR_NUM_PARTS];
};

// The five-argument callback set on each of a picker's scrollbars.
void MWinColour_ScrollbarsCallback(MWin* mw, _MWinButtonCallbackInfo* info, int index, int, void* picker);
