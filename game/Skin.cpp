// The game's look for the toolkit.
#include "Skin.h"

#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "MWin/MWin.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinTextures.h"

namespace
{
struct TexRect
{
    bool set;
    float l, t, r, b;
};

struct Multiplier
{
    int state; // -1 ends the list
    float r, g, b, a;
};

struct SkinButton
{
    int slot; // -1 for a named texture button
    const char* id;
    const char* slot_name;
    const char* tex;
    TexRect states[4];
    int hm;
    float hf, hc;
    int vm;
    float vf, vc;
    float ew, et, eb;
    Multiplier mult[3];
};

const TexRect NONE = {false, 0, 0, 0, 0};
const Multiplier END = {-1, 0, 0, 0, 0};

// clang-format off
#define R(l, t, r, b) TexRect{true, l, t, r, b}

const SkinButton skin_buttons[] = {
    {-1, "ArrowL", "", "Buttons",
     {R(0.002f, 0.628f, 0.124f, 0.875f), R(0.127f, 0.627f, 0.249f, 0.874f), R(0.251f, 0.628f, 0.374f, 0.875f),
      R(0.376f, 0.627f, 0.498f, 0.874f)},
     0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {-1, "ArrowR", "", "Buttons",
     {R(0.124f, 0.629f, 0.002f, 0.875f), R(0.25f, 0.628f, 0.127f, 0.874f), R(0.374f, 0.628f, 0.251f, 0.876f),
      R(0.499f, 0.627f, 0.377f, 0.873f)},
     1, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {-1, "Back1", "", "Buttons", {R(0.001f, 0.001f, 0.499f, 0.499f), NONE, NONE, NONE}, 2, 0.19f, 10, 2, 0.19f,
     10, 0, 0, 0, {END}},
    {-1, "Back2", "", "Buttons", {R(0.033f, 0.035f, 0.468f, 0.468f), NONE, NONE, NONE}, 2, 0.1f, 6, 2, 0.11f, 6,
     0, 0, 0, {END}},
    {-1, "Back3", "", "Buttons", {R(0, 0.503f, 0.498f, 0.624f), NONE, NONE, NONE}, 2, 0.15f, 7, 2, 0.15f, 3, 0, 0,
     0, {END}},
    {-1, "Main", "", "Buttons",
     {R(0.501f, 0.003f, 0.999f, 0.124f), R(0.501f, 0.126f, 0.999f, 0.249f), R(0.501f, 0.251f, 0.999f, 0.374f),
      R(0.501f, 0.376f, 0.999f, 0.499f)},
     2, 0.09f, 6, 2, 0.25f, 5, 0, 0, 0, {END}},
    {-1, "MainTitle", "", "TitleButton", {R(0, 0, 1, 1), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {-1, "Panel", "", "Buttons",
     {R(0.503f, 0.503f, 0.996f, 0.624f), R(0.503f, 0.625f, 1, 0.751f), R(0.503f, 0.752f, 1, 0.879f),
      R(0.503f, 0.878f, 1, 1)},
     2, 0.09f, 5, 2, 0.31f, 7, 0, 0, 0, {END}},
    {-1, "TitleBack", "", "Buttons", {R(0.002f, 0.879f, 0.498f, 0.998f), NONE, NONE, NONE}, 2, 0.13f, 7, 2, 0.11f,
     4, 0, 0, 0, {END}},
    {MWIN_STD_TEX_WIN_BACK, "StdWinBack", "MWIN_STD_TEX_WIN_BACK", "Buttons",
     {R(0.001f, 0.001f, 0.249f, 0.249f), NONE, NONE, NONE}, 2, 0.09f, 6, 2, 0.09f, 6, 4, 2, 2, {END}},
    {MWIN_STD_TEX_WIN_TITLE, "StdWinTitle", "MWIN_STD_TEX_WIN_TITLE", "Buttons",
     {R(0.001f, 0.318f, 0.249f, 0.369f), NONE, NONE, NONE}, 2, 0.04f, 5, 2, 0.1f, 3, 4, 0, 0, {END}},
    {MWIN_STD_TEX_BUTTON_HIDE, "StdButtonHide", "MWIN_STD_TEX_BUTTON_HIDE", "Buttons",
     {R(0.001f, 0.438f, 0.249f, 0.498f), R(0.001f, 0.438f, 0.249f, 0.498f), NONE, NONE}, 2, 0.09f, 6, 0, 0, 0, 0,
     0, 0, {{0, 0.865f, 0.865f, 0.865f, 1}, END}},
    {MWIN_STD_TEX_BUTTON_BACK, "StdButtonBack", "MWIN_STD_TEX_BUTTON_BACK", "Buttons",
     {R(0.001f, 0.001f, 0.249f, 0.249f), NONE, NONE, NONE}, 2, 0.09f, 7, 2, 0.09f, 7, 0, 0, 0, {END}},
    {MWIN_STD_TEX_UP_ARROW, "StdUpArrow", "MWIN_STD_TEX_UP_ARROW", "Buttons",
     {R(0.751f, 0.876f, 0.874f, 0.999f), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_DOWN_ARROW, "StdDownArrow", "MWIN_STD_TEX_DOWN_ARROW", "Buttons",
     {R(0.876f, 0.876f, 0.999f, 0.999f), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_SCROLL_BUTTON, "StdScrollButton", "MWIN_STD_TEX_SCROLL_BUTTON", "Buttons",
     {R(0.501f, 0.145f, 0.999f, 0.229f), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_SCROLL_BACK, "StdScrollBack", "MWIN_STD_TEX_SCROLL_BACK", "Buttons",
     {R(0.501f, 0.126f, 0.749f, 0.187f), NONE, NONE, R(0.501f, 0.126f, 0.749f, 0.187f)}, 2, 0.08f, 6, 0, 0, 0,
     2.5f, 0.75f, 0.75f, {{3, 0.443f, 0.443f, 0.443f, 1}, END}},
    {MWIN_STD_TEX_VSCROLL_BUTTON, "StdVScrollButton", "MWIN_STD_TEX_VSCROLL_BUTTON", "Buttons",
     {R(0.628f, 0.508f, 0.682f, 0.616f), NONE, NONE, NONE}, 0, 0, 0, 2, 0.15f, 4, 0, 0, 0, {END}},
    {MWIN_STD_TEX_VSCROLL_BACK, "StdVScrollBack", "MWIN_STD_TEX_VSCROLL_BACK", "Buttons",
     {R(0.688f, 0.507f, 0.746f, 0.747f), NONE, NONE, NONE}, 0, 0, 0, 2, 0.14f, 13, 2, 0.65f, 0.65f, {END}},
    {MWIN_STD_TEX_LIST_OPEN_MAIN, "StdListOpenMain", "MWIN_STD_TEX_LIST_OPEN_MAIN", "Buttons",
     {R(0.001f, 0.025f, 0.249f, 0.226f), NONE, NONE, NONE}, 2, 0.08f, 4, 0, 0, 0, 4, 0, 0, {END}},
    {MWIN_STD_TEX_LIST_OPEN_TOP, "StdListOpenTop", "MWIN_STD_TEX_LIST_OPEN_TOP", "Buttons",
     {R(0.001f, 0.001f, 0.249f, 0.024f), NONE, NONE, NONE}, 2, 0.08f, 4, 0, 0, 0, 4, 0, 0, {END}},
    {MWIN_STD_TEX_LIST_OPEN_BOT, "StdListOpenBot", "MWIN_STD_TEX_LIST_OPEN_BOT", "Buttons",
     {R(0.001f, 0.22f, 0.249f, 0.248f), NONE, NONE, NONE}, 2, 0.08f, 4, 0, 0, 0, 4, 0, 0, {END}},
    {MWIN_STD_TEX_LIST_OPEN_SEL, "StdListOpenSel", "MWIN_STD_TEX_LIST_OPEN_SEL", "Buttons",
     {R(0.501f, 0.445f, 0.749f, 0.494f), NONE, NONE, NONE}, 2, 0.08f, 4, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_CHECK_BUTTON, "StdCheckButton", "MWIN_STD_TEX_CHECK_BUTTON", "Buttons",
     {R(0.005f, 0.005f, 0.495f, 0.495f), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_UNCHECK_BUTTON, "StdUnCheckButton", "MWIN_STD_TEX_UNCHECK_BUTTON", "Buttons",
     {R(0.511f, 0.635f, 1, 0.746f), NONE, NONE, NONE}, 0, 0, 0, 0, 0, 0, 0, 0, 0, {END}},
    {MWIN_STD_TEX_TABPANEL_HEADING, "StdTabPanelHeading", "MWIN_STD_TEX_TABPANEL_HEADING", "Buttons",
     {R(0.015f, 0.267f, 0.234f, 0.296f), R(0.015f, 0.267f, 0.234f, 0.296f), R(0.015f, 0.267f, 0.234f, 0.296f),
      R(0.015f, 0.267f, 0.234f, 0.296f)},
     2, 0.18f, 12, 0, 0, 0, 4, 0, 0, {{3, 0.69f, 0.69f, 0.69f, 1}, END}},
    {MWIN_STD_TEX_TABPANEL_VERT_DIV, "StdTabPanelVertDiv", "MWIN_STD_TEX_TABPANEL_VERT_DIV", "Buttons",
     {R(0.691f, 0.508f, 0.743f, 0.745f), NONE, NONE, NONE}, 0, 0, 0, 1, 0.21f, 4, 0, 0, 0,
     {{0, 1, 1, 1, 0.339f}, END}},
    {MWIN_STD_TEX_TABPANEL_ROW_BACK_1, "StdTabPanelRowBack1", "MWIN_STD_TEX_TABPANEL_ROW_BACK_1", "Buttons",
     {R(0.501f, 0.32f, 0.749f, 0.369f), NONE, NONE, NONE}, 2, 0.18f, 12, 0, 0, 0, 4, 0, 0,
     {{0, 0.545f, 0.545f, 0.545f, 1}, END}},
    {MWIN_STD_TEX_TABPANEL_ROW_BACK_2, "StdTabPanelRowBack2", "MWIN_STD_TEX_TABPANEL_ROW_BACK_2", "Buttons",
     {R(0.501f, 0.258f, 0.749f, 0.305f), NONE, NONE, NONE}, 2, 0.18f, 12, 0, 0, 0, 4, 0, 0,
     {{0, 0.727f, 0.727f, 0.727f, 1}, END}},
    {MWIN_STD_TEX_TABPANEL_ROW_SEL, "StdTabPanelRowSel", "MWIN_STD_TEX_TABPANEL_ROW_SEL", "Buttons",
     {R(0.501f, 0.317f, 0.749f, 0.37f), NONE, NONE, NONE}, 2, 0.18f, 12, 0, 0, 0, 4, 0, 0,
     {{0, 1, 1, 1, 1}, END}},
    {MWIN_STD_TEX_TABPANEL_ROW_EMPTY, "StdTabPanelRowEmpty", "MWIN_STD_TEX_TABPANEL_ROW_EMPTY", "Buttons",
     {R(0.02f, 0.027f, 0.212f, 0.089f), NONE, NONE, NONE}, 2, 0.18f, 12, 0, 0, 0, 4, 0, 0,
     {{0, 0.379f, 0.379f, 0.379f, 1}, END}},
    {MWIN_STD_TEX_BACK_HEADING, "StdBackHeading", "MWIN_STD_TEX_BACK_HEADING", "Buttons",
     {R(0.001f, 0.313f, 0.249f, 0.369f), NONE, NONE, NONE}, 2, 0.04f, 3, 2, 0.18f, 3, 4.025f, 0, 0, {END}},
    {MWIN_STD_TEX_BACK_MAIN, "StdBackMain", "MWIN_STD_TEX_BACK_MAIN", "Buttons",
     {R(0, 0.057f, 0.249f, 0.246f), NONE, NONE, NONE}, 2, 0.18f, 12, 2, 0.24f, 11, 4.011f, 0, 0, {END}},
    {MWIN_STD_TEX_PUSH_BUTTON, "StdPushButton", "MWIN_STD_TEX_PUSH_BUTTON", "Buttons",
     {R(0.752f, 0.005f, 0.998f, 0.058f), R(0.752f, 0.068f, 0.998f, 0.12f), R(0.752f, 0.13f, 0.998f, 0.183f),
      R(0.752f, 0.192f, 0.998f, 0.246f)},
     2, 0.1f, 6, 2, 0.3f, 6, 6, 1.75f, 1.75f, {{0, 0.874f, 0.874f, 0.874f, 1}, {2, 0.81f, 0.81f, 0.81f, 1}, END}},
    {MWIN_STD_TEX_TEXT_EDIT, "StdTextEdit", "MWIN_STD_TEX_TEXT_EDIT", "Buttons",
     {R(0.503f, 0.25f, 0.746f, 0.311f), R(0.503f, 0.25f, 0.746f, 0.311f), R(0.503f, 0.312f, 0.746f, 0.374f),
      R(0.503f, 0.25f, 0.746f, 0.311f)},
     2, 0.04f, 5, 2, 0.14f, 5, 0, 2, 2,
     {{0, 0.837f, 0.837f, 0.837f, 1}, {1, 1, 1, 1, 1}, {3, 0.625f, 0.625f, 0.625f, 1}}},
    {MWIN_STD_TEX_CHOICE, "StdChoice", "MWIN_STD_TEX_CHOICE", "Buttons",
     {R(0.503f, 0.377f, 0.746f, 0.436f), R(0.503f, 0.377f, 0.746f, 0.436f), R(0.503f, 0.439f, 0.746f, 0.498f),
      R(0.503f, 0.377f, 0.746f, 0.436f)},
     2, 0.08f, 8, 0, 0, 0, 2, 1.05f, 1.05f, {{1, 0.925f, 0.925f, 0.925f, 1}, {3, 0.543f, 0.543f, 0.543f, 1}, END}},
    {MWIN_STD_TEX_PANEL, "StdPanel", "MWIN_STD_TEX_PANEL", "Buttons",
     {R(0.503f, 0.379f, 0.746f, 0.433f), R(0.503f, 0.442f, 0.746f, 0.496f), R(0.503f, 0.442f, 0.746f, 0.496f),
      R(0.503f, 0.379f, 0.746f, 0.433f)},
     2, 0.09f, 6, 1, 0.18f, 3, 2, 1.8f, 1.8f, {{3, 0.475f, 0.475f, 0.475f, 1}, END}},
    {MWIN_STD_TEX_BLACK, "StdBlack", "MWIN_STD_TEX_BLACK", "Buttons",
     {R(0.649f, 0.774f, 0.726f, 0.851f), NONE, NONE, NONE}, 2, 0.08f, 3, 2, 0.08f, 3, 3.2f, 2, 2, {END}},
    {MWIN_STD_TEX_WHITE, "StdWhite", "MWIN_STD_TEX_WHITE", "Buttons",
     {R(0.774f, 0.774f, 0.851f, 0.851f), NONE, NONE, NONE}, 2, 0.08f, 3, 2, 0.08f, 3, 3.2f, 2, 2, {END}},
};

#undef R
// clang-format on

// Layout fields written in all five layout records: field, then one value per layout.
struct LayoutField
{
    int field;
    float v[5];
};

// clang-format off
const LayoutField layout_fields[] = {
    {7, {60, 100, 60, 60, 60}},  {8, {20, 45, 65, 25, 35}},  {9, {3, 3, 3, 3, 3}},     {10, {3, 6, 6, 3, 3}},
    {15, {0, 0, 0, 0, 0}},       {16, {0, 0, 0, 0, 0}},      {18, {0, 0, 0, 0, 0}},    {17, {3, 3, 3, 3, 3}},
    {19, {10, 10, 10, 10, 10}},  {21, {12, 12, 12, 12, 12}}, {22, {12, 12, 12, 12, 12}}, {24, {12, 12, 12, 12, 12}},
    {26, {12, 12, 12, 12, 12}},  {32, {12, 12, 12, 12, 12}}, {33, {12, 12, 12, 12, 12}}, {35, {12, 12, 12, 12, 12}},
    {36, {12, 12, 12, 12, 12}},  {23, {3, 3, 3, 3, 3}},      {29, {3, 3, 3, 3, 3}},    {30, {3, 3, 3, 3, 3}},
    {31, {3, 3, 3, 3, 3}},       {34, {3, 3, 3, 3, 3}},      {37, {3, 3, 3, 3, 3}},    {38, {3, 3, 3, 3, 3}},
    {25, {24, 24, 24, 24, 24}},  {27, {24, 24, 24, 24, 24}}, {28, {15, 15, 15, 15, 15}},
};
// clang-format on

// The game font's creation: size 64, the Latin-1 letters, one channel.
void SetGameFontEffects(EngFont* font)
{
    _EngFontCreationEffects fx;
    memset(&fx, 0, sizeof(fx));
    fx.padding = 2;
    fx.shadow_x = 0;
    fx.shadow_y = 0;
    fx.shadow_lum_factor = 1.0f;
    fx.shadow_alpha_factor = 0.244f;
    fx.blur_passes_first = 4;
    font->SetCreationEffects(&fx);
}
} // namespace

char VizavuMWinSetMWinSettings(MWin* mwin)
{
    if (!mwin)
        return 0;
    _MWinSettings* s = mwin->GetSettings();
    for (const LayoutField& f : layout_fields)
        for (int l = 0; l < 5 && l < MWIN_NUM_LAYOUTS; l++)
            s->layout[l][f.field] = f.v[l];
    s->shrink_text_default = 1;
    s->choice_highlight = 0;
    return 1;
}

void VizavuMWinAdjustDesktopSettings(MWin* mwin)
{
    if (!mwin)
        return;
    _MWinSettings s;
    mwin->GetSettings(&s);
    s.layout[0][0] = 30;
    s.layout[0][17] = 10;
    s.layout[0][24] = 30;
    s.layout[0][25] = 30;
    s.layout[0][39] = 5;
    mwin->SetSettings(&s);
}

char VizavuMWinSetupTexturesAndTexButs(MWin* mwin)
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        return 0;
    }
    MWinTextures* t = mwin->GetTextures();
    if (!t)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin textures");
        return 0;
    }
    char ok = 1;
    static const char* const textures[2][2] = {{"Buttons", "Buttons.png"},
                                               {"TitleButton", "TitleButton.png"}};
    for (const auto& tx : textures)
        if (!t->AddTexture(tx[0], tx[1], 1, 2))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load texture <%s>", tx[0]);
            ok = 0;
        }

    for (const SkinButton& b : skin_buttons)
    {
        // States without their own rectangle have no texture.
        const char* tex[4];
        TexRect rc[4];
        for (int s = 0; s < 4; s++)
        {
            tex[s] = b.states[s].set ? b.tex : nullptr;
            rc[s] = b.states[s].set ? b.states[s] : TexRect{false, 0, 0, 0, 0};
        }
        // Slotted buttons replace one of the toolkit's standard looks.
        const bool standard = b.slot >= 0;
        auto with_states = [&](auto&& add) {
            return add(tex[0], rc[0].l, rc[0].t, rc[0].r, rc[0].b, tex[1], rc[1].l, rc[1].t, rc[1].r, rc[1].b,
                       tex[2], rc[2].l, rc[2].t, rc[2].r, rc[2].b, tex[3], rc[3].l, rc[3].t, rc[3].r, rc[3].b);
        };
        bool added;
        if (standard)
        {
            t->RemoveStandardTextureButton(b.slot);
            added = with_states([&](auto... a) { return t->AddStandardTextureButton(b.slot, b.id, a...) != 0; });
        }
        else
            added = with_states([&](auto... a) { return t->AddTextureButton(b.id, a...) != nullptr; });
        if (!added)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__,
                          standard ? "Could not load standard texbut <%s>" : "Could not load texbut <%s>", b.id);
            ok = 0;
            continue;
        }
        if (!t->SetTexButDrawStyle(b.id, b.hm, b.hf, b.hc, b.vm, b.vf, b.vc))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__,
                          standard ? "Could not set standard texbut draw style <%s>"
                                   : "Could not set texbut draw style <%s>",
                          b.id);
            ok = 0;
        }
        if (!t->SetTexButDrawExtra(b.id, b.ew, b.et, b.eb))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not set texbut draw extra <%s>", b.id);
            ok = 0;
        }
        if (!standard)
            continue;
        for (const Multiplier& m : b.mult)
        {
            if (m.state < 0)
                break;
            if (!t->SetTextureButtonStateColourMultiplier(b.slot, m.state, m.r, m.g, m.b, m.a))
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Could not set standard texbut colour <%s>", b.slot_name);
                ok = 0;
            }
        }
    }
    return ok;
}

char VizavuMWinCreateFontApart(int number, const char* file, EngFont* font)
{
    if (number != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad font number %d", number);
        return 0;
    }
    if (!font || !file || !file[0])
        return 0;
    SetGameFontEffects(font);
    if (!font->CreateFromFontFile(file, 0, 32, 64, 32, 255, EngFontLatin1Letters(),
                                  ENG_FONT_LATIN1_WANTED_COUNT, 0.160013f, 0.080202f, 1.215145f, 5.782f, 0,
                                  0.015f, 0, 0, 1))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "EngFont::Create failed <Main>");
        return 0;
    }
    return 1;
}

char VizavuMWinSetupFonts(MWin* mwin, char load_default, char load_user, const char* file)
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        return 0;
    }
    MWinFonts* fonts = mwin->GetFonts();
    if (!fonts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin fonts");
        return 0;
    }
    if (load_default && !mwin->SetupDefaultFont())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load default font");
        return 0;
    }
    if (load_user)
    {
        if (!file || !file[0])
            return 0;
        _MWinFontParams p;
        memset(&p, 0, sizeof(p));
        p.size = 64;
        p.min_char = 32;
        p.max_char = 255;
        p.wanted = EngFontLatin1Letters();
        p.wanted_count = ENG_FONT_LATIN1_WANTED_COUNT;
        p.x_scale = 0.160013f;
        p.y_scale = 0.080202f;
        p.y_offset_add = 1.215145f;
        p.height_add = 5.782f;
        p.f6 = 0.015f;
        p.reserved_flag = 1;
        if (fonts->AddUserFont("Main", file, &p) < 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load user font <Main>");
            return 0;
        }
    }
    return 1;
}
