#pragma once

#include <string>

#include "platform/base/exception.h"
#include "platform/files/streams.h"

namespace rv {

// Errors that the application's data or calls can cause; HelpContext is the error's number.
class EVirtualTreeError : public Exception {
public:
    EVirtualTreeError(int helpContext, const std::string& message)
        : Exception(message), HelpContext(helpContext) {}
    int HelpContext;
};

// The numbers of the tree's errors.
inline constexpr int hcTFEditLinkIsNil = 2000;
inline constexpr int hcTFWrongMoveError = 2001;
inline constexpr int hcTFWrongStreamFormat = 2002;
inline constexpr int hcTFWrongStreamVersion = 2003;
inline constexpr int hcTFStreamTooSmall = 2004;
inline constexpr int hcTFCorruptStreamFormat = 2005;
inline constexpr int hcTFCorruptStreamData = 2006;
inline constexpr int hcTFClipboardFailed = 2007;
inline constexpr int hcTFCannotSetUserData = 2008;

// The text of error `helpContext` (empty for an unknown number).
const char* VirtualTreeErrorText(int helpContext);

// Raises EVirtualTreeError `helpContext` with its text.
[[noreturn]] void RaiseVirtualTreeError(int helpContext);

// A broken rule of the tree's programming interface: the message, the source file and the line.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void RaiseTreeAssertion(const char* message, const char* file, int line);

// The caller's file and line come from the compiler's built-ins, which both compilers the
// project builds with (g++ and, for the fuzz targets, clang 14) know.
inline void TreeAssert(bool condition, const char* message, const char* file = __builtin_FILE(),
                       int line = __builtin_LINE()) {
    if (!condition) RaiseTreeAssertion(message, file, line);
}

}  // namespace rv
