// The system clipboard as plain UTF-8 text (SDL).
#pragma once

#include <string>

// 1 when the text was put on the clipboard; 0 without a display.
char EngClipboardSetText_LNX(const char* text);
// 1 and the clipboard's text (possibly empty); 0 when it cannot be read.
char EngClipboardGetText_LNX(std::string* out);
