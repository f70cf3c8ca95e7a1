// The colour picker widget.
#include "MWinColourPicker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMiscValues.h"
#include "EngTexture.h"
#include "MWinButtonCore.h"
#include "MWinHorzScrollbar.h"

MWinColour::MWinColour(MWin* mw, const char* bid, MWinWindow* par, const char* texbut, const char* text,
                       float x, float y, float w, float h)
    : MWinButton(mw, bid, par, MWIN_BUTTON_COLOUR, texbut, text, x, y, w, h)
{
    for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
    {
        strips[i] = nullptr;
        scrollbars[i] = nullptr;
    }
    Reset();
    CreateScrollbarsIfNeeded();
}

MWinColour::~MWinColour()
{
    DeleteScrollbars();
    for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
    {
        free(strips[i]);
        strips[i] = nullptr;
    }
    Reset();
}

void MWinColour::DeleteScrollbars()
{
    for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
    {
        delete scrollbars[i];
        scrollbars[i] = nullptr;
    }
}

void MWinColour::ColourFromParts(float* r, float* g, float* b)
{
    const _MWinHueEntry* table = mwb::HueTable(mwin);
    int i = (int)hue;
    if (i < 0)
        i = 0;
    if (i > 255)
        i = 255;
    _MWinHueEntry e = table ? table[i] : _MWinHueEntry{1, 0, 0};
    float m = e.r > e.g ? e.r : e.g;
    if (e.b > m)
        m = e.b;
    float f = 1 - m;
    *r = ((e.r + f) * saturation + (1 - saturation)) * brightness;
    *g = ((e.g + f) * saturation + (1 - saturation)) * brightness;
    *b = ((e.b + f) * saturation + (1 - saturation)) * brightness;
}

void MWinColour::Reset()
{
    hue = 127.5f;
    saturation = 0.5f;
    brightness = 0.5f;
    cr = cg = cb = 0.5f;
    multiplier = 1;
    offset = 0;
    live = 1;
    if (mwin)
    {
        float s = hue;
        hue = 127;
        ColourFromParts(&cr, &cg, &cb);
        hue = s;
    }
    if (scrollbars[0] && scrollbars[1] && scrollbars[2])
        UpdateFromScrollbars(0);
}

char MWinColour::CreateScrollbarsIfNeeded()
{
    if (mwin && mwb::HasTextures(mwin))
    {
        for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
        {
            if (scrollbars[i])
                continue;
            char sid[ENG_ID_SIZE];
            snprintf(sid, sizeof(sid), "Colour_HS_%d", i);
            scrollbars[i] = new (std::nothrow) MWinHorzScrollbar(
                mwin, sid, parent, MWIN_TEXBUT_NONE, "", orig_area.x, orig_area.y, orig_area.w, orig_area.h);
            if (!scrollbars[i])
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
                continue;
            }
            scrollbars[i]->SetValuesFloat(0, i == 0 ? 255.0f : 1.0f, -1, -1);
            scrollbars[i]->SetCallback(&MWinColour_ScrollbarsCallback, i, 0, this, 0);
            scrollbars[i]->SetTransparency(0.6f);
            if (!strips[i])
            {
                strips[i] = (unsigned char*)calloc(MWIN_COLOUR_STRIP_BYTES, 1);
                if (!strips[i])
                    DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            }
        }
        PositionUpdated();
    }
    else
        DeleteScrollbars();
    UpdateFromScrollbars(0);
    return 1;
}

void MWinColour::PositionUpdated()
{
    float y = orig_area.y;
    float h = (orig_area.h - 4) / 3;
    for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
    {
        if (!scrollbars[i])
            continue;
        scrollbars[i]->SetOrigPos(orig_area.x, y, orig_area.w, h);
        y += h + 2;
    }
    MWinButton::PositionUpdated();
}

void MWinColour::UpdateVar()
{
    if (var.kind == MWIN_VAR_COLOUR_RGB && var.p_colour)
    {
        var.p_colour->r = cr * multiplier + offset;
        var.p_colour->g = cg * multiplier + offset;
        var.p_colour->b = cb * multiplier + offset;
    }
}

void MWinColour::CalcCurrentColour()
{
    if (mwin)
        ColourFromParts(&cr, &cg, &cb);
}

void MWinColour::UpdateFromCurrentValues(char call)
{
    if (!PaintStrips())
        return;
    CalcCurrentColour();
    UpdateVar();
    if (mwin)
        mwb::RenderNeeded(mwin);
    if (call && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.colour_flag = 0;
        for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
            if (scrollbars[i] && scrollbars[i]->IsDragging())
                info.colour_flag = 1;
        CallCallback(&info);
    }
}

void MWinColour::RepaintStrips()
{
    // The colour and the bound variable stay as they are: only the pictures
    // of the parts are drawn again.
    if (PaintStrips() && mwin)
        mwb::RenderNeeded(mwin);
}

char MWinColour::PaintStrips()
{
    MWinLayoutSettings* ls = GetLayoutSettings();
    if (!mwin || !ls)
        return 0;
    int bx = mwb::LayoutInt(ls, 59), by = mwb::LayoutInt(ls, 60);
    float border[3];
    mwb::ColourBorder(mwin, border);
    const _MWinHueEntry* table = mwb::HueTable(mwin);
    int hi = (int)hue;
    hi = hi < 0 ? 0 : hi > 255 ? 255 : hi;
    _MWinHueEntry H = table ? table[hi] : _MWinHueEntry{1, 0, 0};
    float S = saturation, V = brightness;
    float C[3] = {H.r * S + (1 - S), H.g * S + (1 - S), H.b * S + (1 - S)};
    for (int s = 0; s < MWIN_COLOUR_NUM_PARTS; s++)
    {
        unsigned char* buf = strips[s];
        if (!buf)
            continue;
        for (int y = 0; y < 32; y++)
        {
            for (int x = 0; x < 256; x++)
            {
                float u = x / 255.0f;
                float px[3];
                char edge = (bx > 0 && (x < bx || x >= 256 - bx)) || (by > 0 && (y < by || y >= 32 - by));
                if (edge)
                    memcpy(px, border, sizeof(px));
                else if (s == 0)
                {
                    _MWinHueEntry e = table ? table[x] : _MWinHueEntry{1, 0, 0};
                    px[0] = e.r;
                    px[1] = e.g;
                    px[2] = e.b;
                }
                else if (s == 1)
                {
                    px[0] = H.r * u + (1 - u) * V;
                    px[1] = H.g * u + (1 - u) * V;
                    px[2] = H.b * u + (1 - u) * V;
                }
                else
                {
                    px[0] = C[0] * u;
                    px[1] = C[1] * u;
                    px[2] = C[2] * u;
                }
                unsigned char* p = buf + y * 768 + x * 3;
                for (int k = 0; k < 3; k++)
                {
                    float v = px[k] < 0 ? 0 : px[k] > 1 ? 1 : px[k];
                    p[k] = (unsigned char)(v * 255);
                }
            }
        }
    }
    return 1;
}

char MWinColour::UpdateFromScrollbars(char call)
{
    if (!mwin)
        return 0;
    if (!scrollbars[0] || !scrollbars[1] || !scrollbars[2])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No scrollbars");
        return 0;
    }
    float h = scrollbars[0]->GetPosFloat();
    float s = scrollbars[1]->GetPosFloat();
    float v = scrollbars[2]->GetPosFloat();
    h = h < 0 ? 0 : h > 255 ? 255 : h;
    if (h == hue && s == saturation && v == brightness && !call)
        return 0;
    hue = h;
    saturation = s;
    brightness = v;
    UpdateFromCurrentValues(call);
    return 1;
}

void MWinColour::UpdatePartsFromValue()
{
    float h, s, v;
    EngMiscRGB2HSV(cr, cg, cb, &h, &s, &v);
    if (v != 0)
    {
        if (s != 0)
            hue = (1 - h) * 255;
        saturation = s;
        brightness = v;
    }
    else
        brightness = 0;
    if (scrollbars[0])
        scrollbars[0]->SetPosFloat(hue, 0);
    if (scrollbars[1])
        scrollbars[1]->SetPosFloat(saturation, 0);
    if (scrollbars[2])
        scrollbars[2]->SetPosFloat(brightness, 0);
    UpdateFromCurrentValues(0);
}

void MWinColour::Set(float r, float g, float b, char call)
{
    if (var.kind == MWIN_VAR_COLOUR_RGB && var.p_colour)
    {
        if (multiplier == 0)
            multiplier = 0.0001f;
        r = (r - offset) / multiplier;
        g = (g - offset) / multiplier;
        b = (b - offset) / multiplier;
    }
    // Out-of-range values are refused in either unit.
    if (r < 0 || r > 1 || g < 0 || g > 1 || b < 0 || b > 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid col R:%f G:%f B:%f (ID: %s)", r, g, b, id);
        return;
    }
    if (r != cr || g != cg || b != cb)
    {
        cr = r;
        cg = g;
        cb = b;
        UpdatePartsFromValue();
        // The parts round the colour through the strips: keep the one asked for.
        cr = r;
        cg = g;
        cb = b;
    }
    UpdateVar();
    if (call && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.colour_flag = 0;
        CallCallback(&info);
    }
}

void MWinColour::Set(const _ColourRGB* c, char call)
{
    if (c)
        Set(c->r, c->g, c->b, call);
    else
        Set(1, 1, 1, call);
}

void MWinColour::Get(float* r, float* g, float* b)
{
    if (r)
        *r = cr * multiplier + offset;
    if (g)
        *g = cg * multiplier + offset;
    if (b)
        *b = cb * multiplier + offset;
}

void MWinColour::Get(_ColourRGB* c)
{
    if (c)
        Get(&c->r, &c->g, &c->b);
}

char MWinColour::RegisterVariableMult(_ColourRGB* v, float mult, float off)
{
    if (!v)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Var not set");
        return 0;
    }
    RegisterColourRGBVariable(v);
    offset = off;
    multiplier = mult == 0 ? 0.00001f : mult;
    Set(v, 0);
    return 1;
}

void MWinColour::UpdateFromRegisteredVariable(char call)
{
    if (var.kind == MWIN_VAR_COLOUR_RGB && var.p_colour)
        Set(var.p_colour, call);
}

void MWinColour::Render()
{
    if (!mwin || !mwb::HasTextures(mwin) || !PrepareForRender())
        return;
    RenderNormalBack(GetRenderState());
    for (int i = 0; i < MWIN_COLOUR_NUM_PARTS; i++)
    {
        MWinHorzScrollbar* sb = scrollbars[i];
        if (!sb)
            continue;
        EngTexture* t = mwb::ColourStrip(mwin, i);
        if (t && t->IsOk() && strips[i])
        {
            t->SetTextureFromExternalPixelDataBuffer(strips[i], 0);
            t->PositionRatioedAndDraw(sb->GetActualArea()->x, sb->GetActualArea()->y, sb->GetActualArea()->w,
                                      sb->GetActualArea()->h);
        }
        sb->RenderNoPrepare();
    }
    RestoreAfterRender();
}

char MWinColour::HandleMouseButtonPressed(char button, char down, char third)
{
    // The press picks its strip itself: the pointer may have come onto the
    // picker in one motion, which focused the picker but no strip yet.
    if (down && button == 0 && TakesInput() && focused && enabled && shown && !AnyScrollbarDragging())
        FocusScrollbarUnderMouse();
    char used = 0;
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->HandleMouseButtonPressed(button, down, third))
            used = 1;
    return used;
}

char MWinColour::HandleMouseButtonDoubleClicked(char button)
{
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->ShouldHandleMouseButtonDoubleClicked(button))
            return 1;
    return 0;
}

void MWinColour::HandleMouseButtonPressCanceled()
{
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb)
            sb->HandleMouseButtonPressCanceled();
}

char MWinColour::HandleMouseWheel(int delta)
{
    char used = 0;
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->HandleMouseWheel(delta))
            used = 1;
    return used;
}

char MWinColour::HandleKeyDown(int)
{
    return 0;
}

char MWinColour::KeepFocusOnMouseMove()
{
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->KeepFocusOnMouseMove())
            return 1;
    return 0;
}

void MWinColour::Activate()
{
    MWinButton::Activate();
}

void MWinColour::Deactivate()
{
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb)
            sb->Deactivate();
    MWinButton::Deactivate();
}

char MWinColour::AnyScrollbarDragging() const
{
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->IsDragging())
            return 1;
    return 0;
}

MWinHorzScrollbar* MWinColour::FocusScrollbarUnderMouse()
{
    MWinHorzScrollbar* under = nullptr;
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && mwb::MouseInArea(mwin, sb->GetActualArea()))
            under = sb;
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb != under && sb->IsFocused())
            sb->Deactivate();
    if (under && !under->IsFocused())
        under->Activate();
    return under;
}

char MWinColour::HandleMouseMove()
{
    if (!parent)
        return 0;
    MWinHorzScrollbar* dragged = nullptr;
    for (MWinHorzScrollbar* sb : scrollbars)
        if (sb && sb->IsDragging())
            dragged = sb;
    dragging = dragged ? 1 : 0;
    if (dragged)
        return dragged->HandleMouseMove();
    MWinHorzScrollbar* under = FocusScrollbarUnderMouse();
    return under ? under->HandleMouseMove() : 0;
}

void MWinColour_ScrollbarsCallback(MWin*, _MWinButtonCallbackInfo*, int index, int, void* picker)
{
    MWinColour* p = static_cast<MWinColour*>(picker);
    if (p && p->GetScrollbar(index))
        p->UpdateFromScrollbars(1);
}
