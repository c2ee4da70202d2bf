#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AVAudioPCMBuffer.h"
#include "FileHandle.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVIOContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

// Decodes a whole sound file with FFmpeg's libraries into float samples at a
// given rate, keeping the channels the file starts with up to a given count;
// more are mixed down into that many, no louder than the loudest of them, and
// a part in other channels or at another rate is mixed and resampled into
// them. Channels in an arrangement that cannot be mixed are taken in order,
// those past the output's left out.
// The decoder leaves out the encoder's priming that the container marks; the
// end is cut to the length the container states where that end falls in the
// last packet, which leaves out the encoder's padding. Samples that are not
// finite are decoded as 0.
class AudioFileDecoder {
public:
    // Far above the bundle's loops of a few seconds; a longer sound would
    // only hold its caller and fill memory.
    static constexpr int kMaximumMinutes = 10;
    // The highest rate sound is recorded at.
    static constexpr int kMaximumSampleRate = 768000;
    // Mixing and resampling many channels at a high rate into ten minutes of
    // output would take the input minutes; it may hold this many samples for
    // each output frame of those minutes. At 48 kHz that is ten minutes of
    // eight channels at 96 kHz, or two at 384 kHz: some 3 s of decoding.
    static constexpr std::uint64_t kMaximumInputSamplesPerFrame = 16;
    // The channels an error tells that bound in.
    static constexpr std::uint64_t kSurroundChannels = 8;
    // A sound's edit list cuts its encoder's priming and padding, or joins a
    // few parts; each edit more can have the whole sound indexed once more.
    static constexpr std::int64_t kMaximumEdits = 16;

    // `channels` is 1 to AudioBufferList::kMaxBuffers. Throws AVError when
    // FileHandle refuses the path, or the file cannot be decoded, has more
    // channels than a buffer list carries, changes to channels that cannot be
    // converted, is at a rate above kMaximumSampleRate, holds an edit list of
    // more than kMaximumEdits, a compressed movie header that is damaged or
    // larger than EditListScan::kMaximumMovieHeader or boxes nested past
    // EditListScan::kMaximumWork, holds no samples, lasts longer than
    // kMaximumMinutes or holds more input samples than
    // kMaximumInputSamplesPerFrame for each frame of those minutes; a longer
    // sound is refused as soon as the decoding passes the limit.
    static std::shared_ptr<const AVAudioPCMBuffer> decode(const std::string& path, double sampleRate,
                                                          AVAudioChannelCount channels);

    ~AudioFileDecoder();
    AudioFileDecoder(const AudioFileDecoder&) = delete;
    AudioFileDecoder& operator=(const AudioFileDecoder&) = delete;

private:
    AudioFileDecoder(std::string path, int sampleRate, AVAudioChannelCount channels);

    void openReader();
    void openInput();
    void checkEditLists() const;
    void openDecoder();
    int chooseOutputLayout();
    void decodeAll();
    void followTimestamps(const AVPacket& packet);
    void sendPacket(const AVPacket* packet);
    void followFormat(const AVFrame& frame);
    void openResampler(const AVFrame& frame);
    int setUpResampler(AVChannelLayout& layout, const AVFrame& frame);
    int setMixingMatrix(const AVChannelLayout& layout);
    void takeChannelsInOrder(std::vector<double>& matrix, int inputChannels) const;
    void checkRate(int rate) const;
    void countInput(const AVFrame& frame);
    void flush();
    void convert(const unsigned char** input, int inputFrames);
    void checkLength(std::size_t frames) const;
    std::size_t statedLength() const;
    bool endIsStated() const;
    std::shared_ptr<const AVAudioPCMBuffer> result() const;
    [[noreturn]] void fail(const std::string& reason) const;
    void check(int status) const;

    std::string path_;
    int sampleRate_;
    int maximumChannels_;
    std::optional<FileHandle> file_;
    AVIOContext* input_ = nullptr;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
    AVChannelLayout outputLayout_ {};
    // What the resampler was set up for, as the decoded frames state it.
    AVChannelLayout inputLayout_ {};
    int inputRate_ = 0;
    int inputFormat_ = -1;
    // The start of the last packet kept, in the stream's time base, and
    // whether every packet started no earlier than the one before it.
    std::optional<std::int64_t> lastPacketStart_;
    bool timestampsRise_ = true;
    std::uint64_t inputSamples_ = 0;
    std::vector<std::vector<float>> channels_;
};
