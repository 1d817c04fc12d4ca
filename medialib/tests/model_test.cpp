// Thousands of random operations on the library and on a plain reference model side by side.

#include <gtest/gtest.h>

#include <clocale>
#include <random>

#include "medialib/media_lib.h"
#include "medialib/tests/reference_model.h"

namespace rv {
namespace {

using test::ReferenceModel;

class Random {
public:
    explicit Random(uint32_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    // A name from a small pool, skewed so that some artists and albums grow long (beyond the
    // sizes that are scanned rather than indexed), in a random letter case, sometimes empty.
    std::string Name(const char* stem, int pool, int skew = 50) {
        if (Chance(3)) return "";
        const int n = Chance(skew) ? Below(3) : Below(pool);
        std::string name = stem + std::to_string(n);
        for (char& c : name) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (letter && Chance(30)) c = static_cast<char>(c ^ 0x20);  // flips the case
        }
        return name;
    }

    TTrack Track() {
        TTrack track;
        track.Artist = Name("Artist ", 40);
        track.Album = Name("Album ", 26);
        track.Title = Name("Song ", 80, 5);
        track.ID = static_cast<uint8_t>(Below(6));
        track.Release = static_cast<uint16_t>(Chance(40) ? 0 : 1995 + Below(4));
        track.Duration = Below(600000) / 997.0;
        track.Bitrate = static_cast<uint16_t>(Below(320));
        track.Genre = Chance(50) ? "Rock" : "Pop";
        track.ChannelMode = "Stereo";
        track.Format = Chance(50) ? "Ogg Vorbis" : "CD Audio";
        track.MediaType = static_cast<uint8_t>(Below(2));
        return track;
    }

    // Mostly valid addresses, sometimes one level off the end or -1.
    TFindIndex Address(const ReferenceModel& model) {
        const auto pick = [this](size_t size) {
            if (Chance(5)) return Below(3) - 1 + static_cast<int>(size) * Below(2);
            return size == 0 ? -1 : Below(static_cast<int>(size));
        };
        TFindIndex index;
        index.Artist = pick(model.artists.size());
        if (model.HasArtist(index.Artist))
            index.Album = pick(model.artists[index.Artist].Albums.size());
        if (model.HasAlbum(index.Artist, index.Album))
            index.Track = pick(model.artists[index.Artist].Albums[index.Album].Tracks.size());
        return index;
    }

private:
    std::mt19937 engine_;
};

void Fill(Random& random, int count, TMediaLib& lib, ReferenceModel& model) {
    for (int i = 0; i < count; ++i) {
        const TTrack track = random.Track();
        ASSERT_EQ(lib.AddTrack(track), model.Add(track));
    }
}

void RunScript(uint32_t seed, int steps) {
    Random random(seed);
    TMediaLib lib;
    ReferenceModel model;
    for (int step = 0; step < steps; ++step) {
        const int op = random.Below(100);
        std::string what;
        if (op < 55) {
            what = "AddTrack";
            const TTrack track = random.Track();
            ASSERT_EQ(lib.AddTrack(track), model.Add(track)) << step;
        } else if (op < 62) {
            what = "DeleteTrack";
            const TFindIndex index = random.Address(model);
            lib.DeleteTrack(index);
            model.DeleteTrack(index.Artist, index.Album, index.Track);
        } else if (op < 65) {
            what = "DeleteAlbum";
            const TFindIndex index = random.Address(model);
            lib.DeleteAlbum(index);
            model.DeleteAlbum(index.Artist, index.Album);
        } else if (op < 67) {
            what = "DeleteArtist";
            const TFindIndex index = random.Address(model);
            lib.DeleteArtist(index);
            model.DeleteArtist(index.Artist);
        } else if (op < 74) {
            what = "SetAlbum";
            TFindIndex index = random.Address(model), expected = index;
            const TTrack fields = random.Track();
            const TAlbum album{
                .Title = fields.Album,
                .Artist = random.Chance(50) ? fields.Artist : lib.GetArtist(index).Name,
                .Genre = fields.Genre,
                .Release = fields.Release,
                .MediaType = fields.MediaType};
            lib.SetAlbum(index, album);
            model.SetAlbum(expected, album);
            ASSERT_EQ(index, expected) << step;
        } else if (op < 80) {
            what = "SetArtist";
            TFindIndex index = random.Address(model), expected = index;
            const std::string name = random.Name("Artist ", 24);
            lib.SetArtist(index, TArtist{.Name = name});
            model.SetArtist(expected, name);
            ASSERT_EQ(index, expected) << step;
        } else if (op < 85) {
            what = "SortAlbums/SortTracks";
            const TFindIndex index = random.Address(model);
            lib.SortAlbums(index.Artist);
            model.SortAlbums(index.Artist);
            lib.SortTracks(index.Artist, index.Album);
            model.SortTracks(index.Artist, index.Album);
        } else if (op < 88) {
            what = "SortArtists";
            lib.SortArtists();
            model.SortArtists();
        } else if (op < 90) {
            what = "SortAll";
            lib.SortAll();
            model.SortAll();
        } else if (op < 92) {
            what = "Merge";
            TMediaLib other;
            ReferenceModel otherModel;
            Fill(random, 1 + random.Below(40), other, otherModel);
            lib.Merge(other);
            for (size_t a = 0; a < otherModel.artists.size(); ++a)
                for (size_t b = 0; b < otherModel.artists[a].Albums.size(); ++b)
                    for (size_t t = 0; t < otherModel.artists[a].Albums[b].Tracks.size(); ++t)
                        model.Add(otherModel.Get(static_cast<int>(a), static_cast<int>(b),
                                                 static_cast<int>(t)));
        } else if (op < 93) {
            what = "Clear";
            if (random.Chance(5)) {
                lib.Clear();
                model = ReferenceModel();
                model.modified = true;
            }
        } else {
            what = "Find";
            const TTrack names = random.Track();
            const std::string artist = random.Chance(30) ? "" : names.Artist;
            const std::string album = random.Chance(30) ? "" : names.Album;
            ASSERT_EQ(lib.Find(artist, album, names.Title), model.Find(artist, album, names.Title))
                << step;
            const TFindIndex index = random.Address(model);
            if (model.HasTrack(index.Artist, index.Album, index.Track)) {
                ASSERT_EQ(lib.GetTrack(index), model.Get(index.Artist, index.Album, index.Track));
            }
            if (model.HasAlbum(index.Artist, index.Album)) {
                ASSERT_EQ(lib.GetAlbumTime(index),
                          ReferenceModel::Sum(model.artists[index.Artist].Albums[index.Album]));
            }
        }
        ASSERT_TRUE(lib.Artists() == model.artists) << "step " << step << " after " << what;
        ASSERT_EQ(lib.AlbumCount(), model.albumCount) << step;
        ASSERT_EQ(lib.TrackCount(), model.trackCount) << step;
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

TEST(LibraryModel, RandomOperationsMatchThePlainModelUnderALocale) {
    if (!std::setlocale(LC_COLLATE, "en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 not installed";
    RunScript(4, 4000);
    std::setlocale(LC_COLLATE, "C");
}

}  // namespace
}  // namespace rv
