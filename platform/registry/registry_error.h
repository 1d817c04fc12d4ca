#pragma once

#include "platform/base/exception.h"

namespace rv {

// A setting that cannot be written, or a settings file that cannot be read or replaced.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

}  // namespace rv
