// The OpenGL half of the graphics device.
#include "EngDeviceGL.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <cstring>

#include "EngDebug.h"
#include "EngLights.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngWindow.h"

EngDeviceGL* eng_main_device_gl = nullptr;
char eng_gl_3d_setup = 0;
unsigned int eng_gl_context_generation = 0;

int EDEV_BLEND_ZERO = 0;
int EDEV_BLEND_ONE = 0;
int EDEV_BLEND_SRC_COLOUR = 0;
int EDEV_BLEND_INV_SRC_COLOUR = 0;
int EDEV_BLEND_SRC_ALPHA = 0;
int EDEV_BLEND_INV_SRC_ALPHA = 0;
int EDEV_BLEND_DEST_ALPHA = 0;
int EDEV_BLEND_INV_DEST_ALPHA = 0;
int EDEV_BLEND_DEST_COLOUR = 0;
int EDEV_BLEND_INV_DEST_COLOUR = 0;
int EDEV_BLEND_SRC_ALPHA_SATURATE = 0;

static int done_error = 100;

void EngUtilsGL_ResetErrorCount(int count)
{
    done_error = count;
}

char EngUtilsGL_ErrorCheck(const char* function, const char* where)
{
    if (!eng_gl_3d_setup)
        return 1;
    GLenum err = glGetError();
    if (err == GL_NO_ERROR)
        return 1;
    if (done_error > 0)
    {
        const char* text = reinterpret_cast<const char*>(gluErrorString(err));
        if (!text)
            text = "unknown";
        if (done_error == 1)
            DebugError(function, "%s : OpenGL error: %s (no more errors)", where ? where : "", text);
        else
            DebugError(function, "%s : OpenGL error: %s", where ? where : "", text);
        done_error--;
    }
    return 0;
}

EngDeviceGL::EngDeviceGL(EngDevice* o)
{
    owner = o;
    perspective_matrix.SetIdentityMatrix();
    view_matrix.SetIdentityMatrix();
    projection_matrix.SetIdentityMatrix();
    saved_projection_matrix.SetIdentityMatrix();
    gl_version = 1.0f;
    SetupInitVars();
    MiscInitVars();
}

EngDeviceGL::~EngDeviceGL()
{
    Destroy();
}

void EngDeviceGL::SetupInitVars()
{
    AglInit_LNX();
}

char EngDeviceGL::Create(char, int, int, int, int)
{
    if (!SetupCreate())
        return 0;
    SetDefaultSettings();
    return 1;
}

void EngDeviceGL::Destroy()
{
    GraphicsBeingDestroyed();
    SetupDestroy();
}

void EngDeviceGL::GraphicsBeingDestroyed()
{
    blend_src = blend_dst = -1;
}

char EngDeviceGL::SetupCreate()
{
    if (!owner || !eng_main_window)
        return 0;
    if (!AglSetupContext_LNX())
    {
        EngMiscShowPopupMessage(1, "Error setting up display context",
                                eng_main_window_aa ? "Try turning off anti-aliasing and restarting."
                                                   : "Try changing the graphics settings and restarting.");
        return 0;
    }
    eng_gl_3d_setup = 1;
    eng_gl_context_generation++;
    if (eng_main_program)
        for (int i = 0; i < 4; i++)
        {
            owner->ClearScreen();
            owner->SwapBuffers();
        }
    return 1;
}

void EngDeviceGL::SetupDestroy()
{
    if (eng_gl_3d_setup)
    {
        AglDeleteContext_LNX();
        eng_gl_3d_setup = 0;
    }
}

void EngDeviceGL::SetDefaultSettings()
{
    if (!eng_gl_3d_setup)
        return;
    MiscInitGlew();
    MiscResetVariables();
}

char EngDeviceGL::MiscInitGlew()
{
    static char glew_init = 0;
    if (!glew_init)
    {
        glewExperimental = GL_TRUE;
        GLenum err = glewInit();
        // Without GLX (an offscreen video driver) GLEW refuses although the
        // context works: accept it when GL answers with a version.
        if (err != GLEW_OK && !(err == GLEW_ERROR_NO_GLX_DISPLAY && glGetString(GL_VERSION)))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "%s", reinterpret_cast<const char*>(glewGetErrorString(err)));
            return 0;
        }
        glGetError(); // glewInit may leave GL_INVALID_ENUM behind
        glew_init = 1;
    }
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    DebugInfoAlt(__PRETTY_FUNCTION__, "OpenGL version: %s, renderer: %s", version ? version : "?",
                 renderer ? renderer : "?");
    struct
    {
        GLboolean flag;
        float version;
    } const versions[] = {{GLEW_VERSION_4_0, 4.0f}, {GLEW_VERSION_3_3, 3.3f}, {GLEW_VERSION_3_2, 3.2f},
                          {GLEW_VERSION_3_1, 3.1f}, {GLEW_VERSION_3_0, 3.0f}, {GLEW_VERSION_2_1, 2.1f},
                          {GLEW_VERSION_2_0, 2.0f}, {GLEW_VERSION_1_5, 1.5f}, {GLEW_VERSION_1_4, 1.4f},
                          {GLEW_VERSION_1_3, 1.3f}, {GLEW_VERSION_1_2, 1.2f}, {GLEW_VERSION_1_1, 1.1f}};
    gl_version = 1.0f;
    for (const auto& v : versions)
        if (v.flag)
        {
            gl_version = v.version;
            break;
        }
    power_of_two_needed = 0;
    return 1;
}

void EngDeviceGL::MiscInitVars()
{
    EDEV_BLEND_ZERO = GL_ZERO;
    EDEV_BLEND_ONE = GL_ONE;
    EDEV_BLEND_SRC_COLOUR = GL_SRC_COLOR;
    EDEV_BLEND_INV_SRC_COLOUR = GL_ONE_MINUS_SRC_COLOR;
    EDEV_BLEND_SRC_ALPHA = GL_SRC_ALPHA;
    EDEV_BLEND_INV_SRC_ALPHA = GL_ONE_MINUS_SRC_ALPHA;
    EDEV_BLEND_DEST_ALPHA = GL_DST_ALPHA;
    EDEV_BLEND_INV_DEST_ALPHA = GL_ONE_MINUS_DST_ALPHA;
    EDEV_BLEND_DEST_COLOUR = GL_DST_COLOR;
    EDEV_BLEND_INV_DEST_COLOUR = GL_ONE_MINUS_DST_COLOR;
    EDEV_BLEND_SRC_ALPHA_SATURATE = GL_SRC_ALPHA_SATURATE;

    clear_colour[0] = clear_colour[1] = clear_colour[2] = 0.0f;
    full_viewport_active = 1;
    separate_specular = 0;
    crop_on = 0;
    lighting_to_restore = 0;
    depth_to_restore = 0;
    fov = 45.0f;
    aspect = 1.0f;
    near_plane = 0.01f;
    far_plane = 100.0f;
    depth_buffer_in_use = 1;
    prepared_2d = 0;
    lighting_on = 1;
    depth_on = 1;
    front_face_ccw = 1;
    two_sided = 0;
    rendering = 0;
    push_depth = 0;
    blend_src = blend_dst = -1;
    blending_on = 0;
    max_texture_size_gl = 256;
    max_texture_size_loading = 0;
    luminance_supported = 0;
    power_of_two_needed = 1;
    current_viewport = {0, 0, 0, 0, 0.0f, 1.0f};
    SetFullViewportSize();
    perspective_matrix.SetIdentityMatrix();
    view_matrix.SetIdentityMatrix();
    projection_matrix.SetIdentityMatrix();
    saved_projection_matrix.SetIdentityMatrix();
}

void EngDeviceGL::MiscResetVariables()
{
    if (!eng_gl_3d_setup)
        return;
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    if (lighting_on)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    EngLightsInit();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    if (blending_on)
    {
        int s = blend_src, d = blend_dst;
        blend_src = blend_dst = -1;
        blending_on = 0;
        EnableSpecificBlending(s, d);
    }
    else
    {
        // The pair given to GL above is no longer the recorded one.
        blend_src = GL_SRC_ALPHA;
        blend_dst = GL_ONE;
        glDisable(GL_BLEND);
        blending_on = 0;
    }
    glEnable(GL_TEXTURE_2D);
    ShowTwoSidedPolygons(two_sided);
    SetPolygonDrawOrder(front_face_ccw);
    EngMaterialsApplyAdvancedMaterialsSetting();
    EngLightsSetSpecularColourLocalViewpoint_GL(-1);
    DrawSpecularHighlightsOnTopOfTexture(-1);
    glClearColor(clear_colour[0], clear_colour[1], clear_colour[2], 1.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    UseDepthBuffer(depth_buffer_in_use);
    SetFullViewportSize();
    glViewport(0, 0, eng_main_window_width, eng_main_window_height);
    full_viewport_active = 1;
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // The filter hint exists only with its extension; elsewhere it is an error.
    bool filter_hint = glewIsSupported("GL_NV_multisample_filter_hint");
    if (eng_main_window_aa > 0)
    {
        glEnable(GL_MULTISAMPLE);
        if (filter_hint)
            glHint(GL_MULTISAMPLE_FILTER_HINT_NV, GL_NICEST);
    }
    else
    {
        glDisable(GL_MULTISAMPLE);
        if (filter_hint)
            glHint(GL_MULTISAMPLE_FILTER_HINT_NV, GL_FASTEST);
    }
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    if (max_size > 0)
        max_texture_size_gl = max_size;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDisable(GL_SCISSOR_TEST);
    crop_on = 0;
    if (prepared_2d)
    {
        char keep = lighting_to_restore;
        RestoreAfter2D();
        PrepareFor2D(keep);
    }
    else
        prepared_2d = 0;
    glColor4f(1, 1, 1, 1);
}

char EngDeviceGL::UseCurrentContext()
{
    if (!context)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No context");
        return 0;
    }
    return AglSetCurrentContext_LNX();
}

void EngDeviceGL::SwapBuffers()
{
    if (eng_gl_3d_setup)
        AglSwapBuffers_LNX();
}

int EngDeviceGL::GetFullScreenRefreshRate()
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented");
    return 0;
}

int EngDeviceGL::GetTextureSizeLimit() const
{
    if (max_texture_size_loading > 0 && max_texture_size_loading < max_texture_size_gl)
        return max_texture_size_loading;
    return max_texture_size_gl;
}

// ---- Viewports -----------------------------------------------------------

static int RndX(float v)
{
    return EngMathRound(v * eng_main_window_x_ratio);
}
static int RndY(float v)
{
    return EngMathRound(v * eng_main_window_y_ratio);
}

void EngDeviceGL::PlaceViewport(int x, int y, int w, int h)
{
    current_viewport.x = x;
    current_viewport.y = y;
    current_viewport.width = w;
    current_viewport.height = h;
    glViewport(x, eng_main_window_height - y - h, w, h);
    full_viewport_active = 0;
}

void EngDeviceGL::SetFullViewportSize()
{
    if (eng_main_window)
        full_viewport = {0, 0, eng_main_window_width, eng_main_window_height, 0.0f, 1.0f};
    else
        full_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    if (eng_gl_3d_setup && full_viewport_active)
        glViewport(0, 0, eng_main_window_width, eng_main_window_height);
}

void EngDeviceGL::SetViewportFullScreen()
{
    if (!eng_gl_3d_setup)
        return;
    glViewport(0, 0, eng_main_window_width, eng_main_window_height);
    full_viewport_active = 1;
}

void EngDeviceGL::SetViewportToSize(int x, int y, int w, int h)
{
    if (eng_gl_3d_setup)
        PlaceViewport(x, y, w, h);
}

void EngDeviceGL::SetViewportToSize(_Dimension* d)
{
    if (!d)
        SetViewportFullScreen();
    else
        SetViewportToSize(int(d->x), int(d->y), int(d->w), int(d->h));
}

void EngDeviceGL::SetViewportToViewportStruct(const _EngDeviceViewport* v)
{
    if (v && eng_gl_3d_setup)
        PlaceViewport(v->x, v->y, v->width, v->height);
}

void EngDeviceGL::SetViewportToSizeRatioed(int x, int y, int w, int h)
{
    int rx = RndX(float(x)), ry = RndY(float(y)), rw = RndX(float(w)), rh = RndY(float(h));
    if (eng_gl_3d_setup)
        PlaceViewport(rx, ry, rw, rh);
}

void EngDeviceGL::SetViewportToSizeRatioed(_Dimension* d)
{
    if (!d)
    {
        SetViewportFullScreen();
        return;
    }
    int rx = RndX(d->x), ry = RndY(d->y), rw = RndX(d->w), rh = RndY(d->h);
    if (eng_gl_3d_setup)
        PlaceViewport(rx, ry, rw, rh);
}

void EngDeviceGL::SetViewportToViewportStructRatioed(const _EngDeviceViewport* v)
{
    if (v)
        SetViewportToSizeRatioed(v->x, v->y, v->width, v->height);
}

void EngDeviceGL::SetViewportToSizeWithOrientationRatioed(int x, int y, int w, int h)
{
    if (!eng_gl_3d_setup || eng_main_orientation_alt < 0)
        return;
    int W = eng_main_window_width, H = eng_main_window_height;
    float a = H / 640.0f, b = W / 480.0f;
    int rx, ry, rw, rh;
    switch (eng_main_orientation_alt)
    {
    case 0:
        rx = RndX(float(x)), ry = RndY(float(y)), rw = RndX(float(w)), rh = RndY(float(h));
        break;
    case 1:
        rw = RndX(float(w)), rh = RndY(float(h));
        rx = W - rw - RndX(float(x)), ry = H - rh - RndY(float(y));
        break;
    case 2:
        rw = EngMathRound(h * b), rh = EngMathRound(w * a);
        rx = W - rw - EngMathRound(y * b), ry = EngMathRound(x * a);
        break;
    default:
        rw = EngMathRound(h * b), rh = EngMathRound(w * a);
        rx = EngMathRound(y * b), ry = H - rh - EngMathRound(x * a);
        break;
    }
    PlaceViewport(rx, ry, rw, rh);
}

void EngDeviceGL::SetViewportToSizeWithOrientationRatioed(_Dimension* d)
{
    if (!d)
        SetViewportFullScreen();
    else
        SetViewportToSizeWithOrientationRatioed(int(d->x), int(d->y), int(d->w), int(d->h));
}

void EngDeviceGL::SetViewportToViewportStructWithOrientationRatioed(const _EngDeviceViewport* v)
{
    if (v)
        SetViewportToSizeWithOrientationRatioed(v->x, v->y, v->width, v->height);
}

_EngDeviceViewport* EngDeviceGL::GetCurrentViewport()
{
    return full_viewport_active ? &full_viewport : &current_viewport;
}

void EngDeviceGL::GetCurrentViewport(_EngDeviceViewport* out)
{
    if (out)
        *out = *GetCurrentViewport();
}

// ---- 2D mode ---------------------------------------------------------------

void EngDeviceGL::DoPrepareFor2D(char lighting_off, char orientation)
{
    if (!eng_gl_3d_setup)
        return;
    if (prepared_2d)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Already prepared");
        return;
    }
    if (lighting_off && lighting_on)
    {
        glDisable(GL_LIGHTING);
        lighting_on = 0;
        lighting_to_restore = 1;
    }
    if (depth_buffer_in_use && depth_on)
    {
        glDisable(GL_DEPTH_TEST);
        depth_on = 0;
        depth_to_restore = 1;
    }
    else
        depth_to_restore = 0;
    saved_projection_matrix = projection_matrix;
    if (orientation)
        projection_matrix.SetOrientationMatrix(eng_main_orientation_alt);
    else
        projection_matrix.SetIdentityMatrix();
    SetProjectionMatrixToCurrent();
    glPushMatrix();
    glLoadIdentity();
    prepared_2d = 1;
}

void EngDeviceGL::PrepareFor2D(char lighting_off)
{
    DoPrepareFor2D(lighting_off, 0);
}

void EngDeviceGL::PrepareFor2DWithOrientation(char lighting_off)
{
    DoPrepareFor2D(lighting_off, 1);
}

char EngDeviceGL::PrepareFor2DIfNeeded(char lighting_off)
{
    if (!eng_gl_3d_setup || prepared_2d)
        return 0;
    PrepareFor2D(lighting_off);
    return 1;
}

char EngDeviceGL::PrepareFor2DWithOrientationIfNeeded(char lighting_off)
{
    if (!eng_gl_3d_setup || prepared_2d)
        return 0;
    PrepareFor2DWithOrientation(lighting_off);
    return 1;
}

void EngDeviceGL::RestoreAfter2D()
{
    if (!eng_gl_3d_setup)
    {
        prepared_2d = 0;
        return;
    }
    if (!prepared_2d)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not prepared");
        return;
    }
    glPopMatrix();
    projection_matrix = saved_projection_matrix;
    SetProjectionMatrixToCurrent();
    if (lighting_to_restore)
    {
        glEnable(GL_LIGHTING);
        lighting_on = 1;
        lighting_to_restore = 0;
    }
    if (depth_to_restore)
    {
        if (depth_buffer_in_use)
        {
            glEnable(GL_DEPTH_TEST);
            depth_on = 1;
        }
        depth_to_restore = 0;
    }
    prepared_2d = 0;
}

// ---- Depth, lighting, culling, rendering -------------------------------------

void EngDeviceGL::UseDepthBuffer(char on)
{
    if (on)
    {
        if (eng_gl_3d_setup)
            glEnable(GL_DEPTH_TEST);
        depth_buffer_in_use = depth_on = 1;
    }
    else
    {
        if (eng_gl_3d_setup)
            glDisable(GL_DEPTH_TEST);
        depth_buffer_in_use = depth_on = 0;
    }
}

void EngDeviceGL::TurnOnDepthBuffer()
{
    if (!depth_buffer_in_use)
        return;
    if (eng_gl_3d_setup)
        glEnable(GL_DEPTH_TEST);
    depth_on = 1;
}

void EngDeviceGL::TurnOffDepthBuffer()
{
    if (!depth_buffer_in_use)
        return;
    if (eng_gl_3d_setup)
        glDisable(GL_DEPTH_TEST);
    depth_on = 0;
    depth_to_restore = 0;
}

char EngDeviceGL::TurnOffDepthBufferIfNeeded()
{
    if (!depth_buffer_in_use || !depth_on)
        return 0;
    if (eng_gl_3d_setup)
        glDisable(GL_DEPTH_TEST);
    depth_on = 0;
    depth_to_restore = 0;
    return 1;
}

void EngDeviceGL::TurnOnLighting()
{
    if (!eng_gl_3d_setup)
        return;
    glEnable(GL_LIGHTING);
    lighting_on = 1;
}

void EngDeviceGL::TurnOffLighting()
{
    if (!eng_gl_3d_setup)
        return;
    glDisable(GL_LIGHTING);
    lighting_on = 0;
}

char EngDeviceGL::TurnOnLightingIfNeeded()
{
    if (!eng_gl_3d_setup || lighting_on)
        return 0;
    TurnOnLighting();
    return 1;
}

char EngDeviceGL::TurnOffLightingIfNeeded()
{
    if (!eng_gl_3d_setup || !lighting_on)
        return 0;
    TurnOffLighting();
    return 1;
}

void EngDeviceGL::ShowTwoSidedPolygons(char on)
{
    if (!eng_gl_3d_setup)
        return;
    if (on)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);
    two_sided = on;
}

char EngDeviceGL::ShowTwoSidedPolygonsIfNeeded(char on)
{
    char before = two_sided;
    if (eng_gl_3d_setup && (on != 0) != (two_sided != 0))
        ShowTwoSidedPolygons(on);
    return before;
}

void EngDeviceGL::SetPolygonDrawOrder(char ccw)
{
    front_face_ccw = ccw;
    if (eng_gl_3d_setup)
        glFrontFace(ccw ? GL_CCW : GL_CW);
}

char EngDeviceGL::BeginRendering()
{
    if (!eng_gl_3d_setup)
        return 0;
    rendering = 1;
    return 1;
}

char EngDeviceGL::BeginRenderingIfNeeded()
{
    if (!eng_gl_3d_setup || rendering)
        return 0;
    rendering = 1;
    return 1;
}

void EngDeviceGL::EndRendering()
{
    if (!eng_gl_3d_setup)
        return;
    if (!rendering)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not rendering");
    rendering = 0;
}

char EngDeviceGL::IsRenderingOn()
{
    return eng_gl_3d_setup && rendering;
}

// ---- Cropping ----------------------------------------------------------------

void EngDeviceGL::CropToAreaRatioed(float x, float y, float w, float h)
{
    if (!eng_gl_3d_setup)
        return;
    float W = float(eng_main_window_width), H = float(eng_main_window_height);
    float vx = 0, vy = 0, vw = W, vh = H;
    if (!full_viewport_active)
    {
        vx = float(current_viewport.x), vy = float(current_viewport.y);
        vw = float(current_viewport.width), vh = float(current_viewport.height);
    }
    // The box in the viewport's own pixels (top-left origin), turned with the
    // orientation; in 2 and 3 the 640x480 space lies across the viewport.
    float sx = vw / 640.0f, sy = vh / 480.0f, tx = vw / 480.0f, ty = vh / 640.0f;
    float left, top, bw, bh;
    switch (eng_main_orientation_alt)
    {
    case 0:
        left = x * sx, top = y * sy, bw = w * sx, bh = h * sy;
        break;
    case 1:
        left = vw - (x + w) * sx, top = vh - (y + h) * sy, bw = w * sx, bh = h * sy;
        break;
    case 2:
        left = vw - (y + h) * tx, top = x * ty, bw = h * tx, bh = w * ty;
        break;
    case 3:
        left = y * tx, top = vh - (x + w) * ty, bw = h * tx, bh = w * ty;
        break;
    default:
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented for orientation");
        return;
    }
    // Placed in the window; GL counts rows from the bottom.
    glScissor(EngMathRound(vx + left), EngMathRound(H - (vy + top) - bh), EngMathRound(bw), EngMathRound(bh));
    glEnable(GL_SCISSOR_TEST);
    crop_on = 1;
}

void EngDeviceGL::CropToAreaRatioed(_Dimension* d)
{
    if (d)
        CropToAreaRatioed(d->x, d->y, d->w, d->h);
}

void EngDeviceGL::CropToAreaInViewportRatioed(float x, float y, float w, float h)
{
    if (full_viewport_active)
    {
        CropToAreaRatioed(x, y, w, h);
        return;
    }
    if (!eng_gl_3d_setup)
        return;
    float W = float(eng_main_window_width), H = float(eng_main_window_height);
    float sx = current_viewport.width / W, sy = current_viewport.height / H;
    float xr = eng_main_window_x_ratio, yr = eng_main_window_y_ratio;
    glScissor(int(current_viewport.x + x * xr * sx),
              int(H - (current_viewport.y + y * yr * sy) - h * yr * sy), int(w * xr * sx), int(h * yr * sy));
    glEnable(GL_SCISSOR_TEST);
    crop_on = 1;
}

void EngDeviceGL::CropToAreaInViewportRatioed(_Dimension* d)
{
    if (d)
        CropToAreaInViewportRatioed(d->x, d->y, d->w, d->h);
}

void EngDeviceGL::CropToArea(int x, int y, int w, int h)
{
    if (!eng_gl_3d_setup)
        return;
    glScissor(x, eng_main_window_height - y - h, w, h);
    glEnable(GL_SCISSOR_TEST);
    crop_on = 1;
}

void EngDeviceGL::CropToArea(_Dimension* d)
{
    if (!eng_gl_3d_setup || !d)
        return;
    glScissor(int(d->x), int(eng_main_window_height - d->y - d->h), int(d->w), int(d->h));
    glEnable(GL_SCISSOR_TEST);
    crop_on = 1;
}

void EngDeviceGL::TurnOffCrop()
{
    if (!eng_gl_3d_setup)
        return;
    glDisable(GL_SCISSOR_TEST);
    crop_on = 0;
}

// ---- Blending, clearing, colour ------------------------------------------------

static const int blend_types[19][2] = {
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
    {GL_SRC_ALPHA, GL_SRC_ALPHA},
    {GL_SRC_ALPHA, GL_DST_COLOR},
    {GL_ONE, GL_SRC_ALPHA},
    {GL_SRC_COLOR, GL_SRC_ALPHA},
    {GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},
    {GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},
    {GL_SRC_ALPHA, GL_ONE},
    {GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA},
    {GL_ONE, GL_ONE},
    {GL_ONE_MINUS_SRC_ALPHA, GL_ONE},
    {GL_ONE_MINUS_SRC_COLOR, GL_ONE},
    {GL_DST_COLOR, GL_ZERO},
    {GL_ZERO, GL_ONE_MINUS_SRC_COLOR},
    {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA},
    {GL_SRC_COLOR, GL_ONE},
    {GL_ONE, GL_ONE_MINUS_SRC_COLOR},
    {GL_DST_COLOR, GL_ONE},
};

void EngDeviceGL::EnableBlendingType(int type)
{
    if (!eng_gl_3d_setup)
        return;
    if (type < 0 || type > 18)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Type %d", type);
        return;
    }
    EnableSpecificBlending(blend_types[type][0], blend_types[type][1]);
}

void EngDeviceGL::EnableSpecificBlending(int src, int dst)
{
    if (src != blend_src || dst != blend_dst)
    {
        blend_src = src;
        blend_dst = dst;
        glBlendFunc(GLenum(src), GLenum(dst));
    }
    if (!blending_on)
    {
        glEnable(GL_BLEND);
        blending_on = 1;
    }
}

void EngDeviceGL::DisableBlending()
{
    if (blending_on)
    {
        glDisable(GL_BLEND);
        blending_on = 0;
    }
}

char EngDeviceGL::GetBlendingState(char* on, int* src, int* dst)
{
    if (on)
        *on = blending_on;
    if (src)
        *src = blend_src;
    if (dst)
        *dst = blend_dst;
    return blending_on;
}

void EngDeviceGL::SetBlendingState(char on, int src, int dst)
{
    if (on)
        EnableSpecificBlending(src, dst);
    else
        DisableBlending();
}

char EngDeviceGL::SaveOrRestoreStates(const char* func, char save, SavedStates* saved, char lighting_and_2d)
{
    if (save)
    {
        if (saved->is_saved)
        {
            DebugErrorAlt(func, "Already saved");
            return 0;
        }
        saved->blending_was_on = blending_on;
        saved->src_blend = blend_src;
        saved->dest_blend = blend_dst;
        saved->lighting_was_on = lighting_on;
        saved->two_d_was_on = prepared_2d;
        saved->is_saved = 1;
        return 1;
    }
    if (!saved->is_saved)
    {
        DebugErrorAlt(func, "Not saved");
        return 0;
    }
    if (saved->blending_was_on)
        EnableSpecificBlending(saved->src_blend, saved->dest_blend);
    else
        DisableBlending();
    if (lighting_and_2d)
    {
        if (saved->two_d_was_on && !prepared_2d && eng_gl_3d_setup)
            PrepareFor2D(0);
        else if (!saved->two_d_was_on && prepared_2d)
            RestoreAfter2D();
        if (saved->lighting_was_on && !lighting_on)
        {
            glEnable(GL_LIGHTING);
            lighting_on = 1;
        }
        else if (!saved->lighting_was_on && lighting_on)
        {
            glDisable(GL_LIGHTING);
            lighting_on = 0;
        }
    }
    saved->is_saved = 0;
    return 1;
}

char EngDeviceGL::SaveOrRestoreBlendingState(char save)
{
    static SavedStates saved;
    return SaveOrRestoreStates(__PRETTY_FUNCTION__, save, &saved, 0);
}

char EngDeviceGL::SaveOrRestoreBlendingLightingAnd2DStates(char save)
{
    static SavedStates saved;
    return SaveOrRestoreStates(__PRETTY_FUNCTION__, save, &saved, 1);
}

void EngDeviceGL::SetClearColour(float r, float g, float b)
{
    clear_colour[0] = r, clear_colour[1] = g, clear_colour[2] = b;
    if (eng_gl_3d_setup)
        glClearColor(r, g, b, 1.0f);
}

void EngDeviceGL::SetClearColour(const _ColourRGB* c)
{
    if (c)
        SetClearColour(c->r, c->g, c->b);
    else
        SetClearColour(0.0f, 0.0f, 0.0f);
}

void EngDeviceGL::GetClearColour(float* r, float* g, float* b)
{
    if (r)
        *r = clear_colour[0];
    if (g)
        *g = clear_colour[1];
    if (b)
        *b = clear_colour[2];
}

void EngDeviceGL::ClearScreen()
{
    if (!eng_gl_3d_setup)
        return;
    GLbitfield bits = GL_COLOR_BUFFER_BIT;
    if (depth_buffer_in_use && depth_on)
        bits |= GL_DEPTH_BUFFER_BIT;
    glClear(bits);
}

void EngDeviceGL::ClearScreenAndDepthBuffers()
{
    if (eng_gl_3d_setup)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void EngDeviceGL::ClearScreenBuffer()
{
    if (eng_gl_3d_setup)
        glClear(GL_COLOR_BUFFER_BIT);
}

void EngDeviceGL::ClearDepthBuffer()
{
    if (eng_gl_3d_setup)
        glClear(GL_DEPTH_BUFFER_BIT);
}

void EngDeviceGL::ForceClearDepthBuffer()
{
    if (!eng_gl_3d_setup)
        return;
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Existing Error Before Function Call");
    glClear(GL_DEPTH_BUFFER_BIT);
    EngUtilsGL_ErrorCheck(__PRETTY_FUNCTION__, "Existing Error After Function Call");
}

char EngDeviceGL::SetCurrentColourWhite(char check)
{
    if (check)
    {
        GLfloat c[4] = {0, 0, 0, 0};
        glGetFloatv(GL_CURRENT_COLOR, c);
        if (c[0] == 1.0f && c[1] == 1.0f && c[2] == 1.0f && c[3] == 1.0f)
            return 0;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Current colour was: [ %f, %f, %f, %f ].", c[0], c[1], c[2], c[3]);
    }
    glColor4f(1, 1, 1, 1);
    return 1;
}

char EngDeviceGL::DrawSpecularHighlightsOnTopOfTexture(char on)
{
    if (gl_version >= 1.2f || GLEW_EXT_separate_specular_color)
    {
        if (on >= 0)
            separate_specular = on;
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                      separate_specular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
        return 1;
    }
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported for your GL version %.1f", gl_version);
    if (!glewIsSupported("GL_EXT_separate_specular_color"))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported for your GL version %.1f (B)", gl_version);
    return 0;
}
