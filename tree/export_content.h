#pragma once
// What the string tree's exports share: which nodes and columns they write, and cell texts
// made fit for writing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/canvas.h"
#include "tree/header_types.h"
#include "tree/text_buffers.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The nodes an export takes, each walked in tree order with the navigation that initialises it.
enum class TVSTTextSourceType : std::uint8_t {
    tstAll,          // every node
    tstInitialized,  // the nodes initialised so far
    tstSelected,     // the selection
    tstCutCopySet,   // the nodes of a pending cut or copy
    tstVisible,      // the nodes shown when scrolled to
};
using enum TVSTTextSourceType;

// The rows and cells of an export.
struct TExportContent {
    struct Row {
        PVirtualNode Node;
        unsigned Level;
    };
    std::vector<Row> Rows;
    // The deepest level among the rows.
    unsigned MaxLevel = 0;
    // Whether the header has visible columns: Cells holds them in display order. Without, every
    // row has the one cell NoColumn, which counts as the main column.
    bool UseColumns = false;
    std::vector<TColumnIndex> Cells;
    TColumnIndex MainColumn = NoColumn;
};

TExportContent CollectExportContent(TBaseVirtualTree& tree, TVSTTextSourceType source);

// A cell text as exports write it: valid UTF-8 as it is. Otherwise an encoded surrogate pair
// becomes its one character, a lone surrogate is dropped (no export writes half a character)
// and any other malformed sequence becomes U+FFFD. The answer is `text` or lies in `scratch`.
std::string_view ExportText(std::string_view text, std::string& scratch);

// Appends a number in decimal.
void AddNumber(TBufferedString& out, std::int64_t value);

// Keeps a canvas's font while an export changes it per cell.
class TSavedCanvasFont {
public:
    explicit TSavedCanvasFont(TCanvas& canvas) : canvas_(canvas), font_(canvas.Font) {}
    ~TSavedCanvasFont() { canvas_.Font = font_; }
    TSavedCanvasFont(const TSavedCanvasFont&) = delete;
    TSavedCanvasFont& operator=(const TSavedCanvasFont&) = delete;

private:
    TCanvas& canvas_;
    TFont font_;
};

}  // namespace rv
