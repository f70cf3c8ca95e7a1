#include "EngInternet.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "Linux/EngInternet_LNX.h"

const char* eng_internet_ca_file = nullptr;

char EngInternetIsConnected()
{
    return EngInternetIsConnected_LNX();
}

char EngInternetSetCurlOptions(void* curl, const char* url, const char* protocols)
{
    return EngInternetSetCurlOptions_LNX(curl, url, protocols);
}

char EngInternetIsReplySuccessful(void* curl)
{
    return curl ? EngInternetIsReplySuccessful_LNX(curl) : 0;
}

signed char EngInternetConnectAndReadURL(const char* url, char* buffer, unsigned length, unsigned* stored,
                                         char* error_text, char* error_label, int seconds, char)
{
    return EngInternetConnectAndReadURL_LNX(url, buffer, length, stored, error_text, error_label, seconds);
}

char EngInternetToHex(char value)
{
    static const char digits[] = "0123456789abcdef";
    return digits[value & 15];
}

char EngInternetFromHex(char digit)
{
    if (digit >= '0' && digit <= '9')
        return (char)(digit - '0');
    return (char)(tolower((unsigned char)digit) - 'a' + 10);
}

char* EngInternetURLEncodeString(const char* text)
{
    if (!text)
        return nullptr;
    size_t len = strlen(text);
    char* out = (char*)malloc(len * 3 + 1);
    if (!out)
        return nullptr;
    char* p = out;
    for (const unsigned char* s = (const unsigned char*)text; *s; s++)
    {
        unsigned char c = *s;
        if ((c < 128 && isalnum(c)) || c == '-' || c == '.' || c == '_' || c == '~')
            *p++ = (char)c;
        else if (c == ' ')
            *p++ = '+';
        else
        {
            *p++ = '%';
            *p++ = EngInternetToHex((char)(c >> 4));
            *p++ = EngInternetToHex((char)(c & 15));
        }
    }
    *p = 0;
    return out;
}

char* EngInternetURLDecodeString(const char* text)
{
    if (!text)
        return nullptr;
    size_t len = strlen(text);
    char* out = (char*)malloc(len + 1);
    if (!out)
        return nullptr;
    char* p = out;
    for (const char* s = text; *s; s++)
    {
        if (*s == '+')
            *p++ = ' ';
        else if (*s == '%')
        {
            // A '%' without two characters behind it is dropped.
            if (s[1] && s[2])
            {
                *p++ = (char)(EngInternetFromHex(s[1]) * 16 + EngInternetFromHex(s[2]));
                s += 2;
            }
        }
        else
            *p++ = *s;
    }
    *p = 0;
    return out;
}
