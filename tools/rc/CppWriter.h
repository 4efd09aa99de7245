// Writes a compiled resource script as a C++ source: constant tables of the runtime's
// resource types (platform/kernel/ResourceModuleData.h) and one ResourceModuleData object,
// with external linkage, that describes every resource of the script.
#pragma once

#include <string>

#include "tools/rc/ResourceScript.h"

class CppWriter {
public:
    static std::string Write(const ResourceScript& script, const std::string& symbol,
                             const std::string& scriptName);
};
