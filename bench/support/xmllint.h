#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace rv::bench {

// `xmllint --noout FILE` once per iteration: the reference for reading an XML file.
inline void RunXmllintNoout(benchmark::State& state, const std::string& file) {
    if (std::system("command -v xmllint >/dev/null") != 0) {
        state.SkipWithError("xmllint is not installed");
        return;
    }
    const std::string command = "xmllint --noout '" + file + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("xmllint failed");
}

}  // namespace rv::bench
