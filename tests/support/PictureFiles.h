// TIFF, TGA and BMP files laid out byte by byte, and TIFFs as libtiff writes them, for tests that need files
// of a given make.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vztest
{

// One page of a TIFF: w x h pixels of `samples` bytes each (3 RGB, 1 grey)
// in one strip, compressed as `compression` says, that entry written with
// the TIFF type `compression_type` (3 SHORT; 1 BYTE, 8 SSHORT, 9 SLONG,
// 16 LONG8 and the rest as libtiff takes them).
struct TiffPage
{
    std::string strip;
    uint16_t w, h;
    uint16_t compression = 1;
    uint16_t compression_type = 3;
    uint16_t samples = 3;
};

struct TiffLayout
{
    bool little = true;
    bool big = false; // BigTIFF: 8-byte offsets and counts
    // When set, the offset written after the last directory in place of 0.
    bool last_next_set = false;
    uint64_t last_next = 0;
};

// A TIFF of the pages, each directory followed by its values and its strip.
inline std::string Tiff(const std::vector<TiffPage>& pages, const TiffLayout& l = {})
{
    std::string t;
    auto put = [&](uint64_t v, int bytes)
    {
        for (int i = 0; i < bytes; i++)
            t += char(v >> (8 * (l.little ? i : bytes - 1 - i)));
    };
    auto put_at = [&](size_t at, uint64_t v, int bytes)
    {
        for (int i = 0; i < bytes; i++)
            t[at + size_t(i)] = char(v >> (8 * (l.little ? i : bytes - 1 - i)));
    };
    const int word = l.big ? 8 : 4, count_bytes = l.big ? 8 : 2, entry_bytes = l.big ? 20 : 12;
    t += l.little ? "II" : "MM";
    if (l.big)
        put(43, 2), put(8, 2), put(0, 2);
    else
        put(42, 2);
    size_t next_at = t.size();
    put(0, word);
    auto type_bytes = [](uint16_t type) {
        return type == 1 || type == 6 ? 1 : type == 3 || type == 8 ? 2 : type >= 16 ? 8 : 4;
    };
    for (size_t p = 0; p < pages.size(); p++)
    {
        const TiffPage& pg = pages[p];
        struct Entry
        {
            uint16_t tag, type;
            std::vector<uint64_t> values;
        };
        const uint16_t photometric = pg.samples == 1 ? 1 : pg.compression == 7 || pg.compression == 6 ? 6 : 2;
        std::vector<Entry> entries = {
            {256, 3, {pg.w}},
            {257, 3, {pg.h}},
            {258, 3, std::vector<uint64_t>(pg.samples, 8)},
            {259, pg.compression_type, {pg.compression}},
            {262, 3, {photometric}},
            {273, 4, {0}}, // the strip's offset, filled in below
            {277, 3, {pg.samples}},
            {278, 3, {pg.h}},
            {279, 4, {pg.strip.size()}},
            {284, 3, {1}},
        };
        const size_t dir = t.size();
        put_at(next_at, dir, word);
        put(entries.size(), count_bytes);
        const size_t first_entry = t.size();
        t.append(entries.size() * size_t(entry_bytes), '\0');
        next_at = t.size();
        put(0, word);
        size_t strip_entry = 0;
        for (size_t e = 0; e < entries.size(); e++)
        {
            const Entry& en = entries[e];
            const size_t at = first_entry + e * size_t(entry_bytes);
            const int size = type_bytes(en.type);
            put_at(at, en.tag, 2);
            put_at(at + 2, en.type, 2);
            put_at(at + 4, en.values.size(), word);
            size_t value_at = at + 4 + size_t(word);
            if (en.values.size() * size_t(size) > size_t(word))
            {
                put_at(value_at, t.size(), word);
                value_at = t.size();
                t.append(en.values.size() * size_t(size), '\0');
            }
            for (size_t v = 0; v < en.values.size(); v++)
                put_at(value_at + v * size_t(size), en.values[v], size);
            if (en.tag == 273)
                strip_entry = value_at;
        }
        put_at(strip_entry, t.size(), 4);
        t += pg.strip;
    }
    if (l.last_next_set)
        put_at(next_at, l.last_next, word);
    return t;
}

// A TGA as common writers make it: no ID field and no colour map, the
// origin at the bottom left (rows stored from the bottom up), pixels as
// B, G, R (and A) or grey. Type 2 is true colour of 24 or 32 bits, 3 grey
// of 8, 10 true colour in run-length packets. rgba holds 4 bytes a pixel,
// top row first; grey takes the red.
inline std::string Tga(uint8_t type, int bits, uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba)
{
    std::string t(18, '\0');
    t[2] = char(type);
    t[12] = char(w & 255), t[13] = char(w >> 8);
    t[14] = char(h & 255), t[15] = char(h >> 8);
    t[16] = char(bits);
    t[17] = char(bits == 32 ? 8 : 0); // alpha bits; origin bottom left
    const int bytes = bits / 8;
    auto pixel = [&](size_t i)
    {
        const unsigned char* p = &rgba[i * 4];
        if (bytes == 1)
            return std::string(1, char(p[0]));
        std::string s = {char(p[2]), char(p[1]), char(p[0])};
        if (bytes == 4)
            s += char(p[3]);
        return s;
    };
    for (int y = h - 1; y >= 0; y--)
    {
        const size_t row = size_t(y) * w;
        if (type != 10)
        {
            for (size_t x = 0; x < w; x++)
                t += pixel(row + x);
            continue;
        }
        // Packets of up to 128 pixels within a row: a run of one repeated
        // pixel, or pixels as they come.
        for (size_t x = 0; x < w;)
        {
            size_t run = 1;
            while (x + run < w && run < 128 && pixel(row + x + run) == pixel(row + x))
                run++;
            if (run > 1)
            {
                t += char(0x80 | (run - 1));
                t += pixel(row + x);
                x += run;
                continue;
            }
            size_t raw = 1;
            while (x + raw < w && raw < 128 && pixel(row + x + raw) != pixel(row + x + raw - 1))
                raw++;
            t += char(raw - 1);
            for (size_t k = 0; k < raw; k++)
                t += pixel(row + x + k);
            x += raw;
        }
    }
    return t;
}

// A 24-bit BMP as common writers make it: a 40-byte information header,
// rows from the bottom up, B, G, R, each row padded to 4 bytes. rgba holds 4
// bytes a pixel, top row first; the alpha is left out.
inline std::string Bmp(uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba)
{
    const uint32_t row = (uint32_t(w) * 3 + 3) / 4 * 4, pixels = row * h, size = 54 + pixels;
    std::string b = "BM";
    auto put = [&](uint32_t v, int bytes)
    {
        for (int i = 0; i < bytes; i++)
            b += char(v >> (8 * i));
    };
    put(size, 4), put(0, 4), put(54, 4);
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(24, 2), put(0, 4), put(pixels, 4);
    put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (int y = h - 1; y >= 0; y--)
    {
        for (size_t x = 0; x < w; x++)
        {
            const unsigned char* p = &rgba[(size_t(y) * w + x) * 4];
            b += {char(p[2]), char(p[1]), char(p[0])};
        }
        b.append(row - uint32_t(w) * 3, '\0');
    }
    return b;
}

// A TIFF of the picture's pixels as libtiff writes it at path, compressed as
// asked: samples bytes a pixel, R, G, B (and an alpha not premultiplied).
// Gives the file's bytes, "" when libtiff could not write it.
inline std::string LibtiffWritten(const std::string& path, uint16_t compression,
                                  const std::vector<unsigned char>& px, uint32_t w, uint32_t h,
                                  uint16_t samples = 3)
{
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t)
        return std::string();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    if (samples == 4)
    {
        const uint16_t unassociated = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &unassociated);
    }
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 3);
    bool ok = true;
    for (uint32_t y = 0; y < h; y++)
        ok = ok && TIFFWriteScanline(t, const_cast<unsigned char*>(&px[size_t(y) * w * samples]), y, 0) == 1;
    TIFFClose(t);
    std::string s;
    if (FILE* f = ok ? fopen(path.c_str(), "rb") : nullptr)
    {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof(buf), f)) > 0;)
            s.append(buf, n);
        fclose(f);
    }
    return s;
}

} // namespace vztest
