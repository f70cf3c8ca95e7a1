// Per-frame CPU cost of the effects: a particle system ticked at 60 Hz and a
// layered picture with every kind of animation. Prints microseconds per tick.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "EngParticles.h"
#include "EngPicture.h"
#include "EngProgram.h"

namespace
{

template <typename F> void Run(const char* name, int n, F f)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; i++)
        f(i);
    double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    printf("%-36s %10.3f us/tick\n", name, us / n);
}

} // namespace

int main()
{
    for (int slots : {100, 1000, 10000})
    {
        _EngParticleSystemParms parms;
        memset(&parms, 0, sizeof(parms));
        parms.mode = 2;
        parms.emission_rate = EngUInt32(slots);
        parms.life_min = 0.5f;
        parms.life_max = 1.5f;
        parms.spread_factor = 1;
        parms.spread_max = 1;
        parms.speed = 2;
        parms.cone_angle = 360;
        parms.direction = {1, 1, 1, 1, 1, 1, 0};
        parms.orbit = {0, 0, 0, 0, 0.5f, 1, 0};
        parms.attract_on = 1;
        parms.attract_x = parms.attract_y = 1;
        parms.attract_max = 1;
        parms.alpha_start = 1;
        parms.size_end = 1;
        _EngParticleSystem sys;
        memset(&sys, 0, sizeof(sys));
        if (!EngParticleSystemCreate(slots, &parms, 0, &sys))
            return 1;
        float t = 0.1f;
        EngParticleSystemTickUpdate(&sys, t, 1);
        char name[64];
        snprintf(name, sizeof(name), "particles, %d slots", slots);
        Run(name, 600, [&](int) {
            t += 1.0f / 60;
            EngParticleSystemTickUpdate(&sys, t, 0);
        });
        printf("%-36s %10d alive\n", "", sys.live_count);
        EngParticleSystemRelease(&sys);
    }

    EngPicture pic;
    for (int i = 0; i < 64; i++)
    {
        pic.AddLayer(nullptr);
        EngPictureLayer* l = pic.GetLayer(i);
        l->trans_type = static_cast<signed char>(1 + i % 4);
        l->trans_speeds[0] = 0.3f;
        l->trans_speeds[1] = 1;
        l->trans_end_area = {0.5f, 0.5f, 0.5f, 0.5f};
        l->trans_random_area = {0, 0, 1, 1};
        l->rot_flags[0] = 1;
        l->rot_flags[1] = static_cast<char>(1 + i % 4);
        l->rot_values[1] = 90;
        l->rot_values[2] = 45;
        l->alpha_throb_on = 1;
        l->tc_move = 1;
        l->tc_speed = {0.1f, 0.2f};
    }
    eng_main_frames_per_second = 1.0f / 60;
    Run("picture, 64 animated layers", 10000, [&](int) { pic.Tick(1); });
    return 0;
}
