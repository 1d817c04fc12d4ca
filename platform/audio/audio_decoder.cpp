// Decoding through FFmpeg: only the MPEG audio and ASF demuxers, only the MPEG audio and Windows
// Media Audio decoders, reading one regular file that the device opened itself.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/audio/internal/asf_play_length.h"
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
constexpr int kInputBufferBytes = 64 * 1024;

// Why a name cannot be opened, from what looking it up said.
MCIERROR LookUpError(int error) {
    switch (error) {
        case 0:  // there, but not a regular file
        case ENOENT:
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return MCIERR_FILE_NOT_FOUND;
        case ENOMEM:
            return MCIERR_OUT_OF_MEMORY;
        default:
            return MCIERR_FILE_READ;
    }
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
    if (io_) av_freep(&io_->buffer);
    avio_context_free(&io_);
}

int AudioDecoder::ReadInput(void* self, std::uint8_t* buffer, int size) {
    auto* decoder = static_cast<AudioDecoder*>(self);
    const std::size_t read =
        decoder->file_.ReadAt(decoder->fileAt_, buffer, std::size_t(std::max(size, 0)));
    if (read == 0) return AVERROR_EOF;
    decoder->fileAt_ += read;
    return int(read);
}

std::int64_t AudioDecoder::SeekInput(void* self, std::int64_t offset, int whence) {
    auto* decoder = static_cast<AudioDecoder*>(self);
    const auto size = std::int64_t(decoder->file_.Size());
    std::int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return size;
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = std::int64_t(decoder->fileAt_);
            break;
        case SEEK_END:
            base = size;
            break;
        default:
            return AVERROR(EINVAL);
    }
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) return AVERROR(EINVAL);
    decoder->fileAt_ = std::uint64_t(target);
    return target;
}

MCIERROR AudioDecoder::OpenInput(const std::string& path) {
    if (path.empty()) return MCIERR_FILE_NOT_FOUND;
    // Looked at before it is opened: opening a FIFO waits for a writer, opening a device may do
    // something.
    struct stat facts;
    if (::stat(path.c_str(), &facts) != 0) return LookUpError(errno);
    if (S_ISDIR(facts.st_mode)) return MCIERR_FILE_READ;
    if (!S_ISREG(facts.st_mode)) return MCIERR_FILE_NOT_FOUND;
    errno = 0;
    if (!file_.Open(path)) return LookUpError(errno);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kInputBufferBytes));
    if (!buffer) return MCIERR_OUT_OF_MEMORY;
    io_ = avio_alloc_context(buffer, kInputBufferBytes, 0, this, &ReadInput, nullptr, &SeekInput);
    if (!io_) {
        av_free(buffer);
        return MCIERR_OUT_OF_MEMORY;
    }
    format_ = avformat_alloc_context();
    if (!format_) return MCIERR_OUT_OF_MEMORY;
    format_->pb = io_;
    return 0;
}

// Why a file that was opened could not be read as sound: a sound file of another format, or one
// whose contents are damaged (also one that looks like nothing at all).
MCIERROR AudioDecoder::Unplayable(const std::string& path) {
    if (avio_seek(io_, 0, SEEK_SET) < 0) return MCIERR_FILE_READ;
    // Probing only looks at the first bytes; no demuxer is started.
    const AVInputFormat* format = nullptr;
    const int score = av_probe_input_buffer2(io_, &format, path.c_str(), nullptr, 0, 0);
    const bool other = score >= AVPROBE_SCORE_EXTENSION && format &&
                       std::string_view(format->name) != "mp3" &&
                       std::string_view(format->name) != "asf";
    return other ? MCIERR_CANNOT_LOAD_DRIVER : MCIERR_INVALID_FILE;
}

MCIERROR AudioDecoder::Init(const std::string& path) {
    const MCIERROR opened = OpenInput(path);
    if (opened != 0) return opened;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kDemuxers, 0);
    // No demuxer of the list opens other files; should one try, only local files.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int result = avformat_open_input(&format_, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (result == AVERROR(ENOMEM)) return MCIERR_OUT_OF_MEMORY;
    if (result < 0) return Unplayable(path);
    if (avformat_find_stream_info(format_, nullptr) < 0) return MCIERR_INVALID_FILE;

    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream_ < 0) return MCIERR_INVALID_FILE;
    const AVCodecParameters* parameters = format_->streams[stream_]->codecpar;
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
    length_ = StatedLength();
    return 0;
}

std::uint64_t AudioDecoder::StatedLength() const {
    // FFmpeg takes an ASF file's duration from its size when tags have grown the header.
    std::uint64_t length100ns = 0;
    if (std::string_view(format_->iformat->name) == "asf" && AsfPlayLength(file_, length100ns))
        return std::uint64_t(av_rescale(std::int64_t(length100ns), rate_, 10'000'000));
    // The MPEG audio demuxer counts an encoder's leading delay into the duration and starts the
    // stream's time after it; what is played starts there.
    const AVStream* stream = format_->streams[stream_];
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
    return std::uint64_t(std::max<std::int64_t>(duration, 0));
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
