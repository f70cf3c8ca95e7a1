// Window layout helpers, texture-button and font setters, custom backs,
// copying, and the built-in scrollbars.
#include <gtest/gtest.h>

#include "CoreTestFixture.h"
#include "MWin/MWinTextures.h"
#include "support/TestSupport.h"

using vztest::CoreTest;
using vztest::Logged;

namespace
{
_Dimension Orig(MWinButton* b)
{
    _Dimension a;
    b->GetOrigArea(&a);
    return a;
}
} // namespace

TEST_F(CoreTest, CentringAndSpacingShownWidgets)
{
    MWinWindow* w = AddWindow("W", 0, 0, 400, 300);
    MWinButton* a = AddPush(w, "A", 10, 10, 50, 20);
    MWinButton* b = AddPush(w, "B", 10, 40, 50, 20);
    MWinButton* c = AddPush(w, "C", 10, 100, 50, 20);
    MWinButton* hidden = AddPush(w, "H", 300, 250, 50, 20);
    hidden->Hide();

    // Gaps 10 and 40 average to 25; the first widget stays.
    w->SpaceAllShownButtons(0, 1);
    EXPECT_EQ(Orig(a).y, 10);
    EXPECT_EQ(Orig(b).y, 55);
    EXPECT_EQ(Orig(c).y, 100);

    // The box 10..60 x 10..120 is centred in 400 x 300; the hidden one stays.
    w->CenterAllShownButtons(1, 1);
    EXPECT_EQ(Orig(a).x, 175);
    EXPECT_EQ(Orig(a).y, 95);
    EXPECT_EQ(Orig(c).y, 185);
    EXPECT_EQ(Orig(hidden).x, 300);

    MWinButton* group[] = {a, c, nullptr};
    w->CenterGroupOfButtons(group, 1, 0);
    EXPECT_EQ(Orig(a).x, 175);
    w->CenterGroupOfButtons(nullptr, 1, 1);
    EXPECT_TRUE(Logged("No buttons"));
    MWinButton* two[] = {a, b, nullptr};
    w->SpaceGroupOfButtons(two, 0, 1); // fewer than three: nothing
    EXPECT_EQ(Orig(b).y, 140);
}

TEST_F(CoreTest, TextureButtonAndFontSetters)
{
    vztest::TempDir dir;
    std::string file = dir.File("skin.png");
    vztest::WriteFile(file, "png");
    MWinTextures* tex = mw->GetTextures();
    tex->AddTexture("Skin", file.c_str());
    tex->AddStandardTextureButton(MWIN_STD_TEX_WIN_TITLE, "Title", "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0,
                                  0, 0, 0, "", 0, 0, 0, 0);
    tex->AddTextureButton("Mine", "Skin");

    MWinWindow* w = AddWindow("W", 0, 0, 100, 100);
    EXPECT_EQ(w->GetTitleTexButNum(), tex->GetTexButNumFromID("Title")); // the default
    EXPECT_EQ(w->SetTitleTexButToTexBut("Mine"), 1);
    EXPECT_EQ(w->GetTitleTexButNum(), tex->GetTexButNumFromID("Mine"));
    EXPECT_EQ(w->SetTitleTexButToTexBut("Nope"), 0);
    EXPECT_EQ(w->GetTitleTexButNum(), tex->GetTexButNumFromID("Mine"));
    w->SetBackTexButToNone();
    EXPECT_EQ(w->GetBackTexButNum(), -1);
    EXPECT_STREQ(w->GetBackTexButID(), MWIN_TEXBUT_NONE);
    w->SetTitleTexButToNone();
    EXPECT_EQ(w->GetTitleTexButNum(), -1);
    w->SetTitleTexButToDefault();
    EXPECT_EQ(w->GetTitleTexButNum(), tex->GetTexButNumFromID("Title"));

    EXPECT_EQ(w->SetTitleFontFromFontID(MWIN_FONT_NONE, 1), 1);
    EXPECT_EQ(w->GetTitleFontNum(), -2);
    w->SetTitleFontFromFontID("Unknown", 0);
    EXPECT_EQ(w->GetTitleFontNum(), -2);
    EXPECT_TRUE(Logged("Font <Unknown> does not exist"));

    const std::string long_title(300, 't');
    w->SetTitle(long_title.c_str());
    EXPECT_EQ(std::string(w->GetTitle()), long_title.substr(0, 255));
    w->SetTitle(nullptr);
    EXPECT_STREQ(w->GetTitle(), "");
}

TEST_F(CoreTest, CustomBackTextures)
{
    MWinWindow* w = AddWindow("W", 0, 0, 100, 100);
    EXPECT_EQ(w->SetBackTexButToCustom(""), 1);
    EXPECT_EQ(w->HasCustomBack(), 0);
    EXPECT_STREQ(w->GetBackTexButID(), MWIN_TEXBUT_NONE);
    const std::string long_name(256, 'f');
    EXPECT_EQ(w->SetBackTexButToCustom(long_name.c_str()), 0);
    EXPECT_TRUE(Logged("Invalid filename"));
    // Without a device the file cannot be loaded.
    EXPECT_EQ(w->SetBackTexButToCustom("missing.png"), 0);
    EXPECT_TRUE(Logged("Could not load custom texture state 0 <missing.png>"));
    EXPECT_EQ(w->GetBackCustomTexButFilename(), nullptr);

    EngTexture outside;
    EXPECT_EQ(w->SetBackTexButToCustomTexP(&outside), 1);
    EXPECT_EQ(w->HasCustomBack(), 1);
    EXPECT_STREQ(w->GetBackCustomTexButFilename(), "");
    w->SetBackTexButToDefault();
    EXPECT_EQ(w->HasCustomBack(), 0);
}

TEST_F(CoreTest, CopyFromOtherWindowTakesLooksButNotWidgets)
{
    MWinWindow* a = AddWindow("A", 10, 20, 100, 50);
    a->SetColour(0.5f, 0.5f, 0.5f, 1);
    a->SetExtraSize(0, 40);
    AddPush(a, "B", 0, 0);
    MWinWindow* b = AddWindow("Other", 0, 0, 30, 30);
    EXPECT_EQ(b->CopyFromOtherWindow(a, 0), 1);
    EXPECT_STREQ(b->GetID(), "A");
    EXPECT_EQ(b->GetOrigArea()->x, 10);
    EXPECT_EQ(b->GetColour()->r, 0.5f);
    EXPECT_EQ(b->GetExtraSize()->y, 40);
    EXPECT_EQ(b->GetNumButtons(), 0);
    EXPECT_EQ(b->GetVirtualPos()->y, 0);
    EXPECT_EQ(b->CopyFromOtherWindow(nullptr, 0), 0);
    EXPECT_TRUE(Logged("No window."));
}

TEST_F(CoreTest, BuiltInScrollbarDragAndPageStep)
{
    // A 200-high window with 200 more to scroll: the thumb is half the track.
    MWinWindow* w = AddWindow("W", 100, 100, 200, 200);
    w->SetExtraSize(0, 200);
    _MWinWindowScroll* s = w->GetScroll(1);
    EXPECT_FLOAT_EQ(s->thumb_fraction, 0.5f);
    EXPECT_FLOAT_EQ(s->free_length, 100);
    EXPECT_FLOAT_EQ(s->track.x, 270);
    MWinButton* b = AddPush(w, "B", 10, 10);

    // Drag the thumb 50 down: half the free length, so half the extra size.
    MoveTo(285, 120);
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(s->dragging, 1);
    MoveTo(285, 170);
    EXPECT_FLOAT_EQ(s->offset, 100);
    EXPECT_FLOAT_EQ(w->GetVirtualPos()->y, -100);
    EXPECT_FLOAT_EQ(b->GetActualArea()->y, 10);
    EXPECT_FLOAT_EQ(s->thumb.y, 150);
    EXPECT_EQ(Release(), 1);
    EXPECT_EQ(s->dragging, 0);

    // A press below the thumb pages down by the window's height on release.
    MoveTo(285, 290);
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(s->page_dir, 1);
    EXPECT_EQ(Release(), 1);
    EXPECT_FLOAT_EQ(s->offset, 200);

    w->SetExtraSize(0, 0);
    EXPECT_EQ(w->ExtraSizeScrollbarsHandleMouseMove(), 0);
    EXPECT_EQ(w->GetVirtualPos()->y, 0);
}

TEST_F(CoreTest, FactoriesMakeTheirKindsAndAppendThem)
{
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    MWinButton* sb = w->AddHorzScrollbar("S", MWIN_TEXBUT_DEFAULT, "", 10, 10, 200, 20);
    MWinButton* picker = w->AddColour("C", MWIN_TEXBUT_DEFAULT, "", 10, 100, 256, 100);
    MWinButton* push = w->AddButton("P", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 10, 300, 50, 20);
    ASSERT_NE(sb, nullptr);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(sb->GetType(), MWIN_BUTTON_HORZ_SCROLLBAR);
    EXPECT_EQ(picker->GetType(), MWIN_BUTTON_COLOUR);
    EXPECT_EQ(w->GetNumButtons(), 3);
    EXPECT_EQ(w->GetLastButton(), push);
    w->AddButton("Old", MWIN_BUTTON_HORZ_SCROLLBAR, MWIN_TEXBUT_NONE, "", 10, 400, 50, 20);
    EXPECT_TRUE(Logged("Use individual class buttons instead"));
    EXPECT_EQ(w->GetNumButtons(), 4);
    EXPECT_EQ(w->CompleteAddButton(nullptr), nullptr);
    EXPECT_TRUE(Logged("No button (no memory)"));
}
