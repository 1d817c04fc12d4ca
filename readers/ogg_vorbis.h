#pragma once

#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// Stream properties and comment fields of an Ogg Vorbis file (.ogg): the identification header
// on the first page, the comment header that starts on the second, and the sample count of the
// last page near the end of the file. A leading ID3v2 tag is stepped over; no tag is read.
class TOggVorbis {
public:
    TOggVorbis() { Reset(); }

    void Reset();
    // True when an identification header was found; false when the file cannot be read or is
    // no Ogg Vorbis stream.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint64_t FileLength() const { return fileLength_; }
    std::uint8_t ChannelModeID() const { return channelModeID_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    // kbit/s, the identification header's nominal rate rounded.
    std::uint16_t BitRateNominal() const { return bitRateNominal_; }
    // The granule position of the last page found, its low 32 bits taken as a signed number
    // (a page that ends no packet carries -1); 0 when none was found.
    std::int32_t Samples() const { return samples_; }
    std::uint64_t ID3v2Size() const { return id3v2Size_; }

    const std::string& Title() const { return title_; }
    // ARTIST, or PERFORMER when that is empty.
    const std::string& Artist() const { return artist_.empty() ? performer_ : artist_; }
    const std::string& Album() const { return album_; }
    // The number before the first "/" of TRACKNUMBER; 0 when that is no number.
    std::uint16_t Track() const;
    const std::string& Date() const { return date_; }
    const std::string& Genre() const { return genre_; }
    // COMMENT, or DESCRIPTION when that is empty.
    const std::string& Comment() const { return comment_.empty() ? description_ : comment_; }
    const std::string& Vendor() const { return vendor_; }

    // "Unknown", "Mono" or "Stereo".
    std::string ChannelMode() const;
    // Seconds: the sample count over the sample rate, or without a sample count an estimate
    // from the nominal bit rate.
    double Duration() const;
    // kbit/s over the whole stream (the file less a leading ID3v2 tag).
    std::uint16_t BitRate() const;
    // One or two channels, a sample rate, more than 0.1 s and a bit rate.
    bool Valid() const;

private:
    void ReadComments(CachedFile& file, std::uint64_t pageStart);
    void SetField(std::string_view text);
    void FindSamples(CachedFile& file);

    std::uint64_t fileLength_;
    std::uint8_t channelModeID_;
    std::uint32_t sampleRate_;
    std::uint16_t bitRateNominal_;
    std::int32_t samples_;
    std::uint64_t id3v2Size_;
    std::string title_, artist_, album_, track_, date_, genre_, comment_, performer_, description_,
        vendor_;
};

}  // namespace rv
