// JPEGs made by libjpeg with scans of their own: progressive files with one
// scan repeated, sequential files of one scan per component.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/JpegEncode.h"

namespace vztest
{

// Where the segment that starts at `at` (a marker) ends: after its length,
// and for a scan after its coded data, up to the next marker that is not a
// restart. A length below 2 skips nothing after the length itself, as in
// libjpeg.
inline size_t JpegSegmentEnd(const std::string& s, size_t at)
{
    size_t i = at + 2 + std::max(2, (unsigned char)s[at + 2] << 8 | (unsigned char)s[at + 3]);
    if ((unsigned char)s[at + 1] != 0xDA)
        return i;
    for (; i + 1 < s.size(); i++)
        if ((unsigned char)s[i] == 0xFF)
        {
            unsigned char n = (unsigned char)s[i + 1];
            if (n != 0 && n != 0xFF && !(n >= 0xD0 && n <= 0xD7))
                return i;
        }
    return s.size();
}

// The scan numbered `scan` (from 0) of s repeated `repeats` more times
// straight after itself. Empty when the scan is not found.
inline std::string JpegRepeatingScan(std::string s, int scan, int repeats)
{
    size_t at = 0;
    for (int n = 0;; n++)
    {
        at = s.find(std::string("\xFF\xDA", 2), at);
        if (at == std::string::npos)
            return std::string();
        if (n == scan)
            break;
        at = JpegSegmentEnd(s, at);
    }
    const size_t end = JpegSegmentEnd(s, at);
    std::string copies;
    for (int i = 0; i < repeats; i++)
        copies += s.substr(at, end - at);
    return s.insert(end, copies);
}

// A w x h colour gradient written with libjpeg's own progressive scan script
// (ten scans), then the scan numbered `scan` (from 0) repeated `repeats`
// more times straight after itself. Empty when the scan is not found.
inline std::string ProgressiveJpeg(unsigned w, unsigned h, int scan = 1, int repeats = 0)
{
    std::vector<unsigned char> px(size_t(w) * h * 3);
    for (unsigned y = 0; y < h; y++)
        for (unsigned x = 0; x < w; x++)
        {
            unsigned char* p = &px[(size_t(y) * w + x) * 3];
            p[0] = (unsigned char)(x * 255 / (w > 1 ? w - 1 : 1));
            p[1] = (unsigned char)(y * 255 / (h > 1 ? h - 1 : 1));
            p[2] = 128;
        }
    std::string s = EncodeJpeg(px, w, h, 3, JCS_RGB,
                               [](jpeg_compress_struct* c)
                               {
                                   jpeg_set_quality(c, 95, TRUE);
                                   jpeg_simple_progression(c);
                               });
    return JpegRepeatingScan(s, scan, repeats);
}

// A flat grey w x h progressive file of three scans, the DC, one AC
// coefficient alone, then the other 63 (the first band of its kind a
// decoder spends the least on, the next the most), its one-coefficient
// scan then repeated `repeats` more times.
inline std::string FlatGreyJpeg(unsigned w, unsigned h, int repeats = 0)
{
    static const jpeg_scan_info script[] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 1, 0, 0}, {1, {0}, 2, 63, 0, 0}};
    std::vector<unsigned char> px(size_t(w) * h, 128);
    std::string s = EncodeJpeg(px, w, h, 1, JCS_GRAYSCALE,
                               [](jpeg_compress_struct* c)
                               {
                                   c->scan_info = script;
                                   c->num_scans = 3;
                               });
    return JpegRepeatingScan(s, 1, repeats);
}

// A picture with detail at every scale: gradients, edges and noise, comps
// bytes a pixel.
inline std::vector<unsigned char> PhotoLike(unsigned w, unsigned h, int comps)
{
    std::vector<unsigned char> px(size_t(w) * h * comps);
    for (unsigned y = 0; y < h; y++)
        for (unsigned x = 0; x < w; x++)
        {
            uint32_t n = x * 374761393u + y * 668265263u;
            n = (n ^ (n >> 13)) * 1274126177u;
            const int noise = int(n >> 27), edge = ((x / 37 + y / 53) & 1) * 70;
            for (int k = 0; k < comps; k++)
            {
                const int v = int((x * (k + 1) + y * (3 - k)) * 150 / (w + h)) + edge + noise;
                px[(size_t(y) * w + x) * comps + k] = (unsigned char)std::min(255, v);
            }
        }
    return px;
}

// A w x h picture (PhotoLike) written as a sequential file of one scan per
// component (luma, then the two chroma), its luma scan then repeated
// `repeats` more times.
inline std::string SequentialScansJpeg(unsigned w, unsigned h, int repeats = 0)
{
    static const jpeg_scan_info script[] = {
        {1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
    std::string s = EncodeJpeg(PhotoLike(w, h, 3), w, h, 3, JCS_RGB,
                               [](jpeg_compress_struct* c)
                               {
                                   c->scan_info = script;
                                   c->num_scans = 3;
                               });
    return JpegRepeatingScan(s, 0, repeats);
}

// How many scans a JPEG file holds (start-of-scan markers between segments).
inline int JpegScanCount(const std::string& s)
{
    int n = 0;
    for (size_t at = 2; at + 3 < s.size();)
    {
        if ((unsigned char)s[at] != 0xFF || (unsigned char)s[at + 1] == 0xD9)
            break;
        n += (unsigned char)s[at + 1] == 0xDA;
        at = JpegSegmentEnd(s, at);
    }
    return n;
}

} // namespace vztest
