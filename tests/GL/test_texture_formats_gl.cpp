// Image files of every kind the loader reads, made here byte by byte: each
// loads into a texture with the pixels it holds, or is refused with a reason.
#include "GL/GLFixture.h"
#include "GL/PngChunks.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "EngTexture.h"
#include "support/JpegEncode.h"
#include "support/TestSupport.h"

using vztest::Be32;
using vztest::GLDevice;

namespace
{

const int W = 16, H = 12;

struct Px
{
    int r, g, b, a;
};

// The picture every file holds: a flat band on the left (runs for the RLE
// kinds), colours that differ from row to row and column to column, alpha
// falling from top to bottom. At most 13 x 12 colours, so a palette holds it.
Px Source(int x, int y)
{
    int u = x < 3 ? 0 : x - 3;
    return {u * 19, 20 + y * 21, 240 - u * 9 - y * 7, 255 - y * 20};
}

int Grey(int x, int y)
{
    return (x < 3 ? 0 : x - 3) * 12 + y * 9;
}

// Palette index of a pixel: one entry per distinct colour of Source.
int Index(int x, int y)
{
    return y * 13 + (x < 3 ? 0 : x - 3);
}
const int kPaletteSize = 13 * H;
Px PaletteColour(int i)
{
    return Source(i % 13 + (i % 13 ? 3 : 0), i / 13);
}

int To5(int v)
{
    return v >> 3;
}
int To6(int v)
{
    return v >> 2;
}
int From5(int v)
{
    return (v * 255 + 15) / 31;
}
int From6(int v)
{
    return (v * 255 + 31) / 63;
}

std::string Le16(int v)
{
    return {char(v & 255), char((v >> 8) & 255)};
}
std::string Le32(uint32_t v)
{
    return Le16(int(v & 0xFFFF)) + Le16(int(v >> 16));
}
std::string Be16(int v)
{
    return {char((v >> 8) & 255), char(v & 255)};
}
// ---- TGA ----

enum TgaPixels
{
    TGA_INDEX,
    TGA_GREY,
    TGA_555,
    TGA_BGR,
    TGA_BGRA
};

std::string TgaPixel(TgaPixels kind, int x, int y)
{
    Px p = Source(x, y);
    switch (kind)
    {
    case TGA_INDEX:
        return std::string(1, char(Index(x, y)));
    case TGA_GREY:
        return std::string(1, char(Grey(x, y)));
    case TGA_555:
        return Le16((To5(p.r) << 10) | (To5(p.g) << 5) | To5(p.b));
    case TGA_BGR:
        return {char(p.b), char(p.g), char(p.r)};
    default:
        return {char(p.b), char(p.g), char(p.r), char(p.a)};
    }
}

// type 1, 2, 3 plain, 9, 10, 11 run-length coded; rows bottom-up unless top_down.
std::string Tga(int type, TgaPixels kind, bool top_down)
{
    const int bits[] = {8, 8, 16, 24, 32};
    bool mapped = kind == TGA_INDEX;
    std::string s;
    s += char(0);
    s += char(mapped ? 1 : 0);
    s += char(type);
    s += Le16(0) + Le16(mapped ? kPaletteSize : 0) + char(mapped ? 24 : 0);
    s += Le16(0) + Le16(0) + Le16(W) + Le16(H) + char(bits[kind]);
    s += char((kind == TGA_BGRA ? 8 : 0) | (top_down ? 0x20 : 0));
    if (mapped)
        for (int i = 0; i < kPaletteSize; i++)
        {
            Px p = PaletteColour(i);
            s += {char(p.b), char(p.g), char(p.r)};
        }
    bool rle = type >= 9;
    for (int row = 0; row < H; row++)
    {
        int y = top_down ? row : H - 1 - row;
        for (int x = 0; x < W;)
        {
            if (!rle)
            {
                s += TgaPixel(kind, x++, y);
                continue;
            }
            // A run packet for equal neighbours, else a raw packet of one.
            int run = 1;
            while (x + run < W && TgaPixel(kind, x + run, y) == TgaPixel(kind, x, y))
                run++;
            s += char(run > 1 ? 0x80 | (run - 1) : 0);
            s += TgaPixel(kind, x, y);
            x += run;
        }
    }
    return s;
}

// ---- BMP ----

enum BmpPixels
{
    BMP_INDEX,
    BMP_555,
    BMP_565,
    BMP_BGR,
    BMP_BGRX
};

std::string Bmp(BmpPixels kind, bool top_down)
{
    const int bits[] = {8, 16, 16, 24, 32};
    std::string palette, masks;
    if (kind == BMP_INDEX)
        for (int i = 0; i < 256; i++)
        {
            Px p = PaletteColour(i < kPaletteSize ? i : 0);
            palette += {char(p.b), char(p.g), char(p.r), 0};
        }
    if (kind == BMP_565)
        masks = Le32(0xF800) + Le32(0x07E0) + Le32(0x001F);
    std::string rows;
    int row_bytes = (W * bits[kind] / 8 + 3) / 4 * 4;
    for (int row = 0; row < H; row++)
    {
        int y = top_down ? row : H - 1 - row;
        std::string r;
        for (int x = 0; x < W; x++)
        {
            Px p = Source(x, y);
            if (kind == BMP_INDEX)
                r += char(Index(x, y));
            else if (kind == BMP_555)
                r += Le16((To5(p.r) << 10) | (To5(p.g) << 5) | To5(p.b));
            else if (kind == BMP_565)
                r += Le16((To5(p.r) << 11) | (To6(p.g) << 5) | To5(p.b));
            else if (kind == BMP_BGR)
                r += {char(p.b), char(p.g), char(p.r)};
            else
                r += {char(p.b), char(p.g), char(p.r), char(255)};
        }
        r.resize(size_t(row_bytes), '\0');
        rows += r;
    }
    uint32_t offset = uint32_t(14 + 40 + masks.size() + palette.size());
    std::string s = "BM" + Le32(uint32_t(offset + rows.size())) + Le32(0) + Le32(offset);
    s += Le32(40) + Le32(W) + Le32(uint32_t(top_down ? -H : H)) + Le16(1) + Le16(bits[kind]);
    s += Le32(kind == BMP_565 ? 3 : 0) + Le32(uint32_t(rows.size())) + Le32(2835) + Le32(2835);
    s += Le32(kind == BMP_INDEX ? 256 : 0) + Le32(0);
    return s + masks + palette + rows;
}

// ---- PNG ----

// RGB or RGBA, 8 or 16 bits a sample, plain or with the seven interlace passes.
std::string Png(int depth, bool alpha, bool interlaced)
{
    struct Pass
    {
        int x0, y0, dx, dy;
    };
    const Pass adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const Pass whole[] = {{0, 0, 1, 1}};
    std::string raw;
    for (const Pass& p :
         interlaced ? std::vector<Pass>(adam7, adam7 + 7) : std::vector<Pass>(whole, whole + 1))
        for (int y = p.y0; y < H; y += p.dy)
        {
            raw += char(0); // no filter
            for (int x = p.x0; x < W; x += p.dx)
            {
                Px s = Source(x, y);
                int samples[4] = {s.r, s.g, s.b, s.a};
                for (int k = 0; k < (alpha ? 4 : 3); k++)
                    raw += depth == 16 ? Be16(samples[k] * 257) : std::string(1, char(samples[k]));
            }
        }
    return vztest::PngFile(W, H, depth, alpha ? 6 : 2, interlaced, raw);
}

// ---- GIF ----

// 256 colours, every pixel a literal 9-bit code after one clear code: the
// code table never grows past 9 bits for an image of this size.
std::string Gif(bool interlaced)
{
    std::string s = "GIF89a" + Le16(W) + Le16(H) + char(0xF7) + char(0) + char(0);
    for (int i = 0; i < 256; i++)
    {
        Px p = PaletteColour(i < kPaletteSize ? i : 0);
        s += {char(p.r), char(p.g), char(p.b)};
    }
    s += char(0x2C) + Le16(0) + Le16(0) + Le16(W) + Le16(H) + char(interlaced ? 0x40 : 0);
    std::vector<int> order;
    if (interlaced)
    {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; pass++)
            for (int y = start[pass]; y < H; y += step[pass])
                order.push_back(y);
    }
    else
        for (int y = 0; y < H; y++)
            order.push_back(y);
    std::vector<int> codes = {256};
    for (int y : order)
        for (int x = 0; x < W; x++)
            codes.push_back(Index(x, y));
    codes.push_back(257);
    std::string bits;
    uint32_t acc = 0;
    int n = 0;
    for (int c : codes)
    {
        acc |= uint32_t(c) << n;
        for (n += 9; n >= 8; n -= 8, acc >>= 8)
            bits += char(acc & 255);
    }
    if (n > 0)
        bits += char(acc & 255);
    s += char(8);
    for (size_t i = 0; i < bits.size(); i += 255)
    {
        std::string block = bits.substr(i, 255);
        s += char(block.size()) + block;
    }
    return s + char(0) + ";";
}

// ---- JPEG ----

// Written through libjpeg without chroma subsampling; CMYK gets the inverted
// (Adobe) convention libjpeg marks it with.
std::string Jpeg(J_COLOR_SPACE space, int comps)
{
    std::vector<unsigned char> px;
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
        {
            Px p = Source(x, y);
            if (comps == 1)
                px.push_back((unsigned char)Grey(x, y));
            else
                px.insert(px.end(), {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b});
            if (comps == 4)
                px.push_back((unsigned char)(255 - y * 8));
        }
    return vztest::EncodeJpeg(px, W, H, comps, space,
                              [](jpeg_compress_struct* c)
                              {
                                  jpeg_set_quality(c, 100, TRUE);
                                  for (int i = 0; i < c->num_components; i++)
                                      c->comp_info[i].h_samp_factor = c->comp_info[i].v_samp_factor = 1;
                              });
}

// ---- Expected pixels ----

Px Plain(int x, int y)
{
    return Source(x, y);
}
Px Opaque(int x, int y)
{
    Px p = Source(x, y);
    return {p.r, p.g, p.b, 255};
}
Px GreyPx(int x, int y)
{
    int v = Grey(x, y);
    return {v, v, v, 255};
}
Px Q555(int x, int y)
{
    Px p = Source(x, y);
    return {From5(To5(p.r)), From5(To5(p.g)), From5(To5(p.b)), 255};
}
Px Q565(int x, int y)
{
    Px p = Source(x, y);
    return {From5(To5(p.r)), From6(To6(p.g)), From5(To5(p.b)), 255};
}
// Keep-alpha loads of the image library's kinds are premultiplied.
Px Premultiply(Px p)
{
    auto m = [&](int c) { return (c * p.a + 127) / 255; };
    return {m(p.r), m(p.g), m(p.b), p.a};
}
Px Premultiplied(int x, int y)
{
    return Premultiply(Source(x, y));
}
Px OpaquePremultiplied(int x, int y)
{
    return Premultiply(Opaque(x, y));
}
// Inverted CMYK: each colour times the black's complement.
Px FromCmyk(int x, int y)
{
    Px p = Source(x, y);
    int k = 255 - y * 8;
    return {p.r * k / 255, p.g * k / 255, p.b * k / 255, 255};
}

class TextureFormats : public GLDevice
{
protected:
    vztest::TempDir dir;
};

TEST_F(TextureFormats, EveryKindLoadsItsPixelsOrIsRefusedWithAReason)
{
    struct Case
    {
        const char* name;
        std::string data;
        char keep_alpha;
        std::function<Px(int, int)> expected; // empty: refused
        int tolerance;
        const char* refusal;
    } const cases[] = {
        {"tga1.tga", Tga(1, TGA_INDEX, false), 0, Plain, 0, nullptr},
        {"tga2_16.tga", Tga(2, TGA_555, false), 0, Q555, 2, nullptr},
        {"tga2_24.tga", Tga(2, TGA_BGR, true), 0, Plain, 0, nullptr},
        {"tga2_32.tga", Tga(2, TGA_BGRA, false), 1, Premultiplied, 0, nullptr},
        {"tga3.tga", Tga(3, TGA_GREY, true), 0, GreyPx, 0, nullptr},
        {"tga9.tga", Tga(9, TGA_INDEX, false), 0, Plain, 0, nullptr},
        {"tga10.tga", Tga(10, TGA_BGRA, true), 1, Premultiplied, 0, nullptr},
        {"tga11.tga", Tga(11, TGA_GREY, false), 0, GreyPx, 0, nullptr},
        {"bmp8.bmp", Bmp(BMP_INDEX, false), 0, Plain, 0, nullptr},
        {"bmp16_555.bmp", Bmp(BMP_555, false), 0, Q555, 2, nullptr},
        {"bmp16_565.bmp", Bmp(BMP_565, false), 0, Q565, 2, nullptr},
        {"bmp24.bmp", Bmp(BMP_BGR, false), 0, Plain, 0, nullptr},
        {"bmp32.bmp", Bmp(BMP_BGRX, true), 1, OpaquePremultiplied, 0, nullptr},
        {"png8.png", Png(8, false, false), 0, Plain, 0, nullptr},
        {"png16.png", Png(16, true, false), 1, Premultiplied, 0, nullptr},
        {"png8_laced.png", Png(8, true, true), 0, Plain, 0, nullptr},
        {"png16_laced.png", Png(16, false, true), 0, Plain, 0, nullptr},
        {"plain.gif", Gif(false), 0, Plain, 0, nullptr},
        {"laced.gif", Gif(true), 0, Plain, 0, nullptr},
        {"rgb.jpg", Jpeg(JCS_RGB, 3), 0, Plain, 6, nullptr},
        {"cmyk.jpg", Jpeg(JCS_CMYK, 4), 0, FromCmyk, 6, nullptr},
        {"cmyk_alpha.jpg", Jpeg(JCS_CMYK, 4), 1, FromCmyk, 6, nullptr},
        {"grey.jpg", Jpeg(JCS_GRAYSCALE, 1), 0, nullptr, 0,
         "Converting channels not supported for [ 1 to 3 ]"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string file = dir.File(c.name);
        vztest::WriteFile(file, c.data);
        vztest::LoggedLines().clear();
        EngTexture t;
        char loaded = t.LoadFromFile(file.c_str(), c.keep_alpha, 2);
        if (!c.expected)
        {
            EXPECT_FALSE(loaded);
            EXPECT_FALSE(t.IsOk());
            EXPECT_TRUE(vztest::Logged(c.refusal));
            continue;
        }
        ASSERT_TRUE(loaded);
        ASSERT_EQ(t.GetWidth(), W);
        ASSERT_EQ(t.GetHeight(), H);
        ASSERT_EQ(t.GetNumChannels(), c.keep_alpha ? 4 : 3);
        _EngTextureGetPixelDataInfo info;
        ASSERT_TRUE(t.PrepareToGetPixelData(&info, 1, 0));
        int worst = 0, worst_x = 0, worst_y = 0;
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
            {
                unsigned char r, g, b, a;
                ASSERT_TRUE(t.GetPixelData(&info, x, y, &r, &g, &b, &a));
                Px e = c.expected(x, y);
                int d = std::max({std::abs(r - e.r), std::abs(g - e.g), std::abs(b - e.b),
                                  c.keep_alpha ? std::abs(a - e.a) : 0});
                if (d > worst)
                    worst = d, worst_x = x, worst_y = y;
            }
        t.RestoreAfterGettingPixelData(&info);
        EXPECT_LE(worst, c.tolerance) << "worst pixel at " << worst_x << "," << worst_y;
    }
}

} // namespace
