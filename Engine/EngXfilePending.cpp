// TEMPORARY (removed at merge): stand-ins for renderer pieces not yet on main.
#include "EngXfilePending.h"

#if !__has_include("EngTexture.h")
#include "EngDebug.h"

char EngTexture::LoadFromFileUsingExt(const char* file, char, char, int)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "No renderer to load <%s>", file ? file : "");
    return 0;
}
#endif
