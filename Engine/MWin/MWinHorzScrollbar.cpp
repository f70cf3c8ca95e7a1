// The horizontal scrollbar widget.
#include "MWinHorzScrollbar.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMath.h"
#include "MWinButtonCore.h"
#include "MWinScrollbarCommon.h"

MWinHorzScrollbar::MWinHorzScrollbar(MWin* mw, const char* bid, MWinWindow* par, const char* texbut,
                                     const char* text, float x, float y, float w, float h)
    : MWinScrollbar(mw, bid, par, MWIN_BUTTON_HORZ_SCROLLBAR, texbut, text, x, y, w, h)
{
    Reset();
}

MWinHorzScrollbar::~MWinHorzScrollbar()
{
    Reset();
}

void MWinHorzScrollbar::Reset()
{
    ResetScroll();
    brackets = 0;
}

double MWinHorzScrollbar::Snap(double x)
{
    if (snap <= 0)
        return x;
    if (snap == 1.0f)
        return EngMathRoundLong(x);
    const float tenths[4] = {0.1f, 0.01f, 0.001f, 0.0001f};
    const double scale[4] = {10, 100, 1000, 10000};
    for (int i = 0; i < 4; i++)
        if (snap == tenths[i])
            return EngMathRoundLong(x * scale[i]) * (double)snap;
    if (snap == 10.0f)
        return EngMathRoundLong(x / 10) * 10.0;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported snap value %f", snap);
    snap = 0;
    return x;
}

void MWinHorzScrollbar::SetPosDouble(double value, char drag, char force, char call)
{
    if (type != MWIN_BUTTON_HORZ_SCROLLBAR)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not a scrollbar [%s]", id);
        return;
    }
    MoveTo(value, drag, force, call);
}

void MWinHorzScrollbar::SetAutoText(char on, char keep_prefix, char br)
{
    prefix_length = (keep_prefix && texts[0]) ? text_len[0] : 0;
    if (on)
    {
        auto_text = 100;
        brackets = br;
        UpdateAutoText();
    }
    else
        auto_text = 0;
}

void MWinHorzScrollbar::SetAutoTextFloat(char on, int decimals, char keep_prefix, float multiplier, char br)
{
    prefix_length = (keep_prefix && texts[0]) ? text_len[0] : 0;
    if (decimals > 4)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Decimal places=%d not supported", decimals);
    if (on)
    {
        auto_text = (char)(decimals + 1);
        brackets = br;
        auto_mult = multiplier == 0 ? 1 : multiplier;
        UpdateAutoText();
    }
    else
        auto_text = 0;
}

void MWinHorzScrollbar::UpdateAutoText()
{
    if (!auto_text)
        return;
    char value[64];
    if (auto_text == 100)
        snprintf(value, sizeof(value), "%d", (int)pos);
    else
    {
        int dec = (auto_text >= 2 && auto_text <= 5) ? auto_text - 1 : 0;
        snprintf(value, sizeof(value), "%.*f", dec, pos * auto_mult);
    }
    char out[MWIN_BUTTON_MAX_TEXT + 80];
    int plen = prefix_length < text_len[0] ? prefix_length : text_len[0];
    if (plen > MWIN_BUTTON_MAX_TEXT)
        plen = MWIN_BUTTON_MAX_TEXT;
    if (plen > 0 && texts[0])
        snprintf(out, sizeof(out), brackets ? "%.*s [%s]" : "%.*s %s", plen, texts[0], value);
    else
        snprintf(out, sizeof(out), "%s", value);
    SetText(out);
}

// ---- Geometry ----

float MWinHorzScrollbar::ThumbLength()
{
    return LS(25) * GetAutoResizeScaleX();
}

float MWinHorzScrollbar::TrackStart()
{
    return actual_area.x + LS(30) + (choice_left_arrow ? LS(21) : 0);
}

float MWinHorzScrollbar::TrackLength()
{
    return actual_area.w - ThumbLength() - 2 * LS(30) - (choice_left_arrow ? 2 * LS(21) : 0);
}

float MWinHorzScrollbar::GetScreenXPos()
{
    if (max == min)
        return TrackStart();
    return TrackStart() + (float)((pos - min) * TrackLength() / (max - min));
}

double MWinHorzScrollbar::GetXPosFromScreen(float x)
{
    float len = TrackLength();
    if (len == 0)
        return 0;
    float c = x - ThumbLength() / 2;
    double v = min + (c - TrackStart()) * (max - min) / len;
    if (x >= actual_area.x && v < min)
        v = min;
    if (x < actual_area.x + actual_area.w && v > max)
        v = max;
    return v;
}

char MWinHorzScrollbar::IsMouseVieportCursorInButton()
{
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    float tx = GetScreenXPos();
    return my >= actual_area.y && my < actual_area.y + actual_area.h && mx >= tx && mx < tx + ThumbLength();
}

// ---- Drawing ----

void MWinHorzScrollbar::Render()
{
    if (!PrepareForRender())
        return;
    RenderNoPrepare();
    RestoreAfterRender();
}

void MWinHorzScrollbar::RenderNoPrepare()
{
    RenderNormalBack(GetRenderState());
    RenderButton();
    RenderText(GetRenderState());
}

void MWinHorzScrollbar::RenderButton()
{
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    float l21 = LS(21), l23 = LS(23), l24 = LS(24);
    float cy = actual_area.y + actual_area.h / 2 - l24 * GetAutoResizeScaleY() / 2;
    _MWinTextureState st = GetRenderState();
    if (choice_left_arrow)
        mwb::DrawStdTexBut(mwin, 5, st, actual_area.x + l23, cy, l21, l24, col);
    if (choice_right_arrow)
        mwb::DrawStdTexBut(mwin, 6, st, actual_area.x + actual_area.w - l21 - l23, cy, l21, l24, col);
    mwb::DrawStdTexBut(mwin, 9, MWIN_TEXSTATE_NORMAL, GetScreenXPos(), cy, ThumbLength(),
                       l24 * GetAutoResizeScaleY(), col);
}

// ---- Input ----

MWinScrollbar::AxisSpan MWinHorzScrollbar::GetAxisSpan()
{
    return {mwb::MouseX(mwin), actual_area.x, actual_area.w, GetScreenXPos(), ThumbLength()};
}

double MWinHorzScrollbar::PosFromScreen(float x)
{
    return GetXPosFromScreen(x);
}

char MWinHorzScrollbar::HandleMouseButtonDoubleClicked(char button)
{
    if (!ShouldHandleMouseButtonDoubleClicked(button))
        return 0;
    return HandleMouseButtonPressed(button, 1, 0);
}

void MWinHorzScrollbar::HandleMouseButtonPressCanceled()
{
    DraggingOver();
}

char MWinHorzScrollbar::HandleMouseMove()
{
    if (!ShouldHandleMouseMove() || !dragging)
        return 0;
    SetPosDouble(GetXPosFromScreen(mwb::MouseX(mwin) - drag_offset), 1, 0, 1);
    return 1;
}

char MWinHorzScrollbar::HandleMouseWheel(int delta)
{
    if (!ShouldHandleMouseWheel())
        return 0;
    // A callback may remove the bar: stop stepping as soon as it is gone.
    int steps = delta < 0 ? -delta : delta;
    for (int i = 0; i < steps; i++)
        if (!ArrowPress(delta < 0 ? 1 : 0))
            return 1;
    return 1;
}

char MWinHorzScrollbar::HandleKeyDown(int key)
{
    if (!ShouldHandleKeyDown())
        return 0;
    switch (key)
    {
    case 244:
        ArrowPress(0);
        break;
    case 245:
        ArrowPress(1);
        break;
    case 246:
    case 248:
        Jump(0);
        break;
    case 247:
    case 249:
        Jump(1);
        break;
    default:
        return PostHandleKeyDown(key, 0);
    }
    return 1; // a used key may have removed this widget
}

char MWinHorzScrollbar::KeepFocusOnMouseMove()
{
    return ShouldKeepFocusOnMouseMove() && dragging;
}

void MWinHorzScrollbar::Deactivate()
{
    DraggingOver();
    MWinButton::Deactivate();
}
