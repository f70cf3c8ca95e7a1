// The other-games browser: the table with its getters and the actions that
// leave the program for a page or a download.
#include "GameAdsScreen.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinScreens.h"
#include "MWin/MWinWindow.h"
#include "OnlineHooks.h"
#include "Options.h"

namespace
{
// Facts per row that the stored table does not hold.
struct GameAdFacts
{
    int program;         // updater program number, 0 none
    const char* product; // picture names and the tell-a-friend word
    const char* page;    // home page word
    char ios;            // 1 iPhone, 2 iPad
    char android;
    int app_store_id;
};

const GameAdFacts game_ad_facts[GAME_ADS_NUM] = {
    {1, "Fernwood", "fernwood", 0, 0, 0},
    {2, "Tilestack", "tilestack", 0, 0, 4101},
    {3, "Pondskip", "pondskip", 0, 0, 0},
    {0, "PocketTilestack", "pockettilestack", 1, 0, 0},
    {4, "Marblerun", "marblerun", 0, 0, 4102},
    {5, "Wordweave", "wordweave", 0, 0, 0},
    {6, "Cardhaven", "cardhaven", 0, 0, 0},
    {0, "FernwoodHD", "fernwoodhd", 2, 0, 0},
    {7, "Skyrail", "skyrail", 0, 0, 4103},
    {8, "Gemfall", "gemfall", 0, 0, 0},
    {0, "PocketGemfall", "pocketgemfall", 1, 0, 0},
    {9, "Minefield", "minefield", 0, 0, 0},
    {0, "GemfallGo", "gemfallgo", 0, 1, 0},
    {10, "Lanterns", "lanterns", 0, 0, 4104},
    {11, "Bricklay", "bricklay", 0, 0, 0},
    {0, "MarblerunHD", "marblerunhd", 2, 0, 0},
    {13, "Riverboat", "riverboat", 0, 0, 0},
    {0, "WordweaveGo", "wordweavego", 0, 1, 0},
    {14, "Starmap", "starmap", 0, 0, 0},
    {0, "Vizavu", "vizavu", 0, 0, 0},
};

char mac_link_buffer[256];
char pc_link_buffer[256];

bool RowInRange(int row)
{
    return row >= 0 && row < GAME_ADS_NUM;
}

// The current ad's facts when it names a program one can download, else null.
const GameAdFacts* CurrentProgramAd()
{
    int row = game_ads_cur_game_ad;
    if (!RowInRange(row) || !game_ad_facts[row].program)
        return nullptr;
    return &game_ad_facts[row];
}

void MirrorCurrentRow()
{
    if (game_ad_num_var)
        *game_ad_num_var = game_ads_cur_game_ad;
    if (game_ad_num16_var)
        *game_ad_num16_var = (short)game_ads_cur_game_ad;
}

// Percent-encodes text for a query value; 0 when it does not fit.
bool QueryEscape(const char* in, char* out, size_t size)
{
    static const char* hex = "0123456789ABCDEF";
    size_t n = 0;
    for (const unsigned char* p = (const unsigned char*)in; *p; p++)
    {
        bool plain = (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
                     *p == '-' || *p == '_' || *p == '.' || *p == '~';
        size_t need = plain ? 1 : 3;
        if (n + need >= size)
            return false;
        if (plain)
            out[n++] = (char)*p;
        else
        {
            out[n++] = '%';
            out[n++] = hex[*p >> 4];
            out[n++] = hex[*p & 15];
        }
    }
    out[n] = 0;
    return true;
}

// Opens game_ads_buffer once the program has ended.
void GameAdsOpenBufferAfterExit()
{
    OnlineOpen(game_ads_buffer);
}

// Whether snprintf's result n fitted the address buffer; when not, logs under
// func and empties the buffer.
bool AddressFits(const char* func, int n)
{
    if (n >= 0 && n < (int)sizeof(game_ads_buffer))
        return true;
    DebugErrorAlt(func, "Address too long");
    game_ads_buffer[0] = 0;
    return false;
}
} // namespace

_GameAd game_ads[GAME_ADS_NUM] = {
    {1,
     "Fernwood",
     {"Guide a lost fox through a forest of sliding logs.", "Over 200 hand-made levels, from a gentle",
      "stroll to fiendish knots of timber.", "Relaxing music and a hint button for every level."}},
    {1,
     "Tilestack",
     {"Match pairs of tiles from towering stacks.", "Forty layouts, from pyramids to spirals.",
      "Undo, hints and a shuffle when you are stuck.", "Play against the clock or at your own pace."}},
    {1,
     "Pondskip Deluxe",
     {"Hop the frog across lily pads before they sink.", "Plan every jump: pads sink after one landing.",
      "Three worlds, 150 ponds, and a level editor.", "Gentle for children, tricky for grown-ups."}},
    {1,
     "Pocket Tilestack",
     {"The tile-matching favourite, made for phones.", "Play a quick stack on the bus or the sofa.",
      "Daily challenges with a new layout every day.", "Syncs nothing, sells nothing: just tiles."}},
    {1,
     "Marblerun",
     {"Build tracks and send marbles racing to the goal.", "Loops, ramps, magnets and trapdoors.",
      "Every puzzle has many solutions: find yours.", "Share your wildest track with a friend."}},
    {1,
     "Wordweave",
     {"Weave letters into words across a woven grid.", "Each word you find tightens the pattern.",
      "Thousands of puzzles in three sizes.", "A dictionary look-up for every word you make."}},
    {1,
     "Cardhaven",
     {"Twenty-four patience games in one deck.", "Classic rules, clear cards, generous undo.",
      "Statistics for every game you play.", "Choose your own card backs and tables."}},
    {1,
     "Fernwood HD",
     {"The forest puzzle on the big screen of your tablet.", "Crisp art drawn for high-resolution displays.",
      "Every level of the desktop game and more.", "Play with a finger, drag logs with a swipe."}},
    {1,
     "Skyrail Gold",
     {"Lay rails between floating islands in the clouds.", "Keep the trains running on time and on track.",
      "Sixty sky islands, each with its own weather.", "Gold edition: twice the islands, twice the trains."}},
    {1,
     "Gemfall",
     {"Swap falling gems into rows of three or more.", "Chains set off sparkles that clear whole columns.",
      "Endless mode, puzzle mode and a calm zen mode.", "Bright colours with a colour-blind friendly set."}},
    {1,
     "Pocket Gemfall",
     {"Falling gems in your pocket.", "Short rounds made for one-handed play.",
      "Endless mode and a daily puzzle.", "Small download, no adverts."}},
    {1,
     "Minefield",
     {"Clear the field without stepping on a mine.", "Numbers tell you how many mines are near.",
      "Boards from tiny to enormous, and custom sizes.", "First click is always safe."}},
    {1,
     "Gemfall Go",
     {"Falling gems for your phone or tablet.", "Tap to swap, chain to score.",
      "The same gems and modes as the desktop game.", "Plays offline anywhere."}},
    {1,
     "Lanterns",
     {"Light every lantern on the river with one path.", "Each lantern can be lit only once.",
      "Hundreds of rivers in four difficulty levels.", "A calm evening puzzle with a soft soundtrack."}},
    {1,
     "Bricklay",
     {"Fit falling bricks into the wall, row by row.", "Complete rows to build the castle higher.",
      "Twelve castles, each with its own shapes.", "A classic, brick by careful brick."}},
    {1,
     "Marblerun HD",
     {"Marble tracks on your tablet.", "Build with your fingers, watch with your eyes.",
      "All the desktop tracks, redrawn in detail.", "Plays offline anywhere."}},
    {1,
     "Riverboat",
     {"Steer a paddle steamer down a winding river.", "Carry passengers and cargo between the towns.",
      "Watch for sandbanks, logs and other boats.", "Twenty rivers and a free-roam mode."}},
    {1,
     "Wordweave Go",
     {"Word weaving on your phone.", "A fresh grid every morning.",
      "Three sizes and an unlimited practice mode.", "Plays offline anywhere."}},
    {1,
     "Starmap",
     {"Join the stars into the constellations of the sky.", "Each star tells you how many lines meet it.",
      "A night sky of over 300 puzzles.", "Learn the names of the stars as you play."}},
    {0, "Vizavu", {"Nine by nine, one to nine.", "", "", ""}},
};

int game_ads_cur_game_ad = 0;
int* game_ad_num_var = nullptr;
short* game_ad_num16_var = nullptr;
EngTexture* game_ads_tex1 = nullptr;
EngTexture* game_ads_tex2 = nullptr;
const char* (*game_ads_get_pic_filename_cb)(int row, int which) = nullptr;
char game_ads_path[401] = "";
char game_ads_from_prog[64] = "Unknown";
char game_ads_user_name[80] = "";
char game_ads_exit_going_online_if_windowed = 1;
char game_ads_buffer[GAME_ADS_BUFFER_SIZE] = "";
char (*game_ads_download_function)(const char* link) = UpdaterStartDownload;

void GameAdsSetupAdsToBeIncluded()
{
    for (int i = 0; i < GAME_ADS_NUM; i++)
        if (game_ad_facts[i].ios || game_ad_facts[i].android)
            game_ads[i].included = 0;
}

void GameAdsSetCurGameAd(int num)
{
    if (!RowInRange(num))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid ad num %d", num);
        num = 0;
    }
    game_ads_cur_game_ad = num;
    MirrorCurrentRow();
}

int GameAdsGetCurGameAd()
{
    return game_ads_cur_game_ad;
}

void GameAdsSetGameAdIntVariable(int** var)
{
    game_ad_num_var = var ? *var : nullptr;
    if (game_ad_num_var)
        GameAdsSetCurGameAd(*game_ad_num_var);
}

void GameAdsSetGameAdInt16Variable(short** var)
{
    game_ad_num16_var = var ? *var : nullptr;
    if (game_ad_num16_var)
        GameAdsSetCurGameAd(*game_ad_num16_var);
}

void GameAdsGoToPrevAdNum()
{
    int row = game_ads_cur_game_ad;
    for (int moves = 0; moves < GAME_ADS_NUM; moves++)
    {
        row = row <= 0 ? GAME_ADS_NUM - 1 : row - 1;
        if (game_ads[row].included)
            break;
    }
    GameAdsSetCurGameAd(row);
}

void GameAdsGoToNextAdNum(int* row_p)
{
    int row = game_ads_cur_game_ad;
    if (row_p)
        row = *row_p < 0 ? -1 : *row_p;
    for (int moves = 0; moves < GAME_ADS_NUM; moves++)
    {
        row = row >= GAME_ADS_NUM - 1 ? 0 : row + 1;
        if (game_ads[row].included)
            break;
    }
    GameAdsSetCurGameAd(row);
    if (row_p)
        *row_p = game_ads_cur_game_ad;
}

void GameAdsGoToNextAdNum()
{
    GameAdsGoToNextAdNum(nullptr);
}

void GameAdsSetGetPicFilenameCB(const char* (*cb)(int row, int which))
{
    game_ads_get_pic_filename_cb = cb;
}

const char* GameAdsGetPicFilenameCB(int row, int which)
{
    static char name[2][96];
    if (!RowInRange(row) || which < 0 || which > 1)
        return nullptr;
    snprintf(name[which], sizeof(name[which]), GAME_ADS_PIC_FOLDER "%s%d.jpg", game_ad_facts[row].product,
             which + 1);
    return name[which];
}

namespace
{
EngTexture* LoadPicture(const char* file)
{
    EngTexture* t = new EngTexture();
    if (!t->LoadFromFile(file, 0, 0))
    {
        delete t;
        return nullptr;
    }
    return t;
}
} // namespace

char GameAdsCreateGraphics(char only_if_missing)
{
    if (only_if_missing && game_ads_tex1)
        return 1;
    GameAdsDestroyGraphics();
    if (!game_ads_get_pic_filename_cb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No pic filename callback specified");
        return 0;
    }
    const char* first = game_ads_get_pic_filename_cb(game_ads_cur_game_ad, 0);
    if (!first || !first[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No pic filename for pic %d:%d", game_ads_cur_game_ad, 0);
        return 0;
    }
    game_ads_tex1 = LoadPicture(first);
    if (!game_ads_tex1)
        return 0;
    const char* second = game_ads_get_pic_filename_cb(game_ads_cur_game_ad, 1);
    if (second && second[0])
        game_ads_tex2 = LoadPicture(second);
    return 1;
}

void GameAdsDestroyGraphics()
{
    delete game_ads_tex1;
    game_ads_tex1 = nullptr;
    delete game_ads_tex2;
    game_ads_tex2 = nullptr;
}

EngTexture* GameAdsGetAdTex1P()
{
    return game_ads_tex1;
}

EngTexture* GameAdsGetAdTex2P()
{
    return game_ads_tex2;
}

void GameAdsSetInternetLinksPath(const char* path, const char* from_prog, const char* user_name)
{
    size_t pl = path ? strlen(path) : 0;
    if (pl < 5 || pl > 400 || path[pl - 1] != '/')
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid path");
        return;
    }
    size_t fl = from_prog ? strlen(from_prog) : 0;
    if (fl < 5 || fl > 63)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid from prog");
        return;
    }
    EngSafeStrcpy(game_ads_path, path, sizeof(game_ads_path));
    EngSafeStrcpy(game_ads_from_prog, from_prog, sizeof(game_ads_from_prog));
    if (user_name && strlen(user_name) < sizeof(game_ads_user_name))
        EngSafeStrcpy(game_ads_user_name, user_name, sizeof(game_ads_user_name));
    else
        game_ads_user_name[0] = 0;
}

void GameAdsExitGoingOnlineIfWindowed(char on)
{
    game_ads_exit_going_online_if_windowed = on;
}

char GameAdsGetUpdaterVarsForCurrentAd(_UpdaterProgramName* name)
{
    const GameAdFacts* ad = CurrentProgramAd();
    if (!ad)
        return 0;
    if (name)
        *name = (_UpdaterProgramName)ad->program;
    return 1;
}

const char* GameAdsGetMacDownloadLinkForCurrentAd()
{
    const GameAdFacts* ad = CurrentProgramAd();
    if (!ad)
        return nullptr;
    snprintf(mac_link_buffer, sizeof(mac_link_buffer), "%s/mac/downloads/%s.zip", OnlineGetSiteRoot(), ad->product);
    return mac_link_buffer;
}

const char* GameAdsGetDownloadLinkForCurrentAd()
{
    return GameAdsGetMacDownloadLinkForCurrentAd();
}

const char* GameAdsGetPcDownloadLinkForCurrentAd()
{
    const GameAdFacts* ad = CurrentProgramAd();
    if (!ad)
        return nullptr;
    snprintf(pc_link_buffer, sizeof(pc_link_buffer), "%s/downloads/%sSetup.exe", OnlineGetSiteRoot(), ad->product);
    return pc_link_buffer;
}

int GameAdsGetMacAppStoreIdForAd(int row, char complain)
{
    int id = RowInRange(row) ? game_ad_facts[row].app_store_id : 0;
    if (!id && complain)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id for ad %d", row);
    return id;
}

int GameAdsGetMacAppStoreIdForCurrentAd(char complain)
{
    return GameAdsGetMacAppStoreIdForAd(game_ads_cur_game_ad, complain);
}

char GameAdsIsCurrentAdAnIOSApp()
{
    return RowInRange(game_ads_cur_game_ad) && game_ad_facts[game_ads_cur_game_ad].ios ? 1 : 0;
}

char GameAdsIsCurrentAdAnIPhoneApp()
{
    return RowInRange(game_ads_cur_game_ad) && game_ad_facts[game_ads_cur_game_ad].ios == 1 ? 1 : 0;
}

char GameAdsIsCurrentAdAnIPadApp()
{
    return RowInRange(game_ads_cur_game_ad) && game_ad_facts[game_ads_cur_game_ad].ios == 2 ? 1 : 0;
}

char GameAdsIsCurrentAdAnAndroidApp()
{
    return RowInRange(game_ads_cur_game_ad) && game_ad_facts[game_ads_cur_game_ad].android ? 1 : 0;
}

void GameAdsDownloadCB()
{
    _UpdaterProgramName name;
    if (!GameAdsGetUpdaterVarsForCurrentAd(&name))
        return;
    if (!UpdaterSetupUrl(name, 0, (_UpdaterProgramType)0))
        return;
    if (eng_main_program)
    {
        // The download runs once the window and the toolkit are gone.
        eng_main_program->SetAfterExitCB(GameAdsDownloadCB);
        eng_main_program->Exit(1);
        return;
    }
    const char* link = GameAdsGetMacDownloadLinkForCurrentAd();
    if (link && game_ads_download_function)
        game_ads_download_function(link);
}

void GameAdsHomePageCB()
{
    int row = game_ads_cur_game_ad;
    const char* page = RowInRange(row) ? game_ad_facts[row].page : "all";
    int n = snprintf(game_ads_buffer, sizeof(game_ads_buffer), "%sm_%s.html", game_ads_path, page);
    if (AddressFits(__PRETTY_FUNCTION__, n))
        GameAdsGoOnline();
}

void GameAdsTellAFriendCB()
{
    int row = game_ads_cur_game_ad;
    const char* product = RowInRange(row) ? game_ad_facts[row].product : "All";
    char from[3 * sizeof(game_ads_from_prog)];
    char rec[3 * 64];
    char user[3 * sizeof(game_ads_user_name)];
    if (!QueryEscape(game_ads_from_prog, from, sizeof(from)) || !QueryEscape(product, rec, sizeof(rec)) ||
        !QueryEscape(game_ads_user_name, user, sizeof(user)))
        return;
    int n = snprintf(game_ads_buffer, sizeof(game_ads_buffer),
                     "%s/cgi-bin/common/friend/ShowTellAFriend.cgi?from_prog=%s&rec=%s&&user_name=%s",
                     OnlineGetSiteRoot(), from, rec, user);
    if (AddressFits(__PRETTY_FUNCTION__, n))
        GameAdsGoOnline();
}

void GameAdsGoOnline()
{
    if (!game_ads_buffer[0])
        return;
    if (eng_main_program && (game_ads_exit_going_online_if_windowed || !eng_main_window_windowed))
    {
        // The page opens once the window and the toolkit are gone.
        eng_main_program->SetAfterExitCB(GameAdsOpenBufferAfterExit);
        eng_main_program->Exit(1);
        return;
    }
    OnlineOpen(game_ads_buffer);
}

// ---- The screen ----

MWinCollection* mwinGameAdsCollection = nullptr;
MWinWindow* mwinGameAdsMainWinWindow = nullptr;
MWinButton* mwinGameAdsMainWinAlsoTextButton = nullptr;
MWinButton* mwinGameAdsMainWinTitleButton = nullptr;
MWinButton* mwinGameAdsMainWinPic1Button = nullptr;
MWinButton* mwinGameAdsMainWinPic2Button = nullptr;
MWinButton* mwinGameAdsMainWinDesc1Button = nullptr;
MWinButton* mwinGameAdsMainWinDesc2Button = nullptr;
MWinButton* mwinGameAdsMainWinDesc3Button = nullptr;
MWinButton* mwinGameAdsMainWinDesc4Button = nullptr;
MWinButton* mwinGameAdsMainWinDownloadButton = nullptr;
MWinButton* mwinGameAdsMainWinTellAFriendButton = nullptr;
MWinButton* mwinGameAdsMainWinPrevButton = nullptr;
MWinButton* mwinGameAdsMainWinNextButton = nullptr;
MWinButton* mwinGameAdsMainWinBackButton = nullptr;

namespace
{
const char* GADS_COLLECTION = "GameAds";
const char* GADS_WINDOW = "MainWin";

struct GameAdsWidget
{
    const char* id;
    const char* texbut;
    const char* text;
    float x, y, w, h;
    float r, g, b, a;
    float sx, sy;
    MWinButton** global;
};

const GameAdsWidget game_ads_widgets[] = {
    {"AlsoText", MWIN_TEXBUT_NONE, "also by Kestrelbay...", 0, 3, 128, 17, 1, 1, 1, 0.4f, 0.6f, 0.7f,
     &mwinGameAdsMainWinAlsoTextButton},
    {"Title", MWIN_TEXBUT_NONE, "GAME TITLE", 150, 24, 341, 27, 1, 1, 1, 0.8f, 1.5f, 1.5f,
     &mwinGameAdsMainWinTitleButton},
    {"Pic1", "Back1", "", 57, 155, 249, 255, 0, 0, 0, 0.7f, 1, 1, &mwinGameAdsMainWinPic1Button},
    {"Pic2", "Back1", "", 334, 155, 249, 255, 0, 0, 0, 0.7f, 1, 1, &mwinGameAdsMainWinPic2Button},
    {"Desc1", MWIN_TEXBUT_NONE, "Line 1 of the game description text.", 25, 67, 590, 16, 0.7f, 0.7f, 0.7f, 1,
     1, 1, &mwinGameAdsMainWinDesc1Button},
    {"Desc2", MWIN_TEXBUT_NONE, "Line 2 of the game description text.", 25, 86, 590, 16, 0.7f, 0.7f, 0.7f, 1,
     1, 1, &mwinGameAdsMainWinDesc2Button},
    {"Desc3", MWIN_TEXBUT_NONE, "Line 3 of the game description text.", 25, 105, 590, 16, 0.7f, 0.7f, 0.7f, 1,
     1, 1, &mwinGameAdsMainWinDesc3Button},
    {"Desc4", MWIN_TEXBUT_NONE, "Line 4 of the game description text.", 25, 124, 590, 16, 0.7f, 0.7f, 0.7f, 1,
     1, 1, &mwinGameAdsMainWinDesc4Button},
    {"Download", "Main", "Instant Download", 10, 430, 180, 40, 0, 0, 0, 0.7f, 1, 1,
     &mwinGameAdsMainWinDownloadButton},
    {"TellAFriend", "Main", "Tell A Friend", 194.25f, 430, 149.72f, 40, 0, 0, 0, 0.7f, 1, 1,
     &mwinGameAdsMainWinTellAFriendButton},
    {"Prev", "Main", "Prev", 348.23f, 430, 91.13f, 40, 0, 0, 0, 0.7f, 1, 1, &mwinGameAdsMainWinPrevButton},
    {"Next", "Main", "Next", 443.62f, 430, 91.13f, 40, 0, 0, 0, 0.7f, 1, 1, &mwinGameAdsMainWinNextButton},
    {"Back", "Main", "Back", 539, 430, 91.13f, 40, 0, 0, 0, 0.7f, 1, 1, &mwinGameAdsMainWinBackButton},
};

void ClearWidgetGlobals()
{
    mwinGameAdsCollection = nullptr;
    mwinGameAdsMainWinWindow = nullptr;
    for (const GameAdsWidget& w : game_ads_widgets)
        *w.global = nullptr;
}

MWinButton* FindButton(const char* id)
{
    return mwinGameAdsMainWinWindow ? mwinGameAdsMainWinWindow->GetButtonFromID(id, 0) : nullptr;
}

bool GadsIsCurrentScreen(MWinScreens* screens)
{
    return screens && screens->AreOn() && screens->GetCurrentScreen() == GAME_ADS_SCREEN_ID;
}
} // namespace

GameAdsCollectionController::GameAdsCollectionController(MWinScreens* screens)
{
    RemoveVars();
    SetScreensVar(screens);
}

void GameAdsCollectionController::SetScreensVar(MWinScreens* screens)
{
    DebugAssertAlt(screens != nullptr, __PRETTY_FUNCTION__, "No screens");
    if (!screens)
        return;
    DebugAssertAlt(screens->GetMWin() != nullptr, __PRETTY_FUNCTION__, "No mwin");
    screens_p = screens;
    mwin_p = screens->GetMWin();
    SetScreens(screens);
}

void GameAdsCollectionController::RemoveVars()
{
    ClearWidgetGlobals();
}

char GameAdsCollectionController::CreateCollection(MWin* mwin)
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        return 0;
    }
    MWinDesktop* desktop = mwin->GetDesktop();
    if (!desktop)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get default desktop");
        return 0;
    }
    MWinCollection* collection = AddCollectionToDesktop(mwin, desktop);
    if (!collection)
        return 0;
    return AddMainWinWindowToCollectionNormal(collection) ? 1 : 0;
}

MWinCollection* GameAdsCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    MWinCollection* collection = desktop->AddCollection(GADS_COLLECTION);
    if (!collection)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create collection <%s>", GADS_COLLECTION);
        return nullptr;
    }
    collection->SetScreenLayout(mwin->GetScreenLayout());
    mwinGameAdsCollection = collection;
    return collection;
}

MWinWindow* GameAdsCollectionController::AddMainWinWindowToCollectionNormal(MWinCollection* collection)
{
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoDefaults(&info);
    info.x = 0;
    info.y = 0;
    info.w = 640;
    info.h = 480;
    info.title_bar = 0;
    info.title[0] = 0;
    EngSafeStrcpy(info.title_texbut, MWIN_TEXBUT_NONE, sizeof(info.title_texbut));
    EngSafeStrcpy(info.back_texbut, MWIN_TEXBUT_NONE, sizeof(info.back_texbut));
    EngSafeStrcpy(info.title_font, MWIN_FONT_DEFAULT, sizeof(info.title_font));
    MWinWindow* window = collection->AddWindow(GADS_WINDOW, &info);
    if (!window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not add window");
        return nullptr;
    }
    window->SetTitleTextColour(1, 1, 1, 1);
    window->SetTitleTextScale(1, 1);
    window->SetTitleTextAlign(MWIN_ALIGN_LEFT);
    window->SetController(this);
    mwinGameAdsMainWinWindow = window;
    if (!AddMainWinWindowButtonsToWindowNormal(window))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not add buttons to window");
        return nullptr;
    }
    return window;
}

char GameAdsCollectionController::AddMainWinWindowButtonsToWindowNormal(MWinWindow* window)
{
    for (const GameAdsWidget& w : game_ads_widgets)
        *w.global = nullptr;
    if (!window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window");
        return 0;
    }
    char ok = 1;
    for (const GameAdsWidget& w : game_ads_widgets)
    {
        MWinButton* b = window->AddButton(w.id, MWIN_BUTTON_PUSH, w.texbut, w.text, w.x, w.y, w.w, w.h);
        if (!b)
        {
            ok = 0;
            continue;
        }
        b->SetFont("Main");
        b->SetTextAlign(MWIN_ALIGN_CENTRE);
        b->SetTextColour(w.r, w.g, w.b, w.a);
        b->SetTextScale(w.sx, w.sy);
        *w.global = b;
    }
    if (!ok)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not add button(s) to window");
    return ok;
}

GameAdsCC::GameAdsCC(MWinScreens* screens) : GameAdsCollectionController(screens) {}

void GameAdsCC::ForgetButtons()
{
    prev_button = next_button = back_button = nullptr;
    tell_button = download_button = nullptr;
    pic1_bg = pic1 = pic2_bg = pic2 = pic_cen = pic_cen_bg = nullptr;
    pending_button = nullptr;
}

void GameAdsCC::RemoveVars()
{
    GameAdsCollectionController::RemoveVars();
    ForgetButtons();
}

void GameAdsCC::CustomiseAppearence(char a, float b, float c)
{
    if (a >= 0)
        appearance_kind = a;
    if (b >= 0)
        appearance_1 = b;
    if (c >= 0)
        appearance_2 = c;
}

char GameAdsCC::CreateGraphics()
{
    // Widgets must not keep pictures that are about to be freed.
    if (pic1)
        pic1->SetBackTexButToCustomTexP(nullptr);
    if (pic2)
        pic2->SetBackTexButToCustomTexP(nullptr);
    if (pic_cen)
        pic_cen->SetBackTexButToCustomTexP(nullptr);
    GameAdsDestroyGraphics();
    if (!GadsIsCurrentScreen(screens_p))
        return 1;
    char ok = GameAdsCreateGraphics(1);
    if (pic1 && game_ads_tex1)
        pic1->SetBackTexButToCustomTexP(game_ads_tex1);
    if (pic2 && game_ads_tex2)
        pic2->SetBackTexButToCustomTexP(game_ads_tex2);
    if (pic_cen && game_ads_tex1 && GameAdsIsCurrentAdAnIPadApp())
        pic_cen->SetBackTexButToCustomTexP(game_ads_tex1);
    return ok;
}

void GameAdsCC::DestroyGraphics()
{
    if (GadsIsCurrentScreen(screens_p))
    {
        if (pic1)
            pic1->SetBackTexButToCustomTexP(nullptr);
        if (pic2)
            pic2->SetBackTexButToCustomTexP(nullptr);
        if (pic_cen)
            pic_cen->SetBackTexButToCustomTexP(nullptr);
    }
    GameAdsDestroyGraphics();
}

void GameAdsCC::StartingCB()
{
    GameAdsSetCurGameAd(game_ads_cur_game_ad);
    const _GameAd& ad = game_ads[game_ads_cur_game_ad];

    MWinButton* title = FindButton("Title");
    if (title)
    {
        if (GameAdsIsCurrentAdAnIPhoneApp())
            title->SetTextPrintf("%s  (iPhone)", ad.title);
        else if (GameAdsIsCurrentAdAnIPadApp())
            title->SetTextPrintf("%s  (iPad)", ad.title);
        else if (GameAdsIsCurrentAdAnAndroidApp())
            title->SetTextPrintf("%s  (Android)", ad.title);
        else
            title->SetText(ad.title);
    }
    static const char* desc_ids[GAME_ADS_DESC_LINES] = {"Desc1", "Desc2", "Desc3", "Desc4"};
    for (int i = 0; i < GAME_ADS_DESC_LINES; i++)
    {
        MWinButton* d = FindButton(desc_ids[i]);
        if (d)
            d->SetText(ad.desc[i]);
    }

    pic1_bg = FindButton("Pic1Bg");
    pic1 = FindButton("Pic1");
    pic2_bg = FindButton("Pic2Bg");
    pic2 = FindButton("Pic2");
    pic_cen = FindButton("PicCen");
    pic_cen_bg = FindButton("PicCenBg");
    if (pic_cen)
        pic_cen->Hide();
    if (pic_cen_bg)
        pic_cen_bg->Hide();
    CreateGraphics();

    if (browse_style)
    {
        prev_button = FindButton("Prev");
        next_button = FindButton("Next");
        back_button = FindButton("Back");
        if (back_button && mwinGameAdsMainWinWindow)
            mwinGameAdsMainWinWindow->SetEscapeButton(back_button);
    }

    tell_button = FindButton("TellAFriend");
    download_button = FindButton("Download");
    if (!download_button)
        download_button = FindButton("HomePage");
    if (download_button)
    {
        if (GameAdsGetMacDownloadLinkForCurrentAd())
        {
            const char* text = download_button->GetTextP();
            if (!text || strcmp(text, "Download") != 0)
                download_button->SetText(
                    EngLanguagesGetStringIfExists("GameAds_Download", "Instant Download"));
        }
        else if (GameAdsIsCurrentAdAnIOSApp())
            download_button->SetText(EngLanguagesGetStringIfExists("GameAds_AppStore", "App Store"));
        else
            download_button->SetText(EngLanguagesGetStringIfExists("Startup_HomePage", "Home Page"));
    }

    if (GameAdsIsCurrentAdAnIPadApp())
    {
        MWinButton* side[4] = {pic1_bg, pic1, pic2_bg, pic2};
        for (MWinButton* b : side)
            if (b)
                b->Hide();
        if (!pic_cen)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No center pic button");
        else
        {
            pic_cen->Show(1);
            if (pic_cen_bg)
                pic_cen_bg->Show(1);
            if (game_ads_tex1)
                pic_cen->SetBackTexButToCustomTexP(game_ads_tex1);
        }
    }
}

void GameAdsCC::TickCB()
{
    MWinButton* b = pending_button;
    pending_button = nullptr;
    if (b)
        ProcessButtonCallback(b);
}

void GameAdsCC::RenderCB(_MWinRenderStage) {}

char GameAdsCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    pending_button = button;
    return 1;
}

void GameAdsCC::PrevCB()
{
    DestroyGraphics();
    GameAdsGoToPrevAdNum();
    StartingCB();
}

void GameAdsCC::NextCB()
{
    DestroyGraphics();
    GameAdsGoToNextAdNum();
    StartingCB();
}

void GameAdsCC::BackCB()
{
    // The pictures live only while the screen shows.
    DestroyGraphics();
    ForgetButtons();
    if (screens_p)
        screens_p->GetMWin()->GoBackToPreviousScreen();
    void (*cb)() = done_cb;
    done_cb = nullptr;
    if (cb)
        cb();
}

char GameAdsCC::ProcessButtonCallback(MWinButton* button)
{
    if (!button)
        return 0;
    if (button == prev_button)
        PrevCB();
    else if (button == next_button)
        NextCB();
    else if (button == back_button)
        BackCB();
    else if (button == tell_button)
        GameAdsTellAFriendCB();
    else if (button == download_button)
    {
        if (GameAdsGetMacDownloadLinkForCurrentAd())
            GameAdsDownloadCB();
        else if (GameAdsIsCurrentAdAnIOSApp())
            GameAdsShowIOSAppStorePopupCB(mwin_p);
        else
            GameAdsHomePageCB();
    }
    else
        return 0;
    return 1;
}

void GameAdsShowIOSAppStorePopupCB(MWin* mwin)
{
    if (!mwin)
        return;
    if (GameAdsIsCurrentAdAnIPadApp())
        MWinPopupMessage(mwin, "Search the App Store on your iPad for \"Kestrelbay\" to find the app.");
    else
        MWinPopupMessage(mwin, "Search the App Store on your iPhone for \"Kestrelbay\" to find the app.");
}

void GameAdsPrepareBrowser(GameAdsCC* cc)
{
    GameAdsSetupAdsToBeIncluded();
    if (cc)
    {
        cc->UseBrowseStyle();
        cc->CustomiseAppearence(0, 0.8f, 1.5f);
    }
    char path[401];
    int n = snprintf(path, sizeof(path), "%s/vizavu/iga/", OnlineGetSiteRoot());
    if (n > 0 && n < (int)sizeof(path))
        GameAdsSetInternetLinksPath(path, "Vizavu_LNX", nullptr);
    int* index = &options.other_games_index;
    GameAdsSetGameAdIntVariable(&index);
    GameAdsSetGetPicFilenameCB(GameAdsGetPicFilenameCB);
}
