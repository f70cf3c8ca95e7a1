// The placement particle effect.
#include "Effects.h"

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngTexture.h"

int PlaceEffect_perc_num_particles = 0;
float PlaceEffect_tick_time = 0;
_Vector3d PlaceEffect_pos = {-0.10274f, 0, 0};
_Vector3d PlaceEffect_scale = {1.613684f, 2.19f, 2.19f};

namespace
{
int StartCountFor(int percentage)
{
    if (percentage == 0)
        return 81;
    int n = percentage * 81 / 100;
    return n < 1 ? 1 : n;
}

int BurstCountFor(int percentage)
{
    if (percentage == 0)
        return 2;
    int n = percentage / 50;
    return n < 1 ? 1 : n;
}

void SetRange(_EngMathRange3Var* r, float a, float b, float c, float d, float e, float f)
{
    r->min_x = a;
    r->max_x = b;
    r->min_y = c;
    r->max_y = d;
    r->min_z = e;
    r->max_z = f;
}

void SetColour(float* c, float r, float g, float b)
{
    c[0] = r;
    c[1] = g;
    c[2] = b;
}
} // namespace

int PlaceEffectsGetStartCount()
{
    return StartCountFor(PlaceEffect_perc_num_particles);
}

char PlaceEffectsSetupParameters(int percentage, float life_scale, EngTexture* texture,
                                 _EngParticleSystemParms* parms)
{
    if (!parms)
    {
        DebugErrorAlt("PlaceEffectsSetupParameters", "No parameters");
        return 0;
    }
    PlaceEffect_perc_num_particles = percentage;
    parms->start_count = StartCountFor(percentage);
    parms->burst_count = BurstCountFor(percentage);
    parms->mode = 2;
    parms->texture = (texture && texture->IsOk()) ? texture : nullptr;
    parms->use_colour = 1;
    parms->fade_in = 0;
    parms->blend_type = 5;
    parms->emission_rate = 0;
    parms->min_emission_interval = 0.026563f;
    float life = life_scale == 0 ? 0.686406f : 0.686406f * life_scale;
    parms->life_min = life;
    parms->life_max = life;
    parms->speed = 3.5f;
    parms->attract_on = 1;
    parms->attract_x = 1;
    parms->attract_y = 1;
    parms->attract_z = 0;
    parms->attract_min = -0.072539f;
    parms->attract_max = -0.072539f;
    SetColour(parms->colour_start, 1, 1, 1);
    SetColour(parms->colour_start_max, 1, 1, 1);
    SetColour(parms->colour_end, 0.9f, 0.404762f, 0);
    SetColour(parms->colour_end_max, 0.9f, 0.404762f, 0);
    parms->random_start_colour = 0;
    parms->random_end_colour = 0;
    parms->alpha_start = 0.083333f;
    parms->alpha_end = 0;
    parms->size_start = 0;
    parms->size_end = 0.03125f;
    parms->spread_type = 2;
    parms->spread_factor = 29.383686f;
    parms->spread_min = -0.364964f;
    parms->spread_max = 0.583942f;
    parms->cone_angle = 360;
    parms->position = {0, 0, 0};
    SetRange(&parms->direction, -0.004042f, -0.004042f, 0.000984f, 0.000984f, 0, 0);
    SetRange(&parms->acceleration, 0, 0, 0, 0, 0, 0);
    SetRange(&parms->orbit, 0, 0, 0, 0, 0, 0);
    SetRange(&parms->spin, 0, 0, 0, 0, 0, 0);
    SetRange(&parms->turn, 0, 0, 0, 0, 0, 0);
    for (int i = 0; i < 3; i++)
        parms->oscillate_type[i] = 0;
    parms->oscillate_speed[0] = 3.930636f;
    parms->oscillate_speed[1] = 3.98844f;
    parms->oscillate_speed[2] = 3.930636f;
    parms->oscillate_amplitude[0] = 1.763006f;
    parms->oscillate_amplitude[1] = 1.676301f;
    parms->oscillate_amplitude[2] = 1.589595f;
    parms->depth_on = 1;
    parms->two_sided = 0;
    return 1;
}

char PlaceEffectsCreate(char tick_once, char recreate, _EngParticleSystemParms* parms,
                        _EngParticleSystem* system)
{
    if (!system || !parms)
    {
        DebugErrorAlt("PlaceEffectsCreate", "No system pointer or no parameters");
        return 0;
    }
    if (system->created)
    {
        if (!recreate)
        {
            DebugErrorAlt("PlaceEffectsCreate", "System already created");
            return 0;
        }
        EngParticleSystemRelease(system);
    }
    if (!EngParticleSystemCreate(PlaceEffectsGetStartCount(), parms, 1, system))
        return 0;
    if (tick_once)
    {
        EngParticleSystemTickUpdate(system, 0.1f, 1);
        PlaceEffect_tick_time = 0.1f;
    }
    return 1;
}

char PlaceEffectsRestart(_EngParticleSystemParms* parms, _EngParticleSystem* system)
{
    return PlaceEffectsCreate(1, 1, parms, system);
}

void PlaceEffectsTick(_EngParticleSystemParms*, _EngParticleSystem* system, char)
{
    if (!system || !system->created)
    {
        DebugErrorAlt("PlaceEffectsTick", "No system");
        return;
    }
    // The engine keeps the frame period in this global.
    PlaceEffect_tick_time += eng_main_frames_per_second;
    if (EngParticleSystemTickUpdate(system, PlaceEffect_tick_time, 0) == 0)
        EngParticleSystemRelease(system);
}

void PlaceEffectsRender(_EngParticleSystem* system, char own_transform, char in_2d, char use_position,
                        char use_scale, _Vector3d* position)
{
    if (!system || !system->created)
    {
        DebugErrorAlt("PlaceEffectsRender", "No system");
        return;
    }
    EngDevice* dev = eng_main_device;
    if (in_2d && dev)
        dev->PrepareFor2D(1);
    if (own_transform && dev)
    {
        dev->PushTransformMatrix();
        _Vector3d pos = {0, 0, 0};
        if (use_position)
            pos = position ? *position : PlaceEffect_pos;
        if (use_scale)
            dev->SetTransformMatrixPosScale(pos.x, pos.y, pos.z, PlaceEffect_scale.x, PlaceEffect_scale.y,
                                            PlaceEffect_scale.z);
        else
            dev->SetTransformMatrixPos(&pos);
    }
    EngParticleSystemRender(system);
    if (own_transform && dev)
        dev->PopTransformMatrix();
    if (in_2d && dev)
        dev->RestoreAfter2D();
}
