// Device kind, screen layouts and display orientation.
#pragma once

#include "EngTypes.h"

class MWin;

typedef int _EngLayout;
typedef int _EngOrientation;
typedef int _EngStartupOrientation;

extern char ewd_desktop_mode;
extern char ewd_tablet_mode;
extern _EngOrientation eng_main_orientation;
extern _EngOrientation eng_main_orientation_alt;

char IS_DESKTOP();
char IS_TABLET();
char IS_HANDHELD_OR_TABLET();
char IS_HD_TABLET();
void EngWhichDeviceSetDesktopMode(MWin* mwin);
void EngWhichDeviceSetTabletMode(char hd, MWin* mwin);
const char* EngWhichDeviceGetDeviceName(char detailed);
int EngWhichDeviceGetDeviceOrientation();

_EngLayout EngLayoutsGetLayout(_EngLayout layout);
char EngLayoutsIsMobile(_EngLayout layout);
char EngLayoutsIsHandheld(_EngLayout layout);
char EngLayoutsIsTablet(_EngLayout layout);
char EngLayoutsIsPortrait(_EngLayout layout);
char EngLayoutsIsLandscape(_EngLayout layout);
int EngLayoutsGetWidth(_EngLayout layout);
int EngLayoutsGetHeight(_EngLayout layout);
float EngLayoutsGetRatio(_EngLayout layout);

void EngMainSetOrientation(_EngOrientation o);
_EngOrientation EngMainGetOrientation();
_EngOrientation EngMainGetOrientationAlt();
_EngOrientation EngMainUpdateOrientationFromDevice();
char EngMainIsOrientationPortraitOrPortraitUpsideDown();
char EngMainIsOrientationLandscapeLeftOrLandscapeRight();
void EngMainSetOrientationFromStartupOrientation(_EngStartupOrientation o);
char EngMainChangeMousePosRatioedForOrientation(float x, float y, float* ox, float* oy);
char EngMainChangeMousePosRatioedForOrientation(int x, int y, int* ox, int* oy);
char EngMainChangeMousePosRatioedForOrientation(float* x, float* y);
char EngMainChangeMousePosScreenForOrientation(float x, float y, float* ox, float* oy);
void EngMainChangeRatioedPosForOrientation(float x, float y, float* ox, float* oy);
