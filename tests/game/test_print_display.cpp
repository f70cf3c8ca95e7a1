// Printing from the main menu on a real window: the "Working..." notice is
// put on screen while the picture is made, and the picture lands on the
// Desktop folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

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

} // namespace
