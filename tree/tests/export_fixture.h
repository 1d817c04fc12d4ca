#pragma once
// A string tree whose cell texts come from a table, for the export tests, and the outside
// readers they check the exports with.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/transfer/clipboard_format_names.h"
#include "testsupport/process.h"
#include "testsupport/test_files.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {

// Cell texts by node id and column; a cell not in the table shows "<id>/<column>".
struct ExportTree {
    ExportTree() {
        tree.SetColor(clWhite);
        tree.OnGetText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex column,
                                TVSTTextType, std::string& text) { text = Text(n, column); };
    }
    std::string Text(PVirtualNode n, TColumnIndex column) const {
        const auto it = texts.find({tree.Id(n), column});
        return it != texts.end() ? it->second
                                 : std::to_string(tree.Id(n)) + "/" + std::to_string(column);
    }
    // Columns with the captions given, left to right.
    void AddColumns(const std::vector<std::string>& captions) {
        for (const std::string& caption : captions) tree.Header().Columns().Add().SetText(caption);
    }

    IdTree tree;
    std::map<std::pair<int, TColumnIndex>, std::string> texts;
};

inline TClipFormat FormatNumber(const char* name) {
    return RegisterClipboardFormat(name);
}

// The bytes of the block the tree makes for a clipboard format; "<none>" without a block.
inline std::string ClipboardBytes(TCustomVirtualStringTree& tree, TClipFormat format,
                                  TVSTTextSourceType source) {
    const HGLOBAL block = tree.ContentToClipboard(format, source);
    if (!block) return "<none>";
    return std::string(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
}

// Whether Debian's Python is there to read our exports back.
inline bool HavePython() {
    return FileExists("/usr/bin/python3");
}

// Runs a Python script on `input`; the test fails on a non-zero exit.
inline std::string RunPython(const std::string& script, const std::string& input,
                             const std::vector<std::string>& args = {}) {
    std::vector<std::string> argv = {"/usr/bin/python3", "-c", script};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProcessResult result = RunProcess(argv, input);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

// Python prints texts as hexadecimal UTF-8, so that any character survives the trip.
inline std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Lines of blank-separated words.
inline std::vector<std::vector<std::string>> Words(const std::string& text) {
    std::vector<std::vector<std::string>> lines(1);
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\n') {
            if (!word.empty()) lines.back().push_back(word);
            word.clear();
            if (c == '\n') lines.emplace_back();
        } else {
            word += c;
        }
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace rv::test
