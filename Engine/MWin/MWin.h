// The toolkit object: owns the desktop, the texture and font tables and the
// settings; routes input, ticks, draws and runs the one-slot message queue.
#pragma once

#include "EngDevice.h"
#include "EngTexture.h"
#include "EngTypes.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "MWinColour.h"
#include "MWinSettings.h"
#include "MWinUtil.h"

class Game;
class EngFont;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinFonts;
class MWinScreens;
class MWinTextures;
class MWinWindow;
struct _MWinButtonCallbackInfo;

// Popup callbacks (also declared in MWinPopup.h).
typedef void (*MWinPopupResultCallback)(MWin* mwin, char result, void* user);
typedef void (*MWinPopupPanelChoiceCallback)(MWin* mwin, int pos, void* user);
typedef const char* (*MWinPopupPanelStringsCallback)(int, MWinButton*, void*);

// The popup state the toolkit keeps.
struct _MWinPopupState
{
    char on;
    MWinCollection* collection;
};

class MWin
{
public:
    explicit MWin(Game* game);
    ~MWin();
    MWin(const MWin&) = delete;
    MWin& operator=(const MWin&) = delete;

    // Life.
    char Startup();
    char Shutdown();
    void Destroy();
    char IsOn();
    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();

    // Screens.
    void SetScreens(MWinScreens** screens);
    // Forgets the screen set when it is the one held (its destructor calls this).
    void ClearScreens(MWinScreens* screens);
    char HasScreens() const { return screens != nullptr; }
    MWinScreens* GetScreens();
    // Shortcuts to the registered screen set (GetScreens: fatal without one).
    void GotoScreen(unsigned code);
    void GoBackToPreviousScreen();
    void StartScreensAtScreen(unsigned code, char start_gui);
    char AreScreensOn();
    unsigned GetCurrentScreen();
    unsigned GetPreviousScreen();
    unsigned GetFromScreen();

    // Accessors.
    MWinDesktop* GetDesktop() { return desktop; }
    MWinTextures* GetTextures() { return textures; }
    MWinFonts* GetFonts() { return fonts; }
    Game* GetGame();
    void GetSettings(_MWinSettings* out);
    _MWinSettings* GetSettings() { return &settings; }
    void SetSettings(const _MWinSettings* in);
    MWinLayoutSettings* GetLayoutSettings();
    MWinLayoutSettings* GetLayoutSettings(_EngLayout layout);
    void AllowInput(char on) { input_allowed = on; }
    void AllowKeyboardInput(char on) { keyboard_allowed = on; }
    char IsInputAllowed() const { return input_allowed; }
    void SetSoundPlayCallback(MWinSoundPlayCB fn, void* user);
    void SetGetCursorPosCB(MWinGetCursorPosCB fn, void* user1, void* user2);
    void SetControlledFromMainSettings(char a, char b, char c, char d);
    char GetCropButtons() const { return crop_buttons; }
    void SetCropButtons(char on) { crop_buttons = on; }
    char GetTextureLoadOption() const { return texture_load_option; }
    char GetAutoResizeDefault() const { return auto_resize_default; }
    void SetAutoResizeDefault(char on) { auto_resize_default = on; }
    _MWinHueEntry* GetHueTable() { return hue_table; }

    // Settings and the standard skin.
    void SetStandardButtonsWidthAndHeightAndMargins(float w, float h, float mx, float my);
    void SetupStandardSettings(char full);
    char SetupDefaultFont();
    char SetupDefaultTextures(const char* file);

    // Background clearing.
    char SetClearMethod(_MWinClearMethod method, const char* file);
    char CreateBgClearImage();
    _MWinClearMethod GetClearMethod() const { return settings.clear_method; }

    // Layout and language.
    void SetScreenLayout(_EngLayout layout);
    _EngLayout GetScreenLayout() const { return layout; }
    void UpdateOrientation();
    void NewLanguageSet();
    char IsTextBeingEdited();
    void WindowResized();
    void GetVirtualSize(float* w, float* h);

    void PlaySound(_MWinSoundEvent event);
    void RenderNeeded();

    // Look-ups.
    MWinCollection* GetCollectionFromID(const char* id, char report);
    MWinWindow* GetWindowFromIDs(const char* collection, const char* window, char report);
    MWinButton* GetButtonFromIDs(const char* collection, const char* window, const char* button, char report);
    char SetButtonCallback(const char* collection, const char* window, const char* button,
                           void (*fn)(MWin*, _MWinButtonCallbackInfo*, int, int), int a, int b);

    // Text drawing (font -1 standard, 0-7 user, -2 none).
    void RenderTextPart(int font, _MWinTextAlign align, float margin, float x, float y, float w, float h,
                        const _Dimension* offset, const char* text, int count, char, char orient,
                        char shrink);
    void RenderText(int font, _MWinTextAlign align, float margin, float x, float y, float w, float h,
                    const _Dimension* offset, const char* text, char, char orient, char shrink);
    void RenderText(int font, _MWinTextAlign align, float margin, const _Dimension* area,
                    const _Dimension* offset, const char* text, char, char orient, char shrink);
    void RenderMultilineText(int font, _MWinTextAlign align, float margin, const _Dimension* area,
                             const _Dimension* offset, const char* text, char, char orient, char);

    // Mouse.
    char GetMousePos(float* x, float* y);
    void GetViewportMousePos(float* x, float* y);
    void SetCurrentActiveViewport(const _EngDeviceViewport* v);
    void UpdateViewportMousePos();
    char IsMouseViewportCursorInArea(const _Dimension* area, const _Dimension* offset);
    char IsMouseScreenCursorInArea(const _Dimension* area, const _Dimension* offset);
    char IsMouseCursorInViewport(const _EngDeviceViewport* v);
    // Sets the mouse position in the 640 x 480 space directly (tests, tools).
    void SetMousePosRatioed(float x, float y);

    // Input.
    char ProcessInput(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2);
    char MoveMouse(int x, int y);
    char ButtonPressed(char button, char down, char third);
    char ButtonDoubleClicked(char button);
    char MouseWheelMoved(int delta);
    char KeyDown(int key);
    char KeyUp(int key);
    char KeyDownUChar(unsigned char c);
    void CancelMouseButtonDown();
    void WindowDeactivated();
    // 0 for a mouse-button event that goes on from a click made before the
    // last screen change: a press the platform counts as the next click of a
    // sequence begun there, a double click, the release of a dropped press or
    // of a press made there. Such events reach nothing. An application that
    // takes input before ProcessInput asks first; asking twice about one
    // event gives the same answer.
    char ClickIsForThisScreen(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2);
    // The screen changed: the clicks in progress stay with the old one.
    void ScreenChanged();

    // Frame.
    char Tick2();
    char AddMessageToQueue(const char* collection, const char* window, const char* button,
                           _MWinMessageNum number);
    char ProcessQueueMessages();
    int GetNumQueuedMessages() const { return queue_count; }
    void RenderMain();
    char RenderPopups();
    void ButtonsChanged();

    // Colour picker graphics.
    void ColourCreateGraphics();
    void ColourDestroyGraphics();

    // Popup state.
    void PopupInit();
    char PopupIsOn();
    void PopupTurnOff();
    char PopupCreateCollection();
    void PopupCloseCollection();
    MWinCollection* GetPopupCollection() { return popup.collection; }

    // Popups (the MWinPopup... functions of MWinPopup.h on this toolkit).
    void PopupSetupTexturesAndFonts(const char* back, const char* title_tb, const char* title_font,
                                    const char* button_tb, const char* button_font, float f1, float f2,
                                    float f3, float f4, float f5, float f6, float f7, float f8, float f9,
                                    float f10, float f11, float f12, _MWinTextAlign align);
    void PopupSetupTexturesAndFonts(const char* back, const char* title_tb, const char* title_font,
                                    const char* button_tb, const char* button_font);
    void PopupSetupTexturesAndFonts(const char* back, const char* texbut, const char* font);
    void PopupSetupButtonSizes(float min_box_w, float max_box_w, float button_w, float button_h);
    void PopupSetupButtonWidths(float w);
    void PopupSetSizeOfBoxForNextPopup(float w, float h);
    void PopupSetGoodColoursForNextPopup();
    void PopupSetErrorColoursForNextPopup();
    void PopupDontLetNextPopupDarkenScreen();
    void PopupChangeButtonTextsForNextPopup(const char* ok, const char* cancel);
    void PopupChangeButtonTextsForNextPopup(const char* ok, const char* no, const char* cancel);
    char PopupChangeButtonTextsForNextPopup(const char* ok, const char* no, const char* cancel,
                                            const char* extra);
    MWinWindow* PopupGetWindow();
    MWinButton* PopupGetButton(int slot);
    void PopupSetTransparency(float t);
    void PopupSetWindowYPos(float y);
    char PopupSetupDefaultButtons(const char* title, const char* message, char ok, char cancel, char no,
                                  char extra, float extra_w, float extra_h);
    char PopupSetupButton(MWinButton* b);
    char PopupCompleteSetup(MWinPopupResultCallback cb, void* user);
    char PopupMessage(const char* title, const char* message, MWinPopupResultCallback cb, void* user);
    char PopupMessage(const char* title, const char* message);
    char PopupMessage(const char* message);
    char PopupErrorMessage(const char* title, const char* message, MWinPopupResultCallback cb, void* user);
    char PopupErrorMessage(const char* title, const char* message);
    char PopupErrorMessage(const char* message);
    char PopupOkCancel(const char* title, const char* message, MWinPopupResultCallback cb, void* user);
    char PopupYesNo(const char* title, const char* message, MWinPopupResultCallback cb, void* user);
    char PopupYesNoCancel(const char* title, const char* message, MWinPopupResultCallback cb, void* user);
    char PopupYesNoCancelExtra(const char* title, const char* message, MWinPopupResultCallback cb,
                               void* user);
    char PopupNotice(const char* title, const char* message);
    char PopupNoticeShowItAndRemoveIt(const char* title, const char* message);
    char PopupNoticeForTime(const char* title, const char* message, double seconds, char fade);
    char PopupGetText(const char* title, const char* message, char* text, int length,
                      MWinPopupResultCallback cb, void* user);
    char PopupPanel(const char* title, const char* message, int count, int visible, float w, float h,
                    MWinPopupPanelStringsCallback strings, char ok, int** selection,
                    MWinPopupPanelChoiceCallback choice, MWinPopupResultCallback cb, void* user);
    char PopupScript(const char* title, const char* message, char* script_text, const char* texbut_id,
                     float w, float h, char ok, char cancel, char no, MWinPopupResultCallback cb, void* user);

private:
    // Takes the cursor into the screen and viewport mouse; x, y get its window pixels.
    void ReadCursorPos(int* x, int* y);

    Game* program;
    char queue_collection[MWIN_ID_SIZE] = {};
    char queue_window[MWIN_ID_SIZE] = {};
    char queue_button[MWIN_ID_SIZE] = {};
    _MWinMessageNum queue_number = 0;
    EngInt32 queue_count = 0;
    char input_allowed = 1;
    // Per mouse button: a click sequence begun before the screen change, a
    // release to drop, held down.
    char click_from_old_screen[3] = {};
    char drop_release[3] = {};
    char button_held[3] = {};
    char keyboard_allowed = 1;
    _EngLayout layout = 0;
    MWinSoundPlayCB sound_cb = nullptr;
    void* sound_user = nullptr;
    char crop_buttons = 1;
    MWinScreens* screens = nullptr;
    _MWinPopupState popup = {};
    _MWinSettings settings;
    char is_on = 0;
    MWinDesktop* desktop = nullptr;
    MWinTextures* textures = nullptr;
    MWinFonts* fonts = nullptr;
    EngTexture bg_clear;
    float screen_mouse_x = 0, screen_mouse_y = 0;
    float viewport_mouse_x = 0, viewport_mouse_y = 0;
    char viewport_active = 0;
    _EngDeviceViewport active_viewport = {0, 0, 0, 0, 0, 1.0f};
    float std_button_w = 12, std_button_h = 12;
    float std_margin_x = 3, std_margin_y = 3;
    char texture_load_option = 2;
    char auto_resize_default = 1;
    MWinGetCursorPosCB cursor_cb = nullptr;
    void* cursor_user1 = nullptr;
    void* cursor_user2 = nullptr;
    _MWinHueEntry hue_table[MWIN_HUE_TABLE_SIZE] = {};
};

// A popup result callback that closes the program on result 0.
char MWinCloseProgramCB(char result, void* user);
