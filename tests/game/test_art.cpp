// The committed art: files load with the engine's loaders in the formats the
// game asks for, atlas pieces sit at their texture-button rectangles and
// survive slicing, and the board and print grids line up with their users.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "EngJpeg.h"
#include "EngTga.h"

namespace
{

std::string ArtPath(const char* name)
{
    const char* src = std::getenv("VZ_SOURCE_DIR");
    return std::string(src ? src : "..") + "/resources/" + name;
}

// RGBA bytes, rows top to bottom.
struct Picture
{
    int w = 0, h = 0;
    int file_channels = 0;
    std::vector<uint8_t> px;

    float Chan(int x, int y, int c) const { return px[(size_t(y) * w + x) * 4 + c] / 255.0f; }
    float A(int x, int y) const { return Chan(x, y, 3); }
    float Grey(int x, int y) const { return (Chan(x, y, 0) + Chan(x, y, 1) + Chan(x, y, 2)) / 3; }
};

Picture LoadTga(const char* name)
{
    Picture p;
    EngTga tga;
    if (!tga.LoadFromFile(ArtPath(name).c_str(), 1))
        return p;
    int w = 0, h = 0, bpp = 0;
    // The board tint refuses anything but 32-bit files.
    if (!tga.GetSizeFromFile(ArtPath(name).c_str(), &w, &h, &bpp))
        return p;
    p.w = tga.m_width, p.h = tga.m_height, p.file_channels = bpp / 8;
    p.px.resize(size_t(p.w) * p.h * 4);
    for (size_t i = 0; i < size_t(p.w) * p.h; i++)
    {
        uint32_t v = tga.m_data[i];
        p.px[i * 4] = uint8_t(v >> 16), p.px[i * 4 + 1] = uint8_t(v >> 8), p.px[i * 4 + 2] = uint8_t(v);
        p.px[i * 4 + 3] = uint8_t(v >> 24);
    }
    return p;
}

Picture LoadJpeg(const char* name)
{
    Picture p;
    unsigned w = 0, h = 0, comps = 0;
    if (!EngJpegGetFileInfo(ArtPath(name).c_str(), &w, &h, &comps))
        return p;
    unsigned char* data = EngJpegReadFileToBufferWithAlpha(ArtPath(name).c_str(), 0, &w, &h);
    if (!data)
        return p;
    p.w = int(w), p.h = int(h), p.file_channels = int(comps);
    p.px.assign(data, data + size_t(w) * h * 4);
    std::free(data);
    return p;
}

Picture LoadPng(const char* name)
{
    Picture p;
    int n = 0;
    unsigned char* data = stbi_load(ArtPath(name).c_str(), &p.w, &p.h, &n, 4);
    if (!data)
        return p;
    p.file_channels = n;
    p.px.assign(data, data + size_t(p.w) * p.h * 4);
    stbi_image_free(data);
    return p;
}

Picture Load(const std::string& name)
{
    std::string ext = name.substr(name.rfind('.') + 1);
    if (ext == "tga")
        return LoadTga(name.c_str());
    if (ext == "jpg")
        return LoadJpeg(name.c_str());
    return LoadPng(name.c_str());
}

TEST(Art, EveryPictureLoadsInTheFormatItsLoaderTakes)
{
    struct
    {
        const char* name;
        int w, h, channels;
        bool see_through; // has clear pixels beside the drawn ones
    } cases[] = {
        {"Buttons.png", 512, 512, 4, true},
        {"TitleButton.png", 560, 108, 4, true}, // the settings dialog shows it 560 x 108
        {"Board.tga", 256, 256, 4, false},
        {"Borders.tga", 64, 16, 4, true},
        {"Borders2.tga", 16, 64, 4, true},
        {"NumSel256.tga", 128, 128, 4, false},
        {"Check.tga", 128, 128, 4, true},
        {"Check2.tga", 128, 128, 4, true},
        {"WinCorner.tga", 28, 28, 4, true},
        {"High2.jpg", 128, 128, 3, false},
        {"BgCol.jpg", 256, 256, 3, false},
        {"BoardPrint.jpg", 964, 964, 3, false}, // copied 1:1 into the 964 x 964 print square
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Picture p = Load(c.name);
        ASSERT_EQ(p.w, c.w);
        ASSERT_EQ(p.h, c.h);
        EXPECT_EQ(p.file_channels, c.channels);
        int clear = 0, solid = 0;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
            {
                clear += p.A(x, y) == 0;
                solid += p.A(x, y) > 0.5f;
            }
        EXPECT_GT(solid, 0);
        EXPECT_EQ(clear > 0, c.see_through);
    }
}

struct Rect
{
    float u0, v0, u1, v1;
};

// Pixels lying wholly inside a texture-coordinate rectangle.
void PixelSpan(const Picture& p, Rect r, int* x0, int* y0, int* x1, int* y1)
{
    *x0 = int(std::ceil(std::min(r.u0, r.u1) * p.w)), *x1 = int(std::floor(std::max(r.u0, r.u1) * p.w)) - 1;
    *y0 = int(std::ceil(std::min(r.v0, r.v1) * p.h)), *y1 = int(std::floor(std::max(r.v0, r.v1) * p.h)) - 1;
}

float MeanAlpha(const Picture& p, Rect r)
{
    int x0, y0, x1, y1;
    PixelSpan(p, r, &x0, &y0, &x1, &y1);
    double sum = 0;
    int n = 0;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++, n++)
            sum += p.A(x, y);
    return n ? float(sum / n) : 0;
}

float MeanDifference(const Picture& p, Rect a, Rect b)
{
    int ax0, ay0, ax1, ay1, bx0, by0, bx1, by1;
    PixelSpan(p, a, &ax0, &ay0, &ax1, &ay1);
    PixelSpan(p, b, &bx0, &by0, &bx1, &by1);
    int w = std::min(ax1 - ax0, bx1 - bx0), h = std::min(ay1 - ay0, by1 - by0);
    double sum = 0;
    for (int y = 0; y <= h; y++)
        for (int x = 0; x <= w; x++)
            for (int c = 0; c < 4; c++)
                sum += std::fabs(p.Chan(ax0 + x, ay0 + y, c) - p.Chan(bx0 + x, by0 + y, c));
    return float(sum / (double(w + 1) * (h + 1) * 4));
}

TEST(Art, EveryTextureButtonStateShowsSomethingAtItsRectangle)
{
    Picture atlas = LoadPng("Buttons.png");
    ASSERT_EQ(atlas.w, 512);
    const Rect rects[] = {
        {0.002f, 0.628f, 0.124f, 0.875f}, {0.127f, 0.627f, 0.249f, 0.874f}, // ArrowL (ArrowR mirrors it)
        {0.251f, 0.628f, 0.374f, 0.875f}, {0.376f, 0.627f, 0.498f, 0.874f},
        {0.124f, 0.629f, 0.002f, 0.875f}, {0.499f, 0.627f, 0.377f, 0.873f},
        {0.001f, 0.001f, 0.499f, 0.499f}, {0.033f, 0.035f, 0.468f, 0.468f}, // Back1, Back2
        {0.0f, 0.503f, 0.498f, 0.624f},   {0.002f, 0.879f, 0.498f, 0.998f}, // Back3, TitleBack
        {0.501f, 0.003f, 0.999f, 0.124f}, {0.501f, 0.126f, 0.999f, 0.249f}, // Main
        {0.501f, 0.251f, 0.999f, 0.374f}, {0.501f, 0.376f, 0.999f, 0.499f},
        {0.503f, 0.503f, 0.996f, 0.624f}, {0.503f, 0.625f, 1.0f, 0.751f}, // Panel
        {0.503f, 0.752f, 1.0f, 0.879f},   {0.503f, 0.878f, 1.0f, 1.0f},
        {0.001f, 0.001f, 0.249f, 0.249f}, {0.001f, 0.318f, 0.249f, 0.369f}, // window back, title
        {0.001f, 0.438f, 0.249f, 0.498f}, {0.751f, 0.876f, 0.874f, 0.999f}, // hide, up arrow
        {0.876f, 0.876f, 0.999f, 0.999f}, {0.501f, 0.145f, 0.999f, 0.229f}, // down arrow, scroll thumb
        {0.501f, 0.126f, 0.749f, 0.187f}, {0.628f, 0.508f, 0.682f, 0.616f}, // scroll track, vertical thumb
        {0.688f, 0.507f, 0.746f, 0.747f}, {0.001f, 0.025f, 0.249f, 0.226f}, // vertical track, open list
        {0.001f, 0.001f, 0.249f, 0.024f}, {0.001f, 0.22f, 0.249f, 0.248f},
        {0.501f, 0.445f, 0.749f, 0.494f}, {0.005f, 0.005f, 0.495f, 0.495f}, // list selection, check boxes
        {0.511f, 0.635f, 1.0f, 0.746f},   {0.015f, 0.267f, 0.234f, 0.296f}, // tab panel pieces
        {0.691f, 0.508f, 0.743f, 0.745f}, {0.501f, 0.32f, 0.749f, 0.369f},
        {0.501f, 0.258f, 0.749f, 0.305f}, {0.501f, 0.317f, 0.749f, 0.37f},
        {0.02f, 0.027f, 0.212f, 0.089f},  {0.001f, 0.313f, 0.249f, 0.369f}, // frame button pieces
        {0.0f, 0.057f, 0.249f, 0.246f},   {0.752f, 0.005f, 0.998f, 0.058f}, // push button states
        {0.752f, 0.068f, 0.998f, 0.12f},  {0.752f, 0.13f, 0.998f, 0.183f},
        {0.752f, 0.192f, 0.998f, 0.246f}, {0.503f, 0.25f, 0.746f, 0.311f},  // text edit
        {0.503f, 0.312f, 0.746f, 0.374f}, {0.503f, 0.377f, 0.746f, 0.436f}, // choice
        {0.503f, 0.439f, 0.746f, 0.498f}, {0.503f, 0.379f, 0.746f, 0.433f}, // panel
        {0.503f, 0.442f, 0.746f, 0.496f}, {0.649f, 0.774f, 0.726f, 0.851f}, // black, white
        {0.774f, 0.774f, 0.851f, 0.851f},
    };
    for (const Rect& r : rects)
    {
        SCOPED_TRACE(testing::Message() << r.u0 << ", " << r.v0 << ", " << r.u1 << ", " << r.v1);
        EXPECT_GT(MeanAlpha(atlas, r), 0.3f);
    }

    // The colour pieces really are black and white.
    int x0, y0, x1, y1;
    PixelSpan(atlas, {0.649f, 0.774f, 0.726f, 0.851f}, &x0, &y0, &x1, &y1);
    EXPECT_LT(atlas.Grey((x0 + x1) / 2, (y0 + y1) / 2), 0.02f);
    PixelSpan(atlas, {0.774f, 0.774f, 0.851f, 0.851f}, &x0, &y0, &x1, &y1);
    EXPECT_GT(atlas.Grey((x0 + x1) / 2, (y0 + y1) / 2), 0.98f);
}

TEST(Art, ButtonStatesLookDifferent)
{
    Picture atlas = LoadPng("Buttons.png");
    ASSERT_EQ(atlas.w, 512);
    const Rect groups[][4] = {
        {{0.501f, 0.003f, 0.999f, 0.124f},
         {0.501f, 0.126f, 0.999f, 0.249f}, // Main
         {0.501f, 0.251f, 0.999f, 0.374f},
         {0.501f, 0.376f, 0.999f, 0.499f}},
        {{0.002f, 0.628f, 0.124f, 0.875f},
         {0.127f, 0.627f, 0.249f, 0.874f}, // ArrowL
         {0.251f, 0.628f, 0.374f, 0.875f},
         {0.376f, 0.627f, 0.498f, 0.874f}},
    };
    for (const auto& g : groups)
        for (int a = 0; a < 4; a++)
            for (int b = a + 1; b < 4; b++)
            {
                SCOPED_TRACE(testing::Message() << "states " << a << " and " << b);
                EXPECT_GT(MeanDifference(atlas, g[a], g[b]), 0.02f);
            }
}

// Sliced pieces: the middle band is stretched, so along the stretch it must
// not change (colour across a horizontal middle, coverage down a vertical
// one, where a gradient is allowed); the rounded corners then stay in the
// corner pieces and keep their size.
TEST(Art, SlicedPiecesKeepTheirCornersInTheCornerPieces)
{
    Picture atlas = LoadPng("Buttons.png");
    ASSERT_EQ(atlas.w, 512);
    const struct
    {
        const char* id;
        Rect r;
        float hf, vf;
    } cases[] = {
        {"Back1", {0.001f, 0.001f, 0.499f, 0.499f}, 0.19f, 0.19f},
        {"Back2", {0.033f, 0.035f, 0.468f, 0.468f}, 0.1f, 0.11f},
        {"Back3", {0.0f, 0.503f, 0.498f, 0.624f}, 0.15f, 0.15f},
        {"TitleBack", {0.002f, 0.879f, 0.498f, 0.998f}, 0.13f, 0.11f},
        {"Main 0", {0.501f, 0.003f, 0.999f, 0.124f}, 0.09f, 0.25f},
        {"Main 1", {0.501f, 0.126f, 0.999f, 0.249f}, 0.09f, 0.25f},
        {"Main 2", {0.501f, 0.251f, 0.999f, 0.374f}, 0.09f, 0.25f},
        {"Main 3", {0.501f, 0.376f, 0.999f, 0.499f}, 0.09f, 0.25f},
    };
    const float tol = 2.5f / 255;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        int x0, y0, x1, y1;
        PixelSpan(atlas, c.r, &x0, &y0, &x1, &y1);
        float w = (c.r.u1 - c.r.u0) * atlas.w, h = (c.r.v1 - c.r.v0) * atlas.h;
        int mx0 = int(std::ceil(c.r.u0 * atlas.w + c.hf * w)),
            mx1 = int(std::floor(c.r.u1 * atlas.w - c.hf * w)) - 1;
        int my0 = int(std::ceil(c.r.v0 * atlas.h + c.vf * h)),
            my1 = int(std::floor(c.r.v1 * atlas.h - c.vf * h)) - 1;
        float worst_h = 0, worst_v = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = mx0 + 1; x <= mx1; x++)
                for (int ch = 0; ch < 4; ch++)
                    worst_h = std::max(worst_h, std::fabs(atlas.Chan(x, y, ch) - atlas.Chan(mx0, y, ch)));
        for (int x = x0; x <= x1; x++)
            for (int y = my0 + 1; y <= my1; y++)
                worst_v = std::max(worst_v, std::fabs(atlas.A(x, y) - atlas.A(x, my0)));
        EXPECT_LE(worst_h, tol);
        EXPECT_LE(worst_v, tol);
    }
}

// The popup's texts over their pieces: the title is white at alpha 0.4 on
// TitleBack, the message and buttons black at alpha 0.7 on Back2 and Main.
TEST(Art, PopupTextsStandOutFromTheirPieces)
{
    Picture atlas = LoadPng("Buttons.png");
    ASSERT_EQ(atlas.w, 512);
    const struct
    {
        const char* id;
        Rect middle; // inside the piece's corner slices
        float ink, alpha;
    } cases[] = {
        {"TitleBack", {0.1f, 0.9f, 0.4f, 0.98f}, 1, 0.4f},
        {"Back2", {0.1f, 0.1f, 0.4f, 0.4f}, 0, 0.7f},
        {"Main", {0.6f, 0.04f, 0.9f, 0.09f}, 0, 0.7f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        int x0, y0, x1, y1;
        PixelSpan(atlas, c.middle, &x0, &y0, &x1, &y1);
        double sum = 0;
        int n = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++, n++)
                sum += atlas.Grey(x, y);
        float back = float(sum / n);
        float text = c.ink * c.alpha + back * (1 - c.alpha);
        EXPECT_GT(std::fabs(text - back), 0.25f) << "piece grey " << back;
    }
}

// Masks: bright takes the Board colour, dark the Lines colour.
TEST(Art, BoardMaskHasThinCellLinesAndThickBoxEdges)
{
    Picture board = LoadTga("Board.tga");
    ASSERT_EQ(board.w, 256);
    const int mid = board.h / 6; // a row through the first row of cells
    auto dark_run = [&](int from, int to)
    {
        int n = 0;
        for (int x = from; x <= to; x++)
            n += board.Grey(x, mid) < 0.5f;
        return n;
    };
    for (int k = 0; k < 3; k++)
        EXPECT_GT(board.Grey(int((k + 0.5f) * board.w / 3), mid), 0.85f) << "cell " << k;
    int inner = dark_run(80, 90);                   // line between cells 0 and 1
    int edge = dark_run(0, 5) + dark_run(250, 255); // two boxes side by side
    EXPECT_GE(inner, 1);
    EXPECT_GT(edge, inner * 2);

    Picture pad = LoadTga("NumSel256.tga");
    ASSERT_EQ(pad.w, 128);
    for (int i = 0; i < 9; i++)
    {
        int cx = int((i % 3 + 0.5f) * pad.w / 3), cy = int((i / 3 + 0.5f) * pad.h / 3);
        EXPECT_GT(pad.Grey(cx, cy), 0.85f) << "key " << i;
    }
    EXPECT_LT(pad.Grey(pad.w / 3, pad.h / 6), 0.2f);
    EXPECT_LT(pad.Grey(pad.w / 6, pad.h / 3), 0.2f);
}

TEST(Art, BorderStripsAreSolidLinesWithTheOuterEdgeClear)
{
    // The frame pieces show 0.1 (outside) to 0.9 (next to the board) across.
    Picture across_y = LoadTga("Borders.tga");
    Picture across_x = LoadTga("Borders2.tga");
    ASSERT_EQ(across_y.h, 16);
    ASSERT_EQ(across_x.w, 16);
    for (int i = 0; i < 64; i += 9)
    {
        EXPECT_EQ(across_y.A(i, 0), 0);
        EXPECT_EQ(across_x.A(0, i), 0);
        EXPECT_EQ(across_y.A(i, 8), 1);
        EXPECT_EQ(across_x.A(8, i), 1);
        EXPECT_LT(across_y.Grey(i, 8), 0.25f);
        EXPECT_LT(across_x.Grey(8, i), 0.25f);
    }
}

// The print copies the picture to (30, 60) of a 1024 page whose digit grid has
// margins 43, 41, 72 and 10; the picture is light on dark (the page is inverted).
TEST(Art, PrintGridLinesSitOnTheDigitGrid)
{
    Picture grid = LoadJpeg("BoardPrint.jpg");
    ASSERT_EQ(grid.w, 964);
    const float cw = (1024 - 43 - 41) / 9.0f, ch = (1024 - 72 - 10) / 9.0f;
    const int row = int(72 + 4.5f * ch - 60), col = int(43 + 4.5f * cw - 30); // through a cell centre
    auto bright_run = [](const Picture& p, bool along_x, int fixed, int centre)
    {
        int n = 0;
        for (int i = centre - 8; i <= centre + 8; i++)
            n += (along_x ? p.Grey(i, fixed) : p.Grey(fixed, i)) > 0.4f;
        return n;
    };
    for (int k = 0; k <= 9; k++)
    {
        SCOPED_TRACE(testing::Message() << "line " << k);
        int lx = int(std::lround(43 + k * cw - 30)), ly = int(std::lround(72 + k * ch - 60));
        EXPECT_GT(std::max({grid.Grey(lx - 1, row), grid.Grey(lx, row), grid.Grey(lx + 1, row)}), 0.6f);
        EXPECT_GT(std::max({grid.Grey(col, ly - 1), grid.Grey(col, ly), grid.Grey(col, ly + 1)}), 0.6f);
        if (k < 9)
        {
            EXPECT_LT(grid.Grey(int(43 + (k + 0.5f) * cw - 30), row), 0.1f);
            EXPECT_LT(grid.Grey(col, int(72 + (k + 0.5f) * ch - 60)), 0.1f);
        }
        if (k % 3 == 1) // a cell line is thinner than the box line before it
        {
            int box_x = int(std::lround(43 + (k - 1) * cw - 30));
            EXPECT_GT(bright_run(grid, true, row, box_x), bright_run(grid, true, row, lx));
        }
    }
    // Outside the grid stays dark, so the page prints white there.
    EXPECT_LT(grid.Grey(3, 3), 0.1f);
    EXPECT_LT(grid.Grey(960, 960), 0.1f);
}

} // namespace
