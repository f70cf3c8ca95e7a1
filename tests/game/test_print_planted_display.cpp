// Printing from the main menu onto a Desktop where a link or a file the
// player made read-only lies at the print's name or at the name a temporary
// once had: the file behind a link keeps its bytes, a read-only print is not
// replaced, and no temporary stays behind. Each row runs the game in a child
// process of its own, so this program itself never starts one.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "EngJpeg.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinPopup.h"
#include "game/MainScreen.h"
#include "game/Options.h"
#include "support/TestSupport.h"
#include "support/Unprivileged.h"

#include "GameWindowFixture.h"

namespace
{

// The read-only rows run as an unprivileged user, who must reach this
// program, its resources and its files.
const bool runs_shared = vztest::RunFromSharedCopy();

enum What
{
    LINK,
    READ_ONLY
};

struct Case
{
    const char* name;
    What what;
    bool at_print; // at the print's own name, else at ".<print>.part"
    const char* want;
};

class PrintPlanted : public gametest::GameWindowTest
{
protected:
    vztest::TempDir home;
    vztest::ScopedEnv home_env{"HOME", home.Path().c_str()};

    static std::string PrintName()
    {
        return std::string("Vizavu ") + level_strs[options.cur_level] + " " +
               std::to_string(options.levels[options.cur_level].cur_puzzle + 1) + ".jpg";
    }
    static std::string PopupText()
    {
        return main_mwin && main_mwin->PopupIsOn() ? MWinPopupGetSettings(main_mwin)->msg->GetTextP() : "";
    }
    void ClickPrint()
    {
        const _Dimension* a = mwinMainMainPrintButton->GetActualArea();
        ClickPixel(int((a->x + a->w / 2) * eng_main_window_x_ratio),
                   int((a->y + a->h / 2) * eng_main_window_y_ratio));
        Frames(2);
    }
    // Plants the case's file, prints through the Print button and tells what
    // the Desktop holds afterwards. Runs in the child.
    std::string PrintOver(const Case& c, const std::string& desktop)
    {
        if (mkdir(desktop.c_str(), 0755) != 0)
            return "no Desktop";
        Start();
        if (HasFatalFailure() || !mwinMainMainPrintButton)
            return "the game did not start";
        const std::string print = desktop + "/" + PrintName();
        const std::string planted = c.at_print ? print : desktop + "/." + PrintName() + ".part";
        const std::string victim = home.File("victim");
        vztest::WriteFile(victim, "the player's own file");
        if (c.what == LINK && symlink(victim.c_str(), planted.c_str()) != 0)
            return "no link";
        if (c.what == READ_ONLY)
        {
            vztest::WriteFile(planted, "an old print");
            chmod(planted.c_str(), 0444);
        }
        ClickPrint();

        const std::string told = PopupText();
        std::string out = told.rfind("A file for printing named", 0) == 0 ? "told it is on the Desktop"
                          : told == "An error occured creating the picture for printing"
                              ? "told of an error"
                              : "told \"" + told + "\"";
        struct stat st;
        unsigned w = 0, h = 0;
        unsigned char* px = nullptr;
        if (lstat(print.c_str(), &st) != 0)
            out += "; no print";
        else if (!S_ISREG(st.st_mode))
            out += "; the print is not a regular file";
        else if (vztest::ReadFile(print) == "an old print")
            out += "; the print is the old file";
        else if ((px = EngJpegReadFileToBuffer(print.c_str(), &w, &h)) && w == 1024 && h == 1024)
            out += "; the print is a picture";
        else
            out += "; the print is something else";
        free(px);
        out += vztest::ReadFile(victim) == "the player's own file" ? "; victim kept" : "; victim changed";
        std::vector<std::string> want = {PrintName()};
        if (!c.at_print)
            want.insert(want.begin(), "." + PrintName() + ".part");
        const std::vector<std::string> there = vztest::Listing(desktop);
        if (there == want)
            out += "; nothing else left";
        else
            for (const std::string& n : there)
                out += "; \"" + n + "\" there";
        MainExitAndDeleteMainProgram(1);
        return out;
    }
};

TEST_F(PrintPlanted, LinksAndReadOnlyFilesAreNeverWrittenThrough)
{
    const Case cases[] = {
        {"link at the print's name", LINK, true,
         "told it is on the Desktop; the print is a picture; victim kept; nothing else left"},
        {"link at the old temporary's name", LINK, false,
         "told it is on the Desktop; the print is a picture; victim kept; nothing else left"},
        {"read-only print", READ_ONLY, true,
         "told of an error; the print is the old file; victim kept; nothing else left"},
        {"read-only file at the old temporary's name", READ_ONLY, false,
         "told it is on the Desktop; the print is a picture; victim kept; nothing else left"},
    };
    // Root writes into read-only files: those rows run as an unprivileged user.
    for (const std::string& d : {home.Path(), dir.Path()})
        ASSERT_EQ(chmod(d.c_str(), 0777), 0);
    const std::string desktop = home.File("Desktop");
    vztest::NotRunRows not_run;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string got = vztest::RunInChild(
            [&]() -> std::string
            {
                if (std::string why = c.what == READ_ONLY ? vztest::DropRoot() : ""; !why.empty())
                    return why;
                return PrintOver(c, desktop);
            },
            300);
        // Each row starts afresh, whoever made these.
        for (const std::string& made : {desktop, home.File("victim"), dir.File("Kestrelbay")})
            std::filesystem::remove_all(made);
        if (!not_run.Noted(got, c.name))
        {
            EXPECT_EQ(got, c.want);
        }
    }
    if (!not_run.Empty())
        GTEST_SKIP() << not_run.Why();
}

} // namespace
