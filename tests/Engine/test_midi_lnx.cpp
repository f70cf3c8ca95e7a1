// MIDI slots on FluidSynth, rendered into WAV files instead of a sound card:
// the notes that come out (pitch, level, length), five slots at once on one
// sound font, refused sixth, end-of-file release with extra beats, stops,
// files and sound fonts that fail.
#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "EngDebug.h"
#include "EngMidi.h"
#include "EngProgram.h"
#include "Engine/MidiFixtures.h"
#include "Linux/EngMidi_LNX.h"
#include "support/TestSupport.h"
#include "support/WavAnalysis.h"

using namespace vztest;

namespace
{

using Clock = std::chrono::steady_clock;

// The names of the sound fonts a synthesizer has loaded.
std::vector<std::string> SoundFonts(fluid_synth_t* synth)
{
    std::vector<std::string> names;
    for (int i = 0; synth && i < fluid_synth_sfcount(synth); i++)
        names.push_back(fluid_sfont_get_name(fluid_synth_get_sfont(synth, unsigned(i))));
    return names;
}

// Bytes the process has read so far, from any file.
unsigned long long BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    unsigned long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    ADD_FAILURE() << "no read count in /proc/self/io";
    return 0;
}

// Level of the 10 ms starting at `at` seconds.
double LevelAt(const Wav& w, double at)
{
    size_t begin = size_t(at * w.rate);
    return Rms(w.samples, begin, std::min(w.samples.size(), begin + size_t(w.rate) / 100));
}

class MidiSlots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        DebugSetLogFilename(dir.File("log.txt").c_str(), 1);
        ASSERT_TRUE(FileExists(ENG_MIDI_DEFAULT_SOUND_FONT))
            << "The General MIDI sound font " ENG_MIDI_DEFAULT_SOUND_FONT " is not installed";
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
        EngMidiSetSoundFont_LNX(ENG_MIDI_DEFAULT_SOUND_FONT);
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
    // Waits, without running the per-frame hook, for the player's thread to
    // mark each slot finished at its end; then one pass of the hook must
    // release them all and, no other slot being in use, clear itself. Nothing
    // but that pass frees a finished slot, so it does not matter which slot
    // ends first or how late this thread wakes. Gives the seconds until the
    // last finished, or -1.
    double FinishAndGoInOnePass(const std::vector<int>& slots, double timeout)
    {
        auto start = Clock::now();
        for (int slot : slots)
            while (EngMidiGetSlotState_LNX(slot) == ENG_MIDI_SLOT_PLAYING)
            {
                if (std::chrono::duration<double>(Clock::now() - start).count() > timeout)
                    return -1;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        for (int slot : slots)
            EXPECT_EQ(ENG_MIDI_SLOT_FINISHED, EngMidiGetSlotState_LNX(slot)) << slot;
        EXPECT_EQ(1, EngMidiIsTickHookSet_LNX());
        EngMidiTick_LNX();
        for (int slot : slots)
            EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(slot))
                << slot << ": not released by the next pass";
        EXPECT_EQ(0, EngMidiIsTickHookSet_LNX());
        return took;
    }
    // The slot's rendering, finished when the slot was released.
    Wav Output(int slot)
    {
        Wav w = ReadWav(dir.File("midi" + std::to_string(slot) + ".wav"));
        EXPECT_EQ("", w.error) << slot;
        EXPECT_TRUE(w.finalised) << slot;
        EXPECT_EQ(44100, w.rate) << slot;
        return w;
    }
    TempDir dir;
    std::string long_mid, short_mid;
};

// A piano note of two 0.2 s beats and two beats more before the slot ends.
// The rendering runs on until the slot is released, which on a busy machine
// may come late: every time below counts from the first sound.
const double kBeat = 0.2;

std::string NoteFile(const TempDir& dir, int key)
{
    std::string mid = dir.File("note" + std::to_string(key) + ".mid");
    WriteFile(mid, Smf(0, 96, {NoteTrack(96, 2, uint32_t(kBeat * 1e6), 0, key)}));
    return mid;
}

// Seconds from the file's start to its first sound.
double Onset(const Wav& w)
{
    return w.rate ? double(FindSound(w.samples, 0.001f).begin) / w.rate : 0;
}

// Pitch and level while the note is held.
double HeldPitch(const Wav& w)
{
    const double t0 = Onset(w);
    return DominantFrequency(w.samples, size_t((t0 + 0.05) * w.rate), size_t((t0 + 0.35) * w.rate), w.rate,
                             50, 2000);
}

double HeldLevel(const Wav& w)
{
    const double t0 = Onset(w);
    return Rms(w.samples, size_t((t0 + 0.05) * w.rate), size_t((t0 + 0.35) * w.rate));
}

TEST_F(MidiSlots, NotesComeOutAtTheirPitchLevelAndLength)
{
    struct Case
    {
        int key;
        double hz;
    } cases[] = {{57, 220}, {64, 329.63}, {69, 440}};
    // All at once, each in its own slot and file.
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(i, EngMidiPlaySequenceFromFile(NoteFile(dir, cases[i].key).c_str(), 2)) << cases[i].key;
    // Each ends at its end time, and the next pass releases them.
    ASSERT_GE(FinishAndGoInOnePass({0, 1, 2}, 20), 0) << "a slot never finished";
    for (int i = 0; i < 3; i++)
    {
        const Case& c = cases[i];
        Wav out = Output(i);
        // The note starts at once and sounds while held.
        Span sound = FindSound(out.samples, 0.001f);
        ASSERT_GT(sound.Length(), 0u) << c.key << ": nothing came out";
        const double t0 = Onset(out);
        EXPECT_LT(t0, 0.02) << c.key;
        // The slot ran to its end time, two beats after the note's end.
        EXPECT_GE(out.Seconds(), t0 + 4 * kBeat - 0.005) << c.key;
        EXPECT_NEAR(c.hz, HeldPitch(out), c.hz * 0.01) << c.key;
        double level = HeldLevel(out);
        EXPECT_GT(level, 0.002) << c.key;
        EXPECT_LT(Peak(out.samples, 0, out.samples.size()), 0.9) << c.key;
        // It lasts until its note off 0.4 s in: still sounding just before,
        // dying away after, close to silence in the last beat.
        double before_off = LevelAt(out, t0 + 2 * kBeat - 0.04);
        EXPECT_GT(before_off, 0.3 * LevelAt(out, t0 + 0.05)) << c.key;
        EXPECT_LT(LevelAt(out, t0 + 2 * kBeat + 0.1), 0.4 * before_off) << c.key;
        EXPECT_LT(Rms(out.samples, size_t((t0 + 3 * kBeat) * out.rate), size_t((t0 + 4 * kBeat) * out.rate)),
                  level * 0.1)
            << c.key;
    }
}

TEST_F(MidiSlots, APlayingSlotKeepsItsSoundFontWhenTheFontChanges)
{
    // The same file under a second name is a second font to FluidSynth.
    std::string other = dir.File("other.sf2");
    std::filesystem::create_symlink(ENG_MIDI_DEFAULT_SOUND_FONT, other);
    ASSERT_EQ(0, EngMidiPlaySequenceFromFile(NoteFile(dir, 69).c_str(), 2));
    EngMidiSetSoundFont_LNX(other.c_str());
    ASSERT_EQ(1, EngMidiPlaySequenceFromFile(NoteFile(dir, 57).c_str(), 2));
    EXPECT_EQ(std::vector<std::string>{other}, SoundFonts(EngMidiGetSoundFontKeeper_LNX()));
    EXPECT_EQ(std::vector<std::string>{ENG_MIDI_DEFAULT_SOUND_FONT}, SoundFonts(EngMidiGetSynth_LNX(0)));
    EXPECT_EQ(std::vector<std::string>{other}, SoundFonts(EngMidiGetSynth_LNX(1)));
    ASSERT_GE(WaitUntilReleased(0, 20), 0);
    ASSERT_GE(WaitUntilReleased(1, 20), 0);
    Wav first = Output(0), second = Output(1);
    EXPECT_NEAR(440, HeldPitch(first), 4.4);
    EXPECT_GT(HeldLevel(first), 0.002);
    EXPECT_NEAR(220, HeldPitch(second), 2.2);
    EXPECT_GT(HeldLevel(second), 0.002);
}

TEST_F(MidiSlots, FivePlayAndTheSixthIsRefused)
{
    // The sound font's samples are read once, with the first slot; every
    // other slot reads only the font's headers (some 200 KB) and shares them.
    const unsigned long long font_size = std::filesystem::file_size(ENG_MIDI_DEFAULT_SOUND_FONT);
    const unsigned long long headers = 1 << 20;
    fluid_synth_t* keeper = nullptr;
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
    {
        const unsigned long long before = BytesRead();
        ASSERT_EQ(i, EngMidiPlaySequenceFromFile(long_mid.c_str(), 0));
        const unsigned long long read = BytesRead() - before;
        if (i == 0)
        {
            EXPECT_GE(read, font_size);
            EXPECT_LT(read, font_size + headers);
        }
        else
            EXPECT_LT(read, headers) << i;
        // The same keeper holds the font for every slot.
        if (i == 0)
            keeper = EngMidiGetSoundFontKeeper_LNX();
        ASSERT_NE(nullptr, keeper);
        EXPECT_EQ(keeper, EngMidiGetSoundFontKeeper_LNX()) << i;
    }
    EXPECT_TRUE(Logged("CMMPSFF - Done"));
    const std::vector<std::string> font = {ENG_MIDI_DEFAULT_SOUND_FONT};
    EXPECT_EQ(font, SoundFonts(keeper));
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        EXPECT_EQ(font, SoundFonts(EngMidiGetSynth_LNX(i))) << i;
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
    // With every slot stopped the font stays loaded for the next one.
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
        EngMidiStop(i);
    unsigned long long before = BytesRead();
    EXPECT_EQ(0, EngMidiPlaySequenceFromFile(long_mid.c_str(), 0));
    EXPECT_LT(BytesRead() - before, headers) << "a slot after all had stopped";
    EngMidiExit();
    for (int i = 0; i < ENG_MIDI_MAX_SLOTS; i++)
    {
        EXPECT_EQ(ENG_MIDI_SLOT_FREE, EngMidiGetSlotState_LNX(i)) << i;
        EXPECT_EQ(nullptr, EngMidiGetSynth_LNX(i)) << i;
    }
    EXPECT_EQ(nullptr, EngMidiGetSoundFontKeeper_LNX());
    EXPECT_EQ(0, EngMidiIsTickHookSet_LNX());
}

TEST_F(MidiSlots, ReleasedExtraBeatsAfterTheLastEvent)
{
    int slot = EngMidiPlaySequenceFromFile(short_mid.c_str(), 2);
    ASSERT_EQ(0, slot);
    EXPECT_EQ(1, EngMidiIsTickHookSet_LNX());
    // One beat of notes and two beats more: 0.3 s of 0.1 s beats, then the
    // next pass releases the slot.
    double took = FinishAndGoInOnePass({slot}, 20);
    ASSERT_GE(took, 0) << "the slot never finished";
    EXPECT_GE(took, 0.2);
    Wav out = Output(0);
    EXPECT_GE(out.Seconds(), Onset(out) + 0.3 - 0.005);
    EXPECT_GT(Peak(out.samples, 0, out.samples.size()), 0.01);
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
    ASSERT_EQ(0, EngMidiPlaySequenceFromFile(short_mid.c_str(), 0));
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
