#pragma once

#include <memory>

#include "platform/framework/edit.h"
#include "tree/edit_link.h"

namespace rv {

class TCustomVirtualStringTree;
class TStringEditLink;

// The string tree's in-place editor: an edit box over the node's text. Enter accepts, Escape
// cancels, Up and Down move the caret like Left and Right, Tab and Escape type nothing; while
// typing the box grows with its text. A multi-line node gets a box of several lines over its
// whole cell, wrapping its text, with a vertical scroll bar: there Enter breaks the line and
// Ctrl+Enter accepts, and Up and Down go from line to line. Losing the focus accepts with
// toAutoAcceptEditChange and cancels without.
class TVTEdit : public TCustomEdit {
public:
    // The message the box posts itself to fit its width to the text.
    static constexpr UINT CM_AUTOADJUST = 0xB7D5;

    explicit TVTEdit(TStringEditLink* link);
    ~TVTEdit() override;
    std::string ClassName() const override { return "TVTEdit"; }

    // Frees the box once the message being handled is done (a posted CM_RELEASE).
    void Release();
    void WndProc(TMessage& message) override;

protected:
    void Change() override;
    unsigned DialogCode() const override;

private:
    friend class TStringEditLink;
    void AutoAdjustSize();
    bool Multiline() const;

    TStringEditLink* link_;
    // Keeps the link while the box can still reach it; dropped once the edit ends.
    std::shared_ptr<IVTEditLink> linkReference_;
};

// The edit link of the string tree: prepares a TVTEdit over a node's text with the node's font,
// text and alignment, and writes the changed text back through the tree's Text (OnNewText).
class TStringEditLink : public IVTEditLink, public std::enable_shared_from_this<TStringEditLink> {
public:
    static constexpr int kMinimumWidth = 30;

    TStringEditLink();
    ~TStringEditLink() override;

    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    TRect GetBounds() override;
    bool PrepareEdit(TBaseVirtualTree* tree, PVirtualNode node, TColumnIndex column) override;
    void ProcessMessage(TMessage& message) override;
    void SetBounds(TRect r) override;

    TVTEdit* Edit() const { return edit_; }
    TCustomVirtualStringTree* Tree() const { return tree_; }
    PVirtualNode Node() const { return node_; }
    TColumnIndex Column() const { return column_; }
    bool Stopped() const { return stopped_; }
    // The node is still the one the tree edits: it was not deleted meanwhile.
    bool NodeAlive() const;

private:
    friend class TVTEdit;
    // The box lets go of the link.
    void Detach();

    TVTEdit* edit_ = nullptr;
    TCustomVirtualStringTree* tree_ = nullptr;
    PVirtualNode node_ = nullptr;
    TColumnIndex column_ = NoColumn;
    TAlignment alignment_ = taLeftJustify;
    TRect textBounds_;
    bool stopped_ = false;
};

}  // namespace rv
