// The display-settings dialog through a recording dialog backend and a made-up
// mode list: its controls, the lists and bound values, "Start", closing, and
// the version check and help buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "PrefFolder.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/OnlineHooks.h"
#include "game/Resolution.h"
#include "game/ResolutionDialog.h"
#include "game/Updater.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"

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
};

struct RecWindow
{
    int w = 0, h = 0;
    bool alive = true;
    std::deque<RecControl> controls;
};

class RecordingBackend : public SWinBackend
{
public:
    std::deque<RecWindow> windows; // every window made, kept after it closes
    std::deque<std::function<void()>> events;
    bool running = false;
    int fail_control = -1; // index of the dialog control that cannot be made
    bool start_ok = true;
    std::vector<std::string> pictures;

    char Start() override { return start_ok; }
    char GetDesktopSize(int* w, int* h) override
    {
        *w = 1920, *h = 1080;
        return 1;
    }
    void* CreateWindow(SWin*, int, int, int w, int h, const char*) override
    {
        windows.emplace_back();
        windows.back().w = w, windows.back().h = h;
        return &windows.back();
    }
    void DestroyWindow(void* w) override { static_cast<RecWindow*>(w)->alive = false; }
    void* CreateControl(void* w, SWin*, int index, _SWinButtonType kind, int x, int y, int cw, int ch,
                        const char* text) override
    {
        RecWindow* win = static_cast<RecWindow*>(w);
        if (win == &windows.front() && index == fail_control)
            return nullptr;
        RecControl c;
        c.kind = kind, c.x = x, c.y = y, c.w = cw, c.h = ch, c.text = text;
        win->controls.push_back(c);
        return &win->controls.back();
    }
    void DestroyControl(void*) override {}
    static RecControl* C(void* c) { return static_cast<RecControl*>(c); }
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
    void SetListSel(void* c, int sel) override
    {
        int n = int(C(c)->entries.size());
        C(c)->shown_sel = sel < 0 ? 0 : (sel >= n ? n - 1 : sel);
    }
    int GetListSel(void* c) override { return C(c)->user_sel; }
    char SetPicture(void*, const char* path) override
    {
        pictures.push_back(path);
        return 1;
    }
    void SetDefaultButton(void*, void*) override {}
    void RunLoop() override
    {
        running = true;
        while (running)
        {
            if (events.empty())
            {
                ADD_FAILURE() << "the dialog would wait forever";
                res_swin->QuitWindowLoop();
                return;
            }
            auto e = events.front();
            events.pop_front();
            e();
        }
    }
    void QuitLoop() override { running = false; }
    // Only the dialog's loop plays the script; other windows see nothing.
    char Pump() override { return 0; }
};

RecControl* Ctl(int index)
{
    return static_cast<RecControl*>(res_swin->GetButtonControl(index));
}

std::string Shown(int index)
{
    RecControl* c = Ctl(index);
    return c->shown_sel >= 0 && c->shown_sel < int(c->entries.size()) ? c->entries[size_t(c->shown_sel)] : "<none>";
}

// What the dialog shows at one moment.
struct Look
{
    std::string mode, res, freq, aa;
    std::vector<std::string> freqs;
    bool res_enabled = false, freq_enabled = false;
};

class ResolutionDialog : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        vztest::LogTest::SetUp();
        PrefFolderSetup("Kestrelbay Vizavu", 0, nullptr, 1);
        ASSERT_EQ(0u, std::string(PrefFolderGetMainFolder()).find(dir.Path()));
        SWinSetBackend(&backend);
        eng_main_device_type = 1;
        r_res_modes = MakeModes();
        ResolutionSetDefaults();
        *MainGetCreateWindowParms() = {};
    }
    void TearDown() override
    {
        delete r_res_modes;
        r_res_modes = nullptr;
        delete up_swin;
        up_swin = nullptr;
        SWinSetBackend(nullptr);
        vztest::LogTest::TearDown();
    }
    // Sizes sort by depth, width, height: 0 640x480, 1 1024x768, 2 1280x1024 (no rates), 3 1920x1080.
    static EngResModes* MakeModes()
    {
        EngResModes* m = new EngResModes();
        const _EngDisplayModeInfo list[] = {{1024, 768, 32, 75}, {640, 480, 32, 60},   {1024, 768, 32, 60},
                                            {1280, 1024, 32, 0}, {1920, 1080, 32, 60}, {640, 480, 32, 75},
                                            {1024, 768, 32, 85}};
        const _EngDisplayModeInfo desktop = {1920, 1080, 32, 50};
        EXPECT_TRUE(m->SetModesFromList(list, int(sizeof(list) / sizeof(list[0])), &desktop));
        return m;
    }
    // Stores a record for the dialog to load.
    void Store(const std::function<void(_ResolutionRecord&)>& change)
    {
        ResolutionSetDefaults();
        resolution.fs_width = 1024, resolution.fs_height = 768, resolution.fs_frequency = 75;
        change(resolution);
        ASSERT_TRUE(ResolutionSave());
    }
    void Select(int* index, int entry)
    {
        backend.events.push_back(
            [index, entry]
            {
                Ctl(*index)->user_sel = Ctl(*index)->shown_sel = entry;
                res_swin->HandleButtonCallback(*index);
            });
    }
    void Click(int* index)
    {
        backend.events.push_back([index] { res_swin->HandleButtonCallback(*index); });
    }
    void Snap(Look* look)
    {
        backend.events.push_back(
            [look]
            {
                look->mode = Shown(resolution_mode_swb);
                look->res = Shown(resolution_res_swb);
                look->freq = Shown(resolution_freq_swb);
                look->aa = Shown(resolution_aa_swb);
                look->freqs = Ctl(resolution_freq_swb)->entries;
                look->res_enabled = Ctl(resolution_res_swb)->enabled;
                look->freq_enabled = Ctl(resolution_freq_swb)->enabled;
            });
    }

    vztest::TempDir dir;
    vztest::ScopedEnv home{"HOME", dir.File("home").c_str()};
    vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
    vztest::ScopedEnv data{"XDG_DATA_HOME", dir.File("data").c_str()};
    RecordingBackend backend;
    vztest::PopupRecorder popups;
};

TEST_F(ResolutionDialog, ControlsAreMadeAsListedAndNothingOverlaps)
{
    Store([](_ResolutionRecord&) {});
    Click(&resolution_ok_swb);
    ASSERT_EQ(1, ResolutionShowAndRunWindow());

    ASSERT_EQ(1u, backend.pictures.size());
    EXPECT_EQ(std::string(getenv("VZ_RESOURCES_DIR")) + "/TitleButton.png", backend.pictures[0]);
    ASSERT_FALSE(backend.windows.empty());
    const RecWindow& w = backend.windows.front();
    EXPECT_FALSE(w.alive);
    EXPECT_EQ(592, w.w);
    EXPECT_EQ(418 - 30, w.h);
    struct Expect
    {
        _SWinButtonType kind;
        int x, y, w, h;
        std::string text;
        int align;
        bool visible;
    } expect[] = {
        {SWIN_BUT_STATIC_TEXT, 194, 124, 203, 20, "Version 1.21", SWIN_ALIGN_CENTRE, true},
        // The settings column, centred on the 592-pixel dialog; the frames make nothing.
        {SWIN_BUT_POPUP, 196, 183, 200, 20, "unset", -1, true},
        {SWIN_BUT_STATIC_TEXT, 86, 183, 100, 20, "Mode:", SWIN_ALIGN_RIGHT, true},
        {SWIN_BUT_STATIC_TEXT, 86, 213, 100, 20, "Screen Size:", SWIN_ALIGN_RIGHT, true},
        {SWIN_BUT_POPUP, 196, 213, 200, 20, "", -1, true},
        {SWIN_BUT_STATIC_TEXT, 86, 243, 100, 20, "Frequency:", SWIN_ALIGN_RIGHT, true},
        {SWIN_BUT_POPUP, 196, 243, 200, 20, "", -1, true},
        {SWIN_BUT_STATIC_TEXT, 86, 274, 100, 20, "Anti-Aliasing:", SWIN_ALIGN_RIGHT, true},
        {SWIN_BUT_POPUP, 196, 274, 200, 20, "", -1, true},
        {SWIN_BUT_PUSH, 416, 274, 32, 20, "?", -1, true},
        {SWIN_BUT_PICTURE, 16, 8, 560, 108, "", -1, true},
        {SWIN_BUT_STATIC_TEXT, 421, 251, 120, 20, "Mouse Sync.", SWIN_ALIGN_CENTRE, false},
        {SWIN_BUT_STATIC_TEXT, 421, 191, 120, 20, "Cursor Type", SWIN_ALIGN_CENTRE, false},
        {SWIN_BUT_PUSH, 528, 211, 32, 24, "?", -1, false},
        {SWIN_BUT_PUSH, 528, 271, 32, 24, "?", -1, false},
        {SWIN_BUT_POPUP, 400, 211, 120, 24, "", -1, false},
        {SWIN_BUT_POPUP, 400, 271, 120, 24, "", -1, false},
        {SWIN_BUT_PUSH, 403, 124, 173, 20, "Check for new version", -1, true},
        {SWIN_BUT_PUSH, 209, 344, 173, 20, "Start", -1, true},
    };
    ASSERT_EQ(sizeof(expect) / sizeof(expect[0]), w.controls.size());
    for (size_t i = 0; i < w.controls.size(); i++)
    {
        SCOPED_TRACE("control " + std::to_string(i) + " " + expect[i].text);
        const RecControl& c = w.controls[i];
        EXPECT_EQ(expect[i].kind, c.kind);
        EXPECT_EQ(expect[i].x, c.x);
        EXPECT_EQ(expect[i].y, c.y);
        EXPECT_EQ(expect[i].w, c.w);
        EXPECT_EQ(expect[i].h, c.h);
        EXPECT_EQ(expect[i].text, c.text);
        EXPECT_EQ(expect[i].align, c.align);
        EXPECT_EQ(expect[i].visible, bool(c.visible));
    }
    EXPECT_EQ((std::vector<std::string>{"Fullscreen", "Windowed"}), w.controls[1].entries);
    EXPECT_EQ((std::vector<std::string>{"Off", "Normal [2x2]", "Strong [4x4]"}), w.controls[8].entries);

    // Every shown control lies in the window and clear of the others.
    auto apart = [](const RecControl& a, const RecControl& b)
    { return a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y; };
    for (size_t i = 0; i < w.controls.size(); i++)
    {
        const RecControl& a = w.controls[i];
        if (!a.visible)
            continue;
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= w.w && a.y + a.h <= w.h) << expect[i].text;
        for (size_t j = i + 1; j < w.controls.size(); j++)
        {
            if (w.controls[j].visible)
            {
                EXPECT_TRUE(apart(a, w.controls[j])) << expect[i].text << " overlaps " << expect[j].text;
            }
        }
    }
}

TEST_F(ResolutionDialog, ListsFollowTheModesAndStartStoresTheChoice)
{
    Store([](_ResolutionRecord& r) { r.fs_aa = 2; });
    Look first, rateless, small;
    Snap(&first);
    Select(&resolution_res_swb, 2); // 1280 x 1024 lists no rates
    Snap(&rateless);
    Select(&resolution_res_swb, 0);
    Snap(&small);
    Select(&resolution_freq_swb, 0);
    Select(&resolution_aa_swb, 1);
    Click(&resolution_ok_swb);
    ASSERT_EQ(1, ResolutionShowAndRunWindow());

    EXPECT_EQ("Fullscreen", first.mode);
    EXPECT_EQ("1024 x 768 x 32", first.res);
    EXPECT_EQ((std::vector<std::string>{"60 Hz", "75 Hz", "85 Hz"}), first.freqs);
    EXPECT_EQ("75 Hz", first.freq);
    EXPECT_EQ("Strong [4x4]", first.aa);
    EXPECT_TRUE(first.res_enabled && first.freq_enabled);

    EXPECT_EQ((std::vector<std::string>{""}), rateless.freqs);
    EXPECT_FALSE(rateless.freq_enabled);
    // Passing a size without rates keeps the chosen rate.
    EXPECT_EQ("75 Hz", small.freq);
    EXPECT_EQ((std::vector<std::string>{"60 Hz", "75 Hz"}), small.freqs);

    EXPECT_EQ(0, resolution.windowed);
    EXPECT_EQ(640, resolution.fs_width);
    EXPECT_EQ(480, resolution.fs_height);
    EXPECT_EQ(32, resolution.fs_bpp);
    EXPECT_EQ(60, resolution.fs_frequency);
    EXPECT_EQ(1, resolution.fs_aa);
    const _EngCreateWindowParms* p = MainGetCreateWindowParms();
    EXPECT_EQ(0, p->windowed);
    EXPECT_EQ(640, p->width);
    EXPECT_EQ(480, p->height);
    EXPECT_EQ(32, p->bpp);
    EXPECT_EQ(60, p->frequency);
    EXPECT_EQ(1, p->aa);
    EXPECT_EQ(nullptr, res_swin);
    EXPECT_EQ(nullptr, r_res_modes);
}

TEST_F(ResolutionDialog, SwitchingToWindowedAndBack)
{
    Store([](_ResolutionRecord& r) { r.win_aa = 1; });
    Look windowed, back, last;
    Select(&resolution_res_swb, 3); // picked, then left for windowed
    Select(&resolution_mode_swb, 1);
    Snap(&windowed);
    Select(&resolution_mode_swb, 0);
    Snap(&back);
    Select(&resolution_res_swb, 3);
    Select(&resolution_mode_swb, 1);
    Snap(&last);
    Click(&resolution_ok_swb);
    ASSERT_EQ(1, ResolutionShowAndRunWindow());

    EXPECT_EQ("Windowed", windowed.mode);
    EXPECT_FALSE(windowed.res_enabled);
    EXPECT_EQ((std::vector<std::string>{"50 Hz"}), windowed.freqs) << "the desktop's rates";
    EXPECT_EQ("Normal [2x2]", windowed.aa);
    EXPECT_EQ("1024 x 768 x 32", back.res) << "the stored size, not the one picked last";
    EXPECT_TRUE(back.res_enabled);
    EXPECT_EQ("Off", back.aa);

    EXPECT_EQ(1, resolution.windowed);
    EXPECT_EQ("1024 x 768 x 32", last.res);
    EXPECT_EQ(1024, resolution.fs_width) << "the full-screen size takes the (disabled) list's";
    EXPECT_EQ(768, resolution.fs_height);
    const _EngCreateWindowParms* p = MainGetCreateWindowParms();
    EXPECT_EQ(1, p->windowed);
    EXPECT_EQ(1024, p->width);
    EXPECT_EQ(768, p->height);
    EXPECT_EQ(-1, p->x);
    EXPECT_EQ(-1, p->y);
    EXPECT_EQ(50, p->frequency);
    EXPECT_EQ(1, p->aa);
}

TEST_F(ResolutionDialog, StoredValuesOutsideTheListsShowWhatIsUsed)
{
    struct Case
    {
        const char* name;
        std::function<void(_ResolutionRecord&)> change;
        std::string mode, res, freq, aa;
        int windowed, width, freq_used, aa_used;
    } cases[] = {
        {"windowed 7", [](_ResolutionRecord& r) { r.windowed = 7; }, "Windowed", "1024 x 768 x 32", "50 Hz", "Off", 1,
         1024, 50, 0},
        {"aa 3", [](_ResolutionRecord& r) { r.fs_aa = 3; }, "Fullscreen", "1024 x 768 x 32", "75 Hz", "Off", 0, 1024,
         75, 0},
        {"aa -1", [](_ResolutionRecord& r) { r.fs_aa = -1; }, "Fullscreen", "1024 x 768 x 32", "75 Hz", "Off", 0,
         1024, 75, 0},
        {"rate not listed", [](_ResolutionRecord& r) { r.fs_frequency = 72; }, "Fullscreen", "1024 x 768 x 32",
         "60 Hz", "Off", 0, 1024, 60, 0},
        {"size not listed", [](_ResolutionRecord& r) { r.fs_width = 5000, r.fs_height = 4000; }, "Fullscreen",
         "1920 x 1080 x 32", "60 Hz", "Off", 0, 1920, 60, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        r_res_modes = r_res_modes ? r_res_modes : MakeModes();
        Store(c.change);
        Look look;
        Snap(&look);
        Click(&resolution_ok_swb);
        ASSERT_EQ(1, ResolutionShowAndRunWindow());
        EXPECT_EQ(c.mode, look.mode);
        EXPECT_EQ(c.res, look.res);
        EXPECT_EQ(c.freq, look.freq);
        EXPECT_EQ(c.aa, look.aa);
        const _EngCreateWindowParms* p = MainGetCreateWindowParms();
        EXPECT_EQ(c.windowed, resolution.windowed);
        EXPECT_EQ(c.windowed, p->windowed);
        EXPECT_EQ(c.width, p->width);
        EXPECT_EQ(c.freq_used, p->frequency);
        EXPECT_EQ(c.aa_used, p->aa);
    }
}

TEST_F(ResolutionDialog, ClosingTheDialogStopsQuietlyAndWritesNothing)
{
    Store([](_ResolutionRecord&) {});
    const std::string path = std::string(PrefFolderGetMainFolder()) + "/Resolution.dat";
    const std::string before = vztest::ReadFile(path);
    Select(&resolution_mode_swb, 1);
    backend.events.push_back([] { res_swin->QuitWindowLoop(); });
    EXPECT_EQ(-1, ResolutionShowAndRunWindow());
    EXPECT_EQ(before, vztest::ReadFile(path));
    EXPECT_EQ(nullptr, res_swin);
    EXPECT_EQ(nullptr, r_res_modes);
}

TEST_F(ResolutionDialog, HelpAndVersionCheckLeaveTheDialogOpen)
{
    std::mutex lock;
    std::vector<std::string> asked;
    vztest::HttpTestServer server(
        [&](const std::string& target)
        {
            std::lock_guard<std::mutex> g(lock);
            asked.push_back(target);
            vztest::HttpReply r;
            r.status = 200;
            r.body = "Your version is current.";
            return r;
        });
    OnlineSetSiteRoot(server.Url("").c_str());
    up_result_seconds = 0;

    Store([](_ResolutionRecord&) {});
    Click(&resolution_aa_info_swb);
    Click(&resolution_new_version_swb);
    Click(&resolution_ok_swb);
    char result = ResolutionShowAndRunWindow();
    OnlineSetSiteRoot(nullptr);
    EXPECT_EQ(1, result);

    auto& shown = vztest::PopupRecorder::Popups();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Anti-Aliasing", shown[0].title);
    EXPECT_EQ("Anti-aliasing removes the jagged edges that appear when running the game in low resolutions.\n\n"
              "It can greatly improve the visual quality of the game,but can slow down the graphics.\n\n"
              "Some systems do not support anti-aliasing.",
              shown[0].text);
    std::lock_guard<std::mutex> g(lock);
    ASSERT_EQ(1u, asked.size());
    EXPECT_NE(std::string::npos, asked[0].find("program=Vizavu")) << asked[0];
    EXPECT_NE(std::string::npos, asked[0].find("version=1.210")) << asked[0];
    ASSERT_GE(backend.windows.size(), 2u) << "the check shows its own window";
}

TEST_F(ResolutionDialog, FailuresReturnZero)
{
    // A control that cannot be made names itself, in the order of adding.
    struct Case
    {
        int fail;
        const char* text;
    } cases[] = {{0, "Could not add button <version>"},
                 {6, "Could not add button <freq>"},
                 {18, "Could not add button <ok>"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        r_res_modes = r_res_modes ? r_res_modes : MakeModes();
        backend.windows.clear();
        backend.fail_control = c.fail;
        EXPECT_EQ(0, ResolutionShowAndRunWindow());
        EXPECT_TRUE(vztest::Logged(c.text));
        EXPECT_EQ(nullptr, res_swin);
        EXPECT_EQ(nullptr, r_res_modes);
        ASSERT_FALSE(backend.windows.empty());
        EXPECT_FALSE(backend.windows.front().alive);
    }
    backend.fail_control = -1;

    r_res_modes = MakeModes();
    backend.start_ok = false;
    EXPECT_EQ(0, ResolutionShowAndRunWindow());
    EXPECT_TRUE(vztest::Logged("Could not create main window"));
    backend.start_ok = true;

    // No display here: the platform's list is empty.
    DebugClearLog();
    EXPECT_EQ(0, ResolutionShowAndRunWindow());
    EXPECT_TRUE(vztest::Logged("No modes."));
    EXPECT_EQ(nullptr, r_res_modes);
}

TEST_F(ResolutionDialog, FirstRunOffersTheDisplayItself)
{
    const std::string path = std::string(PrefFolderGetMainFolder()) + "/Resolution.dat";
    std::filesystem::remove(path);
    res_title_picture = "/nonexistent/TitleButton.png";
    Look look;
    Snap(&look);
    Click(&resolution_ok_swb);
    char result = ResolutionShowAndRunWindow();
    res_title_picture = "TitleButton.png";
    ASSERT_EQ(1, result);
    EXPECT_EQ("Fullscreen", look.mode);
    EXPECT_EQ("Off", look.aa);
    EXPECT_EQ(0, resolution.windowed);
    EXPECT_EQ(1024, resolution.win_width);
    EXPECT_EQ(768, resolution.win_height);
    EXPECT_FALSE(vztest::FileExists(path)) << "only the exit saves";
    // Without its title picture the dialog still lets the player start.
    EXPECT_TRUE(vztest::Logged("File </nonexistent/TitleButton.png> does not exist"));
    EXPECT_TRUE(backend.pictures.empty());
}

} // namespace
