// The version check and update download against local servers, with the
// dialogs on a scripted backend: reply grammar, the check's texts, download
// to the Desktop or else the downloads folder, oversized downloads and
// cancelling.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <sys/statvfs.h>
#include <vector>

#include "UpdaterFixture.h"

namespace
{

TEST_F(UpdaterTest, ReplyGrammar)
{
    const std::string tail300 = "#DL:<" + std::string(295, 'L');
    struct Case
    {
        std::string body;
        char result;
        std::string html, link, error;
    } cases[] = {
        {"You are out of date.#DL:<http://h/f/V.zip>", 1, "You are out of date.", "http://h/f/V.zip", ""},
        {"Text#DL:<abcde", 1, "Text", "", ""},
        {"Text#DL:<abcdefghij", 1, "Text", "", ""}, // ten behind the marker is enough for a link
        {"Pre" + tail300, 1, "Pre" + tail300.substr(0, 256), "", ""},
        {"Plain answer", 1, "Plain answer", "", ""},
        {" Xfailure", 0, "", "", "Error returned from the URL"},
    };
    cases[2].link = "abcdefghij";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.body);
        strcpy(up_link, "http://stale/old.zip");
        up_str[0] = 0;
        Reply("/r", c.body);
        ASSERT_EQ(c.result, UpdaterReadURL(server.Url("/r").c_str(), 0));
        if (c.result)
        {
            EXPECT_EQ(c.html, std::string(up_html));
            EXPECT_EQ(c.link, std::string(up_link)) << "a reply without a link keeps no older one";
        }
        else
            EXPECT_EQ(c.error, std::string(up_str));
    }
    Reply("/r", "", 500);
    EXPECT_EQ(0, UpdaterReadURL(server.Url("/r").c_str(), 0));
    EXPECT_STREQ("Could not read result from the URL", up_str);
}

TEST_F(UpdaterTest, CheckShowsItsResult)
{
    struct Case
    {
        int status;
        std::string body;
        std::string last_text;
    } cases[] = {
        {200, "Your version is current.", "No new version exists at this time."},
        {200, " XBad request", "Check Failed."},
        {404, "", "Check Failed."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.body);
        backend.shown.clear();
        Reply(Check(), c.body, c.status);
        EXPECT_EQ(0, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        ASSERT_EQ(2u, backend.shown.size());
        EXPECT_EQ("Checking for updates ...", backend.shown[0]);
        EXPECT_EQ(c.last_text, backend.shown[1]);
        EXPECT_TRUE(backend.edit_texts.empty());
    }
    auto targets = server.Targets();
    ASSERT_FALSE(targets.empty());
    EXPECT_EQ(Check() + "?platform=linux&program=Vizavu&program_type=Full&version=1.210", targets[0]);
    EXPECT_TRUE(popups.Popups().empty());
}

TEST_F(UpdaterTest, DownloadFromTheReplyGoesToTheDesktop)
{
    Reply(Check(), "Your version is out of date.#DL:<" + secure.Url("/files/Vizavu-1.3.zip") + ">");
    Reply("/files/Vizavu-1.3.zip", "new version");
    // The first download keeps its name; later ones take a free "Latest_"
    // name, and the message names the file written.
    const char* written[] = {"Vizavu-1.3.zip", "Latest_Vizavu-1.3.zip", "Latest_2_Vizavu-1.3.zip"};
    for (int round = 0; round < 3; round++)
    {
        SCOPED_TRACE(round);
        backend.Click("Download");
        EXPECT_EQ(1, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        ASSERT_EQ(size_t(round + 1), popups.Popups().size());
        const vztest::Popup& p = popups.Popups().back();
        EXPECT_EQ("Download Complete", p.title);
        EXPECT_EQ(
            "The file \"" + std::string(written[round]) +
                "\" has been placed on your Desktop.\n\nPlease remove any older versions of the program, "
                "then install the program as you did the previous version.",
            p.text);
        EXPECT_EQ("Your version is out of date.", backend.edit_texts.back());
    }
    EXPECT_EQ("new version", vztest::ReadFile(desktop + "/Vizavu-1.3.zip"));
    EXPECT_EQ("new version", vztest::ReadFile(desktop + "/Latest_Vizavu-1.3.zip"));
    EXPECT_EQ("new version", vztest::ReadFile(desktop + "/Latest_2_Vizavu-1.3.zip"));
    EXPECT_FALSE(vztest::FileExists(data_folder + "/Download.part"));

    // Leaving the reply window with "Close" downloads nothing.
    size_t before = popups.Popups().size();
    backend.Click("Close");
    EXPECT_EQ(0, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    EXPECT_EQ(before, popups.Popups().size());
}

// The reply is UTF-8 text; the dialog kit takes Latin-1, with "?" for what
// Latin-1 cannot hold.
TEST_F(UpdaterTest, TheReplyIsShownInTheKitsLatin1)
{
    Reply(Check(), "Caf\xC3\xA9 \xE2\x82\xAC" "2: your version is out of date.");
    backend.Click("Close");
    EXPECT_EQ(0, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    ASSERT_FALSE(backend.edit_texts.empty());
    EXPECT_EQ("Caf\xE9 ?2: your version is out of date.", backend.edit_texts.back());
}

// Only a 200 reply with a body is the file; anything else ends like a failed
// download and leaves nothing behind.
TEST_F(UpdaterTest, OnlyAWholeReplyIsTheFile)
{
    const std::string link = secure.Url("/files/Vizavu-1.3.zip");
    Reply(Check(), "Your version is out of date.#DL:<" + link + ">");
    auto reply = [](int status, const std::string& body)
    {
        vztest::HttpReply r;
        r.status = status;
        r.body = body;
        return r;
    };
    const struct
    {
        const char* name;
        vztest::HttpReply reply;
        const char* reason; // null: the download is the file
    } cases[] = {
        {"no content", reply(204, ""), "Not a successful reply (status 204)"},
        {"partial content", reply(206, "twelve bytes"), "Not a successful reply (status 206)"},
        {"empty", reply(200, ""), "The download is empty"},
        {"whole", reply(200, "new version"), nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        shaped["/files/Vizavu-1.3.zip"] = c.reply;
        std::filesystem::remove_all(desktop);
        std::filesystem::create_directories(desktop);
        popups.Popups().clear();
        DebugClearLog();
        backend.Click("Download");
        EXPECT_EQ(1, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        ASSERT_EQ(1u, popups.Popups().size());
        if (c.reason)
        {
            EXPECT_EQ("The download was not completed.", popups.Popups()[0].text);
            EXPECT_TRUE(vztest::Logged(c.reason));
            EXPECT_TRUE(vztest::Listing(desktop).empty());
        }
        else
        {
            EXPECT_EQ("Download Complete", popups.Popups()[0].title);
            EXPECT_EQ("new version", vztest::ReadFile(desktop + "/Vizavu-1.3.zip"));
        }
        EXPECT_FALSE(vztest::FileExists(data_folder + "/Download.part"));
    }
}

// Whatever the Desktop holds under the download's names stays as it is: the
// download takes the first free name.
TEST_F(UpdaterTest, NothingOnTheDesktopIsReplaced)
{
    const std::string link = secure.Url("/files/Vizavu-1.3.zip");
    Reply("/files/Vizavu-1.3.zip", "new version");
    ASSERT_EQ(1, UpdaterSetupUrl(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    const struct
    {
        const char* name;
        std::vector<std::string> files, folders; // there before the download
        const char* lands_as;
    } cases[] = {
        {"nothing there", {}, {}, "Vizavu-1.3.zip"},
        {"the name taken", {"Vizavu-1.3.zip"}, {}, "Latest_Vizavu-1.3.zip"},
        {"both names taken", {"Vizavu-1.3.zip", "Latest_Vizavu-1.3.zip"}, {}, "Latest_2_Vizavu-1.3.zip"},
        {"a folder of the latest name", {"Vizavu-1.3.zip"}, {"Latest_Vizavu-1.3.zip"},
         "Latest_2_Vizavu-1.3.zip"},
        {"three names taken", {"Vizavu-1.3.zip", "Latest_Vizavu-1.3.zip", "Latest_2_Vizavu-1.3.zip"}, {},
         "Latest_3_Vizavu-1.3.zip"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(desktop);
        std::filesystem::create_directories(desktop);
        for (const std::string& f : c.files)
            vztest::WriteFile(desktop + "/" + f, "the player's " + f);
        for (const std::string& f : c.folders)
            std::filesystem::create_directories(desktop + "/" + f + "/inside");
        popups.Popups().clear();
        opened.clear();
        EXPECT_EQ(1, UpdaterStartDownload(link.c_str()));
        ASSERT_EQ(1u, popups.Popups().size());
        EXPECT_EQ("Download Complete", popups.Popups()[0].title);
        EXPECT_EQ("new version", vztest::ReadFile(desktop + "/" + c.lands_as));
        for (const std::string& f : c.files)
            EXPECT_EQ("the player's " + f, vztest::ReadFile(desktop + "/" + f)) << f;
        for (const std::string& f : c.folders)
            EXPECT_TRUE(std::filesystem::is_directory(desktop + "/" + f + "/inside")) << f;
        ASSERT_EQ(1u, opened.size());
        EXPECT_EQ(desktop + "/" + c.lands_as, opened[0]);
    }
}

// With the name and its "Latest_" name taken on the Desktop, the message of
// a download names the file the player will find there, from the reply and
// from a caller; a long name is cut after the prefix.
TEST_F(UpdaterTest, TheMessageNamesTheFileWritten)
{
    const std::string long_name = std::string(70, 'n') + ".txt";
    const struct
    {
        const char* name;
        std::string file;
        bool from_reply;
        std::string message;
    } cases[] = {
        {"from the reply", "Vizavu-1.3.zip", true,
         "The file \"Latest_2_Vizavu-1.3.zip\" has been placed on your Desktop.\n\nPlease remove any older "
         "versions of the program, then install the program as you did the previous version."},
        {"the caller's file", "ReadMe-1.3.txt", false,
         "The file \"Latest_2_ReadMe-1.3.txt\" is now on your Desktop."},
        {"a long name", long_name, false,
         "The file \"Latest_2_" + std::string(63 - 9, 'n') + "\" is now on your Desktop."},
    };
    ASSERT_EQ(1, UpdaterSetupUrl(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string link = secure.Url("/files/" + c.file);
        Reply("/files/" + c.file, "new version");
        vztest::WriteFile(desktop + "/" + c.file, "the player's first");
        vztest::WriteFile(desktop + "/Latest_" + c.file, "the player's second");
        popups.Popups().clear();
        if (c.from_reply)
        {
            Reply(Check(), "Your version is out of date.#DL:<" + link + ">");
            backend.Click("Download");
            EXPECT_EQ(1, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        }
        else
            EXPECT_EQ(1, UpdaterStartDownload(link.c_str()));
        ASSERT_EQ(1u, popups.Popups().size());
        EXPECT_EQ("Download Complete", popups.Popups()[0].title);
        EXPECT_EQ(c.message, popups.Popups()[0].text);
        EXPECT_EQ("new version", vztest::ReadFile(desktop + "/Latest_2_" + c.file));
        EXPECT_EQ("the player's first", vztest::ReadFile(desktop + "/" + c.file));
        EXPECT_EQ("the player's second", vztest::ReadFile(desktop + "/Latest_" + c.file));
    }
}

TEST_F(UpdaterTest, WithoutADesktopTheDownloadGoesToTheDownloadsFolder)
{
    const std::string link = secure.Url("/files/Vizavu-1.3.zip");
    Reply("/files/Vizavu-1.3.zip", "new version");
    ASSERT_EQ(1, UpdaterSetupUrl(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    struct Case
    {
        const char* name;
        std::string user_dirs;    // empty: no user-dirs.dirs
        const char* desktop_link; // ~/Desktop as a link to this, when given
        std::string folder;       // under the home folder
    } cases[] = {
        {"no Desktop, no user folders", "", nullptr, "Downloads"},
        {"Desktop disabled, downloads elsewhere",
         "XDG_DESKTOP_DIR=\"$HOME\"\nXDG_DOWNLOAD_DIR=\"$HOME/Incoming\"\n", nullptr, "Incoming"},
        {"downloads disabled", "XDG_DOWNLOAD_DIR=\"$HOME/\"\n", nullptr, "Downloads"},
        {"Desktop is the home folder", "", ".", "Downloads"},
        {"a long downloads folder", "XDG_DOWNLOAD_DIR=\"$HOME/" + std::string(250, 'd') + "\"\n", nullptr,
         std::string(250, 'd')},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        vztest::TempDir other;
        const std::string home_dir = other.File("home"), config_dir = other.File("config");
        std::filesystem::create_directories(home_dir);
        std::filesystem::create_directories(config_dir);
        if (!c.user_dirs.empty())
            vztest::WriteFile(config_dir + "/user-dirs.dirs", c.user_dirs);
        if (c.desktop_link)
            std::filesystem::create_directory_symlink(c.desktop_link, home_dir + "/Desktop");
        vztest::ScopedEnv home_env("HOME", home_dir.c_str());
        vztest::ScopedEnv config_env("XDG_CONFIG_HOME", config_dir.c_str());
        const std::string folder = home_dir + "/" + c.folder;
        const std::string where = "in the folder \"" + folder + "\"";
        popups.Popups().clear();
        opened.clear();

        // A dot name from the server is refused here too.
        Reply(Check(), "Your version is out of date.#DL:<" + secure.Url("/files/.bash_login") + ">");
        backend.Click("Download");
        EXPECT_EQ(1, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        Reply(Check(), "Your version is out of date.#DL:<" + link + ">");
        backend.Click("Download");
        EXPECT_EQ(1, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        EXPECT_EQ(1, UpdaterStartDownload(link.c_str()));

        ASSERT_EQ(3u, popups.Popups().size());
        EXPECT_EQ("The download was not completed.", popups.Popups()[0].text);
        EXPECT_EQ("The file \"Vizavu-1.3.zip\" has been placed " + where +
                      ".\n\nPlease remove any older versions of the program, then install the program as you "
                      "did the previous version.",
                  popups.Popups()[1].text);
        EXPECT_EQ("The program \"Kestrelbay' Vizavu\" is now " + where + ".", popups.Popups()[2].text);
        EXPECT_EQ("new version", vztest::ReadFile(folder + "/Vizavu-1.3.zip"));
        EXPECT_EQ("new version", vztest::ReadFile(folder + "/Latest_Vizavu-1.3.zip"));
        ASSERT_EQ(1u, opened.size());
        EXPECT_EQ(folder + "/Latest_Vizavu-1.3.zip", opened[0]);
        for (const std::string& n : vztest::Listing(home_dir))
            EXPECT_TRUE(std::filesystem::is_directory(home_dir + "/" + n))
                << n << " written into the home folder";
    }
}

TEST_F(UpdaterTest, OversizedDownloadsEndLikeAnyFailedOne)
{
    struct statvfs fs;
    ASSERT_EQ(0, statvfs(data_folder.c_str(), &fs));
    const long long room = (long long)fs.f_bavail * (long long)fs.f_frsize;
    auto reply = [](size_t bytes, long long stated, bool no_length)
    {
        vztest::HttpReply r;
        r.body = std::string(bytes, 'z');
        r.stated_length = stated;
        r.no_length = no_length;
        return r;
    };
    const struct
    {
        const char* name;
        long long limit;
        vztest::HttpReply reply;
        bool blocked_data_folder;
        std::string reason; // empty: the download succeeds
    } cases[] = {
        {"within the limit", 5000, reply(5000, -1, false), false, ""},
        {"stated above the limit", 1000, reply(5000, -1, false), false,
         "The download is larger than 1000 bytes (5000 stated)"},
        {"no stated length, past the limit", 1000, reply(5000, -1, true), false,
         "The download is larger than 1000 bytes"},
        {"stated above the free space", LLONG_MAX, reply(10, room + (1LL << 30), false), false,
         "Not enough free space for the download"},
        {"no data folder", 5000, reply(10, -1, false), true,
         "Could not create file for downloading <./Download.part>"},
    };
    const long long limit = up_download_limit;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteFileBlocker();
        const std::string data_home_path = dir.File(c.blocked_data_folder ? "blocker/data" : "data");
        vztest::ScopedEnv data_home("XDG_DATA_HOME", data_home_path.c_str());
        up_download_limit = c.limit;
        shaped["/files/big.bin"] = c.reply;
        DebugClearLog();
        EXPECT_EQ(1, UpdaterStartDownload(secure.Url("/files/big.bin").c_str()));
        ASSERT_FALSE(popups.Popups().empty());
        if (c.reason.empty())
        {
            EXPECT_EQ("The file \"big.bin\" is now on your Desktop.", popups.Popups().back().text);
            EXPECT_EQ(5000u, vztest::ReadFile(desktop + "/big.bin").size());
            std::filesystem::remove(desktop + "/big.bin");
        }
        else
        {
            EXPECT_EQ("The download was not completed.", popups.Popups().back().text);
            EXPECT_TRUE(vztest::Logged(c.reason));
            EXPECT_FALSE(vztest::FileExists(desktop + "/big.bin"));
        }
        EXPECT_FALSE(vztest::FileExists(data_folder + "/Download.part"));
        EXPECT_FALSE(vztest::FileExists("Download.part"));
    }
    up_download_limit = limit;
}

TEST_F(UpdaterTest, CallersArchiveIsOpenedAndKept)
{
    ASSERT_EQ(1, UpdaterSetupUrl(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    Reply("/files/Vizavu-1.3.zip", "zip bytes");
    EXPECT_EQ(1, UpdaterStartDownload(secure.Url("/files/Vizavu-1.3.zip").c_str()));
    ASSERT_EQ(1u, popups.Popups().size());
    EXPECT_EQ("The program \"Kestrelbay' Vizavu\" is now on your Desktop.", popups.Popups()[0].text);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(desktop + "/Vizavu-1.3.zip", opened[0]);
    EXPECT_EQ("zip bytes", vztest::ReadFile(desktop + "/Vizavu-1.3.zip"));
}

TEST_F(UpdaterTest, CancelLeavesNoFiles)
{
    Reply("/slow/big.zip", "never arrives in time");
    backend.Click("Cancel");
    EXPECT_EQ(1, UpdaterStartDownload(secure.Url("/slow/big.zip").c_str()));
    ASSERT_EQ(1u, popups.Popups().size());
    EXPECT_EQ("The download was not completed.", popups.Popups()[0].text);
    EXPECT_FALSE(vztest::FileExists(data_folder + "/Download.part"));
    EXPECT_FALSE(vztest::FileExists(desktop + "/big.zip"));
}

TEST_F(UpdaterTest, InternetTestAndWeeklyCheck)
{
    char buf[64];
    Reply(Check(), "");
    EXPECT_EQ(1, UpdaterDoInternetCheck(buf, sizeof(buf)));
    EXPECT_STREQ("Internet Test Ok", buf);
    Reply(Check(), "", 503);
    char small[8];
    EXPECT_EQ(0, UpdaterDoInternetCheck(small, sizeof(small)));
    EXPECT_STREQ("Could n", small);

    Reply(Check(), "Your version is current.");
    EXPECT_EQ(0, UpdaterDoWeeklyVersionCheck(nullptr, UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
    EngMiscDate today;
    EngMiscGetTodaysDate(&today);
    struct
    {
        int days_ago; // of the last check
        bool checked;
    } const cases[] = {{0, false}, {6, false}, {7, true}, {8, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "last checked " << c.days_ago << " days ago");
        EngMiscDate last = today;
        for (int i = 0; i < c.days_ago; i++)
            EngMiscGetPreviousDay(&last);
        const EngMiscDate stored = last;
        const size_t requests = server.Targets().size();
        EXPECT_EQ(0, UpdaterDoWeeklyVersionCheck(&last, UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        EXPECT_TRUE(EngMiscDateAreDatesTheSame(c.checked ? today : stored, last));
        EXPECT_EQ(server.Targets().size(), requests + (c.checked ? 1 : 0));
    }
}

class UpdaterNames : public vztest::LogTest
{
};

TEST_F(UpdaterNames, ProgramTable)
{
    EXPECT_EQ(0, UpdaterSetupUrl((_UpdaterProgramName)15, 1.0f, UPDATER_TYPE_FULL));
    EXPECT_EQ(0, UpdaterSetupUrl((_UpdaterProgramName)17, 1.0f, UPDATER_TYPE_FULL));
    ASSERT_EQ(1, UpdaterSetupUrl(UPDATER_PROGRAM_VIZAVU, 2.5f, UPDATER_TYPE_FULL));
    EXPECT_STREQ("Kestrelbay' Vizavu", UpdaterGetProgramName(0));
    EXPECT_NE(nullptr, strstr(up_url, "version=2.500"));
}

} // namespace
