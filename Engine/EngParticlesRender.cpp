// Particle systems: drawing the live particles as textured quads.
#include "EngParticles.h"

#include <GL/glew.h>

#include "EngDevice.h"
#include "EngMain.h"
#include "EngMatrix.h"
#include "EngTexture.h"

namespace
{

const float ps_default_colour[4] = {1, 1, 1, 1};

// The blend pair of a particle blend type; 0 for an unknown type.
char BlendPair(int type, int* src, int* dst)
{
    switch (type)
    {
    case 0:
        *src = EDEV_BLEND_SRC_ALPHA;
        *dst = EDEV_BLEND_ONE;
        return 1;
    case 1:
        *src = EDEV_BLEND_DEST_COLOUR;
        *dst = EDEV_BLEND_ONE;
        return 1;
    case 2:
        *src = EDEV_BLEND_INV_DEST_COLOUR;
        *dst = EDEV_BLEND_SRC_COLOUR;
        return 1;
    case 3:
        *src = EDEV_BLEND_ZERO;
        *dst = EDEV_BLEND_INV_SRC_COLOUR;
        return 1;
    case 4:
        *src = EDEV_BLEND_SRC_ALPHA;
        *dst = EDEV_BLEND_INV_SRC_ALPHA;
        return 1;
    case 5:
        *src = EDEV_BLEND_SRC_ALPHA_SATURATE;
        *dst = EDEV_BLEND_INV_SRC_ALPHA;
        return 1;
    default:
        return 0;
    }
}

} // namespace

void EngParticleSystemRender(_EngParticleSystem* system)
{
    if (!eng_main_device || !system || !system->created || !system->particles)
        return;
    EngDevice* dev = eng_main_device;
    _EngParticleSystemParms* p = &system->parms;

    char depth_changed = 0;
    if (!p->depth_on)
        depth_changed = dev->TurnOffDepthBufferIfNeeded();
    char lighting_changed = dev->TurnOffLightingIfNeeded();
    char two_sided_was = dev->AreTwoSidedPolygonsOn() ? 1 : 0;
    char two_sided_wanted = p->two_sided ? 1 : 0;
    char two_sided_changed = 0;
    if (two_sided_was != two_sided_wanted)
    {
        dev->ShowTwoSidedPolygons(two_sided_wanted);
        two_sided_changed = 1;
    }

    int src = 0, dst = 0;
    if (BlendPair(p->blend_type, &src, &dst))
        dev->EnableSpecificBlending(src, dst);
    else
        dev->EnableBlendingType(99);

    if (EngMainIsCurrentDeviceTypeGL())
    {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        if (p->texture)
            p->texture->BindTexture_GL();
        else
            glBindTexture(GL_TEXTURE_2D, 0);

        const float tex[8] = {0, 0, 0, 0.99f, 1, 0, 1, 0.99f};
        float verts[12];
        for (int i = 0; i < system->max_particles; i++)
        {
            _EngParticle* pt = &system->particles[i];
            float a = pt->fading_in ? pt->fade_in_time : pt->alpha;
            pt->colour.a = a;
            pt->plain_colour.a = a;
            if (pt->age <= -1)
                continue;
            if (p->blend_type == 1)
                glColor4f(pt->colour.r * a, pt->colour.g * a, pt->colour.b * a, a);
            else if (p->use_colour)
                glColor4fv(&pt->colour.r);
            else
                glColor4fv(&pt->plain_colour.r);

            const float h = pt->size * 0.5f;
            const _Vector3d& c = pt->position;
            _Vector3d corners[4] = {{-h, h, 0}, {-h, -h, 0}, {h, h, 0}, {h, -h, 0}};
            EngMatrix spin;
            if (p->spin_on)
                spin.SetRotationXYZMatrix(pt->age * pt->spin.x, pt->age * pt->spin.y, pt->age * pt->spin.z);
            for (int k = 0; k < 4; k++)
            {
                if (p->spin_on)
                    spin.TransformVectorByMatrix(&corners[k]);
                verts[k * 3 + 0] = c.x + corners[k].x;
                verts[k * 3 + 1] = c.y + corners[k].y;
                verts[k * 3 + 2] = c.z + corners[k].z;
            }
            glVertexPointer(3, GL_FLOAT, 0, verts);
            glTexCoordPointer(2, GL_FLOAT, 0, tex);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }

        if (p->texture)
            glBindTexture(GL_TEXTURE_2D, 0);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glColor4fv(ps_default_colour);
    }

    if (two_sided_changed)
        dev->ShowTwoSidedPolygons(two_sided_was);
    dev->DisableBlending();
    if (depth_changed)
        dev->TurnOnDepthBuffer();
    if (lighting_changed)
        dev->TurnOnLighting();
}
