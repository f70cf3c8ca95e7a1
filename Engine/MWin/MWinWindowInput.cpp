// The input half of MWinWindow: keys, focus movement, mouse presses, hover,
// dragging, the hide button and the built-in scrollbars.
#include <cstring>

#include "EngDebug.h"
#include "EngWindow.h"
#include "MWin.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinCollectionController.h"
#include "MWinDesktop.h"
#include "MWinWindow.h"

#define MWIN_KEY_COMMAND ENG_KEY_COMMAND
#define MWIN_KEY_SHIFT ENG_KEY_SHIFT
#define MWIN_MAX_TAB_SKIPS 1000

char MWinWindow::TryShortcut(MWinButton* b)
{
    if (!b || !b->IsShown() || !b->IsEnabled())
        return 0;
    if (mwin && mwin->IsTextBeingEdited())
        return 0;
    MWinButton* f = FocusedButton();
    if (f && f->ListIsOpen())
        return 0;
    SendButtonCallCallbackMessage(b);
    return 1;
}

char MWinWindow::HandleKeyDown(int key)
{
    if (!shown || eng_key_down[MWIN_KEY_COMMAND] > 1)
        return 0;
    if (key == 27)
    {
        if (TryShortcut(escape_button))
            return 1;
    }
    else if (key == 13)
    {
        if (TryShortcut(default_button))
            return 1;
    }
    else if (key == 9)
    {
        if (!first_button)
            return 0;
        bool back = eng_key_down[MWIN_KEY_SHIFT] != 0;
        MWinButton* focused = FocusedButton();
        MWinButton* start = focused ? focused : (back ? last_button : first_button);
        MWinButton* b = start;
        MWinButton* found = nullptr;
        for (int skipped = 0; skipped <= MWIN_MAX_TAB_SKIPS; skipped++)
        {
            b = back ? (b->prev ? b->prev : last_button) : (b->next ? b->next : first_button);
            if (b->IsATabStop())
            {
                found = b;
                break;
            }
        }
        if (!found)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__,
                          back ? "Coult not get prev button" : "Coult not get next button");
            return 0;
        }
        // The widget left loses the focus at once (an edit stops editing, an
        // open list closes): the hover pass that would move it does not run
        // while an edit is edited, and keys typed before the pointer is seen
        // on the new widget are the new widget's. Ending an edit or closing a
        // list calls back, which may remove this window.
        _MWinButtonRef ref;
        found->MakeRef(&ref);
        if (!DeactivateAllButtonsBut(found, &ref))
            return 1;
        if (found->IsTextBeingEditing())
        {
            found->TextEditTurnOffEditing(0);
            if (!MWinButton::RefStillExists(&ref))
                return 1;
        }
        _Dimension a;
        found->GetActualArea(&a);
        if (eng_main_window)
            eng_main_window->SetCursorPosRatioed(a.x + a.w / 2, a.y + a.h / 2);
        if (found->GetType() == 3)
            found->TextEditTurnOnEditing();
        else
            found->Activate();
        return 1;
    }
    for (MWinButton* b = last_button; b; b = b->prev)
    {
        if (b->GetMWin() != mwin || !mwin || !mwin->IsOn())
            break;
        if (b->IsFocused() && b->HandleKeyDown(key))
            return 1;
    }
    if (key_down_cb)
        return key_down_cb(key, this) ? 1 : 0;
    return 0;
}

char MWinWindow::DeactivateAllButtonsBut(MWinButton* keep, const _MWinButtonRef* ref)
{
    // One at a time: a callback may change the list.
    for (int n = 0; n <= MWIN_MAX_TAB_SKIPS; n++)
    {
        MWinButton* other = nullptr;
        for (MWinButton* b = last_button; b && !other; b = b->prev)
            if (b != keep && b->IsFocused())
                other = b;
        if (!other)
            return 1;
        other->Deactivate();
        if (!MWinButton::RefStillExists(ref))
            return 0;
    }
    return 1;
}

template <class Send>
char MWinWindow::SendToFocusedButton(Send send)
{
    for (MWinButton* b = last_button; b; b = b->prev)
    {
        if (b->GetMWin() != mwin)
            return 0;
        if (b->IsFocused())
            return send(b);
    }
    return 0;
}

char MWinWindow::HandleKeyUp(int key)
{
    if (!shown || !mwin || !mwin->IsOn())
        return 0;
    return SendToFocusedButton([key](MWinButton* b) { return b->HandleKeyUp(key); });
}

char MWinWindow::HandleKeyDownUChar(unsigned char c)
{
    if (!shown || !mwin || !mwin->IsOn())
        return 0;
    return SendToFocusedButton([c](MWinButton* b) { return b->HandleKeyDownUChar(c); });
}

char MWinWindow::HandleMouseButtonDoubleClicked(char button)
{
    if (!shown)
        return 0;
    MWinButton* f = FocusedButton();
    return f ? f->HandleMouseButtonDoubleClicked(button) : 0;
}

void MWinWindow::HandleMouseButtonPressCanceled()
{
    if (MWinButton* f = FocusedButton())
        f->HandleMouseButtonPressCanceled();
    for (_MWinWindowScroll& s : scroll)
    {
        s.dragging = 0;
        s.page_dir = 0;
    }
}

char MWinWindow::KeepFocusOnMouseMove()
{
    MWinButton* f = FocusedButton();
    return f ? f->KeepFocusOnMouseMove() : 0;
}

char MWinWindow::HandleMouseWheel(int delta)
{
    if (!shown)
        return 0;
    if (MWinButton* f = FocusedButton())
        return f->HandleMouseWheel(delta);
    return ExtraSizeScrollbarsHandleMouseWheel(delta);
}

char MWinWindow::HandleMouseMove()
{
    if (!shown || !mwin)
        return 0;
    MWinLayoutSettings* ls = GetScreenLayout();
    if (!ls)
        return 0;
    float mx = 0, my = 0;
    mwin->GetViewportMousePos(&mx, &my);
    if (dragging)
    {
        float vw = 640, vh = 480;
        GetVirtualSize(&vw, &vh, 1);
        float t = info.title_bar ? (*ls)[MWIN_LS_TITLE_BAR_HEIGHT] : 0;
        float nx = mx - drag_mouse_x + drag_win_x;
        float ny = my - drag_mouse_y + drag_win_y;
        if (nx + actual_area.w > vw)
            nx = vw - actual_area.w;
        if (ny + actual_area.h > vh)
            ny = vh - actual_area.h;
        if (nx < 0)
            nx = 0;
        if (ny < t)
            ny = t;
        if (nx >= 0 && ny >= 0 && nx + actual_area.w <= vw && ny + actual_area.h <= vh)
        {
            actual_area.x = nx;
            actual_area.y = ny;
            RecomputeButtonAreas();
            UpdateTitleBar();
        }
        return 1;
    }
    MWinButton* f = FocusedButton();
    if (f && f->KeepFocusOnMouseMove())
    {
        f->HandleMouseMove();
        return 1;
    }
    if (hide_button)
    {
        if (IsMouseOver(hide_button->GetActualArea()))
        {
            if (!hide_button->IsFocused())
                hide_button->Activate();
        }
        else if (hide_button->IsFocused())
            hide_button->Deactivate();
    }
    MWinButton* under = nullptr;
    char newly = 0;
    for (MWinButton* b = last_button; b; b = b->prev)
    {
        if (!under && b->IsShown() && IsMouseOver(b->GetActualArea()))
        {
            under = b;
            if (!b->IsFocused())
            {
                b->Activate();
                newly = 1;
                if (b->IsEnabled() && b->IsATabStop())
                    mwin->PlaySound(MWIN_SOUND_HOVER);
            }
            continue;
        }
        if (b->IsFocused())
            b->Deactivate();
        if (!b->IsFocused())
            b->HandleMouseButtonPressCanceled();
    }
    if (newly)
        return 0;
    f = FocusedButton();
    if (f)
    {
        f->HandleMouseMove();
        return 1;
    }
    return 0;
}

char MWinWindow::HandleButtonPressed(char button, char down, char flag3, char flag4)
{
    if (!shown)
        return 0;
    if (dragging)
    {
        if (button == 0 && !down)
            dragging = 0;
        return 1;
    }
    if (ExtraSizeScrollbarsHandleButtonPressed(button, down, flag3, flag4))
        return 1;
    if (hide_button && live == 1 && collection && mwin && IsMouseOver(hide_button->GetActualArea()))
    {
        // The press focuses the button itself: a widget that keeps the mouse
        // moves (a text being edited) leaves no hover to do it.
        if (button == 0 && down && !hide_button->IsFocused())
            hide_button->Activate();
        if (button == 0 && !down && hide_button->IsFocused())
        {
            char coll_id[MWIN_ID_SIZE], win_id[MWIN_ID_SIZE];
            memcpy(coll_id, collection->GetID(), sizeof coll_id);
            memcpy(win_id, id, sizeof win_id);
            MWinDesktop* desk = mwin->GetDesktop();
            MWin* mw = mwin;
            if (hide_plain_cb)
            {
                hide_button->SetPlainCallback(hide_plain_cb, hide_plain_user);
                SendButtonCallCallbackMessage(hide_button);
            }
            else if (use_controller && controller)
            {
                _MWinButtonCallbackInfo cbi;
                hide_button->FillCallbackInfo(&cbi);
                controller->ButtonsCallback(hide_button, &cbi);
            }
            // The action may have removed this window: look it up again.
            if (mw->IsOn() && mw->GetWindowFromIDs(coll_id, win_id, 0) && mw->GetDesktop() == desk)
                mw->PlaySound(MWIN_SOUND_BUTTON);
        }
        return 1;
    }
    MWinButton* f = FocusedButton();
    if (!down)
        return f ? f->HandleMouseButtonPressed(button, 0, flag3) : 0;
    if (f && f->KeepFocusOnMouseMove())
        return f->HandleMouseButtonPressed(button, down, flag3);
    if (!mwin || !id[0])
        return 0;
    for (MWinButton* b = last_button; b; b = b->prev)
    {
        if (b->IsShown() && IsMouseOver(b->GetActualArea()))
            return b->HandleMouseButtonPressed(button, down, flag3);
        if (b->GetType() == 3 && b->IsTextBeingEditing())
            b->TextEditTurnOffEditing(0);
    }
    if (button != 0)
        return 0;
    float mx = 0, my = 0;
    mwin->GetViewportMousePos(&mx, &my);
    char start = 0;
    if (info.move_mode == MWIN_MOVE_TITLE_BAR && info.title_bar)
    {
        _Dimension off = {actual_area.x, actual_area.y, 0, 0};
        start = mwin->IsMouseViewportCursorInArea(&title_area, &off);
    }
    else if (info.move_mode == MWIN_MOVE_ANYWHERE)
        start = 1;
    if (!start)
        return 0;
    dragging = 1;
    drag_mouse_x = mx;
    drag_mouse_y = my;
    drag_win_x = actual_area.x;
    drag_win_y = actual_area.y;
    return 1;
}

// ---------------------------------------------------------------------------
// Built-in scrollbars.

char MWinWindow::ExtraSizeScrollbarsHandleButtonPressed(char button, char down, char, char flag4)
{
    if (!extra_size_on || !mwin)
        return 0;
    float m[2];
    mwin->GetViewportMousePos(&m[0], &m[1]);
    for (int axis = 0; axis < 2; axis++)
    {
        float extra = axis ? extra_size.y : extra_size.x;
        if (extra <= 0)
            continue;
        _MWinWindowScroll& s = scroll[axis];
        if (down)
        {
            if (button != 0 || flag4)
                continue;
            if (IsMouseOver(&s.thumb))
            {
                s.dragging = 1;
                s.grab_offset = s.offset;
                s.grab_mouse = m[axis];
                return 1;
            }
            if (IsMouseOver(&s.track))
            {
                float start = axis ? s.thumb.y : s.thumb.x;
                s.page_dir = start > m[axis] ? -1 : 1;
                return 1;
            }
        }
        else
        {
            if (s.dragging)
            {
                s.dragging = 0;
                s.page_dir = 0;
                return 1;
            }
            if (s.page_dir)
            {
                s.offset += s.page_dir * (axis ? actual_area.h : actual_area.w);
                s.page_dir = 0;
                UpdateExtraPos(axis, 0);
                return 1;
            }
        }
    }
    return 0;
}

char MWinWindow::ExtraSizeScrollbarsHandleMouseMove()
{
    if (!extra_size_on)
    {
        scroll[0].dragging = scroll[1].dragging = 0;
        return 0;
    }
    if (!mwin)
        return 0;
    float m[2];
    mwin->GetViewportMousePos(&m[0], &m[1]);
    for (int axis = 0; axis < 2; axis++)
    {
        _MWinWindowScroll& s = scroll[axis];
        float extra = axis ? extra_size.y : extra_size.x;
        if (!s.dragging || extra <= 0)
            continue;
        if (s.free_length > 0)
            s.offset = s.grab_offset + extra * (m[axis] - s.grab_mouse) / s.free_length;
        UpdateExtraPos(axis, 0);
        return 1;
    }
    return 0;
}

char MWinWindow::ExtraSizeScrollbarsHandleMouseWheel(int delta)
{
    if (!extra_size_on || extra_size.y <= 0 || scroll[1].dragging)
        return 0;
    scroll[1].offset += extra_size.y * float(-delta) * 0.02f;
    UpdateExtraPos(1, 0);
    return 1;
}
