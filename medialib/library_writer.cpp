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
    for (const TArtist& artist : library.Artists()) {
        out.StartElement("ARTIST");
        out.ValueElement("Name", artist.Name);  // the one name in mixed case
        for (const TAlbum& album : artist.Albums) {
            out.StartElement("ALBUM");
            out.ValueElement("TITLE", album.Title);
            out.IntegerElement("RELEASE", album.Release);
            out.ValueElement("GENRE", album.Genre);
            if (file) {
                out.IntegerElement("MEDIA_TYPE", album.MediaType);
                out.FloatElement("TIME", album.Time);
            } else {
                out.ValueElement("MEDIA_TYPE", MediaTypeText(album.MediaType));
                out.ValueElement("TIME", MinutesSeconds(album.Time));
            }
            if (tracks) {
                for (const TTrack& track : album.Tracks) {
                    out.StartElement("TRACK");
                    out.IntegerElement("ID", track.ID);
                    out.ValueElement("TITLE", track.Title);
                    if (file)
                        out.FloatElement("DURATION", track.Duration);
                    else
                        out.ValueElement("DURATION", MinutesSeconds(track.Duration));
                    out.IntegerElement("BITRATE", track.Bitrate);
                    out.ValueElement("CHANNEL_MODE", track.ChannelMode);
                    out.ValueElement("FORMAT", track.Format);
                    out.EndElement();
                }
            }
            out.EndElement();
        }
        out.EndElement();
    }
    out.Finish();
}

std::string LibraryText(const TMediaLib& library, LibraryForm form) {
    std::string text;
    WriteLibrary(library, form, [&text](std::string_view piece) { text += piece; });
    return text;
}

}  // namespace rv
