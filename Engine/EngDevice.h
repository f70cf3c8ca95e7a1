// The graphics device facade. Every operation forwards to the OpenGL half
// when the device type is OpenGL and that half exists, else does nothing and
// returns 0.
#pragma once

#include "EngTypes.h"

class EngWindow;
class EngMatrix;
typedef int _EngOrientation;

// A viewport in window pixels, top-left origin, with its depth range.
struct _EngDeviceViewport
{
    int x, y, width, height;
    float min_depth, max_depth;
};

// Blend factors for code outside the device (the GL enumerants).
extern int EDEV_BLEND_ZERO;
extern int EDEV_BLEND_ONE;
extern int EDEV_BLEND_SRC_COLOUR;
extern int EDEV_BLEND_INV_SRC_COLOUR;
extern int EDEV_BLEND_SRC_ALPHA;
extern int EDEV_BLEND_INV_SRC_ALPHA;
extern int EDEV_BLEND_DEST_ALPHA;
extern int EDEV_BLEND_INV_DEST_ALPHA;
extern int EDEV_BLEND_DEST_COLOUR;
extern int EDEV_BLEND_INV_DEST_COLOUR;
extern int EDEV_BLEND_SRC_ALPHA_SATURATE;

#define ENG_DEVICE_TYPE_GL 1

class EngDevice
{
public:
    explicit EngDevice(EngWindow* window);
    ~EngDevice();

    char Create(char windowed, int width, int height, int bit_depth, int frequency);
    void Destroy();
    void GoingToBeDestroyed() {}
    void WindowResized();
    void WindowDestroyed_GL();
    void MiscInitVars();
    void MiscResetVariables();
    char UseCurrentContext_GL();
    void SwapBuffers();
    int GetFullScreenRefreshRate();
    void SetMaxTextureSizeForLoadingImages_GL(int size);
    void SupportLuminanceOnlyTextures_GL(char on);
    char AreLuminanceOnlyTexturesSupported_GL();
    char IsCreated() const { return created; }

    // Viewports.
    void SetFullViewportSize();
    void SetViewportFullScreen();
    void SetViewportToSize(int x, int y, int w, int h);
    void SetViewportToSize(_Dimension* d);
    void SetViewportToViewportStruct(const _EngDeviceViewport* v);
    void SetViewportToSizeRatioed(int x, int y, int w, int h);
    void SetViewportToSizeRatioed(_Dimension* d);
    void SetViewportToViewportStructRatioed(const _EngDeviceViewport* v);
    void SetViewportToSizeWithOrientationRatioed(int x, int y, int w, int h);
    void SetViewportToSizeWithOrientationRatioed(_Dimension* d);
    void SetViewportToViewportStructWithOrientationRatioed(const _EngDeviceViewport* v);
    _EngDeviceViewport* GetFullScreenViewport();
    _EngDeviceViewport* GetCurrentViewport();
    void GetCurrentViewport(_EngDeviceViewport* out);
    char IsViewportFullScreen();

    // 2D mode.
    void PrepareFor2D(char lighting_off);
    void PrepareFor2DWithOrientation(char lighting_off);
    char PrepareFor2DIfNeeded(char lighting_off);
    char PrepareFor2DWithOrientationIfNeeded(char lighting_off);
    void RestoreAfter2D();
    char Is2dPrepared();

    // Depth, lighting, culling, rendering flag.
    void UseDepthBuffer(char on);
    void TurnOnDepthBuffer();
    void TurnOffDepthBuffer();
    char TurnOffDepthBufferIfNeeded();
    char IsDepthBufferOn();
    void TurnOnLighting();
    void TurnOffLighting();
    char TurnOnLightingIfNeeded();
    char TurnOffLightingIfNeeded();
    char IsLightingOn();
    void ShowTwoSidedPolygons(char on);
    char ShowTwoSidedPolygonsIfNeeded(char on);
    char AreTwoSidedPolygonsOn();
    void SetPolygonDrawOrder(char ccw);
    char BeginRendering();
    char BeginRenderingIfNeeded();
    void EndRendering();
    char IsRenderingOn();

    // Cropping.
    void CropToAreaRatioed(float x, float y, float w, float h);
    void CropToAreaRatioed(_Dimension* d);
    void CropToAreaInViewportRatioed(float x, float y, float w, float h);
    void CropToAreaInViewportRatioed(_Dimension* d);
    void CropToArea(int x, int y, int w, int h);
    void CropToArea(_Dimension* d);
    char IsCropOn();
    void TurnOffCrop();

    // Blending, clearing, colour.
    void EnableBlendingType(int type);
    void EnableSpecificBlending(int src, int dst);
    void DisableBlending();
    char IsBlendingEnabled();
    char GetBlendingState(char* on, int* src, int* dst);
    void SetBlendingState(char on, int src, int dst);
    char SaveOrRestoreBlendingState(char save);
    char SaveOrRestoreBlendingLightingAnd2DStates(char save);
    void SetClearColour(float r, float g, float b);
    void SetClearColour(const _ColourRGB* c);
    void GetClearColour(float* r, float* g, float* b);
    void ClearScreen();
    void ClearScreenAndDepthBuffers();
    void ClearScreenBuffer();
    void ClearDepthBuffer();
    void ForceClearDepthBuffer();
    char SetCurrentColourWhite_GL(char check);
    char DrawSpecularHighlightsOnTopOfTexture_GL(char on);

    // Projection and camera.
    void SetPerspectiveFOV(float degrees, char update);
    void SetPerspectiveAspect(float aspect, char update);
    void SetPerspectiveAspectRelative(float aspect, char);
    void SetPerspectiveNearAndFarPlanes(float near_plane, float far_plane, char update);
    float GetPerspectiveFOV();
    float GetPerspectiveAspect();
    void UpdatePerspectiveMatrix();
    void SetProjectionMatrixFromPerspectiveAndViewMatrices();
    void SetProjectionMatrixToCurrent();
    void SetProjectionMatrixToMatrix(EngMatrix* m);
    void GetProjectionMatrix(EngMatrix* out);
    EngMatrix* GetProjectionMatrix();
    void GetPerspectiveMatrix(EngMatrix* out);
    void GetViewMatrix(EngMatrix* out);
    void SetProjectionMatrixFor2D();
    void SetupLookAtView(const _Vector3d* eye, const _Vector3d* centre);
    void SetupLookAtViewInvUp(const _Vector3d* eye, const _Vector3d* centre);
    void SetupLookAtViewAxisUp(const _Vector3d* eye, const _Vector3d* centre, const _Vector3d* up);
    void SetupLookAtViewAxisUpLH(const _Vector3d* eye, const _Vector3d* at, const _Vector3d* up);
    void SetupLookAtViewForOrientation(const _Vector3d* eye, const _Vector3d* centre);
    char Convert3DPointTo2D(const _Vector3d* p, _Vector2d* out, char ratioed);
    char GetScreenPointInViewportStruct(_EngDeviceViewport* v, int px, int py, float plane, float* out_a,
                                        float* out_b);
    char GetScreenPointInViewportStructXZ(_EngDeviceViewport* v, int px, int py, float plane, float* out_a,
                                          float* out_b);
    char GetScreenPointInViewportStructYZ(_EngDeviceViewport* v, int px, int py, float plane, float* out_a,
                                          float* out_b);
    char GetScreenPointInFullScreen(int px, int py, float plane, float* out_a, float* out_b);
    char GetScreenPointInCurrentViewport(int px, int py, float plane, float* out_a, float* out_b);

    // Model transforms.
    void PushAllMatrices();
    void PopAllMatrices();
    void PushPopMatricesAndLighting(char a, char b);
    void PushTransformMatrix();
    void PopTransformMatrix();
    void SetTransformMatrixIdentity();
    void SetTransformMatrixIdentityWithOrientation();
    void SetTransformMatrixForOrientation(_EngOrientation o);
    void SetTransformMatrixForOrientation();
    void SetTransformMatrixPos(float x, float y, float z);
    void SetTransformMatrixPos(const _Vector3d* p);
    void SetTransformMatrixRot(float x, float y, float z);
    void SetTransformMatrixRot(const _Vector3d* r);
    void SetTransformMatrixRotDeg(float x, float y, float z);
    void SetTransformMatrixPosRot(float px, float py, float pz, float rx, float ry, float rz);
    void SetTransformMatrixPosRot(const _Vector3d* pos, const _Vector3d* rot);
    void SetTransformMatrixPosRotDeg(const _Vector3d* pos, const _Vector3d* rot);
    void SetTransformMatrixPosRotZyx(const _Vector3d* pos, const _Vector3d* rot);
    void SetTransformMatrixPosRotZyxDeg(const _Vector3d* pos, const _Vector3d* rot);
    void SetTransformMatrixPosRotZDeg(float x, float y, float z, float degrees);
    void SetTransformMatrixPosScale(float px, float py, float pz, float sx, float sy, float sz);
    void SetTransformMatrixPosRotScale(float px, float py, float pz, float rx, float ry, float rz, float sx,
                                       float sy, float sz);
    void SetTransformMatrixPosRotScale(const _Vector3d* pos, const _Vector3d* rot, const _Vector3d* scale);
    void SetTransformMatrixPosRotScaleDeg(const _Vector3d* pos, const _Vector3d* rot, const _Vector3d* scale);
    void SetTransformMatrixPosScaleRot(float px, float py, float pz, float sx, float sy, float sz, float rx,
                                       float ry, float rz);
    void SetTransformMatrix(const EngMatrix* m);
    void GetTransformMatrix(EngMatrix* out);
    void MultTransformMatrixResetToIdentity(char c);
    void MultTransformMatrixPos(float x, float y, float z, char c);
    void MultTransformMatrixRot(float x, float y, float z, char c);
    void MultTransformMatrixRotX(float a, char c);
    void MultTransformMatrixRotY(float a, char c);
    void MultTransformMatrixRotZ(float a, char c);
    void MultTransformMatrixScale(float x, float y, float z, char c);

    char created;
    EngWindow* window;
};

extern EngDevice* eng_main_device;

_EngDeviceViewport* EngDeviceResetViewportStruct(_EngDeviceViewport* v);
void EngDeviceSetViewportStructToSize(_EngDeviceViewport* v, int x, int y, int w, int h);
void EngDeviceSetViewportStructToSizeRatioed(_EngDeviceViewport* v, int x, int y, int w, int h);

// Reports a pending OpenGL error (at most 100 reports a run); 1 when none.
char EngUtilsGL_ErrorCheck(const char* function, const char* where);
