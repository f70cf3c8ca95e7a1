// A second program on the engine: a program class and the four Main*
// functions, with main() taken from the engine's library. Arguments: how to
// start ("quiet": InitCB stops quietly, "fail": InitCB fails, "run": a window
// for three frames), then the log file. Prints "CALL <callback>" as each
// callback runs, "RESOURCES <folder>" for its resources folder and "POPUP
// <title>" for each message box.
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "support/TestMainFunctions.h"

namespace
{

const char* start_mode = "";

void Say(const char* what, const char* name)
{
    printf("%s %s\n", what, name);
    fflush(stdout);
}

class SecondProgram : public EngProgram
{
public:
    char InitCB(int, char**) override
    {
        Say("CALL", "InitCB");
        Say("RESOURCES", GetResourcesPath());
        if (!strcmp(start_mode, "quiet"))
            return -1;
        return strcmp(start_mode, "fail") ? 1 : 0;
    }
    char PreCreateWindowCB(_EngCreateWindowParms*) override { return Call("PreCreateWindowCB"); }
    char PreDeviceInitCB() override { return Call("PreDeviceInitCB"); }
    char CreateGraphicsObjectsCB() override { return Call("CreateGraphicsObjectsCB"); }
    char PostDeviceInitCB() override { return Call("PostDeviceInitCB"); }
    char TickCB() override
    {
        if (++ticks == 3)
        {
            Say("CALL", "TickCB x3");
            QuitMainLoop();
        }
        return 1;
    }
    void PreDeviceExitCB() override { Say("CALL", "PreDeviceExitCB"); }
    void ExitCB() override { Say("CALL", "ExitCB"); }

private:
    char Call(const char* name)
    {
        Say("CALL", name);
        return 1;
    }
    int ticks = 0;
};

SecondProgram* program = nullptr;
_EngCreateWindowParms parms = {-1, -1, 320, 240, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};

} // namespace

char MainCreateAndInitMainProgram(void*, int argc, char** argv, int* exit_code)
{
    start_mode = argc > 1 ? argv[1] : "";
    if (argc > 2)
        DebugSetLogFilename(argv[2], 1);
    eng_ok_cancel_popup_function = [](char, const char* title, const char*)
    {
        Say("POPUP", title);
        return char(0);
    };
    eng_popup_function = [](char, const char* title, const char*) { Say("POPUP", title); };
    program = new SecondProgram();
    char r = program->Init(nullptr, argc, argv);
    if (r > 0)
        return 1;
    if (r == 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Init Failed");
    *exit_code = r < 0 ? 0 : -1;
    return 0;
}

VZ_PROGRAM_EXIT_AND_NAME(program, parms, "Second Program")
