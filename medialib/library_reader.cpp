#include "medialib/library_reader.h"

#include <cstdint>
#include <string_view>

#include "medialib/library_xml.h"
#include "medialib/media_lib_error.h"
#include "medialib/safe_convert.h"
#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_nodes.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

enum Field : std::uint8_t {
    kOther,
    kLibraryName,
    kArtist,
    kName,
    kAlbum,
    kTitle,
    kRelease,
    kGenre,
    kMediaType,
    kTime,
    kTrack,
    kId,
    kDuration,
    kBitrate,
    kChannelMode,
    kFormat,
    kFieldCount
};

constexpr std::string_view kFieldNames[kFieldCount] = {
    "",         "LIBRARY_NAME", "ARTIST",       "NAME",  "ALBUM", "TITLE",
    "RELEASE",  "GENRE",        "MEDIA_TYPE",   "TIME",  "TRACK", "ID",
    "DURATION", "BITRATE",      "CHANNEL_MODE", "FORMAT"};

using FieldSet = std::uint32_t;

constexpr FieldSet Bit(Field field) {
    return FieldSet{1} << field;
}

// Which field each name of the document's table stands for, found once per name.
class FieldNames {
public:
    explicit FieldNames(const TXmlNameTable& table) : table_(table) {}

    Field Of(const TXmlNode& node) {
        const XmlNameID id = node.NodeNameID();
        if (id < 0) return kOther;
        const size_t slot = static_cast<size_t>(id);
        if (slot >= fields_.size()) fields_.resize(slot + 1, kUnknown);
        if (fields_[slot] == kUnknown) fields_[slot] = Lookup(table_.GetName(id));
        return static_cast<Field>(fields_[slot]);
    }

private:
    static constexpr std::uint8_t kUnknown = 0xFF;

    static Field Lookup(std::string_view name) {
        for (int field = kOther + 1; field < kFieldCount; ++field)
            if (SameText(name, kFieldNames[field])) return static_cast<Field>(field);
        return kOther;
    }

    const TXmlNameTable& table_;
    std::vector<std::uint8_t> fields_;
};

// The text of a value element. The parser keeps an element's only text as its value, which is
// read here without a copy; anything else goes through Text().
class ElementText {
public:
    explicit ElementText(const TXmlElement& element) {
        const XmlValue& value = element.Value();
        if (element.Children().Size() == 0 && value.Type() == XmlVarType::Text) {
            view_ = value.StringData();
        } else {
            copy_ = element.Text();
            view_ = copy_;
        }
    }
    std::string_view View() const { return view_; }

private:
    std::string copy_;
    std::string_view view_;
};

// The element's only text is taken over rather than copied: the document goes right after.
void AssignText255(std::string& field, TXmlElement& element) {
    if (element.Children().Size() == 0 && element.Value().Type() == XmlVarType::Text) {
        field = element.TakeValue().TakeStringData();
        if (field.size() > kText255) field = Text255(field);
        return;
    }
    const ElementText text(element);
    if (text.View().size() > kText255)
        field = Text255(text.View());
    else
        field.assign(text.View());
}

int32_t IntText(const TXmlElement& element) {
    return SafeStrToInt(ElementText(element).View());
}

// Written with a point; read with a point or, as older versions wrote it, the locale's separator.
double FloatText(const TXmlElement& element) {
    double value = 0;
    return TryTextToFloat(ElementText(element).View(), value) ? value : 0.0;
}

class Reader {
public:
    explicit Reader(const TXmlDocument& document) : fields_(*document.NameTable()) {}

    StoredLibrary Read(TXmlElement& root) {
        StoredLibrary library;
        library.Artists.reserve(Count(root, kArtist));
        ForEachElement(root, [&](TXmlElement& child, Field field) {
            if (field == kLibraryName && !library.LibraryName)
                library.LibraryName = std::string(ElementText(child).View());
            else if (field == kArtist)
                ReadArtist(library.Artists.emplace_back(), child);
        });
        return library;
    }

private:
    template <class Visit>
    void ForEachElement(const TXmlNode& parent, Visit&& visit) {
        for (const IXmlNode& child : parent.Children().Items())
            if (TXmlElement* element = child->AsElement()) visit(*element, fields_.Of(*element));
    }

    // Arrays are sized once: the catalogue keeps them as they are.
    size_t Count(const TXmlNode& parent, Field wanted) {
        size_t count = 0;
        ForEachElement(parent, [&](const TXmlElement&, Field field) { count += field == wanted; });
        return count;
    }

    // Only the first element of a name counts.
    static bool First(FieldSet& seen, Field field) {
        if (seen & Bit(field)) return false;
        seen |= Bit(field);
        return true;
    }

    static void Require(FieldSet seen, FieldSet required, const char* owner) {
        const FieldSet missing = required & ~seen;
        if (missing == 0) return;
        int field = 0;
        while (!(missing & Bit(static_cast<Field>(field)))) ++field;
        throw EMediaLibError(Format("The library file is damaged: an element %s has no %s.", owner,
                                    std::string(kFieldNames[field]).c_str()));
    }

    void ReadArtist(TArtist& artist, TXmlElement& element) {
        artist.Albums.reserve(Count(element, kAlbum));
        FieldSet seen = 0;
        ForEachElement(element, [&](TXmlElement& child, Field field) {
            if (field == kAlbum)
                ReadAlbum(artist.Albums.emplace_back(), child);
            else if (field == kName && First(seen, field))
                AssignText255(artist.Name, child);
        });
        Require(seen, Bit(kName), "ARTIST");
    }

    void ReadAlbum(TAlbum& album, TXmlElement& element) {
        album.Tracks.reserve(Count(element, kTrack));
        album.MediaType = 1;  // files older than the media type held files only
        FieldSet seen = 0;
        ForEachElement(element, [&](TXmlElement& child, Field field) {
            if (field == kTrack) {
                ReadTrack(album.Tracks.emplace_back(), child);
                return;
            }
            if (!First(seen, field)) return;
            switch (field) {
                case kTitle:
                    AssignText255(album.Title, child);
                    break;
                case kGenre:
                    AssignText255(album.Genre, child);
                    break;
                case kRelease:
                    album.Release = static_cast<std::uint16_t>(IntText(child));
                    break;
                case kMediaType:
                    album.MediaType = static_cast<std::uint8_t>(IntText(child));
                    break;
                case kTime:
                    album.Time = FloatText(child);
                    break;
                default:
                    break;
            }
        });
        Require(seen, Bit(kTitle) | Bit(kGenre) | Bit(kRelease), "ALBUM");
    }

    void ReadTrack(TTrack& track, TXmlElement& element) {
        FieldSet seen = 0;
        ForEachElement(element, [&](TXmlElement& child, Field field) {
            if (!First(seen, field)) return;
            switch (field) {
                case kId:
                    track.ID = static_cast<std::uint8_t>(IntText(child));
                    break;
                case kTitle:
                    AssignText255(track.Title, child);
                    break;
                case kDuration:
                    track.Duration = FloatText(child);
                    break;
                case kBitrate:
                    track.Bitrate = static_cast<std::uint16_t>(IntText(child));
                    break;
                case kChannelMode:
                    AssignText255(track.ChannelMode, child);
                    break;
                case kFormat:
                    AssignText255(track.Format, child);
                    break;
                default:
                    break;
            }
        });
        Require(seen,
                Bit(kId) | Bit(kTitle) | Bit(kDuration) | Bit(kBitrate) | Bit(kChannelMode) |
                    Bit(kFormat),
                "TRACK");
    }

    FieldNames fields_;
};

}  // namespace

StoredLibrary ReadLibrary(TXmlDocument& document) {
    const IXmlElement root = document.DocumentElement();
    if (!root) throw EMediaLibError("The file holds no library: it has no root element.");
    if (!SameText(root->NodeName(), library_xml::kRootName))
        throw EMediaLibError(
            Format("The file holds no library: its root element is %s.", root->NodeName().c_str()));
    const std::string version = root->GetAttr("version");
    if (!SameText(version, library_xml::kVersion))
        throw EMediaLibError(
            Format("Library files of version \"%s\" cannot be read; this "
                   "program reads version %s.",
                   version.c_str(), std::string(library_xml::kVersion).c_str()));
    return Reader(document).Read(*root);
}

}  // namespace rv
