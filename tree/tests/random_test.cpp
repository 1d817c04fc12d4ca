// Long random runs of structural operations from fixed seeds, each step checked by the
// invariant checker and compared with a plain reference model of order, counts, visibility,
// heights, selection and focus.

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// ---- The reference model: children in vectors, everything recomputed from scratch ----------

struct MNode {
    int id = 0;
    int height = 18;
    bool expanded = false, visible = true, selected = false;
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
        MNode* raw = n.get();
        parent->kids.insert(parent->kids.begin() + std::ptrdiff_t(at), std::move(n));
        return raw;
    }
    bool Contains(const MNode* top, int id) const {
        if (top->id == id) return true;
        for (const auto& k : top->kids)
            if (Contains(k.get(), id)) return true;
        return false;
    }
    void Remove(MNode* n) {
        if (focused && Contains(n, focused)) focused = 0;
        MNode* parent = n->parent;
        parent->kids.erase(parent->kids.begin() + std::ptrdiff_t(n->Position()));
        if (parent != &root && parent->kids.empty()) parent->expanded = false;
    }
    void RemoveChildren(MNode* n) {
        if (n->kids.empty()) return;
        for (const auto& k : n->kids)
            if (focused && Contains(k.get(), focused)) focused = 0;
        n->kids.clear();
        if (n != &root) n->expanded = false;
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
    std::stable_sort(n->kids.begin(), n->kids.end(), [&](const auto& a, const auto& b) {
        return direction == sdAscending ? Key(a->id) < Key(b->id) : Key(a->id) > Key(b->id);
    });
}

void SortAll(MNode* n, TSortDirection direction) {
    SortKids(n, direction);
    for (const auto& k : n->kids) SortAll(k.get(), direction);
}

// ---- The run ---------------------------------------------------------------------------------

class RandomRun {
public:
    explicit RandomRun(unsigned seed) : random_(seed) {
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
        int op = Pick(100);
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
            tree_.DeleteChildren(node, Pick(2) == 0);
            model_.RemoveChildren(mnode);
            return "DeleteChildren";
        }
        if (op < 41) {  // child counts up and down
            const unsigned count = unsigned(Pick(7));
            const std::size_t before = mnode->kids.size();
            tree_.SetChildCount(node, count);
            if (count == 0) {
                model_.RemoveChildren(mnode);
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
        return "nothing";
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
        return "";
    }

    std::mt19937 random_;
    IdTree tree_;
    Model model_;
    int lastId_ = 0;
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
