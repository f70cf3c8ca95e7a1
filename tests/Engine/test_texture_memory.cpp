// Images in memory before upload: halving, padding and power-of-two scaling.
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "GL/EngDeviceGL.h"
#include "GL/EngTextureGL.h"
#include "support/JpegClaiming.h"
#include "support/TestSupport.h"

namespace
{

// A device half that needs power-of-two textures, without any GL context.
class TextureMemory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        eng_main_device_type = ENG_DEVICE_TYPE_GL;
        eng_main_device_gl = new EngDeviceGL(nullptr);
        ASSERT_TRUE(eng_main_device_gl->IsPowerOfTwoNeeded());
        std::vector<unsigned char> px;
        for (int i = 0; i < 5 * 3; i++)
            px.insert(px.end(), {(unsigned char)(i * 10), 100, 200});
        file = dir.File("p.png");
        ASSERT_NE(stbi_write_png(file.c_str(), 5, 3, 3, px.data(), 15), 0);
    }
    void TearDown() override
    {
        delete eng_main_device_gl;
        eng_main_device_gl = nullptr;
        eng_main_device_type = 0;
    }
    vztest::TempDir dir;
    std::string file;
};

TEST_F(TextureMemory, HalvingDropsTheOddRowAndColumn)
{
    EngTexture t;
    ASSERT_TRUE(t.LoadFromFileToMemory(file.c_str(), 0, 0, 0));
    ASSERT_TRUE(t.ShrinkDataInMemoryToHalfSize_GL());
    int w, h, fw, fh, c;
    ASSERT_TRUE(t.GetTexInMemoryInfo(&w, &h, &fw, &fh, &c));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(fw, 5);
    EXPECT_EQ(fh, 3);
    EXPECT_EQ(c, 3);
    // Pixel (0, 0) averages source pixels 0, 1, 5 and 6: red 0, 10, 50, 60.
    EXPECT_EQ(t.GetGL()->mem_pixels[0], ((0 + 10) / 2 + (50 + 60) / 2) / 2);
}

TEST_F(TextureMemory, PaddingFillsTheNewAreaAndReportsTheUsedPart)
{
    EngTexture t;
    ASSERT_TRUE(t.LoadFromFileToMemory(file.c_str(), 0, 0, 0));
    EXPECT_FALSE(t.IsTextureLoadedToMemoryAndReadyToBeLoaded()); // waits to be padded
    _TexCoords out;
    ASSERT_TRUE(t.UpscaleImageDataInMemoryToNearestPowerOfTwoFast_GL(&out));
    EXPECT_FLOAT_EQ(out.right, 5.0f / 8);
    EXPECT_FLOAT_EQ(out.bottom, 3.0f / 4);
    EXPECT_TRUE(t.IsTextureLoadedToMemoryAndReadyToBeLoaded());
    EngTextureGL* gl = t.GetGL();
    ASSERT_EQ(gl->mem_width, 8);
    ASSERT_EQ(gl->mem_height, 4);
    EXPECT_EQ(gl->mem_pixels[(0 * 8 + 4) * 3 + 1], 100); // the image
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 8; x++)
        {
            if (x < 5 && y < 3)
                continue;
            for (int k = 0; k < 3; k++)
                ASSERT_EQ(gl->mem_pixels[(y * 8 + x) * 3 + k], 0) << x << "," << y;
        }
    EXPECT_FALSE(t.UpscaleImageDataInMemoryToNearestPowerOfTwoFast_GL(nullptr));
}

TEST_F(TextureMemory, ScaleToFitResamplesToNearestPowersOfTwo)
{
    EngTexture t;
    ASSERT_TRUE(t.LoadFromFileToMemory(file.c_str(), 0, 0, 1));
    int w, h;
    ASSERT_TRUE(t.GetTexInMemoryInfo(&w, &h, nullptr, nullptr, nullptr));
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    EXPECT_TRUE(t.IsTextureLoadedToMemoryAndReadyToBeLoaded());
    t.FreeTextureInMemory();
    EXPECT_FALSE(t.IsTextureLoadedToMemory());
    EXPECT_FALSE(t.GetTexInMemoryInfo(&w, &h, nullptr, nullptr, nullptr));
}

// A flat picture brought to powers of two, growing or shrinking, keeps its
// colour in every pixel.
TEST_F(TextureMemory, ScaleToFitKeepsAFlatPictureExactly)
{
    struct
    {
        int w, h, tw, th;
        std::vector<unsigned char> rgb;
    } const cases[] = {
        {3, 3, 4, 4, {255, 255, 255}},
        {5, 3, 4, 4, {200, 100, 1}},
        {12, 6, 16, 8, {255, 255, 255}},
        {40, 20, 32, 16, {17, 254, 128}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        std::vector<unsigned char> px;
        for (int i = 0; i < c.w * c.h; i++)
            px.insert(px.end(), c.rgb.begin(), c.rgb.end());
        std::string name = dir.File("flat.png");
        ASSERT_NE(stbi_write_png(name.c_str(), c.w, c.h, 3, px.data(), c.w * 3), 0);
        EngTexture t;
        ASSERT_TRUE(t.LoadFromFileToMemory(name.c_str(), 0, 0, 1));
        int w, h, channels;
        ASSERT_TRUE(t.GetTexInMemoryInfo(&w, &h, nullptr, nullptr, &channels));
        ASSERT_EQ(w, c.tw);
        ASSERT_EQ(h, c.th);
        ASSERT_EQ(channels, 3);
        const unsigned char* m = t.GetGL()->mem_pixels;
        std::vector<unsigned char> expected;
        for (int i = 0; i < w * h; i++)
            expected.insert(expected.end(), c.rgb.begin(), c.rgb.end());
        EXPECT_EQ(std::vector<unsigned char>(m, m + size_t(w) * h * 3), expected);
    }
}

TEST_F(TextureMemory, NoGLContextFailsTheUploadWithAReason)
{
    ASSERT_EQ(eng_gl_3d_setup, 0);
    EngTexture t;
    EXPECT_FALSE(t.LoadFromFile(file.c_str(), 0, 0));
    EXPECT_FALSE(t.IsOk());
    EXPECT_EQ(t.GetGL()->gl_name_valid, 0);
    EXPECT_TRUE(vztest::Logged("No GL context"));
    int w = 4, h = 4;
    EXPECT_FALSE(t.CreateEmptyTexture(&w, &h, 0));
    EXPECT_FALSE(t.IsOk());
}

// A decoder that spins on a damaged file would never return: give up on it
// and end the program rather than wait for the suite's time limit.
template <class F> void MustReturn(const char* what, F f)
{
    auto done = std::async(std::launch::async, f);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::timeout)
    {
        std::fprintf(stderr, "%s never returned\n", what);
        std::fflush(stderr);
        std::_Exit(1);
    }
    done.get();
}

TEST_F(TextureMemory, DamagedFilesAreRefusedAtOnce)
{
    // A BMP header of 3 x 16,711,940 pixels, 24 bits each, in 143 bytes.
    std::string bmp = std::string("BM", 2) + std::string("\x8f\0\0\0\0\0\0\0\x36\0\0\0", 12) +
                      std::string("\x28\0\0\0\x03\0\0\0\x04\x01\xff\0\x01\0\x18\0", 16) +
                      std::string(24, '\0');
    bmp.resize(143, '\x55');
    // The same header stored top-down: 4096 x -8192 pixels.
    std::string top_down = bmp;
    top_down.replace(18, 8, std::string("\0\x10\0\0\0\xe0\xff\xff", 8));
    std::string arith = vztest::JpegClaiming(8000, 8000, vztest::JpegCoding::Arithmetic);
    ASSERT_FALSE(arith.empty());
    struct
    {
        const char* name;
        std::string data;
        const char* reason;
    } const cases[] = {
        {"six.bin", std::string("\xff\xff\xd8\xff\xee\xee", 6), "Load failed <"},
        {"tall.bmp", bmp, "cannot come from a file of 143 bytes"},
        {"top_down.bmp", top_down, "Image size [4096 x 8192] cannot come from a file of 143 bytes"},
        // Kinds the engine does not take never reach a decoder.
        {"deep.pgm", std::string("P5\n4 4\n65535\n\x01\x02", 15),
         "Load failed <Image kind not supported <PNM>>"},
        {"layers.psd", std::string("8BPS\0\1", 6) + std::string(40, '\0'), "Image kind not supported <PSD>"},
        {"arith.jpg", arith, "Image size [8000 x 8000] cannot come from a file of"},
        // A plain 24-bit TGA header of 8000 x 8000 pixels with none after it.
        {"wide.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\x40\x1f\x40\x1f\x18\x20", 18),
         "cannot come from a file of 18 bytes"},
    };
    for (const auto& c : cases)
    {
        std::string path = dir.File(c.name);
        vztest::WriteFile(path, c.data);
        DebugClearLog();
        char ok = 1;
        EngTexture t;
        MustReturn(c.name, [&] { ok = t.LoadFromFileToMemory(path.c_str(), 0, 0, 1); });
        EXPECT_FALSE(ok) << c.name;
        EXPECT_FALSE(t.IsTextureLoadedToMemory()) << c.name;
        EXPECT_TRUE(vztest::Logged(c.reason)) << c.name;
    }
}

TEST(TexturePowers, NearestInTheLogarithmicSenseAndCappedAtTheLimit)
{
    EngDeviceGL dev(nullptr);
    eng_main_device_gl = &dev;
    struct
    {
        int n, expected;
    } const cases[] = {{724, 256}, {725, 256}, {200, 256}, {181, 128}, {182, 256}, {3, 4}, {1, 1}};
    for (const auto& c : cases)
    {
        int tw = 0;
        EngTextureGetClosestPowerOf2_GL(c.n, 1, &tw, nullptr);
        EXPECT_EQ(tw, c.expected) << c.n;
    }
    dev.max_texture_size_gl = 4096;
    int tw = 0;
    EngTextureGetClosestPowerOf2_GL(724, 1, &tw, nullptr);
    EXPECT_EQ(tw, 512);
    EngTextureGetClosestPowerOf2_GL(725, 1, &tw, nullptr);
    EXPECT_EQ(tw, 1024);
    eng_main_device_gl = nullptr;
}

} // namespace
