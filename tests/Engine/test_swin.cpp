// The native dialog kit's logic through a recording backend: geometry, slots,
// lists with bound variables and callbacks, texts, and the quit state; the
// platform's dialogs without a display.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "Linux/EngGui_LNX.h"
#include "SWin.h"
#include "support/TestSupport.h"
#include "support/GameName.h"

const char* MainGetGameName();

using vztest::Logged;

namespace
{

struct RecControl
{
    _SWinButtonType kind;
    int x, y, w, h;
    std::string text;
    std::vector<std::string> entries;
    int shown_sel = -1;
    int user_sel = -1;
    char enabled = 1, visible = 1;
    int align = -1;
    bool destroyed = false;
};

class RecordingBackend : public SWinBackend
{
public:
    int desk_w = 1280, desk_h = 1024;
    bool start_ok = true, fail_next_control = false, picture_ok = true;
    int win_x = 0, win_y = 0, win_w = 0, win_h = 0;
    std::string title;
    int windows_alive = 0;
    std::deque<RecControl> controls;
    std::deque<std::function<void()>> events;
    bool running = false;
    int quit_calls = 0;

    char Start() override { return start_ok; }
    char GetDesktopSize(int* w, int* h) override
    {
        *w = desk_w;
        *h = desk_h;
        return 1;
    }
    void* CreateWindow(SWin*, int x, int y, int w, int h, const char* t) override
    {
        win_x = x, win_y = y, win_w = w, win_h = h;
        title = t;
        windows_alive++;
        return &windows_alive;
    }
    void DestroyWindow(void*) override { windows_alive--; }
    void* CreateControl(void*, SWin*, int, _SWinButtonType kind, int x, int y, int w, int h,
                        const char* text) override
    {
        if (fail_next_control)
        {
            fail_next_control = false;
            return nullptr;
        }
        RecControl c;
        c.kind = kind, c.x = x, c.y = y, c.w = w, c.h = h, c.text = text;
        controls.push_back(c);
        return &controls.back();
    }
    static RecControl* C(void* c) { return static_cast<RecControl*>(c); }
    void DestroyControl(void* c) override { C(c)->destroyed = true; }
    int LiveControls() const
    {
        int n = 0;
        for (const RecControl& c : controls)
            n += c.destroyed ? 0 : 1;
        return n;
    }
    char SetText(void* c, _SWinButtonType, const char* text) override
    {
        C(c)->text = text;
        return 1;
    }
    char GetText(void* c, _SWinButtonType, std::string* out) override
    {
        *out = C(c)->text;
        return 1;
    }
    char SetTextAlign(void* c, _SWinButtonType, _SWinTextAlign a) override
    {
        C(c)->align = a;
        return 1;
    }
    void Enable(void* c, char on) override { C(c)->enabled = on; }
    void Show(void* c, char on) override { C(c)->visible = on; }
    void Move(void* c, _SWinButtonType, int x, int y, int w, int h) override
    {
        C(c)->x = x, C(c)->y = y, C(c)->w = w, C(c)->h = h;
    }
    char SetListEntries(void* c, const std::vector<std::string>& texts) override
    {
        C(c)->entries = texts;
        C(c)->shown_sel = 0;
        return 1;
    }
    void SetListSel(void* c, int sel) override { C(c)->shown_sel = sel; }
    int GetListSel(void* c) override { return C(c)->user_sel; }
    char SetPicture(void*, const char*) override { return picture_ok; }
    void SetDefaultButton(void*, void*) override {}
    void RunLoop() override
    {
        running = true;
        while (running)
        {
            if (events.empty())
            {
                ADD_FAILURE() << "the loop would wait forever";
                return;
            }
            auto e = events.front();
            events.pop_front();
            e();
        }
    }
    void QuitLoop() override
    {
        running = false;
        quit_calls++;
    }
    char Pump() override
    {
        if (events.empty())
            return 0;
        auto e = events.front();
        events.pop_front();
        e();
        return 1;
    }
};

_SWinCreateInfo Info(int x, int y, int w, int h)
{
    _SWinCreateInfo info;
    memset(&info, 0, sizeof(info));
    info.x = x, info.y = y, info.width = w, info.height = h;
    return info;
}

std::string PosText(int x, int y, int w, int h)
{
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" + std::to_string(h);
}

class SWinTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        SWinSetBackend(&rec);
    }
    void TearDown() override
    {
        SWinSetBackend(nullptr);
        LogTest::TearDown();
    }
    // A 600 x 400 window at (340, 287).
    void Open()
    {
        _SWinCreateInfo info = Info(-1, -1, 600, 430);
        ASSERT_EQ(1, win.CreateMainWindow(&info));
    }
    RecControl& Rec(int i) { return *static_cast<RecControl*>(win.GetButtonControl(i)); }
    // Button i's place as PosText gives it, or "none" when it has none.
    std::string Pos(int i)
    {
        int x, y, w, h;
        if (win.GetButtonPos(i, &x, &y, &w, &h) != 1)
            return "none";
        return PosText(x, y, w, h);
    }

    vztest::TempDir dir;
    RecordingBackend rec;
    SWin win;
};

TEST_F(SWinTest, WindowIsPlacedOnTheDesktop)
{
    struct Case
    {
        int x, y, w, h, desk_w, desk_h;
        int ex, ey, ew, eh;
    } cases[] = {
        {-1, -1, 600, 430, 1280, 1024, 340, 287, 600, 400}, // centred; 30 off the height, 50 off the desktop
        {100, 50, 400, 90, 1280, 1024, 100, 50, 400, 60},
        {2000, 5, 1400, 2000, 1280, 1024, 0, 0, 1280, 974}, // limited to the desktop, pulled back
        {900, 800, 640, 420, 1280, 1024, 640, 584, 640, 390},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        rec.desk_w = c.desk_w, rec.desk_h = c.desk_h;
        SWin w;
        _SWinCreateInfo info = Info(c.x, c.y, c.w, c.h);
        ASSERT_EQ(1, w.CreateMainWindow(&info));
        EXPECT_EQ(c.ex, rec.win_x);
        EXPECT_EQ(c.ey, rec.win_y);
        int gw = 0, gh = 0;
        EXPECT_EQ(1, w.GetSize(&gw, &gh));
        EXPECT_EQ(c.ew, gw);
        EXPECT_EQ(c.eh, gh);
        EXPECT_EQ(c.ew, rec.win_w);
        EXPECT_EQ(c.eh, rec.win_h);
        EXPECT_EQ(MainGetGameName(), rec.title);
    }
    EXPECT_EQ(0, rec.windows_alive) << "the destructor disposes of the window";
}

TEST_F(SWinTest, WindowCreationErrors)
{
    EXPECT_EQ(0, win.CreateMainWindow(nullptr));
    EXPECT_TRUE(Logged("( SWin::CreateMainWindow )    No info specified"));

    // Nothing is left of the content after the title allowance.
    _SWinCreateInfo flat = Info(-1, -1, 300, 30);
    EXPECT_EQ(0, win.CreateMainWindow(&flat));
    EXPECT_TRUE(Logged("Invalid window size"));
    EXPECT_EQ(0, rec.windows_alive);

    rec.start_ok = false;
    _SWinCreateInfo info = Info(-1, -1, 600, 430);
    EXPECT_EQ(0, win.CreateMainWindow(&info));
    EXPECT_TRUE(Logged("CreateNewWindow() Failed"));
    EXPECT_EQ(0, win.IsCreated());

    rec.start_ok = true;
    ASSERT_EQ(1, win.CreateMainWindow(&info));
    EXPECT_EQ(0, win.CreateMainWindow(&info));
    EXPECT_TRUE(Logged("Window already created"));
    EXPECT_EQ(1, rec.windows_alive);

    win.DestroyMainWindow();
    EXPECT_EQ(0, rec.windows_alive);
    DebugClearLog();
    win.DestroyMainWindow();
    EXPECT_TRUE(Logged("No window"));
    EXPECT_EQ(-1, win.AddPushButtonToWindow(0, 0, 10, 10, "x", nullptr));
    EXPECT_EQ(0, win.GetSize(nullptr, nullptr));
}

TEST_F(SWinTest, ControlsAreClampedToTheWindow)
{
    Open();
    struct Case
    {
        int x, y, w, h;
        int ex, ey, ew, eh;
    } cases[] = {
        {-1, 10, 200, 20, 200, 10, 200, 20},  // centred across
        {10, -1, 100, 40, 10, 180, 100, 40},  // centred down
        {-1, -1, 201, 21, 199, 189, 201, 21}, // halves truncated
        {50, 5, 900, 20, 0, 5, 600, 20},      // wider than the window
        {550, 390, 100, 20, 500, 380, 100, 20}, // pulled back inside
        {5, 5, -20, -3, 5, 5, 0, 0},          // no negative sizes
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        int i = win.AddTextButtonToWindow(c.x, c.y, c.w, c.h, "t", SWIN_ALIGN_RIGHT);
        ASSERT_GE(i, 0);
        EXPECT_EQ(PosText(c.ex, c.ey, c.ew, c.eh), Pos(i));
        EXPECT_EQ(c.ex, Rec(i).x);
        EXPECT_EQ(c.ew, Rec(i).w);
        EXPECT_EQ(SWIN_ALIGN_RIGHT, Rec(i).align);
    }
}

TEST_F(SWinTest, SlotsAndTheirLimits)
{
    Open();
    // A group frame makes nothing and takes no slot: it returns 0, and the
    // next control takes slot 0.
    int frame = win.AddGroupFrameToWindow(16, 166, 352, 139, "Resolution");
    int text = win.AddTextButtonToWindow(32, 183, 96, 20, "Mode:", SWIN_ALIGN_RIGHT);
    EXPECT_EQ(0, frame);
    EXPECT_EQ(0, text);
    EXPECT_EQ(1u, rec.controls.size());
    EXPECT_EQ(SWIN_BUT_STATIC_TEXT, Rec(text).kind);
    EXPECT_EQ(1, win.GetNumButtons());

    // Failures take no slot, and a control made before the failure is gone.
    vztest::WriteFile(dir.File("bad.png"), "not a picture");
    char strs[1][SWIN_STR_SIZE] = {"only"};
    struct Failure
    {
        const char* what;
        std::function<int()> add;
        const char* message;
    } failures[] = {
        {"unknown kind", [&] { return win.AddButtonToWindow(_SWinButtonType(5), 0, 0, 10, 10, ""); },
         "Unknown button type 5"},
        {"no control made",
         [&]
         {
             rec.fail_next_control = true;
             return win.AddPushButtonToWindow(0, 0, 10, 10, "B", nullptr);
         },
         "Could not create button."},
        {"picture file missing",
         [&] { return win.AddPictureButtonToWindow(0, 0, 10, 10, dir.File("missing.png").c_str()); },
         "does not exist"},
        {"picture that does not load",
         [&]
         {
             rec.picture_ok = false;
             int i = win.AddPictureButtonToWindow(0, 0, 10, 10, dir.File("bad.png").c_str());
             rec.picture_ok = true;
             return i;
         },
         "Could not load picture"},
        {"list without entries", [&] { return win.AddListButtonToWindow(0, 0, 10, 10, 0, strs, nullptr); },
         "No entries"},
        {"choice without strings", [&] { return win.AddChoiceButtonToWindow(0, 0, 10, 10, 2, nullptr, nullptr); },
         "No strings"},
    };
    for (const Failure& f : failures)
    {
        SCOPED_TRACE(f.what);
        DebugClearLog();
        EXPECT_EQ(-1, f.add());
        EXPECT_TRUE(Logged(f.message));
        EXPECT_EQ(1, win.GetNumButtons());
        EXPECT_EQ(1, rec.LiveControls());
    }
    // Every failure again, more often than there are slots: none is used up.
    for (int round = 0; round < SWIN_MAX_BUTTONS; round++)
        EXPECT_EQ(-1, failures[size_t(round) % (sizeof(failures) / sizeof(failures[0]))].add());

    for (int k = 1; k < SWIN_MAX_BUTTONS; k++)
        ASSERT_EQ(k, win.AddPushButtonToWindow(0, 0, 10, 10, "B", nullptr));
    for (int kind : {SWIN_BUT_PUSH, SWIN_BUT_GROUP_FRAME})
    {
        DebugClearLog();
        EXPECT_EQ(-1, win.AddButtonToWindow(_SWinButtonType(kind), 0, 0, 10, 10, "B"));
        EXPECT_TRUE(Logged("Too many buttons"));
    }
    EXPECT_EQ(SWIN_MAX_BUTTONS, win.GetNumButtons());

    // Indexes outside the slots do nothing.
    for (int bad : {-1, SWIN_MAX_BUTTONS})
    {
        EXPECT_EQ(0, win.EnableButton(bad));
        EXPECT_EQ(0, win.MoveButton(bad, 1, 1, 1, 1));
        EXPECT_EQ(-1, win.ListGetSel(bad));
    }

    // A new window starts with no controls.
    win.DestroyMainWindow();
    Open();
    EXPECT_EQ(0, win.GetNumButtons());
    EXPECT_EQ(0, win.AddPushButtonToWindow(0, 0, 10, 10, "B", nullptr));
}

TEST_F(SWinTest, FontScaleGrowsTheWindowAboutTheCentreAndKeepsItOnTheDesktop)
{
    struct Case
    {
        int x, y, w, h, desk_w, desk_h;
        const char* window;
    } cases[] = {
        // 640 - (640 - 440) * 1.5 and 487 - (487 - 287) * 1.5
        {440, 287, 400, 430, 1280, 1024, "340,187 600x600"},
        // Grown to -106,-29: pulled back to the top left.
        {100, 100, 400, 230, 1024, 768, "0,0 600x300"},
        // Grown past the right and bottom edges (1244 and 870).
        {600, 500, 400, 230, 1024, 768, "424,418 600x300"},
        // Grown larger than the desktop: the desktop's size.
        {-1, -1, 800, 630, 1024, 768, "0,0 1024x718"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        rec.desk_w = c.desk_w, rec.desk_h = c.desk_h;
        SWin w;
        w.SetFontScale(1.5f);
        _SWinCreateInfo info = Info(c.x, c.y, c.w, c.h);
        ASSERT_EQ(1, w.CreateMainWindow(&info));
        EXPECT_EQ(c.window, PosText(rec.win_x, rec.win_y, rec.win_w, rec.win_h));
        int gw = 0, gh = 0;
        w.GetSize(&gw, &gh);
        EXPECT_EQ(rec.win_w, gw);
        EXPECT_EQ(rec.win_h, gh);
    }
}

TEST_F(SWinTest, FontScaleGrowsControlsWithTheirLayout)
{
    // A 400 x 400 layout shown as 600 x 600.
    win.SetFontScale(1.5f);
    _SWinCreateInfo info = Info(440, 287, 400, 430);
    ASSERT_EQ(1, win.CreateMainWindow(&info));
    struct Case
    {
        int x, y, w, h;
        const char* pos;
    } cases[] = {
        {10, 20, 100, 20, "15,30 150x30"},
        {-1, -1, 100, 20, "225,285 150x30"}, // centred in the grown window
        {50, 5, 900, 20, "0,7 600x30"},      // as wide as the grown window
        {390, 390, 100, 20, "450,570 150x30"}, // pulled inside the layout, then grown
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        int i = win.AddPushButtonToWindow(c.x, c.y, c.w, c.h, "B", nullptr);
        ASSERT_GE(i, 0);
        EXPECT_EQ(c.pos, Pos(i));
    }
}

struct Calls
{
    std::vector<std::string> log;
    int* bound = nullptr;
    char* bound_char = nullptr;
};
Calls* calls;

void IntCB(SWin*, int sel)
{
    calls->log.push_back("int " + std::to_string(sel) +
                         (calls->bound ? " bound " + std::to_string(*calls->bound) : std::string()));
}
void CharCB(SWin*, char sel)
{
    calls->log.push_back("char " + std::to_string(int(sel)) +
                         (calls->bound_char ? " bound " + std::to_string(int(*calls->bound_char)) : std::string()));
}

class SWinListTest : public SWinTest
{
protected:
    void SetUp() override
    {
        SWinTest::SetUp();
        calls = &c;
        Open();
        char strs[5][SWIN_STR_SIZE] = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024", "1600 x 1200"};
        list = win.AddListButtonToWindow(140, 213, 168, 20, 5, strs, IntCB);
        ASSERT_GE(list, 0);
        ASSERT_EQ(1, win.ListSetCharCallback(list, CharCB));
    }
    void TearDown() override
    {
        calls = nullptr;
        SWinTest::TearDown();
    }
    Calls c;
    int list = -1;
};

TEST_F(SWinListTest, RegisteringSelectsTheStoredValueAndCallsBack)
{
    int stored = 3;
    c.bound = &stored;
    ASSERT_EQ(1, win.ListRegisterIntVariable(list, &stored));
    EXPECT_EQ(3, win.ListGetSel(list));
    EXPECT_EQ(3, Rec(list).shown_sel);
    EXPECT_EQ((std::vector<std::string>{"int 3 bound 3", "char 3"}), c.log);

    // Code selecting does not write the variable.
    c.log.clear();
    ASSERT_EQ(1, win.ListSetSel(list, 1));
    EXPECT_EQ(3, stored);
    EXPECT_EQ(1, win.ListGetSel(list));
    EXPECT_EQ((std::vector<std::string>{"int 1 bound 3", "char 1"}), c.log);

    // The user's choice writes it before the callbacks run.
    c.log.clear();
    Rec(list).user_sel = 4;
    win.HandleButtonCallback(list);
    EXPECT_EQ(4, stored);
    EXPECT_EQ(4, win.ListGetSel(list));
    EXPECT_EQ((std::vector<std::string>{"int 4 bound 4", "char 4"}), c.log);

    EXPECT_EQ(0, win.ListRegisterIntVariable(list, nullptr));
}

TEST_F(SWinListTest, ChoiceAndListAreOneControl)
{
    char modes[2][SWIN_STR_SIZE] = {"Fullscreen", "Windowed"};
    int choice = win.AddChoiceButtonToWindow(140, 183, 208, 20, 2, modes, CharCB);
    ASSERT_GE(choice, 0);
    EXPECT_EQ(SWIN_BUT_POPUP, Rec(choice).kind);
    char windowed = 1;
    c.bound_char = &windowed;
    ASSERT_EQ(1, win.ChoiceRegisterCharVariable(choice, &windowed, 0));
    EXPECT_EQ(1, win.ListGetSel(choice));
    EXPECT_EQ(1, win.ChoiceGetSel(choice));
    Rec(choice).user_sel = 0;
    win.HandleButtonCallback(choice);
    EXPECT_EQ(0, windowed);
    EXPECT_EQ("char 0 bound 0", c.log.back());
    EXPECT_EQ(1, win.ChoiceCleanup(choice));
}

TEST_F(SWinListTest, SelectionsAreBroughtIntoTheEntries)
{
    char items[3][SWIN_STR_SIZE] = {"item 0", "item 1", "item 2"};
    char modes[2][SWIN_STR_SIZE] = {"Fullscreen", "Windowed"};
    int three = win.AddListButtonToWindow(140, 243, 168, 20, 3, items, IntCB);
    int choice = win.AddChoiceButtonToWindow(140, 183, 208, 20, 2, modes, CharCB);
    ASSERT_GE(three, 0);
    ASSERT_GE(choice, 0);
    ASSERT_EQ(1, win.ListSetCharCallback(three, CharCB));
    ASSERT_EQ(1, win.ListSetCallback(choice, IntCB));
    int bound_int = 0;
    char bound_char = 0;
    struct Case
    {
        const char* what;
        int control;
        std::function<char()> call;
        int want;
        int* bound_int;     // the variable bound, written when it was outside
        char* bound_char;
        bool outside;
    } cases[] = {
        {"list set to 99", three, [&] { return win.ListSetSel(three, 99); }, 2, nullptr, nullptr, true},
        {"list set to -7", three, [&] { return win.ListSetSel(three, -7); }, 0, nullptr, nullptr, true},
        {"list set to its last", three, [&] { return win.ListSetSel(three, 2); }, 2, nullptr, nullptr, false},
        // One past the last entry: the number of entries.
        {"list set to 3", three, [&] { return win.ListSetSel(three, 3); }, 2, nullptr, nullptr, true},
        {"choice set to 2", choice, [&] { return win.ChoiceSetSel(choice, 2); }, 1, nullptr, nullptr, true},
        {"choice set to 99", choice, [&] { return win.ChoiceSetSel(choice, 99); }, 1, nullptr, nullptr, true},
        {"choice set to -7", choice, [&] { return win.ChoiceSetSel(choice, -7); }, 0, nullptr, nullptr, true},
        {"list bound to -7", three,
         [&]
         {
             bound_int = -7;
             return win.ListRegisterIntVariable(three, &bound_int);
         },
         0, &bound_int, nullptr, true},
        {"list bound to 99", three,
         [&]
         {
             bound_int = 99;
             return win.ListRegisterIntVariable(three, &bound_int);
         },
         2, &bound_int, nullptr, true},
        {"list bound to 3", three,
         [&]
         {
             bound_int = 3;
             return win.ListRegisterIntVariable(three, &bound_int);
         },
         2, &bound_int, nullptr, true},
        {"list bound to a char of 3", three,
         [&]
         {
             bound_char = 3;
             return win.ListRegisterCharVariable(three, &bound_char);
         },
         2, nullptr, &bound_char, true},
        {"choice bound to 2", choice,
         [&]
         {
             bound_char = 2;
             return win.ChoiceRegisterCharVariable(choice, &bound_char);
         },
         1, nullptr, &bound_char, true},
        {"list bound to 1", three,
         [&]
         {
             bound_int = 1;
             return win.ListRegisterIntVariable(three, &bound_int);
         },
         1, &bound_int, nullptr, false},
        {"list bound to a char of 99", three,
         [&]
         {
             bound_char = 99;
             return win.ListRegisterCharVariable(three, &bound_char);
         },
         2, nullptr, &bound_char, true},
        {"choice bound to -7", choice,
         [&]
         {
             bound_char = -7;
             return win.ChoiceRegisterCharVariable(choice, &bound_char);
         },
         0, nullptr, &bound_char, true},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.what);
        DebugClearLog();
        c.log.clear();
        ASSERT_EQ(1, k.call());
        // What is stored, shown and reported is one entry.
        EXPECT_EQ(k.want, win.ListGetSel(k.control));
        EXPECT_EQ(k.want, Rec(k.control).shown_sel);
        const std::string n = std::to_string(k.want);
        EXPECT_EQ((std::vector<std::string>{"int " + n, "char " + n}), c.log);
        if (k.bound_int)
        {
            EXPECT_EQ(k.want, *k.bound_int);
        }
        if (k.bound_char)
        {
            EXPECT_EQ(k.want, *k.bound_char);
        }
        EXPECT_EQ(k.outside, Logged("is outside the entries"));
    }

    // A list with no entries has nothing to select.
    int empty = win.AddButtonToWindow(SWIN_BUT_LIST, 0, 0, 10, 10, "");
    ASSERT_GE(empty, 0);
    ASSERT_EQ(1, win.ListSetCallback(empty, IntCB));
    c.log.clear();
    EXPECT_EQ(0, win.ListSetSel(empty, 0));
    EXPECT_TRUE(Logged("No entries"));
    EXPECT_TRUE(c.log.empty());
}

const char* TextOrNull(int k, void*)
{
    return k == 1 ? nullptr : (k == 0 ? "60 Hz" : "75 Hz");
}
char* MutableText(int, void* user)
{
    return static_cast<char*>(user);
}

TEST_F(SWinListTest, EntriesAndTheirErrors)
{
    ASSERT_EQ(1, win.ListSetSel(list, 2));
    ASSERT_EQ(1, win.ListSetStrsCallback(list, 3, TextOrNull, nullptr));
    EXPECT_EQ((std::vector<std::string>{"60 Hz", "", "75 Hz"}), Rec(list).entries);
    EXPECT_EQ(0, win.ListGetSel(list)) << "new entries select the first";
    char own[] = "60 Hz";
    ASSERT_EQ(1, win.ListSetStrsCallback(list, 1, MutableText, own));
    EXPECT_EQ((std::vector<std::string>{"60 Hz"}), Rec(list).entries);

    // An entry that fills all 256 bytes is read no further.
    char full[2][SWIN_STR_SIZE];
    memset(full, 'a', sizeof(full));
    full[1][0] = 0;
    ASSERT_EQ(1, win.ListSetStrs(list, 1, full));
    EXPECT_EQ(std::string(SWIN_STR_SIZE, 'a'), Rec(list).entries[0]);

    int text = win.AddTextButtonToWindow(0, 0, 10, 10, "T", SWIN_ALIGN_LEFT);
    struct Case
    {
        const char* what;
        std::function<char()> call;
        const char* message;
    } cases[] = {
        {"no entries", [&] { return win.ListSetStrs(list, 0, full); }, "No entries"},
        {"no strings", [&] { return win.ListSetStrs(list, 2, nullptr); }, "No strings"},
        {"no callback",
         [&] { return win.ListSetStrsCallback(list, 2, static_cast<const char* (*)(int, void*)>(nullptr), nullptr); },
         "No strings callback"},
        {"not a list", [&] { return win.ListSetSel(text, 1); }, "Not a list button"},
        {"not a push button", [&] { return win.SetDefaultPushButton(list); }, "Not a push button"},
        {"not a picture", [&] { return win.PictureSetFromFile(list, "x.png"); }, "Not a picture button"},
        {"text of a list", [&] { return win.SetButtonText(list, "x"); },
         "Only supported for push button,static and edit text buttons"},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.what);
        DebugClearLog();
        EXPECT_EQ(0, k.call());
        EXPECT_TRUE(Logged(k.message));
    }
    EXPECT_EQ(-1, win.ListGetSel(text));
    EXPECT_EQ(std::string(SWIN_STR_SIZE, 'a'), Rec(list).entries[0]) << "failed calls keep the entries";
}

void DestroyingCB(SWin* w, int)
{
    calls->log.push_back("destroy");
    w->DestroyMainWindow();
}

TEST_F(SWinListTest, CallbackMayDestroyTheWindow)
{
    win.ListSetCallback(list, DestroyingCB);
    Rec(list).user_sel = 1;
    win.HandleButtonCallback(list);
    EXPECT_EQ((std::vector<std::string>{"destroy"}), c.log) << "no char callback after the window went";
    EXPECT_EQ(0, win.IsCreated());
    EXPECT_EQ(0, rec.windows_alive);
}

TEST_F(SWinTest, TextsPositionsAndPictures)
{
    Open();
    int edit = win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 20, 20, 600, 320, "reply");
    int push = win.AddPushButtonToWindow(480, 360, 140, 20, "Close", nullptr);
    int pic = win.AddButtonToWindow(SWIN_BUT_PICTURE, 16, 8, 560, 108, "");
    // The kit's texts are Latin-1: one byte a character.
    ASSERT_EQ(1, win.SetButtonText(edit, "Gr\xFC\xDF" "e"));
    char buf[16];
    EXPECT_EQ(1, win.GetButtonText(edit, buf, sizeof(buf)));
    EXPECT_STREQ("Gr\xFC\xDF" "e", buf);
    EXPECT_EQ("Gr\xFC\xDF" "e", Rec(edit).text);
    EXPECT_EQ(1, win.GetButtonText(edit, buf, 4));
    EXPECT_STREQ("Gr\xFC", buf);
    EXPECT_EQ(0, win.GetButtonText(edit, nullptr, 4));
    EXPECT_EQ(0, win.GetButtonText(edit, buf, 0));
    EXPECT_EQ(0, win.GetButtonText(push, buf, sizeof(buf)));
    EXPECT_TRUE(Logged("Only supported for Edit buttons"));
    EXPECT_EQ(1, win.SetButtonText(push, "Cancel"));
    EXPECT_EQ("Cancel", Rec(push).text);
    EXPECT_EQ(0, win.SetButtonTextAlign(push, _SWinTextAlign(3)));

    // Negative values keep what was stored.
    ASSERT_EQ(1, win.MoveButton(push, 100, -1, 200, -1));
    EXPECT_EQ("100,360 200x20", Pos(push));
    EXPECT_EQ(360, Rec(push).y);
    EXPECT_EQ(200, Rec(push).w);

    EXPECT_EQ(0, win.PictureSetFromFile(pic, dir.File("missing.png").c_str()));
    EXPECT_TRUE(Logged("File <" + dir.File("missing.png") + "> does not exist"));
    vztest::WriteFile(dir.File("there.png"), "x");
    EXPECT_EQ(1, win.PictureSetFromFile(pic, dir.File("there.png").c_str()));
    EXPECT_EQ(-1, win.AddPictureButtonToWindow(0, 0, 10, 10, dir.File("missing.png").c_str()));

    win.DisableButton(push);
    EXPECT_EQ(0, Rec(push).enabled);
    win.EnableButton(push);
    EXPECT_EQ(1, Rec(push).enabled);
}

void QuitCB(SWin* w)
{
    w->QuitWindowLoop();
}
void DestroyCB(SWin* w)
{
    w->DestroyMainWindow();
}

TEST_F(SWinTest, LoopAndPumpEndOnQuit)
{
    Open();
    int ok = win.AddPushButtonToWindow(209, 344, 173, 20, "Start", QuitCB);
    rec.events.push_back([] {});
    rec.events.push_back([&] { win.HandleButtonCallback(ok); });
    EXPECT_EQ(1, win.RunWindowLoop());
    EXPECT_EQ(1, rec.quit_calls);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(1, win.IsQuitRequested());
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages()) << "the quit byte stays until a new window";

    // The pump: 1 with nothing waiting, 2 after an event, 0 once a quit came.
    win.DestroyMainWindow();
    Open();
    EXPECT_EQ(1, win.ProcessAnyWindowsMessages());
    rec.events.push_back([] {});
    EXPECT_EQ(2, win.ProcessAnyWindowsMessages());
    rec.events.push_back([&] { win.QuitWindowLoop(); }); // as Ctrl+Q does
    rec.events.push_back([] {});
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_EQ(1u, rec.events.size()) << "nothing is pumped after the quit";
    EXPECT_EQ(1, rec.quit_calls) << "no loop was running to end";

    win.DestroyMainWindow();
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_EQ(0, win.RunWindowLoop());
}

TEST_F(SWinTest, DestroyingTheWindowEndsItsLoop)
{
    Open();
    int b = win.AddPushButtonToWindow(0, 0, 50, 20, "Close", DestroyCB);
    rec.events.push_back([&] { win.HandleButtonCallback(b); });
    EXPECT_EQ(1, win.RunWindowLoop());
    EXPECT_EQ(1, rec.quit_calls);
    EXPECT_EQ(0, rec.windows_alive);
}

class SWinNoDisplay : public vztest::LogTest
{
};

TEST_F(SWinNoDisplay, PlatformWindowFailsWithoutADisplay)
{
    vztest::ScopedEnv display("DISPLAY", nullptr);
    vztest::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    SWinSetBackend(nullptr);
    SWin win;
    _SWinCreateInfo info = Info(-1, -1, 600, 430);
    EXPECT_EQ(0, win.CreateMainWindow(&info));
    EXPECT_TRUE(Logged("CreateNewWindow() Failed"));
    EXPECT_EQ(0, win.IsCreated());
    EXPECT_EQ(0, win.AddPushButtonToWindow(0, 0, 10, 10, "B", nullptr) + 1);
    EXPECT_EQ(0, win.RunWindowLoop());

    // An interface file reads, but nothing is built from it.
    const std::string ui = std::string(getenv("VZ_SOURCE_DIR")) + "/tests/Engine/Linux/data/Settings";
    EngGuiNibRef_LNX nib = nullptr;
    EXPECT_EQ(1, EngGuiLoadNIB_LNX(ui.c_str(), &nib));
    EngGuiReleaseNIB_LNX(nib);
    GtkWidget* dialog = nullptr;
    EXPECT_EQ(0, EngGuiLoadAndRunDialogFromNib_LNX(ui.c_str(), "SettingsDialog", nullptr, &dialog));
    EXPECT_TRUE(Logged("CreateWindowFromNib() failed"));
    EXPECT_TRUE(Logged("Could not start GTK (no display)"));
    EXPECT_EQ(nullptr, dialog);
    DebugClearLog();
    EXPECT_EQ(0, EngGuiLoadMenuFromNIB_LNX(ui.c_str()));
    EXPECT_TRUE(Logged("SetMenuBarFromNib failed"));
}

} // namespace
