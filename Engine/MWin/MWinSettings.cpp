#include "MWinSettings.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngWhichDevice.h"
#include "MWin.h"
#include "MWinFonts.h"
#include "MWinTextures.h"

// The default font ships in the resources folder, the working directory.
#define MWIN_DEFAULT_FONT_FILE "MWinDefaultFont.ttf"

void MWin::SetStandardButtonsWidthAndHeightAndMargins(float w, float h, float mx, float my)
{
    if (w > 0)
        std_button_w = w;
    if (h > 0)
        std_button_h = h;
    if (mx >= 0)
        std_margin_x = mx;
    if (my >= 0)
        std_margin_y = my;
    SetupStandardSettings(0);
}

void MWin::SetupStandardSettings(char full)
{
    _MWinSettings& s = settings;
    const float w = std_button_w, h = std_button_h, mx = std_margin_x, my = std_margin_y;
    if (full)
    {
        memset(s.controlled_from_main, 1, sizeof s.controlled_from_main);
        s.hover_activates_collection = 1;
        s.hover_activates_window = 1;
        s.clear_method = 0;
        s.bg_image_file[0] = 0;
        memset(s.list_panel_bg, 0, sizeof s.list_panel_bg);
        s.disabled_alpha = 1.0f;
        const float f0[5] = {30, 50, 60, 30, 35};
        const float f7[5] = {60, 100, 60, 60, 60};
        const float f8[5] = {20, 45, 65, 25, 35};
        const float f2[5] = {50, 140, 100, 50, 50};
        const float f4[5] = {5, 6, 4, 5, 5};
        for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
        {
            MWinLayoutSettings& L = s.layout[l];
            L[0] = f0[l];
            L[1] = f2[l] + f4[l] + 7;
            L[7] = f7[l];
            L[8] = f8[l];
        }
    }
    s.shrink_text_default = 1;
    s.choice_highlight = 0;
    memset(s.tab_panel_defaults, 1, sizeof s.tab_panel_defaults);
    s.pie_flags[0] = s.pie_flags[1] = s.pie_flags[2] = 1;
    s.pie_flags[3] = 255;
    const float pie[9] = {0.8f, 0.298f, 0.298f, 0.298f, 0.8f, 0.298f, 0, 0, 0};
    memcpy(s.pie_reset, pie, sizeof pie);
    for (float& f : s.stored_floats6)
        f = 0.6f;
    for (float& f : s.stored_floats3)
        f = 1.0f;
    s.graph_default = 0;
    s.stored_bytes2[0] = s.stored_bytes2[1] = 1;
    s.colour_border[0] = s.colour_border[1] = s.colour_border[2] = 0;

    const float f2[5] = {50, 140, 100, 50, 50};
    const float f3[5] = {22, 36, 50, 22, 22};
    const float f4[5] = {5, 6, 4, 5, 5};
    const float f10[5] = {3, 6, 6, 3, 3};
    const float f11[5] = {30, 20, 14, 4, 4};
    const float f12[5] = {28, 20, 14, 4, 4};
    const float f39[5] = {3, 6, 3, 6, 3};
    const float f40[5] = {5, 12, 8, 8, 5};
    const float f41[5] = {5, 8, 5, 5, 5};
    const char tablet = IS_TABLET();
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
    {
        MWinLayoutSettings& L = s.layout[l];
        L[2] = f2[l];
        L[3] = f3[l];
        L[4] = f4[l];
        L[5] = 0;
        L[9] = 3;
        L[10] = f10[l];
        L[11] = f11[l];
        L[12] = f12[l];
        L[13] = f11[l];
        L[14] = f12[l];
        L[17] = mx;
        L[18] = 0;
        L[19] = 10;
        L[20] = 3;
        L[21] = w;
        L[22] = h;
        L[23] = mx;
        L[24] = h;
        L[25] = 2 * h;
        L[26] = w;
        L[27] = 2 * w;
        L[28] = 1.25f * w;
        L[29] = 3;
        L[30] = mx;
        L[31] = my;
        L[32] = w;
        L[33] = h;
        L[34] = mx;
        L[35] = w;
        L[36] = h;
        L[37] = 0.25f * w;
        L[38] = mx;
        L[39] = f39[l];
        L[40] = f40[l];
        L[41] = f41[l];
        L[42] = 20;
        L[43] = 2;
        L[44] = 1;
        L[45] = 0;
        L[46] = 0;
        L[47] = 0.05f;
        L[48] = 0;
        L[49] = 4;
        L[50] = 2;
        L[51] = 2;
        L[52] = 8;
        L[53] = L[25] / 3;
        L[54] = L[25] / 3; // range end width
        L[55] = 3 * L[53]; // range handle width
        L[56] = 0;
        L[57] = 0;
        L[58] = 1.0f;
        L.SetInt(59, 2);
        L.SetInt(60, 2);
        L[61] = 12;
        L[62] = 4;
        L[63] = tablet ? 25 : 30;
        L[64] = tablet ? 40 : 50;
    }
}

char MWin::SetupDefaultFont()
{
    if (!fonts || fonts->AddStandardFont(MWIN_DEFAULT_FONT_FILE, &m_default_font_params) != 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load font <%s>", MWIN_DEFAULT_FONT_FILE);
        return 0;
    }
    if (EngFont* f = fonts->GetStandardFont())
    {
        f->SetScale(1, 1);
        f->SetColour(1, 1, 1, 1);
    }
    return 1;
}

namespace
{
struct StdTexBut
{
    const char* name;
    float u0, v0, u1, v1;
    int hmode;
    float hfrac, hsize;
    int vmode;
    float vfrac, vsize;
};

// Rectangles of the standard button image: a 2 x 2 grid of large regions on
// the upper half, small regions in rows of eight below.
#define SMALL(i)                                                                                             \
    (((i) % 8) * 0.125f + 0.0005f), (0.5f + ((i) / 8) * 0.125f + 0.0005f), (((i) % 8) * 0.125f + 0.1245f),   \
        (0.5f + ((i) / 8) * 0.125f + 0.1245f)
const StdTexBut kStdTexButs[MWIN_NUM_STD_TEXBUTS] = {
    {"StdWinBack", 0.0005f, 0.1265f, 0.4995f, 0.4995f, 2, 0.16f, 12, 2, 0.16f, 12},
    {"StdWinTitle", 0.0005f, 0.0005f, 0.4995f, 0.1245f, 2, 0.16f, 12, 1, 0, 16},
    {"StdButtonHide", SMALL(0), 1, 0, 16, 1, 0, 16},
    {"StdButtonBack", SMALL(1), 2, 0.2f, 6, 2, 0.2f, 4},
    {"StdButtonBack2", SMALL(2), 2, 0.2f, 6, 2, 0.2f, 4},
    {"StdLeftArrow", SMALL(3), 0, 0, 16, 0, 0, 16},
    {"StdRightArrow", SMALL(4), 0, 0, 16, 0, 0, 16},
    {"StdUpArrow", SMALL(5), 0, 0, 16, 0, 0, 16},
    {"StdDownArrow", SMALL(6), 0, 0, 16, 0, 0, 16},
    {"StdScrollButton", SMALL(7), 2, 0.2f, 4, 1, 0, 16},
    {"StdScrollBack", SMALL(8), 2, 0.2f, 4, 1, 0, 16},
    {"StdVScrollButton", SMALL(9), 1, 0, 16, 2, 0.2f, 4},
    {"StdVScrollBack", SMALL(10), 1, 0, 16, 2, 0.2f, 4},
    {"StdListOpenMain", SMALL(11), 2, 0.2f, 6, 1, 0, 16},
    {"StdListOpenTop", SMALL(12), 2, 0.2f, 6, 1, 0, 16},
    {"StdListOpenBot", SMALL(13), 2, 0.2f, 6, 1, 0, 16},
    {"StdListOpenSel", SMALL(14), 2, 0.2f, 6, 1, 0, 16},
    {"StdCheckButton", SMALL(15), 0, 0, 16, 0, 0, 16},
    {"StdUnCheckButton", SMALL(16), 0, 0, 16, 0, 0, 16},
    {"StdTabPanelHeading", SMALL(17), 2, 0.2f, 6, 1, 0, 16},
    {"StdTabPanelVertDiv", SMALL(18), 1, 0, 16, 1, 0, 16},
    {"StdTabPanelRowBack1", SMALL(19), 1, 0, 16, 1, 0, 16},
    {"StdTabPanelRowBack2", SMALL(20), 1, 0, 16, 1, 0, 16},
    {"StdTabPanelRowSel", SMALL(21), 1, 0, 16, 1, 0, 16},
    {"StdTabPanelRowEmpty", SMALL(22), 1, 0, 16, 1, 0, 16},
    {"StdBackHeading", SMALL(23), 2, 0.2f, 6, 1, 0, 16},
    {"StdBackMain", SMALL(24), 2, 0.2f, 8, 2, 0.2f, 8},
    {"StdPushButton", 0.501f, 0.0005f, 1.0f, 0.2495f, 2, 0.15f, 7, 2, 0.44f, 4},
    {"StdTextEdit", SMALL(25), 2, 0.2f, 6, 2, 0.2f, 4},
    {"StdChoice", SMALL(26), 2, 0.2f, 6, 2, 0.2f, 4},
    {"StdPanel", SMALL(27), 2, 0.2f, 6, 2, 0.2f, 6},
    {"StdBlack", SMALL(28), 1, 0, 16, 1, 0, 16},
    {"StdWhite", SMALL(29), 1, 0, 16, 1, 0, 16},
};
#undef SMALL
} // namespace

char MWin::SetupDefaultTextures(const char* file)
{
    if (!textures || !textures->AddTexture("StandardButtons", file, 1, 2))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load texture <%s>", file ? file : "");
        return 0;
    }
    char all = 1;
    for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
    {
        const StdTexBut& t = kStdTexButs[slot];
        const char* tex = "StandardButtons";
        // Every state shows the same rectangle; the state colours tell them apart.
        if (!textures->AddStandardTextureButton(
                slot, t.name, tex, t.u0, t.v0, t.u1, t.v1, tex, t.u0, t.v0, t.u1, t.v1, tex, t.u0, t.v0, t.u1,
                t.v1, tex, t.u0, t.v0, t.u1, t.v1, t.hmode, t.hfrac, t.hsize, t.vmode, t.vfrac, t.vsize))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load texbut <%s>", t.name);
            all = 0;
        }
    }
    if (!all)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem setting up textures");
        return 0;
    }
    for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
    {
        if (textures->GetStandardTexButNum(slot) < 0)
            continue;
        textures->SetTextureButtonStateColourMultiplier(slot, 0, 0.9f);
        textures->SetTextureButtonStateColourMultiplier(slot, 1, 1.0f);
        textures->SetTextureButtonStateColourMultiplier(slot, 2, 0.7f);
        textures->SetTextureButtonStateColourMultiplier(slot, 3, 0.5f);
    }
    return 1;
}
