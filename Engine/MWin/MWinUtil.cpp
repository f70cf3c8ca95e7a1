#include "MWinUtil.h"

#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngWindow.h"
#include "MWinButton.h"

char MWinCopyID(char* dst, const char* src)
{
    if (!DebugCheckOk(dst != nullptr, "MWinCopyID", "No Dest ID"))
        return 0;
    if (!DebugCheckOk(src != nullptr, "MWinCopyID", "No Source ID"))
        return 0;
    if (!DebugCheckOk(strlen(src) < MWIN_ID_SIZE, "MWinCopyID", "Source string Too Long <%s>", src))
        return 0;
    EngSafeStrcpy(dst, src, MWIN_ID_SIZE);
    return 1;
}

char MWinIsIDEmpty(const char* id)
{
    return (!id || !id[0]) ? 1 : 0;
}

char MWinAreIDsTheSame(const char* a, const char* b)
{
    if (MWinIsIDEmpty(a) || MWinIsIDEmpty(b))
        return 0;
    return strcmp(a, b) == 0 ? 1 : 0;
}

const char* MWinDisplayID(const char* id)
{
    return MWinIsIDEmpty(id) ? "(empty id)" : id;
}

_Dimension* MWinCopyArea(_Dimension* dst, const _Dimension* src)
{
    if (!DebugCheckOk(dst && src, "MWinCopyArea", "Parameter Error"))
        return nullptr;
    *dst = *src;
    return dst;
}

_Dimension* MWinSetArea(_Dimension* d, float x, float y, float w, float h)
{
    if (!DebugCheckOk(d != nullptr, "MWinSetArea", "Parameter Error"))
        return nullptr;
    d->x = x;
    d->y = y;
    d->w = w;
    d->h = h;
    return d;
}

static MWinButton* Follow(MWinButton* b, int n, bool forward, const char* func)
{
    if (!b)
    {
        DebugErrorAlt(func, "No button");
        return nullptr;
    }
    if (n < 0)
    {
        DebugErrorAlt(func, "Bad num ahead number");
        return nullptr;
    }
    for (int i = 0; i < n && b; i++)
        b = forward ? b->next : b->prev;
    if (!b)
        DebugErrorAlt(func, forward ? "Next button not found" : "Prev button not found");
    return b;
}

MWinButton* MWinGetNextButton(MWinButton* b, int n)
{
    return Follow(b, n, true, __PRETTY_FUNCTION__);
}

MWinButton* MWinGetPrevButton(MWinButton* b, int n)
{
    return Follow(b, n, false, __PRETTY_FUNCTION__);
}

float MWinApplyWidescreenRatioToXPos(float x, float w)
{
    float r = eng_main_window_x_widescreen_ratio;
    if (r == 1.0f)
        return x;
    return x + (w - r * w) / 2;
}

float MWinApplyNarrowscreenRatioToYPos(float y, float h)
{
    float r = eng_main_window_y_narrowscreen_ratio;
    if (r == 1.0f)
        return y;
    return y + (h - r * h) / 2;
}
