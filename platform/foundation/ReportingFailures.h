#pragma once

#include "Console.h"

#include <exception>
#include <string>

// Runs a posted block or timer so that an exception escaping it cannot take
// down the thread that runs it (and the work queued behind it): the failure is
// reported on the Console as "<owner>::ERROR: ..." and the caller goes on.
template <class Work>
void runReportingFailures(const char* owner, Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        Console::print(std::string(owner) + "::ERROR: A block threw an exception: " + error.what());
    } catch (...) {
        Console::print(std::string(owner) + "::ERROR: A block threw an unknown exception.");
    }
}
