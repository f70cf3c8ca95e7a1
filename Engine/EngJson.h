// Typed access to JSON objects: read a named member into a plain value, store
// values under a name, and read or write whole objects as files. Every
// function returns 1 on success and 0 on failure; the JSON library's
// exceptions are caught and logged here, never passed on.
#pragma once

#include <cstddef>

#include "EngTypes.h"
#include "json/JsonElements.h"

// Any kind of member. With report set, a missing member is logged.
char EngJsonDoesElementExistInObject(const json::Object& object, const char* name, char report);

// Single numbers and strings; the output is 0 (or "") when the read fails,
// and the failure is logged only with report set.
char EngJsonGetCharFromObjectElement(const json::Object& object, const char* name, char* out, char report);
char EngJsonGetFloatFromObjectElement(const json::Object& object, const char* name, float* out, char report);
char EngJsonGetStringFromObjectElement(const json::Object& object, const char* name, char* buffer,
                                       size_t size, char report);

// Single numbers; the output is left as it was on failure, which is logged.
char EngJsonGetCharFromObject(const json::Object& object, const char* name, char* out);
char EngJsonGetIntFromObject(const json::Object& object, const char* name, int* out);
char EngJsonGetFloatFromObject(const json::Object& object, const char* name, float* out);

// Arrays of numbers, in array order. A shorter array leaves the remaining
// outputs as they were; a longer one fails. Null outputs of
// EngJsonReadNumbersFromObject still require a number at their position.
char EngJsonGetDimensionFromObject(const json::Object& object, const char* name, _Dimension* out);
char EngJsonGetVector2dFromObject(const json::Object& object, const char* name, _Vector2d* out);
char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, char* n1, char* n2, char* n3,
                                  char* n4, char* n5);
char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, char* n1, float* n2,
                                  float* n3, float* n4, float* n5);
char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, int* n1, int* n2, int* n3,
                                  int* n4);
char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, float* n1, float* n2,
                                  float* n3, float* n4);
char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, double* n1, double* n2,
                                  double* n3, double* n4);

// The number a float is stored as: the double nearest to the shortest text
// that reads back to the same float, so 0.8f is written as 0.8.
double EngJsonNumberFromFloat(float value);

// Storing replaces a member of that name in place or appends a new one.
// Floats are stored through EngJsonNumberFromFloat.
char EngJsonAddFloatToObject(json::Object& object, const char* name, float value);
char EngJsonAddCharToObject(json::Object& object, const char* name, char value);
char EngJsonAddDimensionToObject(json::Object& object, const char* name, const _Dimension& value);
char EngJsonAddVector2dToObject(json::Object& object, const char* name, const _Vector2d& value);
// Stores an array of the values behind the non-null pointers, in order.
char EngJsonAddNumbersToObject(json::Object& object, const char* name, const char* n1, const float* n2,
                               const float* n3, const float* n4, const float* n5);
char EngJsonAddNumbersToObject(json::Object& object, const char* name, const char* n1, const char* n2,
                               const char* n3, const char* n4, const char* n5);
char EngJsonAddNumbersToObject(json::Object& object, const char* name, const int* n1, const int* n2,
                               const int* n3, const int* n4);
char EngJsonAddNumbersToObject(json::Object& object, const char* name, const float* n1, const float* n2,
                               const float* n3, const float* n4);
char EngJsonAddNumbersToObject(json::Object& object, const char* name, const double* n1, const double* n2,
                               const double* n3, const double* n4);

int EngJsonGetArraySize(const json::Array& array);

// Adds the members of the file's object to object (which is not emptied).
char EngJsonReadObjectFromFile(json::Object* object, const char* path);
// Replaces the file only once the whole text is safely on disk.
char EngJsonWriteObjectToFile(const json::Object& object, const char* path);
