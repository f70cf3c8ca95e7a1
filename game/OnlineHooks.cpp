#include "OnlineHooks.h"

#include <string>

#include "EngMiscPlatform.h"
#include "EngWindow.h"

namespace
{
const char* const ONLINE_DEFAULT_SITE_ROOT = "https://" ONLINE_WEB_ADDRESS;
std::string site_root = ONLINE_DEFAULT_SITE_ROOT;

void ToggleMainWindow()
{
    if (eng_main_window)
        eng_main_window->ToggleFullscreenMode();
}
} // namespace

char (*online_hooks_open)(const char*) = EngMiscOpenWithDefaultProgram;
void (*online_hooks_toggle_fullscreen)() = ToggleMainWindow;

const char* OnlineGetSiteRoot()
{
    return site_root.c_str();
}

void OnlineSetSiteRoot(const char* root)
{
    site_root = root && root[0] ? root : ONLINE_DEFAULT_SITE_ROOT;
}

char OnlineOpen(const char* url)
{
    return online_hooks_open ? online_hooks_open(url) : 0;
}

void OnlineToggleFullscreen()
{
    if (online_hooks_toggle_fullscreen)
        online_hooks_toggle_fullscreen();
}
