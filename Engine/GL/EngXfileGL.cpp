// OpenGL half of the .x model: loading, colours, textures and drawing.
#include "GL/EngXfileGL.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngLights.h"
#include "EngMain.h"
#include "EngXfile.h"
#include "EngTexture.h"

EngXfileGL::EngXfileGL() : owner(nullptr), normals_on(0), tex_coords_on(0) {}

void EngXfileGL::Init()
{
    normals_on = 0;
    tex_coords_on = 0;
}

char EngXfileGL::LoadFromFile(char* folder, char* file, float scale_x, float scale_y, float scale_z,
                              _XfileConvert* convert, char tex_alpha, char tex_option,
                              XfileTextureNameCallback texture_name_cb, void* cb_data1, void* cb_data2)
{
    if (!owner)
        return 0;
    if (!file)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No file name");
        return 0;
    }
    // The joined path must fit whole: a cut path would name another file.
    const size_t joined = (folder ? strlen(folder) + 1 : 0) + strlen(file);
    if (joined > XFILE_LINE_SIZE - 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid file name <%s><%s>", folder ? folder : "", file);
        return 0;
    }
    char* path = static_cast<char*>(EngMalloc(XFILE_LINE_SIZE, "EngXfileGL", 0));
    if (!path)
        return 0;
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Existing Error Before Function Call");
    if (folder)
        snprintf(path, XFILE_LINE_SIZE, "%s/%s", folder, file);
    else
        EngSafeStrcpy(path, file, XFILE_LINE_SIZE);

    Destroy();
    char ok = 0;
    EngFile in;
    EngXfileParse* parser = nullptr;
    if (!in.OpenForReadingIfExists(path, 1))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path);
    else if (!(owner->parts = static_cast<_XfilePart*>(
                   EngMalloc(sizeof(_XfilePart) * XFILE_MAX_PARTS, "EngXfileGL", 1))))
        ;
    else if (!(parser = new (std::nothrow) EngXfileParse()))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        EngFree(owner->parts, 0, "EngXfileGL");
        owner->parts = nullptr;
    }
    else if (!parser->LoadFile(owner, &in, folder, scale_x, scale_y, scale_z, convert, tex_alpha, tex_option,
                               texture_name_cb, cb_data1, cb_data2))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Failed to parse the xfile");
    else
        ok = 1;
    // The parts read before a failure stay until the model is destroyed.
    in.Close();
    delete parser;
    EngFree(path, 0, "EngXfileGL");
    return ok;
}

void EngXfileGL::Destroy()
{
    if (owner && owner->parts)
    {
        // The lists are client memory: released whether or not a context exists.
        for (int i = 0; i < XFILE_MAX_PARTS; i++)
        {
            _XfilePart* p = &owner->parts[i];
            EngXfileFreePartLists(p, "EngXfileGL");
            if (p->texture)
            {
                p->texture->Destroy();
                delete p->texture;
                p->texture = nullptr;
            }
        }
        EngFree(owner->parts, 0, "EngXfileGL");
        owner->parts = nullptr;
        owner->part_count = 0;
    }
    normals_on = 0;
    tex_coords_on = 0;
}

char EngXfileGL::SetMaterialColour(int part, float r, float g, float b)
{
    if (!owner || !owner->CheckPartNum("EngXfileGL::SetMaterialColour", part))
        return 0;
    _XfilePart* p = &owner->parts[part];
    p->diffuse.r = r;
    p->diffuse.g = g;
    p->diffuse.b = b;
    if (glxf_use_advanced_materials)
    {
        p->ambient.r = r;
        p->ambient.g = g;
        p->ambient.b = b;
    }
    return 1;
}

char EngXfileGL::SetMaterialColourWithAlpha(int part, float r, float g, float b, float a)
{
    if (!SetMaterialColour(part, r, g, b))
        return 0;
    owner->parts[part].diffuse.a = a;
    if (glxf_use_advanced_materials)
        owner->parts[part].ambient.a = a;
    return 1;
}

char EngXfileGL::SetMaterialTransparency(int part, float a)
{
    if (!owner || !owner->CheckPartNum("EngXfileGL::SetMaterialTransparency", part))
        return 0;
    owner->parts[part].diffuse.a = a;
    if (glxf_use_advanced_materials)
        owner->parts[part].ambient.a = a;
    return 1;
}

char EngXfileGL::SetMaterialSpecularColour(int part, float r, float g, float b, float shininess)
{
    if (!owner || !owner->CheckPartNum("EngXfileGL::SetMaterialSpecularColour", part))
        return 0;
    if (!glxf_use_advanced_materials)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Advanced Materials not on");
    owner->parts[part].specular = {r, g, b, 1};
    owner->parts[part].shininess = shininess;
    return 1;
}

char EngXfileGL::SetMaterialColours(int part, float ar, float ag, float ab, float aa, float sr, float sg,
                                    float sb, float shininess, float er, float eg, float eb,
                                    char transparency_mode, int blend)
{
    if (!owner || !owner->CheckPartNum("EngXfileGL::SetMaterialColours", part))
        return 0;
    if (!glxf_use_advanced_materials)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Advanced Materials not turned on");
    _XfilePart* p = &owner->parts[part];
    p->ambient = {ar, ag, ab, aa};
    p->diffuse = {ar, ag, ab, aa};
    p->specular = {sr, sg, sb, 1};
    p->shininess = shininess;
    p->emissive = {er, eg, eb, 1};
    p->transparent = transparency_mode == 2 || (transparency_mode == 1 && aa != 0 && aa != 1);
    p->blend_type = blend;
    return 1;
}

// The all-parts forms: the per-part operation for every part.

template <typename F> char EngXfileGL::ForEachPart(F f)
{
    if (!owner || !owner->parts)
        return 0;
    for (int i = 0; i < owner->part_count; i++)
        f(i);
    return 1;
}

char EngXfileGL::SetColour(float r, float g, float b)
{
    return ForEachPart([&](int i) { SetMaterialColour(i, r, g, b); });
}

char EngXfileGL::SetColourWithAlpha(float r, float g, float b, float a)
{
    return ForEachPart([&](int i) { SetMaterialColourWithAlpha(i, r, g, b, a); });
}

char EngXfileGL::SetTransparency(float a)
{
    return ForEachPart([&](int i) { SetMaterialTransparency(i, a); });
}

char EngXfileGL::SetSpecularColour(float r, float g, float b, float shininess)
{
    return ForEachPart([&](int i) { SetMaterialSpecularColour(i, r, g, b, shininess); });
}

char EngXfileGL::SetColours(float ar, float ag, float ab, float aa, float sr, float sg, float sb,
                            float shininess, float er, float eg, float eb, char transparency_mode, int blend)
{
    return ForEachPart(
        [&](int i) {
            SetMaterialColours(i, ar, ag, ab, aa, sr, sg, sb, shininess, er, eg, eb, transparency_mode,
                               blend);
        });
}

char EngXfileGL::SetMaterialTextureFromFile(int part, char* file, char alpha, char, char only_replace)
{
    if (!owner)
        return 0;
    if (alpha)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Alpha not supported yet");
    if (only_replace && owner->parts && part >= 0)
    {
        if (part >= owner->part_count || !owner->parts[part].texture || !owner->parts[part].texture->IsOk())
            return 1;
    }
    if (!owner->CheckPartNum("EngXfileGL::SetMaterialTextureFromFile", part))
        return 0;
    _XfilePart* p = &owner->parts[part];
    if (p->texture)
        p->texture->Destroy();
    if (!file || !file[0])
    {
        delete p->texture;
        p->texture = nullptr;
        return 1;
    }
    if (!p->texture)
    {
        p->texture = new (std::nothrow) EngTexture();
        if (!p->texture)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
            return 0;
        }
    }
    if (!p->texture->LoadFromFileUsingExt(file, 0, 0, 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load texture <%s> for mat_num %d of model", file, part);
        delete p->texture;
        p->texture = nullptr;
        return 0;
    }
    return 1;
}

char EngXfileGL::SetAllMaterialsTexturesFromFile(char* file, char alpha, char option, char only_replace)
{
    return ForEachPart([&](int i) { SetMaterialTextureFromFile(i, file, alpha, option, only_replace); });
}

// ---- Drawing ----------------------------------------------------------------

namespace
{

void SetDefaultColour()
{
    if (glxf_use_advanced_materials)
        EngMaterialsSetDefaultAdvancedMaterial();
    else
        glColor4f(1, 1, 1, 1);
}

} // namespace

void EngXfileGL::PrepareToRender()
{
    glEnableClientState(GL_VERTEX_ARRAY);
    if (normals_on)
        glEnableClientState(GL_NORMAL_ARRAY);
    if (tex_coords_on)
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void EngXfileGL::RestoreAfterRendering()
{
    glDisableClientState(GL_VERTEX_ARRAY);
    if (normals_on)
        glDisableClientState(GL_NORMAL_ARRAY);
    if (tex_coords_on)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

char EngXfileGL::Render()
{
    if (!owner || !owner->parts || owner->part_count <= 0)
        return 0;
    char texture_bound = 0, colour_set = 0;
    PrepareToRender();
    for (int i = 0; i < owner->part_count; i++)
        RenderPart(i, texture_bound, colour_set, 0, 0, &texture_bound, &colour_set);
    CleanupTexAndColour(texture_bound, colour_set);
    RestoreAfterRendering();
    return 1;
}

char EngXfileGL::RenderPart(int part, char texture_bound, char colour_set, char clean_texture,
                            char clean_colour, char* out_texture_bound, char* out_colour_set)
{
    if (!eng_main_device || !owner)
        return 0;
    char ok = 0;
    if (owner->CheckPartNum("EngXfileGL::RenderPart", part))
    {
        _XfilePart* p = &owner->parts[part];
        const char textured = p->texture && p->texture->IsOk();
        char blending_saved = 0;
        bool colour_material = false;

        if (glxf_use_colours_with_textures || !textured)
        {
            if (glxf_use_advanced_materials)
            {
                if (p->transparent)
                {
                    eng_main_device->SaveOrRestoreBlendingState(1);
                    blending_saved = 1;
                    eng_main_device->EnableBlendingType(static_cast<signed char>(p->blend_type & 0xFF));
                }
                EngMaterialsSetAdvancedMaterialArray(&p->ambient.r, &p->diffuse.r, &p->specular.r,
                                                     p->shininess, &p->emissive.r);
            }
            else
            {
                glColor4f(p->diffuse.r, p->diffuse.g, p->diffuse.b, p->diffuse.a);
                // Lit, the colour is the part's ambient and diffuse material
                // for this draw; the lighting state is put back after it.
                if (glIsEnabled(GL_LIGHTING))
                {
                    glPushAttrib(GL_LIGHTING_BIT);
                    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
                    glEnable(GL_COLOR_MATERIAL);
                    colour_material = true;
                }
            }
            colour_set = 1;
        }
        else if (colour_set)
        {
            SetDefaultColour();
            colour_set = 0;
        }

        if (textured)
        {
            p->texture->BindTexture_GL();
            texture_bound = 1;
        }
        else if (texture_bound)
        {
            glBindTexture(GL_TEXTURE_2D, 0);
            texture_bound = 0;
        }

        // An enabled array without this part's list would leave OpenGL reading
        // the previous part's pointer: such a part is not drawn.
        const bool lists_ok = p->vertices && (!normals_on || p->normals) && (!tex_coords_on || p->tex_coords);
        if (lists_ok && p->point_count > 0)
        {
            glVertexPointer(3, GL_FLOAT, 0, p->vertices);
            if (normals_on)
                glNormalPointer(GL_FLOAT, 0, p->normals);
            if (tex_coords_on)
                glTexCoordPointer(2, GL_FLOAT, 0, p->tex_coords);
            glDrawArrays(GL_TRIANGLES, 0, p->point_count);
        }

        if (colour_material)
            glPopAttrib();
        if (blending_saved)
            eng_main_device->SaveOrRestoreBlendingState(0);
        ok = 1;
    }
    if (clean_colour && colour_set)
    {
        SetDefaultColour();
        colour_set = 0;
    }
    if (clean_texture && texture_bound)
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        texture_bound = 0;
    }
    if (out_texture_bound)
        *out_texture_bound = texture_bound;
    if (out_colour_set)
        *out_colour_set = colour_set;
    return ok;
}

void EngXfileGL::CleanupTexAndColour(char texture_bound, char colour_set)
{
    if (texture_bound)
        glBindTexture(GL_TEXTURE_2D, 0);
    if (colour_set)
        SetDefaultColour();
}

void EngXfileGL::ClearTexture()
{
    glBindTexture(GL_TEXTURE_2D, 0);
}

char EngXfileGL::SetTexture(int part)
{
    if (!owner || !owner->CheckPartNum("EngXfileGL::SetTexture", part))
        return 0;
    if (!owner->parts[part].texture)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture.");
        return 0;
    }
    return owner->parts[part].texture->BindTexture_GL();
}

char EngXfileGL::RenderPartNoColour(int)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented.");
    return 0;
}

char EngXfileGL::RenderPartNoColourNoTexture(int)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented.");
    return 0;
}

char EngXfileGL::RenderNoColourNoTexture()
{
    if (!owner || !owner->parts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parts.");
        return 0;
    }
    for (int i = 0; i < owner->part_count; i++)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented.");
    return 0;
}
