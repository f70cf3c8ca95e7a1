// Message boxes, program control, and the string and file-name helpers.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "Linux/EngMisc_LNX.h"
#include "support/TestSupport.h"

using vztest::PopupRecorder;
using vztest::ScopedEnv;

namespace
{

class Misc : public vztest::LogTest
{
};

TEST_F(Misc, PopupTextsAreCutStoredAndCleared)
{
    PopupRecorder rec;
    std::string title(150, 't'), text(500, 'x');
    EngMiscShowPopupMessage(3, title.c_str(), text.c_str());
    ASSERT_EQ(rec.Popups().size(), 1u);
    EXPECT_EQ(rec.Popups()[0].kind, 3);
    EXPECT_EQ(rec.Popups()[0].title, std::string(99, 't'));
    EXPECT_EQ(rec.Popups()[0].text, std::string(399, 'x'));
    EXPECT_FALSE(EngMiscArePopupMessageTextsSet());

    // Without texts the stored ones are shown.
    EngMiscSetPopupMessageTexts(1, "Later", "stored text");
    EXPECT_TRUE(EngMiscArePopupMessageTextsSet());
    EngMiscShowPopupMessage(0, nullptr, nullptr);
    ASSERT_EQ(rec.Popups().size(), 2u);
    EXPECT_EQ(rec.Popups()[1].kind, 1);
    EXPECT_EQ(rec.Popups()[1].title, "Later");
    EXPECT_EQ(rec.Popups()[1].text, "stored text");
    EXPECT_FALSE(EngMiscArePopupMessageTextsSet());
}

TEST_F(Misc, PlatformBoxWithoutADisplayWritesToStandardError)
{
    ScopedEnv no_x("DISPLAY", nullptr);
    ScopedEnv no_wayland("WAYLAND_DISPLAY", nullptr);
    ::testing::internal::CaptureStderr();
    EngMiscShowPopupMessage_LNX(1, "Warning", "disk full");
    char ok = EngMiscShowOkCancelPopup_LNX(2, "Question", "go on ?");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Warning: disk full\nQuestion: go on ?\n");
    EXPECT_EQ(ok, 0) << "no answer counts as Cancel";

    EngMiscShowPopupMessage_LNX(1, "Warning", nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngMiscShowPopupMessage_LNX )    Message not set");
}

TEST_F(Misc, ProgramControl)
{
    EngMiscCloseProgram(); // no program: nothing happens
    EngMiscRenderAndSwapBuffers(1, 1);
    EXPECT_TRUE(EngMiscExitProgramNow());
    EXPECT_FALSE(EngMiscMoveMainWindow(0, 0));

    struct Counting : EngProgram
    {
        void RenderCB() override { renders++; }
        void ExitCB() override { exits++; }
        int renders = 0, exits = 0;
    } program;
    EngMiscCloseProgram();
    EXPECT_EQ(program.IsExiting(), 1);
    // Without a device the frame is drawn but there is nothing to swap.
    EngMiscRenderAndSwapBuffers(1, 0);
    EXPECT_EQ(program.renders, 1);
    EXPECT_TRUE(EngMiscExitProgramNow()) << "no device: a box can be shown";
    EXPECT_EQ(program.exits, 1);
    EXPECT_EQ(eng_main_program, nullptr);
}

TEST_F(Misc, StringHelpers)
{
    const char* hay = "Find the NEEDLE here";
    EXPECT_EQ(EngMiscStrIStr(hay, "needle"), hay + 9);
    EXPECT_EQ(EngMiscStrIStr(hay, ""), nullptr);
    EXPECT_EQ(EngMiscStrIStr(hay, "pin"), nullptr);

    char crlf[] = "line\none\r\n\r\n";
    EXPECT_TRUE(EngMiscRemoveAnyCarriageReturnsFromEndOfString(crlf));
    EXPECT_STREQ(crlf, "line\none");
    char empty[] = "";
    EXPECT_FALSE(EngMiscRemoveAnyCarriageReturnsFromEndOfString(empty));

    EXPECT_STREQ(EngMiscGetStringFromInt32(-2147483647 - 1), "-2147483648");
    EXPECT_TRUE(EngMiscIsCharAlphaNumeric('z', 0, 0, 0, 0));
    EXPECT_FALSE(EngMiscIsCharAlphaNumeric('-', 1, 1, 1, 0));
    EXPECT_TRUE(EngMiscIsCharAlphaNumeric('-', 0, 0, 0, 1));
}

TEST_F(Misc, FileNameHelpers)
{
    int sep = -1, len = -1;
    const char* path = "dir/file.txt";
    EXPECT_EQ(EngMiscGetFilenameInPathWithFilenameString(path, &sep, &len, 1), path + 4);
    EXPECT_EQ(sep, 3);
    EXPECT_EQ(len, 12);
    EXPECT_EQ(EngMiscGetFilenameInPathWithFilenameString("dir\\f", nullptr, nullptr, 0), std::string("f"));
    EXPECT_EQ(EngMiscGetFilenameInPathWithFilenameString("dir/", nullptr, nullptr, 1), nullptr);
    EXPECT_EQ(LastLine(),
              " <ERROR>  ( EngMiscGetFilenameInPathWithFilenameString )    No path/filename found");
    EXPECT_EQ(EngMiscGetFilenameInPathWithFilenameString("a", nullptr, nullptr, 1), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngMiscGetFilenameInPathWithFilenameString )    Path too small");

    const struct
    {
        const char* name;
        const char* ext;
    } exts[] = {{".hidden", nullptr}, {"name.", nullptr}, {"a.tar.gz", "gz"}, {"none", nullptr}};
    for (const auto& c : exts)
    {
        const char* e = EngMiscGetExtensionFromFilename(c.name);
        EXPECT_EQ(e ? std::string(e) : "(null)", c.ext ? c.ext : "(null)") << c.name;
    }

    const struct
    {
        const char* name;
        bool picture;
    } pics[] = {{"PHOTO.JPG", true}, {"a.jpeg", true}, {"a.tga", true},
                {"a.bm", false},     {".jpg", false},  {"a.png", false}};
    for (const auto& c : pics)
        EXPECT_EQ(EngMiscIsFilenamePicture(c.name), c.picture) << c.name;
}

TEST_F(Misc, EmailAddresses)
{
    const struct
    {
        const char* address;
        int max_len;
        bool valid;
    } cases[] = {
        {"a@b.c", 0, true},         {"a@bc", 0, false},  {"@b.c", 0, false}, {"a@@b.c", 0, false},
        {"a b@c.d", 0, false},      {"a@b.c", 5, false}, {"a@b.c", 6, true}, {"a@b.", 0, true},
        {"\xc3\xa9@b.c", 0, false}, {nullptr, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EngMiscIsEmailAddressValid(c.address, c.max_len), c.valid)
            << (c.address ? c.address : "null");
}

} // namespace
