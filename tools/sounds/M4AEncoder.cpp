#include "M4AEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string>

void M4AEncoder::write(const std::filesystem::path& path, const std::vector<std::vector<float>>& channels,
                       int sampleRate)
{
    if (channels.empty())
        throw std::runtime_error("No channels to write to " + path.string() + ".");
    // Failures are thrown; the libraries' progress notes would only be noise.
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
    std::filesystem::path partial = path;
    partial.replace_extension(".partial" + path.extension().string());
    {
        M4AEncoder encoder(partial, static_cast<int>(channels.size()), sampleRate);
        encoder.open();
        encoder.encode(channels);
        encoder.finish();
    }
    std::filesystem::rename(partial, path);
}

M4AEncoder::M4AEncoder(std::filesystem::path path, int channels, int sampleRate)
    : path_(std::move(path))
    , channels_(channels)
    , sampleRate_(sampleRate)
{
}

M4AEncoder::~M4AEncoder()
{
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    if (format_ != nullptr)
        avio_closep(&format_->pb);
    avformat_free_context(format_);
}

void M4AEncoder::check(int status, const char* step) const
{
    if (status >= 0)
        return;
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(status, text, sizeof text);
    throw std::runtime_error(path_.string() + ": " + step + " failed: " + text);
}

void M4AEncoder::open()
{
    const bool vorbis = path_.extension() == ".ogg";
    const char* container = vorbis ? "ogg" : path_.extension() == ".aac" ? "adts" : "ipod";
    check(avformat_alloc_output_context2(&format_, nullptr, container, path_.c_str()), "choosing the container");
    const AVCodec* codec = avcodec_find_encoder(vorbis ? AV_CODEC_ID_VORBIS : AV_CODEC_ID_AAC);
    if (codec == nullptr)
        throw std::runtime_error(std::string("FFmpeg has no ") + (vorbis ? "Vorbis" : "AAC") + " encoder.");
    stream_ = avformat_new_stream(format_, nullptr);
    codec_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    if (stream_ == nullptr || codec_ == nullptr || packet_ == nullptr)
        throw std::runtime_error("Out of memory while writing " + path_.string() + ".");
    codec_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec_->sample_rate = sampleRate_;
    codec_->bit_rate = kBitRate;
    codec_->time_base = AVRational { 1, sampleRate_ };
    av_channel_layout_default(&codec_->ch_layout, channels_);
    if ((format_->oformat->flags & AVFMT_GLOBALHEADER) != 0)
        codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // The default coder (a two-loop search) garbles the attacks of plain
    // synthetic tones at this rate: single blocks came back at a few dB
    // signal to error and peaks at up to twice the input's, above full scale.
    // The fast coder stays within a quarter of a decibel of the input's peak.
    if (!vorbis)
        check(av_opt_set(codec_->priv_data, "aac_coder", "fast", 0), "choosing the coder");
    check(avcodec_open2(codec_, codec, nullptr), "opening the encoder");
    check(avcodec_parameters_from_context(stream_->codecpar, codec_), "describing the stream");
    stream_->time_base = codec_->time_base;
    check(avio_open(&format_->pb, path_.c_str(), AVIO_FLAG_WRITE), "opening the file");
    // The edit list's length is in the movie's time scale: at the audio's
    // rate it is exact to the sample.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movie_timescale", std::to_string(sampleRate_).c_str(), 0);
    const int status = avformat_write_header(format_, &options);
    av_dict_free(&options);
    check(status, "writing the header");
}

void M4AEncoder::encode(const std::vector<std::vector<float>>& channels)
{
    const std::size_t length = channels[0].size();
    for (std::size_t position = 0; position < length; position += static_cast<std::size_t>(codec_->frame_size))
        sendFrame(channels, position);
    check(avcodec_send_frame(codec_, nullptr), "ending the stream");
    writePackets();
}

void M4AEncoder::sendFrame(const std::vector<std::vector<float>>& channels, std::size_t position)
{
    const std::size_t count = std::min(static_cast<std::size_t>(codec_->frame_size), channels[0].size() - position);
    AVFrame* frame = av_frame_alloc();
    if (frame == nullptr)
        throw std::runtime_error("Out of memory while writing " + path_.string() + ".");
    frame->nb_samples = static_cast<int>(count);
    frame->format = codec_->sample_fmt;
    frame->sample_rate = sampleRate_;
    frame->pts = static_cast<std::int64_t>(position);
    int status = av_channel_layout_copy(&frame->ch_layout, &codec_->ch_layout);
    if (status >= 0)
        status = av_frame_get_buffer(frame, 0);
    for (std::size_t channel = 0; status >= 0 && channel < channels.size(); ++channel)
        std::memcpy(frame->data[channel], channels[channel].data() + position, count * sizeof(float));
    if (status >= 0)
        status = avcodec_send_frame(codec_, frame);
    av_frame_free(&frame);
    check(status, "encoding");
    writePackets();
}

void M4AEncoder::writePackets()
{
    for (;;) {
        const int status = avcodec_receive_packet(codec_, packet_);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return;
        check(status, "encoding");
        av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        check(av_interleaved_write_frame(format_, packet_), "writing");
    }
}

void M4AEncoder::finish()
{
    check(av_write_trailer(format_), "writing the trailer");
    check(avio_closep(&format_->pb), "closing the file");
}
