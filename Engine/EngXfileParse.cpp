// .x model reader: a brace counter and a line-driven state machine.
#include "EngXfileParse.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngMath.h"
#include "EngXfile.h"
#include "EngTexture.h"

namespace
{

const char* const kOwner = "EngXfileParse";

bool IsNumberLine(const char* line)
{
    return isdigit(static_cast<unsigned char>(line[0])) || line[0] == '-';
}

// The leading integer of the line; 0 when there is none.
char ReadInteger(const char* line, long long* out)
{
    return sscanf(line, "%lld", out) == 1;
}

bool Contains(const char* line, const char* text)
{
    return strstr(line, text) != nullptr;
}

bool BeginsWith(const char* line, const char* text)
{
    return strncmp(line, text, strlen(text)) == 0;
}

// A list count line: 0 after logging when it is no count or reaches the limit.
char ReadListCount(const char* func, const char* line, long long limit, const char* invalid_fmt,
                   const char* too_many_fmt, long long* count)
{
    if (!ReadInteger(line, count) || *count < 0)
    {
        DebugErrorAlt(func, invalid_fmt, line);
        return 0;
    }
    if (*count >= limit)
    {
        DebugErrorAlt(func, too_many_fmt, *count);
        return 0;
    }
    return 1;
}

// Starts a list of count entries; the high-water mark keeps the most ever used.
void StartList(long long count, EngInt32* num, EngInt32* used, EngInt32* counter)
{
    *num = static_cast<EngInt32>(count);
    if (*num > *used)
        *used = *num;
    *counter = 0;
}

// "x;y;z;" into v; what does not read stays 0.
void ReadVector(const char* line, _Vector3d* v)
{
    v->x = v->y = v->z = 0;
    sscanf(line, "%f;%f;%f;", &v->x, &v->y, &v->z);
}

} // namespace

EngXfileParse::EngXfileParse()
    : state(0), level(0), material_stage(0), num_mesh_materials(0), cur_material(0), convert(),
      reported_state(0), has_tex_coords(0), normals_read(0), scaled(0), vertex_counter(0), normal_counter(0),
      face_counter(0), num_face_material_indices(0), face_material_counter(0), mesh_material_index(-1),
      model(nullptr), part(nullptr), part_index(0), num_texture_names(0), allow_reset(1), num_vertices(0),
      vertices(nullptr), num_normals(0), normals(nullptr), num_faces(0), faces(nullptr),
      face_normals(nullptr), tex_coords(nullptr), texture_file(nullptr)
{
    memset(frame_set, 0, sizeof(frame_set));
    for (EngMatrix& m : frame)
        m.SetIdentityMatrix();
    scale[0] = scale[1] = scale[2] = 1.0f;
    memset(mesh_materials, 0, sizeof(mesh_materials));
    memset(material_names, 0, sizeof(material_names));
    memset(texture_names, 0, sizeof(texture_names));
}

EngXfileParse::~EngXfileParse()
{
    FreeBuffers();
}

char EngXfileParse::TakeBuffers()
{
    if (HasBuffers() || normals || faces || face_normals || tex_coords || texture_file)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory not freed ok");
        FreeBuffers();
    }
    vertices = static_cast<_Vector3d*>(EngMalloc(sizeof(_Vector3d) * XFILE_MAX_VERTICES, kOwner, 1));
    normals = static_cast<_Vector3d*>(EngMalloc(sizeof(_Vector3d) * XFILE_MAX_NORMALS, kOwner, 1));
    faces = static_cast<_XfileFace*>(EngMalloc(sizeof(_XfileFace) * XFILE_MAX_FACES, kOwner, 1));
    face_normals = static_cast<_XfileFace*>(EngMalloc(sizeof(_XfileFace) * XFILE_MAX_FACES, kOwner, 1));
    tex_coords =
        static_cast<_XfileTexCoord*>(EngMalloc(sizeof(_XfileTexCoord) * XFILE_MAX_VERTICES, kOwner, 1));
    texture_file = static_cast<char*>(EngMalloc(XFILE_LINE_SIZE, kOwner, 1));
    vertices_used = normals_used = faces_used = 0;
    if (!vertices || !normals || !faces || !face_normals || !tex_coords || !texture_file)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        FreeBuffers();
        return 0;
    }
    return 1;
}

void EngXfileParse::FreeBuffers()
{
    EngFree(vertices, 0, kOwner);
    EngFree(normals, 0, kOwner);
    EngFree(faces, 0, kOwner);
    EngFree(face_normals, 0, kOwner);
    EngFree(tex_coords, 0, kOwner);
    EngFree(texture_file, 0, kOwner);
    vertices = nullptr;
    normals = nullptr;
    faces = nullptr;
    face_normals = nullptr;
    tex_coords = nullptr;
    texture_file = nullptr;
}

void EngXfileParse::FormatLine(const char* in, char* out)
{
    out[0] = 0;
    if (!in)
        return;
    while (*in == ' ')
        in++;
    EngSafeStrcpy(out, in, XFILE_LINE_SIZE);
    for (char* p = out; *p; p++)
        if (*p == '\t')
            *p = ' ';
    size_t len = strlen(out);
    for (int i = 0; i < 4 && len > 0 && (out[len - 1] == '\r' || out[len - 1] == '\n'); i++)
        out[--len] = 0;
}

void EngXfileParse::Reset(char with_data)
{
    state = 0;
    material_stage = 0;
    num_mesh_materials = 0;
    cur_material = 0;
    reported_state = 0;
    vertex_counter = 0;
    normal_counter = 0;
    face_counter = 0;
    face_material_counter = 0;
    if (!allow_reset)
        return;
    memset(mesh_materials, 0, sizeof(mesh_materials));
    if (!with_data)
        return;
    num_vertices = 0;
    num_normals = 0;
    num_faces = 0;
    has_tex_coords = 0;
    normals_read = 0;
    num_face_material_indices = 0;
    mesh_material_index = -1;
    if (HasBuffers())
    {
        // Only the entries written since the last clear can be non-zero.
        memset(vertices, 0, sizeof(_Vector3d) * vertices_used);
        memset(tex_coords, 0, sizeof(_XfileTexCoord) * vertices_used);
        memset(normals, 0, sizeof(_Vector3d) * normals_used);
        memset(faces, 0, sizeof(_XfileFace) * faces_used);
        memset(face_normals, 0, sizeof(_XfileFace) * faces_used);
    }
    vertices_used = normals_used = faces_used = 0;
}

char EngXfileParse::PartHasTexture() const
{
    return part && part->texture_index >= 0;
}

// A quoted name: the text after the first double quote up to the next one.
// Returns the slot it was stored in, -1 when the line holds no name, -2 when
// the line is refused.
int EngXfileParse::ReadTextureName(const char* from)
{
    const char* quote = strchr(from, '"');
    if (!quote)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture file name in <%s>", from);
        return -1;
    }
    const char* start = quote + 1;
    const char* end = strchr(start, '"');
    size_t len = end ? static_cast<size_t>(end - start) : strlen(start);
    if (len == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Empty texture file name");
        return -1;
    }
    if (len >= XFILE_NAME_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Material name to long <%s>", from);
        return -2;
    }
    if (num_texture_names >= XFILE_MAX_NAMED_MATERIALS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many materials");
        return -2;
    }
    int slot = num_texture_names++;
    memcpy(texture_names[slot], start, len);
    texture_names[slot][len] = 0;
    return slot;
}

char EngXfileParse::ReadFace(const char* line, _XfileFace* face, char for_normals)
{
    const char* what = for_normals ? "Normals" : "Vertices";
    long long points = 0;
    ReadInteger(line, &points);
    long long v[4] = {0, 0, 0, 0};
    int n;
    if (points == 3)
        n = sscanf(line, "3;%lld,%lld,%lld;", &v[0], &v[1], &v[2]);
    else if (points == 4)
        n = sscanf(line, "4;%lld,%lld,%lld,%lld;", &v[0], &v[1], &v[2], &v[3]);
    else
    {
        if (for_normals)
            DebugErrorAlt(__PRETTY_FUNCTION__, "<%lld> point normal m_faces not supported", points);
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "<%lld> point m_faces not supported", points);
        return 0;
    }
    if (n != points)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid face <%s>", line);
        return 0;
    }
    for (int i = 0; i < points; i++)
    {
        if (v[i] < 0 || v[i] >= XFILE_MAX_VERTICES)
        {
            if (points == 3)
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad %s <%lld,%lld,%lld>", what, v[0], v[1], v[2]);
            else
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad %s <%lld,%lld,%lld,%lld>", what, v[0], v[1], v[2],
                              v[3]);
            return 0;
        }
    }
    face->points = static_cast<char>(points);
    for (int i = 0; i < 4; i++)
        face->index[i] = static_cast<EngUInt32>(v[i]);
    return 1;
}

char EngXfileParse::ParseLine(char* raw)
{
    char line[XFILE_LINE_SIZE];
    FormatLine(raw, line);
    if (!line[0])
        return 1;
    if (strchr(line, '{'))
        level++;
    if (strchr(line, '}'))
    {
        level--;
        if (level < 0)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Level: %d", level);
    }
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }

    const size_t len = strlen(line);
    const bool number = IsNumberLine(line);
    long long count = 0;

    switch (state)
    {
    case 0:
        if (BeginsWith(line, "Mesh ") && len > 5)
            state = 1;
        else if (BeginsWith(line, "Material ") && len > 10)
        {
            if (num_texture_names >= XFILE_MAX_NAMED_MATERIALS)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Too many materials");
                return 0;
            }
            char name[XFILE_LINE_SIZE] = "";
            sscanf(line, "Material %511s {", name);
            if (strlen(name) >= XFILE_NAME_SIZE)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Material name to long <%s>", name);
                return 0;
            }
            EngSafeStrcpy(material_names[num_texture_names], name, XFILE_NAME_SIZE);
            state = 30;
        }
        else if (BeginsWith(line, "FrameTransformMatrix {"))
            state = 40;
        return 1;

    case 1:
        if (len < 2)
            return 1;
        if (!ReadListCount(__PRETTY_FUNCTION__, line, XFILE_MAX_VERTICES, "Invalid m_vertices count <%s>",
                           "Too many m_vertices", &count))
            return 0;
        StartList(count, &num_vertices, &vertices_used, &vertex_counter);
        state = num_vertices ? 2 : 3;
        return 1;

    case 2:
        if (!number || len < 4)
            return 1;
        ReadVector(line, &vertices[vertex_counter]);
        if (++vertex_counter >= num_vertices)
            state = 3;
        return 1;

    case 3:
        if (!number || len < 2)
            return 1;
        if (!ReadListCount(__PRETTY_FUNCTION__, line, XFILE_MAX_FACES, "Invalid m_faces count <%s>",
                           "Too many m_faces (%lld)", &count))
            return 0;
        StartList(count, &num_faces, &faces_used, &face_counter);
        state = num_faces ? 4 : 5;
        return 1;

    case 4:
        if (!number || len < 4)
            return 1;
        if (!ReadFace(line, &faces[face_counter], 0))
            return 0;
        if (++face_counter >= num_faces)
            state = 5;
        return 1;

    case 5:
        if (Contains(line, "MeshNormals "))
            state = 6;
        else if (Contains(line, "MeshMaterialList "))
            state = 11;
        return 1;

    case 6:
        if (!number || len < 2)
            return 1;
        if (!ReadListCount(__PRETTY_FUNCTION__, line, XFILE_MAX_NORMALS, "Invalid m_normals count <%s>",
                           "Too many m_normals", &count))
            return 0;
        StartList(count, &num_normals, &normals_used, &normal_counter);
        state = num_normals ? 7 : 8;
        return 1;

    case 7:
        if (!number || len < 4)
            return 1;
        ReadVector(line, &normals[normal_counter]);
        EngMathUnifyNormal(&normals[normal_counter]);
        if (++normal_counter >= num_normals)
            state = 8;
        return 1;

    case 8:
        if (!number || len < 2)
            return 1;
        if (!ReadInteger(line, &count) || count != num_faces)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Num normal m_faces (%lld) is not equal num m_faces(%d)",
                          count, num_faces);
            return 0;
        }
        face_counter = 0;
        if (num_faces)
            state = 9;
        else
        {
            normals_read = 1;
            state = 10;
        }
        return 1;

    case 9:
        if (!number || len < 4)
            return 1;
        if (!ReadFace(line, &face_normals[face_counter], 1))
            return 0;
        if (++face_counter >= num_faces)
        {
            normals_read = 1;
            state = 10;
        }
        return 1;

    case 10:
        if (material_stage == 0)
        {
            if (Contains(line, "MeshMaterialList "))
                state = 11;
            return 1;
        }
        if (!PartHasTexture())
            return FillList() ? 2 : 0;
        if (Contains(line, "MeshTextureCoords "))
            state = 20;
        return 1;

    case 11:
        if (!number)
            return 1;
        if (!ReadInteger(line, &count) || count < 1 || count > XFILE_MAX_MESH_MATERIALS)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num. mesh materials (%lld)", count);
            return 0;
        }
        num_mesh_materials = static_cast<EngInt32>(count);
        material_stage = 1;
        cur_material = 0;
        state = 12;
        return 1;

    case 12:
        if (!number || len < 2)
            return 1;
        if (!ReadInteger(line, &count) || count < 0 || count > 0xFFFFFFFFLL)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num. face material indices <%s>", line);
            return 0;
        }
        num_face_material_indices = static_cast<EngUInt32>(count);
        face_material_counter = 0;
        mesh_material_index = -1;
        state = num_face_material_indices ? 13 : 14;
        return 1;

    case 13:
        if (!number)
            return 1;
        ReadInteger(line, &count);
        if (count < -1 || count > XFILE_MAX_MESH_MATERIALS)
            count = XFILE_MAX_MESH_MATERIALS; // out of range; reported when the part is filled
        if (face_material_counter == 0)
            mesh_material_index = static_cast<EngInt32>(count);
        else if (count != mesh_material_index)
            DebugErrorAlt(__PRETTY_FUNCTION__,
                          "Warning more than one material defined in a mesh - not supported yet. (%lld,%d)",
                          count, mesh_material_index);
        if (++face_material_counter >= num_face_material_indices)
            state = Contains(line, "Material {") ? 15 : 14;
        return 1;

    case 14:
        if (Contains(line, "Material") && Contains(line, " {"))
        {
            material_stage = 2;
            if (cur_material >= num_mesh_materials)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid cur material num (%d,%d)", cur_material,
                              num_mesh_materials);
                return 0;
            }
            char name[XFILE_LINE_SIZE] = "";
            sscanf(line, "Material %511s {", name);
            if (strcmp(name, "{") == 0)
                name[0] = 0;
            EngSafeStrcpy(mesh_materials[cur_material].name, name, XFILE_NAME_SIZE);
            mesh_materials[cur_material].index = cur_material;
            state = 15;
            return 1;
        }
        {
            char name[XFILE_LINE_SIZE] = "";
            if (sscanf(line, "{ %511s }", name) != 1)
                return 1;
            size_t n = strlen(name);
            if (n > 0 && name[n - 1] == '}')
                name[--n] = 0;
            if (!name[0])
                return 1;
            if (part)
            {
                part->texture_index = -1;
                for (int i = 0; i < num_texture_names; i++)
                    if (strcmp(material_names[i], name) == 0)
                        part->texture_index = i;
                if (part->texture_index < 0)
                    DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find m_material <%s> in file", name);
            }
            state = 19;
        }
        return 1;

    case 15:
        if (!number)
            return 1;
        {
            _ColourRGBA& c = mesh_materials[cur_material].face_colour;
            sscanf(line, "%f;%f;%f;%f", &c.r, &c.g, &c.b, &c.a);
        }
        state = 16;
        return 1;

    case 16:
        if (!number)
            return 1;
        sscanf(line, "%f", &mesh_materials[cur_material].power);
        state = 17;
        return 1;

    case 17:
        if (!number)
            return 1;
        {
            _ColourRGB& c = mesh_materials[cur_material].specular;
            sscanf(line, "%f;%f;%f", &c.r, &c.g, &c.b);
        }
        state = 18;
        return 1;

    case 18:
        if (!number)
            return 1;
        {
            _ColourRGB& c = mesh_materials[cur_material].emissive;
            sscanf(line, "%f;%f;%f", &c.r, &c.g, &c.b);
        }
        cur_material++;
        state = cur_material < num_mesh_materials ? 14 : 19;
        return 1;

    case 19:
        if (Contains(line, "MeshNormals "))
        {
            state = 6;
            return 1;
        }
        if (!PartHasTexture())
        {
            if (Contains(line, "TextureFilename ") && strchr(line, '"'))
            {
                int slot = ReadTextureName(strchr(line, '"'));
                if (slot == -2)
                    return 0;
                if (slot >= 0)
                {
                    material_names[slot][0] = 0; // inline: no name to refer to it by
                    if (part)
                        part->texture_index = slot;
                }
                return 1;
            }
            if (normals_read)
                return FillList() ? 2 : 0;
            return 1;
        }
        if (Contains(line, "MeshTextureCoords "))
            state = 20;
        return 1;

    case 20:
        if (!number)
            return 1;
        if (!ReadInteger(line, &count) || count != num_vertices)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num. text coordinates (%lld not %d)", count,
                          num_vertices);
            return 0;
        }
        vertex_counter = 0;
        if (num_vertices == 0)
        {
            has_tex_coords = 1;
            return FillList() ? 2 : 0;
        }
        state = 21;
        return 1;

    case 21:
        if (!number)
            return 1;
        {
            _XfileTexCoord& t = tex_coords[vertex_counter];
            t.u = t.v = 0;
            sscanf(line, "%f;%f;", &t.u, &t.v);
        }
        if (++vertex_counter < num_vertices)
            return 1;
        has_tex_coords = 1;
        return FillList() ? 2 : 0;

    case 30:
        if (Contains(line, "TextureFilename"))
        {
            if (strchr(line, '"'))
            {
                // The name on the same line: TextureFilename { "name"; }
                if (ReadTextureName(line) == -2)
                    return 0;
            }
            else
                state = 31;
        }
        if (Contains(line, "}"))
            state = 0;
        return 1;

    case 31:
        if (ReadTextureName(line) == -2)
            return 0;
        state = 0;
        return 1;

    case 40:
        if (!Contains(line, ";;"))
            return 1;
        if (level < 1 || level > XFILE_MAX_FRAME_LEVELS)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid level (%d) for frame transform", level);
            return 0;
        }
        {
            float v[16];
            int n = sscanf(line, "%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f;;", &v[0], &v[1], &v[2],
                           &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12], &v[13],
                           &v[14], &v[15]);
            if (n == 16)
            {
                memcpy(frame[level - 1].m, v, sizeof(v));
                frame_set[level - 1] = 1;
            }
            else
                DebugErrorAlt(__PRETTY_FUNCTION__, "Frame transform not on one line, ignored");
        }
        state = 41;
        return 1;

    case 41:
        if (Contains(line, "}"))
            state = 0;
        return 1;

    default:
        if (!reported_state)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Unexpected parse state: %d", state);
            reported_state = 1;
        }
        return 1;
    }
}

char EngXfileParse::FillList()
{
    // Frame matrices, outermost first.
    EngMatrix combined;
    combined.SetIdentityMatrix();
    char applied = 0;
    int levels = level < XFILE_MAX_FRAME_LEVELS ? level : XFILE_MAX_FRAME_LEVELS;
    for (int i = 0; i < levels; i++)
    {
        if (frame_set[i])
        {
            combined.PreMultiplyByMatrix(&frame[i]);
            applied = 1;
        }
    }
    if (applied)
    {
        for (int i = 0; i < num_vertices; i++)
            combined.TransformVectorByMatrix(&vertices[i]);
        combined.m[12] = combined.m[13] = combined.m[14] = 0;
        for (int i = 0; i < num_normals; i++)
            EngMathUnifyNormal(combined.TransformVectorByMatrix(&normals[i]));
        for (int l = level - 2; l <= level - 1; l++)
            if (l >= 0 && l < XFILE_MAX_FRAME_LEVELS)
                frame_set[l] = 0;
    }

    // Conversion rotation, each new rotation applied after the earlier ones.
    EngMatrix rotation, axis;
    rotation.SetIdentityMatrix();
    char rotated = 0;
    for (int step = 0; step < 3; step++)
    {
        int which = convert.rotate_zyx ? 2 - step : step;
        float angle = which == 0 ? convert.rotate_x : which == 1 ? convert.rotate_y : convert.rotate_z;
        if (angle == 0)
            continue;
        if (which == 0)
            axis.SetRotateXMatrix(angle);
        else if (which == 1)
            axis.SetRotateYMatrix(angle);
        else
            axis.SetRotateZMatrix(angle);
        rotation.MultiplyByMatrix(&axis);
        rotated = 1;
    }
    if (rotated)
    {
        for (int i = 0; i < num_vertices; i++)
            rotation.TransformVectorByMatrix(&vertices[i]);
        for (int i = 0; i < num_normals; i++)
            rotation.TransformVectorByMatrix(&normals[i]);
    }

    for (int i = 0; i < num_normals; i++)
    {
        _Vector3d& n = normals[i];
        if (convert.flip_normal_x)
            n.x = -n.x;
        if (convert.flip_normal_y)
            n.y = -n.y;
        if (convert.flip_normal_z)
            n.z = -n.z;
    }
    for (int i = 0; i < num_vertices; i++)
    {
        _Vector3d& v = vertices[i];
        if (convert.flip_vertex_x)
            v.x = -v.x;
        if (convert.flip_vertex_y)
            v.y = -v.y;
        if (convert.flip_vertex_z)
            v.z = -v.z;
        if (convert.swap_vertex_yz)
        {
            float t = v.y;
            v.y = v.z;
            v.z = t;
        }
    }
    if (convert.swap_normal_yz)
    {
        for (int i = 0; i < num_normals; i++)
        {
            float t = normals[i].y;
            normals[i].y = normals[i].z;
            normals[i].z = t;
        }
    }
    if (has_tex_coords)
    {
        for (int i = 0; i < num_vertices; i++)
        {
            if (convert.flip_u)
                tex_coords[i].u = 1.0f - tex_coords[i].u;
            if (convert.flip_v)
                tex_coords[i].v = 1.0f - tex_coords[i].v;
        }
    }
    if (scaled)
    {
        for (int i = 0; i < num_vertices; i++)
        {
            vertices[i].x *= scale[0];
            vertices[i].y *= scale[1];
            vertices[i].z *= scale[2];
        }
    }
    return DoFillList();
}

char EngXfileParse::DoFillList()
{
    if (num_vertices <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No vertices");
        return 0;
    }
    if (num_faces <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No faces");
        return 0;
    }
    if (!part || !model)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return 0;
    }
    if (part->vertices)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory not free (verts)");
        return 0;
    }
    if (part->normals)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory not free (norms)");
        return 0;
    }
    if (part->tex_coords)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory not free (tcs)");
        return 0;
    }
    const size_t points = static_cast<size_t>(num_faces) * 3;
    part->vertices = static_cast<_Vector3d*>(EngMalloc(sizeof(_Vector3d) * points, kOwner, 1));
    if (!part->vertices)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (verts)");
        model->FreePartMaterialLists(part_index);
        return 0;
    }
    part->normals = static_cast<_Vector3d*>(EngMalloc(sizeof(_Vector3d) * points, kOwner, 1));
    if (!part->normals)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (norms)");
        model->FreePartMaterialLists(part_index);
        return 0;
    }
    part->tex_coords = static_cast<float*>(EngMalloc(sizeof(float) * 2 * points, kOwner, 1));
    if (!part->tex_coords)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (tcs)");
        model->FreePartMaterialLists(part_index);
        return 0;
    }
    part->point_count = static_cast<EngInt32>(points);

    const EngUInt32 nv = static_cast<EngUInt32>(num_vertices);
    const EngUInt32 nn = static_cast<EngUInt32>(num_normals);
    if (!has_tex_coords)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not verified ok for non-tex parts");
    for (int f = 0; f < num_faces; f++)
    {
        const EngUInt32* vi = faces[f].index;
        const EngUInt32* ni = face_normals[f].index;
        if (faces[f].points == 3)
        {
            const int order[3] = {0, convert.reverse_winding ? 2 : 1, convert.reverse_winding ? 1 : 2};
            if (vi[0] >= nv || vi[1] >= nv || vi[2] >= nv)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Vertices (%u %u %u)", vi[0], vi[1], vi[2]);
                model->FreePartMaterialLists(part_index);
                return 0;
            }
            if (ni[0] >= nn || ni[1] >= nn || ni[2] >= nn)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Normals (%u %u %u)", ni[0], ni[1], ni[2]);
                model->FreePartMaterialLists(part_index);
                return 0;
            }
            for (int k = 0; k < 3; k++)
            {
                const size_t out = static_cast<size_t>(f) * 3 + k;
                part->vertices[out] = vertices[vi[order[k]]];
                part->normals[out] = normals[ni[order[k]]];
                if (has_tex_coords)
                {
                    part->tex_coords[out * 2] = tex_coords[vi[order[k]]].u;
                    part->tex_coords[out * 2 + 1] = tex_coords[vi[order[k]]].v;
                }
            }
        }
        else if (faces[f].points == 4)
        {
            if (vi[0] >= nv || vi[1] >= nv || vi[2] >= nv || vi[3] >= nv)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Vertices (%u %u %u %u)", vi[0], vi[1], vi[2], vi[3]);
                model->FreePartMaterialLists(part_index);
                return 0;
            }
            if (ni[0] >= nn || ni[1] >= nn || ni[2] >= nn || ni[3] >= nn)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Normals (%u %u %u %u)", ni[0], ni[1], ni[2], ni[3]);
                model->FreePartMaterialLists(part_index);
                return 0;
            }
            // The slot holds one triangle: a quad is left as a zero (invisible) triangle.
            DebugErrorAlt(__PRETTY_FUNCTION__, "Not updated");
        }
        else
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "%d point faces not supported", faces[f].points);
            model->FreePartMaterialLists(part_index);
            return 0;
        }
    }
    return 1;
}

void EngXfileParse::SetPartMaterial()
{
    if (!part)
        return;
    if (part->texture_index >= 0)
    {
        part->ambient = {1, 1, 1, 1};
        part->diffuse = {1, 1, 1, 1};
        part->specular = {0, 0, 0, 1};
        part->shininess = 127;
        part->emissive = {0, 0, 0, 0};
        return;
    }
    int index = mesh_material_index;
    if (index < 0 || index >= num_mesh_materials)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "m_mesh_materials_index = %d (%d)", index, num_mesh_materials);
        index = 0;
    }
    const _XfileMeshMaterial& m = mesh_materials[index];
    part->ambient = m.face_colour;
    part->diffuse = m.face_colour;
    part->specular = {m.specular.r, m.specular.g, m.specular.b, 1};
    part->shininess = m.power;
    part->emissive = {m.emissive.r, m.emissive.g, m.emissive.b, 1};
}

char EngXfileParse::LoadTextures(char* folder, char tex_alpha, char tex_option, XfileTextureNameCallback cb,
                                 void* data1, void* data2)
{
    for (int i = 0; i < model->part_count; i++)
    {
        _XfilePart* p = &model->parts[i];
        if (p->texture_index < 0 || p->texture_index >= num_texture_names)
            continue;
        char* name = texture_names[p->texture_index];
        const char* result = cb ? cb(model, i, folder, name, data1, data2) : nullptr;
        if (result)
        {
            if (!result[0])
            {
                p->texture_index = -1;
                delete p->texture;
                p->texture = nullptr;
                continue;
            }
            if (strlen(result) >= XFILE_NAME_SIZE)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Material name to long <%s>", result);
                return 0;
            }
            EngSafeStrcpy(texture_file, result, XFILE_NAME_SIZE);
        }
        else if (folder)
        {
            int n = snprintf(texture_file, XFILE_NAME_SIZE, "%s/%s", folder, name);
            if (n < 0 || n >= XFILE_NAME_SIZE)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Material name to long <%s/%s>", folder, name);
                return 0;
            }
        }
        else
            EngSafeStrcpy(texture_file, name, XFILE_NAME_SIZE);

        delete p->texture;
        p->texture = new (std::nothrow) EngTexture();
        if (!p->texture)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
            return 0;
        }
        if (!p->texture->LoadFromFileUsingExt(texture_file, tex_alpha, tex_option, xf_dat_ext_type))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load texture <%s> for part %d of model",
                          texture_file, i);
            delete p->texture;
            p->texture = nullptr;
            return 0;
        }
    }
    return 1;
}

char EngXfileParse::LoadFile(EngXfile* m, EngFile* file, char* folder, float scale_x, float scale_y,
                             float scale_z, _XfileConvert* conv, char tex_alpha, char tex_option,
                             XfileTextureNameCallback cb, void* cb_data1, void* cb_data2)
{
    if (!m || !file || !file->IsOpen())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return 0;
    }
    if (!m->parts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parts.");
        return 0;
    }
    if (!TakeBuffers())
        return 0;
    if (conv)
        convert = *conv;
    else
        memset(&convert, 0, sizeof(convert));
    for (int i = 0; i < XFILE_MAX_PARTS; i++)
    {
        _XfilePart* p = &m->parts[i];
        p->texture_index = -1;
        if (p->texture)
        {
            p->texture->Destroy();
            delete p->texture;
            p->texture = nullptr;
        }
    }
    model = m;
    model->part_count = 0;
    num_texture_names = 0;
    memset(material_names, 0, sizeof(material_names));
    memset(texture_names, 0, sizeof(texture_names));
    part_index = 0;
    part = &m->parts[0];

    // Pass 1: count the meshes.
    char raw[XFILE_LINE_SIZE];
    char line[XFILE_LINE_SIZE];
    int meshes = 0;
    file->Rewind();
    while (file->ReadLine(raw, sizeof(raw)))
    {
        FormatLine(raw, line);
        if (strstr(line, "Mesh "))
            meshes++;
    }
    file->Rewind();
    if (meshes == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find any meshes in model");
        return 0;
    }
    if (meshes >= XFILE_MAX_PARTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many parts in model");
        return 0;
    }
    model->part_count = meshes;

    scale[0] = scale_x;
    scale[1] = scale_y;
    scale[2] = scale_z;
    scaled = scale_x != 1.0f || scale_y != 1.0f || scale_z != 1.0f;
    Reset(1);
    level = 0;
    memset(frame_set, 0, sizeof(frame_set));
    for (EngMatrix& f : frame)
        f.SetIdentityMatrix();

    // Pass 2: parse; a refused line ends the parse with the parts done so far.
    while (file->ReadLine(raw, sizeof(raw)))
    {
        char r = ParseLine(raw);
        if (r == 0)
            break;
        if (r != 2)
            continue;
        SetPartMaterial();
        part_index++;
        if (part_index < model->part_count)
        {
            part = &model->parts[part_index];
            Reset(1);
        }
        else
        {
            part = nullptr;
            Reset(0);
        }
    }

    return LoadTextures(folder, tex_alpha, tex_option, cb, cb_data1, cb_data2);
}

EngUInt32 EngXfileParse::GetLastLoadedModelPartNumVertices()
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    return static_cast<EngUInt32>(num_vertices);
}

EngUInt32 EngXfileParse::GetLastLoadedModelPartNumNormals()
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    return static_cast<EngUInt32>(num_normals);
}

EngUInt32 EngXfileParse::GetLastLoadedModelPartNumFaces()
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    return static_cast<EngUInt32>(num_faces);
}

char EngXfileParse::GetLastLoadedModelPartVertex(unsigned int n, _Vector3d* out)
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    if (n >= static_cast<unsigned int>(num_vertices))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num %u (%u)", n, static_cast<unsigned int>(num_vertices));
        return 0;
    }
    if (out)
        *out = vertices[n];
    return 1;
}

char EngXfileParse::GetLastLoadedModelPartNormal(unsigned int n, _Vector3d* out)
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    if (n >= static_cast<unsigned int>(num_normals))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num %u (%u)", n, static_cast<unsigned int>(num_normals));
        return 0;
    }
    if (out)
        *out = normals[n];
    return 1;
}

static char CopyFace(const char* func, const _XfileFace* list, EngInt32 count, unsigned int n,
                     unsigned int* a, unsigned int* b, unsigned int* c)
{
    if (n >= static_cast<unsigned int>(count))
    {
        DebugErrorAlt(func, "Invalid num %u (%u)", n, static_cast<unsigned int>(count));
        return 0;
    }
    if (list[n].points != 3)
    {
        DebugErrorAlt(func, "Face %u does not have 3 points (%d)", n, list[n].points);
        return 0;
    }
    if (a)
        *a = list[n].index[0];
    if (b)
        *b = list[n].index[1];
    if (c)
        *c = list[n].index[2];
    return 1;
}

char EngXfileParse::GetLastLoadedModelPartFace(unsigned int n, unsigned int* a, unsigned int* b,
                                               unsigned int* c)
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    return CopyFace(__PRETTY_FUNCTION__, faces, num_faces, n, a, b, c);
}

char EngXfileParse::GetLastLoadedModelPartFaceNormals(unsigned int n, unsigned int* a, unsigned int* b,
                                                      unsigned int* c)
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    return CopyFace(__PRETTY_FUNCTION__, face_normals, num_faces, n, a, b, c);
}

char EngXfileParse::GetLastLoadedModelPartVertexTexCoord(unsigned int n, float* u, float* v)
{
    if (!HasBuffers())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup ok");
        return 0;
    }
    if (n >= static_cast<unsigned int>(num_vertices))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num %u (%u)", n, static_cast<unsigned int>(num_vertices));
        return 0;
    }
    if (!has_tex_coords)
    {
        if (u)
            *u = 0.9999f;
        if (v)
            *v = 0.9999f;
        return 0;
    }
    if (u)
        *u = tex_coords[n].u;
    if (v)
        *v = tex_coords[n].v;
    return 1;
}

const char* EngXfileParse::GetLastLoadedModelPartMaterialFilename()
{
    if (!part)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No part");
        return "";
    }
    if (part->texture_index < 0 || part->texture_index >= num_texture_names)
        return "";
    return texture_names[part->texture_index];
}

char EngXfileParse::FreeCurrentMaterialLists()
{
    if (!model || !part)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No part");
        return 0;
    }
    return model->FreePartMaterialLists(part_index);
}
