// The start-up splash: up to four pictures (or one layered picture), a logo
// that zooms in, a line of text and a particle effect, faded in from black,
// held, and faded out. One splash at a time; the program calls SplashTick and
// SplashRender every frame until the end callback arrives.
#pragma once

#include "EngMatrix.h"
#include "EngParticles.h"
#include "EngTypes.h"

class EngFont;
class EngPicture;
class EngTexture;

#define SPLASH_FILENAME_SIZE 128
#define SPLASH_DEFAULT_TEXT "Loading..."

typedef const char* (*SplashGetTextCB)(void* context);
// Given the seconds held so far; non-zero ends the hold.
typedef char (*SplashWaitCB)(double held, void* context);
typedef void (*SplashDoneCB)(void* context);

char SplashSetup(const char* tex1, const char* tex2, const char* tex3, const char* tex4,
                 const char* effect_tex, const char* logo, const char* sound, EngFont* font, float font_sx,
                 float font_sy, SplashGetTextCB text_cb, SplashWaitCB wait_cb, SplashDoneCB done_cb,
                 void* context, char have_alphas);
char SplashSetupPicture(const char* path, const char* filename, const char* sound, EngFont* font,
                        float font_sx, float font_sy, SplashGetTextCB text_cb, SplashWaitCB wait_cb,
                        SplashDoneCB done_cb, void* context);
void SplashSetPictureDimension(float x, float y, float w, float h);

char SplashStart();
char SplashTick();
char SplashRender(char clear);
char SplashIsOn();
void SplashShowNow();
void SplashSetFadeLevel(float level);
void SplashEnd();
void SplashExit();
char SplashCreateGraphics();
void SplashDestroyGraphics();
void SplashUpdatePictureDimesions();

char SplashEffectsSetupParameters(int percentage, float scale, EngTexture* texture,
                                  _EngParticleSystemParms* parms);
char SplashEffectsCreate(char tick_at_once, char recreate, _EngParticleSystemParms* parms,
                         _EngParticleSystem* system);
char SplashEffectsRestart(_EngParticleSystemParms* parms, _EngParticleSystem* system);
char SplashEffectsTick(_EngParticleSystemParms* parms, _EngParticleSystem* system, char flag);
char SplashEffectsRender(_EngParticleSystem* system, char own_transform, char own_2d, char use_position,
                         char use_scale, const _Vector3d* position);

// The program's picture hook, run before a layered picture is loaded (it may
// install a texture-file override); null runs nothing.
void SplashSetPictureHook(void (*hook)());
// Test support: the clock the stages are timed with (null: the engine clock).
void SplashSetClockForTests(double (*clock)());

// Module state, read by the program and the tests.
extern char splash_setup_ok;              // 0 none, 1 picture files, 2 layered picture
extern signed char splash_set_start_time; // -1 idle, 1 take the start time next tick, 0 running
extern char splash_is_on;
extern char splash_fading; // 1 in, 2 hold, 3 out, 4 finished
extern float splash_fade_level;
extern double splash_start_time;
extern char splash_show_effects;
extern char splash_play_sound;
extern char splash_draw_texts;
extern float splash_font_sx, splash_font_sy;
extern float splash_text_stage, splash_text_size, splash_text_blend;
extern float splash_text_texture_pos[4];
extern EngTexture splash_textures[4];
extern EngTexture splash_text_texture;
extern EngTexture splash_effect_tex;
extern EngPicture splash_epic;
extern _EngParticleSystemParms splash_effect_parms;
extern _EngParticleSystem splash_effect_ps;
extern EngMatrix splash_effects_mat;
extern float SplashEffect_scale[3];
extern float SplashEffect_pos[3];
extern float SplashEffect_tick_time;
extern int SplashEffect_perc_num_particles;
