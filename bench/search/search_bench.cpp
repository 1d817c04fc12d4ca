// Walking a generated 200,000-file tree with the folder scan's fifteen audio masks, ours beside
// GNU find (C locale, -iname per mask) on the same tree; then the same walk in a worker thread
// handing every match to the GUI thread, and the cost of that synchronous call alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/messages/application.h"
#include "platform/threads/thread.h"
#include "search/find_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 200000;
constexpr const char* kAudioMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";
constexpr const char* kMaskList[] = {"*.MP1", "*.MP2", "*.MP3", "*.MP+",  "*.MPC",
                                     "*.MPP", "*.OGG", "*.VQF", "*.MAC",  "*.APE",
                                     "*.WMA", "*.WV",  "*.AAC", "*.FLAC", "*.OFR"};

// Artists / albums / tracks, like a music collection: 2,000 album folders of 100 entries under
// 200 artist folders, names of mixed case, about two thirds audio files.
class Tree {
public:
    Tree() {
        const char* base = std::getenv("TMPDIR");
        root_ = (fs::path(base && *base ? base : "/tmp") / "rv-search-bench").string();
        const std::string stamp = root_ + "/.complete";
        if (fs::exists(stamp)) return;
        fs::remove_all(root_);
        const char* extensions[] = {".mp3", ".MP3", ".Mp3", ".flac", ".ogg", ".OGG", ".wma",
                                    ".m4a", ".jpg", ".txt", ".cue",  ".ape", ".mpc", ".log"};
        std::mt19937 random(200000);
        int made = 0;
        for (int artist = 0; made < kFiles; ++artist) {
            const fs::path artistDir = fs::path(root_) / ("Artist " + std::to_string(artist));
            for (int album = 0; album < 10 && made < kFiles; ++album) {
                const fs::path albumDir = artistDir / ("Album " + std::to_string(album));
                fs::create_directories(albumDir);
                for (int track = 0; track < 100 && made < kFiles; ++track, ++made) {
                    const std::string name = std::to_string(track) + " - Track Title " +
                                             std::to_string(made) +
                                             extensions[random() % std::size(extensions)];
                    std::ofstream(albumDir / name);
                }
            }
        }
        std::ofstream(fs::path(stamp));
    }
    const std::string& Root() const { return root_; }

private:
    std::string root_;
};

const Tree& TheTree() {
    static const Tree tree;
    return tree;
}

// One scan of the tree with the audio masks; returns the number of matches.
std::size_t Scan(bool threaded) {
    rv::TFindFile find;
    find.Threaded = threaded;
    find.Criteria().Files.FileName = kAudioMasks;
    find.Criteria().Files.Location = TheTree().Root();
    std::size_t matches = 0;
    find.OnFileMatch = [&](rv::TFindFile&, const std::string& folder, const rv::TSearchRec& rec) {
        benchmark::DoNotOptimize(folder.size() + rec.Name().size());
        ++matches;
    };
    find.Execute();
    while (find.Busy()) rv::Application->HandleMessage();
    return matches;
}

void WalkOurs(benchmark::State& state) {
    TheTree();
    std::size_t matches = 0;
    for (auto _ : state) matches = Scan(false);
    state.counters["matches"] = static_cast<double>(matches);
}

void WalkFind(benchmark::State& state) {
    const Tree& tree = TheTree();
    std::string command = "LC_ALL=C find '" + tree.Root() + "' -type f \\(";
    for (const char* mask : kMaskList) {
        if (mask != kMaskList[0]) command += " -o";
        command += " -iname '" + std::string(mask) + "'";
    }
    command += " \\)";
    std::size_t matches = 0;
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("cannot run find");
            return;
        }
        matches = 0;
        char line[4096];
        while (std::fgets(line, sizeof line, pipe)) ++matches;
        pclose(pipe);
    }
    state.counters["matches"] = static_cast<double>(matches);
}

rv::TApplication& App() {
    static rv::TApplication* app = [] {
        auto* a = new rv::TApplication;
        a->Initialize();
        return a;
    }();
    return *app;
}

// The scan as the program runs it: a worker walks, each match is handled in the GUI thread.
void WalkThreaded(benchmark::State& state) {
    TheTree();
    App();
    std::size_t matches = 0;
    for (auto _ : state) matches = Scan(true);
    state.counters["matches"] = static_cast<double>(matches);
}

// One synchronous call from a worker into the GUI thread and back.
class Caller : public rv::TThread {
public:
    explicit Caller(int count) : count_(count) {}

protected:
    void Execute() override {
        for (int i = 0; i < count_; ++i) Synchronize([this] { ++calls_; });
    }

private:
    const int count_;
    int calls_ = 0;
};

void SynchronizeCall(benchmark::State& state) {
    App();
    constexpr int kCalls = 20000;
    for (auto _ : state) {
        auto* caller = new Caller(kCalls);
        caller->Start();
        caller->WaitFor();
        delete caller;
    }
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kCalls,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(WalkOurs)->Name("Walk200k/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(WalkFind)->Name("Walk200k/find")->Unit(benchmark::kMillisecond);
BENCHMARK(WalkThreaded)->Name("Walk200kThreaded")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SynchronizeCall)->Name("SynchronizeCall")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
