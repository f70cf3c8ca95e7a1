// The placement particle effect: a preset for the engine's particle systems
// and small create, restart, tick and draw helpers around it.
#pragma once

#include "EngParticles.h"
#include "EngTypes.h"

class EngTexture;

extern int PlaceEffect_perc_num_particles;
extern float PlaceEffect_tick_time;
extern _Vector3d PlaceEffect_pos;
extern _Vector3d PlaceEffect_scale;

// Fills the preset for a particle-count percentage and a life scale; 0 without parms.
char PlaceEffectsSetupParameters(int percentage, float life_scale, EngTexture* texture,
                                 _EngParticleSystemParms* parms);
// The start count the stored percentage gives (the system's slot count).
int PlaceEffectsGetStartCount();
char PlaceEffectsCreate(char tick_once, char recreate, _EngParticleSystemParms* parms,
                        _EngParticleSystem* system);
char PlaceEffectsRestart(_EngParticleSystemParms* parms, _EngParticleSystem* system);
void PlaceEffectsTick(_EngParticleSystemParms* parms, _EngParticleSystem* system, char unused);
void PlaceEffectsRender(_EngParticleSystem* system, char own_transform, char in_2d, char use_position,
                        char use_scale, _Vector3d* position);
