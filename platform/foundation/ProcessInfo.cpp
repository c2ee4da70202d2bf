#include "ProcessInfo.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>

ProcessInfo::ProcessInfo()
{
    std::random_device device;
    salt_ = (static_cast<std::uint64_t>(device()) << 32) | device();
}

ProcessInfo& ProcessInfo::processInfo()
{
    static ProcessInfo info;
    return info;
}

std::string ProcessInfo::globallyUniqueString()
{
    const auto count = counter_.fetch_add(1, std::memory_order_relaxed);
    char text[64];
    std::snprintf(text, sizeof text, "%016llX-%X-%llX", static_cast<unsigned long long>(salt_),
                  static_cast<unsigned>(::getpid()), static_cast<unsigned long long>(count));
    return text;
}

std::string ProcessInfo::processName() const
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
}

int ProcessInfo::processIdentifier() const
{
    return static_cast<int>(::getpid());
}
