// Small helpers on widget and window areas.
#pragma once

#include "EngTypes.h"

namespace mwarea
{
// Copies an area's parts to the outputs that are not null.
template <class T>
void CopyParts(const _Dimension& a, T* x, T* y, T* w, T* h)
{
    if (x)
        *x = (T)a.x;
    if (y)
        *y = (T)a.y;
    if (w)
        *w = (T)a.w;
    if (h)
        *h = (T)a.h;
}
} // namespace mwarea
