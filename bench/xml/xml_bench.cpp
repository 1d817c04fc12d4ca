// Reading and writing a 30 MB catalogue file: ours beside pugixml and xmllint. Then the worst
// shapes known, beside pugixml in paired rounds: one element with very many attributes, and
// library files with very many distinct element names.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <string>

#include "bench/support/paired_runs.h"
#include "bench/support/xmllint.h"
#include "hostile_documents.h"
#include "library_document.h"
#include "medialib/media_lib.h"
#include "medialib/xml/simple_xml.h"

namespace {

const std::string& LibraryFile() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string p = std::string(tmp && *tmp ? tmp : "/tmp") + "/rv_bench_library_" +
                        std::to_string(::getpid()) + ".rvl";
        std::ofstream(p, std::ios::binary) << MakeLibraryDocument(30u << 20);
        std::atexit([] { std::remove(LibraryFile().c_str()); });
        return p;
    }();
    return path;
}

std::string OutputFile() {
    return LibraryFile() + ".out";
}

// Each document has a name table of its own, which goes with it, as the library file reader's
// does: the thread's table, which never drops a name, would grow by every name a round reads.
rv::IXmlDocument NewDocument() {
    return rv::MakeXmlDocument({}, "1.0", {}, new rv::TXmlNameTable);
}

// Each tool loads the file once before the clock runs, so that neither is judged by a first
// round that finds its allocator cold.
void ParseOurs(benchmark::State& state) {
    NewDocument()->Load(LibraryFile());
    for (auto _ : state) {
        rv::IXmlDocument doc = NewDocument();
        doc->Load(LibraryFile());
        benchmark::DoNotOptimize(doc->DocumentElement());
    }
}

void ParsePugixml(benchmark::State& state) {
    pugi::xml_document().load_file(LibraryFile().c_str());
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_file(LibraryFile().c_str())) state.SkipWithError("pugixml failed");
        benchmark::DoNotOptimize(doc.first_child());
    }
}

void ParseXmllint(benchmark::State& state) {
    rv::bench::RunXmllintNoout(state, LibraryFile());
}

// The text form in memory, then the same written to a file (ours replaces it atomically, with
// a flush to disk).
void TextOurs(benchmark::State& state) {
    rv::IXmlDocument doc = NewDocument();
    doc->Load(LibraryFile());
    for (auto _ : state) benchmark::DoNotOptimize(doc->SaveToBytes());
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

void TextPugixml(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(LibraryFile().c_str());
    for (auto _ : state) {
        StringWriter writer;
        doc.save(writer, "\t");
        benchmark::DoNotOptimize(writer.text);
    }
}

void WriteOurs(benchmark::State& state) {
    rv::IXmlDocument doc = NewDocument();
    doc->Load(LibraryFile());
    for (auto _ : state) doc->Save(OutputFile());
    std::remove(OutputFile().c_str());
}

void WritePugixml(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(LibraryFile().c_str());
    for (auto _ : state) doc.save_file(OutputFile().c_str(), "\t");
    std::remove(OutputFile().c_str());
}

using rv::bench::Milliseconds;
using rv::bench::PairedRounds;

constexpr int kRounds = 7;

double PugixmlLoadMs(benchmark::State& state, const std::string& file) {
    pugi::xml_document doc;
    return Milliseconds([&] {
        if (!doc.load_file(file.c_str())) state.SkipWithError("pugixml failed");
    });
}

// Ours: the document, every attribute in it (and freed with it).
void ManyAttributes(benchmark::State& state, int count) {
    const std::string file = ManyAttributesFile(count);
    PairedRounds(
        state, "ours",
        [&] {
            return Milliseconds([&] {
                const rv::IXmlDocument doc = NewDocument();
                doc->Load(file);
                if (doc->DocumentElement()->AttrCount() != count)
                    state.SkipWithError("attributes lost");
            });
        },
        "pugixml", [&] { return PugixmlLoadMs(state, file); });
}

// Ours: the library, through the loader that passes unknown elements over.
void ManyNames(benchmark::State& state, const std::string& file) {
    PairedRounds(
        state, "ours",
        [&] {
            return Milliseconds([&] {
                rv::TMediaLib lib;
                lib.LoadFromFile(file);
                if (lib.AlbumCount() != 1) state.SkipWithError("library lost");
            });
        },
        "pugixml", [&] { return PugixmlLoadMs(state, file); });
}

// Ours: the same file as a document, its names going into its own table and freed with it.
void ManyNamesDocument(benchmark::State& state, int count) {
    const std::string file = ManyNamesLibraryFile(count);
    PairedRounds(
        state, "ours", [&] { return Milliseconds([&] { NewDocument()->Load(file); }); }, "pugixml",
        [&] { return PugixmlLoadMs(state, file); });
}

BENCHMARK(ParseOurs)->Name("Load30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(ParsePugixml)->Name("Load30MB/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(ParseXmllint)->Name("Load30MB/xmllint")->Unit(benchmark::kMillisecond);
BENCHMARK(TextOurs)->Name("Text30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TextPugixml)->Name("Text30MB/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(WriteOurs)->Name("Save30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(WritePugixml)->Name("Save30MB/pugixml")->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool registered = [] {
    const auto paired = [](benchmark::internal::Benchmark* work) {
        work->UseManualTime()->Iterations(kRounds)->Unit(benchmark::kMillisecond);
    };
    for (const int count : {200000, 1000000}) {
        const std::string n = count == 200000 ? "200k" : "1M";
        paired(benchmark::RegisterBenchmark(("Attributes" + n + "/paired").c_str(), ManyAttributes,
                                            count));
        paired(benchmark::RegisterBenchmark(
            ("LibraryNames" + n + "/paired").c_str(),
            [count](benchmark::State& state) { ManyNames(state, ManyNamesLibraryFile(count)); }));
        paired(benchmark::RegisterBenchmark(("DocumentNames" + n + "/paired").c_str(),
                                            ManyNamesDocument, count));
    }
    paired(benchmark::RegisterBenchmark(
        "LibraryNames131kOfOneFileHash/paired",
        [](benchmark::State& state) { ManyNames(state, CollidingNamesLibraryFile(17)); }));
    return true;
}();

}  // namespace
