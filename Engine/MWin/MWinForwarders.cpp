// Member forms of the popup functions and of the window factories that live
// beside their widget classes.
#include "MWin.h"
#include "MWinFrame.h"
#include "MWinGraph.h"
#include "MWinPopup.h"
#include "MWinStyledText.h"
#include "MWinTabPanel.h"
#include "MWinVertScrollbar.h"
#include "MWinWindow.h"

// ---------------------------------------------------------------------------
// Popups.

void MWin::PopupSetupTexturesAndFonts(const char* back, const char* title_tb, const char* title_font,
                                      const char* button_tb, const char* button_font, float f1, float f2,
                                      float f3, float f4, float f5, float f6, float f7, float f8, float f9,
                                      float f10, float f11, float f12, _MWinTextAlign align)
{
    MWinPopupSetupTexturesAndFonts(this, back, title_tb, title_font, button_tb, button_font, f1, f2, f3, f4,
                                   f5, f6, f7, f8, f9, f10, f11, f12, align);
}

void MWin::PopupSetupTexturesAndFonts(const char* back, const char* title_tb, const char* title_font,
                                      const char* button_tb, const char* button_font)
{
    MWinPopupSetupTexturesAndFonts(this, back, title_tb, title_font, button_tb, button_font);
}

void MWin::PopupSetupTexturesAndFonts(const char* back, const char* texbut, const char* font)
{
    MWinPopupSetupTexturesAndFonts(this, back, texbut, font);
}

void MWin::PopupSetupButtonSizes(float min_box_w, float max_box_w, float button_w, float button_h)
{
    MWinPopupSetupButtonSizes(this, min_box_w, max_box_w, button_w, button_h);
}

void MWin::PopupSetupButtonWidths(float w)
{
    MWinPopupSetupButtonWidths(this, w);
}
void MWin::PopupSetSizeOfBoxForNextPopup(float w, float h)
{
    MWinPopupSetSizeOfBoxForNextPopup(this, w, h);
}
void MWin::PopupSetGoodColoursForNextPopup()
{
    MWinPopupSetGoodColoursForNextPopup(this);
}
void MWin::PopupSetErrorColoursForNextPopup()
{
    MWinPopupSetErrorColoursForNextPopup(this);
}
void MWin::PopupDontLetNextPopupDarkenScreen()
{
    MWinPopupDontLetNextPopupDarkenScreen(this);
}

void MWin::PopupChangeButtonTextsForNextPopup(const char* ok, const char* cancel)
{
    MWinPopupChangeButtonTextsForNextPopup(this, ok, cancel);
}

void MWin::PopupChangeButtonTextsForNextPopup(const char* ok, const char* no, const char* cancel)
{
    MWinPopupChangeButtonTextsForNextPopup(this, ok, no, cancel);
}

char MWin::PopupChangeButtonTextsForNextPopup(const char* ok, const char* no, const char* cancel,
                                              const char* extra)
{
    return MWinPopupChangeButtonTextsForNextPopup(this, ok, no, cancel, extra);
}

MWinWindow* MWin::PopupGetWindow()
{
    return MWinPopupGetWindow(this);
}
MWinButton* MWin::PopupGetButton(int slot)
{
    return MWinPopupGetButton(this, slot);
}
void MWin::PopupSetTransparency(float t)
{
    MWinPopupSetTransparency(this, t);
}
void MWin::PopupSetWindowYPos(float y)
{
    MWinPopupSetWindowYPos(this, y);
}

char MWin::PopupSetupDefaultButtons(const char* title, const char* message, char ok, char cancel, char no,
                                    char extra, float extra_w, float extra_h)
{
    return MWinPopupSetupDefaultButtons(this, title, message, ok, cancel, no, extra, extra_w, extra_h);
}

char MWin::PopupSetupButton(MWinButton* b)
{
    return MWinPopupSetupButton(this, b);
}
char MWin::PopupCompleteSetup(MWinPopupResultCallback cb, void* user)
{
    return MWinPopupCompleteSetup(this, cb, user);
}

char MWin::PopupMessage(const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupMessage(this, title, message, cb, user);
}

char MWin::PopupMessage(const char* title, const char* message)
{
    return MWinPopupMessage(this, title, message);
}
char MWin::PopupMessage(const char* message)
{
    return MWinPopupMessage(this, message);
}

char MWin::PopupErrorMessage(const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupErrorMessage(this, title, message, cb, user);
}

char MWin::PopupErrorMessage(const char* title, const char* message)
{
    return MWinPopupErrorMessage(this, title, message);
}

char MWin::PopupErrorMessage(const char* message)
{
    return MWinPopupErrorMessage(this, message);
}

char MWin::PopupOkCancel(const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupOkCancel(this, title, message, cb, user);
}

char MWin::PopupYesNo(const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupYesNo(this, title, message, cb, user);
}

char MWin::PopupYesNoCancel(const char* title, const char* message, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupYesNoCancel(this, title, message, cb, user);
}

char MWin::PopupYesNoCancelExtra(const char* title, const char* message, MWinPopupResultCallback cb,
                                 void* user)
{
    return MWinPopupYesNoCancelExtra(this, title, message, cb, user);
}

char MWin::PopupNotice(const char* title, const char* message)
{
    return MWinPopupNotice(this, title, message);
}

char MWin::PopupNoticeShowItAndRemoveIt(const char* title, const char* message)
{
    return MWinPopupNoticeShowItAndRemoveIt(this, title, message);
}

char MWin::PopupNoticeForTime(const char* title, const char* message, double seconds, char fade)
{
    return MWinPopupNoticeForTime(this, title, message, seconds, fade);
}

char MWin::PopupGetText(const char* title, const char* message, char* text, int length,
                        MWinPopupResultCallback cb, void* user)
{
    return MWinPopupGetText(this, title, message, text, length, cb, user);
}

char MWin::PopupPanel(const char* title, const char* message, int count, int visible, float w, float h,
                      MWinPopupPanelStringsCallback strings, char ok, int** selection,
                      MWinPopupPanelChoiceCallback choice, MWinPopupResultCallback cb, void* user)
{
    return MWinPopupPanel(this, title, message, count, visible, w, h, strings, ok, selection, choice, cb,
                          user);
}

char MWin::PopupScript(const char* title, const char* message, char* script_text, const char* texbut_id,
                       float w, float h, char ok, char cancel, char no, MWinPopupResultCallback cb,
                       void* user)
{
    return MWinPopupScript(this, title, message, script_text, texbut_id, w, h, ok, cancel, no, cb, user);
}

// ---------------------------------------------------------------------------
// Window factories.

MWinVertScrollbar* MWinWindow::AddVertScrollbar(const char* bid, const char* texbut, const char* text,
                                                float x, float y, float w, float h)
{
    return MWinWindowAddVertScrollbar(this, bid, texbut, text, x, y, w, h);
}

MWinFrameButton* MWinWindow::AddBackButton(const char* bid, const char* texbut, const char* text, float x,
                                           float y, float w, float h)
{
    return MWinWindowAddBackButton(this, bid, texbut, text, x, y, w, h);
}

MWinGraph* MWinWindow::AddGraph(const char* bid, const char* texbut, float x, float y, float w, float h)
{
    return MWinWindowAddGraph(this, bid, texbut, x, y, w, h);
}

MWinTabPanel* MWinWindow::AddTabPanel(const char* bid, const char* texbut, float x, float y, float w, float h)
{
    return MWinWindowAddTabPanel(this, bid, texbut, x, y, w, h);
}

MWinScriptButton* MWinWindow::AddScriptButton(const char* bid, const char* texbut, float x, float y, float w,
                                              float h)
{
    return MWinWindowAddScriptButton(this, bid, texbut, x, y, w, h);
}
