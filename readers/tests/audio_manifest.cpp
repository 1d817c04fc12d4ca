#include "readers/tests/audio_manifest.h"

#include <gtest/gtest.h>

#include <sstream>

#include "testsupport/test_files.h"

namespace rv::test {

AudioManifest::AudioManifest(const std::string& format) : folder_(TestDataPath("audio/" + format)) {
    std::istringstream in(ReadFileBytes(folder_ + "/manifest.tsv"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (fields.size() != 4) {
            ADD_FAILURE() << "malformed manifest line: " << line;
            continue;
        }
        values_[fields[0]].emplace(fields[1], Value{fields[2], fields[3]});
    }
    EXPECT_FALSE(values_.empty()) << "no values in the manifest of " << format;
}

std::vector<std::string> AudioManifest::Files() const {
    std::vector<std::string> files;
    for (const auto& [file, values] : values_) files.push_back(file);
    return files;
}

std::string AudioManifest::Path(const std::string& file) const {
    return folder_ + "/" + file;
}

std::vector<AudioManifest::Value> AudioManifest::Values(const std::string& file,
                                                        const std::string& key) const {
    std::vector<Value> result;
    const auto found = values_.find(file);
    if (found == values_.end()) return result;
    const auto [first, last] = found->second.equal_range(key);
    for (auto it = first; it != last; ++it) result.push_back(it->second);
    return result;
}

std::optional<std::string> AudioManifest::Get(const std::string& file, const std::string& key,
                                              const std::string& tool) const {
    for (const Value& value : Values(file, key))
        if (tool.empty() || value.tool == tool) return value.value;
    return std::nullopt;
}

}  // namespace rv::test
