// Saving and loading a catalogue of 100,000 tracks (about 28 MB of library file): ours beside
// pugixml loading and saving the same file and xmllint checking it. Each of our works also
// reports the peak memory it needed above what the process held before, against the file size.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <random>
#include <string>

#include "bench/support/peak_meter.h"
#include "bench/support/xmllint.h"
#include "medialib/media_lib.h"

namespace {

constexpr int kTracks = 100000;

std::string Words(std::mt19937& random, int count) {
    static const char* const words[] = {"Dvo\u0159\u00e1k",
                                        "Symfonie",
                                        "Nov\u00e9ho",
                                        "sv\u011bta",
                                        "Smetana",
                                        "M\u00e1",
                                        "vlast",
                                        "Live",
                                        "Opera",
                                        "Rock & Roll",
                                        "\"Best\"",
                                        "Blues",
                                        "Night",
                                        "Arrival",
                                        "Zlat\u00e1",
                                        "Praha",
                                        "Kino",
                                        "Queen"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += words[random() % std::size(words)];
    }
    return text;
}

const std::string& LibraryFile() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string p = std::string(tmp && *tmp ? tmp : "/tmp") + "/rv_bench_medialib_" +
                        std::to_string(::getpid()) + ".rvl";
        std::mt19937 random(100000);
        rv::TMediaLib lib;
        lib.SetLibraryName("Sb\u00edrka");
        for (int made = 0; made < kTracks;) {
            const std::string artist = Words(random, 2) + " " + std::to_string(made);
            for (int album = 0; album < 3 && made < kTracks; ++album) {
                const std::string title = Words(random, 3);
                const uint16_t release = static_cast<uint16_t>(1950 + random() % 70);
                for (int t = 1; t <= 12 && made < kTracks; ++t, ++made) {
                    rv::TTrack track;
                    track.Artist = artist;
                    track.Album = title;
                    track.Genre = random() % 5 ? Words(random, 1) : "";
                    track.Release = release;
                    track.MediaType = static_cast<uint8_t>(random() % 2);
                    track.ID = static_cast<uint8_t>(t);
                    track.Title = Words(random, 5 + static_cast<int>(random() % 6)) + " " +
                                  std::to_string(made);
                    track.Duration = (120000 + random() % 400000) / 1000.0;
                    track.Bitrate = static_cast<uint16_t>(128 + 32 * (random() % 6));
                    track.ChannelMode = random() % 3 ? "Joint Stereo" : "Stereo";
                    track.Format = "MPEG 1 Layer III";
                    lib.AddTrack(track);
                }
            }
        }
        lib.SaveToFile(p);
        return p;
    }();
    // Made after the name, so it is destroyed before it.
    static const struct Cleanup {
        ~Cleanup() {
            std::remove(path.c_str());
            std::remove((path + ".out").c_str());
        }
    } cleanup;
    return path;
}

double FileMegabytes() {
    std::ifstream file(LibraryFile(), std::ios::binary | std::ios::ate);
    return static_cast<double>(file.tellg()) / (1 << 20);
}

void ReportPeak(const rv::bench::PeakMeter& meter, benchmark::State& state) {
    const double peak = meter.PeakMiB();
    state.counters["peak_MB"] = peak;
    state.counters["peak_per_file"] = peak / FileMegabytes();
}

void LoadOurs(benchmark::State& state) {
    LibraryFile();
    bool measured = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto* lib = new rv::TMediaLib;
        const rv::bench::PeakMeter meter;
        state.ResumeTiming();
        lib->LoadFromFile(LibraryFile());
        state.PauseTiming();
        if (!measured) ReportPeak(meter, state);
        measured = true;
        if (lib->TrackCount() != kTracks) state.SkipWithError("tracks missing");
        delete lib;
        state.ResumeTiming();
    }
}

void LoadPugixml(benchmark::State& state) {
    LibraryFile();
    bool measured = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto* doc = new pugi::xml_document;
        const rv::bench::PeakMeter meter;
        state.ResumeTiming();
        if (!doc->load_file(LibraryFile().c_str())) state.SkipWithError("pugixml failed");
        state.PauseTiming();
        if (!measured) ReportPeak(meter, state);
        measured = true;
        delete doc;
        state.ResumeTiming();
    }
}

void CheckXmllint(benchmark::State& state) {
    rv::bench::RunXmllintNoout(state, LibraryFile());
}

void SaveOurs(benchmark::State& state) {
    rv::TMediaLib lib;
    lib.LoadFromFile(LibraryFile());
    bool measured = false;
    for (auto _ : state) {
        state.PauseTiming();
        const rv::bench::PeakMeter meter;
        state.ResumeTiming();
        lib.SaveToFile(LibraryFile() + ".out");
        state.PauseTiming();
        if (!measured) ReportPeak(meter, state);
        measured = true;
        state.ResumeTiming();
    }
}

void SavePugixml(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(LibraryFile().c_str());
    for (auto _ : state) doc.save_file((LibraryFile() + ".out").c_str(), "\t");
}

// The same with what our save also does: a flush to disk, and the new file put in place of the
// old by renaming it.
void SavePugixmlSynced(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(LibraryFile().c_str());
    const std::string target = LibraryFile() + ".out", temp = target + ".tmp";
    for (auto _ : state) {
        std::FILE* file = std::fopen(temp.c_str(), "wb");
        if (!file) {
            state.SkipWithError("cannot write");
            return;
        }
        pugi::xml_writer_file writer(file);
        doc.save(writer, "\t");
        std::fflush(file);
        ::fsync(::fileno(file));
        std::fclose(file);
        std::rename(temp.c_str(), target.c_str());
    }
}

BENCHMARK(LoadOurs)->Name("Load100k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadPugixml)->Name("Load100k/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(CheckXmllint)->Name("Load100k/xmllint")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveOurs)->Name("Save100k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SavePugixml)->Name("Save100k/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(SavePugixmlSynced)->Name("Save100k/pugixml_fsync")->Unit(benchmark::kMillisecond);

}  // namespace
