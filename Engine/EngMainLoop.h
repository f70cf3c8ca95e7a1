// The engine clock and the sleep used by the main loops.
#pragma once

// Seconds since the whole second of the first reading (monotonic).
double EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime();
// The same, also stored in eng_main_current_time.
double EngMainUpdateCurrentTime();

// Test seams: a raw clock in seconds (monotonic by default) and the sleep of
// the loops and pauses. Only tests replace them.
extern double (*eng_main_raw_clock)();
extern void (*eng_main_sleep_func)(double seconds);
// Forgets the start second so that the next reading starts the clock again.
void EngMainResetClockForTests();
