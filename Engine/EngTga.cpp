// 32-bit images in memory and uncompressed TGA files.
#include "EngTga.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngJpeg.h"
#include "EngMain.h"
#include "EngTexture.h"
#include "EngMath.h"
#include "EngMatrix.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"

static const unsigned char tga_header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

static inline uint32_t Pack(int a, int r, int g, int b)
{
    return (uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) |
           uint32_t(b & 255);
}
static inline int A(uint32_t p)
{
    return int(p >> 24);
}
static inline int R(uint32_t p)
{
    return int((p >> 16) & 255);
}
static inline int G(uint32_t p)
{
    return int((p >> 8) & 255);
}
static inline int B(uint32_t p)
{
    return int(p & 255);
}
static inline int Clamp255(int v)
{
    return v > 255 ? 255 : v < 0 ? 0 : v;
}

EngTga::EngTga() : m_data(nullptr), m_width(0), m_height(0), m_bpp(0), m_size(0) {}

EngTga::EngTga(int w, int h, int bpp) : EngTga()
{
    Create(w, h, bpp);
}

EngTga::EngTga(int w, int h, int bpp, float r, float g, float b, float a) : EngTga()
{
    CreateWithColour(w, h, bpp, r, g, b, a);
}

EngTga::EngTga(const char* path) : EngTga()
{
    LoadFromFile(path, 1);
}

EngTga::~EngTga()
{
    Destroy();
}

void EngTga::Destroy()
{
    if (m_data)
        EngFree(m_data, 0, "tga");
    m_data = nullptr;
}

char EngTga::CreateWithColour(int w, int h, int bpp, float r, float g, float b, float a)
{
    if (w <= 0 || h <= 0 || bpp != 32 || (long long)w * h > ENG_TGA_MAX_PIXELS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data already created");
        return 0;
    }
    size_t bytes = size_t(w) * size_t(h) * 4;
    m_data = static_cast<uint32_t*>(EngMalloc(bytes, "tga", 0));
    if (!m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    m_width = w, m_height = h, m_bpp = bpp, m_size = int(bytes);
    if (r >= 0 && g >= 0 && b >= 0 && a >= 0)
        std::fill(m_data, m_data + size_t(w) * h,
                  Pack(int(a * 255), int(r * 255), int(g * 255), int(b * 255)));
    else
        std::memset(m_data, 0, bytes); // never hand out uninitialised pixels
    return 1;
}

char EngTga::Create(int w, int h, int bpp)
{
    return CreateWithColour(w, h, bpp, -1, -1, -1, -1);
}

// Reads the 18-byte header; 0 on a short file or another kind of header.
static char ReadHeader(FILE* f, int* w, int* h, int* depth)
{
    unsigned char hdr[18];
    if (std::fread(hdr, 1, 18, f) != 18 || std::memcmp(hdr, tga_header, 12) != 0)
        return 0;
    *w = hdr[12] | (hdr[13] << 8);
    *h = hdr[14] | (hdr[15] << 8);
    *depth = hdr[16];
    return 1;
}

char EngTga::LoadFromFile(const char* path, char create)
{
    FILE* f = path ? EngFileOpenRegularStream(path, "rb", 0, __PRETTY_FUNCTION__) : nullptr;
    if (!f)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path ? path : "");
        return 0;
    }
    int w, h, depth;
    if (!ReadHeader(f, &w, &h, &depth))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problems [0] loading file <%s>", path);
        std::fclose(f);
        return 0;
    }
    int file_depth = depth;
    if (depth == 24)
        depth = 32;
    // 64-bit size: crafted 16-bit sizes must not overflow.
    long long pixels = (long long)w * (long long)h;
    if (w < 1 || h < 1 || (depth != 16 && depth != 32) || pixels > ENG_TGA_MAX_PIXELS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Format in file: <%s>", path);
        std::fclose(f);
        return 0;
    }
    // The rows must be in the file before anything is allocated for them.
    struct stat st;
    long long need = 18 + pixels * (file_depth / 8);
    if (file_depth != 16 &&
        (fstat(fileno(f), &st) != 0 || (long long)st.st_size < need))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__,
                      file_depth == 32 ? "Problems reading data [2] in file <%s>"
                                       : "Problems reading data [3] in file <%s>",
                      path);
        std::fclose(f);
        return 0;
    }
    if (depth == 32 && pixels * 4 > ENG_IMAGE_MAX_DECODE_BYTES)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Image [%d x %d] needs %lld MB, more than %lld MB <%s>", w, h,
                      EngMegabytesRoundedUp(pixels * 4), ENG_IMAGE_MAX_DECODE_BYTES >> 20, path);
        std::fclose(f);
        return 0;
    }
    if (create)
    {
        if (m_data)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Data [1]");
            std::fclose(f);
            return 0;
        }
        if (!CreateWithColour(w, h, depth, -1, -1, -1, -1))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create m_data");
            std::fclose(f);
            return 0;
        }
    }
    else if (!m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Data [1]");
        std::fclose(f);
        return 0;
    }
    auto fail = [&](const char* fmt)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, fmt, path);
        if (create)
            Destroy();
        std::fclose(f);
        return char(0);
    };
    if (m_width != w || m_height != h || m_bpp != depth || (long long)m_size != pixels * depth / 8)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Data [2]");
        if (create)
            Destroy();
        std::fclose(f);
        return 0;
    }
    if (file_depth == 32)
    {
        size_t row = size_t(m_size) / size_t(h);
        for (int r = h - 1; r >= 0; r--)
            if (std::fread(m_data + size_t(r) * w, 1, row, f) != row)
                return fail("Problems reading data [2] in file <%s>");
    }
    else
    {
        size_t row = size_t(w) * 3;
        unsigned char* scratch = static_cast<unsigned char*>(std::malloc(row));
        if (!scratch)
            return fail("No memory <%s>");
        for (int r = h - 1; r >= 0; r--)
        {
            if (std::fread(scratch, 1, row, f) != row)
            {
                std::free(scratch);
                return fail("Problems reading data [3] in file <%s>");
            }
            uint32_t* dst = m_data + size_t(r) * w;
            for (int x = 0; x < w; x++)
                dst[x] = Pack(255, scratch[x * 3 + 2], scratch[x * 3 + 1], scratch[x * 3]);
        }
        std::free(scratch);
    }
    for (int r = 0; r < h; r++)
        EngFileReverseWordBitsForPlatform(m_data + size_t(r) * w, EngUInt32(w) * 4);
    std::fclose(f);
    return 1;
}

char EngTga::GetSizeFromFile(const char* path, int* w, int* h, int* bpp)
{
    FILE* f = path ? EngFileOpenRegularStream(path, "rb", 0, __PRETTY_FUNCTION__) : nullptr;
    if (!f)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open file <%s>", path ? path : "");
        return 0;
    }
    int fw, fh, depth;
    char ok = ReadHeader(f, &fw, &fh, &depth);
    std::fclose(f);
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problems [0] loading file <%s>", path);
        return 0;
    }
    if (w)
        *w = fw;
    if (h)
        *h = fh;
    if (bpp)
        *bpp = depth;
    return fw >= 1 && fh != 0 && depth == 32;
}

namespace
{
struct TgaWrite
{
    const char* path;
    int w, h;
    const uint32_t* pixels;
};

// The header, then the rows from the bottom one up.
char WriteTga(FILE* f, void* user, char*, size_t)
{
    const TgaWrite* t = static_cast<const TgaWrite*>(user);
    unsigned char hdr[18];
    std::memcpy(hdr, tga_header, 12);
    hdr[12] = (unsigned char)(t->w & 255), hdr[13] = (unsigned char)(t->w >> 8);
    hdr[14] = (unsigned char)(t->h & 255), hdr[15] = (unsigned char)(t->h >> 8);
    hdr[16] = 32, hdr[17] = 0;
    if (std::fwrite(hdr, 1, 18, f) != 18)
    {
        int err = errno;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problems [0] creating file <%s>", t->path);
        errno = err;
        return 0;
    }
    for (int r = t->h - 1; r >= 0; r--)
        if (std::fwrite(t->pixels + size_t(r) * t->w, 4, size_t(t->w), f) != size_t(t->w))
        {
            int err = errno;
            DebugErrorAlt(__PRETTY_FUNCTION__, "Problems creating data [DP] in file <%s>", t->path);
            errno = err;
            return 0;
        }
    return 1;
}
} // namespace

char EngTga::SaveToFile(const char* path)
{
    return DoSaveToFile(path, nullptr);
}

char EngTga::SaveToFileFromTexture(const char* path, EngTexture* t)
{
    return DoSaveToFile(path, t);
}

char EngTga::DoSaveToFile(const char* path, EngTexture* t)
{
    if (!path || !path[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename");
        return 0;
    }
    int w, h;
    uint32_t* pixels = nullptr;
    bool own = false;
    if (!t)
    {
        if (!m_data || m_bpp != 32 || m_width <= 0 || m_height <= 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid m_data passed in (filename=%s)", path);
            return 0;
        }
        w = m_width, h = m_height, pixels = m_data;
    }
    else if (!m_data)
    {
        if (!t->IsOk() || t->GetWidth() <= 0 || t->GetHeight() <= 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texture passed in (filename=%s)", path);
            return 0;
        }
        if (t->GetNumChannels() != 4)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported bpp: %d", t->GetNumChannels() * 8);
            return 0;
        }
        w = t->GetWidth(), h = t->GetHeight();
        pixels = static_cast<uint32_t*>(std::malloc(size_t(w) * h * 4));
        if (!pixels)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory creating file <%s>", path);
            return 0;
        }
        own = true;
        unsigned char* data = t->AllocAndGetTextureImageData();
        if (!data)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texure");
            std::free(pixels);
            return 0;
        }
        for (size_t i = 0; i < size_t(w) * h; i++)
            pixels[i] = Pack(data[i * 4 + 3], data[i * 4], data[i * 4 + 1], data[i * 4 + 2]);
        t->FreeAllocatedTextureImageData();
    }
    else
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    // Written to a fresh temporary beside the target, then renamed over it;
    // a file made read-only is not replaced.
    TgaWrite job = {path, w, h, pixels};
    char ok = EngFileSaveAtomicallyWith(path, WriteTga, &job);
    if (own)
        std::free(pixels);
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create file <%s>", path);
        return 0;
    }
    return 1;
}

char EngTga::FillTexture(EngTexture* t)
{
    if (!m_data || !t)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (t->GetWidth() <= 0 || t->GetHeight() <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texure");
        return 0;
    }
    if (!t->GetGL() || !t->IsOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texture (2)");
        return 0;
    }
    if (t->GetWidth() != m_width || t->GetHeight() != m_height || t->GetNumChannels() * 8 != m_bpp)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Incompatible texure and data [%dx%dx%d != %dx%dx%d]",
                      t->GetWidth(), t->GetHeight(), t->GetNumChannels() * 8, m_width, m_height, m_bpp);
        return 0;
    }
    if (t->GetNumChannels() != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported bpp: %d", t->GetNumChannels() * 8);
        return 0;
    }
    unsigned char* data = t->AllocEmptyTextureImageData(0);
    if (!data)
        return 0;
    for (size_t i = 0; i < size_t(m_width) * m_height; i++)
    {
        uint32_t p = m_data[i];
        data[i * 4] = (unsigned char)R(p), data[i * 4 + 1] = (unsigned char)G(p);
        data[i * 4 + 2] = (unsigned char)B(p), data[i * 4 + 3] = (unsigned char)A(p);
    }
    char ok = t->UpdateTextureFromAllocatedImageData();
    t->FreeAllocatedTextureImageData();
    return ok;
}

void EngTga::SetDataEntryToColour(int x, int y, float r, float g, float b)
{
    if (!m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid m_data");
        return;
    }
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid pos [%d,%d]", x, y);
        return;
    }
    m_data[size_t(m_height - 1 - y) * m_width + x] = Pack(0, int(r * 255), int(g * 255), int(b * 255));
}

void EngTga::SetDataEntryToColourNoChecks(int x, int y, float r, float g, float b)
{
    m_data[size_t(y) * m_width + x] = Pack(0, int(r * 255), int(g * 255), int(b * 255));
}

void EngTga::SetDataPartColour(int x, int y, int w, int h, float r, float g, float b, float a)
{
    if (w < 0)
        w = m_width;
    if (h < 0)
        h = m_height;
    if (!m_data || x < 0 || y < 0 || x + w > m_width || y + h > m_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return;
    }
    uint32_t p = Pack(int(a * 255), int(r * 255), int(g * 255), int(b * 255));
    for (int row = y; row < y + h; row++)
        std::fill(m_data + size_t(m_height - 1 - row) * m_width + x,
                  m_data + size_t(m_height - 1 - row) * m_width + x + w, p);
}

void EngTga::InvertAlpha()
{
    if (!m_data || m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return;
    }
    for (size_t i = 0; i < size_t(m_width) * m_height; i++)
        m_data[i] = (m_data[i] & 0x00ffffffu) | (uint32_t(255 - A(m_data[i])) << 24);
}

void EngTga::InvertAlphaWithFade(float f)
{
    if (!m_data || m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return;
    }
    for (size_t i = 0; i < size_t(m_width) * m_height; i++)
    {
        int old = A(m_data[i]);
        int a = 255 - old;
        if (f >= 0 && f < 1)
            a = int(f * (255 - old));
        m_data[i] = (m_data[i] & 0x00ffffffu) | (uint32_t(a) << 24);
    }
}

void EngTga::FadeAlpha(float f)
{
    if (!m_data || m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameter");
        return;
    }
    if (f < 0 || f > 1)
        return;
    for (size_t i = 0; i < size_t(m_width) * m_height; i++)
        m_data[i] = (m_data[i] & 0x00ffffffu) | (uint32_t(int(f * A(m_data[i]))) << 24);
}

uint32_t EngTga::AverageTwoPixels(uint32_t p, uint32_t q)
{
    return Pack((A(p) + A(q)) >> 1, (R(p) + R(q)) >> 1, (G(p) + G(q)) >> 1, (B(p) + B(q)) >> 1);
}

char EngTga::PrepareFromOther(const char* func, EngTga* other, char create, int divisor)
{
    if (create)
    {
        if (!other || !other->m_data || other->m_bpp != 32 || other->m_width < 2 || other->m_height < 2 ||
            m_data)
        {
            DebugErrorAlt(func, "Invalid parameters [1]");
            return 0;
        }
        return Create(other->m_width / divisor, other->m_height / divisor, 32);
    }
    if (!other || !other->m_data || !m_data || other->m_bpp != 32 || m_bpp != 32 ||
        other->m_width / divisor != m_width || other->m_height / divisor != m_height)
    {
        DebugErrorAlt(func, "Invalid parameters [2]");
        return 0;
    }
    return 1;
}

char EngTga::CreateFromOtherTga(EngTga* other, char create)
{
    if (!PrepareFromOther(__PRETTY_FUNCTION__, other, create, 1))
        return 0;
    std::memcpy(m_data, other->m_data, size_t(m_width) * m_height * 4);
    return 1;
}

char EngTga::CreateFromTwiceSizeData(EngTga* other, char create)
{
    if (!PrepareFromOther(__PRETTY_FUNCTION__, other, create, 2))
        return 0;
    int ow = other->m_width;
    for (int y = 0; y < m_height; y++)
        for (int x = 0; x < m_width; x++)
        {
            const uint32_t* s = other->m_data;
            uint32_t top = AverageTwoPixels(s[size_t(2 * y) * ow + 2 * x], s[size_t(2 * y) * ow + 2 * x + 1]);
            uint32_t bot =
                AverageTwoPixels(s[size_t(2 * y + 1) * ow + 2 * x], s[size_t(2 * y + 1) * ow + 2 * x + 1]);
            m_data[size_t(y) * m_width + x] = AverageTwoPixels(top, bot);
        }
    return 1;
}

char EngTga::FillFromData(int src_w, int src_h, int src_bpp, int src_x, int src_y, int region_w, int region_h,
                          const unsigned char* data, int dst_x, int dst_y, int dst_w, int dst_h,
                          char mirror_x, char mirror_y, _EngTgaAlphaType mode, char alpha_only, float fade,
                          char invert)
{
    if (!data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data");
        return 0;
    }
    if ((src_bpp != 24 && src_bpp != 32) || src_w <= 0 || src_h <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid from data");
        return 0;
    }
    if (!m_data || m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid dest");
        return 0;
    }
    if (region_w < 0)
        region_w = src_w;
    if (region_h < 0)
        region_h = src_h;
    if (src_x < 0 || src_y < 0 || src_x + region_w > src_w || src_y + region_h > src_h)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid from sizes");
        return 0;
    }
    if (dst_w < 0)
        dst_w = m_width;
    if (dst_h < 0)
        dst_h = m_height;
    if (region_w < 1 || region_h < 1 || dst_w < 1 || dst_h < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (dst_x < 0 || dst_y < 0 || dst_x + dst_w > m_width || dst_y + dst_h > m_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid to sizes");
        return 0;
    }
    int bpp = src_bpp / 8;
    for (int r = 0; r < dst_h; r++)
    {
        int rr = int((long long)r * region_h / dst_h);
        if (mirror_y)
            rr = region_h - 1 - rr;
        for (int c = 0; c < dst_w; c++)
        {
            int cc = int((long long)c * region_w / dst_w);
            if (mirror_x)
                cc = region_w - 1 - cc;
            const unsigned char* sp = data + (size_t(src_y + rr) * src_w + size_t(src_x + cc)) * bpp;
            int sb = sp[0], sg = sp[1], sr = sp[2], sa = bpp == 4 ? sp[3] : 255;
            uint32_t src = Pack(sa, sr, sg, sb);
            int s = sa;
            if (fade < 1)
                s = invert ? 255 - int((255 - s) * fade) : int(s * fade);
            uint32_t& d = m_data[size_t(dst_y + r) * m_width + size_t(dst_x + c)];
            if (alpha_only)
            {
                d = (d & 0x00ffffffu) | (uint32_t(Clamp255(s)) << 24);
                continue;
            }
            int dr = R(d), dg = G(d), db = B(d), da = A(d);
            auto mix = [](int dv, int sv, int k) { return Clamp255(dv * (255 - k) / 255 + sv * k / 255); };
            switch (mode)
            {
            case 1:
                d = Pack(da, sr, sg, sb);
                break;
            case 4:
                d = Pack(da, mix(dr, sr, s), mix(dg, sg, s), mix(db, sb, s));
                break;
            case 5:
            case 6:
            case 7:
            case 8:
            {
                int m = std::min(sr, std::min(sg, sb));
                int k = mode == 7   ? m
                        : mode == 8 ? 255 - m
                        : mode == 5 ? (m < 191 ? 0 : m)
                                    : (255 - m > 64 ? 255 : 255 - m);
                if (fade < 1)
                    k = invert ? 255 - int((255 - k) * fade) : int(k * fade);
                auto mk = [k](int sv, int dv) { return Clamp255((sv * k + dv * (255 - k)) / 255); };
                d = Pack(da, mk(sr, dr), mk(sg, dg), mk(sb, db));
                break;
            }
            case 9:
                if (s == 0)
                    break;
                if (s == 255)
                    d = src;
                else
                    d = Pack(da, mix(dr, sr, s), mix(dg, sg, s), mix(db, sb, s));
                break;
            case 12:
            {
                int m = std::min(sr, std::min(sg, sb));
                if (m == 255)
                    d = Pack(s, dr, dg, db);
                else
                    d = Pack(s, dr * m / 255, dg * m / 255, db * m / 255);
                break;
            }
            default:
                d = src;
                break;
            }
        }
    }
    return 1;
}

char EngTga::FillFromOtherTga(int src_x, int src_y, int region_w, int region_h, EngTga* other, int dst_x,
                              int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y,
                              _EngTgaAlphaType mode, char alpha_only, float fade, char invert)
{
    if (!other)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No other tga");
        return 0;
    }
    if (!other->m_data || other->m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid other tga");
        return 0;
    }
    return FillFromData(other->m_width, other->m_height, 32, src_x, src_y, region_w, region_h,
                        reinterpret_cast<const unsigned char*>(other->m_data), dst_x, dst_y, dst_w, dst_h,
                        mirror_x, mirror_y, mode, alpha_only, fade, invert);
}

char EngTga::FillFromJpeg(int src_x, int src_y, int region_w, int region_h, const char* path, int dst_x,
                          int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y,
                          _EngTgaAlphaType mode, char alpha_only, float fade, char invert)
{
    if (!path || !path[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename.");
        return 0;
    }
    if (EngFileIsThereButNotRegular(path, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", path);
        return 0;
    }
    if (mode != 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Update this function.");
    unsigned int w = 0, h = 0, comps = 0;
    if (!EngJpegGetFileInfo(path, &w, &h, &comps))
        return 0;
    if (comps != 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported for jpegs with %u components <%s>", comps, path);
        return 0;
    }
    unsigned char* px = EngJpegReadFileToBuffer(path, &w, &h);
    if (!px)
        return 0;
    for (size_t i = 0; i < size_t(w) * h; i++)
        std::swap(px[i * 3], px[i * 3 + 2]);
    char ok = FillFromData(int(w), int(h), 24, src_x, src_y, region_w, region_h, px, dst_x, dst_y, dst_w,
                           dst_h, mirror_x, mirror_y, mode, alpha_only, fade, invert);
    std::free(px);
    return ok;
}

char EngTga::FillFromTextureData(int src_x, int src_y, int region_w, int region_h, int dst_x, int dst_y,
                                 int dst_w, int dst_h, char mirror_x, char mirror_y, _EngTgaAlphaType mode,
                                 float fade, int tex_w, int tex_h, int tex_bpp, const unsigned char* data)
{
    if (region_w < 1 || region_h < 1 || dst_w < 1 || dst_h < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    if (tex_w < 1 || tex_h < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texture dimensions");
        return 0;
    }
    if (!m_data || m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid data");
        return 0;
    }
    if (src_x < 0 || src_y < 0 || src_x + region_w > tex_w || src_y + region_h > tex_h || dst_x < 0 ||
        dst_y < 0 || dst_x + dst_w > m_width || dst_y + dst_h > m_height)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sizes");
        return 0;
    }
    if (!data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture data");
        return 0;
    }
    if (tex_bpp != 24 && tex_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported bpp: %d", tex_bpp);
        return 0;
    }
    int bpp = tex_bpp / 8;
    for (int r = 0; r < dst_h; r++)
    {
        int ty = std::min(src_y + int((long long)r * region_h / dst_h), tex_h - 1);
        if (mirror_y == 1)
            ty = tex_h - 1 - ty;
        for (int c = 0; c < dst_w; c++)
        {
            int tx = std::min(src_x + int((long long)c * region_w / dst_w), tex_w - 1);
            if (mirror_x == 1)
                tx = tex_w - 1 - tx;
            const unsigned char* t = data + (size_t(ty) * tex_w + tx) * bpp;
            int tr = t[0], tg = t[1], tb = t[2], ta = bpp == 4 ? t[3] : 255;
            uint32_t& d = m_data[size_t(dst_y + r) * m_width + size_t(dst_x + c)];
            int da = A(d);
            switch (mode)
            {
            case 0:
            case 1:
                d = Pack(da, tr, tg, tb);
                break;
            case 2:
                d = Pack(ta, tr, tg, tb);
                break;
            case 3:
                d = Pack(255 - ta, tr, tg, tb);
                break;
            default:
            {
                if (bpp == 4 && ta == 0)
                    break;
                int w;
                if (mode == 10)
                    w = int(ta * fade * std::max(tr, std::max(tg, tb)) / 255);
                else if (mode == 11)
                    w = int(ta * fade * (255 - std::min(tr, std::min(tg, tb))) / 255);
                else if (fade > 0 && fade < 1)
                    w = EngMathRound(ta * fade);
                else if (fade == -1)
                    w = 255 - ta;
                else
                    w = ta;
                w = Clamp255(w);
                auto mix = [w](int dv, int tv) { return Clamp255(dv * (255 - w) / 255 + tv * w / 255); };
                float df = da / 255.0f;
                int na = int(std::min(1.0f, df + (w / 255.0f) * df) * 255);
                d = Pack(na, mix(R(d), tr), mix(G(d), tg), mix(B(d), tb));
                break;
            }
            }
        }
    }
    return 1;
}

char EngTga::FillFromTexture(int src_x, int src_y, int region_w, int region_h, EngTexture* t, int dst_x,
                             int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y,
                             _EngTgaAlphaType mode, float fade)
{
    if (!t || !t->IsOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid texture");
        return 0;
    }
    if (!t->GetGL())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid GL texture");
        return 0;
    }
    if (region_w == -1)
        region_w = t->GetWidth();
    if (region_h == -1)
        region_h = t->GetHeight();
    if (dst_w < 0)
        dst_w = m_width;
    if (dst_h < 0)
        dst_h = m_height;
    unsigned char* data = t->AllocAndGetTextureImageData();
    if (!data)
        return 0;
    char ok =
        FillFromTextureData(src_x, src_y, region_w, region_h, dst_x, dst_y, dst_w, dst_h, mirror_x, mirror_y,
                            mode, fade, t->GetWidth(), t->GetHeight(), t->GetNumChannels() * 8, data);
    t->FreeAllocatedTextureImageData();
    return ok;
}

char EngTga::CreateFromTexture(EngTexture* t)
{
    if (!t || !t->IsOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture not ok");
        return 0;
    }
    if (!Create(t->GetWidth(), t->GetHeight(), 32))
        return 0;
    return FillFromTexture(0, 0, -1, -1, t, 0, 0, -1, -1, 0, 0, 2, 1.0f);
}

char EngTga::CreateFromTextureData(int w, int h, int bpp, const unsigned char* data)
{
    if (!Create(w, h, 32))
        return 0;
    return FillFromTextureData(0, 0, w, h, 0, 0, w, h, 0, 0, 2, 1.0f, w, h, bpp, data);
}
