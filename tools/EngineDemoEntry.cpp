// The engine's own program, started by `make run` until the game is built:
// a 60 Hz window that clears to a slowly changing colour. Ctrl+Q or the
// close button ends it; Ctrl+F toggles full screen.
#include <cmath>
#include <cstring>

#include "EngDevice.h"
#include "EngDebug.h"
#include "EngProgram.h"
#include "PrefFolder.h"

namespace
{
class DemoProgram : public EngProgram
{
public:
    char InitCB(int, char**) override
    {
        PrefFolderSetup("Kestrelbay Vizavu", 1, "LogFile.txt", 1);
        DebugInfo("Vizavu engine demo: the game itself is not built yet.");
        return 1;
    }
    char TickCB() override
    {
        phase = float(eng_main_current_time);
        return 1;
    }
    void RenderCB() override
    {
        if (!eng_main_device)
            return;
        float g = 0.35f + 0.15f * std::sin(phase);
        eng_main_device->SetClearColour(0.15f, g, 0.45f);
        eng_main_device->ClearScreenAndDepthBuffers();
    }

private:
    float phase = 0;
};

DemoProgram* demo = nullptr;
_EngCreateWindowParms demo_parms;
} // namespace

char MainCreateAndInitMainProgram(void*, int argc, char** argv, int* exit_code)
{
    demo = new DemoProgram();
    char r = demo->Init(nullptr, argc, argv);
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

void MainExitAndDeleteMainProgram(char)
{
    if (!demo)
        return;
    demo->Exit(1);
    delete demo;
    demo = nullptr;
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    demo_parms = {};
    demo_parms.x = -1;
    demo_parms.y = -1;
    demo_parms.width = 1024;
    demo_parms.height = 768;
    demo_parms.bpp = 32;
    demo_parms.windowed = 1;
    demo_parms.frequency = 60;
    strcpy(demo_parms.class_name, "EngineClass");
    return &demo_parms;
}

const char* MainGetGameName()
{
    return "Vizavu Engine Demo";
}
