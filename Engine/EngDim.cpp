// Screen dimming: the device-independent forms.
#include "EngDim.h"

#include "EngDevice.h"
#include "EngProgram.h"

static inline bool GL()
{
    return eng_main_device_type == ENG_DEVICE_TYPE_GL;
}

void EngDimSetLevel(float level)
{
    if (GL())
        EngDimSetLevel_GL(level);
}
float EngDimGetLevel()
{
    return GL() ? EngDimGetLevel_GL() : 0.0f;
}
void EngDimTurnOff()
{
    if (GL())
        EngDimTurnOff_GL();
}
char EngDimIsOn()
{
    return GL() ? EngDimIsOn_GL() : 0;
}
void EngDimDo()
{
    if (GL())
        EngDimDo_GL();
}
void EngDimDarkenScreen(float opacity)
{
    if (GL())
        EngDimDarkenScreen_GL(opacity);
}
void EngDimDeleteGraphics()
{
    if (GL())
        EngDimDeleteGraphics_GL();
}
