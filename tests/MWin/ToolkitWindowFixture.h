// A toolkit in the engine's own window, fed through the window's event path:
// one collection holding one window over the whole 640 x 480 space.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin/MWin.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinTextures.h"
#include "MWin/MWinWindow.h"
#include "support/TestSupport.h"
#include "WindowInfo.h"

namespace vztest
{

// A second program on the engine: the toolkit gets the input and follows
// the device, and its screen is not built again when the device is.
class ToolkitProgram : public EngProgram
{
public:
    MWin* mw = nullptr;
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override
    {
        return mw ? mw->ProcessInput(type, p1, p2) : 0;
    }
    char CreateGraphicsObjectsCB() override { return mw ? mw->CreateGraphicsObjects() : 1; }
    void DestroyGraphicsObjectsCB() override
    {
        if (mw)
            mw->DestroyGraphicsObjects();
    }
};

// For VZ_TEST_MAIN_FUNCTIONS(vztest::toolkit_program, vztest::toolkit_parms, name).
inline _EngCreateWindowParms toolkit_parms;
inline ToolkitProgram* toolkit_program = nullptr;

class ToolkitWindowTest : public LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        toolkit_parms = {0, 0, 640, 480, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
        toolkit_program = new ToolkitProgram();
        ASSERT_EQ(EngMainCreateMainWindowAndDevice(), 1);
        mw = new MWin(nullptr);
        Skin(mw->GetTextures());
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(mw->SetupDefaultFont());
        ASSERT_TRUE(mw->Startup());
        toolkit_program->mw = mw;
        MWinCollection* coll = mw->GetDesktop()->AddCollection("Coll");
        ASSERT_NE(coll, nullptr);
        _MWinWindowCreateInfo info = WindowInfoAt(0, 0, 640, 480);
        strcpy(info.back_texbut, MWIN_TEXBUT_NONE);
        win = coll->AddWindow("Win", &info);
        ASSERT_NE(win, nullptr);
    }
    void TearDown() override
    {
        if (toolkit_program)
            toolkit_program->mw = nullptr;
        delete mw;
        mw = nullptr;
        MainExitAndDeleteMainProgram(1);
        LogTest::TearDown();
    }

    // Textures the test adds before the toolkit starts.
    virtual void Skin(MWinTextures*) {}

    static void Pump()
    {
        for (int i = 0; i < 1000 && eng_main_window->GetWindowEvents(); i++)
        {
        }
    }

    MWin* mw = nullptr;
    MWinWindow* win = nullptr;
};

} // namespace vztest
