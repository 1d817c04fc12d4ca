#pragma once

#include <functional>
#include <string>

#include "tree/base_tree.h"

namespace rv {

// Normal cell text or the grey static text beside it.
enum class TVSTTextType { ttNormal, ttStatic };
using enum TVSTTextType;

class TCustomVirtualStringTree;

using TVSTGetTextEvent =
    std::function<void(TCustomVirtualStringTree* sender, PVirtualNode node, TColumnIndex column,
                       TVSTTextType textType, std::string& cellText)>;
// Whether a node answers the typed text: Result starts at 0, which means it does.
using TVTIncrementalSearchEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                                     const std::string& searchText, int& result)>;

// A tree of texts: every cell's text is asked from the application through OnGetText. Each node
// carries 4 bytes of internal data for the cached width of its main-column text, which text
// measuring fills in with painting, as it does the ellipsis, multi-line texts, incremental search
// and in-place editing.
class TCustomVirtualStringTree : public TBaseVirtualTree {
public:
    explicit TCustomVirtualStringTree(TComponent* owner);
    std::string ClassName() const override { return "TCustomVirtualStringTree"; }

    TStringTreeOptions& TreeOptions() const {
        return static_cast<TStringTreeOptions&>(TBaseVirtualTree::TreeOptions());
    }

    // The text a cell has before OnGetText changes it.
    const std::string& DefaultText() const { return defaultText_; }
    void SetDefaultText(const std::string& value);

    // The cell text (normal type); the node is initialised first.
    std::string GetText(PVirtualNode node, TColumnIndex column);

    TVSTGetTextEvent OnGetText;
    TVTIncrementalSearchEvent OnIncrementalSearch;

    // 0 when the node answers the typed text: the handler's answer, or without one whether the
    // focused column's text starts with it (1 when not).
    virtual int DoIncrementalSearch(PVirtualNode node, const std::string& text);

protected:
    virtual void DoGetText(PVirtualNode node, TColumnIndex column, TVSTTextType textType,
                           std::string& text);
    // Offset of the cached text width in each node.
    std::uint32_t TextWidthOffset() const { return textWidthOffset_; }

private:
    std::string defaultText_ = "Node";
    std::uint32_t textWidthOffset_;
};

// The string tree with its properties published: the class of the program's trees.
class TVirtualStringTree : public TCustomVirtualStringTree {
public:
    using TCustomVirtualStringTree::TCustomVirtualStringTree;
    std::string ClassName() const override { return "TVirtualStringTree"; }
};

}  // namespace rv
