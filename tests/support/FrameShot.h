// Saving the frame just drawn in the engine window, for looking at by eye.
#pragma once

#include <string>

namespace vztest
{
// Writes the back buffer as "<value of env><tag>.jpg" when env is set.
void SaveFrameIfAsked(const char* env, const std::string& tag);
} // namespace vztest
