// The frame button's close box: hover, press and release, Escape.
#include <gtest/gtest.h>

#include "MWin/MWinFrame.h"
#include "WidgetTestFixture.h"

namespace
{
int closes = 0;
int plain_closes = 0;
void Close4(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    closes++;
    EXPECT_STREQ(info->button_id, "frame");
}
void ClosePlain()
{
    plain_closes++;
}

class Frame : public vztest::WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        closes = plain_closes = 0;
        frame = MWinWindowAddBackButton(win, "frame", MWIN_TEXBUT_DEFAULT, "Heading", 100, 100, 200, 150);
        ASSERT_NE(frame, nullptr);
        frame->Activate();
        box_x = 100 + 200 - (*ls)[64] / 2; // centre of the close box
        box_y = 100 + (*ls)[63] / 2;
    }
    MWinFrameButton* frame = nullptr;
    float box_x = 0, box_y = 0;
};
} // namespace

TEST_F(Frame, CloseBoxClosesOnReleaseOnly)
{
    EXPECT_EQ(frame->GetType(), MWIN_BUTTON_FRAME);
    EXPECT_TRUE(frame->IsLive());
    Mouse(box_x, box_y);
    EXPECT_FALSE(frame->HandleMouseMove()) << "no close box yet";
    EXPECT_FALSE(frame->HandleMouseButtonPressed(0, 0, 0));

    frame->AddCloseButton(&Close4, 0);
    EXPECT_TRUE(frame->HandleMouseMove());
    EXPECT_TRUE(frame->IsMouseOverCloseBox());
    EXPECT_TRUE(frame->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(closes, 0) << "a press does nothing";
    EXPECT_TRUE(frame->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_EQ(closes, 1);

    Mouse(150, 200); // in the body
    EXPECT_FALSE(frame->HandleMouseMove());
    EXPECT_FALSE(frame->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_EQ(closes, 1);

    Mouse(box_x, box_y);
    frame->HandleMouseMove();
    frame->SetOrigPos(120, 100, 200, 150);
    EXPECT_FALSE(frame->IsMouseOverCloseBox()) << "moving the frame clears the hover";
}

TEST_F(Frame, EscapeClosesOnlyWhenAsked)
{
    frame->AddCloseButton(&ClosePlain, 0);
    EXPECT_FALSE(frame->HandleKeyDown(27));
    EXPECT_EQ(plain_closes, 0);
    frame->AddCloseButton(&ClosePlain, 1);
    EXPECT_TRUE(frame->HandleKeyDown(27));
    EXPECT_EQ(plain_closes, 1);
    EXPECT_FALSE(frame->HandleKeyDown(13));
    frame->Deactivate();
    EXPECT_FALSE(frame->HandleKeyDown(27)) << "only while focused";
    EXPECT_EQ(plain_closes, 1);
}
