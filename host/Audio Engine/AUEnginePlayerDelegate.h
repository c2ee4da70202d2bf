#pragma once

#include <cstdint>
#include <string>

// What the audio engine player tells its owner. State changes and loops
// arrive on the main queue, the file selection on the thread that starts
// playback.
class AUEnginePlayerDelegate {
public:
    virtual ~AUEnginePlayerDelegate() = default;

    virtual void onPlayerStateChanged(bool playing) = 0;
    // The path of the sound file that was opened.
    virtual void onFileSelect(const std::string& file) = 0;
    // The file reached its end and plays again; `count` is the number of
    // loops before this one.
    virtual void onLoop(std::int64_t count) = 0;
};
