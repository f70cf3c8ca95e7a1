// Seedable MT19937 generator (rk_ functions over a state record) and the
// engine's one process-wide generator (EngRandom functions).
#pragma once

#include <cstddef>

#include "EngTypes.h"

#define RK_STATE_LEN 624

struct rk_state
{
    EngUInt32 key[RK_STATE_LEN];
    int pos;
    int has_gauss;
    double gauss;
};

enum rk_error
{
    RK_NOERR = 0,
    RK_ENODEV = 1,
};

// The devices rk_devfill reads; tests may point them elsewhere.
extern const char* rk_dev_random_path;
extern const char* rk_dev_urandom_path;

void rk_seed(unsigned long seed, rk_state* state);
rk_error rk_randomseed(rk_state* state);
EngUInt32 rk_random(rk_state* state);
unsigned long rk_ulong(rk_state* state);
long rk_long(rk_state* state);
double rk_double(rk_state* state);
// Uniform in 0..max inclusive.
unsigned long rk_interval(unsigned long max, rk_state* state);
double rk_gauss(rk_state* state);
void rk_fill(void* buffer, size_t size, rk_state* state);
rk_error rk_devfill(void* buffer, size_t size, int strong);
rk_error rk_altfill(void* buffer, size_t size, int strong, rk_state* state);

extern rk_state cr_state;

void EngRandomInit();
void EngRandomInitWithSeed(unsigned int seed);
EngUInt32 EngRandom();
float EngRandomFloat(float max, char random_sign);
// A value in [0, |max|) in steps that grow with |max| (a millionth below 0.01
// up to 1 from 100), from draw() % the step count (at most limit); with
// random_sign it is negative when the next draw() is even. Faults are logged
// for func.
float EngRandomSteppedFloat(float max, char random_sign, EngUInt32 (*draw)(), EngUInt32 limit,
                            const char* func);
int EngRandomSign();
bool EngRandomChance(int n);
float EngRandomRangeFloat(float min, float max, char random_sign);

// min plus a random part of max - min from rand_float, negated when
// random_sign and chance(1) say so; min itself for an empty range.
template <typename T>
T EngRandomRange(T min, T max, char random_sign, float (*rand_float)(float, char), bool (*chance)(int))
{
    if (min >= max)
        return min;
    T r = min + rand_float(float(max - min), 0);
    if (random_sign && chance(1))
        r = -r;
    return r;
}
