#pragma once

#include <functional>
#include <string>

#include "medialib/xml/xml_error.h"

namespace rv::test {

// The XML error an action raises: its message, "(no error)" when there is none, and position.
struct ErrorInfo {
    std::string message = "(no error)";
    int line = 0, column = 0;
};

inline ErrorInfo ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EXmlError& error) {
        return {error.Message(), error.Line(), error.Column()};
    }
    return {};
}

inline std::string MessageOf(const std::function<void()>& action) {
    return ErrorOf(action).message;
}

}  // namespace rv::test
