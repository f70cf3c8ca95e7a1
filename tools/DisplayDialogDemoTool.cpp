// Runs the display-settings dialog as the game shows it before its window
// opens, for a look (and screenshots). Usage: DisplayDialogDemoTool [seconds]
// With seconds the dialog closes by itself after that long, else it runs until
// "Start" or a close. Nothing is saved; the choice is printed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "PrefFolder.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/Resolution.h"
#include "game/ResolutionDialog.h"

namespace
{

// The platform's dialogs, with a loop that also ends after a time.
class TimedBackend : public SWinBackend
{
public:
    TimedBackend(SWinBackend* real, double seconds) : real(real), seconds(seconds) {}

    char Start() override { return real->Start(); }
    char GetDesktopSize(int* w, int* h) override { return real->GetDesktopSize(w, h); }
    void* CreateWindow(SWin* owner, int x, int y, int w, int h, const char* title) override
    {
        return real->CreateWindow(owner, x, y, w, h, title);
    }
    void DestroyWindow(void* window) override { real->DestroyWindow(window); }
    void* CreateControl(void* window, SWin* owner, int index, _SWinButtonType kind, int x, int y, int w, int h,
                        const char* text) override
    {
        return real->CreateControl(window, owner, index, kind, x, y, w, h, text);
    }
    void DestroyControl(void* c) override { real->DestroyControl(c); }
    char SetText(void* c, _SWinButtonType kind, const char* text) override { return real->SetText(c, kind, text); }
    char GetText(void* c, _SWinButtonType kind, std::string* out) override { return real->GetText(c, kind, out); }
    char SetTextAlign(void* c, _SWinButtonType kind, _SWinTextAlign align) override
    {
        return real->SetTextAlign(c, kind, align);
    }
    void Enable(void* c, char on) override { real->Enable(c, on); }
    void Show(void* c, char on) override { real->Show(c, on); }
    void Move(void* c, _SWinButtonType kind, int x, int y, int w, int h) override { real->Move(c, kind, x, y, w, h); }
    char SetListEntries(void* c, const std::vector<std::string>& texts) override
    {
        return real->SetListEntries(c, texts);
    }
    void SetListSel(void* c, int sel) override { real->SetListSel(c, sel); }
    int GetListSel(void* c) override { return real->GetListSel(c); }
    char SetPicture(void* c, const char* path) override { return real->SetPicture(c, path); }
    void SetDefaultButton(void* window, void* c) override { real->SetDefaultButton(window, c); }
    void RunLoop() override
    {
        quit = false;
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!quit && std::chrono::steady_clock::now() < end)
            if (!real->Pump())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    void QuitLoop() override { quit = true; }
    char Pump() override { return real->Pump(); }

private:
    SWinBackend* real;
    double seconds;
    bool quit = false;
};

} // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 0.0;
    eng_main_device_type = 1;
    PrefFolderSetup("Kestrelbay Vizavu", 0, nullptr, 1);

    TimedBackend timed(SWinGetPlatformBackend(), seconds);
    if (seconds > 0)
        SWinSetBackend(&timed);
    signed char result = ResolutionShowAndRunWindow();
    SWinSetBackend(nullptr);

    const _EngCreateWindowParms* p = MainGetCreateWindowParms();
    printf("result %d: %s %d x %d x %d, %d Hz, anti-aliasing %d\n", int(result), p->windowed ? "windowed" : "full screen",
           int(p->width), int(p->height), int(p->bpp), int(p->frequency), int(p->aa));
    return result == 0 ? 1 : 0;
}
