// The engine's Main* functions for test programs. Use once, outside any
// namespace, in one source file.
#pragma once

#include "EngProgram.h"

// The three Main* functions that end a program and describe it: program is
// the pointer to its program object (deleted and cleared at exit), parms its
// window creation record, name the program's name.
#define VZ_PROGRAM_EXIT_AND_NAME(program, parms, name)                                                      \
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

// All four, for a test program that makes its program object itself.
#define VZ_TEST_MAIN_FUNCTIONS(program, parms, name)                                                         \
    char MainCreateAndInitMainProgram(void*, int, char**, int*)                                              \
    {                                                                                                        \
        return 1;                                                                                            \
    }                                                                                                        \
    VZ_PROGRAM_EXIT_AND_NAME(program, parms, name)
