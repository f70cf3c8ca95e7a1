// Reading back what the code under test logged.
#pragma once

#include <string>

#include "EngDebug.h"

namespace vztest
{

// True when a line in the log ring contains `text` (clear it first with DebugClearLog).
inline bool Logged(const std::string& text)
{
    for (int i = 0; i < DebugGetNumMessages(); i++)
    {
        _DebugMsg* m = DebugGetMessage(i);
        if (m && std::string(m->text).find(text) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace vztest
