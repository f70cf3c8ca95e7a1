// TEMPORARY: stand-ins for maths and window names the renderer uses until
// their own modules land. When EngMath.h / EngMatrix.h exist they are used
// instead; the lead removes this file and RenderPending.cpp at merge.
#pragma once

#include "EngTypes.h"

#if __has_include("EngMatrix.h") && __has_include("EngMath.h")
#include "EngMath.h"
#include "EngMatrix.h"
#define VZ_RENDER_PENDING_MATHS 0
#else
#define VZ_RENDER_PENDING_MATHS 1

int EngMathRound(float v);
int EngMathGetClosestPowerOf2Max(int n);

// 4x4 column-major matrix (element c*4 + r).
class EngMatrix
{
public:
    float m[16];

    EngMatrix() { SetIdentityMatrix(); }
    float& operator()(int row, int col) { return m[col * 4 + row]; }
    float operator()(int row, int col) const { return m[col * 4 + row]; }
    EngMatrix& SetIdentityMatrix();
    EngMatrix& MultiplyByMatrix(const EngMatrix* other);    // this := other * this
    EngMatrix& PreMultiplyByMatrix(const EngMatrix* other); // this := this * other
    EngMatrix& SetRotateZMatrix(float a);
    EngMatrix& SetRotateZMatrixDeg(float deg);
    EngMatrix& SetFrustumMatrix(float l, float r, float b, float t, float n, float f);
    EngMatrix& SetPerspectiveMatrix(float fovy, float aspect, float n, float f);
    EngMatrix& SetLookAtMatrix(const _Vector3d* eye, const _Vector3d* centre, const _Vector3d* up);
    EngMatrix& SetLookAtMatrixLH(const _Vector3d* eye, const _Vector3d* at, const _Vector3d* up);
    EngMatrix& SetOrientationMatrix();
    EngMatrix* GetInverseMatrix(EngMatrix* out, char* ok);
    _Vector3d* TransformVectorByMatrix2(const _Vector3d* in, _Vector3d* out) const;
};
#endif

// Window and orientation globals (owned by the window module).
typedef int _EngOrientation;
extern int eng_main_window_width;
extern int eng_main_window_height;
extern char eng_main_window_windowed;
extern int eng_main_window_frequency;
extern float eng_main_window_x_ratio;
extern float eng_main_window_y_ratio;
extern float eng_main_window_x_ratio_inv;
extern float eng_main_window_y_ratio_inv;
extern int eng_main_window_aa;
extern _EngOrientation eng_main_orientation;
extern _EngOrientation eng_main_orientation_alt;
