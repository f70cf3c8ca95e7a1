// MIDI music: Standard MIDI Files played in up to five slots by the platform
// half (Engine/Linux/EngMidi_LNX), and the file checks it relies on.
#pragma once

#include <vector>

#include "EngTypes.h"

#define ENG_MIDI_MAX_SLOTS 5
// Largest time a MIDI file can express between two events.
#define ENG_MIDI_MAX_DELTA 0x0FFFFFFF

struct _EngMidiFileInfo
{
    int format;
    int num_tracks;
    int ticks_per_beat;
    // 1 when the division counts frames per second (SMPTE) instead of ticks per beat.
    char smpte_timing;
    // Tick of the last event of the last track (end of track not counted); -1 when it has none.
    EngInt32 last_event_tick;
    // Tick at which the file counts as finished; -1 when there is no last event.
    EngInt32 end_tick;
};

// Checks a whole Standard MIDI File without reading past it, and makes the copy
// to play: the last track is kept going until extra_beats (0 or more) past its
// last event. 0 with a logged reason for a damaged or unsupported file.
char EngMidiPrepareFile(const EngUInt8* data, EngUInt32 size, int extra_beats, std::vector<EngUInt8>* out,
                        _EngMidiFileInfo* info);

// Plays the file in a free slot; the slot number, or -1.
int EngMidiPlaySequenceFromFile(const char* path, int extra_beats);
// Stops and releases a slot.
void EngMidiStop(int slot);
// Stops every slot (at exit).
void EngMidiExit();
