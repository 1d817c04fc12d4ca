#pragma once

#include <string>
#include <vector>

#include "medialib/records.h"
#include "platform/text/ascii_case.h"
#include "platform/text/collate.h"

// The catalogue's rules in their plainest form (linear scans, the exchange sort as a loop, times
// summed afresh), to check the library against. Texts are assumed short (no 255 cut).
namespace rv::test {

struct ReferenceModel {
    std::vector<TArtist> artists;
    uint32_t albumCount = 0;
    uint32_t trackCount = 0;
    bool modified = false;

    static double Sum(const TAlbum& album) {
        double time = 0;
        for (const TTrack& track : album.Tracks) time += track.Duration;
        return time;
    }

    template <class Items, class NameOf>
    static int First(const Items& items, const std::string& name, NameOf nameOf) {
        for (size_t i = 0; i < items.size(); ++i)
            if (SameText(nameOf(items[i]), name)) return static_cast<int>(i);
        return -1;
    }
    int FirstArtist(const std::string& name) const {
        return First(artists, name, [](const TArtist& x) { return x.Name; });
    }

    bool HasArtist(int a) const { return a >= 0 && a < static_cast<int>(artists.size()); }
    bool HasAlbum(int a, int b) const {
        return HasArtist(a) && b >= 0 && b < static_cast<int>(artists[a].Albums.size());
    }
    bool HasTrack(int a, int b, int t) const {
        return HasAlbum(a, b) && t >= 0 && t < static_cast<int>(artists[a].Albums[b].Tracks.size());
    }

    TFindIndex Add(const TTrack& track) {
        int a = FirstArtist(track.Artist);
        if (a < 0) {
            artists.emplace_back();
            a = static_cast<int>(artists.size()) - 1;
        }
        TArtist& artist = artists[a];
        int b = First(artist.Albums, track.Album, [](const TAlbum& x) { return x.Title; });
        if (b < 0) {
            artist.Albums.emplace_back();
            b = static_cast<int>(artist.Albums.size()) - 1;
            ++albumCount;
        }
        TAlbum& album = artist.Albums[b];
        int t = First(album.Tracks, track.Title, [](const TTrack& x) { return x.Title; });
        if (t < 0) {
            album.Tracks.emplace_back();
            t = static_cast<int>(album.Tracks.size()) - 1;
            ++trackCount;
        }
        artist.Name = track.Artist;
        album.Title = track.Album;
        album.Genre = track.Genre;
        album.Release = track.Release;
        album.MediaType = track.MediaType;
        album.Tracks[t] = TTrack{.ID = track.ID,
                                 .Title = track.Title,
                                 .Duration = track.Duration,
                                 .Bitrate = track.Bitrate,
                                 .ChannelMode = track.ChannelMode,
                                 .Format = track.Format};
        album.Time = Sum(album);
        modified = true;
        return {a, b, t};
    }

    // Look-up by names, step by step as the catalogue defines it.
    TFindIndexArray Find(const std::string& artistName, const std::string& albumTitle,
                         const std::string& trackTitle) const {
        TFindIndexArray r;
        for (int a = 0; a < static_cast<int>(artists.size()); ++a) {
            if (!artistName.empty() && !SameText(artistName, artists[a].Name)) continue;
            if (!artistName.empty()) r.push_back({a, -1, -1});
            const auto& albums = artists[a].Albums;
            for (int b = 0; b < static_cast<int>(albums.size()); ++b) {
                if (!albumTitle.empty() && !SameText(albumTitle, albums[b].Title)) continue;
                if (!r.empty() && r.back().Album == -1)
                    r.back().Album = b;
                else
                    r.push_back({a, b, -1});
                for (int t = 0; t < static_cast<int>(albums[b].Tracks.size()); ++t) {
                    if (!SameText(albums[b].Tracks[t].Title, trackTitle)) continue;
                    if (r.back().Track == -1)
                        r.back().Track = t;
                    else
                        r.push_back({a, b, t});
                }
                if (!albumTitle.empty()) break;
            }
            if (!artistName.empty()) break;
        }
        return r;
    }

    TTrack Get(int a, int b, int t) const {
        const TAlbum& album = artists[a].Albums[b];
        TTrack track = album.Tracks[t];
        track.Artist = artists[a].Name;
        track.Album = album.Title;
        track.Genre = album.Genre;
        track.Release = album.Release;
        track.MediaType = album.MediaType;
        return track;
    }

    void DeleteArtist(int a) {
        if (!HasArtist(a)) return;
        for (const TAlbum& album : artists[a].Albums) {
            --albumCount;
            trackCount -= static_cast<uint32_t>(album.Tracks.size());
        }
        artists.erase(artists.begin() + a);
        modified = true;
    }
    void DeleteAlbum(int a, int b) {
        if (!HasAlbum(a, b)) return;
        auto& albums = artists[a].Albums;
        trackCount -= static_cast<uint32_t>(albums[b].Tracks.size());
        --albumCount;
        albums.erase(albums.begin() + b);
        modified = true;
        if (albums.empty()) DeleteArtist(a);
    }
    void DeleteTrack(int a, int b, int t) {
        if (!HasTrack(a, b, t)) return;
        auto& tracks = artists[a].Albums[b].Tracks;
        tracks.erase(tracks.begin() + t);
        --trackCount;
        modified = true;
        if (tracks.empty())
            DeleteAlbum(a, b);
        else
            artists[a].Albums[b].Time = Sum(artists[a].Albums[b]);
    }

    void SetAlbum(TFindIndex& index, const TAlbum& album) {
        if (!HasAlbum(index.Artist, index.Album)) return;
        const bool moving = !SameText(artists[index.Artist].Name, album.Artist);
        TAlbum& stored = artists[index.Artist].Albums[index.Album];
        stored.Title = album.Title;
        stored.Genre = album.Genre;
        stored.Release = album.Release;
        stored.MediaType = album.MediaType;
        modified = true;
        if (!moving) return;
        int target = FirstArtist(album.Artist);
        if (target < 0) {
            artists.push_back(TArtist{.Name = album.Artist});
            target = static_cast<int>(artists.size()) - 1;
        }
        auto& albums = artists[index.Artist].Albums;
        TAlbum moved = albums[index.Album];
        albums.erase(albums.begin() + index.Album);
        if (albums.empty()) {
            artists.erase(artists.begin() + index.Artist);
            if (index.Artist < target) --target;
        }
        artists[target].Albums.push_back(moved);
        index.Artist = target;
        index.Album = static_cast<int>(artists[target].Albums.size()) - 1;
    }

    void SetArtist(TFindIndex& index, const std::string& name) {
        if (!HasArtist(index.Artist)) return;
        const bool changed = !SameText(artists[index.Artist].Name, name);
        int target = -1;
        for (int a = 0; changed && a < static_cast<int>(artists.size()) && target < 0; ++a)
            if (a != index.Artist && SameText(artists[a].Name, name)) target = a;
        artists[index.Artist].Name = name;
        modified = true;
        if (target < 0) return;
        const std::vector<TAlbum> albums = artists[index.Artist].Albums;
        artists.erase(artists.begin() + index.Artist);
        if (index.Artist < target) --target;
        const int shift = static_cast<int>(artists[target].Albums.size());
        for (const TAlbum& album : albums) artists[target].Albums.push_back(album);
        if (index.Album >= 0 && index.Album < static_cast<int>(albums.size())) index.Album += shift;
        index.Artist = target;
    }

    template <class Items, class Greater>
    static void ExchangeSort(Items& items, Greater greater) {
        for (size_t i = 0; i + 1 < items.size(); ++i)
            for (size_t j = items.size() - 1; j > i; --j)
                if (greater(items[i], items[j])) std::swap(items[i], items[j]);
    }
    void SortArtists() {
        ExchangeSort(artists, [](const TArtist& x, const TArtist& y) {
            return CompareLocale(x.Name, y.Name) > 0;
        });
    }
    void SortAlbums(int a) {
        if (!HasArtist(a)) return;
        ExchangeSort(artists[a].Albums,
                     [](const TAlbum& x, const TAlbum& y) { return x.Release > y.Release; });
    }
    void SortTracks(int a, int b) {
        if (!HasAlbum(a, b)) return;
        ExchangeSort(artists[a].Albums[b].Tracks,
                     [](const TTrack& x, const TTrack& y) { return x.ID > y.ID; });
    }
    void SortAll() {
        SortArtists();
        for (size_t a = 0; a < artists.size(); ++a) {
            SortAlbums(static_cast<int>(a));
            for (size_t b = 0; b < artists[a].Albums.size(); ++b) {
                SortTracks(static_cast<int>(a), static_cast<int>(b));
                artists[a].Albums[b].Time = Sum(artists[a].Albums[b]);
            }
        }
    }
};

}  // namespace rv::test
