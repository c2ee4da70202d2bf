#include "SharedObjectFile.h"

#include "FileHandle.h"
#include "FileManager.h"

#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <vector>

using ElfHeader = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
using SectionHeader = ElfW(Shdr);

// Set by the linker at the ELF header of the object it links, which the
// loader maps with the object's first segment: the platform library's own
// class, byte order and machine, which a plug-in it loads must share.
extern "C" const ElfHeader __ehdr_start __attribute__((visibility("hidden")));

namespace {

// The end of a file range, saturated instead of wrapping around.
std::uint64_t end(std::uint64_t offset, std::uint64_t length)
{
    return length > std::numeric_limits<std::uint64_t>::max() - offset ? std::numeric_limits<std::uint64_t>::max()
                                                                        : offset + length;
}

bool readAt(const FileHandle& file, void* into, std::size_t length, std::uint64_t offset)
{
    auto* bytes = static_cast<char*>(into);
    while (length > 0) {
        const auto count = ::pread(file.fileDescriptor(), bytes, length, static_cast<off_t>(offset));
        if (count <= 0) {
            return false;
        }
        bytes += count;
        length -= static_cast<std::size_t>(count);
        offset += static_cast<std::uint64_t>(count);
    }
    return true;
}

std::optional<std::string> headerDefect(const ElfHeader& header)
{
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_VERSION] != EV_CURRENT
        || header.e_type != ET_DYN) {
        return "it is not an ELF shared object";
    }
    if (header.e_ident[EI_CLASS] != __ehdr_start.e_ident[EI_CLASS]
        || header.e_ident[EI_DATA] != __ehdr_start.e_ident[EI_DATA] || header.e_machine != __ehdr_start.e_machine) {
        return "it is built for another kind of machine";
    }
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader)
        || (header.e_shnum != 0 && header.e_shentsize != sizeof(SectionHeader))) {
        return "its ELF header is damaged";
    }
    return std::nullopt;
}

// How far into the file the section headers reach; a zero count with an
// offset keeps the real count in the first header, so that one is there.
std::uint64_t sectionHeadersEnd(const ElfHeader& header)
{
    if (header.e_shoff == 0) {
        return 0;
    }
    const std::uint64_t count = std::max<std::uint64_t>(header.e_shnum, 1);
    return end(header.e_shoff, count * sizeof(SectionHeader));
}

// How far into the file the loader reads a loadable segment. One holding no
// file bytes is only zero-filled memory, whatever its offset says, as linkers
// may place one past the file's end; but when its address is off a page
// boundary, the loader maps that page from the file and clears the rest of
// it, so the file must reach into that page.
std::uint64_t segmentReach(const ProgramHeader& segment, std::uint64_t pageSize)
{
    if (segment.p_filesz != 0) {
        return end(segment.p_offset, segment.p_filesz);
    }
    if (segment.p_vaddr % pageSize == 0) {
        return 0;
    }
    return segment.p_offset - segment.p_offset % pageSize + 1;
}

std::uint64_t loadableSegmentsEnd(const std::vector<ProgramHeader>& programHeaders)
{
    const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    std::uint64_t reach = 0;
    for (const auto& segment : programHeaders) {
        if (segment.p_type == PT_LOAD) {
            reach = std::max(reach, segmentReach(segment, pageSize));
        }
    }
    return reach;
}

std::uint64_t pageFloor(std::uint64_t address, std::uint64_t pageSize) { return address - address % pageSize; }

std::uint64_t pageCeiling(std::uint64_t address, std::uint64_t pageSize)
{
    return address % pageSize == 0 ? address : end(pageFloor(address, pageSize), pageSize);
}

std::string hexadecimal(std::uint64_t value)
{
    std::ostringstream text;
    text << "0x" << std::hex << value;
    return text.str();
}

// The loader maps each loadable segment over whole pages, in the order of
// their addresses, one after another into a single reservation; one that
// reaches into a page an earlier one holds, or lies below it, breaks the
// loader's own assumptions and ends the loading process.
std::optional<std::string> placementDefect(const ProgramHeader& earlier, const ProgramHeader& later,
                                           std::uint64_t pageSize)
{
    if (later.p_vaddr < earlier.p_vaddr) {
        return "its loadable segments are out of address order: one at " + hexadecimal(later.p_vaddr)
            + " follows one at " + hexadecimal(earlier.p_vaddr);
    }
    const auto earlierEnd = pageCeiling(end(earlier.p_vaddr, earlier.p_memsz), pageSize);
    const auto laterStart = pageFloor(later.p_vaddr, pageSize);
    if (laterStart < earlierEnd) {
        return "its loadable segments overlap: one mapped up to " + hexadecimal(earlierEnd)
            + " is followed by one mapped from " + hexadecimal(laterStart);
    }
    return std::nullopt;
}

std::optional<std::string> segmentsDefect(const std::vector<ProgramHeader>& programHeaders)
{
    const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const ProgramHeader* earlier = nullptr;
    for (const auto& segment : programHeaders) {
        if (segment.p_type != PT_LOAD) {
            continue;
        }
        if (earlier) {
            if (auto defect = placementDefect(*earlier, segment, pageSize)) {
                return defect;
            }
        }
        earlier = &segment;
    }
    return std::nullopt;
}

std::string cutShort(std::uint64_t size, std::uint64_t needed)
{
    return "it is cut short: it holds " + std::to_string(size) + " bytes where its ELF headers call for "
        + std::to_string(needed);
}

std::optional<std::string> fileDefect(const FileHandle& file)
{
    const std::uint64_t size = file.size();
    ElfHeader header {};
    if (size < sizeof header || !readAt(file, &header, sizeof header, 0)) {
        return cutShort(size, sizeof header);
    }
    if (auto defect = headerDefect(header)) {
        return defect;
    }
    const std::uint64_t tableEnd = end(header.e_phoff, std::uint64_t { header.e_phnum } * sizeof(ProgramHeader));
    if (tableEnd > size) {
        return cutShort(size, tableEnd);
    }
    std::vector<ProgramHeader> programHeaders(header.e_phnum);
    if (!readAt(file, programHeaders.data(), programHeaders.size() * sizeof(ProgramHeader), header.e_phoff)) {
        return cutShort(size, tableEnd);
    }
    const std::uint64_t needed = std::max(loadableSegmentsEnd(programHeaders), sectionHeadersEnd(header));
    if (needed > size) {
        return cutShort(size, needed);
    }
    return segmentsDefect(programHeaders);
}

} // namespace

std::optional<std::string> SharedObjectFile::defect(const std::filesystem::path& path)
{
    try {
        const auto file = FileHandle::forReadingAtPath(path.string());
        if (const auto defect = fileDefect(file)) {
            return "The library '" + path.string() + "' cannot be loaded: " + *defect + ".";
        }
    } catch (const FileManagerError& error) {
        return error.localizedDescription();
    }
    return std::nullopt;
}
