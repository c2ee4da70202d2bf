#include "AVAudioEngine.h"
#include "Console.h"
#include "PortAudioOutput.h"

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// PortAudio with one stand-in stream that plays nowhere. Its device holds
// 1.7 s of output queued, as a desktop's sound server does; aborted, it drops
// the queue at once. The library offers no draining stop, and the stand-in
// is no real stream, so a call made past the library fails the test.
class QueuedDeviceLibrary : public PortAudioLibrary {
public:
    PaError initialize() override { ++initialized; return paNoError; }
    PaError terminate() override { --initialized; return paNoError; }
    PaError openDefaultStream(PaStream** stream, int, int outputChannels, PaSampleFormat, double, unsigned long,
                              PaStreamCallback* streamCallback, void* streamUserData) override
    {
        channels = outputChannels;
        callback = streamCallback;
        userData = streamUserData;
        *stream = this;
        return paNoError;
    }
    PaError startStream(PaStream*) override { queuedFrames = 81600; active = true; return paNoError; }
    PaError abortStream(PaStream*) override
    {
        ++aborts;
        queuedFrames = 0;
        active = false;
        return paNoError;
    }
    PaError isStreamActive(PaStream*) override { return active ? 1 : 0; }
    PaError closeStream(PaStream*) override { ++closes; return paNoError; }

    // The device asking its stream for `frames` frames, one buffer per channel.
    std::vector<std::vector<float>> play(unsigned long frames)
    {
        std::vector<std::vector<float>> buffers(static_cast<std::size_t>(channels), std::vector<float>(frames));
        std::vector<float*> pointers;
        for (auto& buffer : buffers)
            pointers.push_back(buffer.data());
        EXPECT_EQ(callback(nullptr, pointers.data(), frames, nullptr, 0, userData), paContinue);
        return buffers;
    }

    int initialized = 0;
    int channels = 0;
    PaStreamCallback* callback = nullptr;
    void* userData = nullptr;
    bool active = false;
    long queuedFrames = 0;
    int aborts = 0;
    int closes = 0;
};

// Standard error, at the file descriptor, goes to a file until text() is asked.
class StandardErrorCapture {
public:
    StandardErrorCapture()
        : file_(std::tmpfile())
        , saved_(::dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        ::dup2(::fileno(file_), STDERR_FILENO);
    }
    ~StandardErrorCapture() { std::fclose(file_); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    std::string text()
    {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        std::string text;
        std::rewind(file_);
        for (int character; (character = std::fgetc(file_)) != EOF;)
            text.push_back(static_cast<char>(character));
        return text;
    }

private:
    std::FILE* file_;
    int saved_;
};

} // namespace

// Stop (and closing the window while it plays) must not hold the main thread
// while the device plays out what it has queued.
TEST(PortAudioOutputTest, StoppingAndClosingDropWhatTheDeviceHoldsQueuedInsteadOfWaitingForIt)
{
    const auto library = std::make_shared<QueuedDeviceLibrary>();
    auto device = PortAudioOutput::open(library);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(library->channels, 2);

    device->start([](AUAudioFrameCount frames, AudioBufferList& output) {
        for (std::uint32_t channel = 0; channel < output.mNumberBuffers; ++channel)
            for (AUAudioFrameCount frame = 0; frame < frames; ++frame)
                static_cast<float*>(output.mBuffers[channel].mData)[frame] = float(channel + 1) + float(frame);
    });
    const auto played = library->play(3);
    EXPECT_EQ(played, (std::vector<std::vector<float>> { { 1, 2, 3 }, { 2, 3, 4 } }));

    device->stop();
    EXPECT_EQ(library->aborts, 1);
    EXPECT_EQ(library->queuedFrames, 0);
    EXPECT_FALSE(library->active);
    device->stop();
    EXPECT_EQ(library->aborts, 1) << "a stopped stream is left alone";

    device->start([](AUAudioFrameCount, AudioBufferList&) { });
    ASSERT_TRUE(library->active);
    device.reset();
    EXPECT_EQ(library->aborts, 2);
    EXPECT_EQ(library->closes, 1);
    EXPECT_EQ(library->initialized, 0);
}

// Without a sound card the libraries under PortAudio would print dozens of
// lines while it looks for a device; the engine's own line on standard output
// is what says that none opened. The libraries speak again afterwards.
TEST(PortAudioOutputTest, LookingForTheDefaultDeviceLeavesStandardErrorEmpty)
{
    const std::vector<std::string> noDevice {
        "AVAudioEngine: No audio output device could be opened; the engine runs without sound."
    };
    Console::Capture console;
    StandardErrorCapture errors;
    const bool opened = PortAudioOutput::open() != nullptr;
    {
        AVAudioEngine engine;
        engine.start();
        engine.stop();
    }
    EXPECT_EQ(errors.text(), "");
    EXPECT_EQ(console.lines(), opened ? std::vector<std::string> {} : noDevice);

    StandardErrorCapture later;
    snd_pcm_t* pcm = nullptr;
    EXPECT_LT(snd_pcm_open(&pcm, "no such device", SND_PCM_STREAM_PLAYBACK, 0), 0);
    EXPECT_NE(later.text().find("no such device"), std::string::npos);
}
