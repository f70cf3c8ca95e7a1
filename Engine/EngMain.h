// Memory and process helpers used by every module.
#pragma once

#include <cstddef>

#include "EngTypes.h"

void* EngMalloc(size_t size, const char* owner, char zero);
void* EngRealloc(void* old, size_t size, const char* owner);
void EngFree(void* p, char complain_if_null, const char* owner);
// A cap on the memory a decoder may take: its allocations are counted as
// they are made (the sizes malloc gives), and one that would pass the cap
// fails, with refused set, so the decoder gives up. Blocks are plain malloc
// blocks.
struct EngMemoryBudget
{
    size_t used = 0;
    size_t cap = 0;
    bool refused = false;
    void* Alloc(size_t n);
    // The old block still counts while it moves: both may be there at once.
    void* Realloc(void* p, size_t n);
    void Free(void* p);

private:
    bool Fits(size_t n);
};
// Test support: the EngMalloc call after the next `after` ones fails once.
void EngMainFailAllocationForTests(int after);
char* EngSafeStrcpy(char* dst, const char* src, size_t size);
const char* ENG_STRISTR(const char* text, const char* find);
char* EngGetFourCharIDAsString(unsigned int id);
_ColourRGBA* EngMainSetColourRGBA(_ColourRGBA* c, float r, float g, float b, float a);

char EngMainIsThisTheMainThread();
char EngMainIsCurrentDeviceTypeGL();
char EngMainIsCurrentDeviceTypeDX9();
char EngMainIsCurrentDeviceTypeDX11();

// Ends the process on the main thread, only the calling thread elsewhere.
void EngMainCallExit(int status);
void EngMainForceExitOfMainProgramNow(const char* title, const char* text);

// The end-of-run error alert: offers to open the log file (xdg-open).
void EngMainShowErrorAndLogFilePopupOnExit();

// The OK/Cancel box of that alert; 1 for OK. Tests replace it.
typedef char (*EngOkCancelFunction)(char kind, const char* title, const char* text);
extern EngOkCancelFunction eng_ok_cancel_popup_function;
