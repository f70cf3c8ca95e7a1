#include "EngJson.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "json/JsonReader.h"
#include "json/JsonWriter.h"

namespace
{

bool IsNameEmpty(const char* name)
{
    return !name || !name[0];
}

// Logs "No name" for an empty name.
bool NoName(const char* func, const char* name)
{
    if (!IsNameEmpty(name))
        return false;
    DebugErrorAlt(func, "No name");
    return true;
}

// Logs "Invalid parameters" for a null output or an empty name.
bool BadParameters(const char* func, const void* out, const char* name)
{
    if (out && !IsNameEmpty(name))
        return false;
    DebugErrorAlt(func, "Invalid parameters");
    return true;
}

// Truncates toward zero; out-of-range values stick to the limits, NaN gives 0.
EngInt32 NumberToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<EngInt32>(value);
}

// The low 8 bits of the 32-bit truncation.
char NumberToChar(double value)
{
    return static_cast<char>(static_cast<EngUInt8>(NumberToInt32(value) & 0xFF));
}

double ElementNumber(const json::UnknownElement& element)
{
    return element.CastTo<json::Number>();
}

// Reads the named array's numbers in order through store(index, value);
// more than most elements fail.
template <typename Store>
char ReadNumberArray(const char* func, const json::Object& object, const char* name, int most, Store store)
{
    try
    {
        const json::Array& array = object[name].CastTo<json::Array>();
        int index = 0;
        for (const json::UnknownElement& element : array)
        {
            double value = ElementNumber(element);
            if (index >= most)
            {
                DebugErrorAlt(func, "Error during parse.");
                return 0;
            }
            store(index, value);
            index++;
        }
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(func, "json::Exception <%s>", e.what());
        return 0;
    }
}

// ReadNumberArray after refusing an empty name.
template <typename Store>
char ReadNamedNumberArray(const char* func, const json::Object& object, const char* name, int most,
                          Store store)
{
    if (NoName(func, name))
        return 0;
    return ReadNumberArray(func, object, name, most, store);
}

// Numbers as stored: floats by their own shortest text, the rest exactly.
double AsNumber(float value)
{
    return EngJsonNumberFromFloat(value);
}

template <typename T> double AsNumber(T value)
{
    return static_cast<double>(value);
}

template <typename T> void StoreAt(T* const* outputs, int index, T value)
{
    if (outputs[index])
        *outputs[index] = value;
}

// Stores an array of the values behind the non-null pointers.
template <typename T>
char StoreNumberArray(const char* func, json::Object& object, const char* name, const T* const* values,
                      int count)
{
    if (NoName(func, name))
        return 0;
    try
    {
        json::Array array;
        for (int i = 0; i < count; i++)
            if (values[i])
                array.Insert(json::Number(AsNumber(*values[i])));
        object[name] = array;
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(func, "json::Exception <%s>", e.what());
        return 0;
    }
}

char StoreNumber(const char* func, json::Object& object, const char* name, double value)
{
    if (NoName(func, name))
        return 0;
    try
    {
        object[name] = json::Number(value);
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(func, "json::Exception <%s>", e.what());
        return 0;
    }
}

// One number member; failures are logged as "json::Exception <%s>".
char ReadNumber(const char* func, const json::Object& object, const char* name, double* value)
{
    try
    {
        *value = ElementNumber(object[name]);
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(func, "json::Exception <%s>", e.what());
        return 0;
    }
}

// One number member through convert, after the parameter check.
template <typename T, typename Convert>
char GetNumber(const char* func, const json::Object& object, const char* name, T* out, Convert convert)
{
    if (BadParameters(func, out, name))
        return 0;
    double value;
    if (!ReadNumber(func, object, name, &value))
        return 0;
    *out = convert(value);
    return 1;
}

// One number member; failures are logged only with report set.
char ReadNumberQuietly(const char* func, const json::Object& object, const char* name, double* value,
                       char report)
{
    try
    {
        *value = ElementNumber(object[name]);
        return 1;
    }
    catch (const json::Exception& e)
    {
        if (report)
            DebugErrorAlt(func, "Exception <%s> for element <%s>", e.what(), name);
        return 0;
    }
}

// The whole file as text; 0 when it cannot be opened or read.
char ReadWholeFile(const char* path, std::string* text)
{
    FILE* file = EngFileOpenRegularStream(path, "rb", 0, nullptr);
    if (!file)
        return 0;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0)
        text->append(buffer, got);
    char ok = ferror(file) ? 0 : 1;
    fclose(file);
    return ok;
}

// One number member through convert; the output is 0 when it cannot be read.
template <typename T, typename Convert>
char GetNumberElement(const char* func, const json::Object& object, const char* name, T* out, char report,
                      Convert convert)
{
    if (BadParameters(func, out, name))
        return 0;
    *out = 0;
    double value;
    if (!ReadNumberQuietly(func, object, name, &value, report))
        return 0;
    *out = convert(value);
    return 1;
}

float NumberToFloat(double value)
{
    return static_cast<float>(value);
}

} // namespace

char EngJsonDoesElementExistInObject(const json::Object& object, const char* name, char report)
{
    if (IsNameEmpty(name))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    try
    {
        object[name];
        return 1;
    }
    catch (const json::Exception& e)
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Exception <%s> for element <%s>", e.what(), name);
        return 0;
    }
}

char EngJsonGetCharFromObjectElement(const json::Object& object, const char* name, char* out, char report)
{
    return GetNumberElement(__PRETTY_FUNCTION__, object, name, out, report, NumberToChar);
}

char EngJsonGetFloatFromObjectElement(const json::Object& object, const char* name, float* out, char report)
{
    return GetNumberElement(__PRETTY_FUNCTION__, object, name, out, report, NumberToFloat);
}

char EngJsonGetStringFromObjectElement(const json::Object& object, const char* name, char* buffer,
                                       size_t size, char report)
{
    if (buffer && size)
        buffer[0] = 0;
    if (IsNameEmpty(name) || !buffer || !size)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    try
    {
        const std::string& text = object[name].CastTo<json::String>();
        EngSafeStrcpy(buffer, text.c_str(), size);
        return 1;
    }
    catch (const json::Exception& e)
    {
        if (report)
            DebugErrorAlt(__PRETTY_FUNCTION__, "Exception <%s> for element <%s>", e.what(), name);
        return 0;
    }
}

char EngJsonGetCharFromObject(const json::Object& object, const char* name, char* out)
{
    return GetNumber(__PRETTY_FUNCTION__, object, name, out, NumberToChar);
}

char EngJsonGetIntFromObject(const json::Object& object, const char* name, int* out)
{
    return GetNumber(__PRETTY_FUNCTION__, object, name, out, NumberToInt32);
}

char EngJsonGetFloatFromObject(const json::Object& object, const char* name, float* out)
{
    return GetNumber(__PRETTY_FUNCTION__, object, name, out, NumberToFloat);
}

char EngJsonGetDimensionFromObject(const json::Object& object, const char* name, _Dimension* out)
{
    if (BadParameters(__PRETTY_FUNCTION__, out, name))
        return 0;
    float* fields[4] = {&out->x, &out->y, &out->w, &out->h};
    return ReadNumberArray(__PRETTY_FUNCTION__, object, name, 4,
                           [&](int i, double v) { *fields[i] = static_cast<float>(v); });
}

char EngJsonGetVector2dFromObject(const json::Object& object, const char* name, _Vector2d* out)
{
    if (BadParameters(__PRETTY_FUNCTION__, out, name))
        return 0;
    float* fields[2] = {&out->x, &out->y};
    return ReadNumberArray(__PRETTY_FUNCTION__, object, name, 2,
                           [&](int i, double v) { *fields[i] = static_cast<float>(v); });
}

char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, char* n1, char* n2, char* n3,
                                  char* n4, char* n5)
{
    char* outs[5] = {n1, n2, n3, n4, n5};
    return ReadNamedNumberArray(__PRETTY_FUNCTION__, object, name, 5,
                                [&](int i, double v) { StoreAt(outs, i, NumberToChar(v)); });
}

char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, char* n1, float* n2,
                                  float* n3, float* n4, float* n5)
{
    float* outs[4] = {n2, n3, n4, n5};
    return ReadNamedNumberArray(__PRETTY_FUNCTION__, object, name, 5,
                                [&](int i, double v)
                                {
                                    if (i == 0)
                                    {
                                        if (n1)
                                            *n1 = NumberToChar(v);
                                    }
                                    else
                                        StoreAt(outs, i - 1, static_cast<float>(v));
                                });
}

char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, int* n1, int* n2, int* n3,
                                  int* n4)
{
    int* outs[4] = {n1, n2, n3, n4};
    return ReadNamedNumberArray(__PRETTY_FUNCTION__, object, name, 4,
                                [&](int i, double v)
                                { StoreAt(outs, i, static_cast<int>(NumberToInt32(v))); });
}

char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, float* n1, float* n2,
                                  float* n3, float* n4)
{
    float* outs[4] = {n1, n2, n3, n4};
    return ReadNamedNumberArray(__PRETTY_FUNCTION__, object, name, 4,
                                [&](int i, double v) { StoreAt(outs, i, static_cast<float>(v)); });
}

char EngJsonReadNumbersFromObject(const json::Object& object, const char* name, double* n1, double* n2,
                                  double* n3, double* n4)
{
    double* outs[4] = {n1, n2, n3, n4};
    return ReadNamedNumberArray(__PRETTY_FUNCTION__, object, name, 4,
                                [&](int i, double v) { StoreAt(outs, i, v); });
}

double EngJsonNumberFromFloat(float value)
{
    if (!std::isfinite(value))
        return value;
    char text[32];
    std::to_chars_result r = std::to_chars(text, text + sizeof(text), value);
    double d = 0;
    if (r.ec == std::errc() && std::from_chars(text, r.ptr, d).ec == std::errc() &&
        static_cast<float>(d) == value)
        return d;
    return value;
}

char EngJsonAddFloatToObject(json::Object& object, const char* name, float value)
{
    return StoreNumber(__PRETTY_FUNCTION__, object, name, EngJsonNumberFromFloat(value));
}

char EngJsonAddCharToObject(json::Object& object, const char* name, char value)
{
    return StoreNumber(__PRETTY_FUNCTION__, object, name, static_cast<signed char>(value));
}

char EngJsonAddDimensionToObject(json::Object& object, const char* name, const _Dimension& value)
{
    const float* values[4] = {&value.x, &value.y, &value.w, &value.h};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 4);
}

char EngJsonAddVector2dToObject(json::Object& object, const char* name, const _Vector2d& value)
{
    const float* values[2] = {&value.x, &value.y};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 2);
}

char EngJsonAddNumbersToObject(json::Object& object, const char* name, const char* n1, const float* n2,
                               const float* n3, const float* n4, const float* n5)
{
    if (NoName(__PRETTY_FUNCTION__, name))
        return 0;
    try
    {
        // The char goes first as its signed value, then the floats.
        json::Array array;
        if (n1)
            array.Insert(json::Number(static_cast<signed char>(*n1)));
        for (const float* f : {n2, n3, n4, n5})
            if (f)
                array.Insert(json::Number(EngJsonNumberFromFloat(*f)));
        object[name] = array;
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "json::Exception <%s>", e.what());
        return 0;
    }
}

char EngJsonAddNumbersToObject(json::Object& object, const char* name, const char* n1, const char* n2,
                               const char* n3, const char* n4, const char* n5)
{
    const signed char* values[5] = {
        reinterpret_cast<const signed char*>(n1), reinterpret_cast<const signed char*>(n2),
        reinterpret_cast<const signed char*>(n3), reinterpret_cast<const signed char*>(n4),
        reinterpret_cast<const signed char*>(n5)};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 5);
}

char EngJsonAddNumbersToObject(json::Object& object, const char* name, const int* n1, const int* n2,
                               const int* n3, const int* n4)
{
    const int* values[4] = {n1, n2, n3, n4};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 4);
}

char EngJsonAddNumbersToObject(json::Object& object, const char* name, const float* n1, const float* n2,
                               const float* n3, const float* n4)
{
    const float* values[4] = {n1, n2, n3, n4};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 4);
}

char EngJsonAddNumbersToObject(json::Object& object, const char* name, const double* n1, const double* n2,
                               const double* n3, const double* n4)
{
    const double* values[4] = {n1, n2, n3, n4};
    return StoreNumberArray(__PRETTY_FUNCTION__, object, name, values, 4);
}

int EngJsonGetArraySize(const json::Array& array)
{
    size_t size = array.Size();
    return size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

char EngJsonReadObjectFromFile(json::Object* object, const char* path)
{
    if (!object || IsNameEmpty(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }

    if (!EngFileExists(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", path);
        return 0;
    }
    std::string text;
    if (!ReadWholeFile(path, &text))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not read file <%s>", path);
        return 0;
    }

    try
    {
        std::istringstream stream(text);
        json::Reader::Read_i(*object, stream);
        return 1;
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "json::Exception <%s> in <%s>", e.what(), path);
        return 0;
    }
}

char EngJsonWriteObjectToFile(const json::Object& object, const char* path)
{
    if (IsNameEmpty(path))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }

    std::ostringstream stream;
    try
    {
        json::Writer::Write_i(object, stream);
    }
    catch (const json::Exception& e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "json::Exception <%s>", e.what());
        return 0;
    }

    // Written beside the old file and renamed over it once on disk.
    const std::string text = stream.str();
    if (text.size() > UINT32_MAX ||
        !EngFileSaveAtomically(path, text.data(), static_cast<EngUInt32>(text.size())))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write file <%s>", path);
        return 0;
    }
    return 1;
}
