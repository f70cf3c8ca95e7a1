// The Linux half of the HTTP reader, over libcurl.
#pragma once

char EngInternetIsConnected_LNX();

// Points a libcurl easy handle at url with the options every transfer of the
// program takes: only the given protocols (libcurl's comma-separated names),
// redirects, when the caller follows them, only to https, TLS peer and host
// always verified (against eng_internet_ca_file when set), no signals.
// 0 when an option is refused.
char EngInternetSetCurlOptions_LNX(void* curl, const char* url, const char* protocols);
// 1 when the last reply the handle received has a 2xx status.
char EngInternetIsReplySuccessful_LNX(void* curl);
signed char EngInternetConnectAndReadURL_LNX(const char* url, char* buffer, unsigned length, unsigned* stored,
                                             char* error_text, char* error_label, int seconds);
