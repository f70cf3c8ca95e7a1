// EngPicture: per-frame animation of the layers.
#include <cmath>

#include "EngDebug.h"
#include "EngMath.h"
#include "EngMiscValues.h"
#include "EngPicture.h"
#include "EngProgram.h"

namespace
{

void Interpolate(const _Dimension& a, const _Dimension& b, float f, _Dimension* out)
{
    EngMathInterpolateTwoDimensions(a, b, f, out);
}

// Brings v into [0, 1) whatever the size of the last step.
float WrapUnit(float v)
{
    if (!std::isfinite(v))
        return 0;
    return v - std::floor(v);
}

void ScrollAxis(float speed, float tile, char tc_default, float tc_start, float tc_end, float* low,
                float* high, float dt)
{
    if (speed == 0)
        return;
    *low += dt * speed * tile;
    if (tc_default)
    {
        if (*low >= 1 || *low < 0)
            *low = WrapUnit(*low);
        *high = *low + tile;
    }
    else
    {
        *high = (tc_end - tc_start) * tile + *low;
        if (*low > tc_end)
        {
            *low = tc_start;
            *high = tc_end;
        }
    }
}

} // namespace

float EngPictureEase(float t)
{
    const float half_pi = 1.5707964f;
    if (t < 0.5f)
        return 0.5f - 0.5f * std::sin((1 - 2 * t) * half_pi);
    return 0.5f + 0.5f * std::sin((2 * t - 1) * half_pi);
}

void EngPicture::ResetTextureCoordinates(EngPictureLayer* layer, EngPictureLayerVars* vars)
{
    if (!layer || !vars)
        return;
    if (layer->tc_default)
    {
        vars->tex_coords.left = 0;
        vars->tex_coords.top = 0;
        vars->tex_coords.right = layer->tc_tile.x;
        vars->tex_coords.bottom = layer->tc_tile.y;
    }
    else
    {
        vars->tex_coords.left = layer->tc_tc[0];
        vars->tex_coords.top = layer->tc_tc[1];
        vars->tex_coords.right = layer->tc_tc[2];
        vars->tex_coords.bottom = layer->tc_tc[3];
    }
}

char EngPicture::ResetTextureCoordinates(int n)
{
    if (!layers || !layer_vars)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No layers");
        return 0;
    }
    if (n < 0 || n >= num_layers)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid layer num %d (%d)", n, num_layers);
        return 0;
    }
    ResetTextureCoordinates(&layers[n], &layer_vars[n]);
    return 1;
}

void EngPicture::ResetLayerVars(EngPictureLayer* layer, EngPictureLayerVars* vars)
{
    if (!layer || !vars)
        return;
    vars->trans_pos = 0;
    vars->trans_dir = 1;
    vars->area = layer->main_area;
    vars->angle = layer->rot_values[0];
    vars->rot_dir = 1;
    vars->alpha = 0;
    vars->throb_phase = 0;
    ResetTextureCoordinates(layer, vars);
    MoveToNextRandomPosition(layer, vars);
}

void EngPicture::MoveToNextRandomPosition(EngPictureLayer* layer, EngPictureLayerVars* vars)
{
    if (!layer || !vars || layer->trans_type != 4)
        return;
    const _Dimension& r = layer->trans_random_area;
    const _Dimension& m = layer->main_area;
    vars->random_pos[0] = EngMiscRandRangeFloat(r.x, r.x + r.w - m.w, 0);
    vars->random_pos[1] = EngMiscRandRangeFloat(r.y, r.y + r.h - m.h, 0);
}

void EngPicture::TickCalcLayerTransArea(EngPictureLayer* layer, EngPictureLayerVars* vars)
{
    if (!layer || !vars)
        return;
    switch (layer->trans_type)
    {
    case 3:
        Interpolate(layer->main_area, layer->trans_end_area, EngPictureEase(vars->trans_pos), &vars->area);
        break;
    case 4:
    {
        _Dimension sized;
        Interpolate(layer->main_area, layer->trans_end_area, vars->alpha, &sized);
        vars->area.x = vars->random_pos[0];
        vars->area.y = vars->random_pos[1];
        vars->area.w = sized.w;
        vars->area.h = sized.h;
        break;
    }
    default:
        Interpolate(layer->main_area, layer->trans_end_area, vars->trans_pos, &vars->area);
        break;
    }
}

void EngPicture::Tick(float factor)
{
    if (!layers || !layer_vars)
        return;
    const float dt = factor * eng_main_frames_per_second;
    for (int i = 0; i < num_layers; i++)
    {
        EngPictureLayer* l = &layers[i];
        EngPictureLayerVars* v = &layer_vars[i];

        if (l->trans_type > 0)
        {
            float step = l->trans_speeds[0] * l->trans_speeds[1] * dt;
            switch (l->trans_type)
            {
            case 1:
                v->trans_pos += step;
                if (v->trans_pos >= 1 || v->trans_pos < 0)
                    v->trans_pos = WrapUnit(v->trans_pos);
                break;
            case 2:
            case 3:
                if (v->trans_dir >= 0)
                {
                    v->trans_pos += step;
                    if (v->trans_pos >= 1)
                    {
                        v->trans_pos = 1;
                        v->trans_dir = -1;
                    }
                }
                else
                {
                    v->trans_pos -= step;
                    if (v->trans_pos <= 0)
                    {
                        v->trans_pos = 0;
                        v->trans_dir = 1;
                    }
                }
                break;
            default:
                break;
            }
            TickCalcLayerTransArea(l, v);
        }

        if (l->rot_flags[0])
        {
            const float s = l->rot_values[0];
            const float e = l->rot_values[1];
            const float step = l->rot_values[2] * l->rot_values[3] * dt;
            const float lo = s < e ? s : e;
            const float hi = s < e ? e : s;
            const signed char mode = static_cast<signed char>(l->rot_flags[1]);
            if (mode <= 0)
                v->angle = s;
            else if (mode == 1)
            {
                v->angle += step;
                if (v->angle >= e)
                    v->angle = s;
            }
            else if (mode == 2)
            {
                v->angle += step;
                if (v->angle >= 360)
                    v->angle = std::isfinite(v->angle) ? std::fmod(v->angle, 360.0f) : 0;
            }
            else if (mode == 3)
            {
                if (v->rot_dir >= 0)
                {
                    v->angle += step;
                    if (v->angle >= hi)
                    {
                        v->angle = hi;
                        v->rot_dir = -1;
                    }
                }
                else
                {
                    v->angle -= step;
                    if (v->angle <= lo)
                    {
                        v->angle = lo;
                        v->rot_dir = 1;
                    }
                }
            }
            else
            {
                if (s == e)
                    v->angle = s;
                else
                {
                    float phase_step = step / std::fabs(e - s);
                    if (v->rot_dir >= 0)
                    {
                        v->rot_phase += phase_step;
                        if (v->rot_phase >= 1)
                            v->rot_dir = -1;
                    }
                    else
                    {
                        v->rot_phase -= phase_step;
                        if (v->rot_phase <= 0)
                            v->rot_dir = 1;
                    }
                    v->angle = lo + EngPictureEase(v->rot_phase) * (hi - lo);
                }
            }
        }

        if (l->alpha_throb_on)
        {
            char cycle_ended = 0;
            float e = EngMiscThrobEffect(&v->throb_phase, dt * l->alpha_throb_speed * l->alpha_throb_mult,
                                         &cycle_ended);
            v->alpha = l->alpha_throb_min_level + (l->alpha_level - l->alpha_throb_min_level) * e;
            if (cycle_ended)
                MoveToNextRandomPosition(l, v);
        }

        if (l->tc_move)
        {
            ScrollAxis(l->tc_speed.x, l->tc_tile.x, l->tc_default, l->tc_tc[0], l->tc_tc[2],
                       &v->tex_coords.left, &v->tex_coords.right, dt);
            ScrollAxis(l->tc_speed.y, l->tc_tile.y, l->tc_default, l->tc_tc[1], l->tc_tc[3],
                       &v->tex_coords.top, &v->tex_coords.bottom, dt);
        }
    }
}
