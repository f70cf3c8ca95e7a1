// GTK's start, its message box, interface files and the dialogs made from
// them, and small helpers over GTK widgets for native windows: control texts
// and values, popup lists and their entries, menu items, pictures, and
// GError logging. The texts of controls, entries and menus are Latin-1 here,
// as the toolkit draws them, and UTF-8 inside GTK: a character Latin-1 cannot
// hold reads back as "?". The message box takes UTF-8 (Latin-1 when it is
// not). Popup indexes are 0-based. A null widget, model or text makes a
// function return at once with a neutral value.
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
// up, else over the main window when there is one. 1 for OK, 0 for Cancel,
// -1 when GTK cannot start.
int EngGuiShowMessageBox_LNX(char kind, const char* title, const char* text, char with_cancel);

// Readies a window of the program's own (a box, a dialog) before it is
// shown: transient for the modal GTK window when one is up (which has the
// keyboard back when it goes), else for the main window; given the keyboard
// once it is on the screen (without a window manager nobody else gives it);
// and a box over the main window while it is shown (EngWindowBoxShown_LNX).
// Once is enough; later calls do nothing.
void EngGuiShowOverMainWindow_LNX(GtkWidget* window);

// text as valid UTF-8 (Latin-1 when it is not UTF-8 already); null gives "".
std::string EngGuiToUtf8_LNX(const char* text);

// 1 for a null error; else logs "Error: <message> (<domain>)" under label, 0.
char EngGuiIsReturnCodeOk_LNX(const char* label, const GError* error);

// Interface files are GtkBuilder ".ui" files in the resources folder, named
// without the extension (an absolute path is taken as it is). A loaded file
// is a handle on its text; each object is built from it when asked for, by
// its ID in the file. An interface file is the program's own, as trusted as
// its code: GTK builds it, and decodes the pictures it names, as it does for
// any program, unbounded. Status numbers in the messages are GError codes.
typedef struct _EngGuiNib_LNX* EngGuiNibRef_LNX;

// Reads and checks the file; "Could not load NIB <name> [code]". 1/0.
char EngGuiLoadNIB_LNX(const char* name, EngGuiNibRef_LNX* out);
// Ignores null.
void EngGuiReleaseNIB_LNX(EngGuiNibRef_LNX nib);
// Makes the file's "MenuBar" menu (a <menu>, a GMenuModel) the program's menu
// bar, and the running GtkApplication's when there is one. 1/0.
char EngGuiLoadMenuFromNIB_LNX(const char* name);
// The menu bar set last, owned here; null before.
GMenuModel* EngGuiGetMenuBar_LNX();
// Sets the title of a menu of the menu bar (at any depth): the label of the
// item that holds it. A menu the bar does not hold: "Could not set menu text
// to <text>".
void EngGuiSetMenuTitleText_LNX(GMenuModel* menu, const char* text);

// What a dialog's handler is told: a command (a button clicked, a menu item
// activated) or the window closed (destroyed, whoever did it).
#define ENGGUI_EVENT_CLASS_COMMAND EngFourCC('c', 'm', 'd', 's')
#define ENGGUI_EVENT_COMMAND_PROCESS 1
#define ENGGUI_EVENT_CLASS_WINDOW EngFourCC('w', 'i', 'n', 'd')
#define ENGGUI_EVENT_WINDOW_CLOSED 73

struct _EngGuiDialogEvent_LNX
{
    EngUInt32 event_class, kind;
    // Commands: the widget's action name when it has one, else its ID in the
    // file; widgets with neither send none. "" for the close.
    const char* command;
    GtkWidget* control; // the widget that sent the command; null for the close
};

// Gets the dialog's window; 1 when it handled the event.
typedef char (*EngGuiDialogHandler_LNX)(GtkWidget* window, const _EngGuiDialogEvent_LNX* event);
// A handler installed on one window; EngGuiDestroyDialog_LNX disposes of it.
typedef struct _EngGuiDialogHandlerRec_LNX* EngGuiDialogHandlerUPP_LNX;

// Builds the window window_name of the file into *window and installs the
// handler on it for commands and the close, as a new *upp. Buttons naming an
// action get one, so that they stay sensitive. With run set, shows it, runs
// its loop and destroys it (EngGuiDoDialog_LNX(upp, window, 0, 1)). 1 on
// success. Messages: "Warning - parameters not null" (goes on),
// "CreateNibReference() failed [%d]", "CreateWindowFromNib() failed [%d]".
char EngGuiLoadDialogFromNib_LNX(const char* nib_name, const char* window_name, EngGuiDialogHandler_LNX handler,
                                 char run, EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window);
// The same with run set and a handler of its own; *window is null after.
char EngGuiLoadAndRunDialogFromNib_LNX(const char* nib_name, const char* window_name,
                                       EngGuiDialogHandler_LNX handler, GtkWidget** window);
// Shows the window and runs a loop for it, modal to the program's other
// windows with app_modal, until EngGuiQuitDialog_LNX, a termination request
// or the window's destruction (which clears *window); then destroys the
// dialog when asked. 0 with "Dialog in wrong state" when the window already
// runs or is gone, with "Run returned error %d" when it went before its loop
// could start; else 1. upp may be null.
char EngGuiDoDialog_LNX(EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window, char app_modal, char destroy);
// Ends the loop running the window (from its handler, say).
void EngGuiQuitDialog_LNX(GtkWidget* window);
// Hides and destroys the window, disposes of the handler, clears both; a
// null pointer or an empty slot logs "Bad parameters" as information.
void EngGuiDestroyDialog_LNX(EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window);

// Controls are found again by a signature and an ID given to them.
void EngGuiSetControlID_LNX(GtkWidget* control, EngUInt32 signature, EngInt32 id);
char EngGuiGetControl_LNX(GtkWidget* window, EngUInt32 signature, EngInt32 id, GtkWidget** out);

void EngGuiEnableControl_LNX(GtkWidget* control, char on);
void EngGuiGuiShowControl_LNX(GtkWidget* control, char on);
// Toggle buttons (check boxes, radio buttons) and check menu items.
void EngGuiCheckButton_LNX(GtkWidget* control, char on);
char EngGuiIsButtonChecked_LNX(GtkWidget* control);

// Labels (or a frame's title). Get: 1 when the Latin-1 text fitted in size
// bytes with the terminator, -1 when cut, 0 for bad arguments.
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

// A picture from a file in the resources folder (the working directory),
// known by its bytes: JPEG, PNG, GIF, BMP and TGA decoded as the textures
// decode them (the same pixels, the same refusals), TIFF by libtiff, PNM by
// GTK's image library, each within the engine's bounds on memory and work;
// other formats are refused. Width and height above 0 scale it to fit,
// keeping its shape. Unref it. These bounds are for pictures that come from
// outside; the pictures an interface file names are decoded by GTK,
// unbounded, like the rest of the file.
GdkPixbuf* EngGuiCreateCGImageFromBundleResource(const char* name, int width = -1, int height = -1);
// Shows the file in an image, scaled to fit the image's size request.
char EngGuiSetHiViewControlsPicture_LNX(GtkWidget* image, const char* name);
// An image at the rectangle inside a GtkFixed, showing the file when given.
GtkWidget* EngGuiCreateHiViewPictureControl_LNX(GtkWidget* fixed, int left, int top, int right, int bottom,
                                                const char* name);
