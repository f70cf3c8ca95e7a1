// Toolkit windows: creation, geometry, colour, widget lists, keyboard
// navigation, the hide button and dragging.
#include <gtest/gtest.h>

#include <vector>

#include "CoreTestFixture.h"
#include "MWin/MWinFrame.h"
#include "MWin/MWinGraph.h"
#include "MWin/MWinStyledText.h"
#include "MWin/MWinTabPanel.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinVertScrollbar.h"
#include "WindowInfo.h"

using vztest::CoreTest;
using vztest::Logged;
using vztest::RecordingController;
using vztest::WindowInfoAt;

class Window : public CoreTest
{
protected:
    // A 200 x 100 window at (100, 100) with a title bar and a hide button.
    MWinWindow* AddWindowWithHideButton()
    {
        _MWinWindowCreateInfo info = WindowInfoAt(100, 100, 200, 100);
        info.title_bar = 1;
        info.hide_button = 1;
        return coll->AddWindow("W", &info);
    }
    static std::vector<int>& Sounds()
    {
        static std::vector<int> s;
        return s;
    }
    void RecordSounds()
    {
        Sounds().clear();
        mw->SetSoundPlayCallback([](int e, void*) { Sounds().push_back(e); }, nullptr);
    }
};

TEST_F(Window, CreationRecordIsCorrectedAndCopied)
{
    _MWinWindowCreateInfo info = WindowInfoAt(MWIN_CENTRE_POS, MWIN_CENTRE_POS, 200, -1);
    MWinWindow* w = coll->AddWindow("W", &info);
    ASSERT_NE(w, nullptr);
    _Dimension a;
    w->GetOrigArea(&a);
    EXPECT_EQ(a.x, 220);
    EXPECT_EQ(a.h, 100);
    EXPECT_EQ(a.y, 190);
    EXPECT_EQ(info.x, 220); // written back into the caller's record

    MWinWindow* d = coll->AddWindow("Default", nullptr);
    EXPECT_TRUE(Logged("No info passed in"));
    d->GetOrigArea(&a);
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.w, 50);
}

TEST_F(Window, TitleBarPlacementAndHideButton)
{
    _MWinWindowCreateInfo info = WindowInfoAt(10, 10, 200, 100);
    info.hide_button = 1;
    MWinWindow* bare = coll->AddWindow("Bare", &info);
    EXPECT_TRUE(Logged("Hide button but no title bar"));
    EXPECT_EQ(bare->GetHideButton(), nullptr);

    info.title_bar = 1;
    info.hide_button = 1;
    MWinWindow* w = coll->AddWindow("Titled", &info);
    _Dimension a;
    w->GetActualArea(&a);
    EXPECT_EQ(a.y, 30);
    ASSERT_NE(w->GetHideButton(), nullptr);
    EXPECT_EQ(w->GetButtonFromID("STD_HIDE", 0), w->GetHideButton());
    EXPECT_EQ(w->GetNumButtons(), 0);
    // The title bar lies directly above the area and counts as the window.
    mw->SetMousePosRatioed(20, 5);
    EXPECT_EQ(w->IsMouseCursorInWindow(), 1);
    EXPECT_EQ(bare->IsMouseCursorInWindow(), 0);
}

TEST_F(Window, WidgetListsAndLookups)
{
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    EXPECT_EQ(w->GetNthButton(0), nullptr);
    EXPECT_TRUE(Logged("No buttons."));
    MWinButton* first = AddPush(w, "Same", 10, 10);
    MWinButton* mid = AddPush(w, "Mid", 10, 40);
    MWinButton* later = AddPush(w, "Same", 10, 70);
    EXPECT_EQ(w->GetButtonFromID("Same"), later);
    EXPECT_EQ(w->GetNthButton(0), first);
    EXPECT_EQ(w->GetNthButton(5), nullptr);
    EXPECT_TRUE(Logged("Button 5 not found."));
    EXPECT_EQ(MWinGetNextButton(first, 2), later);
    EXPECT_EQ(MWinGetPrevButton(later, 0), later);
    EXPECT_EQ(MWinGetNextButton(first, 3), nullptr);
    EXPECT_TRUE(Logged("Next button not found"));
    EXPECT_EQ(MWinGetNextButton(first, -1), nullptr);
    EXPECT_TRUE(Logged("Bad num ahead number"));

    w->SetDefaultButton(mid);
    EXPECT_EQ(w->RemoveButton(mid), 1);
    EXPECT_EQ(w->GetDefaultButton(), nullptr);
    EXPECT_EQ(w->GetNumButtons(), 2);
    EXPECT_EQ(MWinGetNextButton(first, 1), later);
    w->RemoveAllButtonsAfterButton(first);
    EXPECT_EQ(w->GetNumButtons(), 1);
    EXPECT_EQ(w->GetLastButton(), first);
}

// The window's own factories for the subclassed kinds add a linked widget of
// that kind at the requested place.
TEST_F(Window, MemberFactoriesAddTheirKinds)
{
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    struct Case
    {
        const char* id;
        MWinButton* b;
        _MWinButtonType kind;
    } cases[] = {
        {"vert", w->AddVertScrollbar("vert", MWIN_TEXBUT_DEFAULT, "", 10, 10, 20, 100),
         MWIN_BUTTON_VERT_SCROLLBAR},
        {"back", w->AddBackButton("back", MWIN_TEXBUT_DEFAULT, "", 40, 10, 100, 100), MWIN_BUTTON_FRAME},
        {"graph", w->AddGraph("graph", MWIN_TEXBUT_DEFAULT, 150, 10, 100, 100), MWIN_BUTTON_GRAPH},
        {"tab", w->AddTabPanel("tab", MWIN_TEXBUT_DEFAULT, 260, 10, 100, 100), MWIN_BUTTON_SCRIPT},
        {"script", w->AddScriptButton("script", MWIN_TEXBUT_DEFAULT, 370, 10, 100, 100), MWIN_SCRIPT_TYPE},
    };
    for (const Case& c : cases)
    {
        ASSERT_NE(c.b, nullptr) << c.id;
        EXPECT_EQ(c.b->GetType(), c.kind) << c.id;
        EXPECT_EQ(c.b->GetParent(), w) << c.id;
        EXPECT_EQ(w->GetButtonFromID(c.id), c.b) << c.id;
    }
    EXPECT_EQ(w->GetNumButtons(), 5);
}

TEST_F(Window, ColourAndTransparency)
{
    MWinWindow* w = AddWindow("W", 0, 0, 100, 100);
    w->SetTransparency(1);
    EXPECT_EQ(w->GetTransparency(), 1);
    EXPECT_EQ(w->GetColour()->a, 1);
    w->SetTransparency(0.5f);
    EXPECT_EQ(w->GetTransparency(), 0.5f);
    EXPECT_EQ(w->GetColour()->r, 1);
    w->SetTransparency(1); // the colour is on: stays on at alpha 1
    EXPECT_EQ(w->GetTransparency(), 1);
    w->SetColour(static_cast<const _ColourRGBA*>(nullptr));
    EXPECT_EQ(w->GetTransparency(), 1);
}

TEST_F(Window, ExtraSizeTurnsScrollingOnAndOff)
{
    MWinWindow* w = AddWindow("W", 100, 100, 200, 100);
    struct Case
    {
        float x, y;
        char on;
    } cases[] = {{0, 0, 0}, {-1, 50, 0}, {0, 300, 1}, {50, 0, 1}};
    for (const Case& c : cases)
    {
        w->SetExtraSize(c.x, c.y);
        EXPECT_EQ(w->IsExtraSizeOn(), c.on) << c.x << ", " << c.y;
    }
    // Wheel scrolling clamps to the extra size and moves the content.
    w->SetExtraSize(0, 300);
    EXPECT_EQ(w->ExtraSizeScrollbarsHandleMouseWheel(-100), 1);
    EXPECT_EQ(w->GetScroll(1)->offset, 300);
    EXPECT_EQ(w->GetVirtualPos()->y, -300);
    w->ScrollToBottom();
    EXPECT_EQ(w->GetVirtualPos()->y, -300);
    EXPECT_EQ(w->ExtraSizeScrollbarsHandleMouseWheel(1000), 1);
    EXPECT_EQ(w->GetVirtualPos()->y, 0);
}

// ---------------------------------------------------------------------------
// Keyboard.

class WindowKeys : public Window
{
protected:
    void SetUp() override
    {
        Window::SetUp();
        w = AddWindow("W", 0, 0, 640, 480);
        w->SetController(&ctrl);
        w->SetKeyDownCB(
            [](int key, MWinWindow*)
            {
                Keys().push_back(key);
                return char(1);
            });
        Keys().clear();
    }
    static std::vector<int>& Keys()
    {
        static std::vector<int> k;
        return k;
    }
    RecordingController ctrl;
    MWinWindow* w = nullptr;
};

TEST_F(WindowKeys, EscapeWhileEditingGoesToTheTextEdit)
{
    MWinButton* esc = AddPush(w, "Esc", 10, 10);
    w->SetEscapeButton(esc);
    MWinButton* edit = w->AddButton("Edit", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_NONE, "", 10, 50, 100, 20);
    edit->TextEditSetup(20);
    edit->Activate();
    edit->TextEditTurnOnEditing();
    ASSERT_EQ(mw->IsTextBeingEdited(), 1);
    w->HandleKeyDown(27);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);

    edit->TextEditTurnOffEditing(0);
    edit->Deactivate();
    EXPECT_EQ(w->HandleKeyDown(27), 1);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 1);
}

TEST_F(WindowKeys, ReturnWithADisabledDefaultButtonFallsThrough)
{
    MWinButton* def = AddPush(w, "Def", 10, 10);
    w->SetDefaultButton(def);
    def->Disable();
    EXPECT_EQ(w->HandleKeyDown(13), 1);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
    EXPECT_EQ(Keys(), std::vector<int>{13});

    def->Enable();
    Keys().clear();
    EXPECT_EQ(w->HandleKeyDown(13), 1);
    EXPECT_EQ(mw->GetNumQueuedMessages(), 1);
    EXPECT_TRUE(Keys().empty());

    // Nothing while Command is held.
    eng_key_down[ENG_KEY_COMMAND] = 2;
    EXPECT_EQ(w->HandleKeyDown(13), 0);
}

TEST_F(WindowKeys, TabMovesToTheNextTabStopAndWraps)
{
    // Three text edits, which show where Tab lands by starting to edit, and
    // a widget that is no tab stop between the first two.
    MWinButton* edits[3];
    const char* names[3] = {"A", "B", "C"};
    for (int i = 0; i < 3; i++)
    {
        edits[i] = w->AddButton(names[i], MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_NONE, "", 10, 10 + 60 * i, 100, 20);
        edits[i]->TextEditSetup(20);
        if (i == 0)
            w->AddButton("NoTab", MWIN_BUTTON_PUSH_NO_TAB, MWIN_TEXBUT_NONE, "", 10, 40, 50, 20);
    }
    struct Step
    {
        int from;
        bool shift;
        int to;
    } const steps[] = {
        {0, false, 1}, // over the widget that is no tab stop
        {1, false, 2},
        {2, false, 0}, // wraps to the first
        {1, true, 0},
        {2, true, 1},
        {0, true, 2}, // backwards from the first wraps to the last
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(testing::Message() << (s.shift ? "Shift+Tab" : "Tab") << " from " << names[s.from]);
        for (MWinButton* e : edits)
        {
            e->TextEditTurnOffEditing(0);
            e->Deactivate();
        }
        edits[s.from]->Activate();
        eng_key_down[ENG_KEY_SHIFT] = s.shift ? 1 : 0;
        EXPECT_EQ(w->HandleKeyDown(9), 1);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(edits[i]->IsTextBeingEditing(), i == s.to ? 1 : 0) << names[i];
    }

    // The only tab stop cycles back to itself.
    eng_key_down[ENG_KEY_SHIFT] = 0;
    for (MWinButton* e : edits)
        e->TextEditTurnOffEditing(0);
    edits[1]->Disable();
    edits[2]->Disable();
    edits[0]->Activate();
    EXPECT_EQ(w->HandleKeyDown(9), 1);
    EXPECT_EQ(edits[0]->IsTextBeingEditing(), 1);
    EXPECT_FALSE(Logged("Coult not get next button"));
}

// The widget Tab leaves calls back as it loses the focus (an edit ends, an
// open list closes); a callback that removes the window's widgets leaves
// nothing for Tab to touch.
TEST_F(WindowKeys, TabSurvivesTheLeftWidgetRemovingTheWidgets)
{
    static MWinWindow* v;
    v = AddWindow("V", 0, 0, 640, 480); // without a controller: the widgets' own callbacks run
    static const char* items[] = {"a", "b", "c"};
    const struct
    {
        const char* name;
        MWinButton* (*make)();
    } cases[] = {
        {"an edit being edited",
         []
         {
             MWinButton* e =
                 v->AddButton("Left", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_NONE, "", 10, 10, 100, 20);
             e->TextEditSetup(20);
             e->Activate();
             e->TextEditTurnOnEditing();
             return e;
         }},
        {"an open drop-down list with its highlight moved",
         []
         {
             MWinButton* l = v->AddButton("Left", MWIN_BUTTON_LIST, MWIN_TEXBUT_NONE, "", 10, 10, 100, 20);
             l->ListSetStrings(3, items);
             l->Activate();
             l->ListOpen();
             l->ListSelectNewOpenPos(2);
             return l;
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MWinButton* left = c.make();
        MWinButton* next = v->AddButton("Next", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_NONE, "", 10, 60, 100, 20);
        next->TextEditSetup(20);
        left->SetCallback([](MWin*, _MWinButtonCallbackInfo*, int, int) { v->RemoveAllButtons(); }, 0, 0, 0);
        EXPECT_EQ(v->HandleKeyDown(9), 1);
        EXPECT_EQ(v->GetFirstButton(), nullptr) << "the callback ran";
        v->RemoveAllButtons();
    }
}

TEST_F(WindowKeys, TabWithoutTabStopsLeavesTheFocus)
{
    MWinButton* a = w->AddButton("A", MWIN_BUTTON_PUSH_NO_TAB, MWIN_TEXBUT_NONE, "", 10, 10, 50, 20);
    w->AddButton("B", MWIN_BUTTON_PUSH_NO_TAB, MWIN_TEXBUT_NONE, "", 10, 40, 50, 20);
    a->Activate();
    Keys().clear();
    EXPECT_EQ(w->HandleKeyDown(9), 0);
    EXPECT_TRUE(Logged("Coult not get next button"));
    EXPECT_EQ(a->IsFocused(), 1);
    EXPECT_TRUE(Keys().empty());
}

// ---------------------------------------------------------------------------
// Mouse.

TEST_F(Window, HideButtonReportsOnlyALeftRelease)
{
    MWinWindow* w = AddWindowWithHideButton();
    RecordingController ctrl;
    w->SetController(&ctrl);
    RecordSounds();
    _Dimension h;
    w->GetHideButton()->GetActualArea(&h);
    MoveTo(h.x + h.w / 2, h.y + h.h / 2);
    ASSERT_EQ(w->GetHideButton()->IsFocused(), 1);

    EXPECT_EQ(Press(1), 1);
    EXPECT_EQ(Release(1), 1);
    EXPECT_TRUE(ctrl.calls.empty());
    EXPECT_EQ(Press(0), 1);
    EXPECT_EQ(Release(0), 1);
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(ctrl.calls[0], "STD_HIDE");
    EXPECT_EQ(Sounds(), std::vector<int>{MWIN_SOUND_BUTTON});
}

TEST_F(Window, HideButtonActionMayRemoveTheWindow)
{
    MWinWindow* w = AddWindowWithHideButton();
    RecordingController ctrl;
    ctrl.action = [this] { mw->GetDesktop()->RemoveAllCollections(); };
    w->SetController(&ctrl);
    RecordSounds();
    _Dimension h;
    w->GetHideButton()->GetActualArea(&h);
    MoveTo(h.x + 2, h.y + 2);
    Press(0);
    EXPECT_EQ(Release(0), 1);
    EXPECT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(mw->GetDesktop()->GetFirstCollection(), nullptr);
    EXPECT_TRUE(Sounds().empty()); // the window is gone: no sound
}

// While a text is being edited the edit keeps the mouse moves, so nothing
// hovers the hide button: the press itself must pick it.
TEST_F(Window, HideButtonTakesAPressWithoutAHoverFirst)
{
    MWinWindow* w = AddWindowWithHideButton();
    RecordingController ctrl;
    w->SetController(&ctrl);
    MWinButton* edit = w->AddButton("Edit", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, "text", 10, 10, 150, 30);
    ASSERT_NE(edit, nullptr);
    edit->TextEditSetLength(20);
    MoveTo(150, 125);
    ASSERT_TRUE(edit->IsFocused());
    edit->TextEditTurnOnEditing();
    ASSERT_TRUE(edit->KeepFocusOnMouseMove());
    _Dimension h;
    w->GetHideButton()->GetActualArea(&h);
    MoveTo(h.x + h.w / 2, h.y + h.h / 2);
    EXPECT_EQ(Press(0), 1);
    EXPECT_EQ(Release(0), 1);
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(ctrl.calls[0], "STD_HIDE");
}

TEST_F(Window, HidePlainCallbackRunsAtTheNextTick)
{
    MWinWindow* w = AddWindowWithHideButton();
    int hidden = 0;
    w->SetHideButtonPlainCallback([](void* user) { ++*static_cast<int*>(user); }, &hidden);
    _Dimension h;
    w->GetHideButton()->GetActualArea(&h);
    MoveTo(h.x + 2, h.y + 2);
    Press(0);
    Release(0);
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(mw->Tick2(), 1);
    EXPECT_EQ(hidden, 1);
}

TEST_F(Window, DraggingByTitleBarOrAnywhere)
{
    _MWinWindowCreateInfo info = WindowInfoAt(100, 100, 200, 100);
    info.title_bar = 1;
    info.move_mode = MWIN_MOVE_TITLE_BAR;
    MWinWindow* w = coll->AddWindow("W", &info);
    _Dimension a;

    MoveTo(150, 150); // body
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(w->IsDragging(), 0);
    Release();

    MoveTo(150, 85); // title bar
    EXPECT_EQ(Press(), 1);
    ASSERT_EQ(w->IsDragging(), 1);
    MoveTo(550, 85); // would put the window at x = 500
    w->GetActualArea(&a);
    EXPECT_EQ(a.x, 440);
    MoveTo(150, 0); // the title bar stays on screen
    w->GetActualArea(&a);
    EXPECT_EQ(a.y, 30);
    Release();
    EXPECT_EQ(w->IsDragging(), 0);

    coll->RemoveAllWindows();
    info.title_bar = 0;
    info.move_mode = MWIN_MOVE_ANYWHERE;
    w = coll->AddWindow("W2", &info);
    MoveTo(150, 150);
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(w->IsDragging(), 1);
    MoveTo(160, 170);
    w->GetActualArea(&a);
    EXPECT_EQ(a.x, 110);
    EXPECT_EQ(a.y, 120);
    Release();
}

TEST_F(Window, HoverSoundOnlyForEnabledTabStops)
{
    MWinWindow* w = AddWindow("W", 0, 0, 640, 480);
    RecordingController ctrl;
    w->SetController(&ctrl);
    MWinButton* on = AddPush(w, "On", 10, 10);
    MWinButton* off = AddPush(w, "Off", 10, 100);
    off->Disable();
    RecordSounds();
    MoveTo(20, 110);
    EXPECT_EQ(off->IsFocused(), 1);
    EXPECT_TRUE(Sounds().empty());
    MoveTo(20, 20);
    EXPECT_EQ(on->IsFocused(), 1);
    EXPECT_EQ(off->IsFocused(), 0);
    EXPECT_EQ(Sounds(), std::vector<int>{MWIN_SOUND_HOVER});
}
