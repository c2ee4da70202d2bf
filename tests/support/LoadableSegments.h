#pragma once

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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

// A copy of `library` at `copy` whose program headers, from `first` up to
// `last`, `change(first, last)` rewrites.
template <class Change>
std::filesystem::path withProgramHeaders(const std::filesystem::path& library, const std::filesystem::path& copy,
                                         Change change)
{
    std::ifstream in(library, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(bytes.data());
    auto* first = reinterpret_cast<ElfW(Phdr)*>(bytes.data() + header->e_phoff);
    change(first, first + header->e_phnum);
    std::ofstream(copy, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return copy;
}

// A copy of `library` at `copy` whose note segment is turned into a
// zero-filled loadable one, after the others in memory and at an offset past
// the file's end, each `intoPage` bytes into its page.
inline std::filesystem::path withZeroFilledSegment(const std::filesystem::path& library,
                                                   const std::filesystem::path& copy, ElfW(Addr) intoPage = 0)
{
    constexpr ElfW(Xword) page = 0x10000;
    const ElfW(Addr) start = (std::filesystem::file_size(library) / page + 2) * page + intoPage;
    return withProgramHeaders(library, copy, [&](ElfW(Phdr)* first, ElfW(Phdr)* last) {
        *std::find_if(first, last, [](const auto& segment) { return segment.p_type == PT_NOTE; })
            = {PT_LOAD, PF_R | PF_W, start, start, start, 0, page, page};
    });
}
