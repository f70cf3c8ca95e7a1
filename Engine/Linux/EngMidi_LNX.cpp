// MIDI playback through FluidSynth: one synthesizer, player and audio output
// per slot, the sound font's samples shared between them. The player's thread
// only marks a slot finished; the main thread releases it from its per-frame hook.
#include "Linux/EngMidi_LNX.h"

#include <fluidsynth.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMidi.h"
#include "EngProgram.h"

_EngMidiSlot emm_midis[ENG_MIDI_MAX_SLOTS];
char emm_reset = 0;

namespace
{

// Largest MIDI file read.
const EngUInt32 EMM_MAX_FILE_SIZE = 16u * 1024u * 1024u;

std::string emm_driver;
std::string emm_file_folder;
std::string emm_sound_font = ENG_MIDI_DEFAULT_SOUND_FONT;
char emm_hook_set = 0;

void FluidLog(int, const char* message, void*)
{
    DebugInfo("FluidSynth: %s", message ? message : "");
}

char ValidSlot(int slot)
{
    return slot >= 0 && slot < ENG_MIDI_MAX_SLOTS;
}

void ClearSlot(_EngMidiSlot* s)
{
    s->settings = nullptr;
    s->synth = nullptr;
    s->player = nullptr;
    s->output = nullptr;
    s->end_tick.store(-1);
    s->state.store(ENG_MIDI_SLOT_FREE);
}

// Frees what a slot holds, output first so that no thread is left calling in.
void DisposeSlot(_EngMidiSlot* s)
{
    if (s->output)
        delete_fluid_audio_driver(s->output);
    if (s->player)
        delete_fluid_player(s->player);
    if (s->synth)
        delete_fluid_synth(s->synth);
    if (s->settings)
        delete_fluid_settings(s->settings);
    ClearSlot(s);
}

// The sound font's samples are read once: a silent synthesizer keeps the font
// loaded, and FluidSynth's sample cache hands the same samples to every slot
// that loads the file after it. (One font object shared by synthesizers that
// play on different threads is not safe in FluidSynth: its sample reference
// counts go wrong.)
fluid_settings_t* emm_keeper_settings = nullptr;
fluid_synth_t* emm_keeper = nullptr;
std::string emm_kept_font;

void ReleaseSoundFont()
{
    if (emm_keeper)
        delete_fluid_synth(emm_keeper);
    if (emm_keeper_settings)
        delete_fluid_settings(emm_keeper_settings);
    emm_keeper = nullptr;
    emm_keeper_settings = nullptr;
    emm_kept_font.clear();
}

char KeepSoundFont()
{
    if (emm_keeper && emm_kept_font == emm_sound_font)
        return 1;
    ReleaseSoundFont();
    if (!EngFileExists(emm_sound_font.c_str()) || !(emm_keeper_settings = new_fluid_settings()) ||
        !(emm_keeper = new_fluid_synth(emm_keeper_settings)) ||
        fluid_synth_sfload(emm_keeper, emm_sound_font.c_str(), 0) < 0)
    {
        ReleaseSoundFont();
        return 0;
    }
    emm_kept_font = emm_sound_font;
    DebugInfo("Sound font loaded <%s>", emm_kept_font.c_str());
    return 1;
}

char AnySlotActive()
{
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        if (emm_midis[i].state.load() != ENG_MIDI_SLOT_FREE)
            return 1;
    return 0;
}

void SetHook(char on)
{
    if (emm_hook_set == on)
        return;
    emm_hook_set = on;
    if (eng_main_program)
        eng_main_program->SetPostTickCB(on ? EngMidiTick_LNX : nullptr);
}

} // namespace

void EngMidiSetAudioOutput_LNX(const char* driver, const char* file_folder)
{
    emm_driver = driver ? driver : "";
    emm_file_folder = file_folder ? file_folder : "";
}

void EngMidiSetSoundFont_LNX(const char* path)
{
    emm_sound_font = path ? path : "";
}

char EngMidiGetSlotState_LNX(int slot)
{
    return ValidSlot(slot) ? emm_midis[slot].state.load() : ENG_MIDI_SLOT_FREE;
}

fluid_synth_t* EngMidiGetSynth_LNX(int slot)
{
    return ValidSlot(slot) ? emm_midis[slot].synth : nullptr;
}

fluid_synth_t* EngMidiGetSoundFontKeeper_LNX()
{
    return emm_keeper;
}

char EngMidiIsTickHookSet_LNX()
{
    return emm_hook_set;
}

int EngMidiPlaySequenceFromFile_LNX(const char* path, int extra_beats)
{
    DebugInfo("CMMPSFF - Initialising");
    if (!emm_reset)
    {
        for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
            ClearSlot(&emm_midis[i]);
        fluid_set_log_function(FLUID_PANIC, FluidLog, nullptr);
        fluid_set_log_function(FLUID_ERR, FluidLog, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        emm_reset = 1;
    }
    int num = -1;
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS && num < 0; i++)
        if (emm_midis[i].state.load() == ENG_MIDI_SLOT_FREE)
            num = i;
    if (num < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No free midi slots");
        return -1;
    }
    _EngMidiSlot* s = &emm_midis[num];
    const char* failure = nullptr;
    std::vector<EngUInt8> file;
    std::vector<EngUInt8> playable;
    _EngMidiFileInfo info = {};

    DebugInfo("CMMPSFF - Creating New Sequence");
    ClearSlot(s);
    s->settings = new_fluid_settings();
    if (s->settings)
    {
        fluid_settings_setstr(s->settings, "player.timing-source", "sample");
        fluid_settings_setint(s->settings, "synth.cpu-cores", 1);
        if (!emm_driver.empty())
            fluid_settings_setstr(s->settings, "audio.driver", emm_driver.c_str());
        if (!emm_file_folder.empty())
        {
            std::string name = emm_file_folder + "/midi" + std::to_string(num) + ".wav";
            fluid_settings_setstr(s->settings, "audio.file.name", name.c_str());
        }
        s->synth = new_fluid_synth(s->settings);
    }
    if (!s->synth)
        failure = "NewMusicSequence() failed";

    if (!failure)
    {
        DebugInfo("CMMPSFF - Load SMF");
        char is_file = path && path[0] && EngFileExists(path) && !EngFileDirectoryExists(path);
        EngUInt32 size = is_file ? EngFileGetFileSize(path, 0) : 0;
        if (!path || !path[0])
            DebugErrorAlt(__PRETTY_FUNCTION__, "No filename");
        else if (!is_file)
            DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", path);
        else if (size > EMM_MAX_FILE_SIZE)
            DebugErrorAlt(__PRETTY_FUNCTION__, "File too large <%s>", path);
        else if (size > 0)
        {
            file.resize(size);
            if (!EngFileOpenReadAndClose(path, 0, file.data(), size))
                file.clear();
        }
        if (file.empty() ||
            !EngMidiPrepareFile(file.data(), (EngUInt32)file.size(), extra_beats, &playable, &info))
            failure = "MusicSequenceLoadSMF() failed";
        else if (info.smpte_timing)
        {
            // FluidSynth's player times ticks by beats only and would play nothing.
            DebugErrorAlt(__PRETTY_FUNCTION__, "SMPTE time division not supported <%s>", path);
            failure = "MusicSequenceLoadSMF() failed";
        }
    }

    if (!failure)
    {
        DebugInfo("CMMPSFF - New Music Player");
        if (!emm_sound_font.empty() &&
            (!KeepSoundFont() || fluid_synth_sfload(s->synth, emm_sound_font.c_str(), 1) < 0))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load sound font <%s>", emm_sound_font.c_str());
            failure = "NewMusicPlayer() failed";
        }
        else if (!(s->player = new_fluid_player(s->synth)))
            failure = "NewMusicPlayer() failed";
    }

    if (!failure)
    {
        DebugInfo("CMMPSFF - Set Sequence");
        if (fluid_player_add_mem(s->player, playable.data(), playable.size()) != FLUID_OK)
            failure = "MusicPlayerSetSequence() failed";
        else
            s->state.store(ENG_MIDI_SLOT_PLAYING);
    }

    if (!failure)
    {
        DebugInfo("CMMPSFF - Set User Callback");
        if (fluid_player_set_tick_callback(s->player, EngMidiMusicUserSequenceCallback_LNX,
                                           (void*)(intptr_t)num) != FLUID_OK)
            DebugErrorAlt(__PRETTY_FUNCTION__, "MusicSequenceSetUserCallback() failed");

        DebugInfo("CMMPSFF - Add Event");
        // The copy being played runs on to the end tick; without a last event the
        // slot finishes when the player does.
        s->end_tick.store(info.end_tick);

        // The player is set going before the output exists: the file starts
        // with the first sample rendered, however late the main thread gets
        // here after the output's thread has begun.
        DebugInfo("CMMPSFF - Preroll");
        if (fluid_player_play(s->player) != FLUID_OK)
            failure = "MusicPlayerPreroll() failed";
    }

    if (!failure)
    {
        DebugInfo("CMMPSFF - Player Start");
        if (!(s->output = new_fluid_audio_driver(s->settings, s->synth)))
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not open the audio output");
            failure = "MusicPlayerStart() failed";
        }
    }

    if (failure)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s", failure);
        DebugInfo("CMMPSFF - Error");
        DisposeSlot(s);
        return -1;
    }
    DebugInfo("CMMPSFF - Done");
    SetHook(1);
    return num;
}

int EngMidiMusicUserSequenceCallback_LNX(void* slot, int tick)
{
    intptr_t num = (intptr_t)slot;
    if (num < 0 || num >= ENG_MIDI_MAX_SLOTS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "num invalid [%d]", -1);
        return FLUID_OK;
    }
    _EngMidiSlot* s = &emm_midis[num];
    EngInt32 end = s->end_tick.load();
    if (end >= 0 && tick >= end)
    {
        char playing = ENG_MIDI_SLOT_PLAYING;
        s->state.compare_exchange_strong(playing, ENG_MIDI_SLOT_FINISHED);
    }
    return FLUID_OK;
}

void EngMidiTick_LNX()
{
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
    {
        _EngMidiSlot* s = &emm_midis[i];
        // A player that ran out of events is finished too.
        if (s->state.load() == ENG_MIDI_SLOT_PLAYING && s->player &&
            fluid_player_get_status(s->player) == FLUID_PLAYER_DONE)
        {
            char playing = ENG_MIDI_SLOT_PLAYING;
            s->state.compare_exchange_strong(playing, ENG_MIDI_SLOT_FINISHED);
        }
        if (s->state.load() == ENG_MIDI_SLOT_FINISHED)
            EngMidiStop_LNX(i);
    }
    if (!AnySlotActive())
        SetHook(0);
}

void EngMidiStop_LNX(int slot)
{
    if (!ValidSlot(slot))
        return;
    _EngMidiSlot* s = &emm_midis[slot];
    char state = s->state.load();
    if (state == ENG_MIDI_SLOT_PLAYING)
    {
        s->state.store(ENG_MIDI_SLOT_FINISHED);
        EngMidiTick_LNX();
        return;
    }
    if (state != ENG_MIDI_SLOT_FINISHED)
        return;
    if (s->player && fluid_player_stop(s->player) != FLUID_OK)
        DebugErrorAlt(__PRETTY_FUNCTION__, "MusicPlayerStop <err:%d>", FLUID_FAILED);
    DisposeSlot(s);
    if (!AnySlotActive())
        SetHook(0);
}

void EngMidiExit_LNX()
{
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        EngMidiStop_LNX(i);
    ReleaseSoundFont();
}
