// Projection, camera, picking and model transforms of the OpenGL device.
#include <GL/glew.h>

#include "EngDebug.h"
#include "EngDeviceGL.h"

static const float RAD_TO_DEG = 57.29578f;

void EngDeviceGL::SetPerspectiveFOV(float degrees, char update)
{
    fov = degrees;
    if (update)
        UpdatePerspectiveMatrix();
}

void EngDeviceGL::SetPerspectiveAspect(float a, char update)
{
    aspect = a;
    if (update)
        UpdatePerspectiveMatrix();
}

void EngDeviceGL::SetPerspectiveNearAndFarPlanes(float n, float f, char update)
{
    near_plane = n;
    far_plane = f;
    if (update)
        UpdatePerspectiveMatrix();
}

void EngDeviceGL::UpdatePerspectiveMatrix()
{
    if (prepared_2d)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning: 2d is prepared.");
    perspective_matrix.SetPerspectiveMatrix(fov, aspect, near_plane, far_plane);
    SetProjectionMatrixFromPerspectiveAndViewMatrices();
}

void EngDeviceGL::SetProjectionMatrixFromPerspectiveAndViewMatrices()
{
    projection_matrix = perspective_matrix;
    projection_matrix.PreMultiplyByMatrix(&view_matrix);
    SetProjectionMatrixToCurrent();
}

void EngDeviceGL::SetProjectionMatrixToCurrent()
{
    if (!eng_gl_3d_setup)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection_matrix(0, 0));
    glMatrixMode(GL_MODELVIEW);
}

void EngDeviceGL::SetProjectionMatrixToMatrix(EngMatrix* m)
{
    if (!m)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No matrix.");
        return;
    }
    projection_matrix = *m;
    SetProjectionMatrixToCurrent();
}

void EngDeviceGL::GetProjectionMatrix(EngMatrix* out)
{
    if (out)
        *out = projection_matrix;
}

void EngDeviceGL::GetPerspectiveMatrix(EngMatrix* out)
{
    if (out)
        *out = perspective_matrix;
}

void EngDeviceGL::GetViewMatrix(EngMatrix* out)
{
    if (out)
        *out = view_matrix;
}

void EngDeviceGL::SetProjectionMatrixFor2D()
{
    if (prepared_2d)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Warning: 2d is prepared.");
    projection_matrix.SetOrientationMatrix(eng_main_orientation_alt);
    SetProjectionMatrixToCurrent();
}

void EngDeviceGL::SetupLookAtView(const _Vector3d* eye, const _Vector3d* centre)
{
    _Vector3d up = {0, 0, 1};
    SetupLookAtViewAxisUp(eye, centre, &up);
}

void EngDeviceGL::SetupLookAtViewInvUp(const _Vector3d* eye, const _Vector3d* centre)
{
    _Vector3d up = {0, 0, -1};
    SetupLookAtViewAxisUp(eye, centre, &up);
}

void EngDeviceGL::SetupLookAtViewAxisUp(const _Vector3d* eye, const _Vector3d* centre, const _Vector3d* up)
{
    view_matrix.SetLookAtMatrix(eye, centre, up);
    SetProjectionMatrixFromPerspectiveAndViewMatrices();
}

void EngDeviceGL::SetupLookAtViewAxisUpLH(const _Vector3d* eye, const _Vector3d* at, const _Vector3d* up)
{
    if (!eye || !at || !up)
        return;
    view_matrix.SetLookAtMatrixLH(eye, at, up);
    SetProjectionMatrixFromPerspectiveAndViewMatrices();
}

void EngDeviceGL::SetupLookAtViewForOrientation(const _Vector3d* eye, const _Vector3d* centre)
{
    int o = eng_main_orientation_alt;
    if (o < 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown orientation %d", o);
    if (o <= 0)
    {
        SetupLookAtView(eye, centre);
        return;
    }
    EngMatrix r;
    r.SetRotateZMatrixDeg(o == 1 ? 180.0f : o == 2 ? 270.0f : 90.0f);
    _Vector3d up = {0, 0, 1};
    view_matrix.SetLookAtMatrix(eye, centre, &up);
    projection_matrix = perspective_matrix;
    projection_matrix.PreMultiplyByMatrix(&r);
    projection_matrix.PreMultiplyByMatrix(&view_matrix);
    SetProjectionMatrixToCurrent();
}

char EngDeviceGL::Convert3DPointTo2D(const _Vector3d* p, _Vector2d* out, char ratioed)
{
    if (!p || !out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    EngMatrix m = view_matrix;
    m.MultiplyByMatrix(&perspective_matrix);
    _Vector3d q;
    m.TransformVectorByMatrix2(p, &q);
    float W = float(eng_main_window_width), H = float(eng_main_window_height);
    out->x = W / 2 * q.x + W / 2;
    out->y = H / 2 - H / 2 * q.y;
    if (ratioed)
    {
        out->x *= eng_main_window_x_ratio_inv;
        out->y *= eng_main_window_y_ratio_inv;
    }
    return 1;
}

// Which plane the picking ray is cut with.
enum PickPlane
{
    PICK_Z,
    PICK_Y,
    PICK_X
};

static char PickPoint(EngDeviceGL* dev, _EngDeviceViewport* v, int px, int py, float plane, float* out_a,
                      float* out_b, PickPlane kind)
{
    float width, height, x = float(px), y = float(py);
    if (v)
    {
        if (kind != PICK_Z && (px < v->x || px > v->x + v->width || py < v->y || py > v->y + v->height))
            return 0;
        width = float(v->width), height = float(v->height);
        x -= v->x, y -= v->y;
    }
    else
        width = float(eng_main_window_width), height = float(eng_main_window_height);
    if (width <= 0 || height <= 0)
        return 0;
    float p0 = dev->perspective_matrix(0, 0), p5 = dev->perspective_matrix(1, 1);
    if (p0 == 0 || p5 == 0)
        return 0;
    EngMatrix inv;
    inv.SetIdentityMatrix();
    dev->view_matrix.GetInverseMatrix(&inv, nullptr);
    auto I = [&inv](int k) { return inv(k % 4, k / 4); };
    float c[3] = {I(12), I(13), I(14)};
    float cx = (1 - 2 * x / width) / p0, cy = (2 * y / height - 1) / p5;
    float d[3] = {I(0) * cx + I(4) * cy + I(8), I(1) * cx + I(5) * cy + I(9), I(2) * cx + I(6) * cy + I(10)};
    int axis = kind == PICK_Z ? 2 : kind == PICK_Y ? 1 : 0;
    if (d[axis] == 0)
        return 0;
    float t = (plane - c[axis]) / d[axis];
    int ia = kind == PICK_X ? 1 : 0, ib = kind == PICK_Z ? 1 : 2;
    if (out_a)
        *out_a = c[ia] + d[ia] * t;
    if (out_b)
        *out_b = c[ib] + d[ib] * t;
    return 1;
}

char EngDeviceGL::GetScreenPointInViewportStruct(_EngDeviceViewport* v, int px, int py, float plane, float* a,
                                                 float* b)
{
    return PickPoint(this, v, px, py, plane, a, b, PICK_Z);
}

char EngDeviceGL::GetScreenPointInViewportStructXZ(_EngDeviceViewport* v, int px, int py, float plane,
                                                   float* a, float* b)
{
    return PickPoint(this, v, px, py, plane, a, b, PICK_Y);
}

char EngDeviceGL::GetScreenPointInViewportStructYZ(_EngDeviceViewport* v, int px, int py, float plane,
                                                   float* a, float* b)
{
    return PickPoint(this, v, px, py, plane, a, b, PICK_X);
}

char EngDeviceGL::GetScreenPointInFullScreen(int px, int py, float plane, float* a, float* b)
{
    return GetScreenPointInViewportStruct(nullptr, px, py, plane, a, b);
}

char EngDeviceGL::GetScreenPointInCurrentViewport(int px, int py, float plane, float* a, float* b)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not tested");
    return GetScreenPointInViewportStruct(full_viewport_active ? nullptr : &current_viewport, px, py, plane,
                                          a, b);
}

// ---- Model transforms ----------------------------------------------------------

void EngDeviceGL::PushTransformMatrix()
{
    if (!eng_gl_3d_setup)
        return;
    glPushMatrix();
    push_depth++;
}

void EngDeviceGL::PopTransformMatrix()
{
    if (!eng_gl_3d_setup)
        return;
    if (push_depth <= 0)
    {
        // Popping an empty stack is a GL error: leave the stack alone.
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many pops");
        push_depth = 0;
        return;
    }
    glPopMatrix();
    push_depth--;
}

static void Translate(const _Vector3d* p)
{
    if (p)
        glTranslatef(p->x, p->y, p->z);
}

static void RotXYZ(float x, float y, float z, float f)
{
    glRotatef(x * f, 1, 0, 0);
    glRotatef(y * f, 0, 1, 0);
    glRotatef(z * f, 0, 0, 1);
}

static void RotZYX(float x, float y, float z, float f)
{
    glRotatef(z * f, 0, 0, 1);
    glRotatef(y * f, 0, 1, 0);
    glRotatef(x * f, 1, 0, 0);
}

static void RotV(const _Vector3d* r, float f)
{
    if (r)
        RotXYZ(r->x, r->y, r->z, f);
}

static void Scale(const _Vector3d* s)
{
    if (s)
        glScalef(s->x, s->y, s->z);
}

void EngDeviceGL::SetTransformMatrixIdentity()
{
    glLoadIdentity();
}

void EngDeviceGL::SetTransformMatrixIdentityWithOrientation()
{
    glLoadIdentity();
    int o = eng_main_orientation_alt;
    if (o == 1)
        glRotatef(180, 0, 0, 1);
    else if (o == 2)
        glRotatef(270, 0, 0, 1);
    else if (o >= 3)
        glRotatef(90, 0, 0, 1);
}

void EngDeviceGL::SetTransformMatrixPos(float x, float y, float z)
{
    glLoadIdentity();
    glTranslatef(x, y, z);
}

void EngDeviceGL::SetTransformMatrixPos(const _Vector3d* p)
{
    glLoadIdentity();
    Translate(p);
}

void EngDeviceGL::SetTransformMatrixRot(float x, float y, float z)
{
    glLoadIdentity();
    RotXYZ(x, y, z, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrixRot(const _Vector3d* r)
{
    glLoadIdentity();
    RotV(r, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrixRotDeg(float x, float y, float z)
{
    glLoadIdentity();
    RotXYZ(x, y, z, 1.0f);
}

void EngDeviceGL::SetTransformMatrixPosRot(float px, float py, float pz, float rx, float ry, float rz)
{
    glLoadIdentity();
    glTranslatef(px, py, pz);
    RotXYZ(rx, ry, rz, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrixPosRot(const _Vector3d* pos, const _Vector3d* rot)
{
    glLoadIdentity();
    Translate(pos);
    RotV(rot, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrixPosRotDeg(const _Vector3d* pos, const _Vector3d* rot)
{
    glLoadIdentity();
    Translate(pos);
    RotV(rot, 1.0f);
}

void EngDeviceGL::SetTransformMatrixPosRotZyx(const _Vector3d* pos, const _Vector3d* rot)
{
    glLoadIdentity();
    Translate(pos);
    if (rot)
        RotZYX(rot->x, rot->y, rot->z, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrixPosRotZyxDeg(const _Vector3d* pos, const _Vector3d* rot)
{
    glLoadIdentity();
    Translate(pos);
    if (rot)
        RotZYX(rot->x, rot->y, rot->z, 1.0f);
}

void EngDeviceGL::SetTransformMatrixPosRotZDeg(float x, float y, float z, float degrees)
{
    glLoadIdentity();
    glTranslatef(x, y, z);
    glRotatef(degrees, 0, 0, 1);
}

void EngDeviceGL::SetTransformMatrixPosScale(float px, float py, float pz, float sx, float sy, float sz)
{
    glLoadIdentity();
    glTranslatef(px, py, pz);
    glScalef(sx, sy, sz);
}

void EngDeviceGL::SetTransformMatrixPosRotScale(float px, float py, float pz, float rx, float ry, float rz,
                                                float sx, float sy, float sz)
{
    glLoadIdentity();
    glTranslatef(px, py, pz);
    RotXYZ(rx, ry, rz, RAD_TO_DEG);
    glScalef(sx, sy, sz);
}

void EngDeviceGL::SetTransformMatrixPosRotScale(const _Vector3d* pos, const _Vector3d* rot,
                                                const _Vector3d* scale)
{
    glLoadIdentity();
    Translate(pos);
    RotV(rot, RAD_TO_DEG);
    Scale(scale);
}

void EngDeviceGL::SetTransformMatrixPosRotScaleDeg(const _Vector3d* pos, const _Vector3d* rot,
                                                   const _Vector3d* scale)
{
    glLoadIdentity();
    Translate(pos);
    RotV(rot, 1.0f);
    Scale(scale);
}

void EngDeviceGL::SetTransformMatrixPosScaleRot(float px, float py, float pz, float sx, float sy, float sz,
                                                float rx, float ry, float rz)
{
    glLoadIdentity();
    glTranslatef(px, py, pz);
    glScalef(sx, sy, sz);
    RotXYZ(rx, ry, rz, RAD_TO_DEG);
}

void EngDeviceGL::SetTransformMatrix(const EngMatrix* m)
{
    if (!eng_gl_3d_setup)
        return;
    if (m)
    {
        EngMatrix copy = *m;
        glLoadMatrixf(&copy(0, 0));
    }
    else
        glLoadIdentity();
}

void EngDeviceGL::GetTransformMatrix(EngMatrix* out)
{
    if (out)
        glGetFloatv(GL_MODELVIEW_MATRIX, &(*out)(0, 0));
}

void EngDeviceGL::MultTransformMatrixResetToIdentity(char)
{
    glLoadIdentity();
}

void EngDeviceGL::MultTransformMatrixPos(float x, float y, float z, char)
{
    glTranslatef(x, y, z);
}

void EngDeviceGL::MultTransformMatrixRot(float x, float y, float z, char)
{
    RotXYZ(x, y, z, RAD_TO_DEG);
}

void EngDeviceGL::MultTransformMatrixRotX(float a, char)
{
    glRotatef(a * RAD_TO_DEG, 1, 0, 0);
}

void EngDeviceGL::MultTransformMatrixRotY(float a, char)
{
    glRotatef(a * RAD_TO_DEG, 0, 1, 0);
}

void EngDeviceGL::MultTransformMatrixRotZ(float a, char)
{
    glRotatef(a * RAD_TO_DEG, 0, 0, 1);
}

void EngDeviceGL::MultTransformMatrixScale(float x, float y, float z, char)
{
    glScalef(x, y, z);
}
