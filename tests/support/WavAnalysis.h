// Reads rendered WAV files and measures what is in them: where the sound is,
// how loud it is and its strongest frequency.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vztest
{

struct Wav
{
    // Empty when the file was read; else why not.
    std::string error;
    int rate = 0;
    int channels = 0;
    // 1 when the RIFF and data sizes were written (the writer closed the file).
    bool finalised = false;
    // One float per frame, channels averaged, full scale = 1.
    std::vector<float> samples;

    double Seconds() const { return rate ? double(samples.size()) / rate : 0; }
};

// PCM 8/16/24/32-bit integer or 32-bit float, plain or extensible format.
Wav ReadWav(const std::string& path);

struct Span
{
    size_t begin = 0, end = 0; // [begin, end); empty when nothing is louder than the threshold
    size_t Length() const { return end - begin; }
};

// From the first to the last sample whose magnitude reaches threshold.
Span FindSound(const std::vector<float>& s, float threshold);

double Rms(const std::vector<float>& s, size_t begin, size_t end);
double Peak(const std::vector<float>& s, size_t begin, size_t end);

// The frequency (Hz, 1 Hz steps) with the most energy between lo and hi.
double DominantFrequency(const std::vector<float>& s, size_t begin, size_t end, int rate, double lo,
                         double hi);

} // namespace vztest
