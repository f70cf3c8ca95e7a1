// TIFF, TGA and BMP files laid out byte by byte, and TIFFs as libtiff writes them, for tests that need files
// of a given make.
#pragma once

#include <tiffio.h>

#include <algorithm>
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
// With rows_per_strip set, or tiles of tile_w x tile_h, the page's arrays of
// offsets and byte counts (SHORT for a strip under 64 KB) hold `pieces`
// entries, each naming that one strip or tile (or with `copies`, a copy of
// its own), whatever number its rows or tiles imply. An extra_tag
// adds an entry of that tag whose value is the bytes of `extra`; unknown_tags
// adds as many entries of distinct tags nobody defines (from 65535 down).
struct TiffPage
{
    std::string strip;
    uint32_t w, h;
    uint16_t compression = 1;
    uint16_t compression_type = 3;
    uint16_t samples = 3;
    uint32_t rows_per_strip = 0; // 0: all rows in one strip
    uint32_t pieces = 1;
    bool copies = false;
    uint32_t tile_w = 0, tile_h = 0;
    uint16_t extra_tag = 0;
    std::string extra = "";
    uint16_t unknown_tags = 0;
};

struct TiffLayout
{
    bool little = true;
    bool big = false; // BigTIFF: 8-byte offsets and counts
    // When set, the offset written after the last directory in place of 0.
    bool last_next_set = false;
    uint64_t last_next = 0;
    // A page whose arrays hold as many entries as an earlier page's, or
    // whose extra value is as long, names those bytes (and that strip)
    // instead of writing its own.
    bool share = false;
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
        return type == 1 || type == 6 || type == 7 ? 1 : type == 3 || type == 8 ? 2 : type >= 16 ? 8 : 4;
    };
    struct Written
    {
        uint16_t tag;
        uint64_t count, at;
    };
    std::vector<Written> written; // values out of line, for pages that share them
    for (const TiffPage& pg : pages)
    {
        struct Entry
        {
            uint16_t tag, type;
            uint64_t count;
            uint64_t value = 0;                 // every value
            const std::string* bytes = nullptr; // or these
        };
        const bool tiled = pg.tile_w != 0, many = tiled || pg.rows_per_strip != 0;
        const uint32_t n = many ? pg.pieces : 1;
        const uint16_t photometric = pg.samples == 1 ? 1 : pg.compression == 7 || pg.compression == 6 ? 6 : 2;
        auto long_or_short = [](uint64_t v) { return uint16_t(v > 65535 ? 4 : 3); };
        const uint16_t count_type = many ? long_or_short(pg.strip.size()) : 4;
        std::vector<Entry> entries = {
            {256, long_or_short(pg.w), 1, pg.w},
            {257, long_or_short(pg.h), 1, pg.h},
            {258, 3, pg.samples, 8},
            {259, pg.compression_type, 1, pg.compression},
            {262, 3, 1, photometric},
            {277, 3, 1, pg.samples},
            {284, 3, 1, 1},
        };
        if (tiled)
            entries.insert(entries.end(), {{322, long_or_short(pg.tile_w), 1, pg.tile_w},
                                           {323, long_or_short(pg.tile_h), 1, pg.tile_h},
                                           {324, 4, n},
                                           {325, count_type, n, pg.strip.size()}});
        else
            entries.insert(entries.end(), {{273, 4, n},
                                           {278, long_or_short(pg.h), 1, many ? pg.rows_per_strip : pg.h},
                                           {279, count_type, n, pg.strip.size()}});
        if (pg.extra_tag)
            entries.push_back({pg.extra_tag, 7, pg.extra.size(), 0, &pg.extra});
        for (uint16_t k = 0; k < pg.unknown_tags; k++)
            entries.push_back({uint16_t(65535 - k), 3, 1, k});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.tag < b.tag; });

        const size_t dir = t.size();
        put_at(next_at, dir, word);
        put(entries.size(), count_bytes);
        const size_t first_entry = t.size();
        t.append(entries.size() * size_t(entry_bytes), '\0');
        next_at = t.size();
        put(0, word);
        size_t offsets_at = 0, offsets = 0;
        bool shared_piece = false;
        for (size_t e = 0; e < entries.size(); e++)
        {
            const Entry& en = entries[e];
            const size_t at = first_entry + e * size_t(entry_bytes);
            const uint64_t size = uint64_t(type_bytes(en.type)) * en.count;
            put_at(at, en.tag, 2);
            put_at(at + 2, en.type, 2);
            put_at(at + 4, en.count, word);
            size_t value_at = at + 4 + size_t(word);
            if (size > uint64_t(word))
            {
                const Written* earlier = nullptr;
                for (const Written& w : written)
                    if (l.share && w.tag == en.tag && w.count == en.count)
                        earlier = &w;
                if (earlier)
                {
                    put_at(value_at, earlier->at, word);
                    shared_piece = shared_piece || en.tag == 273 || en.tag == 324;
                    continue;
                }
                put_at(value_at, t.size(), word);
                value_at = t.size();
                written.push_back({en.tag, en.count, value_at});
                t.append(size_t(size), '\0');
            }
            if (en.bytes)
                t.replace(value_at, en.bytes->size(), *en.bytes);
            else
                for (uint64_t v = 0; v < en.count; v++)
                    put_at(value_at + size_t(v) * size_t(type_bytes(en.type)), en.value, type_bytes(en.type));
            if (en.tag == 273 || en.tag == 324)
                offsets_at = value_at, offsets = size_t(en.count);
        }
        const size_t piece_at = t.size(), step = pg.copies ? pg.strip.size() : 0;
        for (size_t v = 0; v < offsets; v++)
            put_at(offsets_at + v * 4, piece_at + v * step, 4);
        for (size_t v = 0; !shared_piece && v < (pg.copies ? offsets : 1); v++)
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
// asked: `samples` a pixel (1 grey, 2 grey and alpha, 3 R, G, B, 4 R, G, B
// and alpha, 5 C, M, Y, K and alpha) of `bits` each (8, or 16 in the
// machine's byte order; 1 is a bilevel picture, 0 white, its rows packed
// into bytes), the alpha of the given kind. With a colour map (red, green,
// blue, 256 entries each) the first sample is a palette index. Gives the
// file's bytes, "" when libtiff could not write it.
inline std::string LibtiffWritten(const std::string& path, uint16_t compression,
                                  const std::vector<unsigned char>& px, uint32_t w, uint32_t h,
                                  uint16_t samples = 3, uint16_t bits = 8,
                                  uint16_t alpha = EXTRASAMPLE_UNASSALPHA,
                                  const std::vector<uint16_t>* colour_map = nullptr)
{
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t)
        return std::string();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    if (samples % 2 == 0 || samples == 5)
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &alpha);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 colour_map     ? PHOTOMETRIC_PALETTE
                 : bits == 1    ? PHOTOMETRIC_MINISWHITE
                 : samples < 3  ? PHOTOMETRIC_MINISBLACK
                 : samples == 5 ? PHOTOMETRIC_SEPARATED
                                : PHOTOMETRIC_RGB);
    if (colour_map && colour_map->size() == 3 * 256)
        TIFFSetField(t, TIFFTAG_COLORMAP, colour_map->data(), colour_map->data() + 256,
                     colour_map->data() + 512);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 3);
    const size_t row = (size_t(w) * samples * bits + 7) / 8;
    bool ok = px.size() >= row * h;
    for (uint32_t y = 0; ok && y < h; y++)
        ok = TIFFWriteScanline(t, const_cast<unsigned char*>(&px[size_t(y) * row]), y, 0) == 1;
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
