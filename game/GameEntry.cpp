// Pulls the game's entry functions into the program (main is the engine's):
// the engine library calls them, but they live in the game library, which the
// linker has already passed by then.
#include "EngProgram.h"

extern char (*const vizavu_game_entry)(void*, int, char**, int*);
char (*const vizavu_game_entry)(void*, int, char**, int*) = MainCreateAndInitMainProgram;
