// Printing from the main menu on a real window: the "Working..." notice is
// put on screen while the picture is made, and the picture lands on the
// Desktop folder; what killed prints left there goes at the next start.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinPopup.h"
#include "game/MainScreen.h"
#include "game/Options.h"
#include "support/SwapWatch.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

namespace
{
// The popup text on screen at each buffer swap ("" without a popup).
std::vector<std::string> swapped;

void RecordShownPopup()
{
    std::string shown;
    if (main_mwin && main_mwin->PopupIsOn() && MWinPopupGetSettings(main_mwin)->msg)
        shown = MWinPopupGetSettings(main_mwin)->msg->GetTextP();
    swapped.push_back(shown);
}

class PrintRun : public gametest::GameWindowTest
{
protected:
    vztest::TempDir home;
    vztest::ScopedEnv home_env{"HOME", home.Path().c_str()};

    void ClickPrint()
    {
        ASSERT_NE(mwinMainMainPrintButton, nullptr);
        const _Dimension* a = mwinMainMainPrintButton->GetActualArea();
        swapped.clear();
        vztest::SwapWatcher() = RecordShownPopup;
        ClickPixel(int((a->x + a->w / 2) * eng_main_window_x_ratio),
                   int((a->y + a->h / 2) * eng_main_window_y_ratio));
        Frames(2);
        vztest::SwapWatcher() = nullptr;
    }
};

TEST_F(PrintRun, WorkingNoticeIsShownAndThePictureLandsOnTheDesktop)
{
    // No user-dirs.dirs in the config folder: ~/Desktop is the Desktop.
    const std::string desktop = home.File("Desktop");
    ASSERT_EQ(mkdir(desktop.c_str(), 0755), 0);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ClickPrint());

    int working = 0;
    for (const std::string& s : swapped)
        working += s == "Working...";
    EXPECT_GE(working, 1) << "the notice never reached the screen";

    const std::string name = std::string("Vizavu ") + level_strs[options.cur_level] + " " +
                             std::to_string(options.levels[options.cur_level].cur_puzzle + 1) + ".jpg";
    EXPECT_TRUE(vztest::FileExists(desktop + "/" + name));
    EXPECT_FALSE(vztest::FileExists(home.File(name)));
    ASSERT_TRUE(main_mwin->PopupIsOn());
    EXPECT_EQ(std::string(MWinPopupGetSettings(main_mwin)->msg->GetTextP()),
              "A file for printing named\n\"" + name + "\"\nhas been placed on your Desktop.\n");
}

// A print killed between its write and its rename leaves its temporary on
// the Desktop: the next start removes it, and only the game's own.
TEST_F(PrintRun, StartRemovesTheTemporariesOfKilledPrintsAndNothingElse)
{
    const std::string desktop = home.File("Desktop");
    ASSERT_EQ(mkdir(desktop.c_str(), 0755), 0);
    const char* const interrupted[] = {"Vizavu Easy 1.jpg.tmpAb3dE9", "Vizavu Master 100.jpg.tmp000000",
                                       "Vizavu Hard 37.jpg.tmpZZZZZZ"};
    std::vector<std::string> kept = {
        "Vizavu Easy 1.jpg",
        // Not a temporary's tail.
        "Vizavu Easy 1.jpg.tmp12345", "Vizavu Easy 1.jpg.tmpAB-DEF", "Vizavu Easy 1.jpg.tmpABCDEF.old",
        // The temporaries of names no print of the game has.
        "Vizavu Easy 0.jpg.tmpABCDEF", "Vizavu Easy 101.jpg.tmpABCDEF", "Vizavu Easy 01.jpg.tmpABCDEF",
        "Vizavu easy 1.jpg.tmpABCDEF", "Vizavu Easy 1.jpeg.tmpABCDEF", "Vizavu Easy  1.jpg.tmpABCDEF",
        "My Vizavu Easy 1.jpg.tmpABCDEF", "Easy 1.jpg.tmpABCDEF"};
    for (const char* n : interrupted)
        vztest::WriteFile(desktop + "/" + n, "half a picture");
    for (const std::string& n : kept)
        vztest::WriteFile(desktop + "/" + n, "the player's own file");
    // A folder and a link of a temporary's name are never the game's.
    const std::string folder = "Vizavu Medium 2.jpg.tmpFOLDER", link = "Vizavu Hard 3.jpg.tmpSYMLNK";
    ASSERT_EQ(mkdir((desktop + "/" + folder).c_str(), 0755), 0);
    vztest::WriteFile(desktop + "/" + folder + "/inside", "kept");
    vztest::WriteFile(home.File("target"), "kept");
    ASSERT_EQ(symlink(home.File("target").c_str(), (desktop + "/" + link).c_str()), 0);
    kept.push_back(folder);
    kept.push_back(link);

    ASSERT_NO_FATAL_FAILURE(Start());

    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(vztest::Listing(desktop), kept);
    for (const std::string& n : kept)
    {
        if (n != link && n != folder)
        {
            EXPECT_EQ(vztest::ReadFile(desktop + "/" + n), "the player's own file") << n;
        }
    }
    EXPECT_EQ(vztest::ReadFile(desktop + "/" + folder + "/inside"), "kept");
    EXPECT_EQ(vztest::ReadFile(home.File("target")), "kept");
}

} // namespace
