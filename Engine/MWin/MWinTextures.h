// The toolkit's skin: a table of image files and of four-state texture buttons
// that say which part of which texture to draw and how to slice it.
#pragma once

#include "EngTypes.h"
#include "MWinUtil.h"

class MWin;
class EngTexture;

#define MWIN_MAX_TEXTURES 64
#define MWIN_MAX_TEXBUTS 256
#define MWIN_NUM_STD_TEXBUTS 33
#define MWIN_NUM_TEXBUT_STATES 4

#define MWIN_STD_TEX_WIN_BACK 0
#define MWIN_STD_TEX_WIN_TITLE 1
#define MWIN_STD_TEX_BUTTON_HIDE 2
#define MWIN_STD_TEX_BUTTON_BACK 3
#define MWIN_STD_TEX_BUTTON_BACK_2 4
#define MWIN_STD_TEX_LEFT_ARROW 5
#define MWIN_STD_TEX_RIGHT_ARROW 6
#define MWIN_STD_TEX_UP_ARROW 7
#define MWIN_STD_TEX_DOWN_ARROW 8
#define MWIN_STD_TEX_SCROLL_BUTTON 9
#define MWIN_STD_TEX_SCROLL_BACK 10
#define MWIN_STD_TEX_VSCROLL_BUTTON 11
#define MWIN_STD_TEX_VSCROLL_BACK 12
#define MWIN_STD_TEX_LIST_OPEN_MAIN 13
#define MWIN_STD_TEX_LIST_OPEN_TOP 14
#define MWIN_STD_TEX_LIST_OPEN_BOT 15
#define MWIN_STD_TEX_LIST_OPEN_SEL 16
#define MWIN_STD_TEX_CHECK_BUTTON 17
#define MWIN_STD_TEX_UNCHECK_BUTTON 18
#define MWIN_STD_TEX_TABPANEL_HEADING 19
#define MWIN_STD_TEX_TABPANEL_VERT_DIV 20
#define MWIN_STD_TEX_TABPANEL_ROW_BACK_1 21
#define MWIN_STD_TEX_TABPANEL_ROW_BACK_2 22
#define MWIN_STD_TEX_TABPANEL_ROW_SEL 23
#define MWIN_STD_TEX_TABPANEL_ROW_EMPTY 24
#define MWIN_STD_TEX_BACK_HEADING 25
#define MWIN_STD_TEX_BACK_MAIN 26
#define MWIN_STD_TEX_PUSH_BUTTON 27
#define MWIN_STD_TEX_TEXT_EDIT 28
#define MWIN_STD_TEX_CHOICE 29
#define MWIN_STD_TEX_PANEL 30
#define MWIN_STD_TEX_BLACK 31
#define MWIN_STD_TEX_WHITE 32

struct _MWinTexture
{
    char id[MWIN_ID_SIZE];
    char file[256];
    char alpha_option;
    char second_option;
    EngTexture* texture; // owned; null until CreateTextures
};

struct _MWinTextureButtonState
{
    int texture; // index into the textures, -1 for none
    float u0, v0, u1, v1;
    char use_colour;
    _ColourRGBA colour;
};

struct _MWinTextureButton
{
    char id[MWIN_ID_SIZE];
    _MWinTextureButtonState states[MWIN_NUM_TEXBUT_STATES];
    int horz_mode, vert_mode;
    float horz_fraction, vert_fraction;
    float horz_corner, vert_corner;
    float extra_w, extra_top, extra_bottom;
};

class MWinTextures
{
public:
    explicit MWinTextures(MWin* mwin);
    ~MWinTextures();
    MWinTextures(const MWinTextures&) = delete;
    MWinTextures& operator=(const MWinTextures&) = delete;

    // Textures.
    char AddTexture(const char* id, const char* file, char alpha_option, char second_option);
    char AddTexture(const char* id, const char* file) { return AddTexture(id, file, 0, 0); }
    char CreateTextures();
    void DestroyTextures();
    char AreTexturesLoaded() const { return loaded; }
    // 1 while any texture holds a handle (also after a partly failed load).
    char HasTextureHandles() const;
    void RemoveAllTexButs();
    void RemoveAllTexturesAndTexButs();

    // Texture buttons.
    _MWinTextureButton* AddTextureButton(const char* id, const char* t0, float u0_0, float v0_0, float u1_0,
                                         float v1_0, const char* t1, float u0_1, float v0_1, float u1_1,
                                         float v1_1, const char* t2, float u0_2, float v0_2, float u1_2,
                                         float v1_2, const char* t3, float u0_3, float v0_3, float u1_3,
                                         float v1_3);
    _MWinTextureButton* AddTextureButton(const char* id, const char* tex, float u0, float v0, float u1,
                                         float v1);
    _MWinTextureButton* AddTextureButton(const char* id, const char* t0, const char* t1, const char* t2,
                                         const char* t3);
    _MWinTextureButton* AddTextureButton(const char* id, const char* tex);
    _MWinTextureButton* AddTextureWithOneTextureButton(const char* id, const char* file, char alpha_option,
                                                       char second_option);
    _MWinTextureButton* AddTextureWithOneTextureButton(const char* id, const char* file)
    {
        return AddTextureWithOneTextureButton(id, file, 0, 0);
    }
    char SetTextureButtonState(_MWinTextureButton* tb, int state, const char* tex, float u0, float v0,
                               float u1, float v1);
    char SetTextureButtonState(const char* tb_id, int state, const char* tex, float u0, float v0, float u1,
                               float v1);
    char CopyAllStatesFromNormalState(const char* id);
    char SetTexButDrawStyle(const char* id, int horz_mode, float horz_fraction, float horz_corner,
                            int vert_mode, float vert_fraction, float vert_corner);
    char SetTexButDrawExtra(const char* id, float extra_w, float extra_top, float extra_bottom);
    char SetTexButDrawExtra(const char* id, float extra_w, float extra_h, float, float);
    char SetTextureButtonStateColourMultiplier(const char* id, int state, const _ColourRGBA* colour);
    char SetTextureButtonStateColourMultiplier(const char* id, int state, float grey);
    char SetTextureButtonStateColourMultiplier(const char* id, int state, float r, float g, float b, float a);
    char SetTextureButtonStateColourMultiplier(int slot, int state, const _ColourRGBA* colour);
    char SetTextureButtonStateColourMultiplier(int slot, int state, float grey);
    char SetTextureButtonStateColourMultiplier(int slot, int state, float r, float g, float b, float a);

    // Look-ups (exact IDs; an empty ID matches nothing).
    int GetTexButNumFromID(const char* id);
    int GetTextureNumFromID(const char* id);
    _MWinTextureButton* GetTexButFromID(const char* id);
    _MWinTexture* GetTextureFromID(const char* id);
    _MWinTextureButton* GetTexBut(int n);
    _MWinTexture* GetTexture(int n);
    const char* GetIDFromTexButNum(int n, char real_id);
    int GetNumTextures() const { return num_textures; }
    int GetNumTexButs() const { return num_texbuts; }

    // Standard slots.
    char SetStandardTextureToTexBut(int slot, const char* id);
    char SetStandardTextureToTexBut(int slot, _MWinTextureButton* tb);
    char AddStandardTextureButton(int slot, const char* id, const char* t0, float u0_0, float v0_0,
                                  float u1_0, float v1_0, const char* t1, float u0_1, float v0_1, float u1_1,
                                  float v1_1, const char* t2, float u0_2, float v0_2, float u1_2, float v1_2,
                                  const char* t3, float u0_3, float v0_3, float u1_3, float v1_3);
    char AddStandardTextureButton(int slot, const char* id, const char* t0, float u0_0, float v0_0,
                                  float u1_0, float v1_0, const char* t1, float u0_1, float v0_1, float u1_1,
                                  float v1_1, const char* t2, float u0_2, float v0_2, float u1_2, float v1_2,
                                  const char* t3, float u0_3, float v0_3, float u1_3, float v1_3,
                                  int horz_mode, float horz_fraction, float horz_corner, int vert_mode,
                                  float vert_fraction, float vert_corner);
    char AddStandardTextureButton(int slot, const char* id, const char* file, char alpha_option,
                                  char second_option);
    char AddStandardTextureButton(int slot, const char* id, const char* file)
    {
        return AddStandardTextureButton(slot, id, file, 0, 0);
    }
    int GetStandardTexButNum(int slot);
    const char* GetStandardTexButID(int slot);
    int RemoveStandardTextureButton(int slot);

    // Drawing; each returns 1 when something was drawn.
    char DrawTextureButton(int n, _MWinTextureState state, float x, float y, float w, float h,
                           const _ColourRGBA* colour);
    char DrawTextureButton(int n, _MWinTextureState state, const _Dimension* area, const _ColourRGBA* colour);
    char DrawTextureButton(int n, _MWinTextureState state, const _Dimension* area, const _Dimension* offset,
                           const _ColourRGBA* colour);
    char DrawTextureButtonPart(int n, _MWinTextureState state, float x, float y, float w, float h, float left,
                               float top, float right, float bottom, const _ColourRGBA* colour);
    char GetTextureButtonExtraRenderSize(int n, float* w, float* top, float* bottom);

    // The colour picker's three 256 x 32 strip textures (hue, saturation, brightness).
    EngTexture* GetColourStripTexture(int i);

    // The slices a draw would make, as (area, fractions) pairs; for tests and
    // callers that need the layout without a device. Returns the count (0-9).
    struct Slice
    {
        _Dimension area;
        float fl, ft, fr, fb;
    };
    int ComputeSlices(int n, _MWinTextureState state, float x, float y, float w, float h, Slice* out);
    // The colour a state is drawn with for a caller's colour (or null).
    static _ColourRGBA CombineColour(const _MWinTextureButtonState* st, const _ColourRGBA* colour);

private:
    const _MWinTextureButtonState* DrawableState(int n, _MWinTextureState state, EngTexture** tex);
    void DrawSlice(EngTexture* tex, const _MWinTextureButtonState* st, const _ColourRGBA* colour,
                   const Slice& p);

    MWin* mwin;
    char loaded = 0;
    _MWinTexture textures[MWIN_MAX_TEXTURES];
    _MWinTextureButton texbuts[MWIN_MAX_TEXBUTS];
    int std_slots[MWIN_NUM_STD_TEXBUTS];
    int num_textures = 0;
    int num_texbuts = 0;
    EngTexture* colour_strips[3] = {};
};
