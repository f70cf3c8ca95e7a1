// Images in memory before upload: halving, padding and power-of-two scaling.
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "GL/EngDeviceGL.h"
#include "GL/EngTextureGL.h"
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
