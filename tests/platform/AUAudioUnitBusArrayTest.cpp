#include "AUAudioUnitBusArray.h"

#include <gtest/gtest.h>

TEST(AUAudioUnitBusArrayTest, HoldsItsBussesInOrderAndNothingBeyond)
{
    const auto first = AUAudioUnitBus::make(AVAudioFormat::standardFormat(48000.0, 2));
    const auto second = AUAudioUnitBus::make(AVAudioFormat::standardFormat(44100.0, 1));
    const AUAudioUnitBusArray array(AUAudioUnitBusType::output, { first, second });
    EXPECT_EQ(array.busType(), AUAudioUnitBusType::output);
    EXPECT_EQ(array.count(), 2u);
    EXPECT_EQ(array[0], first);
    EXPECT_EQ(array[1], second);
    EXPECT_EQ(array[2], nullptr);
}
