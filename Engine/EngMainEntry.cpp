// The program's entry point, kept in the engine's library: a program on the
// engine supplies only its program class and the four Main* functions.
#include "EngProgram.h"

int main(int argc, char** argv)
{
    return EngMainRun(argc, argv);
}
