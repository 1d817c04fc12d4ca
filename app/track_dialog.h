#pragma once

#include <string>

#include "app/entry_dialog.h"
#include "medialib/records.h"

namespace rv {

// The editor of one track: title, number, time, bit rate, channel mode, format, artist, album.
// OK takes no track without an artist or an album.
class Tdlg_rv_Track : public TEntryDialog {
public:
    explicit Tdlg_rv_Track(const std::string& caption);
    std::string ClassName() const override { return "Tdlg_rv_Track"; }

    TEdit *eTitle, *eTrack, *eMin, *eSec, *eBR, *eFormat, *eArtist, *eAlbum;
    TComboBox* eCM;

    void Fill(const TTrack& track);
    // The fields into the track; Genre, Release and MediaType stay as they are. Minutes and
    // seconds left as filled keep the track's exact duration; typed ones give whole seconds,
    // a negative number counting as 0.
    void CopyTo(TTrack& track) const;

private:
    std::string filledMin_, filledSec_;
};

// Edits `track` in the dialog titled `caption`; the track changes only when OK closes it.
bool ExecuteTrackDlg(const std::string& caption, TTrack& track);

}  // namespace rv
