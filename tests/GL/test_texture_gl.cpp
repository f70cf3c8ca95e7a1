// Textures on a hidden window: loading, drawing, tint, parts, pixel edits,
// JPEG and TGA hand-overs and triangle lists.
#include "GL/GLFixture.h"
#include "GL/PngChunks.h"

#include <stb/stb_image_write.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "EngFile.h"
#include "EngJpeg.h"
#include "EngTexture.h"
#include "EngTga.h"
#include "EngTriangleList.h"
#include "GL/EngTextureGL.h"
#include "support/TestSupport.h"

using vztest::GLDevice;
using vztest::Logged;

namespace
{

using vztest::Be32;

// A 1 x 1 RGB PNG with 16 bits a channel, optionally marked interlaced.
std::string Png16(uint16_t r, uint16_t g, uint16_t b, bool interlaced)
{
    std::string raw = {
        0, char(r >> 8), char(r & 255), char(g >> 8), char(g & 255), char(b >> 8), char(b & 255)};
    return vztest::PngFile(1, 1, 16, 2, interlaced, raw);
}

// Rows of one colour each, top row first.
const unsigned char row_colours[5][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}};

class Textures : public GLDevice
{
protected:
    std::string WritePng(const char* name, int w, int h, int comps, const std::vector<unsigned char>& px)
    {
        std::string file = dir.File(name);
        EXPECT_NE(stbi_write_png(file.c_str(), w, h, comps, px.data(), w * comps), 0);
        return file;
    }

    std::string RowsPng()
    {
        std::vector<unsigned char> px;
        for (int y = 0; y < 5; y++)
            for (int x = 0; x < 3; x++)
                px.insert(px.end(), row_colours[y], row_colours[y] + 3);
        return WritePng("rows.png", 3, 5, 3, px);
    }

    std::string SolidPng(const char* name, int w, int h, std::vector<unsigned char> rgba)
    {
        std::vector<unsigned char> px;
        for (int i = 0; i < w * h; i++)
            px.insert(px.end(), rgba.begin(), rgba.end());
        return WritePng(name, w, h, int(rgba.size()), px);
    }

    // Draws the texture over the whole 640 x 480 space in 2D mode.
    static void DrawFull(EngTexture& t)
    {
        eng_main_device->PrepareFor2D(1);
        t.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
        t.Draw();
        eng_main_device->RestoreAfter2D();
    }

    vztest::TempDir dir;
};

TEST_F(Textures, SmallPngUploadsAtItsSizeAndDrawsItsRows)
{
    EngTexture t;
    ASSERT_TRUE(t.LoadFromFile(RowsPng().c_str(), 0, 0));
    EXPECT_TRUE(t.IsOk());
    EXPECT_EQ(t.GetWidth(), 3);
    EXPECT_EQ(t.GetHeight(), 5);
    EXPECT_EQ(t.GetOrigWidth(), 3);
    EXPECT_EQ(t.GetNumChannels(), 3);
    float l, tp, r, b;
    t.GetTCs(&l, &tp, &r, &b);
    EXPECT_FLOAT_EQ(l, 1.0f / 3);
    EXPECT_FLOAT_EQ(tp, 1.0f / 5);
    EXPECT_FLOAT_EQ(r, 1.0f - 1.0f / 3);
    EXPECT_FLOAT_EQ(b, 1.0f - 1.0f / 5);
    EXPECT_TRUE(t.AreFullTexCoordinatesSet());

    ClearTo(0, 0, 0);
    DrawFull(t);
    // The inset rectangle shows rows 1 to 3 at their centres.
    ExpectPixel(320, 80, 0, 255, 0, 4);
    ExpectPixel(320, 240, 0, 0, 255, 4);
    ExpectPixel(320, 400, 255, 255, 0, 4);
    ExpectPixel(20, 240, 0, 0, 255, 4);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Loading into a created texture is refused.
    EXPECT_FALSE(t.LoadFromFile(RowsPng().c_str(), 0, 0));
    EXPECT_TRUE(Logged("Texture already created [filename:"));
}

TEST_F(Textures, HalfSizeLoads)
{
    EngTexture t;
    const std::string file = SolidPng("half.png", 8, 4, {200, 100, 50});
    ASSERT_TRUE(t.LoadFromFileAndShrinkToHalfSize_GL(file.c_str(), 0, 0));
    EXPECT_EQ(t.GetWidth(), 4);
    EXPECT_EQ(t.GetHeight(), 2);
    ClearTo(0, 0, 0);
    DrawFull(t);
    ExpectPixel(320, 240, 200, 100, 50, 4);
    EXPECT_FALSE(t.LoadFromFileAndShrinkToHalfSize_GL(file.c_str(), 0, 0));
    EXPECT_TRUE(Logged("Texture already created [filename:"));

    // An image that cannot be halved leaves no texture behind.
    EngTexture single;
    EXPECT_FALSE(
        single.LoadFromFileAndShrinkToHalfSize_GL(SolidPng("one.png", 1, 1, {1, 2, 3}).c_str(), 0, 0));
    EXPECT_TRUE(Logged("Internal Error"));
    EXPECT_FALSE(single.IsOk());
}

TEST_F(Textures, TintAlphaAndPartsChangePixels)
{
    EngTexture white, rows;
    ASSERT_TRUE(white.LoadFromFile(SolidPng("w.png", 4, 4, {255, 255, 255}).c_str(), 0, 0));
    ASSERT_TRUE(rows.LoadFromFile(RowsPng().c_str(), 0, 0));

    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    white.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    white.DrawWithColour(1, 0, 0, 1);
    eng_main_device->RestoreAfter2D();
    ExpectPixel(320, 240, 255, 0, 0);

    // Alpha 0.5 over black with ordinary blending.
    ClearTo(0, 0, 0);
    white.RestoreColour();
    white.SetAlphaLevel(0.5f);
    eng_main_device->EnableBlendingType(0);
    DrawFull(white);
    eng_main_device->DisableBlending();
    ExpectPixel(320, 240, 128, 128, 128, 2);

    // A part: the top half of the rows shows red at the top, green below.
    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    rows.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    rows.DrawPart(0.0f, 0.0f, 1.0f, 0.4f);
    eng_main_device->RestoreAfter2D();
    ExpectPixel(320, 120, 255, 0, 0, 4);
    ExpectPixel(320, 360, 0, 255, 0, 4);
    // The part stays for the next draw until the full rectangle is restored.
    EXPECT_FALSE(rows.AreFullTexCoordinatesSet());
    rows.SetTextureCoordinates(nullptr);
    EXPECT_TRUE(rows.AreFullTexCoordinatesSet());

    // Corner colours replace the tint.
    ClearTo(0, 0, 0);
    white.RestoreColour();
    white.SetCornerColour(0, 0, 0, 1, 1);
    white.SetCornerColour(1, 0, 0, 1, 1);
    white.SetCornerColour(2, 0, 1, 0, 1);
    white.SetCornerColour(3, 0, 1, 0, 1);
    DrawFull(white);
    ExpectPixel(320, 2, 0, 0, 255, 6);
    ExpectPixel(320, 477, 0, 255, 0, 6);
}

TEST_F(Textures, DrawInPartsSkipsTheCentreAndPutsStateBack)
{
    EngTexture t;
    ASSERT_TRUE(t.LoadFromFile(SolidPng("w.png", 8, 8, {255, 255, 255}).c_str(), 0, 0));
    ClearTo(1, 0, 0);
    device->PrepareFor2D(1);
    t.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    t.DrawInParts(64, 48, 0.25f, 0.25f, 0);
    device->RestoreAfter2D();
    ExpectPixel(10, 10, 255, 255, 255);   // corner piece
    ExpectPixel(320, 10, 255, 255, 255);  // top edge
    ExpectPixel(10, 240, 255, 255, 255);  // left edge
    ExpectPixel(630, 470, 255, 255, 255); // bottom-right corner
    ExpectPixel(320, 240, 255, 0, 0);     // no centre
    EXPECT_TRUE(t.AreFullTexCoordinatesSet());
    EXPECT_FLOAT_EQ(t.GetGL()->width, 640.0f);
    EXPECT_FLOAT_EQ(t.GetGL()->x, 0.0f);

    ClearTo(1, 0, 0);
    device->PrepareFor2D(1);
    t.DrawInPartsHorz(64, 0.25f, 1);
    device->RestoreAfter2D();
    ExpectPixel(320, 240, 255, 255, 255);
}

TEST_F(Textures, EmptyTexturesRoundUpAndDestroyThenReload)
{
    EngTexture t;
    int w = 300, h = 200;
    ASSERT_TRUE(t.CreateEmptyTexture(&w, &h, 1));
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 256);
    EXPECT_EQ(t.GetWidth(), 512);
    EXPECT_EQ(t.GetHeight(), 256);
    EXPECT_EQ(t.GetNumChannels(), 4);

    t.Destroy();
    EXPECT_FALSE(t.IsOk());
    EXPECT_EQ(t.GetWidth(), 0);
    ClearTo(1, 0, 0);
    DrawFull(t); // nothing
    ExpectPixel(320, 240, 255, 0, 0);

    std::string file = SolidPng("g.png", 8, 8, {0, 255, 0});
    ASSERT_TRUE(t.LoadFromFile(file.c_str(), 0, 0));
    DrawFull(t);
    ExpectPixel(320, 240, 0, 255, 0);
}

TEST_F(Textures, LoadFailuresAreRefused)
{
    EngTexture t;
    EXPECT_FALSE(t.LoadFromFile(dir.File("none.png").c_str(), 0, 0));
    EXPECT_TRUE(Logged("File does not exist"));

    std::string bad = dir.File("bad.jpg");
    vztest::WriteFile(bad, std::string("\xFF\xD8\xFF\xC0\x00\x02", 6));
    EXPECT_FALSE(t.LoadFromFile(bad.c_str(), 0, 0));
    EXPECT_TRUE(Logged("Load failed"));

    // A header asking for an absurd size is refused before decoding.
    std::string huge = Png16(1, 2, 3, false);
    huge.replace(16, 8, Be32(10000) + Be32(10000));
    huge.replace(29, 4, Be32(vztest::PngCrc(huge.substr(12, 17))));
    std::string huge_file = dir.File("huge.png");
    vztest::WriteFile(huge_file, huge);
    EXPECT_FALSE(t.LoadFromFile(huge_file.c_str(), 0, 0));
    EXPECT_TRUE(Logged("Load failed <Image too large>"));

    // A texture beyond GL's maximum size is refused, not marked created.
    int saved = eng_main_device_gl->max_texture_size_gl;
    eng_main_device_gl->max_texture_size_gl = 4;
    EXPECT_FALSE(t.LoadFromFile(SolidPng("big.png", 8, 8, {1, 2, 3}).c_str(), 0, 0));
    eng_main_device_gl->max_texture_size_gl = saved;
    EXPECT_FALSE(t.IsOk());
    EXPECT_TRUE(Logged("Texture too large"));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Textures, FormatsTheFirstDecoderRefuses)
{
    struct
    {
        const char* name;
        std::string data;
        int r, g, b;
    } const cases[] = {
        {"red.gif",
         std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00"
                     "\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                     35),
         255, 0, 0},
        {"deep.png", Png16(0xFFFF, 0x8000, 0x0000, false), 255, 128, 0},
        {"laced.png", Png16(0x0000, 0xFFFF, 0xFFFF, true), 0, 255, 255},
    };
    for (const auto& c : cases)
    {
        std::string file = dir.File(c.name);
        vztest::WriteFile(file, c.data);
        EngTexture t;
        ASSERT_TRUE(t.LoadFromFile(file.c_str(), 0, 0)) << c.name;
        ASSERT_EQ(t.GetWidth(), 1);
        _EngTextureGetPixelDataInfo info;
        ASSERT_TRUE(t.PrepareToGetPixelData(&info, 1, 0));
        unsigned char r, g, b;
        ASSERT_TRUE(t.GetPixelData(&info, 0, 0, &r, &g, &b, nullptr));
        EXPECT_NEAR(r, c.r, 1) << c.name;
        EXPECT_NEAR(g, c.g, 1) << c.name;
        EXPECT_NEAR(b, c.b, 1) << c.name;
        t.RestoreAfterGettingPixelData(&info);
    }
}

TEST_F(Textures, AlphaOptionsOnLoading)
{
    std::string file = SolidPng("a.png", 2, 2, {200, 100, 50, 128});
    EngTexture dropped, kept, custom;
    ASSERT_TRUE(dropped.LoadFromFile(file.c_str(), 0, 0));
    EXPECT_EQ(dropped.GetNumChannels(), 3);
    ASSERT_TRUE(kept.LoadFromFile(file.c_str(), 1, 2));
    ASSERT_EQ(kept.GetNumChannels(), 4);
    _EngTextureGetPixelDataInfo info;
    ASSERT_TRUE(kept.PrepareToGetPixelData(&info, 1, 0));
    unsigned char r, g, b, a;
    ASSERT_TRUE(kept.GetPixelData(&info, 0, 0, &r, &g, &b, &a));
    EXPECT_EQ(a, 128);
    EXPECT_EQ(r, (200 * 128 + 127) / 255); // premultiplied
    kept.RestoreAfterGettingPixelData(&info);
    // Alpha type 3: the brightest component.
    ASSERT_TRUE(custom.LoadFromFile(file.c_str(), 1, 3));
    ASSERT_TRUE(custom.PrepareToGetPixelData(&info, 1, 0));
    ASSERT_TRUE(custom.GetPixelData(&info, 1, 1, nullptr, nullptr, nullptr, &a));
    EXPECT_EQ(a, (200 * 128 + 127) / 255);
    custom.RestoreAfterGettingPixelData(&info);
}

// Premultiplying is colour x alpha / 255 to the nearest: an opaque pixel
// keeps its colour.
TEST_F(Textures, PremultipliedColoursRoundToTheNearest)
{
    const struct
    {
        unsigned char c, a, premultiplied;
    } cases[] = {
        {255, 255, 255}, {200, 255, 200}, {1, 255, 1}, {200, 128, 100},
        {255, 128, 128}, {128, 128, 64},  {255, 1, 1}, {100, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.c) << " at alpha " << int(c.a));
        std::string file = SolidPng("p.png", 2, 2, {c.c, c.c, c.c, c.a});
        EngTexture t;
        ASSERT_TRUE(t.LoadFromFile(file.c_str(), 1, 2));
        _EngTextureGetPixelDataInfo info;
        ASSERT_TRUE(t.PrepareToGetPixelData(&info, 1, 0));
        unsigned char r, g, b, a;
        ASSERT_TRUE(t.GetPixelData(&info, 1, 1, &r, &g, &b, &a));
        EXPECT_EQ(int(r), int(c.premultiplied));
        EXPECT_EQ(int(b), int(c.premultiplied));
        EXPECT_EQ(int(a), int(c.a));
        t.RestoreAfterGettingPixelData(&info);
    }
}

TEST_F(Textures, PixelEditsAndChecks)
{
    EngTexture t;
    int w = 4, h = 4;
    ASSERT_TRUE(t.CreateEmptyTexture(&w, &h, 0));
    _EngTextureGetPixelDataInfo info = {};
    unsigned char r, g, b, a;

    // Set with values above 1 saturates instead of wrapping.
    ASSERT_TRUE(t.SetPartColour(0, 0, -1, -1, 2.0f, 0.5f, -1.0f, 0.0f));
    ASSERT_TRUE(t.PrepareToGetPixelData(&info, 1, 0));
    EXPECT_EQ(t.GetPixelDataPitch(&info), 12);
    ASSERT_TRUE(t.GetPixelData(&info, 3, 3, &r, &g, &b, &a));
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 127);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(a, 1); // RGB textures answer alpha 1
    // Indexes outside the texture are refused.
    EXPECT_FALSE(t.GetPixelData(&info, 4, 0, &r, &g, &b, &a));
    EXPECT_FALSE(t.SetPixelData(&info, 0, -1, 1, 2, 3, 4));
    EXPECT_TRUE(Logged("Invalid position [0,-1]"));
    ASSERT_TRUE(t.SetPixelData(&info, 1, 0, 200, 100, 50, 0));
    ASSERT_TRUE(t.UpdateTextureFromModifiedPixelDataBuffer(&info));
    t.RestoreAfterGettingPixelData(&info);

    // Multiply by 2 and invert red and blue only.
    ASSERT_TRUE(t.MultiplyTextPartColour(1, 0, 1, 1, 2.0f, 2.0f, 2.0f, -1));
    ASSERT_TRUE(t.InvertTexturePart(1, 0, 1, 1, 1.0f, 0.5f, 1.0f, 1.0f));
    ASSERT_TRUE(t.PrepareToGetPixelData(&info, 1, 0));
    ASSERT_TRUE(t.GetPixelData(&info, 1, 0, &r, &g, &b, nullptr));
    EXPECT_EQ(r, 0);   // 200 * 2 -> 255, inverted
    EXPECT_EQ(g, 200); // 100 * 2, not inverted
    EXPECT_EQ(b, 155); // 50 * 2 = 100, inverted
    t.RestoreAfterGettingPixelData(&info);

    EXPECT_FALSE(t.SetPartColour(1, 0, 4, 1, 0, 0, 0, 0));
    EXPECT_TRUE(Logged("Invalid sizes"));
    EXPECT_FALSE(t.IsTextureImageDataAllocated());
}

TEST_F(Textures, CopiesBetweenTexturesBlendAndScale)
{
    EngTexture from, to;
    int w = 2, h = 2;
    ASSERT_TRUE(from.CreateEmptyTexture(&w, &h, 1));
    w = 4, h = 4;
    ASSERT_TRUE(to.CreateEmptyTexture(&w, &h, 0));
    ASSERT_TRUE(from.SetPartColour(0, 0, -1, -1, 1.0f, 1.0f, 1.0f, 128 / 255.0f));
    ASSERT_TRUE(to.SetPartColour(0, 0, -1, -1, 100 / 255.0f, 0, 0, 0));
    // An RGBA source at alpha 128 over RGB mixes half and half.
    ASSERT_TRUE(to.CopyPartFromAnotherTexture(&from, 0, 0, -1, -1, 0, 0, -1, -1, 1, nullptr));
    _EngTextureGetPixelDataInfo info;
    ASSERT_TRUE(to.PrepareToGetPixelData(&info, 1, 0));
    unsigned char r, g, b;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
        {
            ASSERT_TRUE(to.GetPixelData(&info, x, y, &r, &g, &b, nullptr));
            EXPECT_EQ(r, 100 * 127 / 255 + 255 * 128 / 255);
            EXPECT_EQ(g, 128);
        }
    to.RestoreAfterGettingPixelData(&info);
    EXPECT_FALSE(to.CopyPartFromAnotherTexture(nullptr, 0, 0, -1, -1, 0, 0, -1, -1, 1, nullptr));

    // Alpha only, the larger value kept; rows count up from the last one.
    EngTexture alpha_to;
    w = 4, h = 4;
    ASSERT_TRUE(alpha_to.CreateEmptyTexture(&w, &h, 1));
    ASSERT_TRUE(alpha_to.SetPartColour(0, 0, -1, -1, -1, -1, -1, 200 / 255.0f));
    ASSERT_TRUE(alpha_to.CopyAlphaChannelFromAnotherTexture(&from, 0, 0, -1, -1, 0, 0, 4, 1));
    ASSERT_TRUE(alpha_to.PrepareToGetPixelData(&info, 1, 0));
    unsigned char a;
    ASSERT_TRUE(alpha_to.GetPixelData(&info, 2, 3, nullptr, nullptr, nullptr, &a));
    EXPECT_EQ(a, 200); // larger than the source's 128
    alpha_to.RestoreAfterGettingPixelData(&info);
    ASSERT_TRUE(alpha_to.ClearTexturePart(0, 0, -1, -1));
    ASSERT_TRUE(alpha_to.CopyAlphaChannelFromAnotherTexture(&from, 0, 0, -1, -1, 0, 0, 4, 1));
    ASSERT_TRUE(alpha_to.PrepareToGetPixelData(&info, 1, 0));
    ASSERT_TRUE(alpha_to.GetPixelData(&info, 2, 3, nullptr, nullptr, nullptr, &a));
    EXPECT_EQ(a, 128);
    ASSERT_TRUE(alpha_to.GetPixelData(&info, 2, 0, nullptr, nullptr, nullptr, &a));
    EXPECT_EQ(a, 0);
    alpha_to.RestoreAfterGettingPixelData(&info);
    EXPECT_FALSE(alpha_to.CopyAlphaChannelFromAnotherTexture(&to, 0, 0, -1, -1, 0, 0, -1, -1));
    EXPECT_TRUE(Logged("3 channels (from) not supported"));
    EXPECT_TRUE(Logged("From texture not ok"));
}

// Screen captures in windows of several sizes: the texture holds the window
// right side up from its first row, and drawn back it shows the window again.
TEST_F(Textures, ScreenCaptureIsRightSideUpAndReadsOnlyTheWindow)
{
    struct
    {
        int w, h, tw, th;
    } const sizes[] = {{640, 480, 1024, 512}, {300, 200, 512, 256}, {256, 128, 256, 128}};
    for (const auto& s : sizes)
    {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        delete device;
        SDL_SetWindowSize(sdl_window, s.w, s.h);
        SetWindowSize(s.w, s.h);
        device = new EngDevice(&window);
        ASSERT_TRUE(device->Create(1, s.w, s.h, 32, 0));

        // Blue, a red band over the top 10 rows, a green one down the left.
        ClearTo(0, 0, 1);
        device->CropToArea(0, 0, s.w, 10);
        ClearTo(1, 0, 0);
        device->CropToArea(0, 10, 10, s.h - 10);
        ClearTo(0, 1, 0);
        device->TurnOffCrop();

        EngTexture shot;
        _TexCoords tc = {-1, -1, -1, -1};
        ASSERT_TRUE(shot.GetGL()->CreateFromScreen(&tc));
        EXPECT_TRUE(shot.IsOk());
        ASSERT_EQ(shot.GetWidth(), s.tw);
        ASSERT_EQ(shot.GetHeight(), s.th);
        EXPECT_FLOAT_EQ(tc.left, 0);
        EXPECT_FLOAT_EQ(tc.top, 0);
        EXPECT_FLOAT_EQ(tc.right, float(s.w) / s.tw);
        EXPECT_FLOAT_EQ(tc.bottom, float(s.h) / s.th);
        EXPECT_FALSE(shot.AreFullTexCoordinatesSet());

        unsigned char* px = shot.AllocAndGetTextureImageData();
        ASSERT_NE(px, nullptr);
        auto texel = [&](int x, int y)
        {
            const unsigned char* p = px + (size_t(y) * s.tw + x) * 4;
            return std::vector<int>{p[0], p[1], p[2]};
        };
        EXPECT_EQ(texel(s.w - 1, 0), (std::vector<int>{255, 0, 0}));
        EXPECT_EQ(texel(0, s.h - 1), (std::vector<int>{0, 255, 0}));
        EXPECT_EQ(texel(s.w - 1, s.h - 1), (std::vector<int>{0, 0, 255}));
        // Beyond the window the texture stays empty.
        if (s.th > s.h)
        {
            EXPECT_EQ(texel(0, s.h), (std::vector<int>{0, 0, 0}));
        }
        if (s.tw > s.w)
        {
            EXPECT_EQ(texel(s.w, 0), (std::vector<int>{0, 0, 0}));
        }
        shot.FreeAllocatedTextureImageData();

        ClearTo(0, 0, 0);
        DrawFull(shot);
        ExpectPixel(s.w / 2, 4, 255, 0, 0, 6);
        ExpectPixel(4, s.h / 2, 0, 255, 0, 6);
        ExpectPixel(s.w - 20, s.h - 20, 0, 0, 255, 6);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

// A whole-texture copy keeps the source's own size, also when it is not a
// power of two, and its pixels.
TEST_F(Textures, CopyFromTextureKeepsTheSourceSizeAndPixels)
{
    EngTexture rows, rgba, to;
    ASSERT_TRUE(rows.LoadFromFile(RowsPng().c_str(), 0, 0));
    ASSERT_TRUE(rgba.LoadFromFile(SolidPng("a.png", 6, 3, {10, 20, 30, 255}).c_str(), 1, 2));
    struct
    {
        EngTexture* from;
        int w, h, channels;
    } const cases[] = {{&rows, 3, 5, 3}, {&rgba, 6, 3, 4}, {&to, 6, 3, 4} /* onto itself */};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.w);
        ASSERT_TRUE(to.GetGL()->CopyFromTexture(c.from));
        EXPECT_TRUE(to.IsOk());
        EXPECT_EQ(to.GetWidth(), c.w);
        EXPECT_EQ(to.GetHeight(), c.h);
        EXPECT_EQ(to.GetOrigWidth(), c.w);
        EXPECT_EQ(to.GetNumChannels(), c.channels);
        EXPECT_TRUE(to.AreFullTexCoordinatesSet());
        _EngTextureGetPixelDataInfo info = {};
        ASSERT_TRUE(to.PrepareToGetPixelData(&info, 1, 0));
        unsigned char r, g, b, a;
        for (int y = 0; y < c.h; y++)
            for (int x = 0; x < c.w; x++)
            {
                ASSERT_TRUE(to.GetPixelData(&info, x, y, &r, &g, &b, &a));
                if (c.channels == 3)
                    EXPECT_EQ((std::vector<int>{r, g, b}),
                              (std::vector<int>{row_colours[y][0], row_colours[y][1], row_colours[y][2]}));
                else
                    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{10, 20, 30, 255}));
            }
        to.RestoreAfterGettingPixelData(&info);
    }
    ClearTo(0, 0, 0);
    ASSERT_TRUE(to.GetGL()->CopyFromTexture(&rows));
    DrawFull(to);
    ExpectPixel(320, 240, 0, 0, 255, 4);

    EngTexture empty;
    EXPECT_FALSE(to.GetGL()->CopyFromTexture(&empty));
    EXPECT_TRUE(Logged("From texture not ok"));
    EXPECT_FALSE(Logged("Internal Error"));
}

TEST_F(Textures, JpegFromTextureAndTgaIntoTexture)
{
    EngTexture rgb, rgba;
    ASSERT_TRUE(rgb.LoadFromFile(SolidPng("s.png", 8, 8, {30, 160, 220}).c_str(), 0, 0));
    std::string jpg = dir.File("page.jpg");
    ASSERT_TRUE(EngJpegSaveToFileFromTexture(jpg.c_str(), &rgb, 100, 300));
    unsigned w, h;
    unsigned char* px = EngJpegReadFileToBuffer(jpg.c_str(), &w, &h);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w, 8u);
    EXPECT_NEAR(px[1], 160, 3);
    std::free(px);
    int tw = 4, th = 2;
    ASSERT_TRUE(rgba.CreateEmptyTexture(&tw, &th, 1));
    EXPECT_FALSE(EngJpegSaveToFileFromTexture(jpg.c_str(), &rgba, 100, 300));
    EXPECT_TRUE(Logged("Invalid Texture (channels: 4)"));

    EngTga tga(4, 2, 32, 1.0f, 0.5f, 0.0f, 1.0f);
    ASSERT_TRUE(tga.FillTexture(&rgba));
    ClearTo(0, 0, 0);
    DrawFull(rgba);
    ExpectPixel(320, 240, 255, 127, 0, 2);
    EXPECT_FALSE(tga.FillTexture(&rgb));
    EXPECT_TRUE(Logged("Incompatible texure and data [8x8x24 != 4x2x32]"));

    // The texture's pixels back into an image file and again.
    std::string tga_file = dir.File("t.tga");
    EngTga none;
    ASSERT_TRUE(none.SaveToFileFromTexture(tga_file.c_str(), &rgba));
    EngTga back(tga_file.c_str());
    ASSERT_NE(back.m_data, nullptr);
    EXPECT_EQ(back.m_data[0], tga.m_data[0]);
}

// The print's way of saving: a temporary beside the file, renamed over it.
// A texture the writer refuses leaves the old file and no temporary, and the
// save gives the writer's reason, not a stale errno.
TEST_F(Textures, AtomicJpegSaveKeepsTheOldFileAndGivesTheWritersReason)
{
    EngTexture rgb, rgba;
    ASSERT_TRUE(rgb.LoadFromFile(SolidPng("s.png", 8, 8, {30, 160, 220}).c_str(), 0, 0));
    int tw = 4, th = 2;
    ASSERT_TRUE(rgba.CreateEmptyTexture(&tw, &th, 1));
    const std::string jpg = dir.File("print.jpg");
    vztest::WriteFile(jpg, "old print");

    ASSERT_TRUE(EngJpegSaveToFileFromTextureAtomically(jpg.c_str(), &rgb, 100, 300));
    unsigned w = 0, h = 0;
    unsigned char* px = EngJpegReadFileToBuffer(jpg.c_str(), &w, &h);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w, 8u);
    EXPECT_NEAR(px[1], 160, 3);
    std::free(px);
    const std::string saved = vztest::ReadFile(jpg);

    DebugClearLog();
    EXPECT_EQ(EngFileGetLastSaveError(), 0);
    EXPECT_FALSE(EngJpegSaveToFileFromTextureAtomically(jpg.c_str(), &rgba, 100, 300));
    EXPECT_TRUE(Logged("Could not write <" + jpg + ">: Invalid Texture (channels: 4)"))
        << vztest::LastLogLine();
    EXPECT_FALSE(Logged("Input/output error"));
    // A caller that shows the code shows a failure, not "Success".
    EXPECT_EQ(EngFileGetLastSaveError(), EINVAL);
    EXPECT_EQ(vztest::ReadFile(jpg), saved);
    EXPECT_EQ(vztest::Listing(dir.Path()), (std::vector<std::string>{"print.jpg", "s.png"}));

    // So does a save refused for its name, after one that succeeded.
    ASSERT_TRUE(EngJpegSaveToFileFromTextureAtomically(jpg.c_str(), &rgb, 100, 300));
    EXPECT_FALSE(EngJpegSaveToFileFromTextureAtomically("", &rgb, 100, 300));
    EXPECT_EQ(EngFileGetLastSaveError(), EINVAL);
}

TEST_F(Textures, TriangleListOfTypeSevenDrawsItsColours)
{
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ENG_TRILIST_POS_COL, nullptr, 4));
    // Left half red, right half blue, two triangles each.
    list.SetPositionsRatioed(0, 0, 0, 1, 320, 0, 1, 0, 480, 1);
    list.SetPositionsRatioed(1, 320, 0, 1, 320, 480, 1, 0, 480, 1);
    list.SetPositionsRatioed(2, 320, 0, 1, 640, 0, 1, 320, 480, 1);
    list.SetPositionsRatioed(3, 640, 0, 1, 640, 480, 1, 320, 480, 1);
    list.SetColour(0, 1, 0, 0, 1);
    list.SetColour(1, 1, 0, 0, 1);
    list.SetColour(2, 0, 0, 1, 1);
    list.SetColour(3, 0, 0, 1, 1);
    list.SetColour(3, 1, 1, -0.1f, 1);
    EXPECT_TRUE(Logged("Invalid values"));
    list.SetColour(9, 1, 1, 1, 1);
    EXPECT_TRUE(Logged("Invalid Triangle 9 (num=4)"));

    ClearTo(0, 0, 0);
    device->PrepareFor2D(1);
    device->ShowTwoSidedPolygons(1);
    list.SetupForDrawing();
    list.DrawTrianglesSet(0, 2);
    list.DrawTrianglesSet(2, 2);
    list.DrawTrianglesSet(3, 5); // past the end: refused
    list.CleanupAfterDrawing();
    device->RestoreAfter2D();
    EXPECT_TRUE(Logged("Invalid Triangle set 3 + 5"));
    ExpectPixel(100, 240, 255, 0, 0);
    ExpectPixel(540, 240, 0, 0, 255);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // The winding is kept reversed: the second vertex goes to slot 2.
    list.SetPositions(0, 0, 0, 0, 1, 0, 0, 0, 1, 0);
    EXPECT_FLOAT_EQ(list.positions[3], 0);
    EXPECT_FLOAT_EQ(list.positions[4], 1);
    EXPECT_FLOAT_EQ(list.positions[6], 1);
    EXPECT_FALSE(list.Create(7, nullptr, 0));
    EXPECT_TRUE(Logged("Invalid num triangles"));
}

// Each corner keeps its own colour whichever corner the caller names first.
TEST_F(Textures, TriangleListVertexColoursStayOnTheirCorners)
{
    const float corner[3][2] = {{100, 400}, {540, 400}, {320, 60}};
    const _ColourRGBA colour[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    for (int first = 0; first < 3; first++)
    {
        SCOPED_TRACE(first);
        const int k0 = first, k1 = (first + 1) % 3, k2 = (first + 2) % 3;
        EngTriangleList list;
        ASSERT_TRUE(list.Create(ENG_TRILIST_POS_COL, nullptr, 1));
        list.SetPositionsRatioed(0, corner[k0][0], corner[k0][1], 1, corner[k1][0], corner[k1][1], 1,
                                 corner[k2][0], corner[k2][1], 1);
        list.SetVertexColour(0, 0, &colour[k0]);
        list.SetVertexColour(0, 1, colour[k1].r, colour[k1].g, colour[k1].b, 1);
        list.SetVertexColour(0, 2, &colour[k2]);

        ClearTo(0, 0, 0);
        device->PrepareFor2D(1);
        device->ShowTwoSidedPolygons(1);
        list.SetupAndDraw();
        device->RestoreAfter2D();
        // 85% of the way from the middle to a corner, that corner's colour
        // weighs 0.9 and the others 0.05 each.
        for (int k = 0; k < 3; k++)
        {
            float mx = (corner[0][0] + corner[1][0] + corner[2][0]) / 3;
            float my = (corner[0][1] + corner[1][1] + corner[2][1]) / 3;
            int x = int(mx + 0.85f * (corner[k][0] - mx)), y = int(my + 0.85f * (corner[k][1] - my));
            ExpectPixel(x, y, int(colour[k].r * 217 + 13), int(colour[k].g * 217 + 13),
                        int(colour[k].b * 217 + 13), 8);
        }
    }
}

// A quad of two triangles shows its texture upright, each quarter in its own
// corner, for the textured list types.
TEST_F(Textures, TriangleListTexturedQuadIsNotSheared)
{
    // Quarters: red top left, green top right, blue bottom left, white bottom right.
    const unsigned char quarter[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    std::vector<unsigned char> px;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            px.insert(px.end(), quarter[(y / 4) * 2 + x / 4], quarter[(y / 4) * 2 + x / 4] + 3);
    EngTexture tex;
    ASSERT_TRUE(tex.LoadFromFile(WritePng("quarters.png", 8, 8, 3, px).c_str(), 0, 0));

    for (_EngTriangleListType type : {ENG_TRILIST_POS_TC_COL, ENG_TRILIST_POS_NORM_TC})
    {
        SCOPED_TRACE(type);
        EngTriangleList list;
        ASSERT_TRUE(list.Create(type, &tex, 2));
        // Corners a b c d clockwise from the top left; triangles a b c and a c d.
        list.SetPositionsRatioed(0, 160, 120, 1, 480, 120, 1, 480, 360, 1);
        list.SetTextureCoordinates(0, 0, 0, 1, 0, 1, 1);
        list.SetPositionsRatioed(1, 160, 120, 1, 480, 360, 1, 160, 360, 1);
        list.SetTextureCoordinates(1, 0, 0, 1, 1, 0, 1);

        ClearTo(0, 0, 0);
        device->PrepareFor2D(1);
        device->ShowTwoSidedPolygons(1);
        list.SetupAndDraw();
        device->RestoreAfter2D();
        // Points of each quarter on both sides of the diagonal.
        const struct
        {
            float u, v;
            int quarter;
        } points[] = {{0.3f, 0.1f, 0}, {0.1f, 0.3f, 0}, {0.8f, 0.2f, 1},  {0.6f, 0.4f, 1},
                      {0.2f, 0.8f, 2}, {0.4f, 0.6f, 2}, {0.85f, 0.7f, 3}, {0.7f, 0.85f, 3}};
        for (const auto& p : points)
        {
            SCOPED_TRACE(testing::Message() << p.u << "," << p.v);
            const unsigned char* c = quarter[p.quarter];
            ExpectPixel(int(160 + p.u * 320), int(120 + p.v * 240), c[0], c[1], c[2], 6);
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

} // namespace
