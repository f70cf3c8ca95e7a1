// A toolkit with one collection and one full-screen window, for widget tests
// that run without a display.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

namespace vztest
{

// Every callback lands here.
inline std::vector<_MWinButtonCallbackInfo>& Calls()
{
    static std::vector<_MWinButtonCallbackInfo> calls;
    return calls;
}

inline void RecordCall(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    Calls().push_back(*info);
}

class WidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearLog();
        Calls().clear();
        eng_main_window = &window;
        mw = new MWin(nullptr);
        mw->Startup();
        coll = mw->GetDesktop()->AddCollection("Coll");
        ASSERT_NE(coll, nullptr);
        _MWinWindowCreateInfo info = vztest::WindowInfoAt(0, 0, 640, 480);
        win = coll->AddWindow("Win", &info);
        ASSERT_NE(win, nullptr);
        ls = mw->GetLayoutSettings();
        ASSERT_NE(ls, nullptr);
    }

    void TearDown() override
    {
        delete mw;
        eng_main_window = nullptr;
        for (int i = 0; i < 256; i++)
            eng_key_down[i] = 0;
    }

    MWinButton* Add(const char* id, _MWinButtonType kind, float x, float y, float w, float h,
                    const char* text = "", const char* texbut = MWIN_TEXBUT_DEFAULT)
    {
        MWinButton* b = win->AddButton(id, kind, texbut, text, x, y, w, h);
        EXPECT_NE(b, nullptr) << id;
        return b;
    }

    // A button that reports to RecordCall and has the focus.
    MWinButton* AddFocused(const char* id, _MWinButtonType kind, float x, float y, float w, float h,
                           const char* text = "")
    {
        MWinButton* b = Add(id, kind, x, y, w, h, text);
        if (b)
        {
            b->SetCallback(&RecordCall, 0, 0, 0);
            b->Activate();
        }
        return b;
    }

    void Mouse(float x, float y) { mw->SetMousePosRatioed(x, y); }

    EngProgram program;
    EngWindow window;
    MWin* mw = nullptr;
    MWinCollection* coll = nullptr;
    MWinWindow* win = nullptr;
    MWinLayoutSettings* ls = nullptr;
};

} // namespace vztest
