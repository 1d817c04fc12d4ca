#pragma once
// Small MPEG audio files with an ID3v2.3 tag, built byte by byte: five 128 kbit/s stereo frames
// of MPEG 1 Layer III at 44.1 kHz (0.13 s; the reader takes no stream under 0.1 s) behind a tag
// of artist, album and title. Shared by the program's tests and the scan benchmark, so it needs
// nothing but the standard library.

#include <cstdint>
#include <fstream>
#include <string>

namespace rv::test {

// An ID3v2.3 text frame: id, 32-bit size, flags, encoding 0 (windows-1252) and the text.
inline std::string ID3v23TextFrame(const char* id, const std::string& text) {
    const auto size = static_cast<std::uint32_t>(text.size() + 1);
    std::string frame = id;
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>(size >> shift);
    return frame + std::string(3, '\0') + text;
}

// The file: the tag with the non-empty texts, then `frames` frames of 417 bytes.
inline std::string TinyMp3(const std::string& artist, const std::string& album,
                           const std::string& title, int frames = 5) {
    std::string body;
    if (!artist.empty()) body += ID3v23TextFrame("TPE1", artist);
    if (!album.empty()) body += ID3v23TextFrame("TALB", album);
    if (!title.empty()) body += ID3v23TextFrame("TIT2", title);
    std::string out = "ID3\x03";
    out += std::string(2, '\0');  // revision, flags
    const auto size = static_cast<std::uint32_t>(body.size());
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((size >> shift) & 0x7F);
    out += body;
    std::string frame = "\xFF\xFB\x90";
    frame += '\0';
    frame.resize(417, '\0');
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

inline void WriteTinyMp3(const std::string& path, const std::string& artist,
                         const std::string& album, const std::string& title) {
    std::ofstream(path, std::ios::binary) << TinyMp3(artist, album, title);
}

}  // namespace rv::test
