// The in-game menu bar (absent on this platform).
#include "EngMenu.h"

#include "EngDevice.h"

void EngMenuNew() {}
void EngMenuSetupTextures(EngTexture*, EngTexture*, EngTexture*, EngTexture*, EngTexture*, EngTexture*,
                          EngTexture*, EngTexture*)
{
}
void EngMenuSetSizes(float, float, float) {}
void EngMenuSetTextColours(float, float, float, float, float, float, float, float, float) {}
void EngMenuAutoHide(char) {}
void EngMenuHide(char) {}
void EngMenuTurnOn() {}
void EngMenuTurnOff() {}
void EngMenuHideNow() {}
void EngMenuUnhideNow() {}
void EngMenuFree() {}
void EngMenuCheckRow(int, int, char) {}
void EngMenuCheckRowUsingUserData(int, char) {}
void EngMenuCheckSubRow(int, int, int, char) {}
void EngMenuCheckSubRowUsingUserData(int, char) {}
void EngMenuEnableRow(int, int, char) {}
void EngMenuEnableSubRow(int, int, int, char) {}
void EngMenuUpdateBoxPositions() {}
void EngMenuSetFullViewport() {}
void EngMenuSetMainScreenViewport() {}
void EngMenuSetExtraMenuText(const char*) {}
void EngMenuRender() {}
void EngMenuExit() {}
char EngMenuDisable()
{
    return 0;
}
char EngMenuEnable()
{
    return 0;
}
char EngMenuIsEnabled()
{
    return 0;
}
int EngMenuAddCol(const char*)
{
    return 0;
}
int EngMenuAddRowToCol(int, const char*, int)
{
    return 0;
}
int EngMenuAddSubMenuToCol(int, const char*)
{
    return 0;
}
int EngMenuAddRowToSubMenu(int, int, const char*, int)
{
    return 0;
}
int EngMenuGetNumCols()
{
    return 0;
}
int EngMenuGetNumRowsInCol(int)
{
    return 0;
}
int EngMenuGetNumSubsInRow(int, int)
{
    return 0;
}
char EngMenuMouseMove(int, int)
{
    return 0;
}
char EngMenuMousePress(int, char)
{
    return 0;
}
char EngMenuIsOn()
{
    return 0;
}
char EngMenuIsShown()
{
    return 0;
}
char EngMenuIsHidden()
{
    return 0;
}
float EngMenuGetMenuBarHeight()
{
    return 0;
}
float EngMenuGetMenuBarScreenHeight()
{
    return 0;
}

void EngMenuCropToAreaRatioed(_Dimension* area)
{
    if (area)
        EngMenuCropToAreaRatioed(area->x, area->y, area->w, area->h);
}

void EngMenuCropToAreaRatioed(float x, float y, float width, float height)
{
    if (eng_main_device)
        eng_main_device->CropToAreaRatioed(x, y, width, height);
}
