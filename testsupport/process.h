#pragma once

#include <string>
#include <vector>

namespace rv::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the program could not be started or was killed by a signal
    std::string out;
    std::string err;
};

// Runs a program (looked up on PATH) with the given arguments, feeding `input` to its standard
// input, and collects both output streams.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = {});

// Whether a program of that name is on PATH.
bool HaveTool(const std::string& name);

// Whether the Debian package of that name is installed.
bool PackageInstalled(const std::string& package);

}  // namespace rv::test

// Skips the current test, with the reason, when an optional outside tool is missing.
#define RV_REQUIRE_TOOL(name)                                                           \
    do {                                                                                \
        if (!::rv::test::HaveTool(name)) GTEST_SKIP() << (name) << " is not installed"; \
    } while (false)

// Skips the current test when the Debian package of a server (or of a program a test runs) is not
// installed, and fails it when the package is there but the server did not start or the program
// failed (`started` false, `why` saying what happened): the test scripts install every such
// package, so a failure of its program is a fault to see, never a reason to pass over the test.
#define RV_REQUIRE_STARTED(package, started, why)             \
    do {                                                      \
        if (!::rv::test::PackageInstalled(package))           \
            GTEST_SKIP() << (package) << " is not installed"; \
        ASSERT_TRUE(started) << (why);                        \
    } while (false)
