// Two-pass separable image resampling with integer weights (65536 = 1.0).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "EngDebug.h"

class CGenericFilter
{
public:
    explicit CGenericFilter(double width) : m_width(width) {}
    virtual ~CGenericFilter() = default;
    virtual double Filter(double x) = 0;
    double GetWidth() const { return m_width; }

protected:
    double m_width;
};

// Triangle filter.
class CBilinearFilter : public CGenericFilter
{
public:
    explicit CBilinearFilter(double width = 1.0) : CGenericFilter(width) {}
    double Filter(double x) override
    {
        x = std::fabs(x);
        return x < m_width ? m_width - x : 0.0;
    }
};

typedef char (*EngScaleProgressFunc)(char percent);

template <class FilterClass> class C2PassScale
{
public:
    explicit C2PassScale(EngScaleProgressFunc callback = nullptr) : m_callback(callback) {}
    virtual ~C2PassScale() = default;

    // Resamples src into dst; NULL when the progress callback cancelled.
    unsigned char* Scale(unsigned char* src, unsigned pixel_size, unsigned src_width, unsigned src_pitch,
                         unsigned src_height, unsigned char* dst, unsigned dst_width, unsigned dst_pitch,
                         unsigned dst_height, char flip)
    {
        if (pixel_size > 4)
            DebugError("Scale", "size of pixel is too big");
        m_pixel_size = pixel_size;
        m_cancelled = 0;
        std::vector<unsigned char> temp(size_t(src_height) * dst_pitch);
        HorizScale(src, src_width, src_height, src_pitch, temp.data(), dst_width, dst_pitch);
        if (m_cancelled)
            return nullptr;
        VertScale(temp.data(), dst_width, src_height, dst_pitch, dst, dst_height, dst_pitch, flip);
        return m_cancelled ? nullptr : dst;
    }

    unsigned m_pixel_size = 0;
    EngScaleProgressFunc m_callback;
    char m_cancelled = 0;

private:
    struct ContributionType
    {
        int left, right;
        std::vector<uint32_t> weights;
    };

    struct LineContribType
    {
        std::vector<ContributionType> row;
        unsigned window_size;
        unsigned line_length;
    };

    LineContribType* AllocContributions(unsigned line_length, unsigned window_size)
    {
        LineContribType* res = new LineContribType;
        res->window_size = window_size;
        res->line_length = line_length;
        res->row.resize(line_length);
        for (auto& c : res->row)
            c.weights.assign(window_size, 0);
        return res;
    }

    void FreeContributions(LineContribType* p) { delete p; }

    LineContribType* CalcContributions(unsigned line_size, unsigned src_size, double scale)
    {
        FilterClass filter(1.0);
        double width = 1.0, fscale = 1.0;
        if (scale < 1.0)
        {
            width = 1.0 / scale;
            fscale = scale;
        }
        int window_size = 2 * int(std::ceil(width)) + 2;
        LineContribType* res = AllocContributions(line_size, unsigned(window_size));
        std::vector<double> w(size_t(window_size) + 1);
        for (unsigned i = 0; i < line_size; i++)
        {
            double center = double(i) / scale;
            int left = std::max(0, int(std::floor(center - width)));
            int right = std::min(int(std::ceil(center + width)), int(src_size) - 1);
            if (right - left + 1 > window_size)
            {
                if (left < int(src_size) - 1)
                    left++;
                else
                    right--;
            }
            double total = 0;
            int start = left;
            bool seen = false;
            std::fill(w.begin(), w.end(), 0.0);
            for (int j = start; j <= right; j++)
            {
                double wt = filter.Filter((center - double(j)) * fscale) * fscale;
                if (wt == 0.0)
                {
                    if (!seen)
                    {
                        left = j + 1;
                        continue;
                    }
                    right = j - 1;
                    break;
                }
                seen = true;
                if (j - left < window_size)
                    w[size_t(j - left)] = wt;
                total += wt;
            }
            ContributionType& c = res->row[i];
            if (right < left)
            {
                DebugError("CalcContributions", "Internal Error (A)");
                right = left;
                if (left >= int(src_size))
                    left = right = int(src_size) - 1;
                std::fill(w.begin(), w.end(), 0.0);
            }
            if (total < 0)
                DebugError("CalcContributions", "Internal Error (B)");
            c.left = left;
            c.right = right;
            // The weights of one output sample add up to exactly one, so an
            // area of one value keeps it: the truncated weights' shortfall goes
            // to the largest weight.
            uint32_t sum = 0;
            int largest = 0;
            for (int k = 0; k <= right - left && k < window_size; k++)
            {
                double v = total > 0 ? w[size_t(k)] / total : w[size_t(k)];
                double s = v * double(kOne);
                c.weights[size_t(k)] = s <= 0 ? 0 : s >= double(kOne) ? kOne : uint32_t(s);
                sum += c.weights[size_t(k)];
                if (c.weights[size_t(k)] > c.weights[size_t(largest)])
                    largest = k;
            }
            if (total > 0 && sum < kOne)
                c.weights[size_t(largest)] += kOne - sum;
        }
        return res;
    }

    // A weight of 1.0; a pass's sums are shifted down by 16 bits.
    static constexpr uint32_t kOne = 65536;

    void ScaleRow(const unsigned char* src, unsigned src_pitch, unsigned char* res, unsigned res_pitch,
                  unsigned row, const LineContribType* contrib)
    {
        const unsigned char* s = src + size_t(row) * src_pitch;
        unsigned char* d = res + size_t(row) * res_pitch;
        for (unsigned x = 0; x < contrib->line_length; x++)
        {
            const ContributionType& c = contrib->row[x];
            for (unsigned k = 0; k < m_pixel_size; k++)
            {
                uint32_t sum = 0;
                for (int j = c.left; j <= c.right; j++)
                    sum += uint32_t(s[size_t(j) * m_pixel_size + k]) * c.weights[size_t(j - c.left)];
                uint32_t v = sum >> 16;
                d[size_t(x) * m_pixel_size + k] = v >= 256 ? 255 : (unsigned char)v;
            }
        }
    }

    void HorizScale(const unsigned char* src, unsigned src_width, unsigned height, unsigned src_pitch,
                    unsigned char* dst, unsigned dst_width, unsigned dst_pitch)
    {
        if (dst_width == src_width)
        {
            if (height == 0)
                return;
            if (src_pitch == dst_pitch)
                std::memcpy(dst, src, size_t(src_pitch) * (height - 1) + size_t(dst_width) * m_pixel_size);
            else
                for (unsigned r = 0; r < height; r++)
                    std::memcpy(dst + size_t(r) * dst_pitch, src + size_t(r) * src_pitch,
                                size_t(dst_width) * m_pixel_size);
            return;
        }
        LineContribType* contrib =
            CalcContributions(dst_width, src_width, double(dst_width) / double(src_width));
        for (unsigned r = 0; r < height; r++)
        {
            if (m_callback && !m_callback(char(double(r) / height * 50)))
            {
                m_cancelled = 1;
                break;
            }
            ScaleRow(src, src_pitch, dst, dst_pitch, r, contrib);
        }
        FreeContributions(contrib);
    }

    void ScaleCol(const unsigned char* src, unsigned src_pitch, unsigned char* res, unsigned res_height,
                  unsigned res_pitch, unsigned col, const LineContribType* contrib, char flip)
    {
        for (unsigned y = 0; y < res_height; y++)
        {
            const ContributionType& c = contrib->row[y];
            unsigned out_row = flip ? res_height - 1 - y : y;
            for (unsigned k = 0; k < m_pixel_size; k++)
            {
                uint32_t sum = 0;
                for (int j = c.left; j <= c.right; j++)
                    sum += uint32_t(src[size_t(j) * src_pitch + size_t(col) * m_pixel_size + k]) *
                           c.weights[size_t(j - c.left)];
                uint32_t v = sum >> 16;
                res[size_t(out_row) * res_pitch + size_t(col) * m_pixel_size + k] =
                    v >= 256 ? 255 : (unsigned char)v;
            }
        }
    }

    void VertScale(const unsigned char* src, unsigned width, unsigned src_height, unsigned src_pitch,
                   unsigned char* dst, unsigned dst_height, unsigned dst_pitch, char flip)
    {
        if (!flip && src_height == dst_height)
        {
            if (src_height == 0)
                return;
            std::memcpy(dst, src, size_t(src_pitch) * (src_height - 1) + size_t(width) * m_pixel_size);
            return;
        }
        LineContribType* contrib =
            CalcContributions(dst_height, src_height, double(dst_height) / double(src_height));
        for (unsigned c = 0; c < width; c++)
        {
            if (m_callback && !m_callback(char(int(double(c) / width * 50) + 50)))
            {
                m_cancelled = 1;
                break;
            }
            ScaleCol(src, src_pitch, dst, dst_height, dst_pitch, c, contrib, flip);
        }
        FreeContributions(contrib);
    }
};
