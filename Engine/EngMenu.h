// The in-game menu bar. There is none on this platform: every operation does
// nothing, except cropping, which goes to the device.
#pragma once

#include "EngTypes.h"

class EngTexture;

void EngMenuNew();
void EngMenuSetupTextures(EngTexture*, EngTexture*, EngTexture*, EngTexture*, EngTexture*, EngTexture*,
                          EngTexture*, EngTexture*);
void EngMenuSetSizes(float, float, float);
void EngMenuSetTextColours(float, float, float, float, float, float, float, float, float);
void EngMenuAutoHide(char);
void EngMenuHide(char);
void EngMenuTurnOn();
void EngMenuTurnOff();
void EngMenuHideNow();
void EngMenuUnhideNow();
void EngMenuFree();
void EngMenuCheckRow(int, int, char);
void EngMenuCheckRowUsingUserData(int, char);
void EngMenuCheckSubRow(int, int, int, char);
void EngMenuCheckSubRowUsingUserData(int, char);
void EngMenuEnableRow(int, int, char);
void EngMenuEnableSubRow(int, int, int, char);
void EngMenuUpdateBoxPositions();
void EngMenuSetFullViewport();
void EngMenuSetMainScreenViewport();
void EngMenuSetExtraMenuText(const char*);
void EngMenuRender();
void EngMenuExit();
char EngMenuDisable();
char EngMenuEnable();
char EngMenuIsEnabled();
int EngMenuAddCol(const char*);
int EngMenuAddRowToCol(int, const char*, int);
int EngMenuAddSubMenuToCol(int, const char*);
int EngMenuAddRowToSubMenu(int, int, const char*, int);
int EngMenuGetNumCols();
int EngMenuGetNumRowsInCol(int);
int EngMenuGetNumSubsInRow(int, int);
char EngMenuMouseMove(int, int);
char EngMenuMousePress(int button, char down);
char EngMenuIsOn();
char EngMenuIsShown();
char EngMenuIsHidden();
float EngMenuGetMenuBarHeight();
float EngMenuGetMenuBarScreenHeight();
void EngMenuCropToAreaRatioed(_Dimension* area);
void EngMenuCropToAreaRatioed(float x, float y, float width, float height);
