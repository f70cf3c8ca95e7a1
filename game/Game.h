// The game's side of the engine's program entry: its creation record and name.
#pragma once

#include "EngProgram.h"
