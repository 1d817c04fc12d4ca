#pragma once
// The trees alive in this process, each under a number that is never given twice, and the
// process's random token: together they make a reference to a tree that another process cannot
// forge and that a tree gone since cannot answer.

#include <cstdint>

namespace rv {

class TBaseVirtualTree;

std::uint64_t RegisterLiveTree(TBaseVirtualTree* tree);
void ForgetLiveTree(std::uint64_t id);
// The tree of the number, nil when it is gone (or never was).
TBaseVirtualTree* FindLiveTree(std::uint64_t id);
// Random, made once per process.
std::uint64_t ProcessToken();

}  // namespace rv
