// The creation record of a toolkit window at a given place and size, the rest
// as the toolkit's defaults have it.
#pragma once

#include "MWin/MWinWindow.h"

namespace vztest
{

inline _MWinWindowCreateInfo WindowInfoAt(float x, float y, float w, float h)
{
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoDefaults(&info);
    info.x = x;
    info.y = y;
    info.w = w;
    info.h = h;
    return info;
}

} // namespace vztest
