#include "medialib/library_reader.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "medialib/library_xml.h"
#include "medialib/media_lib_error.h"
#include "medialib/safe_convert.h"
#include "medialib/xml/name_table.h"
#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_content_handler.h"
#include "medialib/xml/xml_content_reader.h"
#include "medialib/xml/xml_document.h"
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

// Which field each name of the table stands for, found once per name.
class FieldNames {
public:
    explicit FieldNames(const TXmlNameTable& table) : table_(table) {}

    Field Of(XmlNameID id) {
        if (id < 0) return kOther;
        const auto slot = static_cast<size_t>(id);
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

// Written with a point; read with a point or, as older versions wrote it, the locale's separator.
// No duration or time is infinite or not a number: such a text reads as 0, as no number does.
double FloatText(std::string_view text) {
    double value = 0;
    return TryTextToFloat(text, value) && std::isfinite(value) ? value : 0.0;
}

// Builds the library from the content of its file as it is read. Artists, albums and tracks
// nest only in that order; any other element, and anything below a value element but its text,
// is passed over.
class LibraryHandler final : public XmlContentHandler {
public:
    LibraryHandler() : fields_(names_) {}

    TXmlNameTable& Names() { return names_; }

    StoredLibrary Finish() {
        if (level_ == kDocument)
            throw EMediaLibError("The file holds no library: it has no root element.");
        return std::move(library_);
    }

    void StartElement(XmlNameID name) override {
        if (inner_ > 0) {
            ++inner_;
            return;
        }
        const Field field = fields_.Of(name);
        switch (level_) {
            case kDocument:
                StartRoot(name);
                return;
            case kRoot:
                if (field == kArtist) {
                    library_.Artists.emplace_back();
                    Enter(kArtistLevel);
                } else if (field == kLibraryName && !library_.LibraryName) {
                    StartValue(field, &library_.LibraryName.emplace());
                } else {
                    Skip();
                }
                return;
            case kArtistLevel:
                if (field == kAlbum) {
                    TAlbum& album = albums_.emplace_back();
                    album.MediaType = 1;  // files older than the media type held files only
                    Enter(kAlbumLevel);
                } else if (field == kName && First(field)) {
                    StartValue(field, &library_.Artists.back().Name);
                } else {
                    Skip();
                }
                return;
            case kAlbumLevel:
                if (field == kTrack) {
                    tracks_.emplace_back();
                    Enter(kTrackLevel);
                } else {
                    StartAlbumValue(field);
                }
                return;
            case kTrackLevel:
                StartTrackValue(field);
                return;
            case kAfterRoot:
                Skip();
                return;
        }
    }

    void Attribute(XmlNameID name, std::string_view value) override {
        // Only the root's version matters; a name given twice counts with its last value.
        if (inRootTag_ && names_.GetName(name) == "version") version_ = value;
    }

    void StartTagEnd() override {
        if (!inRootTag_) return;
        inRootTag_ = false;
        if (!version_ || !SameText(*version_, library_xml::kVersion))
            throw EMediaLibError(Format(
                "Library files of version \"%s\" cannot be read; this program reads version %s.",
                std::string(version_.value_or("")).c_str(),
                std::string(library_xml::kVersion).c_str()));
    }

    void EndElement() override {
        if (inner_ > 0) {
            if (--inner_ == 0) EndValue();
            return;
        }
        switch (level_) {
            case kTrackLevel:
                Require(Bit(kId) | Bit(kTitle) | Bit(kDuration) | Bit(kBitrate) |
                            Bit(kChannelMode) | Bit(kFormat),
                        "TRACK");
                Leave(kAlbumLevel);
                return;
            case kAlbumLevel:
                Require(Bit(kTitle) | Bit(kGenre) | Bit(kRelease), "ALBUM");
                MoveInto(albums_.back().Tracks, tracks_);
                Leave(kArtistLevel);
                return;
            case kArtistLevel:
                Require(Bit(kName), "ARTIST");
                MoveInto(library_.Artists.back().Albums, albums_);
                Leave(kRoot);
                return;
            case kRoot:
                level_ = kAfterRoot;
                return;
            case kDocument:
            case kAfterRoot:
                return;
        }
    }

    void Text(std::string_view text, bool) override { AddPart(text); }

    void CData(std::string_view text) override {
        AddPart(preserve_ ? text : xml_chars::TrimBlanks(text));
    }

    void Comment(std::string_view) override {}
    void ProcessingInstruction(XmlNameID, std::string_view) override {}

    bool PreserveWhiteSpace() const { return preserve_; }

private:
    enum Level : std::uint8_t {
        kDocument,
        kRoot,
        kArtistLevel,
        kAlbumLevel,
        kTrackLevel,
        kAfterRoot
    };

    void StartRoot(XmlNameID name) {
        const std::string& rootName = names_.GetName(name);
        if (!SameText(rootName, library_xml::kRootName))
            throw EMediaLibError(
                Format("The file holds no library: its root element is %s.", rootName.c_str()));
        level_ = kRoot;
        inRootTag_ = true;
    }

    void StartAlbumValue(Field field) {
        if (!First(field)) return Skip();
        TAlbum& album = albums_.back();
        switch (field) {
            case kTitle:
                return StartValue(field, &album.Title);
            case kGenre:
                return StartValue(field, &album.Genre);
            case kRelease:
            case kMediaType:
            case kTime:
                return StartNumber(field);
            default:
                return Skip();
        }
    }

    void StartTrackValue(Field field) {
        if (!First(field)) return Skip();
        TTrack& track = tracks_.back();
        switch (field) {
            case kTitle:
                return StartValue(field, &track.Title);
            case kChannelMode:
                return StartValue(field, &track.ChannelMode);
            case kFormat:
                return StartValue(field, &track.Format);
            case kId:
            case kDuration:
            case kBitrate:
                return StartNumber(field);
            default:
                return Skip();
        }
    }

    // Artists, albums and tracks: what each has read so far is kept per level.
    void Enter(Level level) {
        level_ = level;
        seen_[level] = 0;
    }
    void Leave(Level level) { level_ = level; }

    // Only the first element of a name counts.
    bool First(Field field) {
        FieldSet& seen = seen_[level_];
        if (seen & Bit(field)) return false;
        seen |= Bit(field);
        return true;
    }

    void Require(FieldSet required, const char* owner) const {
        const FieldSet missing = required & ~seen_[level_];
        if (missing == 0) return;
        int field = 0;
        while (!(missing & Bit(static_cast<Field>(field)))) ++field;
        throw EMediaLibError(Format("The library file is damaged: an element %s has no %s.", owner,
                                    std::string(kFieldNames[field]).c_str()));
    }

    void Skip() {
        inner_ = 1;
        text_ = nullptr;
    }

    // A value element: its text goes to `text`.
    void StartValue(Field field, std::string* text) {
        inner_ = 1;
        value_ = field;
        text_ = text;
    }

    // A number, read when its element ends.
    void StartNumber(Field field) {
        number_.clear();
        StartValue(field, &number_);
    }

    void AddPart(std::string_view part) {
        if (!text_ || part.empty()) return;
        if (!text_->empty()) *text_ += ' ';
        *text_ += part;
    }

    void EndValue() {
        if (!text_) return;
        text_ = nullptr;
        switch (value_) {
            case kLibraryName:
                return BlankControlChars(*library_.LibraryName);
            case kRelease:
                albums_.back().Release = static_cast<std::uint16_t>(SafeStrToInt(number_));
                return;
            case kMediaType:
                albums_.back().MediaType = static_cast<std::uint8_t>(SafeStrToInt(number_));
                return;
            case kTime:
                albums_.back().Time = FloatText(number_);
                return;
            case kId:
                tracks_.back().ID = static_cast<std::uint8_t>(SafeStrToInt(number_));
                return;
            case kDuration:
                tracks_.back().Duration = FloatText(number_);
                return;
            case kBitrate:
                tracks_.back().Bitrate = static_cast<std::uint16_t>(SafeStrToInt(number_));
                return;
            case kName:
                return FitText255(library_.Artists.back().Name);
            case kTitle:
                return FitText255(level_ == kTrackLevel ? tracks_.back().Title
                                                        : albums_.back().Title);
            case kGenre:
                return FitText255(albums_.back().Genre);
            case kChannelMode:
                return FitText255(tracks_.back().ChannelMode);
            case kFormat:
                return FitText255(tracks_.back().Format);
            default:
                return;
        }
    }

    // The albums of an artist and the tracks of an album gather in a vector used over and over,
    // and move to their owner in one piece of the right size when it ends.
    template <class T>
    static void MoveInto(std::vector<T>& owner, std::vector<T>& gathered) {
        owner.reserve(gathered.size());
        owner.insert(owner.end(), std::make_move_iterator(gathered.begin()),
                     std::make_move_iterator(gathered.end()));
        gathered.clear();
    }

    TXmlNameTable names_;
    FieldNames fields_;
    const bool preserve_ = DefaultPreserveWhiteSpace();
    StoredLibrary library_;
    std::vector<TAlbum> albums_;  // of the artist being read
    std::vector<TTrack> tracks_;  // of the album being read
    Level level_ = kDocument;
    FieldSet seen_[kAfterRoot] = {};  // per level, the value elements read
    bool inRootTag_ = false;
    std::optional<std::string> version_;
    int inner_ = 0;                // depth inside a value element or one passed over
    std::string* text_ = nullptr;  // where the text of the value element goes; null: nowhere
    Field value_ = kOther;         // the value element being read
    std::string number_;           // the text of a number, read when its element ends
};

}  // namespace

StoredLibrary ReadLibrary(std::string_view bytes) {
    LibraryHandler handler;
    ReadXmlContent(bytes, handler, handler.Names(), handler.PreserveWhiteSpace());
    return handler.Finish();
}

}  // namespace rv
