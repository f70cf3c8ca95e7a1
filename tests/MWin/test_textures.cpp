// The texture table: limits, IDs, standard slots, state colours and the
// cutting of texture buttons into slices.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinTextures.h"
#include "support/TestSupport.h"
#include "support/TestSupport.h"

using vztest::Logged;

class Textures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        tex = mw.GetTextures();
        file = dir.File("skin.png");
        vztest::WriteFile(file, "png");
        ASSERT_EQ(tex->AddTexture("Skin", file.c_str()), 1);
    }
    void TearDown() override
    {
        eng_main_window_x_widescreen_ratio = 1;
        eng_main_window_y_narrowscreen_ratio = 1;
    }
    int Slices(int n, float w, float h, MWinTextures::Slice* out = nullptr)
    {
        MWinTextures::Slice p[9];
        return tex->ComputeSlices(n, 0, 0, 0, w, h, out ? out : p);
    }

    MWin mw{nullptr};
    MWinTextures* tex = nullptr;
    vztest::TempDir dir;
    std::string file;
};

TEST_F(Textures, TableLimits)
{
    for (int i = 1; i < MWIN_MAX_TEXTURES; i++)
        ASSERT_EQ(tex->AddTexture(("T" + std::to_string(i)).c_str(), file.c_str()), 1);
    EXPECT_EQ(tex->AddTexture("T64", file.c_str()), 0);
    EXPECT_TRUE(Logged("Too many textures"));

    for (int i = 0; i < MWIN_MAX_TEXBUTS; i++)
        ASSERT_NE(tex->AddTextureButton(("B" + std::to_string(i)).c_str(), "Skin"), nullptr);
    EXPECT_EQ(tex->AddTextureButton("B256", "Skin"), nullptr);
    EXPECT_TRUE(Logged("Too many texture buttons"));
}

TEST_F(Textures, FileNameLengthAndMissingFiles)
{
    std::string name255 = dir.Path() + "/" + std::string(255 - dir.Path().size() - 1, 'n');
    ASSERT_EQ(name255.size(), 255u);
    vztest::WriteFile(name255, "x");
    EXPECT_EQ(tex->AddTexture("Long", name255.c_str()), 1);
    std::string name256 = name255 + "m";
    EXPECT_EQ(tex->AddTexture("Longer", name256.c_str()), 0);
    EXPECT_TRUE(Logged("Filename too long"));
    EXPECT_EQ(tex->AddTexture("Gone", "no-such-file.png"), 0);
    EXPECT_TRUE(Logged("File does not exist <no-such-file.png>"));
    const std::string fifo = dir.File("fifo.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(tex->AddTexture("Pipe", fifo.c_str()), 0);
    EXPECT_TRUE(Logged("Not a regular file <" + fifo + ">"));
    EXPECT_EQ(tex->AddTexture("Empty", ""), 0);
    EXPECT_TRUE(Logged("No filename passed in"));
}

TEST_F(Textures, DuplicateIDs)
{
    ASSERT_NE(tex->AddTextureButton("Btn", "Skin"), nullptr);
    EXPECT_EQ(tex->AddTextureButton("Btn", "Skin"), nullptr);
    EXPECT_TRUE(Logged("Texture button alread exits <Btn>"));
    EXPECT_EQ(tex->AddTexture("Skin", file.c_str()), 1);
    EXPECT_EQ(tex->GetNumTextures(), 2);
    EXPECT_EQ(tex->GetTextureNumFromID("Skin"), 0);
    EXPECT_EQ(tex->GetTexButNumFromID(""), -1);

    // A state naming an unknown texture keeps none; the button is still added.
    _MWinTextureButton* tb =
        tex->AddTextureButton("Odd", "Skin", 0, 0, 1, 1, "Nope", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0);
    ASSERT_NE(tb, nullptr);
    EXPECT_TRUE(Logged("Texture <Nope> does not exist"));
    EXPECT_EQ(tb->states[1].texture, -1);
    EXPECT_EQ(tb->states[0].texture, 0);
}

TEST_F(Textures, StandardSlots)
{
    ASSERT_EQ(tex->AddStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON, "Push", "Skin", 0, 0, 1, 1, "", 0, 0, 0,
                                            0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              1);
    int n = tex->GetTexButNumFromID("Push");
    EXPECT_EQ(tex->GetStandardTexButNum(MWIN_STD_TEX_PUSH_BUTTON), n);
    EXPECT_STREQ(tex->GetIDFromTexButNum(n, 0), MWIN_TEXBUT_DEFAULT);
    EXPECT_STREQ(tex->GetIDFromTexButNum(n, 1), "Push");
    EXPECT_STREQ(tex->GetIDFromTexButNum(99, 1), MWIN_TEXBUT_NONE);
    EXPECT_EQ(tex->GetStandardTexButNum(33), -1);
    EXPECT_TRUE(Logged("Invalid standard texbut num: 33"));
    EXPECT_EQ(tex->GetStandardTexButID(MWIN_STD_TEX_PANEL), nullptr);

    EXPECT_EQ(tex->RemoveStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON), 1);
    EXPECT_EQ(tex->GetTexButNumFromID("Push"), -1);
    EXPECT_NE(tex->GetTexBut(n), nullptr); // its index stays valid
    EXPECT_EQ(tex->RemoveStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON), 0);
    EXPECT_EQ(tex->RemoveStandardTextureButton(-1), -1);

    EXPECT_EQ(tex->SetStandardTextureToTexBut(40, "Push"), 0);
    EXPECT_TRUE(Logged("Invalid std tex num 40"));
    EXPECT_EQ(tex->SetTextureButtonStateColourMultiplier(99, 0, 0.5f), 0);
    EXPECT_TRUE(Logged("Empty texbut ID"));
}

TEST_F(Textures, StateColours)
{
    _MWinTextureButton* tb = tex->AddTextureButton("Btn", "Skin");
    const _ColourRGBA half = {0.5f, 0.5f, 0.5f, 0.5f};
    // No colour anywhere: white; caller only: caller's; state only: state's; both: product.
    _ColourRGBA c = MWinTextures::CombineColour(&tb->states[0], nullptr);
    EXPECT_EQ(c.r, 1);
    EXPECT_EQ(c.a, 1);
    c = MWinTextures::CombineColour(&tb->states[0], &half);
    EXPECT_EQ(c.g, 0.5f);
    ASSERT_EQ(tex->SetTextureButtonStateColourMultiplier("Btn", 2, 0.4f, 0.6f, 0.8f, 1.0f), 1);
    c = MWinTextures::CombineColour(&tb->states[2], nullptr);
    EXPECT_FLOAT_EQ(c.g, 0.6f);
    c = MWinTextures::CombineColour(&tb->states[2], &half);
    EXPECT_FLOAT_EQ(c.b, 0.4f);
    EXPECT_FLOAT_EQ(c.a, 0.5f);
    // Alpha 0 switches the state's colour off rather than making it invisible.
    ASSERT_EQ(tex->SetTextureButtonStateColourMultiplier("Btn", 2, 1, 0, 0, 0), 1);
    EXPECT_EQ(tb->states[2].use_colour, 0);
    EXPECT_EQ(tex->SetTextureButtonStateColourMultiplier("Nope", 0, 1.0f), 0);
    EXPECT_TRUE(Logged("Unknown texbut ID <Nope>"));

    ASSERT_EQ(tex->CopyAllStatesFromNormalState("Btn"), 1);
    EXPECT_EQ(tb->states[2].use_colour, 0);
    EXPECT_EQ(tex->GetTextureButtonExtraRenderSize(7, nullptr, nullptr, nullptr), 0);
    float w = 1, t = 1, b = 1;
    EXPECT_EQ(tex->GetTextureButtonExtraRenderSize(-1, &w, &t, &b), 0);
    EXPECT_EQ(w + t + b, 0);
}

TEST_F(Textures, SlicingThresholds)
{
    tex->AddTextureButton("H", "Skin");
    tex->SetTexButDrawStyle("H", 2, 0.25f, 16, 1, 0, 16);
    tex->AddTextureButton("V", "Skin");
    tex->SetTexButDrawStyle("V", 1, 0, 16, 2, 0.2f, 12);
    tex->AddTextureButton("HV", "Skin");
    tex->SetTexButDrawStyle("HV", 2, 0.25f, 16, 2, 0.2f, 12);
    const int h = tex->GetTexButNumFromID("H"), v = tex->GetTexButNumFromID("V"),
              hv = tex->GetTexButNumFromID("HV");
    struct Case
    {
        int n;
        float w, h;
        int slices;
    } cases[] = {{h, 32, 10, 1}, {h, 33, 10, 3},  {v, 10, 31, 1},
                 {v, 10, 32, 3}, {hv, 40, 40, 9}, {hv, 40, 20, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(Slices(c.n, c.w, c.h), c.slices) << c.n << " " << c.w << " x " << c.h;

    MWinTextures::Slice p[9];
    ASSERT_EQ(Slices(h, 100, 10, p), 3);
    EXPECT_EQ(p[0].area.w, 16);
    EXPECT_EQ(p[1].area.x, 16);
    EXPECT_EQ(p[1].area.w, 68);
    EXPECT_EQ(p[2].area.x, 84);
    EXPECT_EQ(p[1].fl, 0.25f);
    EXPECT_EQ(p[2].fr, 1);

    // Extras widen, raise and lengthen the drawn area.
    tex->SetTexButDrawExtra("H", 10, 4, 6);
    ASSERT_EQ(Slices(h, 100, 10, p), 3);
    EXPECT_EQ(p[0].area.x, -5);
    EXPECT_EQ(p[0].area.y, -4);
    EXPECT_EQ(p[0].area.h, 20);
    EXPECT_EQ(p[2].area.x + p[2].area.w, 105);
}

TEST_F(Textures, PortraitCornersNeverOverlap)
{
    tex->AddTextureButton("H", "Skin");
    tex->SetTexButDrawStyle("H", 2, 0.25f, 16, 1, 0, 16);
    int h = tex->GetTexButNumFromID("H");
    MWinTextures::Slice p[9];
    mw.SetScreenLayout(1);
    ASSERT_EQ(Slices(h, 100, 10, p), 3);
    EXPECT_FLOAT_EQ(p[0].area.w, 38.4f);
    ASSERT_EQ(Slices(h, 33, 10, p), 3);
    EXPECT_GE(p[1].area.w, 0);
    EXPECT_FLOAT_EQ(p[0].area.w + p[1].area.w + p[2].area.w, 33);
    mw.SetScreenLayout(0);
    eng_main_window_x_widescreen_ratio = 0.5f;
    ASSERT_EQ(Slices(h, 20, 10, p), 3); // corner 8 at ratio 0.5
    EXPECT_EQ(p[0].area.w, 8);
}

TEST_F(Textures, NothingIsDrawnWithoutLoadedTextures)
{
    tex->AddTextureButton("Btn", "Skin");
    EXPECT_EQ(tex->DrawTextureButton(0, 0, 0, 0, 10, 10, nullptr), 0);
    EXPECT_EQ(tex->DrawTextureButton(5, 0, 0, 0, 10, 10, nullptr), 0);
    EXPECT_EQ(tex->DrawTextureButton(0, 0, nullptr, nullptr), 0);
    // Loading fails without a device: the flag stays clear and nothing leaks.
    EXPECT_EQ(tex->CreateTextures(), 0);
    EXPECT_EQ(tex->AreTexturesLoaded(), 0);
    tex->RemoveAllTexturesAndTexButs();
    EXPECT_EQ(tex->GetNumTextures(), 0);
    EXPECT_EQ(tex->GetNumTexButs(), 0);
}

TEST_F(Textures, DefaultSkinNamesEverySlot)
{
    ASSERT_EQ(mw.SetupDefaultTextures(file.c_str()), 1);
    const char* names[] = {"StdWinBack", "StdScrollBack", "StdPushButton", "StdWhite"};
    const int slots[] = {0, 10, 27, 32};
    for (int i = 0; i < 4; i++)
        EXPECT_STREQ(tex->GetStandardTexButID(slots[i]), names[i]);
    _MWinTextureButton* back = tex->GetTexButFromID("StdWinBack");
    EXPECT_EQ(back->horz_mode, 2);
    EXPECT_FLOAT_EQ(back->states[0].v0, 0.1265f);
    EXPECT_FLOAT_EQ(back->states[0].colour.r, 0.9f);
    EXPECT_FLOAT_EQ(back->states[2].colour.r, 0.7f);
    EXPECT_EQ(tex->GetTexButFromID("StdLeftArrow")->horz_mode, 0);
    // A second set of the same names cannot be added.
    EXPECT_EQ(mw.SetupDefaultTextures(file.c_str()), 0);
    EXPECT_TRUE(Logged("Could not load texbut <StdWinBack>"));
    EXPECT_TRUE(Logged("Problem setting up textures"));
    EXPECT_EQ(mw.SetupDefaultTextures("missing.png"), 0);
    EXPECT_TRUE(Logged("Could not load texture <missing.png>"));
}
