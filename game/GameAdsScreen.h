// The other-games browser: a table of the makers' other games with getters,
// and the 'GADS' screen that pages through it.
#pragma once

#include <cstdint>

#include "MWin/MWinCollectionController.h"
#include "Updater.h"

class EngTexture;
class GameAdsCC;
class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinScreens;
class MWinWindow;

#define GAME_ADS_NUM 20
#define GAME_ADS_TEXT_SIZE 128
#define GAME_ADS_DESC_LINES 4
#define GAME_ADS_BUFFER_SIZE 512
// The pictures' folder inside the resources folder.
#define GAME_ADS_PIC_FOLDER "GameAds/"
#define GAME_ADS_SCREEN_ID 0x47414453u // 'GADS'

struct _GameAd
{
    uint8_t included;
    char title[GAME_ADS_TEXT_SIZE];
    char desc[GAME_ADS_DESC_LINES][GAME_ADS_TEXT_SIZE];
};
static_assert(sizeof(_GameAd) == 641, "game ad row size");

extern _GameAd game_ads[GAME_ADS_NUM];
extern int game_ads_cur_game_ad;
extern int* game_ad_num_var;
extern short* game_ad_num16_var;
extern EngTexture* game_ads_tex1;
extern EngTexture* game_ads_tex2;
extern const char* (*game_ads_get_pic_filename_cb)(int row, int which);
extern char game_ads_path[401];
extern char game_ads_from_prog[64];
extern char game_ads_user_name[80];
extern char game_ads_exit_going_online_if_windowed;
extern char game_ads_buffer[GAME_ADS_BUFFER_SIZE];
// Starts the download of a link (tests replace it).
extern char (*game_ads_download_function)(const char* link);

// Table and row.
void GameAdsSetupAdsToBeIncluded();
void GameAdsSetCurGameAd(int num);
int GameAdsGetCurGameAd();
void GameAdsSetGameAdIntVariable(int** var);
void GameAdsSetGameAdInt16Variable(short** var);
void GameAdsGoToPrevAdNum();
void GameAdsGoToNextAdNum();
void GameAdsGoToNextAdNum(int* row);
void GameAdsSetGetPicFilenameCB(const char* (*cb)(int row, int which));
const char* GameAdsGetPicFilenameCB(int row, int which);
char GameAdsCreateGraphics(char only_if_missing);
void GameAdsDestroyGraphics();
EngTexture* GameAdsGetAdTex1P();
EngTexture* GameAdsGetAdTex2P();
void GameAdsSetInternetLinksPath(const char* path, const char* from_prog, const char* user_name);
void GameAdsExitGoingOnlineIfWindowed(char on);

// Getters for the current row (or a given one).
char GameAdsGetUpdaterVarsForCurrentAd(_UpdaterProgramName* name);
const char* GameAdsGetMacDownloadLinkForCurrentAd();
const char* GameAdsGetDownloadLinkForCurrentAd();
const char* GameAdsGetPcDownloadLinkForCurrentAd();
int GameAdsGetMacAppStoreIdForAd(int row, char complain);
int GameAdsGetMacAppStoreIdForCurrentAd(char complain);
char GameAdsIsCurrentAdAnIOSApp();
char GameAdsIsCurrentAdAnIPhoneApp();
char GameAdsIsCurrentAdAnIPadApp();
char GameAdsIsCurrentAdAnAndroidApp();

// What the main menu does before it opens the browser: the browsable rows,
// browse style, the links, the options record's index and the picture names.
void GameAdsPrepareBrowser(GameAdsCC* cc);

// Actions.
void GameAdsDownloadCB();
void GameAdsHomePageCB();
void GameAdsTellAFriendCB();
void GameAdsGoOnline();
void GameAdsShowIOSAppStorePopupCB(MWin* mwin);

// Widgets of the screen (cleared when it stops).
extern MWinCollection* mwinGameAdsCollection;
extern MWinWindow* mwinGameAdsMainWinWindow;
extern MWinButton* mwinGameAdsMainWinAlsoTextButton;
extern MWinButton* mwinGameAdsMainWinTitleButton;
extern MWinButton* mwinGameAdsMainWinPic1Button;
extern MWinButton* mwinGameAdsMainWinPic2Button;
extern MWinButton* mwinGameAdsMainWinDesc1Button;
extern MWinButton* mwinGameAdsMainWinDesc2Button;
extern MWinButton* mwinGameAdsMainWinDesc3Button;
extern MWinButton* mwinGameAdsMainWinDesc4Button;
extern MWinButton* mwinGameAdsMainWinDownloadButton;
extern MWinButton* mwinGameAdsMainWinTellAFriendButton;
extern MWinButton* mwinGameAdsMainWinPrevButton;
extern MWinButton* mwinGameAdsMainWinNextButton;
extern MWinButton* mwinGameAdsMainWinBackButton;

class GameAdsCollectionController : public MWinCollectionController
{
public:
    explicit GameAdsCollectionController(MWinScreens* screens);
    virtual ~GameAdsCollectionController() = default;

    void SetScreensVar(MWinScreens* screens);
    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;
    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop);
    MWinWindow* AddMainWinWindowToCollectionNormal(MWinCollection* collection);
    char AddMainWinWindowButtonsToWindowNormal(MWinWindow* window);

protected:
    MWinScreens* screens_p = nullptr;
    MWin* mwin_p = nullptr;
};

class GameAdsCC : public GameAdsCollectionController
{
public:
    explicit GameAdsCC(MWinScreens* screens);

    // Also forgets the looked-up widgets, which the screen change destroys.
    void RemoveVars() override;
    void StartingCB() override;
    void TickCB() override;
    void RenderCB(_MWinRenderStage stage) override;
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    void UseBrowseStyle() { browse_style = 1; }
    void SetDoneCB(void (*cb)()) { done_cb = cb; }
    void CustomiseAppearence(char a, float b, float c);
    char CreateGraphics();
    void DestroyGraphics();
    void PrevCB();
    void NextCB();
    void BackCB();
    char ProcessButtonCallback(MWinButton* button);

private:
    void ForgetButtons();

    char browse_style = 0;
    void (*done_cb)() = nullptr;
    char appearance_kind = 0;
    float appearance_1 = 0, appearance_2 = 0;
    MWinButton* prev_button = nullptr;
    MWinButton* next_button = nullptr;
    MWinButton* back_button = nullptr;
    MWinButton* tell_button = nullptr;
    MWinButton* download_button = nullptr;
    MWinButton* pic1_bg = nullptr;
    MWinButton* pic1 = nullptr;
    MWinButton* pic2_bg = nullptr;
    MWinButton* pic2 = nullptr;
    MWinButton* pic_cen = nullptr;
    MWinButton* pic_cen_bg = nullptr;
    MWinButton* pending_button = nullptr;
};
