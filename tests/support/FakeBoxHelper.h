// A box helper program, found first along $PATH, that notes each start.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

namespace vztest
{

class FakeBoxHelper
{
public:
    FakeBoxHelper()
        : started(bin.File("started")),
          path(bin.Path() + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin")), env("PATH", path.c_str())
    {
        WriteFile(bin.File("zenity"), "#!/bin/sh\necho \"$0 $*\" >> '" + started + "'\nexit 1\n");
        EXPECT_EQ(0, chmod(bin.File("zenity").c_str(), 0755));
    }
    bool Ran() const { return FileExists(started); }
    std::string Starts() const { return Ran() ? ReadFile(started) : ""; }

private:
    TempDir bin;
    const std::string started, path;
    ScopedEnv env;
};

} // namespace vztest
