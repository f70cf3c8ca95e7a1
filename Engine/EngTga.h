// A 32-bit image in memory (pixels 0xAARRGGBB, bytes blue, green, red, alpha)
// with the uncompressed true-colour TGA file format.
#pragma once

#include <cstdint>

class EngTexture;

typedef int _EngTgaAlphaType;

// Largest image a file may ask for (pixels): larger headers are refused.
#define ENG_TGA_MAX_PIXELS (16384LL * 16384LL)

class EngTga
{
public:
    EngTga();
    EngTga(int w, int h, int bpp);
    EngTga(int w, int h, int bpp, float r, float g, float b, float a);
    explicit EngTga(const char* path);
    ~EngTga();
    EngTga(const EngTga&) = delete;
    EngTga& operator=(const EngTga&) = delete;

    void Destroy();
    char CreateWithColour(int w, int h, int bpp, float r, float g, float b, float a);
    char Create(int w, int h, int bpp);
    char LoadFromFile(const char* path, char create);
    char GetSizeFromFile(const char* path, int* w, int* h, int* bpp);
    char SaveToFile(const char* path);
    char SaveToFileFromTexture(const char* path, EngTexture* t);
    char FillTexture(EngTexture* t);
    void SetDataEntryToColour(int x, int y, float r, float g, float b);
    void SetDataEntryToColourNoChecks(int x, int y, float r, float g, float b);
    void SetDataPartColour(int x, int y, int w, int h, float r, float g, float b, float a);
    void InvertAlpha();
    void InvertAlphaWithFade(float f);
    void FadeAlpha(float f);
    static uint32_t AverageTwoPixels(uint32_t p, uint32_t q);
    char CreateFromOtherTga(EngTga* other, char create);
    char CreateFromTwiceSizeData(EngTga* other, char create);
    char FillFromData(int src_w, int src_h, int src_bpp, int src_x, int src_y, int region_w, int region_h,
                      const unsigned char* data, int dst_x, int dst_y, int dst_w, int dst_h, char mirror_x,
                      char mirror_y, _EngTgaAlphaType mode, char alpha_only, float fade, char invert);
    char FillFromOtherTga(int src_x, int src_y, int region_w, int region_h, EngTga* other, int dst_x,
                          int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y,
                          _EngTgaAlphaType mode, char alpha_only, float fade, char invert);
    char FillFromJpeg(int src_x, int src_y, int region_w, int region_h, const char* path, int dst_x,
                      int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y, _EngTgaAlphaType mode,
                      char alpha_only, float fade, char invert);
    char FillFromTexture(int src_x, int src_y, int region_w, int region_h, EngTexture* t, int dst_x,
                         int dst_y, int dst_w, int dst_h, char mirror_x, char mirror_y, _EngTgaAlphaType mode,
                         float fade);
    char FillFromTextureData(int src_x, int src_y, int region_w, int region_h, int dst_x, int dst_y,
                             int dst_w, int dst_h, char mirror_x, char mirror_y, _EngTgaAlphaType mode,
                             float fade, int tex_w, int tex_h, int tex_bpp, const unsigned char* data);
    char CreateFromTexture(EngTexture* t);
    char CreateFromTextureData(int w, int h, int bpp, const unsigned char* data);

    uint32_t* m_data;
    int m_width;
    int m_height;
    int m_bpp;
    int m_size;

private:
    char DoSaveToFile(const char* path, EngTexture* t);
    // Checks a 32-bit source divisor times this image's size; with create makes this image first.
    char PrepareFromOther(const char* func, EngTga* other, char create, int divisor);
};
