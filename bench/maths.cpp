// Per-frame maths: matrix products, vector transforms, inverses, rounding and
// the random generator. Prints nanoseconds per call.
#include <chrono>
#include <cstdio>

#include "EngMath.h"
#include "EngMatrix.h"
#include "EngRandom.h"

namespace
{

volatile float sink_f;
volatile int sink_i;

template <typename F> void Run(const char* name, int n, F f)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; i++)
        f(i);
    double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    printf("%-28s %8.2f ns/call\n", name, ns / n);
}

} // namespace

int main()
{
    const int n = 2000000;
    EngMatrix a, b;
    a.SetRotationXYZMatrix(0.3f, 0.2f, 0.1f);
    b.SetTranslateMatrix(1, 2, 3);
    Run("MultiplyByMatrix", n, [&](int) {
        a.MultiplyByMatrix(&b);
        sink_f = a.m[12];
        a.m[12] = 0;
    });
    Run("TransformVectorByMatrix", n, [&](int i) {
        Vector3d p = {float(i), 1, 2};
        a.TransformVectorByMatrix(&p);
        sink_f = p.x;
    });
    EngMatrix inv;
    Run("GetInverseMatrix", n / 10, [&](int) {
        a.GetInverseMatrix(&inv, nullptr);
        sink_f = inv.m[0];
    });
    Run("EngMathRound", n, [&](int i) { sink_i = EngMathRound(float(i) * 0.37f); });
    Run("EngMathKeepAngle0To2Pi", n, [&](int i) {
        float v = float(i % 100) - 50;
        EngMathKeepAngleBetween0AndTwoPi(&v);
        sink_f = v;
    });
    rk_state s;
    rk_seed(1, &s);
    Run("rk_random", n, [&](int) { sink_i = int(rk_random(&s)); });
    return 0;
}
