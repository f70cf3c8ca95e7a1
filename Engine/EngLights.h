// Fixed-function lights (one directional or up to two point lights) and the
// material calls, which exist but do nothing.
#pragma once

#include "EngTypes.h"

struct _EngLightsDirectional
{
    float dir[4];
    float diffuse[4];
    float ambient[4];
    float specular[4];
    char lock_specular;
    char relative;
};

struct _EngLightsPointInfo
{
    float pos[4];
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float attenuation[3];
    char lock_specular;
    char relative;
};

extern float elgl_ambient_light[4];
extern char elgl_light_system;
extern int elgl_num_point_lights;
extern char elgl_cur_light_system;
extern char elgl_use_local_specular_view_model;
extern _EngLightsDirectional elgl_directional_light;
extern _EngLightsPointInfo elgl_point_lights[2];

// Device-independent forms (act only on the OpenGL device).
void EngLightsInit();
void EngLightsSetOverallAmbientLightColour(float r, float g, float b);
void EngLightsSetOverallAmbientLightLevel(float level);
void EngLightsUpdateOverallAmbientLight();
void EngLightsSetLightSystem(char system);
void EngLightsSetDirectionalLightSystem();
void EngLightsSetOnePointLightSystem();
void EngLightsSetTwoPointsLightSystem();
char EngLightsGetLightSystem();
void EngLightsSetupLights();
void EngLightsSetupDirectionalLight();
void EngLightsSetupPointLights();
void EngLightsSetDirectionalLightDirection(float x, float y, float z);
void EngLightsSetDirectionalLightDirection(const _Vector3d* v);
void EngLightsGetDirectionalLightDirection(_Vector3d* out);
void EngLightsSetDirectionalLightLevels(float dr, float dg, float db, float ar, float ag, float ab);
void EngLightsSetDirectionalLightColour(float r, float g, float b);
void EngLightsSetDirectionalLightColour(const _ColourRGB* c);
void EngLightsLockDirectionalSpecularColourWithMainColour(char lock);
void EngLightsSetDirectionalSpecularColour(float r, float g, float b);
void EngLightsSetDirectionalLightAttributes(float dr, float dg, float db, float ar, float ag, float ab,
                                            float sr, float sg, float sb, float x, float y, float z);
void EngLightsSetPointLightPos(int i, float x, float y, float z);
void EngLightsSetPointLightPos(int i, const _Vector3d* v);
void EngLightsGetPointLightPos(int i, _Vector3d* out);
void EngLightsSetPointLightAttributesEx(int i, _EngLightsPointInfo* info);
void EngLightsSetPointLightAttributes(int i, float dr, float dg, float db, float ar, float ag, float ab,
                                      float sr, float sg, float sb, float x, float y, float z, float ac,
                                      float al, float aq);
void EngLightsSetPointInfoAttrColours(_EngLightsPointInfo* info, float dr, float dg, float db, float ar,
                                      float ag, float ab);
void EngLightsSetPointInfoAttrSpecularColours(_EngLightsPointInfo* info, float r, float g, float b);
void EngLightsSetPointInfoAttrSpecularColoursSameAsMainColours(_EngLightsPointInfo* info, float factor);
void EngLightsSetPointInfoAttrPos(_EngLightsPointInfo* info, float x, float y, float z);
void EngLightsSetPointInfoAttrAttenuation(_EngLightsPointInfo* info, float c, float l, float q);

// OpenGL halves.
void EngLightsInit_GL();
void EngLightsSetOverallAmbientLightColour_GL(float r, float g, float b);
void EngLightsSetOverallAmbientLightLevel_GL(float level);
void EngLightsUpdateOverallAmbientLight_GL();
void EngLightsSetLightSystem_GL(char system);
char EngLightsGetLightSystem_GL();
void EngLightsSetupLights_GL();
void EngLightsSetupDirectionalLight_GL();
void EngLightsSetupPointLights_GL();
char EngLightsCheckPointLightSetup_GL(int i);
void EngLightsDoSetLightPosition_GL(int light, const float* position, char directional, char relative);
void EngLightsSetSpecularColourLocalViewpoint_GL(char on);
void EngLightsSetDirectionalLightDirection_GL(float x, float y, float z);
void EngLightsSetDirectionalLightDirection_GL(const _Vector3d* v);
void EngLightsGetDirectionalLightDirection_GL(_Vector3d* out);
void EngLightsSetDirectionalLightLevels_GL(float dr, float dg, float db, float ar, float ag, float ab);
void EngLightsSetDirectionalLightColour_GL(float r, float g, float b);
void EngLightsSetDirectionalLightColour_GL(const _ColourRGB* c);
void EngLightsLockDirectionalSpecularColourWithMainColour_GL(char lock);
void EngLightsSetDirectionalSpecularColour_GL(float r, float g, float b);
void EngLightsSetDirectionalLightAttributes_GL(float dr, float dg, float db, float ar, float ag, float ab,
                                               float sr, float sg, float sb, float x, float y, float z);
char EngLightsSetDirectionalLightRelativeToCamera_GL(char on);
void EngLightsSetPointLightPos_GL(int i, float x, float y, float z);
void EngLightsSetPointLightPos_GL(int i, const _Vector3d* v);
void EngLightsGetPointLightPos_GL(int i, _Vector3d* out);
void EngLightsSetPointLightAttributesEx_GL(int i, _EngLightsPointInfo* info);
void EngLightsSetPointLightAttributes_GL(int i, float dr, float dg, float db, float ar, float ag, float ab,
                                         float sr, float sg, float sb, float x, float y, float z, float ac,
                                         float al, float aq);
void EngLightsGetPointLightAttributes_GL(int i, _EngLightsPointInfo* out);
void EngLightsLockPointLightSpecularColourWithMainColour_GL(int i, char lock);
void EngLightsSetPointLightSpecularColour_GL(int i, float r, float g, float b);
void EngLightsSetPointLightRelativeToCamera_GL(int i, char on);
void EngLightsSetPointInfoAttrDefaults_GL(_EngLightsPointInfo* info);

// Materials: not available; the calls do nothing.
void EngMaterialsUseAdvancedMaterials(char on);
char EngMaterialsAreAdvancedMaterialsOn();
void EngMaterialsApplyAdvancedMaterialsSetting();
void EngMaterialsSetDefaultAdvancedMaterial();
void EngMaterialsSetDefaultAdvancedMaterialColourAndSpecular();
void EngMaterialsSetDefaultMaterialColour();
void EngMaterialsSetAdvancedMaterialFull(float, float, float, float, float, float, float, float, float, float,
                                         float, float, float, float, float, float, float);
void EngMaterialsSetAdvancedMaterial(float, float, float, float, float, float, float, float, float, float,
                                     float, float, float);
void EngMaterialsSetAdvancedMaterialWithFade(float, float, float, float, float, float, float, float, float,
                                             float, float, float, float, float);
void EngMaterialsSetAdvancedMaterialColourAndSpecular(float, float, float, float, float, float, float);
void EngMaterialsSetAdvancedMaterialArray(float* ambient, float* diffuse, float* specular, float shininess,
                                          float* emissive);
void EngMaterialsSetAdvancedMaterialWithFadeArray(float* ambient, float* diffuse, float* specular,
                                                  float shininess, float* emissive, float fade);
