// Standard MIDI File checks: damaged files are refused without reading past
// them, and the playable copy runs on to the end time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMidi.h"
#include "Engine/MidiFixtures.h"

using namespace vztest;

namespace
{

struct Prepared
{
    char ok;
    _EngMidiFileInfo info;
    std::string out;
};

Prepared Prepare(const std::string& file, int extra_beats)
{
    // An exact-size heap copy lets the address sanitizer catch any over-read.
    std::vector<EngUInt8> bytes(file.begin(), file.end());
    std::vector<EngUInt8> out;
    Prepared p = {};
    p.ok = EngMidiPrepareFile(bytes.empty() ? (const EngUInt8*)"" : bytes.data(), (EngUInt32)bytes.size(),
                              extra_beats, &out, &p.info);
    p.out.assign(out.begin(), out.end());
    return p;
}

TEST(MidiFile, DamagedFilesAreRefused)
{
    const std::string note = NoteTrack(96, 1);
    std::string long_track;
    for (int i = 0; i < 9; i++)
        long_track += VLQ(0x0FFFFFFF) + std::string("\x90\x3C\x64", 3);
    struct Case
    {
        const char* name;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"short header", "MThd\0\0\0\6"},
        {"not midi", "RIFF\0\0\0\6\0\0\0\1\0\x60" + Track(note)},
        {"header length 5", std::string("MThd") + BE32(5) + std::string("\0\0\0\1\0\x60", 6) + Track(note)},
        {"header past end", std::string("MThd") + BE32(0xFFFFFFF0) + std::string("\0\0\0\1\0\x60", 6)},
        {"format 3", Header(3, 1, 96) + Track(note)},
        {"no tracks", Header(1, 0, 96)},
        {"division 0", Header(0, 1, 0) + Track(note)},
        {"format 0 with two tracks", Header(0, 2, 96) + Track(note) + Track(note)},
        {"track past end", Header(0, 1, 96) + "MTrk" + BE32(1000) + note},
        {"chunk header cut", Header(1, 2, 96) + Track(note) + "MTr"},
        {"fewer tracks", Header(1, 3, 96) + Track(note) + Track(note)},
        {"delta of 5 bytes", Smf(0, 96, {std::string("\x81\x81\x81\x81\x01\x90\x3C\x64", 8) + kEot})},
        {"delta cut", Smf(0, 96, {std::string("\x00\x90\x3C\x64\x81", 5)})},
        {"running status without status", Smf(0, 96, {std::string("\x00\x3C\x64", 3) + kEot})},
        {"meta past track", Smf(0, 96,
                                {std::string("\x00\xFF\x01\x10"
                                             "abc",
                                             7)})},
        {"meta length cut", Smf(0, 96, {std::string("\x00\xFF\x01\x81", 4)})},
        {"meta type cut", Smf(0, 96, {std::string("\x00\xFF", 2)})},
        {"sysex past track", Smf(0, 96, {std::string("\x00\xF0\x7F\x01", 4)})},
        {"data byte with high bit", Smf(0, 96, {std::string("\x00\x90\x3C\x90", 4) + kEot})},
        {"note cut", Smf(0, 96, {std::string("\x00\x90\x3C", 3)})},
        {"system message", Smf(0, 96, {std::string("\x00\xF2\x00\x00", 4) + kEot})},
        {"ticks overflow", Smf(0, 96, {long_track + kEot})},
    };
    for (const Case& c : cases)
    {
        Prepared p = Prepare(c.file, 2);
        EXPECT_EQ(0, p.ok) << c.name;
        EXPECT_TRUE(p.out.empty()) << c.name;
    }
}

TEST(MidiFile, EndTimeAndThePlayableCopy)
{
    struct Case
    {
        const char* name;
        std::string file;
        int extra_beats;
        int ticks_per_beat;
        EngInt32 last_event, end;
        std::string new_tail; // the last track's end as written in the copy
    } cases[] = {
        {"two beats on", Smf(0, 96, {NoteTrack(96, 1)}), 2, 96, 96, 288, VLQ(192) + "\xFF\x2F" + '\0'},
        {"no extra", Smf(0, 96, {NoteTrack(96, 1)}), 0, 96, 96, 96, std::string("\x00\xFF\x2F\x00", 4)},
        {"negative extra is none", Smf(0, 96, {NoteTrack(96, 1)}), -3, 96, 96, 96,
         std::string("\x00\xFF\x2F\x00", 4)},
        {"later end of track kept",
         Smf(0, 96, {std::string("\x00\x90\x3C\x64", 4) + VLQ(1000) + "\xFF\x2F" + '\0'}), 1, 96, 0, 96,
         VLQ(1000) + "\xFF\x2F" + '\0'},
        {"running status", Smf(0, 96, {std::string("\x00\x90\x3C\x64\x10\x3C\x00", 7) + kEot}), 1, 96, 16,
         112, VLQ(96) + "\xFF\x2F" + '\0'},
        {"no end of track", Smf(0, 96, {std::string("\x00\x90\x3C\x64\x20\x80\x3C\x00", 8)}), 1, 96, 32, 128,
         VLQ(96) + "\xFF\x2F" + '\0'},
        {"events after end of track dropped",
         Smf(0, 96, {std::string("\x00\x90\x3C\x64", 4) + kEot + std::string("\x00\x80\x3C\x00", 4)}), 0, 96,
         0, 0, kEot},
        {"SMPTE timing", Smf(0, 0xE728, {NoteTrack(96, 1)}), 1, 500, 96, 596, VLQ(500) + "\xFF\x2F" + '\0'},
        {"huge extra is capped", Smf(0, 96, {NoteTrack(96, 1)}), 0x7FFFFFFF, 96, 96, 96 + ENG_MIDI_MAX_DELTA,
         VLQ(ENG_MIDI_MAX_DELTA) + "\xFF\x2F" + '\0'},
    };
    for (const Case& c : cases)
    {
        Prepared p = Prepare(c.file, c.extra_beats);
        ASSERT_EQ(1, p.ok) << c.name;
        EXPECT_EQ(c.ticks_per_beat, p.info.ticks_per_beat) << c.name;
        EXPECT_EQ(c.last_event, p.info.last_event_tick) << c.name;
        EXPECT_EQ(c.end, p.info.end_tick) << c.name;
        ASSERT_GE(p.out.size(), c.new_tail.size()) << c.name;
        EXPECT_EQ(c.new_tail, p.out.substr(p.out.size() - c.new_tail.size())) << c.name;
        // The copy is a valid file whose track length matches its contents.
        Prepared again = Prepare(p.out, 0);
        ASSERT_EQ(1, again.ok) << c.name;
        EXPECT_EQ(c.last_event, again.info.last_event_tick) << c.name;
        EXPECT_EQ(p.out.size(), again.out.size()) << c.name;
    }
}

TEST(MidiFile, OnlyTheLastTrackChanges)
{
    std::string first = Track(NoteTrack(96, 4));
    std::string file = Header(1, 2, 96) + first + Track(NoteTrack(96, 1)) + "XTRA" + BE32(2) + "zz";
    Prepared p = Prepare(file, 2);
    ASSERT_EQ(1, p.ok);
    EXPECT_EQ(2, p.info.num_tracks);
    EXPECT_EQ(288, p.info.end_tick);
    EXPECT_EQ(Header(1, 2, 96) + first, p.out.substr(0, 14 + first.size()));

    // An empty last track has no end time and the file is played as it is.
    std::string empty_last = Header(1, 2, 96) + first + Track(kEot);
    Prepared e = Prepare(empty_last, 2);
    ASSERT_EQ(1, e.ok);
    EXPECT_EQ(-1, e.info.last_event_tick);
    EXPECT_EQ(-1, e.info.end_tick);
    EXPECT_EQ(empty_last, e.out);
}

} // namespace
