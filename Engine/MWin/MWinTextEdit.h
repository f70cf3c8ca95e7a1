// Clipboard access for text edits. The toolkit sits below the code that owns
// the clipboard, so that code installs these; unset, copy and paste do nothing.
#pragma once

// Copies a text to the clipboard; 1 on success.
extern char (*mwin_clipboard_copy)(const char* text);
// Reads the clipboard into dst (size bytes) only when its text is shorter
// than size - 1 characters; 1 when something was delivered.
extern char (*mwin_clipboard_paste)(char* dst, int size);
