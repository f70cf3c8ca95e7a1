// The root of the toolkit's tree: an ordered list of collections.
#pragma once

#include "EngTypes.h"
#include "MWinUtil.h"

class MWin;
class MWinCollection;
class MWinWindow;

class MWinDesktop
{
public:
    explicit MWinDesktop(MWin* mwin);
    ~MWinDesktop();
    MWinDesktop(const MWinDesktop&) = delete;
    MWinDesktop& operator=(const MWinDesktop&) = delete;

    MWinCollection* AddCollection(const char* id);
    MWinCollection* GetCollectionFromID(const char* id, char report);
    char DoesCollectionExist(const char* id);
    char RemoveCollection(const char* id);
    void RemoveAllCollections();
    char SetActiveCollection(const char* id);
    MWinCollection* GetActiveCollection();
    MWinWindow* GetActiveWindow();
    MWinButton* GetActiveButton();
    MWinCollection* GetFirstCollection() { return first; }
    int GetNumCollections();

    char Tick();
    void RenderAllExceptPopupCollection();
    char RenderPopupCollection();

    void ActivateCollectionUnderMouse();
    char DoActivateCollectionUnderMouse();
    char HandleButtonPressed(char button, char down, char third);
    char HandleMouseButtonDoubleClicked(char button);
    char HandleMouseWheel(int delta);
    char HandleMouseMove();
    char HandleKeyDown(int key);
    char HandleKeyUp(int key);
    char HandleKeyDownUChar(unsigned char c);

    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    char CreateBgTextures();
    void DestroyBgTextures();

    char IsAlive() const { return alive == 1; }
    MWin* GetMWin() { return mwin; }

    char darken = 0;
    float darken_level = 0.5f;

private:
    friend class MWinCollection;
    MWinButton* OpenListButton();
    MWinCollection* LastCollectionUnderMouse();
    // Sends a keyboard-like event to every active collection; stops safely when
    // a callback removed the collection. kind: 0 double click, 1 wheel,
    // 2 key down, 3 key up, 4 character.
    char SendToActiveCollections(int kind, int value);

    EngInt32 alive = 1;
    MWin* mwin;
    MWinCollection* first = nullptr;
};
