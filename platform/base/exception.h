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

}  // namespace rv
