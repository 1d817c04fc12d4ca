#include "import/tests/test_media.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>

#include "platform/text/format.h"
#include "testsupport/process.h"
#include "testsupport/test_files.h"

namespace rv::test {

namespace {

namespace fs = std::filesystem;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// The folder for what the script makes today: named after the script's text and the tools it
// finds. It is made aside and moved into place whole, so no process sees half of it; when
// several make it at once, the first move wins and the others drop theirs.
std::string MakeMediaFolder() {
    const std::string script = SourcePath("import/tests/make_test_media.sh");
    const ProcessResult probe = RunProcess({"bash", script, "--probe"});
    const std::string key = Format(
        "%016llx", static_cast<unsigned long long>(Fnv1a(ReadFileBytes(script) + probe.out)));
    const fs::path cache = RV_TEST_MEDIA_CACHE;
    const fs::path folder = cache / key;
    if (fs::exists(folder)) return folder.string();

    fs::create_directories(cache);
    const fs::path scratch = cache / Format("making-%08x", std::random_device()());
    fs::create_directory(scratch);
    const ProcessResult made = RunProcess({"bash", script, scratch.string()});
    std::error_code error;
    if (made.exitCode != 0) {
        ADD_FAILURE() << "make_test_media.sh failed:\n" << made.err;
        fs::remove_all(scratch, error);
        return folder.string();
    }
    fs::rename(scratch, folder, error);
    if (error) fs::remove_all(scratch, error);
    // Folders of earlier versions of the script go.
    for (const fs::directory_entry& entry : fs::directory_iterator(cache, error)) {
        const std::string name = entry.path().filename();
        if (name != key && !name.starts_with("making-")) fs::remove_all(entry.path(), error);
    }
    return folder.string();
}

const std::string& MediaFolder() {
    static const std::string folder = MakeMediaFolder();
    return folder;
}

}  // namespace

std::string MissingMedia(std::string_view group) {
    if (!FileExists(MediaFolder())) return "the test media could not be made";
    std::istringstream skipped(ReadFileBytes(MediaFolder() + "/skipped.tsv"));
    for (std::string line; std::getline(skipped, line);)
        if (line.starts_with(std::string(group) + '\t'))
            return "needs " + line.substr(group.size() + 1);
    return {};
}

std::string MediaPath(std::string_view file) {
    return MediaFolder() + "/" + std::string(file);
}

}  // namespace rv::test
