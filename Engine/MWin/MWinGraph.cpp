// The graph widget.
#include "MWinGraph.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngMain.h"
#include "MWin.h"
#include "MWinButtonCore.h"
#include "MWinFonts.h"
#include "MWinWindow.h"

namespace
{
char HaveDevice()
{
    return eng_main_device && eng_main_device->IsCreated();
}

// Two triangles filling the quadrilateral a b c d (in order round it).
void Quad(EngTriangleList* l, unsigned i, float ax, float ay, float bx, float by, float cx, float cy,
          float dx, float dy, const float* rgb)
{
    l->SetPositionsRatioed(i, ax, ay, 0, bx, by, 0, cx, cy, 0);
    l->SetPositionsRatioed(i + 1, ax, ay, 0, cx, cy, 0, dx, dy, 0);
    l->SetColour(i, rgb[0], rgb[1], rgb[2], 1);
    l->SetColour(i + 1, rgb[0], rgb[1], rgb[2], 1);
}

void Rect(EngTriangleList* l, unsigned i, float x0, float y0, float x1, float y1, const float* rgb)
{
    Quad(l, i, x0, y0, x1, y0, x1, y1, x0, y1, rgb);
}

char MakeList(EngTriangleList* l, unsigned count)
{
    if (l->created && l->count == count)
        return 1;
    l->Destroy();
    return l->Create(ENG_TRILIST_POS_COL, nullptr, count);
}
} // namespace

MWinGraph::MWinGraph(MWin* mw, const char* bid, MWinWindow* par, const char* texbut, float x, float y,
                     float w, float h)
    : MWinButton(mw, bid, par, MWIN_BUTTON_GRAPH, texbut, "", x, y, w, h), num_lines(0), lines(nullptr),
      marks(nullptr), mark_entries(0), labels(nullptr)
{
    Reset();
    // Windows draw live widgets only.
    live = 1;
}

MWinGraph::~MWinGraph()
{
    Free();
    DestroyLists();
}

void MWinGraph::Free()
{
    delete[] marks;
    marks = nullptr;
    mark_entries = 0;
    delete[] labels;
    labels = nullptr;
    delete[] lines;
    lines = nullptr;
    num_lines = 0;
}

void MWinGraph::Reset()
{
    Free();
    h_start = 0;
    h_end = 100;
    h_count = 0;
    v_min = 0;
    v_max = 100;
    v_count = 4;
    memset(label_pos, 0, sizeof label_pos);
    memset(&vlines, 0, sizeof vlines);
    blocks_offset_on = 0;
    blocks_start = blocks_width = 0;
    _MWinSettings* s = mwin ? mwin->GetSettings() : nullptr;
    style = s ? s->graph_default : 0;
    axis_bands = s ? s->stored_bytes2[0] : 1;
    mark_drawing = s ? s->stored_bytes2[1] : 1;
    for (int i = 0; i < 3; i++)
    {
        band_colour[i] = s ? s->stored_floats6[i] : 0.6f;
        tick_colour[i] = s ? s->stored_floats6[3 + i] : 0.6f;
        graph_colour[i] = s ? s->stored_floats3[i] : 1.0f;
    }
    margin = LS(48);
    line_width = LS(49);
    band_width = LS(50);
    tick_thickness = LS(51);
    tick_length = LS(52);
    block_gap = 0;
    CalcMarks();
}

void MWinGraph::DestroyLists()
{
    band_list.Destroy();
    line_list.Destroy();
    tick_list.Destroy();
    graph_list.Destroy();
}

void MWinGraph::DestroyGraphicsObjects()
{
    DestroyLists();
    MWinButton::DestroyGraphicsObjects();
}

void MWinGraph::SetStyle(int st, int bands, int mk, float mg, float lw, float bw, float tt, float tl,
                         float bg)
{
    if (st >= 0 && st <= 2)
        style = st;
    if (bands >= 0)
        axis_bands = (char)bands;
    if (mk >= 0)
        mark_drawing = mk;
    if (mg >= 0)
        margin = mg;
    if (lw >= 0)
        line_width = lw;
    if (bw >= 0)
        band_width = bw;
    if (tt >= 0)
        tick_thickness = tt;
    if (tl >= 0)
        tick_length = tl;
    if (bg >= 0)
        block_gap = bg;
}

void MWinGraph::SetColours(float br, float bg, float bb, float tr, float tg, float tb, float gr, float gg,
                           float gb)
{
    if (br >= 0)
        band_colour[0] = br, band_colour[1] = bg, band_colour[2] = bb;
    if (tr >= 0)
        tick_colour[0] = tr, tick_colour[1] = tg, tick_colour[2] = tb;
    if (gr >= 0)
        graph_colour[0] = gr, graph_colour[1] = gg, graph_colour[2] = gb;
    Layout();
}

void MWinGraph::SetTexts(const char* top, const char* bottom, const char* left, const char* right)
{
    if (!top && !bottom && !left && !right)
    {
        delete[] labels;
        labels = nullptr;
        return;
    }
    if (!labels)
    {
        labels = new (std::nothrow) char[4][32];
        if (!labels)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            return;
        }
    }
    const char* t[4] = {top, bottom, left, right};
    for (int i = 0; i < 4; i++)
        EngSafeStrcpy(labels[i], t[i] ? t[i] : "", 32);
}

void MWinGraph::SetVerticalLinesSettings(const _MWinGraphVerticalLinesInfo* info)
{
    if (info)
        vlines = *info;
    else
        memset(&vlines, 0, sizeof vlines);
    Layout();
}

void MWinGraph::SetBlocksOffset(float start, float width)
{
    if (width > 0)
    {
        blocks_offset_on = 1;
        blocks_start = start;
        blocks_width = width;
        Layout();
    }
    else
        blocks_offset_on = 0;
}

char MWinGraph::SetMarks(double hs, double he, int count, double vmin, double vmax, int vcount)
{
    int m = style == MWIN_GRAPH_BLOCKS ? 1 : 2;
    if (count < m || hs > he || vcount < m || vmin > vmax)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Parameters");
        return 0;
    }
    delete[] marks;
    marks = nullptr;
    mark_entries = 0;
    // The vertical ticks share the table, so it is sized for both axes.
    int entries = count + 1 > vcount ? count + 1 : vcount;
    marks = new (std::nothrow) _MWinGraphMark[entries]();
    if (!marks)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    mark_entries = entries;
    h_start = hs;
    h_end = he;
    h_count = count;
    v_min = vmin;
    v_max = vmax;
    v_count = vcount;
    CalcMarks();
    Layout();
    return 1;
}

void MWinGraph::CalcMarks()
{
    if (!marks)
        return;
    int m = style == MWIN_GRAPH_BLOCKS ? 1 : 2;
    if (!(h_end - h_start > 0) || !(h_count > m))
        h_count = m;
}

char MWinGraph::SetMarkValue(int index, double value)
{
    if (!marks)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Marks not setup");
        return 0;
    }
    if (index < 0 || index >= h_count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid horz mark num %d", index);
        return 0;
    }
    if (value < v_min || value > v_max)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning - Invalid vert val %f - cropping", value);
        value = value < v_min ? v_min : v_max;
    }
    marks[index].value = value;
    Layout();
    return 1;
}

double MWinGraph::GetVertMarkValue(int index)
{
    if (!marks)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Marks not setup");
        return 0;
    }
    if (index < 0 || index >= h_count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid horz mark num %d", index);
        return 0;
    }
    return marks[index].value;
}

int MWinGraph::CalcGuideLines(double mn, double mx, double* step_out, double* values, int max_values)
{
    if (step_out)
        *step_out = 0;
    const double r = mx - mn;
    const double limits[9] = {200000, 20000, 2000, 200, 20, 2, 0.2, 0.02, 0.002};
    const double steps[9] = {100000, 10000, 1000, 100, 10, 1, 0.1, 0.01, 0.001};
    double s = 0;
    for (int i = 0; i < 9 && s == 0; i++)
        if (r > limits[i])
            s = steps[i];
    if (s == 0)
        return 0;
    // The multiples of the step strictly inside the range (for a range from 0
    // these are step, 2 x step, ... below the maximum).
    double k0 = std::floor(mn / s + 1e-9) + 1, k1 = std::ceil(mx / s - 1e-9) - 1;
    double c = k1 - k0 + 1;
    if (c > MWIN_GRAPH_MAX_GUIDE_LINES)
    {
        DebugErrorAlt("MWinGraph::PositionUpdated", "VLines problem");
        return 0;
    }
    int count = c > 0 ? int(c) : 0;
    if (step_out)
        *step_out = s;
    for (int k = 0; k < count && k < max_values; k++)
        if (values)
            values[k] = (k0 + k) * s;
    return count;
}

int MWinGraph::Segments() const
{
    return style == MWIN_GRAPH_BLOCKS ? h_count : h_count - 1;
}

void MWinGraph::PositionUpdated()
{
    Layout();
}

void MWinGraph::Layout()
{
    const _Dimension a = actual_area;
    const float X0 = a.x + margin, X1 = a.x + a.w - margin, Y0 = a.y + margin, Yb = a.y + a.h - margin;
    const float B = band_width, T = tick_thickness, L = tick_length;
    const float Ya = Yb - B, P = Ya - Y0;
    label_pos[0] = {X0 - L - 3, Y0};
    label_pos[1] = {X0 - L - 3, Ya};
    label_pos[2] = {X0 + B, Yb + L + 3};
    label_pos[3] = {X1, Yb + L + 3};

    const int n = Segments();
    if (marks)
    {
        for (int k = 0; k <= n && k < mark_entries && n > 0; k++)
            marks[k].x_offset = (X0 + T / 2 + k * (X1 - X0 - T) / n) / 320.0;
        if (v_count > 1)
            for (int k = 0; k < v_count && k < mark_entries; k++)
                marks[k].y_offset = (Yb - T / 2 - k * (Yb - Y0 - T) / (v_count - 1)) / -240.0f;
    }

    delete[] lines;
    lines = nullptr;
    num_lines = 0;
    if (vlines.on)
    {
        double step = 0;
        double values[MWIN_GRAPH_MAX_GUIDE_LINES];
        int c = CalcGuideLines(v_min, v_max, &step, values, MWIN_GRAPH_MAX_GUIDE_LINES);
        if (c > 0)
            lines = new (std::nothrow) _MWinGraphGuideLine[c]();
        if (lines)
        {
            num_lines = c;
            const double r = v_max - v_min;
            for (int k = 0; k < c; k++)
            {
                snprintf(lines[k].label, sizeof lines[k].label, vlines.label_format == 2 ? "%.2f" : "%.0f",
                         values[k]);
                lines[k].y = float(Yb - T / 2 - (values[k] - v_min) / r * P);
                lines[k].offset = lines[k].y / -240.0f;
            }
        }
    }

    if (!HaveDevice())
        return;
    if (!MakeList(&band_list, 4) || !MakeList(&tick_list, 4))
        return;
    Rect(&band_list, 0, X0, Y0, X0 + B, Yb, band_colour);
    Rect(&band_list, 2, X0, Ya, X1, Yb, band_colour);
    Rect(&tick_list, 0, X0 - L, -T / 2, X0, T / 2, tick_colour);
    Rect(&tick_list, 2, -T / 2, Yb, T / 2, Yb + L, tick_colour);
    if (vlines.on)
    {
        if (!MakeList(&line_list, 2))
            return;
        float rgb[3] = {vlines.colour.r, vlines.colour.g, vlines.colour.b};
        Rect(&line_list, 0, X0, -vlines.thickness / 2, X1, vlines.thickness / 2, rgb);
    }
    if (n < 1 || !marks)
    {
        graph_list.Destroy();
        return;
    }
    graph_list.Destroy();
    if (!graph_list.Create(ENG_TRILIST_POS_COL, nullptr, unsigned(2 * n)))
        return;
    auto height = [&](double v)
    { return v_max == v_min ? Ya : float(Ya - (v - v_min) / (v_max - v_min) * P); };
    for (int i = 0; i < n; i++)
    {
        float xa = X0 + B + i * (X1 - X0 - B) / n, xb = X0 + B + (i + 1) * (X1 - X0 - B) / n;
        unsigned t = unsigned(2 * i);
        if (style == MWIN_GRAPH_LINE)
        {
            float ya = height(marks[i].value), yb = height(marks[i + 1].value);
            float ang = std::atan2(ya - yb, xb - xa);
            float dx = std::sin(ang) * line_width / 2, dy = std::cos(ang) * line_width / 2;
            Quad(&graph_list, t, xa - dx, ya - dy, xb - dx, yb - dy, xb + dx, yb + dy, xa + dx, ya + dy,
                 graph_colour);
        }
        else if (style == MWIN_GRAPH_FILLED)
            Quad(&graph_list, t, xa, height(marks[i].value), xb, height(marks[i + 1].value), xb, Ya, xa, Ya,
                 graph_colour);
        else if (style == MWIN_GRAPH_BLOCKS)
        {
            float w = xb - xa;
            float inset = w > block_gap / 2 ? block_gap / 2 : 0;
            float x0 = xa + inset, x1 = xb - inset;
            if (blocks_offset_on)
            {
                x0 = xa + w * blocks_start + inset;
                x1 = xa + w * blocks_start + w * blocks_width - inset;
            }
            Rect(&graph_list, t, x0, height(marks[i].value), x1, Ya, graph_colour);
        }
    }
}

void MWinGraph::Render()
{
    if (!PrepareForRender())
        return;
    RenderNormalBack(GetRenderState());
    RestoreAfterRender();
    if (!HaveDevice())
        return;
    if (axis_bands && band_list.created)
        band_list.SetupAndDraw();
    if (mark_drawing > 0 && marks && tick_list.created)
    {
        eng_main_device->PushTransformMatrix();
        int vn = v_count < mark_entries ? v_count : mark_entries;
        for (int k = 0; k < vn; k++)
            if (mark_drawing == 2 || k == 0 || k == vn - 1)
            {
                eng_main_device->SetTransformMatrixPos(0, marks[k].y_offset, 0);
                tick_list.SetupAndDrawPart(0, 2);
            }
        int hn = style == MWIN_GRAPH_BLOCKS ? h_count + 1 : h_count;
        if (hn > mark_entries)
            hn = mark_entries;
        for (int k = 0; k < hn; k++)
            if (mark_drawing == 2 || k == 0 || k == hn - 1)
            {
                eng_main_device->SetTransformMatrixPos(float(marks[k].x_offset), 0, 0);
                tick_list.SetupAndDrawPart(2, 2);
            }
        eng_main_device->PopTransformMatrix();
    }
    if (vlines.on && num_lines > 0 && line_list.created)
    {
        eng_main_device->PushTransformMatrix();
        for (int k = 0; k < num_lines; k++)
        {
            eng_main_device->SetTransformMatrixPos(0, lines[k].offset, 0);
            line_list.SetupAndDraw();
        }
        eng_main_device->PopTransformMatrix();
    }
    if (graph_list.created)
        graph_list.SetupAndDraw();

    UpdateTextFontColourAndScale();
    if (!labels || font_num < 0)
        return;
    EngFont* font = mwb::UserFont(mwin, font_num);
    if (!font)
        return;
    // The label places are in the 640 x 480 space.
    char opened = 0;
    EngFontPrepareForDrawingWithOrientationIfNeeded(1, &opened);
    font->DrawStringAlign(label_pos[0].x, label_pos[0].y, 2, 1, labels[0], 0);
    font->DrawStringAlign(label_pos[1].x, label_pos[1].y, 2, 2, labels[1], 0);
    font->DrawStringAlign(label_pos[2].x, label_pos[2].y, 1, 0, labels[2], 0);
    font->DrawStringAlign(label_pos[3].x, label_pos[3].y, 1, 0, labels[3], 0);
    if (vlines.on && vlines.labels_on)
    {
        font->SetColour(&vlines.label_colour);
        font->SetScale(vlines.label_scale_x, vlines.label_scale_y);
        for (int k = 0; k < num_lines; k++)
            if (lines[k].y > label_pos[0].y + 20 && lines[k].y < label_pos[1].y - 20)
                font->DrawStringAlign(label_pos[0].x, lines[k].y, 2, 1, lines[k].label, 0);
    }
    if (opened)
        EngFontRestoreAfterDrawing();
}

MWinGraph* MWinWindowAddGraph(MWinWindow* window, const char* id, const char* texbut, float x, float y,
                              float w, float h)
{
    if (!window)
        return nullptr;
    MWinGraph* b = new (std::nothrow) MWinGraph(window->GetMWin(), id, window, texbut, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    window->CompleteAddButton(b);
    return b;
}
