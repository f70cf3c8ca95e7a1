// Hooks into the screens; sound and effects are empty.
#include "GameHooks.h"

#include "VizavuScreens.h"

EngUInt32 game_hooks_current_screen = 0;

char SoundInit()
{
    return 1;
}
void SoundLoadAll() {}
void SoundSetSoundVolume(int) {}
void SoundPlay(int) {}
void SoundPlayMWinSound(int) {}
void SoundStopBgMusic() {}
char SoundStartBgMusic()
{
    return 1;
}
char SoundBgMusicTick()
{
    return 1;
}
void SoundExit() {}

void EffectsPre3dInit() {}
char EffectsCreateGraphics()
{
    return 1;
}
void EffectsDeleteGraphics() {}
void EffectsStartMenuEffects() {}
void EffectsStopMenuEffects() {}
void EffectsDoCompleted(float, float, float) {}
void EffectsStopCompleted() {}
char EffectsTickMuiOn()
{
    return 0;
}
char EffectsTickMuiOff()
{
    return 0;
}
void EffectsRenderMuiOn() {}
void EffectsRenderMuiOff() {}
void EffectsDoPlace(_Vector3d*, _Vector3d*) {}

// The screen set's current screen; without screens, the one a test forced.
EngUInt32 VizavuGetCurrentScreenID()
{
    if (vizavu_screens && vizavu_screens->GetCurrentScreen())
        return vizavu_screens->GetCurrentScreen();
    return game_hooks_current_screen;
}
