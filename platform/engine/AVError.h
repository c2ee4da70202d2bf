#pragma once

#include <stdexcept>
#include <string>

// A failed operation of the audio engine layer (opening a file, starting the
// engine, configuring the session); what() is a description fit for a log line.
class AVError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    std::string localizedDescription() const { return what(); }
};
