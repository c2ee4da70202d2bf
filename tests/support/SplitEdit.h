#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Splits the one edit of an MP4 file that M4AEncoder wrote into `count`
// that follow each other, each as long, dropping what is left over. The
// movie header follows the media, whose offsets stay.
inline void splitEdit(const std::filesystem::path& path, std::uint32_t count)
{
    std::string bytes { std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {} };
    const auto bigEndian = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t index = at; index < at + 4; ++index)
            value = value << 8 | static_cast<unsigned char>(bytes[index]);
        return value;
    };
    const auto bigEndianBytes = [](std::uint32_t value) {
        return std::string { static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                             static_cast<char>(value >> 8), static_cast<char>(value) };
    };
    const std::size_t list = bytes.find("elst");
    const std::uint32_t length = bigEndian(list + 12) / count;
    std::string edits;
    for (std::uint32_t edit = 0; edit < count; ++edit)
        edits += bigEndianBytes(length) + bigEndianBytes(bigEndian(list + 16) + edit * length)
            + bytes.substr(list + 20, 4);
    bytes.replace(list + 8, 16, bigEndianBytes(count) + edits);
    for (const char* box : { "elst", "edts", "trak", "moov" }) {
        const std::size_t at = bytes.rfind(box, list) - 4;
        bytes.replace(at, 4, bigEndianBytes(bigEndian(at) + static_cast<std::uint32_t>(edits.size() - 12)));
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
