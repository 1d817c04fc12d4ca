#pragma once

#include <optional>
#include <string>

namespace rv::test {

// An environment variable set for the life of the object and then put back as it was (unset, if
// it was), so that a test leaves the process as it found it, also when an assertion ends it.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const std::string& value);

private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace rv::test
