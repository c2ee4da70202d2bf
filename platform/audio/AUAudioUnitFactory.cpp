#include "AUAudioUnitFactory.h"

AUAudioUnitFactory::~AUAudioUnitFactory() = default;
