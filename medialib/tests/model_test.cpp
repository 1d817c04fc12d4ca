// Thousands of random operations on the library and on a plain model side by side: the model
// follows the catalogue's rules in their plainest form (linear scans, the exchange sort of albums
// and tracks as a loop, times summed afresh), and after each operation both must agree on every
// entry and count.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "medialib/media_lib.h"
#include "platform/text/ascii_case.h"
#include "platform/text/collate.h"

namespace rv {
namespace {

struct Model {
    std::vector<TArtist> artists{};
    bool modified = false;

    template <class Items, class Name>
    static int First(const Items& items, const std::string& name, Name nameOf, int skip = -1) {
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            if (i != skip && SameText(nameOf(items[i]), name)) return i;
        return -1;
    }
    static double Time(const TAlbum& album) {
        double time = 0;
        for (const TTrack& track : album.Tracks) time += track.Duration;
        return time;
    }
    template <class Items, class Greater>
    static void Sort(Items& items, Greater greater) {
        for (size_t i = 0; i + 1 < items.size(); ++i)
            for (size_t j = items.size() - 1; j > i; --j)
                if (greater(items[i], items[j])) std::swap(items[i], items[j]);
    }
    int Artist(const std::string& name, int skip = -1) const {
        return First(
            artists, name, [](const TArtist& x) { return x.Name; }, skip);
    }
    std::vector<TAlbum>* Albums(int a) {
        return a >= 0 && a < int(artists.size()) ? &artists[a].Albums : nullptr;
    }
    std::vector<TTrack>* Tracks(int a, int b) {
        auto* albums = Albums(a);
        return albums && b >= 0 && b < int(albums->size()) ? &(*albums)[b].Tracks : nullptr;
    }

    TFindIndex Add(const TTrack& track) {
        int a = Artist(track.Artist);
        if (a < 0) artists.emplace_back(), a = int(artists.size()) - 1;
        auto& albums = artists[a].Albums;
        int b = First(albums, track.Album, [](const TAlbum& x) { return x.Title; });
        if (b < 0) albums.emplace_back(), b = int(albums.size()) - 1;
        TAlbum& album = albums[b];
        int t = First(album.Tracks, track.Title, [](const TTrack& x) { return x.Title; });
        if (t < 0) album.Tracks.emplace_back(), t = int(album.Tracks.size()) - 1;
        artists[a].Name = track.Artist;
        album.Title = track.Album;
        album.Genre = track.Genre;
        album.Release = track.Release;
        album.MediaType = track.MediaType;
        album.Tracks[t] = {.ID = track.ID,
                           .Title = track.Title,
                           .Duration = track.Duration,
                           .Bitrate = track.Bitrate,
                           .ChannelMode = track.ChannelMode,
                           .Format = track.Format};
        album.Time = Time(album);
        modified = true;
        return {a, b, t};
    }
    void DeleteArtist(int a) {
        if (!Albums(a)) return;
        artists.erase(artists.begin() + a);
        modified = true;
    }
    void DeleteAlbum(int a, int b) {
        if (!Tracks(a, b)) return;
        Albums(a)->erase(Albums(a)->begin() + b);
        modified = true;
        if (Albums(a)->empty()) DeleteArtist(a);
    }
    void DeleteTrack(int a, int b, int t) {
        auto* list = Tracks(a, b);
        if (!list || t < 0 || t >= int(list->size())) return;
        list->erase(list->begin() + t);
        modified = true;
        if (list->empty()) return DeleteAlbum(a, b);
        (*Albums(a))[b].Time = Time((*Albums(a))[b]);
    }
    void SetAlbum(TFindIndex& i, const TAlbum& album) {
        if (!Tracks(i.Artist, i.Album)) return;
        TAlbum& stored = (*Albums(i.Artist))[i.Album];
        stored.Title = album.Title, stored.Genre = album.Genre;
        stored.Release = album.Release, stored.MediaType = album.MediaType;
        modified = true;
        if (SameText(artists[i.Artist].Name, album.Artist)) return;
        int target = Artist(album.Artist);
        if (target < 0) artists.push_back({album.Artist}), target = int(artists.size()) - 1;
        const TAlbum moved = (*Albums(i.Artist))[i.Album];
        Albums(i.Artist)->erase(Albums(i.Artist)->begin() + i.Album);
        if (Albums(i.Artist)->empty())
            artists.erase(artists.begin() + i.Artist), target -= i.Artist < target;
        Albums(target)->push_back(moved);
        i.Artist = target, i.Album = int(Albums(target)->size()) - 1;
    }
    void SetArtist(TFindIndex& i, const std::string& name) {
        if (!Albums(i.Artist)) return;
        const bool changed = !SameText(artists[i.Artist].Name, name);
        int target = changed ? Artist(name, i.Artist) : -1;
        artists[i.Artist].Name = name;
        modified = true;
        if (target < 0) return;
        const std::vector<TAlbum> moved = artists[i.Artist].Albums;
        artists.erase(artists.begin() + i.Artist);
        target -= i.Artist < target;
        if (i.Album >= 0 && i.Album < int(moved.size())) i.Album += int(Albums(target)->size());
        Albums(target)->insert(Albums(target)->end(), moved.begin(), moved.end());
        i.Artist = target;
    }
    void SortAlbums(int a) {
        if (Albums(a)) Sort(*Albums(a), [](auto& x, auto& y) { return x.Release > y.Release; });
    }
    void SortTracks(int a, int b) {
        if (Tracks(a, b)) Sort(*Tracks(a, b), [](auto& x, auto& y) { return x.ID > y.ID; });
    }
    void SortAll() {
        std::stable_sort(artists.begin(), artists.end(),
                         [](auto& x, auto& y) { return CompareLocale(x.Name, y.Name) < 0; });
        for (int a = 0; a < int(artists.size()); ++a) {
            SortAlbums(a);
            for (int b = 0; b < int(artists[a].Albums.size()); ++b) {
                SortTracks(a, b);
                artists[a].Albums[b].Time = Time(artists[a].Albums[b]);
            }
        }
    }
};

void RunScript(uint32_t seed, int steps) {
    std::mt19937 engine(seed);
    const auto below = [&](int n) { return int(engine() % uint32_t(n)); };
    // Names from small skewed pools, so that some artists and albums grow past the sizes that
    // are scanned rather than indexed; random letter case; now and then empty.
    const auto name = [&](const char* stem, int pool, int skew) {
        if (below(100) < 3) return std::string();
        std::string text = stem + std::to_string(below(100) < skew ? below(3) : below(pool));
        for (char& c : text)
            if (((c | 0x20) >= 'a' && (c | 0x20) <= 'z') && below(100) < 30) c ^= 0x20;
        return text;
    };
    const auto track = [&] {
        const bool hot = below(4) == 0;
        return TTrack{.ID = uint8_t(below(6)),
                      .Title = name("Song ", 60, 0),
                      .Artist = hot ? name("Hot", 1, 0) : name("Artist ", 40, 50),
                      .Album = hot ? name("Hot", 1, 0) : name("Album ", 40, 50),
                      .Genre = below(2) ? "Rock" : "Pop",
                      .Release = uint16_t(below(2) ? 0 : 1995 + below(4)),
                      .Duration = below(600000) / 997.0,
                      .MediaType = uint8_t(below(2))};
    };
    TMediaLib lib;
    Model model;
    for (int step = 0; step < steps; ++step) {
        // The address of a random track, so that long albums are hit often; now and then one
        // level is made to address nothing.
        std::vector<TFindIndex> all;
        for (int a = 0; a < int(model.artists.size()); ++a)
            for (int b = 0; b < int(model.artists[a].Albums.size()); ++b)
                for (int t = 0; t < int(model.artists[a].Albums[b].Tracks.size()); ++t)
                    all.push_back({a, b, t});
        TFindIndex i = all.empty() ? TFindIndex{} : all[below(int(all.size()))];
        if (below(10) == 0)
            (below(3) == 0 ? i.Artist : below(2) ? i.Album : i.Track) = below(2) ? -1 : 999;
        TFindIndex expected = i;
        // One artist with one album is spared moves and renames, so that it grows long.
        const bool hot = SameText(lib.ArtistRef(i.Artist).Name, "hot0");
        const int op = below(100);
        if (op < 55) {
            const TTrack t = track();
            ASSERT_EQ(lib.AddTrack(t), model.Add(t)) << step;
        } else if (op < 62) {
            lib.DeleteTrack(i), model.DeleteTrack(i.Artist, i.Album, i.Track);
        } else if (op < 64 && !hot) {
            lib.DeleteAlbum(i), model.DeleteAlbum(i.Artist, i.Album);
        } else if (op < 65 && !hot) {
            lib.DeleteArtist(i), model.DeleteArtist(i.Artist);
        } else if (op < 74 && !hot) {
            const TTrack t = track();
            const TAlbum album{.Title = below(4) ? lib.AlbumRef(i.Artist, i.Album).Title : t.Album,
                               .Artist = below(4) ? lib.GetArtist(i).Name : t.Artist,
                               .Genre = t.Genre,
                               .Release = t.Release,
                               .MediaType = t.MediaType};
            lib.SetAlbum(i, album), model.SetAlbum(expected, album);
        } else if (op < 80 && !hot) {
            const std::string newName = below(4) ? lib.GetArtist(i).Name : name("Artist ", 40, 50);
            lib.SetArtist(i, TArtist{.Name = newName}), model.SetArtist(expected, newName);
        } else if (op < 82) {
            lib.SortAll(), model.SortAll();
        } else if (op < 84) {
            lib.SortAlbums(i.Artist), model.SortAlbums(i.Artist);
            lib.SortTracks(i.Artist, i.Album), model.SortTracks(i.Artist, i.Album);
        } else if (op < 85 && below(50) == 0) {
            lib.Clear(), model = Model{.modified = true};
        } else if (model.Tracks(i.Artist, i.Album)) {
            ASSERT_EQ(lib.GetAlbumTime(i), Model::Time((*model.Albums(i.Artist))[i.Album]));
        }
        ASSERT_EQ(i, expected) << step;
        ASSERT_TRUE(lib.Artists() == model.artists) << "step " << step << ", operation " << op;
        uint32_t albums = 0, tracks = 0;  // the counts must equal the real totals
        for (const TArtist& artist : model.artists)
            for (const TAlbum& album : artist.Albums) ++albums, tracks += album.Tracks.size();
        ASSERT_EQ(lib.AlbumCount(), albums) << step;
        ASSERT_EQ(lib.TrackCount(), tracks) << step;
        ASSERT_EQ(lib.Modified(), model.modified) << step;
    }
}

TEST(LibraryModel, RandomOperationsMatchThePlainModel) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        RunScript(seed, 4000);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace rv
