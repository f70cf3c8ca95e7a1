// Pulls the game's entry functions into the program (main is the engine's).
#include "EngProgram.h"

[[maybe_unused]] static char (*const keep_game_entry)(void*, int, char**,
                                                      int*) = MainCreateAndInitMainProgram;
