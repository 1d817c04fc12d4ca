#include "tree/export_content.h"

#include <algorithm>
#include <charconv>

#include "platform/text/utf8.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

PVirtualNode FirstOf(TBaseVirtualTree& tree, TVSTTextSourceType source) {
    switch (source) {
        case tstAll:
            return tree.GetFirst();
        case tstInitialized:
            return tree.GetFirstInitialized();
        case tstSelected:
            return tree.GetFirstSelected();
        case tstCutCopySet:
            return tree.GetFirstCutCopy();
        case tstVisible:
            return tree.GetFirstVisible();
    }
    return nullptr;
}

PVirtualNode NextOf(TBaseVirtualTree& tree, TVSTTextSourceType source, PVirtualNode node) {
    switch (source) {
        case tstAll:
            return tree.GetNext(node);
        case tstInitialized:
            return tree.GetNextInitialized(node);
        case tstSelected:
            return tree.GetNextSelected(node);
        case tstCutCopySet:
            return tree.GetNextCutCopy(node);
        case tstVisible:
            return tree.GetNextVisible(node);
    }
    return nullptr;
}

// The value of a surrogate written as a three-byte sequence (ED A0..BF 80..BF) at `pos`, or 0.
char32_t EncodedSurrogate(std::string_view text, std::size_t pos) {
    if (pos + 3 > text.size()) return 0;
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const auto b1 = static_cast<unsigned char>(text[pos + 1]);
    const auto b2 = static_cast<unsigned char>(text[pos + 2]);
    if (b0 != 0xED || b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80) return 0;
    return 0xD000 | char32_t(b1 & 0x3F) << 6 | char32_t(b2 & 0x3F);
}

}  // namespace

TExportContent CollectExportContent(TBaseVirtualTree& tree, TVSTTextSourceType source) {
    TExportContent content;
    for (PVirtualNode n = FirstOf(tree, source); n; n = NextOf(tree, source, n)) {
        const unsigned level = tree.GetNodeLevel(n);
        content.Rows.push_back({n, level});
        content.MaxLevel = std::max(content.MaxLevel, level);
    }
    content.Cells = tree.Header().Columns().GetVisibleColumns();
    content.UseColumns = !content.Cells.empty();
    if (content.UseColumns)
        content.MainColumn = tree.Header().MainColumn();
    else
        content.Cells = {NoColumn};
    return content;
}

std::string_view ExportText(std::string_view text, std::string& scratch) {
    if (IsValidUtf8(text)) return text;
    scratch.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (const char32_t unit = EncodedSurrogate(text, pos)) {
            const char32_t low = unit < 0xDC00 ? EncodedSurrogate(text, pos + 3) : 0;
            if (low >= 0xDC00) {
                AppendUtf8(scratch, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                pos += 6;
            } else {
                pos += 3;
            }
            continue;
        }
        AppendUtf8(scratch, DecodeUtf8(text, pos));
    }
    return scratch;
}

bool TCustomVirtualStringTree::ExportCellFont(TCanvas& canvas, PVirtualNode node,
                                              TColumnIndex column) {
    canvas.Font = Font();
    DoPaintText(node, canvas, column, ttNormal);
    return canvas.Font != Font();
}

void AddNumber(TBufferedString& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.Add(std::string_view(digits, std::size_t(result.ptr - digits)));
}

}  // namespace rv
