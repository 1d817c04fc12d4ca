// The tree's node store at scale: 1,000 parents × 1,000 children (1,000,001 nodes with the
// parents), each node with 12 bytes of data, inside one update bracket: build, sort every sibling
// list by a text key looked up from the node data (as the program's views fetch names from the
// catalogue), then expand all and collapse all, and Clear; and the peak memory of the whole.
// Beside it the same work through a custom QAbstractItemModel shown by a QTreeView (offscreen).
// Ours and Qt's run alternately in paired rounds (the first of a pair alternates too), warm; the
// report gives the medians and the median of the paired ratios (Qt time / our time: above 1 means
// ours is faster).
//
// Then the selection of many rows: SelectAll and a Shift-range from the first to the last row
// of flat trees of 10,000 and 100,000 rows, whose times should grow with the rows (10 times the
// rows, at most 12 times the time); each starts with cold caches. Qt's selection model keeps
// ranges, not rows, so its times are shown for comparison only.
//
// Last, the position look-ups in 1,000,000 shown rows with and without the position cache
// (position_bench.h), painting a view of a million rows beside QTreeView (paint_bench.h), and
// input over a million rows: a search that misses, hot tracking (input_bench.h), saving and
// loading a million nodes through the tree stream (stream_bench.h), and exporting 100,000 and
// 1,000,000 nodes as text and HTML (export_bench.h).
//
//   bench_tree [--parents N] [--children M] [--rounds R] [--ours-only] [--positions-only]
//              [--paint-only] [--store-only] [--input-only] [--stream-only] [--export-only]

#include <QApplication>
#include <QItemSelectionModel>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/support/peak_meter.h"
#include "bench/tree/export_bench.h"
#include "bench/tree/input_bench.h"
#include "bench/tree/paint_bench.h"
#include "bench/tree/position_bench.h"
#include "bench/tree/qt_reference_model.h"
#include "bench/tree/stream_bench.h"
#include "platform/messages/application.h"
#include "tree/string_tree.h"

namespace {

using rv::bench::NodeData;
using Clock = std::chrono::steady_clock;

struct Options {
    int parents = 1000;
    int children = 1000;
    int rounds = 5;
    bool oursOnly = false;
    bool positionsOnly = false;
    bool paintOnly = false;
    bool storeOnly = false;   // build, sort, expand, collapse and clear only
    bool inputOnly = false;   // incremental search and hot tracking only
    bool streamOnly = false;  // saving and loading through the tree stream only
    bool exportOnly = false;  // text and HTML export only
};

// The names the keys come from: one per parent and one per child, words of a small vocabulary
// with a number, so that keys repeat their beginnings as real names do.
class Names {
public:
    Names(int parents, int children) : children_(children) {
        static const char* const words[] = {
            "Blue",  "Night", "Live",     "The",     "Best",  "Of",   "Zlata", "Praha",
            "Opera", "Rock",  "Symfonie", "Arrival", "Queen", "Kino", "Road",  "Sound"};
        std::mt19937 random(42);
        auto name = [&] {
            std::string s = words[random() % 16];
            s += ' ';
            s += words[random() % 16];
            s += ' ';
            s += std::to_string(random() % 100000);
            return s;
        };
        for (int p = 0; p < parents; ++p) parentNames_.push_back(name());
        childNames_.reserve(std::size_t(parents) * std::size_t(children));
        for (long i = 0; i < long(parents) * children; ++i) childNames_.push_back(name());
    }
    const std::string& Key(const NodeData& d) const {
        return d.Album < 0 ? parentNames_[std::size_t(d.Artist)]
                           : childNames_[std::size_t(d.Artist) * std::size_t(children_) +
                                         std::size_t(d.Album)];
    }

private:
    int children_;
    std::vector<std::string> parentNames_, childNames_;
};

using rv::bench::PeakMeter;

struct Run {
    double build = 0, sort = 0, expand = 0, collapse = 0, clear = 0, peak = 0;  // ms …, MiB
};

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

Run RunOurs(const Options& o, const Names& names, std::uint32_t* height = nullptr) {
    Run run;
    const PeakMeter meter;
    {
        rv::TVirtualStringTree tree(nullptr);
        tree.SetNodeDataSize(sizeof(NodeData));
        tree.OnCompareNodes = [&](rv::TBaseVirtualTree* sender, rv::PVirtualNode a,
                                  rv::PVirtualNode b, rv::TColumnIndex, int& result) {
            const auto* da = static_cast<const NodeData*>(sender->GetNodeData(a));
            const auto* db = static_cast<const NodeData*>(sender->GetNodeData(b));
            result = names.Key(*da).compare(names.Key(*db));
        };
        tree.BeginUpdate();
        const auto t0 = Clock::now();
        for (int p = 0; p < o.parents; ++p) {
            rv::PVirtualNode parent = tree.AddChild(nullptr);
            const NodeData pd{p, -1, -1};
            std::memcpy(tree.GetNodeData(parent), &pd, sizeof pd);
            for (int c = 0; c < o.children; ++c) {
                rv::PVirtualNode child = tree.AddChild(parent);
                const NodeData cd{p, c, -1};
                std::memcpy(tree.GetNodeData(child), &cd, sizeof cd);
            }
        }
        const auto t1 = Clock::now();
        tree.SortTree(0, rv::sdAscending);
        const auto t2 = Clock::now();
        if (height) *height = tree.RootNode()->TotalHeight;
        tree.EndUpdate();
        const auto t3 = Clock::now();
        tree.FullExpand();
        const auto t4 = Clock::now();
        tree.FullCollapse();
        const auto t5 = Clock::now();
        tree.BeginUpdate();
        const auto t6 = Clock::now();
        tree.Clear();
        const auto t7 = Clock::now();
        tree.EndUpdate();
        run.build = Ms(t0, t1);
        run.sort = Ms(t1, t2);
        run.expand = Ms(t3, t4);
        run.collapse = Ms(t4, t5);
        run.clear = Ms(t6, t7);
    }
    run.peak = meter.PeakMiB();
    return run;
}

Run RunQt(const Options& o, const Names& names) {
    Run run;
    const PeakMeter meter;
    {
        rv::bench::QtReferenceModel model(
            [&](const NodeData& d) -> const std::string& { return names.Key(d); });
        QTreeView view;
        view.setModel(&model);
        view.resize(400, 600);
        view.show();
        QApplication::processEvents();
        const auto t0 = Clock::now();
        model.BeginFill();
        for (int p = 0; p < o.parents; ++p) {
            void* parent = model.AddChild(nullptr, {p, -1, -1});
            for (int c = 0; c < o.children; ++c) model.AddChild(parent, {p, c, -1});
        }
        model.EndFill();
        const auto t1 = Clock::now();
        model.sort(0, Qt::AscendingOrder);
        const auto t2 = Clock::now();
        view.expandAll();
        const auto t3 = Clock::now();
        view.collapseAll();
        const auto t4 = Clock::now();
        model.Clear();
        const auto t5 = Clock::now();
        run.build = Ms(t0, t1);
        run.sort = Ms(t1, t2);
        run.expand = Ms(t2, t3);
        run.collapse = Ms(t3, t4);
        run.clear = Ms(t4, t5);
    }
    run.peak = meter.PeakMiB();
    return run;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A flat tree whose range selection (what Shift with a click or a key does) can be called.
class FlatTree : public rv::TVirtualStringTree {
public:
    explicit FlatTree(int rows) : TVirtualStringTree(nullptr) {
        SetNodeDataSize(sizeof(NodeData));
        TreeOptions().SetSelectionOptions({rv::toMultiSelect});
        SetRootNodeCount(std::uint32_t(rows));
    }
    using TVirtualStringTree::SelectNodes;
};

struct SelectionTimes {
    double all = 0, range = 0;  // ms
};

// Every timed selection starts from memory, not from the cache: 10,000 rows would fit into it,
// 100,000 would not, and the comparison would show the cache rather than the work.
void EvictCaches() {
    static std::vector<char> junk(64 << 20, 1);
    for (std::size_t i = 0; i < junk.size(); i += 64) junk[i] = char(junk[i] + 1);
}

SelectionTimes SelectOurs(FlatTree& tree) {
    SelectionTimes t;
    EvictCaches();
    const auto t0 = Clock::now();
    tree.SelectAll(true);
    const auto t1 = Clock::now();
    tree.ClearSelection();
    EvictCaches();
    const auto t2 = Clock::now();
    tree.SelectNodes(tree.GetFirstNoInit(), tree.GetLastNoInit(), false);
    const auto t3 = Clock::now();
    tree.ClearSelection();
    t.all = Ms(t0, t1);
    t.range = Ms(t2, t3);
    return t;
}

SelectionTimes SelectQt(QTreeView& view, rv::bench::QtReferenceModel& model) {
    SelectionTimes t;
    QItemSelectionModel& selection = *view.selectionModel();
    const QModelIndex first = model.index(0, 0, {});
    const QModelIndex last = model.index(model.rowCount({}) - 1, 0, {});
    EvictCaches();
    const auto t0 = Clock::now();
    view.selectAll();
    const auto t1 = Clock::now();
    selection.clearSelection();
    EvictCaches();
    const auto t2 = Clock::now();
    selection.select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    const auto t3 = Clock::now();
    selection.clearSelection();
    t.all = Ms(t0, t1);
    t.range = Ms(t2, t3);
    return t;
}

// Selecting every row and a range over all rows, at 10,000 and 100,000 rows. Each round does
// both sizes (their order alternating), so that the growth is the median of paired ratios.
struct SelectionSize {
    SelectionSize(int rows, int parents, const Names& names)
        : tree(rows),
          model([&names](const NodeData& d) -> const std::string& { return names.Key(d); }) {
        model.BeginFill();
        for (int r = 0; r < rows; ++r) model.AddChild(nullptr, {r % parents, -1, -1});
        model.EndFill();
        view.setModel(&model);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    FlatTree tree;
    rv::bench::QtReferenceModel model;
    QTreeView view;
    std::vector<double> all, range, qtAll, qtRange;
};

// Qt's rows take their texts from the parents' names.
void SelectionScaling(const Names& names, int parents, int rounds, bool oursOnly) {
    SelectionSize sizes[2] = {SelectionSize(10000, parents, names),
                              SelectionSize(100000, parents, names)};
    std::vector<double> growthAll, growthRange;
    for (SelectionSize& s : sizes) SelectOurs(s.tree);  // warm-up
    for (int r = 0; r < rounds; ++r) {
        SelectionTimes t[2];
        for (int k = 0; k < 2; ++k) {
            SelectionSize& s = sizes[r % 2 ? 1 - k : k];
            const SelectionTimes ours = SelectOurs(s.tree);
            s.all.push_back(ours.all);
            s.range.push_back(ours.range);
            t[&s - sizes] = ours;
            if (oursOnly) continue;
            const SelectionTimes qt = SelectQt(s.view, s.model);
            s.qtAll.push_back(qt.all);
            s.qtRange.push_back(qt.range);
        }
        growthAll.push_back(t[1].all / t[0].all);
        growthRange.push_back(t[1].range / t[0].range);
    }
    std::printf("\n%-14s %12s %12s %12s %12s\n", "selection", "all ms", "range ms", "Qt all ms",
                "Qt range ms");
    for (SelectionSize& s : sizes)
        std::printf("%-14s %12.3f %12.3f %12.3f %12.3f\n",
                    (std::to_string(s.tree.RootNodeCount()) + " rows").c_str(), Median(s.all),
                    Median(s.range), Median(s.qtAll), Median(s.qtRange));
    std::printf(
        "%-14s %12.2f %12.2f   (median of the rounds' time at 100,000 rows / time at 10,000)\n",
        "growth", Median(growthAll), Median(growthRange));
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--parents" && i + 1 < argc) o.parents = std::atoi(argv[++i]);
        if (a == "--children" && i + 1 < argc) o.children = std::atoi(argv[++i]);
        if (a == "--rounds" && i + 1 < argc) o.rounds = std::max(1, std::atoi(argv[++i]));
        if (a == "--ours-only") o.oursOnly = true;
        if (a == "--positions-only") o.positionsOnly = true;
        if (a == "--paint-only") o.paintOnly = true;
        if (a == "--store-only") o.storeOnly = true;
        if (a == "--input-only") o.inputOnly = true;
        if (a == "--stream-only") o.streamOnly = true;
        if (a == "--export-only") o.exportOnly = true;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    rv::TApplication application;
    application.Initialize();
    if (o.positionsOnly) {
        rv::bench::RunPositionBench(o.rounds);
        return 0;
    }
    if (o.paintOnly) {
        rv::bench::RunPaintBench(20);
        return 0;
    }
    if (o.inputOnly) {
        rv::bench::RunInputBench(std::max(o.rounds, 5));
        return 0;
    }
    if (o.streamOnly) {
        rv::bench::RunStreamBench(std::max(o.rounds, 5));
        return 0;
    }
    if (o.exportOnly) {
        rv::bench::RunExportBench(std::max(o.rounds, 5), o.oursOnly);
        return 0;
    }
    const Names names(o.parents, o.children);
    const long nodes = long(o.parents) * (o.children + 1);
    std::printf(
        "bench_tree: %d parents x %d children = %ld nodes, 12 bytes of data each, "
        "%d paired rounds, warm\n\n",
        o.parents, o.children, nodes, o.rounds);

    std::uint32_t height = 0;
    RunOurs(o, names);  // warm-up
    if (!o.oursOnly) RunQt(o, names);
    std::vector<Run> ours, qt;
    for (int r = 0; r < o.rounds; ++r) {
        if (o.oursOnly) {
            ours.push_back(RunOurs(o, names, &height));
        } else if (r % 2 == 0) {
            ours.push_back(RunOurs(o, names, &height));
            qt.push_back(RunQt(o, names));
        } else {
            qt.push_back(RunQt(o, names));
            ours.push_back(RunOurs(o, names, &height));
        }
    }

    std::printf("%-8s %10s %10s %10s %10s %10s %10s\n", "", "build ms", "sort ms", "expand ms",
                "collapse", "clear ms", "peak MiB");
    auto row = [](const char* name, const std::vector<Run>& runs) {
        std::vector<double> b, s, e, l, c, p;
        for (const Run& x : runs) {
            b.push_back(x.build), s.push_back(x.sort), e.push_back(x.expand);
            l.push_back(x.collapse), c.push_back(x.clear), p.push_back(x.peak);
        }
        std::printf("%-8s %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f\n", name, Median(b), Median(s),
                    Median(e), Median(l), Median(c), Median(p));
    };
    row("ours", ours);
    if (!qt.empty()) {
        row("Qt", qt);
        std::vector<double> rb, rs, re, rl, rc, rp;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            rb.push_back(qt[i].build / ours[i].build);
            rs.push_back(qt[i].sort / ours[i].sort);
            re.push_back(qt[i].expand / ours[i].expand);
            rl.push_back(qt[i].collapse / ours[i].collapse);
            rc.push_back(qt[i].clear / ours[i].clear);
            rp.push_back(qt[i].peak / ours[i].peak);
        }
        std::printf(
            "%-8s %10.2f %10.2f %10.2f %10.2f %10.2f %10.2f   (median of paired Qt/ours; above "
            "1: ours is ahead)\n",
            "ratio", Median(rb), Median(rs), Median(re), Median(rl), Median(rc), Median(rp));
        std::printf("sort ratios by round:");
        for (double r : rs) std::printf(" %.2f", r);
        std::printf("\n");
    }
    std::printf("\nroot TotalHeight with every parent collapsed: %u px (limit %u px)\n", height,
                rv::TBaseVirtualTree::kMaxTotalHeight);
    if (o.storeOnly) return 0;
    SelectionScaling(names, o.parents, std::max(2 * o.rounds + 1, 5), o.oursOnly);
    rv::bench::RunPositionBench(o.rounds);
    rv::bench::RunPaintBench(20);
    rv::bench::RunInputBench(std::max(o.rounds, 5));
    rv::bench::RunStreamBench(std::max(o.rounds, 5));
    rv::bench::RunExportBench(std::max(o.rounds, 5), o.oursOnly);
    return 0;
}
