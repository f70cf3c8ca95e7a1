// The texture handle: creation and forwarding to the OpenGL record.
#include "EngTexture.h"

#include <cstring>
#include <new>
#include <strings.h>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "GL/EngTextureGL.h"

EngTexture::EngTexture() : gl(nullptr)
{
    Create();
}

EngTexture::~EngTexture()
{
    if (gl)
    {
        gl->Destroy();
        delete gl;
        gl = nullptr;
    }
}

bool EngTexture::Ready() const
{
    if (eng_main_device_type != ENG_DEVICE_TYPE_GL || !gl)
        return false;
    gl->ForgetNameOfFormerContext();
    return true;
}

char EngTexture::Create()
{
    if (eng_main_device_type != ENG_DEVICE_TYPE_GL || gl)
        return 1;
    gl = new (std::nothrow) EngTextureGL(this);
    if (!gl)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (GL)");
        return 0;
    }
    return 1;
}

void EngTexture::Destroy()
{
    if (Ready())
        gl->Destroy();
}

char EngTexture::LoadFromBmpFile(const char* file, char keep_alpha, char alpha_type, char)
{
    return LoadFromFile(file, keep_alpha, alpha_type);
}

char EngTexture::LoadFromJpegFile(const char* file, char keep_alpha, char alpha_type, char)
{
    return LoadFromFile(file, keep_alpha, alpha_type);
}

char EngTexture::LoadFromTgaFile(const char* file, char keep_alpha, char alpha_type, char)
{
    return LoadFromFile(file, keep_alpha, alpha_type);
}

char EngTexture::LoadFromPngFile(const char* file, char keep_alpha, char alpha_type, char)
{
    return LoadFromFile(file, keep_alpha, alpha_type);
}

char EngTexture::LoadFromFileUsingExt(const char* file, char keep_alpha, char alpha_type, int)
{
    return LoadFromFile(file, keep_alpha, alpha_type);
}

char EngTexture::LoadFromFileToMemoryUsingExt(const char* file, char keep_alpha, char alpha_type, int)
{
    return LoadFromFileToMemory(file, keep_alpha, alpha_type, 1);
}

char EngTexture::CreateEmptyTexture(int width, int height, char alpha)
{
    return CreateEmptyTexture(&width, &height, alpha);
}

char EngTexture::SetPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3)
{
    return TransformPixels(0, x, y, w, h, p0, p1, p2, p3);
}

char EngTexture::ClearTexturePart(int x, int y, int w, int h)
{
    return TransformPixels(0, x, y, w, h, 0, 0, 0, 0);
}

char EngTexture::InvertTexturePart(int x, int y, int w, int h, float p0, float p1, float p2, float p3)
{
    return TransformPixels(1, x, y, w, h, p0, p1, p2, p3);
}

char EngTexture::MultiplyTextPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3)
{
    return TransformPixels(2, x, y, w, h, p0, p1, p2, p3);
}

char EngTexture::PowerTextPartColour(int x, int y, int w, int h, float p0, float p1, float p2, float p3)
{
    return TransformPixels(3, x, y, w, h, p0, p1, p2, p3);
}

char EngTexture::CopyPartFromAnotherTexture(EngTexture* from, int fx, int fy, int fw, int fh, int tx, int ty,
                                            int tw, int th, char blend, _EngTextureCopyPartSettings* settings)
{
    return CopyPartFromAnotherTexture(from, float(fx), float(fy), float(fw), float(fh), float(tx), float(ty),
                                      float(tw), float(th), blend, settings);
}

int EngTexture_GetFileExt(const char* file, int dat_kind)
{
    if (!file)
        return 0;
    size_t n = std::strlen(file);
    if (n <= 3)
        return 0;
    const char* ext = nullptr;
    if (n >= 4 && file[n - 4] == '.')
        ext = file + n - 3;
    else if (n >= 5 && file[n - 5] == '.')
        ext = file + n - 4;
    if (!ext)
        return 0;
    if (!strcasecmp(ext, "bmp"))
        return 1;
    if (!strcasecmp(ext, "tga"))
        return 2;
    if (!strcasecmp(ext, "jpg") || !strcasecmp(ext, "jpeg"))
        return 3;
    if (!strcasecmp(ext, "png"))
        return 4;
    if (!strcasecmp(ext, "gif"))
        return 5;
    if (!strcasecmp(ext, "dat"))
        return dat_kind;
    return 0;
}

unsigned char EngTexture_GetPixelAlphaFromBrightness(char type, unsigned char r, unsigned char g,
                                                     unsigned char b)
{
    static int alpha_from_file_msgs = 0, unknown_msgs = 0;
    int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    switch (type)
    {
    case 0:
        return 255;
    case 1:
        return 0;
    case 2:
        if (alpha_from_file_msgs < 20)
        {
            alpha_from_file_msgs++;
            DebugErrorAlt(__PRETTY_FUNCTION__, "Alpha from file specified");
        }
        return 0;
    case 3:
        return (unsigned char)mx;
    case 4:
        return (unsigned char)(mx < 32 ? 0 : mx < 64 ? (mx - 32) * 8 : 255);
    case 5:
        return (unsigned char)(mx < 32 ? mx * 8 : 255);
    case 6:
        return (unsigned char)(255 - mn);
    case 7:
        return (unsigned char)(mn < 192 ? 255 : mn < 224 ? (223 - mn) * 8 : 0);
    case 8:
        return (unsigned char)(mn <= 223 ? 255 : (255 - mn) * 8);
    case 9:
        return 255;
    default:
        if (unknown_msgs < 5)
        {
            unknown_msgs++;
            DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown alpha type %d", type);
        }
        return 0;
    }
}

// Plain forwarders.

char EngTexture::IsOk()
{
    return Ready() ? gl->IsOk() : 0;
}

int EngTexture::GetWidth()
{
    return Ready() ? gl->GetWidth() : 0;
}

int EngTexture::GetHeight()
{
    return Ready() ? gl->GetHeight() : 0;
}

int EngTexture::GetOrigWidth()
{
    return Ready() ? gl->GetOrigWidth() : 0;
}

int EngTexture::GetOrigHeight()
{
    return Ready() ? gl->GetOrigHeight() : 0;
}

int EngTexture::GetNumChannels()
{
    return Ready() ? gl->GetNumChannels() : 0;
}

_TexCoords* EngTexture::GetTCs()
{
    return Ready() ? gl->GetTCs() : nullptr;
}

char EngTexture::GetTCs(float* l, float* t, float* r, float* b)
{
    return Ready() ? gl->GetTCs(l, t, r, b) : 0;
}

_TexCoords* EngTexture::GetTexCoordinates()
{
    return Ready() ? gl->GetTexCoordinates() : nullptr;
}

char EngTexture::AreFullTexCoordinatesSet()
{
    return Ready() ? gl->AreFullTexCoordinatesSet() : 0;
}

void EngTexture::Set3dDrawDir(char dir)
{
    if (Ready())
        gl->Set3dDrawDir(dir);
}

char EngTexture::Get3dDrawDir()
{
    return Ready() ? gl->Get3dDrawDir() : 0;
}

char EngTexture::BindTexture_GL()
{
    return Ready() ? gl->BindTexture() : 0;
}

void EngTexture::UnbindTexture_GL()
{
    if (Ready())
        gl->UnbindTexture();
}

void EngTexture::DestroyAllExceptTextureInMemory_GL()
{
    if (Ready())
        gl->DestroyAllExceptTextureInMemory();
}

void EngTexture::PositionPure(float x, float y, float w, float h)
{
    if (Ready())
        gl->PositionPure(x, y, w, h);
}

void EngTexture::PositionPure(const _Dimension* d)
{
    if (Ready())
        gl->PositionPure(d);
}

void EngTexture::PositionRatioed(int x, int y, int w, int h)
{
    if (Ready())
        gl->PositionRatioed(x, y, w, h);
}

void EngTexture::PositionRatioed(float x, float y, float w, float h)
{
    if (Ready())
        gl->PositionRatioed(x, y, w, h);
}

void EngTexture::PositionRatioed(const _Dimension* d)
{
    if (Ready())
        gl->PositionRatioed(d);
}

void EngTexture::Position3dVec3(char axis, _Vector3d* a, _Vector3d* b)
{
    if (Ready())
        gl->Position3dVec3(axis, a, b);
}

void EngTexture::SetTextureCoordinates(float l, float t, float r, float b)
{
    if (Ready())
        gl->SetTextureCoordinates(l, t, r, b);
}

void EngTexture::SetTextureCoordinates(_TexCoords* tc)
{
    if (Ready())
        gl->SetTextureCoordinates(tc);
}

void EngTexture::RestoreTexCoordinates()
{
    if (Ready())
        gl->RestoreTexCoordinates();
}

void EngTexture::SetColour(float r, float g, float b, float a)
{
    if (Ready())
        gl->SetColour(r, g, b, a);
}

void EngTexture::SetColour(const _ColourRGBA* c)
{
    if (Ready())
        gl->SetColour(c);
}

void EngTexture::RestoreColour()
{
    if (Ready())
        gl->RestoreColour();
}

void EngTexture::SetAlphaLevel(float a)
{
    if (Ready())
        gl->SetAlphaLevel(a);
}

void EngTexture::RestoreColourAndAlpha()
{
    if (Ready())
        gl->RestoreColourAndAlpha();
}

void EngTexture::SetCornerColour(int corner, float r, float g, float b, float a)
{
    if (Ready())
        gl->SetCornerColour(corner, r, g, b, a);
}

void EngTexture::SetCornerColour(int corner, const _ColourRGBA* c)
{
    if (Ready())
        gl->SetCornerColour(corner, c);
}

void EngTexture::SetNormal(float x, float y, float z)
{
    if (Ready())
        gl->SetNormal(x, y, z);
}

void EngTexture::SetNormal(const _Vector3d* n)
{
    if (Ready())
        gl->SetNormal(n);
}

void EngTexture::SetSpecularColour(float r, float g, float b, float a)
{
    if (Ready())
        gl->SetSpecularColour(r, g, b, a);
}

void EngTexture::Draw()
{
    if (Ready())
        gl->Draw();
}

void EngTexture::DrawPure()
{
    if (Ready())
        gl->DrawPure();
}

void EngTexture::DrawWithColour(float r, float g, float b, float a)
{
    if (Ready())
        gl->DrawWithColour(r, g, b, a);
}

void EngTexture::DrawWithColour(const _ColourRGBA* c)
{
    if (Ready())
        gl->DrawWithColour(c);
}

void EngTexture::DrawWithColourPure(float r, float g, float b, float a)
{
    if (Ready())
        gl->DrawWithColourPure(r, g, b, a);
}

void EngTexture::DrawPart(float l, float t, float r, float b)
{
    if (Ready())
        gl->DrawPart(l, t, r, b);
}

void EngTexture::DrawPart(_TexCoords* tc)
{
    if (Ready())
        gl->DrawPart(tc);
}

void EngTexture::DrawPartPure(float l, float t, float r, float b)
{
    if (Ready())
        gl->DrawPartPure(l, t, r, b);
}

void EngTexture::DrawPartPure(_TexCoords* tc)
{
    if (Ready())
        gl->DrawPartPure(tc);
}

void EngTexture::DrawPartWithColour(float l, float t, float r, float b, float cr, float cg, float cb,
                                    float ca)
{
    if (Ready())
        gl->DrawPartWithColour(l, t, r, b, cr, cg, cb, ca);
}

void EngTexture::DrawPartWithColour(float l, float t, float r, float b, const _ColourRGBA* c)
{
    if (Ready())
        gl->DrawPartWithColour(l, t, r, b, c);
}

void EngTexture::DrawPartWithColour(_TexCoords* tc, const _ColourRGBA* c)
{
    if (Ready())
        gl->DrawPartWithColour(tc, c);
}

void EngTexture::DrawPartWithColourPure(float l, float t, float r, float b, float cr, float cg, float cb,
                                        float ca)
{
    if (Ready())
        gl->DrawPartWithColourPure(l, t, r, b, cr, cg, cb, ca);
}

void EngTexture::DrawPartWithColourPure(_TexCoords* tc, float cr, float cg, float cb, float ca)
{
    if (Ready())
        gl->DrawPartWithColourPure(tc, cr, cg, cb, ca);
}

void EngTexture::PositionRatioedAndDraw(int x, int y, int w, int h)
{
    if (Ready())
        gl->PositionRatioedAndDraw(x, y, w, h);
}

void EngTexture::PositionRatioedAndDraw(float x, float y, float w, float h)
{
    if (Ready())
        gl->PositionRatioedAndDraw(x, y, w, h);
}

void EngTexture::PositionRatioedAndDraw(const _Dimension* d)
{
    if (Ready())
        gl->PositionRatioedAndDraw(d);
}

void EngTexture::PositionPureAndDraw(float x, float y, float w, float h)
{
    if (Ready())
        gl->PositionPureAndDraw(x, y, w, h);
}

void EngTexture::PositionPureAndDraw(const _Dimension* d)
{
    if (Ready())
        gl->PositionPureAndDraw(d);
}

void EngTexture::DrawSpecifyingCorners(_EngTextureCornersInfo* info)
{
    if (Ready())
        gl->DrawSpecifyingCorners(info);
}

void EngTexture::DrawInParts(float cw, float ch, float tcw, float tch, char centre)
{
    if (Ready())
        gl->DrawInParts(cw, ch, tcw, tch, centre);
}

void EngTexture::DrawInPartsPure(float cw, float ch, float tcw, float tch, char centre)
{
    if (Ready())
        gl->DrawInPartsPure(cw, ch, tcw, tch, centre);
}

void EngTexture::DrawInPartsHorz(float cw, float tcw, char centre)
{
    if (Ready())
        gl->DrawInPartsHorz(cw, tcw, centre);
}

void EngTexture::DrawInPartsHorzPure(float cw, float tcw, char centre)
{
    if (Ready())
        gl->DrawInPartsHorzPure(cw, tcw, centre);
}

void EngTexture::DrawInPartsVert(float ch, float tch, char centre)
{
    if (Ready())
        gl->DrawInPartsVert(ch, tch, centre);
}

void EngTexture::DrawInPartsVertPure(float ch, float tch, char centre)
{
    if (Ready())
        gl->DrawInPartsVertPure(ch, tch, centre);
}

char EngTexture::LoadFromFile(const char* file, char keep_alpha, char alpha_type)
{
    if (!Create())
        return 0;
    return Ready() ? gl->LoadFromFile(file, keep_alpha, alpha_type) : 0;
}

char EngTexture::LoadFromFileAndShrinkToHalfSize_GL(const char* file, char keep_alpha, char alpha_type)
{
    if (!Create())
        return 0;
    return Ready() ? gl->LoadFromFileAndShrinkToHalfSize(file, keep_alpha, alpha_type) : 0;
}

char EngTexture::LoadFromFileToMemory(const char* file, char keep_alpha, char alpha_type, char scale_to_fit)
{
    if (!Create())
        return 0;
    return Ready() ? gl->LoadFromFileToMemory(file, keep_alpha, alpha_type, scale_to_fit) : 0;
}

char EngTexture::LoadEmptyTextureToMemory(int* width, int* height, char alpha)
{
    if (!Create())
        return 0;
    return Ready() ? gl->LoadEmptyTextureToMemory(width, height, alpha) : 0;
}

char EngTexture::LoadFromTextureInMemory(_TexCoords* out)
{
    if (!Create())
        return 0;
    return Ready() ? gl->LoadFromTextureInMemory(out) : 0;
}

char EngTexture::CreateEmptyTexture(int* width, int* height, char alpha)
{
    if (!Create())
        return 0;
    return Ready() ? gl->CreateEmptyTexture(width, height, alpha) : 0;
}

char EngTexture::UpscaleImageDataInMemoryToNearestPowerOfTwoFast_GL(_TexCoords* out)
{
    return Ready() ? gl->UpscaleImageDataInMemoryToNearestPowerOfTwoFast(out) : 0;
}

char EngTexture::ShrinkDataInMemoryToHalfSize_GL()
{
    return Ready() ? gl->ShrinkDataInMemoryToHalfSize() : 0;
}

char EngTexture::IsTextureLoadedToMemory()
{
    return Ready() ? gl->IsTextureLoadedToMemory() : 0;
}

char EngTexture::IsTextureLoadedToMemoryAndReadyToBeLoaded()
{
    return Ready() ? gl->IsTextureLoadedToMemoryAndReadyToBeLoaded() : 0;
}

char EngTexture::GetTexInMemoryInfo(int* w, int* h, int* fw, int* fh, int* ch)
{
    return Ready() ? gl->GetTexInMemoryInfo(w, h, fw, fh, ch) : 0;
}

void EngTexture::FreeTextureInMemory()
{
    if (Ready())
        gl->FreeTextureInMemory();
}

unsigned char* EngTexture::AllocAndGetTextureImageData()
{
    return Ready() ? gl->AllocAndGetTextureImageData() : nullptr;
}

unsigned char* EngTexture::AllocEmptyTextureImageData(char clear)
{
    return Ready() ? gl->AllocEmptyTextureImageData(clear) : nullptr;
}

void EngTexture::FreeAllocatedTextureImageData()
{
    if (Ready())
        gl->FreeAllocatedTextureImageData();
}

char EngTexture::IsTextureImageDataAllocated()
{
    return Ready() ? gl->IsTextureImageDataAllocated() : 0;
}

unsigned char* EngTexture::GetAllocatedTextureImageData()
{
    return Ready() ? gl->GetAllocatedTextureImageData() : nullptr;
}

size_t EngTexture::GetAllocatedTextureImageDataSize()
{
    return Ready() ? gl->GetAllocatedTextureImageDataSize() : 0;
}

char EngTexture::UpdateTextureFromData(unsigned char* pixels)
{
    return Ready() ? gl->UpdateTextureFromData(pixels) : 0;
}

char EngTexture::UpdateTextureFromAllocatedImageData()
{
    return Ready() ? gl->UpdateTextureFromAllocatedImageData() : 0;
}

char EngTexture::PrepareToGetPixelData(_EngTextureGetPixelDataInfo* info, char a, char b)
{
    return Ready() ? gl->PrepareToGetPixelData(info, a, b) : 0;
}

unsigned char* EngTexture::GetPixelDataBuffer(_EngTextureGetPixelDataInfo* info)
{
    return Ready() ? gl->GetPixelDataBuffer(info) : nullptr;
}

int EngTexture::GetPixelDataPitch(_EngTextureGetPixelDataInfo* info)
{
    return Ready() ? gl->GetPixelDataPitch(info) : 0;
}

char EngTexture::GetPixelData(_EngTextureGetPixelDataInfo* info, int x, int y, unsigned char* r,
                              unsigned char* g, unsigned char* b, unsigned char* a)
{
    return Ready() ? gl->GetPixelData(info, x, y, r, g, b, a) : 0;
}

char EngTexture::SetPixelData(_EngTextureGetPixelDataInfo* info, int x, int y, unsigned char r,
                              unsigned char g, unsigned char b, unsigned char a)
{
    return Ready() ? gl->SetPixelData(info, x, y, r, g, b, a) : 0;
}

char EngTexture::UpdateTextureFromModifiedPixelDataBuffer(_EngTextureGetPixelDataInfo* info)
{
    return Ready() ? gl->UpdateTextureFromModifiedPixelDataBuffer(info) : 0;
}

char EngTexture::RestoreAfterGettingPixelData(_EngTextureGetPixelDataInfo* info)
{
    return Ready() ? gl->RestoreAfterGettingPixelData(info) : 0;
}

char EngTexture::SetTextureFromExternalPixelDataBuffer(unsigned char* pixels, char has_alpha)
{
    return Ready() ? gl->SetTextureFromExternalPixelDataBuffer(pixels, has_alpha) : 0;
}

char EngTexture::TransformPixels(int kind, int x, int y, int w, int h, float p0, float p1, float p2, float p3)
{
    return Ready() ? gl->TransformPixels(kind, x, y, w, h, p0, p1, p2, p3) : 0;
}

char EngTexture::CopyPartFromAnotherTexture(EngTexture* from, float fx, float fy, float fw, float fh,
                                            float tx, float ty, float tw, float th, char blend,
                                            _EngTextureCopyPartSettings* settings)
{
    return Ready() ? gl->CopyPartFromAnotherTexture(from, fx, fy, fw, fh, tx, ty, tw, th, blend, settings)
                   : 0;
}

char EngTexture::CopyAlphaChannelFromAnotherTexture(EngTexture* from, int fx, int fy, int fw, int fh, int tx,
                                                    int ty, int tw, int th)
{
    return Ready() ? gl->CopyAlphaChannelFromAnotherTexture(from, fx, fy, fw, fh, tx, ty, tw, th) : 0;
}
