#include "app/track_dialog.h"

#include <algorithm>
#include <cstdint>

#include "app/time_text.h"
#include "medialib/safe_convert.h"
#include "platform/text/format.h"

namespace rv {

Tdlg_rv_Track::Tdlg_rv_Track(const std::string& caption) : TEntryDialog(caption, 340, 270) {
    SetName("dlg_rv_Track");
    constexpr int kField = 100;
    eTitle = AddEdit("eTitle", 8, 8, 324);
    StartRows(40);
    eTrack = AddEdit("eTrack", kField, AddRow("Track:"), 40);
    const int time = AddRow("Time:");
    eMin = AddEdit("eMin", kField, time, 32);
    AddLabel(kField + 35, time + 3, ":");
    eSec = AddEdit("eSec", kField + 42, time, 32);
    eBR = AddEdit("eBR", kField, AddRow("Bitrate:"), 50);
    eCM = AddList("eCM", kField, AddRow("Channel Mode:"), 130, csDropDown,
                  {"Stereo", "Joint Stereo", "Forced Stereo", "Mono"});
    eFormat = AddEdit("eFormat", kField, AddRow("Format:"), 232);
    eArtist = AddEdit("eArtist", kField, AddRow("Artist:"), 232);
    eAlbum = AddEdit("eAlbum", kField, AddRow("Album:"), 232);
    Require(eArtist, "Enter the name of the track's artist.");
    Require(eAlbum, "Enter the title of the track's album.");
    SetActiveControl(eTitle);
}

void Tdlg_rv_Track::Fill(const TTrack& track) {
    eArtist->SetText(track.Artist);
    eAlbum->SetText(track.Album);
    eTrack->SetText(std::to_string(track.ID));
    eTitle->SetText(track.Title);
    const TMinSec time = SplitMinSec(track.Duration);
    filledMin_ = Format("%2.2lld", static_cast<long long>(time.Minutes));
    filledSec_ = Format("%2.2lld", static_cast<long long>(time.Seconds));
    eMin->SetText(filledMin_);
    eSec->SetText(filledSec_);
    eBR->SetText(std::to_string(track.Bitrate));
    eCM->SetText(track.ChannelMode);
    eFormat->SetText(track.Format);
}

void Tdlg_rv_Track::CopyTo(TTrack& track) const {
    track.Artist = EntryText(eArtist->Text());
    track.Album = EntryText(eAlbum->Text());
    track.Title = EntryText(eTitle->Text());
    track.ChannelMode = EntryText(eCM->Text());
    track.Format = EntryText(eFormat->Text());
    track.ID = static_cast<std::uint8_t>(SafeStrToInt(eTrack->Text()));
    if (eMin->Text() != filledMin_ || eSec->Text() != filledSec_) {
        const double minutes = std::max(0, SafeStrToInt(eMin->Text()));
        const double seconds = std::max(0, SafeStrToInt(eSec->Text()));
        track.Duration = minutes * 60 + seconds;
    }
    track.Bitrate = static_cast<std::uint16_t>(SafeStrToInt(eBR->Text()));
}

bool ExecuteTrackDlg(const std::string& caption, TTrack& track) {
    Tdlg_rv_Track dialog(caption);
    dialog.Fill(track);
    if (!dialog.Execute()) return false;
    dialog.CopyTo(track);
    return true;
}

}  // namespace rv
