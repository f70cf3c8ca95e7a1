// The engine's own program, started by `make run` until the game is built.
#include <cstdio>

#include "EngDebug.h"
#include "PrefFolder.h"

int main()
{
    const char* folder = PrefFolderSetup("Kestrelbay Vizavu", 1, "LogFile.txt", 1);
    DebugInfo("Vizavu engine demo: the game itself is not built yet.");
    printf("This is the engine's own program; the game is not built yet.\n");
    printf("Data folder: %s\nLog file: %s\n", folder, DebugGetLogFilename());
    return 0;
}
