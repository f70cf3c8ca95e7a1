// Calls into screens, sound and effects. Sound and effects are no-ops the game
// never fills; the in-game calls live with the play screen. The counters let
// tests see that the hooks were reached.
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

extern EngUInt32 game_hooks_current_screen;
extern int game_hooks_undo_button_calls;
extern int game_hooks_in_game_menu_calls;
extern int game_hooks_place_calls;
