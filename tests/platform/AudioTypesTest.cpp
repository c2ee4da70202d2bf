#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "AUAudioUnitBus.h"
#include "AVAudioFormat.h"
#include "AVAudioPCMBuffer.h"

TEST(AVAudioFormatTest, StandardFormatRefusesUnusableRatesAndChannelCounts)
{
    const auto format = AVAudioFormat::standardFormat(48000.0, 2);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->sampleRate(), 48000.0);
    EXPECT_EQ(format->channelCount(), 2u);

    EXPECT_EQ(AVAudioFormat::standardFormat(48000.0, 0), nullptr);
    EXPECT_EQ(AVAudioFormat::standardFormat(48000.0, AudioBufferList::kMaxBuffers + 1), nullptr);
    EXPECT_NE(AVAudioFormat::standardFormat(48000.0, AudioBufferList::kMaxBuffers), nullptr);
    EXPECT_EQ(AVAudioFormat::standardFormat(0.0, 2), nullptr);
    EXPECT_EQ(AVAudioFormat::standardFormat(std::numeric_limits<double>::quiet_NaN(), 2), nullptr);
    EXPECT_EQ(AVAudioFormat::standardFormat(std::numeric_limits<double>::infinity(), 2), nullptr);
}

TEST(AVAudioPCMBufferTest, ChannelsAreAlignedZeroedAndDescribedByBothLists)
{
    const auto buffer = AVAudioPCMBuffer::make(AVAudioFormat::standardFormat(44100.0, 3), 1001);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->frameCapacity(), 1001u);
    EXPECT_EQ(buffer->format()->sampleRate(), 44100.0);

    const AudioBufferList* list = buffer->audioBufferList();
    ASSERT_EQ(list->mNumberBuffers, 3u);
    for (std::uint32_t c = 0; c < 3; ++c) {
        const AudioBuffer& channel = list->mBuffers[c];
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(channel.mData) % 16, 0u);
        EXPECT_EQ(channel.mDataByteSize, 1001u * 4u);
        EXPECT_EQ(channel.mNumberChannels, 1u);
        const float* samples = static_cast<const float*>(channel.mData);
        for (int i = 0; i < 1001; ++i)
            ASSERT_EQ(samples[i], 0.0f);
        if (c > 0) { // channels do not overlap
            EXPECT_GE(static_cast<const char*>(channel.mData) - static_cast<const char*>(list->mBuffers[c - 1].mData),
                      1001 * 4);
        }
    }

    AudioBufferList* mutableList = buffer->mutableAudioBufferList();
    EXPECT_EQ(mutableList->mBuffers[1].mData, list->mBuffers[1].mData);
    mutableList->mNumberBuffers = 1;
    mutableList->mBuffers[0].mData = nullptr;
    EXPECT_EQ(list->mNumberBuffers, 3u) << "the constant list keeps describing the buffer's own memory";
    EXPECT_NE(list->mBuffers[0].mData, nullptr);
    EXPECT_EQ(buffer->floatChannelData(2), list->mBuffers[2].mData);
    EXPECT_EQ(buffer->floatChannelData(3), nullptr);

    EXPECT_EQ(buffer->frameLength(), 0u);
    EXPECT_FALSE(buffer->setFrameLength(1002));
    EXPECT_TRUE(buffer->setFrameLength(1001));
    EXPECT_EQ(buffer->frameLength(), 1001u);

    const auto format = AVAudioFormat::standardFormat(48000.0, 2);
    EXPECT_EQ(AVAudioPCMBuffer::make(nullptr, 512), nullptr);
    EXPECT_EQ(AVAudioPCMBuffer::make(format, 0), nullptr);
    EXPECT_EQ(AVAudioPCMBuffer::make(format, std::numeric_limits<std::uint32_t>::max()), nullptr);
}

TEST(AUAudioUnitBusTest, KeepsItsFormatUnlessTheNewOneFits)
{
    EXPECT_EQ(AUAudioUnitBus::make(nullptr), nullptr);
    const auto stereo = AVAudioFormat::standardFormat(48000.0, 2);
    const auto bus = AUAudioUnitBus::make(stereo);
    ASSERT_NE(bus, nullptr);
    bus->setMaximumChannelCount(2);
    EXPECT_EQ(bus->maximumChannelCount(), 2u);
    EXPECT_FALSE(bus->setFormat(AVAudioFormat::standardFormat(48000.0, 4)));
    EXPECT_FALSE(bus->setFormat(nullptr));
    EXPECT_EQ(bus->format(), stereo);
    EXPECT_TRUE(bus->setFormat(AVAudioFormat::standardFormat(96000.0, 1)));
    EXPECT_EQ(bus->format()->sampleRate(), 96000.0);
}

