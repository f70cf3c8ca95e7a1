// Desktop and collections: ordering, activation, modal windows, and how input
// is routed down to windows and widgets.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "CoreTestFixture.h"
#include "EngToolkitHooks.h"
#include "support/TestSupport.h"

using vztest::CoreTest;
using vztest::Logged;
using vztest::RecordingController;

TEST_F(CoreTest, AddingACollectionActivatesItAndDuplicatesAreRefused)
{
    MWinDesktop* d = mw->GetDesktop();
    MWinCollection* second = d->AddCollection("Second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(coll->IsActive(), 0);
    EXPECT_EQ(second->IsActive(), 1);
    EXPECT_EQ(d->GetActiveCollection(), second);
    EXPECT_EQ(coll->GetNext(), second);

    EXPECT_EQ(d->AddCollection("Coll"), nullptr);
    EXPECT_TRUE(Logged("Collection already exists <Coll>"));
    EXPECT_EQ(d->GetNumCollections(), 2);

    EXPECT_EQ(d->RemoveCollection("Second"), 1);
    EXPECT_EQ(d->GetActiveCollection(), nullptr);
    EXPECT_EQ(d->RemoveCollection("Second"), 0);
    EXPECT_TRUE(Logged("Could not find collection"));
    EXPECT_EQ(d->SetActiveCollection("Coll"), 1);
    EXPECT_EQ(coll->IsActive(), 1);
}

TEST_F(CoreTest, WindowListsAndLookups)
{
    MWinWindow* a = AddWindow("A", 0, 0, 100, 100);
    MWinWindow* a2 = AddWindow("A", 200, 0, 100, 100);
    ASSERT_NE(a2, nullptr);
    EXPECT_TRUE(Logged("Window with id [A] already exists."));
    EXPECT_EQ(a->IsActive(), 0); // the new window is the one active window
    EXPECT_EQ(a2->IsActive(), 1);
    EXPECT_EQ(coll->GetNumWindows(), 2);
    EXPECT_EQ(coll->GetWindowFromID("A", 1), a);
    EXPECT_EQ(coll->GetNthWindow(1), a2);
    EXPECT_EQ(coll->GetNthWindow(3), nullptr);
    EXPECT_TRUE(Logged("No 3'th window found."));
    EXPECT_EQ(mw->GetWindowFromIDs("Coll", "", 1), nullptr);
    EXPECT_TRUE(Logged("No Window ID"));

    EXPECT_EQ(coll->RemoveWindow(a), 1);
    EXPECT_EQ(coll->GetWindowFromID("A", 0), a2);
    MWinCollection* other = mw->GetDesktop()->AddCollection("Other");
    EXPECT_EQ(other->RemoveWindow(a2), 0);
    EXPECT_TRUE(Logged("Window <A> not in collection <Other>"));
    EXPECT_EQ(coll->SetOverallAreaToSizeOfNthWindow(4), 0);
    EXPECT_EQ(coll->HasArea(), 0);
}

TEST_F(CoreTest, EscapeWindowIsForgottenWithItsWindow)
{
    MWinWindow* w = AddWindow("W", 0, 0, 100, 100);
    MWinButton* b = AddPush(w, "Esc", 10, 10);
    w->SetEscapeButton(b);
    EXPECT_EQ(coll->GetEscapeWindow(), w);
    coll->RemoveAllWindows();
    EXPECT_EQ(coll->GetEscapeWindow(), nullptr);
    EXPECT_EQ(Key(27), 0); // no window, nothing posted, no dangling window touched
    EXPECT_EQ(mw->GetNumQueuedMessages(), 0);
}

TEST_F(CoreTest, WindowsOfOtherLayoutsGoWithTheirCollection)
{
    coll->SetScreenLayout(2);
    AddWindow("Handheld", 0, 0, 100, 100);
    coll->SetScreenLayout(0);
    AddWindow("Desktop", 0, 0, 100, 100);
    EXPECT_EQ(coll->GetNumWindows(), 1);
    // The leak checker sees any window left behind by the removal.
    EXPECT_EQ(mw->GetDesktop()->RemoveCollection("Coll"), 1);
}

// ---------------------------------------------------------------------------
// Presses and hover.

class Routing : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        left = AddWindow("Left", 0, 0, 300, 480);
        right = AddWindow("Right", 320, 0, 300, 480);
        left->SetController(&ctrl);
        right->SetController(&ctrl);
        lb = AddPush(left, "LB", 10, 10);
        rb = AddPush(right, "RB", 10, 10);
    }
    void Click(float x, float y)
    {
        MoveTo(x, y);
        Press();
        Release();
    }
    RecordingController ctrl;
    MWinWindow *left = nullptr, *right = nullptr;
    MWinButton *lb = nullptr, *rb = nullptr;
};

TEST_F(Routing, HoverActivatesTheWindowAndWidgetUnderTheMouse)
{
    MoveTo(20, 20);
    EXPECT_EQ(left->IsActive(), 1);
    EXPECT_EQ(right->IsActive(), 0);
    EXPECT_EQ(lb->IsFocused(), 1);
    MoveTo(340, 20);
    EXPECT_EQ(left->IsActive(), 0);
    EXPECT_EQ(lb->IsFocused(), 0);
    EXPECT_EQ(rb->IsFocused(), 1);
    MoveTo(310, 20); // between the windows
    EXPECT_EQ(coll->GetActiveWindow(), nullptr);
}

TEST_F(Routing, PressOnAnInactiveWindowOnlyActivatesIt)
{
    mw->GetSettings()->hover_activates_window = 0;
    MoveTo(20, 20);
    ASSERT_EQ(coll->GetActiveWindow(), right); // the last window added
    EXPECT_EQ(Press(), 1);
    EXPECT_EQ(coll->GetActiveWindow(), left);
    EXPECT_EQ(lb->IsPressed(), 0);
    Release();
    EXPECT_TRUE(ctrl.calls.empty());

    Click(20, 20);
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(ctrl.calls[0], "LB");
}

TEST_F(Routing, RightPressOutsideTheActiveWindowOnlyDropsItsFocus)
{
    mw->GetSettings()->hover_activates_window = 0;
    Click(20, 20); // activates Left
    Click(20, 20);
    ASSERT_EQ(coll->GetActiveWindow(), left);
    MoveTo(20, 20);
    ASSERT_EQ(lb->IsFocused(), 1);
    MoveTo(400, 20);
    EXPECT_EQ(Press(1), 0);
    EXPECT_EQ(lb->IsFocused(), 0);
    EXPECT_EQ(coll->GetActiveWindow(), left);
}

TEST_F(Routing, PressOutsideEveryCollectionAreaChangesNothing)
{
    coll->SetArea(0, 0, 100, 100);
    MWinCollection* other = mw->GetDesktop()->AddCollection("Other");
    other->SetArea(500, 400, 100, 50);
    MoveTo(300, 300);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(other->IsActive(), 0); // the hover pass found no collection
    EXPECT_EQ(coll->IsActive(), 0);
    MoveTo(20, 20);
    EXPECT_EQ(coll->IsActive(), 1);
}

TEST_F(Routing, ModalWindowTakesPressesAndHover)
{
    MWinWindow* dlg = AddWindow("Dlg", 200, 200, 100, 100, MWIN_WINDOW_TYPE_MODAL);
    ASSERT_EQ(coll->IsModal(), 1);
    MoveTo(20, 20);
    EXPECT_EQ(left->IsActive(), 0);
    EXPECT_EQ(dlg->IsActive(), 1);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(left->IsActive(), 0);

    dlg->Hide();
    EXPECT_EQ(coll->IsModal(), 0);
    EXPECT_EQ(left->IsActive(), 1); // the window under the mouse
}

TEST_F(Routing, DoubleClickWithoutAnActiveWindowIsTaken)
{
    MoveTo(310, 20);
    ASSERT_EQ(coll->GetActiveWindow(), nullptr);
    EXPECT_EQ(mw->ProcessInput(ENG_INPUT_DOUBLE_CLICK, 0, 0), 1);
}

TEST_F(Routing, EscapeReachesTheControllerAtTheNextTick)
{
    right->SetEscapeButton(rb);
    MoveTo(20, 20);
    EXPECT_EQ(Key(27), 1);
    EXPECT_TRUE(ctrl.calls.empty());
    mw->Tick2();
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(ctrl.calls[0], "RB");
}

TEST_F(Routing, KeyWhoseCallbackRemovesTheCollectionStopsTheWalk)
{
    MoveTo(20, 20);
    ASSERT_EQ(lb->IsFocused(), 1);
    ctrl.action = [this] { mw->GetDesktop()->RemoveCollection("Coll"); };
    EXPECT_EQ(Key(13), 1); // a focused push button fires at once
    ASSERT_EQ(ctrl.calls.size(), 1u);
    EXPECT_EQ(mw->GetDesktop()->GetCollectionFromID("Coll", 0), nullptr);
    EXPECT_EQ(Key(13), 0);
}

TEST_F(Routing, ButtonsChangedFocusesTheWidgetUnderTheCursor)
{
    static int cursor[2] = {340, 20};
    mw->SetGetCursorPosCB(
        [](int* x, int* y, void*, void*)
        {
            *x = cursor[0];
            *y = cursor[1];
        },
        nullptr, nullptr);
    mw->ButtonsChanged();
    EXPECT_EQ(coll->GetActiveWindow(), right);
    EXPECT_EQ(rb->IsFocused(), 1);
    float x = 0, y = 0;
    mw->GetMousePos(&x, &y);
    EXPECT_EQ(x, 340);
    EXPECT_EQ(y, 20);
}

TEST_F(CoreTest, ScreenManagerHooksReachTheToolkit)
{
    ASSERT_NE(eng_toolkit_hooks.is_on, nullptr);
    EXPECT_EQ(eng_toolkit_hooks.is_on(mw), 1);
    eng_toolkit_hooks.shutdown(mw);
    EXPECT_EQ(mw->IsOn(), 0);
    EXPECT_EQ(eng_toolkit_hooks.startup(mw), 1);
    EXPECT_EQ(mw->IsOn(), 1);
    coll = mw->GetDesktop()->AddCollection("Again");
    eng_toolkit_hooks.set_screen_layout(mw, 2);
    EXPECT_EQ(mw->GetScreenLayout(), 2);
    EXPECT_EQ(coll->GetScreenLayout(), 2);
}

TEST_F(CoreTest, RemovingThePopupCollectionClosesThePopup)
{
    ASSERT_EQ(mw->PopupCreateCollection(), 1);
    ASSERT_NE(mw->GetPopupCollection(), nullptr);
    EXPECT_EQ(mw->GetDesktop()->darken, 1);
    EXPECT_EQ(mw->GetDesktop()->RemoveCollection(MWIN_POPUP_COLLECTION_ID), 1);
    EXPECT_EQ(mw->GetPopupCollection(), nullptr);
    EXPECT_EQ(mw->PopupIsOn(), 0);
    EXPECT_EQ(mw->GetDesktop()->darken, 0);
    EXPECT_EQ(mw->RenderPopups(), 0);
    EXPECT_EQ(mw->GetDesktop()->GetNumCollections(), 1);
}

TEST_F(CoreTest, CollectionBackgroundFileChecks)
{
    vztest::TempDir dir;
    std::string file = dir.File("bg.jpg");
    vztest::WriteFile(file, "not a jpeg");
    const std::string long_name(256, 'b');
    EXPECT_EQ(coll->SetBackgroundTextureFilename(long_name.c_str(), 0, 0, 0), 0);
    EXPECT_TRUE(Logged("Filename too long"));
    EXPECT_EQ(coll->SetBackgroundTextureFilename("missing.jpg", 0, 0, 0), 0);
    EXPECT_TRUE(Logged("File does not exist <missing.jpg>"));
    const std::string fifo = dir.File("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(coll->SetBackgroundTextureFilename(fifo.c_str(), 0, 0, 0), 0);
    EXPECT_TRUE(Logged("Not a regular file <" + fifo + ">"));
    EXPECT_EQ(coll->SetBackgroundTextureFilename(nullptr, 0, 0, 0), 1);
    // The toolkit is on, so the texture is made at once; it cannot load here.
    EXPECT_EQ(coll->SetBackgroundTextureFilename(file.c_str(), 0, 0, 0), 1);
    EXPECT_TRUE(Logged("Could not load bg texture file <" + file + ">"));
    EXPECT_EQ(coll->CreateBgTexture(), 1); // the name was forgotten
}
