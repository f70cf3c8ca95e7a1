// Device kind, screen layouts and display orientation.
#include "EngWhichDevice.h"

#include <cstdio>
#include <sys/utsname.h>

#include "EngDebug.h"
#include "EngToolkitHooks.h"
#include "EngWindow.h"

char ewd_desktop_mode = 1;
char ewd_tablet_mode = 0;
_EngOrientation eng_main_orientation = 0;
_EngOrientation eng_main_orientation_alt = 0;

namespace
{
char device_name[64];
}

char IS_DESKTOP()
{
    return ewd_desktop_mode;
}
char IS_TABLET()
{
    return ewd_tablet_mode ? 1 : 0;
}
char IS_HANDHELD_OR_TABLET()
{
    return ewd_tablet_mode ? 1 : 0;
}
char IS_HD_TABLET()
{
    return ewd_tablet_mode == 2 ? 1 : 0;
}

void EngWhichDeviceSetDesktopMode(MWin* mwin)
{
    ewd_desktop_mode = 1;
    ewd_tablet_mode = 0;
    if (mwin && eng_toolkit_hooks.set_screen_layout)
        eng_toolkit_hooks.set_screen_layout(mwin, 0);
}

void EngWhichDeviceSetTabletMode(char hd, MWin* mwin)
{
    ewd_desktop_mode = 0;
    ewd_tablet_mode = char(hd + 1);
    if (mwin && eng_toolkit_hooks.set_screen_layout)
        eng_toolkit_hooks.set_screen_layout(mwin, eng_main_window_width < eng_main_window_height ? 3 : 4);
}

const char* EngWhichDeviceGetDeviceName(char detailed)
{
    if (!detailed)
        return "Linux";
    struct utsname u;
    if (uname(&u) != 0)
        snprintf(device_name, sizeof(device_name), "Linux");
    else
        snprintf(device_name, sizeof(device_name), "Linux %.56s", u.release);
    return device_name;
}

int EngWhichDeviceGetDeviceOrientation()
{
    if (ewd_desktop_mode)
        return 0;
    if (ewd_tablet_mode)
        return eng_main_orientation < 2 ? 3 : 4;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown");
    return 0;
}

_EngLayout EngLayoutsGetLayout(_EngLayout layout)
{
    if (layout >= 0)
        return layout;
    if (ewd_desktop_mode)
        return 0;
    if (eng_main_orientation >= 0)
        return 1 + (eng_main_orientation >= 2 ? 1 : 0) + (ewd_tablet_mode ? 2 : 0);
    return 0;
}

char EngLayoutsIsMobile(_EngLayout l)
{
    return EngLayoutsGetLayout(l) > 0 ? 1 : 0;
}

char EngLayoutsIsHandheld(_EngLayout l)
{
    l = EngLayoutsGetLayout(l);
    return l == 1 || l == 2 ? 1 : 0;
}

char EngLayoutsIsTablet(_EngLayout l)
{
    l = EngLayoutsGetLayout(l);
    return l == 3 || l == 4 ? 1 : 0;
}

char EngLayoutsIsPortrait(_EngLayout l)
{
    l = EngLayoutsGetLayout(l);
    return l == 0 || l == 1 || l == 3 ? 1 : 0;
}

char EngLayoutsIsLandscape(_EngLayout l)
{
    l = EngLayoutsGetLayout(l);
    return l == 2 || l == 4 ? 1 : 0;
}

namespace
{
struct LayoutSize
{
    int width, height;
};

// Reference size of each mobile layout; the desktop entry is the fallback.
const LayoutSize kLayoutSizes[] = {{640, 480}, {320, 480}, {480, 320}, {768, 1024}, {1024, 768}};

const LayoutSize& SizeOfLayout(const char* func, _EngLayout l)
{
    l = EngLayoutsGetLayout(l);
    if (l < 1 || l > 4)
    {
        DebugErrorAlt(func, "Not mobile.");
        l = 0;
    }
    return kLayoutSizes[l];
}
} // namespace

int EngLayoutsGetWidth(_EngLayout l)
{
    return SizeOfLayout(__PRETTY_FUNCTION__, l).width;
}

int EngLayoutsGetHeight(_EngLayout l)
{
    return SizeOfLayout(__PRETTY_FUNCTION__, l).height;
}

float EngLayoutsGetRatio(_EngLayout l)
{
    return float(EngLayoutsGetWidth(l)) / float(EngLayoutsGetHeight(l));
}

void EngMainSetOrientation(_EngOrientation o)
{
    eng_main_orientation = o;
    eng_main_orientation_alt = 0;
}

_EngOrientation EngMainGetOrientation()
{
    return eng_main_orientation;
}
_EngOrientation EngMainGetOrientationAlt()
{
    return eng_main_orientation_alt;
}
_EngOrientation EngMainUpdateOrientationFromDevice()
{
    return eng_main_orientation;
}
char EngMainIsOrientationPortraitOrPortraitUpsideDown()
{
    return eng_main_orientation < 2 ? 1 : 0;
}
char EngMainIsOrientationLandscapeLeftOrLandscapeRight()
{
    return eng_main_orientation > 1 ? 1 : 0;
}

void EngMainSetOrientationFromStartupOrientation(_EngStartupOrientation o)
{
    if (o == 0)
        return;
    if (o == 1)
    {
        if (eng_main_orientation != 0 && eng_main_orientation != 1)
            EngMainSetOrientation(0);
        return;
    }
    if (eng_main_orientation != 2 && eng_main_orientation != 3)
        EngMainSetOrientation(2);
}

namespace
{
void Out(float* ox, float* oy, float x, float y)
{
    if (ox)
        *ox = x;
    if (oy)
        *oy = y;
}
} // namespace

char EngMainChangeMousePosRatioedForOrientation(float x, float y, float* ox, float* oy)
{
    float w = float(eng_main_window_width), h = float(eng_main_window_height);
    if (w <= 0 || h <= 0)
        return 0;
    switch (eng_main_orientation_alt)
    {
    case 0:
        Out(ox, oy, x * 640.0f / w, y * 480.0f / h);
        break;
    case 1:
        Out(ox, oy, 640.0f - x * 640.0f / w, 480.0f - y * 480.0f / h);
        break;
    case 2:
        Out(ox, oy, y * 640.0f / h, 480.0f - x * 480.0f / w);
        break;
    case 3:
        Out(ox, oy, (h - y) * 640.0f / h, x * 480.0f / w);
        break;
    default:
        break;
    }
    return 1;
}

char EngMainChangeMousePosRatioedForOrientation(int x, int y, int* ox, int* oy)
{
    float fx = 0, fy = 0;
    if (!EngMainChangeMousePosRatioedForOrientation(float(x), float(y), &fx, &fy))
        return 0;
    if (ox)
        *ox = int(fx);
    if (oy)
        *oy = int(fy);
    return 1;
}

char EngMainChangeMousePosRatioedForOrientation(float* x, float* y)
{
    if (!x || !y)
        return 0;
    return EngMainChangeMousePosRatioedForOrientation(*x, *y, x, y);
}

char EngMainChangeMousePosScreenForOrientation(float x, float y, float* ox, float* oy)
{
    float w = float(eng_main_window_width), h = float(eng_main_window_height);
    if (w <= 0 || h <= 0)
        return 0;
    switch (eng_main_orientation_alt)
    {
    case 0:
        Out(ox, oy, x, y);
        break;
    case 1:
        Out(ox, oy, w - x, h - y);
        break;
    case 2:
        Out(ox, oy, y * w / h, h - x * h / w);
        break;
    case 3:
        Out(ox, oy, (h - y) * w / h, h * x / w);
        break;
    default:
        break;
    }
    return 1;
}

void EngMainChangeRatioedPosForOrientation(float x, float y, float* ox, float* oy)
{
    switch (eng_main_orientation_alt)
    {
    case 0:
        Out(ox, oy, x, y);
        break;
    case 1:
        Out(ox, oy, 640.0f - x, 480.0f - y);
        break;
    case 2:
        Out(ox, oy, y * 640.0f / 480.0f, 480.0f - x * 480.0f / 640.0f);
        break;
    case 3:
        Out(ox, oy, (480.0f - y) * 640.0f / 480.0f, x * 480.0f / 640.0f);
        break;
    default:
        break;
    }
}
