#pragma once

#include <string>

#include "platform/base/exception.h"

namespace rv {

// Every error of the document library. Errors of the text parser also tell where in the input
// they arose: line and column (in characters) counted from 1; other errors carry 0 there.
class EXmlError : public Exception {
public:
    explicit EXmlError(const std::string& message, int line = 0, int column = 0)
        : Exception(message), line_(line), column_(column) {}

    int Line() const { return line_; }
    int Column() const { return column_; }

private:
    int line_;
    int column_;
};

}  // namespace rv
