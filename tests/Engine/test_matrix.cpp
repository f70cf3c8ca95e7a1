// The 4x4 matrix: layout, composition order, inverse, projections and cameras.
#include <gtest/gtest.h>

#include <cmath>

#include "EngDebug.h"
#include "EngMatrix.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

void ExpectNearMatrix(const EngMatrix& got, const float (&want)[16], float tol)
{
    for (int k = 0; k < 16; k++)
        EXPECT_NEAR(got.m[k], want[k], tol) << "element " << k;
}

void ExpectNearIdentity(const EngMatrix& got, float tol)
{
    ExpectNearMatrix(got, eng_matrix_identity_matrix.m, tol);
}

Vector3d Apply(const EngMatrix& m, Vector3d p)
{
    m.TransformVectorByMatrix(&p);
    return p;
}

void ExpectNearVec(const Vector3d& got, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
    EXPECT_NEAR(got.z, z, tol);
}

TEST(Matrix, RowColumnMapIsColumnMajor)
{
    EngMatrix m;
    for (int k = 0; k < 16; k++)
        m.m[k] = float(k);
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 4; col++)
            EXPECT_EQ(m(row, col), float(col * 4 + row)) << row << "," << col;
    m(1, 0) = 100;
    m(0, 1) = 200;
    EXPECT_EQ(m.m[1], 100);
    EXPECT_EQ(m.m[4], 200);
    EngMatrix t;
    t.SetTranslateMatrix(7, 8, 9);
    EXPECT_EQ(t(0, 3), 7);
    EXPECT_EQ(t(1, 3), 8);
    EXPECT_EQ(t(2, 3), 9);
}

TEST(Matrix, RotationsTurnCounterClockwise)
{
    EngMatrix r;
    r.SetRotateZMatrix(ENG_MATH_HALF_PI);
    ExpectNearVec(Apply(r, {1, 0, 0}), 0, 1, 0);
    r.SetRotateXMatrixDeg(90);
    ExpectNearVec(Apply(r, {0, 1, 0}), 0, 0, 1);
    r.SetRotateYMatrix(ENG_MATH_HALF_PI);
    ExpectNearVec(Apply(r, {0, 0, 1}), 1, 0, 0);
}

TEST(Matrix, CompositionOrder)
{
    EngMatrix s, t;
    s.SetScaleMatrix(2);
    t.SetTranslateMatrix(10, 0, 0);
    EngMatrix after = s;
    after.MultiplyByMatrix(&t); // T * S: scaled first, then moved
    ExpectNearVec(Apply(after, {1, 1, 1}), 12, 2, 2);
    EngMatrix before = s;
    before.PreMultiplyByMatrix(&t); // S * T: moved first, then scaled
    ExpectNearVec(Apply(before, {1, 1, 1}), 22, 2, 2);

    EngMatrix out;
    EXPECT_EQ(EngMatrixMultiplyMatrixByMatrix(&s, &t, &out), &out);
    ExpectNearMatrix(out, before.m, 0);
    EXPECT_EQ(EngMatrixMultiplyMatrixByMatrix(&s, nullptr, &out), nullptr);

    // The object may be its own argument.
    EngMatrix sq = t;
    sq.MultiplyByMatrix(&sq);
    ExpectNearVec(Apply(sq, {0, 0, 0}), 20, 0, 0);

    // Euler composites against their axis products.
    EngMatrix rx, ry, rz, got, want;
    rx.SetRotateXMatrix(0.3f);
    ry.SetRotateYMatrix(-0.7f);
    rz.SetRotateZMatrix(1.1f);
    got.SetRotationZXYMatrix(0.3f, 1.1f, -0.7f); // Rz(a2) * Rx(a1) * Ry(a3)
    want = rz;
    want.PreMultiplyByMatrix(&rx)->PreMultiplyByMatrix(&ry);
    ExpectNearMatrix(got, want.m, 1e-6f);
}

TEST(Matrix, TransformDividesByWUnlessZero)
{
    EngMatrix m;
    m.SetIdentityMatrix();
    m.m[15] = 2;
    ExpectNearVec(Apply(m, {4, 6, 8}), 2, 3, 4);
    m.m[15] = 0;
    ExpectNearVec(Apply(m, {4, 6, 8}), 4, 6, 8);

    Vector2d p = {1, 2};
    DebugClearLog();
    EXPECT_EQ(m.TransformVector2dByMatrix2(&p, &p), &p);
    EXPECT_TRUE(Logged("Not implemented"));
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
}

TEST(Matrix, InverseTimesMatrixIsNearIdentity)
{
    EngMatrix a, b, c, m;
    a.SetRotationXYZMatrix(0.4f, -1.2f, 2.0f);
    b.SetScaleMatrix(2, 0.5f, 3);
    c.SetTranslateMatrix(-4, 7, 0.25f);
    m = a;
    m.MultiplyByMatrix(&b)->MultiplyByMatrix(&c);
    m.m[3] = 0.1f; // a little projective part too

    // A zero on the diagonal makes the pivot search swap rows.
    EngMatrix swap = {{0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0}};

    for (const EngMatrix* src : {&m, &swap})
    {
        EngMatrix inv, prod;
        char ok = 1;
        EXPECT_EQ(src->GetInverseMatrix(&inv, &ok), &inv);
        EXPECT_EQ(ok, 1);
        EngMatrixMultiplyMatrixByMatrix(&inv, src, &prod);
        ExpectNearIdentity(prod, 1e-5f);
        EngMatrixMultiplyMatrixByMatrix(src, &inv, &prod);
        ExpectNearIdentity(prod, 1e-5f);
    }
}

TEST(Matrix, InverseOfSingularGivesIdentityAndFlag)
{
    EngMatrix zero_col;
    zero_col.SetIdentityMatrix();
    zero_col.m[4] = zero_col.m[5] = zero_col.m[6] = 0;
    EngMatrix inv;
    inv.SetTranslateMatrix(1, 2, 3);
    char ok = 1;
    zero_col.GetInverseMatrix(&inv, &ok);
    EXPECT_EQ(ok, 0);
    ExpectNearIdentity(inv, 0);

    EngMatrix nan_matrix;
    nan_matrix.SetIdentityMatrix();
    nan_matrix.m[0] = std::nanf("");
    ok = 1;
    nan_matrix.GetInverseMatrix(&inv, &ok);
    EXPECT_EQ(ok, 0);

    EngMatrix t;
    t.SetTranslateMatrix(3, -4, 5);
    ok = 7;
    t.GetInverseMatrix(&inv, &ok);
    EXPECT_EQ(ok, 7);
    float want[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -3, 4, -5, 1};
    ExpectNearMatrix(inv, want, 0);
    EXPECT_EQ(t.GetInverseMatrix(nullptr, &ok), nullptr);
}

TEST(Matrix, OrthoFrustumAndPerspectiveFollowTheirFormulas)
{
    EngMatrix m;
    m.SetOrthoMatrix(0, 640, 480, 0, -1, 1);
    float ortho[16] = {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
    ExpectNearMatrix(m, ortho, 1e-7f);
    ExpectNearVec(Apply(m, {640, 480, 0}), 1, -1, 0);

    EngMatrix before = m;
    DebugClearLog();
    m.SetOrthoMatrix(5, 5, 0, 1, 0, 1);
    EXPECT_TRUE(Logged("Invalid parameters."));
    ExpectNearMatrix(m, before.m, 0);

    const float l = -2, r = 3, b = -1, t = 4, n = 1, f = 11;
    m.SetFrustumMatrix(l, r, b, t, n, f);
    float frustum[16] = {2 * n / (r - l),
                         0,
                         0,
                         0,
                         0,
                         2 * n / (t - b),
                         0,
                         0,
                         (r + l) / (r - l),
                         (t + b) / (t - b),
                         -(f + n) / (f - n),
                         -1,
                         0,
                         0,
                         -2 * f * n / (f - n),
                         0};
    ExpectNearMatrix(m, frustum, 1e-6f);

    m.SetPerspectiveMatrix(90, 2, 1, 10); // ymax = 1
    float persp[16] = {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -11.0f / 9, -1, 0, 0, -20.0f / 9, 0};
    ExpectNearMatrix(m, persp, 1e-6f);
}

TEST(Matrix, LookAtPutsTheEyeAtTheOriginFacingMinusZ)
{
    Vector3d eye = {3, 2, 5}, centre = {-1, 0.5f, -2}, up = {0, 1, 0};
    float dist = EngMathGetLineLength3D(&eye, &centre);
    EngMatrix rh, lh;
    rh.SetLookAtMatrix(&eye, &centre, &up);
    lh.SetLookAtMatrixLH(&eye, &centre, &up);
    for (const EngMatrix* m : {&rh, &lh})
    {
        ExpectNearVec(Apply(*m, eye), 0, 0, 0, 1e-5f);
        ExpectNearVec(Apply(*m, centre), 0, 0, -dist, 1e-5f);
    }
    // Up stays up in the right-handed camera.
    Vector3d above = {eye.x, eye.y + 1, eye.z};
    EXPECT_GT(Apply(rh, above).y, 0);

    EngMatrix id;
    id.SetTranslateMatrix(1, 1, 1);
    id.SetLookAtMatrix(nullptr, &centre, &up);
    ExpectNearIdentity(id, 0);
}

TEST(Matrix, OrientationTransposeAndAngles)
{
    EngMatrix m, want;
    m.SetOrientationMatrix(2);
    want.SetRotateZMatrix(ENG_MATH_THREE_HALF_PI);
    ExpectNearMatrix(m, want.m, 0);
    EngMatrix keep = m;
    m.SetOrientationMatrix(9);
    ExpectNearMatrix(m, keep.m, 0);
    m.SetOrientationMatrix(); // upright on the desktop
    ExpectNearIdentity(m, 0);

    EngMatrix a;
    for (int k = 0; k < 16; k++)
        a.m[k] = float(k);
    EngMatrixDxMatrix dx;
    a.GetDxMatrix(&dx);
    for (int k = 0; k < 16; k++)
        EXPECT_EQ(dx.m[k], float(k));
    EngMatrix b = a;
    b.GetDxMatrix();
    EXPECT_EQ(b(0, 1), a(1, 0));
    EXPECT_EQ(b(3, 2), a(2, 3));
    b.GetDxMatrix();
    ExpectNearMatrix(b, a.m, 0);

    Vector3d angles;
    m.SetRotationXYZMatrix(0.3f, -0.4f, 0.5f);
    m.GetRotationAngles(&angles);
    EXPECT_NEAR(angles.x, 0.3f, 1e-5);
    EXPECT_NEAR(std::fabs(angles.y), 0.4f, 1e-5);
    EXPECT_NEAR(angles.z, 0.5f, 1e-5);
    // Rounding may put the sine just past 1: the angles stay numbers.
    m.SetIdentityMatrix();
    m.m[2] = 1.0000001f;
    m.GetRotationAngles(&angles);
    EXPECT_FALSE(std::isnan(angles.y));
}

} // namespace
