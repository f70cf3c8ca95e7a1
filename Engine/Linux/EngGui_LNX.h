// GTK's start, its message box, and small helpers over GTK widgets for
// native windows: control texts and values, popup lists and their entries,
// menu items, pictures, and GError logging. Texts are UTF-8; bytes that are
// not valid UTF-8 are taken as Latin-1. Popup indexes are 0-based. A null
// widget, model or text makes a function return at once with a neutral value.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "EngTypes.h"

// Starts GTK once, leaving the process locale alone so that "%.2f" keeps
// its point; 1 while GTK runs, 0 when it cannot start (no display).
char EngGuiStartGtk_LNX();

// The modal GTK window taking input now (the native dialog kit's), or null.
GtkWindow* EngGuiGetModalWindow_LNX();

// A modal GTK message box (GTK starts if need be): the title over the text,
// a warning icon for kinds 1 and 2, OK or Cancel and OK (Return is OK;
// Escape and closing are Cancel). It stands over the modal GTK window when one is
// up, else over the X window parent_xid when not 0. 1 for OK, 0 for Cancel,
// -1 when GTK cannot start.
int EngGuiShowMessageBox_LNX(char kind, const char* title, const char* text, char with_cancel,
                             unsigned long parent_xid);

// text as valid UTF-8 (Latin-1 when it is not UTF-8 already); null gives "".
std::string EngGuiToUtf8_LNX(const char* text);

// 1 for a null error; else logs "Error: <message> (<domain>)" under label, 0.
char EngGuiIsReturnCodeOk_LNX(const char* label, const GError* error);

// Shows the window and runs the main loop until gtk_main_quit (the window's
// close also ends it, leaving the window); destroys it when asked. 1, or 0
// without a window.
char EngGuiDoDialog_LNX(GtkWidget** window, char app_modal, char destroy);
// Hides and destroys the window and clears the pointer.
void EngGuiDestroyDialog_LNX(GtkWidget** window);

// Controls are found again by a signature and an ID given to them.
void EngGuiSetControlID_LNX(GtkWidget* control, EngUInt32 signature, EngInt32 id);
char EngGuiGetControl_LNX(GtkWidget* window, EngUInt32 signature, EngInt32 id, GtkWidget** out);

void EngGuiEnableControl_LNX(GtkWidget* control, char on);
void EngGuiGuiShowControl_LNX(GtkWidget* control, char on);
// Toggle buttons (check boxes, radio buttons) and check menu items.
void EngGuiCheckButton_LNX(GtkWidget* control, char on);
char EngGuiIsButtonChecked_LNX(GtkWidget* control);

// Labels (or a frame's title). Get: 1 when it fitted in size bytes with the
// terminator, -1 when cut, 0 for bad arguments.
void EngGuiSetStaticTextString_LNX(GtkWidget* control, const char* text);
int EngGuiGetStaticTextString_LNX(GtkWidget* control, char* buf, int size);

// Entries, text views, or a scrolled window holding a text view.
void EngGuiSetEditableTextString_LNX(GtkWidget* control, const char* text);
void EngGuiSetEditableTextString2_LNX(GtkWidget* control, char* text);
int EngGuiGetEditableTextString_LNX(GtkWidget* control, char* buf, int size);
void EngGuiSetEditableTextInt_LNX(GtkWidget* control, int value);
// The number at the start of the text (0 when there is none); -1 without a control.
int EngGuiGetEditableTextInt_LNX(GtkWidget* control);

// Push buttons.
void EngGuiSetBevelButtonTextString_LNX(GtkWidget* control, const char* text);
// The index-th radio button inside a container.
void EngGuiSetRadioControlEntryTextString_LNX(GtkWidget* group, int index, const char* text);

// Popup lists (GtkComboBoxText); their entries are the combo box's model.
char EngGuiGetPopupButtonMenu_LNX(GtkWidget* control, GtkTreeModel** out);
// 0, 1 when the model cannot be read, -1 without a control.
int EngGuiGetPopupButtonMenuRef_LNX(GtkWidget* control, GtkTreeModel** out);
// Keeps the selection inside the entries; 0, or as above.
int EngGuiSyncPopupButtonToMenu_LNX(GtkWidget* control);
void EngGuiSetPopupControlCurrentSelection_LNX(GtkWidget* control, int index);
int EngGuiGetPopupControlCurrentSelection_LNX(GtkWidget* control);

int EngGuiGetMenuCount_LNX(GtkTreeModel* menu);
void EngGuiResetMenu_LNX(GtkTreeModel* menu);
void EngGuiAddStringToMenu_LNX(GtkTreeModel* menu, const char* text);
void EngGuiGetMenuItemString_LNX(GtkTreeModel* menu, int index, char* buf, int size);
// The selected entry's text; with no control, the first entry's.
void EngGuiGetPopupMenuCurrentText_LNX(GtkTreeModel* menu, GtkWidget* control, char* buf, int size);
// item is 1-based.
void EngGuiSetMenuItemText_LNX(GtkTreeModel* menu, unsigned item, const char* text);

// Menu items carry a command ID; these act on every item of a menu with it.
void EngGuiSetMenuItemCommandID_LNX(GtkWidget* item, EngUInt32 command);
void EngGuiEnableMenuItemUsingCommandId_LNX(GtkWidget* menu, EngUInt32 command, char on);
void EngGuiCheckMenuItemUsingCommandId_LNX(GtkWidget* menu, EngUInt32 command, char on);

// A picture from a file in the resources folder (the working directory);
// width and height above 0 scale it to fit, keeping its shape. Unref it.
GdkPixbuf* EngGuiCreateCGImageFromBundleResource(const char* name, int width = -1, int height = -1);
// Shows the file in an image, scaled to fit the image's size request.
char EngGuiSetHiViewControlsPicture_LNX(GtkWidget* image, const char* name);
// An image at the rectangle inside a GtkFixed, showing the file when given.
GtkWidget* EngGuiCreateHiViewPictureControl_LNX(GtkWidget* fixed, int left, int top, int right, int bottom,
                                                const char* name);
