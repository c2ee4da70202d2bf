#include "AVAudioSession.h"

#include "AVError.h"

AVAudioSession& AVAudioSession::sharedInstance()
{
    static AVAudioSession session;
    return session;
}

void AVAudioSession::setCategory(const std::string& category, const std::string& mode, AVAudioSessionCategoryOptions)
{
    std::lock_guard lock(mutex_);
    if (categoryFailure_)
        throw AVError(*categoryFailure_);
    category_ = category;
    mode_ = mode;
}

void AVAudioSession::setActive(bool active, AVAudioSessionSetActiveOptions)
{
    std::lock_guard lock(mutex_);
    if (activationFailure_)
        throw AVError(*activationFailure_);
    active_ = active;
}

std::string AVAudioSession::category() const
{
    std::lock_guard lock(mutex_);
    return category_;
}

std::string AVAudioSession::mode() const
{
    std::lock_guard lock(mutex_);
    return mode_;
}

bool AVAudioSession::isActive() const
{
    std::lock_guard lock(mutex_);
    return active_;
}

void AVAudioSession::failCategoryRequests(std::optional<std::string> description)
{
    std::lock_guard lock(mutex_);
    categoryFailure_ = std::move(description);
}

void AVAudioSession::failActivationRequests(std::optional<std::string> description)
{
    std::lock_guard lock(mutex_);
    activationFailure_ = std::move(description);
}
