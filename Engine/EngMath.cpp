// Maths library.
#include "EngMath.h"

#include <climits>
#include <cmath>

#include "EngDebug.h"
#include "EngMiscValues.h"

namespace
{

// Halves toward zero, everything else to the nearest integer; the caller has
// made sure x fits the integer type.
template <typename I, typename F> I RoundHalfTowardZero(F x)
{
    if (x > 0)
    {
        I i = I(x);
        return (x - F(i) > F(0.5)) ? I(i + 1) : i;
    }
    I i = I(x);
    F f = (-x) - F(I(-x));
    return (f > F(0.5)) ? I(i - 1) : i;
}

template <typename F> int RoundToInt(F x)
{
    if (std::isnan(x))
        return 0;
    if (x >= F(2147483647.0))
        return INT_MAX;
    if (x <= F(-2147483648.0))
        return INT_MIN;
    return int(RoundHalfTowardZero<long long, F>(x));
}

// Brings a into [lo, lo + turn). Far-off values are reduced with fmod first so
// that the loops run at most a couple of times; non-finite values stay as they are.
void KeepInTurn(float* a, float lo, float hi, float turn)
{
    if (!a || !std::isfinite(*a))
        return;
    float v = *a;
    if (v < lo - 4 * turn || v >= hi + 4 * turn)
        v = std::fmod(v, turn);
    while (v < lo)
        v += turn;
    while (v >= hi)
        v -= turn;
    *a = v;
}

} // namespace

int EngMathAbs(int x)
{
    return x < 0 ? int(0u - unsigned(x)) : x;
}

float EngMathFabs(float x)
{
    return std::fabs(x);
}

double EngMathDabs(double x)
{
    return std::fabs(x);
}

int EngMathRound(float x)
{
    return RoundToInt(x);
}

int EngMathRoundDouble(double x)
{
    return RoundToInt(x);
}

EngInt32 EngMathRoundLong(double x)
{
    return EngInt32(RoundToInt(x));
}

EngUInt32 EngMathRoundFloatToUnsignedLong(float x)
{
    if (std::isnan(x) || x <= 0)
        return 0;
    if (x >= 4294967295.0f)
        return 0xFFFFFFFFu;
    long long r = RoundHalfTowardZero<long long, float>(x);
    return r <= 0 ? 0 : EngUInt32(r);
}

float EngMathTruncateFloat(float x, int places)
{
    if (places != 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Num decimal places = %d not implemented yet", places);
        return x;
    }
    return float(EngMathRound(x * 1000.0f)) / 1000.0f;
}

int EngMathGetSignFloat(float x)
{
    if (x < 0)
        return -1;
    if (x > 0)
        return 1;
    return 0;
}

bool EngMathSameSignFloat(float a, float b)
{
    return (a <= 0 && b <= 0) || (a >= 0 && b >= 0);
}

namespace
{
// min when below it, then max when above it.
template <typename T> T Clamp(T v, T min, T max)
{
    if (v < min)
        v = min;
    if (v > max)
        v = max;
    return v;
}
} // namespace

float EngMathClamp(float v, float min, float max)
{
    return Clamp(v, min, max);
}

int EngMathClamp(int v, int min, int max)
{
    return Clamp(v, min, max);
}

unsigned int EngMathGetClosestPowerOf2Max(unsigned int n)
{
    if (n > 0x80000000u)
        return 0x80000000u;
    unsigned int p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

float EngMathInterpolateTwoFloats(float a, float b, float t)
{
    if (a == b)
        return a;
    return a + (b - a) * t;
}

float EngMathGetVectorMagnitudeSquared(const Vector3d* v)
{
    return v->x * v->x + v->y * v->y + v->z * v->z;
}

float EngMathGetVectorMagnitude(const Vector3d* v)
{
    return std::sqrt(EngMathGetVectorMagnitudeSquared(v));
}

float EngMathDotProduct(const Vector3d* a, const Vector3d* b)
{
    return a->x * b->x + a->y * b->y + a->z * b->z;
}

float EngMathDotProduct2D(const Vector2d* a, const Vector2d* b)
{
    return a->x * b->x + a->y * b->y;
}

void EngMathGetVectorCrossProduct(Vector3d* out, const Vector3d* a, const Vector3d* b)
{
    if (!out || !a || !b)
        return;
    Vector3d r = {0, 0, 0};
    r.x = a->y * b->z - a->z * b->y;
    r.y = a->z * b->x - a->x * b->z;
    r.z = a->x * b->y - a->y * b->x;
    *out = r;
}

float EngMathGetLineLength3D(const Vector3d* a, const Vector3d* b)
{
    if (!a || !b)
        return 0;
    float dx = b->x - a->x, dy = b->y - a->y, dz = b->z - a->z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float EngMathGetLineLength2D(float dx, float dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

float EngMathGetLineLength2D(float x1, float y1, float x2, float y2)
{
    return EngMathGetLineLength2D(x2 - x1, y2 - y1);
}

float EngMathGetLineLength2D(const Vector2d* a, const Vector2d* b)
{
    if (!a || !b)
        return 0;
    return EngMathGetLineLength2D(b->x - a->x, b->y - a->y);
}

void EngMathUnifyNormal(float* x, float* y, float* z)
{
    if (!x || !y || !z)
        return;
    double len = std::sqrt(double(*x) * *x + double(*y) * *y + double(*z) * *z);
    if (len == 0)
        return;
    *x = float(*x / len);
    *y = float(*y / len);
    *z = float(*z / len);
}

Vector3d* EngMathUnifyNormal(Vector3d* v)
{
    if (v)
        EngMathUnifyNormal(&v->x, &v->y, &v->z);
    return v;
}

EngVector* EngMathUnifyNormal(EngVector* v)
{
    if (v)
        EngMathUnifyNormal(&v->x, &v->y, &v->z);
    return v;
}

bool EngMathInterpolateTwoVector3ds(const Vector3d& a, const Vector3d& b, float t, Vector3d* out)
{
    if (!out)
        return false;
    if (a.x == b.x && a.y == b.y && a.z == b.z)
    {
        *out = a;
        return true;
    }
    Vector3d r = {0, 0, 0};
    r.x = a.x + (b.x - a.x) * t;
    r.y = a.y + (b.y - a.y) * t;
    r.z = a.z + (b.z - a.z) * t;
    *out = r;
    return true;
}

bool EngMathInterpolateTwoDimensions(const Dimension& a, const Dimension& b, float t, Dimension* out)
{
    if (!out)
        return false;
    if (a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h)
    {
        *out = a;
        return true;
    }
    Dimension r;
    r.x = a.x + (b.x - a.x) * t;
    r.y = a.y + (b.y - a.y) * t;
    r.w = a.w + (b.w - a.w) * t;
    r.h = a.h + (b.h - a.h) * t;
    *out = r;
    return true;
}

float EngMathGetSideOfLineAPointIsOn2D(float px, float py, float ax, float ay, float bx, float by)
{
    return (ay - by) * px + (bx - ax) * py + (ax * by - bx * ay);
}

float EngMathGetSideOfLineAPointIsOn2D(const Vector2d* p, const Vector2d* a, const Vector2d* b)
{
    return EngMathGetSideOfLineAPointIsOn2D(p->x, p->y, a->x, a->y, b->x, b->y);
}

float EngMathGetDistanceAndSideOfPointFromLine2D(Vector2d* p, Vector2d* a, Vector2d* b)
{
    if (!p || !a || !b)
        return 0;
    float s = EngMathGetSideOfLineAPointIsOn2D(p, a, b);
    float len = EngMathGetLineLength2D(a, b);
    if (len == 0)
        return s * 100000.0f;
    return s / len;
}

void EngMathGetPlaneFromThreePoints(Vector3d* p1, Vector3d* p2, Vector3d* p3, EngMathPlane* out)
{
    if (!p1 || !p2 || !p3 || !out)
        return;
    Vector3d e1 = {p2->x - p1->x, p2->y - p1->y, p2->z - p1->z};
    Vector3d e2 = {p3->x - p1->x, p3->y - p1->y, p3->z - p1->z};
    Vector3d n = {0, 0, 0};
    EngMathGetVectorCrossProduct(&n, &e1, &e2);
    out->a = n.x;
    out->b = n.y;
    out->c = n.z;
    out->d = -EngMathDotProduct(&n, p1);
}

EngMathPlane* EngMathNormalisePlane(EngMathPlane* plane)
{
    if (!plane)
        return plane;
    double len = std::sqrt(double(plane->a) * plane->a + double(plane->b) * plane->b +
                           double(plane->c) * plane->c);
    if (len == 0)
        return plane;
    plane->a = float(plane->a / len);
    plane->b = float(plane->b / len);
    plane->c = float(plane->c / len);
    plane->d = float(plane->d / len);
    return plane;
}

void EngMathGetPlaneNormal(EngMathPlane* plane, Vector3d* out)
{
    if (!plane || !out)
        return;
    out->x = plane->a;
    out->y = plane->b;
    out->z = plane->c;
    EngMathUnifyNormal(out);
}

float EngMathGetPlanePointDotProduct(EngMathPlane* plane, Vector3d* p)
{
    if (!plane || !p)
        return 0;
    return plane->a * p->x + plane->b * p->y + plane->c * p->z + plane->d;
}

bool EngMathDoesLineIntersectTriangle(Vector3d* origin, Vector3d* direction, Vector3d* a, Vector3d* b,
                                      Vector3d* c, float* t, float* u, float* v)
{
    const float eps = 0.000001f;
    Vector3d e1 = {b->x - a->x, b->y - a->y, b->z - a->z};
    Vector3d e2 = {c->x - a->x, c->y - a->y, c->z - a->z};
    Vector3d p = {0, 0, 0};
    EngMathGetVectorCrossProduct(&p, direction, &e2);
    float det = EngMathDotProduct(&e1, &p);
    if (det > -eps && det < eps)
        return false;
    float inv = 1.0f / det;
    Vector3d s = {origin->x - a->x, origin->y - a->y, origin->z - a->z};
    float uu = EngMathDotProduct(&s, &p) * inv;
    if (u)
        *u = uu;
    if (uu < 0 || uu > 1)
        return false;
    Vector3d q = {0, 0, 0};
    EngMathGetVectorCrossProduct(&q, &s, &e1);
    float vv = EngMathDotProduct(direction, &q) * inv;
    if (v)
        *v = vv;
    if (vv < 0 || uu + vv > 1)
        return false;
    if (t)
        *t = EngMathDotProduct(&e2, &q) * inv;
    return true;
}

bool EngMathArePointsOnSameSideOfLine(const Vector3d* p1, const Vector3d* p2, const Vector3d* a,
                                      const Vector3d* b)
{
    Vector3d ba = {b->x - a->x, b->y - a->y, b->z - a->z};
    Vector3d d1 = {p1->x - a->x, p1->y - a->y, p1->z - a->z};
    Vector3d d2 = {p2->x - a->x, p2->y - a->y, p2->z - a->z};
    Vector3d c1, c2;
    EngMathGetVectorCrossProduct(&c1, &ba, &d1);
    EngMathGetVectorCrossProduct(&c2, &ba, &d2);
    return EngMathDotProduct(&c1, &c2) >= 0;
}

bool EngMathIsPointInTriangle(const Vector3d* p, const Vector3d* a, const Vector3d* b, const Vector3d* c)
{
    return EngMathArePointsOnSameSideOfLine(p, a, b, c) && EngMathArePointsOnSameSideOfLine(p, b, a, c) &&
           EngMathArePointsOnSameSideOfLine(p, c, a, b);
}

bool EngMathIsPointInArea(const Vector2d* p, const Dimension* area)
{
    if (!p || !area)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return false;
    }
    return p->x >= area->x && p->x < area->x + area->w && p->y >= area->y && p->y < area->y + area->h;
}

bool EngMathIsPointInArea(float x, float y, Dimension* area)
{
    if (!area)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return false;
    }
    return x >= area->x && x < area->x + area->w && y >= area->y && y < area->y + area->h;
}

void EngMathFillDimensionVars(const Dimension* d, DimensionVars* out)
{
    if (!d || !out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return;
    }
    out->half_w = d->w * 0.5f;
    out->half_h = d->h * 0.5f;
    out->cx = d->x + d->w * 0.5f;
    out->right = d->x + d->w;
    out->cy = d->y + d->h * 0.5f;
    out->bottom = d->y + d->h;
}

void EngMathFillDimensionVars(const IDimension* d, IDimensionVars* out)
{
    if (!d || !out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return;
    }
    out->half_w = d->w / 2;
    out->half_h = d->h / 2;
    out->cx = d->x + d->w / 2;
    out->right = d->x + d->w;
    out->cy = d->y + d->h / 2;
    out->bottom = d->y + d->h;
}

float EngMathGetAngleFromDirection(float dx, float dy)
{
    float a;
    if (dx != 0 && dy == 0)
        a = dx > 0 ? 0.0f : ENG_MATH_PI;
    else if (dx != 0)
    {
        a = std::atan(dy / dx);
        if (dx < 0)
            a += ENG_MATH_PI;
        else if (dy < 0)
            a += ENG_MATH_TWO_PI;
    }
    else if (dy > 0)
        a = ENG_MATH_HALF_PI;
    else if (dy < 0)
        a = ENG_MATH_THREE_HALF_PI;
    else
        a = 0;
    EngMathKeepAngleBetween0AndTwoPi(&a);
    return a;
}

float EngMathGetAngleBetweenTwoPoints(float x1, float y1, float x2, float y2)
{
    return EngMathGetAngleFromDirection(x2 - x1, y2 - y1);
}

void EngMathKeepAngleBetween0AndTwoPi(float* a)
{
    KeepInTurn(a, 0.0f, ENG_MATH_TWO_PI, ENG_MATH_TWO_PI);
}

void EngMathKeepAngleBetweenMinusPiAndPi(float* a)
{
    KeepInTurn(a, -ENG_MATH_PI, ENG_MATH_PI, ENG_MATH_TWO_PI);
}

void EngMathKeepAngleBetween0And360(float* a)
{
    KeepInTurn(a, 0.0f, 360.0f, 360.0f);
}

void EngMathKeepAngleBetweenMinus180And180(float* a)
{
    KeepInTurn(a, -180.0f, 180.0f, 360.0f);
}

float EngMathAverage2AngsRad(float a, float b)
{
    float c;
    if (a >= ENG_MATH_PI && b <= ENG_MATH_PI && a - b > ENG_MATH_PI)
        c = b + ENG_MATH_TWO_PI - a;
    else
    {
        c = b - a;
        if (b >= ENG_MATH_PI && a <= ENG_MATH_PI && c > ENG_MATH_PI)
        {
            a += ENG_MATH_TWO_PI;
            c = b - a;
        }
    }
    float r = a + c / 2;
    EngMathKeepAngleBetween0AndTwoPi(&r);
    return r;
}

float EngMathGetDifferenceBetweenAnglesCenterPiRad(float a, float b)
{
    float d = a - b;
    if (std::fabs(d) >= ENG_MATH_PI)
        d = (d >= ENG_MATH_PI) ? (a - ENG_MATH_TWO_PI) - b : (a + ENG_MATH_TWO_PI) - b;
    return d;
}

float EngMathInterpolateTwoAnglesRad(float a, float b, float t)
{
    if (a == b)
        return a;
    EngMathKeepAngleBetweenMinusPiAndPi(&a);
    EngMathKeepAngleBetweenMinusPiAndPi(&b);
    float e = b - a;
    if (std::fabs(e) >= ENG_MATH_PI)
        e = (e >= ENG_MATH_PI) ? (b - ENG_MATH_TWO_PI) - a : (b + ENG_MATH_TWO_PI) - a;
    float r = a + e * t;
    EngMathKeepAngleBetweenMinusPiAndPi(&r);
    return r;
}

bool EngMathCheckIfRange3VarActive(EngMathRange3Var* r)
{
    if (!r)
        return false;
    auto active = [](float lo, float hi) { return !(lo == 0 && hi == 0) && lo <= hi; };
    return active(r->min_x, r->max_x) || active(r->min_y, r->max_y) || active(r->min_z, r->max_z);
}

void EngMathSetVector3dFromRange3Var(Vector3d* out, EngMathRange3Var* r)
{
    if (!out || !r)
        return;
    out->x = EngMiscRandRangeFloat(r->min_x, r->max_x, 0);
    out->y = EngMiscRandRangeFloat(r->min_y, r->max_y, 0);
    out->z = EngMiscRandRangeFloat(r->min_z, r->max_z, 0);
}
