#include "platform/framework/edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/messages/application.h"
#include "platform/windows/window_host.h"

namespace rv {

namespace {

constexpr int kUnlimited = 0x7FFFFFFF;

QString ToMultiLine(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

Qt::Alignment HorizontalAlignment(TAlignment alignment) {
    return alignment == taRightJustify ? Qt::AlignRight
           : alignment == taCenter     ? Qt::AlignHCenter
                                       : Qt::AlignLeft;
}

// The face of several lines: what the user types or pastes stops at the limit, as a one-line
// face's does (0: none).
class MemoFace : public QPlainTextEdit {
public:
    int limit = 0;

protected:
    int Room() const {
        const QTextCursor c = textCursor();
        const int length = document()->characterCount() - 1;
        return limit - (length - (c.selectionEnd() - c.selectionStart()));
    }
    void keyPressEvent(QKeyEvent* e) override {
        const bool typing =
            !e->text().isEmpty() && (e->text()[0].isPrint() || e->key() == Qt::Key_Return ||
                                     e->key() == Qt::Key_Enter || e->key() == Qt::Key_Tab);
        if (limit > 0 && typing && Room() < int(e->text().size())) return;
        QPlainTextEdit::keyPressEvent(e);
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (limit <= 0 || !source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        insertPlainText(source->text().left(std::max(0, Room())));
    }
};

// The face is a QLineEdit for one line and a QPlainTextEdit for several; each member below asks
// which one it is.
QLineEdit* Line(QWidget* face) {
    return qobject_cast<QLineEdit*>(face);
}

QPlainTextEdit* Memo(QWidget* face) {
    return qobject_cast<QPlainTextEdit*>(face);
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWidgetControl(owner) {
    InitBounds(0, 0, 121, 21);
    MakeFace();
}

void TCustomEdit::MakeFace() {
    if (!multiLine_) {
        auto* edit = new QLineEdit;
        edit->setMaxLength(maxLength_ > 0 ? maxLength_ : kUnlimited);
        edit->setEchoMode(passwordChar_ ? QLineEdit::Password : QLineEdit::Normal);
        QObject::connect(edit, &QLineEdit::textChanged, Guard(),
                         [this] { RunReported([this] { Change(); }); });
        SetFace(edit);
        return;
    }
    auto* memo = new MemoFace;
    memo->limit = maxLength_;
    // The box's own edges are its frame; the text starts at the margins set.
    memo->document()->setDocumentMargin(0);
    memo->setTabChangesFocus(false);
    QObject::connect(memo, &QPlainTextEdit::textChanged, Guard(),
                     [this] { RunReported([this] { Change(); }); });
    SetFace(memo);
    ApplyLines();
}

void TCustomEdit::SetMultiLine(bool multiLine) {
    if (multiLine == multiLine_) return;
    const std::string text = Text();
    const bool modified = Modified(), readOnly = ReadOnly();
    const int start = SelStart(), length = SelLength();
    multiLine_ = multiLine;
    // The same text in another face is no change.
    Face()->blockSignals(true);
    MakeFace();
    {
        const QSignalBlocker quiet(Face());
        SetText(text);
    }
    SetReadOnly(readOnly);
    SetModified(modified);
    SetAlignment(alignment_);
    if (framed_) SetFrame(frame_);
    SetTextMargins(margins_[0], margins_[1], margins_[2], margins_[3]);
    SetSelStart(start);
    SetSelLength(length);
}

void TCustomEdit::ApplyLines() {
    QPlainTextEdit* memo = Memo(Face());
    if (!memo) return;
    memo->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TCustomEdit::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    ApplyLines();
}

void TCustomEdit::SetScrollBars(TScrollStyle bars) {
    scrollBars_ = bars;
    ApplyLines();
}

std::string TCustomEdit::Text() const {
    if (QPlainTextEdit* memo = Memo(Face())) return memo->toPlainText().toStdString();
    return Line(Face())->text().toStdString();
}

void TCustomEdit::SetText(const std::string& text) {
    if (QPlainTextEdit* memo = Memo(Face())) {
        memo->setPlainText(ToMultiLine(text));
        memo->moveCursor(QTextCursor::Start);  // the start of a long text shows
        return;
    }
    QLineEdit* edit = Line(Face());
    edit->setText(QString::fromStdString(text));
    edit->setCursorPosition(0);
}

void TCustomEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    if (QLineEdit* edit = Line(Face()))
        edit->setMaxLength(maxLength_ > 0 ? maxLength_ : kUnlimited);
    if (auto* memo = dynamic_cast<MemoFace*>(Face())) memo->limit = maxLength_;
}

void TCustomEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    if (QLineEdit* edit = Line(Face()))
        edit->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

bool TCustomEdit::ReadOnly() const {
    if (QPlainTextEdit* memo = Memo(Face())) return memo->isReadOnly();
    return Line(Face())->isReadOnly();
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    if (QPlainTextEdit* memo = Memo(Face()))
        memo->setReadOnly(readOnly);
    else
        Line(Face())->setReadOnly(readOnly);
}

void TCustomEdit::SelectAll() {
    if (QPlainTextEdit* memo = Memo(Face()))
        memo->selectAll();
    else
        Line(Face())->selectAll();
}

int TCustomEdit::SelStart() const {
    if (QPlainTextEdit* memo = Memo(Face())) return memo->textCursor().selectionStart();
    QLineEdit* edit = Line(Face());
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TCustomEdit::SelLength() const {
    if (QPlainTextEdit* memo = Memo(Face())) {
        const QTextCursor c = memo->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return int(Line(Face())->selectedText().size());
}

void TCustomEdit::SetSelStart(int start) {
    if (QPlainTextEdit* memo = Memo(Face())) {
        QTextCursor c = memo->textCursor();
        c.setPosition(std::clamp(start, 0, memo->document()->characterCount() - 1));
        memo->setTextCursor(c);
        return;
    }
    QLineEdit* edit = Line(Face());
    edit->setCursorPosition(std::clamp(start, 0, int(edit->text().size())));
}

void TCustomEdit::SetSelLength(int length) {
    const int start = SelStart();
    if (QPlainTextEdit* memo = Memo(Face())) {
        const int end = memo->document()->characterCount() - 1;
        QTextCursor c = memo->textCursor();
        c.setPosition(start);
        c.setPosition(std::clamp(start + std::max(length, 0), start, end), QTextCursor::KeepAnchor);
        memo->setTextCursor(c);
        return;
    }
    QLineEdit* edit = Line(Face());
    edit->setSelection(start, std::clamp(length, 0, int(edit->text().size()) - start));
}

std::string TCustomEdit::SelText() const {
    if (QPlainTextEdit* memo = Memo(Face())) {
        // The document parts paragraphs by U+2029; the text parts lines by "\n".
        QString s = memo->textCursor().selectedText();
        s.replace(QChar::ParagraphSeparator, QChar('\n'));
        return s.toStdString();
    }
    return Line(Face())->selectedText().toStdString();
}

bool TCustomEdit::Modified() const {
    if (QPlainTextEdit* memo = Memo(Face())) return memo->document()->isModified();
    return Line(Face())->isModified();
}

void TCustomEdit::SetModified(bool modified) {
    if (QPlainTextEdit* memo = Memo(Face()))
        memo->document()->setModified(modified);
    else
        Line(Face())->setModified(modified);
}

void TCustomEdit::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    if (QPlainTextEdit* memo = Memo(Face())) {
        QTextOption option = memo->document()->defaultTextOption();
        option.setAlignment(HorizontalAlignment(alignment));
        memo->document()->setDefaultTextOption(option);
        return;
    }
    Line(Face())->setAlignment(HorizontalAlignment(alignment) | Qt::AlignVCenter);
}

void TCustomEdit::SetFrame(TEditFrame frame) {
    frame_ = frame;
    framed_ = true;
    // The host draws a plain line or a sunken edge in its frame; the face then has none.
    if (QPlainTextEdit* memo = Memo(Face()))
        memo->setFrameStyle(QFrame::NoFrame);
    else
        Line(Face())->setFrame(false);
    SetWindowFrame(Handle(), frame == efClientEdge ? 2 : frame == efSingle ? 1 : 0, 0);
}

void TCustomEdit::SetTextMargins(int left, int top, int right, int bottom) {
    const int m[4] = {std::max(0, left), std::max(0, top), std::max(0, right), std::max(0, bottom)};
    std::copy(std::begin(m), std::end(m), margins_);
    if (QPlainTextEdit* memo = Memo(Face())) {
        // Inside the scroll area's frame, around the text's viewport.
        memo->setContentsMargins(m[0], m[1], m[2], m[3]);
        return;
    }
    Line(Face())->setTextMargins(m[0], m[1], m[2], m[3]);
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// ---- The memo ----------------------------------------------------------------------------------

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
    InitBounds(0, 0, 185, 89);
    SetMultiLine(true);
}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    const std::string text = Text();
    if (text.empty()) return lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    SetText(text);
}

unsigned TMemo::DialogCode() const {
    return TCustomEdit::DialogCode() | (WantTabs ? DLGC_WANTTAB : 0u);
}

void TMemo::WndProc(TMessage& m) {
    // Enter breaks the line instead of pressing the form's default button.
    if (m.Msg == WM_GETDLGCODE && m.WParam == WPARAM(VK_RETURN) && WantReturns) {
        m.Result = DialogCode() | DLGC_WANTALLKEYS;
        return;
    }
    TCustomEdit::WndProc(m);
}

}  // namespace rv
