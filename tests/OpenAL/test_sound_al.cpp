// OpenAL back end mixing into a WAV file through OpenAL's wave writer: the tones
// that come out (pitch, level, length), WAV loading, malformed files, looping,
// pitch, shared buffers and their release order, error texts.
#include <gtest/gtest.h>

#include <AL/al.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngSound.h"
#include "OpenAL/EngSound_AL.h"
#include "OpenAL/WavFixtures.h"
#include "support/TestSupport.h"
#include "support/WavAnalysis.h"

using vztest::Logged;
using vztest::MakeToneWav;
using vztest::MakeWav;

namespace
{

// OpenAL reads its configuration when it is first used: from then on every
// device it opens mixes into one mono 32-bit float WAV file, rewritten at each
// start and finished when OpenAL shuts down. No sound card is needed. This file
// is read after the user's own, so its settings win.
vztest::TempDir wave_dir;
const std::string wave_out = wave_dir.File("out.wav");

std::string WaveConfig()
{
    std::string conf = wave_dir.File("alsoft.conf");
    vztest::WriteFile(conf, "[general]\n"
                            "drivers = wave\n"
                            "frequency = 44100\n"
                            "channels = mono\n"
                            "sample-type = float32\n"
                            "hrtf = false\n"
                            "volume-adjust = 0\n"
                            "[wave]\n"
                            "bformat = false\n"
                            "file = " +
                                wave_out + "\n");
    return conf;
}

vztest::ScopedEnv wave_config("ALSOFT_CONF", WaveConfig().c_str());
vztest::ScopedEnv wave_driver("ALSOFT_DRIVERS", "wave");

using Clock = std::chrono::steady_clock;

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

class SoundAL : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        EngSoundOn();
        ASSERT_EQ(1, EngSoundInit(ENG_SOUND_SYSTEM_OPENAL, 0, 0, 0, nullptr, 16))
            << "OpenAL's wave writer could not be opened";
        DebugClearLog();
    }
    void TearDown() override
    {
        EngSoundExit();
        es_sound_system = ENG_SOUND_SYSTEM_NONE;
        DebugResetForTests();
    }
    std::string Wav(const std::string& name, const std::string& bytes)
    {
        std::string p = dir.File(name);
        vztest::WriteFile(p, bytes);
        return p;
    }
    // Waits (up to 5 s) until the sound has stopped.
    static void WaitWhilePlaying(EngSound& s)
    {
        auto start = Clock::now();
        while (s.IsPlaying() && std::chrono::duration<double>(Clock::now() - start).count() < 5)
            Sleep(0.002);
        EXPECT_EQ(0, s.IsPlaying()) << "still playing after 5 s";
    }
    // Shuts OpenAL down, which finishes the output file, reads the file and
    // starts OpenAL again.
    static vztest::Wav TakeOutput()
    {
        EngSoundExit();
        vztest::Wav w = vztest::ReadWav(wave_out);
        EXPECT_EQ("", w.error);
        EXPECT_TRUE(w.finalised) << "the WAV sizes were not written";
        EXPECT_EQ(44100, w.rate);
        EXPECT_EQ(1, EngSoundUpdate());
        return w;
    }
    vztest::TempDir dir;
};

// Sound louder than this counts; the writer's silence is exactly 0.
const float kAudible = 0.01f;
// A sine of peak A has the level A / sqrt(2).
const double kSineRms = 0.70710678;

TEST_F(SoundAL, TonesComeOutAtTheirPitchLevelAndLength)
{
    struct Case
    {
        const char* name;
        int channels, bits;
        uint32_t rate;
        double amplitude;
        EngUInt32 play_hz; // 0: not set
        float volume;
        double hz, seconds, level;
    } cases[] = {
        {"16-bit mono", 1, 16, 44100, 0.5, 0, 1, 440, 0.2, 0.5 * kSineRms},
        {"8-bit mono at 22050 Hz", 1, 8, 22050, 0.5, 0, 1, 440, 0.2, 0.5 * kSineRms},
        // The two channels add up in the mono mix.
        {"16-bit stereo at 11025 Hz", 2, 16, 11025, 0.25, 0, 1, 440, 0.2, 0.5 * kSineRms},
        {"played at 22050 Hz: an octave down, twice as long", 1, 16, 44100, 0.5, 22050, 1, 220, 0.4,
         0.5 * kSineRms},
        {"played at 66150 Hz", 1, 16, 22050, 0.5, 66150, 1, 660, 0.2 / 1.5, 0.5 * kSineRms},
        {"a quarter of the volume", 1, 16, 44100, 0.8, 0, 0.25f, 440, 0.2, 0.2 * kSineRms},
    };
    for (const Case& c : cases)
    {
        std::string p = Wav("tone.wav", MakeToneWav(c.channels, c.bits, c.rate, 440, 0.2, c.amplitude));
        {
            EngSound s(p.c_str(), 0, nullptr);
            ASSERT_EQ(1, s.IsLoaded()) << c.name;
            if (c.play_hz)
                s.SetFrequency(c.play_hz);
            s.SetVolume(c.volume);
            Sleep(0.03);
            ASSERT_EQ(1, s.Play()) << c.name;
            WaitWhilePlaying(s);
            Sleep(0.03);
        }
        vztest::Wav out = TakeOutput();
        vztest::Span tone = vztest::FindSound(out.samples, kAudible);
        ASSERT_GT(tone.Length(), 0u) << c.name << ": nothing came out";
        EXPECT_NEAR(c.seconds, double(tone.Length()) / out.rate, 0.005) << c.name;
        EXPECT_NEAR(c.hz, vztest::DominantFrequency(out.samples, tone.begin, tone.end, out.rate, 50, 2000), 2)
            << c.name;
        EXPECT_NEAR(c.level, vztest::Rms(out.samples, tone.begin, tone.end), c.level * 0.05) << c.name;
        // Silence around the tone: it started after the device and ended before it.
        EXPECT_GT(tone.begin, 0u) << c.name;
        EXPECT_LT(tone.end, out.samples.size()) << c.name;
    }
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(SoundAL, LoopsPlayWithoutGapsUntilStopped)
{
    std::string p = Wav("tone.wav", MakeToneWav(1, 16, 44100, 440, 0.1, 0.5));
    double played = 0;
    {
        EngSound s(p.c_str(), 0, nullptr);
        ASSERT_EQ(1, s.IsLoaded());
        Sleep(0.03);
        auto start = Clock::now();
        ASSERT_EQ(1, s.PlayLooped());
        Sleep(0.5);
        EXPECT_EQ(1, s.IsPlaying());
        s.Stop();
        played = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_EQ(0, s.IsPlaying());
        Sleep(0.1);
    }
    vztest::Wav out = TakeOutput();
    vztest::Span sound = vztest::FindSound(out.samples, kAudible);
    // As long as it played (the mixer runs up to a few periods ahead), so
    // several passes through the 0.1 s tone.
    EXPECT_NEAR(played, double(sound.Length()) / out.rate, 0.1);
    EXPECT_GT(double(sound.Length()) / out.rate, 0.4);
    EXPECT_NEAR(440, vztest::DominantFrequency(out.samples, sound.begin, sound.end, out.rate, 50, 2000), 2);
    // No pass is missing or quieter: every 10 ms holds the whole tone.
    size_t step = size_t(out.rate) / 100;
    for (size_t at = sound.begin + step; at + 2 * step <= sound.end; at += step)
        ASSERT_NEAR(0.5 * kSineRms, vztest::Rms(out.samples, at, at + step), 0.02) << "at " << at;
}

TEST_F(SoundAL, NothingComesOutWhileTheSwitchIsOff)
{
    std::string p = Wav("tone.wav", MakeToneWav(1, 16, 44100, 440, 0.1, 0.5));
    {
        EngSound s(p.c_str(), 0, nullptr);
        ASSERT_EQ(1, s.IsLoaded());
        EngSoundOff();
        EXPECT_EQ(0, s.Play());
        EXPECT_EQ(0, s.PlayLooped());
        Sleep(0.2);
        EngSoundOn();
    }
    vztest::Wav out = TakeOutput();
    EXPECT_GT(out.Seconds(), 0.15);
    EXPECT_EQ(0, vztest::Peak(out.samples, 0, out.samples.size()));
}

TEST_F(SoundAL, ACopyStillSoundsAfterItsOwnerIsReleased)
{
    std::string p = Wav("tone.wav", MakeToneWav(1, 16, 44100, 440, 0.2, 0.5));
    {
        auto owner = std::make_unique<EngSound>(p.c_str(), 0, nullptr);
        ASSERT_EQ(1, owner->IsLoaded());
        EngSound copy(owner.get(), nullptr);
        ASSERT_EQ(1, copy.IsLoaded());
        owner.reset();
        Sleep(0.03);
        ASSERT_EQ(1, copy.Play());
        WaitWhilePlaying(copy);
        Sleep(0.03);
    }
    vztest::Wav out = TakeOutput();
    vztest::Span tone = vztest::FindSound(out.samples, kAudible);
    EXPECT_NEAR(0.2, double(tone.Length()) / out.rate, 0.005);
    EXPECT_NEAR(440, vztest::DominantFrequency(out.samples, tone.begin, tone.end, out.rate, 50, 2000), 2);
    EXPECT_NEAR(0.5 * kSineRms, vztest::Rms(out.samples, tone.begin, tone.end), 0.02);
}

TEST_F(SoundAL, LoadsPcmFormatsWithTheirLength)
{
    struct Case
    {
        int channels, bits;
        uint32_t rate, frames;
        float seconds;
    } cases[] = {
        {1, 8, 8000, 4000, 0.5f},
        {1, 16, 22050, 22050, 1.0f},
        {2, 8, 11025, 11025, 1.0f},
        {2, 16, 44100, 11025, 0.25f},
    };
    for (const Case& c : cases)
    {
        std::string p = Wav("s.wav", MakeWav(c.channels, c.bits, c.rate, c.frames));
        EngSound s(p.c_str(), 0, nullptr);
        ASSERT_EQ(1, s.IsLoaded()) << c.channels << "x" << c.bits;
        EXPECT_NEAR(c.seconds, s.GetLength(), 0.001f) << c.channels << "x" << c.bits;
        EXPECT_EQ(c.frames * c.channels * c.bits / 8, s.GetPlayBufferSize());
        EXPECT_EQ(1, s.Exists());
        EXPECT_EQ(1, s.OwnsBuffer());
    }
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(SoundAL, MalformedFilesFailCleanly)
{
    std::string good = MakeWav(1, 16, 22050, 100);
    struct Case
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"text", "this is not a sound file at all"},
        {"empty", ""},
        {"header cut", good.substr(0, 30)},
        {"data cut", good.substr(0, 44 + 51)},
        {"data size past end", MakeWav(1, 16, 22050, 10, 0x7FFFFF00)},
        {"no data", MakeWav(1, 16, 22050, 0)},
        {"12 bits", MakeWav(1, 12, 22050, 100)},
    };
    for (const Case& c : cases)
    {
        DebugClearLog();
        std::string p = Wav("bad.wav", c.bytes);
        EngSound s(p.c_str(), 0, nullptr);
        EXPECT_EQ(0, s.IsLoaded()) << c.name;
        EXPECT_EQ(0, s.Exists()) << c.name;
        EXPECT_TRUE(Logged("Could not load sound")) << c.name;
    }
    DebugClearLog();
    std::string p = Wav("bad.wav", "RIFF....WAVEjunk");
    EngSound s("x");
    EXPECT_EQ(0, s.LoadSoundFromFile(p.c_str(), 0));
    EXPECT_TRUE(Logged("Problem loading file <" + p + ">"));
}

TEST_F(SoundAL, SecondLoadKeepsTheFirstData)
{
    std::string a = Wav("a.wav", MakeWav(1, 16, 22050, 1000));
    std::string b = Wav("b.wav", MakeWav(1, 16, 22050, 3000));
    EngSound s(a.c_str(), 0, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    EXPECT_EQ(0, s.LoadSoundFromFile(b.c_str(), 0));
    EXPECT_TRUE(Logged("Sound already created"));
    EXPECT_EQ(2000u, s.GetPlayBufferSize());
    // The "if needed" forms keep what is there.
    EXPECT_EQ(1, s.LoadSoundFromFileIfNeeded(b.c_str(), 0));
    EXPECT_EQ(2000u, s.GetPlayBufferSize());
}

TEST_F(SoundAL, PlayLoopStopAndThePlaySwitch)
{
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 22050));
    EngSound s(p.c_str(), 0, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    EXPECT_EQ(1, s.PlayLooped());
    EXPECT_EQ(0, s.PlayLooped());
    EXPECT_EQ(1, s.IsPlaying());
    s.Stop();
    EXPECT_EQ(0, s.IsPlaying());
    EXPECT_EQ(1, s.PlayLooped());
    EXPECT_EQ(1, s.Play()); // plays once: looping ends
    EXPECT_EQ(1, s.PlayLooped());
    s.Stop();

    EngSoundOff();
    EXPECT_EQ(0, s.Play());
    EXPECT_EQ(0, s.PlayLooped());
    EXPECT_EQ(0, s.ResumePlaying());
    EXPECT_EQ(0, s.IsPlaying());
    EngSoundOn();
    EXPECT_EQ(1, s.Play());
    EXPECT_EQ(1, s.IsPlaying());
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(SoundAL, VolumeAndPitch)
{
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 100));
    EngSound s(p.c_str(), 0, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    s.SetVolume(0.25f);
    EXPECT_FLOAT_EQ(0.25f, s.GetVolume());
    struct Case
    {
        EngUInt32 hz;
        float pitch;
    } cases[] = {{44100, 1.0f}, {22050, 0.5f}, {88200, 2.0f}, {11025, 0.25f}};
    for (const Case& c : cases)
    {
        s.SetFrequency(c.hz);
        EXPECT_FLOAT_EQ(c.pitch, s.GetFrequencyFloat()) << c.hz;
        EXPECT_EQ(c.hz, s.GetFrequency()) << c.hz;
    }
    EXPECT_EQ(0, DebugGetNumMessages());
    // OpenAL refuses a negative pitch; the refusal is logged and the old pitch kept.
    s.SetFrequencyFloat(-1);
    EXPECT_TRUE(Logged("AL Error : AL_PITCH (Invalid enum parameter value)"));
    EXPECT_FLOAT_EQ(0.25f, s.GetFrequencyFloat());
}

TEST_F(SoundAL, CopiesShareTheBufferInAnyReleaseOrder)
{
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 500));
    for (int owner_first = 0; owner_first < 2; owner_first++)
    {
        auto* owner = new EngSound(p.c_str(), 0, nullptr);
        ASSERT_EQ(1, owner->IsLoaded());
        auto* copy = new EngSound(owner, nullptr);
        ASSERT_EQ(1, copy->IsLoaded());
        EXPECT_EQ(0, copy->OwnsBuffer());
        EXPECT_EQ(owner->GetBufferName(), copy->GetBufferName());
        EXPECT_FLOAT_EQ(owner->GetLength(), copy->GetLength());
        EngUInt32 buf = owner->GetBufferName();

        // A copy of a copy is refused.
        DebugClearLog();
        EngSound copy2(copy, nullptr);
        EXPECT_EQ(0, copy2.IsLoaded());
        EXPECT_TRUE(Logged("Could not duplicate sound"));

        EngSound* first = owner_first ? owner : copy;
        EngSound* second = owner_first ? copy : owner;
        delete first;
        EXPECT_EQ(AL_TRUE, alIsBuffer(buf)) << owner_first;
        EXPECT_EQ(1, second->Play()) << owner_first;
        EXPECT_EQ(1000u, second->GetPlayBufferSize());
        DebugClearLog();
        delete second;
        EXPECT_EQ(AL_FALSE, alIsBuffer(buf)) << owner_first;
        EXPECT_EQ(0, DebugGetNumMessages()) << owner_first;
    }
}

TEST_F(SoundAL, SoundWithoutSourceAndStaleSounds)
{
    EngSound empty("empty");
    struct Case
    {
        const char* name;
        double result;
        const char* message;
    } cases[] = {
        {"Play", double(empty.Play()), "Sound called but no buffer present"},
        {"GetVolume", empty.GetVolume(), "Sound called but no buffer present"},
        {"GetFrequency", (double)empty.GetFrequency(), "No buffer for sound"},
        {"GetPlayBufferSize", (double)empty.GetPlayBufferSize(), "No buffer for sound"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(0, c.result) << c.name;
        EXPECT_TRUE(Logged(std::string("EngSound::") + c.name + "AL )    " + c.message)) << c.name;
    }
    DebugClearLog();
    EXPECT_EQ(0, empty.IsPlaying());
    EXPECT_EQ(0, empty.Exists());
    EXPECT_EQ(0, DebugGetNumMessages());

    // A sound that outlives the back end is released without touching OpenAL,
    // and stays silent after a restart.
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 500));
    EngSound s(p.c_str(), 0, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    EngSoundExit();
    EXPECT_EQ(0, EngSoundIsSetup());
    EXPECT_EQ(0, s.Exists());
    ASSERT_EQ(1, EngSoundUpdate());
    DebugClearLog();
    EXPECT_EQ(0, s.Exists());
    s.Destroy();
    EXPECT_EQ(0, DebugGetNumMessages());
    // and it can load again
    EXPECT_EQ(1, s.LoadSoundFromFile(p.c_str(), 0));
    EXPECT_EQ(1, s.Play());
}

TEST_F(SoundAL, UpdateStartsOpenALOnce)
{
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 500));
    EngSound s(p.c_str(), 0, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    EXPECT_EQ(1, EngSoundUpdate());
    EXPECT_EQ(1, EngSoundUpdate());
    EXPECT_EQ(1, s.Exists()); // not restarted: the sound keeps its objects
    EXPECT_EQ(1, s.Play());
    EngSoundExit();
    EXPECT_EQ(0, csal_init_ok);
    EXPECT_EQ(1, EngSoundUpdate());
    EXPECT_EQ(1, csal_init_ok);
}

TEST(SoundALErrors, ErrorTexts)
{
    struct Case
    {
        int code;
        const char* text;
    } cases[] = {
        {AL_INVALID_NAME, "Invalid name parameter"},        {AL_INVALID_ENUM, "Invalid parameter"},
        {AL_INVALID_VALUE, "Invalid enum parameter value"}, {AL_INVALID_OPERATION, "Invalid operation"},
        {AL_OUT_OF_MEMORY, "Unable to allocate memory"},    {0xA006, "Unknown Error 0xa006"},
    };
    for (const Case& c : cases)
    {
        char buf[64];
        EXPECT_STREQ(c.text, EngSoundErrorText_AL(c.code, buf, sizeof(buf)));
    }
}

TEST_F(SoundAL, ThreeDAndUnsupportedCalls)
{
    std::string p = Wav("a.wav", MakeWav(1, 16, 22050, 500));
    EngSound s(p.c_str(), 1, nullptr);
    ASSERT_EQ(1, s.IsLoaded());
    // 3D off: position and distances are not passed on.
    s.Set3dPosition(1, 2, 3);
    s.Set3dMinMaxValues(1, 2);
    EXPECT_EQ(0, DebugGetNumMessages());
    EngSoundEnable3dSound(1);
    s.Set3dPosition(1, 2, 3);
    EXPECT_EQ(0, DebugGetNumMessages());
    s.Set3dMinMaxValues(1, 2);
    EXPECT_TRUE(Logged("Not supported"));
    DebugClearLog();
    EXPECT_EQ(0u, s.GetPlayBufferPos());
    EXPECT_EQ(0, s.SetPlayBufferPos(10));
    EXPECT_TRUE(Logged("Not supported"));
    EXPECT_EQ(0, s.LoadSoundFromOggFile(p.c_str(), 0, 0));
    EXPECT_TRUE(Logged("Filled."));
    EngSoundEnable3dSound(0);
}

} // namespace
