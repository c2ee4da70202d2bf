#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "AUBlockTypes.h"
#include "AUEnginePlayerDelegate.h"
#include "AVAudioEngine.h"
#include "AVAudioFile.h"
#include "AVAudioPlayerNode.h"
#include "AVAudioUnit.h"
#include "Bundle.h"
#include "DispatchQueue.h"
#include "URL.h"

class MIDIEventRelay;

// The host's audio back end: one engine with one file player, the effect
// wired between the player and the main mixer, and one of the bundle's 80
// sound files playing in an endless loop through it. Start and stop run on the
// player's serial state queue; state and loop notifications reach the
// delegate on the main queue.
//
// Make players with std::make_shared: what the player posts to its queues
// reaches it through a weak reference, so a player that is gone gets nothing.
//
// One graph lock orders every change of the graph and of the file: connect()
// (on the thread that hands over the effect) against start, stop and load
// (main thread, state queue). It is never held while waiting for the state
// queue, nor around delegate and completion calls, and the render thread never
// takes it.
class AUEnginePlayer : public std::enable_shared_from_this<AUEnginePlayer> {
public:
    // Draws a whole number from lowest to highest, both included.
    using RandomSource = std::function<std::int64_t(std::int64_t lowest, std::int64_t highest)>;

    static constexpr std::int64_t kSoundFiles = 80;

    // Plays the sounds of the main bundle, drawn at random.
    AUEnginePlayer();
    // Plays the sounds of `bundle`, drawn by `random`.
    AUEnginePlayer(Bundle bundle, RandomSource random);
    virtual ~AUEnginePlayer();
    AUEnginePlayer(const AUEnginePlayer&) = delete;
    AUEnginePlayer& operator=(const AUEnginePlayer&) = delete;

    std::shared_ptr<AUEnginePlayerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<AUEnginePlayerDelegate> delegate) { delegate_ = std::move(delegate); }

    AVAudioEngine& engine() { return engine_; }
    const std::shared_ptr<AVAudioPlayerNode>& player() const { return player_; }

    // Ends playback and detaches the effect.
    virtual void finalize();
    virtual void disconnect();
    // Opens the file and wires it; without a URL it reports and does nothing.
    virtual void load(const std::optional<URL>& url);
    virtual void start();
    virtual void stop();
    // Starts when stopped, stops when playing; the playing state afterwards.
    // Without a sound loaded, now or before, it stays stopped.
    virtual bool toggle();
    // Attaches the effect (none: detaches the one attached) and wires it.
    virtual void connect(std::shared_ptr<AVAudioUnit> avAudioUnit, std::function<void()> completion = [] {});

    // Test hook: waits until the player node's due completions, the state
    // queue's blocks and the MIDI drains so far have run or been posted to
    // the main queue.
    void waitForPendingWork();

private:
    virtual void randomizeFile();
    virtual void setSessionActive(bool active);
    bool hasFile();
    virtual void startPlayingInternal();
    virtual void scheduleEffectLoop();
    virtual void stopPlayingInternal();
    virtual void resetAudioLoop();

    void detachActiveUnit();
    void wireUnit(const std::shared_ptr<AVAudioUnit>& unit);
    void assignMIDIOutput(const AVAudioUnit& unit) const;
    // The format of both effect connections, at the sound's rate; needs a file.
    std::shared_ptr<AVAudioFormat> effectFormat() const;
    void rewiringComplete(std::unique_lock<std::mutex>& graphLock, const std::function<void()>& completion);
    void rewireForFile();
    void loopCompleted();
    void notifyLoop();
    void postStateChange(bool playing);

    std::shared_ptr<MIDIEventRelay> midiRelay_;
    std::shared_ptr<const AUMIDIOutputEventBlock> midiOutBlock_;
    std::shared_ptr<AUEnginePlayerDelegate> delegate_;
    AVAudioEngine engine_;
    std::shared_ptr<AVAudioUnit> activeAVAudioUnit_;
    std::atomic<bool> isPlaying_ { false };
    std::int64_t loopCount_ = 0;
    DispatchQueue stateChangeQueue_;
    std::shared_ptr<AVAudioPlayerNode> player_;
    std::shared_ptr<AVAudioFile> file_;
    std::optional<URL> fileURL_;
    Bundle bundle_;
    RandomSource random_;
    std::mutex graphMutex_;
};
