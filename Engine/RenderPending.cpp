// TEMPORARY: see RenderPending.h. Weak, so that the window module's (or
// another stand-in's) definitions take precedence. Removed at merge.
#include "RenderPending.h"

#define VZ_WEAK __attribute__((weak))

VZ_WEAK int eng_main_window_width = 640;
VZ_WEAK int eng_main_window_height = 480;
VZ_WEAK char eng_main_window_windowed = 1;
VZ_WEAK int eng_main_window_frequency = 0;
VZ_WEAK float eng_main_window_x_ratio = 1.0f;
VZ_WEAK float eng_main_window_y_ratio = 1.0f;
VZ_WEAK float eng_main_window_x_ratio_inv = 1.0f;
VZ_WEAK float eng_main_window_y_ratio_inv = 1.0f;
VZ_WEAK int eng_main_window_aa = 0;
VZ_WEAK _EngOrientation eng_main_orientation = 0;
VZ_WEAK _EngOrientation eng_main_orientation_alt = 0;
