// A small flat JPEG whose frame header then claims another size: a file
// that costs little on disk and much to decode.
#pragma once

#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace vztest
{

enum class JpegCoding
{
    Baseline,
    Progressive,
    Arithmetic,
};

// Made at 16 x 16, then claiming w x h; padded with comments to at least
// min_size bytes. Empty if the frame header was not found.
inline std::string JpegClaiming(unsigned w, unsigned h, JpegCoding coding, size_t min_size = 0)
{
    std::vector<unsigned char> px(16 * 16 * 3, 128);
    unsigned char* out = nullptr;
    unsigned long len = 0;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &len);
    cinfo.image_width = cinfo.image_height = 16;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (coding == JpegCoding::Progressive)
        jpeg_simple_progression(&cinfo);
    if (coding == JpegCoding::Arithmetic)
        cinfo.arith_code = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::string pad(min_size, 'c');
    for (size_t at = 0; at < pad.size(); at += 65000)
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(pad.data() + at),
                          unsigned(std::min<size_t>(65000, pad.size() - at)));
    while (cinfo.next_scanline < cinfo.image_height)
    {
        JSAMPROW row = &px[size_t(cinfo.next_scanline) * 16 * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string s(reinterpret_cast<char*>(out), len);
    std::free(out);
    const char* marker = coding == JpegCoding::Progressive  ? "\xFF\xC2"
                         : coding == JpegCoding::Arithmetic ? "\xFF\xC9"
                                                            : "\xFF\xC0";
    size_t sof = s.find(std::string(marker, 2));
    if (sof == std::string::npos)
        return std::string();
    s[sof + 5] = char(h >> 8), s[sof + 6] = char(h & 255);
    s[sof + 7] = char(w >> 8), s[sof + 8] = char(w & 255);
    return s;
}

} // namespace vztest
