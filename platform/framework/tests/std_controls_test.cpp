#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "platform/framework/check_box.h"
#include "platform/framework/combo_box.h"
#include "platform/framework/edit.h"
#include "platform/framework/group_box.h"
#include "platform/framework/image.h"
#include "platform/framework/list_view.h"
#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/tests/toolkit_input.h"
#include "platform/windows/window_image.h"

namespace rv {
namespace {

template <class Face>
Face* FaceOf(TControl* control) {
    return static_cast<Face*>(
        HostWidget::Find(static_cast<TWinControl*>(control)->Handle())->Face());
}

void Type(QWidget* face, int qtKey, const char* text, Qt::KeyboardModifiers mods = {}) {
    test::Key(face, QEvent::KeyPress, qtKey, mods, text);
    test::Key(face, QEvent::KeyRelease, qtKey, mods, text);
}

// Takes Enter as a form's default button does.
class DefaultButton : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int pressed = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_DIALOGKEY && m.WParam == WPARAM(VK_RETURN)) {
            ++pressed;
            m.Result = 1;
            return;
        }
        TCustomControl::WndProc(m);
    }
};

TEST(Edit, TypedKeysPassTheHandlersFirstAndTheFaceTypesWhatTheyLeave) {
    std::vector<std::string> changes, events;
    test::FormWith f;
    auto* box = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    auto* other = f.Add<TEdit>(Bounds(10, 40, 120, 21));
    auto* ok = f.Add<DefaultButton>(Bounds(10, 70, 75, 25));
    box->OnChange = [&](TObject*) { changes.push_back(box->Text()); };
    box->OnKeyPress = [](TObject*, char32_t& key) {
        if (key == U'x') key = 0;          // kept out
        if (key == U'a') key = U'\u00e4';  // typed as another character
    };
    box->OnEnter = [&](TObject*) { events.push_back("enter"); };
    box->OnExit = [&](TObject*) { events.push_back("exit"); };
    box->SetFocus();
    QLineEdit* face = FaceOf<QLineEdit>(box);

    Type(face, Qt::Key_B, "b");
    Type(face, Qt::Key_X, "x");
    Type(face, Qt::Key_A, "a");
    EXPECT_EQ(box->Text(), "b\u00e4");
    EXPECT_EQ(changes, (std::vector<std::string>{"b", "b\u00e4"}));

    // Enter is the form's; the program's own changes are changes too.
    Type(face, Qt::Key_Return, "\r");
    EXPECT_EQ(ok->pressed, 1);
    box->SetText("Rock");
    EXPECT_EQ(changes.back(), "Rock");
    box->SetMaxLength(3);
    EXPECT_EQ(face->maxLength(), 3);
    box->SetMaxLength(0);
    EXPECT_GT(face->maxLength(), 1000000);

    // Tab moves the focus on: the box is left, the other entered.
    Type(face, Qt::Key_Tab, "\t");
    EXPECT_TRUE(other->Focused());
    box->SetFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit", "enter"}));
}

TEST(Edit, LettersOfOtherScriptsAndInputMethodTextPassTheHandlersToo) {
    test::FormWith f;
    auto* box = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    std::u32string pressed;
    std::vector<int> keys;
    box->OnKeyDown = [&](TObject*, int& key, TShiftState) { keys.push_back(key); };
    box->OnKeyPress = [&](TObject*, char32_t& key) {
        pressed += key;
        if (key == U'\u03c3') key = U'\u03c2';  // typed as another character
        if (key == U'?') key = 0;               // kept out
    };
    box->SetFocus();
    test::SendToolkitCharacters(box->Handle(), "\u0418\u0432 R\u00f3");
    EXPECT_EQ(box->Text(), "\u0418\u0432 R\u00f3");
    EXPECT_EQ(keys, (std::vector<int>{VK_PACKET, VK_PACKET, VK_SPACE, 'R', VK_PACKET}));

    // An input method's text: the handlers see each character, the box gets what they leave.
    pressed.clear();
    test::SendToolkitInputMethodText(box->Handle(), "\u039c\u03ac?\u03c3");
    EXPECT_EQ(pressed, U"\u039c\u03ac?\u03c3");
    EXPECT_EQ(box->Text(), "\u0418\u0432 R\u00f3\u039c\u03ac\u03c2");
    test::SendToolkitInputMethodText(box->Handle(), "\u4e2d");
    EXPECT_EQ(box->Text(), "\u0418\u0432 R\u00f3\u039c\u03ac\u03c2\u4e2d");
}

TEST(Edit, TabIntoAFilledEditSelectsItsTextSoTypingReplacesIt) {
    test::FormWith f;
    auto* first = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    auto* track = f.Add<TEdit>(Bounds(10, 40, 120, 21));
    auto* list = f.Add<TComboBox>(Bounds(10, 70, 120, 21));
    for (TWinControl* c : std::initializer_list<TWinControl*>{first, track, list})
        c->SetTabStop(true);
    track->SetText("0");
    list->SetText("Stereo");
    first->SetFocus();
    test::SendToolkitKey(first->Handle(), VK_TAB, "\t");
    ASSERT_TRUE(track->Focused());
    EXPECT_EQ(track->SelText(), "0");
    test::SendToolkitKey(track->Handle(), '3', "3");
    EXPECT_EQ(track->Text(), "3");

    // Onward into an editable list, and back with Shift+Tab.
    test::SendToolkitKey(track->Handle(), VK_TAB, "\t");
    ASSERT_TRUE(list->Focused());
    test::SendToolkitCharacters(list->Handle(), "Mono");
    EXPECT_EQ(list->Text(), "Mono");
    test::SendToolkitKey(list->Handle(), VK_TAB, "", test::kToolkitShift);
    ASSERT_TRUE(track->Focused());
    EXPECT_EQ(track->SelText(), "3");

    // A click or the program's focus leaves the caret where it was.
    track->SetSelStart(1);
    first->SetFocus();
    track->SetFocus();
    EXPECT_EQ(track->SelLength(), 0);
}

// A form shown gives the keys to its active control as a Tab would: a filled edit has its text
// selected, so that a name typed replaces the old one.
TEST(Edit, TheActiveEditOfAFormBeingShownSelectsItsTextSoTypingReplacesIt) {
    test::FormWith f;
    auto* other = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    auto* name = f.Add<TEdit>(Bounds(10, 40, 120, 21));
    other->SetText("Jazz");
    name->SetText("Davis, Miles");
    f.form.Hide();
    f.form.SetActiveControl(name);
    f.form.Show();
    ASSERT_TRUE(name->Focused());
    EXPECT_EQ(name->SelText(), "Davis, Miles");
    test::SendToolkitCharacters(name->Handle(), "\u042d\u0432\u0430\u043d\u0441");
    EXPECT_EQ(name->Text(), "\u042d\u0432\u0430\u043d\u0441");
    EXPECT_EQ(other->Text(), "Jazz");
}

TEST(Edit, SelectionModifiedFlagLookAndKeysTurnedIntoOthers) {
    test::FormWith f;
    auto* box = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    QLineEdit* face = FaceOf<QLineEdit>(box);
    box->SetText("Rock");
    EXPECT_FALSE(box->Modified());
    box->SetSelStart(1);
    box->SetSelLength(2);
    EXPECT_EQ(box->SelText(), "oc");
    EXPECT_EQ(box->SelStart(), 1);
    EXPECT_EQ(box->SelLength(), 2);
    box->SetSelLength(10);  // up to the end
    EXPECT_EQ(box->SelText(), "ock");

    // A handler that turns Up into Left: the face moves the caret left.
    box->OnKeyDown = [](TObject*, int& key, TShiftState) {
        if (key == VK_UP) key = VK_LEFT;
    };
    box->SetFocus();
    box->SetSelStart(3);
    Type(face, Qt::Key_Up, "");
    EXPECT_EQ(box->SelStart(), 2);
    Type(face, Qt::Key_S, "s");
    EXPECT_EQ(box->Text(), "Rosck");
    EXPECT_TRUE(box->Modified());
    box->SetModified(false);
    EXPECT_FALSE(box->Modified());

    // The frame is the window's: a sunken edge of two pixels, a line, or none.
    box->SetFrame(efClientEdge);
    EXPECT_EQ(box->ClientWidth(), 116);
    EXPECT_FALSE(face->hasFrame());
    box->SetFrame(efSingle);
    EXPECT_EQ(box->ClientWidth(), 118);
    box->SetTextMargins(3, 0, -2, 0);
    EXPECT_EQ(face->textMargins(), QMargins(3, 0, 0, 0));
    box->SetAlignment(taRightJustify);
    EXPECT_TRUE(face->alignment() & Qt::AlignRight);
}

TEST(Memo, EnterBreaksTheLineTabGoesOnAndTheLimitHolds) {
    test::FormWith f;
    auto* memo = f.Add<TMemo>(Bounds(10, 10, 150, 60));
    auto* other = f.Add<TEdit>(Bounds(10, 80, 120, 21));
    auto* ok = f.Add<DefaultButton>(Bounds(10, 110, 75, 25));
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->SetFocus();
    QPlainTextEdit* face = FaceOf<QPlainTextEdit>(memo);
    EXPECT_TRUE(memo->MultiLine());
    Type(face, Qt::Key_A, "a");
    Type(face, Qt::Key_Return, "\r");
    Type(face, Qt::Key_B, "b");
    EXPECT_EQ(memo->Text(), "a\nb");
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ok->pressed, 0);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(memo->Modified());
    // Up goes a line up; Shift+Down selects to the same place below.
    Type(face, Qt::Key_Up, "");
    EXPECT_EQ(memo->SelStart(), 1);
    Type(face, Qt::Key_Down, "", Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "\nb");
    // Without WantReturns Enter is the form's.
    memo->WantReturns = false;
    Type(face, Qt::Key_Return, "\r");
    EXPECT_EQ(ok->pressed, 1);
    EXPECT_EQ(memo->Lines().size(), 2u);
    // Lines from the program, "\r\n" taken as one break; a limit cuts what is typed beyond it.
    memo->SetText("x\r\ny\rz");
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"x", "y", "z"}));
    memo->SetLines({"one", "", "three"});
    EXPECT_EQ(memo->Text(), "one\n\nthree");
    memo->SetMaxLength(11);
    memo->SetSelStart(10);
    Type(face, Qt::Key_S, "s");
    Type(face, Qt::Key_T, "t");
    EXPECT_EQ(memo->Text(), "one\n\nthrees");
    // A tab typed with WantTabs; without, Tab moves on.
    memo->WantTabs = true;
    memo->SetText("");
    Type(face, Qt::Key_Tab, "\t");
    EXPECT_EQ(memo->Text(), "\t");
    memo->WantTabs = false;
    Type(face, Qt::Key_Tab, "\t");
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(memo->Text(), "\t");
}

// An edit turned into a multi-line one and back keeps what it had.
class SwitchingEdit : public TCustomEdit {
public:
    using TCustomEdit::SetMultiLine;
    using TCustomEdit::TCustomEdit;
};

TEST(Memo, AnEditChangesItsLinesKeepingTextSelectionAndLook) {
    test::FormWith f;
    auto* box = f.Add<SwitchingEdit>(Bounds(10, 10, 150, 60));
    box->SetFrame(efSingle);
    box->SetAlignment(taRightJustify);
    box->SetText("Rock and roll");
    box->SetSelStart(5);
    box->SetSelLength(3);
    box->SetModified(true);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetMultiLine(true);
    auto* face = qobject_cast<QPlainTextEdit*>(FaceOf<QWidget>(box));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(box->Text(), "Rock and roll");
    EXPECT_EQ(box->SelText(), "and");
    EXPECT_TRUE(box->Modified());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box->ClientWidth(), 148);
    EXPECT_EQ(face->frameStyle(), int(QFrame::NoFrame));
    EXPECT_TRUE(face->document()->defaultTextOption().alignment() & Qt::AlignRight);
    EXPECT_EQ(face->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    box->SetWordWrap(false);
    box->SetScrollBars(ssVertical);
    EXPECT_EQ(face->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(face->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(face->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    box->SetText("a\nb");
    EXPECT_EQ(changes, 1);
    box->SetMultiLine(false);
    EXPECT_NE(qobject_cast<QLineEdit*>(FaceOf<QWidget>(box)), nullptr);
    EXPECT_EQ(box->ClientWidth(), 148);
}

TEST(CheckBox, OnClickFollowsEveryChangeOfTheTickAndNoOther) {
    test::FormWith f;
    auto* proxy = f.Add<TCheckBox>(Bounds(10, 10, 120, 17));
    proxy->SetCaption("Proxy Server:");
    int clicks = 0;
    proxy->OnClick = [&](TObject*) { ++clicks; };
    QCheckBox* face = FaceOf<QCheckBox>(proxy);
    EXPECT_EQ(face->text(), "Proxy Server:");

    face->click();  // as the user does
    EXPECT_TRUE(proxy->Checked());
    proxy->SetChecked(false);
    proxy->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    // A disabled group disables what it holds.
    auto* group = f.Add<TGroupBox>(Bounds(10, 40, 200, 80));
    auto* server = new TEdit(&f.form);
    server->SetParent(group);
    group->SetEnabled(false);
    EXPECT_FALSE(FaceOf<QLineEdit>(server)->isEnabled());
    group->SetEnabled(true);
    EXPECT_TRUE(FaceOf<QLineEdit>(server)->isEnabled());
}

TEST(ComboBox, TheUsersChoicesAndTypingAreChangesAndTheProgramsAreNot) {
    test::FormWith f;
    auto* sites = f.Add<TComboBox>(Bounds(10, 10, 200, 21));
    int changes = 0;
    sites->OnChange = [&](TObject*) { ++changes; };
    sites->SetText("freedb.org http 80 /~cddb/cddb.cgi");
    sites->AddItem("a.example http 80 /cddb");
    sites->AddItem("b.example http 80 /cddb");
    EXPECT_EQ(sites->ItemIndex(), -1);
    EXPECT_EQ(sites->Text(), "freedb.org http 80 /~cddb/cddb.cgi");  // adding keeps the text
    sites->SetItemIndex(1);
    EXPECT_EQ(sites->Text(), "b.example http 80 /cddb");
    EXPECT_EQ(changes, 0);

    QComboBox* face = FaceOf<QComboBox>(sites);
    face->setFocus();
    Type(face, Qt::Key_X, "x");
    EXPECT_EQ(changes, 1);
    emit face->activated(0);
    EXPECT_EQ(changes, 2);
    // Enter does not make the text an entry of the list.
    Type(face, Qt::Key_Return, "\r");
    EXPECT_EQ(face->count(), 2);

    // The list is a stored property.
    TPropList props = GetPropList(sites);
    const TPropInfo* items = FindPropInfo(props, "items");
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->GetStrings().size(), 2u);
    items->SetStrings({"c.example http 80 /cddb"});
    EXPECT_EQ(sites->Items(), std::vector<std::string>{"c.example http 80 /cddb"});

    // A list style chooses by text, or nothing.
    auto* media = f.Add<TComboBox>(Bounds(10, 40, 100, 21));
    media->SetStyle(csDropDownList);
    media->SetItems({"AudioCD", "AudioFile"});
    media->SetText("AudioFile");
    EXPECT_EQ(media->ItemIndex(), 1);
    media->SetText("Tape");
    EXPECT_EQ(media->ItemIndex(), -1);
    EXPECT_EQ(media->Text(), "");
}

TEST(ListView, RowsKeepTheirTextsAndTheSelectionFollowsTheProgramAndTheUser) {
    test::FormWith f;
    auto* list = f.Add<TListView>(Bounds(5, 5, 280, 150));
    list->AddColumn("   ID", 75);
    list->AddColumn("Title", 175);
    list->AddColumn("Time", 50, taRightJustify);
    std::vector<std::string> told;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        told.push_back(item->Caption() + (selected ? "+" : "-"));
    };
    for (const char* id : {"0a0b0c0d", "1a1b1c1d", "2a2b2c2d"}) {
        TListItem* row = list->AddItem();
        row->SetCaption(id);
        row->SetSubItems({std::string("Title ") + id[0], "03:25", "/music/file.mp3"});
    }
    QTreeWidget* face = FaceOf<QTreeWidget>(list);
    ASSERT_EQ(face->topLevelItemCount(), 3);
    EXPECT_EQ(face->columnCount(), 3);  // the file name is kept, not shown
    EXPECT_EQ(list->Items(1)->SubItem(2), "/music/file.mp3");
    EXPECT_EQ(face->topLevelItem(1)->text(1), "Title 1");
    EXPECT_EQ(face->topLevelItem(1)->textAlignment(2) & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(list->ColumnWidth(1), 175);
    EXPECT_EQ(list->Selected(), nullptr);

    list->Items(0)->SetSelected(true);
    face->setCurrentItem(face->topLevelItem(2));  // as a click does
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(told, (std::vector<std::string>{"0a0b0c0d+", "0a0b0c0d-", "2a2b2c2d+"}));

    // Deleting a row above the selection keeps it; deleting the selected row selects none.
    list->DeleteItem(0);
    EXPECT_EQ(list->Selected()->Caption(), "2a2b2c2d");
    EXPECT_EQ(list->Selected()->Index(), 1);
    list->Selected()->Delete();
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(list->ItemCount(), 1);
    EXPECT_EQ(face->topLevelItemCount(), 1);

    // A double click on a row and the Delete key's release reach the control's events.
    int doubleClicks = 0;
    std::vector<int> keysUp;
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    list->OnKeyUp = [&](TObject*, int& key, TShiftState) { keysUp.push_back(key); };
    QWidget* rows = face->viewport();
    QPoint onRow = face->visualItemRect(face->topLevelItem(0)).center();
    test::Press(rows, onRow);
    test::Release(rows, onRow);
    test::SendMouse(rows, QEvent::MouseButtonDblClick, onRow, Qt::LeftButton, Qt::LeftButton);
    test::Release(rows, onRow);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list->ItemIndex(), 0);
    list->SetFocus();
    Type(face, Qt::Key_Delete, "\x7f");
    EXPECT_EQ(keysUp, std::vector<int>{VK_DELETE});

    // Hot tracking underlines the row under the mouse and shows a hand over it.
    list->SetHotTrack(true);
    emit face->itemEntered(face->topLevelItem(0), 1);
    EXPECT_TRUE(face->topLevelItem(0)->font(1).underline());
    EXPECT_EQ(face->viewport()->cursor().shape(), Qt::PointingHandCursor);
    emit face->viewportEntered();
    EXPECT_FALSE(face->topLevelItem(0)->font(1).underline());
    EXPECT_EQ(face->viewport()->cursor().shape(), Qt::ArrowCursor);

    list->SetColumnClick(false);
    EXPECT_FALSE(face->header()->sectionsClickable());
    list->ClearItems();
    EXPECT_EQ(face->topLevelItemCount(), 0);
    EXPECT_EQ(list->Selected(), nullptr);
}

TEST(Image, ADrawnPictureIsMadeAtTheRatioOfWhatItIsPaintedOn) {
    test::FormWith f;
    auto* image = f.Add<TImage>(Bounds(10, 10, 16, 16));
    std::vector<double> made;
    // One device pixel of its own beside white ones: blocky when enlarged, fine when made so.
    image->SetPictureMaker([&](double ratio) {
        made.push_back(ratio);
        TBitmap picture(16, 16, pf24bit, ratio);
        picture.SetPixel(1, 1, clRed);
        return picture;
    });
    EXPECT_EQ(image->Picture().PixelRatio(), 1);
    for (double ratio : {2.0, 1.0}) {
        TBitmap shot = WindowImage(f.form.Handle(), ratio);
        const int at = int(10 * ratio);
        EXPECT_EQ(shot.Pixel(at + 1, at + 1), clRed) << ratio;
        EXPECT_EQ(shot.Pixel(at, at), clWhite) << ratio;
        EXPECT_EQ(image->Picture().PixelRatio(), ratio);
    }
    const std::size_t count = made.size();
    EXPECT_EQ(made.front(), 1);
    WindowImage(f.form.Handle(), 1);  // the same ratio again: nothing made anew
    EXPECT_EQ(made.size(), count);
    // A picture given as it is stays as it is.
    image->SetPicture(TBitmap(16, 16));
    WindowImage(f.form.Handle(), 2);
    EXPECT_EQ(image->Picture().PixelRatio(), 1);
    EXPECT_EQ(made.size(), count);
}

}  // namespace
}  // namespace rv
