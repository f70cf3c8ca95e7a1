// Dates, times, sleeping and memory use.
#include "EngMiscTime.h"

#include <cstdio>
#include <unistd.h>

bool EngMiscGetProgramsMemoryUsageMB(float* out)
{
    FILE* f = fopen("/proc/self/statm", "r");
    if (!f)
        return false;
    unsigned long size = 0, resident = 0;
    int n = fscanf(f, "%lu %lu", &size, &resident);
    fclose(f);
    if (n != 2)
        return false;
    if (out)
        *out = float(double(resident) * double(sysconf(_SC_PAGESIZE)) / 1048576.0);
    return true;
}
