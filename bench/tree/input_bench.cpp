#include "bench/tree/input_bench.h"

#include <QApplication>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/tree/qt_reference_model.h"
#include "platform/messages/application.h"
#include "tree/string_tree.h"

namespace rv::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 1000000;
constexpr int kMoves = 1000;
constexpr int kWidth = 400, kHeight = 600;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double MedianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The typed text against the start of a node's text, letters folded as the views compare them.
int CompareStart(const std::string& typed, const std::string& text) {
    const std::size_t n = std::min(typed.size(), text.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
        if (fold(typed[i]) != fold(text[i])) return fold(typed[i]) - fold(text[i]);
    }
    return 0;
}

}  // namespace

void RunInputBench(int rounds) {
    std::vector<std::string> names;
    names.reserve(kRows);
    std::mt19937 random(7);
    for (int i = 0; i < kRows; ++i) names.push_back("Track " + std::to_string(random() % 100000));

    QtReferenceModel model(
        [&](const NodeData& d) -> const std::string& { return names[std::size_t(d.Artist)]; });
    model.BeginFill();
    for (int i = 0; i < kRows; ++i) model.AddChild(nullptr, {i, -1, -1});
    model.EndFill();
    QTreeView view;
    view.setModel(&model);
    view.setUniformRowHeights(true);
    view.resize(kWidth, kHeight);
    view.show();
    QApplication::processEvents();
    const int rowHeight = view.visualRect(model.index(0, 0, {})).height();

    TVirtualStringTree tree(nullptr);
    tree.SetDefaultNodeHeight(std::uint32_t(rowHeight));
    tree.SetNodeDataSize(sizeof(int));
    tree.SetBounds(0, 0, kWidth, kHeight);
    tree.SetIncrementalSearch(isAll);
    tree.SetIncrementalSearchStart(ssAlwaysStartOver);
    tree.OnIncrementalSearch = [&](TBaseVirtualTree* s, PVirtualNode n, const std::string& text,
                                   int& result) {
        result = CompareStart(text, names[std::size_t(*static_cast<int*>(s->GetNodeData(n)))]);
    };
    tree.OnGetText = [&](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex, TVSTTextType,
                         std::string& text) {
        text = names[std::size_t(*static_cast<int*>(s->GetNodeData(n)))];
    };
    tree.BeginUpdate();
    for (int i = 0; i < kRows; ++i)
        *static_cast<int*>(tree.GetNodeData(tree.AddChild(nullptr))) = i;
    tree.EndUpdate();
    while (!tree.TreeStates().Contains(tsUseCache)) Application->ProcessMessages();

    // A miss: "Z" starts no name, so every node is asked once.
    auto oursSearch = [&] {
        const auto start = Clock::now();
        tree.Perform(WM_KEYDOWN, 'Z', 1);
        tree.Perform(WM_CHAR, 'z', 1);
        const double ms = Ms(start);
        tree.Perform(WM_TIMER, TBaseVirtualTree::kSearchTimer, 0);
        return ms;
    };
    auto qtSearch = [&] {
        view.keyboardSearch({});  // forgets the text typed before
        const auto start = Clock::now();
        view.keyboardSearch(QStringLiteral("z"));
        const double ms = Ms(start);
        view.keyboardSearch({});
        return ms;
    };
    // Moves at random places of a view scrolled to a random place.
    std::vector<int> ys(kMoves);
    for (int& y : ys) y = int(random() % unsigned(kHeight - 40));
    auto oursHover = [&](int offset) {
        tree.SetOffsetY(-offset);
        const auto start = Clock::now();
        for (int y : ys) tree.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(60, y));
        return Ms(start) * 1000 / kMoves;
    };
    auto qtHover = [&](int offset) {
        view.scrollTo(model.index(offset / rowHeight, 0, {}), QAbstractItemView::PositionAtTop);
        const auto start = Clock::now();
        int found = 0;
        for (int y : ys) found += view.indexAt(QPoint(60, y)).isValid();
        const double us = Ms(start) * 1000 / kMoves;
        if (found != kMoves) std::printf("(the reference missed %d rows)\n", kMoves - found);
        return us;
    };

    oursSearch();  // warm-up: the first walk initialises every node
    qtSearch();
    std::vector<double> searchOurs, searchQt, searchRatio, hoverOurs, hoverQt, hoverRatio;
    for (int r = 0; r < rounds; ++r) {
        const int offset = int(random() % unsigned(kRows - 100)) * rowHeight;
        double o, q, ho, hq;
        if (r % 2 == 0) {
            o = oursSearch(), q = qtSearch(), ho = oursHover(offset), hq = qtHover(offset);
        } else {
            q = qtSearch(), o = oursSearch(), hq = qtHover(offset), ho = oursHover(offset);
        }
        searchOurs.push_back(o), searchQt.push_back(q), searchRatio.push_back(q / o);
        hoverOurs.push_back(ho), hoverQt.push_back(hq), hoverRatio.push_back(hq / ho);
    }
    std::printf(
        "\ninput over %d rows, %d paired rounds, warm\n"
        "%-34s %10s %10s %8s\n"
        "%-34s %10.1f %10.1f %8.2f\n"
        "%-34s %10.2f %10.2f %8.2f   (medians; ratio Qt/ours, above 1: ours is ahead)\n",
        kRows, rounds, "", "ours", "Qt", "ratio", "incremental search, a miss (ms)",
        MedianOf(searchOurs), MedianOf(searchQt), MedianOf(searchRatio),
        "hot tracking per mouse move (us)", MedianOf(hoverOurs), MedianOf(hoverQt),
        MedianOf(hoverRatio));
}

}  // namespace rv::bench
