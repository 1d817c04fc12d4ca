#include "platform/audio/tests/test_tones.h"

#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

#include "testsupport/process.h"

namespace rv::test {

namespace {

bool Run(const std::vector<std::string>& argv, std::string& why) {
    const ProcessResult result = RunProcess(argv);
    if (result.exitCode == 0) return true;
    why = argv[0] + " failed: " + result.err;
    return false;
}

// The tags as lame's options ("--tt" ...) or ffmpeg's metadata ("title=" ...).
std::vector<std::string> TagArguments(const ToneTags& tags, bool lame) {
    const std::pair<const std::string*, const char*> fields[] = {
        {&tags.Title, lame ? "--tt" : "title"}, {&tags.Artist, lame ? "--ta" : "artist"},
        {&tags.Album, lame ? "--tl" : "album"}, {&tags.Year, lame ? "--ty" : "date"},
        {&tags.Track, lame ? "--tn" : "track"},
    };
    std::vector<std::string> out;
    for (const auto& [value, name] : fields) {
        if (value->empty()) continue;
        if (lame) {
            out.insert(out.end(), {name, *value});
        } else {
            out.insert(out.end(), {"-metadata", std::string(name) + "=" + *value});
        }
    }
    return out;
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail,
                                std::initializer_list<std::string> end) {
    head.insert(head.end(), tail.begin(), tail.end());
    head.insert(head.end(), end);
    return head;
}

}  // namespace

const char* ToneEncoder(ToneFormat format) {
    return format == ToneFormat::Mp3 ? "lame" : "ffmpeg";
}

bool MakeTone(const std::string& path, ToneFormat format, double seconds, std::string& why,
              const ToneTags& tags) {
    const std::string wave = path + ".source.wav";
    if (!Run({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wave, "synth",
              std::to_string(seconds), "sine", "440", "vol", "0.5"},
             why)) {
        return false;
    }
    bool made = false;
    switch (format) {
        case ToneFormat::Mp3:
            made = Run(
                Joined({"lame", "--quiet", "-b", "320"}, TagArguments(tags, true), {wave, path}),
                why);
            break;
        case ToneFormat::Mp2:
            made = Run({"ffmpeg", "-v", "error", "-y", "-i", wave, "-c:a", "mp2", "-b:a", "192k",
                        "-f", "mp2", path},
                       why);
            break;
        case ToneFormat::Wma:
            made = Run(
                Joined({"ffmpeg", "-v", "error", "-y", "-i", wave, "-c:a", "wmav2", "-b:a", "128k"},
                       TagArguments(tags, false), {"-f", "asf", path}),
                why);
            break;
    }
    std::remove(wave.c_str());
    return made;
}

bool RetagWma(const std::string& path, std::string& why) {
    const char* script =
        "import sys, mutagen.asf\n"
        "tags = mutagen.asf.ASF(sys.argv[1])\n"
        "tags['WM/Year'] = ['2024']\n"
        "tags['Description'] = ['Liner notes. ' * 200]\n"
        "tags.save()\n";
    return Run({"/usr/bin/python3", "-c", script, path}, why);
}

}  // namespace rv::test
