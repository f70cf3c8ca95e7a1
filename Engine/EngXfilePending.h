// TEMPORARY (removed at merge): the renderer's texture handle and GL helpers
// until they are on main. Definitions in EngXfilePending.cpp.
#pragma once

#if __has_include("EngTexture.h")
#include "EngTexture.h"
#else
class EngTexture
{
public:
    EngTexture() {}
    ~EngTexture() {}
    void Destroy() {}
    char LoadFromFileUsingExt(const char* file, char keep_alpha, char alpha_type, int kind);
    char IsOk() { return 0; }
    char BindTexture_GL() { return 0; }
};
#endif

#if __has_include("EngLights.h")
#include "EngLights.h"
#else
inline char EngMaterialsAreAdvancedMaterialsOn()
{
    return 0;
}
#endif

#if __has_include("GL/EngDeviceGL.h")
#include "GL/EngDeviceGL.h"
#else
inline char EngUtilsGL_ErrorCheck(const char*, const char*)
{
    return 1;
}
#endif
