#include "medialib/library_writer.h"

#include <cmath>
#include <cstdint>

#include "medialib/library_xml.h"
#include "medialib/media_lib.h"
#include "medialib/xml/xml_stream_writer.h"
#include "platform/text/format.h"
#include "platform/text/round.h"
#include "platform/text/short_date.h"

namespace rv {

namespace {

// The media type's name; a number the table does not know is shown as it stands.
std::string MediaTypeText(std::uint8_t mediaType) {
    const std::string_view name = MediaTypeName(mediaType);
    return name.empty() ? std::to_string(mediaType) : std::string(name);
}

// The tags of the elements written once per artist, album or track, made once per text.
struct LibraryTags {
    explicit LibraryTags(const XmlStreamWriter& out)
        : artist(out.MakeTag("ARTIST")),
          name(out.MakeTag("Name")),  // the one name in mixed case
          album(out.MakeTag("ALBUM")),
          title(out.MakeTag("TITLE")),
          release(out.MakeTag("RELEASE")),
          genre(out.MakeTag("GENRE")),
          mediaType(out.MakeTag("MEDIA_TYPE")),
          time(out.MakeTag("TIME")),
          track(out.MakeTag("TRACK")),
          id(out.MakeTag("ID")),
          duration(out.MakeTag("DURATION")),
          bitrate(out.MakeTag("BITRATE")),
          channelMode(out.MakeTag("CHANNEL_MODE")),
          format(out.MakeTag("FORMAT")) {}

    XmlStreamWriter::Tag artist, name, album, title, release, genre, mediaType, time, track, id,
        duration, bitrate, channelMode, format;
};

}  // namespace

std::string MinutesSeconds(double seconds) {
    // Beyond any real playing time the count saturates instead of overflowing.
    const std::int64_t rounded = Round(std::fmin(std::fmax(seconds, -1e15), 1e15));
    return Format("%2.2lld:%2.2lld", static_cast<long long>(rounded / 60),
                  static_cast<long long>(rounded % 60));
}

void WriteLibrary(const TMediaLib& library, LibraryForm form,
                  const std::function<void(std::string_view)>& sink) {
    const bool file = form == LibraryForm::File;
    const bool tracks = form != LibraryForm::BriefPresentation;
    XmlStreamWriter out(sink, library_xml::kVersion, library_xml::kEncoding);
    out.StartElement(library_xml::kRootName);
    out.Attribute("version", library_xml::kVersion);
    out.ValueElement("LIBRARY_NAME", library.LibraryName());
    if (!file) out.ValueElement("TIMESTAMP", TodayShortDate());
    out.IntegerElement("ARTIST_COUNT", library.GetArtistCount());
    out.IntegerElement("ALBUM_COUNT", library.AlbumCount());
    if (tracks) out.IntegerElement("TRACK_COUNT", library.TrackCount());
    const LibraryTags t(out);
    for (const TArtist& artist : library.Artists()) {
        out.StartElement(t.artist);
        out.ValueElement(t.name, artist.Name);
        for (const TAlbum& album : artist.Albums) {
            out.StartElement(t.album);
            out.ValueElement(t.title, album.Title);
            out.IntegerElement(t.release, album.Release);
            out.ValueElement(t.genre, album.Genre);
            if (file) {
                out.IntegerElement(t.mediaType, album.MediaType);
                out.FloatElement(t.time, album.Time);
            } else {
                out.ValueElement(t.mediaType, MediaTypeText(album.MediaType));
                out.ValueElement(t.time, MinutesSeconds(album.Time));
            }
            if (tracks) {
                for (const TTrack& track : album.Tracks) {
                    out.StartElement(t.track);
                    out.IntegerElement(t.id, track.ID);
                    out.ValueElement(t.title, track.Title);
                    if (file)
                        out.FloatElement(t.duration, track.Duration);
                    else
                        out.ValueElement(t.duration, MinutesSeconds(track.Duration));
                    out.IntegerElement(t.bitrate, track.Bitrate);
                    out.ValueElement(t.channelMode, track.ChannelMode);
                    out.ValueElement(t.format, track.Format);
                    out.EndElement();
                }
            }
            out.EndElement();
        }
        out.EndElement();
    }
    out.Finish();
}

std::string LibraryToText(const TMediaLib& library, LibraryForm form) {
    std::string text;
    WriteLibrary(library, form, [&text](std::string_view piece) { text += piece; });
    return text;
}

}  // namespace rv
