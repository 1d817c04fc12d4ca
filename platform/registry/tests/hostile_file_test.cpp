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
#include "testsupport/test_files.h"

namespace rv {
namespace {

using HostileFile = test::SettingsSandbox;

constexpr double kMostMiBPerRead = 50;

// `first`, then lines made by `line` (given their number), up to `most` lines or until the next
// would pass the size of a file.
std::string FillFile(const std::string& first, const std::function<std::string(int)>& line,
                     int most = 1 << 30) {
    std::string text = first;
    for (int n = 0; n < most; ++n) {
        const std::string next = line(n);
        if (text.size() + next.size() > kMaxSettingsFileBytes) break;
        text += next;
    }
    return text;
}

std::string DeepPath(std::size_t depth, const std::string& name) {
    std::string path;
    for (std::size_t level = 0; level < depth; ++level) path += "\\" + name;
    return path;
}

TEST_F(HostileFile, EachReadStaysWithinItsMemoryBound) {
    const std::string key = "[HKEY_CURRENT_USER\\K]\n";
    const struct {
        const char* shape;
        std::string text;
        bool damaged;
    } files[] = {
        // Every header 501 keys deep, each on a path of its own from the root.
        {"deep paths",
         FillFile("",
                  [](int n) {
                      return "[HKEY_CURRENT_USER\\" + std::to_string(n) + DeepPath(500, "a") +
                             "]\n";
                  }),
         true},
        // Keys as many as fit in a file, one level each.
        {"many keys",
         FillFile("", [](int n) { return "[HKEY_CURRENT_USER\\" + std::to_string(n) + "]\n"; }),
         true},
        // Values as many as fit in a file, in one key.
        {"many values", FillFile(key, [](int n) { return "\"" + std::to_string(n) + "\"=\"\"\n"; }),
         true},
        // As many keys as the limits allow, all at the deepest level.
        {"most keys",
         FillFile(
             "",
             [](int n) {
                 return "[HKEY_CURRENT_USER\\" + std::to_string(n) +
                        DeepPath(kMaxKeyDepth - 1, "a") + "]\n";
             },
             int(kMaxKeysPerFile / kMaxKeyDepth)),
         false},
        // As many values as the limits allow, 64 to a key.
        {"most values",
         FillFile(
             "",
             [](int n) {
                 return (n % 64 == 0 ? "[HKEY_CURRENT_USER\\" + std::to_string(n / 64) + "]\n"
                                     : std::string()) +
                        "\"" + std::to_string(n % 64) + "\"=\"\"\n";
             },
             int(kMaxValuesPerFile)),
         false},
        // The longest names and values.
        {"longest names and values",
         FillFile("",
                  [](int n) {
                      return "[HKEY_CURRENT_USER\\" + std::to_string(n) +
                             DeepPath(4, std::string(250, 'k')) + "]\n\"" +
                             std::string(kMaxValueNameBytes, 'n') + "\"=\"" +
                             std::string(kMaxValueBytes, 'v') + "\"\n";
                  }),
         false},
    };
    std::filesystem::create_directories(std::filesystem::path(File()).parent_path());
    for (const auto& file : files) {
        test::WriteFileBytes(File(), file.text);
        const test::HeapMeter meter;
        {
            TRegistry reg;
            reg.OpenKeyReadOnly("K");
        }
        EXPECT_LE(meter.PeakMiB(), kMostMiBPerRead) << file.shape;
        EXPECT_EQ(TakeSetAsideSettingsFiles().size(), file.damaged ? 1u : 0u) << file.shape;
        EXPECT_EQ(test::FileExists(File()), !file.damaged) << file.shape;
    }
}

}  // namespace
}  // namespace rv
