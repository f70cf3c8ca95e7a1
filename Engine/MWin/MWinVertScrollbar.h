// The vertical scrollbar widget (kind 5): the horizontal bar turned on its
// side; the tab panel and the styled-text box embed one.
#pragma once

#include "MWinScrollbarCommon.h"

class MWinVertScrollbar : public MWinScrollbar
{
public:
    MWinVertScrollbar(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, const char* text,
                      float x, float y, float w, float h);
    ~MWinVertScrollbar() override;

    void Reset();

    // Position.
    void SetPosDouble(double value, char dragging, char force, char call) override;
    double GetYPosFromScreen(float y);
    float GetScreenYPos();
    char IsMouseVieportCursorInButton();

    // Auto text (decimal modes only).
    void SetAutoTextFloat(char on, int decimals, char keep_prefix, float multiplier);

    // Virtual slots.
    void Render() override;
    char HandleMouseButtonDoubleClicked(char button) override;
    void HandleMouseButtonPressCanceled() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int delta) override;
    char HandleKeyDown(int key) override;
    char KeepFocusOnMouseMove() override;
    void Deactivate() override;

    void RenderNoPrepare();
    void RenderButton();
    char IsBeingDragged() const { return dragging; }

private:
    AxisSpan GetAxisSpan() override;
    double PosFromScreen(float v) override;
    double Snap(double x) override;
    void UpdateAutoText() override;
    float TrackStart();
    float TrackLength();
};

// Adds a vertical scrollbar to a window (the window's factory for this kind).
MWinVertScrollbar* MWinWindowAddVertScrollbar(MWinWindow* window, const char* id, const char* texbut,
                                              const char* text, float x, float y, float w, float h);
