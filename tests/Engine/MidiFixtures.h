// Small Standard MIDI Files built in memory for the MIDI tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace vztest
{

inline std::string BE32(uint32_t v)
{
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

inline std::string VLQ(uint32_t v)
{
    std::string s(1, char(v & 0x7F));
    while (v >>= 7)
        s.insert(s.begin(), char(0x80 | (v & 0x7F)));
    return s;
}

// One MTrk chunk around raw events (delta times included).
inline std::string Track(const std::string& events)
{
    return "MTrk" + BE32(uint32_t(events.size())) + events;
}

inline std::string Header(int format, int tracks, int division)
{
    return std::string("MThd") + BE32(6) + char(format >> 8) + char(format) + char(tracks >> 8) +
           char(tracks) + char(division >> 8) + char(division);
}

inline std::string Smf(int format, int division, std::initializer_list<std::string> tracks)
{
    std::string s = Header(format, int(tracks.size()), division);
    for (const std::string& t : tracks)
        s += Track(t);
    return s;
}

const std::string kEot = std::string("\x00\xFF\x2F\x00", 4);

// Tempo (microseconds per beat), then a note of `beats` beats at tick 0 on
// channel 1 with the General MIDI program (0: piano) and key (60: middle C).
inline std::string NoteTrack(int division, int beats, uint32_t tempo_us = 500000, int program = 0,
                             int key = 60)
{
    std::string t =
        std::string("\x00\xFF\x51\x03", 4) + char(tempo_us >> 16) + char(tempo_us >> 8) + char(tempo_us);
    t += std::string("\x00\xC0", 2) + char(program);
    t += std::string("\x00\x90", 2) + char(key) + char(100);                              // note on
    t += VLQ(uint32_t(division * beats)) + std::string("\x80", 1) + char(key) + char(64); // note off
    return t + kEot;
}

} // namespace vztest
