// Screen dimming: a black, partly transparent quad over the viewport.
#pragma once

extern float eng_gl_dim_level;
extern char eng_gl_dim_on;

void EngDimSetLevel(float level);
float EngDimGetLevel();
void EngDimTurnOff();
char EngDimIsOn();
void EngDimDo();
void EngDimDarkenScreen(float opacity);
void EngDimDeleteGraphics();

void EngDimSetLevel_GL(float level);
float EngDimGetLevel_GL();
void EngDimTurnOff_GL();
char EngDimIsOn_GL();
void EngDimDo_GL();
void EngDimDarkenScreen_GL(float opacity);
void EngDimDeleteGraphics_GL();
