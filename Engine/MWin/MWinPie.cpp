// The pie kind: value / maximum drawn as a sector over two discs.
#include <cmath>

#include "EngDevice.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

#define PIE_TRIANGLES 64

void MWinButton::PieReset()
{
    pie.value = 0.5f;
    pie.maximum = 1.0f;
    // Live so that its window draws it; TakesInput keeps it out of input and ticks.
    live = 1;
    mwb::PieColour(mwin, 1, &pie.colour1);
    mwb::PieColour(mwin, 2, &pie.colour2);
    mwb::PieColour(mwin, 3, &pie.colour3);
    PieUpdatePositions();
}

void MWinButton::PieSetValuesFloat(float value, float maximum)
{
    if (value > maximum || maximum <= 0 || value < 0)
        return;
    pie.value = value;
    pie.maximum = maximum;
    PieUpdatePositions();
    if (mwin)
        mwb::RenderNeeded(mwin);
}

void MWinButton::PieSetColours(float r1, float g1, float b1, float r2, float g2, float b2, float r3, float g3,
                               float b3)
{
    if (r1 >= 0)
        pie.colour1 = {r1, g1, b1};
    if (r2 >= 0)
        pie.colour2 = {r2, g2, b2};
    if (r3 >= 0)
        pie.colour3 = {r3, g3, b3};
    PieUpdatePositions();
}

char MWinButton::PieRegisterFloatVariable(float* p, float mult)
{
    if (!RegisterFloatVariable(p, mult))
        return 0;
    if (p)
    {
        float v = *p * mult;
        if (v < 0)
            v = 0;
        if (v > pie.maximum)
            v = pie.maximum;
        pie.value = v;
    }
    PieUpdatePositions();
    return 1;
}

void MWinButton::PieUpdateFromRegisteredVariable(char)
{
    if (var.kind == MWIN_VAR_FLOAT && var.p_float)
    {
        float v = *var.p_float * var.mult_float;
        if (v < 0)
            v = 0;
        if (v > pie.maximum)
            v = pie.maximum;
        pie.value = v;
    }
    PieUpdatePositions();
}

void MWinButton::PieUpdatePositions()
{
    if (!eng_main_device)
        return;
    EngTriangleList* lists[3] = {&pie.list1, &pie.list2, &pie.list3};
    for (EngTriangleList* l : lists)
    {
        if (!l->created && !l->Create(ENG_TRILIST_POS_COL, nullptr, PIE_TRIANGLES))
            return;
    }
    const int order[3] = {3, 1, 2};
    for (int layer : order)
    {
        if (!mwb::PieDrawLayer(mwin, layer))
            continue;
        const _Dimension& a = actual_area;
        float cx = a.x + a.w * 0.5f, cy = a.y + a.h * 0.5f;
        float rx = a.w * 0.5f, ry = a.h * 0.5f;
        float s46 = LS(46), s47 = LS(47);
        if (s46 != 0)
        {
            rx -= a.w * s46;
            ry -= a.h * s46;
        }
        if (layer != 3 && s47 != 0)
        {
            rx -= a.w * s47;
            ry -= a.h * s47;
        }
        if (rx < 1)
            rx = 1;
        if (ry < 1)
            ry = 1;
        float frac = 1.0f;
        if (layer == 1)
            frac = pie.maximum > 0 ? pie.value / pie.maximum : 0;
        EngTriangleList* l = layer == 1 ? &pie.list1 : layer == 2 ? &pie.list2 : &pie.list3;
        const _ColourRGB& c = layer == 1 ? pie.colour1 : layer == 2 ? pie.colour2 : pie.colour3;
        float alpha = colour_set ? colour.a : 1.0f;
        for (int j = 0; j < PIE_TRIANGLES; j++)
        {
            float a0 = (float)M_PI / 2 + j * 2 * (float)M_PI * frac / PIE_TRIANGLES;
            float a1 = (float)M_PI / 2 + (j + 1) * 2 * (float)M_PI * frac / PIE_TRIANGLES;
            l->SetPositionsRatioed((unsigned)j, cx + rx * sinf(-a0), cy + ry * cosf(a0), 0,
                                   cx + rx * sinf(-a1), cy + ry * cosf(a1), 0, cx, cy, 0);
            l->SetColour((unsigned)j, c.r, c.g, c.b, alpha);
        }
    }
}

void MWinButton::PieRenderButton(_MWinTextureState)
{
    if (!eng_main_device)
        return;
    int blend = mwb::PieBlendType(mwin);
    char saved = 0;
    if (blend >= 0)
    {
        saved = eng_main_device->SaveOrRestoreBlendingState(1);
        eng_main_device->EnableBlendingType(blend);
    }
    if (mwb::PieDrawLayer(mwin, 3) && pie.list3.created)
        pie.list3.SetupAndDraw();
    if (mwb::PieDrawLayer(mwin, 2) && pie.list2.created)
        pie.list2.SetupAndDraw();
    if (mwb::PieDrawLayer(mwin, 1) && pie.list1.created)
        pie.list1.SetupAndDraw();
    if (saved)
        eng_main_device->SaveOrRestoreBlendingState(0);
}

char MWinButton::PieCreateGraphicsObjects()
{
    PieUpdatePositions();
    return 1;
}

void MWinButton::PieDestroyGraphicsObjects()
{
    pie.list1.Destroy();
    pie.list2.Destroy();
    pie.list3.Destroy();
}
