#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/framework/internal/menu_views.h"
#include "platform/graphics/internal/qt_graphics.h"
#include "platform/messages/application.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

namespace {

// What the menus of one TMenu show, and the items their actions stand for. Every entry's
// action is the toolkit's; choosing one clicks its item, whose shortcut is only shown: the
// framework runs shortcuts itself, so that a disabled item's keys reach the focused control.
class MenuView : public TMenuView {
public:
    // A menu bar on the host's header strip, or (host nullptr) pop-ups.
    MenuView(TMenu& menu, HostWidget* host) : menu_(menu), host_(host) {
        if (!host) return;
        bar_ = new QMenuBar;
        bar_->setNativeMenuBar(false);  // in the window, where the client area makes room
        host->SetHeaderFace(bar_);
        Rebuild();
    }

    ~MenuView() override {
        Forget();
        if (popup_) popup_->close();
        if (bar_) {
            if (HostWidget* host = host_.data()) {
                host->SetHeaderFace(nullptr);
                SetWindowFrame(host->Handle(), 0, 0);
            }
            bar_->hide();
            bar_->deleteLater();
        }
    }

    void Changed(TMenuItem* item, bool rebuild) override {
        if (rebuild) {
            // Items may be gone: no action may reach them any more.
            Forget();
            if (popup_) popup_->close();
            if (bar_ && !rebuildPending_) {
                rebuildPending_ = true;
                QTimer::singleShot(0, guard_.get(), [this] { Rebuild(); });
            }
            return;
        }
        if (auto it = actions_.find(item); it != actions_.end() && it->second)
            Apply(item, it->second);
    }

    void Popup(int x, int y) {
        if (popup_) popup_->close();
        Forget();
        auto* popup = new QMenu;
        Fill(popup, menu_.Items());
        QObject::connect(popup, &QMenu::aboutToHide, popup, &QObject::deleteLater);
        popup_ = popup;
        popup->popup(QPoint(x, y));
    }

private:
    void Forget() {
        for (auto& [item, action] : actions_)
            if (action) QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        actions_.clear();
    }

    void Rebuild() {
        rebuildPending_ = false;
        if (!bar_) return;
        Forget();
        for (QMenu* m : barMenus_)
            if (m) m->deleteLater();  // one of them may be emitting the click that got us here
        barMenus_.clear();
        bar_->clear();
        for (int i = 0; i < menu_.Items()->Count(); ++i) {
            TMenuItem* item = menu_.Items()->Items(i);
            if (item->IsLine()) continue;
            QAction* action;
            if (item->Count() > 0) {
                auto* sub = new QMenu(bar_);
                barMenus_.push_back(sub);
                Fill(sub, item);
                action = bar_->addMenu(sub);
            } else {
                action = bar_->addAction(QString());
                Bind(item, action);
            }
            actions_[item] = action;
            Apply(item, action);
        }
        if (HostWidget* host = host_.data())
            SetWindowFrame(host->Handle(), 0, bar_->sizeHint().height());
    }

    void Fill(QMenu* into, TMenuItem* parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            QAction* action;
            if (item->IsLine()) {
                action = into->addSeparator();
            } else if (item->Count() > 0) {
                auto* sub = new QMenu(into);
                Fill(sub, item);
                action = into->addMenu(sub);
            } else {
                action = into->addAction(QString());
                Bind(item, action);
            }
            actions_[item] = action;
            Apply(item, action);
        }
    }

    void Bind(TMenuItem* item, QAction* action) {
        QObject::connect(action, &QAction::triggered, guard_.get(), [this, item, action] {
            // The toolkit ticks a checkable entry itself; the item decides.
            action->setChecked(item->Checked());
            // The click waits for the message loop: the toolkit's menu is still inside the
            // event that chose the entry, and a dialog the click opens runs a loop of its own,
            // in which the closed menu would be freed under that event.
            QTimer::singleShot(0, guard_.get(), [this, item] {
                if (Holds(menu_.Items(), item)) RunReported([item] { item->Click(); });
            });
        });
    }

    // Whether `item` is still one of the items under `parent`: it may have been freed since.
    static bool Holds(const TMenuItem* parent, const TMenuItem* item) {
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Items(i) == item || Holds(parent->Items(i), item)) return true;
        return false;
    }

    static void Apply(TMenuItem* item, QAction* action) {
        action->setVisible(item->Visible());
        if (item->IsLine()) return;
        QString text = QString::fromStdString(item->Caption());
        std::string keys = ShortCutToText(item->ShortCut());
        if (!keys.empty()) text += '\t' + QString::fromStdString(keys);
        action->setText(text);
        action->setEnabled(item->Enabled());
        action->setCheckable(item->Checked());
        action->setChecked(item->Checked());
    }

    TMenu& menu_;
    QPointer<HostWidget> host_;
    QPointer<QMenuBar> bar_;
    QPointer<QMenu> popup_;
    std::vector<QPointer<QMenu>> barMenus_;
    std::unordered_map<TMenuItem*, QPointer<QAction>> actions_;
    bool rebuildPending_ = false;
    // Context of every connection: they end with the view.
    std::unique_ptr<QObject> guard_ = std::make_unique<QObject>();
};

}  // namespace

void ShowPopupMenu(TPopupMenu& menu, int x, int y) {
    // A menu with nothing to show does not open.
    bool any = false;
    for (int i = 0; i < menu.Items()->Count(); ++i) any |= menu.Items()->Items(i)->Visible();
    if (!any) return;
    EnsureGuiApplication();
    auto* view = dynamic_cast<MenuView*>(menu.View());
    if (!view) {
        auto made = std::make_unique<MenuView>(menu, nullptr);
        view = made.get();
        menu.SetView(std::move(made));
    }
    view->Popup(x, y);
}

void AttachMenuBar(HWND window, TMainMenu& menu) {
    if (HostWidget* host = HostWidget::Find(window))
        menu.SetView(std::make_unique<MenuView>(menu, host));
}

void DetachMenuBar(TMainMenu& menu) {
    menu.SetView(nullptr);
}

}  // namespace rv
