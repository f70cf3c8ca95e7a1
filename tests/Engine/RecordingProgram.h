// A program object that records its callbacks, and the four Main* functions
// that run it. Include in exactly one source file of a test program.
#pragma once

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngProgram.h"
#include "support/TestMainFunctions.h"
#include "support/TestSupport.h"

namespace vztest
{

struct RecordingConfig
{
    char init = 1;
    char pre_create_window = 1;
    char pre_device_init = 1;
    char create_graphics = 1;
    char post_device_init = 1;
    // Ends the loop after this many ticks (0: never).
    int exit_after_ticks = 3;
    _EngCreateWindowParms parms = {-1, -1, 320, 240, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
    std::function<void(int tick)> on_tick;
    // Result of the n-th PreCreateWindowCB (from 1), when set.
    std::function<char(int n)> pre_create_window_at;
    std::function<void()> on_post_device_init;
    bool record_ticks = false;
    bool record_input = false;
};

inline RecordingConfig& Config()
{
    static RecordingConfig c;
    return c;
}

inline std::vector<std::string>& Calls()
{
    static std::vector<std::string> calls;
    return calls;
}

inline std::string JoinCalls()
{
    std::string s;
    for (const std::string& c : Calls())
        s += (s.empty() ? "" : " ") + c;
    return s;
}

class RecordingProgram : public EngProgram
{
public:
    char InitCB(int, char**) override { return Rec("InitCB", Config().init); }
    char PreCreateWindowCB(_EngCreateWindowParms*) override
    {
        pre_create_calls++;
        if (Config().pre_create_window_at)
            return Rec("PreCreateWindowCB", Config().pre_create_window_at(pre_create_calls));
        return Rec("PreCreateWindowCB", Config().pre_create_window);
    }
    char PreDeviceInitCB() override { return Rec("PreDeviceInitCB", Config().pre_device_init); }
    char PostDeviceInitCB() override
    {
        char r = Rec("PostDeviceInitCB", Config().post_device_init);
        if (Config().on_post_device_init)
            Config().on_post_device_init();
        return r;
    }
    char PreCreateGraphicsObjectsCB() override { return Rec("PreCreateGraphicsObjectsCB", 1); }
    char CreateGraphicsObjectsCB() override
    {
        return Rec("CreateGraphicsObjectsCB", Config().create_graphics);
    }
    char PostCreateGraphicsObjectsCB() override { return Rec("PostCreateGraphicsObjectsCB", 1); }
    void PreDestroyGraphicsDeviceCB() override { Rec("PreDestroyGraphicsDeviceCB", 0); }
    void DestroyGraphicsObjectsCB() override { Rec("DestroyGraphicsObjectsCB", 0); }
    void PostDestroyGraphicsObjectsCB() override { Rec("PostDestroyGraphicsObjectsCB", 0); }
    char TickCB() override
    {
        ticks++;
        if (Config().record_ticks)
            Rec("TickCB", 0);
        if (Config().on_tick)
            Config().on_tick(ticks);
        if (Config().exit_after_ticks && ticks >= Config().exit_after_ticks)
            SetExitingFlag();
        return 1;
    }
    void RenderCB() override
    {
        renders++;
        EngProgram::RenderCB();
    }
    char InputCB(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2) override
    {
        if (Config().record_input)
            Calls().push_back("InputCB(" + std::to_string(int(type)) + "," + std::to_string(p1) + "," +
                              std::to_string(p2) + ")");
        return 0;
    }
    void ComputerSleepingCB(char s) override
    {
        Calls().push_back("ComputerSleepingCB(" + std::to_string(s) + ")");
    }
    void WindowActivatedCB(char a) override
    {
        Calls().push_back("WindowActivatedCB(" + std::to_string(a) + ")");
    }
    void WindowResizedCB() override { Rec("WindowResizedCB", 0); }
    void PreDeviceExitCB() override { Rec("PreDeviceExitCB", 0); }
    void PostDeviceExitCB() override { Rec("PostDeviceExitCB", 0); }
    void ExitCB() override { Rec("ExitCB", 0); }

    int ticks = 0;
    int renders = 0;
    int pre_create_calls = 0;

private:
    char Rec(const char* name, char result)
    {
        Calls().push_back(name);
        return result;
    }
};

inline RecordingProgram*& TheProgram()
{
    static RecordingProgram* p = nullptr;
    return p;
}

// A test with a fresh log, no recorded calls and the default recording set-up.
class RecordingTest : public LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        Calls().clear();
        Config() = RecordingConfig();
    }
};

} // namespace vztest

char MainCreateAndInitMainProgram(void*, int argc, char** argv, int* exit_code)
{
    vztest::TheProgram() = new vztest::RecordingProgram();
    char r = vztest::TheProgram()->Init(nullptr, argc, argv);
    if (r < 0)
    {
        *exit_code = 0;
        return 0;
    }
    if (r == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Init Failed");
        *exit_code = -1;
        return 0;
    }
    return 1;
}

VZ_PROGRAM_EXIT_AND_NAME(vztest::TheProgram(), vztest::Config().parms, "Recording")
