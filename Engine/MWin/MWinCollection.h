// A collection: one screen or layer, with a window list per screen layout.
#pragma once

#include "EngDevice.h"
#include "EngTexture.h"
#include "EngTypes.h"
#include "EngWhichDevice.h"
#include "MWinUtil.h"

class MWin;
class MWinDesktop;
class MWinWindow;
struct _MWinWindowCreateInfo;

class MWinCollection
{
public:
    MWinCollection(MWin* mwin, const char* id, MWinDesktop* desktop);
    ~MWinCollection();
    MWinCollection(const MWinCollection&) = delete;
    MWinCollection& operator=(const MWinCollection&) = delete;

    void Activate();
    void Deactivate();
    char IsActive() const { return active; }
    void EnableInput() { input_enabled = 1; }
    void DisableInput() { input_enabled = 0; }
    char IsInputEnabled() const { return input_enabled; }
    char IsModal() const { return modal; }

    void SetScreenLayout(_EngLayout layout);
    _EngLayout GetScreenLayout();

    MWinWindow* AddWindow(const char* id, _MWinWindowCreateInfo* info);
    char RemoveWindow(MWinWindow* w);
    void RemoveAllWindows();
    void WindowsChanged();
    MWinWindow* GetWindowFromID(const char* id, char report);
    MWinButton* GetButtonFromIDs(const char* window, const char* button, char report);
    MWinButton* GetButtonFromIDs(const char* window, const char* button)
    {
        return GetButtonFromIDs(window, button, 1);
    }
    MWinWindow* GetActiveWindow();
    int GetNumWindows();
    MWinWindow* GetNthWindow(int n);
    MWinWindow* GetFirstWindow(); // of the current list
    MWinWindow* GetFirstWindowOfLayout(int layout);

    char SetViewportRatioed(int x, int y, int w, int h, char below_menu_bar);
    char SetOverallAreaToSizeOfFirstWindow();
    char SetOverallAreaToSizeOfNthWindow(int n);
    void SetArea(float x, float y, float w, float h);
    char HasArea() const { return has_area; }
    _Dimension* GetArea() { return &area; }
    void CollectionSetAutoResizeFlag(char on);
    char IsCollectionAutoResizeOn() const { return auto_resize; }

    char SetBackgroundTextureFilename(const char* file, char o1, char o2, char o3);
    char CreateBgTexture();
    void DestroyBgTexture();
    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    void RenderTexture(EngTexture* t, float x, float y, float w, float h);

    char Tick();
    void Render();

    char HandleButtonPressed(char button, char down, char third);
    char HandleMouseMove();
    char HandleMouseButtonDoubleClicked(char button);
    char HandleMouseWheel(int delta);
    char HandleKeyDown(int key);
    char HandleKeyUp(int key);
    char HandleKeyDownUChar(unsigned char c);
    void ActivateWindowUnderMouse();

    const char* GetID() const { return id; }
    char* GetIDP() { return id; }
    MWin* GetMWin() { return mwin; }
    MWinDesktop* GetDesktop() { return desktop; }
    MWinCollection* GetNext() { return next; }
    MWinCollection* GetPrev() { return prev; }
    void SetEscapeWindow(MWinWindow* w) { escape_window = w; }
    MWinWindow* GetEscapeWindow() { return escape_window; }

    // Saved and restored by the popup code.
    EngInt32 popup_word = 0;

private:
    friend class MWinDesktop;
    friend class MWinWindow;
    // Hands a key event to the active window; 0 when there is none.
    template <class Send>
    char SendToActiveWindow(Send send);
    void ValidateLayout();
    MWinWindow*& ListHead() { return windows[layout]; }
    void DeleteWindowList(int layout);

    char active = 0;
    char bg_file[256] = {};
    char bg_options[3] = {};
    EngTexture bg_texture;
    char input_enabled = 1;
    _EngLayout layout = 0;
    char layout_set = 0;
    char modal = 0;
    MWin* mwin;
    MWinDesktop* desktop;
    char id[MWIN_ID_SIZE] = {};
    MWinWindow* windows[5] = {};
    MWinCollection* next = nullptr;
    MWinCollection* prev = nullptr;
    char viewport_set = 0;
    _EngDeviceViewport viewport = {};
    _EngDeviceViewport viewport_ratioed = {};
    char has_area = 0;
    _Dimension area = {0, 0, 640, 480};
    char auto_resize = 1;
    MWinWindow* escape_window = nullptr;
};
