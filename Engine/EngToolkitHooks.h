// The toolkit operations the engine core calls. The toolkit library sits
// above the engine library, so it installs these when it is built in; each
// unset hook does nothing (and reports failure where it returns a value).
#pragma once

class MWin;

struct _EngToolkitHooks
{
    char (*is_on)(MWin* mwin);
    char (*startup)(MWin* mwin);
    void (*shutdown)(MWin* mwin);
    void (*buttons_changed)(MWin* mwin);
    void (*tick2)(MWin* mwin);
    void (*set_screen_layout)(MWin* mwin, int layout);
};

extern _EngToolkitHooks eng_toolkit_hooks;
