// TEMPORARY: declarations of calls into screens whose owners have not landed
// yet; GamePending.cpp gives weak stand-ins. The lead removes both at merge.
#pragma once

void MiscSetPower();
void MainStartCB();
void MainControlRender();
void GraphicsRender();
char GraphicsControlCreateGraphics();
void GraphicsControlDestroyGraphics();
