// OpenAL back end of EngSound: one source per sound on an owned or shared buffer.
#include "OpenAL/EngSound_AL.h"

#include <AL/al.h>
#include <AL/alut.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngSound.h"

char csal_init_ok = 0;

namespace
{

// Bumped at every start: objects made under an older start died with its context.
EngUInt32 csal_generation = 0;
// Sounds using each buffer; the buffer is deleted when the last one lets go,
// so a copy never loses its data when the owner is released first.
std::map<ALuint, int> csal_buffer_users;

void AddBufferUser(ALuint buffer)
{
    csal_buffer_users[buffer]++;
}

// 1 when this was the buffer's last user.
char RemoveBufferUser(ALuint buffer)
{
    auto it = csal_buffer_users.find(buffer);
    if (it == csal_buffer_users.end())
        return 1;
    if (--it->second > 0)
        return 0;
    csal_buffer_users.erase(it);
    return 1;
}

int BytesPerFrame(int format)
{
    switch (format)
    {
    case AL_FORMAT_MONO8:
        return 1;
    case AL_FORMAT_MONO16:
    case AL_FORMAT_STEREO8:
        return 2;
    case AL_FORMAT_STEREO16:
        return 4;
    default:
        return 0;
    }
}

} // namespace

const char* EngSoundErrorText_AL(int code, char* buf, unsigned size)
{
    static const struct
    {
        int code;
        const char* text;
    } kErrors[] = {
        {AL_INVALID_NAME, "Invalid name parameter"},        {AL_INVALID_ENUM, "Invalid parameter"},
        {AL_INVALID_VALUE, "Invalid enum parameter value"}, {AL_INVALID_OPERATION, "Invalid operation"},
        {AL_OUT_OF_MEMORY, "Unable to allocate memory"},
    };
    for (const auto& e : kErrors)
        if (e.code == code)
        {
            snprintf(buf, size, "%s", e.text);
            return buf;
        }
    snprintf(buf, size, "Unknown Error 0x%x", (unsigned)code);
    return buf;
}

char EngSoundErrorCheck_AL(const char* function, const char* call, char report)
{
    ALenum err = alGetError();
    if (err == AL_NO_ERROR)
        return 1;
    if (report)
    {
        char text[64];
        DebugError(function, "AL Error : %s (%s)", call, EngSoundErrorText_AL(err, text, sizeof(text)));
    }
    return 0;
}

char EngSoundInit_AL(char enable3d)
{
    if (csal_init_ok)
        return 1;
    if (!alutInit(nullptr, nullptr))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "alutInit failed: %s", alutGetErrorString(alutGetError()));
        return 0;
    }
    alGetError();
    alDistanceModel(enable3d ? AL_INVERSE_DISTANCE : AL_NONE);
    EngSoundErrorCheck_AL("EngSoundInit_AL", "alDistanceModel", 1);
    csal_buffer_users.clear();
    csal_generation++;
    csal_init_ok = 1;
    return 1;
}

void EngSoundExit_AL()
{
    if (csal_init_ok)
        alutExit();
    csal_buffer_users.clear();
    csal_init_ok = 0;
}

char EngSoundIsSetup_AL()
{
    return csal_init_ok;
}

void EngSoundAlFixDeleteThenCreateProblem_AL()
{
    if (!csal_init_ok)
        return;
    ALuint b = 0;
    alGetError();
    alGenBuffers(1, &b);
    if (alGetError() == AL_NO_ERROR)
        alDeleteBuffers(1, &b);
}

void EngSound::ResetVarsAL()
{
    has_source = 0;
    looping = 0;
    owns_buffer = 0;
    buffer = 0;
    source = 0;
}

char EngSound::InitAL(const char* path, char)
{
    return LoadSoundFromFileAL(path, 0);
}

char EngSound::InitAL(EngSound* other)
{
    if (!csal_init_ok)
        return 0;
    return LoadSoundFromOtherSoundAL(other);
}

char EngSound::CheckSourceAL(const char* func, const char* message)
{
    if (has_source && (!csal_init_ok || al_generation != csal_generation))
        ResetVarsAL(); // OpenAL was shut down: its objects are gone
    if (has_source)
        return 1;
    if (csal_init_ok && message)
        DebugErrorAlt(func, "%s", message);
    return 0;
}

char EngSound::LoadSoundFromFileAL(const char* path, char)
{
    if (!EngFileExists(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sound <%s> does not exist", path ? path : "");
        return 0;
    }
    if (!csal_init_ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sound not setup.");
        return 0;
    }
    ALenum format = 0;
    ALsizei size = 0;
    ALfloat frequency = 0;
    // The library opens the regular file already open here (its in-memory
    // reader overruns cut files), never the path, which may have become a
    // FIFO or device meanwhile.
    void* data = nullptr;
    int fd = EngFileOpenRegular(path, O_RDONLY, __PRETTY_FUNCTION__);
    if (fd >= 0)
    {
        char opened[64];
        snprintf(opened, sizeof(opened), "/proc/self/fd/%d", fd);
        data = alutLoadMemoryFromFile(opened, &format, &size, &frequency);
        close(fd);
    }
    if (!data || size <= 0 || format == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem loading file <%s>", path);
        free(data);
        return 0;
    }
    unsigned hz = frequency > 0 && frequency < 4.0e9f ? (unsigned)frequency : 0;
    char ok = LoadSoundFromDataAL(data, format, (unsigned)size, hz);
    free(data);
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem loading sound from data");
        return 0;
    }
    return 1;
}

char EngSound::LoadSoundFromDataAL(const void* data, int format, unsigned size, unsigned frequency)
{
    if (!csal_init_ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sound not setup.");
        return 0;
    }
    CheckSourceAL(__PRETTY_FUNCTION__, nullptr);
    if (has_source)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sound already created");
        return 0;
    }
    if (!data || size == 0 || format == 0 || size > (unsigned)INT_MAX || frequency > (unsigned)INT_MAX)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters passed in for sound");
        return 0;
    }
    alGetError();
    ALuint b = 0;
    alGenBuffers(1, &b);
    if (!EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataA", "alGenBuffers", 1))
        return 0;
    ALuint s = 0;
    char ok = 0;
    alBufferData(b, format, data, (ALsizei)size, (ALsizei)frequency);
    if (EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataA", "alBufferData", 1))
    {
        alGenSources(1, &s);
        if (EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataA", "alGenSources", 1))
        {
            alSourcei(s, AL_BUFFER, (ALint)b);
            if (EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataAL", "alSourcei", 1))
                ok = 1;
            else
            {
                alDeleteSources(1, &s);
                alGetError();
            }
        }
    }
    if (!ok)
    {
        alDeleteBuffers(1, &b);
        alGetError();
        owns_buffer = 0;
        return 0;
    }
    int frame = BytesPerFrame(format);
    length = frequency && frame ? (float)size / ((float)frequency * (float)frame) : 0;
    alSourcef(s, AL_MIN_GAIN, 0);
    EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataAL", "AL_MIN_GAIN", 1);
    alSourcef(s, AL_MAX_GAIN, 1);
    EngSoundErrorCheck_AL("EngSound::LoadSoundFromDataAL", "AL_MAX_GAIN", 1);
    buffer = b;
    source = s;
    owns_buffer = 1;
    has_source = 1;
    looping = 0;
    al_generation = csal_generation;
    AddBufferUser(b);
    return 1;
}

char EngSound::LoadSoundFromOtherSoundAL(EngSound* other)
{
    if (!csal_init_ok || !other || other == this || !other->loaded)
        return 0;
    // A copy of a copy is refused.
    if (!other->CheckSourceAL(__PRETTY_FUNCTION__, nullptr) || !other->owns_buffer)
        return 0;
    if (has_source)
        DestroyAL();
    const char* fn = "EngSound::LoadSoundFromOtherSoundAL";
    alGetError();
    ALint shared = 0;
    alGetSourcei(other->source, AL_BUFFER, &shared);
    if (!EngSoundErrorCheck_AL(fn, "alGetSourcei - AL_BUFFER", 1))
        return 0;
    ALuint s = 0;
    alGenSources(1, &s);
    if (!EngSoundErrorCheck_AL(fn, "alGenSources", 1))
        return 0;
    alSourcei(s, AL_BUFFER, shared);
    if (!EngSoundErrorCheck_AL(fn, "alSourcei - AL_BUFFER", 1))
    {
        alDeleteSources(1, &s);
        alGetError();
        return 0;
    }
    alSourcef(s, AL_MIN_GAIN, 0);
    EngSoundErrorCheck_AL(fn, "AL_MIN_GAIN", 1);
    alSourcef(s, AL_MAX_GAIN, 1);
    EngSoundErrorCheck_AL(fn, "AL_MAX_GAIN", 1);
    owns_buffer = 0;
    buffer = (ALuint)shared;
    source = s;
    length = other->length;
    has_source = 1;
    looping = 0;
    al_generation = csal_generation;
    AddBufferUser(buffer);
    return 1;
}

char EngSound::LoadSoundFromOggFileAL(const char*, char, char)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Filled.");
    return 0;
}

void EngSound::DestroyAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, nullptr))
    {
        ResetVarsAL();
        return;
    }
    const char* fn = "EngSound::ReleaseAL";
    alGetError();
    ALuint s = source;
    alSourceStop(s);
    EngSoundErrorCheck_AL(fn, "alSourceStop", 1);
    alDeleteSources(1, &s);
    EngSoundErrorCheck_AL(fn, "alDeleteSources", 1);
    if (RemoveBufferUser(buffer))
    {
        ALuint b = buffer;
        alDeleteBuffers(1, &b);
        EngSoundErrorCheck_AL(fn, "alDeleteBuffers", 1);
    }
    ResetVarsAL();
}

char EngSound::PlayAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return 0;
    alSourcei(source, AL_LOOPING, AL_FALSE);
    alSourcePlay(source);
    looping = 0;
    return EngSoundErrorCheck_AL("EngSound::PlayAL", "alSourcePlay", 1);
}

char EngSound::ResumePlayingAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return 0;
    alSourcePlay(source);
    return EngSoundErrorCheck_AL("EngSound::ResumePlayingAL", "alSourcePlay", 1);
}

char EngSound::PlayLoopedAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return 0;
    if (looping)
        return 0;
    alSourcei(source, AL_LOOPING, AL_TRUE);
    alSourcePlay(source);
    if (!EngSoundErrorCheck_AL("EngSound::PlayLoopedAL", "alSourcePlay", 1))
        return 0;
    looping = 1;
    return 1;
}

void EngSound::StopAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return;
    alSourcei(source, AL_LOOPING, AL_FALSE);
    alSourceStop(source);
    EngSoundErrorCheck_AL("EngSound::StopAL", "alSourceStop", 1);
    looping = 0;
}

char EngSound::IsPlayingAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, nullptr))
        return 0;
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (!EngSoundErrorCheck_AL("EngSound::IsPlayingAL", "AL_SOURCE_STATE", 1))
        return 0;
    return state == AL_PLAYING;
}

void EngSound::SetVolumeAL(float gain)
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return;
    alSourcef(source, AL_GAIN, gain);
    EngSoundErrorCheck_AL("EngSound::SetVolumeAL", "AL_GAIN", 1);
}

float EngSound::GetVolumeAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "Sound called but no buffer present"))
        return 0;
    ALfloat gain = 0;
    alGetSourcef(source, AL_GAIN, &gain);
    if (!EngSoundErrorCheck_AL("EngSound::GetVolumeAL", "AL_GAIN", 1))
        return 0;
    return gain;
}

void EngSound::SetFrequencyFloatAL(float pitch)
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return;
    alSourcef(source, AL_PITCH, pitch);
    EngSoundErrorCheck_AL("EngSound::SetFrequencyFloatAL", "AL_PITCH", 1);
}

void EngSound::SetFrequencyAL(EngUInt32 hz)
{
    SetFrequencyFloatAL((float)hz / 44100.0f);
}

float EngSound::GetFrequencyFloatAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return 0;
    ALfloat pitch = 0;
    alGetSourcef(source, AL_PITCH, &pitch);
    if (!EngSoundErrorCheck_AL("EngSound::GetFrequencyFloatAL", "AL_PITCH", 1))
        return 0;
    return pitch;
}

EngUInt32 EngSound::GetFrequencyAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return 0;
    ALfloat pitch = 0;
    alGetSourcef(source, AL_PITCH, &pitch);
    if (!EngSoundErrorCheck_AL("EngSound::GetFrequencyAL", "AL_PITCH", 1))
        return 0;
    double hz = (double)pitch * 44100.0 + 0.5;
    if (!(hz > 0))
        return 0;
    if (hz >= 4294967295.0)
        return 0xFFFFFFFFu;
    return (EngUInt32)hz;
}

EngUInt32 EngSound::GetPlayBufferSizeAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return 0;
    ALint size = 0;
    alGetBufferi(buffer, AL_SIZE, &size);
    if (!EngSoundErrorCheck_AL("EngSound::GetPlayBufferSizeAL", "AL_SIZE", 1) || size < 0)
        return 0;
    return (EngUInt32)size;
}

EngUInt32 EngSound::GetPlayBufferPosAL()
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return 0;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported");
    return 0;
}

char EngSound::SetPlayBufferPosAL(EngUInt32)
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, "No buffer for sound"))
        return 0;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported");
    return 0;
}

void EngSound::Set3dPositionAL(float x, float y, float z)
{
    if (!CheckSourceAL(__PRETTY_FUNCTION__, nullptr))
        return;
    alSource3f(source, AL_POSITION, x, y, z);
    EngSoundErrorCheck_AL("EngSound::Set3dPositionAL", "AL_POSITION", 1);
}

void EngSound::Enable3dSoundAL(char)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported");
}

void EngSound::Set3dMinMaxValuesAL(float, float)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not supported");
}

char EngSound::ExistsAL()
{
    return CheckSourceAL(__PRETTY_FUNCTION__, nullptr);
}
