// A started toolkit with one collection and helpers to make windows and
// widgets, for the core tests that run without a display.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinCollectionController.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

namespace vztest
{

// Records which widgets reached the controller; may run an action inside the call.
class RecordingController : public MWinCollectionController
{
public:
    char CreateCollection(MWin*) override { return 1; }
    void RemoveVars() override {}
    void StartingCB() override {}
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* b, _MWinButtonCallbackInfo* info) override
    {
        calls.push_back(info ? info->button_id : b->GetID());
        if (action)
            action();
        return 1;
    }
    std::vector<std::string> calls;
    std::function<void()> action;
};

class CoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        eng_main_window = &window;
        mw = new MWin(nullptr);
        mw->Startup();
        coll = mw->GetDesktop()->AddCollection("Coll");
        ASSERT_NE(coll, nullptr);
    }

    void TearDown() override
    {
        delete mw;
        eng_main_window = nullptr;
        for (char& k : eng_key_down)
            k = 0;
    }

    MWinWindow* AddWindow(const char* id, float x, float y, float w, float h, int type = 0, char title = 0,
                          int move = 0)
    {
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(x, y, w, h);
        info.type = type;
        info.title_bar = title;
        info.move_mode = move;
        MWinWindow* w2 = coll->AddWindow(id, &info);
        EXPECT_NE(w2, nullptr) << id;
        return w2;
    }

    // A push button that reports to the controller when the window has one.
    MWinButton* AddPush(MWinWindow* w, const char* id, float x, float y, float bw = 50, float bh = 20)
    {
        MWinButton* b = w->AddButton(id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", x, y, bw, bh);
        EXPECT_NE(b, nullptr) << id;
        return b;
    }

    // Moves the mouse to (x, y) in the 640 x 480 space through the toolkit's input.
    char MoveTo(float x, float y) { return mw->ProcessInput(ENG_INPUT_MOUSE_MOVE, int(x), int(y)); }
    char Press(int button = 0) { return mw->ProcessInput(ENG_INPUT_MOUSE_BUTTON, button, 1); }
    char Release(int button = 0) { return mw->ProcessInput(ENG_INPUT_MOUSE_BUTTON, button, 0); }
    char Key(int key) { return mw->ProcessInput(ENG_INPUT_KEY_DOWN, key, 0); }

    EngProgram program;
    EngWindow window;
    MWin* mw = nullptr;
    MWinCollection* coll = nullptr;
};

} // namespace vztest
