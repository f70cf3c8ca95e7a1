// Update downloads of links and replies a hostile server may give: dot
// names, names in the query or fragment, 3xx pages, redirects to http or in
// a loop, plain http links and certificates nobody vouches for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "UpdaterFixture.h"

namespace
{

TEST_F(UpdaterTest, HostileLinksAndRepliesLeaveNoFile)
{
    Reply("/files/real.zip", "real zip");
    Reply("/files/a.zip", "zip a");
    Reply("/files/b.zip", "zip b");
    Reply("/files/.bash_login", "#!/bin/sh\necho owned\n");
    Reply("/files/", "nameless");
    vztest::HttpReply found;
    found.status = 302, found.body = "#!/bin/sh\necho owned\n";
    shaped["/files/found.zip"] = found;
    vztest::HttpReply moved;
    moved.status = 302, moved.location = "/files/real.zip", moved.body = "moved";
    shaped["/files/moved.zip"] = moved;
    moved.location = server.Url("/files/real.zip");
    shaped["/files/to-http.zip"] = moved;
    moved.location = "/files/loop.zip";
    shaped["/files/loop.zip"] = moved;
    const std::string bad = "The download was not completed.";
    struct Case
    {
        std::string link;
        std::string saved_as; // empty: nothing is saved
        std::string body;
        std::string alert; // for a refused link
        bool asks;         // a request reaches the TLS server
        bool trusted = true;
    } cases[] = {
        {secure.Url("/files/.bash_login"), "", "", bad, false},
        {secure.Url("/files/a.zip?x=/.profile"), "a.zip", "zip a", "", true},
        {secure.Url("/files/b.zip#/.profile"), "b.zip", "zip b", "", true},
        {secure.Url("/files/.."), "", "", bad, false},
        {secure.Url("/files/"), "", "", bad, false},
        {secure.Url("/files/?name=/x.zip"), "", "", bad, false},
        {secure.Url(""), "", "", bad, false}, // no path at all
        {secure.Url("/files/found.zip"), "", "", bad, true},
        {secure.Url("/files/moved.zip"), "moved.zip", "real zip", "", true},
        {secure.Url("/files/to-http.zip"), "", "", bad, true},
        {secure.Url("/files/loop.zip"), "", "", bad, true},
        {secure.Url("/files/missing.zip"), "", "", bad, true},
        {server.Url("/files/real.zip"), "", "", bad, false},
        {secure.Url("/files/real.zip"), "", "", bad, false, false}, // a certificate nobody vouches for
        {"file:///etc/hostname", "", "", bad, false},
        {"no-slash-here", "", "", "Internal Error 3.", false},
    };
    for (const Case& c : cases)
        for (bool from_reply : {true, false})
        {
            SCOPED_TRACE(c.link + (from_reply ? " from the reply" : " from the caller"));
            eng_internet_ca_file = c.trusted ? cert.CaFile().c_str() : nullptr;
            popups.Popups().clear();
            size_t asked = secure.Targets().size();
            if (from_reply)
            {
                Reply(Check(), "Your version is out of date.#DL:<" + c.link + ">");
                backend.Click("Download");
                EXPECT_EQ(c.alert == "Internal Error 3." ? 0 : 1,
                          Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
            }
            else
                UpdaterStartDownload(c.link.c_str());
            ASSERT_EQ(1u, popups.Popups().size());
            const vztest::Popup& p = popups.Popups()[0];
            if (c.saved_as.empty())
            {
                EXPECT_EQ(c.alert, p.text);
                EXPECT_EQ(1, p.kind);
                EXPECT_TRUE(vztest::Listing(desktop).empty());
            }
            else
            {
                EXPECT_EQ("Download Complete", p.title);
                EXPECT_EQ(std::vector<std::string>{c.saved_as}, vztest::Listing(desktop));
                EXPECT_EQ(c.body, vztest::ReadFile(desktop + "/" + c.saved_as));
                std::filesystem::remove(desktop + "/" + c.saved_as);
            }
            EXPECT_EQ(c.asks, secure.Targets().size() > asked);
            EXPECT_EQ(std::vector<std::string>{"Desktop"}, vztest::Listing(dir.File("home")));
            EXPECT_FALSE(vztest::FileExists(data_folder + "/Download.part"));
        }
    // The plain server was asked for the check only, never for a file.
    for (const std::string& t : server.Targets())
        EXPECT_EQ(0u, t.find(Check())) << t;
    // Redirects are followed a few times, not forever.
    size_t loops = 0;
    for (const std::string& t : secure.Targets())
        loops += t == "/files/loop.zip";
    EXPECT_LE(loops, 12u);
}

} // namespace
