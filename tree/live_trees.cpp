#include "tree/live_trees.h"

#include <random>
#include <unordered_map>

namespace rv {

namespace {

struct Registry {
    std::unordered_map<std::uint64_t, TBaseVirtualTree*> trees;
    std::uint64_t next = 1;
};

// Never destroyed: data objects on the clipboard may ask for their tree while the program ends.
Registry& Trees() {
    static auto* registry = new Registry;
    return *registry;
}

}  // namespace

std::uint64_t RegisterLiveTree(TBaseVirtualTree* tree) {
    Registry& r = Trees();
    const std::uint64_t id = r.next++;
    r.trees[id] = tree;
    return id;
}

void ForgetLiveTree(std::uint64_t id) {
    Trees().trees.erase(id);
}

TBaseVirtualTree* FindLiveTree(std::uint64_t id) {
    const Registry& r = Trees();
    const auto it = r.trees.find(id);
    return it == r.trees.end() ? nullptr : it->second;
}

std::uint64_t ProcessToken() {
    static const std::uint64_t token = [] {
        std::random_device entropy;
        std::uint64_t t = 0;
        while (t == 0) t = (std::uint64_t(entropy()) << 32) ^ entropy();
        return t;
    }();
    return token;
}

}  // namespace rv
