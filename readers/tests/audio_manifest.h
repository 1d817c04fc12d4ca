#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rv::test {

// The reference values of one format's test files, testdata/audio/<format>/manifest.tsv: lines
// of "file<TAB>key<TAB>value<TAB>tool"; '#' starts a comment line.
class AudioManifest {
public:
    struct Value {
        std::string value;
        std::string tool;
    };

    // Fails the running test when the manifest cannot be read or a line is malformed.
    explicit AudioManifest(const std::string& format);

    // The files named in the manifest, sorted.
    std::vector<std::string> Files() const;
    // Full path of a file of this format.
    std::string Path(const std::string& file) const;
    // Every value of a key, in manifest order (several tools may give one).
    std::vector<Value> Values(const std::string& file, const std::string& key) const;
    // The value a given tool gave, or the first one when `tool` is empty.
    std::optional<std::string> Get(const std::string& file, const std::string& key,
                                   const std::string& tool = {}) const;

private:
    std::string folder_;
    std::map<std::string, std::multimap<std::string, Value>> values_;
};

}  // namespace rv::test
