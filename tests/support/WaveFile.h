#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

// Writes 32-bit float WAVE files: FFmpeg decodes them without loss, so tests
// can compare what an engine plays sample by sample.
inline void writeWaveFile(const std::filesystem::path& path, const std::vector<std::vector<float>>& channels,
                          std::uint32_t sampleRate = 48000)
{
    const auto count = static_cast<std::uint16_t>(channels.size());
    const std::size_t frames = channels.empty() ? 0 : channels[0].size();
    const auto dataBytes = static_cast<std::uint32_t>(frames * count * sizeof(float));
    std::ofstream out(path, std::ios::binary);
    const auto put = [&](auto value) { out.write(reinterpret_cast<const char*>(&value), sizeof value); };
    out.write("RIFF", 4);
    put(std::uint32_t { 36 + dataBytes });
    out.write("WAVEfmt ", 8);
    put(std::uint32_t { 16 });
    put(std::uint16_t { 3 }); // IEEE float
    put(count);
    put(sampleRate);
    put(std::uint32_t { sampleRate * count * 4 });
    put(std::uint16_t(count * 4));
    put(std::uint16_t { 32 });
    out.write("data", 4);
    put(dataBytes);
    for (std::size_t frame = 0; frame < frames; ++frame)
        for (const auto& channel : channels)
            put(channel[frame]);
}

// A channel whose sample i is (i + 1) * step: every sample tells where it came from.
inline std::vector<float> rampChannel(std::size_t frames, float step)
{
    std::vector<float> samples(frames);
    for (std::size_t index = 0; index < frames; ++index)
        samples[index] = static_cast<float>(index + 1) * step;
    return samples;
}
