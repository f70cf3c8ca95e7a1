// Memory and process helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <pthread.h>
#include <string>

#include "EngDebug.h"
#include "EngMain.h"
#include "support/TestSupport.h"

namespace
{

class MainHelpers : public vztest::LogTest
{
};

TEST_F(MainHelpers, AllocationMessagesNameTheOwner)
{
    EXPECT_EQ(EngMalloc(0, "Owner::Make", 0), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( Owner::Make )    EngMalloc: Zero size");
    EXPECT_EQ(EngMalloc(0, nullptr, 0), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngMalloc )    Zero size");

    DebugClearLog();
    EngFree(nullptr, 0, "Owner");
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EngFree(nullptr, 1, "Owner");
    EXPECT_EQ(LastLine(), " <ERROR>  ( Owner )    EngMalloc: Zero size");

    auto* p = static_cast<unsigned char*>(EngMalloc(16, nullptr, 1));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[15], 0);
    // A failed reallocation keeps the old block.
    EngMainFailAllocationForTests(0);
    EXPECT_EQ(EngMalloc(8, "Owner", 0), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( Owner )    EngMalloc: No memory");
    EXPECT_EQ(EngRealloc(nullptr, 8, "Owner"), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( Owner )    EngRealloc: No old memory pointer");
    p = static_cast<unsigned char*>(EngRealloc(p, 32, "Owner"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[15], 0);
    EngFree(p, 1, "Owner");
}

TEST_F(MainHelpers, Strings)
{
    char dst[8] = "zzzzzzz";
    EXPECT_STREQ(EngSafeStrcpy(dst, "abcdef", 4), "abc");
    EXPECT_EQ(dst[4], 'z');
    EngSafeStrcpy(dst, "q", 0);
    EXPECT_EQ(dst[0], 'a') << "size 0 writes nothing";
    EXPECT_STREQ(EngSafeStrcpy(dst, nullptr, sizeof(dst)), "");

    const char* text = "a needle here";
    EXPECT_EQ(ENG_STRISTR(text, "NEEDLE"), text + 2);
    DebugClearLog();
    EXPECT_EQ(ENG_STRISTR("", "x"), nullptr);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(ENG_STRISTR(text, ""), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( ENG_STRISTR )    Invalid parameters");
    EXPECT_EQ(ENG_STRISTR("ab", "abc"), nullptr);

    EXPECT_STREQ(EngGetFourCharIDAsString(EngFourCC('M', 'A', 'I', 'N')), "MAIN");
}

TEST_F(MainHelpers, ExitOnAnotherThreadEndsOnlyThatThread)
{
    EXPECT_EQ(EngMainIsThisTheMainThread(), 1);
    pthread_t t;
    static char main_thread_seen = 2;
    ASSERT_EQ(pthread_create(
                  &t, nullptr,
                  [](void*) -> void*
                  {
                      main_thread_seen = EngMainIsThisTheMainThread();
                      EngMainCallExit(3);
                      return nullptr;
                  },
                  nullptr),
              0);
    ASSERT_EQ(pthread_join(t, nullptr), 0);
    EXPECT_EQ(main_thread_seen, 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngMainCallExit )    Exiting thread...");
}

} // namespace
