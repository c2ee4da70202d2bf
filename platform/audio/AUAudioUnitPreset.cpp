#include "AUAudioUnitPreset.h"

#include <utility>

AUAudioUnitPreset::AUAudioUnitPreset(std::int64_t number, std::string name)
    : number_(number)
    , name_(std::move(name))
{
}
