// The engine's run from start to end; main() calls it. The Main* functions
// it uses come from the program (game, demo or test).
#include "EngDevice.h"
#include "EngMain.h"
#include "EngDebug.h"
#include "EngProgram.h"
#include "Linux/EngSignals_LNX.h"
#include "Linux/EngWindow_LNX.h"

char EngMainCreateMainWindowAndDevice()
{
    if (!eng_main_program)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No main program");
        return 0;
    }
    return eng_main_program->CreateMainWindowAndDevice(MainGetGameName(), nullptr,
                                                       MainGetCreateWindowParms());
}

int EngMainRun(int argc, char** argv)
{
    if (eng_main_program)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "eng_main_program already exists.");
        return -1;
    }
    // Before anything starts SDL, which would otherwise take the signals.
    EngSignalsInstall_LNX();
    eng_main_error_exit = 0;
    int exit_code = 0;
    char r = MainCreateAndInitMainProgram(nullptr, argc, argv, &exit_code);
    if (r != 1)
    {
        if (exit_code)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Init returned %d,  Exit %d.", r, exit_code);
            EngMainShowErrorAndLogFilePopupOnExit();
            MainExitAndDeleteMainProgram(0);
        }
        else
            MainExitAndDeleteMainProgram(1);
        return exit_code;
    }
    if (!eng_main_program)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "eng_main_program was not created.");
        EngMainShowErrorAndLogFilePopupOnExit();
        MainExitAndDeleteMainProgram(0);
        return -1;
    }
    EngMainCheckInternals();
    char c = EngMainCreateMainWindowAndDevice();
    if (c < 0)
    {
        // A quiet stop: nothing was started that needs saving.
        MainExitAndDeleteMainProgram(1);
        return c;
    }
    if (c == 0)
    {
        EngMainShowErrorAndLogFilePopupOnExit();
        MainExitAndDeleteMainProgram(0);
        return -1;
    }
    if (eng_main_program)
        eng_main_program->RunMainLoop();
    MainExitAndDeleteMainProgram(1);
    EngWindowShutdown_LNX();
    return eng_main_error_exit ? -1 : 0;
}
