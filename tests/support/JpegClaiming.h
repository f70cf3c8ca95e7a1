// A small flat JPEG whose frame header then claims another size: a file
// that costs little on disk and much to decode.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "support/JpegEncode.h"

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
    const std::string pad(min_size, 'c');
    std::string s = EncodeJpeg(
        px, 16, 16, 3, JCS_RGB,
        [coding](jpeg_compress_struct* c)
        {
            if (coding == JpegCoding::Progressive)
                jpeg_simple_progression(c);
            if (coding == JpegCoding::Arithmetic)
                c->arith_code = TRUE;
        },
        [&pad](jpeg_compress_struct* c)
        {
            for (size_t at = 0; at < pad.size(); at += 65000)
                jpeg_write_marker(c, JPEG_COM, reinterpret_cast<const JOCTET*>(pad.data() + at),
                                  unsigned(std::min<size_t>(65000, pad.size() - at)));
        });
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
