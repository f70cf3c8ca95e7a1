// The horizontal scrollbar widget (kind 4): a thumb dragged along a track
// picks a value between a minimum and a maximum.
#pragma once

#include "MWinButton.h"

class MWinHorzScrollbar : public MWinButton
{
public:
    MWinHorzScrollbar(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, const char* text,
                      float x, float y, float w, float h);
    ~MWinHorzScrollbar() override;

    void Reset();

    // Range and steps.
    void SetValuesFloat(float min, float max, float page, float step);
    void SetValuesDouble(double min, double max, double page, double step);
    void SetValues(int min, int max, int page, int step);
    void SetValuesLong(int min, int max, int page, int step);
    void SetSnapFloat(float s) { snap = s; }
    void TurnOnArrows(char on);

    // Position.
    void SetPosDouble(double value, char dragging, char force, char call);
    void SetPos(int v, char call) { SetPosDouble(v, 0, 0, call); }
    void SetPosLong(int v, char call) { SetPosDouble(v, 0, 0, call); }
    void SetPosUnsignedLong(unsigned v, char call) { SetPosDouble(v, 0, 0, call); }
    void SetPosFloat(float v, char call) { SetPosDouble(v, 0, 0, call); }
    double GetPosDouble() const;
    float GetPosFloat() const { return (float)GetPosDouble(); }
    int GetPos() const { return (int)GetPosDouble(); }
    int GetPosLong() const { return (int)GetPosDouble(); }
    double GetMin() const { return min; }
    double GetMax() const { return max; }
    double GetXPosFromScreen(float x);
    float GetScreenXPos();
    char IsMouseVieportCursorInButton();

    // Auto text.
    void SetAutoText(char on, char keep_prefix, char brackets);
    void SetAutoTextFloat(char on, int decimals, char keep_prefix, float multiplier, char brackets);

    // Bound variables (the position follows them).
    char RegisterFloatVariable(float* p, float mult, char call);
    char RegisterIntVariable(int* p, int mult, char call);
    char RegisterLongVariable(int* p, int mult, char call);
    char RegisterUnsignedLongVariable(unsigned int* p, unsigned int mult, char call);
    char RegisterCharVariable(char* p, char call);
    char RegisterUnsignedCharVariable(unsigned char* p, char call);
    void UpdateFromRegisteredVariable(char call);

    // Virtual slots.
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char third) override;
    char HandleMouseButtonDoubleClicked(char button) override;
    void HandleMouseButtonPressCanceled() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int delta) override;
    char HandleKeyDown(int key) override;
    char KeepFocusOnMouseMove() override;
    void Deactivate() override;

    void RenderNoPrepare();
    void RenderButton();
    // Both return 0 when a callback removed the bar.
    char ArrowPress(char up);
    char Jump(int direction);
    void DraggingOver();

private:
    static char StillHere(const _MWinButtonRef* ref);
    double Snap(double x);
    void UpdateAutoText();
    float ThumbLength();
    float TrackStart();
    float TrackLength();

    double pos, min, max, page, step;
    char auto_text;
    int prefix_length;
    float auto_mult;
    float snap;
    char brackets;
    char moved_by_drag;
};
