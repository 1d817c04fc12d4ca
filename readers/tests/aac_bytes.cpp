#include "readers/tests/aac_bytes.h"

namespace rv::test {

void BitWriter::Put(std::uint32_t value, unsigned count) {
    while (count > 0) {
        if (used_ == 8) {
            bytes_.push_back('\0');
            used_ = 0;
        }
        --count;
        const unsigned bit = (value >> count) & 1;
        bytes_.back() = static_cast<char>(bytes_.back() | (bit << (7 - used_)));
        ++used_;
    }
}

std::string ADTSFrame(const ADTSFields& f) {
    BitWriter w;
    w.Put(0xFFF, 12);
    w.Put(f.mpeg2 ? 1 : 0, 1);
    w.Put(0, 2);  // layer
    w.Put(1, 1);  // no CRC
    w.Put(f.profile, 2);
    w.Put(f.rateIndex, 4);
    w.Put(0, 1);  // private
    w.Put(f.channels, 3);
    w.Put(0, 4);  // original, home, copyright id bit and start
    w.Put(f.length, 13);
    w.Put(f.fullness, 11);
    w.Put(0, 2);  // one raw data block
    std::string frame = w.Bytes();
    if (f.length > frame.size()) frame.resize(f.length, '\0');
    return frame;
}

namespace {

void PutElements(BitWriter& w, const std::vector<bool>& elements) {
    unsigned tag = 0;
    for (const bool pair : elements) {
        w.Put(pair ? 1 : 0, 1);
        w.Put(tag++, 4);
    }
}

}  // namespace

std::string ADIFHeader(const ADIFFields& f) {
    BitWriter w;
    for (const char c : std::string("ADIF")) w.Put(static_cast<unsigned char>(c), 8);
    w.Put(f.copyrightId ? 1 : 0, 1);
    if (f.copyrightId) {
        // 72 bits of copyright id, with all ones so a reader that does not skip it fails.
        w.Put(0xFFFFFF, 24);
        w.Put(0xFFFFFF, 24);
        w.Put(0xFFFFFF, 24);
    }
    w.Put(0, 1);  // original_copy
    w.Put(0, 1);  // home
    w.Put(f.vbr ? 1 : 0, 1);
    w.Put(f.bitRate, 23);
    w.Put(0, 4);                     // one program config element
    if (!f.vbr) w.Put(0xFFFFF, 20);  // buffer fullness

    w.Put(0, 4);  // element instance tag
    w.Put(f.profile, 2);
    w.Put(f.rateIndex, 4);
    w.Put(static_cast<std::uint32_t>(f.front.size()), 4);
    w.Put(static_cast<std::uint32_t>(f.side.size()), 4);
    w.Put(static_cast<std::uint32_t>(f.back.size()), 4);
    w.Put(f.lfe, 2);
    w.Put(0, 3);  // associated data elements
    w.Put(0, 4);  // coupling channel elements
    w.Put(f.monoMixdown ? 1 : 0, 1);
    if (f.monoMixdown) w.Put(0xF, 4);
    w.Put(f.stereoMixdown ? 1 : 0, 1);
    if (f.stereoMixdown) w.Put(0xF, 4);
    w.Put(f.matrixMixdown ? 1 : 0, 1);
    if (f.matrixMixdown) w.Put(0x7, 3);
    PutElements(w, f.front);
    PutElements(w, f.side);
    PutElements(w, f.back);
    for (unsigned i = 0; i < f.lfe; ++i) w.Put(i, 4);
    w.Put(0, 8);  // no comment
    // Some stream, so that the file is long enough to hold an ID3v1 block.
    return w.Bytes() + std::string(200, '\0');
}

}  // namespace rv::test
