// Dates, times, sleeping and memory use.
#pragma once

#include "EngTypes.h"

// The program's resident memory in MB; false when it cannot be read.
bool EngMiscGetProgramsMemoryUsageMB(float* out);
