// The OpenGL half of the fonts.
#include <GL/gl.h>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngMain.h"
#include "GL/EngDeviceGL.h"

char EngFont::CreateSheetTextures_GL()
{
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Pre Create Sheets");
    glGenTextures(sheet_count, sheet_textures);
    sheet_generation = eng_gl_context_generation;
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Pre Create Letters");
    return 1;
}

void EngFont::UploadSheet_GL(int sheet)
{
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Pre Create Sheet");
    const GLenum fmt = two_channels ? GL_LUMINANCE_ALPHA : GL_ALPHA;
    glBindTexture(GL_TEXTURE_2D, sheet_textures[sheet]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "1");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(fmt), sheet_size, sheet_size, 0, fmt, GL_UNSIGNED_BYTE, sheet_pixels);
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "2");
    glBindTexture(GL_TEXTURE_2D, 0);
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Post Create Sheet");
}

void EngFont::DeleteSheetTextures_GL()
{
    glDeleteTextures(sheet_count, sheet_textures);
}

char EngFont::ReadSheet_GL(int sheet, unsigned char* out)
{
    if (!sheet_textures || sheet < 0 || sheet >= sheet_count)
        return 0;
    glBindTexture(GL_TEXTURE_2D, sheet_textures[sheet]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, two_channels ? GL_LUMINANCE_ALPHA : GL_ALPHA, GL_UNSIGNED_BYTE, out);
    glBindTexture(GL_TEXTURE_2D, 0);
    return 1;
}

void EngFont::DrawStringBegin_GL(float x, float y)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(x, y, 0);
    if (scale_on)
        glScalef(scale_x, scale_y, 1);
    if (colour_set)
        glColor4f(colour_r, colour_g, colour_b, colour_a);
}

void EngFont::DrawStringEnd_GL()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void EngFont::MoveBy_GL(float dx)
{
    glTranslatef(dx, 0, 0);
}

float EngFont::DrawLetter_GL(unsigned char code)
{
    if (!Live())
        return 0;
    const _EngFontLetter* L = GetLetter(code);
    if (!L || !sheet_textures || L->sheet >= sheet_count)
        return 0;
    const GLfloat pos[8] = {0, 0, L->width, 0, 0, L->height, L->width, L->height};
    const GLfloat tc[8] = {L->left_u, L->bottom_v, L->right_u, L->bottom_v,
                           L->left_u, L->top_v,    L->right_u, L->top_v};
    glBindTexture(GL_TEXTURE_2D, sheet_textures[L->sheet]);
    glPushMatrix();
    glTranslatef(L->x_offset, L->y_offset, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, pos);
    glTexCoordPointer(2, GL_FLOAT, 0, tc);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
    glTranslatef(L->advance, 0, 0);
    return L->advance;
}
