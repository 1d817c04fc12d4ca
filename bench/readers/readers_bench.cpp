// Tags and stream properties of the whole format mix: every file of testdata/audio, copied
// round robin to 20 000 files, read with our readers (one reader per format, reused, as the
// import holds them), with TagLib and with python3-mutagen (each file parsed once, by the class
// of its format). The page cache is warm. The three take turns in each round, in a rotating
// order; the printed ratios are the medians over the rounds of each round's reference time over
// ours (above 1 means ours is faster).
//
//   bench_readers [--rounds N] [--files N]
//   bench_readers --ours-once [--files N]     reads every file once with ours, for
//       valgrind --tool=callgrind --toggle-collect='*ReadWithOurs*' bench_readers --ours-once
//   (instructions per file: the collected total over the file count)

#include <fcntl.h>
#include <fileref.h>
#include <sys/wait.h>
#include <tag.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/read_only_file.h"
#include "readers/aac_file.h"
#include "readers/flac.h"
#include "readers/monkey.h"
#include "readers/mpeg_audio.h"
#include "readers/musepack.h"
#include "readers/ogg_vorbis.h"
#include "readers/optimfrog.h"
#include "readers/twinvq.h"
#include "readers/wavpack_file.h"
#include "readers/wma_file.h"

namespace {

namespace fs = std::filesystem;

// Copies of every audio file of the test data in a scratch folder, removed at exit; read once
// to warm the page cache.
class Corpus {
public:
    explicit Corpus(int count) {
        folder_ = fs::temp_directory_path() / ("rv_bench_readers_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::vector<fs::path> sources;
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(RV_SOURCE_DIR) / "testdata/audio"))
            if (entry.is_regular_file() && entry.path().parent_path().filename() != "gen" &&
                entry.path().extension() != ".tsv" && entry.path().extension() != ".sh")
                sources.push_back(entry.path());
        if (sources.empty()) std::abort();
        std::sort(sources.begin(), sources.end());
        for (int i = 0; i < count; ++i) {
            const fs::path& source = sources[static_cast<size_t>(i) % sources.size()];
            const fs::path copy = folder_ / (std::to_string(i) + source.extension().string());
            fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
            files_.push_back(copy.string());
        }
        formats_ = sources.size();
        std::string content;
        for (const auto& file : files_) rv::ReadWholeFile(file, content);
    }
    ~Corpus() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const std::vector<std::string>& Files() const { return files_; }
    const fs::path& Folder() const { return folder_; }
    std::size_t Sources() const { return formats_; }

private:
    fs::path folder_;
    std::vector<std::string> files_;
    std::size_t formats_ = 0;
};

// One reader per format, reused for every file, as the import holds them.
struct OurReaders {
    rv::TMPEGaudio mpeg;
    rv::TOggVorbis ogg;
    rv::TFLACfile flac;
    rv::TWMAfile wma;
    rv::TWAVPackfile wavpack;
    rv::TMPEGplus musepack;
    rv::TMonkey monkey;
    rv::TAACfile aac;
    rv::TTwinVQ twinvq;
    rv::TOptimFrog optimfrog;
};

bool EndsWith(const std::string& text, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// What the import takes of a file: validity, duration, bit rate and the title. Returns whether
// the file was read as valid.
bool ReadOne(OurReaders& r, const std::string& file, std::size_t& sum) {
    auto take = [&sum](bool valid, double duration, double bitRate, const std::string& title) {
        sum += static_cast<std::size_t>(duration * 1000 + bitRate) + title.size();
        return valid;
    };
    if (EndsWith(file, ".mp3") || EndsWith(file, ".mp2")) {
        r.mpeg.ReadFromFile(file);
        const std::string& title =
            r.mpeg.ID3v2().Title().empty() ? r.mpeg.ID3v1().Title() : r.mpeg.ID3v2().Title();
        return take(r.mpeg.Valid(), r.mpeg.Duration(), r.mpeg.BitRate(), title);
    }
    if (EndsWith(file, ".ogg")) {
        r.ogg.ReadFromFile(file);
        return take(r.ogg.Valid(), r.ogg.Duration(), r.ogg.BitRate(), r.ogg.Title());
    }
    if (EndsWith(file, ".flac")) {
        r.flac.ReadFromFile(file);
        return take(r.flac.Valid(), r.flac.Duration(), 0, r.flac.VorbisComment().GetValue("TITLE"));
    }
    if (EndsWith(file, ".wma")) {
        r.wma.ReadFromFile(file);
        return take(r.wma.Valid(), r.wma.Duration(), r.wma.BitRate(), r.wma.Title());
    }
    if (EndsWith(file, ".wv")) {
        r.wavpack.ReadFromFile(file);
        return take(r.wavpack.Valid(), r.wavpack.Duration(), r.wavpack.BitRate(),
                    r.wavpack.APEtag().Title());
    }
    if (EndsWith(file, ".mpc")) {
        r.musepack.ReadFromFile(file);
        return take(r.musepack.Valid(), r.musepack.Duration(), r.musepack.BitRate(),
                    r.musepack.APEtag().Title());
    }
    if (EndsWith(file, ".ape")) {
        r.monkey.ReadFromFile(file);
        return take(r.monkey.Valid(), r.monkey.Duration(), 0, r.monkey.APEtag().Title());
    }
    if (EndsWith(file, ".aac")) {
        r.aac.ReadFromFile(file);
        return take(r.aac.Valid(), r.aac.Duration(), r.aac.BitRate(), r.aac.ID3v2().Title());
    }
    if (EndsWith(file, ".vqf")) {
        r.twinvq.ReadFromFile(file);
        return take(r.twinvq.Valid(), r.twinvq.Duration(), r.twinvq.BitRate(), r.twinvq.Title());
    }
    if (EndsWith(file, ".ofr")) {
        r.optimfrog.ReadFromFile(file);
        return take(r.optimfrog.Valid(), r.optimfrog.Duration(), 0, r.optimfrog.APEtag().Title());
    }
    return false;
}

// Kept out of line so that callgrind can collect this function alone.
[[gnu::noinline]] std::size_t ReadWithOurs(const std::vector<std::string>& files,
                                           std::size_t& sum) {
    static OurReaders readers;
    std::size_t valid = 0;
    for (const auto& file : files) valid += ReadOne(readers, file, sum);
    return valid;
}

std::size_t ReadWithTagLib(const std::vector<std::string>& files, std::size_t& sum) {
    std::size_t read = 0;
    for (const auto& file : files) {
        TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Average);
        if (ref.isNull() || !ref.audioProperties()) continue;
        ++read;
        sum += ref.tag()->title().size() +
               static_cast<std::size_t>(ref.audioProperties()->bitrate()) +
               static_cast<std::size_t>(ref.audioProperties()->lengthInMilliseconds());
    }
    return read;
}

// mutagen runs in one interpreter started before the timing; each round asks it to read every
// file once, by the class of its format, and blocks until it answers with the count it read.
constexpr const char* kMutagenScript = R"(
import os, sys
import mutagen.aac, mutagen.asf, mutagen.flac, mutagen.monkeysaudio, mutagen.mp3
import mutagen.musepack, mutagen.oggvorbis, mutagen.optimfrog, mutagen.wavpack
KINDS = {".mp3": mutagen.mp3.MP3, ".mp2": mutagen.mp3.MP3, ".ogg": mutagen.oggvorbis.OggVorbis,
         ".flac": mutagen.flac.FLAC, ".wma": mutagen.asf.ASF, ".wv": mutagen.wavpack.WavPack,
         ".mpc": mutagen.musepack.Musepack, ".ape": mutagen.monkeysaudio.MonkeysAudio,
         ".aac": mutagen.aac.AAC, ".ofr": mutagen.optimfrog.OptimFROG}
folder = sys.argv[1]
files = [(os.path.join(folder, n), KINDS.get(os.path.splitext(n)[1])) for n in os.listdir(folder)]
for line in sys.stdin:
    read = 0
    total = 0
    for path, kind in files:
        if kind is None:
            continue
        try:
            audio = kind(path)
        except Exception:
            continue
        read += 1
        total += int(audio.info.length * 1000) + len(audio.tags or ())
    print(read, flush=True)
)";

class MutagenProcess {
public:
    explicit MutagenProcess(const fs::path& folder) {
        script_ = (folder.parent_path() / ("rv_bench_mutagen_" + std::to_string(getpid()) + ".py"))
                      .string();
        if (FILE* out = std::fopen(script_.c_str(), "w")) {
            std::fputs(kMutagenScript, out);
            std::fclose(out);
        }
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl("/usr/bin/python3", "python3", script_.c_str(), folder.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
    }
    ~MutagenProcess() {
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        std::remove(script_.c_str());
    }

    // Reads every file once; the number read, or -1 when the interpreter failed.
    long ReadAll() {
        if (pid_ <= 0 || write(in_, "go\n", 3) != 3) return -1;
        std::string reply;
        while (reply.find('\n') == std::string::npos) {
            char buffer[64];
            const ssize_t n = read(out_, buffer, sizeof buffer);  // blocks: no spinning
            if (n <= 0) return -1;
            reply.append(buffer, static_cast<size_t>(n));
        }
        return std::atol(reply.c_str());
    }

private:
    std::string script_;
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
};

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    int count = 20000;
    bool oursOnce = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--files" && i + 1 < argc) {
            count = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--ours-once") {
            oursOnce = true;
        } else {
            std::fprintf(stderr, "usage: %s [--rounds N] [--files N] [--ours-once]\n", argv[0]);
            return 2;
        }
    }

    const Corpus corpus(count);
    const auto& files = corpus.Files();
    std::size_t sum = 0;
    if (oursOnce) {
        const std::size_t valid = ReadWithOurs(files, sum);
        std::printf("%zu files read once, %zu valid (checksum %zu)\n", files.size(), valid, sum);
        return 0;
    }

    MutagenProcess mutagen(corpus.Folder());
    // One untimed pass each: modules loaded, code and data warm.
    const std::size_t oursValid = ReadWithOurs(files, sum);
    const std::size_t taglibRead = ReadWithTagLib(files, sum);
    const long mutagenRead = mutagen.ReadAll();
    if (mutagenRead < 0) {
        std::fprintf(stderr, "python3-mutagen did not run\n");
        return 1;
    }
    std::printf(
        "%zu copies of %zu test files; read as valid by ours %zu, read by TagLib %zu, by "
        "mutagen %ld\n",
        files.size(), corpus.Sources(), oursValid, taglibRead, mutagenRead);

    enum { kOurs, kTagLib, kMutagen, kTools };
    const char* names[kTools] = {"ours", "taglib", "mutagen"};
    const std::function<void()> work[kTools] = {[&] { ReadWithOurs(files, sum); },
                                                [&] { ReadWithTagLib(files, sum); },
                                                [&] { mutagen.ReadAll(); }};
    std::vector<double> times[kTools];
    std::vector<double> ratios[kTools];
    for (int round = 0; round < rounds; ++round) {
        double t[kTools];
        for (int k = 0; k < kTools; ++k) {
            const int tool = (round + k) % kTools;  // each tool in each place in turn
            t[tool] = Seconds(work[tool]);
        }
        for (int tool = 0; tool < kTools; ++tool) {
            times[tool].push_back(t[tool]);
            ratios[tool].push_back(t[tool] / t[kOurs]);
        }
        std::printf("round %d: ours %.1f ms, taglib %.1f ms, mutagen %.1f ms\n", round + 1,
                    t[kOurs] * 1e3, t[kTagLib] * 1e3, t[kMutagen] * 1e3);
    }

    std::printf("\nMedians over %d rounds, warm page cache:\n", rounds);
    for (int tool = 0; tool < kTools; ++tool)
        std::printf("  %-8s %10.0f files/s\n", names[tool],
                    static_cast<double>(files.size()) / Median(times[tool]));
    std::printf(
        "\nRatios (reference time / our time, median of paired rounds; above 1 means "
        "ours is faster):\n");
    for (int tool = kTagLib; tool < kTools; ++tool)
        std::printf("  ReadMixedFormats %-8s %8.2f\n", names[tool], Median(ratios[tool]));
    std::printf("(checksum %zu)\n", sum % 1000);
    return 0;
}
