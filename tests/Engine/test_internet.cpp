// The HTTP reader against local servers: bodies, cut bodies, time-outs,
// failures and their texts, replies that must not be read (unverified peers,
// redirects, 3xx pages); URL encoding and decoding.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngInternet.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"

namespace
{

class InternetTest : public vztest::LogTest
{
};

TEST_F(InternetTest, ReadsBodiesAndCutsLongOnes)
{
    const std::string hundred(100, 'x');
    vztest::HttpTestServer server(
        [&](const std::string& target)
        {
            vztest::HttpReply r;
            r.body = target == "/long" ? hundred : "hello";
            return r;
        });
    struct Case
    {
        const char* path;
        unsigned length;
        const char* expect;
    } cases[] = {
        {"/short", 64, "hello"},    {"/short", 6, "hello"}, // exactly fits
        {"/short", 4, "hel"},                               // cut to length - 1
        {"/long", 10, "xxxxxxxxx"}, {"/short", 1, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.path << " " << c.length);
        char buf[128];
        memset(buf, '#', sizeof(buf));
        unsigned stored = 999;
        char err[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
        EXPECT_EQ(1, EngInternetConnectAndReadURL(server.Url(c.path).c_str(), buf, c.length, &stored, err,
                                                  nullptr, 5, 0));
        EXPECT_STREQ(c.expect, buf);
        EXPECT_EQ(strlen(c.expect), stored);
        EXPECT_EQ('#', buf[c.length]) << "wrote past the buffer";
    }
}

TEST_F(InternetTest, FailuresGiveResultAndText)
{
    vztest::HttpTestServer server(
        [](const std::string& target)
        {
            vztest::HttpReply r;
            if (target == "/silent")
                r.send_nothing = true;
            else if (target == "/missing")
                r.status = 404, r.body = "not here";
            else if (target == "/stall")
                r.body = "late", r.stall_after_headers = 10;
            return r;
        });
    // A port with nobody listening.
    std::string refused;
    {
        vztest::HttpTestServer gone([](const std::string&) { return vztest::HttpReply(); }, 0, 0);
        refused = gone.Url("/");
    }
    char label[] = "Check";
    struct Case
    {
        std::string url;
        char* label;
        int expect;
        const char* text;
    } cases[] = {
        {server.Url("/silent"), nullptr, 0, "Timeout occured"},
        {server.Url("/silent"), label, 0, "Check - Timeout occured"},
        {server.Url("/missing"), nullptr, -1, "Download Problem"},
        {server.Url("/stall"), nullptr, -1, "Download Problem"},
        {refused, nullptr, -1, "Download Problem"},
        {"file:///etc/hostname", nullptr, -1, "Download Problem"},
        {"", nullptr, 0, "Parameters Error"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.url);
        char buf[64];
        char err[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
        EXPECT_EQ(c.expect,
                  EngInternetConnectAndReadURL(c.url.c_str(), buf, sizeof(buf), nullptr, err, c.label, 1, 0));
        EXPECT_STREQ(c.text, err);
    }
    char buf[8], err[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
    EXPECT_EQ(0, EngInternetConnectAndReadURL(server.Url("/").c_str(), buf, 0, nullptr, err, nullptr, 1, 0));
    EXPECT_STREQ("Parameters Error", err);
    EXPECT_EQ(0, EngInternetConnectAndReadURL(nullptr, buf, sizeof(buf), nullptr, nullptr, nullptr, 1, 0));
}

TEST_F(InternetTest, OnlyAVerifiedSuccessfulReplyIsRead)
{
    vztest::HttpTestServer plain(
        [](const std::string&)
        {
            vztest::HttpReply r;
            r.body = "plain page";
            return r;
        });
    vztest::TestCertificate cert;
    ASSERT_TRUE(cert.Ok());
    vztest::HttpTestServer secure(
        [&](const std::string& target)
        {
            vztest::HttpReply r;
            if (target == "/page")
                r.body = "secure page";
            else
            {
                r.status = 302, r.body = "redirect page";
                if (target == "/moved")
                    r.location = "/page";
                else if (target == "/to-http")
                    r.location = plain.Url("/page");
            }
            return r;
        },
        20, 30, &cert);
    struct Case
    {
        const char* path;
        bool trusted;
        int expect;
        const char* body;
    } cases[] = {
        {"/page", true, 1, "secure page"}, {"/page", false, -1, ""}, {"/moved", true, -1, ""},
        {"/to-http", true, -1, ""},        {"/found", true, -1, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.path << (c.trusted ? "" : " untrusted"));
        eng_internet_ca_file = c.trusted ? cert.CaFile().c_str() : nullptr;
        char buf[64] = "";
        char err[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
        EXPECT_EQ(c.expect, EngInternetConnectAndReadURL(secure.Url(c.path).c_str(), buf, sizeof(buf),
                                                         nullptr, err, nullptr, 5, 0));
        EXPECT_STREQ(c.body, buf);
        EXPECT_STREQ(c.expect == 1 ? "" : "Download Problem", err);
    }
    eng_internet_ca_file = nullptr;
    EXPECT_TRUE(plain.Targets().empty());
}

TEST_F(InternetTest, ZeroSecondsWaitsTheDefaultTime)
{
    vztest::HttpTestServer server(
        [](const std::string&)
        {
            vztest::HttpReply r;
            r.body = "slow";
            r.delay_before = 1.5;
            return r;
        });
    char buf[16];
    EXPECT_EQ(0, EngInternetConnectAndReadURL(server.Url("/").c_str(), buf, sizeof(buf), nullptr, nullptr,
                                              nullptr, 1, 0));
    EXPECT_EQ(1, EngInternetConnectAndReadURL(server.Url("/").c_str(), buf, sizeof(buf), nullptr, nullptr,
                                              nullptr, 0, 0));
    EXPECT_STREQ("slow", buf);
}

TEST_F(InternetTest, LongLabelStaysInsideTheErrorBuffer)
{
    std::string long_label(300, 'L');
    char err[ENG_INTERNET_ERROR_TEXT_SIZE + 8];
    memset(err, '#', sizeof(err));
    char buf[4];
    EngInternetConnectAndReadURL("", buf, sizeof(buf), nullptr, err, &long_label[0], 1, 0);
    EXPECT_EQ(ENG_INTERNET_ERROR_TEXT_SIZE - 1, strlen(err));
    EXPECT_EQ('#', err[ENG_INTERNET_ERROR_TEXT_SIZE]);
}

TEST(InternetUrlCoding, EncodeAndDecode)
{
    struct Case
    {
        bool encode;
        const char* in;
        const char* out;
    } cases[] = {
        {true, "a b/c", "a+b%2fc"},
        {true, "A-z.0_9~", "A-z.0_9~"},
        {true, "\xc3\xa9&", "%c3%a9%26"},
        {false, "a+b%2Fc", "a b/c"},
        {false, "abc%", "abc"},
        {false, "ab%4", "ab4"}, // a '%' with one character behind it is dropped
        {false, "%41%62", "Ab"},
        {true, "", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.in);
        char* r = c.encode ? EngInternetURLEncodeString(c.in) : EngInternetURLDecodeString(c.in);
        ASSERT_NE(nullptr, r);
        EXPECT_STREQ(c.out, r);
        free(r);
    }
    EXPECT_EQ(nullptr, EngInternetURLEncodeString(nullptr));
    EXPECT_EQ('f', EngInternetToHex((char)0x3f));
    EXPECT_EQ(11, EngInternetFromHex('B'));
    EXPECT_EQ(7, EngInternetFromHex('7'));
}

} // namespace
