// The folder scan as the program runs it: the main window on the offscreen platform scans a
// generated tree of 50,000 small MP3 files with ID3v2 tags (500 artists of 10 albums of 10
// tracks) into an empty library, the walk in the folder search's worker and every file handed
// to the GUI thread to be read and filed; then Save, Open and a full RefreshTree of that library.
// Beside the scan, in the same rounds, the readers' own rate over the same files in one loop
// (the MPEG reader alone, and the reader with the track builder and the filing), which the
// scan cannot pass: its files per second against theirs show what the walk, the hand-off and
// the window cost. The rounds alternate their order, the cache is warm; figures are medians.
//
//   bench_scan [--rounds N] [--files N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/main_window.h"
#include "app/tests/tiny_mp3.h"
#include "platform/messages/application.h"
#include "platform/windows/gui_application.h"
#include "readers/mpeg_audio.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The tree of files, removed at exit; its files in the order of their names.
class Corpus {
public:
    explicit Corpus(int files) {
        root_ = fs::temp_directory_path() / ("rv_bench_scan_" + std::to_string(::getpid()));
        for (int i = 0; i < files; ++i) {
            const int artist = i / 100, album = i / 10 % 10, track = i % 10;
            const std::string artistName = "Artist " + std::to_string(artist);
            const std::string albumName = "Album " + std::to_string(album);
            const fs::path folder = root_ / artistName / albumName;
            if (track == 0) fs::create_directories(folder);
            const fs::path file = folder / ("Track " + std::to_string(track) + ".mp3");
            rv::test::WriteTinyMp3(file, artistName, albumName, "Track " + std::to_string(track));
            files_.push_back(file.string());
        }
    }
    ~Corpus() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& Root() const { return root_; }
    const std::vector<std::string>& Files() const { return files_; }

private:
    fs::path root_;
    std::vector<std::string> files_;
};

int Option(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = std::max(5, Option(argc, argv, "--rounds", 5));
    const int count = std::max(100, Option(argc, argv, "--files", 50000));

    // The window's settings go to a scratch folder; the window shows on no screen.
    const fs::path config =
        fs::temp_directory_path() / ("rv_bench_scan_cfg_" + std::to_string(::getpid()));
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    rv::TGuiApplication application;
    application.Initialize();

    std::printf("making %d files...\n", count);
    const Corpus corpus(count);
    {
        auto window = std::make_unique<rv::Twnd_rv_Main>(nullptr);
        window->Show();
        rv::TMPEGaudio reader;
        rv::FileImport importer;
        rv::TMediaLib library;
        std::vector<double> scan, readers, imports, save, open, refresh, scanRatio, importRatio;
        const std::string saved = (corpus.Root() / "library.rvl").string();

        auto runScan = [&] {
            window->Library().NewLibrary();
            window->RefreshTree(-1, -1);
            return Milliseconds([&] {
                window->ScanFolder(corpus.Root().string());
                while (window->Scanning()) application.HandleMessage();
            });
        };
        auto runReaders = [&] {
            return Milliseconds([&] {
                for (const std::string& file : corpus.Files()) reader.ReadFromFile(file);
            });
        };
        auto runImport = [&] {
            library.NewLibrary();
            return Milliseconds([&] {
                for (const std::string& file : corpus.Files()) importer.AddFile(file, library);
            });
        };
        runReaders();  // the cache warm
        for (int round = 0; round < rounds; ++round) {
            double s = 0, r = 0, i = 0;
            if (round % 2 == 0) {
                s = runScan();
                r = runReaders();
                i = runImport();
            } else {
                i = runImport();
                r = runReaders();
                s = runScan();
            }
            if (window->Library().TrackCount() != static_cast<unsigned>(count) ||
                library.TrackCount() != static_cast<unsigned>(count)) {
                std::fprintf(stderr, "the scan filed %u tracks, the import %u, of %d files\n",
                             window->Library().TrackCount(), library.TrackCount(), count);
                return 1;
            }
            scan.push_back(s);
            readers.push_back(r);
            imports.push_back(i);
            scanRatio.push_back(s / r);
            importRatio.push_back(s / i);
            save.push_back(Milliseconds([&] { window->Library().SaveToFile(saved); }));
            open.push_back(Milliseconds([&] { window->OpenLibrary(saved); }));
            refresh.push_back(Milliseconds([&] { window->RefreshTree(-1, -1); }));
        }
        auto rate = [&](const std::vector<double>& ms) { return count / (Median(ms) / 1000); };
        std::printf("%d files, %d rounds, warm cache; medians\n", count, rounds);
        std::printf("  scan (walk, hand-off, read, file, tree)  %9.1f ms  %9.0f files/s\n",
                    Median(scan), rate(scan));
        std::printf("  the MPEG reader alone, one loop          %9.1f ms  %9.0f files/s\n",
                    Median(readers), rate(readers));
        std::printf("  reader, track and filing, one loop       %9.1f ms  %9.0f files/s\n",
                    Median(imports), rate(imports));
        std::printf("  scan / reader alone                      %9.2f\n", Median(scanRatio));
        std::printf("  scan / reader, track and filing          %9.2f\n", Median(importRatio));
        std::printf("  Save                                     %9.1f ms\n", Median(save));
        std::printf("  Open (load and tree)                     %9.1f ms\n", Median(open));
        std::printf("  RefreshTree                              %9.1f ms\n", Median(refresh));
        window->Library().NewLibrary();  // nothing to ask at the end
    }
    std::error_code ignored;
    fs::remove_all(config, ignored);
    return 0;
}
