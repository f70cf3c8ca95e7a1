// Calls into screens, sound and effects. Sound and effects are empty hooks the
// game never fills; the in-game calls live with the play screen.
#pragma once

#include "EngTypes.h"

char SoundInit();
void SoundLoadAll();
void SoundSetSoundVolume(int volume);
void SoundPlay(int sound);
void SoundPlayMWinSound(int sound);
void SoundStopBgMusic();
char SoundStartBgMusic();
char SoundBgMusicTick();
void SoundExit();

void EffectsPre3dInit();
char EffectsCreateGraphics();
void EffectsDeleteGraphics();
void EffectsStartMenuEffects();
void EffectsStopMenuEffects();
void EffectsDoCompleted(float x, float y, float z);
void EffectsStopCompleted();
char EffectsTickMuiOn();
char EffectsTickMuiOff();
void EffectsRenderMuiOn();
void EffectsRenderMuiOff();
void EffectsDoPlace(_Vector3d* pos, _Vector3d* scale);

// In-game screen: refresh the Undo button; save and go back to the main menu.
void InGameControlActivateUndoButton();
void InGameMenuCB();

// The screen currently shown (a code such as 'MAIN'), 0 while there are no screens.
EngUInt32 VizavuGetCurrentScreenID();

// Test seam: the screen reported while no screen set exists.
extern EngUInt32 game_hooks_current_screen;
