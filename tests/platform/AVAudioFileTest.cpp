#include "../dsp/SignalProbe.h"
#include "../support/PipeTrap.h"
#include "../support/SilentFlacFile.h"
#include "../support/SplitEdit.h"
#include "../support/TemporaryFolder.h"
#include "../support/WaveFile.h"

#include "AVAudioFile.h"
#include "AudioFileDecoder.h"
#include "AVError.h"
#include "M4AEncoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <numbers>

namespace {

std::vector<float> sine(std::size_t frames, double frequency, double rate)
{
    std::vector<float> samples(frames);
    for (std::size_t index = 0; index < frames; ++index)
        samples[index] = static_cast<float>(0.4 * std::sin(2.0 * std::numbers::pi * frequency * index / rate));
    return samples;
}

std::vector<float> channel(const AVAudioFile& file, AVAudioChannelCount index)
{
    const float* samples = file.pcmBuffer()->floatChannelData(index);
    return { samples, samples + file.length() };
}

// Signal to error, in decibels, of `decoded` against `source`.
double signalToError(const std::vector<float>& source, const std::vector<float>& decoded)
{
    double signal = 0.0;
    double error = 0.0;
    for (std::size_t index = 0; index < source.size(); ++index) {
        signal += source[index] * source[index];
        error += (source[index] - decoded[index]) * (source[index] - decoded[index]);
    }
    return 10.0 * std::log10(signal / error);
}

// Files of 1 s each, in the given channels and rates, joined into one;
// a tone in the last channel of each part.
URL joinedSound(const TemporaryFolder& folder, const std::string& extension,
                const std::vector<std::pair<int, int>>& parts)
{
    const auto path = folder.path() / ("joined" + extension);
    std::ofstream joined(path, std::ios::binary);
    for (const auto& [count, rate] : parts) {
        const auto frames = static_cast<std::size_t>(rate);
        std::vector<std::vector<float>> samples(static_cast<std::size_t>(count), std::vector<float>(frames));
        samples.back() = sine(frames, 1000.0, rate);
        M4AEncoder::write(folder.path() / ("part" + extension), samples, rate);
        joined << std::ifstream(folder.path() / ("part" + extension), std::ios::binary).rdbuf();
    }
    return URL::fileURL(path);
}

std::string bigEndian(std::uint32_t value)
{
    return { static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
             static_cast<char>(value) };
}

std::string box(const std::string& type, const std::string& contents)
{
    return bigEndian(static_cast<std::uint32_t>(8 + contents.size())) + type + contents;
}

// Compresses the movie header that follows a sound's media as older movie
// files held it, stating `claimed` as the size it inflates to, or its own.
void compressMovieHeader(const std::filesystem::path& path, std::uint32_t claimed = 0)
{
    std::string bytes { std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {} };
    const std::size_t movie = bytes.rfind("moov") - 4;
    const std::string header = bytes.substr(movie);
    std::string stream(compressBound(header.size()), '\0');
    uLongf length = stream.size();
    compress(reinterpret_cast<Bytef*>(stream.data()), &length, reinterpret_cast<const Bytef*>(header.data()),
             header.size());
    stream.resize(length);
    const auto size = claimed != 0 ? claimed : static_cast<std::uint32_t>(header.size());
    bytes.replace(movie, header.size(),
                  box("moov", box("cmov", box("dcom", "zlib") + box("cmvd", bigEndian(size) + stream))));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string openingError(const URL& url)
{
    try {
        AVAudioFile file(url);
    } catch (const AVError& error) {
        return error.localizedDescription();
    }
    return "";
}

} // namespace

TEST(AVAudioFileTest, LosslessFileDecodesSampleForSample)
{
    TemporaryFolder folder;
    const auto left = rampChannel(1001, 1e-3f);
    const auto right = rampChannel(1001, -1e-3f);
    writeWaveFile(folder.path() / "ramp.wav", { left, right });
    const AVAudioFile file(URL::fileURL(folder.path() / "ramp.wav"));
    EXPECT_EQ(file.length(), 1001);
    EXPECT_EQ(file.processingFormat()->sampleRate(), 48000.0);
    EXPECT_EQ(file.processingFormat()->channelCount(), 2u);
    EXPECT_EQ(channel(file, 0), left);
    EXPECT_EQ(channel(file, 1), right);
}

// The encoder primes its output with a frame of its own and pads the last
// one; a decoding that kept either would be shifted or too long.
TEST(AVAudioFileTest, EncodedFileDecodesWithoutPrimingOrPadding)
{
    TemporaryFolder folder;
    std::vector<float> source = sine(12345, 441.0, 48000.0);
    for (std::size_t index = 0; index < source.size(); ++index)
        source[index] *= static_cast<float>(index) / source.size();
    M4AEncoder::write(folder.path() / "sine.m4a", { source, source }, 48000);

    const AVAudioFile file(URL::fileURL(folder.path() / "sine.m4a"));
    ASSERT_EQ(file.length(), 12345);
    EXPECT_EQ(file.processingFormat()->channelCount(), 2u);
    EXPECT_GT(signalToError(source, channel(file, 0)), 20.0);
    EXPECT_GT(signalToError(source, channel(file, 1)), 20.0);
}

TEST(AVAudioFileTest, FileAtAnotherRateIsResampledToTheEngines)
{
    TemporaryFolder folder;
    writeWaveFile(folder.path() / "slow.wav", { sine(44100, 1000.0, 44100.0) }, 44100);
    const AVAudioFile file(URL::fileURL(folder.path() / "slow.wav"));
    EXPECT_EQ(file.processingFormat()->sampleRate(), 48000.0);
    EXPECT_NEAR(static_cast<double>(file.length()), 48000.0, 2.0);
    int crossings = 0;
    const auto samples = channel(file, 0);
    for (std::size_t index = 1; index < samples.size(); ++index)
        crossings += (samples[index - 1] < 0.0f) != (samples[index] < 0.0f);
    EXPECT_NEAR(crossings, 2000, 3) << "one second of a 1 kHz tone";
}

// One stream: 1 s at 48 kHz, then 1 s in other channels or at another rate.
// Each part is mixed and resampled into the channels the file starts with. The
// stream states no length: each part keeps its encoder's priming and padding.
TEST(AVAudioFileTest, SoundWhoseChannelsOrRateChangeMidStreamKeepsItsLengthAndContent)
{
    TemporaryFolder folder;
    // The tone of 0.4 from 1.3 s to 1.8 s: mono spread over two at 1/sqrt(2),
    // the right of two halved into one.
    for (const auto& [channels, later, laterRate, level] :
         { std::tuple { 2u, 1, 48000, 0.4 / std::numbers::sqrt2 }, { 1u, 2, 22050, 0.2 } }) {
        const AVAudioFile file(joinedSound(folder, ".aac", { { channels, 48000 }, { later, laterRate } }));
        ASSERT_EQ(file.processingFormat()->channelCount(), channels);
        ASSERT_NEAR(file.length() / 48000.0, 2.0, 0.15);
        for (AVAudioChannelCount index = 0; index < channels; ++index)
            EXPECT_NEAR(probe::level(channel(file, index), 62400, 24000, 48000, 1000), level, 0.03)
                << channels << ' ' << index;
    }
}

// The container states only the last link's end, and in the first link's
// time base.
TEST(AVAudioFileTest, ChainedOggSoundIsKeptWhole)
{
    TemporaryFolder folder;
    const auto link = AVAudioFile(joinedSound(folder, ".ogg", { { 2, 48000 } })).length();
    const auto same = AVAudioFile(joinedSound(folder, ".ogg", { { 2, 48000 }, { 2, 48000 }, { 2, 48000 } })).length();
    EXPECT_GE(same, 3 * link);
    EXPECT_LE(same, 3 * 48000);

    // The tone from 2.3 s to 2.8 s, in the last link.
    const AVAudioFile rates(joinedSound(folder, ".ogg", { { 2, 48000 }, { 2, 22050 }, { 2, 44100 } }));
    ASSERT_NEAR(rates.length() / 48000.0, 3.0, 0.15);
    EXPECT_GT(probe::level(channel(rates, 1), 110400, 24000, 48000, 1000), 0.3);
}

// Ten minutes in the engine's two channels take 230 MB. Named arrangements
// are mixed down, no louder than their loudest channel: one tone in all of
// them comes out as it went in. Channels in none are taken in order.
TEST(AVAudioFileTest, SoundOfManyChannelsDecodesToTheEnginesTwo)
{
    TemporaryFolder folder;
    const auto tone = sine(4800, 1000.0, 48000.0);
    for (const std::size_t channels : { 3, 4, 5, 6, 7, 8, 10, 16 }) {
        const bool named = channels != 10;
        std::vector<std::vector<float>> samples(channels, named ? tone : std::vector<float>(4800));
        samples[1] = tone;
        writeWaveFile(folder.path() / "many.wav", samples);
        const AVAudioFile file(URL::fileURL(folder.path() / "many.wav"));
        ASSERT_EQ(file.processingFormat()->channelCount(), 2u) << channels;
        ASSERT_EQ(file.length(), 4800) << channels;
        for (AVAudioChannelCount index = 0; index < 2; ++index) {
            const auto decoded = channel(file, index);
            const auto& expected = named || index == 1 ? tone : samples[0];
            for (std::size_t frame = 0; frame < decoded.size(); ++frame)
                ASSERT_NEAR(decoded[frame], expected[frame], 1e-6) << channels << ' ' << index << ' ' << frame;
        }
    }
}

TEST(AVAudioFileTest, WhatCannotBeDecodedIsRefusedWithItsReason)
{
    TemporaryFolder folder;
    std::ofstream(folder.path() / "noise.m4a") << "this is not a sound file";
    writeWaveFile(folder.path() / "empty.wav", { {} });
    const auto missing = openingError(URL::fileURL(folder.path() / "missing.m4a"));
    EXPECT_NE(missing.find("missing.m4a' could not be read: No such file or directory"), std::string::npos) << missing;
    EXPECT_NE(openingError(URL::fileURL(folder.path() / "noise.m4a")).find("noise.m4a' could not be read: "),
              std::string::npos);
    EXPECT_NE(openingError(URL::fileURL(folder.path() / "empty.wav")).find("it holds no samples."), std::string::npos);
    EXPECT_EQ(openingError(*URL::string("https://example.invalid/1.m4a")),
              "Only file URLs can be opened, not 'https://example.invalid/1.m4a'.");
}

// Each would wait for ever, or be read without end, if it were opened by name.
TEST(AVAudioFileTest, OnlyRegularFilesAreReadAndNothingTheyNameIsOpened)
{
    TemporaryFolder folder;
    const auto path = [&](const char* name) { return folder.path() / name; };
    const PipeTrap pipe(path("pipe.m4a"));
    const PipeTrap segment(path("segment.wav"));
    std::filesystem::create_symlink("/dev/zero", path("zero.m4a"));
    std::filesystem::create_directory(path("folder.m4a"));
    std::ofstream(path("list.m4a")) << "#EXTM3U\n#EXT-X-TARGETDURATION:4\n#EXTINF:4,\nsegment.wav\n#EXT-X-ENDLIST\n";

    for (const auto& [name, reason] : std::vector<std::pair<const char*, std::string>> {
             { "pipe.m4a", "it is a pipe" }, { "zero.m4a", "it is a device" }, { "folder.m4a", "it is a folder" } })
        EXPECT_EQ(openingError(URL::fileURL(path(name))),
                  "The file '" + path(name).string() + "' could not be read: " + reason + ", not a regular file.");
    EXPECT_NE(openingError(URL::fileURL(path("list.m4a"))), "");
    EXPECT_FALSE(pipe.wasOpened());
    EXPECT_FALSE(segment.wasOpened());
}

TEST(AVAudioFileTest, SoundsLongerThanTenMinutesAreRefused)
{
    TemporaryFolder folder;
    constexpr std::int64_t tenMinutes = 10 * 60 * 48000;
    writeSilentFlacFile(folder.path() / "long.flac", tenMinutes + 4800, 48000);
    writeSilentFlacFile(folder.path() / "short.flac", tenMinutes - 4800, 48000);
    EXPECT_EQ(openingError(URL::fileURL(folder.path() / "long.flac")),
              "The audio file '" + (folder.path() / "long.flac").string()
                  + "' could not be read: it lasts longer than 10 minutes.");

    const AVAudioFile file(URL::fileURL(folder.path() / "short.flac"));
    EXPECT_EQ(file.length(), tenMinutes - 4800);
    const float* samples = file.pcmBuffer()->floatChannelData(0);
    EXPECT_EQ(std::count(samples, samples + file.length(), 0.0f), file.length());
}

// Past any sound's rate the resampler would build a filter of gigabytes.
// The input's work is bounded by the output's length: at 100 Hz, ten minutes
// allow 16 * 60 000 input samples, 20 s of mono at 48 kHz.
TEST(AVAudioFileTest, InputPastAnySoundsIsRefused)
{
    TemporaryFolder folder;
    const auto path = [&](const char* name) { return folder.path() / name; };
    writeWaveFile(path("fast.wav"), { rampChannel(7680, 1e-4f) }, 768000);
    writeWaveFile(path("faster.wav"), { rampChannel(100, 1e-3f) }, 768001);
    EXPECT_EQ(AVAudioFile(URL::fileURL(path("fast.wav"))).length(), 480);
    EXPECT_EQ(openingError(URL::fileURL(path("faster.wav"))),
              "The audio file '" + path("faster.wav").string()
                  + "' could not be read: its audio is at 768001 Hz; rates of 1 to 768000 Hz are supported.");

    writeSilentFlacFile(path("full.flac"), 20 * 48000, 48000);
    writeSilentFlacFile(path("over.flac"), 20 * 48000 + 1, 48000);
    EXPECT_NEAR(AudioFileDecoder::decode(path("full.flac"), 100.0, 1)->frameLength(), 2000, 1);
    try {
        AudioFileDecoder::decode(path("over.flac"), 100.0, 1);
        ADD_FAILURE() << "over.flac was decoded";
    } catch (const AVError& error) {
        EXPECT_EQ(error.localizedDescription(),
                  "The audio file '" + path("over.flac").string()
                      + "' could not be read: it holds more samples than 10 minutes of 8 channels at 200 Hz.");
    }
}

// The demuxer indexes the sound once more for each edit: a hundred thousand
// of them took gigabytes while the file was opened.
TEST(AVAudioFileTest, EditListsOfAFewEditsAreHonouredAndLongerOnesRefused)
{
    TemporaryFolder folder;
    const auto path = folder.path() / "edits.m4a";
    for (const std::uint32_t count : { 16u, 17u }) {
        M4AEncoder::write(path, { sine(4800, 1000.0, 48000.0) }, 48000);
        splitEdit(path, count);
        if (count == 16)
            EXPECT_EQ(AVAudioFile(URL::fileURL(path)).length(), 4800);
        else
            EXPECT_EQ(openingError(URL::fileURL(path)),
                      "The audio file '" + path.string()
                          + "' could not be read: its edit list holds more than 16 edits.");
    }
}

// The demuxer reads a "wave" box's contents twice over, from its start and
// past its first child: nested eight deep, 80 000 boxes are read over four
// million times.
TEST(AVAudioFileTest, BoxesReadTwiceAtEachLevelAreRefused)
{
    std::string nested;
    for (int leaf = 0; leaf < 80000; ++leaf)
        nested += box("abcd", "");
    for (int level = 0; level < 8; ++level)
        nested = box("wave", nested);
    TemporaryFolder folder;
    const auto path = folder.path() / "nested.m4a";
    std::ofstream(path, std::ios::binary) << box("ftyp", std::string("M4A \0\0\0\0M4A isom", 16))
                                          << box("moov", box("trak", nested));
    EXPECT_EQ(openingError(URL::fileURL(path)),
              "The audio file '" + path.string() + "' could not be read: its boxes nest and repeat past any sound's.");
}

// A compressed movie header is read as the demuxer inflates it, so that an
// edit list hides in it no more than in a plain one. Boxes read twice at each
// level cost the reading that reaches them: ten levels of a hundred boxes
// 64 KiB apart stay within the bound on boxes read, but had the file read
// nine thousand times over, and meta boxes searched each just past the input's
// buffer had it read eighty times over uncharged. Reading the file once costs
// nothing: a long sound cut in small fragments was refused past 256 MiB.
TEST(AVAudioFileTest, TheEditListScanIsBoundedWhereverTheBoxesLie)
{
    TemporaryFolder folder;
    const auto path = [&](const char* name) { return folder.path() / name; };
    const auto refused = [&](const char* name, const std::string& reason) {
        EXPECT_EQ(openingError(URL::fileURL(path(name))),
                  "The audio file '" + path(name).string() + "' could not be read: " + reason);
    };
    M4AEncoder::write(path("plain.m4a"), { sine(4800, 1000.0, 48000.0) }, 48000);
    for (const char* name : { "far.m4a", "metas.m4a", "compressed.m4a", "edits.m4a", "claiming.m4a", "long.m4a" })
        std::filesystem::copy_file(path("plain.m4a"), path(name));
    auto size = std::filesystem::file_size(path("long.m4a"));
    for (std::fstream fragments(path("long.m4a"), std::ios::binary | std::ios::in | std::ios::out);
         size < (std::uintmax_t { 270 } << 20); size += 65536)
        fragments.seekp(static_cast<std::streamoff>(size)) << bigEndian(65536) + "skip";
    std::filesystem::resize_file(path("long.m4a"), size);
    EXPECT_EQ(AVAudioFile(URL::fileURL(path("long.m4a"))).length(), 4800);
    std::string far;
    for (int leaf = 0; leaf < 100; ++leaf)
        far += box("skip", std::string(65528, '\0'));
    for (int level = 0; level < 10; ++level)
        far = box("wave", far);
    std::ofstream(path("far.m4a"), std::ios::binary | std::ios::app) << far;
    refused("far.m4a", "its boxes nest and repeat past any sound's.");
    const auto meta = [](std::size_t size) {
        return box("meta", std::string(4, '\0') + "hdlr" + std::string(size - 16, '\0'));
    };
    std::string metas = box("abcd", std::string((1 << 20) - 8, '\0')) + meta(65528);
    for (int leaf = 0; leaf < 100; ++leaf)
        metas += meta(65536);
    for (int level = 0; level < 10; ++level)
        metas = box("wave", metas);
    std::ofstream(path("metas.m4a"), std::ios::binary | std::ios::app) << metas;
    refused("metas.m4a", "its boxes nest and repeat past any sound's.");

    compressMovieHeader(path("compressed.m4a"));
    EXPECT_EQ(channel(AVAudioFile(URL::fileURL(path("compressed.m4a"))), 0),
              channel(AVAudioFile(URL::fileURL(path("plain.m4a"))), 0));
    splitEdit(path("edits.m4a"), 100000);
    compressMovieHeader(path("edits.m4a"));
    refused("edits.m4a", "its edit list holds more than 16 edits.");
    compressMovieHeader(path("claiming.m4a"), (16u << 20) + 1);
    refused("claiming.m4a", "its compressed movie header is damaged or larger than 16 MiB.");
}

// Tags hold a cover picture after the handler that the demuxer looks for:
// one of 5 MB had a real sound refused.
TEST(AVAudioFileTest, SoundWithALargePictureIsDecoded)
{
    TemporaryFolder folder;
    const auto path = folder.path() / "tagged.m4a";
    M4AEncoder::write(path, { sine(4800, 1000.0, 48000.0) }, 48000);
    std::string bytes { std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {} };
    const std::size_t movie = bytes.rfind("moov") - 4;
    bytes += box("udta", box("meta", std::string(4, '\0') + box("hdlr", std::string(25, '\0'))
                                         + box("ilst", box("covr", box("data", std::string(5'000'000, '\0'))))));
    bytes.replace(movie, 4, bigEndian(static_cast<std::uint32_t>(bytes.size() - movie)));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(AVAudioFile(URL::fileURL(path)).length(), 4800);
}

TEST(AVAudioFileTest, SamplesThatAreNotFiniteDecodeAsZero)
{
    TemporaryFolder folder;
    auto left = rampChannel(1000, 1e-3f);
    auto right = rampChannel(1000, -1e-3f);
    const std::vector<float> original = left;
    left[10] = std::numeric_limits<float>::quiet_NaN();
    left[20] = std::numeric_limits<float>::infinity();
    right[30] = -std::numeric_limits<float>::infinity();
    writeWaveFile(folder.path() / "same.wav", { left, right });
    writeWaveFile(folder.path() / "other.wav", { left, right }, 44100);

    const AVAudioFile same(URL::fileURL(folder.path() / "same.wav"));
    auto expectedLeft = original;
    expectedLeft[10] = expectedLeft[20] = 0.0f;
    auto expectedRight = rampChannel(1000, -1e-3f);
    expectedRight[30] = 0.0f;
    EXPECT_EQ(channel(same, 0), expectedLeft);
    EXPECT_EQ(channel(same, 1), expectedRight);

    // Resampling spreads a sample over its neighbours.
    const AVAudioFile other(URL::fileURL(folder.path() / "other.wav"));
    for (AVAudioChannelCount index = 0; index < 2; ++index) {
        const auto samples = channel(other, index);
        EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](float sample) { return std::isfinite(sample); }));
    }
}
