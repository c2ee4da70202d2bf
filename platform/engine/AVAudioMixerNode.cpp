#include "AVAudioMixerNode.h"

#include "AVAudioEngine.h"

void AVAudioMixerNode::render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output)
{
    renderingEngine()->mixInputs(*this, timestamp, frames, output);
}
