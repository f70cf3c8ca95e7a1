// The OpenGL half of the graphics device: the context, the recorded GL state
// (blending, depth, lighting, 2D mode, crop), viewports and projection.
#pragma once

#include <cstdint>

#include "EngDevice.h"
#include "EngMath.h"
#include "EngMatrix.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"

// The display's gamma ramps, kept while full screen fades run.
struct _AglFadeSettings
{
    char valid;
    uint16_t red[256], green[256], blue[256];
    // Faded to black; the fade back waits for the first frame.
    char faded_out;
};

class EngDeviceGL
{
public:
    explicit EngDeviceGL(EngDevice* owner);
    ~EngDeviceGL();

    // Life (Engine/GL/EngDeviceGL.cpp, context half in Engine/Linux).
    char Create(char windowed, int width, int height, int bit_depth, int frequency);
    void Destroy();
    void SetupInitVars();
    char SetupCreate();
    void SetupDestroy();
    void SetDefaultSettings();
    char MiscInitGlew();
    void MiscInitVars();
    void MiscResetVariables();
    void GraphicsBeingDestroyed();
    char UseCurrentContext();
    void SwapBuffers();
    int GetFullScreenRefreshRate();
    void SetMaxTextureSizeForLoadingImages(int size) { max_texture_size_loading = size; }
    void SupportLuminanceOnlyTextures(char on) { luminance_supported = on; }
    char AreLuminanceOnlyTexturesSupported() { return luminance_supported; }
    // The size limit for images: the loading maximum when set and below the GL maximum.
    int GetTextureSizeLimit() const;
    char IsPowerOfTwoNeeded() const { return power_of_two_needed; }
    int GetGLMaxTextureSize() const { return max_texture_size_gl; }
    float GetGLVersion() const { return gl_version; }

    // Platform context half (Engine/Linux/EngDeviceGL_LNX.cpp).
    void AglInit_LNX();
    char AglSetupContext_LNX();
    void AglDeleteContext_LNX();
    void AglSwapBuffers_LNX();
    char AglSetCurrentContext_LNX();
    void AglFadeDisplayToBlack_LNX(_AglFadeSettings* settings);
    void AglFadeDisplayFromBlack_LNX(_AglFadeSettings* settings);
    void AglFadeSetup_LNX();
    float AglFadeFullLoopCalcFrameRate_LNX();

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
    _EngDeviceViewport* GetFullScreenViewport() { return &full_viewport; }
    _EngDeviceViewport* GetCurrentViewport();
    void GetCurrentViewport(_EngDeviceViewport* out);
    char IsViewportFullScreen() { return full_viewport_active; }

    // 2D mode.
    void PrepareFor2D(char lighting_off);
    void PrepareFor2DWithOrientation(char lighting_off);
    char PrepareFor2DIfNeeded(char lighting_off);
    char PrepareFor2DWithOrientationIfNeeded(char lighting_off);
    void RestoreAfter2D();
    char Is2dPrepared() { return prepared_2d; }

    // Depth, lighting, culling, rendering flag.
    void UseDepthBuffer(char on);
    void TurnOnDepthBuffer();
    void TurnOffDepthBuffer();
    char TurnOffDepthBufferIfNeeded();
    char IsDepthBufferOn() { return depth_on; }
    void TurnOnLighting();
    void TurnOffLighting();
    char TurnOnLightingIfNeeded();
    char TurnOffLightingIfNeeded();
    char IsLightingOn() { return lighting_on; }
    void ShowTwoSidedPolygons(char on);
    char ShowTwoSidedPolygonsIfNeeded(char on);
    char AreTwoSidedPolygonsOn() { return two_sided; }
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
    char IsCropOn() { return crop_on; }
    void TurnOffCrop();

    // Blending, clearing, colour.
    void EnableBlendingType(int type);
    void EnableSpecificBlending(int src, int dst);
    void DisableBlending();
    char IsBlendingEnabled() { return blending_on; }
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
    char SetCurrentColourWhite(char check);
    char DrawSpecularHighlightsOnTopOfTexture(char on);

    // Projection and camera.
    void SetPerspectiveFOV(float degrees, char update);
    void SetPerspectiveAspect(float aspect, char update);
    void SetPerspectiveNearAndFarPlanes(float near_plane, float far_plane, char update);
    float GetPerspectiveFOV() { return fov; }
    float GetPerspectiveAspect() { return aspect; }
    void UpdatePerspectiveMatrix();
    void SetProjectionMatrixFromPerspectiveAndViewMatrices();
    void SetProjectionMatrixToCurrent();
    void SetProjectionMatrixToMatrix(EngMatrix* m);
    void GetProjectionMatrix(EngMatrix* out);
    EngMatrix* GetProjectionMatrix() { return &projection_matrix; }
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
    void PushAllMatrices() {}
    void PopAllMatrices() {}
    void PushPopMatricesAndLighting(char, char) {}
    void PushTransformMatrix();
    void PopTransformMatrix();
    int GetTransformPushDepth() const { return push_depth; }
    void SetTransformMatrixIdentity();
    void SetTransformMatrixIdentityWithOrientation();
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
    void MultTransformMatrixResetToIdentity(char);
    void MultTransformMatrixPos(float x, float y, float z, char);
    void MultTransformMatrixRot(float x, float y, float z, char);
    void MultTransformMatrixRotX(float a, char);
    void MultTransformMatrixRotY(float a, char);
    void MultTransformMatrixRotZ(float a, char);
    void MultTransformMatrixScale(float x, float y, float z, char);

    // Fields, in the order of the record.
    EngDevice* owner;
    char separate_specular;
    float gl_version;
    void* context;
    void* drawable;
    _AglFadeSettings fade_settings;
    _EngDeviceViewport full_viewport;
    _EngDeviceViewport current_viewport;
    char crop_on;
    float clear_colour[3];
    char lighting_to_restore;
    char depth_to_restore;
    char full_viewport_active;
    float fov;
    float aspect;
    float near_plane, far_plane;
    char depth_buffer_in_use;
    char prepared_2d;
    char lighting_on;
    char depth_on;
    char front_face_ccw;
    char two_sided;
    char rendering;
    int push_depth;
    int blend_src, blend_dst;
    char blending_on;
    int max_texture_size_gl;
    int max_texture_size_loading;
    char luminance_supported;
    char power_of_two_needed;
    EngMatrix perspective_matrix;
    EngMatrix view_matrix;
    EngMatrix projection_matrix;
    EngMatrix saved_projection_matrix;

private:
    // One saved copy of the blending (and optionally lighting and 2D) states.
    struct SavedStates
    {
        char is_saved = 0, blending_was_on = 0, lighting_was_on = 0, two_d_was_on = 0;
        int src_blend = -1, dest_blend = -1;
    };
    char SaveOrRestoreStates(const char* func, char save, SavedStates* saved, char lighting_and_2d);
    void DoPrepareFor2D(char lighting_off, char orientation);
    void PlaceViewport(int x, int y, int w, int h);
};

extern EngDeviceGL* eng_main_device_gl;
extern char eng_gl_3d_setup;
// Advanced by every GL context creation. Records that keep GL names keep the
// generation they were made under: names of an older one belong to nobody.
extern unsigned int eng_gl_context_generation;

char EngUtilsGL_ErrorCheck(const char* function, const char* where);
// Test hook: allows the given number of error reports again.
void EngUtilsGL_ResetErrorCount(int count);
