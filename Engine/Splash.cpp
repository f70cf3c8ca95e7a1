// The start-up splash sequence.
#include "Splash.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngDim.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngPicture.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWindow.h"

char splash_setup_ok = 0;
signed char splash_set_start_time = -1;
char splash_is_on = 0;
char splash_fading = 0;
float splash_fade_level = 0;
double splash_start_time = 0;
char splash_show_effects = 0;
char splash_play_sound = 0;
char splash_draw_texts = 0;
float splash_font_sx = 1.3f, splash_font_sy = 1.2f;
float splash_text_stage = 0, splash_text_size = 0, splash_text_blend = 0;
float splash_text_texture_pos[4] = {0, 0, 1, 1};
EngTexture splash_textures[4];
EngTexture splash_text_texture;
EngTexture splash_effect_tex;
EngPicture splash_epic;
_EngParticleSystemParms splash_effect_parms;
_EngParticleSystem splash_effect_ps;
EngMatrix splash_effects_mat = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
float SplashEffect_scale[3] = {0.184211f, 0.065789f, 1};
float SplashEffect_pos[3] = {0.034246f, 0, 0};
float SplashEffect_tick_time = 0;
int SplashEffect_perc_num_particles = 0;

namespace
{

char splash_texture_filenames[4][SPLASH_FILENAME_SIZE];
char splash_logo_text_tex_filename[SPLASH_FILENAME_SIZE];
char splash_texture_effect_filename[SPLASH_FILENAME_SIZE];
char splash_sound_filename[SPLASH_FILENAME_SIZE];
char splash_texs_have_alphas = 0;
EngFont* splash_fontp = nullptr;
SplashGetTextCB splash_get_text_cb = nullptr;
SplashWaitCB splash_wait_cb = nullptr;
SplashDoneCB splash_done_cb = nullptr;
void* splash_context = nullptr;
_Dimension splash_picture_area = {0, 0, 0, 0};
_Dimension splash_picture_rects[4];
void (*splash_picture_hook)() = nullptr;
double (*splash_clock)() = nullptr;

const char* const kSetup = "Spash Setup";

double Now()
{
    return splash_clock ? splash_clock() : EngMainUpdateCurrentTime();
}

// Length and existence checks of one optional file; the messages name it.
char CheckFile(const char* file, const char* what)
{
    if (strlen(file) >= SPLASH_FILENAME_SIZE)
    {
        DebugErrorAlt(kSetup, "%s filename too long (%s)", what, file);
        return 0;
    }
    if (EngFileIsThereButNotRegular(file, kSetup))
        return 0;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(kSetup, "%s does not exist (%s)", what, file);
        return 0;
    }
    return 1;
}

void StoreSound(const char* sound, char* ok)
{
    *ok = 1;
    if (!sound)
    {
        splash_play_sound = 0;
        splash_sound_filename[0] = 0;
        return;
    }
    if (strlen(sound) >= SPLASH_FILENAME_SIZE)
    {
        DebugErrorAlt(kSetup, "Sound filename too long (%s)", sound);
        *ok = 0;
        return;
    }
    if (!EngFileExists(sound))
    {
        DebugErrorAlt(kSetup, "Sound file does not exist (%s)", sound);
        *ok = 0;
        return;
    }
    EngSafeStrcpy(splash_sound_filename, sound, SPLASH_FILENAME_SIZE);
    splash_play_sound = 1;
}

void StoreFont(EngFont* font, float sx, float sy)
{
    if (font)
    {
        splash_fontp = font;
        if (sx > 0)
            splash_font_sx = sx;
        if (sy > 0)
            splash_font_sy = sy;
        splash_draw_texts = 1;
    }
    else
    {
        splash_fontp = nullptr;
        splash_draw_texts = 0;
    }
}

void StoreCallbacks(SplashGetTextCB text_cb, SplashWaitCB wait_cb, SplashDoneCB done_cb, void* context)
{
    splash_get_text_cb = text_cb;
    splash_wait_cb = wait_cb;
    splash_done_cb = done_cb;
    splash_context = context;
}

// Sound, font and callbacks of a set-up; 0, with font and callbacks untouched, when the sound is refused.
char StoreCommon(const char* sound, EngFont* font, float sx, float sy, SplashGetTextCB text_cb,
                 SplashWaitCB wait_cb, SplashDoneCB done_cb, void* context)
{
    char ok;
    StoreSound(sound, &ok);
    if (!ok)
        return 0;
    StoreFont(font, sx, sy);
    StoreCallbacks(text_cb, wait_cb, done_cb, context);
    return 1;
}

void TearDown()
{
    if (splash_show_effects && splash_effect_ps.created)
        EngParticleSystemRelease(&splash_effect_ps);
    SplashDestroyGraphics();
    splash_epic.Destroy();
    splash_is_on = 0;
    splash_set_start_time = -1;
}

} // namespace

void SplashSetPictureHook(void (*hook)())
{
    splash_picture_hook = hook;
}

void SplashSetClockForTests(double (*clock)())
{
    splash_clock = clock;
}

char SplashSetup(const char* tex1, const char* tex2, const char* tex3, const char* tex4,
                 const char* effect_tex, const char* logo, const char* sound, EngFont* font, float font_sx,
                 float font_sy, SplashGetTextCB text_cb, SplashWaitCB wait_cb, SplashDoneCB done_cb,
                 void* context, char have_alphas)
{
    if (!tex1)
    {
        DebugErrorAlt(kSetup, "Parameter error");
        return 0;
    }
    const char* pictures[4] = {tex1, tex2, tex3, tex4};
    for (int i = 0; i < 4; i++)
    {
        if (pictures[i] && strlen(pictures[i]) >= SPLASH_FILENAME_SIZE)
        {
            DebugErrorAlt(kSetup, "Tex %d filename too long (%s)", i + 1, pictures[i]);
            return 0;
        }
    }
    for (int i = 0; i < 4; i++)
    {
        if (pictures[i] && EngFileIsThereButNotRegular(pictures[i], kSetup))
            return 0;
        if (pictures[i] && !EngFileExists(pictures[i]))
        {
            DebugErrorAlt(kSetup, "Tex %d does not exist (%s)", i + 1, pictures[i]);
            return 0;
        }
    }
    // A logo name that does not fit the buffer is refused rather than cut.
    if (logo && strlen(logo) >= SPLASH_FILENAME_SIZE)
    {
        DebugErrorAlt(kSetup, "Logo filename too long (%s)", logo);
        return 0;
    }
    for (int i = 0; i < 4; i++)
        EngSafeStrcpy(splash_texture_filenames[i], pictures[i], SPLASH_FILENAME_SIZE);
    EngSafeStrcpy(splash_logo_text_tex_filename, logo, SPLASH_FILENAME_SIZE);

    if (effect_tex)
    {
        if (!CheckFile(effect_tex, "Effect Tex"))
            return 0;
        EngSafeStrcpy(splash_texture_effect_filename, effect_tex, SPLASH_FILENAME_SIZE);
        splash_show_effects = 1;
    }
    else
    {
        splash_texture_effect_filename[0] = 0;
        splash_show_effects = 0;
    }
    if (!StoreCommon(sound, font, font_sx, font_sy, text_cb, wait_cb, done_cb, context))
        return 0;
    splash_setup_ok = 1;
    splash_texs_have_alphas = have_alphas;
    return 1;
}

char SplashSetupPicture(const char* path, const char* filename, const char* sound, EngFont* font,
                        float font_sx, float font_sy, SplashGetTextCB text_cb, SplashWaitCB wait_cb,
                        SplashDoneCB done_cb, void* context)
{
    for (auto& name : splash_texture_filenames)
        name[0] = 0;
    splash_logo_text_tex_filename[0] = 0;
    splash_texture_effect_filename[0] = 0;
    splash_show_effects = 0;
    if (!StoreCommon(sound, font, font_sx, font_sy, text_cb, wait_cb, done_cb, context))
        return 0;
    splash_texs_have_alphas = 0;
    if (splash_picture_hook)
        splash_picture_hook();
    if (!splash_epic.LoadFromFile(path, filename, 0))
    {
        // The previous set-up's pictures are gone.
        splash_setup_ok = 0;
        return 0;
    }
    splash_setup_ok = 2;
    return 1;
}

void SplashSetPictureDimension(float x, float y, float w, float h)
{
    splash_picture_area = {x, y, w, h};
    SplashUpdatePictureDimesions();
}

void SplashUpdatePictureDimesions()
{
    _Dimension a = splash_picture_area;
    if (!(a.w > 0))
        a = {200, 115, 240, 250};
    if (eng_main_window_width > 0 && eng_main_window_height > 0)
    {
        float square_w = float(eng_main_window_height) * (a.h * 1.3333334f) / float(eng_main_window_width);
        a.x = a.x + a.w / 2 - square_w / 2;
        a.w = square_w;
    }
    if (splash_setup_ok == 2)
        splash_epic.SetDrawArea(&a);
    else if (splash_texture_filenames[1][0])
    {
        const float hw = a.w / 2, hh = a.h / 2;
        splash_picture_rects[0] = {a.x, a.y, hw, hh};
        splash_picture_rects[1] = {a.x + hw, a.y, hw, hh};
        splash_picture_rects[2] = {a.x, a.y + hh, hw, hh};
        splash_picture_rects[3] = {a.x + hw, a.y + hh, hw, hh};
    }
    else
        splash_picture_rects[0] = a;
    for (int i = 0; i < 4; i++)
        splash_textures[i].PositionRatioed(&splash_picture_rects[i]);

    splash_text_texture_pos[0] = a.x + a.w / 2;
    splash_text_texture_pos[1] = a.y + a.h * 3.3f * 0.125f + (a.h / 2 * 3 * 0.125f) / 2;
    splash_text_texture_pos[2] = a.w / 2;
    splash_text_texture_pos[3] = a.h / 2 * 3 * 0.125f;

    EngMatrix scale;
    splash_effects_mat.SetTranslateMatrix((320 - (a.x + a.w / 2)) / -320, (240 - (a.y + a.h / 2)) / 240, 0);
    scale.SetScaleMatrix(a.w / 220 * 0.184211f, a.h / 240 * 0.065789f, 1);
    splash_effects_mat.PreMultiplyByMatrix(&scale);
}

char SplashIsOn()
{
    return splash_is_on;
}

void SplashShowNow()
{
    splash_fade_level = 1;
    splash_fading = 2;
}

void SplashSetFadeLevel(float level)
{
    splash_fading = 2;
    splash_fade_level = level;
}

char SplashStart()
{
    if (!DebugCheckOk(splash_setup_ok != 0, "SplashStart", "Splash not setup"))
        return 0;
    if (!DebugCheckOk(!splash_is_on, "SplashStart", "Splash is already on"))
        return 0;
    if (!DebugCheckOk(eng_main_device != nullptr, "SplashStart", "No device"))
        return 0;
    splash_fading = 1;
    splash_fade_level = 0;
    splash_text_stage = 0;
    splash_text_size = 0;
    splash_text_blend = 0;
    splash_is_on = 1;
    if (!SplashCreateGraphics())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load textures");
        SplashDestroyGraphics();
        splash_is_on = 0;
        return 0;
    }
    if (splash_show_effects)
    {
        memset(&splash_effect_parms, 0, sizeof(splash_effect_parms));
        EngParticleSystemRelease(&splash_effect_ps);
        if (splash_effect_tex.IsOk())
        {
            if (!SplashEffectsSetupParameters(100, 1, &splash_effect_tex, &splash_effect_parms) ||
                !SplashEffectsCreate(1, 1, &splash_effect_parms, &splash_effect_ps))
                splash_effect_tex.Destroy();
        }
    }
    for (int i = 0; i < 2; i++)
    {
        eng_main_device->ClearScreenBuffer();
        eng_main_device->SwapBuffers();
    }
    splash_set_start_time = 1;
    return 1;
}

char SplashTick()
{
    if (!splash_is_on || !eng_main_device)
        return 0;
    if (splash_show_effects && splash_effect_tex.IsOk())
        SplashEffectsTick(&splash_effect_parms, &splash_effect_ps, 0);
    if (splash_setup_ok == 2)
        splash_epic.Tick(1);

    if (splash_set_start_time < 0)
        return 1;
    if (splash_set_start_time == 1)
    {
        splash_start_time = Now();
        splash_set_start_time = 0;
    }

    const double now = Now();
    const double t = now - splash_start_time;
    switch (splash_fading)
    {
    case 1:
    {
        float level = float(t * 1000 / 1600 - 0.5);
        if (level < 0)
            level = 0;
        if (level > 1)
        {
            level = 1;
            splash_fading = 2;
            splash_start_time = now;
        }
        splash_fade_level = level;
        if (splash_text_stage == 0 && level > 0.2f)
        {
            splash_text_stage = 1;
            splash_text_size = 0.3f;
            splash_text_blend = 0;
        }
        break;
    }
    case 2:
    {
        bool done = splash_wait_cb ? splash_wait_cb(t, splash_context) != 0 : t >= 2;
        if (done)
        {
            splash_fading = 3;
            splash_start_time = now;
        }
        break;
    }
    case 3:
    {
        float level = float(1 - t * 1000 / 1500);
        if (level > 1)
            level = 1;
        if (level <= 0)
        {
            level = 0;
            splash_fading = 4;
        }
        splash_fade_level = level;
        break;
    }
    case 4:
        SplashEnd();
        return 1;
    default:
        break;
    }

    if (splash_text_stage == 1)
    {
        splash_text_size += eng_main_frames_per_second;
        splash_text_blend += 2 * eng_main_frames_per_second;
        if (splash_text_blend > 1)
            splash_text_blend = 1;
        if (splash_text_size >= 0.9f)
        {
            splash_text_size = 0.9f;
            splash_text_stage = 2;
        }
    }
    return 1;
}

char SplashRender(char clear)
{
    if (!splash_is_on || !eng_main_device)
        return 0;
    EngDevice* dev = eng_main_device;
    if (clear == 1)
        dev->ClearScreenBuffer();
    else if (clear == 2)
        dev->ClearScreenAndDepthBuffers();
    if (splash_fading <= 0)
        return 1;
    if (splash_setup_ok == 1 && !splash_textures[0].IsOk())
        return 1;

    char own_2d = dev->PrepareFor2DIfNeeded(1);
    char own_rendering = dev->BeginRenderingIfNeeded();

    if (splash_setup_ok == 2)
        splash_epic.Draw();
    else
    {
        if (splash_texs_have_alphas)
            dev->EnableBlendingType(0);
        int count = splash_textures[1].IsOk() ? 4 : 1;
        for (int i = 0; i < count; i++)
            splash_textures[i].Draw();
        if (splash_texs_have_alphas)
            dev->DisableBlending();
    }

    if (splash_draw_texts && splash_fontp)
    {
        const char* text = splash_get_text_cb ? splash_get_text_cb(splash_context) : SPLASH_DEFAULT_TEXT;
        splash_fontp->SetScale(splash_font_sx, splash_font_sy);
        splash_fontp->SetColour(1, 1, 1, 1);
        splash_fontp->DrawStringAlign(320, 450, 1, 1, text ? text : "", 1);
        splash_fontp->SetScale(1, 1);
    }

    if (splash_show_effects && splash_effect_tex.IsOk())
    {
        dev->PushTransformMatrix();
        dev->SetTransformMatrix(&splash_effects_mat);
        SplashEffectsRender(&splash_effect_ps, 0, 0, 0, 1, nullptr);
        dev->PopTransformMatrix();
    }

    if (splash_text_stage >= 1 && splash_text_texture.IsOk())
    {
        dev->EnableBlendingType(0);
        const float s = splash_text_size;
        if (s > 0)
        {
            const float* p = splash_text_texture_pos;
            splash_text_texture.PositionRatioed(p[0] - s * p[2] / 2, p[1] - s * p[3] / 2, s * p[2], s * p[3]);
            splash_text_texture.DrawWithColour(1, 1, 1, splash_text_blend);
        }
        dev->DisableBlending();
    }

    EngDimDarkenScreen(1 - splash_fade_level);

    if (own_rendering)
        dev->EndRendering();
    if (own_2d)
        dev->RestoreAfter2D();
    return 1;
}

void SplashEnd()
{
    TearDown();
    if (splash_done_cb)
        splash_done_cb(splash_context);
}

void SplashExit()
{
    TearDown();
}

char SplashCreateGraphics()
{
    if (!splash_is_on)
        return 1;
    if (splash_setup_ok == 1)
    {
        for (int i = 0; i < 4; i++)
        {
            if (!splash_texture_filenames[i][0] || splash_textures[i].IsOk())
                continue;
            const char* name = splash_texture_filenames[i];
            char ok = splash_texs_have_alphas ? splash_textures[i].LoadFromFile(name, 1, 2)
                                              : splash_textures[i].LoadFromJpegFile(name, 0, 0, 0);
            if (!ok)
                return 0;
        }
    }
    else if (splash_setup_ok == 2 && !splash_epic.AreGraphicsCreated())
    {
        if (!splash_epic.CreateGraphics())
            return 0;
    }
    if (splash_logo_text_tex_filename[0] && !splash_text_texture.IsOk())
    {
        if (!splash_text_texture.LoadFromTgaFile(splash_logo_text_tex_filename, 1, 2, 0))
            return 0;
    }
    if (splash_show_effects && !splash_effect_tex.IsOk())
    {
        if (!splash_effect_tex.LoadFromBmpFile(splash_texture_effect_filename, 0, 0, 0))
            return 0;
    }
    SplashUpdatePictureDimesions();
    return 1;
}

void SplashDestroyGraphics()
{
    for (auto& t : splash_textures)
        t.Destroy();
    splash_text_texture.Destroy();
    if (splash_show_effects)
        splash_effect_tex.Destroy();
    splash_epic.DestroyGraphics();
    EngDimTurnOff();
}

char SplashEffectsSetupParameters(int percentage, float scale, EngTexture* texture,
                                  _EngParticleSystemParms* parms)
{
    if (!parms)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No parameters");
        return 0;
    }
    // The slot count grows with the percentage: keep it within the system's limit.
    if (percentage < 0)
        percentage = 0;
    if (percentage > 10000)
        percentage = 10000;
    SplashEffect_perc_num_particles = percentage;
    // Fields not set below (flags, spread entries) start from zero.
    memset(parms, 0, sizeof(*parms));
    parms->texture = (texture && texture->IsOk()) ? texture : nullptr;
    parms->mode = 2;
    int count = percentage / 100;
    if (count < 1)
        count = 1;
    parms->start_count = count;
    parms->burst_count = count;
    parms->life_min = parms->life_max = scale != 0 ? 1.51335f * scale : 1.51335f;
    parms->attract_min = parms->attract_max = 0.533986f;
    parms->attract_on = 0;
    parms->attract_x = parms->attract_y = parms->attract_z = 0;
    const float start[3] = {0, 1, 0.047619f}, end[3] = {0, 0, 0}, start_max[3] = {1, 1, 1},
                end_max[3] = {0, 0.119048f, 1};
    memcpy(parms->colour_start, start, sizeof(start));
    memcpy(parms->colour_end, end, sizeof(end));
    memcpy(parms->colour_start_max, start_max, sizeof(start_max));
    memcpy(parms->colour_end_max, end_max, sizeof(end_max));
    parms->random_start_colour = 0;
    parms->random_end_colour = 0;
    parms->use_colour = 1;
    parms->fade_in = 1;
    parms->blend_type = 1;
    parms->emission_rate = 0;
    parms->min_emission_interval = 0.014063f;
    parms->alpha_start = 0.015957f;
    parms->alpha_end = 0.533511f;
    parms->size_start = 0;
    parms->size_end = 0.893396f;
    parms->spread_type = 0;
    parms->spread_factor = 0.73801f;
    parms->spread_min = -0.806569f;
    parms->spread_max = 0.558394f;
    parms->cone_angle = 360;
    parms->speed = 4;
    parms->position = {0, 0, 0};
    memset(&parms->direction, 0, sizeof(parms->direction));
    memset(&parms->acceleration, 0, sizeof(parms->acceleration));
    memset(&parms->orbit, 0, sizeof(parms->orbit));
    memset(&parms->spin, 0, sizeof(parms->spin));
    memset(&parms->turn, 0, sizeof(parms->turn));
    memset(parms->oscillate_type, 0, sizeof(parms->oscillate_type));
    memset(parms->oscillate_speed, 0, sizeof(parms->oscillate_speed));
    memset(parms->oscillate_amplitude, 0, sizeof(parms->oscillate_amplitude));
    parms->oscillate_on = 0;
    parms->depth_on = 1;
    parms->two_sided = 0;
    return 1;
}

char SplashEffectsCreate(char tick_at_once, char recreate, _EngParticleSystemParms* parms,
                         _EngParticleSystem* system)
{
    if (!system || !parms)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No system pointer or no parameters");
        return 0;
    }
    if (system->created && !recreate)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "System already created");
        return 0;
    }
    int n = SplashEffect_perc_num_particles;
    int count = n == 0 ? 66 : n * 66 / 100;
    if (count < 1)
        count = 1;
    if (!EngParticleSystemCreate(count, parms, 1, system))
        return 0;
    if (tick_at_once)
    {
        EngParticleSystemTickUpdate(system, 0.1f, 1);
        SplashEffect_tick_time = 0.1f;
    }
    return 1;
}

char SplashEffectsRestart(_EngParticleSystemParms* parms, _EngParticleSystem* system)
{
    return SplashEffectsCreate(1, 1, parms, system);
}

char SplashEffectsTick(_EngParticleSystemParms* parms, _EngParticleSystem* system, char)
{
    if (!system || !system->created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No system");
        return 0;
    }
    SplashEffect_tick_time += eng_main_frames_per_second;
    if (EngParticleSystemTickUpdate(system, SplashEffect_tick_time, 0) == 0)
        return SplashEffectsCreate(1, 1, parms, system);
    return 1;
}

char SplashEffectsRender(_EngParticleSystem* system, char own_transform, char own_2d, char use_position,
                         char use_scale, const _Vector3d* position)
{
    if (!system || !system->created)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No system");
        return 0;
    }
    EngDevice* dev = eng_main_device;
    char entered_2d = 0;
    if (own_2d && dev)
        entered_2d = dev->PrepareFor2DIfNeeded(1);
    if (own_transform && dev)
    {
        _Vector3d pos = {SplashEffect_pos[0], SplashEffect_pos[1], SplashEffect_pos[2]};
        if (use_position && position)
            pos = *position;
        dev->PushTransformMatrix();
        if (use_scale)
            dev->SetTransformMatrixPosScale(pos.x, pos.y, pos.z, SplashEffect_scale[0], SplashEffect_scale[1],
                                            SplashEffect_scale[2]);
        else
            dev->SetTransformMatrixPos(pos.x, pos.y, pos.z);
    }
    EngParticleSystemRender(system);
    if (own_transform && dev)
        dev->PopTransformMatrix();
    if (entered_2d)
        dev->RestoreAfter2D();
    return 1;
}
