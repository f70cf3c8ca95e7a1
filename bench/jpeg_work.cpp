// Prints how long each JPEG reader takes over files that make the decoder
// work far beyond their size, beside an ordinary progressive file (libjpeg's
// own script) of the same picture and size, and the ratio of the two; the
// goal is a ratio of about 3 at most.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
#include "Linux/EngGui_LNX.h"
#include "support/JpegScans.h"

namespace
{

struct Reader
{
    const char* name;
    bool (*read)(const char* path);
};

const Reader readers[] = {
    {"reader",
     [](const char* p)
     {
         unsigned w, h;
         unsigned char* px = EngJpegReadFileToBuffer(p, &w, &h);
         const bool loaded = px != nullptr;
         std::free(px);
         return loaded;
     }},
    {"reader with alpha",
     [](const char* p)
     {
         unsigned w, h;
         unsigned char* px = EngJpegReadFileToBufferWithAlpha(p, 0, &w, &h);
         const bool loaded = px != nullptr;
         std::free(px);
         return loaded;
     }},
    {"TGA filled from it",
     [](const char* p)
     {
         unsigned w = 0, h = 0;
         if (!EngJpegGetFileInfo(p, &w, &h, nullptr) || !w || !h)
             return false;
         EngTga t(int(w), int(h), 32);
         return t.FillFromJpeg(0, 0, int(w), int(h), p, 0, 0, int(w), int(h), 0, 0, _EngTgaAlphaType(0), 0, 1,
                               0) != 0;
     }},
    {"texture",
     [](const char* p)
     {
         EngTexture t;
         return t.LoadFromFileToMemory(p, 1, 2, 1) != 0;
     }},
    {"dialog picture",
     [](const char* p)
     {
         GdkPixbuf* px = EngGuiCreateCGImageFromBundleResource(p);
         if (px)
             g_object_unref(px);
         return px != nullptr;
     }},
};

// The fastest of a few runs, in milliseconds; *loaded tells whether the file was taken.
double Millis(const Reader& r, const std::string& path, bool* loaded)
{
    double best = 1e300;
    for (int i = 0; i < 5; i++)
    {
        auto t0 = std::chrono::steady_clock::now();
        *loaded = r.read(path.c_str());
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
        DebugClearLog();
    }
    return best;
}

// A detailed picture (the tests' PhotoLike) written as libjpeg's progressive
// script does, the scan numbered `scan` repeated `repeats` times.
std::string DetailedProgressive(unsigned w, unsigned h, int scan = 1, int repeats = 0)
{
    return vztest::JpegRepeatingScan(vztest::EncodeJpeg(vztest::PhotoLike(w, h, 3), w, h, 3, JCS_RGB,
                                                        [](jpeg_compress_struct* c)
                                                        { jpeg_simple_progression(c); }),
                                     scan, repeats);
}

// A detailed picture written with a script of our own, the scan numbered
// `scan` repeated `repeats` times; luma is sampled luma_samp x luma_samp.
std::string Scripted(unsigned w, unsigned h, int luma_samp, const std::vector<jpeg_scan_info>& script,
                     int scan, int repeats)
{
    std::string s = vztest::EncodeJpeg(vztest::PhotoLike(w, h, 3), w, h, 3, JCS_RGB,
                                       [&](jpeg_compress_struct* c)
                                       {
                                           c->comp_info[0].h_samp_factor = c->comp_info[0].v_samp_factor =
                                               luma_samp;
                                           c->scan_info = script.data();
                                           c->num_scans = int(script.size());
                                       });
    return vztest::JpegRepeatingScan(s, scan, repeats);
}

// One scan per component for each DC pass, luma sampled 4 x 4 so that
// chroma has a sixteenth of its blocks.
const std::vector<jpeg_scan_info> small_chroma = {
    {1, {0}, 0, 0, 0, 1},  {1, {1}, 0, 0, 0, 1},  {1, {2}, 0, 0, 0, 1},
    {1, {0}, 1, 63, 0, 0}, {1, {1}, 1, 63, 0, 0}, {1, {2}, 1, 63, 0, 0},
    {1, {1}, 0, 0, 1, 0},  {1, {2}, 0, 0, 1, 0},  {1, {0}, 0, 0, 1, 0},
};
// Luma's first AC coefficient in a scan of its own.
const std::vector<jpeg_scan_info> one_coefficient = {
    {3, {0, 1, 2}, 0, 0, 0, 0}, {1, {0}, 1, 1, 0, 0},  {1, {0}, 2, 63, 0, 0},
    {1, {1}, 1, 63, 0, 0},      {1, {2}, 1, 63, 0, 0},
};

struct Case
{
    const char* name;
    unsigned w, h;
    std::string ordinary, hostile;
};

} // namespace

int main()
{
    // The figures on standard output; the log's refusals stay off it.
    FILE* figures = fdopen(dup(STDOUT_FILENO), "w");
    if (!figures || !std::freopen("/dev/null", "w", stdout))
        return 1;
    DebugResetForTests();
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_device_gl = new EngDeviceGL(nullptr);
    eng_main_device_gl->power_of_two_needed = 0;
    char dir[] = "/tmp/vzbench-XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    const std::string path = std::string(dir) + "/image.jpg";
    auto after_start = [](std::string s, const char* segment) { return s.insert(2, segment, 4); };
    const std::string scans_2000 = vztest::ProgressiveJpeg(2048, 2048, 1, 2000);
    const std::string gradient_2048 = vztest::ProgressiveJpeg(2048, 2048);
    const std::string gradient_small = vztest::ProgressiveJpeg(64, 48);
    const std::string detailed_2048 = DetailedProgressive(2048, 2048);
    const Case cases[] = {
        {"comment of length 0, 2,000 repeated scans", 2048, 2048, gradient_2048,
         after_start(scans_2000, "\xFF\xFE\0\0")},
        {"APP1 of length 1, 2,000 repeated scans", 2048, 2048, gradient_2048,
         after_start(scans_2000, "\xFF\xE1\0\1")},
        {"comment of length 0, 20,000 repeated scans", 2048, 2048, gradient_2048,
         after_start(vztest::ProgressiveJpeg(2048, 2048, 1, 20000), "\xFF\xFE\0\0")},
        {"luma refinement repeated to 300 scans", 2048, 2048, gradient_2048,
         vztest::ProgressiveJpeg(2048, 2048, 9, 290)},
        {"luma refinement repeated to 300 scans", 4096, 4096, vztest::ProgressiveJpeg(4096, 4096),
         vztest::ProgressiveJpeg(4096, 4096, 9, 290)},
        {"luma refinement repeated to 300 scans", 8192, 4096, vztest::ProgressiveJpeg(8192, 4096),
         vztest::ProgressiveJpeg(8192, 4096, 9, 290)},
        {"one scan repeated to 301 scans", 64, 48, gradient_small, vztest::ProgressiveJpeg(64, 48, 1, 291)},
        {"one scan repeated to 5,010 scans", 64, 48, gradient_small,
         vztest::ProgressiveJpeg(64, 48, 1, 5000)},
        {"detailed: luma refinement repeated to 300", 2048, 2048, detailed_2048,
         DetailedProgressive(2048, 2048, 9, 290)},
        {"detailed: DC first scan repeated 2,000 times", 2048, 2048, detailed_2048,
         DetailedProgressive(2048, 2048, 0, 2000)},
        {"detailed: luma scan of 1 coefficient x 2,000", 2048, 2048, detailed_2048,
         Scripted(2048, 2048, 2, one_coefficient, 1, 2000)},
        {"detailed: small chroma DC refinement x 20,000", 2048, 2048, detailed_2048,
         Scripted(2048, 2048, 4, small_chroma, 6, 20000)},
        {"detailed: sequential luma scan repeated 20", 512, 512, DetailedProgressive(512, 512),
         vztest::SequentialScansJpeg(512, 512, 20)},
    };
    std::fprintf(figures, "%-44s %-11s %8s  %-18s %11s %11s %7s\n", "hostile file", "image", "KB", "reader",
                "ordinary ms", "hostile ms", "ratio");
    double worst = 0;
    for (const Case& c : cases)
    {
        const std::string& ordinary = c.ordinary;
        for (const Reader& r : readers)
        {
            bool ordinary_loaded = false, hostile_loaded = false;
            FILE* f = std::fopen(path.c_str(), "wb");
            std::fwrite(ordinary.data(), 1, ordinary.size(), f);
            std::fclose(f);
            const double plain = Millis(r, path, &ordinary_loaded);
            f = std::fopen(path.c_str(), "wb");
            std::fwrite(c.hostile.data(), 1, c.hostile.size(), f);
            std::fclose(f);
            const double hostile = Millis(r, path, &hostile_loaded);
            const double ratio = hostile / plain;
            worst = std::max(worst, ratio);
            char image[24];
            std::snprintf(image, sizeof(image), "%u x %u", c.w, c.h);
            std::fprintf(figures, "%-44s %-11s %8.1f  %-18s %11.2f %11.2f %7.2f%s%s\n", c.name, image,
                        c.hostile.size() / 1024.0, r.name, plain, hostile, ratio,
                        hostile_loaded ? "  (loaded)" : "",
                        ordinary_loaded ? "" : "  (ordinary file refused)");
        }
    }
    std::fprintf(figures, "worst ratio %.2f (goal: about 3 at most)\n", worst);
    unlink(path.c_str());
    rmdir(dir);
    delete eng_main_device_gl;
    eng_main_device_gl = nullptr;
    return 0;
}
