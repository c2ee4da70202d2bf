#include "AUEnginePlayer.h"

#include <random>
#include <string>

#include "AVAudioSession.h"
#include "AVError.h"
#include "AudioEngineConstants.h"
#include "Console.h"
#include "MIDIEventRelay.h"

namespace {

AUEnginePlayer::RandomSource systemRandom()
{
    return [generator = std::make_shared<std::mt19937_64>(std::random_device {}())](std::int64_t lowest,
                                                                                  std::int64_t highest) {
        return std::uniform_int_distribution<std::int64_t>(lowest, highest)(*generator);
    };
}

void print(const std::string& line) { Console::print(line); }

} // namespace

AUEnginePlayer::AUEnginePlayer()
    : AUEnginePlayer(Bundle::main(), systemRandom())
{
}

AUEnginePlayer::AUEnginePlayer(Bundle bundle, RandomSource random)
    : midiRelay_(std::make_shared<MIDIEventRelay>())
    , midiOutBlock_(std::make_shared<const AUMIDIOutputEventBlock>(
          [relay = midiRelay_](AUEventSampleTime sampleTime, std::uint8_t, std::int64_t length,
                               const std::uint8_t* bytes) { return relay->receive(sampleTime, length, bytes); }))
    , stateChangeQueue_("com.zuvvelmora.quillmere.AUEnginePlayer.state")
    , player_(std::make_shared<AVAudioPlayerNode>())
    , bundle_(std::move(bundle))
    , random_(std::move(random))
{
    engine_.attach(player_);
}

AUEnginePlayer::~AUEnginePlayer() = default;

void AUEnginePlayer::finalize()
{
    stop();
    disconnect();
}

void AUEnginePlayer::disconnect()
{
    connect(nullptr, [] { print("AUEnginePlayer: Performed audio unit disconnection."); });
}

void AUEnginePlayer::connect(std::shared_ptr<AVAudioUnit> avAudioUnit, std::function<void()> completion)
{
    print(avAudioUnit ? "AUEnginePlayer: A new audio unit will be connected."
                      : "AUEnginePlayer::WARNING: Function connect() with argument 'nil' causes disconnection.");
    std::unique_lock graphLock(graphMutex_);
    bool resetPending = true;
    if (activeAVAudioUnit_) {
        detachActiveUnit();
        resetPending = false;
    }
    activeAVAudioUnit_ = avAudioUnit;
    engine_.connect(engine_.mainMixerNode(), engine_.outputNode(), engine_.outputNode()->outputFormat(0));
    if (isPlaying_.load())
        player_->pause();
    if (!avAudioUnit) {
        if (resetPending)
            resetAudioLoop();
        rewiringComplete(graphLock, completion);
        print("AUEnginePlayer: The audio unit was set to 'nil'.");
        return;
    }
    wireUnit(avAudioUnit);
    rewiringComplete(graphLock, completion);
}

// The player goes straight to the mixer; a MIDI output block set on the old
// effect stays on it.
void AUEnginePlayer::detachActiveUnit()
{
    engine_.disconnectNodeInput(activeAVAudioUnit_);
    engine_.disconnectNodeInput(engine_.mainMixerNode());
    resetAudioLoop();
    engine_.detach(activeAVAudioUnit_);
    print("AUEnginePlayer: Audio unit was disconnecting and detaching.");
    activeAVAudioUnit_.reset();
}

void AUEnginePlayer::wireUnit(const std::shared_ptr<AVAudioUnit>& unit)
{
    assignMIDIOutput(*unit);
    engine_.attach(unit);
    print("AUEnginePlayer: Audio unit was attached.");
    engine_.disconnectNodeInput(engine_.mainMixerNode());
    if (!file_) {
        print("AUEnginePlayer::ERROR: There was a problem with the file processing format or the file is nil (yet).");
        return;
    }
    engine_.connect(player_, unit, effectFormat());
    print("AUEnginePlayer: Audio Unit was connected to the player.");
    engine_.connect(unit, engine_.mainMixerNode(), effectFormat());
    print("AUEnginePlayer: Audio Unit was connected to the main mixer.");
}

// Effects process the engine's two channels; the player spreads a mono sound
// over both, and a wider one is brought down to two when it is decoded.
std::shared_ptr<AVAudioFormat> AUEnginePlayer::effectFormat() const
{
    return AVAudioFormat::standardFormat(file_->processingFormat()->sampleRate(), kAudioEngineChannels);
}

void AUEnginePlayer::assignMIDIOutput(const AVAudioUnit& unit) const
{
    if (unit.auAudioUnit()->MIDIOutputNames().empty())
        return;
    print("AUEnginePlayer: The audio unit reports MIDI output names. Assigning a handling block.");
    unit.auAudioUnit()->setMIDIOutputEventBlock(midiOutBlock_);
}

void AUEnginePlayer::rewiringComplete(std::unique_lock<std::mutex>& graphLock, const std::function<void()>& completion)
{
    if (isPlaying_.load())
        player_->play();
    graphLock.unlock();
    if (completion)
        completion();
}

void AUEnginePlayer::resetAudioLoop()
{
    if (!file_) {
        print("AUEnginePlayer: ERROR: There is a problem with the audio file processing format.");
        return;
    }
    engine_.connect(player_, engine_.mainMixerNode(), file_->processingFormat());
}

void AUEnginePlayer::randomizeFile()
{
    const std::string name = std::to_string(random_(1, kSoundFiles));
    fileURL_ = bundle_.url(name, "m4a");
    if (!fileURL_) {
        print("AUEnginePlayer::ERROR: The audio file '" + name + ".m4a' was not found inside the resource folder for "
              "the app.");
        return;
    }
    load(fileURL_);
    print(fileURL_->path());
    engine_.prepare();
}

void AUEnginePlayer::load(const std::optional<URL>& url)
{
    if (!url) {
        print("AUEnginePlayer::ERROR: No audio file was given to load.");
        return;
    }
    loopCount_ = 0;
    print("AUEnginePlayer: Audio file at '" + url->path() + "' was selected for loading into the player.");
    fileURL_ = url;
    std::shared_ptr<AVAudioFile> opened;
    try {
        opened = std::make_shared<AVAudioFile>(*url);
    } catch (const AVError& error) {
        print("AUEnginePlayer::ERROR: Could not create AVAudioFile instance for URL 'Optional("
              + fileURL_->absoluteString() + ")'. error: " + error.localizedDescription() + ".");
        return;
    }
    {
        std::lock_guard graphLock(graphMutex_);
        file_ = opened;
    }
    if (delegate_)
        delegate_->onFileSelect(url->path());
    rewireForFile();
}

void AUEnginePlayer::rewireForFile()
{
    std::lock_guard graphLock(graphMutex_);
    const bool playing = isPlaying_.load();
    if (playing)
        player_->stop();
    const auto mixer = engine_.mainMixerNode();
    engine_.disconnectNodeInput(mixer);
    if (activeAVAudioUnit_) {
        print("AUEnginePlayer: Player was (temporarily) disconnecting from the main mixer.");
        engine_.disconnectNodeInput(activeAVAudioUnit_);
        print("AUEnginePlayer: Audio unit was (temporarily) disconnecting from the player.");
        engine_.connect(player_, activeAVAudioUnit_, effectFormat());
        print(std::to_string(file_->processingFormat()->channelCount()));
        print("AUEnginePlayer: Audio unit re-connecting to the player.");
        engine_.connect(activeAVAudioUnit_, mixer, effectFormat());
        print("AUEnginePlayer: Audio unit re-connectingto the main mixer.");
    } else {
        engine_.connect(player_, mixer, file_->processingFormat());
        print("AUEnginePlayer: The player was connected to the mainMixerNode.");
    }
    if (playing)
        player_->play();
}

void AUEnginePlayer::start()
{
    randomizeFile();
    stateChangeQueue_.sync([this] {
        // Without a sound the engine would play silence as if it played:
        // the file's error is the last word.
        if (isPlaying_.load() || !hasFile())
            return;
        startPlayingInternal();
        // Only a start that really plays is announced.
        if (isPlaying_.load())
            postStateChange(true);
    });
}

bool AUEnginePlayer::hasFile()
{
    std::lock_guard graphLock(graphMutex_);
    return file_ != nullptr;
}

void AUEnginePlayer::startPlayingInternal()
{
    setSessionActive(true);
    scheduleEffectLoop();
    std::lock_guard graphLock(graphMutex_);
    engine_.connect(engine_.mainMixerNode(), engine_.outputNode(), engine_.outputNode()->outputFormat(0));
    try {
        engine_.start();
    } catch (const AVError& error) {
        isPlaying_.store(false);
        print("AUEnginePlayer::ERROR: Could not start audio engine. error: " + error.localizedDescription() + ".");
        return;
    }
    player_->play();
    isPlaying_.store(true);
}

// The node calls the completion on its own thread; the loop goes on on the
// state queue.
void AUEnginePlayer::scheduleEffectLoop()
{
    std::lock_guard graphLock(graphMutex_);
    if (!file_) {
        print("AUEnginePlayer::ERROR: `file` parameter must not be nil.");
        return;
    }
    player_->scheduleFile(*file_, [queue = stateChangeQueue_, weak = weak_from_this()] {
        queue.async([weak] {
            if (const auto self = weak.lock())
                self->loopCompleted();
        });
    });
}

// A completion that follows a stop finds the player stopped: the loop ends.
void AUEnginePlayer::loopCompleted()
{
    if (!isPlaying_.load())
        return;
    DispatchQueue::main().async([weak = weak_from_this()] {
        if (const auto self = weak.lock())
            self->notifyLoop();
    });
    scheduleEffectLoop();
}

void AUEnginePlayer::notifyLoop()
{
    if (delegate_)
        delegate_->onLoop(loopCount_);
    loopCount_ += 1;
    const std::string path = fileURL_ ? fileURL_->path() : "";
    print("AUEnginePlayer: Current audio file '" + path + "' looped: " + std::to_string(loopCount_) + ".");
}

void AUEnginePlayer::stop()
{
    stateChangeQueue_.sync([this] {
        if (!isPlaying_.load())
            return;
        stopPlayingInternal();
        postStateChange(false);
    });
}

void AUEnginePlayer::stopPlayingInternal()
{
    {
        std::lock_guard graphLock(graphMutex_);
        player_->stop();
        engine_.stop();
        isPlaying_.store(false);
    }
    setSessionActive(false);
}

void AUEnginePlayer::postStateChange(bool playing)
{
    DispatchQueue::main().async([weak = weak_from_this(), playing] {
        const auto self = weak.lock();
        if (!self)
            return;
        print(playing ? "AUEnginePlayer: Audio engine starting." : "AUEnginePlayer: Audio engine stopping.");
        if (self->delegate_)
            self->delegate_->onPlayerStateChanged(playing);
    });
}

bool AUEnginePlayer::toggle()
{
    if (isPlaying_.load())
        stop();
    else
        start();
    return isPlaying_.load();
}

void AUEnginePlayer::setSessionActive(bool active)
{
    auto& session = AVAudioSession::sharedInstance();
    try {
        session.setCategory(AVAudioSessionCategoryPlayback, AVAudioSessionModeDefault, 0);
        session.setActive(active, 0);
    } catch (const AVError& error) {
        print(std::string("AUEnginePlayer::ERROR: Could not set audio session active ") + (active ? "true" : "false")
              + ". system error: " + error.localizedDescription() + ".");
        return;
    }
    print("AUEnginePlayer: Audio session was set active.");
}

void AUEnginePlayer::waitForPendingWork()
{
    player_->flushCompletions();
    stateChangeQueue_.sync([] {});
    midiRelay_->flush();
}
