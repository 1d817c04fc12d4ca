#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

#include "platform/framework/edit.h"
#include "platform/framework/label.h"
#include "platform/framework/panel.h"
#include "platform/framework/tests/form_fixture.h"
#include "platform/framework/tests/popup_input.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/host_fixture.h"

namespace rv {
namespace {

void Settle() {
    for (int i = 0; i < 3; ++i) test::App().ProcessMessages();
}

TMenuItem* Item(TMenuItem* parent, const std::string& caption, TShortCut keys = scNone) {
    auto* item = new TMenuItem(parent);
    item->SetCaption(caption);
    item->SetShortCut(keys);
    parent->Add(item);
    return item;
}

// The entries of a toolkit menu: text, enabled, checked, visible ("-" for separators).
std::vector<std::string> Entries(const QList<QAction*>& actions) {
    std::vector<std::string> out;
    for (QAction* a : actions) {
        std::string e = a->isSeparator() ? "-" : a->text().toStdString();
        if (!a->isVisible())
            e += " [hidden]";  // the toolkit also disables it
        else if (!a->isEnabled())
            e += " [disabled]";
        if (a->isChecked()) e += " [checked]";
        out.push_back(e);
    }
    return out;
}

TEST(Shortcuts, ShownAsMenusShowThem) {
    EXPECT_EQ(ShortCutToText(ShortCut('N', ssCtrl)), "Ctrl+N");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, ssCtrl)), "Ctrl+Enter");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssCtrl)), "Ctrl+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1 + 1, ssShift | ssAlt)), "Shift+Alt+F2");
    EXPECT_EQ(ShortCut('A', ssCtrl), TShortCut(0x4041));
    EXPECT_EQ(ShortCutToText(scNone), "");
}

struct MenuForm : test::FormWith {
    MenuForm() {
        form.SetBounds(100, 80, 400, 300);
        file = Item(menu->Items(), "&File");
        newItem = Item(file, "&New", ShortCut('N', ssCtrl));
        save = Item(file, "&Save", ShortCut('S', ssCtrl));
        Item(file, "-");
        auto* presentation = Item(file, "Save to Presentation");
        Item(presentation, "Brief...");
        edit = Item(menu->Items(), "&Edit");
        deleteTrack = Item(edit, "Delete Track", ShortCut(VK_DELETE, ssCtrl));
        for (TMenuItem* item : {newItem, save, deleteTrack})
            item->OnClick = [this](TObject* sender) {
                clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
            };
        form.SetMenu(menu);
        Settle();
    }
    QMenuBar* Bar() const {
        return static_cast<QMenuBar*>(HostWidget::Find(form.Handle())->HeaderFace());
    }
    TMainMenu* menu = new TMainMenu(&form);
    TMenuItem *file, *newItem, *save, *edit, *deleteTrack;
    std::vector<std::string> clicked;
};

TEST(MainMenu, TheBarShowsTheItemsAndFollowsTheirChanges) {
    MenuForm f;
    QMenuBar* bar = f.Bar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(Entries(bar->actions()), (std::vector<std::string>{"&File", "&Edit"}));
    QMenu* file = bar->actions()[0]->menu();
    EXPECT_EQ(Entries(file->actions()), (std::vector<std::string>{"&New\tCtrl+N", "&Save\tCtrl+S",
                                                                  "-", "Save to Presentation"}));
    EXPECT_EQ(Entries(file->actions()[3]->menu()->actions()), std::vector<std::string>{"Brief..."});

    // The client area starts below the bar.
    EXPECT_EQ(f.form.ClientHeight(), f.form.Height() - bar->height());
    EXPECT_GT(bar->height(), 10);

    f.save->SetEnabled(false);
    f.newItem->SetChecked(true);
    f.deleteTrack->SetVisible(false);
    f.newItem->SetCaption("&New library");
    EXPECT_EQ(Entries(file->actions())[0], "&New library\tCtrl+N [checked]");
    EXPECT_EQ(Entries(file->actions())[1], "&Save\tCtrl+S [disabled]");
    EXPECT_EQ(Entries(bar->actions()[1]->menu()->actions())[0], "Delete Track\tCtrl+Del [hidden]");

    // New entries (the recent files, say) show once the loop has run.
    Item(f.file, "&1 /music/a.rvl");
    Settle();
    file = bar->actions()[0]->menu();
    EXPECT_EQ(Entries(file->actions()).back(), "&1 /music/a.rvl");

    // Choosing an entry clicks its item, from the message loop; an exception there is shown in
    // the error box.
    TScriptedDialogs dialogs;
    f.newItem->OnClick = [](TObject*) { throw Exception("No room"); };
    file->actions()[0]->trigger();
    EXPECT_TRUE(dialogs.Errors().empty());
    Settle();
    EXPECT_EQ(dialogs.Errors(), std::vector<std::string>{"No room"});
    EXPECT_FALSE(file->actions()[0]->isChecked() && !f.newItem->Checked());

    f.form.SetMenu(nullptr);
    EXPECT_EQ(HostWidget::Find(f.form.Handle())->HeaderFace(), nullptr);
    EXPECT_EQ(f.form.ClientHeight(), f.form.Height());
}

TEST(MainMenu, ShortcutsOfReachableItemsTakeTheKeyFromTheFocusedControl) {
    MenuForm f;
    auto* box = f.Add<TEdit>(Bounds(10, 10, 120, 21));
    std::vector<int> keysSeen;
    box->OnKeyDown = [&](TObject*, int& key, TShiftState) { keysSeen.push_back(key); };
    box->SetFocus();
    QWidget* face = HostWidget::Find(box->Handle())->Face();

    auto press = [&](int qtKey, Qt::KeyboardModifiers mods, const char* text) {
        test::Key(face, QEvent::KeyPress, qtKey, mods, text);
        test::Key(face, QEvent::KeyRelease, qtKey, mods, text);
    };
    press(Qt::Key_N, Qt::ControlModifier, "\x0e");
    EXPECT_EQ(f.clicked, std::vector<std::string>{"&New"});
    EXPECT_TRUE(keysSeen.empty());

    // A disabled item, or one in a hidden or disabled submenu, leaves the key to the control.
    f.save->SetEnabled(false);
    press(Qt::Key_S, Qt::ControlModifier, "\x13");
    f.edit->SetVisible(false);
    press(Qt::Key_Delete, Qt::ControlModifier, "");
    EXPECT_EQ(f.clicked, std::vector<std::string>{"&New"});
    EXPECT_EQ(keysSeen, (std::vector<int>{'S', VK_DELETE}));

    f.edit->SetVisible(true);
    press(Qt::Key_Delete, Qt::ControlModifier, "");
    EXPECT_EQ(f.clicked, (std::vector<std::string>{"&New", "Delete Track"}));
    // Plain letters are typed.
    press(Qt::Key_N, Qt::NoModifier, "n");
    EXPECT_EQ(box->Text(), "n");
    EXPECT_EQ(f.clicked.size(), 2u);
}

// A form with a panel to right-click.
struct PanelForm : test::FormWith {
    PanelForm() { form.SetBounds(120, 90, 300, 200); }
    TPanel* panel = Add<TPanel>(Bounds(10, 10, 200, 100));
};

TEST(PopupMenu, ARightClickPopsUpTheMenuOfTheControlOrItsParentWhereTheMouseIs) {
    PanelForm f;
    TPanel* panel = f.panel;
    auto* caption = new TLabel(&f.form);
    caption->SetParent(panel);
    caption->SetBounds(5, 5, 50, 15);
    auto* menu = new TPopupMenu(&f.form);
    bool clicked = false;
    Item(menu->Items(), "Add Track...")->OnClick = [&](TObject*) { clicked = true; };
    Item(menu->Items(), "-");
    Item(menu->Items(), "Delete Album")->SetEnabled(false);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    panel->SetPopupMenu(menu);
    Settle();

    // Over the label, which has no menu of its own: the panel's, at the screen point.
    QWidget* host = HostWidget::Find(panel->Handle());
    test::Press(host, {12, 9}, Qt::RightButton);
    test::Release(host, {12, 9}, Qt::RightButton);
    EXPECT_EQ(popups, 1);
    QPoint screen = host->mapToGlobal(QPoint(12, 9));
    EXPECT_EQ(menu->PopupPoint, (TPoint{screen.x(), screen.y()}));
    EXPECT_EQ(caption->ClientToScreen({7, 4}), menu->PopupPoint);
    // Raised by the panel, whose menu it is; forgotten when the panel goes.
    EXPECT_EQ(menu->PopupComponent(), panel);

    auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Entries(shown->actions()),
              (std::vector<std::string>{"Add Track...", "-", "Delete Album [disabled]"}));
    shown->actions()[0]->trigger();
    Settle();
    EXPECT_TRUE(clicked);
    shown->close();
    Settle();

    // An edit with a menu shows it instead of its own.
    auto* box = f.Add<TEdit>(Bounds(10, 130, 100, 21));
    box->SetPopupMenu(menu);
    QWidget* face = HostWidget::Find(box->Handle())->Face();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 3),
                              face->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(face, &request);
    EXPECT_EQ(popups, 2);
    if (QWidget* open = QApplication::activePopupWidget()) open->close();
    Settle();
    EXPECT_EQ(menu->PopupComponent(), box);
    delete box;
    EXPECT_EQ(menu->PopupComponent(), nullptr);

    // A menu with nothing to show does not open.
    auto* empty = new TPopupMenu(&f.form);
    empty->Popup(10, 10);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(PopupMenu, AChosenEntryIsClickedFromTheMessageLoopOnceTheMenuIsDone) {
    PanelForm f;
    TPanel* panel = f.panel;
    auto* menu = new TPopupMenu(&f.form);
    panel->SetPopupMenu(menu);
    TMenuItem* properties = Item(menu->Items(), "&Properties...");
    TMenuItem* remove = Item(menu->Items(), "Delete");
    std::vector<std::string> clicked;
    // A dialog runs the message loop while it is open; the items change meanwhile, as the
    // program's idle pass changes them.
    properties->OnClick = [&](TObject*) {
        clicked.push_back("Properties");
        for (int i = 0; i < 3; ++i) {
            Settle();
            remove->SetEnabled(i % 2 == 0);
        }
        remove->SetEnabled(true);
    };
    remove->OnClick = [&](TObject*) { clicked.push_back("Delete"); };
    QWidget* host = HostWidget::Find(panel->Handle());
    const auto rightClick = [&] {
        test::Press(host, {20, 20}, Qt::RightButton);
        test::Release(host, {20, 20}, Qt::RightButton);
    };

    for (int round = 1; round <= 3; ++round) {
        rightClick();
        ASSERT_EQ(test::OpenPopupEntries(), (std::vector<std::string>{"Properties...", "Delete"}));
        ASSERT_TRUE(test::ChooseFromPopup("Properties..."));
        EXPECT_EQ(clicked.size(), std::size_t(round - 1));
        EXPECT_TRUE(test::OpenPopupEntries().empty());
        Settle();
        ASSERT_EQ(clicked.size(), std::size_t(round));
        properties->SetCaption("&Properties...");
        properties->SetEnabled(false);
        properties->SetEnabled(true);
    }
    // An item freed between its choice and its click is not clicked.
    rightClick();
    ASSERT_TRUE(test::ChooseFromPopup("Delete"));
    delete remove;
    Settle();
    EXPECT_EQ(clicked, (std::vector<std::string>(3, "Properties")));
    rightClick();
    EXPECT_EQ(test::OpenPopupEntries(), std::vector<std::string>{"Properties..."});
    EXPECT_TRUE(test::EscapePopup());
    Settle();
    EXPECT_EQ(clicked.size(), 3u);
}

}  // namespace
}  // namespace rv
