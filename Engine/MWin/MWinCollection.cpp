#include "MWinCollection.h"

#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMenu.h"
#include "MWin.h"
#include "MWinButton.h"
#include "MWinDesktop.h"
#include "MWinWindow.h"

namespace
{
// Clears a widget's pressed state and drops its focus.
void ReleaseButton(MWinButton* b)
{
    b->HandleMouseButtonPressCanceled();
    if (b->IsFocused())
        b->Deactivate();
}

void ReleaseAllButtons(MWinWindow* w)
{
    for (MWinButton* b = w->GetFirstButton(); b; b = b->next)
        ReleaseButton(b);
}

char HaveDevice()
{
    return eng_main_device && eng_main_device->IsCreated();
}
} // namespace

MWinCollection::MWinCollection(MWin* mw, const char* cid, MWinDesktop* desk) : mwin(mw), desktop(desk)
{
    if (!mwin)
        DebugExitPopup("MWinCollection::MWinCollection", "Internal Error (MWinCollection)");
    MWinCopyID(id, cid);
    active = 0;
    input_enabled = 1;
}

MWinCollection::~MWinCollection()
{
    DestroyGraphicsObjects();
    // Every layout's list goes, so that no window outlives its collection.
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
        DeleteWindowList(l);
    escape_window = nullptr;
}

void MWinCollection::DeleteWindowList(int l)
{
    while (windows[l])
    {
        MWinWindow* last = windows[l];
        while (last->next_window)
            last = last->next_window;
        if (last->prev_window)
            last->prev_window->next_window = nullptr;
        else
            windows[l] = nullptr;
        if (escape_window == last)
            escape_window = nullptr;
        delete last;
    }
}

void MWinCollection::ValidateLayout()
{
    if (layout < 0 || layout > 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid screen layout %d", layout);
        layout = 0;
    }
}

void MWinCollection::Activate()
{
    ValidateLayout();
    if (desktop)
    {
        for (MWinCollection* c = next; c; c = c->next)
            if (c->active)
                c->Deactivate();
        for (MWinCollection* c = prev; c; c = c->prev)
            if (c->active)
                c->Deactivate();
    }
    active = 1;
}

void MWinCollection::Deactivate()
{
    ValidateLayout();
    for (MWinWindow* w = ListHead(); w; w = w->next_window)
        if (w->IsActive())
            w->Deactivate();
    active = 0;
}

void MWinCollection::SetScreenLayout(_EngLayout l)
{
    char was = active;
    if (was)
        Deactivate();
    layout = (l >= 0 && l <= 4) ? l : 0;
    if (layout != l)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid screen layout %d", l);
    layout_set = 1;
    if (was)
        Activate();
}

_EngLayout MWinCollection::GetScreenLayout()
{
    if (layout_set)
        return layout;
    return mwin ? mwin->GetScreenLayout() : 0;
}

// ---------------------------------------------------------------------------
// Windows.

MWinWindow* MWinCollection::AddWindow(const char* wid, _MWinWindowCreateInfo* info)
{
    ValidateLayout();
    if (GetWindowFromID(wid, 0))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Window with id [%s] already exists.", MWinDisplayID(wid));
    MWinWindow* w = new (std::nothrow) MWinWindow(mwin, wid, this, info);
    if (!w)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    WindowsChanged();
    for (MWinWindow* o = ListHead(); o; o = o->next_window)
        if (o->IsActive())
            o->Deactivate();
    if (!ListHead())
        ListHead() = w;
    else
    {
        MWinWindow* last = ListHead();
        while (last->next_window)
            last = last->next_window;
        last->next_window = w;
        w->prev_window = last;
    }
    w->Deactivate();
    WindowsChanged();
    // The new window becomes the one active window, unless a modal window
    // holds the collection.
    if (!modal || w->GetType() == MWIN_WINDOW_TYPE_MODAL)
    {
        for (MWinWindow* o = ListHead(); o; o = o->next_window)
            if (o != w && o->IsActive())
                o->Deactivate();
        w->Activate();
    }
    return w;
}

char MWinCollection::RemoveWindow(MWinWindow* w)
{
    if (!w)
        return 0;
    ValidateLayout();
    MWinWindow* o = ListHead();
    while (o && o != w)
        o = o->next_window;
    if (!o)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Window <%s> not in collection <%s>", MWinDisplayID(w->GetID()),
                      MWinDisplayID(id));
        return 0;
    }
    if (w->prev_window)
        w->prev_window->next_window = w->next_window;
    else
        ListHead() = w->next_window;
    if (w->next_window)
        w->next_window->prev_window = w->prev_window;
    w->prev_window = w->next_window = nullptr;
    if (escape_window == w)
        escape_window = nullptr;
    delete w;
    WindowsChanged();
    return 1;
}

void MWinCollection::RemoveAllWindows()
{
    if (layout < 0 || layout > 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid screen layout %d", layout);
        return;
    }
    DeleteWindowList(layout);
    WindowsChanged();
}

void MWinCollection::WindowsChanged()
{
    if (layout < 0 || layout > 4)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid screen layout %d", layout);
        return;
    }
    MWinWindow* first_active = GetActiveWindow();
    modal = 0;
    for (MWinWindow* w = ListHead(); w; w = w->next_window)
        if (w->GetType() == MWIN_WINDOW_TYPE_MODAL && w->IsShown())
            modal = 1;
    if (modal)
    {
        char deactivated = 0;
        for (MWinWindow* w = ListHead(); w; w = w->next_window)
            if (w->GetType() != MWIN_WINDOW_TYPE_MODAL && w->IsActive() && w->IsShown())
            {
                w->Deactivate();
                deactivated = 1;
            }
        if (deactivated || !GetActiveWindow())
            for (MWinWindow* w = ListHead(); w; w = w->next_window)
                if (w->GetType() == MWIN_WINDOW_TYPE_MODAL && !w->IsActive() && w->IsShown())
                {
                    w->Activate();
                    break;
                }
        return;
    }
    if (!first_active || first_active->GetType() == MWIN_WINDOW_TYPE_MODAL)
        ActivateWindowUnderMouse();
}

MWinWindow* MWinCollection::GetWindowFromID(const char* wid, char report)
{
    if (MWinIsIDEmpty(wid))
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No Window ID");
        return nullptr;
    }
    if (layout >= 0 && layout <= 4)
        for (MWinWindow* w = ListHead(); w; w = w->next_window)
            if (MWinAreIDsTheSame(w->GetID(), wid))
                return w;
    if (report)
        DebugErrorAlt(__PRETTY_FUNCTION__, "ID <%s> not found", wid);
    return nullptr;
}

MWinButton* MWinCollection::GetButtonFromIDs(const char* window, const char* button, char report)
{
    MWinWindow* w = GetWindowFromID(window, report);
    return w ? w->GetButtonFromID(button, report) : nullptr;
}

MWinWindow* MWinCollection::GetActiveWindow()
{
    if (layout < 0 || layout > 4)
        return nullptr;
    for (MWinWindow* w = ListHead(); w; w = w->next_window)
        if (w->IsActive())
            return w;
    return nullptr;
}

int MWinCollection::GetNumWindows()
{
    int n = 0;
    if (layout >= 0 && layout <= 4)
        for (MWinWindow* w = ListHead(); w; w = w->next_window)
            n++;
    return n;
}

MWinWindow* MWinCollection::GetNthWindow(int n)
{
    MWinWindow* w = GetFirstWindow();
    if (!w)
        return nullptr;
    for (int i = 0; i < n && w; i++)
        w = w->next_window;
    if (!w || n < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No %d'th window found.", n);
        return nullptr;
    }
    return w;
}

MWinWindow* MWinCollection::GetFirstWindow()
{
    return GetFirstWindowOfLayout(layout);
}

MWinWindow* MWinCollection::GetFirstWindowOfLayout(int l)
{
    return (l >= 0 && l <= 4) ? windows[l] : nullptr;
}

// ---------------------------------------------------------------------------
// Areas and viewport.

char MWinCollection::SetViewportRatioed(int x, int y, int w, int h, char below_menu_bar)
{
    if (!HaveDevice())
        return 0;
    if (below_menu_bar && EngMenuIsOn())
    {
        int b = int(EngMenuGetMenuBarHeight());
        y += b;
        h -= b;
    }
    if (w <= 0 || h <= 0)
        return 0;
    EngDeviceSetViewportStructToSize(&viewport, x, y, w, h);
    EngDeviceSetViewportStructToSizeRatioed(&viewport_ratioed, x, y, w, h);
    area = {float(x), float(y), float(w), float(h)};
    has_area = 1;
    viewport_set = 1;
    return 1;
}

char MWinCollection::SetOverallAreaToSizeOfFirstWindow()
{
    MWinWindow* w = GetFirstWindow();
    if (!w)
        return 0;
    w->GetActualArea(&area);
    has_area = 1;
    return 1;
}

char MWinCollection::SetOverallAreaToSizeOfNthWindow(int n)
{
    has_area = 0;
    MWinWindow* w = GetNthWindow(n);
    if (!w)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window.");
        return 0;
    }
    w->GetActualArea(&area);
    has_area = 1;
    return 1;
}

void MWinCollection::SetArea(float x, float y, float w, float h)
{
    area = {x, y, w, h};
    has_area = 1;
}

void MWinCollection::CollectionSetAutoResizeFlag(char on)
{
    auto_resize = on;
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
        for (MWinWindow* w = windows[l]; w; w = w->next_window)
            w->UpdateAutoResizeFlag();
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
        w->UpdateTitleBar();
}

// ---------------------------------------------------------------------------
// Background and graphics objects.

char MWinCollection::SetBackgroundTextureFilename(const char* file, char o1, char o2, char o3)
{
    DestroyBgTexture();
    bg_file[0] = 0;
    if (!file || !file[0])
        return 1;
    if (strlen(file) >= sizeof bg_file)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return 0;
    }
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", file);
        return 0;
    }
    strcpy(bg_file, file);
    bg_options[0] = o1;
    bg_options[1] = o2;
    bg_options[2] = o3;
    if (mwin && mwin->IsOn())
        CreateBgTexture();
    return 1;
}

char MWinCollection::CreateBgTexture()
{
    bg_texture.Destroy();
    if (!bg_file[0])
        return 1;
    if (!bg_texture.LoadFromFileUsingExt(bg_file, bg_options[0], bg_options[1],
                                         mwin ? mwin->GetTextureLoadOption() : 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load bg texture file <%s>", bg_file);
        bg_file[0] = 0;
        return 0;
    }
    bg_texture.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    return 1;
}

void MWinCollection::DestroyBgTexture()
{
    if (bg_texture.IsOk())
        bg_texture.Destroy();
}

char MWinCollection::CreateGraphicsObjects()
{
    char ok = CreateBgTexture();
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
        if (!w->CreateGraphicsObjects())
            ok = 0;
    return ok;
}

void MWinCollection::DestroyGraphicsObjects()
{
    DestroyBgTexture();
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
        w->DestroyGraphicsObjects();
}

void MWinCollection::RenderTexture(EngTexture* t, float x, float y, float w, float h)
{
    if (!t)
        return;
    t->PositionRatioed(x, y, w, h);
    t->Draw();
}

char MWinCollection::Tick()
{
    char any = 0;
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
        if (w->IsActive() && w->Tick())
            any = 1;
    return any;
}

void MWinCollection::Render()
{
    if (!HaveDevice() || !GetFirstWindow())
        return;
    EngDevice* dev = eng_main_device;
    char was_full = 1;
    _EngDeviceViewport saved = {};
    if (viewport_set)
    {
        was_full = dev->IsViewportFullScreen();
        if (!was_full)
            dev->GetCurrentViewport(&saved);
        dev->SetViewportToViewportStruct(&viewport_ratioed);
    }
    if (bg_texture.IsOk())
        bg_texture.Draw();
    for (int pass = 0; pass < (modal ? 2 : 1); pass++)
    {
        bool want_modal = pass == 1;
        for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
            if ((w->GetType() == MWIN_WINDOW_TYPE_MODAL) == want_modal && !w->IsActive() && w->IsShown())
                w->Render();
        for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
            if ((w->GetType() == MWIN_WINDOW_TYPE_MODAL) == want_modal && w->IsActive())
                w->Render();
    }
    if (viewport_set)
    {
        if (was_full)
            dev->SetViewportFullScreen();
        else
            dev->SetViewportToViewportStruct(&saved);
    }
}

// ---------------------------------------------------------------------------
// Input.

char MWinCollection::HandleButtonPressed(char button, char down, char third)
{
    if (!input_enabled || !GetFirstWindow())
        return 0;
    if (has_area && !mwin->IsMouseViewportCursorInArea(&area, nullptr))
        return 0;
    MWinWindow* aw = GetActiveWindow();
    if (aw)
    {
        if (aw->IsMouseCursorInWindow() && (!modal || aw->GetType() == MWIN_WINDOW_TYPE_MODAL))
            return aw->HandleButtonPressed(button, down, third, 0);
        if (aw->IsDragging())
        {
            aw->SetDragging(0);
            return 1;
        }
        ReleaseAllButtons(aw);
    }
    if (!down || button != 0)
        return 0;
    if (aw && aw->GetType() != MWIN_WINDOW_TYPE_MODAL)
        aw->Deactivate();
    MWinWindow* found = nullptr;
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
    {
        if (w->GetMWin() != mwin || !mwin->IsOn())
            return 0;
        if (w->IsMouseCursorInWindow() && (!modal || w->GetType() == MWIN_WINDOW_TYPE_MODAL))
        {
            found = w;
            break;
        }
    }
    if (!found)
        return 0;
    if (aw && aw != found && aw->IsActive())
        aw->Deactivate();
    found->Activate();
    return 1;
}

void MWinCollection::ActivateWindowUnderMouse()
{
    _MWinSettings* s = mwin->GetSettings();
    char saved = s->hover_activates_window;
    s->hover_activates_window = 1;
    HandleMouseMove();
    s->hover_activates_window = saved;
}

char MWinCollection::HandleMouseMove()
{
    if (!input_enabled)
        return 0;
    MWinWindow* aw = GetActiveWindow();
    if (aw && aw->ExtraSizeScrollbarsHandleMouseMove())
        return 1;
    if (mwin->GetSettings()->hover_activates_window &&
        (!aw || (!aw->KeepFocusOnMouseMove() && !aw->IsDragging())))
    {
        MWinWindow* under = nullptr;
        for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
            if (w->IsShown() && w->IsMouseCursorInWindow() &&
                (!modal || w->GetType() == MWIN_WINDOW_TYPE_MODAL))
                under = w;
        for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
            if (w != under && w->IsActive())
                w->Deactivate();
        if (under && !under->IsActive())
            under->Activate();
        MWinWindow* now = GetActiveWindow();
        if (aw && now != aw)
            ReleaseAllButtons(aw);
        aw = now;
    }
    if (modal)
    {
        if (aw && aw->GetType() == MWIN_WINDOW_TYPE_MODAL)
            return aw->HandleMouseMove();
        if (aw)
            aw->Deactivate();
        for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
            if (w->GetType() == MWIN_WINDOW_TYPE_MODAL)
            {
                w->Activate();
                return w->HandleMouseMove();
            }
        return 0;
    }
    return aw ? aw->HandleMouseMove() : 0;
}

char MWinCollection::HandleMouseButtonDoubleClicked(char button)
{
    if (!input_enabled)
        return 0;
    MWinWindow* aw = GetActiveWindow();
    if (!aw)
        return 1;
    return aw->HandleMouseButtonDoubleClicked(button);
}

char MWinCollection::HandleMouseWheel(int delta)
{
    if (!input_enabled)
        return 0;
    MWinWindow* aw = GetActiveWindow();
    return (aw && aw->HandleMouseWheel(delta)) ? 1 : 0;
}

template <class Send>
char MWinCollection::SendToActiveWindow(Send send)
{
    for (MWinWindow* w = GetFirstWindow(); w; w = w->next_window)
    {
        if (w->GetMWin() != mwin || !mwin->IsOn())
            return 0;
        if (w->IsActive())
            return send(w);
    }
    return 0;
}

char MWinCollection::HandleKeyDown(int key)
{
    if (!input_enabled)
        return 0;
    if (key == 27 && escape_window && !mwin->IsTextBeingEdited())
    {
        MWinWindow* aw = GetActiveWindow();
        MWinButton* focused = aw ? aw->GetActiveButton() : nullptr;
        if (!(focused && focused->ListIsOpen()))
        {
            escape_window->SendButtonCallCallbackMessage(escape_window->GetEscapeButton());
            return 1;
        }
    }
    return SendToActiveWindow([key](MWinWindow* w) { return w->HandleKeyDown(key); });
}

char MWinCollection::HandleKeyUp(int key)
{
    if (!input_enabled)
        return 0;
    return SendToActiveWindow([key](MWinWindow* w) { return w->HandleKeyUp(key); });
}

char MWinCollection::HandleKeyDownUChar(unsigned char c)
{
    if (!input_enabled)
        return 0;
    return SendToActiveWindow([c](MWinWindow* w) { return w->HandleKeyDownUChar(c); });
}
