// Texture pixels: read-back, editing, upload and copies between textures.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngTextureGL.h"

static bool TextureOk(EngTextureGL* t)
{
    if (t)
        t->ForgetNameOfFormerContext();
    return t && t->created == 1 && t->gl_name_valid && t->gl_name;
}

// The GL half of a copy's source; null after logging when either texture is not ready.
static EngTextureGL* CopySource(const char* func, EngTexture* from, EngTextureGL* to)
{
    EngTextureGL* src = from ? from->GetGL() : nullptr;
    if (!src)
    {
        DebugErrorAlt(func, "From texture not ok");
        return nullptr;
    }
    if (!TextureOk(src))
    {
        DebugErrorAlt(func, "From texture not ok (2)");
        return nullptr;
    }
    if (!TextureOk(to))
    {
        DebugErrorAlt(func, "To texture not ok");
        return nullptr;
    }
    return src;
}

// Negative copy sizes stand for the whole of each texture.
template <typename T>
static void DefaultCopySizes(const EngTextureGL* src, const EngTextureGL* dst, T* fw, T* fh, T* tw, T* th)
{
    if (*fw < 0)
        *fw = T(src->tex_width);
    if (*fh < 0)
        *fh = T(src->tex_height);
    if (*tw < 0)
        *tw = T(dst->tex_width);
    if (*th < 0)
        *th = T(dst->tex_height);
}

// Both textures' pixels; false (nothing kept) when either cannot be read.
static bool TakeCopyPixels(EngTextureGL* src, EngTextureGL* dst, const unsigned char** s, unsigned char** d)
{
    *s = src->AllocAndGetTextureImageData();
    *d = dst->AllocAndGetTextureImageData();
    if (*s && *d)
        return true;
    src->FreeAllocatedTextureImageData();
    dst->FreeAllocatedTextureImageData();
    return false;
}

unsigned char* EngTextureGL::AllocAndGetTextureImageData()
{
    if (!TextureOk(this))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not ok");
        return nullptr;
    }
    int format = EngTextureGL_GetTypeFromNumChannels(channels);
    if (format < 0 || tex_width <= 0 || tex_height <= 0)
        return nullptr;
    if (readback_present || readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning - data already allocated");
        FreeAllocatedTextureImageData();
    }
    size_t bytes = size_t(tex_width) * tex_height * size_t(channels);
    readback = static_cast<unsigned char*>(EngMalloc(bytes, "texture read-back", 0));
    if (!readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return nullptr;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, gl_name);
    glGetTexImage(GL_TEXTURE_2D, 0, GLenum(format), GL_UNSIGNED_BYTE, readback);
    glBindTexture(GL_TEXTURE_2D, 0);
    readback_present = 1;
    return readback;
}

unsigned char* EngTextureGL::AllocEmptyTextureImageData(char clear)
{
    if (!TextureOk(this))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not ok");
        return nullptr;
    }
    if (in_memory)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture is still in memory");
        return nullptr;
    }
    if (readback_present || readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning - data already allocated");
        FreeAllocatedTextureImageData();
    }
    if (tex_width < 1 || tex_height < 1 || (channels != 3 && channels != 4))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Error: Unsupported texture [ %d x %d x %d]", tex_width,
                      tex_height, channels * 8);
        return nullptr;
    }
    size_t bytes = size_t(tex_width) * tex_height * size_t(channels);
    readback = static_cast<unsigned char*>(EngMalloc(bytes, "texture read-back", clear));
    if (!readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory [%lu]", (unsigned long)bytes);
        return nullptr;
    }
    readback_present = 1;
    return readback;
}

void EngTextureGL::FreeAllocatedTextureImageData()
{
    if ((created != 0 && created != 1) || (readback_present != 0 && readback_present != 1))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not setup");
        return;
    }
    if (readback_present && !readback)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
    if (readback)
        EngFree(readback, 0, "texture read-back");
    readback = nullptr;
    readback_present = 0;
}

char EngTextureGL::IsTextureImageDataAllocated()
{
    if (!created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not setup");
        return 0;
    }
    return readback_present && readback;
}

unsigned char* EngTextureGL::GetAllocatedTextureImageData()
{
    if (!created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not setup");
        return nullptr;
    }
    if (!readback_present || !readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data");
        return nullptr;
    }
    return readback;
}

size_t EngTextureGL::GetAllocatedTextureImageDataSize()
{
    return readback_present && readback ? size_t(tex_width) * tex_height * size_t(channels) : 0;
}

char EngTextureGL::UpdateTextureFromData(unsigned char* pixels)
{
    if (!TextureOk(this))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not setup");
        return 0;
    }
    if (!pixels)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data");
        return 0;
    }
    int format = EngTextureGL_GetTypeFromNumChannels(channels);
    if (format < 0)
        return 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, gl_name);
    glTexImage2D(GL_TEXTURE_2D, 0, format, tex_width, tex_height, 0, GLenum(format), GL_UNSIGNED_BYTE,
                 pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "glTexImage2D() error");
}

char EngTextureGL::UpdateTextureFromAllocatedImageData()
{
    if (!TextureOk(this))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not setup");
        return 0;
    }
    if (!readback_present || !readback)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data not allocated");
        return 0;
    }
    return UpdateTextureFromData(readback);
}

char EngTextureGL::PrepareToGetPixelData(_EngTextureGetPixelDataInfo* info, char, char)
{
    if (!AllocAndGetTextureImageData())
        return 0;
    if (info)
    {
        info->bytes_per_pixel = channels;
        info->pitch = tex_width * channels;
        info->width = tex_width;
        info->height = tex_height;
    }
    return 1;
}

unsigned char* EngTextureGL::GetPixelDataBuffer(_EngTextureGetPixelDataInfo*)
{
    return GetAllocatedTextureImageData();
}

int EngTextureGL::GetPixelDataPitch(_EngTextureGetPixelDataInfo* info)
{
    static char noted = 0;
    if (!info)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No gpdi.");
        return 0;
    }
    if (!noted)
    {
        noted = 1;
        DebugNoteAlt(DEBUG_NOTE_NOT_VERIFIED, __PRETTY_FUNCTION__, "Not verified.");
    }
    return info->pitch;
}

// The byte offset of pixel (x, y) in the read-back buffer, or -1 with a log.
static long PixelOffset(EngTextureGL* t, const char* func, int x, int y)
{
    if (!t->readback_present || !t->readback)
    {
        DebugErrorAlt(func, "No data");
        return -1;
    }
    if (x < 0 || y < 0 || x >= t->tex_width || y >= t->tex_height)
    {
        DebugErrorAlt(func, "Invalid position [%d,%d] (texture %d x %d)", x, y, t->tex_width, t->tex_height);
        return -1;
    }
    return (long(y) * t->tex_width + x) * t->channels;
}

char EngTextureGL::GetPixelData(_EngTextureGetPixelDataInfo*, int px, int py, unsigned char* r,
                                unsigned char* g, unsigned char* b, unsigned char* a)
{
    if (channels != 3 && channels != 4)
        return 0;
    long o = PixelOffset(this, __PRETTY_FUNCTION__, px, py);
    if (o < 0)
        return 0;
    const unsigned char* p = readback + o;
    if (r)
        *r = p[0];
    if (g)
        *g = p[1];
    if (b)
        *b = p[2];
    if (a)
        *a = channels == 4 ? p[3] : 1;
    return 1;
}

char EngTextureGL::SetPixelData(_EngTextureGetPixelDataInfo*, int px, int py, unsigned char r,
                                unsigned char g, unsigned char b, unsigned char a)
{
    if (channels != 3 && channels != 4)
        return 0;
    long o = PixelOffset(this, __PRETTY_FUNCTION__, px, py);
    if (o < 0)
        return 0;
    unsigned char* p = readback + o;
    p[0] = r, p[1] = g, p[2] = b;
    if (channels == 4)
        p[3] = a;
    return 1;
}

char EngTextureGL::UpdateTextureFromModifiedPixelDataBuffer(_EngTextureGetPixelDataInfo*)
{
    return UpdateTextureFromAllocatedImageData();
}

char EngTextureGL::RestoreAfterGettingPixelData(_EngTextureGetPixelDataInfo*)
{
    FreeAllocatedTextureImageData();
    return 1;
}

char EngTextureGL::SetTextureFromExternalPixelDataBuffer(unsigned char* pixels, char has_alpha)
{
    if (EngTextureGL_GetTypeFromNumChannels(channels) < 0 || (channels == 3 && has_alpha) ||
        (channels == 4 && !has_alpha) || (channels != 3 && channels != 4))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Num channels inconsistency (%d,%d)", channels, has_alpha);
        return 0;
    }
    return UpdateTextureFromData(pixels);
}

char EngTextureGL::TransformPixels(int kind, int px, int py, int w, int h, float p0, float p1, float p2,
                                   float p3)
{
    if (!TextureOk(this))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not ok");
        return 0;
    }
    if (channels != 3 && channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported bpp [%d]", channels * 8);
        return 0;
    }
    if (w < 0)
        w = tex_width;
    if (h < 0)
        h = tex_height;
    if (w < 1 || h < 1 || px < 0 || py < 0 || px + w > tex_width || py + h > tex_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sizes");
        return 0;
    }
    if (!AllocAndGetTextureImageData())
        return 0;
    const float params[4] = {p0, p1, p2, p3};
    int c = channels;
    for (int y = py; y < py + h; y++)
        for (int x = px; x < px + w; x++)
        {
            unsigned char* p = readback + (size_t(y) * tex_width + x) * c;
            for (int k = 0; k < c; k++)
            {
                float v = params[k];
                switch (kind)
                {
                case 0:
                    if (v >= 0)
                        p[k] = (unsigned char)std::min(255, int(v * 255)); // values above 1 saturate
                    break;
                case 1:
                    if (v == 1.0f)
                        p[k] = (unsigned char)(255 - p[k]);
                    break;
                case 2:
                    if (v >= 0)
                        p[k] = (unsigned char)int(std::min(255.0f, p[k] * v));
                    break;
                case 3:
                    if (v >= 0)
                        p[k] = (unsigned char)int(std::min(255.0f, 255.0f * std::pow(p[k] / 255.0f, v)));
                    break;
                default:
                    break;
                }
            }
        }
    char ok = UpdateTextureFromAllocatedImageData();
    FreeAllocatedTextureImageData();
    return ok;
}

// The source row or column that destination pixel i samples, kept inside the source span.
static int SourcePixel(int i, float to, float to_size, float from, float from_size)
{
    int s = int(float(i - to) * from_size / to_size + from);
    if (float(s) < from)
        s = int(from);
    if (float(s) >= from + from_size)
        s = int(from + from_size) - 1;
    return s;
}

static inline unsigned char MixClamp(int d, int s, int a)
{
    int v = d * (255 - a) / 255 + s * a / 255;
    return (unsigned char)(v > 255 ? 255 : v);
}

char EngTextureGL::CopyPartFromAnotherTexture(EngTexture* from, float fx, float fy, float fw, float fh,
                                              float tx, float ty, float tw, float th, char blend,
                                              _EngTextureCopyPartSettings* settings)
{
    EngTextureGL* src = CopySource(__PRETTY_FUNCTION__, from, this);
    if (!src)
        return 0;
    if (src->channels != 3 && src->channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "BPP %d (from) not supported", src->channels * 8);
        return 0;
    }
    if (channels != 3 && channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "BPP %d (to) not supported", channels * 8);
        return 0;
    }
    DefaultCopySizes(src, this, &fw, &fh, &tw, &th);
    if (fw <= 0 || fh <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid from sizes");
        return 0;
    }
    if (tw <= 0 || th <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid to sizes");
        return 0;
    }
    int kind = settings ? settings->blend_kind : 0;
    int sc = src->channels, dc = channels;
    if (sc == 3 && dc == 4 && kind != 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "From BPP 24, To BPP %d not supported", dc * 8);
        return 0;
    }
    const unsigned char* s;
    unsigned char* d;
    if (!TakeCopyPixels(src, this, &s, &d))
        return 0;
    bool logged = false;
    auto log_once = [&](const char* text)
    {
        if (!logged)
            DebugErrorAlt(__PRETTY_FUNCTION__, "%s", text);
        logged = true;
    };
    for (int i = int(ty); float(i) < ty + th; i++)
    {
        int sy = SourcePixel(i, ty, th, fy, fh);
        if (i < 0 || i >= tex_height || sy < 0 || sy >= src->tex_height)
            continue;
        for (int j = int(tx); float(j) < tx + tw; j++)
        {
            int sx = SourcePixel(j, tx, tw, fx, fw);
            if (j < 0 || j >= tex_width || sx < 0 || sx >= src->tex_width)
                continue;
            const unsigned char* sp = s + (size_t(sy) * src->tex_width + sx) * sc;
            unsigned char* dp = d + (size_t(i) * tex_width + j) * dc;
            if (sc == 3)
            {
                if (kind == 1)
                {
                    log_once("Multiply blend type for 24-bit not implemented yet");
                    continue;
                }
                std::memcpy(dp, sp, 3);
            }
            else if (blend && (kind == 1 || kind == 2))
            {
                if (dc != 4)
                {
                    log_once("Multiply blend type with not implemented yet for 24 bit source tex");
                    continue;
                }
                int m = std::min(sp[0], std::min(sp[1], sp[2]));
                for (int k = 0; k < 3; k++)
                {
                    int v = dp[k] * m / 255;
                    if (kind == 1)
                        v += sp[k] * (255 - m) / 255;
                    dp[k] = (unsigned char)std::min(255, v);
                }
                dp[3] = std::max(dp[3], sp[3]);
            }
            else if (blend)
            {
                int a = sp[3];
                if (a == 255)
                    std::memcpy(dp, sp, size_t(dc));
                else if (a != 0)
                {
                    for (int k = 0; k < 3; k++)
                        dp[k] = MixClamp(dp[k], sp[k], a);
                    if (dc == 4)
                        dp[3] = (unsigned char)std::max(int(dp[3]), a);
                }
            }
            else
            {
                if (kind == 1)
                {
                    log_once("Multiply blend type with non-alpha not implemented yet");
                    continue;
                }
                std::memcpy(dp, sp, size_t(dc));
            }
        }
    }
    char ok = UpdateTextureFromAllocatedImageData();
    src->FreeAllocatedTextureImageData();
    FreeAllocatedTextureImageData();
    return ok;
}

char EngTextureGL::CopyAlphaChannelFromAnotherTexture(EngTexture* from, int fx, int fy, int fw, int fh,
                                                      int tx, int ty, int tw, int th)
{
    EngTextureGL* src = CopySource(__PRETTY_FUNCTION__, from, this);
    if (!src)
        return 0;
    if (src->channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%d channels (from) not supported", src->channels);
        return 0;
    }
    if (channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%d channels (to) not supported", channels);
        return 0;
    }
    DefaultCopySizes(src, this, &fw, &fh, &tw, &th);
    int src_row0 = src->tex_height - fy - fh, dst_row0 = tex_height - ty - th;
    if (fw < 1 || fx < 0 || fx + fw > src->tex_width || fh < 1 || src_row0 < 0 ||
        src_row0 + fh > src->tex_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid from sizes");
        return 0;
    }
    if (tw < 1 || tx < 0 || tx + tw > tex_width || th < 1 || dst_row0 < 0 || dst_row0 + th > tex_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid to sizes");
        return 0;
    }
    const unsigned char* s;
    unsigned char* d;
    if (!TakeCopyPixels(src, this, &s, &d))
        return 0;
    for (int k = 0; k < th; k++)
    {
        int sr = std::min(src_row0 + k * fh / th, src_row0 + fh - 1);
        for (int c = 0; c < tw; c++)
        {
            int sc = std::min(fx + c * fw / tw, fx + fw - 1);
            unsigned char sa = s[(size_t(sr) * src->tex_width + sc) * 4 + 3];
            unsigned char& da = d[(size_t(dst_row0 + k) * tex_width + tx + c) * 4 + 3];
            da = std::max(da, sa);
        }
    }
    char ok = UpdateTextureFromAllocatedImageData();
    src->FreeAllocatedTextureImageData();
    FreeAllocatedTextureImageData();
    return ok;
}
