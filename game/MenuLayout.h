// Table-driven building of the menu screens' windows and widgets.
#pragma once

#include "EngTypes.h"
#include "MenuScreen.h"

// One widget of a screen's table; kind 1 push button, 8 choice, 10 colour picker.
struct _MenuWidget
{
    const char* id;
    int kind;
    const char* texbut;
    const char* text;
    float x, y, w, h;
    float r, g, b, a;
    float sx, sy;
    int align;
    MWinButton** global;
};

// A screen controller's CreateCollection: its collection added to the
// toolkit's desktop; 0 (logged under func) without a toolkit.
char MenuCreateCollection(const char* func, MenuCollectionController* controller, MWin* mwin);

// Adds the screen's collection to the desktop (the toolkit's when null) in
// the toolkit's current layout; null (logged under func) on failure.
MWinCollection* MenuAddCollection(const char* func, MWin* mwin, MWinDesktop* desktop, const char* id);

// Adds the screen's one window in the given layout with the shared title
// style; null (logged) when it cannot be added.
MWinWindow* MenuAddWindow(const char* func, MWinCollection* collection, const char* id, int layout, float x,
                          float y, float w, float h, const char* title, const char* title_texbut,
                          const char* back_texbut);

// Clears every global of the table, then adds and styles each widget in the
// font "Main". 0 when the window is missing or a widget could not be added;
// the widgets already added stay.
char MenuAddWidgets(const char* func, MWinWindow* window, const _MenuWidget* table, int count);

// After the button adder: logs its failure and makes c the window's controller.
void MenuFinishWindow(const char* func, MWinWindow* window, char buttons_ok, MWinCollectionController* c);

// Nulls the globals of a table.
void MenuClearGlobals(const _MenuWidget* table, int count);
