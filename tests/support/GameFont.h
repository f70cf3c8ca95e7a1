// The game's bitmap font as the tests build it.
#pragma once

#include <string>

#include "EngFont.h"

namespace vztest
{

// The creation effects the game sets before making its font.
inline _EngFontCreationEffects GameFontEffects()
{
    _EngFontCreationEffects e = {};
    e.padding = 2;
    e.shadow_lum_factor = 1.0f;
    e.shadow_alpha_factor = 0.244123f;
    e.blur_passes_first = 4;
    return e;
}

// The game's own creation call, on the effects already set.
inline char CreateGameFont(EngFont& f, const std::string& file)
{
    return f.CreateFromFontFile(file.c_str(), 0, 32, 64, 32, 255, EngFontLatin1Letters(),
                                ENG_FONT_LATIN1_WANTED_COUNT, 0.160013f, 0.080202f, 1.215145f, 5.782f, 0,
                                0.015f, 0, 0, 1);
}

} // namespace vztest
