// The OpenGL texture record: life, coordinates, colours and drawing.
#include "EngTextureGL.h"

#include <GL/glew.h>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "GL/EngDeviceGL.h"

EngTextureGL::EngTextureGL(EngTexture* o)
{
    // Plain record: start from all zeros, then the non-zero initial values.
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    owner = o;
    for (auto& c : corner_colours)
        c[0] = c[1] = c[2] = 0, c[3] = 1;
}

EngTextureGL::~EngTextureGL()
{
    Destroy();
}

void EngTextureGL::Destroy()
{
    FreeTextureInMemory();
    DestroyAllExceptTextureInMemory();
}

void EngTextureGL::FreeTextureInMemory()
{
    if (mem_pixels)
        EngFree(mem_pixels, 0, "texture memory");
    mem_pixels = nullptr;
    in_memory = 0;
}

void EngTextureGL::DestroyAllExceptTextureInMemory()
{
    ImageRelease();
    if (readback_present || readback)
    {
        if (created)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Warning: Texture image data was not freed");
        if (readback)
            EngFree(readback, 0, "texture read-back");
        readback = nullptr;
        readback_present = 0;
    }
    created = 0;
    gl_width = gl_height = gl_image_width = gl_image_height = gl_channels = 0;
    // A destroyed texture has no size.
    tex_width = tex_height = image_width = image_height = channels = 0;
    gl_name = 0;
    gl_name_valid = 0;
    tint_on = 0;
    normal_set = 0;
    placement_3d = 0;
}

void EngTextureGL::ForgetNameOfFormerContext()
{
    if (gl_generation == eng_gl_context_generation || (!gl_name_valid && !created))
        return;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Texture of a former GL context: name %u forgotten, not deleted",
                  gl_name);
    gl_name_valid = 0;
    created = 0;
    DestroyAllExceptTextureInMemory();
}

void EngTextureGL::ImageRelease()
{
    ForgetNameOfFormerContext();
    if (gl_name_valid)
    {
        if (eng_gl_3d_setup && eng_main_device)
        {
            EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "error before function call");
            GLuint name = gl_name;
            glDeleteTextures(1, &name);
            EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "glDeleteTextures");
        }
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Image was not released when 3d active.");
    }
    gl_width = gl_height = gl_image_width = gl_image_height = gl_channels = 0;
    gl_name = 0;
    gl_name_valid = 0;
}

void EngTextureGL::UpdateFullTextureCoordinates()
{
    tex_width = gl_width;
    tex_height = gl_height;
    image_width = gl_image_width;
    image_height = gl_image_height;
    channels = gl_channels;
    if (tex_width > 0 && tex_height > 0)
    {
        tcs.left = 1.0f / tex_width;
        tcs.top = 1.0f / tex_height;
        tcs.right = 1.0f - tcs.left;
        tcs.bottom = 1.0f - tcs.top;
        full_tcs = 1;
    }
    else
        full_tcs = 0;
}

char EngTextureGL::GetTCs(float* l, float* t, float* r, float* b)
{
    if (l)
        *l = tcs.left;
    if (t)
        *t = tcs.top;
    if (r)
        *r = tcs.right;
    if (b)
        *b = tcs.bottom;
    return 1;
}

char EngTextureGL::BindTexture()
{
    ForgetNameOfFormerContext();
    if (!gl_name)
        return 0;
    glBindTexture(GL_TEXTURE_2D, gl_name);
    return 1;
}

void EngTextureGL::UnbindTexture()
{
    glBindTexture(GL_TEXTURE_2D, 0);
}

// ---- Placement, coordinates, colours ---------------------------------------------

void EngTextureGL::PositionPure(float px, float py, float w, float h)
{
    if (w > 0 && h > 0)
    {
        x = px, y = py, width = w, height = h;
        placement_3d = 0;
    }
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sizes");
}

void EngTextureGL::PositionPure(const _Dimension* d)
{
    if (created == 1 && d)
        PositionPure(d->x, d->y, d->w, d->h);
}

void EngTextureGL::PositionRatioed(int px, int py, int w, int h)
{
    PositionRatioed(float(px), float(py), float(w), float(h));
}

void EngTextureGL::PositionRatioed(float px, float py, float w, float h)
{
    x = px, y = py, width = w, height = h;
    placement_3d = 0;
}

void EngTextureGL::PositionRatioed(const _Dimension* d)
{
    if (d)
        PositionRatioed(d->x, d->y, d->w, d->h);
}

void EngTextureGL::Position3dVec3(char axis, _Vector3d* a, _Vector3d* b)
{
    if (!a || !b)
        return;
    corner_a = *a;
    corner_b = *b;
    axis_3d = axis;
    placement_3d = 1;
}

void EngTextureGL::SetTextureCoordinates(float l, float t, float r, float b)
{
    tcs = {l, t, r, b};
    full_tcs = 0;
}

void EngTextureGL::SetTextureCoordinates(_TexCoords* tc)
{
    if (tc)
        SetTextureCoordinates(tc->left, tc->top, tc->right, tc->bottom);
    else if (!full_tcs)
        UpdateFullTextureCoordinates();
}

void EngTextureGL::RestoreTexCoordinates()
{
    UpdateFullTextureCoordinates();
}

void EngTextureGL::SetColour(float r, float g, float b, float a)
{
    tint[0] = r, tint[1] = g, tint[2] = b, tint[3] = a;
    tint_on = 1;
}

void EngTextureGL::SetColour(const _ColourRGBA* c)
{
    if (c)
        SetColour(c->r, c->g, c->b, c->a);
}

void EngTextureGL::RestoreColour()
{
    tint_on = 0;
    tint[0] = tint[1] = tint[2] = tint[3] = 1;
}

void EngTextureGL::RestoreColourAndAlpha()
{
    RestoreColour();
}

void EngTextureGL::SetAlphaLevel(float a)
{
    if (!tint_on)
    {
        tint_on = 1;
        tint[0] = tint[1] = tint[2] = 1;
    }
    tint[3] = a;
}

static const int corner_slot[4] = {2, 3, 1, 0};

void EngTextureGL::SetCornerColour(int corner, float r, float g, float b, float a)
{
    if (corner < 0 || corner > 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid corner %d", corner);
        return;
    }
    float* c = corner_colours[corner_slot[corner]];
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    corner_colours_on = 1;
}

void EngTextureGL::SetCornerColour(int corner, const _ColourRGBA* c)
{
    if (c)
        SetCornerColour(corner, c->r, c->g, c->b, c->a);
    else
        SetCornerColour(corner, 1, 1, 1, 1);
}

void EngTextureGL::SetNormal(float nx, float ny, float nz)
{
    normal[0] = nx, normal[1] = ny, normal[2] = nz;
    normal_set = 1;
}

void EngTextureGL::SetNormal(const _Vector3d* n)
{
    if (n)
        SetNormal(n->x, n->y, n->z);
}

// ---- Drawing -------------------------------------------------------------------

static void DrawStrip(const GLfloat* verts, const GLfloat* tc, const GLfloat* colours)
{
    glVertexPointer(3, GL_FLOAT, 0, verts);
    glTexCoordPointer(2, GL_FLOAT, 0, tc);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (colours)
    {
        glColorPointer(4, GL_FLOAT, 0, colours);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    if (colours)
        glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void EngTextureGL::DrawQuad(char pure)
{
    ForgetNameOfFormerContext();
    if (!created)
        return;
    if (normal_set)
        glNormal3f(normal[0], normal[1], -normal[2]);
    if (placement_3d)
        Draw3d();
    else if (!pure && corner_colours_on)
        DrawWithCornerColours();
    else
    {
        char tinted = tint_on;
        if (tinted)
            glColor4f(tint[0], tint[1], tint[2], tint[3]);
        glBindTexture(GL_TEXTURE_2D, gl_name);
        float l, r, t, b, z;
        if (pure)
            l = x, r = x + width, t = -y, b = -y - height, z = 0;
        else
        {
            l = x / 320.0f - 1, r = l + width / 320.0f;
            t = (480.0f - y) / 240.0f - 1, b = t - height / 240.0f, z = 1;
        }
        const GLfloat v[12] = {l, b, z, r, b, z, l, t, z, r, t, z};
        const GLfloat tc[8] = {tcs.left, tcs.bottom, tcs.right, tcs.bottom,
                               tcs.left, tcs.top,    tcs.right, tcs.top};
        DrawStrip(v, tc, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        if (tinted)
            glColor4f(1, 1, 1, 1);
    }
    if (normal_set)
        glNormal3f(0, 0, 1);
}

void EngTextureGL::DrawWithCornerColours()
{
    glBindTexture(GL_TEXTURE_2D, gl_name);
    float l = x / 320.0f - 1, r = l + width / 320.0f;
    float t = (480.0f - y) / 240.0f - 1, b = t - height / 240.0f;
    const GLfloat v[12] = {l, b, 1, r, b, 1, l, t, 1, r, t, 1};
    const GLfloat tc[8] = {tcs.left, tcs.bottom, tcs.right, tcs.bottom,
                           tcs.left, tcs.top,    tcs.right, tcs.top};
    DrawStrip(v, tc, &corner_colours[0][0]);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
}

void EngTextureGL::Draw3d()
{
    char tinted = tint_on;
    if (axis_3d != 0 && axis_3d != 1 && axis_3d != 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad axis %d", axis_3d);
        return;
    }
    if (tinted)
        glColor4f(tint[0], tint[1], tint[2], tint[3]);
    glBindTexture(GL_TEXTURE_2D, gl_name);
    if (axis_3d == 0)
    {
        const _Vector3d& A = corner_a;
        const _Vector3d& B = corner_b;
        const GLfloat v[12] = {B.x, A.y, B.z, A.x, A.y, B.z, B.x, B.y, B.z, A.x, B.y, B.z};
        const GLfloat tc[8] = {tcs.left, tcs.bottom, tcs.right, tcs.bottom,
                               tcs.left, tcs.top,    tcs.right, tcs.top};
        DrawStrip(v, tc, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented yet for axis %d", axis_3d);
    if (tinted)
        glColor4f(1, 1, 1, 1);
}

void EngTextureGL::Draw()
{
    DrawQuad(0);
}

void EngTextureGL::DrawPure()
{
    DrawQuad(1);
}

void EngTextureGL::DrawWithColour(float r, float g, float b, float a)
{
    if (!created)
        return;
    SetColour(r, g, b, a);
    Draw();
}

void EngTextureGL::DrawWithColour(const _ColourRGBA* c)
{
    if (!created || !c)
        return;
    SetColour(c);
    Draw();
}

void EngTextureGL::DrawWithColourPure(float r, float g, float b, float a)
{
    if (!created)
        return;
    SetColour(r, g, b, a);
    DrawPure();
}

void EngTextureGL::DrawPart(float l, float t, float r, float b)
{
    if (!created)
        return;
    SetTextureCoordinates(l, t, r, b);
    Draw();
}

void EngTextureGL::DrawPart(_TexCoords* tc)
{
    if (!created || !tc)
        return;
    SetTextureCoordinates(tc);
    Draw();
}

void EngTextureGL::DrawPartPure(float l, float t, float r, float b)
{
    if (!created)
        return;
    SetTextureCoordinates(l, t, r, b);
    DrawPure();
}

void EngTextureGL::SetPartCoords(_TexCoords* tc)
{
    SetTextureCoordinates(tc);
}

void EngTextureGL::DrawPartPure(_TexCoords* tc)
{
    if (!created)
        return;
    SetPartCoords(tc);
    DrawPure();
}

void EngTextureGL::DrawPartWithColour(float l, float t, float r, float b, float cr, float cg, float cb,
                                      float ca)
{
    if (!created)
        return;
    SetTextureCoordinates(l, t, r, b);
    SetColour(cr, cg, cb, ca);
    Draw();
}

void EngTextureGL::DrawPartWithColour(float l, float t, float r, float b, const _ColourRGBA* c)
{
    if (!created)
        return;
    SetTextureCoordinates(l, t, r, b);
    if (c)
        SetColour(c);
    Draw();
}

void EngTextureGL::DrawPartWithColour(_TexCoords* tc, const _ColourRGBA* c)
{
    if (!created)
        return;
    SetPartCoords(tc);
    if (c)
        SetColour(c);
    Draw();
}

void EngTextureGL::DrawPartWithColourPure(float l, float t, float r, float b, float cr, float cg, float cb,
                                          float ca)
{
    if (!created)
        return;
    SetTextureCoordinates(l, t, r, b);
    SetColour(cr, cg, cb, ca);
    DrawPure();
}

void EngTextureGL::DrawPartWithColourPure(_TexCoords* tc, float cr, float cg, float cb, float ca)
{
    if (!created)
        return;
    SetPartCoords(tc);
    SetColour(cr, cg, cb, ca);
    DrawPure();
}

void EngTextureGL::PositionRatioedAndDraw(int px, int py, int w, int h)
{
    PositionRatioed(px, py, w, h);
    Draw();
}

void EngTextureGL::PositionRatioedAndDraw(float px, float py, float w, float h)
{
    PositionRatioed(px, py, w, h);
    Draw();
}

void EngTextureGL::PositionRatioedAndDraw(const _Dimension* d)
{
    PositionRatioed(d);
    Draw();
}

void EngTextureGL::PositionPureAndDraw(float px, float py, float w, float h)
{
    PositionPure(px, py, w, h);
    DrawPure();
}

void EngTextureGL::PositionPureAndDraw(const _Dimension* d)
{
    PositionPure(d);
    DrawPure();
}

void EngTextureGL::DrawSpecifyingCorners(_EngTextureCornersInfo* info)
{
    ForgetNameOfFormerContext();
    if (!created || !info)
        return;
    glBindTexture(GL_TEXTURE_2D, gl_name);
    DrawStrip(&info->pos[0][0], &info->tcs[0][0], &info->colours[0][0]);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
}

// mode: 0 nine pieces, 1 horizontal three, 2 vertical three.
void EngTextureGL::DoDrawInParts(float cw, float ch, float tcw, float tch, char centre, int mode, char pure)
{
    float sx = x, sy = y, sw = width, sh = height;
    char was_full = full_tcs;
    _TexCoords saved = tcs;
    float cols[3][4], rows[3][4]; // position, size, tc start, tc end
    float xs[3] = {sx, sx + cw, sx + sw - cw}, ws[3] = {cw, sw - 2 * cw, cw};
    float us[3] = {saved.left, saved.left + tcw, saved.right - tcw};
    float ue[3] = {saved.left + tcw, saved.right - tcw, saved.right};
    float ys[3] = {sy, sy + ch, sy + sh - ch}, hs[3] = {ch, sh - 2 * ch, ch};
    float vs[3] = {saved.top, saved.top + tch, saved.bottom - tch};
    float ve[3] = {saved.top + tch, saved.bottom - tch, saved.bottom};
    for (int i = 0; i < 3; i++)
    {
        cols[i][0] = xs[i], cols[i][1] = ws[i], cols[i][2] = us[i], cols[i][3] = ue[i];
        rows[i][0] = ys[i], rows[i][1] = hs[i], rows[i][2] = vs[i], rows[i][3] = ve[i];
    }
    if (mode == 1)
        rows[0][0] = sy, rows[0][1] = sh, rows[0][2] = saved.top, rows[0][3] = saved.bottom;
    if (mode == 2)
        cols[0][0] = sx, cols[0][1] = sw, cols[0][2] = saved.left, cols[0][3] = saved.right;
    int nrows = mode == 1 ? 1 : 3, ncols = mode == 2 ? 1 : 3;
    for (int r = 0; r < nrows; r++)
        for (int c = 0; c < ncols; c++)
        {
            bool middle = (mode == 0 && r == 1 && c == 1) || (mode == 1 && c == 1) || (mode == 2 && r == 1);
            if (middle && !centre)
                continue;
            if (pure)
                PositionPure(cols[c][0], rows[r][0], cols[c][1], rows[r][1]);
            else
                PositionRatioed(cols[c][0], rows[r][0], cols[c][1], rows[r][1]);
            SetTextureCoordinates(cols[c][2], rows[r][2], cols[c][3], rows[r][3]);
            if (pure)
                DrawPure();
            else
                Draw();
        }
    PositionPure(sx, sy, sw, sh);
    if (was_full)
        UpdateFullTextureCoordinates();
    else
        SetTextureCoordinates(saved.left, saved.top, saved.right, saved.bottom);
}

void EngTextureGL::DrawInParts(float cw, float ch, float tcw, float tch, char centre)
{
    DoDrawInParts(cw, ch, tcw, tch, centre, 0, 0);
}

void EngTextureGL::DrawInPartsPure(float cw, float ch, float tcw, float tch, char centre)
{
    DoDrawInParts(cw, ch, tcw, tch, centre, 0, 1);
}

void EngTextureGL::DrawInPartsHorz(float cw, float tcw, char centre)
{
    DoDrawInParts(cw, 0, tcw, 0, centre, 1, 0);
}

void EngTextureGL::DrawInPartsHorzPure(float cw, float tcw, char centre)
{
    DoDrawInParts(cw, 0, tcw, 0, centre, 1, 1);
}

void EngTextureGL::DrawInPartsVert(float ch, float tch, char centre)
{
    DoDrawInParts(0, ch, 0, tch, centre, 2, 0);
}

void EngTextureGL::DrawInPartsVertPure(float ch, float tch, char centre)
{
    DoDrawInParts(0, ch, 0, tch, centre, 2, 1);
}
