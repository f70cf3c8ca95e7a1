// The game's toolkit skin: texture buttons and standard slots from the atlas,
// layout settings, desktop adjustments and the font entry's refusals.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>

#include "EngFont.h"
#include "MWin/MWin.h"
#include "MWin/MWinTextures.h"
#include "game/Skin.h"
#include "support/ResourcePath.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

class Skin : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        ASSERT_NE(getcwd(old_cwd, sizeof(old_cwd)), nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(chdir(old_cwd), 0);
        LogTest::TearDown();
    }
    void InResources() { ASSERT_EQ(chdir(vztest::ResourcePath(".").c_str()), 0); }

    char old_cwd[PATH_MAX] = {};
    MWin mw{nullptr};
};

TEST_F(Skin, NullToolkitIsRefused)
{
    EXPECT_EQ(VizavuMWinSetupTexturesAndTexButs(nullptr), 0);
    EXPECT_TRUE(Logged("No mwinp"));
    EXPECT_EQ(VizavuMWinSetMWinSettings(nullptr), 0);
    EXPECT_EQ(VizavuMWinSetupFonts(nullptr, 1, 1, "engeexbo.ttf"), 0);
}

TEST_F(Skin, TextureButtonsAndStandardSlotsFromTheAtlas)
{
    InResources();
    MWinTextures* t = mw.GetTextures();
    auto slot_id = [t](int slot)
    {
        const char* id = t->GetStandardTexButID(slot);
        return std::string(id ? id : "");
    };
    const std::string slot4_before = slot_id(4);
    ASSERT_EQ(VizavuMWinSetupTexturesAndTexButs(&mw), 1);

    // Named buttons: the right arrow is the mirrored left arrow, drawn stretched.
    _MWinTextureButton* r = t->GetTexButFromID("ArrowR");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->horz_mode, 1);
    EXPECT_FLOAT_EQ(r->states[0].u0, 0.124f);
    EXPECT_FLOAT_EQ(r->states[0].u1, 0.002f);
    for (int s = 0; s < 4; s++)
        EXPECT_GE(r->states[s].texture, 0) << s;
    _MWinTextureButton* title = t->GetTexButFromID("MainTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->states[0].texture, t->GetTextureNumFromID("TitleButton"));
    EXPECT_EQ(title->states[1].texture, -1);

    // Standard slots: IDs, states, extras and multipliers.
    struct SlotCase
    {
        int slot;
        const char* id;
        bool states[4];
        float extra[3];
    };
    const SlotCase cases[] = {
        {MWIN_STD_TEX_WIN_BACK, "StdWinBack", {true, false, false, false}, {4, 2, 2}},
        {MWIN_STD_TEX_BUTTON_HIDE, "StdButtonHide", {true, true, false, false}, {0, 0, 0}},
        {MWIN_STD_TEX_SCROLL_BACK, "StdScrollBack", {true, false, false, true}, {2.5f, 0.75f, 0.75f}},
        {MWIN_STD_TEX_PUSH_BUTTON, "StdPushButton", {true, true, true, true}, {6, 1.75f, 1.75f}},
        {MWIN_STD_TEX_WHITE, "StdWhite", {true, false, false, false}, {3.2f, 2, 2}},
    };
    for (const SlotCase& c : cases)
    {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(slot_id(c.slot), c.id);
        _MWinTextureButton* b = t->GetTexButFromID(c.id);
        ASSERT_NE(b, nullptr);
        for (int s = 0; s < 4; s++)
            EXPECT_EQ(b->states[s].texture >= 0, c.states[s]) << "state " << s;
        EXPECT_FLOAT_EQ(b->extra_w, c.extra[0]);
        EXPECT_FLOAT_EQ(b->extra_top, c.extra[1]);
        EXPECT_FLOAT_EQ(b->extra_bottom, c.extra[2]);
    }
    _MWinTextureButton* push = t->GetTexButFromID("StdPushButton");
    EXPECT_TRUE(push->states[0].use_colour);
    EXPECT_FLOAT_EQ(push->states[0].colour.r, 0.874f);
    EXPECT_FLOAT_EQ(push->states[2].colour.g, 0.81f);
    EXPECT_FALSE(push->states[1].use_colour);
    _MWinTextureButton* div = t->GetTexButFromID("StdTabPanelVertDiv");
    EXPECT_EQ(div->vert_mode, 1);
    EXPECT_FLOAT_EQ(div->states[0].colour.a, 0.339f);
    // Slots the game leaves alone keep the toolkit's own.
    EXPECT_EQ(slot_id(4), slot4_before);
}

TEST_F(Skin, MissingAtlasIsLoggedAndTheRestStillRuns)
{
    vztest::TempDir empty;
    ASSERT_EQ(chdir(empty.Path().c_str()), 0);
    EXPECT_EQ(VizavuMWinSetupTexturesAndTexButs(&mw), 0);
    EXPECT_TRUE(Logged("Could not load texture <Buttons>"));
    EXPECT_TRUE(Logged("Could not load texture <TitleButton>"));
}

TEST_F(Skin, LayoutSettingsInEveryLayoutAndDesktopAdjustments)
{
    ASSERT_EQ(VizavuMWinSetMWinSettings(&mw), 1);
    const float field8[5] = {20, 45, 65, 25, 35};
    for (int l = 0; l < 5; l++)
    {
        MWinLayoutSettings* s = mw.GetLayoutSettings(_EngLayout(l));
        EXPECT_FLOAT_EQ((*s)[8], field8[l]) << l;
        EXPECT_FLOAT_EQ((*s)[28], 15) << l;
        EXPECT_FLOAT_EQ((*s)[38], 3) << l;
    }
    EXPECT_EQ(mw.GetSettings()->shrink_text_default, 1);
    EXPECT_EQ(mw.GetSettings()->choice_highlight, 0);

    float portrait_title = (*mw.GetLayoutSettings(_EngLayout(1)))[0];
    VizavuMWinAdjustDesktopSettings(&mw);
    MWinLayoutSettings* d = mw.GetLayoutSettings(_EngLayout(0));
    EXPECT_FLOAT_EQ((*d)[0], 30);
    EXPECT_FLOAT_EQ((*d)[17], 10);
    EXPECT_FLOAT_EQ((*d)[24], 30);
    EXPECT_FLOAT_EQ((*d)[39], 5);
    EXPECT_FLOAT_EQ((*mw.GetLayoutSettings(_EngLayout(1)))[0], portrait_title);
}

TEST_F(Skin, FontEntryRefusesOtherNumbersAndMissingArguments)
{
    EngFont f;
    EXPECT_EQ(VizavuMWinCreateFontApart(1, "engeexbo.ttf", &f), 0);
    EXPECT_TRUE(Logged("Bad font number 1"));
    EXPECT_EQ(VizavuMWinCreateFontApart(0, "", &f), 0);
    EXPECT_EQ(VizavuMWinCreateFontApart(0, "engeexbo.ttf", nullptr), 0);
    EXPECT_EQ(VizavuMWinSetupFonts(&mw, 0, 1, ""), 0);
}

} // namespace
