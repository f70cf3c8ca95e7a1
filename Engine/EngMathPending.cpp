// TEMPORARY: stand-ins for symbols owned by other modules that are not on main
// yet. Remove this file when the real definitions are merged.
#include <ctime>

class EngDevice;

// Layout queries: the display orientation (always upright on the desktop).
int EngMainGetOrientation()
{
    return 0;
}

// Main loop: the frame period in seconds.
float eng_main_frames_per_second = 1.0f / 60.0f;

// Graphics device.
EngDevice* eng_main_device = nullptr;

// Engine clock: seconds since the whole second of the first reading.
extern double eng_main_current_time;
double EngMainUpdateCurrentTime()
{
    static time_t start = 0;
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    if (start == 0)
        start = ts.tv_sec;
    eng_main_current_time = double(ts.tv_sec - start) + double(ts.tv_nsec) / 1e9;
    return eng_main_current_time;
}
