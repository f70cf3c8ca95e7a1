#include "EngClipboard_LNX.h"

#include <SDL2/SDL.h>

#include "EngMisc_LNX.h"
#include "EngUnicode.h"

namespace
{
bool ClipboardReady()
{
    return EngMiscHasDisplay_LNX() && EngMiscStartVideo_LNX();
}
} // namespace

char EngClipboardSetText_LNX(const char* text)
{
    if (!text || !ClipboardReady())
        return 0;
    return SDL_SetClipboardText(EngUtf8FromLatin1(text).c_str()) == 0 ? 1 : 0;
}

char EngClipboardGetText_LNX(std::string* out)
{
    if (!out || !ClipboardReady())
        return 0;
    char* t = SDL_GetClipboardText();
    if (!t)
        return 0;
    *out = EngLatin1FromUtf8(t);
    SDL_free(t);
    return 1;
}
