// Layered, animated 2D pictures: a texture table and an ordered list of
// layers, each a textured rectangle that can move, turn, throb and scroll,
// read from and written to JSON picture files.
#pragma once

#include "EngTypes.h"

class EngTexture;
class EngMatrix;

#define ENG_PICTURE_PATH_SIZE 512
#define ENG_PICTURE_FILENAME_SIZE 64
#define ENG_PICTURE_LAYER_NAME_SIZE 32
// Size of the buffers in which file and texture names are built.
#define ENG_PICTURE_NAME_BUFFER_SIZE 1024
#define ENG_PICTURE_EXTENSION ".ttx"
// Limits of the tables; a file asking for more fails to load.
#define ENG_PICTURE_MAX_TEXTURES 1024
#define ENG_PICTURE_MAX_LAYERS 4096

struct EngPictureTexture
{
    char path[ENG_PICTURE_PATH_SIZE]; // empty: the picture's path is used
    char filename[ENG_PICTURE_FILENAME_SIZE];
    EngTexture* texture; // owned; made by CreateGraphics
};

// Areas are in units of the draw area: (0, 0, 1, 1) is all of it, y down.
struct _EngPictureLayer
{
    char name[ENG_PICTURE_LAYER_NAME_SIZE];
    int tex_num; // -1: no texture, not drawn
    _Dimension reserved_area;
    _Dimension main_area;
    signed char trans_type; // 0 none, 1 loop, 2 ping-pong, 3 eased ping-pong, 4 random placement
    float trans_speeds[2];
    _Dimension trans_end_area;
    _Dimension trans_random_area;
    char rot_flags[2];   // on, mode
    float rot_values[4]; // start, end (degrees), speed, multiplier
    char show;
    float alpha_level;
    signed char alpha_blend_type;
    char alpha_throb_on;
    float alpha_throb_min_level;
    float alpha_throb_speed;
    float alpha_throb_mult;
    char tc_default;
    float tc_tc[4]; // left, top, right, bottom
    _Vector2d tc_tile;
    char tc_move;
    _Vector2d tc_speed;
};
typedef _EngPictureLayer EngPictureLayer;

// Run-time state of one layer.
struct _EngPictureLayerVars
{
    float trans_pos;
    signed char trans_dir;
    _Dimension area;
    float random_pos[2];
    float angle;
    float rot_phase;
    signed char rot_dir;
    float alpha;
    float throb_phase;
    _TexCoords tex_coords;
};
typedef _EngPictureLayerVars EngPictureLayerVars;

// Redirects a picture texture: writes the file to load into out.
typedef char (*EngPictureTextureFileOverwriteCB)(const char* path, const char* filename, char* out,
                                                 int out_size);

class EngPicture
{
public:
    EngPicture();
    ~EngPicture();
    EngPicture(const EngPicture&) = delete;
    EngPicture& operator=(const EngPicture&) = delete;

    void Init();
    void Free();
    void Destroy();

    char SetPath(const char* new_path);
    const char* GetPath() const { return path; }
    void SetDrawArea(const _Dimension* area);
    void SetDrawArea(float x, float y, float w, float h);
    const _Dimension& GetDrawArea() const { return draw_area; }
    char AreGraphicsCreated() const { return graphics_created; }

    int GetNumTextures() const { return textures ? num_textures : 0; }
    int GetNumLayers() const { return layers ? num_layers : 0; }
    EngPictureTexture* GetTexture(int n);
    EngPictureLayer* GetLayer(int n);
    EngPictureLayerVars* GetLayerVars(int n);

    char AllocTexture();
    char AllocLayer();
    char AddTexture(const char* texture_path, const char* filename);
    char AddLayer(const char* name);
    char RemoveTexture(int n);
    char RemoveLayer(int n);
    char MoveLayerUp(int n);
    char MoveLayerDown(int n);

    // Animation.
    void ResetLayerVars(EngPictureLayer* layer, EngPictureLayerVars* vars);
    void ResetTextureCoordinates(EngPictureLayer* layer, EngPictureLayerVars* vars);
    char ResetTextureCoordinates(int layer);
    void MoveToNextRandomPosition(EngPictureLayer* layer, EngPictureLayerVars* vars);
    void TickCalcLayerTransArea(EngPictureLayer* layer, EngPictureLayerVars* vars);
    void Tick(float factor);

    // Drawing into the draw area (640 x 480 space).
    void DrawLayer(int n, float alpha_factor);
    void Draw();
    void DrawWithAlpha(float alpha_factor);

    char CreateGraphics();
    void DestroyGraphics();

    char LoadFromFile(const char* folder, const char* filename, char add_extension);
    char SaveToFile(const char* folder, const char* filename, char add_extension);

private:
    char* path;
    char graphics_created;
    EngPictureTexture* textures;
    int num_textures;
    EngPictureLayer* layers;
    EngPictureLayerVars* layer_vars;
    int num_layers;
    _Dimension draw_area;
    // Allocated entries; the tables double when full.
    int textures_capacity, layers_capacity, layer_vars_capacity;

    char BuildFileName(char* out, const char* folder, const char* filename, char add_extension);
    // The checked file name of a load or save; takes folder as the path. 0 after logging.
    char PrepareFileName(const char* func, char* out, const char* folder, const char* filename,
                         char add_extension);
    void BuildTextureName(char* out, const EngPictureTexture* texture) const;
    char IsTextureNeeded(int n) const;
    void SwapLayers(int a, int b);
};

void EngPicture_SetTextureFileOverwriteCB(EngPictureTextureFileOverwriteCB hook);

// Smooth 0..1 ramp used by the eased transitions and rotations.
float EngPictureEase(float t);

// 1 for file names of at least 5 characters ending in .png or .tga (any case).
char EngPictureTextureFileHasAlpha(const char* filename);
// The transform that maps the unit quad centred on the origin onto the area
// in viewport coordinates (-1..1, y up), turned clockwise by angle degrees.
EngMatrix* EngPictureBuildLayerMatrix(const _Dimension* area, char rotate, float angle, EngMatrix* out);
// The device blend factors of a layer blend type; 0 when it leaves blending alone.
char EngPictureGetBlendFactors(int type, int* src, int* dst);
