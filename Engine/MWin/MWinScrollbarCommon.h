// What the horizontal and the vertical scrollbar share: the range, the
// position and its bound variable. Each bar keeps its own axis, drawing,
// snapping and text.
#pragma once

#include "MWinButton.h"

class MWinScrollbar : public MWinButton
{
public:
    // Range and steps.
    void SetValuesFloat(float min, float max, float page, float step);
    void SetValuesDouble(double min, double max, double page, double step);
    void SetValues(int min, int max, int page, int step);
    void SetValuesLong(int min, int max, int page, int step);
    void SetSnapFloat(float s) { snap = s; }
    void TurnOnArrows(char on);

    // Position.
    virtual void SetPosDouble(double value, char dragging, char force, char call) = 0;
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
    double GetPage() const { return page; }
    double GetStep() const { return step; }

    // Bound variables (the position follows them).
    char RegisterFloatVariable(float* p, float mult, char call);
    char RegisterIntVariable(int* p, int mult, char call);
    char RegisterLongVariable(int* p, int mult, char call);
    char RegisterUnsignedLongVariable(unsigned int* p, unsigned int mult, char call);
    char RegisterCharVariable(char* p, char call);
    char RegisterUnsignedCharVariable(unsigned char* p, char call);
    void UpdateFromRegisteredVariable(char call);

    // Steps, pages and the end of a drag; the first two return 0 when a
    // callback removed the bar.
    char ArrowPress(char up);
    char Jump(int direction);
    void DraggingOver();

    // Arrows, thumb and track, along the bar's own axis.
    char HandleMouseButtonPressed(char button, char down, char third) override;

protected:
    MWinScrollbar(MWin* mw, const char* id, MWinWindow* parent, _MWinButtonType kind, const char* texbut,
                  const char* text, float x, float y, float w, float h);

    // Along the bar's axis: the mouse, the area's start and length, the thumb's.
    struct AxisSpan
    {
        float mouse, start, length, thumb, thumb_length;
    };
    virtual AxisSpan GetAxisSpan() = 0;
    virtual double PosFromScreen(float v) = 0;

    void ResetScroll();
    // Clamps, snaps and stores the position, then reports it; callers check the kind.
    void MoveTo(double value, char drag, char force, char call);
    virtual double Snap(double x) = 0;
    virtual void UpdateAutoText() = 0;
    // Writes the position into the bound variable (rounded and clamped to its type).
    void StorePosToVar();
    char IsBar() const { return type == bar_kind; }
    // A widget without callback cannot be removed by a position change; one with
    // a callback is looked up again.
    static char StillHere(const _MWinButtonRef* ref);

    double pos, min, max, page, step;
    char auto_text;
    int prefix_length;
    float auto_mult;
    float snap;
    char moved_by_drag;

private:
    // Ends a Register*Variable call: on success moves the bar to the variable's value.
    template <class T>
    char FollowRegistered(char registered, const T* p, double mult, char call);

    _MWinButtonType bar_kind;
};
