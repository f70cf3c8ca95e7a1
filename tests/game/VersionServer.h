// The version check's server reply for tests that only need the check to end: the version is current.
#pragma once

#include <string>

#include "support/HttpTestServer.h"

namespace gametest
{

inline vztest::HttpReply VersionIsCurrent(const std::string& target)
{
    vztest::HttpReply r;
    if (target.find("CheckVersionV2.cgi") != std::string::npos)
        r.body = "Your version is current.";
    else
        r.status = 404;
    return r;
}

} // namespace gametest
