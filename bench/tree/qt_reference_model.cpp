#include "bench/tree/qt_reference_model.h"

#include <algorithm>

namespace rv::bench {

void* QtReferenceModel::AddChild(void* parent, const NodeData& data) {
    Item* p = parent ? static_cast<Item*>(parent) : &root_;
    auto item = std::make_unique<Item>();
    item->data = data;
    item->parent = p;
    item->row = int(p->children.size());
    p->children.push_back(std::move(item));
    return p->children.back().get();
}

void QtReferenceModel::Clear() {
    beginResetModel();
    root_.children.clear();
    root_.children.shrink_to_fit();
    endResetModel();
}

QtReferenceModel::Item* QtReferenceModel::ItemOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Item*>(index.internalPointer())
                           : const_cast<Item*>(&root_);
}

int QtReferenceModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return int(ItemOf(parent)->children.size());
}

QModelIndex QtReferenceModel::index(int row, int column, const QModelIndex& parent) const {
    const Item* p = ItemOf(parent);
    if (row < 0 || row >= int(p->children.size()) || column != 0) return {};
    return createIndex(row, column, p->children[std::size_t(row)].get());
}

QModelIndex QtReferenceModel::parent(const QModelIndex& child) const {
    const Item* item = ItemOf(child);
    if (!child.isValid() || item->parent == &root_) return {};
    return createIndex(item->parent->row, 0, item->parent);
}

QVariant QtReferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return QString::fromStdString(key_(ItemOf(index)->data));
}

Qt::ItemFlags QtReferenceModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (index.isValid() && ItemOf(index)->data.Album >= 0) flags |= Qt::ItemNeverHasChildren;
    return flags;
}

void QtReferenceModel::SortChildren(Item* item, Qt::SortOrder order) {
    auto& c = item->children;
    const auto before = [&](const std::unique_ptr<Item>& a, const std::unique_ptr<Item>& b) {
        const int result = key_(a->data).compare(key_(b->data));
        return order == Qt::AscendingOrder ? result < 0 : result > 0;
    };
    std::stable_sort(c.begin(), c.end(), before);
    for (std::size_t i = 0; i < c.size(); ++i) {
        c[i]->row = int(i);
        SortChildren(c[i].get(), order);
    }
}

void QtReferenceModel::sort(int, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<Item*> items;
    items.reserve(std::size_t(before.size()));
    for (const QModelIndex& i : before) items.push_back(ItemOf(i));
    SortChildren(&root_, order);
    QModelIndexList after;
    after.reserve(before.size());
    for (Item* i : items) after.push_back(createIndex(i->row, 0, i));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

}  // namespace rv::bench
