// Message boxes, program control, and small string and file-name helpers.
#pragma once

#include "EngTypes.h"

// The engine's one modal message box. Kinds 1 and 2 caution, 3 note, others plain.
void EngMiscShowPopupMessage(char kind, const char* title, const char* text);

// Every message box goes through this function; tests replace it with a recorder.
typedef void (*EngPopupFunction)(char kind, const char* title, const char* text);
extern EngPopupFunction eng_popup_function;
