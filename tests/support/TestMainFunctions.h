// The four Main* functions for a test program that makes its one program
// object itself. Use once, outside any namespace, in one source file.
#pragma once

#include "EngProgram.h"

// program: the test's pointer to its program object (deleted and cleared at
// exit); parms: its window creation record; name: the program's name.
#define VZ_TEST_MAIN_FUNCTIONS(program, parms, name)                                                         \
    char MainCreateAndInitMainProgram(void*, int, char**, int*)                                              \
    {                                                                                                        \
        return 1;                                                                                            \
    }                                                                                                        \
    void MainExitAndDeleteMainProgram(char)                                                                  \
    {                                                                                                        \
        if (!(program))                                                                                      \
            return;                                                                                          \
        (program)->Exit(1);                                                                                  \
        delete (program);                                                                                    \
        (program) = nullptr;                                                                                 \
    }                                                                                                        \
    _EngCreateWindowParms* MainGetCreateWindowParms()                                                        \
    {                                                                                                        \
        return &(parms);                                                                                     \
    }                                                                                                        \
    const char* MainGetGameName()                                                                            \
    {                                                                                                        \
        return name;                                                                                         \
    }
