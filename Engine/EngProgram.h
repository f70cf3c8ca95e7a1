// The application object. (Minimal for now: the log and the exits reach the
// program through it; callbacks and main loops come with the framework.)
#pragma once

#include "EngTypes.h"

typedef int _EngDeviceType;

class EngProgram
{
public:
    EngProgram();
    virtual ~EngProgram();

    char IsExiting() const { return exiting; }
    void SetExitingFlag() { exiting = 1; }
    // The emergency exit: shows the text and ends the program.
    virtual void ForceExitNow(const char* title, const char* text);
    virtual void Exit(char normal);

protected:
    char exiting = 0;
};

extern EngProgram* eng_main_program;
extern _EngDeviceType eng_main_device_type;
extern double eng_main_current_time;
