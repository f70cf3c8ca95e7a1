// The download wrapper against local servers: bounded memory targets, the
// newline stripping, file targets, failures, replies that must not be kept
// (unverified peers, redirects, 3xx pages, parts, no content) and stopping
// from another thread.
#include <gtest/gtest.h>

#include <curl/curl.h>

#include <chrono>
#include <string>
#include <thread>

#include "game/CurlInterface.h"
#include "EngDebug.h"
#include "EngInternet.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

vztest::HttpReply Serve(const std::string& target)
{
    vztest::HttpReply r;
    if (target == "/hundred")
        r.body = std::string(100, 'a');
    else if (target == "/two")
        r.body = "\n\nabc";
    else if (target == "/one")
        r.body = "\nabc";
    else if (target == "/nl")
        r.body = "\n";
    else if (target == "/missing")
        r.status = 404, r.body = "no such page";
    else if (target == "/stall")
        r.body = "late", r.stall_after_headers = 20;
    else if (target == "/q?x=1")
        r.body = "query seen";
    else
        r.body = "file body";
    return r;
}

class CurlInterfaceTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        ASSERT_EQ(1, CurlInterface_InitCurl());
    }
    void TearDown() override
    {
        eng_internet_ca_file = nullptr;
        CurlInterface_ExitCurl();
        LogTest::TearDown();
    }
    vztest::TempDir dir;
    vztest::HttpTestServer server{Serve};
};

class CurlInterfaceSetup : public vztest::LogTest
{
};

TEST_F(CurlInterfaceSetup, GlobalSetupAndHandles)
{
    CurlInterface_ExitCurl();
    EXPECT_EQ(nullptr, CurlInterface_CallCurlEasyInit());
    CurlInterface ci(nullptr, 0);
    EXPECT_EQ(0, ci.DownloadFromUrl("http://127.0.0.1:1/", nullptr, 10, 0, 1, nullptr));
    EXPECT_EQ(1, CurlInterface_InitCurl());
    EXPECT_EQ(1, CurlInterface_InitCurl());
    EXPECT_TRUE(Logged("Already setup."));
    EXPECT_EQ(1, CurlInterface_IsCurlInitialised());
    void* h = CurlInterface_CallCurlEasyInit();
    EXPECT_NE(nullptr, h);
    curl_easy_cleanup((CURL*)h);
    CurlInterface_ExitCurl();
    EXPECT_EQ(0, CurlInterface_IsCurlInitialised());
}

TEST_F(CurlInterfaceTest, MemoryTargetsAreBoundedAndStripped)
{
    struct Case
    {
        const char* path;
        const char* query;
        unsigned max_bytes;
        char strip;
        std::string expect;
    } cases[] = {
        {"/hundred", nullptr, 10, 0, std::string(9, 'a')},
        {"/hundred", nullptr, 101, 0, std::string(100, 'a')},
        {"/hundred", nullptr, 1, 0, ""},
        {"/two", nullptr, 64, 1, "abc"},
        {"/two", nullptr, 64, 0, "\n\nabc"},
        {"/one", nullptr, 64, 1, "abc"},
        {"/nl", nullptr, 64, 1, ""},
        {"/q", "x=1", 64, 0, "query seen"},
    };
    CurlInterface ci("Test", 0);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        char stopped = 5;
        ASSERT_EQ(1,
                  ci.DownloadFromUrl(server.Url(c.path).c_str(), c.query, c.max_bytes, c.strip, 5, &stopped));
        EXPECT_EQ(0, stopped);
        EXPECT_EQ(c.expect.size(), ci.GetDownloadedDataSize());
        const char* got = ci.GetDownloadedData();
        if (c.max_bytes == 1)
            EXPECT_EQ(nullptr, got); // nothing received
        else
        {
            ASSERT_NE(nullptr, got);
            EXPECT_EQ(c.expect, std::string(got));
        }
    }
    ci.Exit();
    EXPECT_EQ(nullptr, ci.GetDownloadedData());
}

TEST_F(CurlInterfaceTest, FailedTransfersKeepNothing)
{
    std::string refused;
    {
        vztest::HttpTestServer gone([](const std::string&) { return vztest::HttpReply(); }, 0, 0);
        refused = gone.Url("/");
    }
    const std::string path = dir.File("out.bin");
    struct Case
    {
        std::string url;
        const char* log;
    } cases[] = {
        {server.Url("/missing"), "Problem"}, {refused, "Could not connect."},
        {server.Url("/stall"), "Problem"}, // a stalled body ends at the time-out
        {"file:///etc/hostname", "Problem"}, {"", "Parameters error."},
    };
    CurlInterface ci("Test", 0);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.url);
        DebugClearLog();
        EXPECT_EQ(0, ci.DownloadFromUrl(c.url.c_str(), nullptr, 64, 0, 1, nullptr));
        EXPECT_EQ(nullptr, ci.GetDownloadedData());
        vztest::WriteFile(path, "old");
        EXPECT_EQ(0, ci.DownloadFromUrlToFile(c.url.c_str(), nullptr, path.c_str(), 1, nullptr));
        EXPECT_TRUE(Logged(c.log));
        if (c.url.empty())
            EXPECT_TRUE(vztest::FileExists(path)); // refused before anything was touched
        else
            EXPECT_FALSE(vztest::FileExists(path));
    }
}

TEST_F(CurlInterfaceTest, OnlyVerifiedSuccessfulRepliesAreKept)
{
    vztest::TestCertificate cert;
    ASSERT_TRUE(cert.Ok());
    vztest::HttpTestServer secure(
        [this](const std::string& target)
        {
            vztest::HttpReply r;
            if (target == "/ok")
                r.body = "secure body";
            else if (target == "/found")
                r.status = 302, r.body = "redirect page";
            else if (target == "/part")
                r.status = 206, r.body = "twelve bytes";
            else if (target == "/none")
                r.status = 204;
            else
            {
                r.status = 302, r.body = "redirect page";
                r.location = target == "/moved" ? "/ok" : target == "/loop" ? "/loop" : server.Url("/file");
            }
            return r;
        },
        100, 30, &cert);
    const std::string path = dir.File("out.bin");
    struct Case
    {
        const char* path;
        bool trusted;
        const char* body; // null: nothing is kept
    } cases[] = {
        {"/ok", true, "secure body"}, {"/ok", false, nullptr},     {"/moved", true, "secure body"},
        {"/found", true, nullptr},    {"/to-http", true, nullptr}, {"/loop", true, nullptr},
        {"/part", true, nullptr},     {"/none", true, nullptr},
    };
    CurlInterface ci("Test", 0);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.path << (c.trusted ? "" : " untrusted"));
        eng_internet_ca_file = c.trusted ? cert.CaFile().c_str() : nullptr;
        const std::string url = secure.Url(c.path);
        EXPECT_EQ(c.body != nullptr, ci.DownloadFromUrl(url.c_str(), nullptr, 64, 0, 5, nullptr));
        const char* got = ci.GetDownloadedData();
        EXPECT_STREQ(c.body, got);
        // A target with no room is full at once; that must not pass a refused reply.
        EXPECT_EQ(c.body != nullptr, ci.DownloadFromUrl(url.c_str(), nullptr, 1, 0, 5, nullptr));
        vztest::WriteFile(path, "old");
        EXPECT_EQ(c.body != nullptr,
                  ci.DownloadFromUrlToFile(url.c_str(), nullptr, path.c_str(), 5, nullptr));
        if (c.body)
            EXPECT_EQ(c.body, vztest::ReadFile(path));
        else
            EXPECT_FALSE(vztest::FileExists(path));
    }
    EXPECT_TRUE(server.Targets().empty()) << "followed a redirect to http";
}

TEST_F(CurlInterfaceTest, FileTargetReplacesOldFile)
{
    const std::string path = dir.File("page.txt");
    vztest::WriteFile(path, "an older and longer content");
    CurlInterface ci("Test", 0);
    ASSERT_EQ(1, ci.DownloadFromUrlToFile(server.Url("/file").c_str(), nullptr, path.c_str(), 5, nullptr));
    EXPECT_EQ("file body", vztest::ReadFile(path));
    EXPECT_EQ(0, ci.IsBusy());
}

TEST_F(CurlInterfaceTest, ExitFromAnotherThreadStopsATransfer)
{
    CurlInterface ci("Test", 0);
    char stopped = 0, result = 9;
    auto start = std::chrono::steady_clock::now();
    std::thread t(
        [&] { result = ci.DownloadFromUrl(server.Url("/stall").c_str(), nullptr, 64, 0, 15, &stopped); });
    for (int i = 0; i < 200 && !ci.IsBusy(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ci.Exit();
    t.join();
    EXPECT_EQ(0, result);
    EXPECT_EQ(1, stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(nullptr, ci.GetDownloadedData());
}

} // namespace
