// SDL events turned into the window's input messages.
#include "Linux/EngEvents_LNX.h"

#include <SDL2/SDL.h>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngUnicode.h"
#include "Linux/EngSignals_LNX.h"
#include "Linux/EngWindow_LNX.h"

namespace
{
// The PC keys of the engine's modifiers: Ctrl is Command, Super (the
// Windows or Meta key) is Control, Alt is Option.
const Uint16 MOD_COMMAND = KMOD_CTRL;
const Uint16 MOD_CONTROL = KMOD_GUI;
const Uint16 MOD_OPTION = KMOD_ALT;

void UpdateModifiers(EngWindow* w, Uint16 mod)
{
    w->MsgsSetModifiers((mod & KMOD_SHIFT) ? 1 : 0, (mod & MOD_CONTROL) ? 1 : 0, (mod & MOD_OPTION) ? 1 : 0,
                        (mod & MOD_COMMAND) ? 1 : 0);
}

// With Command or Control held the key event makes the character, and SDL's
// text for the key is left out.
char KeysMakeTheirOwnCharacters()
{
    return eng_key_down[ENG_KEY_COMMAND] || eng_key_down[ENG_KEY_CONTROL];
}

// A primary press with Control held is the right button, and so is its
// release, even when Control was let go in between.
int MouseButtonIndex(EngWindow* w, const SDL_MouseButtonEvent& b)
{
    _EngWindowEventMemory* m = w->GetEventMemory();
    switch (b.button)
    {
    case SDL_BUTTON_LEFT:
    {
        char right = m->primary_is_right;
        if (b.type == SDL_MOUSEBUTTONDOWN)
            right = m->primary_is_right = eng_key_down[ENG_KEY_CONTROL] > 1;
        else
            m->primary_is_right = 0;
        return right ? 1 : 0;
    }
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
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

// Command with a lower-case f: Shift or Control would make it a capital F,
// which goes to the program only.
char IsCommandF(Uint16 mod)
{
    return (mod & MOD_COMMAND) && !(mod & (KMOD_SHIFT | MOD_CONTROL));
}

char IsOurWindow(Uint32 id)
{
    SDL_Window* win = static_cast<SDL_Window*>(eng_main_sdl_window);
    return !win || id == 0 || SDL_GetWindowID(win) == id;
}

// A focus loss of the window is still queued.
char FocusLossPending()
{
    SDL_Event queued[64];
    int n = SDL_PeepEvents(queued, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; i++)
        if (queued[i].window.event == SDL_WINDOWEVENT_FOCUS_LOST && IsOurWindow(queued[i].window.windowID))
            return 1;
    return 0;
}

// A full-screen window in front takes the keyboard when it does not have it:
// without a window manager nobody gives it, and a focus that reverted to no
// window (another program's went away) leaves keys going nowhere.
void TakeKeyboardInFullScreen()
{
    if (!eng_main_window_windowed && !EngWindowHasKeyboard_LNX())
        EngWindowTakeFocus_LNX();
}

// The focus is not always reported back (without a window manager it never
// is): a window that is pressed or typed into is in front, and a full-screen
// one needs its device back to draw. It takes the focus too, as a window
// manager would give it: another client may still hold it. A press on an
// active full-screen window takes the keyboard when it has not got it.
void ActivateIfInFront(EngWindow* w, char pressed)
{
    if (w->IsActive())
    {
        if (pressed)
            TakeKeyboardInFullScreen();
        return;
    }
    if (!eng_main_window_windowed)
        EngWindowTakeFocus_LNX();
    w->GotActiveMsg(1);
}

// A full-screen window uncovered again is in front only while the focus is
// its own or nobody's: under another program's window that holds the focus
// it draws nothing. Back in front, it takes the keyboard.
void ActivateIfUncoveredInFront(EngWindow* w)
{
    if (eng_main_window_windowed || w->IsActive() || !EngWindowFocusIsOursOrNobodys_LNX())
        return;
    TakeKeyboardInFullScreen();
    w->GotActiveMsg(1);
}

// Typed text arrives as UTF-8 and goes on as the fonts' Latin-1 letters; a
// character they cannot hold arrives as a placeholder.
void SendText(EngWindow* w, const char* text)
{
    for (char c : EngLatin1FromUtf8(text))
        w->MsgsCharacter((unsigned char)c);
}
} // namespace

unsigned char EngEventsTranslateKey_LNX(int key, int mod, unsigned char* character)
{
    unsigned char typed = 0;
    unsigned char code = 0;
    char upper = ((mod & KMOD_SHIFT) ? 1 : 0) ^ ((mod & KMOD_CAPS) ? 1 : 0);
    switch (key)
    {
    case SDLK_BACKSPACE:
        code = typed = 127;
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
            code = typed = (unsigned char)(232 + (key - SDLK_F1));
            break;
        }
        if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
            code = typed = (unsigned char)('1' + (key - SDLK_KP_1));
        else if (key == SDLK_KP_0)
            code = typed = '0';
        else if (key >= 'a' && key <= 'z')
        {
            // Control with a letter types the capital.
            code = (unsigned char)(key - 'a' + 'A');
            typed = (upper || (mod & MOD_CONTROL)) ? code : (unsigned char)key;
        }
        else if (key >= 32 && key < 127)
            code = typed = (unsigned char)key;
        else if (key >= 0xA0 && key < 0xFF && key != 0xF7)
        {
            // Latin-1 keys (ä, é, ñ, ß) with their capitals as key codes, which
            // keeps them clear of the arrows and the modifiers; ß has none.
            // ÷ would be the down arrow and ÿ the middle button: they only
            // type their characters.
            char letter = key >= 0xE0;
            code = (unsigned char)(letter ? key - 0x20 : key);
            typed = upper ? code : (unsigned char)key;
        }
        // SDL sends these as text, but not with Command or Control held.
        if (!(mod & (MOD_COMMAND | MOD_CONTROL)))
            typed = 0;
        break;
    }
    if (character)
        *character = typed;
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
            ActivateIfUncoveredInFront(w);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            UpdateModifiers(w, Uint16(SDL_GetModState()));
            if (!EngWindowLossIsTheBoxs_LNX())
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
        unsigned char typed = 0;
        unsigned char code = EngEventsTranslateKey_LNX(e->key.keysym.sym, e->key.keysym.mod, &typed);
        if (!code)
            break;
        const char is_f = e->key.keysym.sym == SDLK_f;
        _EngWindowEventMemory* m = w->GetEventMemory();
        if (e->type == SDL_KEYDOWN)
        {
            if ((e->key.keysym.mod & MOD_COMMAND) && code == 'Q')
            {
                w->MsgsPlayerQuit();
                break;
            }
            ActivateIfInFront(w, 0);
            if (is_f && !e->key.repeat)
                m->full_screen_press = IsCommandF(e->key.keysym.mod);
            w->MsgsKeyDown(code, typed);
        }
        else
        {
            // Command+f toggles full screen on its release: Command held then,
            // or when f went down (a quick tap lets go of Command first); a
            // held key is released once. Not when the window has lost the
            // focus, or is losing it (SDL lets go of the held keys first).
            char toggles = is_f && (m->full_screen_press || IsCommandF(e->key.keysym.mod)) && w->IsActive() &&
                           !FocusLossPending();
            if (is_f)
                m->full_screen_press = 0;
            w->MsgsKeyUp(code, toggles);
        }
        break;
    }
    case SDL_TEXTINPUT:
        if (!KeysMakeTheirOwnCharacters())
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
        int button = MouseButtonIndex(w, e->button);
        if (button >= 0 && e->type == SDL_MOUSEBUTTONDOWN)
            ActivateIfInFront(w, 1);
        if (button >= 0)
            w->MsgsMouseButtonPress(button, e->type == SDL_MOUSEBUTTONDOWN ? 1 : 0, e->button.clicks);
        break;
    }
    case SDL_MOUSEWHEEL:
    {
        int delta = e->wheel.y;
        if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        // Every notch is its own: X sends no repeats of a turn, and notches
        // queued together (a quick spin) may share a clock reading.
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

// Without a window manager the focus can go on to another client with no loss
// reported: it passed through nobody while this window was inactive (an
// Expose then brought the window back), or it came and went too quickly.
void EngWindowCheckFocus_LNX(EngWindow* w)
{
    if (!w || eng_main_window_windowed || !w->IsActive())
        return;
    _EngWindowEventMemory* m = w->GetEventMemory();
    const double since = eng_main_current_time - m->focus_check_time;
    if (since >= 0 && since < ENG_WINDOW_FOCUS_CHECK_SECONDS)
        return;
    m->focus_check_time = eng_main_current_time;
    if (!EngWindowFocusHeldElsewhere_LNX())
        return;
    // As SDL does at a focus loss: the held keys are let go (their releases
    // come as events), and nothing pressed here toggles full screen.
    SDL_ResetKeyboard();
    m->full_screen_press = 0;
    UpdateModifiers(w, Uint16(SDL_GetModState()));
    w->GotActiveMsg(0);
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
