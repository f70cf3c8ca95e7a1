// Triangle lists: drawing with OpenGL client arrays.
#include <GL/glew.h>

#include "EngDebug.h"
#include "EngTexture.h"
#include "EngTriangleList.h"

void EngTriangleListDrawTrianglesSet_GL(EngTriangleList* l, unsigned int first, unsigned int n)
{
    if (!l || !l->created)
        return;
    // A set reaching past the list would read beyond its arrays.
    if (first >= l->count || n > l->count - first)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Triangle set %u + %u (num=%u)", first, n, l->count);
        return;
    }
    if (l->texture)
    {
        if (l->texture != l->last_bound)
        {
            l->texture->BindTexture_GL();
            l->last_bound = l->texture;
        }
    }
    else
        l->last_bound = nullptr;
    bool normals = false, tcs = false, colours = false;
    switch (l->type)
    {
    case 1:
        break;
    case 3:
        normals = tcs = true;
        break;
    case 5:
        tcs = colours = true;
        break;
    case 7:
        colours = true;
        break;
    default:
        DebugErrorAlt(__PRETTY_FUNCTION__, "Type %d not implemented yet", l->type);
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, l->positions);
    if (normals)
    {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, l->normals);
    }
    if (tcs)
    {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, l->tcs);
    }
    if (colours)
    {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, l->colours);
    }
    glDrawArrays(GL_TRIANGLES, GLint(first * 3), GLsizei(n * 3));
    if (colours)
        glDisableClientState(GL_COLOR_ARRAY);
    if (tcs)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (normals)
        glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (l->type == 1)
        glEnable(GL_TEXTURE_2D);
}

void EngTriangleListCleanupAfterDrawing_GL(EngTriangleList* l)
{
    if (l && l->texture)
        glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
}
