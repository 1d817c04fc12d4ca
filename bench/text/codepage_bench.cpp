// windows-1250 <-> UTF-8 over a few megabytes of mixed Czech and English text, ours beside
// glibc's iconv.

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <random>
#include <string>

#include "platform/text/codepage.h"

namespace {

constexpr size_t kTextSize = 4 << 20;

const std::string& Text1250() {
    static const std::string text = [] {
        // Mostly ASCII words with the accented letters a Czech catalogue is full of.
        const char* words[] = {"Dvo\xF8\xE1k ", "Symfonie ", "\xE8. 9 ",     "Nov\xE9ho ",
                               "sv\xECta ",     "Smetana ",  "M\xE1 vlast ", "\x8Aumava ",
                               "Live at ",      "the ",      "Opera ",       "\x84Z\xE1znam\x93 "};
        std::mt19937 random(1250);
        std::string s;
        while (s.size() < kTextSize) s += words[random() % std::size(words)];
        return s;
    }();
    return text;
}

const std::string& TextUtf8() {
    static const std::string text = rv::DecodeCodePage(rv::CodePage::Windows1250, Text1250());
    return text;
}

std::string Iconv(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    std::string out(in.size() * 3 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    char* outPtr = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

void DecodeOurs(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(rv::DecodeCodePage(rv::CodePage::Windows1250, Text1250()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text1250().size()));
}

void DecodeIconv(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Iconv("UTF-8", "WINDOWS-1250", Text1250()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text1250().size()));
}

void EncodeOurs(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(rv::EncodeCodePage(rv::CodePage::Windows1250, TextUtf8()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TextUtf8().size()));
}

void EncodeIconv(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Iconv("WINDOWS-1250", "UTF-8", TextUtf8()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TextUtf8().size()));
}

BENCHMARK(DecodeOurs)->Name("Windows1250ToUtf8/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeIconv)->Name("Windows1250ToUtf8/iconv")->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeOurs)->Name("Utf8ToWindows1250/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeIconv)->Name("Utf8ToWindows1250/iconv")->Unit(benchmark::kMillisecond);

}  // namespace
