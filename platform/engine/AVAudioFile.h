#pragma once

#include <cstdint>
#include <memory>

#include "AVAudioFormat.h"
#include "AVAudioPCMBuffer.h"
#include "URL.h"

using AVAudioFramePosition = std::int64_t;

// A sound file opened for reading. Opening decodes the whole file, with
// FFmpeg's libraries, to float samples at the engine's rate and in at most
// its channels; the encoder's priming at the start and its padding at the end
// are left out, so the file loops without a gap.
class AVAudioFile {
public:
    // Throws AVError when the URL is not a file URL or the file cannot be
    // decoded as audio (missing, not a regular file, not audio, no samples,
    // more channels than a buffer list carries, longer than
    // AudioFileDecoder::kMaximumMinutes).
    explicit AVAudioFile(const URL& url);

    const URL& url() const { return url_; }
    // Float samples at the engine's rate, with the file's channel count; a
    // file of more channels than the engine's is mixed down into them.
    const std::shared_ptr<AVAudioFormat>& processingFormat() const { return processingFormat_; }
    // Frames at the processing format's rate.
    AVAudioFramePosition length() const { return pcmBuffer_->frameLength(); }
    // The decoded audio, never changed after opening.
    const std::shared_ptr<const AVAudioPCMBuffer>& pcmBuffer() const { return pcmBuffer_; }

private:
    URL url_;
    std::shared_ptr<AVAudioFormat> processingFormat_;
    std::shared_ptr<const AVAudioPCMBuffer> pcmBuffer_;
};
