// Draws the other-games browser's two pictures per game (small procedural
// scenes in each game's own colours) and writes them as JPEG files.
// Usage: GameAdsArtTool [resources folder]   (default "resources")
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Engine/EngJpeg.h"
#include "game/GameAdsScreen.h"

namespace
{

const int SIZE = 256;

struct Rgb
{
    float r, g, b;
};

Rgb Hsv(float h, float s, float v)
{
    h = std::fmod(h, 1.0f) * 6.0f;
    int i = int(h);
    float f = h - float(i);
    float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6)
    {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

Rgb Mix(Rgb a, Rgb b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t Hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float Rand(uint32_t seed, uint32_t n)
{
    return float(Hash(seed * 7919U + n) & 0xffff) / 65535.0f;
}

struct Picture
{
    std::vector<Rgb> px = std::vector<Rgb>(size_t(SIZE) * SIZE);
    Rgb& At(int x, int y) { return px[size_t(y) * SIZE + x]; }
    bool Save(const std::string& file)
    {
        std::vector<unsigned char> bytes(px.size() * 3);
        for (size_t i = 0; i < px.size(); i++)
        {
            bytes[i * 3] = (unsigned char)std::lround(std::clamp(px[i].r, 0.0f, 1.0f) * 255);
            bytes[i * 3 + 1] = (unsigned char)std::lround(std::clamp(px[i].g, 0.0f, 1.0f) * 255);
            bytes[i * 3 + 2] = (unsigned char)std::lround(std::clamp(px[i].b, 0.0f, 1.0f) * 255);
        }
        return EngJpegWriteFileFromBuffer(file.c_str(), 90, 72, SIZE, SIZE, bytes.data());
    }
};

// A board of rounded tiles, a few lit up: the game in play.
void DrawTiles(Picture& p, float hue, uint32_t seed)
{
    Rgb back = Hsv(hue, 0.5f, 0.18f), tile = Hsv(hue, 0.55f, 0.65f), lit = Hsv(hue + 0.08f, 0.35f, 0.98f);
    int n = 5 + int(Rand(seed, 1) * 4);
    float cell = float(SIZE - 24) / float(n);
    for (int y = 0; y < SIZE; y++)
        for (int x = 0; x < SIZE; x++)
        {
            Rgb c = Mix(back, Hsv(hue, 0.6f, 0.3f), float(y) / SIZE);
            float fx = (float(x) - 12) / cell, fy = (float(y) - 12) / cell;
            int cx = int(std::floor(fx)), cy = int(std::floor(fy));
            if (cx >= 0 && cy >= 0 && cx < n && cy < n)
            {
                float ux = fx - float(cx) - 0.5f, uy = fy - float(cy) - 0.5f;
                float d = std::max(std::fabs(ux), std::fabs(uy));
                if (d < 0.42f)
                {
                    bool on = Rand(seed, uint32_t(cy * n + cx) + 10) > 0.72f;
                    Rgb t = on ? lit : Mix(tile, back, Rand(seed, uint32_t(cy * n + cx) + 99) * 0.5f);
                    c = Mix(t, Hsv(hue, 0.3f, 1.0f), std::max(0.0f, -uy) * 0.6f); // light from above
                }
            }
            p.At(x, y) = c;
        }
}

// Soft hills under a sky with a sun: the game's world.
void DrawScene(Picture& p, float hue, uint32_t seed)
{
    Rgb sky_top = Hsv(hue + 0.5f, 0.5f, 0.35f), sky_low = Hsv(hue + 0.55f, 0.25f, 0.95f);
    float sun_x = 40 + Rand(seed, 3) * 176, sun_y = 50 + Rand(seed, 4) * 40;
    for (int y = 0; y < SIZE; y++)
        for (int x = 0; x < SIZE; x++)
        {
            Rgb c = Mix(sky_top, sky_low, float(y) / (SIZE * 0.7f));
            float ds = std::hypot(float(x) - sun_x, float(y) - sun_y);
            if (ds < 22)
                c = Hsv(0.13f, 0.4f, 1.0f);
            else
                c = Mix(c, Hsv(0.12f, 0.3f, 1.0f), std::max(0.0f, 1 - (ds - 22) / 50) * 0.5f);
            for (int layer = 0; layer < 3; layer++)
            {
                float base = 150 + layer * 35;
                float amp = 18 + Rand(seed, 20 + layer) * 18;
                float freq = 0.02f + Rand(seed, 30 + layer) * 0.03f;
                float h = base + amp * std::sin(float(x) * freq + Rand(seed, 40 + layer) * 6.28f);
                if (float(y) > h)
                    c = Hsv(hue + 0.05f * layer, 0.55f, 0.55f - 0.13f * layer);
            }
            p.At(x, y) = c;
        }
}

} // namespace

int main(int argc, char** argv)
{
    std::string root = argc > 1 ? argv[1] : "resources";
    std::string folder = root + "/" + GAME_ADS_PIC_FOLDER;
    mkdir(folder.c_str(), 0755);
    int written = 0;
    for (int row = 0; row < GAME_ADS_NUM; row++)
    {
        float hue = Rand(uint32_t(row) + 1, 0);
        for (int which = 0; which < 2; which++)
        {
            const char* name = GameAdsGetPicFilenameCB(row, which);
            if (!name)
                continue;
            Picture p;
            if (which == 0)
                DrawTiles(p, hue, uint32_t(row) * 2 + 1);
            else
                DrawScene(p, hue, uint32_t(row) * 2 + 2);
            std::string file = root + "/" + name;
            if (!p.Save(file))
            {
                fprintf(stderr, "could not write %s\n", file.c_str());
                return 1;
            }
            written++;
        }
    }
    printf("%d pictures written under %s\n", written, folder.c_str());
    return 0;
}
