// Fixed-width integers and the small records shared by every engine module.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int8_t EngInt8;
typedef uint8_t EngUInt8;
typedef int16_t EngInt16;
typedef uint16_t EngUInt16;
typedef int32_t EngInt32;
typedef uint32_t EngUInt32;
typedef int64_t EngInt64;
typedef uint64_t EngUInt64;

typedef char ENG_CHAR;

// Length of the text IDs of collections, windows, widgets, textures and fonts.
#define ENG_ID_SIZE 32

struct _Vector2d
{
    float x, y;
};

struct _Vector3d
{
    float x, y, z;
};

// A point is inside when x <= px < x + w and y <= py < y + h.
struct _Dimension
{
    float x, y, w, h;
};

struct _ColourRGB
{
    float r, g, b;
};

struct _ColourRGBA
{
    float r, g, b, a;
};

struct _TexCoords
{
    float left, top, right, bottom;
};

// Builds a four-character code such as 'MAIN' from its letters.
constexpr uint32_t EngFourCC(char a, char b, char c, char d)
{
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) | (uint32_t(uint8_t(c)) << 8) |
           uint32_t(uint8_t(d));
}
