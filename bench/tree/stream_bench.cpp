#include "bench/tree/stream_bench.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/tree/qt_reference_model.h"
#include "platform/files/streams.h"
#include "tree/string_tree.h"

namespace rv::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kParents = 1000;
constexpr int kChildren = 999;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double MedianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A tree whose nodes carry NodeData, written and read as the node's user data.
class DataTree : public TVirtualStringTree {
public:
    DataTree() : TVirtualStringTree(nullptr) {
        SetNodeDataSize(sizeof(NodeData));
        TreeOptions().SetStringOptions({});
        OnSaveNode = [](TBaseVirtualTree* sender, PVirtualNode node, TStream& stream) {
            stream.WriteBuffer(sender->GetNodeData(node), sizeof(NodeData));
        };
        OnLoadNode = [](TBaseVirtualTree* sender, PVirtualNode node, TStream& stream) {
            stream.ReadBuffer(sender->GetNodeData(node), sizeof(NodeData));
        };
    }
};

void Fill(DataTree& tree) {
    tree.BeginUpdate();
    for (int p = 0; p < kParents; ++p) {
        PVirtualNode parent = tree.AddChild(nullptr);
        *static_cast<NodeData*>(tree.GetNodeData(parent)) = {p, -1, -1};
        for (int c = 0; c < kChildren; ++c)
            *static_cast<NodeData*>(tree.GetNodeData(tree.AddChild(parent))) = {p, c, -1};
    }
    tree.EndUpdate();
}

// The reference: items allocated one by one with their children in a vector, streamed as a
// Qt developer writes it (the data, then the child count and the children).
struct Item {
    NodeData data{};
    std::vector<std::unique_ptr<Item>> children;
};

void WriteItem(QDataStream& out, const Item& item) {
    out << qint32(item.data.Artist) << qint32(item.data.Album) << qint32(item.data.Track)
        << quint32(item.children.size());
    for (const auto& child : item.children) WriteItem(out, *child);
}

void ReadItem(QDataStream& in, Item& item) {
    qint32 artist, album, track;
    quint32 count;
    in >> artist >> album >> track >> count;
    item.data = {artist, album, track};
    item.children.reserve(count);
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        item.children.push_back(std::make_unique<Item>());
        ReadItem(in, *item.children.back());
    }
}

struct Times {
    double save = 0, load = 0;
    std::size_t bytes = 0, nodes = 0;
};

Times RunOurs(DataTree& source) {
    Times t;
    TMemoryStream stream;
    auto t0 = Clock::now();
    source.SaveToStream(stream);
    t.save = Ms(t0);
    t.bytes = std::size_t(stream.Size());
    DataTree target;
    TReadOnlyMemoryStream in(stream.Memory(), t.bytes);
    t0 = Clock::now();
    target.LoadFromStream(in);
    t.load = Ms(t0);
    t.nodes = target.TotalCount();
    return t;
}

std::size_t Count(const Item& item) {
    std::size_t n = 1;
    for (const auto& child : item.children) n += Count(*child);
    return n;
}

Times RunQt(const Item& source) {
    Times t;
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        const auto t0 = Clock::now();
        WriteItem(out, source);
        t.save = Ms(t0);
    }
    t.bytes = std::size_t(bytes.size());
    Item target;
    QDataStream in(bytes);
    const auto t0 = Clock::now();
    ReadItem(in, target);
    t.load = Ms(t0);
    t.nodes = Count(target);
    return t;
}

}  // namespace

void RunStreamBench(int rounds) {
    DataTree tree;
    Fill(tree);
    Item root;
    for (int p = 0; p < kParents; ++p) {
        auto parent = std::make_unique<Item>();
        parent->data = {p, -1, -1};
        for (int c = 0; c < kChildren; ++c) {
            parent->children.push_back(std::make_unique<Item>());
            parent->children.back()->data = {p, c, -1};
        }
        root.children.push_back(std::move(parent));
    }
    RunOurs(tree);  // warm-up
    RunQt(root);
    std::vector<double> save, load, ratio, qtSave, qtLoad, qtRatio, pairedSave, pairedLoad;
    Times last, lastQt;
    for (int r = 0; r < rounds; ++r) {
        if (r % 2 == 0) {
            last = RunOurs(tree);
            lastQt = RunQt(root);
        } else {
            lastQt = RunQt(root);
            last = RunOurs(tree);
        }
        save.push_back(last.save);
        load.push_back(last.load);
        ratio.push_back(last.load / last.save);
        qtSave.push_back(lastQt.save);
        qtLoad.push_back(lastQt.load);
        qtRatio.push_back(lastQt.load / lastQt.save);
        pairedSave.push_back(lastQt.save / last.save);
        pairedLoad.push_back(lastQt.load / last.load);
    }
    std::printf("\nstream of %zu nodes (12 bytes of user data each), %d paired rounds, memory\n",
                last.nodes, rounds);
    std::printf("%-10s %10s %10s %12s %12s\n", "", "save ms", "load ms", "load/save", "bytes");
    std::printf("%-10s %10.1f %10.1f %12.2f %12zu\n", "ours", MedianOf(save), MedianOf(load),
                MedianOf(ratio), last.bytes);
    std::printf("%-10s %10.1f %10.1f %12.2f %12zu   (QDataStream, %zu items)\n", "Qt",
                MedianOf(qtSave), MedianOf(qtLoad), MedianOf(qtRatio), lastQt.bytes, lastQt.nodes);
    std::printf("%-10s %10.2f %10.2f   (median of paired Qt/ours; above 1: ours is ahead)\n",
                "ratio", MedianOf(pairedSave), MedianOf(pairedLoad));
}

}  // namespace rv::bench
