#include "AVAudioFile.h"

#include "AVError.h"
#include "AudioEngineConstants.h"
#include "AudioFileDecoder.h"

namespace {

std::shared_ptr<const AVAudioPCMBuffer> decode(const URL& url)
{
    if (!url.isFileURL())
        throw AVError("Only file URLs can be opened, not '" + url.absoluteString() + "'.");
    return AudioFileDecoder::decode(url.path(), kAudioEngineSampleRate, kAudioEngineChannels);
}

} // namespace

AVAudioFile::AVAudioFile(const URL& url)
    : url_(url)
    , pcmBuffer_(decode(url))
{
    processingFormat_ = pcmBuffer_->format();
}
