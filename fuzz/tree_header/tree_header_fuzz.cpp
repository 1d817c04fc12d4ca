// Arbitrary bytes as a tree header's stream. A load either raises EReadError and leaves the
// header as it was, or succeeds with every value in range: the display order a permutation,
// the sort and main columns naming columns, each width within its column's limits.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tree/string_tree.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string Saved(const rv::TVTHeader& header) {
    std::string s;
    header.SaveToStream(s);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static rv::TVirtualStringTree tree(nullptr);
    rv::TVTHeader& header = tree.Header();
    const std::string before = Saved(header);
    try {
        const std::size_t used =
            header.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data), size));
        Check(used <= size);
    } catch (const rv::EReadError&) {
        Check(Saved(header) == before);
    }
    const rv::TVirtualTreeColumns& columns = header.Columns();
    std::vector<rv::TColumnIndex> order = columns.PositionToIndex();
    Check(int(order.size()) == columns.Count());
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i) Check(order[i] == rv::TColumnIndex(i));
    Check(header.SortColumn() >= rv::NoColumn &&
          header.SortColumn() < std::max(columns.Count(), 1));
    Check(columns.Count() == 0 || columns.IsValidColumn(header.MainColumn()));
    for (int i = 0; i < columns.Count(); ++i)
        Check(columns[i].MinWidth() <= columns[i].Width() &&
              columns[i].Width() <= columns[i].MaxWidth());
    // Whatever loaded is written and read back unchanged.
    const std::string again = Saved(header);
    header.LoadFromStream(again);
    Check(Saved(header) == again);
    return 0;
}
