#include "tree/string_edit_link.h"

#include <algorithm>

#include "platform/framework/form.h"
#include "platform/windows/window_host.h"
#include "tree/string_tree.h"

namespace rv {

// ---- The edit box ------------------------------------------------------------------------------

TVTEdit::TVTEdit(TStringEditLink* link) : TCustomEdit(nullptr), link_(link) {
    SetVisible(false);
    SetFrame(efSingle);
}

TVTEdit::~TVTEdit() {
    if (!link_) return;
    // Going while the edit still runs: with toAutoAcceptEditChange a changed text is kept.
    TCustomVirtualStringTree* tree = link_->tree_;
    if (!link_->stopped_ && tree && !tree->Destroying() && Modified() && link_->NodeAlive() &&
        tree->TreeOptions().StringOptions().Contains(toAutoAcceptEditChange)) {
        link_->stopped_ = true;
        tree->SetText(link_->node_, link_->column_, Text());
    }
    link_->edit_ = nullptr;
}

void TVTEdit::Release() {
    link_ = nullptr;
    linkReference_.reset();
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

bool TVTEdit::Multiline() const {
    return link_ && link_->NodeAlive() && link_->node_->Has(nsMultiline);
}

unsigned TVTEdit::DialogCode() const {
    return TCustomEdit::DialogCode() | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
}

void TVTEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_RELEASE:
            delete this;
            return;
        case CM_AUTOADJUST:
            AutoAdjustSize();
            return;
        case WM_KEYDOWN: {
            if (!link_ || link_->stopped_ || !link_->tree_) break;
            // The tree may let the link go while the key is handled.
            const std::shared_ptr<TStringEditLink> link = link_->shared_from_this();
            TCustomVirtualStringTree* tree = link->tree_;
            const int key = int(m.WParam);
            if (key == VK_RETURN) {
                // A new line in a multi-line node, unless Ctrl is held: the box breaks the line.
                if (Multiline() && !(GetKeyState(VK_CONTROL) & 0x8000)) break;
                if (link->NodeAlive()) tree->InvalidateNode(link->node_);
                tree->EndEditNode();
                tree->SetFocus();
                return;
            }
            if (key == VK_ESCAPE) {
                tree->CancelEditNode();
                tree->SetFocus();
                return;
            }
            if ((key == VK_UP || key == VK_DOWN) && !Multiline())
                m.WParam = WPARAM(key == VK_UP ? VK_LEFT : VK_RIGHT);
            break;
        }
        case WM_CHAR:
            // Tab and Escape type nothing, and do not beep either.
            if (m.WParam == '\t' || m.WParam == 0x1B) return;
            break;
        case WM_KILLFOCUS: {
            TCustomEdit::WndProc(m);
            if (!link_ || link_->stopped_ || !link_->tree_) return;
            const std::shared_ptr<TStringEditLink> link = link_->shared_from_this();
            TCustomVirtualStringTree* tree = link->tree_;
            if (tree->TreeOptions().StringOptions().Contains(toAutoAcceptEditChange))
                tree->EndEditNode();
            else
                tree->CancelEditNode();
            return;
        }
        default:
            break;
    }
    TCustomEdit::WndProc(m);
}

void TVTEdit::Change() {
    TCustomEdit::Change();
    if (!link_ || link_->stopped_ || !link_->tree_ || Multiline() ||
        link_->tree_->TreeOptions().MiscOptions().Contains(toGridExtensions))
        return;
    PostMessage(Handle(), CM_AUTOADJUST, 0, 0);
}

// The box as wide as its text and the text margins, from its left edge (from its right edge
// for right-aligned text).
void TVTEdit::AutoAdjustSize() {
    if (!link_ || link_->stopped_ || !link_->tree_ || Multiline()) return;
    TCustomVirtualStringTree* tree = link_->tree_;
    SetRedraw(Handle(), false);
    TBitmap measure(1, 1);
    measure.Canvas().Font = Font();
    const int width = measure.Canvas().TextWidth(Text()) + 2 * tree->TextMargin();
    if (width < Width() && link_->NodeAlive()) tree->InvalidateNode(link_->node_);
    TRect r = BoundsRect();
    if (link_->alignment_ == taRightJustify)
        r.Left = r.Right - width;
    else
        r.Right = r.Left + width;
    link_->SetBounds(r);
    SetRedraw(Handle(), true);
    Invalidate();
}

// ---- The link
// ------------------------------------------------------------------------------------

TStringEditLink::TStringEditLink() : edit_(new TVTEdit(this)) {}

TStringEditLink::~TStringEditLink() {
    if (!edit_) return;
    edit_->link_ = nullptr;
    // A box the tree owns may be inside one of its own messages now: it goes after them. One
    // that never reached a tree is nobody's and goes at once.
    if (edit_->Owner())
        edit_->Release();
    else
        delete edit_;
}

bool TStringEditLink::PrepareEdit(TBaseVirtualTree* tree, PVirtualNode node, TColumnIndex column) {
    auto* strings = dynamic_cast<TCustomVirtualStringTree*>(tree);
    if (!strings || !edit_) return false;
    tree_ = strings;
    node_ = node;
    column_ = column;
    TFont font;
    std::string text;
    tree_->GetTextInfo(node, column, font, textBounds_, text);
    font.Color = clBlack;
    // The tree frees the box with itself when nobody has done so before.
    tree_->InsertComponent(edit_);
    edit_->linkReference_ = shared_from_this();
    edit_->SetParent(tree_);
    edit_->SetParentFont(false);
    edit_->SetFont(font);
    edit_->SetFrame(tree_->TreeStates().Contains(tsUseThemes) ? efClientEdge : efSingle);
    // A multi-line node's text wraps in the box and scrolls up and down, never sideways.
    const bool multiLine = node->Has(nsMultiline);
    edit_->SetMultiLine(multiLine);
    edit_->SetWordWrap(true);
    edit_->SetScrollBars(multiLine ? ssVertical : ssNone);
    edit_->SetText(text);
    edit_->SetModified(false);
    const TVirtualTreeColumns& columns = tree_->Header().Columns();
    const TBiDiMode bidi = tree_->CellBiDiMode(column);
    alignment_ = tree_->Alignment();
    if (columns.IsValidColumn(column)) alignment_ = columns[column].Alignment();
    if (bidi != bdLeftToRight && alignment_ != taCenter)
        alignment_ = alignment_ == taLeftJustify ? taRightJustify : taLeftJustify;
    edit_->SetAlignment(alignment_);
    return true;
}

bool TStringEditLink::BeginEdit() {
    if (stopped_ || !edit_) return true;
    edit_->Show();
    edit_->SelectAll();
    edit_->SetFocus();
    return true;
}

void TStringEditLink::Detach() {
    if (edit_) edit_->linkReference_.reset();
}

bool TStringEditLink::EndEdit() {
    if (stopped_) return true;
    const std::shared_ptr<TStringEditLink> self = shared_from_this();
    stopped_ = true;
    // A node deleted meanwhile is no longer the tree's edited node: nothing is written.
    if (edit_ && edit_->Modified() && NodeAlive()) tree_->SetText(node_, column_, edit_->Text());
    if (edit_) edit_->Hide();
    Detach();
    return true;
}

bool TStringEditLink::CancelEdit() {
    if (stopped_) return true;
    const std::shared_ptr<TStringEditLink> self = shared_from_this();
    stopped_ = true;
    if (edit_) edit_->Hide();
    if (tree_) tree_->CancelEditNode();
    Detach();
    return true;
}

bool TStringEditLink::NodeAlive() const {
    return tree_ && node_ && tree_->EditedNode() == node_;
}

TRect TStringEditLink::GetBounds() {
    return edit_ ? edit_->BoundsRect() : TRect{};
}

void TStringEditLink::ProcessMessage(TMessage& message) {
    if (edit_) edit_->WndProc(message);
}

// At least kMinimumWidth wide (growing right, or left for right-aligned text), never left of
// the client area or past its right edge.
void TStringEditLink::SetBounds(TRect r) {
    if (stopped_ || !edit_ || !tree_) return;
    r.Left = std::max(r.Left, 0);
    if (r.Width() < kMinimumWidth) {
        if (alignment_ == taRightJustify)
            r.Left = r.Right - kMinimumWidth;
        else
            r.Right = r.Left + kMinimumWidth;
    }
    r.Right = std::min(r.Right, tree_->ClientWidth());
    edit_->SetBounds(r.Left, r.Top, std::max(0, r.Width()), r.Height());
    // The text starts where the tree draws it: TextMargin from the box's edge, of which the
    // frame takes one pixel and the edit control keeps two itself.
    const int inner = std::max(0, tree_->TextMargin() - 3);
    edit_->SetTextMargins(inner, 0, inner, 0);
}

}  // namespace rv
