// Maths library: rounding, clamping, vectors, planes, rectangles, angles.
#pragma once

#include "EngTypes.h"

typedef _Vector2d Vector2d;
typedef _Vector3d Vector3d;
typedef _Dimension Dimension;
typedef _ColourRGB ColourRGB;
typedef _ColourRGBA ColourRGBA;
typedef _TexCoords TexCoords;

// The engine's second vector type; only x, y and z are read here.
struct EngVector
{
    float x, y, z;
};

struct _IDimension
{
    EngInt32 x, y, w, h;
};
typedef _IDimension IDimension;

struct _DimensionVars
{
    float cx, right, cy, bottom, half_w, half_h;
};
typedef _DimensionVars DimensionVars;

struct _IDimensionVars
{
    EngInt32 cx, right, cy, bottom, half_w, half_h;
};
typedef _IDimensionVars IDimensionVars;

// The plane a*x + b*y + c*z + d = 0.
struct _EngMathPlane
{
    float a, b, c, d;
};
typedef _EngMathPlane EngMathPlane;

// Ranges a random vector is drawn from; the flag is kept by the caller.
struct _EngMathRange3Var
{
    float min_x, max_x, min_y, max_y, min_z, max_z;
    char flag;
};
typedef _EngMathRange3Var EngMathRange3Var;

#define ENG_MATH_PI 3.1415927f
#define ENG_MATH_HALF_PI 1.5707964f
#define ENG_MATH_THREE_HALF_PI 4.712389f
#define ENG_MATH_TWO_PI 6.2831855f

// Scalars. Rounding sends exact halves toward zero (2.5 -> 2, -2.5 -> -2);
// results beyond the 32-bit range saturate and NaN gives 0.
int EngMathAbs(int x);
float EngMathFabs(float x);
double EngMathDabs(double x);
int EngMathRound(float x);
int EngMathRoundDouble(double x);
EngInt32 EngMathRoundLong(double x);
EngUInt32 EngMathRoundFloatToUnsignedLong(float x);
float EngMathTruncateFloat(float x, int places);
int EngMathGetSignFloat(float x);
bool EngMathSameSignFloat(float a, float b);
float EngMathClamp(float v, float min, float max);
int EngMathClamp(int v, int min, int max);
// Smallest power of two >= n, at least 1; capped at 2^31.
unsigned int EngMathGetClosestPowerOf2Max(unsigned int n);
float EngMathInterpolateTwoFloats(float a, float b, float t);

// Vectors and lines.
float EngMathGetVectorMagnitudeSquared(const Vector3d* v);
float EngMathGetVectorMagnitude(const Vector3d* v);
float EngMathDotProduct(const Vector3d* a, const Vector3d* b);
float EngMathDotProduct2D(const Vector2d* a, const Vector2d* b);
void EngMathGetVectorCrossProduct(Vector3d* out, const Vector3d* a, const Vector3d* b);
float EngMathGetLineLength3D(const Vector3d* a, const Vector3d* b);
float EngMathGetLineLength2D(float dx, float dy);
float EngMathGetLineLength2D(float x1, float y1, float x2, float y2);
float EngMathGetLineLength2D(const Vector2d* a, const Vector2d* b);
void EngMathUnifyNormal(float* x, float* y, float* z);
Vector3d* EngMathUnifyNormal(Vector3d* v);
EngVector* EngMathUnifyNormal(EngVector* v);
bool EngMathInterpolateTwoVector3ds(const Vector3d& a, const Vector3d& b, float t, Vector3d* out);
bool EngMathInterpolateTwoDimensions(const Dimension& a, const Dimension& b, float t, Dimension* out);

// 2D sides and distances: the sign tells the side of the line A-B, 0 on it.
float EngMathGetSideOfLineAPointIsOn2D(float px, float py, float ax, float ay, float bx, float by);
float EngMathGetSideOfLineAPointIsOn2D(const Vector2d* p, const Vector2d* a, const Vector2d* b);
float EngMathGetDistanceAndSideOfPointFromLine2D(Vector2d* p, Vector2d* a, Vector2d* b);

// 3D geometry.
void EngMathGetPlaneFromThreePoints(Vector3d* p1, Vector3d* p2, Vector3d* p3, EngMathPlane* out);
EngMathPlane* EngMathNormalisePlane(EngMathPlane* plane);
void EngMathGetPlaneNormal(EngMathPlane* plane, Vector3d* out);
float EngMathGetPlanePointDotProduct(EngMathPlane* plane, Vector3d* p);
bool EngMathDoesLineIntersectTriangle(Vector3d* origin, Vector3d* direction, Vector3d* a, Vector3d* b,
                                      Vector3d* c, float* t, float* u, float* v);
bool EngMathArePointsOnSameSideOfLine(const Vector3d* p1, const Vector3d* p2, const Vector3d* a,
                                      const Vector3d* b);
bool EngMathIsPointInTriangle(const Vector3d* p, const Vector3d* a, const Vector3d* b, const Vector3d* c);

// Rectangles: x <= px < x + w and y <= py < y + h.
bool EngMathIsPointInArea(const Vector2d* p, const Dimension* area);
bool EngMathIsPointInArea(float x, float y, Dimension* area);
void EngMathFillDimensionVars(const Dimension* d, DimensionVars* out);
void EngMathFillDimensionVars(const IDimension* d, IDimensionVars* out);

// Angles (radians unless the name says degrees). Non-finite values are left
// unchanged by the range keepers.
float EngMathGetAngleFromDirection(float dx, float dy);
float EngMathGetAngleBetweenTwoPoints(float x1, float y1, float x2, float y2);
void EngMathKeepAngleBetween0AndTwoPi(float* a);
void EngMathKeepAngleBetweenMinusPiAndPi(float* a);
void EngMathKeepAngleBetween0And360(float* a);
void EngMathKeepAngleBetweenMinus180And180(float* a);
float EngMathAverage2AngsRad(float a, float b);
float EngMathGetDifferenceBetweenAnglesCenterPiRad(float a, float b);
float EngMathInterpolateTwoAnglesRad(float a, float b, float t);

// Random ranges.
bool EngMathCheckIfRange3VarActive(EngMathRange3Var* r);
void EngMathSetVector3dFromRange3Var(Vector3d* out, EngMathRange3Var* r);
