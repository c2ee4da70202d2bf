#pragma once

#include <atomic>
#include <thread>

#include "AudioOutputDevice.h"

// Plays nowhere, but pulls the engine at real-time pace from a thread of its
// own, so that a machine without sound hardware runs the graph (and whatever
// shows what it renders) as it would with a device.
class NullAudioOutput : public AudioOutputDevice {
public:
    ~NullAudioOutput() override;

    void start(Renderer renderer) override;
    void stop() override;

private:
    void run(const Renderer& renderer);

    std::atomic<bool> running_ { false };
    std::thread thread_;
};
