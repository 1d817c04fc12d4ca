#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "platform/windows/tests/gui_app.h"
#include "tree/string_tree.h"
#include "tree/tests/tree_invariants.h"

namespace rv::test {

// A string tree whose nodes carry an int id as user data, with the tree's stored node
// references and state changes open to the tests.
// Handles the window messages until `done` holds; false after `timeoutMs` without it.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        App().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class IdTree : public TVirtualStringTree {
public:
    explicit IdTree(TComponent* owner = nullptr) : TVirtualStringTree((App(), owner)) {
        SetNodeDataSize(sizeof(int));
    }

    PVirtualNode Add(PVirtualNode parent, int id) {
        PVirtualNode n = AddChild(parent);
        SetId(n, id);
        return n;
    }
    void SetId(PVirtualNode n, int id) { std::memcpy(GetNodeData(n), &id, sizeof id); }
    int Id(PVirtualNode n) const {
        int id;
        std::memcpy(&id, GetNodeData(n), sizeof id);
        return id;
    }
    // Ids in pre-order, without initialising anything.
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (PVirtualNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) ids.push_back(Id(n));
        return ids;
    }
    std::vector<int> ChildIds(PVirtualNode parent) const {
        std::vector<int> ids;
        for (PVirtualNode n = (parent ? parent : RootNode())->FirstChild; n; n = n->NextSibling)
            ids.push_back(Id(n));
        return ids;
    }
    void MultiSelect() {
        TreeOptions().SetSelectionOptions(TreeOptions().SelectionOptions() +
                                          TVTSelectionOptions{toMultiSelect});
    }
    void SetAuto(TVTAutoOption option, bool on) {
        auto options = TreeOptions().AutoOptions();
        on ? options.Include(option) : options.Exclude(option);
        TreeOptions().SetAutoOptions(options);
    }
    void SetMisc(TVTMiscOption option, bool on) {
        auto options = TreeOptions().MiscOptions();
        on ? options.Include(option) : options.Exclude(option);
        TreeOptions().SetMiscOptions(options);
    }

    using TBaseVirtualTree::AdjustTotalHeight;
    using TBaseVirtualTree::AllocateInternalDataArea;
    using TBaseVirtualTree::checkNode_;
    using TBaseVirtualTree::DoStateChange;
    using TBaseVirtualTree::dropTargetNode_;
    using TBaseVirtualTree::hotNode_;
    using TBaseVirtualTree::lastSearchNode_;
    using TBaseVirtualTree::pendingCheckNode_;
};

#define EXPECT_TREE_OK(tree) EXPECT_EQ(::rv::test::CheckTreeInvariants(tree), "")
#define ASSERT_TREE_OK(tree) ASSERT_EQ(::rv::test::CheckTreeInvariants(tree), "")

}  // namespace rv::test
