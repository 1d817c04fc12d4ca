// Walking a generated 200,000-file tree with the folder scan's fifteen audio masks: ours in the
// caller's thread (direct), ours in a worker whose reports (a folder's change and its matches)
// reach the GUI thread as calls queued there in batches, without the worker waiting for them
// (threaded, as the program runs it; every match is still reported there, one event each), and
// GNU find (C locale, -iname per mask) on the same tree. Beside them what one hand-off per folder
// would cost at least: two bare threads passing a turn back and forth once per folder, once
// waiting awake and once asleep, and our Synchronize alone as often. The runs are interleaved
// round by round, the cache warm; the figures are medians over the rounds, the ratios medians of
// each round's ratio. With --busy, a spinning thread per processor keeps every core busy while
// the rounds run, the worst case for a walk split between two threads.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "platform/messages/application.h"
#include "platform/threads/thread.h"
#include "search/find_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 200000;
constexpr int kRounds = 7;
constexpr const char* kAudioMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";
constexpr const char* kMaskList[] = {"*.MP1", "*.MP2", "*.MP3", "*.MP+",  "*.MPC",
                                     "*.MPP", "*.OGG", "*.VQF", "*.MAC",  "*.APE",
                                     "*.WMA", "*.WV",  "*.AAC", "*.FLAC", "*.OFR"};

// Artists / albums / tracks, like a music collection: 20,000 album folders of 10 entries under
// 2,000 artist folders, names of mixed case, about two thirds audio files.
std::string MakeTree() {
    const char* base = std::getenv("TMPDIR");
    const std::string root =
        (fs::path(base && *base ? base : "/tmp") / "rv-search-bench-20k").string();
    const std::string stamp = root + "/.complete";
    if (fs::exists(stamp)) return root;
    fs::remove_all(root);
    const char* extensions[] = {".mp3", ".MP3", ".Mp3", ".flac", ".ogg", ".OGG", ".wma",
                                ".m4a", ".jpg", ".txt", ".cue",  ".ape", ".mpc", ".log"};
    std::mt19937 random(200000);
    int made = 0;
    for (int artist = 0; made < kFiles; ++artist) {
        const fs::path artistDir = fs::path(root) / ("Artist " + std::to_string(artist));
        for (int album = 0; album < 10 && made < kFiles; ++album) {
            const fs::path albumDir = artistDir / ("Album " + std::to_string(album));
            fs::create_directories(albumDir);
            for (int track = 0; track < 10 && made < kFiles; ++track, ++made) {
                const std::string name = std::to_string(track) + " - Track Title " +
                                         std::to_string(made) +
                                         extensions[random() % std::size(extensions)];
                std::ofstream(albumDir / name);
            }
        }
    }
    std::ofstream(fs::path(stamp));
    return root;
}

struct Counts {
    std::size_t matches = 0;
    std::size_t folders = 0;
};

// One scan of the tree with the audio masks.
Counts Scan(const std::string& root, bool threaded) {
    rv::TFindFile find;
    find.Threaded = threaded;
    find.Criteria().Files.FileName = kAudioMasks;
    find.Criteria().Files.Location = root;
    Counts counts;
    find.OnFileMatch = [&](rv::TFindFile&, const std::string& folder, const rv::TSearchRec& rec) {
        counts.matches += (folder.size() + rec.Name().size()) != 0;
    };
    find.OnFolderChange = [&](rv::TFindFile&, const std::string&, bool&) { ++counts.folders; };
    // A threaded search runs the loop until the finish event, as the program does.
    if (threaded) find.OnSearchFinish = [](rv::TFindFile&) { rv::Application->Terminate(); };
    find.Execute();
    if (threaded) rv::Application->Run();
    return counts;
}

Counts FindScan(const std::string& root) {
    std::string command = "LC_ALL=C find '" + root + "' -type f \\(";
    for (const char* mask : kMaskList) {
        if (mask != kMaskList[0]) command += " -o";
        command += " -iname '" + std::string(mask) + "'";
    }
    command += " \\)";
    Counts counts;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return counts;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) ++counts.matches;
    pclose(pipe);
    return counts;
}

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Two threads passing a turn back and forth `trips` times, each waiting awake for its turn.
void PingPongAwake(std::size_t trips) {
    std::atomic<std::size_t> turn{0};  // odd: the answer is due, even: the next question
    std::thread answerer([&] {
        for (std::size_t i = 0; i < trips; ++i) {
            while (turn.load(std::memory_order_acquire) != 2 * i + 1) Relax();
            turn.store(2 * i + 2, std::memory_order_release);
        }
    });
    for (std::size_t i = 0; i < trips; ++i) {
        turn.store(2 * i + 1, std::memory_order_release);
        while (turn.load(std::memory_order_acquire) != 2 * i + 2) Relax();
    }
    answerer.join();
}

// The same, each thread asleep until the other wakes it.
void PingPongAsleep(std::size_t trips) {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t turn = 0;
    auto await = [&](std::size_t value) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return turn == value; });
    };
    auto pass = [&](std::size_t value) {
        {
            std::lock_guard lock(mutex);
            turn = value;
        }
        changed.notify_one();
    };
    std::thread answerer([&] {
        for (std::size_t i = 0; i < trips; ++i) {
            await(2 * i + 1);
            pass(2 * i + 2);
        }
    });
    for (std::size_t i = 0; i < trips; ++i) {
        pass(2 * i + 1);
        await(2 * i + 2);
    }
    answerer.join();
}

// A worker making `count` empty synchronous calls into the GUI thread.
class Caller : public rv::TThread {
public:
    explicit Caller(std::size_t count) : count_(count) {}

protected:
    void Execute() override {
        for (std::size_t i = 0; i < count_; ++i) Synchronize([] {});
    }

private:
    const std::size_t count_;
};

void SynchronizeAlone(std::size_t calls) {
    auto* caller = new Caller(calls);
    caller->Start();
    caller->WaitFor();
    delete caller;
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = MakeTree();
    rv::TApplication app;
    app.Initialize();
    // --threaded N, --direct N: only N walks of that kind, for a profiler to look at.
    if (argc == 3 && (std::string(argv[1]) == "--threaded" || std::string(argv[1]) == "--direct")) {
        for (int i = std::atoi(argv[2]); i > 0; --i)
            Scan(root, std::string(argv[1]) == "--threaded");
        return 0;
    }

    // Warm the cache, and count the hand-offs one per folder would take: one per folder, one
    // for the last folder's matches, and the end of the worker.
    const Counts counts = Scan(root, false);
    const Counts found = FindScan(root);
    if (found.matches != counts.matches)
        std::printf("find lists %zu files, ours %zu\n", found.matches, counts.matches);
    const std::size_t trips = counts.folders + 2;

    // Spinners at the same priority as the walk, one per processor.
    const bool busy = argc == 2 && std::string(argv[1]) == "--busy";
    std::atomic<bool> spin{busy};
    std::vector<std::thread> spinners;
    for (unsigned i = 0; busy && i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        spinners.emplace_back([&spin] {
            while (spin.load(std::memory_order_relaxed)) Relax();
        });

    enum { kDirect, kThreaded, kFind, kAwake, kAsleep, kSynchronize, kRuns };
    const char* names[kRuns] = {"direct (ours)",           "threaded (ours)",
                                "LC_ALL=C find",           "ping-pong floor, awake",
                                "ping-pong floor, asleep", "Synchronize alone"};
    const std::function<void()> runs[kRuns] = {
        [&] { Scan(root, false); },     [&] { Scan(root, true); },
        [&] { FindScan(root); },        [&] { PingPongAwake(trips); },
        [&] { PingPongAsleep(trips); }, [&] { SynchronizeAlone(trips); }};
    std::vector<double> times[kRuns];
    for (int round = 0; round < kRounds; ++round)
        for (int i = 0; i < kRuns; ++i) {
            const int run = (i + round) % kRuns;  // each run follows a different one each round
            times[run].push_back(Milliseconds(runs[run]));
        }

    spin = false;
    for (std::thread& spinner : spinners) spinner.join();

    auto ratio = [&](int over, int under) {
        std::vector<double> ratios;
        for (int r = 0; r < kRounds; ++r) ratios.push_back(times[over][r] / times[under][r]);
        return Median(ratios);
    };
    auto perTrip = [&](int run, int less) {
        std::vector<double> costs;
        for (int r = 0; r < kRounds; ++r)
            costs.push_back((times[run][r] - (less < 0 ? 0 : times[less][r])) * 1000 / trips);
        return Median(costs);
    };

    std::string load;  // the other work of the machine weighs on the threaded figures most
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf(
        "Walk of %d files: %zu matches in %zu folders, %zu hand-offs at one per folder;\n"
        "%d interleaved rounds, warm cache, medians; load average %s%s.\n\n",
        kFiles, counts.matches, counts.folders, trips, kRounds, load.c_str(),
        busy ? ", every core kept busy" : "");
    for (int i = 0; i < kRuns; ++i) std::printf("  %-26s %9.1f ms\n", names[i], Median(times[i]));
    std::printf("\n  threaded / direct          %9.2f   (the aim: at most %s)\n",
                ratio(kThreaded, kDirect), busy ? "2" : "1.5 on a quiet machine");
    std::printf("  find / direct              %9.2f   (above 1: ours is faster)\n",
                ratio(kFind, kDirect));
    std::printf("  find / threaded            %9.2f\n", ratio(kFind, kThreaded));
    std::printf("\n  per folder, in microseconds:\n");
    std::printf("  threaded less direct       %9.3f\n", perTrip(kThreaded, kDirect));
    std::printf("  Synchronize alone          %9.3f\n", perTrip(kSynchronize, -1));
    std::printf("  ping-pong floor, awake     %9.3f\n", perTrip(kAwake, -1));
    std::printf("  ping-pong floor, asleep    %9.3f\n", perTrip(kAsleep, -1));

    // How often the threads gave up the processor to wait for each other, in one more walk
    // of each kind (the whole process: the worker and the GUI thread).
    auto switches = [](const std::function<void()>& work) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        work();
        getrusage(RUSAGE_SELF, &after);
        return after.ru_nvcsw - before.ru_nvcsw;
    };
    const long direct = switches(runs[kDirect]);
    const long threaded = switches(runs[kThreaded]);
    std::printf("\n  voluntary context switches: threaded %ld, direct %ld\n", threaded, direct);
    return 0;
}
