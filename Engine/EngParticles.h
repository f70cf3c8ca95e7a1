// Particle systems: an emitter record, a fixed array of particle slots, a
// per-frame tick with the caller's clock, and drawing as textured quads.
#pragma once

#include "EngMath.h"
#include "EngTypes.h"

class EngTexture;

#ifndef ENG_IVECTOR2D_DEFINED
#define ENG_IVECTOR2D_DEFINED
struct _IVector2d
{
    EngInt32 x, y;
};
typedef _IVector2d IVector2d;
#endif

// Largest number of particle slots a system may have.
#define ENG_PARTICLES_MAX 100000

struct _EngParticleSystemParms
{
    EngInt32 start_count;
    EngInt32 burst_count;
    char mode;           // 0 emit only, 1 advance only, 2 both
    EngTexture* texture; // borrowed; null draws untextured quads
    char use_colour;
    char fade_in;
    signed char blend_type;  // 0..5
    EngUInt32 emission_rate; // particles per second
    float min_emission_interval;
    float life_min, life_max;
    float last_life;
    float speed;
    char attract_on;
    EngInt32 attract_x, attract_y, attract_z;
    float attract_min, attract_max;
    float colour_start[3];
    float colour_end[3];
    float colour_start_max[3];
    float colour_end_max[3];
    EngInt32 random_start_colour;
    EngInt32 random_end_colour;
    float alpha_start, alpha_end;
    float size_start, size_end;
    char spread_type; // 0..8
    float spread_factor;
    float spread_min, spread_max;
    float cone_angle; // degrees
    _Vector3d position;
    char direction_on;
    _EngMathRange3Var direction;
    char acceleration_on;
    _EngMathRange3Var acceleration;
    char orbit_on;
    _EngMathRange3Var orbit;
    char spin_on;
    _EngMathRange3Var spin;
    char turn_on;
    _EngMathRange3Var turn;
    char oscillate_on;
    signed char oscillate_type[3]; // 0 off, 1 sin, 2 cos, 3 tan, 4 sin^2, 5 -sin^2
    float oscillate_speed[3];
    float oscillate_amplitude[3];
    float oscillate_angle[3];
    char depth_on;
    char two_sided;
    EngUInt32 spread_entry_count;
    _IVector2d* spread_entries; // borrowed
    EngInt32 spread_entries_min_x, spread_entries_width;
    EngInt32 spread_entries_min_y, spread_entries_height;
};
typedef _EngParticleSystemParms EngParticleSystemParms;

struct _EngParticle
{
    _Vector3d previous_position;
    _Vector3d position;
    _Vector3d velocity;
    _Vector3d acceleration;
    _Vector3d direction;
    _ColourRGBA colour;
    _ColourRGBA plain_colour;
    float colour_speed[3];
    char fading_in;
    float fade_in_time;
    float alpha;
    float alpha_speed;
    float size;
    float size_speed;
    float age; // -1: free slot
    float life;
    float attraction;
    _Vector3d orbit;
    _Vector3d turn;
    _Vector3d spin;
};
typedef _EngParticle EngParticle;

struct _EngParticleSystem
{
    EngInt32 max_particles;
    _EngParticleSystemParms parms;
    _EngParticle* particles; // owned
    char created;
    char hold_emission;
    EngInt32 live_count;
    float last_update_time;
    float last_emission_time;
    float emission_remainder;
    float life_variation;
    float colour_variation[3];
    float alpha_variation;
    float size_variation;
    _Vector3d previous_position;
    float speed_variation;
};
typedef _EngParticleSystem EngParticleSystem;

char EngParticleSystemCreate(int max_particles, _EngParticleSystemParms* parms, char recreate,
                             _EngParticleSystem* system);
void EngParticleSystemRelease(_EngParticleSystem* system);
void EngParticlesInit(_EngParticleSystem* system);
void EngParticleSystemAfterParameterChanges(_EngParticleSystem* system);
void EngParticleSystemSetParmsSpreadEntries(_EngParticleSystemParms* parms, unsigned int count,
                                            _IVector2d** entries);
// -1 bad system, 0 an advancing tick left nothing alive, else 1.
signed char EngParticleSystemTickUpdate(_EngParticleSystem* system, float time, char start);
char EngParticlesCreate(_EngParticleSystem* system, float dt, _EngParticle* particle);
char EngParticlesUpdate(_EngParticleSystem* system, _EngParticle* particle, float dt);
void EngParticleSystemRender(_EngParticleSystem* system);
char EngParticleSystemCreateGraphics();
void EngParticleSystemDestroyGraphics();

// Test support: forgets how many "No spread entries" reports were made.
void EngParticlesResetSpreadWarningsForTests();
