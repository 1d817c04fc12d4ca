#pragma once

namespace rv::bench {

// The tree stream at scale: 1,000 parents × 999 children (1,000,000 nodes), each with 12 bytes of
// user data written by OnSaveNode, saved to memory and loaded from it into an empty tree; beside
// it the same items written and read with QDataStream into an item tree of the usual shape.
// Paired rounds, medians, and the ratio load/save of each.
void RunStreamBench(int rounds);

}  // namespace rv::bench
