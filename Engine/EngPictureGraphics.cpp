// EngPicture: texture loading and drawing.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngMatrix.h"
#include "EngPicture.h"

#include "EngDevice.h"
#include "EngTexture.h"
#include "EngWindow.h"

extern EngPictureTextureFileOverwriteCB eng_picture_texture_file_overwrite_cb;

namespace
{

bool EndsWithNoCase(const char* s, const char* end)
{
    size_t ls = strlen(s), le = strlen(end);
    if (ls < le)
        return false;
    for (size_t i = 0; i < le; i++)
    {
        char a = s[ls - le + i], b = end[i];
        if (a >= 'A' && a <= 'Z')
            a = char(a - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

char EngPictureTextureFileHasAlpha(const char* filename)
{
    if (!filename || strlen(filename) < 5)
        return 0;
    return (EndsWithNoCase(filename, ".png") || EndsWithNoCase(filename, ".tga")) ? 1 : 0;
}

EngMatrix* EngPictureBuildLayerMatrix(const _Dimension* area, char rotate, float angle, EngMatrix* out)
{
    if (!area || !out)
        return out;
    out->SetIdentityMatrix();
    EngMatrix step;
    step.SetTranslateMatrix(2 * area->x - 1 + area->w, -(2 * area->y - 1 + area->h), 0);
    out->PreMultiplyByMatrix(&step);
    if (rotate)
    {
        step.SetRotateZMatrix(angle * -0.017453292f);
        out->PreMultiplyByMatrix(&step);
    }
    step.SetScaleMatrix(2 * area->w, 2 * area->h, 1);
    out->PreMultiplyByMatrix(&step);
    return out;
}

char EngPictureGetBlendFactors(int type, int* src, int* dst)
{
    const int* second[10] = {
        &EDEV_BLEND_INV_SRC_ALPHA,     &EDEV_BLEND_SRC_ALPHA,      &EDEV_BLEND_ONE,
        &EDEV_BLEND_SRC_COLOUR,        &EDEV_BLEND_INV_SRC_COLOUR, &EDEV_BLEND_DEST_COLOUR,
        &EDEV_BLEND_INV_DEST_COLOUR,   &EDEV_BLEND_DEST_ALPHA,     &EDEV_BLEND_INV_DEST_ALPHA,
        &EDEV_BLEND_SRC_ALPHA_SATURATE};
    if (type <= 0 || type == 20)
        return 0;
    if (type <= 10)
    {
        *src = EDEV_BLEND_SRC_ALPHA;
        *dst = *second[type - 1];
    }
    else if (type <= 19)
    {
        *src = EDEV_BLEND_INV_DEST_ALPHA;
        *dst = *second[type - 11];
    }
    else
    {
        *src = EDEV_BLEND_INV_DEST_ALPHA;
        *dst = EDEV_BLEND_ZERO;
    }
    return 1;
}

char EngPicture::IsTextureNeeded(int n) const
{
    for (int i = 0; i < GetNumLayers(); i++)
        if (layers[i].show && layers[i].tex_num == n)
            return 1;
    return 0;
}

char EngPicture::CreateGraphics()
{
    if (GetNumTextures() == 0)
        return 1;
    if (graphics_created)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Graphics already created (continuing...)");
    char* name = static_cast<char*>(EngMalloc(ENG_PICTURE_NAME_BUFFER_SIZE, "EngPicture", 0));
    if (!name)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    char result = 1;
    for (int i = 0; i < num_textures; i++)
    {
        EngPictureTexture* t = &textures[i];
        if (!t->filename[0])
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No texture filename");
            result = 0;
            continue;
        }
        if (!IsTextureNeeded(i))
            continue;
        char alpha = EngPictureTextureFileHasAlpha(t->filename);
        if (eng_picture_texture_file_overwrite_cb)
        {
            name[0] = 0;
            const char* folder = t->path[0] ? t->path : path;
            if (!eng_picture_texture_file_overwrite_cb(folder, t->filename, name,
                                                       ENG_PICTURE_NAME_BUFFER_SIZE) ||
                !name[0])
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "No file returned for <%s>", t->filename);
                result = 0;
                continue;
            }
            name[ENG_PICTURE_NAME_BUFFER_SIZE - 1] = 0;
        }
        else
            BuildTextureName(name, t);
        if (EngFileIsThereButNotRegular(name, __PRETTY_FUNCTION__))
        {
            result = 0;
            continue;
        }
        if (!EngFileExists(name))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist: <%s>", name);
            result = 0;
            continue;
        }
        if (!t->texture)
            t->texture = new EngTexture();
        else
            t->texture->Destroy();
        t->texture->LoadFromFile(name, alpha, 2);
        if (!t->texture->IsOk())
            result = 0;
    }
    EngFree(name, 0, "EngPicture");
    graphics_created = 1;
    return result;
}

void EngPicture::DestroyGraphics()
{
    if (!graphics_created)
        return;
    for (int i = 0; i < GetNumTextures(); i++)
    {
        delete textures[i].texture;
        textures[i].texture = nullptr;
    }
    graphics_created = 0;
}

void EngPicture::DrawLayer(int n, float alpha_factor)
{
    if (!eng_main_device)
        return;
    EngPictureLayer* l = GetLayer(n);
    if (!l || l->tex_num < 0 || !l->show)
        return;
    EngPictureTexture* t = GetTexture(l->tex_num);
    if (!t || !t->texture)
        return;
    EngPictureLayerVars* v = &layer_vars[n];
    const _Dimension area = l->trans_type > 0 ? v->area : l->main_area;
    // No rectangle to draw into.
    if (!(area.w > 0 && area.h > 0) || !(draw_area.w > 0 && draw_area.h > 0))
        return;

    float alpha = l->alpha_level * (l->alpha_throb_on ? v->alpha : 1.0f) * alpha_factor;
    t->texture->SetAlphaLevel(alpha);
    t->texture->SetTextureCoordinates(&v->tex_coords);

    const char full = eng_main_device->IsViewportFullScreen();
    if (!full && (eng_main_window_width <= 0 || eng_main_window_height <= 0))
        return;

    int src = 0, dst = 0;
    if (l->alpha_blend_type > 0)
    {
        if (EngPictureGetBlendFactors(l->alpha_blend_type, &src, &dst))
            eng_main_device->EnableSpecificBlending(src, dst);
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid blend num");
    }

    _EngDeviceViewport saved = {};
    if (full)
        eng_main_device->SetViewportToSizeRatioed(&draw_area);
    else
    {
        eng_main_device->GetCurrentViewport(&saved);
        _Dimension d;
        d.x = saved.x + eng_main_window_x_ratio * draw_area.x * saved.width / eng_main_window_width;
        d.y = saved.y + eng_main_window_y_ratio * draw_area.y * saved.height / eng_main_window_height;
        d.w = eng_main_window_x_ratio * draw_area.w * saved.width / eng_main_window_width;
        d.h = eng_main_window_y_ratio * draw_area.h * saved.height / eng_main_window_height;
        eng_main_device->SetViewportToSize(&d);
    }

    EngMatrix m;
    EngPictureBuildLayerMatrix(&area, l->rot_flags[0], v->angle, &m);
    eng_main_device->PushTransformMatrix();
    eng_main_device->SetTransformMatrix(&m);
    t->texture->PositionPure(-0.5f, -0.5f, 1, 1);
    t->texture->DrawPure();
    eng_main_device->PopTransformMatrix();

    if (full)
        eng_main_device->SetViewportFullScreen();
    else
        eng_main_device->SetViewportToViewportStruct(&saved);
    if (l->alpha_blend_type > 0)
        eng_main_device->DisableBlending();
}

void EngPicture::Draw()
{
    DrawWithAlpha(1);
}

void EngPicture::DrawWithAlpha(float alpha_factor)
{
    for (int i = 0; i < GetNumLayers(); i++)
        DrawLayer(i, alpha_factor);
}
