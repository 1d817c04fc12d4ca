// Filing, sorting and merging a catalogue of 10,000 and of 100,000 tracks: artists of four albums
// of five tracks with random names, filed album by album as a folder scan delivers them, or with
// every track in random order (the ...Shuffled works, which measure the memory more than the
// code). The time per track should not grow with the size of the library: compare the 100k
// works with the 10k ones (about 10 times, not 100). Build100kOver10k and
// BuildShuffled100kOver10k give that figure for filing and sorting, in both orders, as the median
// of paired rounds.
//
// The references are the least work of any catalogue that keeps each album's tracks together:
// copying every track into its album, the album known beforehand (Place...), and reading every
// track's number and duration once in the library's order, as sorting must (Visit...). Their own
// 100k/10k figures are what a shuffled input costs through the memory alone, whatever the code;
// File...OverPlace gives our filing against its reference at each size.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/support/paired_runs.h"
#include "medialib/media_lib.h"

namespace {

std::string RandomName(std::mt19937& random, size_t length) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    std::string name;
    for (size_t i = 0; i < length; ++i) name += letters[random() % (sizeof letters - 1)];
    return name;
}

// The tracks in the order they are filed. Their texts are made in that order, as a reader or a
// scan hands them over: texts left where they were drawn would lie all over the memory for a
// shuffled input, and every read of them would wait for it, a cost of the input and not of
// filing. The drawn records stay, so that no freed texts leave gaps among the library's own.
const std::vector<rv::TTrack>& Tracks(int artists, bool shuffled = false) {
    static std::map<std::pair<int, bool>,
                    std::pair<std::vector<rv::TTrack>, std::vector<rv::TTrack>>>
        cache;
    auto& [drawn, tracks] = cache[{artists, shuffled}];
    if (!tracks.empty()) return tracks;
    std::mt19937 random(static_cast<uint32_t>(artists));
    for (int a = 0; a < artists; ++a) {
        const std::string artist = RandomName(random, 6 + random() % 14) + std::to_string(a);
        for (int b = 0; b < 4; ++b) {
            const std::string album = RandomName(random, 4 + random() % 20);
            const uint16_t release = static_cast<uint16_t>(1960 + random() % 60);
            for (int t = 0; t < 5; ++t) {
                rv::TTrack track;
                track.Artist = artist;
                track.Album = album;
                track.Title = RandomName(random, 4 + random() % 24);
                track.ID = static_cast<uint8_t>(1 + random() % 12);
                track.Release = release;
                track.Genre = "Rock";
                track.Duration = (random() % 600000) / 1000.0;
                track.Bitrate = 192;
                track.ChannelMode = "Joint Stereo";
                track.Format = "MPEG 1 Layer III";
                track.MediaType = 1;
                drawn.push_back(track);
            }
        }
    }
    if (shuffled) std::shuffle(drawn.begin(), drawn.end(), random);
    tracks.assign(drawn.begin(), drawn.end());
    return tracks;
}

void FileAll(rv::TMediaLib& lib, const std::vector<rv::TTrack>& tracks) {
    for (const rv::TTrack& track : tracks) lib.AddTrack(track);
}

template <int Artists, bool Shuffled = false>
void FileSortMerge(benchmark::State& state) {
    const auto& tracks = Tracks(Artists, Shuffled);
    for (auto _ : state) {
        rv::TMediaLib lib, copy;
        FileAll(lib, tracks);
        lib.SortAll();
        copy.Merge(lib);
        benchmark::DoNotOptimize(copy.TrackCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks.size()));
}

template <int Artists>
void File(benchmark::State& state) {
    const auto& tracks = Tracks(Artists);
    for (auto _ : state) {
        rv::TMediaLib lib;
        FileAll(lib, tracks);
        benchmark::DoNotOptimize(lib.TrackCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks.size()));
}

template <int Artists>
void SortAll(benchmark::State& state) {
    const auto& tracks = Tracks(Artists);
    for (auto _ : state) {
        state.PauseTiming();
        rv::TMediaLib lib;
        FileAll(lib, tracks);
        state.ResumeTiming();
        lib.SortAll();
        benchmark::DoNotOptimize(lib.GetArtistCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks.size()));
}

template <int Artists>
void Merge(benchmark::State& state) {
    const auto& tracks = Tracks(Artists);
    rv::TMediaLib source;
    FileAll(source, tracks);
    source.SortAll();
    for (auto _ : state) {
        rv::TMediaLib lib;
        lib.Merge(source);
        benchmark::DoNotOptimize(lib.TrackCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks.size()));
}

double BuildMs(const std::vector<rv::TTrack>& tracks) {
    rv::TMediaLib lib;
    return rv::bench::Milliseconds([&] {
        FileAll(lib, tracks);
        lib.SortAll();
    });
}

double FileMs(const std::vector<rv::TTrack>& tracks) {
    rv::TMediaLib lib;
    return rv::bench::Milliseconds([&] { FileAll(lib, tracks); });
}

// Filing as a merge or a reader does it, handing over tracks of its own: the copies are made
// first, in filing order, and moved in.
double FileMovedMs(const std::vector<rv::TTrack>& tracks) {
    rv::TMediaLib lib;
    std::vector<rv::TTrack> own = tracks;
    return rv::bench::Milliseconds([&] {
        for (rv::TTrack& track : own) lib.AddTrack(std::move(track));
    });
}

// For each track the number of its album among all albums, in the order they first appear.
const std::vector<int>& AlbumNumbers(const std::vector<rv::TTrack>& tracks) {
    static std::map<const void*, std::vector<int>> cache;
    std::vector<int>& numbers = cache[&tracks];
    if (!numbers.empty()) return numbers;
    std::map<std::pair<std::string, std::string>, int> albums;
    for (const rv::TTrack& track : tracks)
        numbers.push_back(
            albums.try_emplace({track.Artist, track.Album}, static_cast<int>(albums.size()))
                .first->second);
    return numbers;
}

// The reference: each track's own fields copied into its album (the album holds the rest), with
// room taken for the first tracks as the library takes it.
double PlaceMs(const std::vector<rv::TTrack>& tracks) {
    const std::vector<int>& numbers = AlbumNumbers(tracks);
    const int albumCount = *std::max_element(numbers.begin(), numbers.end()) + 1;
    std::vector<rv::TAlbum> albums;
    const double ms = rv::bench::Milliseconds([&] {
        albums.resize(static_cast<size_t>(albumCount));
        for (size_t i = 0; i < tracks.size(); ++i) {
            std::vector<rv::TTrack>& into = albums[static_cast<size_t>(numbers[i])].Tracks;
            if (into.capacity() == 0) into.reserve(8);
            const rv::TTrack& track = tracks[i];
            rv::TTrack& placed = into.emplace_back();
            placed.ID = track.ID;
            placed.Title = track.Title;
            placed.Duration = track.Duration;
            placed.Bitrate = track.Bitrate;
            placed.ChannelMode = track.ChannelMode;
            placed.Format = track.Format;
        }
    });
    benchmark::DoNotOptimize(albums.data());
    return ms;
}

double SortMs(const std::vector<rv::TTrack>& tracks) {
    rv::TMediaLib lib;
    FileAll(lib, tracks);
    return rv::bench::Milliseconds([&] { lib.SortAll(); });
}

// The 100k library against the 10k one for one measure: filing and sorting (Build...), and its
// two halves apart, filing alone (File...) and sorting a library just filed (Sort...).
template <double (*Measure)(const std::vector<rv::TTrack>&), bool Shuffled>
void Paired100kOver10k(benchmark::State& state) {
    rv::bench::PairedRounds(
        state, "100k", [] { return Measure(Tracks(5000, Shuffled)); }, "10k",
        [] { return Measure(Tracks(500, Shuffled)); });
}

// The reference for sorting a library just filed: every track's number and duration read once,
// in the library's order, which any sort of each album's tracks must do.
double VisitMs(const std::vector<rv::TTrack>& tracks) {
    rv::TMediaLib lib;
    FileAll(lib, tracks);
    double sum = 0;
    const double ms = rv::bench::Milliseconds([&] {
        for (const rv::TArtist& artist : lib.Artists())
            for (const rv::TAlbum& album : artist.Albums)
                for (const rv::TTrack& track : album.Tracks) sum += track.ID + track.Duration;
    });
    benchmark::DoNotOptimize(sum);
    return ms;
}

// Our filing against the reference at one size.
template <int Artists, bool Shuffled>
void FileOverPlace(benchmark::State& state) {
    rv::bench::PairedRounds(
        state, "ours", [] { return FileMs(Tracks(Artists, Shuffled)); }, "place",
        [] { return PlaceMs(Tracks(Artists, Shuffled)); });
}

BENCHMARK(FileSortMerge<500>)->Name("Library10k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FileSortMerge<5000>)->Name("Library100k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FileSortMerge<500, true>)->Name("LibraryShuffled10k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FileSortMerge<5000, true>)
    ->Name("LibraryShuffled100k/ours")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(File<500>)->Name("File10k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(File<5000>)->Name("File100k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SortAll<500>)->Name("SortAll10k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SortAll<5000>)->Name("SortAll100k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Merge<500>)->Name("Merge10k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Merge<5000>)->Name("Merge100k/ours")->Unit(benchmark::kMillisecond);
using PairedWork = void (*)(benchmark::State&);
const bool kPairedRegistered = [] {
    const std::pair<const char*, PairedWork> works[] = {
        {"Build100kOver10k/paired", Paired100kOver10k<BuildMs, false>},
        {"BuildShuffled100kOver10k/paired", Paired100kOver10k<BuildMs, true>},
        {"File100kOver10k/paired", Paired100kOver10k<FileMs, false>},
        {"FileShuffled100kOver10k/paired", Paired100kOver10k<FileMs, true>},
        {"FileMoved100kOver10k/paired", Paired100kOver10k<FileMovedMs, false>},
        {"FileMovedShuffled100kOver10k/paired", Paired100kOver10k<FileMovedMs, true>},
        {"Place100kOver10k/reference", Paired100kOver10k<PlaceMs, false>},
        {"PlaceShuffled100kOver10k/reference", Paired100kOver10k<PlaceMs, true>},
        {"FileShuffled10kOverPlace/paired", FileOverPlace<500, true>},
        {"FileShuffled100kOverPlace/paired", FileOverPlace<5000, true>},
        {"Sort100kOver10k/paired", Paired100kOver10k<SortMs, false>},
        {"Visit100kOver10k/reference", Paired100kOver10k<VisitMs, false>},
        {"VisitShuffled100kOver10k/reference", Paired100kOver10k<VisitMs, true>},
        {"SortShuffled100kOver10k/paired", Paired100kOver10k<SortMs, true>},
    };
    for (const auto& [name, work] : works)
        benchmark::RegisterBenchmark(name, work)
            ->UseManualTime()
            ->Iterations(7)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
