// TEMPORARY: see RenderPending.h. Removed at merge.
#include "RenderPending.h"

#include <cmath>
#include <cstring>

int eng_main_window_width = 640;
int eng_main_window_height = 480;
char eng_main_window_windowed = 1;
int eng_main_window_frequency = 0;
float eng_main_window_x_ratio = 1.0f;
float eng_main_window_y_ratio = 1.0f;
float eng_main_window_x_ratio_inv = 1.0f;
float eng_main_window_y_ratio_inv = 1.0f;
int eng_main_window_aa = 0;
_EngOrientation eng_main_orientation = 0;
_EngOrientation eng_main_orientation_alt = 0;

#if VZ_RENDER_PENDING_MATHS

int EngMathRound(float v)
{
    // Nearest, exact halves toward zero.
    float a = std::fabs(v);
    float f = std::floor(a);
    int r = (a - f > 0.5f) ? int(f) + 1 : int(f);
    return v < 0 ? -r : r;
}

int EngMathGetClosestPowerOf2Max(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}

EngMatrix& EngMatrix::SetIdentityMatrix()
{
    std::memset(m, 0, sizeof(m));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    return *this;
}

static void MatMul(const float* a, const float* b, float* out)
{
    float t[16];
    for (int c = 0; c < 4; c++)
        for (int r = 0; r < 4; r++)
        {
            float s = 0;
            for (int k = 0; k < 4; k++)
                s += a[k * 4 + r] * b[c * 4 + k];
            t[c * 4 + r] = s;
        }
    std::memcpy(out, t, sizeof(t));
}

EngMatrix& EngMatrix::MultiplyByMatrix(const EngMatrix* other)
{
    if (other)
        MatMul(other->m, m, m);
    return *this;
}

EngMatrix& EngMatrix::PreMultiplyByMatrix(const EngMatrix* other)
{
    if (other)
        MatMul(m, other->m, m);
    return *this;
}

EngMatrix& EngMatrix::SetRotateZMatrix(float a)
{
    SetIdentityMatrix();
    m[0] = m[5] = std::cos(a);
    m[1] = std::sin(a);
    m[4] = -std::sin(a);
    return *this;
}

EngMatrix& EngMatrix::SetRotateZMatrixDeg(float deg) { return SetRotateZMatrix(deg * 0.017453292f); }

EngMatrix& EngMatrix::SetFrustumMatrix(float l, float r, float b, float t, float n, float f)
{
    std::memset(m, 0, sizeof(m));
    m[0] = 2 * n / (r - l);
    m[5] = 2 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1;
    m[14] = -2 * f * n / (f - n);
    return *this;
}

EngMatrix& EngMatrix::SetPerspectiveMatrix(float fovy, float aspect, float n, float f)
{
    float ymax = n * std::tan(3.14159265f * fovy / 360.0f);
    return SetFrustumMatrix(-ymax * aspect, ymax * aspect, -ymax, ymax, n, f);
}

static void Norm(float* v)
{
    float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (l != 0)
        v[0] /= l, v[1] /= l, v[2] /= l;
}

static void Cross(const float* a, const float* b, float* o)
{
    o[0] = a[1] * b[2] - a[2] * b[1];
    o[1] = a[2] * b[0] - a[0] * b[2];
    o[2] = a[0] * b[1] - a[1] * b[0];
}

EngMatrix& EngMatrix::SetLookAtMatrix(const _Vector3d* eye, const _Vector3d* centre, const _Vector3d* up)
{
    SetIdentityMatrix();
    if (!eye || !centre || !up)
        return *this;
    float f[3] = {eye->x - centre->x, eye->y - centre->y, eye->z - centre->z};
    Norm(f);
    float u0[3] = {up->x, up->y, up->z}, s[3], u[3];
    Cross(u0, f, s);
    Cross(f, s, u);
    Norm(s);
    Norm(u);
    for (int i = 0; i < 3; i++)
    {
        m[i * 4 + 0] = s[i];
        m[i * 4 + 1] = u[i];
        m[i * 4 + 2] = f[i];
    }
    EngMatrix t;
    t.m[12] = -eye->x, t.m[13] = -eye->y, t.m[14] = -eye->z;
    return PreMultiplyByMatrix(&t);
}

EngMatrix& EngMatrix::SetLookAtMatrixLH(const _Vector3d* eye, const _Vector3d* at, const _Vector3d* up)
{
    std::memset(m, 0, sizeof(m));
    float z[3] = {at->x - eye->x, at->y - eye->y, at->z - eye->z}, u[3] = {up->x, up->y, up->z}, x[3], y[3];
    Cross(u, z, x);
    Norm(z);
    Norm(x);
    Cross(z, x, y);
    float e[3] = {eye->x, eye->y, eye->z};
    for (int i = 0; i < 3; i++)
    {
        m[i * 4 + 0] = -x[i];
        m[i * 4 + 1] = -y[i];
        m[i * 4 + 2] = -z[i];
    }
    m[12] = x[0] * e[0] + x[1] * e[1] + x[2] * e[2];
    m[13] = y[0] * e[0] + y[1] * e[1] + y[2] * e[2];
    m[14] = z[0] * e[0] + z[1] * e[1] + z[2] * e[2];
    m[15] = 1;
    return *this;
}

EngMatrix& EngMatrix::SetOrientationMatrix()
{
    switch (eng_main_orientation_alt)
    {
    case 0: return SetIdentityMatrix();
    case 1: return SetRotateZMatrix(3.1415927f);
    case 2: return SetRotateZMatrix(4.712389f);
    case 3: return SetRotateZMatrix(1.5707964f);
    default: return *this;
    }
}

EngMatrix* EngMatrix::GetInverseMatrix(EngMatrix* out, char* ok)
{
    if (!out)
        return nullptr;
    float w[4][4], r[4][4];
    for (int row = 0; row < 4; row++)
        for (int c = 0; c < 4; c++)
            w[row][c] = m[c * 4 + row], r[row][c] = row == c ? 1.0f : 0.0f;
    for (int i = 0; i < 4; i++)
    {
        int p = i;
        for (int j = i + 1; j < 4; j++)
            if (std::fabs(w[j][i]) > std::fabs(w[p][i]))
                p = j;
        if (std::fabs(w[p][i]) < 1e-8f)
        {
            if (ok)
                *ok = 0;
            out->SetIdentityMatrix();
            return out;
        }
        if (p != i)
            for (int c = 0; c < 4; c++)
                std::swap(w[i][c], w[p][c]), std::swap(r[i][c], r[p][c]);
        float d = w[i][i];
        if (d != 1.0f)
            for (int c = 0; c < 4; c++)
                w[i][c] /= d, r[i][c] /= d;
        for (int j = 0; j < 4; j++)
        {
            float k = w[j][i];
            if (j == i || std::fabs(k) <= 1e-8f)
                continue;
            for (int c = 0; c < 4; c++)
                w[j][c] -= k * w[i][c], r[j][c] -= k * r[i][c];
        }
    }
    for (int row = 0; row < 4; row++)
        for (int c = 0; c < 4; c++)
            out->m[c * 4 + row] = r[row][c];
    return out;
}

_Vector3d* EngMatrix::TransformVectorByMatrix2(const _Vector3d* in, _Vector3d* out) const
{
    if (!in || !out)
        return nullptr;
    float x = in->x, y = in->y, z = in->z;
    float ox = m[0] * x + m[4] * y + m[8] * z + m[12];
    float oy = m[1] * x + m[5] * y + m[9] * z + m[13];
    float oz = m[2] * x + m[6] * y + m[10] * z + m[14];
    float w = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (w != 0)
        ox /= w, oy /= w, oz /= w;
    out->x = ox, out->y = oy, out->z = oz;
    return out;
}

#endif
