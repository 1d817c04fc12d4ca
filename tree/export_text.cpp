// The string tree as lines of text: a line per node (after a header line with columns), cells
// parted by a separator, the main column shifted right by one separator per level. Cells that
// would break the grid are quoted as CSV readers expect.

#include <string>

#include "platform/text/utf16.h"
#include "platform/text/utf8.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

// The cell as it is, or in double quotes with its quotes doubled when it holds the separator, a
// quote or a line break.
void AddCell(TBufferedString& out, std::string_view text, std::string_view separator) {
    if (text.find_first_of("\"\r\n") == std::string_view::npos &&
        text.find(separator) == std::string_view::npos) {
        out.Add(text);
        return;
    }
    out.Add("\"");
    for (std::size_t start = 0;;) {
        const std::size_t quote = text.find('"', start);
        if (quote == std::string_view::npos) {
            out.Add(text.substr(start));
            break;
        }
        out.Add(text.substr(start, quote + 1 - start));
        out.Add("\"");
        start = quote + 1;
    }
    out.Add("\"");
}

void AddRepeated(TBufferedString& out, std::string_view piece, unsigned count) {
    for (unsigned i = 0; i < count; ++i) out.Add(piece);
}

}  // namespace

std::string TCustomVirtualStringTree::ContentToText(TVSTTextSourceType source,
                                                    char32_t separatorCharacter) {
    const TExportContent content = CollectExportContent(*this, source);
    std::string separator;
    AppendUtf8(separator, separatorCharacter);
    const std::size_t last = content.Cells.size() - 1;
    std::string scratch;
    TBufferedString out;
    if (content.UseColumns) {
        for (std::size_t cell = 0; cell <= last; ++cell) {
            const TColumnIndex index = content.Cells[cell];
            AddCell(out, ExportText(Header().Columns()[index].Text(), scratch), separator);
            if (cell == last) break;
            if (index == content.MainColumn) AddRepeated(out, separator, content.MaxLevel);
            out.Add(separator);
        }
        out.AddNewLine();
    }
    for (const TExportContent::Row& row : content.Rows) {
        for (std::size_t cell = 0; cell <= last; ++cell) {
            const TColumnIndex index = content.Cells[cell];
            const bool main = index == content.MainColumn;
            if (main) AddRepeated(out, separator, row.Level);
            AddCell(out, ExportText(GetText(row.Node, index), scratch), separator);
            if (main && content.UseColumns)
                AddRepeated(out, separator, content.MaxLevel - row.Level);
            if (cell != last) out.Add(separator);
        }
        out.AddNewLine();
    }
    return out.TakeString();
}

std::u16string TCustomVirtualStringTree::ContentToUnicode(TVSTTextSourceType source,
                                                          char32_t separator) {
    // The same text in the other encoding: every cell is valid UTF-8 without surrogates, so
    // nothing is lost and both forms quote alike.
    return Utf8ToUtf16(ContentToText(source, separator));
}

}  // namespace rv
