// Small PCM WAV files built in memory for the sound tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace vztest
{

inline void PutLE(std::string& s, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; i++)
        s += char((v >> (8 * i)) & 0xFF);
}

// A RIFF/WAVE PCM file of `frames` frames of a square wave. data_size_override,
// when not negative, is written as the data chunk's size instead of the real one.
inline std::string MakeWav(int channels, int bits, uint32_t rate, uint32_t frames,
                           int64_t data_size_override = -1)
{
    uint32_t block = uint32_t(channels * bits / 8);
    std::string data;
    for (uint32_t f = 0; f < frames; f++)
        for (int c = 0; c < channels; c++)
        {
            int high = (f / 50) % 2;
            if (bits == 8)
                data += char(high ? 0xC0 : 0x40);
            else
                PutLE(data, high ? 0x2000 : 0xE000, 2);
        }
    std::string w = "RIFF";
    PutLE(w, uint32_t(36 + data.size()), 4);
    w += "WAVEfmt ";
    PutLE(w, 16, 4);
    PutLE(w, 1, 2);
    PutLE(w, uint32_t(channels), 2);
    PutLE(w, rate, 4);
    PutLE(w, rate * block, 4);
    PutLE(w, block, 2);
    PutLE(w, uint32_t(bits), 2);
    w += "data";
    PutLE(w, data_size_override >= 0 ? uint32_t(data_size_override) : uint32_t(data.size()), 4);
    return w + data;
}

// A sine tone of `seconds` at `hz` with the given peak (0 to 1), in every channel.
inline std::string MakeToneWav(int channels, int bits, uint32_t rate, double hz, double seconds,
                               double amplitude)
{
    uint32_t frames = uint32_t(seconds * rate + 0.5);
    std::string w = MakeWav(channels, bits, rate, frames);
    size_t at = w.size() - size_t(frames) * channels * bits / 8;
    for (uint32_t f = 0; f < frames; f++)
    {
        double v = amplitude * std::sin(2 * M_PI * hz * f / rate);
        for (int c = 0; c < channels; c++)
            if (bits == 8)
                w[at++] = char(int(std::lround(128 + 127 * v)));
            else
            {
                int16_t q = int16_t(std::lround(32767 * v));
                w[at++] = char(q & 0xFF);
                w[at++] = char((q >> 8) & 0xFF);
            }
    }
    return w;
}

} // namespace vztest
