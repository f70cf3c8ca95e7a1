// Printing: the chosen puzzle rendered black on white into a 1024 x 1024
// JPEG file on the user's Desktop.
#pragma once

class EngTexture;
class MWin;

#define PRINT_TEXTURE_SIZE 1024
#define PRINT_NAME_SIZE 128
#define PRINT_DESKTOP_SIZE 256

// Asks which state to print when the puzzle was started, else prints the givens.
void PrintDo();
// Popup result: 1 (OK, "Original") prints the givens only, 0 ("Current") the current state.
void PrintDo2(MWin* mwin, char givens_only, void* user);
// The picture file's name (no folder) for the current level and puzzle; 0 when it does not fit.
char PrintGetFileName(char* out, int size);
// True for a name the game gives its pictures, "Vizavu <level> <puzzle>.jpg".
bool PrintIsPictureName(const char* name);
// Removes what prints killed before their rename left in the Desktop folder;
// gives how many were removed.
int PrintRemoveInterruptedPrints();
// The line printed along the top for the current level and puzzle; 0 when
// there is none or it does not fit (cut to size).
char PrintGetHeader(char* out, int size);
// Renders and saves the picture; the full path goes to path_out. 1 on success.
char PrintMakePicture(char givens_only, char* path_out, int size);
// Draws the header, notes and numbers; margins are {left, right} and {top, bottom}.
char BoardRenderBoardNumbersForPrinting(EngTexture* texture, char givens_only, int* x_margins,
                                        int* y_margins);
