// Random values, movers, colours, sorting and parsing.
#include "EngMiscValues.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngRandom.h"

float em_hex_to_rgb_return[3];

float EngMiscRandFloat(float max, char random_sign)
{
    // rand() never exceeds INT_MAX, so a larger range draws the same values.
    return EngRandomSteppedFloat(
        max, random_sign, [] { return EngUInt32(rand()); }, INT_MAX, __PRETTY_FUNCTION__);
}

float EngMiscRandDouble(double max, char random_sign)
{
    return EngMiscRandFloat(float(max), random_sign);
}

int EngMiscRandSign()
{
    return rand() % 2 * 2 - 1;
}

bool EngMiscRandChance(int n)
{
    return n > 0 && rand() % (static_cast<long long>(n) + 1) != 0;
}

bool EngMiscRand1InN(int n)
{
    return n <= 1 || rand() % n == 0;
}

float EngMiscRandRangeFloat(float min, float max, char random_sign)
{
    return EngRandomRange(min, max, random_sign, EngMiscRandFloat, EngMiscRandChance);
}

double EngMiscRandRangeDouble(double min, double max, char random_sign)
{
    return EngRandomRange(min, max, random_sign, EngMiscRandFloat, EngMiscRandChance);
}

int EngMiscRandRangeInt(int min, int max, char random_sign)
{
    if (min >= max)
    {
        if (random_sign && EngMiscRandChance(1))
            return int(-static_cast<long long>(min) > INT_MAX ? INT_MAX : -static_cast<long long>(min));
        return min;
    }
    // The span is taken in 64 bits so that wide ranges do not overflow.
    long long span = static_cast<long long>(max) - min;
    long long off = rand() % span;
    if (random_sign && EngMiscRandChance(1))
    {
        long long v = -static_cast<long long>(min) - off;
        return int(v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : v));
    }
    return int(min + off);
}

unsigned int EngMiscRandRangeULong(unsigned int min, unsigned int max)
{
    if (min >= max)
        return min;
    return min + unsigned(rand()) % (max - min);
}

bool EngMiscFloatsAreNearlyEqual(float a, float b)
{
    if (a == b)
        return true;
    float rel = (b != 0) ? (b - a) / b : (b - a) / a;
    return std::fabs(rel) < 0.001f;
}

namespace
{

// One step of the vector movers; f is the fraction of the way moved, c the
// longest axis of the distance (0 when already there).
float MoveStep(float* p, const float* t, int n, float speed, bool* there)
{
    float c = 0;
    for (int i = 0; i < n; i++)
        c = std::fmax(c, std::fabs(t[i] - p[i]));
    *there = (c == 0);
    if (c == 0)
        return 1;
    float f = speed <= c ? speed / c : 1;
    for (int i = 0; i < n; i++)
        p[i] += (t[i] - p[i]) * f;
    return f;
}

std::array<float*, 3> Coords(Vector3d* v)
{
    return {&v->x, &v->y, &v->z};
}

std::array<float*, 2> Coords(Vector2d* v)
{
    return {&v->x, &v->y};
}

// MoveStep on a vector: pos moves unless it is there already.
template <typename V> float MoveVector(V* pos, V* target, float speed, bool* there)
{
    auto pc = Coords(pos), tc = Coords(target);
    const int n = int(pc.size());
    float p[3], t[3];
    for (int i = 0; i < n; i++)
        p[i] = *pc[i], t[i] = *tc[i];
    float f = MoveStep(p, t, n, speed, there);
    if (!*there)
        for (int i = 0; i < n; i++)
            *pc[i] = p[i];
    return f;
}

} // namespace

bool EngMiscMoveVectorAtSpeed(Vector3d* pos, Vector3d* target, float speed, float* fraction)
{
    if (!pos || !target)
        return false;
    bool there;
    float f = MoveVector(pos, target, speed, &there);
    if (there)
        return true;
    if (fraction)
        *fraction = f;
    return f == 1;
}

bool EngMiscMoveVectorAtSpeed2(Vector3d* pos, Vector3d* target, float speed, float tolerance)
{
    if (!pos || !target)
        return false;
    bool there;
    float f = MoveVector(pos, target, speed, &there);
    return there || f >= 1 - tolerance;
}

bool EngMiscMoveVectorAtSpeed2D(Vector2d* pos, Vector2d* target, float speed)
{
    if (!pos || !target)
        return false;
    bool there;
    float f = MoveVector(pos, target, speed, &there);
    return there || f == 1;
}

bool EngMiscMoveFloatAtSpeed(float* v, float target, float speed)
{
    if (!v)
        return false;
    if (*v == target)
        return true;
    if (*v < target)
    {
        *v += speed;
        if (*v >= target)
        {
            *v = target;
            return true;
        }
    }
    else
    {
        *v -= speed;
        if (*v <= target)
        {
            *v = target;
            return true;
        }
    }
    return false;
}

bool EngMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float speed)
{
    if (!v)
        return true;
    return EngMiscMoveFloatAtSpeed(v, target, speed);
}

bool EngMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float speed_up, float speed_down)
{
    if (!v)
        return true;
    return EngMiscMoveFloatAtSpeed(v, target, *v < target ? speed_up : speed_down);
}

float* EngMiscKeepInRangeFloat(float* v, float min, float max)
{
    if (!v)
        return nullptr;
    if (*v < min)
        *v = min;
    if (*v > max)
        *v = max;
    return v;
}

bool EngMiscHasTimeRepeated(double* next_time, double period)
{
    if (!next_time)
        return false;
    if (*next_time > eng_main_current_time)
        return false;
    *next_time = eng_main_current_time + period;
    return true;
}

float EngMiscThrobEffect(float* phase, float speed, char* cycle_done)
{
    const float four_pi = 12.566371f;
    if (cycle_done)
        *cycle_done = 0;
    if (!phase)
        return 0;
    float old = *phase;
    *phase = old + 2 * speed;
    bool done;
    if (*phase >= four_pi)
    {
        *phase -= four_pi;
        done = true;
    }
    else if (*phase < -ENG_MATH_HALF_PI)
    {
        *phase += four_pi;
        done = true;
    }
    else
        done = old > *phase || (old < ENG_MATH_TWO_PI && *phase >= ENG_MATH_TWO_PI);
    if (done && cycle_done)
        *cycle_done = 1;
    return (std::sin(*phase + ENG_MATH_THREE_HALF_PI) + 1) * 0.5f;
}

float EngMiscSetupChangeVarFloat(double wait_min, double wait_max, float min, float max, char random_sign,
                                 char angle, float angle_range, float speed_min, float speed_max, char random_start,
                                 EngMiscChangeVarFloat2* var)
{
    if (!var)
        return 0;
    if (random_sign && angle)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sign and angle specified");
    if (!angle && angle_range != 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameter Error");
    var->wait_min = wait_min;
    var->wait_max = wait_max;
    var->min = min;
    var->max = max;
    var->random_sign = random_sign;
    var->angle = angle ? 1.0f : 0.0f;
    var->angle_range = angle_range;
    var->speed_min = speed_min;
    var->speed_max = speed_max;
    if (random_start)
        var->current = EngMiscRandRangeFloat(min, max, random_sign);
    var->next_change_time = 0;
    var->moving = 0;
    var->set_up = 1;
    return var->current;
}

float EngMiscChangeVarFloatTick(EngMiscChangeVarFloat2* var)
{
    if (!var || !eng_main_device)
        return 0;
    if (!var->set_up)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Var not setup");
        return 0;
    }
    if (var->moving)
    {
        float step = var->speed * eng_main_frames_per_second;
        if (var->current == var->target)
            var->moving = 0;
        else if (var->current < var->target)
        {
            var->current += step;
            if (var->current >= var->target)
                var->moving = 0;
        }
        else
        {
            var->current -= step;
            if (var->current <= var->target)
                var->moving = 0;
        }
        return var->current;
    }
    if (var->next_change_time == 0)
    {
        var->next_change_time = eng_main_current_time + EngMiscRandRangeDouble(var->wait_min, var->wait_max, 0);
        return var->current;
    }
    if (eng_main_current_time >= var->next_change_time)
    {
        var->next_change_time = 0;
        float target;
        if (var->angle != 0 && var->angle_range != 0)
        {
            target = var->current + EngMiscRandFloat(var->angle_range, 1);
            if (target < 0)
                target += ENG_MATH_HALF_PI;
            else if (target >= ENG_MATH_HALF_PI)
                target -= ENG_MATH_HALF_PI;
            EngMiscKeepInRangeFloat(&target, var->min, var->max);
        }
        else
            target = EngMiscRandRangeFloat(var->min, var->max, var->random_sign);
        if (var->angle != 0)
        {
            if (target - var->current > ENG_MATH_PI)
                var->current += ENG_MATH_HALF_PI;
            else if (var->current - target > ENG_MATH_PI)
                var->current -= ENG_MATH_HALF_PI;
        }
        var->target = target;
        var->speed = EngMiscRandRangeFloat(var->speed_min, var->speed_max, 0);
        var->moving = 1;
    }
    return var->current;
}

bool EngMiscUpdateBlendVar(EngMiscBlendVar* var)
{
    if (!var)
        return false;
    float r = var->rate <= 0 ? 1.0f : var->rate;
    double now = eng_main_current_time;
    switch (var->state)
    {
    case 0:
        var->current = var->start;
        var->next_time = now;
        var->state = 1;
        break;
    case 1:
        var->next_time = now + var->first_wait / r;
        var->state = 2;
        break;
    case 2:
        if (now > var->next_time)
            var->state = 3;
        break;
    case 3:
        var->current += r * var->rise_speed * eng_main_frames_per_second;
        if (var->current >= var->high)
        {
            var->current = var->high;
            var->next_time = now + var->wait_high / r;
            var->state = 4;
        }
        break;
    case 4:
        if (now > var->next_time)
            var->state = 5;
        break;
    case 5:
        var->current -= r * var->fall_speed * eng_main_frames_per_second;
        if (var->current <= var->low)
        {
            var->current = var->low;
            var->next_time = now + var->wait_low / r;
            var->state = 6;
        }
        break;
    case 6:
        if (now > var->next_time)
        {
            var->state = 1;
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

float EngMiscGetSideOfLinePointIsOn2D(Vector2d* p, Vector2d* a, Vector2d* b)
{
    return (a->y - p->y) * (b->x - a->x) - (a->x - p->x) * (b->y - a->y);
}

float EngMiscGetSideOfLinePointIsOn2DXZ(Vector3d* p, Vector3d* a, Vector3d* b)
{
    return (a->z - p->z) * (b->x - a->x) - (a->x - p->x) * (b->z - a->z);
}

float EngMiscGetSideOfLinePointIsOn2DPerp(Vector2d* p, Vector2d* a, Vector2d* b)
{
    return (p->x - a->x) * (b->x - a->x) + (p->y - a->y) * (b->y - a->y);
}

float EngMiscGetSideOfLinePointIsOn2DPerpXZ(Vector3d* p, Vector3d* a, Vector3d* b)
{
    return (p->x - a->x) * (b->x - a->x) + (p->z - a->z) * (b->z - a->z);
}

unsigned int EngMiscGetClosestPowerOf2(unsigned int n)
{
    if (n < 2)
        return 2;
    for (unsigned int p = 4; p <= 8192; p *= 2)
        if (n < p + p / 2)
            return p;
    return EngMathGetClosestPowerOf2Max(n);
}

float* EngMiscHexColourToRGB(unsigned int rgb)
{
    em_hex_to_rgb_return[0] = float((rgb >> 16) & 0xFF) / 255.0f;
    em_hex_to_rgb_return[1] = float((rgb >> 8) & 0xFF) / 255.0f;
    em_hex_to_rgb_return[2] = float(rgb & 0xFF) / 255.0f;
    return em_hex_to_rgb_return;
}

void EngMiscRGB2HSV(float r, float g, float b, float* h, float* s, float* v)
{
    float max = std::fmax(r, std::fmax(g, b));
    float min = std::fmin(r, std::fmin(g, b));
    float hue;
    if (max == min)
        hue = 0.5f;
    else
    {
        float d = max - min;
        if (r == max)
            hue = (g - b) / d + (g < b ? 6.0f : 0.0f);
        else if (g == max)
            hue = (b - r) / d + 2;
        else
            hue = (r - g) / d + 4;
        hue /= 6;
    }
    if (h)
        *h = hue;
    if (s)
        *s = max == 0 ? 0.0f : (max - min) / max;
    if (v)
        *v = max;
}

void EngMiscInsertionSort(void* base, size_t count, size_t size, int (*compare)(const void*, const void*))
{
    if (count <= 1 || size == 0 || !base || !compare)
        return;
    char* tmp = static_cast<char*>(EngMalloc(size, __PRETTY_FUNCTION__, 0));
    if (!tmp)
        return;
    char* a = static_cast<char*>(base);
    for (size_t i = 1; i < count; i++)
    {
        char* elem = a + i * size;
        if (compare(elem - size, elem) <= 0)
            continue;
        memcpy(tmp, elem, size);
        size_t j = i;
        // Only strictly greater elements move up, so equal keys keep their order.
        while (j > 0 && compare(a + (j - 1) * size, tmp) > 0)
            j--;
        memmove(a + (j + 1) * size, a + j * size, (i - j) * size);
        memcpy(a + j * size, tmp, size);
    }
    EngFree(tmp, 0, __PRETTY_FUNCTION__);
}

bool EngMiscSwapMemory(void* a, void* b, size_t size)
{
    if (!a || !b || size == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return false;
    }
    void* tmp = EngMalloc(size, __PRETTY_FUNCTION__, 0);
    if (!tmp)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return false;
    }
    memcpy(tmp, a, size);
    memmove(a, b, size);
    memcpy(b, tmp, size);
    EngFree(tmp, 0, __PRETTY_FUNCTION__);
    return true;
}

namespace
{

// Shared body of the line and field readers.
char GetPieceFromData(const char* func, char* data, int* position, char sep, char* out, size_t size,
                      const char* no_out)
{
    if (!data || sep == 0 || *position < 0)
    {
        DebugErrorAlt(func, "Invalid parameters");
        return 0;
    }
    if (!out || size == 0)
    {
        DebugErrorAlt(func, "%s", no_out);
        return 0;
    }
    size_t pos = size_t(*position);
    // A position past the end counts as the end.
    if (strnlen(data, pos) < pos || data[pos] == 0)
    {
        out[0] = 0;
        return 0;
    }
    const char* start = data + pos;
    const char* end = strchr(start, sep);
    size_t len = end ? size_t(end - start) : strlen(start);
    size_t n = len < size - 1 ? len : size - 1;
    memcpy(out, start, n);
    out[n] = 0;
    if (!end)
    {
        *position = int(pos + len);
        return 1;
    }
    *position = int(pos + len + 1);
    return end[1] == 0 ? 2 : 1;
}

} // namespace

char EngMiscGetLineFromData(EngMiscGetLineFromDataInfo* info, char* out, size_t size)
{
    if (!info)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    return GetPieceFromData(__PRETTY_FUNCTION__, info->data, &info->position, '\n', out, size, "No line.");
}

char EngMiscGetFieldFromData(EngMiscGetFieldFromDataInfo* info, char* out, size_t size)
{
    if (!info)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    return GetPieceFromData(__PRETTY_FUNCTION__, info->data, &info->position, info->separator, out, size,
                            "No field.");
}

namespace
{

// The int parser words two of its messages its own way.
template <typename T>
bool GetNarrowFromString(const char* func, const char* s, T* out, T min, T max,
                         const char* no_out = "No out_val.", const char* high_sign = ">")
{
    if (!out)
    {
        DebugErrorAlt(func, "%s", no_out);
        return false;
    }
    if (!s || !*s)
    {
        DebugErrorAlt(func, "No string.");
        *out = 0;
        return false;
    }
    int v;
    const char* end;
    bool fits = EngMiscReadInt(s, &v, &end) != 0;
    // A number too big for an int is shown as it was written.
    const char* start = s;
    while (isspace(static_cast<unsigned char>(*start)))
        start++;
    const std::string shown = fits ? std::to_string(v) : std::string(start, size_t(end - start));
    if (fits ? v < int(min) : v < 0)
    {
        DebugErrorAlt(func, "Value too low (%s < %d)", shown.c_str(), int(min));
        *out = min;
        return false;
    }
    if (fits ? v > int(max) : v > 0)
    {
        DebugErrorAlt(func, "Value too high (%s %s %d)", shown.c_str(), high_sign, int(max));
        *out = max;
        return false;
    }
    *out = T(v);
    return true;
}

} // namespace

int EngMiscReadInt(const char* s, int* out, const char** end)
{
    char* stop = const_cast<char*>(s);
    errno = 0;
    long long v = s ? strtoll(s, &stop, 10) : 0;
    if (end)
        *end = stop;
    if (!s || stop == s)
    {
        *out = 0;
        return -1;
    }
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX)
    {
        *out = v < 0 ? INT_MIN : INT_MAX;
        return 0;
    }
    *out = int(v);
    return 1;
}

bool EngMiscGetIntFromString(const char* s, int* out, int min, int max)
{
    return GetNarrowFromString(__PRETTY_FUNCTION__, s, out, min, max, "No int_out.", "<");
}

bool EngMiscGetInt16FromString(const char* s, EngInt16* out, EngInt16 min, EngInt16 max)
{
    return GetNarrowFromString(__PRETTY_FUNCTION__, s, out, min, max);
}

bool EngMiscGetUInt16FromString(const char* s, EngUInt16* out, EngUInt16 min, EngUInt16 max)
{
    return GetNarrowFromString(__PRETTY_FUNCTION__, s, out, min, max);
}

bool EngMiscGetCharFromString(const char* s, char* out, char min, char max)
{
    return GetNarrowFromString(__PRETTY_FUNCTION__, s, out, min, max);
}

bool EngMiscGetUCharFromString(const char* s, unsigned char* out, unsigned char min, unsigned char max)
{
    return GetNarrowFromString(__PRETTY_FUNCTION__, s, out, min, max);
}
