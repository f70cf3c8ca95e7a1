// A texture (or animated picture) attached to any widget, drawn over its
// background.
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngTexture.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

void MWinButton::PictureReset()
{
    memset(&pic, 0, sizeof(pic));
}

void MWinButton::PictureAttachTextureToButton(EngTexture* t, char blend)
{
    if (!t)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture");
        PictureReset();
        return;
    }
    if (!t->IsOk())
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning: texture is not loaded");
    PictureReset();
    pic.kind = (char)(blend + 4);
    pic.texture = t;
    if (mwin)
        mwb::RenderNeeded(mwin);
}

char MWinButton::PictureAttachPictureToButton(EngPicture* p, char tick)
{
    if (!p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No picture");
        PictureReset();
        return 0;
    }
    PictureReset();
    pic.tick = tick;
    pic.kind = 2;
    pic.picture = p;
    return 1;
}

void MWinButton::PictureSetBlendType(char b)
{
    if (pic.kind <= 2 || !pic.texture)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No picture attached.");
        return;
    }
    pic.kind = (char)(b + 4);
}

void MWinButton::PictureSetTextureCoordinates(float l, float t, float r, float b)
{
    if (pic.kind <= 2 || !pic.texture || !pic.texture->IsOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Not Ok");
        return;
    }
    pic.part_on = 1;
    pic.part_l = l;
    pic.part_t = t;
    pic.part_r = r;
    pic.part_b = b;
}

void MWinButton::PictureSetTextureCoordinates(_TexCoords* tc)
{
    if (tc)
        PictureSetTextureCoordinates(tc->left, tc->top, tc->right, tc->bottom);
    else
        PictureSetTextureCoordinates(0, 0, 1, 1);
}

void MWinButton::PictureSetBorders(float l, float t, float r, float b)
{
    pic.borders_on = 1;
    pic.border_l = l * actual_area.w / 100;
    pic.border_t = t * actual_area.h / 100;
    pic.border_r = r * actual_area.w / 100;
    pic.border_b = b * actual_area.h / 100;
}

char MWinButton::PictureTick()
{
    // Animated pictures are advanced by their owner: the picture module is
    // not part of this build.
    return 0;
}

void MWinButton::PictureDraw()
{
    if (!eng_main_device || pic.kind == 0 || !pic.texture || pic.kind == 2)
        return;
    _Dimension a = actual_area;
    if (pic.borders_on)
        a = {a.x + pic.border_l, a.y + pic.border_t, a.w - pic.border_l - pic.border_r,
             a.h - pic.border_t - pic.border_b};
    char saved = eng_main_device->SaveOrRestoreBlendingState(1);
    if (pic.kind < 4)
        eng_main_device->DisableBlending();
    else
        eng_main_device->EnableBlendingType(pic.kind - 4);
    const _ColourRGBA* c = colour_set ? &colour : &mwb_no_colour;
    pic.texture->PositionRatioed(a.x, a.y, a.w, a.h);
    if (pic.part_on)
        pic.texture->DrawPartWithColour(pic.part_l, pic.part_t, pic.part_r, pic.part_b, c);
    else
        pic.texture->DrawWithColour(c);
    if (saved)
        eng_main_device->SaveOrRestoreBlendingState(0);
}
