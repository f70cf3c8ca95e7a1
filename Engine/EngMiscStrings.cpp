// Message boxes, program control, and small string and file-name helpers.
#include "EngMiscStrings.h"

#include <cstdio>

namespace
{
void PopupToStandardError(char, const char* title, const char* text)
{
    fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}
} // namespace

EngPopupFunction eng_popup_function = PopupToStandardError;

void EngMiscShowPopupMessage(char kind, const char* title, const char* text)
{
    if (eng_popup_function)
        eng_popup_function(kind, title, text);
}
