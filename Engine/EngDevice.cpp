// The graphics device facade.
#include "EngDevice.h"

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"

EngDevice* eng_main_device = nullptr;

static inline bool EngDeviceGLReady()
{
    return eng_main_device_type == ENG_DEVICE_TYPE_GL && eng_main_device_gl != nullptr;
}

static inline bool EngDeviceGLOnlyPtr()
{
    return eng_main_device_gl != nullptr;
}

EngDevice::EngDevice(EngWindow* w) : created(0), window(w)
{
    eng_main_device_gl = nullptr;
}

EngDevice::~EngDevice()
{
    Destroy();
}

char EngDevice::Create(char windowed, int width, int height, int bit_depth, int frequency)
{
    eng_main_device = nullptr;
    if (eng_main_device_type != ENG_DEVICE_TYPE_GL)
        return 0;
    if (!eng_main_device_gl)
        eng_main_device_gl = new EngDeviceGL(this);
    if (!eng_main_device_gl->Create(windowed, width, height, bit_depth, frequency))
        return 0;
    created = 1;
    eng_main_device = this;
    return 1;
}

void EngDevice::Destroy()
{
    if (eng_main_device_gl)
    {
        delete eng_main_device_gl;
        eng_main_device_gl = nullptr;
    }
    created = 0;
    if (eng_main_device == this)
        eng_main_device = nullptr;
}

void EngDevice::WindowResized()
{
    if (EngDeviceGLOnlyPtr())
        eng_main_device_gl->SetFullViewportSize();
}

void EngDevice::WindowDestroyed_GL()
{
    EngWindow* w = window;
    if (!w)
        return;
    if (w->GetDevice() == this)
    {
        // The window deletes this object: nothing of it is touched after.
        w->DestroyGraphicsDevice();
        return;
    }
    // A device its window does not own still gives up its context.
    Destroy();
}

void EngDevice::MiscInitVars()
{
    if (EngDeviceGLOnlyPtr())
        eng_main_device_gl->MiscInitVars();
}

void EngDevice::MiscResetVariables()
{
    if (EngDeviceGLOnlyPtr())
        eng_main_device_gl->MiscResetVariables();
}

char EngDevice::UseCurrentContext_GL()
{
    return EngDeviceGLOnlyPtr() ? eng_main_device_gl->UseCurrentContext() : 0;
}

void EngDevice::SwapBuffers()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SwapBuffers();
}

int EngDevice::GetFullScreenRefreshRate()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetFullScreenRefreshRate() : 0;
}

void EngDevice::SetMaxTextureSizeForLoadingImages_GL(int size)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetMaxTextureSizeForLoadingImages(size);
}

void EngDevice::SupportLuminanceOnlyTextures_GL(char on)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SupportLuminanceOnlyTextures(on);
}

char EngDevice::AreLuminanceOnlyTexturesSupported_GL()
{
    return EngDeviceGLReady() ? eng_main_device_gl->luminance_supported : 0;
}

void EngDevice::SetPerspectiveAspectRelative(float a, char)
{
    if (!EngDeviceGLReady())
        return;
    float ratio = eng_main_window_height == 0 ? 1.28f : float(eng_main_window_width) / eng_main_window_height;
    if (ratio < 1.28f)
        ratio = 1.28f;
    eng_main_device_gl->SetPerspectiveAspect(a / 1.28f * ratio, 1);
}

void EngDevice::SetTransformMatrixForOrientation(_EngOrientation o)
{
    switch (o)
    {
    case 0:
        SetTransformMatrixIdentity();
        break;
    case 1:
        SetTransformMatrixRot(0, 0, 3.1415927f);
        break;
    case 2:
        SetTransformMatrixRot(0, 0, 4.712389f);
        break;
    case 3:
        SetTransformMatrixRot(0, 0, 1.5707964f);
        break;
    default:
        break;
    }
}

void EngDevice::SetTransformMatrixForOrientation()
{
    SetTransformMatrixForOrientation(eng_main_orientation_alt);
}

_EngDeviceViewport* EngDeviceResetViewportStruct(_EngDeviceViewport* v)
{
    if (v)
        *v = {0, 0, 99, 99, 0.0f, 1.0f};
    return v;
}

void EngDeviceSetViewportStructToSize(_EngDeviceViewport* v, int x, int y, int w, int h)
{
    if (v)
        v->x = x, v->y = y, v->width = w, v->height = h;
}

void EngDeviceSetViewportStructToSizeRatioed(_EngDeviceViewport* v, int x, int y, int w, int h)
{
    if (!v)
        return;
    v->x = EngMathRound(x * eng_main_window_x_ratio);
    v->y = EngMathRound(y * eng_main_window_y_ratio);
    v->width = EngMathRound(w * eng_main_window_x_ratio);
    v->height = EngMathRound(h * eng_main_window_y_ratio);
}

// Plain forwarders.

void EngDevice::SetFullViewportSize()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetFullViewportSize();
}

void EngDevice::SetViewportFullScreen()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportFullScreen();
}

void EngDevice::SetViewportToSize(int x, int y, int w, int h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSize(x, y, w, h);
}

void EngDevice::SetViewportToSize(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSize(d);
}

void EngDevice::SetViewportToViewportStruct(const _EngDeviceViewport* v)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToViewportStruct(v);
}

void EngDevice::SetViewportToSizeRatioed(int x, int y, int w, int h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSizeRatioed(x, y, w, h);
}

void EngDevice::SetViewportToSizeRatioed(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSizeRatioed(d);
}

void EngDevice::SetViewportToViewportStructRatioed(const _EngDeviceViewport* v)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToViewportStructRatioed(v);
}

void EngDevice::SetViewportToSizeWithOrientationRatioed(int x, int y, int w, int h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSizeWithOrientationRatioed(x, y, w, h);
}

void EngDevice::SetViewportToSizeWithOrientationRatioed(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToSizeWithOrientationRatioed(d);
}

void EngDevice::SetViewportToViewportStructWithOrientationRatioed(const _EngDeviceViewport* v)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetViewportToViewportStructWithOrientationRatioed(v);
}

_EngDeviceViewport* EngDevice::GetFullScreenViewport()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetFullScreenViewport() : nullptr;
}

_EngDeviceViewport* EngDevice::GetCurrentViewport()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetCurrentViewport() : nullptr;
}

void EngDevice::GetCurrentViewport(_EngDeviceViewport* out)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetCurrentViewport(out);
}

char EngDevice::IsViewportFullScreen()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsViewportFullScreen() : 0;
}

void EngDevice::PrepareFor2D(char lighting_off)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PrepareFor2D(lighting_off);
}

void EngDevice::PrepareFor2DWithOrientation(char lighting_off)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PrepareFor2DWithOrientation(lighting_off);
}

char EngDevice::PrepareFor2DIfNeeded(char lighting_off)
{
    return EngDeviceGLReady() ? eng_main_device_gl->PrepareFor2DIfNeeded(lighting_off) : 0;
}

char EngDevice::PrepareFor2DWithOrientationIfNeeded(char lighting_off)
{
    return EngDeviceGLReady() ? eng_main_device_gl->PrepareFor2DWithOrientationIfNeeded(lighting_off) : 0;
}

void EngDevice::RestoreAfter2D()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->RestoreAfter2D();
}

char EngDevice::Is2dPrepared()
{
    return EngDeviceGLReady() ? eng_main_device_gl->Is2dPrepared() : 0;
}

void EngDevice::UseDepthBuffer(char on)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->UseDepthBuffer(on);
}

void EngDevice::TurnOnDepthBuffer()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->TurnOnDepthBuffer();
}

void EngDevice::TurnOffDepthBuffer()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->TurnOffDepthBuffer();
}

char EngDevice::TurnOffDepthBufferIfNeeded()
{
    return EngDeviceGLReady() ? eng_main_device_gl->TurnOffDepthBufferIfNeeded() : 0;
}

char EngDevice::IsDepthBufferOn()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsDepthBufferOn() : 0;
}

void EngDevice::TurnOnLighting()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->TurnOnLighting();
}

void EngDevice::TurnOffLighting()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->TurnOffLighting();
}

char EngDevice::TurnOnLightingIfNeeded()
{
    return EngDeviceGLReady() ? eng_main_device_gl->TurnOnLightingIfNeeded() : 0;
}

char EngDevice::TurnOffLightingIfNeeded()
{
    return EngDeviceGLReady() ? eng_main_device_gl->TurnOffLightingIfNeeded() : 0;
}

char EngDevice::IsLightingOn()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsLightingOn() : 0;
}

void EngDevice::ShowTwoSidedPolygons(char on)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ShowTwoSidedPolygons(on);
}

char EngDevice::ShowTwoSidedPolygonsIfNeeded(char on)
{
    return EngDeviceGLReady() ? eng_main_device_gl->ShowTwoSidedPolygonsIfNeeded(on) : 0;
}

char EngDevice::AreTwoSidedPolygonsOn()
{
    return EngDeviceGLReady() ? eng_main_device_gl->AreTwoSidedPolygonsOn() : 0;
}

void EngDevice::SetPolygonDrawOrder(char ccw)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetPolygonDrawOrder(ccw);
}

char EngDevice::BeginRendering()
{
    return EngDeviceGLReady() ? eng_main_device_gl->BeginRendering() : 0;
}

char EngDevice::BeginRenderingIfNeeded()
{
    return EngDeviceGLReady() ? eng_main_device_gl->BeginRenderingIfNeeded() : 0;
}

void EngDevice::EndRendering()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->EndRendering();
}

char EngDevice::IsRenderingOn()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsRenderingOn() : 0;
}

void EngDevice::CropToAreaRatioed(float x, float y, float w, float h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToAreaRatioed(x, y, w, h);
}

void EngDevice::CropToAreaRatioed(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToAreaRatioed(d);
}

void EngDevice::CropToAreaInViewportRatioed(float x, float y, float w, float h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToAreaInViewportRatioed(x, y, w, h);
}

void EngDevice::CropToAreaInViewportRatioed(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToAreaInViewportRatioed(d);
}

void EngDevice::CropToArea(int x, int y, int w, int h)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToArea(x, y, w, h);
}

void EngDevice::CropToArea(_Dimension* d)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->CropToArea(d);
}

char EngDevice::IsCropOn()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsCropOn() : 0;
}

void EngDevice::TurnOffCrop()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->TurnOffCrop();
}

void EngDevice::EnableBlendingType(int type)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->EnableBlendingType(type);
}

void EngDevice::EnableSpecificBlending(int src, int dst)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->EnableSpecificBlending(src, dst);
}

void EngDevice::DisableBlending()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->DisableBlending();
}

char EngDevice::IsBlendingEnabled()
{
    return EngDeviceGLReady() ? eng_main_device_gl->IsBlendingEnabled() : 0;
}

char EngDevice::GetBlendingState(char* on, int* src, int* dst)
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetBlendingState(on, src, dst) : 0;
}

void EngDevice::SetBlendingState(char on, int src, int dst)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetBlendingState(on, src, dst);
}

char EngDevice::SaveOrRestoreBlendingState(char save)
{
    return EngDeviceGLReady() ? eng_main_device_gl->SaveOrRestoreBlendingState(save) : 0;
}

char EngDevice::SaveOrRestoreBlendingLightingAnd2DStates(char save)
{
    return EngDeviceGLReady() ? eng_main_device_gl->SaveOrRestoreBlendingLightingAnd2DStates(save) : 0;
}

void EngDevice::SetClearColour(float r, float g, float b)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetClearColour(r, g, b);
}

void EngDevice::SetClearColour(const _ColourRGB* c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetClearColour(c);
}

void EngDevice::GetClearColour(float* r, float* g, float* b)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetClearColour(r, g, b);
}

void EngDevice::ClearScreen()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ClearScreen();
}

void EngDevice::ClearScreenAndDepthBuffers()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ClearScreenAndDepthBuffers();
}

void EngDevice::ClearScreenBuffer()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ClearScreenBuffer();
}

void EngDevice::ClearDepthBuffer()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ClearDepthBuffer();
}

void EngDevice::ForceClearDepthBuffer()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->ForceClearDepthBuffer();
}

char EngDevice::SetCurrentColourWhite_GL(char check)
{
    return EngDeviceGLReady() ? eng_main_device_gl->SetCurrentColourWhite(check) : 0;
}

char EngDevice::DrawSpecularHighlightsOnTopOfTexture_GL(char on)
{
    return EngDeviceGLOnlyPtr() ? eng_main_device_gl->DrawSpecularHighlightsOnTopOfTexture(on) : 0;
}

void EngDevice::SetPerspectiveFOV(float degrees, char update)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetPerspectiveFOV(degrees, update);
}

void EngDevice::SetPerspectiveAspect(float aspect, char update)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetPerspectiveAspect(aspect, update);
}

void EngDevice::SetPerspectiveNearAndFarPlanes(float near_plane, float far_plane, char update)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetPerspectiveNearAndFarPlanes(near_plane, far_plane, update);
}

float EngDevice::GetPerspectiveFOV()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetPerspectiveFOV() : 0;
}

float EngDevice::GetPerspectiveAspect()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetPerspectiveAspect() : 0;
}

void EngDevice::UpdatePerspectiveMatrix()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->UpdatePerspectiveMatrix();
}

void EngDevice::SetProjectionMatrixFromPerspectiveAndViewMatrices()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetProjectionMatrixFromPerspectiveAndViewMatrices();
}

void EngDevice::SetProjectionMatrixToCurrent()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetProjectionMatrixToCurrent();
}

void EngDevice::SetProjectionMatrixToMatrix(EngMatrix* m)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetProjectionMatrixToMatrix(m);
}

void EngDevice::GetProjectionMatrix(EngMatrix* out)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetProjectionMatrix(out);
}

EngMatrix* EngDevice::GetProjectionMatrix()
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetProjectionMatrix() : nullptr;
}

void EngDevice::GetPerspectiveMatrix(EngMatrix* out)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetPerspectiveMatrix(out);
}

void EngDevice::GetViewMatrix(EngMatrix* out)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetViewMatrix(out);
}

void EngDevice::SetProjectionMatrixFor2D()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetProjectionMatrixFor2D();
}

void EngDevice::SetupLookAtView(const _Vector3d* eye, const _Vector3d* centre)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetupLookAtView(eye, centre);
}

void EngDevice::SetupLookAtViewInvUp(const _Vector3d* eye, const _Vector3d* centre)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetupLookAtViewInvUp(eye, centre);
}

void EngDevice::SetupLookAtViewAxisUp(const _Vector3d* eye, const _Vector3d* centre, const _Vector3d* up)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetupLookAtViewAxisUp(eye, centre, up);
}

void EngDevice::SetupLookAtViewAxisUpLH(const _Vector3d* eye, const _Vector3d* at, const _Vector3d* up)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetupLookAtViewAxisUpLH(eye, at, up);
}

void EngDevice::SetupLookAtViewForOrientation(const _Vector3d* eye, const _Vector3d* centre)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetupLookAtViewForOrientation(eye, centre);
}

char EngDevice::Convert3DPointTo2D(const _Vector3d* p, _Vector2d* out, char ratioed)
{
    return EngDeviceGLReady() ? eng_main_device_gl->Convert3DPointTo2D(p, out, ratioed) : 0;
}

char EngDevice::GetScreenPointInViewportStruct(_EngDeviceViewport* v, int px, int py, float plane,
                                               float* out_a, float* out_b)
{
    return EngDeviceGLReady()
               ? eng_main_device_gl->GetScreenPointInViewportStruct(v, px, py, plane, out_a, out_b)
               : 0;
}

char EngDevice::GetScreenPointInViewportStructXZ(_EngDeviceViewport* v, int px, int py, float plane,
                                                 float* out_a, float* out_b)
{
    return EngDeviceGLReady()
               ? eng_main_device_gl->GetScreenPointInViewportStructXZ(v, px, py, plane, out_a, out_b)
               : 0;
}

char EngDevice::GetScreenPointInViewportStructYZ(_EngDeviceViewport* v, int px, int py, float plane,
                                                 float* out_a, float* out_b)
{
    return EngDeviceGLReady()
               ? eng_main_device_gl->GetScreenPointInViewportStructYZ(v, px, py, plane, out_a, out_b)
               : 0;
}

char EngDevice::GetScreenPointInFullScreen(int px, int py, float plane, float* out_a, float* out_b)
{
    return EngDeviceGLReady() ? eng_main_device_gl->GetScreenPointInFullScreen(px, py, plane, out_a, out_b)
                              : 0;
}

char EngDevice::GetScreenPointInCurrentViewport(int px, int py, float plane, float* out_a, float* out_b)
{
    return EngDeviceGLReady()
               ? eng_main_device_gl->GetScreenPointInCurrentViewport(px, py, plane, out_a, out_b)
               : 0;
}

void EngDevice::PushAllMatrices()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PushAllMatrices();
}

void EngDevice::PopAllMatrices()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PopAllMatrices();
}

void EngDevice::PushPopMatricesAndLighting(char a, char b)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PushPopMatricesAndLighting(a, b);
}

void EngDevice::PushTransformMatrix()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PushTransformMatrix();
}

void EngDevice::PopTransformMatrix()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->PopTransformMatrix();
}

void EngDevice::SetTransformMatrixIdentity()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixIdentity();
}

void EngDevice::SetTransformMatrixIdentityWithOrientation()
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixIdentityWithOrientation();
}

void EngDevice::SetTransformMatrixPos(float x, float y, float z)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPos(x, y, z);
}

void EngDevice::SetTransformMatrixPos(const _Vector3d* p)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPos(p);
}

void EngDevice::SetTransformMatrixRot(float x, float y, float z)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixRot(x, y, z);
}

void EngDevice::SetTransformMatrixRot(const _Vector3d* r)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixRot(r);
}

void EngDevice::SetTransformMatrixRotDeg(float x, float y, float z)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixRotDeg(x, y, z);
}

void EngDevice::SetTransformMatrixPosRot(float px, float py, float pz, float rx, float ry, float rz)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRot(px, py, pz, rx, ry, rz);
}

void EngDevice::SetTransformMatrixPosRot(const _Vector3d* pos, const _Vector3d* rot)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRot(pos, rot);
}

void EngDevice::SetTransformMatrixPosRotDeg(const _Vector3d* pos, const _Vector3d* rot)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotDeg(pos, rot);
}

void EngDevice::SetTransformMatrixPosRotZyx(const _Vector3d* pos, const _Vector3d* rot)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotZyx(pos, rot);
}

void EngDevice::SetTransformMatrixPosRotZyxDeg(const _Vector3d* pos, const _Vector3d* rot)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotZyxDeg(pos, rot);
}

void EngDevice::SetTransformMatrixPosRotZDeg(float x, float y, float z, float degrees)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotZDeg(x, y, z, degrees);
}

void EngDevice::SetTransformMatrixPosScale(float px, float py, float pz, float sx, float sy, float sz)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosScale(px, py, pz, sx, sy, sz);
}

void EngDevice::SetTransformMatrixPosRotScale(float px, float py, float pz, float rx, float ry, float rz,
                                              float sx, float sy, float sz)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotScale(px, py, pz, rx, ry, rz, sx, sy, sz);
}

void EngDevice::SetTransformMatrixPosRotScale(const _Vector3d* pos, const _Vector3d* rot,
                                              const _Vector3d* scale)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotScale(pos, rot, scale);
}

void EngDevice::SetTransformMatrixPosRotScaleDeg(const _Vector3d* pos, const _Vector3d* rot,
                                                 const _Vector3d* scale)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosRotScaleDeg(pos, rot, scale);
}

void EngDevice::SetTransformMatrixPosScaleRot(float px, float py, float pz, float sx, float sy, float sz,
                                              float rx, float ry, float rz)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrixPosScaleRot(px, py, pz, sx, sy, sz, rx, ry, rz);
}

void EngDevice::SetTransformMatrix(const EngMatrix* m)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->SetTransformMatrix(m);
}

void EngDevice::GetTransformMatrix(EngMatrix* out)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->GetTransformMatrix(out);
}

void EngDevice::MultTransformMatrixResetToIdentity(char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixResetToIdentity(c);
}

void EngDevice::MultTransformMatrixPos(float x, float y, float z, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixPos(x, y, z, c);
}

void EngDevice::MultTransformMatrixRot(float x, float y, float z, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixRot(x, y, z, c);
}

void EngDevice::MultTransformMatrixRotX(float a, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixRotX(a, c);
}

void EngDevice::MultTransformMatrixRotY(float a, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixRotY(a, c);
}

void EngDevice::MultTransformMatrixRotZ(float a, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixRotZ(a, c);
}

void EngDevice::MultTransformMatrixScale(float x, float y, float z, char c)
{
    if (EngDeviceGLReady())
        eng_main_device_gl->MultTransformMatrixScale(x, y, z, c);
}
