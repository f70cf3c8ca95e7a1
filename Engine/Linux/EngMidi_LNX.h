// MIDI playback on Linux: each slot is a FluidSynth synthesizer with the General
// MIDI sound font, a file player and an audio output of its own; the font's
// samples are read once and shared.
#pragma once

#include <atomic>

#include "EngMidi.h"
#include "EngTypes.h"

#define ENG_MIDI_SLOT_FREE 0
#define ENG_MIDI_SLOT_PLAYING 1
#define ENG_MIDI_SLOT_FINISHED 2

#define ENG_MIDI_DEFAULT_SOUND_FONT "/usr/share/sounds/sf2/FluidR3_GM.sf2"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_audio_driver_t;

struct _EngMidiSlot
{
    // Written by the player's thread (finished) and the main thread.
    std::atomic<char> state;
    // Tick at which the file counts as finished (-1: only when the player ends).
    std::atomic<EngInt32> end_tick;
    _fluid_hashtable_t* settings;
    _fluid_synth_t* synth;
    _fluid_player_t* player;
    _fluid_audio_driver_t* output;
};

extern _EngMidiSlot emm_midis[ENG_MIDI_MAX_SLOTS];
extern char emm_reset;

int EngMidiPlaySequenceFromFile_LNX(const char* path, int extra_beats);
void EngMidiStop_LNX(int slot);
// Releases every finished slot; the program's per-frame hook while files play.
void EngMidiTick_LNX();
// The player's tick callback: marks the slot (user data) finished at its end tick.
int EngMidiMusicUserSequenceCallback_LNX(void* slot, int tick);
// Stops and releases every slot.
void EngMidiExit_LNX();

char EngMidiGetSlotState_LNX(int slot);
// Whether EngMidiTick_LNX is asked to run each frame.
char EngMidiIsTickHookSet_LNX();

// Output settings: the FluidSynth audio driver ("" for its default) and, for the
// "file" driver, the folder that receives "midi<slot>.wav"; the sound font file.
void EngMidiSetAudioOutput_LNX(const char* driver, const char* file_folder);
void EngMidiSetSoundFont_LNX(const char* path);

// What is loaded: a slot's synthesizer (null while the slot is free) and the
// synthesizer that keeps the sound font's samples for all slots (null when none).
_fluid_synth_t* EngMidiGetSynth_LNX(int slot);
_fluid_synth_t* EngMidiGetSoundFontKeeper_LNX();
