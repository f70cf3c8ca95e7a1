// Growable line blocks, string copies, formatting and narrow/wide conversion
// used by the text-file readers and writers.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <wchar.h>

#include "EngTypes.h"

// A block is a heap area after a header of three 32-bit words: the signature,
// the capacity (a multiple of 1024) and the length last requested.
#define EZ_BLOCK_SIGNATURE 0x47534442u
#define EZ_BLOCK_STEP 1024
#define EZ_BLOCK_HEADER_SIZE 12
#define EZ_FORMAT_SIZE 512

void* alloc_block(void* block, int length);
void free_block(void* block);
void* copy_block(const void* block);
int get_blocklen(const void* block);
int get_buflen(const void* block);

char* copy_string(const char* s);
char* AtoA(const char* s);

char* vFormatPString(const char* fmt, va_list ap);
char* FormatPString(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

void LogError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void vLogError(const char* fmt, va_list ap);

void SetLastErrorString(const char* s);
const char* GetLastErrorString();
char* LookupSystemError(unsigned long code);

// Narrow text is UTF-8. Units are UTF-16 code units (surrogate pairs are
// joined) or whole code points; a lone surrogate becomes U+FFFD. Returns the
// narrow length, or -1 for a text too long for a block.
int linebuf_UtoA(const wchar_t* units, int count, char** block, int conversion = 0,
                 const char* unknown = nullptr, char* flag = nullptr);
// Narrow UTF-8 to one wide unit per code point; a byte that starts no valid
// sequence stands for itself (U+0000..U+00FF). Returns the unit count, or -1
// for a text too long for a block.
int linebuf_AtoU(const char* text, int length, wchar_t** block, int conversion = 0,
                 const char* unknown = nullptr, char* flag = nullptr);

int UtoUTF8(int code_point, unsigned char* out);

// Decodes one code point of narrow UTF-8 at s (len bytes available); sets
// *used to the bytes taken.
int EzDecodeUtf8(const unsigned char* s, int len, int* used);
