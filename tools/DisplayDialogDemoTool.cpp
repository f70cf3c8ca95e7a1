// Lays out the display-settings dialog's controls in a native window, for a
// look at the rows. Usage: DisplayDialogDemoTool [seconds [picture.png]]
// With seconds the window stays that long, else until "Start" or a close.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "EngDebug.h"
#include "SWin.h"

// The dialog's title comes from the game's name.
const char* MainGetGameName()
{
    return "Kestrelbay' Vizavu";
}

namespace
{

void StartCB(SWin* w)
{
    w->QuitWindowLoop();
}

int Add(int i, const char* name)
{
    if (i < 0)
        fprintf(stderr, "Could not add button <%s>\n", name);
    return i;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 0.0;
    const char* picture = argc > 2 ? argv[2] : "TitleButton.png";

    SWin win;
    _SWinCreateInfo info = {};
    info.x = -1;
    info.y = -1;
    info.width = 592;
    info.height = 418;
    if (!win.CreateMainWindow(&info))
    {
        fprintf(stderr, "Could not create main window\n");
        return 1;
    }

    // In the order the dialog adds them.
    int version = Add(win.AddTextButtonToWindow(194, 124, 203, 20, "Version N.N", SWIN_ALIGN_CENTRE), "version");
    int res_frame = Add(win.AddGroupFrameToWindow(16, 166, 352, 139, "Resolution"), "res_frame");
    char modes[2][SWIN_STR_SIZE] = {"Fullscreen", "Windowed"};
    int mode = Add(win.AddChoiceButtonToWindow(140, 183, 208, 20, 2, modes, nullptr), "mode");
    int mode_t = Add(win.AddTextButtonToWindow(32, 183, 96, 20, "Mode:", SWIN_ALIGN_RIGHT), "mode_t");
    int res_t = Add(win.AddTextButtonToWindow(32, 213, 96, 20, "Screen Size:", SWIN_ALIGN_RIGHT), "res_t");
    char sizes[4][SWIN_STR_SIZE] = {"1280 x 1024 x 32", "1024 x 768 x 32", "800 x 600 x 32", "640 x 480 x 32"};
    int res = Add(win.AddListButtonToWindow(140, 213, 168, 20, 4, sizes, nullptr), "res");
    int freq_t = Add(win.AddTextButtonToWindow(32, 243, 96, 20, "Frequency:", SWIN_ALIGN_RIGHT), "freq_t");
    char rates[2][SWIN_STR_SIZE] = {"60 Hz", "75 Hz"};
    int freq = Add(win.AddListButtonToWindow(140, 243, 168, 20, 2, rates, nullptr), "freq");
    int aa_t = Add(win.AddTextButtonToWindow(32, 274, 96, 20, "Anti-Aliasing:", SWIN_ALIGN_RIGHT), "aa_t");
    char aas[3][SWIN_STR_SIZE] = {"Off", "Normal [2x2]", "Strong [4x4]"};
    int aa = Add(win.AddListButtonToWindow(140, 274, 168, 20, 3, aas, nullptr), "aa");
    int aa_info = Add(win.AddPushButtonToWindow(320, 274, 32, 20, "?", nullptr), "aa_info");
    int pic = Add(win.AddButtonToWindow(SWIN_BUT_PICTURE, 16, 8, 560, 108, ""), "pic");
    Add(win.AddGroupFrameToWindow(384, 166, 192, 139, "Misc."), "misc_frame");
    int sync_t = Add(win.AddTextButtonToWindow(421, 251, 120, 20, "Mouse Sync.", SWIN_ALIGN_CENTRE), "sync_t");
    int cursor_t = Add(win.AddTextButtonToWindow(421, 191, 120, 20, "Cursor Type", SWIN_ALIGN_CENTRE), "cursor_t");
    int cursor_info = Add(win.AddPushButtonToWindow(528, 211, 32, 24, "?", nullptr), "cursor_info");
    int sync_info = Add(win.AddPushButtonToWindow(528, 271, 32, 24, "?", nullptr), "sync_info");
    int cursor = Add(win.AddButtonToWindow(SWIN_BUT_POPUP, 400, 211, 120, 24, ""), "cursor");
    int sync = Add(win.AddButtonToWindow(SWIN_BUT_POPUP, 400, 271, 120, 24, ""), "sync");
    Add(win.AddPushButtonToWindow(403, 124, 173, 20, "Check for new version", nullptr), "new_version");
    int ok = Add(win.AddPushButtonToWindow(209, 344, 173, 20, "Start", StartCB), "ok");
    if (ok < 0)
        return 1;
    (void)res_frame;

    if (!win.PictureSetFromFile(pic, picture))
        fprintf(stderr, "No picture <%s>: the picture row stays empty\n", picture);
    char text[32];
    snprintf(text, sizeof(text), "Version %.2f", 1.21);
    win.SetButtonText(version, text);

    for (int i : {cursor, sync, cursor_t, sync_t, cursor_info, sync_info})
        win.HideButton(i);

    // The settings column, centred.
    int w = 0;
    win.GetSize(&w, nullptr);
    int m = w / 2;
    for (int i : {mode, res, freq, aa})
        win.MoveButton(i, m - 100, -1, 200, -1);
    for (int i : {mode_t, res_t, freq_t, aa_t})
        win.MoveButton(i, m - 210, -1, 100, -1);
    win.MoveButton(aa_info, m + 120, -1, -1, -1);
    win.SetDefaultPushButton(ok);

    if (seconds > 0)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end && win.ProcessAnyWindowsMessages())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    else
        win.RunWindowLoop();
    win.DestroyMainWindow();
    return 0;
}
