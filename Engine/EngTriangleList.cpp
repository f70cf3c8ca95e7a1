// Triangle lists: arrays and setters; drawing is in the OpenGL half.
#include "EngTriangleList.h"

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngProgram.h"

static inline bool GL()
{
    return eng_main_device_type == ENG_DEVICE_TYPE_GL;
}

EngTriangleList::EngTriangleList()
    : created(0), type(0), texture(nullptr), count(0), last_bound(nullptr), positions(nullptr),
      normals(nullptr), tcs(nullptr), colours(nullptr)
{
}

EngTriangleList::~EngTriangleList()
{
    Destroy();
}

void EngTriangleList::Destroy()
{
    float** arrays[4] = {&positions, &normals, &tcs, &colours};
    for (float** a : arrays)
    {
        if (*a)
            EngFree(*a, 0, "triangle list");
        *a = nullptr;
    }
    created = 0;
    count = 0;
}

char EngTriangleList::Create(_EngTriangleListType t, EngTexture* tex, unsigned int n)
{
    if (!GL())
        return 0;
    if (created)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning - Already created");
    if (n == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num triangles");
        Destroy();
        return 0;
    }
    Destroy();
    type = t;
    size_t nn = n;
    positions = static_cast<float*>(EngMalloc(nn * 9 * sizeof(float), "triangle list", 1));
    if (!positions)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (verts - num triangles=%u)", n);
        Destroy();
        return 0;
    }
    if (t == 3 || t == 4 || t == 6)
    {
        normals = static_cast<float*>(EngMalloc(nn * 9 * sizeof(float), "triangle list", 0));
        if (!normals)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (normals - num triangles=%u)", n);
            Destroy();
            return 0;
        }
    }
    if (t >= 4 && t <= 7)
    {
        colours = static_cast<float*>(EngMalloc(nn * 12 * sizeof(float), "triangle list", 0));
        if (!colours)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (cols - num triangles=%u)", n);
            Destroy();
            return 0;
        }
    }
    if (t == 2 || t == 3 || t == 5 || t == 6)
    {
        tcs = static_cast<float*>(EngMalloc(nn * 6 * sizeof(float), "triangle list", 0));
        if (!tcs)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (tcs - num triangles=%u)", n);
            Destroy();
            return 0;
        }
    }
    count = n;
    created = 1;
    for (size_t i = 0; i < nn * 3; i++)
    {
        if (colours)
            colours[i * 4] = colours[i * 4 + 1] = colours[i * 4 + 2] = colours[i * 4 + 3] = 1.0f;
        if (tcs)
            tcs[i * 2] = 0.0f, tcs[i * 2 + 1] = 1.0f;
        if (normals)
            normals[i * 3] = 0.0f, normals[i * 3 + 1] = 0.0f, normals[i * 3 + 2] = 1.0f;
    }
    texture = tex;
    last_bound = nullptr;
    return 1;
}

// Every setter stores a triangle's vertices with the winding reversed: the
// first in slot 0, the second in slot 2, the third in slot 1.
int EngTriangleList::VertexSlot(int k)
{
    return k == 0 ? 0 : 3 - k;
}

bool EngTriangleList::CheckIndex(const char* func, unsigned int i) const
{
    if (!created)
        return false;
    if (i >= count)
    {
        DebugErrorAlt(func, "Invalid Triangle %u (num=%u)", i, count);
        return false;
    }
    return true;
}

void EngTriangleList::SetPositions(unsigned int i, float x1, float y1, float z1, float x2, float y2, float z2,
                                   float x3, float y3, float z3)
{
    _Vector3d a = {x1, y1, z1}, b = {x2, y2, z2}, c = {x3, y3, z3};
    SetPositionsP(i, &a, &b, &c);
}

void EngTriangleList::SetPositionsP(unsigned int i, const _Vector3d* a, const _Vector3d* b,
                                    const _Vector3d* c)
{
    if (!CheckIndex(__PRETTY_FUNCTION__, i) || !positions)
        return;
    const _Vector3d* v[3] = {a, b, c};
    for (int k = 0; k < 3; k++)
        if (v[k])
        {
            float* p = positions + size_t(i) * 9 + size_t(VertexSlot(k)) * 3;
            p[0] = v[k]->x, p[1] = v[k]->y, p[2] = v[k]->z;
        }
}

void EngTriangleList::SetPositionsRatioed(unsigned int i, float x1, float y1, float z1, float x2, float y2,
                                          float z2, float x3, float y3, float z3)
{
    _Vector3d a = {x1 / 320.0f - 1, 1 - y1 / 240.0f, z1};
    _Vector3d b = {x2 / 320.0f - 1, 1 - y2 / 240.0f, z2};
    _Vector3d c = {x3 / 320.0f - 1, 1 - y3 / 240.0f, z3};
    SetPositionsP(i, &a, &b, &c);
}

void EngTriangleList::SetNormals(unsigned int i, float x1, float y1, float z1, float x2, float y2, float z2,
                                 float x3, float y3, float z3)
{
    _Vector3d a = {x1, y1, z1}, b = {x2, y2, z2}, c = {x3, y3, z3};
    SetNormalsP(i, &a, &b, &c);
}

void EngTriangleList::SetNormalsP(unsigned int i, const _Vector3d* a, const _Vector3d* b, const _Vector3d* c)
{
    if (!CheckIndex(__PRETTY_FUNCTION__, i) || !normals)
        return;
    const _Vector3d* v[3] = {a, b, c};
    for (int k = 0; k < 3; k++)
        if (v[k])
        {
            float* p = normals + size_t(i) * 9 + size_t(VertexSlot(k)) * 3;
            p[0] = v[k]->x, p[1] = v[k]->y, p[2] = -v[k]->z;
        }
}

void EngTriangleList::SetTextureCoordinates(unsigned int i, float u1, float v1, float u2, float v2, float u3,
                                            float v3)
{
    if (!CheckIndex(__PRETTY_FUNCTION__, i) || !tcs)
        return;
    const float uv[3][2] = {{u1, v1}, {u2, v2}, {u3, v3}};
    for (int k = 0; k < 3; k++)
    {
        float* p = tcs + size_t(i) * 6 + size_t(VertexSlot(k)) * 2;
        p[0] = uv[k][0], p[1] = uv[k][1];
    }
}

void EngTriangleList::SetColour(unsigned int i, float r, float g, float b, float a)
{
    if (!CheckIndex(__PRETTY_FUNCTION__, i) || !colours)
        return;
    if (r < 0 || g < 0 || b < 0 || a < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid values");
        return;
    }
    float* p = colours + size_t(i) * 12;
    for (int k = 0; k < 3; k++)
        p[k * 4] = r, p[k * 4 + 1] = g, p[k * 4 + 2] = b, p[k * 4 + 3] = a;
}

void EngTriangleList::SetColour(unsigned int i, const _ColourRGBA* c)
{
    if (c)
        SetColour(i, c->r, c->g, c->b, c->a);
    else
        SetColour(i, 1, 1, 1, 1);
}

void EngTriangleList::SetVertexColour(unsigned int i, int k, float r, float g, float b, float a)
{
    if (!CheckIndex(__PRETTY_FUNCTION__, i) || !colours)
        return;
    if (k < 0 || k > 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid vertex num %d", k);
        return;
    }
    float* p = colours + size_t(i) * 12 + size_t(VertexSlot(k)) * 4;
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

void EngTriangleList::SetVertexColour(unsigned int i, int k, const _ColourRGBA* c)
{
    if (!c)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No colour specified");
        return;
    }
    SetVertexColour(i, k, c->r, c->g, c->b, c->a);
}

void EngTriangleList::SetupForDrawing()
{
    last_bound = nullptr;
}

void EngTriangleList::DrawTrianglesSet(unsigned int first, unsigned int n)
{
    if (GL())
        EngTriangleListDrawTrianglesSet_GL(this, first, n);
}

void EngTriangleList::DrawTriangles()
{
    DrawTrianglesSet(0, count);
}

void EngTriangleList::CleanupAfterDrawing()
{
    if (GL())
        EngTriangleListCleanupAfterDrawing_GL(this);
    last_bound = nullptr;
}

void EngTriangleList::SetupAndDraw()
{
    SetupForDrawing();
    DrawTriangles();
    CleanupAfterDrawing();
}

void EngTriangleList::SetupAndDrawPart(unsigned int first, unsigned int n)
{
    SetupForDrawing();
    DrawTrianglesSet(first, n);
    CleanupAfterDrawing();
}
