// TEMPORARY (removed at merge): see FontPending.h.
#include "FontPending.h"

#include <GL/gl.h>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"

char eng_gl_3d_setup = 0;
int eng_main_window_width = 640;
int eng_main_window_height = 480;
float eng_main_window_x_widescreen_ratio = 1.0f;

EngTexture::EngTexture() {}

EngTexture::~EngTexture()
{
    Destroy();
}

static int PendingPow2(int v)
{
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

char EngTexture::CreateEmptyTexture(int w, int h, char alpha)
{
    if (gl_name)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture already created");
        return 0;
    }
    if (w <= 0 || h <= 0 || !eng_gl_3d_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters.");
        return 0;
    }
    width = PendingPow2(w);
    height = PendingPow2(h);
    channels = alpha ? 4 : 3;
    unsigned char* zero = static_cast<unsigned char*>(calloc(size_t(width) * height, channels));
    if (!zero)
        return 0;
    GLenum fmt = channels == 4 ? GL_RGBA : GL_RGB;
    glGenTextures(1, &gl_name);
    glBindTexture(GL_TEXTURE_2D, gl_name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, fmt, width, height, 0, fmt, GL_UNSIGNED_BYTE, zero);
    glBindTexture(GL_TEXTURE_2D, 0);
    free(zero);
    return 1;
}

void EngTexture::Destroy()
{
    FreeAllocatedTextureImageData();
    if (gl_name && eng_gl_3d_setup)
        glDeleteTextures(1, &gl_name);
    gl_name = 0;
    width = height = channels = 0;
}

char EngTexture::IsOk()
{
    return gl_name != 0;
}

int EngTexture::GetWidth()
{
    return width;
}

int EngTexture::GetHeight()
{
    return height;
}

int EngTexture::GetNumChannels()
{
    return channels;
}

unsigned char* EngTexture::AllocAndGetTextureImageData()
{
    if (!gl_name)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not ok");
        return nullptr;
    }
    FreeAllocatedTextureImageData();
    data = static_cast<unsigned char*>(malloc(size_t(width) * height * channels));
    if (!data)
        return nullptr;
    glBindTexture(GL_TEXTURE_2D, gl_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, channels == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, data);
    glBindTexture(GL_TEXTURE_2D, 0);
    return data;
}

char EngTexture::UpdateTextureFromAllocatedImageData()
{
    if (!gl_name || !data)
        return 0;
    GLenum fmt = channels == 4 ? GL_RGBA : GL_RGB;
    glBindTexture(GL_TEXTURE_2D, gl_name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, fmt, width, height, 0, fmt, GL_UNSIGNED_BYTE, data);
    glBindTexture(GL_TEXTURE_2D, 0);
    return 1;
}

void EngTexture::FreeAllocatedTextureImageData()
{
    free(data);
    data = nullptr;
}
