// The toolkit's settings block and its per-layout metric records.
#pragma once

#include <cstring>

#include "EngTypes.h"

class EngTexture;

#define MWIN_NUM_LAYOUTS 5
#define MWIN_LAYOUT_NUM_FIELDS 65

// Indices of the layout metrics the toolkit itself reads.
#define MWIN_LS_TITLE_BAR_HEIGHT 0
#define MWIN_LS_TITLE_TEXT_MARGIN 1
#define MWIN_LS_HIDE_W 2
#define MWIN_LS_HIDE_H 3
#define MWIN_LS_HIDE_SIDE_GAP 4
#define MWIN_LS_HIDE_Y_OFFSET 5
#define MWIN_LS_HIDE_FROM_RIGHT 6
#define MWIN_LS_DEFAULT_BUTTON_W 7
#define MWIN_LS_DEFAULT_BUTTON_H 8
#define MWIN_LS_INSET_X 9
#define MWIN_LS_INSET_Y 10
#define MWIN_LS_VSCROLL_TRACK_W 11
#define MWIN_LS_VSCROLL_THUMB_W 12
#define MWIN_LS_HSCROLL_TRACK_H 13
#define MWIN_LS_HSCROLL_THUMB_H 14
#define MWIN_LS_TEXT_SCALE_X 15
#define MWIN_LS_TEXT_SCALE_Y 16
#define MWIN_LS_TEXT_MARGIN 17
#define MWIN_LS_COLOUR_BORDER_X 59
#define MWIN_LS_COLOUR_BORDER_Y 60

// 65 metrics of one screen layout; fields 59 and 60 hold int32.
struct MWinLayoutSettings
{
    float v[MWIN_LAYOUT_NUM_FIELDS];

    float& operator[](int i) { return v[i]; }
    float operator[](int i) const { return v[i]; }
    EngInt32 GetInt(int i) const
    {
        EngInt32 n;
        std::memcpy(&n, &v[i], sizeof n);
        return n;
    }
    void SetInt(int i, EngInt32 n) { std::memcpy(&v[i], &n, sizeof n); }
};
static_assert(sizeof(MWinLayoutSettings) == 65 * 4, "65 32-bit fields");

struct _MWinSettings
{
    char controlled_from_main[4];
    char hover_activates_collection;
    char hover_activates_window;
    EngInt32 clear_method;
    char bg_image_file[256];
    EngTexture* bg_texture; // application-supplied background, not owned
    char list_panel_bg[3];
    float disabled_alpha;
    char shrink_text_default;
    char choice_highlight;
    char tab_panel_defaults[4];
    unsigned char pie_flags[4];
    float pie_reset[9];
    float stored_floats6[6];
    float stored_floats3[3];
    char graph_default;
    char stored_bytes2[2];
    float colour_border[3];
    MWinLayoutSettings layout[MWIN_NUM_LAYOUTS];
};
