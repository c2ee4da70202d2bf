#include "../support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <memory>
#include <string>

// The application bundle is self-contained: a copy of it elsewhere runs its
// own platform library, not the one of the build. This test program links no
// part of the platform, so whatever the copy loads comes from the copy.
namespace {

const std::string kApplication = "ZUV_VELMORA_Quillmere";
const std::string kPlugIn = "PlugIns/ZUV_VELMORA_Quillmere_Extension.appex/ZUV_VELMORA_Quillmere_Extension.so";

class BundleLayoutTest : public ::testing::Test {
protected:
    BundleLayoutTest()
    {
        std::filesystem::copy(VELMORA_APP_BUNDLE, bundle, std::filesystem::copy_options::recursive);
    }

    // The platform library file that the dynamic loader would load for
    // `executable`, from the list it prints instead of running the program.
    static std::filesystem::path platformLibraryOf(const std::filesystem::path& executable)
    {
        const std::string command = "LD_TRACE_LOADED_OBJECTS=1 '" + executable.string() + "'";
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

    std::filesystem::path platformLibrary() const
    {
        return std::filesystem::weakly_canonical(bundle / "lib" / "libplatform.so");
    }

    TemporaryFolder folder;
    const std::filesystem::path bundle = folder.path() / "Moved.app";
};

} // namespace

TEST_F(BundleLayoutTest, TheCopiedApplicationFindsThePlatformLibraryInItsOwnLibFolder)
{
    ASSERT_TRUE(std::filesystem::is_regular_file(platformLibrary()));
    EXPECT_EQ(platformLibraryOf(bundle / kApplication), platformLibrary());
}

TEST_F(BundleLayoutTest, TheCopiedPlugInLoadsThePlatformLibraryOfTheCopy)
{
    void* plugIn = dlopen((bundle / kPlugIn).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(plugIn, nullptr) << dlerror();
    link_map* map = nullptr;
    ASSERT_EQ(dlinfo(plugIn, RTLD_DI_LINKMAP, &map), 0);
    while (map->l_prev) {
        map = map->l_prev;
    }
    std::filesystem::path platform;
    for (; map; map = map->l_next) {
        if (std::filesystem::path(map->l_name).filename() == "libplatform.so") {
            platform = std::filesystem::weakly_canonical(map->l_name);
        }
    }
    EXPECT_EQ(platform, platformLibrary());
}
