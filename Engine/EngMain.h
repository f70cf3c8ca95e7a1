// Memory and process helpers used by every module.
#pragma once

#include <cstddef>

#include "EngTypes.h"

void* EngMalloc(size_t size, const char* owner, char zero);
void* EngRealloc(void* old, size_t size, const char* owner);
void EngFree(void* p, char complain_if_null, const char* owner);
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
