// The engine's .x model: parts with materials, textures and triangle lists,
// loaded from a .x text file and drawn through its OpenGL half.
#pragma once

#include "EngXfileParse.h"
#include "GL/EngXfileGL.h"

extern char glxf_use_advanced_materials;
extern char glxf_use_colours_with_textures;
extern char xf_dat_ext_type;

void EngXfileUseAdvancedMaterials(char on);
void EngXfileUseColourWhenRenderingPartsThatHaveTextures(char on);
void EngXfileDatFilesHaveType(char type);
// Frees a part's vertex, normal and texture-coordinate lists.
void EngXfileFreePartLists(_XfilePart* p, const char* owner);

class EngXfile
{
public:
    EngXfile();
    ~EngXfile();
    EngXfile(const EngXfile&) = delete;
    EngXfile& operator=(const EngXfile&) = delete;

    void Init();
    char LoadFromFile(char* folder, char* file, float scale_x, float scale_y, float scale_z,
                      _XfileConvert* convert, char tex_alpha, char tex_option,
                      XfileTextureNameCallback texture_name_cb, void* cb_data1, void* cb_data2);
    void Destroy();
    char IsOk();
    int GetNumMaterials();

    // Whether drawing hands the normal and texture-coordinate lists to OpenGL.
    void UseNormals(char on);
    void UseTexCoords(char on);

    char CheckPartNum(const char* caller, int part);
    char FreePartMaterialLists(int part);
    char FreeAllMaterialLists();
    char GetPartMaterialTexture(int part, EngTexture** out);

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

    EngXfileGL gl;
    _XfilePart* parts; // XFILE_MAX_PARTS records while a model is loaded
    EngInt32 part_count;

private:
    static char IsGL();
};
