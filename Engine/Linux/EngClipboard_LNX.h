// The system clipboard (SDL), which holds UTF-8, for the program's Latin-1
// text: converted on the way out and in.
#pragma once

#include <string>

// 1 when the text was put on the clipboard; 0 without a display.
char EngClipboardSetText_LNX(const char* text);
// 1 and the clipboard's text (possibly empty), its characters beyond Latin-1
// as '?'; 0 when it cannot be read.
char EngClipboardGetText_LNX(std::string* out);
