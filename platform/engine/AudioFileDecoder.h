#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AVAudioPCMBuffer.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

// Decodes a whole sound file with FFmpeg's libraries into float samples at a
// given rate, keeping the file's channels. The decoder leaves out the
// encoder's priming that the container marks; the end is cut to the length
// the container states, which leaves out the encoder's padding.
class AudioFileDecoder {
public:
    // Throws AVError when the file cannot be decoded or holds no samples.
    static std::shared_ptr<const AVAudioPCMBuffer> decode(const std::string& path, double sampleRate);

    ~AudioFileDecoder();
    AudioFileDecoder(const AudioFileDecoder&) = delete;
    AudioFileDecoder& operator=(const AudioFileDecoder&) = delete;

private:
    AudioFileDecoder(std::string path, int sampleRate);

    void openInput();
    void openDecoder();
    void openResampler();
    void decodeAll();
    void sendPacket(const AVPacket* packet);
    void convert(const unsigned char** input, int inputFrames);
    std::size_t statedLength() const;
    std::shared_ptr<const AVAudioPCMBuffer> result() const;
    [[noreturn]] void fail(const std::string& reason) const;
    void check(int status) const;

    std::string path_;
    int sampleRate_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
    std::vector<std::vector<float>> channels_;
};
