// 4x4 transformation matrix.
#include "EngMatrix.h"

#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngWhichDevice.h"

const int eng_matrix_map[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};

const EngMatrix eng_matrix_identity_matrix = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

namespace
{

const float kDegToRad = 0.017453292f;

// out := a * b; out may be a or b.
void Multiply(const float* a, const float* b, float* out)
{
    float r[16];
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++)
            r[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] + a[8 + row] * b[col * 4 + 2] +
                               a[12 + row] * b[col * 4 + 3];
    memcpy(out, r, sizeof(r));
}

void Swap(float* m, int i, int j)
{
    float t = m[i];
    m[i] = m[j];
    m[j] = t;
}

void Transpose(float* m)
{
    Swap(m, 1, 4);
    Swap(m, 2, 8);
    Swap(m, 3, 12);
    Swap(m, 6, 9);
    Swap(m, 7, 13);
    Swap(m, 11, 14);
}

// A rotation by a in the plane of axes i and j: sin a goes to row i of
// column j, -sin a to row j of column i.
EngMatrix* SetPlaneRotation(EngMatrix* self, float a, int i, int j)
{
    self->SetIdentityMatrix();
    float c = std::cos(a), s = std::sin(a);
    self->m[5 * i] = self->m[5 * j] = c;
    self->m[4 * i + j] = s;
    self->m[4 * j + i] = -s;
    return self;
}

// this := outer * middle * inner, from three axis matrices.
EngMatrix* Compose(EngMatrix* self, const EngMatrix& outer, const EngMatrix& middle, const EngMatrix& inner)
{
    *self = inner;
    self->MultiplyByMatrix(&middle);
    self->MultiplyByMatrix(&outer);
    return self;
}

EngMatrix Rotation(float a, int i, int j)
{
    EngMatrix r;
    SetPlaneRotation(&r, a, i, j);
    return r;
}

EngMatrix Rx(float a)
{
    return Rotation(a, 1, 2);
}

EngMatrix Ry(float a)
{
    return Rotation(a, 2, 0);
}

EngMatrix Rz(float a)
{
    return Rotation(a, 0, 1);
}

} // namespace

EngMatrix* EngMatrix::SetIdentityMatrix()
{
    *this = eng_matrix_identity_matrix;
    return this;
}

EngMatrix* EngMatrix::SetTranslateMatrix(float x, float y, float z)
{
    SetIdentityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return this;
}

EngMatrix* EngMatrix::SetTranslateMatrix(const Vector3d* v)
{
    if (!v)
        return SetIdentityMatrix();
    return SetTranslateMatrix(v->x, v->y, v->z);
}

EngMatrix* EngMatrix::SetScaleMatrix(float x, float y, float z)
{
    SetIdentityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return this;
}

EngMatrix* EngMatrix::SetScaleMatrix(float s)
{
    return SetScaleMatrix(s, s, s);
}

EngMatrix* EngMatrix::SetScaleMatrix(const Vector3d* v)
{
    if (!v)
        return SetIdentityMatrix();
    return SetScaleMatrix(v->x, v->y, v->z);
}

EngMatrix* EngMatrix::SetRotateXMatrix(float a)
{
    return SetPlaneRotation(this, a, 1, 2);
}

EngMatrix* EngMatrix::SetRotateYMatrix(float a)
{
    return SetPlaneRotation(this, a, 2, 0);
}

EngMatrix* EngMatrix::SetRotateZMatrix(float a)
{
    return SetPlaneRotation(this, a, 0, 1);
}

EngMatrix* EngMatrix::SetRotateXMatrixDeg(float deg)
{
    return SetRotateXMatrix(deg * kDegToRad);
}

EngMatrix* EngMatrix::SetRotateYMatrixDeg(float deg)
{
    return SetRotateYMatrix(deg * kDegToRad);
}

EngMatrix* EngMatrix::SetRotateZMatrixDeg(float deg)
{
    return SetRotateZMatrix(deg * kDegToRad);
}

EngMatrix* EngMatrix::SetRotationXYZMatrix(float x, float y, float z)
{
    float cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y), cz = std::cos(z),
          sz = std::sin(z);
    m[0] = cy * cz;
    m[1] = -cy * sz;
    m[2] = sy;
    m[4] = sx * sy * cz + cx * sz;
    m[5] = cx * cz - sx * sy * sz;
    m[6] = -sx * cy;
    m[8] = sx * sz - cx * sy * cz;
    m[9] = cx * sy * sz + sx * cz;
    m[10] = cx * cy;
    m[3] = m[7] = m[11] = m[12] = m[13] = m[14] = 0;
    m[15] = 1;
    return this;
}

EngMatrix* EngMatrix::SetRotationZYXMatrix(float x, float y, float z)
{
    float cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y), cz = std::cos(z),
          sz = std::sin(z);
    m[0] = cy * cz;
    m[1] = sx * sy * cz - cx * sz;
    m[2] = sx * sz + cx * sy * cz;
    m[4] = cy * sz;
    m[5] = cx * cz + sx * sy * sz;
    m[6] = cx * sy * sz - sx * cz;
    m[8] = -sy;
    m[9] = sx * cy;
    m[10] = cx * cy;
    m[3] = m[7] = m[11] = m[12] = m[13] = m[14] = 0;
    m[15] = 1;
    return this;
}

EngMatrix* EngMatrix::SetRotationZXYMatrix(float a1, float a2, float a3)
{
    return Compose(this, Rz(a2), Rx(a1), Ry(a3));
}

EngMatrix* EngMatrix::SetRotationXZYMatrix(float a1, float a2, float a3)
{
    return Compose(this, Rz(a2), Rx(a3), Ry(a1));
}

EngMatrix* EngMatrix::SetRotationYZXMatrix(float a1, float a2, float a3)
{
    return Compose(this, Rx(a1), Rz(a3), Ry(a2));
}

EngMatrix* EngMatrix::SetRotationYXZMatrix(float a1, float a2, float a3)
{
    return Compose(this, Rz(a3), Rx(a1), Ry(a2));
}

// Vector and degree forms of the six Euler orders; a null vector gives the identity.
#define ENG_MATRIX_EULER_FORMS(NAME)                                                                         \
    EngMatrix* EngMatrix::NAME(const Vector3d* v)                                                          \
    {                                                                                                        \
        return v ? NAME(v->x, v->y, v->z) : SetIdentityMatrix();                                            \
    }                                                                                                        \
    EngMatrix* EngMatrix::NAME##Deg(float a1, float a2, float a3)                                          \
    {                                                                                                        \
        return NAME(a1 * kDegToRad, a2 * kDegToRad, a3 * kDegToRad);                                        \
    }                                                                                                        \
    EngMatrix* EngMatrix::NAME##Deg(const Vector3d* v)                                                     \
    {                                                                                                        \
        return v ? NAME##Deg(v->x, v->y, v->z) : SetIdentityMatrix();                                       \
    }

ENG_MATRIX_EULER_FORMS(SetRotationXYZMatrix)
ENG_MATRIX_EULER_FORMS(SetRotationZYXMatrix)
ENG_MATRIX_EULER_FORMS(SetRotationZXYMatrix)
ENG_MATRIX_EULER_FORMS(SetRotationXZYMatrix)
ENG_MATRIX_EULER_FORMS(SetRotationYZXMatrix)
ENG_MATRIX_EULER_FORMS(SetRotationYXZMatrix)

#undef ENG_MATRIX_EULER_FORMS

EngMatrix* EngMatrix::MultiplyByMatrix(const EngMatrix* other)
{
    if (other)
        Multiply(other->m, m, m);
    return this;
}

EngMatrix* EngMatrix::PreMultiplyByMatrix(const EngMatrix* other)
{
    if (other)
        Multiply(m, other->m, m);
    return this;
}

EngMatrix* EngMatrixMultiplyMatrixByMatrix(const EngMatrix* a, const EngMatrix* b, EngMatrix* out)
{
    if (!a || !b || !out)
        return nullptr;
    Multiply(a->m, b->m, out->m);
    return out;
}

EngMatrix* EngMatrixLinearInterpolateTwoMatrices(const EngMatrix* a, const EngMatrix* b, float t, EngMatrix* out)
{
    if (!a || !b || !out)
        return nullptr;
    for (int k = 0; k < 16; k++)
        out->m[k] = a->m[k] + (b->m[k] - a->m[k]) * t;
    return out;
}

Vector3d* EngMatrix::TransformVectorByMatrix(Vector3d* p) const
{
    if (!p)
        return nullptr;
    TransformVectorByMatrix3(p->x, p->y, p->z, p);
    return p;
}

Vector3d* EngMatrix::TransformVectorByMatrix2(const Vector3d* in, Vector3d* out) const
{
    if (!in || !out)
        return nullptr;
    TransformVectorByMatrix3(in->x, in->y, in->z, out);
    return out;
}

void EngMatrix::TransformVectorByMatrix3(float x, float y, float z, Vector3d* out) const
{
    if (!out)
        return;
    float rx = m[0] * x + m[4] * y + m[8] * z + m[12];
    float ry = m[1] * x + m[5] * y + m[9] * z + m[13];
    float rz = m[2] * x + m[6] * y + m[10] * z + m[14];
    float w = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (w != 0)
    {
        rx /= w;
        ry /= w;
        rz /= w;
    }
    out->x = rx;
    out->y = ry;
    out->z = rz;
}

Vector2d* EngMatrix::TransformVector2dByMatrix2(Vector2d* in, Vector2d* out) const
{
    if (!in || !out)
        return nullptr;
    if (in == out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented");
        return in;
    }
    float rx = m[0] * in->x + m[4] * in->y + m[12];
    float ry = m[1] * in->x + m[5] * in->y + m[13];
    float w = m[3] * in->x + m[7] * in->y + m[15];
    if (w != 0)
    {
        rx /= w;
        ry /= w;
    }
    out->x = rx;
    out->y = ry;
    return out;
}

EngMatrix* EngMatrix::SetOrthoMatrix(float left, float right, float bottom, float top, float near_z, float far_z)
{
    float w = right - left, h = top - bottom, d = far_z - near_z;
    if (w == 0 || h == 0 || d == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters.");
        return this;
    }
    memset(m, 0, sizeof(m));
    m[0] = 2 / w;
    m[5] = 2 / h;
    m[10] = -2 / d;
    m[12] = -(right + left) / w;
    m[13] = -(top + bottom) / h;
    m[14] = -(far_z + near_z) / d;
    m[15] = 1;
    return this;
}

EngMatrix* EngMatrix::SetFrustumMatrix(float left, float right, float bottom, float top, float near_z, float far_z)
{
    memset(m, 0, sizeof(m));
    m[0] = 2 * near_z / (right - left);
    m[5] = 2 * near_z / (top - bottom);
    m[8] = (right + left) / (right - left);
    m[9] = (top + bottom) / (top - bottom);
    m[10] = -(far_z + near_z) / (far_z - near_z);
    m[11] = -1;
    m[14] = -2 * far_z * near_z / (far_z - near_z);
    m[15] = 0;
    return this;
}

EngMatrix* EngMatrix::SetPerspectiveMatrix(float fovy_degrees, float aspect, float near_z, float far_z)
{
    float ymax = near_z * std::tan(ENG_MATH_PI * fovy_degrees / 360.0f);
    return SetFrustumMatrix(-ymax * aspect, ymax * aspect, -ymax, ymax, near_z, far_z);
}

EngMatrix* EngMatrix::SetLookAtMatrix(const Vector3d* eye, const Vector3d* centre, const Vector3d* up)
{
    if (!eye || !centre || !up)
        return SetIdentityMatrix();
    Vector3d f = {eye->x - centre->x, eye->y - centre->y, eye->z - centre->z};
    EngMathUnifyNormal(&f);
    Vector3d s, u;
    EngMathGetVectorCrossProduct(&s, up, &f);
    EngMathGetVectorCrossProduct(&u, &f, &s);
    EngMathUnifyNormal(&s);
    EngMathUnifyNormal(&u);
    m[0] = s.x;
    m[4] = s.y;
    m[8] = s.z;
    m[1] = u.x;
    m[5] = u.y;
    m[9] = u.z;
    m[2] = f.x;
    m[6] = f.y;
    m[10] = f.z;
    m[3] = m[7] = m[11] = m[12] = m[13] = m[14] = 0;
    m[15] = 1;
    EngMatrix t;
    t.SetTranslateMatrix(-eye->x, -eye->y, -eye->z);
    return PreMultiplyByMatrix(&t);
}

EngMatrix* EngMatrix::SetLookAtMatrixLH(const Vector3d* eye, const Vector3d* at, const Vector3d* up)
{
    if (!eye || !at || !up)
        return SetIdentityMatrix();
    memset(m, 0, sizeof(m));
    Vector3d z = {at->x - eye->x, at->y - eye->y, at->z - eye->z};
    Vector3d x, y;
    EngMathGetVectorCrossProduct(&x, up, &z);
    EngMathUnifyNormal(&z);
    EngMathUnifyNormal(&x);
    EngMathGetVectorCrossProduct(&y, &z, &x);
    m[0] = -x.x;
    m[4] = -x.y;
    m[8] = -x.z;
    m[1] = -y.x;
    m[5] = -y.y;
    m[9] = -y.z;
    m[2] = -z.x;
    m[6] = -z.y;
    m[10] = -z.z;
    m[12] = EngMathDotProduct(&x, eye);
    m[13] = EngMathDotProduct(&y, eye);
    m[14] = EngMathDotProduct(&z, eye);
    m[15] = 1;
    return this;
}

EngMatrix* EngMatrix::SetOrientationMatrix()
{
    return SetOrientationMatrix(EngMainGetOrientation());
}

EngMatrix* EngMatrix::SetOrientationMatrix(int orientation)
{
    switch (orientation)
    {
    case 0:
        return SetIdentityMatrix();
    case 1:
        return SetRotateZMatrix(ENG_MATH_PI);
    case 2:
        return SetRotateZMatrix(ENG_MATH_THREE_HALF_PI);
    case 3:
        return SetRotateZMatrix(ENG_MATH_HALF_PI);
    default:
        return this;
    }
}

EngMatrix* EngMatrix::GetInverseMatrix(EngMatrix* out, char* ok) const
{
    if (!out)
        return nullptr;
    const float tiny = 0.00000001f;
    EngMatrix w = *this;
    EngMatrix r = eng_matrix_identity_matrix;
    for (int i = 0; i < 4; i++)
    {
        int pivot = i;
        float best = std::fabs(w(i, i));
        for (int row = i + 1; row < 4; row++)
        {
            float a = std::fabs(w(row, i));
            if (a > best)
            {
                best = a;
                pivot = row;
            }
        }
        // The negated test also sends NaN columns to the singular path.
        if (!(best >= tiny))
        {
            if (ok)
                *ok = 0;
            *out = eng_matrix_identity_matrix;
            return out;
        }
        if (pivot != i)
            for (int c = 0; c < 4; c++)
            {
                std::swap(w(i, c), w(pivot, c));
                std::swap(r(i, c), r(pivot, c));
            }
        float p = w(i, i);
        if (p != 1)
            for (int c = 0; c < 4; c++)
            {
                w(i, c) /= p;
                r(i, c) /= p;
            }
        for (int j = 0; j < 4; j++)
        {
            if (j == i)
                continue;
            float f = w(j, i);
            if (std::fabs(f) > tiny)
                for (int c = 0; c < 4; c++)
                {
                    w(j, c) -= f * w(i, c);
                    r(j, c) -= f * r(i, c);
                }
        }
    }
    *out = r;
    return out;
}

void EngMatrix::GetRotationAngles(Vector3d* out) const
{
    if (!out)
        return;
    double m2 = m[2];
    if (m2 > 1)
        m2 = 1;
    if (m2 < -1)
        m2 = -1;
    double d = -std::asin(m2);
    double c = std::cos(d);
    double x, z;
    if (std::fabs(c) > 0.005)
    {
        x = std::atan2(-m[6] / c, m[10] / c);
        z = std::atan2(-m[1] / c, m[0] / c);
    }
    else
    {
        x = 0;
        z = std::atan2(double(m[4]), double(m[5]));
    }
    out->x = float(x);
    out->y = float(d);
    out->z = float(z);
}

EngMatrixDxMatrix* EngMatrix::GetDxMatrix(EngMatrixDxMatrix* out) const
{
    if (!out)
        return nullptr;
    memcpy(out->m, m, sizeof(m));
    return out;
}

EngMatrix* EngMatrix::GetDxMatrix()
{
    Transpose(m);
    return this;
}

EngMatrix* EngMatrix::ConvertFromDxMatrix(const EngMatrixDxMatrix* in)
{
    if (!in)
        return nullptr;
    memcpy(m, in->m, sizeof(m));
    return this;
}

EngMatrix* EngMatrix::ConvertFromDxMatrix()
{
    Transpose(m);
    return this;
}
