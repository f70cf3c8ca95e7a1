// Draws the game's pictures (skin atlas, title, board masks, marks, print grid)
// procedurally and writes them into a folder.
// Usage: ArtTool [output folder]   (default "resources")
//        ArtTool --icon file.png    (the desktop's 256 x 256 icon)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "Engine/EngJpeg.h"
#include "Engine/EngTga.h"

namespace
{

struct Rgba
{
    float r, g, b, a;
};

Rgba Hex(uint32_t rgb, float a = 1)
{
    return {float((rgb >> 16) & 255) / 255.0f, float((rgb >> 8) & 255) / 255.0f, float(rgb & 255) / 255.0f,
            a};
}

Rgba Grey(float v, float a = 1)
{
    return {v, v, v, a};
}

Rgba Mix(Rgba p, Rgba q, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

Rgba WithAlpha(Rgba c, float a)
{
    c.a *= a;
    return c;
}

// Straight-alpha RGBA picture, rows top to bottom.
struct Canvas
{
    int w, h;
    std::vector<Rgba> px;
    Canvas(int w_, int h_, Rgba fill = {0, 0, 0, 0}) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}

    Rgba& At(int x, int y) { return px[size_t(y) * w + x]; }

    void Blend(int x, int y, Rgba c, float cover)
    {
        float a = c.a * cover;
        if (a <= 0)
            return;
        Rgba& d = At(x, y);
        float oa = a + d.a * (1 - a);
        if (oa <= 0)
            return;
        d.r = (c.r * a + d.r * d.a * (1 - a)) / oa;
        d.g = (c.g * a + d.g * d.a * (1 - a)) / oa;
        d.b = (c.b * a + d.b * d.a * (1 - a)) / oa;
        d.a = oa;
    }
};

using Sdf = std::function<float(float, float)>;
using Paint = std::function<Rgba(float, float)>;

// Fills the shape sdf < 0 inside the pixel box, antialiased over one pixel
// (the distance is normalised by its own gradient, so any unit works).
// soft widens the edge to that many pixels (shadows and glows).
void Fill(Canvas& c, float x0, float y0, float x1, float y1, const Sdf& sdf, const Paint& paint,
          float soft = 1)
{
    int ix0 = std::max(0, int(std::floor(x0))), iy0 = std::max(0, int(std::floor(y0)));
    int ix1 = std::min(c.w, int(std::ceil(x1))), iy1 = std::min(c.h, int(std::ceil(y1)));
    for (int y = iy0; y < iy1; y++)
        for (int x = ix0; x < ix1; x++)
        {
            float px = x + 0.5f, py = y + 0.5f;
            float d = sdf(px, py);
            float gx = sdf(px + 0.5f, py) - sdf(px - 0.5f, py);
            float gy = sdf(px, py + 0.5f) - sdf(px, py - 0.5f);
            float g = std::hypot(gx, gy);
            if (g < 1e-6f)
                g = 1e-6f;
            float cover = std::clamp(0.5f - d / g / soft, 0.0f, 1.0f);
            if (cover > 0)
                c.Blend(x, y, paint(px, py), cover);
        }
}

void FillColour(Canvas& c, float x0, float y0, float x1, float y1, const Sdf& sdf, Rgba col, float soft = 1)
{
    Fill(
        c, x0, y0, x1, y1, sdf, [col](float, float) { return col; }, soft);
}

// Rectangle in pixels; sx, sy are screen units per pixel, so a radius or a
// width in units looks the same along both axes once the piece is stretched.
struct Box
{
    float x0, y0, x1, y1;
    float sx = 1, sy = 1;

    Box Inset(float units) const
    {
        return {x0 + units / sx, y0 + units / sy, x1 - units / sx, y1 - units / sy, sx, sy};
    }
    float Cx() const { return (x0 + x1) / 2; }
    float Cy() const { return (y0 + y1) / 2; }
};

Sdf RoundRect(Box b, float r)
{
    return [b, r](float x, float y)
    {
        float hx = (b.x1 - b.x0) / 2 * b.sx, hy = (b.y1 - b.y0) / 2 * b.sy;
        float rr = std::min(r, std::min(hx, hy));
        float qx = std::fabs((x - b.Cx()) * b.sx) - hx + rr;
        float qy = std::fabs((y - b.Cy()) * b.sy) - hy + rr;
        return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - rr;
    };
}

// Distance to a polyline (points in pixels) measured in units, minus half the width.
Sdf Stroke(std::vector<std::pair<float, float>> pts, float half_w, float sx = 1, float sy = 1)
{
    return [pts, half_w, sx, sy](float x, float y)
    {
        float best = 1e9f;
        for (size_t i = 0; i + 1 < pts.size(); i++)
        {
            float ax = pts[i].first * sx, ay = pts[i].second * sy;
            float bx = pts[i + 1].first * sx, by = pts[i + 1].second * sy;
            float px = x * sx - ax, py = y * sy - ay, dx = bx - ax, dy = by - ay;
            float t = std::clamp((px * dx + py * dy) / std::max(dx * dx + dy * dy, 1e-9f), 0.0f, 1.0f);
            best = std::min(best, std::hypot(px - dx * t, py - dy * t));
        }
        return best - half_w;
    };
}

Sdf Union(std::vector<Sdf> parts)
{
    return [parts](float x, float y)
    {
        float d = 1e9f;
        for (const Sdf& s : parts)
            d = std::min(d, s(x, y));
        return d;
    };
}

Sdf Grow(Sdf s, float by)
{
    return [s, by](float x, float y) { return s(x, y) - by; };
}

Sdf Shift(Sdf s, float dx, float dy)
{
    return [s, dx, dy](float x, float y) { return s(x - dx, y - dy); };
}

// ---- Plates: rounded rectangles with a border and a vertical gradient ----

struct PlateStyle
{
    Rgba border, top, bottom;
    float border_w; // units
    float radius;   // units
    float alpha;
    Rgba inner_ring; // drawn just inside the border when its alpha is above 0
    float gloss;     // white sheen over the upper half
};

const PlateStyle BUTTON_NORMAL = {Hex(0x7f8b98), Hex(0xfdfefe), Hex(0xd9dfe6), 0.9f, 5, 1,
                                  Grey(1, 0.7f), 0.35f};
const PlateStyle BUTTON_FOCUS = {Hex(0x2f7fd6),       Hex(0xffffff), Hex(0xe3eefa), 1.2f, 5, 1,
                                 Hex(0x8cc0f2, 0.8f), 0.4f};
const PlateStyle BUTTON_PRESSED = {
    Hex(0x2d6cb5), Hex(0xbccbdb), Hex(0xe1e9f1), 1.1f, 5, 1, Grey(0, 0.12f), 0};
// Disabled pieces stay opaque: the loader premultiplies alpha, which would
// darken a see-through face under ordinary alpha blending.
const PlateStyle BUTTON_DISABLED = {Hex(0xc2c8ce), Hex(0xd9dde1), Hex(0xd3d7dc), 0.8f, 5, 1, Grey(0, 0), 0};
const PlateStyle* const BUTTON_STATES[4] = {&BUTTON_NORMAL, &BUTTON_FOCUS, &BUTTON_PRESSED, &BUTTON_DISABLED};

void DrawPlate(Canvas& c, Box b, const PlateStyle& s)
{
    float a = s.alpha;
    FillColour(c, b.x0, b.y0, b.x1, b.y1, RoundRect(b, s.radius), WithAlpha(s.border, a));
    Box face = b.Inset(s.border_w);
    float fy0 = face.y0, fy1 = face.y1;
    Rgba top = s.top, bottom = s.bottom;
    Fill(c, face.x0, face.y0, face.x1, face.y1, RoundRect(face, s.radius - s.border_w),
         [=](float, float y) { return WithAlpha(Mix(top, bottom, (y - fy0) / (fy1 - fy0)), a); });
    if (s.inner_ring.a > 0)
    {
        Box in = face.Inset(0.7f);
        Sdf outer = RoundRect(face, s.radius - s.border_w);
        Sdf inner = RoundRect(in, s.radius - s.border_w - 0.7f);
        FillColour(
            c, face.x0, face.y0, face.x1, face.y1,
            [=](float x, float y) { return std::max(outer(x, y), -inner(x, y)); },
            WithAlpha(s.inner_ring, a));
    }
    if (s.gloss > 0)
    {
        Box g = face.Inset(1.0f);
        float mid = (face.y0 + face.y1) / 2;
        float gy0 = g.y0;
        Fill(c, g.x0, g.y0, g.x1, mid, RoundRect(g, s.radius - s.border_w - 1),
             [=](float, float y) { return Grey(1, s.gloss * a * (1 - (y - gy0) / (mid - gy0))); });
    }
}

// ---- Buttons.png: the skin atlas ----

const int ATLAS = 512;

// Texture-coordinate rectangle to pixels; the unit scales come from the
// texture button's corner fraction and corner size (vertical sizes are drawn
// 1.333333 times larger), so corners look round once sliced.
Box Tc(float u0, float v0, float u1, float v1)
{
    return {u0 * ATLAS, v0 * ATLAS, u1 * ATLAS, v1 * ATLAS};
}

Box Sliced(Box b, float hfrac, float hsize, float vfrac, float vsize)
{
    b.sx = hsize / (hfrac * (b.x1 - b.x0));
    b.sy = vsize * 1.333333f / (vfrac * (b.y1 - b.y0));
    return b;
}

// Unsliced piece shown over a w x h area of screen units.
Box Shown(Box b, float w, float h)
{
    b.sx = w / (b.x1 - b.x0);
    b.sy = h / (b.y1 - b.y0);
    return b;
}

void DrawChevron(Canvas& c, Box b, float dir_x, float dir_y, float size, float half_w, Rgba col, float dy = 0)
{
    // dir points where the chevron points; size in units.
    float cx = b.Cx() * b.sx, cy = b.Cy() * b.sy + dy;
    float tipx = cx + dir_x * size * 0.45f, tipy = cy + dir_y * size * 0.45f;
    float backx = cx - dir_x * size * 0.45f, backy = cy - dir_y * size * 0.45f;
    float px = -dir_y * size * 0.9f, py = dir_x * size * 0.9f;
    std::vector<std::pair<float, float>> pts = {{(backx + px) / b.sx, (backy + py) / b.sy},
                                                {tipx / b.sx, tipy / b.sy},
                                                {(backx - px) / b.sx, (backy - py) / b.sy}};
    FillColour(c, b.x0, b.y0, b.x1, b.y1, Stroke(pts, half_w, b.sx, b.sy), col);
}

void DrawAtlas(Canvas& c)
{
    // Upper left: the framed panel (Back1) holding the popup panel (Back2,
    // TitleBack and the standard window pieces cut from it).
    Box back1 = Sliced(Tc(0.001f, 0.001f, 0.499f, 0.499f), 0.19f, 10, 0.19f, 10);
    FillColour(c, back1.x0, back1.y0, back1.x1, back1.y1, RoundRect(back1, 7), Hex(0x4b5663));
    Box mat = back1.Inset(1.1f);
    float my0 = mat.y0, my1 = mat.y1;
    Fill(c, mat.x0, mat.y0, mat.x1, mat.y1, RoundRect(mat, 6),
         [=](float, float y) { return Mix(Hex(0xc3ccd5), Hex(0xa7b2bd), (y - my0) / (my1 - my0)); });
    Box back2 = Sliced(Tc(0.033f, 0.035f, 0.468f, 0.468f), 0.1f, 6, 0.11f, 6);
    DrawPlate(c, back2, {Hex(0x6c7885), Hex(0xf8fafb), Hex(0xe3e8ed), 0.8f, 4.5f, 1, Grey(1, 0.8f), 0});

    // Upper right: "Main" in its four states.
    const float main_v[4][2] = {{0.003f, 0.124f}, {0.126f, 0.249f}, {0.251f, 0.374f}, {0.376f, 0.499f}};
    for (int s = 0; s < 4; s++)
        DrawPlate(c, Sliced(Tc(0.501f, main_v[s][0], 0.999f, main_v[s][1]), 0.09f, 6, 0.25f, 5),
                  *BUTTON_STATES[s]);

    // Lower left: the dark strip (Back3) and the round arrow buttons.
    Box back3 = Sliced(Tc(0.0f, 0.503f, 0.498f, 0.624f), 0.15f, 7, 0.15f, 3);
    DrawPlate(c, back3,
              {Grey(1, 0.35f), Hex(0x2a333d, 0.62f), Hex(0x161c22, 0.62f), 0.6f, 3, 1, Grey(0, 0), 0});
    const float arrow_u[4][2] = {{0.002f, 0.124f}, {0.127f, 0.249f}, {0.251f, 0.374f}, {0.376f, 0.498f}};
    const Rgba arrow_ink[4] = {Hex(0x34404c), Hex(0x1f6fc4), Hex(0x26303a), Hex(0xa3acb5)};
    for (int s = 0; s < 4; s++)
    {
        Box a = Shown(Tc(arrow_u[s][0], 0.628f, arrow_u[s][1], 0.875f), 40, 40);
        Box plate = a.Inset(1.2f);
        PlateStyle st = *BUTTON_STATES[s];
        st.radius = 40;
        st.border_w = s == 1 ? 1.6f : 1.2f;
        DrawPlate(c, plate, st);
        DrawChevron(c, a, -1, 0, 16, 2.0f, arrow_ink[s], s == 2 ? 0.8f : 0);
    }

    // Below the arrows: the popups' title strip (TitleBack), dark so that a
    // faint white title reads on it.
    Box title = Sliced(Tc(0.002f, 0.879f, 0.498f, 0.998f), 0.13f, 7, 0.11f, 4);
    DrawPlate(c, title, {Hex(0x10151b), Hex(0x34404c), Hex(0x1f262e), 0.8f, 4, 1, Grey(1, 0.1f), 0});

    // Lower right: "Panel" states, with the scrollbar, check box, colour and
    // list-arrow pieces on top.
    const float panel_v[4][2] = {{0.503f, 0.624f}, {0.625f, 0.751f}, {0.752f, 0.879f}, {0.879f, 1.0f}};
    const PlateStyle panel_states[4] = {
        {Hex(0x8e99a5), Hex(0xe6eaee), Hex(0xf6f8fa), 0.8f, 4, 1, Grey(0, 0.06f), 0},
        {Hex(0x2f7fd6), Hex(0xeef4fb), Hex(0xfbfdff), 1.1f, 4, 1, Hex(0x8cc0f2, 0.6f), 0},
        {Hex(0x56636f), Hex(0xcfd6de), Hex(0xe6eaee), 0.9f, 4, 1, Grey(0, 0.12f), 0},
        {Hex(0xb3bac2), Hex(0xe4e7ea), Hex(0xeaedef), 0.7f, 4, 1, Grey(0, 0), 0}};
    for (int s = 0; s < 4; s++)
        DrawPlate(
            c, Sliced(Tc(0.503f, panel_v[s][0], s == 0 ? 0.996f : 1.0f, panel_v[s][1]), 0.09f, 5, 0.31f, 7),
            panel_states[s]);

    // The check box is unused by the game; the scrollbar track wins where they overlap.
    Box uncheck = Shown(Tc(0.511f, 0.635f, 1.0f, 0.746f), 16, 16);
    DrawPlate(c, uncheck.Inset(0.6f),
              {Hex(0x707c89), Hex(0xffffff), Hex(0xe9edf1), 1.1f, 3, 1, Grey(0, 0), 0});

    Box vtrack = Tc(0.688f, 0.507f, 0.746f, 0.747f);
    vtrack.sx = 14 / (vtrack.x1 - vtrack.x0);
    vtrack.sy = 13 * 1.333333f / (0.14f * (vtrack.y1 - vtrack.y0));
    DrawPlate(c, vtrack, {Hex(0x9aa5b1), Hex(0xc7cfd7), Hex(0xdde3e8), 0.8f, 6, 1, Grey(0, 0.08f), 0});
    Box vthumb = Tc(0.628f, 0.508f, 0.682f, 0.616f);
    vthumb.sx = 12 / (vthumb.x1 - vthumb.x0);
    vthumb.sy = 4 * 1.333333f / (0.15f * (vthumb.y1 - vthumb.y0));
    DrawPlate(c, vthumb, {Hex(0x5f6b78), Hex(0xb4bec8), Hex(0x8e9aa7), 0.8f, 5, 1, Grey(1, 0.35f), 0});

    Box black = Sliced(Tc(0.649f, 0.774f, 0.726f, 0.851f), 0.08f, 3, 0.08f, 2);
    FillColour(c, black.x0, black.y0, black.x1, black.y1, RoundRect(black, 2), Grey(0));
    Box white = Sliced(Tc(0.774f, 0.774f, 0.851f, 0.851f), 0.08f, 3, 0.08f, 2);
    FillColour(c, white.x0, white.y0, white.x1, white.y1, RoundRect(white, 2), Grey(1));

    const float list_u[2][2] = {{0.751f, 0.874f}, {0.876f, 0.999f}};
    for (int i = 0; i < 2; i++)
    {
        Box a = Shown(Tc(list_u[i][0], 0.876f, list_u[i][1], 0.999f), 16, 16);
        DrawPlate(c, a.Inset(0.4f), BUTTON_NORMAL);
        DrawChevron(c, a, 0, i == 0 ? -1 : 1, 7, 1.2f, Hex(0x34404c, 0.9f));
    }
}

// ---- TitleButton.png: the game's title ----

using Pts = std::vector<std::pair<float, float>>;

// Letters as strokes in a 0..1 box (y down); the U's bowl is a half circle.
Sdf Letter(char ch, float x, float y, float w, float h, float half_w)
{
    auto P = [&](float u, float v) { return std::make_pair(x + u * w, y + v * h); };
    switch (ch)
    {
    case 'V':
        return Stroke({P(0, 0), P(0.5f, 1), P(1, 0)}, half_w);
    case 'I':
        return Stroke({P(0.5f, 0), P(0.5f, 1)}, half_w);
    case 'Z':
        return Stroke({P(0, 0), P(1, 0), P(0, 1), P(1, 1)}, half_w);
    case 'A':
        return Union({Stroke({P(0, 1), P(0.5f, 0), P(1, 1)}, half_w),
                      Stroke({P(0.24f, 0.66f), P(0.76f, 0.66f)}, half_w)});
    default: // 'U'
    {
        float r = w / 2, cx = x + r, cy = y + h - r;
        Sdf sides = Stroke({P(0, 0), std::make_pair(x, cy)}, half_w);
        Sdf right = Stroke({P(1, 0), std::make_pair(x + w, cy)}, half_w);
        Sdf bowl = [=](float px, float py)
        {
            if (py < cy)
                return std::min(std::hypot(px - x, py - cy), std::hypot(px - x - w, py - cy)) - half_w;
            return std::fabs(std::hypot(px - cx, py - cy) - r) - half_w;
        };
        return Union({sides, right, bowl});
    }
    }
}

// The emblem, a small 3 x 3 board, at (x, y); 80 x 80 pixels at scale 1,
// with its shadow reaching 10 further right and down.
void DrawEmblem(Canvas& c, float x, float y, float s)
{
    // Plate sizes are in units of 1 / s pixels.
    Box icon = {x, y, x + 80 * s, y + 80 * s, 1 / s, 1 / s};
    FillColour(c, icon.x0 + 2 * s, icon.y0 + 4 * s, icon.x1 + 8 * s, icon.y1 + 10 * s,
               Shift(RoundRect(icon, 14), 3 * s, 4 * s), Grey(0, 0.35f), 4 * s);
    DrawPlate(c, icon, {Hex(0x1e2935), Hex(0x3a4a5c), Hex(0x233140), 3, 14, 1, Grey(1, 0.15f), 0.15f});
    const Rgba accents[9] = {Hex(0xf5f7fa), Hex(0x4f9be8), Hex(0xf5f7fa), Hex(0xf5f7fa), Hex(0xf5f7fa),
                             Hex(0xf2a541), Hex(0x45c08a), Hex(0xf5f7fa), Hex(0xf5f7fa)};
    for (int i = 0; i < 9; i++)
    {
        float cx = icon.x0 + (10 + float(i % 3) * 21) * s, cy = icon.y0 + (10 + float(i / 3) * 21) * s;
        Box cell = {cx, cy, cx + 18 * s, cy + 18 * s, 1 / s, 1 / s};
        Rgba top = accents[i], bottom = Mix(accents[i], Grey(0.55f), 0.25f);
        DrawPlate(c, cell, {Mix(accents[i], Grey(0), 0.3f), top, bottom, 1, 4, 1, Grey(0, 0), 0.3f});
    }
}

// The desktop's icon: the title's emblem filling a square.
Canvas Icon(int n)
{
    Canvas c(n, n);
    const float s = float(n) / 90;
    DrawEmblem(c, 1 * s, 1 * s, s);
    return c;
}

void DrawTitle(Canvas& c)
{
    DrawEmblem(c, 22, 14, 1);

    // The word, white with a dark outline and a soft shadow.
    const char* word = "VIZAVU";
    const float widths[6] = {48, 12, 42, 50, 48, 42};
    float gap = 17, total = 0;
    for (float w : widths)
        total += w;
    total += gap * 5;
    float x = 128 + (560 - 128 - total) / 2, y = 24, h = 60, half_w = 7;
    std::vector<Sdf> letters;
    for (int i = 0; i < 6; i++)
    {
        letters.push_back(Letter(word[i], x, y, widths[i], h, half_w));
        x += widths[i] + gap;
    }
    Sdf text = Union(letters);
    FillColour(c, 100, 0, 560, 108, Shift(Grow(text, 3), 3, 4), Grey(0, 0.4f), 5);
    FillColour(c, 100, 0, 560, 108, Grow(text, 3.5f), Hex(0x1b2530));
    Fill(c, 100, 0, 560, 108, text,
         [=](float, float py) { return Mix(Hex(0xffffff), Hex(0xc6dbf2), (py - y) / h); });
}

// ---- Board masks (tinted by the game: bright takes the Board colour, dark the Lines colour) ----

Canvas BoardMask()
{
    const int n = 256;
    Canvas c(n, n);
    float cell = n / 3.0f;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
        {
            float px = x + 0.5f, py = y + 0.5f;
            // Box edges: half of the thick line; the next box draws the other half.
            float edge = std::min(std::min(px, n - px), std::min(py, n - py)) - 4.5f;
            float inner = 1e9f;
            for (int k = 1; k < 3; k++)
                inner = std::min(inner, std::min(std::fabs(px - k * cell), std::fabs(py - k * cell)));
            inner -= 0.6f;
            float d = std::min(edge, inner);
            float line = std::clamp(0.5f - d, 0.0f, 1.0f);
            float shade = 1 - 0.07f * std::exp(-std::max(d, 0.0f) / 5) - 0.03f * py / n;
            float m = shade * (1 - line);
            c.At(x, y) = Grey(m);
        }
    return c;
}

// One side of the frame: across runs from the outer edge (0.1) to the board (0.9).
float BorderProfile(float across)
{
    float t = (across - 0.1f) / 0.8f;
    return 0.16f * std::clamp(1 - t * 2.5f, 0.0f, 1.0f);
}

Canvas BorderMask(bool vertical)
{
    const int len = 64, thick = 16;
    Canvas c(vertical ? thick : len, vertical ? len : thick);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++)
        {
            float across = ((vertical ? x : y) + 0.5f) / thick;
            float alpha = std::clamp((across - 0.1f) * thick + 0.5f, 0.0f, 1.0f);
            c.At(x, y) = Grey(BorderProfile(across), alpha);
        }
    return c;
}

Canvas PadMask()
{
    const int n = 128;
    Canvas c(n, n, Grey(0));
    float cell = n / 3.0f;
    for (int i = 0; i < 9; i++)
    {
        float x0 = (i % 3) * cell + 2, y0 = (i / 3) * cell + 2;
        Box key = {x0, y0, x0 + cell - 4, y0 + cell - 4};
        DrawPlate(c, key, {Grey(0.45f), Grey(1), Grey(0.88f), 1, 7, 1, Grey(1, 0.6f), 0});
    }
    return c;
}

// Marks over the board, blended as source colour times itself plus the board
// behind: colours are the square roots of the wanted ones.
Canvas Mark(bool solved)
{
    const int n = 128;
    Canvas c(n, n);
    Sdf shape = solved ? Stroke({{26, 66}, {52, 92}, {104, 36}}, 9)
                       : Union({Stroke({{34, 34}, {94, 94}}, 8.5f), Stroke({{94, 34}, {34, 94}}, 8.5f)});
    FillColour(c, 0, 0, n, n, Shift(Grow(shape, 2), 2, 3), Grey(0, 0.35f), 4);
    Rgba top = solved ? Rgba{0.62f, 0.95f, 0.72f, 1} : Rgba{0.98f, 0.58f, 0.55f, 1};
    Rgba bottom = solved ? Rgba{0.42f, 0.84f, 0.55f, 1} : Rgba{0.90f, 0.40f, 0.40f, 1};
    FillColour(c, 0, 0, n, n, Grow(shape, 1.5f),
               solved ? Rgba{0.95f, 1, 0.96f, 0.9f} : Rgba{1, 0.95f, 0.95f, 0.9f});
    Fill(c, 0, 0, n, n, shape, [=](float, float y) { return Mix(top, bottom, (y - 28) / 72); });
    return c;
}

Canvas Highlight()
{
    const int n = 128;
    Canvas c(n, n, Grey(0.2f));
    Box b = {2, 2, n - 2.0f, n - 2.0f};
    Sdf outer = RoundRect(b, 16);
    Sdf inner = RoundRect(b.Inset(9), 8);
    FillColour(
        c, 0, 0, n, n, [=](float x, float y) { return std::max(outer(x, y), -inner(x, y)); }, Grey(0.45f),
        2.5f);
    return c;
}

Canvas ScreenBackground()
{
    const int n = 256;
    Canvas c(n, n);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
        {
            float dx = (x + 0.5f) / n - 0.5f, dy = (y + 0.5f) / n - 0.45f;
            float v = 1 - 0.4f * (dx * dx + dy * dy) - 0.02f * float(((x + y) / 6) % 2);
            c.At(x, y) = Grey(v);
        }
    return c;
}

Canvas Corner()
{
    const int n = 28;
    Canvas c(n, n);
    for (int k = 0; k < 3; k++)
    {
        float o = 6 + 7.0f * k;
        FillColour(c, 0, 0, n, n, Stroke({{n - 1.0f, o + 1}, {o + 1, n - 1.0f}}, 1.0f), Grey(0, 0.45f));
        FillColour(c, 0, 0, n, n, Stroke({{n - 1.0f, o - 0.6f}, {o - 0.6f, n - 1.0f}}, 1.0f), Grey(1, 0.75f));
    }
    return c;
}

// Light grid on black: the print inverts it. The picture fills (30, 60, 964,
// 964) of the page whose digit grid has margins 43, 41, 72, 10.
Canvas PrintGrid()
{
    const int n = 964;
    Canvas c(n, n, Grey(0));
    const float gx0 = 43 - 30, gx1 = 1024 - 41 - 30, gy0 = 72 - 60, gy1 = 1024 - 10 - 60;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
        {
            float px = x + 0.5f, py = y + 0.5f;
            if (px < gx0 - 6 || px > gx1 + 6 || py < gy0 - 6 || py > gy1 + 6)
                continue;
            float v = 0;
            for (int k = 0; k <= 9; k++)
            {
                float lx = gx0 + (gx1 - gx0) * k / 9, ly = gy0 + (gy1 - gy0) * k / 9;
                bool thick = k % 3 == 0;
                float half = k == 0 || k == 9 ? 4.0f : thick ? 3.0f : 1.25f;
                float level = thick ? 1.0f : 0.85f;
                bool in_x = py >= gy0 - half && py <= gy1 + half;
                bool in_y = px >= gx0 - half && px <= gx1 + half;
                if (in_x)
                    v = std::max(v, level * std::clamp(half + 0.5f - std::fabs(px - lx), 0.0f, 1.0f));
                if (in_y)
                    v = std::max(v, level * std::clamp(half + 0.5f - std::fabs(py - ly), 0.0f, 1.0f));
            }
            c.At(x, y) = Grey(v);
        }
    return c;
}

// ---- Writers ----

uint8_t Byte(float v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
}

bool WriteTga(const std::string& path, const Canvas& c)
{
    EngTga tga;
    if (!tga.Create(c.w, c.h, 32))
        return false;
    for (size_t i = 0; i < c.px.size(); i++)
    {
        const Rgba& p = c.px[i];
        tga.m_data[i] =
            uint32_t(Byte(p.a)) << 24 | uint32_t(Byte(p.r)) << 16 | uint32_t(Byte(p.g)) << 8 | Byte(p.b);
    }
    return tga.SaveToFile(path.c_str());
}

bool WriteJpeg(const std::string& path, const Canvas& c, int quality)
{
    std::vector<unsigned char> rgb(c.px.size() * 3);
    for (size_t i = 0; i < c.px.size(); i++)
    {
        rgb[i * 3] = Byte(c.px[i].r);
        rgb[i * 3 + 1] = Byte(c.px[i].g);
        rgb[i * 3 + 2] = Byte(c.px[i].b);
    }
    return EngJpegWriteFileFromBuffer(path.c_str(), quality, 72, unsigned(c.w), unsigned(c.h), rgb.data());
}

bool WritePng(const std::string& path, const Canvas& c)
{
    std::vector<unsigned char> rgba(c.px.size() * 4);
    for (size_t i = 0; i < c.px.size(); i++)
    {
        const Rgba& p = c.px[i];
        // Fully transparent pixels keep no colour: smaller files, no fringes.
        bool clear = Byte(p.a) == 0;
        rgba[i * 4] = clear ? 0 : Byte(p.r);
        rgba[i * 4 + 1] = clear ? 0 : Byte(p.g);
        rgba[i * 4 + 2] = clear ? 0 : Byte(p.b);
        rgba[i * 4 + 3] = Byte(p.a);
    }
    std::string tmp = path + ".tmp";
    if (!stbi_write_png(tmp.c_str(), c.w, c.h, 4, rgba.data(), c.w * 4))
        return false;
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--icon")
        return WritePng(argv[2], Icon(256)) ? 0 : 1;
    if (argc > 2)
    {
        fprintf(stderr, "usage: %s [output folder]\n       %s --icon file.png\n", argv[0], argv[0]);
        return 2;
    }
    std::string dir = argc == 2 ? argv[1] : "resources";
    auto path = [&](const char* name) { return dir + "/" + name; };

    Canvas atlas(ATLAS, ATLAS);
    DrawAtlas(atlas);
    Canvas title(560, 108);
    DrawTitle(title);

    struct Job
    {
        const char* name;
        std::function<bool(const std::string&)> write;
    } jobs[] = {
        {"Buttons.png", [&](const std::string& p) { return WritePng(p, atlas); }},
        {"TitleButton.png", [&](const std::string& p) { return WritePng(p, title); }},
        {"Board.tga", [](const std::string& p) { return WriteTga(p, BoardMask()); }},
        {"Borders.tga", [](const std::string& p) { return WriteTga(p, BorderMask(false)); }},
        {"Borders2.tga", [](const std::string& p) { return WriteTga(p, BorderMask(true)); }},
        {"NumSel256.tga", [](const std::string& p) { return WriteTga(p, PadMask()); }},
        {"Check.tga", [](const std::string& p) { return WriteTga(p, Mark(true)); }},
        {"Check2.tga", [](const std::string& p) { return WriteTga(p, Mark(false)); }},
        {"WinCorner.tga", [](const std::string& p) { return WriteTga(p, Corner()); }},
        {"High2.jpg", [](const std::string& p) { return WriteJpeg(p, Highlight(), 90); }},
        {"BgCol.jpg", [](const std::string& p) { return WriteJpeg(p, ScreenBackground(), 85); }},
        {"BoardPrint.jpg", [](const std::string& p) { return WriteJpeg(p, PrintGrid(), 85); }},
    };
    int failed = 0;
    for (const Job& j : jobs)
        if (!j.write(path(j.name)))
        {
            fprintf(stderr, "could not write %s\n", path(j.name).c_str());
            failed++;
        }
    return failed ? 1 : 0;
}
