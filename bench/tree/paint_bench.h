#pragma once

namespace rv::bench {

// Painting a 1,000 × 800 view of a tree of 1,000 parents × 1,000 children (all expanded) with
// six columns at random scroll positions: ours painting into a bitmap as the window's paint
// does, beside QTreeView::grab() of the same view over a six-column item model, in paired
// rounds. Needs the application object (the position cache's notices arrive as messages).
void RunPaintBench(int frames);

}  // namespace rv::bench
