// PNG files put together chunk by chunk for the texture tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int data_len, int* out_len, int quality);

namespace vztest
{

inline uint32_t PngCrc(const std::string& bytes)
{
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
    {
        c ^= b;
        for (int k = 0; k < 8; k++)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

inline std::string Be32(uint32_t v)
{
    return {char(v >> 24), char((v >> 16) & 255), char((v >> 8) & 255), char(v & 255)};
}

inline std::string PngChunk(const std::string& type, const std::string& data)
{
    return Be32(uint32_t(data.size())) + type + data + Be32(PngCrc(type + data));
}

// A whole file from its header fields and its scanlines, each already led by
// its filter byte.
inline std::string PngFile(uint32_t w, uint32_t h, int depth, int colour_type, bool interlaced,
                           std::string scanlines)
{
    std::string ihdr =
        Be32(w) + Be32(h) + char(depth) + char(colour_type) + char(0) + char(0) + char(interlaced ? 1 : 0);
    int len = 0;
    unsigned char* z =
        stbi_zlib_compress(reinterpret_cast<unsigned char*>(&scanlines[0]), int(scanlines.size()), &len, 8);
    std::string idat(reinterpret_cast<char*>(z), size_t(len));
    std::free(z);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IDAT", idat) +
           PngChunk("IEND", "");
}

} // namespace vztest
