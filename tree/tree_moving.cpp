// Moving nodes within a tree by relinking them, and copying (or moving) them into a tree by
// building a copy of the subtree there. A copy keeps what the tree stream keeps of each node:
// height, streamed states, alignment and check state, children of initialised nodes; what goes
// of the user data is CopyNodeData's to decide, once the copy is in its tree.

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "tree/base_tree.h"

namespace rv {

namespace {

// Attaches `nodes` one after another at `target` with `mode` so that they keep their order.
template <class Attach>
void AttachInOrder(const std::vector<PVirtualNode>& nodes, PVirtualNode target,
                   TVTNodeAttachMode mode, Attach attach) {
    switch (mode) {
        case amInsertBefore:
        case amAddChildLast:
            for (PVirtualNode n : nodes) attach(n, target, mode);
            break;
        case amInsertAfter:
            for (PVirtualNode n : nodes) {
                attach(n, target, mode);
                target = n;
            }
            break;
        case amAddChildFirst:
            for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) attach(*it, target, mode);
            break;
        case amNoWhere:
            break;
    }
}

std::vector<PVirtualNode> Children(PVirtualNode node) {
    std::vector<PVirtualNode> children;
    for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) children.push_back(c);
    return children;
}

}  // namespace

// The tree of the target; nil stands for this tree's root (as its first child), and placing
// beside a root means placing into it.
TBaseVirtualTree& TBaseVirtualTree::ResolveTarget(PVirtualNode source, PVirtualNode& target,
                                                  TVTNodeAttachMode& mode) {
    TreeAssert(TreeFromNode(source) == this, "The source tree must contain the source node.");
    if (!target) {
        target = root_;
        mode = amAddChildFirst;
    }
    TBaseVirtualTree& tree = *TreeFromNode(target);
    if (target == tree.root_) {
        if (mode == amInsertBefore) mode = amAddChildFirst;
        if (mode == amInsertAfter) mode = amAddChildLast;
    }
    return tree;
}

void TBaseVirtualTree::MoveTo(PVirtualNode source, PVirtualNode target, TVTNodeAttachMode mode,
                              bool childrenOnly) {
    if (mode == amNoWhere || !source || source == root_ ||
        TreeOptions().MiscOptions().Contains(toReadOnly))
        return;
    TBaseVirtualTree& targetTree = ResolveTarget(source, target, mode);
    if (source == target && !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter)))
        return;
    if (targetTree.TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    if (!DoNodeMoving(source, target == targetTree.root_ ? nullptr : target)) return;

    // A node that goes into another tree is reported through its parent: it is freed here.
    PVirtualNode reported = source;
    if (&targetTree != this) {
        TransferTo(targetTree, source, target, mode, childrenOnly, true);
        if (!childrenOnly) reported = source->Parent == root_ ? nullptr : source->Parent;
        BeginUpdate();
        try {
            if (childrenOnly)
                DeleteChildren(source);
            else
                DeleteNode(source);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } else {
        if (HasAsParent(target, source)) RaiseVirtualTreeError(hcTFWrongMoveError);
        MoveWithin(source, target, mode, childrenOnly);
    }
    InvalidateCache();
    if (updateCount_ == 0) {
        StartValidation();
        UpdateScrollBars(true);
        Invalidate();
        if (&targetTree != this) targetTree.Invalidate();
    }
    StructureChange(reported, crNodeMoved);
}

void TBaseVirtualTree::MoveWithin(PVirtualNode source, PVirtualNode target, TVTNodeAttachMode mode,
                                  bool childrenOnly) {
    InterruptValidation();
    auto move = [this](PVirtualNode node, PVirtualNode destination, TVTNodeAttachMode how) {
        PVirtualNode parent = node->Parent;
        if (node == rangeAnchor_) rangeAnchor_ = focusedNode_;
        UnlinkNode(node, true);
        UpdateAllChildrenHidden(parent);
        InternalConnectNode(node, destination, how);
        DoNodeMoved(node);
    };
    if (childrenOnly)
        AttachInOrder(Children(source), target, mode, move);
    else
        move(source, target, mode);
}

PVirtualNode TBaseVirtualTree::CopyTo(PVirtualNode source, PVirtualNode target,
                                      TVTNodeAttachMode mode, bool childrenOnly) {
    if (mode == amNoWhere || !source || source == root_) return nullptr;
    TBaseVirtualTree& targetTree = ResolveTarget(source, target, mode);
    if (targetTree.TreeOptions().MiscOptions().Contains(toReadOnly)) return nullptr;
    if (!DoNodeCopying(source, target == targetTree.root_ ? nullptr : target)) return nullptr;
    return TransferTo(targetTree, source, target, mode, childrenOnly, false);
}

// Copies `source` (or its children) into `tree` at `target`. Every copy is built completely,
// unlinked, before the first one is attached, so a node can be copied into its own subtree.
PVirtualNode TBaseVirtualTree::TransferTo(TBaseVirtualTree& tree, PVirtualNode source,
                                          PVirtualNode target, TVTNodeAttachMode mode,
                                          bool childrenOnly, bool moving) {
    const bool complete = TreeOptions().MiscOptions().Contains(toInitOnSave);
    if (childrenOnly && complete) {
        InitIfNeeded(source);
        MakeChildrenIfNeeded(source);
    }
    const std::vector<PVirtualNode> originals =
        childrenOnly ? Children(source) : std::vector<PVirtualNode>{source};
    if (originals.empty()) return nullptr;
    std::int64_t count = 0;
    for (PVirtualNode n : originals) count += n->TotalCount;
    if (std::int64_t(tree.root_->TotalCount) + count > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("Too many nodes.");

    std::vector<PVirtualNode> copies;
    std::vector<std::vector<TCopiedNode>> pairs(originals.size());
    try {
        for (std::size_t i = 0; i < originals.size(); ++i)
            copies.push_back(tree.BuildCopy(*this, originals[i], pairs[i]));
    } catch (...) {
        for (PVirtualNode c : copies) tree.FreeDetached(c);
        throw;
    }
    std::unordered_map<PVirtualNode, std::size_t> indexOf;
    for (std::size_t i = 0; i < copies.size(); ++i) indexOf[copies[i]] = i;
    tree.BeginUpdate();
    try {
        tree.InterruptValidation();
        auto attach = [&](PVirtualNode copy, PVirtualNode destination, TVTNodeAttachMode how) {
            tree.InternalConnectNode(copy, destination, how);
            tree.AdoptSelected(copy);
            // The data go over once the copy is in its tree, where handlers may look at it.
            for (const TCopiedNode& p : pairs[indexOf.at(copy)])
                tree.CopyNodeData(*this, p.original, p.copy);
            if (moving) {
                tree.DoNodeMoved(copy);
            } else {
                tree.DoNodeCopied(copy);
                tree.StructureChange(copy, crNodeCopied);
            }
        };
        AttachInOrder(copies, target, mode, attach);
        tree.InvalidateCache();
    } catch (...) {
        tree.EndUpdate();
        throw;
    }
    tree.EndUpdate();
    return copies.front();
}

// A copy of the node's subtree made of this tree's nodes, not yet linked anywhere. With
// toInitOnSave of the source every node is initialised and its children made first.
PVirtualNode TBaseVirtualTree::BuildCopy(TBaseVirtualTree& source, PVirtualNode from,
                                         std::vector<TCopiedNode>& pairs) {
    const bool complete = source.TreeOptions().MiscOptions().Contains(toInitOnSave);
    auto copyOne = [&](PVirtualNode original) {
        if (complete) {
            source.InitIfNeeded(original);
            source.MakeChildrenIfNeeded(original);
        }
        PVirtualNode copy = MakeNewNode();
        copy->NodeHeight = original->NodeHeight;
        copy->States = std::uint16_t(original->States & kStreamedNodeStates);
        copy->Align = original->Align;
        copy->CheckState = original->CheckState;
        copy->CheckType = original->CheckType;
        pairs.push_back({original, copy});
        return copy;
    };
    // Pre-order over the original subtree; each copy is appended to its parent's copy.
    struct Pair {
        PVirtualNode original, copy;
    };
    PVirtualNode top = copyOne(from);
    std::vector<Pair> pending{{from, top}};
    std::vector<PVirtualNode> order;  // copies, parents before children
    try {
        while (!pending.empty()) {
            const Pair p = pending.back();
            pending.pop_back();
            order.push_back(p.copy);
            if (!p.original->Has(nsInitialized)) continue;
            for (PVirtualNode c = p.original->FirstChild; c; c = c->NextSibling) {
                PVirtualNode child = copyOne(c);
                child->Parent = p.copy;
                child->PrevSibling = p.copy->LastChild;
                child->Index = p.copy->ChildCount++;
                if (p.copy->LastChild)
                    p.copy->LastChild->NextSibling = child;
                else
                    p.copy->FirstChild = child;
                p.copy->LastChild = child;
                pending.push_back({c, child});
            }
        }
    } catch (...) {
        FreeDetached(top);
        throw;
    }
    // Counts, heights and flags bottom up.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        PVirtualNode n = *it;
        std::int64_t count = 1, height = n->NodeHeight;
        for (PVirtualNode c = n->FirstChild; c; c = c->NextSibling) {
            count += c->TotalCount;
            if (c->Has(nsVisible) && n->Has(nsExpanded)) height += c->TotalHeight;
            if (c->Has(nsExpanded) || (c->Marks & kMarkExpandedBelow))
                n->Marks |= kMarkExpandedBelow;
        }
        n->TotalCount = std::uint32_t(count);
        n->TotalHeight = std::uint32_t(std::min<std::int64_t>(height, kMaxTotalHeight));
        if (n->FirstChild) n->Include(nsHasChildren);
        UpdateAllChildrenHidden(n);
    }
    top->Parent = nullptr;
    return top;
}

// Frees a copy that never got linked (its nodes were never announced, so no OnFreeNode).
void TBaseVirtualTree::FreeDetached(PVirtualNode top) {
    std::vector<PVirtualNode> stack{top};
    while (!stack.empty()) {
        PVirtualNode n = stack.back();
        stack.pop_back();
        for (PVirtualNode c = n->FirstChild; c; c = c->NextSibling) stack.push_back(c);
        pool_.Free(n);
    }
}

// A linked copy keeps the selection it brought only where this tree allows it.
void TBaseVirtualTree::AdoptSelected(PVirtualNode top) {
    std::vector<PVirtualNode> selected;
    std::vector<PVirtualNode> stack{top};
    while (!stack.empty()) {
        PVirtualNode n = stack.back();
        stack.pop_back();
        if (n->Has(nsSelected)) {
            n->Exclude(nsSelected);
            selected.push_back(n);
        }
        for (PVirtualNode c = n->LastChild; c; c = c->PrevSibling) stack.push_back(c);
    }
    if (!selected.empty() && TreeOptions().SelectionOptions().Contains(toMultiSelect))
        InternalAddToSelection(std::move(selected));
}

bool TBaseVirtualTree::DoNodeMoving(PVirtualNode node, PVirtualNode target) {
    bool allowed = true;
    if (OnNodeMoving) OnNodeMoving(this, node, target, allowed);
    return allowed;
}

void TBaseVirtualTree::DoNodeMoved(PVirtualNode node) {
    if (OnNodeMoved) OnNodeMoved(this, node);
}

bool TBaseVirtualTree::DoNodeCopying(PVirtualNode node, PVirtualNode target) {
    bool allowed = true;
    if (OnNodeCopying) OnNodeCopying(this, node, target, allowed);
    return allowed;
}

void TBaseVirtualTree::DoNodeCopied(PVirtualNode node) {
    if (OnNodeCopied) OnNodeCopied(this, node);
}

}  // namespace rv
