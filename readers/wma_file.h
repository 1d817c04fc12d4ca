#pragma once

#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// Stream properties and texts of a Windows Media Audio file (.wma): the file and stream
// properties and the content descriptions of its ASF header. The properties are set only for a
// plausible audio stream; otherwise they stay cleared and Valid() is false.
class TWMAfile {
public:
    TWMAfile() { Reset(); }

    void Reset();
    // False when the file cannot be opened or its header objects are cut short; true
    // otherwise, also for a file that is not ASF.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    bool Valid() const { return valid_; }
    std::uint64_t FileLength() const { return fileLength_; }
    // The channel count.
    std::uint8_t ChannelModeID() const { return channelModeID_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    // Seconds: the play duration less the preroll; without a play duration, an estimate from
    // the file size and the maximum bit rate.
    double Duration() const { return duration_; }
    // kbit/s, from the stream's average byte rate.
    std::uint32_t BitRate() const { return bitRate_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    // WM/TrackNumber, else WM/Track (counted from zero) plus one; 0 when neither is a number.
    std::uint32_t Track() const { return track_; }
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }
    // "Unknown", "Mono" or "Stereo".
    std::string ChannelMode() const;

private:
    bool valid_;
    std::uint64_t fileLength_;
    std::uint8_t channelModeID_;
    std::uint32_t sampleRate_;
    double duration_;
    std::uint32_t bitRate_;
    std::string title_, artist_, album_, year_, genre_, comment_;
    std::uint32_t track_;
};

}  // namespace rv
