// Tags and stream headers of a few thousand MPEG files (copies of the test data) read with our
// reader, with TagLib and with python3-mutagen, with a warm page cache. Besides the times, each
// run reports files per second.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fileref.h>
#include <sys/wait.h>
#include <tag.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/read_only_file.h"
#include "readers/mpeg_audio.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFileCount = 3000;

// Copies of testdata/audio/mpeg in a scratch folder, removed at exit; read once to warm the
// page cache.
class Corpus {
public:
    Corpus() {
        folder_ = fs::temp_directory_path() / ("rv_bench_readers_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::vector<fs::path> sources;
        for (const auto& entry :
             fs::directory_iterator(fs::path(RV_SOURCE_DIR) / "testdata/audio/mpeg"))
            if (entry.path().extension() == ".mp3" || entry.path().extension() == ".mp2")
                sources.push_back(entry.path());
        if (sources.empty()) std::abort();
        for (int i = 0; i < kFileCount; ++i) {
            const fs::path& source = sources[static_cast<size_t>(i) % sources.size()];
            const fs::path copy = folder_ / (std::to_string(i) + source.extension().string());
            fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
            files_.push_back(copy.string());
        }
        std::string content;
        for (const auto& file : files_) rv::ReadWholeFile(file, content);
    }
    ~Corpus() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const std::vector<std::string>& Files() const { return files_; }
    const fs::path& Folder() const { return folder_; }

private:
    fs::path folder_;
    std::vector<std::string> files_;
};

const Corpus& Files() {
    static const Corpus corpus;
    return corpus;
}

void CountFiles(benchmark::State& state) {
    state.counters["files/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kFileCount, benchmark::Counter::kIsRate);
}

void Ours(benchmark::State& state) {
    const auto& files = Files().Files();
    rv::TMPEGaudio mpeg;  // one reader for every file, as the import holds it
    for (auto _ : state) {
        size_t sum = 0;
        for (const auto& file : files) {
            mpeg.ReadFromFile(file);
            sum += mpeg.ID3v2().Title().size() + mpeg.ID3v1().Title().size() +
                   mpeg.APEtag().Title().size() + mpeg.BitRate() + mpeg.Valid();
            benchmark::DoNotOptimize(mpeg.Duration());
        }
        benchmark::DoNotOptimize(sum);
    }
    CountFiles(state);
}

void TagLibReader(benchmark::State& state) {
    const auto& files = Files().Files();
    for (auto _ : state) {
        size_t sum = 0;
        for (const auto& file : files) {
            TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Average);
            if (ref.isNull()) continue;
            sum += ref.tag()->title().size() + ref.tag()->artist().size() +
                   ref.audioProperties()->bitrate();
            benchmark::DoNotOptimize(ref.audioProperties()->lengthInMilliseconds());
        }
        benchmark::DoNotOptimize(sum);
    }
    CountFiles(state);
}

// mutagen runs in one interpreter started before the timing; each iteration asks it to read
// every file and waits for its answer. The wait spins, so that the benchmark's clock, which
// counts this thread's processor time when it decides how long to run, sees the work.
constexpr const char* kMutagenScript = R"(
import os, sys
import mutagen.apev2, mutagen.mp3
folder = sys.argv[1]
files = [os.path.join(folder, n) for n in os.listdir(folder) if n.endswith((".mp3", ".mp2"))]
for line in sys.stdin:
    total = 0
    for path in files:
        audio = mutagen.mp3.MP3(path)
        total += audio.info.bitrate + int(audio.info.length) + len(audio.tags or ())
        try:
            total += len(mutagen.apev2.APEv2(path))
        except mutagen.apev2.error:
            pass
    print(len(files), flush=True)
)";

class MutagenProcess {
public:
    MutagenProcess() {
        const std::string script = (Files().Folder().parent_path() /
                                    ("rv_bench_mutagen_" + std::to_string(getpid()) + ".py"))
                                       .string();
        if (FILE* out = std::fopen(script.c_str(), "w")) {
            std::fputs(kMutagenScript, out);
            std::fclose(out);
        }
        script_ = script;
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl("/usr/bin/python3", "python3", script.c_str(), Files().Folder().c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~MutagenProcess() {
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        std::remove(script_.c_str());
    }

    // Reads every file once; false when the interpreter failed.
    bool ReadAll() {
        if (pid_ <= 0 || write(in_, "go\n", 3) != 3) return false;
        std::string reply;
        for (;;) {
            char buffer[64];
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n > 0) {
                reply.append(buffer, static_cast<size_t>(n));
                if (reply.find('\n') != std::string::npos) break;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                return false;
            }
        }
        return std::atoi(reply.c_str()) == kFileCount;
    }

private:
    std::string script_;
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
};

void Mutagen(benchmark::State& state) {
    MutagenProcess mutagen;
    if (!mutagen.ReadAll()) {  // loads the modules before the timing
        state.SkipWithError("python3-mutagen did not run");
        return;
    }
    for (auto _ : state) {
        if (!mutagen.ReadAll()) {
            state.SkipWithError("python3-mutagen failed");
            break;
        }
    }
    CountFiles(state);
}

BENCHMARK(Ours)->Name("Read3000MpegFiles/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TagLibReader)->Name("Read3000MpegFiles/taglib")->Unit(benchmark::kMillisecond);
BENCHMARK(Mutagen)->Name("Read3000MpegFiles/mutagen")->Unit(benchmark::kMillisecond);

}  // namespace
