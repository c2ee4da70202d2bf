#include "../support/TemporaryFolder.h"
#include "AUParameterTree.h"
#include "Console.h"
#include "PresetDelegateRecorder.h"
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

using Dictionary = PropertyListValue::Dictionary;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;
using testing::UnorderedElementsAreArray;

namespace {

// Values that a careless text form of reals would not bring back exactly.
const std::vector<float> kAwkwardValues { 0.1f, 1.0f / 3.0f, -0.5f, 1.0e-45f, 1.17549435e-38f, 3.40282347e38f,
    16777217.0f, -2.5e-7f, 0.5f };

std::shared_ptr<AUParameterTree> makeTree()
{
    std::vector<std::shared_ptr<AUParameterNode>> globals;
    std::vector<std::shared_ptr<AUParameterNode>> bands;
    for (std::size_t index = 0; index < kAwkwardValues.size(); ++index) {
        auto parameter = AUParameterTree::createParameter("kBand" + std::to_string(index), "Band",
            1000 + index, -1.0e38f, 1.0e38f, AudioUnitParameterUnit::generic, std::nullopt,
            kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable, std::nullopt);
        parameter->setValue(kAwkwardValues[index]);
        (index < 2 ? globals : bands).push_back(parameter);
    }
    return AUParameterTree::createTree({ AUParameterTree::createGroup("kGlobalParameters", "Globals", globals),
        AUParameterTree::createGroup("kLinkedParameters", "Bands", bands) });
}

std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    if (pipe) {
        pclose(pipe);
    }
    return output;
}

void writeText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string readText(const std::filesystem::path& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

URL fileURL(const std::filesystem::path& path) { return URL::fileURL(path); }

class PresetFileTest : public testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path file = folder.path() / "Warm Pad.velmora";
};

} // namespace

TEST_F(PresetFileTest, SavedFileLoadsBackBitExactThroughTheDelegate)
{
    ZUVPreset captured;
    captured.makeFrom(makeTree().get());
    captured.save(fileURL(file));

    PresetDelegateRecorder fromDictionary;
    ZUVPreset().makeFrom(captured.getDictionary(), &fromDictionary);
    PresetDelegateRecorder fromFile;
    ZUVPreset loaded;
    EXPECT_TRUE(loaded.load(fileURL(file), &fromFile));

    std::vector<PresetDelegateRecorder::Call> expected;
    for (std::size_t index = 0; index < kAwkwardValues.size(); ++index) {
        expected.push_back(PresetDelegateRecorder::call(0, "kBand" + std::to_string(index), 1000 + index,
            kAwkwardValues[index]));
    }
    EXPECT_THAT(fromFile.calls, UnorderedElementsAreArray(expected));
    EXPECT_THAT(fromDictionary.calls, UnorderedElementsAreArray(expected));
    EXPECT_EQ(loaded.getDictionary(), captured.getDictionary());
}

TEST_F(PresetFileTest, TheEffectsWholeTreeComesBackThroughAFile)
{
    const ZUV_VELMORA_Quillmere_Extension_Parameters parameters(
        std::make_shared<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>());
    const auto& tree = *parameters.parameterTree();
    std::vector<PresetDelegateRecorder::Call> expected;
    for (const auto& parameter : tree.allParameters()) {
        if (parameter->address() >= 1000) {
            parameter->setValue(static_cast<float>(parameter->address() % 997) / 997.0f);
        }
        expected.push_back(
            PresetDelegateRecorder::call(0, parameter->identifier(), parameter->address(), parameter->value()));
    }
    ASSERT_EQ(expected.size(), 652u);

    ZUVPreset captured;
    captured.makeFrom(&tree);
    captured.save(fileURL(file));
    PresetDelegateRecorder delegate;
    EXPECT_TRUE(ZUVPreset().load(fileURL(file), &delegate));
    EXPECT_THAT(delegate.calls, UnorderedElementsAreArray(expected));
}

TEST_F(PresetFileTest, SavedFileIsAnXMLPropertyListForAnIndependentReader)
{
    ZUVPreset captured;
    captured.makeFrom(makeTree().get());
    captured.save(fileURL(file));

    const std::string script = R"(
import plistlib, struct, sys
data = open(sys.argv[1], 'rb').read()
d = plistlib.loads(data, fmt=plistlib.FMT_XML)
print(data.startswith(b'<?xml version="1.0" encoding="UTF-8"?>'), sorted(d))
print(d['version'], d['type'], d['manufacturer'], d['subtype'], d['number'], d['name'], d['count'])
for g in range(d['count']):
    group = d['group %d' % g]
    print(group['identifier'], group['count'], sorted(group))
    for p in range(group['count']):
        param = group['param %d' % p]
        v = param['value']
        exact = struct.unpack('>f', struct.pack('>f', v))[0] == v
        print(type(param['address']).__name__, param['address'], param['identifier'], type(v).__name__, exact,
              struct.pack('>f', v).hex(), sorted(param))
)";
    const auto scriptFile = folder.path() / "read.py";
    writeText(scriptFile, script);

    std::ostringstream expected;
    expected << "True ['count', 'group 0', 'group 1', 'manufacturer', 'name', 'number', 'subtype', 'type', "
                "'version']\n"
             << "1 1635085670 1515540043 1801613943 0 ZUV VELMORA Quillmere Preset 2\n";
    for (std::size_t index = 0; index < kAwkwardValues.size(); ++index) {
        if (index == 0 || index == 2) {
            const std::size_t count = index == 0 ? 2 : kAwkwardValues.size() - 2;
            expected << (index == 0 ? "kGlobalParameters " : "kLinkedParameters ") << count << " ['count', "
                     << "'identifier'";
            for (std::size_t param = 0; param < count; ++param) {
                expected << ", 'param " << param << "'";
            }
            expected << "]\n";
        }
        expected << "int " << 1000 + index << " kBand" << index << " float True " << std::hex << std::setw(8)
                 << std::setfill('0') << std::bit_cast<std::uint32_t>(kAwkwardValues[index]) << std::dec
                 << " ['address', 'identifier', 'value']\n";
    }
    EXPECT_EQ(run("python3 '" + scriptFile.string() + "' '" + file.string() + "' 2>&1"), expected.str());
}

TEST_F(PresetFileTest, FilesThatAreNotPresetDictionariesApplyNothing)
{
    ZUVPreset preset;
    preset.makeFrom(makeTree().get());
    const Dictionary before = preset.getDictionary();
    PresetDelegateRecorder delegate;

    writeText(file, "this is no property list");
    {
        Console::Capture capture;
        EXPECT_FALSE(preset.load(fileURL(file), &delegate));
        EXPECT_THAT(capture.lines(),
            ElementsAre(AllOf(StartsWith("AUPresetFile::FEHLER: Die Datei konnte nicht eingelesen werden: "),
                HasSubstr(", Format: 100"))));
    }
    writeText(file, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><integer>1</integer></array></plist>)");
    {
        Console::Capture capture;
        EXPECT_FALSE(preset.load(fileURL(file), &delegate));
        EXPECT_THAT(capture.lines(), ElementsAre("AUPresetFile::ERROR: The file " + file.string()
                                         + " does not hold a dictionary."));
    }
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    {
        Console::Capture capture;
        EXPECT_FALSE(preset.load(fileURL(file), &delegate));
        EXPECT_THAT(capture.lines(), ElementsAre("AUPresetFile::ERROR: The file " + file.string()
                                         + " could not be read."));
    }
    const auto missing = folder.path() / "gone.velmora";
    {
        Console::Capture capture;
        EXPECT_FALSE(preset.load(fileURL(missing), &delegate));
        EXPECT_THAT(capture.lines(), ElementsAre("AUPresetFile::ERROR: The path " + missing.string()
                                         + " does not exist."));
    }
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_EQ(preset.getDictionary(), before);
}

TEST_F(PresetFileTest, HandWrittenFileSkipsUnsafeValuesAndAppliesTheRest)
{
    writeText(file, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>group 0</key>
  <dict>
    <key>identifier</key><string>kGlobalParameters</string>
    <key>param 0</key><dict><key>address</key><integer>101</integer><key>value</key><real>0.25</real></dict>
    <key>param 1</key><dict><key>address</key><integer>102</integer><key>value</key><real>nan</real></dict>
    <key>param 2</key><dict><key>address</key><integer>103</integer><key>value</key><string>2</string></dict>
    <key>param 3</key><dict><key>address</key><integer>104</integer></dict>
  </dict>
</dict>
</plist>
)");
    Console::Capture capture;
    PresetDelegateRecorder delegate;
    EXPECT_TRUE(ZUVPreset().load(fileURL(file), &delegate));
    using R = PresetDelegateRecorder;
    EXPECT_THAT(delegate.calls, ElementsAre(R::call(0, "parameter", 101, 0.25f), R::call(0, "parameter", 104, 0.0f)));
    EXPECT_EQ(capture.lines().size(), 2u);
}

TEST_F(PresetFileTest, FailedWritesAreReportedAndKeepTheOldFile)
{
    ZUVPreset preset;
    preset.patch().name = std::string("bad\0name", 8);
    writeText(file, "old content");
    {
        Console::Capture capture;
        preset.save(fileURL(file));
        EXPECT_THAT(capture.lines(), ElementsAre("PresetPatch::FEHLER: Die Daten konnten nicht serialisiert werden."));
    }
    EXPECT_EQ(readText(file), "old content");

    Console::Capture capture;
    ZUVPreset().save(fileURL(folder.path() / "missing folder" / "x.velmora"));
    EXPECT_THAT(capture.lines(), ElementsAre(StartsWith("PresetPatch::FEHLER: Die Daten konnten nicht gespeichert "
                                                        "werden. (")));
    EXPECT_THAT(capture.lines()[0], testing::EndsWith(")"));
}
