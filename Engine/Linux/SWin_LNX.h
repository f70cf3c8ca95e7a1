// The native dialog kit's GTK 3 backend. GTK starts on the first window,
// with the process locale left alone.
#pragma once

#include "SWin.h"

class SWinGtkBackend : public SWinBackend
{
public:
    char Start() override;
    char GetDesktopSize(int* w, int* h) override;
    void* CreateWindow(SWin* owner, int x, int y, int w, int h, const char* title) override;
    void DestroyWindow(void* window) override;
    void* CreateControl(void* window, SWin* owner, int index, _SWinButtonType kind, int x, int y, int w, int h,
                        const char* text) override;
    void DestroyControl(void* control) override;
    char SetText(void* control, _SWinButtonType kind, const char* text) override;
    char GetText(void* control, _SWinButtonType kind, std::string* out) override;
    char SetTextAlign(void* control, _SWinButtonType kind, _SWinTextAlign align) override;
    void Enable(void* control, char on) override;
    void Show(void* control, char on) override;
    void Move(void* control, _SWinButtonType kind, int x, int y, int w, int h) override;
    char SetListEntries(void* control, const std::vector<std::string>& texts) override;
    void SetListSel(void* control, int sel) override;
    int GetListSel(void* control) override;
    char SetPicture(void* control, const char* path) override;
    void SetDefaultButton(void* window, void* control) override;
    void RunLoop() override;
    void QuitLoop() override;
    char Pump() override;

private:
    bool tried = false, started = false;
};
