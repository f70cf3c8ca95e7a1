// A fixed-size list of independent triangles drawn from client-side arrays.
#pragma once

#include "EngTypes.h"

class EngTexture;

// Which arrays a list has besides positions; only odd types are drawn.
typedef int _EngTriangleListType;
#define ENG_TRILIST_POS 1
#define ENG_TRILIST_POS_TC 2
#define ENG_TRILIST_POS_NORM_TC 3
#define ENG_TRILIST_POS_NORM_COL 4
#define ENG_TRILIST_POS_TC_COL 5
#define ENG_TRILIST_POS_NORM_TC_COL 6
#define ENG_TRILIST_POS_COL 7

class EngTriangleList
{
public:
    EngTriangleList();
    ~EngTriangleList();
    EngTriangleList(const EngTriangleList&) = delete;
    EngTriangleList& operator=(const EngTriangleList&) = delete;

    char Create(_EngTriangleListType type, EngTexture* texture, unsigned int count);
    void Destroy();
    char PrepareToAlterData() { return 1; }
    char DoneAlteringData() { return 1; }
    // The setters name a triangle's vertices in one order for every attribute:
    // vertex k of a positions call is vertex k of a colour or texture call.
    void SetPositions(unsigned int i, float x1, float y1, float z1, float x2, float y2, float z2, float x3,
                      float y3, float z3);
    void SetPositionsP(unsigned int i, const _Vector3d* a, const _Vector3d* b, const _Vector3d* c);
    void SetPositionsRatioed(unsigned int i, float x1, float y1, float z1, float x2, float y2, float z2,
                             float x3, float y3, float z3);
    void SetNormals(unsigned int i, float x1, float y1, float z1, float x2, float y2, float z2, float x3,
                    float y3, float z3);
    void SetNormalsP(unsigned int i, const _Vector3d* a, const _Vector3d* b, const _Vector3d* c);
    void SetTextureCoordinates(unsigned int i, float u1, float v1, float u2, float v2, float u3, float v3);
    void SetColour(unsigned int i, float r, float g, float b, float a);
    void SetColour(unsigned int i, const _ColourRGBA* c);
    void SetVertexColour(unsigned int i, int k, float r, float g, float b, float a);
    void SetVertexColour(unsigned int i, int k, const _ColourRGBA* c);
    void SetTexture(EngTexture* t) { texture = t; }
    void SetupForDrawing();
    void DrawTrianglesSet(unsigned int first, unsigned int n);
    void DrawTriangles();
    void CleanupAfterDrawing();
    void SetupAndDraw();
    void SetupAndDrawPart(unsigned int first, unsigned int n);

    char created;
    _EngTriangleListType type;
    EngTexture* texture;
    unsigned int count;
    EngTexture* last_bound;
    float* positions;
    float* normals;
    float* tcs;
    float* colours;

private:
    bool CheckIndex(const char* func, unsigned int i) const;
    static int VertexSlot(int k);
};

// OpenGL halves.
void EngTriangleListDrawTrianglesSet_GL(EngTriangleList* list, unsigned int first, unsigned int n);
void EngTriangleListCleanupAfterDrawing_GL(EngTriangleList* list);
