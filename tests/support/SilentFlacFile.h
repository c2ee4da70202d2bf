#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>

// Writes `frames` frames of mono silence as FLAC with FFmpeg's libraries, in
// FLAC's largest blocks: an hour of it makes a file of a few kilobytes
// quickly, whatever its name says it is.
inline void writeSilentFlacFile(const std::filesystem::path& path, std::int64_t frames, int sampleRate)
{
    const auto check = [](int status, const char* step) {
        if (status < 0)
            throw std::runtime_error(std::string("cannot write the FLAC file: ") + step);
    };
    const std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> codec(
        avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_FLAC)),
        [](AVCodecContext* context) { avcodec_free_context(&context); });
    codec->sample_rate = sampleRate;
    codec->sample_fmt = AV_SAMPLE_FMT_S16;
    codec->time_base = { 1, sampleRate };
    codec->frame_size = 65535;
    codec->compression_level = 0;
    av_channel_layout_default(&codec->ch_layout, 1);
    check(avcodec_open2(codec.get(), codec->codec, nullptr), "encoder");

    AVFormatContext* output = nullptr;
    check(avformat_alloc_output_context2(&output, nullptr, "flac", nullptr), "container");
    const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(output, [](AVFormatContext* context) {
        avio_closep(&context->pb);
        avformat_free_context(context);
    });
    AVStream* stream = avformat_new_stream(output, nullptr);
    check(stream ? avcodec_parameters_from_context(stream->codecpar, codec.get()) : -1, "stream");
    stream->time_base = codec->time_base;
    check(avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE), "open");
    check(avformat_write_header(output, nullptr), "header");

    const std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
    const std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = sampleRate;
    frame->nb_samples = codec->frame_size;
    check(av_channel_layout_copy(&frame->ch_layout, &codec->ch_layout), "layout");
    check(av_frame_get_buffer(frame.get(), 0), "frame");
    std::memset(frame->data[0], 0, static_cast<std::size_t>(frame->linesize[0]));
    const auto drain = [&] {
        while (avcodec_receive_packet(codec.get(), packet.get()) == 0) {
            av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(output, packet.get()), "packet");
        }
    };
    for (std::int64_t position = 0; position < frames; position += codec->frame_size) {
        frame->nb_samples = static_cast<int>(std::min<std::int64_t>(codec->frame_size, frames - position));
        frame->pts = position;
        check(avcodec_send_frame(codec.get(), frame.get()), "samples");
        drain();
    }
    check(avcodec_send_frame(codec.get(), nullptr), "end");
    drain();
    check(av_write_trailer(output), "trailer");
}
