// 4x4 transformation matrix, stored column by column as OpenGL expects.
#pragma once

#include "EngMath.h"

// Element index of (row, column), indexed by row * 4 + column.
extern const int eng_matrix_map[16];

// The same 16 numbers in row-major order.
struct _EngMatrixDxMatrix
{
    float m[16];
};
typedef _EngMatrixDxMatrix EngMatrixDxMatrix;

// A plain aggregate: copying copies the 16 floats.
class EngMatrix
{
public:
    float m[16];

    float& operator()(int row, int col) { return m[eng_matrix_map[row * 4 + col]]; }
    float operator()(int row, int col) const { return m[eng_matrix_map[row * 4 + col]]; }
    const float* GetFloats() const { return m; }

    EngMatrix* SetIdentityMatrix();

    EngMatrix* SetTranslateMatrix(float x, float y, float z);
    EngMatrix* SetTranslateMatrix(const Vector3d* v);
    EngMatrix* SetScaleMatrix(float x, float y, float z);
    EngMatrix* SetScaleMatrix(float s);
    EngMatrix* SetScaleMatrix(const Vector3d* v);
    EngMatrix* SetRotateXMatrix(float a);
    EngMatrix* SetRotateYMatrix(float a);
    EngMatrix* SetRotateZMatrix(float a);
    EngMatrix* SetRotateXMatrixDeg(float deg);
    EngMatrix* SetRotateYMatrixDeg(float deg);
    EngMatrix* SetRotateZMatrixDeg(float deg);

    EngMatrix* SetRotationXYZMatrix(float x, float y, float z);
    EngMatrix* SetRotationXYZMatrix(const Vector3d* v);
    EngMatrix* SetRotationXYZMatrixDeg(float x, float y, float z);
    EngMatrix* SetRotationXYZMatrixDeg(const Vector3d* v);
    EngMatrix* SetRotationZYXMatrix(float x, float y, float z);
    EngMatrix* SetRotationZYXMatrix(const Vector3d* v);
    EngMatrix* SetRotationZYXMatrixDeg(float x, float y, float z);
    EngMatrix* SetRotationZYXMatrixDeg(const Vector3d* v);
    EngMatrix* SetRotationZXYMatrix(float a1, float a2, float a3);
    EngMatrix* SetRotationZXYMatrix(const Vector3d* v);
    EngMatrix* SetRotationZXYMatrixDeg(float a1, float a2, float a3);
    EngMatrix* SetRotationZXYMatrixDeg(const Vector3d* v);
    EngMatrix* SetRotationXZYMatrix(float a1, float a2, float a3);
    EngMatrix* SetRotationXZYMatrix(const Vector3d* v);
    EngMatrix* SetRotationXZYMatrixDeg(float a1, float a2, float a3);
    EngMatrix* SetRotationXZYMatrixDeg(const Vector3d* v);
    EngMatrix* SetRotationYZXMatrix(float a1, float a2, float a3);
    EngMatrix* SetRotationYZXMatrix(const Vector3d* v);
    EngMatrix* SetRotationYZXMatrixDeg(float a1, float a2, float a3);
    EngMatrix* SetRotationYZXMatrixDeg(const Vector3d* v);
    EngMatrix* SetRotationYXZMatrix(float a1, float a2, float a3);
    EngMatrix* SetRotationYXZMatrix(const Vector3d* v);
    EngMatrix* SetRotationYXZMatrixDeg(float a1, float a2, float a3);
    EngMatrix* SetRotationYXZMatrixDeg(const Vector3d* v);

    // this := other * this (other's transform applied after this one's).
    EngMatrix* MultiplyByMatrix(const EngMatrix* other);
    // this := this * other (other's transform applied first).
    EngMatrix* PreMultiplyByMatrix(const EngMatrix* other);

    // Transforms as a column vector (x, y, z, 1), divided by w unless w is 0.
    Vector3d* TransformVectorByMatrix(Vector3d* p) const;
    Vector3d* TransformVectorByMatrix2(const Vector3d* in, Vector3d* out) const;
    void TransformVectorByMatrix3(float x, float y, float z, Vector3d* out) const;
    Vector2d* TransformVector2dByMatrix2(Vector2d* in, Vector2d* out) const;

    EngMatrix* SetOrthoMatrix(float left, float right, float bottom, float top, float near_z, float far_z);
    EngMatrix* SetFrustumMatrix(float left, float right, float bottom, float top, float near_z, float far_z);
    EngMatrix* SetPerspectiveMatrix(float fovy_degrees, float aspect, float near_z, float far_z);
    EngMatrix* SetLookAtMatrix(const Vector3d* eye, const Vector3d* centre, const Vector3d* up);
    EngMatrix* SetLookAtMatrixLH(const Vector3d* eye, const Vector3d* at, const Vector3d* up);
    // By the engine's display orientation (0..3); other values change nothing.
    EngMatrix* SetOrientationMatrix();
    EngMatrix* SetOrientationMatrix(int orientation);

    // A singular matrix gives the identity and sets *ok to 0 (when ok is given);
    // on success *ok is left as it was.
    EngMatrix* GetInverseMatrix(EngMatrix* out, char* ok) const;
    void GetRotationAngles(Vector3d* out) const;
    EngMatrixDxMatrix* GetDxMatrix(EngMatrixDxMatrix* out) const;
    EngMatrix* GetDxMatrix();
    EngMatrix* ConvertFromDxMatrix(const EngMatrixDxMatrix* in);
    EngMatrix* ConvertFromDxMatrix();
};

static_assert(sizeof(EngMatrix) == 64, "EngMatrix is 16 floats");

extern const EngMatrix eng_matrix_identity_matrix;

// out := a * b.
EngMatrix* EngMatrixMultiplyMatrixByMatrix(const EngMatrix* a, const EngMatrix* b, EngMatrix* out);
EngMatrix* EngMatrixLinearInterpolateTwoMatrices(const EngMatrix* a, const EngMatrix* b, float t, EngMatrix* out);
