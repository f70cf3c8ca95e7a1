// The data folder under the XDG folders, the log file in it, and the user's
// standard folders from user-dirs.dirs.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMiscPlatform.h"
#include "PrefFolder.h"
#include "support/TestSupport.h"

using vztest::ReadFile;
using vztest::ScopedEnv;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

class Folders : public vztest::LogTest
{
protected:
    TempDir dir;
    std::string home = dir.File("home");
    ScopedEnv env_home{"HOME", home.c_str()};
    ScopedEnv env_data{"XDG_DATA_HOME", dir.File("data").c_str()};
    ScopedEnv env_config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
};

TEST_F(Folders, SetupMakesTheDataFolderAndMovesTheLogIntoIt)
{
    mkdir(home.c_str(), 0755);
    std::string expected = dir.File("data/Kestrelbay/Kestrelbay Vizavu");
    EXPECT_EQ(std::string(PrefFolderSetup("Kestrelbay Vizavu", 1, "LogFile.txt", 1)), expected);
    EXPECT_STREQ(DebugGetLogFilename(), (expected + "/LogFile.txt").c_str());
    DebugInfo("next line");
    EXPECT_EQ(ReadFile(expected + "/LogFile.txt"), " :  next line\n");

    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended("Options.dat")), expected + "/Options.dat");
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Saves", 1)), expected + "/Saves");
    struct stat st;
    EXPECT_EQ(stat((expected + "/Saves").c_str(), &st), 0);
    EXPECT_EQ(std::string(PrefFolderGetSubFolderWithFileAppended("Saves", "a.dat", 0)),
              expected + "/Saves/a.dat");
    EXPECT_EQ(std::string(PrefFolderGetKestrelbayCommonFolder()), dir.File("data/Kestrelbay/Common"));

    // With XDG_DATA_HOME unset the data folder is under ~/.local/share.
    ScopedEnv unset("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(std::string(PrefFolderGetMainFolder()), home + "/.local/share/Kestrelbay/Kestrelbay Vizavu");
}

TEST_F(Folders, BadNamesFallBackWithTheirMessages)
{
    const std::string long_name(128, 'n');
    const std::string folder = dir.File("data/Kestrelbay/Game");
    struct Case
    {
        const char* name;
        std::string (*run)(const std::string&);
        std::string result;
        const char* message;
    };
    const Case cases[] = {
        {"empty file",
         [](const std::string&) { return std::string(PrefFolderGetMainFolderWithFileAppended("")); }, folder,
         " <ERROR>  ( PrefFolderGetMainFolderWithFileAppended )    No file specified"},
        {"long file",
         [](const std::string& l) { return std::string(PrefFolderGetMainFolderWithFileAppended(l.c_str())); },
         folder, " <ERROR>  ( PrefFolderGetMainFolderWithFileAppended )    Filename too long"},
        {"long sub", [](const std::string& l) { return std::string(PrefFolderGetSubFolder(l.c_str(), 1)); },
         folder, " <ERROR>  ( PrefFolderGetSubFolder )    Invalid sub folder name"},
    };
    PrefFolderSetup("Game", 0, nullptr, 1);
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.run(long_name), c.result) << c.name;
        EXPECT_EQ(LastLine(), c.message) << c.name;
    }

    PrefFolderSetup(long_name.c_str(), 0, nullptr, 1);
    EXPECT_EQ(DebugGetMessage(DebugGetNumMessages() - 2)->text,
              std::string(" <ERROR>  ( PrefFolderSetup )    Invalid folder name"));
    EXPECT_EQ(LastLine(), " <ERROR>  ( PrefFolderGetMainFolder )    Folder name is empty");
    EXPECT_STREQ(PrefFolderGetMainFolder(), ".");

    // A data folder that cannot be made (a file is in the way) gives ".".
    WriteFile(dir.File("blocker"), "not a folder");
    ScopedEnv blocked("XDG_DATA_HOME", dir.File("blocker").c_str());
    PrefFolderSetup("Game", 0, nullptr, 1);
    EXPECT_STREQ(PrefFolderGetMainFolder(), ".");
    EXPECT_EQ(LastLine(), " <ERROR>  ( PrefFolderGetMainFolder )    Could not create/get directory");
}

TEST_F(Folders, WithoutTheDataFolderTheLogIsKeptOutOfTheWorkingFolder)
{
    // The working folder stands for the program's own folder.
    TempDir cwd;
    char old_cwd[4096];
    ASSERT_TRUE(getcwd(old_cwd, sizeof(old_cwd)));
    ASSERT_EQ(chdir(cwd.Path().c_str()), 0);
    WriteFile(dir.File("blocker"), "not a folder");
    {
        ScopedEnv blocked("XDG_DATA_HOME", dir.File("blocker/data").c_str());
        EXPECT_STREQ(PrefFolderSetup("Game", 1, "LogFile.txt", 1), ".");
        EXPECT_EQ(PrefFolderIsMainFolderMade(), 0);
        EXPECT_EQ(std::string(PrefFolderGetWantedMainFolder()), dir.File("blocker/data/Kestrelbay/Game"));
        DebugInfo("a line with nowhere to go");
        EXPECT_TRUE(vztest::Logged("a line with nowhere to go"));
    }
    EXPECT_EQ(chdir(old_cwd), 0);
    EXPECT_FALSE(vztest::FileExists(cwd.File("LogFile.txt")));
    EXPECT_FALSE(vztest::FileExists(cwd.File("ErrorLog.txt")));
    EXPECT_EQ(ReadFile(LogPath()).find("nowhere to go"), std::string::npos);

    // Once the folder can be made the log goes into it again.
    PrefFolderSetup("Game", 1, "LogFile.txt", 1);
    EXPECT_EQ(PrefFolderIsMainFolderMade(), 1);
    DebugInfo("found a home");
    EXPECT_EQ(ReadFile(dir.File("data/Kestrelbay/Game/LogFile.txt")), " :  found a home\n");
}

TEST_F(Folders, DesktopFromUserDirs)
{
    mkdir(home.c_str(), 0755);
    mkdir(dir.File("config").c_str(), 0755);
    mkdir((home + "/Schreibtisch").c_str(), 0755);
    mkdir((home + "/My \"Desk\"").c_str(), 0755);
    mkdir(dir.File("elsewhere").c_str(), 0755);
    const struct
    {
        const char* name;
        const char* file; // null: no user-dirs.dirs
        std::string desktop;
    } cases[] = {
        {"no file", nullptr, home},
        {"home relative", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", home + "/Schreibtisch"},
        {"home itself", "XDG_DESKTOP_DIR=\"$HOME/\"\n", home},
        {"absolute", nullptr, dir.File("elsewhere")},
        {"escaped quote", "XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\"\"\n", home + "/My \"Desk\""},
        {"missing folder", "XDG_DESKTOP_DIR=\"$HOME/Gone\"\n", home},
        {"other keys only", "XDG_DOWNLOAD_DIR=\"$HOME/Schreibtisch\"\n", home},
        {"unquoted", "XDG_DESKTOP_DIR=$HOME/Schreibtisch\n", home},
    };
    std::string user_dirs = dir.File("config/user-dirs.dirs");
    for (const auto& c : cases)
    {
        unlink(user_dirs.c_str());
        if (c.file)
            WriteFile(user_dirs, c.file);
        else if (std::string(c.name) == "absolute")
            WriteFile(user_dirs, "XDG_DESKTOP_DIR=\"" + dir.File("elsewhere") + "\"\n");
        EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), c.desktop) << c.name;
        char buf[512];
        EXPECT_TRUE(EngMiscGetDesktopDirectory(buf, sizeof(buf))) << c.name;
        EXPECT_EQ(std::string(buf), c.desktop) << c.name;
    }
    // A buffer too small for the path fails instead of cutting it.
    char tiny[8] = "xxxxxxx";
    EXPECT_FALSE(EngMiscGetDesktopDirectory(tiny, sizeof(tiny)));
    EXPECT_STREQ(tiny, "");
}

TEST_F(Folders, StandardFoldersFallBackToTheHomeFolderOfTheirName)
{
    mkdir(home.c_str(), 0755);
    mkdir(dir.File("config").c_str(), 0755);
    const std::string user_dirs = dir.File("config/user-dirs.dirs");
    const struct
    {
        const char* key;
        const char* name;
        bool (*get)(char*, int);
    } folders[] = {
        {"XDG_DESKTOP_DIR", "Desktop", EngMiscGetDesktopDirectory},
        {"XDG_DOCUMENTS_DIR", "Documents", EngMiscGetDocumentsDirectory},
        {"XDG_PICTURES_DIR", "Pictures", EngMiscGetUserPhotosFolder},
    };
    for (const auto& f : folders)
    {
        const std::string own = home + "/" + f.name, named = home + "/Named";
        const struct
        {
            const char* what;
            bool own_exists, file_names_it, named_exists;
            std::string want;
        } cases[] = {
            {"no file, no folder", false, false, false, home},
            {"no file", true, false, false, own},
            {"named folder missing", true, true, false, own},
            {"named folder", true, true, true, named},
        };
        for (const auto& c : cases)
        {
            SCOPED_TRACE(std::string(f.name) + ": " + c.what);
            rmdir(own.c_str());
            rmdir(named.c_str());
            unlink(user_dirs.c_str());
            if (c.own_exists)
                mkdir(own.c_str(), 0755);
            if (c.named_exists)
                mkdir(named.c_str(), 0755);
            if (c.file_names_it)
                WriteFile(user_dirs, std::string(f.key) + "=\"$HOME/Named\"\n");
            char buf[512];
            ASSERT_TRUE(f.get(buf, sizeof(buf)));
            EXPECT_EQ(std::string(buf), c.want);
        }
        rmdir(own.c_str());
        rmdir(named.c_str());
    }
    // The folder functions on top follow the same choice.
    unlink(user_dirs.c_str());
    mkdir((home + "/Desktop").c_str(), 0755);
    mkdir((home + "/Documents").c_str(), 0755);
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), home + "/Desktop");
    EXPECT_EQ(std::string(PrefFolderGetMyDocsFolder()), home + "/Documents");
}

TEST_F(Folders, DownloadsMustExist)
{
    mkdir(home.c_str(), 0755);
    EXPECT_STREQ(PrefFolderGetDownloadsFolder(), ".");
    mkdir((home + "/Downloads").c_str(), 0755);
    EXPECT_EQ(std::string(PrefFolderGetDownloadsFolder()), home + "/Downloads");
    EXPECT_EQ(std::string(PrefFolderGetDownloadsSubFolder("Updates", 1)), home + "/Downloads/Updates");
}

TEST_F(Folders, ApplicationDataSwitchAndCurrentDirectory)
{
    char buf[512];
    EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory(0);
    ASSERT_TRUE(EngMiscGetUserApplicationDataDirectory(buf, sizeof(buf)));
    EXPECT_EQ(std::string(buf), dir.File("config"));
    EngMiscUseApplicationsSupportDirectoryForApplicationDataDirectory(1);
    EXPECT_TRUE(EngMiscIsApplicationsSupportDirectoryBeingUsed());
    ASSERT_TRUE(EngMiscGetUserApplicationDataDirectory(buf, sizeof(buf)));
    EXPECT_EQ(std::string(buf), dir.File("data"));

    // Room is kept for "/" and the name: a short buffer fails, nothing is cut.
    std::string want = dir.File("data") + "/Kestrelbay";
    EXPECT_FALSE(EngMiscGetUserApplicationDataSubDirectory("Kestrelbay", buf, int(want.size())));
    EXPECT_TRUE(EngMiscGetUserApplicationDataSubDirectory("Kestrelbay", buf, int(want.size() + 1)));
    EXPECT_EQ(std::string(buf), want);

    char one[1] = {'x'};
    EXPECT_FALSE(EngMiscGetCurrentDirectory(one, 1));
    EXPECT_EQ(one[0], 0);
    char cwd[2] = {'x', 'x'};
    EXPECT_FALSE(EngMiscGetCurrentDirectory(cwd, 2)) << "the working directory is longer than one character";
    EXPECT_EQ(cwd[0], 0);
    char full[4096];
    EXPECT_TRUE(EngMiscGetCurrentDirectory(full, sizeof(full)));
    EXPECT_EQ(full[0], '/');
}

TEST(CursorSpeed, StepsAlongTheStandardTable)
{
    const struct
    {
        double from;
        int steps;
        double to;
    } cases[] = {{1.0, 1, 1.5}, {2.5, 5, 3.0}, {1.0, -20, 0.0}, {0.3, 1, 0.5}};
    for (const auto& c : cases)
    {
        EngMiscCursorSpeed s = {c.from, c.from};
        EXPECT_TRUE(EngMisChangeCursorSpeed(&s, c.steps));
        EXPECT_EQ(s.mouse, c.to) << c.from << " " << c.steps;
        EXPECT_EQ(s.trackpad, c.to) << c.from << " " << c.steps;
    }
}

TEST(CursorSpeed, WithoutAnXDisplayFailsQuietly)
{
    ScopedEnv no_display("DISPLAY", nullptr);
    EngMiscCursorSpeed s = {1, 1};
    using Call = bool (*)(EngMiscCursorSpeed*);
    const Call calls[] = {EngMiscGetCursorSpeed,
                          [](EngMiscCursorSpeed* c) { return EngMiscSetCursorSpeed(*c); }};
    for (Call call : calls)
    {
        const int before = DebugGetNumMessages();
        EXPECT_FALSE(call(&s));
        ASSERT_EQ(DebugGetNumMessages(), before + 1);
        const _DebugMsg* m = DebugGetMessage(before);
        EXPECT_EQ(m->code, DEBUG_MSG_INFO) << m->text;
        EXPECT_NE(std::string(m->text).find("XOpenDisplay() failed."), std::string::npos) << m->text;
    }
    EXPECT_EQ(s.mouse, 1.0);
}

} // namespace
