// SDL events turned into the window's input messages.
#include "Linux/EngEvents_LNX.h"

#include <SDL2/SDL.h>

#include "EngDebug.h"
#include "Linux/EngSignals_LNX.h"
#include "Linux/EngWindow_LNX.h"

namespace
{
void UpdateModifiers(EngWindow* w, Uint16 mod)
{
    w->MsgsSetModifiers((mod & KMOD_SHIFT) ? 1 : 0, (mod & KMOD_ALT) ? 1 : 0, (mod & KMOD_CTRL) ? 1 : 0);
}

char NextEventIs(Uint32 type)
{
    SDL_Event next;
    return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == type;
}

// A later size change of the same window is still queued.
char SizeChangePending()
{
    SDL_Event queued[64];
    int n = SDL_PeepEvents(queued, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; i++)
        if (queued[i].window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            return 1;
    return 0;
}

char IsOurWindow(Uint32 id)
{
    SDL_Window* win = static_cast<SDL_Window*>(eng_main_sdl_window);
    return !win || id == 0 || SDL_GetWindowID(win) == id;
}

// The focus is not always reported back (without a window manager it never
// is): a window that is pressed, typed into or, in full screen, uncovered
// again is in front, and a full-screen one needs its device back to draw.
void ActivateIfInFront(EngWindow* w)
{
    if (!w->IsActive())
        w->GotActiveMsg(1);
}

// Appends the code points of a UTF-8 text; those above U+00FF are dropped.
void SendText(EngWindow* w, const char* text)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    while (*s)
    {
        unsigned cp;
        int len;
        if (*s < 0x80)
        {
            cp = *s;
            len = 1;
        }
        else if ((*s & 0xE0) == 0xC0)
        {
            cp = *s & 0x1F;
            len = 2;
        }
        else if ((*s & 0xF0) == 0xE0)
        {
            cp = *s & 0x0F;
            len = 3;
        }
        else if ((*s & 0xF8) == 0xF0)
        {
            cp = *s & 0x07;
            len = 4;
        }
        else
        {
            s++;
            continue;
        }
        int i = 1;
        for (; i < len && (s[i] & 0xC0) == 0x80; i++)
            cp = (cp << 6) | (s[i] & 0x3F);
        s += i;
        if (i == len && cp <= 0xFF)
            w->MsgsCharacter((unsigned char)cp);
    }
}
} // namespace

unsigned char EngEventsTranslateKey_LNX(int key, int mod, char* send_character)
{
    char send = 0;
    unsigned char code = 0;
    char ctrl = (mod & KMOD_CTRL) ? 1 : 0;
    char upper = ((mod & KMOD_SHIFT) ? 1 : 0) ^ ((mod & KMOD_CAPS) ? 1 : 0);
    switch (key)
    {
    case SDLK_BACKSPACE:
        code = 127;
        send = 1;
        break;
    case SDLK_DELETE:
        code = 8;
        break;
    case SDLK_TAB:
        code = 9;
        break;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
        code = 13;
        break;
    case SDLK_ESCAPE:
        code = 27;
        break;
    case SDLK_LEFT:
        code = 244;
        break;
    case SDLK_RIGHT:
        code = 245;
        break;
    case SDLK_UP:
        code = 246;
        break;
    case SDLK_DOWN:
        code = 247;
        break;
    case SDLK_PAGEUP:
        code = 248;
        break;
    case SDLK_PAGEDOWN:
        code = 249;
        break;
    case SDLK_HOME:
        code = 250;
        break;
    case SDLK_END:
        code = 251;
        break;
    case SDLK_INSERT:
    case SDLK_HELP:
        code = 252;
        break;
    case SDLK_KP_DIVIDE:
        code = '/';
        break;
    case SDLK_KP_MULTIPLY:
        code = '*';
        break;
    case SDLK_KP_MINUS:
        code = '-';
        break;
    case SDLK_KP_PLUS:
        code = '+';
        break;
    case SDLK_KP_PERIOD:
        code = '.';
        break;
    default:
        if (key >= SDLK_F1 && key <= SDLK_F12)
        {
            code = (unsigned char)(232 + (key - SDLK_F1));
            send = 1;
        }
        else if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
            code = (unsigned char)('1' + (key - SDLK_KP_1));
        else if (key == SDLK_KP_0)
            code = '0';
        else if (key >= 'a' && key <= 'z')
            code = (unsigned char)(upper ? key - 'a' + 'A' : key);
        else if (key >= 32 && key < 127)
            code = (unsigned char)key;
        // With Ctrl held SDL sends no text: the character is made here.
        if (code >= 32 && code < 127 && ctrl)
            send = 1;
        break;
    }
    if (send_character)
        *send_character = send;
    return code;
}

void EngEventsHandleEvent_LNX(EngWindow* w, SDL_Event* e)
{
    if (!w || !e)
        return;
    switch (e->type)
    {
    case SDL_QUIT:
        w->MsgsQuit();
        break;
    case SDL_WINDOWEVENT:
        if (!IsOurWindow(e->window.windowID))
            break;
        switch (e->window.event)
        {
        case SDL_WINDOWEVENT_CLOSE:
            w->MsgsPlayerQuit();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            UpdateModifiers(w, Uint16(SDL_GetModState()));
            w->GotActiveMsg(1);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (!eng_main_window_windowed)
                ActivateIfInFront(w);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            UpdateModifiers(w, Uint16(SDL_GetModState()));
            w->GotActiveMsg(0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            w->GotMinimizedMsg(1);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (w->IsMinimized())
                w->GotMinimizedMsg(0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // Only a real change that no queued one overrides; the device is
            // re-created once the sizes stop coming.
            if (eng_main_window_windowed && !SizeChangePending() &&
                (e->window.data1 != eng_main_window_width || e->window.data2 != eng_main_window_height))
                w->WindowResizing(e->window.data1, e->window.data2);
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        UpdateModifiers(w, e->key.keysym.mod);
        char send = 0;
        unsigned char code = EngEventsTranslateKey_LNX(e->key.keysym.sym, e->key.keysym.mod, &send);
        if (!code)
            break;
        if (e->type == SDL_KEYDOWN)
        {
            if ((e->key.keysym.mod & KMOD_CTRL) && (code == 'q' || code == 'Q'))
            {
                w->MsgsPlayerQuit();
                break;
            }
            ActivateIfInFront(w);
            // Ctrl+F on the press (a quick tap ends before a release could be
            // judged); a held key toggles once. Shift+Ctrl+F goes to the game.
            if ((e->key.keysym.mod & KMOD_CTRL) && !(e->key.keysym.mod & KMOD_SHIFT) &&
                e->key.keysym.sym == SDLK_f)
            {
                if (!e->key.repeat)
                    w->ToggleFullscreenMode();
                break;
            }
            w->MsgsKeyDown(code, send);
        }
        else
            w->MsgsKeyUp(code);
        break;
    }
    case SDL_TEXTINPUT:
        // Ctrl combinations were sent with their key.
        if (!eng_key_down[ENG_KEY_COMMAND])
            SendText(w, e->text.text);
        break;
    case SDL_MOUSEMOTION:
    {
        SDL_Event newest = *e;
        while (NextEventIs(SDL_MOUSEMOTION) &&
               SDL_PeepEvents(&newest, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION) == 1)
        {
        }
        w->MsgsMouseMove(newest.motion.x, newest.motion.y);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        int button = -1;
        if (e->button.button == SDL_BUTTON_LEFT)
            button = 0;
        else if (e->button.button == SDL_BUTTON_RIGHT)
            button = 1;
        else if (e->button.button == SDL_BUTTON_MIDDLE)
            button = 2;
        if (button >= 0 && e->type == SDL_MOUSEBUTTONDOWN)
            ActivateIfInFront(w);
        if (button >= 0)
            w->MsgsMouseButtonPress(button, e->type == SDL_MOUSEBUTTONDOWN ? 1 : 0, e->button.clicks);
        break;
    }
    case SDL_MOUSEWHEEL:
    {
        int delta = e->wheel.y;
        if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        if (delta)
            w->MsgsMouseWheelInput(delta);
        break;
    }
    default:
        break;
    }
}

namespace
{
// SIGINT and SIGTERM are the system's quit: no question, the exit save runs.
void TakeTerminationRequest(EngWindow* w)
{
    if (w && EngSignalsTerminationRequested_LNX() && !w->IsQuitRequested())
        w->MsgsQuit();
}
} // namespace

char EngWindowTakeOneEvent_LNX(EngWindow* w)
{
    TakeTerminationRequest(w);
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return 0;
    SDL_Event e;
    if (!SDL_PollEvent(&e))
        return 0;
    EngEventsHandleEvent_LNX(w, &e);
    return 1;
}

char EngWindowWaitForEvent_LNX(EngWindow* w, int ms)
{
    TakeTerminationRequest(w);
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return 0;
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, ms))
        return 0;
    EngEventsHandleEvent_LNX(w, &e);
    return 1;
}
