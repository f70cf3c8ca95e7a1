// TIFF, TGA, BMP, PNG, GIF and PNM files laid out byte by byte, and TIFFs as libtiff writes them, for tests
// that need files of a given make.
#pragma once

#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "GL/PngChunks.h"

namespace vztest
{

// One page of a TIFF: w x h pixels of `samples` bytes each (3 RGB, 1 grey)
// in one strip, compressed as `compression` says, that entry written with
// the TIFF type `compression_type` (3 SHORT; 1 BYTE, 8 SSHORT, 9 SLONG,
// 16 LONG8 and the rest as libtiff takes them).
// With rows_per_strip set, or tiles of tile_w x tile_h, the page's arrays of
// offsets and byte counts (SHORT for a strip under 64 KB) hold `pieces`
// entries, each naming that one strip or tile (or with `copies`, a copy of
// its own), whatever number its rows or tiles imply. An extra_tag adds an
// entry of that tag and type (UNDEFINED unless set) whose value is the bytes
// of `extra`, as the file's byte order has them; unknown_tags adds as many
// entries of distinct tags nobody defines (from 65535 down).
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
    uint16_t extra_tag = 0, extra_type = 7;
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
            entries.push_back({pg.extra_tag, pg.extra_type,
                               pg.extra.size() / uint64_t(type_bytes(pg.extra_type)), 0, &pg.extra});
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

// The colours of a picture (4 bytes a pixel) in the order they first come,
// at most max of them; false when there are more.
inline bool PaletteOf(const std::vector<unsigned char>& rgba, size_t max, std::vector<uint32_t>* colours,
                      std::vector<unsigned char>* index)
{
    colours->clear();
    index->clear();
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
    {
        const uint32_t c = uint32_t(rgba[i]) | uint32_t(rgba[i + 1]) << 8 | uint32_t(rgba[i + 2]) << 16 |
                           uint32_t(rgba[i + 3]) << 24;
        size_t k = 0;
        while (k < colours->size() && (*colours)[k] != c)
            k++;
        if (k == colours->size())
        {
            if (k == max)
                return false;
            colours->push_back(c);
        }
        index->push_back((unsigned char)k);
    }
    return true;
}

// Where a TGA's first stored pixel is (bits 4 and 5 of its descriptor).
enum TgaOrigin : uint8_t
{
    TGA_BOTTOM_LEFT = 0,
    TGA_BOTTOM_RIGHT = 0x10,
    TGA_TOP_LEFT = 0x20,
    TGA_TOP_RIGHT = 0x30,
};

// A TGA with no ID field, pixels from the origin given (by default the
// bottom left, rows stored from the bottom up, as common writers make it).
// Types 2 and 10 (run-length packets) are true colour of 15, 16 (5 bits a
// colour and, for 16, an alpha bit), 24 or 32 bits, B, G, R (and A); 3 and
// 11 grey of 8 bits, or 16 with alpha; 1 and 9 colour-mapped, one byte an
// index into a map of entries of `bits` (15, 16, 24 or 32). rgba holds 4
// bytes a pixel, top row first; grey takes the red. "" when a colour map
// cannot hold the colours.
inline std::string Tga(uint8_t type, int bits, uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba,
                       uint8_t origin = TGA_BOTTOM_LEFT)
{
    const bool mapped = type == 1 || type == 9, grey = type == 3 || type == 11;
    std::vector<uint32_t> colours;
    std::vector<unsigned char> index;
    if (mapped && !PaletteOf(rgba, 256, &colours, &index))
        return std::string();
    auto colour = [&](const unsigned char* p, int depth)
    {
        if (grey)
            return depth == 16 ? std::string{char(p[0]), char(p[3])} : std::string(1, char(p[0]));
        if (depth == 15 || depth == 16)
        {
            const unsigned v = unsigned(p[0] >> 3) << 10 | unsigned(p[1] >> 3) << 5 | unsigned(p[2] >> 3) |
                               (depth == 16 && p[3] >= 128 ? 0x8000u : 0u);
            return std::string{char(v & 255), char(v >> 8)};
        }
        std::string s = {char(p[2]), char(p[1]), char(p[0])};
        if (depth == 32)
            s += char(p[3]);
        return s;
    };
    std::string t(18, '\0');
    t[2] = char(type);
    if (mapped)
    {
        t[1] = 1;
        t[5] = char(colours.size() & 255), t[6] = char(colours.size() >> 8);
        t[7] = char(bits);
    }
    t[12] = char(w & 255), t[13] = char(w >> 8);
    t[14] = char(h & 255), t[15] = char(h >> 8);
    t[16] = char(mapped ? 8 : bits);
    const int alpha_bits = bits == 32 || (grey && bits == 16) ? 8 : bits == 16 ? 1 : 0;
    t[17] = char(alpha_bits | origin);
    for (uint32_t c : colours)
    {
        const unsigned char p[4] = {(unsigned char)c, (unsigned char)(c >> 8), (unsigned char)(c >> 16),
                                    (unsigned char)(c >> 24)};
        t += colour(p, bits);
    }
    auto pixel = [&](size_t i)
    { return mapped ? std::string(1, char(index[i])) : colour(&rgba[i * 4], bits); };
    const bool top_down = origin & TGA_TOP_LEFT, right_to_left = origin & TGA_BOTTOM_RIGHT;
    for (int r = 0; r < h; r++)
    {
        const size_t row = size_t(top_down ? r : h - 1 - r) * w;
        auto at = [&](size_t x) { return pixel(row + (right_to_left ? w - 1 - x : x)); };
        if (type < 9)
        {
            for (size_t x = 0; x < w; x++)
                t += at(x);
            continue;
        }
        // Packets of up to 128 pixels within a row: a run of one repeated
        // pixel, or pixels as they come.
        for (size_t x = 0; x < w;)
        {
            size_t run = 1;
            while (x + run < w && run < 128 && at(x + run) == at(x))
                run++;
            if (run > 1)
            {
                t += char(0x80 | (run - 1));
                t += at(x);
                x += run;
                continue;
            }
            size_t raw = 1;
            while (x + raw < w && raw < 128 && at(x + raw) != at(x + raw - 1))
                raw++;
            t += char(raw - 1);
            for (size_t k = 0; k < raw; k++)
                t += at(x + k);
            x += raw;
        }
    }
    return t;
}

// How a BMP is written: its bits a pixel (1, 4 and 8 through a palette of
// the picture's colours; 16 as 5 bits a colour; 24; 32 as B, G, R, A),
// its rows from the top down (a negative height), and its compression (0
// none; 1 run-length coded, 8 bits a pixel; 3 bit fields, 16 bits as 5, 6
// and 5, 32 with an alpha mask in a version 4 header).
struct BmpKind
{
    int bits = 24;
    bool top_down = false;
    int compression = 0;
};

// A BMP as common writers make it: an information header of 40 bytes (108
// with an alpha mask), rows from the bottom up, each padded to 4 bytes.
// rgba holds 4 bytes a pixel, top row first; only 32 bits keep the alpha.
// "" when a palette cannot hold the colours.
inline std::string Bmp(uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba, const BmpKind& k = {})
{
    std::vector<uint32_t> colours;
    std::vector<unsigned char> index;
    if (k.bits <= 8 && !PaletteOf(rgba, size_t(1) << k.bits, &colours, &index))
        return std::string();
    const bool masks = k.compression == 3, v4 = masks && k.bits == 32;
    const uint32_t header = v4 ? 108 : 40, mask_bytes = masks && !v4 ? 12 : 0;
    const uint32_t palette = uint32_t(colours.size()) * 4, offset = 14 + header + mask_bytes + palette;
    std::string pixels;
    for (int r = 0; r < h; r++)
    {
        const size_t row = size_t(k.top_down ? r : h - 1 - r) * w;
        std::string line;
        if (k.compression == 1)
        {
            // Runs of one index, at most 255 long; the row's end.
            for (size_t x = 0; x < w;)
            {
                size_t run = 1;
                while (x + run < w && run < 255 && index[row + x + run] == index[row + x])
                    run++;
                pixels += {char(run), char(index[row + x])};
                x += run;
            }
            pixels += std::string(r + 1 < h ? "\0\0" : "\0\1", 2);
            continue;
        }
        unsigned bits = 0, count = 0;
        for (size_t x = 0; x < w; x++)
        {
            const unsigned char* p = &rgba[(row + x) * 4];
            if (k.bits <= 8)
            {
                bits = bits << k.bits | index[row + x];
                count += unsigned(k.bits);
                if (count == 8)
                    line += char(bits), bits = 0, count = 0;
            }
            else if (k.bits == 16)
            {
                const unsigned v =
                    masks ? unsigned(p[0] >> 3) << 11 | unsigned(p[1] >> 2) << 5 | unsigned(p[2] >> 3)
                          : unsigned(p[0] >> 3) << 10 | unsigned(p[1] >> 3) << 5 | unsigned(p[2] >> 3);
                line += {char(v & 255), char(v >> 8)};
            }
            else
            {
                line += {char(p[2]), char(p[1]), char(p[0])};
                if (k.bits == 32)
                    line += char(p[3]);
            }
        }
        if (count)
            line += char(bits << (8 - count));
        line.append((4 - line.size() % 4) % 4, '\0');
        pixels += line;
    }
    std::string b = "BM";
    auto put = [&](uint32_t v, int bytes)
    {
        for (int i = 0; i < bytes; i++)
            b += char(v >> (8 * i));
    };
    put(offset + uint32_t(pixels.size()), 4), put(0, 4), put(offset, 4);
    put(header, 4), put(w, 4), put(k.top_down ? uint32_t(-int32_t(h)) : h, 4), put(1, 2),
        put(uint32_t(k.bits), 2);
    put(uint32_t(k.compression), 4), put(uint32_t(pixels.size()), 4);
    put(2835, 4), put(2835, 4), put(uint32_t(colours.size()), 4), put(0, 4);
    if (v4)
    {
        put(0x00FF0000, 4), put(0x0000FF00, 4), put(0x000000FF, 4), put(0xFF000000, 4);
        put(0x73524742, 4); // "sRGB"
        b.append(48, '\0');
    }
    else if (masks)
        put(0xF800, 4), put(0x07E0, 4), put(0x001F, 4);
    for (uint32_t c : colours)
        put((c >> 16 & 255) | (c & 0xFF00) | (c & 255) << 16, 4);
    return b + pixels;
}

// How a PNG is written: its colour type (0 grey, 2 RGB, 3 a palette of the
// picture's colours, 4 grey and alpha, 6 RGBA), its bits a sample (1, 2, 4,
// 8 or 16; below 8, a grey is its red's top bits), and Adam7 interlacing.
struct PngKind
{
    int colour_type = 2;
    int depth = 8;
    bool interlaced = false;
};

// A PNG of the picture (4 bytes a pixel, top row first); a palette with an
// alpha below 255 comes with its transparency. "" when a palette cannot
// hold the colours.
inline std::string Png(uint32_t w, uint32_t h, const std::vector<unsigned char>& rgba, const PngKind& k = {})
{
    std::vector<uint32_t> colours;
    std::vector<unsigned char> index;
    if (k.colour_type == 3 && !PaletteOf(rgba, size_t(1) << k.depth, &colours, &index))
        return std::string();
    const int samples = k.colour_type == 2 ? 3 : k.colour_type == 4 ? 2 : k.colour_type == 6 ? 4 : 1;
    // The samples of pixel i, each of depth bits.
    auto sample = [&](size_t i, int s) -> unsigned
    {
        if (k.colour_type == 3)
            return index[i];
        const unsigned char* p = &rgba[i * 4];
        const int from = k.colour_type == 4 ? (s == 0 ? 0 : 3) : s;
        return k.depth == 16 ? p[from] * 257u : unsigned(p[from]) >> (8 - k.depth);
    };
    // One pass's rows (the whole picture when not interlaced), each led by
    // its filter byte (none).
    auto rows = [&](uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy)
    {
        std::string out;
        if (x0 >= w || y0 >= h)
            return out;
        for (uint32_t y = y0; y < h; y += dy)
        {
            out += '\0';
            unsigned bits = 0, count = 0;
            for (uint32_t x = x0; x < w; x += dx)
                for (int s = 0; s < samples; s++)
                {
                    const unsigned v = sample(size_t(y) * w + x, s);
                    if (k.depth == 16)
                        out += {char(v >> 8), char(v & 255)};
                    else if (k.depth == 8)
                        out += char(v);
                    else
                    {
                        bits = bits << k.depth | v;
                        count += unsigned(k.depth);
                        if (count == 8)
                            out += char(bits), bits = 0, count = 0;
                    }
                }
            if (count)
                out += char(bits << (8 - count));
        }
        return out;
    };
    std::string scanlines;
    if (!k.interlaced)
        scanlines = rows(0, 0, 1, 1);
    else
    {
        static const uint32_t adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : adam7)
            scanlines += rows(p[0], p[1], p[2], p[3]);
    }
    std::string plte, trns;
    bool clear = false;
    for (uint32_t c : colours)
    {
        plte += {char(c & 255), char(c >> 8 & 255), char(c >> 16 & 255)};
        trns += char(c >> 24);
        clear = clear || (c >> 24) != 255;
    }
    std::string ihdr = Be32(w) + Be32(h) + char(k.depth) + char(k.colour_type) + char(0) + char(0) +
                       char(k.interlaced ? 1 : 0);
    int len = 0;
    unsigned char* z =
        stbi_zlib_compress(reinterpret_cast<unsigned char*>(&scanlines[0]), int(scanlines.size()), &len, 8);
    const std::string idat(reinterpret_cast<char*>(z), size_t(len));
    std::free(z);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) +
           (plte.empty() ? std::string() : PngChunk("PLTE", plte)) +
           (clear ? PngChunk("tRNS", trns) : std::string()) + PngChunk("IDAT", idat) + PngChunk("IEND", "");
}

// How a GIF is written: its rows interlaced, and a second picture after the
// first (the first one's colours turned about), as an animation has.
struct GifKind
{
    bool interlaced = false;
    bool second_frame = false;
};

// A GIF of the picture (4 bytes a pixel, top row first) through a global
// colour table of its colours; pixels of alpha below 128 are transparent.
// The codes are 9 bits long and the table is cleared before it grows. ""
// when the table cannot hold the colours.
inline std::string Gif(uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba, const GifKind& k = {})
{
    std::vector<unsigned char> opaque = rgba;
    for (size_t i = 3; i < opaque.size(); i += 4)
        if (opaque[i] < 128)
            opaque[i - 3] = opaque[i - 2] = opaque[i - 1] = 0, opaque[i] = 0;
        else
            opaque[i] = 255;
    std::vector<uint32_t> colours;
    std::vector<unsigned char> index;
    if (!PaletteOf(opaque, 256, &colours, &index))
        return std::string();
    int transparent = -1;
    for (size_t c = 0; c < colours.size(); c++)
        if (colours[c] >> 24 == 0)
            transparent = int(c);
    auto le16 = [](unsigned v) { return std::string{char(v & 255), char(v >> 8 & 255)}; };
    std::string g = "GIF89a" + le16(w) + le16(h) + char(0xF7) + char(0) + char(0);
    for (size_t c = 0; c < 256; c++)
    {
        const uint32_t v = c < colours.size() ? colours[c] : 0;
        g += {char(v & 255), char(v >> 8 & 255), char(v >> 16 & 255)};
    }
    auto frame = [&](bool turned)
    {
        if (transparent >= 0)
            g += std::string("\x21\xF9\x04\x01\0\0", 6) + char(transparent) + '\0';
        g += std::string("\x2C\0\0\0\0", 5) + le16(w) + le16(h) + char(k.interlaced ? 0x40 : 0);
        std::vector<uint32_t> order;
        for (uint32_t pass = 0; pass < (k.interlaced ? 4u : 1u); pass++)
        {
            static const uint32_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (uint32_t y = k.interlaced ? start[pass] : 0; y < h; y += k.interlaced ? step[pass] : 1)
                order.push_back(y);
        }
        std::string codes;
        uint32_t bits = 0, count = 0;
        auto put = [&](unsigned code)
        {
            bits |= uint32_t(code) << count;
            for (count += 9; count >= 8; count -= 8, bits >>= 8)
                codes += char(bits & 255);
        };
        int since_clear = 0;
        put(256);
        for (uint32_t y : order)
            for (uint32_t x = 0; x < w; x++)
            {
                if (since_clear == 253)
                    put(256), since_clear = 0;
                const unsigned char i = index[size_t(y) * w + x];
                put(turned ? unsigned(colours.size() - 1 - i) : i);
                since_clear++;
            }
        put(257);
        if (count)
            codes += char(bits & 255);
        g += char(8);
        for (size_t at = 0; at < codes.size(); at += 255)
        {
            const size_t n = std::min<size_t>(255, codes.size() - at);
            g += char(n);
            g += codes.substr(at, n);
        }
        g += '\0';
    };
    frame(false);
    if (k.second_frame)
        frame(true);
    return g + ";";
}

// A PNM of the picture (4 bytes a pixel, top row first) of kind 1 to 6: P1
// and P4 bitmaps (black where the red is below 128), P2 and P5 grey (the
// red), P3 and P6 RGB; 1 to 3 in text, 4 to 6 in bytes.
inline std::string Pnm(int kind, uint16_t w, uint16_t h, const std::vector<unsigned char>& rgba)
{
    const bool bitmap = kind == 1 || kind == 4, text = kind <= 3;
    const int samples = kind == 3 || kind == 6 ? 3 : 1;
    std::string p = "P" + std::to_string(kind) + "\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
    if (!bitmap)
        p += "255\n";
    for (size_t y = 0; y < h; y++)
    {
        unsigned bits = 0, count = 0;
        for (size_t x = 0; x < w; x++)
            for (int s = 0; s < samples; s++)
            {
                const unsigned char v = rgba[(y * w + x) * 4 + size_t(s)];
                if (bitmap && text)
                    p += v < 128 ? "1 " : "0 ";
                else if (bitmap)
                {
                    bits = bits << 1 | (v < 128 ? 1u : 0u);
                    if (++count == 8)
                        p += char(bits), bits = 0, count = 0;
                }
                else if (text)
                    p += std::to_string(v) + " ";
                else
                    p += char(v);
            }
        if (count)
            p += char(bits << (8 - count));
        if (text)
            p += "\n";
    }
    return p;
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
