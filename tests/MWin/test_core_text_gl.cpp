// The toolkit's text placement on a hidden GL window.
#include "GL/GLFixture.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "EngFont.h"
#include "MWin/MWin.h"
#include "MWin/MWinFonts.h"

using vztest::GLDevice;

namespace
{

class TextGL : public GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        mw = new MWin(nullptr);
        const char* res = getenv("VZ_RESOURCES_DIR");
        std::string file = std::string(res ? res : ".") + "/MWinDefaultFont.ttf";
        _MWinFontParams p = m_default_font_params;
        p.x_scale = p.y_scale = 1;
        ASSERT_EQ(mw->GetFonts()->AddUserFont("Text", file.c_str(), &p), 0);
        ASSERT_EQ(mw->Startup(), 1);
        font = mw->GetFonts()->GetFont(0);
        ASSERT_NE(font, nullptr);
        font->SetColour(1, 1, 1, 1);
    }
    void TearDown() override
    {
        delete mw;
        GLDevice::TearDown();
    }
    // The rightmost column with a lit pixel on row y, or -1.
    static int RightmostLit(int y)
    {
        for (int x = 639; x >= 0; x--)
            if (Pixel(x, y).r > 64)
                return x;
        return -1;
    }
    // The text's middle row: its area is centred vertically on y = 240.
    void Draw(float w, char shrink, const char* text = "WWWWWWWWWW")
    {
        ClearTo(0, 0, 0);
        eng_main_device->PrepareFor2D(1);
        eng_main_device->EnableBlendingType(0);
        mw->RenderText(0, MWIN_ALIGN_LEFT, 0, 100, 200, w, 80, nullptr, text, 0, 1, shrink);
        eng_main_device->RestoreAfter2D();
    }

    MWin* mw = nullptr;
    EngFont* font = nullptr;
};

TEST_F(TextGL, ShrinkToFitKeepsWideTextInsideItsArea)
{
    float sx = 0, sy = 0;
    font->GetScale(&sx, &sy);
    float width = font->GetStringWidth("WWWWWWWWWW");
    ASSERT_GT(width, 120);

    Draw(100, 0);
    EXPECT_GT(RightmostLit(240), 210);
    Draw(100, 1);
    int right = RightmostLit(240);
    EXPECT_GT(right, 150);
    EXPECT_LE(right, 202);

    // The font's own scale is back afterwards.
    float ax = 0, ay = 0;
    font->GetScale(&ax, &ay);
    EXPECT_EQ(ax, sx);
    EXPECT_EQ(ay, sy);

    // Narrow text in a wide area is drawn at its own size either way.
    Draw(300, 0, "WWW");
    int unshrunk = RightmostLit(240);
    ASSERT_GT(unshrunk, 100);
    Draw(300, 1, "WWW");
    EXPECT_EQ(RightmostLit(240), unshrunk);
}

TEST_F(TextGL, NothingWithoutAFontOrText)
{
    ClearTo(0, 0, 0);
    eng_main_device->PrepareFor2D(1);
    mw->RenderText(5, MWIN_ALIGN_LEFT, 0, 0, 0, 640, 480, nullptr, "WWW", 0, 0, 0);
    mw->RenderText(MWIN_FONT_NUM_NONE, MWIN_ALIGN_LEFT, 0, 0, 0, 640, 480, nullptr, "WWW", 0, 0, 0);
    mw->RenderText(0, MWIN_ALIGN_LEFT, 0, 0, 0, 640, 480, nullptr, "", 0, 0, 0);
    mw->RenderText(0, MWIN_ALIGN_LEFT, 0, nullptr, nullptr, "WWW", 0, 0, 0);
    eng_main_device->RestoreAfter2D();
    for (int y = 0; y < 480; y += 20)
        EXPECT_EQ(RightmostLit(y), -1) << y;
}

// The lit rows of the frame (red above 64), read at once.
std::vector<bool> LitRows()
{
    std::vector<unsigned char> px(size_t(eng_main_window_width) * eng_main_window_height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, eng_main_window_width, eng_main_window_height, GL_RED, GL_UNSIGNED_BYTE, px.data());
    std::vector<bool> rows(size_t(eng_main_window_height), false);
    for (size_t i = 0; i < px.size(); i++)
        if (px[i] > 64)
            rows[size_t(eng_main_window_height - 1) - i / size_t(eng_main_window_width)] = true;
    return rows;
}

int TopmostLitRow()
{
    std::vector<bool> rows = LitRows();
    for (size_t y = 0; y < rows.size(); y++)
        if (rows[y])
            return int(y);
    return -1;
}

// The default font holds the Latin-1 letters that text is held in, not the
// control codes before them; an accent draws above its letter.
TEST_F(TextGL, DefaultFontDrawsTheLatin1Letters)
{
    for (int c = 161; c < 256; c++)
        EXPECT_NE(font->GetLetter(c), nullptr) << c;
    for (int c = 127; c < 160; c++)
        EXPECT_EQ(font->GetLetter(c), nullptr) << c;
    Draw(300, 0, "e");
    int plain = TopmostLitRow();
    ASSERT_GT(plain, 0);
    for (const char* accented : {"\xE9", "\xEA", "\xEB"})
    {
        Draw(300, 0, accented);
        int top = TopmostLitRow();
        EXPECT_GE(top, 0);
        EXPECT_LT(top, plain) << int(static_cast<unsigned char>(accented[0]));
    }
}

// The frame's red channel, all of it.
std::vector<unsigned char> RedFrame()
{
    std::vector<unsigned char> px(size_t(eng_main_window_width) * eng_main_window_height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, eng_main_window_width, eng_main_window_height, GL_RED, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// A byte the font holds no letter for shows as a question mark, in its place
// and with its width; tabs and line ends are layout, not letters, and still
// show nothing.
TEST_F(TextGL, AByteWithoutALetterDrawsAsAQuestionMark)
{
    const struct
    {
        const char* text;
        const char* drawn_as;
    } cases[] = {
        {"ab\x85yz", "ab?yz"}, {"ab\x80yz", "ab?yz"}, {"ab\x9Fyz", "ab?yz"}, {"ab\x7Fyz", "ab?yz"},
        {"\x85", "?"},         {"ab\tyz", "abyz"},    {"ab\nyz", "abyz"},    {"ab\xE9yz", "ab\xE9yz"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
        Draw(400, 0, c.text);
        std::vector<unsigned char> drawn = RedFrame();
        Draw(400, 0, c.drawn_as);
        EXPECT_TRUE(drawn == RedFrame());
        EXPECT_EQ(font->GetStringWidth(c.text), font->GetStringWidth(c.drawn_as));
    }
    Draw(400, 0, "ab\xE9yz");
    std::vector<unsigned char> accented = RedFrame();
    Draw(400, 0, "ab?yz");
    EXPECT_FALSE(accented == RedFrame()) << "a letter the font holds is drawn as itself";
}

} // namespace
