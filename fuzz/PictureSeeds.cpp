// Writes the picture fuzzer's seed files into a folder: small pictures of every format the dialog kit reads.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <tiffio.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/JpegScans.h"
#include "support/PictureFiles.h"

namespace
{

const unsigned W = 16, H = 8;

std::vector<unsigned char> Pixels(int comps)
{
    std::vector<unsigned char> px(size_t(W) * H * comps);
    for (size_t i = 0; i < px.size(); i++)
        px[i] = (unsigned char)(i * 7);
    return px;
}

// A seed: the fuzzer's first byte (0 names the file "picture", 1
// "picture.tga"), then the file.
bool Put(const std::string& folder, const char* name, char pick, const std::string& file)
{
    if (file.empty())
    {
        fprintf(stderr, "no seed %s\n", name);
        return false;
    }
    FILE* f = fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return false;
    const std::string seed = pick + file;
    const bool ok = fwrite(seed.data(), 1, seed.size(), f) == seed.size();
    return fclose(f) == 0 && ok;
}

std::string Saved(const char* type, bool alpha)
{
    GdkPixbuf* p = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, W, H);
    const std::vector<unsigned char> px = Pixels(alpha ? 4 : 3);
    for (unsigned y = 0; y < H; y++)
        std::copy(&px[size_t(y) * W * (alpha ? 4 : 3)], &px[size_t(y + 1) * W * (alpha ? 4 : 3)],
                  gdk_pixbuf_get_pixels(p) + y * gdk_pixbuf_get_rowstride(p));
    gchar* data = nullptr;
    gsize size = 0;
    const bool ok = gdk_pixbuf_save_to_buffer(p, &data, &size, type, nullptr, nullptr);
    g_object_unref(p);
    std::string s = ok ? std::string(data, size) : std::string();
    g_free(data);
    return s;
}

std::string LibtiffWritten(const std::string& folder, uint16_t compression, uint16_t samples = 3,
                           uint16_t bits = 8, uint16_t alpha = EXTRASAMPLE_UNASSALPHA)
{
    const std::string path = folder + "/.written.tif";
    std::vector<unsigned char> px((size_t(W) * samples * bits + 7) / 8 * H);
    for (size_t i = 0; i < px.size(); i++)
        px[i] = (unsigned char)(i * 7);
    const std::string s = vztest::LibtiffWritten(path, compression, px, W, H, samples, bits, alpha);
    remove(path.c_str());
    return s;
}

// TIFFs whose directories, strips or tiles would make libtiff read or decode
// far more than they hold: a first page, then copies of `page`.
std::string TiffAfterFirst(const vztest::TiffPage& page, size_t count)
{
    vztest::TiffLayout share;
    share.share = true;
    std::vector<vztest::TiffPage> pages(count, page);
    pages[0] = {std::string(size_t(W) * H * 3, '\x40'), W, H};
    return vztest::Tiff(pages, share);
}

// A column of one grey pixel a row and a strip a row, its arrays of
// `strips` entries.
vztest::TiffPage Column(uint32_t rows, uint32_t strips)
{
    vztest::TiffPage p = {std::string(1, '\x80'), 1, rows, 1, 3, 1};
    p.rows_per_strip = 1;
    p.pieces = strips;
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<unsigned char> rgb = Pixels(3), rgba = Pixels(4);
    const std::string raw(rgb.begin(), rgb.end());
    const std::string jpeg = vztest::EncodeJpeg(rgb, W, H, 3, JCS_RGB);
    vztest::TiffLayout big;
    big.big = true;
    vztest::TiffPage wide_tiles = {std::string(size_t(65536) * 16, '\x80'), 16, 65536, 1, 3, 1};
    wide_tiles.tile_w = 65536, wide_tiles.tile_h = 16, wide_tiles.pieces = 4096;
    vztest::TiffPage named = {std::string(4, '\x80'), 2, 2, 1, 3, 1};
    named.extra_tag = 50000;
    named.extra = std::string(1u << 20, 'v');
    vztest::TiffPage unknown = named;
    unknown.extra_tag = 0;
    unknown.unknown_tags = 4000;
    // 1 x 1, two colours, the smallest LZW stream.
    const std::string gif("GIF89a\1\0\1\0\x80\0\0\0\0\0\xFF\xFF\xFF,\0\0\0\0\1\0\1\0\0\2\2D\1\0;", 35);
    std::string icns = "icns" + std::string(4, '\0') + "ic08" + std::string(4, '\0') + Saved("png", true);
    for (int k = 0; k < 4; k++)
        icns[size_t(7 - k)] = char(icns.size() >> (8 * k)),
                        icns[size_t(15 - k)] = char((icns.size() - 8) >> (8 * k));
    std::string pnm = "P6\n16 8\n255\n" + raw;
    const std::string xpm =
        "/* XPM */\nstatic char* p[] = {\"2 2 2 1\", \"a c #FF0000\", \"b c #0000FF\", \"ab\", "
        "\"ba\"};\n";
    const std::string xbm =
        "#define p_width 8\n#define p_height 2\nstatic unsigned char p_bits[] = {0x0f, 0xf0};\n";
    const struct
    {
        const char* name;
        char pick;
        std::string file;
    } seeds[] = {
        {"png", 0, Saved("png", false)},
        {"png-alpha", 0, Saved("png", true)},
        {"bmp", 0, Saved("bmp", false)},
        {"ico", 0, Saved("ico", true)},
        {"gif", 0, gif},
        {"jpeg", 0, jpeg},
        {"jpeg-progressive", 0, vztest::ProgressiveJpeg(W, H)},
        {"jpeg-scans", 0, vztest::SequentialScansJpeg(W, H, 2)},
        {"tiff", 0, vztest::Tiff({{raw, W, H}})},
        {"tiff-big", 0, vztest::Tiff({{raw, W, H}}, big)},
        {"tiff-pages", 0, vztest::Tiff({{raw, W, H}, {raw, W, H}})},
        {"tiff-jpeg", 0, vztest::Tiff({{jpeg, W, H, 7}})},
        {"tiff-lzw", 0, LibtiffWritten(dir, COMPRESSION_LZW)},
        {"tiff-packbits", 0, LibtiffWritten(dir, COMPRESSION_PACKBITS)},
        {"tiff-deflate", 0, LibtiffWritten(dir, COMPRESSION_ADOBE_DEFLATE)},
        {"tiff-ccitt", 0, LibtiffWritten(dir, COMPRESSION_CCITTFAX4, 1, 1)},
        {"tiff-grey-alpha", 0, LibtiffWritten(dir, COMPRESSION_NONE, 2)},
        {"tiff-grey-alpha-16", 0, LibtiffWritten(dir, COMPRESSION_LZW, 2, 16, EXTRASAMPLE_ASSOCALPHA)},
        {"tiff-rgba", 0, LibtiffWritten(dir, COMPRESSION_PACKBITS, 4)},
        {"tiff-shared-strip-arrays", 0, TiffAfterFirst(Column(1000000, 1000000), 1024)},
        {"tiff-short-strip-arrays", 0, TiffAfterFirst(Column(1000000, 1), 1024)},
        {"tiff-strips", 0, vztest::Tiff({Column(1000000, 1000000)})},
        {"tiff-wide-tiles", 0, vztest::Tiff({wide_tiles})},
        {"tiff-shared-value", 0, TiffAfterFirst(named, 1024)},
        {"tiff-unknown-tags", 0, TiffAfterFirst(unknown, 16)},
        {"tga-24", 1, vztest::Tga(2, 24, W, H, rgba)},
        {"tga-32", 1, vztest::Tga(2, 32, W, H, rgba)},
        {"tga-grey", 1, vztest::Tga(3, 8, W, H, rgba)},
        {"tga-rle", 1, vztest::Tga(10, 24, W, H, rgba)},
        {"icns", 0, icns},
        {"pnm", 0, pnm},
        {"xpm", 0, xpm},
        {"xbm", 0, xbm},
    };
    int failed = 0;
    for (const auto& s : seeds)
        failed += !Put(dir, s.name, s.pick, s.file);
    return failed ? 1 : 0;
}
