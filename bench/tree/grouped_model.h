#pragma once
// The reference's model for the benchmarks' big trees: parents each with the same number of
// children, the leaves saying they have none, as a Qt developer writes such a model.

#include <QAbstractItemModel>

namespace rv::bench {

class GroupedModel : public QAbstractItemModel {
public:
    GroupedModel(int parents, int children, int columns, const char* const* captions)
        : parents_(parents), children_(children), columns_(columns), captions_(captions) {}
    int rowCount(const QModelIndex& parent) const override {
        if (!parent.isValid()) return parents_;
        return parent.internalId() == 0 && parent.column() == 0 ? children_ : 0;
    }
    int columnCount(const QModelIndex&) const override { return columns_; }
    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        if (!parent.isValid()) return createIndex(row, column, quintptr(0));
        return createIndex(row, column, quintptr(parent.row()) + 1);
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (child.internalId() == 0) return {};
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.internalId() != 0) f |= Qt::ItemNeverHasChildren;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        const bool child = index.internalId() != 0;
        const int parent = child ? int(index.internalId() - 1) : index.row();
        return Cell(parent, child ? index.row() : -1, index.column());
    }
    QVariant headerData(int section, Qt::Orientation, int role) const override {
        return role == Qt::DisplayRole ? QVariant(captions_[section]) : QVariant();
    }

protected:
    // A cell's text; `child` is -1 for the parent's own row.
    virtual QString Cell(int parent, int child, int column) const = 0;

private:
    int parents_, children_, columns_;
    const char* const* captions_;
};

}  // namespace rv::bench
