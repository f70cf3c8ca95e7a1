// What reading an image file costs in main memory: small files whose headers
// ask for huge images, and big images that must still load.
#include <gtest/gtest.h>

#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngJpeg.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngTga.h"
#include "GL/EngDeviceGL.h"
#include "GL/PngChunks.h"
#include "Linux/EngGui_LNX.h"
#include "support/JpegClaiming.h"
#include "support/PictureFiles.h"
#include "support/TestSupport.h"

// Every byte the heap hands out while counting is on; the peak is the most
// held at once above what was held when counting began.
namespace
{
std::atomic<bool> counting{false};
std::atomic<long long> live{0}, peak{0};

void Took(long long n)
{
    if (!counting)
        return;
    long long v = live += n;
    long long p = peak;
    while (v > p && !peak.compare_exchange_weak(p, v))
    {
    }
}

void Gave(long long n)
{
    if (counting)
        live -= n;
}
} // namespace

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer owns the heap and reports to hooks.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);

namespace
{
void OnMalloc(const volatile void*, size_t n)
{
    Took((long long)n);
}
void OnFree(const volatile void* p)
{
    Gave((long long)__sanitizer_get_allocated_size(p));
}
bool StartCounting()
{
    static bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    return installed;
}
} // namespace
#else
// The C library's heap, counted on its way in and out of this program.
extern "C"
{
    void* __libc_malloc(size_t);
    void* __libc_calloc(size_t, size_t);
    void* __libc_realloc(void*, size_t);
    void* __libc_memalign(size_t, size_t);
    void __libc_free(void*);

    void* malloc(size_t n) noexcept
    {
        void* p = __libc_malloc(n);
        if (p)
            Took((long long)malloc_usable_size(p));
        return p;
    }
    void* calloc(size_t n, size_t size) noexcept
    {
        void* p = __libc_calloc(n, size);
        if (p)
            Took((long long)malloc_usable_size(p));
        return p;
    }
    void* realloc(void* old, size_t n) noexcept
    {
        long long before = old ? (long long)malloc_usable_size(old) : 0;
        void* p = __libc_realloc(old, n);
        if (p)
        {
            Took((long long)malloc_usable_size(p));
            Gave(before);
        }
        return p;
    }
    void* memalign(size_t align, size_t n) noexcept
    {
        void* p = __libc_memalign(align, n);
        if (p)
            Took((long long)malloc_usable_size(p));
        return p;
    }
    void* aligned_alloc(size_t align, size_t n) noexcept
    {
        return memalign(align, n);
    }
    int posix_memalign(void** out, size_t align, size_t n) noexcept
    {
        *out = memalign(align, n);
        return *out ? 0 : 12; // ENOMEM
    }
    void free(void* p) noexcept
    {
        if (p)
            Gave((long long)malloc_usable_size(p));
        __libc_free(p);
    }
}

namespace
{
bool StartCounting()
{
    return true;
}
} // namespace
#endif

namespace
{

// The most heap f held at once, in bytes.
template <class F> long long PeakHeapDuring(F f)
{
    EXPECT_TRUE(StartCounting());
    live = 0;
    peak = 0;
    counting = true;
    f();
    counting = false;
    return peak;
}

// A zlib stream of n zero bytes: one literal zero, then copies of 258 bytes
// from one byte back (fixed Huffman codes), the rest as literals.
std::string ZlibOfZeros(uint64_t n)
{
    std::string out("\x78\x01", 2);
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t v, int len) // v's lowest len bits, first bit first
    {
        bits |= v << count;
        count += len;
        while (count >= 8)
        {
            out += char(bits & 255);
            bits >>= 8;
            count -= 8;
        }
    };
    // A Huffman code goes out from its highest bit.
    auto code = [&](uint32_t v, int len)
    {
        uint32_t r = 0;
        for (int i = 0; i < len; i++)
            r |= ((v >> i) & 1) << (len - 1 - i);
        put(r, len);
    };
    put(1, 1); // the last block
    put(1, 2); // fixed codes
    uint64_t left = n;
    if (left > 0)
        code(0x30, 8), left--; // literal 0
    for (; left >= 258; left -= 258)
    {
        code(0xC5, 8); // length 258 (code 285)
        code(0, 5);    // distance 1
    }
    for (; left > 0; left--)
        code(0x30, 8);
    code(0, 7); // end of block
    if (count)
        put(0, 8 - count);
    uint32_t adler = uint32_t((n % 65521) << 16 | 1);
    return out + vztest::Be32(adler);
}

// A PNG whose every pixel is 0; its data inflates to `inflated` bytes when
// that is given, else to what its rows need.
std::string PngOfZeros(uint32_t w, uint32_t h, int depth, int colour_type, uint64_t inflated = 0)
{
    int channels = colour_type == 2 ? 3 : colour_type == 4 ? 2 : colour_type == 6 ? 4 : 1;
    uint64_t row = (uint64_t(w) * depth * channels + 7) / 8 + 1;
    uint64_t data = inflated ? inflated : row * h;
    std::string ihdr =
        vztest::Be32(w) + vztest::Be32(h) + char(depth) + char(colour_type) + std::string(3, '\0');
    std::string plte = colour_type == 3 ? vztest::PngChunk("PLTE", std::string(6, '\0')) : std::string();
    return std::string("\x89PNG\r\n\x1a\n", 8) + vztest::PngChunk("IHDR", ihdr) + plte +
           vztest::PngChunk("IDAT", ZlibOfZeros(data)) + vztest::PngChunk("IEND", "");
}

// A GIF of w x h pixels in which one pixel is drawn, padded with a comment
// to at least min_size bytes.
std::string GifOfOnePixel(int w, int h, size_t min_size)
{
    auto le16 = [](int v) { return std::string{char(v & 255), char(v >> 8)}; };
    std::string g =
        "GIF89a" + le16(w) + le16(h) + std::string("\x80\0\0", 3) + std::string("\0\0\0\xff\xff\xff", 6);
    while (g.size() < min_size)
        g += std::string("\x21\xfe\xff", 3) + std::string(255, 'c') + std::string(1, '\0');
    // One 1 x 1 frame: clear, index 0, end, with codes of three bits.
    g += std::string("\x2c\0\0\0\0\x01\0\x01\0\0", 10) + std::string("\x02\x02\x44\x01\0", 5) + ";";
    return g;
}

// The 18-byte header of an uncompressed true-colour TGA.
std::string TgaHeader(int w, int h, int bits)
{
    return std::string("\0\0\2\0\0\0\0\0\0\0\0\0", 12) +
           std::string{char(w & 255), char(w >> 8), char(h & 255), char(h >> 8), char(bits), 0};
}

// A PNG of 16 x 16 pixels made at least min_size bytes long by a comment.
std::string PngWithComment(size_t min_size)
{
    const std::string png = PngOfZeros(16, 16, 8, 2);
    const std::string text = "Comment" + std::string(1, '\0') + std::string(min_size, 'c');
    return png.substr(0, 33) + vztest::PngChunk("tEXt", text) + png.substr(33);
}

// A BMP of one bit a pixel, black and white, all black.
std::string BmpOfOneBit(uint32_t w, uint32_t h)
{
    auto le = [](uint32_t v, int bytes)
    {
        std::string s;
        for (int i = 0; i < bytes; i++)
            s += char(v >> (8 * i));
        return s;
    };
    const uint32_t row = (w + 31) / 32 * 4;
    return "BM" + le(62 + row * h, 4) + le(0, 4) + le(62, 4) + le(40, 4) + le(w, 4) + le(h, 4) + le(1, 2) +
           le(1, 2) + le(0, 4) + le(row * h, 4) + std::string(16, '\0') + le(0, 4) + le(0xFFFFFF, 4) +
           std::string(size_t(row) * h, '\0');
}

// A Mac icon file holding one PNG image.
std::string IcnsOf(const std::string& png)
{
    std::string icns = "icns" + std::string(4, '\0') + "ic08" + std::string(4, '\0') + png;
    for (int k = 0; k < 4; k++)
        icns[size_t(7 - k)] = char(icns.size() >> (8 * k)), icns[size_t(15 - k)] = char((icns.size() - 8) >> (8 * k));
    return icns;
}

// An RGB TIFF of w x h black pixels, a strip of PackBits runs a row.
std::string TiffOfZeros(uint32_t w, uint32_t h)
{
    std::string row;
    for (uint32_t left = w * 3; left > 0; left -= std::min(left, 128u))
        row += {char(1 - int(std::min(left, 128u))), '\0'};
    vztest::TiffPage page = {row, w, h, COMPRESSION_PACKBITS};
    page.rows_per_strip = 1;
    page.pieces = h;
    page.copies = true;
    return vztest::Tiff({page});
}

// A TIFF of one grey pixel whose directory holds a tag of `bytes` bytes.
std::string TiffNamingValue(size_t bytes)
{
    vztest::TiffPage page = {std::string(1, '\0'), 1, 1, COMPRESSION_NONE, 3, 1};
    page.extra_tag = 50000;
    page.extra = std::string(bytes, 'v');
    return vztest::Tiff({page});
}

// The most one image file may cost, loaded or refused.
const long long MAX_COST = 300LL * 1000 * 1000;
// What a refusal from the header may cost beyond the file's bytes: nothing
// the size of the image is made.
const long long HEADER_COST = 1LL << 20;

TEST(ImageMemory, NoImageFileCostsMoreThanItsBound)
{
    DebugResetForTests();
    vztest::TempDir dir;
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_device_gl = new EngDeviceGL(nullptr);
    eng_main_device_gl->power_of_two_needed = 0; // as on a working device
    enum Reader
    {
        TEXTURE,
        PICTURE,        // a picture of the native dialogs
        PICTURE_SCALED, // the same, scaled to fit 8000 x 8000
        TGA             // the engine's own 32-bit images
    };
    enum Refusal
    {
        LOADS,
        HEADER,  // from what the header asks for, before decoding
        RUNNING, // by the running total of the decoder's memory
    };
    const char* running = "Load failed <Image needs more than 256 MB to decode>";
    struct
    {
        const char* name;
        std::string data;
        Reader reader;
        Refusal refused;
        const char* reason = nullptr;
        long long length = 0; // the file's length when its end is left unwritten (zeros)
    } const cases[] = {
        {"grey PNG of 8192 x 8192, one bit a pixel", PngOfZeros(8192, 8192, 1, 0), TEXTURE, HEADER,
         "Load failed <Image [8192 x 8192] needs"},
        {"RGBA PNG of 8192 x 8192, 16 bits a channel", PngOfZeros(8192, 8192, 16, 6), TEXTURE, HEADER,
         "Load failed <Image [8192 x 8192] needs"},
        {"palette PNG of 8192 x 8192", PngOfZeros(8192, 8192, 8, 3), TEXTURE, HEADER,
         "Load failed <Image [8192 x 8192] needs"},
        {"PNG of one pixel whose data inflates to 300 MB", PngOfZeros(1, 1, 8, 0, 300u << 20), TEXTURE, RUNNING,
         running},
        // Its data inflates into a store the size of its rows, 120 MB, and
        // goes on to 200 MB: the store doubled to 240 MB while the first one
        // is still held passes the bound.
        {"RGBA PNG of 8192 x 3840 whose data inflates to 200 MB", PngOfZeros(8192, 3840, 8, 6, 200u << 20),
         TEXTURE, RUNNING, running},
        {"GIF of 8192 x 8192 with one pixel drawn", GifOfOnePixel(8192, 8192, 25000), TEXTURE, HEADER,
         "Load failed <Image [8192 x 8192] needs"},
        {"progressive JPEG of 8192 x 8192",
         vztest::JpegClaiming(8192, 8192, vztest::JpegCoding::Progressive, 40000), TEXTURE, HEADER,
         "Load failed <Image [8192 x 8192] needs"},
        // 150 MB of pixels and, for a progressive file, 113 MB of coefficients.
        {"progressive JPEG of 8192 x 4800",
         vztest::JpegClaiming(8192, 4800, vztest::JpegCoding::Progressive, 40000), TEXTURE, HEADER,
         "Load failed <Image [8192 x 4800] needs"},
        {"RGB JPEG of 8192 x 4800", vztest::JpegClaiming(8192, 4800, vztest::JpegCoding::Baseline, 40000),
         TEXTURE, LOADS},
        {"grey PNG of 12000 x 12000 as a dialog picture", PngOfZeros(12000, 12000, 1, 0), PICTURE, HEADER,
         ">: Image too large"},
        {"TGA of 16384 x 16384", TgaHeader(16384, 16384, 32), TGA, HEADER, "Image [16384 x 16384] needs",
         18 + 16384LL * 16384 * 4},
        // Three bytes a pixel in the file, four in memory: 2^26 + 1 pixels.
        {"24-bit TGA of 41605 x 1613", TgaHeader(41605, 1613, 24), TGA, HEADER, "Image [41605 x 1613] needs",
         18 + 41605LL * 1613 * 3},
        {"TGA of 2048 x 2048", TgaHeader(2048, 2048, 32), TGA, LOADS, nullptr, 18 + 2048LL * 2048 * 4},
        {"RGBA PNG of 2048 x 2048", PngOfZeros(2048, 2048, 8, 6), TEXTURE, LOADS},
        {"RGB JPEG of 8192 x 4096", vztest::JpegClaiming(8192, 4096, vztest::JpegCoding::Baseline, 40000),
         TEXTURE, LOADS},
        {"RGBA PNG of 1024 x 1024 as a dialog picture", PngOfZeros(1024, 1024, 8, 6), PICTURE, LOADS},
        // Headers whose sizes the image library's own loaders would take
        // before they read on, and an inner picture its loader decodes
        // without asking.
        {"BMP of a header of 3 GB as a dialog picture",
         std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14) + std::string(113, '\xB5'), PICTURE, HEADER,
         "Could not read the BMP picture <"},
        {"icon whose image claims 2 GB as a dialog picture",
         std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\0\0\0\x60\0\0\0\x20", 22), PICTURE, HEADER,
         "Picture format not supported <"},
        {"Mac icon of a PNG of 30000 x 30000 as a dialog picture", IcnsOf(PngOfZeros(30000, 30000, 8, 6)), PICTURE,
         HEADER, "Picture format not supported <"},
        // The pixels, the file (3 MB) and a strip's offset, count and pixels
        // of each row, a third of a megabyte over the bound; a few rows
        // fewer, as far under it.
        {"TIFF of 8192 x 8100 as a dialog picture", TiffOfZeros(8192, 8100), PICTURE, HEADER,
         "Picture [8192 x 8100] needs 257 MB, more than 256 MB <"},
        {"TIFF of 8192 x 8080 as a dialog picture", TiffOfZeros(8192, 8080), PICTURE, LOADS},
        // libtiff holds a tag's value twice as it enters it, beside the file.
        {"TIFF of one pixel and a tag of 100 MB as a dialog picture", TiffNamingValue(100u << 20), PICTURE,
         RUNNING, "Could not read the TIFF picture <"},
        // 192 MB of pixels and as many again scaled: the pixels alone fit.
        {"BMP of 8192 x 8192 scaled as a dialog picture", BmpOfOneBit(8192, 8192), PICTURE_SCALED, HEADER,
         ">: Image [8192 x 8192] needs"},
        // The file's bytes are the most it costs here, as for a texture.
        {"PNG of 70 MB as a dialog picture", PngWithComment(70u << 20), PICTURE, LOADS},
        {"PNG file of 257 MB as a dialog picture", PngOfZeros(16, 16, 8, 2), PICTURE, HEADER,
         "is larger than 256 MB", 257LL << 20},
        // JPEG pictures go through the engine's reader, bounded as textures are.
        {"progressive JPEG of 8192 x 8192 as a dialog picture",
         vztest::JpegClaiming(8192, 8192, vztest::JpegCoding::Progressive, 40000), PICTURE, HEADER,
         "Image [8192 x 8192] needs"},
        // 113 MB of pixels, three bytes each, and as many of coefficients.
        {"progressive JPEG of 8192 x 4800 as a dialog picture",
         vztest::JpegClaiming(8192, 4800, vztest::JpegCoding::Progressive, 40000), PICTURE, LOADS},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.data.empty());
        const std::string path = dir.File("image");
        vztest::WriteFile(path, c.data);
        if (c.length)
        {
            ASSERT_EQ(truncate(path.c_str(), c.length), 0);
        }
        DebugClearLog();
        bool loaded = false;
        const int fit = c.reader == PICTURE_SCALED ? 8000 : -1;
        long long cost = PeakHeapDuring(
            [&]
            {
                if (c.reader == TEXTURE)
                {
                    EngTexture t;
                    loaded = t.LoadFromFileToMemory(path.c_str(), 1, 2, 1);
                }
                else if (c.reader == TGA)
                {
                    EngTga t;
                    loaded = t.LoadFromFile(path.c_str(), 1);
                }
                else if (GdkPixbuf* p = EngGuiCreateCGImageFromBundleResource(path.c_str(), fit, fit))
                {
                    loaded = true;
                    g_object_unref(p);
                }
            });
        EXPECT_LE(cost, c.refused == HEADER ? (long long)c.data.size() + HEADER_COST : MAX_COST)
            << c.data.size() << " bytes";
        EXPECT_EQ(loaded, c.refused == LOADS);
        if (c.reason)
        {
            EXPECT_TRUE(vztest::Logged(c.reason)) << vztest::LastLogLine();
        }
    }
    delete eng_main_device_gl;
    eng_main_device_gl = nullptr;
    eng_main_device_type = 0;
}

// A need just over the bound is told as more than the bound, never as the
// bound itself: every reader rounds the megabytes it needs up.
TEST(ImageMemory, NeedJustOverTheBoundReadsAsMoreThanIt)
{
    DebugResetForTests();
    vztest::TempDir dir;
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_device_gl = new EngDeviceGL(nullptr);
    eng_main_device_gl->power_of_two_needed = 0;
    const std::string path = dir.File("image");
    auto texture = [&] { EngTexture t; return t.LoadFromFileToMemory(path.c_str(), 1, 2, 1) != 0; };
    auto jpeg_reader = [&]
    {
        unsigned w = 0, h = 0;
        unsigned char* px = EngJpegReadFileToBufferWithAlpha(path.c_str(), 0, &w, &h);
        std::free(px);
        return px != nullptr;
    };
    auto picture = [&]
    {
        GdkPixbuf* p = EngGuiCreateCGImageFromBundleResource(path.c_str());
        if (p)
            g_object_unref(p);
        return p != nullptr;
    };
    auto tga = [&] { EngTga t; return t.LoadFromFile(path.c_str(), 1) != 0; };
    struct
    {
        const char* name;
        std::string data;
        std::function<bool()> read;
        const char* message;
        long long length = 0; // the file's length when its end is left unwritten (zeros)
    } const cases[] = {
        // Pixels with alpha, 8192 x 8113 x 4, the decoder's rows and its megabyte: 32 KB over.
        {"JPEG as a texture", vztest::JpegClaiming(8192, 8113, vztest::JpegCoding::Baseline, 40000), texture,
         "Load failed <Image [8192 x 8113] needs 257 MB to decode, more than 256 MB>"},
        {"JPEG through the reader", vztest::JpegClaiming(8192, 8113, vztest::JpegCoding::Baseline, 40000),
         jpeg_reader, "Image [8192 x 8113] needs 257 MB to decode, more than 256 MB <"},
        // The inflated rows (a filter byte over 128 MB) beside 128 MB of pixels, and the file.
        {"PNG as a texture", PngOfZeros(8192, 4096, 8, 6), texture,
         "Load failed <Image [8192 x 4096] needs 257 MB to decode, more than 256 MB>"},
        // As a texture: the dialog kit's pictures are the textures' own.
        {"PNG as a dialog picture", PngOfZeros(8192, 4096, 8, 6), picture,
         ">: Image [8192 x 4096] needs 257 MB to decode, more than 256 MB"},
        // Its grey made RGB (three bytes a pixel, 192 MB) beside the grey, and the file.
        {"grey PNG as a dialog picture", PngOfZeros(8192, 8192, 8, 0), picture,
         ">: Image [8192 x 8192] needs 257 MB to decode, more than 256 MB"},
        // 2^26 + 1 pixels: four bytes over the bound at four bytes a pixel.
        {"32-bit TGA", TgaHeader(41605, 1613, 32), tga, "Image [41605 x 1613] needs 257 MB, more than 256 MB <",
         18 + 41605LL * 1613 * 4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.data.empty());
        vztest::WriteFile(path, c.data);
        if (c.length)
        {
            ASSERT_EQ(truncate(path.c_str(), c.length), 0);
        }
        DebugClearLog();
        EXPECT_FALSE(c.read());
        EXPECT_TRUE(vztest::Logged(c.message)) << vztest::LastLogLine();
    }
    delete eng_main_device_gl;
    eng_main_device_gl = nullptr;
    eng_main_device_type = 0;
}

} // namespace
