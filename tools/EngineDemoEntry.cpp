// The engine's own program, started by `make run` until the game is built.
#include <cstdio>

#include "EngDebug.h"

int main()
{
    DebugInfo("Vizavu engine demo: the game itself is not built yet.");
    printf("This is the engine's own program; the game is not built yet.\n");
    return 0;
}
