// Seedable MT19937 generator.
#include "EngRandom.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngFile.h"

const char* rk_dev_random_path = "/dev/random";
const char* rk_dev_urandom_path = "/dev/urandom";

rk_state cr_state;

namespace
{

const int kM = 397;
const EngUInt32 kMatrixA = 0x9908b0dfu;
const EngUInt32 kUpper = 0x80000000u;
const EngUInt32 kLower = 0x7fffffffu;

EngUInt32 Hash(EngUInt32 k)
{
    k += ~(k << 15);
    k ^= (k >> 10);
    k += (k << 3);
    k ^= (k >> 6);
    k += ~(k << 11);
    k ^= (k >> 16);
    return k;
}

} // namespace

void rk_seed(unsigned long seed, rk_state* state)
{
    EngUInt32 s = EngUInt32(seed & 0xffffffffUL);
    for (int pos = 0; pos < RK_STATE_LEN; pos++)
    {
        state->key[pos] = s;
        s = 1812433253u * (s ^ (s >> 30)) + EngUInt32(pos + 1);
    }
    state->pos = RK_STATE_LEN;
    state->gauss = 0;
    state->has_gauss = 0;
}

rk_error rk_randomseed(rk_state* state)
{
    if (rk_devfill(state->key, sizeof(state->key), 0) == RK_NOERR)
    {
        // Never the all-zero state.
        state->key[0] |= 0x80000000u;
        state->pos = RK_STATE_LEN;
        state->gauss = 0;
        state->has_gauss = 0;
        return RK_NOERR;
    }
    timeval tv;
    gettimeofday(&tv, nullptr);
    EngUInt32 seed = Hash(EngUInt32(getpid())) ^ Hash(EngUInt32(tv.tv_sec)) ^ Hash(EngUInt32(tv.tv_usec)) ^
                     Hash(EngUInt32(clock()));
    rk_seed(seed, state);
    return RK_ENODEV;
}

EngUInt32 rk_random(rk_state* state)
{
    if (state->pos >= RK_STATE_LEN || state->pos < 0)
    {
        EngUInt32* k = state->key;
        int i = 0;
        for (; i < RK_STATE_LEN - kM; i++)
        {
            EngUInt32 y = (k[i] & kUpper) | (k[i + 1] & kLower);
            k[i] = k[i + kM] ^ (y >> 1) ^ ((y & 1) ? kMatrixA : 0);
        }
        for (; i < RK_STATE_LEN - 1; i++)
        {
            EngUInt32 y = (k[i] & kUpper) | (k[i + 1] & kLower);
            k[i] = k[i + (kM - RK_STATE_LEN)] ^ (y >> 1) ^ ((y & 1) ? kMatrixA : 0);
        }
        EngUInt32 y = (k[RK_STATE_LEN - 1] & kUpper) | (k[0] & kLower);
        k[RK_STATE_LEN - 1] = k[kM - 1] ^ (y >> 1) ^ ((y & 1) ? kMatrixA : 0);
        state->pos = 0;
    }
    EngUInt32 y = state->key[state->pos++];
    y ^= (y >> 11);
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= (y >> 18);
    return y;
}

unsigned long rk_ulong(rk_state* state)
{
    return rk_random(state);
}

long rk_long(rk_state* state)
{
    return long(rk_random(state) >> 1);
}

double rk_double(rk_state* state)
{
    EngUInt32 a = rk_random(state) >> 5, b = rk_random(state) >> 6;
    return (a * 67108864.0 + b) / 9007199254740992.0;
}

unsigned long rk_interval(unsigned long max, rk_state* state)
{
    if (max == 0)
        return 0;
    unsigned long mask = max;
    mask |= mask >> 1;
    mask |= mask >> 2;
    mask |= mask >> 4;
    mask |= mask >> 8;
    mask |= mask >> 16;
    mask |= mask >> 32;
    unsigned long value;
    // A range wider than 32 bits takes two draws per try.
    if (max <= 0xffffffffUL)
        while ((value = (rk_random(state) & mask)) > max)
            ;
    else
        while ((value = (((static_cast<unsigned long>(rk_random(state)) << 32) | rk_random(state)) & mask)) > max)
            ;
    return value;
}

double rk_gauss(rk_state* state)
{
    if (state->has_gauss)
    {
        state->has_gauss = 0;
        return state->gauss;
    }
    double x, y, r2;
    do
    {
        x = 2.0 * rk_double(state) - 1.0;
        y = 2.0 * rk_double(state) - 1.0;
        r2 = x * x + y * y;
    } while (r2 >= 1.0 || r2 == 0.0);
    double f = std::sqrt(-2.0 * std::log(r2) / r2);
    state->gauss = x * f;
    state->has_gauss = 1;
    return y * f;
}

void rk_fill(void* buffer, size_t size, rk_state* state)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    for (; size >= 4; size -= 4)
    {
        EngUInt32 r = rk_random(state);
        *p++ = r & 0xff;
        *p++ = (r >> 8) & 0xff;
        *p++ = (r >> 16) & 0xff;
        *p++ = (r >> 24) & 0xff;
    }
    if (size == 0)
        return;
    EngUInt32 r = rk_random(state);
    for (; size; r >>= 8, size--)
        *p++ = r & 0xff;
}

rk_error rk_devfill(void* buffer, size_t size, int strong)
{
    int fd = open(strong ? rk_dev_random_path : rk_dev_urandom_path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return RK_ENODEV;
    bool ok = EngFileReadAll(fd, buffer, size);
    close(fd);
    return ok ? RK_NOERR : RK_ENODEV;
}

rk_error rk_altfill(void* buffer, size_t size, int strong, rk_state* state)
{
    rk_error err = rk_devfill(buffer, size, strong);
    if (err)
        rk_fill(buffer, size, state);
    return err;
}

void EngRandomInit()
{
    rk_randomseed(&cr_state);
}

void EngRandomInitWithSeed(unsigned int seed)
{
    rk_seed(seed, &cr_state);
}

EngUInt32 EngRandom()
{
    return rk_random(&cr_state);
}

float EngRandomSteppedFloat(float max, char random_sign, EngUInt32 (*draw)(), EngUInt32 limit,
                            const char* func)
{
    float m = std::fabs(max);
    float value = 0;
    if (m > 0)
    {
        double scale, step;
        if (m < 0.01f)
            scale = 1000000, step = 0.000001;
        else if (m < 0.1f)
            scale = 100000, step = 0.00001;
        else if (m < 1)
            scale = 10000, step = 0.0001;
        else if (m < 10)
            scale = 1000, step = 0.001;
        else if (m < 100)
            scale = 100, step = 0.01;
        else
            scale = 1, step = 1;
        double kd = double(m * float(scale));
        EngUInt32 k = kd >= double(limit) ? limit : EngUInt32(kd);
        if (k > 0)
            value = float((draw() % k) * step);
        if (value < 0 || value >= m)
            DebugErrorAlt(func, "Function not working properly");
    }
    if (random_sign && (draw() & 1) == 0)
        value = -value;
    return value;
}

float EngRandomFloat(float max, char random_sign)
{
    return EngRandomSteppedFloat(
        max, random_sign, [] { return rk_random(&cr_state); }, 0xffffffffu, __PRETTY_FUNCTION__);
}

int EngRandomSign()
{
    return (rk_random(&cr_state) & 1) ? 1 : -1;
}

bool EngRandomChance(int n)
{
    return n > 0 && rk_random(&cr_state) % (EngUInt32(n) + 1) != 0;
}

float EngRandomRangeFloat(float min, float max, char random_sign)
{
    return EngRandomRange(min, max, random_sign, EngRandomFloat, EngRandomChance);
}
