// The toolkit's font table: records, numbering, loading and device loss.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "EngFont.h"
#include "MWin/MWin.h"
#include "MWin/MWinFonts.h"
#include "support/TestSupport.h"
#include "support/TestSupport.h"

using vztest::Logged;

class Fonts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        fonts = mw.GetFonts();
        file = dir.File("font.ttf");
        vztest::WriteFile(file, "not really a font");
        const char* res = getenv("VZ_RESOURCES_DIR");
        real_font = std::string(res ? res : ".") + "/MWinDefaultFont.ttf";
    }
    int Add(const std::string& id)
    {
        return fonts->AddUserFont(id.c_str(), file.c_str(), &m_default_font_params);
    }

    MWin mw{nullptr};
    MWinFonts* fonts = nullptr;
    vztest::TempDir dir;
    std::string file, real_font;
};

TEST_F(Fonts, EightUserFontsAndFreedNumbersAreReused)
{
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(Add("F" + std::to_string(i)), i);
    EXPECT_EQ(Add("F8"), -2);
    EXPECT_TRUE(Logged("No more user fonts can be created"));

    EXPECT_EQ(fonts->RemoveUserFont("F3"), 1);
    EXPECT_EQ(fonts->GetNumUserFonts(), 8);
    EXPECT_EQ(Add("New"), 3);
    EXPECT_EQ(fonts->GetFontNumFromID("New"), 3);
}

TEST_F(Fonts, RemovingTheHighestLowersTheCountPastEmptyRecords)
{
    for (int i = 0; i < 5; i++)
        Add("F" + std::to_string(i));
    fonts->RemoveUserFont("F2");
    fonts->RemoveUserFont("F3");
    EXPECT_EQ(fonts->GetNumUserFonts(), 5);
    fonts->RemoveUserFont("F4");
    EXPECT_EQ(fonts->GetNumUserFonts(), 2);
    EXPECT_EQ(fonts->RemoveUserFont("F4"), 0);
    EXPECT_TRUE(Logged("Font <F4> does not exist"));
}

TEST_F(Fonts, RefusedAdditions)
{
    Add("Main");
    const std::string fifo = dir.File("fifo.ttf");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string fifo_reason = "Not a regular file <" + fifo + ">";
    struct Case
    {
        const char* id;
        const char* file;
        const char* message;
    } cases[] = {
        {"Main", file.c_str(), "Font <Main> already created"},
        {"", file.c_str(), "No id specified"},
        {"X", "", "No filename passed in"},
        {"X", "missing.ttf", "File does not exist <missing.ttf>"},
        {"X", fifo.c_str(), fifo_reason.c_str()},
    };
    for (const Case& c : cases)
    {
        DebugClearLog();
        EXPECT_EQ(fonts->AddUserFont(c.id, c.file, &m_default_font_params), -2) << c.message;
        EXPECT_TRUE(Logged(c.message)) << c.message;
    }
    const std::string long_name(256, 'f');
    EXPECT_EQ(fonts->AddUserFont("X", long_name.c_str(), &m_default_font_params), -2);
    EXPECT_TRUE(Logged("Filename too long"));
    EXPECT_EQ(fonts->AddUserFont("X", file.c_str(), nullptr), -2);
    EXPECT_TRUE(Logged("Invalid Params"));
    EXPECT_EQ(fonts->AddUserFontPointer("P", nullptr), -2);
    EXPECT_TRUE(Logged("No font passed in"));
}

TEST_F(Fonts, SpecialIDsAndLookups)
{
    EXPECT_EQ(fonts->GetFontNumFromID(MWIN_FONT_NONE), -2);
    EXPECT_EQ(fonts->GetFontNumFromID(MWIN_FONT_DEFAULT), -1);
    EXPECT_EQ(fonts->GetFontNumFromID(""), -2);
    EXPECT_EQ(fonts->GetFontNumFromID("Nope"), -2);
    EXPECT_TRUE(Logged("Font <Nope> does not exist"));
    EXPECT_EQ(fonts->GetFont(-2), nullptr);
    EXPECT_EQ(fonts->GetFont(-1), nullptr); // no standard font
    EXPECT_EQ(fonts->ReloadFont("Nope"), 1);
}

TEST_F(Fonts, FileFontsFollowTheDeviceAndPointerFontsStay)
{
    EngFont own;
    ASSERT_EQ(fonts->AddUserFontPointer("Main", &own), 0);
    ASSERT_EQ(fonts->AddUserFont("File", real_font.c_str(), &m_default_font_params), 1);
    ASSERT_EQ(fonts->AddStandardFont(real_font.c_str(), &m_default_font_params), 1);
    EXPECT_EQ(fonts->GetFont(1), nullptr); // not loaded yet

    EXPECT_EQ(fonts->CreateGraphicsObjects(), 1);
    EXPECT_EQ(fonts->AreFontsLoaded(), 1);
    ASSERT_NE(fonts->GetFont(1), nullptr);
    EXPECT_TRUE(fonts->GetFont(1)->IsCreated());
    EXPECT_NE(fonts->GetStandardFont(), nullptr);
    EXPECT_EQ(fonts->AddStandardFont(real_font.c_str(), &m_default_font_params), 0);
    EXPECT_TRUE(Logged("Font is already loaded"));

    fonts->DestroyGraphicsObjects();
    EXPECT_EQ(fonts->GetFont(1), nullptr);
    EXPECT_EQ(fonts->GetFont(-1), nullptr);
    EXPECT_EQ(fonts->GetFont(0), &own);
    EXPECT_EQ(fonts->GetUserFont("Main", 1), &own);

    EXPECT_EQ(fonts->CreateGraphicsObjects(), 1);
    EXPECT_NE(fonts->GetFont(1), nullptr);
    EXPECT_EQ(fonts->ReloadFont("File"), 1);
    EXPECT_NE(fonts->GetFont(1), nullptr);
    EXPECT_EQ(fonts->ReloadFont("Main"), 1);
    EXPECT_EQ(fonts->GetFont(0), &own);
}

TEST_F(Fonts, AFontThatDoesNotLoadDrawsNothing)
{
    ASSERT_EQ(Add("Broken"), 0);
    EXPECT_EQ(fonts->CreateGraphicsObjects(), 0);
    EXPECT_TRUE(Logged("Could not create font <Broken>"));
    EXPECT_EQ(fonts->GetFont(0), nullptr);
}

TEST_F(Fonts, DefaultFontComesFromTheResources)
{
    const char* res = getenv("VZ_RESOURCES_DIR");
    ASSERT_NE(res, nullptr);
    std::string cwd = res;
    // The toolkit names its default font relative to the working directory.
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(cwd.c_str()), 0);
    EXPECT_EQ(mw.SetupDefaultFont(), 1);
    EXPECT_EQ(chdir(old), 0);
}

TEST_F(Fonts, DeviceLossFreesFontsEvenAfterAPartlyFailedLoad)
{
    ASSERT_EQ(fonts->AddUserFont("Good", real_font.c_str(), &m_default_font_params), 0);
    ASSERT_EQ(Add("Broken"), 1);
    EXPECT_EQ(fonts->CreateGraphicsObjects(), 0);
    EXPECT_EQ(fonts->AreFontsLoaded(), 0);
    ASSERT_NE(fonts->GetFont(0), nullptr);
    mw.DestroyGraphicsObjects();
    EXPECT_EQ(fonts->GetFont(0), nullptr);
}
