#include "platform/framework/combo_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "platform/messages/application.h"

namespace rv {

namespace {

QComboBox* Combo(QWidget* face) {
    return static_cast<QComboBox*>(face);
}

}  // namespace

TComboBox::TComboBox(TComponent* owner) : TWidgetControl(owner) {
    InitBounds(0, 0, 145, 21);
    auto* combo = new QComboBox;
    combo->setEditable(true);
    // Enter belongs to the form's default button, not to a new entry of the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(combo, &QComboBox::activated, Guard(),
                     [this] { RunReported([this] { Change(); }); });
    SetFace(combo);
    ConnectEdit();
}

void TComboBox::ConnectEdit() {
    if (QLineEdit* edit = Combo(Face())->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, Guard(),
                         [this] { RunReported([this] { Change(); }); });
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    QComboBox* combo = Combo(Face());
    int index = combo->currentIndex();
    combo->setEditable(style == csDropDown);
    if (style == csDropDown) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        ConnectEdit();
    }
    combo->setCurrentIndex(index);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    std::string text = Text();
    items_ = items;
    QComboBox* combo = Combo(Face());
    QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& item : items_) combo->addItem(QString::fromStdString(item));
    // The text typed in the box stays; a list style chooses nothing.
    combo->setCurrentIndex(-1);
    if (style_ == csDropDown) combo->setEditText(QString::fromStdString(text));
}

void TComboBox::AddItem(const std::string& item) {
    items_.push_back(item);
    QComboBox* combo = Combo(Face());
    QSignalBlocker quiet(combo);
    QString text = combo->currentText();
    int index = combo->currentIndex();
    combo->addItem(QString::fromStdString(item));
    // The first entry must not become the chosen one by itself.
    combo->setCurrentIndex(index);
    if (style_ == csDropDown) combo->setEditText(text);
}

void TComboBox::ClearItems() {
    SetItems({});
}

int TComboBox::ItemIndex() const {
    return Combo(Face())->currentIndex();
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= int(items_.size())) index = -1;
    QComboBox* combo = Combo(Face());
    QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
    if (index < 0 && style_ == csDropDown) combo->setEditText(QString());
}

std::string TComboBox::Text() const {
    return Combo(Face())->currentText().toStdString();
}

void TComboBox::SetText(const std::string& text) {
    QComboBox* combo = Combo(Face());
    if (style_ == csDropDownList) {
        auto it = std::find(items_.begin(), items_.end(), text);
        SetItemIndex(it == items_.end() ? -1 : int(it - items_.begin()));
        return;
    }
    QSignalBlocker quiet(combo);
    combo->setEditText(QString::fromStdString(text));
    if (QLineEdit* edit = combo->lineEdit()) edit->setCursorPosition(0);
}

int TComboBox::DropDownCount() const {
    return Combo(Face())->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int count) {
    Combo(Face())->setMaxVisibleItems(std::max(1, count));
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::PublishProperties(TPropList& list) {
    TWidgetControl::PublishProperties(list);
    list.push_back(StringListProperty(
        "Items", [this] { return items_; },
        [this](const std::vector<std::string>& v) { SetItems(v); }));
}

}  // namespace rv
