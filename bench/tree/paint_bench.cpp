#include "bench/tree/paint_bench.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/tree/grouped_model.h"
#include "platform/graphics/bitmap.h"
#include "platform/messages/application.h"
#include "tree/string_tree.h"

namespace rv::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kParents = 1000, kChildren = 1000, kColumns = 6;
constexpr int kWidth = 1000, kHeight = 800;
constexpr int kColumnWidths[kColumns] = {300, 60, 60, 70, 110, 400};
const char* const kCaptions[kColumns] = {"Title", "Year", "Time", "Bitrate", "Mode", "Format"};

// The texts of both views, made when asked as the program's views make theirs.
class Texts {
public:
    Texts() {
        static const char* const words[] = {"Blue",  "Night", "Live", "The",      "Best", "Of",
                                            "Zlata", "Praha", "Rock", "Symfonie", "Road", "Kino"};
        std::mt19937 random(7);
        for (int i = 0; i < kParents + kParents * kChildren / 100; ++i)
            names_.push_back(std::string(words[random() % 12]) + " " + words[random() % 12] + " " +
                             std::to_string(random() % 1000));
    }
    // `child` -1 for a parent.
    std::string Of(int parent, int child, int column) const {
        const int n = child < 0 ? parent : kParents + (parent * kChildren + child) % 10000;
        switch (column) {
            case 0:
                return names_[std::size_t(n)];
            case 1:
                return std::to_string(1950 + n % 70);
            case 2:
                return std::to_string(n % 60) + ":" + std::to_string(10 + n % 50);
            case 3:
                return std::to_string(128 + n % 193);
            case 4:
                return n % 3 ? "Joint Stereo" : "Stereo";
            default:
                return n % 2 ? "MPEG 1 Layer III" : "Ogg Vorbis";
        }
    }

private:
    std::vector<std::string> names_;
};

struct Address {
    int parent, child;
};

// The reference: every parent's children under it, six columns, the leaves saying they have
// none, for a view with uniform row heights — how a Qt developer shows a big tree.
class PaintModel : public GroupedModel {
public:
    explicit PaintModel(const Texts& texts)
        : GroupedModel(kParents, kChildren, kColumns, kCaptions), texts_(texts) {}

protected:
    QString Cell(int parent, int child, int column) const override {
        return QString::fromStdString(texts_.Of(parent, child, column));
    }

private:
    const Texts& texts_;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

void RunPaintBench(int frames) {
    const Texts texts;

    PaintModel model(texts);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setModel(&model);
    for (int c = 0; c < kColumns; ++c) view.header()->resizeSection(c, kColumnWidths[c]);
    view.resize(kWidth + view.verticalScrollBar()->sizeHint().width() + 2,
                kHeight + view.header()->sizeHint().height() + 2);
    view.show();
    view.expandAll();
    QApplication::processEvents();
    // Both views show as many rows: ours as high as the reference's.
    const int rowHeight = view.visualRect(model.index(0, 0, {})).height();

    TVirtualStringTree tree(nullptr);
    tree.SetDefaultNodeHeight(std::uint32_t(rowHeight));
    tree.SetNodeDataSize(sizeof(Address));
    for (int c = 0; c < kColumns; ++c) {
        TVirtualTreeColumn& column = tree.Header().Columns().Add();
        column.SetText(kCaptions[c]);
        column.SetWidth(kColumnWidths[c]);
    }
    tree.OnGetText = [&](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex column,
                         TVSTTextType, std::string& text) {
        const auto* a = static_cast<const Address*>(s->GetNodeData(n));
        text = texts.Of(a->parent, a->child, column);
    };
    tree.BeginUpdate();
    for (int p = 0; p < kParents; ++p) {
        const PVirtualNode parent = tree.AddChild(nullptr);
        *static_cast<Address*>(tree.GetNodeData(parent)) = {p, -1};
        for (int c = 0; c < kChildren; ++c)
            *static_cast<Address*>(tree.GetNodeData(tree.AddChild(parent))) = {p, c};
    }
    tree.EndUpdate();
    tree.FullExpand();
    while (!tree.TreeStates().Contains(tsUseCache)) Application->ProcessMessages();
    TBitmap target(kWidth, kHeight);
    const int range = int(tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight);

    auto ours = [&](double f) {
        const int y = int(f * (range - kHeight));
        const auto t0 = Clock::now();
        tree.PaintTree(target.Canvas(), {0, y, kWidth, y + kHeight}, {0, 0}, kWindowPaintOptions);
        target.ScanLine(0);  // the painting finished
        return Ms(t0, Clock::now());
    };
    auto qt = [&](double f) {
        QScrollBar* bar = view.verticalScrollBar();
        bar->setValue(int(f * bar->maximum()));
        const auto t0 = Clock::now();
        const QPixmap picture = view.grab();
        const auto t1 = Clock::now();
        return picture.isNull() ? 0.0 : Ms(t0, t1);
    };
    ours(0.5);  // warm-up
    qt(0.5);
    std::mt19937 random(11);
    std::vector<double> oursMs, qtMs, ratios;
    for (int i = 0; i < frames; ++i) {
        const double f = std::uniform_real_distribution<double>(0, 1)(random);
        double a, b;
        if (i % 2 == 0) {
            a = ours(f);
            b = qt(f);
        } else {
            b = qt(f);
            a = ours(f);
        }
        oursMs.push_back(a);
        qtMs.push_back(b);
        ratios.push_back(b / a);
    }
    std::printf(
        "\npainting a %d x %d view, %d columns, %d rows of %d px, %d random offsets, warm\n",
        kWidth, kHeight, kColumns, kParents * (kChildren + 1), rowHeight, frames);
    std::printf("%-14s %10s %10s %10s\n", "", "median ms", "max ms", "Qt/ours");
    std::printf("%-14s %10.2f %10.2f\n", "ours", Median(oursMs),
                *std::max_element(oursMs.begin(), oursMs.end()));
    std::printf("%-14s %10.2f %10.2f %10.2f   (median of paired Qt/ours; above 1: ours is ahead)\n",
                "QTreeView", Median(qtMs), *std::max_element(qtMs.begin(), qtMs.end()),
                Median(ratios));
}

}  // namespace rv::bench
