// Paths of files in the resources folder the tests run against.
#pragma once

#include <cstdlib>
#include <string>

namespace vztest
{

// $VZ_RESOURCES_DIR/name, or Resources/name when it is not set.
inline std::string ResourcePath(const char* name)
{
    const char* dir = getenv("VZ_RESOURCES_DIR");
    return std::string(dir ? dir : "Resources") + "/" + name;
}

} // namespace vztest
