// Reading back what the code under test logged (vztest::Logged and the
// other log helpers live in support/TestSupport.h).
#pragma once

#include "EngDebug.h"
#include "support/TestSupport.h"
