// The OpenGL half of the fonts: text-block state, sheet textures, letters.
#pragma once

// Opens a text block in a w x h orthographic space (y up) with blending for
// text; saves all state it changes. Returns 1 (the block set up 2D itself).
char EngFontOpenBlock_GL(int w, int h);
// Opens a block that keeps the caller's transform (only blending is set).
void EngFontOpenBlockPure2_GL();
// Undoes the matching open for the block's mode and sets the colour to white.
void EngFontCloseBlock_GL(char mode);
// 1 while a block opened with EngFontOpenBlock_GL holds the 2D state.
char EngFontIs2D_GL();
void EngFontGetProjection_GL(float m[16]);
