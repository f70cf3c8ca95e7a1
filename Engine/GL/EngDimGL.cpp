// Screen dimming on OpenGL.
#include <GL/glew.h>

#include "EngDevice.h"
#include "EngDim.h"

float eng_gl_dim_level = 1.0f;
char eng_gl_dim_on = 0;

void EngDimSetLevel_GL(float level)
{
    eng_gl_dim_level = level;
    eng_gl_dim_on = 1;
}
float EngDimGetLevel_GL()
{
    return eng_gl_dim_level;
}
void EngDimTurnOff_GL()
{
    eng_gl_dim_on = 0;
}
char EngDimIsOn_GL()
{
    return eng_gl_dim_on;
}
void EngDimDo_GL()
{
    if (eng_gl_dim_on)
        EngDimDarkenScreen_GL(1.0f - eng_gl_dim_level);
}
void EngDimDeleteGraphics_GL() {}

void EngDimDarkenScreen_GL(float opacity)
{
    EngDevice* dev = eng_main_device;
    if (!dev)
        return;
    char entered = dev->PrepareFor2DIfNeeded(1);
    char on = 0;
    int src = -1, dst = -1;
    dev->GetBlendingState(&on, &src, &dst);
    dev->EnableBlendingType(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    static const GLfloat verts[12] = {-1, -1, 1, 1, -1, 1, -1, 1, 1, 1, 1, 1};
    GLfloat cols[16];
    for (int i = 0; i < 4; i++)
        cols[i * 4] = cols[i * 4 + 1] = cols[i * 4 + 2] = 0, cols[i * 4 + 3] = opacity;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, verts);
    glColorPointer(4, GL_FLOAT, 0, cols);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    // Put back the pair too (when one was recorded), then the on/off state.
    if (src >= 0 && dst >= 0)
        dev->EnableSpecificBlending(src, dst);
    dev->SetBlendingState(on, src, dst);
    if (entered)
        dev->RestoreAfter2D();
}
