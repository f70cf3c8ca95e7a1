#include "MWin.h"

#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngMenu.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngToolkitHooks.h"
#include "EngWindow.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinDesktop.h"
#include "MWinFonts.h"
#include "MWinTextures.h"
#include "MWinWindow.h"

namespace
{
// Draws one GUI layer without depth test and with plain blending, then puts
// the device's state back and closes what the caller opened.
template <class Draw>
void DrawGuiLayer(EngDevice* dev, char entered_2d, char began, Draw draw)
{
    char depth_off = dev->TurnOffDepthBufferIfNeeded();
    char blend_on = 0;
    int src = 0, dst = 0;
    dev->GetBlendingState(&blend_on, &src, &dst);
    dev->EnableBlendingType(0);

    draw();

    if (blend_on)
        dev->EnableSpecificBlending(src, dst);
    else
        dev->DisableBlending();
    if (depth_off)
        dev->TurnOnDepthBuffer();
    if (began)
        dev->EndRendering();
    if (entered_2d)
        dev->RestoreAfter2D();
}

char HookIsOn(MWin* m)
{
    return m ? m->IsOn() : 0;
}
char HookStartup(MWin* m)
{
    return m ? m->Startup() : 0;
}
void HookShutdown(MWin* m)
{
    if (m)
        m->Shutdown();
}
void HookButtonsChanged(MWin* m)
{
    if (m)
        m->ButtonsChanged();
}
void HookTick2(MWin* m)
{
    if (m)
        m->Tick2();
}
void HookSetScreenLayout(MWin* m, int layout)
{
    if (m)
        m->SetScreenLayout(layout);
}

char HaveDevice()
{
    return eng_main_device && eng_main_device->IsCreated();
}
} // namespace

MWin::MWin(Game* game) : program(game)
{
    memset(&settings, 0, sizeof settings);
    SetupStandardSettings(1);
    desktop = new (std::nothrow) MWinDesktop(this);
    DebugAssertAlt(desktop != nullptr, "MWin::MWin", "Could not create desktop");
    textures = new (std::nothrow) MWinTextures(this);
    DebugAssertAlt(textures != nullptr, "MWin::MWin", "Could not create textures");
    fonts = new (std::nothrow) MWinFonts(this);
    DebugAssertAlt(fonts != nullptr, "MWin::MWin", "Could not create fonts");
    PopupInit();
    MWinColourFillHueTable(hue_table);
    eng_toolkit_hooks = {HookIsOn,           HookStartup, HookShutdown,
                         HookButtonsChanged, HookTick2,   HookSetScreenLayout};
}

MWin::~MWin()
{
    Destroy();
}

char MWin::Startup()
{
    if (is_on)
        DebugErrorAlt(__PRETTY_FUNCTION__, "MWin already on");
    is_on = 1;
    input_allowed = 1;
    if (HaveDevice() && !CreateGraphicsObjects())
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create graphics objects");
    SetScreenLayout(0);
    return 1;
}

char MWin::Shutdown()
{
    if (PopupIsOn())
        PopupTurnOff();
    if (desktop)
        desktop->RemoveAllCollections();
    if (!is_on)
        DebugErrorAlt(__PRETTY_FUNCTION__, "MWin not on");
    DestroyGraphicsObjects();
    screen_mouse_x = screen_mouse_y = -1;
    is_on = 0;
    queue_count = 0;
    RenderNeeded();
    return 1;
}

void MWin::Destroy()
{
    if (IsOn())
        Shutdown();
    delete desktop;
    desktop = nullptr;
    screens = nullptr;
    if (textures && (textures->AreTexturesLoaded() || textures->HasTextureHandles()))
        textures->DestroyTextures();
    delete textures;
    textures = nullptr;
    delete fonts;
    fonts = nullptr;
    bg_clear.Destroy();
    // Hooks pointing at a dead toolkit would be called with a dangling pointer
    // by nobody (they take the pointer as argument), but clear them anyway.
    eng_toolkit_hooks = {};
}

char MWin::IsOn()
{
    if (is_on == 1)
        return 1;
    if (is_on != 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "m_is_on = %d.", is_on);
    return 0;
}

char MWin::CreateGraphicsObjects()
{
    if (!IsOn())
        return 1;
    char ok_tex = textures ? textures->CreateTextures() : 0;
    DebugCheckOk(ok_tex, "MWin::CreateGraphicsObjects", "Could not load textures");
    char ok_fonts = fonts ? fonts->CreateGraphicsObjects() : 0;
    DebugCheckOk(ok_fonts, "MWin::CreateGraphicsObjects", "Could not load fonts");
    char ok_desk = desktop ? desktop->CreateGraphicsObjects() : 0;
    char ok_bg = CreateBgClearImage();
    ColourCreateGraphics();
    // A widget that holds the input (a text being typed, an open list, a
    // drag) keeps it, and its window the focus, when the device is made
    // again: only the cursor is read anew, in the new window size.
    MWinWindow* holding = desktop ? desktop->GetActiveWindow() : nullptr;
    if (holding && holding->KeepFocusOnMouseMove() && eng_main_window)
    {
        int x, y;
        ReadCursorPos(&x, &y);
        RenderNeeded();
    }
    else
        ButtonsChanged();
    return ok_tex && ok_fonts && ok_desk && ok_bg;
}

void MWin::DestroyGraphicsObjects()
{
    // Also after a partly failed load: what did load must not outlive the device.
    if (textures && (textures->AreTexturesLoaded() || textures->HasTextureHandles()))
        textures->DestroyTextures();
    if (fonts)
        fonts->DestroyGraphicsObjects();
    if (desktop)
        desktop->DestroyGraphicsObjects();
    ColourDestroyGraphics();
    bg_clear.Destroy();
}

// ---------------------------------------------------------------------------
// Screens.

void MWin::SetScreens(MWinScreens** s)
{
    DebugAssertAlt(s != nullptr && *s != nullptr, __PRETTY_FUNCTION__, "No screens");
    DebugAssertAlt(screens == nullptr, __PRETTY_FUNCTION__, "Screens already set");
    if (s && !screens)
        screens = *s;
}

void MWin::ClearScreens(MWinScreens* s)
{
    if (s && s == screens)
        screens = nullptr;
}

MWinScreens* MWin::GetScreens()
{
    DebugAssertAlt(screens != nullptr, __PRETTY_FUNCTION__, "No screens");
    return screens;
}

// ---------------------------------------------------------------------------
// Accessors.

Game* MWin::GetGame()
{
    DebugAssertAlt(program != nullptr, __PRETTY_FUNCTION__, "No program");
    return program;
}

void MWin::GetSettings(_MWinSettings* out)
{
    if (out)
        *out = settings;
}

void MWin::SetSettings(const _MWinSettings* in)
{
    if (in)
        settings = *in;
}

MWinLayoutSettings* MWin::GetLayoutSettings()
{
    return GetLayoutSettings(layout);
}

MWinLayoutSettings* MWin::GetLayoutSettings(_EngLayout l)
{
    if (l < 0 || l >= MWIN_NUM_LAYOUTS)
        l = 0;
    return &settings.layout[l];
}

void MWin::SetSoundPlayCallback(MWinSoundPlayCB fn, void* user)
{
    sound_cb = fn;
    sound_user = user;
}

void MWin::SetGetCursorPosCB(MWinGetCursorPosCB fn, void* user1, void* user2)
{
    cursor_cb = fn;
    cursor_user1 = user1;
    cursor_user2 = user2;
}

void MWin::SetControlledFromMainSettings(char a, char b, char c, char d)
{
    settings.controlled_from_main[0] = a;
    settings.controlled_from_main[1] = b;
    settings.controlled_from_main[2] = c;
    settings.controlled_from_main[3] = d;
}

// ---------------------------------------------------------------------------
// Background clearing.

char MWin::SetClearMethod(_MWinClearMethod method, const char* file)
{
    if (!DebugCheckOk(method >= 0 && method < 4, "MWin::SetClearMethod", "Invalid method"))
        return 0;
    if (method != MWIN_CLEAR_BACKGROUND_IMAGE)
    {
        bg_clear.Destroy();
        settings.clear_method = method;
        return 1;
    }
    if (!file || !file[0] || strlen(file) >= 256)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Background image file name not ok");
        return 0;
    }
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
    {
        settings.clear_method = MWIN_CLEAR_COLOUR;
        return 0;
    }
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Background image file does not exist: <%s>", file);
        settings.clear_method = MWIN_CLEAR_COLOUR;
        return 0;
    }
    if (!IsOn() || (bg_clear.IsOk() && strcmp(settings.bg_image_file, file) == 0))
    {
        strcpy(settings.bg_image_file, file);
        settings.clear_method = method;
        return 1;
    }
    strcpy(settings.bg_image_file, file);
    settings.clear_method = method;
    if (!CreateBgClearImage())
        return 0;
    return 1;
}

char MWin::CreateBgClearImage()
{
    if (settings.clear_method != MWIN_CLEAR_BACKGROUND_IMAGE)
    {
        bg_clear.Destroy();
        return 1;
    }
    if (settings.bg_texture)
        return 1;
    if (!bg_clear.LoadFromJpegFile(settings.bg_image_file, 0, 0, 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load background image <%s>", settings.bg_image_file);
        settings.clear_method = MWIN_CLEAR_COLOUR;
        return 0;
    }
    bg_clear.PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    return 1;
}

// ---------------------------------------------------------------------------
// Layout and language.

void MWin::SetScreenLayout(_EngLayout l)
{
    MWinCollection* active = desktop ? desktop->GetActiveCollection() : nullptr;
    if (active)
        active->Deactivate();
    layout = l;
    if (desktop)
        for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
            c->SetScreenLayout(l);
    if (active)
        active->Activate();
}

void MWin::UpdateOrientation()
{
    SetScreenLayout(0);
}

void MWin::NewLanguageSet()
{
    if (!desktop)
        return;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
        for (MWinWindow* w = c->GetFirstWindowOfLayout(c->GetScreenLayout()); w; w = w->next_window)
            for (MWinButton* b = w->GetFirstButton(); b; b = b->next)
                b->NewLanguageSet();
}

char MWin::IsTextBeingEdited()
{
    if (!desktop)
        return 0;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
    {
        if (!c->IsActive())
            continue;
        for (MWinWindow* w = c->GetFirstWindowOfLayout(c->GetScreenLayout()); w; w = w->next_window)
        {
            if (!w->IsActive())
                continue;
            MWinButton* b = w->GetActiveButton();
            if (b && b->IsTextBeingEditing())
                return 1;
        }
    }
    return 0;
}

void MWin::WindowResized()
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Do not call. Recreate screen or windows instead.");
}

void MWin::GetVirtualSize(float* w, float* h)
{
    if (w)
        *w = 640;
    if (h)
        *h = 480;
}

void MWin::PlaySound(_MWinSoundEvent event)
{
    if (sound_cb)
        sound_cb(event, sound_user);
}

void MWin::RenderNeeded()
{
    if (eng_main_program)
        eng_main_program->RenderNeeded();
}

// ---------------------------------------------------------------------------
// Look-ups.

MWinCollection* MWin::GetCollectionFromID(const char* id, char report)
{
    if (!DebugCheckOk(desktop != nullptr, __PRETTY_FUNCTION__, "No desktop"))
        return nullptr;
    return desktop->GetCollectionFromID(id, report);
}

MWinWindow* MWin::GetWindowFromIDs(const char* collection, const char* window, char report)
{
    MWinCollection* c = GetCollectionFromID(collection, report);
    if (!c)
        return nullptr;
    if (MWinIsIDEmpty(window))
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No Window ID");
        return nullptr;
    }
    return c->GetWindowFromID(window, report);
}

MWinButton* MWin::GetButtonFromIDs(const char* collection, const char* window, const char* button,
                                   char report)
{
    MWinWindow* w = GetWindowFromIDs(collection, window, report);
    if (!w)
        return nullptr;
    if (MWinIsIDEmpty(button))
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No Button ID");
        return nullptr;
    }
    return w->GetButtonFromID(button, report);
}

char MWin::SetButtonCallback(const char* collection, const char* window, const char* button,
                             void (*fn)(MWin*, _MWinButtonCallbackInfo*, int, int), int a, int b)
{
    MWinButton* but = GetButtonFromIDs(collection, window, button, 1);
    if (!DebugCheckOk(but != nullptr, "MWinSetButtonCallback", "Could not find button %s:%s",
                      MWinDisplayID(window), MWinDisplayID(button)))
        return 0;
    return but->SetCallback(fn, a, b, 1);
}

// ---------------------------------------------------------------------------
// Text drawing.

void MWin::RenderTextPart(int font_num, _MWinTextAlign align, float margin, float x, float y, float w,
                          float h, const _Dimension* offset, const char* text, int count, char, char orient,
                          char shrink)
{
    EngFont* font = fonts ? fonts->GetFont(font_num) : nullptr;
    if (!font || !text || !text[0])
        return;
    float m = margin * eng_main_window_x_widescreen_ratio;
    if (offset)
    {
        x += offset->x;
        y += offset->y;
    }
    float sx = 1, sy = 1;
    char rescaled = 0;
    if (shrink)
    {
        float room = align == MWIN_ALIGN_CENTRE ? w - 2 * m : w - m;
        // Margins that fill the area leave no room: fit the text to the whole
        // area rather than scale it to nothing or mirror it.
        if (room <= 0)
        {
            m = 0;
            room = w;
        }
        font->GetScale(&sx, &sy);
        float width = font->GetStringWidth(text);
        if (width >= room && width > 0)
        {
            font->SetScale(room * sx / width, sy);
            rescaled = 1;
        }
    }
    float ax = x + m;
    if (align == MWIN_ALIGN_CENTRE)
        ax = x + w * 0.5f;
    else if (align == MWIN_ALIGN_RIGHT)
        ax = x + w - m;
    float ay = y + h * 0.5f;
    if (orient)
        EngFontPrepareForDrawingWithOrientation(1);
    font->DrawStringPartAlign(ax, ay, char(align), 1, text, count, 0, 0);
    if (orient)
        EngFontRestoreAfterDrawing();
    if (rescaled)
        font->SetScale(sx, sy);
}

void MWin::RenderText(int font, _MWinTextAlign align, float margin, float x, float y, float w, float h,
                      const _Dimension* offset, const char* text, char c, char orient, char shrink)
{
    RenderTextPart(font, align, margin, x, y, w, h, offset, text, 0, c, orient, shrink);
}

void MWin::RenderText(int font, _MWinTextAlign align, float margin, const _Dimension* area,
                      const _Dimension* offset, const char* text, char c, char orient, char shrink)
{
    if (!area)
        return;
    RenderTextPart(font, align, margin, area->x, area->y, area->w, area->h, offset, text, 0, c, orient,
                   shrink);
}

void MWin::RenderMultilineText(int font_num, _MWinTextAlign align, float margin, const _Dimension* area,
                               const _Dimension* offset, const char* text, char, char orient, char)
{
    EngFont* font = fonts ? fonts->GetFont(font_num) : nullptr;
    if (!font || !area || !text || !text[0])
        return;
    float x = area->x, y = area->y;
    if (offset)
    {
        x += offset->x;
        y += offset->y;
    }
    float ax = x + margin;
    if (align == MWIN_ALIGN_CENTRE)
        ax = x + area->w * 0.5f;
    else if (align == MWIN_ALIGN_RIGHT)
        ax = x + area->w - margin;
    if (orient)
        EngFontPrepareForDrawingWithOrientation(1);
    font->DrawMultilineText(ax, y, area->w, area->h, char(align), 0, text, 1, 0, nullptr, nullptr, nullptr,
                            nullptr);
    if (orient)
        EngFontRestoreAfterDrawing();
}

// ---------------------------------------------------------------------------
// Mouse.

char MWin::GetMousePos(float* x, float* y)
{
    if (!IsOn())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not On");
        return 0;
    }
    if (x)
        *x = screen_mouse_x;
    if (y)
        *y = screen_mouse_y;
    return 1;
}

void MWin::GetViewportMousePos(float* x, float* y)
{
    if (x)
        *x = viewport_mouse_x;
    if (y)
        *y = viewport_mouse_y;
}

void MWin::SetCurrentActiveViewport(const _EngDeviceViewport* v)
{
    if (!v)
        viewport_active = 0;
    else if (v->width > 0 && v->height > 0)
    {
        active_viewport = *v;
        viewport_active = 1;
    }
    UpdateViewportMousePos();
}

void MWin::UpdateViewportMousePos()
{
    if (viewport_active)
    {
        viewport_mouse_x = (screen_mouse_x - active_viewport.x) * 640.0f / active_viewport.width;
        viewport_mouse_y = (screen_mouse_y - active_viewport.y) * 480.0f / active_viewport.height;
        return;
    }
    viewport_mouse_x = screen_mouse_x;
    viewport_mouse_y = screen_mouse_y;
    float b = EngMenuIsOn() ? EngMenuGetMenuBarHeight() : 0;
    if (b > 0 && b < 480)
        viewport_mouse_y = (screen_mouse_y - b) * 480.0f / (480.0f - b);
}

static char PointInArea(float px, float py, const _Dimension* area, const _Dimension* offset)
{
    if (!area)
        return 0;
    float x = area->x, y = area->y;
    if (offset)
    {
        x += offset->x;
        y += offset->y;
    }
    return (px >= x && px < x + area->w && py >= y && py < y + area->h) ? 1 : 0;
}

char MWin::IsMouseViewportCursorInArea(const _Dimension* area, const _Dimension* offset)
{
    return PointInArea(viewport_mouse_x, viewport_mouse_y, area, offset);
}

char MWin::IsMouseScreenCursorInArea(const _Dimension* area, const _Dimension* offset)
{
    return PointInArea(screen_mouse_x, screen_mouse_y, area, offset);
}

char MWin::IsMouseCursorInViewport(const _EngDeviceViewport* v)
{
    if (!v)
        return 0;
    _Dimension d = {float(v->x), float(v->y), float(v->width), float(v->height)};
    return PointInArea(screen_mouse_x, screen_mouse_y, &d, nullptr);
}

void MWin::SetMousePosRatioed(float x, float y)
{
    screen_mouse_x = x;
    screen_mouse_y = y;
    UpdateViewportMousePos();
}

// ---------------------------------------------------------------------------
// Input.

char MWin::ClickIsForThisScreen(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2)
{
    if (type != ENG_INPUT_MOUSE_BUTTON && type != ENG_INPUT_DOUBLE_CLICK)
        return 1;
    if (p1 < 0 || p1 > 2)
        return 1;
    const int b = int(p1);
    if (type == ENG_INPUT_DOUBLE_CLICK)
        return click_from_old_screen[b] ? 0 : 1;
    if (!p2)
    {
        button_held[b] = 0;
        if (!drop_release[b])
            return 1;
        drop_release[b] = 0;
        return 0;
    }
    const int clicks = eng_main_window ? eng_main_window->GetMouseClicks() : 1;
    if (clicks <= 1)
        click_from_old_screen[b] = 0;
    if (click_from_old_screen[b])
    {
        drop_release[b] = 1;
        button_held[b] = 0;
        return 0;
    }
    drop_release[b] = 0;
    button_held[b] = 1;
    return 1;
}

void MWin::ScreenChanged()
{
    for (int b = 0; b < 3; b++)
    {
        click_from_old_screen[b] = 1;
        if (button_held[b])
            drop_release[b] = 1;
        button_held[b] = 0;
    }
}

char MWin::ProcessInput(_EngDesktopInputType type, EngInputParm1 p1, EngInputParm2 p2)
{
    if (!IsOn() || !input_allowed)
        return 0;
    if (!ClickIsForThisScreen(type, p1, p2))
        return 1;
    switch (int(type))
    {
    case ENG_INPUT_MOUSE_MOVE:
        return MoveMouse(p1, p2);
    case ENG_INPUT_MOUSE_BUTTON:
        return ButtonPressed(char(p1), p2 ? 1 : 0, 0);
    case ENG_INPUT_DOUBLE_CLICK:
        return ButtonDoubleClicked(char(p1));
    case ENG_INPUT_MOUSE_WHEEL:
        return MouseWheelMoved(p1);
    case ENG_INPUT_KEY_DOWN:
        return KeyDown(p1);
    case ENG_INPUT_KEY_UP:
        return KeyUp(p1);
    case ENG_INPUT_CHARACTER:
        return KeyDownUChar((unsigned char)p1);
    default:
        return 0;
    }
}

char MWin::MoveMouse(int x, int y)
{
    if (EngMenuMouseMove(x, y))
        return 1;
    if (!DebugCheckOk(desktop != nullptr, "MWin::MouseMove", "No desktop"))
        return 0;
    float fx = float(x), fy = float(y);
    if (!EngMainChangeMousePosRatioedForOrientation(float(x), float(y), &fx, &fy))
    {
        fx = float(x);
        fy = float(y);
    }
    screen_mouse_x = fx;
    screen_mouse_y = fy;
    UpdateViewportMousePos();
    return desktop->HandleMouseMove();
}

char MWin::ButtonPressed(char button, char down, char third)
{
    if (EngMenuMousePress(button, down))
        return 1;
    if (!DebugCheckOk(desktop != nullptr, "MWin::ButtonPressed", "No desktop"))
        return 0;
    return desktop->HandleButtonPressed(button, down, third);
}

char MWin::ButtonDoubleClicked(char button)
{
    if (!DebugCheckOk(desktop != nullptr, "MWin::ButtonDoubleClicked", "No desktop"))
        return 0;
    return desktop->HandleMouseButtonDoubleClicked(button);
}

char MWin::MouseWheelMoved(int delta)
{
    if (!DebugCheckOk(desktop != nullptr, "MWin::MouseWheelMoved", "No desktop"))
        return 0;
    return desktop->HandleMouseWheel(delta);
}

char MWin::KeyDown(int key)
{
    if (!keyboard_allowed)
        return 0;
    if (!DebugCheckOk(desktop != nullptr, "MWin::KeyDown", "No desktop"))
        return 0;
    return desktop->HandleKeyDown(key);
}

char MWin::KeyUp(int key)
{
    if (!keyboard_allowed)
        return 0;
    if (!DebugCheckOk(desktop != nullptr, "MWin::KeyUp", "No desktop"))
        return 0;
    return desktop->HandleKeyUp(key);
}

char MWin::KeyDownUChar(unsigned char c)
{
    if (!keyboard_allowed)
        return 0;
    if (!DebugCheckOk(desktop != nullptr, "MWin::KeyDownChar", "No desktop"))
        return 0;
    return desktop->HandleKeyDownUChar(c);
}

void MWin::CancelMouseButtonDown()
{
    MWinWindow* w = desktop ? desktop->GetActiveWindow() : nullptr;
    if (w)
        w->HandleMouseButtonPressCanceled();
}

void MWin::WindowDeactivated()
{
    CancelMouseButtonDown();
}

// ---------------------------------------------------------------------------
// Frame.

char MWin::Tick2()
{
    if (ProcessQueueMessages())
        return 1;
    if (!DebugCheckOk(desktop != nullptr, "MWin::Tick", "No desktop"))
        return 0;
    return desktop->Tick();
}

char MWin::AddMessageToQueue(const char* collection, const char* window, const char* button,
                             _MWinMessageNum number)
{
    if (MWinIsIDEmpty(collection) || MWinIsIDEmpty(window) || MWinIsIDEmpty(button))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "ID(s) invalid");
        return 0;
    }
    if (queue_count != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Queue not empty");
        return 0;
    }
    if (!MWinCopyID(queue_collection, collection) || !MWinCopyID(queue_window, window) ||
        !MWinCopyID(queue_button, button))
        return 0;
    queue_number = number;
    queue_count = 1;
    return 1;
}

char MWin::ProcessQueueMessages()
{
    if (queue_count <= 0)
        return 0;
    if (queue_count != 1)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Num messages != 1");
    MWinButton* b = GetButtonFromIDs(queue_collection, queue_window, queue_button, 1);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "mwinp->GetButtonFromIDs() failed [%s, %s, %s]", queue_collection,
                      queue_window, queue_button);
        queue_count = 0;
        return 0;
    }
    // Empty the queue first: the callback may post the next message.
    _MWinMessageNum number = queue_number;
    queue_count = 0;
    if (number == MWIN_MSG_CALL_CALLBACK)
        b->CallCallback();
    return 1;
}

void MWin::RenderMain()
{
    if (!HaveDevice() || !IsOn())
        return;
    if (!DebugCheckOk(desktop != nullptr, "MWin::RenderMain", "No desktop"))
        return;
    EngDevice* dev = eng_main_device;
    char began = 0, entered_2d = 0;
    switch (settings.clear_method)
    {
    case MWIN_CLEAR_COLOUR:
        dev->ClearScreenBuffer();
        break;
    case MWIN_CLEAR_COLOUR_AND_DEPTH:
        dev->ClearScreenAndDepthBuffers();
        break;
    case MWIN_CLEAR_BACKGROUND_IMAGE:
        began = dev->BeginRenderingIfNeeded();
        entered_2d = dev->PrepareFor2DWithOrientationIfNeeded(1);
        if (settings.bg_texture)
            settings.bg_texture->Draw();
        else if (bg_clear.IsOk())
            bg_clear.Draw();
        break;
    default:
        break;
    }
    if (settings.clear_method != MWIN_CLEAR_BACKGROUND_IMAGE)
    {
        entered_2d = dev->PrepareFor2DWithOrientationIfNeeded(1);
        began = dev->BeginRenderingIfNeeded();
    }
    DrawGuiLayer(dev, entered_2d, began, [this] { desktop->RenderAllExceptPopupCollection(); });
}

char MWin::RenderPopups()
{
    if (!HaveDevice() || !IsOn() || !popup.collection)
        return 0;
    if (!DebugCheckOk(desktop != nullptr, "MWin::RenderPopups", "No desktop"))
        return 0;
    EngDevice* dev = eng_main_device;
    char entered_2d = dev->PrepareFor2DWithOrientationIfNeeded(1);
    char began = dev->BeginRenderingIfNeeded();
    DrawGuiLayer(dev, entered_2d, began, [this] { desktop->RenderPopupCollection(); });
    return 1;
}

void MWin::ReadCursorPos(int* x, int* y)
{
    *x = *y = 0;
    if (cursor_cb)
        cursor_cb(x, y, cursor_user1, cursor_user2);
    else
        eng_main_window->GetCursorPos(x, y);
    float fx = float(*x), fy = float(*y);
    if (!EngMainChangeMousePosRatioedForOrientation(float(*x), float(*y), &fx, &fy))
    {
        fx = float(*x);
        fy = float(*y);
    }
    screen_mouse_x = fx;
    screen_mouse_y = fy;
    UpdateViewportMousePos();
}

void MWin::ButtonsChanged()
{
    if (!DebugCheckOk(desktop != nullptr, "MWin::ButtonsChanged", "No desktop"))
        return;
    if (!eng_main_window)
        return;
    int x = 0, y = 0;
    ReadCursorPos(&x, &y);
    MoveMouse(x, y);
    desktop->ActivateCollectionUnderMouse();
    MoveMouse(x, y);
    RenderNeeded();
}

char MWinCloseProgramCB(char result, void*)
{
    if (result == 0)
        EngMiscCloseProgram();
    return 1;
}
