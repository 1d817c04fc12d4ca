#include "medialib/library_writer.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "medialib/library_xml.h"
#include "medialib/media_lib.h"
#include "platform/text/format.h"
#include "platform/text/round.h"
#include "platform/text/short_date.h"

namespace rv {

namespace {

// Element names, resolved once per document.
struct ElementNames {
    explicit ElementNames(TXmlNameTable& table)
        : libraryName(table.GetID("LIBRARY_NAME")),
          timestamp(table.GetID("TIMESTAMP")),
          artistCount(table.GetID("ARTIST_COUNT")),
          albumCount(table.GetID("ALBUM_COUNT")),
          trackCount(table.GetID("TRACK_COUNT")),
          artist(table.GetID("ARTIST")),
          name(table.GetID("Name")),  // the one name in mixed case
          album(table.GetID("ALBUM")),
          title(table.GetID("TITLE")),
          release(table.GetID("RELEASE")),
          genre(table.GetID("GENRE")),
          mediaType(table.GetID("MEDIA_TYPE")),
          time(table.GetID("TIME")),
          track(table.GetID("TRACK")),
          id(table.GetID("ID")),
          duration(table.GetID("DURATION")),
          bitrate(table.GetID("BITRATE")),
          channelMode(table.GetID("CHANNEL_MODE")),
          format(table.GetID("FORMAT")) {}

    XmlNameID libraryName, timestamp, artistCount, albumCount, trackCount, artist, name, album,
        title, release, genre, mediaType, time, track, id, duration, bitrate, channelMode, format;
};

// Values are kept as the element's own value, which the writer puts on the element's line just
// as a text child would be.
void AppendValue(TXmlNode& parent, XmlNameID nameID, std::string_view text) {
    parent.AppendElement(nameID)->SetText(text);  // empty: <NAME/>
}

void AppendNumber(TXmlNode& parent, XmlNameID nameID, std::uint32_t value) {
    parent.AppendElement(nameID)->SetNodeValue(XmlValue::Integer(XmlVarType::UInt32, value));
}

// A float value's text form has a point whatever the locale.
void AppendFloat(TXmlNode& parent, XmlNameID nameID, double value) {
    parent.AppendElement(nameID)->SetNodeValue(XmlValue::Float64(value));
}

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

IXmlDocument WriteLibraryDocument(const TMediaLib& library, LibraryForm form) {
    const bool file = form == LibraryForm::File;
    const bool tracks = form != LibraryForm::BriefPresentation;
    IXmlDocument document =
        MakeXmlDocument(library_xml::kRootName, library_xml::kVersion, library_xml::kEncoding);
    const ElementNames n(*document->NameTable());
    TXmlElement& root = *document->DocumentElement();
    root.SetAttr("version", library_xml::kVersion);
    AppendValue(root, n.libraryName, library.LibraryName());
    if (!file) AppendValue(root, n.timestamp, TodayShortDate());
    AppendNumber(root, n.artistCount, static_cast<std::uint32_t>(library.GetArtistCount()));
    AppendNumber(root, n.albumCount, library.AlbumCount());
    if (tracks) AppendNumber(root, n.trackCount, library.TrackCount());
    for (const TArtist& artist : library.Artists()) {
        IXmlElement artistNode = root.AppendElement(n.artist);
        AppendValue(*artistNode, n.name, artist.Name);
        for (const TAlbum& album : artist.Albums) {
            IXmlElement albumNode = artistNode->AppendElement(n.album);
            AppendValue(*albumNode, n.title, album.Title);
            AppendNumber(*albumNode, n.release, album.Release);
            AppendValue(*albumNode, n.genre, album.Genre);
            if (file) {
                AppendNumber(*albumNode, n.mediaType, album.MediaType);
                AppendFloat(*albumNode, n.time, album.Time);
            } else {
                AppendValue(*albumNode, n.mediaType, MediaTypeText(album.MediaType));
                AppendValue(*albumNode, n.time, MinutesSeconds(album.Time));
            }
            if (!tracks) continue;
            for (const TTrack& track : album.Tracks) {
                IXmlElement trackNode = albumNode->AppendElement(n.track);
                AppendNumber(*trackNode, n.id, track.ID);
                AppendValue(*trackNode, n.title, track.Title);
                if (file)
                    AppendFloat(*trackNode, n.duration, track.Duration);
                else
                    AppendValue(*trackNode, n.duration, MinutesSeconds(track.Duration));
                AppendNumber(*trackNode, n.bitrate, track.Bitrate);
                AppendValue(*trackNode, n.channelMode, track.ChannelMode);
                AppendValue(*trackNode, n.format, track.Format);
            }
        }
    }
    return document;
}

}  // namespace rv
