#pragma once

#include <filesystem>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVPacket;
struct AVStream;

// Writes float audio as AAC in an MP4 file (.m4a) with FFmpeg's libraries.
// The file states its exact length in an edit list at the rate of the audio,
// so a reader can leave out the encoder's priming and padding. A path ending
// in .aac gets a bare stream of frames instead, which states no length;
// streams written so can be joined into one whose format changes midway. A
// path ending in .ogg gets Vorbis in Ogg, whose files joined make a chain.
class M4AEncoder {
public:
    static constexpr long kBitRate = 128000;

    // `channels` hold equally many samples at `sampleRate`. The file appears
    // whole or not at all. Throws std::runtime_error when it cannot be written.
    static void write(const std::filesystem::path& path, const std::vector<std::vector<float>>& channels,
                      int sampleRate);

    ~M4AEncoder();
    M4AEncoder(const M4AEncoder&) = delete;
    M4AEncoder& operator=(const M4AEncoder&) = delete;

private:
    M4AEncoder(std::filesystem::path path, int channels, int sampleRate);

    void open();
    void encode(const std::vector<std::vector<float>>& channels);
    void sendFrame(const std::vector<std::vector<float>>& channels, std::size_t position);
    void writePackets();
    void finish();
    void check(int status, const char* step) const;

    std::filesystem::path path_;
    int channels_;
    int sampleRate_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    AVPacket* packet_ = nullptr;
};
