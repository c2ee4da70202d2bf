#pragma once

#include "VelmoraFlowViewDelegate.h"

#include <cstdint>
#include <ostream>
#include <vector>

// One call the flow view made on its delegate.
struct Sent {
    bool option;
    std::int64_t address;
    float value;
    bool operator==(const Sent&) const = default;
};
inline Sent parameter(std::int64_t address, float value) { return {false, address, value}; }
inline Sent option(std::int64_t address, float value) { return {true, address, value}; }
inline std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    return out << (sent.option ? "option(" : "parameter(") << sent.address << ", " << sent.value << ")";
}

class RecordingDelegate : public VelmoraFlowViewDelegate {
public:
    void onVelmoraFlowViewParameter(std::int64_t address, float value) override
    {
        sent.push_back(parameter(address, value));
    }
    void onVelmoraFlowViewOption(std::int64_t address, float value) override { sent.push_back(option(address, value)); }

    std::vector<Sent> sent;
};
