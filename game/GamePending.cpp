// TEMPORARY: weak stand-ins until the screens' own definitions are merged.
#include "GamePending.h"

__attribute__((weak)) void MiscSetPower() {}
__attribute__((weak)) void MainStartCB() {}
__attribute__((weak)) void MainControlRender() {}
__attribute__((weak)) void GraphicsRender() {}
__attribute__((weak)) char GraphicsControlCreateGraphics() { return 1; }
__attribute__((weak)) void GraphicsControlDestroyGraphics() {}
