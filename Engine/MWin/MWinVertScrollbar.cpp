// The vertical scrollbar widget.
#include "MWinVertScrollbar.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMath.h"
#include "MWinButtonCore.h"
#include "MWinScrollbarCommon.h"
#include "MWinWindow.h"

MWinVertScrollbar::MWinVertScrollbar(MWin* mw, const char* bid, MWinWindow* par, const char* texbut,
                                     const char* text, float x, float y, float w, float h)
    : MWinScrollbar(mw, bid, par, MWIN_BUTTON_VERT_SCROLLBAR, texbut, text, x, y, w, h)
{
    Reset();
    // The default range is usable; windows draw live widgets only.
    live = 1;
}

MWinVertScrollbar::~MWinVertScrollbar()
{
    Reset();
}

void MWinVertScrollbar::Reset()
{
    ResetScroll();
}

double MWinVertScrollbar::Snap(double x)
{
    if (snap <= 0)
        return x;
    if (snap == 1.0f)
        return EngMathRoundLong(x);
    const float tenths[3] = {0.1f, 0.01f, 0.001f};
    const double scale[3] = {10, 100, 1000};
    for (int i = 0; i < 3; i++)
        if (snap == tenths[i])
            return EngMathRoundLong(x * scale[i]) * (double)snap;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported snap value %f", snap);
    snap = 0;
    return x;
}

void MWinVertScrollbar::SetPosDouble(double value, char drag, char force, char call)
{
    if (type != MWIN_BUTTON_VERT_SCROLLBAR)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not a scrollbar [%s]", id);
        return;
    }
    MoveTo(value, drag, force, call);
}

void MWinVertScrollbar::SetAutoTextFloat(char on, int decimals, char keep_prefix, float multiplier)
{
    prefix_length = (keep_prefix && texts[0]) ? text_len[0] : 0;
    if (decimals > 3)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Decimal places=%d not supported", decimals);
    if (on)
    {
        auto_text = (char)(decimals + 1);
        auto_mult = multiplier == 0 ? 1 : multiplier;
        UpdateAutoText();
    }
    else
        auto_text = 0;
}

void MWinVertScrollbar::UpdateAutoText()
{
    if (!auto_text)
        return;
    char value[64];
    int dec = (auto_text >= 2 && auto_text <= 4) ? auto_text - 1 : 0;
    snprintf(value, sizeof(value), "%.*f", dec, GetPosDouble() * auto_mult);
    char out[MWIN_BUTTON_MAX_TEXT + 80];
    int plen = prefix_length < text_len[0] ? prefix_length : text_len[0];
    if (plen > MWIN_BUTTON_MAX_TEXT)
        plen = MWIN_BUTTON_MAX_TEXT;
    if (plen > 0 && texts[0])
        snprintf(out, sizeof(out), "%.*s [%s]", plen, texts[0], value);
    else
        snprintf(out, sizeof(out), "%s", value);
    SetText(out);
}

// ---- Geometry ----

float MWinVertScrollbar::TrackStart()
{
    return actual_area.y + LS(31) + (choice_left_arrow ? LS(21) : 0);
}

float MWinVertScrollbar::TrackLength()
{
    return actual_area.h - LS(27) - 2 * LS(31) - (choice_left_arrow ? 2 * LS(21) : 0);
}

float MWinVertScrollbar::GetScreenYPos()
{
    if (max == min)
        return TrackStart();
    return TrackStart() + (float)((pos - min) * TrackLength() / (max - min));
}

double MWinVertScrollbar::GetYPosFromScreen(float y)
{
    float len = TrackLength();
    if (len == 0)
        return 0;
    float c = y - LS(27) / 2;
    double v = min + (c - TrackStart()) * (max - min) / len;
    if (y >= actual_area.y && v < min)
        v = min;
    if (y < actual_area.y + actual_area.h && v > max)
        v = max;
    return v;
}

char MWinVertScrollbar::IsMouseVieportCursorInButton()
{
    float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    float ty = GetScreenYPos();
    return mx >= actual_area.x && mx < actual_area.x + actual_area.w && my >= ty && my < ty + LS(27);
}

// ---- Drawing ----

void MWinVertScrollbar::Render()
{
    if (!PrepareForRender())
        return;
    RenderNoPrepare();
    RestoreAfterRender();
}

void MWinVertScrollbar::RenderNoPrepare()
{
    RenderNormalBack(GetRenderState());
    RenderButton();
    RenderText(GetRenderState());
}

void MWinVertScrollbar::RenderButton()
{
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    float l21 = LS(21), l23 = LS(23), l26 = LS(26);
    float cx = actual_area.x + actual_area.w / 2 - l26 / 2;
    _MWinTextureState st = GetRenderState();
    if (choice_left_arrow)
        mwb::DrawStdTexBut(mwin, 5, st, cx, actual_area.y + l23, l26, l21, col);
    if (choice_right_arrow)
        mwb::DrawStdTexBut(mwin, 6, st, cx, actual_area.y + actual_area.h - l21 - l23, l26, l21, col);
    mwb::DrawStdTexBut(mwin, 11, MWIN_TEXSTATE_NORMAL, cx, GetScreenYPos(), l26, LS(27), col);
}

// ---- Input ----

MWinScrollbar::AxisSpan MWinVertScrollbar::GetAxisSpan()
{
    return {mwb::MouseY(mwin), actual_area.y, actual_area.h, GetScreenYPos(), LS(27)};
}

double MWinVertScrollbar::PosFromScreen(float y)
{
    return GetYPosFromScreen(y);
}

char MWinVertScrollbar::HandleMouseButtonDoubleClicked(char button)
{
    if (!ShouldHandleMouseButtonDoubleClicked(button))
        return 0;
    return HandleMouseButtonPressed(button, 1, 0);
}

void MWinVertScrollbar::HandleMouseButtonPressCanceled()
{
    DraggingOver();
}

char MWinVertScrollbar::HandleMouseMove()
{
    if (!ShouldHandleMouseMove() || !dragging)
        return 0;
    MWin* mw = mwin;
    SetPosDouble(GetYPosFromScreen(mwb::MouseY(mwin) - drag_offset), 1, 0, 1);
    if (mw)
        mwb::RenderNeeded(mw);
    return 1;
}

char MWinVertScrollbar::HandleMouseWheel(int delta)
{
    if (!ShouldHandleMouseWheel())
        return 0;
    MWin* mw = mwin;
    int steps = delta < 0 ? -delta : delta;
    for (int i = 0; i < steps; i++)
        if (!ArrowPress(delta < 0 ? 1 : 0))
            return 1;
    if (steps > 0 && mw)
        mwb::PlaySound(mw, MWIN_SOUND_KEY);
    return 1;
}

char MWinVertScrollbar::HandleKeyDown(int key)
{
    if (!ShouldHandleKeyDown())
        return 0;
    switch (key)
    {
    case 244:
    case 248:
        Jump(0);
        break;
    case 245:
    case 249:
        Jump(1);
        break;
    case 246:
        ArrowPress(0);
        break;
    case 247:
        ArrowPress(1);
        break;
    default:
        return PostHandleKeyDown(key, 0);
    }
    return 1; // a used key may have removed this widget
}

char MWinVertScrollbar::KeepFocusOnMouseMove()
{
    return ShouldKeepFocusOnMouseMove() && dragging;
}

void MWinVertScrollbar::Deactivate()
{
    _MWinButtonRef ref = {};
    if (moved_by_drag && HasCallback())
        MakeRef(&ref);
    DraggingOver();
    if (StillHere(&ref))
        MWinButton::Deactivate();
}

MWinVertScrollbar* MWinWindowAddVertScrollbar(MWinWindow* window, const char* id, const char* texbut,
                                              const char* text, float x, float y, float w, float h)
{
    if (!window)
        return nullptr;
    MWinVertScrollbar* b =
        new (std::nothrow) MWinVertScrollbar(window->GetMWin(), id, window, texbut, text, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    window->CompleteAddButton(b);
    return b;
}
