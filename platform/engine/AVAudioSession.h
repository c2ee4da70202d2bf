#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

inline const std::string AVAudioSessionCategoryPlayback = "AVAudioSessionCategoryPlayback";
inline const std::string AVAudioSessionModeDefault = "AVAudioSessionModeDefault";

using AVAudioSessionCategoryOptions = std::uint32_t;
using AVAudioSessionSetActiveOptions = std::uint32_t;

// The process's audio session. This system has no other program to share the
// sound with, so every request succeeds, unless a test asked for a failure.
class AVAudioSession {
public:
    static AVAudioSession& sharedInstance();

    // Both throw AVError when they fail.
    void setCategory(const std::string& category, const std::string& mode, AVAudioSessionCategoryOptions options);
    void setActive(bool active, AVAudioSessionSetActiveOptions options);

    std::string category() const;
    std::string mode() const;
    bool isActive() const;

    // Test hooks: while a description is set, the request fails with it.
    void failCategoryRequests(std::optional<std::string> description);
    void failActivationRequests(std::optional<std::string> description);

private:
    AVAudioSession() = default;

    mutable std::mutex mutex_;
    std::string category_;
    std::string mode_;
    bool active_ = false;
    std::optional<std::string> categoryFailure_;
    std::optional<std::string> activationFailure_;
};
