// The game's window modes on a real window: Ctrl+F between full screen and
// the stored window, the sizes kept on each side and saved at exit, and the
// picture after the full-screen game loses the focus (reported or not) and
// comes to the front again.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "Linux/EngWindow_LNX.h"
#include "MWin/MWinButton.h"
#include "game/Game.h"
#include "game/MainScreen.h"
#include "game/Resolution.h"
#include "game/Vizavu.h"
#include "support/SwapWatch.h"
#include "support/TestSupport.h"
#include "support/XFocus.h"

#include "GameWindowFixture.h"

namespace
{

struct Geometry
{
    char windowed;
    int width, height, x, y;
};

class WindowModes : public gametest::GameWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EngWindowGetDesktopSize_LNX(&desktop_w, &desktop_h));
        // What the display dialog leaves in the record: a stored window of
        // 800 x 600 at (120, 90) and full screen at the desktop's size.
        ResolutionSetDefaults();
        resolution.windowed = 0;
        resolution.win_width = 800;
        resolution.win_height = 600;
        resolution.win_x = 120;
        resolution.win_y = 90;
        resolution.fs_width = desktop_w;
        resolution.fs_height = desktop_h;
    }

    void CtrlF()
    {
        KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
        Key(SDLK_f, KMOD_LCTRL);
        KeyEvent(SDLK_LCTRL, 0, false);
    }

    void SendWindowEvent(Uint8 kind, int d1 = 0, int d2 = 0)
    {
        SDL_Event e = {};
        e.type = SDL_WINDOWEVENT;
        e.window.event = kind;
        e.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(eng_main_sdl_window));
        e.window.data1 = d1;
        e.window.data2 = d2;
        Send(e);
    }

    static Geometry Now()
    {
        Geometry g = {eng_main_window_windowed, eng_main_window_width, eng_main_window_height, -1, -1};
        if (eng_main_window_windowed)
            SDL_GetWindowPosition(static_cast<SDL_Window*>(eng_main_sdl_window), &g.x, &g.y);
        return g;
    }

    static void ExpectGeometry(const Geometry& want)
    {
        Geometry g = Now();
        EXPECT_EQ(g.windowed, want.windowed);
        EXPECT_EQ(g.width, want.width);
        EXPECT_EQ(g.height, want.height);
        if (want.windowed)
        {
            EXPECT_EQ(g.x, want.x);
            EXPECT_EQ(g.y, want.y);
        }
        // The platform window has the size the engine thinks it has.
        int w = 0, h = 0;
        SDL_GetWindowSize(static_cast<SDL_Window*>(eng_main_sdl_window), &w, &h);
        EXPECT_EQ(w, want.width);
        EXPECT_EQ(h, want.height);
    }

    // Share of the pixels of the last frame that are not black (the back
    // buffer keeps it after the swap here).
    static double LitShare()
    {
        const int w = eng_main_window_width, h = eng_main_window_height;
        std::vector<unsigned char> px(size_t(w) * h * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        size_t lit = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            lit += (px[i] | px[i + 1] | px[i + 2]) > 8 ? 1 : 0;
        return double(lit) / double(size_t(w) * h);
    }

    int desktop_w = 0, desktop_h = 0;
};

TEST_F(WindowModes, CtrlFAlternatesFullScreenAndTheStoredWindowKeepingEachSide)
{
    ASSERT_NO_FATAL_FAILURE(Start(0));
    const Geometry full = {0, desktop_w, desktop_h, -1, -1};
    ExpectGeometry(full);

    {
        SCOPED_TRACE("full screen to the stored window");
        CtrlF();
        ExpectGeometry({1, 800, 600, 120, 90});
    }
    // The player makes the window larger; each side keeps its own size.
    SDL_SetWindowSize(static_cast<SDL_Window*>(eng_main_sdl_window), 900, 650);
    while (main_game->GetWindow()->GetWindowEvents())
    {
    }
    Frames(1);
    {
        SCOPED_TRACE("back to full screen");
        CtrlF();
        ExpectGeometry(full);
    }
    {
        SCOPED_TRACE("the window as it was left");
        CtrlF();
        ExpectGeometry({1, 900, 650, 120, 90});
    }
    // A held F gives one toggle: repeats of the press do nothing.
    KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
    KeyEvent(SDLK_f, KMOD_LCTRL, true);
    SDL_Event repeat = {};
    repeat.type = SDL_KEYDOWN;
    repeat.key.repeat = 1;
    repeat.key.keysym.sym = SDLK_f;
    repeat.key.keysym.mod = KMOD_LCTRL;
    Send(repeat);
    KeyEvent(SDLK_f, KMOD_LCTRL, false);
    KeyEvent(SDLK_LCTRL, 0, false);
    ExpectGeometry(full);
    // Shift+Ctrl+F is left to the game.
    Key(SDLK_f, KMOD_LCTRL | KMOD_LSHIFT);
    ExpectGeometry(full);

    // Leaving in full screen stores both sides.
    MainExitAndDeleteMainProgram(1);
    const std::string saved = vztest::ReadFile(DataFile("Resolution.dat"));
    ASSERT_EQ(saved.size(), size_t(RESOLUTION_FILE_SIZE));
    _ResolutionRecord r;
    memcpy(&r, saved.data(), sizeof(r));
    EXPECT_EQ(r.windowed, 0);
    EXPECT_EQ(r.fs_width, desktop_w);
    EXPECT_EQ(r.fs_height, desktop_h);
    EXPECT_EQ(r.win_width, 900);
    EXPECT_EQ(r.win_height, 650);
    EXPECT_EQ(r.win_x, 120);
    EXPECT_EQ(r.win_y, 90);
}

// In play every key press goes to the game first; Ctrl+F, held or tapped,
// still toggles and leaves the puzzle as it was.
TEST_F(WindowModes, CtrlFInPlayTogglesAndLeavesThePuzzleAlone)
{
    ASSERT_NO_FATAL_FAILURE(Start(1, 800, 600));
    ASSERT_NE(mwinMainMainStartButton, nullptr);
    const _Dimension* a = mwinMainMainStartButton->GetActualArea();
    ClickPixel(int((a->x + a->w / 2) * eng_main_window_x_ratio),
               int((a->y + a->h / 2) * eng_main_window_y_ratio));
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), EngFourCC('I', 'N', 'G', 'A'));
    int col = 0, row = 0;
    ASSERT_TRUE(FirstEmptyCell(&col, &row));
    ClickPixel(int(board_vars[col][row].centre_x * eng_main_window_x_ratio),
               int(board_vars[col][row].centre_y * eng_main_window_y_ratio));
    ASSERT_TRUE(cur_sel_set);
    VizavuBoardCells before;
    memcpy(&before, &board, sizeof(before));
    const int undos = num_undos;

    const struct
    {
        const char* name;
        bool ctrl_up_first;
    } taps[] = {{"held", false}, {"quick tap", true}, {"held, back", false}, {"quick tap, back", true}};
    for (const auto& t : taps)
    {
        SCOPED_TRACE(t.name);
        const char windowed = eng_main_window_windowed;
        KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
        KeyEvent(SDLK_f, KMOD_LCTRL, true);
        if (t.ctrl_up_first)
            KeyEvent(SDLK_LCTRL, 0, false);
        KeyEvent(SDLK_f, t.ctrl_up_first ? 0 : KMOD_LCTRL, false);
        if (!t.ctrl_up_first)
            KeyEvent(SDLK_LCTRL, 0, false);
        EXPECT_NE(eng_main_window_windowed, windowed);
        EXPECT_EQ(GameGetCurrentScreen(), EngFourCC('I', 'N', 'G', 'A'));
        EXPECT_EQ(memcmp(&before, &board, sizeof(before)), 0);
        EXPECT_EQ(num_undos, undos);
    }
}

// A size the player gives the window is the size it opens with next time;
// one below the smallest the game keeps is refused by the window itself.
TEST_F(WindowModes, TheWindowReopensAtTheSizeItWasLeft)
{
    struct Case
    {
        const char* name;
        int asked_w, asked_h; // what the player drags the window to
        int w, h;             // the window it gets, left and reopened
        char portrait;
    } const cases[] = {
        {"narrow and tall", 600, 900, 600, 900, 1},
        {"at the smallest", RESOLUTION_MIN_WINDOWED_WIDTH, RESOLUTION_MIN_WINDOWED_HEIGHT,
         RESOLUTION_MIN_WINDOWED_WIDTH, RESOLUTION_MIN_WINDOWED_HEIGHT, 0},
        {"below the smallest", 200, 150, RESOLUTION_MIN_WINDOWED_WIDTH, RESOLUTION_MIN_WINDOWED_HEIGHT, 0},
        {"wide", 1200, 500, 1200, 500, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Start(1, 800, 600));
        SDL_SetWindowSize(static_cast<SDL_Window*>(eng_main_sdl_window), c.asked_w, c.asked_h);
        while (main_game->GetWindow()->GetWindowEvents())
        {
        }
        Frames(1);
        EXPECT_EQ(eng_main_window_width, c.w);
        EXPECT_EQ(eng_main_window_height, c.h);
        EXPECT_EQ(eng_main_window_portraited, c.portrait);
        MainExitAndDeleteMainProgram(1);

        // The next start, from the stored record as the display dialog leaves it.
        main_display_settings_dialog = []() -> signed char { return ResolutionLoad() ? 1 : -1; };
        int code = 1;
        ASSERT_EQ(MainCreateAndInitMainProgram(nullptr, 0, nullptr, &code), 1);
        ASSERT_EQ(EngMainCreateMainWindowAndDevice(), 1);
        int w = 0, h = 0;
        SDL_GetWindowSize(static_cast<SDL_Window*>(eng_main_sdl_window), &w, &h);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(eng_main_window_portraited, c.portrait);
        MainExitAndDeleteMainProgram(1);
        std::remove(DataFile("Resolution.dat").c_str());
    }
}

TEST_F(WindowModes, FullScreenComesBackOnlyInFrontAndThenDrawsTheNextFrame)
{
    ASSERT_NO_FATAL_FAILURE(Start(0));
    ASSERT_GT(LitShare(), 0.05);
    SDL_Event click = {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.clicks = 1;
    using vztest::XFocus;
    struct Case
    {
        const char* name;
        XFocus x_focus;                   // where the X server has the focus then
        std::vector<Uint8> window_events; // after the focus was lost
        bool click;
        bool back;
    };
    const Case cases[] = {
        // SDL minimises a full-screen window that loses the focus; the focus
        // comes back without a restore.
        {"minimised, then the focus back",
         XFocus::Game,
         {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED},
         false,
         true},
        // Another program's window moves over it and keeps the focus.
        {"uncovered, another window holding the focus",
         XFocus::OtherClient,
         {SDL_WINDOWEVENT_EXPOSED},
         false,
         false},
        // Without a window manager the window over it goes away and no focus
        // change is reported.
        {"uncovered, the focus nowhere", XFocus::Nobody, {SDL_WINDOWEVENT_EXPOSED}, false, true},
        // The focus came back to it without a report.
        {"uncovered, the game holding the focus", XFocus::Game, {SDL_WINDOWEVENT_EXPOSED}, false, true},
        {"clicked", XFocus::OtherClient, {}, true, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SendWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
        ASSERT_EQ(eng_main_device, nullptr);
        vztest::MoveXFocus(c.x_focus);
        for (Uint8 kind : c.window_events)
            SendWindowEvent(kind);
        if (c.click)
            Send(click);
        if (!c.back)
        {
            Frames(3);
            EXPECT_EQ(eng_main_device, nullptr);
            EXPECT_FALSE(main_game->GetWindow()->IsActive());
            continue;
        }
        // One frame ran since, with no further input.
        ASSERT_NE(eng_main_device, nullptr);
        EXPECT_TRUE(main_game->GetWindow()->IsActive());
        EXPECT_FALSE(main_game->GetWindow()->IsMinimized());
        EXPECT_GT(LitShare(), 0.05);
    }
}

// Without a window manager another program can take the focus in steps that
// leave it with nobody for a moment: the game, uncovered then, comes to the
// front and never hears that the focus went on to the other program. It
// stops drawing all the same, and draws again once clicked.
TEST_F(WindowModes, FullScreenStopsDrawingWhenTheFocusPassesThroughNobodyToAnotherClient)
{
    ASSERT_NO_FATAL_FAILURE(Start(0));
    static int frames;
    vztest::SwapWatcher() = [] { frames++; };
    // Frames drawn in n passes of the main loop, each taking what events the
    // window has.
    auto passes = [](int n)
    {
        frames = 0;
        for (int i = 0; i < n; i++)
        {
            while (main_game->GetWindow()->GetWindowEvents())
            {
            }
            eng_main_current_time += 1.0 / 60;
            main_game->DoTick();
            main_game->DoRender();
        }
        return frames;
    };
    EngWindow* w = main_game->GetWindow();
    using vztest::XFocus;
    EXPECT_EQ(passes(3), 3);

    // The other client takes the focus, gives it up (its window goes) and
    // takes it again.
    vztest::MoveXFocus(XFocus::OtherClient);
    SendWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(passes(3), 0);
    vztest::MoveXFocus(XFocus::Nobody);
    SendWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    ASSERT_TRUE(w->IsActive());
    EXPECT_EQ(passes(3), 3);
    vztest::MoveXFocus(XFocus::OtherClient);
    passes(30);
    EXPECT_EQ(passes(60), 0) << "drawing behind the other client's window";
    EXPECT_FALSE(w->IsActive());
    EXPECT_EQ(eng_main_device, nullptr);

    // A click on the game brings it back to the front, to stay.
    SDL_Event click = {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.clicks = 1;
    Send(click);
    EXPECT_EQ(passes(60), 60);
    EXPECT_TRUE(w->IsActive());
    vztest::SwapWatcher() = nullptr;
}

} // namespace
