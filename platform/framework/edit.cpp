#include "platform/framework/edit.h"

#include <QLineEdit>
#include <algorithm>

#include "platform/messages/application.h"
#include "platform/windows/window_host.h"

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

void TEdit::SetSelStart(int start) {
    QLineEdit* edit = LineEdit(Face());
    edit->setCursorPosition(std::clamp(start, 0, int(edit->text().size())));
}

void TEdit::SetSelLength(int length) {
    QLineEdit* edit = LineEdit(Face());
    const int start = SelStart();
    edit->setSelection(start, std::clamp(length, 0, int(edit->text().size()) - start));
}

std::string TEdit::SelText() const {
    return LineEdit(Face())->selectedText().toStdString();
}

bool TEdit::Modified() const {
    return LineEdit(Face())->isModified();
}

void TEdit::SetModified(bool modified) {
    LineEdit(Face())->setModified(modified);
}

void TEdit::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    const Qt::Alignment horizontal = alignment == taRightJustify ? Qt::AlignRight
                                     : alignment == taCenter     ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    LineEdit(Face())->setAlignment(horizontal | Qt::AlignVCenter);
}

void TEdit::SetFrame(TEditFrame frame) {
    // The host draws a plain line or a sunken edge in its frame; the face then has none.
    LineEdit(Face())->setFrame(false);
    SetWindowFrame(Handle(), frame == efClientEdge ? 2 : frame == efSingle ? 1 : 0, 0);
}

void TEdit::SetTextMargins(int left, int top, int right, int bottom) {
    LineEdit(Face())->setTextMargins(std::max(0, left), std::max(0, top), std::max(0, right),
                                     std::max(0, bottom));
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace rv
