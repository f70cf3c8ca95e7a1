// Bitmap fonts on a real GL context: text blocks, aligned drawing, clipping,
// the cursor, high bytes, and text rendered into a texture.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngProgram.h"
#include "EngMatrix.h"
#include "EngTexture.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"
#include "support/GameFont.h"
#include "support/ResourcePath.h"
#include "support/TestSupport.h"

using vztest::Logged;
using vztest::ResourcePath;

namespace
{

struct Box
{
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1; // inclusive, y from the top
    bool Empty() const { return x1 < 0; }
    float Cx() const { return (x0 + x1) / 2.0f; }
    float Cy() const { return (y0 + y1) / 2.0f; }
};

// One hidden window and GL device for the whole program.
class GLEnv : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
        window = SDL_CreateWindow("font test", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        eng_main_sdl_window = window;
        eng_main_window = &engine_window;
        eng_main_device_type = ENG_DEVICE_TYPE_GL;
        engine_window.UpdateWindowVariables(1, 640, 480, 32, -1);
        device = new EngDevice(&engine_window);
        ASSERT_TRUE(device->Create(1, 640, 480, 32, 0));
        ASSERT_EQ(eng_main_device, device);
    }
    void TearDown() override
    {
        delete device;
        device = nullptr;
        eng_main_window = nullptr;
        eng_main_sdl_window = nullptr;
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }
    SDL_Window* window = nullptr;
    EngWindow engine_window;
    EngDevice* device = nullptr;
};

::testing::Environment* const gl_env = ::testing::AddGlobalTestEnvironment(new GLEnv);

class FontGL : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        EngFontShowCharWarnings(0);
        _EngFontCreationEffects e = vztest::GameFontEffects();
        font.SetCreationEffects(&e);
        ASSERT_TRUE(vztest::CreateGameFont(font, ResourcePath("engeexbo.ttf")));
        Clear();
    }
    void TearDown() override
    {
        EngFontRestoreAfterDrawingIfNeeded();
        EXPECT_FALSE(eng_main_device->Is2dPrepared());
        font.Destroy();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        DebugResetForTests();
    }
    static void Clear()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The inked pixels of the back buffer (red above 40), y from the top.
    static Box Ink(int* count = nullptr)
    {
        std::vector<unsigned char> px(640 * 480 * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        Box b;
        int n = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if (px[(size_t(479 - y) * 640 + x) * 4] > 40)
                {
                    n++;
                    b.x0 = std::min(b.x0, x);
                    b.x1 = std::max(b.x1, x);
                    b.y0 = std::min(b.y0, y);
                    b.y1 = std::max(b.y1, y);
                }
        if (count)
            *count = n;
        return b;
    }
    vztest::TempDir dir;
    EngFont font;
};

TEST_F(FontGL, SheetsAreTextures)
{
    ASSERT_GE(font.GetSheetCount(), 1);
    for (int s = 0; s < font.GetSheetCount(); s++)
    {
        GLuint t = font.GetSheetTexture(s);
        ASSERT_TRUE(glIsTexture(t));
        glBindTexture(GL_TEXTURE_2D, t);
        GLint w = 0, fmt = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &fmt);
        EXPECT_EQ(w, 512);
        EXPECT_EQ(fmt, GL_ALPHA);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(font.GetSheetPixels(0), nullptr); // uploaded, not kept
}

TEST_F(FontGL, CentredEightInksOnlyTheCentre)
{
    EngFontPrepareForDrawingWithOrientation(char(1));
    font.SetScale(3, 3);
    font.DrawStringAlign(320, 240, 1, 1, "8", 0);
    EngFontRestoreAfterDrawing();
    int n = 0;
    Box b = Ink(&n);
    ASSERT_FALSE(b.Empty());
    EXPECT_GT(n, 50);
    EXPECT_NEAR(b.Cx(), 320, 6);
    EXPECT_NEAR(b.Cy(), 240, 12);
    EXPECT_GT(b.x0, 280);
    EXPECT_LT(b.x1, 360);
    EXPECT_GT(b.y0, 180);
    EXPECT_LT(b.y1, 300);
}

struct AlignCase
{
    char h_align;
    float start; // pen x at the first character, in widths of the string
};

TEST_F(FontGL, AlignedDrawingAndTheCursor)
{
    const char* s = "Vizavu 42";
    const float w = font.GetStringWidth(s);
    const int len = int(strlen(s));
    ASSERT_GT(w, 0);
    const AlignCase cases[] = {{0, 0}, {1, -0.5f}, {2, -1}};
    EngFontPrepareForDrawingWithOrientation(char(1));
    for (const AlignCase& c : cases)
    {
        SCOPED_TRACE(int(c.h_align));
        font.RecordNextTextXPos(0);
        font.DrawStringAlign(320, 100, c.h_align, 0, s, 0);
        EXPECT_NEAR(font.RecordNextTextXPos(len), 320 + c.start * w, 1e-3);
        font.DrawStringAlign(320, 100, c.h_align, 0, s, 0);
        EXPECT_NEAR(font.RecordNextTextXPos(-1), 320 + (c.start + 1) * w, 1e-3);
    }
    // v_align 0 puts the baseline one font height below y.
    Clear();
    font.SetScale(2, 2);
    font.DrawStringAlign(100, 100, 0, 0, "H", 0);
    Box top = Ink();
    Clear();
    font.DrawStringAlign(100, 100, 0, 2, "H", 0);
    Box base = Ink();
    EngFontRestoreAfterDrawing();
    ASSERT_FALSE(top.Empty());
    ASSERT_FALSE(base.Empty());
    EXPECT_NEAR(top.y1 - base.y1, font.GetFontHeight(1), 1.5);
}

TEST_F(FontGL, MaxXSkipsLettersThatReachIt)
{
    const float W = font.GetCharWidth('W'), i = font.GetCharWidth('i');
    ASSERT_GT(W, i);
    EngFontPrepareForDrawingWithOrientation(char(1));
    // 'W' would end at max_x: left out, the pen stays; the narrower 'i' fits.
    font.RecordNextTextXPos(0);
    float end = font.DrawStringPart(10, 50, "Wi", 0, 10 + W);
    EXPECT_NEAR(end, 10 + i, 1e-4);
    EXPECT_EQ(font.RecordNextTextXPos(-1), 0.0f); // the clipped letter recorded nothing
    font.RecordNextTextXPos(1);
    font.DrawStringPart(10, 50, "Wi", 0, 10 + W);
    EXPECT_NEAR(font.RecordNextTextXPos(-1), 10, 1e-4);
    // A count draws only the first characters.
    EXPECT_NEAR(font.DrawStringPart(10, 50, "Wi", 1, 0), 10 + W, 1e-4);

    // The left limit hides letters that start before it but keeps their room.
    Clear();
    font.SetScale(3, 3);
    font.DrawString(100, 200, "I");
    Box one = Ink();
    Clear();
    const float I = font.GetScaledCharWidth('I');
    font.DrawStringPartSetXStartPos(1, 100 + I / 2);
    EXPECT_NEAR(font.DrawString(100, 200, "II"), 100 + 2 * I, 1e-3);
    font.DrawStringPartSetXStartPos(0, 0);
    Box second = Ink();
    EngFontRestoreAfterDrawing();
    ASSERT_FALSE(one.Empty());
    ASSERT_FALSE(second.Empty());
    EXPECT_NEAR(second.x0, one.x0 + I, 1.5);
    EXPECT_NEAR(second.x1 - second.x0, one.x1 - one.x0, 1.5);
}

TEST_F(FontGL, MultilineDrawsEachLineAligned)
{
    font.SetScale(2, 2);
    const float L = font.GetFontHeight(1);
    const float max_w = font.GetStringWidth("ab c");
    std::vector<unsigned char> wrapped(640 * 480 * 4), reference(640 * 480 * 4);
    auto grab = [](std::vector<unsigned char>& px) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    };
    EngFontPrepareForDrawingWithOrientation(char(1));
    int lines = 0;
    font.DrawMultilineText(40, 60, max_w, 400, 0, 0, "ab cd\n\nef", 1, 0, nullptr, nullptr, &lines, nullptr);
    EXPECT_EQ(lines, 4);
    grab(wrapped);
    // "ab", then " cd" without its leading space, a blank line, "ef".
    Clear();
    font.DrawStringAlign(40, 60, 0, 0, "ab", 0);
    font.DrawStringAlign(40, 60 + L, 0, 0, "cd", 0);
    font.DrawStringAlign(40, 60 + 3 * L, 0, 0, "ef", 0);
    grab(reference);
    EngFontRestoreAfterDrawing();
    EXPECT_FALSE(Ink().Empty());
    EXPECT_TRUE(wrapped == reference);
}

// The game's font holds the Latin-1 letters; the control codes between them
// and ASCII have none and draw as question marks, in their place.
TEST_F(FontGL, Latin1LettersDrawAndControlCodesShowAsQuestionMarks)
{
    std::string controls;
    for (int b = 127; b < 160; b++)
        controls += char(b);
    const std::string marks(controls.size(), '?');
    std::vector<unsigned char> drawn(640 * 480 * 4), reference(640 * 480 * 4);
    auto grab = [](std::vector<unsigned char>& px)
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    };
    EngFontPrepareForDrawingWithOrientation(char(1));
    font.SetScale(0.5f, 3);
    const float pen = font.DrawStringPart(10, 200, marks.c_str(), 0, 0);
    ASSERT_GT(pen, 10 + 32 * font.GetStringWidth("i"));
    grab(reference);
    Clear();
    EXPECT_EQ(font.DrawStringPart(10, 200, controls.c_str(), 0, 0), pen);
    grab(drawn);
    EXPECT_FALSE(Ink().Empty());
    EXPECT_TRUE(drawn == reference);
    EXPECT_EQ(font.GetStringWidth(controls.c_str()), font.GetStringWidth(marks.c_str()));
    font.SetScale(3, 3);
    float with = font.DrawStringPart(50, 200,
                                     "a\x85"
                                     "b",
                                     0, 0);
    EXPECT_NEAR(with, 50 + font.GetStringWidth("a?b"), 1e-3);
    // The letter table itself holds nothing for them.
    for (int b = 127; b < 160; b++)
        EXPECT_EQ(font.DrawLetter_GL((unsigned char)b), 0.0f);

    Clear();
    const char letters[] = "\xE9\xFC\xDF\xC5\xF1";
    EXPECT_GT(font.DrawStringPart(50, 200, letters, 0, 0), 50 + 4 * font.GetStringWidth("i"));
    EXPECT_FALSE(Ink().Empty());
    for (int b = 161; b < 256; b++)
        EXPECT_GT(font.DrawLetter_GL((unsigned char)b), 0.0f) << b;
    EngFontRestoreAfterDrawing();
}

// A font made without the letters 160 to 255 draws the no-break space as it
// draws the space: the words stand apart, on the screen and in a texture.
TEST_F(FontGL, NoBreakSpaceWithoutALetterDrawsAsTheSpace)
{
    EngFont ascii;
    ASSERT_TRUE(ascii.CreateFromFontFile(ResourcePath("engeexbo.ttf").c_str(), 0, 32, 20, 32, 127, nullptr, 0, 1, 1,
                                         0, 0, 0, 0, 0, 0, 0));
    ASSERT_EQ(ascii.GetLetter(0xA0), nullptr);
    const char* spaced = "AB BA";
    const char* joined = "AB\xA0"
                         "BA";
    // In windows of several shapes, as the 640 x 480 space is mapped to each.
    const struct
    {
        int w, h;
    } sizes[] = {{640, 480}, {1280, 960}, {600, 900}};
    // The drawable takes a window's new size at the next swap.
    auto resize = [](int w, int h)
    {
        SDL_Window* sdl = static_cast<SDL_Window*>(eng_main_sdl_window);
        SDL_SetWindowSize(sdl, w, h);
        SDL_GL_SwapWindow(sdl);
        eng_main_window->UpdateWindowVariables(1, w, h, 32, -1);
    };
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
        resize(size.w, size.h);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        unsigned char corner[4] = {0, 0, 0, 0};
        glReadPixels(size.w - 1, size.h - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
        ASSERT_EQ(corner[0], 255) << "the back buffer did not take the window's size";
        auto grab = [&size]
        {
            std::vector<unsigned char> px(size_t(size.w) * size.h * 4);
            glReadBuffer(GL_BACK);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, size.w, size.h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
            return px;
        };
        Clear();
        EngFontPrepareForDrawingWithOrientation(char(1));
        const float pen = ascii.DrawStringPart(10, 200, spaced, 0, 0);
        ascii.DrawStringAlign(320, 300, 1, 0, spaced, 0);
        const std::vector<unsigned char> reference = grab();
        Clear();
        EXPECT_EQ(ascii.DrawStringPart(10, 200, joined, 0, 0), pen);
        ascii.DrawStringAlign(320, 300, 1, 0, joined, 0);
        const std::vector<unsigned char> drawn = grab();
        EngFontRestoreAfterDrawing();
        bool inked = false;
        for (size_t i = 0; i < drawn.size() && !inked; i += 4)
            inked = drawn[i] > 40;
        EXPECT_TRUE(inked);
        EXPECT_TRUE(drawn == reference);
    }
    resize(640, 480);
    Clear();

    std::vector<unsigned char> images[2];
    const char* texts[2] = {spaced, joined};
    for (int i = 0; i < 2; i++)
    {
        EngTexture tex;
        ASSERT_TRUE(tex.CreateEmptyTexture(256, 64, 1));
        std::string text = texts[i];
        ASSERT_TRUE(ascii.DrawToTexture(&tex, &text[0], 128, 32, 1, 1, 0));
        unsigned char* px = tex.AllocAndGetTextureImageData();
        ASSERT_NE(px, nullptr);
        images[i].assign(px, px + 256 * 64 * 4);
        tex.FreeAllocatedTextureImageData();
    }
    EXPECT_NE(std::count(images[0].begin(), images[0].end(), 255), 0);
    EXPECT_TRUE(images[0] == images[1]);
    ascii.Destroy();
}

TEST_F(FontGL, TextBlocks)
{
    EngDevice* dev = eng_main_device;
    const char depth_was_on = dev->IsDepthBufferOn(), lighting_was_on = dev->IsLightingOn();
    // Drawing outside a block refuses.
    EXPECT_EQ(font.DrawStringPart(10, 10, "A", 0, 0), 0.0f);
    EXPECT_TRUE(Logged("2D Not setup"));
    EngFontRestoreAfterDrawing();
    EXPECT_TRUE(Logged("Not setup"));

    // A block puts the device into 2D with text blending and the 640 x 480
    // space (y up); closing it gives back the caller's projection and state.
    EngMatrix caller;
    caller.SetScaleMatrix(0.5f, 0.25f, 1);
    dev->SetProjectionMatrixToMatrix(&caller);
    dev->DisableBlending();
    dev->UseDepthBuffer(1);
    dev->TurnOnLighting();
    EngFontPrepareForDrawingWithOrientation(char(1));
    EXPECT_TRUE(EngFontIsReadyForDrawing());
    EXPECT_TRUE(dev->Is2dPrepared());
    EXPECT_EQ(eng_font_prepared_2d, 1);
    char on = 0;
    int src = 0, dst = 0;
    dev->GetBlendingState(&on, &src, &dst);
    EXPECT_TRUE(on);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2.0f / 640);
    EXPECT_FLOAT_EQ(m[5], 2.0f / 480);
    EXPECT_FLOAT_EQ(m[12], -1.0f);
    EXPECT_FLOAT_EQ(m[13], -1.0f);
    // Opening again replaces the block instead of nesting it.
    EngFontPrepareForDrawingWithOrientation(char(1));
    EngFontRestoreAfterDrawing();
    EXPECT_FALSE(EngFontIsReadyForDrawing());
    EXPECT_FALSE(dev->Is2dPrepared());
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 0.5f);
    EXPECT_FLOAT_EQ(m[5], 0.25f);
    EXPECT_FLOAT_EQ(dev->GetProjectionMatrix()->m[0], 0.5f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(dev->IsBlendingEnabled());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    dev->SetProjectionMatrixToMatrix(const_cast<EngMatrix*>(&eng_matrix_identity_matrix));

    // A device already in 2D stays in 2D when the block closes.
    dev->PrepareFor2D(1);
    EngFontPrepareForDrawingWithOrientation(char(1));
    EXPECT_EQ(eng_font_prepared_2d, 0);
    EngFontRestoreAfterDrawing();
    EXPECT_TRUE(dev->Is2dPrepared());
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 1.0f);
    dev->RestoreAfter2D();

    // A mode-0 request while a mode-1 block is open reopens in mode 0.
    char opened = 0;
    EXPECT_EQ(EngFontPrepareForDrawingIfNeeded(1, &opened), 0);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(EngFontPrepareForDrawingIfNeeded(1, &opened), 1);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(EngFontPrepareForDrawingIfNeeded(0, &opened), 0);
    EXPECT_TRUE(Logged("Ratio mix problem"));
    EXPECT_EQ(eng_font_using_ratio, 0);
    EXPECT_EQ(EngFontRestoreAfterDrawingIfNeeded(), 1);
    EXPECT_EQ(EngFontRestoreAfterDrawingIfNeeded(), 0);

    // Pure2: the caller's transform and state, y negated, no 2D mode needed.
    dev->TurnOffLighting();
    dev->TurnOffDepthBuffer();
    EngMatrix ortho;
    ortho.SetOrthoMatrix(0, 640, -480, 0, -1, 1);
    dev->SetProjectionMatrixToMatrix(&ortho);
    dev->SetTransformMatrixIdentity();
    EngFontPrepareForDrawingPure2();
    EXPECT_FALSE(dev->Is2dPrepared());
    EXPECT_TRUE(dev->IsBlendingEnabled());
    font.SetScale(3, 3);
    EXPECT_GT(font.DrawStringPart(300, 240, "8", 0, 0), 300.0f);
    EngFontRestoreAfterDrawing();
    EXPECT_FALSE(dev->IsBlendingEnabled());
    Box b = Ink();
    ASSERT_FALSE(b.Empty());
    EXPECT_GT(b.x0, 290);
    EXPECT_LT(b.y1, 245); // the baseline at 240 from the top
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[5], 2.0f / 480);
    dev->SetProjectionMatrixToMatrix(const_cast<EngMatrix*>(&eng_matrix_identity_matrix));
    if (lighting_was_on)
        dev->TurnOnLighting();
    if (depth_was_on)
        dev->TurnOnDepthBuffer();
}

TEST_F(FontGL, TheDisplayOrientationTurnsTheText)
{
    auto draw = [this]
    {
        Clear();
        EngFontPrepareForDrawingWithOrientation(char(1));
        font.SetScale(3, 3);
        font.DrawString(100, 120, "7");
        EngFontRestoreAfterDrawing();
        return Ink();
    };
    const Box upright = draw();
    eng_main_orientation = 1; // upside down
    const Box turned = draw();
    eng_main_orientation = 0;
    ASSERT_FALSE(upright.Empty());
    ASSERT_FALSE(turned.Empty());
    EXPECT_NEAR(turned.Cx(), 639 - upright.Cx(), 1.5);
    EXPECT_NEAR(turned.Cy(), 479 - upright.Cy(), 1.5);
    EXPECT_EQ(turned.x1 - turned.x0, upright.x1 - upright.x0);
}

TEST_F(FontGL, NoBlockWithoutADevice)
{
    EngDevice* dev = eng_main_device;
    eng_main_device = nullptr;
    EngFontPrepareForDrawingWithOrientation(char(1));
    EXPECT_FALSE(EngFontIsReadyForDrawing());
    EngFontPrepareForDrawingPure2();
    EXPECT_FALSE(EngFontIsReadyForDrawing());
    EXPECT_EQ(font.DrawString(10, 10, "A"), 0.0f);
    eng_main_device = dev;
    EXPECT_FALSE(dev->Is2dPrepared());
}

TEST_F(FontGL, DrawToTextureCentresTextInTheFontColour)
{
    EngTexture tex;
    ASSERT_TRUE(tex.CreateEmptyTexture(256, 256, 1));
    font.SetColour(1.0f, 0.5f, 0.0f, 1.0f);
    char text[] = "8";
    ASSERT_TRUE(font.DrawToTexture(&tex, text, 128, 128, 4, 4, 0));
    unsigned char* px = tex.AllocAndGetTextureImageData();
    ASSERT_NE(px, nullptr);
    Box b;
    int maxr = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
        {
            const unsigned char* p = px + (y * 256 + x) * 4;
            maxr = std::max(maxr, int(p[0]));
            if (p[0] > 40)
            {
                b.x0 = std::min(b.x0, x);
                b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y);
                b.y1 = std::max(b.y1, y);
                EXPECT_NEAR(p[1], p[0] / 2.0, 1.0);
                EXPECT_EQ(p[2], 0);
            }
        }
    tex.FreeAllocatedTextureImageData();
    ASSERT_FALSE(b.Empty());
    EXPECT_GT(maxr, 200);
    EXPECT_NEAR(b.Cx(), 128, 6);
    EXPECT_NEAR(b.Cy(), 128, 12);
    EXPECT_GT(b.y1 - b.y0, 30);

    // Refusals.
    EXPECT_FALSE(font.DrawToTexture(nullptr, text, 0, 0, 1, 1, 0));
    EXPECT_TRUE(Logged("No texture"));
    EXPECT_FALSE(font.DrawToTexture(&tex, nullptr, 0, 0, 1, 1, 0));
    EXPECT_TRUE(Logged("No string"));
    char high[] = "\xE9\xFF";
    EXPECT_TRUE(font.DrawToTexture(&tex, high, 128, 128, 1, 1, 0)); // nothing to draw
}

} // namespace
