// Reading and writing a 30 MB catalogue file: ours beside pugixml and xmllint.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <string>

#include "bench/support/xmllint.h"
#include "library_document.h"
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

// Each tool loads the file once before the clock runs, so that neither is judged by a first
// round that finds its allocator cold.
void ParseOurs(benchmark::State& state) {
    rv::MakeXmlDocument()->Load(LibraryFile());
    for (auto _ : state) {
        rv::IXmlDocument doc = rv::MakeXmlDocument();
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
    rv::IXmlDocument doc = rv::MakeXmlDocument();
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
    rv::IXmlDocument doc = rv::MakeXmlDocument();
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

BENCHMARK(ParseOurs)->Name("Load30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(ParsePugixml)->Name("Load30MB/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(ParseXmllint)->Name("Load30MB/xmllint")->Unit(benchmark::kMillisecond);
BENCHMARK(TextOurs)->Name("Text30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TextPugixml)->Name("Text30MB/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(WriteOurs)->Name("Save30MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(WritePugixml)->Name("Save30MB/pugixml")->Unit(benchmark::kMillisecond);

}  // namespace
