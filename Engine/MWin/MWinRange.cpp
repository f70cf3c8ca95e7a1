// The range kind: a bar with two handles selecting [lower, upper].
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

#define RANGE_PART_LEFT_OF_AREA 253
#define RANGE_PART_LEFT_OF_LOW 254
#define RANGE_PART_LOW_HANDLE 255
#define RANGE_PART_MIDDLE 0
#define RANGE_PART_HIGH_HANDLE 1
#define RANGE_PART_RIGHT_OF_HIGH 2
#define RANGE_PART_RIGHT_OF_AREA 3

namespace
{
char Held(int slot)
{
    return eng_key_down[slot] >= 2;
}
} // namespace

void MWinButton::RangeReset()
{
    range.minimum = 0;
    range.maximum = 1;
    range.lower = 0.25f;
    range.upper = 0.75f;
    range.gap = 0.1f;
    range.auto_text = 0;
    range.prefix_length = 0;
    range.changed_by_drag = 0;
    range.held = 254;
    range.drag_offset = 0;
}

char MWinButton::RangeSetLimits(float min, float max, float gap)
{
    if (gap == 0)
        gap = (max - min) / 10;
    if (min > max || gap >= max - min || gap < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters");
        return 0;
    }
    range.minimum = min;
    range.maximum = max;
    range.gap = gap;
    choice_left_arrow = choice_right_arrow = 0;
    live = 1;
    return 1;
}

char MWinButton::RangeGetAcualRangeValues(float* lo, float* hi)
{
    if (!lo || !hi)
        return 0;
    if (range.upper - range.lower <= 1.00001f * range.gap)
    {
        float v;
        if (range.lower == range.minimum)
            v = range.minimum;
        else if (range.upper == range.maximum)
            v = range.maximum;
        else
            v = range.lower + (range.upper - range.lower) / 2;
        *lo = *hi = v;
        return 1;
    }
    *lo = range.lower;
    *hi = range.upper;
    return 0;
}

char MWinButton::RangeGetRange(float* lo, float* hi)
{
    return RangeGetAcualRangeValues(lo, hi);
}

void MWinButton::RangeSetRange(float a, float b, char flag, char call)
{
    float lo = a < b ? a : b;
    if (lo < range.minimum)
        lo = range.minimum;
    float hi = b < range.maximum ? b : range.maximum;
    if (range.gap > hi - lo)
    {
        float half = (range.gap - (hi - lo)) / 2;
        lo -= half;
        hi += half;
        if (lo < range.minimum)
        {
            hi += range.minimum - lo;
            lo = range.minimum;
        }
        else if (hi > range.maximum)
        {
            lo -= hi - range.maximum;
            hi = range.maximum;
        }
    }
    _MWinButtonCallbackInfo info;
    if (lo == range.lower && hi == range.upper)
    {
        if (call && HasCallback())
        {
            FillCallbackInfo(&info);
            info.range_flag = flag;
            CallCallback(&info);
        }
        return;
    }
    range.lower = lo;
    range.upper = hi;
    RangeUpdateText();
    if (var.kind == MWIN_VAR_TWO_FLOATS && var.p_float && var.p_float2 && var.mult_float != 0)
    {
        float l, h;
        RangeGetAcualRangeValues(&l, &h);
        *var.p_float = l / var.mult_float;
        *var.p_float2 = h / var.mult_float;
    }
    if (flag)
        range.changed_by_drag = 1;
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && HasCallback())
    {
        FillCallbackInfo(&info);
        info.range_flag = flag;
        CallCallback(&info);
    }
}

void MWinButton::RangeSetAutoText(char on, char decimals, char prefix)
{
    range.prefix_length = (prefix && texts[0]) ? text_len[0] : 0;
    if (decimals < 1 || decimals > 3)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Decimal places=%d not supported", decimals);
    range.auto_text = on ? decimals + 1 : 0;
    RangeUpdateText();
}

void MWinButton::RangeUpdateText()
{
    if (!range.auto_text || !texts[0])
        return;
    float lo, hi;
    char one = RangeGetAcualRangeValues(&lo, &hi);
    char values[32];
    int dec = range.auto_text == 4 ? 3 : range.auto_text == 3 ? 2 : 1;
    if (one)
        snprintf(values, sizeof(values), "[%.*f]", dec, lo);
    else
        snprintf(values, sizeof(values), "[%.*f,%.*f]", dec, lo, dec, hi);
    char out[MWIN_BUTTON_MAX_TEXT + 40];
    int plen = range.prefix_length;
    if (plen > text_len[0])
        plen = text_len[0];
    if (plen > MWIN_BUTTON_MAX_TEXT)
        plen = MWIN_BUTTON_MAX_TEXT;
    if (plen > 0)
        snprintf(out, sizeof(out), "%.*s %s", plen, texts[0], values);
    else
        snprintf(out, sizeof(out), "%s", values);
    DoSetText(0, out);
}

char MWinButton::RangeRegisterTwoFloatVariables(float* p, float* q, float mult, char call)
{
    if (!RegisterTwoFloatVariables(p, q, mult))
        return 0;
    if (p && q)
        RangeSetRange(mult * *p, mult * *q, 0, call);
    return 1;
}

void MWinButton::RangeUpdateFromRegisteredVariables(char call)
{
    if (var.kind == MWIN_VAR_TWO_FLOATS && var.p_float && var.p_float2)
        RangeSetRange(var.mult_float * *var.p_float, var.mult_float * *var.p_float2, 0, call);
}

void MWinButton::RangeGetScreenXPos(float* low_x, float* high_x)
{
    float inset = LS(23), hw = LS(55);
    float lx, hx;
    if (range.maximum == range.minimum)
    {
        lx = actual_area.x + inset;
        hx = lx + hw;
    }
    else
    {
        float span = actual_area.w - 2 * inset - hw;
        float k = span / (range.maximum - range.minimum);
        lx = actual_area.x + inset + k * (range.lower - range.minimum);
        hx = actual_area.x + inset + k * (range.upper - range.minimum) + hw;
    }
    if (low_x)
        *low_x = lx;
    if (high_x)
        *high_x = hx;
}

float MWinButton::RangeGetXPosFromScreen(float x, unsigned char* part)
{
    float f = LS(54), inset = LS(23);
    float lx, hx;
    RangeGetScreenXPos(&lx, &hx);
    unsigned char p;
    if (x < actual_area.x)
        p = RANGE_PART_LEFT_OF_AREA;
    else if (x >= actual_area.x + actual_area.w)
        p = RANGE_PART_RIGHT_OF_AREA;
    else if (x < lx)
        p = RANGE_PART_LEFT_OF_LOW;
    else if (x >= hx)
        p = RANGE_PART_RIGHT_OF_HIGH;
    else if (x < lx + f)
        p = RANGE_PART_LOW_HANDLE;
    else if (x >= hx - f)
        p = RANGE_PART_HIGH_HANDLE;
    else
        p = RANGE_PART_MIDDLE;
    if (part)
        *part = p;
    if (dragging)
    {
        if (range.held == RANGE_PART_LOW_HANDLE)
            x += f;
        else if (range.held == RANGE_PART_HIGH_HANDLE)
            x -= f;
    }
    float div = actual_area.w - 2 * inset - 2 * f;
    if (div == 0)
        return 0;
    float v = (x - (actual_area.x + inset + f)) * (range.maximum - range.minimum) / div + range.minimum;
    if (v < range.minimum)
        v = range.minimum;
    if (v > range.maximum)
        v = range.maximum;
    return v;
}

// The toolkit's mouse x seen by this range, in the coordinates of its area.
static float RangeMouseX(MWin* mw)
{
    return mwb::MouseX(mw);
}

char MWinButton::RangeHandleMouseButtonPressed(char button, char down)
{
    if (button != 0 || !down)
    {
        RangeDraggingOver();
        return 1;
    }
    unsigned char part;
    float v = RangeGetXPosFromScreen(RangeMouseX(mwin), &part);
    if (part == RANGE_PART_MIDDLE || part == RANGE_PART_HIGH_HANDLE || part == RANGE_PART_LOW_HANDLE)
    {
        range.held = part;
        range.drag_offset = range.lower - v;
        dragging = 1;
        RangeHandleDragging();
    }
    else if (part == RANGE_PART_LEFT_OF_LOW)
        DebugInfo("JUMP LEFT");
    else if (part == RANGE_PART_RIGHT_OF_HIGH)
        DebugInfo("JUMP RIGHT");
    return 1;
}

void MWinButton::RangeDraggingOver()
{
    dragging = 0;
    if (range.changed_by_drag)
    {
        range.changed_by_drag = 0;
        RangeSetRange(range.lower, range.upper, 0, 1);
    }
}

void MWinButton::RangeHandleDragging()
{
    float v = RangeGetXPosFromScreen(RangeMouseX(mwin), nullptr);
    float lo = range.lower, hi = range.upper;
    if (range.held == RANGE_PART_LOW_HANDLE)
    {
        lo = v;
        if (hi < v + range.gap)
            hi = v + range.gap;
    }
    else if (range.held == RANGE_PART_HIGH_HANDLE)
    {
        hi = v;
        if (range.gap > v - lo)
            lo = v - range.gap;
    }
    else if (range.held == RANGE_PART_MIDDLE)
    {
        float w = hi - lo;
        lo = v + range.drag_offset;
        hi = lo + w;
        if (lo < range.minimum)
        {
            lo = range.minimum;
            hi = lo + w;
        }
        if (hi > range.maximum)
        {
            hi = range.maximum;
            lo = hi - w;
        }
    }
    else
        return;
    RangeSetRange(lo, hi, 1, 1);
}

char MWinButton::RangeHandleKeyDown(int key)
{
    float step = (range.maximum - range.minimum) / 100;
    float lo = range.lower, hi = range.upper;
    switch (key)
    {
    case 246:
        lo = hi = 0;
        break;
    case 247:
    {
        float w = hi - lo;
        lo = range.minimum + (range.maximum - range.minimum - w) / 2;
        hi = lo + w;
        break;
    }
    case 244:
    case 245:
    {
        float d = key == 244 ? -step : step;
        if (Held(229))
            lo += d;
        else if (Held(228))
            hi += d;
        else
        {
            lo += d;
            hi += d;
        }
        break;
    }
    default:
        return 0;
    }
    RangeSetRange(lo, hi, 0, 1);
    return 1;
}

void MWinButton::RangeRenderButton(_MWinTextureState state)
{
    float lx, hx;
    RangeGetScreenXPos(&lx, &hx);
    float e = LS(24), f = LS(54), inset = LS(23);
    if (lx >= hx || e <= 0)
        return;
    float y = actual_area.y + actual_area.h * 0.5f - e / 2;
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    if (hx - lx > 2 * f)
        mwb::DrawStdTexButPart(mwin, 9, state, lx + f, y, hx - lx - 2 * f, e, 0.25f, 0.75f, col);
    if (f > 0)
    {
        mwb::DrawStdTexButPart(mwin, 9, state, lx, y, f, e, 0, 0.25f, col);
        mwb::DrawStdTexButPart(mwin, 9, state, hx - f, y, f, e, 0.75f, 1, col);
    }
    if (f > 4 && e > 4)
    {
        mwb::DrawStdTexBut(mwin, 5, state, lx + inset, y + inset, f - 2 * inset, e - 2 * inset, col);
        mwb::DrawStdTexBut(mwin, 6, state, hx - f + inset, y + inset, f - 2 * inset, e - 2 * inset, col);
    }
}
