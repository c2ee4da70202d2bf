#pragma once

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

// Where a shared object's loadable segments lie in its file, read straight
// from its headers: where the last one starts, and where the furthest ends.
struct LoadableSegments {
    std::uintmax_t lastStart = 0;
    std::uintmax_t end = 0;
};

inline LoadableSegments loadableSegments(const std::filesystem::path& library)
{
    std::ifstream in(library, std::ios::binary);
    ElfW(Ehdr) header {};
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    LoadableSegments segments;
    for (std::size_t index = 0; index < header.e_phnum; ++index) {
        ElfW(Phdr) segment {};
        in.seekg(static_cast<std::streamoff>(header.e_phoff + index * sizeof segment));
        in.read(reinterpret_cast<char*>(&segment), sizeof segment);
        if (segment.p_type == PT_LOAD) {
            segments.lastStart = std::max<std::uintmax_t>(segments.lastStart, segment.p_offset);
            segments.end = std::max<std::uintmax_t>(segments.end, segment.p_offset + segment.p_filesz);
        }
    }
    return segments;
}
