// Sound: the back-end switch, the global play switch and one playable sound
// (a PCM buffer with its own source). Only the OpenAL back end exists.
#pragma once

#include "EngTypes.h"

typedef int _EngSoundSystem;
#define ENG_SOUND_SYSTEM_NONE 0
#define ENG_SOUND_SYSTEM_OPENAL 1

extern _EngSoundSystem es_sound_system;
extern _EngSoundSystem es_last_sound_system_loaded;
extern char es_3d_enabled;
extern int es_max_sounds;
extern int es_sound_on;
extern float es_sound_3d_min_pos;
extern float es_sound_3d_max_pos;

char EngSoundInit(_EngSoundSystem system, char enable3d, char, char, const char*, int max_sounds);
char EngSoundUpdate();
void EngSoundExit();
// 1 when a back end is selected and running.
char EngSoundIsSetup();
void EngSoundOn();
void EngSoundOff();
void EngSoundEnable3dSound(char on);
char EngSoundIs3DEnabled();
void EngSoundSet3dMinMaxValues(float min, float max);
void EngSoundAllowSoundsToPlayWhenApplicationLosesFocus(char);

class EngSound
{
public:
    EngSound(const char* path, char want3d, const char*);
    EngSound(EngSound* other, const char*);
    explicit EngSound(const char* = nullptr);
    ~EngSound();
    EngSound(const EngSound&) = delete;
    EngSound& operator=(const EngSound&) = delete;

    void Destroy();

    char LoadSoundFromFile(const char* path, char);
    char LoadMusicFromFile(const char* path, char, char);
    char LoadSoundFromFileIfNeeded(const char* path, char);
    char LoadMusicFromFileIfNeeded(const char* path, char, char);
    char LoadSoundFromOggFile(const char* path, char, char);

    void Enable3dSound(char on);
    void Set3dMinMaxValues(float min, float max);
    void Set3dPosition(float x, float y, float z);
    void SetVolume(float gain);
    float GetVolume();
    char Play();
    char ResumePlaying();
    char PlayLooped();
    void Stop();
    char IsPlaying();
    void SetFrequency(EngUInt32 hz);
    EngUInt32 GetFrequency();
    void SetFrequencyFloat(float pitch);
    float GetFrequencyFloat();
    EngUInt32 GetPlayBufferSize();
    EngUInt32 GetPlayBufferPos();
    char SetPlayBufferPos(EngUInt32 pos);
    char Exists();

    char IsLoaded() const { return loaded; }
    // Playing time in seconds of the loaded data.
    float GetLength() const { return length; }
    char OwnsBuffer() const { return owns_buffer; }
    EngUInt32 GetBufferName() const { return buffer; }

    // OpenAL half (Engine/OpenAL/EngSound_AL.cpp).
    void ResetVarsAL();
    char InitAL(const char* path, char want3d);
    char InitAL(EngSound* other);
    char LoadSoundFromFileAL(const char* path, char);
    char LoadSoundFromDataAL(const void* data, int format, unsigned size, unsigned frequency);
    char LoadSoundFromOtherSoundAL(EngSound* other);
    char LoadSoundFromOggFileAL(const char* path, char, char);
    void DestroyAL();
    char PlayAL();
    char ResumePlayingAL();
    char PlayLoopedAL();
    void StopAL();
    char IsPlayingAL();
    void SetVolumeAL(float gain);
    float GetVolumeAL();
    void SetFrequencyFloatAL(float pitch);
    void SetFrequencyAL(EngUInt32 hz);
    float GetFrequencyFloatAL();
    EngUInt32 GetFrequencyAL();
    EngUInt32 GetPlayBufferSizeAL();
    EngUInt32 GetPlayBufferPosAL();
    char SetPlayBufferPosAL(EngUInt32 pos);
    void Set3dPositionAL(float x, float y, float z);
    void Enable3dSoundAL(char on);
    void Set3dMinMaxValuesAL(float min, float max);
    char ExistsAL();

private:
    // Logs the no-source message while OpenAL runs; 1 when the sound may go on.
    char CheckSourceAL(const char* func, const char* message);

    char loaded;
    float length;
    char has_source;
    char looping;
    EngUInt32 buffer;
    EngUInt32 source;
    char owns_buffer;
    // OpenAL start count when the objects were made: a restart invalidates them.
    EngUInt32 al_generation;
};
