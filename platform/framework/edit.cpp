#include "platform/framework/edit.h"

#include <QLineEdit>

#include "platform/messages/application.h"

namespace rv {

namespace {

QLineEdit* LineEdit(QWidget* face) {
    return static_cast<QLineEdit*>(face);
}

constexpr int kUnlimited = 0x7FFFFFFF;

}  // namespace

TEdit::TEdit(TComponent* owner) : TWidgetControl(owner) {
    InitBounds(0, 0, 121, 21);
    auto* edit = new QLineEdit;
    edit->setMaxLength(kUnlimited);
    QObject::connect(edit, &QLineEdit::textChanged, Guard(),
                     [this] { RunReported([this] { Change(); }); });
    SetFace(edit);
}

std::string TEdit::Text() const {
    return LineEdit(Face())->text().toStdString();
}

void TEdit::SetText(const std::string& text) {
    QLineEdit* edit = LineEdit(Face());
    edit->setText(QString::fromStdString(text));
    edit->setCursorPosition(0);  // the start of a long text shows
}

void TEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    LineEdit(Face())->setMaxLength(maxLength_ > 0 ? maxLength_ : kUnlimited);
}

void TEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    LineEdit(Face())->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

bool TEdit::ReadOnly() const {
    return LineEdit(Face())->isReadOnly();
}

void TEdit::SetReadOnly(bool readOnly) {
    LineEdit(Face())->setReadOnly(readOnly);
}

void TEdit::SelectAll() {
    LineEdit(Face())->selectAll();
}

int TEdit::SelStart() const {
    QLineEdit* edit = LineEdit(Face());
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TEdit::SelLength() const {
    return int(LineEdit(Face())->selectedText().size());
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace rv
