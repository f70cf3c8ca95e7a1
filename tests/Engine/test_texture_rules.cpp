// Texture rules that need no device: custom alpha types and file kinds.
#include <gtest/gtest.h>

#include "EngTexture.h"

namespace
{

TEST(TextureRules, AlphaFromBrightness)
{
    struct
    {
        char type;
        unsigned char r, g, b, alpha;
    } const cases[] = {
        {0, 1, 2, 3, 255},       {1, 255, 255, 255, 0},   {3, 10, 200, 200, 200}, {4, 40, 10, 10, 64},
        {4, 70, 0, 0, 255},      {4, 31, 31, 31, 0},      {5, 31, 0, 0, 248},     {5, 32, 0, 0, 255},
        {6, 200, 50, 50, 205},   {7, 200, 210, 220, 184}, {7, 230, 240, 250, 0},  {7, 255, 0, 0, 255},
        {8, 223, 255, 255, 255}, {8, 224, 230, 240, 248}, {8, 255, 255, 255, 0},  {9, 0, 0, 0, 255},
        {2, 9, 9, 9, 0},         {42, 9, 9, 9, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EngTexture_GetPixelAlphaFromBrightness(c.type, c.r, c.g, c.b), c.alpha)
            << "type " << int(c.type) << " (" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

TEST(TextureRules, FileKindFromExtension)
{
    struct
    {
        const char* name;
        int kind;
    } const cases[] = {{"a.bmp", 1}, {"pic.TGA", 2}, {"x.JPEG", 3}, {"x.jpg", 3},
                       {"b.png", 4}, {"c.gif", 5},   {"m.dat", 77}, {"abc", 0},
                       {"a.txt", 0}, {"png", 0},     {nullptr, 0},  {"ajpeg", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(EngTexture_GetFileExt(c.name, 77), c.kind) << (c.name ? c.name : "null");
}

} // namespace
