// Printing the chosen puzzle into a picture file.
#include "Print.h"

void PrintDo() {}
void PrintDo2(MWin*, char, void*) {}
char PrintGetFileName(char* out, int size)
{
    if (out && size > 0)
        out[0] = 0;
    return 0;
}
char PrintMakePicture(char, char* path_out, int size)
{
    if (path_out && size > 0)
        path_out[0] = 0;
    return 0;
}
char BoardRenderBoardNumbersForPrinting(EngTexture*, char, int*, int*)
{
    return 0;
}
