#include "../support/TemporaryFolder.h"

#include "Console.h"
#include "AudioUnitTestSupport.h"
#include "ZUVPreset.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"
#include "ZUV_VELMORA_Quillmere_Extension_Parameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>

using testing::ElementsAre;
using testing::EndsWith;
using testing::StartsWith;
using testing::UnorderedElementsAreArray;

namespace {

// Reports what Python's own property-list reader finds in a file: the header,
// then per group its identifier and count, then per parameter its types,
// address, identifier and the value's 32-bit pattern (and whether the value
// is exactly a 32-bit float).
constexpr const char* kReader = R"(
import plistlib, struct, sys
data = open(sys.argv[1], 'rb').read()
d = plistlib.loads(data, fmt=plistlib.FMT_XML)
print(data.startswith(b'<?xml version="1.0" encoding="UTF-8"?>'), sorted(k for k in d if not k.startswith('group ')),
      d['version'], d['type'], d['manufacturer'], d['subtype'], d['number'], d['name'], d['count'], len(d))
for g in range(d['count']):
    group = d['group %d' % g]
    print(group['identifier'], group['count'], len(group))
    for p in range(group['count']):
        param = group['param %d' % p]
        v = param['value']
        print(sorted(param), type(param['address']).__name__, param['address'], param['identifier'], type(v).__name__,
              struct.unpack('>f', struct.pack('>f', v))[0] == v, struct.pack('>f', v).hex())
)";

std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        output += static_cast<char>(c);
    if (pipe)
        pclose(pipe);
    return output;
}

class PresetFileTest : public testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path file = folder.path() / "Warm Pad.velmora";
    URL url = URL::fileURL(file);
};

} // namespace

TEST_F(PresetFileTest, TheWholeTreeComesBackBitExactAndAnIndependentReaderAgrees)
{
    const ZUV_VELMORA_Quillmere_Extension_Parameters parameters(
        std::make_shared<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>());
    const auto& tree = *parameters.parameterTree();
    // Values a careless text form of reals would not bring back exactly.
    const float awkward[] { 0.1f, 1.0f / 3.0f, 1.0e-45f, 1.17549435e-38f, 0.99999994f, 2.5e-7f };
    std::vector<PresetDelegateRecorder::Call> expectedCalls;
    std::ostringstream expectedText;
    expectedText << "True ['count', 'manufacturer', 'name', 'number', 'subtype', 'type', 'version'] "
                 << "1 1635085670 1515540043 1801613943 0 ZUV VELMORA Quillmere Preset 6 13\n";
    for (const auto& child : tree.children()) {
        const auto& group = dynamic_cast<const AUParameterGroup&>(*child);
        const auto groupParameters = group.allParameters();
        const auto count = groupParameters.size();
        expectedText << group.identifier() << ' ' << count << ' ' << count + 2 << '\n';
        for (const auto& parameter : groupParameters) {
            const auto address = parameter->address();
            if (address >= 1000) {
                parameter->setValue(
                    address < 1006 ? awkward[address - 1000] : static_cast<float>(address % 997) / 997.0f);
            }
            const float value = parameter->value();
            expectedCalls.push_back(PresetDelegateRecorder::call(0, parameter->identifier(), address, value));
            expectedText << "['address', 'identifier', 'value'] int " << address << ' ' << parameter->identifier()
                         << " float True " << std::hex << std::setw(8) << std::setfill('0')
                         << std::bit_cast<std::uint32_t>(value) << std::dec << '\n';
        }
    }
    ASSERT_EQ(expectedCalls.size(), 652u);

    ZUVPreset captured;
    captured.makeFrom(&tree);
    captured.save(url);
    PresetDelegateRecorder delegate;
    EXPECT_TRUE(ZUVPreset().load(url, &delegate));
    EXPECT_THAT(delegate.calls, UnorderedElementsAreArray(expectedCalls));

    const auto script = folder.path() / "read.py";
    std::ofstream(script) << kReader;
    EXPECT_EQ(run("python3 '" + script.string() + "' '" + file.string() + "' 2>&1"), expectedText.str());
}

TEST_F(PresetFileTest, FilesThatAreNotPresetDictionariesApplyNothing)
{
    ZUVPreset preset;
    preset.makeFrom(PropertyListValue::Dictionary { { "group 0", PropertyListValue::Dictionary {} } }, nullptr);
    const auto before = preset.getDictionary();
    PresetDelegateRecorder delegate;
    const auto load = [&] {
        Console::Capture capture;
        EXPECT_FALSE(preset.load(url, &delegate));
        return capture.lines();
    };

    std::ofstream(file) << "this is no property list";
    EXPECT_THAT(load(),
        ElementsAre(AllOf(StartsWith("AUPresetFile::FEHLER: Die Datei konnte nicht eingelesen werden: "),
            EndsWith(", Format: 100"))));
    std::ofstream(file) << R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array/></plist>)";
    EXPECT_THAT(load(), ElementsAre("AUPresetFile::ERROR: The file " + file.string() + " does not hold a dictionary."));
    std::filesystem::remove(file);
    EXPECT_THAT(load(), ElementsAre("AUPresetFile::ERROR: The path " + file.string() + " does not exist."));
    std::filesystem::create_directory(file);
    EXPECT_THAT(load(), ElementsAre("AUPresetFile::ERROR: The file '" + file.string()
        + "' could not be read: it is a folder, not a regular file."));
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_EQ(preset.getDictionary(), before);
}

TEST_F(PresetFileTest, FailedWritesAreReportedAndKeepTheOldFile)
{
    ZUVPreset preset;
    preset.patch().name = std::string("bad\0name", 8);
    std::ofstream(file) << "old content";
    Console::Capture capture;
    preset.save(url);
    std::string kept;
    std::getline(std::ifstream(file), kept);
    EXPECT_EQ(kept, "old content");
    ZUVPreset().save(URL::fileURL(folder.path() / "missing folder" / "x.velmora"));
    EXPECT_THAT(capture.lines(),
        ElementsAre("PresetPatch::FEHLER: Die Daten konnten nicht serialisiert werden.",
            AllOf(StartsWith("PresetPatch::FEHLER: Die Daten konnten nicht gespeichert werden. ("), EndsWith(")"))));
}
