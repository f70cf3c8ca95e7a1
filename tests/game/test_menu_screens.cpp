// The options, controls, misc, about and colour screens on a started toolkit
// without a display: the flow between them, the bound options, the popups and
// the deferred board re-tint.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinColourPicker.h"
#include "EngFont.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"
#include "MWin/MWinWindow.h"
#include "game/AboutScreen.h"
#include "game/Board.h"
#include "game/ControlsScreen.h"
#include "game/GameHooks.h"
#include "game/GraphicsControl.h"
#include "game/GraphicsScreen.h"
#include "game/MiscScreen.h"
#include "game/OnlineHooks.h"
#include "game/Options.h"
#include "game/OptionsScreen.h"
#include "game/Vizavu.h"
#include "game/VizavuScreens.h"
#include "support/TestSupport.h"

namespace
{

// The main menu's place in the flow: an empty screen.
class MainStub : public MWinCollectionController
{
public:
    char CreateCollection(MWin* mw) override { return mw->GetDesktop()->AddCollection("Main") != nullptr; }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }
};

class MenuScreens : public MWinScreens
{
public:
    explicit MenuScreens(MWin* mw)
        : MWinScreens(mw, 0), options_cc(this), controls_cc(this), graphics_cc(this), misc_cc(this),
          about_cc(this)
    {
    }
    ~MenuScreens() override { RemoveAllScreens(); }
    char SetupProgramScreens() override
    {
        char ok = AddScreen(MAIN_SCREEN_ID, &main_stub);
        ok &= AddScreen(OPTIONS_SCREEN_ID, &options_cc);
        ok &= AddScreen(CONTROLS_SCREEN_ID, &controls_cc);
        ok &= AddScreen(GRAPHICS_SCREEN_ID, &graphics_cc);
        ok &= AddScreen(MISC_SCREEN_ID, &misc_cc);
        ok &= AddScreen(ABOUT_SCREEN_ID, &about_cc);
        SetCurrentScreen(MAIN_SCREEN_ID);
        return ok;
    }
    // The board hooks read the screen shown.
    void PostScreenChangeCB(unsigned int code) override { game_hooks_current_screen = code; }

    MainStub main_stub;
    OptionsCC options_cc;
    ControlsCC controls_cc;
    GraphicsCC graphics_cc;
    MiscCC misc_cc;
    AboutCC about_cc;
};

std::vector<std::string>& Opened()
{
    static std::vector<std::string> v;
    return v;
}

char RecordOpen(const char* url)
{
    Opened().push_back(url);
    return 1;
}

class MenuScreensTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        Opened().clear();
        OptionsSetDefaults();
        eng_main_window = &window;
        mw = new MWin(nullptr);
        mw->Startup();
        mw->GetFonts()->AddUserFontPointer("Main", &font);
        screens = new MenuScreens(mw);
        ASSERT_TRUE(screens->SetupAllScreens());
        screens->StartScreen(MAIN_SCREEN_ID, 0);
    }
    void TearDown() override
    {
        delete screens;
        delete mw;
        eng_main_window = nullptr;
        game_hooks_current_screen = 0;
        online_hooks_open = nullptr;
        eng_main_window_windowed = 1;
    }

    void Goto(EngUInt32 code)
    {
        screens->GotoScreen(code);
        ASSERT_EQ(screens->GetCurrentScreen(), code);
    }
    // A widget's action as the toolkit delivers it to the screen's controller.
    void Act(MWinButton* b, char colour_flag = 0)
    {
        ASSERT_NE(b, nullptr);
        _MWinButtonCallbackInfo info;
        b->FillCallbackInfo(&info);
        info.colour_flag = colour_flag;
        b->CallCallback(&info);
    }
    // The texts of the popup's widgets.
    std::vector<std::string> PopupTexts()
    {
        std::vector<std::string> t;
        if (MWinWindow* w = MWinPopupGetWindow(mw))
            for (MWinButton* b = w->GetFirstButton(); b; b = b->next)
                if (b->GetTextP())
                    t.push_back(b->GetTextP());
        return t;
    }
    bool PopupShows(const std::string& text)
    {
        for (const std::string& s : PopupTexts())
            if (s == text)
                return true;
        return false;
    }
    void AnswerPopup(int slot)
    {
        MWinButton* b = MWinPopupGetButton(mw, slot);
        ASSERT_NE(b, nullptr) << slot;
        Act(b);
        mw->Tick2();
    }

    EngProgram program;
    EngWindow window;
    EngFont font;
    MWin* mw = nullptr;
    MenuScreens* screens = nullptr;
};

TEST_F(MenuScreensTest, ButtonsLeadThroughTheScreensAndBackGoesWhereTheScreenWasEntered)
{
    Goto(OPTIONS_SCREEN_ID);
    Act(mwinOptionsOptionsGraphicsButton);
    EXPECT_EQ(screens->GetCurrentScreen(), GRAPHICS_SCREEN_ID);
    Act(mwinGraphicsGraphicsBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), OPTIONS_SCREEN_ID);
    Act(mwinOptionsOptionsControlsButton);
    EXPECT_EQ(screens->GetCurrentScreen(), CONTROLS_SCREEN_ID);
    Act(mwinControlsControlsBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), OPTIONS_SCREEN_ID);
    // Back from the options goes to the main menu, not to the last screen left.
    Act(mwinOptionsOptionsBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    EXPECT_EQ(mwinOptionsOptionsBackButton, nullptr);

    Goto(ABOUT_SCREEN_ID);
    Act(mwinAboutAboutBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    Goto(MISC_SCREEN_ID);
    Act(mwinMiscMiscBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
}

TEST_F(MenuScreensTest, EscapeAnswersWithTheBackButtonOnEveryScreen)
{
    struct Case
    {
        EngUInt32 code;
        MWinWindow** window;
        MWinButton** back;
        MWinCollectionController* controller;
    } cases[] = {
        {OPTIONS_SCREEN_ID, &mwinOptionsOptionsWindow, &mwinOptionsOptionsBackButton, &screens->options_cc},
        {CONTROLS_SCREEN_ID, &mwinControlsControlsWindow, &mwinControlsControlsBackButton, &screens->controls_cc},
        {MISC_SCREEN_ID, &mwinMiscMiscWindow, &mwinMiscMiscBackButton, &screens->misc_cc},
        {ABOUT_SCREEN_ID, &mwinAboutAboutWindow, &mwinAboutAboutBackButton, &screens->about_cc},
        {GRAPHICS_SCREEN_ID, &mwinGraphicsGraphicsWindow, &mwinGraphicsGraphicsBackButton, &screens->graphics_cc},
    };
    for (const Case& c : cases)
    {
        Goto(c.code);
        ASSERT_NE(*c.window, nullptr);
        ASSERT_NE(*c.back, nullptr);
        EXPECT_EQ((*c.window)->GetEscapeButton(), *c.back);
        EXPECT_EQ((*c.window)->GetController(0), c.controller);
        Goto(MAIN_SCREEN_ID);
    }
    EXPECT_FALSE(vztest::Logged("Could not"));
}

TEST_F(MenuScreensTest, OptionsShowsOnlyItsThreeChoicesCentredAndBackInTheCorner)
{
    Goto(OPTIONS_SCREEN_ID);
    EXPECT_FALSE(mwinOptionsOptionsSoundButton->IsEnabled());
    EXPECT_FALSE(mwinOptionsOptionsMainMenuButton->IsShown());
    EXPECT_FALSE(mwinOptionsOptionsExitButton->IsShown());
    EXPECT_TRUE(mwinOptionsOptionsBackButton->IsShown());

    _Dimension top, bottom, back;
    mwinOptionsOptionsGraphicsButton->GetOrigArea(&top);
    mwinOptionsOptionsControlsButton->GetOrigArea(&bottom);
    mwinOptionsOptionsBackButton->GetOrigArea(&back);
    EXPECT_NEAR(top.y + (bottom.y + bottom.h), 480, 0.5f); // centred as a group
    EXPECT_LT(top.y, bottom.y);
    EXPECT_FLOAT_EQ(back.x, 500);
    EXPECT_FLOAT_EQ(back.y, 430);

    // The disabled Sound button is not an action of the screen.
    _MWinButtonCallbackInfo info;
    mwinOptionsOptionsSoundButton->FillCallbackInfo(&info);
    EXPECT_EQ(screens->options_cc.ButtonsCallback(mwinOptionsOptionsSoundButton, &info), 0);
    EXPECT_EQ(screens->GetCurrentScreen(), OPTIONS_SCREEN_ID);
}

TEST_F(MenuScreensTest, KeyboardOnlyAsksBeforeHidingTheMouseAreas)
{
    struct Case
    {
        int answer;
        EngUInt8 flag;
        int sel;
        bool hint;
    } cases[] = {
        {MWIN_POPUP_BUT_OK, 1, 1, true},
        {MWIN_POPUP_BUT_CANCEL, 0, 0, false},
    };
    for (const Case& c : cases)
    {
        options.keyboard_only = 0;
        Goto(CONTROLS_SCREEN_ID);
        MWinButton* choice = mwinControlsControlsKeyboardOnlyChoice;
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->ChoiceGetSel(), 0);
        EXPECT_STREQ(mwinControlsControlsKey3bButton->GetTextP(), "Control + Number Keys");

        choice->ChoiceSetSel(1, 1);
        EXPECT_EQ(options.keyboard_only, 1);
        ASSERT_TRUE(mw->PopupIsOn());
        EXPECT_TRUE(PopupShows("Are you sure you wish to hide the mouse input areas ?\n\nYou will only be able to "
                               "play the game using the keyboard, not the mouse.\n"));
        AnswerPopup(c.answer);
        EXPECT_EQ(options.keyboard_only, c.flag) << c.answer;
        EXPECT_EQ(choice->ChoiceGetSel(), c.sel) << c.answer;
        EXPECT_EQ(mw->PopupIsOn() && PopupShows("Double-Tap any empty area to return to the main menu."), c.hint);
        mw->PopupTurnOff();

        // Switching back off asks nothing.
        if (c.flag)
        {
            choice->ChoiceSetSel(0, 1);
            EXPECT_EQ(options.keyboard_only, 0);
            EXPECT_FALSE(mw->PopupIsOn());
        }
        Goto(MAIN_SCREEN_ID);
    }
}

TEST_F(MenuScreensTest, KeyboardOnlyCancelAfterTheScreenWentStillClearsTheFlag)
{
    Goto(CONTROLS_SCREEN_ID);
    mwinControlsControlsKeyboardOnlyChoice->ChoiceSetSel(1, 1);
    ASSERT_TRUE(mw->PopupIsOn());
    Goto(MAIN_SCREEN_ID); // closes the popup and the screen's widgets
    screens->controls_cc.ConfirmPopupCB(0);
    EXPECT_EQ(options.keyboard_only, 0);
}

TEST_F(MenuScreensTest, PowerChoiceShowsAndWritesTheStoredValue)
{
    options.power_choice = 3;
    Goto(MISC_SCREEN_ID);
    ASSERT_NE(mwinMiscMiscPowerChoice, nullptr);
    EXPECT_EQ(mwinMiscMiscPowerChoice->ChoiceGetNumItems(), 5);
    EXPECT_EQ(mwinMiscMiscPowerChoice->ChoiceGetSel(), 3);
    EXPECT_STREQ(mwinMiscMiscPowerChoice->ChoiceGetString(4), "Lowest");
    mwinMiscMiscPowerChoice->ChoiceSetSel(1, 1);
    EXPECT_EQ(options.power_choice, 1);
    EXPECT_EQ(screens->GetCurrentScreen(), MISC_SCREEN_ID);
}

TEST_F(MenuScreensTest, AboutShowsTitleAndVersionAndOpensTheGamesPage)
{
    online_hooks_open = RecordOpen;
    eng_main_window_windowed = 1;
    Goto(ABOUT_SCREEN_ID);
    EXPECT_STREQ(mwinAboutAboutVersionButton->GetTextP(), "Version 1.21");
    EXPECT_STREQ(mwinAboutAboutTitleButton->GetTextP(), MainGetGameName());
    EXPECT_STRNE(mwinAboutAboutKestrelbayTextButton->GetTextP(), "");
    // The address shown is the one the pages and the version check use.
    EXPECT_STREQ(mwinAboutAboutWebSiteButton->GetTextP(), "www.kestrelbay.com");
    EXPECT_STREQ(OnlineGetSiteRoot(), "https://www.kestrelbay.com");
    Act(mwinAboutAboutWebSiteButton);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0], std::string(OnlineGetSiteRoot()) + "/vizavu");
    EXPECT_FALSE(mw->PopupIsOn()); // no question in a window
}

TEST_F(MenuScreensTest, HandheldColourLayoutsHoldOnlyTheSetChoiceAndSkipTheMissingWidgets)
{
    struct Case
    {
        int layout;
        float frame_x, frame_y;
    } cases[] = {{1, 100, 105}, {3, 100, 105}, {2, 80, 115}, {4, 80, 115}};
    for (const Case& c : cases)
    {
        mw->SetScreenLayout(c.layout);
        Goto(GRAPHICS_SCREEN_ID);
        EXPECT_NE(mwinGraphicsGraphicsSetChoice, nullptr) << c.layout;
        EXPECT_NE(mwinGraphicsGraphicsRotButton, nullptr) << c.layout;
        EXPECT_NE(mwinGraphicsGraphicsFrameBgButton, nullptr) << c.layout;
        EXPECT_EQ(mwinGraphicsGraphicsSelChoice, nullptr) << c.layout;
        EXPECT_EQ(mwinGraphicsGraphicsColColour, nullptr) << c.layout;
        EXPECT_EQ(mwinGraphicsGraphicsResetSetButton, nullptr) << c.layout;
        EXPECT_FLOAT_EQ(board_dimensions_graphics[BOARD_DIM_BOARD].x, c.frame_x) << c.layout;
        EXPECT_FLOAT_EQ(board_dimensions_graphics[BOARD_DIM_BOARD].y, c.frame_y) << c.layout;

        mwinGraphicsGraphicsSetChoice->ChoiceSetSel(4, 1);
        EXPECT_EQ(options.cur_colour_set, 4);
        Act(mwinGraphicsGraphicsRotButton); // no action
        EXPECT_EQ(screens->GetCurrentScreen(), GRAPHICS_SCREEN_ID);
        screens->Tick();
        screens->Tick();
        Act(mwinGraphicsGraphicsBackButton);
        EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    }
    mw->SetScreenLayout(0);
}

class GraphicsScreenTest : public MenuScreensTest
{
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        Goto(GRAPHICS_SCREEN_ID);
        cc = &screens->graphics_cc;
        cc->retint_countdown = 0;
        cc->retint_seconds = 0;
    }
    float* Colour(int set, int part) { return options.colours[set][part]; }
    void Tick()
    {
        screens->Tick();
    }
    GraphicsCC* cc = nullptr;
};

TEST_F(GraphicsScreenTest, StartBindsTheChoicesAndPlacesThePreviewInTheFrame)
{
    EXPECT_EQ(mwinGraphicsGraphicsSetChoice->ChoiceGetNumItems(), 8);
    EXPECT_EQ(mwinGraphicsGraphicsSelChoice->ChoiceGetNumItems(), 6);
    EXPECT_STREQ(mwinGraphicsGraphicsColTextButton->GetTextP(), "Screen Colour");
    EXPECT_FLOAT_EQ(board_dimensions_graphics[BOARD_DIM_BOARD].x, 20);
    EXPECT_FLOAT_EQ(board_dimensions_graphics[BOARD_DIM_BOARD].y, 230);
    EXPECT_NEAR(board_dimensions_graphics[BOARD_DIM_BOARD].w, 211.36f, 1e-3);
    EXPECT_NEAR(board_dimensions_graphics[BOARD_DIM_NUMBER_PAD].x, 251.36f, 1e-3);
    EXPECT_NEAR(board_dimensions_graphics[BOARD_DIM_NOTE_PAD].x, 251.36f, 1e-3);
    EXPECT_EQ(mwinGraphicsGraphicsRotButton, nullptr); // handheld layouts only
}

TEST_F(GraphicsScreenTest, PickerEditsTheCurrentPartOfTheCurrentSet)
{
    mwinGraphicsGraphicsSetChoice->ChoiceSetSel(2, 1);
    EXPECT_EQ(cc->retint_countdown, 2); // a new set re-tints the board
    Tick();
    Tick();
    mwinGraphicsGraphicsSelChoice->ChoiceSetSel(OPTIONS_COL_PLACED_NUMBERS, 1);
    EXPECT_STREQ(mwinGraphicsGraphicsColTextButton->GetTextP(), "Placed Numbers Colour");
    auto* picker = static_cast<MWinColour*>(mwinGraphicsGraphicsColColour);
    picker->Set(0.25f, 0.5f, 0.75f, 1);
    EXPECT_NEAR(Colour(2, OPTIONS_COL_PLACED_NUMBERS)[0], 0.25f, 0.01f);
    EXPECT_NEAR(Colour(2, OPTIONS_COL_PLACED_NUMBERS)[1], 0.5f, 0.01f);
    EXPECT_NEAR(Colour(2, OPTIONS_COL_PLACED_NUMBERS)[2], 0.75f, 0.01f);
    // The other sets and parts keep their colours.
    EXPECT_FLOAT_EQ(Colour(1, OPTIONS_COL_PLACED_NUMBERS)[0], default_graphics_options[1][4][0]);
    EXPECT_FLOAT_EQ(Colour(2, OPTIONS_COL_NOTES)[0], default_graphics_options[2][5][0]);
    // A text colour follows at once: nothing waits for a re-tint.
    EXPECT_EQ(cc->retint_countdown, 0);
    EXPECT_TRUE(mw->IsInputAllowed());
}

TEST_F(GraphicsScreenTest, ChoosingASetKeepsItsEditsAndResetRestoresOnlyTheCurrentSet)
{
    Colour(3, OPTIONS_COL_BOARD)[0] = 0.123f;
    Colour(5, OPTIONS_COL_BOARD)[0] = 0.456f;
    mwinGraphicsGraphicsSetChoice->ChoiceSetSel(3, 1);
    EXPECT_EQ(options.cur_colour_set, 3);
    mwinGraphicsGraphicsSetChoice->ChoiceSetSel(5, 1);
    mwinGraphicsGraphicsSetChoice->ChoiceSetSel(3, 1);
    EXPECT_FLOAT_EQ(Colour(3, OPTIONS_COL_BOARD)[0], 0.123f);

    Act(mwinGraphicsGraphicsResetSetButton);
    EXPECT_FLOAT_EQ(Colour(3, OPTIONS_COL_BOARD)[0], default_graphics_options[3][1][0]);
    EXPECT_FLOAT_EQ(Colour(5, OPTIONS_COL_BOARD)[0], 0.456f);
}

TEST_F(GraphicsScreenTest, BoardColourWaitsForTheSliderAndReTintsOnTheSecondTick)
{
    mwinGraphicsGraphicsSelChoice->ChoiceSetSel(OPTIONS_COL_BOARD, 1);
    Act(mwinGraphicsGraphicsColColour, 1); // slider held
    EXPECT_EQ(cc->retint_countdown, 0);
    EXPECT_TRUE(mw->IsInputAllowed());

    Act(mwinGraphicsGraphicsColColour, 0); // released
    EXPECT_EQ(cc->retint_countdown, 2);
    EXPECT_FALSE(mw->IsInputAllowed());
    EXPECT_FALSE(mw->PopupIsOn()); // the first re-tint is not known to be slow

    Tick();
    EXPECT_EQ(cc->retint_countdown, 1);
    EXPECT_FALSE(mw->IsInputAllowed());
    Tick();
    EXPECT_EQ(cc->retint_countdown, 0);
    EXPECT_TRUE(mw->IsInputAllowed());
    EXPECT_GT(cc->retint_seconds, 0); // the first re-tint was timed
}

TEST_F(GraphicsScreenTest, SlowReTintShowsANoticeAndClosesOnlyItsOwn)
{
    mwinGraphicsGraphicsSelChoice->ChoiceSetSel(OPTIONS_COL_LINES, 1);
    cc->retint_seconds = 0.6;
    Act(mwinGraphicsGraphicsColColour, 0);
    ASSERT_TRUE(mw->PopupIsOn());
    EXPECT_TRUE(PopupShows("Please wait..."));
    Tick();
    EXPECT_TRUE(mw->PopupIsOn()); // one frame is drawn with it first
    Tick();
    EXPECT_FALSE(mw->PopupIsOn());
    EXPECT_TRUE(mw->IsInputAllowed());

    // With another popup up: no second one, input still blocked, and that popup stays.
    ASSERT_TRUE(MWinPopupMessage(mw, "Other"));
    cc->UpdateCols(1, 0);
    EXPECT_TRUE(PopupShows("Other"));
    EXPECT_FALSE(PopupShows("Please wait..."));
    EXPECT_FALSE(mw->IsInputAllowed());
    cc->TickCB();
    cc->TickCB();
    EXPECT_TRUE(mw->PopupIsOn());
    EXPECT_TRUE(PopupShows("Other"));
    EXPECT_TRUE(mw->IsInputAllowed());
}

TEST_F(GraphicsScreenTest, BackFreesThePictureAndReturnsToTheOptions)
{
    Goto(OPTIONS_SCREEN_ID);
    Act(mwinOptionsOptionsGraphicsButton);
    ASSERT_EQ(screens->GetCurrentScreen(), GRAPHICS_SCREEN_ID);
    Act(mwinGraphicsGraphicsBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), OPTIONS_SCREEN_ID);
    EXPECT_FALSE(gc_bg_col_tex.IsOk());
    EXPECT_EQ(mwinGraphicsGraphicsColColour, nullptr);
}

TEST_F(GraphicsScreenTest, ALeftPressOnThePreviewSelectsThePartUnderTheMouse)
{
    memset(board, 0, sizeof(board));
    const _BoardCellVars& cell = board_vars[4][4];
    VizavuDoMoveMouse(cell.centre_x, cell.centre_y);
    ASSERT_EQ(BoardGetColourPartFromMousePress(), OPTIONS_COL_BOARD);

    GraphicsControlMouseButtonPressed(1, 1); // right button
    GraphicsControlMouseButtonPressed(0, 0); // release
    EXPECT_EQ(options.cur_colour_part, OPTIONS_COL_SCREEN);
    GraphicsControlMouseButtonPressed(0, 1);
    EXPECT_EQ(options.cur_colour_part, OPTIONS_COL_BOARD);
    EXPECT_EQ(mwinGraphicsGraphicsSelChoice->ChoiceGetSel(), OPTIONS_COL_BOARD);
    EXPECT_STREQ(mwinGraphicsGraphicsColTextButton->GetTextP(), "Board Colour");
}

} // namespace
