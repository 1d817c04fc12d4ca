#pragma once

namespace rv::bench {

// Input over 1,000,000 rows: an incremental search that nothing answers (every node asked once),
// beside QTreeView::keyboardSearch over the reference model; and hot tracking, the hit test of
// 1,000 mouse moves at random places, beside QTreeView::indexAt; paired rounds, medians.
void RunInputBench(int rounds);

}  // namespace rv::bench
