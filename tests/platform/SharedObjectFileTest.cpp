#include "../support/LoadableSegments.h"
#include "../support/PipeTrap.h"
#include "../support/PlugInBundle.h"
#include "../support/TemporaryFolder.h"

#include "SharedObjectFile.h"

#include <gtest/gtest.h>

#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<char>;

Bytes plugInBytes()
{
    std::ifstream in(FAKE_PLUGIN, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

template <class Field> void put(Bytes& bytes, std::size_t offset, Field value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

std::filesystem::path written(const TemporaryFolder& folder, const char* name, const Bytes& bytes)
{
    const auto path = folder.path() / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string defectOf(const std::filesystem::path& path) { return SharedObjectFile::defect(path).value_or(""); }

} // namespace

// The section headers come last, so every cut of a whole file loses them.
TEST(SharedObjectFileTest, AWholeLibraryPassesAndEveryCutOfItIsRefused)
{
    const TemporaryFolder folder;
    const auto size = plugInBytes().size();
    EXPECT_EQ(SharedObjectFile::defect(FAKE_PLUGIN), std::nullopt);
    const std::size_t lastSegment = loadableSegments(FAKE_PLUGIN).lastStart;
    for (const std::size_t length : { std::size_t { 0 }, std::size_t { 20 }, sizeof(ElfW(Ehdr)), lastSegment, size / 2,
                                      size - 1 }) {
        const auto copy = cutShortCopy(FAKE_PLUGIN, folder.path() / "cut.so", length);
        const auto defect = defectOf(copy);
        EXPECT_TRUE(defect.starts_with("The library '" + copy.string() + "' cannot be loaded: it is cut short: it holds "
                                       + std::to_string(length) + " bytes where its ELF headers call for "))
            << defect;
    }
}

TEST(SharedObjectFileTest, WithoutSectionHeadersTheLoadableSegmentsTellTheCut)
{
    const TemporaryFolder folder;
    Bytes bytes = plugInBytes();
    put<ElfW(Off)>(bytes, offsetof(ElfW(Ehdr), e_shoff), 0);
    put<ElfW(Half)>(bytes, offsetof(ElfW(Ehdr), e_shnum), 0);
    put<ElfW(Half)>(bytes, offsetof(ElfW(Ehdr), e_shstrndx), 0);
    const std::size_t end = loadableSegments(FAKE_PLUGIN).end;
    ASSERT_GT(end, 4096u);
    EXPECT_EQ(defectOf(written(folder, "stripped.so", bytes)), "");

    bytes.resize(end - 1);
    const auto cut = written(folder, "cut.so", bytes);
    EXPECT_EQ(defectOf(cut), "The library '" + cut.string() + "' cannot be loaded: it is cut short: it holds "
                                 + std::to_string(end - 1) + " bytes where its ELF headers call for "
                                 + std::to_string(end) + ".");
}

TEST(SharedObjectFileTest, HeadersOfAnotherKindOrMachineAreRefused)
{
    const TemporaryFolder folder;
    const auto refusal = [&](auto change) {
        Bytes bytes = plugInBytes();
        change(bytes);
        const auto path = written(folder, "changed.so", bytes);
        const auto defect = defectOf(path);
        const std::string prefix = "The library '" + path.string() + "' cannot be loaded: ";
        return defect.starts_with(prefix) ? defect.substr(prefix.size()) : defect;
    };
    EXPECT_EQ(refusal([](Bytes& bytes) { bytes[1] = 'X'; }), "it is not an ELF shared object.");
    EXPECT_EQ(refusal([](Bytes& bytes) { bytes[EI_CLASS] = ELFCLASS32; }), "it is built for another kind of machine.");
    EXPECT_EQ(refusal([](Bytes& bytes) { put<ElfW(Half)>(bytes, offsetof(ElfW(Ehdr), e_machine), EM_S390); }),
              "it is built for another kind of machine.");
    EXPECT_EQ(refusal([](Bytes& bytes) { put<ElfW(Half)>(bytes, offsetof(ElfW(Ehdr), e_phentsize), 1); }),
              "its ELF header is damaged.");
    EXPECT_EQ(refusal([](Bytes& bytes) { put<ElfW(Off)>(bytes, offsetof(ElfW(Ehdr), e_phoff), ~ElfW(Off) { 0 }); }),
              "it is cut short: it holds " + std::to_string(plugInBytes().size())
                  + " bytes where its ELF headers call for 18446744073709551615.");
}

// The loader would wait for a writer of the pipe for ever.
TEST(SharedObjectFileTest, WhatIsNoRegularFileIsRefusedUnopened)
{
    const TemporaryFolder folder;
    const auto pipe = folder.path() / "pipe.so";
    const PipeTrap trap(pipe);
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.so");
    EXPECT_EQ(defectOf(pipe), "The file '" + pipe.string() + "' could not be read: it is a pipe, not a regular file.");
    EXPECT_EQ(defectOf(folder.path() / "zero.so"), "The file '" + (folder.path() / "zero.so").string()
                                                       + "' could not be read: it is a device, not a regular file.");
    EXPECT_FALSE(trap.wasOpened());
}

// The loader maps the loadable segments in whole pages, one after another in
// address order: a library whose second segment was moved onto the first
// stopped the loading process on the loader's own assertion.
TEST(SharedObjectFileTest, LoadableSegmentsSharingAPageOrOutOfAddressOrderAreRefused)
{
    const TemporaryFolder folder;
    const auto page = static_cast<ElfW(Addr)>(sysconf(_SC_PAGESIZE));
    // The refusal, before its details, of a copy whose first two and last two
    // loadable segments `change` rewrites.
    const auto reason = [&](auto change) {
        const auto copy = withProgramHeaders(FAKE_PLUGIN, folder.path() / "moved.so", [&](auto* first, auto* last) {
            std::vector<ElfW(Phdr)*> loadable;
            std::for_each(first, last, [&](auto& segment) {
                if (segment.p_type == PT_LOAD) loadable.push_back(&segment);
            });
            change(*loadable.at(0), *loadable.at(1), *loadable.at(loadable.size() - 2), *loadable.back());
        });
        const auto defect = defectOf(copy);
        const auto start = std::min(defect.find(": ") + 2, defect.size());
        return defect.substr(start, defect.find(": ", start) - start);
    };
    EXPECT_EQ(reason([](auto& first, auto& second, auto&, auto&) {
                  second.p_vaddr = second.p_paddr = first.p_vaddr;
              }),
              "its loadable segments overlap");
    EXPECT_EQ(reason([&](auto&, auto&, auto& before, auto& last) {
                  last.p_vaddr = last.p_paddr = before.p_vaddr + before.p_memsz;
                  EXPECT_NE(last.p_vaddr % page, 0u) << "within the last page of the one before";
              }),
              "its loadable segments overlap");
    EXPECT_EQ(reason([](auto&, auto&, auto& before, auto& last) { std::swap(before, last); }),
              "its loadable segments are out of address order");
}
