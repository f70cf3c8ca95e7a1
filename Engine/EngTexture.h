// A texture handle: the engine's one kind of image on the graphics card. It
// owns a device record (EngTextureGL) and forwards to it on the OpenGL device.
#pragma once

#include <cstddef>

#include "EngTypes.h"

class EngTextureGL;

// Filled by PrepareToGetPixelData: the read-back buffer's layout.
struct _EngTextureGetPixelDataInfo
{
    EngInt32 bytes_per_pixel;
    EngInt32 pitch;
    EngInt32 width;
    EngInt32 height;
};

struct _EngTextureCopyPartSettings
{
    int blend_kind; // 1 multiply with mixing, 2 multiply, else plain
};

// A caller-made quad: four strip vertices.
struct _EngTextureCornersInfo
{
    float pos[4][3];
    float tcs[4][2];
    float colours[4][4];
};

class EngTexture
{
public:
    EngTexture();
    ~EngTexture();
    EngTexture(const EngTexture&) = delete;
    EngTexture& operator=(const EngTexture&) = delete;

    char Create();
    void Destroy();
    EngTextureGL* GetGL() { return gl; }

    // Loaders that take the file's format from its content.
    char LoadFromBmpFile(const char* file, char keep_alpha, char alpha_type, char);
    char LoadFromJpegFile(const char* file, char keep_alpha, char alpha_type, char);
    char LoadFromTgaFile(const char* file, char keep_alpha, char alpha_type, char);
    char LoadFromPngFile(const char* file, char keep_alpha, char alpha_type, char);
    char LoadFromFileUsingExt(const char* file, char keep_alpha, char alpha_type, int kind);
    char LoadFromFileToMemoryUsingExt(const char* file, char keep_alpha, char alpha_type, int kind);
    char CreateEmptyTexture(int width, int height, char alpha);

    // Pixel edits over a rectangle (negative sizes: the whole texture).
    char SetPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3);
    char ClearTexturePart(int x, int y, int w, int h);
    char InvertTexturePart(int x, int y, int w, int h, float p0, float p1, float p2, float p3);
    char MultiplyTextPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3);
    char PowerTextPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3);
    char CopyPartFromAnotherTexture(EngTexture* from, int fx, int fy, int fw, int fh, int tx, int ty, int tw,
                                    int th, char blend, _EngTextureCopyPartSettings* settings);

    char IsOk();
    int GetWidth();
    int GetHeight();
    int GetOrigWidth();
    int GetOrigHeight();
    int GetNumChannels();
    _TexCoords* GetTCs();
    char GetTCs(float* l, float* t, float* r, float* b);
    _TexCoords* GetTexCoordinates();
    char AreFullTexCoordinatesSet();
    void Set3dDrawDir(char dir);
    char Get3dDrawDir();
    char BindTexture_GL();
    void UnbindTexture_GL();
    void DestroyAllExceptTextureInMemory_GL();
    void PositionPure(float x, float y, float w, float h);
    void PositionPure(const _Dimension* d);
    void PositionRatioed(int x, int y, int w, int h);
    void PositionRatioed(float x, float y, float w, float h);
    void PositionRatioed(const _Dimension* d);
    void Position3dVec3(char axis, _Vector3d* a, _Vector3d* b);
    void SetTextureCoordinates(float l, float t, float r, float b);
    void SetTextureCoordinates(_TexCoords* tc);
    void RestoreTexCoordinates();
    void SetColour(float r, float g, float b, float a);
    void SetColour(const _ColourRGBA* c);
    void RestoreColour();
    void SetAlphaLevel(float a);
    void RestoreColourAndAlpha();
    void SetCornerColour(int corner, float r, float g, float b, float a);
    void SetCornerColour(int corner, const _ColourRGBA* c);
    void SetNormal(float x, float y, float z);
    void SetNormal(const _Vector3d* n);
    void SetSpecularColour(float r, float g, float b, float a);
    void Draw();
    void DrawPure();
    void DrawWithColour(float r, float g, float b, float a);
    void DrawWithColour(const _ColourRGBA* c);
    void DrawWithColourPure(float r, float g, float b, float a);
    void DrawPart(float l, float t, float r, float b);
    void DrawPart(_TexCoords* tc);
    void DrawPartPure(float l, float t, float r, float b);
    void DrawPartPure(_TexCoords* tc);
    void DrawPartWithColour(float l, float t, float r, float b, float cr, float cg, float cb, float ca);
    void DrawPartWithColour(float l, float t, float r, float b, const _ColourRGBA* c);
    void DrawPartWithColour(_TexCoords* tc, const _ColourRGBA* c);
    void DrawPartWithColourPure(float l, float t, float r, float b, float cr, float cg, float cb, float ca);
    void DrawPartWithColourPure(_TexCoords* tc, float cr, float cg, float cb, float ca);
    void PositionRatioedAndDraw(int x, int y, int w, int h);
    void PositionRatioedAndDraw(float x, float y, float w, float h);
    void PositionRatioedAndDraw(const _Dimension* d);
    void PositionPureAndDraw(float x, float y, float w, float h);
    void PositionPureAndDraw(const _Dimension* d);
    void DrawSpecifyingCorners(_EngTextureCornersInfo* info);
    void DrawInParts(float cw, float ch, float tcw, float tch, char centre);
    void DrawInPartsPure(float cw, float ch, float tcw, float tch, char centre);
    void DrawInPartsHorz(float cw, float tcw, char centre);
    void DrawInPartsHorzPure(float cw, float tcw, char centre);
    void DrawInPartsVert(float ch, float tch, char centre);
    void DrawInPartsVertPure(float ch, float tch, char centre);
    char LoadFromFile(const char* file, char keep_alpha, char alpha_type);
    char LoadFromFileAndShrinkToHalfSize_GL(const char* file, char keep_alpha, char alpha_type);
    char LoadFromFileToMemory(const char* file, char keep_alpha, char alpha_type, char scale_to_fit);
    char LoadEmptyTextureToMemory(int* width, int* height, char alpha);
    char LoadFromTextureInMemory(_TexCoords* out);
    char CreateEmptyTexture(int* width, int* height, char alpha);
    char UpscaleImageDataInMemoryToNearestPowerOfTwoFast_GL(_TexCoords* out);
    char ShrinkDataInMemoryToHalfSize_GL();
    char IsTextureLoadedToMemory();
    char IsTextureLoadedToMemoryAndReadyToBeLoaded();
    char GetTexInMemoryInfo(int* w, int* h, int* fw, int* fh, int* ch);
    void FreeTextureInMemory();
    unsigned char* AllocAndGetTextureImageData();
    unsigned char* AllocEmptyTextureImageData(char clear);
    void FreeAllocatedTextureImageData();
    char IsTextureImageDataAllocated();
    unsigned char* GetAllocatedTextureImageData();
    size_t GetAllocatedTextureImageDataSize();
    char UpdateTextureFromData(unsigned char* pixels);
    char UpdateTextureFromAllocatedImageData();
    char PrepareToGetPixelData(_EngTextureGetPixelDataInfo* info, char a, char b);
    unsigned char* GetPixelDataBuffer(_EngTextureGetPixelDataInfo* info);
    int GetPixelDataPitch(_EngTextureGetPixelDataInfo* info);
    char GetPixelData(_EngTextureGetPixelDataInfo* info, int x, int y, unsigned char* r, unsigned char* g,
                      unsigned char* b, unsigned char* a);
    char SetPixelData(_EngTextureGetPixelDataInfo* info, int x, int y, unsigned char r, unsigned char g,
                      unsigned char b, unsigned char a);
    char UpdateTextureFromModifiedPixelDataBuffer(_EngTextureGetPixelDataInfo* info);
    char RestoreAfterGettingPixelData(_EngTextureGetPixelDataInfo* info);
    char SetTextureFromExternalPixelDataBuffer(unsigned char* pixels, char has_alpha);
    char TransformPixels(int kind, int x, int y, int w, int h, float p0, float p1, float p2, float p3);
    char CopyPartFromAnotherTexture(EngTexture* from, float fx, float fy, float fw, float fh, float tx,
                                    float ty, float tw, float th, char blend,
                                    _EngTextureCopyPartSettings* settings);
    char CopyAlphaChannelFromAnotherTexture(EngTexture* from, int fx, int fy, int fw, int fh, int tx, int ty,
                                            int tw, int th);

private:
    bool Ready() const;
    EngTextureGL* gl;
};

// File kinds by extension: 1 BMP, 2 TGA, 3 JPEG, 4 PNG, 5 GIF, 0 unknown.
int EngTexture_GetFileExt(const char* file, int dat_kind);
// The alpha byte of a custom alpha type for a pixel.
unsigned char EngTexture_GetPixelAlphaFromBrightness(char type, unsigned char r, unsigned char g,
                                                     unsigned char b);
