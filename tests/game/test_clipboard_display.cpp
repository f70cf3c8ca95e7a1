// The clipboard on a real (virtual) display: round trips and buffer limits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "game/Various.h"
#include "support/TestSupport.h"

class Clipboard : public vztest::LogTest
{
};

TEST_F(Clipboard, CopyAndPasteWithinTheBuffer)
{
    struct Case
    {
        const char* text;
        int size;
        char expect;
    } cases[] = {
        {"12345678", 10, 1}, {"123456789", 10, 0}, // a buffer of n bytes takes at most n - 2 characters
        {"x", 3, 1},         {"x", 2, 0},          {"gr\xc3\xbc\xc3\x9f", 16, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(1, VariousCopyClipboardFromString(c.text));
        char buf[32];
        memset(buf, '#', sizeof(buf));
        EXPECT_EQ(c.expect, VariousPasteClipboardToString(buf, c.size));
        if (c.expect)
        {
            EXPECT_STREQ(c.text, buf);
        }
        EXPECT_EQ('#', buf[c.size]) << "wrote past the buffer";
    }
    // An empty text leaves the clipboard as it was.
    ASSERT_EQ(1, VariousCopyClipboardFromString("kept"));
    EXPECT_EQ(0, VariousCopyClipboardFromString(""));
    char buf[16];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf, sizeof(buf)));
    EXPECT_STREQ("kept", buf);
}
