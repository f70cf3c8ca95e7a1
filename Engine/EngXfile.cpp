// The .x model facade: part bookkeeping here, everything device-bound in
// its OpenGL half.
#include "EngXfile.h"

#include "EngDebug.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngDevice.h"
#include "EngLights.h"

char glxf_use_advanced_materials = 0;
char glxf_use_colours_with_textures = 0;
char xf_dat_ext_type = 0;

void EngXfileUseAdvancedMaterials(char on)
{
    if (!EngMaterialsAreAdvancedMaterialsOn())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call EngMaterialsUseAdvancedMaterials(1) first");
        return;
    }
    glxf_use_advanced_materials = on;
}

void EngXfileUseColourWhenRenderingPartsThatHaveTextures(char on)
{
    glxf_use_colours_with_textures = on;
}

void EngXfileDatFilesHaveType(char type)
{
    if (type < 1 || type > 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid type");
        return;
    }
    xf_dat_ext_type = type;
}

EngXfile::EngXfile() : parts(nullptr), part_count(0)
{
    if (IsGL())
    {
        gl.owner = this;
        Init();
    }
}

EngXfile::~EngXfile()
{
    // Also frees a part table left behind by a change of device.
    gl.owner = this;
    gl.Destroy();
}

char EngXfile::IsGL()
{
    return eng_main_device_type == ENG_DEVICE_TYPE_GL;
}

void EngXfile::Init()
{
    if (IsGL())
        gl.Init();
}

char EngXfile::LoadFromFile(char* folder, char* file, float scale_x, float scale_y, float scale_z,
                            _XfileConvert* convert, char tex_alpha, char tex_option,
                            XfileTextureNameCallback texture_name_cb, void* cb_data1, void* cb_data2)
{
    if (!IsGL())
        return 0;
    gl.owner = this;
    return gl.LoadFromFile(folder, file, scale_x, scale_y, scale_z, convert, tex_alpha, tex_option,
                           texture_name_cb, cb_data1, cb_data2);
}

void EngXfile::Destroy()
{
    if (IsGL())
        gl.Destroy();
}

char EngXfile::IsOk()
{
    return IsGL() && part_count > 0;
}

int EngXfile::GetNumMaterials()
{
    return IsGL() ? part_count : 0;
}

void EngXfile::UseNormals(char on)
{
    gl.normals_on = on;
}

void EngXfile::UseTexCoords(char on)
{
    gl.tex_coords_on = on;
}

void EngXfileFreePartLists(_XfilePart* p, const char* owner)
{
    EngFree(p->vertices, 0, owner);
    EngFree(p->normals, 0, owner);
    EngFree(p->tex_coords, 0, owner);
    p->vertices = nullptr;
    p->normals = nullptr;
    p->tex_coords = nullptr;
    p->point_count = 0;
}

char EngXfile::CheckPartNum(const char* caller, int part)
{
    if (!parts)
    {
        DebugError(caller, "Parts are not created.");
        return 0;
    }
    if (part < 0 || part >= part_count)
    {
        DebugError(caller, "XFile only has %d materials (num = %d)", part_count, part);
        return 0;
    }
    return 1;
}

char EngXfile::FreePartMaterialLists(int part)
{
    if (!parts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parts.");
        return 0;
    }
    if (part < 0 || part >= XFILE_MAX_PARTS || part >= part_count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad part num %d (%d).", part, part_count);
        return 0;
    }
    EngXfileFreePartLists(&parts[part], "EngXfile");
    return 1;
}

char EngXfile::FreeAllMaterialLists()
{
    if (!parts)
        return 0;
    char ok = 1;
    for (int i = 0; i < part_count; i++)
        if (!FreePartMaterialLists(i))
            ok = 0;
    return ok;
}

char EngXfile::GetPartMaterialTexture(int part, EngTexture** out)
{
    if (!parts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parts not created.");
        return 0;
    }
    if (part < 0 || part >= part_count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad part num %d (num = %d)", part, part_count);
        return 0;
    }
    if (!parts[part].texture)
        return 0;
    if (out)
        *out = parts[part].texture;
    return 1;
}

// Forwarders to the OpenGL half; nothing on other devices.

char EngXfile::SetMaterialColour(int part, float r, float g, float b)
{
    return IsGL() ? gl.SetMaterialColour(part, r, g, b) : 0;
}

char EngXfile::SetColour(float r, float g, float b)
{
    return IsGL() ? gl.SetColour(r, g, b) : 0;
}

char EngXfile::SetMaterialColourWithAlpha(int part, float r, float g, float b, float a)
{
    return IsGL() ? gl.SetMaterialColourWithAlpha(part, r, g, b, a) : 0;
}

char EngXfile::SetColourWithAlpha(float r, float g, float b, float a)
{
    return IsGL() ? gl.SetColourWithAlpha(r, g, b, a) : 0;
}

char EngXfile::SetMaterialTransparency(int part, float a)
{
    return IsGL() ? gl.SetMaterialTransparency(part, a) : 0;
}

char EngXfile::SetTransparency(float a)
{
    return IsGL() ? gl.SetTransparency(a) : 0;
}

char EngXfile::SetMaterialSpecularColour(int part, float r, float g, float b, float shininess)
{
    return IsGL() ? gl.SetMaterialSpecularColour(part, r, g, b, shininess) : 0;
}

char EngXfile::SetSpecularColour(float r, float g, float b, float shininess)
{
    return IsGL() ? gl.SetSpecularColour(r, g, b, shininess) : 0;
}

char EngXfile::SetMaterialColours(int part, float ar, float ag, float ab, float aa, float sr, float sg,
                                  float sb, float shininess, float er, float eg, float eb,
                                  char transparency_mode, int blend)
{
    return IsGL() ? gl.SetMaterialColours(part, ar, ag, ab, aa, sr, sg, sb, shininess, er, eg, eb,
                                          transparency_mode, blend)
                  : 0;
}

char EngXfile::SetColours(float ar, float ag, float ab, float aa, float sr, float sg, float sb,
                          float shininess, float er, float eg, float eb, char transparency_mode, int blend)
{
    return IsGL() ? gl.SetColours(ar, ag, ab, aa, sr, sg, sb, shininess, er, eg, eb, transparency_mode, blend)
                  : 0;
}

char EngXfile::SetMaterialTextureFromFile(int part, char* file, char alpha, char option, char only_replace)
{
    return IsGL() ? gl.SetMaterialTextureFromFile(part, file, alpha, option, only_replace) : 0;
}

char EngXfile::SetAllMaterialsTexturesFromFile(char* file, char alpha, char option, char only_replace)
{
    return IsGL() ? gl.SetAllMaterialsTexturesFromFile(file, alpha, option, only_replace) : 0;
}

void EngXfile::PrepareToRender()
{
    if (IsGL())
        gl.PrepareToRender();
}

void EngXfile::RestoreAfterRendering()
{
    if (IsGL())
        gl.RestoreAfterRendering();
}

char EngXfile::Render()
{
    return IsGL() ? gl.Render() : 0;
}

char EngXfile::RenderPart(int part, char texture_bound, char colour_set, char clean_texture,
                          char clean_colour, char* out_texture_bound, char* out_colour_set)
{
    return IsGL() ? gl.RenderPart(part, texture_bound, colour_set, clean_texture, clean_colour,
                                  out_texture_bound, out_colour_set)
                  : 0;
}

void EngXfile::CleanupTexAndColour(char texture_bound, char colour_set)
{
    if (IsGL())
        gl.CleanupTexAndColour(texture_bound, colour_set);
}

void EngXfile::ClearTexture()
{
    if (IsGL())
        gl.ClearTexture();
}

char EngXfile::SetTexture(int part)
{
    return IsGL() ? gl.SetTexture(part) : 0;
}

char EngXfile::RenderPartNoColour(int part)
{
    return IsGL() ? gl.RenderPartNoColour(part) : 0;
}

char EngXfile::RenderPartNoColourNoTexture(int part)
{
    return IsGL() ? gl.RenderPartNoColourNoTexture(part) : 0;
}

char EngXfile::RenderNoColourNoTexture()
{
    return IsGL() ? gl.RenderNoColourNoTexture() : 0;
}
