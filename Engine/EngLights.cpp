// Lights: the device-independent forms.
#include "EngLights.h"

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"

static inline bool GL()
{
    return eng_main_device_type == ENG_DEVICE_TYPE_GL;
}

void EngLightsInit()
{
    if (GL())
        EngLightsInit_GL();
}
void EngLightsSetOverallAmbientLightColour(float r, float g, float b)
{
    if (GL())
        EngLightsSetOverallAmbientLightColour_GL(r, g, b);
}
void EngLightsSetOverallAmbientLightLevel(float level)
{
    if (GL())
        EngLightsSetOverallAmbientLightLevel_GL(level);
}
void EngLightsUpdateOverallAmbientLight()
{
    if (GL())
        EngLightsUpdateOverallAmbientLight_GL();
}
void EngLightsSetLightSystem(char system)
{
    if (GL())
        EngLightsSetLightSystem_GL(system);
}
void EngLightsSetDirectionalLightSystem()
{
    EngLightsSetLightSystem(0);
}
void EngLightsSetOnePointLightSystem()
{
    EngLightsSetLightSystem(1);
}
void EngLightsSetTwoPointsLightSystem()
{
    EngLightsSetLightSystem(2);
}
char EngLightsGetLightSystem()
{
    return GL() ? EngLightsGetLightSystem_GL() : 0;
}
void EngLightsSetupLights()
{
    if (GL())
        EngLightsSetupLights_GL();
}
void EngLightsSetupDirectionalLight()
{
    if (GL())
        EngLightsSetupDirectionalLight_GL();
}
void EngLightsSetupPointLights()
{
    if (GL())
        EngLightsSetupPointLights_GL();
}
void EngLightsSetDirectionalLightDirection(float x, float y, float z)
{
    if (GL())
        EngLightsSetDirectionalLightDirection_GL(x, y, z);
}
void EngLightsSetDirectionalLightDirection(const _Vector3d* v)
{
    if (GL())
        EngLightsSetDirectionalLightDirection_GL(v);
}
void EngLightsGetDirectionalLightDirection(_Vector3d* out)
{
    if (GL())
        EngLightsGetDirectionalLightDirection_GL(out);
}
void EngLightsSetDirectionalLightLevels(float dr, float dg, float db, float ar, float ag, float ab)
{
    if (GL())
        EngLightsSetDirectionalLightLevels_GL(dr, dg, db, ar, ag, ab);
}
void EngLightsSetDirectionalLightColour(float r, float g, float b)
{
    if (GL())
        EngLightsSetDirectionalLightColour_GL(r, g, b);
}
void EngLightsSetDirectionalLightColour(const _ColourRGB* c)
{
    if (GL())
        EngLightsSetDirectionalLightColour_GL(c);
}
void EngLightsLockDirectionalSpecularColourWithMainColour(char lock)
{
    if (GL())
        EngLightsLockDirectionalSpecularColourWithMainColour_GL(lock);
}
void EngLightsSetDirectionalSpecularColour(float r, float g, float b)
{
    if (GL())
        EngLightsSetDirectionalSpecularColour_GL(r, g, b);
}
void EngLightsSetDirectionalLightAttributes(float dr, float dg, float db, float ar, float ag, float ab,
                                            float sr, float sg, float sb, float x, float y, float z)
{
    if (GL())
        EngLightsSetDirectionalLightAttributes_GL(dr, dg, db, ar, ag, ab, sr, sg, sb, x, y, z);
}
void EngLightsSetPointLightPos(int i, float x, float y, float z)
{
    if (GL())
        EngLightsSetPointLightPos_GL(i, x, y, z);
}
void EngLightsSetPointLightPos(int i, const _Vector3d* v)
{
    if (GL())
        EngLightsSetPointLightPos_GL(i, v);
}
void EngLightsGetPointLightPos(int i, _Vector3d* out)
{
    if (GL())
        EngLightsGetPointLightPos_GL(i, out);
}
void EngLightsSetPointLightAttributesEx(int i, _EngLightsPointInfo* info)
{
    if (GL())
        EngLightsSetPointLightAttributesEx_GL(i, info);
}
void EngLightsSetPointLightAttributes(int i, float dr, float dg, float db, float ar, float ag, float ab,
                                      float sr, float sg, float sb, float x, float y, float z, float ac,
                                      float al, float aq)
{
    if (GL())
        EngLightsSetPointLightAttributes_GL(i, dr, dg, db, ar, ag, ab, sr, sg, sb, x, y, z, ac, al, aq);
}

// The info setters work on the caller's record.
void EngLightsSetPointInfoAttrColours(_EngLightsPointInfo* info, float dr, float dg, float db, float ar,
                                      float ag, float ab)
{
    if (!info || !GL())
        return;
    info->diffuse[0] = 1.3f * dr, info->diffuse[1] = 1.3f * dg, info->diffuse[2] = 1.3f * db,
    info->diffuse[3] = 1;
    info->ambient[0] = ar, info->ambient[1] = ag, info->ambient[2] = ab, info->ambient[3] = 1;
}
void EngLightsSetPointInfoAttrSpecularColours(_EngLightsPointInfo* info, float r, float g, float b)
{
    if (!info || !GL())
        return;
    info->specular[0] = 1.3f * r, info->specular[1] = 1.3f * g, info->specular[2] = 1.3f * b;
    info->specular[3] = 1;
}
void EngLightsSetPointInfoAttrSpecularColoursSameAsMainColours(_EngLightsPointInfo* info, float factor)
{
    if (!info || !GL())
        return;
    for (int k = 0; k < 3; k++)
        info->specular[k] = factor == 1.0f ? info->diffuse[k] : factor * info->diffuse[k];
    info->specular[3] = 1;
}
void EngLightsSetPointInfoAttrPos(_EngLightsPointInfo* info, float x, float y, float z)
{
    if (!info || !GL())
        return;
    info->pos[0] = x, info->pos[1] = y, info->pos[2] = z, info->pos[3] = 1;
}
void EngLightsSetPointInfoAttrAttenuation(_EngLightsPointInfo* info, float c, float l, float q)
{
    if (!info || !GL())
        return;
    info->attenuation[0] = c, info->attenuation[1] = l, info->attenuation[2] = q;
}

void EngMaterialsUseAdvancedMaterials(char on)
{
    if (on)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not present");
}
char EngMaterialsAreAdvancedMaterialsOn()
{
    return 0;
}
void EngMaterialsApplyAdvancedMaterialsSetting() {}
void EngMaterialsSetDefaultAdvancedMaterial() {}
void EngMaterialsSetDefaultAdvancedMaterialColourAndSpecular() {}
void EngMaterialsSetDefaultMaterialColour() {}
void EngMaterialsSetAdvancedMaterialFull(float, float, float, float, float, float, float, float, float, float,
                                         float, float, float, float, float, float, float)
{
}
void EngMaterialsSetAdvancedMaterial(float, float, float, float, float, float, float, float, float, float,
                                     float, float, float)
{
}
void EngMaterialsSetAdvancedMaterialWithFade(float, float, float, float, float, float, float, float, float,
                                             float, float, float, float, float)
{
}
void EngMaterialsSetAdvancedMaterialColourAndSpecular(float, float, float, float, float, float, float) {}
void EngMaterialsSetAdvancedMaterialArray(float*, float*, float*, float, float*) {}
void EngMaterialsSetAdvancedMaterialWithFadeArray(float*, float*, float*, float, float*, float) {}
