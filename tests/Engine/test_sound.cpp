// Sound front end without an audio device: back-end selection, failed starts,
// the "Not implemented." answers of an unselected back end, constructor checks.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngSound.h"
#include "support/TestSupport.h"
#include "OpenAL/EngSound_AL.h"
#include "OpenAL/WavFixtures.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

// No OpenAL device can open in this program.
vztest::ScopedEnv no_device("ALSOFT_DRIVERS", "nosuchdriver");

class SoundFrontEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        DebugClearLog();
        EngSoundExit();
        es_sound_system = ENG_SOUND_SYSTEM_NONE;
        es_3d_enabled = 0;
        EngSoundOn();
        wav = dir.File("beep.wav");
        vztest::WriteFile(wav, vztest::MakeWav(1, 16, 22050, 2205));
    }
    void TearDown() override
    {
        EngSoundExit();
        es_sound_system = ENG_SOUND_SYSTEM_NONE;
        DebugResetForTests();
    }
    vztest::TempDir dir;
    std::string wav;
};

TEST_F(SoundFrontEnd, SystemNoneIsRefused)
{
    EXPECT_EQ(0, EngSoundInit(ENG_SOUND_SYSTEM_NONE, 0, 0, 0, nullptr, 8));
    EXPECT_TRUE(Logged("Sound parameters not setup"));
    EXPECT_EQ(0, EngSoundIsSetup());
    EXPECT_EQ(0, csal_init_ok);
}

TEST_F(SoundFrontEnd, UnknownSystemLeavesOpenALShutDown)
{
    EXPECT_EQ(0, EngSoundInit(2, 1, 0, 0, nullptr, 8));
    EXPECT_TRUE(Logged("Unknown sound system 2"));
    EXPECT_EQ(0, csal_init_ok);
    EXPECT_EQ(0, EngSoundIsSetup());
    EXPECT_EQ(1, EngSoundIs3DEnabled());
    EXPECT_EQ(8, es_max_sounds);
}

TEST_F(SoundFrontEnd, FailedStartIsNotReportedAsRunning)
{
    EXPECT_EQ(0, EngSoundInit(ENG_SOUND_SYSTEM_OPENAL, 0, 0, 0, nullptr, 8));
    EXPECT_TRUE(Logged("alutInit failed"));
    EXPECT_EQ(0, EngSoundIsSetup());
    EXPECT_EQ(0, EngSoundIsSetup_AL());
    // The next update tries again instead of answering 1.
    DebugClearLog();
    EXPECT_EQ(0, EngSoundUpdate());
    EXPECT_TRUE(Logged("alutInit failed"));

    // Sounds fail cleanly, and without a running back end operations stay silent.
    EngSound s(wav.c_str(), 0, nullptr);
    EXPECT_EQ(0, s.IsLoaded());
    EXPECT_TRUE(Logged("Sound not setup."));
    EXPECT_TRUE(Logged("Could not load sound"));
    DebugClearLog();
    EXPECT_EQ(0, s.Play());
    EXPECT_EQ(0, s.PlayLooped());
    EXPECT_EQ(0u, s.GetFrequency());
    s.Stop();
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(SoundFrontEnd, UnselectedBackEndNotesNotImplemented)
{
    EngSound s("empty");
    struct Case
    {
        const char* name;
        double result;
    } cases[] = {
        {"LoadSoundFromFile", double(s.LoadSoundFromFile(wav.c_str(), 0))},
        {"LoadMusicFromFileIfNeeded", double(s.LoadMusicFromFileIfNeeded(wav.c_str(), 0, 0))},
        {"GetVolume", s.GetVolume()},
        {"Play", double(s.Play())},
        {"PlayLooped", double(s.PlayLooped())},
        {"IsPlaying", double(s.IsPlaying())},
        {"GetFrequency", (double)s.GetFrequency()},
        {"GetPlayBufferSize", (double)s.GetPlayBufferSize()},
        {"SetPlayBufferPos", double(s.SetPlayBufferPos(3))},
        {"Exists", double(s.Exists())},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(0, c.result) << c.name;
        EXPECT_TRUE(Logged(std::string("EngSound::") + c.name + " > Not implemented.")) << c.name;
    }
    // Ogg loading fails without a note.
    DebugClearLog();
    EXPECT_EQ(0, s.LoadSoundFromOggFile(wav.c_str(), 0, 0));
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(SoundFrontEnd, ConstructorChecks)
{
    struct Case
    {
        const char* path;
        const char* message;
    } cases[] = {
        {nullptr, "No filename"},
        {"", "No filename"},
        {"no/such/file.wav", "Filename does not exist <no/such/file.wav>"},
    };
    es_sound_system = ENG_SOUND_SYSTEM_OPENAL;
    for (const Case& c : cases)
    {
        DebugClearLog();
        EngSound s(c.path, 0, nullptr);
        EXPECT_EQ(0, s.IsLoaded());
        EXPECT_TRUE(Logged(c.message)) << c.message;
        EXPECT_TRUE(Logged("Could not load sound"));
    }

    // With no back end the file is not loaded.
    es_sound_system = ENG_SOUND_SYSTEM_NONE;
    DebugClearLog();
    EngSound none(wav.c_str(), 0, nullptr);
    EXPECT_EQ(0, none.IsLoaded());
    EXPECT_TRUE(Logged("Not implemented."));

    DebugClearLog();
    EngSound copy_of_null((EngSound*)nullptr, nullptr);
    EXPECT_TRUE(Logged("No sound passed in"));
    DebugClearLog();
    EngSound copy_of_empty(&none, nullptr);
    EXPECT_TRUE(Logged("sound passed in not ok"));
    EXPECT_EQ(0, copy_of_empty.IsLoaded());
}

} // namespace
