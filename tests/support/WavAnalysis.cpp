// Reading rendered WAV files and measuring the sound in them.
#include "support/WavAnalysis.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/TestSupport.h"

namespace vztest
{

namespace
{

uint32_t LE(const std::string& s, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--)
        v = (v << 8) | uint8_t(s[at + i]);
    return v;
}

float Sample(const std::string& s, size_t at, int bits, bool is_float)
{
    if (is_float)
    {
        uint32_t u = LE(s, at, 4);
        float f;
        memcpy(&f, &u, 4);
        return f;
    }
    switch (bits)
    {
    case 8:
        return (float(uint8_t(s[at])) - 128.0f) / 128.0f;
    case 16:
        return float(int16_t(LE(s, at, 2))) / 32768.0f;
    case 24:
        return float(int32_t(LE(s, at, 3) << 8)) / 2147483648.0f;
    default:
        return float(int32_t(LE(s, at, 4))) / 2147483648.0f;
    }
}

} // namespace

Wav ReadWav(const std::string& path)
{
    Wav w;
    if (!FileExists(path))
    {
        w.error = "no file " + path;
        return w;
    }
    std::string s = ReadFile(path);
    if (s.size() < 12 || s.compare(0, 4, "RIFF") || s.compare(8, 4, "WAVE"))
    {
        w.error = "not a RIFF/WAVE file";
        return w;
    }
    uint32_t riff_size = LE(s, 4, 4);
    int format = 0, bits = 0;
    bool have_fmt = false;
    size_t pos = 12;
    while (pos + 8 <= s.size())
    {
        std::string id = s.substr(pos, 4);
        uint32_t size = LE(s, pos + 4, 4);
        size_t body = pos + 8;
        if (id == "fmt ")
        {
            if (size < 16 || body + size > s.size())
                break;
            format = int(LE(s, body, 2));
            w.channels = int(LE(s, body + 2, 2));
            w.rate = int(LE(s, body + 4, 4));
            bits = int(LE(s, body + 14, 2));
            // Extensible: the sub-format's first two bytes are the plain format code.
            if (format == 0xFFFE && size >= 40)
                format = int(LE(s, body + 24, 2));
            have_fmt = true;
        }
        else if (id == "data")
        {
            if (!have_fmt)
                break;
            bool is_float = format == 3 && bits == 32;
            if ((format != 1 && !is_float) || w.channels < 1 || bits % 8 || bits < 8 || bits > 32)
            {
                w.error = "unsupported sample format";
                return w;
            }
            size_t avail = s.size() - body;
            w.finalised = riff_size == s.size() - 8 && size <= avail;
            size_t bytes = size <= avail ? size : avail;
            size_t frame = size_t(w.channels) * bits / 8;
            for (size_t f = 0; f + frame <= bytes; f += frame)
            {
                float sum = 0;
                for (int c = 0; c < w.channels; c++)
                    sum += Sample(s, body + f + size_t(c) * bits / 8, bits, is_float);
                w.samples.push_back(sum / float(w.channels));
            }
            return w;
        }
        pos = body + size + (size & 1);
    }
    w.error = "no format or data chunk";
    return w;
}

Span FindSound(const std::vector<float>& s, float threshold)
{
    Span span;
    size_t i = 0;
    while (i < s.size() && std::fabs(s[i]) < threshold)
        i++;
    if (i == s.size())
        return span;
    size_t j = s.size();
    while (std::fabs(s[j - 1]) < threshold)
        j--;
    span.begin = i;
    span.end = j;
    return span;
}

double Rms(const std::vector<float>& s, size_t begin, size_t end)
{
    if (end <= begin || end > s.size())
        return 0;
    double sum = 0;
    for (size_t i = begin; i < end; i++)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(end - begin));
}

double Peak(const std::vector<float>& s, size_t begin, size_t end)
{
    double peak = 0;
    for (size_t i = begin; i < end && i < s.size(); i++)
        peak = std::fmax(peak, std::fabs(s[i]));
    return peak;
}

double DominantFrequency(const std::vector<float>& s, size_t begin, size_t end, int rate, double lo,
                         double hi)
{
    if (end > s.size())
        end = s.size();
    if (end <= begin || rate <= 0)
        return 0;
    // A Hann-windowed stretch of at most 16384 samples from the middle.
    size_t n = end - begin;
    if (n > 16384)
    {
        begin += (n - 16384) / 2;
        n = 16384;
    }
    std::vector<double> x(n);
    for (size_t i = 0; i < n; i++)
        x[i] = s[begin + i] * (0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(n - 1)));
    double best = 0, best_power = -1;
    for (double f = lo; f <= hi; f += 1)
    {
        // Goertzel: the power of one frequency.
        double coeff = 2 * std::cos(2 * M_PI * f / rate), s1 = 0, s2 = 0;
        for (size_t i = 0; i < n; i++)
        {
            double s0 = x[i] + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        if (power > best_power)
        {
            best_power = power;
            best = f;
        }
    }
    return best;
}

} // namespace vztest
