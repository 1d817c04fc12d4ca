#pragma once

#include "platform/base/exception.h"

namespace rv {

// A file that is readable XML but no library this program can load.
class EMediaLibError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace rv
