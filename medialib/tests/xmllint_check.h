#pragma once

#include <gtest/gtest.h>

#include <string>

#include "testsupport/process.h"

// Files we write, as an independent parser sees them.
namespace rv::test {

inline void ExpectWellFormed(const std::string& path) {
    if (!HaveTool("xmllint")) return;
    const ProcessResult result = RunProcess({"xmllint", "--noout", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

// The text at `xpath`, in UTF-8.
inline std::string XPathText(const std::string& path, const std::string& xpath) {
    std::string text = RunProcess({"xmllint", "--xpath", "string(" + xpath + ")", path}).out;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace rv::test
