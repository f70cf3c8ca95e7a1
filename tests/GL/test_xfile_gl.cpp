// .x models drawn on a hidden window: part colours and textures, the colour
// and texture state carried from part to part, and loading textures.
#include "GL/GLFixture.h"

#include <stb/stb_image_write.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "EngLights.h"
#include "EngTexture.h"
#include "EngXfile.h"
#include "support/TestSupport.h"

using vztest::GLDevice;
using vztest::Logged;

namespace
{

// Part 0: red, untextured, the lower-left corner of the view. Part 1: the
// named material "Blue" with a texture, the upper-right corner.
const char* kModel = "xof 0303txt 0032\n"
                     "Material Blue {\n1.0;1.0;1.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n"
                     "TextureFilename {\n\"blue.png\";\n}\n}\n"
                     "Mesh Red {\n3;\n-1.0;-1.0;0.0;,\n0.0;-1.0;0.0;,\n-1.0;0.0;0.0;;\n1;\n3;0,1,2;;\n"
                     "MeshNormals {\n1;\n0.0;0.0;1.0;;\n1;\n3;0,0,0;;\n}\n"
                     "MeshMaterialList {\n1;\n1;\n0;;\nMaterial {\n1.0;0.0;0.0;1.0;;\n1.0;\n0.0;0.0;0.0;;\n"
                     "0.0;0.0;0.0;;\n}\n}\n}\n"
                     "Mesh Textured {\n3;\n1.0;1.0;0.0;,\n0.0;1.0;0.0;,\n1.0;0.0;0.0;;\n1;\n3;0,1,2;;\n"
                     "MeshNormals {\n1;\n0.0;0.0;1.0;;\n1;\n3;0,0,0;;\n}\n"
                     "MeshMaterialList {\n1;\n1;\n0;;\n{ Blue }\n}\n"
                     "MeshTextureCoords {\n3;\n0.5;0.5;,\n0.5;0.5;,\n0.5;0.5;;\n}\n}\n";

class XfileDraw : public GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        glxf_use_colours_with_textures = 0;
        std::vector<unsigned char> px;
        for (int i = 0; i < 16; i++)
            px.insert(px.end(), {0, 0, 255});
        ASSERT_NE(stbi_write_png(dir.File("blue.png").c_str(), 4, 4, 3, px.data(), 12), 0);
        vztest::WriteFile(dir.File("model.x"), kModel);
        ASSERT_TRUE(model.LoadFromFile(Folder(), const_cast<char*>("model.x"), 1, 1, 1, nullptr, 0, 0,
                                       nullptr, nullptr, nullptr));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        ClearTo(0, 0, 0);
    }
    void TearDown() override
    {
        model.Destroy();
        glxf_use_colours_with_textures = 0;
        GLDevice::TearDown();
    }

    char* Folder() { return const_cast<char*>(dir.Path().c_str()); }

    static std::vector<float> CurrentColour()
    {
        float c[4];
        glGetFloatv(GL_CURRENT_COLOR, c);
        return {c[0], c[1], c[2], c[3]};
    }
    static GLint BoundTexture()
    {
        GLint name = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    }

    vztest::TempDir dir;
    EngXfile model;
};

const std::vector<float> kWhite = {1, 1, 1, 1};

TEST_F(XfileDraw, RendersColouredAndTexturedPartsThenRestoresState)
{
    ASSERT_EQ(model.GetNumMaterials(), 2);
    EngTexture* texture = nullptr;
    ASSERT_TRUE(model.GetPartMaterialTexture(1, &texture));
    EXPECT_TRUE(texture->IsOk());
    EXPECT_FALSE(model.GetPartMaterialTexture(0, &texture));

    model.UseTexCoords(1);
    ASSERT_TRUE(model.Render());
    ExpectPixel(20, 460, 255, 0, 0);
    ExpectPixel(620, 20, 0, 0, 255);
    ExpectPixel(620, 460, 0, 0, 0);
    EXPECT_EQ(CurrentColour(), kWhite);
    EXPECT_EQ(BoundTexture(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(XfileDraw, StateCarriedBetweenParts)
{
    char texture_bound = 9, colour_set = 9;
    model.PrepareToRender();

    // Coloured, then textured: the default colour is restored before it.
    ASSERT_TRUE(model.RenderPart(0, 0, 0, 0, 0, &texture_bound, &colour_set));
    EXPECT_EQ(colour_set, 1);
    EXPECT_EQ(texture_bound, 0);
    EXPECT_EQ(CurrentColour(), std::vector<float>({1, 0, 0, 1}));
    ASSERT_TRUE(model.RenderPart(1, texture_bound, colour_set, 0, 0, &texture_bound, &colour_set));
    EXPECT_EQ(colour_set, 0);
    EXPECT_EQ(texture_bound, 1);
    EXPECT_EQ(CurrentColour(), kWhite);
    EXPECT_NE(BoundTexture(), 0);

    // A textured part drawn first keeps the current colour; clean-up flags
    // unbind at the end of the call.
    glColor4f(0, 1, 0, 1);
    ASSERT_TRUE(model.RenderPart(1, 0, 0, 1, 1, &texture_bound, &colour_set));
    EXPECT_EQ(CurrentColour(), std::vector<float>({0, 1, 0, 1}));
    EXPECT_EQ(texture_bound, 0);
    EXPECT_EQ(BoundTexture(), 0);

    // A refused part number still cleans what it was asked to.
    ASSERT_TRUE(model.RenderPart(0, 0, 0, 0, 0, &texture_bound, &colour_set));
    ASSERT_TRUE(model.RenderPart(1, texture_bound, 1, 0, 0, &texture_bound, &colour_set));
    glColor4f(0, 1, 0, 1);
    EXPECT_FALSE(model.RenderPart(7, 1, 1, 1, 1, &texture_bound, &colour_set));
    EXPECT_TRUE(Logged("XFile only has 2 materials (num = 7)"));
    EXPECT_EQ(texture_bound, 0);
    EXPECT_EQ(colour_set, 0);
    EXPECT_EQ(BoundTexture(), 0);
    EXPECT_EQ(CurrentColour(), kWhite);
    model.RestoreAfterRendering();
}

TEST_F(XfileDraw, ColoursWithTexturesAndReplacedTextures)
{
    model.UseTexCoords(1);
    EngXfileUseColourWhenRenderingPartsThatHaveTextures(1);
    ASSERT_TRUE(model.SetMaterialColour(1, 0.5f, 0.5f, 0.5f));
    ASSERT_TRUE(model.Render());
    ExpectPixel(620, 20, 0, 0, 128, 3);

    // Replacing with a file that does not load drops the texture: the part
    // is then drawn in its colour alone.
    EXPECT_FALSE(model.SetMaterialTextureFromFile(1, const_cast<char*>("none.png"), 0, 0, 0));
    EngTexture* texture = nullptr;
    EXPECT_FALSE(model.GetPartMaterialTexture(1, &texture));
    ClearTo(0, 0, 0);
    ASSERT_TRUE(model.Render());
    ExpectPixel(620, 20, 128, 128, 128, 3);

    std::string file = dir.File("blue.png");
    ASSERT_TRUE(model.SetMaterialTextureFromFile(1, &file[0], 0, 0, 0));
    EXPECT_TRUE(model.SetAllMaterialsTexturesFromFile(&file[0], 0, 0, 1)); // part 0 has none: unchanged
    EXPECT_FALSE(model.GetPartMaterialTexture(0, &texture));
    EXPECT_TRUE(model.GetPartMaterialTexture(1, &texture));
}

// A cube of half-size 0.5 around the origin in one orange material, each
// side two triangles with the side's outward normal.
std::string OrangeCube()
{
    // Vertex v has x, y, z from its bits 0, 1, 2.
    const int sides[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3},
                             {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
    const char* normals = "1.0;0.0;0.0;,\n-1.0;0.0;0.0;,\n0.0;1.0;0.0;,\n0.0;-1.0;0.0;,\n"
                          "0.0;0.0;1.0;,\n0.0;0.0;-1.0;;\n";
    std::string x = "xof 0303txt 0032\nMesh Cube {\n8;\n";
    for (int v = 0; v < 8; v++)
        x += std::string(v & 1 ? "0.5;" : "-0.5;") + (v & 2 ? "0.5;" : "-0.5;") + (v & 4 ? "0.5;" : "-0.5;") +
             (v < 7 ? ",\n" : ";\n");
    std::string faces, face_normals;
    for (int s = 0; s < 6; s++)
        for (int t = 0; t < 2; t++)
        {
            const int* q = sides[s];
            const char* end = s == 5 && t == 1 ? ";\n" : ",\n";
            faces += "3;" + std::to_string(q[0]) + "," + std::to_string(q[t + 1]) + "," +
                     std::to_string(q[t + 2]) + ";" + end;
            face_normals +=
                "3;" + std::to_string(s) + "," + std::to_string(s) + "," + std::to_string(s) + ";" + end;
        }
    x += "12;\n" + faces + "MeshNormals {\n6;\n" + normals + "12;\n" + face_normals + "}\n";
    x += "MeshMaterialList {\n1;\n1;\n0;;\nMaterial {\n1.0;0.5;0.0;1.0;;\n1.0;\n0.0;0.0;0.0;;\n"
         "0.0;0.0;0.0;;\n}\n}\n}\n";
    return x;
}

// The cube keeps its material's hue with lighting on, each side lit by how
// it faces the light, and the lighting state is left as it was found.
TEST_F(XfileDraw, LitModelKeepsItsColour)
{
    vztest::WriteFile(dir.File("cube.x"), OrangeCube());
    EngXfile cube;
    ASSERT_TRUE(cube.LoadFromFile(Folder(), const_cast<char*>("cube.x"), 1, 1, 1, nullptr, 0, 0, nullptr,
                                  nullptr, nullptr));
    cube.UseNormals(1);
    glDisable(GL_TEXTURE_2D);
    for (bool lit : {false, true})
    {
        SCOPED_TRACE(lit ? "lit" : "unlit");
        ClearTo(0, 0, 0);
        if (lit)
        {
            device->TurnOnLighting();
            EngLightsSetupLights(); // the default light, towards the viewer and up
        }
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -2, 2);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30, 1, 0, 0);
        glRotatef(-40, 0, 1, 0);
        glEnable(GL_DEPTH_TEST);
        ASSERT_TRUE(cube.Render());
        glDisable(GL_DEPTH_TEST);

        std::vector<unsigned char> px(size_t(640) * 480 * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        std::set<int> reds;
        int drawn = 0, off_hue = 0;
        for (size_t i = 0; i < px.size(); i += 4)
        {
            int r = px[i], g = px[i + 1], b = px[i + 2];
            if (r + g + b < 40)
                continue; // background
            drawn++;
            reds.insert(r / 8);
            // Orange: hue 30 degrees, fully saturated.
            double hue = r > b ? 60.0 * (g - b) / (r - b) : 0;
            if (std::abs(hue - 30) > 4 || b > 4 || r < g)
                off_hue++;
        }
        EXPECT_GT(drawn, 640 * 480 / 8);
        EXPECT_EQ(off_hue, 0) << "of " << drawn;
        // Lit, the three sides in view differ in brightness; unlit they are one colour.
        if (lit)
            EXPECT_GE(reds.size(), 3u);
        else
            EXPECT_EQ(reds.size(), 1u);
    }

    // Other lit drawing still sees the default material.
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    float diffuse[4], ambient[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    EXPECT_EQ(std::vector<float>(diffuse, diffuse + 4), std::vector<float>({0.8f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(std::vector<float>(ambient, ambient + 4), std::vector<float>({0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(CurrentColour(), kWhite);
    device->TurnOffLighting();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(XfileDraw, TextureNameCallbackChoosesTheFile)
{
    std::vector<unsigned char> px(4 * 4 * 3, 255);
    ASSERT_NE(stbi_write_png(dir.File("white.png").c_str(), 4, 4, 3, px.data(), 12), 0);
    static std::string chosen;
    chosen = dir.File("white.png");
    auto cb = [](EngXfile*, int, char*, char*, void*, void*) -> char* { return &chosen[0]; };
    EngXfile other;
    ASSERT_TRUE(other.LoadFromFile(Folder(), const_cast<char*>("model.x"), 1, 1, 1, nullptr, 0, 0, cb,
                                   nullptr, nullptr));
    other.UseTexCoords(1);
    ASSERT_TRUE(other.Render());
    ExpectPixel(620, 20, 255, 255, 255);
    other.Destroy();
    EXPECT_FALSE(other.IsOk());
    EXPECT_FALSE(other.Render());
}

} // namespace
