#pragma once

#include <cstdint>

// View options: they share the parameter address space but are never audio
// unit parameters; the controller applies them to the waterfall.
inline constexpr std::int64_t kOptionSpeed = 6002;  // the speed mode 0 ... 8
inline constexpr std::int64_t kOptionFreeze = 6003; // 1 frozen, 0 running

// Receives the edits made on the flow panel, on the main thread.
class VelmoraFlowViewDelegate {
public:
    virtual ~VelmoraFlowViewDelegate() = default;

    // An audio unit parameter has a new value, set by the user.
    virtual void onVelmoraFlowViewParameter(std::int64_t address, float value) = 0;
    // A view option has a new value.
    virtual void onVelmoraFlowViewOption(std::int64_t address, float value) = 0;
};
