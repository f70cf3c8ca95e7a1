// Random values, movers, colours, sorting and parsing.
#pragma once

#include <cstddef>

#include "EngMath.h"

// A value that rests for a random time, then moves at a random speed to a
// random new target.
struct _EngMiscChangeVarFloat2
{
    char set_up;
    double wait_min, wait_max;
    float min, max;
    char random_sign;
    float angle;
    float angle_range;
    float speed_min, speed_max;
    float current;
    char moving;
    double next_change_time;
    float speed;
    float target;
};
typedef _EngMiscChangeVarFloat2 EngMiscChangeVarFloat2;

// A value that cycles low -> high -> low with waits.
struct _EngMiscBlendVar
{
    float rate;
    float start;
    float low;
    float high;
    float rise_speed;
    float fall_speed;
    double first_wait, wait_high, wait_low;
    char state;
    double next_time;
    float current;
};
typedef _EngMiscBlendVar EngMiscBlendVar;

struct _EngMiscGetLineFromDataInfo
{
    char* data;
    int position;
};
typedef _EngMiscGetLineFromDataInfo EngMiscGetLineFromDataInfo;

struct _EngMiscGetFieldFromDataInfo
{
    char* data;
    char separator;
    int position;
};
typedef _EngMiscGetFieldFromDataInfo EngMiscGetFieldFromDataInfo;

extern float em_hex_to_rgb_return[3];

// Random values from rand(); the library never seeds it.
float EngMiscRandFloat(float max, char random_sign);
float EngMiscRandDouble(double max, char random_sign);
int EngMiscRandSign();
bool EngMiscRandChance(int n);
bool EngMiscRand1InN(int n);
float EngMiscRandRangeFloat(float min, float max, char random_sign);
double EngMiscRandRangeDouble(double min, double max, char random_sign);
int EngMiscRandRangeInt(int min, int max, char random_sign);
unsigned int EngMiscRandRangeULong(unsigned int min, unsigned int max);

// Comparisons, movers and timers; speeds are per call.
bool EngMiscFloatsAreNearlyEqual(float a, float b);
bool EngMiscMoveVectorAtSpeed(Vector3d* pos, Vector3d* target, float speed, float* fraction);
bool EngMiscMoveVectorAtSpeed2(Vector3d* pos, Vector3d* target, float speed, float tolerance);
bool EngMiscMoveVectorAtSpeed2D(Vector2d* pos, Vector2d* target, float speed);
bool EngMiscMoveFloatAtSpeed(float* v, float target, float speed);
bool EngMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float speed);
bool EngMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float speed_up, float speed_down);
float* EngMiscKeepInRangeFloat(float* v, float min, float max);
bool EngMiscHasTimeRepeated(double* next_time, double period);
float EngMiscThrobEffect(float* phase, float speed, char* cycle_done);
float EngMiscSetupChangeVarFloat(double wait_min, double wait_max, float min, float max, char random_sign,
                                 char angle, float angle_range, float speed_min, float speed_max, char random_start,
                                 EngMiscChangeVarFloat2* var);
float EngMiscChangeVarFloatTick(EngMiscChangeVarFloat2* var);
bool EngMiscUpdateBlendVar(EngMiscBlendVar* var);

// Side of the line a-b; 0 on the line.
float EngMiscGetSideOfLinePointIsOn2D(Vector2d* p, Vector2d* a, Vector2d* b);
float EngMiscGetSideOfLinePointIsOn2DXZ(Vector3d* p, Vector3d* a, Vector3d* b);
float EngMiscGetSideOfLinePointIsOn2DPerp(Vector2d* p, Vector2d* a, Vector2d* b);
float EngMiscGetSideOfLinePointIsOn2DPerpXZ(Vector3d* p, Vector3d* a, Vector3d* b);

// Sizes and colours.
unsigned int EngMiscGetClosestPowerOf2(unsigned int n);
float* EngMiscHexColourToRGB(unsigned int rgb);
void EngMiscRGB2HSV(float r, float g, float b, float* h, float* s, float* v);

// Sorting, swapping and parsing.
void EngMiscInsertionSort(void* base, size_t count, size_t size, int (*compare)(const void*, const void*));
bool EngMiscSwapMemory(void* a, void* b, size_t size);
// Next line (or field) into out, at most size - 1 bytes and always terminated;
// a longer one is cut and the position still moves past all of it. 1 for a
// line, 2 for the last line ending in the separator, 0 at the end.
char EngMiscGetLineFromData(EngMiscGetLineFromDataInfo* info, char* out, size_t size);
char EngMiscGetFieldFromData(EngMiscGetFieldFromDataInfo* info, char* out, size_t size);
// Reads the decimal number at the start of s as atoi and "%d" read one
// (white space, a sign, digits): 1 with *out set when it fits an int, 0 when
// it does not (*out the nearest int), -1 when there is no number (*out 0).
// *end, when given, points past what was read.
int EngMiscReadInt(const char* s, int* out, const char** end = nullptr);
// A number that does not fit the type is refused as one outside the range.
bool EngMiscGetIntFromString(const char* s, int* out, int min, int max);
bool EngMiscGetInt16FromString(const char* s, EngInt16* out, EngInt16 min, EngInt16 max);
bool EngMiscGetUInt16FromString(const char* s, EngUInt16* out, EngUInt16 min, EngUInt16 max);
bool EngMiscGetCharFromString(const char* s, char* out, char min, char max);
bool EngMiscGetUCharFromString(const char* s, unsigned char* out, unsigned char min, unsigned char max);
