// JPEG data encoded in memory by libjpeg, for tests that need files of a given make.
#pragma once

#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace vztest
{

using JpegSetup = std::function<void(jpeg_compress_struct*)>;

// w x h pixels of comps bytes each in the given colour space. settings runs
// after the library's defaults; after_start once compression has begun (to
// write markers of its own).
inline std::string EncodeJpeg(const std::vector<unsigned char>& px, unsigned w, unsigned h, int comps,
                              J_COLOR_SPACE space, const JpegSetup& settings = {}, const JpegSetup& after_start = {})
{
    unsigned char* out = nullptr;
    unsigned long len = 0;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &len);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = comps;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (settings)
        settings(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    if (after_start)
        after_start(&cinfo);
    while (cinfo.next_scanline < cinfo.image_height)
    {
        JSAMPROW row = const_cast<unsigned char*>(&px[size_t(cinfo.next_scanline) * w * comps]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string s(reinterpret_cast<char*>(out), len);
    std::free(out);
    return s;
}

} // namespace vztest
