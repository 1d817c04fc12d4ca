#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

// A hash index from catalogue names to the lowest position holding that name, where names are
// equal as SameText says (ASCII letters folded, everything else exact).
namespace rv {

class NameIndex {
public:
    bool Built() const { return built_; }

    // Forgets every entry; the index then counts as not built.
    void Reset();

    // Marks the index complete, after Add was called for every position in order.
    void MarkBuilt() { built_ = true; }

    // Records `name` at `pos` unless an equal name already sits at a lower position.
    void Add(std::string_view name, int pos);

    // The lowest position recorded for `name`, or -1.
    int Find(std::string_view name) const;

private:
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::unordered_map<std::string, int, FoldedHash, FoldedEqual> first_;
    bool built_ = false;
};

}  // namespace rv
