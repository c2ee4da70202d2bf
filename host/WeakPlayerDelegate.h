#pragma once

#include "AUEnginePlayerDelegate.h"

#include <memory>

// Passes the player's notifications on to a delegate it does not own, so that
// the owner of the player can be its delegate without a reference cycle.
class WeakPlayerDelegate : public AUEnginePlayerDelegate {
public:
    explicit WeakPlayerDelegate(std::weak_ptr<AUEnginePlayerDelegate> delegate) : delegate_(std::move(delegate)) {}

    void onPlayerStateChanged(bool playing) override;
    void onFileSelect(const std::string& file) override;
    void onLoop(std::int64_t count) override;

private:
    std::weak_ptr<AUEnginePlayerDelegate> delegate_;
};
