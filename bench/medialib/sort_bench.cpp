// Sorting what libraries from elsewhere hold. Every work runs in interleaved pairs with its
// reference and reports the medians of the paired rounds (bench/support/paired_runs.h):
// - SortAll of 100,000 artists in random order, each with one album of one track: one name
//   twice, and a hundred names a thousand times each, against all names distinct;
// - SortAll of one artist's 5,000 albums over 50 release years and of one album's 10,000 tracks
//   over 20 numbers, in random order and in the worst shape known (the high keys before the low
//   ones), against the exchange-sort loop itself moving the same records;
// - loading and sorting a 100,000-track library file that another writer made (make_library.py:
//   ElementTree, UTF-8, repeated artist names), against pugixml loading the same file.
// Warm: the file is in the page cache after the first round.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <pugixml.hpp>
#include <random>
#include <string>
#include <vector>

#include "bench/support/paired_runs.h"
#include "medialib/media_lib.h"

namespace {

using rv::bench::Milliseconds;
using rv::bench::PairedRounds;

constexpr int kRounds = 7;

class StoredLib : public rv::TMediaLib {
public:
    using TMediaLib::ReplaceArtists;
};

// SortAll of a library holding `artists` as they stand (filling it is not timed).
double SortAllMs(const std::vector<rv::TArtist>& artists) {
    StoredLib lib;
    lib.ReplaceArtists(artists);
    return Milliseconds([&] { lib.SortAll(); });
}

std::string RandomName(std::mt19937& random) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    std::string name;
    for (size_t i = 0, length = 10 + random() % 10; i < length; ++i)
        name += letters[random() % (sizeof letters - 1)];
    return name;
}

enum class Names { kDistinct, kOneTwice, kHundredRepeated };

const std::vector<rv::TArtist>& Artists(Names names) {
    static std::vector<rv::TArtist> cache[3];
    std::vector<rv::TArtist>& artists = cache[static_cast<int>(names)];
    if (!artists.empty()) return artists;
    std::mt19937 random(100000);
    const int distinct = names == Names::kHundredRepeated ? 100 : 100000;
    std::vector<std::string> pool;
    for (int k = 0; k < distinct; ++k) pool.push_back(RandomName(random) + std::to_string(k));
    for (int k = 0; k < 100000; ++k) {
        const rv::TTrack track{.ID = 1, .Title = "Track", .Duration = 200};
        const rv::TAlbum album{.Title = "Album", .Time = 200, .Tracks = {track}};
        artists.push_back({.Name = pool[static_cast<size_t>(k % distinct)], .Albums = {album}});
    }
    if (names == Names::kOneTwice) artists[1].Name = artists[0].Name;
    std::shuffle(artists.begin(), artists.end(), random);
    return artists;
}

void ArtistNames(benchmark::State& state, Names names) {
    PairedRounds(
        state, "repeated", [&] { return SortAllMs(Artists(names)); }, "distinct",
        [] { return SortAllMs(Artists(Names::kDistinct)); });
}

// The sort as the loop itself, on a copy of the records (the copy is not timed).
template <class T, class Key>
double LoopSortMs(std::vector<T> items, Key key) {
    return Milliseconds([&] {
        for (size_t i = 0; i + 1 < items.size(); ++i)
            for (size_t j = items.size() - 1; j > i; --j)
                if (key(items[i]) > key(items[j])) std::swap(items[i], items[j]);
    });
}

// `count` keys below `spread`: random, or the upper half of the range before the lower half.
std::vector<uint32_t> Keys(size_t count, uint32_t spread, bool highFirst) {
    std::mt19937 random(static_cast<uint32_t>(count + spread));
    std::vector<uint32_t> keys(count);
    for (size_t k = 0; k < count; ++k) {
        const uint32_t half = spread / 2;
        keys[k] = !highFirst      ? random() % spread
                  : k < count / 2 ? half + random() % (spread - half)
                                  : random() % half;
    }
    return keys;
}

void Albums(benchmark::State& state, bool highFirst) {
    rv::TArtist artist{.Name = "Various Artists"};
    for (uint32_t key : Keys(5000, 50, highFirst)) {
        const rv::TTrack track{.ID = 1, .Title = "Track", .Duration = 200};
        artist.Albums.push_back({.Title = "Album",
                                 .Release = static_cast<uint16_t>(1960 + key),
                                 .Time = 200,
                                 .Tracks = {track}});
    }
    const std::vector<rv::TArtist> artists{artist};
    PairedRounds(
        state, "ours", [&] { return SortAllMs(artists); }, "loop",
        [&] { return LoopSortMs(artist.Albums, [](const rv::TAlbum& x) { return x.Release; }); });
}

void Tracks(benchmark::State& state, bool highFirst) {
    rv::TAlbum album{.Title = "Album"};
    for (uint32_t key : Keys(10000, 20, highFirst))
        album.Tracks.push_back({.ID = static_cast<uint8_t>(1 + key), .Title = "Track"});
    const std::vector<rv::TArtist> artists{{.Name = "Artist", .Albums = {album}}};
    PairedRounds(
        state, "ours", [&] { return SortAllMs(artists); }, "loop",
        [&] { return LoopSortMs(album.Tracks, [](const rv::TTrack& x) { return x.ID; }); });
}

constexpr uint32_t kFileTracks = 100000;

// The library file as the independent writer makes it, or "" when the writer failed.
std::string WriteOtherWritersFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/rv_bench_sort_" +
                       std::to_string(::getpid()) + ".rvl";
    const std::string command = "/usr/bin/python3 '" RV_SOURCE_DIR
                                "/bench/medialib/make_library.py' '" +
                                path + "' " + std::to_string(kFileTracks) + " >/dev/null";
    if (std::system(command.c_str()) == 0) return path;
    std::remove(path.c_str());
    return {};
}

// Made once per run; removed when the program ends.
const std::string& OtherWritersFile() {
    static const struct TempFile {
        std::string path;
        ~TempFile() {
            if (!path.empty()) std::remove(path.c_str());
        }
    } file{WriteOtherWritersFile()};
    return file.path;
}

void LoadAndSort(benchmark::State& state) {
    const std::string& file = OtherWritersFile();
    if (file.empty()) {
        state.SkipWithError("make_library.py did not run");
        return;
    }
    std::vector<double> sortTimes;
    PairedRounds(
        state, "ours",
        [&] {
            rv::TMediaLib lib;
            const double ms = Milliseconds([&] {
                lib.LoadFromFile(file);
                sortTimes.push_back(Milliseconds([&] { lib.SortAll(); }));
            });
            if (lib.TrackCount() != kFileTracks) state.SkipWithError("tracks missing");
            return ms;
        },
        "pugixml",
        [&] {
            pugi::xml_document doc;
            return Milliseconds([&] {
                if (!doc.load_file(file.c_str())) state.SkipWithError("pugixml failed");
            });
        });
    state.counters["sort_ms"] = rv::bench::Median(sortTimes);
}

[[maybe_unused]] const bool registered = [] {
    const auto paired = [](benchmark::internal::Benchmark* work) {
        work->UseManualTime()->Iterations(kRounds)->Unit(benchmark::kMillisecond);
    };
    paired(benchmark::RegisterBenchmark("SortArtists100kOneNameTwice/paired", ArtistNames,
                                        Names::kOneTwice));
    paired(benchmark::RegisterBenchmark("SortArtists100kHundredNamesEach1000/paired", ArtistNames,
                                        Names::kHundredRepeated));
    paired(benchmark::RegisterBenchmark("SortAlbums5000Over50Years/paired", Albums, false));
    paired(benchmark::RegisterBenchmark("SortAlbums5000Over50YearsHighFirst/paired", Albums, true));
    paired(benchmark::RegisterBenchmark("SortTracks10000Over20Numbers/paired", Tracks, false));
    paired(
        benchmark::RegisterBenchmark("SortTracks10000Over20NumbersHighFirst/paired", Tracks, true));
    paired(benchmark::RegisterBenchmark("LoadAndSortOtherWriters100k/paired", LoadAndSort));
    return true;
}();

}  // namespace
