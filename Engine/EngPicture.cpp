// EngPicture: records, editing and the JSON picture file.
#include "EngPicture.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngJson.h"
#include "EngMain.h"
#include "EngMath.h"
#include "EngUnicode.h"

namespace
{

const char* const kOwner = "EngPicture";

bool IsEmpty(const char* s)
{
    return !s || !s[0];
}

// Makes room for one more zeroed element; a full array doubles. On failure
// the array is kept as it was.
template <typename T> char MakeRoom(T** array, int count, int* capacity, const char* func)
{
    if (*array && count < *capacity)
    {
        memset(static_cast<void*>(*array + count), 0, sizeof(T));
        return 1;
    }
    int grown_capacity = count < 4 ? 4 : count * 2;
    T* grown = static_cast<T*>(EngMalloc(sizeof(T) * size_t(grown_capacity), kOwner, 1));
    if (!grown)
    {
        DebugErrorAlt(func, count ? "No memory (realloc)" : "No memory");
        return 0;
    }
    if (*array && count > 0)
        memcpy(static_cast<void*>(grown), *array, sizeof(T) * size_t(count));
    EngFree(*array, 0, kOwner);
    *array = grown;
    *capacity = grown_capacity;
    return 1;
}

// Removes element n, moving the later ones down; frees the array when it
// becomes empty.
template <typename T> void RemoveAt(T** array, int* count, int* capacity, int n)
{
    if (n < *count - 1)
        memmove(*array + n, *array + n + 1, sizeof(T) * size_t(*count - n - 1));
    (*count)--;
    if (*count == 0)
    {
        EngFree(*array, 0, kOwner);
        *array = nullptr;
        *capacity = 0;
    }
}

// Flags and small integers: truncated toward zero, limits kept, low 8 bits.
char NumberToChar(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        v = 2147483647.0;
    if (v <= -2147483648.0)
        v = -2147483648.0;
    return static_cast<char>(static_cast<EngUInt8>(static_cast<EngInt32>(v) & 0xFF));
}

double RequiredNumber(const json::Object& o, const char* name)
{
    return o[name].CastTo<json::Number>();
}

void SetDim(_Dimension* d, float x, float y, float w, float h)
{
    d->x = x;
    d->y = y;
    d->w = w;
    d->h = h;
}

// Entry n of a table of count; null after logging when there is no table or n is out of range.
template <typename T>
T* TableEntry(const char* func, T* table, int count, int n, const char* none, const char* invalid_fmt)
{
    if (!table)
    {
        DebugErrorAlt(func, "%s", none);
        return nullptr;
    }
    if (n < 0 || n >= count)
    {
        DebugErrorAlt(func, invalid_fmt, n, count);
        return nullptr;
    }
    return &table[n];
}

} // namespace

EngPictureTextureFileOverwriteCB eng_picture_texture_file_overwrite_cb = nullptr;

void EngPicture_SetTextureFileOverwriteCB(EngPictureTextureFileOverwriteCB hook)
{
    eng_picture_texture_file_overwrite_cb = hook;
}

EngPicture::EngPicture()
    : path(nullptr), graphics_created(0), textures(nullptr), num_textures(0), layers(nullptr),
      layer_vars(nullptr), num_layers(0), draw_area{0, 0, 640, 480}, textures_capacity(0), layers_capacity(0),
      layer_vars_capacity(0)
{
    Init();
}

EngPicture::~EngPicture()
{
    Destroy();
}

void EngPicture::Init()
{
    Free();
    graphics_created = 0;
    SetDim(&draw_area, 0, 0, 640, 480);
}

void EngPicture::Free()
{
    // Texture objects would be lost with the table.
    DestroyGraphics();
    EngFree(textures, 0, kOwner);
    textures = nullptr;
    num_textures = 0;
    textures_capacity = 0;
    EngFree(layers, 0, kOwner);
    layers = nullptr;
    layers_capacity = 0;
    EngFree(layer_vars, 0, kOwner);
    layer_vars = nullptr;
    layer_vars_capacity = 0;
    num_layers = 0;
}

void EngPicture::Destroy()
{
    DestroyGraphics();
    Free();
    EngFree(path, 0, kOwner);
    path = nullptr;
}

char EngPicture::SetPath(const char* new_path)
{
    if (IsEmpty(new_path))
    {
        EngFree(path, 0, kOwner);
        path = nullptr;
        return 1;
    }
    size_t len = strlen(new_path);
    if (len > ENG_PICTURE_PATH_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Path too long");
        return 0;
    }
    char* copy = static_cast<char*>(EngMalloc(len + 1, kOwner, 0));
    if (!copy)
        return 0;
    memcpy(copy, new_path, len + 1);
    EngFree(path, 0, kOwner);
    path = copy;
    return 1;
}

void EngPicture::SetDrawArea(const _Dimension* area)
{
    if (area)
        draw_area = *area;
}

void EngPicture::SetDrawArea(float x, float y, float w, float h)
{
    SetDim(&draw_area, x, y, w, h);
}

EngPictureTexture* EngPicture::GetTexture(int n)
{
    return TableEntry(__PRETTY_FUNCTION__, textures, num_textures, n, "No textures",
                      "Invalid tex num %d (%d)");
}

EngPictureLayer* EngPicture::GetLayer(int n)
{
    return TableEntry(__PRETTY_FUNCTION__, layers, num_layers, n, "No layers", "Invalid layer num %d (%d)");
}

EngPictureLayerVars* EngPicture::GetLayerVars(int n)
{
    return TableEntry(__PRETTY_FUNCTION__, layer_vars, num_layers, n, "No layer vars",
                      "Invalid layer num %d (%d)");
}

// On failure the tables are kept as they were.
char EngPicture::AllocTexture()
{
    int count = GetNumTextures();
    if (count >= ENG_PICTURE_MAX_TEXTURES)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many textures (%d)", count);
        return 0;
    }
    if (!MakeRoom(&textures, count, &textures_capacity, __PRETTY_FUNCTION__))
        return 0;
    num_textures = count + 1;
    return 1;
}

char EngPicture::AllocLayer()
{
    int count = GetNumLayers();
    if (count >= ENG_PICTURE_MAX_LAYERS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many layers (%d)", count);
        return 0;
    }
    if (!MakeRoom(&layers, count, &layers_capacity, __PRETTY_FUNCTION__) ||
        !MakeRoom(&layer_vars, count, &layer_vars_capacity, __PRETTY_FUNCTION__))
        return 0;
    num_layers = count + 1;
    layers[count].tex_num = -1;
    return 1;
}

void EngPicture::BuildTextureName(char* out, const EngPictureTexture* texture) const
{
    if (texture->path[0])
        snprintf(out, ENG_PICTURE_NAME_BUFFER_SIZE, "%s/%s", texture->path, texture->filename);
    else if (!IsEmpty(path))
        snprintf(out, ENG_PICTURE_NAME_BUFFER_SIZE, "%s/%s", path, texture->filename);
    else
        snprintf(out, ENG_PICTURE_NAME_BUFFER_SIZE, "%s", texture->filename);
}

char EngPicture::AddTexture(const char* texture_path, const char* filename)
{
    // The record holds at most 511 and 63 characters; longer names would be cut.
    if (texture_path && strlen(texture_path) >= ENG_PICTURE_PATH_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Path too long");
        return 0;
    }
    if (IsEmpty(filename))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename");
        return 0;
    }
    if (strlen(filename) >= ENG_PICTURE_FILENAME_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return 0;
    }
    EngPictureTexture probe;
    memset(&probe, 0, sizeof(probe));
    EngSafeStrcpy(probe.path, texture_path, sizeof(probe.path));
    EngSafeStrcpy(probe.filename, filename, sizeof(probe.filename));
    char full[ENG_PICTURE_NAME_BUFFER_SIZE];
    BuildTextureName(full, &probe);
    if (EngFileIsThereButNotRegular(full, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(full))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist: <%s>", full);
        return 0;
    }
    if (!AllocTexture())
        return 0;
    textures[num_textures - 1] = probe;
    if (graphics_created)
    {
        DestroyGraphics();
        CreateGraphics();
    }
    return 1;
}

char EngPicture::AddLayer(const char* name)
{
    if (!AllocLayer())
        return 0;
    int n = num_layers - 1;
    EngPictureLayer* l = &layers[n];
    if (IsEmpty(name))
        snprintf(l->name, sizeof(l->name), "Layer %d", n);
    else
        EngUtf8SafeStrcpy(l->name, name, sizeof(l->name));
    l->tex_num = -1;
    SetDim(&l->reserved_area, 0, 0, 1, 1);
    SetDim(&l->main_area, 0, 0, 1, 1);
    l->rot_values[3] = 1;
    l->show = 1;
    l->alpha_level = 1;
    l->alpha_throb_speed = 0.5f;
    l->alpha_throb_mult = 1;
    l->tc_default = 1;
    l->tc_tc[2] = 1;
    l->tc_tc[3] = 1;
    l->tc_tile.x = 1;
    l->tc_tile.y = 1;
    ResetLayerVars(l, &layer_vars[n]);
    return 1;
}

char EngPicture::RemoveTexture(int n)
{
    if (!GetTexture(n))
        return 0;
    char had_graphics = graphics_created;
    DestroyGraphics();
    for (int i = 0; i < GetNumLayers(); i++)
    {
        if (layers[i].tex_num == n)
            layers[i].tex_num = -1;
        else if (layers[i].tex_num > n)
            layers[i].tex_num--;
    }
    RemoveAt(&textures, &num_textures, &textures_capacity, n);
    if (had_graphics)
        CreateGraphics();
    return 1;
}

char EngPicture::RemoveLayer(int n)
{
    if (!GetLayer(n))
        return 0;
    char had_graphics = graphics_created;
    DestroyGraphics();
    int count = num_layers;
    RemoveAt(&layers, &count, &layers_capacity, n);
    RemoveAt(&layer_vars, &num_layers, &layer_vars_capacity, n);
    if (had_graphics)
        CreateGraphics();
    return 1;
}

void EngPicture::SwapLayers(int a, int b)
{
    std::swap(layers[a], layers[b]);
    std::swap(layer_vars[a], layer_vars[b]);
}

char EngPicture::MoveLayerUp(int n)
{
    if (!GetLayer(n))
        return 0;
    if (n == 0)
        return 0;
    SwapLayers(n, n - 1);
    return 1;
}

char EngPicture::MoveLayerDown(int n)
{
    if (!GetLayer(n))
        return 0;
    if (n == num_layers - 1)
        return 0;
    SwapLayers(n, n + 1);
    return 1;
}

char EngPicture::BuildFileName(char* out, const char* folder, const char* filename, char add_extension)
{
    int len;
    if (!IsEmpty(folder))
        len = snprintf(out, ENG_PICTURE_NAME_BUFFER_SIZE, "%s/%s%s", folder, filename,
                       add_extension ? ENG_PICTURE_EXTENSION : "");
    else
        len = snprintf(out, ENG_PICTURE_NAME_BUFFER_SIZE, "%s%s", filename,
                       add_extension ? ENG_PICTURE_EXTENSION : "");
    if (len < 0 || len >= ENG_PICTURE_NAME_BUFFER_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return 0;
    }
    return 1;
}

char EngPicture::PrepareFileName(const char* func, char* out, const char* folder, const char* filename,
                                 char add_extension)
{
    if (IsEmpty(filename))
    {
        DebugErrorAlt(func, "No filename");
        return 0;
    }
    if (!BuildFileName(out, folder, filename, add_extension))
        return 0;
    return IsEmpty(folder) || SetPath(folder);
}

char EngPicture::LoadFromFile(const char* folder, const char* filename, char add_extension)
{
    DestroyGraphics();
    Init();
    char name[ENG_PICTURE_NAME_BUFFER_SIZE];
    if (!PrepareFileName(__PRETTY_FUNCTION__, name, folder, filename, add_extension))
        return 0;
    const char odd = EngFileIsThereButNotRegular(name, __PRETTY_FUNCTION__);
    if (odd || !EngFileExists(name))
    {
        if (!odd)
            DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", name);
        Free();
        return 0;
    }
    json::Object doc;
    if (!EngJsonReadObjectFromFile(&doc, name))
    {
        Free();
        return 0;
    }
    try
    {
        if (EngJsonDoesElementExistInObject(doc, "Draw Area", 0))
            EngJsonGetDimensionFromObject(doc, "Draw Area", &draw_area);

        if (doc.Find("Textures") != doc.End())
        {
            const json::Array& list = doc["Textures"].CastTo<json::Array>();
            for (const json::UnknownElement& element : list)
            {
                const json::Object& t = element.CastTo<json::Object>();
                const std::string& tpath = t["Path"].CastTo<json::String>();
                const std::string& tname = t["Filename"].CastTo<json::String>();
                if (!AllocTexture())
                {
                    Free();
                    return 0;
                }
                EngPictureTexture* rec = &textures[num_textures - 1];
                // Names are UTF-8: cut without splitting a character.
                EngUtf8SafeStrcpy(rec->path, tpath.c_str(), sizeof(rec->path));
                EngUtf8SafeStrcpy(rec->filename, tname.c_str(), sizeof(rec->filename));
            }
        }

        if (doc.Find("Layers") != doc.End())
        {
            const json::Array& list = doc["Layers"].CastTo<json::Array>();
            for (const json::UnknownElement& element : list)
            {
                const json::Object& o = element.CastTo<json::Object>();
                if (!AllocLayer())
                {
                    Free();
                    return 0;
                }
                int n = num_layers - 1;
                EngPictureLayer* l = &layers[n];

                const std::string& lname = o["Name"].CastTo<json::String>();
                EngUtf8SafeStrcpy(l->name, lname.c_str(), sizeof(l->name));
                if (!l->name[0])
                    snprintf(l->name, sizeof(l->name), "Layer %d", n);

                int tex = EngMathRoundDouble(RequiredNumber(o, "TexNum"));
                l->tex_num = (tex < -1 || tex >= num_textures) ? -1 : tex;

                SetDim(&l->main_area, 0, 0, 1, 1);
                SetDim(&l->reserved_area, 0, 0, 1, 1);
                EngJsonGetDimensionFromObject(o, "Main Area", &l->main_area);

                int trans = 0;
                if (EngJsonGetIntFromObject(o, "Trans Type", &trans))
                {
                    if (trans < 0 || trans > 4)
                    {
                        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid trans type %d.", trans);
                        trans = 0;
                    }
                    l->trans_type = static_cast<signed char>(trans);
                }
                EngJsonReadNumbersFromObject(o, "Trans Speeds", &l->trans_speeds[0], &l->trans_speeds[1],
                                             static_cast<float*>(nullptr), static_cast<float*>(nullptr));
                EngJsonGetDimensionFromObject(o, "Trans End Area", &l->trans_end_area);
                if (EngJsonDoesElementExistInObject(o, "Trans Random Area", 0))
                    EngJsonGetDimensionFromObject(o, "Trans Random Area", &l->trans_random_area);
                EngJsonReadNumbersFromObject(o, "RotFlags", &l->rot_flags[0], &l->rot_flags[1],
                                             static_cast<char*>(nullptr), static_cast<char*>(nullptr),
                                             static_cast<char*>(nullptr));
                EngJsonReadNumbersFromObject(o, "RotValues", &l->rot_values[0], &l->rot_values[1],
                                             &l->rot_values[2], &l->rot_values[3]);
                EngJsonGetCharFromObject(o, "Show", &l->show);

                l->alpha_level = static_cast<float>(RequiredNumber(o, "Alpha Level"));
                char blend = l->alpha_blend_type;
                if (EngJsonGetCharFromObject(o, "Alpha Blend Type", &blend))
                    l->alpha_blend_type = static_cast<signed char>(blend);
                l->alpha_throb_on = NumberToChar(RequiredNumber(o, "Alpha Throb On"));
                l->alpha_throb_min_level = static_cast<float>(RequiredNumber(o, "Alpha Throb Min Level"));
                l->alpha_throb_speed = static_cast<float>(RequiredNumber(o, "Alpha Throb Speed"));
                l->alpha_throb_mult = static_cast<float>(RequiredNumber(o, "Alpha Throb Mult"));

                EngJsonGetCharFromObject(o, "TC Default", &l->tc_default);
                EngJsonReadNumbersFromObject(o, "TC TC", &l->tc_tc[0], &l->tc_tc[1], &l->tc_tc[2],
                                             &l->tc_tc[3]);
                EngJsonGetVector2dFromObject(o, "TC Tile", &l->tc_tile);
                EngJsonGetCharFromObject(o, "TC Move", &l->tc_move);
                EngJsonGetVector2dFromObject(o, "TC Speed", &l->tc_speed);

                ResetLayerVars(l, &layer_vars[n]);
            }
        }
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "json::Exception <%s>", e.what());
        Free();
        return 0;
    }
    Tick(1);
    return 1;
}

char EngPicture::SaveToFile(const char* folder, const char* filename, char add_extension)
{
    char name[ENG_PICTURE_NAME_BUFFER_SIZE];
    if (!PrepareFileName(__PRETTY_FUNCTION__, name, folder, filename, add_extension))
        return 0;
    try
    {
        json::Object doc;
        EngJsonAddDimensionToObject(doc, "Draw Area", draw_area);

        json::Array texture_list;
        for (int i = 0; i < GetNumTextures(); i++)
        {
            json::Object t;
            t["Number"] = json::Number(i);
            t["Path"] = json::String(textures[i].path);
            t["Filename"] = json::String(textures[i].filename);
            texture_list.Insert(t);
        }
        doc["Textures"] = texture_list;

        json::Array layer_list;
        for (int i = 0; i < GetNumLayers(); i++)
        {
            const EngPictureLayer* l = &layers[i];
            json::Object o;
            o["Number"] = json::Number(i);
            o["Name"] = json::String(l->name);
            o["TexNum"] = json::Number(l->tex_num);
            EngJsonAddDimensionToObject(o, "Main Area", l->main_area);
            o["Trans Type"] = json::Number(l->trans_type);
            EngJsonAddNumbersToObject(o, "Trans Speeds", &l->trans_speeds[0], &l->trans_speeds[1],
                                      static_cast<const float*>(nullptr), static_cast<const float*>(nullptr));
            EngJsonAddDimensionToObject(o, "Trans End Area", l->trans_end_area);
            EngJsonAddDimensionToObject(o, "Trans Random Area", l->trans_random_area);
            o["RotFlags"] = json::Array();
            json::Array& flags = o["RotFlags"].ConvertTo<json::Array>();
            flags.Insert(json::Number(l->rot_flags[0]));
            flags.Insert(json::Number(l->rot_flags[1]));
            EngJsonAddNumbersToObject(o, "RotValues", &l->rot_values[0], &l->rot_values[1], &l->rot_values[2],
                                      &l->rot_values[3]);
            o["Show"] = json::Number(l->show);
            EngJsonAddFloatToObject(o, "Alpha Level", l->alpha_level);
            o["Alpha Blend Type"] = json::Number(l->alpha_blend_type);
            o["Alpha Throb On"] = json::Number(l->alpha_throb_on);
            EngJsonAddFloatToObject(o, "Alpha Throb Min Level", l->alpha_throb_min_level);
            EngJsonAddFloatToObject(o, "Alpha Throb Speed", l->alpha_throb_speed);
            EngJsonAddFloatToObject(o, "Alpha Throb Mult", l->alpha_throb_mult);
            o["TC Default"] = json::Number(l->tc_default);
            EngJsonAddNumbersToObject(o, "TC TC", &l->tc_tc[0], &l->tc_tc[1], &l->tc_tc[2], &l->tc_tc[3]);
            EngJsonAddVector2dToObject(o, "TC Tile", l->tc_tile);
            o["TC Move"] = json::Number(l->tc_move);
            EngJsonAddVector2dToObject(o, "TC Speed", l->tc_speed);
            layer_list.Insert(o);
        }
        doc["Layers"] = layer_list;

        if (!EngJsonWriteObjectToFile(doc, name))
            return 0;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "json::Exception <%s>", e.what());
        return 0;
    }
    return 1;
}
