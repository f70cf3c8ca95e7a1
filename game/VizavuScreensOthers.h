// TEMPORARY bridge to screens and game calls built on other branches: creates
// their controllers once their headers exist, else leaves the slot empty.
#pragma once

#include "MWin/MWinCollectionController.h"

class Game;
class MWinScreens;

#define VIZAVU_SCREENS_BRIDGE(Header, Cls)                                                                        \
    inline Cls* VizavuScreensNew##Cls(MWinScreens* s) { return new Cls(s); }                                      \
    inline MWinCollectionController* VizavuScreensAsController(Cls* c) { return c; }                             \
    inline void VizavuScreensDelete(Cls* c) { delete c; }
#define VIZAVU_SCREENS_EMPTY(Cls)                                                                                 \
    inline Cls* VizavuScreensNew##Cls(MWinScreens*) { return nullptr; }                                          \
    inline MWinCollectionController* VizavuScreensAsController(Cls*) { return nullptr; }                         \
    inline void VizavuScreensDelete(Cls*) {}

#if __has_include("OptionsScreen.h")
#include "OptionsScreen.h"
VIZAVU_SCREENS_BRIDGE("OptionsScreen.h", OptionsCC)
#else
VIZAVU_SCREENS_EMPTY(OptionsCC)
#endif
#if __has_include("ControlsScreen.h")
#include "ControlsScreen.h"
VIZAVU_SCREENS_BRIDGE("ControlsScreen.h", ControlsCC)
#else
VIZAVU_SCREENS_EMPTY(ControlsCC)
#endif
#if __has_include("GraphicsScreen.h")
#include "GraphicsScreen.h"
VIZAVU_SCREENS_BRIDGE("GraphicsScreen.h", GraphicsCC)
#else
VIZAVU_SCREENS_EMPTY(GraphicsCC)
#endif
#if __has_include("MiscScreen.h")
#include "MiscScreen.h"
VIZAVU_SCREENS_BRIDGE("MiscScreen.h", MiscCC)
#else
VIZAVU_SCREENS_EMPTY(MiscCC)
#endif
#if __has_include("AboutScreen.h")
#include "AboutScreen.h"
VIZAVU_SCREENS_BRIDGE("AboutScreen.h", AboutCC)
#else
VIZAVU_SCREENS_EMPTY(AboutCC)
#endif
#if __has_include("GameAdsScreen.h")
#include "GameAdsScreen.h"
VIZAVU_SCREENS_BRIDGE("GameAdsScreen.h", GameAdsCC)
inline void VizavuScreensGameAdsCreateGraphics(GameAdsCC* c) { if (c) c->CreateGraphics(); }
inline void VizavuScreensGameAdsDestroyGraphics(GameAdsCC* c) { if (c) c->DestroyGraphics(); }
#else
VIZAVU_SCREENS_EMPTY(GameAdsCC)
inline void VizavuScreensGameAdsCreateGraphics(GameAdsCC*) {}
inline void VizavuScreensGameAdsDestroyGraphics(GameAdsCC*) {}
#endif

template <class... C>
void VizavuScreensDeleteOthers(C*... c)
{
    (VizavuScreensDelete(c), ...);
}

// Renders the current puzzle to the print file.
void VizavuScreensPrint();
// Prepares the other-games browser and goes to it.
class VizavuScreens;
void VizavuScreensOpenGameAds(VizavuScreens* screens);
