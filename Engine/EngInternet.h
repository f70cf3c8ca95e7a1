// Reading one URL over HTTP into a caller's buffer, and URL encoding.
#pragma once

#include "EngTypes.h"

// Size of the error-text buffers the reader fills.
#define ENG_INTERNET_ERROR_TEXT_SIZE 128

// A file of certificates (PEM) that TLS peers are checked against in place
// of the system's store; null (the default) means the system's store. Peers
// are always verified.
extern const char* eng_internet_ca_file;

// 1 when a network connection is available (always 1 here).
char EngInternetIsConnected();

// Points a libcurl easy handle at url with the options every transfer of the
// program takes: only the given protocols (libcurl's comma-separated names),
// redirects only to https, TLS peers always verified, no signals. 0 when an
// option is refused.
char EngInternetSetCurlOptions(void* curl, const char* url, const char* protocols);
// 1 when the last reply the handle received has a 2xx status.
char EngInternetIsReplySuccessful(void* curl);

// GETs url into buffer (at most length - 1 characters and a NUL). stored,
// error_text (128 bytes) and error_label may be null. seconds <= 0 means 10.
// 1 when the body was read (a longer body is cut and still counts), 0 when
// the request could not be made or timed out, -1 when the transfer failed.
signed char EngInternetConnectAndReadURL(const char* url, char* buffer, unsigned length, unsigned* stored,
                                         char* error_text, char* error_label, int seconds, char flag);

// New texts from malloc; the caller frees them. Null for a null text.
char* EngInternetURLEncodeString(const char* text);
char* EngInternetURLDecodeString(const char* text);

char EngInternetToHex(char value);
char EngInternetFromHex(char digit);
