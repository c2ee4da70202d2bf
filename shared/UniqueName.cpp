#include "UniqueName.h"

#include "ProcessInfo.h"

std::string uniqueName(const std::optional<std::string>& prefix)
{
    const std::string unique = ProcessInfo::processInfo().globallyUniqueString();
    return prefix ? *prefix + "-" + unique : unique;
}
