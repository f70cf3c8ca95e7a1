// Widget drawing: cropping, backgrounds by kind, texts and text measuring.
#include <cstring>

#include "EngDevice.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "EngMenu.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinButtonCore.h"

void MWinButton::Render()
{
    if (!PrepareForRender())
        return;
    RenderNoPrepare();
    RestoreAfterRender();
}

char MWinButton::PrepareForRender()
{
    if (!shown)
        return 0;
    if (colour_set && colour.a == 0.0f)
        return 0;
    return CropRenderAreaToButtonNew2();
}

char MWinButton::CropRenderAreaToButtonNew2()
{
    if (!eng_main_device || crop_area.h <= 0)
        return 0;
    if (!mwb::CropButtons(mwin))
        return 1;
    if (eng_main_device->IsViewportFullScreen())
        EngMenuCropToAreaRatioed(&crop_area);
    else
        eng_main_device->CropToAreaInViewportRatioed(&crop_area);
    return 1;
}

void MWinButton::RenderNoPrepare()
{
    _MWinTextureState state = GetRenderState();
    RenderBack(state);
    RenderText(state);
    if (extra_render_cb && type != MWIN_BUTTON_PANEL)
        extra_render_cb(this, &actual_area, state, extra_render_int, extra_render_data);
}

void MWinButton::RestoreAfterRender()
{
    RestoreAfterRenderAreaCrop();
}

void MWinButton::RestoreAfterRenderAreaCrop()
{
    if (eng_main_device && mwb::CropButtons(mwin) && crop_area.h > 0 && eng_main_device->IsCropOn())
        eng_main_device->TurnOffCrop();
}

void MWinButton::RenderBack(_MWinTextureState state)
{
    switch (type)
    {
    case MWIN_BUTTON_CHOICE:
        ChoiceRenderBacks(state);
        return;
    case MWIN_BUTTON_PANEL:
        PanelRenderBack(state);
        return;
    case MWIN_BUTTON_LIST:
        ListRenderBack(state);
        return;
    default:
        break;
    }
    RenderNormalBack(state, &actual_area);
    if (type == MWIN_BUTTON_PIE)
        PieRenderButton(state);
    else if (type == MWIN_BUTTON_RANGE)
        RangeRenderButton(state);
    else if (type == MWIN_BUTTON_CHECKBOX)
        CheckboxRenderButton(state);
    PictureDraw();
}

void MWinButton::RenderNormalBack(_MWinTextureState state, _Dimension* area)
{
    if (!mwin || !mwb::HasTextures(mwin) || !area)
        return;
    if (!custom_on)
    {
        mwb::DrawTexBut(mwin, texbut_num, state, area, colour_set ? &colour : nullptr);
        return;
    }
    if (state < 0 || state > 3)
        state = 0;
    _MWinButtonCustomTexState* c = &custom[state];
    if (!c->filename[0] && !c->outside)
        c = &custom[0];
    EngTexture* tex = c->filename[0] ? c->texture : c->outside;
    if (!tex || !eng_main_device)
        return;
    _ColourRGBA col = {c->r, c->g, c->b, c->a};
    if (colour_set)
    {
        col.r *= colour.r;
        col.g *= colour.g;
        col.b *= colour.b;
        col.a *= colour.a;
    }
    tex->PositionRatioed(area->x, area->y, area->w, area->h);
    tex->DrawPartWithColour(c->tc_left, c->tc_top, c->tc_right, c->tc_bottom, &col);
}

void MWinButton::RenderNormalBack(_MWinTextureState state)
{
    RenderNormalBack(state, &actual_area);
}

void MWinButton::RenderNormalBack(_MWinTextureState state, float x, float y, float w, float h)
{
    _Dimension d = {x, y, w, h};
    RenderNormalBack(state, &d);
}

void MWinButton::RenderText(_MWinTextureState state)
{
    UpdateTextFontColourAndScale();
    switch (type)
    {
    case MWIN_BUTTON_TEXT_EDIT:
        TextEditRenderText();
        return;
    case MWIN_BUTTON_LIST:
        ListRenderText();
        return;
    case MWIN_BUTTON_CHECKBOX:
        CheckboxRenderText(state);
        return;
    case MWIN_BUTTON_CHOICE:
        ChoiceRenderText();
        return;
    case MWIN_BUTTON_PANEL:
        PanelRenderText();
        return;
    case MWIN_BUTTON_RANGE:
        RangeRenderText();
        return;
    default:
        RenderNormalOrMultilineText();
        return;
    }
}

void MWinButton::RenderNormalOrMultilineText()
{
    if (multiline)
        RenderMultilineText();
    else
        RenderNormalText();
}

void MWinButton::UpdateTextFontColour(EngFont* font, _ColourRGBA* given)
{
    if (!font)
        return;
    _ColourRGBA c;
    if (given)
    {
        c = *given;
        if (!enabled)
            c.a *= mwb::DisabledAlpha(mwin);
    }
    else
    {
        c = text_colour;
        if (colour_set)
        {
            c.r *= colour.r;
            c.g *= colour.g;
            c.b *= colour.b;
            c.a *= colour.a;
        }
        if (!enabled)
            c.a *= mwb::DisabledAlpha(mwin);
    }
    font->SetColour(&c);
}

void MWinButton::UpdateTextFontColourAndScale()
{
    EngFont* font = GetTextFont();
    MWinLayoutSettings* ls = GetLayoutSettings();
    if (!font || !ls)
        return;
    UpdateTextFontColour(font, nullptr);
    float sx = text_scale_x, sy = text_scale_y;
    float l15 = mwb::LayoutValue(ls, 15), l16 = mwb::LayoutValue(ls, 16);
    if (l15 > 0 && l16 > 0)
    {
        sx *= l15;
        sy *= l16;
    }
    if (scale_relative)
    {
        sx *= eng_main_window_x_ratio_inv;
        sy *= eng_main_window_y_ratio_inv;
    }
    sx *= GetAutoResizeScaleX();
    sy *= GetAutoResizeScaleY();
    font->SetScale(sx, sy);
}

// Line offset for two-line texts: the first line sits above the second.
static float TwoLineOffset(MWinButton* b, float l16, float l19, float scale_y)
{
    (void)b;
    float c = -(l19 * scale_y);
    if (l16 > 0)
        c *= l16;
    return c;
}

void MWinButton::RenderNormalText()
{
    if (scroll_text)
    {
        RenderScrollingText();
        return;
    }
    float c = TwoLineOffset(this, LS(16), LS(19), text_scale_y);
    if (language_on)
    {
        if (language_num_sub_texts == 1)
            mwb::RenderText(mwin, font_num, align, text_x_margin, &actual_area,
                            EngLanguagesGetString(language_token_num, 0), 0, shrink_to_fit);
        else if (language_num_sub_texts == 2)
        {
            _Dimension a = actual_area;
            a.y += c;
            mwb::RenderText(mwin, font_num, align, text_x_margin, &a,
                            EngLanguagesGetString(language_token_num, 0), 0, shrink_to_fit);
            a = actual_area;
            a.y -= c;
            mwb::RenderText(mwin, font_num, align, text_x_margin, &a,
                            EngLanguagesGetString(language_token_num, 1), 0, shrink_to_fit);
        }
        return;
    }
    if (!texts[0])
        return;
    if (!texts[1])
    {
        mwb::RenderText(mwin, font_num, align, text_x_margin, &actual_area, texts[0], 0, shrink_to_fit);
        return;
    }
    _Dimension a = actual_area;
    a.y += c;
    mwb::RenderText(mwin, font_num, align, text_x_margin, &a, texts[0], 0, shrink_to_fit);
    a = actual_area;
    a.y -= c;
    mwb::RenderText(mwin, font_num, align, text_x_margin, &a, texts[1], 0, shrink_to_fit);
}

void MWinButton::RenderMultilineText()
{
    if (texts[0])
        mwb::RenderMultilineText(mwin, font_num, align, text_x_margin, &actual_area, texts[0]);
}

void MWinButton::RenderScrollingText()
{
    EngFont* font = GetTextFont();
    if (!font || !scroll_text)
        return;
    float left = actual_area.x - 40;
    float right = actual_area.x + actual_area.w + 40;
    float x = actual_area.x + text_x_margin - scroll_offset;
    float y = font->DrawStringPartAlignGetYPos(actual_area.y + actual_area.h * 0.5f, 1);
    char opened = 0;
    EngFontPrepareForDrawingIfNeeded(1, &opened);
    font->DrawStringPartSetXStartPos(1, left);
    font->DrawStringPart(x, y, scroll_text, 0, right);
    font->DrawStringPartSetXStartPos(0, 0);
    if (opened)
        EngFontRestoreAfterDrawing();
    if (x + font->GetStringWidth(scroll_text) <= left)
        scroll_offset = -25 - actual_area.w;
}

char MWinButton::RenderOnTopOfOtherButtons()
{
    if (type != MWIN_BUTTON_LIST || !shown || !list.open)
        return 0;
    ListRenderOnTopOfOtherButtons(GetRenderState());
    return 1;
}

void MWinButton::GetTextXLimits(float* start, float* end, float margin)
{
    if (margin < 0)
        margin = text_x_margin;
    float s = actual_area.x + margin;
    float e = actual_area.x + actual_area.w - margin;
    if (type == MWIN_BUTTON_CHECKBOX)
        e -= 2 * (LS(37) + LS(35));
    float left_inset = s - actual_area.x;
    float right_inset = actual_area.x + actual_area.w - e;
    if (left_inset > right_inset)
        e = actual_area.x + actual_area.w - left_inset;
    else if (right_inset > left_inset)
        s = actual_area.x + right_inset;
    if (start)
        *start = s;
    if (end)
        *end = e;
}

float MWinButton::GetTextWidth()
{
    if (multiline || !texts[0] || font_num < 0)
        return 0;
    EngFont* font = GetTextFont();
    if (!font)
        return 0;
    UpdateTextFontColourAndScale();
    return font->GetStringWidth(texts[0]);
}

char MWinButton::CalcMultilineTextBoxSize(float* w, float* h)
{
    if (w)
        *w = 0;
    if (h)
        *h = 0;
    if (!multiline || !texts[0] || font_num < -1)
        return 0;
    EngFont* font = GetTextFont();
    if (!font)
        return 0;
    UpdateTextFontColourAndScale();
    float bw = 0, bh = 0;
    font->DrawMultilineText(actual_area.x, actual_area.y, actual_area.w, actual_area.h, (char)align, 0,
                            texts[0], 0, 0, &bw, &bh, nullptr, nullptr);
    if (w)
        *w = bw;
    if (h)
        *h = bh;
    return 1;
}
