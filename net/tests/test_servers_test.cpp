// The servers the tests start: one whose Debian package is installed must start, or the test
// that needs it fails; only one whose package is missing skips the test.

#include "net/tests/test_servers.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace rv::test {
namespace {

// A server of `package` that runs a line of Python.
class PythonServer : public TestServer {
public:
    PythonServer(const std::string& package, const std::string& code) {
        Start(package, {"/usr/bin/python3", "-c", code}, 0);
    }
};

using Result = std::pair<::testing::TestPartResult::Type, std::string>;

// What a test that requires `server` is told, instead of being told it.
std::vector<Result> Required(const TestServer& server) {
    ::testing::TestPartResultArray told;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &told);
        [&] { RV_REQUIRE_SERVER(server); }();
    }
    std::vector<Result> results;
    for (int i = 0; i < told.size(); ++i)
        results.emplace_back(told.GetTestPartResult(i).type(), told.GetTestPartResult(i).message());
    return results;
}

TEST(TestServers, AnInstalledServerThatDoesNotStartFailsTheTestAndOnlyAMissingOneSkipsIt) {
    const PythonServer ends("python3", "raise SystemExit(1)");
    EXPECT_TRUE(ends.Installed());
    const std::vector<Result> failed = Required(ends);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].first, ::testing::TestPartResult::kFatalFailure);
    EXPECT_NE(failed[0].second.find("/usr/bin/python3 -c raise SystemExit(1) did not start"),
              std::string::npos)
        << failed[0].second;

    const PythonServer missing("rv-no-such-package", "print(1, flush=True)");
    EXPECT_FALSE(missing.Installed());
    EXPECT_EQ(missing.Port(), 0);
    const std::vector<Result> skipped = Required(missing);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].first, ::testing::TestPartResult::kSkip);
    EXPECT_NE(skipped[0].second.find("rv-no-such-package is not installed"), std::string::npos)
        << skipped[0].second;

    const HttpFake runs;
    EXPECT_NE(runs.Port(), 0);
    EXPECT_TRUE(Required(runs).empty());
}

}  // namespace
}  // namespace rv::test
