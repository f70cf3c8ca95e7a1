// Lights: records and OpenGL calls.
#include <GL/glew.h>

#include <cstring>

#include "EngDebug.h"
#include "EngLights.h"

float elgl_ambient_light[4] = {0.2f, 0.2f, 0.2f, 1.0f};
char elgl_light_system = 0;
int elgl_num_point_lights = 0;
char elgl_cur_light_system = -1;
char elgl_use_local_specular_view_model = 0;
_EngLightsDirectional elgl_directional_light;
_EngLightsPointInfo elgl_point_lights[2];

static const float COLOUR_SCALE = 1.3f;

static void Set4(float* d, float a, float b, float c, float e)
{
    d[0] = a, d[1] = b, d[2] = c, d[3] = e;
}

void EngLightsInit_GL()
{
    _EngLightsDirectional& d = elgl_directional_light;
    Set4(d.dir, 0, 1, 5, 0);
    Set4(d.diffuse, 0.8f, 0.8f, 0.8f, 1);
    Set4(d.ambient, 0, 0, 0, 1);
    Set4(d.specular, 0, 0, 0, 1);
    d.lock_specular = 0;
    elgl_light_system = 0;
    for (int i = 0; i < 2; i++)
    {
        _EngLightsPointInfo& p = elgl_point_lights[i];
        Set4(p.pos, i * -10.0f, 10, 10, 1);
        Set4(p.diffuse, 0.8f, 0.8f, 0.8f, 1);
        Set4(p.ambient, 0, 0, 0, 1);
        Set4(p.specular, 0, 0, 0, 1);
        p.attenuation[0] = 1, p.attenuation[1] = 0, p.attenuation[2] = 0;
        p.lock_specular = 0;
    }
}

void EngLightsSetOverallAmbientLightColour_GL(float r, float g, float b)
{
    Set4(elgl_ambient_light, r, g, b, 1);
    EngLightsUpdateOverallAmbientLight_GL();
}

void EngLightsSetOverallAmbientLightLevel_GL(float level)
{
    EngLightsSetOverallAmbientLightColour_GL(level, level, level);
}

void EngLightsUpdateOverallAmbientLight_GL()
{
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, elgl_ambient_light);
}

void EngLightsSetLightSystem_GL(char system)
{
    if (static_cast<unsigned char>(system) > 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown light sytem (%d)", system);
        return;
    }
    elgl_light_system = system;
    elgl_num_point_lights = system == 1 ? 1 : system == 2 ? 2 : 0;
    EngLightsSetupLights_GL();
}

char EngLightsGetLightSystem_GL()
{
    return elgl_light_system;
}

void EngLightsSetupLights_GL()
{
    if (elgl_light_system == 0)
        EngLightsSetupDirectionalLight_GL();
    else if (elgl_light_system == 1 || elgl_light_system == 2)
        EngLightsSetupPointLights_GL();
    else
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown ligh type <%d>", elgl_light_system);
        return;
    }
    EngLightsUpdateOverallAmbientLight_GL();
}

void EngLightsDoSetLightPosition_GL(int light, const float* position, char, char relative)
{
    if (relative)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return;
    }
    glLoadIdentity();
    glLightfv(GLenum(light), GL_POSITION, position);
}

void EngLightsSetupDirectionalLight_GL()
{
    _EngLightsDirectional& d = elgl_directional_light;
    EngLightsDoSetLightPosition_GL(GL_LIGHT0, d.dir, 1, d.relative);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, d.diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, d.ambient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, d.lock_specular ? d.diffuse : d.specular);
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    elgl_cur_light_system = 0;
}

// Point light 0 or 1 (only 0 with limit_to_one); false after logging otherwise.
static bool PointLightNumberOk(const char* func, int i, bool limit_to_one)
{
    if (i < 0 || i > 1 || (i == 1 && limit_to_one))
    {
        DebugErrorAlt(func, "Invalid point light number <%d>", i);
        return false;
    }
    return true;
}

static void UpdatePointLight(int i)
{
    _EngLightsPointInfo& p = elgl_point_lights[i];
    GLenum l = GLenum(GL_LIGHT0 + i);
    EngLightsDoSetLightPosition_GL(int(l), p.pos, 0, p.relative);
    glLightfv(l, GL_DIFFUSE, p.diffuse);
    glLightfv(l, GL_AMBIENT, p.ambient);
    glLightfv(l, GL_SPECULAR, p.lock_specular ? p.diffuse : p.specular);
    glLightf(l, GL_CONSTANT_ATTENUATION, p.attenuation[0]);
    glLightf(l, GL_LINEAR_ATTENUATION, p.attenuation[1]);
    glLightf(l, GL_QUADRATIC_ATTENUATION, p.attenuation[2]);
}

void EngLightsSetupPointLights_GL()
{
    for (int k = elgl_num_point_lights; k <= 1; k++)
        glDisable(GLenum(GL_LIGHT0 + k));
    for (int i = 0; i < elgl_num_point_lights && i < 2; i++)
    {
        UpdatePointLight(i);
        glEnable(GLenum(GL_LIGHT0 + i));
    }
    elgl_cur_light_system = elgl_num_point_lights == 1 ? 1 : 2;
}

char EngLightsCheckPointLightSetup_GL(int i)
{
    if (elgl_light_system != 1 && elgl_light_system != 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Point light system not setup");
        return 0;
    }
    return PointLightNumberOk(__PRETTY_FUNCTION__, i, elgl_light_system == 1);
}

void EngLightsSetSpecularColourLocalViewpoint_GL(char on)
{
    if (on >= 0)
        elgl_use_local_specular_view_model = on;
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, elgl_use_local_specular_view_model != 0);
}

static bool DirectionalSetUp(const char* func)
{
    if (elgl_light_system != 0)
    {
        DebugErrorAlt(func, "Directional light system not setup");
        return false;
    }
    return true;
}

void EngLightsSetDirectionalLightDirection_GL(float x, float y, float z)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return;
    _EngLightsDirectional& d = elgl_directional_light;
    d.dir[0] = x, d.dir[1] = y, d.dir[2] = z, d.dir[3] = 0;
    EngLightsDoSetLightPosition_GL(GL_LIGHT0, d.dir, 1, d.relative);
}

void EngLightsSetDirectionalLightDirection_GL(const _Vector3d* v)
{
    if (v)
        EngLightsSetDirectionalLightDirection_GL(v->x, v->y, v->z);
}

void EngLightsGetDirectionalLightDirection_GL(_Vector3d* out)
{
    if (out)
        out->x = elgl_directional_light.dir[0], out->y = elgl_directional_light.dir[1],
        out->z = elgl_directional_light.dir[2];
}

void EngLightsSetDirectionalLightLevels_GL(float dr, float dg, float db, float ar, float ag, float ab)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return;
    _EngLightsDirectional& d = elgl_directional_light;
    Set4(d.diffuse, COLOUR_SCALE * dr, COLOUR_SCALE * dg, COLOUR_SCALE * db, 1);
    Set4(d.ambient, ar, ag, ab, 1);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, d.diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, d.ambient);
    if (d.lock_specular)
        glLightfv(GL_LIGHT0, GL_SPECULAR, d.diffuse);
}

void EngLightsSetDirectionalLightColour_GL(float r, float g, float b)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return;
    _EngLightsDirectional& d = elgl_directional_light;
    Set4(d.diffuse, COLOUR_SCALE * r, COLOUR_SCALE * g, COLOUR_SCALE * b, 1);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, d.diffuse);
    if (d.lock_specular)
        glLightfv(GL_LIGHT0, GL_SPECULAR, d.diffuse);
}

void EngLightsSetDirectionalLightColour_GL(const _ColourRGB* c)
{
    if (c)
        EngLightsSetDirectionalLightColour_GL(c->r, c->g, c->b);
}

void EngLightsLockDirectionalSpecularColourWithMainColour_GL(char lock)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return;
    _EngLightsDirectional& d = elgl_directional_light;
    d.lock_specular = lock;
    glLightfv(GL_LIGHT0, GL_SPECULAR, lock ? d.diffuse : d.specular);
}

void EngLightsSetDirectionalSpecularColour_GL(float r, float g, float b)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return;
    EngLightsLockDirectionalSpecularColourWithMainColour_GL(0);
    _EngLightsDirectional& d = elgl_directional_light;
    Set4(d.specular, COLOUR_SCALE * r, COLOUR_SCALE * g, COLOUR_SCALE * b, 1);
    glLightfv(GL_LIGHT0, GL_SPECULAR, d.specular);
}

void EngLightsSetDirectionalLightAttributes_GL(float dr, float dg, float db, float ar, float ag, float ab,
                                               float sr, float sg, float sb, float x, float y, float z)
{
    EngLightsSetDirectionalLightLevels_GL(dr, dg, db, ar, ag, ab);
    EngLightsSetDirectionalSpecularColour_GL(sr, sg, sb);
    EngLightsSetDirectionalLightDirection_GL(x, y, z);
}

char EngLightsSetDirectionalLightRelativeToCamera_GL(char on)
{
    if (!DirectionalSetUp(__PRETTY_FUNCTION__))
        return elgl_directional_light.relative;
    elgl_directional_light.relative = on;
    return on;
}

void EngLightsSetPointLightPos_GL(int i, float x, float y, float z)
{
    if (!EngLightsCheckPointLightSetup_GL(i))
        return;
    _EngLightsPointInfo& p = elgl_point_lights[i];
    p.pos[0] = x, p.pos[1] = y, p.pos[2] = z;
    EngLightsDoSetLightPosition_GL(GL_LIGHT0 + i, p.pos, 0, p.relative);
}

void EngLightsSetPointLightPos_GL(int i, const _Vector3d* v)
{
    if (v)
        EngLightsSetPointLightPos_GL(i, v->x, v->y, v->z);
}

void EngLightsGetPointLightPos_GL(int i, _Vector3d* out)
{
    if (!out)
        return;
    if (!PointLightNumberOk(__PRETTY_FUNCTION__, i, false))
        return;
    out->x = elgl_point_lights[i].pos[0], out->y = elgl_point_lights[i].pos[1],
    out->z = elgl_point_lights[i].pos[2];
}

void EngLightsSetPointLightAttributesEx_GL(int i, _EngLightsPointInfo* info)
{
    if (!EngLightsCheckPointLightSetup_GL(i))
        return;
    if (!info)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return;
    }
    _EngLightsPointInfo& p = elgl_point_lights[i];
    p = *info;
    for (int k = 0; k < 3; k++)
        p.diffuse[k] *= COLOUR_SCALE, p.specular[k] *= COLOUR_SCALE;
    UpdatePointLight(i);
}

void EngLightsSetPointLightAttributes_GL(int i, float dr, float dg, float db, float ar, float ag, float ab,
                                         float sr, float sg, float sb, float x, float y, float z, float ac,
                                         float al, float aq)
{
    _EngLightsPointInfo info;
    std::memset(&info, 0, sizeof(info));
    Set4(info.diffuse, COLOUR_SCALE * dr, COLOUR_SCALE * dg, COLOUR_SCALE * db, 1);
    Set4(info.ambient, ar, ag, ab, 1);
    Set4(info.specular, COLOUR_SCALE * sr, COLOUR_SCALE * sg, COLOUR_SCALE * sb, 1);
    Set4(info.pos, x, y, z, 1);
    info.attenuation[0] = ac, info.attenuation[1] = al, info.attenuation[2] = aq;
    EngLightsSetPointLightAttributesEx_GL(i, &info);
}

void EngLightsGetPointLightAttributes_GL(int i, _EngLightsPointInfo* out)
{
    if (!out)
        return;
    if (!PointLightNumberOk(__PRETTY_FUNCTION__, i, false))
        return;
    *out = elgl_point_lights[i];
    for (int k = 0; k < 3; k++)
        out->diffuse[k] /= COLOUR_SCALE, out->specular[k] /= COLOUR_SCALE;
}

void EngLightsLockPointLightSpecularColourWithMainColour_GL(int i, char lock)
{
    if (!EngLightsCheckPointLightSetup_GL(i))
        return;
    _EngLightsPointInfo& p = elgl_point_lights[i];
    p.lock_specular = lock;
    glLightfv(GLenum(GL_LIGHT0 + i), GL_SPECULAR, lock ? p.diffuse : p.specular);
}

void EngLightsSetPointLightSpecularColour_GL(int i, float r, float g, float b)
{
    if (!EngLightsCheckPointLightSetup_GL(i))
        return;
    EngLightsLockPointLightSpecularColourWithMainColour_GL(i, 0);
    _EngLightsPointInfo& p = elgl_point_lights[i];
    p.specular[0] = r, p.specular[1] = g, p.specular[2] = b;
    glLightfv(GLenum(GL_LIGHT0 + i), GL_SPECULAR, p.specular);
}

void EngLightsSetPointLightRelativeToCamera_GL(int i, char on)
{
    if (!EngLightsCheckPointLightSetup_GL(i))
        return;
    if (on)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not implmented anymore - add if needed");
}

void EngLightsSetPointInfoAttrDefaults_GL(_EngLightsPointInfo* info)
{
    if (!info)
        return;
    std::memset(info, 0, sizeof(*info));
    Set4(info->diffuse, COLOUR_SCALE, COLOUR_SCALE, COLOUR_SCALE, 1);
    Set4(info->ambient, 0.2f, 0.2f, 0.2f, 1);
    Set4(info->pos, 10, 10, 10, 1);
    info->attenuation[0] = 1;
}
