#include "MWinDesktop.h"

#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDim.h"
#include "MWin.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinWindow.h"

MWinDesktop::MWinDesktop(MWin* mw) : mwin(mw)
{
    if (!mwin)
        DebugExitPopup("MWinDesktop::MWinDesktop", "Internal Error (MWinDesktop)");
}

MWinDesktop::~MWinDesktop()
{
    alive = 0;
    RemoveAllCollections();
    DestroyGraphicsObjects();
}

MWinCollection* MWinDesktop::AddCollection(const char* id)
{
    if (GetCollectionFromID(id, 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Collection already exists <%s>", MWinDisplayID(id));
        return nullptr;
    }
    if (MWinIsIDEmpty(id) || strlen(id) >= MWIN_ID_SIZE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid collection ID <%s>", MWinDisplayID(id));
        return nullptr;
    }
    MWinCollection* c = new (std::nothrow) MWinCollection(mwin, id, this);
    if (!c)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    for (MWinCollection* o = first; o; o = o->next)
        if (o->IsActive())
            o->Deactivate();
    if (!first)
        first = c;
    else
    {
        MWinCollection* last = first;
        while (last->next)
            last = last->next;
        last->next = c;
        c->prev = last;
    }
    c->Activate();
    return c;
}

MWinCollection* MWinDesktop::GetCollectionFromID(const char* id, char report)
{
    if (MWinIsIDEmpty(id))
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No Collection ID");
        return nullptr;
    }
    for (MWinCollection* c = first; c; c = c->next)
        if (MWinAreIDsTheSame(c->id, id))
            return c;
    if (report)
        DebugErrorAlt(__PRETTY_FUNCTION__, "ID <%s> not found", id);
    return nullptr;
}

char MWinDesktop::DoesCollectionExist(const char* id)
{
    if (!DebugCheckOk(!MWinIsIDEmpty(id), "MWinDesktop::GetCollectionFromID", "No Collection ID"))
        return 0;
    return GetCollectionFromID(id, 0) ? 1 : 0;
}

char MWinDesktop::RemoveCollection(const char* id)
{
    MWinCollection* c = GetCollectionFromID(id, 1);
    if (!DebugCheckOk(c != nullptr, "MWinDesktop::RemoveCollection", "Could not find collection"))
        return 0;
    // The popup collection goes through the popup code, which forgets it first.
    if (mwin && c == mwin->GetPopupCollection())
    {
        mwin->PopupTurnOff();
        return 1;
    }
    if (c->prev)
        c->prev->next = c->next;
    else
        first = c->next;
    if (c->next)
        c->next->prev = c->prev;
    c->next = c->prev = nullptr;
    delete c;
    return 1;
}

void MWinDesktop::RemoveAllCollections()
{
    if (mwin && mwin->PopupIsOn())
    {
        DebugInfoAlt(__PRETTY_FUNCTION__, "Popup was on - turning it off");
        mwin->PopupTurnOff();
    }
    while (first)
    {
        MWinCollection* last = first;
        while (last->next)
            last = last->next;
        if (last->prev)
            last->prev->next = nullptr;
        else
            first = nullptr;
        last->prev = nullptr;
        delete last;
    }
    if (mwin)
        mwin->RenderNeeded();
}

char MWinDesktop::SetActiveCollection(const char* id)
{
    MWinCollection* c = GetCollectionFromID(id, 1);
    if (!DebugCheckOk(c != nullptr, "MWinDesktop::SetActiveCollection", "Could not find collection %s",
                      MWinDisplayID(id)))
        return 0;
    if (!c->IsActive())
        c->Activate();
    return 1;
}

MWinCollection* MWinDesktop::GetActiveCollection()
{
    for (MWinCollection* c = first; c; c = c->next)
        if (c->IsActive())
            return c;
    return nullptr;
}

MWinWindow* MWinDesktop::GetActiveWindow()
{
    MWinCollection* c = GetActiveCollection();
    return c ? c->GetActiveWindow() : nullptr;
}

MWinButton* MWinDesktop::GetActiveButton()
{
    MWinWindow* w = GetActiveWindow();
    return w ? w->GetActiveButton() : nullptr;
}

int MWinDesktop::GetNumCollections()
{
    int n = 0;
    for (MWinCollection* c = first; c; c = c->next)
        n++;
    return n;
}

char MWinDesktop::Tick()
{
    char any = 0;
    for (MWinCollection* c = first; c; c = c->next)
        if (c->IsActive() && c->Tick())
            any = 1;
    return any;
}

void MWinDesktop::RenderAllExceptPopupCollection()
{
    MWinCollection* popup = mwin ? mwin->GetPopupCollection() : nullptr;
    for (MWinCollection* c = first; c; c = c->next)
        if (!c->IsActive() && c != popup)
            c->Render();
    if (first && darken)
        EngDimDarkenScreen(darken_level);
    for (MWinCollection* c = first; c; c = c->next)
        if (c->IsActive() && c != popup)
            c->Render();
}

char MWinDesktop::RenderPopupCollection()
{
    MWinCollection* popup = mwin ? mwin->GetPopupCollection() : nullptr;
    if (!popup)
        return 0;
    if (popup->id[0] != 'M')
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid popup collection");
        return 0;
    }
    popup->Render();
    return 1;
}

// ---------------------------------------------------------------------------
// Input.

MWinButton* MWinDesktop::OpenListButton()
{
    MWinButton* b = GetActiveButton();
    return (b && b->ListIsOpen()) ? b : nullptr;
}

MWinCollection* MWinDesktop::LastCollectionUnderMouse()
{
    MWinCollection* found = nullptr;
    for (MWinCollection* c = first; c; c = c->next)
        if (!c->has_area || mwin->IsMouseScreenCursorInArea(&c->area, nullptr))
            found = c;
    return found;
}

void MWinDesktop::ActivateCollectionUnderMouse()
{
    for (MWinCollection* c = first; c; c = c->next)
        if (c->IsActive())
            c->Deactivate();
    DoActivateCollectionUnderMouse();
}

char MWinDesktop::DoActivateCollectionUnderMouse()
{
    MWinCollection* c = LastCollectionUnderMouse();
    if (c)
    {
        if (!c->IsActive())
        {
            c->Activate();
            c->ActivateWindowUnderMouse();
        }
        return 1;
    }
    for (MWinCollection* o = first; o; o = o->next)
        if (o->IsActive())
            o->Deactivate();
    return 0;
}

char MWinDesktop::HandleButtonPressed(char button, char down, char third)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleMouseButtonPressed(button, down, third);
    MWinCollection* c = LastCollectionUnderMouse();
    if (!c)
        return 0;
    if (!c->IsActive())
        c->Activate();
    return c->HandleButtonPressed(button, down, third);
}

char MWinDesktop::HandleMouseMove()
{
    if (MWinButton* b = OpenListButton())
    {
        b->HandleMouseMove();
        return 1;
    }
    if (mwin->GetSettings()->hover_activates_collection && !DoActivateCollectionUnderMouse())
        return 0;
    MWinCollection* c = GetActiveCollection();
    return c ? c->HandleMouseMove() : 0;
}

char MWinDesktop::SendToActiveCollections(int kind, int value)
{
    char result = 0;
    MWinCollection* c = first;
    while (c)
    {
        if (!c->IsActive())
        {
            c = c->next;
            continue;
        }
        char id[MWIN_ID_SIZE];
        memcpy(id, c->id, sizeof id);
        char r = 0;
        switch (kind)
        {
        case 0:
            r = c->HandleMouseButtonDoubleClicked(char(value));
            break;
        case 1:
            r = c->HandleMouseWheel(value);
            break;
        case 2:
            r = c->HandleKeyDown(value);
            break;
        case 3:
            r = c->HandleKeyUp(value);
            break;
        default:
            r = c->HandleKeyDownUChar((unsigned char)value);
            break;
        }
        if (kind == 0)
            result = r;
        else if (r)
            result = 1;
        // A callback may have removed the collection, the toolkit or us.
        if (!alive || !mwin->IsOn())
            return 1;
        c = GetCollectionFromID(id, 0);
        if (!c)
            return 1;
        c = c->next;
    }
    return result;
}

char MWinDesktop::HandleMouseButtonDoubleClicked(char button)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleMouseButtonDoubleClicked(button);
    return SendToActiveCollections(0, button);
}

char MWinDesktop::HandleMouseWheel(int delta)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleMouseWheel(delta);
    return SendToActiveCollections(1, delta);
}

char MWinDesktop::HandleKeyDown(int key)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleKeyDown(key);
    return SendToActiveCollections(2, key);
}

char MWinDesktop::HandleKeyUp(int key)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleKeyUp(key);
    return SendToActiveCollections(3, key);
}

char MWinDesktop::HandleKeyDownUChar(unsigned char ch)
{
    if (MWinButton* b = OpenListButton())
        return b->HandleKeyDownUChar(ch);
    return SendToActiveCollections(4, ch);
}

// ---------------------------------------------------------------------------
// Graphics objects.

char MWinDesktop::CreateGraphicsObjects()
{
    char ok = 1;
    for (MWinCollection* c = first; c; c = c->next)
        if (!c->CreateGraphicsObjects())
            ok = 0;
    return ok;
}

void MWinDesktop::DestroyGraphicsObjects()
{
    for (MWinCollection* c = first; c; c = c->next)
        c->DestroyBgTexture();
    for (MWinCollection* c = first; c; c = c->next)
        c->DestroyGraphicsObjects();
}

char MWinDesktop::CreateBgTextures()
{
    char ok = 1;
    for (MWinCollection* c = first; c; c = c->next)
        if (!c->CreateBgTexture())
            ok = 0;
    return ok;
}

void MWinDesktop::DestroyBgTextures()
{
    for (MWinCollection* c = first; c; c = c->next)
        c->DestroyBgTexture();
}
