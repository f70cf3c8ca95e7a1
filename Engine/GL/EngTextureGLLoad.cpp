// Texture loading: image files to memory, reshaping, and upload to GL.
#include <GL/glew.h>
#include <SOIL/SOIL.h> // the flag values; the system image library decodes

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngMain.h"

// The decoder's every allocation is counted against a cap set for each image;
// one that would pass it fails, and the decoder gives up.
namespace
{
thread_local EngMemoryBudget decode_budget;
} // namespace

// The image library, built here for the kinds the engine takes and with the
// counted allocator; the pixels it returns are freed with free (EngFree).
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MALLOC(n) decode_budget.Alloc(n)
#define STBI_REALLOC(p, n) decode_budget.Realloc(p, n)
#define STBI_FREE(p) decode_budget.Free(p)
// It copies nothing from a null pointer for an empty data chunk, which a
// memcpy may not be asked to do: such copies are skipped.
static inline void* DecodeCopy(void* to, const void* from, size_t n)
{
    return n ? std::memcpy(to, from, n) : to;
}
#define memcpy DecodeCopy
#include <stb/stb_image.h>
#undef memcpy

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngImageScale.h"
#include "EngJpeg.h"
#include "EngTextureGL.h"
#include "GL/EngDeviceGL.h"

// Largest image file read to be decoded: the file counts against the memory
// an image may take.
static const size_t IMAGE_MAX_FILE_SIZE = size_t(ENG_IMAGE_MAX_DECODE_BYTES);

// Why the last decode failed, for "Load failed <%s>".
static const char* last_load_error = "";
static char load_error_text[160];

// The kinds of file the image library is asked to decode. JPEG goes to the
// JPEG reader; the library's other kinds are refused before it sees them.
enum ImageKind
{
    IMAGE_UNKNOWN,
    IMAGE_PNG,
    IMAGE_GIF,
    IMAGE_BMP,
    IMAGE_TGA,
    IMAGE_TGA_RLE,
};

// The kind from the first bytes; *other names a kind that is known but not
// taken, for the reason given.
static ImageKind ImageKindOf(const unsigned char* d, size_t n, const char** other)
{
    *other = nullptr;
    if (n >= 8 && !std::memcmp(d, "\x89PNG\r\n\x1a\n", 8))
        return IMAGE_PNG;
    if (n >= 6 && (!std::memcmp(d, "GIF87a", 6) || !std::memcmp(d, "GIF89a", 6)))
        return IMAGE_GIF;
    if (n >= 2 && d[0] == 'B' && d[1] == 'M')
        return IMAGE_BMP;
    if (n >= 2 && d[0] == 0xFF && d[1] == 0xD8)
        *other = "JPEG";
    else if (n >= 4 && !std::memcmp(d, "8BPS", 4))
        *other = "PSD";
    else if (n >= 4 && !std::memcmp(d, "\x53\x80\xF6\x34", 4))
        *other = "PIC";
    else if (n >= 2 && d[0] == 'P' && d[1] >= '1' && d[1] <= '7')
        *other = "PNM";
    else if (n >= 2 && d[0] == '#' && d[1] == '?')
        *other = "HDR";
    if (*other)
        return IMAGE_UNKNOWN;
    // TGA has no signature: a plain header with a known image type and depth.
    if (n >= 18 && d[1] <= 1)
    {
        int type = d[2], bits = d[16];
        bool mapped = type == 1 || type == 9;
        bool known = mapped || type == 2 || type == 3 || type == 10 || type == 11;
        bool depth_ok = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
        if (known && depth_ok && (d[1] == 1) == mapped)
            return type >= 9 ? IMAGE_TGA_RLE : IMAGE_TGA;
    }
    return IMAGE_UNKNOWN;
}

// Most pixels one byte of a file of each kind can stand for: a header asking
// for more than the file could hold is refused before anything is decoded.
static long long MaxPixelsPerByte(ImageKind kind)
{
    switch (kind)
    {
    case IMAGE_PNG:
        return 8LL * 1032; // deflate expands at most 1032 times; one bit a pixel
    case IMAGE_GIF:
        return 4096LL * 8 / 12 + 1; // a 12-bit code stands for at most 4096 pixels
    case IMAGE_BMP:
        return 8; // one bit a pixel at least when uncompressed
    case IMAGE_TGA:
        return 1; // a byte a pixel at least
    case IMAGE_TGA_RLE:
        return 64; // two bytes at least for 128 pixels
    default:
        return 0;
    }
}

// The most memory the image library holds at once while it decodes an image
// of w x h pixels and n channels (as its header says) of a file of size bytes
// into `want` channels, the file's bytes not included. Each kind makes its
// own copies: PNG inflates the file's data, unfilters it into pixels, may
// expand a palette and convert channels or 16 bits to 8, and holds two of
// these at once; GIF keeps a background and a history beside its pixels;
// BMP and TGA decode straight into pixels and may convert them.
static long long DecodePeakBytes(ImageKind kind, const unsigned char* d, size_t size, long long w, long long h,
                                 int n, int want)
{
    const long long px = w * h;
    const long long r = want >= 1 && want <= 4 ? want : n;
    switch (kind)
    {
    case IMAGE_PNG:
    {
        // IHDR: width, height, bit depth, colour type, compression, filter, interlace.
        if (size < 29)
            return 0;
        const int depth = d[24], type = d[25];
        const bool interlaced = d[28] != 0, palette = type == 3;
        const long long img_n = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
        const long long b = depth == 16 ? 2 : 1;
        const long long raw = ((w * depth + 7) / 8) * img_n * h + h;
        const long long out_n = palette ? 1 : (r == img_n + 1 && r != 3) ? img_n + 1 : img_n;
        const long long out = px * out_n * b;
        const long long pal_n = r >= 3 ? r : 4;
        const long long final_n = palette ? pal_n : out_n;
        long long peak = 2 * (long long)size + raw;                 // inflating
        peak = std::max(peak, raw + out + (interlaced ? out / 2 : 0)); // unfiltering
        if (palette)
            peak = std::max(peak, raw + out + px * pal_n);
        if (final_n != r)
            peak = std::max(peak, px * (final_n + r) * b);
        if (b == 2)
            peak = std::max(peak, px * r * 3);
        return peak;
    }
    case IMAGE_GIF:
        return px * 9 + (r != 4 ? px * r : 0) + (64 << 10);
    case IMAGE_BMP:
    {
        const long long target = want >= 3 ? want : n;
        return px * target + (want && want != target ? px * want : 0);
    }
    case IMAGE_TGA:
    case IMAGE_TGA_RLE:
        return px * n + (r != n ? px * r : 0) + 65536LL * 4;
    default:
        return 0;
    }
}

static const char* KindName(ImageKind kind)
{
    switch (kind)
    {
    case IMAGE_PNG:
        return "PNG";
    case IMAGE_GIF:
        return "GIF";
    case IMAGE_BMP:
        return "BMP";
    case IMAGE_TGA:
    case IMAGE_TGA_RLE:
        return "TGA";
    default:
        return nullptr;
    }
}

// The image library's reading of the header of a file of that kind, by that
// kind's own reader (so that its reason, not a guess at another kind's, is
// the one kept).
static int KindInfo(ImageKind kind, const unsigned char* d, size_t n, int* w, int* h, int* c)
{
    stbi__context s;
    stbi__start_mem(&s, d, int(n));
    stbi__g_failure_reason = "";
    switch (kind)
    {
    case IMAGE_PNG:
        return stbi__png_info(&s, w, h, c);
    case IMAGE_GIF:
        return stbi__gif_info(&s, w, h, c);
    case IMAGE_BMP:
        return stbi__bmp_info(&s, w, h, c);
    case IMAGE_TGA:
    case IMAGE_TGA_RLE:
        return stbi__tga_info(&s, w, h, c);
    default:
        return 0;
    }
}

// The image library's short code for a failure as a sentence; a file of a
// kind it does not read is named for what it is.
static const char* Explain(ImageKind kind, const unsigned char* d, const char* code)
{
    static const struct
    {
        const char* code;
        const char* text;
    } known[] = {
        {"BMP RLE", "run-length-coded BMPs are not supported"},
        {"BMP JPEG/PNG", "BMPs of JPEG, PNG or other compressed data are not supported"},
        {"unknown BMP", "BMPs with a header of this kind are not supported"},
        {"bad bpp", "BMPs of this number of bits a pixel are not supported"},
        {"bad format", "TGAs of this pixel format are not supported"},
        {"outofmem", "Out of memory"},
        {"too large", "Image too large"},
    };
    const char* name = KindName(kind);
    code = code ? code : "";
    for (const auto& k : known)
        if (!std::strcmp(code, k.code))
            return k.text;
    static const char unknown_chunk[] = " PNG chunk not known";
    const size_t n = std::strlen(code), m = sizeof(unknown_chunk) - 1;
    if (kind == IMAGE_PNG && n == 4 + m && !std::strcmp(code + 4, unknown_chunk))
        std::snprintf(load_error_text, sizeof(load_error_text),
                      "PNGs with the unknown critical chunk <%.4s> are not supported", code);
    else if (!*code && (kind == IMAGE_TGA || kind == IMAGE_TGA_RLE))
    {
        // The library's TGA reader gives no reasons of its own.
        const int index_bits = d[16], entry_bits = d[7];
        if (d[1] == 1 && index_bits != 8 && index_bits != 16)
            std::snprintf(load_error_text, sizeof(load_error_text),
                          "colour-mapped TGAs of %d-bit indexes are not supported", index_bits);
        else if (d[1] == 1 && entry_bits != 8 && entry_bits != 15 && entry_bits != 16 && entry_bits != 24 &&
                 entry_bits != 32)
            std::snprintf(load_error_text, sizeof(load_error_text),
                          "colour-mapped TGAs of %d-bit colours are not supported", entry_bits);
        else
            std::snprintf(load_error_text, sizeof(load_error_text), "Invalid image size");
    }
    else if (!*code || !std::strcmp(code, "bad BMP") || !std::strncmp(code, "not ", 4) ||
             !std::strcmp(code, "bad png sig"))
        std::snprintf(load_error_text, sizeof(load_error_text), "Corrupt %s", name ? name : "image");
    else
        std::snprintf(load_error_text, sizeof(load_error_text), "Corrupt %s (%s)", name ? name : "image",
                      code);
    return load_error_text;
}

// Bytes an uncompressed TGA's header says its pixels take, from its start;
// the library reads the missing ones of a shorter file as whatever its
// buffer held.
static long long TgaNeededBytes(const unsigned char* d, long long w, long long h)
{
    const long long entries = d[5] | d[6] << 8, entry_bytes = (d[7] + 7) / 8;
    const long long map = d[1] == 1 ? entries * entry_bytes : 0;
    return 18 + d[0] + map + w * h * ((d[16] + 7) / 8);
}

// How a decode is asked for.
struct DecodeRequest
{
    int force_channels; // 1 to 4, or the file's own
    unsigned int flags; // SOIL_FLAG_*
    bool colour;        // grey pictures as RGB, grey with alpha as RGBA
    long long (*beside)(int width, int height, int channels, void* user);
    void* user;
};

// The image library's decoder for everything but JPEG, on a file's bytes.
static unsigned char* DecodeImage(const unsigned char* data, size_t size, const DecodeRequest& r, int* width,
                                  int* height, int* channels)
{
    if (r.flags & SOIL_FLAG_DDS_LOAD_DIRECT)
    {
        last_load_error = "SOIL_load_OGL_texture_to_memory(): SOIL_FLAG_DDS_LOAD_DIRECT not supported";
        return nullptr;
    }
    int w = 0, h = 0, c = 0;
    if (size > size_t(INT_MAX))
    {
        last_load_error = "File too large";
        return nullptr;
    }
    const char* other = nullptr;
    ImageKind kind = ImageKindOf(data, size, &other);
    if (kind == IMAGE_UNKNOWN)
    {
        if (other)
            std::snprintf(load_error_text, sizeof(load_error_text), "Image kind not supported <%s>", other);
        else
            std::snprintf(load_error_text, sizeof(load_error_text), "Unknown image kind");
        last_load_error = load_error_text;
        return nullptr;
    }
    const long long limit = ENG_IMAGE_MAX_DECODE_BYTES - (long long)size;
    decode_budget = EngMemoryBudget{0, size_t(limit), false};
    if (!KindInfo(kind, data, size, &w, &h, &c))
    {
        last_load_error = Explain(kind, data, stbi_failure_reason());
        return nullptr;
    }
    // A top-down BMP gives its height as a negative number.
    long long aw = std::llabs((long long)w), ah = std::llabs((long long)h);
    if (aw == 0 || ah == 0)
    {
        last_load_error = "Invalid image size";
        return nullptr;
    }
    long long pixels = aw * ah;
    if (aw > ENG_JPEG_MAX_PIXELS || ah > ENG_JPEG_MAX_PIXELS || pixels > ENG_JPEG_MAX_PIXELS)
    {
        last_load_error = "Image too large";
        return nullptr;
    }
    if (pixels > MaxPixelsPerByte(kind) * (long long)size)
    {
        std::snprintf(load_error_text, sizeof(load_error_text),
                      "Image size [%lld x %lld] cannot come from a file of %lu bytes", aw, ah, (unsigned long)size);
        last_load_error = load_error_text;
        return nullptr;
    }
    if (kind == IMAGE_TGA && TgaNeededBytes(data, aw, ah) > (long long)size)
    {
        std::snprintf(load_error_text, sizeof(load_error_text),
                      "TGA cut short: its pixels need %lld bytes, the file has %lu",
                      TgaNeededBytes(data, aw, ah), (unsigned long)size);
        last_load_error = load_error_text;
        return nullptr;
    }
    const int force = (r.force_channels >= 1 && r.force_channels <= 4) ? r.force_channels : 0;
    // Grey made colour after the decode, beside what the decode gave.
    const bool to_colour = r.colour && !force && c <= 2;
    const int out_n = force ? force : to_colour ? c + 2 : c;
    long long need = DecodePeakBytes(kind, data, size, aw, ah, c, force);
    if (to_colour)
        need = std::max(need, pixels * (c + out_n));
    if (r.beside)
        need = std::max(need, pixels * out_n + r.beside(int(aw), int(ah), out_n, r.user));
    if (need > limit)
    {
        std::snprintf(load_error_text, sizeof(load_error_text),
                      "Image [%lld x %lld] needs %lld MB to decode, more than %lld MB", aw, ah,
                      EngMegabytesRoundedUp(need + (long long)size), ENG_IMAGE_MAX_DECODE_BYTES >> 20);
        last_load_error = load_error_text;
        return nullptr;
    }
    decode_budget = EngMemoryBudget{0, size_t(limit), false};
    unsigned char* px = stbi_load_from_memory(data, int(size), &w, &h, &c, force);
    int n = force ? force : c;
    if (px && to_colour && n <= 2)
    {
        px = stbi__convert_format(px, n, n + 2, unsigned(w), unsigned(h));
        n += 2;
    }
    if (!px)
    {
        if (decode_budget.refused)
        {
            std::snprintf(load_error_text, sizeof(load_error_text), "Image needs more than %lld MB to decode",
                          ENG_IMAGE_MAX_DECODE_BYTES >> 20);
            last_load_error = load_error_text;
        }
        else
            last_load_error = Explain(kind, data, stbi_failure_reason());
        return nullptr;
    }
    if (w <= 0 || h <= 0 || n < 1 || n > 4)
    {
        last_load_error = "Invalid image size";
        std::free(px);
        return nullptr;
    }
    size_t count = size_t(w) * size_t(h);
    // The library stores a TGA's rows from the right as they come.
    if ((kind == IMAGE_TGA || kind == IMAGE_TGA_RLE) && (data[17] & 0x10))
        for (size_t y = 0; y < size_t(h); y++)
            for (size_t a = y * size_t(w), b = a + size_t(w) - 1; a < b; a++, b--)
                std::swap_ranges(px + a * size_t(n), px + (a + 1) * size_t(n), px + b * size_t(n));
    if (r.flags & SOIL_FLAG_MULTIPLY_ALPHA)
    {
        // Colour x alpha / 255 to the nearest, so an opaque pixel keeps its colour.
        auto times_alpha = [](unsigned c, unsigned a) { return (unsigned char)((c * a + 127) / 255); };
        if (n == 2)
            for (size_t i = 0; i < count; i++)
                px[i * 2] = times_alpha(px[i * 2], px[i * 2 + 1]);
        else if (n == 4)
            for (size_t i = 0; i < count; i++)
                for (int k = 0; k < 3; k++)
                    px[i * 4 + k] = times_alpha(px[i * 4 + k], px[i * 4 + 3]);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    if (channels)
        *channels = n;
    // The library allocates with malloc: the record frees the pixels with EngFree.
    return px;
}

const char* EngImageKindOfMemory(const unsigned char* data, size_t size)
{
    const char* other = nullptr;
    return data ? KindName(ImageKindOf(data, size, &other)) : nullptr;
}

unsigned char* EngImageDecodeMemory(const unsigned char* data, size_t size, int* width, int* height,
                                    int* channels, const char** why, char colour,
                                    long long (*beside)(int width, int height, int channels, void* user),
                                    void* user)
{
    const DecodeRequest r = {0, 0, colour != 0, beside, user};
    unsigned char* px = DecodeImage(data, size, r, width, height, channels);
    if (why)
        *why = px ? "" : last_load_error;
    return px;
}

// The whole file in memory, bounded; NULL with the reason kept for the caller.
static unsigned char* ReadImageFile(const char* file, size_t* size)
{
    unsigned char* data = file ? EngFileReadWholeFile(file, IMAGE_MAX_FILE_SIZE, size) : nullptr;
    if (!data)
        last_load_error = "Could not read the file";
    return data;
}

int EngTextureGL_GetTypeFromNumChannels(int channels)
{
    switch (channels)
    {
    case 3:
        return GL_RGB;
    case 4:
        return GL_RGBA;
    case 1:
    case 2:
        if (eng_main_device && eng_main_device->AreLuminanceOnlyTexturesSupported_GL())
            return channels == 1 ? GL_LUMINANCE : GL_LUMINANCE_ALPHA;
        break;
    default:
        break;
    }
    DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num channels %d", channels);
    return -1;
}

unsigned char* SOIL_load_OGL_texture_to_memory(const char* file, int force_channels, unsigned int flags,
                                               int* width, int* height, int* channels)
{
    size_t size = 0;
    unsigned char* data = ReadImageFile(file, &size);
    if (!data)
        return nullptr;
    const DecodeRequest r = {force_channels, flags, false, nullptr, nullptr};
    unsigned char* px = DecodeImage(data, size, r, width, height, channels);
    std::free(data);
    return px;
}

unsigned char* EngTextureGL_JpegLoadTextureToData(const char* file, int force_channels, char alpha_type,
                                                  int* width, int* height, int* channels)
{
    if (!file)
        return nullptr;
    if (force_channels != 0 && force_channels != 1 && force_channels != 3 && force_channels != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Force channels %d not supported <%s>", force_channels, file);
        return nullptr;
    }
    unsigned int w = 0, h = 0, comps = 0;
    last_load_error = "Corrupt JPEG data";
    if (!EngJpegGetFileInfo(file, &w, &h, &comps))
        return nullptr;
    if (w == 0 || h == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid JPEG size [%d,%d] in <%s>", int(w), int(h), file);
        return nullptr;
    }
    // CMYK and YCCK files decode to RGB.
    int have = comps == 4 ? 3 : int(comps);
    int want = force_channels == 0 ? have : force_channels;
    unsigned char* px = nullptr;
    if (have == want)
    {
        px = EngJpegReadFileToBuffer(file, &w, &h);
        if (!px)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read picture <%s>", file);
    }
    else if (have == 3 && want == 4)
    {
        px = EngJpegReadFileToBufferWithAlpha(file, alpha_type, &w, &h);
        if (!px)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read picture [fc: %d] <%s>", 4, file);
    }
    else
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Converting channels not supported for [ %d to %d ] <%s>",
                      int(comps), want, file);
        last_load_error = "Converting channels not supported";
        return nullptr;
    }
    if (!px)
    {
        last_load_error = EngJpegGetFailureReason()[0] ? EngJpegGetFailureReason() : "Corrupt JPEG data";
        return nullptr;
    }
    if (width)
        *width = int(w);
    if (height)
        *height = int(h);
    if (channels)
        *channels = want;
    // The JPEG reader allocates with malloc: the record frees the pixels with EngFree.
    return px;
}

// JPEG files go to the JPEG reader, which streams them; a file that cannot be
// opened counts as not JPEG.
static bool IsJpegFile(const char* file)
{
    FILE* f = EngFileOpenRegularStream(file, "rb", 0, nullptr);
    if (!f)
        return false;
    unsigned char magic[3] = {0, 0, 0};
    size_t n = std::fread(magic, 1, 3, f);
    std::fclose(f);
    return EngJpegIsJpegData(magic, n);
}

void EngTextureGetClosestPowerOf2_GL(int width, int height, int* tw, int* th)
{
    if (!eng_main_device_gl)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "GL not setup");
        if (tw)
            *tw = 256;
        if (th)
            *th = 256;
        return;
    }
    int limit = eng_main_device_gl->GetTextureSizeLimit();
    auto nearest = [limit](int n)
    {
        if (n > limit)
            return limit;
        if (n <= 1)
            return 1;
        return 1 << int(std::floor(std::log2(double(n)) + 0.5));
    };
    if (tw)
        *tw = nearest(width);
    if (th)
        *th = nearest(height);
}

void EngTextureGL::ReplaceMemoryImage(unsigned char* pixels, int w, int h)
{
    if (mem_pixels)
        EngFree(mem_pixels, 0, "texture memory");
    mem_pixels = pixels;
    mem_width = w;
    mem_height = h;
}

void EngTextureGL::AdoptMemoryImage(unsigned char* pixels, int w, int h, int channels_in_memory)
{
    mem_pixels = pixels;
    mem_width = mem_file_width = w;
    mem_height = mem_file_height = h;
    mem_channels = channels_in_memory;
    in_memory = 1;
    pad_pow2 = 0;
}

char EngTextureGL::LoadFromFileToMemory(const char* file, char keep_alpha, char alpha_type, char scale_to_fit)
{
    if (in_memory)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory already setup - continuing...");
        FreeTextureInMemory();
    }
    if (!owner || !file)
        return 0;
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", file);
        return 0;
    }
    char lum = eng_main_device && eng_main_device->AreLuminanceOnlyTexturesSupported_GL();
    int requested = lum ? 0 : 3;
    if (keep_alpha)
        requested = 4;
    int w = 0, h = 0, c = 0;
    unsigned char* px;
    bool custom_alpha = false;
    if (!IsJpegFile(file))
    {
        px = SOIL_load_OGL_texture_to_memory(file, requested, SOIL_FLAG_MULTIPLY_ALPHA, &w, &h, &c);
        custom_alpha = keep_alpha && alpha_type != 2 && alpha_type != 9;
    }
    else
        px = EngTextureGL_JpegLoadTextureToData(file, requested, alpha_type, &w, &h, &c);
    if (!px)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Load failed <%s>", last_load_error);
        return 0;
    }
    if (lum && c != 1 && c != 3 && c != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unsupported num channels <%d>. Loading again...", c);
        EngFree(px, 0, "texture memory");
        px = SOIL_load_OGL_texture_to_memory(file, keep_alpha ? 4 : 3, SOIL_FLAG_MULTIPLY_ALPHA, &w, &h, &c);
        if (!px)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Second load failed <%s>", last_load_error);
            return 0;
        }
    }
    bool ok_count = lum ? (c >= 1 && c <= 4) : (c == 3 || c == 4);
    if (keep_alpha)
        ok_count = c == 4 || (lum && c == 2);
    if (!ok_count)
    {
        EngFree(px, 0, "texture memory");
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid num channels <%d> returned.", c);
        return 0;
    }
    if (custom_alpha)
    {
        if (c != 4)
        {
            EngFree(px, 0, "texture memory");
            DebugErrorAlt(__PRETTY_FUNCTION__, "Custom alpha [%d] with num channels [%d] not supported (yet)",
                          alpha_type, c);
            return 0;
        }
        for (size_t i = 0; i < size_t(w) * h; i++)
        {
            unsigned char* p = px + i * 4;
            p[3] = alpha_type == 0   ? 255
                   : alpha_type == 1 ? 0
                                     : EngTexture_GetPixelAlphaFromBrightness(alpha_type, p[0], p[1], p[2]);
        }
    }
    AdoptMemoryImage(px, w, h, c);
    if (eng_main_device_gl && eng_main_device_gl->IsPowerOfTwoNeeded())
    {
        int limit = eng_main_device_gl->GetTextureSizeLimit();
        if (!scale_to_fit && w <= limit && h <= limit)
            pad_pow2 = 1;
        else if (!UpscaleImageDataInMemoryToNearestPowerOfTwo(0))
        {
            FreeTextureInMemory();
            return 0;
        }
    }
    return 1;
}

char EngTextureGL::LoadFromTextureInMemory(_TexCoords* out)
{
    if (!in_memory || !mem_pixels)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture in memory");
        return 0;
    }
    if (!out && pad_pow2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Image was not converted to power of two");
        return 0;
    }
    if (gl_name_valid)
    {
        DebugInfo("EngTextureGL::LoadFromTextureInMemory - Texture already created. Continuing...");
        ImageRelease();
    }
    int format = EngTextureGL_GetTypeFromNumChannels(mem_channels);
    if (format < 0)
        return 0;
    int tw = pad_pow2 ? int(EngMathGetClosestPowerOf2Max(unsigned(mem_width))) : mem_width;
    int th = pad_pow2 ? int(EngMathGetClosestPowerOf2Max(unsigned(mem_height))) : mem_height;
    // A texture GL cannot hold would be marked created and draw nothing.
    int max_size = eng_main_device_gl ? eng_main_device_gl->GetGLMaxTextureSize() : 0;
    if (tw <= 0 || th <= 0 || (max_size > 0 && (tw > max_size || th > max_size)))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture too large [%d x %d] (maximum %d)", tw, th, max_size);
        return 0;
    }
    // Without a current context GL makes no texture and reports nothing.
    if (!eng_gl_3d_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No GL context: texture not created");
        return 0;
    }
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Existing Error Before Function Call");
    GLuint name = 0;
    glGenTextures(1, &name);
    if (!name)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "glGenTextures() gave no name (no GL context?)");
        return 0;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, 9729.0f);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, 9729.0f);
    bool ok = true;
    if (pad_pow2)
    {
        size_t bytes = size_t(tw) * th * size_t(mem_channels);
        unsigned char* buffer = static_cast<unsigned char*>(EngMalloc(bytes, "texture pad", 0));
        if (!buffer)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
            ok = false;
        }
        else
        {
            std::memset(buffer, 255, bytes);
            glTexImage2D(GL_TEXTURE_2D, 0, format, tw, th, 0, GLenum(format), GL_UNSIGNED_BYTE, buffer);
            EngFree(buffer, 0, "texture pad");
            ok = EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "glTexImage2D() error");
            if (ok)
            {
                glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, mem_width, mem_height, GLenum(format),
                                GL_UNSIGNED_BYTE, mem_pixels);
                ok = EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "glTexSubImage2D() error");
            }
            *out = {0, 0, float(mem_width) / tw, float(mem_height) / th};
        }
    }
    else
    {
        glTexImage2D(GL_TEXTURE_2D, 0, format, tw, th, 0, GLenum(format), GL_UNSIGNED_BYTE, mem_pixels);
        ok = EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "glTexImage2D() error");
        if (out)
            *out = {0, 0, 1, 1};
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (!ok)
    {
        glDeleteTextures(1, &name);
        return 0;
    }
    gl_name = name;
    gl_name_valid = 1;
    gl_generation = eng_gl_context_generation;
    gl_width = tw;
    gl_height = th;
    gl_image_width = mem_file_width;
    gl_image_height = mem_file_height;
    gl_channels = mem_channels;
    FreeTextureInMemory();
    created = 1;
    UpdateFullTextureCoordinates();
    return 1;
}

char EngTextureGL::LoadFromFileThroughMemory(const char* func, const char* file, char keep_alpha,
                                             char alpha_type, char shrink)
{
    if (created)
    {
        DebugErrorAlt(func, "Texture already created [filename:%s]", file ? file : "");
        return 0;
    }
    if (!LoadFromFileToMemory(file, keep_alpha, alpha_type, 1))
        return 0;
    if ((shrink && !ShrinkDataInMemoryToHalfSize()) || !LoadFromTextureInMemory(nullptr))
    {
        Destroy();
        return 0;
    }
    return 1;
}

char EngTextureGL::LoadFromFile(const char* file, char keep_alpha, char alpha_type)
{
    return LoadFromFileThroughMemory(__PRETTY_FUNCTION__, file, keep_alpha, alpha_type, 0);
}

char EngTextureGL::LoadFromFileAndShrinkToHalfSize(const char* file, char keep_alpha, char alpha_type)
{
    return LoadFromFileThroughMemory(__PRETTY_FUNCTION__, file, keep_alpha, alpha_type, 1);
}

char EngTextureGL::ShrinkDataInMemoryToHalfSize()
{
    if (!in_memory || !mem_pixels)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture in memory");
        return 0;
    }
    int c = mem_channels;
    if (c != 3 && c != 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported for %d channels.", c);
        return 0;
    }
    int nw = mem_width / 2, nh = mem_height / 2;
    if (nw <= 0 || nh <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return 0;
    }
    unsigned char* out = static_cast<unsigned char*>(EngMalloc(size_t(nw) * nh * c, "texture memory", 0));
    if (!out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    size_t pitch = size_t(mem_width) * c;
    for (int y = 0; y < nh; y++)
        for (int x = 0; x < nw; x++)
            for (int k = 0; k < c; k++)
            {
                const unsigned char* p = mem_pixels + size_t(2 * y) * pitch + size_t(2 * x) * c + k;
                int top = (p[0] + p[c]) >> 1, bot = (p[pitch] + p[pitch + c]) >> 1;
                out[(size_t(y) * nw + x) * c + k] = (unsigned char)((top + bot) >> 1);
            }
    ReplaceMemoryImage(out, nw, nh);
    return 1;
}

char EngTextureGL::UpscaleImageDataInMemoryToNearestPowerOfTwoFast(_TexCoords* out)
{
    if (!in_memory || !mem_pixels)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture in memory");
        return 0;
    }
    if (!out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameter error");
        return 0;
    }
    int nw = int(EngMathGetClosestPowerOf2Max(unsigned(mem_width)));
    int nh = int(EngMathGetClosestPowerOf2Max(unsigned(mem_height)));
    if (!pad_pow2 || (nw == mem_width && nh == mem_height))
    {
        *out = {0, 0, 1, 1};
        return 1;
    }
    if (nw <= 0 || nh <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return 0;
    }
    int c = mem_channels;
    // The padding is zeroed, never left as allocated.
    unsigned char* buf = static_cast<unsigned char*>(EngMalloc(size_t(nw) * nh * c, "texture memory", 1));
    if (!buf)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    for (int y = 0; y < mem_height; y++)
        std::memcpy(buf + size_t(y) * nw * c, mem_pixels + size_t(y) * mem_width * c, size_t(mem_width) * c);
    *out = {0, 0, float(mem_width) / nw, float(mem_height) / nh};
    ReplaceMemoryImage(buf, nw, nh);
    pad_pow2 = 0;
    return 1;
}

char EngTextureGL::UpscaleImageDataInMemoryToNearestPowerOfTwo(char flip)
{
    if (!mem_pixels || mem_width <= 0 || mem_height <= 0 || mem_channels <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data in memory not setup");
        return 0;
    }
    int tw, th;
    EngTextureGetClosestPowerOf2_GL(mem_width, mem_height, &tw, &th);
    if (tw == mem_width && th == mem_height)
        return flip ? InvertImageDataInMemory() : 1;
    unsigned c = unsigned(mem_channels);
    unsigned char* buf = static_cast<unsigned char*>(EngMalloc(size_t(tw) * th * c, "texture memory", 0));
    if (!buf)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    C2PassScale<CBilinearFilter> scaler;
    scaler.Scale(mem_pixels, c, unsigned(mem_width), unsigned(mem_width) * c, unsigned(mem_height), buf,
                 unsigned(tw), unsigned(tw) * c, unsigned(th), flip);
    ReplaceMemoryImage(buf, tw, th);
    pad_pow2 = 0;
    return 1;
}

char EngTextureGL::InvertImageDataInMemory()
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Still being called");
    if (!mem_pixels || mem_width <= 0 || mem_height <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data in memory not setup");
        return 0;
    }
    size_t pitch = size_t(mem_width) * mem_channels;
    unsigned char* buf = static_cast<unsigned char*>(EngMalloc(pitch * mem_height, "texture memory", 0));
    if (!buf)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    for (int y = 0; y < mem_height; y++)
        std::memcpy(buf + size_t(y) * pitch, mem_pixels + size_t(mem_height - 1 - y) * pitch, pitch);
    ReplaceMemoryImage(buf, mem_width, mem_height);
    return 1;
}

char EngTextureGL::LoadEmptyTextureToMemory(int* w, int* h, char alpha)
{
    if (in_memory)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Memory already setup - continuing...");
        FreeTextureInMemory();
    }
    if (!w || !h || *w <= 0 || *h <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters.");
        return 0;
    }
    if (!owner)
        return 0;
    int tw = int(EngMathGetClosestPowerOf2Max(unsigned(*w))),
        th = int(EngMathGetClosestPowerOf2Max(unsigned(*h)));
    *w = tw;
    *h = th;
    int c = alpha ? 4 : 3;
    unsigned char* buf = static_cast<unsigned char*>(EngMalloc(size_t(tw) * th * c, "texture memory", 1));
    if (!buf)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    AdoptMemoryImage(buf, tw, th, c);
    return 1;
}

char EngTextureGL::CreateEmptyTexture(int* w, int* h, char alpha)
{
    if (created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture already created");
        return 0;
    }
    if (!LoadEmptyTextureToMemory(w, h, alpha))
        return 0;
    if (!LoadFromTextureInMemory(nullptr))
    {
        FreeTextureInMemory();
        return 0;
    }
    return 1;
}

char EngTextureGL::GetTexInMemoryInfo(int* w, int* h, int* fw, int* fh, int* ch)
{
    if (!in_memory)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture in memory");
        return 0;
    }
    if (w)
        *w = mem_width;
    if (h)
        *h = mem_height;
    if (fw)
        *fw = mem_file_width;
    if (fh)
        *fh = mem_file_height;
    if (ch)
        *ch = mem_channels;
    return 1;
}

char EngTextureGL::CreateFromScreen(_TexCoords* out)
{
    Destroy();
    int W = eng_main_window_width, H = eng_main_window_height;
    if (W <= 0 || H <= 0)
        return 0;
    int tw = W, th = H;
    if (!CreateEmptyTexture(&tw, &th, 1))
        return 0;
    if (tw < W || th < H)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        Destroy();
        return 0;
    }
    // GL gives the bottom row first: only the window is read, then its rows
    // go into the texture top row first. The rest of the texture stays clear.
    size_t pitch = size_t(W) * 4;
    unsigned char* rows = static_cast<unsigned char*>(EngMalloc(pitch * size_t(H), "screen capture", 0));
    unsigned char* data = rows ? AllocEmptyTextureImageData(1) : nullptr;
    if (!data)
    {
        if (!rows)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        EngFree(rows, 0, "screen capture");
        Destroy();
        return 0;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, rows);
    for (int r = 0; r < H; r++)
        std::memcpy(data + size_t(r) * tw * 4, rows + size_t(H - 1 - r) * pitch, pitch);
    EngFree(rows, 0, "screen capture");
    char ok = UpdateTextureFromAllocatedImageData();
    FreeAllocatedTextureImageData();
    if (!ok)
    {
        Destroy();
        return 0;
    }
    tcs = {0, 0, float(W) / tw, float(H) / th};
    full_tcs = 0;
    if (out)
        *out = tcs;
    return 1;
}

char EngTextureGL::CopyFromTexture(EngTexture* from)
{
    DebugInfo("EngTextureGL::CopyFromTexture");
    EngTextureGL* src = from ? from->GetGL() : nullptr;
    if (src)
        src->ForgetNameOfFormerContext();
    if (!src || !src->created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "From texture not ok");
        return 0;
    }
    // The source is read first, so that a texture can be copied onto itself.
    int w = src->tex_width, h = src->tex_height, c = src->channels;
    int file_w = src->image_width, file_h = src->image_height;
    unsigned char* s = src->AllocAndGetTextureImageData();
    size_t bytes = src->GetAllocatedTextureImageDataSize();
    unsigned char* pixels = s ? static_cast<unsigned char*>(EngMalloc(bytes, "texture memory", 0)) : nullptr;
    if (pixels)
        std::memcpy(pixels, s, bytes);
    else if (s)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
    src->FreeAllocatedTextureImageData();
    Destroy();
    if (!pixels)
        return 0;
    AdoptMemoryImage(pixels, w, h, c);
    mem_file_width = file_w;
    mem_file_height = file_h;
    if (!LoadFromTextureInMemory(nullptr))
    {
        Destroy();
        return 0;
    }
    return 1;
}
