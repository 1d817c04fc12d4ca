// Arbitrary bytes as an audio file through every reader: nothing may crash, and what a reader
// returns as text is valid UTF-8 without control characters. The bytes live in a memory-backed
// file, reached by path as the readers expect. To cover a new reader, add it to kReaders.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/utf8.h"
#include "readers/aac_file.h"
#include "readers/ape_tag.h"
#include "readers/flac.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"
#include "readers/monkey.h"
#include "readers/mpeg_audio.h"
#include "readers/musepack.h"
#include "readers/ogg_vorbis.h"
#include "readers/optimfrog.h"
#include "readers/twinvq.h"
#include "readers/wavpack_file.h"
#include "readers/wma_file.h"

namespace {

void CheckText(const std::string& text) {
    if (!rv::IsValidUtf8(text)) std::abort();
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
}

// A tag text as a reader keeps it: clean, and no longer than the catalogue's 255 characters.
void CheckTagText(const std::string& text) {
    CheckText(text);
    if (rv::Utf8Length(text) > rv::kText255) std::abort();
}

void CheckTags(const rv::TID3v1& v1, const rv::TID3v2& v2, const rv::TAPEtag& ape) {
    for (const auto* text : {&v1.Title(), &v1.Artist(), &v1.Album(), &v1.Year(), &v1.Comment()})
        CheckTagText(*text);
    CheckText(v1.GetGenre());
    for (const auto* text : {&v2.Title(), &v2.Artist(), &v2.Album(), &v2.TrackString(), &v2.Year(),
                             &v2.Genre(), &v2.Comment(), &v2.Composer(), &v2.Encoder(),
                             &v2.Copyright(), &v2.Language(), &v2.Link()})
        CheckTagText(*text);
    for (const auto* text : {&ape.Title(), &ape.Artist(), &ape.Album(), &ape.Year(), &ape.Genre(),
                             &ape.Comment(), &ape.Copyright()})
        CheckTagText(*text);
}

void ReadTags(const std::string& path) {
    rv::TID3v1 v1;
    rv::TID3v2 v2;
    rv::TAPEtag ape;
    v1.ReadFromFile(path);
    v2.ReadFromFile(path);
    ape.ReadFromFile(path);
    CheckTags(v1, v2, ape);
}

void ReadMPEG(const std::string& path) {
    rv::TMPEGaudio mpeg;
    mpeg.ReadFromFile(path);
    CheckTags(mpeg.ID3v1(), mpeg.ID3v2(), mpeg.APEtag());
    CheckText(mpeg.VBR().VendorID);
    const double duration = mpeg.Duration();
    if (duration < 0 || duration != duration) std::abort();
    if (mpeg.Valid() && (mpeg.BitRate() < 8 || mpeg.BitRate() > 448)) std::abort();
    (void)mpeg.Version();
    (void)mpeg.Layer();
    (void)mpeg.ChannelMode();
}

void CheckSeconds(double seconds) {
    if (seconds < 0 || seconds != seconds) std::abort();
}

void ReadMusepack(const std::string& path) {
    rv::TMPEGplus mpc;
    mpc.ReadFromFile(path);
    CheckTags(mpc.ID3v1(), mpc.ID3v2(), mpc.APEtag());
    CheckSeconds(mpc.Duration());
    if (!mpc.Valid() && (mpc.Corrupted() || mpc.StreamVersion() != 0)) std::abort();
    (void)mpc.BitRate();
    CheckText(mpc.ChannelMode());
}

void ReadTwinVQ(const std::string& path) {
    rv::TTwinVQ vqf;
    vqf.ReadFromFile(path);
    for (const auto* text : {&vqf.Title(), &vqf.Comment(), &vqf.Author(), &vqf.Copyright(),
                             &vqf.OriginalFile(), &vqf.Album()})
        CheckTagText(*text);
    CheckSeconds(vqf.Duration());
    CheckText(vqf.ChannelMode());
    (void)vqf.Corrupted();
}

void ReadMonkey(const std::string& path) {
    rv::TMonkey ape;
    ape.ReadFromFile(path);
    CheckTags(ape.ID3v1(), ape.ID3v2(), ape.APEtag());
    CheckSeconds(ape.Duration());
    CheckSeconds(ape.PeakLevelRatio());
    CheckText(ape.VersionStr());
    if (ape.Valid() && (ape.Duration() <= 0 || ape.Channels() == 0)) std::abort();
}

void ReadOptimFrog(const std::string& path) {
    rv::TOptimFrog ofr;
    ofr.ReadFromFile(path);
    CheckTags(ofr.ID3v1(), ofr.ID3v2(), ofr.APEtag());
    CheckSeconds(ofr.Duration());
    CheckText(ofr.ChannelMode());
    if (ofr.Valid() && ofr.Bits() == 0) std::abort();
}

void ReadOggVorbis(const std::string& path) {
    rv::TOggVorbis ogg;
    ogg.ReadFromFile(path);
    for (const auto* text : {&ogg.Title(), &ogg.Artist(), &ogg.Album(), &ogg.Date(), &ogg.Genre(),
                             &ogg.Comment(), &ogg.Vendor()})
        CheckTagText(*text);
    CheckSeconds(ogg.Duration());
    (void)ogg.BitRate();
    (void)ogg.Valid();
    (void)ogg.Track();
    (void)ogg.ChannelMode();
}

void ReadFLAC(const std::string& path) {
    rv::TFLACfile flac;
    flac.ReadFromFile(path);
    const rv::TVorbisComment& comment = flac.VorbisComment();
    if (comment.Fields().size() != comment.Count() || comment.Lengths().size() != comment.Count())
        std::abort();
    CheckText(comment.Vendor());
    for (const char* name : {"TITLE", "Artist", "album", "STRASSE"})
        CheckText(comment.GetValue(name));
    CheckText(comment.Year());
    CheckSeconds(flac.Duration());
    CheckTags(flac.ID3v1(), flac.ID3v2(), rv::TAPEtag());
}

void ReadAAC(const std::string& path) {
    rv::TAACfile aac;
    aac.ReadFromFile(path);
    CheckTags(aac.ID3v1(), aac.ID3v2(), aac.APEtag());
    CheckSeconds(aac.Duration());
    for (const std::string& name :
         {aac.HeaderType(), aac.MPEGVersion(), aac.Profile(), aac.BitRateType()})
        CheckText(name);
}

void ReadWMA(const std::string& path) {
    rv::TWMAfile wma;
    wma.ReadFromFile(path);
    for (const auto* text :
         {&wma.Title(), &wma.Artist(), &wma.Album(), &wma.Year(), &wma.Genre(), &wma.Comment()})
        CheckTagText(*text);
    CheckSeconds(wma.Duration());
    if (!wma.Valid() && (wma.Duration() != 0 || !wma.Title().empty())) std::abort();
    CheckText(wma.ChannelMode());
}

void ReadWavPack(const std::string& path) {
    rv::TWAVPackfile wv;
    wv.ReadFromFile(path);
    CheckTags(wv.ID3v1(), wv.ID3v2(), wv.APEtag());
    CheckSeconds(wv.Duration());
    CheckSeconds(wv.BitRate());
}

using Reader = void (*)(const std::string& path);
constexpr Reader kReaders[] = {ReadTags,   ReadMPEG,      ReadMusepack,  ReadTwinVQ,
                               ReadMonkey, ReadOptimFrog, ReadOggVorbis, ReadFLAC,
                               ReadAAC,    ReadWMA,       ReadWavPack};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("audio", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    for (size_t done = 0; done < size;) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    for (Reader read : kReaders) read(path);
    return 0;
}
