// JPEG files: round trip, resolution, corrupt input and write failures never
// end the process.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngJpeg.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngTga.h"
#include "GL/EngDeviceGL.h"
#include "GL/EngTextureGL.h"
#include "Linux/EngGui_LNX.h"
#include "support/JpegScans.h"
#include "support/TestSupport.h"

using vztest::TempDir;

namespace
{

std::vector<unsigned char> Gradient(unsigned w, unsigned h)
{
    std::vector<unsigned char> px(w * h * 3);
    for (unsigned y = 0; y < h; y++)
        for (unsigned x = 0; x < w; x++)
        {
            unsigned char* p = &px[(y * w + x) * 3];
            p[0] = p[1] = p[2] = (unsigned char)((x + y) * 255 / (w + h - 2));
        }
    return px;
}

struct JpegTestError
{
    jpeg_error_mgr pub;
    jmp_buf jump;
};

// The density fields of a file, read with libjpeg directly.
void ReadDensity(const std::string& file, int* unit, int* xd, int* yd)
{
    FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    *unit = cinfo.density_unit, *xd = cinfo.X_density, *yd = cinfo.Y_density;
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
}

class Jpeg : public ::testing::Test
{
protected:
    void SetUp() override { DebugResetForTests(); }
    TempDir dir;
};

TEST_F(Jpeg, GradientRoundTripsAtQuality100WithResolution)
{
    const unsigned w = 256, h = 128;
    auto px = Gradient(w, h);
    std::string file = dir.File("g.jpg");
    ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 100, 300, w, h, px.data()));

    unsigned fw = 0, fh = 0, comps = 0;
    ASSERT_TRUE(EngJpegGetFileInfo(file.c_str(), &fw, &fh, &comps));
    EXPECT_EQ(fw, w);
    EXPECT_EQ(fh, h);
    EXPECT_EQ(comps, 3u);

    unsigned rw = 0, rh = 0;
    unsigned char* back = EngJpegReadFileToBuffer(file.c_str(), &rw, &rh);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(rw, w);
    ASSERT_EQ(rh, h);
    int worst = 0;
    for (size_t i = 0; i < px.size(); i++)
        worst = std::max(worst, std::abs(int(back[i]) - int(px[i])));
    EXPECT_LE(worst, 3);
    std::free(back);

    int unit, xd, yd;
    ReadDensity(file, &unit, &xd, &yd);
    EXPECT_EQ(unit, 1);
    EXPECT_EQ(xd, 300);
    EXPECT_EQ(yd, 300);

    // No resolution asked: the library's default (no unit).
    ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 90, 0, w, h, px.data()));
    ReadDensity(file, &unit, &xd, &yd);
    EXPECT_EQ(unit, 0);
}

TEST_F(Jpeg, ResolutionBeyondSixteenBitsIsClampedAndLogged)
{
    auto px = Gradient(8, 8);
    std::string file = dir.File("d.jpg");
    struct
    {
        int dpi, written;
        bool logged;
    } const cases[] = {
        {65535, 65535, false}, {65536, 65535, true}, {70000, 65535, true}, {INT32_MAX, 65535, true}};
    for (const auto& c : cases)
    {
        DebugResetForTests();
        ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 90, c.dpi, 8, 8, px.data()));
        int unit, xd, yd;
        ReadDensity(file, &unit, &xd, &yd);
        EXPECT_EQ(unit, 1) << c.dpi;
        EXPECT_EQ(xd, c.written) << c.dpi;
        EXPECT_EQ(yd, c.written) << c.dpi;
        EXPECT_EQ(vztest::Logged("written as 65535"), c.logged) << c.dpi;
    }
}

TEST_F(Jpeg, AlphaReaderFillsAlphaByType)
{
    std::vector<unsigned char> px;
    for (int i = 0; i < 64; i++)
        px.insert(px.end(), {10, 200, 200});
    std::string file = dir.File("a.jpg");
    ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 100, 0, 8, 8, px.data()));
    struct
    {
        char type;
        int a0_min, a0_max;
    } const cases[] = {{1, 0, 0}, {2, 255, 255}, {0, 255, 255}, {3, 195, 205}};
    for (const auto& c : cases)
    {
        unsigned w, h;
        unsigned char* rgba = EngJpegReadFileToBufferWithAlpha(file.c_str(), c.type, &w, &h);
        ASSERT_NE(rgba, nullptr);
        EXPECT_GE(rgba[3], c.a0_min) << int(c.type);
        EXPECT_LE(rgba[3], c.a0_max) << int(c.type);
        std::free(rgba);
    }
}

TEST_F(Jpeg, CorruptFilesFailWithALoggedErrorAndTheProcessGoesOn)
{
    const std::string cases[] = {
        std::string("\xFF\xD8", 2) + std::string(100, '\0'), // no image in the stream
        "hello, not a picture",                              // no start marker
        std::string("\xFF\xD8\xFF\xC0\x00\x02", 6),          // broken frame header
    };
    for (const auto& data : cases)
    {
        std::string file = dir.File("bad.jpg");
        vztest::WriteFile(file, data);
        unsigned w = 0, h = 0;
        int before = DebugGetNumMessages();
        EXPECT_EQ(EngJpegReadFileToBuffer(file.c_str(), &w, &h), nullptr);
        EXPECT_EQ(EngJpegReadFileToBufferWithAlpha(file.c_str(), 0, &w, &h), nullptr);
        EXPECT_FALSE(EngJpegGetFileInfo(file.c_str(), &w, &h, nullptr));
        EXPECT_GT(DebugGetNumMessages(), before);
    }
    unsigned w, h;
    EXPECT_EQ(EngJpegReadFileToBuffer(dir.File("missing.jpg").c_str(), &w, &h), nullptr);
}

// libjpeg's own decode of a file: its rows, or empty when it refuses the file.
std::vector<unsigned char> LibjpegDecode(const std::string& file, unsigned* w, unsigned* h)
{
    std::vector<unsigned char> px;
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return px;
    jpeg_decompress_struct cinfo;
    JpegTestError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = [](j_common_ptr c) { longjmp(reinterpret_cast<JpegTestError*>(c->err)->jump, 1); };
    err.pub.output_message = [](j_common_ptr) {};
    if (setjmp(err.jump))
    {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    *w = cinfo.output_width, *h = cinfo.output_height;
    const size_t row = size_t(cinfo.output_width) * cinfo.output_components;
    px.resize(row * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height)
    {
        JSAMPROW r = &px[row * cinfo.output_scanline];
        jpeg_read_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return px;
}

// A file cut inside its scan data: libjpeg gives every row (the missing ones
// made up from the data it has), and so must the reader, row for row.
TEST_F(Jpeg, TruncatedFileGivesAFullyWrittenBuffer)
{
    const unsigned W = 64, H = 64;
    std::vector<unsigned char> px(W * H * 3);
    for (size_t i = 0; i < px.size(); i++)
        px[i] = (unsigned char)((i * 37) ^ (i >> 7)); // busy, so the scan data is long
    std::string file = dir.File("t.jpg");
    ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 90, 0, W, H, px.data()));
    const std::string data = vztest::ReadFile(file);
    const size_t sos = data.find(std::string("\xFF\xDA", 2));
    ASSERT_NE(sos, std::string::npos);
    const size_t scan = sos + 2 + ((unsigned char)data[sos + 2] << 8 | (unsigned char)data[sos + 3]);
    ASSERT_LT(scan + 100, data.size());
    const size_t cut = scan + (data.size() - scan) / 3;
    vztest::WriteFile(file, data.substr(0, cut));

    unsigned lw = 0, lh = 0;
    const std::vector<unsigned char> want = LibjpegDecode(file, &lw, &lh);
    ASSERT_EQ(want.size(), size_t(W) * H * 3) << "libjpeg reads the cut file";
    unsigned w = 0, h = 0;
    unsigned char* back = EngJpegReadFileToBuffer(file.c_str(), &w, &h);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(w, W);
    ASSERT_EQ(h, H);
    for (unsigned y = 0; y < H; y++)
        EXPECT_EQ(std::memcmp(back + y * W * 3, &want[y * W * 3], W * 3), 0) << "row " << y;
    std::free(back);
}

// What a reader made of a file, laid out as libjpeg lays out its own decode:
// comps bytes a pixel (4: with alpha), rows top to bottom.
struct Decoded
{
    bool loaded = false;
    unsigned w = 0, h = 0;
    int comps = 0;
    std::vector<unsigned char> px;
};

Decoded Libjpeg(const std::string& file)
{
    Decoded d;
    d.px = LibjpegDecode(file, &d.w, &d.h);
    d.loaded = !d.px.empty();
    d.comps = d.loaded ? int(d.px.size() / (size_t(d.w) * d.h)) : 0;
    return d;
}

// "" when got holds want's pixels: the same size, each colour the same (a
// grey value in each of red, green and blue), any alpha opaque.
std::string PixelDifference(const Decoded& got, const Decoded& want)
{
    if (got.w != want.w || got.h != want.h)
        return "size " + std::to_string(got.w) + " x " + std::to_string(got.h);
    if (got.comps < want.comps || got.px.size() != size_t(got.w) * got.h * got.comps)
        return std::to_string(got.comps) + " channels";
    const int colours = got.comps == 1 ? 1 : 3;
    for (size_t i = 0; i < size_t(got.w) * got.h; i++)
    {
        const unsigned char* g = &got.px[i * got.comps];
        const unsigned char* w = &want.px[i * want.comps];
        for (int k = 0; k < colours; k++)
            if (g[k] != w[want.comps == 1 ? 0 : k])
                return "pixel " + std::to_string(i) + " channel " + std::to_string(k) + ": " +
                       std::to_string(g[k]) + " not " + std::to_string(w[want.comps == 1 ? 0 : k]);
        if (got.comps == 4 && g[3] != 255)
            return "pixel " + std::to_string(i) + " has alpha " + std::to_string(g[3]);
    }
    return "";
}

// Every way the engine reads a JPEG file.
struct JpegReader
{
    const char* name;
    bool takes_grey; // the others refuse a one-component file for its channels
    Decoded (*read)(const char* path);
};

const JpegReader jpeg_readers[] = {
    {"reader", true,
     [](const char* p)
     {
         Decoded d;
         unsigned char* px = EngJpegReadFileToBuffer(p, &d.w, &d.h);
         unsigned comps = 0;
         if (px && EngJpegGetFileInfo(p, nullptr, nullptr, &comps))
         {
             d.loaded = true;
             d.comps = comps == 1 ? 1 : 3;
             d.px.assign(px, px + size_t(d.w) * d.h * d.comps);
         }
         std::free(px);
         return d;
     }},
    {"reader with alpha", false,
     [](const char* p)
     {
         Decoded d;
         unsigned char* px = EngJpegReadFileToBufferWithAlpha(p, 0, &d.w, &d.h);
         if (px)
         {
             d.loaded = true;
             d.comps = 4;
             d.px.assign(px, px + size_t(d.w) * d.h * 4);
         }
         std::free(px);
         return d;
     }},
    {"TGA filled from it", false,
     [](const char* p)
     {
         Decoded d;
         unsigned w = 0, h = 0;
         if (!EngJpegGetFileInfo(p, &w, &h, nullptr) || !w || !h)
             return d;
         EngTga t(int(w), int(h), 32);
         if (!t.FillFromJpeg(0, 0, int(w), int(h), p, 0, 0, int(w), int(h), 0, 0, _EngTgaAlphaType(0), 0, 1,
                             0))
             return d;
         d = {true, w, h, 4, {}};
         d.px.reserve(size_t(w) * h * 4);
         for (size_t i = 0; i < size_t(w) * h; i++)
         {
             const uint32_t v = t.m_data[i];
             d.px.insert(d.px.end(), {(unsigned char)(v >> 16), (unsigned char)(v >> 8), (unsigned char)v,
                                      (unsigned char)(v >> 24)});
         }
         return d;
     }},
    {"texture", false,
     [](const char* p)
     {
         Decoded d;
         EngTexture t;
         if (!t.LoadFromFileToMemory(p, 1, 2, 1))
             return d;
         const EngTextureGL* gl = t.GetGL();
         d = {true, unsigned(gl->mem_width), unsigned(gl->mem_height), gl->mem_channels, {}};
         d.px.assign(gl->mem_pixels, gl->mem_pixels + size_t(d.w) * d.h * d.comps);
         return d;
     }},
    {"dialog picture", true,
     [](const char* p)
     {
         Decoded d;
         GdkPixbuf* px = EngGuiCreateCGImageFromBundleResource(p);
         if (!px)
             return d;
         d = {true,
              unsigned(gdk_pixbuf_get_width(px)),
              unsigned(gdk_pixbuf_get_height(px)),
              gdk_pixbuf_get_n_channels(px),
              {}};
         const unsigned char* rows = gdk_pixbuf_read_pixels(px);
         const size_t stride = size_t(gdk_pixbuf_get_rowstride(px)), row = size_t(d.w) * d.comps;
         for (unsigned y = 0; y < d.h; y++)
             d.px.insert(d.px.end(), rows + y * stride, rows + y * stride + row);
         g_object_unref(px);
         return d;
     }},
};

// The readers with a device whose textures need no padding, as on a working one.
class JpegReaders : public Jpeg
{
protected:
    void SetUp() override
    {
        Jpeg::SetUp();
        eng_main_device_type = ENG_DEVICE_TYPE_GL;
        eng_main_device_gl = new EngDeviceGL(nullptr);
        eng_main_device_gl->power_of_two_needed = 0;
    }
    void TearDown() override
    {
        delete eng_main_device_gl;
        eng_main_device_gl = nullptr;
        eng_main_device_type = 0;
    }
    // Lines that give the decoding work as the reason a file was refused.
    static int WorkRefusals(const std::string& file)
    {
        int n = 0;
        for (int i = 0; i < DebugGetNumMessages(); i++)
        {
            const std::string text = DebugGetMessage(i)->text;
            n += text.find("Too much decoding work: ") != std::string::npos &&
                 text.find("<" + file + ">") != std::string::npos;
        }
        return n;
    }
};

// Every SOS of s claiming the band (Ss, Se).
std::string WithScanBands(std::string s, int ss, int se)
{
    for (size_t at = s.find("\xFF\xDA"); at != std::string::npos; at = s.find("\xFF\xDA", at + 2))
    {
        const size_t band = at + 5 + 2 * size_t((unsigned char)s[at + 4]);
        s[band] = char(ss), s[band + 1] = char(se);
    }
    return s;
}

// The cost of a scan lies in the blocks it visits, whatever its size on
// disk: a file that repeats one, however its markers are written, would
// hold a reader for seconds to minutes. Each is refused once it has made
// several times the work of an ordinary decode of its size, with its reason
// logged once, naming the file.
TEST_F(JpegReaders, TooMuchDecodingWorkIsRefusedByEveryReader)
{
    const std::string file = dir.File("work.jpg");
    const std::string scans_2000 = vztest::ProgressiveJpeg(2048, 2048, 1, 2000);
    const std::string sequential = vztest::SequentialScansJpeg(512, 512, 20);
    const struct
    {
        const char* name;
        std::string data;
        int scans;
        bool grey = false; // refused for its one component where grey is not taken
    } files[] = {
        // The library skips nothing for a length below 2 and reads on.
        {"a comment of length 0 before 2,000 repeated scans",
         std::string(scans_2000).insert(2, "\xFF\xFE\0\0", 4), 2010},
        {"an APP1 of length 1 before 2,000 repeated scans",
         std::string(scans_2000).insert(2, "\xFF\xE1\0\1", 4), 2010},
        // Each visits every coefficient of its band in every block.
        {"the last luma refinement scan repeated to 300 scans", vztest::ProgressiveJpeg(2048, 2048, 9, 290),
         300},
        // Just past the bound: each scan of one coefficient costs its visit
        // to every block too, which brings the file to 7 times its
        // coefficients (1.6 times without the visits)...
        {"a flat grey file whose one-coefficient scan is repeated 40 times", vztest::FlatGreyJpeg(2048, 2048, 40),
         43, true},
        // ... and a refinement visits all 63 coefficients of its band (2.4
        // times counted as a DC scan; 18 times as it is).
        {"the last luma refinement repeated 20 more times", vztest::ProgressiveJpeg(1024, 1024, 9, 20), 30},
        {"one scan repeated to 301 scans", vztest::ProgressiveJpeg(64, 48, 1, 291), 301},
        {"one scan repeated to 5,010 scans", vztest::ProgressiveJpeg(64, 48, 1, 5000), 5010},
        // A sequential scan decodes all 64 coefficients, whatever band its header claims.
        {"a sequential luma scan repeated 20 times", sequential, 23},
        {"the same claiming a band of one coefficient", WithScanBands(sequential, 0, 0), 23},
    };
    for (const auto& f : files)
    {
        SCOPED_TRACE(f.name);
        ASSERT_EQ(vztest::JpegScanCount(f.data), f.scans);
        vztest::WriteFile(file, f.data);
        for (const JpegReader& r : jpeg_readers)
        {
            SCOPED_TRACE(r.name);
            DebugClearLog();
            EXPECT_FALSE(r.read(file.c_str()).loaded);
            EXPECT_EQ(WorkRefusals(file), f.grey && !r.takes_grey ? 0 : 1) << vztest::LastLogLine();
        }
    }
}

// Files as encoders write them, and libjpeg's own script at the largest
// size: every reader gives libjpeg's own pixels (a one-component file only
// where grey is taken).
TEST_F(JpegReaders, RealFilesLoadWithLibjpegsOwnPixels)
{
    const std::string file = dir.File("real.jpg");
    auto colour = [](unsigned w, unsigned h, const vztest::JpegSetup& setup)
    { return vztest::EncodeJpeg(vztest::PhotoLike(w, h, 3), w, h, 3, JCS_RGB, setup); };
    const vztest::JpegSetup progressive = [](jpeg_compress_struct* c) { jpeg_simple_progression(c); };
    const vztest::JpegSetup optimised = [](jpeg_compress_struct* c)
    {
        jpeg_simple_progression(c);
        c->optimize_coding = TRUE;
    };
    const vztest::JpegSetup unoptimised = [](jpeg_compress_struct* c)
    {
        jpeg_simple_progression(c);
        c->optimize_coding = FALSE;
    };
    const vztest::JpegSetup full_colour = [](jpeg_compress_struct* c)
    {
        jpeg_simple_progression(c);
        for (int i = 0; i < c->num_components; i++)
            c->comp_info[i].h_samp_factor = c->comp_info[i].v_samp_factor = 1;
    };
    // The most work an encoder's script makes: every coefficient refined
    // three times.
    const vztest::JpegSetup refined_thrice = [](jpeg_compress_struct* c)
    {
        static const jpeg_scan_info script[] = {
            {1, {0}, 0, 0, 0, 1},  {1, {0}, 1, 5, 0, 3},  {1, {0}, 6, 63, 0, 3}, {1, {0}, 1, 63, 3, 2},
            {1, {0}, 1, 63, 2, 1}, {1, {0}, 0, 0, 1, 0},  {1, {0}, 1, 63, 1, 0},
        };
        c->scan_info = script;
        c->num_scans = 7;
    };
    auto grey = [](const vztest::JpegSetup& setup)
    { return vztest::EncodeJpeg(vztest::PhotoLike(700, 500, 1), 700, 500, 1, JCS_GRAYSCALE, setup); };
    const std::string baseline = colour(640, 480, {});
    const struct
    {
        const char* name;
        std::string data;
    } files[] = {
        {"progressive as the command-line encoder writes it", colour(1001, 667, progressive)},
        {"progressive with optimised tables", colour(800, 600, optimised)},
        {"progressive without optimised tables", colour(800, 600, unoptimised)},
        {"progressive without subsampled colour", colour(600, 400, full_colour)},
        {"grey progressive", grey(progressive)},
        {"grey progressive refined three times", grey(refined_thrice)},
        {"baseline", baseline},
        {"baseline with zeros for its band", WithScanBands(baseline, 0, 0)},
        {"sequential, one scan per component", vztest::SequentialScansJpeg(640, 480)},
        {"ten scans at 4096 x 4096", colour(4096, 4096, progressive)},
        // Just inside the bound: 5.6 and 5.5 times the image's coefficients.
        {"a flat grey file whose one-coefficient scan is repeated 30 times", vztest::FlatGreyJpeg(2048, 2048, 30)},
        {"the last luma refinement repeated 3 more times", vztest::ProgressiveJpeg(1024, 1024, 9, 3)},
    };
    for (const auto& f : files)
    {
        SCOPED_TRACE(f.name);
        vztest::WriteFile(file, f.data);
        const Decoded want = Libjpeg(file);
        ASSERT_TRUE(want.loaded);
        for (const JpegReader& r : jpeg_readers)
        {
            SCOPED_TRACE(r.name);
            DebugClearLog();
            const Decoded got = r.read(file.c_str());
            EXPECT_EQ(WorkRefusals(file), 0);
            if (want.comps == 1 && !r.takes_grey)
                EXPECT_FALSE(got.loaded);
            else if (!got.loaded)
                ADD_FAILURE() << "refused: " << vztest::LastLogLine();
            else
                EXPECT_EQ(PixelDifference(got, want), "");
        }
    }
    // The decoder's first warning about a file names it.
    vztest::WriteFile(file, vztest::ProgressiveJpeg(64, 48, 1, 5));
    DebugClearLog();
    EXPECT_TRUE(jpeg_readers[0].read(file.c_str()).loaded);
    EXPECT_TRUE(vztest::Logged("JPEG warning in <" + file + ">"));
}

TEST_F(Jpeg, HugeDimensionsAreRefusedBeforeAllocating)
{
    auto px = Gradient(16, 16);
    std::string file = dir.File("huge.jpg");
    ASSERT_TRUE(EngJpegWriteFileFromBuffer(file.c_str(), 80, 0, 16, 16, px.data()));
    const std::string original = vztest::ReadFile(file);
    size_t sof = original.find(std::string("\xFF\xC0", 2));
    ASSERT_NE(sof, std::string::npos);
    struct
    {
        unsigned width, height;
        const char* message;
    } const cases[] = {
        {65000, 65000, "Image too large [65000 x 65000]"},
        {8193, 8192, "Image too large [8193 x 8192]"}, // one column over the bound
        // Allowed in themselves, but far more than a file of a few hundred bytes holds.
        {8192, 8192, "Image size [8192 x 8192] cannot come from a file of"},
        {8000, 8000, "Image size [8000 x 8000] cannot come from a file of"},
    };
    for (const auto& c : cases)
    {
        std::string data = original;
        data[sof + 5] = char(c.height >> 8), data[sof + 6] = char(c.height & 255);
        data[sof + 7] = char(c.width >> 8), data[sof + 8] = char(c.width & 255);
        vztest::WriteFile(file, data);
        unsigned w = 0, h = 0;
        EXPECT_EQ(EngJpegReadFileToBuffer(file.c_str(), &w, &h), nullptr) << c.width << " x " << c.height;
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        _DebugMsg* m = DebugGetMessage(DebugGetNumMessages() - 1);
        ASSERT_NE(m, nullptr);
        EXPECT_NE(std::string(m->text).find(c.message), std::string::npos) << m->text;
    }
}

TEST_F(Jpeg, WriteFailuresAreReported)
{
    auto px = Gradient(256, 256);
    // A full disk: the data fails when it is flushed.
    EXPECT_FALSE(EngJpegWriteFileFromBuffer("/dev/full", 90, 0, 256, 256, px.data()));
    EXPECT_FALSE(EngJpegWriteFileFromBuffer("/dev/full", 90, 0, 2, 2, px.data()));
    EXPECT_FALSE(EngJpegWriteFileFromBuffer(dir.File("no/such/dir.jpg").c_str(), 90, 0, 2, 2, px.data()));
}

TEST_F(Jpeg, GrayscaleFilesReadAsOneChannelAndRefuseAlpha)
{
    // A one-component file written through libjpeg itself.
    std::string file = dir.File("grey.jpg");
    const std::vector<unsigned char> row = {0, 80, 160, 240, 0, 80, 160, 240};
    vztest::WriteFile(file, vztest::EncodeJpeg(row, 4, 2, 1, JCS_GRAYSCALE));

    unsigned w, h;
    unsigned char* grey = EngJpegReadFileToBuffer(file.c_str(), &w, &h);
    ASSERT_NE(grey, nullptr);
    EXPECT_NEAR(grey[3], 240, 4);
    std::free(grey);
    EXPECT_EQ(EngJpegReadFileToBufferWithAlpha(file.c_str(), 0, &w, &h), nullptr);
    _DebugMsg* m = DebugGetMessage(DebugGetNumMessages() - 1);
    ASSERT_NE(m, nullptr);
    EXPECT_NE(std::string(m->text).find("jpegs with 1 components"), std::string::npos);
}

TEST(JpegNames, ExtensionNeedsAStemAndIgnoresCase)
{
    struct
    {
        const char* name;
        char expected;
    } const cases[] = {{"a.jpg", 1}, {"A.JPEG", 1}, {"pic.JpG", 1}, {".jpg", 0}, {"a.png", 0}, {"jpg", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(EngJpegDoesFileHaveJpegExtension(c.name), c.expected) << c.name;
    EXPECT_EQ(EngJpegDoesFileHaveJpegExtension(nullptr), 0);
}

TEST_F(Jpeg, SavesATgaImage)
{
    // The image's first row is its top row, in the picture as in the file.
    EngTga tga(4, 16, 32, 0.0f, 0.0f, 1.0f, 1.0f); // blue
    for (int i = 0; i < 4 * 8; i++)
        tga.m_data[i] = 0xFFFF0000u; // the top half red
    std::string file = dir.File("tga.jpg");
    ASSERT_TRUE(EngJpegSaveToFileFromTga(file.c_str(), &tga, 100, 72));
    unsigned w, h;
    unsigned char* px = EngJpegReadFileToBuffer(file.c_str(), &w, &h);
    ASSERT_NE(px, nullptr);
    ASSERT_EQ(w, 4u);
    ASSERT_EQ(h, 16u);
    struct
    {
        unsigned row;
        int r, b;
    } const rows[] = {{0, 255, 0}, {15, 0, 255}};
    for (const auto& c : rows)
    {
        const unsigned char* p = px + c.row * w * 3;
        EXPECT_NEAR(p[0], c.r, 5) << "row " << c.row;
        EXPECT_NEAR(p[2], c.b, 5) << "row " << c.row;
    }
    std::free(px);
    EngTga empty;
    EXPECT_FALSE(EngJpegSaveToFileFromTga(file.c_str(), &empty, 100, 72));
}

} // namespace
