// Long random runs of structural operations from fixed seeds, each step checked by the
// invariant checker and compared with a plain reference model of order, counts, visibility,
// heights, selection, focus and the vertical scroll bar.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "platform/windows/window_host.h"

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// ---- The reference model: children in vectors, everything recomputed from scratch ----------

struct MNode {
    int id = 0;
    int height = 18;
    bool expanded = false, visible = true, selected = false;
    bool hasChildren = false;  // may have children (a node whose children went can keep it)
    MNode* parent = nullptr;
    std::vector<std::unique_ptr<MNode>> kids;
    std::size_t Position() const {
        for (std::size_t i = 0; i < parent->kids.size(); ++i)
            if (parent->kids[i].get() == this) return i;
        return 0;
    }
};

struct Model {
    MNode root;
    int focused = 0;  // 0: none
    Model() { root.expanded = true; }

    MNode* Insert(MNode* parent, std::size_t at, int id) {
        auto n = std::make_unique<MNode>();
        n->id = id;
        n->parent = parent;
        return Attach(parent, at, std::move(n));
    }
    MNode* Attach(MNode* parent, std::size_t at, std::unique_ptr<MNode> n) {
        MNode* raw = n.get();
        raw->parent = parent;
        parent->hasChildren = true;
        parent->kids.insert(parent->kids.begin() + std::ptrdiff_t(at), std::move(n));
        return raw;
    }
    // Takes a node out; a parent left without children is no longer expanded.
    std::unique_ptr<MNode> Detach(MNode* n) {
        MNode* parent = n->parent;
        auto it = parent->kids.begin() + std::ptrdiff_t(n->Position());
        std::unique_ptr<MNode> owned = std::move(*it);
        parent->kids.erase(it);
        if (parent != &root && parent->kids.empty()) {
            parent->expanded = false;
            parent->hasChildren = false;
        }
        return owned;
    }
    // Puts `n` relative to `target` with `mode`.
    void Place(MNode* target, TVTNodeAttachMode mode, std::unique_ptr<MNode> n) {
        switch (mode) {
            case amInsertBefore:
                Attach(target->parent, target->Position(), std::move(n));
                break;
            case amInsertAfter:
                Attach(target->parent, target->Position() + 1, std::move(n));
                break;
            case amAddChildFirst:
                Attach(target, 0, std::move(n));
                break;
            default:
                Attach(target, target->kids.size(), std::move(n));
                break;
        }
    }
    // Places several nodes so that they keep their order.
    void PlaceAll(MNode* target, TVTNodeAttachMode mode, std::vector<std::unique_ptr<MNode>> all) {
        if (mode == amAddChildFirst) std::reverse(all.begin(), all.end());
        for (auto& n : all) {
            MNode* placed = n.get();
            Place(target, mode, std::move(n));
            if (mode == amInsertAfter) target = placed;
        }
    }
    bool Contains(const MNode* top, int id) const {
        if (top->id == id) return true;
        for (const auto& k : top->kids)
            if (Contains(k.get(), id)) return true;
        return false;
    }
    void Remove(MNode* n) {
        if (focused && Contains(n, focused)) focused = 0;
        Detach(n);
    }
    void RemoveChildren(MNode* n, bool keepHasChildren = false) {
        if (n->kids.empty()) return;
        for (const auto& k : n->kids)
            if (focused && Contains(k.get(), focused)) focused = 0;
        n->kids.clear();
        if (n != &root) n->expanded = false;
        if (!keepHasChildren) n->hasChildren = false;
    }
    // Every node of the subtree (the node included) in pre-order.
    static void Subtree(MNode* n, std::vector<MNode*>& out) {
        out.push_back(n);
        for (const auto& k : n->kids) Subtree(k.get(), out);
    }
    void PreOrder(const MNode* n, const std::function<void(const MNode*, bool)>& visit,
                  bool shown = true) const {
        for (const auto& k : n->kids) {
            const bool kidShown = shown && (n == &root || n->expanded) && k->visible;
            visit(k.get(), kidShown);
            PreOrder(k.get(), visit, kidShown);
        }
    }
    std::vector<MNode*> Nodes() {
        std::vector<MNode*> all;
        PreOrder(&root, [&](const MNode* n, bool) { all.push_back(const_cast<MNode*>(n)); });
        return all;
    }
    long long Height(const MNode* n) const {
        long long h = n->height;
        if (n == &root || n->expanded)
            for (const auto& k : n->kids)
                if (k->visible) h += Height(k.get());
        return h;
    }
};

int Key(int id) {
    return id * 7919 % 13;  // many equal keys: stability shows
}

void SortKids(MNode* n, TSortDirection direction) {
    if (n->kids.empty()) n->hasChildren = false;  // sorting asks for the children first
    std::stable_sort(n->kids.begin(), n->kids.end(), [&](const auto& a, const auto& b) {
        return direction == sdAscending ? Key(a->id) < Key(b->id) : Key(a->id) > Key(b->id);
    });
}

void SortAll(MNode* n, TSortDirection direction) {
    SortKids(n, direction);
    for (const auto& k : n->kids) SortAll(k.get(), direction);
}

// ---- The run ---------------------------------------------------------------------------------

// The tree under test: a copy gets a new id, and the ids of each copy are noted.
class RandomTree : public IdTree {
public:
    explicit RandomTree(int& lastId) : lastId_(lastId) {}
    std::map<int, int> copies;  // original id → id of its copy, for the last CopyTo
    using TBaseVirtualTree::SelectNodes;
    using TBaseVirtualTree::ToggleSelection;

protected:
    void CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from, PVirtualNode to) override {
        SetId(to, ++lastId_);
        copies[static_cast<const IdTree&>(source).Id(from)] = lastId_;
    }

private:
    int& lastId_;
};

class RandomRun {
public:
    explicit RandomRun(unsigned seed) : random_(seed) {
        tree_.SetBounds(0, 0, 220, 300);
        tree_.MultiSelect();
        tree_.OnCompareNodes = [this](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b,
                                      TColumnIndex, int& result) {
            result = Key(tree_.Id(a)) - Key(tree_.Id(b));
        };
    }

    // Runs `steps` operations; answers "" or what went wrong first, and at which step.
    std::string Run(int steps) {
        for (int step = 0; step < steps; ++step) {
            const std::string op = Step();
            std::string problem = CheckTreeInvariants(tree_);
            if (problem.empty()) problem = Compare();
            if (!problem.empty())
                return "step " + std::to_string(step) + " (" + op + "): " + problem;
        }
        while (tree_.UpdateCount() > 0) tree_.EndUpdate();
        std::string problem = CheckTreeInvariants(tree_);
        return problem.empty() ? Compare() : problem;
    }

private:
    int Pick(int count) { return int(random_() % unsigned(count)); }

    std::string Step() {
        nodes_.clear();
        for (PVirtualNode n = tree_.GetFirstNoInit(); n; n = tree_.GetNextNoInit(n))
            nodes_.push_back(n);
        mnodes_ = model_.Nodes();
        const int size = int(nodes_.size());
        // Some operations need a node; an empty tree gets one first.
        int op = Pick(135);
        if (size == 0) op = 0;
        if (size > 250 && op < 30) op = 30 + Pick(5);  // keep it small: delete instead
        const int k = size ? Pick(size) : 0;
        PVirtualNode node = size ? nodes_[k] : nullptr;
        MNode* mnode = size ? mnodes_[k] : nullptr;

        if (op < 22) {  // add a child, to the root now and then
            const bool top = op < 4 || !node;
            const int id = ++lastId_;
            tree_.Add(top ? nullptr : node, id);
            MNode* parent = top ? &model_.root : mnode;
            model_.Insert(parent, parent->kids.size(), id);
            return "AddChild";
        }
        if (op < 30) {  // insert relative to a node
            const auto mode = TVTNodeAttachMode(1 + Pick(4));
            const int id = ++lastId_;
            tree_.SetId(tree_.InsertNode(node, mode), id);
            switch (mode) {
                case amInsertBefore:
                    model_.Insert(mnode->parent, mnode->Position(), id);
                    break;
                case amInsertAfter:
                    model_.Insert(mnode->parent, mnode->Position() + 1, id);
                    break;
                case amAddChildFirst:
                    model_.Insert(mnode, 0, id);
                    break;
                default:
                    model_.Insert(mnode, mnode->kids.size(), id);
                    break;
            }
            return "InsertNode";
        }
        if (op < 34) {
            tree_.DeleteNode(node);
            model_.Remove(mnode);
            return "DeleteNode";
        }
        if (op < 35) {
            const bool reset = Pick(2) == 0;
            tree_.DeleteChildren(node, reset);
            model_.RemoveChildren(mnode, !reset);
            return "DeleteChildren";
        }
        if (op < 41) {  // child counts up and down
            const unsigned count = unsigned(Pick(7));
            const std::size_t before = mnode->kids.size();
            tree_.SetChildCount(node, count);
            if (count == 0) {
                model_.RemoveChildren(mnode, true);
            } else if (count < before) {
                while (mnode->kids.size() > count) model_.Remove(mnode->kids.back().get());
            } else {
                PVirtualNode c = node->LastChild;
                for (std::size_t i = before; i < count; ++i) c = c->PrevSibling;
                for (std::size_t i = before; i < count; ++i) {
                    c = c ? c->NextSibling : node->FirstChild;
                    const int id = ++lastId_;
                    tree_.SetId(c, id);
                    model_.Insert(mnode, mnode->kids.size(), id);
                }
            }
            return "SetChildCount";
        }
        if (op < 48) {
            tree_.SetIsVisible(node, !mnode->visible);
            mnode->visible = !mnode->visible;
            return "SetIsVisible";
        }
        if (op < 53) {
            const int height = 1 + Pick(40);
            tree_.SetNodeHeight(node, unsigned(height));
            mnode->height = height;
            return "SetNodeHeight";
        }
        if (op < 65) {
            tree_.ToggleNode(node);
            mnode->expanded = !mnode->expanded;
            // Expanding asks for the children of a node that may have some and has none.
            if (mnode->expanded && mnode->kids.empty()) mnode->hasChildren = false;
            return "ToggleNode";
        }
        if (op < 70) {
            const auto direction = Pick(2) ? sdAscending : sdDescending;
            const bool top = Pick(4) == 0;
            tree_.Sort(top ? nullptr : node, 0, direction);
            SortKids(top ? &model_.root : mnode, direction);
            return "Sort";
        }
        if (op < 71) {
            const auto direction = Pick(2) ? sdAscending : sdDescending;
            tree_.SortTree(0, direction);
            SortAll(&model_.root, direction);
            return "SortTree";
        }
        if (op < 83) {
            tree_.SetSelected(node, !mnode->selected);
            mnode->selected = !mnode->selected;
            return "SetSelected";
        }
        if (op < 87) {
            tree_.SetFocusedNode(node);
            model_.focused = mnode->id;
            return "SetFocusedNode";
        }
        if (op < 95) {
            if (tree_.UpdateCount() < 3 && Pick(2)) {
                tree_.BeginUpdate();
                return "BeginUpdate";
            }
            if (tree_.UpdateCount() > 0) tree_.EndUpdate();
            return "EndUpdate";
        }
        if (op < 96) {
            std::vector<MNode*> selected;
            std::function<void(MNode*)> collect = [&](MNode* n) {
                for (const auto& c : n->kids)
                    if (c->selected)
                        selected.push_back(c.get());
                    else
                        collect(c.get());
            };
            collect(&model_.root);
            tree_.DeleteSelectedNodes();
            for (MNode* n : selected) model_.Remove(n);
            return "DeleteSelectedNodes";
        }
        if (op == 98 && Pick(8) == 0) {
            tree_.Clear();
            model_.RemoveChildren(&model_.root);
            model_.focused = 0;
            return "Clear";
        }
        if (op < 100) return "nothing";
        MNode* mtarget = size ? mnodes_[std::size_t(Pick(size))] : nullptr;
        PVirtualNode target = size ? nodes_[std::size_t(IndexOf(mtarget))] : nullptr;
        if (op < 104) return FullExpandOrCollapse(op < 102, Pick(3) ? node : nullptr, mnode);
        if (op < 112) return MoveOrCopy(true, node, mnode, target, mtarget);
        if (op < 118) return MoveOrCopy(false, node, mnode, target, mtarget);
        return Select(op, node, mnode, target, mtarget);
    }

    int IndexOf(const MNode* m) const {
        return int(std::find(mnodes_.begin(), mnodes_.end(), m) - mnodes_.begin());
    }

    std::string FullExpandOrCollapse(bool expand, PVirtualNode node, MNode* mnode) {
        std::vector<MNode*> subtree;
        if (node)
            Model::Subtree(mnode, subtree);
        else
            for (const auto& k : model_.root.kids) Model::Subtree(k.get(), subtree);
        if (expand) {
            tree_.FullExpand(node);
            for (MNode* n : subtree) {
                if (!n->kids.empty()) {
                    n->expanded = true;
                } else if (n->hasChildren) {  // asked for children, got none
                    n->expanded = true;
                    n->hasChildren = false;
                }
            }
            return "FullExpand";
        }
        tree_.FullCollapse(node);
        for (MNode* n : subtree)
            if (n->expanded && n->hasChildren) n->expanded = false;
        return "FullCollapse";
    }

    // MoveTo and CopyTo within the tree, every attach mode, now and then children only or
    // onto the root.
    std::string MoveOrCopy(bool move, PVirtualNode source, MNode* msource, PVirtualNode target,
                           MNode* mtarget) {
        auto mode = TVTNodeAttachMode(1 + Pick(4));
        const bool childrenOnly = Pick(4) == 0;
        if (Pick(6) == 0) {  // nil: the root, as the first child
            target = nullptr;
            mtarget = &model_.root;
            mode = amAddChildFirst;
        }
        const std::string what = std::string(move ? "MoveTo" : "CopyTo") + " mode " +
                                 std::to_string(int(mode)) + (childrenOnly ? " children" : "");
        if (move) {
            if (msource == mtarget &&
                !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter))) {
                tree_.MoveTo(source, target, mode, childrenOnly);
                return what + " onto itself";
            }
            if (mtarget != &model_.root && mtarget != msource &&
                model_.Contains(msource, mtarget->id)) {
                try {
                    tree_.MoveTo(source, target, mode, childrenOnly);
                } catch (const EVirtualTreeError& e) {
                    if (e.HelpContext == hcTFWrongMoveError) return what + " refused";
                }
                throw std::logic_error("a move into the own subtree went through");
            }
            tree_.MoveTo(source, target, mode, childrenOnly);
            std::vector<std::unique_ptr<MNode>> moving;
            if (childrenOnly) {
                while (!msource->kids.empty())
                    moving.push_back(model_.Detach(msource->kids.front().get()));
            } else {
                moving.push_back(model_.Detach(msource));
            }
            model_.PlaceAll(mtarget, mode, std::move(moving));
            return what;
        }
        tree_.copies.clear();
        tree_.CopyTo(source, target, mode, childrenOnly);
        // Copying makes the children a node may have and has not: it has none then.
        std::vector<MNode*> originals;
        Model::Subtree(msource, originals);
        for (MNode* n : originals)
            if (n->kids.empty()) n->hasChildren = false;
        std::vector<std::unique_ptr<MNode>> copies;
        if (childrenOnly)
            for (const auto& k : msource->kids) copies.push_back(CopyOf(k.get()));
        else
            copies.push_back(CopyOf(msource));
        model_.PlaceAll(mtarget, mode, std::move(copies));
        return what;
    }

    std::unique_ptr<MNode> CopyOf(const MNode* n) {
        auto copy = std::make_unique<MNode>();
        copy->id = tree_.copies.at(n->id);
        copy->height = n->height;
        copy->expanded = n->expanded;
        copy->visible = n->visible;
        copy->selected = n->selected;
        copy->hasChildren = !n->kids.empty();
        for (const auto& k : n->kids) {
            copy->kids.push_back(CopyOf(k.get()));
            copy->kids.back()->parent = copy.get();
        }
        return copy;
    }

    // The shown nodes in tree order.
    std::vector<MNode*> Shown() {
        std::vector<MNode*> shown;
        model_.PreOrder(&model_.root, [&](const MNode* n, bool isShown) {
            if (isShown) shown.push_back(const_cast<MNode*>(n));
        });
        return shown;
    }

    std::string Select(int op, PVirtualNode node, MNode* mnode, PVirtualNode end, MNode* mend) {
        std::vector<MNode*> all = model_.Nodes();
        const std::vector<MNode*> shown = Shown();
        const auto isShown = [&](const MNode* n) {
            return std::find(shown.begin(), shown.end(), n) != shown.end();
        };
        const auto order = [&](const MNode* n) {
            return std::find(all.begin(), all.end(), n) - all.begin();
        };
        if (op < 121) {
            const bool visibleOnly = Pick(2) == 0;
            tree_.SelectAll(visibleOnly);
            for (MNode* n : visibleOnly ? shown : all) n->selected = true;
            return "SelectAll";
        }
        if (op < 124) {
            const bool visibleOnly = Pick(2) == 0;
            tree_.InvertSelection(visibleOnly);
            for (MNode* n : visibleOnly ? shown : all) n->selected = !n->selected;
            return "InvertSelection";
        }
        if (op < 125) {
            tree_.ClearSelection();
            for (MNode* n : all) n->selected = false;
            return "ClearSelection";
        }
        // Ranges: a start that is not shown stands for the shown node before it.
        MNode* start = mnode;
        if (!isShown(start)) {
            start = shown.empty() ? nullptr : shown.front();
            for (MNode* s : shown)
                if (order(s) < order(mnode)) start = s;
        }
        if (!start) return "no range";
        const auto lo = std::min(order(start), order(mend));
        const auto hi = std::max(order(start), order(mend));
        if (op < 130) {
            const bool addOnly = Pick(2) == 0;
            tree_.SelectNodes(node, end, addOnly);
            if (!addOnly)
                for (MNode* n : all) n->selected = false;
            for (MNode* n : shown)
                if (order(n) >= lo && order(n) <= hi) n->selected = true;
            return addOnly ? "SelectNodes adding" : "SelectNodes";
        }
        // Toggling: the end point on the anchor's side keeps its state.
        PVirtualNode anchorNode = tree_.RangeAnchor();
        const MNode* anchor =
            anchorNode ? all[std::size_t(std::find(nodes_.begin(), nodes_.end(), anchorNode) -
                                         nodes_.begin())]
                       : nullptr;
        const MNode* first = order(start) <= order(mend) ? start : mend;
        const MNode* last = first == start ? mend : start;
        bool withFirst = true, withLast = true;
        if (anchor) {
            if (order(anchor) <= order(first))
                withFirst = false;
            else if (order(anchor) >= order(last))
                withLast = false;
        }
        tree_.ToggleSelection(node, end);
        for (MNode* n : shown) {
            if (order(n) < lo || order(n) > hi) continue;
            if ((n == first && !withFirst) || (n == last && !withLast)) continue;
            n->selected = !n->selected;
        }
        if (anchor) const_cast<MNode*>(anchor)->selected = true;
        return "ToggleSelection";
    }

    std::string Compare() {
        std::vector<int> ids, shown;
        std::vector<std::pair<int, int>> rows;  // shown id and height
        std::vector<int> selected;
        model_.PreOrder(&model_.root, [&](const MNode* n, bool isShown) {
            ids.push_back(n->id);
            if (isShown) {
                shown.push_back(n->id);
                rows.emplace_back(n->id, n->height);
            }
            if (n->selected) selected.push_back(n->id);
        });
        if (tree_.Ids() != ids) return "pre-order differs";
        {  // expansion and the has-children state, node by node
            std::vector<MNode*> all = model_.Nodes();
            std::size_t i = 0;
            for (PVirtualNode n = tree_.GetFirstNoInit(); n; n = tree_.GetNextNoInit(n), ++i) {
                if (n->Has(nsExpanded) != all[i]->expanded)
                    return "node " + std::to_string(all[i]->id) + " is expanded differently";
                if (n->Has(nsHasChildren) != all[i]->hasChildren)
                    return "node " + std::to_string(all[i]->id) + " may have children differently";
            }
        }
        if (tree_.TotalCount() != ids.size()) return "TotalCount differs";
        std::vector<int> treeShown;
        for (PVirtualNode n = tree_.GetFirstVisibleNoInit(); n; n = tree_.GetNextVisibleNoInit(n))
            treeShown.push_back(tree_.Id(n));
        if (treeShown != shown) return "the visible nodes differ";
        if (tree_.VisibleCount() != shown.size()) return "VisibleCount differs";
        if (tree_.RootNode()->TotalHeight != model_.Height(&model_.root))
            return "the tree's height differs";
        std::vector<int> treeSelected;
        for (PVirtualNode n : tree_.GetSortedSelection(false)) treeSelected.push_back(tree_.Id(n));
        if (treeSelected != selected) return "the selection differs";
        if ((tree_.FocusedNode() ? tree_.Id(tree_.FocusedNode()) : 0) != model_.focused)
            return "the focus differs";

        if (ids.empty()) return "";
        // Stepping from any node, shown or not, finds the shown neighbours in tree order.
        PVirtualNode n = tree_.GetFirstNoInit();
        for (int skip = Pick(int(ids.size())); skip > 0; --skip) n = tree_.GetNextNoInit(n);
        const auto at = std::find(ids.begin(), ids.end(), tree_.Id(n)) - ids.begin();
        int next = 0, previous = 0;
        for (auto i = at + 1; i < std::ptrdiff_t(ids.size()) && !next; ++i)
            if (std::count(shown.begin(), shown.end(), ids[std::size_t(i)]))
                next = ids[std::size_t(i)];
        for (auto i = at - 1; i >= 0 && !previous; --i)
            if (std::count(shown.begin(), shown.end(), ids[std::size_t(i)]))
                previous = ids[std::size_t(i)];
        PVirtualNode tn = tree_.GetNextVisibleNoInit(n), tp = tree_.GetPreviousVisibleNoInit(n);
        if ((tn ? tree_.Id(tn) : 0) != next) return "GetNextVisibleNoInit differs";
        if ((tp ? tree_.Id(tp) : 0) != previous) return "GetPreviousVisibleNoInit differs";

        // The row under a position.
        const long long height = model_.Height(&model_.root) - 18;
        const int y = Pick(int(height) + 20);
        int expected = 0, expectedTop = 0, top = 0;
        for (const auto& [id, h] : rows) {
            if (y >= top && y < top + h) {
                expected = id;
                expectedTop = top;
                break;
            }
            top += h;
        }
        int nodeTop = -1;
        PVirtualNode hit = tree_.GetNodeAt(0, y, false, nodeTop);
        if ((hit ? tree_.Id(hit) : 0) != expected || (hit && nodeTop != expectedTop))
            return "GetNodeAt(" + std::to_string(y) + ") differs";

        // Outside an update bracket the vertical bar covers the model's rows.
        if (tree_.UpdateCount() == 0) {
            const long long range = height;
            TScrollInfo info;
            GetScrollInfo(tree_.Handle(), SB_VERT, info);
            const bool barShown = IsScrollBarVisible(tree_.Handle(), SB_VERT);
            if (barShown != (range > tree_.ClientHeight()))
                return "the vertical bar is shown wrongly";
            if (barShown && (info.nMax != range || info.nPos != -tree_.OffsetY()))
                return "the vertical bar's range or position differs";
            if (tree_.OffsetY() > 0 ||
                -tree_.OffsetY() > std::max(0LL, range - tree_.ClientHeight()))
                return "the vertical offset is out of range";
        }
        return "";
    }

    std::mt19937 random_;
    int lastId_ = 0;
    RandomTree tree_{lastId_};
    Model model_;
    std::vector<PVirtualNode> nodes_;
    std::vector<MNode*> mnodes_;
};

TEST(TreeRandom, FollowsTheReferenceModel) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomRun run(seed);
        EXPECT_EQ(run.Run(5000), "");
    }
}

}  // namespace
}  // namespace rv::test
