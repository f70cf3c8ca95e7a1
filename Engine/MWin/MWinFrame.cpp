// The frame button.
#include "MWinFrame.h"

#include <new>

#include "EngDebug.h"
#include "MWin.h"
#include "MWinButtonCore.h"
#include "MWinWindow.h"

MWinFrameButton::MWinFrameButton(MWin* mw, const char* bid, MWinWindow* par, const char* texbut,
                                 const char* text, float x, float y, float w, float h)
    : MWinButton(mw, bid, par, MWIN_BUTTON_FRAME, texbut, text, x, y, w, h)
{
    Reset();
    // Windows draw live widgets only; a frame is drawn with or without its box.
    live = 1;
}

MWinFrameButton::~MWinFrameButton()
{
    Reset();
}

void MWinFrameButton::Reset()
{
    close_on = 0;
    close_cb = nullptr;
    close_plain_cb = nullptr;
    escape_closes = 0;
    mouse_over_close = 0;
}

void MWinFrameButton::AddCloseButton(MWinButtonPlainCallback fn, char esc)
{
    close_on = 1;
    close_plain_cb = fn;
    close_cb = nullptr;
    escape_closes = esc;
    live = 1;
}

void MWinFrameButton::AddCloseButton(MWinButtonCallback4 fn, char esc)
{
    close_on = 1;
    close_cb = fn;
    close_plain_cb = nullptr;
    escape_closes = esc;
    live = 1;
}

void MWinFrameButton::PositionUpdated()
{
    mouse_over_close = 0;
}

char MWinFrameButton::CloseBoxArea(_Dimension* out)
{
    if (!parent || !mwin || !GetLayoutSettings())
        return 0;
    float c = LS(64);
    *out = {actual_area.x + actual_area.w - c, actual_area.y, c, LS(63)};
    return 1;
}

void MWinFrameButton::Render()
{
    if (!mwin || !mwb::HasTextures(mwin) || !PrepareForRender())
        return;
    const _ColourRGBA* col = colour_set ? &colour : nullptr;
    const _Dimension a = actual_area;
    const float head = LS(63), c = LS(64);
    const char has_text = HasText();
    if (has_text)
    {
        RestoreAfterRenderAreaCrop();
        mwb::DrawStdTexBut(mwin, 25, MWIN_TEXSTATE_NORMAL, a.x, a.y, close_on ? a.w - c : a.w, head, col);
        CropRenderAreaToButtonNew2();
        mwb::DrawStdTexBut(mwin, 26, MWIN_TEXSTATE_NORMAL, a.x, a.y + head, a.w, a.h - head, col);
        float saved = actual_area.h;
        actual_area.h = head;
        UpdateTextFontColourAndScale();
        RenderNormalText();
        actual_area.h = saved;
    }
    else
        mwb::DrawStdTexBut(mwin, 3, MWIN_TEXSTATE_NORMAL, a.x, a.y, a.w, a.h, col);
    if (close_on && parent)
    {
        _MWinTextureState st = mouse_over_close ? MWIN_TEXSTATE_FOCUSED : MWIN_TEXSTATE_NORMAL;
        mwb::DrawStdTexBut(mwin, 27, st, a.x + a.w - c, a.y, c, head - 2, col);
        if (!has_text)
            UpdateTextFontColourAndScale();
        mwin->RenderTextPart(font_num, MWIN_ALIGN_CENTRE, 0, a.x + a.w - c, a.y, c, head - 2, nullptr, "X", 0,
                             0, 1, 0);
    }
    RestoreAfterRender();
}

char MWinFrameButton::HandleMouseMove()
{
    if (!ShouldHandleMouseMove() || !close_on)
        return 0;
    _Dimension box;
    if (!CloseBoxArea(&box))
        return 0;
    mouse_over_close = mwin->IsMouseViewportCursorInArea(&box, nullptr);
    return mouse_over_close;
}

void MWinFrameButton::CallClose()
{
    if (close_cb)
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        close_cb(mwin, &info, 0, 0);
    }
    else if (close_plain_cb)
        close_plain_cb();
}

char MWinFrameButton::HandleMouseButtonPressed(char button, char down, char third)
{
    if (!ShouldHandleMouseButtonPressed(button, down, third) || !close_on)
        return 0;
    _Dimension box;
    if (!CloseBoxArea(&box) || !mwin->IsMouseViewportCursorInArea(&box, nullptr))
        return 0;
    if (down || button != 0)
        return 1;
    CallClose(); // may remove this widget: nothing is touched afterwards
    return 1;
}

char MWinFrameButton::HandleKeyDown(int key)
{
    if (!ShouldHandleKeyDown())
        return 0;
    if (key == 27 && close_on && escape_closes && (close_cb || close_plain_cb))
    {
        CallClose();
        return 1;
    }
    return PostHandleKeyDown(key, 0);
}

MWinFrameButton* MWinWindowAddBackButton(MWinWindow* window, const char* id, const char* texbut,
                                         const char* text, float x, float y, float w, float h)
{
    if (!window)
        return nullptr;
    MWinFrameButton* b =
        new (std::nothrow) MWinFrameButton(window->GetMWin(), id, window, texbut, text, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    window->CompleteAddButton(b);
    return b;
}
