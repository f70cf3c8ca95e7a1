// The OpenGL record behind a texture handle: the GL name, sizes, placement,
// colours and the pixel buffers used while loading and editing.
#pragma once

#include "EngTexture.h"

class EngTextureGL
{
public:
    explicit EngTextureGL(EngTexture* owner);
    ~EngTextureGL();

    // Life.
    void Destroy();
    void DestroyAllExceptTextureInMemory();
    void ImageRelease();
    void UpdateFullTextureCoordinates();
    // A GL name made under an older context may now name another texture:
    // the record forgets it without deleting it and is no longer created.
    void ForgetNameOfFormerContext();

    // State.
    char IsOk()
    {
        ForgetNameOfFormerContext();
        return created;
    }
    int GetWidth() { return tex_width; }
    int GetHeight() { return tex_height; }
    int GetOrigWidth() { return image_width; }
    int GetOrigHeight() { return image_height; }
    int GetNumChannels() { return channels; }
    _TexCoords* GetTCs() { return &tcs; }
    char GetTCs(float* l, float* t, float* r, float* b);
    _TexCoords* GetTexCoordinates() { return &tcs; }
    char AreFullTexCoordinatesSet() { return full_tcs; }
    void Set3dDrawDir(char dir) { draw_dir_3d = dir; }
    char Get3dDrawDir() { return draw_dir_3d; }
    char BindTexture();
    void UnbindTexture();

    // Placement, coordinates, colours.
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
    void SetSpecularColour(float, float, float, float) {}

    // Drawing.
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

    // Loading.
    char LoadFromFile(const char* file, char keep_alpha, char alpha_type);
    char LoadFromFileAndShrinkToHalfSize(const char* file, char keep_alpha, char alpha_type);
    char LoadFromFileToMemory(const char* file, char keep_alpha, char alpha_type, char scale_to_fit);
    char LoadEmptyTextureToMemory(int* width, int* height, char alpha);
    char LoadFromTextureInMemory(_TexCoords* out);
    char CreateEmptyTexture(int* width, int* height, char alpha);
    char UpscaleImageDataInMemoryToNearestPowerOfTwoFast(_TexCoords* out);
    char UpscaleImageDataInMemoryToNearestPowerOfTwo(char flip);
    char InvertImageDataInMemory();
    char ShrinkDataInMemoryToHalfSize();
    char IsTextureLoadedToMemory() { return in_memory; }
    char IsTextureLoadedToMemoryAndReadyToBeLoaded() { return in_memory && !pad_pow2; }
    char GetTexInMemoryInfo(int* w, int* h, int* fw, int* fh, int* ch);
    void FreeTextureInMemory();
    char CreateFromScreen(_TexCoords* out);
    char CopyFromTexture(EngTexture* from);

    // Pixels.
    unsigned char* AllocAndGetTextureImageData();
    unsigned char* AllocEmptyTextureImageData(char clear);
    void FreeAllocatedTextureImageData();
    char IsTextureImageDataAllocated();
    unsigned char* GetAllocatedTextureImageData();
    size_t GetAllocatedTextureImageDataSize();
    char UpdateTextureFromData(unsigned char* pixels);
    char UpdateTextureFromAllocatedImageData();
    char PrepareToGetPixelData(_EngTextureGetPixelDataInfo* info, char, char);
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

    // Fields, in the order of the record.
    EngTexture* owner;
    char created;
    float x, y, width, height;
    int tex_width, tex_height;
    int image_width, image_height;
    char full_tcs;
    _TexCoords tcs;
    int channels;
    char tint_on;
    float tint[4];
    char placement_3d;
    char axis_3d;
    _Vector3d corner_a, corner_b;
    char draw_dir_3d;
    char normal_set;
    float normal[3];
    char corner_colours_on;
    float corner_colours[4][4];
    char readback_present;
    unsigned char* readback;
    char in_memory;
    int mem_width, mem_height;
    int mem_file_width, mem_file_height;
    int mem_channels;
    char pad_pow2;
    unsigned char* mem_pixels;
    int gl_width, gl_height;
    int gl_image_width, gl_image_height;
    int gl_channels;
    unsigned int gl_name;
    char gl_name_valid;
    unsigned int gl_generation; // eng_gl_context_generation when the name was made

private:
    void DrawQuad(char pure);
    void Draw3d();
    void DrawWithCornerColours();
    void SetPartCoords(_TexCoords* tc);
    void DoDrawInParts(float cw, float ch, float tcw, float tch, char centre, int mode, char pure);
    void ReplaceMemoryImage(unsigned char* pixels, int w, int h);
    // Takes pixels as a new in-memory image of the file's size, not yet padded.
    void AdoptMemoryImage(unsigned char* pixels, int w, int h, int channels_in_memory);
    // Loads the file into memory (halved with shrink) and creates the texture from it.
    char LoadFromFileThroughMemory(const char* func, const char* file, char keep_alpha, char alpha_type,
                                   char shrink);
};

// The GL format of a channel count, or -1.
int EngTextureGL_GetTypeFromNumChannels(int channels);
unsigned char* EngTextureGL_JpegLoadTextureToData(const char* file, int force_channels, char alpha_type,
                                                  int* width, int* height, int* channels);
unsigned char* SOIL_load_OGL_texture_to_memory(const char* file, int force_channels, unsigned int flags,
                                               int* width, int* height, int* channels);
// The kind the image library the textures use reads the bytes as: "PNG",
// "GIF", "BMP" or "TGA", or null for any other.
const char* EngImageKindOfMemory(const unsigned char* data, size_t size);
// A PNG, GIF, BMP or TGA file's bytes decoded by the image library the
// textures use, every allocation counted against ENG_IMAGE_MAX_DECODE_BYTES
// with the bytes themselves: rows top to bottom, the file's own channels or,
// with colour set, grey ones made RGB and grey with alpha RGBA (so 3 or 4).
// beside, when given, tells the bytes the caller will hold beside the pixels
// of an image of width x height x channels: they count against the bound
// too. Free the pixels with free. Null with the reason in *why.
unsigned char* EngImageDecodeMemory(const unsigned char* data, size_t size, int* width, int* height,
                                    int* channels, const char** why, char colour = 0,
                                    long long (*beside)(int width, int height, int channels,
                                                        void* user) = nullptr,
                                    void* user = nullptr);
void EngTextureGetClosestPowerOf2_GL(int width, int height, int* tw, int* th);
