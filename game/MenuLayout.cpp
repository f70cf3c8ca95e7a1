// Table-driven building of the menu screens' windows and widgets.
#include "MenuLayout.h"

#include "EngDebug.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinDesktop.h"
#include "MWin/MWinWindow.h"
#include "VizavuScreens.h"

char MenuCreateCollection(const char* func, MenuCollectionController* controller, MWin* mwin)
{
    if (!mwin)
    {
        DebugErrorAlt(func, "No mwinp");
        return 0;
    }
    return controller->AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection* MenuAddCollection(const char* func, MWin* mwin, MWinDesktop* desktop, const char* id)
{
    if (!mwin)
    {
        DebugErrorAlt(func, "No mwinp");
        return nullptr;
    }
    if (!desktop)
        desktop = mwin->GetDesktop();
    if (!desktop)
    {
        DebugErrorAlt(func, "Could not get default desktop");
        return nullptr;
    }
    MWinCollection* c = desktop->AddCollection(id);
    if (!c)
    {
        DebugErrorAlt(func, "Could not create collection <%s>", id);
        return nullptr;
    }
    c->SetScreenLayout(mwin->GetScreenLayout());
    return c;
}

MWinWindow* MenuAddWindow(const char* func, MWinCollection* collection, const char* id, int layout, float x,
                          float y, float w, float h, const char* title, const char* title_texbut,
                          const char* back_texbut)
{
    if (!collection)
    {
        DebugErrorAlt(func, "Could not add window");
        return nullptr;
    }
    _MWinWindowCreateInfo info;
    VizavuScreensFillCreateInfo(&info, x, y, w, h, title, title_texbut, back_texbut);
    collection->SetScreenLayout(layout);
    MWinWindow* win = collection->AddWindow(id, &info);
    if (!win)
    {
        DebugErrorAlt(func, "Could not add window");
        return nullptr;
    }
    win->SetTitleTextColour(1, 1, 1, 1);
    win->SetTitleTextScale(1, 1);
    win->SetTitleTextAlign(0);
    win->SetExtraSize(0, 0);
    return win;
}

void MenuClearGlobals(const _MenuWidget* table, int count)
{
    for (int i = 0; i < count; i++)
        if (table[i].global)
            *table[i].global = nullptr;
}

char MenuAddWidgets(const char* func, MWinWindow* window, const _MenuWidget* table, int count)
{
    MenuClearGlobals(table, count);
    if (!window)
    {
        DebugErrorAlt(func, "No window");
        return 0;
    }
    for (int i = 0; i < count; i++)
    {
        const _MenuWidget& s = table[i];
        MWinButton* b;
        if (s.kind == MWIN_BUTTON_COLOUR)
            b = window->AddColour(s.id, s.texbut, s.text, s.x, s.y, s.w, s.h);
        else
            b = window->AddButton(s.id, s.kind, s.texbut, s.text, s.x, s.y, s.w, s.h);
        if (!b)
        {
            DebugErrorAlt(func, "Could not add button(s) to window");
            return 0;
        }
        if (s.global)
            *s.global = b;
        VizavuScreensStyleButton(b, "Main", s.r, s.g, s.b, s.a, s.sx, s.sy, s.align);
    }
    return 1;
}

void MenuFinishWindow(const char* func, MWinWindow* window, char buttons_ok, MWinCollectionController* c)
{
    if (!window)
        return;
    if (!buttons_ok)
        DebugErrorAlt(func, "Could not add buttons to window");
    window->SetController(c);
}
