#pragma once

#include <clocale>
#include <string>

#include "medialib/media_lib.h"
#include "testsupport/process.h"

// The two-artist library whose file and presentations lie under testdata/medialib/, and the
// outside checks every written file goes through.
namespace rv::test {

inline TTrack FiledTrack(const char* artist, const char* album, uint16_t release, const char* genre,
                         uint8_t mediaType, uint8_t id, const char* title, double duration,
                         uint16_t bitrate, const char* mode, const char* format) {
    return TTrack{.ID = id,
                  .Title = title,
                  .Artist = artist,
                  .Album = album,
                  .Genre = genre,
                  .Release = release,
                  .Duration = duration,
                  .Bitrate = bitrate,
                  .ChannelMode = mode,
                  .Format = format,
                  .MediaType = mediaType};
}

inline void FillGoldenLibrary(TMediaLib& lib) {
    lib.SetLibraryName("Rock & Roll");
    const char* dvorak = "Dvo\u0159\u00e1k & \"Friends\"";
    const char* mp3 = "MPEG 1 Layer III";
    lib.AddTrack(FiledTrack(dvorak, "Symfonie \u010d. 9", 1893, "", 0, 1,
                            "Largo \u2013 \u0416\u0438\u0437\u043d\u044c", 725.25, 0, "Stereo",
                            "CD Audio"));
    lib.AddTrack(FiledTrack("ABBA", "Arrival", 1976, "Pop", 1, 2, "Dancing Queen", 245.5, 192,
                            "Joint Stereo", mp3));
    lib.AddTrack(FiledTrack("ABBA", "Arrival", 1976, "Pop", 1, 1, "When I Kissed the Teacher", 180,
                            192, "Joint Stereo", mp3));
    lib.AddTrack(
        FiledTrack("ABBA", "Waterloo", 1974, "Pop", 1, 1, "Waterloo", 168.75, 160, "Stereo", mp3));
}

// Well-formed for an independent parser.
inline void ExpectWellFormed(const std::string& path) {
    if (!HaveTool("xmllint")) return;
    const ProcessResult result = RunProcess({"xmllint", "--noout", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

// The text an independent parser finds at `xpath` (UTF-8).
inline std::string XPathText(const std::string& path, const std::string& xpath) {
    std::string text = RunProcess({"xmllint", "--xpath", "string(" + xpath + ")", path}).out;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// Switches the number format for the life of the object.
class NumericLocale {
public:
    explicit NumericLocale(const char* name) : ok_(std::setlocale(LC_NUMERIC, name) != nullptr) {}
    ~NumericLocale() { std::setlocale(LC_NUMERIC, "C"); }
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

}  // namespace rv::test
