// The application object.
#include "EngProgram.h"

#include "EngMiscStrings.h"

EngProgram* eng_main_program = nullptr;
_EngDeviceType eng_main_device_type = 1;
double eng_main_current_time = 0;

EngProgram::EngProgram()
{
    eng_main_program = this;
}

EngProgram::~EngProgram()
{
    if (eng_main_program == this)
        eng_main_program = nullptr;
}

void EngProgram::ForceExitNow(const char* title, const char* text)
{
    exiting = 1;
    EngMiscShowPopupMessage(1, title, text);
}

void EngProgram::Exit(char)
{
    exiting = 1;
}
