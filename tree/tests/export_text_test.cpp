// The text, CSV and RTF exports: Python's csv reading the grid back in both encodings, the rich
// text tokenized and decoded, the node sources, broken UTF-8 and the empty export.

#include <cctype>
#include <string>

#include "platform/text/utf16.h"
#include "platform/text/utf8.h"
#include "tree/export_clipboard.h"
#include "tree/tests/export_fixture.h"

namespace rv::test {
namespace {

// Three levels under two columns and a main column shown between them, with cells holding
// every character that can break a CSV grid.
struct GridTree : ExportTree {
    GridTree() {
        AddColumns({"Title, \"main\"", "Artist;\tname", "Year\r\n"});
        tree.Header().Columns()[0].SetPosition(1);  // shown order 1, 0, 2
        const PVirtualNode a = tree.Add(nullptr, 1), a1 = tree.Add(a, 2);
        tree.Add(a1, 3);
        tree.Add(nullptr, 4);
        tree.FullExpand();
        texts[{1, 0}] = "a,b";
        texts[{1, 1}] = "say \"hi\"";
        texts[{2, 0}] = "line 1\r\nline 2\nline 3\r";
        texts[{2, 2}] = "tab\there; semi";
        texts[{3, 0}] = "Dvořák 🎵";
        texts[{3, 1}] = "";
        texts[{4, 2}] = "\"\"";
    }
    // The grid a reader should see: the header, then a line per node, the main column spread
    // over MaxLevel + 1 cells by the node's level.
    std::vector<std::vector<std::string>> Grid() {
        const std::vector<TColumnIndex> shown = {1, 0, 2};
        const unsigned maxLevel = 2;
        std::vector<std::vector<std::string>> grid(1);
        for (TColumnIndex column : shown) {
            grid[0].push_back(tree.Header().Columns()[column].Text());
            if (column == 0) grid[0].insert(grid[0].end(), maxLevel, "");
        }
        for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNext(n)) {
            auto& line = grid.emplace_back();
            const unsigned level = tree.GetNodeLevel(n);
            for (TColumnIndex column : shown) {
                if (column == 0) line.insert(line.end(), level, "");
                line.push_back(tree.GetText(n, column));
                if (column == 0) line.insert(line.end(), maxLevel - level, "");
            }
        }
        return grid;
    }
};

const char* const kReadCsv = R"(
import csv, io, sys
data = sys.stdin.buffer.read().decode(sys.argv[1])
for row in csv.reader(io.StringIO(data, newline=''), delimiter=sys.argv[2], strict=True):
    print(' '.join('x' + field.encode().hex() for field in row))
)";

TEST(TextExport, PythonCsvReadsBackTheExactGridInEitherEncoding) {
    if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
    GridTree t;
    const auto expected = t.Grid();
    for (char32_t separator : {U',', U';', U'\t'}) {
        const std::string sep(1, char(separator));
        const std::u16string wide = t.tree.ContentToUnicode(tstAll, separator);
        const std::string wideBytes(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
        for (const auto& [encoding, bytes] :
             {std::pair{"utf-8", t.tree.ContentToText(tstAll, separator)},
              std::pair{"utf-16-le", wideBytes}}) {
            std::vector<std::vector<std::string>> grid;
            for (const auto& line : Words(RunPython(kReadCsv, bytes, {encoding, sep}))) {
                auto& row = grid.emplace_back();
                for (const std::string& field : line) row.push_back(FromHex(field.substr(1)));
            }
            EXPECT_EQ(grid, expected) << encoding << " separated by '" << sep << "':\n" << bytes;
        }
    }
    // Cells without the separator, quotes or line breaks are written as they are.
    EXPECT_TRUE(
        t.tree.ContentToText(tstAll, U'|').starts_with("Artist;\tname|\"Title, \"\"main\"\"\"||"));
}

// An RTF document read as a reader does: braces must balance and close at the very end; in the
// body, \uN (with its "?" fallback skipped) and \tab make the text, \cell and \row end cells and
// rows.
struct RtfRead {
    explicit RtfRead(const std::string& rtf) {
        int depth = 0;
        std::u16string cell;
        std::vector<std::string> row;
        for (std::size_t i = 0; i < rtf.size(); ++i) {
            const char c = rtf[i];
            if (c == '{' || c == '}') {
                depth += c == '{' ? 1 : -1;
                if (depth < 0 || (depth == 0 && i + 1 != rtf.size())) balanced = false;
                continue;
            }
            if (c != '\\') {
                if (depth == 1) cell += char16_t(static_cast<unsigned char>(c));
                continue;
            }
            std::size_t end = i + 1;
            while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
            const std::string word = rtf.substr(i + 1, end - i - 1);
            std::size_t digits = end;
            if (digits < rtf.size() && rtf[digits] == '-') ++digits;
            while (digits < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[digits])))
                ++digits;
            const std::string number = rtf.substr(end, digits - end);
            i = digits < rtf.size() && rtf[digits] == ' ' ? digits : digits - 1;
            if (word.empty()) i = end;  // a control symbol: \' hex or an escaped character
            if (word.empty() && rtf[end] == '\'') i += 2;
            if (depth != 1) continue;
            if (word == "u") {
                const int unit = std::stoi(number);
                EXPECT_LE(unit, 32767);
                cell += char16_t(unit < 0 ? unit + 65536 : unit);
                EXPECT_EQ(rtf.substr(i + 1, 4), "\\'3f");
                i += 4;
            } else if (word == "tab") {
                cell += u'\t';
            } else if (word == "cell") {
                row.push_back(Utf16ToUtf8(cell));
                cell.clear();
            } else if (word == "row") {
                rows.push_back(row);
                row.clear();
            }
        }
        if (depth != 0) balanced = false;
    }
    bool balanced = true;
    std::vector<std::vector<std::string>> rows;
};

TEST(RtfExport, TokensBalanceAndDecodeToTheCellTexts) {
    GridTree t;
    t.texts[{4, 1}] = "ｶ€ {braces} \\ back";
    t.tree.OnPaintText = [](TCustomVirtualStringTree*, TCanvas& canvas, PVirtualNode,
                            TColumnIndex column, TVSTTextType) {
        if (column != 2) return;
        canvas.Font.Style = fsBold, canvas.Font.Color = clRed;
        canvas.Font.Name = "Odd {Font}; \\ é";  // must not end the font table early
    };
    const std::string rtf = t.tree.ContentToRTF(tstAll);
    const RtfRead read(rtf);
    EXPECT_TRUE(read.balanced) << rtf;
    // The header and a row per node, the main column's level as tabs before its text.
    const TVirtualTreeColumns& columns = t.tree.Header().Columns();
    std::vector<std::vector<std::string>> expected = {
        {columns[1].Text(), columns[0].Text(), columns[2].Text()}};
    for (PVirtualNode n = t.tree.GetFirst(); n; n = t.tree.GetNext(n))
        expected.push_back({t.tree.GetText(n, 1),
                            std::string(t.tree.GetNodeLevel(n), '\t') + t.tree.GetText(n, 0),
                            t.tree.GetText(n, 2)});
    EXPECT_EQ(read.rows, expected) << rtf;
    for (const char* part :
         {"{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}", "\\u-138\\'3f\\u8364\\'3f",
          "\\u-10180\\'3f\\u-8267\\'3f", "\\b\\f1\\cf2 \\u49\\'3f", "\\b0\\cell",
          "{\\f1 Odd \\{Font\\}\\'3b \\\\ \\u233\\'3f;}"})
        EXPECT_NE(rtf.find(part), std::string::npos) << part;
    EXPECT_TRUE(IsValidUtf8(rtf));
    for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
}

TEST(TextExport, EachSourceTakesItsNodesInTreeOrder) {
    ExportTree t;
    t.tree.MultiSelect();
    const PVirtualNode a = t.tree.Add(nullptr, 1);
    const PVirtualNode a1 = t.tree.Add(a, 2), a2 = t.tree.Add(a, 3);
    const PVirtualNode b = t.tree.Add(nullptr, 4);
    t.tree.Add(b, 5);
    const PVirtualNode c = t.tree.Add(nullptr, 6);
    std::string initialized;
    for (PVirtualNode n = t.tree.GetFirstNoInit(); n; n = t.tree.GetNextNoInit(n))
        if (n->Has(nsInitialized))
            initialized += std::string(t.tree.GetNodeLevel(n), '|') + t.Text(n, NoColumn) + "\r\n";
    EXPECT_EQ(t.tree.ContentToText(tstInitialized, U'|'), initialized);
    EXPECT_EQ(initialized, "1/-1\r\n4/-1\r\n") << "parents are initialised by adding children";
    t.tree.SetExpanded(a, true);
    t.tree.SetIsVisible(a2, false);
    t.tree.SetSelected(c, true);
    t.tree.SetSelected(a1, true);
    for (const auto& [source, lines] : {
             std::pair{tstAll, "1/-1\r\n|2/-1\r\n|3/-1\r\n4/-1\r\n|5/-1\r\n6/-1\r\n"},
             std::pair{tstSelected, "|2/-1\r\n6/-1\r\n"},
             std::pair{tstVisible, "1/-1\r\n|2/-1\r\n4/-1\r\n6/-1\r\n"},
             std::pair{tstCutCopySet, ""},
         })
        EXPECT_EQ(t.tree.ContentToText(source, U'|'), lines) << int(source);
}

TEST(TextExport, BrokenUtf8IsMendedAndLoneSurrogatesDropped) {
    ExportTree t;
    t.tree.Add(nullptr, 1);
    // A surrogate pair written as two three-byte sequences, a lone high and a lone low
    // surrogate, a stray byte.
    t.texts[{1, NoColumn}] =
        "a\xED\xA0\xBC\xED\xBE\xB5"
        "b|c\xED\xA0\x80"
        "d|e\xED\xBE\xB5"
        "f|g\xFFh";
    const std::string mended = "a🎵b|cd|ef|g\xEF\xBF\xBDh";
    EXPECT_EQ(t.tree.ContentToText(tstAll, U'\t'), mended + "\r\n");
    EXPECT_EQ(t.tree.ContentToUnicode(tstAll, U'\t'), Utf8ToUtf16(mended + "\r\n"));
    const std::string html = t.tree.ContentToHTML(tstAll);
    EXPECT_TRUE(IsValidUtf8(html));
    EXPECT_NE(html.find(">" + mended + "</td>"), std::string::npos);
    const RtfRead rtf(t.tree.ContentToRTF(tstAll));
    EXPECT_EQ(rtf.rows, (std::vector<std::vector<std::string>>{{mended}}));
}

TEST(TextExport, AnEmptyExportGivesTheClipboardNothing) {
    ExportTree t;
    EXPECT_EQ(t.tree.ContentToText(tstAll, U','), "");
    EXPECT_EQ(t.tree.ContentToUnicode(tstAll, U','), u"");
    // (Rich text and HTML of no nodes are still documents.)
    for (TClipFormat format : {CF_TEXT, CF_UNICODETEXT, CF_BITMAP, FormatNumber("CSV")})
        EXPECT_EQ(t.tree.ContentToClipboard(format, tstAll), nullptr) << format;
    const RtfRead rtf(t.tree.ContentToRTF(tstAll));
    EXPECT_TRUE(rtf.balanced);
    EXPECT_TRUE(rtf.rows.empty());

    // With nodes each text format ends in its NUL character.
    t.tree.Add(nullptr, 1);
    EXPECT_EQ(ClipboardBytes(t.tree, CF_TEXT, tstAll), std::string("1/-1\r\n\0", 7));
    EXPECT_EQ(ClipboardBytes(t.tree, CF_UNICODETEXT, tstAll), std::string("1\0/\0-\0"
                                                                          "1\0\r\0\n\0\0\0",
                                                                          14));
    EXPECT_EQ(ClipboardBytes(t.tree, FormatNumber("CSV"), tstAll),
              t.tree.ContentToText(tstAll, CSVListSeparator()) + '\0');
    for (const char* rich : {"Rich Text Format", "Rich Text Format Without Objects"})
        EXPECT_EQ(ClipboardBytes(t.tree, FormatNumber(rich), tstAll),
                  t.tree.ContentToRTF(tstAll) + '\0');
    EXPECT_EQ(t.tree.ContentToClipboard(CF_TEXT, tstSelected), nullptr);
    EXPECT_EQ(t.tree.ContentToClipboard(CF_BITMAP, tstAll), nullptr);
    EXPECT_EQ(t.tree.ContentToClipboard(FormatNumber("Text Export Test Format"), tstAll), nullptr);
}

}  // namespace
}  // namespace rv::test
