#pragma once

namespace rv::bench {

// Exporting a tree of 100,000 and of 1,000,000 nodes with six columns as text and as HTML, and
// beside it the same table written from a Qt item model as a Qt developer writes an export
// (QString cells, escaped, UTF-8 at the end); paired rounds, medians, and how the time grows
// with ten times the nodes (one export of the big tree against ten of the small one per round,
// in wall and in processor time).
void RunExportBench(int rounds, bool oursOnly);

}  // namespace rv::bench
