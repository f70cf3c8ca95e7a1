// JPEG files: round trip, resolution, corrupt input and write failures never
// end the process.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
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

// Each scan of a progressive file is decoded over the whole image, so a file
// that repeats one thousands of times takes minutes to load. Every reader
// refuses more scans than the limit, naming the file, and still reads a file
// with as many as the limit, as libjpeg does.
TEST_F(Jpeg, ScansBeyondTheLimitAreRefusedByEveryReader)
{
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_device_gl = new EngDeviceGL(nullptr);
    eng_main_device_gl->power_of_two_needed = 0;
    const unsigned W = 64, H = 48;
    const std::string file = dir.File("scans.jpg");
    struct Reader
    {
        const char* name;
        std::function<bool(const char*)> read;
    };
    const Reader readers[] = {
        {"reader", [&](const char* p) {
             unsigned w = 0, h = 0;
             unsigned char* px = EngJpegReadFileToBuffer(p, &w, &h);
             unsigned lw = 0, lh = 0;
             const std::vector<unsigned char> want = LibjpegDecode(p, &lw, &lh);
             EXPECT_TRUE(!px || (want.size() == size_t(W) * H * 3 && !std::memcmp(px, want.data(), want.size())))
                 << "not libjpeg's pixels";
             std::free(px);
             return px != nullptr;
         }},
        {"reader with alpha", [](const char* p) {
             unsigned w = 0, h = 0;
             unsigned char* px = EngJpegReadFileToBufferWithAlpha(p, 0, &w, &h);
             std::free(px);
             return px != nullptr;
         }},
        {"TGA filled from it", [&](const char* p) {
             EngTga t(int(W), int(H), 32);
             return t.FillFromJpeg(0, 0, int(W), int(H), p, 0, 0, int(W), int(H), 0, 0, 0, 0, 1, 0) != 0;
         }},
        {"texture", [](const char* p) { EngTexture t; return t.LoadFromFileToMemory(p, 1, 2, 1) != 0; }},
        {"dialog picture", [](const char* p) {
             GdkPixbuf* px = EngGuiCreateCGImageFromBundleResource(p);
             if (px)
                 g_object_unref(px);
             return px != nullptr;
         }},
    };
    struct
    {
        const char* name;
        int repeats; // of the first AC scan, after libjpeg's ten
        bool loads;
    } const files[] = {
        {"ordinary progressive", 0, true},
        {"as many scans as the limit", ENG_JPEG_MAX_SCANS - 10, true},
        {"one scan over the limit", ENG_JPEG_MAX_SCANS - 9, false},
        {"one scan repeated 5,000 times", 5000, false},
    };
    const std::string refusal = "Too many scans: more than " + std::to_string(ENG_JPEG_MAX_SCANS) + " <" + file + ">";
    for (const auto& f : files)
    {
        SCOPED_TRACE(f.name);
        const std::string data = vztest::ProgressiveJpeg(W, H, 1, f.repeats);
        ASSERT_EQ(vztest::JpegScanCount(data), 10 + f.repeats);
        vztest::WriteFile(file, data);
        for (const Reader& r : readers)
        {
            SCOPED_TRACE(r.name);
            DebugClearLog();
            EXPECT_EQ(r.read(file.c_str()), f.loads);
            EXPECT_EQ(vztest::Logged(refusal), !f.loads);
        }
    }
    // The decoder's warning about the repeated scan names the file.
    vztest::WriteFile(file, vztest::ProgressiveJpeg(W, H, 1, 5));
    DebugClearLog();
    unsigned w = 0, h = 0;
    std::free(EngJpegReadFileToBuffer(file.c_str(), &w, &h));
    EXPECT_TRUE(vztest::Logged("JPEG warning in <" + file + ">"));
    delete eng_main_device_gl;
    eng_main_device_gl = nullptr;
    eng_main_device_type = 0;
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
