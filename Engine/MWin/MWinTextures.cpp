#include "MWinTextures.h"

#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "MWin.h"

MWinTextures::MWinTextures(MWin* mw) : mwin(mw)
{
    if (!mwin)
        DebugExitPopup("MWinTextures::MWinTextures", "Internal Error (MWinTextures)");
    memset(textures, 0, sizeof textures);
    memset(texbuts, 0, sizeof texbuts);
    for (int& s : std_slots)
        s = -1;
}

MWinTextures::~MWinTextures()
{
    DebugCheckOk(!loaded, "MWinTextures::~MWinTextures", "Textures still loaded");
    // Free what is left so that a forgotten DestroyTextures leaks nothing.
    for (int i = 0; i < MWIN_MAX_TEXTURES; i++)
    {
        if (textures[i].texture)
        {
            textures[i].texture->Destroy();
            delete textures[i].texture;
            textures[i].texture = nullptr;
        }
    }
    for (EngTexture*& t : colour_strips)
    {
        if (t)
            t->Destroy();
        delete t;
        t = nullptr;
    }
    loaded = 0;
    num_textures = 0;
}

EngTexture* MWinTextures::GetColourStripTexture(int i)
{
    if (i < 0 || i > 2)
        return nullptr;
    if (!colour_strips[i])
        colour_strips[i] = new (std::nothrow) EngTexture();
    return colour_strips[i];
}

char MWinTextures::AddTexture(const char* id, const char* file, char alpha_option, char second_option)
{
    if (!file || !file[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename passed in");
        return 0;
    }
    if (strlen(file) >= 256)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return 0;
    }
    if (num_textures >= MWIN_MAX_TEXTURES)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many textures");
        return 0;
    }
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", file);
        return 0;
    }
    _MWinTexture* t = &textures[num_textures];
    if (!MWinCopyID(t->id, id))
        return 0;
    strcpy(t->file, file);
    t->alpha_option = alpha_option;
    t->second_option = second_option;
    num_textures++;
    return 1;
}

char MWinTextures::CreateTextures()
{
    if (loaded)
    {
        DebugCheckOk(0, "MWinTextures::CreateTextures", "Textures already loaded");
        DestroyTextures();
    }
    char ok = 1;
    for (int i = 0; i < num_textures; i++)
    {
        _MWinTexture* t = &textures[i];
        if (t->texture)
        {
            t->texture->Destroy();
            delete t->texture;
            t->texture = nullptr;
        }
        t->texture = new (std::nothrow) EngTexture();
        if (!t->texture)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
            ok = 0;
            continue;
        }
        if (!t->texture->LoadFromFileUsingExt(t->file, t->alpha_option, t->second_option,
                                              mwin ? mwin->GetTextureLoadOption() : 0))
        {
            delete t->texture;
            t->texture = nullptr;
            ok = 0;
        }
    }
    loaded = ok;
    return ok;
}

char MWinTextures::HasTextureHandles() const
{
    for (const _MWinTexture& t : textures)
        if (t.texture)
            return 1;
    return 0;
}

void MWinTextures::DestroyTextures()
{
    // A partly failed load leaves the flag clear but handles to free.
    DebugCheckOk(loaded || HasTextureHandles(), "MWinTextures::DestroyTextures", "Textures not loaded");
    for (int i = 0; i < MWIN_MAX_TEXTURES; i++)
    {
        if (textures[i].texture)
        {
            textures[i].texture->Destroy();
            delete textures[i].texture;
            textures[i].texture = nullptr;
        }
    }
    loaded = 0;
}

void MWinTextures::RemoveAllTexButs()
{
    if (loaded)
        DestroyTextures();
    num_texbuts = 0;
    memset(texbuts, 0, sizeof texbuts);
    for (int& s : std_slots)
        s = -1;
}

void MWinTextures::RemoveAllTexturesAndTexButs()
{
    if (loaded)
        DestroyTextures();
    for (int i = 0; i < MWIN_MAX_TEXTURES; i++)
    {
        if (textures[i].texture)
        {
            textures[i].texture->Destroy();
            delete textures[i].texture;
        }
    }
    memset(textures, 0, sizeof textures);
    num_textures = 0;
    num_texbuts = 0;
    memset(texbuts, 0, sizeof texbuts);
    for (int& s : std_slots)
        s = -1;
}

// ---------------------------------------------------------------------------
// Texture buttons.

_MWinTextureButton* MWinTextures::AddTextureButton(const char* id, const char* t0, float u0_0, float v0_0,
                                                   float u1_0, float v1_0, const char* t1, float u0_1,
                                                   float v0_1, float u1_1, float v1_1, const char* t2,
                                                   float u0_2, float v0_2, float u1_2, float v1_2,
                                                   const char* t3, float u0_3, float v0_3, float u1_3,
                                                   float v1_3)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid ID passed in");
        return nullptr;
    }
    if (num_texbuts >= MWIN_MAX_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many texture buttons");
        return nullptr;
    }
    if (GetTexButNumFromID(id) >= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture button alread exits <%s>", id);
        return nullptr;
    }
    _MWinTextureButton* tb = &texbuts[num_texbuts];
    memset(tb, 0, sizeof *tb);
    const char* tex[4] = {t0, t1, t2, t3};
    const float uv[4][4] = {{u0_0, v0_0, u1_0, v1_0},
                            {u0_1, v0_1, u1_1, v1_1},
                            {u0_2, v0_2, u1_2, v1_2},
                            {u0_3, v0_3, u1_3, v1_3}};
    for (int s = 0; s < 4; s++)
        tb->states[s].texture = -1;
    for (int s = 0; s < 4; s++)
        if (!MWinIsIDEmpty(tex[s]))
            SetTextureButtonState(tb, s, tex[s], uv[s][0], uv[s][1], uv[s][2], uv[s][3]);
    if (!MWinCopyID(tb->id, id))
    {
        memset(tb, 0, sizeof *tb);
        return nullptr;
    }
    tb->horz_mode = tb->vert_mode = 1;
    tb->horz_fraction = tb->vert_fraction = 0;
    tb->horz_corner = tb->vert_corner = 16;
    num_texbuts++;
    return tb;
}

_MWinTextureButton* MWinTextures::AddTextureButton(const char* id, const char* tex, float u0, float v0,
                                                   float u1, float v1)
{
    return AddTextureButton(id, tex, u0, v0, u1, v1, tex, u0, v0, u1, v1, tex, u0, v0, u1, v1, tex, u0, v0,
                            u1, v1);
}

_MWinTextureButton* MWinTextures::AddTextureButton(const char* id, const char* t0, const char* t1,
                                                   const char* t2, const char* t3)
{
    _MWinTextureButton* tb = AddTextureButton(id, t0, 0, 0, 1, 1);
    if (!tb)
        return nullptr;
    const char* tex[4] = {t0, t1, t2, t3};
    for (int s = 1; s < 4; s++)
        if (!MWinIsIDEmpty(tex[s]))
            SetTextureButtonState(tb, s, tex[s], 0, 0, 1, 1);
    return tb;
}

_MWinTextureButton* MWinTextures::AddTextureButton(const char* id, const char* tex)
{
    return AddTextureButton(id, tex, 0, 0, 1, 1);
}

_MWinTextureButton* MWinTextures::AddTextureWithOneTextureButton(const char* id, const char* file,
                                                                 char alpha_option, char second_option)
{
    if (!AddTexture(id, file, alpha_option, second_option))
        return nullptr;
    return AddTextureButton(id, id);
}

char MWinTextures::SetTextureButtonState(_MWinTextureButton* tb, int state, const char* tex, float u0,
                                         float v0, float u1, float v1)
{
    if (state < 0 || state > 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters passed in");
        return 0;
    }
    if (tb)
        tb->states[state].texture = -1;
    if (!tb || MWinIsIDEmpty(tex))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters passed in");
        return 0;
    }
    int n = GetTextureNumFromID(tex);
    if (n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture <%s> does not exist", tex);
        return 0;
    }
    _MWinTextureButtonState* st = &tb->states[state];
    st->texture = n;
    st->u0 = u0;
    st->v0 = v0;
    st->u1 = u1;
    st->v1 = v1;
    return 1;
}

char MWinTextures::SetTextureButtonState(const char* tb_id, int state, const char* tex, float u0, float v0,
                                         float u1, float v1)
{
    if (MWinIsIDEmpty(tb_id) || MWinIsIDEmpty(tex))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters passed in");
        return 0;
    }
    _MWinTextureButton* tb = GetTexButFromID(tb_id);
    if (!tb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Button <%s> does not exist", tb_id);
        return 0;
    }
    return SetTextureButtonState(tb, state, tex, u0, v0, u1, v1);
}

char MWinTextures::CopyAllStatesFromNormalState(const char* id)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid ID passed in");
        return 0;
    }
    _MWinTextureButton* tb = GetTexButFromID(id);
    if (!tb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find texture button <%s>", id);
        return 0;
    }
    if (tb->states[0].texture < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No normal state texture set on button <%s>", id);
        return 0;
    }
    for (int s = 1; s < 4; s++)
        tb->states[s] = tb->states[0];
    return 1;
}

char MWinTextures::SetTexButDrawStyle(const char* id, int horz_mode, float horz_fraction, float horz_corner,
                                      int vert_mode, float vert_fraction, float vert_corner)
{
    _MWinTextureButton* tb = GetTexButFromID(id);
    if (!tb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Button <%s> does not exist", MWinDisplayID(id));
        return 0;
    }
    tb->horz_mode = horz_mode;
    tb->horz_fraction = horz_fraction;
    tb->horz_corner = horz_corner;
    tb->vert_mode = vert_mode;
    tb->vert_fraction = vert_fraction;
    tb->vert_corner = vert_corner;
    return 1;
}

char MWinTextures::SetTexButDrawExtra(const char* id, float extra_w, float extra_top, float extra_bottom)
{
    _MWinTextureButton* tb = GetTexButFromID(id);
    if (!tb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Button <%s> does not exist", MWinDisplayID(id));
        return 0;
    }
    tb->extra_w = extra_w;
    tb->extra_top = extra_top;
    tb->extra_bottom = extra_bottom;
    return 1;
}

char MWinTextures::SetTexButDrawExtra(const char* id, float extra_w, float extra_h, float, float)
{
    return SetTexButDrawExtra(id, extra_w, extra_h / 2, extra_h / 2);
}

char MWinTextures::SetTextureButtonStateColourMultiplier(const char* id, int state, const _ColourRGBA* colour)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Empty texbut ID");
        return 0;
    }
    _MWinTextureButton* tb = GetTexButFromID(id);
    if (!tb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown texbut ID <%s>", id);
        return 0;
    }
    if (state < 0 || state > 3)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid state %d", state);
        return 0;
    }
    _MWinTextureButtonState* st = &tb->states[state];
    if (colour && colour->a > 0)
    {
        st->use_colour = 1;
        st->colour = *colour;
    }
    else
        st->use_colour = 0;
    return 1;
}

char MWinTextures::SetTextureButtonStateColourMultiplier(const char* id, int state, float grey)
{
    _ColourRGBA c = {grey, grey, grey, 1};
    return SetTextureButtonStateColourMultiplier(id, state, &c);
}

char MWinTextures::SetTextureButtonStateColourMultiplier(const char* id, int state, float r, float g, float b,
                                                         float a)
{
    _ColourRGBA c = {r, g, b, a};
    return SetTextureButtonStateColourMultiplier(id, state, &c);
}

char MWinTextures::SetTextureButtonStateColourMultiplier(int slot, int state, const _ColourRGBA* colour)
{
    return SetTextureButtonStateColourMultiplier(GetStandardTexButID(slot), state, colour);
}

char MWinTextures::SetTextureButtonStateColourMultiplier(int slot, int state, float grey)
{
    return SetTextureButtonStateColourMultiplier(GetStandardTexButID(slot), state, grey);
}

char MWinTextures::SetTextureButtonStateColourMultiplier(int slot, int state, float r, float g, float b,
                                                         float a)
{
    return SetTextureButtonStateColourMultiplier(GetStandardTexButID(slot), state, r, g, b, a);
}

// ---------------------------------------------------------------------------
// Look-ups.

int MWinTextures::GetTexButNumFromID(const char* id)
{
    for (int i = 0; i < num_texbuts; i++)
        if (MWinAreIDsTheSame(texbuts[i].id, id))
            return i;
    return -1;
}

int MWinTextures::GetTextureNumFromID(const char* id)
{
    for (int i = 0; i < num_textures; i++)
        if (MWinAreIDsTheSame(textures[i].id, id))
            return i;
    return -1;
}

_MWinTextureButton* MWinTextures::GetTexButFromID(const char* id)
{
    int n = GetTexButNumFromID(id);
    return n >= 0 ? &texbuts[n] : nullptr;
}

_MWinTexture* MWinTextures::GetTextureFromID(const char* id)
{
    int n = GetTextureNumFromID(id);
    return n >= 0 ? &textures[n] : nullptr;
}

_MWinTextureButton* MWinTextures::GetTexBut(int n)
{
    return (n >= 0 && n < num_texbuts) ? &texbuts[n] : nullptr;
}

_MWinTexture* MWinTextures::GetTexture(int n)
{
    return (n >= 0 && n < num_textures) ? &textures[n] : nullptr;
}

const char* MWinTextures::GetIDFromTexButNum(int n, char real_id)
{
    if (n < 0 || n >= num_texbuts)
        return MWIN_TEXBUT_NONE;
    if (!real_id)
        for (int s : std_slots)
            if (s == n)
                return MWIN_TEXBUT_DEFAULT;
    return texbuts[n].id;
}

// ---------------------------------------------------------------------------
// Standard slots.

char MWinTextures::SetStandardTextureToTexBut(int slot, const char* id)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid std tex num %d", slot);
        return 0;
    }
    if (MWinIsIDEmpty(id))
    {
        std_slots[slot] = -1;
        return 1;
    }
    int n = GetTexButNumFromID(id);
    if (n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Button <%s> does not exist", id);
        return 0;
    }
    std_slots[slot] = n;
    return 1;
}

char MWinTextures::SetStandardTextureToTexBut(int slot, _MWinTextureButton* tb)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid std tex num %d", slot);
        return 0;
    }
    if (!tb)
    {
        std_slots[slot] = -1;
        return 1;
    }
    int n = int(tb - texbuts);
    if (n < 0 || n >= num_texbuts)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Texture Button <%s> does not exist", MWinDisplayID(tb->id));
        return 0;
    }
    std_slots[slot] = n;
    return 1;
}

char MWinTextures::AddStandardTextureButton(int slot, const char* id, const char* t0, float u0_0, float v0_0,
                                            float u1_0, float v1_0, const char* t1, float u0_1, float v0_1,
                                            float u1_1, float v1_1, const char* t2, float u0_2, float v0_2,
                                            float u1_2, float v1_2, const char* t3, float u0_3, float v0_3,
                                            float u1_3, float v1_3)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid std tex num %d", slot);
        return 0;
    }
    _MWinTextureButton* tb = AddTextureButton(id, t0, u0_0, v0_0, u1_0, v1_0, t1, u0_1, v0_1, u1_1, v1_1, t2,
                                              u0_2, v0_2, u1_2, v1_2, t3, u0_3, v0_3, u1_3, v1_3);
    if (!tb)
        return 0;
    return SetStandardTextureToTexBut(slot, tb);
}

char MWinTextures::AddStandardTextureButton(int slot, const char* id, const char* t0, float u0_0, float v0_0,
                                            float u1_0, float v1_0, const char* t1, float u0_1, float v0_1,
                                            float u1_1, float v1_1, const char* t2, float u0_2, float v0_2,
                                            float u1_2, float v1_2, const char* t3, float u0_3, float v0_3,
                                            float u1_3, float v1_3, int horz_mode, float horz_fraction,
                                            float horz_corner, int vert_mode, float vert_fraction,
                                            float vert_corner)
{
    if (!AddStandardTextureButton(slot, id, t0, u0_0, v0_0, u1_0, v1_0, t1, u0_1, v0_1, u1_1, v1_1, t2, u0_2,
                                  v0_2, u1_2, v1_2, t3, u0_3, v0_3, u1_3, v1_3))
        return 0;
    return SetTexButDrawStyle(id, horz_mode, horz_fraction, horz_corner, vert_mode, vert_fraction,
                              vert_corner);
}

char MWinTextures::AddStandardTextureButton(int slot, const char* id, const char* file, char alpha_option,
                                            char second_option)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid std tex num %d", slot);
        return 0;
    }
    _MWinTextureButton* tb = AddTextureWithOneTextureButton(id, file, alpha_option, second_option);
    if (!tb)
        return 0;
    return SetStandardTextureToTexBut(slot, tb);
}

int MWinTextures::GetStandardTexButNum(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    return std_slots[slot];
}

const char* MWinTextures::GetStandardTexButID(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid standard texbut num: %d", slot);
        return nullptr;
    }
    int n = std_slots[slot];
    if (n < 0 || n >= num_texbuts)
        return nullptr;
    return texbuts[n].id;
}

int MWinTextures::RemoveStandardTextureButton(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    int n = std_slots[slot];
    if (n < 0)
        return 0;
    if (n < num_texbuts)
        texbuts[n].id[0] = 0;
    std_slots[slot] = -1;
    return 1;
}

// ---------------------------------------------------------------------------
// Drawing.

_ColourRGBA MWinTextures::CombineColour(const _MWinTextureButtonState* st, const _ColourRGBA* colour)
{
    if (colour && st->use_colour)
        return {colour->r * st->colour.r, colour->g * st->colour.g, colour->b * st->colour.b,
                colour->a * st->colour.a};
    if (colour)
        return *colour;
    if (st->use_colour)
        return st->colour;
    return {1, 1, 1, 1};
}

const _MWinTextureButtonState* MWinTextures::DrawableState(int n, _MWinTextureState state, EngTexture** tex)
{
    if (n < 0 || n >= num_texbuts)
        return nullptr;
    if (state < 0 || state > 3)
        state = 0;
    const _MWinTextureButtonState* st = &texbuts[n].states[state];
    if (st->texture < 0)
        st = &texbuts[n].states[0];
    if (st->texture < 0 || st->texture >= num_textures)
        return nullptr;
    EngTexture* t = textures[st->texture].texture;
    if (!t || !t->IsOk())
        return nullptr;
    *tex = t;
    return st;
}

void MWinTextures::DrawSlice(EngTexture* tex, const _MWinTextureButtonState* st, const _ColourRGBA* colour,
                             const Slice& p)
{
    float du = st->u1 - st->u0, dv = st->v1 - st->v0;
    _ColourRGBA c = CombineColour(st, colour);
    tex->PositionRatioed(p.area.x, p.area.y, p.area.w, p.area.h);
    tex->DrawPartWithColour(st->u0 + du * p.fl, st->v0 + dv * p.ft, st->u0 + du * p.fr, st->v0 + dv * p.fb,
                            &c);
}

int MWinTextures::ComputeSlices(int n, _MWinTextureState, float x, float y, float w, float h, Slice* out)
{
    if (n < 0 || n >= num_texbuts)
        return 0;
    const _MWinTextureButton* tb = &texbuts[n];
    if (tb->extra_w != 0)
    {
        x -= tb->extra_w / 2;
        w += tb->extra_w;
    }
    if (tb->extra_top != 0)
    {
        y -= tb->extra_top;
        h += tb->extra_top;
    }
    if (tb->extra_bottom != 0)
        h += tb->extra_bottom;

    float c = tb->horz_corner * eng_main_window_x_widescreen_ratio;
    bool horz = tb->horz_mode > 1 && c > 0 && w > 2 * c;
    float cw = horz ? c : 0;

    float d = tb->vert_corner * eng_main_window_y_narrowscreen_ratio;
    bool vert = tb->vert_mode > 1 && d > 0 && h > 2 * d;
    float ch = 0;
    if (vert)
    {
        ch = d * 1.333333f;
        if (!(ch > 0 && h > 2 * ch))
        {
            vert = false;
            ch = 0;
        }
    }

    _EngLayout layout = mwin ? mwin->GetScreenLayout() : 0;
    // Portrait layouts widen the corners; never past half the width, so the
    // middle slice cannot turn negative.
    if (layout == 1 || layout == 3)
    {
        cw *= 2.4f;
        if (cw > w / 2)
            cw = w / 2;
    }

    float hf = tb->horz_fraction, vf = tb->vert_fraction;
    const float cx[3] = {x, x + cw, x + w - cw};
    const float cwid[3] = {cw, w - 2 * cw, cw};
    const float hfr[4] = {0, hf, 1 - hf, 1};
    const float ry[3] = {y, y + ch, y + h - ch};
    const float rh[3] = {ch, h - 2 * ch, ch};
    const float vfr[4] = {0, vf, 1 - vf, 1};

    int count = 0;
    if (horz && vert)
    {
        for (int r = 0; r < 3; r++)
            for (int col = 0; col < 3; col++)
                out[count++] = {
                    {cx[col], ry[r], cwid[col], rh[r]}, hfr[col], vfr[r], hfr[col + 1], vfr[r + 1]};
    }
    else if (horz)
    {
        for (int col = 0; col < 3; col++)
            out[count++] = {{cx[col], y, cwid[col], h}, hfr[col], 0, hfr[col + 1], 1};
    }
    else if (vert)
    {
        for (int r = 0; r < 3; r++)
            out[count++] = {{x, ry[r], w, rh[r]}, 0, vfr[r], 1, vfr[r + 1]};
    }
    else
        out[count++] = {{x, y, w, h}, 0, 0, 1, 1};
    return count;
}

char MWinTextures::DrawTextureButton(int n, _MWinTextureState state, float x, float y, float w, float h,
                                     const _ColourRGBA* colour)
{
    EngTexture* tex = nullptr;
    const _MWinTextureButtonState* st = DrawableState(n, state, &tex);
    if (!st)
        return 0;
    Slice slices[9];
    int count = ComputeSlices(n, state, x, y, w, h, slices);
    for (int i = 0; i < count; i++)
        DrawSlice(tex, st, colour, slices[i]);
    return 1;
}

char MWinTextures::DrawTextureButton(int n, _MWinTextureState state, const _Dimension* area,
                                     const _ColourRGBA* colour)
{
    if (!area)
        return 0;
    return DrawTextureButton(n, state, area->x, area->y, area->w, area->h, colour);
}

char MWinTextures::DrawTextureButton(int n, _MWinTextureState state, const _Dimension* area,
                                     const _Dimension* offset, const _ColourRGBA* colour)
{
    if (!area)
        return 0;
    if (offset)
        return DrawTextureButton(n, state, area->x + offset->x, area->y + offset->y, area->w, area->h,
                                 colour);
    return DrawTextureButton(n, state, area, colour);
}

char MWinTextures::DrawTextureButtonPart(int n, _MWinTextureState state, float x, float y, float w, float h,
                                         float left, float top, float right, float bottom,
                                         const _ColourRGBA* colour)
{
    EngTexture* tex = nullptr;
    const _MWinTextureButtonState* st = DrawableState(n, state, &tex);
    if (!st)
        return 0;
    DrawSlice(tex, st, colour, Slice{{x, y, w, h}, left, top, right, bottom});
    return 1;
}

char MWinTextures::GetTextureButtonExtraRenderSize(int n, float* w, float* top, float* bottom)
{
    if (n < 0 || n >= num_texbuts)
    {
        if (w)
            *w = 0;
        if (top)
            *top = 0;
        if (bottom)
            *bottom = 0;
        return 0;
    }
    if (w)
        *w = texbuts[n].extra_w;
    if (top)
        *top = texbuts[n].extra_top;
    if (bottom)
        *bottom = texbuts[n].extra_bottom;
    return 1;
}
