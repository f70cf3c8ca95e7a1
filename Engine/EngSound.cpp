// Sound front end: selects the back end and forwards every sound operation to it.
#include "EngSound.h"

#include "EngDebug.h"
#include "EngFile.h"
#include "OpenAL/EngSound_AL.h"

_EngSoundSystem es_sound_system = ENG_SOUND_SYSTEM_NONE;
_EngSoundSystem es_last_sound_system_loaded = ENG_SOUND_SYSTEM_NONE;
char es_3d_enabled = 0;
int es_max_sounds = 0;
int es_sound_on = 1;
float es_sound_3d_min_pos = 1.0f;
float es_sound_3d_max_pos = 10000.0f;

namespace
{

char IsAL()
{
    return es_sound_system == ENG_SOUND_SYSTEM_OPENAL;
}

void NotImplemented(const char* func)
{
    DebugNoteAlt(DEBUG_NOTE_NOT_IMPLEMENTED, func, "Not implemented.");
}

// False, after noting func is not implemented, when the back end is not OpenAL.
bool UsingAL(const char* func)
{
    if (IsAL())
        return true;
    NotImplemented(func);
    return false;
}

} // namespace

char EngSoundInit(_EngSoundSystem system, char enable3d, char, char, const char*, int max_sounds)
{
    es_3d_enabled = enable3d;
    es_sound_system = system;
    es_max_sounds = max_sounds;
    if (system == ENG_SOUND_SYSTEM_NONE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sound parameters not setup");
        return 0;
    }
    return EngSoundUpdate();
}

char EngSoundUpdate()
{
    if (es_sound_system != ENG_SOUND_SYSTEM_NONE && es_sound_system == es_last_sound_system_loaded)
        return 1;
    es_last_sound_system_loaded = es_sound_system;
    EngSoundExit_AL();
    char ok = 0;
    if (es_sound_system == ENG_SOUND_SYSTEM_OPENAL)
        ok = EngSoundInit_AL(es_3d_enabled);
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Unknown sound system %d", es_sound_system);
    // A failed start is tried again by the next update instead of being reported as running.
    if (!ok)
        es_last_sound_system_loaded = ENG_SOUND_SYSTEM_NONE;
    return ok;
}

void EngSoundExit()
{
    EngSoundExit_AL();
    es_last_sound_system_loaded = ENG_SOUND_SYSTEM_NONE;
}

char EngSoundIsSetup()
{
    return es_sound_system != ENG_SOUND_SYSTEM_NONE && es_sound_system == es_last_sound_system_loaded;
}

void EngSoundOn()
{
    es_sound_on = 1;
}

void EngSoundOff()
{
    es_sound_on = 0;
}

void EngSoundEnable3dSound(char on)
{
    es_3d_enabled = on;
}

char EngSoundIs3DEnabled()
{
    return es_3d_enabled;
}

void EngSoundSet3dMinMaxValues(float min, float max)
{
    es_sound_3d_min_pos = min;
    es_sound_3d_max_pos = max;
}

void EngSoundAllowSoundsToPlayWhenApplicationLosesFocus(char) {}

EngSound::EngSound(const char* path, char want3d, const char*)
{
    loaded = 0;
    length = 0;
    al_generation = 0;
    ResetVarsAL();
    char use3d = es_3d_enabled ? want3d : 0;
    if (!path || !path[0])
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename");
    else if (!EngFileExists(path))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename does not exist <%s>", path);
    else if (UsingAL(__PRETTY_FUNCTION__))
        loaded = InitAL(path, use3d);
    if (!loaded)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load sound");
}

EngSound::EngSound(EngSound* other, const char*)
{
    loaded = 0;
    length = 0;
    al_generation = 0;
    ResetVarsAL();
    if (!other)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No sound passed in");
    else if (!other->loaded)
        DebugErrorAlt(__PRETTY_FUNCTION__, "sound passed in not ok");
    else if (UsingAL(__PRETTY_FUNCTION__))
    {
        loaded = InitAL(other);
        if (!loaded)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not duplicate sound");
    }
}

EngSound::EngSound(const char*)
{
    loaded = 0;
    length = 0;
    al_generation = 0;
    ResetVarsAL();
}

EngSound::~EngSound()
{
    DestroyAL();
}

void EngSound::Destroy()
{
    DestroyAL();
}

char EngSound::LoadSoundFromFile(const char* path, char opt)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return LoadSoundFromFileAL(path, opt);
}

char EngSound::LoadMusicFromFile(const char* path, char opt, char)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return LoadSoundFromFileAL(path, opt);
}

char EngSound::LoadSoundFromFileIfNeeded(const char* path, char opt)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    if (Exists())
        return 1;
    return LoadSoundFromFileAL(path, opt);
}

char EngSound::LoadMusicFromFileIfNeeded(const char* path, char opt, char)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    if (Exists())
        return 1;
    return LoadSoundFromFileAL(path, opt);
}

char EngSound::LoadSoundFromOggFile(const char* path, char a, char b)
{
    if (!IsAL())
        return 0;
    return LoadSoundFromOggFileAL(path, a, b);
}

void EngSound::Enable3dSound(char on)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    Enable3dSoundAL(es_3d_enabled ? on : 0);
}

void EngSound::Set3dMinMaxValues(float min, float max)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    if (es_3d_enabled)
        Set3dMinMaxValuesAL(min, max);
}

void EngSound::Set3dPosition(float x, float y, float z)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    if (es_3d_enabled)
        Set3dPositionAL(x, y, z);
}

void EngSound::SetVolume(float gain)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    SetVolumeAL(gain);
}

float EngSound::GetVolume()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return GetVolumeAL();
}

char EngSound::Play()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return es_sound_on ? PlayAL() : 0;
}

char EngSound::ResumePlaying()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return es_sound_on ? ResumePlayingAL() : 0;
}

char EngSound::PlayLooped()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return es_sound_on ? PlayLoopedAL() : 0;
}

void EngSound::Stop()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    StopAL();
}

char EngSound::IsPlaying()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return IsPlayingAL();
}

void EngSound::SetFrequency(EngUInt32 hz)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    SetFrequencyAL(hz);
}

EngUInt32 EngSound::GetFrequency()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return GetFrequencyAL();
}

void EngSound::SetFrequencyFloat(float pitch)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return;
    SetFrequencyFloatAL(pitch);
}

float EngSound::GetFrequencyFloat()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return GetFrequencyFloatAL();
}

EngUInt32 EngSound::GetPlayBufferSize()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return GetPlayBufferSizeAL();
}

EngUInt32 EngSound::GetPlayBufferPos()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return GetPlayBufferPosAL();
}

char EngSound::SetPlayBufferPos(EngUInt32 pos)
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return SetPlayBufferPosAL(pos);
}

char EngSound::Exists()
{
    if (!UsingAL(__PRETTY_FUNCTION__))
        return 0;
    return ExistsAL();
}
