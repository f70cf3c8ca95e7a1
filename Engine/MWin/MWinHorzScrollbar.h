// The horizontal scrollbar widget (kind 4): a thumb dragged along a track
// picks a value between a minimum and a maximum.
#pragma once

#include "MWinScrollbarCommon.h"

class MWinHorzScrollbar : public MWinScrollbar
{
public:
    MWinHorzScrollbar(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, const char* text,
                      float x, float y, float w, float h);
    ~MWinHorzScrollbar() override;

    void Reset();

    // Position.
    void SetPosDouble(double value, char dragging, char force, char call) override;
    double GetXPosFromScreen(float x);
    float GetScreenXPos();
    char IsMouseVieportCursorInButton();

    // Auto text.
    void SetAutoText(char on, char keep_prefix, char brackets);
    void SetAutoTextFloat(char on, int decimals, char keep_prefix, float multiplier, char brackets);

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

private:
    AxisSpan GetAxisSpan() override;
    double PosFromScreen(float v) override;
    double Snap(double x) override;
    void UpdateAutoText() override;
    float ThumbLength();
    float TrackStart();
    float TrackLength();

    char brackets;
};
