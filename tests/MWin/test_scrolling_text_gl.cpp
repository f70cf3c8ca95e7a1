// A scrolling text drawn frame after frame as the toolkit ticks it at the engine's frame rate.
#include "SkinnedGLFixture.h"

#include "EngProgram.h"
#include "MWin/MWinButton.h"

namespace
{
class ScrollingTextGL : public vztest::SkinnedGL
{
protected:
    void Draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mw->RenderMain();
    }
    // The rightmost lit column of row y between x0 and x1, or -1.
    static int RightmostLit(int y, int x0, int x1)
    {
        for (int x = x1; x >= x0; x--)
        {
            vztest::Rgba p = Pixel(x, y);
            if (p.r + p.g + p.b > 150)
                return x;
        }
        return -1;
    }

    EngProgram program; // publishes the frame period
};

TEST_F(ScrollingTextGL, MovesLeftOneUnitPerFrameAndStaysInSight)
{
    MWinButton* b = win->AddButton("ticker", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", 100, 200, 400, 40);
    ASSERT_NE(b, nullptr);
    b->SetTextColour(1, 1, 1, 1);
    b->SetScrollingText("Scrolling along the bottom of the screen, frame by frame", 1);
    Draw();
    const int end0 = RightmostLit(220, 100, 499);
    ASSERT_GT(end0, 250) << "the text is drawn in its button";
    for (int frame = 0; frame < 60; frame++)
        mw->Tick2();
    Draw();
    const int end1 = RightmostLit(220, 100, 499);
    EXPECT_NEAR(end1, end0 - 60, 3) << "one unit a frame for a second";
}

} // namespace
