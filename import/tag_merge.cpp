#include "import/tag_merge.h"

#include "medialib/safe_convert.h"
#include "platform/text/utf8.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

void FillText(std::string& field, const std::string& value) {
    if (field.empty()) field = CleanTagText(value, kText255);
}

}  // namespace

void MergeTag(TTrack& track, const TagValues& tag) {
    // Fields narrower than the numbers keep their low bits.
    if (track.ID == 0) track.ID = static_cast<std::uint8_t>(tag.Track);
    FillText(track.Title, tag.Title);
    FillText(track.Artist, tag.Artist);
    FillText(track.Album, tag.Album);
    FillText(track.Genre, tag.Genre);
    if (track.Release == 0)
        track.Release = static_cast<std::uint16_t>(SafeStrToInt(CleanTagText(tag.Year)));
}

void MergeTag(TTrack& track, const TID3v1& tag) {
    if (tag.Exists())
        MergeTag(track,
                 {tag.Track(), tag.Title(), tag.Artist(), tag.Album(), tag.GetGenre(), tag.Year()});
}

void MergeTag(TTrack& track, const TID3v2& tag) {
    if (tag.Exists())
        MergeTag(track,
                 {tag.Track(), tag.Title(), tag.Artist(), tag.Album(), tag.Genre(), tag.Year()});
}

void MergeTag(TTrack& track, const TAPEtag& tag) {
    if (tag.Exists())
        MergeTag(track,
                 {tag.Track(), tag.Title(), tag.Artist(), tag.Album(), tag.Genre(), tag.Year()});
}

void MergeTag(TTrack& track, const TVorbisComment& comment) {
    if (!comment.GetValid()) return;
    MergeTag(track,
             {static_cast<std::uint32_t>(SafeStrToInt(comment.GetValue("TrackNumber"))),
              comment.GetValue("Title"), comment.GetValue("Artist"), comment.GetValue("Album"),
              comment.GetValue("Genre"), comment.GetValue("Year")});
}

}  // namespace rv
