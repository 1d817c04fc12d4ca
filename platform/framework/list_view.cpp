#include "platform/framework/list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/messages/application.h"

namespace rv {

namespace {

Qt::Alignment AlignmentOf(TAlignment alignment) {
    Qt::Alignment horizontal = alignment == taRightJustify ? Qt::AlignRight
                               : alignment == taCenter     ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

// Tells when the mouse leaves the rows.
class LeaveWatch : public QObject {
public:
    LeaveWatch(QObject* parent, std::function<void()> left) : QObject(parent), left_(left) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Leave) left_();
        return false;
    }

private:
    std::function<void()> left_;
};

}  // namespace

struct TListView::Face {
    QTreeWidget* tree = nullptr;
    std::vector<TAlignment> alignments;
    std::vector<QIcon> icons;  // of SmallImages, by index
    int selected = -1;         // the row OnSelectItem last told of
    int hot = -1;
};

// ---- rows
// ----------------------------------------------------------------------------------------

void TListItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    owner_->ShowItem(*this);
}

void TListItem::SetSubItems(const std::vector<std::string>& subItems) {
    subItems_ = subItems;
    owner_->ShowItem(*this);
}

void TListItem::AddSubItem(const std::string& text) {
    subItems_.push_back(text);
    owner_->ShowItem(*this);
}

std::string TListItem::SubItem(int index) const {
    return index >= 0 && index < int(subItems_.size()) ? subItems_[size_t(index)] : std::string();
}

void TListItem::SetImageIndex(int index) {
    imageIndex_ = index;
    owner_->ShowItem(*this);
}

bool TListItem::Selected() const {
    return owner_->Selected() == this;
}

void TListItem::SetSelected(bool selected) {
    if (selected)
        owner_->SetSelected(this);
    else if (Selected())
        owner_->SetSelected(nullptr);
}

void TListItem::MakeVisible() {
    if (QTreeWidgetItem* row = owner_->face_->tree->topLevelItem(index_))
        owner_->face_->tree->scrollToItem(row);
}

void TListItem::Delete() {
    owner_->DeleteItem(index_);
}

// ---- the list
// ------------------------------------------------------------------------------------

TListView::TListView(TComponent* owner) : TWidgetControl(owner), face_(std::make_unique<Face>()) {
    InitBounds(0, 0, 250, 150);
    auto* tree = new QTreeWidget;
    face_->tree = tree;
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    tree->setHeaderLabels({QString()});
    tree->header()->resizeSection(0, 50);
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, Guard(), [this] {
        RunReported([this] {
            int now = ItemIndex();
            int before = face_->selected;
            if (now == before) return;
            face_->selected = now;
            if (!OnSelectItem) return;
            if (TListItem* old = Items(before)) OnSelectItem(this, old, false);
            if (TListItem* item = Items(now)) OnSelectItem(this, item, true);
        });
    });
    tree->viewport()->setMouseTracking(true);
    auto setHot = [this](int row) {
        QTreeWidget* t = face_->tree;
        auto underline = [t](int r, bool on) {
            if (QTreeWidgetItem* item = t->topLevelItem(r))
                for (int c = 0; c < t->columnCount(); ++c) {
                    QFont font = t->font();
                    font.setUnderline(on);
                    item->setFont(c, font);
                }
        };
        if (row == face_->hot) return;
        underline(face_->hot, false);
        face_->hot = hotTrack_ ? row : -1;
        underline(face_->hot, true);
        if (face_->hot >= 0)
            t->viewport()->setCursor(Qt::PointingHandCursor);
        else
            t->viewport()->unsetCursor();
    };
    QObject::connect(
        tree, &QTreeWidget::itemEntered, Guard(),
        [this, setHot](QTreeWidgetItem* item) { setHot(face_->tree->indexOfTopLevelItem(item)); });
    QObject::connect(tree, &QTreeWidget::viewportEntered, Guard(), [setHot] { setHot(-1); });
    // The watch goes with the control, before the face.
    tree->viewport()->installEventFilter(new LeaveWatch(Guard(), [setHot] { setHot(-1); }));
    SetFace(tree, tree->viewport());
}

TListView::~TListView() = default;

int TListView::AddColumn(const std::string& caption, int width, TAlignment alignment) {
    QTreeWidget* tree = face_->tree;
    columns_.push_back(caption);
    face_->alignments.push_back(alignment);
    int index = ColumnCount() - 1;
    tree->setColumnCount(ColumnCount());
    QTreeWidgetItem* header = tree->headerItem();
    header->setText(index, QString::fromStdString(caption));
    header->setTextAlignment(index, AlignmentOf(alignment));
    tree->header()->resizeSection(index, std::max(0, width));
    for (const auto& item : items_) ShowItem(*item);
    return index;
}

std::string TListView::ColumnCaption(int index) const {
    return index >= 0 && index < ColumnCount() ? columns_[size_t(index)] : std::string();
}

int TListView::ColumnWidth(int index) const {
    return index >= 0 && index < ColumnCount() ? face_->tree->header()->sectionSize(index) : 0;
}

TListItem* TListView::AddItem() {
    auto item = std::unique_ptr<TListItem>(new TListItem(this));
    item->index_ = ItemCount();
    items_.push_back(std::move(item));
    new QTreeWidgetItem(face_->tree);
    ShowItem(*items_.back());
    return items_.back().get();
}

TListItem* TListView::Items(int index) const {
    return index >= 0 && index < ItemCount() ? items_[size_t(index)].get() : nullptr;
}

void TListView::ShowItem(const TListItem& item) {
    QTreeWidgetItem* row = face_->tree->topLevelItem(item.index_);
    if (!row) return;
    int columns = std::max(1, ColumnCount());
    for (int c = 0; c < columns; ++c) {
        const std::string& text = c == 0 ? item.caption_ : item.SubItem(c - 1);
        row->setText(c, QString::fromStdString(text));
        if (c < int(face_->alignments.size()))
            row->setTextAlignment(c, AlignmentOf(face_->alignments[size_t(c)]));
    }
    int image = item.imageIndex_;
    bool pictured = image >= 0 && image < int(face_->icons.size());
    row->setIcon(0, pictured ? face_->icons[size_t(image)] : QIcon());
}

void TListView::Renumber(int from) {
    for (int i = std::max(0, from); i < ItemCount(); ++i) items_[size_t(i)]->index_ = i;
}

void TListView::DeleteItem(int index) {
    if (!Items(index)) return;
    QTreeWidget* tree = face_->tree;
    int selected = ItemIndex();
    {
        // The toolkit may move the selection to a neighbour; the list selects what it did before.
        QSignalBlocker quiet(tree);
        delete tree->takeTopLevelItem(index);
        items_.erase(items_.begin() + index);
        Renumber(index);
        if (face_->hot == index) face_->hot = -1;
        if (face_->hot > index) --face_->hot;
        int keep = selected == index ? -1 : selected > index ? selected - 1 : selected;
        tree->clearSelection();
        if (QTreeWidgetItem* row = tree->topLevelItem(keep)) row->setSelected(true);
        face_->selected = keep;
    }
}

void TListView::ClearItems() {
    QSignalBlocker quiet(face_->tree);
    face_->tree->clear();
    items_.clear();
    face_->selected = -1;
    face_->hot = -1;
}

TListItem* TListView::Selected() const {
    return Items(ItemIndex());
}

int TListView::ItemIndex() const {
    QList<QTreeWidgetItem*> rows = face_->tree->selectedItems();
    return rows.isEmpty() ? -1 : face_->tree->indexOfTopLevelItem(rows.first());
}

void TListView::SetSelected(TListItem* item) {
    SetItemIndex(item && item->owner_ == this ? item->index_ : -1);
}

void TListView::SetItemIndex(int index) {
    QTreeWidget* tree = face_->tree;
    if (QTreeWidgetItem* row = tree->topLevelItem(index)) {
        tree->setCurrentItem(row);
        row->setSelected(true);
    } else {
        tree->clearSelection();
    }
}

void TListView::Notification(TComponent* component, TOperation operation) {
    TWidgetControl::Notification(component, operation);
    if (operation != TOperation::opRemove || component != smallImages_) return;
    if (Destroying())
        smallImages_ = nullptr;
    else
        SetSmallImages(nullptr);
}

void TListView::SetSmallImages(TImageList* images) {
    SetLink(smallImages_, images);
    face_->icons.clear();
    if (images) {
        for (int i = 0; i < images->Count(); ++i) {
            TBitmap picture;
            images->GetBitmap(i, picture);
            face_->icons.push_back(QIcon(QPixmap::fromImage(picture.Impl().Pixels())));
        }
        face_->tree->setIconSize(QSize(images->Width(), images->Height()));
    }
    for (const auto& item : items_) ShowItem(*item);
}

void TListView::SetColumnClick(bool value) {
    columnClick_ = value;
    face_->tree->header()->setSectionsClickable(value);
}

void TListView::SetHideSelection(bool value) {
    hideSelection_ = value;
    ApplyLook();
}

void TListView::SetHotTrack(bool value) {
    hotTrack_ = value;
}

void TListView::ApplyLook() {
    TWidgetControl::ApplyLook();
    if (!face_ || !face_->tree) return;
    QTreeWidget* tree = face_->tree;
    QPalette palette = tree->palette();
    // Without the focus the selection shows in the face colour, or not at all.
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     hideSelection_ ? ToQColor(Color()) : ToQColor(clBtnFace));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hideSelection_ ? ToQColor(Font().Color) : ToQColor(clBtnText));
    tree->setPalette(palette);
}

}  // namespace rv
