// The Linux half of the HTTP reader, over libcurl.
#pragma once

char EngInternetIsConnected_LNX();
signed char EngInternetConnectAndReadURL_LNX(const char* url, char* buffer, unsigned length, unsigned* stored,
                                             char* error_text, char* error_label, int seconds);
