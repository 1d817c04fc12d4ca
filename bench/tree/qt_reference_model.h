#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rv::bench {

// A node's 12 bytes of data, as the program's views keep them.
struct NodeData {
    std::int32_t Artist, Album, Track;
};

// The reference: a custom item model of the usual shape (each item allocated on its own, its
// children in a vector, its row kept) for a QTreeView, filled, sorted and cleared through the
// model's own notifications, its leaves flagged as such as a Qt developer writes it.
class QtReferenceModel : public QAbstractItemModel {
public:
    using KeyOf = std::function<const std::string&(const NodeData&)>;
    explicit QtReferenceModel(KeyOf key) : key_(std::move(key)) {}

    // Filling inside one reset, as a bulk load is done in Qt.
    void BeginFill() { beginResetModel(); }
    void* AddChild(void* parent, const NodeData& data);
    void EndFill() { endResetModel(); }
    void Clear();

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex&) const override { return 1; }
    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // A child row (a track under its parent) never has children, and says so: the view then
    // keeps no expansion state and no persistent index for it.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Sorts every child list by the key, stably, keeping persistent indexes right.
    void sort(int column, Qt::SortOrder order) override;

private:
    struct Item {
        NodeData data;
        Item* parent = nullptr;
        int row = 0;
        std::vector<std::unique_ptr<Item>> children;
    };
    Item* ItemOf(const QModelIndex& index) const;
    void SortChildren(Item* item, Qt::SortOrder order);

    KeyOf key_;
    Item root_;
};

}  // namespace rv::bench
