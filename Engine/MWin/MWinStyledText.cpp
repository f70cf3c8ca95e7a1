// The styled-text box.
#include "MWinStyledText.h"

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "MWin.h"
#include "MWinButtonCore.h"
#include "MWinVertScrollbar.h"
#include "MWinWindow.h"

namespace
{
const char* kScrollbarID = "Script_VS";

bool IsAngle(char c)
{
    return c == '<' || c == '>';
}
} // namespace

MWinScriptButton::MWinScriptButton(MWin* mw, const char* bid, MWinWindow* par, const char* texbut, float x,
                                   float y, float w, float h)
    : MWinButton(mw, bid, par, MWIN_SCRIPT_CREATE_TYPE, texbut, "", x, y, w, h), paragraphs(nullptr),
      num_paragraphs(0), scrollbar(nullptr)
{
    Reset();
    // Windows draw live widgets only.
    live = 1;
    if (mwin && mwb::HasTextures(mwin) && parent)
    {
        float sw = LS(26);
        scrollbar = new (std::nothrow)
            MWinVertScrollbar(mwin, kScrollbarID, parent, MWIN_TEXBUT_DEFAULT, "", x + w - sw, y, sw, h);
        if (scrollbar)
            scrollbar->SetValuesDouble(0, 1, 10, 1);
    }
}

MWinScriptButton::~MWinScriptButton()
{
    if (scrollbar)
    {
        scrollbar->RemoveAllCallbacks();
        delete scrollbar;
        scrollbar = nullptr;
    }
    Free();
}

void MWinScriptButton::Reset()
{
    text_p = nullptr;
    paragraphs = nullptr;
    num_paragraphs = 0;
    scroll_pos = 0;
    for (float* s : styles)
    {
        s[0] = s[1] = s[2] = s[3] = 1;
        s[4] = 0;
    }
    lines_per_page = 1;
    total_lines = 0;
    overflow = 0;
    text_width = actual_area.w;
    sidebar_width = LS(26);
    sidebar_on = 0;
    font_warned = 0;
    SetType(MWIN_SCRIPT_TYPE);
}

void MWinScriptButton::Free()
{
    delete[] paragraphs;
    paragraphs = nullptr;
    num_paragraphs = 0;
}

char MWinScriptButton::SetStyle(int style, float r, float g, float b, float a, float scale)
{
    if (style == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Style 0 is the button style and cannot be changed");
        return 0;
    }
    if (style < 1 || style > 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid style num %d", style);
        return 0;
    }
    float* s = styles[style - 1];
    s[0] = r, s[1] = g, s[2] = b, s[3] = a, s[4] = scale > 0 ? scale : 0;
    return 1;
}

char MWinScriptButton::SetTextPointerToButtonText()
{
    if (!HasText())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No text");
        return 0;
    }
    return SetTextPointer(GetTextP());
}

char MWinScriptButton::SetTextPointer(char* t)
{
    if (!t)
        return 0;
    text_p = t;
    scroll_pos = 0;
    ParseText();
    language_on = 0;
    multiline = 0;
    live = 1;
    GetSideBarDimensions();
    return 1;
}

void MWinScriptButton::Reload()
{
    scroll_pos = 0;
    if (text_p)
        ParseText();
    GetSideBarDimensions();
}

int MWinScriptButton::MarkerAt(const char* t, int len, int i, int* align)
{
    if (i + 2 >= len || !IsAngle(t[i]) || t[i + 1] < '0' || t[i + 1] > '5' || !IsAngle(t[i + 2]))
        return -1;
    if (t[i] == '<')
        *align = t[i + 2] == '<' ? 0 : 1;
    else
        *align = t[i + 2] == '>' ? 2 : -1;
    return t[i + 1] - '0';
}

char MWinScriptButton::ParseText()
{
    Free();
    if (!text_p || !text_p[0])
        return 1;
    const char* t = text_p;
    const int len = (int)strlen(t);
    std::vector<MWinScriptParagraph> found;
    int i = 0;
    while (i < len)
    {
        MWinScriptParagraph p = {};
        int al = -1;
        int st = MarkerAt(t, len, i, &al);
        if (st >= 0)
        {
            p.style = (signed char)st;
            p.align = al;
            i += 3;
        }
        else
        {
            p.style = -1;
            p.align = -1;
        }
        p.start = i;
        p.text_length = len;
        int j = i;
        int next = len;
        p.end = len;
        p.ends_line = 1;
        while (j < len)
        {
            int dummy;
            if (t[j] == '\n')
            {
                p.end = j;
                next = j + 1;
                break;
            }
            if (j > i && MarkerAt(t, len, j, &dummy) >= 0)
            {
                p.end = j;
                p.ends_line = 0;
                next = j;
                break;
            }
            j++;
        }
        // A marker or newline at the very end starts no piece: nothing follows it.
        if (p.start < len || p.end > p.start || found.empty())
            found.push_back(p);
        i = next;
    }
    if (found.empty())
        return 1;
    paragraphs = new (std::nothrow) MWinScriptParagraph[found.size()];
    if (!paragraphs)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    for (size_t k = 0; k < found.size(); k++)
        paragraphs[k] = found[k];
    num_paragraphs = (int)found.size();
    CalcLinesInPars();
    return 1;
}

float MWinScriptButton::BaseScaleX(EngFont*, float* sy)
{
    float sx = text_scale_x, y = text_scale_y;
    float lx = LS(MWIN_LS_TEXT_SCALE_X), ly = LS(MWIN_LS_TEXT_SCALE_Y);
    if (lx > 0 && ly > 0)
        sx *= lx, y *= ly;
    // In an auto-resized window the text shrinks with its box, as every
    // widget's text does.
    *sy = y * GetAutoResizeScaleY();
    return sx * GetAutoResizeScaleX();
}

void MWinScriptButton::AssignLines(const int* counts, float h)
{
    if (h <= 0)
    {
        lines_per_page = 1;
        total_lines = 0;
        return;
    }
    int sum = 0;
    for (int k = 0; k < num_paragraphs; k++)
    {
        MWinScriptParagraph& p = paragraphs[k];
        int n = counts[k];
        if (p.end <= p.start)
            n = 1;
        else if (n <= 0)
        {
            std::string piece(text_p ? text_p + p.start : "", text_p ? size_t(p.end - p.start) : 0);
            DebugErrorAlt("MWinScriptButton::CalcLinesInPars", "Bad num lines for string <%s>",
                          piece.c_str());
            n = 1;
        }
        if (!p.ends_line)
            n--;
        p.num_lines = (char)(n > 127 ? 127 : n);
        p.first_line = sum;
        sum += p.num_lines;
    }
    lines_per_page = (int)(actual_area.h / h);
    if (lines_per_page < 1)
        lines_per_page = 1;
    total_lines = sum + 1;
}

void MWinScriptButton::CalcLinesInPars()
{
    if (!text_p || num_paragraphs <= 0 || font_num < 0 || !GetLayoutSettings())
        return;
    EngFont* font = GetTextFont();
    if (!font)
        return;
    _Vector2d saved;
    font->GetScale(&saved);
    float sy = 1, sx = BaseScaleX(font, &sy);
    font->SetScale(sx, sy);
    const float mx = LS(MWIN_LS_TEXT_MARGIN), my = LS(18);
    const _Dimension& a = actual_area;
    float box_w = a.w - 2 * mx, box_h = a.h - 2 * my;

    std::string plain;
    const int len = (int)strlen(text_p);
    for (int i = 0; i < len;)
    {
        int al;
        if (MarkerAt(text_p, len, i, &al) >= 0)
        {
            i += 3;
            continue;
        }
        plain += text_p[i++];
    }
    float w = 0, h = 0;
    int lines = 0;
    char all = 1;
    font->DrawMultilineText(a.x + mx, a.y + my, box_w, box_h, 0, 0, plain.c_str(), 0, 0, &w, &h, &lines,
                            &all);
    overflow = (h > box_h || !all) ? 1 : 0;
    // The scrollbar's strip, as wide as the scrollbar the window places there.
    if (overflow)
        box_w -= LS(26) * GetAutoResizeScaleX();

    std::vector<int> counts((size_t)num_paragraphs, 0);
    for (int k = 0; k < num_paragraphs; k++)
    {
        MWinScriptParagraph& p = paragraphs[k];
        if (p.start < 0 || p.end > len || p.end < p.start)
            continue;
        std::string piece(text_p + p.start, size_t(p.end - p.start));
        int n = 0;
        if (!piece.empty())
            font->DrawMultilineText(a.x + mx, a.y + my, box_w, 1e6f, 0, 0, piece.c_str(), 0, 0, nullptr,
                                    nullptr, &n, nullptr);
        counts[(size_t)k] = n;
    }
    AssignLines(counts.data(), font->GetFontHeight(1));
    font->SetScale(saved.x, saved.y);

    for (int k = 0; k < num_paragraphs; k++)
    {
        const MWinScriptParagraph& p = paragraphs[k];
        if (p.start < 0 || p.start >= len)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "%d: Bad start pos %d (%d).", k, p.start, len);
            Free();
            return;
        }
        if (p.end > len)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "%d: Bad end pos %d (%d).", k, p.end, len);
            Free();
            return;
        }
    }
}

void MWinScriptButton::GetSideBarDimensions()
{
    if (!GetLayoutSettings())
        return;
    // The scrollbar is placed in the requested area; the strip it takes of
    // the actual one is as wide as the window makes it.
    sidebar_width = LS(26) * GetAutoResizeScaleX();
    if (overflow && total_lines > 0 && lines_per_page < total_lines)
    {
        sidebar_on = 1;
        text_width = actual_area.w - sidebar_width;
        if (scrollbar)
        {
            float sw = LS(26);
            scrollbar->SetOrigPos(orig_area.x + orig_area.w - sw, orig_area.y, sw, orig_area.h);
            scrollbar->Show(1);
            scrollbar->SetValuesDouble(-0.1, total_lines - lines_per_page, lines_per_page, 1);
            scrollbar->RegisterFloatVariable(&scroll_pos, 1, 0);
        }
    }
    else
    {
        sidebar_on = 0;
        text_width = actual_area.w;
        if (scrollbar)
            scrollbar->Hide();
    }
}

void MWinScriptButton::PositionUpdated()
{
    GetSideBarDimensions();
    if (mwin)
        mwb::RenderNeeded(mwin);
}

// ---------------------------------------------------------------------------
// Drawing.

void MWinScriptButton::RenderBack(_MWinTextureState state)
{
    if (sidebar_on)
    {
        float saved = actual_area.w;
        actual_area.w -= sidebar_width;
        RenderNormalBack(state);
        actual_area.w = saved;
    }
    else
        RenderNormalBack(state);
}

void MWinScriptButton::Render()
{
    if (!PrepareForRender())
        return;
    RenderBack(GetRenderState());
    RenderTexts();
    RestoreAfterRender();
    if (scrollbar && sidebar_on && scrollbar->IsShown())
        scrollbar->Render();
}

void MWinScriptButton::RenderTexts()
{
    if (text_p && num_paragraphs > 0 && font_num == MWIN_FONT_NUM_DEFAULT && !font_warned)
    {
        font_warned = 1;
        DebugWarning(__PRETTY_FUNCTION__,
                     "Styled text <%s> draws nothing: it needs a user font, not the standard font", id);
    }
    if (!text_p || num_paragraphs <= 0 || font_num < 0 || !GetLayoutSettings())
        return;
    EngFont* font = GetTextFont();
    if (!font)
        return;
    const float mx = LS(MWIN_LS_TEXT_MARGIN), my = LS(18);
    const _Dimension& a = actual_area;
    const float left = a.x + mx, right = left + text_width - 2 * mx;
    const float top = a.y + my, bottom = top + a.h - 2 * my;
    UpdateTextFontColourAndScale();
    _Vector2d saved;
    font->GetScale(&saved);
    float sy = 1, sx = BaseScaleX(font, &sy);
    font->SetScale(sx, sy);
    const float h = font->GetFontHeight(1);
    if (h <= 0)
    {
        font->SetScale(saved.x, saved.y);
        return;
    }
    const int line = (int)std::floor(scroll_pos < 0 ? 0 : scroll_pos);
    const float frac = (scroll_pos < 0 ? 0 : scroll_pos) - line;
    int startp = 0, skip = 0;
    for (int k = num_paragraphs - 1; k >= 0; k--)
        if (paragraphs[k].first_line <= line)
        {
            if (line < paragraphs[k].first_line + paragraphs[k].num_lines)
            {
                startp = k;
                skip = line - paragraphs[k].first_line;
            }
            else
                startp = k + 1 < num_paragraphs ? k + 1 : k;
            break;
        }
    if (startp > 0 && !paragraphs[startp - 1].ends_line)
    {
        startp--;
        skip = 0;
    }

    char cropped = 0;
    if (eng_main_device && mwb::CropButtons(mwin))
    {
        _Dimension c = {left - mx, top, right - left + 2 * mx, bottom - top};
        eng_main_device->CropToAreaInViewportRatioed(&c);
        cropped = 1;
    }
    char opened = 0;
    // The box and its crop are in the 640 x 480 space, so the text is too.
    EngFontPrepareForDrawingWithOrientationIfNeeded(1, &opened);
    _ColourRGBA base_colour;
    GetTextColour(&base_colour);
    const int len = (int)strlen(text_p);
    float y = top;
    for (int k = startp; k < num_paragraphs; k++)
    {
        MWinScriptParagraph& p = paragraphs[k];
        int st = p.style;
        if (st >= 1 && st <= 4)
            font->SetColour(styles[st - 1][0], styles[st - 1][1], styles[st - 1][2], styles[st - 1][3]);
        else
            font->SetColour(&base_colour);
        if (st >= 1 && st <= 4 && styles[st - 1][4] > 0)
            font->SetScale(sx * styles[st - 1][4], sy * styles[st - 1][4]);
        else
            font->SetScale(sx, sy);
        int al = p.align >= 0 ? p.align : (align == 1 ? 1 : align == 2 ? 2 : 0);
        float x = al == 1 ? (left + right) / 2 : al == 2 ? right : left;
        if (p.end < 0 || p.end > len || p.start > p.end)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Something wrong A (%d, %d).", p.end, len);
            break;
        }
        std::string piece(text_p + p.start, size_t(p.end - p.start));
        float dh = 0;
        int dl = 0;
        char all = 1;
        font->DrawMultilineText(x, y - h * frac, right - left, bottom - y + 2 * h, (char)al, 0, piece.c_str(),
                                1, k == startp ? skip : 0, nullptr, &dh, &dl, &all);
        if (dh <= 0 || dl <= 0)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Multi-line not working for paragraph %d: <%s>", k,
                          piece.c_str());
        float next = y + dh;
        if (!p.ends_line)
            next -= dl < 2 ? dh : dh / dl;
        y = next;
        if (!all || y >= bottom + 2 * h)
            break;
    }
    font->SetScale(saved.x, saved.y);
    font->SetColour(&base_colour);
    if (opened)
        EngFontRestoreAfterDrawing();
    if (cropped)
    {
        eng_main_device->TurnOffCrop();
        CropRenderAreaToButtonNew2();
    }
}

// ---------------------------------------------------------------------------
// Input.

char MWinScriptButton::HandleMouseButtonPressed(char button, char down, char third)
{
    if (scrollbar && sidebar_on &&
        (scrollbar->IsBeingDragged() || mwb::MouseInArea(mwin, scrollbar->GetActualArea())))
        return scrollbar->HandleMouseButtonPressed(button, down, third);
    ShouldHandleMouseButtonPressed(button, down, third);
    return 0;
}

char MWinScriptButton::HandleMouseButtonDoubleClicked(char button)
{
    if (!ShouldHandleMouseButtonDoubleClicked(button) || !scrollbar || !sidebar_on)
        return 0;
    return scrollbar->HandleMouseButtonDoubleClicked(button);
}

void MWinScriptButton::HandleMouseButtonPressCanceled()
{
    if (scrollbar)
        scrollbar->HandleMouseButtonPressCanceled();
}

char MWinScriptButton::HandleMouseMove()
{
    if (scrollbar && sidebar_on && scrollbar->IsBeingDragged())
        return scrollbar->HandleMouseMove();
    return 0;
}

char MWinScriptButton::HandleMouseWheel(int delta)
{
    if (!ShouldHandleMouseWheel() || !scrollbar || !sidebar_on)
        return 0;
    double before = scrollbar->GetPosDouble();
    char r = scrollbar->HandleMouseWheel(delta);
    // The bar's first arrow step stops short of its minimum: take the text
    // right back to its top.
    if (delta > 0 && scrollbar->GetPosDouble() == before && before > 0)
    {
        scroll_pos = 0;
        scrollbar->UpdateFromRegisteredVariable(0);
    }
    return r;
}

char MWinScriptButton::HandleKeyDown(int key)
{
    if (!ShouldHandleKeyDown() || !scrollbar || !sidebar_on)
        return 0;
    return scrollbar->HandleKeyDown(key);
}

char MWinScriptButton::KeepFocusOnMouseMove()
{
    return scrollbar && sidebar_on && scrollbar->KeepFocusOnMouseMove();
}

void MWinScriptButton::Activate()
{
    MWinButton::Activate();
    if (scrollbar)
        scrollbar->Activate();
}

void MWinScriptButton::Deactivate()
{
    if (scrollbar)
        scrollbar->Deactivate();
    MWinButton::Deactivate();
}

MWinScriptButton* MWinWindowAddScriptButton(MWinWindow* window, const char* id, const char* texbut, float x,
                                            float y, float w, float h)
{
    if (!window)
        return nullptr;
    MWinScriptButton* b =
        new (std::nothrow) MWinScriptButton(window->GetMWin(), id, window, texbut, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    window->CompleteAddButton(b);
    return b;
}
