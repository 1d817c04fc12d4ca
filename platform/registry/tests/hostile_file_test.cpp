// Settings files made to cost as much as a file of the largest size can: each is read within a
// bounded amount of memory, and one past the limits is set aside as damaged.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/registry/registry.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_text.h"
#include "platform/registry/tests/heap_meter.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "platform/text/format.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using HostileFile = test::SettingsSandbox;

// Lines made by `line` (given their number), up to `most` or until the file is full.
std::string FillFile(const std::function<std::string(int)>& line, int most = 1 << 30) {
    std::string text;
    for (int n = 0; n < most && text.size() + line(n).size() <= kMaxSettingsFileBytes; ++n)
        text += line(n);
    return text;
}

// A header on a path of its own, `depth` keys deep.
std::string DeepHeader(int n, std::size_t depth) {
    std::string header = "[HKEY_CURRENT_USER\\" + std::to_string(n);
    for (std::size_t level = 1; level < depth; ++level) header += "\\a";
    return header + "]\n";
}

TEST_F(HostileFile, EachReadStaysWithinItsMemoryBound) {
    const struct {
        const char* shape;
        std::string text;
        bool damaged;
    } files[] = {
        {"headers 501 keys deep", FillFile([](int n) { return DeepHeader(n, 501); }), true},
        {"values in one key",
         "[HKEY_CURRENT_USER\\K]\n" + FillFile([](int n) { return Format("\"%d\"=\"\"\n", n); }),
         true},
        {"the most keys, at the deepest level",
         FillFile([](int n) { return DeepHeader(n, kMaxKeyDepth); },
                  int(kMaxKeysPerFile / kMaxKeyDepth)),
         false},
    };
    std::filesystem::create_directories(std::filesystem::path(File()).parent_path());
    for (const auto& file : files) {
        test::WriteFileBytes(File(), file.text);
        const test::HeapMeter meter;
        TRegistry().OpenKeyReadOnly("K");
        if (test::HeapMeter::kAvailable) {
            EXPECT_LE(meter.PeakMiB(), 50.0) << file.shape;
        }
        EXPECT_EQ(TakeSetAsideSettingsFiles().size(), file.damaged ? 1u : 0u) << file.shape;
    }
}

}  // namespace
}  // namespace rv
