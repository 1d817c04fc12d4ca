#pragma once

#include <stdexcept>
#include <string>

namespace rv {

// Root of the program's error classes: every error carries the text shown to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// The silent abort: it ends the command that raised it and is shown to nobody.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raises the silent abort.
[[noreturn]] inline void Abort() {
    throw EAbort();
}

}  // namespace rv
