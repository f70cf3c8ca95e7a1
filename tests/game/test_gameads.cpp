// The other-games browser: stepping over excluded rows, the bound variables,
// the link settings, the pages and downloads it leaves the program for, and
// its screen driven by button presses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"
#include "MWin/MWinWindow.h"
#include "game/Game.h"
#include "game/GameAdsScreen.h"
#include "game/Options.h"
#include "game/OnlineHooks.h"
#include "support/TestSupport.h"

namespace
{

std::vector<std::string>& Opened()
{
    static std::vector<std::string> v;
    return v;
}

char RecordOpen(const char* url)
{
    Opened().push_back(url ? url : "");
    return 1;
}

std::vector<std::string>& Downloads()
{
    static std::vector<std::string> v;
    return v;
}

char RecordDownload(const char* link)
{
    Downloads().push_back(link ? link : "");
    return 1;
}

// The browsable rows in table order.
std::vector<int> IncludedRows()
{
    std::vector<int> rows;
    for (int i = 0; i < GAME_ADS_NUM; i++)
        if (game_ads[i].included)
            rows.push_back(i);
    return rows;
}

class GameAds : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        vztest::LogTest::SetUp();
        for (int i = 0; i < GAME_ADS_NUM; i++)
            saved_included[i] = game_ads[i].included;
        GameAdsSetupAdsToBeIncluded();
        GameAdsSetGameAdIntVariable(nullptr);
        GameAdsSetGameAdInt16Variable(nullptr);
        GameAdsSetCurGameAd(0);
        game_ads_user_name[0] = 0;
        Opened().clear();
        Downloads().clear();
        saved_open = online_hooks_open;
        online_hooks_open = RecordOpen;
        game_ads_download_function = RecordDownload;
    }
    void TearDown() override
    {
        GameAdsSetGameAdIntVariable(nullptr);
        GameAdsSetGameAdInt16Variable(nullptr);
        for (int i = 0; i < GAME_ADS_NUM; i++)
            game_ads[i].included = saved_included[i];
        online_hooks_open = saved_open;
        vztest::LogTest::TearDown();
    }
    uint8_t saved_included[GAME_ADS_NUM];
    char (*saved_open)(const char*) = nullptr;
};

TEST_F(GameAds, SetupLeavesThirteenRowsWithDownloads)
{
    std::vector<int> rows = IncludedRows();
    EXPECT_EQ(rows.size(), 13u);
    for (int r : rows)
    {
        GameAdsSetCurGameAd(r);
        _UpdaterProgramName name;
        EXPECT_TRUE(GameAdsGetUpdaterVarsForCurrentAd(&name)) << r;
        ASSERT_NE(GameAdsGetMacDownloadLinkForCurrentAd(), nullptr);
        std::string link = GameAdsGetMacDownloadLinkForCurrentAd();
        EXPECT_NE(link.find("/mac/downloads/"), std::string::npos);
        EXPECT_EQ(link.substr(link.size() - 4), ".zip");
        EXPECT_FALSE(GameAdsIsCurrentAdAnIOSApp() || GameAdsIsCurrentAdAnAndroidApp()) << r;
    }
    // The last row is this game itself and is never shown by stepping.
    EXPECT_NE(std::string(MainGetGameName()).find(game_ads[GAME_ADS_NUM - 1].title), std::string::npos);
    EXPECT_FALSE(game_ads[GAME_ADS_NUM - 1].included);
}

TEST_F(GameAds, SteppingWrapsAndSkipsExcludedRows)
{
    std::vector<int> rows = IncludedRows();
    ASSERT_GE(rows.size(), 2u);
    GameAdsSetCurGameAd(rows.back());
    GameAdsGoToNextAdNum();
    EXPECT_EQ(GameAdsGetCurGameAd(), rows.front());
    GameAdsGoToPrevAdNum();
    EXPECT_EQ(GameAdsGetCurGameAd(), rows.back());
    // Every step forward from every browsable row lands on the next one.
    for (size_t i = 0; i < rows.size(); i++)
    {
        GameAdsSetCurGameAd(rows[i]);
        GameAdsGoToNextAdNum();
        EXPECT_EQ(GameAdsGetCurGameAd(), rows[(i + 1) % rows.size()]);
    }
    // A negative start counts as -1, and the result is written back.
    int start = -7;
    GameAdsGoToNextAdNum(&start);
    EXPECT_EQ(start, rows.front());
    EXPECT_EQ(GameAdsGetCurGameAd(), rows.front());
}

TEST_F(GameAds, AllRowsExcludedStopsAfterOneRound)
{
    for (int i = 0; i < GAME_ADS_NUM; i++)
        game_ads[i].included = 0;
    GameAdsSetCurGameAd(4);
    GameAdsGoToNextAdNum();
    EXPECT_EQ(GameAdsGetCurGameAd(), 4);
    GameAdsGoToPrevAdNum();
    EXPECT_EQ(GameAdsGetCurGameAd(), 4);
}

TEST_F(GameAds, BoundVariablesAreRangedAndMirrored)
{
    int stored = 25;
    int* p = &stored;
    GameAdsSetGameAdIntVariable(&p);
    EXPECT_EQ(GameAdsGetCurGameAd(), 0);
    EXPECT_EQ(stored, 0);
    EXPECT_TRUE(vztest::Logged("Invalid ad num 25"));

    short stored16 = 3;
    short* p16 = &stored16;
    GameAdsSetGameAdInt16Variable(&p16);
    EXPECT_EQ(GameAdsGetCurGameAd(), 3);
    EXPECT_EQ(stored, 3);

    // An excluded row is kept as it is; stepping leaves it.
    ASSERT_FALSE(game_ads[3].included);
    GameAdsGoToNextAdNum();
    EXPECT_EQ(stored, 4);
    EXPECT_EQ(stored16, 4);

    GameAdsSetGameAdIntVariable(nullptr);
    GameAdsSetCurGameAd(-1);
    EXPECT_EQ(stored, 4);
    EXPECT_EQ(stored16, 0);
}

TEST_F(GameAds, LinkSettingsAreCheckedBeforeAnyChange)
{
    GameAdsSetInternetLinksPath("https://a.example/games/", "Vizavu_LNX", "ann");
    struct Case
    {
        const char* path;
        const char* from;
        const char* logged;
    } bad[] = {
        {"http", "Vizavu_LNX", "Invalid path"},
        {"https://a.example/nope", "Vizavu_LNX", "Invalid path"},
        {nullptr, "Vizavu_LNX", "Invalid path"},
        {"https://b.example/", "Viz", "Invalid from prog"},
        {"https://b.example/", nullptr, "Invalid from prog"},
    };
    for (const Case& c : bad)
    {
        DebugClearLog();
        GameAdsSetInternetLinksPath(c.path, c.from, "bob");
        EXPECT_TRUE(vztest::Logged(c.logged)) << (c.path ? c.path : "null");
        EXPECT_STREQ(game_ads_path, "https://a.example/games/");
        EXPECT_STREQ(game_ads_user_name, "ann");
    }
    std::string long_name(80, 'x');
    GameAdsSetInternetLinksPath("https://b.example/", "Vizavu_LNX", long_name.c_str());
    EXPECT_STREQ(game_ads_path, "https://b.example/");
    EXPECT_STREQ(game_ads_user_name, "");
}

TEST_F(GameAds, PagesOpenWithoutAProgramObject)
{
    GameAdsSetInternetLinksPath("https://a.example/vizavu/iga/", "Vizavu_LNX", "Ann & Bob");
    GameAdsSetCurGameAd(IncludedRows().front());
    GameAdsHomePageCB();
    GameAdsTellAFriendCB();
    ASSERT_EQ(Opened().size(), 2u);
    EXPECT_EQ(Opened()[0].rfind("https://a.example/vizavu/iga/m_", 0), 0u) << Opened()[0];
    EXPECT_EQ(Opened()[0].substr(Opened()[0].size() - 5), ".html");
    std::string friend_url = Opened()[1];
    EXPECT_EQ(friend_url.rfind(std::string(OnlineGetSiteRoot()) +
                                   "/cgi-bin/common/friend/ShowTellAFriend.cgi?from_prog=Vizavu_LNX&rec=",
                               0),
              0u)
        << friend_url;
    // The user name cannot add fields of its own to the query.
    EXPECT_NE(friend_url.find("&&user_name=Ann%20%26%20Bob"), std::string::npos) << friend_url;
}

TEST_F(GameAds, LeavingForAPageOrDownloadEndsTheProgramFirst)
{
    GameAdsSetInternetLinksPath("https://a.example/vizavu/iga/", "Vizavu_LNX", nullptr);
    GameAdsSetCurGameAd(IncludedRows().front());
    {
        EngProgram program;
        ASSERT_EQ(eng_main_program, &program);
        GameAdsHomePageCB();
        EXPECT_EQ(eng_main_program, nullptr);
        EXPECT_EQ(Opened().size(), 1u);
    }
    {
        EngProgram program;
        GameAdsDownloadCB();
        EXPECT_EQ(eng_main_program, nullptr);
        ASSERT_EQ(Downloads().size(), 1u);
        EXPECT_EQ(Downloads()[0], GameAdsGetMacDownloadLinkForCurrentAd());
    }
    // A row without a program number downloads nothing and keeps the program.
    {
        EngProgram program;
        GameAdsSetCurGameAd(3);
        GameAdsDownloadCB();
        EXPECT_EQ(eng_main_program, &program);
        EXPECT_EQ(Downloads().size(), 1u);
    }
}

TEST_F(GameAds, PrepareBrowserBindsTheStoredIndex)
{
    // As stored: every row but the last.
    for (int i = 0; i < GAME_ADS_NUM; i++)
        game_ads[i].included = i < GAME_ADS_NUM - 1;
    options.other_games_index = 25;
    GameAdsPrepareBrowser(nullptr);
    EXPECT_EQ(IncludedRows().size(), 13u);
    EXPECT_EQ(GameAdsGetCurGameAd(), 0);
    EXPECT_EQ(options.other_games_index, 0);
    GameAdsGoToNextAdNum();
    EXPECT_EQ(options.other_games_index, GameAdsGetCurGameAd());
    EXPECT_EQ(game_ads_get_pic_filename_cb, &GameAdsGetPicFilenameCB);
    EXPECT_EQ(std::string(game_ads_path), std::string(OnlineGetSiteRoot()) + "/vizavu/iga/");
}

// ---- The screen ----

const unsigned kMain = EngFourCC('M', 'A', 'I', 'N');

class MenuScreen : public MWinCollectionController
{
public:
    char CreateCollection(MWin* mw) override
    {
        return mw->GetDesktop()->AddCollection("MainColl") != nullptr;
    }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }
};

// The controllers outlive the screen set, as the base's destructor still reaches them.
class Screens : public MWinScreens
{
public:
    explicit Screens(MWin* mw) : MWinScreens(mw, 0) {}
    char SetupProgramScreens() override
    {
        AddScreen(kMain, menu);
        AddScreen(GAME_ADS_SCREEN_ID, ads);
        return 1;
    }
    MenuScreen* menu = nullptr;
    GameAdsCC* ads = nullptr;
};

int done_calls = 0;
void CountDone()
{
    done_calls++;
}

class GameAdsScreenTest : public GameAds
{
protected:
    void SetUp() override
    {
        GameAds::SetUp();
        eng_main_window = &window;
        mw = new MWin(nullptr);
        mw->Startup();
        screens = new Screens(mw);
        ads = new GameAdsCC(screens);
        screens->menu = &menu;
        screens->ads = ads;
        ASSERT_TRUE(screens->SetupAllScreens());
        screens->StartScreen(kMain, 0);
        GameAdsSetGetPicFilenameCB(GameAdsGetPicFilenameCB);
        ads->UseBrowseStyle();
        done_calls = 0;
        ads->SetDoneCB(CountDone);
    }
    void TearDown() override
    {
        delete screens;
        delete ads;
        delete mw;
        GameAdsDestroyGraphics();
        eng_main_window = nullptr;
        GameAds::TearDown();
    }
    void Press(MWinButton* b)
    {
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(ads->ButtonsCallback(b, nullptr), 1);
        screens->Tick();
    }
    std::string Text(MWinButton* b) { return b && b->GetTextP() ? b->GetTextP() : ""; }

    EngWindow window;
    MWin* mw = nullptr;
    MenuScreen menu;
    GameAdsCC* ads = nullptr;
    Screens* screens = nullptr;
};

TEST_F(GameAdsScreenTest, BuildsTheLayoutAndShowsTheCurrentRow)
{
    std::vector<int> rows = IncludedRows();
    GameAdsSetCurGameAd(rows[1]);
    screens->GotoScreen(GAME_ADS_SCREEN_ID);
    ASSERT_NE(mwinGameAdsMainWinWindow, nullptr);
    MWinButton* all[] = {
        mwinGameAdsMainWinAlsoTextButton,    mwinGameAdsMainWinTitleButton, mwinGameAdsMainWinPic1Button,
        mwinGameAdsMainWinPic2Button,        mwinGameAdsMainWinDesc1Button, mwinGameAdsMainWinDesc2Button,
        mwinGameAdsMainWinDesc3Button,       mwinGameAdsMainWinDesc4Button, mwinGameAdsMainWinDownloadButton,
        mwinGameAdsMainWinTellAFriendButton, mwinGameAdsMainWinPrevButton,  mwinGameAdsMainWinNextButton,
        mwinGameAdsMainWinBackButton};
    for (MWinButton* b : all)
        EXPECT_NE(b, nullptr);
    EXPECT_EQ(mwinGameAdsMainWinWindow->GetNumButtons(), 13);
    EXPECT_EQ(Text(mwinGameAdsMainWinTitleButton), game_ads[rows[1]].title);
    EXPECT_EQ(Text(mwinGameAdsMainWinDesc4Button), game_ads[rows[1]].desc[3]);
    EXPECT_EQ(Text(mwinGameAdsMainWinDownloadButton), "Instant Download");
    EXPECT_EQ(mwinGameAdsMainWinWindow->GetEscapeButton(), mwinGameAdsMainWinBackButton);

    Press(mwinGameAdsMainWinNextButton);
    EXPECT_EQ(GameAdsGetCurGameAd(), rows[2]);
    EXPECT_EQ(Text(mwinGameAdsMainWinTitleButton), game_ads[rows[2]].title);
    Press(mwinGameAdsMainWinPrevButton);
    Press(mwinGameAdsMainWinPrevButton);
    EXPECT_EQ(GameAdsGetCurGameAd(), rows[0]);
}

TEST_F(GameAdsScreenTest, PhoneRowsShowTheirKindAndAskForTheStore)
{
    int iphone = -1;
    for (int r = 0; r < GAME_ADS_NUM && iphone < 0; r++)
    {
        GameAdsSetCurGameAd(r);
        if (GameAdsIsCurrentAdAnIPhoneApp())
            iphone = r;
    }
    ASSERT_GE(iphone, 0);
    screens->GotoScreen(GAME_ADS_SCREEN_ID);
    EXPECT_EQ(Text(mwinGameAdsMainWinTitleButton), std::string(game_ads[iphone].title) + "  (iPhone)");
    EXPECT_EQ(Text(mwinGameAdsMainWinDownloadButton), "App Store");
    Press(mwinGameAdsMainWinDownloadButton);
    EXPECT_TRUE(mw->PopupIsOn());
    EXPECT_TRUE(Opened().empty());
    EXPECT_TRUE(Downloads().empty());
}

TEST_F(GameAdsScreenTest, BackReturnsAndCallsDoneOnce)
{
    screens->GotoScreen(GAME_ADS_SCREEN_ID);
    Press(mwinGameAdsMainWinBackButton);
    EXPECT_EQ(screens->GetCurrentScreen(), kMain);
    EXPECT_EQ(done_calls, 1);
    EXPECT_EQ(mwinGameAdsMainWinWindow, nullptr);
    screens->GotoScreen(GAME_ADS_SCREEN_ID);
    Press(mwinGameAdsMainWinBackButton);
    EXPECT_EQ(done_calls, 1);
}

TEST_F(GameAdsScreenTest, APressPendingAtAScreenChangeIsDropped)
{
    screens->GotoScreen(GAME_ADS_SCREEN_ID);
    int row = GameAdsGetCurGameAd();
    ASSERT_EQ(ads->ButtonsCallback(mwinGameAdsMainWinNextButton, nullptr), 1);
    screens->GotoScreen(kMain); // the widget is destroyed here
    ads->TickCB();
    EXPECT_EQ(GameAdsGetCurGameAd(), row);
    EXPECT_EQ(screens->GetCurrentScreen(), kMain);
}

} // namespace
