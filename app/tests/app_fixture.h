#pragma once
// The main window over a library of known content, with the dialogs answered from a script and
// the settings kept in a temporary folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"

namespace rv::test {

inline TTrack MakeTrack(const char* artist, const char* album, int id, const char* title,
                        double seconds, int bitrate = 192) {
    return {.ID = static_cast<std::uint8_t>(id),
            .Title = title,
            .Artist = artist,
            .Album = album,
            .Duration = seconds,
            .Bitrate = static_cast<std::uint16_t>(bitrate),
            .ChannelMode = bitrate > 200 ? "Joint Stereo" : "Stereo",
            .Format = bitrate == 0 ? "CD Audio" : "MPEG 1 Layer III",
            .MediaType = static_cast<std::uint8_t>(bitrate == 0 ? 0 : 1)};
}

// Artists in the order they are filed: Davis (two albums), Coltrane, Abba (an album of release
// 0). The tree shows them sorted: Abba, Coltrane, Davis.
inline void FillLibrary(TMediaLib& library) {
    auto add = [&](TTrack t, int release, const char* genre) {
        t.Release = static_cast<std::uint16_t>(release);
        t.Genre = genre;
        library.AddTrack(t);
    };
    add(MakeTrack("Davis, Miles", "Kind of Blue", 2, "Freddie Freeloader", 586.4, 256), 1959,
        "Jazz");
    add(MakeTrack("Davis, Miles", "Kind of Blue", 1, "So What", 562, 256), 1959, "Jazz");
    add(MakeTrack("Davis, Miles", "Kind of Blue", 3, "Blue in Green", 337.5, 128), 1959, "Jazz");
    add(MakeTrack("Davis, Miles", "Bitches Brew", 1, "Pharaoh's Dance", 1200, 0), 1970, "Fusion");
    add(MakeTrack("Coltrane, John", "Giant Steps", 1, "Giant Steps", 283, 160), 1960, "Bebop");
    add(MakeTrack("Abba", "Arrival", 1, "Dancing Queen", 231), 0, "Pop");
    add(MakeTrack("Abba", "Arrival", 2, "abacus", 120), 0, "Pop");
}

class AppTest : public SettingsSandbox {
protected:
    AppTest() {
        App();
        window = std::make_unique<Twnd_rv_Main>(nullptr);
    }
    ~AppTest() override {
        window.reset();
        App().OnException = nullptr;
    }

    Twnd_rv_Main& W() { return *window; }
    void Settle() {
        for (int i = 0; i < 3; ++i) App().ProcessMessages();
    }
    // The window shown with the library of FillLibrary, as saved and unmodified.
    void ShowLibrary() {
        FillLibrary(W().Library());
        W().Show();
        W().RefreshTree(-1, -1);
        Settle();
    }

    TScriptedDialogs dialogs;
    std::unique_ptr<Twnd_rv_Main> window;
};

// Handles the window messages until `done` holds; false after five seconds without it.
inline bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        App().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The addresses of a view's nodes, in order.
inline std::vector<TFindIndex> Addresses(TBaseVirtualTree* view) {
    std::vector<TFindIndex> out;
    for (PVirtualNode n = view->GetFirst(); n; n = view->GetNext(n))
        out.push_back(Twnd_rv_Main::NodeIndex(view, n));
    return out;
}

// The texts of one column, in the order the view shows its nodes.
inline std::vector<std::string> ColumnTexts(TVirtualStringTree* view, int column) {
    std::vector<std::string> out;
    for (PVirtualNode n = view->GetFirst(); n; n = view->GetNext(n))
        out.push_back(view->GetText(n, column));
    return out;
}

// Every node of the artist tree as "artist" or "artist / album", sorted: the tree's own order is
// the locale's.
inline std::vector<std::string> Outline(TVirtualStringTree* tree) {
    std::vector<std::string> out;
    for (PVirtualNode n = tree->GetFirst(); n; n = tree->GetNext(n))
        out.push_back(tree->GetNodeLevel(n) == 0
                          ? tree->GetText(n, 0)
                          : tree->GetText(n->Parent, 0) + " / " + tree->GetText(n, 0));
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace rv::test
