// Textures and fonts kept across a re-creation of the GL device: their names
// belong to the former context and may name new textures of the new one.
#include "GL/GLFixture.h"

#include <vector>

#include "EngFont.h"
#include "EngTexture.h"
#include "GL/EngTextureGL.h"
#include "support/GameFont.h"
#include "support/ResourcePath.h"

using vztest::GLDevice;

namespace
{

int LogCount(const std::string& part)
{
    int n = 0;
    for (const auto& l : vztest::LoggedLines())
        if (l.find(part) != std::string::npos)
            n++;
    return n;
}

class Recreation : public GLDevice
{
protected:
    // A 4 x 4 RGB texture of one colour.
    static void MakeSolid(EngTexture& t, float r, float g, float b)
    {
        int w = 4, h = 4;
        ASSERT_TRUE(t.CreateEmptyTexture(&w, &h, 0));
        ASSERT_TRUE(t.SetPartColour(0, 0, -1, -1, r, g, b, -1));
    }

    static unsigned int NameOf(EngTexture& t) { return t.GetGL()->gl_name; }

    // What the window does on a resize or a full-screen toggle.
    void RecreateDevice()
    {
        device->Destroy();
        ASSERT_EQ(eng_gl_3d_setup, 0);
        ASSERT_TRUE(device->Create(1, 640, 480, 32, 0));
    }

    // Pixels of the back buffer that are not black, over the text area.
    static int InkedPixels()
    {
        std::vector<unsigned char> px(640 * 480 * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            n += px[i] > 40 || px[i + 1] > 40 || px[i + 2] > 40;
        return n;
    }

    static void DrawFull(EngTexture& t)
    {
        eng_main_device->PrepareFor2D(1);
        t.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
        t.Draw();
        eng_main_device->RestoreAfter2D();
    }

    // The texture is still the new context's own, with its colour.
    void ExpectIntact(EngTexture& t, unsigned int name, int r, int g, int b)
    {
        EXPECT_TRUE(t.IsOk());
        EXPECT_TRUE(glIsTexture(name));
        ClearTo(0, 0, 0);
        DrawFull(t);
        ExpectPixel(320, 240, r, g, b);
    }
};

TEST_F(Recreation, TexturesOfTheFormerDeviceAreNotOkAndLeaveNewTexturesAlone)
{
    EngTexture old_drawn, old_destroyed;
    MakeSolid(old_drawn, 1, 0, 0);
    MakeSolid(old_destroyed, 1, 0, 1);
    const unsigned int names[2] = {NameOf(old_drawn), NameOf(old_destroyed)};

    RecreateDevice();
    EngTexture green, blue;
    MakeSolid(green, 0, 1, 0);
    MakeSolid(blue, 0, 0, 1);
    // The new context hands out the same names again.
    ASSERT_EQ(NameOf(green), names[0]);
    ASSERT_EQ(NameOf(blue), names[1]);

    // A former texture draws nothing and is not OK.
    ClearTo(1, 1, 1);
    DrawFull(old_drawn);
    ExpectPixel(320, 240, 255, 255, 255);
    EXPECT_FALSE(old_drawn.IsOk());
    EXPECT_EQ(old_drawn.GetWidth(), 0);
    EXPECT_FALSE(old_drawn.BindTexture_GL());
    // Destroying former textures, with or without a use first, deletes
    // nothing of the new context.
    old_drawn.Destroy();
    old_destroyed.Destroy();
    ExpectIntact(green, names[0], 0, 255, 0);
    ExpectIntact(blue, names[1], 0, 0, 255);
    EXPECT_EQ(LogCount("former GL context"), 2);

    // The handle loads again in the new context.
    MakeSolid(old_drawn, 1, 1, 0);
    ExpectIntact(old_drawn, NameOf(old_drawn), 255, 255, 0);
    ExpectIntact(green, names[0], 0, 255, 0);
    EXPECT_EQ(LogCount("former GL context"), 2);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Recreation, FontOfTheFormerDeviceDrawsNothingAndLeavesNewTexturesAlone)
{
    EngFontShowCharWarnings(0);
    EngFont font, remade;
    _EngFontCreationEffects e = vztest::GameFontEffects();
    for (EngFont* f : {&font, &remade})
    {
        f->SetCreationEffects(&e);
        ASSERT_TRUE(vztest::CreateGameFont(*f, vztest::ResourcePath("engeexbo.ttf")));
    }
    ASSERT_GE(font.GetSheetCount(), 1);
    const unsigned int sheet = font.GetSheetTexture(0);
    const _EngFontLetter eight = *font.GetLetter('8');

    RecreateDevice();
    EngTexture red;
    MakeSolid(red, 1, 0, 0);
    ASSERT_EQ(NameOf(red), sheet);

    ClearTo(0, 0, 0);
    EngFontPrepareForDrawing(1);
    font.SetScale(3, 3);
    EXPECT_EQ(font.DrawString(100, 200, "8888"), 0.0f);
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(InkedPixels(), 0);
    EXPECT_FALSE(font.IsCreated());
    EXPECT_EQ(font.GetSheetTexture(0), 0u);
    font.Destroy();
    ExpectIntact(red, sheet, 255, 0, 0);
    EXPECT_EQ(LogCount("former GL context"), 1);

    // Made again in the new context, also straight over the former one with
    // its creation effects, the font draws.
    font.SetCreationEffects(&e);
    ASSERT_TRUE(vztest::CreateGameFont(font, vztest::ResourcePath("engeexbo.ttf")));
    EXPECT_TRUE(font.IsCreated());
    remade.SetCreationEffects(&e);
    ASSERT_TRUE(vztest::CreateGameFont(remade, vztest::ResourcePath("engeexbo.ttf")));
    EXPECT_EQ(remade.GetLetter('8')->width, eight.width);
    EXPECT_EQ(remade.GetLetter('8')->left_u, eight.left_u);
    EXPECT_EQ(LogCount("former GL context"), 2);
    remade.Destroy();
    ClearTo(0, 0, 0);
    EngFontPrepareForDrawing(1);
    font.SetScale(3, 3);
    EXPECT_GT(font.DrawString(100, 200, "8888"), 100.0f);
    EngFontRestoreAfterDrawing();
    EXPECT_GT(InkedPixels(), 200);
    font.Destroy();
    ExpectIntact(red, sheet, 255, 0, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
