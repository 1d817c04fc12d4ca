#pragma once

#include <functional>
#include <string>

#include "medialib/xml/xml_error.h"

namespace rv::test {

// The message of the XML error an action raises, or "(no error)".
inline std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EXmlError& error) {
        return error.Message();
    }
    return "(no error)";
}

}  // namespace rv::test
