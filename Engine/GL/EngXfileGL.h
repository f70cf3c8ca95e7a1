// OpenGL half of the .x model: loading, colours, textures and drawing from
// client-side arrays.
#pragma once

#include "EngXfileParse.h"

class EngXfile;

class EngXfileGL
{
public:
    EngXfileGL();

    void Init();
    char LoadFromFile(char* folder, char* file, float scale_x, float scale_y, float scale_z,
                      _XfileConvert* convert, char tex_alpha, char tex_option,
                      XfileTextureNameCallback texture_name_cb, void* cb_data1, void* cb_data2);
    void Destroy();

    char SetMaterialColour(int part, float r, float g, float b);
    char SetColour(float r, float g, float b);
    char SetMaterialColourWithAlpha(int part, float r, float g, float b, float a);
    char SetColourWithAlpha(float r, float g, float b, float a);
    char SetMaterialTransparency(int part, float a);
    char SetTransparency(float a);
    char SetMaterialSpecularColour(int part, float r, float g, float b, float shininess);
    char SetSpecularColour(float r, float g, float b, float shininess);
    char SetMaterialColours(int part, float ar, float ag, float ab, float aa, float sr, float sg, float sb,
                            float shininess, float er, float eg, float eb, char transparency_mode, int blend);
    char SetColours(float ar, float ag, float ab, float aa, float sr, float sg, float sb, float shininess,
                    float er, float eg, float eb, char transparency_mode, int blend);
    char SetMaterialTextureFromFile(int part, char* file, char alpha, char option, char only_replace);
    char SetAllMaterialsTexturesFromFile(char* file, char alpha, char option, char only_replace);

    void PrepareToRender();
    void RestoreAfterRendering();
    char Render();
    char RenderPart(int part, char texture_bound, char colour_set, char clean_texture, char clean_colour,
                    char* out_texture_bound, char* out_colour_set);
    void CleanupTexAndColour(char texture_bound, char colour_set);
    void ClearTexture();
    char SetTexture(int part);
    char RenderPartNoColour(int part);
    char RenderPartNoColourNoTexture(int part);
    char RenderNoColourNoTexture();

    EngXfile* owner;
    char normals_on;
    char tex_coords_on;

private:
    // Runs f(part) for every part; 0 when no model is loaded.
    template <typename F> char ForEachPart(F f);
};
