// The native dialog kit's logic: geometry, slots, bound variables, callbacks
// and the quit state. Drawing and events belong to the backend.
#include "SWin.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngMain.h"

// The game's display title, used as the window title.
const char* MainGetGameName();

namespace
{
SWinBackend* cswin_backend = nullptr;

bool IsRegularFile(const char* path)
{
    struct stat st;
    return path && *path && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}
} // namespace

void SWinSetBackend(SWinBackend* backend)
{
    cswin_backend = backend;
}

SWinBackend* SWinGetBackend()
{
    return cswin_backend ? cswin_backend : SWinGetPlatformBackend();
}

SWin::SWin()
    : created(0), x(0), y(0), width(0), height(0), font_scale(1.0f), quit(0), count(0), backend(nullptr),
      window(nullptr), loop_running(0)
{
    memset(buttons, 0, sizeof(buttons));
}

SWin::~SWin()
{
    if (created)
        DestroyMainWindow();
}

void SWin::SetFontScale(float scale)
{
    if (scale > 0.0f)
        font_scale = scale;
}

void SWin::AdjustSizeForFontScale(float* ax, float* ay, float* aw, float* ah, char is_window)
{
    if (font_scale <= 1.0f)
        return;
    *aw *= font_scale;
    *ah *= font_scale;
    if (is_window)
    {
        int dw = 0, dh = 0;
        if (backend)
            backend->GetDesktopSize(&dw, &dh);
        dh -= SWIN_MENU_BAR_ALLOWANCE;
        if (*ax >= 0)
            *ax = dw / 2.0f - (dw / 2.0f - *ax) * font_scale;
        if (*ay >= 0)
            *ay = dh / 2.0f - (dh / 2.0f - *ay) * font_scale;
    }
    else
    {
        if (*ax >= 0)
            *ax *= font_scale;
        if (*ay >= 0)
            *ay *= font_scale;
    }
}

char SWin::CreateMainWindow(_SWinCreateInfo* info)
{
    if (!DebugCheckOkAlt(info != nullptr, __PRETTY_FUNCTION__, "No info specified"))
        return 0;
    if (!DebugCheckOkAlt(!created, __PRETTY_FUNCTION__, "Window already created"))
        return 0;

    SWinBackend* b = SWinGetBackend();
    int dw = 0, dh = 0;
    if (!b || !b->Start() || !b->GetDesktopSize(&dw, &dh))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "CreateNewWindow() Failed");
        return 0;
    }
    dh -= SWIN_MENU_BAR_ALLOWANCE;

    float w = float(std::min(dw, int(info->width)));
    float h = float(std::min(int(info->height) - SWIN_TITLE_ALLOWANCE, dh));
    if (w < 1 || h < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid window size %d x %d", int(info->width), int(info->height));
        return 0;
    }
    float wx = info->x < 0 ? (dw - w) / 2 : float(info->x);
    float wy = info->y < 0 ? (dh - h) / 2 : float(info->y);
    if (wx + w > dw)
        wx = dw - w;
    if (wy + h > dh)
        wy = dh - h;

    backend = b;
    AdjustSizeForFontScale(&wx, &wy, &w, &h, 1);
    // Grown about the centre, it may reach past the desktop: back inside.
    w = std::min(w, float(dw));
    h = std::min(h, float(dh));
    wx = std::max(0.0f, std::min(wx, dw - w));
    wy = std::max(0.0f, std::min(wy, dh - h));
    x = wx;
    y = wy;
    width = w;
    height = h;

    const char* title = MainGetGameName();
    window = b->CreateWindow(this, int(x), int(y), int(width), int(height), title ? title : "");
    if (!window)
    {
        backend = nullptr;
        DebugErrorAlt(__PRETTY_FUNCTION__, "CreateNewWindow() Failed");
        return 0;
    }
    count = 0;
    memset(buttons, 0, sizeof(buttons));
    created = 1;
    quit = 0;
    loop_running = 0;
    return 1;
}

void SWin::HandleWindowDestroyed()
{
    if (!created)
        return;
    // As a close: the loop and the pump end, and the kit forgets the window.
    quit = 1;
    ForgetWindow();
}

void SWin::DestroyMainWindow()
{
    if (!DebugCheckOkAlt(created, __PRETTY_FUNCTION__, "No window"))
        return;
    backend->DestroyWindow(ForgetWindow());
}

void* SWin::ForgetWindow()
{
    // A loop left running would wait for a window that is gone.
    if (loop_running)
    {
        loop_running = 0;
        backend->QuitLoop();
    }
    created = 0;
    count = 0;
    memset(buttons, 0, sizeof(buttons));
    void* w = window;
    window = nullptr;
    return w;
}

char SWin::GetSize(int* w, int* h)
{
    if (!DebugCheckOkAlt(created, __PRETTY_FUNCTION__, "No window"))
        return 0;
    if (w)
        *w = int(width);
    if (h)
        *h = int(height);
    return 1;
}

_SWinButton* SWin::GetButton(int i, const char* func)
{
    if (!DebugCheckOkAlt(created, func, "No window"))
        return nullptr;
    if (!DebugCheckOkAlt(i >= 0 && i < count, func, "Invalid button %d", i))
        return nullptr;
    return &buttons[i];
}

_SWinButton* SWin::GetButton(int i, _SWinButtonType kind, const char* func)
{
    _SWinButton* b = GetButton(i, func);
    if (!b)
        return nullptr;
    const char* what = kind == SWIN_BUT_PUSH ? "push" : kind == SWIN_BUT_POPUP ? "list" : "picture";
    return DebugCheckOkAlt(b->kind == kind, func, "Not a %s button", what) ? b : nullptr;
}

int SWin::AddButtonToWindow(_SWinButtonType kind, int bx, int by, int bw, int bh, const char* text)
{
    if (!DebugCheckOkAlt(created, __PRETTY_FUNCTION__, "No window"))
        return -1;
    if (!DebugCheckOkAlt(count < SWIN_MAX_BUTTONS, __PRETTY_FUNCTION__, "Too many buttons"))
        return -1;
    switch (kind)
    {
    case SWIN_BUT_GROUP_FRAME:
        // Nothing is made: the frame has no index of its own.
        return 0;
    case SWIN_BUT_STATIC_TEXT:
    case SWIN_BUT_PUSH:
    case SWIN_BUT_EDIT_TEXT:
    case SWIN_BUT_POPUP:
    case SWIN_BUT_PICTURE:
        break;
    case SWIN_BUT_LIST:
        kind = SWIN_BUT_POPUP;
        break;
    default:
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown button type %d", int(kind));
        return -1;
    }

    // Placed in the unscaled layout, then grown with it.
    const float lw = font_scale > 1.0f ? width / font_scale : width;
    const float lh = font_scale > 1.0f ? height / font_scale : height;
    float w = std::max(0.0f, std::min(lw, float(bw)));
    float h = std::max(0.0f, std::min(lh, float(bh)));
    float fx = bx < 0 ? lw / 2 - w / 2 : float(bx);
    float fy = by < 0 ? lh / 2 - h / 2 : float(by);
    if (fx + w > lw)
        fx = lw - w;
    if (fy + h > lh)
        fy = lh - h;
    AdjustSizeForFontScale(&fx, &fy, &w, &h, 0);

    int index = count;
    _SWinButton* b = &buttons[index];
    memset(b, 0, sizeof(*b));
    b->kind = kind;
    b->x = int(fx);
    b->y = int(fy);
    b->width = int(w);
    b->height = int(h);
    b->control = backend->CreateControl(window, this, index, kind, b->x, b->y, b->width, b->height, text ? text : "");
    if (!b->control)
    {
        memset(b, 0, sizeof(*b));
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create button.");
        return -1;
    }
    count++;
    return index;
}

int SWin::DropLastButton(int i)
{
    if (i >= 0 && i == count - 1)
    {
        backend->DestroyControl(buttons[i].control);
        memset(&buttons[i], 0, sizeof(buttons[i]));
        count--;
    }
    return -1;
}

int SWin::AddGroupFrameToWindow(int bx, int by, int bw, int bh, const char* text)
{
    return AddButtonToWindow(SWIN_BUT_GROUP_FRAME, bx, by, bw, bh, text);
}

int SWin::AddTextButtonToWindow(int bx, int by, int bw, int bh, const char* text, _SWinTextAlign align)
{
    int i = AddButtonToWindow(SWIN_BUT_STATIC_TEXT, bx, by, bw, bh, text);
    // The control exists whatever the alignment does: its index stays valid.
    if (i >= 0)
        SetButtonTextAlign(i, align);
    return i;
}

int SWin::AddPushButtonToWindow(int bx, int by, int bw, int bh, const char* text, SWinClickCB click)
{
    int i = AddButtonToWindow(SWIN_BUT_PUSH, bx, by, bw, bh, text);
    if (i >= 0)
        buttons[i].click_cb = click;
    return i;
}

int SWin::AddListButtonToWindow(int bx, int by, int bw, int bh, int n, char (*strs)[SWIN_STR_SIZE], SWinIntCB cb)
{
    int i = AddButtonToWindow(SWIN_BUT_POPUP, bx, by, bw, bh, "");
    if (i < 0)
        return -1;
    if (!ListSetStrs(i, n, strs))
        return DropLastButton(i);
    buttons[i].int_cb = cb;
    return i;
}

int SWin::AddChoiceButtonToWindow(int bx, int by, int bw, int bh, int n, char (*strs)[SWIN_STR_SIZE],
                                  SWinCharCB cb)
{
    int i = AddButtonToWindow(SWIN_BUT_LIST, bx, by, bw, bh, "");
    if (i < 0)
        return -1;
    if (!ChoiceSetStrs(i, n, strs))
        return DropLastButton(i);
    buttons[i].char_cb = cb;
    return i;
}

int SWin::AddPictureButtonToWindow(int bx, int by, int bw, int bh, const char* path)
{
    int i = AddButtonToWindow(SWIN_BUT_PICTURE, bx, by, bw, bh, "");
    if (i < 0)
        return -1;
    if (!PictureSetFromFile(i, path))
        return DropLastButton(i);
    return i;
}

char SWin::PushButtonSetCallback(int i, SWinClickCB click)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_PUSH, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    b->click_cb = click;
    return 1;
}

char SWin::SetDefaultPushButton(int i)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_PUSH, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    backend->SetDefaultButton(window, b->control);
    return 1;
}

char SWin::ListSetCallback(int i, SWinIntCB cb)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    b->int_cb = cb;
    return 1;
}

char SWin::ListSetCharCallback(int i, SWinCharCB cb)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    b->char_cb = cb;
    return 1;
}

char SWin::ChoiceSetCallback(int i, SWinCharCB cb)
{
    return ListSetCharCallback(i, cb);
}

char SWin::SetStrs(int i, const std::vector<std::string>& strs, const char* func)
{
    _SWinButton* b = &buttons[i];
    if (!backend->SetListEntries(b->control, strs))
    {
        DebugErrorAlt(func, "Could not get popup menu");
        return 0;
    }
    b->list_count = int(strs.size());
    b->sel = 0;
    return 1;
}

char SWin::ListSetStrs(int i, int n, char (*strs)[SWIN_STR_SIZE])
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!DebugCheckOkAlt(n > 0, __PRETTY_FUNCTION__, "No entries"))
        return 0;
    if (!DebugCheckOkAlt(strs != nullptr, __PRETTY_FUNCTION__, "No strings"))
        return 0;
    std::vector<std::string> v;
    v.reserve(size_t(n));
    for (int k = 0; k < n; k++)
        v.emplace_back(strs[k], strnlen(strs[k], SWIN_STR_SIZE)); // an entry may fill all 256 bytes
    return SetStrs(i, v, __PRETTY_FUNCTION__);
}

char SWin::ChoiceSetStrs(int i, int n, char (*strs)[SWIN_STR_SIZE])
{
    return ListSetStrs(i, n, strs);
}

char SWin::ListSetStrsCallback(int i, int n, const char* (*text)(int, void*), void* user)
{
    return SetStrsFromCallback(i, n, text, nullptr, user, __PRETTY_FUNCTION__);
}

char SWin::ListSetStrsCallback(int i, int n, char* (*text)(int, void*), void* user)
{
    return SetStrsFromCallback(i, n, nullptr, text, user, __PRETTY_FUNCTION__);
}

char SWin::SetStrsFromCallback(int i, int n, const char* (*text)(int, void*), char* (*mtext)(int, void*),
                               void* user, const char* func)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, func);
    if (!b)
        return 0;
    if (!DebugCheckOkAlt(n > 0, func, "No entries"))
        return 0;
    if (!DebugCheckOkAlt(text != nullptr || mtext != nullptr, func, "No strings callback"))
        return 0;
    std::vector<std::string> v;
    v.reserve(size_t(n));
    for (int k = 0; k < n; k++)
    {
        const char* s = text ? text(k, user) : mtext(k, user);
        v.emplace_back(s ? s : "");
    }
    return SetStrs(i, v, func);
}

void SWin::RunListCallbacks(int i, int sel)
{
    SWinIntCB icb = buttons[i].int_cb;
    if (icb)
        icb(this, sel);
    // The callback may have destroyed the window.
    if (!created || i >= count)
        return;
    SWinCharCB ccb = buttons[i].char_cb;
    if (ccb)
        ccb(this, char(sel));
}

int SWin::EntryFor(int i, int sel, const char* func)
{
    const int n = buttons[i].list_count;
    if (!DebugCheckOkAlt(n > 0, func, "No entries"))
        return -1;
    if (sel >= 0 && sel < n)
        return sel;
    const int near = sel < 0 ? 0 : n - 1;
    DebugWarning(func, "Selection %d is outside the entries (0 to %d): %d is selected", sel, n - 1, near);
    return near;
}

char SWin::ListSetSel(int i, int sel)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    sel = EntryFor(i, sel, __PRETTY_FUNCTION__);
    if (sel < 0)
        return 0;
    b->sel = sel;
    backend->SetListSel(b->control, sel);
    RunListCallbacks(i, sel);
    return 1;
}

char SWin::ChoiceSetSel(int i, char sel, char)
{
    return ListSetSel(i, sel);
}

int SWin::ListGetSel(int i)
{
    if (!created || i < 0 || i >= count || buttons[i].kind != SWIN_BUT_POPUP)
        return -1;
    return buttons[i].sel;
}

char SWin::ChoiceGetSel(int i)
{
    return char(ListGetSel(i));
}

char SWin::ListRegisterIntVariable(int i, int* v)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!v)
        return 0;
    b->bound_int = v;
    const int sel = EntryFor(i, *v, __PRETTY_FUNCTION__);
    if (sel < 0)
        return 0;
    // A value no entry stands for becomes the entry shown.
    *v = sel;
    return ListSetSel(i, sel);
}

char SWin::ListRegisterCharVariable(int i, char* v)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_POPUP, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!v)
        return 0;
    b->bound_char = v;
    const int sel = EntryFor(i, *v, __PRETTY_FUNCTION__);
    if (sel < 0)
        return 0;
    *v = char(sel);
    return ListSetSel(i, sel);
}

char SWin::ChoiceRegisterCharVariable(int i, char* v, char)
{
    return ListRegisterCharVariable(i, v);
}

char SWin::ChoiceCleanup(int)
{
    return 1;
}

void SWin::HandleButtonCallback(int i)
{
    if (!created || i < 0 || i >= count)
        return;
    _SWinButton* b = &buttons[i];
    if (b->kind == SWIN_BUT_PUSH)
    {
        if (b->click_cb)
            b->click_cb(this);
    }
    else if (b->kind == SWIN_BUT_POPUP)
    {
        int sel = backend->GetListSel(b->control);
        if (sel < 0)
            return; // nothing chosen (the list was emptied)
        b->sel = sel;
        if (b->bound_int)
            *b->bound_int = sel;
        if (b->bound_char)
            *b->bound_char = char(sel);
        RunListCallbacks(i, sel);
    }
}

char SWin::SetButtonText(int i, const char* text)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!DebugCheckOkAlt(b->kind == SWIN_BUT_PUSH || b->kind == SWIN_BUT_STATIC_TEXT || b->kind == SWIN_BUT_EDIT_TEXT,
                         __PRETTY_FUNCTION__, "Only supported for push button,static and edit text buttons"))
        return 0;
    if (!DebugCheckOkAlt(b->control != nullptr, __PRETTY_FUNCTION__, "No button"))
        return 0;
    return backend->SetText(b->control, b->kind, text ? text : "");
}

char SWin::GetButtonText(int i, char* buf, int size)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!DebugCheckOkAlt(b->kind == SWIN_BUT_STATIC_TEXT || b->kind == SWIN_BUT_EDIT_TEXT, __PRETTY_FUNCTION__,
                         "Only supported for Edit buttons"))
        return 0;
    if (!DebugCheckOkAlt(buf != nullptr && size > 0, __PRETTY_FUNCTION__, "No buffer"))
        return 0;
    std::string text;
    if (!backend->GetText(b->control, b->kind, &text))
    {
        buf[0] = 0;
        return 0;
    }
    // Latin-1: any cut falls between characters.
    EngSafeStrcpy(buf, text.c_str(), size_t(size));
    return 1;
}

char SWin::SetButtonTextAlign(int i, _SWinTextAlign align)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (align != SWIN_ALIGN_LEFT && align != SWIN_ALIGN_CENTRE && align != SWIN_ALIGN_RIGHT)
        return 0;
    if (!backend->SetTextAlign(b->control, b->kind, align))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem setting the alignment <%d>", int(align));
        return 0;
    }
    return 1;
}

char SWin::EnableButton(int i, char on)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    backend->Enable(b->control, on);
    return 1;
}

char SWin::Show(int i, char on)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    backend->Show(b->control, on);
    return 1;
}

char SWin::GetButtonPos(int i, int* bx, int* by, int* bw, int* bh)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (bx)
        *bx = b->x;
    if (by)
        *by = b->y;
    if (bw)
        *bw = b->width;
    if (bh)
        *bh = b->height;
    return 1;
}

char SWin::MoveButton(int i, int bx, int by, int bw, int bh)
{
    _SWinButton* b = GetButton(i, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (bx >= 0)
        b->x = bx;
    if (by >= 0)
        b->y = by;
    if (bw >= 0)
        b->width = bw;
    if (bh >= 0)
        b->height = bh;
    backend->Move(b->control, b->kind, b->x, b->y, b->width, b->height);
    return 1;
}

char SWin::PictureSetFromFile(int i, const char* path)
{
    _SWinButton* b = GetButton(i, SWIN_BUT_PICTURE, __PRETTY_FUNCTION__);
    if (!b)
        return 0;
    if (!IsRegularFile(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File <%s> does not exist", path ? path : "");
        return 0;
    }
    if (!backend->SetPicture(b->control, path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load picture <%s>", path);
        return 0;
    }
    return 1;
}

char SWin::RunWindowLoop()
{
    if (!DebugCheckOkAlt(created, __PRETTY_FUNCTION__, "No window"))
        return 0;
    loop_running = 1;
    backend->RunLoop();
    loop_running = 0;
    return 1;
}

void SWin::QuitWindowLoop()
{
    if (!DebugCheckOkAlt(created, __PRETTY_FUNCTION__, "No window"))
        return;
    quit = 1;
    if (loop_running)
    {
        loop_running = 0;
        backend->QuitLoop();
    }
}

char SWin::ProcessAnyWindowsMessages()
{
    if (!created || quit)
        return 0;
    char handled = backend->Pump();
    if (!created || quit)
        return 0;
    return handled ? 2 : 1;
}
