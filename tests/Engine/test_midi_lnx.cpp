// MIDI slots on FluidSynth, rendered into WAV files instead of a sound card:
// five at once, refused sixth, end-of-file release with extra beats, stops,
// files and sound fonts that fail.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngMidi.h"
#include "support/TestSupport.h"
#include "Engine/MidiFixtures.h"
#include "EngProgram.h"
#include "Linux/EngMidi_LNX.h"
#include "support/TestSupport.h"

using namespace vztest;

namespace
{

using Clock = std::chrono::steady_clock;

class MidiSlots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        if (!FileExists(ENG_MIDI_DEFAULT_SOUND_FONT))
            GTEST_SKIP() << "The General MIDI sound font " ENG_MIDI_DEFAULT_SOUND_FONT " is not installed";
        EngMidiSetSoundFont_LNX(ENG_MIDI_DEFAULT_SOUND_FONT);
        EngMidiSetAudioOutput_LNX("file", dir.Path().c_str());
        // A long file (40 beats at 120 per minute) and a short one.
        long_mid = dir.File("long.mid");
        WriteFile(long_mid, Smf(0, 96, {NoteTrack(96, 40)}));
        short_mid = dir.File("short.mid");
        // One beat of 0.1 s.
        WriteFile(short_mid, Smf(0, 96, {NoteTrack(96, 1, 100000)}));
        DebugClearLog();
    }
    void TearDown() override
    {
        EngMidiExit_LNX();
        EngMidiSetAudioOutput_LNX("", "");
        DebugResetForTests();
    }
    // Runs the per-frame hook like the main loop until the slot is free.
    double WaitUntilReleased(int slot, double timeout)
    {
        auto start = Clock::now();
        while (EngMidiGetSlotState_LNX(slot) != ENG_MIDI_SLOT_FREE)
        {
            if (std::chrono::duration<double>(Clock::now() - start).count() > timeout)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (EngMidiIsTickHookSet_LNX())
                EngMidiTick_LNX();
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
    TempDir dir;
    std::string long_mid, short_mid;
};

TEST_F(MidiSlots, FivePlayAndTheSixthIsRefused)
{
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
    {
        int slot = EngMidiPlaySequenceFromFile(long_mid.c_str(), 0);
        if (i == 0 && slot < 0 && Logged("Could not open the audio output"))
            GTEST_SKIP() << "FluidSynth's file output is not available";
        ASSERT_EQ(i, slot);
    }
    EXPECT_TRUE(Logged("CMMPSFF - Done"));
    // The sound font was read once; every slot reuses it.
    EXPECT_EQ(1, LogCount("Sound font loaded <"));
    EXPECT_EQ(1, EngMidiIsTickHookSet_LNX());
    DebugClearLog();
    EXPECT_EQ(-1, EngMidiPlaySequenceFromFile(long_mid.c_str(), 0));
    EXPECT_TRUE(Logged("No free midi slots"));
    EXPECT_FALSE(Logged("CMMPSFF - Creating New Sequence"));
    EngMidiTick_LNX();
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        EXPECT_EQ(ENG_MIDI_SLOT_PLAYING, EngMidiGetSlotState_LNX(i)) << i;

    // Stopping releases at once; a second stop and bad slots do nothing.
    EngMidiStop(2);
    EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(2));
    EngMidiStop(2);
    EngMidiStop(-1);
    EngMidiStop(ENG_MIDI_MAX_SLOTS);
    EXPECT_EQ(ENG_MIDI_SLOT_PLAYING, EngMidiGetSlotState_LNX(1));
    EXPECT_EQ(2, EngMidiPlaySequenceFromFile(long_mid.c_str(), 0));
    EngMidiExit();
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(i)) << i;
    EXPECT_EQ(0, EngMidiIsTickHookSet_LNX());
}

TEST_F(MidiSlots, ReleasedExtraBeatsAfterTheLastEvent)
{
    int slot = EngMidiPlaySequenceFromFile(short_mid.c_str(), 2);
    if (slot < 0 && Logged("Could not open the audio output"))
        GTEST_SKIP() << "FluidSynth's file output is not available";
    ASSERT_EQ(0, slot);
    EXPECT_EQ(1, EngMidiIsTickHookSet_LNX());
    // One beat of notes and two beats more: 0.3 s of 0.1 s beats.
    double took = WaitUntilReleased(slot, 20);
    ASSERT_GE(took, 0) << "the slot was never released";
    EXPECT_GE(took, 0.2);
    EXPECT_EQ(0, EngMidiIsTickHookSet_LNX());
    EXPECT_TRUE(FileExists(dir.File("midi0.wav")));
    // The slot can be used again at once.
    EXPECT_EQ(0, EngMidiPlaySequenceFromFile(short_mid.c_str(), 0));
    EXPECT_GE(WaitUntilReleased(0, 20), 0);

    // A file whose last track is empty ends with its player.
    std::string empty_last = dir.File("empty.mid");
    WriteFile(empty_last, Smf(1, 96, {NoteTrack(96, 1, 100000), kEot}));
    EXPECT_EQ(0, EngMidiPlaySequenceFromFile(empty_last.c_str(), 2));
    EXPECT_GE(WaitUntilReleased(0, 20), 0);
}

TEST_F(MidiSlots, FailuresLeaveTheSlotFree)
{
    std::string bad = dir.File("bad.mid");
    WriteFile(bad, "MThd this is not a MIDI file at all");
    std::string huge = dir.File("huge.mid");
    WriteFile(huge, Smf(0, 96, {NoteTrack(96, 1)}));
    std::filesystem::resize_file(huge, 17u << 20);
    // Frames per second in place of ticks per beat: the player cannot time it.
    std::string smpte = dir.File("smpte.mid");
    WriteFile(smpte, Smf(0, 0xE728, {NoteTrack(96, 1)}));
    struct Case
    {
        const char* name;
        std::string path;
        const char* sound_font;
        const char* message;
    } cases[] = {
        {"missing file", dir.File("none.mid"), ENG_MIDI_DEFAULT_SOUND_FONT, "MusicSequenceLoadSMF() failed"},
        {"no path", "", ENG_MIDI_DEFAULT_SOUND_FONT, "MusicSequenceLoadSMF() failed"},
        {"damaged file", bad, ENG_MIDI_DEFAULT_SOUND_FONT, "MusicSequenceLoadSMF() failed"},
        {"folder", dir.Path(), ENG_MIDI_DEFAULT_SOUND_FONT, "File does not exist"},
        {"too large", huge, ENG_MIDI_DEFAULT_SOUND_FONT, "File too large"},
        {"SMPTE timing", smpte, ENG_MIDI_DEFAULT_SOUND_FONT, "SMPTE time division not supported <"},
        {"missing sound font", short_mid, "/no/such/font.sf2",
         "Could not load sound font </no/such/font.sf2>"},
    };
    for (const Case& c : cases)
    {
        DebugClearLog();
        EngMidiSetSoundFont_LNX(c.sound_font);
        EXPECT_EQ(-1, EngMidiPlaySequenceFromFile(c.path.c_str(), 0)) << c.name;
        EXPECT_TRUE(Logged(c.message)) << c.name;
        EXPECT_TRUE(Logged("CMMPSFF - Error")) << c.name;
        EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(0)) << c.name;
        EXPECT_EQ(0, EngMidiIsTickHookSet_LNX()) << c.name;
    }

    // No audio output: the slot is freed and -1 reported.
    EngMidiSetSoundFont_LNX("");
    EngMidiSetAudioOutput_LNX("nosuchdriver", "");
    DebugClearLog();
    EXPECT_EQ(-1, EngMidiPlaySequenceFromFile(short_mid.c_str(), 0));
    EXPECT_TRUE(Logged("CMMPSFF - Error"));
    EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(0));
}

class HookProgram : public EngProgram
{
public:
    void (*Hook())() { return post_tick_cb; }
};

TEST_F(MidiSlots, TheProgramRunsTheReleaseWhileFilesPlay)
{
    HookProgram program;
    ASSERT_EQ(&program, eng_main_program);
    int slot = EngMidiPlaySequenceFromFile(short_mid.c_str(), 0);
    if (slot < 0 && Logged("Could not open the audio output"))
        GTEST_SKIP() << "FluidSynth's file output is not available";
    ASSERT_EQ(0, slot);
    ASSERT_EQ(&EngMidiTick_LNX, program.Hook());
    // The main loop calls the hook each pass until the file is released.
    auto start = Clock::now();
    while (program.Hook() && std::chrono::duration<double>(Clock::now() - start).count() < 20)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        program.Hook()();
    }
    EXPECT_EQ(nullptr, program.Hook());
    EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(0));
}

TEST(MidiCallback, MarksOnlyAPlayingSlotAtItsEnd)
{
    DebugClearLog();
    _EngMidiSlot& s = emm_midis[4];
    s.state.store(ENG_MIDI_SLOT_PLAYING);
    s.end_tick.store(100);
    EngMidiMusicUserSequenceCallback_LNX((void*)4, 99);
    EXPECT_EQ(ENG_MIDI_SLOT_PLAYING, s.state.load());
    EngMidiMusicUserSequenceCallback_LNX((void*)4, 100);
    EXPECT_EQ(ENG_MIDI_SLOT_FINISHED, s.state.load());
    s.state.store(ENG_MIDI_SLOT_FREE);
    EngMidiMusicUserSequenceCallback_LNX((void*)4, 200);
    EXPECT_EQ(ENG_MIDI_SLOT_FREE, s.state.load());
    // Without an end tick only the player's end counts.
    s.state.store(ENG_MIDI_SLOT_PLAYING);
    s.end_tick.store(-1);
    EngMidiMusicUserSequenceCallback_LNX((void*)4, 1000000);
    EXPECT_EQ(ENG_MIDI_SLOT_PLAYING, s.state.load());
    s.state.store(ENG_MIDI_SLOT_FREE);
    EngMidiMusicUserSequenceCallback_LNX((void*)9, 0);
    EXPECT_TRUE(Logged("num invalid [-1]"));
}

} // namespace
