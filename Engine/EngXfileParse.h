// Reader of the text form of .x model files: each mesh becomes one part of an
// EngXfile (triangle lists of vertices, normals and texture coordinates, a
// material and an optional texture). A line-oriented reader of a fixed subset.
#pragma once

#include "EngMatrix.h"
#include "EngTypes.h"

class EngFile;
class EngTexture;
class EngXfile;

#define XFILE_MAX_PARTS 150      // part records of a model (149 meshes usable)
#define XFILE_MAX_VERTICES 10000 // buffer entries; counts up to 9999
#define XFILE_MAX_NORMALS 10000
#define XFILE_MAX_FACES 4000 // counts up to 3999
#define XFILE_MAX_MESH_MATERIALS 20
#define XFILE_MAX_NAMED_MATERIALS 20 // named materials with a texture per file
#define XFILE_MAX_FRAME_LEVELS 10
#define XFILE_NAME_SIZE 256
#define XFILE_LINE_SIZE 512

// Conversions applied to every mesh before its lists are filled.
struct _XfileConvert
{
    char flip_normal_x, flip_normal_y, flip_normal_z;
    char flip_vertex_x, flip_vertex_y, flip_vertex_z;
    char rotate_zyx;
    float rotate_x, rotate_y, rotate_z;
    char swap_vertex_yz;
    char swap_normal_yz;
    char flip_u, flip_v;
    char reverse_winding;
};

// One part (mesh) of a model.
struct _XfilePart
{
    _ColourRGBA ambient;
    _ColourRGBA diffuse;
    _ColourRGBA specular;
    float shininess;
    _ColourRGBA emissive;
    char transparent;
    EngInt32 texture_index;
    EngTexture* texture;
    EngInt32 blend_type;
    _Vector3d* vertices;  // three per triangle
    _Vector3d* normals;   // three per triangle
    float* tex_coords;    // three (u, v) pairs per triangle
    EngInt32 point_count; // three times the face count
};

typedef char* (*XfileTextureNameCallback)(EngXfile* model, int part, char* folder, char* texture_name,
                                          void* data1, void* data2);

struct _XfileFace
{
    char points; // 3 or 4
    EngUInt32 index[4];
};

struct _XfileMeshMaterial
{
    EngInt32 index;
    char name[XFILE_NAME_SIZE];
    _ColourRGBA face_colour;
    float power;
    _ColourRGB specular;
    _ColourRGB emissive;
};

struct _XfileTexCoord
{
    float u, v;
};

class EngXfileParse
{
public:
    EngXfileParse();
    ~EngXfileParse();
    EngXfileParse(const EngXfileParse&) = delete;
    EngXfileParse& operator=(const EngXfileParse&) = delete;

    char LoadFile(EngXfile* model, EngFile* file, char* folder, float scale_x, float scale_y, float scale_z,
                  _XfileConvert* convert, char tex_alpha, char tex_option,
                  XfileTextureNameCallback texture_name_cb, void* cb_data1, void* cb_data2);
    void AllowReset(char on) { allow_reset = on; }

    EngUInt32 GetLastLoadedModelPartNumVertices();
    EngUInt32 GetLastLoadedModelPartNumNormals();
    EngUInt32 GetLastLoadedModelPartNumFaces();
    char GetLastLoadedModelPartVertex(unsigned int n, _Vector3d* out);
    char GetLastLoadedModelPartNormal(unsigned int n, _Vector3d* out);
    char GetLastLoadedModelPartFace(unsigned int n, unsigned int* a, unsigned int* b, unsigned int* c);
    char GetLastLoadedModelPartFaceNormals(unsigned int n, unsigned int* a, unsigned int* b, unsigned int* c);
    char GetLastLoadedModelPartVertexTexCoord(unsigned int n, float* u, float* v);
    const char* GetLastLoadedModelPartMaterialFilename();
    char FreeCurrentMaterialLists();

    // Copies `in` without leading spaces, tabs turned to spaces and trailing
    // line ends removed. `out` holds XFILE_LINE_SIZE characters.
    static void FormatLine(const char* in, char* out);
    // 1 line accepted, 2 a mesh completed, 0 the line was refused.
    char ParseLine(char* line);
    char FillList();
    char DoFillList();
    void Reset(char with_data);

private:
    char TakeBuffers();
    void FreeBuffers();
    char HasBuffers() const { return vertices != nullptr; }
    int ReadTextureName(const char* from);
    char ReadFace(const char* line, _XfileFace* face, char normals);
    void SetPartMaterial();
    char LoadTextures(char* folder, char tex_alpha, char tex_option, XfileTextureNameCallback cb, void* data1,
                      void* data2);
    char PartHasTexture() const;

    signed char state;
    EngInt32 level;
    char frame_set[XFILE_MAX_FRAME_LEVELS];
    EngMatrix frame[XFILE_MAX_FRAME_LEVELS];
    char material_stage;
    EngInt32 num_mesh_materials;
    EngInt32 cur_material;
    _XfileConvert convert;
    char reported_state;
    char has_tex_coords;
    char normals_read;
    char scaled;
    EngInt32 vertex_counter;
    EngInt32 normal_counter;
    EngInt32 face_counter;
    EngUInt32 num_face_material_indices;
    EngUInt32 face_material_counter;
    EngInt32 mesh_material_index;
    float scale[3];
    _XfileMeshMaterial mesh_materials[XFILE_MAX_MESH_MATERIALS];
    EngXfile* model;
    _XfilePart* part;
    EngInt32 part_index;
    EngInt32 num_texture_names;
    char material_names[XFILE_MAX_NAMED_MATERIALS][XFILE_NAME_SIZE];
    char texture_names[XFILE_MAX_NAMED_MATERIALS][XFILE_NAME_SIZE];
    char allow_reset;

    EngInt32 num_vertices;
    _Vector3d* vertices;
    EngInt32 num_normals;
    _Vector3d* normals;
    EngInt32 num_faces;
    _XfileFace* faces;
    _XfileFace* face_normals;
    _XfileTexCoord* tex_coords;
    char* texture_file;
    // Entries of each buffer that may be non-zero (cleared by Reset).
    EngInt32 vertices_used;
    EngInt32 normals_used;
    EngInt32 faces_used;
};
