// The program's entry point.
#include "EngProgram.h"

int main(int argc, char** argv)
{
    return EngMainRun(argc, argv);
}
