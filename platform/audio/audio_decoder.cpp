// Decoding through FFmpeg: only the MPEG audio and ASF demuxers, only local files, only the MPEG
// audio and Windows Media Audio decoders.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>

#include "platform/audio/internal/audio_decoder.h"

namespace rv::audio_internal {

namespace {

bool IsPlayableCodec(AVCodecID id) {
    switch (id) {
        case AV_CODEC_ID_MP1:
        case AV_CODEC_ID_MP2:
        case AV_CODEC_ID_MP3:
        case AV_CODEC_ID_WMAV1:
        case AV_CODEC_ID_WMAV2:
        case AV_CODEC_ID_WMAPRO:
        case AV_CODEC_ID_WMALOSSLESS:
            return true;
        default:
            return false;
    }
}

constexpr const char* kDemuxers = "mp3,asf";

AVDictionary* LocalFilesOnly() {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    return options;
}

// Why a file that was found could not be opened: a sound file of another format, or one whose
// contents are damaged (also one that looks like nothing at all).
MCIERROR Unplayable(const std::string& url) {
    AVIOContext* io = nullptr;
    AVDictionary* options = LocalFilesOnly();
    const int opened = avio_open2(&io, url.c_str(), AVIO_FLAG_READ, nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return MCIERR_FILE_READ;
    // Probing only looks at the first bytes; no demuxer is started.
    const AVInputFormat* format = nullptr;
    const int score = av_probe_input_buffer2(io, &format, url.c_str(), nullptr, 0, 0);
    avio_closep(&io);
    const bool other = score >= AVPROBE_SCORE_EXTENSION && format &&
                       std::string(format->name) != "mp3" && std::string(format->name) != "asf";
    return other ? MCIERR_CANNOT_LOAD_DRIVER : MCIERR_INVALID_FILE;
}

MCIERROR OpenError(int result, const std::string& url) {
    if (result == AVERROR(ENOENT) || result == AVERROR(ENOTDIR)) return MCIERR_FILE_NOT_FOUND;
    if (result == AVERROR(EACCES) || result == AVERROR(EISDIR) || result == AVERROR(EIO) ||
        result == AVERROR(EPERM)) {
        return MCIERR_FILE_READ;
    }
    if (result == AVERROR(ENOMEM)) return MCIERR_OUT_OF_MEMORY;
    return Unplayable(url);
}

}  // namespace

std::unique_ptr<AudioDecoder> AudioDecoder::Open(const std::string& path, MCIERROR& error) {
    // Damaged files are ours to report; FFmpeg's own complaints would only clutter the terminal.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    std::unique_ptr<AudioDecoder> decoder(new AudioDecoder);
    error = decoder->Init(path);
    if (error != 0) decoder.reset();
    return decoder;
}

AudioDecoder::~AudioDecoder() {
    swr_free(&converter_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

MCIERROR AudioDecoder::Init(const std::string& path) {
    if (path.empty()) return MCIERR_FILE_NOT_FOUND;
    AVDictionary* options = LocalFilesOnly();
    av_dict_set(&options, "format_whitelist", kDemuxers, 0);
    // "file:" keeps a colon in the name from being taken for a protocol.
    const std::string url = "file:" + path;
    const int opened = avformat_open_input(&format_, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return OpenError(opened, url);
    if (avformat_find_stream_info(format_, nullptr) < 0) return MCIERR_INVALID_FILE;

    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream_ < 0) return MCIERR_INVALID_FILE;
    const AVStream* stream = format_->streams[stream_];
    const AVCodecParameters* parameters = stream->codecpar;
    if (!IsPlayableCodec(parameters->codec_id)) return MCIERR_CANNOT_LOAD_DRIVER;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) return MCIERR_CANNOT_LOAD_DRIVER;
    codec_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!codec_ || !packet_ || !frame_) return MCIERR_OUT_OF_MEMORY;
    if (avcodec_parameters_to_context(codec_, parameters) < 0) return MCIERR_INVALID_FILE;
    codec_->thread_count = 1;
    if (avcodec_open2(codec_, codec, nullptr) < 0) return MCIERR_INVALID_FILE;

    rate_ = parameters->sample_rate;
    channels_ = std::min(parameters->ch_layout.nb_channels, 2);
    if (rate_ <= 0 || channels_ <= 0) return MCIERR_INVALID_FILE;

    // The MPEG audio demuxer counts an encoder's leading delay into the duration and starts the
    // stream's time after it; what is played starts there.
    const AVRational frameBase{1, rate_};
    std::int64_t duration = 0;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        duration = av_rescale_q(stream->duration, stream->time_base, frameBase);
        if (stream->start_time != AV_NOPTS_VALUE && stream->start_time > 0) {
            duration -= av_rescale_q(stream->start_time, stream->time_base, frameBase);
        }
    } else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
        duration = av_rescale_q(format_->duration, AVRational{1, AV_TIME_BASE}, frameBase);
    }
    length_ = std::uint64_t(std::max<std::int64_t>(duration, 0));
    return 0;
}

void AudioDecoder::Seek(std::uint64_t frame) {
    const AVStream* stream = format_->streams[stream_];
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const std::int64_t target =
        start + av_rescale_q(std::int64_t(frame), AVRational{1, rate_}, stream->time_base);
    if (av_seek_frame(format_, stream_, target, AVSEEK_FLAG_BACKWARD) < 0) {
        // Not seekable by time: from the first byte, decoding up to the target.
        av_seek_frame(format_, stream_, 0, AVSEEK_FLAG_BYTE);
    }
    avcodec_flush_buffers(codec_);
    swr_free(&converter_);
    converterFormat_ = -1;
    inputEnded_ = false;
    seeking_ = true;
    seekTarget_ = frame;
}

bool AudioDecoder::Decode(std::vector<float>& samples) {
    for (;;) {
        const int received = avcodec_receive_frame(codec_, frame_);
        if (received == 0) {
            const bool appended = Append(samples);
            av_frame_unref(frame_);
            if (appended) return true;
            continue;
        }
        if (received != AVERROR(EAGAIN) || inputEnded_) {
            // The end, or a decoder that cannot go on: what the converter still holds comes last.
            return converter_ && Convert(nullptr, 0, samples);
        }
        if (av_read_frame(format_, packet_) < 0) {
            avcodec_send_packet(codec_, nullptr);
            inputEnded_ = true;
            continue;
        }
        // A packet the decoder rejects is damaged: it is passed over.
        if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
    }
}

std::int64_t AudioDecoder::FrameStart() const {
    const std::int64_t pts = frame_->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return -1;
    const AVStream* stream = format_->streams[stream_];
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return av_rescale_q(pts - start, stream->time_base, AVRational{1, rate_});
}

bool AudioDecoder::Append(std::vector<float>& samples) {
    if (!PrepareConverter()) return false;
    const std::size_t before = samples.size();
    if (!Convert(const_cast<const std::uint8_t**>(frame_->extended_data), frame_->nb_samples,
                 samples)) {
        return false;
    }
    if (!seeking_) return true;
    // After a seek: drop what lies before the target.
    const std::int64_t first = FrameStart();
    if (first < 0) {
        seeking_ = false;
        return true;
    }
    const std::size_t frames = (samples.size() - before) / std::size_t(channels_);
    const std::uint64_t skip = std::int64_t(seekTarget_) > first
                                   ? std::min<std::uint64_t>(seekTarget_ - first, frames)
                                   : 0;
    samples.erase(samples.begin() + std::ptrdiff_t(before),
                  samples.begin() + std::ptrdiff_t(before + skip * std::size_t(channels_)));
    if (samples.size() == before) return false;
    seeking_ = false;
    return true;
}

bool AudioDecoder::PrepareConverter() {
    const int channels = frame_->ch_layout.nb_channels;
    if (converter_ && converterFormat_ == frame_->format && converterRate_ == frame_->sample_rate &&
        converterChannels_ == channels) {
        return true;
    }
    swr_free(&converter_);
    converterFormat_ = -1;
    if (channels <= 0 || frame_->sample_rate <= 0) return false;
    AVChannelLayout in;
    if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&in, channels);
    } else if (av_channel_layout_copy(&in, &frame_->ch_layout) < 0) {
        return false;
    }
    AVChannelLayout out;
    av_channel_layout_default(&out, channels_);
    const int made =
        swr_alloc_set_opts2(&converter_, &out, AV_SAMPLE_FMT_FLT, rate_, &in,
                            AVSampleFormat(frame_->format), frame_->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (made < 0 || swr_init(converter_) < 0) {
        swr_free(&converter_);
        return false;
    }
    converterFormat_ = frame_->format;
    converterRate_ = frame_->sample_rate;
    converterChannels_ = channels;
    return true;
}

bool AudioDecoder::Convert(const std::uint8_t** input, int count, std::vector<float>& samples) {
    const int room = swr_get_out_samples(converter_, count);
    if (room <= 0) return false;
    const std::size_t before = samples.size();
    samples.resize(before + std::size_t(room) * std::size_t(channels_));
    auto* out = reinterpret_cast<std::uint8_t*>(samples.data() + before);
    const int made = swr_convert(converter_, &out, room, input, count);
    samples.resize(before + std::size_t(std::max(made, 0)) * std::size_t(channels_));
    return made > 0;
}

}  // namespace rv::audio_internal
