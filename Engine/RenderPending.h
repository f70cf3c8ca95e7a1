// TEMPORARY: window and orientation globals the renderer reads until the
// window module defines them. The lead removes this file and
// RenderPending.cpp at merge (the includes below then come from the window).
#pragma once

#include "EngMath.h"
#include "EngMatrix.h"
#include "EngTypes.h"

typedef int _EngOrientation;
extern int eng_main_window_width;
extern int eng_main_window_height;
extern char eng_main_window_windowed;
extern int eng_main_window_frequency;
extern float eng_main_window_x_ratio;
extern float eng_main_window_y_ratio;
extern float eng_main_window_x_ratio_inv;
extern float eng_main_window_y_ratio_inv;
extern int eng_main_window_aa;
extern _EngOrientation eng_main_orientation;
extern _EngOrientation eng_main_orientation_alt;
