#pragma once

namespace rv::bench {

// The row at a position in a tree of 1,000,000 shown rows, through the position cache and by the
// walk from the top that the look-up takes without it, in paired rounds; and the time from the
// last change of the tree to a complete cache. Needs the application object (the worker's
// notices arrive as messages).
void RunPositionBench(int rounds);

}  // namespace rv::bench
