#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/mci.h"
#include "platform/files/read_only_file.h"

struct AVFormatContext;
struct AVIOContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

// Reads an MPEG audio or Windows Media Audio file and decodes it to interleaved float samples at
// the file's own rate, in one or two channels (more are mixed down to two).
namespace rv::audio_internal {

class AudioDecoder {
public:
    // Reads the file's header; on failure null with the error (MCIERR_FILE_NOT_FOUND,
    // MCIERR_FILE_READ, MCIERR_INVALID_FILE, MCIERR_CANNOT_LOAD_DRIVER, MCIERR_OUT_OF_MEMORY).
    // Only a regular file, or a link to one, is opened: a FIFO, a device or a socket is refused
    // before anything is opened (MCIERR_FILE_NOT_FOUND), so that none can block the caller.
    static std::unique_ptr<AudioDecoder> Open(const std::string& path, MCIERROR& error);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    int Rate() const { return rate_; }
    int Channels() const { return channels_; }
    // From the header: the frames from the first sample to the end (0 when the file gives none).
    std::uint64_t LengthFrames() const { return length_; }

    // The next audio decoded starts at `frame`.
    void Seek(std::uint64_t frame);
    // Appends the next stretch of audio to `samples`; false, appending nothing, once the stream
    // has ended. Damaged stretches inside the stream are passed over.
    bool Decode(std::vector<float>& samples);

private:
    AudioDecoder() = default;
    MCIERROR Init(const std::string& path);
    MCIERROR OpenInput(const std::string& path);
    MCIERROR Unplayable(const std::string& path);
    // Frames from the first sample to the end, as the file states them; 0 when it does not.
    std::uint64_t StatedLength() const;
    // Converts the decoded frame and appends it, less what lies before a seek's target; false
    // when nothing was left to append.
    bool Append(std::vector<float>& samples);
    bool Convert(const std::uint8_t** input, int count, std::vector<float>& samples);
    bool PrepareConverter();
    // The reading and seeking of FFmpeg's input, on file_.
    static int ReadInput(void* self, std::uint8_t* buffer, int size);
    static std::int64_t SeekInput(void* self, std::int64_t offset, int whence);
    std::int64_t FrameStart() const;

    // The file is read through this one descriptor, never opened again by name.
    ReadOnlyFile file_;
    std::uint64_t fileAt_ = 0;
    AVIOContext* io_ = nullptr;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    SwrContext* converter_ = nullptr;
    // What the converter was set up for: sample format, rate and channel count of its input.
    int converterFormat_ = -1;
    int converterRate_ = 0;
    int converterChannels_ = 0;

    int stream_ = -1;
    int rate_ = 0;
    int channels_ = 0;
    std::uint64_t length_ = 0;
    bool inputEnded_ = false;
    bool seeking_ = false;
    std::uint64_t seekTarget_ = 0;
};

}  // namespace rv::audio_internal
