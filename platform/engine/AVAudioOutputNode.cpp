#include "AVAudioOutputNode.h"

#include "AVAudioEngine.h"

void AVAudioOutputNode::render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output)
{
    renderingEngine()->mixInputs(*this, timestamp, frames, output);
}
