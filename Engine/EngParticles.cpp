// Particle systems: creation, emission, spawning and the motion step.
#include "EngParticles.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMatrix.h"
#include "EngMiscValues.h"

namespace
{

const char* const kOwner = "EngParticles";
int spread_warnings = 0;

float Clamp(float v, float lo, float hi)
{
    if (v < lo)
        return lo;
    if (v > hi)
        return hi;
    return v;
}

// Random value between lo and hi whichever is larger.
float RandBetween(float a, float b)
{
    return a < b ? EngMiscRandRangeFloat(a, b, 0) : EngMiscRandRangeFloat(b, a, 0);
}

// Keeps an angle in 0..2 pi whatever the size of the step.
void WrapAngle(float* a)
{
    const float two_pi = 6.2831855f;
    if (!std::isfinite(*a))
        *a = 0;
    else if (*a > two_pi || *a < 0)
    {
        *a = std::fmod(*a, two_pi);
        if (*a < 0)
            *a += two_pi;
    }
}

void VectorFromRange(char on, _EngMathRange3Var* range, _Vector3d* out)
{
    if (on)
        EngMathSetVector3dFromRange3Var(out, range);
    else
        out->x = out->y = out->z = 0;
}

float OscillationValue(int type, float angle)
{
    switch (type)
    {
    case 1:
        return std::sin(angle);
    case 2:
        return std::cos(angle);
    case 3:
        return std::tan(angle);
    case 4:
        return std::sin(angle) * std::sin(angle);
    case 5:
        return -std::sin(angle) * std::sin(angle);
    default:
        return 0;
    }
}

bool SystemOk(const _EngParticleSystem* s)
{
    return s && s->created && s->particles;
}

} // namespace

void EngParticlesResetSpreadWarningsForTests()
{
    spread_warnings = 0;
}

char EngParticleSystemCreate(int max_particles, _EngParticleSystemParms* parms, char recreate,
                             _EngParticleSystem* system)
{
    if (!system || !parms)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No system or no parameters");
        return 0;
    }
    if (max_particles <= 0 || max_particles > ENG_PARTICLES_MAX)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad num max particles [%d]", max_particles);
        return 0;
    }
    if (system->created && !recreate)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "System already created");
        return 0;
    }
    // The parms may live inside the system being recreated.
    _EngParticleSystemParms copy = *parms;
    if (system->created)
        EngParticleSystemRelease(system);
    memset(system, 0, sizeof(*system));
    system->parms = copy;
    system->max_particles = max_particles;
    system->previous_position = copy.position;
    system->particles =
        static_cast<_EngParticle*>(EngMalloc(sizeof(_EngParticle) * size_t(max_particles), kOwner, 1));
    if (!system->particles)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for particles");
        memset(system, 0, sizeof(*system));
        return 0;
    }
    system->created = 1;
    EngParticlesInit(system);
    EngParticleSystemAfterParameterChanges(system);
    return 1;
}

void EngParticleSystemRelease(_EngParticleSystem* system)
{
    if (!system)
        return;
    if (system->created)
        EngFree(system->particles, 0, kOwner);
    else if (system->particles)
        DebugErrorAlt(__PRETTY_FUNCTION__, "EngParticles exist, but not created");
    memset(system, 0, sizeof(*system));
}

void EngParticlesInit(_EngParticleSystem* system)
{
    if (!SystemOk(system))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "System not ok");
        return;
    }
    memset(system->particles, 0, sizeof(_EngParticle) * size_t(system->max_particles));
    for (int i = 0; i < system->max_particles; i++)
        system->particles[i].age = -1;
}

void EngParticleSystemAfterParameterChanges(_EngParticleSystem* system)
{
    if (!system || !system->created)
        return;
    _EngParticleSystemParms* p = &system->parms;
    p->direction_on = EngMathCheckIfRange3VarActive(&p->direction) ? 1 : 0;
    p->acceleration_on = EngMathCheckIfRange3VarActive(&p->acceleration) ? 1 : 0;
    p->orbit_on = EngMathCheckIfRange3VarActive(&p->orbit) ? 1 : 0;
    p->spin_on = EngMathCheckIfRange3VarActive(&p->spin) ? 1 : 0;
    p->turn_on = EngMathCheckIfRange3VarActive(&p->turn) ? 1 : 0;
    p->oscillate_on = (p->oscillate_type[0] || p->oscillate_type[1] || p->oscillate_type[2]) ? 1 : 0;
}

void EngParticleSystemSetParmsSpreadEntries(_EngParticleSystemParms* parms, unsigned int count,
                                            _IVector2d** entries)
{
    if (!parms)
        return;
    if (count == 0 || !entries || !*entries)
    {
        parms->spread_entry_count = 0;
        parms->spread_entries = nullptr;
        return;
    }
    _IVector2d* e = *entries;
    EngInt32 min_x = 10000, max_x = -10000, min_y = 10000, max_y = -10000;
    for (unsigned int i = 0; i < count; i++)
    {
        if (e[i].x < min_x)
            min_x = e[i].x;
        if (e[i].x > max_x)
            max_x = e[i].x;
        if (e[i].y < min_y)
            min_y = e[i].y;
        if (e[i].y > max_y)
            max_y = e[i].y;
    }
    parms->spread_entry_count = count;
    parms->spread_entries = e;
    parms->spread_entries_min_x = min_x;
    parms->spread_entries_width = max_x - min_x;
    parms->spread_entries_min_y = min_y;
    parms->spread_entries_height = max_y - min_y;
}

signed char EngParticleSystemTickUpdate(_EngParticleSystem* system, float time, char start)
{
    if (!SystemOk(system))
        return -1;
    _EngParticleSystemParms* p = &system->parms;
    const float dt = time - system->last_update_time;
    const int burst = start ? p->start_count : p->burst_count;

    for (int axis = 0; axis < 3; axis++)
    {
        if (p->oscillate_type[axis] > 0)
        {
            p->oscillate_angle[axis] += dt * p->oscillate_speed[axis];
            WrapAngle(&p->oscillate_angle[axis]);
        }
    }

    if (start == 0 && (p->mode == 1 || p->mode == 2))
    {
        system->live_count = 0;
        system->last_update_time = time;
        for (int i = 0; i < system->max_particles; i++)
        {
            _EngParticle* particle = &system->particles[i];
            if (particle->age > -1 && EngParticlesUpdate(system, particle, dt))
                system->live_count++;
        }
        if (system->live_count == 0)
            return 0;
    }

    if (start != 1 && !(p->mode == 0 || p->mode == 2))
        return 1;

    if (system->last_emission_time > 0 && time - system->last_emission_time < p->min_emission_interval)
        return 1;
    system->last_emission_time = time;

    float total = float(p->emission_rate) * dt + system->emission_remainder + float(burst);
    if (!std::isfinite(total) || total < 0)
        total = 0; // a clock that ran backwards owes nothing
    if (total > float(system->max_particles))
        total = float(system->max_particles);
    int whole = int(total);

    if (system->hold_emission)
    {
        system->emission_remainder = total;
        system->previous_position = p->position;
        return 1;
    }
    system->emission_remainder = total - float(whole);
    for (int i = 0; i < system->max_particles && whole > 0; i++)
    {
        _EngParticle* particle = &system->particles[i];
        if (particle->age <= -1)
        {
            EngParticlesCreate(system, dt, particle);
            whole--;
        }
    }
    return 1;
}

char EngParticlesCreate(_EngParticleSystem* system, float dt, _EngParticle* particle)
{
    if (!particle)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No EngParticle");
        return 0;
    }
    if (!SystemOk(system))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Parent");
        return 0;
    }
    _EngParticleSystemParms* p = &system->parms;
    if (!(p->spread_factor > 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parent spread factor <= 0");
        return 0;
    }
    if (!(dt > 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "time counter<= 0");
        return 0;
    }

    particle->age = 0;
    float base_life = EngMiscRandRangeFloat(p->life_min, p->life_max, 0);
    p->last_life = base_life;
    particle->life = Clamp(base_life + EngMiscRandFloat(system->life_variation, 0), 0.001f, 10000);

    VectorFromRange(p->acceleration_on, &p->acceleration, &particle->acceleration);
    VectorFromRange(p->direction_on, &p->direction, &particle->direction);
    VectorFromRange(p->orbit_on, &p->orbit, &particle->orbit);
    VectorFromRange(p->turn_on, &p->turn, &particle->turn);
    VectorFromRange(p->spin_on, &p->spin, &particle->spin);

    float* rgb[3] = {&particle->colour.r, &particle->colour.g, &particle->colour.b};
    for (int c = 0; c < 3; c++)
    {
        float birth = p->random_start_colour ? RandBetween(p->colour_start[c], p->colour_start_max[c])
                                             : p->colour_start[c];
        *rgb[c] = birth + EngMiscRandFloat(system->colour_variation[c], 0);
    }
    particle->colour.a = 1;
    particle->plain_colour.r = particle->plain_colour.g = particle->plain_colour.b = 1;
    particle->plain_colour.a = 1;
    for (int c = 0; c < 3; c++)
        *rgb[c] = Clamp(*rgb[c], 0, 1);
    particle->colour.a = Clamp(particle->colour.a, 0, 1);
    for (int c = 0; c < 3; c++)
    {
        float end =
            p->random_end_colour ? RandBetween(p->colour_end[c], p->colour_end_max[c]) : p->colour_end[c];
        particle->colour_speed[c] = (end - *rgb[c]) / particle->life;
    }

    particle->alpha = Clamp(p->alpha_start + EngMiscRandFloat(system->alpha_variation, 0), 0, 1);
    particle->alpha_speed = (p->alpha_end - particle->alpha) / particle->life;
    particle->size = Clamp(p->size_start + EngMiscRandFloat(system->size_variation, 0), 0.0001f, 10000);
    particle->size_speed = (p->size_end - particle->size) / particle->life;

    const _Vector3d& prev = system->previous_position;
    particle->position.x = prev.x + (p->position.x - prev.x) / dt * EngMiscRandFloat(dt, 0);
    particle->position.y = prev.y + (p->position.y - prev.y) / dt * EngMiscRandFloat(dt, 0);
    particle->position.z = prev.z + (p->position.z - prev.z) / dt * EngMiscRandFloat(dt, 0);

    const float s = p->spread_factor, lo = p->spread_min, hi = p->spread_max;
    _Vector3d& pos = particle->position;
    switch (p->spread_type)
    {
    case 0:
        pos.x += EngMiscRandRangeFloat(lo, hi, 0) / s;
        pos.y += EngMiscRandRangeFloat(lo, hi, 0) / s;
        pos.z += EngMiscRandRangeFloat(lo, hi, 0) / s;
        break;
    case 1:
    case 2:
    {
        float angle = EngMiscRandFloat(6.2831855f, 0);
        float radius = (hi - lo) / s;
        if (p->spread_type == 1)
            radius = EngMiscRandFloat(radius, 0);
        pos.x += std::cos(angle) * radius;
        pos.y += std::sin(angle) * radius;
        break;
    }
    case 3:
        switch (rand() % 4)
        {
        case 0:
            pos.x += lo / s;
            pos.y += EngMiscRandRangeFloat(lo, hi, 0) / s;
            break;
        case 1:
            pos.x += hi / s;
            pos.y += EngMiscRandRangeFloat(lo, hi, 0) / s;
            break;
        case 2:
            pos.x += EngMiscRandRangeFloat(lo, hi, 0) / s;
            pos.y += lo / s;
            break;
        default:
            pos.x += EngMiscRandRangeFloat(lo, hi, 0) / s;
            pos.y += hi / s;
            break;
        }
        break;
    case 4:
        pos.x += EngMiscRandRangeFloat(lo, hi, 1) / s;
        break;
    case 5:
        pos.y += EngMiscRandRangeFloat(lo, hi, 1) / s;
        break;
    case 6:
        pos.x += EngMiscRandRangeFloat(lo, hi, 1) / s;
        pos.z += EngMiscRandRangeFloat(lo, hi, 1) / s;
        break;
    case 7:
        pos.y += EngMiscRandRangeFloat(lo, hi, 1) / s;
        pos.z += EngMiscRandRangeFloat(lo, hi, 1) / s;
        break;
    case 8:
        if (p->spread_entry_count >= 2 && p->spread_entries && p->spread_entries_width > 0 &&
            p->spread_entries_height > 0)
        {
            const _IVector2d& e = p->spread_entries[EngUInt32(rand()) % p->spread_entry_count];
            pos.x +=
                (lo + float(e.x - p->spread_entries_min_x) / float(p->spread_entries_width) * (hi - lo)) / s;
            pos.y +=
                (lo + float(e.y - p->spread_entries_min_y) / float(p->spread_entries_height) * (hi - lo)) / s;
        }
        else if (spread_warnings < 3)
        {
            spread_warnings++;
            DebugErrorAlt(__PRETTY_FUNCTION__, "No spread entries");
        }
        break;
    default:
        break;
    }

    system->previous_position = p->position;

    double azimuth = EngMiscRandFloat(6.2831855f, 0);
    double polar = double(EngMiscRandFloat(p->cone_angle, 0)) * 0.017453292;
    double vx = particle->direction.x * std::cos(polar);
    double vy = particle->direction.y * std::sin(polar) * std::cos(azimuth);
    double vz = particle->direction.z * std::sin(polar) * std::sin(azimuth);
    double speed = Clamp(p->speed + EngMiscRandFloat(system->speed_variation, 0), 0.001f, 10000);
    particle->velocity.x = float(vx * speed);
    particle->velocity.y = float(vy * speed);
    particle->velocity.z = float(vz * speed);

    particle->attraction = EngMiscRandRangeFloat(p->attract_min, p->attract_max, 0);

    if (p->oscillate_on)
    {
        float* axes[3] = {&pos.x, &pos.y, &pos.z};
        for (int a = 0; a < 3; a++)
            if (p->oscillate_type[a] > 0)
                *axes[a] +=
                    OscillationValue(p->oscillate_type[a], p->oscillate_angle[a]) * p->oscillate_amplitude[a];
    }

    particle->fade_in_time = 0;
    particle->fading_in = p->fade_in;
    return 1;
}

char EngParticlesUpdate(_EngParticleSystem* system, _EngParticle* particle, float dt)
{
    if (!particle)
        return 0;
    if (!SystemOk(system))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Parent");
        return 0;
    }
    _EngParticleSystemParms* p = &system->parms;
    particle->age += dt;
    if (particle->age >= particle->life)
    {
        particle->age = -1;
        return 0;
    }
    particle->previous_position = particle->position;
    particle->position.x += particle->velocity.x * dt;
    particle->position.y += particle->velocity.y * dt;
    particle->position.z += particle->velocity.z * dt;
    particle->velocity.x += particle->acceleration.x * dt;
    particle->velocity.y += particle->acceleration.y * dt;
    particle->velocity.z += particle->acceleration.z * dt;

    if (p->attract_on)
    {
        static _Vector3d pull;
        pull.x = p->attract_x ? p->position.x - particle->position.x : 0;
        pull.y = p->attract_y ? p->position.y - particle->position.y : 0;
        pull.z = p->attract_z ? p->position.z - particle->position.z : 0;
        EngMathUnifyNormal(&pull);
        particle->velocity.x += pull.x * particle->attraction * dt;
        particle->velocity.y += pull.y * particle->attraction * dt;
        particle->velocity.z += pull.z * particle->attraction * dt;
    }
    if (p->orbit_on)
    {
        EngMatrix m;
        m.SetRotationXYZMatrix(particle->orbit.x * dt, particle->orbit.y * dt, particle->orbit.z * dt);
        m.TransformVectorByMatrix(&particle->position);
    }
    if (p->turn_on)
    {
        EngMatrix m;
        m.SetRotationXYZMatrix(particle->turn.x * dt, particle->turn.y * dt, particle->turn.z * dt);
        m.TransformVectorByMatrix(&particle->velocity);
    }

    particle->colour.r += particle->colour_speed[0] * dt;
    particle->colour.g += particle->colour_speed[1] * dt;
    particle->colour.b += particle->colour_speed[2] * dt;
    particle->size += particle->size_speed * dt;

    float drawn;
    if (particle->fading_in)
    {
        particle->fade_in_time += dt;
        drawn = particle->fade_in_time;
        if (particle->fade_in_time >= p->alpha_start)
        {
            particle->fading_in = 0;
            particle->alpha = particle->fade_in_time;
            if (particle->life - particle->age > 0)
                particle->alpha_speed =
                    (p->alpha_end - particle->fade_in_time) / (particle->life - particle->age);
            drawn = particle->alpha;
        }
    }
    else
    {
        particle->alpha += particle->alpha_speed * dt;
        drawn = particle->alpha;
    }
    particle->colour.a = drawn;
    particle->plain_colour.a = drawn;

    if (particle->colour.r < 0)
        particle->colour.r = 0;
    if (particle->colour.g < 0)
        particle->colour.g = 0;
    if (particle->colour.b < 0)
        particle->colour.b = 0;
    return 1;
}

char EngParticleSystemCreateGraphics()
{
    return 1;
}

void EngParticleSystemDestroyGraphics() {}
