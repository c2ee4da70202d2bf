#include "../support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <link.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The dynamic loader this test program runs under, as its program header names it.
std::string interpreter()
{
    std::string path;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            for (int index = 0; index < info->dlpi_phnum; ++index) {
                if (info->dlpi_phdr[index].p_type == PT_INTERP) {
                    *static_cast<std::string*>(found) =
                        reinterpret_cast<const char*>(info->dlpi_addr + info->dlpi_phdr[index].p_vaddr);
                    return 1;
                }
            }
            return 0;
        },
        &path);
    return path;
}

// The platform library file that the dynamic loader loads for `object` (a
// program or a shared object), from the list it prints instead of running it.
std::filesystem::path platformLibraryOf(const std::filesystem::path& object)
{
    const std::string command = "LD_TRACE_LOADED_OBJECTS=1 '" + interpreter() + "' '" + object.string() + "'";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    const std::string prefix = "libplatform.so => ";
    char buffer[1024];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get())) {
        const std::string line = buffer;
        if (const auto start = line.find(prefix); start != std::string::npos) {
            const auto path = start + prefix.size();
            return std::filesystem::weakly_canonical(line.substr(path, line.find(" (", path) - path));
        }
    }
    return {};
}

} // namespace

// The application bundle is self-contained: a copy of it elsewhere uses its
// own platform library, not the one of the build.
TEST(BundleLayoutTest, ACopiedApplicationAndItsPlugInLoadThePlatformLibraryOfTheCopy)
{
    const TemporaryFolder folder;
    const auto bundle = folder.path() / "Moved.app";
    std::filesystem::copy(VELMORA_APP_BUNDLE, bundle, std::filesystem::copy_options::recursive);
    const auto platform = std::filesystem::weakly_canonical(bundle / "lib" / "libplatform.so");
    ASSERT_TRUE(std::filesystem::is_regular_file(platform));
    EXPECT_EQ(platformLibraryOf(bundle / "ZUV_VELMORA_Quillmere"), platform);
    EXPECT_EQ(platformLibraryOf(bundle / "PlugIns/ZUV_VELMORA_Quillmere_Extension.appex/ZUV_VELMORA_Quillmere_Extension.so"),
              platform);
}
