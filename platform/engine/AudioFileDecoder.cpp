#include "AudioFileDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/common.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <numbers>

#include <unistd.h>

#include "AVAudioFormat.h"
#include "AVError.h"
#include "AudioBufferList.h"
#include "EditListScan.h"
#include "FileManager.h"

namespace {

constexpr int kReadBufferSize = 64 * 1024;
// The libraries' level for a centre or surround channel mixed into the front
// pair.
constexpr double kMixLevel = std::numbers::sqrt2 / 2.0;
// The libraries scale a matrix of this many rows and columns, whatever the
// channels it mixes.
constexpr int kMatrixSize = 64;

std::string errorText(int status)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(status, text, sizeof text);
    return text;
}

// Failures are reported through AVError; the libraries' own messages would
// only repeat them on standard error.
void quietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

int readFile(void* opaque, std::uint8_t* buffer, int size)
{
    const int descriptor = static_cast<const FileHandle*>(opaque)->fileDescriptor();
    for (;;) {
        const auto count = ::read(descriptor, buffer, static_cast<std::size_t>(size));
        if (count > 0)
            return static_cast<int>(count);
        if (count == 0)
            return AVERROR_EOF;
        if (errno != EINTR)
            return AVERROR(errno);
    }
}

std::int64_t seekFile(void* opaque, std::int64_t offset, int whence)
{
    const auto* file = static_cast<const FileHandle*>(opaque);
    if (whence & AVSEEK_SIZE)
        return static_cast<std::int64_t>(file->size());
    const off_t position = ::lseek(file->fileDescriptor(), offset, whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : position;
}

// A container that names other files (a playlist, a reference) would have the
// libraries open them by name, past the rules the sound file was opened by.
int refuseOpening(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

// A layout that names no channels is taken as the usual one for its count,
// so that the resampler can mix it.
int orderedLayout(const AVChannelLayout& source, AVChannelLayout& target)
{
    if (source.order != AV_CHANNEL_ORDER_UNSPEC)
        return av_channel_layout_copy(&target, &source);
    av_channel_layout_default(&target, source.nb_channels);
    return 0;
}

void replaceNonFinite(float* samples, std::size_t count)
{
    for (std::size_t index = 0; index < count; ++index)
        if (!std::isfinite(samples[index]))
            samples[index] = 0.0f;
}

} // namespace

std::shared_ptr<const AVAudioPCMBuffer> AudioFileDecoder::decode(const std::string& path, double sampleRate,
                                                                 AVAudioChannelCount channels)
{
    quietLibraries();
    AudioFileDecoder decoder(path, static_cast<int>(sampleRate), channels);
    decoder.openInput();
    decoder.openDecoder();
    decoder.decodeAll();
    return decoder.result();
}

AudioFileDecoder::AudioFileDecoder(std::string path, int sampleRate, AVAudioChannelCount channels)
    : path_(std::move(path))
    , sampleRate_(sampleRate)
    , maximumChannels_(static_cast<int>(channels))
{
}

AudioFileDecoder::~AudioFileDecoder()
{
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&resampler_);
    av_channel_layout_uninit(&inputLayout_);
    av_channel_layout_uninit(&outputLayout_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
    if (input_ != nullptr)
        av_freep(&input_->buffer);
    avio_context_free(&input_);
}

void AudioFileDecoder::fail(const std::string& reason) const
{
    throw AVError("The audio file '" + path_ + "' could not be read: " + reason);
}

void AudioFileDecoder::check(int status) const
{
    if (status < 0)
        fail(errorText(status));
}

// The libraries read the file through the handle that was checked, never
// opening the path themselves.
void AudioFileDecoder::openReader()
{
    try {
        file_.emplace(FileHandle::forReadingAtPath(path_));
    } catch (const FileManagerError& error) {
        throw AVError(error.localizedDescription());
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferSize));
    if (buffer == nullptr)
        fail("out of memory.");
    input_ = avio_alloc_context(buffer, kReadBufferSize, 0, &*file_, readFile, nullptr, seekFile);
    if (input_ == nullptr) {
        av_free(buffer);
        fail("out of memory.");
    }
}

void AudioFileDecoder::openInput()
{
    openReader();
    checkEditLists();
    format_ = avformat_alloc_context();
    if (format_ == nullptr)
        fail("out of memory.");
    format_->pb = input_;
    format_->io_open = refuseOpening;
    check(avformat_open_input(&format_, path_.c_str(), nullptr, nullptr));
    check(avformat_find_stream_info(format_, nullptr));
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream_ < 0)
        fail("it holds no audio.");
}

// Before the libraries open the file: they copy every packet an edit covers
// into their index, once for each edit.
void AudioFileDecoder::checkEditLists() const
{
    const auto found = EditListScan::find(*input_);
    if (found.unreadableHeader)
        fail("its compressed movie header is damaged or larger than "
             + std::to_string(EditListScan::kMaximumMovieHeader >> 20) + " MiB.");
    if (found.tooManyBoxes)
        fail("its boxes nest and repeat past any sound's.");
    if (found.longestEditList > kMaximumEdits)
        fail("its edit list holds more than " + std::to_string(kMaximumEdits) + " edits.");
}

void AudioFileDecoder::openDecoder()
{
    const AVCodecParameters* parameters = format_->streams[stream_]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr)
        fail("its audio is in a format that cannot be decoded.");
    codec_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (codec_ == nullptr || packet_ == nullptr || frame_ == nullptr)
        fail("out of memory.");
    check(avcodec_parameters_to_context(codec_, parameters));
    check(avcodec_open2(codec_, codec, nullptr));
    const int channels = codec_->ch_layout.nb_channels;
    if (channels <= 0 || channels > static_cast<int>(AudioBufferList::kMaxBuffers))
        fail("it has " + std::to_string(channels) + " channels at " + std::to_string(codec_->sample_rate)
             + " Hz; 1 to " + std::to_string(AudioBufferList::kMaxBuffers) + " channels are supported.");
    checkRate(codec_->sample_rate);
    check(chooseOutputLayout());
    channels_.resize(static_cast<std::size_t>(outputLayout_.nb_channels));
}

// Channels beyond those asked for would only be left out when the sound is
// played, and a long sound in many of them would take gigabytes.
int AudioFileDecoder::chooseOutputLayout()
{
    if (codec_->ch_layout.nb_channels <= maximumChannels_)
        return orderedLayout(codec_->ch_layout, outputLayout_);
    av_channel_layout_default(&outputLayout_, maximumChannels_);
    return 0;
}

void AudioFileDecoder::decodeAll()
{
    for (;;) {
        const int status = av_read_frame(format_, packet_);
        if (status == AVERROR_EOF)
            break;
        check(status);
        if (packet_->stream_index == stream_) {
            followTimestamps(*packet_);
            sendPacket(packet_);
        }
        av_packet_unref(packet_);
    }
    sendPacket(nullptr);
    flush();
}

// A packet the container marks to be left out adds no samples.
void AudioFileDecoder::followTimestamps(const AVPacket& packet)
{
    if ((packet.flags & AV_PKT_FLAG_DISCARD) != 0)
        return;
    if (packet.pts == AV_NOPTS_VALUE || (lastPacketStart_ && packet.pts < *lastPacketStart_))
        timestampsRise_ = false;
    lastPacketStart_ = packet.pts;
}

void AudioFileDecoder::sendPacket(const AVPacket* packet)
{
    check(avcodec_send_packet(codec_, packet));
    for (;;) {
        const int status = avcodec_receive_frame(codec_, frame_);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return;
        check(status);
        countInput(*frame_);
        followFormat(*frame_);
        convert(const_cast<const unsigned char**>(frame_->extended_data), frame_->nb_samples);
        av_frame_unref(frame_);
    }
}

// A stream may change its channels, rate or sample format at any frame; what
// came before is converted whole before the resampler is set up again.
void AudioFileDecoder::followFormat(const AVFrame& frame)
{
    if (resampler_ != nullptr && frame.sample_rate == inputRate_ && frame.format == inputFormat_
        && av_channel_layout_compare(&frame.ch_layout, &inputLayout_) == 0)
        return;
    flush();
    openResampler(frame);
}

void AudioFileDecoder::openResampler(const AVFrame& frame)
{
    checkRate(frame.sample_rate);
    check(av_channel_layout_copy(&inputLayout_, &frame.ch_layout));
    inputRate_ = frame.sample_rate;
    inputFormat_ = frame.format;
    AVChannelLayout layout {};
    int status = orderedLayout(frame.ch_layout, layout);
    if (status >= 0)
        status = setUpResampler(layout, frame);
    av_channel_layout_uninit(&layout);
    if (status < 0)
        fail("it holds audio of " + std::to_string(frame.ch_layout.nb_channels) + " channels at "
             + std::to_string(frame.sample_rate) + " Hz that cannot be converted to its "
             + std::to_string(channels_.size()) + " channels.");
}

// A fresh resampler each time: a matrix of channels can only be given to one
// that was never set up. Channels in the output's arrangement pass unmixed.
int AudioFileDecoder::setUpResampler(AVChannelLayout& layout, const AVFrame& frame)
{
    swr_free(&resampler_);
    int status = swr_alloc_set_opts2(&resampler_, &outputLayout_, AV_SAMPLE_FMT_FLTP, sampleRate_, &layout,
                                     static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    if (status >= 0 && av_channel_layout_compare(&layout, &outputLayout_) != 0)
        status = setMixingMatrix(layout);
    return status < 0 ? status : swr_init(resampler_);
}

// With float output the libraries leave their mixing coefficients as they
// are: six channels of one tone would add up to 2.4 times its peak. Each
// output channel's coefficients are scaled to add up to at most 1, so that no
// mix is louder than its loudest channel. Channels in an arrangement that
// cannot be mixed are taken in order.
int AudioFileDecoder::setMixingMatrix(const AVChannelLayout& layout)
{
    const int inputChannels = layout.nb_channels;
    if (inputChannels <= 0 || inputChannels > kMatrixSize)
        return AVERROR(EINVAL);
    std::vector<double> matrix(static_cast<std::size_t>(kMatrixSize * kMatrixSize));
    if (swr_build_matrix2(&layout, &outputLayout_, kMixLevel, kMixLevel, 0.0, 1.0, 1.0, matrix.data(), kMatrixSize,
                          AV_MATRIX_ENCODING_NONE, nullptr)
        < 0)
        takeChannelsInOrder(matrix, inputChannels);
    return swr_set_matrix(resampler_, matrix.data(), kMatrixSize);
}

// As the engine maps a buffer's channels onto another's: output channel c
// takes input channel c, or the last one when there are fewer.
void AudioFileDecoder::takeChannelsInOrder(std::vector<double>& matrix, int inputChannels) const
{
    std::fill(matrix.begin(), matrix.end(), 0.0);
    for (int channel = 0; channel < outputLayout_.nb_channels; ++channel)
        matrix[static_cast<std::size_t>(channel * kMatrixSize + std::min(channel, inputChannels - 1))] = 1.0;
}

// Before the first frame there is no resampler, and nothing held.
void AudioFileDecoder::flush()
{
    if (resampler_ != nullptr)
        convert(nullptr, 0);
}

// Without input the resampler hands out what it still holds.
void AudioFileDecoder::convert(const unsigned char** input, int inputFrames)
{
    for (;;) {
        const int room = swr_get_out_samples(resampler_, inputFrames);
        check(room);
        const std::size_t start = channels_[0].size();
        checkLength(start + static_cast<std::size_t>(room));
        std::vector<unsigned char*> output(channels_.size());
        for (std::size_t channel = 0; channel < channels_.size(); ++channel) {
            channels_[channel].resize(start + static_cast<std::size_t>(room));
            output[channel] = reinterpret_cast<unsigned char*>(channels_[channel].data() + start);
        }
        const int converted = swr_convert(resampler_, output.data(), room, input, inputFrames);
        check(converted);
        for (auto& channel : channels_) {
            channel.resize(start + static_cast<std::size_t>(converted));
            replaceNonFinite(channel.data() + start, static_cast<std::size_t>(converted));
        }
        if (input != nullptr || converted == 0)
            return;
    }
}

// Rates past any sound's would have the resampler build a filter of
// gigabytes.
void AudioFileDecoder::checkRate(int rate) const
{
    if (rate <= 0 || rate > kMaximumSampleRate)
        fail("its audio is at " + std::to_string(rate) + " Hz; rates of 1 to " + std::to_string(kMaximumSampleRate)
             + " Hz are supported.");
}

// Counted before the samples are converted.
void AudioFileDecoder::countInput(const AVFrame& frame)
{
    inputSamples_ += static_cast<std::uint64_t>(std::max(frame.nb_samples, 0))
        * static_cast<std::uint64_t>(std::max(frame.ch_layout.nb_channels, 0));
    const auto frames = static_cast<std::uint64_t>(kMaximumMinutes) * 60 * static_cast<std::uint64_t>(sampleRate_);
    if (inputSamples_ > frames * kMaximumInputSamplesPerFrame)
        fail("it holds more samples than " + std::to_string(kMaximumMinutes) + " minutes of "
             + std::to_string(kSurroundChannels) + " channels at "
             + std::to_string(static_cast<std::uint64_t>(sampleRate_) * kMaximumInputSamplesPerFrame
                              / kSurroundChannels)
             + " Hz.");
}

// Checked before the samples are made, so that neither the decoding nor
// the memory goes past the limit.
void AudioFileDecoder::checkLength(std::size_t frames) const
{
    if (frames > static_cast<std::size_t>(kMaximumMinutes) * 60 * static_cast<std::size_t>(sampleRate_))
        fail("it lasts longer than " + std::to_string(kMaximumMinutes) + " minutes.");
}

// The length the container states (for MP4 audio: its edit list), at the
// output rate; the decoded length when it states none.
std::size_t AudioFileDecoder::statedLength() const
{
    const AVStream* stream = format_->streams[stream_];
    const std::size_t decoded = channels_[0].size();
    if (!endIsStated())
        return decoded;
    const std::int64_t stated = av_rescale_q(stream->duration, stream->time_base, AVRational { 1, sampleRate_ });
    return std::min(decoded, static_cast<std::size_t>(stated));
}

// The encoder's padding lies in the last packet. A stated end before that
// packet starts, or timestamps that start again, tell of a stream made of
// parts: a chain of Ogg links states only the last link's end, and in the
// first link's time base. A length the libraries guessed from the file's size
// and first bit rate is no statement: it would cut a part at a lower bit rate
// short.
bool AudioFileDecoder::endIsStated() const
{
    const AVStream* stream = format_->streams[stream_];
    if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0
        || format_->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE || !timestampsRise_
        || !lastPacketStart_)
        return false;
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return *lastPacketStart_ < av_sat_add64(start, stream->duration);
}

std::shared_ptr<const AVAudioPCMBuffer> AudioFileDecoder::result() const
{
    const std::size_t length = statedLength();
    if (length == 0)
        fail("it holds no samples.");
    const auto format =
        AVAudioFormat::standardFormat(sampleRate_, static_cast<AVAudioChannelCount>(channels_.size()));
    const auto buffer = length <= std::numeric_limits<AVAudioFrameCount>::max()
        ? AVAudioPCMBuffer::make(format, static_cast<AVAudioFrameCount>(length))
        : nullptr;
    if (!buffer)
        fail("it is too long.");
    for (std::size_t channel = 0; channel < channels_.size(); ++channel)
        std::memcpy(buffer->floatChannelData(static_cast<AVAudioChannelCount>(channel)), channels_[channel].data(),
                    length * sizeof(float));
    buffer->setFrameLength(static_cast<AVAudioFrameCount>(length));
    return buffer;
}
