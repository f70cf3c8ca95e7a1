// Modal popups: a title, a message and up to four buttons (or a text field or
// a list panel) in the collection "MWIN_POPUP" above everything else. One at
// a time; the answer comes back through a result callback.
//
// The popup operations take the toolkit object as their first argument; the
// toolkit keeps the popup-on flag and the popup collection, the rest of the
// state lives here, one record per toolkit object.
#pragma once

#include "MWinUtil.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinWindow;
struct _MWinButtonCallbackInfo;

// Result: 1 OK or Yes, 0 Cancel (and the No of a Yes/No popup), 2 No, 3 Extra.
typedef void (*MWinPopupResultCallback)(MWin* mwin, char result, void* user);
typedef void (*MWinPopupPanelChoiceCallback)(MWin* mwin, int pos, void* user);
typedef const char* (*MWinPopupPanelStringsCallback)(int, MWinButton*, void*);

#define MWIN_POPUP_WINDOW_ID "MWIN_POPUP_WIN"
#define MWIN_POPUP_TEMP_WINDOW_ID "MWIN_POPUP_WIN_TEMP"

#define MWIN_POPUP_RESULT_CANCEL 0
#define MWIN_POPUP_RESULT_OK 1
#define MWIN_POPUP_RESULT_NO 2
#define MWIN_POPUP_RESULT_EXTRA 3

// Button slots and their kinds (0 absent, 1 OK/Cancel wording, 2 Yes/No).
enum
{
    MWIN_POPUP_BUT_OK = 0,
    MWIN_POPUP_BUT_CANCEL = 1,
    MWIN_POPUP_BUT_NO = 2,
    MWIN_POPUP_BUT_EXTRA = 3
};

struct _MWinPopupSettings
{
    signed char saved_hover;   // -1 nothing saved
    signed char menu_disabled; // 1 the popup disabled the menu bar
    char back_texbut[MWIN_ID_SIZE];
    char title_texbut[MWIN_ID_SIZE];
    char title_font[MWIN_ID_SIZE];
    char button_texbut[MWIN_ID_SIZE];
    char button_font[MWIN_ID_SIZE];
    _ColourRGBA button_colour;
    float button_scale_x, button_scale_y;
    _ColourRGBA title_colour;
    float title_scale_x, title_scale_y;
    // [0] portrait, [1] landscape.
    float min_box_w[2], max_box_w[2], default_button_w[2], button_w[2], button_h[2];
    float next_box_w, next_box_h;
    _MWinTextAlign align;
    signed char colour_mode; // 0 normal, 1 good, -1 error; next popup only
    char dont_darken;        // next popup only
    char texts[4][64];       // next popup only; "" = standard label
    MWinPopupResultCallback cb;
    void* user;
    MWinWindow* window;
    MWinButton* msg;
    MWinButton* buttons[4];
    MWinButton* text_edit;
    MWinButton* panel;
    MWinButton* script;
    MWinPopupPanelChoiceCallback panel_choice_cb;
    char completed; // PopupCompleteSetup ran for this popup
};

// The popup state of a toolkit object (made by MWin::PopupInit).
_MWinPopupSettings* MWinPopupGetSettings(MWin* mwin);

// Set-up kept until changed. Floats below 0 keep the old value; they are, in
// order: button text red, blue, green, alpha; button scale x, y; title text
// red, blue, green, alpha; title scale x, y. align -1 keeps the alignment.
void MWinPopupSetupTexturesAndFonts(MWin* mwin, const char* back, const char* title_tb,
                                    const char* title_font, const char* button_tb, const char* button_font,
                                    float f1, float f2, float f3, float f4, float f5, float f6, float f7,
                                    float f8, float f9, float f10, float f11, float f12,
                                    _MWinTextAlign align);
void MWinPopupSetupTexturesAndFonts(MWin* mwin, const char* back, const char* title_tb,
                                    const char* title_font, const char* button_tb, const char* button_font);
void MWinPopupSetupTexturesAndFonts(MWin* mwin, const char* back, const char* texbut, const char* font);
// Above 0 sets, -2 restores the default, anything else keeps.
void MWinPopupSetupButtonSizes(MWin* mwin, float min_box_w, float max_box_w, float button_w, float button_h);
void MWinPopupSetupButtonWidths(MWin* mwin, float w);

// For the next popup only.
void MWinPopupSetSizeOfBoxForNextPopup(MWin* mwin, float w, float h);
void MWinPopupSetGoodColoursForNextPopup(MWin* mwin);
void MWinPopupSetErrorColoursForNextPopup(MWin* mwin);
void MWinPopupDontLetNextPopupDarkenScreen(MWin* mwin);
void MWinPopupChangeButtonTextsForNextPopup(MWin* mwin, const char* ok, const char* cancel);
void MWinPopupChangeButtonTextsForNextPopup(MWin* mwin, const char* ok, const char* no, const char* cancel);
char MWinPopupChangeButtonTextsForNextPopup(MWin* mwin, const char* ok, const char* no, const char* cancel,
                                            const char* extra);

// While shown.
MWinWindow* MWinPopupGetWindow(MWin* mwin);
MWinButton* MWinPopupGetButton(MWin* mwin, int slot);
void MWinPopupSetTransparency(MWin* mwin, float t);
void MWinPopupSetWindowYPos(MWin* mwin, float y);
// Closes the popup without calling its result callback; 1 when one was on.
char MWinPopupTurnOff(MWin* mwin);

// Building blocks.
char MWinPopupSetupDefaultButtons(MWin* mwin, const char* title, const char* message, char ok, char cancel,
                                  char no, char extra, float extra_w, float extra_h);
char MWinPopupSetupButton(MWin* mwin, MWinButton* b);
char MWinPopupCompleteSetup(MWin* mwin, MWinPopupResultCallback cb, void* user);

// The kinds of popup.
char MWinPopupMessage(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                      void* user);
char MWinPopupMessage(MWin* mwin, const char* title, const char* message);
char MWinPopupMessage(MWin* mwin, const char* message);
char MWinPopupErrorMessage(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                           void* user);
char MWinPopupErrorMessage(MWin* mwin, const char* title, const char* message);
char MWinPopupErrorMessage(MWin* mwin, const char* message);
char MWinPopupOkCancel(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                       void* user);
char MWinPopupYesNo(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                    void* user);
char MWinPopupYesNoCancel(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                          void* user);
char MWinPopupYesNoCancelExtra(MWin* mwin, const char* title, const char* message, MWinPopupResultCallback cb,
                               void* user);
char MWinPopupNotice(MWin* mwin, const char* title, const char* message);
char MWinPopupNoticeShowItAndRemoveIt(MWin* mwin, const char* title, const char* message);
char MWinPopupNoticeForTime(MWin* mwin, const char* title, const char* message, double seconds, char fade);
char MWinPopupGetText(MWin* mwin, const char* title, const char* message, char* text, int length,
                      MWinPopupResultCallback cb, void* user);
char MWinPopupPanel(MWin* mwin, const char* title, const char* message, int count, int visible, float w,
                    float h, MWinPopupPanelStringsCallback strings, char ok, int** selection,
                    MWinPopupPanelChoiceCallback choice, MWinPopupResultCallback cb, void* user);

// A popup showing a styled text (the caller's string, which must outlive it).
char MWinPopupScript(MWin* mwin, const char* title, const char* message, char* script_text,
                     const char* texbut_id, float w, float h, char ok, char cancel, char no,
                     MWinPopupResultCallback cb, void* user);

// Button callbacks; the user pointer is the toolkit object.
void MWinPopupOkCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
void MWinPopupCancelCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
void MWinPopupNoCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
void MWinPopupExtraCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
void MWinPopupGetTextCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
void MWinPopupPanelCallback(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user);
