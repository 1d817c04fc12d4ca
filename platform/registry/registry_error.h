#pragma once

#include <string>
#include <string_view>

#include "platform/base/exception.h"

namespace rv {

// A setting that cannot be written, or a settings file that cannot be read or replaced.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A name as an error message quotes it: in single quotes, cut after its first few characters
// (a name may be thousands of bytes long), with bytes that are not UTF-8 shown as U+FFFD and
// control characters as "?".
std::string QuoteName(std::string_view name);

}  // namespace rv
