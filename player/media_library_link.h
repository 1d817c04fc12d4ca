#pragma once

#include <string>

namespace rv {

// What the player window's "Add to Media Library" needs of the program's main window, which
// implements it: whether a library is showing, and filing an audio file in it. The player finds
// it on the main window it was given; a main window without it adds nothing.
class TMediaLibraryLink {
public:
    // A library exists and its views are showing.
    virtual bool LibraryShown() const = 0;
    // Files the track of the audio file in the library and shows it selected there.
    virtual void AddFileTrack(const std::string& fileName) = 0;

protected:
    ~TMediaLibraryLink() = default;
};

}  // namespace rv
